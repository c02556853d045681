// Cell look resolution and cell content drawing: placement, line rules, password and URL look,
// the graphic's room beside the text, and the look that reaches the content of a painted cell.
#include "grid/display/QrlCellPaint.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridDraw.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using plat::TGridDrawState;
using plat::TGridDrawStateItem;

namespace {

const TCanvasOp *firstText(const TRecordingCanvas &c)
{
    for (const TCanvasOp &op : c.Ops())
        if (op.kind == TCanvasOp::Kind::DrawText)
            return &op;
    return nullptr;
}

// ---- placement ------------------------------------------------------------------------------

struct PlaceCase
{
    const char *name;
    TAlignment ha;
    TVAlignment va;
    bool wordWrap;
};

class CellPlacement : public ::testing::TestWithParam<PlaceCase>
{
};

TEST_P(CellPlacement, TextSitsByAlignmentAndWrappedTextStaysAtTheTop)
{
    const PlaceCase &pc = GetParam();
    TRecordingCanvas canvas;
    const QString text = QStringLiteral("abc");
    const int w = canvas.TextWidth(text);
    const int lh = canvas.TextHeight(text);
    const TRect cell{10, 20, 110, 60};
    TCellPaintView v;
    v.text = text;
    v.hAlign = pc.ha;
    v.vAlign = pc.va;
    v.wordWrap = pc.wordWrap;
    PaintCellContent(canvas, v, cell);

    const TCanvasOp *op = firstText(canvas);
    ASSERT_NE(op, nullptr);
    ASSERT_EQ(op->points.size(), 1u);
    // Text room: inset by XYOffset left, top and right.
    const TRect room{cell.Left + 2, cell.Top + 2, cell.Right - 2, cell.Bottom};
    int x = room.Left;
    if (pc.ha == TAlignment::taRightJustify)
        x = room.Right - w;
    else if (pc.ha == TAlignment::taCenter)
        x = room.Left + (room.Width() - w) / 2;
    int y = room.Top;
    if (!pc.wordWrap && pc.va == TVAlignment::vtaCenter)
        y = room.Top + (room.Height() - lh) / 2;
    else if (!pc.wordWrap && pc.va == TVAlignment::vtaBottom)
        y = room.Bottom - lh;
    EXPECT_EQ(op->points[0].X, x);
    EXPECT_EQ(op->points[0].Y, y);
}

INSTANTIATE_TEST_SUITE_P(
    Cases,
    CellPlacement,
    ::testing::Values(
        PlaceCase{"LeftTop", TAlignment::taLeftJustify, TVAlignment::vtaTop, false},
        PlaceCase{"RightTop", TAlignment::taRightJustify, TVAlignment::vtaTop, false},
        PlaceCase{"CentreCentre", TAlignment::taCenter, TVAlignment::vtaCenter, false},
        PlaceCase{"LeftBottom", TAlignment::taLeftJustify, TVAlignment::vtaBottom, false},
        PlaceCase{"WrapCentre", TAlignment::taRightJustify, TVAlignment::vtaCenter, true},
        PlaceCase{"WrapBottom", TAlignment::taCenter, TVAlignment::vtaBottom, true}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- line rules -----------------------------------------------------------------------------

struct LineCase
{
    const char *name;
    bool wordWrap;
    bool multiline;
    bool enh;
    std::uint32_t expectSet;
    std::uint32_t expectClear;
    int lines;
};

class CellLineRules : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(CellLineRules, FlagsAndLinesFollowWrapMultilineAndEllipsis)
{
    const LineCase &lc = GetParam();
    TRecordingCanvas canvas;
    TCellPaintView v;
    v.text = QStringLiteral("abc\r\ndef");
    v.wordWrap = lc.wordWrap;
    v.multilineCells = lc.multiline;
    v.enhTextSize = lc.enh;
    PaintCellContent(canvas, v, {0, 0, 200, 100});
    const TCanvasOp *op = firstText(canvas);
    ASSERT_NE(op, nullptr);
    EXPECT_EQ(op->flags & lc.expectSet, lc.expectSet);
    EXPECT_EQ(op->flags & lc.expectClear, 0u);
    EXPECT_EQ(op->lines.size(), std::size_t(lc.lines));
    EXPECT_EQ(op->lines.value(0), QStringLiteral("abc"));
    EXPECT_TRUE(op->flags & DT_NOPREFIX);
    EXPECT_TRUE(op->flags & DT_EXPANDTABS);
}

INSTANTIATE_TEST_SUITE_P(
    Cases,
    CellLineRules,
    ::testing::Values(LineCase{"SingleCutsAtFirstBreak", false, false, false, DT_SINGLELINE,
                               DT_WORDBREAK | DT_END_ELLIPSIS, 1},
                      LineCase{"SingleWithEllipsis", false, false, true,
                               DT_SINGLELINE | DT_END_ELLIPSIS, DT_WORDBREAK, 1},
                      LineCase{"WrapShowsBoth", true, false, false, DT_WORDBREAK | DT_EDITCONTROL,
                               DT_SINGLELINE | DT_END_ELLIPSIS, 2},
                      LineCase{"WrapWithEllipsis", true, false, true,
                               DT_WORDBREAK | DT_END_ELLIPSIS, DT_SINGLELINE, 2},
                      LineCase{"MultilineNoEllipsis", false, true, true,
                               DT_WORDBREAK | DT_EDITCONTROL, DT_SINGLELINE | DT_END_ELLIPSIS, 2}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CellContent, LongSingleLineIsClippedOrCutWithEllipsis)
{
    const QString text = QStringLiteral("a rather long cell text");
    for (bool enh : {false, true}) {
        TRecordingCanvas canvas;
        const int room = canvas.TextWidth(text) / 2;
        TCellPaintView v;
        v.text = text;
        v.enhTextSize = enh;
        v.xyOffset = {0, 0};
        PaintCellContent(canvas, v, {0, 0, room, 20});
        const TCanvasOp *op = firstText(canvas);
        ASSERT_NE(op, nullptr);
        // Without the ellipsis the whole text goes to DrawText, which clips it to the cell.
        EXPECT_EQ(op->flags & DT_NOCLIP, 0u);
        EXPECT_EQ(op->rect.Right, room);
        if (enh) {
            EXPECT_NE(op->lines.value(0), text);
            EXPECT_LE(canvas.TextWidth(op->lines.value(0)), room);
        } else {
            EXPECT_EQ(op->lines.value(0), text);
        }
    }
}

TEST(CellContent, PasswordMasksAndUrlLosesSchemeUnderlinedInUrlColour)
{
    {
        TRecordingCanvas canvas;
        TCellPaintView v;
        v.text = QStringLiteral("abc");
        v.password = true;
        PaintCellContent(canvas, v, {0, 0, 100, 20});
        EXPECT_EQ(canvas.Texts(), QStringList{QStringLiteral("***")});
    }
    for (bool full : {false, true}) {
        TRecordingCanvas canvas;
        canvas.Font().SetColor(clBlack);
        TCellPaintView v;
        v.text = QStringLiteral("http://www.example.com");
        v.urlShow = true;
        v.urlFull = full;
        v.urlColor = clRed;
        PaintCellContent(canvas, v, {0, 0, 300, 20});
        const TCanvasOp *op = firstText(canvas);
        ASSERT_NE(op, nullptr);
        EXPECT_EQ(op->lines.value(0), full ? v.text : QStringLiteral("www.example.com"));
        EXPECT_TRUE(op->fontStyle.Contains(TFontStyle::fsUnderline));
        EXPECT_EQ(op->fontColor, clRed);
        // The font comes back for what follows.
        EXPECT_EQ(canvas.Font().Color(), clBlack);
        EXPECT_FALSE(canvas.Font().Style().Contains(TFontStyle::fsUnderline));
    }
}

// ---- graphic room ---------------------------------------------------------------------------

struct RoomCase
{
    const char *name;
    TCellHAlign gh;
    TCellVAlign gv;
    TAlignment ha;
    TVAlignment va;
    int dx; // expected shift of the text origin against no graphic, in graphic widths
    int dy; // in graphic heights
};

class CellGraphicRoom : public ::testing::TestWithParam<RoomCase>
{
};

TEST_P(CellGraphicRoom, TextMovesAsideForTheGraphicAndReportsItsWidth)
{
    const RoomCase &rc = GetParam();
    const TRect cell{0, 0, 120, 60};
    const QString text = QStringLiteral("Label");
    auto origin = [&](bool withGraphic, int *width) {
        TRecordingCanvas canvas;
        TCellPaintView v;
        v.text = text;
        v.hAlign = rc.ha;
        v.vAlign = rc.va;
        v.hasGraphic = withGraphic;
        v.graphicSize = {16, 13};
        v.graphicHAlign = rc.gh;
        v.graphicVAlign = rc.gv;
        const TCellContentResult res = PaintCellContent(canvas, v, cell);
        if (width)
            *width = res.textWidth - canvas.TextWidth(text);
        return firstText(canvas)->points.at(0);
    };
    int extra = 0;
    const TPoint plain = origin(false, nullptr);
    const TPoint beside = origin(true, &extra);
    EXPECT_EQ(beside.X - plain.X, rc.dx * 16);
    EXPECT_EQ(beside.Y - plain.Y, rc.dy * 13);
    EXPECT_EQ(extra, 2); // measured text width + 2 goes back to the graphic
}

INSTANTIATE_TEST_SUITE_P(
    Cases,
    CellGraphicRoom,
    ::testing::Values(RoomCase{"BeforeText", TCellHAlign::haBeforeText, TCellVAlign::vaTop,
                               TAlignment::taLeftJustify, TVAlignment::vtaTop, 1, 0},
                      RoomCase{"AfterTextRight", TCellHAlign::haAfterText, TCellVAlign::vaTop,
                               TAlignment::taRightJustify, TVAlignment::vtaTop, -1, 0},
                      RoomCase{"LeftDoesNotMove", TCellHAlign::haLeft, TCellVAlign::vaTop,
                               TAlignment::taLeftJustify, TVAlignment::vtaTop, 0, 0},
                      RoomCase{"AboveText", TCellHAlign::haLeft, TCellVAlign::vaAboveText,
                               TAlignment::taLeftJustify, TVAlignment::vtaTop, 0, 1},
                      RoomCase{"UnderTextBottom", TCellHAlign::haLeft, TCellVAlign::vaUnderText,
                               TAlignment::taLeftJustify, TVAlignment::vtaBottom, 0, -1}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CellContent, MarkupGoesToTheEngineAndRichTextToItsStandIn)
{
    TRecordingCanvas canvas;
    TCellPaintView v;
    v.text = QStringLiteral("<B>bold</B> text");
    v.textKind = 1;
    const TCellContentResult res = PaintCellContent(canvas, v, {0, 0, 200, 20});
    EXPECT_EQ(canvas.Texts(), (QStringList{QStringLiteral("bold"), QStringLiteral("text")}));
    EXPECT_EQ(res.textWidth, canvas.TextWidth(QStringLiteral("bold text")) + 2);
    canvas.ClearOps();
    v.text = QStringLiteral("{\\rtf1\\ansi plain \\b words\\b0}");
    v.textKind = 2;
    PaintCellContent(canvas, v, {0, 0, 200, 20});
    EXPECT_EQ(canvas.Texts(), QStringList{QStringLiteral("plain words")});
}

TEST(CellContent, BlendMixesPerChannelAndHonoursItsLimits)
{
    EXPECT_EQ(BlendColor(RGB(200, 100, 0), RGB(0, 100, 200), 50), RGB(100, 100, 100));
    EXPECT_EQ(BlendColor(clRed, clBlue, 100), clRed);
    EXPECT_EQ(BlendColor(clRed, clBlue, 0), clBlue);
    EXPECT_EQ(BlendColor(clNone, clBlue, 50), clBlue);
    EXPECT_EQ(BlendColor(clRed, clNone, 50), clRed);
    EXPECT_EQ(BlendColorIf(clRed, clBlue, false, 50), clRed);
}

// ---- the grid's look ------------------------------------------------------------------------

class CellLook : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid = std::make_unique<TQrlStringGrid>();
        grid->SetColCount(5);
        grid->SetRowCount(8);
        grid->SetColor(clWhite);
        grid->SetFixedColor(clBtnFace);
        grid->SetCol(1);
        grid->SetRow(1);
    }
    struct Look
    {
        TColor brush = clNone;
        TColor colorTo = clNone;
        TColor fontColor = clNone;
        TGridDrawState state;
        TAlignment ha = TAlignment::taLeftJustify;
        bool ww = false;
    };
    Look look(int c, int r, bool select = true)
    {
        Look l;
        TBrush brush;
        TFont font;
        TColor m1 = clNone;
        TColor m2 = clNone;
        TVAlignment va = TVAlignment::vtaTop;
        TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
        grid->GetVisualProperties(c, r, l.state, false, select, true, brush, l.colorTo, m1, m2,
                                  font, l.ha, va, l.ww, gd);
        l.brush = brush.Color();
        l.fontColor = font.Color();
        return l;
    }
    std::unique_ptr<TQrlStringGrid> grid;
};

TEST_F(CellLook, FixedCellsTakeTheLookGradientUnlessTheyKeepTheirOwnColour)
{
    const Look header = look(2, 0);
    EXPECT_EQ(header.brush, grid->QuorlGradientFrom());
    EXPECT_EQ(header.colorTo, grid->QuorlGradientTo());
    EXPECT_TRUE(header.state.Contains(TGridDrawStateItem::gdFixed));

    grid->SetColors(2, 0, clYellow);
    EXPECT_EQ(look(2, 0).brush, clYellow);
    EXPECT_FALSE(look(2, 0).state.Contains(TGridDrawStateItem::gdFixed));

    grid->AddCheckBox(3, 0, false, false);
    grid->SetColors(3, 0, clYellow);
    EXPECT_EQ(look(3, 0).brush, grid->QuorlGradientFrom());

    grid->SetLook(TGridLook::glClassic);
    EXPECT_EQ(look(4, 0).brush, clBtnFace);
    EXPECT_EQ(look(4, 0).colorTo, clNone);
}

TEST_F(CellLook, ResolutionOrderCellThenEventsThenSelectionThenDisabled)
{
    struct Case
    {
        const char *name;
        std::function<void(TQrlStringGrid &)> setup;
        int col;
        int row;
        TColor brush;
        TColor font; // clNone: not checked
    };
    const TColor own = RGB(0, 200, 0);
    const std::vector<Case> cases = {
        {"plain", [](TQrlStringGrid &) {}, 3, 4, clWhite, clNone},
        {"cell colour", [&](TQrlStringGrid &g) { g.SetColors(3, 4, own); }, 3, 4, own, clNone},
        {"graphic cell keeps its colour on data rows",
         [&](TQrlStringGrid &g) {
             g.AddCheckBox(3, 4, false, false);
             g.SetColors(3, 4, own);
         },
         3, 4, own, clNone},
        {"colour event over the cell",
         [&](TQrlStringGrid &g) {
             g.SetColors(3, 4, own);
             g.OnGetCellColor = [](QObject *, int, int, TGridDrawState, TBrush *b, TFont *f) {
                 b->SetColor(clRed);
                 f->SetColor(clMaroon);
             };
         },
         3, 4, clRed, clMaroon},
        {"gradient event after the colour event",
         [](TQrlStringGrid &g) {
             g.OnGetCellColor = [](QObject *, int, int, TGridDrawState, TBrush *b, TFont *) {
                 b->SetColor(clRed);
             };
             g.OnGetCellGradient = [](QObject *, int, int, TColor &c, TColor &, TColor &, TColor &,
                                      TCellGradientDirection &) { c = clBlue; };
         },
         3, 4, clBlue, clNone},
        {"selection over the events",
         [](TQrlStringGrid &g) {
             g.OnGetCellColor = [](QObject *, int, int, TGridDrawState, TBrush *b, TFont *) {
                 b->SetColor(clRed);
             };
             g.SetSelectionColorMixer(false);
         },
         1, 1, 0xEACAB6, clBlack},
        {"mixed selection",
         [&](TQrlStringGrid &g) {
             g.SetColors(1, 1, RGB(0, 0, 0));
             g.SetSelectionColor(RGB(200, 100, 50));
             g.SetSelectionColorMixer(true);
         },
         1, 1, RGB(100, 50, 25), clNone},
        {"mixer ignores the grid colour", [](TQrlStringGrid &g) { g.SetSelectionColorMixer(true); },
         1, 1, 0xEACAB6, clNone},
        {"bands, primary",
         [](TQrlStringGrid &g) {
             g.Bands()->SetPrimaryColor(clAqua);
             g.Bands()->SetSecondaryColor(clLime);
             g.Bands()->SetPrimaryLength(2);
             g.Bands()->SetSecondaryLength(1);
             g.Bands()->SetActive(true);
         },
         3, 2, clAqua, clNone},
        {"bands, secondary",
         [](TQrlStringGrid &g) {
             g.Bands()->SetPrimaryColor(clAqua);
             g.Bands()->SetSecondaryColor(clLime);
             g.Bands()->SetPrimaryLength(2);
             g.Bands()->SetSecondaryLength(1);
             g.Bands()->SetActive(true);
         },
         3, 3, clLime, clNone},
        {"disabled grid greys the selected text too",
         [](TQrlStringGrid &g) { g.setEnabled(false); }, 1, 1, 0xEACAB6, 0xC0C0C0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        c.setup(*grid);
        const Look l = look(c.col, c.row);
        EXPECT_EQ(l.brush, c.brush);
        if (c.font != clNone) {
            EXPECT_EQ(l.fontColor, c.font);
        }
    }
}

TEST_F(CellLook, EventsAreAskedInTheirOrderAndAlignmentAndWrapFollowThem)
{
    // The cell properties first: creating them asks the look once.
    grid->SetAlignments(3, 4, TAlignment::taRightJustify);
    QStringList order;
    grid->OnGetCellColor = [&](QObject *, int, int, TGridDrawState, TBrush *, TFont *) {
        order << "color";
    };
    grid->OnGetCellGradient = [&](QObject *, int, int, TColor &, TColor &, TColor &, TColor &,
                                  TCellGradientDirection &) { order << "gradient"; };
    grid->OnGetWordWrap = [&](QObject *, int, int, bool &ww) {
        order << "wordwrap";
        ww = false;
    };
    grid->OnGetAlignment = [&](QObject *, int, int, TAlignment &ha, TVAlignment &) {
        order << "alignment";
        ha = TAlignment::taCenter;
    };
    const Look l = look(3, 4);
    EXPECT_EQ(order, QStringList({"color", "gradient", "wordwrap", "alignment"}));
    EXPECT_EQ(l.ha, TAlignment::taCenter);
    EXPECT_FALSE(l.ww);
}

TEST_F(CellLook, AutoNumAlignRightJustifiesNumbersButCellAlignmentWins)
{
    grid->SetAutoNumAlign(true);
    grid->SetCells(2, 2, QStringLiteral(" 12.5 "));
    grid->SetCells(2, 3, QStringLiteral("12a"));
    auto ha = [&](int c, int r) { return TAlignment(grid->GetCellAlignment(c, r) & 0xFF); };
    EXPECT_EQ(ha(2, 2), TAlignment::taRightJustify);
    EXPECT_EQ(ha(2, 3), TAlignment::taLeftJustify);
    grid->SetAlignments(2, 2, TAlignment::taCenter);
    EXPECT_EQ(ha(2, 2), TAlignment::taCenter);
    grid->SetVAlignment(TVAlignment::vtaBottom);
    EXPECT_EQ(TVAlignment(grid->GetCellAlignment(2, 3) >> 8), TVAlignment::vtaBottom);
}

// ---- a painted cell -------------------------------------------------------------------------

// Lets the test put the mouse over a row.
class HoverGrid : public TQrlStringGrid
{
public:
    void setHoverRow(int r) { FHoverRowIdx = r; }
};

TEST(CellDrawing, HoverAndActiveRowColoursStayUnderTheContent)
{
    struct Case
    {
        const char *name;
        bool hover;
        TColor expect;
    };
    for (const Case &c : {Case{"hover", true, clAqua}, Case{"active", false, clLime}}) {
        SCOPED_TRACE(c.name);
        HoverGrid g;
        g.SetColCount(4);
        g.SetRowCount(5);
        g.SetCells(2, 2, QStringLiteral("text"));
        g.SetCol(1);
        g.SetRow(2);
        if (c.hover) {
            g.SetHoverRow(true);
            g.SetHoverRowColor(clAqua);
            g.setHoverRow(2);
        } else {
            g.SetActiveRowShow(true);
            g.SetActiveRowColor(clLime);
        }
        TRecordingCanvas canvas;
        canvas.SetRecording(true);
        const TRect r = g.CellRect(2, 2);
        g.PaintCell(&canvas, 2, 2, r, {});
        // The last fill before the text is the row colour, and nothing paints over it after.
        TColor lastFill = clNone;
        bool textSeen = false;
        for (const TCanvasOp &op : canvas.Ops()) {
            const bool fill = op.kind == TCanvasOp::Kind::FillRect ||
                              op.kind == TCanvasOp::Kind::Gradient ||
                              op.kind == TCanvasOp::Kind::Rectangle;
            if (op.kind == TCanvasOp::Kind::DrawText)
                textSeen = true;
            else if (fill && !textSeen)
                lastFill = op.kind == TCanvasOp::Kind::Gradient ? op.color1 : op.brushColor;
            else if (fill)
                ADD_FAILURE() << "filled after the text";
        }
        EXPECT_TRUE(textSeen);
        EXPECT_EQ(lastFill, c.expect);
    }
}

TEST(CellDrawing, SelectedCellPixelsShowSelectionColourAndDarkText)
{
    TQrlStringGrid g;
    g.SetColCount(3);
    g.SetRowCount(3);
    g.SetDefaultRowHeight(24);
    g.SetCells(1, 1, QStringLiteral("WWWW"));
    g.SetCol(1);
    g.SetRow(1);
    QImage img(g.width(), g.height(), QImage::Format_RGB32);
    img.fill(Qt::magenta);
    {
        TCanvas canvas(&img);
        g.PaintCell(&canvas, 1, 1, g.CellRect(1, 1), {});
        canvas.Flush();
    }
    const TRect r = g.CellRect(1, 1);
    const QColor bg = img.pixelColor(r.Right - 4, r.Bottom - 4);
    EXPECT_EQ(RGB(bg.red(), bg.green(), bg.blue()), TColor(0xEACAB6));
    // Some pixel of the text row is dark: the text was drawn over the selection.
    int darkest = 255;
    for (int x = r.Left + 2; x < r.Right - 2; ++x)
        for (int y = r.Top + 2; y < r.Bottom - 2; ++y)
            darkest = std::min(darkest, qGray(img.pixel(x, y)));
    EXPECT_LT(darkest, 100);
}

} // namespace

namespace {

TEST(CellDrawing, FixedCellDecorationFollowsTheLook)
{
    struct Case
    {
        TGridLook look;
        bool gradient;
        bool edges;
        bool halfLine; // bottom line in half the fixed colour
    };
    for (const Case &c :
         {Case{TGridLook::glXP, true, false, true}, Case{TGridLook::glClassic, false, true, false},
          Case{TGridLook::glStandard, false, false, false}}) {
        SCOPED_TRACE(int(c.look));
        TQrlStringGrid g;
        g.SetColCount(3);
        g.SetRowCount(3);
        g.SetLook(c.look);
        g.SetCells(1, 0, QStringLiteral("Head"));
        TRecordingCanvas canvas;
        canvas.SetRecording(true);
        const TRect r = g.CellRect(1, 0);
        g.RenderCell(&canvas, 1, 0, {TGridDrawStateItem::gdFixed},
                     {r.Left, r.Top, r.Right - 1, r.Bottom - 2});
        // The gradient comes as bands from the look's start to its end colour.
        bool fromSeen = false;
        bool toSeen = false;
        bool edges = false;
        bool halfLine = false;
        for (const TCanvasOp &op : canvas.Ops()) {
            if (op.kind == TCanvasOp::Kind::Rectangle) {
                fromSeen = fromSeen || op.brushColor == ColorToRGB(g.QuorlGradientFrom());
                toSeen = toSeen || (fromSeen && op.brushColor == ColorToRGB(g.QuorlGradientTo()));
            }
            edges = edges || op.kind == TCanvasOp::Kind::DrawEdge;
            halfLine = halfLine || (op.kind == TCanvasOp::Kind::Line &&
                                    op.penColor == HalveColor(g.FixedColor()));
        }
        EXPECT_EQ(fromSeen && toSeen, c.gradient);
        EXPECT_EQ(edges, c.edges);
        EXPECT_EQ(halfLine, c.halfLine);
        EXPECT_EQ(canvas.Texts(), QStringList{QStringLiteral("Head")});
    }
}

} // namespace

namespace {

TEST(CellDrawing, MarkerUnderlinesItsCharactersInRed)
{
    TQrlStringGrid g;
    g.SetColCount(3);
    g.SetRowCount(3);
    g.SetCells(1, 1, QStringLiteral("speling"));
    TRecordingCanvas canvas;
    canvas.SetRecording(true);
    const TRect r = g.CellRect(1, 1);
    g.RenderCell(&canvas, 1, 1, {}, r);
    auto redMarks = [&] {
        int n = 0;
        for (const TCanvasOp &op : canvas.Ops())
            n += op.penColor == clRed && op.kind != TCanvasOp::Kind::DrawText;
        return n;
    };
    EXPECT_EQ(redMarks(), 0);
    g.AddMarker(1, 1, 3, 2);
    canvas.ClearOps();
    g.RenderCell(&canvas, 1, 1, {}, r);
    EXPECT_GT(redMarks(), 0);
    EXPECT_EQ(canvas.Texts(), QStringList{QStringLiteral("speling")});
}

TEST(CellContent, ErrorMarkerRunsUnderItsCharactersFromTheBaseline)
{
    // Recording metrics: 7 pixels a character, lines of 13 with the baseline 10 below the top.
    struct Case
    {
        TAlignment ha;
        TVAlignment va;
    };
    for (const Case &c : {Case{TAlignment::taLeftJustify, TVAlignment::vtaTop},
                          Case{TAlignment::taCenter, TVAlignment::vtaCenter},
                          Case{TAlignment::taRightJustify, TVAlignment::vtaBottom}}) {
        SCOPED_TRACE(int(c.ha));
        TRecordingCanvas canvas;
        TCellPaintView v;
        v.text = QStringLiteral("abcdefgh");
        v.hAlign = c.ha;
        v.vAlign = c.va;
        v.errorStart = 2;
        v.errorLength = 3;
        PaintCellContent(canvas, v, TRect{10, 20, 210, 80});
        const TCanvasOp *text = firstText(canvas);
        ASSERT_NE(text, nullptr);
        const TPoint origin = text->points.at(0);
        const auto zigzags = canvas.OpsOf(TCanvasOp::Kind::Polyline);
        ASSERT_EQ(zigzags.size(), 1u);
        const std::vector<TPoint> &pts = zigzags[0].points;
        ASSERT_GE(pts.size(), 2u);
        // From the first marked character to 3 pixels past the last one's start.
        EXPECT_EQ(pts.front().X, origin.X + 2 * 7);
        EXPECT_GE(pts.back().X, origin.X + 4 * 7);
        EXPECT_LE(pts.back().X, origin.X + 4 * 7 + 3);
        const int baseline = origin.Y + 10;
        EXPECT_EQ(pts.front().Y, baseline + 3);
        for (const TPoint &p : pts)
            EXPECT_TRUE(p.Y == baseline || p.Y == baseline + 3) << p.Y;
    }
}

TEST(CellDrawing, ZoomMakesHeaderAndDataTextSmallerOrLargerAlike)
{
    TQrlStringGrid g;
    g.SetColCount(3);
    g.SetRowCount(3);
    g.SetCells(1, 0, QStringLiteral("WWWWWWWW"));
    g.SetCells(1, 1, QStringLiteral("WWWWWWWW"));
    // The drawn font's height and the measured width, at zoom -3, 0 and +3.
    auto drawnHeight = [&](int row) {
        TRecordingCanvas canvas;
        const TRect r = g.CellRect(1, row);
        g.RenderCell(&canvas, 1, row,
                     row == 0 ? TGridDrawState{TGridDrawStateItem::gdFixed} : TGridDrawState{}, r);
        const TCanvasOp *op = firstText(canvas);
        return op ? std::abs(op->fontHeight) : -1;
    };
    int heights[2][3];
    int widths[2][3];
    const int steps[] = {-3, 3, 3};
    for (int i = 0; i < 3; ++i) {
        g.Zoom(steps[i]);
        for (int row = 0; row < 2; ++row) {
            heights[row][i] = drawnHeight(row);
            widths[row][i] = g.GetCellTextSize(1, row, false, false).cx;
        }
    }
    ASSERT_EQ(g.ZoomFactor(), 3);
    for (int row = 0; row < 2; ++row) {
        SCOPED_TRACE(row == 0 ? "header" : "data");
        EXPECT_LT(heights[row][0], heights[row][1]);
        EXPECT_LT(heights[row][1], heights[row][2]);
        EXPECT_LT(widths[row][0], widths[row][1]);
        EXPECT_LT(widths[row][1], widths[row][2]);
    }
}

struct OutlineCase
{
    int col;
    int row;
    int lines; // outline pieces of a 2 x 2 selection at (1, 1)
    bool resizer;
};

TEST(CellContent, SelectionOutlinePiecesLieOnTheSelectionsEdges)
{
    for (const OutlineCase &oc : {OutlineCase{1, 1, 2, false}, OutlineCase{2, 1, 2, false},
                                  OutlineCase{2, 2, 2, true}, OutlineCase{1, 2, 2, false}}) {
        SCOPED_TRACE(oc.col * 10 + oc.row);
        TRecordingCanvas canvas;
        canvas.SetRecording(true);
        TCellPaintView v;
        v.selRectLeft = oc.col == 1;
        v.selRectRight = oc.col == 2;
        v.selRectTop = oc.row == 1;
        v.selRectBottom = oc.row == 2;
        v.selResizer = oc.resizer;
        v.selRectColor = clNavy;
        PaintSelectionRectangle(canvas, v, {10, 10, 50, 30});
        int lines = 0;
        int squares = 0;
        for (const TCanvasOp &op : canvas.Ops()) {
            if (op.kind == TCanvasOp::Kind::Line) {
                ++lines;
                EXPECT_EQ(op.penColor, clNavy);
                EXPECT_EQ(op.penWidth, 2);
            }
            squares += op.kind == TCanvasOp::Kind::FillRect && op.rect.Width() == 4;
        }
        EXPECT_EQ(lines, oc.lines);
        EXPECT_EQ(squares, oc.resizer ? 1 : 0);
        EXPECT_EQ(canvas.Pen().Width(), 1);
    }
}

} // namespace

namespace {

TEST(CellDrawing, NoDefaultDrawLeavesTheContentOnlyToAnAssignedDrawingEvent)
{
    struct Case
    {
        bool noDefaultDraw;
        bool customDraw;
        bool textDrawn;
    };
    for (const Case &c : {Case{false, false, true}, Case{true, false, true},
                          Case{false, true, true}, Case{true, true, false}}) {
        SCOPED_TRACE(c.noDefaultDraw * 10 + c.customDraw);
        TQrlStringGrid g;
        g.SetColCount(3);
        g.SetRowCount(3);
        g.SetCells(1, 1, QStringLiteral("text"));
        g.SetNoDefaultDraw(c.noDefaultDraw);
        int custom = 0;
        if (c.customDraw)
            g.OnCustomCellDraw = [&](QObject *, TCanvas *, int, int, TGridDrawState, TRect, bool) {
                ++custom;
            };
        TRecordingCanvas canvas;
        canvas.SetRecording(true);
        g.RenderCell(&canvas, 1, 1, {}, g.CellRect(1, 1));
        EXPECT_EQ(canvas.Texts().contains(QStringLiteral("text")), c.textDrawn);
        EXPECT_EQ(custom, c.customDraw ? 1 : 0);
    }
}

} // namespace

namespace {

TEST(CellDrawing, TreeLinesJoinTheRowsOfANodeInTheFirstColumn)
{
    TQrlStringGrid g;
    g.SetColCount(3);
    g.SetRowCount(6);
    g.CellNode()->SetShowTree(true);
    g.CellNode()->SetTreeColor(clFuchsia);
    auto treeLines = [&](int row) {
        TRecordingCanvas canvas;
        canvas.SetRecording(true);
        g.RenderCell(&canvas, 0, row, {}, g.CellRect(0, row));
        std::vector<TCanvasOp> lines;
        for (const TCanvasOp &op : canvas.Ops())
            if (op.kind == TCanvasOp::Kind::Line && op.penColor == clFuchsia)
                lines.push_back(op);
        return lines;
    };
    EXPECT_TRUE(treeLines(2).empty()); // no nodes, no tree
    g.AddNode(1, 3);
    const TRect child = g.CellRect(0, 2);
    const auto lines = treeLines(2);
    ASSERT_FALSE(lines.empty());
    // A row inside the group runs its vertical line from its top down past its bottom.
    const bool through = std::any_of(lines.begin(), lines.end(), [&](const TCanvasOp &op) {
        return op.rect.Left == op.rect.Right && op.rect.Top == child.Top &&
               op.rect.Bottom == child.Bottom + 4;
    });
    EXPECT_TRUE(through);
}

} // namespace

// ---- sort glyph -----------------------------------------------------------------------------

namespace {

struct TriangleCase
{
    const char *name;
    bool negative;
    std::vector<TPoint> triangle; // relative to (X, Y)
    TPoint text;                  // relative to (X, Y)
};

TEST(SortGlyph, IndexShowDrawsTheTriangleOfTheEntryDirectionAndItsPosition)
{
    const int X = 100;
    const int Y = 50;
    for (const TriangleCase &c :
         {TriangleCase{"negative", true, {{-7, -5}, {7, -5}, {0, 8}}, {-2, -4}},
          TriangleCase{"positive", false, {{-6, 8}, {6, 8}, {0, -4}}, {-2, -2}}}) {
        SCOPED_TRACE(c.name);
        TRecordingCanvas canvas;
        canvas.SetRecording(true);
        TSortGlyphView v;
        v.indexShow = true;
        v.indexColor = clYellow;
        v.indexPosition = 3;
        v.indexNegative = c.negative;
        PaintSortIndicator(canvas, v, X, Y);
        const auto polys = canvas.OpsOf(TCanvasOp::Kind::Polygon);
        ASSERT_EQ(polys.size(), 1u);
        std::vector<TPoint> expected;
        for (const TPoint &p : c.triangle)
            expected.push_back({X + p.X, Y + p.Y});
        EXPECT_EQ(polys[0].points, expected);
        EXPECT_EQ(polys[0].brushColor, clYellow);
        const auto texts = canvas.OpsOf(TCanvasOp::Kind::TextOut);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, QStringLiteral("3"));
        EXPECT_EQ(texts[0].rect.Left, X + c.text.X);
        EXPECT_EQ(texts[0].rect.Top, Y + c.text.Y);
        EXPECT_EQ(texts[0].fontColor, clBlack);
    }
}

TEST(SortGlyph, IndexShowDrawsNothingForAColumnOutsideTheIndexList)
{
    TRecordingCanvas canvas;
    canvas.SetRecording(true);
    TSortGlyphView v;
    v.indexShow = true;
    PaintSortIndicator(canvas, v, 10, 10);
    EXPECT_TRUE(canvas.Ops().empty());
}

TEST(SortGlyph, WithoutGlyphsTheDirectionIsAShadedOutline)
{
    struct Line
    {
        TRect seg;
        TColor color;
    };
    const int X = 40;
    const int Y = 20;
    struct Case
    {
        bool descending;
        std::vector<Line> lines;
    };
    for (const Case &c : {Case{true,
                               {{{X + 4, Y - 4, X, Y + 4}, clWhite},
                                {{X, Y + 4, X - 4, Y - 4}, clGray},
                                {{X - 4, Y - 4, X + 4, Y - 4}, clGray}}},
                          Case{false,
                               {{{X - 4, Y + 4, X + 4, Y + 4}, clWhite},
                                {{X + 4, Y + 4, X, Y - 4}, clWhite},
                                {{X, Y - 4, X - 4, Y + 4}, clGray}}}}) {
        SCOPED_TRACE(c.descending);
        TRecordingCanvas canvas;
        canvas.SetRecording(true);
        TSortGlyphView v;
        v.descending = c.descending;
        PaintSortIndicator(canvas, v, X, Y);
        const auto lines = canvas.OpsOf(TCanvasOp::Kind::Line);
        ASSERT_EQ(lines.size(), c.lines.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].rect, c.lines[i].seg) << i;
            EXPECT_EQ(lines[i].penColor, c.lines[i].color) << i;
        }
    }
}

TEST(SortGlyph, GlyphBitmapsStandAtTheirOffsetAndRightToLeftMirrors)
{
    TBitmap up(8, 8);
    TBitmap down(9, 9);
    TRecordingCanvas canvas;
    canvas.SetRecording(true);
    TSortGlyphView v;
    v.upGlyph = &up;
    v.downGlyph = &down;
    v.descending = true;
    v.fixedColor = clSilver;
    PaintSortIndicator(canvas, v, 30, 12);
    auto draws = canvas.OpsOf(TCanvasOp::Kind::Draw);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].rect, Bounds(26, 8, 9, 9));
    EXPECT_EQ(canvas.Brush().Color(), clSilver);

    // Mirrored: client width - X - 4 - (glyph width + 7), or - 7 without glyphs.
    canvas.ClearOps();
    v.rightToLeft = true;
    v.clientWidth = 200;
    PaintSortIndicator(canvas, v, 30, 12);
    draws = canvas.OpsOf(TCanvasOp::Kind::Draw);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].rect.Left, 200 - 30 - 4 - (9 + 7) - 4);

    canvas.ClearOps();
    v.downGlyph = nullptr;
    PaintSortIndicator(canvas, v, 30, 12);
    const auto lines = canvas.OpsOf(TCanvasOp::Kind::Line);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].rect.Left, 200 - 30 - 4 - 7 + 4);
}

