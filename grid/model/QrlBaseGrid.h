// The base of the grid library's string grid: a properties object per cell (kept in the cell's
// object slot), merged cells, the merged-cell aware cell accessors every caller uses, display
// text hooks and the virtual operations the full grid overrides.
//
// Merged areas are held by TMergedSpans; the CellSpanX / CellSpanY / IsBaseCell fields of the
// cells' properties mirror it, so readers of either agree. The grid owns every TCellProperties
// it has stored or been given; one private section creates, stores and frees them.
#pragma once

#include "grid/model/QrlGridTypes.h"
#include "grid/model/QrlMergedSpans.h"
#include "grid/model/QrlUndo.h"
#include "platform/grid/PlatformStringGrid.h"

#include <QString>

#include <cstdint>
#include <unordered_set>
#include <vector>

class QWidget;
class TBaseGrid;

// OwnerCol / OwnerRow name the cell the properties sit in. Line operations do not walk the
// cells to keep them: the grid logs each line shift, and the properties apply the shifts logged
// since their position was last valid when it is read (see TBaseGrid's owner log).
class TCellProperties : public TPersistent
{
public:
    TCellProperties(TBaseGrid *AOwner, int ACol, int ARow);
    ~TCellProperties() override;

    // Copies the merge fields, owner cell, CellObject, looks, ReadOnly, Editor, NodeLevel and
    // Control; not the owner grid, graphic, BrushColorTo, paint mark, CalcType, CalcObject or
    // GradientDirection. Other sources are ignored.
    void Assign(const TPersistent &Source) override;

    // (c - CellSpanX, r - CellSpanY) for a non-base cell with both spans set, else (c, r).
    plat::TGridCoord GetBaseCell(int c, int r) const;

    TBaseGrid *OwnerGrid() const { return FOwnerGrid; }
    int OwnerCol() const;
    void SetOwnerCol(int Value);
    int OwnerRow() const;
    void SetOwnerRow(int Value);
    void *CellObject() const { return FCellObject; }
    void SetCellObject(void *Value) { FCellObject = Value; }
    // A graphic of exactly class TCellGraphic is freed with the properties; others are not.
    TPersistent *GraphicObject() const { return FGraphicObject; }
    void SetGraphicObject(TPersistent *Value) { FGraphicObject = Value; }
    TBrushStyle BrushStyle() const { return FBrushStyle; }
    void SetBrushStyle(TBrushStyle Value) { FBrushStyle = Value; }
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor Value);
    TColor BrushColorTo() const { return FBrushColorTo; }
    void SetBrushColorTo(TColor Value);
    int FontSize() const { return FFontSize; }
    void SetFontSize(int Value) { FFontSize = Value; }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor Value) { FFontColor = Value; }
    TFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(TFontStyles Value) { FFontStyle = Value; }
    int CellSpanY() const { return FCellSpanY; }
    void SetCellSpanY(int Value) { FCellSpanY = Value; }
    int CellSpanX() const { return FCellSpanX; }
    void SetCellSpanX(int Value) { FCellSpanX = Value; }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { FBorderWidth = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment Value);
    int PaintID() const { return FPaintID; }
    void SetPaintID(int Value) { FPaintID = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool IsBaseCell() const { return FIsBaseCell; }
    void SetIsBaseCell(bool Value) { FIsBaseCell = Value; }
    TColumnCalcType CalcType() const { return FCalcType; }
    void SetCalcType(TColumnCalcType Value) { FCalcType = Value; }
    void *CalcObject() const { return FCalcObject; }
    void SetCalcObject(void *Value) { FCalcObject = Value; }
    int NodeLevel() const { return FNodeLevel; }
    void SetNodeLevel(int Value) { FNodeLevel = Value; }
    TEditorType Editor() const { return FEditor; }
    void SetEditor(TEditorType Value) { FEditor = Value; }
    QString FontName() const { return FFontName; }
    void SetFontName(const QString &Value) { FFontName = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    TCellGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TCellGradientDirection Value) { FGradientDirection = Value; }
    QWidget *Control() const { return FControl; }
    void SetControl(QWidget *Value) { FControl = Value; }

private:
    friend class TBaseGrid; // seeds the fields without repainting, keeps the owner cell
    void repaintOwner();
    // Applies the line shifts logged since the owner line of the axis was last valid.
    int &ownerLine(int axis) const;
    void catchUp(int axis) const;

    TBaseGrid *FOwnerGrid;
    mutable int FOwnerCol;
    mutable int FOwnerRow;
    // Per axis (columns, rows): the owner grid's shift generation the owner line is valid at.
    mutable std::uint64_t m_ownerGen[2] = {0, 0};
    // Place in the owner grid's registry of live properties; -1 outside it (no owner grid, or
    // the grid is gone).
    int m_liveIndex = -1;
    void *FCellObject = nullptr;
    TPersistent *FGraphicObject = nullptr;
    TBrushStyle FBrushStyle = TBrushStyle::bsSolid;
    TColor FBrushColor = clWindow;
    TColor FBrushColorTo = clNone;
    int FFontSize = 8;
    TColor FFontColor = clWindowText;
    TFontStyles FFontStyle;
    int FCellSpanY = -1;
    int FCellSpanX = -1;
    int FBorderWidth = 0;
    TColor FBorderColor = 0;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TVAlignment FVAlignment = TVAlignment::vtaTop;
    int FPaintID = 0;
    bool FWordWrap = true;
    bool FIsBaseCell = true;
    TColumnCalcType FCalcType = TColumnCalcType::acNONE;
    void *FCalcObject = nullptr;
    int FNodeLevel = 0;
    TEditorType FEditor = TEditorType::edNormal;
    QString FFontName;
    bool FReadOnly = false;
    TCellGradientDirection FGradientDirection = TCellGradientDirection::GradientVertical;
    QWidget *FControl = nullptr;
};

