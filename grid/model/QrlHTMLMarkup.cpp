#include "grid/model/QrlHTMLMarkup.h"

#include <array>

namespace {

bool startsWithCI(QStringView s, qsizetype at, QLatin1StringView word)
{
    if (at + word.size() > s.size())
        return false;
    return s.mid(at, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

struct TEntity
{
    QLatin1StringView name;
    const char16_t *text;
};

// Entities of the whole text. "&amp;" stays an escaped ampersand for the text drawing.
constexpr std::array<TEntity, 9> textEntities{{
    {QLatin1StringView("&amp;"), u"&&"},
    {QLatin1StringView("&quot;"), u"\""},
    {QLatin1StringView("&sect;"), u"\u00A7"},
    {QLatin1StringView("&permil;"), u"\u2030"},
    {QLatin1StringView("&reg;"), u"\u00AE"},
    {QLatin1StringView("&copy;"), u"\u00A9"},
    {QLatin1StringView("&para;"), u"\u00B6"},
    {QLatin1StringView("&trade;"), u"\u2122"},
    {QLatin1StringView("&euro;"), u"\u20AC"},
}};

QChar upper(QChar c)
{
    return c >= u'a' && c <= u'z' ? QChar(c.unicode() - 32) : c;
}

int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    const QChar u = upper(c);
    if (u >= u'A' && u <= u'F')
        return u.unicode() - u'A' + 10;
    return 0;
}

} // namespace

QString PrepareHTMLMarkup(const QString &Text)
{
    QString out;
    out.reserve(Text.size() + 8);
    const QStringView s(Text);
    bool dropNextClose = false; // a "<#" placeholder waits for its ">"
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'&') {
            bool replaced = false;
            for (const TEntity &e : textEntities) {
                if (startsWithCI(s, i, e.name)) {
                    out += QString::fromUtf16(e.text);
                    i += e.name.size() - 1;
                    replaced = true;
                    break;
                }
            }
            if (!replaced)
                out += c;
            continue;
        }
        if (c == u'<' && i + 1 < s.size() && s[i + 1] == u'#') {
            dropNextClose = true;
            continue;
        }
        if (c == u'>' && dropNextClose) {
            dropNextClose = false;
            continue;
        }
        if (c == u'\r') {
            out += QLatin1StringView("<BR>");
            continue;
        }
        if (c == u'\n')
            continue;
        out += c;
    }
    return out;
}

QString DecodeHTMLRun(QStringView Run)
{
    if (!Run.contains(u'&'))
        return Run.toString();
    QString out;
    out.reserve(Run.size());
    for (qsizetype i = 0; i < Run.size(); ++i) {
        if (Run[i] == u'&') {
            if (Run.mid(i).startsWith(u"&nbsp;")) {
                out += QChar(0x00A0);
                i += 5;
                continue;
            }
            if (Run.mid(i).startsWith(u"&lt;")) {
                out += u'<';
                i += 3;
                continue;
            }
            if (Run.mid(i).startsWith(u"&gt;")) {
                out += u'>';
                i += 3;
                continue;
            }
        }
        out += Run[i];
    }
    return out;
}