TEST(SortGlyph, HeaderPlacesTheGlyphBesideTheTextByAlignment)
{
    struct Case
    {
        TAlignment ha;
        TVAlignment va;
        int x; // relative to the text rectangle's left
        int y; // relative to the cell
    };
    const TRect cell{0, 0, 100, 30};
    // Text rectangle: XYOffset 2 on the left, top and right.
    const int left = 2;
    const int right = 98;
    TRecordingCanvas probe;
    const int w = probe.TextWidth(QStringLiteral("Name"));
    for (const Case &c :
         {Case{TAlignment::taLeftJustify, TVAlignment::vtaTop, left + w + 10, 2 + 8},
          Case{TAlignment::taRightJustify, TVAlignment::vtaBottom, right - w - 10, 30 - 8},
          Case{TAlignment::taCenter, TVAlignment::vtaCenter, left + 8, 16}}) {
        SCOPED_TRACE(int(c.ha));
        TRecordingCanvas canvas;
        canvas.SetRecording(true);
        TCellPaintView v;
        v.text = QStringLiteral("Name");
        v.hAlign = c.ha;
        v.vAlign = c.va;
        v.sortIndicatorCell = true;
        TPoint at{-1, -1};
        v.sortGlyph = [&](TCanvas &, int X, int Y) { at = {X, Y}; };
        PaintCellContent(canvas, v, cell);
        EXPECT_EQ(at.X, c.x);
        EXPECT_EQ(at.Y, c.y);
        if (c.ha == TAlignment::taCenter) {
            const TCanvasOp *op = firstText(canvas);
            ASSERT_NE(op, nullptr);
            EXPECT_EQ(op->rect.Left, left + 10);
        }
    }
}

