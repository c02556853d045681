// Cells, counts, sizes, view geometry, the cell cursor and the editor host of the platform grid.
// Input handling is in PlatformStringGrid_input.cpp, painting in PlatformStringGrid_paint.cpp.
#include "platform/grid/PlatformStringGrid.h"

#include "platform/grid/InplaceEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <typeinfo>

namespace plat {

namespace {

int toInt(qint64 v)
{
    return static_cast<int>(std::clamp<qint64>(v, INT_MIN, INT_MAX));
}

// A client rectangle from 64-bit edges (sizes may reach INT_MAX).
TRect clampedRect(qint64 left, qint64 top, qint64 right, qint64 bottom)
{
    return Rect(toInt(left), toInt(top), toInt(right), toInt(bottom));
}

// Where a line index lands when line `from` moves to `to`.
int moveAdjust(int index, int from, int to)
{
    if (index == from)
        return to;
    if (from < to && index > from && index <= to)
        return index - 1;
    if (from > to && index >= to && index < from)
        return index + 1;
    return index;
}

} // namespace

TPlatformStringGrid::TPlatformStringGrid(QWidget *parent)
    : QAbstractScrollArea(parent), m_measureCanvas(std::make_unique<TCanvas>())
{
    m_options = {TGridOption::goFixedVertLine, TGridOption::goFixedHorzLine,
                 TGridOption::goVertLine, TGridOption::goHorzLine, TGridOption::goRangeSelect};
    m_cols.SetLineWidth(1);
    m_rows.SetLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    m_measureCanvas->SetFont(m_font);
    m_font.OnChange = [this] {
        m_measureCanvas->SetFont(m_font);
        Invalidate();
    };
    m_dragTimer = new QTimer(this);
    m_dragTimer->setObjectName(QStringLiteral("dragScrollTimer"));
    connect(m_dragTimer, &QTimer::timeout, this, [this] { dragTimerTick(); });

    for (Qt::Orientation o : {Qt::Vertical, Qt::Horizontal}) {
        QScrollBar *bar = o == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
        bar->setTracking(false);
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, o](int action) { scrollBarAction(o, action); });
        connect(bar, &QAbstractSlider::valueChanged, this,
                [this, o](int value) { scrollBarValue(o, value); });
        connect(bar, &QAbstractSlider::sliderMoved, this, [this, o, bar](int pos) {
            // With tracking on, the move arrives as an action instead.
            if (!bar->hasTracking())
                scrollMessage(o, TScrollCode::scTrack, pos);
        });
        connect(bar, &QAbstractSlider::sliderReleased, this, [this, o, bar] {
            // A release that moved the thumb ends with a position action, which sends the end.
            if (bar->sliderPosition() == bar->value())
                scrollMessage(o, TScrollCode::scEndScroll, bar->value());
        });
    }
    UpdateScrollRange();
}

TPlatformStringGrid::~TPlatformStringGrid()
{
    m_destroying = true;
    m_dragTimer->stop();
    // Every editor made with the grid goes with it; each one leaves the list as it is deleted.
    while (!m_editors.empty())
        delete m_editors.back();
    m_editor = nullptr;
}

// ---- cells ----------------------------------------------------------------------------------

void TPlatformStringGrid::checkStoreIndex(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0 || ACol >= MaxLines || ARow >= MaxLines)
        throw EGridError(SGridIndexOutOfRange);
}

QString TPlatformStringGrid::Cells(int ACol, int ARow) const
{
    return m_store.Text(ACol, ARow);
}

void TPlatformStringGrid::SetCells(int ACol, int ARow, const QString &Value)
{
    checkStoreIndex(ACol, ARow);
    m_store.SetText(ACol, ARow, Value);
    InvalidateCell(ACol, ARow);
}

void *TPlatformStringGrid::Objects(int ACol, int ARow) const
{
    return m_store.Object(ACol, ARow);
}

void TPlatformStringGrid::SetObjects(int ACol, int ARow, void *Value)
{
    checkStoreIndex(ACol, ARow);
    m_store.SetObject(ACol, ARow, Value);
}

QStringList TPlatformStringGrid::Rows(int ARow) const
{
    QStringList list;
    list.reserve(ColCount());
    for (int c = 0; c < ColCount(); ++c)
        list.append(m_store.Text(c, ARow));
    return list;
}

void TPlatformStringGrid::SetRows(int ARow, const QStringList &Value)
{
    checkStoreIndex(0, ARow);
    for (int c = 0; c < ColCount(); ++c)
        m_store.SetText(c, ARow, c < Value.size() ? Value[c] : QString());
    InvalidateRow(ARow);
}

QStringList TPlatformStringGrid::Cols(int ACol) const
{
    QStringList list;
    list.reserve(RowCount());
    for (int r = 0; r < RowCount(); ++r)
        list.append(m_store.Text(ACol, r));
    return list;
}

void TPlatformStringGrid::SetCols(int ACol, const QStringList &Value)
{
    checkStoreIndex(ACol, 0);
    for (int r = 0; r < RowCount(); ++r)
        m_store.SetText(ACol, r, r < Value.size() ? Value[r] : QString());
    InvalidateCol(ACol);
}

QVector<void *> TPlatformStringGrid::RowObjects(int ARow) const
{
    QVector<void *> list(ColCount(), nullptr);
    for (int c = 0; c < ColCount(); ++c)
        list[c] = m_store.Object(c, ARow);
    return list;
}

