// The grid's keyboard front: the key-down message with its ordered checks around the
// framework's key processing, the framework's key-down hook, typed characters and resizing.
#include "grid/editing/QrlStringGrid_editing_p.h"
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"

#include "platform/os/Regional.h"

#include <QKeyEvent>

#include <algorithm>
#include <utility>

using plat::TGridCoord;
using plat::TGridOption;
using plat::TGridRect;
using plat::TShiftState;
using plat::TShiftStateItem;

namespace {

bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool isTabKey(int key)
{
    return key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

bool isVerticalKey(int key)
{
    return key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Up ||
           key == Qt::Key_Down;
}

// PgUp to Down.
bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

bool holdsControlTag(const QString &text)
{
    return text.toUpper().contains(QLatin1String("<CONTROL"));
}

QChar decimalSeparator()
{
    const QString sep = plat::CurrentRegionalSettings().decimal;
    return sep.isEmpty() ? QChar(u'.') : sep.at(0);
}

} // namespace

// The key handler's own steps. A nested class, so they reach the grid's state without the facade
// declaring each of them.
struct TQrlStringGrid::TKeysPart
{
    static void fireKeyDown(TQrlStringGrid &grid, int Key, TShiftState Shift);
    static bool homeEndKey(
        TQrlStringGrid &grid, int Key, TShiftState Shift, int LeftCol0, int Row0, bool KeepLeft);
    static void keyDownAfterFramework(TQrlStringGrid &grid);
    static void clickableGraphicKey(TQrlStringGrid &grid, int Key, int RC);
    static bool skipFixedCells(TQrlStringGrid &grid, int Key, TShiftState Shift);
    static void insertRowKey(TQrlStringGrid &grid);
    static bool deleteRowKey(TQrlStringGrid &grid);
    static void selectAllKey(TQrlStringGrid &grid);
    static bool clipboardKey(TQrlStringGrid &grid, int Key, TShiftState Shift);
    static void disjunctKey(TQrlStringGrid &grid, int Key, TShiftState Shift);
    static bool frameworkChar(TQrlStringGrid &grid, QKeyEvent *Message, QChar Ch);
};

// ---- message layer ----------------------------------------------------------------------------

bool TQrlStringGrid::HandleMessage(QEvent *e)
{
    const QEvent::Type t = e->type();
    if (t == QEvent::KeyPress)
        return KeyDownMessageHook(static_cast<QKeyEvent *>(e));
    if (t == plat::CharEventType())
        return CharMessageHook(static_cast<QKeyEvent *>(e));
    if (t == QEvent::Resize)
        return SizeMessageHook(e);
    return TBaseGrid::HandleMessage(e);
}

void TQrlStringGrid::TKeysPart::fireKeyDown(TQrlStringGrid &grid, int Key, TShiftState Shift)
{
    if (grid.OnKeyDown)
        grid.OnKeyDown(&grid, Key, Shift);
}

// ---- key-down message -------------------------------------------------------------------------

bool TQrlStringGrid::KeyDownMessageHook(QKeyEvent *Message)
{
    int key = Message->key();
    const TShiftState shift = plat::ShiftStateOf(Message->modifiers());
    const bool ctrl = shift.Contains(TShiftStateItem::ssCtrl);
    const bool shiftDown = shift.Contains(TShiftStateItem::ssShift);
    TNavigation &nav = *d->navigation;
    TMouseActions &ma = *d->mouseActions;
    const int fixedRows = TBaseGrid::FixedRows();
    const int fixedCols = TBaseGrid::FixedCols();

    const int L0 = LeftCol();
    ed->keys.moveSelection = Selection();
    ed->keys.keyDownSelection = ed->keys.moveSelection.Normalized();
    const int R0 = Row();
    const int RC = RealColIndex(Col());
    const bool rowSelect = Options().Contains(TGridOption::goRowSelect);
    const bool keepLeft =
        isVerticalKey(key) && rowSelect && L0 != fixedCols && nav.KeepHorizScroll();
    const bool enterOrF2 = isEnterKey(key) || key == Qt::Key_F2;

    // The vertical keys scroll without moving the current cell.
    if (nav.MoveScrollOnly() && (isVerticalKey(key) || key == Qt::Key_Home || key == Qt::Key_End)) {
        const int visible = VisibleRowCount();
        switch (key) {
        case Qt::Key_PageUp:
            SetTopRow(visible + fixedRows < TopRow() ? TopRow() - visible : fixedRows);
            break;
        case Qt::Key_PageDown:
            if (TopRow() + visible < RowCount())
                SetTopRow(TopRow() + visible);
            break;
        case Qt::Key_End:
            SetTopRow(RowCount() - visible);
            break;
        case Qt::Key_Home:
            SetTopRow(fixedRows);
            break;
        case Qt::Key_Up:
            if (TopRow() > fixedRows)
                SetTopRow(TopRow() - 1);
            break;
        case Qt::Key_Down:
            if (TopRow() + visible < RowCount())
                SetTopRow(TopRow() + 1);
            break;
        default:
            break;
        }
        return true;
    }

    // Enter and F2 may switch editing on where it is off.
    if (enterOrF2 && ma.EditOnDblClickOnly() && !Options().Contains(TGridOption::goEditing)) {
        const bool old = ma.RangeSelectAndEdit();
        ma.SetRangeSelectAndEdit(true);
        const bool editable = IsEditable(RC, Row());
        ma.SetRangeSelectAndEdit(old);
        if (editable)
            SetOptions(Options() + TGridOption::goEditing);
    }
    if (enterOrF2 && ma.RangeSelectAndEdit() && !Options().Contains(TGridOption::goEditing)) {
        if (!IsEditable(RC, Row())) {
            TKeysPart::fireKeyDown(*this, key, shift);
            return true;
        }
        SetOptions(Options() + TGridOption::goEditing);
        ShowInplaceEdit();
    }

    // A read-only cell opens nothing; form controls in a cell take their keys themselves.
    if (enterOrF2 && Options().Contains(TGridOption::goEditing) && !IsEditable(RC, Row())) {
        TKeysPart::fireKeyDown(*this, key, shift);
        return true;
    }
    if (enterOrF2 && holdsControlTag(GetCellEx(RC, Row())))
        return true;

    // Enter on a cell that cannot be edited (there is no key preview to hand it to).
    if (isEnterKey(key) && !IsEditable(RC, Row())) {
        TKeysPart::fireKeyDown(*this, key, shift);
        return true;
    }

    // Space and Enter operate check boxes, radio groups and buttons.
    if ((isEnterKey(key) || key == Qt::Key_Space) && HasClickableGraphic(RC, Row()))
        TKeysPart::clickableGraphicKey(*this, key, RC);

    // Home and End.
    if ((key == Qt::Key_Home || key == Qt::Key_End) &&
        TKeysPart::homeEndKey(*this, key, shift, L0, R0, keepLeft))
        return true;

    // Nodes expand and contract from a merged cell of their row.
    if ((key == Qt::Key_Right || key == Qt::Key_Left) && IsNode(Row()) &&
        IsMergedCell(Col(), Row())) {
        if (key == Qt::Key_Right)
            ExpandNode(RealRowIndex(Row()));
        else
            ContractNode(RealRowIndex(Row()));
    }

    // Sideways scrolling in row-select mode.
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && rowSelect && !IsNode(Row()) &&
        ColCount() > VisibleColCount()) {
        const bool scroll = nav.LeftRightRowSelect() ? ctrl : true;
        if (scroll) {
            if (key == Qt::Key_Left && LeftCol() > fixedCols)
                SetLeftCol(LeftCol() - 1);
            else if (key == Qt::Key_Right && LeftCol() + VisibleColCount() < ColCount())
                SetLeftCol(LeftCol() + 1);
        }
        if (!nav.LeftRightRowSelect()) {
            TKeysPart::fireKeyDown(*this, key, shift);
            return true;
        }
    }

