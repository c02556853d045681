// The mini-HTML string routines on any text: entity coding reads back what it wrote, stripping
// is final, search marks come off again, and a control value that was set reads back.
// Input: one mode byte, then the parts text, search, tag and value separated by "#####" lines.
#include "FuzzSupport.h"

#include "grid/model/QrlHTMLText.h"

namespace {

QString textOf(const QByteArray &bytes, bool utf16)
{
    if (utf16)
        return QString(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2);
    return QString::fromUtf8(bytes);
}

// A tag name that cannot join the text around it into another tag, nor break lines.
bool plainTagName(const QString &tag)
{
    if (tag.isEmpty())
        return false;
    for (QChar c : tag)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80))
            return false;
    return tag.compare(QLatin1String("br"), Qt::CaseInsensitive) != 0 &&
           tag.compare(QLatin1String("hr"), Qt::CaseInsensitive) != 0;
}

// The text outside tags, line-break tags included: a tag runs from "<" to the next ">", and
// a "<" without a later ">" is text with all that follows.
QString visibleOf(const QString &s)
{
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('<')) {
            const qsizetype close = s.indexOf(QLatin1Char('>'), i);
            if (close < 0)
                return out + s.mid(i);
            i = close;
            continue;
        }
        out += s[i];
    }
    return out;
}

bool hasAngle(const QString &s)
{
    return s.contains(QLatin1Char('<')) || s.contains(QLatin1Char('>'));
}

void checkEntities(const QString &text)
{
    for (bool all : {false, true}) {
        const QString encoded = EncodeHTMLEntities(text, all);
        FUZZ_CHECK(!hasAngle(encoded) && !encoded.contains(QLatin1Char('"')));
        FUZZ_CHECK(DecodeHTMLEntities(encoded, all) == text);
        (void)DecodeHTMLEntities(text, all);
    }
    FUZZ_CHECK(!EncodeHTMLSpaces(text).contains(QLatin1Char(' ')));
    FUZZ_CHECK(HTMLPasswordMask(text).size() == text.size());
    const QString stripped = StripHTMLTags(text);
    FUZZ_CHECK(StripHTMLTags(stripped) == stripped);
}

void checkMarks(const QString &text, const QString &search, const QString &tag, bool doCase)
{
    const QString marked = MarkHTMLMatches(text, search, tag, doCase);
    const QString unmarked = UnmarkHTMLTag(marked, tag);
    (void)UnmarkHTMLTag(text, tag);
    if (search.isEmpty())
        FUZZ_CHECK(marked == text);
    if (!plainTagName(tag))
        return;

    const QString visible = visibleOf(text);
    const bool noEntities =
        !visible.contains(QLatin1String("&lt;")) && !visible.contains(QLatin1String("&gt;"));
    if (!hasAngle(visible)) {
        // Only tags went in, so the visible text is the same and unmarking restores the text.
        FUZZ_CHECK(visibleOf(marked) == visible);
        const bool noMarkTags =
            !text.contains(QLatin1Char('<') + tag + QLatin1Char('>'), Qt::CaseInsensitive) &&
            !text.contains(QStringLiteral("</") + tag + QLatin1Char('>'), Qt::CaseInsensitive);
        if (noEntities && noMarkTags && !text.contains(QLatin1String("&lt;")) &&
            !text.contains(QLatin1String("&gt;")))
            FUZZ_CHECK(unmarked == text);
    } else if (marked != text) {
        // The text became its escaped visible text: no stray bracket is left to join a tag.
        FUZZ_CHECK(!hasAngle(visibleOf(marked)));
        if (noEntities)
            FUZZ_CHECK(unmarked == visible);
    }
}

void checkControls(const QString &text, const QString &id, const QString &value)
{
    QString type, cid, maxLen, prop, height, width, cvalue;
    ParseHTMLControlTag(text, type, cid, maxLen, prop, height, width, cvalue);
    ParseHTMLControlTag(QStringLiteral("<CONTROL ") + text, type, cid, maxLen, prop, height, width,
                        cvalue);
    (void)HasHTMLControl(text);

    // Walk the edit controls; duplicate IDs may cycle, so the walk is bounded.
    QString next;
    for (int i = 0; i < 16; ++i) {
        next = NextHTMLEditControl(text, next);
        if (next.isEmpty())
            break;
        QString read;
        FUZZ_CHECK(GetHTMLControlValue(text, next, read));
    }

    for (const QString &target : {id, cid}) {
        const QString propBefore = GetHTMLControlProp(text, target);
        const int maxLenBefore = GetHTMLControlMaxLen(text, target);
        FUZZ_CHECK(maxLenBefore >= 0);
        QString changed = text;
        QString read;
        if (!SetHTMLControlValue(changed, target, value)) {
            FUZZ_CHECK(changed == text);
            FUZZ_CHECK(!GetHTMLControlValue(text, target, read) && read.isEmpty());
            continue;
        }
        FUZZ_CHECK(GetHTMLControlValue(changed, target, read));
        FUZZ_CHECK(read == value);
        FUZZ_CHECK(GetHTMLControlMaxLen(changed, target) == maxLenBefore);
        FUZZ_CHECK(GetHTMLControlProp(changed, target) == propBefore);
    }

    const QString cleared = ClearHTMLRadioControls(text);
    if (!text.contains(QLatin1String("RADIO"), Qt::CaseInsensitive))
        FUZZ_CHECK(cleared == text);
    FUZZ_CHECK(ClearHTMLRadioControls(cleared) == cleared);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Reader in(data, size);
    const uint8_t mode = in.take<uint8_t>();
    const QList<QByteArray> parts = fuzz::splitParts(in.rest());
    const bool utf16 = mode & 0x80;
    const QString text = textOf(parts.value(0), utf16);
    const QString search = textOf(parts.value(1), utf16);
    const QString tag = parts.size() > 2
                            ? textOf(parts.value(2), utf16)
                            : QString(mode & 2 ? QStringLiteral("e") : QStringLiteral("hi"));
    const QString value = textOf(parts.value(3), utf16);

    SetHTMLHighlightColors(TColor(mode), TColor(size));
    FUZZ_CHECK(HTMLHighlightColor() == TColor(mode) && HTMLHighlightTextColor() == TColor(size));

    checkEntities(text);
    checkMarks(text, search, tag, mode & 1);
    checkControls(text, search, value);
    return 0;
}
