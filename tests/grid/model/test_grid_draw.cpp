#include "grid/model/QrlGridDraw.h"

#include <gtest/gtest.h>

#include <QImage>

#include <vector>

using Kind = TCanvasOp::Kind;

namespace {

std::vector<TCanvasOp> solidRects(const TRecordingCanvas &cv, TColor brush)
{
    std::vector<TCanvasOp> out;
    for (const TCanvasOp &op : cv.OpsOf(Kind::Rectangle))
        if (op.brushColor == brush && op.brushStyle == TBrushStyle::bsSolid)
            out.push_back(op);
    return out;
}

std::vector<int> widths(const std::vector<TCanvasOp> &ops)
{
    std::vector<int> w;
    for (const TCanvasOp &op : ops)
        w.push_back(op.rect.Width());
    return w;
}

} // namespace

TEST(GridDraw, ColourRoutines)
{
    // +7 on white wraps each channel: 255 + 18 = 273 keeps its low byte, 17.
    EXPECT_EQ(ScaleColorPercent(clWhite, 7), RGB(17, 17, 17));
    EXPECT_EQ(ScaleColorPercent(RGB(100, 50, 0), -20), RGB(80, 40, 0));
    EXPECT_EQ(ScaleColorPercent(clBtnFace, 0), ColorToRGB(clBtnFace));
    EXPECT_EQ(HalveColor(RGB(255, 3, 0)), RGB(127, 1, 0));
    EXPECT_EQ(InterpolateColor(clBlack, RGB(200, 100, 10), 0, 5, 10), RGB(100, 50, 5));
    EXPECT_EQ(InterpolateColor(RGB(1, 2, 3), clNone, 0, 5, 10), RGB(1, 2, 3));
    EXPECT_EQ(InterpolateColor(RGB(1, 2, 3), clWhite, 4, 4, 4), RGB(1, 2, 3)); // no range
    EXPECT_EQ(ColorToHTMLHex(RGB(0x12, 0xAB, 0x0F)), QStringLiteral("12AB0F"));
}

TEST(GridDraw, GradientBands)
{
    struct Case
    {
        int extent, steps;
        std::vector<int> starts;
        int firstLen;
    };
    const Case cases[] = {
        {10, 64, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 2}, // more steps than pixels: one per pixel
        {101, 4, {0, 25, 50, 75, 100}, 26},
        {5, 0, {0, 4}, 5}, // at least one step
    };
    for (const Case &c : cases) {
        for (bool horizontal : {false, true}) {
            SCOPED_TRACE(c.extent * 10 + horizontal);
            TRecordingCanvas cv;
            const TRect r =
                horizontal ? Rect(10, 0, 10 + c.extent, 4) : Rect(0, 10, 4, 10 + c.extent);
            DrawGradient(cv, clBlack, RGB(200, 100, 0), horizontal, r, c.steps);
            const auto bands = cv.OpsOf(Kind::Rectangle);
            ASSERT_EQ(bands.size(), c.starts.size());
            for (size_t i = 0; i < bands.size(); ++i) {
                const TRect &b = bands[i].rect;
                EXPECT_EQ(horizontal ? b.Left - 10 : b.Top - 10, c.starts[i]);
                EXPECT_LE(horizontal ? b.Right : b.Bottom, 10 + c.extent);
            }
            EXPECT_EQ(horizontal ? bands[0].rect.Width() : bands[0].rect.Height(), c.firstLen);
            EXPECT_EQ(bands.front().brushColor, clBlack);
            EXPECT_EQ(bands.back().brushColor, RGB(200, 100, 0));
        }
    }

    TRecordingCanvas plain;
    DrawGradient(plain, clNone, clRed, false, Rect(0, 0, 5, 5), 8);
    ASSERT_EQ(plain.Ops().size(), 1u);
    EXPECT_EQ(plain.Ops()[0].brushColor, clRed);
    TRecordingCanvas empty;
    DrawGradient(empty, clBlue, clRed, false, Rect(0, 3, 5, 3), 8);
    EXPECT_TRUE(empty.Ops().empty());
}

