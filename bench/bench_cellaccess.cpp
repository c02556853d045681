// The grid library's cell accessors (TBaseGrid::SetCellEx / GetCellEx) against the raw cell
// store (plat::TCellStore::SetText / Text) on 1,000,000 rows x 10 columns, in one run: a plain
// grid and a grid with 10,000 merged 2 x 3 areas spread evenly. The accessors add the merge
// lookup, the display-text hooks and the repaint check to the store access; the program prints
// what that costs as a factor of the raw pass.
#include "grid/model/QrlBaseGrid.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/grid/CellStore.h"

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

constexpr int RowCount = 1'000'000;
constexpr int ColCount = 10;
constexpr int MergedAreas = 10'000;
constexpr int AreaCols = 2;
constexpr int AreaRows = 3;
constexpr int ViewWidth = 800;
constexpr int ViewHeight = 600;

// A pool of texts of one length, shared by every pass: the passes measure cell access, not
// text making. Two pools, so that a write pass really changes every cell.
constexpr int PoolSize = 4096;

const std::vector<QString> &textPool(int which)
{
    static const std::vector<QString> pools[2] = {
        [] {
            std::vector<QString> v;
            for (int i = 0; i < PoolSize; ++i)
                v.push_back(QString::number(i).rightJustified(7, QLatin1Char('0')) +
                            QStringLiteral(".a"));
            return v;
        }(),
        [] {
            std::vector<QString> v;
            for (int i = 0; i < PoolSize; ++i)
                v.push_back(QString::number(i).rightJustified(7, QLatin1Char('0')) +
                            QStringLiteral(".b"));
            return v;
        }(),
    };
    return pools[which & 1];
}

inline const QString &poolText(const std::vector<QString> &pool, int col, int row)
{
    return pool[static_cast<size_t>(row * ColCount + col) & (PoolSize - 1)];
}

// The base grid leaves its display-text hook to rows below FNormalRowCount, which only the full
// grid sets; here every row is a normal row, as in the full grid, so the hook runs on reads.
class TAccessGrid : public TBaseGrid
{
public:
    void SetRowCount(int Value) override
    {
        TBaseGrid::SetRowCount(Value);
        FNormalRowCount = Value;
    }
};

// A shown grid at a fixed size, so that the repaint check of every write takes part.
std::unique_ptr<TAccessGrid> makeGrid(bool merged)
{
    auto grid = std::make_unique<TAccessGrid>();
    grid->resize(ViewWidth, ViewHeight);
    grid->SetColCount(ColCount);
    grid->SetRowCount(RowCount);
    grid->show();
    QCoreApplication::processEvents();
    const std::vector<QString> &pool = textPool(0);
    for (int r = 0; r < RowCount; ++r)
        for (int c = 0; c < ColCount; ++c)
            grid->SetGridCell(c, r, poolText(pool, c, r));
    if (merged) {
        // One area every 100 rows, its column stepping through 1, 3, 5, 7.
        constexpr int RowStep = RowCount / MergedAreas;
        for (int i = 0; i < MergedAreas; ++i)
            grid->MergeCells(1 + (i % 4) * AreaCols, i * RowStep + 1, AreaCols, AreaRows);
    }
    QCoreApplication::processEvents();
    return grid;
}

std::unique_ptr<TAccessGrid> &gridSlot(bool merged)
{
    static std::unique_ptr<TAccessGrid> grids[2];
    return grids[merged ? 1 : 0];
}

TAccessGrid &grid(bool merged)
{
    auto &slot = gridSlot(merged);
    if (!slot)
        slot = makeGrid(merged);
    return *slot;
}

std::unique_ptr<plat::TCellStore> &storeSlot()
{
    static std::unique_ptr<plat::TCellStore> store;
    return store;
}

plat::TCellStore &store()
{
    auto &slot = storeSlot();
    if (!slot) {
        slot = std::make_unique<plat::TCellStore>();
        const std::vector<QString> &pool = textPool(0);
        for (int r = 0; r < RowCount; ++r)
            for (int c = 0; c < ColCount; ++c)
                slot->SetText(c, r, poolText(pool, c, r));
    }
    return *slot;
}

// The full string grid with the same merged areas and 1,000 hidden rows (one every 1,000),
// so its accessors pay the display/real row mapping too.
constexpr int HiddenRows = 1000;

