// Cell painting: one full repaint of an 800 x 600 view of the string grid (10 columns, banded row
// colours, a cell colour on every fifth row, a check-box column, a progress column and a merged
// area every 20 rows) against a QTableView over a delegate-free model showing the same (texts,
// background colours, check states, the progress value as text, the same spans). Both at 1k and
// 1M rows, in one run; the ratio ours / QTableView is printed at the end. The machine is shared,
// so only ratios from one run count.
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/ui/Canvas.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QTableView>

#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int ColCount = 10;
constexpr int ViewWidth = 800;
constexpr int ViewHeight = 600;
constexpr int RowHeight = 24;
constexpr int CheckCol = 1;
constexpr int ProgressCol = 2;
constexpr int ColourCol = 3;
constexpr int MergeEvery = 20;
constexpr TColor BandA = 0xF0F0FF;
constexpr TColor BandB = 0xFFF0F0;
constexpr TColor CellColour = 0xC0FFC0;

QString cellText(int col, int row)
{
    if (row == 0)
        return QStringLiteral("Column ") + QString::number(col);
    if (col == ProgressCol)
        return QString::number(row % 101);
    const QString number = QString::number(row).rightJustified(7, QLatin1Char('0'));
    return col == 0 ? number : number + QLatin1Char('.') + QString::number(col);
}

bool isMergeBase(int col, int row)
{
    return col == 5 && row >= 1 && row % MergeEvery == 0;
}

TColor rowBand(int row)
{
    return (row - 1) % 2 == 0 ? BandA : BandB;
}

std::unique_ptr<TQrlStringGrid> makeOurs(int rows)
{
    auto g = std::make_unique<TQrlStringGrid>();
    g->resize(ViewWidth, ViewHeight);
    g->SetColCount(ColCount);
    g->SetRowCount(rows);
    g->SetDefaultRowHeight(RowHeight);
    g->BeginUpdate();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < ColCount; ++c)
            g->SetCells(c, r, cellText(c, r));
    g->Bands()->SetPrimaryColor(BandA);
    g->Bands()->SetSecondaryColor(BandB);
    g->Bands()->SetPrimaryLength(1);
    g->Bands()->SetSecondaryLength(1);
    g->Bands()->SetActive(true);
    g->AddCheckBoxColumn(CheckCol, false, false);
    for (int r = 1; r < rows; ++r) {
        g->AddProgress(ProgressCol, r, clNavy, clWhite);
        if (r % 5 == 0)
            g->SetColors(ColourCol, r, CellColour);
        if (isMergeBase(5, r))
            g->MergeCells(5, r, 2, 2);
    }
    g->EndUpdate();
    g->show();
    QCoreApplication::processEvents();
    return g;
}

class PeerModel : public QAbstractTableModel
{
public:
    explicit PeerModel(int rows) : m_rows(rows) {}
    int rowCount(const QModelIndex &) const override { return m_rows - 1; }
    int columnCount(const QModelIndex &) const override { return ColCount; }
    QVariant data(const QModelIndex &i, int role) const override
    {
        const int row = i.row() + 1;
        switch (role) {
        case Qt::DisplayRole:
            return i.column() == CheckCol ? QVariant() : QVariant(cellText(i.column(), row));
        case Qt::BackgroundRole: {
            const TColor c = i.column() == ColourCol && row % 5 == 0 ? CellColour : rowBand(row);
            return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
        }
        case Qt::CheckStateRole:
            return i.column() == CheckCol ? QVariant(Qt::Unchecked) : QVariant();
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return o == Qt::Horizontal ? cellText(section, 0) : QVariant(section + 1);
    }
    Qt::ItemFlags flags(const QModelIndex &i) const override
    {
        return QAbstractTableModel::flags(i) | Qt::ItemIsUserCheckable;
    }

private:
    int m_rows;
};

struct Peer
{
    std::unique_ptr<PeerModel> model;
    std::unique_ptr<QTableView> view;
};

Peer makePeer(int rows)
{
    Peer p;
    p.model = std::make_unique<PeerModel>(rows);
    p.view = std::make_unique<QTableView>();
    p.view->resize(ViewWidth, ViewHeight);
    p.view->setModel(p.model.get());
    p.view->verticalHeader()->setDefaultSectionSize(RowHeight);
    p.view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (int r = 1; r < rows; ++r)
        if (isMergeBase(5, r))
            p.view->setSpan(r - 1, 5, 2, 2);
    p.view->show();
    QCoreApplication::processEvents();
    return p;
}

std::map<int, std::unique_ptr<TQrlStringGrid>> &ours()
{
    static std::map<int, std::unique_ptr<TQrlStringGrid>> m;
    return m;
}

std::map<int, Peer> &peers()
{
    static std::map<int, Peer> m;
    return m;
}

// Microseconds per repaint, by (kind, rows).
std::map<std::pair<std::string, int>, double> &results()
{
    static std::map<std::pair<std::string, int>, double> m;
    return m;
}

template <class Fn> void timed(benchmark::State &state, const char *kind, Fn paint)
{
    using Clock = std::chrono::steady_clock;
    const auto t0 = Clock::now();
    for (auto _ : state)
        paint();
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    results()[{kind, int(state.range(0))}] = us / double(state.iterations());
}

void BM_PaintOurs(benchmark::State &state)
{
    const int rows = int(state.range(0));
    auto &g = ours()[rows];
    if (!g)
        g = makeOurs(rows);
    g->SetTopRow(rows / 2);
    QImage image(ViewWidth, ViewHeight, QImage::Format_RGB32);
    timed(state, "ours", [&] {
        QPainter painter(&image);
        TCanvas canvas(&painter);
        g->PaintTo(canvas);
        benchmark::DoNotOptimize(image.constBits());
    });
    state.counters["visibleRows"] = g->VisibleRowCount();
}
BENCHMARK(BM_PaintOurs)
    ->ArgName("rows")
    ->Arg(1'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(0.3);

void BM_PaintQTableView(benchmark::State &state)
{
    const int rows = int(state.range(0));
    auto &p = peers()[rows];
    if (!p.view)
        p = makePeer(rows);
    p.view->scrollTo(p.model->index(rows / 2, 0), QAbstractItemView::PositionAtTop);
    QImage image(ViewWidth, ViewHeight, QImage::Format_RGB32);
    timed(state, "qtableview", [&] {
        p.view->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    });
}
BENCHMARK(BM_PaintQTableView)
    ->ArgName("rows")
    ->Arg(1'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(0.3);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv, [] {
        std::printf("\n%-10s %14s %16s %14s\n", "rows", "ours (us)", "QTableView (us)",
                    "ours / peer");
        for (int rows : {1'000, 1'000'000}) {
            const auto o = results().find({"ours", rows});
            const auto p = results().find({"qtableview", rows});
            if (o == results().end() || p == results().end())
                continue;
            std::printf("%-10d %14.1f %16.1f %14.2f\n", rows, o->second, p->second,
                        o->second / p->second);
        }
        ours().clear();
        peers().clear();
    });
}
