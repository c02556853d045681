// Input of the platform grid: the message layer, keys, mouse, wheel, scroll bars and focus.
#include "platform/grid/PlatformStringGrid.h"

#include "platform/grid/GridEditor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace plat {

namespace {

using enum TGridOption;
using enum TShiftStateItem;

bool isDialogKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

// Pixels on either side of a grid line that still grab it for sizing.
constexpr int SizingTolerance = 3;

} // namespace

// ---- message layer ----------------------------------------------------------------------------

bool TPlatformStringGrid::HandleMessage(QEvent *)
{
    return false;
}

bool TPlatformStringGrid::route(QEvent *e)
{
    if (HandleMessage(e))
        return true;
    return DefaultProcessing(e);
}

namespace {

// Events that belong to the viewport: the grid takes them there, not on its frame.
bool isViewportEvent(QEvent::Type t)
{
    switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::Paint:
    case QEvent::Resize:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
    case QEvent::HoverMove:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

} // namespace

bool TPlatformStringGrid::event(QEvent *e)
{
    if (m_destroying || isViewportEvent(e->type()))
        return QAbstractScrollArea::event(e);
    if (e->type() == QEvent::KeyPress) {
        auto *ke = static_cast<QKeyEvent *>(e);
        const bool tab = ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab;
        // Without goTabs the Tab key belongs to the dialog's focus chain.
        if (tab && !m_options.Contains(goTabs) &&
            !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return QAbstractScrollArea::event(e);
        keyPressMessage(ke);
        return true;
    }
    if (e->type() == QEvent::Show)
        UpdateScrollRange();
    return route(e);
}

bool TPlatformStringGrid::viewportEvent(QEvent *e)
{
    if (m_destroying)
        return QAbstractScrollArea::viewportEvent(e);
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::Paint:
    case QEvent::Resize:
    case QEvent::Leave:
        route(e);
        e->accept();
        return true;
    case QEvent::ToolTip:
        // The hint is the grid's, wherever over the cells it is asked for.
        return route(e);
    default:
        return QAbstractScrollArea::viewportEvent(e);
    }
}

void TPlatformStringGrid::keyPressMessage(QKeyEvent *e)
{
    bool used = route(e);
    QChar ch;
    if (KeyCharOf(e, ch)) {
        QKeyEvent charEvent(CharEventType(), e->key(), e->modifiers(), QString(ch),
                            e->isAutoRepeat());
        used = route(&charEvent) || used;
    }
    // An unused Enter or Esc goes on to the dialog (default and cancel buttons).
    e->setAccepted(used);
}

bool TPlatformStringGrid::DefaultProcessing(QEvent *e)
{
    const QEvent::Type t = e->type();
    switch (t) {
    case QEvent::KeyPress:
        return processKeyDown(static_cast<QKeyEvent *>(e));
    case QEvent::KeyRelease: {
        auto *ke = static_cast<QKeyEvent *>(e);
        int key = ke->key();
        KeyUp(key, ShiftStateOf(ke->modifiers()));
        return true;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        auto *fe = static_cast<QFocusEvent *>(e);
        focusChanged(t == QEvent::FocusIn, fe->reason());
        QAbstractScrollArea::event(e);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return processMouse(static_cast<QMouseEvent *>(e));
    case QEvent::Wheel:
        return processWheel(static_cast<QWheelEvent *>(e));
    case QEvent::Paint:
        paintViewport(static_cast<QPaintEvent *>(e)->rect());
        return true;
    case QEvent::Resize:
        UpdateScrollRange();
        placeEditor();
        return true;
    case QEvent::Leave:
        if (m_hotFixed.X >= 0) {
            InvalidateCell(m_hotFixed.X, m_hotFixed.Y);
            m_hotFixed = {-1, -1};
        }
        if (m_gridState == TGridState::gsNormal)
            viewport()->unsetCursor();
        return true;
    default:
        break;
    }
    if (t == CharEventType())
        return processChar(static_cast<QKeyEvent *>(e));
    if (t == TGridScrollEvent::Type()) {
        auto *se = static_cast<TGridScrollEvent *>(e);
        ModifyScrollBar(se->Bar, se->Code, se->Pos);
        return true;
    }
    return QAbstractScrollArea::event(e);
}

// ---- keys -----------------------------------------------------------------------------------

bool TPlatformStringGrid::processKeyDown(QKeyEvent *e)
{
    int key = e->key();
    KeyDown(key, ShiftStateOf(e->modifiers()));
    return key == 0 || !isDialogKey(e->key());
}

bool TPlatformStringGrid::processChar(QKeyEvent *e)
{
    QChar ch = e->text().isEmpty() ? QChar() : e->text().at(0);
    KeyPress(ch);
    return ch.isNull();
}

void TPlatformStringGrid::KeyDown(int &Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
    if (Key == 0)
        return;
    const bool ctrl = Shift.Contains(ssCtrl);
    const bool extend = Shift.Contains(ssShift) && m_options.Contains(goRangeSelect);
    const bool rowSelect = m_options.Contains(goRowSelect);
    const TGridCoord cur = clampedCurrent();
    const int lastCol = ColCount() - 1;
    const int lastRow = RowCount() - 1;
    TGridCoord target = cur;
    bool move = true;

    switch (Key) {
    case Qt::Key_Up:
        target.Y = std::max(m_fixedRows, cur.Y - 1);
        break;
    case Qt::Key_Down:
        target.Y = std::min(lastRow, cur.Y + 1);
        break;
    case Qt::Key_Left:
        if (rowSelect) {
            // A whole-row cursor scrolls sideways instead.
            SetLeftCol(m_topLeft.X - 1);
            move = false;
        } else {
            target.X = std::max(m_fixedCols, cur.X - 1);
        }
        break;
    case Qt::Key_Right:
        if (rowSelect) {
            SetLeftCol(std::min(m_topLeft.X + 1, MaxLeftCol()));
            move = false;
        } else {
            target.X = std::min(lastCol, cur.X + 1);
        }
        break;
    case Qt::Key_PageUp:
        if (ctrl) {
            target.Y = m_topLeft.Y;
        } else {
            const int page = VisibleRowCount();
            SetTopRow(m_topLeft.Y - page);
            target.Y = std::max(m_fixedRows, cur.Y - page);
        }
        break;
    case Qt::Key_PageDown:
        if (ctrl) {
            target.Y = std::clamp(lastVisible(Axis::Rows), m_fixedRows, lastRow);
        } else {
            const int page = VisibleRowCount();
            SetTopRow(std::max(m_topLeft.Y, std::min(m_topLeft.Y + page, MaxTopRow())));
            target.Y = std::min(lastRow, cur.Y + page);
        }
        break;
    case Qt::Key_Home:
        if (ctrl || rowSelect)
            target = {m_fixedCols, m_fixedRows};
        else
            target.X = m_fixedCols;
        break;
    case Qt::Key_End:
        if (ctrl || rowSelect)
            target = {lastCol, lastRow};
        else
            target.X = lastCol;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        move = false;
        if (m_options.Contains(goTabs) && !ctrl && !Shift.Contains(ssAlt)) {
            const bool back = Key == Qt::Key_Backtab || Shift.Contains(ssShift);
            move = true;
            if (rowSelect) {
                target.Y = back ? std::max(m_fixedRows, cur.Y - 1) : std::min(lastRow, cur.Y + 1);
            } else if (back) {
                if (cur.X > m_fixedCols)
                    target.X = cur.X - 1;
                else if (cur.Y > m_fixedRows)
                    target = {lastCol, cur.Y - 1};
            } else {
                if (cur.X < lastCol)
                    target.X = cur.X + 1;
                else if (cur.Y < lastRow)
                    target = {m_fixedCols, cur.Y + 1};
            }
            // Tab never extends the selection.
            if (!(target == m_current))
                FocusCell(target.X, target.Y, true);
            return;
        }
        break;
    case Qt::Key_F2:
        move = false;
        if (m_options.Contains(goEditing))
            ShowEditor();
        break;
    default:
        move = false;
        break;
    }
    if (move && !(target == m_current))
        FocusCell(target.X, target.Y, !extend);
}

void TPlatformStringGrid::KeyPress(QChar &Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
    if (Key.isNull() || !m_options.Contains(goEditing))
        return;
    const ushort code = Key.unicode();
    if (code == 13) {
        if (!m_options.Contains(goAlwaysShowEditor)) {
            if (m_editorMode && m_editorShown)
                HideEditor();
            else
                ShowEditor();
        }
        Key = QChar();
        return;
    }
    if ((code >= 32 || code == 8) && !m_editorShown)
        ShowEditorChar(Key);
}

void TPlatformStringGrid::KeyUp(int &Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

// ---- focus ----------------------------------------------------------------------------------

void TPlatformStringGrid::focusChanged(bool in, Qt::FocusReason reason)
{
    if (in) {
        if (!m_entered) {
            m_entered = true;
            DoEnter();
        }
        if (m_options.Contains(goEditing) && m_options.Contains(goAlwaysShowEditor) &&
            !m_focusFromEditor)
            ShowEditor();
    } else {
        const QWidget *now = QApplication::focusWidget();
        const bool inside = now && (now == this || isAncestorOf(now));
        // A drag whose release may never arrive here must not scroll on.
        if (!inside && reason != Qt::PopupFocusReason)
            stopDragScroll();
        if (!inside && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            m_entered) {
            m_entered = false;
            DoExit();
        }
    }
    InvalidateCell(m_current.X, m_current.Y);
}

void TPlatformStringGrid::editorFocusChanged(bool in)
{
    if (m_destroying)
        return;
    if (in) {
        if (!m_entered) {
            m_entered = true;
            DoEnter();
        }
        return;
    }
    const QWidget *now = QApplication::focusWidget();
    if (now && (now == this || isAncestorOf(now)))
        return;
    // Focus leaves the grid while editing: the text must not be lost.
    commitEditor();
    if (now && m_entered) {
        m_entered = false;
        DoExit();
    }
}

// ---- mouse ----------------------------------------------------------------------------------

bool TPlatformStringGrid::processMouse(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    const TShiftState shift = ShiftStateOf(e->modifiers(), e->buttons());
    TMouseButton button = TMouseButton::mbLeft;
    switch (e->button()) {
    case Qt::LeftButton:
    case Qt::NoButton:
        break;
    case Qt::RightButton:
        button = TMouseButton::mbRight;
        break;
    case Qt::MiddleButton:
        button = TMouseButton::mbMiddle;
        break;
    default:
        return false;
    }
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        MouseDown(button, shift, p.x(), p.y());
        break;
    case QEvent::MouseButtonDblClick:
        if (button == TMouseButton::mbLeft)
            DblClick();
        MouseDown(button, shift + TShiftState{ssDouble}, p.x(), p.y());
        break;
    case QEvent::MouseMove:
        MouseMove(shift, p.x(), p.y());
        break;
    case QEvent::MouseButtonRelease:
        MouseUp(button, shift, p.x(), p.y());
        break;
    default:
        return false;
    }
    return true;
}

int TPlatformStringGrid::lineAtPos(Axis axis, int p) const
{
    const TLineSizes &lines = axis == Axis::Cols ? m_cols : m_rows;
    const int fixed = axis == Axis::Cols ? m_fixedCols : m_fixedRows;
    const int first = axis == Axis::Cols ? m_topLeft.X : m_topLeft.Y;
    const int extent = axis == Axis::Cols ? viewport()->width() : viewport()->height();
    if (p < 0 || p >= extent)
        return -1;
    const qint64 fixedExtent = lines.Offset(fixed);
    if (p < fixedExtent)
        return lines.IndexAt(p);
    return lines.IndexAt(lines.Offset(first) + (p - fixedExtent));
}

int TPlatformStringGrid::dragDirection(Axis axis, int p) const
{
    const bool cols = axis == Axis::Cols;
    if (p >= (cols ? viewport()->width() : viewport()->height()))
        return 1;
    if (p < (cols ? FixedWidth() : FixedHeight()))
        return -1;
    return 0;
}

int TPlatformStringGrid::dragLine(Axis axis, int p) const
{
    const bool cols = axis == Axis::Cols;
    const int fixed = cols ? m_fixedCols : m_fixedRows;
    const int count = cols ? ColCount() : RowCount();
    switch (dragDirection(axis, p)) {
    case 1:
        // The last wholly visible line, so that taking it does not scroll a second time.
        return std::clamp((cols ? m_topLeft.X : m_topLeft.Y) + visibleCount(axis) - 1, fixed,
                          count - 1);
    case -1:
        return cols ? m_topLeft.X : m_topLeft.Y;
    default:
        break;
    }
    const int i = lineAtPos(axis, p);
    return i < 0 ? count - 1 : std::max(i, fixed);
}

bool TPlatformStringGrid::dragScrollStep(int dx, int dy)
{
    auto next = [this](Axis axis, int d) {
        const int fixed = axis == Axis::Cols ? m_fixedCols : m_fixedRows;
        const int first = axis == Axis::Cols ? m_topLeft.X : m_topLeft.Y;
        if (d > 0 && first < maxFirst(axis))
            return first + 1;
        if (d < 0 && first > fixed)
            return first - 1;
        return first;
    };
    const TGridCoord old = m_topLeft;
    moveTopLeft(next(Axis::Cols, dx), next(Axis::Rows, dy));
    return !(old == m_topLeft);
}

void TPlatformStringGrid::dragTo(int X, int Y)
{
    switch (m_gridState) {
    case TGridState::gsSelecting: {
        const int c = dragLine(Axis::Cols, X);
        const int r = dragLine(Axis::Rows, Y);
        if (!(TGridCoord{c, r} == m_current) &&
            MoveCurrent(c, r, !m_options.Contains(goRangeSelect), true))
            updateEdit();
        break;
    }
    case TGridState::gsColMoving:
    case TGridState::gsRowMoving: {
        const bool cols = m_gridState == TGridState::gsColMoving;
        const Axis axis = cols ? Axis::Cols : Axis::Rows;
        const int fixed = cols ? m_fixedCols : m_fixedRows;
        const int line = dragLine(axis, cols ? X : Y);
        if (line >= fixed && line != m_movePos) {
            int origin = m_moveIndex;
            int dest = line;
            const bool ok = cols ? CheckColumnDrag(origin, dest, TPoint{X, Y})
                                 : CheckRowDrag(origin, dest, TPoint{X, Y});
            if (ok) {
                m_movePos = dest;
                Invalidate();
            }
        }
        break;
    }
    default:
        break;
    }
}

void TPlatformStringGrid::dragMouse(int X, int Y)
{
    // Past an edge the view scrolls one line at once and then by the timer, so that a mouse
    // held still there keeps scrolling and a moving one does not scroll faster.
    const bool moving =
        m_gridState == TGridState::gsColMoving || m_gridState == TGridState::gsRowMoving;
    const bool colsOnly = m_gridState == TGridState::gsColMoving;
    const int dx = moving && !colsOnly ? 0 : dragDirection(Axis::Cols, X);
    const int dy = moving && colsOnly ? 0 : dragDirection(Axis::Rows, Y);
    m_dragPos = TPoint{X, Y};
    if (dx == 0 && dy == 0) {
        stopDragScroll();
    } else if (!m_dragTimer->isActive()) {
        dragScrollStep(dx, dy);
        m_dragTimer->start(m_dragInitialDelay);
    }
    dragTo(X, Y);
}

void TPlatformStringGrid::dragTimerTick()
{
    const bool moving =
        m_gridState == TGridState::gsColMoving || m_gridState == TGridState::gsRowMoving;
    if (m_gridState != TGridState::gsSelecting && !moving) {
        stopDragScroll();
        return;
    }
    m_dragTimer->setInterval(m_dragRepeatDelay);
    const bool colsOnly = m_gridState == TGridState::gsColMoving;
    const int dx = moving && !colsOnly ? 0 : dragDirection(Axis::Cols, m_dragPos.X);
    const int dy = moving && colsOnly ? 0 : dragDirection(Axis::Rows, m_dragPos.Y);
    if (dx == 0 && dy == 0) {
        stopDragScroll();
        return;
    }
    if (dragScrollStep(dx, dy))
        dragTo(m_dragPos.X, m_dragPos.Y);
}

void TPlatformStringGrid::stopDragScroll()
{
    if (m_dragTimer)
        m_dragTimer->stop();
}

Qt::CursorShape TPlatformStringGrid::GetCursorForPoint(int X, int Y)
{
    TGridState state = TGridState::gsNormal;
    int index = -1;
    int pos = 0;
    int ofs = 0;
    CalcSizingState(X, Y, state, index, pos, ofs);
    if (state == TGridState::gsColSizing)
        return Qt::SplitHCursor;
    if (state == TGridState::gsRowSizing)
        return Qt::SplitVCursor;
    return Qt::ArrowCursor;
}

void TPlatformStringGrid::CalcSizingState(
    int X, int Y, TGridState &State, int &Index, int &SizingPos, int &SizingOfs)
{
    State = TGridState::gsNormal;
    Index = -1;
    const int lw = m_cols.LineWidth();
    // Nearest line end among the visible lines of one axis.
    auto nearest = [&](Axis axis, int p, int &pos) {
        const int count = axis == Axis::Cols ? ColCount() : RowCount();
        const int first = axis == Axis::Cols ? m_topLeft.X : m_topLeft.Y;
        const int last = lastVisible(axis);
        const TLineSizes &lines = axis == Axis::Cols ? m_cols : m_rows;
        int best = -1;
        int bestDist = SizingTolerance + 1;
        auto check = [&](int i) {
            const qint64 end = linePos64(axis, i) + lines.Size(i);
            qint64 dist = 0;
            if (p < end)
                dist = end - p;
            else if (p >= end + lw)
                dist = p - (end + lw) + 1;
            if (dist < bestDist) {
                bestDist = static_cast<int>(dist);
                best = i;
                pos = static_cast<int>(std::min<qint64>(end, INT_MAX));
            }
        };
        // Fixed lines keep their size here; a descendant sizes them by its own rules.
        for (int i = first; i <= last && i < count; ++i)
            check(i);
        return best;
    };
    int pos = 0;
    if (m_options.Contains(goColSizing) && Y >= 0 && Y < FixedHeight()) {
        const int i = nearest(Axis::Cols, X, pos);
        if (i >= 0) {
            State = TGridState::gsColSizing;
            Index = i;
            SizingPos = pos;
            SizingOfs = pos - X;
            return;
        }
    }
    if (m_options.Contains(goRowSizing) && X >= 0 && X < FixedWidth()) {
        const int i = nearest(Axis::Rows, Y, pos);
        if (i >= 0) {
            State = TGridState::gsRowSizing;
            Index = i;
            SizingPos = pos;
            SizingOfs = pos - Y;
        }
    }
}

void TPlatformStringGrid::SetGridState(TGridState Value)
{
    if (Value != TGridState::gsNormal && Value != TGridState::gsSelecting)
        return;
    const bool hadMark =
        m_gridState != TGridState::gsNormal && m_gridState != TGridState::gsSelecting;
    m_gridState = Value;
    m_sizingIndex = -1;
    m_moveIndex = -1;
    m_movePos = -1;
    if (Value == TGridState::gsNormal)
        stopDragScroll();
    if (hadMark)
        Invalidate(); // the sizing line or moving mark goes away
}

bool TPlatformStringGrid::BeginColumnDrag(int &, int &, const TPoint &)
{
    return true;
}

bool TPlatformStringGrid::CheckColumnDrag(int &, int &, const TPoint &)
{
    return true;
}

bool TPlatformStringGrid::EndColumnDrag(int &, int &, const TPoint &)
{
    return true;
}

bool TPlatformStringGrid::BeginRowDrag(int &, int &, const TPoint &)
{
    return true;
}

bool TPlatformStringGrid::CheckRowDrag(int &, int &, const TPoint &)
{
    return true;
}

bool TPlatformStringGrid::EndRowDrag(int &, int &, const TPoint &)
{
    return true;
}

void TPlatformStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (focusPolicy() != Qt::NoFocus && !IsActiveControl())
        setFocus(Qt::MouseFocusReason);
    if (Button == TMouseButton::mbLeft) {
        const TGridCoord cell = MouseCoord(X, Y);
        const bool inside = cell.X >= 0;
        if (Shift.Contains(ssDouble)) {
            // A double click on the current cell opens the editor.
            if (inside && cell == m_current && m_options.Contains(goEditing) &&
                !m_options.Contains(goRowSelect))
                ShowEditor();
        } else {
            TGridState state = TGridState::gsNormal;
            int index = -1;
            int pos = 0;
            int ofs = 0;
            CalcSizingState(X, Y, state, index, pos, ofs);
            if (state == TGridState::gsColSizing || state == TGridState::gsRowSizing) {
                m_gridState = state;
                m_sizingIndex = index;
                m_sizingPos = pos;
                m_sizingOfs = ofs;
                Invalidate();
            } else if (inside) {
                const bool fixedRow = cell.Y < m_fixedRows;
                const bool fixedCol = cell.X < m_fixedCols;
                const TPoint pt{X, Y};
                if (fixedRow && !fixedCol && m_options.Contains(goColMoving)) {
                    int origin = cell.X;
                    int dest = cell.X;
                    if (BeginColumnDrag(origin, dest, pt)) {
                        m_gridState = TGridState::gsColMoving;
                        m_moveIndex = origin;
                        m_movePos = dest;
                        Invalidate();
                    }
                } else if (fixedCol && !fixedRow && m_options.Contains(goRowMoving)) {
                    int origin = cell.Y;
                    int dest = cell.Y;
                    if (BeginRowDrag(origin, dest, pt)) {
                        m_gridState = TGridState::gsRowMoving;
                        m_moveIndex = origin;
                        m_movePos = dest;
                        Invalidate();
                    }
                } else if (fixedRow || fixedCol) {
                    if ((fixedCol && m_options.Contains(goFixedColClick)) ||
                        (fixedRow && m_options.Contains(goFixedRowClick))) {
                        m_pressedFixed = cell;
                        InvalidateCell(cell.X, cell.Y);
                    }
                } else if (cell == m_current && m_options.Contains(goEditing) &&
                           !m_options.Contains(goRowSelect) && !Shift.Contains(ssShift)) {
                    ShowEditor();
                } else {
                    // The click is reported on the release, once, whether the cursor moved or
                    // the select-cell check kept it.
                    m_gridState = TGridState::gsSelecting;
                    const bool extend =
                        Shift.Contains(ssShift) && m_options.Contains(goRangeSelect);
                    if (MoveCurrent(cell.X, cell.Y, !extend, true))
                        updateEdit();
                }
            }
        }
    }
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TPlatformStringGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    switch (m_gridState) {
    case TGridState::gsSelecting:
        if (Shift.Contains(ssLeft))
            dragMouse(X, Y);
        break;
    case TGridState::gsColSizing:
    case TGridState::gsRowSizing: {
        const Axis axis = m_gridState == TGridState::gsColSizing ? Axis::Cols : Axis::Rows;
        const qint64 p = axis == Axis::Cols ? X : Y;
        // At least one pixel, so the line can still be taken again.
        m_sizingPos = static_cast<int>(std::min<qint64>(
            std::max(p + m_sizingOfs, linePos64(axis, m_sizingIndex) + 1), INT_MAX));
        Invalidate();
        break;
    }
    case TGridState::gsColMoving:
    case TGridState::gsRowMoving:
        dragMouse(X, Y);
        break;
    case TGridState::gsNormal: {
        if (!Shift.Contains(ssLeft)) {
            const Qt::CursorShape shape = GetCursorForPoint(X, Y);
            if (shape == Qt::ArrowCursor)
                viewport()->unsetCursor();
            else
                viewport()->setCursor(shape);
        }
        if (m_options.Contains(goFixedHotTrack)) {
            TGridCoord cell = MouseCoord(X, Y);
            if (cell.X >= m_fixedCols && cell.Y >= m_fixedRows)
                cell = {-1, -1};
            if (!(cell == m_hotFixed)) {
                InvalidateCell(m_hotFixed.X, m_hotFixed.Y);
                m_hotFixed = cell;
                InvalidateCell(cell.X, cell.Y);
            }
        }
        break;
    }
    }
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TPlatformStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::mbLeft) {
        stopDragScroll();
        const TGridState state = m_gridState;
        m_gridState = TGridState::gsNormal;
        switch (state) {
        case TGridState::gsColSizing: {
            const int size = m_sizingPos - linePos(Axis::Cols, m_sizingIndex);
            if (m_sizingIndex >= 0 && m_sizingIndex < ColCount())
                SetColWidths(m_sizingIndex, size);
            Invalidate();
            break;
        }
        case TGridState::gsRowSizing: {
            const int size = m_sizingPos - linePos(Axis::Rows, m_sizingIndex);
            if (m_sizingIndex >= 0 && m_sizingIndex < RowCount())
                SetRowHeights(m_sizingIndex, size);
            Invalidate();
            break;
        }
        case TGridState::gsColMoving:
        case TGridState::gsRowMoving: {
            const bool cols = state == TGridState::gsColMoving;
            int origin = m_moveIndex;
            int dest = m_movePos;
            Invalidate();
            if (origin != dest) {
                const bool ok = cols ? EndColumnDrag(origin, dest, TPoint{X, Y})
                                     : EndRowDrag(origin, dest, TPoint{X, Y});
                if (ok && origin != dest)
                    cols ? MoveColumn(origin, dest) : MoveRow(origin, dest);
            }
            break;
        }
        case TGridState::gsSelecting:
        case TGridState::gsNormal:
            if (m_pressedFixed.X >= 0) {
                const TGridCoord pressed = m_pressedFixed;
                m_pressedFixed = {-1, -1};
                InvalidateCell(pressed.X, pressed.Y);
                if (MouseCoord(X, Y) == pressed)
                    FixedCellClick(pressed.X, pressed.Y);
            }
            if (state == TGridState::gsSelecting)
                Click();
            break;
        }
        m_sizingIndex = -1;
        m_moveIndex = -1;
        m_movePos = -1;
    }
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

// ---- wheel ----------------------------------------------------------------------------------

bool TPlatformStringGrid::processWheel(QWheelEvent *e)
{
    const int delta = e->angleDelta().y();
    if (delta == 0)
        return false;
    const QPoint p = e->position().toPoint();
    DoMouseWheel(ShiftStateOf(e->modifiers(), e->buttons()), delta, TPoint{p.x(), p.y()});
    return true;
}

bool TPlatformStringGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint &MousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (handled)
        return true;
    // One step per notch of 120; finer wheels add up.
    m_wheelAccum += WheelDelta;
    while (m_wheelAccum >= 120) {
        m_wheelAccum -= 120;
        handled = DoMouseWheelUp(Shift, MousePos) || handled;
    }
    while (m_wheelAccum <= -120) {
        m_wheelAccum += 120;
        handled = DoMouseWheelDown(Shift, MousePos) || handled;
    }
    return handled;
}

