#include "platform/ui/Bitmap.h"

#include <QPainter>

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height)
{
    SetSize(width, height);
}

TBitmap::TBitmap(const QImage &image)
{
    Assign(image);
}

TBitmap::~TBitmap() = default;

TBitmap::TBitmap(const TBitmap &other)
    : m_transparent(other.m_transparent), m_transparentColor(other.m_transparentColor)
{
    if (other.m_canvas)
        other.m_canvas->Flush();
    m_image = other.m_image.copy();
}

TBitmap &TBitmap::operator=(const TBitmap &other)
{
    if (this != &other) {
        if (other.m_canvas)
            other.m_canvas->Flush();
        Assign(other.m_image);
        m_transparent = other.m_transparent;
        m_transparentColor = other.m_transparentColor;
    }
    return *this;
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(0, width);
    height = std::max(0, height);
    if (!m_image.isNull() && width == m_image.width() && height == m_image.height())
        return;
    if (m_canvas)
        m_canvas->Flush();
    QImage img;
    if (width > 0 && height > 0) {
        img = QImage(width, height, QImage::Format_RGB32);
        img.fill(Qt::white);
        if (!m_image.isNull()) {
            QPainter p(&img);
            p.drawImage(QPoint(0, 0), m_image);
        }
    }
    m_image = img;
}

TCanvas &TBitmap::Canvas()
{
    if (!m_canvas)
        m_canvas = std::make_unique<TCanvas>(&m_image);
    return *m_canvas;
}

const QImage &TBitmap::Image()
{
    if (m_canvas)
        m_canvas->Flush();
    return m_image;
}

void TBitmap::Assign(const QImage &image)
{
    if (m_canvas)
        m_canvas->Flush();
    m_image = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
}

bool TBitmap::LoadFromFile(const QString &path)
{
    QImage img;
    if (!img.load(path))
        return false;
    Assign(img);
    return true;
}

TColor TBitmap::TransparentColor()
{
    if (m_transparentColor != clDefault)
        return m_transparentColor;
    const QImage &img = Image();
    if (img.isNull())
        return clNone;
    return FromQColor(QColor(img.pixel(0, img.height() - 1)));
}
