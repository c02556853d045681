// The platform grid on large tables: filling a million rows by ten columns cell by cell, and
// painting, scrolling and moving the cursor on grids of 1k, 100k and 1M rows. Painting and
// scrolling only touch the lines in view, so their cost must not grow with the row count.
#include "platform/grid/PlatformStringGrid.h"
#include "platform/ui/Canvas.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {

using plat::TPlatformStringGrid;

constexpr int ColCount = 10;
constexpr int ViewWidth = 800;
constexpr int ViewHeight = 600;

// Texts of one length whatever the row number, so that grids of different sizes draw the same
// amount of text.
QString cellText(int col, int row)
{
    if (row == 0)
        return QStringLiteral("Column ") + QString::number(col);
    const QString number = QString::number(row).rightJustified(7, QLatin1Char('0'));
    if (col == 0)
        return number;
    return number + QLatin1Char('.') + QString::number(col);
}

// A shown grid at a fixed size, so that the view, the scroll bars and the invalidation of
// visible cells all take part.
std::unique_ptr<TPlatformStringGrid> makeGrid(int rows)
{
    auto grid = std::make_unique<TPlatformStringGrid>();
    grid->resize(ViewWidth, ViewHeight);
    grid->SetColCount(ColCount);
    grid->SetRowCount(rows);
    grid->show();
    QCoreApplication::processEvents();
    return grid;
}

void fill(TPlatformStringGrid &grid)
{
    const int rows = grid.RowCount();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < ColCount; ++c)
            grid.SetCells(c, r, cellText(c, r));
}

// Filled grids by row count, built once and shared by the benchmarks.
std::map<int, std::unique_ptr<TPlatformStringGrid>> &gridCache()
{
    static std::map<int, std::unique_ptr<TPlatformStringGrid>> cache;
    return cache;
}

// Every tenth row taller than the rest: offsets then come from the size tree instead of a
// multiplication.
constexpr int RowHeight = 24;
constexpr int TallRowHeight = 40;

TPlatformStringGrid &filledGrid(int rows, bool variedHeights = false)
{
    auto &slot = gridCache()[rows];
    if (!slot) {
        slot = makeGrid(rows);
        fill(*slot);
    }
    const bool varied = slot->RowHeights(slot->FixedRows()) == TallRowHeight;
    if (varied != variedHeights) {
        slot->SetDefaultRowHeight(RowHeight);
        if (variedHeights)
            for (int r = slot->FixedRows(); r < rows; r += 10)
                slot->SetRowHeights(r, TallRowHeight);
    }
    // Start every benchmark from the top-left cell with no repaint pending.
    slot->SetTopRow(slot->FixedRows());
    slot->SetRow(slot->FixedRows());
    slot->SetCol(slot->FixedCols());
    QCoreApplication::processEvents();
    return *slot;
}

void paintTo(TPlatformStringGrid &grid, QImage &image)
{
    QPainter painter(&image);
    TCanvas canvas(&painter);
    grid.PaintTo(canvas);
}

void sendKey(TPlatformStringGrid &grid, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(&grid, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods);
    QApplication::sendEvent(&grid, &release);
}

// Positions spread over the whole scrollable range in a scattered order, so that scrolling
// visits the far end as often as the start.
class Stride
{
public:
    Stride(int first, int last)
        : m_first(first), m_span(std::max(1, last - first + 1)),
          m_step(std::max(1, static_cast<int>(m_span * 0.6180339887)))
    {}
    int next()
    {
        m_pos = static_cast<int>((static_cast<qint64>(m_pos) + m_step) % m_span);
        return m_first + m_pos;
    }

private:
    int m_first;
    int m_span;
    int m_step;
    int m_pos = 0;
};

void rowArgs(benchmark::internal::Benchmark *b)
{
    b->ArgName("rows")->Arg(1'000)->Arg(100'000)->Arg(1'000'000);
}

// ---- filling ----------------------------------------------------------------------------------

void BM_FillCells(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    std::unique_ptr<TPlatformStringGrid> grid;
    for (auto _ : state) {
        state.PauseTiming();
        grid.reset();
        grid = makeGrid(rows);
        state.ResumeTiming();
        fill(*grid);
    }
    state.SetItemsProcessed(state.iterations() * rows * ColCount);
    // The paint and scroll benchmarks reuse the filled grid.
    grid->SetTopRow(grid->FixedRows());
    gridCache()[rows] = std::move(grid);
}
BENCHMARK(BM_FillCells)
    ->ArgName("rows")
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// ---- painting -----------------------------------------------------------------------------

