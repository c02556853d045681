#include "grid/model/QrlGridText.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

QString S(const char16_t *s)
{
    return QString::fromUtf16(s);
}

// Literals with embedded NULs need their length.
template <size_t N> QString Z(const char16_t (&s)[N])
{
    return QString::fromUtf16(s, N - 1);
}

TEST(GridText, CellTextKind)
{
    struct Case
    {
        QString text;
        bool html;
        int kind;
    };
    const Case cases[] = {
        {S(u""), true, ctkPlain},
        {S(u"="), true, ctkFormula},
        {S(u"=A1+1"), false, ctkFormula},
        {S(u"{\\rtf1 x}"), true, ctkRTF},
        {S(u"a</b>"), true, ctkHTML},
        {S(u"a</b>"), false, ctkPlain},
        {S(u"<b>x"), true, ctkPlain}, // only capital tags count without a closing tag
        {S(u"<B>x"), true, ctkHTML},
        {S(u"<C>x"), true, ctkHTML},
        {EncodeWideCellText(S(u"=A")), true, ctkFormula},
        {EncodeWideCellText(S(u"=")), true, ctkWide},
        {EncodeWideCellText(S(u"\u4E2D")), true, ctkWide},
        {S(u"|\\"), true, ctkWide},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CellTextKind(c.text, c.html), c.kind) << c.text.toStdString();
}

TEST(GridText, WideEncodingRoundTripsEveryUnit)
{
    EXPECT_EQ(EncodeWideCellText(S(u"=")), Z(u"|\\\0="));
    EXPECT_EQ(EncodeWideCellText(S(u"\u1234")), Z(u"|\\\u0012\u0034"));

    const QString samples[] = {
        QString(),
        S(u"plain"),
        Z(u"a\0b"),
        S(u"\U0001F600 surrogate pair"),
        QString(QChar(0xD800)), // lone surrogate
        QString(QChar(0xFFFF)) + QChar(0x00FF) + QChar(0xFF00),
    };
    for (const QString &s : samples)
        EXPECT_EQ(DecodeWideCellText(EncodeWideCellText(s)), s);

    EXPECT_EQ(DecodeWideCellText(S(u"no prefix")), S(u"no prefix"));
    EXPECT_EQ(DecodeWideCellText(Z(u"|\\\0AB")), S(u"A")); // unpaired last character dropped
}

TEST(GridText, ClipboardHTMLOffsetsPointAtTheParts)
{
    for (const QString &fragment : {QString(), S(u"<b>x</b>")}) {
        QString t = fragment;
        BuildClipboardHTML(t);
        const QStringList lines = t.split(QStringLiteral("\r\n"));
        ASSERT_GE(lines.size(), 6);
        EXPECT_EQ(lines[0], S(u"Version:1.0"));
        const auto value = [&](int i, const QString &key) {
            EXPECT_TRUE(lines[i].startsWith(key)) << lines[i].toStdString();
            EXPECT_EQ(lines[i].size() - key.size(), 8); // eight digits, leading zeros
            return lines[i].mid(key.size()).toInt();
        };
        const int startHtml = value(1, S(u"StartHTML:"));
        const int endHtml = value(2, S(u"EndHTML:"));
        const int startFrag = value(3, S(u"StartFragment:"));
        const int endFrag = value(4, S(u"EndFragment:"));
        EXPECT_TRUE(t.mid(startHtml).startsWith(S(u"<!DOCTYPE HTML")));
        EXPECT_EQ(t.mid(startFrag, endFrag - startFrag), fragment);
        EXPECT_TRUE(t.mid(startFrag - 20).startsWith(S(u"<!--StartFragment-->")));
        EXPECT_EQ(endHtml, t.size());
        if (fragment.isEmpty()) {
            EXPECT_EQ(lines[2], S(u"EndHTML:00000306"));
            EXPECT_EQ(lines[4], S(u"EndFragment:00000274"));
        }
    }
}

