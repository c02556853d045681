#include "grid/model/QrlGridDraw.h"

#include "grid/model/QrlGridFormat.h"
#include "platform/ui/Bitmap.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

int roundInt(double v)
{
    // Banker's rounding, as the platform's Round does.
    return static_cast<int>(std::nearbyint(v));
}

TColor mixChannels(TColor from, TColor to, double t)
{
    auto ch = [t](int a, int b) { return a + roundInt((b - a) * t); };
    return RGB(ch(GetRValue(from), GetRValue(to)), ch(GetGValue(from), GetGValue(to)),
               ch(GetBValue(from), GetBValue(to)));
}

void penAndBrush(TCanvas &cv, TColor c)
{
    cv.Pen().SetColor(c);
    cv.Pen().SetStyle(TPenStyle::psSolid);
    cv.Brush().SetColor(c);
    cv.Brush().SetStyle(TBrushStyle::bsSolid);
}

void line(TCanvas &cv, int x1, int y1, int x2, int y2)
{
    cv.MoveTo(x1, y1);
    cv.LineTo(x2, y2);
}

const TColorTone &toneOf(const TColorTones &tones, int state)
{
    switch (state) {
    case bsHotState:
        return tones.Hover;
    case bsDownState:
        return tones.Selected;
    case bsDisabledState:
        return tones.Disabled;
    default:
        return tones.Background;
    }
}

} // namespace

// ---- colours ---------------------------------------------------------------------------------

TColor HalveColor(TColor Color)
{
    const TColor c = ColorToRGB(Color);
    return RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2);
}

TColor ScaleColorPercent(TColor Color, int Percent)
{
    const TColor c = ColorToRGB(Color);
    // RGB keeps the low byte of each channel, so a channel past 255 wraps.
    auto ch = [Percent](int v) { return v + roundInt(v * Percent / 100.0); };
    return RGB(ch(GetRValue(c)), ch(GetGValue(c)), ch(GetBValue(c)));
}

TColor InterpolateColor(TColor From, TColor To, int Min, int Pos, int Max)
{
    const TColor f = ColorToRGB(From);
    if (To == clNone || Max == Min)
        return f;
    const TColor t = ColorToRGB(To);
    auto ch = [&](int a, int b) { return a + roundInt(double(b - a) / (Max - Min) * Pos); };
    return RGB(ch(GetRValue(f), GetRValue(t)), ch(GetGValue(f), GetGValue(t)),
               ch(GetBValue(f), GetBValue(t)));
}

QString ColorToHTMLHex(TColor Color)
{
    const TColor c = ColorToRGB(Color);
    return QStringLiteral("%1%2%3")
        .arg(GetRValue(c), 2, 16, QLatin1Char('0'))
        .arg(GetGValue(c), 2, 16, QLatin1Char('0'))
        .arg(GetBValue(c), 2, 16, QLatin1Char('0'))
        .toUpper();
}

// ---- gradients and fills -----------------------------------------------------------------------

void DrawGradient(
    TCanvas &Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect Rect, int Steps)
{
    if (Rect.Top == Rect.Bottom)
        return;
    if (Rect.Top > Rect.Bottom)
        std::swap(Rect.Top, Rect.Bottom);
    if (FromColor == clNone || ToColor == clNone) {
        const TColor c = FromColor != clNone ? FromColor : ToColor;
        if (c == clNone)
            return;
        penAndBrush(Canvas, c);
        Canvas.Rectangle(Rect);
        return;
    }
    const TColor from = ColorToRGB(FromColor);
    const TColor to = ColorToRGB(ToColor);
    const int extent = Horizontal ? Rect.Width() : Rect.Height();
    const int steps = std::max(1, std::min(Steps, extent - 1));
    const double stepSize = double(extent - 1) / steps;
    for (int i = 0; i <= steps; ++i) {
        const int start = static_cast<int>(i * stepSize);
        const int end = std::min(extent, start + static_cast<int>(stepSize + 1));
        penAndBrush(Canvas, mixChannels(from, to, double(i) / steps));
        if (Horizontal)
            Canvas.Rectangle(Rect.Left + start, Rect.Top, Rect.Left + end, Rect.Bottom);
        else
            Canvas.Rectangle(Rect.Left, Rect.Top + start, Rect.Right, Rect.Top + end);
    }
}

void DrawStepGradient(
    TCanvas &Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect Rect, int Steps)
{
    // The count is a 16-bit word.
    int steps = Steps & 0xFFFF;
    if (steps == 0)
        steps = 1;
    const TColor from = ColorToRGB(FromColor);
    const TColor to = ColorToRGB(ToColor);
    if (Horizontal)
        --Rect.Right;
    else
        --Rect.Bottom;
    const double d = double(Horizontal ? Rect.Right - Rect.Left : Rect.Bottom - Rect.Top) / steps;
    const int w = roundInt(d);
    auto channel = [steps](int a, int b, int i) {
        return a + roundInt(i * (double(b - a) / steps));
    };
    for (int i = 0; i < steps; ++i) {
        penAndBrush(Canvas, RGB(channel(GetRValue(from), GetRValue(to), i),
                                channel(GetGValue(from), GetGValue(to), i),
                                channel(GetBValue(from), GetBValue(to), i)));
        const int o = roundInt(i * d);
        // Bands overlap their neighbour by one pixel.
        if (Horizontal)
            Canvas.Rectangle(Rect.Left + o, Rect.Top, Rect.Left + o + w + 1, Rect.Bottom);
        else
            Canvas.Rectangle(Rect.Left, Rect.Top + o, Rect.Right, Rect.Top + o + w + 1);
    }
}

