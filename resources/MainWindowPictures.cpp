#include "resources/MainWindowPictures.h"

#include <QPainter>
#include <QPolygon>
#include <QtMath>

namespace res {

namespace {

// Magenta, left out when the button draws the picture. No antialiasing, so no edge pixel
// blends into it.
const QColor kKey(0xFF, 0x00, 0xFF);

QImage blank(int size = Main_Picture_Size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(kKey);
    return image;
}

const QColor kOutline(0x40, 0x40, 0x48);

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

// --- step buttons ------------------------------------------------------------------------

QImage Step_Picture_New()
{
    QImage image = blank(Step_Picture_Size);
    QPainter p(&image);
    p.setPen(kOutline);
    p.setBrush(Qt::white);
    p.drawPolygon(
        QPolygon({QPoint(4, 1), QPoint(14, 1), QPoint(19, 6), QPoint(19, 22), QPoint(4, 22)}));
    p.drawPolyline(QPolygon({QPoint(14, 1), QPoint(14, 6), QPoint(19, 6)}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x9A, 0x30));
    p.drawRect(QRect(14, 11, 4, 12));
    p.drawRect(QRect(10, 15, 12, 4));
    return image;
}

QImage Step_Picture_Open()
{
    QImage image = blank(Step_Picture_Size);
    QPainter p(&image);
    p.setPen(QColor(0x9A, 0x6A, 0x10));
    p.setBrush(QColor(0xE0, 0xB0, 0x40));
    p.drawPolygon(QPolygon(
        {QPoint(1, 4), QPoint(8, 4), QPoint(10, 6), QPoint(19, 6), QPoint(19, 20), QPoint(1, 20)}));
    p.setBrush(QColor(0xF8, 0xD8, 0x68));
    p.drawPolygon(QPolygon({QPoint(5, 10), QPoint(23, 10), QPoint(19, 20), QPoint(1, 20)}));
    return image;
}

QImage Step_Picture_Communication()
{
    QImage image = blank(Step_Picture_Size);
    QPainter p(&image);
    p.setPen(QPen(kOutline, 2));
    p.drawLine(12, 6, 12, 12);
    p.drawLine(4, 12, 20, 12);
    p.drawLine(4, 12, 4, 16);
    p.drawLine(20, 12, 20, 16);
    p.setPen(kOutline);
    p.setBrush(QColor(0x30, 0x70, 0xD0));
    p.drawRect(QRect(8, 1, 8, 6));
    p.drawRect(QRect(0, 16, 8, 6));
    p.drawRect(QRect(16, 16, 7, 6));
    return image;
}

QImage Step_Picture_Variables()
{
    QImage image = blank(Step_Picture_Size);
    QPainter p(&image);
    p.setPen(kOutline);
    p.setBrush(Qt::white);
    p.drawRect(QRect(2, 1, 19, 21));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        const int y = 4 + 5 * i;
        p.setBrush(QColor(0xD0, 0x50, 0x20));
        p.drawRect(QRect(5, y, 3, 3));
        p.setBrush(QColor(0x60, 0x60, 0x68));
        p.drawRect(QRect(10, y + 1, 8, 2));
    }
    return image;
}

QImage Step_Picture_Modbus()
{
    QImage image = blank(Step_Picture_Size);
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x80, 0x30));
    p.drawRect(QRect(2, 6, 13, 4));
    p.drawPolygon(QPolygon({QPoint(14, 2), QPoint(22, 8), QPoint(14, 14)}));
    p.setBrush(QColor(0x30, 0x60, 0xC0));
    p.drawRect(QRect(9, 15, 13, 4));
    p.drawPolygon(QPolygon({QPoint(10, 11), QPoint(2, 17), QPoint(10, 23)}));
    return image;
}

QImage Step_Picture_Certificates()
{
    QImage image = blank(Step_Picture_Size);
    QPainter p(&image);
    p.setPen(QPen(QColor(0x70, 0x70, 0x78), 3));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRect(7, 2, 10, 14), 0, 180 * 16);
    p.drawLine(7, 9, 7, 11);
    p.drawLine(17, 9, 17, 11);
    p.setPen(QColor(0x8C, 0x64, 0x00));
    p.setBrush(QColor(0xE8, 0xB8, 0x20));
    p.drawRect(QRect(3, 11, 17, 11));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x50, 0x38, 0x00));
    p.drawRect(QRect(11, 14, 2, 5));
    return image;
}

QImage Step_Picture_Update()
{
    QImage image = blank(Step_Picture_Size);
    QPainter p(&image);
    p.setPen(kOutline);
    p.setBrush(QColor(0x90, 0x98, 0xA8));
    p.drawRect(QRect(1, 15, 21, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x40, 0xE0, 0x40));
    p.drawRect(QRect(4, 18, 3, 2));
    p.setBrush(QColor(0x20, 0x9A, 0x30));
    p.drawRect(QRect(9, 0, 6, 7));
    p.drawPolygon(QPolygon({QPoint(4, 7), QPoint(20, 7), QPoint(12, 14)}));
    return image;
}

} // namespace res
