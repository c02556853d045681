// Layout, placement and drawing of one cell graphic.
#include "grid/display/QrlGraphicPaint.h"

#include "grid/model/QrlCellDrawer.h"
#include "grid/model/QrlFilePicture.h"
#include "grid/model/QrlGridDraw.h"
#include "grid/model/QrlGridLists.h"

#include <algorithm>
#include <cmath>

namespace {

// The graphic's top (and for vaFull its height) in the cell rectangle r.
void placeVertically(TCellVAlign va, const TRect &r, int &y, int &H)
{
    const int height = r.Height();
    switch (va) {
    case TCellVAlign::vaBottom:
        y = r.Bottom - 1 - H;
        break;
    case TCellVAlign::vaCenter:
        y = H < height ? r.Top + (height - H) / 2 : r.Top + 1;
        break;
    case TCellVAlign::vaUnderText:
        y = r.Bottom - H;
        break;
    case TCellVAlign::vaFull:
        y = r.Top;
        H = height;
        break;
    default:
        break;
    }
}

bool isCheckKind(TCellType t)
{
    switch (t) {
    case TCellType::ctCheckBox:
    case TCellType::ctDataCheckBox:
    case TCellType::ctVirtCheckBox:
    case TCellType::ctRowCheckBox:
    case TCellType::ctRadioButton:
    case TCellType::ctTriStateCheckBox:
        return true;
    default:
        return false;
    }
}

// Check boxes whose cell text is the data, not a caption.
bool isDataCheck(TCellType t)
{
    return t == TCellType::ctDataCheckBox || t == TCellType::ctVirtCheckBox ||
           t == TCellType::ctRowCheckBox;
}

TColor refColor(const TCellRef &r)
{
    return static_cast<TColor>(r.IntValue());
}

// The text colour that stands out on a bar colour: every colour bit inverted. System colours
// are resolved first, so the result is a plain colour.
TColor invertColor(TColor c)
{
    return ~ColorToRGB(c) & 0x00FFFFFFu;
}

class TBrushKeeper
{
public:
    explicit TBrushKeeper(TCanvas &c) : m_canvas(c), m_brush(c.Brush()), m_pen(c.Pen()) {}
    ~TBrushKeeper()
    {
        m_canvas.Brush().Assign(m_brush);
        m_canvas.Pen().Assign(m_pen);
    }
    TBrushKeeper(const TBrushKeeper &) = delete;
    TBrushKeeper &operator=(const TBrushKeeper &) = delete;

private:
    TCanvas &m_canvas;
    TBrush m_brush;
    TPen m_pen;
};

// The check-box and radio look when the themed style is asked for: the classic path stands in.
TControlStyle effectiveStyle(TControlStyle s)
{
    return s;
}

void drawResource(TCanvas &Canvas, const TRect &box, const char *name, TSize size)
{
    // Check and radio glyphs leave their transparent colour out.
    DrawResourceBitmap(Canvas, clNone, Bounds(box.Left, box.Top, size.cx, size.cy),
                       QString::fromLatin1(name));
}

// A radio glyph shrunk into a Size square when it is larger; nearest-pixel scaling keeps the
// transparent colour exact.
QImage fitGlyph(const QImage &img, int Size)
{
    if (img.isNull() || (img.width() <= Size && img.height() <= Size))
        return img;
    return img.scaled(Size, Size, Qt::KeepAspectRatio, Qt::FastTransformation);
}

void drawRadioResource(TCanvas &Canvas, int x, int y, int Size, const char *name)
{
    const QImage img = fitGlyph(ResourceGlyph(QString::fromLatin1(name)), Size);
    if (!img.isNull())
        DrawBitmapTransparent(Canvas, img, clNone, Bounds(x, y, img.width(), img.height()));
}

void drawBitmapAt(TCanvas &Canvas, int x, int y, TBitmap &bmp, bool transparent)
{
    if (bmp.Empty())
        return;
    if (transparent)
        Canvas.DrawTransparent(x, y, bmp.Image(), bmp.TransparentColor());
    else
        Canvas.Draw(x, y, bmp.Image());
}

// Glyph bitmaps of ControlLook are const there; drawing needs the image only.
void drawGlyphTransparent(TCanvas &Canvas, int x, int y, const TBitmap &glyph)
{
    if (glyph.Empty())
        return;
    TBitmap copy(glyph);
    Canvas.DrawTransparent(x, y, copy.Image(), copy.TransparentColor());
}

void drawCorvaneCheck(TCanvas &Canvas, const TRect &r, bool checked, bool active, TColor mark)
{
    Canvas.Brush().SetColor(active ? clBtnFace : clBtnShadow);
    Canvas.Pen().SetColor(clBtnFace);
    Canvas.Pen().SetWidth(1);
    Canvas.Rectangle(r);
    Canvas.Pen().SetColor(clBtnHighlight);
    Canvas.MoveTo(r.Left, r.Bottom - 1);
    Canvas.LineTo(r.Left, r.Top);
    Canvas.LineTo(r.Right - 1, r.Top);
    Canvas.Pen().SetColor(clBtnShadow);
    Canvas.LineTo(r.Right - 1, r.Bottom - 1);
    Canvas.LineTo(r.Left, r.Bottom - 1);
    if (!checked)
        return;
    // A two-pixel tick: left middle, down to the bottom third, up to the top right.
    Canvas.Pen().SetColor(active ? mark : TColor(0x808080));
    Canvas.Pen().SetWidth(2);
    const int w = r.Width();
    const int h = r.Height();
    Canvas.Polyline({{r.Left + w / 4, r.Top + h / 2},
                     {r.Left + w / 2 - 1, r.Bottom - h / 4 - 1},
                     {r.Right - w / 4, r.Top + h / 4}});
    Canvas.Pen().SetWidth(1);
}

// The diamond is laid out on a 16-pixel square; a smaller Size shrinks it to fit.
void drawCorvaneRadio(TCanvas &Canvas, int x, int y, int Size, bool on, TColor mark)
{
    auto at = [Size](int v) { return static_cast<int>(std::lround(v * Size / 16.0)); };
    const std::vector<TPoint> d{{x + at(2), y + at(8)},
                                {x + at(8), y + at(2)},
                                {x + at(14), y + at(8)},
                                {x + at(8), y + at(14)}};
    Canvas.Brush().SetColor(clBtnFace);
    Canvas.Pen().SetColor(clBtnFace);
    Canvas.Polygon(d);
    // Lower-left edges grey and upper-right white when on, the other way round when off.
    const TColor lowerLeft = on ? TColor(0x808080) : clWhite;
    const TColor upperRight = on ? clWhite : TColor(0x808080);
    Canvas.Pen().SetColor(lowerLeft);
    Canvas.Polyline({d[0], d[3], d[2]});
    Canvas.Pen().SetColor(upperRight);
    Canvas.Polyline({d[0], d[1], d[2]});
    if (on) {
        Canvas.Brush().SetColor(mark);
        Canvas.Pen().SetColor(mark);
        Canvas.Polygon({{x + at(5), y + at(8)},
                        {x + at(8), y + at(5)},
                        {x + at(11), y + at(8)},
                        {x + at(8), y + at(11)}});
    }
}

TStyledProgress styledFrom(const TGridProgressAppearance &a, TColor gridBrush, const TFont &font)
{
    TStyledProgress p;
    p.Level0Color = a.Level0Color();
    p.Level0ColorTo = a.Level0ColorTo();
    p.Level1Color = a.Level1Color();
    p.Level1ColorTo = a.Level1ColorTo();
    p.Level2Color = a.Level2Color();
    p.Level2ColorTo = a.Level2ColorTo();
    p.Level3Color = a.Level3Color();
    p.Level3ColorTo = a.Level3ColorTo();
    p.Level1Perc = a.Level1Perc();
    p.Level2Perc = a.Level2Perc();
    p.ShowBorder = a.ShowBorder();
    p.BorderColor = a.BorderColor();
    p.Stacked = a.Stacked();
    p.ShowPercentage = a.ShowPercentage();
    p.CompletionSmooth = a.CompletionSmooth();
    p.ShowGradient = a.ShowGradient();
    p.Steps = a.Steps();
    p.CompleteFontColor = a.CompleteFontColor();
    p.BackgroundColor = a.UnCompleteColor() == clNone ? gridBrush : a.UnCompleteColor();
    p.Font.Assign(font);
    return p;
}

void drawNode(TCanvas &Canvas,
              TRect r,
              const TCellGraphic &g,
              const TGraphicGridView &Grid,
              const TGraphicCellView &Cell)
{
    if (!Grid.node)
        return;
    const TCellNode &n = *Grid.node;
    const int indent = n.NodeIndent();
    r.Left = Cell.nodeIndent - indent + Cell.rect.Left;
    if (n.ShowTree() && Cell.dataRow) {
        Canvas.Pen().SetColor(n.TreeColor());
        Canvas.Pen().SetWidth(1);
        int x = r.Left + indent / 2 + 2;
        if (Cell.fixed && !Grid.flat && Grid.softGridLines)
            ++x;
        const bool collapsed = g.CellBoolean();
        const int mid = (r.Top + r.Bottom) / 2;
        // An expanded node whose next row is indented less ends its branch here.
        if (Cell.nextNodeIndent > 0 && (collapsed || Cell.nextNodeIndent >= Cell.nodeIndent)) {
            Canvas.MoveTo(x, mid);
            Canvas.LineTo(x, r.Bottom);
        }
        if (Cell.prevNodeIndent >= Cell.nodeIndent) {
            Canvas.MoveTo(x, r.Top);
            Canvas.LineTo(x, r.Top + 6);
        }
    }
    r.Left = Cell.rect.Left + Cell.nodeIndent - indent / 2 - 4;

    TColor bk = Canvas.Brush().Color();
    if (Canvas.Brush().Style() == TBrushStyle::bsClear || bk == clNone)
        bk = Grid.hasFixedCols ? Grid.fixedColor : Grid.gridColor;
    if ((Cell.selected && Grid.showSelection) || Cell.disjunctMarked)
        bk = Grid.selectionColor;

    const bool collapsed = g.CellBoolean();
    const int h = r.Height();
    switch (n.NodeType()) {
    case TNodeType::cnLeaf: {
        const TRect box = Bounds(r.Left, r.Top + (h - 12) / 2, 16, 16);
        DrawResourceBitmap(Canvas, bk, box,
                           collapsed ? QStringLiteral("QSGLEAFCLOSE")
                                     : QStringLiteral("QSGLEAFOPEN"));
        return;
    }
    case TNodeType::cnXP: {
        const TRect box = Bounds(r.Left + 4, r.Top + (h - 10) / 2, 9, 9);
        DrawResourceBitmap(Canvas, bk, box,
                           collapsed ? QStringLiteral("XPNODEC") : QStringLiteral("XPNODEO"));
        return;
    }
    case TNodeType::cnGlyph:
        if (!n.ExpandGlyph().Empty() && !n.ContractGlyph().Empty()) {
            TBitmap glyph(collapsed ? n.ContractGlyph() : n.ExpandGlyph());
            DrawBitmapTransparent(
                Canvas, glyph, bk,
                Bounds(r.Left, r.Top + (h - glyph.Height()) / 2, glyph.Width(), glyph.Height()));
            return;
        }
        break;
    case TNodeType::cn3D: {
        // The raised plate covers the glyph's column, not the text beside it.
        TRect f = r;
        f.Right = std::min(r.Right, r.Left + 16);
        Canvas.Brush().SetColor(n.Color());
        Canvas.FillRect(f);
        Canvas.Frame3D(f, clWhite, 0x808080, 1);
        break;
    }
    default:
        break;
    }
    const TRect box = Bounds(r.Left + 4, r.Top + (h - 8) / 2, 8, 8);
    Canvas.Brush().SetColor(n.Color());
    if (n.NodeType() == TNodeType::cnFlat) {
        Canvas.Pen().SetColor(n.NodeColor());
        Canvas.Pen().SetWidth(1);
        Canvas.Rectangle(box);
        const int cy = box.Top + 4;
        const int cx = box.Left + 4;
        Canvas.MoveTo(box.Left + 2, cy);
        Canvas.LineTo(box.Right - 2, cy);
        if (collapsed) {
            Canvas.MoveTo(cx, box.Top + 2);
            Canvas.LineTo(cx, box.Bottom - 2);
        }
    } else {
        Canvas.FillRect(box);
        Canvas.DrawEdge(box, collapsed ? BDR_RAISEDINNER : BDR_SUNKENOUTER,
                        BF_RECT | (collapsed ? BF_SOFT : 0u));
    }
}

void drawButton(TCanvas &Canvas,
                const TRect &box,
                const TCellGraphic &g,
                const TGraphicGridView &Grid,
                const TGraphicCellView &Cell)
{
    const TControlLook &look = *Grid.look;
    const TCellType kind = g.CellType();
    const bool enabled = Cell.enabled || look.NoDisabledButtonLook();
    int style = look.FlatButton() ? bstFlat : bstThemed;
    if (Grid.flat && Grid.toned)
        style = bstCustom;
    int state = g.CellBoolean() ? bsDownState : Cell.hotButton ? bsHotState : bsNormalState;
    if (!enabled && kind != TCellType::ctExpand)
        state = bsDisabledState;
    Canvas.Brush().SetColor(clBtnFace);
    DrawPushButton(Canvas, Grid.window, box, Grid.tones, state, style);

    TRect content = box;
    if (state == bsDownState)
        OffsetRect(content, 1, 1);

    if (kind == TCellType::ctExpand) {
        Canvas.Pen().SetColor(clBlack);
        Canvas.Pen().SetWidth(1);
        const int r = content.Right;
        const int t = content.Top;
        if (g.CellVar().toBool())
            Canvas.Polyline({{r - 10, t + 8}, {r - 7, t + 5}, {r - 3, t + 9}});
        else
            Canvas.Polyline({{r - 10, t + 5}, {r - 7, t + 8}, {r - 3, t + 4}});
        return;
    }

    const QString caption = g.CellText();
    if (kind == TCellType::ctBitButton) {
        if (TBitmap *glyph = g.CellBitmap().As<TBitmap>(); glyph && !glyph->Empty()) {
            const int gw = glyph->Width();
            const bool left = !caption.isEmpty() || gw >= content.Width();
            const int x = left ? content.Left + 3 : content.Left + (content.Width() - gw) / 2;
            const int y = content.Top + (content.Height() - glyph->Height()) / 2;
            drawBitmapAt(Canvas, x, y, *glyph, true);
            if (left)
                content.Left = x + gw + 4;
        }
    }
    if (caption.isEmpty())
        return;
    if (style == bstCustom) {
        const TColorTone &tone = state == bsDownState       ? Grid.tones.Selected
                                 : state == bsHotState      ? Grid.tones.Hover
                                 : state == bsDisabledState ? Grid.tones.Disabled
                                                            : Grid.tones.Background;
        Canvas.Font().SetColor(tone.TextColor);
    }
    Canvas.SetBkMode(TBkMode::bkTransparent);
    const bool multi = caption.contains(QChar(u'\r')) || caption.contains(QChar(u'\n'));
    Canvas.DrawText(caption, content,
                    DT_CENTER | DT_END_ELLIPSIS | DT_NOPREFIX |
                        (multi ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER)));
}

