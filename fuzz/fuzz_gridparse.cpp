// The grid's number, date, filter and cell-text routines on any text: they return or raise the
// documented conversion error, and the wide-text encoding reads back what it wrote.
#include "FuzzSupport.h"

#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlGridText.h"

#include <QStringList>

#include <cmath>

namespace {

QString textOf(const QByteArray &bytes, bool utf16)
{
    if (utf16)
        return QString(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2);
    return QString::fromUtf8(bytes);
}

template <typename Fn> void convert(Fn fn)
{
    try {
        fn();
    } catch (const EQrlConvertError &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Reader in(data, size);
    const uint8_t mode = in.take<uint8_t>();
    const int32_t years = in.take<int32_t>();
    const int32_t months = in.take<int32_t>();
    const int32_t days = in.take<int32_t>();
    const int32_t increment = in.take<int32_t>();
    const double date = in.take<double>();

    TGridRegionalSettings regional;
    if (mode & 1) {
        regional.ThousandSeparator = u'.';
        regional.DateSeparator = u'.';
        regional.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    }
    if (mode & 2) {
        regional.DateSeparator = u'-';
        regional.TimeSeparator = u'.';
        regional.ShortDateFormat = QStringLiteral("yyyy-MM-dd");
    }
    OverrideGridRegionalSettings(regional);

    const QStringList parts = textOf(in.rest(), mode & 0x80).split(QLatin1Char('\n'));
    const QString text = parts.value(0);
    const QString value = parts.value(1);
    const bool caseSensitive = mode & 4;

    // Numbers.
    const int kind = NumberTextKind(text);
    FUZZ_CHECK(kind == ntkInteger || kind == ntkDecimal || kind == ntkNotANumber ||
               kind == ntkExponent);
    (void)ExtractNumberText(text);
    (void)NormalizeNumberText(text);

    // Dates.
    TDateTime parsed = 0;
    if (TextToDateTime(text, parsed))
        FUZZ_CHECK(std::isfinite(parsed));
    convert([&] { (void)ShortDateUSToDate(text); });
    convert([&] { (void)ShortDateEUToDate(text); });
    (void)HasDateSeparators(text);
    convert([&] { (void)AddDateParts(years, months, days, increment, date); });
    convert([&] {
        int y = 0, m = 0, d = 0;
        qrlDecodeDate(date, y, m, d);
        FUZZ_CHECK(y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= 31);
    });

    // Filters.
    (void)EvalFilterExpression(text, value, caseSensitive);
    (void)MatchFilterCondition(text, value);
    (void)MatchFilterTerm(text, value, caseSensitive);
    (void)StripUnquotedBlanks(text);
    const int close = MatchingParenPos(text);
    FUZZ_CHECK(close >= 0 && close <= text.size());
    int pos = 0;
    (void)FindFilterOperator(QStringLiteral("&|"), text, pos);
    FUZZ_CHECK(pos >= 0 && pos <= text.size());

    // Cell texts.
    (void)CellTextKind(text, mode & 8);
    FUZZ_CHECK(DecodeWideCellText(EncodeWideCellText(text)) == text);
    (void)DecodeWideCellText(text);
    (void)CtrlCharsToLineBreaks(LineBreaksToCtrlChars(text), mode & 16);
    (void)UnescapeNewLines(EscapeNewLines(text));
    QString csv = text;
    CRLFToVTQuoted(csv);
    VTToCRLF(csv);
    QString tilde = text;
    CRToTilde(tilde);
    TildeToCRLF(tilde);
    (void)CountLines(text, mode & 16);
    QString rest = text;
    QString line;
    CutFirstLine(rest, mode & 32, line);
    (void)UndoubleChar(QLatin1Char('"'), text);
    (void)CountUnescapedChar(QLatin1Char('"'), text);
    int subPos = 0;
    (void)FindSubPos(value, text, subPos);
    (void)ProperCaseText(text);
    plat::TGridCoord cell{};
    (void)ParseRCRef(text, cell);
    QString link;
    (void)URLToHTMLLink(text, QStringLiteral("HTTP://"), link);
    QString html = text;
    BuildClipboardHTML(html);

    OverrideGridRegionalSettings(std::nullopt);
    return 0;
}
