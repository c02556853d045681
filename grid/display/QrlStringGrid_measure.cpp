// The measurements the automatic sizing takes: the room a cell's text and graphic need, the text
// margins, the lines of a row, and whether a header cell carries the sort glyph.
#include "grid/display/QrlCellPaint.h"
#include "grid/display/QrlStringGrid_display_p.h"
#include "grid/model/QrlCellDrawer.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridText.h"
#include "grid/display/QrlHTMLEngine.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlImageList.h"
#include "grid/model/QrlStringGrid.h"
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
    TFont &font = dsp->measureFont;
    const bool fixed = IsFixed(DisplCol, ARow);
    TBrush brush;
    plat::TGridDrawState state;
    GetFontProperties(DisplCol, ACol, ARow, state, font, brush, true);
    if (fixed && d->activeCellShow && d->activeCellFont.Style().Contains(TFontStyle::fsBold))
        font.SetStyle(font.Style() | TFontStyle::fsBold);
    ZoomFont(font, d->zoomFactor);
    if (!dsp->measureCanvas)
        dsp->measureCanvas = std::make_unique<TCanvas>();
    TCanvas &canvas = *dsp->measureCanvas;
    if (!(canvas.Font() == font))
        canvas.Font().Assign(font);

    // Mini-HTML is laid out by its engine, in the cell's width when wrapped, else unbounded;
    // rich and rotated cells come with their engines and measure as plain text until then.
    const bool html = kind == ctkHTML;
    if (html) {
        int width = 65535;
        if (VS) {
            const int cellWidth =
                DisplCol >= 0 && DisplCol < ColCount() ? ColWidths(DisplCol) : DefaultColWidth();
            width = std::max(cellWidth - TotalXOffset() - (SB ? 17 : 0), 1);
        }
        THTMLPaintParams p;
        p.Selected = true;
        p.UrlColor = d->urlColor;
        p.Images = CellImageList(ACol, ARow);
        p.PictureCache = PictureCache();
        p.PictureContainer = PictureContainer();
        const TSize s = MeasureHTMLText(canvas, text, width, !dsp->enhTextSize, p);
        return {s.cx + 2, s.cy + 2};
    }
    if (kind == ctkPlain && d->urlShow && !d->urlFull && IsURLText(text))
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
        } else if (!d->multilineCells) {
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
    return size;
}

TPoint TQrlStringGrid::GetCellGraphicSize(int ACol, int ARow)
{
    return CalcCellGraphicSize(ACol, ARow, 0);
}

TPoint TQrlStringGrid::CalcCellGraphicSize(int ACol, int ARow, int ReservedHeight)
{
    const TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return {0, 0};
    const bool hasText = !GetCellEx(ACol, ARow).isEmpty();
    const TCellHAlign hal = g->CellHAlign();
    const TCellVAlign val = g->CellVAlign();
    const bool besideText = hal == TCellHAlign::haBeforeText || hal == TCellHAlign::haAfterText;
    const bool overText = val == TCellVAlign::vaUnderText || val == TCellVAlign::vaAboveText;
    const int dc = DisplColIndex(ACol);
    const int cw = dc >= 0 && dc < ColCount() ? ColWidths(dc) : DefaultColWidth();
    const int rh = ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : DefaultRowHeight();
    if (!dsp->measureCanvas)
        dsp->measureCanvas = std::make_unique<TCanvas>();
    TCanvas &canvas = *dsp->measureCanvas;
    auto gridFontWidth = [&](const QString &t) {
        canvas.Font().Assign(Font());
        return canvas.TextWidth(t);
    };
    const TCustomImageList *images = CellImageList(ACol, ARow);

    TPoint size{0, 0};
    bool keepWidth = false;
    switch (g->CellType()) {
    case TCellType::ctBitmap:
    case TCellType::ctIcon: {
        const TSize s =
            g->CellType() == TCellType::ctBitmap ? g->CellBitmap().Size() : g->CellIcon().Size();
        size.X = besideText || !hasText ? s.cx : 0;
        if (g->CellType() == TCellType::ctIcon)
            size.Y = s.cy;
        else
            size.Y = overText || !hasText ? s.cy : 0;
        break;
    }
    case TCellType::ctPicture:
    case TCellType::ctFilePicture:
        size = g->GetPictureSize(cw - TotalXOffset() - 1, rh - TotalYOffset() - ReservedHeight - 1,
                                 hasText);
        break;
    case TCellType::ctButton:
    case TCellType::ctBitButton: {
        const auto idx = static_cast<std::uint32_t>(g->CellIndex());
        size = {static_cast<int>(idx & 0xFFFF), static_cast<int>(idx >> 16)};
        if (hasText) {
            if (hal == TCellHAlign::haCenter)
                size.X = 0;
            if (hal == TCellHAlign::haFull)
                size.X = gridFontWidth(g->CellText()) + 4;
            if (!overText)
                size.Y = 0;
            else
                size.X = 0;
        } else if (hal == TCellHAlign::haFull) {
            size.X = gridFontWidth(g->CellText()) + 4;
            keepWidth = !g->CellText().isEmpty();
        }
        break;
    }
    case TCellType::ctInterface: {
        const ICellDrawer *o = g->CellBitmap().As<ICellDrawer>();
        size = o ? TPoint{o->CellWidth(), o->CellHeight()} : TPoint{0, 0};
        if (size.X == 0 || size.Y == 0)
            size = {cw, rh};
        break;
    }
    case TCellType::ctImageList:
    case TCellType::ctDataImage:
        if (images) {
            size.X = besideText || !hasText ? images->Width() : 0;
            size.Y = overText || !hasText ? images->Height() : 0;
        }
        break;
    case TCellType::ctProgressPie:
        size = {20, 20};
        break;
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
    case TCellType::ctRadio:
        if (const QStringList *items = g->CellBitmap().As<QStringList>()) {
            canvas.Font().Assign(Font());
            const int th = canvas.TextHeight(QStringLiteral("gh"));
            if (g->CellBoolean()) {
                for (const QString &it : *items)
                    size.X += canvas.TextWidth(it) + 12;
                size.Y = th;
            } else {
                int widest = 0;
                for (const QString &it : *items)
                    widest = std::max(widest, canvas.TextWidth(it));
                size = {std::max(12, widest + 12),
                        std::max(16, th) * static_cast<int>(items->size())};
            }
        }
        break;
    case TCellType::ctRating:
        size = {g->CellAngle() * 18, 16};
        keepWidth = true;
        break;
    case TCellType::ctImages:
        if (images) {
            const TIntList *list = g->CellBitmap().As<TIntList>();
            const int n = list ? list->Count() : 0;
            size = g->CellBoolean() ? TPoint{n * images->Width(), images->Height()}
                                    : TPoint{images->Width(), n * images->Height()};
        }
        break;
    default:
        break;
    }
    if (val == TCellVAlign::vaFull)
        size.Y = rh;
    if (hal == TCellHAlign::haFull && (!keepWidth || val == TCellVAlign::vaFull))
        size.X = cw;
    return size;
}

bool TQrlStringGrid::IsSortIndicatorRow(int ACol, int ARow)
{
    const TSortSettings &s = *d->sortSettings;
    return ARow + CellSpan(ACol, ARow).Y == s.Row() && s.Show() && RowCount() > FixedRows() + 1;
}
