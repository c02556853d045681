// The pictures of the predefined button kinds and the popup arrow, drawn once on first use.
// Each kind picture is a strip of two 18 x 18 cells (normal, disabled) on a magenta background,
// which the lower-left pixel makes transparent.
#include "common/button/LbButtons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <stdexcept>

namespace {

constexpr int kCell = 18;
const QColor kKey(0xFF, 0x00, 0xFF);

using Shape = void (*)(QPainter &, const QColor &);

void drawCheck(QPainter &p, const QColor &c)
{
    p.setPen(QPen(c, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPolyline(QPolygon({QPoint(3, 9), QPoint(7, 13), QPoint(14, 4)}));
}

void drawCross(QPainter &p, const QColor &c)
{
    p.setPen(QPen(c, 3, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(4, 4, 13, 13);
    p.drawLine(13, 4, 4, 13);
}

void drawHelp(QPainter &p, const QColor &c)
{
    // A question hook and its dot.
    p.setPen(QPen(c, 2, Qt::SolidLine, Qt::SquareCap));
    p.drawArc(QRect(5, 2, 8, 7), 180 * 16, -270 * 16);
    p.drawLine(9, 9, 9, 11);
    p.fillRect(QRect(8, 13, 3, 3), c);
}

void drawNo(QPainter &p, const QColor &c)
{
    p.setPen(QPen(c, 2));
    p.drawEllipse(QRect(3, 3, 11, 11));
    p.drawLine(5, 12, 12, 5);
}

void drawClose(QPainter &p, const QColor &c)
{
    // A door frame with an arrow leaving it.
    p.setPen(QPen(c, 1));
    p.drawRect(QRect(2, 2, 8, 13));
    p.setPen(QPen(c, 2));
    p.drawLine(7, 9, 14, 9);
    p.setBrush(c);
    p.drawPolygon(QPolygon({QPoint(13, 6), QPoint(16, 9), QPoint(13, 12)}));
    p.setBrush(Qt::NoBrush);
}

void drawAbort(QPainter &p, const QColor &c)
{
    p.setBrush(c);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRect(2, 2, 14, 14));
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(6, 6, 11, 11);
    p.drawLine(11, 6, 6, 11);
    p.setBrush(Qt::NoBrush);
}

void drawRetry(QPainter &p, const QColor &c)
{
    p.setPen(QPen(c, 2));
    p.drawArc(QRect(3, 3, 12, 12), 30 * 16, 270 * 16);
    p.setBrush(c);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygon({QPoint(11, 1), QPoint(16, 5), QPoint(10, 7)}));
    p.setBrush(Qt::NoBrush);
}

void drawIgnore(QPainter &p, const QColor &c)
{
    // An arrow running past a bar.
    p.setPen(QPen(c, 2));
    p.drawLine(2, 9, 11, 9);
    p.setBrush(c);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygon({QPoint(10, 5), QPoint(14, 9), QPoint(10, 13)}));
    p.fillRect(QRect(14, 3, 2, 12), c);
    p.setBrush(Qt::NoBrush);
}

void drawAll(QPainter &p, const QColor &c)
{
    p.setPen(QPen(c, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPolyline(QPolygon({QPoint(1, 9), QPoint(4, 12), QPoint(9, 5)}));
    p.drawPolyline(QPolygon({QPoint(7, 9), QPoint(10, 12), QPoint(16, 4)}));
}

QImage kindStrip(Shape shape, const QColor &colour)
{
    QImage img(kCell * 2, kCell, QImage::Format_RGB32);
    img.fill(kKey);
    QPainter p(&img);
    // No antialiasing: blended edge pixels would not match the key and show as pink fringes.
    p.setRenderHint(QPainter::Antialiasing, false);
    shape(p, colour);
    p.translate(kCell, 0);
    shape(p, QColor(0x80, 0x80, 0x80));
    return img;
}

QImage arrow()
{
    QImage img(7, 4, QImage::Format_RGB32);
    img.fill(kKey);
    for (int row = 0; row < 4; ++row)
        for (int x = row; x < 7 - row; ++x)
            img.setPixelColor(x, row, Qt::black);
    return img;
}

QHash<QString, QImage> buildAll()
{
    const QColor green(0x00, 0x80, 0x00);
    const QColor red(0xC0, 0x00, 0x00);
    const QColor blue(0x00, 0x00, 0xC0);
    const QColor brown(0x80, 0x40, 0x00);
    QHash<QString, QImage> all;
    all.insert(QStringLiteral("LBOK"), kindStrip(drawCheck, green));
    all.insert(QStringLiteral("LBCANCEL"), kindStrip(drawCross, red));
    all.insert(QStringLiteral("LBHELP"), kindStrip(drawHelp, blue));
    all.insert(QStringLiteral("LBYES"), kindStrip(drawCheck, green));
    all.insert(QStringLiteral("LBNO"), kindStrip(drawNo, red));
    all.insert(QStringLiteral("LBCLOSE"), kindStrip(drawClose, brown));
    all.insert(QStringLiteral("LBABORT"), kindStrip(drawAbort, red));
    all.insert(QStringLiteral("LBRETRY"), kindStrip(drawRetry, green));
    all.insert(QStringLiteral("LBIGNORE"), kindStrip(drawIgnore, blue));
    all.insert(QStringLiteral("LBALL"), kindStrip(drawAll, green));
    all.insert(QStringLiteral("LBARROW"), arrow());
    return all;
}

} // namespace

QImage LbResourceBitmap(const QString &name)
{
    static const QHash<QString, QImage> all = buildAll();
    const auto it = all.constFind(name);
    if (it == all.constEnd())
        throw std::runtime_error("Resource " + name.toStdString() + " not found");
    return *it;
}
