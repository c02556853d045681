#include "grid/model/QrlMergedSpans.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <set>
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

} // namespace

TMergedSpans::TAreaList TMergedSpans::merge(int c, int r, int w, int h)
{
    if (w < 1 || h < 1)
        return {};
    if (c < 0 || r < 0 || qint64(c) + w - 1 > INT_MAX || qint64(r) + h - 1 > INT_MAX)
        throw std::out_of_range("Merged cells: area outside the grid's index range");
    const TMergedArea area{c, r, w, h};

    std::set<TKey> hit;
    auto scanColumn = [&](const std::map<int, int> &rows) {
        auto it = rows.upper_bound(r);
        if (it != rows.begin()) {
            const auto before = std::prev(it);
            if (m_areas.at({before->first, before->second}).lastRow() >= r)
                hit.insert({before->first, before->second});
        }
        for (; it != rows.end() && it->first <= area.lastRow(); ++it)
            hit.insert({it->first, it->second});
    };
    // Walk whichever is shorter: the new area's columns or the indexed ones.
    if (qint64(w) <= qint64(m_columns.size())) {
        for (qint64 x = c; x <= area.lastCol(); ++x) {
            const auto col = m_columns.find(int(x));
            if (col != m_columns.end())
                scanColumn(col->second);
        }
    } else {
        for (const auto &[x, rows] : m_columns) {
            if (x >= c && x <= area.lastCol())
                scanColumn(rows);
        }
    }

    TAreaList removed;
    removed.reserve(hit.size());
    for (const TKey &key : hit)
        removed.push_back(m_areas.at(key));
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
    TAreaList list;
    list.reserve(m_areas.size());
    for (const auto &entry : m_areas)
        list.push_back(entry.second);
    return list;
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
    for (const auto &entry : m_columns) {
        if (entry.first < 0 || entry.first >= colCount)
            continue;
        const TMergedArea *a = find(entry.first, row);
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
    for (const auto &entry : m_columns) {
        if (entry.first < 0 || entry.first >= colCount)
            continue;
        if (const TMergedArea *a = find(entry.first, row))
            best = std::max(best, a->height - 1);
    }
    return best;
}

bool TMergedSpans::rowSpanIdentical(int row1, int row2, int colCount) const
{
    bool any = false;
    for (const auto &entry : m_columns) {
        if (entry.first < 0 || entry.first >= colCount)
            continue;
        const TMergedArea *a1 = find(entry.first, row1);
        const TMergedArea *a2 = find(entry.first, row2);
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
        const auto rows = m_columns.find(col);
        if (rows == m_columns.end())
            continue;
        for (const auto &[baseRow, baseCol] : rows->second) {
            starts.push_back(baseRow);
            starts.push_back(qint64(m_areas.at({baseRow, baseCol}).lastRow()) + 1);
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
    return reshapeAll([&](TMergedArea &a) {
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
    });
}

TMergedSpans::TAreaList TMergedSpans::linesRemoved(TGridAxis axis, int at, int count)
{
    checkLineArgs(at, count);
    if (count == 0)
        return {};
    const qint64 end = qint64(at) + count; // first line after the removed ones
    return reshapeAll([&](TMergedArea &a) {
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
    });
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
    for (const auto &column : m_columns) {
        for (const int r : {a, b}) {
            const TMergedArea *area = find(column.first, r);
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
    std::vector<std::tuple<int, int, int, TKey>> perColumn; // column, row, last row, area
    for (const auto &[key, a] : m_areas) {
        if (key != TKey{a.row, a.col})
            return QStringLiteral("area %1 filed under base (%2,%3)")
                .arg(describe(a))
                .arg(key.second)
                .arg(key.first);
        if (a.width < 1 || a.height < 1 || a.col < 0 || a.row < 0 ||
            qint64(a.col) + a.width - 1 > INT_MAX || qint64(a.row) + a.height - 1 > INT_MAX)
            return QStringLiteral("malformed area %1").arg(describe(a));
        for (qint64 x = a.col; x <= a.lastCol(); ++x)
            perColumn.emplace_back(int(x), a.row, a.lastRow(), key);
    }
    std::sort(perColumn.begin(), perColumn.end());
    for (size_t i = 1; i < perColumn.size(); ++i) {
        const auto &[col, row, lastRow, key] = perColumn[i];
        const auto &[prevCol, prevRow, prevLast, prevKey] = perColumn[i - 1];
        if (col == prevCol && row <= prevLast)
            return QStringLiteral("areas %1 and %2 overlap in column %3")
                .arg(describe(m_areas.at(prevKey)), describe(m_areas.at(key)))
                .arg(col);
    }

    size_t entries = 0;
    for (const auto &[col, rows] : m_columns) {
        if (rows.empty())
            return QStringLiteral("index keeps empty column %1").arg(col);
        for (const auto &[baseRow, baseCol] : rows) {
            ++entries;
            const auto it = m_areas.find({baseRow, baseCol});
            if (it == m_areas.end() || col < it->second.col || col > it->second.lastCol())
                return QStringLiteral("index entry column %1 -> base (%2,%3) has no such area")
                    .arg(col)
                    .arg(baseCol)
                    .arg(baseRow);
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

const TMergedArea *TMergedSpans::find(int c, int r) const
{
    const auto col = m_columns.find(c);
    if (col == m_columns.end())
        return nullptr;
    auto it = col->second.upper_bound(r);
    if (it == col->second.begin())
        return nullptr;
    --it;
    const TMergedArea &a = m_areas.at({it->first, it->second});
    return r <= a.lastRow() ? &a : nullptr;
}

void TMergedSpans::add(const TMergedArea &area)
{
    m_areas[{area.row, area.col}] = area;
    for (qint64 x = area.col; x <= area.lastCol(); ++x)
        m_columns[int(x)][area.row] = area.col;
}

void TMergedSpans::remove(const TMergedArea &area)
{
    for (qint64 x = area.col; x <= area.lastCol(); ++x) {
        const auto col = m_columns.find(int(x));
        if (col == m_columns.end())
            continue;
        col->second.erase(area.row);
        if (col->second.empty())
            m_columns.erase(col);
    }
    m_areas.erase({area.row, area.col});
}

// Applies one line operation to every area (false drops it) and rebuilds the index, which is
// keyed by the coordinates that just changed.
template <typename Reshape> TMergedSpans::TAreaList TMergedSpans::reshapeAll(Reshape &&reshape)
{
    TAreaList dropped;
    std::vector<TMergedArea> kept;
    kept.reserve(m_areas.size());
    for (const auto &entry : m_areas) {
        TMergedArea area = entry.second;
        if (reshape(area))
            kept.push_back(area);
        else
            dropped.push_back(entry.second);
    }
    clear();
    for (const TMergedArea &area : kept)
        add(area);
    return dropped;
}
