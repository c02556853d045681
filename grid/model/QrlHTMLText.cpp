// The mini-HTML string routines. Cell texts come from files and the clipboard, so every routine
// works in one or two left-to-right passes: no replace-and-rescan loops, no re-search from the
// start after each change.
#include "grid/model/QrlHTMLText.h"

#include <QStringView>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <vector>

namespace {

std::atomic<TColor> highlightColor{0};
std::atomic<TColor> highlightTextColor{0};

struct NamedEntity
{
    QStringView name; // between "&" and ";"
    char16_t ch;
};

// The accented letters and signs of the form-control values and the exports.
constexpr NamedEntity namedEntities[] = {
    {u"eacute", u'\u00E9'}, {u"egrave", u'\u00E8'}, {u"euml", u'\u00EB'},   {u"ecirc", u'\u00EA'},
    {u"oacute", u'\u00F3'}, {u"ograve", u'\u00F2'}, {u"ouml", u'\u00F6'},   {u"ocirc", u'\u00F4'},
    {u"iacute", u'\u00ED'}, {u"igrave", u'\u00EC'}, {u"iuml", u'\u00EF'},   {u"icirc", u'\u00EE'},
    {u"uacute", u'\u00FA'}, {u"ugrave", u'\u00F9'}, {u"uuml", u'\u00FC'},   {u"ucirc", u'\u00FB'},
    {u"aacute", u'\u00E1'}, {u"agrave", u'\u00E0'}, {u"auml", u'\u00E4'},   {u"acirc", u'\u00E2'},
    {u"Eacute", u'\u00C9'}, {u"Egrave", u'\u00C8'}, {u"Euml", u'\u00CB'},   {u"Ecirc", u'\u00CA'},
    {u"Oacute", u'\u00D3'}, {u"Ograve", u'\u00D2'}, {u"Ouml", u'\u00D6'},   {u"Ocirc", u'\u00D4'},
    {u"Iacute", u'\u00CD'}, {u"Igrave", u'\u00CC'}, {u"Iuml", u'\u00CF'},   {u"Icirc", u'\u00CE'},
    {u"Uacute", u'\u00DA'}, {u"Ugrave", u'\u00D9'}, {u"Uuml", u'\u00DC'},   {u"Ucirc", u'\u00DB'},
    {u"Aacute", u'\u00C1'}, {u"Agrave", u'\u00C0'}, {u"Auml", u'\u00C4'},   {u"Acirc", u'\u00C2'},
    {u"ccedil", u'\u00E7'}, {u"Ccedil", u'\u00C7'}, {u"oslash", u'\u00F8'}, {u"Oslash", u'\u00D8'},
    {u"aring", u'\u00E5'},  {u"Aring", u'\u00C5'},  {u"copy", u'\u00A9'},   {u"reg", u'\u00AE'},
    {u"euro", u'\u20AC'},   {u"laquo", u'\u00AB'},  {u"raquo", u'\u00BB'},
};

constexpr NamedEntity basicEntities[] = {
    {u"lt", u'<'}, {u"gt", u'>'}, {u"amp", u'&'}, {u"quot", u'"'}};

// Longest entity with its "&" and ";" ("&Eacute;"); bounds the look-ahead for the ";".
constexpr qsizetype maxEntityLength = 8;

const NamedEntity *findEntity(QStringView name, bool all)
{
    for (const NamedEntity &e : basicEntities)
        if (e.name == name)
            return &e;
    if (all)
        for (const NamedEntity &e : namedEntities)
            if (e.name == name)
                return &e;
    return nullptr;
}

QStringView entityOf(QChar c)
{
    for (const NamedEntity &e : namedEntities)
        if (e.ch == c.unicode())
            return e.name;
    return {};
}

// Upper case per code point, keeping the UTF-16 length so that positions in the copy are
// positions in the original (QString::toUpper turns "ß" into "SS").
QString upperSameLength(QStringView s)
{
    QString out(s.size(), Qt::Uninitialized);
    QChar *o = out.data();
    for (qsizetype i = 0; i < s.size();) {
        char32_t c = s[i].unicode();
        qsizetype len = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(s[i], s[i + 1]);
            len = 2;
        }
        char32_t u = QChar::toUpper(c);
        if ((QChar::requiresSurrogates(u) ? 2 : 1) != len)
            u = c;
        if (len == 1) {
            o[i] = QChar(char16_t(u));
        } else {
            o[i] = QChar(QChar::highSurrogate(u));
            o[i + 1] = QChar(QChar::lowSurrogate(u));
        }
        i += len;
    }
    return out;
}

