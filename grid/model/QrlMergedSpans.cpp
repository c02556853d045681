#include "grid/model/QrlMergedSpans.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <stdexcept>
#include <tuple>

namespace {

int &lineStart(TMergedArea &a, TGridAxis axis)
{
    return axis == TGridAxis::Cols ? a.col : a.row;
}

int &lineExtent(TMergedArea &a, TGridAxis axis)
{
    return axis == TGridAxis::Cols ? a.width : a.height;
}

// Where line i ends up when line `from` is taken out and put back as line `to`.
qint64 movedLine(qint64 i, int from, int to)
{
    if (i == from)
        return to;
    if (from < to && i > from && i <= to)
        return i - 1;
    if (to < from && i >= to && i < from)
        return i + 1;
    return i;
}

void checkLineArgs(int at, int count)
{
    if (at < 0 || count < 0)
        throw std::out_of_range("Merged cells: negative line index or count");
}

QString describe(const TMergedArea &a)
{
    return QStringLiteral("(%1,%2 %3x%4)").arg(a.col).arg(a.row).arg(a.width).arg(a.height);
}

bool baseLess(const TMergedArea &a, const TMergedArea &b)
{
    return a.row != b.row ? a.row < b.row : a.col < b.col;
}

bool rowBefore(const TMergedArea &a, int row)
{
    return a.row < row;
}

void sortUnique(std::vector<TMergedArea> &v)
{
    std::sort(v.begin(), v.end(), baseLess);
    v.erase(std::unique(v.begin(), v.end()), v.end());
}

} // namespace

TMergedSpans::TAreaList TMergedSpans::merge(int c, int r, int w, int h)
{
    if (w < 1 || h < 1)
        return {};
    if (c < 0 || r < 0 || qint64(c) + w - 1 > INT_MAX || qint64(r) + h - 1 > INT_MAX)
        throw std::out_of_range("Merged cells: area outside the grid's index range");
    const TMergedArea area{c, r, w, h};

    TAreaList removed;
    for (auto col = columnAt(c); col != m_columns.end() && col->col <= area.lastCol(); ++col) {
        const std::vector<TMergedArea> &rows = col->areas;
        auto it = std::lower_bound(rows.begin(), rows.end(), r, rowBefore);
        if (it != rows.begin() && std::prev(it)->lastRow() >= r)
            removed.push_back(*std::prev(it));
        for (; it != rows.end() && it->row <= area.lastRow(); ++it)
            removed.push_back(*it);
    }
    sortUnique(removed);
    for (const TMergedArea &old : removed)
        remove(old);
    add(area);
    return removed;
}

std::optional<TMergedArea> TMergedSpans::split(int c, int r)
{
    const TMergedArea *a = find(c, r);
    if (!a)
        return std::nullopt;
    const TMergedArea area = *a;
    remove(area);
    return area;
}

void TMergedSpans::clear()
{
    m_areas.clear();
    m_columns.clear();
}

TMergedSpans::TAreaList TMergedSpans::areas() const
{
    return m_areas;
}

TMergedSpans::TAreaList TMergedSpans::areasOnLines(TGridAxis axis, int first, int last) const
{
    TAreaList out;
    if (last < first)
        return out;
    if (axis == TGridAxis::Cols) {
        for (auto col = columnAt(first); col != m_columns.end() && col->col <= last; ++col)
            out.insert(out.end(), col->areas.begin(), col->areas.end());
    } else {
        // Areas based on the lines, then those reaching into them from above.
        auto it = std::lower_bound(m_areas.begin(), m_areas.end(), first, rowBefore);
        for (; it != m_areas.end() && it->row <= last; ++it)
            out.push_back(*it);
        for (const TColumn &col : m_columns) {
            auto at = std::lower_bound(col.areas.begin(), col.areas.end(), first, rowBefore);
            if (at != col.areas.begin() && std::prev(at)->lastRow() >= first)
                out.push_back(*std::prev(at));
        }
    }
    sortUnique(out);
    return out;
}