    // The Tab walk.
    if (isTabKey(key) && Options().Contains(TGridOption::goTabs)) {
        TabToNextCell(shiftDown || key == Qt::Key_Backtab);
        const TGridRect now = Selection().Normalized();
        if (!(now == ed->keys.keyDownSelection)) {
            DoSelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
            ed->keys.moveSelection = Selection();
            ed->keys.keyDownSelection = now;
        }
        return true;
    }

    // The arrows step over fixed cells; the framework then does not move again.
    if (nav.SkipFixedCells() && TKeysPart::skipFixedCells(*this, key, shift))
        key = 0;

    // Down on the last data row appends a row.
    if (key == Qt::Key_Down && IsLastDataRow() && nav.AppendOnArrowDown())
        AppendRowOnArrowDown();

    // The selection rectangle is drawn around the cells.
    if (d->selectionRectangle && !(Selection() == ed->keys.moveSelection)) {
        InvalidateCellRange(Selection().Normalized());
        ed->keys.moveSelection = Selection();
    }

    // The framework's processing runs next, when the platform takes the message on; its
    // key-down hook then runs the steps after it.
    ed->keys.keyMessage = {true, key, shift, L0, keepLeft};
    if (keepLeft)
        BeginUpdate();
    if (key != 0)
        return false;
    ed->keys.keyMessage.pending = false;
    TKeysPart::keyDownAfterFramework(*this);
    return true;
}

