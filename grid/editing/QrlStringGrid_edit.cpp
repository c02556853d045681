// Cell editing: whether a cell may be edited, opening the editor, validating and storing its
// value, and closing it.
#include "grid/editing/QrlInplaceEdit.h"
#include "grid/editing/QrlStringGrid_editing_p.h"
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlGridStartup.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGridCheck.h"
#include "grid/model/QrlStringGrid_p.h"
#include "platform/grid/GridEditor.h"
#include "platform/ui/WindowMessage.h"

#include <QApplication>
#include <QKeyEvent>
#include <QToolTip>

#include <algorithm>

using plat::TGridCoord;
using plat::TGridOption;
using plat::TGridRect;

namespace {

// Looked up once: the grid asks for it on every event it receives.
QEvent::Type editDoneMessage()
{
    static const QEvent::Type type = plat::RegisterWindowMessage(kGridEditDoneName);
    return type;
}

bool isArrowKey(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

} // namespace

// The validation frame and the balloon of a refused validation. A nested class, so they reach
// the grid's state without the facade declaring each of them.
struct TQrlStringGrid::TEditPart
{
    static void showInvalidEntryBalloon(TQrlStringGrid &grid);
    static bool validateFrame(TQrlStringGrid &grid,
                              const QString &NewValue,
                              const QString &OldValue,
                              const std::function<void(int c, bool &valid)> &Steps);
};

// ---- editability ------------------------------------------------------------------------------

bool TQrlStringGrid::IsEditable(int ACol, int ARow)
{
    if (!Options().Contains(TGridOption::goEditing) && !d->mouseActions->RangeSelectAndEdit() &&
        !d->editDisable)
        return false;
    return CanEditBaseCell(ACol, ARow);
}

bool TQrlStringGrid::CanEditBaseCell(int ACol, int ARow)
{
    const TGridCoord b = BaseCell(ACol, ARow);
    bool can = true;
    CanEditCell(b.X, b.Y, can);
    bool fixed = false;
    QueryFixedCell(b.X, b.Y, fixed);
    return can && !fixed;
}

bool TQrlStringGrid::WantsTabInEditor() const
{
    return Options().Contains(TGridOption::goTabs) || OnCellValidate || OnCellValidateWide;
}

// ---- opening ----------------------------------------------------------------------------------

void TQrlStringGrid::ShowInplaceEdit()
{
    if (HasClickableGraphic(RealCol(), Row()))
        return;
    if (Row() < TopRow())
        SetTopRow(Row());
    if (Col() < LeftCol())
        SetLeftCol(Col());
    ed->editText = CurrentCellText();
    ShowEditor();
}

void TQrlStringGrid::ShowCellEdit()
{
    // The grid's own key handling opens the editor for F2.
    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    QApplication::sendEvent(this, &f2);
}

bool TQrlStringGrid::CanEditShow()
{
    return CanShowEditorHook();
}

bool TQrlStringGrid::CanShowEditorHook()
{
    if (ed->validating)
        return false;
    bool answer = TBaseGrid::CanEditShow();
    if (IsDesigningQuery())
        return answer;
    const TGridCoord b = BaseCell(RealCol(), Row());
    if (answer && !ed->editMode && HasClickableGraphic(b.X, b.Y))
        return false;
    if (answer && !ed->editMode) {
        // The editor edits the current cell, whatever moved the cursor there (code may move it
        // without the click or key that keeps the old value): validation and storing go there.
        KeepOldCellValue(Col(), Row());
        ed->noEditChange = true;
        ed->cellCache = CurrentCell();
        ed->editControl = d->defaultEditor;
        QueryEditorType(b.X, b.Y, ed->editControl);
        if (ed->editControl == TEditorType::edNone)
            return false;
        ed->editMode = true;
        if (IsTextEditorKind(ed->editControl) || TextEditorStandsIn(ed->editControl)) {
            ed->showEditProcess = true;
        } else {
            const TGridCoord s = BaseCell(Col(), Row());
            ShowCellEditor(s.X, s.Y);
            d->entered = true;
            return false;
        }
    }
    if (answer) {
        d->entered = true;
        ed->editing = true;
    }
    return answer;
}

QString TQrlStringGrid::GetEditText(int ACol, int ARow)
{
    return GetEditTextHook(ACol, ARow);
}

QString TQrlStringGrid::GetEditTextHook(int ACol, int ARow)
{
    ed->noEditChange = true;
    const int r = RealColIndex(ACol);
    if (TQrlInplaceEdit *ed = NormalEdit())
        ed->SetVAlign((GetCellAlignment(r, ARow) & 0xFF) ==
                      static_cast<int>(TAlignment::taRightJustify));
    const TGridCoord b = BaseCell(r, ARow);
    QString text = TBaseGrid::GetEditText(b.X, b.Y);
    if (!ed->editWithTags)
        text = StripHTMLTags(text);
    return text;
}

void TQrlStringGrid::SetEditText(int ACol, int ARow, const QString &Value)
{
    SetEditTextHook(ACol, ARow, Value);
}

void TQrlStringGrid::SetEditTextHook(int ACol, int ARow, const QString &Value)
{
    const TGridCoord b = BaseCell(RealColIndex(ACol), ARow);
    TBaseGrid::SetEditText(b.X, b.Y, Value);
}

// ---- cell selection ---------------------------------------------------------------------------

bool TQrlStringGrid::SelectCell(int ACol, int ARow)
{
    return SelectCellHook(ACol, ARow);
}

bool TQrlStringGrid::SelectCellHook(int ACol, int ARow)
{
    if (ed->forceSel)
        return true;

    // Keep the target clear of the footer panels.
    ed->editText = ACol >= 0 && ARow >= 0 ? GetCellEx(RealColIndex(ACol), ARow) : QString();
    // The search panel has no height of its own yet.
    const int searchB = 0;
    const TFloatingFooter &ff = *d->floatingFooter;
    if (ff.Visible() && ACol >= 0 && ARow >= 0) {
        const int cBottom = viewport()->height();
        if (ff.FooterStyle() == TFooterStyle::fsFixedLastRow) {
            if (ARow == RowCount() - 1)
                return false;
            if (ARow >= TopRow() + VisibleRowCount())
                SetTopRow(std::max(TBaseGrid::FixedRows(),
                                   ARow - VisibleRowCount() + TBaseGrid::FixedRows()));
            const TRect r = CellRect(ACol, ARow);
            if (cBottom - ff.Height() - searchB + 2 < r.Bottom && ARow < RowCount() - 1)
                SetTopRow(TopRow() + 1);
        } else {
            UpdateFooter();
            const TRect r = CellRect(ACol, ARow);
            if (cBottom - ff.Height() - searchB + 2 < r.Bottom && ARow < RowCount())
                SetTopRow(TopRow() + 1);
        }
    }

    if (ACol < 0 || ARow < 0)
        return false;
    if (!Options().Contains(TGridOption::goRangeSelect) && IsMergedNonBaseCell(ACol, ARow)) {
        // The cursor goes to the base cell instead.
        const TGridCoord b = BaseCell(ACol, ARow);
        const TGridCoord old = {Col(), Row()};
        if (b.X != old.X || b.Y != old.Y)
            MoveColRow(b.X, b.Y, true, true);
        RepaintCell(b.X, b.Y);
        if (d->mouseActions->DirectEdit() ||
            (d->controlLook->DropDownAlwaysVisible() && HasComboHook(RealColIndex(b.X), b.Y)))
            ShowInplaceEdit();
        return false;
    }
    if (ACol == 0 && HasNodes() && !Options().Contains(TGridOption::goRowSelect))
        return false;
    if (d->rowMarks.usesEnabledRows() && d->navigation->SkipDisabledRows() && !GetRowEnabled(ARow))
        return false;

    // Editability of the target switches goEditing.
    const int r = RealColIndex(ACol);
    const bool goEditing = Options().Contains(TGridOption::goEditing);
    const bool rangeEdit = d->mouseActions->RangeSelectAndEdit();
    if (HasClickableGraphic(r, ARow)) {
        bool can = true;
        CanEditCell(r, ARow, can);
        if (!d->editDisable)
            d->editDisable = !can && (goEditing || rangeEdit);
        if (can && !goEditing && !Options().Contains(TGridOption::goRowSelect)) {
            ed->editChange = true;
            SetOptions(Options() + TGridOption::goEditing);
        }
    } else {
        bool can = goEditing || d->editDisable;
        CanEditCell(r, ARow, can);
        if (can && d->mouseActions->DirectEdit()) {
            ed->editControl = d->defaultEditor;
            QueryEditorType(r, ARow, ed->editControl);
            if (ed->editControl == TEditorType::edNone)
                can = false;
        }
        if (d->mouseActions->EditOnDblClickOnly())
            can = false;
        if (can) {
            d->editDisable = false;
            if (!goEditing) {
                ed->editChange = true;
                if (!ed->editing)
                    KeepOldCellValue(ACol, ARow);
                plat::TGridOptions o = Options();
                if (o.Contains(TGridOption::goRowSelect) && rangeEdit)
                    o.Exclude(TGridOption::goRowSelect);
                SetOptions(o + TGridOption::goEditing);
            }
            if (ed->editing) {
                HideInplaceEdit();
                ed->editText = GetCellEx(r, ARow);
            }
        } else {
            if (ed->editing) {
                HideInplaceEdit();
                ed->editText = GetCellEx(r, ARow);
            }
            if (Options().Contains(TGridOption::goEditing)) {
                ed->editMode = false;
                d->editDisable = true;
                ed->editChange = true;
                SetOptions(Options() - TGridOption::goEditing);
                HideEditor();
            }
        }
    }

    // Moving.
    const int oldRow = Row();
    const TGridRect oldSel = Selection();
    bool allow = true;
    bool answer = false;
    // The text editor validates by itself while it holds the focus.
    const QWidget *fw = window()->focusWidget();
    QWidget *editorWidget = CellEditor() ? CellEditor()->Widget() : nullptr;
    const bool textEditorFocused = !ed->specialEditor && editorWidget && fw &&
                                   (fw == editorWidget || editorWidget->isAncestorOf(fw));
    if (!ed->editing || textEditorFocused) {
        DoCellChanging(ACol, ARow, allow);
        if (IsFixed(ACol, ARow) || !allow)
            answer = (allow && Options().Contains(TGridOption::goRowSelect)) ||
                     (d->fixedRowAlways && RowCount() == TBaseGrid::FixedRows());
        else
            answer = TBaseGrid::SelectCell(ACol, ARow);
    } else {
        const bool valid =
            IsWideCell(r, Row()) ? ValidateCellWide(ed->editWideText) : ValidateCell(CurrentCell());
        DoCellChanging(ACol, ARow, allow);
        answer = allow && valid && TBaseGrid::SelectCell(ACol, ARow);
    }

    // After the decision.
    if (d->activeCellShow) {
        RepaintCell(oldSel.Left, oldSel.Top);
        RepaintCell(ACol, ARow);
    }
    if (ActiveRowShow()) {
        RepaintRow(oldRow);
        RepaintRow(ARow);
    }
    if (d->selectionRectangle)
        Invalidate();
    // A refused move is no row update.
    if (answer && !d->loading && ARow != d->oldSelectedRow && OnRowUpdate) {
        const int old = d->oldSelectedRow;
        d->oldSelectedRow = ARow;
        OnRowUpdate(this, old, ARow);
    }
    if (OnGetCellBorder)
        RepaintRect(oldSel);
    if (answer)
        ed->cellCache = GetCellEx(r, ARow);
    return answer;
}

void TQrlStringGrid::Select()
{
    SelectCellHook(Col(), Row());
}

// ---- validation -------------------------------------------------------------------------------

// The frame both validations share: the re-entry guard, AdvanceOnEnter held off while the
// events run, and the current cell's value kept again afterwards, also when an event throws.
bool TQrlStringGrid::TEditPart::validateFrame(TQrlStringGrid &grid,
                                              const QString &NewValue,
                                              const QString &OldValue,
                                              const std::function<void(int c, bool &valid)> &Steps)
{
    if (!grid.ed->editing || grid.ed->validating)
        return true;
    grid.ed->editing = false;
    grid.ed->validating = true;
    bool valid = true;
    const int c = grid.RealColIndex(grid.ed->oldCol);
    grid.ed->newCellText = NewValue;
    struct TFinish
    {
        TQrlStringGrid *g;
        ~TFinish()
        {
            g->KeepOldCellValue(g->Col(), g->Row());
            g->ed->validating = false;
        }
    } finish{&grid};

    if (NewValue != OldValue || grid.ed->alwaysValidate) {
        const bool advance = grid.d->navigation->AdvanceOnEnter();
        grid.d->navigation->SetAdvanceOnEnter(false);
        struct TAdvanceRestore
        {
            TNavigation *n;
            bool v;
            ~TAdvanceRestore() { n->SetAdvanceOnEnter(v); }
        } advanceRestore{grid.d->navigation.get(), advance};
        Steps(c, valid);
    }
    return valid;
}

bool TQrlStringGrid::ValidateCell(const QString &NewValue)
{
    return TEditPart::validateFrame(*this, NewValue, ed->oldCellText, [&](int c, bool &valid) {
        QString v = NewValue;
        TQrlStringGridCheck *checker = d->cellChecker;
        if (checker && checker->AutoCorrect)
            checker->Correct(c, ed->oldRow, v, ed->oldCellText);
        if (OnCellValidate)
            OnCellValidate(this, c, ed->oldRow, v, valid);
        if (v != ed->oldCellText) {
            ed->gridModified = true;
            ed->modified = true;
            if (TBaseGrid::FixedCols() > 0) {
                SetRowModified(Row(), true);
                if (d->showModified->Enabled())
                    RepaintCell(0, Row());
            }
        }
        if (valid)
            CalcFooter(c);
        checker = d->cellChecker;
        if (checker && checker->AutoMarkError)
            checker->MarkError(c, ed->oldRow, v, ed->oldCellText);
        if (valid && UndoRedo())
            UndoRedo()->RegisterChange(c, ed->oldRow, ed->oldCellText, v);
        // Reported only when the text that stays differs from the old one.
        if (valid && v != ed->oldCellText)
            NotifyCellsChanged({c, ed->oldRow, c, ed->oldRow});
        ed->newCellText = v;
        if (valid) {
            SetCellEx(c, ed->oldRow, v);
            if (!IsBaseCell(c, ed->oldRow)) {
                const TGridCoord b = BaseCell(c, ed->oldRow);
                SetCellEx(b.X, b.Y, v);
            }
        } else {
            ed->lastValidation = false;
            const int oldCol = ed->oldCol;
            const int oldRow = ed->oldRow;
            const bool oldModified = ed->oldModifiedValue;
            if (v != NewValue) {
                HideEditor();
                SetCellEx(c, oldRow, v);
                FocusCell(oldCol, oldRow);
                ed->validating = false;
                ed->editing = true;
                ShowInplaceEdit();
            } else {
                // The editors show the old text again, as the cell does.
                ed->newCellText = ed->oldCellText;
                if (ed->editMode)
                    ed->validating = false;
                HideEditor();
                SetCellEx(c, oldRow, ed->oldCellText);
                FocusCell(oldCol, oldRow);
                ed->editing = true;
                ShowInplaceEdit();
                if (Col() != oldCol)
                    InvalidateEditor();
            }
            ed->modified = oldModified;
            TEditPart::showInvalidEntryBalloon(*this);
        }
        ed->oldCellText = GetGridCell(c, ed->oldRow);
    });
}

bool TQrlStringGrid::ValidateCellWide(const QString &NewValue)
{
    return TEditPart::validateFrame(*this, NewValue, ed->oldCellTextWide, [&](int c, bool &valid) {
        QString v = NewValue;
        CalcFooter(c);
        if (OnCellValidateWide)
            OnCellValidateWide(this, c, ed->oldRow, v, valid);
        if (v != ed->oldCellTextWide) {
            ed->gridModified = true;
            ed->modified = true;
            if (d->showModified->Enabled())
                SetRowModified(ed->oldRow, true);
        }
        if (valid && v != ed->oldCellTextWide)
            NotifyCellsChanged({c, ed->oldRow, c, ed->oldRow});
        ed->newCellText = v;
        if (valid) {
            SetWideCells(c, ed->oldRow, v);
        } else {
            const int oldCol = ed->oldCol;
            const int oldRow = ed->oldRow;
            const bool oldModified = ed->oldModifiedValue;
            if (v == NewValue)
                ed->newCellText = ed->oldCellTextWide;
            if (ed->editMode || v != NewValue)
                ed->validating = false;
            HideEditor();
            SetWideCells(c, oldRow, v != NewValue ? v : ed->oldCellTextWide);
            FocusCell(oldCol, oldRow);
            ed->editing = true;
            ShowInplaceEdit();
            ed->modified = oldModified;
        }
        ed->oldCellTextWide = GetWideCells(c, ed->oldRow);
    });
}

void TQrlStringGrid::TEditPart::showInvalidEntryBalloon(TQrlStringGrid &grid)
{
    if (grid.d->invalidEntryTitle.isEmpty() && grid.d->invalidEntryText.isEmpty())
        return;
    // A tool tip over the editor stands in for the balloon; the icon kind goes into its title.
    QWidget *target = nullptr;
    if (grid.ed->specialEditor || !grid.ed->editMode)
        target = grid.ed->editCtrl;
    else if (grid.CellEditor())
        target = grid.CellEditor()->Widget();
    if (!target)
        target = grid.viewport();
    QString title = grid.d->invalidEntryTitle.toHtmlEscaped();
    static const char *const icons[] = {"", "&#9432; ", "&#9888; ", "&#10006; "};
    title.prepend(QLatin1String(icons[static_cast<int>(grid.d->invalidEntryIcon)]));
    const QString html =
        QStringLiteral("<b>%1</b><br>%2").arg(title, grid.d->invalidEntryText.toHtmlEscaped());
    const QPoint at = target->mapToGlobal(QPoint(0, target->height()));
    QToolTip::showText(at, html, target);
}

void TQrlStringGrid::KeepOldCellValue(int ACol, int ARow)
{
    ed->oldCol = ACol;
    ed->oldRow = ARow;
    const int r = RealColIndex(ACol);
    if (ACol < 0 || ARow < 0 || ARow >= RowCount() || r >= TotalColCount()) {
        ed->oldCellText.clear();
        ed->oldCellTextWide.clear();
    } else {
        ed->oldCellText = GetGridCell(r, ARow);
        ed->oldCellTextWide = GetWideCells(r, ARow);
    }
    ed->oldModifiedValue = ed->modified;
}

// ---- closing ----------------------------------------------------------------------------------

void TQrlStringGrid::HideInplaceEdit()
{
    if (!ed->editMode)
        return;
    HideEditor();
    // A special editor stores into the cell it was shown over, also when code moved the cursor
    // while it was open.
    const TGridCoord cell = ed->specialEditor && ed->editCell.X >= 0 && ed->editCell.Y >= 0 &&
                                    ed->editCell.X < ColCount() && ed->editCell.Y < RowCount()
                                ? ed->editCell
                                : TGridCoord{Col(), Row()};
    ApplyEditorValue(cell.X, cell.Y);
    ed->editMode = false;
    SelectCellHook(Col(), Row());
}

void TQrlStringGrid::HideCellEdit()
{
    ApplyEditorValue(Col(), Row());
}

void TQrlStringGrid::DoneInplaceEdit(int Key, plat::TShiftState Shift)
{
    // Callers may pass the virtual key codes of Tab, Enter and the arrows.
    switch (Key) {
    case 9:
        Key = Qt::Key_Tab;
        break;
    case 13:
        Key = Qt::Key_Return;
        break;
    case 37:
        Key = Qt::Key_Left;
        break;
    case 38:
        Key = Qt::Key_Up;
        break;
    case 39:
        Key = Qt::Key_Right;
        break;
    case 40:
        Key = Qt::Key_Down;
        break;
    default:
        break;
    }
    TFlagScope block(ed->blockFocus, true);
    ed->editing = false;
    HideInplaceEdit();
    if (d->navigation->AppendOnArrowDown() && Key == Qt::Key_Down &&
        Row() == RowCount() - 1 - d->fixedFooters)
        AddRow();
    if (Key == Qt::Key_Tab || Key == Qt::Key_Backtab || isArrowKey(Key)) {
        int k = Key;
        KeyDown(k, Shift);
    }
    const bool alwaysEdit = d->navigation->AlwaysEdit();
    d->navigation->SetAlwaysEdit(false);
    setFocus();
    if (Key == Qt::Key_Return || Key == Qt::Key_Enter)
        AdvanceAfterEdit(Col(), Row(), false, true, false, false);
    d->navigation->SetAlwaysEdit(alwaysEdit);
    ed->blockFocus = false;
}

void TQrlStringGrid::NotifyEditingDone(int ACol, int ARow)
{
    if (OnEditingDone)
        OnEditingDone(this);
    ed->editMode = false;
    plat::PostMessage(this, editDoneMessage(), ACol, ARow);
}

bool TQrlStringGrid::event(QEvent *e)
{
    if (e->type() == editDoneMessage()) {
        if (d->destroying)
            return true;
        const auto *m = static_cast<const plat::TMessageEvent *>(e);
        if (OnEditCellDone)
            OnEditCellDone(this, static_cast<int>(m->WParam), static_cast<int>(m->LParam));
        if (d->mouseActions->EditOnDblClickOnly()) {
            // Only a double click opens the next editor.
            HideInplaceEdit();
            ed->editMode = false;
            SetOptions(Options() - TGridOption::goEditing);
        }
        return true;
    }
    return TBaseGrid::event(e);
}

void TQrlStringGrid::SimulateCellClick(int ACol, int ARow)
{
    const TRect r = CellRect(ACol, ARow);
    struct TRestore
    {
        TQrlStringGrid *g;
        decltype(g->OnMouseDown) down;
        decltype(g->OnMouseUp) up;
        ~TRestore()
        {
            g->OnMouseDown = std::move(down);
            g->OnMouseUp = std::move(up);
            g->ed->forceSel = false;
        }
    } restore{this, std::move(OnMouseDown), std::move(OnMouseUp)};
    OnMouseDown = nullptr;
    OnMouseUp = nullptr;
    ed->forceSel = true;
    MouseDown(plat::TMouseButton::mbLeft, plat::TShiftState{plat::TShiftStateItem::ssLeft},
              r.Left + 2, r.Top + 2);
    MouseUp(plat::TMouseButton::mbLeft, plat::TShiftState{}, r.Left + 2, r.Top + 2);
}

// ---- scrolling, controls in cells and key up --------------------------------------------------

void TQrlStringGrid::TopLeftChanged()
{
    TopLeftChangedHook();
}

void TQrlStringGrid::TopLeftChangedHook()
{
    if (Selection().Top != Selection().Bottom && d->selectionRectangle)
        Invalidate();
    TBaseGrid::TopLeftChanged();
    const TBackGroundDisplay display = d->backGround->Display();
    if ((!d->backGround->Bitmap().Empty() && display != TBackGroundDisplay::bdFixed) ||
        display == TBackGroundDisplay::bdGradientHorz ||
        display == TBackGroundDisplay::bdGradientVert)
        Invalidate();
    // A special editor would stay behind at the old place; a text editor scrolls with its cell.
    if (ed->editMode && !IsTextEditorKind(ed->editControl) && !TextEditorStandsIn(ed->editControl))
        HideInplaceEdit();
    if (d->floatingFooter->Visible())
        UpdateFooter();
    CellControlsUpdate(false);
    TQrlStringGrid *other = d->syncGrid->Grid();
    if (other && other != this) {
        if (d->syncGrid->ScrollVertical() && other->TopRow() != TopRow() &&
            TopRow() < other->RowCount())
            other->SetTopRow(TopRow());
        if (d->syncGrid->ScrollHorizontal() && other->LeftCol() != LeftCol() &&
            LeftCol() < other->ColCount())
            other->SetLeftCol(LeftCol());
    }
}

void TQrlStringGrid::CellControlsUpdate(bool RebuildList)
{
    if (!testAttribute(Qt::WA_WState_Created))
        return;
    TControlList &list = d->controlList;
    if (RebuildList) {
        while (list.Count() > 0)
            list.RemoveControl(list.Count() - 1);
        for (int c = 0; c < TotalColCount(); ++c)
            for (int r = 0; r < RowCount(); ++r)
                if (HasCellProperties(c, r))
                    if (QWidget *w = GetCellProperties(c, r)->Control())
                        list.AddControl(c, r, w);
    }
    const int lastRow = TopRow() + VisibleRowCount();
    const int lastCol = LeftCol() + VisibleColCount();
    auto inView = [&](int c, int r) {
        return c <= lastCol && r <= lastRow && (c < TBaseGrid::FixedCols() || c >= LeftCol()) &&
               (r < TBaseGrid::FixedRows() || r >= TopRow());
    };
    for (int i = 0; i < list.Count(); ++i) {
        TControlItem *item = list.GetControl(i);
        QWidget *w = item ? item->Control.data() : nullptr;
        if (!w)
            continue;
        const int c = DisplColIndex(item->X);
        const int r = item->Y;
        if (IsHiddenRow(r) || IsHiddenColumn(item->X)) {
            w->hide();
            continue;
        }
        if (!inView(c, r)) {
            if (!IsFixed(c, r))
                w->hide();
            continue;
        }
        const TRect cr = CellRect(c, r);
        w->setGeometry(cr.Left - 1, cr.Top - 1, cr.Right - cr.Left + 1, cr.Bottom - cr.Top + 1);
        w->show();
    }
    // A nudge makes the shown controls lay out again.
    for (int i = 0; i < list.Count(); ++i) {
        TControlItem *item = list.GetControl(i);
        QWidget *w = item ? item->Control.data() : nullptr;
        const int c = item ? DisplColIndex(item->X) : 0;
        if (!w || !w->isVisible() || IsFixed(c, item->Y) || !inView(c, item->Y))
            continue;
        w->update();
        w->resize(w->width() + 1, w->height());
        w->resize(w->width() - 1, w->height());
    }
}

void TQrlStringGrid::KeyUp(int &Key, plat::TShiftState Shift)
{
    KeyUpHook(Key, Shift);
}

void TQrlStringGrid::KeyUpHook(int &Key, plat::TShiftState Shift)
{
    switch (Key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
        d->searchInc.clear();
        break;
    default:
        break;
    }
    const int key = Key;
    const TGridRect before = Selection().Normalized();
    TBaseGrid::KeyUp(Key, Shift);
    const bool goEditing = Options().Contains(TGridOption::goEditing);
    const bool tab = key == Qt::Key_Tab || key == Qt::Key_Backtab;
    if (d->navigation->AlwaysEdit() &&
        (isArrowKey(key) || (tab && Options().Contains(TGridOption::goTabs))) &&
        !HasClickableGraphic(RealCol(), Row()))
        ShowInplaceEdit();
    const TGridRect now = Selection().Normalized();
    // Compared with what the key-down handler recorded; nothing is recorded before it runs.
    if (ed->keys.keyDownSelection.Left >= 0 && !(now == ed->keys.keyDownSelection) &&
        (tab || isArrowKey(key)))
        DoSelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
    if (!d->mouseActions->DisjunctCellSelect() || goEditing)
        return;
    if (Shift.Contains(plat::TShiftStateItem::ssShift)) {
        for (int c = before.Left; c <= before.Right; ++c)
            for (int r = before.Top; r <= before.Bottom; ++r)
                SetSelectedCells(c, r, false);
        for (int c = now.Left; c <= now.Right; ++c)
            for (int r = now.Top; r <= now.Bottom; ++r)
                if (c != Col() || r != Row())
                    SetSelectedCells(c, r, true);
    }
    if (key == Qt::Key_Space) {
        const TGridCoord b = BaseCell(Col(), Row());
        if (IsFixed(b.X, b.Y))
            return;
        bool canSelect = true;
        if (OnSelectCell)
            OnSelectCell(this, b.X, b.Y, canSelect);
        if (!canSelect)
            return;
        if (Shift.Contains(plat::TShiftStateItem::ssCtrl)) {
            SetSelectedCells(b.X, b.Y, !GetSelectedCells(b.X, b.Y));
        } else {
            for (int i = SelectedCellsCount() - 1; i >= 0; --i) {
                const TGridCoord s = GetSelectedCell(i);
                SetSelectedCells(s.X, s.Y, false);
            }
            SetSelectedCells(b.X, b.Y, true);
        }
        if (now.Left != now.Right || now.Top != now.Bottom)
            for (int c = now.Left; c <= now.Right; ++c)
                for (int r = now.Top; r <= now.Bottom; ++r)
                    if (c != b.X || r != b.Y)
                        SetSelectedCells(c, r, true);
        RepaintCell(Col(), Row());
    }
}

// ---- state ------------------------------------------------------------------------------------

bool TQrlStringGrid::EditMode() const
{
    return ed->editMode;
}

bool TQrlStringGrid::Editing() const
{
    return ed->editing;
}

TEditorType TQrlStringGrid::EditControl() const
{
    return ed->editControl;
}

QString TQrlStringGrid::NewCellText() const
{
    return ed->newCellText;
}

QString TQrlStringGrid::OldCellText() const
{
    return ed->oldCellText;
}

void TQrlStringGrid::SetOldCellText(const QString &Value)
{
    ed->oldCellText = Value;
}

QString TQrlStringGrid::CellCache() const
{
    return ed->cellCache;
}

bool TQrlStringGrid::NoEditChange() const
{
    return ed->noEditChange;
}

void TQrlStringGrid::SetNoEditChange(bool Value)
{
    ed->noEditChange = Value;
}

QChar TQrlStringGrid::StartEditChar() const
{
    return d->startEditChar;
}

void TQrlStringGrid::SetStartEditChar(QChar Value)
{
    d->startEditChar = Value;
}

bool TQrlStringGrid::AlwaysValidate() const
{
    return ed->alwaysValidate;
}

void TQrlStringGrid::SetAlwaysValidate(bool Value)
{
    ed->alwaysValidate = Value;
}

bool TQrlStringGrid::EditWithTags() const
{
    return ed->editWithTags;
}

void TQrlStringGrid::SetEditWithTags(bool Value)
{
    ed->editWithTags = Value;
}

bool TQrlStringGrid::Modified() const
{
    return ed->modified;
}

void TQrlStringGrid::SetModified(bool Value)
{
    ed->modified = Value;
}

bool TQrlStringGrid::GridModified() const
{
    return ed->gridModified;
}
