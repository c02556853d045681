#include "grid/model/QrlSortCompare.h"

#include "grid/model/QrlGridFormat.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridParse.h"
#include "platform/os/Regional.h"

#include <cstdint>

namespace {

int sign(double a, double b)
{
    return a > b ? 1 : (a < b ? -1 : 0);
}

int sign(int v)
{
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

int compareCodeUnits(const QString &a, const QString &b)
{
    return sign(QStringView(a).compare(QStringView(b), Qt::CaseSensitive));
}

// Only a to z: the no-case style never folds other letters.
QString upperAsciiLetters(const QString &text)
{
    QString r = text;
    for (QChar &c : r) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return r;
}

bool isNumberKind(int kind)
{
    return kind == ntkInteger || kind == ntkDecimal || kind == ntkExponent;
}

bool isCheckCell(TCellType type)
{
    return type == TCellType::ctCheckBox || type == TCellType::ctDataCheckBox ||
           type == TCellType::ctVirtCheckBox || type == TCellType::ctRowCheckBox;
}

// Digits on both sides of the separator at 0-based index i, which stands at position 2 or 3
// and is not the last character.
bool separatorBetweenDigits(const QString &text, qsizetype i)
{
    return (i == 1 || i == 2) && i + 1 < text.size() && IsDigitChar(text[i - 1]) &&
           IsDigitChar(text[i + 1]);
}

TSortStyle resolveAutomatic(ISortCompareSource &source,
                            const TSortSettings &settings,
                            int col,
                            int row1,
                            const QString &text1,
                            const QString &text2)
{
    if (isCheckCell(source.SortCellType(col, row1)))
        return TSortStyle::ssCheckBox;
    if (isNumberKind(NumberTextKind(text1)))
        return TSortStyle::ssNumeric;
    const TSortStyle alpha =
        settings.IgnoreCase() ? TSortStyle::ssAlphaNoCase : TSortStyle::ssAlphabetic;

    const QChar dateSep = RegionalDateSeparator();
    const QChar timeSep = RegionalTimeSeparator();
    const qsizetype p = text1.indexOf(dateSep);
    if ((p == 1 || p == 2) && p + 1 < text1.size()) {
        // A date-like start decides alone; the time test is only for texts without one.
        if (separatorBetweenDigits(text1, p) && text2.contains(dateSep))
            return text1.contains(timeSep) ? TSortStyle::ssDateTime : TSortStyle::ssDate;
        return alpha;
    }
    const qsizetype q = text1.indexOf(timeSep);
    if (separatorBetweenDigits(text1, q) && text2.contains(timeSep))
        return TSortStyle::ssTime;
    return alpha;
}

// One side of a number compare; text is left as the blank rule must see it.
struct NumberSide
{
    QString text;
    double value = 0;
};

NumberSide readNumber(QString text,
                      bool financial,
                      const QString &prefix,
                      const QString &suffix,
                      QChar thousand,
                      QChar decimal)
{
    if (!suffix.isEmpty()) {
        const qsizetype i = text.indexOf(suffix);
        if (i >= 0)
            text.remove(i, suffix.size());
    }
    if (!prefix.isEmpty()) {
        const qsizetype i = text.indexOf(prefix);
        if (i >= 0)
            text.remove(i, prefix.size());
    }
    if (financial)
        text.remove(thousand);
    if (decimal != u'.') {
        const qsizetype i = text.indexOf(decimal);
        if (i >= 0)
            text[i] = u'.';
    }
    NumberSide side;
    if (!plat::TryStrToFloat(text, QChar(u'.'), side.value))
        side.value = 0;
    side.text = std::move(text);
    return side;
}

double dateTimeValue(const QString &text)
{
    TDateTime v = 0;
    if (text.isEmpty() || !TextToDateTime(text, v))
        return 0;
    return v;
}

double timeValue(const QString &text)
{
    try {
        return GridStrToTime(text);
    } catch (const EQrlConvertError &) {
        return 0;
    }
}

double shortDateValue(const QString &text, bool us)
{
    try {
        return us ? ShortDateUSToDate(text) : ShortDateEUToDate(text);
    } catch (const EQrlConvertError &) {
        return 0;
    }
}

int blankResult(bool firstBlank, TSortDirection direction, TSortBlankPosition pos)
{
    // Blanks end up first or last in the shown order, whatever the direction.
    const bool before =
        (pos == TSortBlankPosition::blFirst) == (direction == TSortDirection::sdAscending);
    const int r = before ? -1 : 1;
    return firstBlank ? r : -r;
}

constexpr uint32_t kDescendingBit = 0x80000000u;

} // namespace

TSortCompare::TSortCompare(ISortCompareSource &Source) : m_source(Source) {}

TSortCompare::~TSortCompare() = default;

int TSortCompare::compareLocaleAware(const QString &a, const QString &b, bool ignoreCase)
{
    const QLocale locale;
    if (!m_caseCollator || locale != m_collatorLocale) {
        m_collatorLocale = locale;
        m_caseCollator = std::make_unique<QCollator>(locale);
        m_caseCollator->setCaseSensitivity(Qt::CaseSensitive);
        m_noCaseCollator = std::make_unique<QCollator>(locale);
        m_noCaseCollator->setCaseSensitivity(Qt::CaseInsensitive);
    }
    return sign((ignoreCase ? m_noCaseCollator : m_caseCollator)->compare(a, b));
}

int TSortCompare::CompareCellPair(int ACol, int Row1, int Row2, TSortDirection Direction)
{
    m_source.SortCompareCounted();
    const TSortSettings &settings = m_source.SortCompareSettings();

    TSortStyle style = settings.AutoFormat()   ? TSortStyle::ssAutomatic
                       : settings.IgnoreCase() ? TSortStyle::ssAlphaNoCase
                                               : TSortStyle::ssAlphabetic;
    QString prefix;
    QString suffix;
    m_source.SortQueryCellFormat(ACol, style, prefix, suffix);

    const bool virtualCells = settings.SortOnVirtualCells();
    QString text1 =
        virtualCells ? m_source.SortDisplayText(ACol, Row1) : m_source.SortStoredText(ACol, Row1);
    QString text2 =
        virtualCells ? m_source.SortDisplayText(ACol, Row2) : m_source.SortStoredText(ACol, Row2);

    if (style == TSortStyle::ssAutomatic)
        style = resolveAutomatic(m_source, settings, ACol, Row1, text1, text2);
    if (style == TSortStyle::ssAlphaNumeric || style == TSortStyle::ssAlphaNumericNoCase) {
        if (isNumberKind(NumberTextKind(text1)) && isNumberKind(NumberTextKind(text2)))
            style = TSortStyle::ssNumeric;
        else if (style == TSortStyle::ssAlphaNumeric)
            style = TSortStyle::ssAlphabetic;
        else
            style = TSortStyle::ssAlphaNoCase;
    }

    int r = 0;
    switch (style) {
    case TSortStyle::ssAutomatic: // resolved above
    case TSortStyle::ssAlphaNumeric:
    case TSortStyle::ssAlphaNumericNoCase:
    case TSortStyle::ssAlphabetic:
    case TSortStyle::ssAlphaCase:
        r = compareCodeUnits(text1, text2);
        break;
    case TSortStyle::ssAlphaNoCase:
        text1 = upperAsciiLetters(text1);
        text2 = upperAsciiLetters(text2);
        r = compareCodeUnits(text1, text2);
        break;
    case TSortStyle::ssAnsiAlphaCase:
        r = compareLocaleAware(text1, text2, false);
        break;
    case TSortStyle::ssAnsiAlphaNoCase:
        r = compareLocaleAware(text1, text2, true);
        break;
    case TSortStyle::ssHTML:
        text1 = m_source.SortStrippedText(ACol, Row1);
        text2 = m_source.SortStrippedText(ACol, Row2);
        r = compareCodeUnits(text1, text2);
        break;
    case TSortStyle::ssNumeric:
    case TSortStyle::ssFinancial: {
        const bool financial = style == TSortStyle::ssFinancial;
        const QChar thousand = RegionalThousandSeparator();
        const QChar decimal = RegionalDecimalSeparator();
        // An empty cell and a text that is no number both count as 0, so two texts that are
        // no numbers compare as equal and the order stays consistent across a column.
        NumberSide n1 = readNumber(text1, financial, prefix, suffix, thousand, decimal);
        NumberSide n2 = readNumber(text2, financial, prefix, suffix, thousand, decimal);
        r = sign(n1.value, n2.value);
        text1 = std::move(n1.text);
        text2 = std::move(n2.text);
        break;
    }
    case TSortStyle::ssDate:
    case TSortStyle::ssDateTime:
        r = sign(dateTimeValue(text1), dateTimeValue(text2));
        break;
    case TSortStyle::ssTime:
        r = sign(timeValue(text1), timeValue(text2));
        break;
    case TSortStyle::ssShortDateEU:
    case TSortStyle::ssShortDateUS: {
        const bool us = style == TSortStyle::ssShortDateUS;
        r = sign(shortDateValue(text1, us), shortDateValue(text2, us));
        break;
    }
    case TSortStyle::ssImages:
        r = sign(m_source.SortImageKey(ACol, Row1), m_source.SortImageKey(ACol, Row2));
        break;
    case TSortStyle::ssCheckBox:
        r = int(m_source.SortCheckBoxState(ACol, Row1)) -
            int(m_source.SortCheckBoxState(ACol, Row2));
        break;
    case TSortStyle::ssCustom: {
        int res = 0;
        m_source.SortCustomCompare(text1, text2, res);
        // A handler answering a difference (a - b) must not break the partition's test for 1.
        r = sign(res);
        break;
    }
    case TSortStyle::ssRaw: {
        int res = 0;
        m_source.SortRawCompare(ACol, Row1, Row2, res);
        r = sign(res);
        break;
    }
    }

    if (settings.IgnoreBlanks() && text1.isEmpty() != text2.isEmpty())
        r = blankResult(text1.isEmpty(), Direction, settings.BlankPos());
    return r;
}

int TSortCompare::CompareRows(int ACol, int Row1, int Row2)
{
    const TSortSettings &settings = m_source.SortCompareSettings();
    const int lastCol = m_source.SortColCount() - 1;
    for (int col = ACol;; ++col) {
        const int r = m_source.SortIsIgnoredColumn(col)
                          ? 0
                          : CompareCellPair(col, Row1, Row2, settings.Direction());
        if (r != 0 || !settings.Full() || col >= lastCol)
            return r;
    }
}

int TSortCompare::CompareRowsIndexed(int Index, int Row1, int Row2)
{
    const TSortSettings &settings = m_source.SortCompareSettings();
    const TSortIndexList &indexes = m_source.SortIndexes();
    if (Index < 0)
        return 0;
    for (int i = Index; i < indexes.Count(); ++i) {
        const uint32_t entry = static_cast<uint32_t>(indexes.Items(i));
        const int col = static_cast<int>(entry & ~kDescendingBit);
        const bool descending = (entry & kDescendingBit) != 0;
        const int r = m_source.SortIsIgnoredColumn(col)
                          ? 0
                          : CompareCellPair(col, Row1, Row2,
                                            descending ? TSortDirection::sdDescending
                                                       : TSortDirection::sdAscending);
        if (r == 0 && settings.Full())
            continue;
        return descending ? -r : r;
    }
    return 0;
}