void TPlatformStringGrid::SetRowObjects(int ARow, const QVector<void *> &Value)
{
    checkStoreIndex(0, ARow);
    for (int c = 0; c < ColCount(); ++c)
        m_store.SetObject(c, ARow, c < Value.size() ? Value[c] : nullptr);
}

QVector<void *> TPlatformStringGrid::ColObjects(int ACol) const
{
    QVector<void *> list(RowCount(), nullptr);
    for (int r = 0; r < RowCount(); ++r)
        list[r] = m_store.Object(ACol, r);
    return list;
}

void TPlatformStringGrid::SetColObjects(int ACol, const QVector<void *> &Value)
{
    checkStoreIndex(ACol, 0);
    for (int r = 0; r < RowCount(); ++r)
        m_store.SetObject(ACol, r, r < Value.size() ? Value[r] : nullptr);
}

// ---- counts ---------------------------------------------------------------------------------

void TPlatformStringGrid::SetColCount(int Value)
{
    if (Value > MaxLines)
        throw EGridError(SGridIndexOutOfRange);
    Value = std::max(1, Value);
    const int old = ColCount();
    if (Value == old)
        return;
    const int oldFixed = m_fixedCols;
    if (m_fixedCols >= Value)
        m_fixedCols = Value - 1;
    m_cols.SetCount(Value);
    adjustAfterCountChange(Axis::Cols, old);
    if (m_fixedCols != oldFixed)
        adjustAfterFixedChange(Axis::Cols, oldFixed);
    SizeChanged(old, RowCount());
}

void TPlatformStringGrid::SetRowCount(int Value)
{
    if (Value > MaxLines)
        throw EGridError(SGridIndexOutOfRange);
    Value = std::max(1, Value);
    const int old = RowCount();
    if (Value == old)
        return;
    const int oldFixed = m_fixedRows;
    if (m_fixedRows >= Value)
        m_fixedRows = Value - 1;
    m_rows.SetCount(Value);
    adjustAfterCountChange(Axis::Rows, old);
    // Rows past the count are gone for good, so a later growth shows empty rows there.
    if (Value < old)
        m_store.DropRowsFrom(Value);
    if (m_fixedRows != oldFixed)
        adjustAfterFixedChange(Axis::Rows, oldFixed);
    SizeChanged(ColCount(), old);
}

void TPlatformStringGrid::SetFixedCols(int Value)
{
    if (Value < 0)
        throw EGridError(SGridIndexOutOfRange);
    if (Value >= ColCount())
        throw EGridError(SFixedColTooBig);
    const int old = m_fixedCols;
    if (Value == old)
        return;
    m_fixedCols = Value;
    adjustAfterFixedChange(Axis::Cols, old);
}

void TPlatformStringGrid::SetFixedRows(int Value)
{
    if (Value < 0)
        throw EGridError(SGridIndexOutOfRange);
    if (Value >= RowCount())
        throw EGridError(SFixedRowTooBig);
    const int old = m_fixedRows;
    if (Value == old)
        return;
    m_fixedRows = Value;
    adjustAfterFixedChange(Axis::Rows, old);
}

void TPlatformStringGrid::adjustAfterCountChange(Axis axis, int oldCount)
{
    const bool cols = axis == Axis::Cols;
    const int count = cols ? ColCount() : RowCount();
    // A cursor inside the old grid stays inside; one placed outside on purpose (a hidden
    // selection) stays outside.
    auto fit = [&](int &v) {
        if (v >= oldCount)
            v = count;
        else if (v >= count)
            v = count - 1;
    };
    fit(cols ? m_current.X : m_current.Y);
    fit(cols ? m_anchor.X : m_anchor.Y);
    if (m_editor && m_editorShown && (cols ? m_editor->m_col : m_editor->m_row) >= count)
        hideEdit();
    int &first = cols ? m_topLeft.X : m_topLeft.Y;
    const int fixed = cols ? m_fixedCols : m_fixedRows;
    first = std::clamp(first, fixed, std::max(fixed, count - 1));
    UpdateScrollRange();
    placeEditor();
    Invalidate();
}

void TPlatformStringGrid::adjustAfterFixedChange(Axis axis, int oldFixed)
{
    const bool cols = axis == Axis::Cols;
    const int fixed = cols ? m_fixedCols : m_fixedRows;
    // The cursor leaves lines that became fixed.
    for (int *v : {cols ? &m_current.X : &m_current.Y, cols ? &m_anchor.X : &m_anchor.Y})
        if (*v >= 0 && *v < fixed)
            *v = fixed;
    // An unscrolled view stays unscrolled.
    int left = m_topLeft.X;
    int top = m_topLeft.Y;
    int &first = cols ? left : top;
    if (first == oldFixed || first < fixed)
        first = fixed;
    if (left != m_topLeft.X || top != m_topLeft.Y)
        moveTopLeft(left, top);
    UpdateScrollRange();
    placeEditor();
    Invalidate();
}

// ---- sizes ----------------------------------------------------------------------------------

void TPlatformStringGrid::SetDefaultColWidth(int Value)
{
    m_cols.SetDefaultSize(Value);
    sizesChanged(Axis::Cols);
}

void TPlatformStringGrid::SetDefaultRowHeight(int Value)
{
    m_rows.SetDefaultSize(Value);
    sizesChanged(Axis::Rows);
}

