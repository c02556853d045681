// The mini-HTML layout engine on a recording canvas (every character 7 pixels wide, every line
// 13 high): the words it lays out with their colours and styles, measuring, hit tests on links
// and controls, and hostile texts.
#include "grid/display/QrlHTMLEngine.h"
#include "grid/model/QrlHTMLPicture.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

struct TWord
{
    QString text;
    TColor color;
    bool bold;
    bool underline;
    int x;
    int y;
};

std::vector<TWord> paintWords(const QString &html, int width = 400, bool wrap = true,
                              THTMLPaintParams p = {})
{
    TRecordingCanvas c;
    c.Font().SetColor(clBlack);
    c.Brush().SetColor(clWhite);
    p.WordWrap = wrap;
    THTMLPaintResult r;
    PaintHTMLText(c, html, {0, 0, width, 300}, p, r);
    std::vector<TWord> words;
    for (const TCanvasOp &op : c.Ops()) {
        if (op.kind != TCanvasOp::Kind::TextOut && op.kind != TCanvasOp::Kind::DrawText)
            continue;
        if (op.text.trimmed().isEmpty())
            continue; // a blank between tags
        words.push_back({op.text.trimmed(), op.fontColor,
                         op.fontStyle.Contains(TFontStyle::fsBold),
                         op.fontStyle.Contains(TFontStyle::fsUnderline), op.rect.Left,
                         op.rect.Top});
    }
    return words;
}

QString joined(const std::vector<TWord> &words)
{
    QStringList l;
    for (const TWord &w : words)
        l << w.text;
    return l.join(u'|');
}

struct WordCase
{
    const char *name;
    const char16_t *html;
    const char16_t *words; // "|"-joined runs as drawn
    int colouredRun;       // index of the run whose colour is checked, -1 for none
    TColor color;
    bool bold;
    bool underline;
};

TEST(HTMLEngine, LaysOutWordsColoursAndLinks)
{
    const WordCase cases[] = {
        {"bold", u"a <b>bold</b> c", u"a|bold|c", 1, clBlack, true, false},
        {"named colour", u"<font color=\"clRed\">red</font> x", u"red|x", 0, clRed, false, false},
        {"hex colour", u"<font color=\"#FF0000\">red</font>", u"red", 0, clRed, false, false},
        {"name without cl is black", u"<font color=\"red\">r</font>", u"r", 0, clBlack, false,
         false},
        {"colour ends with its tag", u"<font color=\"clRed\">r</font>k", u"r|k", 1, clBlack,
         false, false},
        {"link", u"see <a href=\"http://x.invalid\">here</a>", u"see|here", 1, clBlue, false,
         true},
        {"bold without end lasts", u"<b>one two", u"one|two", 1, clBlack, true, false},
        {"encoded ampersand", u"a &amp; b", u"a|&|b", -1, clBlack, false, false},
        {"encoded brackets start no bold", u"&lt;B&gt;x", u"<B>x", 0, clBlack, false, false},
        {"nbsp keeps words together", u"one&nbsp;two", u"one\u00A0two", -1, clBlack, false,
         false},
        {"per mille alone", u"&permil;", u"\u2030", -1, clBlack, false, false},
        {"unknown tags vanish", u"<x>a<span>b</span>", u"a|b", -1, clBlack, false, false},
        {"hidden text is not drawn", u"a<z>hidden</z>b", u"a|b", -1, clBlack, false, false},
        {"stray lone letter tag dropped", u"text<b", u"text", -1, clBlack, false, false},
    };
    for (const WordCase &c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<TWord> words = paintWords(QString::fromUtf16(c.html));
        EXPECT_EQ(joined(words), QString::fromUtf16(c.words));
        if (c.colouredRun >= 0 && c.colouredRun < int(words.size())) {
            const TWord &w = words[size_t(c.colouredRun)];
            EXPECT_EQ(w.color, c.color);
            EXPECT_EQ(w.bold, c.bold);
            EXPECT_EQ(w.underline, c.underline);
        }
    }
}

TEST(HTMLEngine, WrapsAtBlanksButNeverInsideAWordSplitByATag)
{
    // 10 characters of 7 pixels fit in 80 (with the one-pixel left inset).
    const std::vector<TWord> w = paintWords(QString::fromUtf16(u"aaaa bbbb cccc"), 80);
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0].y, w[1].y);
    EXPECT_GT(w[2].y, w[1].y);
    EXPECT_EQ(w[2].x, 1);
    // "hal" + bold "f" stay on one line although the second part passes the edge.
    const std::vector<TWord> v = paintWords(QString::fromUtf16(u"xxxxxxxx hal<b>ff</b>"), 80);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[1].y, v[2].y);
    EXPECT_EQ(v[2].x, v[1].x + 3 * 7);
}

