// Hidden columns and rows: the hidden-row store against a plain model, hiding and showing with
// cells, properties and heights, filter levels, and line operations around hidden rows.
#include "GridFaults.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlHiddenRows.h"
#include "grid/model/QrlStringGrid.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace {

// ---- the store as a value -----------------------------------------------------------------

// Rows in real order, each shown or hidden: the reference for the mappings.
struct TRefRows
{
    std::vector<bool> hidden;

    std::vector<int> shownReals() const
    {
        std::vector<int> v;
        for (size_t r = 0; r < hidden.size(); ++r)
            if (!hidden[r])
                v.push_back(static_cast<int>(r));
        return v;
    }
    // Before the shown row at display at, or at the very end.
    size_t insertPoint(int at) const
    {
        const std::vector<int> s = shownReals();
        return at < static_cast<int>(s.size()) ? static_cast<size_t>(s[static_cast<size_t>(at)])
                                               : hidden.size();
    }
    void insert(int at, int count)
    {
        hidden.insert(hidden.begin() + static_cast<long>(insertPoint(at)),
                      static_cast<size_t>(count), false);
    }
    void remove(int at, int count)
    {
        const std::vector<int> s = shownReals();
        for (int k = count - 1; k >= 0; --k)
            hidden.erase(hidden.begin() + s[static_cast<size_t>(at + k)]);
    }
};

void expectSameMaps(const THiddenRows &store, const TRefRows &ref)
{
    ASSERT_EQ(store.checkInvariants(), QString());
    const std::vector<int> shown = ref.shownReals();
    for (size_t i = 0; i < shown.size(); ++i)
        ASSERT_EQ(store.displToReal(static_cast<int>(i)), shown[i]) << "display " << i;
    int below = 0;
    for (size_t r = 0; r < ref.hidden.size(); ++r) {
        ASSERT_EQ(store.isHidden(static_cast<int>(r)), ref.hidden[r]) << "real " << r;
        ASSERT_EQ(store.realToDispl(static_cast<int>(r)), static_cast<int>(r) - below);
        below += ref.hidden[r];
    }
    EXPECT_EQ(store.displToReal(-1), -1);
}

TEST(HiddenRowStore, MapsAndLineOperationsFollowAPlainModel)
{
    std::mt19937 rng(7);
    THiddenRows store;
    TRefRows ref;
    ref.hidden.assign(40, false);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 1500; ++step) {
        const int shown = static_cast<int>(ref.shownReals().size());
        switch (pick(5)) {
        case 0: { // hide a shown row
            if (shown < 2)
                break;
            const int r = ref.shownReals()[static_cast<size_t>(pick(shown))];
            auto item = std::make_unique<TGridItem>();
            item->SetIdx(r);
            store.insert(store.countBelow(r), std::move(item));
            ref.hidden[static_cast<size_t>(r)] = true;
            break;
        }
        case 1: { // show a hidden row
            if (store.empty())
                break;
            const int pos = pick(store.count());
            ref.hidden[static_cast<size_t>(store.item(pos)->Idx())] = false;
            store.take(pos);
            break;
        }
        case 2: { // insert shown rows
            const int at = pick(shown + 1), count = 1 + pick(3);
            store.linesInserted(TGridAxis::Rows, at, count);
            ref.insert(at, count);
            break;
        }
        case 3: { // remove shown rows
            if (shown < 4)
                break;
            const int at = pick(shown - 2), count = 1 + pick(2);
            store.linesRemoved(TGridAxis::Rows, at, count);
            ref.remove(at, count);
            break;
        }
        default: { // move shown rows
            if (shown < 4)
                break;
            const int count = 1 + pick(2);
            const int from = pick(shown - count + 1);
            const int to = pick(shown - count + 1);
            store.linesMoved(TGridAxis::Rows, from, to, count);
            ref.remove(from, count);
            ref.insert(to, count);
            break;
        }
        }
        expectSameMaps(store, ref);
        if (HasFatalFailure())
            return;
    }
}

