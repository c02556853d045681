// The string grid control underneath the grid library: cell texts with one object slot per cell,
// row and column counts with fixed rows and columns, line sizes, scrolling, the cell cursor with
// its selection rectangle, mouse selection, sizing and moving, and the host of the inplace text
// editor.
//
// Input runs in two layers. Every event of the grid (and the viewport's mouse, wheel, paint,
// resize, leave and tooltip events, and the scroll-bar actions as TGridScrollEvent) first
// reaches HandleMessage, which a descendant overrides and which may consume the event.
// What it lets through goes to DefaultProcessing, the grid's own processing, which calls the
// virtual hooks (KeyDown, KeyPress, MouseDown, DoMouseWheelDown, ...) that descendants also
// override. A key press arrives in two phases, as key and character messages did: the key-down
// phase (the QKeyEvent itself) and, when the key produced text, a character phase (a QKeyEvent of
// type CharEventType()).
//
// Coordinates are those of the viewport (the client area). Column and row sizes exclude the grid
// line that follows each line; GridLineWidth 0 means the grid draws no lines of its own, and with
// PlatformGridLines off the lines keep their room but a descendant draws them.
//
// What a descendant builds on: the grid asks its own geometry through virtuals (CellRect,
// MouseCoord, EditorRect), so merged cells act as one everywhere, and every repaint it starts
// ends in InvalidateRect, so an override can hold repaints back while updates are locked.
//
// Counts: lowering RowCount drops the rows beyond it from the store (their texts are gone when
// the count grows again; objects are not freed, an owner frees them before lowering the count).
// Lowering ColCount keeps the columns beyond it: the grid library keeps hidden columns there.
#pragma once

#include "platform/grid/CellStore.h"
#include "platform/grid/GridTypes.h"
#include "platform/grid/LineSizes.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"

#include <QAbstractScrollArea>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>
#include <vector>

class QKeyEvent;
class QMouseEvent;
class QTimer;
class QWheelEvent;

namespace plat {

class TGridEditor;
class TInplaceEdit;

using TNotifyEvent = std::function<void(QObject *Sender)>;

class TPlatformStringGrid : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // Counts above this are refused ("Grid index out of range"); cells are stored up to it.
    static constexpr int MaxLines = 1 << 24;

    explicit TPlatformStringGrid(QWidget *parent = nullptr);
    ~TPlatformStringGrid() override;

    // ---- cells ----------------------------------------------------------------------------
    // Any cell of the store can be read and written, also beyond the counts (such cells are
    // kept but not shown, rows only until RowCount drops below them). A negative index, or one
    // at MaxLines or beyond, raises EGridError on writes and reads as empty.
    virtual QString Cells(int ACol, int ARow) const;
    virtual void SetCells(int ACol, int ARow, const QString &Value);
    virtual void *Objects(int ACol, int ARow) const;
    virtual void SetObjects(int ACol, int ARow, void *Value);
    // A whole row (ColCount entries) or column (RowCount entries); a shorter list empties the
    // remaining cells, entries beyond the count are ignored.
    virtual QStringList Rows(int ARow) const;
    virtual void SetRows(int ARow, const QStringList &Value);
    virtual QStringList Cols(int ACol) const;
    virtual void SetCols(int ACol, const QStringList &Value);
    virtual QVector<void *> RowObjects(int ARow) const;
    virtual void SetRowObjects(int ARow, const QVector<void *> &Value);
    virtual QVector<void *> ColObjects(int ACol) const;
    virtual void SetColObjects(int ACol, const QVector<void *> &Value);

    // ---- counts ---------------------------------------------------------------------------
    int ColCount() const { return m_cols.Count(); }
    // Below 1 gives 1; a fixed count that no longer fits drops to count - 1. Columns beyond a
    // lowered count keep their cells.
    virtual void SetColCount(int Value);
    int RowCount() const { return m_rows.Count(); }
    // Rows beyond a lowered count are dropped from the store.
    virtual void SetRowCount(int Value);
    int FixedCols() const { return m_fixedCols; }
    // Negative: "Grid index out of range"; not below ColCount: "Fixed column count must be less
    // than column count".
    virtual void SetFixedCols(int Value);
    int FixedRows() const { return m_fixedRows; }
    virtual void SetFixedRows(int Value);