// Starts of the leftmost non-overlapping occurrences of needle (KMP: linear in both, whatever
// the input repeats).
std::vector<qsizetype> findAll(QStringView hay, QStringView needle)
{
    std::vector<qsizetype> found;
    const qsizetype m = needle.size();
    if (m == 0 || hay.size() < m)
        return found;
    std::vector<qsizetype> border(size_t(m), 0);
    for (qsizetype i = 1, k = 0; i < m; ++i) {
        while (k > 0 && needle[i] != needle[k])
            k = border[size_t(k - 1)];
        if (needle[i] == needle[k])
            ++k;
        border[size_t(i)] = k;
    }
    for (qsizetype i = 0, k = 0; i < hay.size(); ++i) {
        while (k > 0 && hay[i] != needle[k])
            k = border[size_t(k - 1)];
        if (hay[i] == needle[k])
            ++k;
        if (k == m) {
            found.push_back(i - m + 1);
            k = 0; // the next match starts after this one
        }
    }
    return found;
}

std::vector<qsizetype> findAll(const QString &hay, const QString &needle, bool doCase)
{
    if (doCase)
        return findAll(QStringView(hay), QStringView(needle));
    return findAll(QStringView(upperSameLength(hay)), QStringView(upperSameLength(needle)));
}

// Text without the occurrences of pattern (any case).
QString removeAll(const QString &text, const QString &pattern)
{
    const std::vector<qsizetype> at = findAll(text, pattern, false);
    if (at.empty())
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    for (qsizetype p : at) {
        out.append(QStringView(text).mid(from, p - from));
        from = p + pattern.size();
    }
    out.append(QStringView(text).mid(from));
    return out;
}

// The text outside tags, as StripHTMLTags leaves it before line breaks count; textPos (when
// given) receives each visible character's position in text, plus text.size() at the end.
QString visibleText(const QString &text, std::vector<qsizetype> *textPos)
{
    QString out;
    out.reserve(text.size());
    if (textPos)
        textPos->reserve(size_t(text.size()) + 1);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        if (text[i] == u'<') {
            const qsizetype close = text.indexOf(u'>', i + 1);
            if (close >= 0) {
                i = close + 1;
                continue;
            }
            // No ">" follows, so no later "<" opens a tag either: the rest is visible.
            for (; i < n; ++i) {
                out.append(text[i]);
                if (textPos)
                    textPos->push_back(i);
            }
            break;
        }
        out.append(text[i]);
        if (textPos)
            textPos->push_back(i);
        ++i;
    }
    if (textPos)
        textPos->push_back(n);
    return out;
}

QString escapeAngles(const QString &s)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        if (c == u'<')
            out.append(u"&lt;");
        else if (c == u'>')
            out.append(u"&gt;");
        else
            out.append(c);
    }
    return out;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

struct ControlFields
{
    QString type, id, maxLen, prop, height, width, value;
};

