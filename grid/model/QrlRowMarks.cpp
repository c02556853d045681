#include "grid/model/QrlRowMarks.h"

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <string>

using plat::TGridCoord;
using plat::TGridRect;

namespace {

// One line operation as a map from old to new line indexes (-1: the line is gone), with the
// lowest and highest old line it touches; lines outside [lo, hi] move by `shift` when past hi.
struct LineMap
{
    enum class Kind { Insert, Remove, Move } kind;
    int a = 0;     // insert/remove: at; move: from
    int b = 0;     // insert/remove: count; move: to
    int count = 0; // move: block length

    int map(int x) const
    {
        switch (kind) {
        case Kind::Insert:
            return x >= a ? x + b : x;
        case Kind::Remove:
            return x < a ? x : (x < a + b ? -1 : x - b);
        case Kind::Move:
            if (x >= a && x < a + count)
                return x - a + b;
            if (b > a && x >= a + count && x < b + count)
                return x - count;
            if (b < a && x >= b && x < a)
                return x + count;
            return x;
        }
        return x;
    }
};

// Per-line byte lists (flags and marks), stored only as far as they are used.
void listInsert(std::vector<std::uint8_t> &v, int at, int count)
{
    if (at < static_cast<int>(v.size()))
        v.insert(v.begin() + at, static_cast<size_t>(count), 0);
}

// Returns how many set entries went with the removed lines.
int listRemove(std::vector<std::uint8_t> &v, int at, int count)
{
    const int size = static_cast<int>(v.size());
    if (at >= size)
        return 0;
    const int end = std::min(size, at + count);
    const int gone = static_cast<int>(
        std::count_if(v.begin() + at, v.begin() + end, [](std::uint8_t e) { return e & 1; }));
    v.erase(v.begin() + at, v.begin() + end);
    return gone;
}

void listMove(std::vector<std::uint8_t> &v, int from, int to, int count)
{
    const int lo = std::min(from, to);
    const int hi = std::max(from, to) + count - 1;
    if (lo >= static_cast<int>(v.size()))
        return;
    if (hi >= static_cast<int>(v.size()))
        v.resize(static_cast<size_t>(hi) + 1, 0);
    if (to > from)
        std::rotate(v.begin() + from, v.begin() + from + count, v.begin() + to + count);
    else
        std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + count);
}

void lengthInsert(int &length, int at, int count)
{
    if (at < length)
        length += count;
}

void lengthRemove(int &length, int at, int count)
{
    if (at < length)
        length -= std::min(length, at + count) - at;
}

void lengthMove(int &length, int from, int to, int count)
{
    // Lines taken from past the end into the list make the list reach them.
    if (std::min(from, to) < length)
        length = std::max(length, std::max(from, to) + count);
}

bool flagAt(const std::vector<std::uint8_t> &v, int i)
{
    return i >= 0 && i < static_cast<int>(v.size()) && v[static_cast<size_t>(i)] != 0;
}

// Sets or clears entry i, growing the list for a set; true when it changed.
bool storeFlag(std::vector<std::uint8_t> &v, int i, bool value)
{
    if (i < 0)
        return false;
    if (i >= static_cast<int>(v.size())) {
        if (!value)
            return false;
        v.resize(static_cast<size_t>(i) + 1, 0);
    }
    std::uint8_t &e = v[static_cast<size_t>(i)];
    if ((e != 0) == value)
        return false;
    e = value ? 1 : 0;
    return true;
}

std::vector<int> setIndexes(const std::vector<std::uint8_t> &v)
{
    std::vector<int> out;
    for (size_t i = 0; i < v.size(); ++i)
        if (v[i])
            out.push_back(static_cast<int>(i));
    return out;
}

} // namespace

// ---- rows -----------------------------------------------------------------------------------

void TRowMarks::extendRowList(int row)
{
    if (row >= m_rowLength)
        m_rowLength = row + 1;
}

bool TRowMarks::rowSelected(int row) const
{
    return flagAt(m_rowFlags, row);
}

bool TRowMarks::selectRow(int row, bool listIt)
{
    if (row < 0)
        return false;
    extendRowList(row);
    const bool changed = storeFlag(m_rowFlags, row, true);
    if (changed)
        ++m_rowCount;
    std::uint8_t &e = m_rowFlags[static_cast<size_t>(row)];
    if (listIt && !(e & Listed)) {
        e |= Listed;
        m_order.push_back(row);
        ++m_liveRows;
    }
    return changed;
}

