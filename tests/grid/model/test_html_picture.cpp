#include "grid/model/QrlGridError.h"
#include "grid/model/QrlHTMLPicture.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/ui/Canvas.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QResource>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// A 2 x 2 GIF with two frames, red then blue:
//   0  "GIF89a"
//   6  logical screen 2 x 2, global colour table of 2 entries: 0 red, 1 blue
//   19 frame 1: graphic control (no transparency, delay 10), image 0,0 2 x 2,
//      LZW (min code size 2) codes CLEAR 0 0 CLEAR 0 0 END
//   43 frame 2: graphic control (transparent index 0, disposal 1, delay 20), image 1,0 1 x 2,
//      codes CLEAR 1 1 END
//   66 trailer
const QByteArray &twoFrameGif()
{
    static const unsigned char bytes[] = {
        'G',  'I',  'F',  '8',  '9',  'a',  0x02, 0x00, 0x02, 0x00,
        0x80, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF,       //
        0x21, 0xF9, 0x04, 0x00, 0x0A, 0x00, 0x00, 0x00,             //
        0x2C, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x02, 0x00, 0x00, //
        0x02, 0x03, 0x04, 0x08, 0x14, 0x00,                         //
        0x21, 0xF9, 0x04, 0x05, 0x14, 0x00, 0x00, 0x00,             //
        0x2C, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x02, 0x00, 0x00, //
        0x02, 0x02, 0x4C, 0x0A, 0x00,                               //
        0x3B};
    static const QByteArray data(reinterpret_cast<const char *>(bytes), sizeof(bytes));
    return data;
}

QByteArray bmpOf(int w, int h, QRgb colour, int dotsPerMeter = 3780)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "BMP"));
    return data;
}

void loadBytes(THTMLPicture &picture, const QByteArray &data)
{
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    picture.LoadFromStream(&buffer);
}

QByteArray savedBytes(const THTMLPicture &picture)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    picture.SaveToStream(&buffer);
    return data;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
    return path;
}

QRgb rgbAt(const THTMLPicture &picture, int x, int y)
{
    return picture.Picture().pixel(x, y) & 0xFFFFFF;
}

// A Qt resource tree as rcc writes it (format version 1): the root folder holding the files,
// ordered by name hash as the resource lookup's binary search needs.
QByteArray resourceTree(std::vector<std::pair<QString, QByteArray>> files)
{
    auto hashOf = [](const QString &name) {
        uint h = 0;
        for (QChar c : name) {
            h = (h << 4) + c.unicode();
            h ^= (h & 0xf0000000) >> 23;
            h &= 0x0fffffff;
        }
        return h;
    };
    std::sort(files.begin(), files.end(),
              [&](const auto &a, const auto &b) { return hashOf(a.first) < hashOf(b.first); });
    auto be = [](QByteArray &out, quint32 v, int bytes) {
        for (int i = bytes - 1; i >= 0; --i)
            out.append(char((v >> (8 * i)) & 0xFF));
    };
    QByteArray tree, names, payload;
    be(tree, 0, 4); // root: no name
    be(tree, 2, 2); // folder
    be(tree, quint32(files.size()), 4);
    be(tree, 1, 4); // first child node
    for (const auto &[name, data] : files) {
        be(tree, quint32(names.size()), 4);
        be(tree, 0, 2);          // plain file
        be(tree, 0, 2);          // any territory
        be(tree, QLocale::C, 2); // language C
        be(tree, quint32(payload.size()), 4);
        be(names, quint32(name.size()), 2);
        be(names, hashOf(name), 4);
        for (QChar c : name)
            be(names, c.unicode(), 2);
        be(payload, quint32(data.size()), 4);
        payload.append(data);
    }
    QByteArray out("qres");
    be(out, 1, 4);
    be(out, 20, 4);
    be(out, quint32(20 + tree.size() + names.size()), 4);
    be(out, quint32(20 + tree.size()), 4);
    return out + tree + names + payload;
}

// Lets the download threads end and their deferred deletion run.
bool downloadThreadsGone()
{
    QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (qApp->findChildren<TDownLoadThread *>().isEmpty())
            return true;
    }
    return false;
}

} // namespace

TEST(HTMLPicture, StartsEmpty)
{
    THTMLPicture picture;
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(picture.Frame(), 1);
    EXPECT_EQ(picture.FrameCount(), -1);
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.MaxHeight(), 0);
    EXPECT_TRUE(picture.Asynch());
    EXPECT_FALSE(picture.Step());
    TCanvas canvas;
    canvas.SetRecording(true);
    picture.Draw(canvas, TRect(0, 0, 10, 10));
    EXPECT_TRUE(canvas.Ops().empty());
}

