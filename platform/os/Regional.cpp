#include "platform/os/Regional.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace plat {

namespace {

std::optional<RegionalSettings> &pinnedSettings()
{
    static std::optional<RegionalSettings> value;
    return value;
}

std::optional<QString> &pinnedDecimal()
{
    static std::optional<QString> value;
    return value;
}

// One run of a pattern letter outside quotes, and the first separator character between it and
// the next run.
struct PatternField
{
    QChar letter;
    qsizetype count = 0;
    QChar separatorAfter;
};

bool isPatternLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Only punctuation and symbols separate fields: blanks and the direction marks some locales
// put around them do not.
bool isSeparator(QChar c)
{
    return c.isPunct() || c.isSymbol();
}

std::vector<PatternField> patternFields(const QString &pattern)
{
    std::vector<PatternField> fields;
    const qsizetype n = pattern.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = pattern[i];
        if (c == u'\'') {
            // Quoted text is literal; "''" is a quote character.
            ++i;
            while (i < n) {
                if (pattern[i] == u'\'') {
                    if (i + 1 < n && pattern[i + 1] == u'\'') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            continue;
        }
        if (isPatternLetter(c)) {
            qsizetype j = i;
            while (j < n && pattern[j] == c)
                ++j;
            fields.push_back({c, j - i, QChar()});
            i = j;
            continue;
        }
        if (isSeparator(c) && !fields.empty() && fields.back().separatorAfter.isNull())
            fields.back().separatorAfter = c;
        ++i;
    }
    return fields;
}

RegionalSettings systemSettings()
{
    // The conversion runs for every character a number routine looks at, so the result is kept
    // for as long as the system locale stays the same.
    thread_local std::optional<QLocale> cachedLocale;
    thread_local RegionalSettings cached;
    const QLocale system = QLocale::system();
    if (!cachedLocale || *cachedLocale != system) {
        cached = RegionalSettingsFromLocale(system);
        cachedLocale = system;
    }
    return cached;
}

} // namespace

QString ShortDateFormatFromLocalePattern(const QString &pattern)
{
    const std::vector<PatternField> fields = patternFields(pattern);
    QString day;
    QString month;
    QString year;
    QChar sep;
    QChar anySep;
    bool mappable = true;
    std::vector<const QString *> order;
    for (const PatternField &f : fields) {
        QString *target = nullptr;
        QString text;
        if (f.letter == u'd') {
            if (f.count > 2)
                continue; // weekday name
            target = &day;
            text = QString(f.count, u'd');
        } else if (f.letter == u'M') {
            // A month name has no numeric counterpart in this form.
            if (f.count > 2)
                mappable = false;
            target = &month;
            text = QString(f.count, u'M');
        } else if (f.letter == u'y') {
            target = &year;
            text = f.count == 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
        } else {
            continue;
        }
        if (anySep.isNull())
            anySep = f.separatorAfter;
        if (!target->isEmpty())
            mappable = false;
        *target = text;
        // The separator is the one after a field that another field follows.
        if (sep.isNull() && order.size() < 2)
            sep = f.separatorAfter;
        order.push_back(target);
    }
    if (sep.isNull() || order.size() != 3)
        sep = anySep;
    if (sep.isNull())
        sep = u'/';
    if (!mappable || order.size() != 3 || day.isEmpty() || month.isEmpty() || year.isEmpty())
        return QStringLiteral("M") + sep + QStringLiteral("d") + sep + QStringLiteral("yyyy");
    return *order[0] + sep + *order[1] + sep + *order[2];
}

QChar TimeSeparatorFromLocalePattern(const QString &pattern)
{
    for (const PatternField &f : patternFields(pattern)) {
        if (f.letter == u'h' || f.letter == u'H')
            return f.separatorAfter.isNull() ? QChar(u':') : f.separatorAfter;
    }
    return u':';
}

RegionalSettings RegionalSettingsFromLocale(const QLocale &locale)
{
    RegionalSettings s;
    s.decimal = locale.decimalPoint();
    // A separator that is not one UTF-16 unit cannot be matched character by character.
    const QString group = locale.groupSeparator();
    s.thousandSeparator = group.size() == 1 ? group.at(0) : QChar(u',');
    s.shortDateFormat = ShortDateFormatFromLocalePattern(locale.dateFormat(QLocale::ShortFormat));
    for (QChar c : s.shortDateFormat) {
        if (c != u'd' && c != u'M' && c != u'y') {
            s.dateSeparator = c;
            break;
        }
    }
    s.timeSeparator = TimeSeparatorFromLocalePattern(locale.timeFormat(QLocale::ShortFormat));
    return s;
}

RegionalSettings CurrentRegionalSettings()
{
    RegionalSettings s = pinnedSettings() ? *pinnedSettings() : systemSettings();
    if (pinnedDecimal())
        s.decimal = *pinnedDecimal();
    return s;
}

void OverrideRegionalSettings(std::optional<RegionalSettings> settings)
{
    pinnedSettings() = std::move(settings);
    pinnedDecimal().reset();
}

QString RegionalDecimalSetting()
{
    return CurrentRegionalSettings().decimal.left(3);
}

QChar ProgramDecimalSeparator()
{
    // Only ',' and '.' are taken, with ',' for anything else: the same rule the configurator
    // uses to pick the separator it writes numbers with, so its own texts always convert.
    const QString s = RegionalDecimalSetting();
    if (!s.isEmpty() && (s.at(0) == u',' || s.at(0) == u'.'))
        return s.at(0);
    return QChar(u',');
}

void OverrideDecimalSeparator(std::optional<QString> setting)
{
    pinnedDecimal() = std::move(setting);
}

bool TryStrToFloat(const QString &text, double &out)
{
    return TryStrToFloat(text, ProgramDecimalSeparator(), out);
}

bool TryStrToFloat(const QString &text, QChar sep, double &out)
{
    qsizetype i = 0;
    qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    while (n > i && text[n - 1] == u' ')
        --n;

    // Rebuilt in C notation so the conversion below never depends on the process locale; a
    // short text stays on the stack (the sort reads a number from every cell).
    std::string heap;
    char small[64];
    const bool onStack = n - i < qsizetype(sizeof small);
    if (!onStack)
        heap.reserve(size_t(n - i));
    qsizetype len = 0;
    auto put = [&](char ch) {
        if (onStack)
            small[len] = ch;
        else
            heap.push_back(ch);
        ++len;
    };
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            put('-');
        ++i;
    }
    int digits = 0;
    while (i < n && text[i].unicode() >= u'0' && text[i].unicode() <= u'9') {
        put(char(text[i++].unicode()));
        ++digits;
    }
    if (i < n && text[i] == sep) {
        put('.');
        ++i;
        while (i < n && text[i].unicode() >= u'0' && text[i].unicode() <= u'9') {
            put(char(text[i++].unicode()));
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        put('e');
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            put(char(text[i++].unicode()));
        int expDigits = 0;
        while (i < n && text[i].unicode() >= u'0' && text[i].unicode() <= u'9') {
            put(char(text[i++].unicode()));
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;

    const char *first = onStack ? small : heap.data();
    double v = 0;
    const auto [end, ec] = std::from_chars(first, first + len, v);
    if (ec == std::errc::result_out_of_range) {
        // Too large fails; too small for a double is 0 as far as anyone here is concerned.
        bool ok = false;
        v = QLocale::c().toDouble(QString::fromLatin1(first, len), &ok);
        if (!ok)
            return false;
    } else if (ec != std::errc() || end != first + len) {
        return false;
    }
    if (!std::isfinite(v))
        return false;
    out = v;
    return true;
}

bool TryStrToFloat(const QString &text, float &out)
{
    double d = 0;
    if (!TryStrToFloat(text, d))
        return false;
    if (std::fabs(d) > double(std::numeric_limits<float>::max()))
        return false;
    out = static_cast<float>(d);
    return true;
}

} // namespace plat