std::optional<TMergedArea> TMergedSpans::areaAt(int c, int r) const
{
    const TMergedArea *a = find(c, r);
    return a ? std::optional<TMergedArea>(*a) : std::nullopt;
}

plat::TGridCoord TMergedSpans::baseCell(int c, int r) const
{
    const TMergedArea *a = find(c, r);
    return a ? plat::TGridCoord{a->col, a->row} : plat::TGridCoord{c, r};
}

bool TMergedSpans::findBaseCell(int c, int r, int &baseCol, int &baseRow) const
{
    const plat::TGridCoord base = baseCell(c, r);
    baseCol = base.X;
    baseRow = base.Y;
    return base == plat::TGridCoord{c, r};
}

bool TMergedSpans::isBaseCell(int c, int r) const
{
    const TMergedArea *a = find(c, r);
    return !a || (a->col == c && a->row == r);
}

bool TMergedSpans::isMergedCell(int c, int r) const
{
    const TMergedArea *a = find(c, r);
    return a && (a->width > 1 || a->height > 1);
}

bool TMergedSpans::isMergedNonBaseCell(int c, int r) const
{
    // A cell other than the base exists only in an area of more than one cell.
    return !isBaseCell(c, r);
}

bool TMergedSpans::isXMerged(int c, int r) const
{
    const TMergedArea *a = find(c, r);
    return a && a->width > 1;
}

bool TMergedSpans::isYMerged(int c, int r) const
{
    const TMergedArea *a = find(c, r);
    return a && a->height > 1;
}

plat::TGridCoord TMergedSpans::cellSpan(int c, int r) const
{
    const TMergedArea *a = find(c, r);
    return a ? plat::TGridCoord{a->width - 1, a->height - 1} : plat::TGridCoord{0, 0};
}

plat::TGridCoord TMergedSpans::cellExt(int c, int r) const
{
    const TMergedArea *a = find(c, r);
    return a ? plat::TGridCoord{a->lastCol() - c, a->lastRow() - r} : plat::TGridCoord{0, 0};
}

plat::TGridRect TMergedSpans::fullCell(int c, int r) const
{
    const TMergedArea *a = find(c, r);
    return a ? plat::TGridRect{a->col, a->row, a->lastCol(), a->lastRow()}
             : plat::TGridRect{c, r, c, r};
}

int TMergedSpans::spansX(int c, int r) const
{
    const TMergedArea *a = find(c, r);
    if (!a)
        return -1;
    return isBaseCell(c, r) ? a->width - 1 : c - a->col;
}

int TMergedSpans::spansY(int c, int r) const
{
    const TMergedArea *a = find(c, r);
    if (!a)
        return -1;
    return isBaseCell(c, r) ? a->height - 1 : r - a->row;
}

int TMergedSpans::minRowSpan(int row, int colCount, int rowCount) const
{
    int best = rowCount;
    bool found = false;
    for (const TColumn &entry : m_columns) {
        if (entry.col < 0 || entry.col >= colCount)
            continue;
        const TMergedArea *a = find(entry.col, row);
        if (a && a->height > 1 && (!found || a->height - 1 < best)) {
            best = a->height - 1;
            found = true;
        }
    }
    return best;
}

int TMergedSpans::maxRowSpan(int row, int colCount) const
{
    int best = 0;
    for (const TColumn &entry : m_columns) {
        if (entry.col < 0 || entry.col >= colCount)
            continue;
        if (const TMergedArea *a = find(entry.col, row))
            best = std::max(best, a->height - 1);
    }
    return best;
}

bool TMergedSpans::rowSpanIdentical(int row1, int row2, int colCount) const
{
    bool any = false;
    for (const TColumn &entry : m_columns) {
        if (entry.col < 0 || entry.col >= colCount)
            continue;
        const TMergedArea *a1 = find(entry.col, row1);
        const TMergedArea *a2 = find(entry.col, row2);
        if (a1 && a2 && a1->height > 1 && a2->height > 1) {
            if (a1->row != a2->row)
                return false;
            any = true;
        }
    }
    return any;
}