TEST(GridText, URLRoutines)
{
    struct Case
    {
        QString text;
        QString prefix;
        bool ok;
        QString result;
    };
    const Case cases[] = {
        {S(u"see http://a.b/c_d?q end"), S(u"HTTP://"), true,
         S(u"see <a href=\"http://a.b/c_d\">http://a.b/c_d</a>?q end")},
        {S(u"<x> WWW.a-b.com"), S(u"WWW."), true,
         S(u"&lt;x&gt; <a href=\"WWW.a-b.com\">WWW.a-b.com</a>")},
        {S(u"Www.x.org"), S(u"WWW."), true, S(u"<a href=\"Www.x.org\">Www.x.org</a>")},
        {S(u"no link"), S(u"HTTP://"), false, S(u"untouched")},
    };
    for (const Case &c : cases) {
        QString r = S(u"untouched");
        EXPECT_EQ(URLToHTMLLink(c.text, c.prefix, r), c.ok) << c.text.toStdString();
        EXPECT_EQ(r, c.result);
    }

    EXPECT_TRUE(IsURLText(S(u"ftp://x")));
    EXPECT_TRUE(IsURLText(S(u"mailto:a@b")));
    EXPECT_FALSE(IsURLText(S(u"MAILTO:a@b")));
    const std::pair<QString, QString> strips[] = {
        {S(u"http://x/y://z"), S(u"x/y://z")},
        {S(u"mailto:a@b"), S(u"a@b")},
        {S(u"plain"), S(u"plain")},
    };
    for (const auto &[in, out] : strips) {
        QString t = in;
        StripURLScheme(t);
        EXPECT_EQ(t, out);
    }
}

