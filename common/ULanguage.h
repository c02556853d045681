// The UI text table: 4100 texts by number, English built in, other languages from files
// "<Language_Path>/<name>.lng" whose lines read  STR<number> =<text>.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// Number of entries of the text table once it is filled.
inline constexpr int32_t Lang_Texts_Size = 4100;

// The text table; window code reads text N as Lang_Texts[N].
extern QStringList Lang_Texts;
// Valid text numbers: 0 until the first English fill, then 4100. The loader accepts only numbers
// below it.
extern int32_t Lang_Texts_Count;

// Empties the table and fills it with the 4100 English texts (a single blank where a number has
// no text).
void Load_English_Texts();

// Overwrites table entries from one language file; lines that do not fit are skipped one by one.
// A file that cannot be read changes nothing.
void Load_Language_File(const QString &path);

// English, then languagePath/languageName.lng; when that file is missing languageName becomes
// "English" and languagePath/English.lng is loaded if present.
void Load_Language(const QString &languagePath, QString &languageName);
// The same with Language_Path and Language_Name of the shared state.
void Load_Language();
