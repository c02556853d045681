// Our string grid against two Qt peers on the same table (1,000,000 rows x 10 columns of distinct
// numeric texts by default): filling, a read pass, a jump to the middle with a full repaint of the
// 800 x 600 widget, clearing every cell, and peak resident memory. Each grid runs in a child
// process of its own, so one grid's memory does not hide another's; the parent prints the figures
// side by side with the ratios. The machine is shared, so only ratios from one run count.
//
//   bench_bench_cellstore [--rows=N]
#include "platform/grid/CellStore.h"
#include "platform/grid/PlatformStringGrid.h"

#include <QApplication>
#include <QImage>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int ColCount = 10;
constexpr int ViewWidth = 800;
constexpr int ViewHeight = 600;
constexpr int RepaintRounds = 41;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// "0500000.3": seven digits of the row, the column; distinct for every cell of the table. A new
// string per cell, as a loader would hand over, written in place to keep the common part cheap.
QString cellText(int col, int row)
{
    QString s(9, Qt::Uninitialized);
    char16_t *buf = reinterpret_cast<char16_t *>(s.data());
    for (int i = 6, v = row; i >= 0; --i, v /= 10)
        buf[i] = static_cast<char16_t>(u'0' + v % 10);
    buf[7] = u'.';
    buf[8] = static_cast<char16_t>(u'0' + col % 10);
    return s;
}

long vmKb(const char *field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const size_t n = std::strlen(field);
    while (std::getline(in, line))
        if (line.compare(0, n, field) == 0)
            return std::atol(line.c_str() + n + 1);
    return -1;
}

// What a child reports: one "key value" line per figure on stdout.
void report(const char *key, double value)
{
    std::printf("%s %.9g\n", key, value);
    std::fflush(stdout);
}

// The operations every grid offers, with the same work behind each.
struct Peer
{
    std::function<void(int rows)> setUp;
    // Every cell of the table from cellText, in the grid's natural bulk way.
    std::function<void(int rows)> fill;
    std::function<qsizetype(int col, int row)> readLength;
    std::function<void(int row)> jumpAndRender; // into the shared image
    std::function<void()> clearAll;
    std::function<void()> tearDown;
};

QImage &canvas()
{
    static QImage image(ViewWidth, ViewHeight, QImage::Format_ARGB32_Premultiplied);
    return image;
}

void runPeer(Peer &peer, int rows)
{
    peer.setUp(rows);
    QCoreApplication::processEvents();
    report("rss_setup_kb", vmKb("VmRSS:"));

    auto t0 = Clock::now();
    peer.fill(rows);
    QCoreApplication::processEvents();
    report("fill_s", secondsSince(t0));
    report("rss_filled_kb", vmKb("VmRSS:"));

    t0 = Clock::now();
    qint64 chars = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < ColCount; ++c)
            chars += peer.readLength(c, r);
    report("read_s", secondsSince(t0));
    if (chars != qint64(rows) * ColCount * 9)
        report("read_wrong_chars", double(chars));

    // Jumps between two places near the middle, each followed by a full repaint; the median
    // keeps one slow round on a busy machine from deciding.
    const int mid = rows / 2;
    peer.jumpAndRender(0);
    std::vector<double> times;
    for (int i = 0; i < RepaintRounds; ++i) {
        t0 = Clock::now();
        peer.jumpAndRender(i % 2 ? mid + 977 : mid);
        times.push_back(secondsSince(t0));
    }
    std::nth_element(times.begin(), times.begin() + RepaintRounds / 2, times.end());
    report("jump_render_s", times[RepaintRounds / 2]);
    // A probe that the view painted texts, not an empty area.
    int inked = 0;
    for (int y = 0; y < ViewHeight; ++y)
        for (int x = 0; x < ViewWidth; ++x)
            inked += qGray(canvas().pixel(x, y)) < 128;
    report("render_inked", inked > 1000);

    t0 = Clock::now();
    peer.clearAll();
    QCoreApplication::processEvents();
    report("clear_s", secondsSince(t0));
    peer.tearDown();
    report("hwm_kb", vmKb("VmHWM:"));
}

