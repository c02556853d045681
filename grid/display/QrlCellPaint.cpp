// Cell content drawing over TCanvas; see QrlCellPaint.h.
#include "grid/display/QrlCellPaint.h"

#include "grid/model/QrlGridDraw.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlHTMLText.h"

#include <algorithm>

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

} // namespace

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

int PaintHTMLTextStub(TCanvas &canvas, const QString &html, TRect r, std::uint32_t flags)
{
    const QString plain = StripHTMLTags(html);
    canvas.DrawText(plain, r, flags);
    return canvas.TextWidth(plain);
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

TCellContentResult PaintCellContent(TCanvas &canvas, const TCellPaintView &v, const TRect &rect)
{
    TCellContentResult res;
    res.textHeight = canvas.TextHeight(QStringLiteral("hg"));
    res.vFlags = vFlag(v.vAlign);

    PaintSelectionRectangle(canvas, v, rect);
    if (!v.showText || v.text.isEmpty()) {
        res.textRect = CellTextRect(v, rect);
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
        const std::uint32_t flags =
            DT_EXPANDTABS | DT_NOPREFIX | hFlag(v.hAlign) |
            (v.wordWrap && !v.enhTextSize ? DT_WORDBREAK : DT_SINGLELINE | vFlag(v.vAlign));
        canvas.SetBkMode(TBkMode::bkTransparent);
        res.textWidth = PaintHTMLTextStub(canvas, text, hr, flags) + 2;
        return res;
    }
    if (v.textKind == ctkRTF) {
        canvas.FillRect(r);
        canvas.Brush().SetStyle(TBrushStyle::bsClear);
        PaintRichTextStub(canvas, text, r, DT_WORDBREAK | DT_NOPREFIX);
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        return res;
    }

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
    canvas.DrawText(text, r, flags);

    if (v.errorLength > 0 && v.errorUnderlineAllowed)
        DrawErrorUnderline(nullptr, canvas, text, v.errorLength, v.errorStart, 0, r);

    if (url)
        canvas.Font().Assign(oldFont);
    return res;
}