void TQrlStringGrid::TKeysPart::keyDownAfterFramework(TQrlStringGrid &grid)
{
    const TStringGridEditingState::TKeys::TKeyMessage m = grid.ed->keys.keyMessage;
    const int key = m.key != 0 ? m.key : Qt::Key_unknown;
    const TShiftState shift = m.shift;
    const bool ctrl = shift.Contains(TShiftStateItem::ssCtrl);
    const bool shiftDown = shift.Contains(TShiftStateItem::ssShift);
    const bool alt = shift.Contains(TShiftStateItem::ssAlt);
    const TNavigation &nav = *grid.d->navigation;
    const bool rowSelect = grid.Options().Contains(TGridOption::goRowSelect);
    const bool enterOrF2 = isEnterKey(key) || key == Qt::Key_F2;
    // The left column comes back where it was.
    if (m.keepLeft) {
        grid.SetLeftCol(m.leftCol);
        grid.EndUpdate();
    }

    // Clipboard keys.
    if (nav.AllowClipboardShortCuts() && clipboardKey(grid, key, shift))
        return;

    // Insert puts a row in.
    if (key == Qt::Key_Insert && !ctrl && !shiftDown && !alt && nav.AllowInsertRow())
        insertRowKey(grid);
    // Ctrl+A selects every normal cell.
    else if (key == Qt::Key_A && ctrl &&
             (rowSelect || grid.Options().Contains(TGridOption::goRangeSelect))) {
        selectAllKey(grid);
        return;
    } else if (key == Qt::Key_Delete && !alt && nav.AllowDeleteRow()) {
        // The other keys.
        if (!deleteRowKey(grid))
            return;
    } else if (enterOrF2) {
        grid.KeepOldCellValue(grid.Col(), grid.Row());
        if (holdsControlTag(grid.GetCellEx(grid.RealCol(), grid.Row())))
            grid.FocusCellControl(grid.Col(), grid.Row(), QString());
    } else {
        disjunctKey(grid, key, shift);
    }

    // The selection changed by this key is reported once.
    const TGridRect now = grid.Selection().Normalized();
    if (!(now == grid.ed->keys.keyDownSelection)) {
        grid.DoSelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
        grid.ed->keys.moveSelection = grid.Selection();
        grid.ed->keys.keyDownSelection = now;
    }
}

