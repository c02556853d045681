// The look of a cell (colours, font, alignment, word wrap, state bits) and the string grid's
// drawing of one cell: fixed-cell decoration, content, borders, graphic and focus frame. The
// drawing itself is the engine in QrlCellPaint and QrlGraphicPaint; this is the glue that reads
// the grid.
#include "grid/display/QrlCellPaint.h"
#include "grid/display/QrlGraphicPaint.h"
#include "grid/display/QrlStringGrid_display_p.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridDraw.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/ui/Canvas.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>

using plat::TGridDrawState;
using plat::TGridDrawStateItem;
using plat::TGridOption;

TColor BlendColor(TColor Color, TColor BaseColor, int Percent)
{
    if (Percent >= 100)
        return Color;
    if (Percent < 1 || Color == clNone)
        return BaseColor;
    if (BaseColor == clNone)
        return Color;
    const TColor c = ColorToRGB(Color);
    const TColor b = ColorToRGB(BaseColor);
    const double p = Percent / 100.0;
    auto mix = [p](int x, int y) { return std::min(255, int(std::lround(p * x + (1.0 - p) * y))); };
    return RGB(mix(GetRValue(c), GetRValue(b)), mix(GetGValue(c), GetGValue(b)),
               mix(GetBValue(c), GetBValue(b)));
}

TColor BlendColorIf(TColor Color, TColor BaseColor, bool Mix, int Percent)
{
    return Mix ? BlendColor(Color, BaseColor, Percent) : Color;
}

namespace {
// The shared cell scroll bar control's width.
constexpr int kCellScrollBarWidth = 17;
constexpr int kFixedDropDownWidth = 16;
constexpr int kEditorButtonWidth = 16;

bool mouseIsDown()
{
    return QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
}

// 7 % brighter per channel, held at white.
TColor brighten7(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    auto up = [](int v) { return std::min(255, v + int(std::lround(v * 0.07))); };
    return RGB(up(GetRValue(rgb)), up(GetGValue(rgb)), up(GetBValue(rgb)));
}
} // namespace

// The cell painter's own steps. A nested class, so they reach the grid's state without the facade
// declaring each of them.
struct TQrlStringGrid::TPaintPart
{
    // The node tree lines of column 0.
    static void drawTreeLines(TQrlStringGrid &g, TCanvas &canvas, int ARow, const TRect &r);
    // The header cell (display column) shows the sort glyph.
    static bool showsSortGlyph(TQrlStringGrid &g, int ACol, int ARow);
    // The cell's part of the BackGround picture or gradient.
    static void drawBackground(TQrlStringGrid &g,
                               TCanvas &canvas,
                               int ACol,
                               int ARow,
                               plat::TGridDrawState AState,
                               const TCellGraphic *graphic,
                               const TRect &r);
    // Hover or pressed gradient of a fixed cell with its drop-down button part; r loses the
    // button's width.
    static void drawHoverFixedCell(
        TQrlStringGrid &g, TCanvas &canvas, int RCol, int ARow, bool Pressed, TRect &r);
    // The always-visible combo and spin buttons; r loses their widths.
    static void drawEditorButtons(TQrlStringGrid &g, TCanvas &canvas, int RCol, int ARow, TRect &r);
};

bool TQrlStringGrid::HideFocusRect() const
{
    return dsp->hideFocusRect;
}

void TQrlStringGrid::SetHideFocusRect(bool Value)
{
    if (dsp->hideFocusRect != Value) {
        dsp->hideFocusRect = Value;
        Invalidate();
    }
}

bool TQrlStringGrid::EnhTextSize() const
{
    return dsp->enhTextSize;
}

void TQrlStringGrid::SetEnhTextSize(bool Value)
{
    if (dsp->enhTextSize != Value) {
        dsp->enhTextSize = Value;
        Invalidate();
    }
}

bool TQrlStringGrid::NoDefaultDraw() const
{
    return dsp->noDefaultDraw;
}

void TQrlStringGrid::SetNoDefaultDraw(bool Value)
{
    dsp->noDefaultDraw = Value;
    Invalidate();
}

bool TQrlStringGrid::NoImageAndText() const
{
    return dsp->noImageAndText;
}

void TQrlStringGrid::SetNoImageAndText(bool Value)
{
    dsp->noImageAndText = Value;
    Invalidate();
}

TColor TQrlStringGrid::QuorlGradientColor(TQuorlGradientRole Role) const
{
    switch (Role) {
    case TQuorlGradientRole::QuorlGradientFrom:
        return QuorlGradientFrom();
    case TQuorlGradientRole::QuorlGradientTo:
        return QuorlGradientTo();
    case TQuorlGradientRole::QuorlGradientMirrorFrom:
        return QuorlGradientMirrorFrom();
    case TQuorlGradientRole::QuorlGradientMirrorTo:
        return QuorlGradientMirrorTo();
    default:
        return dsp->fixedHoverDown[std::size_t(Role) -
                                   std::size_t(TQuorlGradientRole::QuorlGradientHoverFrom)];
    }
}

void TQrlStringGrid::SetQuorlGradientColor(TQuorlGradientRole Role, TColor Value)
{
    switch (Role) {
    case TQuorlGradientRole::QuorlGradientFrom:
        SetQuorlGradientFrom(Value);
        break;
    case TQuorlGradientRole::QuorlGradientTo:
        SetQuorlGradientTo(Value);
        break;
    case TQuorlGradientRole::QuorlGradientMirrorFrom:
        SetQuorlGradientMirrorFrom(Value);
        break;
    case TQuorlGradientRole::QuorlGradientMirrorTo:
        SetQuorlGradientMirrorTo(Value);
        break;
    default:
        dsp->fixedHoverDown[std::size_t(Role) -
                            std::size_t(TQuorlGradientRole::QuorlGradientHoverFrom)] = Value;
        break;
    }
}

THoverFixedCells TQrlStringGrid::HoverFixedCells() const
{
    return dsp->hoverFixedCells;
}

void TQrlStringGrid::SetHoverFixedCells(THoverFixedCells Value)
{
    dsp->hoverFixedCells = Value;
}