std::unique_ptr<TQrlStringGrid> &stringGridSlot()
{
    static std::unique_ptr<TQrlStringGrid> grid;
    return grid;
}

TQrlStringGrid &stringGrid()
{
    auto &slot = stringGridSlot();
    if (!slot) {
        slot = std::make_unique<TQrlStringGrid>();
        slot->resize(ViewWidth, ViewHeight);
        slot->SetColCount(ColCount);
        slot->SetRowCount(RowCount);
        slot->show();
        QCoreApplication::processEvents();
        const std::vector<QString> &pool = textPool(0);
        for (int r = 0; r < RowCount; ++r)
            for (int c = 0; c < ColCount; ++c)
                slot->SetGridCell(c, r, poolText(pool, c, r));
        constexpr int RowStep = RowCount / MergedAreas;
        for (int i = 0; i < MergedAreas; ++i)
            slot->MergeCells(1 + (i % 4) * AreaCols, i * RowStep + 1, AreaCols, AreaRows);
        TIntList hide;
        for (int i = 0; i < HiddenRows; ++i)
            hide.Add(i * (RowCount / HiddenRows) + 50);
        slot->HideRowList(hide);
        QCoreApplication::processEvents();
    }
    return *slot;
}

// The grids are widgets: they go before the application.
void releaseAll()
{
    stringGridSlot().reset();
    gridSlot(false).reset();
    gridSlot(true).reset();
    storeSlot().reset();
}

// Mean seconds per pass by benchmark name, for the ratio table printed at the end.
std::map<std::string, double> &passSeconds()
{
    static std::map<std::string, double> seconds;
    return seconds;
}

// Runs one pass per iteration, timed by hand so the mean can be kept for the table.
template <typename Pass>
void runPasses(benchmark::State &state, const char *name, const char *rawName, Pass pass)
{
    double total = 0;
    int passes = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pass(passes);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        total += took.count();
        ++passes;
    }
    const double mean = total / passes;
    passSeconds()[name] = mean;
    state.SetItemsProcessed(state.iterations() * int64_t(RowCount) * ColCount);
    if (rawName) {
        const auto raw = passSeconds().find(rawName);
        if (raw != passSeconds().end() && raw->second > 0)
            state.counters["x_raw"] = mean / raw->second;
    }
}

void BM_RawSet(benchmark::State &state)
{
    plat::TCellStore &s = store();
    runPasses(state, "RawSet", nullptr, [&](int pass) {
        const std::vector<QString> &pool = textPool(pass + 1);
        for (int r = 0; r < RowCount; ++r)
            for (int c = 0; c < ColCount; ++c)
                s.SetText(c, r, poolText(pool, c, r));
    });
}

void BM_RawGet(benchmark::State &state)
{
    const plat::TCellStore &s = store();
    runPasses(state, "RawGet", nullptr, [&](int) {
        qsizetype length = 0;
        for (int r = 0; r < RowCount; ++r)
            for (int c = 0; c < ColCount; ++c)
                length += s.Text(c, r).size();
        benchmark::DoNotOptimize(length);
    });
}

void BM_RawGetView(benchmark::State &state)
{
    const plat::TCellStore &s = store();
    runPasses(state, "RawGetView", nullptr, [&](int) {
        qsizetype length = 0;
        for (int r = 0; r < RowCount; ++r)
            for (int c = 0; c < ColCount; ++c)
                length += s.TextView(c, r).size();
        benchmark::DoNotOptimize(length);
    });
}

void setCellExPass(benchmark::State &state, bool merged)
{
    TAccessGrid &g = grid(merged);
    runPasses(state, merged ? "SetCellEx merged" : "SetCellEx plain", "RawSet", [&](int pass) {
        const std::vector<QString> &pool = textPool(pass + 1);
        for (int r = 0; r < RowCount; ++r)
            for (int c = 0; c < ColCount; ++c)
                g.SetCellEx(c, r, poolText(pool, c, r));
    });
}

// The same writes on the merged grid while it is hidden: the repaint check then stops at the
// visibility test, which shows what the check costs on a shown grid.
void BM_SetCellExMergedHidden(benchmark::State &state)
{
    TAccessGrid &g = grid(true);
    g.hide();
    runPasses(state, "SetCellEx merged hidden", "RawSet", [&](int pass) {
        const std::vector<QString> &pool = textPool(pass + 1);
        for (int r = 0; r < RowCount; ++r)
            for (int c = 0; c < ColCount; ++c)
                g.SetCellEx(c, r, poolText(pool, c, r));
    });
    g.show();
    QCoreApplication::processEvents();
}

