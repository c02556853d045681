#include "grid/model/QrlMergedSpans.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

using plat::TGridCoord;
using plat::TGridRect;

using Areas = std::vector<TMergedArea>;

Areas sorted(Areas list)
{
    std::sort(list.begin(), list.end(), [](const TMergedArea &a, const TMergedArea &b) {
        return std::tie(a.row, a.col, a.width, a.height) <
               std::tie(b.row, b.col, b.width, b.height);
    });
    return list;
}

// Built through a stream: GCC 12 warns falsely (-Wrestrict) on "literal" + std::string.
template <typename... Parts> std::string cat(const Parts &...parts)
{
    std::ostringstream s;
    (s << ... << parts);
    return s.str();
}

std::string show(const Areas &list)
{
    std::string s;
    for (const TMergedArea &a : list)
        s += cat("(", a.col, ",", a.row, " ", a.width, "x", a.height, ")");
    return s.empty() ? "none" : s;
}

TMergedSpans spansOf(const Areas &list)
{
    TMergedSpans spans;
    for (const TMergedArea &a : list)
        EXPECT_TRUE(spans.merge(a.col, a.row, a.width, a.height).empty());
    return spans;
}

#define EXPECT_INVARIANTS(spans)                                                                   \
    do {                                                                                           \
        const QString fault = (spans).checkInvariants();                                           \
        EXPECT_TRUE(fault.isEmpty()) << fault.toStdString();                                       \
    } while (false)

TEST(MergedSpans, UncoveredCellsAnswerAsThemselves)
{
    TMergedSpans spans;
    spans.merge(5, 5, 2, 2);
    for (const TGridCoord cell :
         {TGridCoord{0, 0}, TGridCoord{4, 5}, TGridCoord{7, 6}, TGridCoord{5, 7}}) {
        SCOPED_TRACE(cat(cell.X, ",", cell.Y));
        const int c = cell.X;
        const int r = cell.Y;
        EXPECT_FALSE(spans.areaAt(c, r).has_value());
        EXPECT_TRUE(spans.isBaseCell(c, r));
        EXPECT_EQ(spans.baseCell(c, r), cell);
        int bc = -9, br = -9;
        EXPECT_TRUE(spans.findBaseCell(c, r, bc, br));
        EXPECT_EQ((TGridCoord{bc, br}), cell);
        EXPECT_EQ(spans.cellSpan(c, r), (TGridCoord{0, 0}));
        EXPECT_EQ(spans.cellExt(c, r), (TGridCoord{0, 0}));
        EXPECT_EQ(spans.fullCell(c, r), (TGridRect{c, r, c, r}));
        EXPECT_FALSE(spans.isMergedCell(c, r));
        EXPECT_EQ(spans.spansX(c, r), -1);
        EXPECT_EQ(spans.spansY(c, r), -1);
    }
}

