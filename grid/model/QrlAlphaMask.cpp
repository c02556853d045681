#include "grid/model/QrlAlphaMask.h"

#include "grid/model/QrlGridError.h"
#include "platform/ui/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

QImage::Format qtFormat(TPixelFormat f)
{
    switch (f) {
    case TPixelFormat::pf24bit:
        return QImage::Format_RGB888;
    case TPixelFormat::pf32bit:
        return QImage::Format_ARGB32_Premultiplied;
    case TPixelFormat::pfDevice:
        break;
    }
    return QImage::Format_RGB32;
}

} // namespace

// ---- TPixelBitmap ---------------------------------------------------------------------------

TPixelBitmap::TPixelBitmap() = default;
TPixelBitmap::~TPixelBitmap() = default;

void TPixelBitmap::flush()
{
    if (m_canvas)
        m_canvas->Flush();
}

void TPixelBitmap::SetPixelFormat(TPixelFormat format)
{
    flush();
    m_format = format;
    if (!m_image.isNull() && m_image.format() != qtFormat(format))
        m_image = m_image.convertToFormat(qtFormat(format));
}

void TPixelBitmap::SetSize(int width, int height)
{
    width = std::max(0, width);
    height = std::max(0, height);
    if (!m_image.isNull() && width == m_image.width() && height == m_image.height())
        return;
    flush();
    if (width == 0 || height == 0) {
        m_image = QImage();
        return;
    }
    // The whole buffer is zeroed, the padding at the end of each 24-bit row included, so
    // code that reads raw rows never meets undefined bytes.
    QImage sized(width, height, qtFormat(m_format));
    std::memset(sized.bits(), 0, std::size_t(sized.sizeInBytes()));
    if (!m_image.isNull()) {
        const QImage old = m_image.convertToFormat(sized.format());
        const int rows = std::min(height, old.height());
        const std::size_t rowBytes =
            std::size_t(std::min(width, old.width())) * std::size_t(old.depth() / 8);
        for (int y = 0; y < rows; ++y)
            std::memcpy(sized.scanLine(y), old.constScanLine(y), rowBytes);
    }
    m_image = sized;
}

TCanvas &TPixelBitmap::Canvas()
{
    if (!m_canvas)
        m_canvas = std::make_unique<TCanvas>(&m_image);
    return *m_canvas;
}

const QImage &TPixelBitmap::Image()
{
    flush();
    return m_image;
}

uchar *TPixelBitmap::ScanLine(int y)
{
    flush();
    return m_image.scanLine(y);
}

void TPixelBitmap::Assign(const QImage &image)
{
    flush();
    switch (image.format()) {
    case QImage::Format_RGB888:
        m_format = TPixelFormat::pf24bit;
        break;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        m_format = TPixelFormat::pf32bit;
        break;
    default:
        m_format = TPixelFormat::pfDevice;
        break;
    }
    m_image = image.isNull() ? QImage() : image.convertToFormat(qtFormat(m_format));
}

void TPixelBitmap::Assign(TPixelBitmap &source)
{
    if (&source != this)
        Assign(source.Image());
}

void TPixelBitmap::Assign(TBitmap &source)
{
    Assign(source.Image());
}

// ---- TGridAlphaMask ---------------------------------------------------------------------------

TGridAlphaMask::TGridAlphaMask()
{
    SetPixelFormat(TPixelFormat::pf32bit);
}

void TGridAlphaMask::Assign(const QImage &image)
{
    TPixelBitmap::Assign(image);
    SetPixelFormat(TPixelFormat::pf32bit);
}

void TGridAlphaMask::Assign(TPixelBitmap &source)
{
    auto *mask = dynamic_cast<TGridAlphaMask *>(&source);
    if (!mask) {
        TPixelBitmap::Assign(source);
        return;
    }
    if (mask == this)
        return;
    Opacity = mask->Opacity;
    // Rows are copied into this mask's own pixels; it takes the source's size first so a
    // smaller mask is never written past its end.
    SetPixelFormat(TPixelFormat::pf32bit);
    SetSize(mask->Width(), mask->Height());
    const QImage &src = mask->Image();
    for (int y = 0; y < src.height(); ++y)
        std::memcpy(ScanLine(y), src.constScanLine(y), std::size_t(src.width()) * 4);
}

void TGridAlphaMask::MergeMask(TPixelBitmap &Mask, TPixelBitmap &Bitmap, TColor Color)
{
    Q_UNUSED(Color);
    if (Bitmap.PixelFormat() != TPixelFormat::pf24bit)
        return;
    flush();
    const int w = Bitmap.Width(), h = Bitmap.Height();
    if (w == 0 || h == 0) {
        m_image = QImage();
        return;
    }
    m_image = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
    const QImage &colour = Bitmap.Image();
    // The mask is meant to be a 24-bit bitmap of the same size; any other still gives its red.
    QImage alpha = Mask.Image();
    if (!alpha.isNull() && alpha.format() != QImage::Format_RGB888)
        alpha = alpha.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < h; ++y) {
        const uchar *c = colour.constScanLine(y);
        const uchar *m = y < alpha.height() ? alpha.constScanLine(y) : nullptr;
        auto *out = reinterpret_cast<QRgb *>(m_image.scanLine(y));
        for (int x = 0; x < w; ++x, c += 3) {
            const unsigned a = (m && x < alpha.width()) ? m[3 * x] : 0;
            // Exact halves cannot occur for n * a / 255, so +127 rounds as "nearest".
            auto pre = [a](unsigned v) { return int((v * a + 127) / 255); };
            out[x] = qRgba(pre(c[0]), pre(c[1]), pre(c[2]), int(a));
        }
    }
}

