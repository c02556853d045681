#include "grid/model/QrlAlphaMask.h"
#include "grid/model/QrlFilePicture.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlJpeg.h"
#include "platform/ui/Bitmap.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace {

using Rgb = std::array<int, 3>;

void fill24(TPixelBitmap &bmp, int w, int h, Rgb c)
{
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    bmp.SetSize(w, h);
    for (int y = 0; y < h; ++y) {
        uchar *row = bmp.ScanLine(y);
        for (int x = 0; x < w; ++x)
            for (int ch = 0; ch < 3; ++ch)
                row[3 * x + ch] = uchar(c[std::size_t(ch)]);
    }
}

Rgb pixel24(TPixelBitmap &bmp, int x, int y)
{
    const uchar *p = bmp.Image().constScanLine(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

// Premultiplied as stored.
QRgb raw32(TPixelBitmap &bmp, int x, int y)
{
    return reinterpret_cast<const QRgb *>(bmp.Image().constScanLine(y))[x];
}

// The pixel bytes only: a row's padding up to the next 4-byte boundary is not part of the picture.
QByteArray bytesOf(const QImage &img)
{
    const qsizetype rowBytes = (qsizetype(img.width()) * img.depth() + 7) / 8;
    QByteArray out;
    for (int y = 0; y < img.height(); ++y)
        out.append(reinterpret_cast<const char *>(img.constScanLine(y)), rowBytes);
    return out;
}

// Every row, then every column: the plain separable blur the border-only one must match.
void fullBlur(TPixelBitmap &bmp, double radius)
{
    const TBlurKernel kernel = MakeBlurKernel(radius);
    const int w = bmp.Width(), h = bmp.Height();
    for (int y = 0; y < h; ++y)
        BlurMaskLine(bmp.ScanLine(y), w, kernel);
    std::vector<uint8_t> col(std::size_t(h) * 3);
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y)
            std::memcpy(&col[std::size_t(3 * y)], bmp.ScanLine(y) + 3 * x, 3);
        BlurMaskLine(col.data(), h, kernel);
        for (int y = 0; y < h; ++y)
            std::memcpy(bmp.ScanLine(y) + 3 * x, &col[std::size_t(3 * y)], 3);
    }
}

QByteArray encode(const QImage &img, const char *format)
{
    QByteArray data;
    QBuffer buf(&data);
    buf.open(QIODevice::WriteOnly);
    EXPECT_TRUE(img.save(&buf, format, 95));
    return data;
}

QImage solid(int w, int h, QColor c, QImage::Format f = QImage::Format_RGB32)
{
    QImage img(w, h, f);
    img.fill(c);
    return img;
}

// CMYK stored inverted with an Adobe marker, as image editors write it.
QByteArray encodeCmyk(int w, int h, std::array<uint8_t, 4> invertedCmyk)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(std::size_t(w) * 4);
    for (int x = 0; x < w; ++x)
        std::memcpy(&row[std::size_t(4 * x)], invertedCmyk.data(), 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray data(reinterpret_cast<const char *>(out), qsizetype(size));
    std::free(out);
    return data;
}

void expectNear(const Rgb &got, const Rgb &want, int tolerance, const char *name)
{
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(got[i], want[i], tolerance) << name << " channel " << i;
}

// ---- alpha mask -----------------------------------------------------------------------------

TEST(AlphaMask, MergeMaskPremultipliesByMaskRed)
{
    struct Case
    {
        int maskRed;
        Rgb source;
        Rgb expected;
    };
    const Case cases[] = {
        {128, {200, 100, 0}, {100, 50, 0}},
        {255, {10, 20, 30}, {10, 20, 30}},
        {0, {200, 200, 200}, {0, 0, 0}},
        {1, {255, 128, 127}, {1, 1, 0}}, // 0.502 rounds up, 0.498 down
    };
    for (const Case &c : cases) {
        TPixelBitmap mask, colour;
        // Green and blue of the mask must not matter.
        fill24(mask, 3, 2, {c.maskRed, 7, 250});
        fill24(colour, 3, 2, c.source);
        TGridAlphaMask alpha;
        alpha.MergeMask(mask, colour, clRed);
        ASSERT_EQ(alpha.Width(), 3);
        ASSERT_EQ(alpha.Height(), 2);
        EXPECT_EQ(alpha.PixelFormat(), TPixelFormat::pf32bit);
        const QRgb p = raw32(alpha, 2, 1);
        EXPECT_EQ(qAlpha(p), c.maskRed) << c.maskRed;
        EXPECT_EQ((Rgb{qRed(p), qGreen(p), qBlue(p)}), c.expected) << c.maskRed;
    }
}

