// Sorting the string grid: what moves with a row, what stays, the cursor, groups, the unsort,
// and a random run of sorts, filters, unsorts and row operations against a reference model.
#include "GridFaults.h"
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <vector>

namespace {

class SortTest : public ::testing::Test
{
protected:
    void SetUp() override { grid = std::make_unique<TQrlStringGrid>(); }

    // Column 0 names the row ("r<n>"); columns 1 .. hold the given texts.
    void fill(const std::vector<QStringList> &rows)
    {
        grid->SetColCount(int(rows.front().size()) + 1);
        grid->SetRowCount(int(rows.size()) + 1);
        for (int r = 0; r < int(rows.size()); ++r) {
            grid->SetGridCell(0, r + 1, QStringLiteral("r%1").arg(r + 1));
            for (int c = 0; c < int(rows[r].size()); ++c)
                grid->SetGridCell(c + 1, r + 1, rows[r][c]);
        }
    }
    QStringList names() const { return columnTexts(*grid, 0).mid(1); }
    QStringList column(int c) const { return columnTexts(*grid, c).mid(1); }

    std::unique_ptr<TQrlStringGrid> grid;
};

TEST_F(SortTest, NothingToSortChangesNothing)
{
    fill({{"b"}, {"a"}, {"c"}});
    grid->SetRow(2);
    grid->SortSettings()->SetColumn(-1);
    grid->QSort();
    EXPECT_EQ(names(), QStringList({"r1", "r2", "r3"}));
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Swaps(), 0);
    EXPECT_EQ(grid->UnSortedRowIndex(1), 1); // no cross-reference yet

    TQrlStringGrid one;
    one.SetRowCount(1);
    one.SortSettings()->SetColumn(3);
    one.SortByColumn(1);
    EXPECT_EQ(one.SortSettings()->Column(), 3);

    try {
        grid->QSortIndexed();
        ADD_FAILURE() << "an empty index list must be refused";
    } catch (const EQrlGridError &e) {
        EXPECT_STREQ(e.what(), "No indexes specified for indexed sort");
    }
    EXPECT_EQ(names(), QStringList({"r1", "r2", "r3"}));
}

TEST_F(SortTest, OrdersByColumnWithTieBreaksAndKeepsEqualRowsInOrder)
{
    fill({{"10", "b", "x"}, {"9", "a", "x"}, {"10", "a", "x"}, {"100", "b", "x"}, {"9", "a", "x"}});
    grid->Sort(1, TSortDirection::sdAscending);
    EXPECT_EQ(column(1), QStringList({"9", "9", "10", "10", "100"}));
    // r2 and r5 are equal in every sorted column: they keep their order.
    EXPECT_EQ(names(), QStringList({"r2", "r5", "r3", "r1", "r4"}));
    grid->Sort(1, TSortDirection::sdDescending);
    EXPECT_EQ(names(), QStringList({"r4", "r1", "r3", "r2", "r5"}));
    EXPECT_EQ(grid->SortDir(), -1);

    // Without Full, ties stay in the order they stood.
    grid->SortSettings()->SetFull(false);
    grid->Sort(2, TSortDirection::sdAscending);
    EXPECT_EQ(names(), QStringList({"r3", "r2", "r5", "r4", "r1"}));

    // Indexed: column 2 descending first, then column 1 ascending.
    grid->SortSettings()->SetFull(true);
    grid->SortIndexes().Clear();
    grid->SortIndexes().Add(int(2u | 0x80000000u));
    grid->SortIndexes().Add(1);
    grid->QSortIndexed();
    EXPECT_EQ(names(), QStringList({"r1", "r4", "r2", "r5", "r3"}));
}