// MergeCells(1, 1, 3, 2) seen from every cell of the area and its neighbours.
TEST(MergedSpans, ThreeByTwoAreaFromEveryCell)
{
    TMergedSpans spans;
    EXPECT_TRUE(spans.merge(1, 1, 3, 2).empty());
    struct Case
    {
        int c, r;
        TGridCoord base;
        TGridCoord span, ext;
        TGridRect full;
        bool merged, nonBase;
        int spanX, spanY;
    };
    const TGridRect area{1, 1, 3, 2};
    const Case cases[] = {
        {1, 1, {1, 1}, {2, 1}, {2, 1}, area, true, false, 2, 1},
        {2, 1, {1, 1}, {2, 1}, {1, 1}, area, true, true, 1, 0},
        {3, 1, {1, 1}, {2, 1}, {0, 1}, area, true, true, 2, 0},
        {1, 2, {1, 1}, {2, 1}, {2, 0}, area, true, true, 0, 1},
        {2, 2, {1, 1}, {2, 1}, {1, 0}, area, true, true, 1, 1},
        {3, 2, {1, 1}, {2, 1}, {0, 0}, area, true, true, 2, 1},
        {0, 1, {0, 1}, {0, 0}, {0, 0}, {0, 1, 0, 1}, false, false, -1, -1},
        {4, 2, {4, 2}, {0, 0}, {0, 0}, {4, 2, 4, 2}, false, false, -1, -1},
        {2, 3, {2, 3}, {0, 0}, {0, 0}, {2, 3, 2, 3}, false, false, -1, -1},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(cat(k.c, ",", k.r));
        EXPECT_EQ(spans.baseCell(k.c, k.r), k.base);
        int bc = -9, br = -9;
        EXPECT_EQ(spans.findBaseCell(k.c, k.r, bc, br), !k.nonBase);
        EXPECT_EQ((TGridCoord{bc, br}), k.base);
        EXPECT_EQ(spans.cellSpan(k.c, k.r), k.span);
        EXPECT_EQ(spans.cellExt(k.c, k.r), k.ext);
        EXPECT_EQ(spans.fullCell(k.c, k.r), k.full);
        EXPECT_EQ(spans.isMergedCell(k.c, k.r), k.merged);
        EXPECT_EQ(spans.isMergedNonBaseCell(k.c, k.r), k.nonBase);
        EXPECT_EQ(spans.isBaseCell(k.c, k.r), !k.nonBase);
        EXPECT_EQ(spans.isXMerged(k.c, k.r), k.merged);
        EXPECT_EQ(spans.isYMerged(k.c, k.r), k.merged);
        EXPECT_EQ(spans.spansX(k.c, k.r), k.spanX);
        EXPECT_EQ(spans.spansY(k.c, k.r), k.spanY);
    }
}

TEST(MergedSpans, SplitOnAnyCellRestoresTheWholeArea)
{
    const TMergedArea area{1, 1, 3, 2};
    for (int c = 1; c <= 3; ++c) {
        for (int r = 1; r <= 2; ++r) {
            SCOPED_TRACE(cat(c, ",", r));
            TMergedSpans spans = spansOf({area, {5, 0, 1, 4}});
            EXPECT_EQ(spans.split(c, r), area);
            for (int x = 1; x <= 3; ++x) {
                for (int y = 1; y <= 2; ++y) {
                    EXPECT_TRUE(spans.isBaseCell(x, y));
                    EXPECT_EQ(spans.spansX(x, y), -1);
                    EXPECT_EQ(spans.spansY(x, y), -1);
                }
            }
            EXPECT_EQ(spans.areas(), (Areas{{5, 0, 1, 4}}));
            EXPECT_FALSE(spans.split(c, r).has_value());
            EXPECT_INVARIANTS(spans);
        }
    }
}

TEST(MergedSpans, OneByOneMergeIsRecordedAsBaseWithZeroSpans)
{
    TMergedSpans spans;
    EXPECT_TRUE(spans.merge(2, 3, 1, 1).empty());
    EXPECT_EQ(spans.count(), 1);
    EXPECT_EQ(spans.areaAt(2, 3), (TMergedArea{2, 3, 1, 1}));
    EXPECT_FALSE(spans.isMergedCell(2, 3));
    EXPECT_FALSE(spans.isXMerged(2, 3));
    EXPECT_TRUE(spans.isBaseCell(2, 3));
    EXPECT_EQ(spans.cellSpan(2, 3), (TGridCoord{0, 0}));
    EXPECT_EQ(spans.spansX(2, 3), 0);
    EXPECT_EQ(spans.spansY(2, 3), 0);
    EXPECT_EQ(spans.split(2, 3), (TMergedArea{2, 3, 1, 1}));
    EXPECT_EQ(spans.count(), 0);
}