// One full repaint of the view scrolled to the middle, onto a canvas over a fixed image.
void BM_PaintTo(benchmark::State &state)
{
    TPlatformStringGrid &grid = filledGrid(static_cast<int>(state.range(0)));
    grid.SetTopRow(grid.MaxTopRow() / 2);
    QImage image(ViewWidth, ViewHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        paintTo(grid, image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["visibleRows"] = grid.VisibleRowCount();
}
BENCHMARK(BM_PaintTo)->Apply(rowArgs)->Unit(benchmark::kMicrosecond)->MinTime(0.2);

// ---- scrolling ----------------------------------------------------------------------------

// Jumps of TopRow across the whole range (scroll bars follow), then a repaint.
void scrollTopRowAndPaint(benchmark::State &state, bool variedHeights)
{
    TPlatformStringGrid &grid = filledGrid(static_cast<int>(state.range(0)), variedHeights);
    Stride stride(grid.FixedRows(), grid.MaxTopRow());
    QImage image(ViewWidth, ViewHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        grid.SetTopRow(stride.next());
        paintTo(grid, image);
        benchmark::DoNotOptimize(image.constBits());
    }
    QCoreApplication::processEvents();
}

void BM_ScrollTopRowAndPaint(benchmark::State &state)
{
    scrollTopRowAndPaint(state, false);
}
BENCHMARK(BM_ScrollTopRowAndPaint)->Apply(rowArgs)->Unit(benchmark::kMicrosecond)->MinTime(0.2);

// The same with rows of differing heights.
void BM_ScrollTopRowAndPaintVariedHeights(benchmark::State &state)
{
    scrollTopRowAndPaint(state, true);
}
BENCHMARK(BM_ScrollTopRowAndPaintVariedHeights)
    ->Apply(rowArgs)
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(0.2);

// Page Down key presses (Ctrl+Home back to the top at the end), each followed by a grab of the
// viewport through its own paint event.
void BM_PageDownAndGrab(benchmark::State &state)
{
    TPlatformStringGrid &grid = filledGrid(static_cast<int>(state.range(0)));
    QImage image(grid.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        if (grid.TopRow() >= grid.MaxTopRow())
            sendKey(grid, Qt::Key_Home, Qt::ControlModifier);
        else
            sendKey(grid, Qt::Key_PageDown);
        grid.viewport()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    QCoreApplication::processEvents();
}
BENCHMARK(BM_PageDownAndGrab)->Apply(rowArgs)->Unit(benchmark::kMicrosecond)->MinTime(0.2);

// ---- cell cursor --------------------------------------------------------------------------

// Down and Right arrow keys walking the cursor diagonally (the view follows it).
void BM_CursorArrowKeys(benchmark::State &state)
{
    TPlatformStringGrid &grid = filledGrid(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (grid.Row() >= grid.RowCount() - 1)
            sendKey(grid, Qt::Key_Home, Qt::ControlModifier);
        else
            sendKey(grid, Qt::Key_Down);
        if (grid.Col() >= grid.ColCount() - 1)
            sendKey(grid, Qt::Key_Home);
        else
            sendKey(grid, Qt::Key_Right);
    }
    state.SetItemsProcessed(state.iterations() * 2);
    QCoreApplication::processEvents();
}
BENCHMARK(BM_CursorArrowKeys)->Apply(rowArgs)->Unit(benchmark::kMicrosecond)->MinTime(0.2);

// SetRow jumps across the whole grid; every jump scrolls the new row into view.
void BM_CursorSetRow(benchmark::State &state)
{
    TPlatformStringGrid &grid = filledGrid(static_cast<int>(state.range(0)));
    Stride stride(grid.FixedRows(), grid.RowCount() - 1);
    for (auto _ : state)
        grid.SetRow(stride.next());
    QCoreApplication::processEvents();
}
BENCHMARK(BM_CursorSetRow)->Apply(rowArgs)->Unit(benchmark::kMicrosecond)->MinTime(0.2);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv, [] {
        // The grids are widgets: they go before the application.
        gridCache().clear();
    });
}
