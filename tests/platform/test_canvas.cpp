// Canvas drawing checked by pixels on a QImage, and by the recording canvas.
#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

// Bounding box of every pixel that differs from the background.
QRect inkBounds(const QImage &img, QRgb background = kWhite)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

class CanvasTest : public ::testing::Test
{
protected:
    CanvasTest() : image(240, 120, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        canvas = std::make_unique<TCanvas>(&image);
        canvas->Font().SetColor(clBlack);
    }

    QFontMetrics metrics() const { return QFontMetrics(canvas->Font().toQFont()); }
    QImage snapshot()
    {
        canvas->Flush();
        return image.copy();
    }
    TColor at(int x, int y) { return canvas->Pixels(x, y); }

    QImage image;
    std::unique_ptr<TCanvas> canvas;
};

// ---- colours ------------------------------------------------------------------------------

TEST(Colors, SystemColoursResolveThroughTheClassicTable)
{
    struct Case
    {
        TColor color;
        TColor rgb;
    };
    const Case cases[] = {
        {clBtnFace, RGB(212, 208, 200)},
        {clBtnShadow, RGB(128, 128, 128)},
        {clBtnHighlight, RGB(255, 255, 255)},
        {clWindow, RGB(255, 255, 255)},
        {clWindowText, RGB(0, 0, 0)},
        {clHighlight, RGB(10, 36, 106)},
        {clHighlightText, RGB(255, 255, 255)},
        {cl3DDkShadow, RGB(64, 64, 64)},
        {clInfoBk, RGB(255, 255, 225)},
        {clGrayText, RGB(128, 128, 128)},
        {clMenuBar, RGB(212, 208, 200)},
        {SystemColor(99), clBlack},
        {clRed, clRed},
        {clSkyBlue, clSkyBlue},
        {clNone, clNone},
        {clDefault, clDefault},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ColorToRGB(c.color), c.rgb) << ColorToString(c.color).toStdString();
}

TEST(Colors, ChannelOrderAndQtConversion)
{
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(GetRValue(clSkyBlue), 0xA6);
    EXPECT_EQ(GetBValue(clSkyBlue), 0xF0);
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(clBtnFace), QColor(212, 208, 200));
    EXPECT_EQ(ToQColor(clNone).alpha(), 0);
    EXPECT_EQ(FromQColor(QColor(1, 2, 3, 4)), RGB(1, 2, 3));
}

// ---- pixel rules ---------------------------------------------------------------------------

struct Probe
{
    int x, y;
    TColor color;
};

struct ShapeCase
{
    const char *name;
    void (*draw)(TCanvas &);
    std::vector<Probe> probes;
};

class CanvasShapes : public CanvasTest, public ::testing::WithParamInterface<ShapeCase>
{
};

TEST_P(CanvasShapes, CoverExactlyTheDocumentedPixels)
{
    canvas->Pen().SetColor(clBlue);
    canvas->Brush().SetColor(clRed);
    GetParam().draw(*canvas);
    for (const Probe &p : GetParam().probes)
        EXPECT_EQ(at(p.x, p.y), p.color) << GetParam().name << " at " << p.x << "," << p.y;
}

