#include "platform/os/Regional.h"
#include "platform/text/StrConv.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct IntCase
{
    const char16_t *text;
    bool ok;
    int32_t value;
};

TEST(StrConv, TryStrToIntTable)
{
    const IntCase cases[] = {
        {u"0", true, 0},
        {u"12", true, 12},
        {u"+5", true, 5},
        {u"-7", true, -7},
        {u"007", true, 7},
        {u"2147483647", true, 2147483647},
        {u"-2147483648", true, std::numeric_limits<int32_t>::min()},
        {u"2147483648", false, 0},
        {u"-2147483649", false, 0},
        {u"99999999999999999999999", false, 0},
        {u"", false, 0},
        {u"+", false, 0},
        {u"-", false, 0},
        {u"+-1", false, 0},
        {u" 12", false, 0},
        {u"12 ", false, 0},
        {u"12a", false, 0},
        {u"0x10", false, 0},
        {u"$10", false, 0},
        {u"1.0", false, 0},
        {u"\uFF11", false, 0}, // full-width digit is not a decimal digit here
    };
    for (const IntCase &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        int32_t out = 4242;
        EXPECT_EQ(plat::TryStrToInt(text, out), c.ok) << text.toStdString();
        EXPECT_EQ(out, c.ok ? c.value : 4242)
            << "failed conversion must leave out alone: " << text.toStdString();
        EXPECT_EQ(plat::StrToIntDef(text, -1), c.ok ? c.value : -1) << text.toStdString();
    }
}

TEST(StrConv, TrimRemovesBlanksAndControlCharactersOnly)
{
    const QString s = QStringLiteral("\t\r\n \x01 a b\u00A0 \x1f\x20");
    EXPECT_EQ(plat::Trim(s), QStringLiteral("a b\u00A0"));
    EXPECT_EQ(plat::TrimLeft(s), QStringLiteral("a b\u00A0 \x1f\x20"));
    EXPECT_EQ(plat::TrimRight(s), QStringLiteral("\t\r\n \x01 a b\u00A0"));
    EXPECT_EQ(plat::Trim(QStringLiteral(" \t ")), QString());
    EXPECT_EQ(plat::TrimLeft(QStringLiteral("  ")), QString());
    EXPECT_EQ(plat::TrimRight(QString()), QString());
}

class RegionalFloat : public ::testing::Test
{
protected:
    void TearDown() override { plat::OverrideDecimalSeparator(std::nullopt); }
};

TEST_F(RegionalFloat, OverrideDrivesBothSeparators)
{
    plat::OverrideDecimalSeparator(QStringLiteral(",xyz"));
    EXPECT_EQ(plat::RegionalDecimalSetting(), QStringLiteral(",xy"));
    EXPECT_EQ(plat::ProgramDecimalSeparator(), QChar(u','));
    plat::OverrideDecimalSeparator(QStringLiteral(".,"));
    EXPECT_EQ(plat::ProgramDecimalSeparator(), QChar(u'.'));
    // Nothing usable: ',' as the configurator's separator rule says.
    for (const QString &odd : {QString(), QStringLiteral(";"), QString(QChar(0x066B))}) {
        plat::OverrideDecimalSeparator(odd);
        EXPECT_EQ(plat::RegionalDecimalSetting(), odd);
        EXPECT_EQ(plat::ProgramDecimalSeparator(), QChar(u',')) << odd.toStdString();
    }
}

TEST_F(RegionalFloat, ConversionFollowsProgramSeparator)
{
    struct Case
    {
        const char *sep;
        const char *text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {".", "1.5", true, 1.5},     {".", "1,5", false, 0},        {",", "1,5", true, 1.5},
        {",", "1.5", false, 0},      {".", " -2.25 ", true, -2.25}, {".", "+3", true, 3},
        {".", ".5", true, 0.5},      {".", "5.", true, 5},          {".", "1e3", true, 1000},
        {".", "1.5E-1", true, 0.15}, {".", "1e", false, 0},         {".", ".", false, 0},
        {".", "", false, 0},         {".", "abc", false, 0},        {".", "1.2.3", false, 0},
        {".", "1 000", false, 0},    {".", "1e999", false, 0},      {",", "1.000,5", false, 0},
    };
    for (const Case &c : cases) {
        plat::OverrideDecimalSeparator(QString::fromLatin1(c.sep));
        double out = -99;
        EXPECT_EQ(plat::TryStrToFloat(QString::fromLatin1(c.text), out), c.ok)
            << c.sep << " " << c.text;
        if (c.ok)
            EXPECT_DOUBLE_EQ(out, c.value) << c.text;
        else
            EXPECT_EQ(out, -99) << c.text;
    }
}

TEST_F(RegionalFloat, SingleRejectsValuesBeyondFloatRange)
{
    plat::OverrideDecimalSeparator(QStringLiteral("."));
    float f = 0;
    EXPECT_FALSE(plat::TryStrToFloat(QStringLiteral("1e39"), f));
    EXPECT_TRUE(plat::TryStrToFloat(QStringLiteral("3.4e38"), f));
}

} // namespace
