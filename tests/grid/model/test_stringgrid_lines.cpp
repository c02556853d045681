// Row and column content operations of the string grid: cells, their properties, merged areas
// and the per-line lists move together; removed and cleared properties are freed once.
#include "GridFaults.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlLineCompanion.h"
#include "grid/model/QrlStringGrid.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <tuple>
#include <vector>

using plat::TGridRect;

namespace {

// Properties that count themselves, so a test sees when the grid frees them.
class TCountedProps : public TCellProperties
{
public:
    TCountedProps(TBaseGrid *g, int c, int r) : TCellProperties(g, c, r) { ++alive; }
    ~TCountedProps() override { --alive; }
    static inline int alive = 0;
};

class LinesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TCountedProps::alive = 0;
        grid = std::make_unique<TQrlStringGrid>();
        grid->SetColCount(6);
        grid->SetRowCount(10);
        fill();
    }
    void TearDown() override
    {
        grid.reset();
        // Whatever the operations freed, forgot or moved, destruction frees the rest once.
        EXPECT_EQ(TCountedProps::alive, 0);
    }

    // Every cell holds "c:r" of where it started.
    void fill()
    {
        for (int r = 0; r < grid->RowCount(); ++r)
            for (int c = 0; c < grid->ColCount(); ++c)
                grid->SetGridCell(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
    }
    TCountedProps *counted(int c, int r)
    {
        auto *p = new TCountedProps(grid.get(), c, r);
        grid->SetCellProperties(c, r, p);
        return p;
    }
    QStringList texts() const
    {
        QStringList all;
        for (int r = 0; r < grid->RowCount(); ++r)
            for (int c = 0; c < grid->TotalColCount(); ++c)
                all << grid->GetGridCell(c, r);
        return all;
    }
    QString cell(int c, int r) const { return grid->GetGridCell(c, r); }

    std::unique_ptr<TQrlStringGrid> grid;
};

// ---- merged areas through the line operations, rows and columns alike ------------------------

struct TAreaCase
{
    const char *name;
    bool insert;
    int at;
    int count;
    // Along the axis: the area covers lines 3 .. 5 before.
    std::optional<std::pair<int, int>> after; // first line, line count
    // The line whose text the area shows afterwards: its base line 3 unless that went.
    int baseFrom = 3;
};

const TAreaCase areaCases[] = {
    {"remove above", false, 0, 2, {{1, 3}}},
    {"remove over the first line", false, 2, 2, {{2, 2}}, 4},
    {"remove inside", false, 4, 1, {{3, 2}}},
    {"remove the last lines and below", false, 5, 2, {{3, 2}}},
    {"remove exactly the area", false, 3, 3, std::nullopt},
    {"remove around the area", false, 2, 5, std::nullopt},
    {"remove below", false, 6, 2, {{3, 3}}},
    {"insert before", true, 3, 2, {{5, 3}}},
    {"insert through", true, 4, 2, {{3, 5}}},
    {"insert before the last line", true, 5, 1, {{3, 4}}},
    {"insert after", true, 6, 1, {{3, 3}}},
};

class AreaTest : public LinesTest, public ::testing::WithParamInterface<TGridAxis>
{
};

TEST_P(AreaTest, MergedAreaFollowsItsLines)
{
    const bool rows = GetParam() == TGridAxis::Rows;
    for (const TAreaCase &tc : areaCases) {
        SCOPED_TRACE(tc.name);
        grid = std::make_unique<TQrlStringGrid>();
        grid->SetColCount(10);
        grid->SetRowCount(10);
        fill();
        // A 3-line area across the axis at cross line 1, and a coloured cell on line 8.
        rows ? grid->MergeCells(1, 3, 1, 3) : grid->MergeCells(3, 1, 3, 1);
        grid->SetCellEx(rows ? 1 : 3, rows ? 3 : 1, "A");
        rows ? grid->SetColors(2, 8, 0x0000FF) : grid->SetColors(8, 2, 0x0000FF);

        if (tc.insert)
            rows ? grid->InsertRows(tc.at, tc.count) : grid->InsertCols(tc.at, tc.count);
        else
            rows ? grid->RemoveRows(tc.at, tc.count) : grid->RemoveCols(tc.at, tc.count);

        EXPECT_EQ(propsFault(*grid), "");
        const std::vector<TMergedArea> areas = grid->MergedSpans().areas();
        if (!tc.after) {
            EXPECT_TRUE(areas.empty());
            continue;
        }
        const auto [first, n] = *tc.after;
        const TMergedArea want = rows ? TMergedArea{1, first, 1, n} : TMergedArea{first, 1, n, 1};
        ASSERT_EQ(areas.size(), 1u);
        EXPECT_EQ(areas[0], want);
        const QString base =
            tc.baseFrom == 3
                ? QStringLiteral("A")
                : (rows ? QStringLiteral("1:%1") : QStringLiteral("%1:1")).arg(tc.baseFrom);
        for (int k = first; k < first + n; ++k)
            EXPECT_EQ(rows ? grid->GetCellEx(1, k) : grid->GetCellEx(k, 1), base);
        const int moved = tc.insert ? 8 + tc.count : 8 - tc.count;
        EXPECT_EQ(rows ? grid->GetColors(2, moved) : grid->GetColors(moved, 2), 0x0000FFu);
    }
}

INSTANTIATE_TEST_SUITE_P(Axes,
                         AreaTest,
                         ::testing::Values(TGridAxis::Rows, TGridAxis::Cols),
                         [](const auto &info) {
                             return info.param == TGridAxis::Rows ? "Rows" : "Cols";
                         });

TEST_F(LinesTest, AnAreaMovingIntoAnotherAreasRectangleIsMergedAgain)
{
    // The second area lands exactly where the first one stood.
    grid->SetRowCount(32);
    grid->MergeCells(3, 16, 1, 2);
    grid->MergeCells(3, 18, 1, 2);
    grid->RemoveRows(15, 2);
    EXPECT_EQ(propsFault(*grid), QString());
    EXPECT_EQ(grid->MergedSpans().areas(),
              std::vector<TMergedArea>({TMergedArea{3, 15, 1, 1}, TMergedArea{3, 16, 1, 2}}));
}

