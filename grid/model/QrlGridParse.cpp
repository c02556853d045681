#include "grid/model/QrlGridParse.h"

#include "platform/os/Regional.h"
#include "platform/text/StrConv.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

std::optional<TGridRegionalSettings> &regionalOverride()
{
    static std::optional<TGridRegionalSettings> value;
    return value;
}

const qint64 kDayZero = QDate(1899, 12, 30).toJulianDay();
// The calendar's range (1 January 1 to 31 December 9999) as TDateTime day numbers.
const double kFirstDay = double(QDate(1, 1, 1).toJulianDay() - kDayZero);
const double kLastDay = double(QDate(9999, 12, 31).toJulianDay() - kDayZero);

// Number in C notation (the form NormalizeNumberText leaves): blanks around, optional sign,
// digits with at most one ".", optional exponent. Only finite values count.
bool tryParseNormalizedNumber(const QString &text, double &out)
{
    return plat::TryStrToFloat(plat::Trim(text), QChar(u'.'), out);
}

// One of the three fields split at sep: the text before the next sep, removed with it.
bool cutField(QString &rest, QChar sep, QString &field)
{
    const qsizetype p = rest.indexOf(sep);
    if (p < 0)
        return false;
    field = rest.left(p);
    rest.remove(0, p + 1);
    return true;
}

TDateTime shortDateToDate(const QString &text, bool usOrder)
{
    QChar sep;
    for (QChar c : {QChar(u'/'), QChar(u'.'), QChar(u'-')}) {
        if (text.contains(c)) {
            sep = c;
            break;
        }
    }
    if (sep.isNull())
        return 0;
    QString rest = text;
    QString f1;
    QString f2;
    if (!cutField(rest, sep, f1) || !cutField(rest, sep, f2))
        return 0;
    int32_t a = 0;
    int32_t b = 0;
    int32_t y = 0;
    if (!plat::TryStrToInt(f1, a) || !plat::TryStrToInt(f2, b) || !plat::TryStrToInt(rest, y))
        return 0;
    // Two-digit years: 0..25 are this century. Four-digit years are shifted too, which keeps
    // their order among themselves.
    y += y <= 25 ? 2000 : 1900;
    return usOrder ? qrlEncodeDate(y, a, b) : qrlEncodeDate(y, b, a);
}

// Reads the operand of ">", "<" or "!" starting at i: blanks skipped, then up to the first
// blank, the end, or "&" / "|" outside double quotes; the quotes themselves are left out.
// A blank ends the operand even inside quotes, the same for all three conditions.
QString readOperand(const QString &pattern, qsizetype i)
{
    const qsizetype n = pattern.size();
    while (i < n && pattern[i] == u' ')
        ++i;
    QString operand;
    bool quoted = false;
    for (; i < n; ++i) {
        const QChar c = pattern[i];
        if (c == u'"') {
            quoted = !quoted;
            continue;
        }
        if (c == u' ')
            break;
        if (!quoted && (c == u'&' || c == u'|'))
            break;
        operand += c;
    }
    return operand;
}

// Sign of Value compared with the operand: numbers, then dates, then character codes.
int compareWithOperand(const QString &value, const QString &operand)
{
    double vn = 0;
    double on = 0;
    TDateTime vd = 0;
    TDateTime od = 0;
    const bool vNum = tryParseNormalizedNumber(NormalizeNumberText(value), vn);
    const bool oNum = tryParseNormalizedNumber(NormalizeNumberText(operand), on);
    const bool vDate = TextToDateTime(value, vd);
    const bool oDate = TextToDateTime(operand, od);
    if (vNum && oNum && !vDate && !oDate)
        return vn > on ? 1 : (vn < on ? -1 : 0);
    if (vDate && oDate)
        return vd > od ? 1 : (vd < od ? -1 : 0);
    const int c = QStringView(value).left(255).compare(QStringView(operand).left(255));
    return c > 0 ? 1 : (c < 0 ? -1 : 0);
}

// Wildcard match, left to right, longest run first for "*". Failed (pattern, value) positions
// are remembered so many stars cannot make the search explode; "!" only ever switches the
// negation on, so a repeated visit cannot change the outcome.
class WildcardMatcher
{
public:
    WildcardMatcher(const QString &pattern, const QString &value) : m_p(pattern), m_v(value)
    {
        // Without a star nothing is ever retried, so no memory is needed.
        if (pattern.contains(u'*'))
            m_failed.assign((pattern.size() + 1) * (value.size() + 1), false);
    }