class TBaseGrid : public plat::TPlatformStringGrid, private IGridUndoTarget
{
    Q_OBJECT

public:
    explicit TBaseGrid(QWidget *parent = nullptr);
    ~TBaseGrid() override;

    // Rows dropped by a lowered count take their properties with them, and merged areas are
    // cut at the new last row, so no area outlives its cells.
    void SetRowCount(int Value) override;

    // ---- properties -----------------------------------------------------------------------
    // The grid's own flag; the platform grid's default drawing stays off.
    bool DefaultDrawing() const override { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value) override;
    // The width of the lines this grid draws inside its cells. The platform's own line width
    // stays 0, so a column covers exactly its width on screen.
    int GridLineWidth() const override { return FGridLineWidth; }
    void SetGridLineWidth(int Value) override;
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor Value);
    TColor GridFixedLineColor() const { return FGridFixedLineColor; }
    void SetGridFixedLineColor(TColor Value);
    // Not owned; a component set here gets this grid as its target.
    TQrlGridUndoRedo *UndoRedo() const { return FUndoRedo; }
    void SetUndoRedo(TQrlGridUndoRedo *Value);
    bool WordWrap() const { return FWordWrap; }
    virtual void SetWordWrap(bool Value) { FWordWrap = Value; }
    bool ActiveRowShow() const { return FActiveRowShow; }
    void SetActiveRowShow(bool Value);
    TColor ActiveRowColor() const { return FActiveRowColor; }
    void SetActiveRowColor(TColor Value);
    TColor ActiveRowColorTo() const { return FActiveRowColorTo; }
    void SetActiveRowColorTo(TColor Value);
    TColor ActiveRowMirrorColor() const { return FActiveRowMirrorColor; }
    void SetActiveRowMirrorColor(TColor Value);
    TColor ActiveRowMirrorColorTo() const { return FActiveRowMirrorColorTo; }
    void SetActiveRowMirrorColorTo(TColor Value);
    TGridSelectionStyle SelectionStyle() const { return FSelectionStyle; }
    void SetSelectionStyle(TGridSelectionStyle Value);
    bool HoverRow() const { return FHoverRow; }
    void SetHoverRow(bool Value) { FHoverRow = Value; }
    THoverRowCells HoverRowCells() const { return FHoverRowCells; }
    void SetHoverRowCells(THoverRowCells Value) { FHoverRowCells = Value; }
    TColor HoverRowColor() const { return FHoverRowColor; }
    void SetHoverRowColor(TColor Value) { FHoverRowColor = Value; }
    TColor HoverRowColorTo() const { return FHoverRowColorTo; }
    void SetHoverRowColorTo(TColor Value) { FHoverRowColorTo = Value; }

    TGetDisplTextEvent OnGetDisplText;
    TGetDisplWideTextEvent OnGetDisplWideText;

    // ---- cell store -----------------------------------------------------------------------
    bool HasCellProperties(int ACol, int ARow) const;
    // Created and seeded through GetCellDefaults on first use. Outside the grid:
    // EQrlGridError "Grid index out of range".
    TCellProperties *GetCellProperties(int c, int r);
    // Frees what the slot held and stores Value, which the grid then owns.
    void SetCellProperties(int c, int r, TCellProperties *Value);
    QString GetCellEx(int c, int r) const;
    void SetCellEx(int c, int r, const QString &Value);
    void *GetObjectEx(int c, int r) const;
    void SetObjectEx(int c, int r, void *Value);
    TPersistent *GetGraphicObjectEx(int c, int r) const;
    TPersistent *GetPropGraphicObject(const TCellProperties *Props) const;
    // The old graphic is not freed here.
    void SetGraphicObjectEx(int c, int r, TPersistent *Value);
    // The one place a cell graphic is freed outside the properties: stores Value (null takes
    // the graphic out) and frees the cell graphic it replaces, unless that is shared (the lent
    // check boxes) or Value itself. Returns whether the cell had a cell graphic.
    bool ReplaceGraphicObject(int c, int r, TPersistent *Value);
    // Raw access: no merge redirection, no hooks.
    QString GetGridCell(int c, int r) const;
    void SetGridCell(int c, int r, const QString &Value);
    TCellProperties *GetGridObject(int c, int r) const;
    // Stores the pointer as it is; the grid owns what it is given.
    void SetGridObject(int c, int r, TCellProperties *Value);
    // Empty the texts and forget the slots without freeing: the line operations have already
    // moved the properties elsewhere (the grid still frees them on destruction).
    void ClearColCells(int ACol);
    void ClearRowCells(int ARow);
    void ClearCell(int ACol, int ARow);
    void FreeCellProperties(int ACol1, int ARow1, int ACol2, int ARow2);
    // Frees one cell's properties but not its graphic.
    void FreeCellPropertiesAt(int ACol, int ARow);
    void FreeAllCellProperties();

    // ---- merged cells ---------------------------------------------------------------------
    // A span below 1 changes nothing but the counter. Areas the new one overlaps are split
    // first; the area is cut at the grid's edge.
    virtual void MergeCells(int c, int r, int spanx, int spany);
    virtual void SplitCells(int c, int r);
    plat::TGridCoord BaseCell(int ACol, int ARow) const;
    bool FindBaseCell(int ACol, int ARow, int &BaseCol, int &BaseRow) const;
    bool IsBaseCell(int ACol, int ARow) const;
    bool IsMergedCell(int ACol, int ARow) const;
    bool IsMergedNonBaseCell(int ACol, int ARow) const;
    bool IsXMergedCell(int ACol, int ARow) const;
    bool IsYMergedCell(int ACol, int ARow) const;
    plat::TGridCoord CellSpan(int ACol, int ARow) const;
    plat::TGridCoord CellExt(int ACol, int ARow) const;
    plat::TGridRect FullCell(int c, int r) const;
    int MinRowSpan(int ARow) const;
    int MaxRowSpan(int ARow) const;
    bool RowSpanIdentical(int ARow1, int ARow2) const;
    bool ColSpanIdentical(int ACol1, int ACol2) const;
    // The merged areas themselves (read-only).
    const TMergedSpans &MergedSpans() const { return m_spans; }

    // ---- geometry and repaint -------------------------------------------------------------
    TRect CalcCellRect(int ACol, int ARow) const;
    TRect CellRect(int ACol, int ARow) const override;
    // Only a cell of a merged area can reach into view from past its edge.
    bool MayDropOffscreenRepaint(int ACol, int ARow) const override;
    TPoint CellSize(int c, int r) const;
    void RepaintCell(int c, int r);
    int FixedColsWidth() const;
    int FixedRowsHeight() const;
    // Moves the cursor to the base cell of the current cell's area.
    void MoveToBaseCell();

    // ---- virtual operations ---------------------------------------------------------------
    virtual bool IsFixed(int ACol, int ARow);
    virtual int GetNodeIndent(int ARow);
    virtual bool HasNodes();
    virtual void DrawCellContent(
        TCanvas *Canvas, int ACol, int ARow, const TRect &Rect, plat::TGridDrawState State);
    virtual void LastRowChanged();
    virtual void GetDisplText(int ACol, int ARow, QString &Value) const;
    virtual void GetDisplWideText(int ACol, int ARow, QString &Value) const;
    virtual void GetCellDefaults(int ACol,
                                 int ARow,
                                 TFont &AFont,
                                 TBrush &ABrush,
                                 TColor &ColorTo,
                                 TColor &MirrorColor,
                                 TColor &MirrorColorTo,
                                 TAlignment &HAlign,
                                 TVAlignment &VAlign,
                                 bool &WW,
                                 TCellGradientDirection &GD);
    virtual void UpdateCellScrollRange(int ACol, int ARow);
    virtual bool HasCustomBorders();
    virtual bool IsStyledLook();
    virtual void GetVisualProperties(int ACol,
                                     int ARow,
                                     plat::TGridDrawState &AState,
                                     bool Print,
                                     bool Select,
                                     bool Remap,
                                     TBrush &ABrush,
                                     TColor &AColorTo,
                                     TColor &AMirrorColor,
                                     TColor &AMirrorColorTo,
                                     TFont &AFont,
                                     TAlignment &HA,
                                     TVAlignment &VA,
                                     bool &WW,
                                     TCellGradientDirection &GD);
    // What GetVisualProperties answers for a cell, gathered in one place for the painters.
    struct TCellVisuals
    {
        TBrush brush;
        TFont font;
        TColor colorTo = clNone;
        TColor mirrorColor = clNone;
        TColor mirrorColorTo = clNone;
        TAlignment hAlign = TAlignment::taLeftJustify;
        TVAlignment vAlign = TVAlignment::vtaTop;
        bool wordWrap = false;
        TCellGradientDirection gradient = TCellGradientDirection::GradientVertical;
    };
    TCellVisuals CellVisuals(
        int ACol, int ARow, plat::TGridDrawState &AState, bool Print, bool Select, bool WordWrap);
    virtual int DisplColIndex(int ACol) const;
    virtual int TotalColCount() const;

    // Paints one cell: background (colours, hover and active rows, selection boxes,
    // gradients), the grid lines inside the cell, then with Full its content. A merged area is
    // painted as its base cell over the whole area, once per paint pass on behalf of its other
    // cells. Full false paints the background only, the rectangle as given.
    void PaintCellCore(
        TCanvas *Canvas, int ACol, int ARow, TRect Rect, plat::TGridDrawState State, bool Full);
    virtual void PaintCell(
        TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, plat::TGridDrawState AState);
    virtual void PaintCellExt(
        TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, plat::TGridDrawState AState);
    // The platform's cell hook: PaintCellCore on the grid's canvas.
    void DrawCellHook(int ACol, int ARow, const TRect &Rect, plat::TGridDrawState State);

