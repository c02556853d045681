// Combo items and the notifications of the editor controls: the combo's selection, text,
// drop-down and close-up become the grid's combo events; the dropdown editors' buttons and the
// memo dropdown's text reach the grid here.
#include "grid/editing/QrlGridEditors.h"
#include "grid/editing/QrlStringGrid_editing_p.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"

namespace {
// Sets the combo's text or selection without the change being taken for the user's.
using TComboFill = TFlagScope;

} // namespace

// ---- combo items ------------------------------------------------------------------------------

TGridCombo *TQrlStringGrid::EditCombo()
{
    if (!ed->editCombo.ptr) {
        auto *combo = new TGridCombo(this, editorHost(), viewport());
        combo->setObjectName(QStringLiteral("EditCombo"));
        combo->hide();
        combo->SetIsWinXP(IsWinXP());
        combo->SetIsVista(IsVista());
        ed->editCombo.ptr = combo;
        connect(combo, &TGridCombo::SelChange, this, [this] { ComboSelChange(); });
        connect(combo, &TGridCombo::EditChange, this, [this] { ComboEditChange(); });
        connect(combo, &TGridCombo::CloseUp, this, [this] { ComboCloseUp(); });
        connect(combo, &TGridCombo::DropDown, this, [this] { ComboDropDown(); });
    }
    return static_cast<TGridCombo *>(ed->editCombo.ptr.data());
}

void TQrlStringGrid::ClearComboString()
{
    TComboFill fill(ed->comboFilling, true);
    EditCombo()->clear();
}

void TQrlStringGrid::AddComboString(const QString &S)
{
    AddComboStringObject(S, nullptr);
}

void TQrlStringGrid::AddComboStringObject(const QString &S, QObject *AObject)
{
    TComboFill fill(ed->comboFilling, true);
    EditCombo()->AddItem(S, AObject);
}

bool TQrlStringGrid::RemoveComboString(const QString &S)
{
    TGridCombo *combo = EditCombo();
    const int i = combo->IndexOfItem(S);
    if (i < 0)
        return false;
    TComboFill fill(ed->comboFilling, true);
    combo->removeItem(i);
    return true;
}

bool TQrlStringGrid::SetComboSelectionString(const QString &S)
{
    const int i = EditCombo()->IndexOfItem(S);
    if (i < 0)
        return false;
    ed->comboIdx = i;
    return true;
}

void TQrlStringGrid::SetComboSelection(int Index)
{
    ed->comboIdx = Index;
}

int TQrlStringGrid::GetComboCount()
{
    return EditCombo()->count();
}

void TQrlStringGrid::SetComboIndex(int ACol, int ARow, int Index)
{
    DoGetEditorProp(ACol, ARow, nullptr);
    TGridCombo *combo = EditCombo();
    if (Index < 0 || Index >= combo->count())
        throw EQrlGridError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    SetCellEx(ACol, ARow, combo->itemText(Index));
}

int TQrlStringGrid::GetComboIndex(int ACol, int ARow)
{
    DoGetEditorProp(ACol, ARow, nullptr);
    return EditCombo()->IndexOfItem(GetCellEx(ACol, ARow));
}

int TQrlStringGrid::MaxComboLength() const
{
    return ed->maxComboLength;
}

void TQrlStringGrid::SetMaxComboLength(int Value)
{
    ed->maxComboLength = Value;
}

// ---- the combo's notifications ----------------------------------------------------------------

namespace {
// The combo's current choice as the change events report it: the item, or with none selected
// the text, without looking an item up.
void fireComboChange(TQrlStringGrid *grid, TGridCombo *combo, int ACol, int ARow)
{
    const int i = combo->ItemIndex();
    const QString s = i >= 0 ? combo->itemText(i) : combo->Text();
    if (grid->OnComboChange)
        grid->OnComboChange(grid, ACol, ARow, i, s);
    if (grid->OnComboObjectChange)
        grid->OnComboObjectChange(grid, ACol, ARow, i, s, i >= 0 ? combo->Objects(i) : nullptr);
}
} // namespace

void TQrlStringGrid::ComboSelChange()
{
    if (ed->comboFilling || !ed->editMode)
        return;
    fireComboChange(this, EditCombo(), RealColIndex(Col()), Row());
}

void TQrlStringGrid::ComboEditChange()
{
    if (ed->comboFilling)
        return;
    ComboSelChange();
    // Any child's text change reports once more, with the column as displayed.
    if (OnComboChange)
        OnComboChange(this, Col(), Row(), -1, EditCombo()->Text());
}

void TQrlStringGrid::ComboCloseUp()
{
    TGridCombo *combo = EditCombo();
    const int r = RealColIndex(Col());
    // The close-up arrives after the list closed; a combo already put away commits nothing.
    if (MouseActions()->DirectComboClose() && combo->isVisible()) {
        const int i = combo->ItemIndex();
        // A list closed with nothing in it picked has no change to report.
        if (i >= 0 || combo->isEditable()) {
            if (i >= 0) {
                TComboFill fill(ed->comboFilling, true);
                combo->SetItemIndex(i);
            }
            fireComboChange(this, combo, r, Row());
        }
        ed->editControl = TEditorType::edComboEdit;
        ed->editMode = true;
        const bool directEdit = MouseActions()->DirectEdit();
        MouseActions()->SetDirectEdit(false);
        if (!combo->HasValue() || ValidateCell(combo->Text()))
            HideInplaceEdit();
        MouseActions()->SetDirectEdit(directEdit);
        setFocus();
    }
    DoComboCloseUp(r, Row());
}

void TQrlStringGrid::ComboDropDown()
{
    DoComboDropDown(RealColIndex(Col()), Row());
}

// ---- dropdown editors -------------------------------------------------------------------------

void TQrlStringGrid::DropDownHeaderButtonClick(int ButtonIndex)
{
    if (OnDropDownHeaderButtonClick)
        OnDropDownHeaderButtonClick(this, Col(), Row(), ButtonIndex);
}

void TQrlStringGrid::DropDownFooterButtonClick(int ButtonIndex)
{
    if (OnDropDownFooterButtonClick)
        OnDropDownFooterButtonClick(this, Col(), Row(), ButtonIndex);
}

void TQrlStringGrid::DropDownMemoChange(const QStringList &Lines)
{
    SetEditTextHook(Col(), Row(), Lines.join(QStringLiteral("\r\n")));
}
