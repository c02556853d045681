// A shown grid as the user sees it: pixels grabbed from its viewport and the places of its
// cells and editor. Columns and rows cover exactly their sizes (the lines lie inside the cells),
// selected cells without a selection colour take the system highlight, and a progress pie fills
// its swept sector on screen.
#include "grid/common/GridWindow.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/grid/GridEditor.h"
#include "platform/ui/Colors.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

using plat::TGridOption;

namespace {

class ShownGrid : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid->SetColCount(5);
        grid->SetRowCount(5);
        grid->SetWordWrap(false);
        const int widths[] = {30, 64, 64, 40, 90};
        for (int c = 0; c < 5; ++c)
            grid->SetColWidths(c, widths[c]);
        const int heights[] = {22, 30, 26, 30, 24};
        for (int r = 0; r < 5; ++r)
            grid->SetRowHeights(r, heights[r]);
        ASSERT_TRUE(shown.show({420, 220}));
    }

    void TearDown() override { shown.close(); }

    void focusGrid()
    {
        ASSERT_TRUE(shown.activate());
        QCoreApplication::processEvents();
    }

    // What the screen shows of the viewport: painted by a paint event into the window's
    // backing store (a grab would paint onto a pixmap instead).
    QImage shot() const
    {
        grid->viewport()->repaint();
        QCoreApplication::processEvents();
        const QPoint at = grid->viewport()->mapTo(shown.window(), QPoint(0, 0));
        const QImage whole =
            shown.window()->screen()->grabWindow(shown.window()->winId()).toImage();
        return whole.copy(QRect(at, grid->viewport()->size()))
            .convertToFormat(QImage::Format_RGB32);
    }

    // Where each line starts on screen, from the sizes alone.
    int colStart(int c) const
    {
        int x = 0;
        for (int i = 0; i < c; ++i)
            x += grid->ColWidths(i);
        return x;
    }
    int rowStart(int r) const
    {
        int y = 0;
        for (int i = 0; i < r; ++i)
            y += grid->RowHeights(i);
        return y;
    }

    gridtest::GridWindow<TQrlStringGrid> shown;
    TQrlStringGrid *grid = shown.open();
};

std::vector<int> columnsOf(const QImage &img, int y, int from, int to, QColor colour)
{
    std::vector<int> xs;
    for (int x = from; x < to; ++x)
        if (img.pixelColor(x, y) == colour)
            xs.push_back(x);
    return xs;
}

std::vector<int> rowsOf(const QImage &img, int x, int from, int to, QColor colour)
{
    std::vector<int> ys;
    for (int y = from; y < to; ++y)
        if (img.pixelColor(x, y) == colour)
            ys.push_back(y);
    return ys;
}

// ---- lines inside the cells ------------------------------------------------------------------

TEST_F(ShownGrid, EachColumnAndRowCoversExactlyItsSizeWithItsLineAsItsLastPixel)
{
    grid->SetGridLineColor(clRed);
    const QColor red(255, 0, 0);
    // A data row's middle: the vertical lines of the data cells, each the last pixel of its
    // column (a 64-pixel column ends at its 64th pixel).
    const QImage img = shot();
    const int y = rowStart(3) + 10;
    EXPECT_EQ(
        columnsOf(img, y, grid->ColWidths(0), colStart(5) + 10, red),
        (std::vector<int>{colStart(2) - 1, colStart(3) - 1, colStart(4) - 1, colStart(5) - 1}));
    // Down a data column: the horizontal lines of the data rows.
    const int x = colStart(2) + 20;
    EXPECT_EQ(
        rowsOf(img, x, grid->RowHeights(0), rowStart(5) + 10, red),
        (std::vector<int>{rowStart(2) - 1, rowStart(3) - 1, rowStart(4) - 1, rowStart(5) - 1}));
    // The geometry says the same: no gap between neighbours, nothing past the last line.
    for (int c = 0; c < 5; ++c) {
        SCOPED_TRACE(c);
        const TRect r = grid->CellRect(c, 2);
        EXPECT_EQ(r.Left, colStart(c));
        EXPECT_EQ(r.Width(), grid->ColWidths(c));
        EXPECT_EQ(grid->MouseCoord(r.Right - 1, r.Top).X, c);
    }
    EXPECT_EQ(grid->GridWidth(), colStart(5));
    EXPECT_EQ(grid->FixedWidth(), grid->ColWidths(0));
}

