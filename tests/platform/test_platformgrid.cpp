// The platform string grid: line sizes, cell store, counts and their errors, geometry while
// scrolled, selection, moving and deleting lines, mouse sizing and moving, the inplace editor
// host, the message layer, the wheel, the scroll bars and painting.
#include "platform/grid/CellStore.h"
#include "platform/grid/InplaceEdit.h"
#include "platform/grid/LineSizes.h"
#include "platform/grid/PlatformStringGrid.h"
#include "test_platformgrid_util.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <numeric>
#include <random>
#include <tuple>
#include <vector>

using namespace plat;
using namespace gridtest;
using enum TGridOption;
using enum TGridDrawStateItem;

namespace {

// A grid that records what its hooks saw and can refuse things, as a descendant would.
class TestGrid : public TPlatformStringGrid
{
public:
    int editorsCreated = 0;
    std::vector<TGridCoord> getEditTextCalls;
    std::vector<std::tuple<int, int, QString>> setEditTextCalls;
    int colWidthsChanged = 0;
    int rowHeightsChanged = 0;
    std::vector<std::pair<int, int>> columnMoves;
    std::vector<std::pair<int, int>> rowMoves;
    int vetoSizingIndex = -1;
    bool vetoDrop = false;
    int swallowKey = 0;
    bool swallowScroll = false;
    std::vector<TScrollCode> scrollCodes;
    int keyDownCalls = 0;
    struct Drawn
    {
        int col;
        int row;
        TGridDrawState state;
    };
    std::vector<Drawn> drawn;
    int editLimit = 0;
    bool vetoEditShow = false;
    int columnStoreShift = 0;     // the cells of a moved column live this many columns further
    bool keepVerticalBar = false; // the bar stays shown although everything fits
    std::function<void(TestGrid &)> afterMouseDown;
    std::function<void(TestGrid &)> beforeMouseMove;

    using TPlatformStringGrid::HideEditor;
    using TPlatformStringGrid::SetGridState;
    using TPlatformStringGrid::ShowEditor;
    using TPlatformStringGrid::Store;

protected:
    TInplaceEdit *CreateEditor() override
    {
        ++editorsCreated;
        return TPlatformStringGrid::CreateEditor();
    }
    QString GetEditText(int c, int r) override
    {
        getEditTextCalls.push_back({c, r});
        return TPlatformStringGrid::GetEditText(c, r);
    }
    void SetEditText(int c, int r, const QString &v) override
    {
        setEditTextCalls.emplace_back(c, r, v);
        TPlatformStringGrid::SetEditText(c, r, v);
    }
    void ColWidthsChanged() override { ++colWidthsChanged; }
    void RowHeightsChanged() override { ++rowHeightsChanged; }
    void ColumnMoved(int from, int to) override
    {
        columnMoves.emplace_back(from, to);
        TPlatformStringGrid::ColumnMoved(from + columnStoreShift, to + columnStoreShift);
    }
    int GetEditLimit() override { return editLimit; }
    bool CanEditShow() override { return !vetoEditShow && TPlatformStringGrid::CanEditShow(); }
    void UpdateScrollRange() override
    {
        TPlatformStringGrid::UpdateScrollRange();
        if (keepVerticalBar)
            setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        TPlatformStringGrid::MouseDown(Button, Shift, X, Y);
        if (afterMouseDown)
            afterMouseDown(*this);
    }
    void MouseMove(TShiftState Shift, int X, int Y) override
    {
        if (beforeMouseMove)
            beforeMouseMove(*this);
        TPlatformStringGrid::MouseMove(Shift, X, Y);
    }
    void RowMoved(int from, int to) override
    {
        rowMoves.emplace_back(from, to);
        TPlatformStringGrid::RowMoved(from, to);
    }
    void CalcSizingState(
        int X, int Y, TGridState &State, int &Index, int &SizingPos, int &SizingOfs) override
    {
        TPlatformStringGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs);
        if (Index == vetoSizingIndex)
            State = TGridState::gsNormal;
    }
    bool EndColumnDrag(int &, int &, const TPoint &) override { return !vetoDrop; }
    bool HandleMessage(QEvent *e) override
    {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == swallowKey)
            return true;
        if (e->type() == TGridScrollEvent::Type()) {
            scrollCodes.push_back(static_cast<TGridScrollEvent *>(e)->Code);
            return swallowScroll;
        }
        return false;
    }
    void KeyDown(int &Key, TShiftState Shift) override
    {
        ++keyDownCalls;
        TPlatformStringGrid::KeyDown(Key, Shift);
    }
    void DrawCell(int c, int r, const TRect &rect, TGridDrawState state) override
    {
        drawn.push_back({c, r, state});
        TPlatformStringGrid::DrawCell(c, r, rect, state);
    }
};

class PlatformGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid = std::make_unique<TestGrid>();
        setUpView(*grid);
    }

    void showFocused() { gridtest::showFocused(*grid); }

    std::unique_ptr<TestGrid> grid;
};

// ---- sub-structures ---------------------------------------------------------------------------