int runOurs(int rows)
{
    std::unique_ptr<plat::TPlatformStringGrid> grid;
    Peer p;
    p.setUp = [&](int n) {
        grid = std::make_unique<plat::TPlatformStringGrid>();
        grid->resize(ViewWidth, ViewHeight);
        grid->SetColCount(ColCount);
        grid->SetRowCount(n);
        grid->show();
    };
    p.fill = [&](int n) {
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < ColCount; ++c)
                grid->SetCells(c, r, cellText(c, r));
    };
    p.readLength = [&](int c, int r) { return grid->Cells(c, r).size(); };
    p.jumpAndRender = [&](int r) {
        grid->SetTopRow(r);
        grid->render(&canvas());
    };
    p.clearAll = [&] {
        // The grid has no clear-all of its own; emptying every column through the public API
        // is the closest grid operation.
        for (int c = ColCount - 1; c >= 0; --c)
            grid->SetCols(c, QStringList());
    };
    p.tearDown = [&] { grid.reset(); };
    runPeer(p, rows);

    // The same fill into a grid that is not shown: what the store and SetCells cost without
    // the per-cell repaint check.
    {
        plat::TPlatformStringGrid hidden;
        hidden.SetColCount(ColCount);
        hidden.SetRowCount(rows);
        const auto t0 = Clock::now();
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < ColCount; ++c)
                hidden.SetCells(c, r, cellText(c, r));
        report("fill_hidden_s", secondsSince(t0));
    }

    // The read pass without a copy, as sorting will compare cells.
    {
        plat::TCellStore store;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < ColCount; ++c)
                store.SetText(c, r, cellText(c, r));
        auto t0 = Clock::now();
        qint64 chars = 0;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < ColCount; ++c)
                chars += store.TextView(c, r).size();
        report("read_view_s", secondsSince(t0));
        t0 = Clock::now();
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < ColCount; ++c)
                chars += store.Text(c, r).size();
        report("store_read_s", secondsSince(t0));
        report("store_bytes", double(store.MemoryUsage()));
        t0 = Clock::now();
        store.Clear();
        report("store_clear_s", secondsSince(t0));
        if (chars != 2 * qint64(rows) * ColCount * 9)
            report("read_wrong_chars", double(chars));
    }
    return 0;
}

int runTableWidget(int rows)
{
    std::unique_ptr<QTableWidget> table;
    Peer p;
    p.setUp = [&](int n) {
        table = std::make_unique<QTableWidget>(n, ColCount);
        table->resize(ViewWidth, ViewHeight);
        table->show();
    };
    p.fill = [&](int n) {
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < ColCount; ++c)
                table->setItem(r, c, new QTableWidgetItem(cellText(c, r)));
    };
    p.readLength = [&](int c, int r) { return table->item(r, c)->text().size(); };
    p.jumpAndRender = [&](int r) {
        table->scrollTo(table->model()->index(r, 0), QAbstractItemView::PositionAtTop);
        table->render(&canvas());
    };
    p.clearAll = [&] { table->clearContents(); };
    p.tearDown = [&] { table.reset(); };
    runPeer(p, rows);
    return 0;
}

int runItemModel(int rows)
{
    std::unique_ptr<QStandardItemModel> model;
    std::unique_ptr<QSortFilterProxyModel> proxy;
    std::unique_ptr<QTableView> view;
    Peer p;
    p.setUp = [&](int) {
        model = std::make_unique<QStandardItemModel>(0, ColCount);
        proxy = std::make_unique<QSortFilterProxyModel>();
        view = std::make_unique<QTableView>();
        view->setModel(proxy.get());
        view->resize(ViewWidth, ViewHeight);
        view->show();
    };
    // Items set one by one into a pre-sized model behind the proxy cost a layout change each
    // (quadratic in the rows), so the model is filled by whole rows first and the proxy takes
    // it afterwards, the fastest way this pair offers.
    p.fill = [&](int n) {
        for (int r = 0; r < n; ++r) {
            QList<QStandardItem *> items;
            items.reserve(ColCount);
            for (int c = 0; c < ColCount; ++c)
                items.append(new QStandardItem(cellText(c, r)));
            model->appendRow(items);
        }
        proxy->setSourceModel(model.get());
    };
    p.readLength = [&](int c, int r) { return model->item(r, c)->text().size(); };
    p.jumpAndRender = [&](int r) {
        view->scrollTo(proxy->index(r, 0), QAbstractItemView::PositionAtTop);
        view->render(&canvas());
    };
    p.clearAll = [&] { model->clear(); };
    p.tearDown = [&] {
        view.reset();
        proxy.reset();
        model.reset();
    };
    runPeer(p, rows);
    return 0;
}

struct Result
{
    std::map<std::string, double> figures;
    double maxRssMb = 0;
    bool ok = false;
};

// Runs this program again as `--peer=<name>` and collects what it reports.
Result runChild(const char *self, const std::string &peer, int rows)
{
    Result res;
    int fds[2];
    if (pipe(fds) != 0)
        return res;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        const std::string a1 = "--peer=" + peer;
        const std::string a2 = "--rows=" + std::to_string(rows);
        execl(self, self, a1.c_str(), a2.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string out;
    char buf[4096];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;)
        out.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    struct rusage ru = {};
    if (pid < 0 || wait4(pid, &status, 0, &ru) != pid)
        return res;
    res.maxRssMb = ru.ru_maxrss / 1024.0;
    res.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::istringstream lines(out);
    std::string key;
    double value = 0;
    while (lines >> key >> value)
        res.figures[key] = value;
    return res;
}

