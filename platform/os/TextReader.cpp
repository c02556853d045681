#include "platform/os/TextReader.h"

#include "platform/os/Files.h"

#include <QStringDecoder>

namespace plat {

namespace {

// Windows-1252 bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

bool startsWith(const QByteArray &bytes, const char *prefix, qsizetype n)
{
    return bytes.size() >= n && bytes.first(n) == QByteArray(prefix, n);
}

} // namespace

bool IsValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len = 0;
        unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0)
                lo = 0xA0; // overlong
            else if (c == 0xED)
                hi = 0x9F; // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0)
                lo = 0x90; // overlong
            else if (c == 0xF4)
                hi = 0x8F; // above U+10FFFF
        } else {
            return false;
        }
        if (i + len > n)
            return false;
        if (p[i + 1] < lo || p[i + 1] > hi)
            return false;
        for (int k = 2; k < len; ++k)
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
        i += len;
    }
    return true;
}

QString DecodeWindows1252(const QByteArray &bytes)
{
    QString result(bytes.size(), Qt::Uninitialized);
    QChar *out = result.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes.at(i));
        out[i] = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return result;
}

QString DecodeText(const QByteArray &bytes, TextEncoding *detected)
{
    TextEncoding encoding;
    QString text;
    if (startsWith(bytes, "\xEF\xBB\xBF", 3)) {
        encoding = TextEncoding::Utf8Bom;
        text = QString::fromUtf8(bytes.sliced(3));
    } else if (startsWith(bytes, "\xFF\xFE", 2) || startsWith(bytes, "\xFE\xFF", 2)) {
        const bool le = static_cast<unsigned char>(bytes.at(0)) == 0xFF;
        encoding = le ? TextEncoding::Utf16LE : TextEncoding::Utf16BE;
        QStringDecoder decoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless);
        text = decoder(bytes.sliced(2));
    } else if (IsValidUtf8(bytes)) {
        encoding = TextEncoding::Utf8;
        text = QString::fromUtf8(bytes);
    } else {
        encoding = TextEncoding::Windows1252;
        text = DecodeWindows1252(bytes);
    }
    if (detected)
        *detected = encoding;
    return text;
}

QStringList SplitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.sliced(start));
    return lines;
}

std::optional<QString> ReadTextFile(const QString &path, TextEncoding *detected)
{
    const std::optional<QByteArray> bytes = ReadWholeFile(path);
    if (!bytes)
        return std::nullopt;
    return DecodeText(*bytes, detected);
}

std::optional<QStringList> ReadTextLines(const QString &path, TextEncoding *detected)
{
    const std::optional<QString> text = ReadTextFile(path, detected);
    if (!text)
        return std::nullopt;
    return SplitLines(*text);
}

} // namespace plat