bool TRowMarks::unselectRow(int row)
{
    if (row < 0)
        return false;
    extendRowList(row);
    const bool listed = row < static_cast<int>(m_rowFlags.size()) &&
                        (m_rowFlags[static_cast<size_t>(row)] & Listed);
    const bool changed = storeFlag(m_rowFlags, row, false);
    if (changed)
        --m_rowCount;
    if (listed) {
        --m_liveRows;
        // Keep the dropped entries from piling up when nobody reads the order.
        if (m_order.size() > 2 * static_cast<size_t>(m_liveRows) + 64)
            compactOrder();
    }
    return changed;
}

int TRowMarks::rowSelectCount(int limit) const
{
    const int size = static_cast<int>(m_rowFlags.size());
    if (limit >= size)
        return m_rowCount;
    if (limit <= 0)
        return 0;
    auto flagged = [](std::uint8_t e) { return (e & Flagged) != 0; };
    // Count whichever side of the limit is shorter.
    if (limit >= size - limit)
        return m_rowCount - static_cast<int>(std::count_if(m_rowFlags.begin() + limit,
                                                           m_rowFlags.end(), flagged));
    return static_cast<int>(std::count_if(m_rowFlags.begin(), m_rowFlags.begin() + limit, flagged));
}

std::vector<int> TRowMarks::flaggedRows() const
{
    return setIndexes(m_rowFlags);
}

void TRowMarks::clearRowSelect()
{
    m_rowFlags.clear();
    m_rowCount = 0;
    m_order.clear();
    m_liveRows = 0;
}

// Keeps each listed row's last entry, in order.
void TRowMarks::compactOrder() const
{
    if (static_cast<int>(m_order.size()) == m_liveRows)
        return;
    size_t out = m_order.size();
    for (size_t p = m_order.size(); p-- > 0;) {
        const int row = m_order[p];
        if (row < 0 || row >= static_cast<int>(m_rowFlags.size()))
            continue;
        std::uint8_t &e = m_rowFlags[static_cast<size_t>(row)];
        if (!(e & Listed) || (e & Seen))
            continue;
        e |= Seen;
        m_order[--out] = row;
    }
    m_order.erase(m_order.begin(), m_order.begin() + static_cast<std::ptrdiff_t>(out));
    for (const int row : m_order)
        m_rowFlags[static_cast<size_t>(row)] &= std::uint8_t(~Seen);
}

int TRowMarks::selectedRow(int i) const
{
    if (i < 0 || i >= m_liveRows)
        return -1;
    compactOrder();
    return m_order[static_cast<size_t>(i)];
}

std::vector<int> TRowMarks::selectedRows() const
{
    compactOrder();
    return m_order;
}

// ---- columns --------------------------------------------------------------------------------

void TRowMarks::extendColList(int col)
{
    if (col >= m_colLength)
        m_colLength = col + 1;
}

bool TRowMarks::colSelected(int col) const
{
    return flagAt(m_colFlags, col);
}

bool TRowMarks::setColSelected(int col, bool value)
{
    if (col < 0)
        return false;
    extendColList(col);
    if (!storeFlag(m_colFlags, col, value))
        return false;
    m_colCount += value ? 1 : -1;
    return true;
}

std::vector<int> TRowMarks::flaggedCols() const
{
    return setIndexes(m_colFlags);
}

void TRowMarks::clearColSelect()
{
    m_colFlags.clear();
    m_colCount = 0;
}

// ---- cells ----------------------------------------------------------------------------------

int TRowMarks::cellCount() const
{
    if (!m_cellRect)
        return static_cast<int>(m_cells.size());
    const TGridRect &r = *m_cellRect;
    const long long n = (long long)(r.Right - r.Left + 1) * (r.Bottom - r.Top + 1);
    return static_cast<int>(std::min<long long>(n, INT_MAX));
}

TGridCoord TRowMarks::cellAt(int i) const
{
    if (i < 0 || i >= cellCount())
        throw std::out_of_range("List index out of bounds (" + std::to_string(i) + ")");
    if (!m_cellRect)
        return m_cells[static_cast<size_t>(i)];
    const TGridRect &r = *m_cellRect;
    const int h = r.Bottom - r.Top + 1;
    return {r.Left + i / h, r.Top + i % h};
}

bool TRowMarks::cellSelected(int col, int row) const
{
    if (m_cellRect)
        return m_cellRect->Contains(col, row);
    return m_cellSet.count(cellKey(col, row)) != 0;
}

bool TRowMarks::setCellSelected(int col, int row, bool value)
{
    if (cellSelected(col, row) == value)
        return false;
    materializeCells();
    if (value) {
        m_cells.push_back({col, row});
        m_cellSet.insert(cellKey(col, row));
    } else {
        m_cells.erase(std::find(m_cells.begin(), m_cells.end(), TGridCoord{col, row}));
        m_cellSet.erase(cellKey(col, row));
    }
    return true;
}

