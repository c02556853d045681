// The grid at scale, 1,000,000 x 10 by default, beside QTableWidget and QStandardItemModel +
// QSortFilterProxyModel in one run, each figure with its ratio:
//   fill (texts prepared before the timing), clear every cell, sort by a number, a date and a
//   word column (median of three) and unsort, one row inserted and removed in the middle on a grid
//   with 10,000 merged areas after a sort and an unsort, a 1000-row block inserted and removed,
//   and hiding every second row and showing them again at a tenth of the rows and at all of them
//   (with the merged areas and marked rows), with the peak memory each phase adds.
//
//   bench_bench_gridscale [--rows=N] [--ours] [--phase=fill|sort|lines|hide]
//   (--ours: our grid only; --phase: that phase only; both for profiling)
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlStringGrid.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableWidget>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <malloc.h>
#include <memory>
#include <random>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCols = 10;
constexpr int kNumberCol = 1;
constexpr int kDateCol = 2;
constexpr int kWordCol = 3;
constexpr int kMergedAreas = 10'000;
constexpr int kOps = 1000;
constexpr int kBlock = 1000;

double secondsSince(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

double timed(const std::function<void()> &f)
{
    const auto t0 = Clock::now();
    f();
    return secondsSince(t0);
}

double median3(double a, double b, double c)
{
    return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

// Resident set size in bytes, read from the kernel's page counts.
long long residentBytes()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

// The most resident memory a phase adds above its start, sampled every quarter millisecond; the
// memory freed before the phase goes back to the system first, so the phase cannot reuse it unseen.
class TPeakMemory
{
public:
    TPeakMemory() : m_base((malloc_trim(0), residentBytes())), m_peak(m_base)
    {
        m_thread = std::thread([this] {
            while (!m_stop.load()) {
                const long long now = residentBytes();
                if (now > m_peak.load())
                    m_peak.store(now);
                std::this_thread::sleep_for(std::chrono::microseconds(250));
            }
        });
    }
    ~TPeakMemory() { stop(); }
    double addedMB()
    {
        stop();
        return double(std::max(0LL, m_peak.load() - m_base)) / (1024.0 * 1024.0);
    }

private:
    void stop()
    {
        if (m_thread.joinable()) {
            m_stop.store(true);
            m_thread.join();
            const long long now = residentBytes();
            if (now > m_peak.load())
                m_peak.store(now);
        }
    }
    long long m_base;
    std::atomic<long long> m_peak;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Row r's texts: a number, a date and a word in their columns, other columns numbered cells.
std::vector<QString> makeTexts(int rows)
{
    std::mt19937 rng(2026);
    const QDate base(1990, 1, 1);
    std::vector<QString> t;
    t.reserve(size_t(rows) * kCols);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            if (c == kNumberCol) {
                t.push_back(QString::number(double(rng() % 100000000) / 100.0, 'f', 2));
            } else if (c == kDateCol) {
                t.push_back(base.addDays(int(rng() % 15000)).toString(QStringLiteral("M/d/yyyy")));
            } else if (c == kWordCol) {
                QString w;
                const int len = 4 + int(rng() % 8);
                for (int i = 0; i < len; ++i) {
                    const int k = int(rng() % 52);
                    w += QChar(k < 26 ? u'a' + k : u'A' + (k - 26));
                }
                t.push_back(w);
            } else {
                t.push_back(QString::number(r * kCols + c));
            }
        }
    }
    return t;
}

const QString &text(const std::vector<QString> &t, int r, int c)
{
    return t[size_t(r) * kCols + size_t(c)];
}

// Our grid with one fixed row above the data and no fixed column.
std::unique_ptr<TQrlStringGrid> makeOurs(const std::vector<QString> &t, int rows)
{
    auto g = std::make_unique<TQrlStringGrid>();
    g->SetColCount(kCols);
    g->SetRowCount(rows + 1);
    g->SetFixedCols(0);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kCols; ++c)
            g->SetGridCell(c, r + 1, text(t, r, c));
    return g;
}

void addMergesAndMarks(TQrlStringGrid &g, int rows)
{
    const int step = std::max(4, rows / kMergedAreas);
    for (int r = 1; r + 1 < rows; r += step)
        g.MergeCells(5, r, 2, 2);
    g.SetDisjunctRowSelect(true);
    for (int r = 3; r < rows; r += 10)
        g.SetRowSelect(r, true);
}

std::unique_ptr<QTableWidget> makeWidget(const std::vector<QString> &t, int rows)
{
    auto w = std::make_unique<QTableWidget>(rows, kCols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kCols; ++c)
            w->setItem(r, c, new QTableWidgetItem(text(t, r, c)));
    return w;
}