TEST(HTMLEngine, ListItemsEachStartALineWithTheirBullet)
{
    const std::vector<TWord> w = paintWords(QString::fromUtf16(u"<ul><li>one<li>two</li></ul>"));
    // Bullet and text per item.
    ASSERT_EQ(w.size(), 4u);
    EXPECT_EQ(w[0].text, QString(QChar(0x2022)));
    EXPECT_EQ(w[0].x, 1 + 12);
    EXPECT_EQ(w[1].x, 1 + 24);
    EXPECT_GT(w[2].y, w[0].y);
    EXPECT_EQ(w[2].x, w[0].x);
}

TEST(HTMLEngine, RightAlignedParagraphAndBreaks)
{
    const std::vector<TWord> w = paintWords(QString::fromUtf16(u"<p align=\"right\">ab</p>cd<br>ef"), 101);
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0].x, 101 - 14);
    EXPECT_EQ(w[1].x, 101 - 14); // alignment lasts until another P
    EXPECT_GT(w[2].y, w[1].y);
}

TEST(HTMLEngine, MeasuresEmptyAndMultiLineTexts)
{
    TRecordingCanvas c;
    EXPECT_EQ(MeasureHTMLText(c, QString(), 200, true).cx, 0);
    EXPECT_EQ(MeasureHTMLText(c, QString(), 200, true).cy, 13);
    const TSize s = MeasureHTMLText(c, QString::fromUtf16(u"<b>abc</b><br>de"), 65535, true);
    EXPECT_EQ(s.cx, 21);
    EXPECT_EQ(s.cy, 26);
    // Measuring covers lines beyond any rectangle and finds no hit.
    THTMLPaintParams p;
    p.MeasureOnly = true;
    p.HitX = 3;
    p.HitY = 5;
    THTMLPaintResult r;
    EXPECT_FALSE(PaintHTMLText(c, QString::fromUtf16(u"<a href=\"x\">link</a><br>2<br>3"), {0, 0, 100, 10}, p, r));
    EXPECT_EQ(r.TextHeight, 39);
    EXPECT_EQ(r.AnchorCount, 1);
    EXPECT_EQ(r.PlainText, QStringLiteral("link\r2\r3"));
}

TEST(HTMLEngine, HitTestFindsEachLinkOfATwoLinkText)
{
    // "go " is 21 pixels; the first link from x 22, the second after " or ".
    const QString html = QStringLiteral(
        "go <a href=\"http://one.invalid\" title=\"First\">one</a> or "
        "<a href=\"mailto:two@example.invalid\">two</a>");
    TRecordingCanvas c;
    const TRect rect{0, 0, 300, 40};
    struct HitCase
    {
        int x;
        bool hit;
        int index;
        const char *href;
        const char *title;
    };
    const HitCase cases[] = {
        {10, false, -1, "", ""},
        {25, true, 1, "http://one.invalid", "First"},
        {22 + 20, true, 1, "http://one.invalid", "First"},
        {22 + 21 + 7, false, -1, "", ""},
        {22 + 21 + 28 + 3, true, 2, "mailto:two@example.invalid", ""},
        {200, false, -1, "", ""},
    };
    for (const HitCase &h : cases) {
        SCOPED_TRACE(h.x);
        THTMLPaintResult r;
        const bool hit = HitTestHTMLText(c, html, rect, h.x, 6, {}, r);
        EXPECT_EQ(hit, h.hit);
        EXPECT_EQ(r.AnchorCount, 2);
        EXPECT_EQ(r.HitAnchorIndex, h.index);
        if (h.hit) {
            EXPECT_EQ(r.AnchorHref, QString::fromLatin1(h.href));
            EXPECT_EQ(r.AnchorTitle, QString::fromLatin1(h.title));
            EXPECT_LE(r.HitAnchorRect.Left, h.x);
            EXPECT_GT(r.HitAnchorRect.Right, h.x);
        }
    }
    // Below the text nothing is hit.
    THTMLPaintResult r;
    EXPECT_FALSE(HitTestHTMLText(c, html, rect, 25, 30, {}, r));
}

TEST(HTMLEngine, HitTestOnRightAlignedLinkUsesItsPlacedPosition)
{
    const QString html = QStringLiteral("<p align=\"right\"><a href=\"r\">ab</a></p>");
    TRecordingCanvas c;
    THTMLPaintResult r;
    EXPECT_FALSE(HitTestHTMLText(c, html, {0, 0, 101, 30}, 5, 6, {}, r));
    EXPECT_TRUE(HitTestHTMLText(c, html, {0, 0, 101, 30}, 95, 6, {}, r));
    EXPECT_EQ(r.HitAnchorIndex, 1);
}