int TPlatformStringGrid::ColWidths(int Index) const
{
    if (Index < 0 || Index >= ColCount())
        throw EGridError(SGridIndexOutOfRange);
    return m_cols.Size(Index);
}

void TPlatformStringGrid::SetColWidths(int Index, int Value)
{
    if (Index < 0 || Index >= ColCount())
        throw EGridError(SGridIndexOutOfRange);
    if (m_cols.Size(Index) == std::max(0, Value))
        return;
    m_cols.SetSize(Index, Value);
    sizesChanged(Axis::Cols);
}

int TPlatformStringGrid::RowHeights(int Index) const
{
    if (Index < 0 || Index >= RowCount())
        throw EGridError(SGridIndexOutOfRange);
    return m_rows.Size(Index);
}

void TPlatformStringGrid::SetRowHeights(int Index, int Value)
{
    if (Index < 0 || Index >= RowCount())
        throw EGridError(SGridIndexOutOfRange);
    if (m_rows.Size(Index) == std::max(0, Value))
        return;
    m_rows.SetSize(Index, Value);
    sizesChanged(Axis::Rows);
}

void TPlatformStringGrid::SetGridLineWidth(int Value)
{
    Value = std::max(0, Value);
    if (Value == m_cols.LineWidth())
        return;
    m_cols.SetLineWidth(Value);
    m_rows.SetLineWidth(Value);
    UpdateScrollRange();
    placeEditor();
    Invalidate();
}

int TPlatformStringGrid::GridWidth() const
{
    return toInt(m_cols.Total());
}

int TPlatformStringGrid::GridHeight() const
{
    return toInt(m_rows.Total());
}

void TPlatformStringGrid::sizesChanged(Axis axis)
{
    UpdateScrollRange();
    placeEditor();
    Invalidate();
    if (axis == Axis::Cols)
        ColWidthsChanged();
    else
        RowHeightsChanged();
}

// ---- view geometry --------------------------------------------------------------------------

int TPlatformStringGrid::FixedWidth() const
{
    return toInt(m_cols.Offset(m_fixedCols));
}

int TPlatformStringGrid::FixedHeight() const
{
    return toInt(m_rows.Offset(m_fixedRows));
}

int TPlatformStringGrid::scrollAreaWidth() const
{
    return viewport()->width() - FixedWidth();
}

int TPlatformStringGrid::scrollAreaHeight() const
{
    return viewport()->height() - FixedHeight();
}

qint64 TPlatformStringGrid::linePos64(Axis axis, int index) const
{
    const TLineSizes &lines = axis == Axis::Cols ? m_cols : m_rows;
    const int fixed = axis == Axis::Cols ? m_fixedCols : m_fixedRows;
    if (index < fixed)
        return lines.Offset(index);
    const int first = axis == Axis::Cols ? m_topLeft.X : m_topLeft.Y;
    return lines.Offset(fixed) + lines.Offset(index) - lines.Offset(first);
}

int TPlatformStringGrid::linePos(Axis axis, int index) const
{
    return toInt(linePos64(axis, index));
}

int TPlatformStringGrid::lastVisible(Axis axis) const
{
    const TLineSizes &lines = axis == Axis::Cols ? m_cols : m_rows;
    const int first = axis == Axis::Cols ? m_topLeft.X : m_topLeft.Y;
    const int room = axis == Axis::Cols ? scrollAreaWidth() : scrollAreaHeight();
    if (room <= 0 || first >= lines.Count())
        return first - 1;
    const int i = lines.IndexAt(lines.Offset(first) + room - 1);
    return i < 0 ? lines.Count() - 1 : i;
}

int TPlatformStringGrid::visibleCount(Axis axis) const
{
    const TLineSizes &lines = axis == Axis::Cols ? m_cols : m_rows;
    const int first = axis == Axis::Cols ? m_topLeft.X : m_topLeft.Y;
    if (first >= lines.Count())
        return 0;
    const int room = std::max(0, axis == Axis::Cols ? scrollAreaWidth() : scrollAreaHeight());
    const int i = lines.IndexAt(lines.Offset(first) + room);
    const int lastFull = i < 0 ? lines.Count() - 1 : i - 1;
    return std::max(1, lastFull - first + 1);
}

int TPlatformStringGrid::maxFirst(Axis axis) const
{
    const TLineSizes &lines = axis == Axis::Cols ? m_cols : m_rows;
    const int fixed = axis == Axis::Cols ? m_fixedCols : m_fixedRows;
    const int room = std::max(0, axis == Axis::Cols ? scrollAreaWidth() : scrollAreaHeight());
    const int t = lines.FirstAtOrAfter(lines.Total() - room);
    return std::clamp(t, fixed, std::max(fixed, lines.Count() - 1));
}

int TPlatformStringGrid::VisibleColCount() const
{
    return visibleCount(Axis::Cols);
}

int TPlatformStringGrid::VisibleRowCount() const
{
    return visibleCount(Axis::Rows);
}

int TPlatformStringGrid::MaxLeftCol() const
{
    return maxFirst(Axis::Cols);
}

int TPlatformStringGrid::MaxTopRow() const
{
    return maxFirst(Axis::Rows);
}

