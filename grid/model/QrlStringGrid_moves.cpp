// Moving rows and columns, the hidden selection, the current and top row, the used cells and
// the save ranges of the file writers.
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"

#include <algorithm>
#include <vector>

using plat::TGridCoord;
using plat::TGridRect;

namespace {

[[noreturn]] void outOfRange()
{
    throw EQrlGridError(QString::fromLatin1(plat::SGridIndexOutOfRange));
}

} // namespace

// ---- moving lines ---------------------------------------------------------------------------

void TQrlStringGrid::MoveColumn(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= ColCount() || ToIndex >= ColCount())
        outOfRange();
    if (d->columnOrder.Count() == 0)
        for (int c = 0; c < ColCount(); ++c)
            d->columnOrder.Add(c);
    moveLines(TGridAxis::Cols, FromIndex, ToIndex, 1);
}

void TQrlStringGrid::MoveRow(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= RowCount() || ToIndex >= RowCount())
        outOfRange();
    moveLines(TGridAxis::Rows, FromIndex, ToIndex, 1);
}

void TQrlStringGrid::MoveRows(int FromIndex, int ToIndex, int Count)
{
    if (FromIndex == ToIndex || Count == 0)
        return;
    if (Count < 0 || FromIndex < 0 || (long long)FromIndex + Count > RowCount())
        outOfRange();
    // ToIndex names a row before the removal of the block when the block lies before it.
    const int to = (long long)FromIndex + Count < ToIndex ? ToIndex - Count : ToIndex;
    if (to < 0 || (long long)to + Count > RowCount())
        outOfRange();
    moveLines(TGridAxis::Rows, FromIndex, to, Count);
}

// The one path of every move: the count lines from `from` on end up at `to` with everything
// kept by line.
void TQrlStringGrid::moveLines(TGridAxis Axis, int From, int To, int Count)
{
    if (From == To || Count <= 0)
        return;
    const bool rows = Axis == TGridAxis::Rows;
    const int lo = std::min(From, To);
    const int hi = std::max(From, To) + Count - 1;
    auto moved = [=](int x) { return movedLine(x, From, To, Count); };

    // Merged areas the move reaches are split first; those whose lines stay together are
    // merged again at their new place, the others (torn apart by the move) stay split. An area
    // holding the whole moved range keeps its place, but its cells' properties trade places,
    // so it is merged again too.
    std::vector<TMergedArea> split, remerge;
    for (const TMergedArea &a : MergedSpans().areasOnLines(Axis, lo, hi)) {
        const int first = rows ? a.row : a.col;
        const int last = rows ? a.lastRow() : a.lastCol();
        split.push_back(a);
        if (first <= lo && last >= hi) {
            remerge.push_back(a);
            continue;
        }
        bool together = true;
        for (int x = first + 1; x <= last && together; ++x)
            together = moved(x) == moved(first) + (x - first);
        if (together) {
            TMergedArea b = a;
            (rows ? b.row : b.col) = moved(first);
            remerge.push_back(b);
        }
    }
    for (const TMergedArea &a : split)
        SplitCells(a.col, a.row);

    // Texts, cell properties, sizes and the cell cursor, one line at a time: either the block
    // moves line by line, or the lines it passes move the other way, whichever are fewer.
    const TLineMove move{Axis, From, To, Count};
    forEachMoveStep(move, [&](int f, int t) {
        if (rows)
            TBaseGrid::MoveRow(f, t);
        else
            TBaseGrid::MoveColumn(f, t);
    });
    // The properties of the moved cells learn their new place (they repaint through it).
    cellLinesMoved(Axis, From, To, Count);
    for (const TMergedArea &a : remerge)
        MergeCells(a.col, a.row, a.width, a.height);

    // Hidden lines, marks, the sort cross-reference and cell controls follow.
    d->lineCompanions.linesMoved(move);
}

// ---- hidden selection -----------------------------------------------------------------------

void TQrlStringGrid::HideSelection()
{
    const TGridRect outside{ColCount(), RowCount(), ColCount(), RowCount()};
    // Hiding twice keeps the selection saved the first time.
    if (!(d->selHidden && Selection() == outside))
        d->oldSelection = Selection();
    SetSelection(outside);
    d->selHidden = true;
}

