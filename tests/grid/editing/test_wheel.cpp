// The mouse wheel and the middle button's pan mode on a shown grid driven with synthesized wheel,
// mouse and key events: the wheel step from the system setting and its ends, Ctrl+wheel zoom,
// the wheel actions and options, the parent's first say, the wheel over an open editor, and pan
// mode's start, dead zone, directions and end.
#include "grid/common/GridWindow.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/grid/GridEditor.h"
#include "platform/ui/WindowMessage.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <vector>

namespace {

using plat::TGridOption;

// Answers the framework's wheel notification with the given result.
class WheelAnswer : public QObject
{
public:
    std::intptr_t answer = 0;
    int asked = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() != plat::WindowMessageType(0xB043))
            return false;
        ++asked;
        static_cast<plat::TMessageEvent *>(e)->Result = answer;
        return true;
    }
};

// A window holding a 5 x 30 grid (one fixed row and column) with three wheel lines per notch.
class Wheel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedLines = QApplication::wheelScrollLines();
        QApplication::setWheelScrollLines(3);
        grid = shown.open();
        shown.window()->installEventFilter(&parentAnswer);
        grid->SetColCount(5);
        grid->SetRowCount(30);
        ASSERT_TRUE(shown.showActive({400, 300}));
        wheelDowns = wheelUps = 0;
        grid->OnMouseWheelDown = [this](QObject *, plat::TShiftState, TPoint, bool &) {
            ++wheelDowns;
        };
        grid->OnMouseWheelUp = [this](QObject *, plat::TShiftState, TPoint, bool &) { ++wheelUps; };
    }

    // Also runs at the end of each case of a table.
    void TearDown() override
    {
        if (!shown.window())
            return;
        grid->OnMouseWheelDown = nullptr;
        grid->OnMouseWheelUp = nullptr;
        grid->OnMouseWheel = nullptr;
        shown.close();
        grid = nullptr;
        QApplication::setWheelScrollLines(savedLines);
    }

    // Negative deltas turn the wheel toward the user (down the grid). The point is the
    // viewport's; over a child control it is where that control let the wheel through.
    void wheel(int delta, Qt::KeyboardModifiers mods = {}, QPoint at = {-1, -1})
    {
        QWidget *vp = grid->viewport();
        const QPoint p = at.x() >= 0 ? at : grid->CellRect(2, 2).toQRect().center();
        QWheelEvent e(p, vp->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(vp, &e);
    }

    QWidget *marker() const { return grid->findChild<QWidget *>(QStringLiteral("PanMarker")); }
    QTimer *panTimer() const { return grid->findChild<QTimer *>(QStringLiteral("PanTimer")); }
    bool panning() const { return panTimer() && panTimer()->isActive(); }
    void tick() { QMetaObject::invokeMethod(panTimer(), "timeout"); }
    void pointerTo(QPoint p)
    {
        QMouseEvent e(QEvent::MouseMove, p, grid->viewport()->mapToGlobal(p), Qt::NoButton,
                      Qt::NoButton, {});
        QApplication::sendEvent(grid->viewport(), &e);
    }
    QPoint panOrigin() const { return {150, 120}; }
    void startPan()
    {
        QTest::mousePress(grid->viewport(), Qt::MiddleButton, {}, panOrigin());
        QTest::mouseRelease(grid->viewport(), Qt::MiddleButton, {}, panOrigin());
    }
    Qt::CursorShape cursor() const { return grid->viewport()->cursor().shape(); }

    gridtest::GridWindow<TQrlStringGrid> shown;
    TQrlStringGrid *grid = nullptr;
    WheelAnswer parentAnswer;
    int savedLines = 3;
    int wheelDowns = 0;
    int wheelUps = 0;
};

TEST_F(Wheel, MovesBySystemLinesPerNotchAndStopsAtTheEnds)
{
    struct Case
    {
        const char *name;
        int lines;
        int footers;
        int startRow;
        std::vector<int> deltas;
        int row;
    };
    const Case cases[] = {
        {"one notch down", 3, 0, 5, {-120}, 8},
        {"one notch up", 3, 0, 5, {120}, 2},
        {"two notches in one event", 3, 0, 5, {-240}, 11},
        {"half notches add up", 3, 0, 5, {-60, -60}, 8},
        {"a half notch alone does nothing", 3, 0, 5, {-60}, 5},
        {"one line per notch", 1, 0, 5, {-120}, 6},
        {"stops on the last row", 3, 0, 28, {-120}, 29},
        {"stays on the last row", 3, 0, 29, {-120}, 29},
        {"stays on the first data row", 3, 0, 1, {120}, 1},
        {"stops above a fixed footer", 3, 1, 27, {-120}, 28},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        QApplication::setWheelScrollLines(k.lines);
        grid->SetFixedFooters(k.footers);
        grid->SetRow(k.startRow);
        for (int delta : k.deltas)
            wheel(delta);
        EXPECT_EQ(grid->Row(), k.row);
        EXPECT_EQ(grid->Col(), 1);
        TearDown();
    }
}

