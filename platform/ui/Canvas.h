// GDI-like drawing over QPainter, so drawing steps written against the original toolkit's canvas
// read almost unchanged: pen, brush and font state, integer coordinates, no antialiasing, and the
// original pixel rules (FillRect/Rectangle leave out the right and bottom edge, lines leave out
// their end point).
//
// A TCanvas either borrows a QPainter, opens its own on a paint device (QImage, QPixmap, or a
// widget inside its paint event), or has no target at all (measuring only). TRecordingCanvas
// records every call with fixed font metrics for tests that check what was drawn.
#pragma once

#include "platform/ui/Colors.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

#include <QFont>
#include <QHash>
#include <QRegion>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

class QBrush;
class QFontMetrics;
class QImage;
class QPaintDevice;
class QPainter;
class QPen;
class TBitmap;

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// pmXor and pmNot need a raster target (QImage, or a widget on the raster backend).
enum class TPenMode { pmCopy, pmNot, pmXor, pmNotXor };
enum class TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

class TPen
{
public:
    TColor Color() const { return m_color; }
    void SetColor(TColor c) { m_color = c; }
    int Width() const { return m_width; }
    void SetWidth(int w) { m_width = w < 1 ? 1 : w; }
    TPenStyle Style() const { return m_style; }
    void SetStyle(TPenStyle s) { m_style = s; }
    TPenMode Mode() const { return m_mode; }
    void SetMode(TPenMode m) { m_mode = m; }
    void Assign(const TPen &o) { *this = o; }

private:
    TColor m_color = clBlack;
    int m_width = 1;
    TPenStyle m_style = TPenStyle::psSolid;
    TPenMode m_mode = TPenMode::pmCopy;
};

class TBrush
{
public:
    TColor Color() const { return m_color; }
    // Setting a colour on a clear brush makes it solid, as the original did.
    void SetColor(TColor c)
    {
        m_color = c;
        if (m_style == TBrushStyle::bsClear)
            m_style = TBrushStyle::bsSolid;
        ++m_version;
    }
    TBrushStyle Style() const { return m_style; }
    void SetStyle(TBrushStyle s)
    {
        m_style = s;
        ++m_version;
    }
    void Assign(const TBrush &o)
    {
        m_color = o.m_color;
        m_style = o.m_style;
        ++m_version;
    }
    // Counts changes; a text background mode set on the canvas lasts until the brush changes.
    unsigned Version() const { return m_version; }

private:
    TColor m_color = clWhite;
    TBrushStyle m_style = TBrushStyle::bsSolid;
    unsigned m_version = 0;
};

// DrawText format flags (values as the original API's).
inline constexpr std::uint32_t DT_TOP = 0x00000000;
inline constexpr std::uint32_t DT_LEFT = 0x00000000;
inline constexpr std::uint32_t DT_CENTER = 0x00000001;
inline constexpr std::uint32_t DT_RIGHT = 0x00000002;
inline constexpr std::uint32_t DT_VCENTER = 0x00000004;
inline constexpr std::uint32_t DT_BOTTOM = 0x00000008;
inline constexpr std::uint32_t DT_WORDBREAK = 0x00000010;
inline constexpr std::uint32_t DT_SINGLELINE = 0x00000020;
inline constexpr std::uint32_t DT_EXPANDTABS = 0x00000040;
inline constexpr std::uint32_t DT_TABSTOP = 0x00000080;
inline constexpr std::uint32_t DT_NOCLIP = 0x00000100;
inline constexpr std::uint32_t DT_EXTERNALLEADING = 0x00000200;
inline constexpr std::uint32_t DT_CALCRECT = 0x00000400;
inline constexpr std::uint32_t DT_NOPREFIX = 0x00000800;
inline constexpr std::uint32_t DT_INTERNAL = 0x00001000;
inline constexpr std::uint32_t DT_EDITCONTROL = 0x00002000;
inline constexpr std::uint32_t DT_PATH_ELLIPSIS = 0x00004000;
inline constexpr std::uint32_t DT_END_ELLIPSIS = 0x00008000;
inline constexpr std::uint32_t DT_MODIFYSTRING = 0x00010000;
inline constexpr std::uint32_t DT_RTLREADING = 0x00020000;
inline constexpr std::uint32_t DT_WORD_ELLIPSIS = 0x00040000;
inline constexpr std::uint32_t DT_HIDEPREFIX = 0x00100000;
inline constexpr std::uint32_t DT_PREFIXONLY = 0x00200000;

