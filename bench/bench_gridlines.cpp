// Line operations of the string grid on 100,000 and 1,000,000 rows x 10 columns: inserting and
// removing 1,000 rows in the middle one at a time, and hiding every second row (one filter
// level) and showing them all again. Printed side by side, the two sizes show whether the cost
// grows with the rows (10x the rows should cost at most about 10x).
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlStringGrid.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <chrono>
#include <memory>

namespace {

constexpr int ColCount = 10;
constexpr int Ops = 1000;

std::unique_ptr<TQrlStringGrid> makeGrid(int rows)
{
    auto grid = std::make_unique<TQrlStringGrid>();
    grid->SetColCount(ColCount);
    grid->SetRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < ColCount; ++c)
            grid->SetGridCell(c, r, QString::number(r * ColCount + c));
    return grid;
}

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_InsertRemoveMiddle(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    auto grid = makeGrid(rows);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < Ops; ++i)
            grid->InsertRows(rows / 2, 1);
        for (int i = 0; i < Ops; ++i)
            grid->RemoveRows(rows / 2, 1);
        state.SetIterationTime(seconds(start));
    }
    state.counters["us_per_row_op"] = benchmark::Counter(
        2.0 * Ops * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

void BM_HideEverySecondShowAll(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    auto grid = makeGrid(rows);
    TIntList everySecond;
    for (int r = 1; r < rows; r += 2)
        everySecond.Add(r);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        grid->HideRowList(everySecond);
        grid->UnHideRowsAll();
        grid->SetFilterLevel(0);
        state.SetIterationTime(seconds(start));
    }
}

BENCHMARK(BM_InsertRemoveMiddle)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_HideEverySecondShowAll)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv, [] {});
}
