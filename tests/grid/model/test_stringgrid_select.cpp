// The string grid's selection, row marks and range repaints, and its line moves, hidden
// selection, current and top row, used cells and save ranges.
#include "GridFaults.h"
#include "grid/common/GridWindow.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <tuple>
#include <vector>

using plat::TGridCoord;
using plat::TGridRect;

namespace {

// Records what the grid asks to repaint.
class RecordingGrid : public TQrlStringGrid
{
public:
    void InvalidateRect(const TRect &R) override
    {
        rects.push_back(R);
        TQrlStringGrid::InvalidateRect(R);
    }
    std::vector<TRect> rects;
};

class SelectTest : public ::testing::Test
{
protected:
    void SetUp() override { grid = std::make_unique<RecordingGrid>(); }

    void disjunctRows() { grid->MouseActions()->SetDisjunctRowSelect(true); }
    std::vector<int> selectedRows() const
    {
        std::vector<int> rows;
        for (int i = 0; i < grid->SelectedRowCount(); ++i)
            rows.push_back(grid->GetSelectedRow(i));
        return rows;
    }
    std::vector<int> flaggedRows() const
    {
        std::vector<int> rows;
        for (int r = 0; r < grid->RowCount(); ++r)
            if (grid->GetRowSelect(r))
                rows.push_back(r);
        return rows;
    }
    std::vector<TGridCoord> selectedCells() const
    {
        std::vector<TGridCoord> cells;
        const int n = grid->SelectedCellsCount();
        for (int i = 0; i < n; ++i)
            cells.push_back(grid->GetSelectedCell(i));
        return cells;
    }
    QStringList column(int c) const
    {
        QStringList texts;
        for (int r = 0; r < grid->RowCount(); ++r)
            texts << grid->GetCellEx(c, r);
        return texts;
    }