TEST(GridDraw, StepGradientBandsAndEndColours)
{
    const TColor to = RGB(64, 128, 0);
    struct Case
    {
        int extent, steps;
        bool horizontal;
        std::vector<int> starts;
        int len;
        TColor last;
    };
    const Case cases[] = {
        {11, 0, true, {0}, 11, clBlack},          // 0 counts as one band
        {11, 1, true, {0}, 11, clBlack},          // one band never reaches ToColor
        {11, 2, true, {0, 5}, 6, RGB(32, 64, 0)}, // right edge in by one: 10 / 2
        {65, 32, false, {}, 3, RGB(62, 124, 0)},  // the search panel's 32 bands
        {11, 0x10000, false, {0}, 11, clBlack},   // a 16-bit count
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.steps);
        TRecordingCanvas cv;
        const TRect r =
            c.horizontal ? Rect(10, 0, 10 + c.extent, 4) : Rect(0, 10, 4, 10 + c.extent);
        DrawStepGradient(cv, clBlack, to, c.horizontal, r, c.steps);
        const auto bands = cv.OpsOf(Kind::Rectangle);
        const size_t count = c.starts.empty() ? 32u : c.starts.size();
        ASSERT_EQ(bands.size(), count);
        for (size_t i = 0; i < bands.size(); ++i) {
            const TRect &b = bands[i].rect;
            const int start = c.starts.empty() ? static_cast<int>(i) * 2 : c.starts[i];
            EXPECT_EQ(c.horizontal ? b.Left - 10 : b.Top - 10, start);
            EXPECT_EQ(c.horizontal ? b.Width() : b.Height(), c.len);
            EXPECT_EQ(c.horizontal ? b.Height() : b.Width(), 4); // across the whole rectangle
            EXPECT_EQ(bands[i].penColor, bands[i].brushColor);
        }
        EXPECT_EQ(bands.front().brushColor, clBlack);
        EXPECT_EQ(bands.back().brushColor, c.last);
    }
}

TEST(GridDraw, GradientRectHalvesAndBorders)
{
    const TRect r = Rect(0, 0, 40, 20);
    // Vertical with a mirror: upper half Color -> ColorTo, lower half MirrorColor -> MirrorColorTo.
    TRecordingCanvas mirrored;
    DrawGradientRect(mirrored, r, clRed, true, false, clNone, true, clBlue, clLime, clYellow);
    const auto bands = mirrored.OpsOf(Kind::Rectangle);
    ASSERT_FALSE(bands.empty());
    EXPECT_EQ(bands.front().brushColor, clRed);
    EXPECT_EQ(bands.front().rect.Top, 0);
    EXPECT_EQ(bands.back().brushColor, clBlue);
    EXPECT_EQ(bands.back().rect.Bottom, 20);
    bool lowerStartsAtMirror = false;
    for (const TCanvasOp &op : bands)
        lowerStartsAtMirror = lowerStartsAtMirror || (op.rect.Top == 10 && op.brushColor == clLime);
    EXPECT_TRUE(lowerStartsAtMirror);

    // Solid: one pixel taller; edges only: the left edge and one inside the right border.
    TRecordingCanvas solid;
    DrawGradientRect(solid, r, clRed, true, true, clNavy, true, clNone, clNone, clNone);
    const auto fill = solid.OpsOf(Kind::FillRect);
    ASSERT_EQ(fill.size(), 1u);
    EXPECT_EQ(fill[0].rect, Rect(0, 0, 40, 21));
    const auto edges = solid.OpsOf(Kind::Line);
    ASSERT_EQ(edges.size(), 2u);
    EXPECT_EQ(edges[0].rect, Rect(0, 0, 0, 20));
    EXPECT_EQ(edges[1].rect, Rect(39, 0, 39, 20));
    EXPECT_EQ(edges[1].penColor, clNavy);
}

