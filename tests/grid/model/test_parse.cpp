#include "grid/model/QrlGridParse.h"

#include "platform/os/Regional.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <climits>
#include <limits>

namespace {

QString S(const char16_t *s)
{
    return QString::fromUtf16(s);
}

// Serial day numbers (days since 30 December 1899) of the dates used below.
constexpr double k2020_01_01 = 43831;
constexpr double k2020_12_31 = 44196;
constexpr double k2021_01_31 = 44227;
constexpr double k2021_12_31 = 44561;
constexpr double k2022_01_31 = 44592;
constexpr double k1999_01_02 = 36162;
constexpr double k3921_02_03 = 738190;

// English separators, day-first short dates.
class GridParse : public ::testing::Test
{
protected:
    void SetUp() override { pin(u',', u'.', QStringLiteral("dd/mm/yyyy")); }
    void TearDown() override
    {
        OverrideGridRegionalSettings(std::nullopt);
        plat::OverrideRegionalSettings(std::nullopt);
        plat::OverrideDecimalSeparator(std::nullopt);
    }

    static void pin(QChar thousand, QChar decimal, const QString &dateFormat)
    {
        TGridRegionalSettings s;
        s.ThousandSeparator = thousand;
        s.DateSeparator = u'/';
        s.TimeSeparator = u':';
        s.ShortDateFormat = dateFormat;
        OverrideGridRegionalSettings(s);
        plat::OverrideDecimalSeparator(QString(decimal));
    }
};

TEST_F(GridParse, NumberTextKind)
{
    const std::pair<const char16_t *, int> cases[] = {
        {u"123", ntkInteger},          {u"-123", ntkInteger},        {u"1,234.5", ntkDecimal},
        {u"12,3.5", ntkDecimal},       {u"1,23,456", ntkNotANumber}, {u"1,234,567", ntkDecimal},
        {u"1e5", ntkExponent},         {u"-1.5e-3", ntkExponent},    {u"1.5E+3", ntkExponent},
        {u"e5", ntkNotANumber},        {u"1e", ntkNotANumber},       {u"1.2.3", ntkNotANumber},
        {u"1-2", ntkNotANumber},       {u"--1", ntkNotANumber},      {u"", ntkNotANumber},
        {u"1,5e3", ntkNotANumber},     {u"1e5e5", ntkNotANumber},    {u"12a", ntkNotANumber},
        {u"\u0663\u0664", ntkInteger}, // other scripts' digits count as digits
    };
    for (const auto &[text, kind] : cases)
        EXPECT_EQ(NumberTextKind(S(text)), kind) << QString::fromUtf16(text).toStdString();
}

TEST_F(GridParse, NumberTextKindFollowsTheSeparators)
{
    pin(u'.', u',', QStringLiteral("dd.mm.yyyy"));
    EXPECT_EQ(NumberTextKind(S(u"1.234,5")), ntkDecimal);
    EXPECT_EQ(NumberTextKind(S(u"1,234,5")), ntkNotANumber); // two decimal separators
    EXPECT_EQ(ExtractNumberText(S(u"USD 1.234,50")), S(u"1234.50"));
    EXPECT_EQ(NormalizeNumberText(S(u"1.234,5")), S(u"1234.5"));
}

TEST_F(GridParse, ExtractAndNormalizeNumbers)
{
    const std::pair<const char16_t *, const char16_t *> extract[] = {
        {u"(1,234.50)", u"-1234.50"},
        {u"USD -12", u"-12"},
        {u"12 kg", u"12"},
        {u"Euro 5", u"E"}, // a leading E counts as part of a number
        {u"", u""},
        {u"x", u""},
        {u"$ 3.5e2!", u"3.5e2"},
    };
    for (const auto &[in, out] : extract)
        EXPECT_EQ(ExtractNumberText(S(in)), S(out)) << QString::fromUtf16(in).toStdString();
    EXPECT_EQ(NormalizeNumberText(S(u"1,234.5 kg")), S(u"1234.5 kg"));
}

TEST_F(GridParse, CharacterClasses)
{
    // Columns: digit, digit or minus, number, number text, signed number.
    struct Case
    {
        QChar thousand, decimal, ch;
        bool digit, digitOrMinus, number, numberText, signedNumber;
    };
    const Case cases[] = {
        {u',', u'.', u'7', true, true, true, true, true},
        {u',', u'.', u'\u0663', true, true, true, true, true},
        {u',', u'.', u'a', false, false, false, false, false},
        {u',', u'.', u'-', false, true, false, true, true},
        {u',', u'.', u'+', false, false, false, true, true},
        {u',', u'.', u'e', false, false, true, true, true},
        {u',', u'.', u'E', false, false, true, true, true},
        {u',', u'.', u'.', false, false, true, true, true},
        // The regional separators are number characters but not number text characters.
        {u',', u'.', u',', false, false, true, false, true},
        {u'.', u',', u',', false, false, true, false, true},
        {u'.', u',', u'.', false, false, true, true, true},
        {u',', u'.', u'(', false, false, false, false, false},
    };
    for (const Case &c : cases) {
        pin(c.thousand, c.decimal, QStringLiteral("dd/mm/yyyy"));
        const std::string at = QString(c.ch).toStdString() + " with " +
                               QString(c.thousand).toStdString() + QString(c.decimal).toStdString();
        EXPECT_EQ(IsDigitChar(c.ch), c.digit) << at;
        EXPECT_EQ(IsDigitOrMinus(c.ch), c.digitOrMinus) << at;
        EXPECT_EQ(IsNumberChar(c.ch), c.number) << at;
        EXPECT_EQ(IsNumberTextChar(c.ch), c.numberText) << at;
        EXPECT_EQ(IsSignedNumberChar(c.ch), c.signedNumber) << at;
    }
}

TEST_F(GridParse, DefaultThousandSeparatorAvoidsTheDecimalOne)
{
    OverrideGridRegionalSettings(std::nullopt);
    struct Case
    {
        char16_t thousand;
        const char16_t *decimal;
        char16_t expected;
    };
    const Case cases[] = {
        {u',', u",", u'.'},
        {u',', u".", u','},
        {u'.', u".", u','},
        {u'.', u",", u'.'},
        {u'\u00a0', u",", u'\u00a0'},
        {u',', u"\u066b", u'.'}, // an unusual decimal setting converts with ","
    };
    for (const Case &c : cases) {
        plat::RegionalSettings r;
        r.thousandSeparator = c.thousand;
        r.decimal = QString::fromUtf16(c.decimal);
        plat::OverrideRegionalSettings(r);
        EXPECT_EQ(RegionalThousandSeparator(), QChar(c.expected))
            << QString(c.thousand).toStdString() << " " << r.decimal.toStdString();
    }
}

// Without a pin of their own the grid's values follow the platform's, so a locale's date order
// decides how a date text reads.
TEST_F(GridParse, DatesFollowThePlatformSettings)
{
    OverrideGridRegionalSettings(std::nullopt);
    const std::pair<QLocale, double> cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedKingdom), qrlEncodeDate(2020, 4, 3)},
        {QLocale(QLocale::English, QLocale::UnitedStates), qrlEncodeDate(2020, 3, 4)},
        {QLocale(QLocale::Japanese, QLocale::Japan), -1}, // year first: 3 is no month here
    };
    for (const auto &[locale, expected] : cases) {
        plat::OverrideRegionalSettings(plat::RegionalSettingsFromLocale(locale));
        TDateTime v = -1;
        EXPECT_EQ(TextToDateTime(S(u"03/04/2020"), v), expected >= 0)
            << locale.name().toStdString();
        EXPECT_EQ(v, expected) << locale.name().toStdString();
    }

    plat::OverrideRegionalSettings(
        plat::RegionalSettingsFromLocale(QLocale(QLocale::German, QLocale::Germany)));
    TDateTime v = -1;
    EXPECT_TRUE(TextToDateTime(S(u"03.04.2020 14:30"), v));
    EXPECT_DOUBLE_EQ(v, qrlEncodeDate(2020, 4, 3) + 14.5 / 24);
    EXPECT_EQ(NumberTextKind(S(u"1.234,5")), ntkDecimal);
    EXPECT_EQ(NormalizeNumberText(S(u"1.234,5")), S(u"1234.5"));
}