TEST(HTMLPicture, GifFramesDecodeOneByOne)
{
    THTMLPicture picture;
    int frameChanges = 0;
    picture.OnFrameChange = [&](THTMLPicture *) { ++frameChanges; };
    loadBytes(picture, twoFrameGif());

    ASSERT_FALSE(picture.Empty());
    EXPECT_TRUE(picture.IsGIF());
    EXPECT_EQ(picture.FrameCount(), 2);
    EXPECT_EQ(savedBytes(picture), twoFrameGif());
    EXPECT_EQ(picture.MaxWidth(), 2);
    EXPECT_EQ(picture.MaxHeight(), 2);
    EXPECT_EQ(rgbAt(picture, 0, 0), 0xFF0000u);

    EXPECT_EQ(picture.FrameTime(1), 10);
    EXPECT_FALSE(picture.FrameTransparent());
    EXPECT_EQ(picture.FrameTime(2), 20);
    EXPECT_TRUE(picture.FrameTransparent());
    EXPECT_EQ(picture.FrameDisposal(), 1);
    EXPECT_EQ(picture.FrameTime(0), -1);
    EXPECT_EQ(picture.FrameTime(3), -1);

    picture.FrameNext();
    EXPECT_EQ(picture.Frame(), 2);
    EXPECT_EQ(frameChanges, 1);
    EXPECT_EQ(picture.FrameXPos(), 1);
    EXPECT_EQ(picture.FrameYPos(), 0);
    EXPECT_EQ(rgbAt(picture, 1, 0), 0x0000FFu);

    picture.FrameNext();
    EXPECT_EQ(picture.Frame(), 1);
    EXPECT_EQ(rgbAt(picture, 0, 0), 0xFF0000u);
    picture.FramePrev();
    EXPECT_EQ(picture.Frame(), 2);
    EXPECT_EQ(frameChanges, 3);
}

TEST(HTMLPicture, StepChangesFrameWhenTicksReachTheDelay)
{
    // Delays 10 and 20 hundredths; each Step is 10 hundredths, counted from -1.
    const int expectedFrames[] = {1, 1, 2, 2, 1, 2, 2, 1};
    THTMLPicture picture;
    loadBytes(picture, twoFrameGif());
    int step = 0;
    for (int expected : expectedFrames) {
        const int before = picture.Frame();
        const bool changed = picture.Step();
        EXPECT_EQ(picture.Frame(), expected) << "step " << step;
        EXPECT_EQ(changed, expected != before) << "step " << step;
        ++step;
    }

    THTMLPicture still;
    loadBytes(still, bmpOf(2, 2, qRgb(0, 255, 0)));
    EXPECT_FALSE(still.Step());
}

TEST(HTMLPicture, NewDataStartsAtItsFirstFrame)
{
    THTMLPicture picture;
    loadBytes(picture, twoFrameGif());
    picture.SetFrame(2);
    loadBytes(picture, bmpOf(3, 3, qRgb(0, 255, 0)));
    EXPECT_EQ(picture.Frame(), 1);
    EXPECT_EQ(picture.FrameCount(), -1);
    EXPECT_EQ(picture.MaxWidth(), 3);

    picture.SetFrame(2);
    loadBytes(picture, twoFrameGif());
    EXPECT_EQ(picture.Frame(), 1);
    EXPECT_EQ(picture.FrameCount(), 2);
    EXPECT_EQ(rgbAt(picture, 0, 0), 0xFF0000u);
}

TEST(HTMLPicture, SizeFollowsThePicturesResolution)
{
    struct Case
    {
        int dotsPerMeter;
        int width, height;
    };
    const Case cases[] = {
        {3780, 40, 20}, // 96 dpi
        {7559, 20, 10}, // 192 dpi
        {2835, 53, 27}, // 72 dpi
        {0, 40, 20},    // none given: 96 dpi
    };
    for (const Case &c : cases) {
        QByteArray bmp = bmpOf(40, 20, qRgb(0, 0, 0), c.dotsPerMeter == 0 ? 3780 : c.dotsPerMeter);
        if (c.dotsPerMeter == 0)
            bmp.replace(38, 8, QByteArray(8, '\0')); // the header's pixels per metre
        THTMLPicture picture;
        loadBytes(picture, bmp);
        EXPECT_EQ(picture.Width(), c.width) << c.dotsPerMeter;
        EXPECT_EQ(picture.Height(), c.height) << c.dotsPerMeter;
        EXPECT_EQ(picture.MaxWidth(), c.width) << c.dotsPerMeter;
        picture.SetWidth(999);
        EXPECT_EQ(picture.Width(), c.width);
    }
}

