#include "platform/os/Regional.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace plat {

namespace {

std::optional<QString> &overrideSetting()
{
    static std::optional<QString> value;
    return value;
}

} // namespace

QString RegionalDecimalSetting()
{
    const QString s = overrideSetting() ? *overrideSetting() : QLocale::system().decimalPoint();
    return s.left(3);
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
    overrideSetting() = std::move(setting);
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

    // Rebuilt in C notation so the conversion below never depends on the process locale.
    QByteArray c;
    c.reserve(n - i + 1);
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        c.append(char(text[i++].unicode()));
    int digits = 0;
    while (i < n && text[i].unicode() >= u'0' && text[i].unicode() <= u'9') {
        c.append(char(text[i++].unicode()));
        ++digits;
    }
    if (i < n && text[i] == sep) {
        c.append('.');
        ++i;
        while (i < n && text[i].unicode() >= u'0' && text[i].unicode() <= u'9') {
            c.append(char(text[i++].unicode()));
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        c.append('e');
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            c.append(char(text[i++].unicode()));
        int expDigits = 0;
        while (i < n && text[i].unicode() >= u'0' && text[i].unicode() <= u'9') {
            c.append(char(text[i++].unicode()));
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;

    bool ok = false;
    const double v = QLocale::c().toDouble(QString::fromLatin1(c), &ok);
    if (!ok || !std::isfinite(v))
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