TEST_F(LinesTest, AreasAfterTheChangeKeepTheirProperties)
{
    grid->SetRowCount(12);
    grid->MergeCells(1, 6, 2, 2);
    TCellProperties *base = grid->GetGridObject(1, 6);
    base->SetBrushColor(0x00FF00);
    grid->InsertRows(2, 1);
    EXPECT_EQ(grid->GetGridObject(1, 7), base);
    EXPECT_EQ(grid->GetColors(1, 7), 0x00FF00u);
    grid->RemoveRows(0, 2);
    EXPECT_EQ(grid->GetGridObject(1, 5), base);
    EXPECT_EQ((grid->MergedSpans().areas()), (std::vector<TMergedArea>{{1, 5, 2, 2}}));
    EXPECT_EQ(propsFault(*grid), "");
}

// ---- properties follow their cells and are freed once --------------------------------------

TEST_F(LinesTest, RowPropertiesFollowTheirRowsAndRemovedOnesAreFreedAtOnce)
{
    TCountedProps *keep = counted(2, 2);
    counted(1, 4);
    counted(2, 4);
    TCountedProps *below = counted(1, 6);
    ASSERT_EQ(TCountedProps::alive, 4);

    grid->RemoveRows(3, 2);
    EXPECT_EQ(TCountedProps::alive, 2);
    EXPECT_EQ(grid->RowCount(), 8);
    EXPECT_EQ(grid->GetGridObject(2, 2), keep);
    EXPECT_EQ(grid->GetGridObject(1, 4), below);
    EXPECT_EQ(cell(1, 4), "1:6");
    EXPECT_EQ(cell(1, 7), "1:9");

    grid->InsertRows(1, 3);
    EXPECT_EQ(grid->RowCount(), 11);
    EXPECT_EQ(grid->GetGridObject(2, 5), keep);
    EXPECT_EQ(grid->GetGridObject(1, 7), below);
    for (int r = 1; r < 4; ++r)
        for (int c = 0; c < grid->ColCount(); ++c) {
            EXPECT_EQ(cell(c, r), "");
            EXPECT_EQ(grid->GetGridObject(c, r), nullptr);
        }
    EXPECT_EQ(cell(0, 4), "0:1");
    EXPECT_EQ(propsFault(*grid), "");
}

TEST_F(LinesTest, ColumnPropertiesFollowTheirColumnsAndRemovedOnesAreFreedAtOnce)
{
    TCountedProps *left = counted(1, 3);
    counted(2, 3);
    counted(2, 5);
    TCountedProps *right = counted(4, 1);
    grid->SetColWidths(4, 90);

    grid->RemoveCols(2, 1);
    EXPECT_EQ(TCountedProps::alive, 2);
    EXPECT_EQ(grid->ColCount(), 5);
    EXPECT_EQ(grid->GetGridObject(1, 3), left);
    EXPECT_EQ(grid->GetGridObject(3, 1), right);
    EXPECT_EQ(grid->ColWidths(3), 90);
    EXPECT_EQ(cell(3, 1), "4:1");

    grid->InsertCols(1, 2);
    EXPECT_EQ(grid->ColCount(), 7);
    EXPECT_EQ(grid->GetGridObject(3, 3), left);
    EXPECT_EQ(grid->GetGridObject(5, 1), right);
    EXPECT_EQ(grid->ColWidths(5), 90);
    EXPECT_EQ(grid->ColWidths(1), grid->DefaultColWidth());
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_EQ(cell(3, 1), "1:1");
    EXPECT_EQ(propsFault(*grid), "");

    // Removed columns leave nothing behind for columns shown again later.
    grid->RemoveCols(5, 2);
    grid->SetColCount(7);
    for (int c = 5; c < 7; ++c) {
        EXPECT_EQ(cell(c, 1), "");
        EXPECT_EQ(grid->GetGridObject(c, 1), nullptr);
    }
}

TEST_F(LinesTest, RowHeightsTravelWithTheirRows)
{
    grid->SetRowHeights(5, 40);
    grid->InsertRows(2, 1);
    EXPECT_EQ(grid->RowHeights(6), 40);
    EXPECT_EQ(grid->RowHeights(5), grid->DefaultRowHeight());
    grid->RemoveRows(3, 2);
    EXPECT_EQ(grid->RowHeights(4), 40);
}

TEST_F(LinesTest, RemovalsThatHandRowsOnKeepTheirProperties)
{
    // The hidden-row store (or whoever removes plainly) holds the properties afterwards; the
    // grid still frees them on destruction.
    for (auto remove : {+[](TQrlStringGrid &g) { g.RemoveRowsEx(3, 1); },
                        +[](TQrlStringGrid &g) { g.DeleteRowsPlain(3, 1, false); }}) {
        grid = std::make_unique<TQrlStringGrid>();
        fill();
        TCountedProps::alive = 0;
        TCountedProps *p = counted(1, 3);
        p->SetBrushColor(0x123456);
        remove(*grid);
        EXPECT_EQ(TCountedProps::alive, 1);
        EXPECT_EQ(p->BrushColor(), 0x123456u);
        EXPECT_EQ(grid->RowCount(), 9);
        EXPECT_EQ(cell(1, 3), "1:4");
        EXPECT_FALSE(grid->HasCellProperties(1, 3));
    }
}

TEST_F(LinesTest, RemovalWithPropertiesFreesThem)
{
    counted(1, 3);
    counted(2, 4);
    grid->RemoveRowsAndProps(3, 2);
    EXPECT_EQ(TCountedProps::alive, 0);
    EXPECT_EQ(cell(1, 3), "1:5");
}

TEST_F(LinesTest, RemovalFromTheEndOnIsANoOp)
{
    counted(1, 9);
    const QStringList before = texts();
    grid->RemoveRows(grid->RowCount(), 2);
    grid->RemoveRowsAndProps(grid->RowCount(), 1);
    grid->DeleteRowsPlain(grid->RowCount() + 3, 1, true);
    grid->RemoveRows(2, 0);
    grid->RemoveRows(2, -4);
    EXPECT_EQ(grid->RowCount(), 10);
    EXPECT_EQ(texts(), before);
    EXPECT_EQ(TCountedProps::alive, 1);
}

