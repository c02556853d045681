// The markup reader: preparation of a text, tokens, tag recognition, attributes and colours.
#include "grid/model/QrlHTMLMarkup.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

QString S(const char16_t *s)
{
    return QString::fromUtf16(s);
}

struct PrepareCase
{
    const char16_t *in;
    const char16_t *out;
};

TEST(HTMLMarkup, PrepareDecodesTextEntitiesPlaceholdersAndBreaks)
{
    const PrepareCase cases[] = {
        {u"a &amp; b", u"a && b"},
        {u"&AMP;&Quot;", u"&&\""},
        {u"&permil;", u"\u2030"},
        {u"&sect;&reg;&copy;&para;&trade;&euro;", u"\u00A7\u00AE\u00A9\u00B6\u2122\u20AC"},
        // One pass: a decoded ampersand does not start another entity.
        {u"&amp;amp;", u"&&amp;"},
        // Run entities are left to the runs.
        {u"&lt;B&gt; &nbsp;", u"&lt;B&gt; &nbsp;"},
        {u"&unknown; &", u"&unknown; &"},
        {u"Sum: <#total>!", u"Sum: #total!"},
        {u"<#a <#b > c>", u"#a #b  c>"},
        {u"one\r\ntwo\nthree", u"one<BR>twothree"},
    };
    for (const PrepareCase &c : cases)
        EXPECT_EQ(PrepareHTMLMarkup(S(c.in)), S(c.out)) << QString::fromUtf16(c.in).toStdString();
}

TEST(HTMLMarkup, RunsDecodeOnlyTheirThreeEntitiesInLowerCase)
{
    EXPECT_EQ(DecodeHTMLRun(u"a&nbsp;b"), S(u"a\u00A0b"));
    EXPECT_EQ(DecodeHTMLRun(u"&lt;B&gt;"), S(u"<B>"));
    EXPECT_EQ(DecodeHTMLRun(u"&LT;&eacute;"), S(u"&LT;&eacute;"));
}

struct TagCase
{
    const char16_t *tag;
    THTMLTag kind;
    bool closing;
};

TEST(HTMLMarkup, TagsAreKnownByTheirFirstLetters)
{
    const TagCase cases[] = {
        {u"<a href=\"x\">", THTMLTag::A, false},
        {u"</A>", THTMLTag::A, true},
        {u"<b>", THTMLTag::B, false},
        {u"</b>", THTMLTag::B, true},
        {u"<br>", THTMLTag::BR, false},
        {u"<BLINK>", THTMLTag::Blink, false},
        {u"</BLINK>", THTMLTag::Blink, true},
        {u"<body bgcolor=\"#FF0000\">", THTMLTag::Body, false},
        {u"<CONTROL TYPE=\"EDIT\">", THTMLTag::Control, false},
        {u"<e>", THTMLTag::E, false},
        {u"<font color=\"clred\">", THTMLTag::Font, false},
        {u"<hi>", THTMLTag::Hi, false},
        {u"</h>", THTMLTag::Hi, true},
        {u"<hr>", THTMLTag::HR, false},
        {u"<h3>", THTMLTag::None, false},
        {u"<i>", THTMLTag::I, false},
        {u"</italic>", THTMLTag::I, true},
        {u"<img src=\"x\">", THTMLTag::Img, false},
        {u"<ind x=\"40\">", THTMLTag::Ind, false},
        {u"<li>", THTMLTag::LI, false},
        {u"<p align=\"right\">", THTMLTag::P, false},
        {u"<r a=\"90\">", THTMLTag::R, false},
        {u"<s>", THTMLTag::S, false},
        {u"</s>", THTMLTag::S, true},
        {u"<shad>", THTMLTag::Shad, false},
        {u"</shad>", THTMLTag::Shad, true},
        {u"<sub>", THTMLTag::Sub, false},
        {u"<SuB>", THTMLTag::Sub, false},
        {u"<sup>", THTMLTag::Sup, false},
        {u"</sup>", THTMLTag::Sub, true},
        // S, U, B without "<SUB>" changes nothing.
        {u"<subway>", THTMLTag::None, false},
        {u"<span>", THTMLTag::None, false},
        {u"<u>", THTMLTag::U, false},
        {u"<ul>", THTMLTag::UL, false},
        {u"</ul>", THTMLTag::UL, true},
        {u"<z>", THTMLTag::Z, false},
        {u"<x>", THTMLTag::None, false},
        {u"</>", THTMLTag::None, false},
    };
    for (const TagCase &c : cases) {
        const THTMLTagKind k = ClassifyHTMLTag(QStringView(c.tag));
        EXPECT_EQ(k.tag, c.kind) << QString::fromUtf16(c.tag).toStdString();
        EXPECT_EQ(k.closing, c.closing) << QString::fromUtf16(c.tag).toStdString();
    }
}

