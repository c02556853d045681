// Cell graphics on the recording canvas: layout sizes, placement by alignment, check boxes and
// radio buttons by style and state, pictures by stretch mode, progress, ratings, shapes, comments
// and buttons. Pixels only where the look is the point (a check mark).
#include "grid/display/QrlCellPaint.h"
#include "grid/display/QrlGraphicPaint.h"
#include "grid/model/QrlGridDraw.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Kind = TCanvasOp::Kind;

class GraphicPaintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid.look = &look;
        cell.rect = Rect(0, 0, 100, 30);
        cell.rowHeight = 30;
    }

    TGraphicPaintResult paint(const TCellGraphic &g)
    {
        canvas.ClearOps();
        return RenderCellGraphic(canvas, g, GetGraphicLayout(&g, grid, cell), grid, cell);
    }

    std::vector<TCanvasOp> ops(Kind k) const { return canvas.OpsOf(k); }

    TControlLook look;
    TGraphicGridView grid;
    TGraphicCellView cell;
    TRecordingCanvas canvas;
};

std::unique_ptr<TCellGraphic> checkBox(TCellType kind, bool on = false)
{
    auto g = std::make_unique<TCellGraphic>();
    g->SetCellType(kind);
    g->SetCellBoolean(on);
    return g;
}

// ---- layout -------------------------------------------------------------------------------

TEST_F(GraphicPaintTest, LayoutGivesEachKindItsRoomAndTextVisibility)
{
    TCustomImageList images(16, 12);
    grid.images = &images;
    cell.rowHeight = 24;
    TBitmap bmp(10, 8);
    struct Case
    {
        TCellType kind;
        int index;
        int angle;
        int w, h;
        bool text;
    };
    const Case cases[] = {
        {TCellType::ctCheckBox, 0, 0, 15, 15, true},
        {TCellType::ctTriStateCheckBox, 0, 0, 15, 15, true},
        {TCellType::ctDataCheckBox, 0, 0, 15, 15, false},
        {TCellType::ctVirtCheckBox, 0, 0, 15, 15, false},
        {TCellType::ctRowCheckBox, 0, 0, 15, 15, false},
        {TCellType::ctRadioButton, 0, 0, 14, 14, true},
        {TCellType::ctRadio, 0, 0, 0, 0, false},
        {TCellType::ctRotated, 0, 0, 0, 0, false},
        {TCellType::ctProgress, 0, 0, 0, 0, false},
        {TCellType::ctXPProgress, 0, 0, 0, 0, false},
        {TCellType::ctRangeIndicator, 0, 0, 0, 0, false},
        {TCellType::ctProgressPie, 0, 0, 20, 20, true},
        {TCellType::ctButton, (20 << 16) | 40, 0, 40, 20, true},
        {TCellType::ctShape, 0, 0, 20, 20, true},
        {TCellType::ctRating, 0, 5, 90, 16, false},
        {TCellType::ctImageList, 0, 0, 16, 12, true},
        {TCellType::ctDataImage, 0, 0, 16, 12, false},
        {TCellType::ctComment, 0, 0, 0, 0, true},
    };
    for (const Case &c : cases) {
        TCellGraphic g;
        g.SetCellType(c.kind);
        g.SetCellIndex(c.index);
        g.SetCellAngle(c.angle);
        const TGraphicLayout l = GetGraphicLayout(&g, grid, cell);
        EXPECT_EQ(l.width, c.w) << int(c.kind);
        EXPECT_EQ(l.height, c.h) << int(c.kind);
        EXPECT_EQ(l.textVisible, c.text) << int(c.kind);
    }
    TCellGraphic b;
    b.SetBitmap(&bmp, false, TCellHAlign::haLeft, TCellVAlign::vaTop);
    EXPECT_EQ(GetGraphicLayout(&b, grid, cell).width, 10);
    EXPECT_EQ(GetGraphicLayout(&b, grid, cell).height, 8);

    // Image kinds without a list take no room.
    grid.images = nullptr;
    TCellGraphic il;
    il.SetImageIdx(0, TCellHAlign::haLeft, TCellVAlign::vaTop);
    EXPECT_EQ(GetGraphicLayout(&il, grid, cell).width, 0);
    EXPECT_EQ(GetGraphicLayout(nullptr, grid, cell).width, 0);
}

