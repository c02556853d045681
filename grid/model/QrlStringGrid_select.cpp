// Selection (the selection rectangle and the disjunct row, column and cell selections), the
// modified and disabled row marks, and the repaints of cell ranges.
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"

#include <algorithm>

using plat::TGridCoord;
using plat::TGridRect;

namespace {

TGridRect normalised(const TGridRect &r)
{
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

// Cuts the lines first .. first + count - 1 to 0 .. lines - 1; false when none is left.
bool clampLines(int &first, int &count, int lines)
{
    long long lo = first, hi = (long long)first + count; // exclusive
    lo = std::max(lo, 0LL);
    hi = std::min(hi, (long long)lines);
    if (hi <= lo)
        return false;
    first = static_cast<int>(lo);
    count = static_cast<int>(hi - lo);
    return true;
}

TRect unite(const TRect &a, const TRect &b)
{
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

// No search panel is shown yet, so it takes no room at the bottom.
int searchPanelHeight()
{
    return 0;
}

} // namespace

// ---- rows -----------------------------------------------------------------------------------

bool TQrlStringGrid::GetRowSelect(int ARow) const
{
    if (!d->mouseActions->RowSelectPersistent() &&
        (ARow < 0 || ARow >= RowCount() + NumHiddenRows()))
        throw EQrlGridError(QStringLiteral("Invalid row %1 accessed").arg(ARow));
    if (d->mouseActions->DisjunctRowSelect()) {
        if (ARow < 0)
            return false;
        d->rowMarks.extendRowList(ARow);
        return d->rowMarks.rowSelected(ARow);
    }
    const TGridRect s = normalised(Selection());
    return ARow >= s.Top && ARow <= s.Bottom;
}

void TQrlStringGrid::SetRowSelect(int ARow, bool Value)
{
    // A grid of fixed rows only takes any row: its flags then belong to no shown row.
    if ((ARow >= RowCount() + NumHiddenRows() && RowCount() > FixedRows()) || ARow < 0)
        throw EQrlGridError(QStringLiteral("Invalid row accessed"));
    TRowMarks &marks = d->rowMarks;
    bool allow = true;
    if (OnRowDisjunctSelect && (ARow >= marks.rowListLength() || marks.rowSelected(ARow) != Value))
        OnRowDisjunctSelect(this, ARow, Value, allow);
    if (!allow)
        return;
    marks.extendRowList(ARow);
    if (Value) {
        if (marks.selectRow(ARow, ARow >= FixedRows()))
            RepaintRow(ARow);
    } else if (marks.unselectRow(ARow)) {
        RepaintRow(ARow);
    }
    if (OnRowDisjunctSelected)
        OnRowDisjunctSelected(this, ARow);
}

void TQrlStringGrid::SelectRows(int RowIndex, int RCount)
{
    // Rows outside the grid are left out, also before the first one: a rectangle reaching out
    // of the grid would put the cell cursor there.
    if (clampLines(RowIndex, RCount, RowCount())) {
        if (!d->mouseActions->DisjunctRowSelect()) {
            SetSelection({TBaseGrid::FixedCols(), RowIndex, ColCount() - 1, RowIndex + RCount - 1});
        } else {
            const bool persistent = d->mouseActions->RowSelectPersistent();
            for (int r = RowIndex; r < RowIndex + RCount; ++r)
                SetRowSelect(persistent ? RealRowIndex(r) : r, true);
        }
    }
    d->selChange = false;
}

void TQrlStringGrid::UnSelectRows(int RowIndex, int RCount)
{
    if (d->mouseActions->DisjunctRowSelect() && clampLines(RowIndex, RCount, RowCount())) {
        const bool persistent = d->mouseActions->RowSelectPersistent();
        for (int r = RowIndex; r < RowIndex + RCount; ++r)
            SetRowSelect(persistent ? RealRowIndex(r) : r, false);
    }
    d->selChange = false;
}

void TQrlStringGrid::ClearRowSelect()
{
    for (int r : d->rowMarks.flaggedRows())
        RepaintRow(r);
    d->rowMarks.clearRowSelect();
}

int TQrlStringGrid::RowSelectCount() const
{
    if (d->mouseActions->DisjunctRowSelect())
        return d->rowMarks.rowSelectCount(RowCount() + NumHiddenRows());
    const TGridRect s = Selection();
    return std::abs(s.Bottom - s.Top) + 1;
}

int TQrlStringGrid::SelectedRowCount() const
{
    if (d->mouseActions->DisjunctRowSelect())
        return d->rowMarks.selectedRowCount();
    const TGridRect s = normalised(Selection());
    const int bottom = std::min(s.Bottom, RowCount() - FixedFooters() - 1);
    int n = bottom - s.Top + 1;
    // A merged cell in the left column counts with all its rows.
    if (IsMergedCell(s.Left, s.Top) && FullCell(s.Left, s.Top).Bottom > bottom)
        n = CellSpan(s.Left, s.Top).Y + 1;
    else if (IsMergedCell(s.Left, bottom))
        n += CellExt(s.Left, bottom).Y;
    return std::max(n, 0);
}

int TQrlStringGrid::GetSelectedRow(int i) const
{
    if (d->mouseActions->DisjunctRowSelect())
        return d->rowMarks.selectedRow(i);
    const TGridRect s = normalised(Selection());
    if (i < 0 || (long long)s.Top + i > s.Bottom)
        return -1;
    return s.Top + i;
}

void TQrlStringGrid::SelectionToRowSelect(bool All)
{
    const TGridRect s = normalised(Selection());
    const int bottom = std::min(s.Bottom, RowCount() - FixedFooters() - 1);
    const bool persistent = d->mouseActions->RowSelectPersistent();
    auto index = [&](int r) { return persistent ? RealRowIndex(r) : r; };
    if (All) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            SetRowSelect(index(r), r >= s.Top && r <= bottom);
    } else {
        const int last = std::min(bottom, RowCount() - 1);
        for (int r = std::max(FixedRows(), s.Top); r <= last; ++r)
            SetRowSelect(index(r), true);
    }
    if (NumHiddenRows() > 0)
        Invalidate();
}

// ---- columns --------------------------------------------------------------------------------

namespace {
void checkColumn(int ACol, int colCount)
{
    if (ACol < 0 || ACol >= colCount)
        throw EQrlGridError(QStringLiteral("Invalid column accessed"));
}
} // namespace

bool TQrlStringGrid::GetColSelect(int ACol) const
{
    checkColumn(ACol, ColCount());
    d->rowMarks.extendColList(ACol);
    return d->rowMarks.colSelected(ACol);
}

void TQrlStringGrid::SetColSelect(int ACol, bool Value)
{
    checkColumn(ACol, ColCount());
    if (d->rowMarks.setColSelected(ACol, Value))
        RepaintCol(ACol);
}

void TQrlStringGrid::SelectCols(int ColIndex, int CCount)
{
    // Columns outside the grid are left out, so the cell cursor stays inside.
    if (!clampLines(ColIndex, CCount, ColCount()))
        return;
    if (!d->mouseActions->DisjunctColSelect()) {
        SetSelection({ColIndex, TBaseGrid::FixedRows(), ColIndex + CCount - 1, RowCount() - 1});
        return;
    }
    for (int c = ColIndex; c < ColIndex + CCount; ++c)
        SetColSelect(c, true);
}

void TQrlStringGrid::UnSelectCols(int ColIndex, int CCount)
{
    if (!d->mouseActions->DisjunctColSelect() || !clampLines(ColIndex, CCount, ColCount()))
        return;
    for (int c = ColIndex; c < ColIndex + CCount; ++c)
        SetColSelect(c, false);
}

void TQrlStringGrid::ClearColSelect()
{
    for (int c : d->rowMarks.flaggedCols())
        RepaintCol(c);
    d->rowMarks.clearColSelect();
}

int TQrlStringGrid::ColSelectCount() const
{
    if (d->mouseActions->DisjunctColSelect())
        return d->rowMarks.colSelectCount();
    const TGridRect s = Selection();
    return s.Right - s.Left + 1;
}

int TQrlStringGrid::SelectedColCount() const
{
    if (d->mouseActions->DisjunctColSelect())
        return d->rowMarks.colSelectCount();
    const TGridRect s = normalised(Selection());
    int n = s.Right - s.Left + 1;
    if (IsMergedCell(s.Left, s.Top) && FullCell(s.Left, s.Top).Right > s.Right)
        n = CellSpan(s.Left, s.Top).X + 1;
    else if (IsMergedCell(s.Right, s.Top))
        n += CellExt(s.Right, s.Top).X;
    return n;
}

void TQrlStringGrid::SelectionToColSelect(bool All)
{
    const TGridRect s = normalised(Selection());
    for (int c = TBaseGrid::FixedCols(); c < ColCount(); ++c) {
        const bool inside = c >= s.Left && c <= s.Right;
        if (inside || All)
            SetColSelect(c, inside);
    }
}

// ---- ranges and cells -----------------------------------------------------------------------

void TQrlStringGrid::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow)
{
    auto inGrid = [this](int c, int r) {
        return c >= 0 && r >= 0 && c < ColCount() && r < RowCount();
    };
    if (!inGrid(FromCol, FromRow) || !inGrid(ToCol, ToRow))
        throw EQrlGridError(QString::fromLatin1(plat::SGridIndexOutOfRange));
    SetRow(ToRow);
    SetCol(ToCol);
    SetSelection({FromCol, FromRow, ToCol, ToRow});
}