void drawRotated(TCanvas &Canvas,
                 const TRect &rect,
                 const TCellGraphic &g,
                 const TGraphicCellView &Cell)
{
    // The text turns counter-clockwise about its start point (its top-left corner). The turned
    // text's bounding box is placed by the cell's alignments; the start follows from it.
    TRect r = rect;
    InflateRect(r, -2, -2);
    const int angle = ((g.CellAngle() % 360) + 360) % 360;
    TFont keep;
    keep.Assign(Canvas.Font());
    const TSize ext = Canvas.TextExtent(Cell.text);
    const double rad = angle * M_PI / 180.0;
    const double c = std::cos(rad);
    const double s = std::sin(rad);
    const double xs[] = {0, ext.cx * c, ext.cy * s, ext.cx * c + ext.cy * s};
    const double ys[] = {0, -ext.cx * s, ext.cy * c, -ext.cx * s + ext.cy * c};
    const double minX = *std::min_element(std::begin(xs), std::end(xs));
    const double maxX = *std::max_element(std::begin(xs), std::end(xs));
    const double minY = *std::min_element(std::begin(ys), std::end(ys));
    const double maxY = *std::max_element(std::begin(ys), std::end(ys));
    const int bw = static_cast<int>(std::lround(maxX - minX));
    const int bh = static_cast<int>(std::lround(maxY - minY));
    int left = r.Left;
    if (Cell.hAlign == TAlignment::taRightJustify)
        left = r.Right - bw;
    else if (Cell.hAlign == TAlignment::taCenter)
        left = r.Left + (r.Width() - bw) / 2;
    int top = r.Top;
    if (Cell.vAlign == TVAlignment::vtaBottom)
        top = r.Bottom - bh;
    else if (Cell.vAlign == TVAlignment::vtaCenter)
        top = r.Top + (r.Height() - bh) / 2;
    const int x = left - static_cast<int>(std::lround(minX));
    const int y = top - static_cast<int>(std::lround(minY));
    Canvas.Font().SetOrientation(angle * 10);
    Canvas.SetBkMode(TBkMode::bkTransparent);
    Canvas.TextOut(x, y, Cell.text);
    Canvas.Font().Assign(keep);
    if (Cell.sortIndicator) {
        // The sort glyph of a sorted header: a small triangle.
        const int sx = rect.Right - 10;
        const int sy = rect.Top + 8;
        Canvas.Pen().SetColor(clGray);
        Canvas.Brush().SetColor(clGray);
        if (Cell.sortAscending)
            Canvas.Polygon({{sx - 3, sy + 4}, {sx + 3, sy + 4}, {sx, sy}});
        else
            Canvas.Polygon({{sx - 3, sy}, {sx + 3, sy}, {sx, sy + 4}});
    }
}

} // namespace

