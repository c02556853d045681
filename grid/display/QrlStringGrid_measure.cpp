// The measurements the automatic sizing takes: the room a cell's text and graphic need, the text
// margins, the lines of a row, and whether a header cell carries the sort glyph.
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"
#include "platform/ui/Canvas.h"

#include <algorithm>

int TQrlStringGrid::TotalXOffset() const
{
    return d->xyOffsetTopLeftOnly ? d->xyOffset.X : 2 * d->xyOffset.X;
}

int TQrlStringGrid::TotalYOffset() const
{
    return d->xyOffsetTopLeftOnly ? d->xyOffset.Y : 2 * d->xyOffset.Y;
}

int TQrlStringGrid::MaxLinesInRow(int ARow)
{
    if (!d->multilineCells || ColCount() == 0)
        return 1;
    int lines = 1;
    for (int c = 0; c < ColCount(); ++c)
        lines = std::max(lines, CountLines(GetCellEx(RealColIndex(c), ARow), true));
    return lines;
}

TSize TQrlStringGrid::GetCellTextSize(int ACol, int ARow, bool VS, bool SB)
{
    return CalcCellTextSize(ACol, DisplColIndex(ACol), VS, SB, ARow);
}

TSize TQrlStringGrid::CalcCellTextSize(int ACol, int DisplCol, bool VS, bool SB, int ARow)
{
    QString text = GetFormattedCell(ACol, ARow);
    const int kind = CellTextKind(text, d->enableHTML);

    // The font the cell is drawn in: fixed font or grid font, the cell's own, the colour hook.
    TFont &font = d->measureFont;
    const bool fixed = IsFixed(DisplCol, ARow);
    font.Assign(fixed ? d->fixedFont : Font());
    TBrush brush;
    QueryCellColor(ACol, ARow, &font, &brush, {});
    if (fixed && d->activeCellShow && d->activeCellFont.Style().Contains(TFontStyle::fsBold))
        font.SetStyle(font.Style() | TFontStyle::fsBold);
    if (d->zoomFactor != 0)
        font.SetSize(font.Size() + d->zoomFactor);
    if (!d->measureCanvas)
        d->measureCanvas = std::make_unique<TCanvas>();
    TCanvas &canvas = *d->measureCanvas;
    if (!(canvas.Font() == font))
        canvas.Font().Assign(font);

    // Mini-HTML is measured on its visible text; rich and rotated cells come with their
    // engines and measure as plain text until then.
    const bool html = kind == ctkHTML;
    if (html)
        text = StripHTMLTags(text);
    else if (kind == ctkPlain && d->urlShow && !d->urlFull && IsURLText(text))
        StripURLScheme(text);

    TSize size;
    if (VS) {
        const int cellWidth =
            DisplCol >= 0 && DisplCol < ColCount() ? ColWidths(DisplCol) : DefaultColWidth();
        const int room = cellWidth - TotalXOffset() - (SB ? 17 : 0) - 4;
        TRect r{0, 0, std::max(room, 1), 0};
        canvas.DrawText(text, r,
                        DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS);
        size = {r.Width(), r.Height()};
    } else {
        const int lineHeight = canvas.TextHeight(QStringLiteral("gh"));
        if (!text.contains(QChar(u'\r'))) {
            size = {canvas.TextWidth(text), lineHeight};
        } else if (!d->multilineCells && !html) {
            // A single-line cell shows its first line.
            size = {canvas.TextWidth(text.left(text.indexOf(QChar(u'\r')))), lineHeight};
        } else {
            int lines = 0;
            QString rest = text;
            while (true) {
                QString line;
                const bool last = !rest.contains(QChar(u'\r'));
                CutFirstLine(rest, true, line);
                size.cx = std::max(size.cx, canvas.TextWidth(line));
                ++lines;
                if (last)
                    break;
            }
            size.cy = lineHeight * lines;
        }
    }
    if (html) {
        size.cx += 2;
        size.cy += 2;
    }
    return size;
}

TPoint TQrlStringGrid::GetCellGraphicSize(int ACol, int ARow)
{
    return CalcCellGraphicSize(ACol, ARow, 0);
}

TPoint TQrlStringGrid::CalcCellGraphicSize(int ACol, int ARow, int ReservedHeight)
{
    // Pictures would keep ReservedHeight free; their sizes come with the picture drawing.
    (void)ReservedHeight;
    const TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return {0, 0};
    TPoint size{0, 0};
    switch (g->CellType()) {
    case TCellType::ctCheckBox:
    case TCellType::ctDataCheckBox:
    case TCellType::ctVirtCheckBox:
    case TCellType::ctRowCheckBox:
    case TCellType::ctTriStateCheckBox:
        size = {d->controlLook->CheckSize(), d->controlLook->CheckSize()};
        break;
    case TCellType::ctRadioButton:
        size = {d->controlLook->RadioSize(), d->controlLook->RadioSize()};
        break;
    default:
        break;
    }
    if (g->CellVAlign() == TCellVAlign::vaFull && ARow >= 0 && ARow < RowCount())
        size.Y = RowHeights(ARow);
    const int dc = DisplColIndex(ACol);
    if (g->CellHAlign() == TCellHAlign::haFull && dc >= 0 && dc < ColCount())
        size.X = ColWidths(dc);
    return size;
}

bool TQrlStringGrid::IsSortIndicatorRow(int ACol, int ARow)
{
    const TSortSettings &s = *d->sortSettings;
    return ARow + CellSpan(ACol, ARow).Y == s.Row() && s.Show() && RowCount() > FixedRows() + 1;
}
