#include "platform/ui/Canvas.h"

#include "platform/ui/Bitmap.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include <algorithm>
#include <cstdlib>

namespace {

// Clip base when the target's size is unknown.
const QRect kHugeRect(-32768, -32768, 65536, 65536);

Qt::PenStyle toQtPenStyle(TPenStyle s)
{
    switch (s) {
    case TPenStyle::psDash:
        return Qt::DashLine;
    case TPenStyle::psDot:
        return Qt::DotLine;
    case TPenStyle::psDashDot:
        return Qt::DashDotLine;
    case TPenStyle::psDashDotDot:
        return Qt::DashDotDotLine;
    case TPenStyle::psClear:
        return Qt::NoPen;
    case TPenStyle::psSolid:
    case TPenStyle::psInsideFrame:
        break;
    }
    return Qt::SolidLine;
}

Qt::BrushStyle toQtBrushStyle(TBrushStyle s)
{
    switch (s) {
    case TBrushStyle::bsClear:
        return Qt::NoBrush;
    case TBrushStyle::bsHorizontal:
        return Qt::HorPattern;
    case TBrushStyle::bsVertical:
        return Qt::VerPattern;
    case TBrushStyle::bsFDiagonal:
        return Qt::FDiagPattern;
    case TBrushStyle::bsBDiagonal:
        return Qt::BDiagPattern;
    case TBrushStyle::bsCross:
        return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross:
        return Qt::DiagCrossPattern;
    case TBrushStyle::bsSolid:
        break;
    }
    return Qt::SolidPattern;
}

bool isSolidPen(const TPen &pen)
{
    return pen.Style() == TPenStyle::psSolid || pen.Style() == TPenStyle::psInsideFrame;
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

// Pixels of a line from (x1, y1) to (x2, y2), end point left out.
QPolygon linePixels(int x1, int y1, int x2, int y2)
{
    QPolygon pts;
    int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int sx = sign(x2 - x1), sy = sign(y2 - y1);
    int err = dx + dy;
    int x = x1, y = y1;
    while (x != x2 || y != y2) {
        pts << QPoint(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    return pts;
}

QImage imageOfDevice(QPaintDevice *device)
{
    if (!device)
        return {};
    if (device->devType() == QInternal::Image)
        return *static_cast<QImage *>(device);
    if (device->devType() == QInternal::Pixmap)
        return static_cast<QPixmap *>(device)->toImage();
    return {};
}

QImage withTransparentColor(const QImage &image, TColor transparent)
{
    QImage img = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(transparent).rgb() & 0x00FFFFFF;
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0x00FFFFFF) == key)
                line[x] = 0;
    }
    return img;
}

} // namespace

TCanvas::TCanvas() = default;

TCanvas::TCanvas(QPainter *painter) : m_painter(painter)
{
    if (m_painter) {
        m_device = m_painter->device();
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        // A clip the caller set (e.g. the paint event's region) stays the outer bound.
        if (m_painter->hasClipping()) {
            m_hasBaseClip = true;
            m_baseClip = m_painter->clipRegion();
        }
    }
}

TCanvas::TCanvas(QPaintDevice *device) : m_device(device) {}

TCanvas::~TCanvas()
{
    if (m_ownPainter)
        m_ownPainter->end();
}

QPainter *TCanvas::Painter()
{
    beginIfNeeded();
    return m_painter;
}

QPaintDevice *TCanvas::Device() const
{
    return m_device;
}

void TCanvas::Flush()
{
    if (m_ownPainter) {
        m_ownPainter->end();
        m_ownPainter.reset();
        m_painter = nullptr;
    }
}

void TCanvas::beginIfNeeded()
{
    if (m_painter || !m_device)
        return;
    auto p = std::make_unique<QPainter>();
    if (!p->begin(m_device))
        return;
    p->setRenderHint(QPainter::Antialiasing, false);
    m_ownPainter = std::move(p);
    m_painter = m_ownPainter.get();
    applyClip();
}

QRegion TCanvas::effectiveClip() const
{
    QRegion r = m_hasClip ? m_clip : QRegion(kHugeRect);
    if (m_hasBaseClip)
        r &= m_baseClip;
    return r;
}

void TCanvas::applyClip()
{
    if (!m_painter)
        return;
    if (m_hasClip || m_hasBaseClip)
        m_painter->setClipRegion(effectiveClip());
    else
        m_painter->setClipping(false);
}

TCanvasOp TCanvas::makeOp(TCanvasOp::Kind kind, const TRect &r) const
{
    TCanvasOp op;
    op.kind = kind;
    op.rect = r;
    op.penColor = m_pen.Color();
    op.penWidth = m_pen.Width();
    op.penStyle = m_pen.Style();
    op.brushColor = m_brush.Color();
    op.brushStyle = m_brush.Style();
    op.fontColor = m_font.Color();
    op.fontStyle = m_font.Style();
    op.fontName = m_font.Name();
    op.fontHeight = m_font.Height();
    if (m_hasClip)
        op.clip = TRect::fromQRect(m_clip.boundingRect());
    return op;
}

void TCanvas::record(TCanvasOp op)
{
    if (m_recording && m_nested == 0)
        m_ops.push_back(std::move(op));
}