TEST_F(Wheel, ActionsAndOptions)
{
    struct Case
    {
        const char *name;
        TWheelAction action;
        bool enableWheel;
        int increment;
        int startTop; // -1: the last top row that shows the last row, minus one
        int delta;
        int row;
        int top; // -2: the last top row that shows the last row
        int downs, ups;
    };
    const Case cases[] = {
        {"move selection", TWheelAction::waMoveSelection, true, 0, 1, -120, 8, 1, 0, 0},
        {"scroll leaves the cell", TWheelAction::waScroll, true, 0, 1, -120, 5, 4, 0, 0},
        {"scroll up stops at the fixed rows", TWheelAction::waScroll, true, 0, 2, 120, 5, 1, 0, 0},
        {"scroll stops at the end", TWheelAction::waScroll, true, 0, -1, -120, 5, -2, 0, 0},
        {"wheel off", TWheelAction::waMoveSelection, false, 0, 1, -120, 5, 1, 0, 0},
        {"increment down", TWheelAction::waMoveSelection, true, 2, 1, -120, 7, 1, 1, 0},
        {"increment up", TWheelAction::waMoveSelection, true, 2, 1, 120, 3, 1, 0, 1},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        grid->MouseActions()->SetWheelAction(k.action);
        grid->MouseActions()->SetWheelIncrement(k.increment);
        grid->SetEnableWheel(k.enableWheel);
        grid->SetRow(5);
        const int maxTop = grid->MaxTopRow();
        grid->SetTopRow(k.startTop == -1 ? maxTop - 1 : k.startTop);
        if (k.startTop != -1) {
            ASSERT_EQ(grid->TopRow(), k.startTop);
        }
        wheel(k.delta);
        EXPECT_EQ(grid->Row(), k.row);
        EXPECT_EQ(grid->TopRow(), k.top == -2 ? maxTop : k.top);
        EXPECT_EQ(wheelDowns, k.downs);
        EXPECT_EQ(wheelUps, k.ups);
        TearDown();
    }
}

TEST_F(Wheel, CtrlWheelZoomsAndBack)
{
    // The refit after a zoom only grows rows, so heights are compared on the way up and back.
    struct Case
    {
        const char *name;
        bool intelliZoom;
        int delta;
        int zoom;
        bool heightsGrow;
        int row;
    };
    const Case cases[] = {
        {"toward the user zooms in", true, -120, 3, true, 5},
        {"away zooms out", true, 120, -3, false, 5},
        {"without zoom a plain notch", false, -120, 0, false, 8},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        grid->SetIntelliZoom(k.intelliZoom);
        grid->SetRow(5);
        const int h0 = grid->RowHeights(3);
        wheel(k.delta, Qt::ControlModifier);
        EXPECT_EQ(grid->ZoomFactor(), k.zoom);
        EXPECT_EQ(grid->Row(), k.row);
        if (k.heightsGrow) {
            EXPECT_EQ(grid->RowHeights(3), h0 + 3);
        } else if (!k.intelliZoom) {
            EXPECT_EQ(grid->RowHeights(3), h0);
        }
        wheel(-k.delta, Qt::ControlModifier);
        EXPECT_EQ(grid->ZoomFactor(), 0);
        EXPECT_EQ(grid->Row(), 5);
        if (k.heightsGrow) {
            EXPECT_EQ(grid->RowHeights(3), h0);
        }
        TearDown();
    }
}

TEST_F(Wheel, ZoomRefitsTheCellsToTheirText)
{
    const QString wide(40, QLatin1Char('W'));
    grid->SetCells(2, 3, wide);
    wheel(-120, Qt::ControlModifier);
    EXPECT_GT(grid->ColWidths(2), grid->Canvas()->TextWidth(wide));
    EXPECT_GT(grid->ColWidths(2), grid->ColWidths(3));
}