void DrawGradientRect(TCanvas &Canvas,
                      const TRect &Rect,
                      TColor Color,
                      bool Fill,
                      bool EdgesOnly,
                      TColor BorderColor,
                      bool Vertical,
                      TColor MirrorColorTo,
                      TColor MirrorColor,
                      TColor ColorTo)
{
    if (Fill && Color != clNone) {
        if (MirrorColor == clNone) {
            if (ColorTo == clNone) {
                Canvas.Brush().SetColor(Color);
                Canvas.FillRect({Rect.Left, Rect.Top, Rect.Right, Rect.Bottom + 1});
            } else {
                DrawGradient(Canvas, Color, ColorTo, !Vertical, Rect, 128);
            }
        } else {
            TRect first = Rect;
            TRect second = Rect;
            if (Vertical)
                first.Bottom = second.Top = Rect.Top + Rect.Height() / 2;
            else
                first.Right = second.Left = Rect.Left + Rect.Width() / 2;
            DrawGradient(Canvas, Color, ColorTo, !Vertical, first, 128);
            DrawGradient(Canvas, MirrorColor, MirrorColorTo, !Vertical, second, 128);
        }
    }
    if (BorderColor == clNone)
        return;
    if (EdgesOnly) {
        Canvas.Pen().SetColor(BorderColor);
        line(Canvas, Rect.Left, Rect.Top, Rect.Left, Rect.Bottom);
        line(Canvas, Rect.Right - 1, Rect.Top, Rect.Right - 1, Rect.Bottom);
    } else {
        Canvas.Brush().SetColor(BorderColor);
        Canvas.FrameRect(Rect);
    }
}

void FillRectColor(TCanvas &Canvas, const TRect &Rect, TColor Color)
{
    Canvas.Brush().SetColor(Color);
    Canvas.FillRect(Rect);
}

void DrawSelectionBox(TCanvas &Canvas,
                      TColor Color,
                      TColor ColorTo,
                      int Part,
                      const TRect &Rect,
                      TColor OuterCornerColor,
                      TColor InnerCornerColor,
                      TColor BorderColor,
                      TColor InnerBottomColor,
                      TColor InnerTopColor,
                      TColor MirrorColorTo,
                      TColor MirrorColor)
{
    // x0/x1 and y0/y1 are the outer lines' own columns and rows.
    const int x0 = Rect.Left;
    const int x1 = Rect.Right - 1 - 1;
    const int y0 = Rect.Top;
    const int y1 = Rect.Bottom - 2;
    if (x1 <= x0 + 3 || y1 <= y0 + 3)
        return;
    const bool roundLeft = Part == 0 || Part == 1;
    const bool roundRight = Part == 0 || Part == 2;
    const int mid = (y0 + y1) / 2;
    // Inner lines run between the inner side lines at a rounded end, to the edge at an open one.
    const int innerL = roundLeft ? x0 + 2 : x0;
    const int innerR = roundRight ? x1 - 1 : x1 + 1;

    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetStyle(TPenStyle::psSolid);
    Canvas.Pen().SetColor(InnerTopColor);
    line(Canvas, innerL, y0 + 1, innerR, y0 + 1);
    if (roundLeft) {
        Canvas.Pen().SetColor(InnerTopColor);
        line(Canvas, x0 + 1, y0 + 2, x0 + 1, mid);
        Canvas.Pen().SetColor(InnerBottomColor);
        line(Canvas, x0 + 1, mid, x0 + 1, y1 - 1);
    }
    if (roundRight) {
        Canvas.Pen().SetColor(InnerTopColor);
        line(Canvas, x1 - 1, y0 + 2, x1 - 1, mid);
        Canvas.Pen().SetColor(InnerBottomColor);
        line(Canvas, x1 - 1, mid, x1 - 1, y1 - 1);
    }
    Canvas.Pen().SetColor(InnerBottomColor);
    line(Canvas, innerL, y1 - 1, innerR, y1 - 1);

    Canvas.Pen().SetColor(BorderColor);
    const int outerL = roundLeft ? x0 + 2 : x0;
    const int outerR = roundRight ? x1 - 1 : x1 + 1;
    line(Canvas, outerL, y0, outerR, y0);
    line(Canvas, outerL, y1, outerR, y1);
    if (roundLeft)
        line(Canvas, x0, y0 + 2, x0, y1 - 1);
    if (roundRight)
        line(Canvas, x1, y0 + 2, x1, y1 - 1);

    auto corner = [&](int x, int y, int dx, int dy) {
        Canvas.SetPixels(x, y, OuterCornerColor);
        Canvas.SetPixels(x + dx, y, InnerCornerColor);
        Canvas.SetPixels(x, y + dy, InnerCornerColor);
        Canvas.SetPixels(x + dx, y + dy, InnerCornerColor);
    };
    if (roundLeft) {
        corner(x0, y0, 1, 1);
        corner(x0, y1, 1, -1);
    }
    if (roundRight) {
        corner(x1, y0, -1, 1);
        corner(x1, y1, -1, -1);
    }

    const TRect inside{innerL, y0 + 2, innerR, y1 - 1};
    if (ColorTo == clNone) {
        FillRectColor(Canvas, inside, Color);
    } else if (MirrorColor == clNone) {
        DrawGradient(Canvas, Color, ColorTo, false, inside, 16);
    } else {
        TRect upper = inside;
        TRect lower = inside;
        upper.Bottom = lower.Top = inside.Top + inside.Height() / 2;
        DrawGradient(Canvas, Color, ColorTo, false, upper, 16);
        DrawGradient(Canvas, MirrorColor, MirrorColorTo, false, lower, 16);
    }
}

