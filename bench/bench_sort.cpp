// Sorting one column of a 1,000,000 x 10 table: our grid against QSortFilterProxyModel over
// QStandardItemModel and against QTableWidget::sortItems, in one run, with the ratios printed.
// Two tables: numeric texts, and mixed-case alphabetic texts. Then the unsort of our grid at
// a tenth of the rows and at all of them, which must grow linearly.
//
//   bench_bench_sort [--rows=N] [--ours]     (--ours: our grid only, for profiling)
//
// Each table is built, sorted once and freed before the next, so the peak memory is one table.
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlStringGrid.h"

#include <QApplication>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableWidget>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

constexpr int kCols = 10;
constexpr int kSortCol = 3;

// The texts of one table, row by row: the same for all three.
std::vector<QString> makeTexts(int rows, bool numeric)
{
    std::mt19937 rng(2026);
    std::vector<QString> t;
    t.reserve(size_t(rows) * kCols);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            if (numeric) {
                t.push_back(QString::number(double(rng() % 100000000) / 100.0, 'f', 2));
            } else {
                QString w;
                const int len = 4 + int(rng() % 8);
                for (int i = 0; i < len; ++i) {
                    const int k = int(rng() % 52);
                    w += QChar(k < 26 ? u'a' + k : u'A' + (k - 26));
                }
                t.push_back(w);
            }
        }
    }
    return t;
}

double timeOurs(const std::vector<QString> &texts, int rows, double *unsortSeconds)
{
    TQrlStringGrid g;
    g.SetColCount(kCols);
    g.SetRowCount(rows + 1);
    g.SetFixedCols(0);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kCols; ++c)
            g.SetGridCell(c, r + 1, texts[size_t(r) * kCols + size_t(c)]);
    const auto t0 = Clock::now();
    g.Sort(kSortCol, TSortDirection::sdAscending);
    const double s = secondsSince(t0);
    if (unsortSeconds) {
        const auto t1 = Clock::now();
        g.QUnSort();
        *unsortSeconds = secondsSince(t1);
        if (g.GetGridCell(0, 1) != texts[0])
            std::fprintf(stderr, "unsort did not restore the first row\n");
    }
    return s;
}

double timeProxy(const std::vector<QString> &texts, int rows)
{
    QStandardItemModel model(0, kCols);
    for (int r = 0; r < rows; ++r) {
        QList<QStandardItem *> row;
        row.reserve(kCols);
        for (int c = 0; c < kCols; ++c)
            row << new QStandardItem(texts[size_t(r) * kCols + size_t(c)]);
        model.appendRow(row);
    }
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    const auto t0 = Clock::now();
    proxy.sort(kSortCol, Qt::AscendingOrder);
    const double s = secondsSince(t0);
    if (proxy.rowCount() != rows)
        std::fprintf(stderr, "proxy lost rows\n");
    return s;
}

double timeTableWidget(const std::vector<QString> &texts, int rows)
{
    QTableWidget w(rows, kCols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kCols; ++c)
            w.setItem(r, c, new QTableWidgetItem(texts[size_t(r) * kCols + size_t(c)]));
    const auto t0 = Clock::now();
    w.sortItems(kSortCol, Qt::AscendingOrder);
    return secondsSince(t0);
}

} // namespace

int main(int argc, char **argv)
{
    int rows = 1000000;
    bool oursOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--rows=", 7) == 0)
            rows = std::max(10, std::atoi(argv[i] + 7));
        oursOnly = oursOnly || std::strcmp(argv[i], "--ours") == 0;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::printf("Sorting column %d of %d x %d texts (seconds)\n\n", kSortCol, rows, kCols);
    std::printf("%-12s %10s %12s %12s %14s %14s\n", "texts", "ours", "proxy model", "table widget",
                "proxy / ours", "widget / ours");
    for (const bool numeric : {true, false}) {
        const std::vector<QString> texts = makeTexts(rows, numeric);
        const double ours = timeOurs(texts, rows, nullptr);
        const double proxy = oursOnly ? 0 : timeProxy(texts, rows);
        const double widget = oursOnly ? 0 : timeTableWidget(texts, rows);
        std::printf("%-12s %10.3f %12.3f %12.3f %13.1fx %13.1fx\n",
                    numeric ? "numeric" : "alphabetic", ours, proxy, widget, proxy / ours,
                    widget / ours);
        std::fflush(stdout);
    }

    std::printf("\nUnsort after a sort of the numeric table (seconds)\n");
    for (const int n : {rows / 10, rows}) {
        const std::vector<QString> texts = makeTexts(n, true);
        double unsort = 0;
        timeOurs(texts, n, &unsort);
        std::printf("%10d rows: %.4f (%.1f ns per row)\n", n, unsort, unsort * 1e9 / n);
    }
    return 0;
}
