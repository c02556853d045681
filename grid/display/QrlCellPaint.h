// The content of one grid cell drawn onto a TCanvas from a read-only view of the cell: the text
// in its form (plain, mini-HTML, rich), the room the cell graphic takes beside it, password
// masking, URL look, the error underline and the cell's piece of the selection outline. The grid
// fills the view (grid/display/QrlStringGrid_paint.cpp); tests fill it by hand.
#pragma once

#include "grid/display/QrlHTMLEngine.h"
#include "grid/model/QrlGridTypes.h"
#include "platform/ui/Canvas.h"

#include <QString>

#include <cstdint>
#include <functional>

class TBitmap;

struct TCellPaintView
{
    // The display text and its kind (CellTextKind).
    QString text;
    int textKind = 0;

    TAlignment hAlign = TAlignment::taLeftJustify;
    TVAlignment vAlign = TVAlignment::vtaTop;
    bool wordWrap = false;
    bool multilineCells = false;
    bool enhTextSize = false;

    bool password = false;
    QChar passwordChar = QLatin1Char('*');

    // URLShow: a URL text is drawn underlined in urlColor, without its scheme unless urlFull.
    bool urlShow = false;
    bool urlFull = false;
    TColor urlColor = 0xFF0000;

    TPoint xyOffset{2, 2};
    bool xyOffsetTopLeftOnly = false;
    // Right-to-left windows swap left and right justification and read right to left.
    bool rightToLeft = false;
    bool fixed = false;
    int gridLineWidth = 1;

    // Graphic room beside the text (graphicSize 0 x 0 for none).
    bool hasGraphic = false;
    TPoint graphicSize{0, 0};
    TCellHAlign graphicHAlign = TCellHAlign::haLeft;
    TCellVAlign graphicVAlign = TCellVAlign::vaTop;
    bool showText = true;
    // Indent of a non-node row in the first column of a grid with nodes.
    int nodeIndent = 0;
    // Centred header text of the sorted column moves right to clear the glyph.
    bool sortIndicatorCell = false;
    // Set for a header that shows the sort glyph: draws it centred on (X, Y).
    std::function<void(TCanvas &, int X, int Y)> sortGlyph;
    // Width of a graphic left of left-justified text, which the sort glyph clears as well.
    int sortGlyphOffset = 0;

    // Error marker: characters [errorStart, errorStart + errorLength) get a red zig-zag, only
    // for cells whose graphic kind allows it.
    int errorStart = 0;
    int errorLength = 0;
    bool errorUnderlineAllowed = true;

    // The cell's piece of the selection outline.
    bool selRectLeft = false;
    bool selRectTop = false;
    bool selRectRight = false;
    bool selRectBottom = false;
    bool selResizer = false;
    TColor selRectColor = clBlack;

    // Mini-HTML text: pictures, hover anchor, blink phase and the like for the layout engine
    // (the URL colour above, the word wrap from enhTextSize).
    THTMLPaintParams html;
};

struct TCellContentResult
{
    // Width of the drawn text + 2 (measured only with a graphic or for mini-HTML), else 0.
    int textWidth = 0;
    // Height of "hg" in the cell's font.
    int textHeight = 0;
    // The vertical draw-text flag used (the inplace editor keeps it).
    std::uint32_t vFlags = 0;
    // Where the text went after insets and graphic room.
    TRect textRect;
};

// The draw-text flags of a plain text, and the text cut to its first line where the cell shows
// one line only.
std::uint32_t CellTextFlags(const TCellPaintView &v, QString &text);
// The text rectangle inside the content rectangle: insets, graphic room, node indent.
TRect CellTextRect(const TCellPaintView &v, const TRect &rect);
// Draws the cell's content with the canvas brush and font as set by the caller.
TCellContentResult PaintCellContent(TCanvas &canvas, const TCellPaintView &v, const TRect &rect);
// The selection outline pieces of the view on the cell rectangle.
void PaintSelectionRectangle(TCanvas &canvas, const TCellPaintView &v, const TRect &rect);

// What the sort glyph of one header depends on.
struct TSortGlyphView
{
    bool indexShow = false;
    TColor indexColor = clNone;
    // 1-based position in the sort index list, 0 when the column is not in it.
    int indexPosition = 0;
    // The index list entry marks the other direction (a negative entry).
    bool indexNegative = false;
    bool descending = false;
    const TBitmap *upGlyph = nullptr;
    const TBitmap *downGlyph = nullptr;
    const TBitmap *indexUpGlyph = nullptr;
    const TBitmap *indexDownGlyph = nullptr;
    TColor fixedColor = clBtnFace;
    // Right-to-left: X is mirrored over [0, clientWidth) (the grid passes its header cell's
    // left plus right edge, so the glyph stays in its cell).
    bool rightToLeft = false;
    int clientWidth = 0;
};
// The sort direction glyph (bitmaps, or triangles without them) centred on (X, Y), with the
// sort position under IndexShow.
void PaintSortIndicator(TCanvas &canvas, const TSortGlyphView &v, int X, int Y);

// Background picture pieces. Tiled: the bitmap repeats from an origin OriginX/OriginY pixels
// before the cell's top-left. Fixed: the bitmap stands once at At; only its part in the cell
// is drawn.
void PaintBackgroundTiled(
    TCanvas &canvas, const TBitmap &bitmap, const TRect &cell, int OriginX, int OriginY);
void PaintBackgroundFixed(TCanvas &canvas, const TBitmap &bitmap, const TRect &cell, TPoint At);
// The cell's slice of one gradient From -> To over [0, Extent) of the grid, horizontal or
// vertical.
void PaintBackgroundGradient(
    TCanvas &canvas, const TRect &cell, TColor From, TColor To, bool Horizontal, int Extent);

// ZoomFactor: Zoom points added to the font's size, whichever sign its height is stored with
// (a positive height is the cell height, so adding to Size() would run backwards); at least 1
// point remains.
void ZoomFont(TFont &font, int Zoom);

// Colour mixing of selected cells: Percent of Color over BaseColor, per RGB channel.
TColor BlendColor(TColor Color, TColor BaseColor, int Percent);
TColor BlendColorIf(TColor Color, TColor BaseColor, bool Mix, int Percent);

// Stand-in until the rich-text engine exists: it draws the visible plain text with the given
// flags and returns the drawn width.
int PaintRichTextStub(TCanvas &canvas, const QString &rtf, TRect r, std::uint32_t flags);