TEST_F(GraphicPaintTest, MultiImageLaysImagesInARowOrAColumn)
{
    TCustomImageList images(16, 12);
    for (int i = 0; i < 3; ++i)
        images.Add(QImage(16, 12, QImage::Format_RGB32));
    grid.images = &images;
    for (int dir : {0, 1}) {
        TCellGraphic g;
        g.SetMultiImage(0, 0, dir, TCellHAlign::haLeft, TCellVAlign::vaTop, nullptr);
        for (int i : {0, 2, 1})
            g.CellBitmap().As<TIntList>()->Add(i);
        const TGraphicLayout l = GetGraphicLayout(&g, grid, cell);
        EXPECT_EQ(l.width, dir == 0 ? 48 : 16);
        EXPECT_EQ(l.height, dir == 0 ? 12 : 36);
        paint(g);
        const auto draws = ops(Kind::Draw);
        ASSERT_EQ(draws.size(), 3u);
        EXPECT_EQ(draws[2].rect.Left, dir == 0 ? 2 + 32 : 2);
        EXPECT_EQ(draws[2].rect.Top, dir == 0 ? 2 : 2 + 24);
    }
}

// ---- placement ----------------------------------------------------------------------------

TEST_F(GraphicPaintTest, BitmapIsPlacedByItsAlignmentsBesideTheText)
{
    // Cell 100 x 30 with offset 2 leaves (1, 1, 99, 29); text 20 wide counts 22.
    TBitmap bmp(10, 8);
    cell.textWidth = 20;
    using H = TCellHAlign;
    using A = TAlignment;
    struct Case
    {
        H hal;
        A text;
        int x;
    };
    const Case hcases[] = {
        {H::haLeft, A::taLeftJustify, 2},         {H::haRight, A::taLeftJustify, 88},
        {H::haCenter, A::taLeftJustify, 45},      {H::haBeforeText, A::taLeftJustify, 2},
        {H::haBeforeText, A::taRightJustify, 67}, {H::haBeforeText, A::taCenter, 34},
        {H::haAfterText, A::taLeftJustify, 23},   {H::haAfterText, A::taRightJustify, 88},
        {H::haAfterText, A::taCenter, 56},        {H::haFull, A::taLeftJustify, 1},
    };
    for (const Case &c : hcases) {
        TCellGraphic g;
        g.SetBitmap(&bmp, false, c.hal, TCellVAlign::vaTop);
        cell.hAlign = c.text;
        const TGraphicPaintResult res = paint(g);
        EXPECT_EQ(res.box.Left, c.x) << int(c.hal) << " " << int(c.text);
        ASSERT_EQ(ops(Kind::Draw).size(), 1u);
        EXPECT_EQ(ops(Kind::Draw)[0].rect.Left, c.x);
    }
    struct VCase
    {
        TCellVAlign val;
        int y, h;
    };
    const VCase vcases[] = {
        {TCellVAlign::vaTop, 2, 8},        {TCellVAlign::vaAboveText, 2, 8},
        {TCellVAlign::vaBottom, 20, 8},    {TCellVAlign::vaCenter, 11, 8},
        {TCellVAlign::vaUnderText, 21, 8}, {TCellVAlign::vaFull, 1, 28},
    };
    cell.hAlign = A::taLeftJustify;
    for (const VCase &c : vcases) {
        TCellGraphic g;
        g.SetBitmap(&bmp, false, H::haLeft, c.val);
        const TGraphicPaintResult res = paint(g);
        EXPECT_EQ(res.box.Top, c.y) << int(c.val);
        EXPECT_EQ(res.box.Height(), c.h) << int(c.val);
    }
}

TEST_F(GraphicPaintTest, CheckKindsFollowTheTextAlignment)
{
    look.SetControlStyle(TControlStyle::csWinXP);
    cell.textWidth = 20; // counts 22
    struct Case
    {
        TCellType kind;
        TAlignment text;
        int x;
    };
    const Case cases[] = {
        {TCellType::ctCheckBox, TAlignment::taLeftJustify, 2},
        // Right-justified: before the text for a captioned box, at the edge for a data box.
        {TCellType::ctCheckBox, TAlignment::taRightJustify, 61},
        {TCellType::ctDataCheckBox, TAlignment::taRightJustify, 83},
        {TCellType::ctDataCheckBox, TAlignment::taCenter, 42},
        {TCellType::ctCheckBox, TAlignment::taCenter, 24},
    };
    for (const Case &c : cases) {
        cell.hAlign = c.text;
        EXPECT_EQ(paint(*checkBox(c.kind)).box.Left, c.x) << int(c.kind) << " " << int(c.text);
    }
    // The cell's own vertical alignment wins when it differs from the grid's.
    cell.hAlign = TAlignment::taLeftJustify;
    cell.vAlign = TVAlignment::vtaCenter;
    EXPECT_EQ(paint(*checkBox(TCellType::ctCheckBox)).box.Top, 7);
    cell.vAlign = TVAlignment::vtaTop;
    EXPECT_EQ(paint(*checkBox(TCellType::ctCheckBox)).box.Top, 2);
}

