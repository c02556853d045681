// Mouse clicks, the rest: the left release (cell buttons, fixed sizing, disjunct selection,
// header-click sorting), the double click, the right button and the mouse-up hook.
#include "grid/editing/QrlStringGrid_editing_p.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlStringGrid.h"

#include <QElapsedTimer>

#include <utility>

using plat::TGridCoord;
using plat::TGridOption;
using plat::TGridRect;
using plat::TGridState;
using plat::TMouseButton;
using plat::TShiftState;
using plat::TShiftStateItem;

namespace {

constexpr int BorderGrab = 4;

} // namespace

// ---- release ----------------------------------------------------------------------------------

void TQrlStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const bool message = std::exchange(ed->mouse.mouseMessage, false);
    if (!message) {
        MouseUpHook(Button, Shift, X, Y);
        return;
    }
    if (Button == TMouseButton::mbLeft) {
        leftRelease(Shift, X, Y);
        return;
    }
    if (Button == TMouseButton::mbRight && EnhRowColMove() &&
        (GridState() == TGridState::gsColMoving || GridState() == TGridState::gsRowMoving))
        return;
    MouseUpHook(Button, Shift, X, Y);
}

void TQrlStringGrid::leftRelease(TShiftState Shift, int X, int Y)
{
    TMouseActions &ma = *d->mouseActions;
    const TGridCoord cell = MouseCoord(X, Y);
    const int ACol = cell.X;
    const int ARow = cell.Y;
    const TGridState state = GridState();
    const bool sizing = state == TGridState::gsColSizing || state == TGridState::gsRowSizing;
    const bool moving = state == TGridState::gsColMoving || state == TGridState::gsRowMoving;
    hideSizingHint();

    // The release that ends a double click on a header border does not sort.
    const bool afterDblClk = std::exchange(ed->mouse.dblClk, false);
    ed->mouse.mouseDown = ed->mouse.mouseKeepDown = ed->mouse.mouseDownMove = false;
    d->mouseSelectMode = TMouseSelectMode::msNormal;
    if (ed->mouse.ctrlDown) {
        ed->mouse.ctrlDown = false;
        RepaintCell(ed->mouse.ctrlXY.X, ed->mouse.ctrlXY.Y);
    }
    ed->mouse.mouseSelectStart = -1;

    if (ed->mouse.sizingFixed) {
        ed->mouse.sizingFixed = false;
        const int col = ed->mouse.sizingFixedCol;
        ed->mouse.sizingFixedCol = -1;
        if (col >= 0 && col < ColCount()) {
            int width = X - UnclippedCellRect(col, 0).Left;
            if (OnEndColumnSize)
                OnEndColumnSize(this, col);
            if (OnUpdateColumnSize)
                OnUpdateColumnSize(this, col, width);
            SetColWidths(col, std::max(width, 0));
        }
        Invalidate();
    }
    if (ed->mouse.sizingFixedR) {
        ed->mouse.sizingFixedR = false;
        const int row = ed->mouse.sizingFixedRow;
        ed->mouse.sizingFixedRow = -1;
        if (row >= 0 && row < RowCount()) {
            const int height = Y - UnclippedCellRect(0, row).Top;
            SetRowHeights(row, std::max(height, 0));
            if (OnEndRowSize)
                OnEndRowSize(this, row);
        }
        Invalidate();
    }

    const bool fixedPushed = std::exchange(ed->mouse.fixedCellPushed, false);
    if (fixedPushed)
        InvalidateRect(ed->mouse.pushedFixedCell);

    const TGridCoord pushed = ed->pushedCellButton;
    if (pushed.X >= 0) {
        const int prc = RealColIndex(pushed.X);
        const bool expand = GetCellType(prc, pushed.Y) == TCellType::ctExpand;
        if (!expand && !IsNode(pushed.Y))
            PushButton(pushed.X, pushed.Y, false);
        // The press stored the base cell of a merged area.
        const TGridCoord under = ACol >= 0 && ARow >= 0 ? BaseCell(ACol, ARow) : cell;
        if (under == pushed) {
            if (fixedPushed && ed->mouse.fixedAsButtons) {
                // A fixed cell is its own button: anywhere inside it clicks.
                DoButtonClick(pushed.X, pushed.Y);
            } else if (expand) {
                if (ExpandButtonRect(prc, pushed.Y).Contains(X, Y))
                    DoExpandClick(pushed.X, pushed.Y, ToggleExpand(prc, pushed.Y));
            } else if (CellButtonRect(pushed.X, pushed.Y).Contains(X, Y)) {
                DoButtonClick(pushed.X, pushed.Y);
            }
        }
        ed->pushedCellButton = {-1, -1};
    }

    if (ACol >= 0 && ARow >= 0) {
        const int rc = RealColIndex(ACol);
        const TCellType type = GetCellType(rc, ARow);
        if (((type == TCellType::ctButton || type == TCellType::ctBitButton) &&
             CellButtonRect(ACol, ARow).Contains(X, Y)) ||
            (type == TCellType::ctExpand && ExpandButtonRect(rc, ARow).Contains(X, Y)))
            return;
    }

    const bool fixedCell = ACol >= 0 && ARow >= 0 && (ARow < FixedRows() || ACol < FixedCols());
    if (fixedCell && ed->mouse.doOnClick && state != TGridState::gsColSizing && OnClick)
        OnClick(this);
    ed->mouse.doOnClick = false;
    selectionClickRelease(ACol, ARow);

    bool deselected = false;
    if (ma.DisjunctRowSelect() && !(ACol == 0 && IsNode(ARow))) {
        if (!(ACol == 0 && ma.HotmailRowSelect()))
            SelectionToRowSelect(false);
        if (ARow >= FixedRows() && ed->mouse.deselectState) {
            SetRowSelect(ma.RowSelectPersistent() ? RealRowIndex(ARow) : ARow, false);
            deselected = true;
        }
        if (ma.HotmailRowSelect())
            RepaintCell(0, 0);
        ed->mouse.deselectState = false;
    }
    if (ma.DisjunctColSelect()) {
        SelectionToColSelect(false);
        if (ACol >= FixedCols() && ed->mouse.deselectState) {
            SetColSelect(ACol, false);
            deselected = true;
        }
        ed->mouse.deselectState = false;
    }

    if (moving)
        endHeaderDrag();
    MouseUpHook(TMouseButton::mbLeft, Shift, X, Y);
    if (deselected)
        d->selChange = false;

    if (sizing || moving || ACol < 0 || ARow < 0)
        return;

    if (ACol >= FixedCols() || d->sortSettings->FixedCols()) {
        const int rc = RealColIndex(ACol);
        bool checked = false;
        if (HasCheckBox(rc, ARow) && GetCheckBoxState(rc, RealRowIndex(ARow), checked) &&
            OnCheckBoxMouseUp)
            OnCheckBoxMouseUp(this, rc, ARow, checked);
        const TCellGraphic *cg = GetCellGraphic(rc, ARow);
        if (cg && cg->CellType() == TCellType::ctRadio && OnRadioMouseUp)
            OnRadioMouseUp(this, rc, ARow, cg->CellIndex());
    }

    if (!afterDblClk)
        headerClickSort(ACol, ARow, X, Y, Shift);
}