TRect TPlatformStringGrid::CellRect(int ACol, int ARow) const
{
    auto visible = [this](Axis axis, int i) {
        const int count = axis == Axis::Cols ? ColCount() : RowCount();
        const int fixed = axis == Axis::Cols ? m_fixedCols : m_fixedRows;
        const int first = axis == Axis::Cols ? m_topLeft.X : m_topLeft.Y;
        const int extent = axis == Axis::Cols ? viewport()->width() : viewport()->height();
        if (i < 0 || i >= count || (i >= fixed && i < first))
            return false;
        return linePos(axis, i) < extent;
    };
    if (!visible(Axis::Cols, ACol) || !visible(Axis::Rows, ARow))
        return TRect{};
    return UnclippedCellRect(ACol, ARow);
}

TRect TPlatformStringGrid::UnclippedCellRect(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return TRect{};
    const qint64 x = linePos64(Axis::Cols, ACol);
    const qint64 y = linePos64(Axis::Rows, ARow);
    return clampedRect(x, y, x + m_cols.Size(ACol), y + m_rows.Size(ARow));
}

TGridCoord TPlatformStringGrid::MouseCoord(int X, int Y) const
{
    const TGridCoord c{lineAtPos(Axis::Cols, X), lineAtPos(Axis::Rows, Y)};
    if (c.X < 0 || c.Y < 0)
        return {-1, -1};
    return c;
}

void TPlatformStringGrid::MouseToCell(int X, int Y, int &ACol, int &ARow) const
{
    const TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

// ---- scrolling ------------------------------------------------------------------------------

void TPlatformStringGrid::SetLeftCol(int Value)
{
    moveTopLeft(Value, m_topLeft.Y);
}

void TPlatformStringGrid::SetTopRow(int Value)
{
    moveTopLeft(m_topLeft.X, Value);
}

void TPlatformStringGrid::moveTopLeft(int left, int top)
{
    left = std::clamp(left, m_fixedCols, std::max(m_fixedCols, ColCount() - 1));
    top = std::clamp(top, m_fixedRows, std::max(m_fixedRows, RowCount() - 1));
    if (left == m_topLeft.X && top == m_topLeft.Y)
        return;
    m_topLeft = {left, top};
    UpdateScrollRange();
    placeEditor();
    Invalidate();
    TopLeftChanged();
}

void TPlatformStringGrid::ClampInView(int ACol, int ARow)
{
    auto clampAxis = [this](Axis axis, int i) {
        const TLineSizes &lines = axis == Axis::Cols ? m_cols : m_rows;
        const int fixed = axis == Axis::Cols ? m_fixedCols : m_fixedRows;
        const int first = axis == Axis::Cols ? m_topLeft.X : m_topLeft.Y;
        if (i < fixed || i >= lines.Count())
            return first;
        if (i < first)
            return i;
        const int room = std::max(0, axis == Axis::Cols ? scrollAreaWidth() : scrollAreaHeight());
        if (lines.Offset(i + 1) - lines.Offset(first) <= room)
            return first;
        // The first line from which the cell ends inside the view, but never past the cell.
        return std::min(i, std::max(first, lines.FirstAtOrAfter(lines.Offset(i + 1) - room)));
    };
    moveTopLeft(clampAxis(Axis::Cols, ACol), clampAxis(Axis::Rows, ARow));
}

void TPlatformStringGrid::UpdateScrollRange()
{
    if (m_syncingBars || m_destroying)
        return;
    m_syncingBars = true;
    auto setup = [](QScrollBar *bar, int first, int fixed, int maxFirstLine, int page) {
        bar->setRange(0, std::max(0, std::max(maxFirstLine, first) - fixed));
        bar->setPageStep(std::max(1, page));
        bar->setSingleStep(1);
        bar->setValue(first - fixed);
    };
    const bool vert =
        m_scrollBars == TScrollStyle::ssVertical || m_scrollBars == TScrollStyle::ssBoth;
    const bool horz =
        m_scrollBars == TScrollStyle::ssHorizontal || m_scrollBars == TScrollStyle::ssBoth;
    setVerticalScrollBarPolicy(vert ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(horz ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setup(verticalScrollBar(), m_topLeft.Y, m_fixedRows, MaxTopRow(), VisibleRowCount());
    setup(horizontalScrollBar(), m_topLeft.X, m_fixedCols, MaxLeftCol(), VisibleColCount());
    const bool track = m_options.Contains(TGridOption::goThumbTracking);
    verticalScrollBar()->setTracking(track);
    horizontalScrollBar()->setTracking(track);
    m_syncingBars = false;
}

void TPlatformStringGrid::SetScrollBars(TScrollStyle Value)
{
    if (Value == m_scrollBars)
        return;
    m_scrollBars = Value;
    UpdateScrollRange();
}

// ---- cursor and selection ---------------------------------------------------------------------

TGridRect TPlatformStringGrid::Selection() const
{
    TGridRect r = GridRectFromCoords(m_anchor, m_current);
    if (m_options.Contains(TGridOption::goRowSelect)) {
        r.Left = m_fixedCols;
        r.Right = ColCount() - 1;
    }
    return r;
}

void TPlatformStringGrid::SetSelection(const TGridRect &Value)
{
    const TGridRect old = Selection();
    m_anchor = {Value.Left, Value.Top};
    m_current = {Value.Right, Value.Bottom};
    selectionMoved(old);
}

void TPlatformStringGrid::selectionMoved(const TGridRect &oldSel)
{
    if (!(oldSel == Selection()))
        Invalidate();
}

void TPlatformStringGrid::SetCol(int Value)
{
    if (Value != m_current.X)
        FocusCell(Value, m_current.Y, true);
}

void TPlatformStringGrid::SetRow(int Value)
{
    if (Value != m_current.Y)
        FocusCell(m_current.X, Value, true);
}

bool TPlatformStringGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        throw EGridError(SGridIndexOutOfRange);
    if (!SelectCell(ACol, ARow))
        return false;
    const TGridRect oldSel = Selection();
    const TGridCoord oldCur = m_current;
    m_current = {ACol, ARow};
    // The editor stays with its cell unless it is to show everywhere.
    if (!m_options.Contains(TGridOption::goAlwaysShowEditor))
        HideEditor();
    if (MoveAnchor || !m_options.Contains(TGridOption::goRangeSelect))
        m_anchor = m_current;
    if (Show)
        ClampInView(ACol, ARow);
    selectionMoved(oldSel);
    InvalidateCell(oldCur.X, oldCur.Y);
    InvalidateCell(ACol, ARow);
    return true;
}

bool TPlatformStringGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    const bool moved = MoveCurrent(ACol, ARow, MoveAnchor, Show);
    if (moved)
        updateEdit();
    return moved;
}

void TPlatformStringGrid::FocusCell(int ACol, int ARow, bool MoveAnchor)
{
    if (MoveCurrent(ACol, ARow, MoveAnchor, true)) {
        updateEdit();
        Click();
    }
}

TGridCoord TPlatformStringGrid::clampedCurrent() const
{
    return {std::clamp(m_current.X, m_fixedCols, ColCount() - 1),
            std::clamp(m_current.Y, m_fixedRows, RowCount() - 1)};
}

void TPlatformStringGrid::SetOptions(const TGridOptions &Value)
{
    TGridOptions v = Value;
    // The whole-row cursor has no cell to edit.
    if (v.Contains(TGridOption::goRowSelect))
        v.Exclude(TGridOption::goAlwaysShowEditor);
    if (v == m_options)
        return;
    const TGridOptions old = m_options;
    m_options = v;
    UpdateScrollRange();
    if (v.Contains(TGridOption::goAlwaysShowEditor) && v.Contains(TGridOption::goEditing))
        ShowEditor();
    else if (!v.Contains(TGridOption::goEditing) ||
             (v.Contains(TGridOption::goRowSelect) && !old.Contains(TGridOption::goRowSelect)))
        HideEditor();
    else
        updateEdit();
    Invalidate();
}

// ---- moving and deleting lines ---------------------------------------------------------------

void TPlatformStringGrid::MoveColumn(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= ColCount() || ToIndex >= ColCount())
        throw EGridError(SGridIndexOutOfRange);
    if (FromIndex == ToIndex)
        return;
    // The editor's text belongs to the cell it shows, which moves too.
    if (m_editor && m_editorShown) {
        commitEditor();
        m_editor->m_col = moveAdjust(m_editor->m_col, FromIndex, ToIndex);
    }
    m_cols.Move(FromIndex, ToIndex);
    m_current.X = moveAdjust(m_current.X, FromIndex, ToIndex);
    m_anchor.X = moveAdjust(m_anchor.X, FromIndex, ToIndex);
    placeEditor();
    Invalidate();
    ColumnMoved(FromIndex, ToIndex);
}