// ---- buttons -----------------------------------------------------------------------------------
// There are no visual styles on this platform: the themed style takes the classic frame
// controls, which the canvas draws after the system's classic look.

void DrawComboButton(TCanvas &Canvas,
                     QWidget *Window,
                     const TRect &Rect,
                     const TColorTones &Tones,
                     int State,
                     int Style)
{
    Q_UNUSED(Window);
    TRect r{Rect.Right - 17 - 2, Rect.Top + 1, Rect.Right - 2, Rect.Bottom - 1};
    if (Style == bstCustom) {
        r.Left += 3;
        penAndBrush(Canvas, toneOf(Tones, State).BrushColor);
        Canvas.Rectangle(r);
        Canvas.Pen().SetColor(Tones.Background.BorderColor);
        line(Canvas, r.Left + 1, r.Top, r.Left + 1, r.Bottom);
        penAndBrush(Canvas, Tones.Background.TextColor);
        Canvas.Polygon(
            {{r.Left + 5, r.Top + 8}, {r.Left + 11, r.Top + 8}, {r.Left + 8, r.Top + 11}});
        return;
    }
    std::uint32_t state = DFCS_SCROLLCOMBOBOX;
    if (State == bsDisabledState)
        state |= DFCS_INACTIVE;
    if (Style == bstFlat)
        state |= DFCS_FLAT;
    Canvas.DrawFrameControl(r, DFC_SCROLL, state);
}

void DrawPushButton(TCanvas &Canvas,
                    QWidget *Window,
                    const TRect &Rect,
                    const TColorTones &Tones,
                    int State,
                    int Style)
{
    Q_UNUSED(Window);
    if (Style == bstCustom) {
        const TColorTone &t = toneOf(Tones, State);
        Canvas.Brush().SetColor(t.BrushColor);
        Canvas.Pen().SetColor(t.BorderColor);
        Canvas.Rectangle(Rect);
        return;
    }
    std::uint32_t state = DFCS_BUTTONPUSH;
    if (State == bsHotState)
        state |= DFCS_HOT;
    else if (State == bsDownState)
        state |= DFCS_PUSHED;
    else if (State == bsDisabledState)
        state |= DFCS_INACTIVE;
    if (Style == bstFlat)
        state |= DFCS_FLAT;
    Canvas.DrawFrameControl(Rect, DFC_BUTTON, state);
}

void DrawSpinButtons(TCanvas &Canvas,
                     QWidget *Window,
                     const TRect &Rect,
                     const TColorTones &Tones,
                     int State,
                     int Style)
{
    Q_UNUSED(Window);
    const TRect r{Rect.Right - 15 - 1, Rect.Top - 1, Rect.Right - 1, Rect.Bottom - 1};
    const int mid = r.Top + r.Height() / 2;
    const TRect up{r.Left, r.Top, r.Right, mid};
    const TRect down{r.Left, mid, r.Right, r.Bottom};
    if (Style == bstCustom) {
        penAndBrush(Canvas, toneOf(Tones, State).BrushColor);
        Canvas.Rectangle(up);
        Canvas.Rectangle(down);
        penAndBrush(Canvas, clBlack);
        const int L = r.Left;
        int T = up.Top;
        Canvas.Polygon({{L + 5, T + 5}, {L + 9, T + 5}, {L + 7, T + 3}});
        T = down.Top;
        Canvas.Polygon({{L + 5, T + 1}, {L + 9, T + 1}, {L + 7, T + 3}});
        return;
    }
    std::uint32_t extra = State == bsDisabledState ? DFCS_INACTIVE : 0;
    if (Style == bstFlat)
        extra |= DFCS_FLAT;
    Canvas.DrawFrameControl(up, DFC_SCROLL, DFCS_SCROLLUP | extra);
    Canvas.DrawFrameControl(down, DFC_SCROLL, DFCS_SCROLLDOWN | extra);
}