TEST(LineSizes, OffsetsAndHitTestsFollowANaiveModel)
{
    std::mt19937 rng(7);
    TLineSizes lines(20, 40);
    std::vector<int> sizes(40, 20);
    int lw = 0;
    auto check = [&](const char *step) {
        SCOPED_TRACE(step);
        std::vector<qint64> offs(sizes.size() + 1, 0);
        for (size_t i = 0; i < sizes.size(); ++i)
            offs[i + 1] = offs[i] + sizes[i] + lw;
        ASSERT_EQ(lines.Count(), static_cast<int>(sizes.size()));
        for (size_t i = 0; i < offs.size(); ++i)
            ASSERT_EQ(lines.Offset(static_cast<int>(i)), offs[i]) << "offset " << i;
        const qint64 total = offs.back();
        for (qint64 pos = -1; pos <= total + 1; ++pos) {
            int expectAt = -1;
            for (size_t i = 0; i < sizes.size(); ++i)
                if (offs[i] <= pos && pos < offs[i + 1])
                    expectAt = static_cast<int>(i);
            ASSERT_EQ(lines.IndexAt(pos), expectAt) << "index at " << pos;
            int expectFirst = static_cast<int>(sizes.size());
            for (size_t i = 0; i < offs.size(); ++i)
                if (offs[i] >= pos) {
                    expectFirst = static_cast<int>(i);
                    break;
                }
            ASSERT_EQ(lines.FirstAtOrAfter(pos), std::min<int>(expectFirst, sizes.size()))
                << "first at " << pos;
        }
    };
    check("uniform");
    for (int step = 0; step < 60; ++step) {
        const int op = static_cast<int>(rng() % 5);
        const int n = static_cast<int>(sizes.size());
        if (op <= 1 && n > 0) {
            // Zero sizes included: such lines must never be hit.
            const int i = static_cast<int>(rng() % n);
            const int s = static_cast<int>(rng() % 4 == 0 ? 0 : rng() % 30);
            lines.SetSize(i, s);
            sizes[i] = s;
        } else if (op == 2 && n > 1) {
            const int from = static_cast<int>(rng() % n);
            const int to = static_cast<int>(rng() % n);
            lines.Move(from, to);
            if (from < to)
                std::rotate(sizes.begin() + from, sizes.begin() + from + 1, sizes.begin() + to + 1);
            else
                std::rotate(sizes.begin() + to, sizes.begin() + from, sizes.begin() + from + 1);
        } else if (op == 3) {
            const int count = static_cast<int>(rng() % 50);
            lines.SetCount(count);
            sizes.resize(count, lines.DefaultSize());
        } else {
            lw = static_cast<int>(rng() % 3);
            lines.SetLineWidth(lw);
        }
        check("after random step");
    }
    // Lines added one at a time to a grid of mixed sizes (the tree grows in step).
    if (sizes.empty()) {
        lines.SetCount(1);
        sizes.push_back(lines.DefaultSize());
    }
    lines.SetSize(0, 31);
    sizes[0] = 31;
    for (int k = 0; k < 20; ++k) {
        lines.SetCount(lines.Count() + 1);
        sizes.push_back(lines.DefaultSize());
        lines.SetSize(lines.Count() - 1, k);
        sizes.back() = k;
        check("after adding a line");
    }
    lines.SetDefaultSize(9);
    std::fill(sizes.begin(), sizes.end(), 9);
    EXPECT_TRUE(lines.IsUniform());
    check("default resets every line");
}

TEST(CellStore, KeepsRowsSparseAndMovesTextsWithObjects)
{
    TCellStore store;
    int a = 1;
    int b = 2;
    store.SetText(0, 999999, QStringLiteral("far"));
    store.SetText(3, 5, QString()); // writing nothing allocates nothing
    store.SetObject(2, 6, nullptr);
    EXPECT_EQ(store.AllocatedRows(), 1);
    EXPECT_EQ(store.Text(0, 999999), QStringLiteral("far"));
    EXPECT_EQ(store.Text(7, 999999), QString());
    EXPECT_EQ(store.Text(-1, 3), QString());
    EXPECT_EQ(store.Object(0, 5), nullptr);

    store.SetText(1, 1, QStringLiteral("r1"));
    store.SetObject(1, 1, &a);
    store.SetText(1, 3, QStringLiteral("r3"));
    store.SetObject(4, 3, &b);
    store.MoveRow(1, 3);
    EXPECT_EQ(store.Text(1, 3), QStringLiteral("r1"));
    EXPECT_EQ(store.Object(1, 3), &a);
    EXPECT_EQ(store.Text(1, 2), QStringLiteral("r3"));
    EXPECT_EQ(store.Object(4, 2), &b);

    store.MoveCol(4, 0);
    EXPECT_EQ(store.Object(0, 2), &b);
    EXPECT_EQ(store.Text(2, 2), QStringLiteral("r3")); // column 1 shifted right
    store.ClearCol(0);
    EXPECT_EQ(store.Object(0, 2), nullptr);
}

TEST(TSetTest, UnionDifferenceIntersectionAndSubset)
{
    const TGridOptions a{goEditing, goTabs};
    const TGridOptions b{goTabs, goRowSelect};
    EXPECT_EQ(a + b, (TGridOptions{goEditing, goTabs, goRowSelect}));
    EXPECT_EQ(a - b, TGridOptions{goEditing});
    EXPECT_EQ(a * b, TGridOptions{goTabs});
    EXPECT_TRUE(TGridOptions{goTabs} <= a);
    EXPECT_FALSE(b <= a);
}

// ---- counts, limits and errors ----------------------------------------------------------------

TEST_F(PlatformGridTest, RefusedValuesRaiseTheGridError)
{
    struct Case
    {
        const char *name;
        std::function<void(TestGrid &)> act;
        const char *message;
    };
    const Case cases[] = {
        {"negative fixed rows", [](TestGrid &g) { g.SetFixedRows(-1); }, SGridIndexOutOfRange},
        {"fixed rows = rows", [](TestGrid &g) { g.SetFixedRows(g.RowCount()); }, SFixedRowTooBig},
        {"negative fixed cols", [](TestGrid &g) { g.SetFixedCols(-1); }, SGridIndexOutOfRange},
        {"fixed cols = cols", [](TestGrid &g) { g.SetFixedCols(g.ColCount()); }, SFixedColTooBig},
        {"col past the last", [](TestGrid &g) { g.SetCol(g.ColCount()); }, SGridIndexOutOfRange},
        {"negative row", [](TestGrid &g) { g.SetRow(-1); }, SGridIndexOutOfRange},
        {"width past the last", [](TestGrid &g) { g.ColWidths(g.ColCount()); },
         SGridIndexOutOfRange},
        {"negative height", [](TestGrid &g) { g.SetRowHeights(-1, 5); }, SGridIndexOutOfRange},
        {"negative cell", [](TestGrid &g) { g.SetCells(-1, 0, "x"); }, SGridIndexOutOfRange},
        {"move row out", [](TestGrid &g) { g.MoveRow(0, g.RowCount()); }, SGridIndexOutOfRange},
        {"delete column out", [](TestGrid &g) { g.DeleteColumn(g.ColCount()); },
         SGridIndexOutOfRange},
        {"too many rows", [](TestGrid &g) { g.SetRowCount(TPlatformStringGrid::MaxLines + 1); },
         SGridIndexOutOfRange},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestGrid g;
        try {
            c.act(g);
            ADD_FAILURE() << "no error";
        } catch (const EGridError &e) {
            EXPECT_EQ(e.Message(), QString::fromLatin1(c.message));
        }
    }
    EXPECT_EQ(QString::fromLatin1(SFixedRowTooBig),
              QStringLiteral("Fixed row count must be less than row count"));
}

