// Special editors: the controls that cells of other than the text kinds are edited with.
#include "grid/editing/QrlGridEditors.h"
#include "grid/model/QrlColumnGrid.h"
#include "grid/model/QrlGridColumn.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"
#include "platform/ui/Colors.h"

#include <QApplication>
#include <QKeyEvent>

namespace {
bool isComboKind(TEditorType kind)
{
    return kind == TEditorType::edComboEdit || kind == TEditorType::edComboList;
}

// The kinds whose controls are not built yet open nothing; the grid must
// not stay in an edit without an editor.
void ShowPlaceholderEditor(TStringGridModelState &s)
{
    s.editing = false;
    s.specialEditor = false;
    s.editActive = false;
    s.editMode = false;
}

// A column grid's combo cells offer their column's items.
void loadColumnComboItems(TQrlStringGrid *grid, TGridCombo *combo, int R, int ARow)
{
    auto *cg = dynamic_cast<TQrlColumnGrid *>(grid);
    if (!cg || R < grid->FixedCols() || ARow < grid->FixedRows() || R >= cg->Columns()->Count())
        return;
    combo->clear();
    for (const QString &s : cg->Columns()->Items(R)->ComboItems())
        combo->AddItem(s, nullptr);
}

void postStartChar(QWidget *control, QChar ch)
{
    if (ch.isNull())
        return;
    QCoreApplication::postEvent(control,
                                new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch)));
}

// Hides the control, giving the focus back to the grid first when the control holds it, so the
// focus does not wander off to another control of the window.
void putAway(TQrlStringGrid *grid, QWidget *control)
{
    if (control->isAncestorOf(QApplication::focusWidget()) || control->hasFocus())
        grid->setFocus();
    control->hide();
    control->setEnabled(false);
}
} // namespace

void TQrlStringGrid::ShowCellEditor(int ACol, int ARow)
{
    d->editing = true;
    d->specialEditor = true;
    d->editActive = true;
    const int r = RealColIndex(ACol);
    const TRect rect = CellRect(ACol, ARow);
    const int w = rect.Right - rect.Left - 1;
    const int h = rect.Bottom - rect.Top - 1;
    d->editCtrl = nullptr;
    if (d->editControl != TEditorType::edCustom)
        d->lastValidation = true;

    if (!isComboKind(d->editControl)) {
        ShowPlaceholderEditor(*d);
        d->startEditChar = QChar();
        return;
    }

    TGridCombo *combo = EditCombo();
    const bool list = d->editControl == TEditorType::edComboList;
    bool fireFirst = false;
    {
        // Filling is no user change.
        const TFlagScope filling(d->comboFilling, true);
        combo->setMaxVisibleItems(qMax(1, ControlLook()->DropDownCount()));
        loadColumnComboItems(this, combo, r, ARow);
        DoGetEditorProp(r, ARow, nullptr);
        const QString editText = GetEditTextHook(ACol, ARow);
        if (list) {
            combo->SetStyle(TComboStyle::csDropDownList);
            int i = combo->IndexOfItem(GetCellEx(r, ARow));
            combo->SetItemIndex(i);
            if (i < 0) {
                if (d->comboIdx == -1) {
                    i = combo->IndexOfItem(editText);
                    if (i < 0 && combo->count() > 0)
                        i = 0;
                    combo->SetItemIndex(i);
                    fireFirst = combo->count() > 0;
                } else {
                    combo->SetItemIndex(d->comboIdx);
                }
            }
        } else {
            combo->SetStyle(TComboStyle::csDropDown);
            combo->SetText(editText);
            if (d->comboIdx != -1 && combo->ItemIndex() < 0)
                combo->SetItemIndex(d->comboIdx);
            combo->SetMaxLength(d->maxComboLength);
        }
    }
    combo->setGeometry(rect.Left, rect.Top, w, h);
    {
        // The editor takes the cell's background as it is painted.
        plat::TGridDrawState state;
        const TBrush brush = CellVisuals(ACol, Row(), state, false, false, true).brush;
        QPalette pal = combo->palette();
        pal.setColor(QPalette::Base, ToQColor(brush.Color()));
        pal.setColor(QPalette::Button, ToQColor(brush.Color()));
        combo->setPalette(pal);
    }
    combo->setEnabled(true);
    combo->show();
    combo->raise();
    combo->setFocus();
    d->editMode = true;
    if (MouseActions()->DirectComboDrop() || ControlLook()->DropDownAlwaysVisible())
        combo->showPopup();
    if (fireFirst) {
        // The combo's change handling for the item it was moved to, then the combo events,
        // always with the first item, whichever one the text selected.
        if (OnEditChange)
            OnEditChange(this, Col(), Row(), combo->Text());
        const QString s = combo->itemText(0);
        if (OnComboChange)
            OnComboChange(this, r, ARow, 0, s);
        if (OnComboObjectChange)
            OnComboObjectChange(this, r, ARow, 0, s, combo->Objects(0));
    }
    postStartChar(combo, d->startEditChar);
    d->editCtrl = combo;
    d->startEditChar = QChar();
}

void TQrlStringGrid::ApplyEditorValue(int ACol, int ARow)
{
    if (d->destroying)
        return;
    d->specialEditor = false;
    d->blockKill = true;
    const int r = RealColIndex(ACol);
    d->startEditChar = QChar();
    if (isComboKind(d->editControl)) {
        // A second commit finds the editor closed and stores nothing.
        if (d->editMode) {
            TGridCombo *combo = EditCombo();
            if (combo->HasValue())
                StoreEditedText(r, ARow, combo->Text());
            putAway(this, combo);
            d->editMode = false;
        }
    }
    if (d->editControl != TEditorType::edNormal && d->editActive)
        NotifyEditingDone(r, ARow);
    d->blockKill = false;
    d->editActive = false;
}