int TQrlStringGrid::SelectedCellsCount() const
{
    if (!d->mouseActions->DisjunctCellSelect()) {
        const TGridRect s = Selection();
        if (s.Left == s.Right && s.Top == s.Bottom)
            d->rowMarks.setCellsFromRect({Col(), Row(), Col(), Row()});
        else
            d->rowMarks.setCellsFromRect(s);
    }
    return d->rowMarks.cellCount();
}

TGridCoord TQrlStringGrid::GetSelectedCell(int i) const
{
    return d->rowMarks.cellAt(i);
}

bool TQrlStringGrid::GetSelectedCells(int i, int j) const
{
    if (d->mouseActions->DisjunctCellSelect())
        return d->rowMarks.cellSelected(i, j);
    return normalised(Selection()).Contains(i, j);
}

void TQrlStringGrid::SetSelectedCells(int i, int j, bool Value)
{
    if (d->rowMarks.setCellSelected(i, j, Value))
        RepaintCell(i, j);
}

void TQrlStringGrid::ClearSelectedCells()
{
    const int c = TBaseGrid::FixedCols(), r = TBaseGrid::FixedRows();
    SetSelection({c, r, c, r});
    d->rowMarks.clearCells();
    Invalidate();
}

// ---- modified and disabled rows -------------------------------------------------------------

