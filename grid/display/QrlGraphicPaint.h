// Drawing of one cell graphic (check boxes, radio buttons, pictures, image lists, progress bars,
// pies, range indicators, shapes, ratings, buttons, node glyphs, comments) onto a canvas. The
// engine sees the graphic and a read-only view of the cell and the grid settings it needs, so it
// runs without a grid widget; the grid glue fills the views.
#pragma once

#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridTheme.h"
#include "grid/model/QrlGridTypes.h"
#include "grid/model/QrlImageList.h"
#include "platform/ui/Canvas.h"

#include <QString>
#include <QStringList>

#include <vector>

class QWidget;
class TQrlStringGrid;

// Grid-wide settings the graphics read; pointers may be null where the kind needs none.
struct TGraphicGridView
{
    const TControlLook *look = nullptr; // required
    const TCustomImageList *images = nullptr;
    const TGridProgressAppearance *progress = nullptr;
    const TCellNode *node = nullptr;
    TPoint xyOffset{2, 2};
    bool xyOffsetTopLeftOnly = false;
    TVAlignment gridVAlign = TVAlignment::vtaTop;
    TColor gridColor = clWindow;
    TColor fixedColor = clBtnFace;
    TColor selectionColor = clHighlight;
    TColor selectionTextColor = clHighlightText;
    bool showSelection = true;
    bool hasFixedCols = true;
    bool flat = false;
    bool toned = false; // a Flat grid with a tone set: buttons take the tones' colours
    TColorTones tones;
    bool softGridLines = false; // glSoft, glQuorl, glXP or glListView: tree lines move 1 right
    bool rightToLeft = false;
    QWidget *window = nullptr; // for the themed buttons; may be null
};

// One cell as the graphic sees it.
struct TGraphicCellView
{
    TRect rect;   // the cell rectangle
    QString text; // the cell text (GetCellEx)
    QString checkTrue = QStringLiteral("Y");
    int textWidth = 0; // measured text width from the content drawing
    TAlignment hAlign = TAlignment::taLeftJustify;
    TVAlignment vAlign = TVAlignment::vtaTop;
    bool enabled = true;        // CanEditCell
    bool selected = false;      // gdSelected
    bool fixed = false;         // a fixed cell
    bool dataRow = true;        // not a fixed row
    bool hotButton = false;     // the button under the mouse is this cell's
    bool sortIndicator = false; // a sorted header (rotated text gets the sort glyph)
    bool sortAscending = true;
    int rowHeight = 0;
    int intValue = 0;        // the cell's integer value
    double floatValue = 0.0; // the cell's floating value
    QStringList radioItems;  // ctRadio
    bool hasRadioItems = false;
    // ctNode: indents in pixels (GetNodeIndent) of this, the previous and the next row; -1 when
    // that row does not exist.
    int nodeIndent = 0;
    int prevNodeIndent = -1;
    int nextNodeIndent = -1;
    bool disjunctMarked = false; // a marked row under DisjunctRowSelect with goRowSelect
    // Handed to ctInterface objects that draw themselves.
    TQrlStringGrid *owner = nullptr;
    int col = 0;
    int row = 0;
};

struct TGraphicLayout
{
    TCellVAlign vAlign = TCellVAlign::vaTop;
    TCellHAlign hAlign = TCellHAlign::haLeft;
    bool textVisible = true;
    int width = 0;
    int height = 0;
};

struct TGraphicPaintResult
{
    TRect rect; // the cell rectangle after the graphic (shrunk by the offsets where they apply)
    TRect box;  // where the graphic went
    bool drawn = false;
};

// How much room the graphic takes and whether the cell text is drawn beside it. A null graphic
// gives the defaults.
TGraphicLayout GetGraphicLayout(const TCellGraphic *Graphic,
                                const TGraphicGridView &Grid,
                                const TGraphicCellView &Cell);

// Places and draws one cell's graphic. Layout is GetGraphicLayout's answer (the caller may have
// changed its width, as node rows do).
TGraphicPaintResult RenderCellGraphic(TCanvas &Canvas,
                                      const TCellGraphic &Graphic,
                                      const TGraphicLayout &Layout,
                                      const TGraphicGridView &Grid,
                                      const TGraphicCellView &Cell);

// One check-box glyph. TriState takes the state from State, else from Checked and Grayed.
void RenderCheck(TCanvas &Canvas,
                 const TRect &Rect,
                 bool Checked,
                 TCheckBoxState State,
                 bool TriState,
                 TControlStyle Style,
                 bool Grayed,
                 bool Enabled,
                 const TControlLook &Look);

// A column (or row) of Count radio buttons with captions from Items. A single glyph without
// caption (a radio button cell) is shrunk to fit Rect and centred in it.
void RenderRadio(TCanvas &Canvas,
                 const TRect &Rect,
                 bool Reverse,
                 double Scale,
                 TControlStyle Style,
                 bool Selected,
                 const QStringList *Items,
                 bool Disabled,
                 bool Horizontal,
                 int Index,
                 int Count,
                 const TControlLook &Look,
                 const QString &CellText = QString(),
                 bool ShowSelection = true,
                 TColor SelectionTextColor = clHighlightText);

// Buttons remember where the painter put them (for the mouse handling): CellValue takes the
// box's offset from the cell's top-left, y in the high and x in the low 16 bits. Other kinds
// are left alone.
void StoreButtonOffset(TCellGraphic &Graphic,
                       const TGraphicPaintResult &Result,
                       const TRect &CellRect);
