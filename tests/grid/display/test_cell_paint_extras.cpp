// Cell drawing around the content: hover and pressed fixed cells with their drop-down part, the
// row indicator, always-visible editor buttons, per-side border pens, the cell scroll bar, the
// design-time column numbers and right-to-left text flags.
#include "grid/display/QrlCellPaint.h"
#include "grid/display/QrlStringGrid_display_p.h"
#include "grid/model/QrlGridDraw.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"

#include <QImage>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

using plat::TGridDrawStateItem;
using Kind = TCanvasOp::Kind;

namespace {

// The mouse code keeps the hover state and the design state; tests set them directly.
class ExtrasGrid : public TQrlStringGrid
{
public:
    ExtrasGrid()
    {
        SetColCount(4);
        SetRowCount(4);
    }
    TStringGridModelState &state() { return *d; }
    TStringGridDisplayState &displayState() { return *dsp; }
    bool IsDesigningQuery() const override { return designing; }
    bool designing = false;
};

std::vector<TCanvasOp> render(TQrlStringGrid &g, int col, int row, const TRect &r, bool fixed)
{
    TRecordingCanvas canvas;
    canvas.SetRecording(true);
    g.RenderCell(&canvas, col, row,
                 fixed ? plat::TGridDrawState{TGridDrawStateItem::gdFixed} : plat::TGridDrawState{},
                 r);
    return canvas.Ops();
}

std::vector<TCanvasOp> opsOf(const std::vector<TCanvasOp> &ops, Kind kind)
{
    std::vector<TCanvasOp> out;
    for (const TCanvasOp &op : ops)
        if (op.kind == kind)
            out.push_back(op);
    return out;
}

const TCanvasOp *textOp(const std::vector<TCanvasOp> &ops, const QString &text)
{
    for (const TCanvasOp &op : ops)
        if (op.kind == Kind::DrawText && op.text == text)
            return &op;
    return nullptr;
}

// The header cell's inner rectangle as the base painter hands it over.
TRect fixedInner(TQrlStringGrid &g, int col, int row)
{
    const TRect c = g.CellRect(col, row);
    return {c.Left, c.Top, c.Right - 1, c.Bottom - 2};
}

// ---- hover and pressed fixed cells ------------------------------------------------------------

constexpr TColor kHoverFrom = 0x0000A0, kHoverTo = 0x0000B0, kHoverBorder = 0x0000C0;
constexpr TColor kDownFrom = 0x00A000, kDownTo = 0x00B000, kDownBorder = 0x00C000;

struct HoverCase
{
    const char *name;
    THoverFixedCells admits;
    bool hovered;
    bool pressed;
    bool moving;
    bool designing;
    bool dropDownButton;
    bool dropDownOffered;
    bool dropDownPressed;
    // First band colour of the part left of the button (the whole cell without a split), clNone
    // when the cell shows no hover look at all; the button part's, clNone without a split.
    TColor restFrom;
    TColor buttonFrom;
    TColor frame;
    // Separator colour; clNone: no separator, no arrow, no cut.
    TColor separator;
};

void PrintTo(const HoverCase &c, std::ostream *os)
{
    *os << c.name;
}

class FixedCellHover : public ::testing::TestWithParam<HoverCase>
{
};

TEST_P(FixedCellHover, GradientPiecesSeparatorArrowAndCutFollowTheState)
{
    const HoverCase &c = GetParam();
    ExtrasGrid g;
    g.SetLook(TGridLook::glXP);
    g.SetCells(1, 0, QStringLiteral("Head"));
    g.SetHoverFixedCells(c.admits);
    g.designing = c.designing;
    using R = TQuorlGradientRole;
    // Through the control look, as a look preset would set them.
    TControlLook &cl = *g.ControlLook();
    cl.SetFixedGradientHoverFrom(kHoverFrom);
    cl.SetFixedGradientHoverTo(kHoverTo);
    cl.SetFixedGradientHoverBorder(kHoverBorder);
    cl.SetFixedGradientHoverMirrorFrom(clNone);
    cl.SetFixedGradientDownFrom(kDownFrom);
    cl.SetFixedGradientDownTo(kDownTo);
    cl.SetFixedGradientDownBorder(kDownBorder);
    cl.SetFixedGradientDownMirrorFrom(clNone);
    ASSERT_EQ(g.QuorlGradientColor(R::QuorlGradientDownBorder), kDownBorder);
    cl.SetFixedDropDownButton(c.dropDownButton);
    g.OnCanShowFixedDropDown = [&](QObject *, int, int, bool &Allow) { Allow = c.dropDownOffered; };
    if (c.hovered)
        g.state().hoverFixedCell = {1, 0};
    g.displayState().movingColumn = c.moving ? 1 : -1;
    g.displayState().fixedCellPressed = c.pressed;
    g.displayState().dropDownDown = c.dropDownPressed;

    const TRect r = fixedInner(g, 1, 0);
    const auto ops = render(g, 1, 0, r, true);
    const auto bands = opsOf(ops, Kind::Rectangle);
    const int split = r.Right - 16;
    auto firstBand = [&](int left, int right) {
        for (const TCanvasOp &op : bands)
            if (op.rect.Left == left && op.rect.Right == right)
                return op.brushColor;
        return TColor(clNone);
    };

    if (c.restFrom == clNone) {
        // The look's plain header gradient, none of the hover or down colours.
        for (const TCanvasOp &op : bands) {
            EXPECT_NE(op.brushColor, kHoverFrom);
            EXPECT_NE(op.brushColor, kDownFrom);
        }
    } else if (c.buttonFrom == clNone) {
        EXPECT_EQ(firstBand(r.Left, r.Right), c.restFrom);
        // The hover and down gradients grow one pixel at the bottom and are framed.
        const auto frames = opsOf(ops, Kind::FrameRect);
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(frames[0].brushColor, c.frame);
        EXPECT_EQ(frames[0].rect.Bottom, r.Bottom + 1);
    } else {
        EXPECT_EQ(firstBand(r.Left, split), c.restFrom);
        EXPECT_EQ(firstBand(split, r.Right), c.buttonFrom);
    }

    const auto lines = opsOf(ops, Kind::Line);
    bool separator = false;
    for (const TCanvasOp &op : lines)
        if (op.rect.Left == split && op.rect.Right == split && op.penColor == c.separator)
            separator = true;
    bool arrow = false;
    for (const TCanvasOp &op : opsOf(ops, Kind::Polygon))
        arrow = arrow || op.points == std::vector<TPoint>{{r.Right - 11, r.Top + 8},
                                                          {r.Right - 5, r.Top + 8},
                                                          {r.Right - 8, r.Top + 11}};
    const TCanvasOp *text = textOp(ops, QStringLiteral("Head"));
    ASSERT_NE(text, nullptr);
    if (c.separator == clNone) {
        EXPECT_FALSE(arrow);
        EXPECT_EQ(text->rect.Right, r.Right - 2);
    } else {
        EXPECT_TRUE(separator);
        EXPECT_TRUE(arrow);
        EXPECT_EQ(text->rect.Right, r.Right - 16 - 2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases,
    FixedCellHover,
    ::testing::Values(
        HoverCase{"Hovered", THoverFixedCells::hfAll, true, false, false, false, false, true, false,
                  kHoverFrom, clNone, kHoverBorder, clNone},
        HoverCase{"Pressed", THoverFixedCells::hfFixedRows, true, true, false, false, false, true,
                  false, kDownFrom, clNone, kDownBorder, clNone},
        HoverCase{"MovingColumn", THoverFixedCells::hfAll, false, false, true, false, false, true,
                  false, kDownFrom, clNone, kDownBorder, clNone},
        HoverCase{"HoveredWithDropDown", THoverFixedCells::hfAll, true, false, false, false, true,
                  true, false, kHoverFrom, clNone, kHoverBorder, kHoverBorder},
        HoverCase{"PressedButtonUp", THoverFixedCells::hfAll, true, true, false, false, true, true,
                  false, kDownFrom, kHoverFrom, clNone, kDownBorder},
        HoverCase{"PressedButtonDown", THoverFixedCells::hfAll, true, true, false, false, true,
                  true, true, kHoverFrom, kDownFrom, clNone, kDownBorder},
        HoverCase{"DropDownRefused", THoverFixedCells::hfAll, true, true, false, false, true, false,
                  false, kDownFrom, clNone, kDownBorder, clNone},
        HoverCase{"NotAdmitted", THoverFixedCells::hfFixedColumns, true, false, false, false, true,
                  true, false, clNone, clNone, clNone, clNone},
        HoverCase{"DesignMode", THoverFixedCells::hfAll, true, false, false, true, true, true,
                  false, clNone, clNone, clNone, clNone}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- row indicator ------------------------------------------------------------------------------

TEST(RowIndicator, DrawnTransparentByVAlignmentAndTheTextMovesPastIt)
{
    struct Case
    {
        const char *name;
        TVAlignment va;
        int row;
        bool drawn;
    };
    for (const Case &c : {Case{"top", TVAlignment::vtaTop, 2, true},
                          Case{"centre", TVAlignment::vtaCenter, 2, true},
                          Case{"bottom", TVAlignment::vtaBottom, 2, true},
                          Case{"other row", TVAlignment::vtaTop, 3, false}}) {
        SCOPED_TRACE(c.name);
        ExtrasGrid g;
        g.SetDefaultRowHeight(30);
        g.SetRow(2);
        g.SetVAlignment(c.va);
        g.SetCells(0, c.row, QStringLiteral("x"));
        const TRect r = fixedInner(g, 0, c.row);
        const auto plain = render(g, 0, c.row, r, true);
        QImage pic(8, 6, QImage::Format_RGB32);
        pic.fill(Qt::red);
        g.SetRowIndicator(TBitmap(pic));
        const auto ops = render(g, 0, c.row, r, true);

        const auto draws = opsOf(ops, Kind::Draw);
        ASSERT_EQ(draws.size(), c.drawn ? 1u : 0u);
        const int shift = textOp(ops, QStringLiteral("x"))->rect.Left -
                          textOp(plain, QStringLiteral("x"))->rect.Left;
        if (!c.drawn) {
            EXPECT_EQ(shift, 0);
            continue;
        }
        int y = r.Top;
        if (c.va == TVAlignment::vtaCenter)
            y = r.Top + (r.Height() - 6) / 2;
        else if (c.va == TVAlignment::vtaBottom)
            y = r.Bottom - 6;
        EXPECT_EQ(draws[0].rect, (TRect{r.Left + 2, y, r.Left + 10, y + 6}));
        EXPECT_NE(draws[0].color1, clNone); // transparent
        EXPECT_EQ(shift, 8 + 2);
    }
}

// ---- always-visible editor buttons --------------------------------------------------------------

TEST(EditorButtons, ComboAndSpinButtonsTakeTheirRoomAndLookDisabledWhenReadOnly)
{
    struct Case
    {
        const char *name;
        bool spin;
        bool editable;
        bool flatButton;
    };
    for (const Case &c :
         {Case{"combo", false, true, false}, Case{"combo read-only", false, false, false},
          Case{"combo flat", false, true, true}, Case{"combo and spin", true, true, false}}) {
        SCOPED_TRACE(c.name);
        ExtrasGrid g;
        g.SetCells(1, 1, QStringLiteral("v"));
        g.ControlLook()->SetDropDownAlwaysVisible(true);
        g.ControlLook()->SetSpinButtonsAlwaysVisible(c.spin);
        g.ControlLook()->SetFlatButton(c.flatButton);
        g.OnHasComboBox = [](QObject *, int ACol, int, bool &Has) { Has = ACol == 1; };
        g.OnHasSpinEdit = [](QObject *, int ACol, int, bool &Has) { Has = ACol == 1; };
        g.OnCanEditCell = [&](QObject *, int, int, bool &CanEdit) { CanEdit = c.editable; };
        const TRect r = g.CellRect(1, 1);
        const auto ops = render(g, 1, 1, r, false);
        const auto buttons = opsOf(ops, Kind::FrameControl);
        ASSERT_EQ(buttons.size(), c.spin ? 3u : 1u);
        // The combo button over the rectangle widened by 2 left, 1 up and 1 right.
        EXPECT_EQ(buttons[0].rect, (TRect{r.Right - 18, r.Top, r.Right - 1, r.Bottom - 1}));
        EXPECT_EQ(buttons[0].flags & 0xFF, DFCS_SCROLLCOMBOBOX);
        for (const TCanvasOp &b : buttons) {
            EXPECT_EQ((b.flags & DFCS_INACTIVE) != 0, !c.editable);
            EXPECT_EQ((b.flags & DFCS_FLAT) != 0, c.flatButton);
        }
        const int room = c.spin ? 32 : 16;
        EXPECT_EQ(textOp(ops, QStringLiteral("v"))->rect.Right, r.Right - room - 2);
        // A cell without a combo keeps its whole width.
        g.SetCells(2, 1, QStringLiteral("w"));
        const TRect r2 = g.CellRect(2, 1);
        const auto other = render(g, 2, 1, r2, false);
        EXPECT_TRUE(opsOf(other, Kind::FrameControl).empty());
        EXPECT_EQ(textOp(other, QStringLiteral("w"))->rect.Right, r2.Right - 2);
    }
}

// ---- border pens --------------------------------------------------------------------------------

TEST(CellBorders, EachSideInTheSetDrawsWithItsOwnPen)
{
    constexpr TColor kLeft = 0x0000F1, kTop = 0x0000F2, kRight = 0x0000F3, kBottom = 0x0000F4;
    struct Case
    {
        const char *name;
        TCellBorders set;
    };
    for (const Case &c :
         {Case{"left and bottom", {TCellBorder::cbLeft, TCellBorder::cbBottom}},
          Case{"top and right", {TCellBorder::cbTop, TCellBorder::cbRight}}, Case{"none", {}}}) {
        SCOPED_TRACE(c.name);
        ExtrasGrid g;
        g.OnGetCellBorder = [&](QObject *, int, int, TPen *APen, TCellBorders &Borders) {
            APen->SetColor(clBlack);
            Borders = c.set;
        };
        g.OnGetCellBorderProp = [&](QObject *, int, int, TPen *L, TPen *T, TPen *R, TPen *B) {
            L->SetColor(kLeft);
            T->SetColor(kTop);
            R->SetColor(kRight);
            B->SetColor(kBottom);
            B->SetWidth(3);
        };
        const TRect r = g.CellRect(1, 1);
        const auto lines = opsOf(render(g, 1, 1, r, false), Kind::Line);
        const auto count = [&](TColor color) {
            int n = 0;
            for (const TCanvasOp &op : lines)
                n += op.penColor == color;
            return n;
        };
        EXPECT_EQ(count(kLeft), c.set.Contains(TCellBorder::cbLeft) ? 1 : 0);
        EXPECT_EQ(count(kTop), c.set.Contains(TCellBorder::cbTop) ? 1 : 0);
        EXPECT_EQ(count(kRight), c.set.Contains(TCellBorder::cbRight) ? 1 : 0);
        EXPECT_EQ(count(kBottom), c.set.Contains(TCellBorder::cbBottom) ? 1 : 0);
        EXPECT_EQ(count(clBlack), 0);
        for (const TCanvasOp &op : lines) {
            if (op.penColor == kBottom) {
                EXPECT_EQ(op.penWidth, 3);
            } else if (op.penColor == kLeft) {
                // Inflated by 1, then in by half the pen width.
                EXPECT_EQ(op.rect.Left, r.Left);
            }
        }
    }
}

// ---- cell scroll bar ----------------------------------------------------------------------------

TEST(CellScrollBar, BarAtTheRightEdgeNarrowsTheCellAndScrollsTheContentUp)
{
    struct Case
    {
        const char *name;
        int page;
        int range;
        int position;
        bool shown;
    };
    for (const Case &c : {Case{"scrolled", 10, 60, 12, true}, Case{"at top", 10, 60, 0, true},
                          Case{"page covers range", 60, 60, 0, false}}) {
        SCOPED_TRACE(c.name);
        ExtrasGrid g;
        g.SetDefaultRowHeight(60);
        g.SetCells(1, 1, QStringLiteral("long text"));
        g.AddScrollBar(1, 1, false);
        g.SetScrollProp(1, 1, {c.page, c.range});
        g.SetScrollPosition(1, 1, c.position);
        const TRect r = g.CellRect(1, 1);
        const auto ops = render(g, 1, 1, r, false);
        const auto parts = opsOf(ops, Kind::FrameControl);
        const TCanvasOp *text = textOp(ops, QStringLiteral("long text"));
        ASSERT_NE(text, nullptr);
        if (!c.shown) {
            EXPECT_TRUE(parts.empty());
            EXPECT_EQ(text->rect.Right, r.Right - 2);
            continue;
        }
        // Up arrow, down arrow and thumb, 17 pixels wide at the right edge.
        ASSERT_EQ(parts.size(), 3u);
        for (const TCanvasOp &p : parts) {
            EXPECT_EQ(p.rect.Left, r.Right - 17);
            EXPECT_EQ(p.rect.Right, r.Right);
        }
        EXPECT_EQ(parts[0].rect.Top, r.Top);
        EXPECT_EQ(parts[1].rect.Bottom, r.Bottom);
        const int thumbTop = parts[2].rect.Top;
        EXPECT_EQ(thumbTop > parts[0].rect.Bottom, c.position > 0);
        EXPECT_EQ(text->rect.Right, r.Right - 17 - 2);
        EXPECT_EQ(text->rect.Top, r.Top + 2 - c.position);
    }
}

// ---- design-mode column numbers ---------------------------------------------------------------

TEST(DesignColumnNumbers, HeaderShowsTheRealColumnNumberBottomRightInSmallGrey)
{
    struct Case
    {
        const char *name;
        bool designing;
        bool show;
        int row;
        bool drawn;
    };
    for (const Case &c :
         {Case{"design", true, true, 0, true}, Case{"program", false, true, 0, false},
          Case{"switched off", true, false, 0, false}, Case{"data row", true, true, 1, false}}) {
        SCOPED_TRACE(c.name);
        ExtrasGrid g;
        g.designing = c.designing;
        g.SetShowColNrs(c.show);
        g.HideColumn(1);
        // Display column 1 is real column 2 once column 1 is hidden.
        const TRect r = c.row == 0 ? fixedInner(g, 1, 0) : g.CellRect(1, c.row);
        const auto ops = render(g, 1, c.row, r, c.row == 0);
        const TCanvasOp *nr = textOp(ops, QStringLiteral("2"));
        ASSERT_EQ(nr != nullptr, c.drawn);
        if (!nr)
            continue;
        EXPECT_EQ(nr->fontColor, TColor(0x808080));
        TFont small;
        small.SetSize(8);
        EXPECT_EQ(nr->fontHeight, small.Height());
        ASSERT_EQ(nr->points.size(), 1u);
        TRecordingCanvas measure;
        EXPECT_EQ(nr->points[0].X + measure.TextWidth(QStringLiteral("2")), r.Right);
        EXPECT_EQ(nr->points[0].Y + measure.TextHeight(QStringLiteral("2")), r.Bottom);
    }
}

// ---- list-view header and right-to-left text ---------------------------------------------------

TEST(ListViewHeader, ClassicHeaderIsAButtonFaceRectangleWithAWhiteTopLine)
{
    ExtrasGrid g;
    g.SetLook(TGridLook::glListView);
    const TRect r = fixedInner(g, 1, 0);
    const auto ops = render(g, 1, 0, r, true);
    const auto rects = opsOf(ops, Kind::Rectangle);
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects[0].rect, r);
    EXPECT_EQ(rects[0].brushColor, clBtnFace);
    EXPECT_EQ(rects[0].penColor, clWhite);
    bool top = false;
    for (const TCanvasOp &op : opsOf(ops, Kind::Line))
        top = top || (op.rect == TRect{r.Left, r.Top, r.Right, r.Top} && op.penColor == clWhite);
    EXPECT_TRUE(top);
    // A flat grid draws no header.
    g.SetFlat(true);
    EXPECT_TRUE(opsOf(render(g, 1, 0, r, true), Kind::Rectangle).empty());
}

TEST(RightToLeftText, JustificationSwapsAndReadingTurns)
{
    struct Case
    {
        TAlignment ha;
        std::uint32_t expect;
    };
    for (const Case &c :
         {Case{TAlignment::taLeftJustify, DT_RIGHT}, Case{TAlignment::taRightJustify, DT_LEFT},
          Case{TAlignment::taCenter, DT_CENTER}}) {
        SCOPED_TRACE(int(c.ha));
        TCellPaintView v;
        v.hAlign = c.ha;
        QString text = QStringLiteral("abc");
        EXPECT_EQ(CellTextFlags(v, text) & DT_RTLREADING, 0u);
        v.rightToLeft = true;
        const std::uint32_t flags = CellTextFlags(v, text);
        EXPECT_EQ(flags & (DT_RIGHT | DT_CENTER), c.expect);
        EXPECT_NE(flags & DT_RTLREADING, 0u);
    }
}

} // namespace