bool TPlatformStringGrid::DoMouseWheelDown(TShiftState Shift, const TPoint &MousePos)
{
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, Shift, MousePos, handled);
    if (handled)
        return true;
    const bool inside = m_current.X >= 0 && m_current.X < ColCount() && m_current.Y >= 0;
    if (inside && m_current.Y < RowCount() - 1)
        SetRow(m_current.Y + 1);
    return true;
}

bool TPlatformStringGrid::DoMouseWheelUp(TShiftState Shift, const TPoint &MousePos)
{
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, Shift, MousePos, handled);
    if (handled)
        return true;
    const bool inside = m_current.X >= 0 && m_current.X < ColCount() && m_current.Y < RowCount();
    if (inside && m_current.Y > m_fixedRows)
        SetRow(m_current.Y - 1);
    return true;
}

// ---- scroll bars ----------------------------------------------------------------------------

void TPlatformStringGrid::scrollMessage(Qt::Orientation bar, TScrollCode code, int pos)
{
    TGridScrollEvent e(bar, code, pos);
    route(&e);
}

void TPlatformStringGrid::scrollBarAction(Qt::Orientation bar, int action)
{
    if (m_syncingBars)
        return;
    QScrollBar *sb = bar == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    TScrollCode code;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        code = TScrollCode::scLineDown;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        code = TScrollCode::scLineUp;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        code = TScrollCode::scPageDown;
        break;
    case QAbstractSlider::SliderPageStepSub:
        code = TScrollCode::scPageUp;
        break;
    case QAbstractSlider::SliderToMinimum:
        code = TScrollCode::scTop;
        break;
    case QAbstractSlider::SliderToMaximum:
        code = TScrollCode::scBottom;
        break;
    case QAbstractSlider::SliderMove:
        code = sb->isSliderDown() ? TScrollCode::scTrack : TScrollCode::scPosition;
        break;
    default:
        return;
    }
    scrollMessage(bar, code, sb->sliderPosition());
    // The bar shows where the grid really is, whatever the message layer decided.
    const int first = bar == Qt::Vertical ? m_topLeft.Y - m_fixedRows : m_topLeft.X - m_fixedCols;
    m_syncingBars = true;
    sb->setSliderPosition(first);
    m_syncingBars = false;
    if (code != TScrollCode::scTrack)
        scrollMessage(bar, TScrollCode::scEndScroll, first);
}