TEST_F(LinesTest, RemovingEveryRowLeavesOneEmptyRow)
{
    counted(1, 0);
    grid->RemoveRows(0, grid->RowCount());
    EXPECT_EQ(grid->RowCount(), 1);
    EXPECT_EQ(TCountedProps::alive, 0);
    for (int c = 0; c < grid->ColCount(); ++c)
        EXPECT_EQ(cell(c, 0), "");
}

TEST_F(LinesTest, SharedCheckBoxSurvivesTheCellsThatBorrowedIt)
{
    grid->GetCellProperties(2, 3)->SetGraphicObject(grid->SharedCellGraphic());
    grid->GetCellProperties(2, 5)->SetGraphicObject(grid->SharedCellGraphic());
    grid->ClearRect(2, 3, 2, 3);
    grid->RemoveRows(5, 1);
    // A freed shared graphic would be freed again with the grid.
    EXPECT_NE(grid->SharedCellGraphic(), nullptr);
    EXPECT_FALSE(grid->HasCellProperties(2, 3));
}

// ---- clearing --------------------------------------------------------------------------------

TEST_F(LinesTest, ClearRectFreesThePropertiesOfItsCellsOnly)
{
    for (int r = 2; r <= 4; ++r)
        for (int c = 1; c <= 3; ++c)
            counted(c, r);
    std::vector<TGridRect> changed;
    grid->OnCellsChanged = [&](QObject *, const TGridRect &R) { changed.push_back(R); };

    grid->ClearRect(2, 3, 3, 4);
    EXPECT_EQ(TCountedProps::alive, 5);
    for (int r = 2; r <= 4; ++r)
        for (int c = 1; c <= 3; ++c) {
            const bool inside = c >= 2 && r >= 3;
            EXPECT_EQ(grid->HasCellProperties(c, r), !inside) << c << "," << r;
            EXPECT_EQ(cell(c, r).isEmpty(), inside) << c << "," << r;
        }
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].Left, 2);
    EXPECT_EQ(changed[0].Bottom, 4);

    grid->ClearRect(0, 0, grid->ColCount() - 1, grid->RowCount() - 1);
    EXPECT_EQ(TCountedProps::alive, 0);
    EXPECT_EQ(texts(), QStringList(texts().size(), QString()));
}

TEST_F(LinesTest, ClearTextOnlyKeepsTheProperties)
{
    counted(1, 1);
    grid->SetClearTextOnly(true);
    grid->ClearRect(0, 0, grid->ColCount() - 1, grid->RowCount() - 1);
    EXPECT_EQ(TCountedProps::alive, 1);
    EXPECT_TRUE(grid->HasCellProperties(1, 1));
    EXPECT_EQ(cell(1, 1), "");
}

// A descendant that keeps a scratch copy of a row, as the sorts do: the copy's cells hold the
// same properties as the row, so its clear must forget them, not free them.
TEST_F(LinesTest, AScratchRowClearedWithNilObjectsLeavesTheRowItCopiedWhole)
{
    class ScratchGrid : public TQrlStringGrid
    {
    public:
        void clearScratch(int ARow, bool nil, bool block)
        {
            SetNilObjects(nil);
            SetBlockCellChange(block);
            ClearRows(ARow, 1);
            SetNilObjects(false);
            SetBlockCellChange(false);
        }
    };
    struct Case
    {
        const char *name;
        bool block;
        int changes;
    };
    for (const Case c : {Case{"reported", false, 1}, Case{"not reported", true, 0}}) {
        SCOPED_TRACE(c.name);
        auto scratch = std::make_unique<ScratchGrid>();
        scratch->SetColCount(4);
        scratch->SetRowCount(6);
        scratch->SetCellEx(1, 2, "kept");
        auto *p = new TCountedProps(scratch.get(), 1, 2);
        scratch->SetCellProperties(1, 2, p);
        scratch->SetColors(1, 2, 0x123456);
        // The scratch row 5 borrows row 2's cells.
        scratch->SetGridCell(1, 5, scratch->GetGridCell(1, 2));
        scratch->SetGridObject(1, 5, scratch->GetGridObject(1, 2));
        int changes = 0;
        scratch->OnCellsChanged = [&](QObject *, const TGridRect &) { ++changes; };
        scratch->clearScratch(5, true, c.block);
        EXPECT_EQ(changes, c.changes);
        EXPECT_EQ(scratch->GetGridCell(1, 5), "");
        EXPECT_EQ(scratch->GetGridObject(1, 5), nullptr);
        EXPECT_EQ(TCountedProps::alive, 1);
        EXPECT_EQ(scratch->GetGridObject(1, 2), p);
        EXPECT_EQ(scratch->GetColors(1, 2), TColor(0x123456));
        EXPECT_EQ(scratch->GetCellEx(1, 2), "kept");
        scratch.reset();
        EXPECT_EQ(TCountedProps::alive, 0);
    }
}

TEST_F(LinesTest, ClearRectDissolvesOnlyTheAreasItCoversWhole)
{
    grid->MergeCells(1, 2, 1, 3); // rows 2 .. 4
    grid->MergeCells(3, 6, 2, 2); // rows 6 .. 7
    grid->ClearRect(0, 4, 2, 5);  // the lower end of the first area
    grid->ClearRect(3, 6, 4, 7);  // all of the second
    EXPECT_EQ((grid->MergedSpans().areas()), (std::vector<TMergedArea>{{1, 2, 1, 3}}));
    EXPECT_EQ(propsFault(*grid), "");
    EXPECT_FALSE(grid->HasCellProperties(3, 6));
}

TEST_F(LinesTest, ClearRowsAndColsClearWholeLines)
{
    grid->ClearRows(2, 2);
    grid->ClearCols(4, 1);
    for (int c = 0; c < grid->ColCount(); ++c)
        EXPECT_EQ(cell(c, 3), "");
    EXPECT_EQ(cell(4, 7), "");
    EXPECT_EQ(cell(3, 7), "3:7");
    grid->ClearNormalCells();
    EXPECT_EQ(cell(0, 5), "0:5");
    EXPECT_EQ(cell(3, 0), "3:0");
    EXPECT_EQ(cell(3, 5), "");
}