    std::unique_ptr<RecordingGrid> grid;
};

template <typename F> QString errorOf(F &&f)
{
    try {
        f();
    } catch (const EQrlGridError &e) {
        return QString::fromStdString(e.what());
    }
    return {};
}

// ---- rows -------------------------------------------------------------------------------------

TEST_F(SelectTest, SelectRowsMakesTheRectangleOfTheRowsInsideTheGrid)
{
    struct Case
    {
        const char *name;
        int from, count;
        TGridRect rect;
    };
    const Case cases[] = {
        {"one row", 5, 1, {1, 5, 5, 5}},
        {"cut at the last row", 8, 5, {1, 8, 5, 9}},
        {"cut at the first row", -2, 4, {1, 0, 5, 1}},
        {"wholly outside changes nothing", 12, 2, {1, 1, 1, 1}},
        {"no rows changes nothing", 3, 0, {1, 1, 1, 1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        grid = std::make_unique<RecordingGrid>();
        grid->SetColCount(6);
        grid->SelectRows(c.from, c.count);
        EXPECT_EQ(grid->Selection(), c.rect);
        EXPECT_EQ(grid->Row(), c.rect.Bottom);
        EXPECT_EQ(grid->Col(), c.rect.Right);
    }
    grid->SelectRows(5, 1);
    EXPECT_TRUE(grid->GetRowSelect(5));
    EXPECT_FALSE(grid->GetRowSelect(6));
    EXPECT_EQ(grid->RowSelectCount(), 1);
}

TEST_F(SelectTest, RowFlagsOutsideTheGridFailWithTheirMessages)
{
    EXPECT_EQ(errorOf([&] { grid->GetRowSelect(10); }), "Invalid row 10 accessed");
    EXPECT_EQ(errorOf([&] { grid->GetRowSelect(-1); }), "Invalid row -1 accessed");
    EXPECT_EQ(errorOf([&] { grid->SetRowSelect(10, true); }), "Invalid row accessed");
    EXPECT_EQ(errorOf([&] { grid->SetRowSelect(-1, false); }), "Invalid row accessed");
    // Flags kept by real row reach past the shown rows.
    disjunctRows();
    grid->MouseActions()->SetRowSelectPersistent(true);
    EXPECT_FALSE(grid->GetRowSelect(10));
    EXPECT_FALSE(grid->GetRowSelect(2'000'000'000));
    EXPECT_FALSE(grid->GetRowSelect(-1));
}

TEST_F(SelectTest, DisjunctRowsKeepTheirSelectionOrderWithoutFixedRows)
{
    disjunctRows();
    grid->SetRowSelect(3, true);
    grid->SetRowSelect(3, true);
    EXPECT_EQ(selectedRows(), std::vector<int>{3});
    EXPECT_EQ(grid->RowSelectCount(), 1);
    grid->SetRowSelect(0, true); // a fixed row: flagged, not listed
    EXPECT_TRUE(grid->GetRowSelect(0));
    EXPECT_EQ(selectedRows(), std::vector<int>{3});
    EXPECT_EQ(grid->RowSelectCount(), 2);
    grid->SelectRows(8, 5); // 8 and 9 only; the rectangle stays
    EXPECT_EQ(selectedRows(), (std::vector<int>{3, 8, 9}));
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 1}));
    EXPECT_EQ(grid->GetSelectedRow(3), -1);
    grid->UnSelectRows(8, 1);
    EXPECT_EQ(selectedRows(), (std::vector<int>{3, 9}));
    grid->ClearRowSelect();
    EXPECT_EQ(flaggedRows(), std::vector<int>{});
    EXPECT_EQ(grid->SelectedRowCount(), 0);
}

TEST_F(SelectTest, RowSelectEventsMayRefuseAndReportEachCall)
{
    disjunctRows();
    std::vector<std::tuple<int, bool>> asked;
    std::vector<int> done;
    bool allow = false;
    grid->OnRowDisjunctSelect = [&](QObject *, int r, bool state, bool &Allow) {
        asked.emplace_back(r, state);
        Allow = allow;
    };
    grid->OnRowDisjunctSelected = [&](QObject *, int r) { done.push_back(r); };

    grid->SetRowSelect(4, true);
    EXPECT_FALSE(grid->GetRowSelect(4));
    EXPECT_EQ(grid->SelectedRowCount(), 0);
    EXPECT_TRUE(done.empty());

    allow = true;
    grid->SetRowSelect(4, true);
    grid->SetRowSelect(4, true);  // same flag inside the list: not asked again
    grid->SetRowSelect(7, false); // beyond the list: asked
    grid->SetRowSelect(6, false); // inside the list now, unchanged: not asked
    const std::vector<std::tuple<int, bool>> wantAsked{{4, true}, {4, true}, {7, false}};
    EXPECT_EQ(asked, wantAsked);
    EXPECT_EQ(done, (std::vector<int>{4, 4, 7, 6}));
    EXPECT_EQ(selectedRows(), std::vector<int>{4});
}

TEST_F(SelectTest, RectangleRowsCountWithFootersAndMergedCells)
{
    grid->SetRowCount(12);
    grid->SetSelection({1, 2, 3, 4});
    EXPECT_EQ(grid->SelectedRowCount(), 3);
    EXPECT_EQ(grid->RowSelectCount(), 3);
    EXPECT_EQ(grid->GetSelectedRow(0), 2);
    EXPECT_EQ(grid->GetSelectedRow(2), 4);
    EXPECT_EQ(grid->GetSelectedRow(3), -1);
    EXPECT_EQ(grid->GetSelectedRow(-1), -1);
    grid->MergeCells(1, 4, 1, 3); // the bottom-left cell reaches two rows further
    EXPECT_EQ(grid->SelectedRowCount(), 5);
    grid->SplitCells(1, 4);
    grid->MergeCells(1, 2, 1, 6); // the top-left area reaches past the bottom
    EXPECT_EQ(grid->SelectedRowCount(), 6);
    grid->SplitCells(1, 2);
    grid->SetFixedFooters(2);
    grid->SetSelection({1, 8, 1, 11});
    EXPECT_EQ(grid->SelectedRowCount(), 2); // rows 8 and 9; 10 and 11 are footers
}

TEST_F(SelectTest, SelectionToRowSelectCopiesTheRectangleRows)
{
    disjunctRows();
    grid->SetFixedFooters(1);
    grid->SetSelection({1, 3, 2, 9});
    grid->SelectionToRowSelect(false);
    EXPECT_EQ(flaggedRows(), (std::vector<int>{3, 4, 5, 6, 7, 8})); // not the footer row
    grid->SetSelection({1, 5, 1, 5});
    grid->SelectionToRowSelect(false); // adds
    EXPECT_EQ(grid->RowSelectCount(), 6);
    grid->SelectionToRowSelect(true); // replaces
    EXPECT_EQ(flaggedRows(), std::vector<int>{5});
    EXPECT_EQ(selectedRows(), std::vector<int>{5});
}

// ---- columns ----------------------------------------------------------------------------------

TEST_F(SelectTest, ColumnFlagsAndRectangles)
{
    EXPECT_EQ(errorOf([&] { grid->SetColSelect(-1, true); }), "Invalid column accessed");
    EXPECT_EQ(errorOf([&] { grid->GetColSelect(5); }), "Invalid column accessed");

    grid->SelectCols(2, 2);
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 1, 3, 9}));
    EXPECT_EQ(grid->ColSelectCount(), 2);
    EXPECT_EQ(grid->SelectedColCount(), 2);
    grid->SelectCols(3, 5); // cut at the last column
    EXPECT_EQ(grid->Selection(), (TGridRect{3, 1, 4, 9}));
    grid->MergeCells(3, 1, 3, 1);           // the top-left area reaches past the right edge
    EXPECT_EQ(grid->SelectedColCount(), 2); // area cut at the grid's edge: 2 wide
    grid->SplitCells(3, 1);

    grid->MouseActions()->SetDisjunctColSelect(true);
    grid->SelectCols(1, 10);
    for (int c = 1; c < 5; ++c)
        EXPECT_TRUE(grid->GetColSelect(c)) << c;
    EXPECT_FALSE(grid->GetColSelect(0));
    grid->UnSelectCols(2, 2);
    EXPECT_EQ(grid->ColSelectCount(), 2);
    EXPECT_EQ(grid->SelectedColCount(), 2);
    grid->SetSelection({2, 1, 3, 1});
    grid->SelectionToColSelect(true);
    EXPECT_FALSE(grid->GetColSelect(1));
    EXPECT_TRUE(grid->GetColSelect(2));
    EXPECT_TRUE(grid->GetColSelect(3));
    EXPECT_FALSE(grid->GetColSelect(4));
    grid->ClearColSelect();
    EXPECT_EQ(grid->ColSelectCount(), 0);
}

