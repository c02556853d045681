// What the grid library builds on in the platform grid: geometry and repaints through virtuals
// (a merged area made by a descendant acts as one), the grid-line switch, the editor host with a
// multi-line editor, drag scrolling by timer, the cursor hook and 64-bit line geometry.
#include "platform/grid/InplaceEdit.h"
#include "platform/grid/InplaceMemo.h"
#include "platform/grid/LineSizes.h"
#include "platform/grid/PlatformStringGrid.h"
#include "platform/ui/Canvas.h"
#include "test_platformgrid_util.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <vector>

using namespace plat;
using namespace gridtest;
using enum TGridOption;

namespace {

// A descendant with one merged area over cells (1, 1) and (2, 1), built only through the
// platform's virtual geometry, and a repaint lock as the grid library keeps one.
class MergedGrid : public TPlatformStringGrid
{
public:
    static constexpr TGridRect Area{1, 1, 2, 1};

    bool locked = false;
    std::vector<TRect> invalidated;
    std::function<TGridEditor *(int, int)> editorFor;
    std::function<Qt::CursorShape(int, int)> cursorFor;

    TRect CellRect(int ACol, int ARow) const override
    {
        if (!Area.Contains(ACol, ARow))
            return TPlatformStringGrid::CellRect(ACol, ARow);
        if (TPlatformStringGrid::CellRect(Area.Left, Area.Top).IsEmpty() &&
            TPlatformStringGrid::CellRect(Area.Right, Area.Bottom).IsEmpty())
            return TRect{};
        const TRect a = UnclippedCellRect(Area.Left, Area.Top);
        const TRect b = UnclippedCellRect(Area.Right, Area.Bottom);
        return Rect(a.Left, a.Top, b.Right, b.Bottom);
    }
    TGridCoord MouseCoord(int X, int Y) const override
    {
        const TGridCoord c = TPlatformStringGrid::MouseCoord(X, Y);
        return Area.Contains(c.X, c.Y) ? TGridCoord{Area.Left, Area.Top} : c;
    }
    void InvalidateRect(const TRect &R) override
    {
        if (locked)
            return;
        invalidated.push_back(R);
        TPlatformStringGrid::InvalidateRect(R);
    }

    using TPlatformStringGrid::ShowEditor;

protected:
    TGridEditor *GetCellEditor(int ACol, int ARow) override
    {
        if (editorFor)
            if (TGridEditor *e = editorFor(ACol, ARow))
                return e;
        return TPlatformStringGrid::GetCellEditor(ACol, ARow);
    }
    // The hook's own cursor where it has one, the platform's elsewhere.
    Qt::CursorShape GetCursorForPoint(int X, int Y) override
    {
        const Qt::CursorShape own = cursorFor ? cursorFor(X, Y) : Qt::ArrowCursor;
        return own != Qt::ArrowCursor ? own : TPlatformStringGrid::GetCursorForPoint(X, Y);
    }
};

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class PlatformGridHooksTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid = std::make_unique<MergedGrid>();
        setUpView(*grid);
    }

    void showFocused() { gridtest::showFocused(*grid); }

    // The merged area's rectangle as the two cells and the line between them make it.
    TRect areaRect() const
    {
        const int x = grid->FixedWidth();
        const int y = grid->FixedHeight();
        return Rect(x, y, x + grid->ColWidths(1) + grid->GridLineWidth() + grid->ColWidths(2),
                    y + grid->RowHeights(1));
    }

    std::unique_ptr<MergedGrid> grid;
};

// ---- merged area through the virtual geometry --------------------------------------------------

