// Row marks: selection flags and order, selected cells, modified and disabled rows, and how they
// follow line operations, checked against a model that keeps the marks on line objects.
#include "grid/model/QrlRowMarks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <stdexcept>
#include <vector>

using plat::TGridCoord;
using plat::TGridRect;

namespace {

// Each line is an object carrying its marks; line operations are plain vector edits, and the
// orders are stamps compared at the end.
struct Model
{
    struct Row
    {
        bool sel = false;
        long order = -1;
        bool modified = false;
        bool disabled = false;
    };
    std::vector<Row> rows;
    std::vector<bool> cols;
    std::vector<std::vector<long>> cells; // [col][row] -> stamp, -1 none
    long stamp = 0;

    Model(int nCols, int nRows)
        : rows(nRows), cols(nCols), cells(nCols, std::vector<long>(nRows, -1))
    {}
    int nRows() const { return int(rows.size()); }
    int nCols() const { return int(cols.size()); }

    template <typename T> static void insert(std::vector<T> &v, int at, int n, const T &x)
    {
        v.insert(v.begin() + at, n, x);
    }
    template <typename T> static void remove(std::vector<T> &v, int at, int n)
    {
        v.erase(v.begin() + at, v.begin() + at + n);
    }
    template <typename T> static void move(std::vector<T> &v, int from, int to, int n)
    {
        std::vector<T> block(v.begin() + from, v.begin() + from + n);
        v.erase(v.begin() + from, v.begin() + from + n);
        v.insert(v.begin() + to, block.begin(), block.end());
    }

    void inserted(TGridAxis axis, int at, int n)
    {
        if (axis == TGridAxis::Rows) {
            insert(rows, at, n, Row{});
            for (auto &c : cells)
                insert(c, at, n, -1L);
        } else {
            insert(cols, at, n, false);
            insert(cells, at, n, std::vector<long>(nRows(), -1));
        }
    }
    void removed(TGridAxis axis, int at, int n)
    {
        if (axis == TGridAxis::Rows) {
            remove(rows, at, n);
            for (auto &c : cells)
                remove(c, at, n);
        } else {
            remove(cols, at, n);
            remove(cells, at, n);
        }
    }
    void moved(TGridAxis axis, int from, int to, int n)
    {
        if (axis == TGridAxis::Rows) {
            move(rows, from, to, n);
            for (auto &c : cells)
                move(c, from, to, n);
        } else {
            move(cols, from, to, n);
            move(cells, from, to, n);
        }
    }
    void cellsFromRect(const TGridRect &r)
    {
        for (auto &c : cells)
            std::fill(c.begin(), c.end(), -1);
        for (int c = r.Left; c <= r.Right; ++c)
            for (int row = r.Top; row <= r.Bottom; ++row)
                cells[c][row] = ++stamp;
    }

