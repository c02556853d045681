// The string grid's small routines: wide cells, the recorded column widths, the column order
// and the lookup of a column by its header.
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"

#include <algorithm>

// ---- wide cells ------------------------------------------------------------------------------

QString TQrlStringGrid::GetWideCells(int ACol, int ARow) const
{
    return GetCellEx(ACol, ARow);
}

void TQrlStringGrid::SetWideCells(int ACol, int ARow, const QString &Value)
{
    SetCellEx(ACol, ARow, Value);
}

// ---- recorded column widths ------------------------------------------------------------------

void TQrlStringGrid::InitOrigColSizes()
{
    d->origColSizes.Clear();
    for (int c = 0; c < ColCount(); ++c)
        d->origColSizes.Add(ColWidths(c));
    d->origGridWidth = width();
}

const TIntList &TQrlStringGrid::OrigColSizes() const
{
    return d->origColSizes;
}

int TQrlStringGrid::ColumnByHeader(const QString &AValue) const
{
    for (int c = 0; c < TotalColCount(); ++c)
        if (GetCellEx(c, 0) == AValue)
            return c;
    return -1;
}

// ---- column order ----------------------------------------------------------------------------

void TQrlStringGrid::SetColumnOrder()
{
    d->columnOrder.Clear();
    for (int c = 0; c < ColCount(); ++c)
        d->columnOrder.Add(c);
}

bool TQrlStringGrid::ColumnOrderRecorded() const
{
    return d->columnOrder.Count() > 0;
}

int TQrlStringGrid::ColumnPosition(int ACol) const
{
    int pos = ACol;
    const TIntList &order = d->columnOrder;
    if (order.Count() > 0) {
        const int n = std::min(order.Count(), ColCount() + NumHiddenColumns());
        for (int k = 0; k < n; ++k) {
            if (order.Items(k) == ACol) {
                pos = k;
                break;
            }
        }
    }
    // The group column is hidden while grouped, so the columns after it sit one further left.
    const int group = GroupColumn();
    if (group >= 0 && ACol >= group)
        --pos;
    return pos;
}

int TQrlStringGrid::ColumnAtPosition(int Pos)
{
    if (d->columnOrder.Count() == 0)
        SetColumnOrder();
    int col = d->columnOrder.Items(Pos);
    const int group = GroupColumn();
    if (group >= 0 && col >= group)
        ++col;
    return col;
}

void TQrlStringGrid::ResetColumnOrder()
{
    UnHideColumnsAll();
    if (d->columnOrder.Count() == 0) {
        SetColumnOrder();
        return;
    }
    // A permutation of n entries settles within n passes; the bound keeps an order that no
    // longer is one (columns added or removed since it was recorded) from looping for ever.
    const int n = std::min(ColCount(), d->columnOrder.Count());
    for (int pass = 0; pass <= n; ++pass) {
        bool moved = false;
        for (int pos = 0; pos < n; ++pos) {
            const int entry = d->columnOrder.Items(pos);
            if (entry >= 0 && entry < pos) {
                MoveColumn(pos, entry);
                moved = true;
            }
        }
        if (!moved)
            break;
    }
}

void TQrlStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    // Real columns before the move: the sort settings name real columns.
    const int realFrom = RealColIndex(FromIndex);
    const int realTo = RealColIndex(ToIndex);
    // The order moves first so that OnColumnMoved already sees where the column went.
    TIntList &order = d->columnOrder;
    const bool follow = FromIndex != ToIndex && FromIndex >= 0 && ToIndex >= 0 &&
                        FromIndex < order.Count() && ToIndex < order.Count();
    auto moveEntry = [&order](int from, int to) {
        const int entry = order.Items(from);
        order.Delete(from);
        order.Insert(to, entry);
    };
    if (follow)
        moveEntry(FromIndex, ToIndex);
    try {
        TBaseGrid::ColumnMoved(FromIndex, ToIndex);
    } catch (...) {
        if (follow)
            moveEntry(ToIndex, FromIndex);
        throw;
    }
    // The current column was moved along by the framework already.
    columnMovedFollowers(FromIndex, ToIndex, realFrom, realTo);
}

int TQrlStringGrid::OrigGridWidth() const
{
    return d->origGridWidth;
}