TEST(HTMLEngine, HoverStylingUnderlinesOnlyTheHoveredAnchor)
{
    const QString html = QStringLiteral("<a href=\"1\">one</a> <a href=\"2\">two</a>");
    THTMLPaintParams p;
    p.HoverStyling = true;
    p.HoverAnchorIndex = 2;
    std::vector<TWord> w = paintWords(html, 300, true, p);
    ASSERT_EQ(w.size(), 2u);
    EXPECT_FALSE(w[0].underline);
    EXPECT_TRUE(w[1].underline);
    p.HoverStyling = false;
    w = paintWords(html, 300, true, p);
    EXPECT_TRUE(w[0].underline && w[1].underline);
}

TEST(HTMLEngine, ControlsAreSizedDrawnAndFound)
{
    const QString html = QStringLiteral(
        "<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"true\" WIDTH=\"16\">"
        "<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"a &amp; b\" WIDTH=\"80\">"
        "<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\">");
    TRecordingCanvas c;
    THTMLPaintResult r;
    PaintHTMLText(c, html, {0, 0, 300, 60}, {}, r);
    // The check box is drawn checked; the button without WIDTH is left out.
    const auto frames = c.OpsOf(TCanvasOp::Kind::FrameControl);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_TRUE(frames[0].flags & DFCS_CHECKED);
    EXPECT_EQ(MeasureHTMLText(c, html, 1000, true).cx, 16 + 80);

    // The edit under the point, and found again by its ID alone.
    EXPECT_TRUE(HitTestHTMLText(c, html, {0, 0, 300, 60}, 1 + 16 + 10, 10, {}, r));
    EXPECT_EQ(r.AnchorHref, QStringLiteral("ctrl"));
    EXPECT_EQ(r.ControlId, QStringLiteral("e"));
    EXPECT_EQ(r.ControlType, QStringLiteral("EDIT"));
    EXPECT_EQ(r.ControlValue, QStringLiteral("a & b"));
    EXPECT_EQ(r.ControlRect.Left, 17);
    EXPECT_EQ(r.ControlRect.Width(), 80);
    THTMLPaintParams byId;
    byId.ControlId = QStringLiteral("e");
    EXPECT_TRUE(HitTestHTMLText(c, html, {0, 0, 300, 60}, -50, -50, byId, r));
    EXPECT_EQ(r.ControlRect.Left, 17);
}

TEST(HTMLEngine, MissingPicturesDrawNothingAndKeepTheirWrittenSize)
{
    THTMLPictureCache cache;
    TPictureContainer container;
    THTMLPaintParams p;
    p.PictureCache = &cache;
    p.PictureContainer = &container;
    TRecordingCanvas c;
    // An outside location is never fetched: nothing enters the cache.
    const QString html =
        QStringLiteral("<img src=\"http://example.invalid/a.png\" width=\"20\" height=\"30\">x");
    const TSize s = MeasureHTMLText(c, html, 1000, true, p);
    EXPECT_EQ(s.cx, 20 + 7);
    EXPECT_EQ(s.cy, 30);
    EXPECT_EQ(cache.Count(), 0);
    THTMLPaintResult r;
    PaintHTMLText(c, html, {0, 0, 200, 60}, p, r);
    EXPECT_TRUE(c.OpsOf(TCanvasOp::Kind::Draw).empty());
    // Without a written size a missing picture takes no room.
    EXPECT_EQ(MeasureHTMLText(c, QString::fromUtf16(u"<img src=\"nothere\">x"), 1000, true, p).cx, 7);
}

TEST(HTMLEngine, HostileTextsLayOutInLinearTime)
{
    TCanvas c; // real metrics
    auto nested = [](int n) {
        QString t;
        t.reserve(n * 40);
        for (int i = 0; i < n; ++i)
            t += QStringLiteral("<b><font color=\"clRed\"><ul><a href=\"x\">");
        t += QStringLiteral("deep");
        return t;
    };
    const QString deep = nested(100000);
    const TSize s = MeasureHTMLText(c, deep, 300, true);
    EXPECT_GT(s.cy, 0);
    THTMLPaintResult r;
    HitTestHTMLText(c, deep, {0, 0, 300, 100}, 10, 10, {}, r);
    EXPECT_EQ(r.AnchorCount, 100000);

    auto timeOf = [&](const QString &t) {
        QElapsedTimer timer;
        timer.start();
        MeasureHTMLText(c, t, 300, true);
        return std::max<qint64>(timer.nsecsElapsed(), 1);
    };
    const QString hugeAttr =
        QStringLiteral("<font color=\"") + QString(200000, u'x') + QStringLiteral("\">a");
    EXPECT_GT(MeasureHTMLText(c, hugeAttr, 300, true).cy, 0);
    timeOf(nested(5000));
    const qint64 small = timeOf(nested(10000));
    const qint64 large = timeOf(nested(40000));
    EXPECT_LT(large, small * 12) << double(large) / small;
}

} // namespace