TEST(AlphaMask, MergeMaskNeeds24BitBitmapAndToleratesSmallMask)
{
    TGridAlphaMask alpha;
    alpha.SetSize(5, 5);
    TPixelBitmap mask, colour;
    fill24(mask, 4, 3, {255, 0, 0});
    colour.SetPixelFormat(TPixelFormat::pfDevice);
    colour.SetSize(4, 3);
    alpha.MergeMask(mask, colour, clBlack);
    EXPECT_EQ(alpha.Width(), 5); // untouched

    // A mask smaller than the bitmap gives no alpha outside it instead of reading past it.
    fill24(colour, 6, 4, {40, 80, 120});
    alpha.MergeMask(mask, colour, clBlack);
    ASSERT_EQ(alpha.Width(), 6);
    ASSERT_EQ(alpha.Height(), 4);
    EXPECT_EQ(raw32(alpha, 3, 2), qRgba(40, 80, 120, 255));
    EXPECT_EQ(raw32(alpha, 5, 3), qRgba(0, 0, 0, 0));
    EXPECT_EQ(raw32(alpha, 2, 3), qRgba(0, 0, 0, 0));
}

TEST(AlphaMask, AssignCopiesPixelsAndOpacity)
{
    TGridAlphaMask fresh;
    EXPECT_EQ(fresh.Opacity, 255);
    EXPECT_EQ(fresh.PixelFormat(), TPixelFormat::pf32bit);

    TGridAlphaMask source;
    TPixelBitmap mask, colour;
    fill24(mask, 3, 2, {128, 0, 0});
    fill24(colour, 3, 2, {200, 100, 0});
    source.MergeMask(mask, colour, clBlack);
    source.Opacity = 77;

    // The target's own size differs: it takes the source's.
    struct Case
    {
        const char *name;
        int w, h;
    };
    for (const Case &c : {Case{"empty", 0, 0}, Case{"larger", 9, 7}, Case{"smaller", 1, 1}}) {
        TGridAlphaMask target;
        target.SetSize(c.w, c.h);
        target.Assign(source);
        EXPECT_EQ(target.Opacity, 77) << c.name;
        EXPECT_EQ(target.PixelFormat(), TPixelFormat::pf32bit) << c.name;
        ASSERT_EQ(target.Width(), 3) << c.name;
        ASSERT_EQ(target.Height(), 2) << c.name;
        EXPECT_EQ(bytesOf(target.Image()), bytesOf(source.Image())) << c.name;
    }

    // Other sources: pixels only, 32 bits afterwards.
    TPixelBitmap plain;
    fill24(plain, 4, 3, {10, 20, 30});
    TBitmap platform(2, 2);
    platform.Canvas().SetPixels(1, 1, clRed);
    TGridAlphaMask fromPlain, fromPlatform;
    fromPlain.Opacity = fromPlatform.Opacity = 9;
    fromPlain.Assign(plain);
    fromPlatform.Assign(platform);
    EXPECT_EQ(fromPlain.Opacity, 9);
    EXPECT_EQ(fromPlain.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(fromPlain.Image().format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(raw32(fromPlain, 3, 2), qRgba(10, 20, 30, 255));
    EXPECT_EQ(fromPlatform.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(raw32(fromPlatform, 1, 1), qRgba(255, 0, 0, 255));
    EXPECT_EQ(raw32(fromPlatform, 0, 0), qRgba(255, 255, 255, 255));
}

// ---- round-rectangle mask and blur ------------------------------------------------------------

// White run lengths along a row or column through the middle.
std::vector<std::pair<int, int>> whiteRuns(TPixelBitmap &bmp, bool horizontal)
{
    std::vector<std::pair<int, int>> runs; // (start, length)
    const int n = horizontal ? bmp.Width() : bmp.Height();
    for (int i = 0; i < n; ++i) {
        const Rgb p =
            horizontal ? pixel24(bmp, i, bmp.Height() / 2) : pixel24(bmp, bmp.Width() / 2, i);
        EXPECT_TRUE(p == (Rgb{0, 0, 0}) || p == (Rgb{255, 255, 255})) << i;
        if (p[0] == 255) {
            if (!runs.empty() && runs.back().first + runs.back().second == i)
                ++runs.back().second;
            else
                runs.push_back({i, 1});
        }
    }
    return runs;
}

TEST(RoundRectMask, OutlineOrFilledShape)
{
    const int w = 60, h = 44;
    {
        // Pen 4: the outline runs 4 pixels in (2 + 4 div 2), the pen centred on it.
        TPixelBitmap bmp;
        MakeRoundRectMask(bmp, w, h, 4, 5, 0);
        EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pf24bit);
        ASSERT_EQ(bmp.Width(), w);
        ASSERT_EQ(bmp.Height(), h);
        for (bool horizontal : {true, false}) {
            const auto runs = whiteRuns(bmp, horizontal);
            ASSERT_EQ(runs.size(), 2u) << horizontal;
            EXPECT_EQ(runs[0], std::make_pair(2, 4)) << horizontal;
            EXPECT_EQ(runs[1].second, 4) << horizontal;
            EXPECT_GE((horizontal ? w : h) - (runs[1].first + 4), 2) << horizontal;
        }
        EXPECT_EQ(pixel24(bmp, 0, 0), (Rgb{0, 0, 0}));
        EXPECT_EQ(pixel24(bmp, w / 2, h / 2), (Rgb{0, 0, 0}));
    }
    {
        // Below pen width 1: the shape is filled from (2, 2) to (w - 2, h - 2).
        TPixelBitmap bmp;
        MakeRoundRectMask(bmp, w, h, 0, 5, 0);
        for (bool horizontal : {true, false}) {
            const auto runs = whiteRuns(bmp, horizontal);
            ASSERT_EQ(runs.size(), 1u) << horizontal;
            EXPECT_EQ(runs[0], std::make_pair(2, (horizontal ? w : h) - 4)) << horizontal;
        }
    }
    {
        // A blur radius blurs the drawn mask.
        TPixelBitmap blurred, expected;
        MakeRoundRectMask(blurred, w, h, 4, 5, 3);
        MakeRoundRectMask(expected, w, h, 4, 5, 0);
        BlurMaskBitmap(expected, 3);
        EXPECT_EQ(bytesOf(blurred.Image()), bytesOf(expected.Image()));
        const Rgb edge = pixel24(blurred, 1, h / 2);
        EXPECT_GT(edge[0], 0);
        EXPECT_LT(edge[0], 255);
    }
}

TEST(MaskBlur, KernelIsNormalisedGaussianCutAtHalfAGreyLevel)
{
    for (double radius : {0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 5.0, 50.0}) {
        const TBlurKernel k = MakeBlurKernel(radius);
        ASSERT_GE(k.J, 1) << radius;
        ASSERT_LE(k.J, 9) << radius;
        double sum = 0;
        for (int i = -k.J; i <= k.J; ++i) {
            sum += k.w(i);
            EXPECT_DOUBLE_EQ(k.w(i), k.w(-i)) << radius;
            EXPECT_NEAR(k.w(i) / k.w(0), std::exp(-(i / radius) * (i / radius) / 2), 1e-12)
                << radius << " k " << i;
        }
        EXPECT_NEAR(sum, 1.0, 1e-12) << radius;
        for (int i = k.J + 1; i <= 10; ++i)
            EXPECT_EQ(k.w(i), 0.0) << radius;

        // Half-width: outer weights of the full 21-weight kernel are dropped while what was
        // dropped so far stays below 1/510 (the weight that crosses it goes too), never below 1.
        std::array<double, 11> u{};
        double total = 0;
        for (int i = -10; i <= 10; ++i)
            total += std::exp(-(i / radius) * (i / radius) / 2);
        for (int i = 0; i <= 10; ++i)
            u[std::size_t(i)] = std::exp(-(i / radius) * (i / radius) / 2) / total;
        double dropped = 0;
        for (int i = k.J + 1; i <= 10; ++i)
            dropped += 2 * u[std::size_t(i)];
        EXPECT_TRUE(k.J == 1 || dropped >= 1.0 / 510) << radius;
        EXPECT_LT(dropped - 2 * u[std::size_t(k.J + 1)], 1.0 / 510) << radius;
    }

    const TBlurKernel none = MakeBlurKernel(0);
    EXPECT_EQ(none.J, 1);
    EXPECT_EQ(none.w(0), 1.0);
    EXPECT_EQ(none.w(1), 0.0);
}

TEST(MaskBlur, LineClampsAtTheEnds)
{
    const TBlurKernel kernel = MakeBlurKernel(3);
    std::vector<uint8_t> uniform(30 * 3);
    for (std::size_t i = 0; i < uniform.size(); ++i)
        uniform[i] = uint8_t(i % 3 == 0 ? 90 : i % 3 == 1 ? 160 : 250);
    std::vector<uint8_t> copy = uniform;
    BlurMaskLine(copy.data(), 30, kernel);
    EXPECT_EQ(copy, uniform);

    // A step: the ends repeat their own pixel, so they stay put; the middle is symmetric.
    std::vector<uint8_t> step(40 * 3, 0);
    std::fill(step.begin(), step.begin() + 20 * 3, uint8_t(255));
    BlurMaskLine(step.data(), 40, kernel);
    EXPECT_EQ(step[0], 255);
    EXPECT_EQ(step[39 * 3], 0);
    for (int a = 1; a < 40; ++a)
        EXPECT_LE(step[std::size_t(3 * a)], step[std::size_t(3 * (a - 1))]) << a;
    EXPECT_EQ(step[19 * 3] + step[20 * 3], 255);
    EXPECT_GT(step[19 * 3], 127);
    EXPECT_LT(step[19 * 3], 255);
}

TEST(MaskBlur, RejectsOtherFormatsBeforeTouchingTheBitmap)
{
    for (TPixelFormat f : {TPixelFormat::pfDevice, TPixelFormat::pf32bit}) {
        TPixelBitmap bmp;
        bmp.SetPixelFormat(f);
        bmp.SetSize(50, 50);
        bmp.Canvas().Brush().SetColor(clWhite);
        bmp.Canvas().FillRect(Rect(10, 10, 40, 40));
        const QByteArray before = bytesOf(bmp.Image());
        try {
            BlurMaskBitmap(bmp, 3);
            ADD_FAILURE() << "no error for format " << int(f);
        } catch (const EQrlGridError &e) {
            EXPECT_STREQ(e.what(), "Blur only works for 24-bit bitmaps");
        }
        EXPECT_EQ(bytesOf(bmp.Image()), before);
        EXPECT_EQ(bmp.PixelFormat(), f);
    }
}

TEST(MaskBlur, ComputesOnlyTheBorderBand)
{
    // Masks uniform beyond the band come out as a full blur would give them.
    struct Case
    {
        const char *name;
        int w, h;
        std::function<void(TPixelBitmap &)> draw;
    };
    const Case cases[] = {
        {"ring mask", 120, 90, [](TPixelBitmap &b) { MakeRoundRectMask(b, 120, 90, 4, 5, 0); }},
        {"small bitmap is all band", 30, 25,
         [](TPixelBitmap &b) {
             fill24(b, 30, 25, {0, 0, 0});
             for (int y = 0; y < 25; ++y)
                 for (int x = 0; x < 30; ++x)
                     b.ScanLine(y)[3 * x + (x + y) % 3] = uchar((x * 37 + y * 11) % 256);
         }},
    };
    for (const Case &c : cases) {
        TPixelBitmap bmp, reference;
        c.draw(bmp);
        c.draw(reference);
        const QByteArray before = bytesOf(bmp.Image());
        BlurMaskBitmap(bmp, 3);
        fullBlur(reference, 3);
        EXPECT_EQ(bytesOf(bmp.Image()), bytesOf(reference.Image())) << c.name;
        EXPECT_NE(bytesOf(bmp.Image()), before) << c.name;
    }

    // Elsewhere the inside repeats row 15 and column 15: a lone dot survives at its place
    // only where both its row and its column are in the band (index <= 20 or >= size - 20),
    // and a dot in row or column 15 is repeated across the inside. Radius 1 keeps the dot's
    // spread away from pixel 15.
    struct Dot
    {
        int x, y;   // the dot
        int px, py; // the pixel probed
        bool lit;
    };
    const Dot dots[] = {
        {50, 35, 50, 35, false}, {10, 20, 10, 20, true},  {10, 21, 10, 21, false},
        {10, 49, 10, 49, false}, {10, 50, 10, 50, true},  {20, 10, 20, 10, true},
        {21, 10, 21, 10, false}, {79, 10, 79, 10, false}, {80, 10, 80, 10, true},
        {10, 15, 10, 35, true},  {10, 16, 10, 35, false}, {15, 10, 50, 10, true},
        {18, 10, 50, 10, false},
    };
    for (const Dot &d : dots) {
        TPixelBitmap bmp;
        fill24(bmp, 100, 70, {0, 0, 0});
        std::memset(bmp.ScanLine(d.y) + 3 * d.x, 255, 3);
        BlurMaskBitmap(bmp, 1);
        EXPECT_EQ(pixel24(bmp, d.px, d.py)[0] > 0, d.lit)
            << "dot " << d.x << "," << d.y << " probe " << d.px << "," << d.py;
    }
}

// ---- JPEG decoding and file pictures -----------------------------------------------------------

TEST(Jpeg, DecodesColourGreyAndCmyk)
{
    struct Case
    {
        const char *name;
        QByteArray data;
        int w, h;
        Rgb centre;
    };
    const Case cases[] = {
        {"colour", encode(solid(37, 21, QColor(200, 30, 40)), "JPG"), 37, 21, {200, 30, 40}},
        {"grey",
         encode(solid(9, 14, QColor(90, 90, 90), QImage::Format_Grayscale8), "JPG"),
         9,
         14,
         {90, 90, 90}},
        {"cmyk", encodeCmyk(12, 8, {255, 0, 0, 255}), 12, 8, {255, 0, 0}},
    };
    for (const Case &c : cases) {
        QImage img;
        QString error = "stale";
        ASSERT_TRUE(DecodeJpeg(c.data, img, &error)) << c.name << ": " << error.toStdString();
        EXPECT_TRUE(error.isEmpty()) << c.name;
        EXPECT_EQ(img.format(), QImage::Format_RGB888) << c.name;
        ASSERT_EQ(img.size(), QSize(c.w, c.h)) << c.name;
        const QColor p = img.pixelColor(c.w / 2, c.h / 2);
        expectNear({p.red(), p.green(), p.blue()}, c.centre, 6, c.name);
    }

    QImage img = solid(1, 1, Qt::red);
    QString error;
    const QByteArray good = encode(solid(37, 21, Qt::green), "JPG");
    EXPECT_FALSE(DecodeJpeg(good.left(good.size() / 2), img, &error));
    EXPECT_TRUE(img.isNull());
    EXPECT_FALSE(error.isEmpty());
}

class FilePictureTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    void write(const QString &name, const QByteArray &data)
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    QTemporaryDir dir;
};

TEST_F(FilePictureTest, MeasuresOnSetAndReloadsOnEveryDraw)
{
    write("pic.jpg", encode(solid(37, 21, QColor(200, 30, 40)), "JPG"));
    TFilePicture pic;
    pic.SetFilename(path("pic.jpg"));
    EXPECT_EQ(pic.Filename(), path("pic.jpg"));
    EXPECT_EQ(pic.Width(), 37);
    EXPECT_EQ(pic.Height(), 21);

    auto drawnCentre = [&](const TFilePicture &p) {
        TBitmap target(80, 50);
        target.Canvas().Brush().SetColor(clWhite);
        target.Canvas().FillRect(Rect(0, 0, 80, 50));
        p.DrawPicture(target.Canvas(), Rect(4, 4, 78, 46));
        const QImage &img = target.Image();
        EXPECT_EQ(img.pixelColor(2, 2), QColor(Qt::white)); // outside r
        const QColor c = img.pixelColor(76, 44);            // stretched to r's corner
        return Rgb{c.red(), c.green(), c.blue()};
    };
    expectNear(drawnCentre(pic), {200, 30, 40}, 8, "first draw");

    // The file is read again for each draw; the size stays as measured.
    write("pic.jpg", encode(solid(5, 5, QColor(20, 40, 220)), "JPG"));
    expectNear(drawnCentre(pic), {20, 40, 220}, 8, "after the file changed");
    EXPECT_EQ(pic.Width(), 37);

    TFilePicture copy;
    QFile::remove(path("pic.jpg"));
    copy.Assign(pic); // no loading
    EXPECT_EQ(copy.Filename(), path("pic.jpg"));
    EXPECT_EQ(copy.Width(), 37);
    EXPECT_EQ(copy.Height(), 21);
    TBitmap target(10, 10);
    EXPECT_THROW(copy.DrawPicture(target.Canvas(), Rect(0, 0, 10, 10)), EPictureError);

    TFilePicture empty;
    empty.DrawPicture(target.Canvas(), Rect(0, 0, 10, 10));
    EXPECT_EQ(empty.Width(), 0);
    pic.SetFilename(QString());
    EXPECT_EQ(pic.Width(), 0);
    EXPECT_EQ(pic.Height(), 0);
}

TEST_F(FilePictureTest, LoaderErrorsArePassedOn)
{
    const QByteArray jpeg = encode(solid(37, 21, Qt::darkCyan), "JPG");
    write("valid.jpg", jpeg);
    write("garbage.jpg", "this is not a picture at all");
    write("truncated.jpg", jpeg.left(jpeg.size() / 2));
    write("header-only.jpg", jpeg.left(20));
    write("empty.jpg", QByteArray());
    write("garbage.png", QByteArray(64, '\x5a'));
    write("broken.png", encode(solid(6, 6, Qt::red), "PNG").left(40));
    write("jpeg-named.bmp", jpeg);
    write("small.png", encode(solid(5, 4, Qt::red), "PNG"));

    struct Case
    {
        const char *file;
        bool ok;
        int w, h;
    };
    const Case cases[] = {
        {"garbage.jpg", false, 0, 0},     {"truncated.jpg", false, 0, 0},
        {"header-only.jpg", false, 0, 0}, {"empty.jpg", false, 0, 0},
        {"missing.jpg", false, 0, 0},     {"garbage.png", false, 0, 0},
        {"broken.png", false, 0, 0},      {"jpeg-named.bmp", true, 37, 21},
        {"small.png", true, 5, 4},
    };
    for (const Case &c : cases) {
        TFilePicture pic;
        pic.SetFilename(path("valid.jpg"));
        const QString name = path(c.file);
        if (c.ok) {
            EXPECT_NO_THROW(pic.SetFilename(name)) << c.file;
            EXPECT_EQ(pic.Width(), c.w) << c.file;
            EXPECT_EQ(pic.Height(), c.h) << c.file;
            continue;
        }
        try {
            pic.SetFilename(name);
            ADD_FAILURE() << c.file << " loaded";
        } catch (const EPictureError &e) {
            EXPECT_TRUE(QString::fromStdString(e.what()).contains(name)) << e.what();
        }
        EXPECT_EQ(pic.Filename(), name) << c.file;
        EXPECT_EQ(pic.Width(), 37) << c.file;
        EXPECT_EQ(pic.Height(), 21) << c.file;
    }
}

} // namespace