void TQrlStringGrid::TKeysPart::clickableGraphicKey(TQrlStringGrid &grid, int Key, int RC)
{
    const int row = grid.Row();
    bool allowed = grid.Options().Contains(TGridOption::goEditing) ||
                   grid.d->mouseActions->RangeSelectAndEdit();
    grid.CanEditCell(RC, row, allowed);
    const TGridCoord b = grid.BaseCell(RC, row);
    const TCellGraphic *g = grid.GetCellGraphic(b.X, b.Y);
    const TCellType type = g ? g->CellType() : TCellType::ctNone;
    const bool space = Key == Qt::Key_Space;
    if (space && grid.HasCheckBox(RC, row) &&
        (allowed || grid.d->controlLook->CheckAlwaysActive())) {
        grid.DoToggleCheckBox(RC, row, true);
        if (grid.d->showModified->Enabled()) {
            grid.SetRowModified(row, true);
            grid.RepaintCell(0, row);
        }
        bool state = false;
        grid.GetCheckBoxState(RC, grid.RealRowIndex(row), state);
        // The keyboard reports the real column.
        grid.DoCheckBoxClick(RC, row, state);
    } else if (space && type == TCellType::ctRadio &&
               (allowed || grid.d->controlLook->RadioAlwaysActive())) {
        if (grid.AdvanceRadio(RC, row, true) && grid.OnRadioClick) {
            const TCellGraphic *now = grid.GetCellGraphic(b.X, b.Y);
            grid.OnRadioClick(&grid, RC, row, now ? now->CellIndex() : -1);
        }
    } else if (space && type == TCellType::ctRadioButton &&
               (allowed || grid.d->controlLook->RadioAlwaysActive())) {
        grid.DoSelectRadioButton(RC, row, false);
        if (grid.OnRadioButtonClick)
            grid.OnRadioButtonClick(&grid, RC, row);
    } else if ((type == TCellType::ctButton || type == TCellType::ctBitButton) && allowed) {
        grid.DoButtonClick(RC, row);
    }
    grid.RepaintCell(grid.Col(), row);
}

bool TQrlStringGrid::TKeysPart::homeEndKey(
    TQrlStringGrid &grid, int Key, TShiftState Shift, int LeftCol0, int Row0, bool KeepLeft)
{
    const bool ctrl = Shift.Contains(TShiftStateItem::ssCtrl);
    const bool shift = Shift.Contains(TShiftStateItem::ssShift);
    const bool home = Key == Qt::Key_Home;
    const THomeEndAction action = grid.d->navigation->HomeEndKey();
    const bool rowSelect = grid.Options().Contains(TGridOption::goRowSelect);
    const bool single = grid.d->fixedRowAlways && grid.RowCount() == 1;
    const int fixedRows = grid.TBaseGrid::FixedRows();
    const bool disjunctRows = grid.d->mouseActions->DisjunctRowSelect();

    auto disjunct = [&] {
        if (!shift) {
            if (disjunctRows) {
                grid.ClearRowSelect();
                grid.SelectionToRowSelect(false);
            }
            return;
        }
        grid.SetSelection(
            {0, std::min(Row0, grid.Row()), grid.ColCount() - 1, std::max(Row0, grid.Row())});
        if (disjunctRows)
            grid.SelectionToRowSelect(false);
    };
    // Home to the first tab-able column; a row without one keeps the column, which the grid
    // could not take as -1.
    auto firstTabCol = [&] {
        const int c = grid.FirstTabCol(grid.Row());
        if (c >= 0)
            grid.SetCol(c);
    };

    if (ctrl && !(home && action == THomeEndAction::heFirstLastColumn))
        return false;
    switch (action) {
    case THomeEndAction::heFirstLastCell:
        if (home) {
            grid.SetCol(grid.TBaseGrid::FixedCols());
            grid.SetRow(fixedRows);
        } else {
            grid.SetCol(grid.ColCount() - 1);
            grid.SetRow(grid.RowCount() - 1);
        }
        grid.MoveToBaseCell();
        break;
    case THomeEndAction::heFirstLastRow:
        if (single)
            return false;
        if (home) {
            grid.SetRow(fixedRows);
        } else {
            const bool footer = grid.d->floatingFooter->Visible();
            if (grid.d->fixedFooters > 0 && !footer)
                grid.SetTopRow(grid.RowCount() - grid.VisibleRowCount());
            grid.SetRow(footer && grid.RowCount() > 2 ? grid.RowCount() - 2
                                                      : grid.RowCount() - grid.d->fixedFooters - 1);
        }
        grid.MoveToBaseCell();
        disjunct();
        if (!home && grid.d->floatingFooter->Visible())
            grid.SetTopRow(grid.RowCount() - grid.VisibleRowCount());
        if (KeepLeft)
            grid.SetLeftCol(LeftCol0);
        break;
    case THomeEndAction::heFirstLastColumn:
        if (ctrl) {
            grid.SetRow(fixedRows);
            firstTabCol();
            grid.MoveToBaseCell();
            grid.SetLeftCol(grid.FirstNavigableCol());
            break;
        }
        if (rowSelect || single)
            return false;
        if (shift) {
            const int edge =
                home ? grid.TBaseGrid::FixedCols() : grid.ColCount() - grid.d->fixedRightCols - 1;
            grid.SetSelection(
                {std::min(grid.Col(), edge), grid.Row(), std::max(grid.Col(), edge), grid.Row()});
            grid.RepaintRow(grid.Row());
        } else if (home) {
            firstTabCol();
            grid.MoveToBaseCell();
            grid.SetLeftCol(grid.FirstNavigableCol());
        } else {
            grid.SetCol(grid.ColCount() - 1);
            grid.MoveToBaseCell();
            grid.SetLeftCol(grid.ColCount() - grid.VisibleColCount());
        }
        break;
    }
    fireKeyDown(grid, Key, Shift);
    return true;
}