TEST(SortGlyph, MarkupHeaderKeepsTenPixelsForTheGlyphAtItsRight)
{
    TRecordingCanvas canvas;
    TCellPaintView v;
    v.text = QStringLiteral("<b>Name</b>");
    v.textKind = 1; // mini-HTML
    v.vAlign = TVAlignment::vtaBottom;
    TPoint at{-1, -1};
    v.sortGlyph = [&](TCanvas &, int X, int Y) { at = {X, Y}; };
    PaintCellContent(canvas, v, {0, 0, 100, 30});
    // Text rectangle right 98, less 10 for the glyph, plus 2.
    EXPECT_EQ(at, (TPoint{98 - 10 + 2, 30 - 8}));
}

TEST(SortGlyph, GridHeadersOfSeveralSortedColumnsShowTheirPositions)
{
    TQrlStringGrid g;
    g.SetColCount(5);
    g.SetRowCount(4);
    g.SortSettings()->SetShow(true);
    g.SortSettings()->SetIndexShow(true);
    g.SortIndexes().AddIndex(3, true);
    g.SortIndexes().AddIndex(1, false);
    g.SortIndexes().AddIndex(2, true);
    QStringList shown;
    for (int c = 1; c < 5; ++c) {
        TRecordingCanvas canvas;
        canvas.SetRecording(true);
        const TRect r = g.CellRect(c, 0);
        g.RenderCell(&canvas, c, 0, {TGridDrawStateItem::gdFixed},
                     {r.Left, r.Top, r.Right - 1, r.Bottom - 2});
        for (const TCanvasOp &op : canvas.OpsOf(TCanvasOp::Kind::TextOut))
            shown << QString::number(c) + QLatin1Char(':') + op.text;
    }
    EXPECT_EQ(shown,
              (QStringList{QStringLiteral("1:2"), QStringLiteral("2:3"), QStringLiteral("3:1")}));
}

