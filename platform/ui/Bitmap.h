// An off-screen picture with its own canvas, as drawing code used the toolkit's bitmap:
// size, pixel canvas, and an optional transparent colour that Draw leaves out.
#pragma once

#include "platform/ui/Canvas.h"

#include <QImage>
#include <QString>

#include <memory>

class TBitmap
{
public:
    TBitmap();
    TBitmap(int width, int height);
    explicit TBitmap(const QImage &image);
    ~TBitmap();

    TBitmap(const TBitmap &other);
    TBitmap &operator=(const TBitmap &other);

    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    bool Empty() const { return m_image.isNull(); }
    // Resizing keeps the overlapping part of the picture; new pixels are white.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }

    TCanvas &Canvas();
    // The picture as drawn so far (ends the canvas's painter first).
    const QImage &Image();
    void Assign(const QImage &image);
    bool LoadFromFile(const QString &path);

    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool on) { m_transparent = on; }
    // clDefault means the colour of the bottom-left pixel.
    TColor TransparentColor();
    void SetTransparentColor(TColor c) { m_transparentColor = c; }

private:
    QImage m_image;
    std::unique_ptr<TCanvas> m_canvas;
    bool m_transparent = false;
    TColor m_transparentColor = clDefault;
};
