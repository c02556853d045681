// Dragging the vertical thumb: one step moves the thumb to a new position (the grid follows it
// with ScrollSynch, the proportional thumb is on) and the viewport is repainted, at 1k and 1M
// rows. A step must not cost more with more rows: 60 steps a second while the thumb crosses a
// million rows is the target. The table at the end prints both sizes side by side.
#include "grid/model/QrlStringGrid.h"

#include <QApplication>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr int ColCount = 10;
constexpr int ViewWidth = 800;
constexpr int ViewHeight = 600;

std::unique_ptr<TQrlStringGrid> makeGrid(int rows)
{
    auto g = std::make_unique<TQrlStringGrid>();
    g->resize(ViewWidth, ViewHeight);
    g->SetColCount(ColCount);
    g->SetRowCount(rows);
    g->SetDefaultRowHeight(24);
    g->BeginUpdate();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 2; ++c)
            g->SetCells(c, r, QString::number(r * 10 + c));
    g->EndUpdate();
    g->SetScrollSynch(true);
    g->SetScrollProportional(true);
    g->show();
    QCoreApplication::processEvents();
    return g;
}

std::map<int, std::unique_ptr<TQrlStringGrid>> &grids()
{
    static std::map<int, std::unique_ptr<TQrlStringGrid>> m;
    return m;
}

// Microseconds per step, by rows.
std::map<int, double> &results()
{
    static std::map<int, double> m;
    return m;
}

void BM_ThumbDragStep(benchmark::State &state)
{
    const int rows = int(state.range(0));
    auto &g = grids()[rows];
    if (!g)
        g = makeGrid(rows);
    QScrollBar *bar = g->verticalScrollBar();
    bar->setSliderDown(true);
    const long long span = static_cast<long long>(bar->maximum()) + 1;
    long long i = 0;
    using Clock = std::chrono::steady_clock;
    const auto t0 = Clock::now();
    for (auto _ : state) {
        // Jumps across the whole range, as a fast drag does.
        bar->setSliderPosition(static_cast<int>((++i * 7919) % span));
        g->viewport()->repaint();
        benchmark::DoNotOptimize(g->TopRow());
    }
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    results()[rows] = us / double(state.iterations());
    bar->setSliderDown(false);
    state.counters["topRow"] = g->TopRow();
}
BENCHMARK(BM_ThumbDragStep)
    ->ArgName("rows")
    ->Arg(1'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(0.3);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv, [] {
        std::printf("\n%-12s %16s %16s %10s\n", "step", "1k rows (us)", "1M rows (us)", "1M / 1k");
        const auto a = results().find(1'000);
        const auto b = results().find(1'000'000);
        if (a != results().end() && b != results().end())
            std::printf("%-12s %16.1f %16.1f %10.2f\n", "thumb drag", a->second, b->second,
                        b->second / a->second);
        grids().clear();
    });
}