bool TQrlStringGrid::IsHoverFixedCell(int ACol, int ARow) const
{
    const bool inRows = ARow < TBaseGrid::FixedRows();
    const bool inCols = ACol < TBaseGrid::FixedCols();
    switch (dsp->hoverFixedCells) {
    case THoverFixedCells::hfAll:
        return inRows || inCols;
    case THoverFixedCells::hfFixedRows:
        return inRows;
    case THoverFixedCells::hfFixedColumns:
        return inCols;
    default:
        return false;
    }
}

const TBitmap &TQrlStringGrid::RowIndicator() const
{
    return dsp->rowIndicator;
}

void TQrlStringGrid::SetRowIndicator(const TBitmap &Value)
{
    dsp->rowIndicator = Value;
    Invalidate();
}

bool TQrlStringGrid::ShowColNrs() const
{
    return dsp->showColNrs;
}

void TQrlStringGrid::SetShowColNrs(bool Value)
{
    dsp->showColNrs = Value;
    Invalidate();
}

void TQrlStringGrid::GetFontProperties(
    int ACol, int RCol, int ARow, TGridDrawState &AState, TFont &AFont, TBrush &ABrush, bool Remap)
{
    (void)Remap;
    AFont.Assign(IsFixed(ACol, ARow) ? d->fixedFont : Font());
    // QueryCellColor applies the cell's own font fields before the colour event.
    CellColorHook(RCol, ARow, &AFont, &ABrush, AState);
}

std::uint16_t TQrlStringGrid::GetCellAlignment(int ACol, int ARow)
{
    TAlignment ha = d->defaultAlignment;
    TVAlignment va = d->vAlignment;
    bool formula = false;
    if (d->autoNumAlign) {
        QString text = GetCellEx(ACol, ARow);
        formula = text.startsWith(u'=') ||
                  (text.startsWith(QStringLiteral("|\\")) && text.size() > 3 && text[3] == u'=');
        if (formula)
            text = ExportCellText(ACol, ARow);
        const int kind = NumberTextKind(text.trimmed());
        if (kind == ntkInteger || kind == ntkDecimal || kind == ntkExponent)
            ha = TAlignment::taRightJustify;
    }
    if (!formula && HasCellProperties(ACol, ARow))
        ha = GetGridObject(ACol, ARow)->Alignment();
    CellAlignmentHook(ACol, ARow, ha, va);
    return static_cast<std::uint16_t>(static_cast<unsigned>(ha) | (static_cast<unsigned>(va) << 8));
}

void TQrlStringGrid::GetVisualProperties(int ACol,
                                         int ARow,
                                         TGridDrawState &AState,
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
                                         TCellGradientDirection &GD)
{
    // Reads only: a cell without properties must stay without them.
    const int fc = TBaseGrid::FixedCols();
    const int fr = TBaseGrid::FixedRows();
    const bool dataCell = ACol >= fc && ARow >= fr;
    AFont.Assign(dataCell ? Font() : d->fixedFont);

    const int rc = Remap ? RealColIndex(ACol) : ACol;
    const TMouseActions &ma = *d->mouseActions;
    const bool enabledRows = d->rowMarks.usesEnabledRows();
    const int selRow = (ma.DisjunctRowSelect() && ma.RowSelectPersistent()) || enabledRows
                           ? RealRowIndex(ARow)
                           : ARow;

    ABrush.SetColor(clNone);
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;
    WW = TBaseGrid::WordWrap();
    GD = TCellGradientDirection::GradientVertical;

    bool ownColor = false;
    if (rc >= 0 && ARow >= 0 && HasCellProperties(rc, ARow)) {
        const TCellProperties *p = GetGridObject(rc, ARow);
        if (p->BrushColor() != clNone) {
            ABrush.SetColor(p->BrushColor());
            const TCellType kind = GetCellType(rc, ARow);
            ownColor = kind == TCellType::ctNone || kind == TCellType::ctRotated ||
                       kind == TCellType::ctEmpty;
        }
        if (p->FontColor() != clNone)
            AFont.SetColor(p->FontColor());
        if (!p->FontStyle().IsEmpty())
            AFont.SetStyle(p->FontStyle());
        if (p->FontSize() != 0)
            AFont.SetSize(p->FontSize());
        if (!p->FontName().isEmpty())
            AFont.SetName(p->FontName());
        WW = p->WordWrap();
        AColorTo = p->BrushColorTo();
        GD = p->GradientDirection();
    }
    if (AState.Contains(TGridDrawStateItem::gdSelected))
        GD = TCellGradientDirection::GradientVertical;

    const bool inRightFixed = d->fixedRightCols > 0 && ACol >= ColCount() - d->fixedRightCols;
    const bool inFooter = d->fixedFooters > 0 && ARow >= RowCount() - d->fixedFooters;
    // A graphic cell's own colour counts for data cells too; only fixed cells ignore it.
    if (ABrush.Color() == clNone) {
        ABrush.SetColor(Color());
        const TBands &bands = *d->bands;
        if (bands.Active() && (!Print || bands.Print()) && dataCell && !inRightFixed && !inFooter) {
            const int len = bands.PrimaryLength() + bands.SecondaryLength();
            const bool primary = len <= 0 || (ARow - fr) % len < bands.PrimaryLength();
            ABrush.SetColor(primary ? bands.PrimaryColor() : bands.SecondaryColor());
        }
        if (!dataCell || inRightFixed || inFooter)
            ABrush.SetColor(FixedColor());
    }

    const bool fixed = IsFixed(ACol, ARow) || ACol < fc || ARow < fr;
    if (fixed && !ownColor && !Print) {
        ABrush.SetColor(FixedColor());
        AFont.Assign(d->fixedFont);
        AState.Include(TGridDrawStateItem::gdFixed);
        if (d->look > TGridLook::glClassic) {
            ABrush.SetColor(d->gradientFrom);
            AColorTo = d->gradientTo;
            AMirrorColor = d->gradientMirrorFrom;
            AMirrorColorTo = d->gradientMirrorTo;
        }
    }

    if (Print)
        PrintColorHook(rc, ARow, &AFont, &ABrush, AState);
    else
        CellColorHook(rc, ARow, &AFont, &ABrush, AState);

    if (OnGetCellGradient) {
        TColor c = ABrush.Color();
        OnGetCellGradient(this, ARow, ACol, c, AColorTo, AMirrorColor, AMirrorColorTo, GD);
        ABrush.SetColor(c);
    }

    const auto applySelection = [&] {
        ABrush.SetColor(d->selectionColor);
        AColorTo = d->selectionColorTo;
        AMirrorColor = d->selectionMirrorColor;
        AMirrorColorTo = d->selectionMirrorColorTo;
        if (d->selectionTextColor != clNone)
            AFont.SetColor(d->selectionTextColor);
    };
    if (ShowSelection() && !fixed) {
        const bool down = mouseIsDown();
        const bool hadSelected = AState.Contains(TGridDrawStateItem::gdSelected);
        if (ma.DisjunctRowSelect()) {
            if (dataCell && Select && !Print) {
                const bool marked = GetRowSelect(selRow);
                const bool sel = marked ? !(ARow == Row() && down) : (down && hadSelected);
                if (sel) {
                    applySelection();
                    AState = TGridDrawState{TGridDrawStateItem::gdSelected};
                } else {
                    AState.Exclude(TGridDrawStateItem::gdSelected);
                }
            }
        } else if (ma.DisjunctColSelect()) {
            if (dataCell && Select && !Print) {
                const bool marked = GetColSelect(rc);
                const bool sel = marked ? !(ACol == Col() && down) : (down && hadSelected);
                if (sel) {
                    applySelection();
                    AState = TGridDrawState{TGridDrawStateItem::gdSelected};
                }
            }
        } else {
            const plat::TGridRect s = Selection();
            const bool inside =
                ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
            if ((Select && !Print && inside) || (hadSelected && down)) {
                const TColor own = ABrush.Color();
                const TColor before = own;
                const TColor beforeFont = AFont.Color();
                ABrush.SetColor(own == Color()
                                    ? d->selectionColor
                                    : BlendColorIf(d->selectionColor, own, d->selectionColorMixer,
                                                   d->selectionColorMixerFactor));
                AColorTo = d->selectionColorTo;
                AMirrorColor = d->selectionMirrorColor;
                AMirrorColorTo = d->selectionMirrorColorTo;
                if (d->selectionTextColor != clNone)
                    AFont.SetColor(d->selectionTextColor);
                AState.Include(TGridDrawStateItem::gdSelected);
                if (ma.DisjunctCellSelect() && ACol == Col() && ARow == Row() &&
                    !GetSelectedCells(rc, ARow)) {
                    AState.Exclude(TGridDrawStateItem::gdSelected);
                    ABrush.SetColor(before);
                    AFont.SetColor(beforeFont);
                    AColorTo = clNone;
                    AMirrorColor = clNone;
                    AMirrorColorTo = clNone;
                }
            }
            if (ma.DisjunctCellSelect() && GetSelectedCells(rc, ARow)) {
                applySelection();
                AState.Include(TGridDrawStateItem::gdSelected);
            }
        }
        // Without a selection colour the selected cells that do not hold the focus take the
        // system highlight, or they would look unselected.
        if (d->selectionColor == clNone && AState.Contains(TGridDrawStateItem::gdSelected) &&
            !AState.Contains(TGridDrawStateItem::gdFocused))
            ABrush.SetColor(clHighlight);
    }

    if (d->useDisabledFont &&
        (!isEnabled() || (enabledRows && ARow >= 0 && !GetRowEnabled(RealRowIndex(ARow)))))
        AFont.SetColor(d->disabledFontColor);

    if (ma.DisjunctRowSelect() && AState.Contains(TGridDrawStateItem::gdSelected) &&
        ARow != Row() && d->selectionColorTo == clNone)
        ABrush.SetColor(brighten7(ABrush.Color()));

    CellWordWrapHook(rc, ARow, WW);
    const std::uint16_t align = GetCellAlignment(rc, ARow);
    HA = static_cast<TAlignment>(align & 0xFF);
    VA = static_cast<TVAlignment>(align >> 8);
}

