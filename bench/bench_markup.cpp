// Mini-HTML cell text against plain text, in one run:
//   - one repaint of a 30-row view whose cells all hold markup of a few tags (bold, a colour, a
//     link, a picture), against the same view holding the same words as plain text;
//   - automatic sizing of a column of 100,000 such cells, against the same words as plain text.
// Each figure is the median of five; the ratios markup / plain are printed at the end.
//
//   bench_bench_markup [--rows=N]      (N: cells measured, 100,000 by default)
#include "grid/model/QrlHTMLPicture.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/ui/Canvas.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCols = 6;
constexpr int kViewRows = 30;

QString markupText(int r, int c)
{
    return QStringLiteral("<b>Row</b> <font color=\"clRed\">%1</font> <a href=\"http://x.invalid/%2\">"
                          "cell</a> <img src=\"dot\">")
        .arg(r)
        .arg(c);
}

QString plainText(int r, int /*c*/)
{
    return QStringLiteral("Row %1 cell").arg(r);
}

double median5(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double seconds(const std::function<void()> &f)
{
    const auto t0 = Clock::now();
    f();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

void addDot(TPictureContainer &pictures)
{
    QImage dot(12, 12, QImage::Format_RGB32);
    dot.fill(QColor(0, 160, 0));
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    dot.save(&out, "PNG");
    TPictureItem *item = pictures.Items().Add();
    item->SetName(QStringLiteral("dot"));
    QBuffer in(&png);
    in.open(QIODevice::ReadOnly);
    item->Picture()->LoadFromStream(&in);
}

std::unique_ptr<TQrlStringGrid> makeGrid(int rows, QString (*text)(int, int),
                                         TPictureContainer *pictures)
{
    auto g = std::make_unique<TQrlStringGrid>();
    g->SetColCount(kCols);
    g->SetRowCount(rows + 1);
    g->SetPictureContainer(pictures);
    for (int c = 0; c < kCols; ++c)
        g->SetColWidths(c, 180);
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c < kCols; ++c)
            g->SetCellEx(c, r, text(r, c));
    g->resize(kCols * 181, (kViewRows + 1) * (g->DefaultRowHeight() + 1));
    return g;
}

// Seconds per repaint of the whole view.
double repaint(TQrlStringGrid &g)
{
    QImage image(g.width(), g.height(), QImage::Format_RGB32);
    constexpr int kRepaints = 50;
    std::vector<double> runs;
    for (int i = 0; i < 5; ++i) {
        runs.push_back(seconds([&] {
                           for (int k = 0; k < kRepaints; ++k) {
                               QPainter painter(&image);
                               TCanvas canvas(&painter);
                               g.PaintTo(canvas);
                           }
                       }) /
                       kRepaints);
    }
    return median5(runs);
}

double measure(TQrlStringGrid &g)
{
    std::vector<double> runs;
    for (int i = 0; i < 5; ++i)
        runs.push_back(seconds([&] { g.AutoSizeCol(1); }));
    return median5(runs);
}

} // namespace

int main(int argc, char **argv)
{
    int rows = 100'000;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--rows=", 7) == 0)
            rows = std::max(100, std::atoi(argv[i] + 7));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TPictureContainer pictures;
    addDot(pictures);

    auto markupView = makeGrid(kViewRows, markupText, &pictures);
    auto plainView = makeGrid(kViewRows, plainText, nullptr);
    const double paintMarkup = repaint(*markupView);
    const double paintPlain = repaint(*plainView);
    markupView.reset();
    plainView.reset();

    auto markupCells = makeGrid(rows, markupText, &pictures);
    const double measureMarkup = measure(*markupCells);
    const int markupWidth = markupCells->ColWidths(1);
    markupCells.reset();
    auto plainCells = makeGrid(rows, plainText, nullptr);
    const double measurePlain = measure(*plainCells);
    const int plainWidth = plainCells->ColWidths(1);
    plainCells.reset();

    std::printf("%-40s %12s %12s %10s\n", "seconds (median of five)", "markup", "plain",
                "markup/plain");
    std::printf("%-40s %12.6f %12.6f %10.2f\n", "repaint a 30-row view", paintMarkup, paintPlain,
                paintMarkup / paintPlain);
    std::printf("%-40s %12.6f %12.6f %10.2f\n",
                qPrintable(QStringLiteral("automatic size of %1 cells").arg(rows)),
                measureMarkup, measurePlain, measureMarkup / measurePlain);
    std::printf("(column widths found: markup %d, plain %d)\n", markupWidth, plainWidth);
    return 0;
}