void TPlatformStringGrid::scrollBarValue(Qt::Orientation bar, int value)
{
    if (m_syncingBars)
        return;
    if (bar == Qt::Vertical)
        SetTopRow(m_fixedRows + value);
    else
        SetLeftCol(m_fixedCols + value);
}

void TPlatformStringGrid::ModifyScrollBar(Qt::Orientation Bar, TScrollCode Code, int Pos)
{
    const Axis axis = Bar == Qt::Vertical ? Axis::Rows : Axis::Cols;
    const int fixed = Bar == Qt::Vertical ? m_fixedRows : m_fixedCols;
    const int first = Bar == Qt::Vertical ? m_topLeft.Y : m_topLeft.X;
    const int page = visibleCount(axis);
    const int last = std::max(first, maxFirst(axis));
    int next = first;
    switch (Code) {
    case TScrollCode::scLineUp:
        next = first - 1;
        break;
    case TScrollCode::scLineDown:
        next = std::min(first + 1, last);
        break;
    case TScrollCode::scPageUp:
        next = first - page;
        break;
    case TScrollCode::scPageDown:
        next = std::min(first + page, last);
        break;
    case TScrollCode::scTop:
        next = fixed;
        break;
    case TScrollCode::scBottom:
        next = maxFirst(axis);
        break;
    case TScrollCode::scPosition:
        next = fixed + Pos;
        break;
    case TScrollCode::scTrack:
        if (m_options.Contains(goThumbTracking))
            next = fixed + Pos;
        break;
    case TScrollCode::scEndScroll:
        break;
    }
    if (Bar == Qt::Vertical)
        SetTopRow(next);
    else
        SetLeftCol(next);
}

} // namespace plat