ControlFields parseControl(QStringView tag)
{
    ControlFields f;
    QString *const targets[] = {&f.type, &f.id, &f.maxLen, &f.prop, &f.height, &f.width, &f.value};
    const QStringView names[] = {u"TYPE", u"ID", u"MAXLEN", u"PROP", u"HEIGHT", u"WIDTH", u"VALUE"};
    bool seen[std::size(names)] = {};

    const qsizetype n = tag.size();
    qsizetype i = 0;
    if (n > 0 && tag[0] == u'<') {
        // The tag name is no attribute.
        i = 1;
        while (i < n && !isBlank(tag[i]) && tag[i] != u'>' && tag[i] != u'"')
            ++i;
    }
    while (i < n) {
        const QChar c = tag[i];
        if (isBlank(c) || c == u'=') {
            ++i;
            continue;
        }
        if (c == u'>')
            break;
        if (c == u'"') {
            // A quoted text where a name belongs: skip it whole so its quotes stay paired.
            const qsizetype close = tag.indexOf(u'"', i + 1);
            if (close < 0)
                break;
            i = close + 1;
            continue;
        }
        const qsizetype nameStart = i;
        while (i < n && !isBlank(tag[i]) && tag[i] != u'=' && tag[i] != u'>' && tag[i] != u'"')
            ++i;
        const QStringView name = tag.mid(nameStart, i - nameStart);
        if (i >= n || tag[i] != u'=')
            continue; // an attribute without value
        ++i;
        while (i < n && isBlank(tag[i]))
            ++i;
        if (i >= n || tag[i] != u'"') {
            // Unquoted values are not read; skip the word.
            while (i < n && !isBlank(tag[i]) && tag[i] != u'>')
                ++i;
            continue;
        }
        QStringView value;
        const qsizetype close = tag.indexOf(u'"', i + 1);
        if (close < 0) {
            value = tag.mid(i + 1);
            if (value.endsWith(u'>'))
                value.chop(1);
            i = n;
        } else {
            value = tag.mid(i + 1, close - i - 1);
            i = close + 1;
        }
        for (size_t k = 0; k < std::size(names); ++k)
            if (!seen[k] && name.compare(names[k], Qt::CaseInsensitive) == 0) {
                seen[k] = true; // the first one counts
                *targets[k] = value.toString();
                break;
            }
    }
    f.type = f.type.toUpper();
    f.value = DecodeHTMLEntities(f.value, true);
    f.prop = DecodeHTMLEntities(f.prop, true);
    return f;
}

struct ControlTag
{
    qsizetype start; // the "<"
    qsizetype end;   // after the ">"
    ControlFields fields;
};

// Calls fn for each control tag in text order until it returns false.
template <typename Fn> void forEachControl(const QString &text, Fn fn)
{
    static const QString opener = QStringLiteral("<CONTROL ");
    qsizetype from = 0;
    for (;;) {
        const qsizetype start = text.indexOf(opener, from, Qt::CaseInsensitive);
        if (start < 0)
            return;
        const qsizetype close = text.indexOf(u'>', start + opener.size());
        if (close < 0)
            return; // unterminated: the painter drops it, so it is no control
        ControlTag tag{start, close + 1,
                       parseControl(QStringView(text).mid(start, close + 1 - start))};
        if (!fn(tag))
            return;
        from = close + 1;
    }
}

QString quoted(QStringView name, const QString &value)
{
    QString s;
    s.reserve(name.size() + value.size() + 4);
    s.append(QLatin1Char(' ')).append(name).append(u"=\"").append(value).append(QLatin1Char('"'));
    return s;
}

QString buildControl(const ControlFields &f, const QString &value)
{
    QString s = QStringLiteral("<CONTROL");
    s += quoted(u"ID", f.id);
    s += quoted(u"VALUE", EncodeHTMLEntities(value, true));
    s += quoted(u"WIDTH", f.width);
    s += quoted(u"TYPE", f.type);
    if (!f.prop.isEmpty())
        s += quoted(u"PROP", EncodeHTMLEntities(f.prop, true));
    if (!f.maxLen.isEmpty())
        s += quoted(u"MAXLEN", f.maxLen);
    // Kept so that changing a value does not resize the control.
    if (!f.height.isEmpty())
        s += quoted(u"HEIGHT", f.height);
    s += QLatin1Char('>');
    return s;
}

bool findControl(const QString &text, const QString &id, ControlTag &found)
{
    bool ok = false;
    forEachControl(text, [&](const ControlTag &tag) {
        if (tag.fields.id != id)
            return true;
        found = tag;
        ok = true;
        return false;
    });
    return ok;
}

} // namespace