TEST(HTMLPicture, DrawsAtItsSizeOrStretched)
{
    struct Case
    {
        bool stretch;
        int x, y;
        QRgb expected;
    };
    // A 4 x 4 red picture at 192 dpi drawn into (10,10)-(30,30) of a 96-dpi target.
    const Case cases[] = {
        {false, 10, 10, 0xFF0000}, {false, 11, 11, 0xFF0000}, {false, 13, 13, 0xFFFFFF},
        {true, 10, 10, 0xFF0000},  {true, 29, 29, 0xFF0000},  {true, 30, 30, 0xFFFFFF},
    };
    for (const Case &c : cases) {
        THTMLPicture picture;
        loadBytes(picture, bmpOf(4, 4, qRgb(255, 0, 0), 7559));
        picture.SetStretch(c.stretch);
        QImage target(40, 40, QImage::Format_RGB32);
        target.fill(Qt::white);
        {
            TCanvas canvas(&target);
            picture.Draw(canvas, TRect(10, 10, 30, 30));
        }
        EXPECT_EQ(target.pixel(c.x, c.y) & 0xFFFFFF, c.expected)
            << c.stretch << " " << c.x << "," << c.y;
    }
}

TEST(HTMLPicture, BrokenDataFailsOnlyThroughTheStream)
{
    const QByteArray cases[] = {
        QByteArray("GIF8"), // too short to be a GIF
        QByteArray("not a picture at all"),
        twoFrameGif().left(13), // header without colours or frames
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const QByteArray &data : cases) {
        THTMLPicture picture;
        loadBytes(picture, bmpOf(2, 2, qRgb(0, 255, 0)));
        picture.LoadFromFile(writeFile(dir, QStringLiteral("broken"), data));
        EXPECT_TRUE(picture.Empty()) << data.toHex().constData();
        EXPECT_FALSE(picture.IsGIF());
        EXPECT_EQ(picture.FrameCount(), -1);
        EXPECT_TRUE(savedBytes(picture).isEmpty());

        try {
            loadBytes(picture, data);
            ADD_FAILURE() << "no error for " << data.toHex().constData();
        } catch (const EQrlGridError &e) {
            EXPECT_STREQ(e.what(), "Could not load image. Invalid format");
        }
        EXPECT_TRUE(picture.Empty());
    }

    THTMLPicture missing;
    missing.LoadFromFile(dir.filePath(QStringLiteral("absent.gif")));
    EXPECT_TRUE(missing.Empty());
    missing.LoadFromStream(nullptr);
    EXPECT_TRUE(missing.Empty());
}

TEST(HTMLPicture, LoadFromURL)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = writeFile(dir, QStringLiteral("anim.gif"), twoFrameGif());
    for (const char *scheme : {"file://", "FILE://", "File://"}) {
        THTMLPicture picture;
        const QString url = QLatin1String(scheme) + path;
        picture.LoadFromURL(url);
        EXPECT_FALSE(picture.Empty()) << scheme;
        EXPECT_EQ(picture.FrameCount(), 2);
        EXPECT_EQ(picture.ID(), url);
    }

    const QString web = QStringLiteral("http://example.com/logo.gif");
    THTMLPicture synchronous;
    synchronous.SetAsynch(false);
    synchronous.LoadFromURL(web);
    EXPECT_TRUE(synchronous.Empty());
    EXPECT_EQ(synchronous.ID(), web);
    EXPECT_EQ(synchronous.URL(), web);
    EXPECT_FALSE(synchronous.Busy());

    THTMLPicture background;
    background.LoadFromURL(web);
    EXPECT_TRUE(background.Empty());
    EXPECT_TRUE(background.Busy());
    EXPECT_EQ(background.URL(), web);
    EXPECT_TRUE(background.ID().isEmpty());
    EXPECT_TRUE(downloadThreadsGone());
}

TEST(HTMLPicture, LoadsFromResources)
{
    static const QByteArray tree = resourceTree(
        {{QStringLiteral("logo.gif"), twoFrameGif()}, {QStringLiteral("77"), bmpOf(5, 5, 0)}});
    ASSERT_TRUE(QResource::registerResource(reinterpret_cast<const uchar *>(tree.constData())));

    THTMLPicture byUrl;
    byUrl.LoadFromURL(QStringLiteral("res://logo.gif"));
    EXPECT_EQ(byUrl.FrameCount(), 2);
    EXPECT_EQ(byUrl.ID(), QStringLiteral("res://logo.gif"));

    THTMLPicture byId;
    byId.LoadFromResourceID(QString(), 77);
    EXPECT_EQ(byId.Width(), 5);

    THTMLPicture absent;
    absent.LoadFromResourceName(QString(), QStringLiteral("nothing.gif"));
    EXPECT_TRUE(absent.Empty());

    QResource::unregisterResource(reinterpret_cast<const uchar *>(tree.constData()));
}