THTMLTagKind ClassifyHTMLTag(QStringView Tag)
{
    THTMLTagKind k;
    if (Tag.size() < 2 || Tag[0] != u'<')
        return k;
    // A closing tag needs two more characters after "</" (its letter and at least ">").
    if (Tag[1] == u'/' && Tag.size() >= 4) {
        k.closing = true;
        const QChar l = upper(Tag[2]);
        const QChar n = upper(Tag[3]);
        switch (l.unicode()) {
        case u'A': k.tag = THTMLTag::A; break;
        case u'B': k.tag = n == u'>' ? THTMLTag::B : THTMLTag::Blink; break;
        case u'C': k.tag = THTMLTag::Control; break;
        case u'E': k.tag = THTMLTag::E; break;
        case u'F': k.tag = THTMLTag::Font; break;
        case u'H': k.tag = THTMLTag::Hi; break;
        case u'I': k.tag = THTMLTag::I; break;
        case u'L': k.tag = THTMLTag::LI; break;
        case u'P': k.tag = THTMLTag::P; break;
        case u'R': k.tag = THTMLTag::R; break;
        case u'S':
            k.tag = n == u'U' ? THTMLTag::Sub : n == u'H' ? THTMLTag::Shad : THTMLTag::S;
            break;
        case u'U': k.tag = n == u'>' ? THTMLTag::U : THTMLTag::UL; break;
        case u'Z': k.tag = THTMLTag::Z; break;
        default: k.tag = THTMLTag::None; break;
        }
        return k;
    }
    const QChar l = upper(Tag[1]);
    const QChar n = Tag.size() > 2 ? upper(Tag[2]) : QChar();
    switch (l.unicode()) {
    case u'A': k.tag = THTMLTag::A; break;
    case u'B':
        k.tag = n == u'>'   ? THTMLTag::B
                : n == u'R' ? THTMLTag::BR
                : n == u'L' ? THTMLTag::Blink
                : n == u'O' ? THTMLTag::Body
                            : THTMLTag::None;
        break;
    case u'C': k.tag = THTMLTag::Control; break;
    case u'E': k.tag = THTMLTag::E; break;
    case u'F': k.tag = THTMLTag::Font; break;
    case u'H':
        k.tag = n == u'I' ? THTMLTag::Hi : n == u'R' ? THTMLTag::HR : THTMLTag::None;
        break;
    case u'I':
        k.tag = n == u'>'   ? THTMLTag::I
                : n == u'M' ? THTMLTag::Img
                : n == u'N' ? THTMLTag::Ind
                            : THTMLTag::None;
        break;
    case u'L': k.tag = THTMLTag::LI; break;
    case u'P': k.tag = THTMLTag::P; break;
    case u'R': k.tag = THTMLTag::R; break;
    case u'S':
        if (n == u'>')
            k.tag = THTMLTag::S;
        else if (n == u'H')
            k.tag = THTMLTag::Shad;
        else if (startsWithCI(Tag, 0, QLatin1StringView("<SUB>")))
            k.tag = THTMLTag::Sub;
        else if (startsWithCI(Tag, 0, QLatin1StringView("<SUP>")))
            k.tag = THTMLTag::Sup;
        break;
    case u'U': k.tag = n == u'>' ? THTMLTag::U : THTMLTag::UL; break;
    case u'Z': k.tag = THTMLTag::Z; break;
    default: break;
    }
    return k;
}

THTMLToken NextHTMLToken(QStringView Text, qsizetype Pos, bool WordWrap)
{
    THTMLToken t;
    t.begin = Pos;
    t.end = Text.size();
    if (Pos >= Text.size())
        return t;
    if (Text[Pos] == u'<') {
        const qsizetype close = Text.size() - Pos <= 2 ? -1 : Text.indexOf(u'>', Pos);
        if (close < 0)
            return t; // End: the rest is dropped
        t.kind = THTMLToken::Kind::Tag;
        t.end = close + 1;
        return t;
    }
    t.kind = THTMLToken::Kind::Text;
    qsizetype i = Pos;
    while (i < Text.size() && Text[i] != u'<') {
        if (WordWrap && Text[i] == u' ') {
            ++i;
            break;
        }
        ++i;
    }
    t.end = i;
    return t;
}

bool HTMLTagAttribute(QStringView Tag, QStringView Name, QString &Value, bool Upper, qsizetype From)
{
    Value.clear();
    if (Name.isEmpty() || From >= Tag.size())
        return false;
    const qsizetype at = Tag.indexOf(Name, From, Qt::CaseInsensitive);
    if (at < 0)
        return false;
    const qsizetype q1 = Tag.indexOf(u'"', at + Name.size());
    if (q1 < 0)
        return false;
    const qsizetype q2 = Tag.indexOf(u'"', q1 + 1);
    if (q2 < 0)
        return false;
    Value = Tag.mid(q1 + 1, q2 - q1 - 1).toString();
    if (Upper)
        Value = Value.toUpper();
    return true;
}

QString HTMLTagAttribute(QStringView Tag, QStringView Name, bool Upper)
{
    QString v;
    HTMLTagAttribute(Tag, Name, v, Upper);
    return v;
}