TGraphicLayout GetGraphicLayout(const TCellGraphic *Graphic,
                                const TGraphicGridView &Grid,
                                const TGraphicCellView &Cell)
{
    TGraphicLayout l;
    if (!Graphic)
        return l;
    const TCellGraphic &g = *Graphic;
    l.hAlign = g.CellHAlign();
    l.vAlign = g.CellVAlign();
    const int checkSize = Grid.look ? Grid.look->CheckSize() : 15;
    const int radioSize = Grid.look ? Grid.look->RadioSize() : 10;
    auto setSize = [&](int w, int h) {
        l.width = w;
        l.height = h;
    };
    switch (g.CellType()) {
    case TCellType::ctBitmap:
        setSize(g.CellBitmap().Size().cx, g.CellBitmap().Size().cy);
        break;
    case TCellType::ctIcon:
        setSize(g.CellIcon().Size().cx, g.CellIcon().Size().cy);
        break;
    case TCellType::ctImageList:
    case TCellType::ctDataImage:
        if (Grid.images)
            setSize(Grid.images->Width(), Grid.images->Height());
        l.textVisible = g.CellType() != TCellType::ctDataImage;
        break;
    case TCellType::ctCheckBox:
    case TCellType::ctTriStateCheckBox:
        setSize(checkSize, checkSize);
        break;
    case TCellType::ctDataCheckBox:
    case TCellType::ctVirtCheckBox:
    case TCellType::ctRowCheckBox:
        setSize(checkSize, checkSize);
        l.textVisible = false;
        break;
    case TCellType::ctRotated:
    case TCellType::ctRadio:
    case TCellType::ctProgress:
    case TCellType::ctRangeIndicator:
    case TCellType::ctXPProgress:
        l.textVisible = false;
        break;
    case TCellType::ctImages:
        if (Grid.images) {
            const TIntList *list = g.CellBitmap().As<TIntList>();
            const int n = list ? list->Count() : 0;
            if (g.CellBoolean())
                setSize(n * Grid.images->Width(), Grid.images->Height());
            else
                setSize(Grid.images->Width(), n * Grid.images->Height());
        }
        break;
    case TCellType::ctPicture:
    case TCellType::ctFilePicture: {
        const int ox = Grid.xyOffsetTopLeftOnly ? Grid.xyOffset.X : 2 * Grid.xyOffset.X;
        const int oy = Grid.xyOffsetTopLeftOnly ? Grid.xyOffset.Y : 2 * Grid.xyOffset.Y;
        const TPoint p = g.GetPictureSize(Cell.rect.Width() - ox - 1, Cell.rect.Height() - oy - 1,
                                          !Cell.text.isEmpty());
        setSize(p.X, p.Y);
        break;
    }
    case TCellType::ctButton:
    case TCellType::ctBitButton:
        setSize(g.CellIndex() & 0xFFFF, (g.CellIndex() >> 16) & 0xFFFF);
        break;
    case TCellType::ctProgressPie:
        setSize(20, 20);
        break;
    case TCellType::ctInterface:
        if (const ICellDrawer *o = g.CellBitmap().As<ICellDrawer>())
            setSize(o->CellWidth(), o->CellHeight());
        break;
    case TCellType::ctRadioButton:
        setSize(radioSize + 4, radioSize + 4);
        break;
    case TCellType::ctShape: {
        const int s = Cell.rowHeight - 2 * Grid.xyOffset.Y;
        setSize(s, s);
        break;
    }
    case TCellType::ctRating:
        setSize(g.CellAngle() * 18, 16);
        l.textVisible = false;
        break;
    default:
        break;
    }
    return l;
}