// DrawEdge edge kinds and side flags (values as the original API's).
inline constexpr std::uint32_t BDR_RAISEDOUTER = 0x0001;
inline constexpr std::uint32_t BDR_SUNKENOUTER = 0x0002;
inline constexpr std::uint32_t BDR_RAISEDINNER = 0x0004;
inline constexpr std::uint32_t BDR_SUNKENINNER = 0x0008;
inline constexpr std::uint32_t BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
inline constexpr std::uint32_t BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER;
inline constexpr std::uint32_t EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr std::uint32_t EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr std::uint32_t EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr std::uint32_t EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
inline constexpr std::uint32_t BF_LEFT = 0x0001;
inline constexpr std::uint32_t BF_TOP = 0x0002;
inline constexpr std::uint32_t BF_RIGHT = 0x0004;
inline constexpr std::uint32_t BF_BOTTOM = 0x0008;
inline constexpr std::uint32_t BF_TOPLEFT = BF_TOP | BF_LEFT;
inline constexpr std::uint32_t BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
inline constexpr std::uint32_t BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
inline constexpr std::uint32_t BF_MIDDLE = 0x0800;
inline constexpr std::uint32_t BF_SOFT = 0x1000;
inline constexpr std::uint32_t BF_ADJUST = 0x2000;
inline constexpr std::uint32_t BF_FLAT = 0x4000;
inline constexpr std::uint32_t BF_MONO = 0x8000;

// DrawFrameControl kinds and states (values as the original API's).
inline constexpr std::uint32_t DFC_CAPTION = 1;
inline constexpr std::uint32_t DFC_MENU = 2;
inline constexpr std::uint32_t DFC_SCROLL = 3;
inline constexpr std::uint32_t DFC_BUTTON = 4;
inline constexpr std::uint32_t DFCS_BUTTONCHECK = 0x0000;
inline constexpr std::uint32_t DFCS_BUTTONRADIOIMAGE = 0x0001;
inline constexpr std::uint32_t DFCS_BUTTONRADIOMASK = 0x0002;
inline constexpr std::uint32_t DFCS_BUTTONRADIO = 0x0004;
inline constexpr std::uint32_t DFCS_BUTTON3STATE = 0x0008;
inline constexpr std::uint32_t DFCS_BUTTONPUSH = 0x0010;
inline constexpr std::uint32_t DFCS_SCROLLUP = 0x0000;
inline constexpr std::uint32_t DFCS_SCROLLDOWN = 0x0001;
inline constexpr std::uint32_t DFCS_SCROLLLEFT = 0x0002;
inline constexpr std::uint32_t DFCS_SCROLLRIGHT = 0x0003;
inline constexpr std::uint32_t DFCS_SCROLLCOMBOBOX = 0x0005;
inline constexpr std::uint32_t DFCS_INACTIVE = 0x0100;
inline constexpr std::uint32_t DFCS_PUSHED = 0x0200;
inline constexpr std::uint32_t DFCS_CHECKED = 0x0400;
inline constexpr std::uint32_t DFCS_TRANSPARENT = 0x0800;
inline constexpr std::uint32_t DFCS_HOT = 0x1000;
inline constexpr std::uint32_t DFCS_ADJUSTRECT = 0x2000;
inline constexpr std::uint32_t DFCS_FLAT = 0x4000;
inline constexpr std::uint32_t DFCS_MONO = 0x8000;

// FloodFill: fsBorder fills outward until the given colour, fsSurface fills the area of it.
enum class TFillStyle { fsBorder, fsSurface };