// ---- mask blur --------------------------------------------------------------------------------

TBlurKernel MakeBlurKernel(double Radius)
{
    TBlurKernel kernel;
    double sum = 0;
    for (int k = -10; k <= 10; ++k) {
        double v;
        if (Radius > 0) {
            const double t = k / Radius;
            v = std::exp(-t * t / 2);
        } else {
            // The limit of a vanishing radius: no blur instead of dividing by zero.
            v = k == 0 ? 1.0 : 0.0;
        }
        kernel.Weights[std::size_t(k + 10)] = v;
        sum += v;
    }
    for (double &v : kernel.Weights)
        v /= sum;

    // Drop outer weights while what was dropped stays below half a grey level.
    int j = 10;
    double dropped = 0;
    while (dropped < 1.0 / 510 && j > 1) {
        dropped += 2 * kernel.w(j);
        --j;
    }
    kernel.J = j;
    sum = 0;
    for (int k = -j; k <= j; ++k)
        sum += kernel.w(k);
    for (int k = -10; k <= 10; ++k) {
        double &v = kernel.Weights[std::size_t(k + 10)];
        v = (k >= -j && k <= j) ? v / sum : 0.0;
    }
    return kernel;
}

void BlurMaskLine(uint8_t *Pixels, int n, const TBlurKernel &Kernel)
{
    if (n <= 0)
        return;
    std::vector<uint8_t> scratch(std::size_t(n) * 3);
    for (int a = 0; a < n; ++a) {
        for (int ch = 0; ch < 3; ++ch) {
            double v = 0;
            for (int k = -Kernel.J; k <= Kernel.J; ++k) {
                const int p = std::clamp(a - k, 0, n - 1);
                v += Kernel.w(k) * Pixels[3 * p + ch];
            }
            scratch[std::size_t(3 * a + ch)] = uint8_t(std::clamp(std::nearbyint(v), 0.0, 255.0));
        }
    }
    std::memcpy(Pixels, scratch.data(), scratch.size());
}

void BlurMaskBitmap(TPixelBitmap &Bitmap, double Radius)
{
    if (Bitmap.PixelFormat() != TPixelFormat::pf24bit)
        throw EQrlGridError(QStringLiteral("Blur only works for 24-bit bitmaps"));
    const int w = Bitmap.Width(), h = Bitmap.Height();
    if (w == 0 || h == 0)
        return;
    const TBlurKernel kernel = MakeBlurKernel(Radius);

    for (int y = 0; y < h; ++y) {
        uint8_t *row = Bitmap.ScanLine(y);
        if (y <= 20 || y >= h - 20)
            BlurMaskLine(row, w, kernel);
        else
            std::memcpy(row, Bitmap.ScanLine(15), std::size_t(w) * 3);
    }

    std::vector<uint8_t> column(std::size_t(h) * 3);
    for (int x = 0; x < w; ++x) {
        if (x <= 20 || x >= w - 20) {
            for (int y = 0; y < h; ++y)
                std::memcpy(&column[std::size_t(3 * y)], Bitmap.ScanLine(y) + 3 * x, 3);
            BlurMaskLine(column.data(), h, kernel);
            for (int y = 0; y < h; ++y)
                std::memcpy(Bitmap.ScanLine(y) + 3 * x, &column[std::size_t(3 * y)], 3);
        } else {
            for (int y = 0; y < h; ++y) {
                uint8_t *row = Bitmap.ScanLine(y);
                std::memcpy(row + 3 * x, row + 3 * 15, 3);
            }
        }
    }
}

void MakeRoundRectMask(
    TPixelBitmap &Bitmap, int Width, int Height, int PenWidth, int CornerRadius, double BlurRadius)
{
    Bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    Bitmap.SetSize(Width, Height);
    if (Bitmap.Empty())
        return;
    TCanvas &canvas = Bitmap.Canvas();
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(clBlack);
    canvas.FillRect(Rect(0, 0, Width, Height));

    const int c = PenWidth / 2;
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    canvas.Pen().SetColor(clWhite);
    if (PenWidth < 1) {
        canvas.Pen().SetWidth(1);
        canvas.Brush().SetColor(clWhite);
    } else {
        canvas.Pen().SetWidth(PenWidth);
    }
    canvas.RoundRect(c + 2, c + 2, Width - c - 2, Height - c - 2, CornerRadius, CornerRadius);
    canvas.Flush();

    if (BlurRadius > 0)
        BlurMaskBitmap(Bitmap, BlurRadius);
}
