// Cell content drawing over TCanvas; see QrlCellPaint.h.
#include "grid/display/QrlCellPaint.h"

#include "grid/model/QrlGridDraw.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlHTMLText.h"
#include "platform/ui/Bitmap.h"

#include <algorithm>
#include <cstdlib>

namespace {
std::uint32_t hFlag(TAlignment a)
{
    switch (a) {
    case TAlignment::taRightJustify:
        return DT_RIGHT;
    case TAlignment::taCenter:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

std::uint32_t vFlag(TVAlignment a)
{
    switch (a) {
    case TVAlignment::vtaCenter:
        return DT_VCENTER;
    case TVAlignment::vtaBottom:
        return DT_BOTTOM;
    default:
        return DT_TOP;
    }
}

int sortGlyphY(TVAlignment a, const TRect &r)
{
    switch (a) {
    case TVAlignment::vtaCenter:
        return (r.Top + r.Bottom) / 2;
    case TVAlignment::vtaBottom:
        return r.Bottom - 8;
    default:
        return r.Top + 8;
    }
}

// The sort glyph beside a plain text of width TextWidth in the text rectangle r.
void paintSortGlyph(TCanvas &canvas, const TCellPaintView &v, const TRect &r, int TextWidth)
{
    const int w = std::max(0, std::min(TextWidth, r.Width() - 16));
    int x = r.Left + 8;
    if (v.hAlign == TAlignment::taLeftJustify)
        x = r.Left + w + v.sortGlyphOffset + 10;
    else if (v.hAlign == TAlignment::taRightJustify)
        x = r.Right - w - 10;
    v.sortGlyph(canvas, x, sortGlyphY(v.vAlign, r));
}

bool hasGlyph(const TBitmap *b)
{
    return b && !b->Empty();
}

// Per channel, From + (To - From) * Pos / Extent.
TColor interpolate(TColor From, TColor To, int Pos, int Extent)
{
    const TColor f = ColorToRGB(From);
    const TColor t = ColorToRGB(To);
    if (Extent <= 0)
        return f;
    Pos = std::clamp(Pos, 0, Extent);
    const auto ch = [&](int a, int b) { return a + (b - a) * Pos / Extent; };
    return RGB(ch(GetRValue(f), GetRValue(t)), ch(GetGValue(f), GetGValue(t)),
               ch(GetBValue(f), GetBValue(t)));
}

// The part of the bitmap whose top-left stands at (x, y) that lies in the cell.
void drawBitmapPart(TCanvas &canvas, TBitmap &bmp, const TRect &cell, int x, int y)
{
    const TRect placed = Bounds(x, y, bmp.Width(), bmp.Height());
    TRect part;
    if (!IntersectRect(part, placed, cell))
        return;
    const TColor transparent = bmp.TransparentColor();
    canvas.DrawTransparent(part.Left, part.Top, bmp.Image(),
                           Bounds(part.Left - x, part.Top - y, part.Width(), part.Height()),
                           transparent);
}

} // namespace

void PaintSortIndicator(TCanvas &canvas, const TSortGlyphView &v, int X, int Y)
{
    const TBitmap *glyph = nullptr;
    if (v.indexShow && v.indexPosition > 0)
        glyph = v.indexNegative ? v.indexUpGlyph : v.indexDownGlyph;
    else if (!v.indexShow)
        glyph = v.descending ? v.downGlyph : v.upGlyph;
    const bool indexGlyphs = hasGlyph(v.indexUpGlyph) && hasGlyph(v.indexDownGlyph);
    const bool glyphs = hasGlyph(v.upGlyph) && hasGlyph(v.downGlyph);
    const bool bitmap = (v.indexShow ? indexGlyphs : glyphs) && hasGlyph(glyph);
    if (v.rightToLeft)
        X = v.clientWidth - X - 4 - (bitmap ? glyph->Width() + 7 : 7);

    auto drawGlyph = [&](const TBitmap &b, int x, int y) {
        TBitmap copy(b);
        canvas.Draw(x, y, copy);
        canvas.Brush().SetColor(v.fixedColor);
    };

    if (v.indexShow) {
        if (v.indexPosition <= 0)
            return;
        TFont oldFont(canvas.Font());
        canvas.Brush().SetColor(v.indexColor);
        canvas.SetBkMode(TBkMode::bkTransparent);
        canvas.Font().SetColor(clBlack);
        canvas.Font().SetSize(6);
        const QString pos = QString::number(v.indexPosition);
        if (v.indexNegative) {
            if (indexGlyphs)
                drawGlyph(*v.indexUpGlyph, X - 7, Y - 7);
            else
                canvas.Polygon({{X - 7, Y - 5}, {X + 7, Y - 5}, {X, Y + 8}});
            canvas.SetBkMode(TBkMode::bkTransparent);
            canvas.TextOut(X - 2, Y - 4, pos);
        } else {
            if (indexGlyphs)
                drawGlyph(*v.indexDownGlyph, X - 7, Y - 7);
            else
                canvas.Polygon({{X - 6, Y + 8}, {X + 6, Y + 8}, {X, Y - 4}});
            canvas.SetBkMode(TBkMode::bkTransparent);
            canvas.TextOut(X - 2, Y - 2, pos);
        }
        canvas.Font().Assign(oldFont);
        return;
    }

    if (glyphs) {
        drawGlyph(v.descending ? *v.downGlyph : *v.upGlyph, X - 4, Y - 4);
        return;
    }
    // A 3-D outline: lit edges white, shaded edges grey.
    TPen &pen = canvas.Pen();
    const TColor oldColor = pen.Color();
    if (v.descending) {
        pen.SetColor(clWhite);
        canvas.MoveTo(X + 4, Y - 4);
        canvas.LineTo(X, Y + 4);
        pen.SetColor(clGray);
        canvas.LineTo(X - 4, Y - 4);
        canvas.LineTo(X + 4, Y - 4);
    } else {
        pen.SetColor(clWhite);
        canvas.MoveTo(X - 4, Y + 4);
        canvas.LineTo(X + 4, Y + 4);
        canvas.LineTo(X, Y - 4);
        pen.SetColor(clGray);
        canvas.LineTo(X - 4, Y + 4);
    }
    pen.SetColor(oldColor);
}

void PaintBackgroundTiled(
    TCanvas &canvas, const TBitmap &bitmap, const TRect &cell, int OriginX, int OriginY)
{
    if (bitmap.Empty())
        return;
    TBitmap bmp(bitmap);
    const int bw = bmp.Width();
    const int bh = bmp.Height();
    const int x0 = cell.Left - ((OriginX % bw) + bw) % bw;
    const int y0 = cell.Top - ((OriginY % bh) + bh) % bh;
    for (int y = y0; y < cell.Bottom; y += bh)
        for (int x = x0; x < cell.Right; x += bw)
            drawBitmapPart(canvas, bmp, cell, x, y);
}

void PaintBackgroundFixed(TCanvas &canvas, const TBitmap &bitmap, const TRect &cell, TPoint At)
{
    if (bitmap.Empty())
        return;
    TBitmap bmp(bitmap);
    drawBitmapPart(canvas, bmp, cell, At.X, At.Y);
}

void PaintBackgroundGradient(
    TCanvas &canvas, const TRect &cell, TColor From, TColor To, bool Horizontal, int Extent)
{
    const int a = Horizontal ? cell.Left : cell.Top;
    const int b = Horizontal ? cell.Right : cell.Bottom;
    if (b <= a)
        return;
    const TColor c1 = interpolate(From, To, a, Extent);
    const TColor c2 = interpolate(From, To, b, Extent);
    canvas.GradientFill(cell, c1, c2,
                        Horizontal ? TGradientDirection::gdHorizontal
                                   : TGradientDirection::gdVertical,
                        std::min(128, b - a));
}

std::uint32_t CellTextFlags(const TCellPaintView &v, QString &text)
{
    std::uint32_t flags = DT_EXPANDTABS | DT_NOPREFIX | hFlag(v.hAlign) | vFlag(v.vAlign);
    const bool singleLine = !v.multilineCells || CountLines(text, true) == 1;
    if (!v.wordWrap && singleLine) {
        if (text.contains(QChar(u'\r'))) {
            QString rest = text;
            CutFirstLine(rest, false, text);
        }
        flags |= DT_SINGLELINE;
        if (v.enhTextSize)
            flags |= DT_END_ELLIPSIS;
    } else {
        // Multi-line text is laid out from the top whatever the vertical alignment: the
        // platform's DrawText centres and bottom-aligns single lines only.
        flags |= DT_WORDBREAK | DT_EDITCONTROL;
        if (v.wordWrap && v.enhTextSize && !v.multilineCells)
            flags |= DT_END_ELLIPSIS;
    }
    if (v.rightToLeft) {
        if (flags & DT_RIGHT)
            flags &= ~DT_RIGHT;
        else if (!(flags & DT_CENTER))
            flags |= DT_RIGHT;
        flags |= DT_RTLREADING;
    }
    return flags;
}

TRect CellTextRect(const TCellPaintView &v, const TRect &rect)
{
    TRect r = rect;
    if (v.fixed) {
        r.Left += v.gridLineWidth;
        r.Top += v.gridLineWidth;
    }
    r.Left += v.xyOffset.X;
    r.Top += v.xyOffset.Y;
    if (!v.xyOffsetTopLeftOnly)
        r.Right -= v.xyOffset.X;
    if (v.hasGraphic) {
        switch (v.graphicHAlign) {
        case TCellHAlign::haBeforeText:
            r.Left += v.graphicSize.X;
            break;
        case TCellHAlign::haAfterText:
            r.Right -= v.graphicSize.X;
            break;
        default:
            break;
        }
        switch (v.graphicVAlign) {
        case TCellVAlign::vaAboveText:
            r.Top += v.graphicSize.Y;
            break;
        case TCellVAlign::vaUnderText:
            r.Bottom -= v.graphicSize.Y;
            break;
        default:
            break;
        }
    }
    r.Left += v.nodeIndent;
    return r;
}

void PaintSelectionRectangle(TCanvas &canvas, const TCellPaintView &v, const TRect &rect)
{
    if (!(v.selRectLeft || v.selRectTop || v.selRectRight || v.selRectBottom || v.selResizer))
        return;
    TPen &pen = canvas.Pen();
    const TColor oldColor = pen.Color();
    pen.SetColor(v.selRectColor);
    pen.SetWidth(2);
    const int gl = v.gridLineWidth;
    if (v.selRectLeft) {
        canvas.MoveTo(rect.Left - gl + 1, rect.Top - gl);
        canvas.LineTo(rect.Left - gl + 1, rect.Bottom);
    }
    if (v.selRectRight) {
        canvas.MoveTo(rect.Right - 1, rect.Top - gl);
        canvas.LineTo(rect.Right - 1, rect.Bottom);
    }
    if (v.selRectTop) {
        canvas.MoveTo(rect.Left - gl, rect.Top - gl + 1);
        canvas.LineTo(rect.Right, rect.Top - gl + 1);
    }
    if (v.selRectBottom) {
        canvas.MoveTo(rect.Left - gl, rect.Bottom - 1);
        canvas.LineTo(rect.Right, rect.Bottom - 1);
    }
    if (v.selResizer) {
        TBrush old;
        old.Assign(canvas.Brush());
        canvas.Brush().SetColor(v.selRectColor);
        canvas.FillRect({rect.Right - 4, rect.Bottom - 4, rect.Right, rect.Bottom});
        canvas.Brush().Assign(old);
    }
    pen.SetWidth(1);
    pen.SetColor(oldColor);
}

int PaintRichTextStub(TCanvas &canvas, const QString &rtf, TRect r, std::uint32_t flags)
{
    // The rich-text engine is not there yet: the group delimiters and control words go.
    QString plain;
    plain.reserve(rtf.size());
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const QChar c = rtf[i];
        if (c == u'{' || c == u'}')
            continue;
        if (c == u'\\') {
            ++i;
            while (i < rtf.size() && rtf[i].isLetterOrNumber())
                ++i;
            if (i < rtf.size() && rtf[i] != u' ')
                --i;
            continue;
        }
        plain += c;
    }
    plain = plain.trimmed();
    canvas.DrawText(plain, r, flags);
    return canvas.TextWidth(plain);
}

void ZoomFont(TFont &font, int Zoom)
{
    if (Zoom == 0)
        return;
    font.SetSize(std::max(1, std::abs(font.Size()) + Zoom));
}

TCellContentResult PaintCellContent(TCanvas &canvas, const TCellPaintView &v, const TRect &rect)
{
    TCellContentResult res;
    res.textHeight = canvas.TextHeight(QStringLiteral("hg"));
    res.vFlags = vFlag(v.vAlign);

    PaintSelectionRectangle(canvas, v, rect);
    if (!v.showText || v.text.isEmpty()) {
        res.textRect = CellTextRect(v, rect);
        // An empty header still shows its sort glyph.
        if (v.showText && v.sortGlyph)
            paintSortGlyph(canvas, v, res.textRect, 0);
        return res;
    }

    TRect r = CellTextRect(v, rect);
    res.textRect = r;
    QString text = v.text;
    if (v.password)
        text = QString(text.size(), v.passwordChar);

    if (v.textKind == ctkHTML) {
        TRect hr = r;
        hr.Left -= 1;
        if (v.sortGlyph)
            hr.Right -= 10;
        THTMLPaintParams p = v.html;
        p.HitX = hr.Left;
        p.HitY = hr.Top;
        p.TestOnly = false;
        p.MeasureOnly = false;
        p.WordWrap = !v.enhTextSize;
        p.UrlColor = v.urlColor;
        p.RightToLeft = v.rightToLeft;
        THTMLPaintResult found;
        PaintHTMLText(canvas, text, hr, p, found);
        res.textWidth = found.TextWidth + 2;
        res.textRect = hr;
        if (v.sortGlyph)
            v.sortGlyph(canvas, hr.Right + 2, sortGlyphY(v.vAlign, r));
        return res;
    }
    if (v.textKind == ctkRTF) {
        canvas.FillRect(r);
        canvas.Brush().SetStyle(TBrushStyle::bsClear);
        PaintRichTextStub(canvas, text, r, DT_WORDBREAK | DT_NOPREFIX);
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        return res;
    }

    const TRect glyphRect = r;
    if (v.sortIndicatorCell && v.hAlign == TAlignment::taCenter)
        r.Left += 10;

    const bool url = v.urlShow && !v.password && IsURLText(text);
    TFont oldFont(canvas.Font());
    if (url) {
        if (!v.urlFull)
            StripURLScheme(text);
        canvas.Font().SetStyle(canvas.Font().Style() | TFontStyle::fsUnderline);
        canvas.Font().SetColor(v.urlColor);
    }

    const std::uint32_t flags = CellTextFlags(v, text);
    canvas.SetBkMode(TBkMode::bkTransparent);
    if (v.hasGraphic) {
        TRect calc = r;
        canvas.DrawText(text, calc, flags | DT_CALCRECT);
        res.textWidth = calc.Width() + 2;
    }
    const int drawnHeight = canvas.DrawText(text, r, flags);

    if (v.errorLength > 0 && v.errorUnderlineAllowed) {
        // The marker follows the first line as drawn: its left end by the alignment (the
        // routine counts from an edit's 2-pixel text margin) and its top by the vertical flags.
        const int lh = canvas.TextHeight(text);
        const bool single = flags & DT_SINGLELINE;
        const int w = single ? canvas.TextWidth(text)
                             : std::min(canvas.TextWidth(text), std::max(0, r.Width()));
        int x = r.Left;
        if (flags & DT_CENTER)
            x = r.Left + (r.Width() - w) / 2;
        else if (flags & DT_RIGHT)
            x = r.Right - w;
        const int yOffset = single && (flags & (DT_VCENTER | DT_BOTTOM)) ? drawnHeight - lh : 0;
        const TRect line{x - 2, r.Top, x - 2 + r.Width(), r.Bottom};
        DrawErrorUnderline(nullptr, canvas, text, v.errorLength, v.errorStart, yOffset, line);
    }

    if (v.sortGlyph)
        paintSortGlyph(canvas, v, glyphRect, canvas.TextWidth(text));

    if (url)
        canvas.Font().Assign(oldFont);
    return res;
}
