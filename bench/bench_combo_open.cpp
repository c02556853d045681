// Opening and closing a drop-down list cell editor over a long item list (1438 items, as the
// longest combo column of the table dialogs): the grid's own road to the editor (ShowCellEditor)
// and back (ApplyEditorValue), offscreen. "same" reopens one column; "alternating" switches
// between two columns with different lists, so every open loads its column's items.
#include "grid/editing/QrlGridCombo.h"
#include "grid/model/QrlColumnGrid.h"
#include "grid/model/QrlGridColumn.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int ItemCount = 1438;

std::map<std::string, double> &results()
{
    static std::map<std::string, double> r;
    return r;
}

std::unique_ptr<TQrlColumnGrid> &theGrid()
{
    static std::unique_ptr<TQrlColumnGrid> g;
    return g;
}

TQrlColumnGrid &grid()
{
    auto &g = theGrid();
    if (!g) {
        g = std::make_unique<TQrlColumnGrid>();
        g->resize(600, 300);
        g->SetColCount(4);
        g->SetRowCount(5);
        g->SetOptions(g->Options() + plat::TGridOption::goEditing);
        for (int c : {1, 2}) {
            QStringList items;
            for (int i = 0; i < ItemCount; ++i)
                items << QStringLiteral("Item %1 of column %2").arg(i).arg(c);
            g->Columns()->Items(c)->SetComboItems(items);
            g->Columns()->Items(c)->SetEditor(TEditorType::edComboList);
            g->SetCellEx(c, 1, items[ItemCount / 2]);
        }
        g->show();
        QCoreApplication::processEvents();
    }
    return *g;
}

void openAndClose(TQrlColumnGrid &g, int col)
{
    g.FocusCell(col, 1);
    g.ShowInplaceEdit();
    benchmark::DoNotOptimize(g.EditCombo()->currentIndex());
    g.HideInplaceEdit();
}

void run(benchmark::State &state, const char *name, bool alternate)
{
    TQrlColumnGrid &g = grid();
    int col = 1;
    openAndClose(g, col); // the first open loads the items and creates the combo
    double total = 0;
    long n = 0;
    for (auto _ : state) {
        if (alternate)
            col = col == 1 ? 2 : 1;
        const auto t0 = std::chrono::steady_clock::now();
        openAndClose(g, col);
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                     .count();
        ++n;
    }
    results()[name] = n ? total / n : 0;
}

void BM_ComboOpenSameColumn(benchmark::State &state)
{
    run(state, "same", false);
}
BENCHMARK(BM_ComboOpenSameColumn)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

void BM_ComboOpenAlternatingColumns(benchmark::State &state)
{
    run(state, "alternating", true);
}
BENCHMARK(BM_ComboOpenAlternatingColumns)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

// Loading the items alone: one insertion per item, as opening used to do, against one bulk
// insertion.
void load(benchmark::State &state, const char *name, bool bulk)
{
    TGridCombo *combo = grid().EditCombo();
    const QStringList &items = grid().Columns()->Items(1)->ComboItems();
    double total = 0;
    long n = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        combo->clear();
        if (bulk)
            combo->addItems(items);
        else
            for (const QString &s : items)
                combo->AddItem(s, nullptr);
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                     .count();
        ++n;
    }
    results()[name] = n ? total / n : 0;
}

void BM_ComboLoadPerItem(benchmark::State &state)
{
    load(state, "load/item", false);
}
BENCHMARK(BM_ComboLoadPerItem)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

void BM_ComboLoadBulk(benchmark::State &state)
{
    load(state, "load/bulk", true);
}
BENCHMARK(BM_ComboLoadBulk)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv, [] {
        std::printf("\n%-12s %16s\n", "variant", "ms per call");
        for (const auto &[name, ms] : results())
            std::printf("%-12s %16.3f\n", name.c_str(), ms);
        theGrid().reset();
    });
}
