// The Tab walk between cells, shared by the grid's key handler and the Tab key of every inplace
// editor, its column and row helpers, and the row append on arrow down.
#include "grid/editing/QrlStringGrid_editing_p.h"
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"

#include <QCoreApplication>
#include <QKeyEvent>

using plat::TGridCoord;
using plat::TGridOption;
using plat::TShiftState;
using plat::TShiftStateItem;

namespace {

// Raises a flag for a scope.
class TRaisedFlag
{
public:
    explicit TRaisedFlag(bool &flag) : m_flag(flag) { m_flag = true; }
    ~TRaisedFlag() { m_flag = false; }
    TRaisedFlag(const TRaisedFlag &) = delete;
    TRaisedFlag &operator=(const TRaisedFlag &) = delete;

private:
    bool &m_flag;
};

// Nested steps skip cells that cannot be edited; in a grid without any editable cell they
// would go round for ever. One lap over every cell is enough to find one.
thread_local int tabDepth = 0;

} // namespace

// ---- column and row helpers ---------------------------------------------------------------------

bool TQrlStringGrid::CanTabToCell(int ACol, int ARow)
{
    bool can = Options().Contains(TGridOption::goEditing) ? IsEditable(RealColIndex(ACol), ARow)
                                                          : !IsFixed(ACol, ARow);
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, can);
    return can;
}

int TQrlStringGrid::FirstTabCol(int ARow)
{
    for (int c = 0; c < ColCount(); ++c)
        if (CanTabToCell(c, ARow))
            return c;
    return -1;
}

int TQrlStringGrid::LastTabCol(int ARow)
{
    for (int c = ColCount() - 1; c >= 0; --c)
        if (CanTabToCell(c, ARow))
            return c;
    return -1;
}

void TQrlStringGrid::GotoFirstRow()
{
    SetRow(TBaseGrid::FixedRows());
}

bool TQrlStringGrid::IsLastDataRow() const
{
    if (d->floatingFooter->Visible())
        return Row() == RowCount() - 2;
    return Row() == RowCount() - d->fixedFooters - 1;
}

void TQrlStringGrid::EditorKeyDownHook(int &, TShiftState) {}

void TQrlStringGrid::EditorKeyMessageHook(QEvent *) {}

// ---- the Tab walk
// ---------------------------------------------------------------------------------

bool TQrlStringGrid::TabToNextCell(bool Backward)
{
    if (OnKeyDown) {
        int key = Qt::Key_Tab;
        OnKeyDown(this, key, Backward ? TShiftState{TShiftStateItem::ssShift} : TShiftState{});
        if (key != Qt::Key_Tab)
            return true;
    }
    return tabStep(Backward);
}

bool TQrlStringGrid::tabStep(bool Backward)
{
    if (Col() == ed->keys.lastTabCol && Row() == ed->keys.lastTabRow)
        return true;
    ed->keys.lastTabCol = Col();
    ed->keys.lastTabRow = Row();
    bool result = true;
    const TNavigation &nav = *d->navigation;
    const int limit = ColCount() - VisibleFixedRightCols();
    const int fnc = FirstNavigableCol();
    const int fixedRows = TBaseGrid::FixedRows();
    const int lastData = RowCount() - d->fixedFooters - 1;
    const bool leftRight = nav.TabAdvanceDirection() == TAdvanceDirection::adLeftRight;
    const TGridCoord start{Col(), Row()};
    bool again = false;

    if (Backward && !leftRight) {
        if (Row() > fixedRows) {
            SetRow(Row() - 1);
        } else {
            SetRow(lastData);
            SetCol(Col() > fnc ? Col() - 1 : limit - 1);
        }
    } else if (Backward) {
        tabBackwardInRow(fnc, limit);
    } else if (!leftRight) {
        const int s = CellSpan(Col(), Row()).Y;
        if (Row() + s + 1 < RowCount() - d->fixedFooters) {
            SetRow(Row() + s + 1);
        } else {
            GotoFirstRow();
            if (Col() < limit - 1) {
                SetCol(Col() + 1);
            } else {
                SetCol(fnc);
                tabEndOfGrid(result);
            }
        }
    } else {
        const int sx = CellSpan(Col(), Row()).X;
        if (Col() + sx + 1 < limit) {
            tabForwardInRow(result, limit);
            again = IsMergedNonBaseCell(Col(), Row());
        } else if (Row() < lastData) {
            int e = fnc;
            while (e < limit && !(IsBaseCell(e, Row() + 1) && CanTabToCell(e, Row() + 1)))
                ++e;
            if (e < limit) {
                {
                    TRaisedFlag force(ed->forceSel);
                    SetCol(e);
                }
                SetRow(Row() + 1);
            } else {
                int g = Row() + 2;
                while (g <= lastData && FirstTabCol(g) < 0)
                    ++g;
                if (g <= lastData) {
                    SetRow(g);
                    SetCol(FirstTabCol(g));
                } else {
                    SetRow(RowCount() - 1);
                    SetCol(ColCount() - 1);
                    again = true;
                }
            }
        } else {
            // The step starts in the last column of the last data row.
            if (nav.TabToNextAtEnd() || !nav.AdvanceInsert()) {
                GotoFirstRow();
            } else {
                bool canAdd = true;
                DoCanAddRow(canAdd);
                if (canAdd) {
                    if (d->floatingFooter->Visible()) {
                        InsertRows(RowCount() - 1, 1);
                        SetRow(RowCount() - 2);
                    } else {
                        SetRowCount(RowCount() + 1);
                        SetRow(RowCount() - 1);
                    }
                    if (OnAutoAddRow)
                        OnAutoAddRow(this, RowCount() - d->fixedFooters - 1);
                } else {
                    GotoFirstRow();
                }
            }
            // A row without a tab-able column keeps the column.
            const int first = FirstTabCol(Row());
            if (first >= 0)
                SetCol(first);
            tabEndOfGrid(result);
        }
    }

    const bool moved = Col() != start.X || Row() != start.Y;
    if (moved && !again && Options().Contains(TGridOption::goEditing) &&
        !IsEditable(RealCol(), Row()))
        again = true;
    if (again && tabDepth <= ColCount() * RowCount()) {
        ++tabDepth;
        result = tabStep(Backward);
        --tabDepth;
    } else if (nav.AdvanceAutoEdit() && !HasClickableGraphic(RealCol(), Row())) {
        SimulateCellClick(Col(), Row());
    }
    ed->keys.lastTabCol = -1;
    ed->keys.lastTabRow = -1;
    if (nav.AlwaysEdit())
        setFocus();
    return result;
}

