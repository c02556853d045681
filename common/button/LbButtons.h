// What the push button draws and fades with: the face painter, its colour and picture helpers,
// the colour schemes, the kind pictures and the fade ticker.
#pragma once

#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

enum class TLbButtonStyle { bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken };

enum class TLbButtonKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};

enum class TLbButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

enum class TLbColorStyle {
    lcsCustom,
    lcsGold,
    lcsChrome,
    lcsBlue,
    lcsRed,
    lcsUltraFlat1,
    lcsUltraFlat2,
    lcsUltraFlatXP,
    lcsAqua,
    lcsDefault,
    lcsQuicken
};

// Horizontal placement of the caption.
enum class TLbAlignment { taLeftJustify, taRightJustify, taCenter };

// Styles painted on this key colour; the key is left out when the face reaches the screen.
inline constexpr TColor LbTransparentKey = 0xFF00FF;

// True for the styles whose face does not cover the whole control.
bool LbIsTransparentStyle(TLbButtonStyle style);

// Everything the face painter needs; colours may be system colours, clNone = no colour.
struct TLbFace
{
    int Width = 0;
    int Height = 0;
    TLbAlignment Alignment = TLbAlignment::taCenter;
    QString Caption;
    TLbButtonLayout Layout = TLbButtonLayout::blGlyphLeft;
    TFont Font;
    TColor ShadowColor = clGray;
    TColor LightColor = clWhite;
    TColor HotTrackColor = clNone;
    TColor DownColor = clNone;
    TColor FaceColor = clBtnFace;
    TLbButtonStyle Style = TLbButtonStyle::bsNormal;
    bool HasPopup = false;
    bool WordWrap = false;
    bool Flat = false;
    bool Enabled = true;
    bool Hot = false; // mouse over the button or focused
    bool Pressed = false;
    QImage Glyph;
    int NumGlyphs = 0;
    int HotTrackStep = 0;
};

// Paints the whole face into the canvas at 0, 0.
void LbDrawButtonFace(TCanvas &canvas, const TLbFace &face);

// Face and hot-track colour mixed by step/8 per channel, truncated.
TColor LbBlendHotTrack(TColor face, TColor hot, int step);

// 32 horizontal bands from `from` (top) to `to` (bottom); band i starts at
// Top + i * (Bottom - Top) / 31, is (Bottom - Top) / 31 + 1 high and is clipped at Bottom.
void LbGradientFill(TCanvas &canvas, const TRect &rect, TColor from, TColor to);

// Cell `index` of a strip of `numGlyphs` cells at x, y; the cell's lower-left pixel colour is
// left out. A cell outside the strip draws nothing.
void LbDrawGlyphTransparent(
    TCanvas &canvas, const QImage &glyph, int numGlyphs, int index, int x, int y);

struct TLbScheme
{
    TColor Color;
    TColor LightColor;
    TColor ShadowColor;
    TColor ColorWhenDown;
    TColor HotTrackColor;
    bool Flat;
    TColor FontColor;
    TLbButtonStyle Style;
};

// The colours of a scheme; lcsCustom has none and yields nullptr.
const TLbScheme *LbSchemeColors(TLbColorStyle style);

// The built-in pictures "LBOK" ... "LBALL" (two-cell strips) and "LBARROW"; throws
// std::runtime_error for any other name.
QImage LbResourceBitmap(const QString &name);

// Fades the hot-track highlight out: while running it calls the tick every 30 ms on the
// user-interface thread. Created suspended; the owner suspends it again from the tick.
class TLbButtonThread : public QObject
{
    Q_OBJECT
public:
    static constexpr int TickInterval = 30;

    // `tick` is the owner's fade step; the owner keeps the ticker (it has no QObject parent).
    explicit TLbButtonThread(std::function<void()> tick);
    ~TLbButtonThread() override;

    void Resume();
    void Suspend();
    bool Suspended() const { return !m_timer.isActive(); }
    // Stops for good; later Resume calls do nothing.
    void Terminate();
    bool Terminated() const { return m_terminated; }

    // The timer that stands in for the sleeping loop (tests drive ticks through it).
    QTimer &Timer() { return m_timer; }

private:
    std::function<void()> m_tick;
    QTimer m_timer;
    bool m_terminated = false;
};
