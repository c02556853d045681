#include "platform/text/StrConv.h"

namespace plat {

namespace {

inline bool isTrimmed(QChar c)
{
    return c.unicode() <= 0x20;
}

} // namespace

bool TryStrToInt(const QString &text, int32_t &out)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i >= n)
        return false;
    // 64-bit accumulator with an early stop, so long digit runs cannot overflow it.
    int64_t value = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
        if (value > int64_t(INT32_MAX) + 1)
            return false;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return false;
    out = static_cast<int32_t>(value);
    return true;
}

int32_t StrToIntDef(const QString &text, int32_t fallback)
{
    int32_t v = 0;
    return TryStrToInt(text, v) ? v : fallback;
}

QString Trim(const QString &text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && isTrimmed(text[b]))
        ++b;
    while (e > b && isTrimmed(text[e - 1]))
        --e;
    if (b == 0 && e == text.size())
        return text;
    return text.mid(b, e - b);
}

QString TrimLeft(const QString &text)
{
    qsizetype b = 0;
    while (b < text.size() && isTrimmed(text[b]))
        ++b;
    return b == 0 ? text : text.mid(b);
}

QString TrimRight(const QString &text)
{
    qsizetype e = text.size();
    while (e > 0 && isTrimmed(text[e - 1]))
        --e;
    return e == text.size() ? text : text.left(e);
}

} // namespace plat
