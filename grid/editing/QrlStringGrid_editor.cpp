// The text inplace editor as the grid makes and answers it: its class per cell, its edit mask and
// length limit, and the grid properties only the text editor reads.
#include "grid/editing/QrlInplaceEdit.h"
#include "grid/editing/QrlStringGrid_editing_p.h"
#include "grid/model/QrlStringGrid.h"

using enum TEditorType;

TStringGridEditingState::TTextEditors::~TTextEditors()
{
    delete line;
    delete memo;
}

plat::TInplaceEdit *TQrlStringGrid::CreateEditor()
{
    return new TQrlInplaceLineEdit(this, editorHost());
}

plat::TGridEditor *TQrlStringGrid::GetCellEditor(int ACol, int ARow)
{
    // A password or a mask is a single line whatever the grid's layout.
    const bool multi = (WordWrap() || MultilineCells()) && ed->editControl != edPassword &&
                       GetEditMask(ACol, ARow).isEmpty();
    TStringGridEditingState::TTextEditors &eds = ed->textEditors;
    if (multi) {
        if (!eds.memo)
            eds.memo = new TQrlInplaceMemoEdit(this, editorHost());
        return eds.memo;
    }
    if (!eds.line)
        eds.line = CreateEditor();
    return eds.line;
}

TQrlInplaceEdit *TQrlStringGrid::NormalEdit() const
{
    if (auto *inUse = dynamic_cast<TQrlInplaceEdit *>(CellEditor()))
        return inUse;
    if (auto *line = dynamic_cast<TQrlInplaceEdit *>(ed->textEditors.line))
        return line;
    return dynamic_cast<TQrlInplaceEdit *>(ed->textEditors.memo);
}

QString TQrlStringGrid::GetEditMaskHook(int ACol, int ARow)
{
    QString value = ed->editMask;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, value);
    return value;
}

int TQrlStringGrid::GetEditLimitHook()
{
    return MaxEditLength();
}

QString TQrlStringGrid::GetEditMask(int ACol, int ARow)
{
    return GetEditMaskHook(ACol, ARow);
}

int TQrlStringGrid::GetEditLimit()
{
    return GetEditLimitHook();
}

QString TQrlStringGrid::EditMask() const
{
    return ed->editMask;
}

void TQrlStringGrid::SetEditMask(const QString &Value)
{
    ed->editMask = Value;
}

bool TQrlStringGrid::Lookup() const
{
    return ed->lookup;
}

void TQrlStringGrid::SetLookup(bool Value)
{
    ed->lookup = Value;
}

bool TQrlStringGrid::LookupCaseSensitive() const
{
    return ed->lookupCaseSensitive;
}

void TQrlStringGrid::SetLookupCaseSensitive(bool Value)
{
    ed->lookupCaseSensitive = Value;
}

bool TQrlStringGrid::LookupHistory() const
{
    return ed->lookupHistory;
}

void TQrlStringGrid::SetLookupHistory(bool Value)
{
    ed->lookupHistory = Value;
}

QString TQrlStringGrid::ValidChars() const
{
    return ed->validChars;
}

void TQrlStringGrid::SetValidChars(const QString &Value)
{
    ed->validChars = Value;
}

std::bitset<256> &TQrlStringGrid::ValidCharSet()
{
    return ed->validCharSet;
}

bool TQrlStringGrid::ExcelStyleDecimalSeparator() const
{
    return ed->excelStyleDecimalSeparator;
}

void TQrlStringGrid::SetExcelStyleDecimalSeparator(bool Value)
{
    ed->excelStyleDecimalSeparator = Value;
}