TEST(MergedSpans, MergeRemovesAndReportsTheAreasItOverlaps)
{
    const Areas start{{0, 0, 2, 2}, {3, 0, 2, 2}, {0, 5, 5, 1}};
    struct Case
    {
        const char *name;
        TMergedArea merged;
        Areas removed;
    };
    const Case cases[] = {
        {"bridges two", {1, 1, 3, 1}, {{0, 0, 2, 2}, {3, 0, 2, 2}}},
        {"fits between", {2, 0, 1, 5}, {}},
        {"same rectangle", {0, 0, 2, 2}, {{0, 0, 2, 2}}},
        {"covers all", {0, 0, 5, 6}, start},
        {"1x1 inside a row merge", {4, 5, 1, 1}, {{0, 5, 5, 1}}},
        {"reaches down into one", {4, 1, 1, 9}, {{3, 0, 2, 2}, {0, 5, 5, 1}}},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        TMergedSpans spans = spansOf(start);
        const TMergedArea m = k.merged;
        EXPECT_EQ(sorted(spans.merge(m.col, m.row, m.width, m.height)), sorted(k.removed));
        Areas expected;
        for (const TMergedArea &a : start)
            if (std::find(k.removed.begin(), k.removed.end(), a) == k.removed.end())
                expected.push_back(a);
        expected.push_back(m);
        EXPECT_EQ(spans.areas(), sorted(expected));
        EXPECT_INVARIANTS(spans);
    }
}

TEST(MergedSpans, EmptyOrUnrepresentableMerges)
{
    TMergedSpans spans = spansOf({{1, 1, 2, 2}});
    EXPECT_TRUE(spans.merge(1, 1, 0, 3).empty());
    EXPECT_TRUE(spans.merge(1, 1, 3, -1).empty());
    EXPECT_THROW(spans.merge(-1, 0, 2, 2), std::out_of_range);
    EXPECT_THROW(spans.merge(0, INT_MAX, 1, 2), std::out_of_range);
    EXPECT_EQ(spans.areas(), (Areas{{1, 1, 2, 2}}));
    EXPECT_THROW(spans.linesInserted(TGridAxis::Rows, -1, 1), std::out_of_range);
    EXPECT_THROW(spans.linesMoved(TGridAxis::Cols, 0, -1), std::out_of_range);
    EXPECT_EQ(spans.areas(), (Areas{{1, 1, 2, 2}}));
}

TEST(MergedSpans, RowAndColumnSpanQueries)
{
    // Columns 1-2 share two horizontal merges (rows 0 and 3) and are both unmerged elsewhere;
    // column 4 is merged with 5 in row 0 only; column 0 holds two 1-wide areas, rows 1-3 and
    // 4-5.
    TMergedSpans spans = spansOf(
        {{1, 0, 2, 1}, {1, 3, 3, 2}, {4, 0, 2, 1}, {0, 1, 1, 3}, {6, 2, 2, 4}, {0, 4, 1, 2}});
    const int cols = 8, rows = 10;
    struct ColCase
    {
        int c1, c2;
        bool identical;
    };
    const ColCase colCases[] = {
        {1, 2, true},                 // same merges where merged, unmerged together elsewhere
        {2, 1, true},  {1, 3, false}, // column 3 joins only the lower merge
        {8, 9, false},                // both unmerged everywhere
        {0, 9, false},                // a 1-wide area has span 0 like an unmerged cell
        {2, 4, false},                // different areas in row 0
        {6, 7, true},
    };
    for (const ColCase &k : colCases)
        EXPECT_EQ(spans.colSpanIdentical(k.c1, k.c2, rows), k.identical) << k.c1 << "," << k.c2;
    // Rows from rowCount on are not looked at.
    EXPECT_FALSE(spans.colSpanIdentical(6, 7, 2));
    EXPECT_TRUE(spans.colSpanIdentical(6, 7, 3));

    struct RowCase
    {
        int r1, r2;
        bool identical;
    };
    const RowCase rowCases[] = {
        {1, 3, true},  // column 0's upper area covers both
        {4, 5, true},  // columns 0 and 6-7 agree, the others are merged in one row only
        {3, 4, false}, // column 0 changes area even though columns 1-3 agree
        {7, 8, false}, // nothing vertically merged
    };
    for (const RowCase &k : rowCases)
        EXPECT_EQ(spans.rowSpanIdentical(k.r1, k.r2, cols), k.identical) << k.r1 << "," << k.r2;

    EXPECT_EQ(spans.minRowSpan(3, cols, rows), 1);
    EXPECT_EQ(spans.maxRowSpan(3, cols), 3);
    EXPECT_EQ(spans.minRowSpan(2, cols, rows), 2);
    EXPECT_EQ(spans.minRowSpan(0, cols, rows), rows);
    EXPECT_EQ(spans.maxRowSpan(0, cols), 0);
    EXPECT_EQ(spans.maxRowSpan(3, 6), 2); // the 4-high area lies past the counted columns
}

