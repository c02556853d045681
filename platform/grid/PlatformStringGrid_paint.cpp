// Painting of the platform grid: every cell of the view through DrawCell, the grid lines and
// the marks of a running sizing or moving drag.
#include "platform/grid/PlatformStringGrid.h"

#include "platform/grid/InplaceEdit.h"

#include <QPainter>

#include <vector>

namespace plat {

namespace {

using enum TGridOption;
using enum TGridDrawStateItem;

bool overlaps(const TRect &a, const TRect &b)
{
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
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
    const int lw = GridLineWidth();

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
    const bool editorVisible = m_editor && m_editorShown && m_editor->isVisible();
    const bool rowSelect = m_options.Contains(goRowSelect);
    const TColor textColor = m_font.Color();

    for (int r : rows) {
        const int y = linePos(Axis::Rows, r);
        const int h = m_rows.Size(r);
        for (int c : cols) {
            const int x = linePos(Axis::Cols, c);
            const int w = m_cols.Size(c);
            const TRect cell = Rect(x, y, x + w, y + h);
            if (!overlaps(Rect(x, y, x + w + lw, y + h + lw), m_paintRect))
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
            if (lw > 0) {
                const bool vert = m_options.Contains(fixed ? goFixedVertLine : goVertLine);
                const bool horz = m_options.Contains(fixed ? goFixedHorzLine : goHorzLine);
                cv.Brush().SetColor(fixed ? clGray : clSilver);
                if (vert)
                    cv.FillRect(Rect(x + w, y, x + w + lw, y + h + lw));
                if (horz)
                    cv.FillRect(Rect(x, y + h, x + w + lw, y + h + lw));
            }
        }
    }
    drawSizingAndMoving();
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
        cv.FillRect(Rect(m_sizingPos, 0, m_sizingPos + thick, vh));
        break;
    case TGridState::gsRowSizing:
        cv.FillRect(Rect(0, m_sizingPos, vw, m_sizingPos + thick));
        break;
    case TGridState::gsColMoving:
    case TGridState::gsRowMoving: {
        if (m_movePos < 0 || m_movePos == m_moveIndex)
            break;
        // The mark stands on the edge where the moved line will land.
        const bool cols = m_gridState == TGridState::gsColMoving;
        const Axis axis = cols ? Axis::Cols : Axis::Rows;
        const TLineSizes &lines = cols ? m_cols : m_rows;
        int pos = linePos(axis, m_movePos);
        if (m_movePos > m_moveIndex)
            pos += lines.Size(m_movePos);
        if (cols)
            cv.FillRect(Rect(pos - 1, 0, pos + 1, vh));
        else
            cv.FillRect(Rect(0, pos - 1, vw, pos + 1));
        break;
    }
    default:
        break;
    }
}

} // namespace plat