const QFont &TCanvas::qfont()
{
    constexpr size_t kFontSlots = 8;
    const auto same = [this](const TFontSlot &slot) {
        return slot.key.Name() == m_font.Name() && slot.key.Height() == m_font.Height() &&
               slot.key.Style() == m_font.Style();
    };
    if (!m_fontSlots.empty() && same(m_fontSlots.front()))
        return m_qfont;
    auto it = std::find_if(m_fontSlots.begin(), m_fontSlots.end(), same);
    if (it == m_fontSlots.end()) {
        if (m_fontSlots.size() >= kFontSlots)
            m_fontSlots.pop_back();
        QFont font = m_font.toQFont();
        auto metrics = std::make_unique<QFontMetrics>(font);
        m_fontSlots.push_back({m_font, std::move(font), std::move(metrics), {}});
        it = m_fontSlots.end() - 1;
    }
    std::rotate(m_fontSlots.begin(), it, it + 1);
    m_qfont = m_fontSlots.front().font;
    m_metrics = m_fontSlots.front().metrics.get();
    m_widths = &m_fontSlots.front().widths;
    return m_qfont;
}

int TCanvas::measureWidth(const QString &text)
{
    qfont();
    constexpr qsizetype kShortText = 32;
    constexpr qsizetype kKeptWidths = 4096;
    if (text.size() > kShortText)
        return m_metrics->horizontalAdvance(text);
    if (const auto it = m_widths->constFind(text); it != m_widths->constEnd())
        return *it;
    if (m_widths->size() >= kKeptWidths)
        m_widths->clear();
    const int w = m_metrics->horizontalAdvance(text);
    m_widths->insert(text, w);
    return w;
}

int TCanvas::lineHeight()
{
    qfont();
    return m_metrics->height();
}

int TCanvas::ascent()
{
    qfont();
    return m_metrics->ascent();
}

// ---- primitive painting -------------------------------------------------------------------

void TCanvas::fillSolid(const TRect &r, TColor color)
{
    if (r.IsEmpty() || color == clNone)
        return;
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->fillRect(r.toQRect(), ToQColor(color));
}

void TCanvas::fillBrush(const TRect &r)
{
    if (r.IsEmpty() || m_brush.Style() == TBrushStyle::bsClear)
        return;
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->fillRect(r.toQRect(), fillQBrush());
}

void TCanvas::applyPenMode()
{
    switch (m_pen.Mode()) {
    case TPenMode::pmCopy:
        m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        break;
    case TPenMode::pmXor:
        m_painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    case TPenMode::pmNot:
        m_painter->setCompositionMode(QPainter::RasterOp_NotDestination);
        break;
    case TPenMode::pmNotXor:
        m_painter->setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        break;
    }
}

