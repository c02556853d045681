// The mini-HTML layout and painting engine: lays out a marked-up text in a rectangle of a
// canvas and paints it, or only measures it, or only finds the anchor, picture or form control
// under a point. Every user of cell markup calls it: cell drawing and measuring, the hint
// window, the anchor and control tests of the mouse code.
//
// The engine keeps nothing between calls. Each output line is read twice (measured, then
// painted or tested at its placed position) and no step looks back beyond its line, so the
// time is linear in the text's length; nesting is not a stack, so any depth of tags is safe.
#pragma once

#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Geometry.h"

#include <QString>

class TCustomImageList;
class THTMLPictureCache;
class TPictureContainer;

// What a call reads besides the canvas, the text and the rectangle.
struct THTMLPaintParams
{
    TCustomImageList *Images = nullptr; // "IDX:" pictures
    int HitX = 0;                       // hit-test point, canvas coordinates
    int HitY = 0;
    int FocusAnchorIndex = -1; // anchor (from 0) that gets the focus rectangle
    int HoverAnchorIndex = -1; // anchor (from 1) drawn in hover style
    int ShadowOffset = 1;
    bool TestOnly = false;    // both passes only measure and test; paints nothing
    bool MeasureOnly = false; // one measuring pass per line, no hit result, no height limit
    bool Printing = false;
    bool Selected = false; // anchor, FONT colours and FONT backgrounds are not applied
    bool BlinkVisible = true;
    bool HoverStyling = false; // true: only HoverAnchorIndex is hover-styled; false: every anchor
    bool WordWrap = true;
    bool ControlPressed = false;
    double PrintScale = 1.0;
    TColor UrlColor = clBlue;
    TColor HoverBackColor = clNone;
    TColor HoverTextColor = clNone;
    TColor ShadowColor = clGray;
    THTMLPictureCache *PictureCache = nullptr;
    TPictureContainer *PictureContainer = nullptr;
    bool RightToLeft = false;
    // TestOnly: the form control to find by its ID (empty: none).
    QString ControlId;
};

// What a call finds.
struct THTMLPaintResult
{
    bool Hit = false;   // the point lies on anchor text, a linked picture or a form control
    QString AnchorHref; // HREF under the point, "ctrl" for a form control
    QString AnchorTitle;
    QString PlainText; // the text without tags, "\r" for every BR
    QString FocusHref;
    int TextWidth = 0;
    int TextHeight = 0;
    int AnchorCount = 0;
    int HitAnchorIndex = -1; // from 1
    TRect HitAnchorRect;
    TRect ControlRect;
    QString ControlId;
    QString ControlValue;
    QString ControlType;
};

// Lays out, paints, measures or hit-tests Text in Rect. The canvas font is the base font, the
// brush colour the background (for BLINK); pen, brush and font come back as they were.
bool PaintHTMLText(TCanvas &Canvas,
                   const QString &Text,
                   const TRect &Rect,
                   const THTMLPaintParams &Params,
                   THTMLPaintResult &Result);

// Shorthands: the size a text needs in a rectangle of Width (MeasureOnly), and the hit test at
// a point (TestOnly).
TSize MeasureHTMLText(TCanvas &Canvas, const QString &Text, int Width, bool WordWrap,
                      const THTMLPaintParams &Base = {});
bool HitTestHTMLText(TCanvas &Canvas,
                     const QString &Text,
                     const TRect &Rect,
                     int X,
                     int Y,
                     const THTMLPaintParams &Base,
                     THTMLPaintResult &Result);
