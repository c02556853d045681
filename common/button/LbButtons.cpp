#include "common/button/LbButtons.h"

#include <algorithm>

bool LbIsTransparentStyle(TLbButtonStyle style)
{
    return style == TLbButtonStyle::bsModern || style == TLbButtonStyle::bsShape ||
           style == TLbButtonStyle::bsQuicken;
}

TColor LbBlendHotTrack(TColor face, TColor hot, int step)
{
    step = std::clamp(step, 0, 8);
    face = ColorToRGB(face);
    hot = ColorToRGB(hot);
    // (1 - s) * face + s * hot with s = step / 8, done in integers so it truncates exactly.
    auto mix = [step](int f, int h) { return (f * (8 - step) + h * step) / 8; };
    return RGB(mix(GetRValue(face), GetRValue(hot)), mix(GetGValue(face), GetGValue(hot)),
               mix(GetBValue(face), GetBValue(hot)));
}

void LbGradientFill(TCanvas &canvas, const TRect &rect, TColor from, TColor to)
{
    from = ColorToRGB(from);
    to = ColorToRGB(to);
    const int span = rect.Bottom - rect.Top;
    const int bandHeight = span / 31 + 1;
    const TBrush savedBrush = canvas.Brush();
    for (int i = 0; i < 32; ++i) {
        const int top = rect.Top + i * span / 31;
        const int bottom = std::min(top + bandHeight, rect.Bottom);
        if (bottom <= top)
            continue;
        // s + i * (e - s) / 31 truncated as a whole: a falling channel rounds down too. The
        // numerator (31 - i) * s + i * e is never negative, so integer division truncates it.
        auto channel = [i](int s, int e) { return (s * 31 + i * (e - s)) / 31; };
        canvas.Brush().SetColor(RGB(channel(GetRValue(from), GetRValue(to)),
                                    channel(GetGValue(from), GetGValue(to)),
                                    channel(GetBValue(from), GetBValue(to))));
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        canvas.FillRect(Rect(rect.Left, top, rect.Right, bottom));
    }
    canvas.Brush() = savedBrush;
}

void LbDrawGlyphTransparent(
    TCanvas &canvas, const QImage &glyph, int numGlyphs, int index, int x, int y)
{
    if (glyph.isNull() || numGlyphs <= 0 || index < 0 || index >= numGlyphs)
        return;
    const int cellWidth = glyph.width() / numGlyphs;
    if (cellWidth <= 0)
        return;
    const int left = index * cellWidth;
    const TColor key = FromQColor(QColor::fromRgb(glyph.pixel(left, glyph.height() - 1)));
    canvas.DrawTransparent(x, y, glyph, Rect(left, 0, left + cellWidth, glyph.height()), key);
}

namespace {

void line(TCanvas &c, TColor color, int x1, int y1, int x2, int y2)
{
    c.Pen().SetColor(color);
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
}

// Top and left edge from the lower-left corner up and across in `topLeft`, then on round the
// right and bottom edge in `bottomRight`.
void edges(TCanvas &c, int w, int h, TColor topLeft, TColor bottomRight)
{
    c.Pen().SetColor(topLeft);
    c.MoveTo(0, h - 1);
    c.LineTo(0, 0);
    c.LineTo(w - 1, 0);
    c.Pen().SetColor(bottomRight);
    c.LineTo(w - 1, h - 1);
    c.LineTo(0, h - 1);
}

std::uint32_t alignmentFlag(TLbAlignment a)
{
    switch (a) {
    case TLbAlignment::taLeftJustify:
        return DT_LEFT;
    case TLbAlignment::taRightJustify:
        return DT_RIGHT;
    case TLbAlignment::taCenter:
        break;
    }
    return DT_CENTER;
}

} // namespace