// Line operations, written along rows; each case also runs along columns with the areas
// transposed, since both axes share one implementation.
TEST(MergedSpans, LineOperationsAlongBothAxes)
{
    enum Op { Insert, Remove, Move };
    struct Case
    {
        const char *name;
        Areas before;
        Op op;
        int a, b;
        Areas after;
        Areas dropped;
    };
    const TMergedArea A{0, 2, 2, 3}; // rows 2..4
    const TMergedArea one{0, 2, 2, 1};
    const Case cases[] = {
        {"insert before", {A}, Insert, 1, 2, {{0, 4, 2, 3}}, {}},
        {"insert at base", {A}, Insert, 2, 1, {{0, 3, 2, 3}}, {}},
        {"insert inside", {A}, Insert, 3, 2, {{0, 2, 2, 5}}, {}},
        {"insert at last line", {A}, Insert, 4, 1, {{0, 2, 2, 4}}, {}},
        {"insert after", {A}, Insert, 5, 1, {A}, {}},
        {"remove before", {A}, Remove, 0, 2, {{0, 0, 2, 3}}, {}},
        {"remove all of it", {A}, Remove, 1, 5, {}, {A}},
        {"remove exactly it", {A}, Remove, 2, 3, {}, {A}},
        {"remove over the top", {A}, Remove, 1, 2, {{0, 1, 2, 2}}, {}},
        {"remove over the bottom", {A}, Remove, 4, 3, {{0, 2, 2, 2}}, {}},
        {"remove the middle", {A}, Remove, 3, 1, {{0, 2, 2, 2}}, {}},
        {"remove down to one line", {A}, Remove, 2, 2, {{0, 2, 2, 1}}, {}},
        {"remove after", {A}, Remove, 5, 4, {A}, {}},
        {"one-line area moves down", {one}, Move, 2, 6, {{0, 6, 2, 1}}, {}},
        {"one-line area moves up", {one}, Move, 2, 0, {{0, 0, 2, 1}}, {}},
        {"move inside", {A}, Move, 2, 4, {A}, {}},
        {"move a line out", {A}, Move, 3, 7, {}, {A}},
        {"move the base line out", {A}, Move, 2, 1, {}, {A}},
        {"move a line in from above", {A}, Move, 0, 3, {}, {A}},
        {"move a line in from below", {A}, Move, 6, 3, {}, {A}},
        {"move from above past it", {A}, Move, 0, 6, {{0, 1, 2, 3}}, {}},
        {"move from below above it", {A}, Move, 6, 0, {{0, 3, 2, 3}}, {}},
        {"move from above to its last line", {A}, Move, 0, 4, {{0, 1, 2, 3}}, {}},
        {"move from below to its base line", {A}, Move, 6, 2, {{0, 3, 2, 3}}, {}},
        {"move elsewhere", {A}, Move, 6, 7, {A}, {}},
        {"one torn, one moved into the gap", {A, {0, 6, 2, 1}}, Move, 6, 3, {{0, 3, 2, 1}}, {A}},
        {"areas beside the line count",
         {A, {3, 0, 1, 9}},
         Insert,
         3,
         1,
         {{0, 2, 2, 4}, {3, 0, 1, 10}},
         {}},
    };
    auto transpose = [](Areas list) {
        for (TMergedArea &a : list) {
            std::swap(a.col, a.row);
            std::swap(a.width, a.height);
        }
        return sorted(list);
    };
    for (const TGridAxis axis : {TGridAxis::Rows, TGridAxis::Cols}) {
        const bool cols = axis == TGridAxis::Cols;
        for (const Case &k : cases) {
            SCOPED_TRACE(cat(k.name, cols ? " (columns)" : " (rows)"));
            TMergedSpans spans = spansOf(cols ? transpose(k.before) : k.before);
            Areas dropped;
            switch (k.op) {
            case Insert:
                dropped = spans.linesInserted(axis, k.a, k.b);
                break;
            case Remove:
                dropped = spans.linesRemoved(axis, k.a, k.b);
                break;
            case Move:
                dropped = spans.linesMoved(axis, k.a, k.b);
                break;
            }
            EXPECT_EQ(show(spans.areas()), show(cols ? transpose(k.after) : sorted(k.after)));
            EXPECT_EQ(show(sorted(dropped)), show(cols ? transpose(k.dropped) : sorted(k.dropped)));
            EXPECT_INVARIANTS(spans);
        }
    }
}