void DrawCellScrollBar(
    TCanvas &Canvas, const TRect &Rect, int Position, int PageSize, int Min, int Max)
{
    const int w = Rect.Width();
    if (w <= 0 || Rect.Height() <= 0)
        return;
    // Arrows share a bar too short for both at full height.
    const int arrow = std::min(w, Rect.Height() / 2);
    const TRect up{Rect.Left, Rect.Top, Rect.Right, Rect.Top + arrow};
    const TRect down{Rect.Left, Rect.Bottom - arrow, Rect.Right, Rect.Bottom};
    const TRect track{Rect.Left, up.Bottom, Rect.Right, down.Top};
    Canvas.Brush().SetColor(clBtnHighlight);
    Canvas.FillRect(track);
    Canvas.DrawFrameControl(up, DFC_SCROLL, DFCS_SCROLLUP);
    Canvas.DrawFrameControl(down, DFC_SCROLL, DFCS_SCROLLDOWN);

    const int span = Max - Min + 1;
    const int length = track.Height();
    if (span <= 0 || PageSize <= 0 || PageSize >= span || length < 8)
        return;
    const int thumb = std::max(8, int(std::int64_t(length) * PageSize / span));
    const int last = span - PageSize;
    const int pos = std::clamp(Position - Min, 0, last);
    const int top = track.Top + int(std::int64_t(length - thumb) * pos / std::max(1, last));
    Canvas.DrawFrameControl({Rect.Left, top, Rect.Right, top + thumb}, DFC_BUTTON, DFCS_BUTTONPUSH);
}

// ---- progress ----------------------------------------------------------------------------------

void DrawProgressBar(TCanvas &Canvas,
                     TRect Rect,
                     TColor CompleteColor,
                     bool ForPrint,
                     TColor BorderColor,
                     const QString &FormatText,
                     double Max,
                     double Min,
                     int MarginY,
                     int MarginX,
                     double Value,
                     TColor CompleteFontColor,
                     TColor UnCompleteColor,
                     TColor UnCompleteFontColor)
{
    // Printing here uses the same device coordinates as the screen, so ForPrint needs no
    // flipped text height.
    Q_UNUSED(ForPrint);
    const TColor background = Canvas.Brush().Color();
    QString text;
    int percent = 0;
    if (!FormatText.isEmpty()) {
        const bool integral = FormatText.contains(QLatin1Char('d'), Qt::CaseInsensitive) ||
                              FormatText.contains(QLatin1Char('u'), Qt::CaseInsensitive);
        const QVariant arg = integral ? QVariant(roundInt(Value)) : QVariant(Value);
        if (!GridFormat(FormatText, {arg}, text))
            text = FormatText;
        // A zero range would divide by zero; such a bar shows empty.
        percent = Max == Min ? 0 : roundInt((Value - Min) * 100 / (Max - Min));
    } else {
        text = QString::number(roundInt(Value)) + QLatin1Char('%');
        percent = roundInt(Value);
    }
    percent = std::clamp(percent, 0, 100);

    Rect.Left += MarginX;
    Rect.Right -= MarginX;
    Rect.Top += MarginY;
    Rect.Bottom -= MarginY;
    const int split = Rect.Left + roundInt(percent * Rect.Width() / 100.0);
    const int tx = Rect.Left + (Rect.Width() - Canvas.TextWidth(text)) / 2;
    const int ty = Rect.Top + (Rect.Height() - Canvas.TextHeight(text)) / 2;

    const TRect done{Rect.Left, Rect.Top, split, Rect.Bottom};
    const TRect rest{split, Rect.Top, Rect.Right, Rect.Bottom};
    if (!done.IsEmpty()) {
        Canvas.Brush().SetColor(CompleteColor);
        Canvas.Font().SetColor(CompleteFontColor);
        Canvas.TextRect(done, tx, ty, text);
    }
    if (!rest.IsEmpty()) {
        Canvas.Brush().SetColor(UnCompleteColor == clNone ? background : UnCompleteColor);
        Canvas.Font().SetColor(UnCompleteFontColor);
        Canvas.TextRect(rest, tx, ty, text);
    }
    TRect frame = Rect;
    InflateRect(frame, 1, 1);
    if (BorderColor != clNone) {
        Canvas.Brush().SetColor(BorderColor);
        Canvas.FrameRect(frame);
    }
    InflateRect(frame, 1, 1);
    Canvas.Brush().SetColor(background);
    Canvas.FrameRect(frame);
}

namespace {

void drawPie(TCanvas &Canvas, const TRect &Rect, TColor Color, int Percent)
{
    const int w = Rect.Width();
    const int h = Rect.Height();
    const int cx = Rect.Left + w / 2;
    const int cy = Rect.Top + h / 2;
    Canvas.Pen().SetColor(clGray);
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetStyle(TPenStyle::psSolid);
    Canvas.Ellipse(Rect);
    line(Canvas, cx, Rect.Top, cx, cy);
    const double a = Percent / 100.0 * 2 * std::numbers::pi;
    const int x = cx + roundInt((w + 1) / 2.0 * std::sin(a));
    const int y = cy - roundInt((h + 1) / 2.0 * std::cos(a));
    line(Canvas, cx, cy, x, y);
    if (Percent != 0) {
        Canvas.Brush().SetColor(Color);
        Canvas.FloodFill(cx + 1, Rect.Top + 2, clGray, TFillStyle::fsBorder);
    }
}

} // namespace