TEST_F(PlatformGridHooksTest, TheEditorOfAMergedCellCoversTheWholeArea)
{
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    grid->SetCells(1, 1, QStringLiteral("base"));
    showFocused();
    QTest::keyClick(grid.get(), Qt::Key_F2);
    TInplaceEdit *editor = grid->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(TRect::fromQRect(editor->geometry()), areaRect());
    EXPECT_EQ(editor->Text(), QStringLiteral("base"));

    // A click on the area's second cell is a click on the base cell.
    QTest::keyClick(editor, Qt::Key_Escape);
    grid->SetRow(2);
    const TRect second = grid->UnclippedCellRect(2, 1);
    sendMouse(grid->viewport(), QEvent::MouseButtonPress, centre(second), Qt::LeftButton,
              Qt::LeftButton);
    sendMouse(grid->viewport(), QEvent::MouseButtonRelease, centre(second), Qt::LeftButton,
              Qt::NoButton);
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{1, 1}));
}

TEST_F(PlatformGridHooksTest, ChangingTheBaseCellRepaintsTheWholeArea)
{
    showFocused();
    const int lw = grid->GridLineWidth();
    const TRect area = areaRect();
    const TRect expected = Rect(area.Left, area.Top, area.Right + lw, area.Bottom + lw);
    struct Case
    {
        const char *name;
        std::function<void(MergedGrid &)> act;
    };
    const Case cases[] = {
        {"text of the base cell", [](MergedGrid &g) { g.SetCells(1, 1, QStringLiteral("x")); }},
        {"the cursor leaves the area", [](MergedGrid &g) { g.SetRow(2); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        grid->invalidated.clear();
        c.act(*grid);
        EXPECT_NE(std::find(grid->invalidated.begin(), grid->invalidated.end(), expected),
                  grid->invalidated.end());
    }
}

TEST_F(PlatformGridHooksTest, EveryRepaintGoesThroughTheInvalidationVirtual)
{
    struct Case
    {
        const char *name;
        std::function<void(MergedGrid &)> act;
    };
    const Case cases[] = {
        {"cell text", [](MergedGrid &g) { g.SetCells(3, 2, QStringLiteral("x")); }},
        {"whole row",
         [](MergedGrid &g) {
             g.SetRows(2, {"a", "b"});
         }},
        {"whole column",
         [](MergedGrid &g) {
             g.SetCols(3, {"a", "b"});
         }},
        {"colour", [](MergedGrid &g) { g.SetColor(clRed); }},
        {"fixed colour", [](MergedGrid &g) { g.SetFixedColor(clRed); }},
        {"font", [](MergedGrid &g) { g.Font().SetSize(12); }},
        {"default drawing", [](MergedGrid &g) { g.SetDefaultDrawing(false); }},
        {"grid lines switch", [](MergedGrid &g) { g.SetPlatformGridLines(false); }},
        {"line width", [](MergedGrid &g) { g.SetGridLineWidth(3); }},
        {"column width", [](MergedGrid &g) { g.SetColWidths(2, 90); }},
        {"row count", [](MergedGrid &g) { g.SetRowCount(3); }},
        {"selection",
         [](MergedGrid &g) {
             g.SetSelection({1, 2, 3, 3});
         }},
        {"cursor", [](MergedGrid &g) { g.SetCol(3); }},
        {"scrolling", [](MergedGrid &g) { g.SetTopRow(4); }},
        {"options", [](MergedGrid &g) { g.SetOptions(g.Options() + TGridOptions{goRowSelect}); }},
        {"moving a column", [](MergedGrid &g) { g.MoveColumn(3, 4); }},
        {"deleting a row", [](MergedGrid &g) { g.DeleteRow(3); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (bool locked : {true, false}) {
            MergedGrid g;
            setUpView(g);
            g.SetRowCount(20);
            g.show();
            QCoreApplication::processEvents();
            PaintCounter counter;
            g.viewport()->installEventFilter(&counter);
            g.locked = locked;
            c.act(g);
            QCoreApplication::processEvents();
            if (locked)
                EXPECT_EQ(counter.paints, 0) << "painted although locked";
            else
                EXPECT_GT(counter.paints, 0) << "did not repaint at all";
            g.viewport()->removeEventFilter(&counter);
        }
    }
}

// ---- repaints of cells past the view's edge ---------------------------------------------------

// A descendant with the platform's own geometry that counts repaint requests and lets
// InvalidateCell drop cells past the edge.
class CountingGrid : public TPlatformStringGrid
{
public:
    int requests = 0;
    void InvalidateRect(const TRect &R) override
    {
        ++requests;
        TPlatformStringGrid::InvalidateRect(R);
    }
};

bool repaints(CountingGrid &g, int col, int row)
{
    const int before = g.requests;
    g.InvalidateCell(col, row);
    return g.requests != before;
}

// The limits past which repaints are dropped are cached; every change of the view that can bring
// a cell into it must make that cell repaint, and no cell in view may be dropped.
TEST(OffscreenRepaints, EveryViewChangeThatShowsACellMakesItRepaint)
{
    struct Case
    {
        const char *name;
        std::function<void(CountingGrid &)> before;
        std::function<void(CountingGrid &)> change;
        TGridCoord shown; // off screen before the change, in view after it
    };
    const auto none = [](CountingGrid &) {};
    const Case cases[] = {
        {"top row", none, [](CountingGrid &g) { g.SetTopRow(5); }, {1, 12}},
        {"left column", none, [](CountingGrid &g) { g.SetLeftCol(3); }, {7, 1}},
        {"row height", none, [](CountingGrid &g) { g.SetRowHeights(3, 0); }, {1, 10}},
        {"column width", none, [](CountingGrid &g) { g.SetColWidths(2, 0); }, {7, 1}},
        {"default row height", none, [](CountingGrid &g) { g.SetDefaultRowHeight(12); }, {1, 12}},
        {"default column width", none, [](CountingGrid &g) { g.SetDefaultColWidth(40); }, {8, 1}},
        {"grid line width", none, [](CountingGrid &g) { g.SetGridLineWidth(0); }, {1, 10}},
        {"taller view", none, [](CountingGrid &g) { g.resize(400, 400); }, {1, 12}},
        {"wider view", none, [](CountingGrid &g) { g.resize(600, 250); }, {7, 1}},
        {"row count",
         [](CountingGrid &g) { g.SetRowCount(3); },
         [](CountingGrid &g) { g.SetRowCount(40); },
         {1, 5}},
        {"column count",
         [](CountingGrid &g) { g.SetColCount(5); },
         [](CountingGrid &g) { g.SetColCount(10); },
         {6, 1}},
        {"fixed rows",
         [](CountingGrid &g) {
             g.SetFixedRows(3);
             g.SetTopRow(10);
         },
         [](CountingGrid &g) { g.SetFixedRows(1); },
         {1, 17}},
        {"fixed columns",
         [](CountingGrid &g) {
             g.SetFixedCols(3);
             g.SetLeftCol(5);
         },
         [](CountingGrid &g) { g.SetFixedCols(1); },
         {9, 1}},
        {"moved row",
         [](CountingGrid &g) { g.SetRowHeights(20, 0); },
         [](CountingGrid &g) { g.MoveRow(20, 2); },
         {1, 10}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CountingGrid g;
        setUpView(g);
        g.SetColCount(10);
        g.SetRowCount(40);
        g.SetDropOffscreenRepaints(true);
        g.show();
        c.before(g);
        QCoreApplication::processEvents();
        ASSERT_TRUE(g.CellRect(c.shown.X, c.shown.Y).IsEmpty());
        EXPECT_FALSE(repaints(g, c.shown.X, c.shown.Y));
        c.change(g);
        QCoreApplication::processEvents();
        ASSERT_FALSE(g.CellRect(c.shown.X, c.shown.Y).IsEmpty());
        EXPECT_TRUE(repaints(g, c.shown.X, c.shown.Y));
        // Exact both ways: a cell repaints if and only if it has a rectangle in view.
        for (int row = 0; row < 42; ++row)
            for (int col = 0; col < 12; ++col)
                ASSERT_EQ(repaints(g, col, row), !g.CellRect(col, row).IsEmpty())
                    << "cell " << col << "," << row;
    }
}

// A merged area whose base cell is in view repaints through a member cell past the right edge,
// unless the descendant says its geometry allows dropping such cells.
TEST_F(PlatformGridHooksTest, AMergedCellPastTheEdgeRepaintsItsAreaUnlessDroppingIsAllowed)
{
    TPlatformStringGrid plain;
    EXPECT_TRUE(plain.DropOffscreenRepaints());
    EXPECT_FALSE(grid->DropOffscreenRepaints());

    grid->SetColWidths(1, 380);
    showFocused();
    ASSERT_TRUE(grid->TPlatformStringGrid::CellRect(2, 1).IsEmpty());
    const TRect area = grid->CellRect(2, 1);
    ASSERT_FALSE(area.IsEmpty());
    grid->invalidated.clear();
    grid->SetCells(2, 1, QStringLiteral("x"));
    EXPECT_EQ(grid->invalidated.size(), 1u);

    grid->SetDropOffscreenRepaints(true);
    grid->invalidated.clear();
    grid->SetCells(2, 1, QStringLiteral("y"));
    EXPECT_TRUE(grid->invalidated.empty());
}

// ---- grid lines --------------------------------------------------------------------------------

TEST_F(PlatformGridHooksTest, WithoutPlatformGridLinesNoLinesAreDrawnButTheirRoomStays)
{
    auto lineOps = [](MergedGrid &g) {
        TRecordingCanvas canvas;
        g.PaintTo(canvas);
        int n = 0;
        for (const TCanvasOp &op : canvas.OpsOf(TCanvasOp::Kind::FillRect))
            if (op.brushColor == clSilver || op.brushColor == clGray)
                ++n;
        return n;
    };
    const TRect before = grid->CellRect(2, 2);
    EXPECT_GT(lineOps(*grid), 0);
    grid->SetPlatformGridLines(false);
    EXPECT_EQ(lineOps(*grid), 0);
    EXPECT_EQ(grid->CellRect(2, 2), before);
    EXPECT_EQ(grid->GridLineWidth(), 1);
}

// ---- editor host with a multi-line editor ------------------------------------------------------

TEST_F(PlatformGridHooksTest, AMultiLineEditorKeepsLineBreaksAndCommitsThem)
{
    struct Case
    {
        const char *name;
        bool lineFeedOnEnter;
        QString before;
        Qt::KeyboardModifiers breakMods;
        QString after;
        bool closeWithEnter; // else Up leaves the first line for the grid
    };
    const Case cases[] = {
        {"ctrl+enter breaks", false, "first", Qt::ControlModifier, "first\r\nsecond", false},
        {"enter breaks with line feed on enter", true, "first", Qt::NoModifier, "first\r\nsecond",
         false},
        {"the cell's own break form is kept, enter closes", false, "zero\nfirst",
         Qt::ControlModifier, "zero\nfirst\nsecond", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MergedGrid g;
        setUpView(g);
        g.SetOptions(g.Options() + TGridOptions{goEditing});
        g.SetDefaultRowHeight(60);
        g.SetColWidths(3, 200); // no wrapping: one line per break
        auto *memo = new TInplaceMemo(&g);
        memo->SetLineFeedOnEnter(c.lineFeedOnEnter);
        g.editorFor = [memo](int col, int) { return col == 3 ? memo : nullptr; };
        g.SetCells(3, 2, c.before);
        g.show();
        QApplication::setActiveWindow(&g);
        g.setFocus();
        g.MoveColRow(3, 2, true, true);
        QTest::keyClick(&g, Qt::Key_F2);
        ASSERT_EQ(g.CellEditor(), memo);
        ASSERT_TRUE(memo->isVisible());
        EXPECT_EQ(TRect::fromQRect(memo->geometry()), g.CellRect(3, 2));
        EXPECT_EQ(memo->Text(), c.before); // unedited, exactly as stored
        EXPECT_EQ(memo->SelLength(), c.before.size());

        QTest::keyClick(memo, Qt::Key_End); // caret to the end of the text
        EXPECT_TRUE(memo->isVisible());
        QTest::keyClick(memo, Qt::Key_Return, c.breakMods);
        QTest::keyClicks(memo, QStringLiteral("second"));
        EXPECT_EQ(memo->Text(), c.after);
        EXPECT_TRUE(memo->isVisible());
        if (c.closeWithEnter) {
            QTest::keyClick(memo, Qt::Key_Return);
            EXPECT_FALSE(memo->isVisible());
            EXPECT_EQ(g.Cells(3, 2), c.after);
            continue;
        }

        // Up moves between the lines; from the first line it reaches the grid, which commits.
        QTest::keyClick(memo, Qt::Key_Up);
        EXPECT_EQ(g.Row(), 2);
        EXPECT_TRUE(memo->isVisible());
        const int lines = static_cast<int>(c.after.count(QLatin1Char('\n')));
        for (int i = 0; i < lines; ++i)
            QTest::keyClick(memo, Qt::Key_Up);
        EXPECT_EQ(g.Row(), 1);
        EXPECT_EQ(g.Cells(3, 2), c.after);
    }
}

TEST_F(PlatformGridHooksTest, TheHostSwitchesEditorKindsFromCellToCell)
{
    grid->SetOptions(grid->Options() + TGridOptions{goEditing, goAlwaysShowEditor, goTabs});
    auto *memo = new TInplaceMemo(grid.get());
    grid->editorFor = [memo](int col, int) { return col == 3 ? memo : nullptr; };
    grid->SetCells(3, 2, QStringLiteral("a\r\nb"));
    showFocused();
    grid->MoveColRow(2, 2, true, true);
    TInplaceEdit *line = grid->InplaceEditor();
    ASSERT_NE(line, nullptr);
    ASSERT_TRUE(line->isVisible());
    QTest::keyClicks(line, QStringLiteral("typed"));
    QTest::keyClick(line, Qt::Key_Tab);

    EXPECT_EQ(grid->Cells(2, 2), QStringLiteral("typed"));
    EXPECT_FALSE(line->isVisible());
    EXPECT_EQ(grid->CellEditor(), memo);
    EXPECT_EQ(grid->InplaceEditor(), nullptr);
    EXPECT_TRUE(memo->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), memo);
    EXPECT_EQ(memo->Text(), QStringLiteral("a\r\nb"));
    EXPECT_EQ(memo->SelLength(), 4); // the line break counts as the cell stores it

    // Back on a single-line cell, the kept line editor returns.
    QTest::keyClick(memo, Qt::Key_Backtab);
    EXPECT_EQ(grid->CellEditor(), line);
    EXPECT_TRUE(line->isVisible());
    EXPECT_FALSE(memo->isVisible());
    EXPECT_EQ(grid->Cells(3, 2), QStringLiteral("a\r\nb"));
}

TEST(InplaceMemo, TheLimitStopsTypingAndCutsPastesButNotATextSetByCode)
{
    MergedGrid g;
    setUpView(g);
    g.show();
    TInplaceMemo memo(&g);
    memo.show();
    memo.SetMaxLength(4);
    memo.SetText(QStringLiteral("abcdef"));
    EXPECT_EQ(memo.Text(), QStringLiteral("abcdef"));

    struct Case
    {
        const char *name;
        int limit;
        std::function<void()> type;
        QString after;
    };
    // A line break takes two characters, as the cell stores it.
    const Case cases[] = {
        {"typing", 4, [&] { QTest::keyClicks(&memo, QStringLiteral("xyz")); }, "abxy"},
        {"pasting", 4,
         [&] {
             QApplication::clipboard()->setText(QStringLiteral("1\r\n2"));
             memo.paste();
         },
         "ab1"},
        {"a line break without room", 3,
         [&] { QTest::keyClick(&memo, Qt::Key_Return, Qt::ControlModifier); }, "ab"},
        {"a line break with room", 4,
         [&] { QTest::keyClick(&memo, Qt::Key_Return, Qt::ControlModifier); }, "ab\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        memo.SetText(QStringLiteral("ab"));
        memo.SetSelStart(2);
        memo.SetMaxLength(c.limit);
        c.type();
        EXPECT_EQ(memo.Text(), c.after);
    }
}

// ---- drag scrolling ----------------------------------------------------------------------------

void fireTimer(QTimer *timer)
{
    QTimerEvent e(timer->timerId());
    QCoreApplication::sendEvent(timer, &e);
}

TEST_F(PlatformGridHooksTest, AMouseHeldPastTheEdgeKeepsScrollingByTheTimer)
{
    struct Case
    {
        const char *name;
        QPoint outside; // relative to the view's bottom-right corner
        bool rows;
    };
    const Case cases[] = {
        {"past the bottom", {-200, 5}, true},
        {"past the right", {5, -100}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MergedGrid g;
        setUpView(g);
        g.SetRowCount(200);
        g.SetColCount(40);
        g.SetDragScrollInitialDelay(400);
        g.SetDragScrollRepeatDelay(50);
        g.show();
        auto *timer = g.findChild<QTimer *>(QStringLiteral("dragScrollTimer"));
        ASSERT_NE(timer, nullptr);
        auto first = [&] { return c.rows ? g.TopRow() : g.LeftCol(); };
        auto current = [&] { return c.rows ? g.Row() : g.Col(); };
        const QPoint out(g.viewport()->width() + c.outside.x(),
                         g.viewport()->height() + c.outside.y());
        const QPoint in = centre(g.CellRect(3, 3));

        sendMouse(g.viewport(), QEvent::MouseButtonPress, in, Qt::LeftButton, Qt::LeftButton);
        sendMouse(g.viewport(), QEvent::MouseMove, out, Qt::NoButton, Qt::LeftButton);
        EXPECT_EQ(first(), 2); // one line at once
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 400);
        // Moving on past the edge does not scroll faster; the timer does.
        sendMouse(g.viewport(), QEvent::MouseMove, out + QPoint(1, 1), Qt::NoButton,
                  Qt::LeftButton);
        EXPECT_EQ(first(), 2);
        for (int tick = 1; tick <= 3; ++tick) {
            fireTimer(timer);
            EXPECT_EQ(first(), 2 + tick);
            EXPECT_EQ(timer->interval(), 50);
        }
        // The cursor follows the view: the last line wholly in view.
        EXPECT_EQ(current(), c.rows ? g.TopRow() + g.VisibleRowCount() - 1
                                    : g.LeftCol() + g.VisibleColCount() - 1);

        // Back inside the timer stops; the release ends it too.
        sendMouse(g.viewport(), QEvent::MouseMove, in, Qt::NoButton, Qt::LeftButton);
        EXPECT_FALSE(timer->isActive());
        sendMouse(g.viewport(), QEvent::MouseMove, out, Qt::NoButton, Qt::LeftButton);
        EXPECT_TRUE(timer->isActive());
        sendMouse(g.viewport(), QEvent::MouseButtonRelease, out, Qt::LeftButton, Qt::NoButton);
        EXPECT_FALSE(timer->isActive());
    }

    // And with a real clock: short delays keep scrolling a held mouse.
    grid->SetRowCount(200);
    grid->SetDragScrollInitialDelay(5);
    grid->SetDragScrollRepeatDelay(5);
    grid->show();
    const QPoint out(50, grid->viewport()->height() + 5);
    sendMouse(grid->viewport(), QEvent::MouseButtonPress, centre(grid->CellRect(1, 1)),
              Qt::LeftButton, Qt::LeftButton);
    sendMouse(grid->viewport(), QEvent::MouseMove, out, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return grid->TopRow() >= 6; }, 5000));
    sendMouse(grid->viewport(), QEvent::MouseButtonRelease, out, Qt::LeftButton, Qt::NoButton);
}

// ---- cursor hook -------------------------------------------------------------------------------

TEST_F(PlatformGridHooksTest, TheCursorForAPointComesFromTheHook)
{
    grid->SetOptions(grid->Options() + TGridOptions{goColSizing});
    const TRect link = grid->CellRect(3, 3);
    grid->cursorFor = [&](int X, int Y) {
        return link.Contains(X, Y) ? Qt::PointingHandCursor : Qt::ArrowCursor;
    };
    grid->show();
    struct Case
    {
        const char *name;
        QPoint at;
        bool set;
        Qt::CursorShape shape;
    };
    const TRect header = grid->CellRect(2, 0);
    const Case cases[] = {
        {"the hook's cell", centre(link), true, Qt::PointingHandCursor},
        {"a column edge in the fixed row", QPoint(header.Right, 10), true, Qt::SplitHCursor},
        {"a plain cell", centre(grid->CellRect(1, 2)), false, Qt::ArrowCursor},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        sendMouse(grid->viewport(), QEvent::MouseMove, c.at, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(grid->viewport()->testAttribute(Qt::WA_SetCursor), c.set);
        if (c.set) {
            EXPECT_EQ(grid->viewport()->cursor().shape(), c.shape);
        }
    }
}

// ---- 64-bit line geometry ----------------------------------------------------------------------

TEST(LineSizesOverflow, SizesUpToIntMaxAddUpIn64Bits)
{
    const qint64 big = INT_MAX;
    struct Case
    {
        const char *name;
        int defaultSize;
        int lineWidth;
        int sizedLine; // -1: uniform
    };
    const Case cases[] = {
        {"uniform, line 1", INT_MAX, 1, -1},
        {"uniform, wide line", INT_MAX, INT_MAX, -1},
        {"one line sized", 10, 1, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TLineSizes lines(c.defaultSize, 4);
        lines.SetLineWidth(c.lineWidth);
        if (c.sizedLine >= 0)
            lines.SetSize(c.sizedLine, INT_MAX);
        qint64 offset = 0;
        for (int i = 0; i < 4; ++i) {
            const qint64 extent = static_cast<qint64>(lines.Size(i)) + c.lineWidth;
            EXPECT_EQ(lines.Extent(i), extent);
            EXPECT_EQ(lines.Offset(i), offset);
            EXPECT_EQ(lines.IndexAt(offset), i);
            EXPECT_EQ(lines.IndexAt(offset + extent - 1), i);
            EXPECT_EQ(lines.FirstAtOrAfter(offset + 1), i + 1);
            offset += extent;
        }
        EXPECT_EQ(lines.Total(), offset);
        EXPECT_GT(lines.Total(), big);
        EXPECT_EQ(lines.IndexAt(offset), -1);
    }
}

TEST_F(PlatformGridHooksTest, AGridOfIntMaxSizesStaysInRange)
{
    grid->SetDefaultColWidth(INT_MAX);
    grid->SetDefaultRowHeight(INT_MAX);
    grid->SetOptions(grid->Options() + TGridOptions{goColSizing, goRowSizing});
    grid->show();
    EXPECT_EQ(grid->ColWidths(1), INT_MAX);
    EXPECT_EQ(grid->GridWidth(), INT_MAX); // clamped, not wrapped
    EXPECT_EQ(grid->GridHeight(), INT_MAX);
    EXPECT_EQ(grid->FixedWidth(), INT_MAX);
    EXPECT_EQ(grid->TPlatformStringGrid::CellRect(0, 0), Rect(0, 0, INT_MAX, INT_MAX));
    EXPECT_TRUE(grid->TPlatformStringGrid::CellRect(1, 1).IsEmpty()); // beyond the view
    EXPECT_EQ(grid->MouseCoord(100, 100), (TGridCoord{0, 0}));
    EXPECT_EQ(grid->UnclippedCellRect(1, 0).Left, INT_MAX);

    TRecordingCanvas canvas;
    grid->PaintTo(canvas);
    EXPECT_FALSE(canvas.OpsOf(TCanvasOp::Kind::FillRect).empty());
    sendMouse(grid->viewport(), QEvent::MouseMove, QPoint(399, 10), Qt::NoButton, Qt::NoButton);
    grid->SetGridLineWidth(INT_MAX);
    grid->SetCells(0, 0, QStringLiteral("x"));
    grid->PaintTo(canvas);
    EXPECT_EQ(grid->GridWidth(), INT_MAX);
}

} // namespace