TGraphicPaintResult RenderCellGraphic(TCanvas &Canvas,
                                      const TCellGraphic &Graphic,
                                      const TGraphicLayout &Layout,
                                      const TGraphicGridView &Grid,
                                      const TGraphicCellView &Cell)
{
    const TCellGraphic &g = Graphic;
    const TCellType kind = g.CellType();
    TGraphicPaintResult res;
    TRect r = Cell.rect;
    if (kind != TCellType::ctNode && kind != TCellType::ctProgress &&
        kind != TCellType::ctRangeIndicator && kind != TCellType::ctXPProgress) {
        InflateRect(r, -(Grid.xyOffset.X - 1), -(Grid.xyOffset.Y - 1));
    }
    res.rect = r;
    if (!Grid.look)
        return res;
    const TControlLook &look = *Grid.look;

    const int T = Cell.textWidth > 0 ? Cell.textWidth + 2 : 0;
    int W = Layout.width;
    int H = Layout.height;
    const int width = r.Width();
    int x = r.Left + 1;
    int y = r.Top + 1;

    if (isCheckKind(kind)) {
        TVAlignment va = Cell.vAlign;
        TCellVAlign cva = Layout.vAlign;
        if (va != Grid.gridVAlign)
            cva = va == TVAlignment::vtaTop      ? TCellVAlign::vaTop
                  : va == TVAlignment::vtaCenter ? TCellVAlign::vaCenter
                                                 : TCellVAlign::vaBottom;
        placeVertically(cva, r, y, H);
        const bool textless = isDataCheck(kind) || !Layout.textVisible || T == 0;
        switch (Cell.hAlign) {
        case TAlignment::taRightJustify:
            x = r.Right - 1 - W - (isDataCheck(kind) ? 0 : T);
            break;
        case TAlignment::taCenter:
            x = textless ? r.Left + (width - W) / 2
                         : r.Left + std::max(0, r.Right - T - r.Left) / 2 - W;
            break;
        default:
            break;
        }
        x = std::max(x, r.Left + 1);
    } else {
        const bool leftText = Cell.hAlign == TAlignment::taLeftJustify;
        const bool rightText = Cell.hAlign == TAlignment::taRightJustify;
        switch (Layout.hAlign) {
        case TCellHAlign::haRight:
            x = r.Right - 1 - W;
            break;
        case TCellHAlign::haCenter:
            x = W < width ? r.Left + (width - W) / 2 : r.Left + 1;
            break;
        case TCellHAlign::haBeforeText:
            x = leftText    ? r.Left + 1
                : rightText ? r.Right - T - W
                            : std::max(r.Left + 1, r.Left + (width - T - W) / 2);
            break;
        case TCellHAlign::haAfterText:
            x = leftText    ? r.Left + T
                : rightText ? r.Right - 1 - W
                            : std::max(r.Left + 1, r.Left + T + (width - T - W) / 2);
            break;
        case TCellHAlign::haFull:
            x = r.Left;
            W = width;
            break;
        default:
            break;
        }
        placeVertically(Layout.vAlign, r, y, H);
    }
    TRect box = Bounds(x, y, W, H);
    res.box = box;
    res.drawn = true;

    TBrushKeeper keep(Canvas);
    const bool enabled = Cell.enabled;
    switch (kind) {
    case TCellType::ctCheckBox:
    case TCellType::ctRowCheckBox:
        RenderCheck(Canvas, box, g.CellBoolean(), TCheckBoxState::cbUnchecked, false,
                    look.ControlStyle(), g.CellAngle() > 0, enabled, look);
        break;
    case TCellType::ctDataCheckBox:
    case TCellType::ctVirtCheckBox:
        // Only the exact check-true text checks the box.
        RenderCheck(Canvas, box, Cell.text == Cell.checkTrue, TCheckBoxState::cbUnchecked, false,
                    look.ControlStyle(), false, enabled, look);
        break;
    case TCellType::ctTriStateCheckBox:
        RenderCheck(Canvas, box, false, g.CellCheckBoxState(), true, look.ControlStyle(),
                    g.CellAngle() > 0, enabled, look);
        break;
    case TCellType::ctRadioButton: {
        box = Bounds(x + Grid.xyOffset.X, y, look.RadioSize(), look.RadioSize());
        res.box = box;
        RenderRadio(Canvas, box, false, 1.0, look.ControlStyle(), false, nullptr, !enabled, false,
                    g.CellBoolean() ? 0 : -1, 1, look);
        break;
    }
    case TCellType::ctRadio:
        RenderRadio(Canvas, r, false, 1.0, look.ControlStyle(), Cell.selected,
                    Cell.hasRadioItems ? &Cell.radioItems : nullptr, !enabled, g.CellBoolean(),
                    g.CellIndex(), static_cast<int>(Cell.radioItems.size()), look, Cell.text,
                    Grid.showSelection, Grid.selectionTextColor);
        break;
    case TCellType::ctBitmap:
        if (TBitmap *bmp = g.CellBitmap().As<TBitmap>()) {
            // Right-to-left windows mirror the cell, so the box's right edge is its start.
            const int bx = Grid.rightToLeft ? box.Right - bmp->Width() : box.Left;
            drawBitmapAt(Canvas, bx, box.Top, *bmp, g.CellTransparent());
        }
        break;
    case TCellType::ctIcon:
        if (TBitmap *icon = g.CellIcon().As<TBitmap>())
            drawBitmapAt(Canvas, box.Left, box.Top, *icon, true);
        break;
    case TCellType::ctImageList:
        if (Grid.images)
            Grid.images->Draw(Canvas, box.Left, box.Top, g.CellIndex());
        break;
    case TCellType::ctDataImage:
        if (Grid.images) {
            const int idx = Cell.intValue + g.CellIndex();
            if (idx >= 0 && idx < Grid.images->Count())
                Grid.images->Draw(Canvas, box.Left, box.Top, idx);
        }
        break;
    case TCellType::ctImages:
        if (Grid.images) {
            if (const TIntList *list = g.CellBitmap().As<TIntList>()) {
                int px = box.Left;
                int py = box.Top;
                for (int i = 0; i < list->Count(); ++i) {
                    Grid.images->Draw(Canvas, px, py, list->Items(i));
                    if (g.CellBoolean())
                        px += Grid.images->Width();
                    else
                        py += Grid.images->Height();
                }
            }
        }
        break;
    case TCellType::ctPicture:
        if (TBitmap *pic = g.CellBitmap().As<TBitmap>(); pic && !pic->Empty()) {
            if (g.CellAngle() != 0)
                Canvas.StretchDraw(box, pic->Image());
            else
                drawBitmapAt(Canvas, box.Left, box.Top, *pic, g.CellTransparent());
        }
        break;
    case TCellType::ctFilePicture:
        if (const TFilePicture *fp = g.CellBitmap().As<TFilePicture>()) {
            try {
                fp->DrawPicture(Canvas, box);
            } catch (...) {
                // A file that went away since it was measured shows nothing.
            }
        }
        break;
    case TCellType::ctRotated:
        drawRotated(Canvas, r, g, Cell);
        break;
    case TCellType::ctNode:
        drawNode(Canvas, r, g, Grid, Cell);
        break;
    case TCellType::ctProgress: {
        const double value = Cell.floatValue;
        const TControlStyle cs = look.ControlStyle();
        if ((cs == TControlStyle::csWinXP || cs == TControlStyle::csTheme) && look.ProgressXP()) {
            // Themed bar: the classic sunken trough stands in for the theme part.
            TRect bar = r;
            InflateRect(bar, -look.ProgressMarginX(), -look.ProgressMarginY());
            Canvas.DrawEdge(bar, BDR_SUNKENOUTER, BF_RECT);
            InflateRect(bar, -2, -2);
            const double pc = std::clamp(value, 0.0, 100.0);
            TRect chunk = bar;
            chunk.Right = bar.Left + static_cast<int>(std::lround(bar.Width() * pc / 100.0));
            Canvas.Brush().SetColor(clHighlight);
            if (!chunk.IsEmpty())
                Canvas.FillRect(chunk);
        } else {
            TRect bar = r;
            InflateRect(bar, -2, -2);
            const TColor fg = refColor(g.CellBitmap());
            const TColor bk = refColor(g.CellIcon());
            const bool own = g.CellBoolean();
            DrawProgressBar(Canvas, bar, fg, false, look.ProgressBorderColor(), g.CellText(),
                            g.CellErrLen(), g.CellErrFrom(), look.ProgressMarginY(),
                            look.ProgressMarginX(), value,
                            own ? TColor(g.CellIndex()) : invertColor(fg), bk,
                            own ? TColor(g.CellAngle()) : invertColor(bk));
        }
        break;
    }
    case TCellType::ctXPProgress: {
        if (!Grid.progress)
            break;
        TRect bar = r;
        InflateRect(bar, -look.ProgressMarginX(), -look.ProgressMarginY());
        bar.Right -= 1;
        bar.Bottom -= 1;
        // An empty range (Max = Min) shows an empty bar instead of dividing by zero.
        const int span = g.CellErrLen() - g.CellErrFrom();
        const int pc = span == 0 ? 0
                                 : static_cast<int>(std::lround(
                                       std::abs(Cell.floatValue - g.CellErrFrom()) / span * 100.0));
        DrawStyledProgress(Canvas, bar, pc,
                           styledFrom(*Grid.progress, Grid.gridColor, Canvas.Font()));
        break;
    }
    case TCellType::ctProgressPie:
        DrawProgressPie(Canvas, Bounds(box.Left, box.Top, 20, 20), refColor(g.CellBitmap()), false,
                        g.CellAngle());
        break;
    case TCellType::ctRangeIndicator: {
        TRect bar = r;
        InflateRect(bar, -look.ProgressMarginX(), -look.ProgressMarginY());
        DrawRangeIndicator(Canvas, bar, Cell.intValue, refColor(g.CellIcon()),
                           refColor(g.CellBitmap()), g.CellBoolean(), g.CellIndex());
        break;
    }
    case TCellType::ctComment: {
        if (look.CommentColor() == clNone)
            break;
        const TColor c = static_cast<TColor>(g.CellAngle()) != clNone ? TColor(g.CellIndex())
                                                                      : look.CommentColor();
        const int ox = Grid.xyOffset.X;
        const int top = r.Top - Grid.xyOffset.Y + 1;
        Canvas.Brush().SetColor(c);
        Canvas.Pen().SetColor(c);
        Canvas.Polygon({{r.Right + ox - 8, top},
                        {r.Right + ox - 3, top},
                        {r.Right + ox - 3, r.Top - Grid.xyOffset.Y + 6}});
        break;
    }
    case TCellType::ctButton:
    case TCellType::ctBitButton:
        drawButton(Canvas, box, g, Grid, Cell);
        break;
    case TCellType::ctExpand:
        box = Rect(r.Right - 13, r.Top, r.Right, r.Top + 13);
        res.box = box;
        drawButton(Canvas, box, g, Grid, Cell);
        break;
    case TCellType::ctInterface:
        if (ICellDrawer *o = g.CellBitmap().As<ICellDrawer>())
            o->DrawCell(Canvas, Rect(r.Left - 1, r.Top - 1, r.Right, r.Bottom), Cell.owner,
                        Cell.selected, Cell.row, Cell.col);
        break;
    case TCellType::ctShape:
        // The fill is the shape's fill colour (CellIndex) and the outline its line colour.
        DrawShape(Canvas, box.Left, box.Top, refColor(g.CellBitmap()), TColor(g.CellIndex()),
                  static_cast<TCellShape>(g.CellAngle() & 0xFF), box.Height() - 1, box.Width() - 1);
        break;
    case TCellType::ctRating: {
        const double value = static_cast<int>(2 * Cell.floatValue) / 2.0;
        const TColor full = TColor(g.CellIndex());
        const TColor empty = refColor(g.CellBitmap());
        for (int i = 0; i < g.CellAngle(); ++i) {
            const int sx = box.Left + i * 18;
            DrawShape(Canvas, sx, box.Top, i + 1 > value ? empty : full,
                      i + 1 > value ? empty : full, TCellShape::csStar, 16, 16);
            if (i < value && value < i + 1)
                DrawShape(Canvas, sx, box.Top, full, full, TCellShape::csHalfStar, 16, 16);
        }
        break;
    }
    default:
        res.drawn = false;
        break;
    }
    return res;
}