// ---- ranges and cells -------------------------------------------------------------------------

TEST_F(SelectTest, SelectedCellsComeFromTheRectangleColumnByColumn)
{
    grid->SetSelection({3, 4, 3, 4});
    EXPECT_EQ(selectedCells(), (std::vector<TGridCoord>{{3, 4}}));
    grid->SetSelection({1, 1, 2, 2});
    EXPECT_EQ(selectedCells(), (std::vector<TGridCoord>{{1, 1}, {1, 2}, {2, 1}, {2, 2}}));
    EXPECT_TRUE(grid->GetSelectedCells(2, 1));
    EXPECT_FALSE(grid->GetSelectedCells(3, 1));
    EXPECT_THROW(grid->GetSelectedCell(4), std::out_of_range);

    grid->MouseActions()->SetDisjunctCellSelect(true);
    grid->ClearSelectedCells();
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 1}));
    grid->SetSelectedCells(4, 7, true);
    grid->SetSelectedCells(2, 3, true);
    grid->SetSelectedCells(4, 7, true);
    EXPECT_EQ(selectedCells(), (std::vector<TGridCoord>{{4, 7}, {2, 3}}));
    EXPECT_TRUE(grid->GetSelectedCells(2, 3));
    EXPECT_FALSE(grid->GetSelectedCells(1, 1)); // the rectangle does not count
    grid->SetSelectedCells(4, 7, false);
    EXPECT_EQ(selectedCells(), (std::vector<TGridCoord>{{2, 3}}));
}