TEST(GridText, OneLineEscapes)
{
    using Fn = std::function<QString(const QString &)>;
    const auto inPlace = [](void (*f)(QString &)) {
        return Fn([f](const QString &s) {
            QString t = s;
            f(t);
            return t;
        });
    };
    struct Case
    {
        const char *name;
        Fn fn;
        QString in;
        QString out;
    };
    const Case cases[] = {
        {"LineBreaksToCtrlChars", LineBreaksToCtrlChars, Z(u"a\r\nb\0c"), Z(u"a\t\bb\u0001c")},
        {"LineBreaksToCtrlChars without CR", LineBreaksToCtrlChars, Z(u"a\nb\0"), Z(u"a\nb\0")},
        {"CtrlCharsToLineBreaks multi",
         [](const QString &s) { return CtrlCharsToLineBreaks(s, true); }, Z(u"a\t\bb\u0001c"),
         Z(u"a\r\nb\0c")},
        {"CtrlCharsToLineBreaks single",
         [](const QString &s) { return CtrlCharsToLineBreaks(s, false); }, Z(u"a\t\bb"), S(u"a")},
        // Written with CR but no LF: no character 8, so the 9 stays.
        {"CR-only line break",
         [](const QString &s) { return CtrlCharsToLineBreaks(LineBreaksToCtrlChars(s), true); },
         S(u"a\rb"), S(u"a\tb")},
        {"EscapeNewLines", EscapeNewLines, S(u"a\r\nb\nc"), S(u"a\\nbc")},
        {"UnescapeNewLines", UnescapeNewLines, S(u"a\\nb"), S(u"a\rb")},
        {"CRLFToVTQuoted", inPlace(CRLFToVTQuoted), S(u"a\r\nb"), S(u"\"a\u000Bb\"")},
        {"CRLFToVTQuoted single line", inPlace(CRLFToVTQuoted), S(u"ab"), S(u"\"ab\"")},
        {"VTToCRLF", inPlace(VTToCRLF), S(u"a\u000Bb"), S(u"a\r\nb")},
        {"CRToTilde", inPlace(CRToTilde), S(u"a\r\nb\rc"), S(u"a~b~c")},
        {"TildeToCRLF", inPlace(TildeToCRLF), S(u"a~b"), S(u"a\r\nb")},
        {"TildeToCRLF caret", inPlace(TildeToCRLF), S(u"^"), QString()},
        {"TildeToCRLF caret inside", inPlace(TildeToCRLF), S(u"^^"), S(u"^^")},
        {"CRLFToLF", inPlace(CRLFToLF), S(u"a\r\nb\rc"), S(u"a\nb\rc")},
        {"RemoveCR", RemoveCR, S(u"a\r\nb\rc"), S(u"a\nbc")},
        {"CRToLF", CRToLF, S(u"a\r\nb"), S(u"a\n\nb")},
        {"CRToBR", CRToBR, S(u"a\r\nb"), S(u"a<br>\nb")},
        {"DoubleQuotes", DoubleQuotes, S(u"a\"b\"\""), S(u"a\"\"b\"\"\"\"")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.fn(c.in), c.out) << c.name;
}

TEST(GridText, CutFirstLineAndCountLines)
{
    struct Case
    {
        QString text;
        bool keepRest;
        QString line;
        QString rest;
    };
    const Case cases[] = {
        {S(u"a\r\nb\r\nc"), true, S(u"a"), S(u"b\r\nc")},
        {S(u"a\r\nb"), false, S(u"a"), QString()},
        {S(u"a\rb"), true, S(u"a"), S(u"b")},
        {S(u"a\r\n\nb"), true, S(u"a"), S(u"\nb")}, // only one LF goes with the CR
        {S(u"abc"), true, S(u"abc"), S(u"abc")},
        {S(u"abc"), false, S(u"abc"), QString()},
    };
    for (const Case &c : cases) {
        QString t = c.text;
        QString line = S(u"old");
        CutFirstLine(t, c.keepRest, line);
        EXPECT_EQ(line, c.line) << c.text.toStdString();
        EXPECT_EQ(t, c.rest) << c.text.toStdString();
    }

    EXPECT_EQ(CountLines(S(u"a\r\nb\r\nc"), true), 3);
    EXPECT_EQ(CountLines(S(u"a\r\nb"), false), 1);
    EXPECT_EQ(CountLines(QString(), true), 1);
}

TEST(GridText, UnescapedCharPositions)
{
    struct Case
    {
        QString text;
        int pos;
        int count;
    };
    const Case cases[] = {
        {S(u"abc"), 0, 0},           {S(u"a\"b"), 2, 1},
        {S(u"a\"\"b\"c"), 5, 1},     // doubled quote is escaped
        {S(u"a\"\"\"b"), 4, 1},      // run of three ends an escaped one plus a closing one
        {S(u"a\"\""), 3, 1},         // even run at the end still counts
        {S(u"\"x\"\"y\"z\""), 1, 3}, // 1, then 5 in the rest, then the last
    };
    for (const Case &c : cases) {
        int pos = -1;
        UnescapedCharPos(u'"', c.text, pos);
        EXPECT_EQ(pos, c.pos) << c.text.toStdString();
        EXPECT_EQ(CountUnescapedChar(u'"', c.text), c.count) << c.text.toStdString();
    }
    EXPECT_EQ(CountChar(u'"', S(u"a\"\"b\"")), 3);
    EXPECT_EQ(UndoubleChar(u'\'', S(u"a''b'''c")), S(u"a'b''c"));
    EXPECT_EQ(UndoubleChar(u'\'', S(u"none")), S(u"none"));
}

TEST(GridText, SearchesAndCuts)
{
    int pos = -1;
    EXPECT_EQ(FirstCharPos(u'c', S(u"abcabc")), 3);
    EXPECT_EQ(FirstCharPosVar(u'z', S(u"abc"), pos), 0);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(FindSubPos(S(u"ca"), S(u"abcabc"), pos), 3);
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(PosInUpper(S(u"STRASSE"), S(u"die straße strasse")), 12); // ß keeps positions
    EXPECT_EQ(WideTextPos(QString(), S(u"abc")), 0);

    QString t = S(u"key=value=x");
    EXPECT_EQ(CutBeforeDelimiter(t, S(u"=")), S(u"key"));
    EXPECT_EQ(t, S(u"value=x"));
    t = S(u"nodelim");
    EXPECT_EQ(CutBeforeDelimiter(t, S(u";")), QString());
    EXPECT_EQ(t, S(u"nodelim"));

    EXPECT_EQ(ConcatLines({S(u"a"), S(u"b"), S(u"c")}), S(u"abc"));
    t = S(u"secret");
    FillChars(t, u'*');
    EXPECT_EQ(t, S(u"******"));
}

TEST(GridText, ProperCase)
{
    const std::pair<QString, QString> cases[] = {
        {S(u"henry ii"), S(u"Henry II")},
        {S(u"louis iv"), S(u"Louis IV")},
        {S(u"henry iii"), S(u"Henry III")},
        {S(u"JOHN SMITH"), S(u"John Smith")},
        {S(u"o'neil-smith jr.,x"), S(u"O'Neil-Smith Jr.,X")},
        {S(u"mcdonald"), S(u"McDonald")},
        {S(u"ronald mcdonald"), S(u"Ronald McDonald")},
        {S(u"x"), S(u"X")},
        {QString(), QString()},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(ProperCaseText(in), out) << in.toStdString();
}

TEST(GridText, OemConversion)
{
    QString t = S(u"é");
    StrToOem(t);
    EXPECT_EQ(t, S(u"\u201A")); // OEM byte 0x82 seen through the ANSI page
    OemToStr(t);
    EXPECT_EQ(t, S(u"é"));

    t = S(u"Ärger ü ½ ╬ ok");
    const QString original = t;
    StrToOem(t);
    EXPECT_NE(t, original);
    OemToStr(t);
    EXPECT_EQ(t, original);

    t = S(u"€");
    StrToOem(t);
    EXPECT_EQ(t, S(u"?"));
}

TEST(GridText, CellReferencesAndLimits)
{
    struct RC
    {
        QString text;
        bool ok;
        int col;
        int row;
    };
    const RC refs[] = {
        {S(u"R1C2"), true, 2, 1},   {S(u"r10c3"), true, 3, 10}, {S(u"R1C"), false, 0, 0},
        {S(u"RC12"), false, 0, 0},  {S(u"R12"), false, 0, 0},   {S(u"X1C1"), false, 0, 0},
        {S(u"R1xC2"), false, 0, 0}, {S(u"R1C2x"), false, 0, 0},
    };
    for (const RC &r : refs) {
        plat::TGridCoord cell{-1, -1};
        EXPECT_EQ(ParseRCRef(r.text, cell), r.ok) << r.text.toStdString();
        if (r.ok) {
            EXPECT_EQ(cell.X, r.col);
            EXPECT_EQ(cell.Y, r.row);
        }
    }

    const plat::TGridRect rect{1, 2, 3, 4};
    EXPECT_TRUE(CellInGridRect(rect, 1, 2));
    EXPECT_TRUE(CellInGridRect(rect, 3, 4));
    EXPECT_FALSE(CellInGridRect(rect, 4, 4));
    EXPECT_FALSE(CellInGridRect(rect, 3, 1));

    struct Clamp
    {
        int value, min, max, result;
    };
    const Clamp clamps[] = {
        {150, 20, 20, 150},                                         // equal limits: no limits
        {5, 20, 100, 20},   {5, 0, 100, 5},                         // a zero minimum is no minimum
        {-5, -10, 100, -5}, {150, 20, 100, 100}, {150, 20, 0, 150}, // a zero maximum neither
        {50, 20, 100, 50},
    };
    for (const Clamp &c : clamps)
        EXPECT_EQ(ClampToLimits(c.value, c.min, c.max), c.result)
            << c.value << "," << c.min << "," << c.max;
    EXPECT_EQ(IntMax(-3, 2), 2);
    EXPECT_EQ(IntMin(-3, 2), -3);
}

} // namespace