// ---- argument checks ---------------------------------------------------------------------------

TEST_F(LinesTest, BadArgumentsRaiseBeforeAnythingChanges)
{
    grid->MergeCells(1, 2, 2, 2);
    counted(3, 3);
    const struct
    {
        const char *name;
        std::function<void(TQrlStringGrid &)> call;
    } cases[] = {
        {"InsertRows before the first row", [](auto &g) { g.InsertRows(-1, 1); }},
        {"InsertRows past the end", [](auto &g) { g.InsertRows(g.RowCount() + 1, 1); }},
        {"InsertRows negative count", [](auto &g) { g.InsertRows(2, -1); }},
        {"RemoveRows negative start", [](auto &g) { g.RemoveRows(-1, 2); }},
        {"RemoveRows past the end", [](auto &g) { g.RemoveRows(8, 3); }},
        {"RemoveRowsEx negative count", [](auto &g) { g.RemoveRowsEx(2, -1); }},
        {"RemoveRowsEx past the end", [](auto &g) { g.RemoveRowsEx(g.RowCount(), 1); }},
        {"RemoveRowsAndProps past the end", [](auto &g) { g.RemoveRowsAndProps(9, 2); }},
        {"DeleteRowsPlain negative start", [](auto &g) { g.DeleteRowsPlain(-2, 1, true); }},
        {"InsertCols past the end", [](auto &g) { g.InsertCols(g.ColCount() + 1, 1); }},
        {"InsertCols negative count", [](auto &g) { g.InsertCols(1, -2); }},
        {"RemoveCols at ColCount", [](auto &g) { g.RemoveCols(g.ColCount(), 1); }},
        {"RemoveCols negative count", [](auto &g) { g.RemoveCols(1, -1); }},
        {"ClearRect left of the grid", [](auto &g) { g.ClearRect(-1, 0, 2, 2); }},
        {"ClearRect below the grid", [](auto &g) { g.ClearRect(0, 5, 2, g.RowCount()); }},
        {"ClearRows past the end", [](auto &g) { g.ClearRows(8, 3); }},
        {"TrimRect right of the grid", [](auto &g) { g.TrimRect(0, 0, g.ColCount(), 1); }},
        {"ColorRect below the grid", [](auto &g) { g.ColorRect(0, 0, 1, g.RowCount(), 0); }},
        {"MergeCols unknown column", [](auto &g) { g.MergeCols(1, g.ColCount(), " "); }},
        {"MergeColumnCells negative column", [](auto &g) { g.MergeColumnCells(-1, true); }},
        {"MergeRowCells past the end", [](auto &g) { g.MergeRowCells(g.RowCount(), true); }},
        {"RemoveDuplicates unknown column", [](auto &g) { g.RemoveDuplicates(-1, true); }},
    };
    const QStringList before = texts();
    const auto areas = grid->MergedSpans().areas();
    for (const auto &tc : cases) {
        SCOPED_TRACE(tc.name);
        try {
            tc.call(*grid);
            ADD_FAILURE() << "no error";
        } catch (const EQrlGridError &e) {
            EXPECT_STREQ(e.what(), "Grid index out of range");
        }
        EXPECT_EQ(grid->RowCount(), 10);
        EXPECT_EQ(grid->ColCount(), 6);
        EXPECT_EQ(texts(), before);
        EXPECT_EQ(grid->MergedSpans().areas(), areas);
        EXPECT_EQ(TCountedProps::alive, 1);
    }
}

// ---- per-line lists --------------------------------------------------------------------------

TEST_F(LinesTest, RowSelectionFlagsFollowTheirRows)
{
    grid->MouseActions()->SetDisjunctRowSelect(true);
    grid->SetRowSelect(3, true);
    grid->SetRowSelect(6, true);
    grid->RemoveRows(4, 1);
    EXPECT_TRUE(grid->GetRowSelect(3));
    EXPECT_TRUE(grid->GetRowSelect(5));
    EXPECT_FALSE(grid->GetRowSelect(6));
    grid->RemoveRows(3, 1);
    EXPECT_EQ(grid->RowSelectCount(), 1);
    EXPECT_TRUE(grid->GetRowSelect(4));
    grid->InsertRows(1, 2);
    EXPECT_TRUE(grid->GetRowSelect(6));
    EXPECT_EQ(grid->RowSelectCount(), 1);

    // Flags kept by real row stay when rows only leave the view.
    grid->MouseActions()->SetRowSelectPersistent(true);
    grid->RemoveRowsEx(2, 2);
    EXPECT_TRUE(grid->GetRowSelect(6));
    grid->MouseActions()->SetRowSelectPersistent(false);
    grid->RemoveRowsEx(2, 2);
    EXPECT_TRUE(grid->GetRowSelect(4));
}

TEST_F(LinesTest, ControlsPlacedInCellsFollowOrLeaveWithTheirLines)
{
    auto *low = new QWidget;
    auto *high = new QWidget;
    grid->SetCellControls(2, 5, low);
    grid->SetCellControls(3, 1, high);
    ASSERT_EQ(grid->NumCellControls(), 2);

    grid->InsertRows(2, 1);
    EXPECT_EQ(grid->GetCellControls(2, 6), low);
    const int lowIdx = grid->ControlList().ControlIndex(2, 6);
    ASSERT_GE(lowIdx, 0);
    grid->RemoveCols(1, 1);
    EXPECT_EQ(grid->ControlList().ControlIndex(1, 6), lowIdx);
    EXPECT_EQ(grid->GetCellControls(2, 1), high);

    EXPECT_TRUE(low->isVisibleTo(grid->viewport()));
    grid->RemoveRows(6, 1);
    EXPECT_EQ(grid->NumCellControls(), 1);
    EXPECT_EQ(grid->ControlList().Count(), 1);
    EXPECT_FALSE(low->isVisibleTo(grid->viewport()));
    EXPECT_EQ(grid->ControlList().ControlIndex(2, 1), 0);
}