TEST_F(SelectTest, SelectRangeMovesTheCursorToItsEndCell)
{
    grid->SelectRange(1, 3, 2, 6);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 2, 3, 6}));
    EXPECT_EQ(grid->Row(), 6);
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(errorOf([&] { grid->SelectRange(1, 5, 2, 6); }), "Grid index out of range");
    EXPECT_EQ(errorOf([&] { grid->SelectRange(-1, 2, 2, 6); }), "Grid index out of range");
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 2, 3, 6}));
}

// ---- row marks --------------------------------------------------------------------------------

TEST_F(SelectTest, ModifiedRows)
{
    EXPECT_FALSE(grid->GetRowModified(4));
    grid->SetRowModified(4, true);
    grid->SetRowModified(6, true);
    grid->SetRowModified(6, false);
    EXPECT_TRUE(grid->GetRowModified(4));
    EXPECT_EQ(grid->ModifiedRowCount(), 1);
    grid->ClearModifiedRows();
    EXPECT_EQ(grid->ModifiedRowCount(), 0);
    EXPECT_EQ(errorOf([&] { grid->SetRowModified(-1, true); }), "Invalid row accessed");
}

TEST_F(SelectTest, DisablingTheCurrentRowMovesTheCursorToAnEnabledRow)
{
    EXPECT_TRUE(grid->GetRowEnabled(5));
    grid->SetRowEnabled(2, false);
    grid->SetRow(1);
    grid->SetRowEnabled(1, false);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_FALSE(grid->GetRowEnabled(1));
    // Enabling the current row keeps the cursor there.
    grid->SetRowEnabled(3, true);
    EXPECT_EQ(grid->Row(), 3);
    // With no other enabled row the cursor stays.
    for (int r = 1; r < grid->RowCount(); ++r)
        if (r != 3)
            grid->SetRowEnabled(r, false);
    grid->SetRowEnabled(3, false);
    EXPECT_EQ(grid->Row(), 3);
}

// The enabled marks count only while UseEnabledRows is on: then Down steps over a disabled row.
// The marks follow their rows either way, so switching back on finds them where they belong.
TEST(EnabledRows, UseEnabledRowsDecidesWhetherTheDownKeyStepsOverADisabledRow)
{
    for (bool use : {true, false}) {
        SCOPED_TRACE(use);
        gridtest::GridWindow<TQrlStringGrid> shown;
        TQrlStringGrid *g = shown.open();
        ASSERT_TRUE(shown.showActive({400, 260}));
        EXPECT_FALSE(g->UseEnabledRows());
        g->SetRowEnabled(3, false);
        EXPECT_TRUE(g->UseEnabledRows());
        g->SetUseEnabledRows(use);
        g->FocusCell(1, 2);
        QTest::keyClick(g, Qt::Key_Down);
        EXPECT_EQ(g->Row(), use ? 4 : 3);
        g->InsertRows(1, 1);
        g->SetUseEnabledRows(true);
        EXPECT_TRUE(g->GetRowEnabled(3));
        EXPECT_FALSE(g->GetRowEnabled(4));
    }
}

// ---- repaints ---------------------------------------------------------------------------------