INSTANTIATE_TEST_SUITE_P(
    EdgeExclusion, CanvasShapes,
    ::testing::Values(
        ShapeCase{"FillRect", [](TCanvas &c) { c.FillRect(Rect(2, 3, 10, 12)); },
                  {{2, 3, clRed}, {9, 11, clRed}, {10, 11, clWhite}, {9, 12, clWhite},
                   {1, 3, clWhite}, {2, 2, clWhite}}},
        ShapeCase{"Rectangle", [](TCanvas &c) { c.Rectangle(0, 0, 10, 10); },
                  {{0, 0, clBlue}, {9, 0, clBlue}, {0, 9, clBlue}, {9, 9, clBlue},
                   {5, 5, clRed}, {1, 1, clRed}, {10, 5, clWhite}, {5, 10, clWhite},
                   {10, 10, clWhite}}},
        ShapeCase{"RectangleClearPen",
                  [](TCanvas &c) {
                      c.Pen().SetStyle(TPenStyle::psClear);
                      c.Rectangle(0, 0, 10, 10);
                  },
                  {{0, 0, clRed}, {9, 9, clRed}, {10, 9, clWhite}}},
        ShapeCase{"RectangleClearBrush",
                  [](TCanvas &c) {
                      c.Brush().SetStyle(TBrushStyle::bsClear);
                      c.Rectangle(0, 0, 10, 10);
                  },
                  {{0, 0, clBlue}, {9, 9, clBlue}, {5, 5, clWhite}}},
        ShapeCase{"RectangleWidePenInside",
                  [](TCanvas &c) {
                      c.Pen().SetWidth(2);
                      c.Rectangle(0, 0, 10, 10);
                  },
                  {{1, 1, clBlue}, {8, 8, clBlue}, {2, 2, clRed}, {10, 10, clWhite}}},
        ShapeCase{"LineRight",
                  [](TCanvas &c) {
                      c.MoveTo(0, 5);
                      c.LineTo(10, 5);
                  },
                  {{0, 5, clBlue}, {9, 5, clBlue}, {10, 5, clWhite}}},
        ShapeCase{"LineLeft",
                  [](TCanvas &c) {
                      c.MoveTo(10, 5);
                      c.LineTo(0, 5);
                  },
                  {{10, 5, clBlue}, {1, 5, clBlue}, {0, 5, clWhite}}},
        ShapeCase{"LineDown",
                  [](TCanvas &c) {
                      c.MoveTo(3, 0);
                      c.LineTo(3, 8);
                  },
                  {{3, 0, clBlue}, {3, 7, clBlue}, {3, 8, clWhite}}},
        ShapeCase{"LineDiagonal",
                  [](TCanvas &c) {
                      c.MoveTo(0, 0);
                      c.LineTo(6, 6);
                  },
                  {{0, 0, clBlue}, {5, 5, clBlue}, {6, 6, clWhite}, {1, 0, clWhite}}},
        ShapeCase{"PolylineLeavesLastPoint",
                  [](TCanvas &c) { c.Polyline({{0, 0}, {5, 0}, {5, 5}}); },
                  {{4, 0, clBlue}, {5, 0, clBlue}, {5, 4, clBlue}, {5, 5, clWhite}}},
        ShapeCase{"FrameRectUsesBrush", [](TCanvas &c) { c.FrameRect(Rect(2, 2, 8, 8)); },
                  {{2, 2, clRed}, {7, 7, clRed}, {7, 2, clRed}, {4, 4, clWhite},
                   {8, 8, clWhite}}},
        ShapeCase{"Ellipse", [](TCanvas &c) { c.Ellipse(0, 0, 11, 11); },
                  {{5, 0, clBlue}, {10, 5, clBlue}, {5, 10, clBlue}, {5, 5, clRed},
                   {11, 5, clWhite}, {5, 11, clWhite}, {0, 0, clWhite}}},
        ShapeCase{"Polygon", [](TCanvas &c) { c.Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}}); },
                  {{0, 0, clBlue}, {10, 10, clBlue}, {5, 5, clRed}, {11, 5, clWhite}}},
        ShapeCase{"SetPixels", [](TCanvas &c) { c.SetPixels(4, 4, clLime); },
                  {{4, 4, clLime}, {5, 4, clWhite}, {4, 5, clWhite}}},
        ShapeCase{"SystemColourBrush",
                  [](TCanvas &c) {
                      c.Brush().SetColor(clBtnFace);
                      c.FillRect(Rect(0, 0, 2, 2));
                  },
                  {{1, 1, RGB(212, 208, 200)}}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CanvasTest, Frame3DColoursEdgesAndShrinksTheRectangle)
{
    TRect r = Rect(0, 0, 10, 10);
    canvas->Frame3D(r, clWhite - 1, clGray, 2);
    EXPECT_EQ(r, Rect(2, 2, 8, 8));
    const TColor tl = clWhite - 1;
    const Probe probes[] = {{0, 0, tl},     {8, 0, tl},     {0, 8, tl},     {9, 0, clGray},
                            {0, 9, clGray}, {9, 9, clGray}, {1, 1, tl},     {8, 1, clGray},
                            {1, 8, clGray}, {7, 1, tl},     {2, 2, clWhite}};
    for (const Probe &p : probes)
        EXPECT_EQ(at(p.x, p.y), p.color) << p.x << "," << p.y;
}

TEST_F(CanvasTest, FocusRectDrawnTwiceLeavesNoTrace)
{
    const QImage before = snapshot();
    canvas->DrawFocusRect(Rect(5, 5, 30, 20));
    EXPECT_NE(snapshot(), before);
    EXPECT_EQ(inkBounds(snapshot()), QRect(5, 5, 25, 15));
    canvas->DrawFocusRect(Rect(5, 5, 30, 20));
    EXPECT_EQ(snapshot(), before);
}