TEST(SortGlyph, RightToLeftGlyphStaysInItsHeaderCell)
{
    TQrlStringGrid g;
    g.resize(400, 200);
    g.SetColCount(4);
    g.SetRowCount(4);
    g.SortSettings()->SetShow(true);
    g.SortSettings()->SetColumn(2);
    for (Qt::LayoutDirection dir : {Qt::LeftToRight, Qt::RightToLeft}) {
        g.setLayoutDirection(dir);
        TRecordingCanvas canvas;
        canvas.SetRecording(true);
        const TRect r = g.CellRect(2, 0);
        g.RenderCell(&canvas, 2, 0, {TGridDrawStateItem::gdFixed},
                     {r.Left, r.Top, r.Right - 1, r.Bottom - 2});
        std::vector<TCanvasOp> marks = canvas.OpsOf(TCanvasOp::Kind::Line);
        for (const TCanvasOp &op : canvas.OpsOf(TCanvasOp::Kind::Draw))
            marks.push_back(op);
        ASSERT_FALSE(marks.empty()) << dir;
        for (const TCanvasOp &op : marks) {
            EXPECT_GE(std::min(op.rect.Left, op.rect.Right), r.Left) << dir;
            EXPECT_LE(std::max(op.rect.Left, op.rect.Right), r.Right) << dir;
        }
    }
}