bool TMergedSpans::colSpanIdentical(int col1, int col2, int rowCount) const
{
    if (rowCount <= 0)
        return false;
    // Between these rows neither column changes area, so one row stands for its whole run;
    // rows covered in neither column have equal spans (0) and pass.
    std::vector<qint64> starts{0};
    for (const int col : {col1, col2}) {
        const auto rows = columnAt(col);
        if (rows == m_columns.end() || rows->col != col)
            continue;
        for (const TMergedArea &a : rows->areas) {
            starts.push_back(a.row);
            starts.push_back(qint64(a.lastRow()) + 1);
        }
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());

    bool both = false;
    for (const qint64 start : starts) {
        if (start >= rowCount)
            break;
        const int r = int(start);
        const TMergedArea *a1 = find(col1, r);
        const TMergedArea *a2 = find(col2, r);
        const int span1 = a1 ? a1->width - 1 : 0;
        const int span2 = a2 ? a2->width - 1 : 0;
        if (span1 > 0 && span2 > 0) {
            if (a1->col != a2->col)
                return false;
            both = true;
        } else if (span1 != span2) {
            return false;
        }
    }
    return both;
}

TMergedSpans::TAreaList TMergedSpans::linesInserted(TGridAxis axis, int at, int count)
{
    checkLineArgs(at, count);
    if (count == 0)
        return {};
    auto reshape = [&](TMergedArea &a) {
        int &start = lineStart(a, axis);
        int &extent = lineExtent(a, axis);
        const qint64 last = qint64(start) + extent - 1;
        if (at > last)
            return true;
        if (last + count > INT_MAX)
            return false;
        if (at <= start)
            start += count;
        else
            extent += count;
        return true;
    };
    if (axis == TGridAxis::Rows) {
        // Only the areas the insertion cuts change shape; the others after it just move.
        TAreaList cut;
        for (const TMergedArea &a : areasOnLines(axis, at - 1, at - 1))
            if (a.lastRow() >= at)
                cut.push_back(a);
        TAreaList dropped;
        if (shiftRows(at, count, cut, reshape, dropped))
            return dropped;
    }
    return reshapeAll(reshape);
}

TMergedSpans::TAreaList TMergedSpans::linesRemoved(TGridAxis axis, int at, int count)
{
    checkLineArgs(at, count);
    if (count == 0)
        return {};
    const qint64 end = qint64(at) + count; // first line after the removed ones
    auto reshape = [&](TMergedArea &a) {
        int &start = lineStart(a, axis);
        int &extent = lineExtent(a, axis);
        const qint64 last = qint64(start) + extent - 1;
        if (last < at)
            return true;
        if (start >= end) {
            start -= count;
            return true;
        }
        const qint64 overlap = std::min(last, end - 1) - std::max<qint64>(start, at) + 1;
        if (overlap >= extent)
            return false;
        extent -= int(overlap);
        start = std::min(start, at);
        return true;
    };
    if (axis == TGridAxis::Rows && end <= INT_MAX) {
        // Only the areas on the removed rows change shape; the others after them just move.
        TAreaList dropped;
        if (shiftRows(int(end), -count, areasOnLines(axis, at, int(end - 1)), reshape, dropped))
            return dropped;
    }
    return reshapeAll(reshape);
}

TMergedSpans::TAreaList TMergedSpans::linesMoved(TGridAxis axis, int from, int to)
{
    checkLineArgs(from, to);
    if (from == to)
        return {};
    return reshapeAll([&](TMergedArea &a) {
        int &start = lineStart(a, axis);
        const qint64 first = start;
        const qint64 last = first + lineExtent(a, axis) - 1;
        // The map shifts whole runs of lines, breaking only around `from` and `to`, so the
        // image's ends are among the images of these lines.
        qint64 lo = LLONG_MAX;
        qint64 hi = LLONG_MIN;
        for (const qint64 i : {first, last, qint64(from) - 1, qint64(from), qint64(from) + 1,
                               qint64(to) - 1, qint64(to), qint64(to) + 1}) {
            if (i < first || i > last)
                continue;
            const qint64 moved = movedLine(i, from, to);
            lo = std::min(lo, moved);
            hi = std::max(hi, moved);
        }
        if (hi - lo != last - first)
            return false; // torn apart
        start = int(lo);
        return true;
    });
}