void TQrlStringGrid::tabBackwardInRow(int FNC, int Limit)
{
    const int fixedRows = TBaseGrid::FixedRows();
    const int lastData = RowCount() - d->fixedFooters - 1;
    if (Col() > FNC) {
        int c = Col() - 1;
        while (c >= FNC && !(CanTabToCell(c, Row()) && IsBaseCell(c, Row())))
            --c;
        if (c >= FNC) {
            SetCol(c);
        } else if (Row() > fixedRows) {
            const int last = LastTabCol(Row() - 1);
            if (last >= 0)
                FocusCell(last, Row() - 1);
        } else {
            const int last = LastTabCol(lastData);
            if (last >= 0) {
                FocusCell(last, lastData);
                ClampInView(last, lastData);
            }
        }
        MoveToBaseCell();
        return;
    }
    int b = 1;
    while (Limit - b >= TBaseGrid::FixedCols() && !CanTabToCell(Limit - b, Row()))
        ++b;
    // A row without a tab-able column keeps the column rather than entering the fixed ones.
    if (Limit - b >= TBaseGrid::FixedCols())
        SetCol(Limit - b);
    SetRow(Row() > fixedRows ? Row() - 1 : lastData);
}

void TQrlStringGrid::tabForwardInRow(bool &Result, int Limit)
{
    const int sx = CellSpan(Col(), Row()).X;
    int c = 1;
    while (Col() + sx + c < Limit && !CanTabToCell(Col() + sx + c, Row()))
        ++c;
    if (Col() + sx + c < Limit) {
        SetCol(Col() + sx + c);
        return;
    }
    // Nothing further in this row: on to the next row, or round to the first.
    TRaisedFlag force(ed->forceSel);
    const int fixedRows = TBaseGrid::FixedRows();
    if (Row() < RowCount() - d->fixedFooters - 1) {
        const int n = FirstTabCol(Row() + 1);
        bool allow = true;
        if (OnRowChanging)
            OnRowChanging(this, Row(), Row() + 1, allow);
        if (OnCellChanging)
            OnCellChanging(this, Row(), Col(), Row() + 1, n, allow);
        if (OnColChanging)
            OnColChanging(this, Col(), n, allow);
        if (allow) {
            SetCol(n < 0 ? TBaseGrid::FixedCols() : n);
            SetRow(Row() + 1);
        }
    } else {
        const int n = FirstTabCol(fixedRows);
        if (n >= 0)
            FocusCell(n, fixedRows);
        tabEndOfGrid(Result);
    }
}

void TQrlStringGrid::tabEndOfGrid(bool &Result)
{
    QWidget *parent = parentWidget();
    if (!parent || !d->navigation->TabToNextAtEnd())
        return;
    // Posted, so the parent moves the focus on after this key is done.
    QCoreApplication::postEvent(parent,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
    Result = false;
}

// ---- row append on arrow down -----------------------------------------------------------------

void TQrlStringGrid::AppendRowOnArrowDown()
{
    bool canAdd = true;
    DoCanAddRow(canAdd);
    if (!canAdd)
        return;
    const bool footer = d->floatingFooter->Visible();
    if (footer) {
        // The footer row stays last, with its texts and cell properties.
        InsertRows(RowCount() - 1, 1);
    } else {
        AddRow();
        const int last = RowCount() - 1;
        for (int c = 0; c < TotalColCount(); ++c)
            SetCellsEx(c, last, QString());
    }
    if (footer || d->fixedFooters > 0)
        SetRow(Row() + 1);
    if (footer)
        CalcFooter(-1);
    if (OnAutoAddRow)
        OnAutoAddRow(this, RowCount() - d->fixedFooters - 1);
}