TEST_F(SelectTest, RepaintsCoverTheirCells)
{
    grid->SetRowCount(50);
    grid->show();
    // The cells' own rectangles: their lines lie inside them.
    auto cellUnion = [&](int c1, int r1, int c2, int r2) {
        const TRect a = grid->CellRect(c1, r1), b = grid->CellRect(c2, r2);
        return TRect{a.Left, a.Top, b.Right, b.Bottom};
    };
    const TRect whole{0, 0, grid->viewport()->width(), grid->viewport()->height()};

    grid->rects.clear();
    grid->RepaintRect({-1, 1, 2, 2});
    EXPECT_TRUE(grid->rects.empty());
    grid->RepaintRect({1, 1, 2, 2});
    EXPECT_EQ(grid->rects, std::vector<TRect>{cellUnion(1, 1, 2, 2)});
    grid->rects.clear();
    grid->RepaintRect({1, 1, 2, 40}); // the bottom corner is out of view
    EXPECT_EQ(grid->rects, std::vector<TRect>{whole});

    grid->rects.clear();
    grid->InvalidateCellRange({2, 3, 3, 4});
    EXPECT_EQ(grid->rects, std::vector<TRect>{cellUnion(2, 3, 3, 4)});

    // A row flag repaints its row when it changes, and only then.
    disjunctRows();
    grid->rects.clear();
    grid->SetRowSelect(3, true);
    ASSERT_EQ(grid->rects.size(), 1u);
    EXPECT_EQ(grid->rects[0].Top, grid->CellRect(1, 3).Top);
    EXPECT_EQ(grid->rects[0].Left, 0);
    grid->rects.clear();
    grid->SetRowSelect(3, true);
    EXPECT_TRUE(grid->rects.empty());

    grid->rects.clear();
    grid->RepaintCol(2);
    ASSERT_EQ(grid->rects.size(), 1u);
    EXPECT_EQ(grid->rects[0].Left, grid->CellRect(2, 1).Left);
    EXPECT_EQ(grid->rects[0].Top, grid->CellRect(2, grid->TopRow()).Top);
}

TEST_F(SelectTest, ScrollingAboveTheSearchFooterEndsWithATallLastRow)
{
    grid->SetRowCount(30);
    grid->show();
    grid->SearchFooter()->SetVisible(true);
    grid->SetRowHeights(29, 5000);
    grid->SetTopRow(5);
    grid->ScrollLastRowAboveSearchFooter();
    EXPECT_EQ(grid->TopRow(), 29);
    EXPECT_FALSE(grid->LastRowAboveSearchFooter());
    grid->SetRowHeights(29, 22);
    grid->SetTopRow(grid->MaxTopRow());
    EXPECT_TRUE(grid->LastRowAboveSearchFooter());
    grid->SetTopRow(1);
    EXPECT_FALSE(grid->LastRowAboveSearchFooter());
}

// ---- moving lines -----------------------------------------------------------------------------

