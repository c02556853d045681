// The string grid's display state: what painting, hints and scrolling keep between calls.
#pragma once

#include "grid/model/QrlStringGrid_p.h"

#include <QPointer>
#include <QScrollBar>
#include <QTimer>

#include <array>
#include <unordered_map>
#include <memory>

class THTMLHintWindow;

struct TStringGridDisplayState
{
    TScrollType scrollType = TScrollType::ssNormal;
    TColor scrollColor = clNone;

    // The cell whose hint shows last; a move to another cell renews the hint.
    plat::TGridCoord lastHint{-1, -1};

    // The sizing measures on a canvas of its own, so the grid's canvas keeps the grid's font.
    std::unique_ptr<TCanvas> measureCanvas;
    TFont measureFont;

    // --- cell hints (grid/display/QrlStringGrid_hint.cpp) ---
    // A child of the grid, made on first use.
    THintManager *hintManager = nullptr;
    bool hintShowCells = false;
    bool htmlHint = false;
    bool hintShowLargeText = false;
    bool cellHintsAttached = false;
    QString lastAnchorHint;

    // The cell up-left of the press point and its size (sizing, moving and the header click test
    // on release share them). The mouse code records them; the size hooks here read and clear
    // them, so they live with the hooks.
    int colClicked = -1;
    int rowClicked = -1;
    int colClickedSize = 0;
    int rowClickedSize = 0;
    // A column or row was just sized with the mouse: the sizing end sets them, the size hooks
    // read and clear them.
    bool colSized = false;
    bool rowSized = false;
    // Not owned; a destroyed menu reads null.
    QPointer<QMenu> fixedDropDownMenu;

    // The arrows marking a column or row move's target (up/down for columns, left/right for
    // rows); children of the grid that the hover code makes on first use. ArrowColor paints them.
    std::array<QPointer<QWidget>, 4> moveArrows;

    // --- mini-HTML cells (grid/display/QrlStringGrid_html.cpp) ---
    bool urlUnderlineOnHover = false;
    plat::TGridCoord hoverAnchorCell{-1, -1};
    int hoverAnchorIndex = -1;
    // The text rectangle each markup cell was last painted in, so hit tests meet the text
    // where the user sees it; kept for the cells on screen only.
    std::unordered_map<quint64, TRect> htmlTextRects;

    // --- cell look and cell drawing ---
    bool hideFocusRect = false;
    bool enhTextSize = false;
    bool noDefaultDraw = false;
    bool noImageAndText = false;
    // Hover and down colours of fixed cells, from QuorlGradientHoverFrom to
    // QuorlGradientDownBorder in role order; black until set, the mirrors none.
    std::array<TColor, 10> fixedHoverDown{0, 0, clNone, clNone, 0, 0, 0, clNone, clNone, 0};
    THoverFixedCells hoverFixedCells = THoverFixedCells::hfNone;
    // Kept by the mouse code for the painter: the hovered fixed cell is held down, its drop-down
    // part is held down, and the display column being moved (-1 for none).
    bool fixedCellPressed = false;
    bool dropDownDown = false;
    int movingColumn = -1;
    TBitmap rowIndicator;
    bool showColNrs = false;

    // --- scrolling and column sizing (grid/display/QrlStringGrid_scroll.cpp) ---
    // The grid's own copy of ScrollBars.
    plat::TScrollStyle scrollBars = plat::TScrollStyle::ssBoth;
    // The flat scroll bars are initialised; never here, the platform has none.
    bool isFlat = false;
    // The row or column hint of a thumb drag; a child of the grid, made on first use.
    QPointer<THTMLHintWindow> scrollHintWnd;
    bool scrollHintShow = false;
    // What the proportional thumb last wrote to each bar.
    TScrollInfo hScrollInfo;
    TScrollInfo vScrollInfo;
    bool proportionalBusy = false;
    // Drag scrolling: the timer exists while a drag rests inside a margin.
    QPointer<QTimer> dragTmr;
    TDragScrollDirection dragScrollDirection;
    // Stretch re-entry guard, and the flag that the next width change stretches again.
    bool isColChanging = false;
    bool colchgFlg = true;
    bool colSizeFlg = false;
    // The shared in-cell scroll bar and the cell it serves.
    QPointer<QScrollBar> scrollBar;
    int scrollCol = -1;
    int scrollRow = -1;
    // Taken by the column-move arrows.
    TColor arrowColor = clLime;
    // The grid hid its bars for the thin scroll controls of ssMetro.
    bool thinScrollControls = false;
};