// A deliberately plain model: every cell holds the id of the area covering it (or -1), rows of
// cells in a 2-D array; an area is the bounding box of its id's cells.
class Reference
{
public:
    Reference(int cols, int rows) : m_cells(rows, std::vector<int>(cols, -1)) {}

    int cols() const { return m_cells.empty() ? 0 : int(m_cells[0].size()); }
    int rows() const { return int(m_cells.size()); }
    int lines(TGridAxis axis) const { return axis == TGridAxis::Rows ? rows() : cols(); }

    std::map<int, TMergedArea> areas() const
    {
        std::map<int, TMergedArea> boxes;
        for (int r = 0; r < rows(); ++r) {
            for (int c = 0; c < cols(); ++c) {
                const int id = m_cells[r][c];
                if (id < 0)
                    continue;
                auto [it, fresh] = boxes.try_emplace(id, TMergedArea{c, r, 1, 1});
                TMergedArea &a = it->second;
                a.width = std::max(a.width, c - a.col + 1);
                a.height = std::max(a.height, r - a.row + 1);
            }
        }
        return boxes;
    }

    Areas merge(int c, int r, int w, int h)
    {
        const auto before = areas();
        std::set<int> hit;
        for (int y = r; y < r + h; ++y)
            for (int x = c; x < c + w; ++x)
                if (m_cells[y][x] >= 0)
                    hit.insert(m_cells[y][x]);
        for (int id : hit)
            erase(id);
        for (int y = r; y < r + h; ++y)
            for (int x = c; x < c + w; ++x)
                m_cells[y][x] = m_nextId;
        ++m_nextId;
        Areas removed;
        for (int id : hit)
            removed.push_back(before.at(id));
        return removed;
    }

    std::optional<TMergedArea> split(int c, int r)
    {
        const int id = m_cells[r][c];
        if (id < 0)
            return std::nullopt;
        const TMergedArea a = areas().at(id);
        erase(id);
        return a;
    }

    Areas insert(TGridAxis axis, int at, int count)
    {
        alongRows(axis, [&] {
            std::vector<int> line(cols(), -1);
            for (int c = 0; c < cols(); ++c) {
                // A new cell joins an area only when the lines on both sides of it are in it.
                const int above = at > 0 ? m_cells[at - 1][c] : -1;
                const int below = at < rows() ? m_cells[at][c] : -1;
                line[c] = above == below ? above : -1;
            }
            m_cells.insert(m_cells.begin() + at, count, line);
        });
        return {};
    }

    Areas remove(TGridAxis axis, int at, int count)
    {
        const auto before = areas();
        alongRows(axis, [&] { m_cells.erase(m_cells.begin() + at, m_cells.begin() + at + count); });
        return vanished(before);
    }

    Areas move(TGridAxis axis, int from, int to)
    {
        const auto before = areas();
        alongRows(axis, [&] {
            const std::vector<int> line = m_cells[from];
            m_cells.erase(m_cells.begin() + from);
            m_cells.insert(m_cells.begin() + to, line);
        });
        // An id whose cells no longer fill their bounding box was torn apart.
        std::map<int, int> cellCount;
        for (const auto &row : m_cells)
            for (int id : row)
                if (id >= 0)
                    ++cellCount[id];
        for (const auto &[id, a] : areas())
            if (cellCount[id] != a.width * a.height)
                erase(id);
        return vanished(before);
    }

private:
    void erase(int id)
    {
        for (auto &row : m_cells)
            std::replace(row.begin(), row.end(), id, -1);
    }

    Areas vanished(const std::map<int, TMergedArea> &before) const
    {
        const auto now = areas();
        Areas gone;
        for (const auto &[id, a] : before)
            if (!now.count(id))
                gone.push_back(a);
        return gone;
    }