// ---- background picture ---------------------------------------------------------------------

// A bitmap of Width x 2: the top row has pixel x in red x * 10, the bottom row is the
// transparent colour.
TBitmap stripes(int Width)
{
    QImage img(Width, 2, QImage::Format_RGB32);
    for (int x = 0; x < Width; ++x) {
        img.setPixel(x, 0, qRgb(x * 10, 0, 0));
        img.setPixel(x, 1, qRgb(255, 0, 255));
    }
    return TBitmap(img);
}

TEST(CellBackground, TilesRunFromTheOriginAcrossTheCell)
{
    const TBitmap bmp = stripes(16);
    TRecordingCanvas canvas;
    canvas.SetRecording(true);
    PaintBackgroundTiled(canvas, bmp, {10, 20, 40, 21}, 5, 0);
    const auto draws = canvas.OpsOf(TCanvasOp::Kind::Draw);
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].rect, (TRect{10, 20, 21, 21}));
    EXPECT_EQ(draws[1].rect, (TRect{21, 20, 37, 21}));
    EXPECT_EQ(draws[2].rect, (TRect{37, 20, 40, 21}));

    // The pixels: the cell's first column shows the bitmap's column 5, then it wraps.
    QImage out(60, 30, QImage::Format_RGB32);
    out.fill(Qt::white);
    {
        TCanvas c(&out);
        PaintBackgroundTiled(c, bmp, {10, 20, 40, 22}, 5, 0);
        c.Flush();
    }
    EXPECT_EQ(qRed(out.pixel(10, 20)), 50);
    EXPECT_EQ(qRed(out.pixel(21, 20)), 0);
    EXPECT_EQ(qRed(out.pixel(39, 20)), 20);
    // The transparent row leaves the cell's own background.
    EXPECT_EQ(out.pixel(10, 21), qRgb(255, 255, 255));
}