TEST(GridDraw, GradientEndColoursOnPixels)
{
    QImage img(20, 40, QImage::Format_RGB32);
    img.fill(Qt::black);
    {
        TCanvas cv(&img);
        DrawGradient(cv, RGB(0, 0, 255), RGB(255, 0, 0), false, Rect(0, 0, 20, 40), 64);
        cv.Flush();
    }
    EXPECT_EQ(img.pixelColor(10, 0), QColor(0, 0, 255));
    EXPECT_EQ(img.pixelColor(10, 39), QColor(255, 0, 0));
}

TEST(GridDraw, SelectionBoxPieces)
{
    // Outer corner pixels show which ends are rounded.
    const TColor outer = RGB(1, 2, 3);
    struct Case
    {
        int part;
        bool left, right;
    };
    const Case cases[] = {{0, true, true}, {1, true, false}, {2, false, true}, {3, false, false}};
    const TRect r = Rect(10, 20, 50, 40);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.part);
        TRecordingCanvas cv;
        DrawSelectionBox(cv, clWhite, clNone, c.part, r, outer, clGray, clNavy, clSilver, clAqua,
                         clNone, clNone);
        int lefts = 0, rights = 0;
        for (const TCanvasOp &op : cv.OpsOf(Kind::Pixel)) {
            if (op.color1 != outer)
                continue;
            lefts += op.rect.Left == r.Left;
            rights += op.rect.Left == r.Right - 2;
        }
        EXPECT_EQ(lefts, c.left ? 2 : 0);
        EXPECT_EQ(rights, c.right ? 2 : 0);
        // The inside runs to the edge at an open end.
        const auto fill = cv.OpsOf(Kind::FillRect);
        ASSERT_EQ(fill.size(), 1u);
        EXPECT_EQ(fill[0].rect.Left, c.left ? r.Left + 2 : r.Left);
        EXPECT_EQ(fill[0].rect.Right, c.right ? r.Right - 3 : r.Right - 1);
        EXPECT_EQ(fill[0].rect.Top, r.Top + 2);
        EXPECT_EQ(fill[0].rect.Bottom, r.Bottom - 3);
    }
}

TEST(GridDraw, StyledProgressBlocksAndStacks)
{
    TStyledProgress p;
    p.ShowGradient = false;
    p.ShowPercentage = false;
    p.CompletionSmooth = false;
    const TRect bar = Rect(0, 0, 102, 16); // 100 pixels after the border
    struct Case
    {
        int percent;
        std::vector<int> blocks;
    };
    const Case cases[] = {{50, {7, 7, 7, 7, 7, 4}}, {5, {4}}, {1, {}}, {0, {}}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.percent);
        TRecordingCanvas cv;
        DrawStyledProgress(cv, bar, c.percent, p);
        const auto blocks = solidRects(cv, p.Level0Color);
        EXPECT_EQ(widths(blocks), c.blocks);
        for (size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_EQ(blocks[i].rect.Left, 2 + 9 * int(i));
            EXPECT_EQ(blocks[i].rect.Top, 2);
        }
    }

    p.Stacked = true;
    TRecordingCanvas cv;
    DrawStyledProgress(cv, bar, 95, p);
    const auto l0 = solidRects(cv, p.Level0Color);
    const auto l1 = solidRects(cv, p.Level1Color);
    const auto l3 = solidRects(cv, p.Level3Color);
    ASSERT_EQ(l0.size(), 1u);
    ASSERT_EQ(l1.size(), 1u);
    ASSERT_EQ(l3.size(), 1u);
    EXPECT_EQ(l0[0].rect, Rect(1, 1, 71, 15));
    EXPECT_EQ(l1[0].rect, Rect(71, 1, 91, 15));
    EXPECT_EQ(l3[0].rect, Rect(91, 1, 96, 15));
    EXPECT_TRUE(solidRects(cv, p.Level2Color).empty());
}