void LbDrawButtonFace(TCanvas &c, const TLbFace &f)
{
    using S = TLbButtonStyle;
    const int W = f.Width;
    const int H = f.Height;
    const bool pressed = f.Pressed && f.Enabled;
    const int offset = pressed && f.Style != S::bsEncarta ? 1 : 0;

    const TColor light = ColorToRGB(f.LightColor);
    const TColor shadow = ColorToRGB(f.ShadowColor);
    TColor face = ColorToRGB(f.FaceColor);
    if (f.Enabled && f.HotTrackColor != clNone)
        face = LbBlendHotTrack(face, f.HotTrackColor, f.HotTrackStep);
    if (pressed && f.DownColor != clNone)
        face = ColorToRGB(f.DownColor);

    c.Pen().SetStyle(TPenStyle::psSolid);
    c.Pen().SetWidth(1);
    c.Brush().SetStyle(TBrushStyle::bsSolid);

    // Fill
    switch (f.Style) {
    case S::bsShape:
        c.Brush().SetColor(LbTransparentKey);
        c.FillRect(Rect(0, 0, W, H));
        break;
    case S::bsNormal:
    case S::bsEncarta:
    case S::bsOld:
        c.Brush().SetColor(face);
        c.FillRect(Rect(0, 0, W, H));
        break;
    case S::bsModern: {
        const int split = H / 4 + offset;
        LbGradientFill(c, Rect(2, 2, W - 2, split), light, face);
        LbGradientFill(c, Rect(2, split, W - 2, H - 1), face, light);
        break;
    }
    case S::bsQuicken:
        break;
    }

    // Edges
    const bool drawEdges = !(f.Flat && !f.Hot && !pressed) && !(f.Flat && !f.Enabled);
    if (drawEdges) {
        switch (f.Style) {
        case S::bsNormal:
        case S::bsEncarta:
            if (pressed)
                edges(c, W, H, shadow, light);
            else
                edges(c, W, H, light, shadow);
            break;
        case S::bsOld: {
            const TColor dark = ColorToRGB(cl3DDkShadow);
            if (pressed) {
                c.Pen().SetColor(shadow);
                c.MoveTo(1, H - 2);
                c.LineTo(1, 1);
                c.LineTo(W - 1, 1);
                edges(c, W, H, dark, light);
            } else {
                c.Pen().SetColor(shadow);
                c.MoveTo(1, H - 2);
                c.LineTo(W - 2, H - 2);
                c.LineTo(W - 2, 0);
                edges(c, W, H, light, dark);
            }
            break;
        }
        case S::bsModern:
            c.Brush().SetStyle(TBrushStyle::bsClear);
            c.Pen().SetColor(pressed ? shadow : face);
            c.Rectangle(1, 1, W - 1, H - 1);
            c.Pen().SetColor(shadow);
            c.RoundRect(0, 0, W, H, 6, 6);
            c.Brush().SetStyle(TBrushStyle::bsSolid);
            break;
        case S::bsQuicken:
            c.Brush().SetColor(face);
            c.Pen().SetStyle(TPenStyle::psClear);
            c.RoundRect(0, 1, W, H, 4, 4);
            c.Pen().SetStyle(TPenStyle::psSolid);
            line(c, shadow, 4, 0, W - 5, 0);
            line(c, shadow, 4, H - 1, W - 5, H - 1);
            break;
        case S::bsShape:
            break;
        }
    }

    // Caption font and format
    TFont font = f.Font;
    if (f.Style == S::bsEncarta && pressed)
        font.SetStyle(font.Style() | TFontStyle::fsBold);
    if (!f.Enabled)
        font.SetColor(clGray);
    c.SetFont(font);
    const std::uint32_t format = DT_WORDBREAK | alignmentFlag(f.Alignment);

    // Picture cell
    int cell = 0;
    if (f.Enabled) {
        if (f.Hot && f.NumGlyphs > 3)
            cell = 3;
        if (pressed && f.NumGlyphs > 2)
            cell = 2;
    } else {
        cell = 1;
    }
    const bool hasGlyph = !f.Glyph.isNull() && f.NumGlyphs > 0 && f.Glyph.width() >= f.NumGlyphs;
    const int Gw = hasGlyph ? f.Glyph.width() / f.NumGlyphs : 0;
    const int Gh = hasGlyph ? f.Glyph.height() : 0;

    // Placement
    const bool sideLayout =
        f.Layout == TLbButtonLayout::blGlyphLeft || f.Layout == TLbButtonLayout::blGlyphRight;
    int textWidth = W - 8;
    if (f.Style != S::bsShape && sideLayout && hasGlyph)
        textWidth = W - Gw - 12;
    textWidth = std::max(textWidth, 0);

    QString caption = f.Caption;
    if (!f.WordWrap) {
        auto singleLineWidth = [&c](const QString &text) {
            TRect r = Rect(0, 0, 0, 0);
            c.DrawText(text, r, DT_CALCRECT | DT_SINGLELINE);
            return r.Width();
        };
        while (!caption.isEmpty() && singleLineWidth(caption) > textWidth)
            caption.chop(1);
    }
    TRect measured = Rect(0, 0, textWidth, 0);
    if (!caption.isEmpty())
        c.DrawText(caption, measured, DT_CALCRECT | format);
    const int Th = caption.isEmpty() ? 0 : measured.Height();
    const int Tw = caption.isEmpty() ? 0 : measured.Width();

    int textLeft = 0;
    int textTop = 0;
    bool shapeCentred = false;
    int glyphLeft = 0;
    int glyphTop = 0;
    auto glyphByAlignment = [&](int leftX, int rightX, int centreX) {
        switch (f.Alignment) {
        case TLbAlignment::taLeftJustify:
            return leftX;
        case TLbAlignment::taRightJustify:
            return rightX;
        case TLbAlignment::taCenter:
            break;
        }
        return centreX;
    };

    if (f.Style == S::bsShape) {
        glyphLeft = (W - Gw) / 2;
        glyphTop = (H - Gh) / 2;
        textLeft = (W - textWidth) / 2;
        textTop = (H - Th) / 2 + offset;
        shapeCentred = true;
    } else if (!sideLayout) {
        const int block = hasGlyph ? Th + Gh + 4 : Th;
        const int C = (H - block) / 2;
        if (f.Layout == TLbButtonLayout::blGlyphTop) {
            glyphTop = C + offset;
            textTop = C + Gh + offset;
        } else {
            textTop = C + offset;
            glyphTop = C + Th + offset;
        }
        textLeft = offset + 4;
        glyphLeft = glyphByAlignment(offset + 4, W + offset - Gw - 4, (W - Gw) / 2 + offset);
    } else {
        textTop = (H - Th) / 2 + offset;
        glyphTop = (H - Gh) / 2 + offset;
        const int S = caption.isEmpty() ? 0 : Tw + 4;
        const bool leftPlaced = f.WordWrap || f.Alignment == TLbAlignment::taLeftJustify;
        if (f.Layout == TLbButtonLayout::blGlyphLeft) {
            textLeft = offset + 4 + (hasGlyph ? Gw + 4 : 0);
            glyphLeft = leftPlaced ? offset + 4
                                   : glyphByAlignment(offset + 4, W + offset - Gw - S - 4,
                                                      (W - Gw) / 2 + offset - S / 2);
        } else {
            textLeft = offset + 4;
            glyphLeft = leftPlaced ? offset + 4 + S
                                   : glyphByAlignment(offset + 4 + S, W + offset - Gw - 4,
                                                      (W - Gw) / 2 + offset + S / 2);
        }
    }

    if (!caption.isEmpty()) {
        c.Brush().SetStyle(TBrushStyle::bsClear);
        // A shape button centres its caption over the whole face whatever the alignment.
        const std::uint32_t drawFormat = shapeCentred ? (DT_WORDBREAK | DT_CENTER) : format;
        c.DrawText(caption, Bounds(textLeft, textTop, textWidth, Th), drawFormat);
        c.Brush().SetStyle(TBrushStyle::bsSolid);
    }
    if (hasGlyph)
        LbDrawGlyphTransparent(c, f.Glyph, f.NumGlyphs, cell, glyphLeft, glyphTop);

    if (f.HasPopup) {
        const QImage arrow = LbResourceBitmap(QStringLiteral("LBARROW"));
        LbDrawGlyphTransparent(c, arrow, 1, 0, W - 11, H / 2 - 1);
    }
}