void TRowMarks::setCellsFromRect(const TGridRect &r)
{
    clearCells();
    m_cellRect = TGridRect{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom),
                           std::max(r.Left, r.Right), std::max(r.Top, r.Bottom)};
}

void TRowMarks::clearCells()
{
    m_cells.clear();
    m_cellSet.clear();
    m_cellRect.reset();
}

void TRowMarks::materializeCells()
{
    if (!m_cellRect)
        return;
    const TGridRect r = *m_cellRect;
    m_cellRect.reset();
    for (int c = r.Left; c <= r.Right; ++c)
        for (int row = r.Top; row <= r.Bottom; ++row) {
            m_cells.push_back({c, row});
            m_cellSet.insert(cellKey(c, row));
        }
}

// ---- modified and disabled rows -------------------------------------------------------------

bool TRowMarks::rowModified(int row) const
{
    return flagAt(m_modified, row);
}

void TRowMarks::setRowModified(int row, bool value)
{
    if (storeFlag(m_modified, row, value))
        m_modifiedCount += value ? 1 : -1;
}

void TRowMarks::clearModifiedRows()
{
    m_modified.clear();
    m_modifiedCount = 0;
}

bool TRowMarks::rowEnabled(int row) const
{
    return !flagAt(m_disabled, row);
}

void TRowMarks::setRowEnabled(int row, bool value)
{
    m_useEnabledRows = true;
    storeFlag(m_disabled, row, !value);
}

// ---- line operations ------------------------------------------------------------------------

// [lo, hi] are the old lines the operation touches; lines past hi move by shift.
template <typename Map>
void TRowMarks::remapLines(TGridAxis axis, unsigned parts, int lo, int hi, int shift, Map &&map)
{
    // Cells: a rectangle the operation does not reach stays or shifts; otherwise it becomes a
    // list.
    if ((parts & Cells) && m_cellRect) {
        TGridRect &r = *m_cellRect;
        int &first = axis == TGridAxis::Rows ? r.Top : r.Left;
        int &last = axis == TGridAxis::Rows ? r.Bottom : r.Right;
        if (lo > last) {
            // only lines after the rectangle change
        } else if (hi < first) {
            first += shift;
            last += shift;
        } else {
            materializeCells();
        }
    }
    if ((parts & Cells) && !m_cellRect && !m_cells.empty()) {
        std::vector<TGridCoord> cells;
        cells.reserve(m_cells.size());
        m_cellSet.clear();
        for (TGridCoord c : m_cells) {
            int &line = axis == TGridAxis::Rows ? c.Y : c.X;
            line = map(line);
            if (line < 0)
                continue;
            cells.push_back(c);
            m_cellSet.insert(cellKey(c.X, c.Y));
        }
        m_cells = std::move(cells);
    }
    if (axis != TGridAxis::Rows || !(parts & Flags))
        return;
    // The selection order keeps its order; rows are renumbered, removed ones become -1 and
    // drop out at the next compaction.
    for (int &row : m_order)
        row = row < 0 ? row : map(row);
    if (m_order.size() > 2 * static_cast<size_t>(m_liveRows) + 64)
        compactOrder();
}

void TRowMarks::linesInserted(TGridAxis axis, int at, int count, unsigned parts)
{
    if (at < 0 || count <= 0)
        return;
    const LineMap m{LineMap::Kind::Insert, at, count};
    const bool rows = axis == TGridAxis::Rows;
    if (parts & Flags) {
        listInsert(rows ? m_rowFlags : m_colFlags, at, count);
        lengthInsert(rows ? m_rowLength : m_colLength, at, count);
    }
    if (rows && (parts & RowStates)) {
        listInsert(m_modified, at, count);
        listInsert(m_disabled, at, count);
    }
    // As an empty range just before `at`: an insertion at the rectangle's first line only
    // pushes it on.
    remapLines(axis, parts, at, at - 1, count, [&m](int x) { return m.map(x); });
}

void TRowMarks::linesRemoved(TGridAxis axis, int at, int count, unsigned parts)
{
    if (at < 0 || count <= 0)
        return;
    const LineMap m{LineMap::Kind::Remove, at, count};
    const bool rows = axis == TGridAxis::Rows;
    if (parts & Flags) {
        if (rows) {
            // Listed rows that go leave the selection order.
            const size_t end = std::min(m_rowFlags.size(), size_t(at) + size_t(count));
            for (size_t i = size_t(at); i < end; ++i)
                m_liveRows -= (m_rowFlags[i] & Listed) ? 1 : 0;
        }
        (rows ? m_rowCount : m_colCount) -= listRemove(rows ? m_rowFlags : m_colFlags, at, count);
        lengthRemove(rows ? m_rowLength : m_colLength, at, count);
    }
    if (rows && (parts & RowStates)) {
        m_modifiedCount -= listRemove(m_modified, at, count);
        listRemove(m_disabled, at, count);
    }
    remapLines(axis, parts, at, at + count - 1, -count, [&m](int x) { return m.map(x); });
}

