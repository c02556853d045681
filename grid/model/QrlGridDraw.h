// Stateless colour and drawing routines shared by the grid library's painting: gradients, the
// rounded selection box, combo/push/spin buttons, progress bars and pies, shapes, the error
// underline, the range indicator and transparent bitmaps.
//
// Each routine sets the canvas's pen, brush and font as it needs and leaves them changed.
// Colours are 0x00BBGGRR; clNone means no colour.
#pragma once

#include "grid/model/QrlGridTheme.h"
#include "platform/ui/Canvas.h"

#include <QImage>
#include <QString>

#include <cstdint>

class QWidget;
class TBitmap;

// --- Colours --------------------------------------------------------------------------------

TColor HalveColor(TColor Color);
// Each channel c + round(c * Percent / 100), keeping only its low 8 bits (no clamping).
TColor ScaleColorPercent(TColor Color, int Percent);
// To = clNone gives From; Max = Min gives From as well.
TColor InterpolateColor(TColor From, TColor To, int Min, int Pos, int Max);
// "RRGGBB", upper case, no "#".
QString ColorToHTMLHex(TColor Color);

// --- Gradients and fills --------------------------------------------------------------------

// Steps + 1 bands at most, one per pixel when Steps passes the extent; clNone for either colour
// fills the rectangle plainly.
void DrawGradient(
    TCanvas &Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect Rect, int Steps);
// Steps bands (0 counts as 1) from FromColor to ToColor, left to right when Horizontal, else
// top to bottom; the last band stops one step short of ToColor.
void DrawStepGradient(
    TCanvas &Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect Rect, int Steps);
void DrawGradientRect(TCanvas &Canvas,
                      const TRect &Rect,
                      TColor Color,
                      bool Fill,
                      bool EdgesOnly,
                      TColor BorderColor,
                      bool Vertical,
                      TColor MirrorColorTo,
                      TColor MirrorColor,
                      TColor ColorTo);
void FillRectColor(TCanvas &Canvas, const TRect &Rect, TColor Color);

// Part: 0 whole box, 1 left end, 2 right end, 3 middle piece.
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
                      TColor MirrorColor);

// --- Buttons --------------------------------------------------------------------------------

// Button states and styles of the three button routines.
inline constexpr int bsNormalState = 0;
inline constexpr int bsHotState = 1;
inline constexpr int bsDownState = 2;
inline constexpr int bsDisabledState = 3;
inline constexpr int bstThemed = 0;
inline constexpr int bstClassic = 1;
inline constexpr int bstFlat = 2;
inline constexpr int bstCustom = 3;

// Window may be null; the themed style then draws through the application style.
void DrawComboButton(TCanvas &Canvas,
                     QWidget *Window,
                     const TRect &Rect,
                     const TColorTones &Tones,
                     int State,
                     int Style);
void DrawPushButton(TCanvas &Canvas,
                    QWidget *Window,
                    const TRect &Rect,
                    const TColorTones &Tones,
                    int State,
                    int Style);
void DrawSpinButtons(TCanvas &Canvas,
                     QWidget *Window,
                     const TRect &Rect,
                     const TColorTones &Tones,
                     int State,
                     int Style);

// A vertical scroll bar in the classic look over Rect: arrow buttons of Rect's width at both
// ends, the thumb sized by PageSize over Max - Min + 1 and placed by Position.
void DrawCellScrollBar(
    TCanvas &Canvas, const TRect &Rect, int Position, int PageSize, int Min, int Max);

// --- Progress -------------------------------------------------------------------------------

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
                     TColor UnCompleteFontColor);
// Needs a readable target for the flood fill (an image); elsewhere the sector stays unfilled.
void DrawProgressPie(TCanvas &Canvas, const TRect &Rect, TColor Color, bool ForPrint, int Percent);