    std::vector<int> selectedRows() const
    {
        std::map<long, int> byOrder;
        for (int r = 0; r < nRows(); ++r)
            if (rows[r].order >= 0)
                byOrder[rows[r].order] = r;
        std::vector<int> out;
        for (auto &[o, r] : byOrder)
            out.push_back(r);
        return out;
    }
    std::vector<TGridCoord> selectedCells() const
    {
        std::map<long, TGridCoord> byOrder;
        for (int c = 0; c < nCols(); ++c)
            for (int r = 0; r < nRows(); ++r)
                if (cells[c][r] >= 0)
                    byOrder[cells[c][r]] = {c, r};
        std::vector<TGridCoord> out;
        for (auto &[o, cell] : byOrder)
            out.push_back(cell);
        return out;
    }
};

std::vector<TGridCoord> cellsOf(const TRowMarks &m)
{
    std::vector<TGridCoord> out;
    for (int i = 0; i < m.cellCount(); ++i)
        out.push_back(m.cellAt(i));
    return out;
}

void expectSame(const TRowMarks &marks, const Model &model, const std::string &where)
{
    SCOPED_TRACE(where);
    ASSERT_EQ(marks.checkInvariants(), QString());
    int selected = 0, modified = 0;
    for (int r = 0; r < model.nRows(); ++r) {
        ASSERT_EQ(marks.rowSelected(r), model.rows[r].sel) << "row " << r;
        ASSERT_EQ(marks.rowModified(r), model.rows[r].modified) << "row " << r;
        ASSERT_EQ(marks.rowEnabled(r), !model.rows[r].disabled) << "row " << r;
        selected += model.rows[r].sel;
        modified += model.rows[r].modified;
    }
    ASSERT_EQ(marks.rowSelectCount(model.nRows()), selected);
    ASSERT_EQ(marks.modifiedRowCount(), modified);
    ASSERT_EQ(marks.selectedRows(), model.selectedRows());
    int cols = 0;
    for (int c = 0; c < model.nCols(); ++c) {
        ASSERT_EQ(marks.colSelected(c), bool(model.cols[c])) << "col " << c;
        cols += model.cols[c];
    }
    ASSERT_EQ(marks.colSelectCount(), cols);
    ASSERT_EQ(cellsOf(marks), model.selectedCells());
}

TEST(RowMarks, FollowsRandomOperationsLikeTheLineModel)
{
    for (unsigned seed = 1; seed <= 150; ++seed) {
        std::mt19937 rng(seed);
        auto pick = [&rng](int lo, int hi) { // inclusive
            return std::uniform_int_distribution<int>(lo, hi)(rng);
        };
        TRowMarks marks;
        Model model(8, 20);
        for (int step = 0; step < 250; ++step) {
            const int op = pick(0, 13);
            const TGridAxis axis = pick(0, 1) ? TGridAxis::Rows : TGridAxis::Cols;
            const int lines = axis == TGridAxis::Rows ? model.nRows() : model.nCols();
            std::string what = "seed " + std::to_string(seed) + " step " + std::to_string(step);
            switch (op) {
            case 0:
            case 1: {
                const int r = pick(0, model.nRows() - 1);
                const bool listIt = pick(0, 3) != 0;
                marks.selectRow(r, listIt);
                model.rows[r].sel = true;
                if (listIt && model.rows[r].order < 0)
                    model.rows[r].order = ++model.stamp;
                break;
            }
            case 2: {
                const int r = pick(0, model.nRows() - 1);
                marks.unselectRow(r);
                model.rows[r].sel = false;
                model.rows[r].order = -1;
                break;
            }
            case 3: {
                const int c = pick(0, model.nCols() - 1);
                const bool v = pick(0, 1);
                marks.setColSelected(c, v);
                model.cols[c] = v;
                break;
            }
            case 4: {
                const int c = pick(0, model.nCols() - 1), r = pick(0, model.nRows() - 1);
                const bool v = pick(0, 2) != 0;
                marks.setCellSelected(c, r, v);
                long &s = model.cells[c][r];
                if (!v)
                    s = -1;
                else if (s < 0)
                    s = ++model.stamp;
                break;
            }
            case 5: {
                const int c1 = pick(0, model.nCols() - 1), c2 = pick(0, model.nCols() - 1);
                const int r1 = pick(0, model.nRows() - 1), r2 = pick(0, model.nRows() - 1);
                marks.setCellsFromRect({c1, r1, c2, r2});
                model.cellsFromRect(
                    {std::min(c1, c2), std::min(r1, r2), std::max(c1, c2), std::max(r1, r2)});
                break;
            }
            case 6: {
                const int r = pick(0, model.nRows() - 1);
                const bool v = pick(0, 1);
                marks.setRowModified(r, v);
                model.rows[r].modified = v;
                const int e = pick(0, model.nRows() - 1);
                const bool en = pick(0, 1);
                marks.setRowEnabled(e, en);
                model.rows[e].disabled = !en;
                break;
            }
            case 7:
            case 8: {
                if (lines >= 40)
                    break;
                const int at = pick(0, lines), n = pick(1, 3);
                marks.linesInserted(axis, at, n);
                model.inserted(axis, at, n);
                what += " insert " + std::to_string(at) + "+" + std::to_string(n);
                break;
            }
            case 9:
            case 10: {
                if (lines <= 6)
                    break;
                const int n = pick(1, 3), at = pick(0, lines - n);
                marks.linesRemoved(axis, at, n);
                model.removed(axis, at, n);
                what += " remove " + std::to_string(at) + "+" + std::to_string(n);
                break;
            }
            case 11:
            case 12: {
                const int n = pick(1, 3);
                const int from = pick(0, lines - n), to = pick(0, lines - n);
                marks.linesMoved(axis, from, to, n);
                model.moved(axis, from, to, n);
                what += " move " + std::to_string(from) + "->" + std::to_string(to) + " x" +
                        std::to_string(n);
                break;
            }
            case 13:
                switch (pick(0, 9)) {
                case 0:
                    marks.clearRowSelect();
                    for (auto &row : model.rows)
                        row.sel = false, row.order = -1;
                    break;
                case 1:
                    marks.clearColSelect();
                    std::fill(model.cols.begin(), model.cols.end(), false);
                    break;
                case 2:
                    marks.clearCells();
                    for (auto &c : model.cells)
                        std::fill(c.begin(), c.end(), -1);
                    break;
                case 3:
                    marks.clearModifiedRows();
                    for (auto &row : model.rows)
                        row.modified = false;
                    break;
                default:
                    break;
                }
                break;
            }
            expectSame(marks, model, what);
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
}

TEST(RowMarks, SelectionOrderKeepsFirstSelectionAndDropsUnselected)
{
    struct Case
    {
        const char *name;
        std::vector<std::pair<int, bool>> steps; // row, select (listed) or unselect
        std::vector<int> order;
        int flagged;
    };
    const Case cases[] = {
        {"reselect keeps its place", {{3, true}, {5, true}, {3, true}}, {3, 5}, 2},
        {"unselect then select moves to the end",
         {{3, true}, {5, true}, {3, false}, {3, true}},
         {5, 3},
         2},
        {"unselecting an unselected row changes nothing", {{4, false}, {2, true}}, {2}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TRowMarks m;
        for (auto [row, select] : c.steps)
            select ? m.selectRow(row, true) : m.unselectRow(row);
        EXPECT_EQ(m.selectedRows(), c.order);
        EXPECT_EQ(m.rowSelectCount(100), c.flagged);
        EXPECT_EQ(m.checkInvariants(), QString());
    }
}

TEST(RowMarks, UnlistedRowsAreFlaggedButNotInTheOrder)
{
    TRowMarks m;
    EXPECT_TRUE(m.selectRow(0, false)); // a fixed row
    EXPECT_TRUE(m.selectRow(2, true));
    EXPECT_FALSE(m.selectRow(2, true));
    EXPECT_EQ(m.selectedRows(), std::vector<int>{2});
    EXPECT_EQ(m.rowSelectCount(10), 2);
    EXPECT_EQ(m.rowSelectCount(1), 1);
    EXPECT_EQ(m.flaggedRows(), (std::vector<int>{0, 2}));
}

TEST(RowMarks, UnselectingMostOfALargeSelectionKeepsTheOrder)
{
    TRowMarks m;
    const int n = 200000;
    for (int r = n - 1; r >= 0; --r)
        m.selectRow(r, true);
    for (int r = 0; r < n; ++r)
        if (r % 1000 != 7)
            m.unselectRow(r);
    EXPECT_EQ(m.selectedRowCount(), n / 1000);
    EXPECT_EQ(m.selectedRow(0), n - 1000 + 7); // selected first: the highest
    EXPECT_EQ(m.selectedRow(n / 1000 - 1), 7);
    EXPECT_EQ(m.selectedRow(n / 1000), -1);
    EXPECT_EQ(m.selectedRow(-1), -1);
    EXPECT_EQ(m.checkInvariants(), QString());
}

TEST(RowMarks, ListLengthGrowsOnDemandWithoutStorage)
{
    TRowMarks m;
    EXPECT_EQ(m.rowListLength(), 0);
    m.extendRowList(7);
    EXPECT_EQ(m.rowListLength(), 8);
    m.extendRowList(2'000'000'000);
    EXPECT_EQ(m.rowListLength(), 2'000'000'001);
    EXPECT_FALSE(m.rowSelected(1'999'999'999));
    EXPECT_EQ(m.rowSelectCount(INT_MAX), 0);
    m.extendColList(4);
    EXPECT_EQ(m.colListLength(), 5);
    EXPECT_EQ(m.checkInvariants(), QString());
}

TEST(RowMarks, CellsFromARectangleGoColumnByColumn)
{
    TRowMarks m;
    m.setCellsFromRect({2, 2, 1, 1}); // corners in either order
    EXPECT_EQ(cellsOf(m), (std::vector<TGridCoord>{{1, 1}, {1, 2}, {2, 1}, {2, 2}}));
    EXPECT_TRUE(m.cellSelected(2, 1));
    EXPECT_FALSE(m.cellSelected(3, 1));
    EXPECT_THROW(m.cellAt(4), std::out_of_range);
    EXPECT_THROW(m.cellAt(-1), std::out_of_range);
    // Changing the list turns the rectangle into its cells first.
    EXPECT_TRUE(m.setCellSelected(5, 5, true));
    EXPECT_FALSE(m.setCellSelected(5, 5, true));
    EXPECT_TRUE(m.setCellSelected(1, 2, false));
    EXPECT_EQ(cellsOf(m), (std::vector<TGridCoord>{{1, 1}, {2, 1}, {2, 2}, {5, 5}}));
    EXPECT_EQ(m.checkInvariants(), QString());
}

TEST(RowMarks, LargeRectangleCountsAndFollowsLinesBeforeIt)
{
    TRowMarks m;
    m.setCellsFromRect({1, 10, 40, 999'999});
    EXPECT_EQ(m.cellCount(), 40 * 999'990);
    m.linesInserted(TGridAxis::Rows, 3, 5);
    m.linesRemoved(TGridAxis::Cols, 0, 1);
    m.linesMoved(TGridAxis::Rows, 0, 1, 2);
    EXPECT_EQ(m.cellAt(0), (TGridCoord{0, 15}));
    EXPECT_EQ(m.cellAt(m.cellCount() - 1), (TGridCoord{39, 1'000'004}));
}

TEST(RowMarks, CellsPastTheSixteenBitRowStayExact)
{
    TRowMarks m;
    m.setCellSelected(3, 70'000, true);
    m.setCellSelected(70'000, 3, true);
    EXPECT_EQ(m.cellAt(0), (TGridCoord{3, 70'000}));
    EXPECT_EQ(m.cellAt(1), (TGridCoord{70'000, 3}));
    EXPECT_TRUE(m.cellSelected(3, 70'000));
    EXPECT_FALSE(m.cellSelected(3, 70'000 - 65'536));
}

TEST(RowMarks, EnabledRowsAreOnUnlessDisabled)
{
    TRowMarks m;
    EXPECT_TRUE(m.rowEnabled(3));
    EXPECT_FALSE(m.usesEnabledRows());
    m.setRowEnabled(3, true);
    EXPECT_TRUE(m.usesEnabledRows());
    m.setRowEnabled(3, false);
    EXPECT_FALSE(m.rowEnabled(3));
    EXPECT_TRUE(m.rowEnabled(4));
    EXPECT_TRUE(m.rowEnabled(-1));
    m.linesRemoved(TGridAxis::Rows, 0, 1);
    EXPECT_FALSE(m.rowEnabled(2));
}

} // namespace

namespace {

TEST(RowMarks, EachPartFollowsOnlyItsOwnNumbering)
{
    // Flags by display row, row states by real row: a line operation names its parts.
    TRowMarks m;
    m.selectRow(5, true);
    m.setRowModified(5, true);
    m.setCellSelected(1, 5, true);
    m.linesInserted(TGridAxis::Rows, 2, 1, TRowMarks::Flags);
    m.linesInserted(TGridAxis::Rows, 7, 1, TRowMarks::RowStates);
    EXPECT_TRUE(m.rowSelected(6));
    EXPECT_EQ(m.selectedRows(), std::vector<int>{6});
    EXPECT_TRUE(m.rowModified(5));
    EXPECT_TRUE(m.cellSelected(1, 5));
    m.linesRemoved(TGridAxis::Rows, 0, 1, TRowMarks::Cells);
    EXPECT_TRUE(m.cellSelected(1, 4));
    EXPECT_TRUE(m.rowSelected(6));
    EXPECT_EQ(m.checkInvariants(), QString());
}

} // namespace