// ---- gradients ----------------------------------------------------------------------------

TEST_F(CanvasTest, GradientBandsRunFromFirstToLastColour)
{
    struct Case
    {
        TGradientDirection dir;
        int bands;
        int extent; // pixels along the direction
    };
    const Case cases[] = {{TGradientDirection::gdVertical, 5, 20},
                          {TGradientDirection::gdHorizontal, 4, 30},
                          {TGradientDirection::gdVertical, 50, 10}, // more bands than pixels
                          {TGradientDirection::gdVertical, 1, 8}};
    for (const Case &c : cases) {
        image.fill(Qt::white);
        const bool vertical = c.dir == TGradientDirection::gdVertical;
        const TRect r = vertical ? Bounds(10, 10, 15, c.extent) : Bounds(10, 10, c.extent, 15);
        canvas->GradientFill(r, clBlack, RGB(200, 100, 40), c.dir, c.bands);
        std::vector<TColor> along;
        for (int i = 0; i < c.extent; ++i)
            along.push_back(vertical ? at(12, 10 + i) : at(10 + i, 12));
        EXPECT_EQ(along.front(), clBlack);
        if (c.bands > 1) {
            EXPECT_EQ(along.back(), RGB(200, 100, 40));
        }
        // Channels never decrease; one distinct colour per band.
        for (std::size_t i = 1; i < along.size(); ++i)
            EXPECT_GE(GetRValue(along[i]), GetRValue(along[i - 1]));
        const std::set<TColor> distinct(along.begin(), along.end());
        EXPECT_EQ(int(distinct.size()), std::min(c.bands, c.extent));
        // Nothing outside the rectangle, and the cross direction is uniform.
        EXPECT_EQ(inkBounds(snapshot()), r.toQRect());
        EXPECT_EQ(at(r.Right - 1, r.Bottom - 1), along.back());
    }
}

// ---- pictures -----------------------------------------------------------------------------

TEST_F(CanvasTest, TransparentColourIsLeftOut)
{
    QImage pic(3, 2, QImage::Format_RGB32);
    pic.fill(QColor(255, 0, 255));
    pic.setPixel(1, 0, qRgb(255, 0, 0));
    pic.setPixel(2, 1, qRgb(0, 0, 255));
    canvas->DrawTransparent(5, 5, pic, clFuchsia);
    EXPECT_EQ(at(5, 5), clWhite);
    EXPECT_EQ(at(6, 5), clRed);
    EXPECT_EQ(at(7, 6), clBlue);
    EXPECT_EQ(at(6, 6), clWhite);

    // A bitmap marked transparent takes its bottom-left pixel's colour by default.
    TBitmap bmp(pic);
    bmp.SetTransparent(true);
    EXPECT_EQ(bmp.TransparentColor(), clFuchsia);
    canvas->Draw(20, 5, bmp);
    EXPECT_EQ(at(20, 5), clWhite);
    EXPECT_EQ(at(21, 5), clRed);
    // Only one cell of a strip.
    canvas->DrawTransparent(30, 5, pic, Rect(1, 0, 3, 2), clFuchsia);
    EXPECT_EQ(at(30, 5), clRed);
    EXPECT_EQ(at(31, 6), clBlue);
    EXPECT_EQ(at(32, 5), clWhite);
}

TEST_F(CanvasTest, CopyRectFromABitmapCanvas)
{
    TBitmap bmp(10, 10);
    bmp.Canvas().Brush().SetColor(clGreen);
    bmp.Canvas().FillRect(Rect(2, 2, 5, 5));
    canvas->CopyRect(Bounds(50, 50, 10, 10), bmp.Canvas(), Rect(0, 0, 10, 10));
    EXPECT_EQ(at(52, 52), clGreen);
    EXPECT_EQ(at(54, 54), clGreen);
    EXPECT_EQ(at(55, 55), clWhite);
    // The bitmap's canvas keeps working after being read.
    bmp.Canvas().FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(FromQColor(bmp.Image().pixel(0, 0)), clGreen);
}

// ---- clipping -----------------------------------------------------------------------------