TEST(CellBackground, FixedPictureDrawsOnlyItsPartInTheCell)
{
    const TBitmap bmp = stripes(16);
    TRecordingCanvas canvas;
    canvas.SetRecording(true);
    PaintBackgroundFixed(canvas, bmp, {10, 0, 40, 20}, {30, 1});
    auto draws = canvas.OpsOf(TCanvasOp::Kind::Draw);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].rect, (TRect{30, 1, 40, 3}));
    canvas.ClearOps();
    PaintBackgroundFixed(canvas, bmp, {10, 0, 40, 20}, {50, 1});
    EXPECT_TRUE(canvas.OpsOf(TCanvasOp::Kind::Draw).empty());
}

TEST(CellBackground, GradientSliceTakesTheColoursAtTheCellEdges)
{
    struct Case
    {
        bool horizontal;
        TRect cell;
        TColor from;
        TColor to;
        int bands;
    };
    const TColor a = RGB(0, 0, 0);
    const TColor b = RGB(200, 100, 40);
    for (const Case &c : {Case{true, {50, 0, 150, 20}, RGB(50, 25, 10), RGB(150, 75, 30), 100},
                          Case{false, {0, 0, 30, 200}, RGB(0, 0, 0), RGB(100, 50, 20), 128}}) {
        SCOPED_TRACE(c.horizontal);
        TRecordingCanvas canvas;
        canvas.SetRecording(true);
        PaintBackgroundGradient(canvas, c.cell, a, b, c.horizontal, 200 * (c.horizontal ? 1 : 2));
        const auto g = canvas.OpsOf(TCanvasOp::Kind::Gradient);
        ASSERT_EQ(g.size(), 1u);
        EXPECT_EQ(g[0].rect, c.cell);
        EXPECT_EQ(g[0].color1, c.from);
        EXPECT_EQ(g[0].color2, c.to);
        EXPECT_EQ(g[0].count, c.bands);
    }
}