TEST_F(PlatformGridTest, CountsStayAtLeastOneAndFixedCountsFollow)
{
    struct Case
    {
        const char *name;
        std::function<void(TestGrid &)> act;
        int rows, cols, fixedRows, fixedCols, row, col;
    };
    const Case cases[] = {
        {"rows 0 gives one row and no fixed row", [](TestGrid &g) { g.SetRowCount(0); }, 1, 5, 0, 1,
         0, 1},
        {"rows 1 leaves no fixed row", [](TestGrid &g) { g.SetRowCount(1); }, 1, 5, 0, 1, 0, 1},
        {"cols 1 leaves no fixed column", [](TestGrid &g) { g.SetColCount(1); }, 5, 1, 1, 0, 1, 0},
        {"cursor follows a shrinking grid",
         [](TestGrid &g) {
             g.SetRow(4);
             g.SetCol(4);
             g.SetRowCount(3);
             g.SetColCount(2);
         },
         3, 2, 1, 1, 2, 1},
        {"cursor leaves rows that became fixed", [](TestGrid &g) { g.SetFixedRows(3); }, 5, 5, 3, 1,
         3, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestGrid g;
        c.act(g);
        EXPECT_EQ(g.RowCount(), c.rows);
        EXPECT_EQ(g.ColCount(), c.cols);
        EXPECT_EQ(g.FixedRows(), c.fixedRows);
        EXPECT_EQ(g.FixedCols(), c.fixedCols);
        EXPECT_EQ(g.Row(), c.row);
        EXPECT_EQ(g.Col(), c.col);
        EXPECT_GE(g.TopRow(), g.FixedRows());
    }
}

TEST_F(PlatformGridTest, LoweringRowCountDropsRowsLoweringColCountKeepsColumns)
{
    int obj = 0;
    grid->SetCells(1, 3, QStringLiteral("row3"));
    grid->SetObjects(2, 4, &obj);
    grid->SetCells(1, 1, QStringLiteral("row1"));
    grid->SetCells(4, 1, QStringLiteral("col4"));
    ASSERT_EQ(grid->Store().AllocatedRows(), 3);
    // Rows past a lowered count are freed and do not come back; hidden columns of the grid
    // library live beyond ColCount, so a lower column count keeps its cells.
    grid->SetRowCount(2);
    grid->SetColCount(3);
    EXPECT_EQ(grid->Store().AllocatedRows(), 1);
    EXPECT_EQ(grid->Rows(1).size(), 3);
    grid->SetRowCount(5);
    grid->SetColCount(5);
    EXPECT_EQ(grid->Cells(1, 3), QString());
    EXPECT_EQ(grid->Objects(2, 4), nullptr);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("row1"));
    EXPECT_EQ(grid->Cells(4, 1), QStringLiteral("col4"));

    // A deleted line leaves nothing behind that a later count raise could bring back.
    grid->SetCells(1, 4, QStringLiteral("row4"));
    grid->DeleteRow(4);
    grid->DeleteColumn(4);
    grid->SetRowCount(5);
    grid->SetColCount(5);
    EXPECT_EQ(grid->Cells(1, 4), QString());
    EXPECT_EQ(grid->Cells(4, 1), QString());
}

TEST_F(PlatformGridTest, WholeRowAndColumnAccess)
{
    grid->SetRows(2, {"a", "b", "c"});
    EXPECT_EQ(grid->Rows(2), (QStringList{"a", "b", "c", "", ""}));
    grid->SetCols(1, {"0", "1", "2", "3", "4", "ignored"});
    EXPECT_EQ(grid->Cols(1), (QStringList{"0", "1", "2", "3", "4"}));
    EXPECT_EQ(grid->Cells(1, 5), QString());
    int x = 0;
    grid->SetRowObjects(3, {nullptr, &x});
    EXPECT_EQ(grid->ColObjects(1)[3], &x);
}

TEST_F(PlatformGridTest, DefaultSizeResetsEveryLine)
{
    grid->SetColWidths(2, 100);
    grid->SetRowHeights(3, 40);
    EXPECT_EQ(grid->colWidthsChanged, 1);
    grid->SetDefaultColWidth(50);
    grid->SetDefaultRowHeight(20);
    EXPECT_EQ(grid->ColWidths(2), 50);
    EXPECT_EQ(grid->RowHeights(3), 20);
    EXPECT_EQ(grid->colWidthsChanged, 2);
    EXPECT_EQ(grid->rowHeightsChanged, 2);
    EXPECT_EQ(grid->GridWidth(), 5 * 51);
}

// ---- geometry ---------------------------------------------------------------------------------

TEST_F(PlatformGridTest, CellRectAndMouseCoordAgreeWhileScrolled)
{
    struct Case
    {
        int lineWidth;
        int left; // -1: the largest left column
        int top;
    };
    const Case cases[] = {{1, 2, 2}, {1, 6, 40}, {0, 9, 77}, {3, -1, -1}};
    for (const Case &cs : cases) {
        SCOPED_TRACE(testing::Message() << "line " << cs.lineWidth << " left " << cs.left);
        TestGrid g;
        setUpView(g);
        g.SetColCount(30);
        g.SetRowCount(200);
        g.SetFixedCols(2);
        g.SetFixedRows(2);
        g.SetGridLineWidth(cs.lineWidth);
        for (int c = 0; c < 30; ++c)
            g.SetColWidths(c, 20 + (c * 7) % 50);
        for (int r = 0; r < 200; ++r)
            g.SetRowHeights(r, 10 + (r * 5) % 30);
        g.SetLeftCol(cs.left < 0 ? g.MaxLeftCol() : cs.left);
        g.SetTopRow(cs.top < 0 ? g.MaxTopRow() : cs.top);

        const int vw = g.viewport()->width();
        const int vh = g.viewport()->height();
        ASSERT_EQ(g.CellRect(g.LeftCol(), 0).Left, g.FixedWidth());
        ASSERT_EQ(g.CellRect(0, g.TopRow()).Top, g.FixedHeight());
        for (int c = 0; c < 30; ++c) {
            for (int r = 0; r < 200; r += (r < 100 ? 1 : 7)) {
                const TRect rc = g.CellRect(c, r);
                const bool scrolledAway = (c >= 2 && c < g.LeftCol()) || (r >= 2 && r < g.TopRow());
                if (scrolledAway) {
                    ASSERT_EQ(rc, TRect{}) << c << "," << r;
                    continue;
                }
                if (rc == TRect{})
                    continue; // beyond the right or bottom edge
                ASSERT_EQ(rc.Width(), g.ColWidths(c));
                for (QPoint p : {QPoint(rc.Left, rc.Top), QPoint(rc.Right - 1, rc.Bottom - 1),
                                 QPoint(rc.Right + cs.lineWidth - 1, rc.Top)}) {
                    if (p.x() >= vw || p.y() >= vh)
                        continue;
                    ASSERT_EQ(g.MouseCoord(p.x(), p.y()), (TGridCoord{c, r}))
                        << c << "," << r << " at " << p.x() << "," << p.y();
                }
            }
        }
        // The last line is wholly visible at the largest scroll positions.
        g.SetTopRow(g.MaxTopRow());
        EXPECT_LE(g.CellRect(2, 199).Bottom, vh);
        EXPECT_EQ(g.MouseCoord(vw + 5, 5), (TGridCoord{-1, -1}));
    }
}