    // ---- sizes ----------------------------------------------------------------------------
    int DefaultColWidth() const { return m_cols.DefaultSize(); }
    // Every column takes the new width. Sizes and the line width may go up to INT_MAX; the
    // geometry adds them in 64 bits and clamps client coordinates to int.
    virtual void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return m_rows.DefaultSize(); }
    virtual void SetDefaultRowHeight(int Value);
    // Index outside 0 .. count - 1: "Grid index out of range".
    int ColWidths(int Index) const;
    virtual void SetColWidths(int Index, int Value);
    int RowHeights(int Index) const;
    virtual void SetRowHeights(int Index, int Value);
    // The room the geometry keeps after every line for the grid line. A descendant that draws
    // its lines inside its cells keeps that room at 0 and answers its own width here; the
    // platform's geometry always uses the room.
    virtual int GridLineWidth() const { return m_cols.LineWidth(); }
    virtual void SetGridLineWidth(int Value);
    // Total extent of all columns / rows with their grid lines.
    int GridWidth() const;
    int GridHeight() const;

    // ---- cursor, view and selection ----------------------------------------------------
    int Col() const { return m_current.X; }
    // Moves the cell cursor when the value differs: range check ("Grid index out of range"),
    // the SelectCell check, scrolling into view, the editor and Click.
    virtual void SetCol(int Value);
    int Row() const { return m_current.Y; }
    virtual void SetRow(int Value);
    int LeftCol() const { return m_topLeft.X; }
    // Kept within FixedCols .. ColCount - 1 (the view may then show space after the last column).
    virtual void SetLeftCol(int Value);
    int TopRow() const { return m_topLeft.Y; }
    virtual void SetTopRow(int Value);
    // Non-fixed columns / rows wholly visible from LeftCol / TopRow; at least 1 while such a
    // line exists.
    int VisibleColCount() const;
    int VisibleRowCount() const;
    // The largest LeftCol / TopRow at which the last column / row is still wholly visible.
    int MaxLeftCol() const;
    int MaxTopRow() const;
    // Rectangle from the anchor to the current cell (whole rows with goRowSelect).
    TGridRect Selection() const;
    // Anchor := top-left, current := bottom-right, without range check.
    virtual void SetSelection(const TGridRect &Value);
    TGridCoord Anchor() const { return m_anchor; }

    // Moves the cursor: range check, SelectCell, anchor (kept when MoveAnchor is false and
    // goRangeSelect is set), scroll into view when Show. True when it moved.
    bool MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);

    TGridOptions Options() const { return m_options; }
    virtual void SetOptions(const TGridOptions &Value);
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    virtual void SetScrollBars(TScrollStyle Value);

    // ---- geometry -------------------------------------------------------------------------
    // The cell's rectangle in client coordinates while it is (partly) in view, else empty. The
    // grid places the editor and repaints cells through it, so an override (a merged area)
    // holds everywhere.
    virtual TRect CellRect(int ACol, int ARow) const;
    // The cell's rectangle wherever it lies, also scrolled out of view (then before the fixed
    // lines, at negative or overlapping positions); empty outside the counts.
    TRect UnclippedCellRect(int ACol, int ARow) const;
    // The cell under a client point; (-1, -1) outside the cells. A grid line belongs to the
    // cell before it. The grid's mouse handling asks through this.
    virtual TGridCoord MouseCoord(int X, int Y) const;
    void MouseToCell(int X, int Y, int &ACol, int &ARow) const;
    // Width of the fixed columns / height of the fixed rows, grid lines included.
    int FixedWidth() const;
    int FixedHeight() const;

    // ---- moving and deleting lines ----------------------------------------------------
    // Texts and objects (through ColumnMoved / RowMoved) and sizes travel; the cursor follows
    // its cell. Indexes outside the counts: "Grid index out of range".
    virtual void MoveColumn(int FromIndex, int ToIndex);
    virtual void MoveRow(int FromIndex, int ToIndex);
    // Removes a line: the lines after it move up, the count drops by one, and the freed slot
    // keeps no text or object (objects are not freed).
    virtual void DeleteColumn(int ACol);
    virtual void DeleteRow(int ARow);

    // ---- editor -------------------------------------------------------------------------
    bool EditorMode() const { return m_editorMode; }
    virtual void SetEditorMode(bool Value);
    // The editor that holds (or last held) a cell, of whatever kind; null until first used.
    TGridEditor *CellEditor() const { return m_editor; }
    // The same while it is the single-line text editor, else null.
    TInplaceEdit *InplaceEditor() const;
    // Loads the editor again from the current cell when it shows one.
    void InvalidateEditor();

    // ---- looks ---------------------------------------------------------------------------
    virtual bool DefaultDrawing() const { return m_defaultDrawing; }
    virtual void SetDefaultDrawing(bool Value);
    TColor Color() const { return m_color; }
    virtual void SetColor(TColor Value);
    TColor FixedColor() const { return m_fixedColor; }
    virtual void SetFixedColor(TColor Value);
    // Whether the grid draws its grid lines itself (on by default). Off, the lines keep their
    // room in the geometry (GridLineWidth) and a descendant draws them inside its cells.
    bool PlatformGridLines() const { return m_platformGridLines; }
    virtual void SetPlatformGridLines(bool Value);
    TFont &Font() { return m_font; }
    const TFont &Font() const { return m_font; }
    // The canvas cells are drawn on: during painting the paint canvas, otherwise a measuring
    // canvas with the grid's font.
    TCanvas *Canvas();
    // Paints the whole view onto another canvas (a recording one in tests, a printer).
    void PaintTo(TCanvas &canvas);

    // Repaints. Each computes its client rectangle and hands it to InvalidateRect, which every
    // repaint the grid starts goes through; the whole view is the viewport's rectangle.
    virtual void Invalidate();
    virtual void InvalidateCell(int ACol, int ARow);
    virtual void InvalidateRow(int ARow);
    virtual void InvalidateCol(int ACol);
    virtual void InvalidateGridRect(const TGridRect &R);
    virtual void InvalidateRect(const TRect &R);
    // Whether InvalidateCell drops cells at or past the view's right or bottom edge without
    // asking CellRect (filling a big table writes mostly such cells). The platform grid itself
    // does; a descendant does only once it turns this on, as its CellRect may let such a cell
    // stand for an area reaching into view (a merged area whose base cell is in view).
    bool DropOffscreenRepaints() const;
    void SetDropOffscreenRepaints(bool Value);
    // The same decision for one cell at or past the edge; a descendant that knows which cells
    // reach into view from there (merged areas) keeps dropping all the others.
    virtual bool MayDropOffscreenRepaint(int ACol, int ARow) const;

    // Scrolling while a mouse selection or a line move is dragged past an edge: one line at
    // once, then one more after the initial delay and every repeat delay while the mouse stays
    // there (milliseconds; at least 1).
    int DragScrollInitialDelay() const { return m_dragInitialDelay; }
    void SetDragScrollInitialDelay(int Value);
    int DragScrollRepeatDelay() const { return m_dragRepeatDelay; }
    void SetDragScrollRepeatDelay(int Value);

    TGridState GridState() const { return m_gridState; }
    // The grid or its editor holds the window's focus.
    bool IsActiveControl() const;

    // ---- events (fire only when assigned) ----------------------------------------------
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnTopLeftChanged;
    std::function<void(QObject *Sender, int &Key, TShiftState Shift)> OnKeyDown;
    std::function<void(QObject *Sender, QChar &Key)> OnKeyPress;
    std::function<void(QObject *Sender, int &Key, TShiftState Shift)> OnKeyUp;
    std::function<void(QObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>
        OnMouseDown;
    std::function<void(QObject *Sender, TShiftState Shift, int X, int Y)> OnMouseMove;
    std::function<void(QObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>
        OnMouseUp;
    std::function<void(
        QObject *Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool &Handled)>
        OnMouseWheel;
    std::function<void(QObject *Sender, TShiftState Shift, TPoint MousePos, bool &Handled)>
        OnMouseWheelDown;
    std::function<void(QObject *Sender, TShiftState Shift, TPoint MousePos, bool &Handled)>
        OnMouseWheelUp;
    std::function<void(QObject *Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>
        OnDrawCell;
    std::function<void(QObject *Sender, int ACol, int ARow, bool &CanSelect)> OnSelectCell;
    std::function<void(QObject *Sender, int ACol, int ARow, QString &Value)> OnGetEditText;
    std::function<void(QObject *Sender, int ACol, int ARow, const QString &Value)> OnSetEditText;
    std::function<void(QObject *Sender, int ACol, int ARow, QString &Value)> OnGetEditMask;
    std::function<void(QObject *Sender, int FromIndex, int ToIndex)> OnColumnMoved;
    std::function<void(QObject *Sender, int FromIndex, int ToIndex)> OnRowMoved;
    std::function<void(QObject *Sender, int ACol, int ARow)> OnFixedCellClick;

    // The grid's own processing of an event that HandleMessage let through (events it does not
    // know go to the Qt base class); descendants call it from HandleMessage to run it before
    // their own steps. True when the event was used.
    bool DefaultProcessing(QEvent *e);

protected:
    // ---- message layer ------------------------------------------------------------------
    // Sees every routed event first; true consumes it.
    virtual bool HandleMessage(QEvent *e);

    // ---- painting -----------------------------------------------------------------------
    // Draws every cell of the view through DrawCell, the grid lines and the sizing or moving
    // marks onto Canvas().
    virtual void Paint();
    // One cell. With DefaultDrawing the canvas brush and font are prepared and the text is
    // drawn; then OnDrawCell fires.
    virtual void DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState);
    // The grid lines after one cell (right and below ARect, GridLineWidth thick), by the line
    // options; called after DrawCell while PlatformGridLines is on and the width above 0.
    virtual void DrawGridLines(int ACol, int ARow, const TRect &ARect, TGridDrawState AState);

    // ---- cursor hooks -------------------------------------------------------------------
    // May the cursor move to this cell? Fires OnSelectCell.
    virtual bool SelectCell(int ACol, int ARow);
    virtual bool MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
    // MoveCurrent with scrolling, then Click when the cursor moved.
    virtual void FocusCell(int ACol, int ARow, bool MoveAnchor);
    virtual void Click();
    virtual void DblClick();
    virtual void FixedCellClick(int ACol, int ARow);
    virtual void TopLeftChanged();
    virtual void ColWidthsChanged() {}
    virtual void RowHeightsChanged() {}
    // After ColCount or RowCount changed.
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    // Called by MoveColumn / MoveRow after the sizes, the cursor and the editor moved: the base
    // moves the cells (texts and objects) of the line, then fires OnColumnMoved / OnRowMoved.
    // An override that stores cells elsewhere (columns hidden beyond ColCount) passes other
    // indexes to the base.
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    // Moves one line's size as MoveColumn / MoveRow do, without the cells: a descendant that
    // moves cells itself shifts many sizes at the cost of one block move.
    void MoveColSize(int FromIndex, int ToIndex);
    void MoveRowSize(int FromIndex, int ToIndex);
    // Rows FromIndex .. FromIndex + Count - 1 move as one block, cells and sizes, so that the
    // first lands at ToIndex; no cursor change, no event. All within RowCount.
    void MoveRowBlock(int FromIndex, int Count, int ToIndex);
    // Forgets the cells of rows or of a rectangle in the store at once (objects are not freed).
    void ClearStoredRows(int ARow, int Count) { m_store.ClearRows(ARow, Count); }
    void ClearStoredRect(int ACol1, int ARow1, int ACol2, int ARow2)
    {
        m_store.ClearRect(ACol1, ARow1, ACol2, ARow2);
    }
    // A row's cells taken out of the store and put back elsewhere, the storage moving along.
    TCellStore::TRow TakeRowCells(int ARow) { return m_store.TakeRow(ARow); }
    void PutRowCells(int ARow, TCellStore::TRow &&Row) { m_store.PutRow(ARow, std::move(Row)); }
    virtual void DoEnter();
    virtual void DoExit();

    // ---- editor hooks -------------------------------------------------------------------
    // May the editor show now? goEditing without goRowSelect, editor mode on, the grid shown
    // and focused (or goAlwaysShowEditor).
    virtual bool CanEditShow();
    // Cell text, then OnGetEditText.
    virtual QString GetEditText(int ACol, int ARow);
    // The cell takes Value when it differs, then OnSetEditText.
    virtual void SetEditText(int ACol, int ARow, const QString &Value);
    virtual QString GetEditMask(int ACol, int ARow);
    // Maximum text length of the editor; 0 for none.
    virtual int GetEditLimit() { return 0; }
    // The single-line text editor, made on first use.
    virtual TInplaceEdit *CreateEditor();
    // The editor for a cell: the one CreateEditor made unless an override answers another
    // editor made with this grid (a TInplaceMemo, later combo or spin boxes), or null for none.
    // The grid commits and hides the old editor when the kind changes from cell to cell.
    virtual TGridEditor *GetCellEditor(int ACol, int ARow);
    // Where the editor of a cell goes: CellRect unless overridden (a merged area already
    // widens CellRect).
    virtual TRect EditorRect(int ACol, int ARow);
    // Editor mode on and the editor placed over the current cell when CanEditShow allows.
    virtual void ShowEditor();
    // Editor mode off; the editor's text goes to SetEditText and the editor hides.
    virtual void HideEditor();
    // Opens the editor and types the character into it.
    void ShowEditorChar(QChar Ch);

    // ---- input hooks --------------------------------------------------------------------
    // Fires OnKeyDown, then moves the cursor (arrows, pages, Home/End, Tab with goTabs; Shift
    // extends the selection with goRangeSelect) or opens the editor (F2).
    virtual void KeyDown(int &Key, TShiftState Shift);
    // Fires OnKeyPress; with goEditing Enter switches the editor, a typed character opens it.
    virtual void KeyPress(QChar &Key);
    virtual void KeyUp(int &Key, TShiftState Shift);
    // Selecting, sizing near the end of a scrollable line inside the fixed cells
    // (goColSizing/goRowSizing), moving by a fixed cell (goColMoving/goRowMoving), fixed-cell
    // clicks; then OnMouseDown. A selecting press ends with Click on its release.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // OnMouseWheel, then one DoMouseWheelDown/Up per notch; true when handled.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint &MousePos);
    // OnMouseWheelDown/Up; unhandled, the current row moves one row down/up.
    virtual bool DoMouseWheelDown(TShiftState Shift, const TPoint &MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, const TPoint &MousePos);

    // The mouse cursor over a client point while no button is held: the sizing cursors where
    // CalcSizingState would size, else the arrow (the viewport's default).
    virtual Qt::CursorShape GetCursorForPoint(int X, int Y);

    // Whether (X, Y) starts sizing: near the right edge of a scrollable column inside the fixed
    // rows (goColSizing) or the bottom edge of a scrollable row inside the fixed columns
    // (goRowSizing). Fixed lines are not sized here. An override may refuse by setting State to
    // gsNormal.
    virtual void
    CalcSizingState(int X, int Y, TGridState &State, int &Index, int &SizingPos, int &SizingOfs);
    // Moving a column or row by its fixed cell: Begin may refuse the drag, Check may change or
    // refuse a destination while dragging, End may refuse or change the final move.
    virtual bool BeginColumnDrag(int &Origin, int &Destination, const TPoint &MousePt);
    virtual bool CheckColumnDrag(int &Origin, int &Destination, const TPoint &MousePt);
    virtual bool EndColumnDrag(int &Origin, int &Destination, const TPoint &MousePt);
    virtual bool BeginRowDrag(int &Origin, int &Destination, const TPoint &MousePt);
    virtual bool CheckRowDrag(int &Origin, int &Destination, const TPoint &MousePt);
    virtual bool EndRowDrag(int &Origin, int &Destination, const TPoint &MousePt);

    // Scroll-bar action after the message layer let it through.
    virtual void ModifyScrollBar(Qt::Orientation Bar, TScrollCode Code, int Pos);
    // Sets the bars' ranges, pages, positions and visibility (ScrollBars) from the counts, sizes
    // and the view; runs after every change of these. An override that keeps a bar shown or
    // hidden on its own calls the base first and then applies its rule.
    virtual void UpdateScrollRange();

    // The mouse state machine from a descendant: gsNormal cancels a sizing or moving drag (no
    // size or move happens on release) and ends selecting; gsSelecting makes the held button
    // extend the selection from the current cell on. Sizing and moving begin only with a press,
    // so other values are ignored.
    void SetGridState(TGridState Value);

    // Scrolls so that the cell is wholly visible where it can be.
    void ClampInView(int ACol, int ARow);

    // The cell store itself, for diagnostics (what it holds after counts changed).
    const TCellStore &Store() const { return m_store; }
    // Two rows trade their cells (texts and objects) at once, sizes and cursor unchanged: the
    // row exchange of a sort.
    void SwapRowCells(int a, int b) { m_store.SwapRows(a, b); }

    // Qt plumbing
    bool event(QEvent *e) override;
    bool viewportEvent(QEvent *e) override;
    void scrollContentsBy(int, int) override {}

private:
    friend class TGridEditor;
    enum class Axis { Cols, Rows };

    void checkStoreIndex(int ACol, int ARow) const;
    bool route(QEvent *e);
    void keyPressMessage(QKeyEvent *e);
    bool processKeyDown(QKeyEvent *e);
    bool processChar(QKeyEvent *e);
    bool processMouse(QMouseEvent *e);
    bool processWheel(QWheelEvent *e);
    void paintViewport(const QRect &region);
    void focusChanged(bool in, Qt::FocusReason reason);
    void editorFocusChanged(bool in);

    // view
    int scrollAreaWidth() const;
    int scrollAreaHeight() const;
    int linePos(Axis axis, int index) const; // client position of a line's start
    qint64 linePos64(Axis axis, int index) const;
    int lineAtPos(Axis axis, int p) const; // line under a client position, -1 outside
    int lastVisible(Axis axis) const;      // last (partly) visible scrollable line
    int visibleCount(Axis axis) const;
    int maxFirst(Axis axis) const;
    // First scrollable column / row at or past the viewport's right / bottom edge: such cells
    // are off screen, and so are merged areas based on them, which extend right and down.
    struct ViewLimits
    {
        quint64 colGen = 0, rowGen = 0;
        TGridCoord topLeft{-1, -1};
        int fixedCols = -1, fixedRows = -1;
        int width = -1, height = -1;
        int colLimit = 0, rowLimit = 0;
    };
    const ViewLimits &viewLimits() const;
    [[gnu::noinline]] void updateViewLimits() const;
    void moveTopLeft(int left, int top);
    void scrollBarAction(Qt::Orientation bar, int action);
    void scrollBarValue(Qt::Orientation bar, int value);
    void scrollMessage(Qt::Orientation bar, TScrollCode code, int pos);
    void adjustAfterCountChange(Axis axis, int oldCount);
    void adjustAfterFixedChange(Axis axis, int oldFixed);
    void sizesChanged(Axis axis);

    // cursor
    void selectionMoved(const TGridRect &oldSel);
    TGridCoord clampedCurrent() const;

    // editor
    void updateEdit();
    void switchEditor(TGridEditor *editor);
    void hideEdit();
    void takeFocusFromEditor();
    void commitEditor();
    void placeEditor();
    bool editorHoldsFocus() const;

    // mouse state
    void drawSizingAndMoving();
    // Dragging a selection or a line: the line under the mouse, clamped to the view at its
    // edges; past an edge the view scrolls one line at once and then by the timer.
    int dragLine(Axis axis, int p) const;
    int dragDirection(Axis axis, int p) const; // -1, 0, 1: before, inside, past the view
    bool dragScrollStep(int dx, int dy);       // one line each way; true when it scrolled
    void dragTo(int X, int Y);
    void dragMouse(int X, int Y);
    void dragTimerTick();
    void stopDragScroll();

    TCellStore m_store;
    TLineSizes m_cols{64, 5};
    TLineSizes m_rows{24, 5};
    int m_fixedCols = 1;
    int m_fixedRows = 1;
    TGridCoord m_current{1, 1};
    TGridCoord m_anchor{1, 1};
    TGridCoord m_topLeft{1, 1};
    TGridOptions m_options;
    TScrollStyle m_scrollBars = TScrollStyle::ssBoth;

    bool m_defaultDrawing = true;
    bool m_platformGridLines = true;
    TColor m_color = clWindow;
    TColor m_fixedColor = clBtnFace;
    TFont m_font;
    std::unique_ptr<TCanvas> m_measureCanvas;
    TCanvas *m_paintCanvas = nullptr;
    TRect m_paintRect; // part of the view being painted

    // editors: the one holding a cell, and every one made with this grid (owned)
    TGridEditor *m_editor = nullptr;
    TGridEditor *m_defaultEditor = nullptr;
    std::vector<TGridEditor *> m_editors;
    bool m_editorMode = false;
    bool m_editorShown = false; // the editor holds a cell (it may be scrolled out of view)
    bool m_entered = false;
    bool m_focusFromEditor = false; // the grid takes the focus back from a closing editor

    // mouse
    TGridState m_gridState = TGridState::gsNormal;
    int m_sizingIndex = -1;
    int m_sizingPos = 0;
    int m_sizingOfs = 0;
    int m_moveIndex = -1;
    int m_movePos = -1;
    TGridCoord m_pressedFixed{-1, -1};
    TGridCoord m_hotFixed{-1, -1};
    int m_wheelAccum = 0;
    QTimer *m_dragTimer = nullptr;
    int m_dragInitialDelay = 1000;
    int m_dragRepeatDelay = 250;
    TPoint m_dragPos;

    bool m_syncingBars = false;
    bool m_destroying = false;
    mutable ViewLimits m_viewLimits; // keyed on everything the limits depend on
    enum class DropOffscreen : quint8 { Auto, On, Off };
    mutable DropOffscreen m_dropOffscreen = DropOffscreen::Auto;
};

} // namespace plat