TEST(HTMLPicture, AssignCopiesOnlyFromAPicture)
{
    struct Other : TPersistent
    {
    };
    THTMLPicture source;
    loadBytes(source, twoFrameGif());
    source.SetFrame(2);

    THTMLPicture copy;
    int changes = 0;
    copy.OnChange = [&](THTMLPicture *) { ++changes; };
    copy.Assign(&source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(copy.Frame(), 1);
    EXPECT_EQ(savedBytes(copy), twoFrameGif());
    EXPECT_EQ(rgbAt(copy, 0, 0), 0xFF0000u);

    Other other;
    for (const TPersistent *from :
         {static_cast<const TPersistent *>(&other), static_cast<const TPersistent *>(nullptr)}) {
        THTMLPicture target;
        target.Assign(&source);
        target.Assign(from);
        EXPECT_TRUE(target.Empty());
        EXPECT_EQ(target.FrameCount(), -1);
        EXPECT_TRUE(savedBytes(target).isEmpty());
    }
}

TEST(HTMLPicture, ContainerFindsByNameIgnoringCase)
{
    TPictureContainer container;
    TPictureItem *logo = container.Items().Add();
    logo->SetName(QStringLiteral("logo"));
    TPictureItem *first = container.Items().Insert(0);
    first->SetName(QStringLiteral("Arrow"));
    TPictureItem *again = container.Items().Add();
    again->SetName(QStringLiteral("LOGO"));

    EXPECT_EQ(container.Items().GetItem(0), first);
    EXPECT_EQ(container.FindPicture(QStringLiteral("LOGO")), logo->Picture());
    EXPECT_EQ(container.FindPicture(QStringLiteral("arrow")), first->Picture());
    EXPECT_EQ(container.FindPicture(QStringLiteral("log")), nullptr);
    EXPECT_THROW(container.Items().GetItem(3), EQrlGridError);

    THTMLPicture gif;
    loadBytes(gif, twoFrameGif());
    logo->SetPicture(&gif);
    logo->SetTag(7);
    EXPECT_NE(logo->Picture(), &gif);
    container.Items().SetItem(0, *logo);
    EXPECT_EQ(first->Name(), QStringLiteral("logo"));
    EXPECT_EQ(first->Tag(), 7);
    EXPECT_EQ(first->Picture()->FrameCount(), 2);

    bool changed = false;
    for (int tick = 0; tick < 3; ++tick)
        changed = container.Items().Animate() || changed;
    EXPECT_TRUE(changed);
    EXPECT_EQ(logo->Picture()->Frame(), 2);
}

TEST(HTMLPicture, CacheFindsByExactID)
{
    THTMLPictureCache cache;
    THTMLPicture *a = cache.AddPicture();
    a->SetID(QStringLiteral("FILE://a.gif"));
    THTMLPicture *b = cache.AddPicture();
    b->SetID(QStringLiteral("file://a.gif"));
    EXPECT_EQ(cache.FindPicture(QStringLiteral("file://a.gif")), b);
    EXPECT_EQ(cache.FindPicture(QStringLiteral("File://a.gif")), nullptr);
    EXPECT_TRUE(cache.GetPicture(1)->Empty());

    auto animated = std::make_unique<THTMLPicture>();
    loadBytes(*animated, twoFrameGif());
    cache.SetPicture(0, std::move(animated));
    EXPECT_FALSE(cache.GetPicture(0)->Empty());
    EXPECT_THROW(cache.GetPicture(2), EQrlGridError);
    bool changed = false;
    for (int tick = 0; tick < 3; ++tick)
        changed = cache.Animate() || changed;
    EXPECT_TRUE(changed);

    cache.ClearPictures();
    EXPECT_EQ(cache.Count(), 0);
    EXPECT_FALSE(cache.Animate());
}

TEST(HTMLPicture, GridOwnsACacheAndBorrowsAContainer)
{
    TQrlStringGrid grid;
    ASSERT_NE(grid.PictureCache(), nullptr);
    EXPECT_EQ(grid.PictureCache()->Count(), 0);
    EXPECT_EQ(grid.PictureContainer(), nullptr);
    {
        TPictureContainer container;
        grid.SetPictureContainer(&container);
        EXPECT_EQ(grid.PictureContainer(), &container);
    }
    EXPECT_EQ(grid.PictureContainer(), nullptr);
}
