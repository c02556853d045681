// Reading text files whose encoding is not declared (language files and the like).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace plat {

enum class TextEncoding {
    Utf8Bom,     // EF BB BF
    Utf16LE,     // FF FE
    Utf16BE,     // FE FF
    Utf8,        // no byte-order mark, bytes are valid UTF-8 (plain ASCII included)
    Windows1252, // no byte-order mark, bytes are not valid UTF-8
};

// True when bytes form valid UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF,
// no sequence cut off at the end).
bool IsValidUtf8(const QByteArray &bytes);

// Windows-1252 to UTF-16. The five bytes the code page leaves undefined (81, 8D, 8F, 90, 9D)
// become the C1 control of the same value, as the system converter does.
QString DecodeWindows1252(const QByteArray &bytes);

// Decodes a whole file's bytes: the byte-order mark (dropped) selects UTF-8 or UTF-16 LE/BE;
// without one the text is UTF-8 when the bytes are valid UTF-8, else Windows-1252.
QString DecodeText(const QByteArray &bytes, TextEncoding *detected = nullptr);

// Splits at CR LF, LF or a lone CR. A line end after the last line adds no empty line;
// an empty text has no lines.
QStringList SplitLines(const QString &text);

// The decoded text of a file; nullopt when it cannot be read.
std::optional<QString> ReadTextFile(const QString &path, TextEncoding *detected = nullptr);
// The lines of a file; nullopt when it cannot be read.
std::optional<QStringList> ReadTextLines(const QString &path, TextEncoding *detected = nullptr);

} // namespace plat