void TRowMarks::linesMoved(TGridAxis axis, int from, int to, int count, unsigned parts)
{
    if (from < 0 || to < 0 || count <= 0 || from == to)
        return;
    const LineMap m{LineMap::Kind::Move, from, to, count};
    const bool rows = axis == TGridAxis::Rows;
    if (parts & Flags) {
        listMove(rows ? m_rowFlags : m_colFlags, from, to, count);
        lengthMove(rows ? m_rowLength : m_colLength, from, to, count);
    }
    if (rows && (parts & RowStates)) {
        listMove(m_modified, from, to, count);
        listMove(m_disabled, from, to, count);
    }
    const int lo = std::min(from, to);
    const int hi = std::max(from, to) + count - 1;
    remapLines(axis, parts, lo, hi, 0, [&m](int x) { return m.map(x); });
}

// ---- invariants -----------------------------------------------------------------------------

QString TRowMarks::checkInvariants() const
{
    auto countSet = [](const std::vector<std::uint8_t> &v, QString &fault) {
        int n = 0;
        for (std::uint8_t e : v) {
            if (e > 1)
                fault = QStringLiteral("flag entry other than 0 or 1");
            n += e;
        }
        return n;
    };
    auto lastSet = [](const std::vector<std::uint8_t> &v) {
        for (int i = static_cast<int>(v.size()) - 1; i >= 0; --i)
            if (v[static_cast<size_t>(i)])
                return i;
        return -1;
    };
    QString fault;
    int rowFlagged = 0;
    for (const std::uint8_t e : m_rowFlags)
        rowFlagged += e & Flagged;
    if (rowFlagged != m_rowCount)
        return QStringLiteral("row flag count %1 is wrong").arg(m_rowCount);
    if (lastSet(m_rowFlags) >= m_rowLength)
        return QStringLiteral("row flag set past the list length %1").arg(m_rowLength);
    int listed = 0;
    for (size_t r = 0; r < m_rowFlags.size(); ++r) {
        const std::uint8_t e = m_rowFlags[r];
        if (e != 0 && e != Flagged && e != (Flagged | Listed))
            return QStringLiteral("row %1 has the marks %2").arg(r).arg(e);
        listed += (e & Listed) ? 1 : 0;
    }
    if (listed != m_liveRows)
        return QStringLiteral("selection order count %1, %2 listed").arg(m_liveRows).arg(listed);
    std::vector<char> found(m_rowFlags.size(), 0);
    for (const int row : m_order) {
        if (row < -1)
            return QStringLiteral("selection order holds row %1").arg(row);
        if (row >= 0 && row < static_cast<int>(found.size()))
            found[static_cast<size_t>(row)] = 1;
    }
    for (size_t r = 0; r < m_rowFlags.size(); ++r)
        if ((m_rowFlags[r] & Listed) && !found[r])
            return QStringLiteral("row %1 has no entry in the selection order").arg(r);

    if (countSet(m_colFlags, fault) != m_colCount)
        return QStringLiteral("column flag count %1 is wrong").arg(m_colCount);
    if (lastSet(m_colFlags) >= m_colLength)
        return QStringLiteral("column flag set past the list length %1").arg(m_colLength);

    if (m_cellRect) {
        if (!m_cells.empty() || !m_cellSet.empty())
            return QStringLiteral("cell rectangle and cell list at once");
        if (m_cellRect->Left > m_cellRect->Right || m_cellRect->Top > m_cellRect->Bottom)
            return QStringLiteral("cell rectangle not normalised");
    } else {
        if (m_cellSet.size() != m_cells.size())
            return QStringLiteral("cell list holds a cell twice");
        for (const TGridCoord &c : m_cells) {
            if (c.X < 0 || c.Y < 0)
                return QStringLiteral("negative cell (%1, %2)").arg(c.X).arg(c.Y);
            if (!m_cellSet.count(cellKey(c.X, c.Y)))
                return QStringLiteral("cell (%1, %2) missing from the index").arg(c.X).arg(c.Y);
        }
    }

    if (countSet(m_modified, fault) != m_modifiedCount)
        return QStringLiteral("modified row count %1 is wrong").arg(m_modifiedCount);
    countSet(m_disabled, fault);
    return fault;
}
