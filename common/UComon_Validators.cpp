#include "common/UComon_Validators.h"

#include "platform/os/Regional.h"
#include "platform/os/SerialPorts.h"
#include "platform/text/StrConv.h"

using plat::StrToIntDef;
using plat::Trim;

namespace {

inline bool inRange(int32_t v, int32_t lo, int32_t hi)
{
    return v >= lo && v <= hi;
}

// Splits at the first occurrence of sep: head before it, tail after it, both trimmed.
// False (outputs untouched) when sep is absent.
bool splitTrimmed(const QString &text, QChar sep, QString &head, QString &tail)
{
    const qsizetype p = text.indexOf(sep);
    if (p < 0)
        return false;
    head = Trim(text.left(p));
    tail = Trim(text.mid(p + 1));
    return true;
}

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool isAsciiAlnum(QChar c)
{
    const char16_t u = c.unicode();
    return isAsciiDigit(c) || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

} // namespace

bool Split_IP_Address(const QString &text, QString &ip1, QString &ip2, QString &ip3, QString &ip4)
{
    QString rest = Trim(text);
    if (!splitTrimmed(rest, u'.', ip1, rest))
        return false;
    if (!splitTrimmed(rest, u'.', ip2, rest))
        return false;
    if (!splitTrimmed(rest, u'.', ip3, rest))
        return false;
    ip4 = rest; // already trimmed; further dots stay and make it invalid
    for (const QString *part : {&ip1, &ip2, &ip3, &ip4}) {
        if (!inRange(StrToIntDef(*part, 1000), 0, 255))
            return false;
    }
    return true;
}

bool Str_To_IP_Bytes(const QString &text, uint8_t &b1, uint8_t &b2, uint8_t &b3, uint8_t &b4)
{
    if (text.isEmpty())
        return true;
    QString rest = text;
    QString parts[4];
    for (int i = 0; i < 3; ++i) {
        const qsizetype p = rest.indexOf(u'.');
        if (p >= 0) {
            parts[i] = rest.left(p);
            rest = rest.mid(p + 1);
        }
    }
    parts[3] = rest;
    bool error = false;
    uint8_t *bytes[4] = {&b1, &b2, &b3, &b4};
    for (int i = 0; i < 4; ++i) {
        const int32_t v = StrToIntDef(parts[i], -1);
        if (inRange(v, 0, 255)) {
            *bytes[i] = static_cast<uint8_t>(v);
        } else {
            *bytes[i] = 0;
            error = true;
        }
    }
    return error;
}

bool Str_To_IP_Port(
    const QString &text, uint8_t &b1, uint8_t &b2, uint8_t &b3, uint8_t &b4, uint16_t &port)
{
    b1 = b2 = b3 = b4 = 0;
    port = 0;
    if (text.isEmpty())
        return false;

    QString rest = text;
    int32_t v[4] = {0, 0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        QString part;
        if (!splitTrimmed(rest, u'.', part, rest))
            return false;
        v[i] = StrToIntDef(part, -1);
        if (!inRange(v[i], 0, 255))
            return false;
    }
    QString last, portText;
    if (!splitTrimmed(rest, u':', last, portText))
        return false;
    v[3] = StrToIntDef(last, -1);
    const int32_t p = StrToIntDef(portText, -1);
    if (!inRange(v[3], 0, 255) || !inRange(p, 0, 65535))
        return false;

    b1 = uint8_t(v[0]);
    b2 = uint8_t(v[1]);
    b3 = uint8_t(v[2]);
    b4 = uint8_t(v[3]);
    port = uint16_t(p);
    return true;
}

int32_t Check_KNX_Address(const QString &text, bool isGroup, bool allowAllZero)
{
    constexpr int32_t valid = 0;
    constexpr int32_t invalid = 1;

    if (!isGroup) {
        if (text.contains(u'/'))
            return invalid;
        if (!text.contains(u'.'))
            return inRange(StrToIntDef(text, -1), 1, 65535) ? valid : invalid;
        QString area, rest, line, device;
        splitTrimmed(text, u'.', area, rest);
        if (!splitTrimmed(rest, u'.', line, device) || device.contains(u'.'))
            return invalid;
        const int32_t a = StrToIntDef(area, -1);
        const int32_t l = StrToIntDef(line, -1);
        const int32_t d = StrToIntDef(device, -1);
        if (!inRange(a, 0, 15) || !inRange(l, 0, 15) || !inRange(d, 0, 255))
            return invalid;
        if (!allowAllZero && a == 0 && l == 0 && d == 0)
            return invalid;
        return valid;
    }

    if (text.contains(u'.'))
        return invalid;
    if (!text.contains(u'/'))
        return inRange(StrToIntDef(text, -1), 1, 65535) ? valid : invalid;
    QString mainText, rest;
    splitTrimmed(text, u'/', mainText, rest);
    const int32_t m = StrToIntDef(mainText, -1);
    if (!rest.contains(u'/')) {
        const int32_t s = StrToIntDef(rest, -1);
        if (!inRange(m, 0, 31) || !inRange(s, 0, 2047) || (m == 0 && s == 0))
            return invalid;
        return valid;
    }
    QString middleText, subText;
    splitTrimmed(rest, u'/', middleText, subText);
    if (subText.contains(u'/'))
        return invalid;
    const int32_t mid = StrToIntDef(middleText, -1);
    const int32_t s = StrToIntDef(subText, -1);
    if (!inRange(m, 0, 31) || !inRange(mid, 0, 7) || !inRange(s, 0, 255) ||
        (m == 0 && mid == 0 && s == 0))
        return invalid;
    return valid;
}

bool Is_Group_Address(const QString &text)
{
    return !text.contains(u'.');
}

int32_t Check_OID(const QString &text)
{
    if (text.size() > 61)
        return 1;
    for (QChar c : text) {
        if (c != u'.' && !isAsciiDigit(c))
            return 2;
    }
    // An empty text has no first component, which is what a leading dot means too.
    if (text.isEmpty() || text.startsWith(u'.'))
        return 3;
    if (text.endsWith(u'.'))
        return 4;
    if (text.contains(QStringLiteral("..")))
        return 5;
    // Compare components as digit strings: they can be far longer than any integer type.
    static const QString maxComponent = QStringLiteral("4294967295");
    for (const QString &component : text.split(u'.')) {
        qsizetype z = 0;
        while (z < component.size() - 1 && component[z] == u'0')
            ++z;
        const QStringView digits = QStringView(component).mid(z);
        if (digits.size() > maxComponent.size() ||
            (digits.size() == maxComponent.size() && digits.compare(maxComponent) > 0))
            return 6;
    }
    return 0;
}

int32_t Check_SNMP_Password(const QString &text, bool allowShort)
{
    if (text.size() < (allowShort ? 1 : 8))
        return 2;
    if (text.size() > 15)
        return 1;
    for (QChar c : text) {
        if (!isAsciiAlnum(c))
            return 3;
    }
    return 0;
}

int8_t Get_SNMP_Security_Level(const QString &text)
{
    const QString s = Trim(text.toUpper());
    if (s == QLatin1String("AUTH NOPRIV"))
        return 1;
    if (s == QLatin1String("AUTH PRIV"))
        return 3;
    if (s.isEmpty())
        return -1;
    return 0;
}

QString Get_Decimal_Separator()
{
    const QString setting = plat::RegionalDecimalSetting();
    if (setting.isEmpty())
        return QStringLiteral(",");
    const QChar first = setting.at(0);
    if (first == u',' || first == u'.')
        return QString(first);
    return QStringLiteral(",");
}

bool Str_To_Float_Sep(const QString &text, const QString &separator, float &value)
{
    QString s = text;
    if (separator == QLatin1String("."))
        s.replace(u',', u'.');
    else
        s.replace(u'.', u',');
    float f = 0;
    if (plat::TryStrToFloat(s, f)) {
        value = f;
        return true;
    }
    value = 1.0f;
    return false;
}

QStringList Get_COM_Ports()
{
    QStringList ports;
    for (int n = 1; n <= 256; ++n) {
        if (plat::SerialPortPresent(n))
            ports.append(QString::number(n));
    }
    return ports;
}