void SetHTMLHighlightColors(TColor Background, TColor Text)
{
    highlightColor.store(Background, std::memory_order_relaxed);
    highlightTextColor.store(Text, std::memory_order_relaxed);
}

TColor HTMLHighlightColor()
{
    return highlightColor.load(std::memory_order_relaxed);
}

TColor HTMLHighlightTextColor()
{
    return highlightTextColor.load(std::memory_order_relaxed);
}

QString DecodeHTMLEntities(const QString &Text, bool All)
{
    const qsizetype n = Text.size();
    QString out;
    out.reserve(n);
    for (qsizetype i = 0; i < n;) {
        if (Text[i] == u'&') {
            const qsizetype limit = std::min(n, i + maxEntityLength);
            qsizetype semi = i + 1;
            while (semi < limit && Text[semi] != u';')
                ++semi;
            if (semi < limit) {
                if (const NamedEntity *e =
                        findEntity(QStringView(Text).mid(i + 1, semi - i - 1), All)) {
                    out.append(QChar(e->ch));
                    i = semi + 1;
                    continue;
                }
            }
        }
        out.append(Text[i]);
        ++i;
    }
    return out;
}

QString EncodeHTMLEntities(const QString &Text, bool All)
{
    // One pass, so an entity written out never gets encoded again and a literal "*amp;" stays
    // what it is: Decode(Encode(t)) == t for every text.
    const qsizetype n = Text.size();
    QString out;
    out.reserve(n + n / 8);
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = Text[i];
        switch (c.unicode()) {
        case u'&':
            out.append(u"&amp;");
            continue;
        case u'"':
            out.append(u"&quot;");
            continue;
        case u'<':
            out.append(u"&lt;");
            continue;
        case u'>':
            out.append(u"&gt;");
            continue;
        default:
            break;
        }
        if (All && c.unicode() >= 0xA9) {
            const QStringView name = entityOf(c);
            if (!name.isEmpty()) {
                out.append(QLatin1Char('&'));
                out.append(name);
                out.append(QLatin1Char(';'));
                continue;
            }
        }
        out.append(c);
    }
    return out;
}

QString EncodeHTMLSpaces(const QString &Text)
{
    QString out = Text;
    return out.replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
}

QString StripHTMLTags(const QString &Text)
{
    // The line-break tags first, as a pass of their own: a "<" before them may still open a tag
    // that swallows their line break.
    QString breaks;
    const qsizetype n = Text.size();
    breaks.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        if (Text[i] == u'<' && i + 3 < n && Text[i + 3] == u'>' &&
            (Text[i + 2] == u'R' || Text[i + 2] == u'r')) {
            const QChar k = Text[i + 1];
            if (k == u'B' || k == u'b' || k == u'H' || k == u'h') {
                breaks.append(u"\r\n");
                i += 3;
                continue;
            }
        }
        breaks.append(Text[i]);
    }
    return visibleText(breaks, nullptr);
}

void ParseHTMLControlTag(const QString &Tag,
                         QString &Type,
                         QString &ID,
                         QString &MaxLen,
                         QString &Prop,
                         QString &Height,
                         QString &Width,
                         QString &Value)
{
    ControlFields f = parseControl(Tag);
    Type = std::move(f.type);
    ID = std::move(f.id);
    MaxLen = std::move(f.maxLen);
    Prop = std::move(f.prop);
    Height = std::move(f.height);
    Width = std::move(f.width);
    Value = std::move(f.value);
}

bool HasHTMLControl(const QString &Text)
{
    return Text.contains(QLatin1String("<CONTROL"), Qt::CaseInsensitive);
}

QString NextHTMLEditControl(const QString &Text, const QString &ID)
{
    bool passed = ID.isEmpty();
    QString next;
    forEachControl(Text, [&](const ControlTag &tag) {
        const ControlFields &f = tag.fields;
        if (!passed) {
            passed = f.id == ID;
            return true;
        }
        if (f.type == u"BUTTON" || f.type == u"CHECK" || f.type == u"RADIO")
            return true;
        next = f.id;
        return false;
    });
    return next;
}