bool TQrlStringGrid::TKeysPart::skipFixedCells(TQrlStringGrid &grid, int Key, TShiftState Shift)
{
    int key = Key;
    if (grid.layoutDirection() == Qt::RightToLeft) {
        if (key == Qt::Key_Left)
            key = Qt::Key_Right;
        else if (key == Qt::Key_Right)
            key = Qt::Key_Left;
    }
    const int fixedCols = grid.TBaseGrid::FixedCols();
    const int fixedRows = grid.TBaseGrid::FixedRows();
    const int c = grid.Col();
    const int r = grid.Row();
    switch (key) {
    case Qt::Key_Left: {
        if (!(c > fixedCols && grid.IsFixed(c - 1, r)))
            return false;
        int w = c - 1;
        while (w - 1 >= fixedCols && grid.IsFixed(w - 1, r))
            --w;
        --w;
        if (w >= fixedCols && !grid.IsFixed(w, r))
            grid.SetCol(w);
        break;
    }
    case Qt::Key_Right: {
        const int limit = grid.ColCount() - grid.d->fixedRightCols;
        // From the last column there is no cell to the right to ask about.
        if (!(c + 1 < limit && grid.IsFixed(c + 1, r)))
            return false;
        int w = c + 1;
        while (w + 1 < limit && grid.IsFixed(w + 1, r))
            ++w;
        if (w + 1 < limit)
            grid.SetCol(w + 1);
        break;
    }
    case Qt::Key_Up: {
        if (!(r > fixedRows && grid.IsFixed(c, r - 1)))
            return false;
        const bool rowSelect = grid.Options().Contains(TGridOption::goRowSelect);
        int w = r - 1;
        while (w - 1 >= fixedRows && grid.IsFixed(c, w - 1) && !rowSelect)
            --w;
        if (w - 1 >= fixedRows && (rowSelect || !grid.IsFixed(c, w - 1)))
            grid.SetRow(w - 1);
        break;
    }
    case Qt::Key_Down: {
        const int limit = grid.RowCount() - grid.d->fixedFooters;
        if (!(r < limit && r + 1 < grid.RowCount() && grid.IsFixed(c, r + 1)))
            return false;
        const bool rowSelect = grid.Options().Contains(TGridOption::goRowSelect);
        int w = r + 1;
        while (w + 1 < limit && grid.IsFixed(c, w + 1) && !rowSelect)
            ++w;
        if (w + 1 < limit && (rowSelect || !grid.IsFixed(c, w + 1)))
            grid.SetRow(w + 1);
        break;
    }
    default:
        return false;
    }
    fireKeyDown(grid, Key, Shift);
    return true;
}

bool TQrlStringGrid::TKeysPart::clipboardKey(TQrlStringGrid &grid, int Key, TShiftState Shift)
{
    const bool ctrl = Shift.Contains(TShiftStateItem::ssCtrl);
    const bool shift = Shift.Contains(TShiftStateItem::ssShift);
    bool allow = true;
    if ((ctrl && Key == Qt::Key_X) || (shift && Key == Qt::Key_Delete)) {
        if (grid.OnClipboardCut)
            grid.OnClipboardCut(&grid, allow);
        if (allow)
            grid.CutSelectionToClipboardKey();
        return true;
    }
    if ((ctrl && Key == Qt::Key_V) || (shift && Key == Qt::Key_Insert)) {
        if (grid.OnClipboardPaste)
            grid.OnClipboardPaste(&grid, allow);
        if (allow)
            grid.PasteSelectionFromClipboardKey();
        return true;
    }
    if (ctrl && (Key == Qt::Key_C || Key == Qt::Key_Insert)) {
        if (grid.OnClipboardCopy)
            grid.OnClipboardCopy(&grid, allow);
        if (allow)
            grid.CopySelectionToClipboardKey();
        return true;
    }
    return false;
}