bool TQrlStringGrid::GetRowModified(int ARow) const
{
    return d->rowMarks.rowModified(ARow);
}

void TQrlStringGrid::SetRowModified(int ARow, bool Value)
{
    if (ARow < 0)
        throw EQrlGridError(QStringLiteral("Invalid row accessed"));
    d->rowMarks.setRowModified(ARow, Value);
    RepaintCell(0, ARow);
}

int TQrlStringGrid::ModifiedRowCount() const
{
    return d->rowMarks.modifiedRowCount();
}

void TQrlStringGrid::ClearModifiedRows()
{
    d->rowMarks.clearModifiedRows();
    Invalidate();
}

bool TQrlStringGrid::GetRowEnabled(int ARow) const
{
    return d->rowMarks.rowEnabled(ARow);
}

void TQrlStringGrid::SetRowEnabled(int ARow, bool Value)
{
    if (ARow < 0)
        throw EQrlGridError(QStringLiteral("Invalid row accessed"));
    // The cursor leaves a row only when it is disabled; enabling the current row keeps it.
    if (!Value && ARow == Row()) {
        for (int r = FixedRows(); r < RowCount(); ++r) {
            if (r != ARow && d->rowMarks.rowEnabled(r)) {
                SetRow(r);
                break;
            }
        }
    }
    d->rowMarks.setRowEnabled(ARow, Value);
    RepaintRow(ARow);
}