TEST_F(ShownGrid, MergedAreaAndAutoSizedColumnCoverTheirWidthsExactly)
{
    grid->SetGridLineColor(clRed);
    const QColor red(255, 0, 0);
    grid->MergeCells(1, 2, 2, 2);
    grid->SetCells(4, 3, QStringLiteral("a longer cell text"));
    grid->AutoSizeCol(4);
    const int autoWidth = grid->ColWidths(4);
    ASSERT_GT(autoWidth, 90);

    const TRect area = grid->CellRect(1, 2);
    EXPECT_EQ(area, (TRect{colStart(1), rowStart(2), colStart(3), rowStart(4)}));
    const QImage img = shot();
    // Inside the area no line between its columns, only the area's own at its right end; the
    // sized column ends exactly autoWidth pixels after it starts.
    const int y = rowStart(2) + 20;
    EXPECT_EQ(columnsOf(img, y, grid->ColWidths(0), colStart(3) + 2, red),
              std::vector<int>{colStart(3) - 1});
    const int y2 = rowStart(1) + 10;
    EXPECT_EQ(img.pixelColor(colStart(4) + autoWidth - 1, y2), red);
    EXPECT_NE(img.pixelColor(colStart(4) + autoWidth - 2, y2), red);
    // Down the area: its bottom line only, under its second row.
    const int x = colStart(1) + 30;
    EXPECT_EQ(rowsOf(img, x, rowStart(2), rowStart(4) + 2, red), std::vector<int>{rowStart(4) - 1});
}

TEST_F(ShownGrid, EditorCoversItsCellLeavingTheCellsLinesVisible)
{
    focusGrid();
    grid->SetOptions(grid->Options() + TGridOption::goEditing);
    grid->SetCells(3, 2, QStringLiteral("abc"));
    const TRect rc = grid->CellRect(3, 2);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      QPoint((rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2));
    ASSERT_EQ(grid->Col(), 3);
    ASSERT_EQ(grid->Row(), 2);
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_TRUE(grid->EditorMode());
    ASSERT_NE(grid->CellEditor(), nullptr);
    const QWidget *editor = grid->CellEditor()->Widget();
    ASSERT_TRUE(editor && editor->isVisible());
    EXPECT_EQ(editor->geometry(),
              QRect(colStart(3), rowStart(2), grid->ColWidths(3) - 1, grid->RowHeights(2) - 1));
}

// ---- selection without a selection colour ----------------------------------------------------

TEST_F(ShownGrid, WithoutSelectionColourSelectedCellsOutOfFocusShowTheHighlight)
{
    focusGrid();
    grid->SetOptions(grid->Options() + TGridOption::goRangeSelect);
    grid->SetSelectionColor(clNone);
    grid->SetSelection({1, 1, 2, 3}); // the current cell is (2, 3)
    ASSERT_EQ(grid->Col(), 2);
    ASSERT_EQ(grid->Row(), 3);
    const QImage img = shot();
    auto inside = [&](int c, int r) { return img.pixelColor(colStart(c) + 6, rowStart(r) + 6); };
    const QColor highlight = ToQColor(clHighlight);
    const QColor plain = ToQColor(grid->Color());
    EXPECT_EQ(inside(1, 1), highlight);
    EXPECT_EQ(inside(2, 2), highlight);
    EXPECT_EQ(inside(1, 3), highlight);
    EXPECT_EQ(inside(2, 3), plain) << "the focused cell";
    EXPECT_EQ(inside(3, 1), plain) << "outside the selection";

    // A set selection colour is used as it is.
    grid->SetSelectionColor(0x00FF00);
    EXPECT_EQ(shot().pixelColor(colStart(1) + 6, rowStart(1) + 6), QColor(0, 255, 0));
}

// ---- progress pie ----------------------------------------------------------------------------

TEST_F(ShownGrid, ProgressPieFillsItsSweptSectorOnScreen)
{
    grid->AddProgressPie(3, 2, clRed, 50);
    grid->AddProgressPie(1, 3, clRed, 0);
    const QImage img = shot();
    const QColor red(255, 0, 0);
    auto redIn = [&](int c, int r, int &minX, int &maxX) {
        int n = 0;
        minX = INT_MAX;
        maxX = INT_MIN;
        const TRect rc = grid->CellRect(c, r);
        for (int y = rc.Top; y < rc.Bottom; ++y)
            for (int x = rc.Left; x < rc.Right; ++x)
                if (img.pixelColor(x, y) == red) {
                    ++n;
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                }
        return n;
    };
    int minX = 0;
    int maxX = 0;
    // Half of a 20-pixel disc, on the right of its vertical radius.
    const int half = redIn(3, 2, minX, maxX);
    ASSERT_GT(half, 100);
    EXPECT_LE(maxX - minX, 11);
    EXPECT_EQ(redIn(1, 3, minX, maxX), 0) << "0 % sweeps nothing";
}

} // namespace