TMergedSpans::TAreaList TMergedSpans::rowsSwapped(int a, int b)
{
    if (a == b || m_areas.empty())
        return {};
    TAreaList touched;
    for (const TColumn &column : m_columns) {
        for (const int r : {a, b}) {
            const TMergedArea *area = find(column.col, r);
            if (area && std::find(touched.begin(), touched.end(), *area) == touched.end())
                touched.push_back(*area);
        }
    }
    TAreaList torn;
    for (const TMergedArea &area : touched) {
        remove(area);
        if (area.height > 1)
            torn.push_back(area);
    }
    for (TMergedArea area : touched) {
        if (area.height == 1) {
            area.row = area.row == a ? b : a;
            add(area);
        }
    }
    return torn;
}

QString TMergedSpans::checkInvariants() const
{
    std::vector<std::tuple<int, int, int, size_t>> perColumn; // column, row, last row, area
    for (size_t i = 0; i < m_areas.size(); ++i) {
        const TMergedArea &a = m_areas[i];
        if (i > 0 && !baseLess(m_areas[i - 1], a))
            return QStringLiteral("area %1 out of order after %2")
                .arg(describe(a), describe(m_areas[i - 1]));
        if (a.width < 1 || a.height < 1 || a.col < 0 || a.row < 0 ||
            qint64(a.col) + a.width - 1 > INT_MAX || qint64(a.row) + a.height - 1 > INT_MAX)
            return QStringLiteral("malformed area %1").arg(describe(a));
        for (qint64 x = a.col; x <= a.lastCol(); ++x)
            perColumn.emplace_back(int(x), a.row, a.lastRow(), i);
    }
    std::sort(perColumn.begin(), perColumn.end());
    for (size_t i = 1; i < perColumn.size(); ++i) {
        const auto &[col, row, lastRow, key] = perColumn[i];
        const auto &[prevCol, prevRow, prevLast, prevKey] = perColumn[i - 1];
        if (col == prevCol && row <= prevLast)
            return QStringLiteral("areas %1 and %2 overlap in column %3")
                .arg(describe(m_areas[prevKey]), describe(m_areas[key]))
                .arg(col);
    }

    size_t entries = 0;
    for (size_t k = 0; k < m_columns.size(); ++k) {
        const TColumn &column = m_columns[k];
        if (k > 0 && m_columns[k - 1].col >= column.col)
            return QStringLiteral("index column %1 out of order").arg(column.col);
        if (column.areas.empty())
            return QStringLiteral("index keeps empty column %1").arg(column.col);
        for (size_t j = 0; j < column.areas.size(); ++j) {
            const TMergedArea &a = column.areas[j];
            ++entries;
            if (j > 0 && column.areas[j - 1].row >= a.row)
                return QStringLiteral("index column %1 out of order at row %2")
                    .arg(column.col)
                    .arg(a.row);
            if (!std::binary_search(m_areas.begin(), m_areas.end(), a, baseLess) ||
                *std::lower_bound(m_areas.begin(), m_areas.end(), a, baseLess) != a ||
                column.col < a.col || column.col > a.lastCol())
                return QStringLiteral("index entry column %1 -> %2 has no such area")
                    .arg(column.col)
                    .arg(describe(a));
        }
    }
    // Every entry names a distinct (column, area) pair that exists, so equal counts mean the
    // index holds every column of every area.
    if (entries != perColumn.size())
        return QStringLiteral("index holds %1 column entries, the areas cover %2 columns")
            .arg(entries)
            .arg(perColumn.size());
    return {};
}

std::vector<TMergedSpans::TColumn>::iterator TMergedSpans::columnAt(int c)
{
    return std::lower_bound(m_columns.begin(), m_columns.end(), c,
                            [](const TColumn &col, int x) { return col.col < x; });
}