void TQrlStringGrid::UnHideSelection()
{
    d->selHidden = false;
    TGridRect s = d->oldSelection;
    if (s.Top < RowCount() && s.Left < ColCount()) {
        // A grid that shrank keeps the cursor inside.
        s.Right = std::min(s.Right, ColCount() - 1);
        s.Bottom = std::min(s.Bottom, RowCount() - 1);
        SetSelection(s);
        return;
    }
    const int row = d->fixedRowAlways && RowCount() <= d->fixedRowsMin ? 0 : TBaseGrid::FixedRows();
    const int col = d->fixedColAlways && ColCount() <= d->fixedColsMin ? 0 : TBaseGrid::FixedCols();
    SetSelection({col, row, col, row});
}

bool TQrlStringGrid::SelHidden() const
{
    return d->selHidden;
}

void TQrlStringGrid::UpdateEditMode()
{
    if (Col() >= 0 && Row() >= 0 && Col() < ColCount() && Row() < RowCount())
        SelectCell(Col(), Row());
}

// ---- current and top row --------------------------------------------------------------------

int TQrlStringGrid::GetTopRowEx() const
{
    return TopRow();
}

void TQrlStringGrid::SetTopRowEx(int Value)
{
    if (Value >= TBaseGrid::FixedRows() && Value < RowCount())
        SetTopRow(Value);
}

int TQrlStringGrid::GetRowEx() const
{
    return Row();
}

void TQrlStringGrid::SetRow(int Value)
{
    SetRowEx(Value);
}

void TQrlStringGrid::SetRowEx(int Value)
{
    if (Col() < 0 || Col() >= ColCount())
        MoveColRow(TBaseGrid::FixedCols(), Value, true, true);
    TBaseGrid::SetRow(Value);
    if (Row() != d->oldSelectedRow && OnRowUpdate) {
        const int old = d->oldSelectedRow;
        d->oldSelectedRow = Row();
        OnRowUpdate(this, old, Row());
    }
    if (d->mouseActions->DisjunctRowSelect())
        SelectionToRowSelect(false);
    TQrlStringGrid *other = d->syncGrid->Grid();
    if (other && other != this && d->syncGrid->SelectionRow() && other->Row() != Row() &&
        Row() < other->RowCount())
        other->SetRow(Row());
    if (Value == RowCount() - 1 && d->searchFooter->Visible())
        ScrollLastRowAboveSearchFooter();
}

// ---- used cells, save ranges ----------------------------------------------------------------

TGridRect TQrlStringGrid::UsedCells() const
{
    int left = ColCount(), top = RowCount(), right = -1, bottom = -1;
    for (int r = 0; r < RowCount(); ++r) {
        for (int c = 0; c < ColCount(); ++c) {
            if (GetCellEx(c, r).isEmpty())
                continue;
            left = std::min(left, c);
            right = std::max(right, c);
            top = std::min(top, r);
            bottom = r;
        }
    }
    if (right < 0)
        return {0, 0, 0, 0};
    return {left, top, right, bottom};
}

int TQrlStringGrid::SaveStartCol() const
{
    return d->saveFixedCells || d->saveFixedCols ? 0 : TBaseGrid::FixedCols();
}

int TQrlStringGrid::SaveEndCol() const
{
    return d->saveFixedCells || d->saveFixedCols ? ColCount() - 1
                                                 : ColCount() - d->fixedRightCols - 1;
}

int TQrlStringGrid::SaveColCount() const
{
    return d->saveFixedCells || d->saveFixedCols
               ? ColCount()
               : ColCount() - TBaseGrid::FixedCols() - d->fixedRightCols;
}

int TQrlStringGrid::SaveStartRow() const
{
    return d->saveFixedCells || d->saveFixedRows ? 0 : FixedRows();
}

int TQrlStringGrid::SaveEndRow() const
{
    return d->saveFixedCells || d->saveFixedRows ? RowCount() - 1
                                                 : RowCount() - d->fixedFooters - 1;
}

int TQrlStringGrid::SaveRowCount() const
{
    return d->saveFixedCells || d->saveFixedRows ? RowCount()
                                                 : RowCount() - FixedRows() - d->fixedFooters;
}

void TQrlStringGrid::ScreenToCell(const TPoint &pt, int &ACol, int &ARow) const
{
    const QPoint p = viewport()->mapFromGlobal(pt.toQPoint());
    MouseToCell(p.x(), p.y(), ACol, ARow);
}