TEST_F(PlatformGridTest, AMillionRowsScrollAndMapWithoutStoringEmptyRows)
{
    grid->SetRowCount(1000000);
    grid->SetRowHeights(500000, 100);
    grid->SetCells(0, 999999, QStringLiteral("last"));
    grid->SetTopRow(grid->MaxTopRow());
    const TRect last = grid->CellRect(0, 999999);
    ASSERT_FALSE(last.IsEmpty());
    EXPECT_LE(last.Bottom, grid->viewport()->height());
    int col = -1;
    int row = -1;
    grid->MouseToCell(centre(last).x(), centre(last).y(), col, row);
    EXPECT_EQ((TGridCoord{col, row}), (TGridCoord{0, 999999}));
    grid->MoveRow(999999, 1);
    EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("last"));
    // The tall row moved down by one with the others.
    grid->SetTopRow(500000);
    EXPECT_EQ(grid->CellRect(0, 500001).Height(), 100);
    EXPECT_EQ(grid->CellRect(0, 500002).Top, grid->CellRect(0, 500001).Top + 101);
}

// ---- selection --------------------------------------------------------------------------------

TEST_F(PlatformGridTest, KeyboardSelectionKeepsTheAnchorOnlyWithRangeSelect)
{
    struct Case
    {
        const char *name;
        TGridOptions options;
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
        TGridRect expected;
    };
    const TGridOptions range{goRangeSelect};
    const Case cases[] = {
        {"shift down twice extends",
         range,
         {{Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_Down, Qt::ShiftModifier}},
         {1, 1, 1, 3}},
        {"shift extends on both axes",
         range,
         {{Qt::Key_Right, Qt::ShiftModifier}, {Qt::Key_Down, Qt::ShiftModifier}},
         {1, 1, 2, 2}},
        {"a plain key collapses the range",
         range,
         {{Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_Down, Qt::NoModifier}},
         {1, 3, 1, 3}},
        {"without range select shift moves the anchor",
         {},
         {{Qt::Key_Down, Qt::ShiftModifier}},
         {1, 2, 1, 2}},
        {"row select spans the row", {goRowSelect}, {{Qt::Key_Down, Qt::NoModifier}}, {1, 2, 4, 2}},
        {"up stops at the fixed rows", range, {{Qt::Key_Up, Qt::NoModifier}}, {1, 1, 1, 1}},
        {"ctrl+end goes to the last cell",
         range,
         {{Qt::Key_End, Qt::ControlModifier}},
         {4, 4, 4, 4}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestGrid g;
        g.SetOptions(c.options);
        for (auto [key, mods] : c.keys)
            QTest::keyClick(&g, key, mods);
        EXPECT_EQ(g.Selection(), c.expected);
    }
}

TEST_F(PlatformGridTest, MouseDragSelectsARangeOnlyWithRangeSelect)
{
    struct Case
    {
        TGridOptions options;
        Qt::KeyboardModifiers mods;
        TGridRect expected;
    };
    const Case cases[] = {
        {{goRangeSelect}, Qt::NoModifier, {1, 1, 3, 2}},
        {{}, Qt::NoModifier, {3, 2, 3, 2}},
    };
    for (const Case &c : cases) {
        TestGrid g;
        setUpView(g, true);
        g.SetOptions(c.options);
        g.show();
        drag(g.viewport(), centre(g.CellRect(1, 1)), centre(g.CellRect(3, 2)), c.mods);
        EXPECT_EQ(g.Selection(), c.expected);
    }
    // A shift click extends from the anchor.
    grid->SetOptions({goRangeSelect});
    grid->show();
    sendMouse(grid->viewport(), QEvent::MouseButtonPress, centre(grid->CellRect(2, 3)),
              Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 2, 3}));
}

TEST_F(PlatformGridTest, SelectCellRefusalKeepsTheCursorAndColToItselfDoesNothing)
{
    int clicks = 0;
    grid->OnClick = [&](QObject *) { ++clicks; };
    grid->OnSelectCell = [](QObject *, int, int r, bool &can) { can = r != 2; };
    QTest::keyClick(grid.get(), Qt::Key_Down);
    grid->SetRow(2);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(clicks, 0);
    grid->SetCol(grid->Col());
    EXPECT_EQ(clicks, 0);
    grid->SetRow(3);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(clicks, 1);
}

TEST_F(PlatformGridTest, TabWalksCellsOnlyWithGoTabs)
{
    showFocused();
    grid->SetCol(4);
    const int callsBefore = grid->keyDownCalls;
    QTest::keyClick(grid.get(), Qt::Key_Tab);
    EXPECT_EQ(grid->keyDownCalls, callsBefore); // the dialog's focus chain takes it
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{4, 1}));

    grid->SetOptions(grid->Options() + TGridOptions{goTabs});
    QTest::keyClick(grid.get(), Qt::Key_Tab);
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{1, 2}));
    QTest::keyClick(grid.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{4, 1}));
}

// ---- moving and deleting ---------------------------------------------------------------------

