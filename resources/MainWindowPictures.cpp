#include "resources/MainWindowPictures.h"

#include <QPainter>
#include <QPolygon>
#include <QtMath>

namespace res {

namespace {

// Magenta, left out when the button draws the picture. No antialiasing, so no edge pixel
// blends into it.
const QColor kKey(0xFF, 0x00, 0xFF);

QImage blank()
{
    QImage image(Main_Picture_Size, Main_Picture_Size, QImage::Format_RGB32);
    image.fill(kKey);
    return image;
}

void disc(QPainter &p, const QColor &fill, const QColor &border)
{
    p.setPen(QPen(border, 2));
    p.setBrush(fill);
    p.drawEllipse(QRect(5, 5, 39, 39));
}

} // namespace

QImage Main_Picture_Info()
{
    QImage image = blank();
    QPainter p(&image);
    disc(p, QColor(0x2A, 0x6E, 0xC8), QColor(0x1A, 0x4A, 0x8C));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRect(22, 12, 6, 6));
    p.drawRect(QRect(22, 21, 6, 15));
    p.drawRect(QRect(19, 21, 4, 3));
    p.drawRect(QRect(19, 34, 12, 3));
    return image;
}

QImage Main_Picture_Options()
{
    QImage image = blank();
    QPainter p(&image);
    const QPointF centre(24.5, 24.5);
    const QColor body(0x70, 0x78, 0x84);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    // Eight teeth around a wheel.
    for (int i = 0; i < 8; ++i) {
        const double a = qDegreesToRadians(45.0 * i);
        const QPointF dir(qCos(a), qSin(a));
        const QPointF side(-dir.y(), dir.x());
        QPolygonF tooth;
        tooth << centre + dir * 12 + side * 4.5 << centre + dir * 20 + side * 3.5
              << centre + dir * 20 - side * 3.5 << centre + dir * 12 - side * 4.5;
        p.drawPolygon(tooth);
    }
    p.drawEllipse(centre, 14.5, 14.5);
    p.setBrush(QColor(0xE8, 0xEC, 0xF0));
    p.drawEllipse(centre, 6, 6);
    return image;
}

QImage Main_Picture_Close()
{
    QImage image = blank();
    QPainter p(&image);
    disc(p, QColor(0xD0, 0x30, 0x30), QColor(0x90, 0x18, 0x18));
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(17, 17, 32, 32);
    p.drawLine(32, 17, 17, 32);
    return image;
}

} // namespace res