TEST_F(CanvasTest, ClipRectanglesSetIntersectAndRestore)
{
    canvas->SetClipRect(Rect(10, 10, 20, 20));
    EXPECT_EQ(canvas->ClipRect(), Rect(10, 10, 20, 20));
    canvas->Brush().SetColor(clRed);
    canvas->FillRect(Rect(0, 0, 50, 50));
    EXPECT_EQ(inkBounds(snapshot()), QRect(10, 10, 10, 10));

    canvas->SaveClip();
    canvas->IntersectClipRect(Rect(15, 15, 30, 30));
    EXPECT_EQ(canvas->ClipRect(), Rect(15, 15, 20, 20));
    canvas->Brush().SetColor(clBlue);
    canvas->FillRect(Rect(0, 0, 50, 50));
    EXPECT_EQ(at(15, 15), clBlue);
    EXPECT_EQ(at(14, 14), clRed);
    canvas->RestoreClip();

    canvas->ExcludeClipRect(Rect(10, 10, 12, 12));
    canvas->Brush().SetColor(clLime);
    canvas->FillRect(Rect(0, 0, 50, 50));
    EXPECT_EQ(at(11, 11), clRed);
    EXPECT_EQ(at(12, 12), clLime);
    EXPECT_EQ(at(25, 25), clWhite);

    canvas->ResetClip();
    EXPECT_EQ(canvas->ClipRect(), Rect(0, 0, 240, 120));
    canvas->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(at(0, 0), clLime);
}

// ---- text ---------------------------------------------------------------------------------

struct PlacementCase
{
    const char *name;
    std::uint32_t flags;
    int (*left)(const TRect &r, int textWidth);
    int (*top)(const TRect &r, int lineHeight);
};

class DrawTextPlacement : public CanvasTest, public ::testing::WithParamInterface<PlacementCase>
{
};

// A solid brush paints the text extent, so the drawn box shows where the text went.
TEST_P(DrawTextPlacement, TextBoxLandsWhereTheFlagsSay)
{
    const QString text = QStringLiteral("Hello");
    const TRect r = Rect(10, 10, 210, 60);
    canvas->Brush().SetColor(clYellow);
    const int w = metrics().horizontalAdvance(text);
    const int lh = metrics().height();
    canvas->DrawText(text, r, GetParam().flags);
    EXPECT_EQ(inkBounds(snapshot()), QRect(GetParam().left(r, w), GetParam().top(r, lh), w, lh));
}