// Text background: opaque (brush colour behind solid-brush text) or transparent.
enum class TBkMode { bkOpaque, bkTransparent };

// gdVertical: the colour changes from top to bottom (horizontal bands);
// gdHorizontal: from left to right (vertical bands).
enum class TGradientDirection { gdVertical, gdHorizontal };

// One recorded drawing call. Fields a call does not use keep their defaults.
struct TCanvasOp
{
    enum class Kind {
        FillRect,
        FrameRect,
        Rectangle,
        RoundRect,
        Ellipse,
        Polygon,
        Polyline,
        Line,
        Pixel,
        TextOut,
        TextRect,
        DrawText,
        Gradient,
        FocusRect,
        Frame3D,
        Draw,
        CopyRect,
        DrawEdge,
        FrameControl,
        FloodFill,
    };

    Kind kind = Kind::FillRect;
    TRect rect;                 // target rectangle (line: from Left/Top to Right/Bottom)
    std::vector<TPoint> points; // polygon/polyline points; DrawText: origin of each line
    QString text;               // text as passed
    QStringList lines;          // DrawText: the lines as laid out (prefixes removed, ellipsis)
    std::uint32_t flags = 0;    // DrawText flags; DrawEdge side flags; frame control state
    TColor penColor = clNone;
    int penWidth = 1;
    TPenStyle penStyle = TPenStyle::psSolid;
    TColor brushColor = clNone;
    TBrushStyle brushStyle = TBrushStyle::bsSolid;
    TColor fontColor = clNone;
    TFontStyles fontStyle;
    QString fontName;
    int fontHeight = 0;
    TColor color1 = clNone; // gradient start, Frame3D top-left, transparent colour of Draw
    TColor color2 = clNone; // gradient end, Frame3D bottom-right
    int count = 0;          // gradient bands, Frame3D width, RoundRect corner width,
                            // DrawEdge edge kind, frame control kind
    int count2 = 0;         // RoundRect corner height
    TRect clip;             // clip in force (empty when none)
};

class TCanvas
{
public:
    // No target: measures text with the real font metrics and draws nothing.
    TCanvas();
    // Draws through a painter owned by the caller; the canvas changes its pen, brush, font,
    // clipping and render hints as it draws.
    explicit TCanvas(QPainter *painter);
    // Opens its own painter on the device at the first drawing call; Flush() ends it.
    explicit TCanvas(QPaintDevice *device);
    virtual ~TCanvas();

    TCanvas(const TCanvas &) = delete;
    TCanvas &operator=(const TCanvas &) = delete;

    TPen &Pen() { return m_pen; }
    const TPen &Pen() const { return m_pen; }
    TBrush &Brush() { return m_brush; }
    const TBrush &Brush() const { return m_brush; }
    TFont &Font() { return m_font; }
    const TFont &Font() const { return m_font; }
    void SetFont(const TFont &font) { m_font.Assign(font); }

    // The painter in use (opened on demand for a device canvas); null without a target.
    QPainter *Painter();
    QPaintDevice *Device() const;
    // Ends an owned painter so the device can be read or copied; drawing reopens it.
    void Flush();

    // Recording: every drawing call is appended to Ops() (also on a canvas that paints).
    void SetRecording(bool on) { m_recording = on; }
    bool IsRecording() const { return m_recording; }
    const std::vector<TCanvasOp> &Ops() const { return m_ops; }
    void ClearOps() { m_ops.clear(); }

    // Lines
    TPoint PenPos() const { return m_penPos; }
    void SetPenPos(const TPoint &p) { m_penPos = p; }
    void MoveTo(int x, int y);
    // Draws from the pen position to (x, y) without the end point and moves the pen there.
    void LineTo(int x, int y);
    void Polyline(const std::vector<TPoint> &points);

