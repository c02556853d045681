// Bitmaps with an explicit pixel format, the 32-bit alpha mask of the grid's layered windows
// and the blurred rounded-rectangle mask its focus frame is built from.
#pragma once

#include "platform/ui/Canvas.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <memory>

class TBitmap;

// pfDevice is the screen-compatible format (QImage::Format_RGB32), pf24bit three bytes per
// pixel (Format_RGB888), pf32bit four bytes with premultiplied alpha
// (Format_ARGB32_Premultiplied).
enum class TPixelFormat { pfDevice, pf24bit, pf32bit };

// An off-screen bitmap whose pixel format stays as set, unlike TBitmap, so code that works on
// the raw rows knows their layout.
class TPixelBitmap
{
public:
    TPixelBitmap();
    virtual ~TPixelBitmap();
    TPixelBitmap(const TPixelBitmap &) = delete;
    TPixelBitmap &operator=(const TPixelBitmap &) = delete;

    TPixelFormat PixelFormat() const { return m_format; }
    // Converts the pixels already there.
    void SetPixelFormat(TPixelFormat format);

    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    bool Empty() const { return m_image.isNull(); }
    // Keeps the overlapping part; new pixels are zero (black, transparent in pf32bit).
    void SetSize(int width, int height);

    TCanvas &Canvas();
    // The pixels as drawn so far (ends the canvas's painter first).
    const QImage &Image();
    // Raw row y in the layout of PixelFormat().
    uchar *ScanLine(int y);

    // Copies the pixels; the format follows the source (RGB888 -> pf24bit, ARGB32 kinds ->
    // pf32bit, anything else becomes pfDevice).
    virtual void Assign(const QImage &image);
    virtual void Assign(TPixelBitmap &source);
    void Assign(TBitmap &source);

protected:
    void flush();
    QImage m_image;

private:
    TPixelFormat m_format = TPixelFormat::pfDevice;
    std::unique_ptr<TCanvas> m_canvas;
};

// 32-bit mask with premultiplied alpha, shown through a layered window with constant alpha
// Opacity on top.
class TGridAlphaMask : public TPixelBitmap
{
public:
    TGridAlphaMask();

    // From another mask: Opacity and the pixels (this mask takes the source's size first).
    // From anything else: the pixels. The format is pf32bit afterwards either way.
    void Assign(const QImage &image) override;
    void Assign(TPixelBitmap &source) override;
    using TPixelBitmap::Assign;

    // Only for a 24-bit Bitmap: takes its size and gives each pixel alpha = red of the same
    // pixel of Mask (0 outside Mask) and Bitmap's colour premultiplied by it. Color is unused.
    void MergeMask(TPixelBitmap &Mask, TPixelBitmap &Bitmap, TColor Color);

    std::uint8_t Opacity = 255;
};

// Normalised Gaussian weights for k = -10..10; only -J..J are used.
struct TBlurKernel
{
    int J = 10;
    std::array<double, 21> Weights{};
    double w(int k) const { return Weights[std::size_t(k + 10)]; }
};

TBlurKernel MakeBlurKernel(double Radius);
// Blurs n pixels of three bytes each in place; pixels beyond the ends repeat the end ones.
void BlurMaskLine(uint8_t *Pixels, int n, const TBlurKernel &Kernel);
// Blurs a 24-bit mask whose inside is uniform: only the 21-pixel border band is computed, the
// inside repeats row 15 and column 15. Throws EQrlGridError for any other pixel format,
// before touching the bitmap.
void BlurMaskBitmap(TPixelBitmap &Bitmap, double Radius);
// Bitmap becomes a 24-bit black Width x Height picture with a white rounded rectangle, an
// outline of PenWidth (filled when PenWidth < 1), blurred when BlurRadius > 0.
void MakeRoundRectMask(
    TPixelBitmap &Bitmap, int Width, int Height, int PenWidth, int CornerRadius, double BlurRadius);