void TQrlStringGrid::headerClickSort(int ACol, int ARow, int X, int Y, TShiftState Shift)
{
    TSortSettings &ss = *d->sortSettings;
    const TRect r = CellRect(ACol, ARow);
    if (ARow == 0 && Options().Contains(TGridOption::goColSizing) &&
        (X - r.Left < BorderGrab || r.Right - X < BorderGrab))
        return;
    const int RC = RealColIndex(ACol);
    // The drop-down button and the filter glyph take their part of the header.
    const bool onButton = X >= r.Right - 16;
    if (onButton && ((d->controlLook->FixedDropDownButton() && CanShowFixedDropDown(RC, ARow)) ||
                     hasFilterButton(RC)))
        return;
    const TGridCoord pressed = MouseCoord(ed->mouse.clickPosX, ed->mouse.clickPosY);
    if (ARow != ss.Row() || pressed.Y != ss.Row() || FixedRows() <= 0 ||
        IsInCheckBox(RC, ARow, X, Y) || !ss.Show() || RowCount() <= 2 ||
        IgnoreColumns().HasValue(RC))
        return;
    bool doSort = true;
    if (OnCanSort)
        OnCanSort(this, RC, doSort);
    if (!doSort) {
        RepaintCell(ACol, ARow);
        return;
    }

    HideInplaceEdit();
    const bool autoMerge = ss.AutoColumnMerge();
    if (autoMerge)
        SplitMergedColumns();
    const bool keepLeft =
        Options().Contains(TGridOption::goRowSelect) && d->navigation->KeepHorizScroll();
    const int leftCol = LeftCol();
    QElapsedTimer timer;
    timer.start();
    {
        TUpdatePair update(*this);
        if (ss.IndexShow()) {
            TSortIndexList &idx = SortIndexes();
            const bool keyHeld = Shift.Contains(ss.IndexSortKey() == TIndexSortKey::ikShift
                                                    ? TShiftStateItem::ssShift
                                                    : TShiftStateItem::ssCtrl);
            const bool initAscending = ss.InitSortDirection() == TSortDirection::sdAscending;
            const int at = idx.FindIndex(RC);
            if (keyHeld) {
                if (at >= 0)
                    idx.ToggleIndex(RC);
                else
                    idx.AddIndex(RC, !initAscending);
            } else if (idx.Count() == 1 && at == 0) {
                idx.ToggleIndex(RC);
            } else {
                idx.Clear();
                idx.AddIndex(RC, !initAscending);
            }
            if (HasNodes())
                QSortGroupIndexed();
            else
                QSortIndexed();
            ss.SetColumn(idx.Count() > 0 ? idx.SortColumns(0) : -1);
        } else {
            bool unsort = false;
            if (RC == ss.Column()) {
                const TSortDirection old = ss.Direction();
                ss.SetDirection(old == TSortDirection::sdAscending ? TSortDirection::sdDescending
                                                                   : TSortDirection::sdAscending);
                if (old != ss.InitSortDirection() && ss.UndoSort()) {
                    QUnSort();
                    ss.SetColumn(-1);
                    unsort = true;
                }
            } else {
                ss.SetDirection(ss.InitSortDirection());
                ss.SetColumn(RC);
            }
            if (!unsort) {
                if (HasNodes())
                    QSortGroup();
                else
                    QSort();
            }
        }
        if (keepLeft)
            SetLeftCol(leftCol);
    }
    d->sortTime = static_cast<unsigned>(timer.elapsed());
    if (autoMerge)
        ReMergeColumns();
    CellControlsUpdate(false);
    DoClickSort(ss.Column());
}