TEST(HTMLMarkup, TokensSplitRunsAndTagsAndDropBrokenTails)
{
    const QString t = S(u"ab cd<b>e");
    THTMLToken k = NextHTMLToken(t, 0, true);
    EXPECT_EQ(k.kind, THTMLToken::Kind::Text);
    EXPECT_EQ(t.mid(k.begin, k.end - k.begin), S(u"ab "));
    k = NextHTMLToken(t, 0, false);
    EXPECT_EQ(t.mid(k.begin, k.end - k.begin), S(u"ab cd"));
    k = NextHTMLToken(t, 5, true);
    EXPECT_EQ(k.kind, THTMLToken::Kind::Tag);
    EXPECT_EQ(t.mid(k.begin, k.end - k.begin), S(u"<b>"));

    // A tag without ">" and a "<" with at most one character after it drop the rest.
    EXPECT_EQ(NextHTMLToken(u"x<b never closed", 1, true).kind, THTMLToken::Kind::End);
    EXPECT_EQ(NextHTMLToken(u"x<b", 1, true).kind, THTMLToken::Kind::End);
    EXPECT_EQ(NextHTMLToken(u"x<>", 1, true).kind, THTMLToken::Kind::End);
}

TEST(HTMLMarkup, AttributesAreQuotedValuesAfterTheirName)
{
    const QString tag = S(u"<A href=\"http://x\" TITLE=\"Go there\" width=40>");
    EXPECT_EQ(HTMLTagAttribute(tag, u"HREF"), S(u"http://x"));
    EXPECT_EQ(HTMLTagAttribute(tag, u"title", true), S(u"GO THERE"));
    // Unquoted values are not read.
    QString v = S(u"stale");
    EXPECT_FALSE(HTMLTagAttribute(tag, u"WIDTH", v, false));
    EXPECT_TRUE(v.isEmpty());
    // The first occurrence counts, even inside another name: " COLOR" keeps BGCOLOR apart.
    const QString font = S(u"<FONT BGCOLOR=\"#00FF00\" COLOR=\"clRed\">");
    EXPECT_EQ(HTMLTagAttribute(font, u"COLOR"), S(u"#00FF00"));
    EXPECT_EQ(HTMLTagAttribute(font, u" COLOR"), S(u"clRed"));
}

struct ColorCase
{
    const char16_t *value;
    TColor color;
};

TEST(HTMLMarkup, ColoursByHexadecimalValueAndName)
{
    const ColorCase cases[] = {
        {u"#FF0000", 0x0000FF},
        {u"#ff8040", 0x4080FF},
        {u"clRed", 0x0000FF},
        {u"CLNAVY", 0x800000},
        {u"cl3ddkshadow", 0xFF000015},
        {u"clInfoBk", 0xFF000018},
        {u"clBackground", 0xFF000001},
        {u"red", 0},
        {u"clNoSuchColour", 0},
        {u"#GG", 0},
    };
    for (const ColorCase &c : cases)
        EXPECT_EQ(HTMLColorValue(QStringView(c.value)), c.color)
            << QString::fromUtf16(c.value).toStdString();
    EXPECT_EQ(HTMLBodyColorValue(u"CLRED"), TColor(0x0000FF));
    EXPECT_EQ(HTMLBodyColorValue(u"#00FF00"), TColor(0x00FF00));
    EXPECT_EQ(HTMLBodyColorValue(u"red"), clNone);
}

// Hostile input stays linear: doubling the length must not quadruple the time.
TEST(HTMLMarkup, ReadingIsLinearInTheLength)
{
    auto walk = [](int n) {
        QString t;
        for (int i = 0; i < n; ++i)
            t += QStringLiteral("<#x><b<&amp;&x>y ");
        t += QStringLiteral("<font color=\"") + QString(n, u'x');
        QElapsedTimer timer;
        timer.start();
        const QString prepared = PrepareHTMLMarkup(t);
        qsizetype pos = 0;
        int tokens = 0;
        for (;;) {
            const THTMLToken k = NextHTMLToken(prepared, pos, true);
            if (k.kind == THTMLToken::Kind::End)
                break;
            if (k.kind == THTMLToken::Kind::Tag)
                (void)HTMLTagAttribute(QStringView(prepared).mid(k.begin, k.end - k.begin),
                                       u" COLOR");
            pos = k.end;
            ++tokens;
        }
        EXPECT_GE(tokens, 0);
        return timer.nsecsElapsed();
    };
    walk(20000); // warm up
    const qint64 small = std::max<qint64>(walk(40000), 1);
    const qint64 large = walk(160000);
    EXPECT_LT(large, small * 12) << "4x the text took " << double(large) / small << "x the time";
}

} // namespace