// What DrawStyledProgress needs of the grid's progress appearance.
struct TStyledProgress
{
    TColor Level0Color = 0x00FF00;
    TColor Level0ColorTo = 0xE1FFE1;
    TColor Level1Color = 0x00FFFF;
    TColor Level1ColorTo = 0xCAFFFF;
    TColor Level2Color = 0x53A9FF;
    TColor Level2ColorTo = 0xA8D3FF;
    TColor Level3Color = 0x0000FF;
    TColor Level3ColorTo = 0xCACAFF;
    int Level1Perc = 70;
    int Level2Perc = 90;
    bool ShowBorder = false;
    TColor BorderColor = clBlack;
    bool Stacked = false;
    bool ShowPercentage = true;
    bool CompletionSmooth = true;
    bool ShowGradient = true;
    TFont Font;
    TColor CompleteFontColor = clBlue;
    bool Vertical = false;
    int Steps = 11;
    TColor BackgroundColor = clWhite;
};
void DrawStyledProgress(TCanvas &Canvas,
                        const TRect &Rect,
                        int Percent,
                        const TStyledProgress &Progress);

void DrawRangeIndicator(TCanvas &Canvas,
                        TRect Rect,
                        int Value,
                        TColor PositiveColor,
                        TColor NegativeColor,
                        bool ShowValue,
                        int Range);

// Red zig-zag under characters ErrFrom .. ErrFrom + ErrLen - 1 (0-based) of Text as a one-line
// edit of Rect's size would place them, measured in the canvas font; Owner is not needed here.
void DrawErrorUnderline(QWidget *Owner,
                        TCanvas &Canvas,
                        const QString &Text,
                        int ErrLen,
                        int ErrFrom,
                        int YOffset,
                        const TRect &Rect);

// --- Shapes, arrows and bitmaps -------------------------------------------------------------

enum class TCellShape {
    csRectangle,
    csCircle,
    csTriangleLeft,
    csTriangleRight,
    csTriangleUp,
    csTriangleDown,
    csDiamond,
    csLineVert,
    csLineHorz,
    csRoundRect,
    csEllips,
    csSquare,
    csRoundSquare,
    csStar,
    csArrowUp,
    csArrowDown,
    csArrowLeft,
    csArrowRight,
    csHalfStar,
};

// A value beyond csHalfStar draws nothing.
void DrawShape(TCanvas &Canvas,
               int X,
               int Y,
               TColor PenColor,
               TColor BrushColor,
               TCellShape Shape,
               int Height,
               int Width);
void DrawSmallDownArrow(TCanvas &Canvas, int X, int Y, TColor Color);

// The bitmap at Rect's top-left in its own size, its top-left pixel's colour replaced by
// BackgroundColor.
void DrawBitmapTransparent(TCanvas &Canvas,
                           const QImage &Bitmap,
                           TColor BackgroundColor,
                           const TRect &Rect);
void DrawBitmapTransparent(TCanvas &Canvas,
                           TBitmap &Bitmap,
                           TColor BackgroundColor,
                           const TRect &Rect);
// The library's built-in glyphs by resource name (case-insensitive): check boxes "QSGCHK01".."08",
// radio buttons "QSGRAD01".."08", node glyphs "QSGLEAFOPEN"/"QSGLEAFCLOSE"/"XPNODEO"/"XPNODEC"
// and the filter glyph "QSGFILT", in their documented sizes (20 x 20 for "QSGCHK01".."04", 9 x 9
// for the XP nodes, else 16 x 16). Their top-left pixel holds the transparent colour. A null
// image for an unknown name.
QImage ResourceGlyph(const QString &ResourceName);
// An unknown name draws nothing.
void DrawResourceBitmap(TCanvas &Canvas,
                        TColor BackgroundColor,
                        const TRect &Rect,
                        const QString &ResourceName);

// --- Layered windows ------------------------------------------------------------------------

// No layered-window service exists on this platform: both answer True and do nothing, as the
// routines do where the system library lacks the function.
bool DynUpdateLayeredWindow(QWidget *Window,
                            TCanvas *DestCanvas,
                            const TPoint *DestPos,
                            const TSize *Size,
                            TCanvas *SourceCanvas,
                            const TPoint *SourcePos,
                            TColor Key,
                            std::uint8_t Alpha,
                            std::uint32_t Flags);
bool DynSetLayeredWindowAttributes(QWidget *Window,
                                   TColor Key,
                                   std::uint8_t Alpha,
                                   std::uint32_t Flags);