TEST_F(SelectTest, MoveRowsPutsTheBlockBeforeTheNamedRow)
{
    struct Case
    {
        const char *name;
        int from, to, count;
        QStringList order; // of r0 .. r7, empty: refused with nothing changed
    };
    const QStringList same{"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7"};
    const Case cases[] = {
        {"down, lowered by the count", 1, 5, 2, {"r0", "r3", "r4", "r1", "r2", "r5", "r6", "r7"}},
        {"up", 5, 1, 2, {"r0", "r5", "r6", "r1", "r2", "r3", "r4", "r7"}},
        {"overlapping", 1, 2, 2, {"r0", "r3", "r1", "r2", "r4", "r5", "r6", "r7"}},
        {"long block up", 3, 1, 4, {"r0", "r3", "r4", "r5", "r6", "r1", "r2", "r7"}},
        {"to the end", 1, 8, 2, {"r0", "r3", "r4", "r5", "r6", "r7", "r1", "r2"}},
        {"same place", 3, 3, 2, same},
        {"no rows", 1, 4, 0, same},
        {"past the end", 1, 9, 2, {}},
        {"block past the last row", 7, 1, 2, {}},
        {"negative count", 2, 1, -1, {}},
        {"negative start", -1, 3, 1, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        grid = std::make_unique<RecordingGrid>();
        grid->SetRowCount(8);
        for (int r = 0; r < 8; ++r)
            grid->SetCellEx(1, r, QStringLiteral("r%1").arg(r));
        const QString error = errorOf([&] { grid->MoveRows(c.from, c.to, c.count); });
        EXPECT_EQ(error.isEmpty(), !c.order.isEmpty()) << error.toStdString();
        EXPECT_EQ(column(1), c.order.isEmpty() ? same : c.order);
    }
}

TEST_F(SelectTest, MoveColumnTakesControlsWidthsAndTextsAlong)
{
    auto *inTwo = new QWidget;
    auto *inOne = new QWidget;
    grid->SetCellControls(2, 4, inTwo);
    grid->SetCellControls(1, 6, inOne);
    grid->SetColWidths(1, 80);
    grid->SetCellEx(2, 0, "two");
    grid->MoveColumn(1, 3);
    EXPECT_EQ(grid->GetCellControls(1, 4), inTwo);
    EXPECT_EQ(grid->GetCellControls(3, 6), inOne);
    EXPECT_GE(grid->ControlList().ControlIndex(1, 4), 0);
    EXPECT_GE(grid->ControlList().ControlIndex(3, 6), 0);
    EXPECT_EQ(grid->ControlList().ControlIndex(2, 4), -1);
    const TRect r = grid->CellRect(3, 6);
    EXPECT_EQ(inOne->geometry(), QRect(r.Left - 1, r.Top - 1, r.Width() + 1, r.Height() + 1));
    EXPECT_EQ(grid->ColWidths(3), 80);
    EXPECT_EQ(grid->GetCellEx(1, 0), "two");
    EXPECT_EQ(errorOf([&] { grid->MoveColumn(1, 5); }), "Grid index out of range");
}

TEST_F(SelectTest, MoveRowTakesEverythingKeptByRowAlong)
{
    disjunctRows();
    grid->SetColors(2, 2, clRed);
    grid->MergeCells(1, 2, 3, 1); // one row: moves with it
    grid->MergeCells(1, 5, 1, 2); // rows 5 and 6: move up together
    grid->SetRowSelect(2, true);
    grid->SetRowModified(2, true);
    grid->SetRowHeights(2, 40);
    auto *control = new QWidget;
    grid->SetCellControls(4, 2, control);
    grid->SetRow(2);

    grid->MoveRow(2, 7);
    EXPECT_EQ(grid->GetColors(2, 7), clRed);
    EXPECT_EQ(grid->MergedSpans().areas(), (std::vector<TMergedArea>{{1, 4, 1, 2}, {1, 7, 3, 1}}));
    EXPECT_EQ(grid->GetCellProperties(2, 7)->OwnerRow(), 7);
    EXPECT_EQ(grid->GetCellProperties(2, 7)->CellSpanX(), 1); // offset from its base cell
    EXPECT_EQ(flaggedRows(), std::vector<int>{7});
    EXPECT_TRUE(grid->GetRowModified(7));
    EXPECT_FALSE(grid->GetRowModified(2));
    EXPECT_EQ(grid->RowHeights(7), 40);
    EXPECT_EQ(grid->GetCellControls(4, 7), control);
    EXPECT_GE(grid->ControlList().ControlIndex(4, 7), 0);
    EXPECT_EQ(grid->Row(), 7); // the cursor stays on its cell
    EXPECT_EQ(errorOf([&] { grid->MoveRow(0, 10); }), "Grid index out of range");
}

TEST_F(SelectTest, MergedAreasFollowSingleMovesLikeTheSpanModel)
{
    for (TGridAxis axis : {TGridAxis::Rows, TGridAxis::Cols}) {
        const bool rows = axis == TGridAxis::Rows;
        grid = std::make_unique<RecordingGrid>();
        grid->SetColCount(8);
        grid->SetRowCount(8);
        for (int from = 0; from < 8; ++from) {
            for (int to = 0; to < 8; ++to) {
                SCOPED_TRACE(QStringLiteral("%1 %2 -> %3")
                                 .arg(rows ? "row" : "col")
                                 .arg(from)
                                 .arg(to)
                                 .toStdString());
                for (const TMergedArea &a : grid->MergedSpans().areas())
                    grid->SplitCells(a.col, a.row);
                // Lines 2 .. 4 in one area, line 6 in another.
                rows ? grid->MergeCells(1, 2, 2, 3) : grid->MergeCells(2, 1, 3, 2);
                rows ? grid->MergeCells(3, 6, 2, 1) : grid->MergeCells(6, 3, 1, 2);
                TMergedSpans want = grid->MergedSpans();
                want.linesMoved(axis, from, to);
                rows ? grid->MoveRow(from, to) : grid->MoveColumn(from, to);
                ASSERT_EQ(grid->MergedSpans().areas(), want.areas());
                ASSERT_EQ(propsFault(*grid), QString());
            }
        }
    }
}

TEST_F(SelectTest, BlockMovesKeepAreasInsideTheBlockAndSplitTornOnes)
{
    grid->SetColCount(6);
    grid->MergeCells(1, 2, 1, 2); // rows 2-3, inside the block
    grid->MergeCells(2, 3, 1, 2); // rows 3-4, torn by the move
    grid->MergeCells(3, 7, 2, 2); // rows 7-8, after the moved range
    grid->SetRow(3);
    grid->MoveRows(2, 6, 2); // rows 2, 3 to 4, 5
    EXPECT_EQ(grid->MergedSpans().areas(), (std::vector<TMergedArea>{{1, 4, 1, 2}, {3, 7, 2, 2}}));
    EXPECT_EQ(propsFault(*grid), QString());
    EXPECT_EQ(grid->Row(), 5);
}

// ---- hidden selection, current and top row ----------------------------------------------------

TEST_F(SelectTest, HiddenSelectionShowsNoCellAndComesBackInsideTheGrid)
{
    grid->SetSelection({1, 2, 3, 4});
    grid->HideSelection();
    grid->HideSelection(); // a second hide keeps the first saved selection
    EXPECT_TRUE(grid->SelHidden());
    for (int r = 0; r < grid->RowCount(); ++r)
        for (int c = 0; c < grid->ColCount(); ++c)
            EXPECT_FALSE(grid->GetSelectedCells(c, r)) << c << "," << r;
    grid->UnHideSelection();
    EXPECT_FALSE(grid->SelHidden());
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 2, 3, 4}));

    // A grid that lost the saved bottom keeps the cursor inside.
    grid->HideSelection();
    grid->SetRowCount(4);
    grid->UnHideSelection();
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 2, 3, 3}));

    // One that lost the saved top row selects the first scrollable cell.
    grid->SetSelection({2, 3, 2, 3});
    grid->HideSelection();
    grid->SetRowCount(3);
    grid->UnHideSelection();
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST_F(SelectTest, RowUpdateReportsOnlyChangesFromTheLastReportedRow)
{
    std::vector<std::pair<int, int>> updates;
    auto report = [&](QObject *, int o, int n) { updates.emplace_back(o, n); };
    grid->OnRowUpdate = report;
    grid->SetRow(3);
    grid->SetRow(3);
    grid->OnRowUpdate = nullptr;
    grid->SetRow(5);
    grid->SetRow(6);
    grid->OnRowUpdate = report;
    grid->SetRowEx(7);
    EXPECT_EQ(updates, (std::vector<std::pair<int, int>>{{-1, 3}, {3, 7}}));
    EXPECT_EQ(grid->GetRowEx(), 7);

    // Out of the hidden selection the cursor comes back in its first scrollable column.
    grid->HideSelection();
    grid->SetRow(4);
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(grid->Col(), 1);
}