    // Column operations are row operations on the transposed grid.
    template <typename F> void alongRows(TGridAxis axis, F &&op)
    {
        if (axis == TGridAxis::Cols)
            transpose();
        op();
        if (axis == TGridAxis::Cols)
            transpose();
    }

    void transpose()
    {
        std::vector<std::vector<int>> t(cols(), std::vector<int>(rows()));
        for (int r = 0; r < rows(); ++r)
            for (int c = 0; c < cols(); ++c)
                t[c][r] = m_cells[r][c];
        m_cells = std::move(t);
    }

    std::vector<std::vector<int>> m_cells;
    int m_nextId = 0;
};

// Every query against the model's areas, cell by cell, and the span comparisons from their
// definitions.
void expectSame(const TMergedSpans &spans, const Reference &ref)
{
    const auto refAreas = ref.areas();
    Areas expected;
    for (const auto &entry : refAreas)
        expected.push_back(entry.second);
    ASSERT_EQ(show(spans.areas()), show(sorted(expected)));
    ASSERT_EQ(spans.count(), int(expected.size()));

    const int cols = ref.cols(), rows = ref.rows();
    std::vector<std::vector<std::optional<TMergedArea>>> at(
        rows, std::vector<std::optional<TMergedArea>>(cols));
    for (const TMergedArea &a : expected)
        for (int r = a.row; r <= a.lastRow(); ++r)
            for (int c = a.col; c <= a.lastCol(); ++c)
                at[r][c] = a;
    auto span = [&](int c, int r) {
        return at[r][c] ? TGridCoord{at[r][c]->width - 1, at[r][c]->height - 1} : TGridCoord{0, 0};
    };
    auto base = [&](int c, int r) {
        return at[r][c] ? TGridCoord{at[r][c]->col, at[r][c]->row} : TGridCoord{c, r};
    };
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const std::optional<TMergedArea> &a = at[r][c];
            ASSERT_EQ(spans.areaAt(c, r), a) << c << "," << r;
            const bool isBase = !a || (a->col == c && a->row == r);
            ASSERT_EQ(spans.isBaseCell(c, r), isBase);
            ASSERT_EQ(spans.baseCell(c, r), base(c, r));
            ASSERT_EQ(spans.spansX(c, r), !a ? -1 : isBase ? a->width - 1 : c - a->col);
            ASSERT_EQ(spans.spansY(c, r), !a ? -1 : isBase ? a->height - 1 : r - a->row);
        }
    }

    for (int r = 0; r < rows; ++r) {
        int lo = rows, hi = 0;
        for (int c = 0; c < cols; ++c) {
            if (span(c, r).Y > 0)
                lo = std::min(lo, span(c, r).Y);
            hi = std::max(hi, span(c, r).Y);
        }
        ASSERT_EQ(spans.minRowSpan(r, cols, rows), lo) << r;
        ASSERT_EQ(spans.maxRowSpan(r, cols), hi) << r;
        for (int r2 = r + 1; r2 < rows; ++r2) {
            bool identical = false, differ = false;
            for (int c = 0; c < cols; ++c) {
                if (span(c, r).Y > 0 && span(c, r2).Y > 0) {
                    differ = differ || base(c, r).Y != base(c, r2).Y;
                    identical = true;
                }
            }
            ASSERT_EQ(spans.rowSpanIdentical(r, r2, cols), identical && !differ) << r << "," << r2;
        }
    }
    for (int c1 = 0; c1 < cols; ++c1) {
        for (int c2 = c1 + 1; c2 < cols; ++c2) {
            bool both = false, fails = false;
            for (int r = 0; r < rows; ++r) {
                const int s1 = span(c1, r).X, s2 = span(c2, r).X;
                if (s1 > 0 && s2 > 0) {
                    fails = fails || base(c1, r).X != base(c2, r).X;
                    both = true;
                } else {
                    fails = fails || s1 != s2;
                }
            }
            ASSERT_EQ(spans.colSpanIdentical(c1, c2, rows), both && !fails) << c1 << "," << c2;
        }
    }
}