namespace {
// The cell's piece of the outline of a selection shown as a rectangle.
void selectionOutline(TCellPaintView &v, const plat::TGridRect &s, int c, int r, bool resizer)
{
    if (c < s.Left || c > s.Right || r < s.Top || r > s.Bottom)
        return;
    v.selRectLeft = c == s.Left;
    v.selRectRight = c == s.Right;
    v.selRectTop = r == s.Top;
    v.selRectBottom = r == s.Bottom;
    v.selResizer = resizer && c == s.Right && r == s.Bottom;
}
} // namespace

void TQrlStringGrid::RenderCell(
    TCanvas *Canvas, int ACol, int ARow, TGridDrawState AState, const TRect &ARect)
{
    if (!Canvas)
        return;
    TCanvas &canvas = *Canvas;
    const int fc = TBaseGrid::FixedCols();
    const int fr = TBaseGrid::FixedRows();
    const int rc = RealColIndex(ACol);
    const bool selected = AState.Contains(TGridDrawStateItem::gdSelected);
    const bool focused = AState.Contains(TGridDrawStateItem::gdFocused);
    const TGridLook look = d->look;
    const auto opts = Options();

    // The look again, without the selection: the base painter applied that to the background,
    // the content takes it from the state below.
    TGridDrawState state = AState;
    TBrush brush;
    TColor colorTo = clNone;
    TColor mirror = clNone;
    TColor mirrorTo = clNone;
    TAlignment ha = TAlignment::taLeftJustify;
    TVAlignment va = TVAlignment::vtaTop;
    bool ww = TBaseGrid::WordWrap();
    TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
    TFont &font = canvas.Font();

    // A cell scroll bar takes the cell's right edge; the content scrolls up under it.
    TRect r = ARect;
    int scrollShift = 0;
    if (rc >= 0 && ARow >= 0 && HasScrollBar(rc, ARow)) {
        const TScrollProp sp = GetScrollProp(rc, ARow);
        if (sp.PageSize < sp.Range) {
            const int pos = GetScrollPosition(rc, ARow);
            DrawCellScrollBar(canvas, {r.Right - kCellScrollBarWidth, r.Top, r.Right, r.Bottom},
                              pos, sp.PageSize, 0, sp.Range);
            r.Right -= kCellScrollBarWidth;
            scrollShift = std::max(pos, 0);
        }
    }

    GetVisualProperties(ACol, ARow, state, false, false, true, brush, colorTo, mirror, mirrorTo,
                        font, ha, va, ww, gd);
    canvas.Brush().SetColor(brush.Color());

    // Graphic layout: the room beside the text and whether the text shows at all.
    const TCellGraphic *graphic = rc >= 0 && ARow >= 0 ? GetCellGraphic(rc, ARow) : nullptr;
    TGraphicGridView gview;
    gview.look = d->controlLook.get();
    gview.images = dynamic_cast<const TCustomImageList *>(GridImages());
    gview.progress = d->progressAppearance.get();
    gview.node = d->cellNode.get();
    gview.xyOffset = d->xyOffset;
    gview.gridVAlign = d->vAlignment;
    gview.gridColor = Color();
    gview.fixedColor = FixedColor();
    gview.selectionColor = d->selectionColor;
    gview.selectionTextColor = d->selectionTextColor;
    gview.showSelection = ShowSelection();
    gview.hasFixedCols = fc > 0;
    gview.flat = d->flat;
    gview.softGridLines = look == TGridLook::glSoft || look == TGridLook::glQuorl ||
                          look == TGridLook::glXP || look == TGridLook::glListView;
    TGraphicCellView cview;
    cview.rect = ARect;
    cview.hAlign = ha;
    cview.vAlign = va;
    cview.selected = selected;
    cview.fixed = IsFixed(ACol, ARow) || ACol < fc || ARow < fr;
    cview.dataRow = ARow >= fr;
    if (graphic) {
        cview.text = GetCellEx(rc, ARow);
        CheckTrueHook(rc, ARow, cview.checkTrue);
        cview.rowHeight = ARow < RowCount() ? RowHeights(ARow) : 0;
        // A text that is no number reads as 0, as the typed getters' fallback would.
        cview.intValue = cview.text.trimmed().toInt();
        cview.floatValue = cview.text.trimmed().toDouble();
        bool canEdit = true;
        CanEditCell(rc, ARow, canEdit);
        cview.enabled = canEdit;
    }
    TGraphicLayout layout;
    if (graphic)
        layout = GetGraphicLayout(graphic, gview, cview);
    if (graphic && graphic->CellType() == TCellType::ctNode && rc == 0)
        layout.width = GetNodeLevel(RealRowIndex(ARow)) * 12 + 4;

    if (selected && !focused && d->selectionColor == clNone)
        canvas.Brush().SetColor(clHighlight);
    ZoomFont(font, d->zoomFactor);
    const TColor savedBrush = canvas.Brush().Color();
    const TColor savedFont = font.Color();

    bool fixedDeco = cview.fixed;
    if (HoverRow() && ARow == FHoverRowIdx && HoverRowCells().Contains(THoverRowCell::hcFixed))
        fixedDeco = false;

    const int savedRight = r.Right;
    const bool gradientLook = look == TGridLook::glQuorl || look == TGridLook::glXP ||
                              look == TGridLook::glVista || look == TGridLook::glWin7 ||
                              look == TGridLook::glOffice2007;
    // The fixed cell under the mouse, or the header of the column being moved.
    const bool moving = dsp->movingColumn != -1 && dsp->movingColumn == ACol && ARow < fr;
    const bool hovered =
        dsp->movingColumn == -1 && d->hoverFixedCell.X == ACol && d->hoverFixedCell.Y == ARow;
    if (fixedDeco && gradientLook && IsHoverFixedCell(ACol, ARow) && (hovered || moving) &&
        !IsDesigningQuery()) {
        TPaintPart::drawHoverFixedCell(*this, canvas, rc, ARow, dsp->fixedCellPressed || moving, r);
    } else if (fixedDeco && gradientLook) {
        const TSortSettings &ss = *d->sortSettings;
        const bool activeHeader =
            d->activeCellShow && ((fc > 0 && ACol == fc - 1 && ARow == Row()) ||
                                  (fr > 0 && ARow == fr - 1 && ACol == Col()));
        const bool sortHeader = ss.Column() != -1 && ss.Column() == rc &&
                                ss.HeaderColor() != clNone && ARow == fr - 1 &&
                                (ACol >= fc || ss.FixedCols());
        if (activeHeader)
            DrawGradientRect(canvas, r, d->activeCellColor, true, false, clNone, true, clNone,
                             clNone, d->activeCellColorTo);
        else if (sortHeader)
            DrawGradientRect(canvas, r, ss.HeaderColor(), true, false, clNone, true,
                             ss.HeaderMirrorColorTo(), ss.HeaderMirrorColor(), ss.HeaderColorTo());
        else if (!d->flat)
            DrawGradientRect(canvas, r, canvas.Brush().Color(), true, true,
                             look == TGridLook::glVista ? clWhite : clNone, true, mirrorTo, mirror,
                             colorTo);
    }

    // Row indicator: the current row's picture at the left of the first column.
    int indicatorWidth = 0;
    const TBitmap &indicator = dsp->rowIndicator;
    if (rc == 0 && ARow == Row() && fc > 0 && !indicator.Empty() &&
        !(d->fixedRowAlways && RowCount() <= fr)) {
        TBitmap pic(indicator);
        const int h = pic.Height();
        int y = r.Top;
        if (d->vAlignment == TVAlignment::vtaCenter)
            y = r.Top + (r.Height() - h) / 2;
        else if (d->vAlignment == TVAlignment::vtaBottom)
            y = r.Bottom - h;
        DrawBitmapTransparent(canvas, pic, clNone,
                              {r.Left + 2, y, r.Left + 2 + pic.Width(), y + h});
        indicatorWidth = pic.Width() + 2;
        r.Left += indicatorWidth;
    }

    // No visual styles here: the list-view header is the classic one.
    if (fixedDeco && look == TGridLook::glListView && !d->flat) {
        canvas.Brush().SetColor(clBtnFace);
        canvas.Pen().SetColor(clWhite);
        canvas.Pen().SetWidth(1);
        canvas.Rectangle(r);
        canvas.MoveTo(r.Left, r.Top);
        canvas.LineTo(r.Right, r.Top);
        canvas.Brush().SetColor(savedBrush);
    }

    const TShowModified &sm = *d->showModified;
    if (sm.Enabled() && ACol == 0 && ARow >= fr && GetRowModified(RealRowIndex(ARow))) {
        TBrush old;
        old.Assign(canvas.Brush());
        canvas.Brush().SetColor(sm.Color());
        canvas.FillRect({r.Right - 4, r.Top, r.Right, r.Bottom});
        canvas.Brush().Assign(old);
    }

    if (OnCustomCellBkgDraw)
        OnCustomCellBkgDraw(this, Canvas, ACol, ARow, AState, r, false);

    if (!cview.fixed)
        TPaintPart::drawEditorButtons(*this, canvas, rc, ARow, r);

    // Content.
    const bool userDraws = OnDrawCell || OnCustomCellDraw;
    if (!(userDraws && dsp->noDefaultDraw) && !(graphic && dsp->noImageAndText)) {
        TCellPaintView v;
        v.text = GetFormattedCell(rc, ARow);
        v.textKind = CellTextKind(v.text, d->enableHTML);
        if (v.textKind == ctkFormula) {
            v.text = ExportCellText(rc, ARow);
            v.textKind = CellTextKind(v.text, d->enableHTML);
        }
        v.hAlign = ha;
        v.vAlign = va;
        v.wordWrap = ww;
        v.multilineCells = d->multilineCells;
        v.enhTextSize = dsp->enhTextSize;
        v.password = IsPasswordCell(rc, ARow);
        v.passwordChar = d->passwordChar;
        v.urlShow = d->urlShow;
        v.urlFull = d->urlFull;
        v.urlColor = d->urlColor;
        v.xyOffset = d->xyOffset;
        v.xyOffsetTopLeftOnly = d->xyOffsetTopLeftOnly;
        v.fixed = cview.fixed;
        v.gridLineWidth = GridLineWidth();
        if (graphic) {
            v.hasGraphic = true;
            v.graphicSize = {layout.width, layout.height};
            v.graphicHAlign = layout.hAlign;
            v.graphicVAlign = layout.vAlign;
            v.showText = layout.textVisible;
            const TCellType kind = graphic->CellType();
            v.errorUnderlineAllowed = kind == TCellType::ctEmpty || kind == TCellType::ctValue;
        }
        if (rc == 0 && ARow >= fr && HasNodes() && !IsNode(RealRowIndex(ARow)))
            v.nodeIndent = GetNodeIndent(RealRowIndex(ARow));
        v.sortIndicatorCell = IsSortIndicatorRow(ACol, ARow) && d->sortSettings->Column() == rc;
        if (TPaintPart::showsSortGlyph(*this, ACol, ARow)) {
            v.sortGlyph = [this, rc](TCanvas &c, int X, int Y) { DrawSortIndicator(&c, rc, Y, X); };
            if (graphic &&
                (layout.hAlign == TCellHAlign::haLeft ||
                 (layout.hAlign == TCellHAlign::haBeforeText && ha == TAlignment::taLeftJustify)))
                v.sortGlyphOffset = layout.width;
        }

        // Selected look of the content.
        const bool disjunctMarked =
            d->mouseActions->DisjunctRowSelect() && opts.Contains(TGridOption::goRowSelect) &&
            ACol >= fc && ACol < ColCount() - d->fixedRightCols && ARow >= fr && GetRowSelect(ARow);
        if ((selected || disjunctMarked) && !cview.fixed) {
            if (ShowSelection()) {
                if (d->selectionColor != clNone)
                    canvas.Brush().SetColor(d->selectionColor);
                if (d->selectionTextColor != clNone && isEnabled())
                    font.SetColor(d->selectionTextColor);
                v.urlColor = d->selectionTextColor;
            } else if (!hasFocus() || graphic) {
                canvas.Brush().SetColor(savedBrush);
                font.SetColor(savedFont);
            }
        }
        // Unmarked rows (columns) of a disjunct selection show their normal colours once the
        // mouse is up, whatever the base painter's selection state said.
        const TMouseActions &ma = *d->mouseActions;
        if ((ma.DisjunctRowSelect() || ma.DisjunctColSelect()) && ACol >= fc && ARow >= fr &&
            !mouseIsDown()) {
            const int selRow = (ma.DisjunctRowSelect() && ma.RowSelectPersistent()) ||
                                       d->rowMarks.usesEnabledRows()
                                   ? RealRowIndex(ARow)
                                   : ARow;
            const bool marked = ma.DisjunctRowSelect() ? GetRowSelect(selRow) : GetColSelect(rc);
            if (!marked) {
                v.urlColor = d->urlColor;
                canvas.Brush().SetColor(Color());
                font.SetColor(Font().Color());
                // The hook sees the unzoomed font; the zoom is added once more after it.
                ZoomFont(font, -d->zoomFactor);
                CellColorHook(rc, ARow, &font, &canvas.Brush(), AState);
                ZoomFont(font, d->zoomFactor);
            }
        }
        if (graphic)
            GetMarker(rc, ARow, v.errorStart, v.errorLength);
        TPaintPart::drawBackground(*this, canvas, ACol, ARow, AState, graphic, r);
        if (d->selectionRectangle && ACol >= fc && ARow >= fr)
            selectionOutline(v, Selection(), ACol, ARow, d->selectionResizer);
        v.rightToLeft = layoutDirection() == Qt::RightToLeft;
        if (v.textKind == ctkHTML)
            fillCellHTMLParams(v.html, rc, ARow, ACol);
        TCellContentResult content;
        if (scrollShift > 0) {
            TClipSaver clip(canvas);
            canvas.IntersectClipRect(r);
            TRect scrolled = r;
            scrolled.Top -= scrollShift;
            content = PaintCellContent(canvas, v, scrolled);
        } else {
            content = PaintCellContent(canvas, v, r);
        }
        cview.textWidth = content.textWidth;
        if (v.textKind == ctkHTML)
            rememberHTMLTextRect(ACol, ARow, content.textRect);
    }

    r.Right = savedRight;
    canvas.Brush().SetColor(savedBrush);
    font.SetColor(savedFont);
    TRect br = r;
    br.Left -= 1;
    br.Top -= 1;
    br.Right += 1;
    br.Bottom += 1;
    DrawCellBorders(Canvas, ACol, ARow, br);
    r.Left -= indicatorWidth;

    // Fixed-cell edges of the looks without gradients.
    if (cview.fixed && !d->flat) {
        TPen &pen = canvas.Pen();
        if (look == TGridLook::glClassic) {
            TRect e{r.Left + 1, r.Top + 1, r.Right, r.Bottom + 1};
            canvas.DrawEdge(e, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
            canvas.DrawEdge(e, BDR_RAISEDINNER | BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
            pen.SetColor(clBlack);
            canvas.MoveTo(e.Right - 1, e.Top);
            canvas.LineTo(e.Right - 1, e.Bottom - 1);
            canvas.LineTo(e.Left - 1, e.Bottom - 1);
        } else if ((look == TGridLook::glQuorl || look == TGridLook::glXP) &&
                   opts.Contains(TGridOption::goFixedHorzLine)) {
            const int bottom = r.Bottom + 1;
            pen.SetColor(HalveColor(FixedColor()));
            canvas.MoveTo(r.Left, bottom - 1);
            canvas.LineTo(r.Right - 1, bottom - 1);
            pen.SetColor(clWhite);
            canvas.MoveTo(r.Right - 2, r.Top + 1);
            canvas.LineTo(r.Left + 1, r.Top + 1);
            canvas.LineTo(r.Left + 1, bottom - 1);
        } else if (look == TGridLook::glSoft) {
            const TRect s{r.Left, r.Top, r.Right + 1, r.Bottom + 1};
            if (opts.Contains(TGridOption::goFixedHorzLine)) {
                pen.SetColor(HalveColor(FixedColor()));
                canvas.MoveTo(s.Left, s.Bottom - 1);
                canvas.LineTo(s.Right - 1, s.Bottom - 1);
                pen.SetColor(clWhite);
                canvas.MoveTo(s.Right, s.Top + 1);
                canvas.LineTo(s.Left + 1, s.Top + 1);
                canvas.LineTo(s.Left + 1, s.Bottom - 1);
            }
            if (opts.Contains(TGridOption::goFixedVertLine)) {
                pen.SetColor(HalveColor(FixedColor()));
                canvas.MoveTo(s.Right - 2, s.Top);
                canvas.LineTo(s.Right - 2, s.Bottom - 1);
                pen.SetColor(clWhite);
                canvas.MoveTo(s.Right - 1, s.Top);
                canvas.LineTo(s.Right - 1, s.Bottom - 1);
            }
        }
    }

    // A fixed cell held down as a button looks sunken until the button is released.
    if (cview.fixed && fixedCellPushed() && pushedCellButton() == plat::TGridCoord{ACol, ARow}) {
        canvas.DrawEdge(r, BDR_SUNKENINNER, BF_RIGHT | BF_BOTTOM);
        canvas.DrawEdge(r, BDR_SUNKENINNER, BF_LEFT | BF_TOP);
    }

    // Flat grids give their right fixed columns a plain grey frame instead of the look's edges.
    if (d->flat && look != TGridLook::glClassic && d->fixedRightCols > 0 &&
        ACol >= ColCount() - d->fixedRightCols) {
        TPen &pen = canvas.Pen();
        pen.SetColor(TColor(0x808080));
        pen.SetWidth(1);
        if (opts.Contains(TGridOption::goFixedHorzLine)) {
            canvas.MoveTo(r.Left - 1, r.Top - 1);
            canvas.LineTo(r.Right + 1, r.Top - 1);
            canvas.MoveTo(r.Left - 1, r.Bottom);
            canvas.LineTo(r.Right + 1, r.Bottom);
        }
        if (opts.Contains(TGridOption::goFixedVertLine)) {
            canvas.MoveTo(r.Left - 1, r.Top - 1);
            canvas.LineTo(r.Left - 1, r.Bottom + 1);
            canvas.MoveTo(r.Right, r.Top - 1);
            canvas.LineTo(r.Right, r.Bottom + 1);
        }
    }

    if (rc == 0 && ARow >= fr && HasNodes() && d->cellNode->ShowTree())
        TPaintPart::drawTreeLines(*this, canvas, ARow, r);

    if (graphic) {
        TGraphicCellView gc = cview;
        gc.rect = ARect;
        gc.rect.Right -= ARect.Right - savedRight;
        if (cview.fixed)
            gc.rect.Top += 1;
        RenderCellGraphic(canvas, *graphic, layout, gview, gc);
    }

    if (OnCustomCellDraw)
        OnCustomCellDraw(this, Canvas, ACol, ARow, AState, ARect, false);

    if (!dsp->hideFocusRect && hasFocus() && !opts.Contains(TGridOption::goRowSelect)) {
        const plat::TGridCoord b = BaseCell(ACol, ARow);
        if (b.X == Col() && b.Y == Row() && Col() >= fc && Row() >= fr) {
            TRect f = ARect;
            const int g = GridLineWidth() - 1;
            f.Left -= g;
            f.Top -= g;
            f.Right += g - 1;
            f.Bottom += g - 1;
            canvas.DrawFocusRect(f);
        }
    }

    // Design-time aid: the real column number in the header's bottom-right corner.
    if (ARow == 0 && dsp->showColNrs && IsDesigningQuery()) {
        TFont old(canvas.Font());
        canvas.Font().Assign(TFont());
        canvas.Font().SetSize(8);
        canvas.Font().SetColor(TColor(0x808080));
        canvas.SetBkMode(TBkMode::bkTransparent);
        canvas.DrawText(QString::number(rc), ARect,
                        DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
        canvas.Font().Assign(old);
    }
}

void TQrlStringGrid::TPaintPart::drawHoverFixedCell(
    TQrlStringGrid &g, TCanvas &canvas, int RCol, int ARow, bool Pressed, TRect &r)
{
    const auto c = [&g](TQuorlGradientRole role) { return g.QuorlGradientColor(role); };
    using R = TQuorlGradientRole;
    struct Colours
    {
        TColor from, to, mirrorFrom, mirrorTo, border;
    };
    const Colours hover{c(R::QuorlGradientHoverFrom), c(R::QuorlGradientHoverTo),
                        c(R::QuorlGradientHoverMirrorFrom), c(R::QuorlGradientHoverMirrorTo),
                        c(R::QuorlGradientHoverBorder)};
    const Colours down{c(R::QuorlGradientDownFrom), c(R::QuorlGradientDownTo),
                       c(R::QuorlGradientDownMirrorFrom), c(R::QuorlGradientDownMirrorTo),
                       c(R::QuorlGradientDownBorder)};
    const auto paint = [&canvas](const TRect &rect, const Colours &k) {
        DrawGradientRect(canvas, rect, k.from, true, false, k.border, true, k.mirrorTo,
                         k.mirrorFrom, k.to);
    };

    r.Bottom += 1;
    const bool dropDown =
        g.d->controlLook->FixedDropDownButton() && g.CanShowFixedDropDown(RCol, ARow);
    if (!Pressed) {
        paint(r, hover);
    } else if (dropDown) {
        const TRect button{r.Right - kFixedDropDownWidth, r.Top, r.Right, r.Bottom};
        const TRect rest{r.Left, r.Top, r.Right - kFixedDropDownWidth, r.Bottom};
        const bool buttonDown = g.dsp->dropDownDown;
        paint(rest, buttonDown ? hover : down);
        paint(button, buttonDown ? down : hover);
    } else {
        paint(r, down);
    }
    if (!dropDown)
        return;
    const int x = r.Right - kFixedDropDownWidth;
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(Pressed ? down.border : hover.border);
    canvas.MoveTo(x, r.Top);
    canvas.LineTo(x, r.Bottom);
    DrawSmallDownArrow(canvas, r.Right - 8, r.Top + 8, clBlack);
    r.Right -= kFixedDropDownWidth;
}

void TQrlStringGrid::TPaintPart::drawEditorButtons(
    TQrlStringGrid &g, TCanvas &canvas, int RCol, int ARow, TRect &r)
{
    const TControlLook &cl = *g.d->controlLook;
    if (!cl.DropDownAlwaysVisible() && !cl.SpinButtonsAlwaysVisible())
        return;
    // A flat grid with colour tones would take the custom style; the grid has no tones yet.
    const int style = cl.FlatButton() ? bstFlat : (g.d->isWinXP ? bstThemed : bstClassic);
    bool canEdit = true;
    g.CanEditCell(RCol, ARow, canEdit);
    const int state = canEdit ? bsNormalState : bsDisabledState;
    const TColorTones tones;
    if (cl.DropDownAlwaysVisible() && g.HasComboHook(RCol, ARow)) {
        DrawComboButton(canvas, g.viewport(), {r.Left - 2, r.Top - 1, r.Right + 1, r.Bottom}, tones,
                        state, style);
        r.Right -= kEditorButtonWidth;
    }
    if (cl.SpinButtonsAlwaysVisible() && g.HasSpinHook(RCol, ARow)) {
        DrawSpinButtons(canvas, g.viewport(), r, tones, state, style);
        r.Right -= kEditorButtonWidth;
    }
}

bool TQrlStringGrid::TPaintPart::showsSortGlyph(TQrlStringGrid &g, int ACol, int ARow)
{
    const TSortSettings &ss = *g.d->sortSettings;
    const int rc = g.RealColIndex(ACol);
    const int pos = g.d->sortIndexes.FindIndex(rc);
    // Of several sorted columns only the first shows its direction, unless each shows its index.
    const bool sorted = ss.Column() == rc || pos == 0 || (pos > 0 && ss.IndexShow());
    return sorted && g.TBaseGrid::FixedRows() > 0 && g.IsSortIndicatorRow(ACol, ARow) &&
           (ACol >= g.TBaseGrid::FixedCols() || ss.FixedCols());
}

void TQrlStringGrid::DrawSortIndicator(TCanvas *Canvas, int ACol, int Y, int X)
{
    if (!Canvas)
        return;
    const TSortSettings &ss = *d->sortSettings;
    TSortGlyphView v;
    v.indexShow = ss.IndexShow();
    v.indexColor = ss.IndexColor();
    const int pos = d->sortIndexes.FindIndex(ACol);
    if (pos >= 0) {
        v.indexPosition = pos + 1;
        v.indexNegative = !d->sortIndexes.SortDirections(pos);
    }
    v.descending = ss.Direction() == TSortDirection::sdDescending;
    v.upGlyph = &ss.UpGlyph();
    v.downGlyph = &ss.DownGlyph();
    v.indexUpGlyph = &ss.IndexUpGlyph();
    v.indexDownGlyph = &ss.IndexDownGlyph();
    v.fixedColor = FixedColor();
    v.rightToLeft = layoutDirection() == Qt::RightToLeft;
    // Columns are not mirrored on this platform, so the glyph mirrors inside its own header
    // cell; mirrored over the whole view it would land in another column.
    const plat::TGridCoord cell = MouseCoord(X, Y);
    const TRect r = cell.X >= 0 ? CellRect(cell.X, cell.Y) : TRect{};
    v.clientWidth = r.Left + r.Right;
    if (r.IsEmpty())
        v.rightToLeft = false;
    PaintSortIndicator(*Canvas, v, X, Y);
}

void TQrlStringGrid::TPaintPart::drawBackground(TQrlStringGrid &g,
                                                TCanvas &canvas,
                                                int ACol,
                                                int ARow,
                                                TGridDrawState AState,
                                                const TCellGraphic *graphic,
                                                const TRect &r)
{
    const TBackGround &bg = *g.d->backGround;
    const int fc = g.TBaseGrid::FixedCols();
    const int fr = g.TBaseGrid::FixedRows();
    const bool fixed = ACol < fc || ARow < fr;
    const auto admitted = [&](bool isFixed) {
        switch (bg.Cells()) {
        case TBackGroundCells::bcNormal:
            return !isFixed;
        case TBackGroundCells::bcFixed:
            return isFixed;
        default:
            return true;
        }
    };
    if (!admitted(fixed))
        return;
    const int rc = g.RealColIndex(ACol);
    const bool ownColor = rc >= 0 && ARow >= 0 && g.HasCellProperties(rc, ARow) &&
                          g.GetGridObject(rc, ARow)->BrushColor() != clNone;
    const bool selected = AState.Contains(TGridDrawStateItem::gdSelected);
    const bool focused = AState.Contains(TGridDrawStateItem::gdFocused);

    const TBackGroundDisplay mode = bg.Display();
    const bool gradient =
        mode == TBackGroundDisplay::bdGradientHorz || mode == TBackGroundDisplay::bdGradientVert;
    if (gradient) {
        bool plain = !ownColor;
        if (graphic) {
            switch (graphic->CellType()) {
            case TCellType::ctCheckBox:
            case TCellType::ctDataCheckBox:
            case TCellType::ctRadio:
            case TCellType::ctButton:
            case TCellType::ctRadioButton:
                plain = true;
                break;
            default:
                break;
            }
        }
        const bool selectionShows =
            g.ShowSelection() &&
            ((selected && !focused) ||
             (focused && g.Options().Contains(TGridOption::goDrawFocusSelected)));
        if (plain && !selectionShows) {
            const bool horz = mode == TBackGroundDisplay::bdGradientHorz;
            PaintBackgroundGradient(canvas, r, bg.Color(), bg.ColorTo(), horz,
                                    horz ? g.width() : g.height());
        }
    }

    if (bg.Bitmap().Empty() || ownColor || (selected && g.ShowSelection()))
        return;
    if (mode == TBackGroundDisplay::bdTile) {
        // The tiles run from the first admitted column and row.
        int ox = 0;
        for (int c = 0; c < ACol; ++c)
            if (admitted(c < fc))
                ox += g.ColWidths(c);
        int oy = 0;
        for (int rr = 0; rr < ARow; ++rr)
            if (admitted(rr < fr))
                oy += g.RowHeights(rr);
        PaintBackgroundTiled(canvas, bg.Bitmap(), r, ox, oy);
    } else {
        // A picture in a gradient mode stands fixed over the gradient.
        PaintBackgroundFixed(canvas, bg.Bitmap(), r, {bg.Left(), bg.Top()});
    }
}

void TQrlStringGrid::TPaintPart::drawTreeLines(TQrlStringGrid &g,
                                               TCanvas &canvas,
                                               int ARow,
                                               const TRect &r)
{
    const TCellNode &cn = *g.d->cellNode;
    // Node levels live in column 0's cell properties; rows without them are level 0.
    const auto level = [&g](int row) {
        return row < g.RowCount() && g.HasCellProperties(0, row)
                   ? g.GetGridObject(0, row)->NodeLevel()
                   : 0;
    };
    const int lastRow = g.RowCount() - 1 - g.d->fixedFooters;
    const int L = level(ARow);
    const int I = cn.NodeIndent();
    const int x0 = r.Left + L * I + I / 2 - I + 2;
    const int mid = (r.Top + r.Bottom) / 2;
    const bool hasNext = ARow < lastRow;
    const int next = hasNext ? level(ARow + 1) : 0;
    TPen &pen = canvas.Pen();
    pen.SetColor(cn.TreeColor());
    pen.SetWidth(1);
    if (L > 0) {
        canvas.MoveTo(x0, mid);
        canvas.LineTo(cn.ShowTreeFull() ? r.Right : r.Left + L * I + 4, mid);
    }
    if (!g.IsNode(g.RealRowIndex(ARow))) {
        canvas.MoveTo(x0, r.Top);
        canvas.LineTo(x0, hasNext && next >= L ? r.Bottom + 4 : mid);
    }
    for (int i = 1; i <= L; ++i) {
        const int x = x0 - i * I;
        canvas.MoveTo(x, r.Top);
        if (hasNext && next != 0) {
            canvas.LineTo(x, r.Bottom + 4);
        } else {
            canvas.LineTo(x, mid);
            if (i < L)
                canvas.LineTo(x + I, mid);
        }
    }
    pen.SetStyle(TPenStyle::psSolid);
}

void TQrlStringGrid::DrawCellContent(
    TCanvas *Canvas, int ACol, int ARow, const TRect &Rect, TGridDrawState State)
{
    RenderCell(Canvas, ACol, ARow, State, Rect);
}

void TQrlStringGrid::DrawCellBorders(TCanvas *Canvas, int ACol, int ARow, TRect ARect)
{
    TCanvas &canvas = *Canvas;
    TPen saved;
    saved.Assign(canvas.Pen());
    TCellBorders borders;
    CellBorderHook(RealColIndex(ACol), ARow, borders, &canvas.Pen());
    // Each side its own copy of the pen; the event may change any of them.
    TPen leftPen = canvas.Pen();
    TPen topPen = canvas.Pen();
    TPen rightPen = canvas.Pen();
    TPen bottomPen = canvas.Pen();
    if (OnGetCellBorderProp)
        OnGetCellBorderProp(this, ARow, RealColIndex(ACol), &leftPen, &topPen, &rightPen,
                            &bottomPen);
    if (borders.IsEmpty()) {
        canvas.Pen().Assign(saved);
        return;
    }
    const int h = (canvas.Pen().Width() + 1) / 2;
    const auto opts = Options();
    if (opts.Contains(TGridOption::goVertLine)) {
        ARect.Left += h;
        ARect.Right -= h;
    }
    if (opts.Contains(TGridOption::goHorzLine)) {
        ARect.Bottom -= h;
        if (borders.Contains(TCellBorder::cbTop))
            ARect.Top += h;
    }
    const int gl = GridLineWidth();
    if (borders.Contains(TCellBorder::cbLeft)) {
        canvas.Pen().Assign(leftPen);
        canvas.MoveTo(std::max(ARect.Left, 0), ARect.Top);
        canvas.LineTo(std::max(ARect.Left, 0), ARect.Bottom);
    }
    if (borders.Contains(TCellBorder::cbRight)) {
        canvas.Pen().Assign(rightPen);
        canvas.MoveTo(ARect.Right - 1, ARect.Top);
        canvas.LineTo(ARect.Right - 1, ARect.Bottom);
    }
    if (borders.Contains(TCellBorder::cbTop)) {
        canvas.Pen().Assign(topPen);
        const int y = gl == 0 ? ARect.Top + 1 : std::max(ARect.Top - gl, 0);
        canvas.MoveTo(ARect.Left, y);
        canvas.LineTo(ARect.Right, y);
    }
    if (borders.Contains(TCellBorder::cbBottom)) {
        canvas.Pen().Assign(bottomPen);
        canvas.MoveTo(ARect.Left - gl - 1, ARect.Bottom - 1);
        canvas.LineTo(ARect.Right, ARect.Bottom - 1);
    }
    canvas.Pen().Assign(saved);
}