TEST_F(LinesTest, LineMovesHereFireNoMoveEvents)
{
    int moves = 0;
    grid->OnRowMoved = [&](QObject *, int, int) { ++moves; };
    grid->OnColumnMoved = [&](QObject *, int, int) { ++moves; };
    grid->InsertRows(1, 2);
    grid->RemoveRows(1, 2);
    grid->InsertCols(1, 1);
    grid->RemoveCols(1, 1);
    EXPECT_EQ(moves, 0);
    grid->MoveRow(1, 2);
    EXPECT_EQ(moves, 1);
}

TEST_F(LinesTest, InsertRowsNotifiesTheChangedRows)
{
    std::vector<TGridRect> changed;
    grid->OnCellsChanged = [&](QObject *, const TGridRect &R) { changed.push_back(R); };
    grid->InsertRows(2, 3);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].Top, 2);
    EXPECT_EQ(changed[0].Bottom, 5);
    EXPECT_EQ(changed[0].Right, grid->ColCount() - 1);
}

TEST_F(LinesTest, CursorLeftPastTheRowsComesBackToTheLastRow)
{
    grid->SetRow(9);
    grid->RemoveRows(7, 3);
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(grid->Row(), 6);
    grid->SetFixedFooters(1);
    grid->SetRow(6);
    grid->RemoveRows(1, 1);
    EXPECT_EQ(grid->Row(), 4);
}

TEST_F(LinesTest, AddRowAddsAnEmptyRowEvenOverOldStoredCells)
{
    grid->SetGridCell(1, 10, "left over");
    grid->AddRow();
    EXPECT_EQ(grid->RowCount(), 11);
    EXPECT_EQ(cell(1, 10), "");
    EXPECT_EQ(cell(1, 9), "1:9");
}

// ---- content operations ----------------------------------------------------------------------

TEST_F(LinesTest, RemoveDuplicatesKeepsTheFirstRowOfEachTextWhateverDoCase)
{
    for (bool doCase : {true, false}) {
        SCOPED_TRACE(doCase);
        grid->SetRowCount(5);
        const QStringList column{"Abc", "ABC", "x", "abc"};
        for (int r = 1; r < 5; ++r) {
            grid->SetGridCell(1, r, column[r - 1]);
            grid->SetGridCell(2, r, QString::number(r));
        }
        grid->RemoveDuplicates(1, doCase);
        EXPECT_EQ(grid->RowCount(), 3);
        EXPECT_EQ(cell(1, 1), "Abc");
        EXPECT_EQ(cell(2, 2), "3");
    }
}

TEST_F(LinesTest, RemoveSelectedAndUnselectedRows)
{
    grid->MouseActions()->SetDisjunctRowSelect(true);
    grid->SetRowSelect(2, true);
    grid->SetRowSelect(5, true);
    counted(1, 5);
    grid->RemoveSelectedRows();
    EXPECT_EQ(grid->RowCount(), 8);
    EXPECT_EQ(grid->RowSelectCount(), 0);
    EXPECT_EQ(TCountedProps::alive, 0);
    EXPECT_EQ(cell(1, 2), "1:3");
    EXPECT_EQ(cell(1, 4), "1:6");

    grid->SetRowSelect(3, true);
    grid->RemoveUnSelectedRows();
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(cell(1, 1), "1:4");
    EXPECT_EQ(grid->RowSelectCount(), 0);
}

// Column 1 has check boxes on rows 1 .. 8, rows 2, 3 and 7 checked; row 5 has none; row 9 is a
// fixed footer.
TEST_F(LinesTest, RemoveCheckedRowsTakesTheRowsOfTheAskedStateAndLeavesTheFooter)
{
    struct Case
    {
        bool removeChecked;
        QStringList left; // column 0 afterwards
    };
    const Case cases[] = {
        {true, {"0:0", "0:1", "0:4", "0:5", "0:6", "0:8", "0:9"}},
        {false, {"0:0", "0:2", "0:3", "0:7", "0:9"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.removeChecked);
        grid = std::make_unique<TQrlStringGrid>();
        grid->SetColCount(6);
        grid->SetRowCount(10);
        fill();
        grid->SetFixedFooters(1);
        grid->AddCheckBoxColumn(1);
        grid->RemoveCheckBox(1, 5);
        grid->RemoveCheckBox(1, 9);
        for (int r : {2, 3, 7})
            grid->SetCheckBoxState(1, r, true);
        counted(3, 3);
        counted(3, 4);
        int changes = 0;
        grid->OnCellsChanged = [&](QObject *, const TGridRect &) { ++changes; };
        grid->RemoveCheckedRows(1, c.removeChecked);
        EXPECT_EQ(columnTexts(*grid, 0), c.left);
        EXPECT_EQ(TCountedProps::alive, 1); // the removed row's properties are freed
        EXPECT_GT(changes, 0);
        EXPECT_EQ(propsFault(*grid), "");
    }
}

// Rows 2, 3 and 6 (or 4 .. 6) selected in each way a grid selects rows; row 9 is a fixed footer.
TEST_F(LinesTest, HideSelectedAndUnselectedRowsKeepTheirCellsForShowingAgain)
{
    struct Case
    {
        const char *name;
        std::function<void(TQrlStringGrid &)> select;
        QStringList afterHideSelected;
        QStringList afterHideUnselected;
    };
    const Case cases[] = {
        {"flags by display row",
         [](TQrlStringGrid &g) {
             g.MouseActions()->SetDisjunctRowSelect(true);
             for (int r : {2, 3, 6})
                 g.SetRowSelect(r, true);
         },
         {"0:0", "0:1", "0:4", "0:5", "0:7", "0:8", "0:9"},
         {"0:0", "0:2", "0:3", "0:6", "0:9"}},
        {"flags by real row with a row hidden before",
         [](TQrlStringGrid &g) {
             g.MouseActions()->SetDisjunctRowSelect(true);
             g.MouseActions()->SetRowSelectPersistent(true);
             g.HideRow(1);
             for (int r : {2, 3, 6}) // real rows, shown at 1, 2 and 5
                 g.SetRowSelect(r, true);
         },
         {"0:0", "0:4", "0:5", "0:7", "0:8", "0:9"},
         {"0:0", "0:2", "0:3", "0:6", "0:9"}},
        {"selection rectangle",
         [](TQrlStringGrid &g) {
             g.SetSelection({1, 4, 2, 6});
         },
         {"0:0", "0:1", "0:2", "0:3", "0:7", "0:8", "0:9"},
         {"0:0", "0:4", "0:5", "0:6", "0:9"}},
    };
    QStringList all;
    for (int r = 0; r < 10; ++r)
        all << QStringLiteral("0:%1").arg(r);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (bool selected : {true, false}) {
            SCOPED_TRACE(selected ? "selected" : "unselected");
            grid = std::make_unique<TQrlStringGrid>();
            grid->SetColCount(6);
            grid->SetRowCount(10);
            fill();
            grid->SetFixedFooters(1);
            counted(2, 6);
            c.select(*grid);
            selected ? grid->HideSelectedRows() : grid->HideUnSelectedRows();
            EXPECT_EQ(columnTexts(*grid, 0),
                      selected ? c.afterHideSelected : c.afterHideUnselected);
            EXPECT_EQ(grid->GetCellsEx(5, 6), "5:6"); // shown or hidden, the cell is there
            grid->UnHideRowsAll();
            EXPECT_EQ(columnTexts(*grid, 0), all);
            EXPECT_EQ(TCountedProps::alive, 1);
            EXPECT_EQ(propsFault(*grid), "");
        }
    }
}