TEST_F(SelectTest, RowWriteCopiesTheRectangleIntoRowFlagsAndSyncs)
{
    TQrlStringGrid other;
    grid->SyncGrid()->SetGrid(&other);
    grid->SyncGrid()->SetSelectionRow(true);
    disjunctRows();
    grid->SetRow(4);
    EXPECT_EQ(flaggedRows(), std::vector<int>{4});
    EXPECT_EQ(other.Row(), 4);
    grid->SyncGrid()->SetGrid(nullptr);
}

TEST_F(SelectTest, TopRowWritesOutsideTheScrollableRowsAreIgnored)
{
    grid->SetRowCount(60);
    grid->SetTopRowEx(10);
    EXPECT_EQ(grid->GetTopRowEx(), 10);
    grid->SetTopRowEx(0);
    EXPECT_EQ(grid->GetTopRowEx(), 10);
    grid->SetTopRowEx(60);
    EXPECT_EQ(grid->GetTopRowEx(), 10);
}

TEST_F(SelectTest, UpdateEditModeAsksAboutTheCurrentCellAgain)
{
    std::vector<TGridCoord> asked;
    grid->OnSelectCell = [&](QObject *, int c, int r, bool &) { asked.push_back({c, r}); };
    grid->SetSelection({2, 3, 2, 3});
    grid->UpdateEditMode();
    EXPECT_EQ(asked, (std::vector<TGridCoord>{{2, 3}}));
}