void DrawProgressPie(TCanvas &Canvas, const TRect &Rect, TColor Color, bool ForPrint, int Percent)
{
    // Same device orientation for print and screen here, so the seed stays below the top.
    Q_UNUSED(ForPrint);
    // The sector is flood-filled, which reads back what is drawn. A target that cannot be read
    // (a widget being painted) gets the pie drawn on a transparent layer first.
    if (Percent == 0 || !Canvas.Painter() || Canvas.CanReadPixels() || Rect.Width() <= 0 ||
        Rect.Height() <= 0) {
        drawPie(Canvas, Rect, Color, Percent);
        return;
    }
    // The outline and the radius may reach one pixel past the right and bottom edges.
    QImage layer(Rect.Width() + 2, Rect.Height() + 2, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        TCanvas lc(&layer);
        lc.Brush().Assign(Canvas.Brush());
        drawPie(lc, Bounds(0, 0, Rect.Width(), Rect.Height()), Color, Percent);
        lc.Flush();
    }
    Canvas.Draw(Rect.Left, Rect.Top, layer);
    Canvas.Pen().SetColor(clGray);
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetStyle(TPenStyle::psSolid);
    Canvas.Brush().SetColor(Color);
}

namespace {

// A piece of a styled bar from `from` to `to` along it, painted in one colour or as two
// gradients across the bar.
void styledPiece(TCanvas &cv,
                 const TRect &along,
                 bool vertical,
                 int from,
                 int to,
                 int inset,
                 TColor color,
                 TColor colorTo,
                 const TStyledProgress &p)
{
    if (to <= from)
        return;
    TRect r;
    if (vertical)
        r = {along.Left + inset, along.Bottom - to, along.Right - inset, along.Bottom - from};
    else
        r = {along.Left + from, along.Top + inset, along.Left + to, along.Bottom - inset};
    if (!p.ShowGradient) {
        penAndBrush(cv, color);
        cv.Rectangle(r);
        return;
    }
    TRect first = r;
    TRect second = r;
    if (vertical)
        first.Right = second.Left = r.Left + r.Width() / 2;
    else
        first.Bottom = second.Top = r.Top + r.Height() / 2;
    DrawGradient(cv, colorTo, color, vertical, first, p.Steps);
    DrawGradient(cv, color, colorTo, vertical, second, p.Steps);
}

} // namespace

void DrawStyledProgress(TCanvas &Canvas,
                        const TRect &Rect,
                        int Percent,
                        const TStyledProgress &Progress)
{
    const TStyledProgress &p = Progress;
    const bool vert = p.Vertical;
    const TColor outline = p.ShowBorder ? p.BorderColor : p.BackgroundColor;
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetStyle(TPenStyle::psSolid);
    Canvas.Pen().SetColor(outline);
    Canvas.Brush().SetColor(p.BackgroundColor);
    Canvas.Rectangle(Rect);
    const int L = (vert ? Rect.Height() : Rect.Width()) - 2;
    // Pieces never run past the bar, whatever the percentage.
    auto len = [L](double share) { return std::clamp(roundInt(L * share / 100.0), 0, L); };

    if (Percent > 0 && L > 0) {
        if (p.Stacked) {
            const int end0 = len(std::min(Percent, p.Level1Perc));
            styledPiece(Canvas, Rect, vert, 1, 1 + end0, 1, p.Level0Color, p.Level0ColorTo, p);
            int pos = 1 + end0;
            if (Percent >= p.Level1Perc) {
                const int n = len(std::min(Percent, p.Level2Perc) - p.Level1Perc);
                styledPiece(Canvas, Rect, vert, pos, pos + n, 1, p.Level1Color, p.Level1ColorTo, p);
                pos += n;
            }
            if (Percent >= p.Level2Perc) {
                const int end =
                    Percent >= 100 ? 1 + L : std::min(1 + L, pos + len(Percent - p.Level2Perc));
                styledPiece(Canvas, Rect, vert, pos, end, 1, p.Level3Color, p.Level3ColorTo, p);
            }
        } else {
            TColor c = p.Level2Color;
            TColor cTo = p.Level2ColorTo;
            if (Percent < p.Level1Perc) {
                c = p.Level0Color;
                cTo = p.Level0ColorTo;
            } else if (Percent < p.Level2Perc) {
                c = p.Level1Color;
                cTo = p.Level1ColorTo;
            } else if (Percent > 99) {
                c = p.Level3Color;
                cTo = p.Level3ColorTo;
            }
            if (p.CompletionSmooth) {
                styledPiece(Canvas, Rect, vert, 1, 1 + len(Percent), 1, c, cTo, p);
            } else {
                const int t = len(Percent);
                if (t > 9) {
                    const int blocks = t / 9;
                    for (int i = 0; i < blocks; ++i)
                        styledPiece(Canvas, Rect, vert, 2 + 9 * i, 9 + 9 * i, 2, c, cTo, p);
                    if (t % 9 > 2)
                        styledPiece(Canvas, Rect, vert, 2 + 9 * blocks, 2 + 9 * blocks + t % 9 - 1,
                                    2, c, cTo, p);
                } else if (t >= 2) {
                    styledPiece(Canvas, Rect, vert, 2, 2 + t - 1, 2, c, cTo, p);
                }
            }
        }
    }

    if (p.ShowPercentage) {
        const QString text = QString::number(Percent) + QLatin1Char('%');
        Canvas.SetFont(p.Font);
        Canvas.Font().SetColor(p.CompleteFontColor);
        Canvas.Brush().SetStyle(TBrushStyle::bsClear);
        const int tw = Canvas.TextWidth(text);
        const int th = Canvas.TextHeight(text);
        if (vert) {
            Canvas.Font().SetOrientation(900);
            Canvas.TextOut(Rect.Left + (Rect.Width() - th) / 2,
                           Rect.Bottom - (Rect.Height() - tw) / 2, text);
        } else {
            Canvas.TextOut(Rect.Left + (Rect.Width() - tw) / 2, Rect.Top + (Rect.Height() - th) / 2,
                           text);
        }
    }
    Canvas.Pen().SetColor(outline);
    Canvas.Brush().SetStyle(TBrushStyle::bsClear);
    Canvas.Rectangle(Rect);
}