TEST_F(LinesTest, RemoveUnSelectedColsKeepsTheFixedAndTheSelectedColumns)
{
    grid->SetSelection({2, 1, 3, 1});
    grid->RemoveUnSelectedCols();
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ((QStringList{cell(0, 1), cell(1, 1), cell(2, 1)}),
              (QStringList{"0:1", "2:1", "3:1"}));
}

TEST_F(LinesTest, DisjunctColumnSelectionDecidesWhichColumnsGo)
{
    grid->MouseActions()->SetDisjunctColSelect(true);
    grid->SetColSelect(2, true);
    grid->SetColSelect(4, true);
    grid->RemoveSelectedCols();
    EXPECT_EQ(grid->ColCount(), 4);
    EXPECT_EQ(grid->ColSelectCount(), 0);
    EXPECT_EQ(cell(2, 1), "3:1");

    grid->SetColSelect(3, true);
    grid->ClearSelection();
    EXPECT_EQ(cell(3, 4), "");
    EXPECT_EQ(cell(2, 4), "3:4");
}

TEST_F(LinesTest, MergeColumnCellsMergesRunsOfEqualTexts)
{
    const QStringList main{"A", "A", "B", "B", "B"};
    for (int r = 1; r <= 5; ++r) {
        grid->SetGridCell(1, r, main[r - 1]);
        grid->SetGridCell(2, r, "x");
    }
    grid->MergeColumnCells(1, true);
    const std::vector<TMergedArea> mainAreas{{1, 1, 1, 2}, {1, 3, 1, 3}};
    EXPECT_EQ(grid->MergedSpans().areas(), mainAreas);

    // A secondary column follows the main column's merges.
    grid->MergeColumnCells(2, false);
    EXPECT_EQ((grid->MergedSpans().areas()),
              (std::vector<TMergedArea>{{1, 1, 1, 2}, {2, 1, 1, 2}, {1, 3, 1, 3}, {2, 3, 1, 3}}));

    grid->SplitColumnCells(2);
    EXPECT_EQ(grid->MergedSpans().areas(), mainAreas);
    grid->SplitAllCells();
    EXPECT_TRUE(grid->MergedSpans().areas().empty());
    EXPECT_EQ(propsFault(*grid), "");
}

TEST_F(LinesTest, MergeRowCellsMakesSingleCellAreasInsideTheRow)
{
    const QStringList texts{"a", "a", "b", "c", "d"};
    for (int c = 1; c <= 5; ++c)
        grid->SetGridCell(c, 2, texts[c - 1]);
    grid->MergeRowCells(2, true);
    EXPECT_EQ((grid->MergedSpans().areas()),
              (std::vector<TMergedArea>{{1, 2, 2, 1}, {3, 2, 1, 1}, {4, 2, 1, 1}}));
    grid->SplitRowCells(2);
    EXPECT_TRUE(grid->MergedSpans().areas().empty());
}

TEST_F(LinesTest, MergeColsJoinsTrimmedAndRemovesTheSecondColumn)
{
    grid->SetGridCell(1, 1, "John");
    grid->SetGridCell(2, 1, "Smith");
    grid->SetGridCell(1, 2, "Ann ");
    grid->SetGridCell(2, 2, "");
    grid->MergeCols(1, 2, " ");
    EXPECT_EQ(cell(1, 1), "John Smith");
    EXPECT_EQ(cell(1, 2), "Ann");
    EXPECT_EQ(cell(2, 1), "3:1");
    EXPECT_EQ(cell(1, 0), "1:0");
    EXPECT_EQ(grid->ColCount(), 5);
}

TEST_F(LinesTest, TrimRectTrimsBlanksAndControlCharacters)
{
    grid->SetGridCell(1, 1, " a\t");
    grid->SetGridCell(2, 1, QString(QChar(1)) + "b c ");
    grid->MergeCells(3, 1, 2, 1);
    grid->SetGridCell(3, 1, "base");
    grid->SetGridCell(4, 1, " covered ");
    grid->TrimRow(1);
    EXPECT_EQ(cell(1, 1), "a");
    EXPECT_EQ(cell(2, 1), "b c");
    EXPECT_EQ(cell(3, 1), "base");
    EXPECT_EQ(cell(4, 1), "covered");
}

TEST_F(LinesTest, ColorRectColoursEveryCellOfTheRectangle)
{
    grid->ColorRect(1, 2, 2, 3, 0x00FF00);
    EXPECT_EQ(grid->GetColors(2, 3), 0x00FF00u);
    EXPECT_FALSE(grid->HasCellProperties(3, 3));
    grid->ColorRect(1, 5, 2, 4, 0x00FF00);
    EXPECT_FALSE(grid->HasCellProperties(1, 4));
}