void TQrlStringGrid::MouseUpHook(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TMouseActions &ma = *d->mouseActions;
    const TGridRect before = Selection();
    const bool left = Button == TMouseButton::mbLeft;
    const bool mayChange = left || (Button == TMouseButton::mbRight && ma.SelectOnRightClick());

    const TGridCoord cell = MouseCoord(X, Y);
    if (left && cell.X >= 0 && cell.Y >= 0 && filterDropDownRelease(cell.X, cell.Y, X, Y)) {
        dsp->dropDownDown = false;
        return;
    }
    dsp->dropDownDown = false;

    if ((GridState() == TGridState::gsColSizing && X > viewport()->width()) ||
        (GridState() == TGridState::gsRowSizing && Y > viewport()->height()))
        SetGridState(TGridState::gsNormal);

    if (ma.DisjunctCellSelect() && left && cell.X >= 0 && cell.Y >= 0) {
        const bool fixed = cell.X < FixedCols() || cell.Y < FixedRows() || IsFixed(cell.X, cell.Y);
        if (!fixed) {
            bool canSelect = true;
            if (OnSelectCell)
                OnSelectCell(this, cell.X, cell.Y, canSelect);
            if (!canSelect)
                return;
            const TGridCoord b = BaseCell(cell.X, cell.Y);
            if (Shift.Contains(TShiftStateItem::ssShift)) {
                SetSelectedCells(b.X, b.Y, true);
            } else if (Shift.Contains(TShiftStateItem::ssCtrl)) {
                SetSelectedCells(b.X, b.Y, !GetSelectedCells(b.X, b.Y));
            } else {
                ClearSelectedCells();
                SetSelectedCells(b.X, b.Y, true);
            }
            const TGridRect sel = Selection();
            if (sel.Left != sel.Right || sel.Top != sel.Bottom)
                for (int c = sel.Left; c <= sel.Right; ++c)
                    for (int r = sel.Top; r <= sel.Bottom; ++r)
                        if (!GetSelectedCells(c, r))
                            SetSelectedCells(c, r, true);
            RepaintCell(cell.X, cell.Y);
        } else if (!Shift.Contains(TShiftStateItem::ssCtrl)) {
            ClearSelectedCells();
            Invalidate();
        }
    }

    if (mayChange)
        DoSelectionChanged(before.Left, before.Top, before.Right, before.Bottom);
    TBaseGrid::MouseUp(Button, Shift, X, Y);
    if (cell.X >= 0 && cell.Y == FixedRows() - 1 && IsHoverFixedCell(cell.X, cell.Y))
        RepaintCell(cell.X, cell.Y);
    const TGridRect after = Selection();
    if (!(after == before))
        DoSelectionChanged(after.Left, after.Top, after.Right, after.Bottom);
}