std::vector<TMergedSpans::TColumn>::const_iterator TMergedSpans::columnAt(int c) const
{
    return std::lower_bound(m_columns.begin(), m_columns.end(), c,
                            [](const TColumn &col, int x) { return col.col < x; });
}

const TMergedArea *TMergedSpans::find(int c, int r) const
{
    const auto col = columnAt(c);
    if (col == m_columns.end() || col->col != c)
        return nullptr;
    const std::vector<TMergedArea> &rows = col->areas;
    auto it = std::upper_bound(rows.begin(), rows.end(), r,
                               [](int x, const TMergedArea &a) { return x < a.row; });
    if (it == rows.begin())
        return nullptr;
    --it;
    return r <= it->lastRow() ? &*it : nullptr;
}

void TMergedSpans::add(const TMergedArea &area)
{
    m_areas.insert(std::lower_bound(m_areas.begin(), m_areas.end(), area, baseLess), area);
    for (qint64 x = area.col; x <= area.lastCol(); ++x) {
        auto col = columnAt(int(x));
        if (col == m_columns.end() || col->col != int(x))
            col = m_columns.insert(col, TColumn{int(x), {}});
        std::vector<TMergedArea> &rows = col->areas;
        rows.insert(std::lower_bound(rows.begin(), rows.end(), area.row, rowBefore), area);
    }
}

void TMergedSpans::remove(const TMergedArea &area)
{
    for (qint64 x = area.col; x <= area.lastCol(); ++x) {
        const auto col = columnAt(int(x));
        if (col == m_columns.end() || col->col != int(x))
            continue;
        std::vector<TMergedArea> &rows = col->areas;
        const auto it = std::lower_bound(rows.begin(), rows.end(), area.row, rowBefore);
        if (it != rows.end() && it->row == area.row)
            rows.erase(it);
        if (rows.empty())
            m_columns.erase(col);
    }
    const auto it = std::lower_bound(m_areas.begin(), m_areas.end(), area, baseLess);
    if (it != m_areas.end() && it->row == area.row && it->col == area.col)
        m_areas.erase(it);
}

// Applies one line operation to every area (false drops it) and rebuilds the index, which is
// keyed by the coordinates that just changed.
template <typename Reshape> TMergedSpans::TAreaList TMergedSpans::reshapeAll(Reshape &&reshape)
{
    TAreaList dropped;
    std::vector<TMergedArea> kept;
    kept.reserve(m_areas.size());
    for (const TMergedArea &entry : m_areas) {
        TMergedArea area = entry;
        if (reshape(area))
            kept.push_back(area);
        else
            dropped.push_back(entry);
    }
    clear();
    // In base order every area lands at the end of its lists.
    std::sort(kept.begin(), kept.end(), baseLess);
    for (const TMergedArea &area : kept)
        add(area);
    return dropped;
}

template <typename Reshape>
bool TMergedSpans::shiftRows(
    int from, int shift, const TAreaList &hit, Reshape &&reshape, TAreaList &dropped)
{
    const auto first = std::lower_bound(m_areas.begin(), m_areas.end(), from, rowBefore);
    if (shift > 0)
        for (auto it = first; it != m_areas.end(); ++it)
            if (qint64(it->lastRow()) + shift > INT_MAX)
                return false;
    for (const TMergedArea &a : hit)
        remove(a);
    for (auto it = std::lower_bound(m_areas.begin(), m_areas.end(), from, rowBefore);
         it != m_areas.end(); ++it)
        it->row += shift;
    for (TColumn &col : m_columns) {
        auto it = std::lower_bound(col.areas.begin(), col.areas.end(), from, rowBefore);
        for (; it != col.areas.end(); ++it)
            it->row += shift;
    }
    for (const TMergedArea &a : hit) {
        TMergedArea b = a;
        if (reshape(b))
            add(b);
        else
            dropped.push_back(a);
    }
    return true;
}