void RenderCheck(TCanvas &Canvas,
                 const TRect &Rect,
                 bool Checked,
                 TCheckBoxState State,
                 bool TriState,
                 TControlStyle Style,
                 bool Grayed,
                 bool Enabled,
                 const TControlLook &Look)
{
    const bool active = Enabled || Look.NoDisabledCheckRadioLook() || Look.CheckAlwaysActive();
    if (TriState) {
        Checked = State == TCheckBoxState::cbChecked;
        Grayed = State == TCheckBoxState::cbGrayed;
    }
    const int cs = Look.CheckSize();
    switch (effectiveStyle(Style)) {
    case TControlStyle::csWinXP:
        drawResource(Canvas, Rect,
                     Checked ? (active ? "QSGCHK05" : "QSGCHK07")
                             : (active ? "QSGCHK06" : "QSGCHK08"),
                     {16, 16});
        break;
    case TControlStyle::csQuorl:
        drawResource(Canvas, Rect,
                     Checked ? (active ? "QSGCHK01" : "QSGCHK03")
                             : (active ? "QSGCHK02" : "QSGCHK04"),
                     {20, 20});
        break;
    case TControlStyle::csCorvane:
        drawCorvaneCheck(Canvas, Rect, Checked, active, Look.Color());
        break;
    case TControlStyle::csGlyph:
        drawGlyphTransparent(Canvas, Rect.Left, Rect.Top,
                             Checked ? Look.CheckedGlyph() : Look.UnCheckedGlyph());
        break;
    case TControlStyle::csTheme: {
        // No visual styles here: the classic box in a CheckSize square at the top-left.
        std::uint32_t st = DFCS_BUTTONCHECK;
        if (Grayed)
            st |= DFCS_BUTTON3STATE | DFCS_CHECKED;
        else if (Checked)
            st |= DFCS_CHECKED;
        if (!active)
            st |= DFCS_INACTIVE;
        Canvas.DrawFrameControl(Bounds(Rect.Left, Rect.Top, cs, cs), DFC_BUTTON, st);
        break;
    }
    case TControlStyle::csClassic:
    case TControlStyle::csFlat: {
        std::uint32_t st = DFCS_BUTTONCHECK;
        if (Grayed)
            st |= DFCS_BUTTON3STATE | DFCS_CHECKED;
        else if (Checked)
            st |= DFCS_CHECKED;
        if (Style == TControlStyle::csFlat)
            st |= DFCS_FLAT;
        if (!active)
            st |= DFCS_INACTIVE;
        const TRect sq = Bounds(Rect.Left + (Rect.Width() - cs) / 2,
                                Rect.Top + (Rect.Height() - cs) / 2, cs, cs);
        Canvas.DrawFrameControl(sq, DFC_BUTTON, st);
        break;
    }
    }
}