TEST(CellBackground, GridDrawsThePictureOnlyInAdmittedCellsWithoutOwnColour)
{
    TQrlStringGrid g;
    g.SetColCount(3);
    g.SetRowCount(3);
    g.BackGround()->SetBitmap(stripes(8));
    g.GetCellProperties(2, 2)->SetBrushColor(clRed);
    const auto drawsIn = [&](int c, int r, TGridDrawState st) {
        TRecordingCanvas canvas;
        canvas.SetRecording(true);
        const TRect cr = g.CellRect(c, r);
        g.RenderCell(&canvas, c, r, st, cr);
        return !canvas.OpsOf(TCanvasOp::Kind::Draw).empty();
    };
    EXPECT_TRUE(drawsIn(1, 1, {}));
    EXPECT_FALSE(drawsIn(1, 0, {TGridDrawStateItem::gdFixed}));
    EXPECT_FALSE(drawsIn(2, 2, {}));
    EXPECT_FALSE(drawsIn(1, 2, {TGridDrawStateItem::gdSelected}));
    g.BackGround()->SetCells(TBackGroundCells::bcFixed);
    EXPECT_TRUE(drawsIn(1, 0, {TGridDrawStateItem::gdFixed}));
    EXPECT_FALSE(drawsIn(1, 1, {}));
}

