// Hover, sizing and moving on a shown grid: hover-row repaints, the sizing veto and the sizing
// hint, moving a column by its header, the sort settings and the current column following a
// moved column, the drag threshold, anchor events and the mouse leaving a hovered header.
#include "grid/common/GridWindow.h"
#include "grid/display/QrlHintWindow.h"
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using plat::TGridCoord;
using plat::TGridOption;

// Records every repaint the grid asks for.
class HoverGrid : public TQrlStringGrid
{
public:
    using TQrlStringGrid::TQrlStringGrid;
    std::vector<TRect> repaints;
    void InvalidateRect(const TRect &R) override
    {
        repaints.push_back(R);
        TQrlStringGrid::InvalidateRect(R);
    }
    TGridCoord hoverFixed() const { return d->hoverFixedCell; }
};

// 5 columns and 6 rows, one fixed of each, shown with room for all of them.
class Hover : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid->SetColCount(5);
        grid->SetRowCount(6);
        grid->SetOptions(grid->Options() + TGridOption::goRangeSelect + TGridOption::goColSizing);
        ASSERT_TRUE(shown.showActive({500, 250}));
    }

    QPoint centre(int c, int r) const { return grid->CellRect(c, r).toQRect().center(); }
    QPoint rightEdge(int c, int r) const
    {
        const TRect cr = grid->CellRect(c, r);
        return {cr.Right, (cr.Top + cr.Bottom) / 2};
    }
    void send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QWidget *vp = grid->viewport();
        QMouseEvent e(type, QPointF(p), QPointF(vp->mapToGlobal(p)), button, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(vp, &e);
    }
    void move(QPoint p) { send(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
    void press(QPoint p) { send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); }
    void drag(QPoint p) { send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
    void release(QPoint p) { send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }
    Qt::CursorShape cursor() const { return grid->viewport()->cursor().shape(); }

    gridtest::GridWindow<HoverGrid> shown;
    HoverGrid *grid = shown.open();
};

TEST_F(Hover, HoverRowRepaintsOnlyTheRowsItLeavesAndEnters)
{
    grid->SetHoverRow(true);
    move(centre(1, 2));
    grid->repaints.clear();

    move(centre(3, 2));
    EXPECT_TRUE(grid->repaints.empty());

    move(centre(3, 3));
    ASSERT_EQ(grid->repaints.size(), 2u);
    std::set<int> tops;
    for (const TRect &r : grid->repaints) {
        tops.insert(r.Top);
        EXPECT_EQ(r.Left, grid->CellRect(0, 2).Left);
        EXPECT_EQ(r.Height(), grid->RowHeights(2));
    }
    EXPECT_EQ(tops, (std::set<int>{grid->CellRect(0, 2).Top, grid->CellRect(0, 3).Top}));
}

TEST_F(Hover, ARefusedColumnBorderShowsNoSizingCursorAndDoesNotSize)
{
    grid->OnColumnSize = [](QObject *, int ACol, bool &Allow) { Allow = ACol != 2; };
    struct Case
    {
        int col;
        Qt::CursorShape shape;
        int widthAfterDrag;
    };
    const Case cases[] = {{1, Qt::SplitHCursor, 84}, {2, Qt::ArrowCursor, 64}};
    for (const Case &k : cases) {
        SCOPED_TRACE(k.col);
        const QPoint border = rightEdge(k.col, 0);
        move(border);
        EXPECT_EQ(cursor(), k.shape);
        press(border);
        drag(border + QPoint(20, 0));
        release(border + QPoint(20, 0));
        EXPECT_EQ(grid->ColWidths(k.col), k.widthAfterDrag);
    }
}

TEST_F(Hover, SizingAColumnShowsItsWidthAsHintAndReportsIt)
{
    grid->SetHintShowSizing(true);
    std::vector<std::pair<int, int>> sizing;
    grid->OnColumnSizing = [&](QObject *, int ACol, int Size) { sizing.push_back({ACol, Size}); };
    // Grabbed on the border or just before it: the border follows the pointer 16 pixels on.
    for (const int grab : {0, -2}) {
        SCOPED_TRACE(grab);
        grid->SetColWidths(2, 64);
        const QPoint start = rightEdge(2, 0) + QPoint(grab, 0);

        press(start);
        drag(start + QPoint(16, 0));
        EXPECT_EQ(grid->HintManager()->ShownText(), QStringLiteral("cw=<b>80</b>"));
        ASSERT_FALSE(sizing.empty());
        EXPECT_EQ(sizing.back(), (std::pair<int, int>{2, 80}));

        release(start + QPoint(16, 0));
        EXPECT_EQ(grid->ColWidths(2), 80);
        EXPECT_FALSE(grid->HintManager()->HintShowing());
    }
}

TEST_F(Hover, WithoutTheOptionSizingShowsNoHint)
{
    const QPoint border = rightEdge(2, 0);
    press(border);
    drag(border + QPoint(16, 0));
    EXPECT_FALSE(grid->HintManager()->HintShowing());
    release(border + QPoint(16, 0));
}

TEST(HoverColumnMoved, SortSettingsAndCurrentColumnFollowAMovedColumn)
{
    struct Case
    {
        int before;
        int after;
    };
    // Column 1 moves to position 3: 2 and 3 shift left, the fixed column and 4 stay.
    const Case cases[] = {{1, 3}, {2, 1}, {3, 2}, {4, 4}, {0, 0}};
    for (const Case &k : cases) {
        SCOPED_TRACE(k.before);
        TQrlStringGrid grid;
        grid.SetColCount(5);
        grid.SetRowCount(4);
        grid.SetCells(1, 1, QStringLiteral("moved"));
        grid.SortSettings()->SetColumn(k.before);
        grid.SetCol(k.before == 0 ? 1 : k.before);
        const int curAfter = k.before == 0 ? 3 : k.after;

        grid.MoveColumn(1, 3);

        EXPECT_EQ(grid.Cells(3, 1), QStringLiteral("moved"));
        EXPECT_EQ(grid.SortSettings()->Column(), k.after);
        EXPECT_EQ(grid.Col(), curAfter);
    }
}

TEST(HoverColumnMoved, SortIndexEntriesFollowAndKeepTheirDirection)
{
    TQrlStringGrid grid;
    grid.SetColCount(5);
    grid.SetRowCount(4);
    grid.SortSettings()->SetIndexShow(true);
    TSortIndexList &idx = grid.SortIndexes();
    idx.AddIndex(2, true);
    idx.AddIndex(1, false);
    idx.AddIndex(4, false);

    grid.MoveColumn(1, 3);

    ASSERT_EQ(idx.Count(), 3);
    EXPECT_EQ(idx.SortColumns(0), 1);
    EXPECT_TRUE(idx.SortDirections(0));
    EXPECT_EQ(idx.SortColumns(1), 3);
    EXPECT_FALSE(idx.SortDirections(1));
    EXPECT_EQ(idx.SortColumns(2), 4);
    EXPECT_FALSE(idx.SortDirections(2));
}

TEST_F(Hover, DraggingASelectedCellStartsOnlyPastThreePixels)
{
    struct Case
    {
        QPoint offset;
        int drags;
    };
    const Case cases[] = {{{3, 0}, 0}, {{0, -3}, 0}, {{3, 3}, 0}, {{4, 0}, 1}, {{0, 4}, 1}};
    grid->SetOleDropSource(true);
    for (const Case &k : cases) {
        SCOPED_TRACE(testing::Message() << k.offset.x() << "," << k.offset.y());
        grid->SetSelection({2, 2, 2, 2});
        std::vector<TGridCoord> drags;
        grid->OnOleDrag = [&](QObject *, int ARow, int ACol, const QString &, bool &) {
            drags.push_back({ACol, ARow});
        };
        const QPoint p = centre(2, 2);
        press(p);
        drag(p + k.offset);
        drag(p + k.offset); // a second move at the same distance starts nothing more
        release(p + k.offset);
        ASSERT_EQ(static_cast<int>(drags.size()), k.drags);
        if (k.drags) {
            EXPECT_EQ(drags.front(), (TGridCoord{2, 2}));
        }
    }
}

TEST_F(Hover, APressOnAnUnselectedCellPreparesNoDrag)
{
    grid->SetOleDropSource(true);
    grid->SetSelection({2, 2, 2, 2});
    int drags = 0;
    grid->OnOleDrag = [&](QObject *, int, int, const QString &, bool &) { ++drags; };
    const QPoint p = centre(3, 3);
    press(p);
    drag(p + QPoint(10, 0));
    release(p + QPoint(10, 0));
    EXPECT_EQ(drags, 0);
}

TEST_F(Hover, MovingAColumnShowsItsHeaderAndARefusedTargetIsNotDropped)
{
    grid->SetOptions(grid->Options() + TGridOption::goColMoving);
    grid->SetCells(1, 0, QStringLiteral("Head"));
    // Set before the arrow windows exist.
    grid->SetArrowColor(clRed);
    struct Case
    {
        bool allow;
        QString atThree;
    };
    const Case cases[] = {{false, QString()}, {true, QStringLiteral("Head")}};
    for (const Case &k : cases) {
        SCOPED_TRACE(k.allow);
        std::vector<int> targets;
        grid->OnColumnMoving = [&](QObject *, int ACol, bool &Allow) {
            targets.push_back(ACol);
            Allow = k.allow;
        };
        press(centre(1, 0));
        drag(centre(3, 0));
        auto *button = grid->findChild<QWidget *>(QStringLiteral("MoveButton"));
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible());
        EXPECT_EQ(button->property("text").toString(), QStringLiteral("Head"));
        EXPECT_EQ(grid->ArrowColor(), clRed);
        EXPECT_EQ(cursor(), k.allow ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
        ASSERT_FALSE(targets.empty());
        EXPECT_EQ(targets.back(), 3);
        release(centre(3, 0));
        EXPECT_FALSE(button->isVisible());
        EXPECT_EQ(grid->Cells(3, 0), k.atThree);
    }
}

TEST_F(Hover, AnchorEventsFireOnEnteringAndLeavingALink)
{
    grid->SetCells(1, 1, QStringLiteral("<a href=\"one\">first</a>"));
    grid->SetCells(2, 1, QStringLiteral("<a href=\"two\">second</a>"));
    grid->SetCells(3, 1, QStringLiteral("plain"));
    std::vector<QString> events;
    grid->OnAnchorEnter = [&](QObject *, int, int, const QString &A) { events.push_back("+" + A); };
    grid->OnAnchorExit = [&](QObject *, int, int, const QString &A) { events.push_back("-" + A); };

    // The links stand at the left of their cells.
    const auto onText = [&](int c) { return QPoint(grid->CellRect(c, 1).Left + 6, centre(c, 1).y()); };
    move(onText(1));
    move(onText(1) + QPoint(2, 0));
    EXPECT_EQ(cursor(), Qt::PointingHandCursor);
    move(onText(2));
    move(centre(3, 1));
    EXPECT_EQ(events, (std::vector<QString>{"+one", "-one", "+two", "-two"}));
    EXPECT_NE(cursor(), Qt::PointingHandCursor);
}

TEST_F(Hover, LeavingTheGridRepaintsAHoveredHeaderPlain)
{
    grid->SetHoverFixedCells(THoverFixedCells::hfAll);
    move(centre(2, 0));
    EXPECT_EQ(grid->hoverFixed(), (TGridCoord{2, 0}));
    grid->repaints.clear();

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(grid->viewport(), &leave);

    EXPECT_EQ(grid->hoverFixed(), (TGridCoord{-1, -1}));
    const TRect cell = grid->CellRect(2, 0);
    bool repainted = false;
    for (const TRect &r : grid->repaints)
        repainted = repainted || (r.Left <= cell.Left && r.Top <= cell.Top &&
                                  r.Right >= cell.Right && r.Bottom >= cell.Bottom);
    EXPECT_TRUE(repainted);
}

} // namespace

namespace {

TEST_F(Hover, ARowIsNotMovedOntoTheFooterRow)
{
    grid->SetOptions(grid->Options() + TGridOption::goRowMoving);
    grid->FloatingFooter()->SetFooterStyle(TFooterStyle::fsFixedLastRow);
    grid->FloatingFooter()->SetVisible(true);
    std::vector<std::pair<int, int>> moved;
    grid->OnRowMoved = [&](QObject *, int From, int To) { moved.push_back({From, To}); };
    const int last = grid->RowCount() - 1;

    press(centre(0, 2));
    drag(QPoint(centre(0, 2).x(), grid->viewport()->height() - 1));
    release(QPoint(centre(0, 2).x(), grid->viewport()->height() - 1));
    for (const auto &m : moved)
        EXPECT_NE(m.second, last);

    // A data row is still a target.
    moved.clear();
    press(centre(0, 2));
    drag(centre(0, 3));
    release(centre(0, 3));
    EXPECT_EQ(moved, (std::vector<std::pair<int, int>>{{2, 3}}));
}

} // namespace