TEST_F(PlatformGridTest, MovingLinesCarriesTextsObjectsSizesAndTheCursor)
{
    struct Case
    {
        bool rows;
        int from;
        int to;
    };
    const Case cases[] = {{true, 1, 3}, {true, 4, 0}, {false, 1, 4}, {false, 3, 2}};
    for (const Case &cs : cases) {
        SCOPED_TRACE(testing::Message() << (cs.rows ? "row " : "col ") << cs.from << "->" << cs.to);
        TestGrid g;
        int objs[5];
        std::vector<int> order(5);
        std::iota(order.begin(), order.end(), 0);
        for (int i = 0; i < 5; ++i) {
            cs.rows ? g.SetCells(2, i, QString::number(i)) : g.SetCells(i, 2, QString::number(i));
            cs.rows ? g.SetObjects(3, i, &objs[i]) : g.SetObjects(i, 3, &objs[i]);
            cs.rows ? g.SetRowHeights(i, 10 + i) : g.SetColWidths(i, 10 + i);
        }
        cs.rows ? g.SetRow(std::max(1, cs.from)) : g.SetCol(std::max(1, cs.from));
        const int cursorLine = cs.rows ? g.Row() : g.Col();
        cs.rows ? g.MoveRow(cs.from, cs.to) : g.MoveColumn(cs.from, cs.to);
        if (cs.from < cs.to)
            std::rotate(order.begin() + cs.from, order.begin() + cs.from + 1,
                        order.begin() + cs.to + 1);
        else
            std::rotate(order.begin() + cs.to, order.begin() + cs.from,
                        order.begin() + cs.from + 1);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(cs.rows ? g.Cells(2, i) : g.Cells(i, 2), QString::number(order[i]));
            EXPECT_EQ(cs.rows ? g.Objects(3, i) : g.Objects(i, 3), &objs[order[i]]);
            EXPECT_EQ(cs.rows ? g.RowHeights(i) : g.ColWidths(i), 10 + order[i]);
        }
        const auto &moves = cs.rows ? g.rowMoves : g.columnMoves;
        EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{cs.from, cs.to}}));
        const int expectCursor =
            static_cast<int>(std::find(order.begin(), order.end(), cursorLine) - order.begin());
        EXPECT_EQ(cs.rows ? g.Row() : g.Col(), expectCursor);
    }
}

TEST_F(PlatformGridTest, DeleteRowMovesTheRowsBelowUp)
{
    int obj = 0;
    for (int r = 0; r < 5; ++r)
        grid->SetCells(1, r, QString::number(r));
    grid->SetObjects(1, 3, &obj);
    grid->SetRow(3);
    grid->DeleteRow(1);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(grid->Cols(1), (QStringList{"0", "2", "3", "4"}));
    EXPECT_EQ(grid->Objects(1, 2), &obj);
    EXPECT_EQ(grid->Row(), 2); // still on the row that held "3"
    EXPECT_TRUE(grid->rowMoves.empty());
}

// ---- mouse sizing and moving -------------------------------------------------------------------

TEST_F(PlatformGridTest, DraggingALineEdgeSizesItUnlessTheHookRefuses)
{
    struct Case
    {
        const char *name;
        bool rows;
        bool veto;
        int expected;
    };
    const Case cases[] = {
        {"column", false, false, 64 + 25},
        {"column refused", false, true, 64},
        {"row", true, false, 24 + 10},
        {"row refused", true, true, 24},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestGrid g;
        setUpView(g);
        g.SetOptions(g.Options() + TGridOptions{goColSizing, goRowSizing});
        g.show();
        if (c.veto)
            g.vetoSizingIndex = 1;
        const TRect cell = g.CellRect(c.rows ? 0 : 1, c.rows ? 1 : 0);
        // The grab point lies on the line after the cell, inside the fixed cells.
        const QPoint from = c.rows ? QPoint(10, cell.Bottom) : QPoint(cell.Right, 10);
        const QPoint to = from + (c.rows ? QPoint(0, 10) : QPoint(25, 0));
        drag(g.viewport(), from, to);
        EXPECT_EQ(c.rows ? g.RowHeights(1) : g.ColWidths(1), c.expected);
        EXPECT_EQ(c.rows ? g.rowHeightsChanged : g.colWidthsChanged, c.veto ? 0 : 1);
        EXPECT_EQ(g.GridState(), TGridState::gsNormal);
    }
}

TEST_F(PlatformGridTest, DraggingAFixedCellMovesTheColumnUnlessTheDropIsRefused)
{
    for (bool veto : {false, true}) {
        SCOPED_TRACE(veto ? "refused" : "moved");
        TestGrid g;
        setUpView(g, true);
        g.SetOptions(g.Options() + TGridOptions{goColMoving});
        g.show();
        g.vetoDrop = veto;
        for (int c = 0; c < 5; ++c)
            g.SetCells(c, 0, QString::number(c));
        drag(g.viewport(), centre(g.CellRect(1, 0)), centre(g.CellRect(3, 0)));
        EXPECT_EQ(g.Rows(0), veto ? (QStringList{"0", "1", "2", "3", "4"})
                                  : (QStringList{"0", "2", "3", "1", "4"}));
        EXPECT_EQ(g.columnMoves.size(), veto ? 0u : 1u);
    }
}

TEST_F(PlatformGridTest, FixedCellClickNeedsItsOption)
{
    std::vector<TGridCoord> clicks;
    grid->OnFixedCellClick = [&](QObject *, int c, int r) { clicks.push_back({c, r}); };
    grid->show();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(grid->CellRect(2, 0)));
    EXPECT_TRUE(clicks.empty());
    grid->SetOptions(grid->Options() + TGridOptions{goFixedRowClick});
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(grid->CellRect(2, 0)));
    EXPECT_EQ(clicks, (std::vector<TGridCoord>{{2, 0}}));
}

// ---- editor -----------------------------------------------------------------------------------

TEST_F(PlatformGridTest, OneEditorIsCreatedOnFirstUseAndMovedFromCellToCell)
{
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    grid->SetCells(1, 1, QStringLiteral("old"));
    showFocused();
    EXPECT_EQ(grid->InplaceEditor(), nullptr);

    QTest::keyClick(grid.get(), Qt::Key_F2);
    TInplaceEdit *editor = grid->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->geometry(), grid->CellRect(1, 1).toQRect());
    EXPECT_EQ(editor->Text(), QStringLiteral("old"));
    EXPECT_EQ(grid->getEditTextCalls.back(), (TGridCoord{1, 1}));

    QTest::keyClicks(editor, QStringLiteral("new"));
    QTest::keyClick(editor, Qt::Key_Down); // the editor hands the key to the grid
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("new"));
    ASSERT_FALSE(grid->setEditTextCalls.empty());
    EXPECT_EQ(grid->setEditTextCalls.back(), std::make_tuple(1, 1, QStringLiteral("new")));

    QTest::keyClick(grid.get(), Qt::Key_F2);
    EXPECT_EQ(grid->InplaceEditor(), editor);
    EXPECT_EQ(grid->editorsCreated, 1);
    EXPECT_EQ(editor->geometry(), grid->CellRect(1, 2).toQRect());
    EXPECT_EQ(grid->getEditTextCalls.back(), (TGridCoord{1, 2}));
}