void TPlatformStringGrid::MoveRow(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= RowCount() || ToIndex >= RowCount())
        throw EGridError(SGridIndexOutOfRange);
    if (FromIndex == ToIndex)
        return;
    if (m_editor && m_editorShown) {
        commitEditor();
        m_editor->m_row = moveAdjust(m_editor->m_row, FromIndex, ToIndex);
    }
    m_rows.Move(FromIndex, ToIndex);
    m_current.Y = moveAdjust(m_current.Y, FromIndex, ToIndex);
    m_anchor.Y = moveAdjust(m_anchor.Y, FromIndex, ToIndex);
    placeEditor();
    Invalidate();
    RowMoved(FromIndex, ToIndex);
}

void TPlatformStringGrid::DeleteColumn(int ACol)
{
    if (ACol < 0 || ACol >= ColCount())
        throw EGridError(SGridIndexOutOfRange);
    HideEditor();
    const int last = ColCount() - 1;
    m_store.MoveCol(ACol, last);
    m_cols.Move(ACol, last);
    // The removed column's slot would otherwise bring its texts back when columns are added.
    m_store.ClearCol(last);
    m_current.X = moveAdjust(m_current.X, ACol, last);
    m_anchor.X = moveAdjust(m_anchor.X, ACol, last);
    if (last == 0)
        Invalidate(); // the only column stays, emptied
    else
        SetColCount(last);
}

void TPlatformStringGrid::DeleteRow(int ARow)
{
    if (ARow < 0 || ARow >= RowCount())
        throw EGridError(SGridIndexOutOfRange);
    HideEditor();
    const int last = RowCount() - 1;
    m_store.MoveRow(ARow, last);
    m_rows.Move(ARow, last);
    m_store.ClearRow(last);
    m_current.Y = moveAdjust(m_current.Y, ARow, last);
    m_anchor.Y = moveAdjust(m_anchor.Y, ARow, last);
    if (last == 0)
        Invalidate();
    else
        SetRowCount(last);
}