// ---- used cells, save ranges, screen points ---------------------------------------------------

TEST_F(SelectTest, UsedCellsBoundTheCellsWithText)
{
    EXPECT_EQ(grid->UsedCells(), (TGridRect{0, 0, 0, 0}));
    grid->SetCellEx(2, 3, "x");
    EXPECT_EQ(grid->UsedCells(), (TGridRect{2, 3, 2, 3}));
    grid->SetCellEx(4, 1, "y");
    grid->SetCellEx(1, 8, "z");
    EXPECT_EQ(grid->UsedCells(), (TGridRect{1, 1, 4, 8}));
}

TEST_F(SelectTest, SaveRangesFollowTheSaveFlags)
{
    struct Case
    {
        const char *name;
        bool cells, rows, cols;
        int startCol, endCol, colCount, startRow, endRow, rowCount;
    };
    // 10 rows, 5 columns; one fixed row and column, one right column, two footers.
    const Case cases[] = {
        {"fixed cells", true, false, false, 0, 4, 5, 0, 9, 10},
        {"nothing fixed", false, false, false, 1, 3, 3, 1, 7, 7},
        {"fixed rows", false, true, false, 1, 3, 3, 0, 9, 10},
        {"fixed columns", false, false, true, 0, 4, 5, 1, 7, 7},
    };
    grid->SetFixedRightCols(1);
    grid->SetFixedFooters(2);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetSaveFixedCells(c.cells);
        grid->SetSaveFixedRows(c.rows);
        grid->SetSaveFixedCols(c.cols);
        EXPECT_EQ(grid->SaveStartCol(), c.startCol);
        EXPECT_EQ(grid->SaveEndCol(), c.endCol);
        EXPECT_EQ(grid->SaveColCount(), c.colCount);
        EXPECT_EQ(grid->SaveStartRow(), c.startRow);
        EXPECT_EQ(grid->SaveEndRow(), c.endRow);
        EXPECT_EQ(grid->SaveRowCount(), c.rowCount);
    }
}

TEST_F(SelectTest, ScreenPointsFindTheirCell)
{
    grid->show();
    const TRect r = grid->CellRect(2, 3);
    const QPoint inside = grid->viewport()->mapToGlobal(QPoint(r.Left + 3, r.Top + 3));
    int c = 0, row = 0;
    grid->ScreenToCell({inside.x(), inside.y()}, c, row);
    EXPECT_EQ(c, 2);
    EXPECT_EQ(row, 3);
    const QPoint outside = grid->viewport()->mapToGlobal(QPoint(-20, -20));
    grid->ScreenToCell({outside.x(), outside.y()}, c, row);
    EXPECT_EQ(c, -1);
    EXPECT_EQ(row, -1);
}

} // namespace