protected:
    void Paint() override;
    void DrawCell(int ACol, int ARow, const TRect &ARect, plat::TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void TopLeftChanged() override;
    void KeyDown(int &Key, plat::TShiftState Shift) override;
    bool DoMouseWheelDown(plat::TShiftState Shift, const TPoint &MousePos) override;
    bool DoMouseWheelUp(plat::TShiftState Shift, const TPoint &MousePos) override;
    TRect EditorRect(int ACol, int ARow) override;

    // Frees cell properties that no cell slot holds any more (a stored hidden row's), with
    // their plain cell graphic.
    void ReleaseCellProperties(TCellProperties *p) { freeProps(p, true); }
    // Puts properties that waited outside the store (a hidden row's) back into their cell:
    // properties the cell got meanwhile (a merged area grown over it) give way, and the spans
    // are mirrored as they stand now.
    void AdoptCellProperties(int c, int r, TCellProperties *p);
    // Two rows trade their cells with their properties: one-row merged areas go with their
    // row, areas of more rows either row belongs to are split (a sort tears them apart).
    void ExchangeRowCells(int ARow1, int ARow2);
    // Two cells of a column trade their cell properties (texts stay).
    void ExchangeCellObjects(int ACol, int ARow1, int ARow2);

    // The cells moved with their properties as the line operation says: every property's owner
    // cell follows (logged, applied when read), and the merged areas from the change on move in
    // the index, their cells having moved along. Areas the change cuts, widens or reaches must
    // have been split before; a move shifts no area (those it reaches are split and merged
    // again by the caller).
    void cellLinesInserted(TGridAxis axis, int at, int count);
    void cellLinesRemoved(TGridAxis axis, int at, int count);
    void cellLinesMoved(TGridAxis axis, int from, int to, int count);

    // Fields the full grid keeps.
    int FPaintID = 1;
    bool FHideLastRow = false;
    int FNormalRowCount = 0;
    int FHoverRowIdx = -1;
    bool FShowSel = true;
    bool FHasCellProps = false;
    int FMergeCount = 0;

private:
    friend class TCellProperties;

    // IGridUndoTarget
    QString UndoGetCell(int ACol, int ARow) const override;
    void UndoSetCell(int ACol, int ARow, const QString &Value) override;
    int UndoDisplColIndex(int ACol) const override;
    int UndoCurrentCol() const override;
    void UndoFocusCell(int ACol, int ARow) override;
    void UndoRepaintCell(int ACol, int ARow) override;
    void UndoInvalidate() override;

    // ---- the one owner of cell properties: only these store, adopt and free them ----------
    TCellProperties *propsAt(int c, int r) const;
    void storeProps(int c, int r, TCellProperties *p);
    TCellProperties *createProps(int c, int r);
    void freeProps(TCellProperties *p, bool withGraphic);
    void freeOwnedRest();

    void checkCell(int c, int r) const;

    // ---- owner cells: a short log of line shifts per axis -----------------------------------
    // One shift as up to two ranges of lines [lo, lo + span) that move by delta; lines outside
    // stay. Lines removed stay where they were (no property of the grid's cells is left there).
    struct TLineShift
    {
        int lo1 = 0;
        unsigned span1 = 0;
        int delta1 = 0;
        int lo2 = 0;
        unsigned span2 = 0;
        int delta2 = 0;
        int apply(int x) const
        {
            const unsigned u = static_cast<unsigned>(x);
            if (u - static_cast<unsigned>(lo1) < span1)
                return x + delta1;
            if (u - static_cast<unsigned>(lo2) < span2)
                return x + delta2;
            return x;
        }
    };
    // Past this many shifts the log is applied to every live property and emptied, so a read
    // applies at most this many and a line operation costs O(1) amortized in properties.
    static constexpr size_t OwnerLogLimit = 1024;
    void registerProps(TCellProperties *p);
    void unregisterProps(TCellProperties *p);
    void logShift(TGridAxis axis, const TLineShift &shift);
    void settleOwners(int axis);

    // Copies the area state of the spans into the cell's properties (which must exist).
    void mirrorSpans(int c, int r, TCellProperties *p) const;
    void repaintArea(const TMergedArea &a);
    void repaintMergedFixed();

    bool FDefaultDrawing = false;
    int FGridLineWidth = 1;
    TColor FGridLineColor = 0xC0C0C0;
    TColor FGridFixedLineColor = 0x808080;
    TQrlGridUndoRedo *FUndoRedo = nullptr;
    bool FWordWrap = true;
    bool FActiveRowShow = false;
    TColor FActiveRowColor = clInfoBk;
    TColor FActiveRowColorTo = clNone;
    TColor FActiveRowMirrorColor = clNone;
    TColor FActiveRowMirrorColorTo = clNone;
    TGridSelectionStyle FSelectionStyle = TGridSelectionStyle::ssDefault;
    bool FHoverRow = false;
    THoverRowCells FHoverRowCells{THoverRowCell::hcNormal, THoverRowCell::hcSelected};
    TColor FHoverRowColor = clInfoBk;
    TColor FHoverRowColorTo = clNone;

    TMergedSpans m_spans;
    std::unordered_set<TCellProperties *> m_owned;
    // Every TCellProperties made for this grid, owned or not, with its place in m_liveProps.
    std::vector<TCellProperties *> m_liveProps;
    // Per axis (columns, rows): shifts logged since the last settling, and how many were ever.
    std::vector<TLineShift> m_shiftLog[2];
    std::uint64_t m_shiftGen[2] = {0, 0};
    bool m_destroying = false;
    // The cell SetCellEx is writing when it has no properties (not merged), else (-1, -1).
    plat::TGridCoord m_plainCell{-1, -1};
};
