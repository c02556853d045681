// Scrolling and column sizing: scrolling a cell into view, thumb-drag hints and synchronous
// scrolling through the real scroll bars, the proportional thumb, column stretching, sizing one
// column or row for all, the column-size limit hook, drag scrolling, the in-cell scroll bar and
// forgetting a synchronised grid that goes away.
#include "grid/display/QrlHintWindow.h"
#include "grid/display/QrlStringGrid_display_p.h"
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using plat::TScrollCode;

namespace {

// The mouse code sets the sizing state; tests set it directly.
class ScrollGrid : public TQrlStringGrid
{
public:
    TStringGridDisplayState &state() { return *dsp; }
    // A user sizing of column or row `line` that started at `before` pixels.
    void userSized(bool column, int line, int before)
    {
        (column ? dsp->colClicked : dsp->rowClicked) = line;
        (column ? dsp->colClickedSize : dsp->rowClickedSize) = before;
        (column ? dsp->colSized : dsp->rowSized) = true;
    }
};

// A shown grid: 5 columns (one fixed), 100 rows of 24 px.
std::unique_ptr<ScrollGrid> makeGrid(int cols = 5, int rows = 100, int w = 400, int h = 300)
{
    auto g = std::make_unique<ScrollGrid>();
    g->SetColCount(cols);
    g->SetRowCount(rows);
    g->SetDefaultRowHeight(24);
    g->resize(w, h);
    g->show();
    QCoreApplication::processEvents();
    return g;
}

TEST(ScrollInView, MovesOnlyForCellsOutOfView)
{
    struct Case
    {
        const char *name;
        int col, row;
        bool moves;
    };
    const Case cases[] = {
        {"beyond the last row", 1, 100, false},
        {"visible cell", 2, 3, false},
        {"below the view", 1, 60, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto g = makeGrid();
        g->SetRow(2);
        const int visible = g->VisibleRowCount();
        g->ScrollInView(c.col, c.row);
        if (c.moves) {
            EXPECT_EQ(g->Row(), c.row);
            EXPECT_EQ(g->TopRow(), c.row - visible / 2);
        } else {
            EXPECT_EQ(g->Row(), 2);
            EXPECT_EQ(g->Col(), 1);
            EXPECT_EQ(g->TopRow(), 1);
        }
    }
}

TEST(ScrollHints, ThumbAtTheEndShowsTheLastTopRow)
{
    auto g = makeGrid();
    g->SetScrollHints(TScrollHintType::shVertical);
    std::vector<int> asked;
    g->OnScrollHint = [&](QObject *, int ARow, QString &) { asked.push_back(ARow); };
    QScrollBar *bar = g->verticalScrollBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(bar->maximum());
    const int expected = g->RowCount() - g->VisibleRowCount();
    EXPECT_EQ(g->ScrollHintWindow()->Caption(), QStringLiteral("Row : %1").arg(expected));
    EXPECT_EQ(asked, std::vector<int>{expected});
    bar->setSliderDown(false);
    EXPECT_FALSE(g->state().scrollHintShow);
    EXPECT_FALSE(g->ScrollHintWindow()->isVisible());
}

TEST(ScrollSynch, FollowsTheThumbOnlyWhenOn)
{
    for (bool synch : {false, true}) {
        SCOPED_TRACE(synch ? "synch" : "no synch");
        auto g = makeGrid();
        g->SetScrollSynch(synch);
        QScrollBar *bar = g->verticalScrollBar();
        bar->setSliderDown(true);
        bar->setSliderPosition(40);
        EXPECT_EQ(g->TopRow(), synch ? 41 : 1);
        bar->setSliderDown(false);
        EXPECT_EQ(g->TopRow(), 41);
    }
}

TEST(ScrollProportional, ThumbFollowsTheVisiblePart)
{
    // Control 400 px wide, one fixed column of 63 px, grid lines 1 px: F = 65. Three scrollable
    // columns of 222 px give C = 670 and e = (400 - 65) / 670 = 0.5; four of 64 px fit.
    struct Case
    {
        const char *name;
        int width;
        bool changes;
    };
    for (const Case &c : {Case{"all columns fit", 64, false}, Case{"half shows", 222, true}}) {
        SCOPED_TRACE(c.name);
        auto g = makeGrid(4, 3);
        g->SetColWidths(0, 63);
        for (int col = 1; col < 4; ++col)
            g->SetColWidths(col, c.width);
        const int pageBefore = g->horizontalScrollBar()->pageStep();
        g->SetScrollProportional(true);
        const TScrollInfo info = g->state().hScrollInfo;
        if (c.changes) {
            EXPECT_EQ(info.nMax, 255);
            EXPECT_EQ(info.nPage, 129);
            // The thumb covers nPage / (nMax + 1) of the track.
            const QScrollBar *bar = g->horizontalScrollBar();
            const double shown = double(bar->pageStep()) / (bar->maximum() + bar->pageStep());
            EXPECT_NEAR(shown, 129.0 / 256.0, 0.02);
        } else {
            EXPECT_EQ(info.nMax, 0);
            EXPECT_EQ(g->horizontalScrollBar()->pageStep(), pageBefore);
        }
    }
}

TEST(ScrollType, FlatTypesKeepNormalBarsAndMetroHidesThemUntilLeft)
{
    auto g = makeGrid();
    g->SetScrollType(TScrollType::ssFlat);
    EXPECT_FALSE(g->IsFlat());
    EXPECT_EQ(g->ScrollBars(), plat::TScrollStyle::ssBoth);
    g->SetScrollType(TScrollType::ssMetro);
    EXPECT_EQ(g->ScrollBars(), plat::TScrollStyle::ssNone);
    g->SetScrollType(TScrollType::ssNormal);
    EXPECT_EQ(g->ScrollBars(), plat::TScrollStyle::ssBoth);
}

TEST(Stretch, LastColumnTakesTheRoomLessOnePixel)
{
    for (bool stretch : {true, false}) {
        SCOPED_TRACE(stretch ? "stretch" : "off");
        auto g = makeGrid(3, 3);
        g->resize(300 + 2 * g->frameWidth(), 200);
        QCoreApplication::processEvents();
        ASSERT_EQ(g->viewport()->width(), 300);
        g->ColumnSize()->SetStretch(stretch);
        g->StretchRightColumn();
        EXPECT_EQ(g->ColWidths(2), stretch ? 171 : 64);
        EXPECT_EQ(g->ColWidths(0), 64);
    }
}

TEST(Stretch, IndexPastTheLastColumnRaises)
{
    auto g = makeGrid(3, 3);
    for (bool stretch : {true, false}) {
        g->ColumnSize()->SetStretch(stretch);
        for (int index : {3, 7, -2})
            EXPECT_THROW(g->DoStretchColumn(index), EQrlGridError) << index;
        EXPECT_NO_THROW(g->DoStretchColumn(-1));
    }
    try {
        g->DoStretchColumn(3);
    } catch (const EQrlGridError &e) {
        EXPECT_STREQ(e.what(), "Stretch column index out of range");
    }
}

TEST(ColumnSizing, AllColumnSizeScalesTheOtherScrollableColumns)
{
    auto g = makeGrid(5, 3, 800);
    const int before[] = {30, 40, 50, 60, 70};
    for (int c = 0; c < 5; ++c)
        g->SetColWidths(c, before[c]);
    g->MouseActions()->SetAllColumnSize(true);
    std::vector<int> ended;
    g->OnEndColumnSize = [&](QObject *, int ACol) { ended.push_back(ACol); };
    g->userSized(true, 2, 50);
    g->SetColWidths(2, 100);
    EXPECT_EQ(ended, std::vector<int>{2});
    const int after[] = {30, 80, 100, 120, 140};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(g->ColWidths(c), after[c]) << c;
    EXPECT_EQ(g->state().colClicked, -1);
    EXPECT_FALSE(g->state().colSized);
}

TEST(ColumnSizing, RowSizeScalesTheOtherScrollableRows)
{
    auto g = makeGrid(3, 4);
    g->MouseActions()->SetAllRowSize(true);
    std::vector<int> ended;
    g->OnEndRowSize = [&](QObject *, int ARow) { ended.push_back(ARow); };
    g->userSized(false, 1, 24);
    g->SetRowHeights(1, 36);
    EXPECT_EQ(ended, std::vector<int>{1});
    EXPECT_EQ(g->RowHeights(0), 24);
    EXPECT_EQ(g->RowHeights(2), 36);
    EXPECT_EQ(g->RowHeights(3), 36);
}

TEST(ColumnSizing, UpdateColumnSizeLimitsTheUserWidth)
{
    auto g = makeGrid(5, 3);
    g->OnUpdateColumnSize = [](QObject *, int, int &AWidth) { AWidth = std::min(AWidth, 80); };
    int ended = 0;
    g->OnEndColumnSize = [&](QObject *, int ACol) {
        EXPECT_EQ(ACol, 2);
        ++ended;
    };
    g->userSized(true, 2, 64);
    g->SetColWidths(2, 120);
    EXPECT_EQ(g->ColWidths(2), 80);
    EXPECT_EQ(ended, 1);
}

// Sends a drag event at a viewport point, as a drag over the grid does.
void dragTo(ScrollGrid &g, QEvent::Type type, QPoint at)
{
    QMimeData mime;
    if (type == QEvent::DragLeave) {
        QDragLeaveEvent e;
        QCoreApplication::sendEvent(g.viewport(), &e);
    } else if (type == QEvent::DragEnter) {
        QDragEnterEvent e(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(g.viewport(), &e);
    } else {
        QDragMoveEvent e(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(g.viewport(), &e);
    }
}

TEST(DragScroll, ScrollsUpAfterTheInitialDelayThenByTheRepeatDelay)
{
    auto g = makeGrid();
    g->SetTopRow(50);
    TDragScrollOptions *opts = g->DragScrollOptions();
    opts->SetActive(true);
    opts->Delays().SetInitialDelay(150);
    opts->Delays().SetRepeatDelay(30);
    int ticks = 0;
    g->OnDragScroll = [&](QObject *, int, int, TDragScrollDirection &Dir, bool &) {
        EXPECT_TRUE(Dir.Contains(TDragScrollDir::dsdUp));
        ++ticks;
    };
    dragTo(*g, QEvent::DragEnter, {100, 10});
    QTimer *timer = g->state().dragTmr;
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 150);
    EXPECT_EQ(g->TopRow(), 50);
    ASSERT_TRUE(QTest::qWaitFor([&] { return g->TopRow() == 49; }, 2000));
    EXPECT_EQ(timer->interval(), 30);
    ASSERT_TRUE(QTest::qWaitFor([&] { return g->TopRow() <= 47; }, 2000));
    EXPECT_GE(ticks, 3);

    // Outside every margin the timer goes; back inside it starts with the initial delay.
    dragTo(*g, QEvent::DragMove, {100, 150});
    EXPECT_EQ(g->state().dragTmr, nullptr);
    dragTo(*g, QEvent::DragMove, {100, 10});
    ASSERT_NE(g->state().dragTmr, nullptr);
    EXPECT_EQ(g->state().dragTmr->interval(), 150);
    dragTo(*g, QEvent::DragLeave, {});
    EXPECT_EQ(g->state().dragTmr, nullptr);
}

TEST(DragScroll, RefusedTickKeepsTheTimer)
{
    auto g = makeGrid();
    g->SetTopRow(50);
    g->DragScrollOptions()->SetActive(true);
    g->OnDragScroll = [](QObject *, int, int, TDragScrollDirection &, bool &CanScroll) {
        CanScroll = false;
    };
    dragTo(*g, QEvent::DragEnter, {100, 10});
    g->DragScrollTimer();
    EXPECT_EQ(g->TopRow(), 50);
    EXPECT_NE(g->state().dragTmr, nullptr);
}

TEST(CellScrollBar, ActionsMoveTheCellPosition)
{
    auto g = makeGrid(4, 4);
    g->AddScrollBar(1, 1, false);
    g->SetScrollProp(1, 1, TScrollProp{10, 200});
    QScrollBar bar(Qt::Vertical);
    bar.setRange(0, 200);
    g->ConnectCellScrollBar(&bar, 1, 1);
    std::vector<int> fired;
    g->OnScrollCell = [&](QObject *, int, int, int Pos, int Min, int Max) {
        fired.push_back(Pos);
        EXPECT_EQ(Min, 0);
        EXPECT_EQ(Max, 200);
    };
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(fired, (std::vector<int>{10, 110, 100}));
    EXPECT_EQ(bar.value(), 100);
    EXPECT_EQ(g->GetScrollPosition(1, 1), 100);
}

TEST(SizingPos, NearBordersOfTheHeaderOnly)
{
    auto g = makeGrid(4, 4);
    g->SetOptions(g->Options() + plat::TGridOption::goColSizing);
    const TRect header = g->CellRect(2, 0);
    const TRect cell = g->CellRect(2, 2);
    EXPECT_TRUE(g->IsSizingPos(header.Right - 2, header.Top + 5));
    EXPECT_FALSE(g->IsSizingPos(header.Left + 20, header.Top + 5));
    EXPECT_FALSE(g->IsSizingPos(cell.Right - 2, cell.Top + 5));
}

TEST(Notification, ADestroyedSynchronisedGridIsForgotten)
{
    auto g = makeGrid(3, 3);
    auto other = std::make_unique<TQrlStringGrid>();
    g->SyncGrid()->SetGrid(other.get());
    ASSERT_EQ(g->SyncGrid()->Grid(), other.get());
    other.reset();
    EXPECT_EQ(g->SyncGrid()->Grid(), nullptr);
}

} // namespace