// ---- double click -----------------------------------------------------------------------------

void TQrlStringGrid::DblClick()
{
    TMouseActions &ma = *d->mouseActions;
    const int X = ed->mouse.lastPress.X;
    const int Y = ed->mouse.lastPress.Y;
    TGridCoord cell = MouseCoord(X, Y);
    int ACol = cell.X;
    int ARow = cell.Y;
    TFlagScope force(ed->forceSel,
                     ed->forceSel || (ma.RangeSelectAndEdit() && ACol >= 0 &&
                                      !HasClickableGraphic(RealColIndex(ACol), ARow)));

    if (ACol < 0) {
        // Right of the last column counts as its header there.
        if (FixedRowAlways() || X < CellRect(ColCount() - 1, 0).Right) {
            TBaseGrid::DblClick();
            return;
        }
        ACol = ColCount() - 1;
        ARow = 0;
    }
    if (ARow < 0) {
        TBaseGrid::DblClick();
        return;
    }

    if (ARow < FixedRows() && Options().Contains(TGridOption::goColSizing) &&
        ma.AutoSizeColOnDblClick()) {
        const TRect r = CellRect(ACol, ARow);
        int col = -1;
        bool near = false;
        if (X - r.Left <= 3 && X >= r.Left) {
            near = true;
            col = ACol - 1 >= FixedCols() ? ACol - 1 : -1;
        } else if (r.Right - X <= 3) {
            near = true;
            col = ACol >= FixedCols() ? ACol : -1;
        }
        if (near) {
            ed->mouse.dblClk = true;
            if (col >= 0) {
                bool allow = true;
                if (OnColumnSize)
                    OnColumnSize(this, col, allow);
                if (allow) {
                    AutoSizeCol(col, 0);
                    if (OnEndColumnSize)
                        OnEndColumnSize(this, col);
                }
            }
            TBaseGrid::DblClick();
            return;
        }
    }

    const int RC = RealColIndex(ACol);
    const TCellType type = GetCellType(RC, ARow);
    if (((type == TCellType::ctButton || type == TCellType::ctBitButton) &&
         CellButtonRect(ACol, ARow).Contains(X, Y)) ||
        (type == TCellType::ctExpand && ExpandButtonRect(RC, ARow).Contains(X, Y)))
        return;
    if (HasClickableGraphic(RC, ARow)) {
        TBaseGrid::DblClick();
        return;
    }

    TBaseGrid::DblClick();
    if (OnDblClickCell)
        OnDblClickCell(this, ARow, ACol);

    if (ma.EditOnDblClickOnly()) {
        const bool rse = ma.RangeSelectAndEdit();
        ma.SetRangeSelectAndEdit(true);
        const bool editable = IsEditable(ACol, ARow);
        ma.SetRangeSelectAndEdit(rse);
        if (editable) {
            SetOptions(Options() + TGridOption::goEditing);
            KeepOldCellValue(Col(), Row());
            ShowInplaceEdit();
        }
    } else if (ma.RangeSelectAndEdit() && IsEditable(ACol, ARow)) {
        SetOptions(Options() + TGridOption::goEditing);
        const TGridCoord b = BaseCell(ACol, ARow);
        const TRect br = CellRect(b.X, b.Y);
        MouseDownHook(TMouseButton::mbLeft, TShiftState{TShiftStateItem::ssLeft}, br.Left + 4,
                      br.Top + 4);
    }

    ed->forceSel = false;
    using E = TGridFixedCellEdit;
    if ((ARow < FixedRows() && ma.FixedRowsEdit() == E::fceDblClick) ||
        (ACol < FixedCols() && ma.FixedColsEdit() == E::fceDblClick))
        EditFixedCell(ACol, ARow);
}