TEST(MergedSpans, RandomOperationsMatchAPlainModel)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(cat("seed ", seed));
        std::mt19937 rng(seed);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        TMergedSpans spans;
        Reference ref(8, 9);
        for (int step = 0; step < 200; ++step) {
            const TGridAxis axis = pick(0, 1) ? TGridAxis::Rows : TGridAxis::Cols;
            const int n = ref.lines(axis);
            Areas got, want;
            std::string what;
            switch (pick(0, 9)) {
            case 0:
            case 1:
            case 2: {
                const int c = pick(0, ref.cols() - 1), r = pick(0, ref.rows() - 1);
                const int w = pick(1, std::min(4, ref.cols() - c));
                const int h = pick(1, std::min(4, ref.rows() - r));
                what = "merge";
                got = spans.merge(c, r, w, h);
                want = ref.merge(c, r, w, h);
                break;
            }
            case 3: {
                const int c = pick(0, ref.cols() - 1), r = pick(0, ref.rows() - 1);
                what = "split";
                const auto a = spans.split(c, r);
                ASSERT_EQ(a, ref.split(c, r));
                break;
            }
            case 4:
            case 5:
                if (n < 14) {
                    const int at = pick(0, n), count = pick(1, 3);
                    what = cat("insert ", at, "+", count);
                    got = spans.linesInserted(axis, at, count);
                    want = ref.insert(axis, at, count);
                }
                break;
            case 6:
            case 7:
                if (n > 3) {
                    const int at = pick(0, n - 2), count = pick(1, std::min(3, n - 2 - at + 1));
                    what = cat("remove ", at, "+", count);
                    got = spans.linesRemoved(axis, at, count);
                    want = ref.remove(axis, at, count);
                }
                break;
            default: {
                const int from = pick(0, n - 1), to = pick(0, n - 1);
                what = cat("move ", from, "->", to);
                got = spans.linesMoved(axis, from, to);
                want = ref.move(axis, from, to);
                break;
            }
            }
            SCOPED_TRACE(
                cat("step ", step, " ", what, axis == TGridAxis::Rows ? " rows" : " cols"));
            ASSERT_EQ(show(sorted(got)), show(sorted(want)));
            const QString fault = spans.checkInvariants();
            ASSERT_TRUE(fault.isEmpty()) << fault.toStdString();
            expectSame(spans, ref);
            if (HasFatalFailure())
                return;
        }
    }
}

// Areas far apart on a long grid, including tall ones, are found by lookup alone.
TEST(MergedSpans, ManyAreasOnALongGrid)
{
    TMergedSpans spans;
    for (int i = 0; i < 10000; ++i)
        spans.merge(i % 5 * 3, i * 100, 2, i % 7 == 0 ? 90 : 1);
    EXPECT_EQ(spans.count(), 10000);
    EXPECT_INVARIANTS(spans);
    EXPECT_EQ(spans.baseCell(1, 700089), (TGridCoord{0, 700000}));
    EXPECT_FALSE(spans.areaAt(1, 700090).has_value());
    EXPECT_EQ(spans.baseCell(13, 999900), (TGridCoord{12, 999900}));
    EXPECT_TRUE(spans.isBaseCell(2, 700050));

    EXPECT_TRUE(spans.linesInserted(TGridAxis::Rows, 700050, 5).empty());
    EXPECT_EQ(spans.fullCell(0, 700094), (TGridRect{0, 700000, 1, 700094}));
    EXPECT_EQ(spans.baseCell(13, 999905), (TGridCoord{12, 999905}));
    EXPECT_EQ(spans.linesRemoved(TGridAxis::Rows, 0, 500000).size(), 5000u);
    EXPECT_EQ(spans.count(), 5000);
    EXPECT_INVARIANTS(spans);
}

// An area that lines inserted before it would push past the largest index cannot be kept.
TEST(MergedSpans, InsertingPastTheIndexRangeDropsTheArea)
{
    TMergedSpans spans = spansOf({{0, INT_MAX - 3, 1, 2}, {2, 5, 1, 1}});
    EXPECT_EQ(spans.linesInserted(TGridAxis::Rows, 0, 3), (Areas{{0, INT_MAX - 3, 1, 2}}));
    EXPECT_EQ(spans.areas(), (Areas{{2, 8, 1, 1}}));
    EXPECT_INVARIANTS(spans);
}

} // namespace