TEST_F(PlatformGridTest, AlwaysShownEditorFollowsTheCursor)
{
    grid->SetCells(1, 2, QStringLiteral("second"));
    showFocused();
    grid->SetOptions(grid->Options() + TGridOptions{goEditing, goAlwaysShowEditor});
    TInplaceEdit *editor = grid->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    QTest::keyClicks(editor, QStringLiteral("first"));
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->geometry(), grid->CellRect(1, 2).toQRect());
    EXPECT_EQ(editor->Text(), QStringLiteral("second"));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("first"));
    EXPECT_EQ(grid->editorsCreated, 1);
}

TEST_F(PlatformGridTest, TypingOpensTheEditorEnterStoresEscRestores)
{
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    grid->SetCells(1, 1, QStringLiteral("keep"));
    QString pressed;
    grid->OnKeyPress = [&](QObject *, QChar &key) { pressed += key; };
    showFocused();
    QTest::keyClick(grid.get(), Qt::Key_X);
    TInplaceEdit *editor = grid->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Text(), QStringLiteral("x")); // the typed character replaced the text
    QTest::keyClick(editor, Qt::Key_Z);
    EXPECT_EQ(pressed, QStringLiteral("xz")); // every character once, the opening one too
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("keep"));

    QTest::keyClick(grid.get(), Qt::Key_Y);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("y"));
}

TEST_F(PlatformGridTest, ScrollingKeepsTheEditorOnItsCell)
{
    grid->SetRowCount(100);
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    showFocused();
    grid->ShowEditor();
    TInplaceEdit *editor = grid->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    grid->SetTopRow(20);
    EXPECT_FALSE(editor->isVisible()); // its cell scrolled out of view
    EXPECT_TRUE(grid->EditorMode());
    grid->SetTopRow(1);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->geometry(), grid->CellRect(1, 1).toQRect());
}

TEST_F(PlatformGridTest, EnterAndExitFireOnceAndLeavingCommitsTheEditor)
{
    QWidget window;
    auto *other = new QLineEdit(&window);
    auto *g = new TestGrid;
    g->setParent(&window);
    g->setGeometry(0, 30, 400, 200);
    g->SetOptions(g->Options() + TGridOptions{goEditing});
    int enters = 0;
    int exits = 0;
    g->OnEnter = [&](QObject *) { ++enters; };
    g->OnExit = [&](QObject *) { ++exits; };
    window.show();
    QApplication::setActiveWindow(&window);
    other->setFocus();
    QCoreApplication::processEvents();

    g->setFocus();
    QTest::keyClick(g, Qt::Key_F2);
    TInplaceEdit *editor = g->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(QApplication::focusWidget(), editor);
    EXPECT_EQ(enters, 1); // moving into the own editor is no exit and no second enter
    EXPECT_EQ(exits, 0);
    QTest::keyClicks(editor, QStringLiteral("typed"));
    other->setFocus();
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("typed"));
}

// ---- message layer, wheel and scroll bars ------------------------------------------------------

TEST_F(PlatformGridTest, MessageLayerCanSwallowAKeyBeforeTheGridSeesIt)
{
    int onKeyDown = 0;
    grid->OnKeyDown = [&](QObject *, int &, TShiftState) { ++onKeyDown; };
    grid->swallowKey = Qt::Key_Down;
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->keyDownCalls, 0);
    EXPECT_EQ(onKeyDown, 0);
    QTest::keyClick(grid.get(), Qt::Key_Right);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->keyDownCalls, 1);
    EXPECT_EQ(onKeyDown, 1);
}

class KeyRecorder : public QWidget
{
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent *e) override { keys.push_back(e->key()); }
};

TEST_F(PlatformGridTest, UnusedEnterAndEscReachTheDialog)
{
    struct Case
    {
        const char *name;
        TGridOptions options;
        Qt::Key key;
        bool reachesParent;
    };
    const Case cases[] = {
        {"enter without editing", {}, Qt::Key_Return, true},
        {"esc without an editor", {goEditing}, Qt::Key_Escape, true},
        {"enter opens the editor", {goEditing}, Qt::Key_Return, false},
        {"arrows stay in the grid", {}, Qt::Key_Down, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        KeyRecorder parent;
        auto *g = new TestGrid;
        g->setParent(&parent);
        g->SetOptions(c.options);
        QTest::keyClick(g, c.key);
        EXPECT_EQ(!parent.keys.empty(), c.reachesParent);
    }
}

TEST_F(PlatformGridTest, WheelMovesTheCurrentRowAndTheViewFollows)
{
    grid->SetRowCount(100);
    grid->show();
    const QPoint p = centre(grid->CellRect(2, 2));
    const int visible = grid->VisibleRowCount();
    grid->SetRow(visible); // the last wholly visible row
    EXPECT_EQ(grid->TopRow(), 1);
    sendWheel(grid->viewport(), p, -120);
    EXPECT_EQ(grid->Row(), visible + 1);
    EXPECT_EQ(grid->TopRow(), 2);
    // Half notches add up to one step.
    sendWheel(grid->viewport(), p, 60);
    EXPECT_EQ(grid->Row(), visible + 1);
    sendWheel(grid->viewport(), p, 60);
    EXPECT_EQ(grid->Row(), visible);

    grid->OnMouseWheelDown = [](QObject *, TShiftState, TPoint, bool &handled) { handled = true; };
    sendWheel(grid->viewport(), p, -120);
    EXPECT_EQ(grid->Row(), visible);
}

TEST_F(PlatformGridTest, ScrollBarFollowsTheContentAndPassesTheMessageLayer)
{
    grid->SetRowCount(100);
    grid->SetScrollBars(TScrollStyle::ssBoth);
    grid->show();
    QCoreApplication::processEvents();
    QScrollBar *bar = grid->verticalScrollBar();
    EXPECT_EQ(bar->maximum(), grid->MaxTopRow() - grid->FixedRows());
    EXPECT_EQ(bar->pageStep(), grid->VisibleRowCount());

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid->TopRow(), 2);
    EXPECT_EQ(grid->scrollCodes.front(), TScrollCode::scLineDown);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(grid->TopRow(), grid->MaxTopRow());

    grid->swallowScroll = true;
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(grid->TopRow(), grid->MaxTopRow());
    EXPECT_EQ(bar->value(), grid->TopRow() - grid->FixedRows());

    grid->swallowScroll = false;
    grid->SetTopRow(30);
    EXPECT_EQ(bar->value(), 29);
    // The view may scroll past the usual end (a panel over the bottom rows needs that); the
    // bar's range grows with it instead of pulling the view back.
    grid->SetTopRow(99);
    EXPECT_EQ(grid->TopRow(), 99);
    EXPECT_EQ(bar->value(), 98);
}