namespace {

constexpr TLbScheme kSchemes[] = {
    // lcsGold
    {0x00C0C0, 0x00FFFF, 0x008080, clNone, 0x00DFDF, false, clBlack, TLbButtonStyle::bsModern},
    // lcsChrome
    {0xC0C0C0, 0xFFFFFF, 0x808080, clNone, clNone, false, clBlack, TLbButtonStyle::bsModern},
    // lcsBlue
    {0xFF8000, 0xFFFF00, 0xFF0000, clNone, clNone, false, clBlack, TLbButtonStyle::bsModern},
    // lcsRed
    {0x0000FF, 0xC0C0FF, 0x0000C0, clNone, clNone, false, clBlack, TLbButtonStyle::bsModern},
    // lcsUltraFlat1
    {clBtnFace, 0xB59284, 0xB59284, 0xB59284, 0xDED3D6, true, clBlack, TLbButtonStyle::bsNormal},
    // lcsUltraFlat2
    {clBtnFace, 0x000000, 0x000000, 0x24DABC, 0x8CF6E4, true, clBlack, TLbButtonStyle::bsNormal},
    // lcsUltraFlatXP
    {0xD1D8DB, 0xB59284, 0xB59285, 0xB59285, 0xD2BDB6, true, clBlack, TLbButtonStyle::bsNormal},
    // lcsAqua
    {0xECCE94, 0xFCE6D4, 0x000000, clNone, clNone, false, clBlack, TLbButtonStyle::bsModern},
    // lcsDefault
    {clBtnFace, 0xFFFFFF, 0x808080, clNone, clNone, false, clBlack, TLbButtonStyle::bsNormal},
    // lcsQuicken
    {0x603000, 0xC0C0C0, 0xC0C0C0, 0xAD6529, 0xCEAE9C, false, clWhite, TLbButtonStyle::bsQuicken},
};

} // namespace

const TLbScheme *LbSchemeColors(TLbColorStyle style)
{
    const int index = static_cast<int>(style) - 1;
    if (index < 0 || index >= static_cast<int>(std::size(kSchemes)))
        return nullptr;
    return &kSchemes[index];
}

TLbButtonThread::TLbButtonThread(std::function<void()> tick) : m_tick(std::move(tick))
{
    m_timer.setInterval(TickInterval);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (!m_terminated && m_tick)
            m_tick();
    });
}

TLbButtonThread::~TLbButtonThread()
{
    Terminate();
}

void TLbButtonThread::Resume()
{
    if (!m_terminated && !m_timer.isActive())
        m_timer.start();
}

void TLbButtonThread::Suspend()
{
    m_timer.stop();
}

void TLbButtonThread::Terminate()
{
    m_terminated = true;
    m_timer.stop();
}