void getCellExPass(benchmark::State &state, bool merged)
{
    const TAccessGrid &g = grid(merged);
    runPasses(state, merged ? "GetCellEx merged" : "GetCellEx plain", "RawGet", [&](int) {
        qsizetype length = 0;
        for (int r = 0; r < RowCount; ++r)
            for (int c = 0; c < ColCount; ++c)
                length += g.GetCellEx(c, r).size();
        benchmark::DoNotOptimize(length);
    });
}

// The grid's own raw accessors: the store behind the widget, without merges or hooks.
void gridRawPass(benchmark::State &state, bool write)
{
    TAccessGrid &g = grid(false);
    if (write) {
        runPasses(state, "SetGridCell", "RawSet", [&](int pass) {
            const std::vector<QString> &pool = textPool(pass + 1);
            for (int r = 0; r < RowCount; ++r)
                for (int c = 0; c < ColCount; ++c)
                    g.SetGridCell(c, r, poolText(pool, c, r));
        });
    } else {
        runPasses(state, "GetGridCell", "RawGet", [&](int) {
            qsizetype length = 0;
            for (int r = 0; r < RowCount; ++r)
                for (int c = 0; c < ColCount; ++c)
                    length += g.GetGridCell(c, r).size();
            benchmark::DoNotOptimize(length);
        });
    }
}

void stringGridPass(benchmark::State &state, bool write)
{
    TQrlStringGrid &g = stringGrid();
    const int rows = g.RowCount();
    if (write) {
        runPasses(state, "SetCellEx string grid", "RawSet", [&](int pass) {
            const std::vector<QString> &pool = textPool(pass + 1);
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < ColCount; ++c)
                    g.SetCellEx(c, r, poolText(pool, c, r));
        });
    } else {
        runPasses(state, "GetCellEx string grid", "RawGet", [&](int) {
            qsizetype length = 0;
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < ColCount; ++c)
                    length += g.GetCellEx(c, r).size();
            benchmark::DoNotOptimize(length);
        });
    }
}

constexpr int Passes = 3;

// The raw passes first: the library passes read their figures for the x_raw counter.
BENCHMARK(BM_RawSet)->Iterations(Passes)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawGet)->Iterations(Passes)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawGetView)->Iterations(Passes)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(gridRawPass, SetGridCell, true)
    ->Iterations(Passes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(gridRawPass, GetGridCell, false)
    ->Iterations(Passes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(setCellExPass, plain, false)
    ->Iterations(Passes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(getCellExPass, plain, false)
    ->Iterations(Passes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(setCellExPass, merged, true)
    ->Iterations(Passes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetCellExMergedHidden)
    ->Iterations(Passes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(getCellExPass, merged, true)
    ->Iterations(Passes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(stringGridPass, SetCellEx, true)
    ->Iterations(Passes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(stringGridPass, GetCellEx, false)
    ->Iterations(Passes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void printRatios()
{
    const auto &s = passSeconds();
    const struct
    {
        const char *pass;
        const char *raw;
    } rows[] = {
        {"SetGridCell", "RawSet"},
        {"GetGridCell", "RawGet"},
        {"SetCellEx plain", "RawSet"},
        {"GetCellEx plain", "RawGet"},
        {"SetCellEx merged", "RawSet"},
        {"GetCellEx merged", "RawGet"},
        {"SetCellEx merged hidden", "RawSet"},
        {"SetCellEx string grid", "RawSet"},
        {"GetCellEx string grid", "RawGet"},
    };
    std::printf("\n%-24s %12s %12s %8s  %s\n", "pass", "library ms", "raw ms", "ratio",
                "within 2x");
    for (const auto &row : rows) {
        const auto lib = s.find(row.pass);
        const auto raw = s.find(row.raw);
        if (lib == s.end() || raw == s.end() || raw->second <= 0)
            continue;
        const double ratio = lib->second / raw->second;
        std::printf("%-24s %12.1f %12.1f %8.2f  %s\n", row.pass, lib->second * 1e3,
                    raw->second * 1e3, ratio, ratio <= 2.0 ? "yes" : "NO");
    }
}

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv, [] {
        printRatios();
        releaseAll();
    });
}