// ---- hooks with a default behaviour ----------------------------------------------------------

bool TPlatformStringGrid::SelectCell(int ACol, int ARow)
{
    bool can = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, can);
    return can;
}

void TPlatformStringGrid::Click()
{
    if (OnClick)
        OnClick(this);
}

void TPlatformStringGrid::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TPlatformStringGrid::FixedCellClick(int ACol, int ARow)
{
    if (OnFixedCellClick)
        OnFixedCellClick(this, ACol, ARow);
}

void TPlatformStringGrid::TopLeftChanged()
{
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

void TPlatformStringGrid::SizeChanged(int, int) {}

void TPlatformStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    checkStoreIndex(FromIndex, 0);
    checkStoreIndex(ToIndex, 0);
    m_store.MoveCol(FromIndex, ToIndex);
    if (OnColumnMoved)
        OnColumnMoved(this, FromIndex, ToIndex);
}

void TPlatformStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    checkStoreIndex(0, FromIndex);
    checkStoreIndex(0, ToIndex);
    m_store.MoveRow(FromIndex, ToIndex);
    if (OnRowMoved)
        OnRowMoved(this, FromIndex, ToIndex);
}

void TPlatformStringGrid::MoveColSize(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= ColCount() || ToIndex >= ColCount())
        throw EGridError(SGridIndexOutOfRange);
    m_cols.Move(FromIndex, ToIndex);
    sizesChanged(Axis::Cols);
}

void TPlatformStringGrid::MoveRowSize(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= RowCount() || ToIndex >= RowCount())
        throw EGridError(SGridIndexOutOfRange);
    m_rows.Move(FromIndex, ToIndex);
    sizesChanged(Axis::Rows);
}

void TPlatformStringGrid::MoveRowBlock(int FromIndex, int Count, int ToIndex)
{
    if (Count <= 0 || FromIndex == ToIndex)
        return;
    if (FromIndex < 0 || ToIndex < 0 || FromIndex > RowCount() - Count ||
        ToIndex > RowCount() - Count)
        throw EGridError(SGridIndexOutOfRange);
    m_store.MoveRows(FromIndex, Count, ToIndex);
    m_rows.Move(FromIndex, Count, ToIndex);
    sizesChanged(Axis::Rows);
}

void TPlatformStringGrid::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TPlatformStringGrid::DoExit()
{
    if (OnExit)
        OnExit(this);
}

// ---- editor ---------------------------------------------------------------------------------

namespace {

// The focus may sit in a part of an editor's widget (a combo box's line edit).
bool holdsFocus(TGridEditor *editor, const QWidget *fw)
{
    if (!editor || !fw)
        return false;
    const QWidget *w = editor->Widget();
    return w && (fw == w || w->isAncestorOf(fw));
}

} // namespace

bool TPlatformStringGrid::IsActiveControl() const
{
    const QWidget *fw = window()->focusWidget();
    return fw && (fw == this || fw == viewport() || holdsFocus(m_editor, fw));
}

bool TPlatformStringGrid::editorHoldsFocus() const
{
    return holdsFocus(m_editor, window()->focusWidget());
}

TInplaceEdit *TPlatformStringGrid::InplaceEditor() const
{
    return dynamic_cast<TInplaceEdit *>(m_editor);
}

bool TPlatformStringGrid::CanEditShow()
{
    return m_options.Contains(TGridOption::goEditing) &&
           !m_options.Contains(TGridOption::goRowSelect) && m_editorMode && isVisible() &&
           (m_options.Contains(TGridOption::goAlwaysShowEditor) || IsActiveControl());
}

QString TPlatformStringGrid::GetEditText(int ACol, int ARow)
{
    QString value = Cells(ACol, ARow);
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, value);
    return value;
}

void TPlatformStringGrid::SetEditText(int ACol, int ARow, const QString &Value)
{
    if (Cells(ACol, ARow) != Value)
        SetCells(ACol, ARow, Value);
    if (OnSetEditText)
        OnSetEditText(this, ACol, ARow, Value);
}

QString TPlatformStringGrid::GetEditMask(int ACol, int ARow)
{
    QString value;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, value);
    return value;
}

TInplaceEdit *TPlatformStringGrid::CreateEditor()
{
    return new TInplaceEdit(this);
}

TGridEditor *TPlatformStringGrid::GetCellEditor(int, int)
{
    if (!m_defaultEditor)
        m_defaultEditor = CreateEditor();
    return m_defaultEditor;
}

TRect TPlatformStringGrid::EditorRect(int ACol, int ARow)
{
    return CellRect(ACol, ARow);
}

void TPlatformStringGrid::SetEditorMode(bool Value)
{
    if (Value)
        ShowEditor();
    else
        HideEditor();
}

void TPlatformStringGrid::ShowEditor()
{
    m_editorMode = true;
    updateEdit();
}

void TPlatformStringGrid::HideEditor()
{
    m_editorMode = false;
    hideEdit();
}

void TPlatformStringGrid::InvalidateEditor()
{
    if (!m_editor || !m_editorShown)
        return;
    // Forget the shown cell so that the editor loads it again, without storing its text.
    m_editorShown = false;
    m_editor->m_col = -1;
    m_editor->m_row = -1;
    updateEdit();
}