TEST_F(LinesTest, IsCellFindsTheFirstExactMatchRowByRow)
{
    grid->SetGridCell(3, 1, "needle");
    grid->SetGridCell(0, 2, "needle");
    int c = -1, r = -1;
    EXPECT_TRUE(grid->IsCell("needle", c, r));
    EXPECT_EQ(c, 3);
    EXPECT_EQ(r, 1);
    EXPECT_FALSE(grid->IsCell("Needle", c, r));
    grid->SetGridCell(1, 1, EncodeWideCellText("w"));
    EXPECT_TRUE(grid->IsWideCell(1, 1));
    EXPECT_FALSE(grid->IsWideCell(2, 1));
}

} // namespace

// ---- long random sequences against a plain model ------------------------------------------------

namespace {

// The grid as rows of texts, property tags (a font size, 0: none set) and modified marks, with the
// merged areas as a list. Line operations follow the rules the grid documents: an insertion
// grows the areas it cuts and moves those after it, a removal shrinks or drops the areas it
// reaches, a move splits the areas it reaches and merges again those whose lines stay together.
struct TLineModel
{
    static constexpr int Cols = 6;
    struct TRow
    {
        QStringList texts = QStringList(Cols, QString());
        std::vector<int> tags = std::vector<int>(Cols, 0);
        bool marked = false;
    };
    std::vector<TRow> rows;
    std::vector<TMergedArea> areas;

    void sortAreas()
    {
        std::sort(areas.begin(), areas.end(), [](const TMergedArea &a, const TMergedArea &b) {
            return std::tie(a.row, a.col) < std::tie(b.row, b.col);
        });
    }
    void insert(int at, int count)
    {
        rows.insert(rows.begin() + at, size_t(count), TRow{});
        for (TMergedArea &a : areas) {
            if (a.row >= at)
                a.row += count;
            else if (a.lastRow() >= at)
                a.height += count;
        }
    }
    void remove(int at, int count)
    {
        rows.erase(rows.begin() + at, rows.begin() + at + count);
        std::vector<TMergedArea> kept;
        for (TMergedArea a : areas) {
            const int overlap = std::min(a.lastRow(), at + count - 1) - std::max(a.row, at) + 1;
            if (a.row >= at + count)
                a.row -= count;
            else if (overlap > 0) {
                if (overlap >= a.height)
                    continue;
                a.height -= overlap;
                a.row = std::min(a.row, at);
            }
            kept.push_back(a);
        }
        areas = kept;
    }
    void move(int from, int to, int count)
    {
        std::vector<TRow> block(rows.begin() + from, rows.begin() + from + count);
        rows.erase(rows.begin() + from, rows.begin() + from + count);
        rows.insert(rows.begin() + to, block.begin(), block.end());
        const int lo = std::min(from, to);
        const int hi = std::max(from, to) + count - 1;
        auto moved = [&](int x) { return movedLine(x, from, to, count); };
        std::vector<TMergedArea> kept;
        for (TMergedArea a : areas) {
            if (a.lastRow() < lo || a.row > hi) {
                kept.push_back(a);
                continue;
            }
            if (a.row <= lo && a.lastRow() >= hi) {
                kept.push_back(a);
                continue;
            }
            bool together = true;
            for (int x = a.row + 1; x <= a.lastRow(); ++x)
                together = together && moved(x) == moved(a.row) + (x - a.row);
            if (together) {
                a.row = moved(a.row);
                kept.push_back(a);
            }
        }
        areas = kept;
    }
    void merge(const TMergedArea &m)
    {
        std::vector<TMergedArea> kept;
        for (const TMergedArea &a : areas) {
            const bool overlap = a.col <= m.lastCol() && m.col <= a.lastCol() &&
                                 a.row <= m.lastRow() && m.row <= a.lastRow();
            if (!overlap)
                kept.push_back(a);
        }
        kept.push_back(m);
        areas = kept;
    }
};

// Compares everything the model knows; empty when the grid agrees.
QString modelFault(const TQrlStringGrid &g, TLineModel &m)
{
    if (g.RowCount() != int(m.rows.size()))
        return QStringLiteral("row count %1, model %2").arg(g.RowCount()).arg(m.rows.size());
    if (QString f = propsFault(g); !f.isEmpty())
        return f;
    for (int r = 0; r < g.RowCount(); ++r) {
        const TLineModel::TRow &row = m.rows[size_t(r)];
        const QString at = QStringLiteral(" at row %1").arg(r);
        if (g.GetRowModified(r) != row.marked)
            return "mark differs" + at;
        for (int c = 0; c < TLineModel::Cols; ++c) {
            if (g.GetGridCell(c, r) != row.texts[c])
                return QStringLiteral("text '%1' (model '%2') col %3")
                           .arg(g.GetGridCell(c, r), row.texts[c])
                           .arg(c) +
                       at;
            const int tag = row.tags[size_t(c)];
            if (tag == 0)
                continue;
            const TCellProperties *p = g.GetGridObject(c, r);
            if (!p || p->FontSize() != tag)
                return QStringLiteral("properties tagged %1 lost col %2").arg(tag).arg(c) + at;
            if (p->OwnerCol() != c || p->OwnerRow() != r)
                return QStringLiteral("owner %1,%2 of col %3")
                           .arg(p->OwnerCol())
                           .arg(p->OwnerRow())
                           .arg(c) +
                       at;
        }
    }
    m.sortAreas();
    if (g.MergedSpans().areas() != m.areas)
        return QStringLiteral("merged areas differ: %1 in the grid, %2 in the model")
            .arg(g.MergedSpans().count())
            .arg(m.areas.size());
    for (const TMergedArea &a : m.areas) {
        for (int c = a.col; c <= a.lastCol(); ++c) {
            for (int r = a.row; r <= a.lastRow(); ++r) {
                const bool base = c == a.col && r == a.row;
                if (g.IsBaseCell(c, r) != base ||
                    g.BaseCell(c, r) != plat::TGridCoord{a.col, a.row} ||
                    g.CellSpan(c, r) != plat::TGridCoord{a.width - 1, a.height - 1})
                    return QStringLiteral("cell %1,%2 does not answer as part of its area")
                        .arg(c)
                        .arg(r);
            }
        }
    }
    return {};
}

} // namespace