TEST_F(GraphicPaintTest, DataCheckBoxColumnBoxIsCentredTwoPixelsBelowTheTop)
{
    look.SetControlStyle(TControlStyle::csWinXP);
    cell.hAlign = TAlignment::taCenter;
    cell.text = QStringLiteral("Y");
    const TGraphicPaintResult res = paint(*checkBox(TCellType::ctVirtCheckBox));
    EXPECT_EQ(res.box, Bounds(42, 2, 15, 15));
    ASSERT_EQ(ops(Kind::Draw).size(), 1u);
    EXPECT_EQ(ops(Kind::Draw)[0].rect, Bounds(42, 2, 16, 16));
}

// ---- check boxes ----------------------------------------------------------------------------

// Renders one check box on a white image.
QImage renderCheck(
    const TControlLook &look, TControlStyle style, bool checked, bool enabled, bool grayed = false)
{
    QImage img(24, 24, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas c(&img);
    RenderCheck(c, Bounds(0, 0, 20, 20), checked, TCheckBoxState::cbUnchecked, false, style, grayed,
                enabled, look);
    c.Flush();
    return img;
}

QImage renderResource(const char *name)
{
    QImage img(24, 24, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas c(&img);
    DrawResourceBitmap(c, clNone, Bounds(0, 0, 20, 20), QString::fromLatin1(name));
    c.Flush();
    return img;
}

TEST_F(GraphicPaintTest, BitmapStylesPickTheGlyphByStateAndActivity)
{
    struct Case
    {
        TControlStyle style;
        bool checked, enabled, alwaysActive;
        const char *glyph;
    };
    const Case cases[] = {
        {TControlStyle::csWinXP, true, true, false, "QSGCHK05"},
        {TControlStyle::csWinXP, false, true, false, "QSGCHK06"},
        {TControlStyle::csWinXP, true, false, false, "QSGCHK07"},
        {TControlStyle::csWinXP, false, false, false, "QSGCHK08"},
        {TControlStyle::csWinXP, true, false, true, "QSGCHK05"},
        {TControlStyle::csQuorl, true, true, false, "QSGCHK01"},
        {TControlStyle::csQuorl, false, true, false, "QSGCHK02"},
        {TControlStyle::csQuorl, true, false, false, "QSGCHK03"},
        {TControlStyle::csQuorl, false, false, false, "QSGCHK04"},
    };
    ASSERT_NE(renderResource("QSGCHK05"), renderResource("QSGCHK06"));
    for (const Case &c : cases) {
        look.SetCheckAlwaysActive(c.alwaysActive);
        EXPECT_EQ(renderCheck(look, c.style, c.checked, c.enabled), renderResource(c.glyph))
            << c.glyph;
    }
    look.SetCheckAlwaysActive(false);
    look.SetNoDisabledCheckRadioLook(true);
    EXPECT_EQ(renderCheck(look, TControlStyle::csWinXP, false, false), renderResource("QSGCHK06"));
}

TEST_F(GraphicPaintTest, ClassicAndThemedBoxesCarryTheirStateFlags)
{
    struct Case
    {
        TControlStyle style;
        bool checked, grayed, enabled;
        std::uint32_t flags;
        TRect rect;
    };
    const TRect centred = Bounds(2, 2, 15, 15); // in the 19 x 19 box
    const TRect topLeft = Bounds(0, 0, 15, 15);
    const Case cases[] = {
        {TControlStyle::csClassic, false, false, true, DFCS_BUTTONCHECK, centred},
        {TControlStyle::csClassic, true, false, true, DFCS_BUTTONCHECK | DFCS_CHECKED, centred},
        {TControlStyle::csClassic, true, true, true,
         DFCS_BUTTONCHECK | DFCS_BUTTON3STATE | DFCS_CHECKED, centred},
        {TControlStyle::csClassic, false, false, false, DFCS_BUTTONCHECK | DFCS_INACTIVE, centred},
        {TControlStyle::csFlat, true, false, true, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT,
         centred},
        {TControlStyle::csTheme, true, false, false,
         DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE, topLeft},
    };
    for (const Case &c : cases) {
        canvas.ClearOps();
        RenderCheck(canvas, Bounds(0, 0, 19, 19), c.checked, TCheckBoxState::cbUnchecked, false,
                    c.style, c.grayed, c.enabled, look);
        const auto fc = ops(Kind::FrameControl);
        ASSERT_EQ(fc.size(), 1u);
        EXPECT_EQ(fc[0].flags, c.flags) << int(c.style);
        EXPECT_EQ(fc[0].rect, c.rect) << int(c.style);
    }
}

TEST_F(GraphicPaintTest, TriStateTakesCheckedAndGrayedFromTheState)
{
    look.SetControlStyle(TControlStyle::csClassic);
    const std::pair<TCheckBoxState, std::uint32_t> cases[] = {
        {TCheckBoxState::cbUnchecked, 0},
        {TCheckBoxState::cbChecked, DFCS_CHECKED},
        {TCheckBoxState::cbGrayed, DFCS_CHECKED | DFCS_BUTTON3STATE},
    };
    for (const auto &[state, flags] : cases) {
        auto g = checkBox(TCellType::ctTriStateCheckBox);
        g->SetCellCheckBoxState(state);
        paint(*g);
        ASSERT_EQ(ops(Kind::FrameControl).size(), 1u);
        EXPECT_EQ(ops(Kind::FrameControl)[0].flags, DFCS_BUTTONCHECK | flags);
    }
}

TEST_F(GraphicPaintTest, DataCheckBoxIsCheckedOnlyByTheExactCheckTrueText)
{
    look.SetControlStyle(TControlStyle::csClassic);
    const std::pair<const char *, bool> cases[] = {
        {"Y", true}, {"y", false}, {" Y", false}, {"N", false}, {"", false}};
    for (const auto &[text, checked] : cases) {
        cell.text = QString::fromLatin1(text);
        paint(*checkBox(TCellType::ctDataCheckBox));
        ASSERT_EQ(ops(Kind::FrameControl).size(), 1u);
        EXPECT_EQ((ops(Kind::FrameControl)[0].flags & DFCS_CHECKED) != 0, checked) << text;
    }
    // A read-only column shows the inactive look.
    cell.enabled = false;
    cell.text = QStringLiteral("Y");
    paint(*checkBox(TCellType::ctDataCheckBox));
    EXPECT_NE(ops(Kind::FrameControl)[0].flags & DFCS_INACTIVE, 0u);
}

TEST_F(GraphicPaintTest, GlyphStyleWithoutGlyphsDrawsNothing)
{
    look.SetControlStyle(TControlStyle::csGlyph);
    paint(*checkBox(TCellType::ctCheckBox, true));
    EXPECT_TRUE(canvas.Ops().empty());

    TBitmap on(12, 12);
    on.Canvas().Brush().SetColor(clRed);
    on.Canvas().FillRect(Rect(0, 0, 12, 12));
    look.SetCheckedGlyph(on);
    paint(*checkBox(TCellType::ctCheckBox, true));
    ASSERT_EQ(ops(Kind::Draw).size(), 1u);
    EXPECT_EQ(ops(Kind::Draw)[0].rect, Bounds(2, 2, 12, 12));
    paint(*checkBox(TCellType::ctCheckBox, false));
    EXPECT_TRUE(canvas.Ops().empty());
}

TEST_F(GraphicPaintTest, DrawnLookShowsATickInTheMarkColourOnlyWhenChecked)
{
    look.SetColor(clRed);
    auto redPixels = [](const QImage &img) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += img.pixel(x, y) == qRgb(255, 0, 0);
        return n;
    };
    EXPECT_GT(redPixels(renderCheck(look, TControlStyle::csCorvane, true, true)), 10);
    EXPECT_EQ(redPixels(renderCheck(look, TControlStyle::csCorvane, false, true)), 0);
    // Inactive: the tick turns grey.
    EXPECT_EQ(redPixels(renderCheck(look, TControlStyle::csCorvane, true, false)), 0);
}

// ---- radio buttons --------------------------------------------------------------------------

TEST_F(GraphicPaintTest, RadioGroupMarksTheIndexOrTheItemEqualToTheCellText)
{
    const QStringList items{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    auto onItems = [&](int index, const QString &text) {
        canvas.ClearOps();
        RenderRadio(canvas, Rect(0, 0, 100, 60), false, 1.0, TControlStyle::csClassic, false,
                    &items, false, false, index, 3, look, text);
        std::vector<int> on;
        const auto fc = ops(Kind::FrameControl);
        for (size_t i = 0; i < fc.size(); ++i)
            if (fc[i].flags & DFCS_CHECKED)
                on.push_back(static_cast<int>(i));
        return on;
    };
    EXPECT_EQ(onItems(1, QString()), std::vector<int>{1});
    EXPECT_EQ(onItems(-1, QStringLiteral("c")), std::vector<int>{2});
    EXPECT_TRUE(onItems(-1, QStringLiteral("x")).empty());

    // Stacked items: one line of "gh" apart, captions RadioSize + 4 right of the glyph.
    const auto fc = ops(Kind::FrameControl);
    ASSERT_EQ(fc.size(), 3u);
    EXPECT_EQ(fc[0].rect, Bounds(2, 2, 10, 10));
    EXPECT_EQ(fc[1].rect.Top, 2 + canvas.LineHeight());
    EXPECT_EQ(canvas.Texts(), items);
    EXPECT_EQ(ops(Kind::TextOut)[0].rect.Left, 2 + 14);

    canvas.ClearOps();
    RenderRadio(canvas, Rect(0, 0, 100, 60), false, 1.0, TControlStyle::csClassic, false, &items,
                false, false, 0, 0, look);
    EXPECT_TRUE(canvas.Ops().empty());
}

TEST_F(GraphicPaintTest, DrawnLookRadioCaptionsHaveNoBoxBehindThem)
{
    // On a magenta ground the text's own pixels are shades of magenta; the glyphs' brush
    // colours (button face, the red mark) must not show behind the captions.
    look.SetColor(clRed);
    const QStringList items{QStringLiteral("one"), QStringLiteral("two")};
    for (bool horizontal : {false, true}) {
        SCOPED_TRACE(horizontal ? "side by side" : "stacked");
        QImage img(160, 60, QImage::Format_RGB32);
        img.fill(QColor(255, 0, 255));
        std::vector<TCanvasOp> captions;
        {
            TCanvas cv(&img);
            cv.SetRecording(true);
            cv.Brush().SetColor(clFuchsia);
            RenderRadio(cv, Rect(0, 0, 160, 60), false, 1.0, TControlStyle::csCorvane, false,
                        &items, false, horizontal, 0, 2, look, QString());
            for (const TCanvasOp &op : cv.Ops())
                if (op.kind == Kind::TextOut)
                    captions.push_back(op);
            cv.Flush();
        }
        ASSERT_EQ(captions.size(), 2u);
        for (const TCanvasOp &op : captions) {
            int boxed = 0;
            int ink = 0;
            for (int y = op.rect.Top; y < op.rect.Bottom; ++y)
                for (int x = op.rect.Left; x < op.rect.Right; ++x) {
                    const QColor p = img.pixelColor(x, y);
                    boxed += p == ToQColor(clBtnFace) || p == QColor(255, 0, 0);
                    ink += p != QColor(255, 0, 255);
                }
            EXPECT_EQ(boxed, 0) << op.text.toStdString();
            EXPECT_GT(ink, 0) << op.text.toStdString();
        }
    }
}

TEST_F(GraphicPaintTest, RadioButtonCellIsOneGlyphMovedRightByTheOffset)
{
    look.SetControlStyle(TControlStyle::csClassic);
    const TGraphicPaintResult res = paint(*checkBox(TCellType::ctRadioButton, true));
    EXPECT_EQ(res.box, Bounds(2 + 2, 2, 10, 10));
    const auto fc = ops(Kind::FrameControl);
    ASSERT_EQ(fc.size(), 1u);
    EXPECT_EQ(fc[0].flags, DFCS_BUTTONRADIO | DFCS_CHECKED);
    cell.enabled = false;
    paint(*checkBox(TCellType::ctRadioButton, false));
    EXPECT_EQ(ops(Kind::FrameControl)[0].flags, DFCS_BUTTONRADIO | DFCS_INACTIVE);
    look.SetRadioAlwaysActive(true);
    paint(*checkBox(TCellType::ctRadioButton, false));
    EXPECT_EQ(ops(Kind::FrameControl)[0].flags, DFCS_BUTTONRADIO);
}

TEST_F(GraphicPaintTest, RadioButtonGlyphStaysInsideItsBoxAndLeftOfTheText)
{
    // The screenshot fault: 16-pixel radio glyphs in a RadioSize box ran over the text.
    TBitmap bigGlyph(20, 20);
    look.SetRadioOnGlyph(bigGlyph);
    look.SetRadioOffGlyph(bigGlyph);
    cell.text = QStringLiteral("radio");
    const TControlStyle styles[] = {TControlStyle::csClassic, TControlStyle::csFlat,
                                    TControlStyle::csWinXP,   TControlStyle::csCorvane,
                                    TControlStyle::csQuorl,   TControlStyle::csGlyph,
                                    TControlStyle::csTheme};
    for (const bool on : {true, false}) {
        for (const TControlStyle style : styles) {
            SCOPED_TRACE(testing::Message() << "style " << static_cast<int>(style) << " on " << on);
            look.SetControlStyle(style);
            // As AddRadioButton stores it: before the text.
            TCellGraphic g;
            g.SetRadioButton(on, true, TCellHAlign::haBeforeText, TCellVAlign::vaTop);
            const TGraphicLayout layout = GetGraphicLayout(&g, grid, cell);
            const TGraphicPaintResult res = paint(g);
            EXPECT_EQ(res.box, Bounds(2 + 2, 2, 10, 10));
            ASSERT_FALSE(canvas.Ops().empty());
            for (const TCanvasOp &op : canvas.Ops()) {
                TRect b = op.rect;
                if (!op.points.empty()) {
                    b = Rect(op.points[0].X, op.points[0].Y, op.points[0].X, op.points[0].Y);
                    for (const TPoint &p : op.points)
                        b = Rect(std::min(b.Left, p.X), std::min(b.Top, p.Y),
                                 std::max(b.Right, p.X), std::max(b.Bottom, p.Y));
                }
                EXPECT_GE(b.Left, res.box.Left);
                EXPECT_GE(b.Top, res.box.Top);
                EXPECT_LE(b.Right, res.box.Right);
                EXPECT_LE(b.Bottom, res.box.Bottom);
            }
            TCellPaintView v;
            v.text = cell.text;
            v.hasGraphic = true;
            v.graphicSize = {layout.width, layout.height};
            v.graphicHAlign = layout.hAlign;
            EXPECT_GE(CellTextRect(v, cell.rect).Left, res.box.Right);
        }
    }
}

// ---- pictures -------------------------------------------------------------------------------

TEST_F(GraphicPaintTest, PictureStretchModesSizeAndDrawThePicture)
{
    // Room in a 100 x 30 cell with offset 2: 95 x 25.
    struct Case
    {
        int w, h;
        TStretchMode mode;
        int bw, bh;
    };
    const Case cases[] = {
        {40, 20, TStretchMode::noStretch, 40, 20},
        {40, 20, TStretchMode::Stretch, 95, 25},
        {40, 20, TStretchMode::StretchWithAspectRatio, 50, 25},
        {40, 20, TStretchMode::Shrink, 40, 20},
        {40, 20, TStretchMode::ShrinkWithAspectRatio, 40, 20},
        {200, 50, TStretchMode::noStretch, 200, 50},
        {200, 50, TStretchMode::Shrink, 95, 25},
        {200, 50, TStretchMode::ShrinkWithAspectRatio, 95, 24},
    };
    for (const Case &c : cases) {
        TBitmap pic(c.w, c.h);
        TCellGraphic g;
        g.SetPicture(TCellRef::Object(&pic), false, c.mode, 0, TCellHAlign::haLeft,
                     TCellVAlign::vaTop);
        const TGraphicPaintResult res = paint(g);
        EXPECT_EQ(res.box.Width(), c.bw) << int(c.mode) << " " << c.w;
        EXPECT_EQ(res.box.Height(), c.bh) << int(c.mode) << " " << c.w;
        const auto draws = ops(Kind::Draw);
        ASSERT_EQ(draws.size(), 1u);
        // Stretched modes draw into the box, noStretch at its top-left in the picture's size.
        EXPECT_EQ(draws[0].rect,
                  c.mode == TStretchMode::noStretch ? Bounds(2, 2, c.w, c.h) : res.box);
    }
}

// ---- progress kinds -------------------------------------------------------------------------

TEST_F(GraphicPaintTest, ProgressOutOfRangeDrawsAnEmptyOrFullBar)
{
    look.SetControlStyle(TControlStyle::csClassic);
    TCellGraphic g;
    g.SetCellType(TCellType::ctProgress);
    g.SetCellBitmap(TCellRef::Value(clBlue));
    g.SetCellIcon(TCellRef::Value(clWhite));
    g.SetCellErrLen(100);
    // Bar: cell inset 2, then the margins of 2.
    const int barWidth = 100 - 4 - 4;
    for (const auto &[value, complete] : {std::pair{-20.0, 0}, {150.0, barWidth}, {50.0, 46}}) {
        cell.floatValue = value;
        paint(g);
        int filled = 0;
        for (const TCanvasOp &op : ops(Kind::TextRect))
            if (op.brushColor == clBlue)
                filled += op.rect.Width();
        EXPECT_EQ(filled, complete) << value;
    }
    // Without own text colours the text takes the inverted bar colours.
    bool inverted = false;
    for (const TCanvasOp &op : canvas.Ops())
        inverted |= op.fontColor == (~clBlue & 0xFFFFFFu);
    EXPECT_TRUE(inverted);
}

TEST_F(GraphicPaintTest, XPProgressWithAnEmptyRangeDrawsAnEmptyBar)
{
    TGridProgressAppearance appearance;
    grid.progress = &appearance;
    TCellGraphic g;
    g.SetCellType(TCellType::ctXPProgress);
    g.SetCellErrFrom(10);
    g.SetCellErrLen(10);
    cell.floatValue = 50;
    paint(g);
    EXPECT_FALSE(canvas.Ops().empty());
    for (const QString &t : canvas.Texts())
        EXPECT_FALSE(t.contains(QLatin1String("100")));
}

// ---- ratings, shapes, comments, buttons -----------------------------------------------------

TEST_F(GraphicPaintTest, RatingDrawsHalfStarsOnlyFromHalfValues)
{
    TCellGraphic g;
    g.SetCellType(TCellType::ctRating);
    g.SetCellAngle(5);
    g.SetCellIndex(int(clRed));
    g.SetCellBitmap(TCellRef::Value(clGray));
    struct Case
    {
        double value;
        int full, half, empty;
    };
    for (const Case &c : {Case{2.6, 2, 1, 3}, Case{2.3, 2, 0, 3}, Case{5.0, 5, 0, 0}}) {
        cell.floatValue = c.value;
        paint(g);
        int full = 0;
        int half = 0;
        int empty = 0;
        for (const TCanvasOp &op : ops(Kind::Polygon)) {
            if (op.brushColor == clGray)
                ++empty;
            else if (op.points.size() == 10)
                ++full;
            else
                ++half;
        }
        EXPECT_EQ(full, c.full) << c.value;
        EXPECT_EQ(half, c.half) << c.value;
        EXPECT_EQ(empty, c.empty) << c.value;
    }
}

TEST_F(GraphicPaintTest, ShapeIsFilledInItsFillColourAndOutlinedInItsLineColour)
{
    TCellGraphic g;
    g.SetCellType(TCellType::ctShape);
    g.SetCellAngle(int(TCellShape::csDiamond));
    g.SetCellIndex(int(clYellow));            // fill
    g.SetCellBitmap(TCellRef::Value(clNavy)); // line
    paint(g);
    const auto poly = ops(Kind::Polygon);
    ASSERT_EQ(poly.size(), 1u);
    EXPECT_EQ(poly[0].brushColor, clYellow);
    EXPECT_EQ(poly[0].penColor, clNavy);
    // A square of the row height less the offsets (26), drawn one pixel smaller.
    EXPECT_EQ(poly[0].points[1], Point(2 + 25, 2 + 12));
}

TEST_F(GraphicPaintTest, CommentTriangleSitsInTheTopRightCorner)
{
    TCellGraphic g;
    g.SetCellType(TCellType::ctComment);
    g.SetCellIndex(int(clRed));
    canvas.Brush().SetColor(clWhite);
    paint(g);
    const auto poly = ops(Kind::Polygon);
    ASSERT_EQ(poly.size(), 1u);
    EXPECT_EQ(poly[0].points,
              (std::vector<TPoint>{{99 + 2 - 8, 0}, {99 + 2 - 3, 0}, {99 + 2 - 3, 5}}));
    EXPECT_EQ(poly[0].brushColor, clRed);
    EXPECT_EQ(canvas.Brush().Color(), clWhite);

    look.SetCommentColor(clNone);
    paint(g);
    EXPECT_TRUE(canvas.Ops().empty());
}

TEST_F(GraphicPaintTest, ButtonShowsItsStateAndCaption)
{
    TCellGraphic g;
    g.SetButton(40, 20, QStringLiteral("Go"), TCellHAlign::haRight, TCellVAlign::vaTop);
    look.SetFlatButton(true); // frame-control push button
    const TGraphicPaintResult res = paint(g);
    EXPECT_EQ(res.box, Bounds(99 - 1 - 40, 2, 40, 20));
    StoreButtonOffset(g, res, cell.rect);
    EXPECT_EQ(g.CellValue(), double((2 << 16) | 58));
    ASSERT_EQ(canvas.Texts(), QStringList{QStringLiteral("Go")});
    EXPECT_EQ(ops(Kind::DrawText)[0].rect, res.box);
    // Pushed: the caption moves by (1, 1).
    g.SetCellBoolean(true);
    paint(g);
    EXPECT_EQ(ops(Kind::DrawText)[0].rect.Left, res.box.Left + 1);
    EXPECT_EQ(ops(Kind::DrawText)[0].rect.Top, res.box.Top + 1);
}

TEST_F(GraphicPaintTest, ExpandButtonChevronPointsByItsState)
{
    TCellGraphic g;
    g.SetCellType(TCellType::ctExpand);
    for (bool up : {true, false}) {
        g.SetCellVar(up);
        const TGraphicPaintResult res = paint(g);
        EXPECT_EQ(res.box, Rect(99 - 13, 1, 99, 14));
        const auto lines = ops(Kind::Polyline);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].points[1], Point(99 - 7, 1 + (up ? 5 : 8)));
        EXPECT_TRUE(canvas.Texts().isEmpty());
    }
}