TEST(GridDraw, ClassicProgressTextAndSplit)
{
    struct Case
    {
        QString format;
        double value;
        QString text;
        int split; // width of the completed part
    };
    const Case cases[] = {
        {QString(), 150, QStringLiteral("150%"), 100}, // limited to a full bar
        {QStringLiteral("%d of 200"), 50, QStringLiteral("50 of 200"), 25},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        TRecordingCanvas cv;
        cv.Brush().SetColor(clWhite);
        DrawProgressBar(cv, Rect(0, 0, 104, 20), clRed, false, clBlack, c.format, 200, 0, 1, 2,
                        c.value, clWhite, clSilver, clBlack);
        const auto parts = cv.OpsOf(Kind::TextRect);
        ASSERT_FALSE(parts.empty());
        EXPECT_EQ(parts[0].text, c.text);
        EXPECT_EQ(parts[0].rect, Rect(2, 1, 2 + c.split, 19));
        EXPECT_EQ(parts[0].brushColor, clRed);
        EXPECT_EQ(parts.size(), c.split == 100 ? 1u : 2u);
    }
}

TEST(GridDraw, ProgressPieFloodsTheSweptSector)
{
    QImage img(41, 41, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        TCanvas cv(&img);
        cv.Brush().SetColor(clWhite);
        DrawProgressPie(cv, Rect(0, 0, 41, 41), clRed, false, 50);
        cv.Flush();
    }
    EXPECT_EQ(img.pixelColor(30, 20), QColor(255, 0, 0));     // right half swept
    EXPECT_EQ(img.pixelColor(10, 20), QColor(255, 255, 255)); // left half not
}

TEST(GridDraw, ShapesGeometry)
{
    using S = TCellShape;
    struct Case
    {
        S shape;
        Kind kind;
        TRect rect;                 // for rectangles and ellipses
        std::vector<TPoint> points; // for polygons
    };
    // Box at (10, 20), width 20, height 10.
    const Case cases[] = {
        {S::csCircle, Kind::Ellipse, Rect(10, 20, 20, 30), {}},
        {S::csEllips, Kind::Ellipse, Rect(10, 20, 30, 30), {}},
        {S::csSquare, Kind::Rectangle, Rect(11, 21, 19, 29), {}},
        {S::csRectangle, Kind::Rectangle, Rect(11, 21, 29, 29), {}},
        {S::csRoundSquare, Kind::RoundRect, Rect(10, 20, 20, 30), {}},
        {S::csLineHorz, Kind::FillRect, Rect(10, 25, 30, 26), {}},
        {S::csLineVert, Kind::FillRect, Rect(20, 20, 21, 30), {}},
        {S::csTriangleLeft, Kind::Polygon, {}, {{30, 20}, {30, 30}, {10, 25}}},
        {S::csTriangleDown, Kind::Polygon, {}, {{10, 20}, {30, 20}, {20, 30}}},
        {S::csDiamond, Kind::Polygon, {}, {{20, 20}, {30, 25}, {20, 30}, {10, 25}}},
        {S::csArrowUp,
         Kind::Polygon,
         {},
         {{10, 25}, {20, 20}, {30, 25}, {25, 25}, {25, 30}, {15, 30}, {15, 25}}},
        {S::csArrowRight,
         Kind::Polygon,
         {},
         {{20, 20}, {30, 25}, {20, 30}, {20, 26}, {10, 26}, {10, 22}, {20, 22}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.shape));
        TRecordingCanvas cv;
        DrawShape(cv, 10, 20, clBlack, clYellow, c.shape, 10, 20);
        ASSERT_EQ(cv.Ops().size(), 1u);
        const TCanvasOp &op = cv.Ops()[0];
        EXPECT_EQ(op.kind, c.kind);
        if (c.kind == Kind::Polygon)
            EXPECT_EQ(op.points, c.points);
        else
            EXPECT_EQ(op.rect, c.rect);
    }

    TRecordingCanvas star;
    DrawShape(star, 0, 0, clBlack, clYellow, S::csStar, 16, 16);
    ASSERT_EQ(star.OpsOf(Kind::Polygon).size(), 1u);
    const auto pts = star.OpsOf(Kind::Polygon)[0].points;
    ASSERT_EQ(pts.size(), 10u);
    EXPECT_EQ(pts[0], Point(8, 0)); // outer point at the top
    EXPECT_EQ(pts[5].X, 8);         // inner point straight below the centre
    TRecordingCanvas half;
    DrawShape(half, 0, 0, clBlack, clYellow, S::csHalfStar, 16, 16);
    const auto hp = half.OpsOf(Kind::Polygon)[0].points;
    ASSERT_EQ(hp.size(), 6u);
    for (const TPoint &p : hp)
        EXPECT_LE(p.X, 8);

    TRecordingCanvas none;
    DrawShape(none, 0, 0, clBlack, clYellow, static_cast<S>(19), 16, 16);
    EXPECT_TRUE(none.Ops().empty());
}