int runParent(const char *self, int rows)
{
    std::string load;
    std::getline(std::ifstream("/proc/loadavg"), load);
    std::printf("Table %d rows x %d columns, widgets %d x %d, load average %s\n", rows, ColCount,
                ViewWidth, ViewHeight, load.c_str());
    const char *names[] = {"ours", "tablewidget", "itemmodel"};
    std::vector<Result> res;
    for (const char *n : names) {
        std::fprintf(stderr, "running %s ...\n", n);
        res.push_back(runChild(self, n, rows));
        if (!res.back().ok) {
            std::fprintf(stderr, "%s failed\n", n);
            return 1;
        }
        if (res.back().figures.count("read_wrong_chars"))
            std::fprintf(stderr, "%s read back wrong texts\n", n);
    }
    auto f = [&](int i, const char *key) { return res[size_t(i)].figures[key]; };
    auto fasterPeer = [&](const char *key) { return std::min(f(1, key), f(2, key)); };

    std::printf("\n%-34s %12s %14s %18s %12s %8s\n", "", "ours", "QTableWidget",
                "QStdItemModel+proxy", "peer/ours", "target");
    auto rowOf = [&](const char *label, const char *key, double scale, const char *unit,
                     bool timesFaster, const char *target) {
        const double ours = f(0, key);
        const double peer = fasterPeer(key);
        const double ratio = timesFaster ? peer / ours : ours / peer;
        std::printf("%-34s %10.3f%-2s %12.3f%-2s %16.3f%-2s %11.2f%s %8s\n", label, ours * scale,
                    unit, f(1, key) * scale, unit, f(2, key) * scale, unit, ratio,
                    timesFaster ? "x" : " ", target);
    };
    rowOf("fill (s)", "fill_s", 1, "", true, ">= 5x");
    rowOf("clear every cell (s)", "clear_s", 1, "", true, ">= 5x");
    rowOf("jump to middle + repaint (ms)", "jump_render_s", 1000, "", true, ">= 1x");
    rowOf("read pass, QString per cell (s)", "read_s", 1, "", true, "-");
    const double oursMb = res[0].maxRssMb;
    const double leanMb = std::min(res[1].maxRssMb, res[2].maxRssMb);
    std::printf("%-34s %10.1f   %12.1f   %16.1f   %11.3f  %8s\n", "peak RSS (MB)", oursMb,
                res[1].maxRssMb, res[2].maxRssMb, oursMb / leanMb, "<= 0.333");
    auto mb = [&](int i, const char *key) { return f(i, key) / 1024.0; };
    std::printf("%-34s %10.1f   %12.1f   %16.1f\n", "  RSS before filling (MB)",
                mb(0, "rss_setup_kb"), mb(1, "rss_setup_kb"), mb(2, "rss_setup_kb"));
    std::printf("%-34s %10.1f   %12.1f   %16.1f\n", "  RSS after filling (MB)",
                mb(0, "rss_filled_kb"), mb(1, "rss_filled_kb"), mb(2, "rss_filled_kb"));
    std::printf("\nours alone: fill into a grid not shown %.3f s (%.2fx); store %.1f MB (%.1f "
                "bytes a cell); TCellStore::Clear %.3f s (%.1fx); store read pass %.3f s with "
                "Text, %.3f s with TextView (%.2fx)\n",
                f(0, "fill_hidden_s"), fasterPeer("fill_s") / f(0, "fill_hidden_s"),
                f(0, "store_bytes") / 1048576.0, f(0, "store_bytes") / (double(rows) * ColCount),
                f(0, "store_clear_s"), fasterPeer("clear_s") / f(0, "store_clear_s"),
                f(0, "store_read_s"), f(0, "read_view_s"),
                fasterPeer("read_s") / f(0, "read_view_s"));
    for (int i = 0; i < 3; ++i)
        if (!f(i, "render_inked"))
            std::printf("warning: %s painted no texts\n", names[i]);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    int rows = 1'000'000;
    std::string peer;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--rows=", 0) == 0)
            rows = std::max(2000, std::atoi(a.c_str() + 7));
        else if (a.rfind("--peer=", 0) == 0)
            peer = a.substr(7);
        else {
            std::fprintf(stderr, "usage: %s [--rows=N]\n", argv[0]);
            return 2;
        }
    }
    if (peer.empty())
        return runParent("/proc/self/exe", rows);

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (peer == "ours")
        return runOurs(rows);
    if (peer == "tablewidget")
        return runTableWidget(rows);
    if (peer == "itemmodel")
        return runItemModel(rows);
    return 2;
}