void RenderRadio(TCanvas &Canvas,
                 const TRect &Rect,
                 bool Reverse,
                 double Scale,
                 TControlStyle Style,
                 bool Selected,
                 const QStringList *Items,
                 bool Disabled,
                 bool Horizontal,
                 int Index,
                 int Count,
                 const TControlLook &Look,
                 const QString &CellText,
                 bool ShowSelection,
                 TColor SelectionTextColor)
{
    if (Look.NoDisabledCheckRadioLook() || Look.RadioAlwaysActive())
        Disabled = false;
    if (Count <= 0)
        return;
    const TColor keepFont = Canvas.Font().Color();
    if (Selected && ShowSelection)
        Canvas.Font().SetColor(SelectionTextColor);
    Canvas.SetBkMode(TBkMode::bkTransparent);
    const int rs = Look.RadioSize();
    const int textH = Canvas.TextHeight(QStringLiteral("gh"));
    const bool classic = Style == TControlStyle::csClassic || Style == TControlStyle::csFlat;
    const bool bitmapStyle = Style == TControlStyle::csWinXP || Style == TControlStyle::csQuorl ||
                             Style == TControlStyle::csGlyph;
    const bool captions = Items && Items->size() >= Count;
    // A lone glyph without caption (a radio button cell) has only its box: the glyph is
    // shrunk to fit and centred there so it never runs into the cell text beside it.
    const bool lone = Count == 1 && !captions && !Horizontal;
    const int loneRoom = std::max(0, std::min(Rect.Width(), Rect.Height()));
    int captionsSoFar = 0;
    for (int r = 1; r <= Count; ++r) {
        const QString caption = captions ? Items->at(r - 1) : QString();
        bool on = r == Index + 1;
        if (Index == -1 && Items)
            on = captions && caption == CellText;
        if (classic) {
            int size = static_cast<int>(
                std::lround((rs + (Style == TControlStyle::csFlat ? 2 : 0)) * Scale));
            if (lone)
                size = std::min(size, loneRoom);
            int gx;
            int gy;
            int tx;
            int ty;
            if (Horizontal) {
                gx = Rect.Left + 2 + (r - 1) * rs + captionsSoFar;
                gy = Rect.Top + (Rect.Height() - size) / 2;
                tx = gx + static_cast<int>(std::lround(Scale * rs));
                ty = Rect.Top + (Rect.Height() - textH) / 2 - 2;
            } else {
                const int line = textH;
                if (captions)
                    gx = Rect.Left + 2;
                else
                    gx = Rect.Left + (Rect.Width() - size) / 2;
                gy = Reverse ? Rect.Bottom - 2 - r * line : Rect.Top + 2 + (r - 1) * line;
                tx = gx + static_cast<int>(std::lround(Scale * (rs + 4)));
                ty = gy;
            }
            if (lone)
                gy = Rect.Top + (Rect.Height() - size) / 2;
            std::uint32_t st = DFCS_BUTTONRADIO;
            if (Style == TControlStyle::csFlat)
                st |= DFCS_FLAT;
            if (Disabled)
                st |= DFCS_INACTIVE;
            if (on)
                st |= DFCS_CHECKED;
            Canvas.DrawFrameControl(Bounds(gx, gy, size, size), DFC_BUTTON, st);
            if (!caption.isEmpty()) {
                Canvas.SetBkMode(TBkMode::bkTransparent);
                Canvas.TextOut(tx, ty, caption);
                captionsSoFar += Canvas.TextWidth(caption);
            }
            continue;
        }
        // The other looks stand on a 16-pixel grid.
        int gs = 16;
        int gx;
        int gy;
        int tx;
        int ty;
        if (lone) {
            gs = std::min(gs, loneRoom);
            gx = Rect.Left + (Rect.Width() - gs) / 2;
            gy = Rect.Top + (Rect.Height() - gs) / 2;
            tx = gx + gs;
            ty = gy;
        } else if (Horizontal) {
            gx = Rect.Left + r * 16 - 14 + captionsSoFar;
            gy = Rect.Top + (Rect.Height() - 16) / 2;
            tx = gx + 16;
            ty = Rect.Top + (Rect.Height() - textH) / 2;
        } else {
            const int line = std::max(16, textH);
            gx = Rect.Left + 2;
            gy = Reverse ? Rect.Bottom - r * line : Rect.Top + (r - 1) * line;
            tx = Rect.Left + (bitmapStyle ? 18 : 20);
            ty = gy + (bitmapStyle ? 1 : 0);
        }
        switch (Style) {
        case TControlStyle::csCorvane:
            drawCorvaneRadio(Canvas, gx, gy, gs, on, Look.Color());
            break;
        case TControlStyle::csTheme: {
            std::uint32_t st =
                DFCS_BUTTONRADIO | (on ? DFCS_CHECKED : 0u) | (Disabled ? DFCS_INACTIVE : 0u);
            Canvas.DrawFrameControl(Bounds(gx, gy, gs, gs), DFC_BUTTON, st);
            break;
        }
        case TControlStyle::csWinXP:
            drawRadioResource(Canvas, gx, gy, gs,
                              on ? (Disabled ? "QSGRAD07" : "QSGRAD05")
                                 : (Disabled ? "QSGRAD08" : "QSGRAD06"));
            break;
        case TControlStyle::csQuorl:
            drawRadioResource(Canvas, gx, gy, gs,
                              on ? (Disabled ? "QSGRAD03" : "QSGRAD01")
                                 : (Disabled ? "QSGRAD04" : "QSGRAD02"));
            break;
        case TControlStyle::csGlyph: {
            const TBitmap &glyph = on ? Look.RadioOnGlyph() : Look.RadioOffGlyph();
            if (lone && !glyph.Empty()) {
                TBitmap copy(glyph);
                Canvas.DrawTransparent(gx, gy, fitGlyph(copy.Image(), gs), copy.TransparentColor());
            } else {
                drawGlyphTransparent(Canvas, gx, gy, glyph);
            }
            break;
        }
        default:
            break;
        }
        if (!caption.isEmpty()) {
            // The drawn glyphs change the brush, which would make the text opaque again.
            Canvas.SetBkMode(TBkMode::bkTransparent);
            Canvas.TextOut(tx, ty, caption);
            captionsSoFar += Canvas.TextWidth(caption);
        }
    }
    Canvas.Font().SetColor(keepFont);
}

void StoreButtonOffset(TCellGraphic &Graphic,
                       const TGraphicPaintResult &Result,
                       const TRect &CellRect)
{
    const TCellType k = Graphic.CellType();
    if (!Result.drawn ||
        (k != TCellType::ctButton && k != TCellType::ctBitButton && k != TCellType::ctExpand))
        return;
    const auto dx = static_cast<std::uint32_t>(Result.box.Left - CellRect.Left) & 0xFFFFu;
    const auto dy = static_cast<std::uint32_t>(Result.box.Top - CellRect.Top) & 0xFFFFu;
    Graphic.SetCellValue(static_cast<double>((dy << 16) | dx));
}