// ---- right button -----------------------------------------------------------------------------

void TQrlStringGrid::rightPress(TShiftState Shift, int X, int Y)
{
    TMouseActions &ma = *d->mouseActions;
    MouseDownHook(TMouseButton::mbRight, Shift, X, Y);
    const TGridCoord cell = MouseCoord(X, Y);
    const int ACol = cell.X;
    const int ARow = cell.Y;
    const bool inside = ACol >= 0 && ARow >= 0;
    const bool fixed = inside && (ACol < FixedCols() || ARow < FixedRows() || IsFixed(ACol, ARow));
    if (ma.SelectOnRightClick() && inside && !fixed &&
        !(ma.DisjunctCellSelect() && GetSelectedCells(ACol, ARow))) {
        const TGridCoord b = BaseCell(ACol, ARow);
        if (!HasClickableGraphic(RealColIndex(b.X), b.Y)) {
            if (OnRightClickCell) {
                FocusCell(b.X, b.Y);
            } else {
                MouseDownHook(TMouseButton::mbLeft, TShiftState{TShiftStateItem::ssLeft}, X, Y);
                MouseUpHook(TMouseButton::mbLeft, TShiftState{}, X, Y);
            }
        }
        if (Selection().Contains(b.X, b.Y)) {
            bool ignored = true;
            if (OnSelectCell)
                OnSelectCell(this, b.X, b.Y, ignored);
        } else {
            const int leftCol = LeftCol();
            MoveColRow(b.X, b.Y, true, true);
            if (d->navigation->KeepHorizScroll())
                SetLeftCol(leftCol);
        }
        if (ma.DisjunctRowSelect() && ARow >= FixedRows()) {
            if (Shift.Contains(TShiftStateItem::ssCtrl) || ma.DisjunctRowSelectNoCtrl()) {
                SetRowSelect(ARow, !GetRowSelect(ARow));
            } else {
                const bool inFlagged = GetRowSelect(ARow) && RowSelectCount() > 1;
                const bool popup = contextMenuPolicy() == Qt::CustomContextMenu ||
                                   contextMenuPolicy() == Qt::ActionsContextMenu;
                if (!inFlagged || !popup) {
                    ClearRowSelect();
                    SetRowSelect(ARow, true);
                }
            }
        }
    }
    if (OnRightClickCell)
        OnRightClickCell(this, ARow, ACol);

    if (URLShow() && ed->mouse.urlEdit && inside && !fixed) {
        const TGridCoord b = BaseCell(ACol, ARow);
        if (IsURLText(GetCellEx(RealColIndex(b.X), b.Y))) {
            MoveColRow(b.X, b.Y, true, true);
            // The cell-selection hook may refuse the move.
            if (Col() == b.X && Row() == b.Y)
                ShowInplaceEdit();
        }
    }
}

// ---- where a click reaches later work -------------------------------------------------------

// The selection resizer copies and pastes through the clipboard exchange.
bool TQrlStringGrid::selectionResizerPress(int, int)
{
    return false;
}

// The fixed-cell edit and combo controls.
void TQrlStringGrid::showFixedCellEditor(int, int) {}

// The filter drop-down's glyph in a header cell.
bool TQrlStringGrid::hasFilterButton(int)
{
    return false;
}

bool TQrlStringGrid::filterDropDownRelease(int, int, int, int)
{
    return false;
}