struct TProxyPeer
{
    QStandardItemModel model{0, kCols};
    QSortFilterProxyModel proxy;
};

std::unique_ptr<TProxyPeer> makeProxy(const std::vector<QString> &t, int rows)
{
    auto p = std::make_unique<TProxyPeer>();
    p->model.setRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kCols; ++c)
            p->model.setItem(r, c, new QStandardItem(text(t, r, c)));
    p->proxy.setSourceModel(&p->model);
    return p;
}

void row(const char *what, double ours, double widget, double proxy)
{
    std::printf("%-34s %10.6f %12.6f %12.6f %12.1fx %12.1fx\n", what, ours, widget, proxy,
                ours > 0 ? widget / ours : 0.0, ours > 0 ? proxy / ours : 0.0);
    std::fflush(stdout);
}

void header(const char *title)
{
    std::printf("\n%s\n%-34s %10s %12s %12s %13s %13s\n", title, "seconds", "ours",
                "table widget", "proxy model", "widget/ours", "proxy/ours");
}

void fillAndClear(const std::vector<QString> &t, int rows, bool oursOnly)
{
    header("Fill and clear");
    std::unique_ptr<TQrlStringGrid> g;
    const double fillOurs = timed([&] { g = makeOurs(t, rows); });
    const double clearOurs = timed([&] { g->ClearNormalCells(); });
    g.reset();
    double fillWidget = 0, clearWidget = 0, fillProxy = 0, clearProxy = 0;
    if (!oursOnly) {
        std::unique_ptr<QTableWidget> w;
        fillWidget = timed([&] { w = makeWidget(t, rows); });
        clearWidget = timed([&] { w->clearContents(); });
        w.reset();
        std::unique_ptr<TProxyPeer> p;
        fillProxy = timed([&] { p = makeProxy(t, rows); });
        clearProxy = timed([&] {
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < kCols; ++c)
                    p->model.item(r, c)->setText(QString());
        });
    }
    row("fill", fillOurs, fillWidget, fillProxy);
    row("clear every cell", clearOurs, clearWidget, clearProxy);
}

void sorts(const std::vector<QString> &t, int rows, bool oursOnly)
{
    header("Sort (median of three); ours' transient memory per row beside");
    auto g = makeOurs(t, rows);
    std::unique_ptr<QTableWidget> w;
    std::unique_ptr<TProxyPeer> p;
    if (!oursOnly) {
        w = makeWidget(t, rows);
        p = makeProxy(t, rows);
    }
    double unsortOurs[3] = {}, unsortProxy[3] = {};
    for (const auto &[col, name] : {std::pair{kNumberCol, "number column"},
                                    std::pair{kDateCol, "date column"},
                                    std::pair{kWordCol, "word column"}}) {
        double ours[3] = {}, widget[3] = {}, proxy[3] = {};
        double bytesPerRow = 0;
        for (int i = 0; i < 3; ++i) {
            TPeakMemory mem;
            ours[i] = timed([&] { g->Sort(col, TSortDirection::sdAscending); });
            bytesPerRow = std::max(bytesPerRow, mem.addedMB() * 1024.0 * 1024.0 / rows);
            unsortOurs[i] = timed([&] { g->QUnSort(); });
            if (!oursOnly) {
                widget[i] = timed([&] { w->sortItems(col, Qt::AscendingOrder); });
                // The widget keeps its rows sorted; put them back in a fresh order each time.
                w->sortItems(0, Qt::AscendingOrder);
                proxy[i] = timed([&] { p->proxy.sort(col, Qt::AscendingOrder); });
                unsortProxy[i] = timed([&] { p->proxy.sort(-1); });
            }
        }
        row(name, median3(ours[0], ours[1], ours[2]), median3(widget[0], widget[1], widget[2]),
            median3(proxy[0], proxy[1], proxy[2]));
        std::printf("%-34s %10.1f bytes per row\n", "  ours' transient memory", bytesPerRow);
    }
    const double uo = median3(unsortOurs[0], unsortOurs[1], unsortOurs[2]);
    const double up = median3(unsortProxy[0], unsortProxy[1], unsortProxy[2]);
    row("unsort (proxy: sort(-1))", uo, 0, up);
}