void TPlatformStringGrid::updateEdit()
{
    if (m_destroying)
        return;
    const bool inside = m_current.X >= 0 && m_current.Y >= 0 && m_current.X < ColCount() &&
                        m_current.Y < RowCount();
    if (!inside || !CanEditShow()) {
        hideEdit();
        return;
    }
    TGridEditor *editor = GetCellEditor(m_current.X, m_current.Y);
    if (editor != m_editor)
        switchEditor(editor);
    if (!m_editor || !m_editor->Widget())
        return;
    const bool sameCell = m_editor->m_col == m_current.X && m_editor->m_row == m_current.Y;
    if (!m_editorShown || !sameCell) {
        if (m_editorShown)
            commitEditor(); // leaving the old cell
        m_editor->m_col = m_current.X;
        m_editor->m_row = m_current.Y;
        m_editor->UpdateContents();
        m_editorShown = true;
    }
    placeEditor();
    if (m_editor && m_editor->Widget()->isVisible() && window()->focusWidget() == this)
        m_editor->Widget()->setFocus(Qt::OtherFocusReason);
}

void TPlatformStringGrid::switchEditor(TGridEditor *editor)
{
    // The old kind stores its text and goes; the new one starts hidden on the viewport.
    hideEdit();
    if (m_editor && m_editor->Widget())
        m_editor->Widget()->hide();
    m_editor = editor;
    m_editorShown = false;
    if (!m_editor || !m_editor->Widget())
        return;
    QWidget *w = m_editor->Widget();
    if (w->parentWidget() != viewport())
        w->setParent(viewport());
    w->hide();
}

void TPlatformStringGrid::placeEditor()
{
    if (!m_editor || !m_editorShown || !m_editor->Widget())
        return;
    QWidget *w = m_editor->Widget();
    const TRect r = EditorRect(m_editor->m_col, m_editor->m_row);
    if (r.IsEmpty()) {
        // Scrolled out of view: the editor keeps its cell and shows again when it returns.
        takeFocusFromEditor();
        w->hide();
        return;
    }
    w->setGeometry(r.toQRect());
    m_editor->BoundsChanged();
    w->show();
}

void TPlatformStringGrid::commitEditor()
{
    if (!m_editor || !m_editorShown)
        return;
    SetEditText(m_editor->m_col, m_editor->m_row, m_editor->Text());
}

void TPlatformStringGrid::hideEdit()
{
    if (!m_editor)
        return;
    if (m_editorShown) {
        // Hidden first, so that a hook reacting to the stored text finds the editor closed. The
        // cell and its text are taken before the focus moves: handlers of the focus change may
        // load the editor with another cell.
        m_editorShown = false;
        TGridEditor *editor = m_editor;
        const int c = editor->m_col;
        const int r = editor->m_row;
        const QString text = editor->Text();
        takeFocusFromEditor();
        if (m_editor == editor && !m_editorShown && editor->Widget())
            editor->Widget()->hide();
        InvalidateCell(c, r);
        SetEditText(c, r, text);
        return;
    }
    if (m_editor->Widget() && m_editor->Widget()->isVisible()) {
        takeFocusFromEditor();
        if (m_editor && !m_editorShown && m_editor->Widget())
            m_editor->Widget()->hide();
    }
}

void TPlatformStringGrid::takeFocusFromEditor()
{
    if (!editorHoldsFocus())
        return;
    // The grid's own focus-in must not open the editor again while it is being closed.
    const bool old = m_focusFromEditor;
    m_focusFromEditor = true;
    setFocus(Qt::OtherFocusReason);
    m_focusFromEditor = old;
}

void TPlatformStringGrid::ShowEditorChar(QChar Ch)
{
    ShowEditor();
    if (!m_editor || !m_editorShown)
        return;
    // The character replaces the selected text as if it had been typed into the editor.
    const int key = Ch == QLatin1Char('\b') ? int(Qt::Key_Backspace) : 0;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(Ch));
    TGridEditor *editor = m_editor;
    editor->m_startChar = true;
    QApplication::sendEvent(editor->Widget(), &press);
    // A hook may have deleted the editor meanwhile.
    if (m_editor == editor)
        editor->m_startChar = false;
}

// ---- looks ----------------------------------------------------------------------------------

void TPlatformStringGrid::SetDefaultDrawing(bool Value)
{
    if (Value == m_defaultDrawing)
        return;
    m_defaultDrawing = Value;
    Invalidate();
}

void TPlatformStringGrid::SetColor(TColor Value)
{
    if (Value == m_color)
        return;
    m_color = Value;
    Invalidate();
}

void TPlatformStringGrid::SetFixedColor(TColor Value)
{
    if (Value == m_fixedColor)
        return;
    m_fixedColor = Value;
    Invalidate();
}

void TPlatformStringGrid::SetPlatformGridLines(bool Value)
{
    if (Value == m_platformGridLines)
        return;
    m_platformGridLines = Value;
    Invalidate();
}

void TPlatformStringGrid::SetDragScrollInitialDelay(int Value)
{
    m_dragInitialDelay = std::max(1, Value);
}

void TPlatformStringGrid::SetDragScrollRepeatDelay(int Value)
{
    m_dragRepeatDelay = std::max(1, Value);
}

TCanvas *TPlatformStringGrid::Canvas()
{
    return m_paintCanvas ? m_paintCanvas : m_measureCanvas.get();
}

