// The user's regional settings (decimal, thousand, date and time separators, short date format)
// and the number conversion that follows the decimal separator.
#pragma once

#include <QChar>
#include <QString>
#include <optional>

class QLocale;

namespace plat {

// The regional values the program reads, all from one source: the system locale unless pinned.
// The defaults are the classic English values.
struct RegionalSettings
{
    QString decimal = QStringLiteral(".");
    QChar thousandSeparator = u',';
    QChar dateSeparator = u'/';
    QChar timeSeparator = u':';
    // Day, month and year fields joined by dateSeparator: "M/d/yyyy", "dd.MM.yy", "yyyy-MM-dd".
    QString shortDateFormat = QStringLiteral("M/d/yyyy");

    bool operator==(const RegionalSettings &) const = default;
};

// The settings a locale gives; depends on nothing but the locale.
RegionalSettings RegionalSettingsFromLocale(const QLocale &locale);
// A locale's short date pattern as day, month and year fields with one separator; weekday
// names and other text are dropped. Without exactly one numeric day, month and year field the
// order falls back to "M/d/yyyy" with the pattern's separator ('/' when it has none).
QString ShortDateFormatFromLocalePattern(const QString &pattern);
// The separator after the hour field of a locale's time pattern; ':' when there is none.
QChar TimeSeparatorFromLocalePattern(const QString &pattern);

// The settings in force: the pinned ones, or the system locale's, with a pinned decimal
// setting (OverrideDecimalSeparator) on top.
RegionalSettings CurrentRegionalSettings();
// Tests pin all five values here (any decimal pin is dropped); std::nullopt returns every value,
// the decimal one included, to the system's.
void OverrideRegionalSettings(std::optional<RegionalSettings> settings);

// The user's regional decimal setting as text (at most 3 characters); "" when unknown.
QString RegionalDecimalSetting();

// The decimal separator the program's own float conversion uses: the setting's first character
// when that is ',' or '.', else ','.
QChar ProgramDecimalSeparator();

// Tests pin the decimal setting alone here; std::nullopt returns it to the source beneath (the
// pinned settings or the system's).
void OverrideDecimalSeparator(std::optional<QString> setting);

// Reads a real number written with ProgramDecimalSeparator(): blanks around it, optional sign,
// digits with at most one separator (at least one digit), optional exponent "E[+|-]digits".
// No thousands separators. False leaves out untouched.
bool TryStrToFloat(const QString &text, double &out);
// The same reading with the separator given, for texts of a fixed notation.
bool TryStrToFloat(const QString &text, QChar sep, double &out);
// As above, failing also when the value does not fit a 32-bit float.
bool TryStrToFloat(const QString &text, float &out);

} // namespace plat
