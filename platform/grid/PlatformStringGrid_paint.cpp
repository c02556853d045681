// Painting of the platform grid: every cell of the view through DrawCell, the grid lines and
// the marks of a running sizing or moving drag.
#include "platform/grid/PlatformStringGrid.h"

#include "platform/grid/GridEditor.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <vector>

namespace plat {

namespace {

using enum TGridOption;
using enum TGridDrawStateItem;

bool overlaps(const TRect &a, const TRect &b)
{
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

int toInt(qint64 v)
{
    return static_cast<int>(std::clamp<qint64>(v, INT_MIN, INT_MAX));
}

// A client rectangle from 64-bit edges (sizes may reach INT_MAX).
TRect clampedRect(qint64 left, qint64 top, qint64 right, qint64 bottom)
{
    return Rect(toInt(left), toInt(top), toInt(right), toInt(bottom));
}

// Restores the grid's canvas pointer however painting ends.
class PaintCanvasScope
{
public:
    PaintCanvasScope(TCanvas *&slot, TCanvas *canvas) : m_slot(slot), m_old(slot)
    {
        m_slot = canvas;
    }
    ~PaintCanvasScope() { m_slot = m_old; }
    PaintCanvasScope(const PaintCanvasScope &) = delete;
    PaintCanvasScope &operator=(const PaintCanvasScope &) = delete;

private:
    TCanvas *&m_slot;
    TCanvas *m_old;
};

} // namespace

void TPlatformStringGrid::paintViewport(const QRect &region)
{
    QPainter painter(viewport());
    TCanvas canvas(&painter);
    canvas.SetFont(m_font);
    PaintCanvasScope scope(m_paintCanvas, &canvas);
    m_paintRect = TRect::fromQRect(region);
    Paint();
}

void TPlatformStringGrid::PaintTo(TCanvas &canvas)
{
    canvas.SetFont(m_font);
    PaintCanvasScope scope(m_paintCanvas, &canvas);
    m_paintRect = Rect(0, 0, viewport()->width(), viewport()->height());
    Paint();
}

void TPlatformStringGrid::Paint()
{
    TCanvas &cv = *Canvas();
    const int vw = viewport()->width();
    const int vh = viewport()->height();
    const int lw = m_cols.LineWidth();

    cv.Brush().SetColor(m_color);
    cv.FillRect(m_paintRect);

    // The lines in view: the fixed ones, then the scrolled ones from the first shown.
    auto linesInView = [this](Axis axis, int extent) {
        std::vector<int> lines;
        const int count = axis == Axis::Cols ? ColCount() : RowCount();
        const int fixed = axis == Axis::Cols ? m_fixedCols : m_fixedRows;
        const int first = axis == Axis::Cols ? m_topLeft.X : m_topLeft.Y;
        for (int i = 0; i < fixed && linePos(axis, i) < extent; ++i)
            lines.push_back(i);
        for (int i = first; i < count && linePos(axis, i) < extent; ++i)
            lines.push_back(i);
        return lines;
    };
    const std::vector<int> cols = linesInView(Axis::Cols, vw);
    const std::vector<int> rows = linesInView(Axis::Rows, vh);

    const TGridRect sel = Selection();
    const QWidget *fw = window()->focusWidget();
    const bool gridFocused = fw == this || fw == viewport();
    const bool editorVisible =
        m_editor && m_editorShown && m_editor->Widget() && m_editor->Widget()->isVisible();
    const bool rowSelect = m_options.Contains(goRowSelect);
    const TColor textColor = m_font.Color();

    for (int r : rows) {
        const qint64 y = linePos64(Axis::Rows, r);
        const qint64 h = m_rows.Size(r);
        for (int c : cols) {
            const qint64 x = linePos64(Axis::Cols, c);
            const qint64 w = m_cols.Size(c);
            const TRect cell = clampedRect(x, y, x + w, y + h);
            if (!overlaps(clampedRect(x, y, x + w + lw, y + h + lw), m_paintRect))
                continue;
            const bool fixed = c < m_fixedCols || r < m_fixedRows;
            TGridDrawState state;
            if (fixed) {
                state.Include(gdFixed);
                state.Set(gdHotTrack, m_hotFixed == TGridCoord{c, r});
                state.Set(gdPressed, m_pressedFixed == TGridCoord{c, r});
            } else {
                state.Set(gdSelected, sel.Contains(c, r));
                state.Set(gdFocused, gridFocused && m_current == TGridCoord{c, r});
                state.Set(gdRowSelected, rowSelect && r >= sel.Top && r <= sel.Bottom);
            }
            if (m_defaultDrawing) {
                const bool highlight = state.Contains(gdSelected) &&
                                       (!state.Contains(gdFocused) ||
                                        m_options.Contains(goDrawFocusSelected) || rowSelect);
                if (fixed) {
                    cv.Brush().SetColor(m_fixedColor);
                    cv.Font().SetColor(textColor);
                } else if (highlight) {
                    cv.Brush().SetColor(clHighlight);
                    cv.Font().SetColor(clHighlightText);
                } else {
                    cv.Brush().SetColor(m_color);
                    cv.Font().SetColor(textColor);
                }
            }
            DrawCell(c, r, cell, state);
            if (m_defaultDrawing && state.Contains(gdFocused) && !rowSelect && !editorVisible)
                cv.DrawFocusRect(cell);
            if (lw > 0 && m_platformGridLines)
                DrawGridLines(c, r, cell, state);
        }
    }
    drawSizingAndMoving();
}

void TPlatformStringGrid::DrawGridLines(int, int, const TRect &ARect, TGridDrawState AState)
{
    const qint64 lw = m_cols.LineWidth();
    if (lw <= 0)
        return;
    TCanvas &cv = *Canvas();
    const bool fixed = AState.Contains(gdFixed);
    const bool vert = m_options.Contains(fixed ? goFixedVertLine : goVertLine);
    const bool horz = m_options.Contains(fixed ? goFixedHorzLine : goHorzLine);
    cv.Brush().SetColor(fixed ? clGray : clSilver);
    const qint64 right = ARect.Right;
    const qint64 bottom = ARect.Bottom;
    if (vert)
        cv.FillRect(clampedRect(right, ARect.Top, right + lw, bottom + lw));
    if (horz)
        cv.FillRect(clampedRect(ARect.Left, bottom, right + lw, bottom + lw));
}

void TPlatformStringGrid::DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    if (m_defaultDrawing)
        Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

void TPlatformStringGrid::drawSizingAndMoving()
{
    TCanvas &cv = *Canvas();
    const int vw = viewport()->width();
    const int vh = viewport()->height();
    const int thick = std::max(1, GridLineWidth());
    cv.Brush().SetColor(clBlack);
    switch (m_gridState) {
    case TGridState::gsColSizing:
        cv.FillRect(clampedRect(m_sizingPos, 0, qint64(m_sizingPos) + thick, vh));
        break;
    case TGridState::gsRowSizing:
        cv.FillRect(clampedRect(0, m_sizingPos, vw, qint64(m_sizingPos) + thick));
        break;
    case TGridState::gsColMoving:
    case TGridState::gsRowMoving: {
        if (m_movePos < 0 || m_movePos == m_moveIndex)
            break;
        // The mark stands on the edge where the moved line will land.
        const bool cols = m_gridState == TGridState::gsColMoving;
        const Axis axis = cols ? Axis::Cols : Axis::Rows;
        const TLineSizes &lines = cols ? m_cols : m_rows;
        qint64 pos = linePos64(axis, m_movePos);
        if (m_movePos > m_moveIndex)
            pos += lines.Size(m_movePos);
        if (cols)
            cv.FillRect(clampedRect(pos - 1, 0, pos + 1, vh));
        else
            cv.FillRect(clampedRect(0, pos - 1, vw, pos + 1));
        break;
    }
    default:
        break;
    }
}

} // namespace plat