void lineOps(const std::vector<QString> &t, int rows, bool oursOnly)
{
    header("Line operations in the middle (seconds per operation)");
    auto g = makeOurs(t, rows);
    addMergesAndMarks(*g, rows);
    g->Sort(kNumberCol, TSortDirection::sdAscending);
    g->QUnSort();
    const int mid = rows / 2;
    const double insOne = timed([&] {
        for (int i = 0; i < kOps; ++i)
            g->InsertRows(mid, 1);
    }) / kOps;
    const double remOne = timed([&] {
        for (int i = 0; i < kOps; ++i)
            g->RemoveRows(mid, 1);
    }) / kOps;
    const double insBlock = timed([&] { g->InsertRows(mid, kBlock); });
    const double remBlock = timed([&] { g->RemoveRows(mid, kBlock); });
    g.reset();
    double wInsOne = 0, wRemOne = 0, wInsBlock = 0, wRemBlock = 0;
    if (!oursOnly) {
        auto w = makeWidget(t, rows);
        wInsOne = timed([&] {
            for (int i = 0; i < kOps; ++i)
                w->insertRow(mid);
        }) / kOps;
        wRemOne = timed([&] {
            for (int i = 0; i < kOps; ++i)
                w->removeRow(mid);
        }) / kOps;
        wInsBlock = timed([&] { w->model()->insertRows(mid, kBlock); });
        wRemBlock = timed([&] { w->model()->removeRows(mid, kBlock); });
    }
    std::printf("(ours with %d merged areas and marked rows, after a sort and an unsort)\n",
                kMergedAreas);
    row("insert one row", insOne, wInsOne, 0);
    row("remove one row", remOne, wRemOne, 0);
    row("insert a 1000-row block", insBlock, wInsBlock, 0);
    row("remove a 1000-row block", remBlock, wRemBlock, 0);
}

struct THideFigures
{
    double hideShowAll = 0;
    double hideShowList = 0;
    double peakMB = 0;
};

THideFigures hideFigures(const std::vector<QString> &t, int rows)
{
    auto g = makeOurs(t, rows);
    addMergesAndMarks(*g, rows);
    TIntList everySecond;
    for (int r = 2; r <= rows; r += 2)
        everySecond.Add(r);
    THideFigures f;
    TPeakMemory mem;
    f.hideShowAll = timed([&] {
        g->HideRowList(everySecond);
        g->UnHideRowsAll();
    });
    f.hideShowList = timed([&] {
        g->HideRowList(everySecond);
        g->UnHideRowList();
    });
    f.peakMB = mem.addedMB();
    if (g->RowCount() != rows + 1)
        std::fprintf(stderr, "hiding lost rows: %d\n", g->RowCount());
    return f;
}

void hiding(const std::vector<QString> &t, int rows)
{
    std::printf("\nHide every second row and show all again (ours, %d merged areas, marked rows)\n",
                kMergedAreas);
    std::printf("%-34s %12s %12s %10s %14s\n", "seconds", "tenth", "all", "all/tenth",
                "peak MB (all)");
    const std::vector<QString> tenth(t.begin(), t.begin() + std::ptrdiff_t(rows / 10) * kCols);
    const THideFigures a = hideFigures(tenth, rows / 10);
    const THideFigures b = hideFigures(t, rows);
    std::printf("%-34s %12.4f %12.4f %10.1f %14.1f\n", "HideRowList + UnHideRowsAll", a.hideShowAll,
                b.hideShowAll, b.hideShowAll / a.hideShowAll, b.peakMB);
    std::printf("%-34s %12.4f %12.4f %10.1f\n", "HideRowList + UnHideRowList", a.hideShowList,
                b.hideShowList, b.hideShowList / a.hideShowList);
}

} // namespace

int main(int argc, char **argv)
{
    int rows = 1'000'000;
    bool oursOnly = false;
    const char *phase = "";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--rows=", 7) == 0)
            rows = std::max(1000, std::atoi(argv[i] + 7));
        if (std::strncmp(argv[i], "--phase=", 8) == 0)
            phase = argv[i] + 8;
        oursOnly = oursOnly || std::strcmp(argv[i], "--ours") == 0;
    }
    const auto runs = [phase](const char *name) { return !*phase || std::strcmp(phase, name) == 0; };
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Dates as M/d/yyyy whatever the machine's locale.
    OverrideGridRegionalSettings(TGridRegionalSettings{});

    std::printf("%d rows x %d columns\n", rows, kCols);
    const std::vector<QString> t = makeTexts(rows);
    if (runs("fill"))
        fillAndClear(t, rows, oursOnly);
    if (runs("sort"))
        sorts(t, rows, oursOnly);
    if (runs("lines"))
        lineOps(t, rows, oursOnly);
    if (runs("hide"))
        hiding(t, rows);
    return 0;
}
