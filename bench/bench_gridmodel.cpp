// The string grid's column calculations and column fitting on 100,000 and 1,000,000 rows x 10
// columns: AutoSizeCol on one column and ColumnSum over all rows, each at both sizes, with a
// table at the end that puts the two sizes side by side. Both operations read every row once,
// so ten times the rows should take ten times as long.
#include "grid/model/QrlStringGrid.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int ColCount = 10;
constexpr int SmallRows = 100'000;
constexpr int LargeRows = 1'000'000;
constexpr int MeasuredCol = 3;
constexpr int Passes = 3;

// Number texts of differing lengths from a pool made once, so the fill costs no text making.
constexpr int PoolSize = 4096;

const std::vector<QString> &textPool()
{
    static const std::vector<QString> pool = [] {
        std::vector<QString> v;
        for (int i = 0; i < PoolSize; ++i)
            v.push_back(QString::number(i * 37.25 + (i % 7) * 1000.5, 'f', i % 4));
        return v;
    }();
    return pool;
}

// One grid per size, filled through the raw cell setter (no hooks, no repaint checks).
std::unique_ptr<TQrlStringGrid> &gridSlot(int rows)
{
    static std::map<int, std::unique_ptr<TQrlStringGrid>> grids;
    return grids[rows];
}

TQrlStringGrid &grid(int rows)
{
    auto &slot = gridSlot(rows);
    if (!slot) {
        slot = std::make_unique<TQrlStringGrid>();
        slot->SetColCount(ColCount);
        slot->SetRowCount(rows);
        const std::vector<QString> &pool = textPool();
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < ColCount; ++c)
                slot->SetGridCell(c, r, pool[static_cast<size_t>(r * ColCount + c) % PoolSize]);
    }
    return *slot;
}

// Mean seconds per pass by operation and size, for the table at the end.
std::map<std::string, std::map<int, double>> &passSeconds()
{
    static std::map<std::string, std::map<int, double>> seconds;
    return seconds;
}

template <typename Pass>
void runPasses(benchmark::State &state, const char *name, int rows, Pass pass)
{
    double total = 0;
    int passes = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pass();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        total += took.count();
        ++passes;
    }
    passSeconds()[name][rows] = total / passes;
    state.SetItemsProcessed(state.iterations() * int64_t(rows));
}

void BM_AutoSizeCol(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    TQrlStringGrid &g = grid(rows);
    runPasses(state, "AutoSizeCol", rows, [&] {
        // From a narrow start, so every pass sets the width.
        g.SetColWidths(MeasuredCol, 10);
        g.AutoSizeCol(MeasuredCol, 0);
        benchmark::DoNotOptimize(g.ColWidths(MeasuredCol));
    });
}

void BM_ColumnSum(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    TQrlStringGrid &g = grid(rows);
    runPasses(state, "ColumnSum", rows,
              [&] { benchmark::DoNotOptimize(g.ColumnSum(MeasuredCol, 0, rows - 1)); });
}

// The same sum with a display-text hook set: every cell then goes through GetCellEx and the
// text parser, as the calculations must while a hook may change texts.
void BM_ColumnSumThroughHook(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    TQrlStringGrid &g = grid(rows);
    g.OnGetDisplText = [](QObject *, int, int, QString &) {};
    runPasses(state, "ColumnSum, display hook set", rows,
              [&] { benchmark::DoNotOptimize(g.ColumnSum(MeasuredCol, 0, rows - 1)); });
    g.OnGetDisplText = nullptr;
}

BENCHMARK(BM_AutoSizeCol)
    ->Arg(SmallRows)
    ->Arg(LargeRows)
    ->Iterations(Passes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColumnSum)
    ->Arg(SmallRows)
    ->Arg(LargeRows)
    ->Iterations(Passes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColumnSumThroughHook)
    ->Arg(SmallRows)
    ->Arg(LargeRows)
    ->Iterations(Passes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void printScaling()
{
    std::printf("\n%-30s %12s %12s %10s %12s\n", "operation", "100k ms", "1M ms", "1M / 100k",
                "ns per row");
    for (const auto &[name, bySize] : passSeconds()) {
        const auto small = bySize.find(SmallRows);
        const auto large = bySize.find(LargeRows);
        if (small == bySize.end() || large == bySize.end() || small->second <= 0)
            continue;
        std::printf("%-30s %12.1f %12.1f %10.2f %12.1f\n", name.c_str(), small->second * 1e3,
                    large->second * 1e3, large->second / small->second,
                    large->second * 1e9 / LargeRows);
    }
}

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv, [] {
        printScaling();
        // The grids are widgets: they go before the application.
        gridSlot(SmallRows).reset();
        gridSlot(LargeRows).reset();
    });
}
