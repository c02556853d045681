#include "common/ULanguage.h"

#include "common/UComon.h"
#include "platform/os/Files.h"
#include "platform/os/TextReader.h"
#include "platform/text/StrConv.h"
#include "resources/EnglishTexts.h"

QStringList Lang_Texts;
int32_t Lang_Texts_Count = 0;

namespace {

const QString kEntryPrefix = QStringLiteral("STR");
const QString kCommentMark = QStringLiteral("/#/");
constexpr QChar kProtectMark = QChar(0x00B6); // pilcrow: keeps blanks at either end of a text

// One language-file line; stores its text when the line is a valid entry.
void applyLine(const QString &rawLine)
{
    const QString line = plat::Trim(rawLine);
    if (!line.startsWith(kEntryPrefix))
        return;

    // The character right before "=" is a separator that is dropped unread, so the number field
    // runs from after "STR" to two places before "=".
    const qsizetype eq = line.indexOf(u'=');
    const qsizetype fieldLen = eq - 4; // characters between "STR" and the separator
    const QString field = fieldLen > 0 ? plat::Trim(line.mid(3, fieldLen)) : QString();
    const int32_t number = plat::StrToIntDef(field, -1);
    if (number < 0 || number >= Lang_Texts_Count)
        return;

    QString text = plat::Trim(line.mid(eq + 1));
    if (text.isEmpty())
        return;
    const qsizetype comment = text.indexOf(kCommentMark);
    if (comment >= 0) {
        text = plat::Trim(text.left(comment));
        if (text.isEmpty())
            return;
    }
    if (text.startsWith(kProtectMark))
        text.remove(0, 1);
    const qsizetype protectEnd = text.indexOf(kProtectMark);
    if (protectEnd >= 0)
        text.truncate(protectEnd);

    if (number < Lang_Texts.size())
        Lang_Texts[number] = text;
}

} // namespace

void Load_English_Texts()
{
    Lang_Texts.clear();
    Lang_Texts.reserve(Lang_Texts_Size);
    const QString blank = QStringLiteral(" ");
    for (int32_t i = 0; i < Lang_Texts_Size; ++i)
        Lang_Texts.append(blank);
    for (const res::EnglishText &t : res::englishTexts()) {
        if (t.number >= 0 && t.number < Lang_Texts_Size)
            Lang_Texts[t.number] = QString::fromUtf16(t.text);
    }
    Lang_Texts_Count = Lang_Texts_Size;
}

void Load_Language_File(const QString &path)
{
    const std::optional<QStringList> lines = plat::ReadTextLines(path);
    if (!lines)
        return; // unreadable (locked, vanished): the texts loaded so far stay
    for (const QString &line : *lines)
        applyLine(line);
}

void Load_Language(const QString &languagePath, QString &languageName)
{
    Load_English_Texts();
    const QString chosen = plat::FindFileNoCase(languagePath, languageName + QStringLiteral(".lng"));
    if (!chosen.isEmpty()) {
        Load_Language_File(chosen);
        return;
    }
    languageName = QStringLiteral("English");
    const QString english = plat::FindFileNoCase(languagePath, QStringLiteral("English.lng"));
    if (!english.isEmpty())
        Load_Language_File(english);
}

void Load_Language()
{
    Load_Language(Language_Path, Language_Name);
}