void TPlatformStringGrid::Invalidate()
{
    InvalidateRect(Rect(0, 0, viewport()->width(), viewport()->height()));
}

void TPlatformStringGrid::InvalidateRect(const TRect &R)
{
    const TRect r =
        Rect(std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, viewport()->width()),
             std::min(R.Bottom, viewport()->height()));
    if (!r.IsEmpty())
        viewport()->update(r.toQRect());
}

inline const TPlatformStringGrid::ViewLimits &TPlatformStringGrid::viewLimits() const
{
    const ViewLimits &v = m_viewLimits;
    const QWidget *vp = viewport();
    if (v.colGen == m_cols.Generation() && v.rowGen == m_rows.Generation() &&
        v.topLeft == m_topLeft && v.fixedCols == m_fixedCols && v.fixedRows == m_fixedRows &&
        v.width == vp->width() && v.height == vp->height()) [[likely]]
        return v;
    updateViewLimits();
    return v;
}

void TPlatformStringGrid::updateViewLimits() const
{
    ViewLimits &v = m_viewLimits;
    const QWidget *vp = viewport();
    v.colGen = m_cols.Generation();
    v.rowGen = m_rows.Generation();
    v.topLeft = m_topLeft;
    v.fixedCols = m_fixedCols;
    v.fixedRows = m_fixedRows;
    v.width = vp->width();
    v.height = vp->height();
    // Scrollable lines start at linePos = Offset(fixed) + Offset(i) - Offset(first), which
    // never decreases with i; the limit is the first one starting at or past the edge.
    auto limit = [](const TLineSizes &lines, int fixed, int first, int extent) {
        const int from = std::max(fixed, first);
        const qint64 edge = lines.Offset(first) + extent - lines.Offset(fixed);
        return std::max(from, lines.FirstAtOrAfter(edge));
    };
    v.colLimit = limit(m_cols, m_fixedCols, m_topLeft.X, v.width);
    v.rowLimit = limit(m_rows, m_fixedRows, m_topLeft.Y, v.height);
}

void TPlatformStringGrid::InvalidateCell(int ACol, int ARow)
{
    if (!isVisible())
        return;
    // Filling a big table writes mostly cells far below the view: reject those cheaply.
    const ViewLimits &v = viewLimits();
    if ((ACol >= v.colLimit || ARow >= v.rowLimit) && MayDropOffscreenRepaint(ACol, ARow))
        return;
    const TRect r = CellRect(ACol, ARow);
    if (r.IsEmpty())
        return;
    // The grid line after the cell belongs to it.
    const int lw = m_cols.LineWidth();
    InvalidateRect(clampedRect(r.Left, r.Top, qint64(r.Right) + lw, qint64(r.Bottom) + lw));
}

bool TPlatformStringGrid::MayDropOffscreenRepaint(int, int) const
{
    return DropOffscreenRepaints();
}

bool TPlatformStringGrid::DropOffscreenRepaints() const
{
    if (m_dropOffscreen != DropOffscreen::Auto)
        return m_dropOffscreen == DropOffscreen::On;
    // Auto: only when CellRect is certainly the platform's own, which the type decides. Kept
    // from the first call on a shown grid, when the type is complete (a partly built
    // descendant settles on Off, the safe side).
    const bool own = typeid(*this) == typeid(TPlatformStringGrid);
    if (isVisible())
        m_dropOffscreen = own ? DropOffscreen::On : DropOffscreen::Off;
    return own;
}

void TPlatformStringGrid::SetDropOffscreenRepaints(bool Value)
{
    m_dropOffscreen = Value ? DropOffscreen::On : DropOffscreen::Off;
}

void TPlatformStringGrid::InvalidateRow(int ARow)
{
    if (!isVisible() || ARow < 0 || ARow >= RowCount())
        return;
    if (ARow >= m_fixedRows && ARow < m_topLeft.Y)
        return;
    const qint64 top = linePos64(Axis::Rows, ARow);
    InvalidateRect(clampedRect(0, top, viewport()->width(), top + m_rows.Extent(ARow)));
}

void TPlatformStringGrid::InvalidateCol(int ACol)
{
    if (!isVisible() || ACol < 0 || ACol >= ColCount())
        return;
    if (ACol >= m_fixedCols && ACol < m_topLeft.X)
        return;
    const qint64 left = linePos64(Axis::Cols, ACol);
    InvalidateRect(clampedRect(left, 0, left + m_cols.Extent(ACol), viewport()->height()));
}

void TPlatformStringGrid::InvalidateGridRect(const TGridRect &R)
{
    if (!isVisible())
        return;
    // The rows of the rectangle in view (fixed part and scrolled part), across the whole width.
    qint64 top = LLONG_MAX;
    qint64 bottom = LLONG_MIN;
    auto take = [&](int first, int last) {
        first = std::max(first, 0);
        last = std::min(last, RowCount() - 1);
        if (first > last)
            return;
        top = std::min(top, linePos64(Axis::Rows, first));
        bottom = std::max(bottom, linePos64(Axis::Rows, last) + m_rows.Extent(last));
    };
    take(R.Top, std::min(R.Bottom, m_fixedRows - 1));
    take(std::max(R.Top, m_topLeft.Y), std::min(R.Bottom, lastVisible(Axis::Rows)));
    if (top < bottom)
        InvalidateRect(clampedRect(0, top, viewport()->width(), bottom));
}

} // namespace plat