TEST_F(SortTest, StylesOrderAsUsersExpect)
{
    struct Case
    {
        const char *what;
        TSortStyle style;
        QStringList texts, sorted;
    };
    const Case cases[] = {
        {"numbers",
         TSortStyle::ssAutomatic,
         {"10", "-2", "3.5", "100"},
         {"-2", "3.5", "10", "100"}},
        {"words",
         TSortStyle::ssAutomatic,
         {"pear", "Apple", "apple", "Pear"},
         {"Apple", "Pear", "apple", "pear"}},
        {"no case",
         TSortStyle::ssAlphaNoCase,
         {"pear", "Apple", "banana"},
         {"Apple", "banana", "pear"}},
        {"alphanumeric",
         TSortStyle::ssAlphaNumeric,
         {"10", "9", "x", "100"},
         {"9", "10", "100", "x"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<QStringList> rows;
        for (const QString &t : c.texts)
            rows.push_back({t});
        fill(rows);
        grid->OnGetFormat = [&](QObject *, int, TSortStyle &s, QString &, QString &) {
            s = c.style;
        };
        grid->Sort(1, TSortDirection::sdAscending);
        EXPECT_EQ(column(1), c.sorted);
    }
}

TEST_F(SortTest, CustomCompareHandlerDecides)
{
    fill({{"bb"}, {"a"}, {"ccc"}});
    grid->OnGetFormat = [](QObject *, int, TSortStyle &s, QString &, QString &) {
        s = TSortStyle::ssCustom;
    };
    grid->OnCustomCompare = [](QObject *, const QString &a, const QString &b, int &res) {
        res = a.size() < b.size() ? 1 : (a.size() > b.size() ? -1 : 0); // longest first
    };
    grid->Sort(1, TSortDirection::sdAscending);
    EXPECT_EQ(column(1), QStringList({"ccc", "bb", "a"}));

    // A handler that contradicts itself cannot break the sort: the rows are only reordered.
    std::mt19937 rng(3);
    grid->OnCustomCompare = [&](QObject *, const QString &, const QString &, int &res) {
        res = int(rng() % 3) - 1;
    };
    grid->SetRowCount(200);
    for (int r = 1; r < 200; ++r)
        grid->SetGridCell(1, r, QString::number(r));
    grid->Sort(1, TSortDirection::sdAscending);
    QStringList after = column(1);
    std::sort(after.begin(), after.end());
    QStringList before;
    for (int r = 1; r < 200; ++r)
        before << QString::number(r);
    std::sort(before.begin(), before.end());
    EXPECT_EQ(after, before);
}

// Heights, cell properties, modified flags and one-row merged areas go with their rows; the
// unsort brings back exactly the order before the first sort, and a second one moves nothing.
TEST_F(SortTest, SortSortUnsortRoundTripWithCompanions)
{
    fill({{"3", "c"}, {"1", "a"}, {"4", "d"}, {"1", "b"}, {"5", "e"}, {"9", "f"}, {"2", "g"}});
    grid->SetColCount(5);
    grid->ShowModified()->SetEnabled(true);
    for (int r = 1; r < grid->RowCount(); ++r) {
        grid->SetRowHeights(r, 20 + r);
        grid->SetGridCell(3, r, QStringLiteral("m%1").arg(r));
    }
    grid->SetColors(2, 3, 0x123456);
    grid->SetRowModified(5, true);
    grid->MergeCells(3, 4, 2, 1);
    const QStringList before0 = column(0);
    const QStringList before1 = column(1);

    grid->Sort(1, TSortDirection::sdAscending);
    ASSERT_EQ(propsFault(*grid), "");
    // Follow r3 (colour), r4 (merged area) and r5 (modified) to wherever they went.
    const QStringList sorted = names();
    const int at3 = int(sorted.indexOf("r3")) + 1;
    const int at4 = int(sorted.indexOf("r4")) + 1;
    const int at5 = int(sorted.indexOf("r5")) + 1;
    EXPECT_EQ(grid->GetColors(2, at3), TColor(0x123456));
    EXPECT_EQ(grid->RowHeights(at3), 23);
    EXPECT_EQ(grid->CellSpan(3, at4).X, 1);
    EXPECT_EQ(grid->GetCellEx(4, at4), "m4"); // the covered cell shows the base's text
    EXPECT_TRUE(grid->GetRowModified(at5));
    EXPECT_EQ(grid->SortedRowIndex(at3), 3);
    EXPECT_EQ(grid->UnSortedRowIndex(3), at3);
    EXPECT_EQ(grid->GetUnSortedCell(1, 3), "4");

    grid->Sort(2, TSortDirection::sdDescending);
    ASSERT_EQ(propsFault(*grid), "");
    grid->QUnSort();
    ASSERT_EQ(propsFault(*grid), "");
    EXPECT_EQ(column(0), before0);
    EXPECT_EQ(column(1), before1);
    for (int r = 1; r < grid->RowCount(); ++r)
        EXPECT_EQ(grid->RowHeights(r), 20 + r) << r;
    EXPECT_EQ(grid->GetColors(2, 3), TColor(0x123456));
    EXPECT_TRUE(grid->GetRowModified(5));
    EXPECT_FALSE(grid->GetRowModified(3));
    EXPECT_EQ(grid->CellSpan(3, 4).X, 1);

    const int swaps = grid->Swaps();
    grid->QUnSort();
    EXPECT_EQ(grid->Swaps(), swaps);
}

TEST_F(SortTest, MergedAreasOverSeveralRowsAreSplitWhenTheirRowsPart)
{
    fill({{"3"}, {"1"}, {"2"}});
    grid->MergeCells(1, 1, 1, 2);
    grid->Sort(1, TSortDirection::sdAscending);
    EXPECT_EQ(propsFault(*grid), "");
    EXPECT_EQ(grid->MergedSpans().count(), 0);
}

TEST_F(SortTest, WhatStaysInPlace)
{
    // Single column: only the sort column's cells move.
    fill({{"3", "x3"}, {"1", "x1"}, {"2", "x2"}});
    grid->SetRowHeights(1, 40);
    grid->SortSettings()->SetSingleColumn(true);
    grid->Sort(1, TSortDirection::sdAscending);
    EXPECT_EQ(column(1), QStringList({"1", "2", "3"}));
    EXPECT_EQ(column(2), QStringList({"x3", "x1", "x2"}));
    EXPECT_EQ(names(), QStringList({"r1", "r2", "r3"}));
    EXPECT_EQ(grid->RowHeights(1), 40);

    // Normal cells only: column 0 (row numbers here) stays.
    grid->SortSettings()->SetSingleColumn(false);
    grid->SortSettings()->SetNormalCellsOnly(true);
    fill({{"3", "x3"}, {"1", "x1"}, {"2", "x2"}});
    grid->Sort(1, TSortDirection::sdAscending);
    EXPECT_EQ(names(), QStringList({"r1", "r2", "r3"}));
    EXPECT_EQ(column(2), QStringList({"x1", "x2", "x3"}));

    // Fixed rows and footer rows.
    grid->SortSettings()->SetNormalCellsOnly(false);
    fill({{"z"}, {"3"}, {"1"}, {"2"}, {"0"}});
    grid->SetFixedRows(2);
    grid->SetFixedFooters(1);
    grid->Sort(1, TSortDirection::sdAscending);
    EXPECT_EQ(column(1), QStringList({"z", "1", "2", "3", "0"}));
    EXPECT_EQ(grid->FixedFooters(), 1);
}

TEST_F(SortTest, HiddenColumnsTravelAndBreakTies)
{
    fill({{"1", "b"}, {"1", "a"}, {"0", "c"}});
    grid->HideColumn(2);
    grid->Sort(1, TSortDirection::sdAscending);
    grid->UnHideColumn(2);
    EXPECT_EQ(names(), QStringList({"r3", "r2", "r1"}));
    EXPECT_EQ(column(2), QStringList({"c", "a", "b"}));
}

TEST_F(SortTest, CursorAndScrollAfterSorting)
{
    struct Case
    {
        bool moveRow, disjunct;
        int expectedRow; // r2 starts at row 2 and sorts to row 3; row 5 is the parking row
    };
    const Case cases[] = {{false, false, 2}, {true, false, 3}, {true, true, 5}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.moveRow << c.disjunct);
        grid = std::make_unique<TQrlStringGrid>();
        fill({{"1"}, {"2"}, {"0"}, {"4"}, {"3"}});
        grid->Navigation()->SetMoveRowOnSort(c.moveRow);
        grid->MouseActions()->SetDisjunctRowSelect(c.disjunct);
        grid->SetRow(2);
        grid->Sort(1, TSortDirection::sdDescending);
        EXPECT_EQ(names(), QStringList({"r4", "r5", "r2", "r1", "r3"}));
        grid->Sort(1, TSortDirection::sdAscending);
        EXPECT_EQ(grid->Row(), c.expectedRow);
    }

    grid = std::make_unique<TQrlStringGrid>();
    grid->resize(200, 120);
    std::vector<QStringList> rows;
    for (int r = 0; r < 100; ++r)
        rows.push_back({QString::number(100 - r)});
    fill(rows);
    grid->Navigation()->SetKeepScrollOnSort(true);
    grid->SetTopRow(30);
    grid->Sort(1, TSortDirection::sdAscending);
    EXPECT_EQ(grid->TopRow(), 30);
}

TEST_F(SortTest, GroupSortKeepsNodeRowsAndSmallOrContractedGroups)
{
    // Rows 1..12: node 1 (span 3), node 4 (span 4), node 8 (span 2), node 10 (span 3, contracted).
    fill({{"n1"}, {"9"}, {"2"}, {"n4"}, {"7"}, {"3"}, {"5"}, {"n8"}, {"8"}, {"n10"}, {"6"}, {"1"}});
    grid->AddNode(1, 3);
    grid->AddNode(4, 4);
    grid->AddNode(8, 2);
    grid->AddNode(10, 3);
    grid->ContractNode(10);
    grid->SortSettings()->SetColumn(1);
    grid->QSortGroup();
    grid->ExpandAll();
    EXPECT_EQ(column(1),
              QStringList({"n1", "2", "9", "n4", "3", "5", "7", "n8", "8", "n10", "6", "1"}));
}

TEST_F(SortTest, SortLineBeforeAnySortExchangesEqualRows)
{
    fill({{"a"}, {"a"}});
    EXPECT_EQ(grid->SortDir(), 0);
    EXPECT_TRUE(grid->SortLine(1, 1, 2));
    EXPECT_EQ(names(), QStringList({"r2", "r1"}));
}

TEST_F(SortTest, RowOperationsBetweenSortAndUnsortAreKept)
{
    fill({{"3"}, {"1"}, {"2"}});
    grid->Sort(1, TSortDirection::sdAscending); // r2 r3 r1
    grid->InsertRows(2, 1);                     // after r2
    grid->SetGridCell(0, 2, "new");
    grid->RemoveRows(4, 1); // r1
    grid->QUnSort();
    EXPECT_EQ(names(), QStringList({"r2", "new", "r3"}));
}

// A random run against a reference: the rows are ids in their order; a sort orders the shown
// rows by key (stable), a hide takes rows out of view, an unsort puts the shown rows back into
// the order they had before sorting, rows shown again come back at their place among all rows.
TEST(SortRandom, SortsFiltersUnsortsAndUnhidesAsTheReference)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 6; ++round) {
        TQrlStringGrid g;
        const int n = 30;
        g.SetColCount(3);
        g.SetRowCount(n + 1);
        std::map<QString, int> key;
        for (int r = 1; r <= n; ++r) {
            const QString id = QStringLiteral("id%1").arg(r);
            key[id] = int(rng() % 8);
            g.SetGridCell(0, r, id);
            g.SetGridCell(1, r, QString::number(key[id]));
            g.SetGridCell(2, r, QString::number(rng() % 3));
        }
        // all: every row's id in real order; hidden: ids out of view; origin: the shown ids in
        // the order an unsort gives.
        std::vector<QString> all;
        for (int r = 1; r <= n; ++r)
            all.push_back(QStringLiteral("id%1").arg(r));
        std::vector<bool> hidden(n + 1, false);
        std::vector<QString> origin;
        bool sorted = false;
        auto shown = [&] {
            std::vector<QString> s;
            for (int i = 0; i < n; ++i)
                if (!hidden[i + 1])
                    s.push_back(all[size_t(i)]);
            return s;
        };
        auto check = [&](const char *what, int step) {
            std::vector<QString> got;
            for (int r = 1; r < g.RowCount(); ++r)
                got.push_back(g.GetGridCell(0, r));
            ASSERT_EQ(got, shown()) << what << " at step " << step << " round " << round;
            for (int r = 1; r < g.RowCount(); ++r)
                ASSERT_EQ(g.GetGridCell(1, r), QString::number(key[got[size_t(r - 1)]]));
        };
        for (int step = 0; step < 40; ++step) {
            const int op = int(rng() % 4);
            if (op == 0) {
                // Sort the shown rows into the shown places.
                std::vector<QString> s = shown();
                if (!sorted || g.RowCount() != int(origin.size()) + 1)
                    origin = s;
                sorted = true;
                const bool desc = rng() % 2;
                std::stable_sort(s.begin(), s.end(), [&](const QString &a, const QString &b) {
                    return desc ? key[a] > key[b] : key[a] < key[b];
                });
                g.SortSettings()->SetFull(false);
                g.Sort(1, desc ? TSortDirection::sdDescending : TSortDirection::sdAscending);
                size_t k = 0;
                for (int i = 0; i < n; ++i)
                    if (!hidden[i + 1])
                        all[size_t(i)] = s[k++];
                check("sort", step);
            } else if (op == 1 && g.RowCount() > 3) {
                // Hide one shown row (real index).
                const int display = 1 + int(rng() % unsigned(g.RowCount() - 1));
                const int real = g.RealRowIndex(display);
                const QString id = g.GetGridCell(0, display);
                g.HideRow(real);
                hidden[size_t(real)] = true;
                std::erase(origin, id);
                check("hide", step);
            } else if (op == 2) {
                g.QUnSort();
                if (sorted) {
                    // The shown rows take the order of `origin` in the shown places.
                    size_t k = 0;
                    for (int i = 0; i < n; ++i)
                        if (!hidden[i + 1])
                            all[size_t(i)] = origin[k++];
                }
                check("unsort", step);
            } else {
                // Show one hidden row again: it joins the origin order after the row before it.
                std::vector<int> h;
                for (int i = 1; i <= n; ++i)
                    if (hidden[size_t(i)])
                        h.push_back(i);
                if (h.empty())
                    continue;
                const int real = h[rng() % h.size()];
                g.UnHideRow(real);
                hidden[size_t(real)] = false;
                if (sorted) {
                    const QString id = all[size_t(real - 1)];
                    QString before;
                    for (int i = real - 1; i >= 1 && before.isEmpty(); --i)
                        if (!hidden[size_t(i)])
                            before = all[size_t(i - 1)];
                    const auto at = before.isEmpty()
                                        ? origin.begin()
                                        : std::find(origin.begin(), origin.end(), before) + 1;
                    origin.insert(at, id);
                }
                check("unhide", step);
            }
        }
    }
}

} // namespace