bool TQrlStringGrid::UseEnabledRows() const
{
    return d->rowMarks.usesEnabledRows();
}

void TQrlStringGrid::SetUseEnabledRows(bool Value)
{
    if (Value == d->rowMarks.usesEnabledRows())
        return;
    d->rowMarks.setUseEnabledRows(Value);
    Invalidate();
}

// ---- repainting -----------------------------------------------------------------------------

void TQrlStringGrid::RepaintRow(int ARow)
{
    if (!isVisible() || ARow < 0 || ARow >= RowCount())
        return;
    if (ARow >= TBaseGrid::FixedRows() && ARow < TopRow())
        return; // scrolled out above
    const int last = std::min(LeftCol() + VisibleColCount(), ColCount() - 1);
    const TRect a = UnclippedCellRect(0, ARow);
    const TRect b = UnclippedCellRect(last, ARow);
    // The grid lines lie inside the cells.
    InvalidateRect({a.Left, a.Top, b.Right, a.Bottom});
}

void TQrlStringGrid::RepaintCol(int ACol)
{
    if (!isVisible() || ACol < 0 || ACol >= ColCount())
        return;
    if (ACol >= TBaseGrid::FixedCols() && ACol < LeftCol())
        return; // scrolled out to the left
    const int last = std::min(TopRow() + VisibleRowCount(), RowCount() - 1);
    const TRect a = UnclippedCellRect(ACol, TopRow());
    const TRect b = UnclippedCellRect(ACol, last);
    InvalidateRect({a.Left, a.Top, a.Right, b.Bottom});
}

void TQrlStringGrid::RepaintRect(const TGridRect &R)
{
    if (R.Left < 0 || R.Top < 0 || R.Right < 0 || R.Bottom < 0)
        return;
    const TRect a = CellRect(R.Left, R.Top);
    const TRect b =
        CellRect(std::min(VisibleColCount() + TBaseGrid::FixedCols(), R.Right), R.Bottom);
    if (a.IsEmpty() || b.IsEmpty()) {
        Invalidate();
        return;
    }
    InvalidateRect(unite(a, b));
}

void TQrlStringGrid::InvalidateCellRange(const TGridRect &R)
{
    const TRect u = unite(CellRect(R.Left, R.Top), CellRect(R.Right, R.Bottom));
    if (!u.IsEmpty())
        InvalidateRect(u);
}

// ---- search footer scrolling ----------------------------------------------------------------

bool TQrlStringGrid::LastRowAboveSearchFooter()
{
    if (!d->searchFooter->Visible() || TopRow() + VisibleRowCount() < RowCount() - 1)
        return false;
    const int lastBottom = UnclippedCellRect(0, RowCount() - 1).Bottom;
    return lastBottom < viewport()->height() - searchPanelHeight() + 2;
}

void TQrlStringGrid::ScrollLastRowAboveSearchFooter()
{
    const int panel = searchPanelHeight();
    const int client = viewport()->height();
    if (!d->searchFooter->Visible() || client <= DefaultRowHeight() + panel)
        return;
    while (UnclippedCellRect(0, RowCount() - 1).Bottom > client - panel + 2 &&
           Row() <= RowCount() - 1 && TopRow() < RowCount()) {
        const int top = TopRow();
        SetTopRow(top + 1);
        if (TopRow() == top)
            break; // the view cannot scroll further: a row taller than the room left
    }
}