void TQrlStringGrid::CutSelectionToClipboardKey() {}

void TQrlStringGrid::CopySelectionToClipboardKey() {}

void TQrlStringGrid::PasteSelectionFromClipboardKey() {}

void TQrlStringGrid::TKeysPart::insertRowKey(TQrlStringGrid &grid)
{
    bool canInsert = true;
    grid.DoCanInsertRow(grid.Row(), canInsert);
    if (!canInsert)
        return;
    // Rows are inserted by display row; the rows a filter hides keep their place behind it, so
    // the new row lands at the real position of the current one and the filter stays.
    int t = grid.Row();
    int at = grid.Row();
    if (grid.d->fixedRowAlways && grid.RowCount() == grid.TBaseGrid::FixedRows()) {
        t = 1;
    } else if (grid.d->navigation->InsertPosition() == TInsertPosition::pInsertAfter) {
        at = grid.Row() + 1;
        if (t + 1 < grid.RowCount())
            ++t;
    }
    grid.InsertRowHook(at);
    if (grid.OnAutoInsertRow)
        grid.OnAutoInsertRow(&grid, at);
    grid.ed->gridModified = true;
    if (t < grid.RowCount())
        grid.SetRow(t);
    grid.CalcFooter(-1);
}

bool TQrlStringGrid::TKeysPart::deleteRowKey(TQrlStringGrid &grid)
{
    if (grid.RowCount() - grid.TBaseGrid::FixedRows() - grid.d->fixedFooters <= 0)
        return true;
    const int r = grid.RealRowIndex(grid.Row());
    bool canDelete = true;
    if (grid.OnCanDeleteRow)
        grid.OnCanDeleteRow(&grid, r, canDelete);
    if (!canDelete)
        return false;
    grid.RemoveRowHook(grid.Row());
    if (grid.d->floatingFooter->Visible() && grid.Row() == grid.RowCount() - 1)
        grid.SetRow(grid.Row() - 1);
    grid.KeepOldCellValue(grid.Col(), grid.Row());
    grid.ed->gridModified = true;
    grid.CalcFooter(-1);
    return true;
}

void TQrlStringGrid::TKeysPart::selectAllKey(TQrlStringGrid &grid)
{
    const int lastCol = grid.ColCount() - grid.d->fixedRightCols - 1;
    const int lastRow = grid.RowCount() - grid.d->fixedFooters - 1;
    const TGridRect all{grid.FirstNavigableCol(), grid.TBaseGrid::FixedRows(), lastCol, lastRow};
    grid.SetSelection(all);
    if (grid.d->mouseActions->DisjunctRowSelect())
        for (int r = all.Top; r <= all.Bottom; ++r)
            grid.SetRowSelect(r, true);
    grid.TBaseGrid::FocusCell(lastCol, lastRow, false);
    const TRect cr = grid.CellRect(lastCol, lastRow);
    grid.MouseDownHook(plat::TMouseButton::mbLeft, TShiftState{}, cr.Left + 2, cr.Top + 2);
    grid.MouseUpHook(plat::TMouseButton::mbLeft, TShiftState{}, cr.Left + 2, cr.Top + 2);
    grid.TBaseGrid::FocusCell(lastCol, lastRow, false);
    grid.SetSelection(all);
}