void DrawRangeIndicator(TCanvas &Canvas,
                        TRect Rect,
                        int Value,
                        TColor PositiveColor,
                        TColor NegativeColor,
                        bool ShowValue,
                        int Range)
{
    InflateRect(Rect, -2, -2);
    // Without a positive range there is no scale to draw on.
    if (Range <= 0 || Rect.IsEmpty())
        return;
    const int v = std::clamp(Value, -Range, Range);
    const int half = Rect.Width() / 2;
    const int centre = Rect.Left + half;
    const int end = centre + roundInt(double(half) * v / Range);
    if (v < 0) {
        penAndBrush(Canvas, NegativeColor);
        Canvas.Rectangle(end, Rect.Top, centre, Rect.Bottom);
    } else {
        penAndBrush(Canvas, PositiveColor);
        Canvas.Rectangle(centre, Rect.Top, end, Rect.Bottom);
    }
    if (ShowValue) {
        Canvas.SetBkMode(TBkMode::bkTransparent);
        const QString text = QString::number(Value);
        Canvas.TextOut(Rect.Left + (Rect.Width() - Canvas.TextWidth(text)) / 2,
                       Rect.Top + (Rect.Height() - Canvas.TextHeight(text)) / 2, text);
    }
}

void DrawErrorUnderline(QWidget *Owner,
                        TCanvas &Canvas,
                        const QString &Text,
                        int ErrLen,
                        int ErrFrom,
                        int YOffset,
                        const TRect &Rect)
{
    // The character positions are those of a one-line edit holding Text in the canvas font:
    // the edit's 2-pixel text margin, then the advance of the characters before.
    Q_UNUSED(Owner);
    constexpr int editMargin = 2;
    const int n = int(Text.size());
    auto posOf = [&](int i) { return Rect.Left + editMargin + Canvas.TextWidth(Text.left(i)); };
    const int start = ErrFrom >= 0 && ErrFrom < n ? posOf(ErrFrom) : posOf(n) + 4;
    const int last = ErrFrom + ErrLen - 1;
    const int end = last >= 0 && last < n ? posOf(last) : posOf(std::max(0, n - 1)) + 4;
    // The line (its top YOffset below the rectangle's) is underlined from its baseline down.
    const int base = Rect.Top + YOffset + Canvas.TextAscent();
    Canvas.Pen().SetColor(clRed);
    Canvas.Pen().SetWidth(2);
    Canvas.Pen().SetStyle(TPenStyle::psSolid);
    std::vector<TPoint> pts;
    bool low = true;
    for (int x = start; x <= end + 3; x += 3) {
        pts.push_back({x, base + (low ? 3 : 0)});
        low = !low;
    }
    if (pts.size() >= 2)
        Canvas.Polyline(pts);
}

// ---- shapes, arrows, bitmaps
// ---------------------------------------------------------------------

