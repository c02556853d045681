// Mini-HTML cells: what the layout engine needs from the grid to paint a cell's markup, where
// the text was painted, and the hit tests of the mouse and hint code over it.
#include "grid/display/QrlHTMLEngine.h"
#include "grid/display/QrlStringGrid_display_p.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlStringGrid.h"

namespace {

quint64 cellKey(int ACol, int ARow)
{
    return (quint64(quint32(ACol)) << 32) | quint32(ARow);
}

// Cells on screen are few; a grid scrolled through a million rows must not keep them all.
constexpr std::size_t MaxRememberedRects = 4096;

} // namespace

bool TQrlStringGrid::URLUnderlineOnHover() const
{
    return dsp->urlUnderlineOnHover;
}

void TQrlStringGrid::SetURLUnderlineOnHover(bool Value)
{
    if (dsp->urlUnderlineOnHover == Value)
        return;
    dsp->urlUnderlineOnHover = Value;
    Invalidate();
}

void TQrlStringGrid::fillCellHTMLParams(THTMLPaintParams &P, int RC, int ARow, int ACol)
{
    P.Images = CellImageList(RC, ARow);
    P.PictureCache = PictureCache();
    P.PictureContainer = PictureContainer();
    P.BlinkVisible = !EnableBlink() || GridBlink();
    P.HoverStyling = dsp->urlUnderlineOnHover;
    P.HoverAnchorIndex = dsp->hoverAnchorCell.X == ACol && dsp->hoverAnchorCell.Y == ARow
                             ? dsp->hoverAnchorIndex
                             : -1;
    P.ShadowOffset = 1;
    P.ShadowColor = 0x808080;
}

void TQrlStringGrid::rememberHTMLTextRect(int ACol, int ARow, const TRect &R)
{
    if (dsp->htmlTextRects.size() >= MaxRememberedRects)
        dsp->htmlTextRects.clear();
    dsp->htmlTextRects[cellKey(ACol, ARow)] = R;
}

TRect TQrlStringGrid::cellHTMLTextRect(int ACol, int ARow)
{
    const TRect cell = CellRect(ACol, ARow);
    const auto it = dsp->htmlTextRects.find(cellKey(ACol, ARow));
    // The painted rectangle counts while the cell still stands where it was painted.
    if (it != dsp->htmlTextRects.end() && it->second.Left >= cell.Left - 1 &&
        it->second.Left <= cell.Right && it->second.Top >= cell.Top - 65536 &&
        it->second.Top <= cell.Bottom)
        return it->second;
    // Not painted yet: the cell less its text offsets, as the painter places plain markup.
    const TPoint off = XYOffset();
    return {cell.Left + off.X - 1, cell.Top + off.Y, cell.Right - off.X, cell.Bottom};
}

bool TQrlStringGrid::CellHTMLHitTest(int ACol, int ARow, int X, int Y, THTMLPaintResult &Result)
{
    Result = THTMLPaintResult{};
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return false;
    const int RC = RealColIndex(ACol);
    const QString text = GetCellEx(RC, ARow);
    if (CellTextKind(text, EnableHTML()) != ctkHTML)
        return false;
    THTMLPaintParams p;
    fillCellHTMLParams(p, RC, ARow, ACol);
    p.WordWrap = !EnhTextSize();
    p.UrlColor = URLColor();
    TCanvas canvas;
    canvas.SetFont(Font());
    return HitTestHTMLText(canvas, text, cellHTMLTextRect(ACol, ARow), X, Y, p, Result);
}

bool TQrlStringGrid::CellHTMLFindControl(int ACol, int ARow, const QString &ID,
                                         THTMLPaintResult &Result)
{
    Result = THTMLPaintResult{};
    if (ID.isEmpty() || ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return false;
    const QString text = GetCellEx(RealColIndex(ACol), ARow);
    THTMLPaintParams p;
    fillCellHTMLParams(p, RealColIndex(ACol), ARow, ACol);
    p.WordWrap = !EnhTextSize();
    p.ControlId = ID;
    TCanvas canvas;
    canvas.SetFont(Font());
    return HitTestHTMLText(canvas, text, cellHTMLTextRect(ACol, ARow), -100000, -100000, p,
                           Result);
}

void TQrlStringGrid::SetHoverAnchor(int ACol, int ARow, int Index)
{
    const plat::TGridCoord was = dsp->hoverAnchorCell;
    const int wasIndex = dsp->hoverAnchorIndex;
    if (Index < 0) {
        ACol = -1;
        ARow = -1;
    }
    if (was.X == ACol && was.Y == ARow && wasIndex == Index)
        return;
    dsp->hoverAnchorCell = {ACol, ARow};
    dsp->hoverAnchorIndex = Index;
    if (was.X >= 0 && was.Y >= 0 && was.X < ColCount() && was.Y < RowCount())
        RepaintCell(was.X, was.Y);
    if (ACol >= 0 && ARow >= 0 && !(was.X == ACol && was.Y == ARow))
        RepaintCell(ACol, ARow);
}