TEST(HiddenRowStore, FarIndexesMapWithoutWalkingEveryRow)
{
    THiddenRows store;
    for (int r = 0; r < 200000; r += 2) {
        auto item = std::make_unique<TGridItem>();
        item->SetIdx(r);
        store.append(std::move(item));
    }
    EXPECT_EQ(store.displToReal(0), 1);
    EXPECT_EQ(store.displToReal(99999), 199999);
    EXPECT_EQ(store.displToReal(100000), 200000);
    EXPECT_EQ(store.realToDispl(199999), 99999);
    EXPECT_EQ(store.realToDispl(100000), 50000); // hidden: the display index of the next row
}

// ---- the grid ---------------------------------------------------------------------------

class HiddenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid = std::make_unique<TQrlStringGrid>();
        fillWithCoordinates(*grid, 5, 10);
    }
    QStringList column(int c) const { return columnTexts(*grid, c); }
    std::unique_ptr<TQrlStringGrid> grid;
};

TEST_F(HiddenTest, HiddenColumnMapsAndGetsItsWidthBack)
{
    grid->SetColWidths(2, 77);
    grid->SetColWidths(3, 33);
    grid->HideColumn(2);
    EXPECT_EQ(grid->ColCount(), 4);
    EXPECT_EQ(grid->NumHiddenColumns(), 1);
    EXPECT_EQ(grid->TotalColCount(), 5);
    EXPECT_EQ(grid->RealColIndex(2), 3);
    EXPECT_EQ(grid->DisplColIndex(3), 2);
    EXPECT_TRUE(grid->IsHiddenColumn(2));
    EXPECT_EQ(grid->ColWidths(2), 33);        // the next column took the place
    EXPECT_EQ(grid->GetCellsEx(2, 4), "2:4"); // the cells stay under their real column
    grid->UnHideColumn(2);
    EXPECT_EQ(grid->ColCount(), 5);
    EXPECT_EQ(grid->NumHiddenColumns(), 0);
    EXPECT_EQ(grid->ColWidths(2), 77);
    EXPECT_EQ(grid->ColWidths(3), 33);
}

TEST_F(HiddenTest, ColumnHidingKeepsOneColumnAndStaysInsideItsTable)
{
    grid->SetCol(4);
    grid->HideColumn(4);
    EXPECT_EQ(grid->Col(), 3); // the current column was the last shown one
    grid->HideColumns(0, 4);
    EXPECT_EQ(grid->ColCount(), 1);

    TQrlStringGrid wide;
    wide.SetColCount(700);
    wide.HideColumn(600);
    wide.HideColumns(510, 650);
    EXPECT_FALSE(wide.IsHiddenColumn(600));
    EXPECT_EQ(wide.NumHiddenColumns(), 2); // 510 and 511 only
    EXPECT_EQ(wide.ColCount(), 698);
}

TEST_F(HiddenTest, HiddenRowsComeBackWithCellsPropertiesAndHeights)
{
    grid->HideColumn(4);
    grid->SetRowHeights(4, 40);
    grid->SetColors(1, 4, 0x123456);
    grid->HideRows(3, 5);
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(grid->NumHiddenRows(), 3);
    EXPECT_EQ(grid->GetGridCell(1, 3), "1:6");
    EXPECT_EQ(grid->RealRowIndex(3), 6);
    EXPECT_EQ(grid->DisplRowIndex(4), 3); // hidden: the display index of the next shown row
    EXPECT_EQ(grid->GetCellsEx(1, 4), "1:4");
    EXPECT_EQ(grid->GetCellsEx(4, 5), "4:5"); // a hidden column's cell of a hidden row

    grid->UnHideRows(3, 5);
    EXPECT_EQ(grid->RowCount(), 10);
    EXPECT_EQ(grid->NumHiddenRows(), 0);
    for (int c : {1, 4})
        for (int r = 0; r < 10; ++r)
            EXPECT_EQ(grid->GetGridCell(c, r), QStringLiteral("%1:%2").arg(c).arg(r));
    EXPECT_EQ(grid->RowHeights(4), 40);
    EXPECT_EQ(grid->GetColors(1, 4), TColor(0x123456));
}