TEST(CellBackground, GridGradientSpansTheGridAndSkipsUnfocusedSelectedCells)
{
    TQrlStringGrid g;
    g.SetColCount(3);
    g.SetRowCount(3);
    g.resize(200, 100);
    g.BackGround()->SetDisplay(TBackGroundDisplay::bdGradientHorz);
    g.BackGround()->SetColor(RGB(0, 0, 0));
    g.BackGround()->SetColorTo(RGB(200, 0, 0));
    const auto gradientIn = [&](int c, int r, TGridDrawState st) {
        TRecordingCanvas canvas;
        canvas.SetRecording(true);
        const TRect cr = g.CellRect(c, r);
        g.RenderCell(&canvas, c, r, st, cr);
        std::vector<TCanvasOp> ops;
        for (const TCanvasOp &op : canvas.OpsOf(TCanvasOp::Kind::Gradient))
            if (op.rect == cr)
                ops.push_back(op);
        return ops;
    };
    const TRect cr = g.CellRect(1, 1);
    const auto ops = gradientIn(1, 1, {});
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].color1, RGB(200 * cr.Left / 200, 0, 0));
    EXPECT_EQ(ops[0].color2, RGB(200 * cr.Right / 200, 0, 0));
    EXPECT_TRUE(gradientIn(1, 1, {TGridDrawStateItem::gdSelected}).empty());
    EXPECT_EQ(
        gradientIn(1, 1, {TGridDrawStateItem::gdSelected, TGridDrawStateItem::gdFocused}).size(),
        1u);
}

} // namespace

namespace {

// A cell the base painter handed over as selected keeps the selection colours only when its
// row (column) is marked under a disjunct selection.
TEST(CellDrawing, DisjunctSelectionGivesUnmarkedLinesTheirNormalColours)
{
    struct Case
    {
        const char *name;
        bool byRow;
        bool disjunct;
        bool marked;
        bool selectionLook;
    };
    for (const Case &c : {Case{"row marked", true, true, true, true},
                          Case{"row unmarked", true, true, false, false},
                          Case{"column marked", false, true, true, true},
                          Case{"column unmarked", false, true, false, false},
                          Case{"no disjunct selection", true, false, false, true}}) {
        SCOPED_TRACE(c.name);
        TQrlStringGrid g;
        g.SetColCount(4);
        g.SetRowCount(4);
        g.SetSelectionTextColor(clRed);
        g.SetCells(2, 2, QStringLiteral("x"));
        if (c.disjunct && c.byRow)
            g.MouseActions()->SetDisjunctRowSelect(true);
        if (c.disjunct && !c.byRow)
            g.MouseActions()->SetDisjunctColSelect(true);
        if (c.marked && c.byRow)
            g.SetRowSelect(2, true);
        if (c.marked && !c.byRow)
            g.SetColSelect(2, true);
        TRecordingCanvas canvas;
        canvas.SetRecording(true);
        g.RenderCell(&canvas, 2, 2, {TGridDrawStateItem::gdSelected}, g.CellRect(2, 2));
        const TCanvasOp *text = firstText(canvas);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->fontColor == clRed, c.selectionLook);
        if (!c.selectionLook) {
            EXPECT_EQ(text->fontColor, g.Font().Color());
        }
    }
}

TEST(CellDrawing, FlatGridFramesRightFixedColumnsInGrey)
{
    struct Case
    {
        const char *name;
        bool flat;
        TGridLook look;
        int col;
        int greyLines;
    };
    for (const Case &c : {Case{"flat right fixed", true, TGridLook::glXP, 3, 4},
                          Case{"flat data column", true, TGridLook::glXP, 2, 0},
                          Case{"flat classic", true, TGridLook::glClassic, 3, 0},
                          Case{"not flat", false, TGridLook::glXP, 3, 0}}) {
        SCOPED_TRACE(c.name);
        TQrlStringGrid g;
        g.SetColCount(4);
        g.SetRowCount(3);
        g.SetFixedRightCols(1);
        g.SetLook(c.look);
        g.SetFlat(c.flat);
        g.SetOptions(g.Options() + plat::TGridOption::goFixedHorzLine +
                     plat::TGridOption::goFixedVertLine);
        const TRect r = g.CellRect(c.col, 1);
        auto greyLines = [&] {
            TRecordingCanvas canvas;
            canvas.SetRecording(true);
            g.RenderCell(&canvas, c.col, 1, {}, r);
            std::vector<TCanvasOp> lines;
            for (const TCanvasOp &op : canvas.Ops())
                if (op.kind == TCanvasOp::Kind::Line && op.penColor == 0x808080)
                    lines.push_back(op);
            return lines;
        };
        const auto lines = greyLines();
        ASSERT_EQ(int(lines.size()), c.greyLines);
        if (lines.empty())
            continue;
        // One pixel outside the cell on every side.
        EXPECT_EQ(lines[0].rect.Top, r.Top - 1);
        EXPECT_EQ(lines[1].rect.Top, r.Bottom);
        EXPECT_EQ(lines[2].rect.Left, r.Left - 1);
        EXPECT_EQ(lines[3].rect.Left, r.Right);
        // Without the vertical fixed lines only the horizontal pair remains.
        plat::TGridOptions o = g.Options();
        o.Exclude(plat::TGridOption::goFixedVertLine);
        g.SetOptions(o);
        EXPECT_EQ(greyLines().size(), 2u);
    }
}

} // namespace