    bool run()
    {
        const bool matched = match(0, 0);
        return m_negate ? !matched : matched;
    }

private:
    bool match(qsizetype pi, qsizetype vi)
    {
        const qsizetype slot = pi * (m_v.size() + 1) + vi;
        if (!m_failed.empty() && m_failed[slot])
            return false;
        while (pi < m_p.size()) {
            const QChar c = m_p[pi];
            if (c == u'!') {
                m_negate = true;
                ++pi;
            } else if (c == u'"') {
                ++pi;
            } else if (c == u'*') {
                while (pi < m_p.size() && m_p[pi] == u'*')
                    ++pi;
                for (qsizetype k = m_v.size(); k >= vi; --k) {
                    if (match(pi, k))
                        return true;
                }
                return fail(slot);
            } else if (c == u'?') {
                if (vi >= m_v.size())
                    return fail(slot);
                ++pi;
                ++vi;
            } else {
                if (vi >= m_v.size() || m_v[vi] != c)
                    return fail(slot);
                ++pi;
                ++vi;
            }
        }
        if (vi == m_v.size())
            return true;
        return fail(slot);
    }

    bool fail(qsizetype slot)
    {
        if (!m_failed.empty())
            m_failed[slot] = true;
        return false;
    }

    const QString &m_p;
    const QString &m_v;
    std::vector<bool> m_failed;
    bool m_negate = false;
};

} // namespace

// --- Regional settings ----------------------------------------------------------------------

TGridRegionalSettings GridRegionalSettings()
{
    if (regionalOverride())
        return *regionalOverride();
    const plat::RegionalSettings r = plat::CurrentRegionalSettings();
    TGridRegionalSettings s;
    s.ThousandSeparator = r.thousandSeparator;
    s.DateSeparator = r.dateSeparator;
    s.TimeSeparator = r.timeSeparator;
    s.ShortDateFormat = r.shortDateFormat;
    // A number text must never be ambiguous about which separator is which.
    const QChar decimal = plat::ProgramDecimalSeparator();
    if (s.ThousandSeparator == decimal)
        s.ThousandSeparator = decimal == u',' ? u'.' : u',';
    return s;
}

void OverrideGridRegionalSettings(std::optional<TGridRegionalSettings> settings)
{
    regionalOverride() = std::move(settings);
}

QChar RegionalThousandSeparator()
{
    return GridRegionalSettings().ThousandSeparator;
}

QChar RegionalDecimalSeparator()
{
    return plat::ProgramDecimalSeparator();
}

QChar RegionalDateSeparator()
{
    return GridRegionalSettings().DateSeparator;
}

QChar RegionalTimeSeparator()
{
    return GridRegionalSettings().TimeSeparator;
}

QString RegionalShortDateFormat()
{
    return GridRegionalSettings().ShortDateFormat;
}

// --- Calendar -------------------------------------------------------------------------------

bool qrlTryEncodeDate(int year, int month, int day, TDateTime &value)
{
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day))
        return false;
    value = static_cast<TDateTime>(QDate(year, month, day).toJulianDay() - kDayZero);
    return true;
}

bool qrlTryEncodeTime(int hour, int minute, int second, int msec, TDateTime &value)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        msec < 0 || msec > 999)
        return false;
    value = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / 86400000.0;
    return true;
}

TDateTime qrlNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    TDateTime d = 0;
    TDateTime t = 0;
    qrlTryEncodeDate(now.date().year(), now.date().month(), now.date().day(), d);
    qrlTryEncodeTime(now.time().hour(), now.time().minute(), now.time().second(), 0, t);
    return d + t;
}

TDateTime qrlEncodeDate(int year, int month, int day)
{
    TDateTime v = 0;
    if (!qrlTryEncodeDate(year, month, day, v))
        throw EQrlConvertError(QStringLiteral("Invalid argument to date encode"));
    return v;
}

void qrlDecodeDate(TDateTime value, int &year, int &month, int &day)
{
    // NaN and values beyond the calendar would not even convert to a day number.
    const double days = std::trunc(value);
    if (!(days >= kFirstDay && days <= kLastDay))
        throw EQrlConvertError(QStringLiteral("Invalid argument to date decode"));
    const QDate d = QDate::fromJulianDay(kDayZero + static_cast<qint64>(days));
    year = d.year();
    month = d.month();
    day = d.day();
}

