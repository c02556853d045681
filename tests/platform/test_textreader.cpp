#include "platform/os/TextReader.h"

#include <gtest/gtest.h>

using plat::TextEncoding;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFixtures = QStringLiteral(TEST_FIXTURES_DIR "/text");

std::string show(const QString &s)
{
    std::string out;
    for (QChar c : s)
        out += c.unicode() < 0x80 ? std::string(1, char(c.unicode()))
                                  : "<U+" + QString::number(c.unicode(), 16).toStdString() + ">";
    return out;
}

} // namespace

TEST(TextReader, DecodeSelectsEncoding)
{
    struct Case
    {
        const char *name;
        QByteArray bytes;
        QString text;
        TextEncoding encoding;
    };
    const Case cases[] = {
        {"utf8 bom",
         QByteArray("\xEF\xBB\xBF"
                    "A\xE2\x82\xAC"),
         u"A€"_s, TextEncoding::Utf8Bom},
        {"utf16le bom",
         QByteArray("\xFF\xFE"
                    "A\0\xAC\x20",
                    6),
         u"A€"_s, TextEncoding::Utf16LE},
        {"utf16be bom", QByteArray("\xFE\xFF\0A\x20\xAC", 6), u"A€"_s, TextEncoding::Utf16BE},
        {"utf8 plain",
         QByteArray("\xC3\x84"
                    "x\xF0\x9F\x98\x80"),
         u"Äx\U0001F600"_s, TextEncoding::Utf8},
        {"ascii", QByteArray("STR1 =a"), u"STR1 =a"_s, TextEncoding::Utf8},
        {"empty", QByteArray(), QString(), TextEncoding::Utf8},
        // Not UTF-8, so Windows-1252: the 0x80-0x9F block differs from Latin-1.
        {"1252 euro pilcrow", QByteArray("\x80\xB6"), u"€¶"_s, TextEncoding::Windows1252},
        {"1252 block ends", QByteArray("\x81\x8A\x9F\xFF"), u"\u0081Š\u0178ÿ"_s,
         TextEncoding::Windows1252},
        {"cut-off sequence", QByteArray("ab\xC3"), u"abÃ"_s, TextEncoding::Windows1252},
        {"overlong slash", QByteArray("\xC0\xAF"), u"À¯"_s, TextEncoding::Windows1252},
        {"utf8 surrogate", QByteArray("\xED\xA0\x80"), u"í\u00A0€"_s, TextEncoding::Windows1252},
        {"above U+10FFFF", QByteArray("\xF4\x90\x80\x80"), u"ô\u0090€€"_s,
         TextEncoding::Windows1252},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TextEncoding detected{};
        EXPECT_EQ(show(plat::DecodeText(c.bytes, &detected)), show(c.text));
        EXPECT_EQ(detected, c.encoding);
    }
}

TEST(TextReader, SplitLinesOnAllLineEnds)
{
    struct Case
    {
        QString text;
        QStringList lines;
    };
    const Case cases[] = {
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\n", {"a"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}}, // LF CR is two line ends, not one
        {"\r\r", {"", ""}},
        {"", {}},
        {"no end", {"no end"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(plat::SplitLines(c.text), c.lines) << show(c.text);
}

// The same language file saved by different editors reads to the same lines.
TEST(TextReader, ReadsFixtureInEveryEncoding)
{
    const QStringList expected{u"STR12 = Café €"_s, u"STR13 = ¶ to ¶"_s, u"STR14 = last"_s,
                               u"STR15 =x"_s};
    struct Case
    {
        const char *file;
        TextEncoding encoding;
    };
    const Case cases[] = {
        {"utf8_bom.lng", TextEncoding::Utf8Bom},   {"utf16le.lng", TextEncoding::Utf16LE},
        {"utf16be.lng", TextEncoding::Utf16BE},    {"utf8.lng", TextEncoding::Utf8},
        {"cp1252.lng", TextEncoding::Windows1252},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        TextEncoding detected{};
        const auto lines =
            plat::ReadTextLines(kFixtures + u'/' + QString::fromLatin1(c.file), &detected);
        ASSERT_TRUE(lines.has_value());
        EXPECT_EQ(*lines, expected);
        EXPECT_EQ(detected, c.encoding);
    }
    EXPECT_FALSE(plat::ReadTextLines(kFixtures + u"/missing.lng"_s).has_value());
}
