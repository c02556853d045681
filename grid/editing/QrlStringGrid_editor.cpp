// The text inplace editor as the grid makes and answers it: its class per cell, its edit mask and
// length limit, and the grid properties only the text editor reads.
#include "grid/editing/QrlInplaceEdit.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"

using enum TEditorType;

TStringGridModelState::TTextEditors::~TTextEditors()
{
    delete line;
    delete memo;
}

plat::TInplaceEdit *TQrlStringGrid::CreateEditor()
{
    return new TQrlInplaceLineEdit(this);
}

plat::TGridEditor *TQrlStringGrid::GetCellEditor(int ACol, int ARow)
{
    // A password or a mask is a single line whatever the grid's layout.
    const bool multi = (WordWrap() || MultilineCells()) && d->editControl != edPassword &&
                       GetEditMask(ACol, ARow).isEmpty();
    TStringGridModelState::TTextEditors &eds = d->textEditors;
    if (multi) {
        if (!eds.memo)
            eds.memo = new TQrlInplaceMemoEdit(this);
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
    if (auto *line = dynamic_cast<TQrlInplaceEdit *>(d->textEditors.line))
        return line;
    return dynamic_cast<TQrlInplaceEdit *>(d->textEditors.memo);
}

QString TQrlStringGrid::GetEditMaskHook(int ACol, int ARow)
{
    QString value = d->editMask;
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
    return d->editMask;
}

void TQrlStringGrid::SetEditMask(const QString &Value)
{
    d->editMask = Value;
}

bool TQrlStringGrid::Lookup() const
{
    return d->lookup;
}

void TQrlStringGrid::SetLookup(bool Value)
{
    d->lookup = Value;
}

bool TQrlStringGrid::LookupCaseSensitive() const
{
    return d->lookupCaseSensitive;
}

void TQrlStringGrid::SetLookupCaseSensitive(bool Value)
{
    d->lookupCaseSensitive = Value;
}

bool TQrlStringGrid::LookupHistory() const
{
    return d->lookupHistory;
}

void TQrlStringGrid::SetLookupHistory(bool Value)
{
    d->lookupHistory = Value;
}

QString TQrlStringGrid::ValidChars() const
{
    return d->validChars;
}

void TQrlStringGrid::SetValidChars(const QString &Value)
{
    d->validChars = Value;
}

std::bitset<256> &TQrlStringGrid::ValidCharSet()
{
    return d->validCharSet;
}

bool TQrlStringGrid::ExcelStyleDecimalSeparator() const
{
    return d->excelStyleDecimalSeparator;
}

void TQrlStringGrid::SetExcelStyleDecimalSeparator(bool Value)
{
    d->excelStyleDecimalSeparator = Value;
}