// ---- painting ---------------------------------------------------------------------------------

TEST_F(PlatformGridTest, PaintDrawsTheCellsInViewWithTheirStates)
{
    grid->SetRowCount(100);
    showFocused();
    grid->SetSelection({1, 51, 2, 52});
    grid->SetTopRow(50);
    TRecordingCanvas canvas;
    grid->drawn.clear();
    grid->PaintTo(canvas);

    std::vector<int> rows;
    for (const auto &d : grid->drawn) {
        if (std::find(rows.begin(), rows.end(), d.row) == rows.end())
            rows.push_back(d.row);
        SCOPED_TRACE(testing::Message() << d.col << "," << d.row);
        const bool fixed = d.col == 0 || d.row == 0;
        EXPECT_EQ(d.state.Contains(gdFixed), fixed);
        const bool selected = !fixed && d.col <= 2 && d.row >= 51 && d.row <= 52;
        EXPECT_EQ(d.state.Contains(gdSelected), selected);
        EXPECT_EQ(d.state.Contains(gdFocused), d.col == 2 && d.row == 52);
    }
    const int vh = grid->viewport()->height();
    std::vector<int> expected{0};
    for (int r = 50; grid->CellRect(0, r).Top < vh && r < 100 && !grid->CellRect(0, r).IsEmpty();
         ++r)
        expected.push_back(r);
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(grid->drawn.size(), expected.size() * 5);
}

TEST_F(PlatformGridTest, PixelsShowFixedSelectedAndLineColours)
{
    struct Case
    {
        const char *name;
        TGridOptions options;
        QPoint at;
        TColor expected;
    };
    // Default sizes: columns 64 + 1 line, rows 24 + 1 line.
    const TGridOptions lines{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine};
    const Case cases[] = {
        {"fixed cell", lines, {32, 12}, clBtnFace},
        {"normal cell", lines, {227, 87}, clWindow},
        {"selected cell", lines, {162, 62}, clHighlight},
        {"line between normal cells", lines, {194, 87}, clSilver},
        {"line between fixed cells", lines, {64, 12}, clGray},
        {"no vertical lines", {goFixedVertLine, goFixedHorzLine, goHorzLine}, {194, 87}, clWindow},
        {"beyond the last column", lines, {390, 87}, clWindow},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestGrid g;
        setUpView(g);
        g.SetOptions(c.options + TGridOptions{goRangeSelect});
        g.SetSelection({1, 1, 2, 2});
        const QImage image = g.viewport()->grab().toImage();
        EXPECT_EQ(FromQColor(image.pixelColor(c.at)), ColorToRGB(c.expected));
    }
}

// ---- hooks the grid library builds on ---------------------------------------------------------

