#include "grid/model/QrlGridFormat.h"

#include "grid/model/QrlGridParse.h"

#include <cmath>

namespace {

constexpr int MaxWidth = 1024; // a width or precision past this is surely not meant

bool isIntegral(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool isNumber(const QVariant &v)
{
    return isIntegral(v) || v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

QString groupThousands(const QString &digits)
{
    QString out;
    const QChar sep = RegionalThousandSeparator();
    const int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0 && !sep.isNull())
            out += sep;
        out += digits[i];
    }
    return out;
}

QString formatFloat(QChar type, double v, int prec)
{
    const QChar dec = RegionalDecimalSeparator();
    QString s;
    switch (type.toLower().unicode()) {
    case 'e':
        // The precision counts all digits, one of them before the point.
        s = QString::number(v, 'e', prec < 0 ? 14 : std::max(0, std::min(prec, 18) - 1));
        break;
    case 'g':
        s = QString::number(v, 'g', prec < 0 ? 15 : std::max(1, std::min(prec, 18)));
        break;
    case 'f':
        s = QString::number(v, 'f', prec < 0 ? 2 : std::min(prec, 18));
        break;
    default: { // n, m: fixed with grouped thousands
        s = QString::number(std::fabs(v), 'f', prec < 0 ? 2 : std::min(prec, 18));
        const qsizetype dot = s.indexOf(QLatin1Char('.'));
        const QString whole = dot < 0 ? s : s.left(dot);
        const QString frac = dot < 0 ? QString() : s.mid(dot);
        s = groupThousands(whole) + frac;
        if (v < 0)
            s.prepend(QLatin1Char('-'));
        break;
    }
    }
    if (dec != QLatin1Char('.')) {
        const qsizetype dot = s.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0)
            s[dot] = dec;
    }
    return s;
}

} // namespace

bool GridFormat(const QString &Fmt, const QVariantList &Args, QString &Out)
{
    Out.clear();
    QString out;
    int argIndex = 0;
    const qsizetype n = Fmt.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = Fmt[i];
        if (ch != QLatin1Char('%')) {
            out += ch;
            continue;
        }
        if (++i >= n)
            return false;
        if (Fmt[i] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            continue;
        }
        auto readNumber = [&](int &value) {
            value = -1;
            while (i < n && Fmt[i].isDigit()) {
                value = (value < 0 ? 0 : value) * 10 + Fmt[i].digitValue();
                if (value > MaxWidth)
                    return false;
                ++i;
            }
            return true;
        };
        int first = -1;
        bool left = false;
        if (!readNumber(first))
            return false;
        if (i < n && Fmt[i] == QLatin1Char(':')) { // explicit argument index
            if (first < 0)
                return false;
            argIndex = first;
            first = -1;
            ++i;
        }
        if (first < 0 && i < n && Fmt[i] == QLatin1Char('-')) {
            left = true;
            ++i;
        }
        int width = first;
        if (width < 0 && !readNumber(width))
            return false;
        int prec = -1;
        if (i < n && Fmt[i] == QLatin1Char('.')) {
            ++i;
            if (!readNumber(prec))
                return false;
            if (prec < 0)
                prec = 0;
        }
        if (i >= n || argIndex >= Args.size())
            return false;
        const QChar type = Fmt[i];
        const QVariant &arg = Args[argIndex++];
        QString piece;
        switch (type.toLower().unicode()) {
        case 'd':
        case 'u': {
            if (!isIntegral(arg))
                return false;
            const qlonglong v = arg.toLongLong();
            piece = QString::number(v < 0 ? -v : v);
            if (prec > 0 && piece.size() < prec)
                piece = QString(prec - piece.size(), QLatin1Char('0')) + piece;
            if (v < 0)
                piece.prepend(QLatin1Char('-'));
            break;
        }
        case 'x':
            if (!isIntegral(arg))
                return false;
            piece = QString::number(static_cast<qulonglong>(arg.toLongLong()) & 0xFFFFFFFFull, 16)
                        .toUpper();
            if (prec > 0 && piece.size() < prec)
                piece = QString(prec - piece.size(), QLatin1Char('0')) + piece;
            break;
        case 'e':
        case 'f':
        case 'g':
        case 'n':
        case 'm': {
            if (!isNumber(arg))
                return false;
            const double v = arg.toDouble();
            if (!std::isfinite(v))
                return false;
            piece = formatFloat(type, v, prec);
            break;
        }
        case 's':
            piece = arg.toString();
            if (prec >= 0 && piece.size() > prec)
                piece.truncate(prec);
            break;
        default:
            return false;
        }
        if (width > piece.size()) {
            const QString pad(width - piece.size(), QLatin1Char(' '));
            piece = left ? piece + pad : pad + piece;
        }
        out += piece;
    }
    Out = out;
    return true;
}