// Inserts, removes, moves, sorts, merges, hides and shows rows of a grid with merged areas, cell
// properties and marked rows, checking texts, areas, owner cells and marks after every step.
TEST(LinesSequence, LongRandomSequencesKeepCellsPropertiesAreasAndMarksTogether)
{
    for (const unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        auto pick = [&rng](int lo, int hi) { return lo + int(rng() % unsigned(hi - lo + 1)); };
        TQrlStringGrid g;
        g.SetColCount(TLineModel::Cols);
        g.SetRowCount(30);
        g.SetFixedRows(1);
        g.SetFixedCols(0);
        g.ShowModified()->SetEnabled(true);
        TLineModel m;
        m.rows.resize(30);
        int nextId = 0;
        int nextTag = 100;
        // Column 0 names the row for good, column 1 is a sort key with ties.
        auto name = [&](int r) {
            const QString id = QStringLiteral("id%1").arg(nextId++);
            const QString key = QString::number(pick(0, 5));
            g.SetGridCell(0, r, id);
            g.SetGridCell(1, r, key);
            g.SetGridCell(2, r, id + "x");
            m.rows[size_t(r)].texts[0] = id;
            m.rows[size_t(r)].texts[1] = key;
            m.rows[size_t(r)].texts[2] = id + "x";
        };
        for (int r = 0; r < 30; ++r)
            name(r);

        for (int step = 0; step < 400; ++step) {
            const int rows = g.RowCount();
            const int op = pick(0, 9);
            QString what;
            if (op == 0 || (op == 1 && rows < 12)) {
                const int at = pick(1, rows);
                const int n = pick(1, 3);
                what = QStringLiteral("insert %1 at %2").arg(n).arg(at);
                g.InsertRows(at, n);
                m.insert(at, n);
                for (int r = at; r < at + n; ++r)
                    name(r);
            } else if (op == 1) {
                const int at = pick(1, rows - 1);
                const int n = std::min(pick(1, 3), rows - at);
                what = QStringLiteral("remove %1 at %2").arg(n).arg(at);
                g.RemoveRows(at, n);
                m.remove(at, n);
            } else if (op == 2) {
                const int n = pick(1, 3);
                const int from = pick(1, rows - n);
                const int to = pick(1, rows - n);
                what = QStringLiteral("move %1 from %2 to %3").arg(n).arg(from).arg(to);
                // MoveRows names the target before the block is taken out when it lies after it.
                g.MoveRows(from, from + n < to ? to + n : to, n);
                if (from != to)
                    m.move(from, to, n);
            } else if (op == 3) {
                const int c = pick(2, 4);
                const int r = pick(1, rows - 1);
                const TMergedArea a{c, r, std::min(pick(1, 2), TLineModel::Cols - c),
                                    std::min(pick(1, 3), rows - r)};
                what = QStringLiteral("merge %1,%2 %3x%4").arg(c).arg(r).arg(a.width).arg(a.height);
                g.MergeCells(a.col, a.row, a.width, a.height);
                m.merge(a);
            } else if (op == 4 || op == 5) {
                const int c = pick(0, TLineModel::Cols - 1);
                const int r = pick(1, rows - 1);
                what = QStringLiteral("tag %1,%2").arg(c).arg(r);
                g.GetCellProperties(c, r)->SetFontSize(nextTag);
                m.rows[size_t(r)].tags[size_t(c)] = nextTag++;
            } else if (op == 6) {
                const int r = pick(1, rows - 1);
                what = QStringLiteral("mark %1").arg(r);
                const bool v = !m.rows[size_t(r)].marked;
                g.SetRowModified(r, v);
                m.rows[size_t(r)].marked = v;
            } else if (op == 7) {
                what = pick(0, 1) ? QStringLiteral("sort") : QStringLiteral("unsort");
                if (what == QLatin1String("sort"))
                    g.Sort(1, TSortDirection::sdAscending);
                else
                    g.QUnSort();
                // The rows follow their names; one-row areas go with their row, an area of
                // more rows stays only where no row of it moved.
                std::map<QString, size_t> byId;
                for (size_t r = 0; r < m.rows.size(); ++r)
                    byId[m.rows[r].texts[0]] = r;
                std::vector<TLineModel::TRow> sorted;
                std::vector<int> newPos(m.rows.size());
                for (int r = 0; r < g.RowCount(); ++r) {
                    const auto it = byId.find(g.GetGridCell(0, r));
                    ASSERT_NE(it, byId.end()) << "row " << r << " lost its name";
                    newPos[it->second] = r;
                    sorted.push_back(m.rows[it->second]);
                }
                m.rows = sorted;
                const std::vector<TMergedArea> before = m.areas;
                m.areas = g.MergedSpans().areas();
                for (const TMergedArea &a : m.areas) {
                    const bool kept =
                        std::any_of(before.begin(), before.end(), [&](const TMergedArea &b) {
                            if (b.col != a.col || b.width != a.width || b.height != a.height)
                                return false;
                            if (b.height == 1)
                                return newPos[size_t(b.row)] == a.row;
                            for (int r = b.row; r <= b.lastRow(); ++r)
                                if (newPos[size_t(r)] != r)
                                    return false;
                            return b.row == a.row;
                        });
                    ASSERT_TRUE(kept) << "area " << a.col << "," << a.row << " came from nowhere";
                }
            } else {
                const int from = pick(1, rows - 1);
                const int to = std::min(from + pick(0, 2), rows - 1);
                what = QStringLiteral("hide and show %1..%2").arg(from).arg(to);
                g.HideRows(from, to);
                const std::vector<TLineModel::TRow> hidden(m.rows.begin() + from,
                                                           m.rows.begin() + to + 1);
                m.remove(from, to - from + 1);
                ASSERT_EQ(g.RowCount(), int(m.rows.size())) << what.toStdString();
                g.UnHideRows(from, to);
                // Shown again one row at a time, each in its place; the marks stayed with the
                // real rows meanwhile.
                for (int r = from; r <= to; ++r) {
                    m.insert(r, 1);
                    m.rows[size_t(r)] = hidden[size_t(r - from)];
                }
            }
            const QString fault = modelFault(g, m);
            ASSERT_TRUE(fault.isEmpty()) << "after step " << step << " (" << what.toStdString()
                                         << "): " << fault.toStdString();
        }
    }
}