    // Areas
    void FillRect(const TRect &r);  // brush only
    void FrameRect(const TRect &r); // one-pixel frame in the brush colour
    // Outline in the pen (inside the rectangle for widths above 1), inside in the brush.
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect &r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    // w, h: width and height of the corner ellipses.
    void RoundRect(int x1, int y1, int x2, int y2, int w, int h);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect &r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void Polygon(const std::vector<TPoint> &points);
    // Dotted focus frame drawn by inverting every other pixel; drawing it twice removes it.
    void DrawFocusRect(const TRect &r);
    // Frame of `width` rings: top and left edges in topLeft, right and bottom in bottomRight
    // (the top-right and bottom-left corner pixels take bottomRight). Shrinks r by width.
    void Frame3D(TRect &r, TColor topLeft, TColor bottomRight, int width);
    // `bands` equal bands (the last takes the remainder) from `from` to `to`; band i has per
    // channel from + (to - from) * i / (bands - 1), truncated. The pen is not used.
    void
    GradientFill(const TRect &r, TColor from, TColor to, TGradientDirection direction, int bands);

    // Classic 3-D edges in the system colours. BF_ADJUST shrinks r by the drawn edges.
    bool DrawEdge(TRect &r, std::uint32_t edge, std::uint32_t flags);
    bool DrawEdge(const TRect &r, std::uint32_t edge, std::uint32_t flags);
    // Classic push buttons, check boxes, radio buttons and scroll/combo arrow buttons.
    bool DrawFrameControl(const TRect &r, std::uint32_t kind, std::uint32_t state);
    // Fills with the brush from (x, y); needs a readable target (an image or pixmap).
    void FloodFill(int x, int y, TColor color, TFillStyle style);

    // Pixels
    // clNone when the canvas cannot read its target or the point lies outside it.
    TColor Pixels(int x, int y);
    // Whether the target can be read back (an image or a pixmap; not a widget being painted),
    // which Pixels and FloodFill need.
    bool CanReadPixels() const;
    void SetPixels(int x, int y, TColor color);

    // Text. Text is drawn in the font colour; with a solid brush its background (the text
    // extent) is filled in the brush colour first, with a clear brush it is transparent.
    // SetBkMode(bkTransparent) makes it transparent until the brush is changed. A font with an
    // Orientation draws TextOut turned about its start point.
    void SetBkMode(TBkMode mode);
    TBkMode BkMode() const;
    void TextOut(int x, int y, const QString &text);
    // Text at (x, y) clipped to r; a solid brush fills r first.
    void TextRect(const TRect &r, int x, int y, const QString &text);
    // Formatted text in r (flags DT_*). Returns the text height (with DT_VCENTER/DT_BOTTOM in a
    // single line: from r.Top to the bottom of the text). DT_CALCRECT draws nothing and sets
    // r.Right/r.Bottom to fit the text.
    int DrawText(const QString &text, TRect &r, std::uint32_t flags);
    int DrawText(const QString &text, const TRect &r, std::uint32_t flags);
    int TextWidth(const QString &text);
    int TextHeight(const QString &text);
    // Distance from the top of a text line to its baseline in the current font.
    int TextAscent() { return ascent(); }
    TSize TextExtent(const QString &text);

    // Pictures
    void Draw(int x, int y, const QImage &image);
    // Honours the bitmap's Transparent/TransparentColor.
    void Draw(int x, int y, TBitmap &bitmap);
    // Pixels of `transparent` colour are left out.
    void DrawTransparent(int x, int y, const QImage &image, TColor transparent);
    // Only the part `src` of the image, placed at (x, y).
    void DrawTransparent(int x, int y, const QImage &image, const TRect &src, TColor transparent);
    void StretchDraw(const TRect &r, const QImage &image);
    void CopyRect(const TRect &dest, const QImage &source, const TRect &src);
    // Source canvas must have an image or pixmap target.
    void CopyRect(const TRect &dest, TCanvas &source, const TRect &src);