// --- Number texts ---------------------------------------------------------------------------

bool IsDigitChar(QChar Ch)
{
    return Ch.isNumber();
}

bool IsDigitOrMinus(QChar Ch)
{
    return IsDigitChar(Ch) || Ch == u'-';
}

bool IsNumberChar(QChar Ch)
{
    return IsDigitChar(Ch) || Ch == RegionalThousandSeparator() ||
           Ch == RegionalDecimalSeparator() || Ch == u'e' || Ch == u'E';
}

// Digits and the characters of a number in C notation; the regional separators are not
// among them.
bool IsNumberTextChar(QChar Ch)
{
    return IsDigitChar(Ch) || Ch == u'-' || Ch == u'.' || Ch == u'e' || Ch == u'E' || Ch == u'+';
}

bool IsSignedNumberChar(QChar Ch)
{
    return IsNumberChar(Ch) || Ch == u'+' || Ch == u'-';
}

int NumberTextKind(const QString &Text)
{
    if (Text.isEmpty())
        return ntkNotANumber;
    return NumberTextKind(Text, RegionalThousandSeparator(), RegionalDecimalSeparator());
}

int NumberTextKind(const QString &Text, QChar T, QChar D)
{
    if (Text.isEmpty())
        return ntkNotANumber;
    bool intForm = true;
    bool decForm = true;
    bool expForm = true;
    int eCount = 0;
    int minusCount = 0;
    int dCount = 0;
    qsizetype lastT = -1;
    const qsizetype n = Text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = Text[i];
        const bool digit = IsDigitChar(c);
        const bool minus = c == u'-';
        const bool isE = c == u'e' || c == u'E';
        if (isE)
            ++eCount;
        if (minus)
            ++minusCount;
        if (c == D)
            ++dCount;

        if (!(digit || minus) || (minus && i > 0))
            intForm = false;

        if (!(digit || minus || c == T || c == D) || (minus && i > 0))
            decForm = false;
        if (c == T) {
            if (lastT >= 0 && i - lastT <= 3)
                decForm = false;
            lastT = i;
        }

        if (!(digit || c == D || isE || c == u'+' || minus) || c == T)
            expForm = false;
        if (isE && (eCount > 1 || i == 0))
            expForm = false;
        if (i == n - 1 && (c == u'+' || minus || isE))
            expForm = false;
    }

    int kind = ntkInteger;
    if (!intForm) {
        kind = (!decForm || eCount > 0) ? ntkNotANumber : ntkDecimal;
        if (expForm && eCount > 0) {
            kind = ntkExponent;
            // The exponent's own sign does not count against the mantissa's.
            if (minusCount == 2)
                minusCount = 1;
        }
    }
    if (minusCount > 1 || dCount > 1)
        kind = ntkNotANumber;
    return kind;
}

QString ExtractNumberText(const QString &Text)
{
    if (Text.isEmpty())
        return QString();
    const QChar T = RegionalThousandSeparator();
    const QChar D = RegionalDecimalSeparator();
    bool negative = Text.startsWith(u'(') && Text.endsWith(u')');
    // Leading characters that start no number are skipped by index: removing them one by one
    // from the string would cost quadratic time on a long text.
    qsizetype start = 0;
    while (Text.size() - start >= 2 && !IsNumberChar(Text[start])) {
        if (Text[start] == u'-')
            negative = true;
        ++start;
    }
    QString r;
    for (QChar c : QStringView(Text).mid(start)) {
        if (c == T)
            continue;
        if (c == D)
            r += u'.';
        else if (IsNumberTextChar(c))
            r += c;
        else
            break;
    }
    if (negative)
        r.prepend(u'-');
    return r;
}

QString NormalizeNumberText(const QString &Text)
{
    const QChar T = RegionalThousandSeparator();
    const QChar D = RegionalDecimalSeparator();
    QString r;
    r.reserve(Text.size());
    for (QChar c : Text) {
        if (c == D)
            r += u'.';
        else if (c != T)
            r += c;
    }
    return r;
}

// --- Dates ----------------------------------------------------------------------------------

