#include "grid/common/GridWindow.h"

#include <QTest>

namespace gridtest {

namespace {
// Room around the grid, so its edges and scroll bars lie inside the window.
constexpr int Margin = 20;
} // namespace

testing::AssertionResult
showWindow(QWidget *window, QWidget *grid, QSize gridSize, QSize windowSize)
{
    grid->setGeometry(QRect(QPoint(0, 0), gridSize));
    window->resize(windowSize.isValid() ? windowSize : gridSize + QSize(Margin, Margin));
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return testing::AssertionFailure() << "the grid's window was never shown";
    return testing::AssertionSuccess();
}

testing::AssertionResult activateWindow(QWidget *window, QWidget *grid)
{
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return testing::AssertionFailure() << "the grid's window never became active";
    grid->setFocus();
    return testing::AssertionSuccess();
}

} // namespace gridtest
