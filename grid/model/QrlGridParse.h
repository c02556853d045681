// Stateless number, date and filter routines of the grid library: number texts as the regional
// settings write them, dates in the short date format, date arithmetic, and the column filter
// expressions that the grid's filtering applies row by row.
//
// Regional values are read at every call, all from the platform's regional settings (the
// system locale unless pinned); tests may pin the four below here instead.
#pragma once

#include <QChar>
#include <QString>

#include <optional>
#include <stdexcept>

// Date and time as the grid's callers keep them: days since 30 December 1899, the time of day
// as the fraction.
using TDateTime = double;

// A text that does not convert: an integer text, or fields that make an impossible date.
class EQrlConvertError : public std::runtime_error
{
public:
    explicit EQrlConvertError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

struct TGridRegionalSettings
{
    QChar ThousandSeparator = u',';
    QChar DateSeparator = u'/';
    QChar TimeSeparator = u':';
    QString ShortDateFormat = QStringLiteral("M/d/yyyy");
};

// The values in force. Without an override they come from the platform's regional settings,
// and a thousand separator equal to the decimal one becomes the other of "," and ".".
TGridRegionalSettings GridRegionalSettings();
// Tests pin the values here; std::nullopt returns to the platform's.
void OverrideGridRegionalSettings(std::optional<TGridRegionalSettings> settings);

QChar RegionalThousandSeparator();
QChar RegionalDecimalSeparator();
QChar RegionalDateSeparator();
QChar RegionalTimeSeparator();
QString RegionalShortDateFormat();

// Calendar helpers (proleptic Gregorian, years 1 to 9999).
bool qrlTryEncodeDate(int year, int month, int day, TDateTime &value);
bool qrlTryEncodeTime(int hour, int minute, int second, int msec, TDateTime &value);
// Throws EQrlConvertError for an impossible date.
TDateTime qrlEncodeDate(int year, int month, int day);
// Throws EQrlConvertError for a value outside the calendar's years (NaN and infinities too).
void qrlDecodeDate(TDateTime value, int &year, int &month, int &day);
// The local date and time to the second.
TDateTime qrlNow();

// --- Number texts ---------------------------------------------------------------------------

// Kinds returned by NumberTextKind.
inline constexpr int ntkInteger = 0;
inline constexpr int ntkDecimal = 1;
inline constexpr int ntkNotANumber = 2;
inline constexpr int ntkExponent = 5;

int NumberTextKind(const QString &Text);
// The same with the separators given (a sort reads them once, not per cell).
int NumberTextKind(const QString &Text, QChar Thousand, QChar Decimal);
QString ExtractNumberText(const QString &Text);
QString NormalizeNumberText(const QString &Text);

bool IsDigitChar(QChar Ch);
bool IsDigitOrMinus(QChar Ch);
bool IsNumberChar(QChar Ch);
bool IsNumberTextChar(QChar Ch);
bool IsSignedNumberChar(QChar Ch);

// --- Dates ----------------------------------------------------------------------------------

bool TextToDateTime(const QString &Text, TDateTime &Value);
// 0 when the text is not a date; an impossible date throws EQrlConvertError.
TDateTime ShortDateUSToDate(const QString &Text);
TDateTime ShortDateEUToDate(const QString &Text);
bool HasDateSeparators(const QString &Text);
// Throws EQrlConvertError when the resulting date is impossible.
TDateTime AddDateParts(int Years, int Months, int Days, int Increment, TDateTime Date);

// --- Filter expressions ---------------------------------------------------------------------

bool EvalFilterExpression(const QString &Expression, const QString &Value, bool CaseSensitive);
QString StripUnquotedBlanks(const QString &Text);
// The leftmost character of Operators outside double quotes, or QChar(0); Pos 1-based or 0.
QChar FindFilterOperator(const QString &Operators, const QString &Text, int &Pos);
// Position of the ")" that closes the group opened at the start; 0 when it is never closed.
int MatchingParenPos(const QString &Text);
bool MatchFilterTerm(const QString &Term, const QString &Value, bool CaseSensitive);
bool MatchFilterCondition(const QString &Pattern, const QString &Value);
