// A top-level window holding one grid, shown and active, as the grid tests that drive keys,
// clicks, focus and editors need it: only an active window gets the keys and the focus.
#pragma once

#include <QSize>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace gridtest {

// Places `grid` at the window's top-left corner with the size given, sizes the window (a
// margin larger than the grid unless given) and shows it.
testing::AssertionResult
showWindow(QWidget *window, QWidget *grid, QSize gridSize, QSize windowSize = {});
// Makes the window active and gives the grid the focus.
testing::AssertionResult activateWindow(QWidget *window, QWidget *grid);

// The test adds other children to the window before showing it.
template <class Grid> class GridWindow
{
public:
    // A new window with a new grid in it, in place of the last one.
    Grid *open()
    {
        close();
        window_ = std::make_unique<QWidget>();
        grid_ = new Grid(window_.get());
        return grid_;
    }

    QWidget *window() const { return window_.get(); }
    Grid *grid() const { return grid_; }

    testing::AssertionResult show(QSize gridSize, QSize windowSize = {})
    {
        return showWindow(window_.get(), grid_, gridSize, windowSize);
    }
    testing::AssertionResult activate() { return activateWindow(window_.get(), grid_); }
    testing::AssertionResult showActive(QSize gridSize, QSize windowSize = {})
    {
        testing::AssertionResult shown = show(gridSize, windowSize);
        return shown ? activate() : shown;
    }

    // Closes the window with its grid now, before what the test restores after it.
    void close()
    {
        grid_ = nullptr;
        window_.reset();
    }

private:
    std::unique_ptr<QWidget> window_;
    Grid *grid_ = nullptr;
};

} // namespace gridtest