void TQrlStringGrid::TKeysPart::disjunctKey(TQrlStringGrid &grid, int Key, TShiftState Shift)
{
    const TMouseActions &ma = *grid.d->mouseActions;
    const bool ctrl = Shift.Contains(TShiftStateItem::ssCtrl);
    const bool shift = Shift.Contains(TShiftStateItem::ssShift);
    const int dr = ma.DisjunctRowSelect() && ma.RowSelectPersistent()
                       ? grid.RealRowIndex(grid.Row())
                       : grid.Row();
    if (isNavigationKey(Key)) {
        if (ma.DisjunctRowSelect()) {
            if (!shift && !ctrl)
                grid.ClearRowSelect();
            else if (shift)
                grid.SelectionToRowSelect(true);
            else
                grid.SetRowSelect(dr, true);
        }
        if (ma.DisjunctColSelect()) {
            if (!shift && !ctrl)
                grid.ClearColSelect();
            else if (shift)
                grid.SelectionToColSelect(true);
            else
                grid.SetColSelect(grid.Col(), true);
        }
    } else if (Key == Qt::Key_Space) {
        if (ma.DisjunctRowSelect())
            grid.SetRowSelect(dr, !grid.GetRowSelect(dr));
        if (ma.DisjunctColSelect())
            grid.SetColSelect(grid.Col(), !grid.GetColSelect(grid.Col()));
    }
}

// ---- the framework's key-down hook ------------------------------------------------------------

void TQrlStringGrid::KeyDown(int &Key, TShiftState Shift)
{
    // Only the call from the key message's own processing goes on with its later steps.
    const bool fromMessage = std::exchange(ed->keys.keyMessage.pending, false);
    KeyDownHook(Key, Shift);
    if (fromMessage)
        TKeysPart::keyDownAfterFramework(*this);
}

void TQrlStringGrid::KeyDownHook(int &Key, TShiftState Shift)
{
    ed->keys.lastKeyCell = {Col(), Row()};
    const int r0 = Row();
    const int key = Key;
    TBaseGrid::KeyDown(Key, Shift);
    const TNavigation &nav = *d->navigation;
    const bool ctrl = Shift.Contains(TShiftStateItem::ssCtrl);
    const int fixedRows = TBaseGrid::FixedRows();
    const int fixedCols = TBaseGrid::FixedCols();

    // Ctrl+Up and Ctrl+Down move the selected rows.
    if (ctrl && nav.CursorMoveRows() && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        const TGridRect sel = Selection().Normalized();
        const int t = sel.Top;
        const int b = sel.Bottom;
        const int r = Row();
        if (key == Qt::Key_Down && b < RowCount() - 1) {
            if (t == b) {
                MoveRow(t, t + 1);
                SetRow(r + 1);
            } else {
                MoveRows(t, t + 1, b - t + 1);
                SetSelection({fixedCols, t + 1, ColCount() - 1, b + 1});
            }
        } else if (key == Qt::Key_Up && t > fixedRows) {
            if (t == b) {
                MoveRow(t, t - 1);
                SetRow(r - 1);
            } else {
                MoveRows(t, t - 1, b - t + 1);
                SetSelection({fixedCols, t - 1, ColCount() - 1, b - 1});
            }
        }
    }

    // The arrows wrap at the edges.
    const TCursorAdvance advance = nav.CursorAdvance();
    if (advance == TCursorAdvance::caSnake || advance == TCursorAdvance::caLoop) {
        const bool snake = advance == TCursorAdvance::caSnake;
        const TGridCoord last = ed->keys.lastKeyCell;
        if (key == Qt::Key_Left && last.X == fixedCols) {
            if (snake && Row() > fixedRows)
                SetRow(Row() - 1);
            SetCol(ColCount() - d->fixedRightCols - 1);
        } else if (key == Qt::Key_Up && last.Y == fixedRows) {
            if (snake && Col() > fixedCols)
                SetCol(Col() - 1);
            SetRow(RowCount() - d->fixedFooters - 1);
        } else if (key == Qt::Key_Right && last.X == ColCount() - 1) {
            if (snake && Row() < RowCount() - d->fixedFooters - 1)
                SetRow(Row() + 1);
            SetCol(fixedCols);
        } else if (key == Qt::Key_Down && last.Y == RowCount() - 1) {
            if (snake && Col() < ColCount() - d->fixedRightCols - 1)
                SetCol(Col() + 1);
            SetRow(fixedRows);
        }
    }

    // Up and Down step over disabled rows.
    if (d->rowMarks.usesEnabledRows() && nav.SkipDisabledRows() && Row() == r0) {
        if (key == Qt::Key_Up) {
            int r = r0 - 1;
            while (r >= fixedRows && !GetRowEnabled(r))
                --r;
            if (r >= fixedRows)
                SetRow(r);
        } else if (key == Qt::Key_Down) {
            int r = r0 + 1;
            while (r < RowCount() && !GetRowEnabled(r))
                ++r;
            if (r < RowCount())
                SetRow(r);
        }
    }

    TQrlStringGrid *other = d->syncGrid->Grid();
    if (other && other != this) {
        if (d->syncGrid->SelectionColumn() && Col() < other->ColCount())
            other->SetCol(Col());
        if (d->syncGrid->SelectionRow() && Row() < other->RowCount())
            other->SetRow(Row());
    }
}