TEST_F(GraphicPaintTest, PieAndRangeIndicatorGetTheirValuesAndColours)
{
    TCellGraphic pie;
    pie.SetCellType(TCellType::ctProgressPie);
    pie.SetCellHAlign(TCellHAlign::haBeforeText);
    pie.SetCellAngle(25);
    paint(pie);
    ASSERT_EQ(ops(Kind::Ellipse).size(), 1u);
    EXPECT_EQ(ops(Kind::Ellipse)[0].rect, Bounds(2, 2, 20, 20));

    // Range 10, value -5: the negative colour fills half of the left half of the bar.
    TCellGraphic range;
    range.SetCellType(TCellType::ctRangeIndicator);
    range.SetCellIndex(10);
    range.SetCellBitmap(TCellRef::Value(clRed)); // negative
    range.SetCellIcon(TCellRef::Value(clGreen)); // positive
    range.SetCellBoolean(true);
    cell.intValue = -5;
    paint(range);
    const auto rects = ops(Kind::Rectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].brushColor, clRed);
    // Cell inset by the margins (2) and by the routine's own 2: 4 .. 96, centre 50.
    EXPECT_EQ(rects[0].rect, Rect(50 - 23, 4, 50, 26));
    EXPECT_EQ(canvas.Texts(), QStringList{QStringLiteral("-5")});
}