bool TextToDateTime(const QString &Text, TDateTime &Value)
{
    const QChar sep = RegionalDateSeparator();
    const QChar tsep = RegionalTimeSeparator();
    const QString fmt = RegionalShortDateFormat().toUpper();

    QString rest = Text;
    QString f1;
    QString f2;
    int32_t v1 = 0;
    int32_t v2 = 0;
    int32_t v3 = 0;
    if (!cutField(rest, sep, f1) || !plat::TryStrToInt(f1, v1))
        return false;
    if (!cutField(rest, sep, f2) || !plat::TryStrToInt(f2, v2))
        return false;
    rest = plat::Trim(rest);
    QString timePart;
    const qsizetype blank = rest.indexOf(u' ');
    if (blank >= 0) {
        timePart = plat::Trim(rest.mid(blank));
        rest.truncate(blank);
    }
    if (!plat::TryStrToInt(rest, v3))
        return false;

    // The field whose letter comes first in the short date format is read first.
    struct Field
    {
        qsizetype pos;
        int *target;
    };
    int day = 0;
    int month = 0;
    int year = 0;
    Field order[3] = {
        {fmt.indexOf(u'D'), &day}, {fmt.indexOf(u'M'), &month}, {fmt.indexOf(u'Y'), &year}};
    std::stable_sort(std::begin(order), std::end(order),
                     [](const Field &a, const Field &b) { return a.pos < b.pos; });
    *order[0].target = v1;
    *order[1].target = v2;
    *order[2].target = v3;
    if (day > 31 || month > 12)
        return false;

    int hour = 0;
    int minute = 0;
    int second = 0;
    bool timeComplete = true;
    if (blank >= 0) {
        const qsizetype t1 = timePart.indexOf(tsep);
        if (t1 < 0) {
            timeComplete = false;
        } else {
            int32_t h = 0;
            if (!plat::TryStrToInt(timePart.left(t1), h) || h > 23)
                return false;
            hour = h;
            const QString afterHour = timePart.mid(t1 + 1);
            const qsizetype t2 = afterHour.indexOf(tsep);
            int32_t m = 0;
            int32_t sec = 0;
            if (t2 >= 0) {
                if (!plat::TryStrToInt(afterHour.left(t2), m) ||
                    !plat::TryStrToInt(afterHour.mid(t2 + 1), sec) || sec > 60)
                    return false;
            } else if (!plat::TryStrToInt(afterHour, m)) {
                return false;
            }
            if (m > 59)
                return false;
            minute = m;
            second = sec;
        }
    }

    TDateTime date = 0;
    TDateTime time = 0;
    if (!qrlTryEncodeDate(year, month, day, date) ||
        !qrlTryEncodeTime(hour, minute, second, 0, time))
        return false;
    Value = date + time;
    // A time part without any time separator keeps the date but does not count as read.
    return timeComplete;
}

TDateTime ShortDateUSToDate(const QString &Text)
{
    return shortDateToDate(Text, true);
}

TDateTime ShortDateEUToDate(const QString &Text)
{
    return shortDateToDate(Text, false);
}

bool HasDateSeparators(const QString &Text)
{
    const QChar sep = RegionalDateSeparator();
    const qsizetype p = Text.indexOf(sep);
    if (p < 1)
        return false;
    return Text.mid(p + 1).indexOf(sep) >= 1;
}

TDateTime AddDateParts(int Years, int Months, int Days, int Increment, TDateTime Date)
{
    const bool y = Years != 0;
    const bool m = Months != 0;
    const bool d = Days != 0;
    if (d && !y && !m)
        return Date + Days;
    if ((y || m) && !(y && m) && !d) {
        int year = 0;
        int month = 0;
        int day = 0;
        qrlDecodeDate(Date, year, month, day);
        // Steps near the int limits would overflow; any result out of int is no date anyway.
        const auto encode = [](qint64 y64, qint64 m64, int d) {
            if (y64 < 1 || y64 > 9999 || m64 < 1 || m64 > 12)
                throw EQrlConvertError(QStringLiteral("Invalid argument to date encode"));
            return qrlEncodeDate(int(y64), int(m64), d);
        };
        if (y)
            return encode(qint64(year) + Years, month, day);
        qint64 month64 = qint64(month) + Months;
        qint64 year64 = year;
        if (month64 < 1) {
            month64 += 12;
            --year64;
        } else if (month64 > 12) {
            month64 -= 12;
            ++year64;
        }
        return encode(year64, month64, day);
    }
    return Date + Increment;
}

// --- Filter expressions ---------------------------------------------------------------------

QString StripUnquotedBlanks(const QString &Text)
{
    QString r;
    r.reserve(Text.size());
    int quotes = 0;
    for (QChar c : Text) {
        if (c == u'"')
            ++quotes;
        if (c == u' ' && quotes % 2 == 0)
            continue;
        r += c;
    }
    return r;
}