// A hidden row's list grows when a text is written past it; every way of showing the row again
// must bring that text back, also where it lies beyond the shown columns.
TEST_F(HiddenTest, TextWrittenPastTheColumnsOfAHiddenRowComesBackWithIt)
{
    struct Case
    {
        const char *name;
        void (*hide)(TQrlStringGrid &);
        void (*show)(TQrlStringGrid &);
    };
    const Case cases[] = {
        {"one range", [](TQrlStringGrid &g) { g.HideRow(3); },
         [](TQrlStringGrid &g) { g.UnHideRows(3, 3); }},
        {"all rows",
         [](TQrlStringGrid &g) {
             g.HideRows(3, 3);
             g.HideRow(6);
         },
         [](TQrlStringGrid &g) { g.UnHideRowsAll(); }},
        {"filter level",
         [](TQrlStringGrid &g) {
             TIntList rows;
             rows.Add(3);
             g.HideRowList(rows);
         },
         [](TQrlStringGrid &g) { g.UnHideRowList(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fillWithCoordinates(*grid, 5, 10);
        c.hide(*grid);
        ASSERT_TRUE(grid->IsHiddenRow(3));
        grid->SetCellsEx(7, 3, "far");
        grid->SetCellsEx(2, 3, "near");
        EXPECT_EQ(grid->GetCellsEx(7, 3), "far");
        c.show(*grid);
        ASSERT_FALSE(grid->IsHiddenRow(3));
        EXPECT_EQ(grid->GetCellsEx(7, 3), "far");
        EXPECT_EQ(grid->GetCellsEx(2, 3), "near");
        EXPECT_EQ(grid->GetCellsEx(4, 3), "4:3");
        EXPECT_EQ(grid->GetCellsEx(7, 2), "");
        EXPECT_EQ(grid->GetCellsEx(7, 4), "");
        // Once the columns reach that far the cell shows the text.
        grid->SetColCount(8);
        EXPECT_EQ(grid->GetCellEx(7, 3), "far");
        grid->SetColCount(5);
    }
}

// Hidden rows leave the cell store as their blocks: texts, cell properties and heights come back
// with every way of hiding and showing, around merged cells, whether or not the hidden row was
// read or written while hidden.
TEST_F(HiddenTest, RowBlocksKeepTextsPropertiesAndHeightsAroundMergedCells)
{
    struct Case
    {
        const char *name;
        void (*hide)(TQrlStringGrid &);
        void (*show)(TQrlStringGrid &);
        // The filter list leaves merged areas where they were by display row (see below).
        bool areaBelowFollows;
    };
    const auto everySecond = [](TQrlStringGrid &g) {
        TIntList rows;
        for (int r = 4; r < 12; r += 2)
            rows.Add(r);
        g.HideRowList(rows);
    };
    const Case cases[] = {
        {"list, then all", everySecond, [](TQrlStringGrid &g) { g.UnHideRowsAll(); }, false},
        {"list, then list", everySecond, [](TQrlStringGrid &g) { g.UnHideRowList(); }, false},
        {"ranges, then ranges",
         [](TQrlStringGrid &g) {
             g.HideRows(4, 4);
             g.HideRows(6, 8);
         },
         [](TQrlStringGrid &g) {
             g.UnHideRows(6, 8);
             g.UnHideRows(4, 4);
         },
         true},
        {"ranges, then all",
         [](TQrlStringGrid &g) {
             g.HideRows(6, 6);
             g.HideRows(10, 10);
         },
         [](TQrlStringGrid &g) { g.UnHideRowsAll(); },
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TQrlStringGrid g;
        fillWithCoordinates(g, 5, 14);
        g.MergeCells(1, 1, 2, 2); // above the hidden rows
        if (c.areaBelowFollows)
            g.MergeCells(0, 12, 3, 1); // below them
        g.SetColors(3, 6, 0x123456);
        g.SetColors(2, 8, 0x654321);
        g.SetRowHeights(6, 41);
        g.SetRowHeights(7, 37);
        c.hide(g);
        ASSERT_TRUE(g.IsHiddenRow(6));
        // One hidden row is read while hidden, another written.
        EXPECT_EQ(g.GetCellsEx(3, 6), "3:6");
        g.SetCellsEx(1, 10, "ten");
        c.show(g);
        ASSERT_EQ(g.NumHiddenRows(), 0);
        ASSERT_EQ(g.RowCount(), 14);
        for (int r = 0; r < 14; ++r) {
            for (int col = 0; col < 5; ++col) {
                if (!(r == 10 && col == 1) && !g.IsMergedCell(col, r)) {
                    EXPECT_EQ(g.GetCellEx(col, r), QStringLiteral("%1:%2").arg(col).arg(r))
                        << col << "," << r;
                }
            }
        }
        EXPECT_EQ(g.GetCellEx(1, 10), "ten");
        EXPECT_EQ(g.GetColors(3, 6), TColor(0x123456));
        EXPECT_EQ(g.GetColors(2, 8), TColor(0x654321));
        EXPECT_EQ(g.RowHeights(6), 41);
        EXPECT_EQ(g.RowHeights(7), 37);
        EXPECT_EQ(g.RowHeights(8), g.DefaultRowHeight());
        EXPECT_TRUE(g.IsMergedCell(2, 2));
        if (c.areaBelowFollows) {
            EXPECT_TRUE(g.IsMergedCell(2, 12));
            EXPECT_FALSE(g.IsMergedCell(3, 12));
            EXPECT_EQ(g.GetCellEx(2, 12), "0:12"); // a covered cell shows its area's text
        }
        // The properties name the cells they sit in again: a colour set through them lands there.
        g.SetColors(3, 6, 0x111111);
        EXPECT_EQ(g.GetColors(3, 6), TColor(0x111111));
        EXPECT_EQ(g.GetColors(3, 5), g.GetColors(3, 4));
    }
}

TEST_F(HiddenTest, ShowingStartsOnlyAtAHiddenRow)
{
    grid->HideRows(8, 9);
    grid->UnHideRows(7, 9);
    EXPECT_EQ(grid->NumHiddenRows(), 2);
    grid->UnHideRow(9);
    EXPECT_EQ(grid->NumHiddenRows(), 1);
    EXPECT_EQ(column(0).last(), "0:9");
}

TEST_F(HiddenTest, RowsHiddenForRemovalKeepTheirHeight)
{
    grid->SetRowHeights(6, 45);
    grid->HideRowsEx(6, 7);
    EXPECT_EQ(grid->GetCellsEx(2, 7), "2:7");
    grid->UnHideRows(6, 7);
    EXPECT_EQ(grid->RowHeights(6), 45);
    EXPECT_EQ(grid->GetGridCell(2, 6), "2:6");
}

TEST_F(HiddenTest, ScatteredRowsComeBackTogether)
{
    for (int r = 1; r < 10; r += 2)
        grid->HideRow(r);
    EXPECT_EQ(column(0), QStringList({"0:0", "0:2", "0:4", "0:6", "0:8"}));
    grid->UnHideRowsAll();
    QStringList all;
    for (int r = 0; r < 10; ++r)
        all << QStringLiteral("0:%1").arg(r);
    EXPECT_EQ(column(0), all);
    EXPECT_EQ(grid->NumHiddenRows(), 0);
}

TEST_F(HiddenTest, FilterLevelsComeOffInReverse)
{
    grid->HideRow(9); // hidden directly, level 0
    TIntList first;
    for (int r : {1, 2})
        first.Add(r);
    grid->HideRowList(first);
    EXPECT_EQ(column(0), QStringList({"0:0", "0:3", "0:4", "0:5", "0:6", "0:7", "0:8"}));
    TIntList second;
    second.Add(3); // display row 3: "0:5"
    grid->HideRowList(second);
    EXPECT_EQ(grid->FilterLevel(), 2);
    EXPECT_EQ(column(0), QStringList({"0:0", "0:3", "0:4", "0:6", "0:7", "0:8"}));

    grid->UnHideRowList();
    grid->SetFilterLevel(grid->FilterLevel() - 1);
    EXPECT_EQ(column(0), QStringList({"0:0", "0:3", "0:4", "0:5", "0:6", "0:7", "0:8"}));
    grid->UnHideRowList();
    grid->SetFilterLevel(grid->FilterLevel() - 1);
    // The first level's removal empties the store: the row hidden directly (level 0 as well)
    // comes back with the others.
    EXPECT_EQ(column(0),
              QStringList({"0:0", "0:1", "0:2", "0:3", "0:4", "0:5", "0:6", "0:7", "0:8", "0:9"}));
    EXPECT_EQ(grid->NumHiddenRows(), 0);
}

TEST_F(HiddenTest, LineOperationsRenumberHiddenRows)
{
    grid->HideRow(8);
    grid->RemoveRows(3, 2);
    EXPECT_TRUE(grid->IsHiddenRow(6));
    grid->HideRowsEx(2, 2);
    EXPECT_TRUE(grid->IsHiddenRow(6)); // hiding changes no real index
    // A row inserted above a hidden one pushes it down, so it comes back in its place.
    grid->InsertRows(1, 1);
    EXPECT_TRUE(grid->IsHiddenRow(7));
    grid->UnHideRowsAll();
    EXPECT_EQ(column(0), QStringList({"0:0", "", "0:1", "0:2", "0:5", "0:6", "0:7", "0:8", "0:9"}));
}

// A few thousand mixed line operations against a plain list of rows.
TEST_F(HiddenTest, MixedLineOperationsFollowAPlainModel)
{
    struct TRow
    {
        QString text;
        bool hidden = false;
        bool selected = false; // kept by display row: a row that leaves the view loses it
        int area = 0;          // the merge (in column 3) the row was put into, 0 for none
    };
    std::vector<TRow> model;
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    grid->MouseActions()->SetDisjunctRowSelect(true);
    grid->SetRowCount(30);
    int next = 0;
    for (int r = 0; r < 30; ++r) {
        model.push_back({QString::number(next), false, false, 0});
        grid->SetGridCell(1, r, QString::number(next++));
    }
    auto shown = [&] {
        std::vector<int> v;
        for (size_t r = 0; r < model.size(); ++r)
            if (!model[r].hidden)
                v.push_back(static_cast<int>(r));
        return v;
    };
    auto insertAt = [&](int at, std::vector<TRow> rows) {
        const std::vector<int> s = shown();
        const size_t p =
            at < static_cast<int>(s.size()) ? static_cast<size_t>(s[size_t(at)]) : model.size();
        model.insert(model.begin() + static_cast<long>(p), rows.begin(), rows.end());
    };
    auto takeAt = [&](int at, int count) {
        const std::vector<int> s = shown();
        std::vector<TRow> out;
        for (int k = count - 1; k >= 0; --k) {
            const size_t p = static_cast<size_t>(s[static_cast<size_t>(at + k)]);
            out.insert(out.begin(), model[p]);
            model.erase(model.begin() + static_cast<long>(p));
        }
        return out;
    };
    int areaIds = 0;
    std::mt19937 rng(11);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 2500; ++step) {
        const int n = static_cast<int>(shown().size());
        const int op = pick(9);
        if (op == 0) {
            const int at = pick(n + 1), count = 1 + pick(2);
            // Rows inserted inside a merged area join it.
            int area = 0;
            if (const auto a = grid->MergedSpans().areaAt(3, at); a && a->row < at)
                area = model[size_t(shown()[size_t(at)])].area;
            grid->InsertRows(at, count);
            std::vector<TRow> rows;
            for (int k = 0; k < count; ++k) {
                grid->SetGridCell(1, at + k, QString::number(next));
                rows.push_back({QString::number(next++), false, false, area});
            }
            insertAt(at, rows);
        } else if (op == 1 && n > 4) {
            const int at = pick(n - 2), count = 1 + pick(2);
            grid->RemoveRows(at, count);
            takeAt(at, count);
        } else if (op == 2 && n > 4) {
            const int count = 1 + pick(2);
            const int from = pick(n - count + 1), to = pick(n - count + 1);
            if (from == to)
                continue;
            // MoveRows names a later target as it stands before the block is taken out.
            grid->MoveRows(from, to > from ? to + count : to, count);
            insertAt(to, takeAt(from, count));
        } else if (op == 3 && n > 4) {
            const int from = shown()[static_cast<size_t>(pick(n - 2))];
            const int to = std::min(from + pick(3), static_cast<int>(model.size()) - 1);
            int stays = 0;
            for (int r = 0; r < static_cast<int>(model.size()); ++r)
                stays += !model[size_t(r)].hidden && (r < from || r > to);
            if (stays < 2)
                continue;
            grid->HideRows(from, to);
            for (int r = from; r <= to; ++r)
                model[static_cast<size_t>(r)].hidden = true;
            for (int r = from; r <= to; ++r)
                model[static_cast<size_t>(r)].selected = false;
        } else if (op == 4 && grid->NumHiddenRows() > 0) {
            const int from = grid->HiddenRowItem(pick(grid->NumHiddenRows()))->Idx();
            const int to = std::min(from + pick(3), static_cast<int>(model.size()) - 1);
            grid->UnHideRows(from, to);
            for (int r = from; r <= to; ++r)
                model[static_cast<size_t>(r)].hidden = false;
        } else if (op == 6) {
            const int at = pick(n);
            const bool value = !grid->GetRowSelect(at);
            grid->SetRowSelect(at, value);
            model[static_cast<size_t>(shown()[static_cast<size_t>(at)])].selected = value;
        } else if (op == 7 && n > 2) {
            // Two neighbouring shown rows merged in column 3; the rows between them in real
            // order (hidden ones) belong to the area too.
            const int at = pick(n - 1);
            if (grid->IsMergedCell(3, at) || grid->IsMergedCell(3, at + 1))
                continue;
            grid->MergeCells(3, at, 1, 2);
            const std::vector<int> s = shown();
            ++areaIds;
            for (int r = s[size_t(at)]; r <= s[size_t(at + 1)]; ++r)
                model[static_cast<size_t>(r)].area = areaIds;
        } else if (op == 8) {
            const std::vector<TMergedArea> areas = grid->MergedSpans().areas();
            if (areas.empty())
                continue;
            const TMergedArea a = areas[static_cast<size_t>(pick(int(areas.size())))];
            grid->SplitCells(a.col, a.row);
            const std::vector<int> s = shown();
            for (int r = s[size_t(a.row)]; r <= s[size_t(a.row + a.height - 1)]; ++r)
                model[static_cast<size_t>(r)].area = 0;
        } else if (op == 5 && pick(10) == 0) {
            grid->UnHideRowsAll();
            for (TRow &r : model)
                r.hidden = false;
        } else {
            continue;
        }
        ASSERT_EQ(grid->TotalRowCount(), static_cast<int>(model.size())) << "step " << step;
        const std::vector<int> s = shown();
        ASSERT_EQ(grid->RowCount(), static_cast<int>(s.size())) << "step " << step;
        for (size_t i = 0; i < s.size(); ++i) {
            ASSERT_EQ(grid->GetGridCell(1, static_cast<int>(i)), model[size_t(s[i])].text)
                << "step " << step << " display " << i;
            ASSERT_EQ(grid->GetRowSelect(static_cast<int>(i)), model[size_t(s[i])].selected)
                << "step " << step << " display " << i;
        }
        // Merged areas only ever hold rows that were merged together.
        ASSERT_EQ(propsFault(*grid), QString()) << "step " << step << " op " << op;
        for (const TMergedArea &a : grid->MergedSpans().areas()) {
            const int id = model[size_t(s[size_t(a.row)])].area;
            ASSERT_NE(id, 0) << "step " << step << " op " << op << " area at row " << a.row;
            for (int k = 0; k < a.height; ++k)
                ASSERT_EQ(model[size_t(s[size_t(a.row + k)])].area, id)
                    << "step " << step << " op " << op << " area at row " << a.row << "+" << k;
        }
        for (size_t r = 0; r < model.size(); ++r) {
            ASSERT_EQ(grid->IsHiddenRow(static_cast<int>(r)), model[r].hidden) << "step " << step;
            ASSERT_EQ(grid->GetCellsEx(1, static_cast<int>(r)), model[r].text) << "step " << step;
        }
    }
}

TEST(HiddenLifetime, DestroyingFreesTheHiddenRowsProperties)
{
    // Run under the leak checker.
    auto g = std::make_unique<TQrlStringGrid>();
    g->SetColors(1, 3, 0xFF);
    g->CreateCellGraphic(2, 4)->SetCheckBox(true, false, false, TCellHAlign::haLeft,
                                            TCellVAlign::vaTop);
    g->HideRows(2, 5);
    TIntList list;
    list.Add(1);
    g->HideRowList(list);
    g.reset();
    SUCCEED();
}

} // namespace