    // Clipping (device coordinates). Without a clip everything is drawable.
    bool HasClip() const { return m_hasClip; }
    // Bounds of the clip; the target's rectangle (or an empty one without target) when none.
    TRect ClipRect() const;
    void SetClipRect(const TRect &r);
    void IntersectClipRect(const TRect &r);
    void ExcludeClipRect(const TRect &r);
    void ResetClip();
    // Clip stack, as saving and restoring the device context did for clipping.
    void SaveClip();
    void RestoreClip();

protected:
    // Text metrics of the current font; the recording canvas makes them fixed.
    virtual int measureWidth(const QString &text);
    virtual int lineHeight();
    virtual int ascent();

private:
    struct TextLine
    {
        QString text;
        std::vector<int> underline; // indexes into text
        int width = 0;
    };
    void beginIfNeeded();
    QRegion effectiveClip() const;
    void applyClip();
    void applyPenMode();
    QPen outlinePen() const;
    QBrush fillQBrush() const;
    // Outline with the pen and fill with the brush, in the pen's mode (Canvas.cpp only).
    template <class Fn> void drawShape(Fn draw);
    void fillBrush(const TRect &r);
    void record(TCanvasOp op);
    TCanvasOp makeOp(TCanvasOp::Kind kind, const TRect &r) const;
    const QFont &qfont();
    void fillSolid(const TRect &r, TColor color);
    void strokeLine(int x1, int y1, int x2, int y2);
    void paintText(int x, int y, const TextLine &line);
    bool opaqueText() const;
    void edgeRing(const TRect &r, TColor topLeft, TColor bottomRight, std::uint32_t sides);
    void arrow(const TRect &r, int direction, TColor color);
    std::vector<TextLine> layoutText(const QString &text, const TRect &r, std::uint32_t flags);

    TPen m_pen;
    TBrush m_brush;
    TFont m_font;
    TPoint m_penPos;

    QPainter *m_painter = nullptr;
    std::unique_ptr<QPainter> m_ownPainter;
    QPaintDevice *m_device = nullptr;

    bool m_hasBaseClip = false; // clip of a borrowed painter
    QRegion m_baseClip;
    bool m_hasClip = false;
    QRegion m_clip;
    std::vector<std::pair<bool, QRegion>> m_clipStack;

    int m_nested = 0; // inside a composite call: its parts are not recorded
    bool m_bkTransparent = false;
    unsigned m_bkBrushVersion = 0;

    bool m_recording = false;
    std::vector<TCanvasOp> m_ops;

    // The fonts used lately with their metrics, most recent first: text that switches between
    // a few fonts (bold words, links) finds each again without a font look-up.
    struct TFontSlot
    {
        TFont key;
        QFont font;
        std::unique_ptr<QFontMetrics> metrics;
        // Widths of short texts measured in this font (words of markup come again and again);
        // emptied when full.
        QHash<QString, int> widths;
    };
    std::vector<TFontSlot> m_fontSlots;
    QFont m_qfont;
    QFontMetrics *m_metrics = nullptr;
    QHash<QString, int> *m_widths = nullptr;
};

// Saves the clip on construction and restores it on destruction.
class TClipSaver
{
public:
    explicit TClipSaver(TCanvas &canvas) : m_canvas(canvas) { m_canvas.SaveClip(); }
    ~TClipSaver() { m_canvas.RestoreClip(); }
    TClipSaver(const TClipSaver &) = delete;
    TClipSaver &operator=(const TClipSaver &) = delete;

private:
    TCanvas &m_canvas;
};

// A canvas that draws nothing and records every call, with fixed font metrics: every character
// CharWidth() pixels wide, every line LineHeight() pixels high.
class TRecordingCanvas : public TCanvas
{
public:
    explicit TRecordingCanvas(int charWidth = 7, int lineHeight = 13);

    int CharWidth() const { return m_charWidth; }
    int LineHeight() const { return m_lineHeight; }

    std::vector<TCanvasOp> OpsOf(TCanvasOp::Kind kind) const;
    // Texts of the text calls in order (DrawText, TextOut, TextRect).
    QStringList Texts() const;

protected:
    int measureWidth(const QString &text) override;
    int lineHeight() override;
    int ascent() override;

private:
    int m_charWidth;
    int m_lineHeight;
};