TEST(GridDraw, ButtonsByStyle)
{
    TColorTones tones;
    tones.Background = {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3)};
    tones.Hover = {RGB(4, 4, 4), RGB(5, 5, 5), RGB(6, 6, 6)};
    tones.Disabled = {RGB(7, 7, 7), RGB(8, 8, 8), RGB(9, 9, 9)};
    const TRect r = Rect(0, 0, 100, 20);

    TRecordingCanvas custom;
    DrawComboButton(custom, nullptr, r, tones, bsHotState, bstCustom);
    const auto box = custom.OpsOf(Kind::Rectangle);
    ASSERT_EQ(box.size(), 1u);
    EXPECT_EQ(box[0].rect, Rect(84, 1, 98, 19));
    EXPECT_EQ(box[0].brushColor, RGB(4, 4, 4));
    const auto arrow = custom.OpsOf(Kind::Polygon);
    ASSERT_EQ(arrow.size(), 1u);
    EXPECT_EQ(arrow[0].points, (std::vector<TPoint>{{89, 9}, {95, 9}, {92, 12}}));
    EXPECT_EQ(arrow[0].brushColor, RGB(3, 3, 3));

    struct Case
    {
        int which; // 0 combo, 1 push
        int state, style;
        std::uint32_t flags;
    };
    const Case cases[] = {
        {0, bsNormalState, bstThemed, DFCS_SCROLLCOMBOBOX},
        {0, bsDisabledState, bstFlat, DFCS_SCROLLCOMBOBOX | DFCS_INACTIVE | DFCS_FLAT},
        {1, bsHotState, bstClassic, DFCS_BUTTONPUSH | DFCS_HOT},
        {1, bsDownState, bstFlat, DFCS_BUTTONPUSH | DFCS_PUSHED | DFCS_FLAT},
    };
    for (const Case &c : cases) {
        TRecordingCanvas cv;
        if (c.which == 0)
            DrawComboButton(cv, nullptr, r, tones, c.state, c.style);
        else
            DrawPushButton(cv, nullptr, r, tones, c.state, c.style);
        const auto fc = cv.OpsOf(Kind::FrameControl);
        ASSERT_EQ(fc.size(), 1u);
        EXPECT_EQ(fc[0].flags, c.flags);
        EXPECT_EQ(fc[0].rect, c.which == 0 ? Rect(81, 1, 98, 19) : r);
    }

    TRecordingCanvas spin;
    DrawSpinButtons(spin, nullptr, r, tones, bsNormalState, bstClassic);
    const auto halves = spin.OpsOf(Kind::FrameControl);
    ASSERT_EQ(halves.size(), 2u);
    EXPECT_EQ(halves[0].rect, Rect(84, -1, 99, 9));
    EXPECT_EQ(halves[1].rect, Rect(84, 9, 99, 19));
    EXPECT_EQ(halves[1].flags, DFCS_SCROLLDOWN);
}