void TCanvas::strokeLine(int x1, int y1, int x2, int y2)
{
    if (m_pen.Style() == TPenStyle::psClear || (x1 == x2 && y1 == y2))
        return;
    applyPenMode();
    const QColor color = ToQColor(m_pen.Color());
    if (m_pen.Width() == 1 && isSolidPen(m_pen)) {
        if (y1 == y2) {
            const int l = x2 > x1 ? x1 : x2 + 1;
            m_painter->fillRect(QRect(l, y1, std::abs(x2 - x1), 1), color);
        } else if (x1 == x2) {
            const int t = y2 > y1 ? y1 : y2 + 1;
            m_painter->fillRect(QRect(x1, t, 1, std::abs(y2 - y1)), color);
        } else {
            m_painter->setPen(QPen(color, 0));
            m_painter->drawPoints(linePixels(x1, y1, x2, y2));
        }
    } else {
        // Wide and patterned pens: Qt's stroker, end pulled back by one pixel.
        QPen pen(color, m_pen.Width() == 1 ? 0 : m_pen.Width(), toQtPenStyle(m_pen.Style()),
                 Qt::FlatCap);
        m_painter->setPen(pen);
        const int ex = x2 - (std::abs(x2 - x1) >= std::abs(y2 - y1) ? sign(x2 - x1) : 0);
        const int ey = y2 - (std::abs(y2 - y1) > std::abs(x2 - x1) ? sign(y2 - y1) : 0);
        m_painter->drawLine(QPoint(x1, y1), QPoint(ex, ey));
    }
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

QPen TCanvas::outlinePen() const
{
    if (m_pen.Style() == TPenStyle::psClear)
        return QPen(Qt::NoPen);
    QPen pen(ToQColor(m_pen.Color()), m_pen.Width() == 1 ? 0 : m_pen.Width(),
             toQtPenStyle(m_pen.Style()));
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QBrush TCanvas::fillQBrush() const
{
    if (m_brush.Style() == TBrushStyle::bsClear)
        return QBrush(Qt::NoBrush);
    return QBrush(ToQColor(m_brush.Color()), toQtBrushStyle(m_brush.Style()));
}

template <class Fn> void TCanvas::drawShape(Fn draw)
{
    applyPenMode();
    m_painter->setPen(outlinePen());
    m_painter->setBrush(fillQBrush());
    draw(*m_painter);
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// ---- lines --------------------------------------------------------------------------------

void TCanvas::MoveTo(int x, int y)
{
    m_penPos = {x, y};
}

void TCanvas::LineTo(int x, int y)
{
    TCanvasOp op = makeOp(TCanvasOp::Kind::Line, {m_penPos.X, m_penPos.Y, x, y});
    record(std::move(op));
    if (Painter())
        strokeLine(m_penPos.X, m_penPos.Y, x, y);
    m_penPos = {x, y};
}

void TCanvas::Polyline(const std::vector<TPoint> &points)
{
    TCanvasOp op = makeOp(TCanvasOp::Kind::Polyline, {});
    op.points = points;
    record(std::move(op));
    if (!Painter())
        return;
    for (std::size_t i = 1; i < points.size(); ++i)
        strokeLine(points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y);
}

// ---- areas --------------------------------------------------------------------------------

void TCanvas::FillRect(const TRect &r)
{
    record(makeOp(TCanvasOp::Kind::FillRect, r));
    if (Painter())
        fillBrush(r);
}

void TCanvas::FrameRect(const TRect &r)
{
    record(makeOp(TCanvasOp::Kind::FrameRect, r));
    if (!Painter() || r.IsEmpty() || m_brush.Style() == TBrushStyle::bsClear)
        return;
    const TColor c = m_brush.Color();
    fillSolid({r.Left, r.Top, r.Right, r.Top + 1}, c);
    fillSolid({r.Left, r.Bottom - 1, r.Right, r.Bottom}, c);
    fillSolid({r.Left, r.Top, r.Left + 1, r.Bottom}, c);
    fillSolid({r.Right - 1, r.Top, r.Right, r.Bottom}, c);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    const TRect r{x1, y1, x2, y2};
    record(makeOp(TCanvasOp::Kind::Rectangle, r));
    if (!Painter() || r.IsEmpty())
        return;
    if (m_pen.Style() == TPenStyle::psClear) {
        fillBrush(r);
        return;
    }
    const int w = std::min({m_pen.Width(), (r.Width() + 1) / 2, (r.Height() + 1) / 2});
    fillBrush({x1 + w, y1 + w, x2 - w, y2 - w});
    if (isSolidPen(m_pen)) {
        applyPenMode();
        const QColor c = ToQColor(m_pen.Color());
        m_painter->fillRect(QRect(x1, y1, r.Width(), w), c);
        m_painter->fillRect(QRect(x1, y2 - w, r.Width(), w), c);
        m_painter->fillRect(QRect(x1, y1 + w, w, r.Height() - 2 * w), c);
        m_painter->fillRect(QRect(x2 - w, y1 + w, w, r.Height() - 2 * w), c);
        m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        strokeLine(x1, y1, x2, y1);
        strokeLine(x2 - 1, y1, x2 - 1, y2);
        strokeLine(x2 - 1, y2 - 1, x1 - 1, y2 - 1);
        strokeLine(x1, y2 - 1, x1, y1);
    }
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int w, int h)
{
    TCanvasOp op = makeOp(TCanvasOp::Kind::RoundRect, {x1, y1, x2, y2});
    op.count = w;
    op.count2 = h;
    record(std::move(op));
    if (!Painter() || x2 <= x1 || y2 <= y1)
        return;
    const bool pen = m_pen.Style() != TPenStyle::psClear;
    // With a one-pixel outline Qt covers width + 1 pixels, so the outline rect is one smaller.
    const QRect qr(x1, y1, x2 - x1 - (pen ? 1 : 0), y2 - y1 - (pen ? 1 : 0));
    drawShape([&](QPainter &p) { p.drawRoundedRect(qr, w / 2.0, h / 2.0, Qt::AbsoluteSize); });
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    record(makeOp(TCanvasOp::Kind::Ellipse, {x1, y1, x2, y2}));
    if (!Painter() || x2 <= x1 || y2 <= y1)
        return;
    const bool pen = m_pen.Style() != TPenStyle::psClear;
    const QRect qr(x1, y1, x2 - x1 - (pen ? 1 : 0), y2 - y1 - (pen ? 1 : 0));
    drawShape([&](QPainter &p) { p.drawEllipse(qr); });
}

void TCanvas::Polygon(const std::vector<TPoint> &points)
{
    TCanvasOp op = makeOp(TCanvasOp::Kind::Polygon, {});
    op.points = points;
    record(std::move(op));
    if (!Painter() || points.size() < 2)
        return;
    QPolygon poly;
    for (const auto &p : points)
        poly << p.toQPoint();
    drawShape([&](QPainter &p) { p.drawPolygon(poly, Qt::OddEvenFill); });
}

void TCanvas::DrawFocusRect(const TRect &r)
{
    record(makeOp(TCanvasOp::Kind::FocusRect, r));
    if (!Painter() || r.IsEmpty())
        return;
    // Every other pixel of the outline, each visited once so corners are not inverted twice.
    QPolygon pts;
    auto add = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            pts << QPoint(x, y);
    };
    for (int x = r.Left; x < r.Right; ++x)
        add(x, r.Top);
    if (r.Height() > 1)
        for (int x = r.Left; x < r.Right; ++x)
            add(x, r.Bottom - 1);
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        add(r.Left, y);
        if (r.Width() > 1)
            add(r.Right - 1, y);
    }
    m_painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    m_painter->setPen(QPen(Qt::white, 0));
    m_painter->drawPoints(pts);
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Frame3D(TRect &r, TColor topLeft, TColor bottomRight, int width)
{
    TCanvasOp op = makeOp(TCanvasOp::Kind::Frame3D, r);
    op.color1 = topLeft;
    op.color2 = bottomRight;
    op.count = width;
    record(std::move(op));
    const bool paint = Painter() != nullptr;
    for (int i = 0; i < width; ++i) {
        if (paint && !r.IsEmpty()) {
            fillSolid({r.Left, r.Top, r.Right - 1, r.Top + 1}, topLeft);
            fillSolid({r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, topLeft);
            fillSolid({r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
            fillSolid({r.Left, r.Bottom - 1, r.Right - 1, r.Bottom}, bottomRight);
        }
        InflateRect(r, -1, -1);
    }
}

void TCanvas::GradientFill(
    const TRect &r, TColor from, TColor to, TGradientDirection direction, int bands)
{
    TCanvasOp op = makeOp(TCanvasOp::Kind::Gradient, r);
    op.color1 = from;
    op.color2 = to;
    op.count = bands;
    record(std::move(op));
    if (!Painter() || r.IsEmpty())
        return;
    const bool vertical = direction == TGradientDirection::gdVertical;
    const int extent = vertical ? r.Height() : r.Width();
    const int n = std::max(1, std::min(bands, extent));
    const TColor f = ColorToRGB(from), t = ColorToRGB(to);
    const int fr = GetRValue(f), fg = GetGValue(f), fb = GetBValue(f);
    const int dr = GetRValue(t) - fr, dg = GetGValue(t) - fg, db = GetBValue(t) - fb;
    for (int i = 0; i < n; ++i) {
        const int s = extent * i / n, e = extent * (i + 1) / n;
        const int k = n > 1 ? n - 1 : 1;
        const TColor c = RGB(fr + dr * i / k, fg + dg * i / k, fb + db * i / k);
        const TRect band = vertical ? TRect{r.Left, r.Top + s, r.Right, r.Top + e}
                                    : TRect{r.Left + s, r.Top, r.Left + e, r.Bottom};
        fillSolid(band, c);
    }
}

// ---- edges and frame controls -------------------------------------------------------------

void TCanvas::edgeRing(const TRect &r, TColor topLeft, TColor bottomRight, std::uint32_t sides)
{
    if (r.IsEmpty())
        return;
    if (sides & BF_TOP)
        fillSolid({r.Left, r.Top, (sides & BF_RIGHT) ? r.Right - 1 : r.Right, r.Top + 1}, topLeft);
    if (sides & BF_LEFT)
        fillSolid({r.Left, r.Top, r.Left + 1, (sides & BF_BOTTOM) ? r.Bottom - 1 : r.Bottom},
                  topLeft);
    if (sides & BF_RIGHT)
        fillSolid({r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
    if (sides & BF_BOTTOM)
        fillSolid({r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
}

bool TCanvas::DrawEdge(TRect &r, std::uint32_t edge, std::uint32_t flags)
{
    TCanvasOp op = makeOp(TCanvasOp::Kind::DrawEdge, r);
    op.count = static_cast<int>(edge);
    op.flags = flags;
    record(std::move(op));
    const bool paint = Painter() != nullptr;
    TRect cur = r;
    auto shrink = [&] {
        if (flags & BF_LEFT)
            ++cur.Left;
        if (flags & BF_TOP)
            ++cur.Top;
        if (flags & BF_RIGHT)
            --cur.Right;
        if (flags & BF_BOTTOM)
            --cur.Bottom;
    };
    auto ring = [&](bool outer) {
        const std::uint32_t raised = outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
        const std::uint32_t sunken = outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER;
        if (!(edge & (raised | sunken)))
            return;
        TColor tl, br;
        if (flags & BF_MONO) {
            tl = br = outer ? clWindowFrame : clWindow;
        } else if (flags & BF_FLAT) {
            tl = br = outer ? clBtnShadow : clBtnFace;
        } else if (edge & raised) {
            tl = outer ? cl3DLight : clBtnHighlight;
            br = outer ? cl3DDkShadow : clBtnShadow;
        } else {
            tl = outer ? clBtnShadow : cl3DDkShadow;
            br = outer ? clBtnHighlight : cl3DLight;
        }
        if (paint)
            edgeRing(cur, tl, br, flags & BF_RECT);
        shrink();
    };
    ring(true);
    ring(false);
    if ((flags & BF_MIDDLE) && paint)
        fillSolid(cur, (flags & BF_MONO) ? clWindow : clBtnFace);
    if (flags & BF_ADJUST)
        r = cur;
    return true;
}

bool TCanvas::DrawEdge(const TRect &r, std::uint32_t edge, std::uint32_t flags)
{
    TRect copy = r;
    return DrawEdge(copy, edge, flags);
}

// direction: 0 up, 1 down, 2 left, 3 right.
void TCanvas::arrow(const TRect &r, int direction, TColor color)
{
    const int half = std::max(1, std::min(r.Width(), r.Height()) / 4);
    const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
    for (int k = 0; k < half; ++k) {
        const int spread = half - 1 - k; // widest row first
        switch (direction) {
        case 1: // down: widest at the top
            fillSolid({cx - spread, cy - half / 2 + k, cx + spread + 1, cy - half / 2 + k + 1},
                      color);
            break;
        case 0: // up: widest at the bottom
            fillSolid({cx - spread, cy + half / 2 - k, cx + spread + 1, cy + half / 2 - k + 1},
                      color);
            break;
        case 3: // right: widest at the left
            fillSolid({cx - half / 2 + k, cy - spread, cx - half / 2 + k + 1, cy + spread + 1},
                      color);
            break;
        default: // left: widest at the right
            fillSolid({cx + half / 2 - k, cy - spread, cx + half / 2 - k + 1, cy + spread + 1},
                      color);
            break;
        }
    }
}

bool TCanvas::DrawFrameControl(const TRect &r, std::uint32_t kind, std::uint32_t state)
{
    TCanvasOp op = makeOp(TCanvasOp::Kind::FrameControl, r);
    op.count = static_cast<int>(kind);
    op.flags = state;
    record(std::move(op));
    if (!Painter() || r.IsEmpty())
        return kind == DFC_BUTTON || kind == DFC_SCROLL;
    ++m_nested;
    const bool pushed = state & DFCS_PUSHED;
    const bool inactive = state & DFCS_INACTIVE;
    const bool flat = state & (DFCS_FLAT | DFCS_MONO);
    const std::uint32_t type = state & 0xFF;

    auto buttonFace = [&](bool sunkenFlat) {
        TRect face = r;
        if (flat || sunkenFlat) {
            DrawEdge(face, BDR_OUTER, BF_RECT | BF_FLAT | BF_ADJUST);
            fillSolid(face, clBtnFace);
        } else {
            DrawEdge(face, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
        }
        return face;
    };

    bool handled = true;
    if (kind == DFC_BUTTON && type == DFCS_BUTTONPUSH) {
        buttonFace(false);
    } else if (kind == DFC_BUTTON && (type == DFCS_BUTTONCHECK || type == DFCS_BUTTON3STATE)) {
        const int side = std::min(r.Width(), r.Height());
        TRect box =
            Bounds(r.Left + (r.Width() - side) / 2, r.Top + (r.Height() - side) / 2, side, side);
        if (flat)
            DrawEdge(box, BDR_OUTER, BF_RECT | BF_FLAT | BF_ADJUST);
        else
            DrawEdge(box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        const bool greyed =
            inactive || pushed || (type == DFCS_BUTTON3STATE && (state & DFCS_CHECKED));
        fillSolid(box, greyed ? clBtnFace : clWindow);
        if (state & DFCS_CHECKED) {
            // 7 x 7 tick: each column is 3 pixels high, down for three columns then up.
            static constexpr int kTop[7] = {2, 3, 4, 3, 2, 1, 0};
            const TColor c = inactive ? clGrayText : clWindowText;
            const int ox = box.Left + (box.Width() - 7) / 2, oy = box.Top + (box.Height() - 7) / 2;
            for (int i = 0; i < 7; ++i)
                fillSolid({ox + i, oy + kTop[i], ox + i + 1, oy + kTop[i] + 3}, c);
        }
    } else if (kind == DFC_BUTTON && (type & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE))) {
        const int side = std::min(r.Width(), r.Height());
        const TRect box =
            Bounds(r.Left + (r.Width() - side) / 2, r.Top + (r.Height() - side) / 2, side, side);
        m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        m_painter->setPen(QPen(ToQColor(clBtnShadow), 0));
        m_painter->setBrush(ToQColor(inactive || pushed ? clBtnFace : clWindow));
        m_painter->drawEllipse(QRect(box.Left, box.Top, side - 1, side - 1));
        if (state & DFCS_CHECKED) {
            const int dot = std::max(2, side / 3);
            const TRect d =
                Bounds(box.Left + (side - dot) / 2, box.Top + (side - dot) / 2, dot, dot);
            const QColor c = ToQColor(inactive ? clGrayText : clWindowText);
            m_painter->setPen(Qt::NoPen);
            m_painter->setBrush(c);
            m_painter->drawEllipse(d.toQRect());
        }
    } else if (kind == DFC_SCROLL && (type <= DFCS_SCROLLRIGHT || type == DFCS_SCROLLCOMBOBOX)) {
        TRect face = buttonFace(pushed);
        if (pushed)
            OffsetRect(face, 1, 1);
        const int dir = type == DFCS_SCROLLCOMBOBOX ? 1 : static_cast<int>(type);
        arrow(face, dir, inactive ? clGrayText : clBtnText);
    } else {
        handled = false;
    }
    --m_nested;
    return handled;
}

void TCanvas::FloodFill(int x, int y, TColor color, TFillStyle style)
{
    TCanvasOp op = makeOp(TCanvasOp::Kind::FloodFill, Bounds(x, y, 1, 1));
    op.color1 = color;
    record(std::move(op));
    if (!Painter() || m_brush.Style() == TBrushStyle::bsClear)
        return;
    QPaintDevice *dev = m_painter->device();
    QImage copy;
    const QImage *img = nullptr;
    if (dev->devType() == QInternal::Image) {
        img = static_cast<const QImage *>(dev);
    } else {
        copy = imageOfDevice(dev);
        img = &copy;
    }
    if (!img || !img->valid(x, y))
        return;
    const QRgb key = ToQColor(color).rgb() & 0x00FFFFFF;
    const int w = img->width(), h = img->height();
    auto inside = [&](int px, int py) {
        const bool same = (img->pixel(px, py) & 0x00FFFFFF) == key;
        return style == TFillStyle::fsSurface ? same : !same;
    };
    if (!inside(x, y))
        return;
    // Span fill: collect every run first, then paint them, so reading never sees our paint.
    std::vector<bool> seen(static_cast<std::size_t>(w) * h, false);
    auto mark = [&](int px, int py) -> std::vector<bool>::reference {
        return seen[static_cast<std::size_t>(py) * w + px];
    };
    std::vector<QPoint> stack{{x, y}};
    std::vector<QRect> spans;
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        if (mark(p.x(), p.y()) || !inside(p.x(), p.y()))
            continue;
        int l = p.x(), rgt = p.x();
        while (l > 0 && !mark(l - 1, p.y()) && inside(l - 1, p.y()))
            --l;
        while (rgt + 1 < w && !mark(rgt + 1, p.y()) && inside(rgt + 1, p.y()))
            ++rgt;
        for (int i = l; i <= rgt; ++i)
            mark(i, p.y()) = true;
        spans.emplace_back(l, p.y(), rgt - l + 1, 1);
        for (int ny : {p.y() - 1, p.y() + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            for (int i = l; i <= rgt; ++i)
                if (!mark(i, ny) && inside(i, ny))
                    stack.emplace_back(i, ny);
        }
    }
    for (const QRect &span : spans)
        fillBrush(TRect::fromQRect(span));
}

// ---- pixels -------------------------------------------------------------------------------

TColor TCanvas::Pixels(int x, int y)
{
    QPaintDevice *dev = m_painter ? m_painter->device() : m_device;
    if (!dev)
        return clNone;
    if (dev->devType() == QInternal::Image) {
        const auto *img = static_cast<const QImage *>(dev);
        if (!img->valid(x, y))
            return clNone;
        return FromQColor(QColor(img->pixel(x, y)));
    }
    const QImage img = imageOfDevice(dev);
    if (!img.valid(x, y))
        return clNone;
    return FromQColor(QColor(img.pixel(x, y)));
}

bool TCanvas::CanReadPixels() const
{
    const QPaintDevice *dev = m_painter ? m_painter->device() : m_device;
    return dev && (dev->devType() == QInternal::Image || dev->devType() == QInternal::Pixmap);
}

void TCanvas::SetPixels(int x, int y, TColor color)
{
    TCanvasOp op = makeOp(TCanvasOp::Kind::Pixel, {x, y, x + 1, y + 1});
    op.color1 = color;
    record(std::move(op));
    if (Painter())
        fillSolid({x, y, x + 1, y + 1}, color);
}

// ---- text ---------------------------------------------------------------------------------

int TCanvas::TextWidth(const QString &text)
{
    return measureWidth(text);
}

int TCanvas::TextHeight(const QString &)
{
    return lineHeight();
}

TSize TCanvas::TextExtent(const QString &text)
{
    return {measureWidth(text), lineHeight()};
}

bool TCanvas::opaqueText() const
{
    if (m_brush.Style() == TBrushStyle::bsClear)
        return false;
    return !(m_bkTransparent && m_bkBrushVersion == m_brush.Version());
}

void TCanvas::SetBkMode(TBkMode mode)
{
    m_bkTransparent = mode == TBkMode::bkTransparent;
    m_bkBrushVersion = m_brush.Version();
}

TBkMode TCanvas::BkMode() const
{
    return opaqueText() ? TBkMode::bkOpaque : TBkMode::bkTransparent;
}

void TCanvas::paintText(int x, int y, const TextLine &line)
{
    const QColor color = ToQColor(m_font.Color());
    const int lh = lineHeight();
    const int asc = ascent();
    const bool turned = m_font.Orientation() % 3600 != 0;
    if (turned) {
        m_painter->save();
        m_painter->translate(x, y);
        m_painter->rotate(-m_font.Orientation() / 10.0);
        x = 0;
        y = 0;
    }
    if (opaqueText())
        fillSolid({x, y, x + line.width, y + lh}, m_brush.Color());
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->setFont(qfont());
    m_painter->setPen(QPen(color, 0));
    const int base = y + asc;
    m_painter->drawText(QPoint(x, base), line.text);
    for (int idx : line.underline) {
        const int cx = x + measureWidth(line.text.left(idx));
        const int cw = measureWidth(line.text.mid(idx, 1));
        m_painter->fillRect(QRect(cx, base + 1, cw, 1), color);
    }
    if (turned)
        m_painter->restore();
}

void TCanvas::TextOut(int x, int y, const QString &text)
{
    TCanvasOp op = makeOp(TCanvasOp::Kind::TextOut, Bounds(x, y, 0, 0));
    TextLine line{text, {}, measureWidth(text)};
    op.rect = Bounds(x, y, line.width, lineHeight());
    op.text = text;
    record(std::move(op));
    if (Painter())
        paintText(x, y, line);
    m_penPos = {x + line.width, y};
}

void TCanvas::TextRect(const TRect &r, int x, int y, const QString &text)
{
    TCanvasOp op = makeOp(TCanvasOp::Kind::TextRect, r);
    op.text = text;
    op.points = {{x, y}};
    record(std::move(op));
    if (!Painter())
        return;
    m_painter->setClipRegion(effectiveClip() & QRegion(r.toQRect()));
    if (opaqueText())
        fillBrush(r);
    // The rectangle already carries the background; the text itself goes on transparently.
    const bool savedMode = m_bkTransparent;
    const unsigned savedVersion = m_bkBrushVersion;
    m_bkTransparent = true;
    m_bkBrushVersion = m_brush.Version();
    paintText(x, y, TextLine{text, {}, measureWidth(text)});
    m_bkTransparent = savedMode;
    m_bkBrushVersion = savedVersion;
    applyClip();
}

std::vector<TCanvas::TextLine>
TCanvas::layoutText(const QString &text, const TRect &r, std::uint32_t flags)
{
    // 1. Mnemonic prefixes: '&x' underlines x, '&&' is a literal '&', a final '&' is dropped.
    QString plain;
    std::vector<bool> ul;
    plain.reserve(text.size());
    const bool prefix = !(flags & DT_NOPREFIX);
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        bool mark = false;
        if (prefix && c == QLatin1Char('&')) {
            if (i + 1 >= text.size())
                break;
            c = text[++i];
            mark = c != QLatin1Char('&') && !(flags & DT_HIDEPREFIX);
        }
        plain.append(c);
        ul.push_back(mark);
    }

    // 2. Tabs to spaces up to the next multiple of 8 columns.
    if ((flags & DT_EXPANDTABS) && plain.contains(QLatin1Char('\t'))) {
        QString expanded;
        std::vector<bool> ul2;
        int col = 0;
        for (qsizetype i = 0; i < plain.size(); ++i) {
            const QChar c = plain[i];
            if (c == QLatin1Char('\t')) {
                do {
                    expanded.append(QLatin1Char(' '));
                    ul2.push_back(false);
                    ++col;
                } while (col % 8 != 0);
                continue;
            }
            col = (c == QLatin1Char('\n') || c == QLatin1Char('\r')) ? 0 : col + 1;
            expanded.append(c);
            ul2.push_back(ul[static_cast<std::size_t>(i)]);
        }
        plain = expanded;
        ul = std::move(ul2);
    }

    // 3. Paragraphs: one line in single-line mode (line breaks dropped), else split at breaks.
    struct Para
    {
        QString s;
        std::vector<bool> ul;
    };
    std::vector<Para> paras(1);
    const bool single = flags & DT_SINGLELINE;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const QChar c = plain[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (single)
                continue;
            if (c == QLatin1Char('\r') && i + 1 < plain.size() && plain[i + 1] == QLatin1Char('\n'))
                ++i;
            paras.emplace_back();
            continue;
        }
        paras.back().s.append(c);
        paras.back().ul.push_back(ul[static_cast<std::size_t>(i)]);
    }

    auto makeLine = [&](const Para &p, qsizetype from, qsizetype to) {
        TextLine line;
        line.text = p.s.mid(from, to - from);
        for (qsizetype k = from; k < to; ++k)
            if (p.ul[static_cast<std::size_t>(k)])
                line.underline.push_back(static_cast<int>(k - from));
        return line;
    };

    // 4. Word break: greedy at spaces; a word wider than the rectangle keeps a line of its own.
    std::vector<TextLine> lines;
    const bool wrap = (flags & DT_WORDBREAK) && !single;
    const int avail = r.Width();
    for (const Para &p : paras) {
        const qsizetype n = p.s.size();
        if (!wrap || n == 0) {
            lines.push_back(makeLine(p, 0, n));
            continue;
        }
        qsizetype pos = 0;
        while (true) {
            const qsizetype start = pos;
            qsizetype fitEnd = -1;
            qsizetype i = pos;
            while (i < n) {
                qsizetype j = i;
                while (j < n && p.s[j] == QLatin1Char(' '))
                    ++j;
                qsizetype k = j;
                while (k < n && p.s[k] != QLatin1Char(' '))
                    ++k;
                if (fitEnd < 0 || measureWidth(p.s.mid(start, k - start)) <= avail) {
                    fitEnd = k;
                    i = k;
                } else {
                    break;
                }
            }
            if (fitEnd < 0)
                fitEnd = n;
            lines.push_back(makeLine(p, start, fitEnd));
            pos = fitEnd;
            while (pos < n && p.s[pos] == QLatin1Char(' '))
                ++pos;
            if (pos >= n)
                break;
        }
    }

    // 5. Ellipsis: a line wider than the rectangle is cut and ends in "...".
    const bool ellipsis = flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS);
    const QString dots = QStringLiteral("...");
    for (TextLine &line : lines) {
        line.width = measureWidth(line.text);
        if (!ellipsis || line.width <= avail)
            continue;
        QString cut = line.text;
        while (!cut.isEmpty() && measureWidth(cut + dots) > avail)
            cut.chop(1);
        std::erase_if(line.underline, [&](int idx) { return idx >= cut.size(); });
        line.text = cut + dots;
        line.width = measureWidth(line.text);
    }
    return lines;
}

int TCanvas::DrawText(const QString &text, TRect &r, std::uint32_t flags)
{
    const std::vector<TextLine> lines = layoutText(text, r, flags);
    const int lh = lineHeight();
    const int total = lh * static_cast<int>(lines.size());
    int maxWidth = 0;
    for (const auto &l : lines)
        maxWidth = std::max(maxWidth, l.width);

    if (flags & DT_CALCRECT) {
        r.Right = r.Left + maxWidth;
        r.Bottom = r.Top + total;
        return total;
    }

    const bool single = flags & DT_SINGLELINE;
    int top = r.Top;
    if (single && (flags & DT_VCENTER))
        top = r.Top + (r.Height() - total) / 2;
    else if (single && (flags & DT_BOTTOM))
        top = r.Bottom - total;

    TCanvasOp op = makeOp(TCanvasOp::Kind::DrawText, r);
    op.text = text;
    op.flags = flags;
    std::vector<TPoint> origins;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        int x = r.Left;
        if (flags & DT_CENTER)
            x = r.Left + (r.Width() - lines[i].width) / 2;
        else if (flags & DT_RIGHT)
            x = r.Right - lines[i].width;
        origins.push_back({x, top + static_cast<int>(i) * lh});
        op.lines << lines[i].text;
    }
    op.points = origins;
    record(std::move(op));

    if (Painter()) {
        if (!(flags & DT_NOCLIP))
            m_painter->setClipRegion(effectiveClip() & QRegion(r.toQRect()));
        for (std::size_t i = 0; i < lines.size(); ++i)
            paintText(origins[i].X, origins[i].Y, lines[i]);
        if (!(flags & DT_NOCLIP))
            applyClip();
    }
    return single && (flags & (DT_VCENTER | DT_BOTTOM)) ? top - r.Top + total : total;
}

int TCanvas::DrawText(const QString &text, const TRect &r, std::uint32_t flags)
{
    TRect copy = r;
    return DrawText(text, copy, flags);
}

// ---- pictures -----------------------------------------------------------------------------

void TCanvas::Draw(int x, int y, const QImage &image)
{
    record(makeOp(TCanvasOp::Kind::Draw, Bounds(x, y, image.width(), image.height())));
    if (!Painter() || image.isNull())
        return;
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->drawImage(QPoint(x, y), image);
}

void TCanvas::Draw(int x, int y, TBitmap &bitmap)
{
    if (bitmap.Transparent())
        DrawTransparent(x, y, bitmap.Image(), bitmap.TransparentColor());
    else
        Draw(x, y, bitmap.Image());
}

void TCanvas::DrawTransparent(int x, int y, const QImage &image, TColor transparent)
{
    DrawTransparent(x, y, image, Bounds(0, 0, image.width(), image.height()), transparent);
}

void TCanvas::DrawTransparent(
    int x, int y, const QImage &image, const TRect &src, TColor transparent)
{
    TCanvasOp op = makeOp(TCanvasOp::Kind::Draw, Bounds(x, y, src.Width(), src.Height()));
    op.color1 = transparent;
    record(std::move(op));
    if (!Painter() || image.isNull() || src.IsEmpty())
        return;
    const QImage part = withTransparentColor(image.copy(src.toQRect()), transparent);
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->drawImage(QPoint(x, y), part);
}

void TCanvas::StretchDraw(const TRect &r, const QImage &image)
{
    record(makeOp(TCanvasOp::Kind::Draw, r));
    if (!Painter() || image.isNull() || r.IsEmpty())
        return;
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->drawImage(r.toQRect(), image);
}

void TCanvas::CopyRect(const TRect &dest, const QImage &source, const TRect &src)
{
    record(makeOp(TCanvasOp::Kind::CopyRect, dest));
    if (!Painter() || source.isNull() || dest.IsEmpty() || src.IsEmpty())
        return;
    m_painter->setCompositionMode(QPainter::CompositionMode_Source);
    m_painter->drawImage(dest.toQRect(), source, src.toQRect());
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::CopyRect(const TRect &dest, TCanvas &source, const TRect &src)
{
    QPaintDevice *dev = source.m_painter ? source.m_painter->device() : source.m_device;
    source.Flush();
    CopyRect(dest, imageOfDevice(dev), src);
}

// ---- clipping -----------------------------------------------------------------------------

TRect TCanvas::ClipRect() const
{
    QRect bounds = m_device ? QRect(0, 0, m_device->width(), m_device->height()) : QRect();
    if (m_hasClip || m_hasBaseClip) {
        const QRegion clip = effectiveClip();
        bounds = m_device ? clip.boundingRect() & bounds : clip.boundingRect();
    }
    return TRect::fromQRect(bounds);
}

void TCanvas::SetClipRect(const TRect &r)
{
    m_clip = QRegion(r.toQRect());
    m_hasClip = true;
    applyClip();
}

void TCanvas::IntersectClipRect(const TRect &r)
{
    if (m_hasClip)
        m_clip &= QRegion(r.toQRect());
    else
        m_clip = QRegion(r.toQRect());
    m_hasClip = true;
    applyClip();
}

void TCanvas::ExcludeClipRect(const TRect &r)
{
    if (!m_hasClip)
        m_clip = QRegion(kHugeRect);
    m_clip -= QRegion(r.toQRect());
    m_hasClip = true;
    applyClip();
}

void TCanvas::ResetClip()
{
    m_hasClip = false;
    m_clip = QRegion();
    applyClip();
}

void TCanvas::SaveClip()
{
    m_clipStack.emplace_back(m_hasClip, m_clip);
}

void TCanvas::RestoreClip()
{
    if (m_clipStack.empty())
        return;
    m_hasClip = m_clipStack.back().first;
    m_clip = m_clipStack.back().second;
    m_clipStack.pop_back();
    applyClip();
}

// ---- recording canvas ---------------------------------------------------------------------

TRecordingCanvas::TRecordingCanvas(int charWidth, int lineHeight)
    : m_charWidth(charWidth), m_lineHeight(lineHeight)
{
    SetRecording(true);
}

std::vector<TCanvasOp> TRecordingCanvas::OpsOf(TCanvasOp::Kind kind) const
{
    std::vector<TCanvasOp> out;
    for (const auto &op : Ops())
        if (op.kind == kind)
            out.push_back(op);
    return out;
}

QStringList TRecordingCanvas::Texts() const
{
    QStringList out;
    for (const auto &op : Ops())
        if (op.kind == TCanvasOp::Kind::DrawText || op.kind == TCanvasOp::Kind::TextOut ||
            op.kind == TCanvasOp::Kind::TextRect)
            out << op.text;
    return out;
}

int TRecordingCanvas::measureWidth(const QString &text)
{
    return m_charWidth * static_cast<int>(text.size());
}

int TRecordingCanvas::lineHeight()
{
    return m_lineHeight;
}

int TRecordingCanvas::ascent()
{
    return m_lineHeight - 3;
}