TEST_F(GridParse, TextToDateTime)
{
    struct Case
    {
        const char16_t *format;
        const char16_t *text;
        bool ok;
        double value; // checked when ok, or when stored although not ok (>= 0)
    };
    const double second = 1.0 / 86400;
    const Case cases[] = {
        {u"dd/mm/yyyy", u"31/12/2020 23:59:59", true, k2020_12_31 + 86399 * second},
        {u"dd/mm/yyyy", u"31/12/2020 12:30", true, k2020_12_31 + 0.5 + 1800 * second},
        {u"dd/mm/yyyy", u"31/12/2020", true, k2020_12_31},
        {u"dd/mm/yyyy", u"01/01/2020 7", false, k2020_01_01}, // stored, yet not read
        {u"dd/mm/yyyy", u"32/01/2020", false, -1},
        {u"dd/mm/yyyy", u"01/13/2020", false, -1},
        {u"dd/mm/yyyy", u"30/02/2020", false, -1},
        {u"dd/mm/yyyy", u"00/01/2020", false, -1},
        {u"dd/mm/yyyy", u"31/12/2020 24:00", false, -1},
        {u"dd/mm/yyyy", u"31/12/2020 12:60", false, -1},
        {u"dd/mm/yyyy", u"31/12/2020 12:00:60", false, -1},
        {u"dd/mm/yyyy", u"31/12/2020 x:00", false, -1},
        {u"dd/mm/yyyy", u"31/12", false, -1},
        {u"dd/mm/yyyy", u"a/12/2020", false, -1},
        {u"dd/mm/yyyy", u"31/12/20x0", false, -1},
        {u"M/d/yyyy", u"12/31/2020", true, k2020_12_31},
        {u"yyyy/MM/dd", u"2020/12/31", true, k2020_12_31},
    };
    for (const Case &c : cases) {
        pin(u',', u'.', S(c.format));
        TDateTime v = -1;
        EXPECT_EQ(TextToDateTime(S(c.text), v), c.ok) << QString::fromUtf16(c.text).toStdString();
        if (c.value >= 0)
            EXPECT_NEAR(v, c.value, 1e-9) << QString::fromUtf16(c.text).toStdString();
        else
            EXPECT_EQ(v, -1) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST_F(GridParse, ShortDatesForSorting)
{
    const std::pair<const char16_t *, double> us[] = {
        {u"12/31/21", k2021_12_31},
        {u"1-2-99", k1999_01_02},
        {u"2/3/2021", k3921_02_03},
        {u"12.31.21", k2021_12_31},
        {u"x/1/21", 0},
        {u"12", 0},
        {u"1/2", 0},
        {u"1/2/3/4", 0},
        {u"", 0},
    };
    for (const auto &[text, value] : us)
        EXPECT_EQ(ShortDateUSToDate(S(text)), value) << QString::fromUtf16(text).toStdString();
    EXPECT_EQ(ShortDateEUToDate(S(u"31.12.21")), k2021_12_31);
    EXPECT_EQ(ShortDateEUToDate(S(u"2-1-99")), k1999_01_02);
    EXPECT_THROW(ShortDateUSToDate(S(u"2/30/21")), EQrlConvertError);
    EXPECT_THROW(ShortDateEUToDate(S(u"1/13/21")), EQrlConvertError);
}

TEST_F(GridParse, AddDateParts)
{
    struct Case
    {
        int years, months, days, increment;
        double date;
        double result;
    };
    const Case cases[] = {
        {0, 0, 5, 9, k2021_01_31, k2021_01_31 + 5},
        {1, 0, 0, 9, k2021_01_31, k2022_01_31},
        {0, -1, 0, 9, k2021_01_31, k2020_12_31}, // month 0 wraps to December before
        {0, 11, 0, 9, k2021_01_31, k2021_12_31},
        {0, 12, 0, 9, k2021_01_31, k2022_01_31},    // month 13 wraps to January after
        {1, 0, 3, 9, k2021_01_31, k2021_01_31 + 9}, // two parts: the increment
        {0, 0, 0, -2, k2021_01_31, k2021_01_31 - 2},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AddDateParts(c.years, c.months, c.days, c.increment, c.date), c.result)
            << c.years << "," << c.months << "," << c.days;
    EXPECT_THROW(AddDateParts(0, 1, 0, 0, k2021_01_31), EQrlConvertError); // 31 February
}

TEST_F(GridParse, DateStepsAndValuesOutsideTheCalendarDoNotConvert)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct
    {
        int years, months;
        double date;
    } cases[] = {
        {INT_MAX, 0, k2021_01_31},
        {INT_MIN, 0, k2021_01_31},
        {0, INT_MAX, k2021_01_31},
        {0, INT_MIN, k2021_01_31},
        {7979, 0, k2021_01_31},
        {-2021, 0, k2021_01_31},
        {1, 0, nan},
        {0, 1, inf},
        {0, 1, -inf},
        {1, 0, 1e300},
        {0, -1, -1e19},
        {1, 0, 2958466.0},
        {1, 0, -693594.0},
    };
    for (const auto &c : cases)
        EXPECT_THROW(AddDateParts(c.years, c.months, 0, 0, c.date), EQrlConvertError)
            << c.years << "," << c.months << "," << c.date;
    // The calendar's ends still convert.
    EXPECT_EQ(AddDateParts(0, 1, 0, 0, qrlEncodeDate(9999, 11, 30)), qrlEncodeDate(9999, 12, 30));
    EXPECT_EQ(AddDateParts(-1, 0, 0, 0, qrlEncodeDate(2, 1, 1)), qrlEncodeDate(1, 1, 1));
    int year = 0, month = 0, day = 0;
    EXPECT_THROW(qrlDecodeDate(nan, year, month, day), EQrlConvertError);
    qrlDecodeDate(qrlEncodeDate(9999, 12, 31) + 0.99, year, month, day);
    EXPECT_EQ(year * 10000 + month * 100 + day, 99991231);
}

TEST_F(GridParse, HasDateSeparators)
{
    const std::pair<const char16_t *, bool> cases[] = {
        {u"1/2/3", true}, {u"1/2/", true},  {u"/1/2", false},
        {u"1//2", false}, {u"12/3", false}, {u"123", false},
    };
    for (const auto &[text, ok] : cases)
        EXPECT_EQ(HasDateSeparators(S(text)), ok) << QString::fromUtf16(text).toStdString();
}

TEST_F(GridParse, FilterHelpers)
{
    EXPECT_EQ(StripUnquotedBlanks(S(u" a b \"c d\" e ")), S(u"ab\"c d\"e"));
    int pos = -1;
    EXPECT_EQ(FindFilterOperator(S(u"&|"), S(u"\"a&b\"|c"), pos), u'|');
    EXPECT_EQ(pos, 6);
    EXPECT_TRUE(FindFilterOperator(S(u"&|"), S(u"\"a&b\""), pos).isNull());
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(MatchingParenPos(S(u"(a(b)c)d")), 7);
    EXPECT_EQ(MatchingParenPos(S(u"((a)")), 0);
}

TEST_F(GridParse, EvalFilterExpression)
{
    struct Case
    {
        const char16_t *expr;
        const char16_t *value;
        bool caseSensitive;
        bool match;
    };
    const Case cases[] = {
        {u">5 & <10", u"7", true, true},
        {u">5 & <10", u"12", true, false},
        {u">9", u"10", true, true},                  // numbers, not texts, are compared
        {u">1,000", u"2,500", true, true},           // thousand separators dropped
        {u"<05/01/2020", u"31/12/2019", true, true}, // dates, not texts
        {u"a*|b*", u"banana", true, true},
        {u"a*;c*", u"cat", true, true},
        {u"a*^c*", u"dog", true, false},
        {u"(a*|b*)&*n*", u"ban", true, true},
        {u"(a*|b*)&*n*", u"bat", true, false},
        {u"*n*&(a*|b*)", u"ban", true, true},
        {u"!a*", u"xyz", true, true},
        {u"!a*", u"abc", true, false},
        {u"\"a&b\"", u"a&b", true, true}, // the quoted ampersand is no operator
        {u"\"a b\"", u"a b", true, true},
        {u"ABC", u"abc", false, true},
        {u"ABC", u"abc", true, false},
        {u"=a?c", u"abc", true, true},
        {u" b * ", u"bx", true, true},
        {u"(a*", u"ab", true, true}, // an unclosed group runs to the end
        {u"", u"", true, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EvalFilterExpression(S(c.expr), S(c.value), c.caseSensitive), c.match)
            << QString::fromUtf16(c.expr).toStdString() << " / "
            << QString::fromUtf16(c.value).toStdString();
}

TEST_F(GridParse, MatchFilterCondition)
{
    const std::tuple<const char16_t *, const char16_t *, bool> cases[] = {
        {u">=10", u"10", true},
        {u">10", u"10", false},
        {u">10", u">10", true}, // literal pattern
        {u"<=5", u"5", true},
        {u"<5", u"5", false},
        {u">5&<10", u"12", false},
        {u">\"a&b\"", u"a&c", true}, // quoted operand keeps its ampersand
        {u"a*b?", u"axxbz", true},
        {u"a*b?", u"axxb", false},
        {u"*", u"", true},
        {u"**x", u"x", true},
        {u"a*a*a*a*a*a*a*a*a*a*b", u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
        {u"!*x", u"abc", true},
        {u"?", u"", false},
    };
    for (const auto &[pattern, value, match] : cases)
        EXPECT_EQ(MatchFilterCondition(S(pattern), S(value)), match)
            << QString::fromUtf16(pattern).toStdString() << " / "
            << QString::fromUtf16(value).toStdString();
}

} // namespace
