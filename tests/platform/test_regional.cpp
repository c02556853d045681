#include "platform/os/Regional.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace {

std::string str(const QString &s)
{
    return s.toStdString();
}

class Regional : public ::testing::Test
{
protected:
    void TearDown() override
    {
        plat::OverrideRegionalSettings(std::nullopt);
        plat::OverrideDecimalSeparator(std::nullopt);
    }
};

TEST_F(Regional, SettingsFromLocale)
{
    struct Case
    {
        QLocale locale;
        const char16_t *decimal;
        char16_t thousand, date, time;
        const char16_t *shortDate;
    };
    const Case cases[] = {
        {QLocale(QLocale::German, QLocale::Germany), u",", u'.', u'.', u':', u"dd.MM.yy"},
        {QLocale(QLocale::English, QLocale::UnitedStates), u".", u',', u'/', u':', u"M/d/yy"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), u".", u',', u'/', u':', u"dd/MM/yyyy"},
        {QLocale(QLocale::French, QLocale::France), u",", u'\u202f', u'/', u':', u"dd/MM/yyyy"},
        {QLocale(QLocale::Japanese, QLocale::Japan), u".", u',', u'/', u':', u"yyyy/MM/dd"},
        {QLocale(QLocale::German, QLocale::Switzerland), u".", u'\u2019', u'.', u':', u"dd.MM.yy"},
        // Dotted times; blanks after the separators ("yy. M. d.").
        {QLocale(QLocale::Finnish, QLocale::Finland), u",", u'\u00a0', u'.', u'.', u"d.M.yyyy"},
        {QLocale(QLocale::Korean, QLocale::SouthKorea), u".", u',', u'.', u':', u"yy.M.d"},
        // Direction marks around the separators ("d\u200f/M\u200f/yyyy").
        {QLocale(QLocale::Arabic, QLocale::Egypt), u"\u066b", u'\u066c', u'/', u':', u"d/M/yyyy"},
        // A month name ("d MMM yyyy") does not map: the classic order and separator.
        {QLocale::c(), u".", u',', u'/', u':', u"M/d/yyyy"},
    };
    for (const Case &c : cases) {
        const plat::RegionalSettings s = plat::RegionalSettingsFromLocale(c.locale);
        const std::string at = str(c.locale.name());
        EXPECT_EQ(s.decimal, QString::fromUtf16(c.decimal)) << at;
        EXPECT_EQ(s.thousandSeparator, QChar(c.thousand)) << at;
        EXPECT_EQ(s.dateSeparator, QChar(c.date)) << at;
        EXPECT_EQ(s.timeSeparator, QChar(c.time)) << at;
        EXPECT_EQ(s.shortDateFormat, QString::fromUtf16(c.shortDate)) << at;
    }
}

TEST_F(Regional, DatePatternConversion)
{
    const std::pair<const char16_t *, const char16_t *> cases[] = {
        {u"dddd, dd.MM.yyyy", u"dd.MM.yyyy"}, // weekday dropped
        {u"d.MM.yy 'г'.", u"d.MM.yy"},        // quoted text dropped
        {u"yyyy'年'M'月'd'日'", u"yyyy/M/d"}, // only quoted separators: '/'
        {u"''d-M-yyyy", u"d-M-yyyy"},         // a literal quote is no field
        {u"d MM yyyy", u"d/MM/yyyy"},         // no separator at all
        {u"d MMM yyyy", u"M/d/yyyy"},         // month name
        {u"yyyy-MM", u"M-d-yyyy"},            // no day: fallback, locale's separator
        {u"d.M.d.yyyy", u"M.d.yyyy"},         // two days
        {u"h:mm AP", u"M/d/yyyy"},            // no date fields
        {u"", u"M/d/yyyy"},
    };
    for (const auto &[pattern, format] : cases) {
        EXPECT_EQ(plat::ShortDateFormatFromLocalePattern(QString::fromUtf16(pattern)),
                  QString::fromUtf16(format))
            << str(QString::fromUtf16(pattern));
    }

    const std::pair<const char16_t *, char16_t> times[] = {
        {u"HH:mm", u':'},     {u"H.mm", u'.'}, {u"AP h:mm", u':'},
        {u"HH 'h' mm", u':'}, {u"mm", u':'},   {u"", u':'},
    };
    for (const auto &[pattern, sep] : times) {
        EXPECT_EQ(plat::TimeSeparatorFromLocalePattern(QString::fromUtf16(pattern)), QChar(sep))
            << str(QString::fromUtf16(pattern));
    }
}

TEST_F(Regional, PinningAllFiveAndTheDecimalAlone)
{
    plat::RegionalSettings pinned;
    pinned.decimal = QStringLiteral(",");
    pinned.thousandSeparator = u' ';
    pinned.dateSeparator = u'-';
    pinned.timeSeparator = u'.';
    pinned.shortDateFormat = QStringLiteral("d-M-yyyy");

    plat::OverrideDecimalSeparator(QStringLiteral("."));
    plat::OverrideRegionalSettings(pinned); // drops the earlier decimal pin
    EXPECT_EQ(plat::CurrentRegionalSettings(), pinned);
    EXPECT_EQ(plat::ProgramDecimalSeparator(), u',');

    // A decimal pin lies on top of the pinned settings and comes off without touching them.
    plat::OverrideDecimalSeparator(QStringLiteral("."));
    EXPECT_EQ(plat::ProgramDecimalSeparator(), u'.');
    EXPECT_EQ(plat::CurrentRegionalSettings().shortDateFormat, pinned.shortDateFormat);
    plat::OverrideDecimalSeparator(std::nullopt);
    EXPECT_EQ(plat::CurrentRegionalSettings(), pinned);

    plat::OverrideDecimalSeparator(QStringLiteral("."));
    plat::OverrideRegionalSettings(std::nullopt);
    EXPECT_EQ(plat::CurrentRegionalSettings(), plat::RegionalSettingsFromLocale(QLocale::system()));
}

} // namespace