TEST_F(PlatformGridTest, F2OpensAndEscClosesThroughTheHooksWithoutCuttingLongTexts)
{
    struct Case
    {
        const char *name;
        int limit;
        QString before;
        QString typed;
        Qt::Key close;
        QString after;
    };
    const Case cases[] = {
        {"esc gives the text back", 0, "old", "new", Qt::Key_Escape, "old"},
        {"enter stores the typed text", 0, "old", "new", Qt::Key_Return, "new"},
        {"typing stops at the limit", 3, "", "wxyz", Qt::Key_Return, "wxy"},
        {"esc keeps a text longer than the limit", 3, "abcdef", "", Qt::Key_Escape, "abcdef"},
        {"enter keeps a text longer than the limit", 3, "abcdef", "", Qt::Key_Return, "abcdef"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestGrid g;
        setUpView(g);
        g.SetOptions(g.Options() + TGridOptions{goEditing});
        g.editLimit = c.limit;
        g.SetCells(1, 1, c.before);
        g.show();
        QApplication::setActiveWindow(&g);
        g.setFocus();
        QTest::keyClick(&g, Qt::Key_F2);
        TInplaceEdit *editor = g.InplaceEditor();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(editor->isVisible());
        EXPECT_EQ(editor->Text(), c.before);
        EXPECT_EQ(g.getEditTextCalls, (std::vector<TGridCoord>{{1, 1}}));
        if (!c.typed.isEmpty())
            QTest::keyClicks(editor, c.typed);
        QTest::keyClick(editor, c.close);
        EXPECT_FALSE(g.EditorMode());
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(g.Cells(1, 1), c.after);
        ASSERT_FALSE(g.setEditTextCalls.empty());
        EXPECT_EQ(g.setEditTextCalls.back(), std::make_tuple(1, 1, c.after));
    }
    // The show hook keeps the editor closed (it is not even created).
    showFocused();
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    grid->vetoEditShow = true;
    QTest::keyClick(grid.get(), Qt::Key_F2);
    EXPECT_EQ(grid->InplaceEditor(), nullptr);
    EXPECT_EQ(grid->editorsCreated, 0);
}

TEST_F(PlatformGridTest, KeysAndTheMouseKeepTheCurrentCellInView)
{
    struct Case
    {
        const char *name;
        // Acts and answers the cell the cursor must reach.
        std::function<TGridCoord(TestGrid &)> act;
    };
    auto press = [](TestGrid &g, Qt::Key key, int times, Qt::KeyboardModifiers mods = {}) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(&g, key, mods);
    };
    const Case cases[] = {
        {"down past the last visible row",
         [&](TestGrid &g) {
             const int n = g.VisibleRowCount() + 3;
             press(g, Qt::Key_Down, n);
             return TGridCoord{1, 1 + n};
         }},
        {"page down twice",
         [&](TestGrid &g) {
             const int page = g.VisibleRowCount();
             press(g, Qt::Key_PageDown, 2);
             return TGridCoord{1, 1 + 2 * page};
         }},
        {"right past the last visible column",
         [&](TestGrid &g) {
             const int n = g.VisibleColCount() + 2;
             press(g, Qt::Key_Right, n);
             return TGridCoord{1 + n, 1};
         }},
        {"ctrl+end",
         [&](TestGrid &g) {
             press(g, Qt::Key_End, 1, Qt::ControlModifier);
             return TGridCoord{g.ColCount() - 1, g.RowCount() - 1};
         }},
        {"ctrl+end, then ctrl+home",
         [&](TestGrid &g) {
             press(g, Qt::Key_End, 1, Qt::ControlModifier);
             press(g, Qt::Key_Home, 1, Qt::ControlModifier);
             return TGridCoord{1, 1};
         }},
        {"dragging past the bottom edge",
         [&](TestGrid &g) {
             const int last = g.VisibleRowCount();
             drag(g.viewport(), centre(g.CellRect(1, 1)),
                  QPoint(centre(g.CellRect(1, 1)).x(), g.viewport()->height() + 5));
             return TGridCoord{1, last + 1};
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestGrid g;
        setUpView(g);
        g.SetColCount(30);
        g.SetRowCount(200);
        g.SetOptions(g.Options() - TGridOptions{goRangeSelect});
        g.show();
        const TGridCoord expected = c.act(g);
        EXPECT_EQ((TGridCoord{g.Col(), g.Row()}), expected);
        const TRect r = g.CellRect(g.Col(), g.Row());
        ASSERT_FALSE(r.IsEmpty());
        EXPECT_GE(r.Left, g.FixedWidth());
        EXPECT_GE(r.Top, g.FixedHeight());
        EXPECT_LE(r.Right, g.viewport()->width());
        EXPECT_LE(r.Bottom, g.viewport()->height());
    }
}

TEST_F(PlatformGridTest, AMouseSelectionClicksOnceOnItsRelease)
{
    struct Case
    {
        const char *name;
        TGridCoord from;
        TGridCoord to;
        QString events;
    };
    const Case cases[] = {
        {"drag to another cell", {2, 2}, {3, 3}, "down click up"},
        {"press on the current cell", {1, 1}, {1, 1}, "down click up"},
        {"press on a fixed cell", {2, 0}, {2, 0}, "down up"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestGrid g;
        setUpView(g);
        g.show();
        QString log;
        g.OnMouseDown = [&](QObject *, TMouseButton, TShiftState, int, int) { log += "down "; };
        g.OnClick = [&](QObject *) { log += "click "; };
        g.OnMouseUp = [&](QObject *, TMouseButton, TShiftState, int, int) { log += "up"; };
        // Neither the press nor the move in between clicks.
        drag(g.viewport(), centre(g.CellRect(c.from.X, c.from.Y)),
             centre(g.CellRect(c.to.X, c.to.Y)));
        EXPECT_EQ(log, c.events);
    }
}

TEST_F(PlatformGridTest, ADescendantCanCancelADragOrTurnAPressIntoSelecting)
{
    const TRect header = grid->CellRect(1, 0);
    struct Case
    {
        const char *name;
        TGridOptions options;
        std::function<void(TestGrid &)> afterDown;
        std::function<void(TestGrid &)> beforeMove;
        QPoint from;
        QPoint to;
        std::function<void(TestGrid &)> check;
    };
    auto cancel = [](TestGrid &g) {
        if (g.GridState() != TGridState::gsNormal)
            g.SetGridState(TGridState::gsNormal);
    };
    const Case cases[] = {
        {"sizing cancelled",
         {goColSizing},
         nullptr,
         cancel,
         QPoint(header.Right, 10),
         QPoint(header.Right + 25, 10),
         [](TestGrid &g) {
             EXPECT_EQ(g.ColWidths(1), 64);
             EXPECT_EQ(g.colWidthsChanged, 0);
         }},
        {"moving cancelled",
         {goColMoving},
         nullptr,
         cancel,
         centre(header),
         centre(grid->CellRect(3, 0)),
         [](TestGrid &g) {
             EXPECT_TRUE(g.columnMoves.empty());
             EXPECT_EQ(g.Cells(1, 0), QStringLiteral("1"));
         }},
        {"a press on a fixed cell selects on",
         {goRangeSelect},
         [](TestGrid &g) { g.SetGridState(TGridState::gsSelecting); },
         nullptr,
         centre(grid->CellRect(2, 0)),
         centre(grid->CellRect(3, 2)),
         [](TestGrid &g) {
             EXPECT_EQ(g.Selection(), (TGridRect{1, 1, 3, 2}));
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestGrid g;
        setUpView(g);
        g.SetOptions(g.Options() + c.options);
        for (int col = 0; col < 5; ++col)
            g.SetCells(col, 0, QString::number(col));
        g.afterMouseDown = c.afterDown;
        g.beforeMouseMove = c.beforeMove;
        g.show();
        drag(g.viewport(), c.from, c.to);
        c.check(g);
        EXPECT_EQ(g.GridState(), TGridState::gsNormal);
    }
}

TEST_F(PlatformGridTest, TheEdgesOfFixedLinesDoNotSize)
{
    grid->SetOptions(grid->Options() + TGridOptions{goColSizing, goRowSizing});
    grid->show();
    const TRect corner = grid->CellRect(0, 0);
    drag(grid->viewport(), QPoint(corner.Right, 10), QPoint(corner.Right + 25, 10));
    drag(grid->viewport(), QPoint(10, corner.Bottom), QPoint(10, corner.Bottom + 10));
    EXPECT_EQ(grid->ColWidths(0), corner.Width());
    EXPECT_EQ(grid->RowHeights(0), corner.Height());
    EXPECT_EQ(grid->colWidthsChanged + grid->rowHeightsChanged, 0);
}

TEST_F(PlatformGridTest, TheColumnMovedHookChoosesWhichStoredCellsMove)
{
    // Cells kept beyond ColCount (columns the library hides) move when an override points the
    // base there; the shown column's size moves with the display index.
    grid->columnStoreShift = 5;
    for (int c = 0; c < 10; ++c)
        grid->SetCells(c, 1, QString::number(c));
    grid->SetColWidths(1, 11);
    grid->MoveColumn(1, 3);
    QStringList stored;
    for (int c = 0; c < 10; ++c)
        stored << grid->Cells(c, 1);
    EXPECT_EQ(stored, (QStringList{"0", "1", "2", "3", "4", "5", "7", "8", "6", "9"}));
    EXPECT_EQ(grid->ColWidths(3), 11);
}

TEST_F(PlatformGridTest, AScrollRangeOverrideKeepsItsBarThroughLaterUpdates)
{
    for (bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "kept" : "as needed");
        TestGrid g;
        setUpView(g, true);
        g.SetRowCount(3); // everything fits
        g.keepVerticalBar = keep;
        g.show();
        g.SetOptions(g.Options() + TGridOptions{goEditing});
        g.SetRowCount(4);
        g.SetColWidths(1, 80);
        g.resize(390, 240);
        QCoreApplication::processEvents();
        EXPECT_EQ(g.verticalScrollBar()->isVisible(), keep);
    }
}

} // namespace