QString ClearHTMLRadioControls(const QString &Text)
{
    // Rewrites each radio tag where it stands: looking it up again by ID would hit an earlier
    // control that shares the ID, and would rescan the text once per radio.
    QString out;
    qsizetype from = 0;
    forEachControl(Text, [&](const ControlTag &tag) {
        if (tag.fields.type == u"RADIO") {
            if (out.isEmpty())
                out.reserve(Text.size());
            out.append(QStringView(Text).mid(from, tag.start - from));
            out.append(buildControl(tag.fields, QStringLiteral("FALSE")));
            from = tag.end;
        }
        return true;
    });
    if (from == 0)
        return Text;
    out.append(QStringView(Text).mid(from));
    return out;
}

bool GetHTMLControlValue(const QString &Text, const QString &ID, QString &Value)
{
    ControlTag tag{};
    if (!findControl(Text, ID, tag)) {
        Value.clear();
        return false;
    }
    Value = tag.fields.value;
    return true;
}

QString GetHTMLControlProp(const QString &Text, const QString &ID)
{
    ControlTag tag{};
    return findControl(Text, ID, tag) ? tag.fields.prop : QString();
}

int GetHTMLControlMaxLen(const QString &Text, const QString &ID)
{
    ControlTag tag{};
    if (!findControl(Text, ID, tag))
        return 0;
    bool ok = false;
    const int n = tag.fields.maxLen.toInt(&ok);
    return ok && n > 0 ? n : 0;
}

bool SetHTMLControlValue(QString &Text, const QString &ID, const QString &Value)
{
    ControlTag tag{};
    if (!findControl(Text, ID, tag))
        return false;
    Text.replace(tag.start, tag.end - tag.start, buildControl(tag.fields, Value));
    return true;
}

QString HTMLPasswordMask(const QString &Text)
{
    return QString(Text.size(), QLatin1Char('*'));
}

QString MarkHTMLMatches(const QString &Text, const QString &HiText, const QString &Tag, bool DoCase)
{
    if (HiText.isEmpty())
        return Text;
    std::vector<qsizetype> textPos;
    QString visible = visibleText(Text, &textPos);
    std::vector<qsizetype> matches = findAll(visible, HiText, DoCase);
    if (matches.empty())
        return Text;

    QString text = Text;
    QString hi = HiText;
    // A stray "<" or ">" would join the inserted tags into other tags.
    if (visible.contains(u'<') || visible.contains(u'>')) {
        visible = escapeAngles(visible);
        hi = escapeAngles(hi);
        text = visible;
        textPos.resize(size_t(text.size()) + 1);
        for (qsizetype i = 0; i <= text.size(); ++i)
            textPos[size_t(i)] = i;
        matches = findAll(visible, hi, DoCase);
    }

    const QString open = QLatin1Char('<') + Tag + QLatin1Char('>');
    const QString close = QStringLiteral("</") + Tag + QLatin1Char('>');
    QString out;
    out.reserve(text.size() + qsizetype(matches.size()) * (open.size() + close.size()));
    qsizetype from = 0;
    const auto insertAt = [&](qsizetype pos, const QString &tag) {
        out.append(QStringView(text).mid(from, pos - from));
        out.append(tag);
        from = pos;
    };
    // Matches do not overlap, so the insert positions only grow.
    for (qsizetype p : matches) {
        insertAt(textPos[size_t(p)], open);
        insertAt(textPos[size_t(p + hi.size())], close);
    }
    out.append(QStringView(text).mid(from));
    return out;
}

QString UnmarkHTMLTag(const QString &Text, const QString &Tag)
{
    QString s = removeAll(Text, QLatin1Char('<') + Tag + QLatin1Char('>'));
    s = removeAll(s, QStringLiteral("</") + Tag + QLatin1Char('>'));
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    return s;
}