TEST_F(Wheel, AParentThatAnswersGetsTheWheelToTheFrameworkFirst)
{
    int wheels = 0;
    grid->OnMouseWheel = [&](QObject *, plat::TShiftState, int, TPoint, bool &) { ++wheels; };
    grid->SetRow(5);

    wheel(-120);
    EXPECT_EQ(parentAnswer.asked, 1);
    EXPECT_EQ(grid->Row(), 8);
    EXPECT_EQ(wheels, 0);

    parentAnswer.answer = 1;
    wheel(-120);
    EXPECT_EQ(parentAnswer.asked, 2);
    EXPECT_EQ(wheels, 1);
    EXPECT_EQ(grid->Row(), 9); // the framework's one row
    EXPECT_EQ(wheelDowns, 1);
}

TEST_F(Wheel, OverAnOpenEditorTakesTheFrameworkHooks)
{
    struct Case
    {
        const char *name;
        TWheelAction action;
        bool enableWheel;
        int delta;
        int row;
        bool gridFocused;
        int downs, ups;
    };
    const Case cases[] = {
        {"down one row", TWheelAction::waMoveSelection, true, -120, 6, true, 1, 0},
        {"up one row", TWheelAction::waMoveSelection, true, 120, 4, true, 0, 1},
        {"scroll action only reports", TWheelAction::waScroll, true, -120, 5, false, 1, 0},
        {"wheel off only reports", TWheelAction::waMoveSelection, false, 120, 5, false, 0, 1},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        grid->SetOptions(grid->Options() + TGridOption::goEditing);
        grid->MouseActions()->SetDirectEdit(true);
        grid->MouseActions()->SetWheelAction(k.action);
        grid->SetEnableWheel(k.enableWheel);
        grid->SetRow(5);
        grid->ShowInplaceEdit();
        ASSERT_TRUE(grid->CellEditor());
        QWidget *editor = grid->CellEditor()->Widget();
        ASSERT_TRUE(editor->isVisible());
        editor->setFocus();

        wheel(k.delta, {}, editor->geometry().center());

        EXPECT_EQ(grid->Row(), k.row);
        EXPECT_EQ(grid->hasFocus(), k.gridFocused);
        EXPECT_EQ(wheelDowns, k.downs);
        EXPECT_EQ(wheelUps, k.ups);
        EXPECT_TRUE(grid->MouseActions()->DirectEdit());
        TearDown();
    }
}

TEST_F(Wheel, MiddleClickStartsPanningWithTheMarkerAtTheOrigin)
{
    struct Case
    {
        const char *name;
        TIntelliPan mode;
        bool pans;
    };
    const Case cases[] = {
        {"vertical", TIntelliPan::ipVertical, true},
        {"both", TIntelliPan::ipBoth, true},
        {"off", TIntelliPan::ipNone, false},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        grid->SetIntelliPan(k.mode);
        startPan();
        EXPECT_EQ(panning(), k.pans);
        EXPECT_EQ(marker() && marker()->isVisible(), k.pans);
        if (k.pans) {
            EXPECT_EQ(marker()->pos(), panOrigin());
            EXPECT_EQ(cursor(), Qt::SizeAllCursor);
            EXPECT_EQ(QWidget::mouseGrabber(), grid->viewport());
        }
        TearDown();
    }
}

TEST_F(Wheel, TheMarkerShowsTheDirectionsThePanFollows)
{
    struct Case
    {
        const char *name;
        TIntelliPan mode;
        bool upDown, leftRight;
    };
    const Case cases[] = {
        {"vertical", TIntelliPan::ipVertical, true, false},
        {"horizontal", TIntelliPan::ipHorizontal, false, true},
        {"both", TIntelliPan::ipBoth, true, true},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        grid->SetIntelliPan(k.mode);
        startPan();
        ASSERT_TRUE(marker());
        const QImage img = marker()->grab().toImage();
        auto dark = [&](int x, int y) { return qGray(img.pixel(x, y)) < 128; };
        EXPECT_FALSE(dark(1, 1));
        EXPECT_EQ(dark(16, 7), k.upDown);
        EXPECT_EQ(dark(16, 25), k.upDown);
        EXPECT_EQ(dark(7, 16), k.leftRight);
        EXPECT_EQ(dark(25, 16), k.leftRight);
        TearDown();
    }
}