TEST(GridDraw, RangeIndicatorRunsFromTheCentre)
{
    struct Case
    {
        int value, range;
        TRect bar;
        TColor color;
    };
    // Inner rectangle 2..102: centre 52, half width 50.
    const Case cases[] = {
        {-50, 100, Rect(27, 2, 52, 18), clRed},
        {500, 100, Rect(52, 2, 102, 18), clGreen},
    };
    for (const Case &c : cases) {
        TRecordingCanvas cv;
        DrawRangeIndicator(cv, Rect(0, 0, 104, 20), c.value, clGreen, clRed, false, c.range);
        const auto bars = cv.OpsOf(Kind::Rectangle);
        ASSERT_EQ(bars.size(), 1u);
        EXPECT_EQ(bars[0].rect, c.bar);
        EXPECT_EQ(bars[0].brushColor, c.color);
    }
    TRecordingCanvas noRange;
    DrawRangeIndicator(noRange, Rect(0, 0, 104, 20), 5, clGreen, clRed, true, 0);
    EXPECT_TRUE(noRange.Ops().empty());
}

TEST(GridDraw, ErrorUnderlineZigZag)
{
    // 7-pixel characters after the edit's 2-pixel margin; the line's top is YOffset below the
    // rectangle's and its baseline 10 below that.
    struct Case
    {
        int from, len;
        int start, end;
    };
    const Case cases[] = {
        {2, 2, 10 + 2 + 14, 10 + 2 + 21},
        {4, 9, 10 + 2 + 28, 10 + 2 + 35 + 4},     // past the text: last character + 4
        {9, 1, 10 + 2 + 42 + 4, 10 + 2 + 35 + 4}, // start past the text
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.from);
        TRecordingCanvas cv;
        DrawErrorUnderline(nullptr, cv, QStringLiteral("abcdef"), c.len, c.from, 12,
                           Rect(10, 5, 80, 25));
        const auto lines = cv.OpsOf(Kind::Polyline);
        if (c.start > c.end + 3) {
            EXPECT_TRUE(lines.empty());
            continue;
        }
        ASSERT_EQ(lines.size(), 1u);
        const auto &pts = lines[0].points;
        EXPECT_EQ(pts.front(), Point(c.start, 5 + 12 + 10 + 3));
        EXPECT_EQ(pts[1], Point(c.start + 3, 5 + 12 + 10));
        EXPECT_LE(pts.back().X, c.end + 3);
        EXPECT_GT(pts.back().X + 3, c.end + 3);
        EXPECT_EQ(lines[0].penColor, clRed);
        EXPECT_EQ(lines[0].penWidth, 2);
    }
}

TEST(GridDraw, ResourceGlyphsAndTransparentBitmaps)
{
    struct Case
    {
        const char *name;
        int size;
    };
    const Case cases[] = {{"QSGCHK01", 20}, {"qsgchk04", 20},   {"QSGCHK05", 16},
                          {"QSGRAD03", 16}, {"XPNODEC", 9},     {"XPNODEO", 9},
                          {"QSGFILT", 16},  {"QSGLEAFOPEN", 16}};
    for (const Case &c : cases) {
        const QImage g = ResourceGlyph(QString::fromLatin1(c.name));
        EXPECT_EQ(g.size(), QSize(c.size, c.size)) << c.name;
    }
    EXPECT_TRUE(ResourceGlyph(QStringLiteral("NOSUCH")).isNull());
    // Checked and unchecked differ.
    EXPECT_NE(ResourceGlyph(QStringLiteral("QSGCHK01")), ResourceGlyph(QStringLiteral("QSGCHK02")));

    QImage img(30, 30, QImage::Format_RGB32);
    img.fill(Qt::black);
    {
        TCanvas cv(&img);
        DrawResourceBitmap(cv, clBlue, Rect(5, 5, 30, 30), QStringLiteral("QSGCHK01"));
        DrawResourceBitmap(cv, clBlue, Rect(0, 0, 30, 30), QStringLiteral("NOSUCH"));
        cv.Flush();
    }
    EXPECT_EQ(img.pixelColor(5, 5), QColor(0, 0, 255));   // key colour replaced
    EXPECT_EQ(img.pixelColor(4, 4), QColor(0, 0, 0));     // nothing outside the glyph
    EXPECT_EQ(img.pixelColor(24, 24), QColor(0, 0, 255)); // its last pixel is background too
}