bool GridTryStrToInt(const QString &Text, int &Value)
{
    const qsizetype n = Text.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (Text[i] == u'+' || Text[i] == u'-')) {
        negative = Text[i] == u'-';
        ++i;
    }
    bool hex = false;
    if (i < n && (Text[i] == u'$' || Text[i] == u'x' || Text[i] == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && Text[i] == u'0' && (Text[i + 1] == u'x' || Text[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    if (i >= n)
        return false;
    qint64 v = 0;
    if (hex) {
        if (n - i > 8)
            return false;
        for (; i < n; ++i) {
            const char16_t c = Text[i].unicode();
            int dv = -1;
            if (c >= u'0' && c <= u'9')
                dv = c - u'0';
            else if (c >= u'a' && c <= u'f')
                dv = c - u'a' + 10;
            else if (c >= u'A' && c <= u'F')
                dv = c - u'A' + 10;
            if (dv < 0)
                return false;
            v = v * 16 + dv;
        }
        const auto bits = static_cast<quint32>(v);
        const auto s = static_cast<qint32>(bits);
        Value = negative ? static_cast<int>(-static_cast<qint64>(s)) : s;
        if (negative && s == INT32_MIN)
            return false;
        return true;
    }
    for (; i < n; ++i) {
        const char16_t c = Text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c - u'0');
        if (v > qint64(INT32_MAX) + 1)
            return false;
    }
    if (negative)
        v = -v;
    if (v > INT32_MAX || v < INT32_MIN)
        return false;
    Value = static_cast<int>(v);
    return true;
}

bool GridTryStrToFloat(const QString &Text, double &Value)
{
    // Digits with one optional point and an optional exponent; no blanks, no separators.
    const qsizetype n = Text.size();
    qsizetype i = 0;
    if (i < n && (Text[i] == u'+' || Text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && Text[i].isDigit() && Text[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < n && Text[i] == u'.') {
        ++i;
        while (i < n && Text[i].isDigit() && Text[i].unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (Text[i] == u'e' || Text[i] == u'E')) {
        ++i;
        if (i < n && (Text[i] == u'+' || Text[i] == u'-'))
            ++i;
        qsizetype ed = 0;
        while (i < n && Text[i].isDigit() && Text[i].unicode() < 128) {
            ++i;
            ++ed;
        }
        if (ed == 0)
            return false;
    }
    if (i != n)
        return false;
    bool ok = false;
    const double v = Text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    Value = v;
    return true;
}

QString GridDateToStr(double Value)
{
    int y = 0, m = 0, d = 0;
    qrlDecodeDate(Value, y, m, d);
    const QString fmt = RegionalShortDateFormat();
    const QChar sep = RegionalDateSeparator();
    QString out;
    for (qsizetype i = 0; i < fmt.size();) {
        const QChar c = fmt[i].toLower();
        qsizetype run = 1;
        while (i + run < fmt.size() && fmt[i + run].toLower() == c)
            ++run;
        if (c == u'd')
            out += run >= 2 ? QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0'))
                            : QString::number(d);
        else if (c == u'm')
            out += run >= 2 ? QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'))
                            : QString::number(m);
        else if (c == u'y')
            out += run <= 2 ? QStringLiteral("%1").arg(y % 100, 2, 10, QLatin1Char('0'))
                            : QStringLiteral("%1").arg(y, 4, 10, QLatin1Char('0'));
        else if (c == u'/')
            out += QString(run, sep);
        else
            out += fmt.mid(i, run);
        i += run;
    }
    return out;
}

QString GridTimeToStr(double Value)
{
    if (!std::isfinite(Value))
        throw EQrlConvertError(QStringLiteral("Invalid time"));
    double frac = Value - std::floor(Value);
    qint64 secs = static_cast<qint64>(std::llround(frac * 86400.0)) % 86400;
    const QChar sep = RegionalTimeSeparator();
    return QStringLiteral("%1%2%3%4%5")
        .arg(secs / 3600)
        .arg(sep)
        .arg((secs / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(sep)
        .arg(secs % 60, 2, 10, QLatin1Char('0'));
}

double GridStrToDate(const QString &Text)
{
    double v = 0;
    if (!TextToDateTime(Text.trimmed(), v))
        throw EQrlConvertError(QStringLiteral("'%1' is not a valid date").arg(Text));
    return v;
}

double GridStrToTime(const QString &Text)
{
    const QStringList parts = Text.trimmed().split(RegionalTimeSeparator());
    if (parts.size() < 2 || parts.size() > 3)
        throw EQrlConvertError(QStringLiteral("'%1' is not a valid time").arg(Text));
    int f[3] = {0, 0, 0};
    for (qsizetype k = 0; k < parts.size(); ++k) {
        int v = 0;
        if (!GridTryStrToInt(parts[k], v) || parts[k].startsWith(u'$') || v < 0)
            throw EQrlConvertError(QStringLiteral("'%1' is not a valid time").arg(Text));
        f[k] = v;
    }
    double t = 0;
    if (!qrlTryEncodeTime(f[0], f[1], f[2], 0, t))
        throw EQrlConvertError(QStringLiteral("'%1' is not a valid time").arg(Text));
    return t;
}