void DrawShape(TCanvas &Canvas,
               int X,
               int Y,
               TColor PenColor,
               TColor BrushColor,
               TCellShape Shape,
               int Height,
               int Width)
{
    if (int(Shape) < 0 || int(Shape) > int(TCellShape::csHalfStar))
        return;
    Canvas.Pen().SetColor(PenColor);
    Canvas.Pen().SetStyle(TPenStyle::psSolid);
    Canvas.Brush().SetColor(BrushColor);
    Canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    int W = Width;
    int H = Height;
    if (Shape == TCellShape::csCircle || Shape == TCellShape::csSquare ||
        Shape == TCellShape::csRoundSquare)
        W = H = std::min(Width, Height);

    auto star = [&](int k) {
        const double a = k * 36 * std::numbers::pi / 180;
        const double rx = (k % 2 == 0) ? W / 2.0 : W / 6.0;
        const double ry = (k % 2 == 0) ? H / 2.0 : H / 6.0;
        const int cx = X + W / 2;
        const int cy = Y + H / 2;
        return TPoint{cx + roundInt(rx * std::sin(a)), cy - roundInt(ry * std::cos(a))};
    };

    switch (Shape) {
    case TCellShape::csRectangle:
    case TCellShape::csSquare:
        Canvas.Rectangle(X + 1, Y + 1, X + W - 1, Y + H - 1);
        break;
    case TCellShape::csCircle:
    case TCellShape::csEllips:
        Canvas.Ellipse(X, Y, X + W, Y + H);
        break;
    case TCellShape::csRoundRect:
    case TCellShape::csRoundSquare:
        Canvas.RoundRect(X, Y, X + W, Y + H, 10, 10);
        break;
    case TCellShape::csTriangleLeft:
        Canvas.Polygon({{X + W, Y}, {X + W, Y + H}, {X, Y + H / 2}});
        break;
    case TCellShape::csTriangleRight:
        Canvas.Polygon({{X, Y}, {X, Y + H}, {X + W, Y + H / 2}});
        break;
    case TCellShape::csTriangleUp:
        Canvas.Polygon({{X, Y + H}, {X + W, Y + H}, {X + W / 2, Y}});
        break;
    case TCellShape::csTriangleDown:
        Canvas.Polygon({{X, Y}, {X + W, Y}, {X + W / 2, Y + H}});
        break;
    case TCellShape::csDiamond:
        Canvas.Polygon({{X + W / 2, Y}, {X + W, Y + H / 2}, {X + W / 2, Y + H}, {X, Y + H / 2}});
        break;
    case TCellShape::csLineVert:
        Canvas.FillRect({X + W / 2, Y, X + W / 2 + 1, Y + H});
        break;
    case TCellShape::csLineHorz:
        Canvas.FillRect({X, Y + H / 2, X + W, Y + H / 2 + 1});
        break;
    case TCellShape::csStar: {
        std::vector<TPoint> pts;
        for (int k = 0; k < 10; ++k)
            pts.push_back(star(k));
        Canvas.Polygon(pts);
        break;
    }
    case TCellShape::csHalfStar:
        Canvas.Polygon({star(0), star(5), star(6), star(7), star(8), star(9)});
        break;
    case TCellShape::csArrowUp:
    case TCellShape::csArrowDown: {
        const int w = W & ~1;
        const int q = w / 4;
        const int h2 = H / 2;
        if (Shape == TCellShape::csArrowUp) {
            Canvas.Polygon({{X, Y + h2},
                            {X + w / 2, Y},
                            {X + w, Y + h2},
                            {X + 3 * q, Y + h2},
                            {X + 3 * q, Y + H},
                            {X + q, Y + H},
                            {X + q, Y + h2}});
        } else {
            const int neck = Y + H - h2;
            Canvas.Polygon({{X, neck},
                            {X + w / 2, Y + H},
                            {X + w, neck},
                            {X + 3 * q, neck},
                            {X + 3 * q, Y},
                            {X + q, Y},
                            {X + q, neck}});
        }
        break;
    }
    case TCellShape::csArrowLeft:
    case TCellShape::csArrowRight: {
        const int h = H & ~1;
        const int q = h / 4;
        const int w2 = W / 2;
        if (Shape == TCellShape::csArrowLeft) {
            Canvas.Polygon({{X + w2, Y},
                            {X, Y + h / 2},
                            {X + w2, Y + h},
                            {X + w2, Y + 3 * q},
                            {X + W, Y + 3 * q},
                            {X + W, Y + q},
                            {X + w2, Y + q}});
        } else {
            const int neck = X + W - w2;
            Canvas.Polygon({{neck, Y},
                            {X + W, Y + h / 2},
                            {neck, Y + h},
                            {neck, Y + 3 * q},
                            {X, Y + 3 * q},
                            {X, Y + q},
                            {neck, Y + q}});
        }
        break;
    }
    }
}

void DrawSmallDownArrow(TCanvas &Canvas, int X, int Y, TColor Color)
{
    penAndBrush(Canvas, Color);
    Canvas.Polygon({{X - 3, Y}, {X + 3, Y}, {X, Y + 3}});
}

void DrawBitmapTransparent(TCanvas &Canvas,
                           const QImage &Bitmap,
                           TColor BackgroundColor,
                           const TRect &Rect)
{
    if (Bitmap.isNull())
        return;
    QImage copy = Bitmap.convertToFormat(QImage::Format_RGB32);
    const QRgb key = copy.pixel(0, 0);
    if (BackgroundColor == clNone) {
        // No colour to put in: leave those pixels out.
        Canvas.DrawTransparent(Rect.Left, Rect.Top, copy, FromQColor(QColor::fromRgb(key)));
        return;
    }
    const QRgb bg = ToQColor(BackgroundColor).rgb();
    for (int y = 0; y < copy.height(); ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(copy.scanLine(y));
        for (int x = 0; x < copy.width(); ++x)
            if (row[x] == key)
                row[x] = bg;
    }
    Canvas.Draw(Rect.Left, Rect.Top, copy);
}

void DrawBitmapTransparent(TCanvas &Canvas,
                           TBitmap &Bitmap,
                           TColor BackgroundColor,
                           const TRect &Rect)
{
    if (!Bitmap.Empty())
        DrawBitmapTransparent(Canvas, Bitmap.Image(), BackgroundColor, Rect);
}