TEST_F(GraphicPaintTest, NodeGlyphFollowsTheNodeTypeAndState)
{
    TCellNode node;
    grid.node = &node;
    cell.nodeIndent = 12; // level 1
    cell.rect = Rect(0, 0, 40, 20);
    TCellGraphic g;
    g.SetCellType(TCellType::ctNode);
    struct Case
    {
        TNodeType type;
        Kind kind;
        TRect rect;
    };
    // Glyph left: indent - NodeIndent / 2 - 4 = 2.
    const Case cases[] = {
        {TNodeType::cnXP, Kind::Draw, Bounds(2 + 4, 5, 9, 9)},
        {TNodeType::cnLeaf, Kind::Draw, Bounds(2, 4, 16, 16)},
        {TNodeType::cnFlat, Kind::Rectangle, Bounds(2 + 4, 6, 8, 8)},
    };
    node.SetShowTree(false);
    for (const Case &c : cases) {
        node.SetNodeType(c.type);
        paint(g);
        const auto found = ops(c.kind);
        ASSERT_EQ(found.size(), 1u) << int(c.type);
        EXPECT_EQ(found[0].rect, c.rect) << int(c.type);
    }
    // Flat: a minus when expanded, a plus when collapsed.
    for (bool collapsed : {false, true}) {
        g.SetCellBoolean(collapsed);
        paint(g);
        EXPECT_EQ(ops(Kind::Line).size(), collapsed ? 2u : 1u);
    }
    // Tree lines: down to the next indented row and up to a previous row as deep.
    node.SetNodeType(TNodeType::cnXP);
    node.SetShowTree(true);
    cell.prevNodeIndent = 12;
    cell.nextNodeIndent = 24;
    paint(g);
    const auto lines = ops(Kind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rect, Rect(8, 10, 8, 20));
    EXPECT_EQ(lines[1].rect, Rect(8, 0, 8, 6));
}

TEST_F(GraphicPaintTest, RotatedTextKeepsItsTurnedBoxInsideTheCellByAlignment)
{
    // Rectangle (3, 3, 97, 27); "abc" is 21 x 13 on the recording canvas.
    cell.text = QStringLiteral("abc");
    struct Case
    {
        int angle;
        TAlignment hal;
        TVAlignment val;
        TPoint start;
    };
    const Case cases[] = {
        {90, TAlignment::taLeftJustify, TVAlignment::vtaTop, {3, 24}},
        {90, TAlignment::taLeftJustify, TVAlignment::vtaBottom, {3, 27}},
        {0, TAlignment::taRightJustify, TVAlignment::vtaCenter, {76, 8}},
        {270, TAlignment::taLeftJustify, TVAlignment::vtaTop, {3 + 13, 3}},
    };
    TCellGraphic g;
    g.SetCellType(TCellType::ctRotated);
    for (const Case &c : cases) {
        g.SetCellAngle(c.angle);
        cell.hAlign = c.hal;
        cell.vAlign = c.val;
        paint(g);
        const auto texts = ops(Kind::TextOut);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].rect.TopLeft(), c.start) << c.angle << " " << int(c.val);
    }
}

} // namespace