TEST_F(Wheel, PanTicksFollowThePointerOutsideTheDeadZone)
{
    struct Case
    {
        const char *name;
        TIntelliPan mode;
        TWheelAction action;
        QPoint offset;
        int rowStep, colStep, topStep;
        Qt::CursorShape shape;
    };
    const auto move = TWheelAction::waMoveSelection;
    const Case cases[] = {
        {"at the origin", TIntelliPan::ipVertical, move, {0, 0}, 0, 0, 0, Qt::SizeAllCursor},
        {"inside the dead zone", TIntelliPan::ipVertical, move, {0, 5}, 0, 0, 0, Qt::SizeAllCursor},
        {"vertical ignores sideways",
         TIntelliPan::ipVertical,
         move,
         {60, 0},
         0,
         0,
         0,
         Qt::SizeAllCursor},
        {"below the dead zone", TIntelliPan::ipVertical, move, {0, 6}, 1, 0, 0, Qt::SizeVerCursor},
        {"above the dead zone",
         TIntelliPan::ipVertical,
         move,
         {3, -6},
         -1,
         0,
         0,
         Qt::SizeVerCursor},
        {"horizontal ignores up and down",
         TIntelliPan::ipHorizontal,
         move,
         {-6, 40},
         0,
         -1,
         0,
         Qt::SizeHorCursor},
        {"both up and right", TIntelliPan::ipBoth, move, {6, -6}, -1, 1, 0, Qt::SizeBDiagCursor},
        {"both down and right", TIntelliPan::ipBoth, move, {9, 9}, 1, 1, 0, Qt::SizeFDiagCursor},
        {"scroll moves the view",
         TIntelliPan::ipVertical,
         TWheelAction::waScroll,
         {0, 30},
         0,
         0,
         1,
         Qt::SizeVerCursor},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        grid->SetColCount(12);
        grid->FocusCell(5, 6);
        grid->SetIntelliPan(k.mode);
        grid->MouseActions()->SetWheelAction(k.action);
        startPan();
        ASSERT_TRUE(panning());
        const int row0 = grid->Row(), col0 = grid->Col(), top0 = grid->TopRow();
        pointerTo(panOrigin() + k.offset);
        tick();
        tick();
        EXPECT_EQ(grid->Row(), row0 + 2 * k.rowStep);
        EXPECT_EQ(grid->Col(), col0 + 2 * k.colStep);
        EXPECT_EQ(grid->TopRow(), top0 + 2 * k.topStep);
        EXPECT_EQ(cursor(), k.shape);
        TearDown();
    }
}

TEST_F(Wheel, PanStopsAtTheLastDataRow)
{
    grid->SetRow(28);
    startPan();
    pointerTo(panOrigin() + QPoint(0, 20));
    for (int i = 0; i < 4; ++i)
        tick();
    EXPECT_EQ(grid->Row(), 29);
}

TEST_F(Wheel, AnyPressOrKeyEndsPanningAndIsThenHandled)
{
    struct Case
    {
        const char *name;
        Qt::MouseButton button; // NoButton: the Down key
        int row;                // where the current row is afterwards
    };
    const Case cases[] = {
        {"left press selects the cell", Qt::LeftButton, 3},
        {"right press", Qt::RightButton, 1},
        {"middle press does not start again", Qt::MiddleButton, 1},
        {"a key moves the cursor", Qt::NoButton, 2},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        grid->SetRow(1);
        grid->viewport()->setCursor(Qt::IBeamCursor);
        startPan();
        ASSERT_TRUE(panning());
        ASSERT_EQ(cursor(), Qt::SizeAllCursor);

        if (k.button == Qt::NoButton)
            QTest::keyClick(grid, Qt::Key_Down);
        else
            QTest::mouseClick(grid->viewport(), k.button, {},
                              grid->CellRect(2, 3).toQRect().center());

        EXPECT_FALSE(panning());
        EXPECT_FALSE(marker()->isVisible());
        EXPECT_EQ(cursor(), Qt::IBeamCursor);
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
        EXPECT_EQ(grid->Row(), k.row);
        TearDown();
    }
}

TEST_F(Wheel, WheelWhilePanningIsTheFrameworkStep)
{
    startPan();
    grid->SetRow(5);
    wheel(-120);
    EXPECT_EQ(grid->Row(), 6);
    EXPECT_TRUE(panning());
}

} // namespace
