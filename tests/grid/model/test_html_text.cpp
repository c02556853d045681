#include "grid/model/QrlHTMLText.h"

#include <gtest/gtest.h>

namespace {

QString S(const char16_t *s)
{
    return QString::fromUtf16(s);
}

std::string str(const QString &s)
{
    return s.toStdString();
}

// A text with one control of each kind of interest, in this order.
const QString formText = S(u"Name "
                           u"<CONTROL TYPE=\"check\" ID=\"c1\" VALUE=\"TRUE\" WIDTH=\"16\"> "
                           u"<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"x &amp; y\" WIDTH=\"80\" "
                           u"MAXLEN=\"10\"> "
                           u"<CONTROL TYPE=\"BUTTON\" ID=\"b1\" VALUE=\"Go\" WIDTH=\"40\"> "
                           u"<control type=\"mask\" id=\"m1\" value=\"\" width=\"60\" "
                           u"prop=\"00&lt;&eacute;\" maxlen=\"abc\">");

TEST(HTMLText, HighlightColoursAreStored)
{
    SetHTMLHighlightColors(clYellow, clNavy);
    EXPECT_EQ(HTMLHighlightColor(), clYellow);
    EXPECT_EQ(HTMLHighlightTextColor(), clNavy);
    SetHTMLHighlightColors(0, 0);
    EXPECT_EQ(HTMLHighlightColor(), 0u);
}

TEST(HTMLText, DecodeEntities)
{
    struct Case
    {
        QString text;
        bool all;
        QString decoded;
    };
    const Case cases[] = {
        {S(u"&lt;b&gt; &quot;q&quot; a&amp;b"), false, S(u"<b> \"q\" a&b")},
        // A decoded ampersand starts no further entity.
        {S(u"&amp;lt;"), false, S(u"&lt;")},
        {S(u"&amp;quot;"), false, S(u"&quot;")},
        {S(u"&amp;eacute;"), true, S(u"&eacute;")},
        {S(u"&&lt;"), false, S(u"&<")},
        // The table only with All, and its names are case-sensitive.
        {S(u"&eacute;&Eacute;&euro;&raquo;"), true, S(u"\u00E9\u00C9\u20AC\u00BB")},
        {S(u"&eacute;"), false, S(u"&eacute;")},
        {S(u"&LT;&Amp;"), true, S(u"&LT;&Amp;")},
        // Unknown or unterminated entities stay as written.
        {S(u"&nbsp;&bogus;&lt"), true, S(u"&nbsp;&bogus;&lt")},
        {S(u"&"), true, S(u"&")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DecodeHTMLEntities(c.text, c.all), c.decoded) << str(c.text);
}

TEST(HTMLText, EncodeEntities)
{
    struct Case
    {
        QString text;
        bool all;
        QString encoded;
    };
    const Case cases[] = {
        {S(u"a&b <i>\"q\"</i>"), false, S(u"a&amp;b &lt;i&gt;&quot;q&quot;&lt;/i&gt;")},
        {S(u"&amp;"), false, S(u"&amp;amp;")},
        {S(u"\u00E9\u00C9\u00A9\u20AC\u00AB"), true, S(u"&eacute;&Eacute;&copy;&euro;&laquo;")},
        {S(u"\u00E9\u20AC"), false, S(u"\u00E9\u20AC")},
        // A literal "*amp;" is no ampersand in disguise.
        {S(u"*amp;"), false, S(u"*amp;")},
        {S(u"*amp;&"), false, S(u"*amp;&amp;")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EncodeHTMLEntities(c.text, c.all), c.encoded) << str(c.text);
}

TEST(HTMLText, EncodeThenDecodeGivesTheText)
{
    const QString samples[] = {
        S(u"plain"),
        S(u"<b>x</b> & \"q\" > 1"),
        S(u"&amp;quot; &eacute; &lt;"),
        S(u"\u00C0\u00E9\u00D8\u00E5 \u00AE\u00A9\u20AC \u00AB\u00BB"),
        S(u"*AMP; & *am p;"),
        S(u"*amp; and **amp;&"),
        S(u"\U0001F600 \u00DF"),
    };
    for (const QString &t : samples)
        for (bool all : {false, true})
            EXPECT_EQ(DecodeHTMLEntities(EncodeHTMLEntities(t, all), all), t)
                << str(t) << " all=" << all;
}

TEST(HTMLText, SpacesAndPasswordMask)
{
    EXPECT_EQ(EncodeHTMLSpaces(S(u" a  b\t")), S(u"&nbsp;a&nbsp;&nbsp;b\t"));
    EXPECT_EQ(HTMLPasswordMask(S(u"p\u00E4ss")), S(u"****"));
    EXPECT_EQ(HTMLPasswordMask(QString()), QString());
}

TEST(HTMLText, StripTags)
{
    const std::pair<QString, QString> cases[] = {
        {S(u"a<br>b<HR>c<Br>"), S(u"a\r\nb\r\nc\r\n")},
        {S(u"<B>bold</B> <font color=\"clRed\">red</font>"), S(u"bold red")},
        {S(u"<br />x"), S(u"x")}, // only the bare line-break tags break
        // A "<" without a later ">" stays once, with all that follows.
        {S(u"<b>x</b> 1 < 2"), S(u"x 1 < 2")},
        {S(u"a <b"), S(u"a <b")},
        {S(u"<<<"), S(u"<<<")},
        {S(u"x > y"), S(u"x > y")},
        // A tag runs to the first ">", even across another "<" and a line-break tag.
        {S(u"<a <b>c"), S(u"c")},
        {S(u"<a <BR> b>c"), S(u"c")},
        {QString(), QString()},
    };
    for (const auto &[text, stripped] : cases)
        EXPECT_EQ(StripHTMLTags(text), stripped) << str(text);
}

TEST(HTMLText, ParseControlTag)
{
    struct Case
    {
        QString tag;
        QString type, id, maxLen, prop, height, width, value;
    };
    const Case cases[] = {
        {S(u"<CONTROL TYPE=\"edit\" ID=\"e1\" VALUE=\"a&amp;b &eacute;\" WIDTH=\"80\" "
           u"HEIGHT=\"30\" PROP=\"##&lt;\" MAXLEN=\"5\">"),
         S(u"EDIT"), S(u"e1"), S(u"5"), S(u"##<"), S(u"30"), S(u"80"), S(u"a&b \u00E9")},
        {S(u"<control id=\"Ab\" value=\"V\" type=\"Radio\">"),
         S(u"RADIO"),
         S(u"Ab"),
         {},
         {},
         {},
         {},
         S(u"V")},
        // Names inside values and longer names that end alike do not count.
        {S(u"<CONTROL ID=\"c\" VALUE=\"type=3 ID=4 width=\" VALID=\"x\" WIDTH=\"7\" "
           u"TYPE=\"EDIT\">"),
         S(u"EDIT"),
         S(u"c"),
         {},
         {},
         {},
         S(u"7"),
         S(u"type=3 ID=4 width=")},
        // The first of two counts; blanks may stand before the quote.
        {S(u"<CONTROL ID=\"a\" ID=\"b\" VALUE= \"v\">"), {}, S(u"a"), {}, {}, {}, {}, S(u"v")},
        // Unquoted values are not read.
        {S(u"<CONTROL ID=e1 WIDTH=80 VALUE=\"v\">"), {}, {}, {}, {}, {}, {}, S(u"v")},
        // A missing closing quote takes the rest of the tag.
        {S(u"<CONTROL TYPE=\"EDIT\" ID=\"e1>"), S(u"EDIT"), S(u"e1"), {}, {}, {}, {}, {}},
        {S(u"<CONTROL VALUE=\""), {}, {}, {}, {}, {}, {}, {}},
        {S(u"<CONTROL \"stray\" = ID=\"i\">"), {}, S(u"i"), {}, {}, {}, {}, {}},
        {QString(), {}, {}, {}, {}, {}, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(str(c.tag));
        QString type = S(u"?"), id = S(u"?"), maxLen = S(u"?"), prop = S(u"?"), height = S(u"?"),
                width = S(u"?"), value = S(u"?");
        ParseHTMLControlTag(c.tag, type, id, maxLen, prop, height, width, value);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(id, c.id);
        EXPECT_EQ(maxLen, c.maxLen);
        EXPECT_EQ(prop, c.prop);
        EXPECT_EQ(height, c.height);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(value, c.value);
    }
}

TEST(HTMLText, HasControl)
{
    EXPECT_TRUE(HasHTMLControl(formText));
    EXPECT_TRUE(HasHTMLControl(S(u"x<control>")));
    EXPECT_FALSE(HasHTMLControl(S(u"<b>CONTROL</b> <CONTRO")));
}

TEST(HTMLText, NextEditControlSkipsButtonsAndBoxes)
{
    const std::pair<QString, QString> cases[] = {
        {QString(), S(u"e1")}, {S(u"c1"), S(u"e1")},       {S(u"e1"), S(u"m1")},
        {S(u"m1"), QString()}, {S(u"unknown"), QString()},
    };
    for (const auto &[from, next] : cases)
        EXPECT_EQ(NextHTMLEditControl(formText, from), next) << str(from);
    EXPECT_EQ(NextHTMLEditControl(S(u"no controls"), QString()), QString());
}

TEST(HTMLText, ReadControls)
{
    struct Case
    {
        QString id;
        bool found;
        QString value;
        QString prop;
        int maxLen;
    };
    const Case cases[] = {
        {S(u"e1"), true, S(u"x & y"), QString(), 10},    {S(u"c1"), true, S(u"TRUE"), QString(), 0},
        {S(u"m1"), true, QString(), S(u"00<\u00E9"), 0}, // MAXLEN "abc"
        {S(u"E1"), false, QString(), QString(), 0},      // IDs compare exactly
        {S(u"zz"), false, QString(), QString(), 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(str(c.id));
        QString value = S(u"stale");
        EXPECT_EQ(GetHTMLControlValue(formText, c.id, value), c.found);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(GetHTMLControlProp(formText, c.id), c.prop);
        EXPECT_EQ(GetHTMLControlMaxLen(formText, c.id), c.maxLen);
    }
    EXPECT_EQ(GetHTMLControlMaxLen(S(u"<CONTROL ID=\"n\" MAXLEN=\"-3\">"), S(u"n")), 0);
    // Without its ">" a control tag is no control.
    QString value;
    EXPECT_FALSE(GetHTMLControlValue(S(u"<CONTROL ID=\"a\" VALUE=\"v\""), S(u"a"), value));
}

TEST(HTMLText, SetControlValueRewritesTheTag)
{
    QString text = S(u"a<CONTROL TYPE=\"mask\" ID=\"m\" VALUE=\"old\" WIDTH=\"60\" HEIGHT=\"40\" "
                     u"PROP=\"&lt;9\" MAXLEN=\"4\" EXTRA=\"z\">b");
    ASSERT_TRUE(SetHTMLControlValue(text, S(u"m"), S(u"x\"<&\u00E9")));
    EXPECT_EQ(text, S(u"a<CONTROL ID=\"m\" VALUE=\"x&quot;&lt;&amp;&eacute;\" WIDTH=\"60\" "
                      u"TYPE=\"MASK\" PROP=\"&lt;9\" MAXLEN=\"4\" HEIGHT=\"40\">b"));

    // Without a property or maximal length those stay out.
    text = S(u"<CONTROL ID=\"e\" TYPE=\"edit\">");
    ASSERT_TRUE(SetHTMLControlValue(text, S(u"e"), S(u"v")));
    EXPECT_EQ(text, S(u"<CONTROL ID=\"e\" VALUE=\"v\" WIDTH=\"\" TYPE=\"EDIT\">"));
}

TEST(HTMLText, SetControlValueReadsBack)
{
    const QString values[] = {
        S(u"plain"),
        QString(),
        S(u"TYPE=\"RADIO\" ID=\"e1\" MAXLEN=\"1\">"), // looks like attributes
        S(u"<b>&amp;</b> \u00C9\u20AC"),
    };
    for (const QString &v : values) {
        SCOPED_TRACE(str(v));
        QString text = formText;
        ASSERT_TRUE(SetHTMLControlValue(text, S(u"e1"), v));
        QString read;
        EXPECT_TRUE(GetHTMLControlValue(text, S(u"e1"), read));
        EXPECT_EQ(read, v);
        // The other controls and the control's other attributes are as before.
        EXPECT_EQ(GetHTMLControlMaxLen(text, S(u"e1")), 10);
        EXPECT_EQ(NextHTMLEditControl(text, S(u"c1")), S(u"e1"));
        EXPECT_EQ(NextHTMLEditControl(text, S(u"e1")), S(u"m1"));
        EXPECT_TRUE(GetHTMLControlValue(text, S(u"b1"), read));
        EXPECT_EQ(read, S(u"Go"));
    }
}

TEST(HTMLText, SetControlValueChangesOnlyTheFirstMatch)
{
    const QString twice = S(u"<CONTROL ID=\"d\" VALUE=\"1\"> <CONTROL ID=\"d\" VALUE=\"2\">");
    QString text = twice;
    ASSERT_TRUE(SetHTMLControlValue(text, S(u"d"), S(u"9")));
    EXPECT_TRUE(text.endsWith(S(u"> <CONTROL ID=\"d\" VALUE=\"2\">"))) << str(text);
    QString read;
    EXPECT_TRUE(GetHTMLControlValue(text, S(u"d"), read));
    EXPECT_EQ(read, S(u"9"));

    for (const QString &id : {S(u"x"), S(u"D"), QString()}) {
        text = twice;
        EXPECT_FALSE(SetHTMLControlValue(text, id, S(u"9")));
        EXPECT_EQ(text, twice);
    }
}

TEST(HTMLText, ClearRadioControls)
{
    // The first radio shares its ID with an edit before it; the edit must not change.
    const QString text = S(u"<CONTROL TYPE=\"EDIT\" ID=\"r\" VALUE=\"e\" WIDTH=\"9\">"
                           u"<CONTROL TYPE=\"radio\" ID=\"r\" VALUE=\"TRUE\" WIDTH=\"16\">|"
                           u"<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\" WIDTH=\"16\">|"
                           u"<CONTROL TYPE=\"RADIO\" ID=\"s\" VALUE=\"true\" WIDTH=\"16\">");
    EXPECT_EQ(ClearHTMLRadioControls(text),
              S(u"<CONTROL TYPE=\"EDIT\" ID=\"r\" VALUE=\"e\" WIDTH=\"9\">"
                u"<CONTROL ID=\"r\" VALUE=\"FALSE\" WIDTH=\"16\" TYPE=\"RADIO\">|"
                u"<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\" WIDTH=\"16\">|"
                u"<CONTROL ID=\"s\" VALUE=\"FALSE\" WIDTH=\"16\" TYPE=\"RADIO\">"));
    EXPECT_EQ(ClearHTMLRadioControls(formText), formText);
}

TEST(HTMLText, MarkMatches)
{
    struct Case
    {
        QString text;
        QString search;
        bool doCase;
        QString marked;
    };
    const Case cases[] = {
        {S(u"cab"), S(u"ab"), true, S(u"c<hi>ab</hi>")},
        {S(u"Abc"), S(u"ab"), true, S(u"Abc")},
        {S(u"Abc"), S(u"ab"), false, S(u"<hi>Ab</hi>c")},
        // Existing tags keep their place; the close goes before the next visible character.
        {S(u"<b>Word</b>"), S(u"O"), false, S(u"<b>W<hi>o</hi>rd</b>")},
        {S(u"<b>Word</b>"), S(u"d"), true, S(u"<b>Wor<hi>d</b></hi>")},
        {S(u"a<b>bc</b>"), S(u"ab"), true, S(u"<hi>a<b>b</hi>c</b>")},
        // Matches do not overlap; neighbours each get their tags.
        {S(u"aaaaa"), S(u"aa"), true, S(u"<hi>aa</hi><hi>aa</hi>a")},
        // Tag names and attributes are not searched.
        {S(u"<font color=\"red\">x</font>"), S(u"red"), true, S(u"<font color=\"red\">x</font>")},
        // Stray angle brackets are escaped before marking, and the tags go.
        {S(u"1 < 2"), S(u"2"), true, S(u"1 &lt; <hi>2</hi>")},
        {S(u"<b>x</b> a>b"), S(u"b"), true, S(u"x a&gt;<hi>b</hi>")},
        {S(u"a<b"), S(u"<"), true, S(u"a<hi>&lt;</hi>b")},
        // ... but only when something is marked.
        {S(u"<i>x</i> 1>0"), S(u"i"), true, S(u"<i>x</i> 1>0")},
        // Letters whose upper case is longer do not shift the positions.
        {S(u"stra\u00DFe x"), S(u"E X"), false, S(u"stra\u00DF<hi>e x</hi>")},
        {S(u"abc"), QString(), true, S(u"abc")},
        {QString(), S(u"a"), true, QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MarkHTMLMatches(c.text, c.search, S(u"hi"), c.doCase), c.marked)
            << str(c.text) << " / " << str(c.search);
    EXPECT_EQ(MarkHTMLMatches(S(u"abc"), S(u"b"), S(u"e"), true), S(u"a<e>b</e>c"));
}

TEST(HTMLText, UnmarkTag)
{
    const std::pair<QString, QString> cases[] = {
        {S(u"c<hi>ab</hi>"), S(u"cab")},
        {S(u"<HI>a</Hi><hi>b</hI>"), S(u"ab")},
        {S(u"x &lt;<hi>y</hi>&gt;"), S(u"x <y>")},
        {S(u"<b>a</b><hi class=\"k\">"), S(u"<b>a</b><hi class=\"k\">")},
        {S(u"<h<hi>i>"), S(u"<hi>")}, // removal does not rescan what it joined
    };
    for (const auto &[text, unmarked] : cases)
        EXPECT_EQ(UnmarkHTMLTag(text, S(u"hi")), unmarked) << str(text);
}

TEST(HTMLText, UnmarkUndoesMark)
{
    struct Case
    {
        QString text;
        QString search;
    };
    const Case cases[] = {
        {S(u"<b>Hello</b> <i>world</i>, hello"), S(u"LO")},
        {S(u"a<br>b<CONTROL ID=\"x\">ab"), S(u"ab")},
        {S(u"2 > 1 and 1 < 2"), S(u"2")},
        {S(u"\U0001F600x\U0001F600"), S(u"\U0001F600")},
    };
    for (const Case &c : cases)
        for (bool doCase : {false, true})
            EXPECT_EQ(UnmarkHTMLTag(MarkHTMLMatches(c.text, c.search, S(u"hi"), doCase), S(u"hi")),
                      c.text)
                << str(c.text) << " doCase=" << doCase;
}

// Cell texts come from files: large hostile texts come out right (a quadratic routine would
// also stall this test for minutes).
TEST(HTMLText, LargeHostileTexts)
{
    constexpr qsizetype n = 100000;

    const QString as(n, u'a');
    const QString marked = MarkHTMLMatches(as, S(u"A"), S(u"hi"), false);
    EXPECT_EQ(marked, S(u"<hi>a</hi>").repeated(n));
    EXPECT_EQ(UnmarkHTMLTag(marked, S(u"hi")), as);

    const QString opens(n, u'<');
    EXPECT_EQ(StripHTMLTags(opens), opens);
    EXPECT_TRUE(
        MarkHTMLMatches(opens + u'x', S(u"x"), S(u"hi"), true).endsWith(S(u"&lt;&lt;<hi>x</hi>")));

    const QString amps(n, u'&');
    EXPECT_EQ(DecodeHTMLEntities(EncodeHTMLEntities(amps, true), true), amps);

    // A near-match that keeps failing at its last character.
    const QString needle = QString(n / 10, u'a') + u'b';
    EXPECT_EQ(MarkHTMLMatches(as, needle, S(u"hi"), true), as);

    QString radios;
    for (int i = 0; i < 2000; ++i)
        radios += QStringLiteral("<CONTROL TYPE=\"RADIO\" ID=\"r\" VALUE=\"TRUE\" WIDTH=\"16\">");
    const QString cleared = ClearHTMLRadioControls(radios);
    EXPECT_FALSE(cleared.contains(S(u"TRUE")));
    EXPECT_EQ(NextHTMLEditControl(radios, QString()), QString());
}

} // namespace