QChar FindFilterOperator(const QString &Operators, const QString &Text, int &Pos)
{
    int quotes = 0;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (c == u'"')
            ++quotes;
        if (quotes % 2 == 0 && Operators.contains(c)) {
            Pos = static_cast<int>(i + 1);
            return c;
        }
    }
    Pos = 0;
    return QChar(0);
}

int MatchingParenPos(const QString &Text)
{
    int open = 0;
    int close = 0;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        if (Text[i] == u'(')
            ++open;
        else if (Text[i] == u')')
            ++close;
        if (open == close)
            return static_cast<int>(i + 1);
    }
    return 0;
}

bool EvalFilterExpression(const QString &Expression, const QString &Value, bool CaseSensitive)
{
    static const QString kOperators = QStringLiteral("(;^&|");
    QString s = StripUnquotedBlanks(plat::Trim(Expression));
    if (s.startsWith(u'='))
        s.remove(0, 1);

    bool result = false;
    bool first = true;
    QChar lastOp;
    const auto combine = [&](bool r) {
        if (first) {
            result = r;
            first = false;
        } else if (lastOp == u'&') {
            result = result && r;
        } else if (lastOp != u'(') {
            result = result || r;
        }
        // After a group the next term's result is ignored: it is the empty term between ")"
        // and the operator that follows.
    };

    int pos = 0;
    for (QChar op = FindFilterOperator(kOperators, s, pos); !op.isNull();
         op = FindFilterOperator(kOperators, s, pos)) {
        if (s.startsWith(u'(')) {
            const int close = MatchingParenPos(s);
            // An unclosed group runs to the end of the expression.
            const QString inner = close > 0 ? s.mid(1, close - 2) : s.mid(1);
            combine(EvalFilterExpression(inner, Value, CaseSensitive));
            s.remove(0, close > 0 ? close : s.size());
            lastOp = u'(';
        } else {
            combine(MatchFilterTerm(s.left(pos - 1), Value, CaseSensitive));
            s.remove(0, pos);
            lastOp = op;
        }
    }
    combine(MatchFilterTerm(s, Value, CaseSensitive));
    return result;
}

bool MatchFilterTerm(const QString &Term, const QString &Value, bool CaseSensitive)
{
    if (CaseSensitive)
        return MatchFilterCondition(Term, Value);
    const QLocale locale;
    return MatchFilterCondition(locale.toUpper(Term), locale.toUpper(Value));
}

bool MatchFilterCondition(const QString &Pattern, const QString &Value)
{
    bool hasGreater = false;
    bool hasLess = false;
    bool greater = true;
    bool less = true;
    QString greaterOperand;
    QString lessOperand;
    bool greaterOrEqual = false;
    bool lessOrEqual = false;

    const qsizetype gt = Pattern.indexOf(u'>');
    if (gt >= 0) {
        qsizetype i = gt + 1;
        if (i < Pattern.size() && Pattern[i] == u'=') {
            greaterOrEqual = true;
            ++i;
        }
        greaterOperand = readOperand(Pattern, i);
        hasGreater = true;
    }
    const qsizetype lt = Pattern.indexOf(u'<');
    if (lt >= 0) {
        qsizetype i = lt + 1;
        if (i < Pattern.size() && Pattern[i] == u'=') {
            lessOrEqual = true;
            ++i;
        }
        lessOperand = readOperand(Pattern, i);
        hasLess = true;
    }
    // A negation makes the absent comparisons count as present and passed; its operand takes
    // part only in the wildcard step below.
    if (Pattern.contains(u'!')) {
        if (gt < 0)
            hasGreater = true;
        if (lt < 0)
            hasLess = true;
    }

    if (gt >= 0) {
        const int c = compareWithOperand(Value, greaterOperand);
        greater = greaterOrEqual ? c >= 0 : c > 0;
    }
    if (lt >= 0) {
        const int c = compareWithOperand(Value, lessOperand);
        less = lessOrEqual ? c <= 0 : c < 0;
    }

    if (Pattern.contains(u'^') && (hasGreater || hasLess))
        return greater || less;
    if (Pattern.contains(u'&') && hasGreater && hasLess)
        return greater && less;
    if (gt >= 0 && greater)
        return true;
    if (lt >= 0 && less)
        return true;

    return WildcardMatcher(Pattern, Value).run();
}