INSTANTIATE_TEST_SUITE_P(
    Flags,
    DrawTextPlacement,
    ::testing::Values(
        PlacementCase{"Left", DT_LEFT, [](const TRect &r, int) { return r.Left; },
                      [](const TRect &r, int) { return r.Top; }},
        PlacementCase{"Center", DT_CENTER,
                      [](const TRect &r, int w) { return r.Left + (r.Width() - w) / 2; },
                      [](const TRect &r, int) { return r.Top; }},
        PlacementCase{"Right", DT_RIGHT, [](const TRect &r, int w) { return r.Right - w; },
                      [](const TRect &r, int) { return r.Top; }},
        PlacementCase{"VCenterSingleLine", DT_VCENTER | DT_SINGLELINE,
                      [](const TRect &r, int) { return r.Left; },
                      [](const TRect &r, int lh) { return r.Top + (r.Height() - lh) / 2; }},
        PlacementCase{"BottomSingleLine", DT_BOTTOM | DT_SINGLELINE | DT_RIGHT,
                      [](const TRect &r, int w) { return r.Right - w; },
                      [](const TRect &r, int lh) { return r.Bottom - lh; }},
        PlacementCase{"VCenterIgnoredWithoutSingleLine", DT_VCENTER,
                      [](const TRect &r, int) { return r.Left; },
                      [](const TRect &r, int) { return r.Top; }},
        PlacementCase{"BottomIgnoredWithoutSingleLine", DT_BOTTOM | DT_CENTER,
                      [](const TRect &r, int w) { return r.Left + (r.Width() - w) / 2; },
                      [](const TRect &r, int) { return r.Top; }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CanvasTest, WordBreakWrapsOntoMoreLines)
{
    const QString text = QStringLiteral("alpha beta");
    const QFontMetrics fm = metrics();
    const int lh = fm.height();
    const int w1 = fm.horizontalAdvance(QStringLiteral("alpha"));
    const int w2 = fm.horizontalAdvance(QStringLiteral("beta"));
    const TRect r = Bounds(10, 10, w1 + 2, 80);
    canvas->Brush().SetColor(clYellow);

    TRect calc = r;
    EXPECT_EQ(canvas->DrawText(text, calc, DT_WORDBREAK | DT_CALCRECT), 2 * lh);
    EXPECT_EQ(calc, Bounds(10, 10, std::max(w1, w2), 2 * lh));

    canvas->DrawText(text, r, DT_WORDBREAK);
    EXPECT_EQ(inkBounds(snapshot()), QRect(10, 10, std::max(w1, w2), 2 * lh));
    // The second line starts at the left edge one line lower.
    EXPECT_NE(at(10, 10 + lh), clWhite);
    EXPECT_EQ(at(10 + w2, 10 + lh), clWhite);

    // Without word break the same text stays on one line, clipped at the rectangle.
    image.fill(Qt::white);
    canvas->DrawText(text, r, DT_LEFT);
    EXPECT_EQ(inkBounds(snapshot()), QRect(10, 10, r.Width(), lh));
}

TEST_F(CanvasTest, CalcRectMeasuresAndDrawsNothing)
{
    const QFontMetrics fm = metrics();
    const int lh = fm.height();
    struct Case
    {
        QString text;
        std::uint32_t flags;
        QString widest;
        int lines;
    };
    const Case cases[] = {
        {"Hello", DT_SINGLELINE, "Hello", 1},
        {"a\nbbb", DT_LEFT, "bbb", 2},
        {"a\r\nbbb\nc", DT_CENTER, "bbb", 3},
        {"a\nbbb", DT_SINGLELINE, "abbb", 1},
        // A word wider than the rectangle widens it instead of being split.
        {"Incomprehensibilities", DT_WORDBREAK, "Incomprehensibilities", 1},
        {"", DT_SINGLELINE, "", 1},
        // Tabs stop every 8 columns.
        {"a\tb", DT_SINGLELINE | DT_EXPANDTABS, "a       b", 1},
        {"abcdefgh\tb", DT_SINGLELINE | DT_EXPANDTABS, "abcdefgh        b", 1},
    };
    const QImage blank = snapshot();
    for (const Case &c : cases) {
        TRect r = Bounds(5, 7, 20, 5);
        const int h = canvas->DrawText(c.text, r, c.flags | DT_CALCRECT);
        EXPECT_EQ(h, c.lines * lh) << c.text.toStdString();
        EXPECT_EQ(r, Bounds(5, 7, fm.horizontalAdvance(c.widest), c.lines * lh))
            << c.text.toStdString();
    }
    EXPECT_EQ(snapshot(), blank);
}

TEST_F(CanvasTest, EndEllipsisKeepsTheTextInsideTheRectangle)
{
    const QString text = QStringLiteral("The quick brown fox jumps over");
    const TRect r = Rect(20, 10, 90, 30);
    canvas->Brush().SetStyle(TBrushStyle::bsClear);
    // NOCLIP so that only the ellipsis can keep the ink inside.
    canvas->DrawText(text, r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(inkBounds(snapshot()).right(), r.Right);

    image.fill(Qt::white);
    canvas->DrawText(text, r, DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS);
    const QRect ink = inkBounds(snapshot());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LT(ink.right(), r.Right);
    // A glyph may start left of its origin by its (negative) left bearing.
    EXPECT_GE(ink.left(), r.Left + std::min(0, metrics().leftBearing(QLatin1Char('T'))));

    TRect calc = r;
    canvas->DrawText(text, calc, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(calc.Width(), r.Width());
    EXPECT_GT(calc.Width(), metrics().horizontalAdvance(QStringLiteral("...")));
}

TEST_F(CanvasTest, ClipsToTheRectangleUnlessNoClip)
{
    const QString text = QStringLiteral("A long line of text");
    const TRect r = Rect(20, 20, 50, 40);
    canvas->Brush().SetStyle(TBrushStyle::bsClear);
    canvas->DrawText(text, r, DT_SINGLELINE);
    const QRect ink = inkBounds(snapshot());
    EXPECT_TRUE(r.toQRect().contains(ink)) << ink.right();
}

TEST_F(CanvasTest, PrefixAmpersandMarksTheMnemonic)
{
    const QFontMetrics fm = metrics();
    struct Case
    {
        QString text;
        std::uint32_t flags;
        QString shown;
    };
    const Case cases[] = {{"&Save", 0, "Save"}, {"&Save", DT_NOPREFIX, "&Save"}, {"a&&b", 0, "a&b"},
                          {"Save&", 0, "Save"}, {"S&ave &As", 0, "Save As"},     {"&&&x", 0, "&x"}};
    for (const Case &c : cases) {
        TRect r = Bounds(0, 0, 200, 20);
        canvas->DrawText(c.text, r, c.flags | DT_SINGLELINE | DT_CALCRECT);
        EXPECT_EQ(r.Width(), fm.horizontalAdvance(c.shown)) << c.text.toStdString();
    }

    // The marked character is underlined one pixel below the baseline, the others are not.
    canvas->Brush().SetStyle(TBrushStyle::bsClear);
    const TRect r = Bounds(10, 10, 200, 30);
    const int row = 10 + fm.ascent() + 1;
    const int wS = fm.horizontalAdvance(QStringLiteral("S"));
    const int wSave = fm.horizontalAdvance(QStringLiteral("Save"));
    canvas->DrawText(QStringLiteral("&Save"), r, DT_LEFT);
    for (int x = 10; x < 10 + wS; ++x)
        EXPECT_EQ(at(x, row), clBlack) << x;
    for (int x = 10 + wS + 1; x < 10 + wSave; ++x)
        EXPECT_EQ(at(x, row), clWhite) << x;

    image.fill(Qt::white);
    canvas->DrawText(QStringLiteral("&Save"), r, DT_LEFT | DT_NOPREFIX);
    for (int x = 10; x < 10 + fm.horizontalAdvance(QStringLiteral("&Save")); ++x)
        EXPECT_EQ(at(x, row), clWhite) << x;
}

TEST_F(CanvasTest, TextOutAndTextRectUseTheBrushForTheBackground)
{
    const QFontMetrics fm = metrics();
    canvas->Brush().SetColor(clAqua);
    canvas->TextOut(30, 40, QStringLiteral("Hi"));
    EXPECT_EQ(inkBounds(snapshot()),
              QRect(30, 40, fm.horizontalAdvance(QStringLiteral("Hi")), fm.height()));
    EXPECT_EQ(canvas->PenPos(), Point(30 + fm.horizontalAdvance(QStringLiteral("Hi")), 40));
    EXPECT_EQ(canvas->TextExtent(QStringLiteral("Hi")),
              (TSize{fm.horizontalAdvance(QStringLiteral("Hi")), fm.height()}));

    image.fill(Qt::white);
    canvas->TextRect(Rect(5, 5, 25, 25), 8, 8, QStringLiteral("Wide text here"));
    EXPECT_EQ(inkBounds(snapshot()), QRect(5, 5, 20, 20));
    EXPECT_EQ(at(5, 5), clAqua);
}

// ---- edges, frame controls, flood fill ----------------------------------------------------

TEST_F(CanvasTest, DrawEdgeUsesTheClassicThreeDColours)
{
    const TColor bg = RGB(1, 2, 3);
    struct Case
    {
        const char *name;
        std::uint32_t edge, flags;
        TRect adjusted;
        std::vector<Probe> probes;
    };
    const TColor light = ColorToRGB(cl3DLight), dark = ColorToRGB(cl3DDkShadow);
    const TColor hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow);
    const TColor face = ColorToRGB(clBtnFace);
    const Case cases[] = {
        {"raised",
         EDGE_RAISED,
         BF_RECT | BF_ADJUST | BF_MIDDLE,
         Rect(2, 2, 8, 8),
         {{0, 0, light},
          {8, 0, light},
          {9, 0, dark},
          {0, 9, dark},
          {9, 9, dark},
          {1, 1, hi},
          {8, 8, sh},
          {8, 1, sh},
          {5, 5, face},
          {10, 10, bg}}},
        {"sunken",
         EDGE_SUNKEN,
         BF_RECT | BF_ADJUST,
         Rect(2, 2, 8, 8),
         {{0, 0, sh}, {9, 9, hi}, {1, 1, dark}, {8, 8, light}, {5, 5, bg}}},
        {"top and left only",
         BDR_RAISEDINNER,
         BF_TOPLEFT | BF_ADJUST,
         Rect(1, 1, 10, 10),
         {{0, 0, hi}, {9, 0, hi}, {0, 9, hi}, {9, 9, bg}, {9, 5, bg}}},
        {"flat",
         EDGE_RAISED,
         BF_RECT | BF_FLAT,
         Rect(0, 0, 10, 10),
         {{0, 0, sh}, {9, 9, sh}, {1, 1, face}, {5, 5, bg}}},
    };
    for (const Case &c : cases) {
        image.fill(ToQColor(bg));
        TRect r = Rect(0, 0, 10, 10);
        canvas->DrawEdge(r, c.edge, c.flags);
        EXPECT_EQ(r, c.adjusted) << c.name;
        for (const Probe &p : c.probes)
            EXPECT_EQ(at(p.x, p.y), p.color) << c.name << " at " << p.x << "," << p.y;
    }
}

TEST_F(CanvasTest, FrameControlsShowTheirState)
{
    auto count = [&](const TRect &r, TColor c) {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += at(x, y) == ColorToRGB(c);
        return n;
    };
    const TRect box = Bounds(10, 10, 13, 13);
    canvas->DrawFrameControl(box, DFC_BUTTON, DFCS_BUTTONCHECK);
    EXPECT_EQ(count(box, clWindowText), 0);
    EXPECT_EQ(at(16, 16), ColorToRGB(clWindow));
    canvas->DrawFrameControl(box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_EQ(count(box, clWindowText), 21); // the 7 x 3 tick
    // Disabled: the same tick in grey on the button face.
    canvas->DrawFrameControl(box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_INACTIVE);
    const int greyEdges = count(box, clGrayText);
    EXPECT_EQ(at(16, 16), ColorToRGB(clBtnFace));
    canvas->DrawFrameControl(box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
    EXPECT_EQ(count(box, clWindowText), 0);
    EXPECT_EQ(count(box, clGrayText) - greyEdges, 21);

    const TRect radio = Bounds(40, 10, 13, 13);
    canvas->DrawFrameControl(radio, DFC_BUTTON, DFCS_BUTTONRADIO);
    EXPECT_EQ(count(radio, clWindowText), 0);
    canvas->DrawFrameControl(radio, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    EXPECT_GT(count(radio, clWindowText), 0);
    EXPECT_EQ(at(46, 16), clBlack);

    const TRect push = Bounds(60, 10, 30, 20);
    canvas->DrawFrameControl(push, DFC_BUTTON, DFCS_BUTTONPUSH);
    EXPECT_EQ(at(60, 10), ColorToRGB(cl3DLight));
    EXPECT_EQ(at(89, 29), ColorToRGB(cl3DDkShadow));
    canvas->DrawFrameControl(push, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    EXPECT_EQ(at(60, 10), ColorToRGB(clBtnShadow));

    // Arrow buttons: the widest row of the arrow lies on the side it points away from.
    struct ArrowCase
    {
        std::uint32_t state;
        bool pointsDown;
    };
    for (const ArrowCase &a : {ArrowCase{DFCS_SCROLLDOWN, true}, ArrowCase{DFCS_SCROLLUP, false},
                               ArrowCase{DFCS_SCROLLCOMBOBOX, true}}) {
        const TRect b = Bounds(100, 10, 17, 17);
        canvas->DrawFrameControl(b, DFC_SCROLL, a.state);
        std::vector<int> widths;
        for (int y = b.Top; y < b.Bottom; ++y) {
            const int n = count(Rect(b.Left, y, b.Right, y + 1), clBtnText);
            if (n > 0)
                widths.push_back(n);
        }
        ASSERT_GE(widths.size(), 2u);
        EXPECT_EQ(widths.front() > widths.back(), a.pointsDown) << a.state;
    }
}

TEST_F(CanvasTest, FloodFillStopsAtTheBorderOrKeepsToTheSurface)
{
    canvas->Pen().SetColor(clBlue);
    canvas->Brush().SetStyle(TBrushStyle::bsClear);
    canvas->Rectangle(10, 10, 30, 30);
    canvas->Brush().SetColor(clRed);
    canvas->FloodFill(15, 15, clBlue, TFillStyle::fsBorder);
    EXPECT_EQ(at(11, 11), clRed);
    EXPECT_EQ(at(28, 28), clRed);
    EXPECT_EQ(at(10, 10), clBlue);
    EXPECT_EQ(at(30, 30), clWhite);

    canvas->Brush().SetColor(clLime);
    canvas->FloodFill(0, 0, clWhite, TFillStyle::fsSurface);
    EXPECT_EQ(at(200, 100), clLime);
    EXPECT_EQ(at(20, 20), clRed);
    EXPECT_EQ(at(10, 10), clBlue);
}

TEST_F(CanvasTest, TransparentBackgroundLastsUntilTheBrushChanges)
{
    canvas->Brush().SetColor(clYellow);
    canvas->SetBkMode(TBkMode::bkTransparent);
    canvas->TextOut(10, 10, QStringLiteral("Hello"));
    auto yellow = [&] {
        const QImage img = snapshot();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (FromQColor(img.pixel(x, y)) == clYellow)
                    return true;
        return false;
    };
    EXPECT_FALSE(yellow());
    EXPECT_FALSE(inkBounds(snapshot()).isEmpty());
    canvas->Brush().SetColor(clYellow);
    EXPECT_EQ(canvas->BkMode(), TBkMode::bkOpaque);
    canvas->TextOut(10, 40, QStringLiteral("Hello"));
    EXPECT_TRUE(yellow());
}

TEST_F(CanvasTest, TurnedFontDrawsUpwards)
{
    canvas->Brush().SetStyle(TBrushStyle::bsClear);
    canvas->Font().SetOrientation(900);
    canvas->TextOut(50, 110, QStringLiteral("Vertical"));
    const QRect ink = inkBounds(snapshot());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.height(), ink.width());
    EXPECT_LE(ink.bottom(), 110);
    EXPECT_GE(ink.left(), 50);
}

TEST(CanvasOnPainter, KeepsTheCallersClipAsOuterBound)
{
    QImage img(40, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter painter(&img);
        painter.setClipRect(QRect(0, 0, 20, 20));
        TCanvas c(&painter);
        c.Brush().SetColor(clRed);
        c.SetClipRect(Rect(10, 10, 30, 30));
        c.FillRect(Rect(0, 0, 40, 40));
        c.ResetClip();
        c.Brush().SetColor(clBlue);
        c.FillRect(Rect(0, 0, 5, 40));
    }
    EXPECT_EQ(FromQColor(img.pixel(15, 15)), clRed);
    EXPECT_EQ(FromQColor(img.pixel(25, 25)), clWhite);
    EXPECT_EQ(FromQColor(img.pixel(2, 2)), clBlue);
    EXPECT_EQ(FromQColor(img.pixel(2, 30)), clWhite);
}

// ---- recording canvas ---------------------------------------------------------------------

TEST(RecordingCanvas, RecordsCallsWithFixedMetrics)
{
    TRecordingCanvas c; // 7 x 13 per character
    EXPECT_EQ(c.TextWidth("abc"), 21);
    EXPECT_EQ(c.TextHeight("abc"), 13);

    c.Brush().SetColor(clRed);
    c.FillRect(Rect(0, 0, 10, 10));
    c.Font().SetColor(clNavy);
    c.DrawText("Hello", Rect(0, 0, 100, 40), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    c.DrawText("aa bb cc", Rect(0, 0, 40, 100), DT_WORDBREAK);
    c.DrawText("abcdefghij", Rect(0, 0, 50, 20), DT_SINGLELINE | DT_END_ELLIPSIS);
    TRect calc = Rect(0, 0, 10, 10);
    c.DrawText("xyz", calc, DT_CALCRECT);
    EXPECT_EQ(calc, Rect(0, 0, 21, 13));

    ASSERT_EQ(c.Ops().size(), 4u); // CALCRECT draws nothing
    EXPECT_EQ(c.Ops()[0].kind, TCanvasOp::Kind::FillRect);
    EXPECT_EQ(c.Ops()[0].brushColor, clRed);

    const auto texts = c.OpsOf(TCanvasOp::Kind::DrawText);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].fontColor, clNavy);
    EXPECT_EQ(texts[0].points.at(0), Point((100 - 35) / 2, (40 - 13) / 2));
    EXPECT_EQ(texts[1].lines, QStringList({"aa bb", "cc"}));
    EXPECT_EQ(texts[1].points.at(1), Point(0, 13));
    // 50 px hold 7 characters: 4 of the text and the three dots.
    EXPECT_EQ(texts[2].lines, QStringList({"abcd..."}));
    EXPECT_EQ(c.Texts(), QStringList({"Hello", "aa bb cc", "abcdefghij"}));
}

} // namespace

// Text that switches between fonts (markup words, more fonts than the canvas keeps at once)
// measures each word as a canvas set to that font alone does.
TEST_F(CanvasTest, MeasuresAlikeWhileSwitchingBetweenManyFonts)
{
    const QStringList words = {QStringLiteral("Wide"), QStringLiteral("ill"),
                               QStringLiteral("a long word, with a comma and more letters than kept")};
    for (int round = 0; round < 3; ++round) {
        for (int size = 6; size < 18; ++size) {
            for (const bool bold : {false, true}) {
                canvas->Font().SetSize(size);
                canvas->Font().SetStyle(bold ? TFontStyles{TFontStyle::fsBold} : TFontStyles{});
                for (const QString &w : words)
                    ASSERT_EQ(canvas->TextWidth(w), metrics().horizontalAdvance(w))
                        << size << (bold ? " bold " : " ") << w.toStdString();
            }
        }
    }
}
