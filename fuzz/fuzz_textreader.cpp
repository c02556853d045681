// Text files of undeclared encoding: any bytes decode; valid UTF-8 decodes losslessly,
// Windows-1252 gives one character per byte, and the lines joined again give the text back
// (line ends aside).
#include "FuzzSupport.h"

#include "platform/os/TextReader.h"

#include <QStringList>

using namespace plat;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    TextEncoding detected{};
    const QString text = DecodeText(bytes, &detected);

    const bool valid = IsValidUtf8(bytes);
    // (The decoder drops a leading byte-order mark.)
    if (valid && !bytes.startsWith("\xEF\xBB\xBF"))
        FUZZ_CHECK(QString::fromUtf8(bytes).toUtf8() == bytes);
    if (detected == TextEncoding::Utf8)
        FUZZ_CHECK(valid && text == QString::fromUtf8(bytes));
    if (detected == TextEncoding::Windows1252) {
        FUZZ_CHECK(!valid);
        FUZZ_CHECK(text.size() == bytes.size());
    }
    FUZZ_CHECK(DecodeWindows1252(bytes).size() == bytes.size());

    const QStringList lines = SplitLines(text);
    QString joined = text;
    joined.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    joined.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (joined.endsWith(QLatin1Char('\n')))
        joined.chop(1);
    FUZZ_CHECK(lines.join(QLatin1Char('\n')) == joined);
    for (const QString &line : lines)
        FUZZ_CHECK(!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')));

    const QString path = fuzz::scratchFile(QStringLiteral("text.lng"));
    fuzz::writeFile(path, bytes);
    const std::optional<QStringList> fromFile = ReadTextLines(path);
    FUZZ_CHECK(fromFile && *fromFile == lines);
    fuzz::removeFile(path);
    return 0;
}