TColor HTMLHexColor(QStringView Value)
{
    QStringView v = Value;
    if (v.startsWith(u'#'))
        v = v.mid(1);
    int digits[6] = {0, 0, 0, 0, 0, 0};
    for (qsizetype i = 0; i < 6 && i < v.size(); ++i)
        digits[i] = hexDigit(v[i]);
    const TColor r = TColor(digits[0] * 16 + digits[1]);
    const TColor g = TColor(digits[2] * 16 + digits[3]);
    const TColor b = TColor(digits[4] * 16 + digits[5]);
    return r + g * 256 + b * 65536;
}

TColor HTMLColorName(QStringView Name)
{
    struct TNamed
    {
        QLatin1StringView name;
        TColor value;
    };
    static constexpr TNamed fixed[] = {
        {QLatin1StringView("clred"), 0x0000FF},     {QLatin1StringView("clblack"), 0x000000},
        {QLatin1StringView("clblue"), 0xFF0000},    {QLatin1StringView("clgreen"), 0x008000},
        {QLatin1StringView("claqua"), 0xFFFF00},    {QLatin1StringView("clyellow"), 0x00FFFF},
        {QLatin1StringView("clfuchsia"), 0xFF00FF}, {QLatin1StringView("clwhite"), 0xFFFFFF},
        {QLatin1StringView("cllime"), 0x00FF00},    {QLatin1StringView("clsilver"), 0xC0C0C0},
        {QLatin1StringView("clgray"), 0x808080},    {QLatin1StringView("clolive"), 0x008080},
        {QLatin1StringView("clnavy"), 0x800000},    {QLatin1StringView("clpurple"), 0x800080},
        {QLatin1StringView("clteal"), 0x808000},    {QLatin1StringView("clmaroon"), 0x000080},
    };
    // In system colour index order, from 1.
    static constexpr QLatin1StringView system[] = {
        QLatin1StringView("clbackground"),
        QLatin1StringView("clactivecaption"),
        QLatin1StringView("clinactivecaption"),
        QLatin1StringView("clmenu"),
        QLatin1StringView("clwindow"),
        QLatin1StringView("clwindowframe"),
        QLatin1StringView("clmenutext"),
        QLatin1StringView("clwindowtext"),
        QLatin1StringView("clcaptiontext"),
        QLatin1StringView("clactiveborder"),
        QLatin1StringView("clinactiveborder"),
        QLatin1StringView("clappworkspace"),
        QLatin1StringView("clhighlight"),
        QLatin1StringView("clhighlighttext"),
        QLatin1StringView("clbtnface"),
        QLatin1StringView("clbtnshadow"),
        QLatin1StringView("clgraytext"),
        QLatin1StringView("clbtntext"),
        QLatin1StringView("clinactivecaptiontext"),
        QLatin1StringView("clbtnhighlight"),
        QLatin1StringView("cl3ddkshadow"),
        QLatin1StringView("cl3dlight"),
        QLatin1StringView("clinfotext"),
        QLatin1StringView("clinfobk"),
    };
    // Names are short; a long value is no name and is not lower-cased at all.
    if (Name.size() > 32)
        return 0;
    const QString lower = Name.toString().toLower();
    for (const TNamed &n : fixed)
        if (lower == n.name)
            return n.value;
    for (std::size_t i = 0; i < std::size(system); ++i)
        if (lower == system[i])
            return 0xFF000000u + TColor(i + 1);
    return 0;
}

TColor HTMLColorValue(QStringView Value)
{
    if (Value.startsWith(u'#'))
        return HTMLHexColor(Value);
    return HTMLColorName(Value);
}

TColor HTMLBodyColorValue(QStringView Value)
{
    if (Value.contains(u"CL", Qt::CaseInsensitive))
        return HTMLColorName(Value);
    const qsizetype hash = Value.indexOf(u'#');
    if (hash >= 0)
        return HTMLHexColor(Value.mid(hash));
    return clNone;
}

int HTMLNumber(QStringView Value, int Fallback, bool *Ok)
{
    bool ok = false;
    const int v = Value.trimmed().toInt(&ok);
    if (Ok)
        *Ok = ok;
    return ok ? v : Fallback;
}