namespace {

constexpr QRgb glyphKey = 0xFFFF00FF; // transparent colour of the built-in glyphs

QImage blankGlyph(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(glyphKey);
    return img;
}

QImage checkGlyph(int size, bool checked, bool enabled)
{
    QImage img = blankGlyph(size, size);
    QPainter p(&img);
    const int box = size == 20 ? 14 : 13;
    const int o = (size - box) / 2;
    const QColor frame = enabled ? QColor(0x1C, 0x51, 0x80) : QColor(0xA0, 0xA0, 0xA0);
    const QColor mark = enabled ? QColor(0x21, 0xA1, 0x21) : QColor(0xA0, 0xA0, 0xA0);
    p.fillRect(o, o, box, box, frame);
    p.fillRect(o + 1, o + 1, box - 2, box - 2, enabled ? Qt::white : QColor(0xF0, 0xF0, 0xF0));
    if (checked) {
        QPen pen(mark, 2);
        p.setPen(pen);
        p.drawPolyline(QPolygon({QPoint(o + 3, o + box / 2), QPoint(o + box / 2 - 1, o + box - 4),
                                 QPoint(o + box - 3, o + 3)}));
    }
    return img;
}

QImage radioGlyph(bool on, bool enabled)
{
    QImage img = blankGlyph(16, 16);
    QPainter p(&img);
    const QColor frame = enabled ? QColor(0x1C, 0x51, 0x80) : QColor(0xA0, 0xA0, 0xA0);
    p.setPen(frame);
    p.setBrush(enabled ? Qt::white : QColor(0xF0, 0xF0, 0xF0));
    p.drawEllipse(2, 2, 11, 11);
    if (on) {
        p.setPen(Qt::NoPen);
        p.setBrush(enabled ? QColor(0x21, 0xA1, 0x21) : QColor(0xA0, 0xA0, 0xA0));
        p.drawEllipse(5, 5, 6, 6);
    }
    return img;
}

// A framed box with a minus, and a plus when collapsed.
QImage nodeGlyph(int size, bool expanded)
{
    QImage img = blankGlyph(size, size);
    QPainter p(&img);
    const int box = size == 9 ? 9 : 9;
    const int o = (size - box) / 2;
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.setBrush(Qt::white);
    p.drawRect(o, o, box - 1, box - 1);
    // The top-left pixel must stay the key colour, so the box's corner is cut.
    p.setPen(Qt::black);
    const int c = o + box / 2;
    p.drawLine(o + 2, c, o + box - 3, c);
    if (!expanded)
        p.drawLine(c, o + 2, c, o + box - 3);
    p.end();
    img.setPixel(0, 0, glyphKey);
    return img;
}

QImage filterGlyph()
{
    QImage img = blankGlyph(16, 16);
    QPainter p(&img);
    p.setPen(Qt::black);
    p.setBrush(QColor(0x40, 0x40, 0x40));
    p.drawPolygon(QPolygon(
        {QPoint(2, 3), QPoint(13, 3), QPoint(9, 8), QPoint(9, 13), QPoint(6, 11), QPoint(6, 8)}));
    return img;
}

} // namespace

QImage ResourceGlyph(const QString &ResourceName)
{
    const QString n = ResourceName.toUpper();
    if (n.startsWith(QLatin1String("QSGCHK")) && n.size() == 8) {
        const int k = n.mid(6).toInt();
        if (k >= 1 && k <= 8) {
            const int i = (k - 1) % 4; // checked, unchecked, checked disabled, unchecked disabled
            return checkGlyph(k <= 4 ? 20 : 16, i % 2 == 0, i < 2);
        }
    }
    if (n.startsWith(QLatin1String("QSGRAD")) && n.size() == 8) {
        const int k = n.mid(6).toInt();
        if (k >= 1 && k <= 8) {
            const int i = (k - 1) % 4;
            return radioGlyph(i % 2 == 0, i < 2);
        }
    }
    if (n == QLatin1String("XPNODEO") || n == QLatin1String("XPNODEC"))
        return nodeGlyph(9, n.endsWith(QLatin1Char('O')));
    if (n == QLatin1String("QSGLEAFOPEN") || n == QLatin1String("QSGLEAFCLOSE"))
        return nodeGlyph(16, n.endsWith(QLatin1String("OPEN")));
    if (n == QLatin1String("QSGFILT"))
        return filterGlyph();
    return {};
}

void DrawResourceBitmap(TCanvas &Canvas,
                        TColor BackgroundColor,
                        const TRect &Rect,
                        const QString &ResourceName)
{
    const QImage img = ResourceGlyph(ResourceName);
    if (!img.isNull())
        DrawBitmapTransparent(Canvas, img, BackgroundColor, Rect);
}

// ---- layered windows ---------------------------------------------------------------------------

bool DynUpdateLayeredWindow(QWidget *,
                            TCanvas *,
                            const TPoint *,
                            const TSize *,
                            TCanvas *,
                            const TPoint *,
                            TColor,
                            std::uint8_t,
                            std::uint32_t)
{
    return true;
}

bool DynSetLayeredWindowAttributes(QWidget *, TColor, std::uint8_t, std::uint32_t)
{
    return true;
}