// ---- characters -------------------------------------------------------------------------------

// False hands the message on to the framework's character processing; a changed character
// goes there at once, as a message of its own.
bool TQrlStringGrid::TKeysPart::frameworkChar(TQrlStringGrid &grid, QKeyEvent *Message, QChar Ch)
{
    if (!Message->text().isEmpty() && Message->text().at(0) == Ch)
        return false;
    QKeyEvent changed(Message->type(), Message->key(), Message->modifiers(), QString(Ch));
    grid.DefaultProcessing(&changed);
    return true;
}

bool TQrlStringGrid::CharMessageHook(QKeyEvent *Message)
{
    if (Message->text().isEmpty())
        return false;
    QChar ch = Message->text().at(0);
    const ushort code = ch.unicode();
    const bool ctrl = Message->modifiers() & Qt::ControlModifier;
    const int rc = RealCol();
    const int row = Row();

    if (holdsControlTag(GetCellEx(rc, row)))
        return true;
    if (d->mouseActions->EditOnDblClickOnly()) {
        bool can = true;
        CanEditCell(rc, row, can);
        if (can)
            SetOptions(Options() + TGridOption::goEditing);
    }
    if (d->navigation->AllowClipboardShortCuts() && ctrl && (code == 3 || code == 22 || code == 24))
        return true;

    const bool clickable = HasClickableGraphic(rc, row);
    if (d->mouseActions->RangeSelectAndEdit() && !clickable && IsEditable(rc, row) && code != 9 &&
        code != 27 && !ctrl) {
        if (OnKeyPress)
            OnKeyPress(this, ch);
        d->startEditChar = ch;
        SetOptions(Options() + TGridOption::goEditing);
        if (row < TopRow() || row >= TopRow() + VisibleRowCount() || Col() < LeftCol() ||
            Col() >= LeftCol() + VisibleColCount())
            ClampInView(Col(), row);
        const TRect cr = CellRect(Col(), row);
        MouseDownHook(plat::TMouseButton::mbLeft, TShiftState{}, cr.Left + 2, cr.Top + 2);
        return ch.isNull() ? true : TKeysPart::frameworkChar(*this, Message, ch);
    }

    if (ed->excelStyleDecimalSeparator && ch == u'.' && (Message->modifiers() & Qt::KeypadModifier))
        ch = decimalSeparator();
    if (code == 13 && clickable && d->navigation->AdvanceOnEnter())
        return TKeysPart::frameworkChar(*this, Message, ch);
    if (Options().Contains(TGridOption::goEditing) && (code == 8 || (code >= 32 && code <= 255))) {
        if (OnKeyPress)
            OnKeyPress(this, ch);
        // A check box or button takes no text: no start character is left for a later editor.
        d->startEditChar = clickable ? QChar() : ch;
        if (!clickable && !ch.isNull())
            ShowEditorChar(ch);
        return true;
    }
    return TKeysPart::frameworkChar(*this, Message, ch);
}

// ---- resizing ---------------------------------------------------------------------------------

bool TQrlStringGrid::SizeMessageHook(QEvent *Message)
{
    if (d->columnSize && d->columnSize->Stretch() &&
        (d->scrollBarAlways == TScrollBarAlways::saNone ||
         d->scrollBarAlways == TScrollBarAlways::saVert) &&
        ColCount() > 0) {
        const int s =
            d->columnSize->StretchColumn() < 0 || d->columnSize->StretchColumn() >= ColCount()
                ? ColCount() - 1
                : d->columnSize->StretchColumn();
        long long sum = 0;
        for (int c = 0; c < ColCount(); ++c)
            if (c != s)
                sum += ColWidths(c);
        if (sum < viewport()->width())
            DoStretchColumn(d->columnSize->StretchColumn());
    }
    (void)Message;
    return false;
}
