#include "grid/model/QrlSortCompare.h"

#include "grid/model/QrlGridFormat.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridParse.h"
#include "platform/os/Regional.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <unordered_map>

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
// Columns past this are compared without a cache (a grid never has that many).
constexpr int kMaxCachedColumns = 1 << 16;

TSortStyle defaultStyle(const TSortSettings &settings)
{
    return settings.AutoFormat()   ? TSortStyle::ssAutomatic
           : settings.IgnoreCase() ? TSortStyle::ssAlphaNoCase
                                   : TSortStyle::ssAlphabetic;
}

// The styles that can end in a compare of the texts themselves.
bool mayCompareTexts(TSortStyle style)
{
    switch (style) {
    case TSortStyle::ssAutomatic:
    case TSortStyle::ssAlphabetic:
    case TSortStyle::ssAlphaCase:
    case TSortStyle::ssAlphaNoCase:
    case TSortStyle::ssAlphaNumeric:
    case TSortStyle::ssAlphaNumericNoCase:
        return true;
    default:
        return false;
    }
}

char16_t unitOf(QLatin1Char c)
{
    return c.unicode();
}

char16_t unitOf(QChar c)
{
    return c.unicode();
}

char16_t upperAscii(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c;
}

template <typename A, typename B> int compareUnits(A a, B b, bool upper)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t x = unitOf(a[i]);
        char16_t y = unitOf(b[i]);
        if (upper) {
            x = upperAscii(x);
            y = upperAscii(y);
        }
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Code-unit order of two stored texts, Latin-1 or UTF-16 either, without converting them.
int compareViews(QAnyStringView a, QAnyStringView b, bool upper)
{
    return a.visit([&](auto x) {
        return b.visit([&](auto y) {
            using X = decltype(x);
            using Y = decltype(y);
            if constexpr (std::is_same_v<X, QUtf8StringView> || std::is_same_v<Y, QUtf8StringView>)
                return compareUnits(QStringView(QAnyStringView(x).toString()),
                                    QStringView(QAnyStringView(y).toString()), upper);
            else
                return compareUnits(x, y, upper);
        });
    });
}

} // namespace

struct TSortCompare::TColumnCache
{
    TSortStyle style = TSortStyle::ssAutomatic;
    QString prefix;
    QString suffix;
    // The alphabetic compare of this column folds a to z.
    bool upper = false;
    // Keys of the cells compared so far. Tie-breaks reach a few scattered rows of a column, or
    // all of them: the keys start in a map and move to a table once many rows are in it. The
    // map stays until the session ends, so a key handed out remains valid.
    std::unordered_map<int, TSortKey> sparse;
    std::vector<TSortKey> dense;
};

TSortCompare::TSortCompare(ISortCompareSource &Source) : m_source(Source) {}

TSortCompare::~TSortCompare() = default;

QCollator &TSortCompare::collator(bool ignoreCase)
{
    const QLocale locale;
    if (!m_caseCollator || locale != m_collatorLocale) {
        m_collatorLocale = locale;
        m_caseCollator = std::make_unique<QCollator>(locale);
        m_caseCollator->setCaseSensitivity(Qt::CaseSensitive);
        m_noCaseCollator = std::make_unique<QCollator>(locale);
        m_noCaseCollator->setCaseSensitivity(Qt::CaseInsensitive);
    }
    return ignoreCase ? *m_noCaseCollator : *m_caseCollator;
}

int TSortCompare::compareLocaleAware(const QString &a, const QString &b, bool ignoreCase)
{
    return sign(collator(ignoreCase).compare(a, b));
}

int TSortCompare::CompareCellPair(int ACol, int Row1, int Row2, TSortDirection Direction)
{
    m_source.SortCompareCounted();
    if (cacheable(ACol, Row1, Row2)) {
        TColumnCache &cache = columnCache(ACol);
        return compareKeys(cache, ACol, cellKey(cache, ACol, Row1), Row1,
                           cellKey(cache, ACol, Row2), Row2, Direction);
    }
    const TSortSettings &settings = m_source.SortCompareSettings();
    TSortStyle style = defaultStyle(settings);
    QString prefix;
    QString suffix;
    m_source.SortQueryCellFormat(ACol, style, prefix, suffix);
    return compareUncached(ACol, Row1, Row2, Direction, style, prefix, suffix);
}

int TSortCompare::compareUncached(int ACol,
                                  int Row1,
                                  int Row2,
                                  TSortDirection Direction,
                                  TSortStyle style,
                                  const QString &prefix,
                                  const QString &suffix)
{
    const TSortSettings &settings = m_source.SortCompareSettings();
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

void TSortCompare::BeginSession(int RowCount)
{
    m_session = true;
    m_sessionRows = std::max(0, RowCount);
    m_columns.clear();
    m_lastColumn = -1;
    m_lastCache = nullptr;
    m_dateSep = RegionalDateSeparator();
    m_timeSep = RegionalTimeSeparator();
    m_thousandSep = RegionalThousandSeparator();
    m_decimalSep = RegionalDecimalSeparator();
}

void TSortCompare::EndSession()
{
    m_session = false;
    m_sessionRows = 0;
    m_columns.clear();
    m_lastColumn = -1;
    m_lastCache = nullptr;
}

bool TSortCompare::cacheable(int ACol, int Row1, int Row2) const
{
    return m_session && ACol >= 0 && ACol < kMaxCachedColumns && Row1 >= 0 && Row2 >= 0 &&
           Row1 < m_sessionRows && Row2 < m_sessionRows;
}

bool TSortCompare::IsKeyed(int ACol)
{
    return cacheable(ACol, 0, 0);
}

int TSortCompare::CompareKeys(int ACol,
                              const TSortKey &Key1,
                              int Row1,
                              const TSortKey &Key2,
                              int Row2,
                              TSortDirection Direction)
{
    m_source.SortCompareCounted();
    return compareKeys(columnCache(ACol), ACol, Key1, Row1, Key2, Row2, Direction);
}

TSortCompare::TColumnCache &TSortCompare::columnCache(int ACol)
{
    if (ACol == m_lastColumn)
        return *m_lastCache;
    if (static_cast<size_t>(ACol) >= m_columns.size())
        m_columns.resize(static_cast<size_t>(ACol) + 1);
    std::unique_ptr<TColumnCache> &slot = m_columns[static_cast<size_t>(ACol)];
    if (!slot) {
        slot = std::make_unique<TColumnCache>();
        slot->style = defaultStyle(m_source.SortCompareSettings());
        m_source.SortQueryCellFormat(ACol, slot->style, slot->prefix, slot->suffix);
        const TSortStyle st = slot->style;
        slot->upper =
            st == TSortStyle::ssAlphaNoCase || st == TSortStyle::ssAlphaNumericNoCase ||
            (st == TSortStyle::ssAutomatic && m_source.SortCompareSettings().IgnoreCase());
    }
    m_lastColumn = ACol;
    m_lastCache = slot.get();
    return *slot;
}

const TSortKey &TSortCompare::cellKey(TColumnCache &cache, int ACol, int ARow)
{
    // The column a sort orders by takes its keys through MakeKey and never comes here.
    if (cache.dense.empty()) {
        if (const auto it = cache.sparse.find(ARow); it != cache.sparse.end())
            return it->second;
        if (cache.sparse.size() < std::max<size_t>(1024, size_t(m_sessionRows) / 8)) {
            TSortKey &k = cache.sparse[ARow];
            makeKey(cache, ACol, ARow, k);
            return k;
        }
        cache.dense.resize(size_t(m_sessionRows));
        for (const auto &[row, key] : cache.sparse)
            cache.dense[size_t(row)] = key;
    }
    TSortKey &k = cache.dense[size_t(ARow)];
    if (!(k.flags & TSortKey::Known))
        makeKey(cache, ACol, ARow, k);
    return k;
}

TSortKey TSortCompare::MakeKey(int ACol, int ARow)
{
    TSortKey k;
    makeKey(columnCache(ACol), ACol, ARow, k);
    return k;
}

void TSortCompare::makeKey(TColumnCache &cache, int ACol, int ARow, TSortKey &k)
{
    // The text is found once: where it can be read in place, the key's view and its copy
    // come from the same look-up.
    QAnyStringView view;
    const bool hasView = m_source.SortTextView(ACol, ARow, view);
    const QString text = hasView ? (view.isEmpty() ? QString() : view.toString())
                         : m_source.SortCompareSettings().SortOnVirtualCells()
                             ? m_source.SortDisplayText(ACol, ARow)
                             : m_source.SortStoredText(ACol, ARow);
    uint16_t flags = TSortKey::Known | (text.isEmpty() ? TSortKey::Blank : 0);
    auto readNumberKey = [&](bool financial) {
        const NumberSide n =
            readNumber(text, financial, cache.prefix, cache.suffix, m_thousandSep, m_decimalSep);
        k.number = n.value;
        if (n.text.isEmpty())
            flags |= TSortKey::NumberBlank;
    };
    switch (cache.style) {
    case TSortStyle::ssAutomatic: {
        if (isCheckCell(m_source.SortCellType(ACol, ARow))) {
            flags |= TSortKey::CheckCell;
            if (m_source.SortCheckBoxState(ACol, ARow))
                flags |= TSortKey::Checked;
        }
        if (isNumberKind(NumberTextKind(text, m_thousandSep, m_decimalSep)))
            flags |= TSortKey::Number;
        readNumberKey(false);
        const qsizetype p = text.indexOf(m_dateSep);
        if ((p == 1 || p == 2) && p + 1 < text.size()) {
            flags |= TSortKey::DateStart;
            if (separatorBetweenDigits(text, p))
                flags |= TSortKey::DateDigits;
        }
        if (p >= 0) {
            flags |= TSortKey::HasDateSep;
            k.dateTime = dateTimeValue(text);
        }
        const qsizetype q = text.indexOf(m_timeSep);
        if (separatorBetweenDigits(text, q))
            flags |= TSortKey::TimeDigits;
        if (q >= 0) {
            flags |= TSortKey::HasTimeSep;
            k.time = timeValue(text);
        }
        break;
    }
    case TSortStyle::ssAlphaNumeric:
    case TSortStyle::ssAlphaNumericNoCase:
        if (isNumberKind(NumberTextKind(text, m_thousandSep, m_decimalSep)))
            flags |= TSortKey::Number;
        readNumberKey(false);
        break;
    case TSortStyle::ssNumeric:
    case TSortStyle::ssFinancial:
        readNumberKey(cache.style == TSortStyle::ssFinancial);
        break;
    case TSortStyle::ssDate:
    case TSortStyle::ssDateTime:
        k.dateTime = dateTimeValue(text);
        break;
    case TSortStyle::ssShortDateEU:
    case TSortStyle::ssShortDateUS:
        k.dateTime = shortDateValue(text, cache.style == TSortStyle::ssShortDateUS);
        break;
    case TSortStyle::ssTime:
        k.time = timeValue(text);
        break;
    case TSortStyle::ssImages:
        k.number = m_source.SortImageKey(ACol, ARow);
        break;
    case TSortStyle::ssCheckBox:
        if (m_source.SortCheckBoxState(ACol, ARow))
            flags |= TSortKey::Checked;
        break;
    case TSortStyle::ssAnsiAlphaCase:
    case TSortStyle::ssAnsiAlphaNoCase:
        k.collated = collator(cache.style == TSortStyle::ssAnsiAlphaNoCase).sortKey(text);
        break;
    case TSortStyle::ssHTML:
        k.owned = m_source.SortStrippedText(ACol, ARow);
        flags = (flags & ~TSortKey::Blank) | (k.owned.isEmpty() ? TSortKey::Blank : 0);
        break;
    case TSortStyle::ssCustom:
        k.owned = text;
        break;
    default:
        break;
    }
    if (mayCompareTexts(cache.style)) {
        if (hasView) {
            k.text = view;
            flags |= TSortKey::TextView;
        }
        for (qsizetype i = 0; i < 8; ++i) {
            const char16_t u = i < text.size() ? text[i].unicode() : char16_t(0);
            uint64_t &part = k.prefix[i / 4];
            part = (part << 16) | (cache.upper ? upperAscii(u) : u);
        }
    }
    k.flags = flags;
}

int TSortCompare::compareTexts(
    int ACol, const TSortKey &k1, int Row1, const TSortKey &k2, int Row2, bool upperAscii)
{
    if (const int r = ComparePrefixes(k1, k2))
        return r;
    if ((k1.flags & k2.flags & TSortKey::TextView) != 0)
        return compareViews(k1.text, k2.text, upperAscii);
    return CompareCellTexts(ACol, Row1, Row2, upperAscii);
}

int TSortCompare::CompareCellTexts(int ACol, int Row1, int Row2, bool upperAscii)
{
    QAnyStringView a;
    QAnyStringView b;
    if (m_source.SortTextView(ACol, Row1, a) && m_source.SortTextView(ACol, Row2, b))
        return compareViews(a, b, upperAscii);
    const bool virtualCells = m_source.SortCompareSettings().SortOnVirtualCells();
    const QString t1 =
        virtualCells ? m_source.SortDisplayText(ACol, Row1) : m_source.SortStoredText(ACol, Row1);
    const QString t2 =
        virtualCells ? m_source.SortDisplayText(ACol, Row2) : m_source.SortStoredText(ACol, Row2);
    return compareViews(t1, t2, upperAscii);
}

// The same order as compareUncached, from the cells' keys.
int TSortCompare::compareKeys(TColumnCache &cache,
                              int ACol,
                              const TSortKey &k1,
                              int Row1,
                              const TSortKey &k2,
                              int Row2,
                              TSortDirection Direction)
{
    const TSortSettings &settings = m_source.SortCompareSettings();
    const TSortStyle alpha =
        settings.IgnoreCase() ? TSortStyle::ssAlphaNoCase : TSortStyle::ssAlphabetic;
    TSortStyle style = cache.style;
    if (style == TSortStyle::ssAutomatic) {
        if (k1.flags & TSortKey::CheckCell)
            style = TSortStyle::ssCheckBox;
        else if (k1.flags & TSortKey::Number)
            style = TSortStyle::ssNumeric;
        else if (k1.flags & TSortKey::DateStart)
            style = (k1.flags & TSortKey::DateDigits) && (k2.flags & TSortKey::HasDateSep)
                        ? ((k1.flags & TSortKey::HasTimeSep) ? TSortStyle::ssDateTime
                                                             : TSortStyle::ssDate)
                        : alpha;
        else if ((k1.flags & TSortKey::TimeDigits) && (k2.flags & TSortKey::HasTimeSep))
            style = TSortStyle::ssTime;
        else
            style = alpha;
    } else if (style == TSortStyle::ssAlphaNumeric || style == TSortStyle::ssAlphaNumericNoCase) {
        if ((k1.flags & TSortKey::Number) && (k2.flags & TSortKey::Number))
            style = TSortStyle::ssNumeric;
        else if (style == TSortStyle::ssAlphaNumeric)
            style = TSortStyle::ssAlphabetic;
        else
            style = TSortStyle::ssAlphaNoCase;
    }

    int r = 0;
    uint16_t blank = TSortKey::Blank;
    switch (style) {
    case TSortStyle::ssNumeric:
    case TSortStyle::ssFinancial:
        r = sign(k1.number, k2.number);
        blank = TSortKey::NumberBlank;
        break;
    case TSortStyle::ssDate:
    case TSortStyle::ssDateTime:
    case TSortStyle::ssShortDateEU:
    case TSortStyle::ssShortDateUS:
        r = sign(k1.dateTime, k2.dateTime);
        break;
    case TSortStyle::ssTime:
        r = sign(k1.time, k2.time);
        break;
    case TSortStyle::ssImages:
        r = sign(k1.number, k2.number);
        break;
    case TSortStyle::ssCheckBox:
        r = int((k1.flags & TSortKey::Checked) != 0) - int((k2.flags & TSortKey::Checked) != 0);
        break;
    case TSortStyle::ssAlphaNoCase:
        r = compareTexts(ACol, k1, Row1, k2, Row2, true);
        break;
    case TSortStyle::ssAnsiAlphaCase:
    case TSortStyle::ssAnsiAlphaNoCase:
        r = sign(k1.collated->compare(*k2.collated));
        break;
    case TSortStyle::ssHTML:
        r = compareViews(k1.owned, k2.owned, false);
        break;
    case TSortStyle::ssCustom: {
        int res = 0;
        m_source.SortCustomCompare(k1.owned, k2.owned, res);
        r = sign(res);
        break;
    }
    case TSortStyle::ssRaw: {
        int res = 0;
        m_source.SortRawCompare(ACol, Row1, Row2, res);
        r = sign(res);
        break;
    }
    default:
        r = compareTexts(ACol, k1, Row1, k2, Row2, false);
        break;
    }
    const bool blank1 = (k1.flags & blank) != 0;
    const bool blank2 = (k2.flags & blank) != 0;
    if (settings.IgnoreBlanks() && blank1 != blank2)
        r = blankResult(blank1, Direction, settings.BlankPos());
    return r;
}

TSortKeyOrder TSortCompare::UniformOrder(int ACol, const std::vector<const TSortKey *> &Keys)
{
    if (!IsKeyed(ACol))
        return TSortKeyOrder::Mixed;
    const TColumnCache &cache = columnCache(ACol);
    uint16_t any = 0;
    uint16_t all = 0xFFFF;
    for (const TSortKey *k : Keys) {
        any |= k->flags;
        all &= k->flags;
    }
    const bool blanks = m_source.SortCompareSettings().IgnoreBlanks();
    auto byNumber = [&] {
        return blanks && (any & TSortKey::NumberBlank) ? TSortKeyOrder::Mixed
                                                       : TSortKeyOrder::ByNumber;
    };
    auto byText = [&] {
        if ((blanks && (any & TSortKey::Blank)) || !(all & TSortKey::TextView))
            return TSortKeyOrder::Mixed;
        return cache.upper ? TSortKeyOrder::ByTextNoCase : TSortKeyOrder::ByText;
    };
    auto byValue = [&](TSortKeyOrder order) {
        return blanks && (any & TSortKey::Blank) ? TSortKeyOrder::Mixed : order;
    };
    constexpr uint16_t notAlpha =
        TSortKey::CheckCell | TSortKey::Number | TSortKey::DateStart | TSortKey::TimeDigits;
    switch (cache.style) {
    case TSortStyle::ssNumeric:
    case TSortStyle::ssFinancial:
        return byNumber();
    case TSortStyle::ssImages:
        return byValue(TSortKeyOrder::ByNumber);
    case TSortStyle::ssDate:
    case TSortStyle::ssDateTime:
    case TSortStyle::ssShortDateEU:
    case TSortStyle::ssShortDateUS:
        return byValue(TSortKeyOrder::ByDateTime);
    case TSortStyle::ssTime:
        return byValue(TSortKeyOrder::ByTime);
    case TSortStyle::ssAlphabetic:
    case TSortStyle::ssAlphaCase:
    case TSortStyle::ssAlphaNoCase:
        return byText();
    case TSortStyle::ssAlphaNumeric:
    case TSortStyle::ssAlphaNumericNoCase:
        if (all & TSortKey::Number)
            return byNumber();
        return (any & TSortKey::Number) ? TSortKeyOrder::Mixed : byText();
    case TSortStyle::ssAutomatic:
        if ((all & TSortKey::Number) && !(any & TSortKey::CheckCell))
            return byNumber();
        return (any & notAlpha) ? TSortKeyOrder::Mixed : byText();
    default:
        return TSortKeyOrder::Mixed;
    }
}

int TSortCompare::CompareTextViews(QAnyStringView A, QAnyStringView B, bool UpperAscii)
{
    return compareViews(A, B, UpperAscii);
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

TSortStyle TSortCompare::ColumnStyle(int ACol)
{
    return columnCache(ACol).style;
}

bool TSortCompare::ColumnFoldsCase(int ACol)
{
    return columnCache(ACol).upper;
}

bool TSortCompare::IsCompactBlank(int ACol, const TSortKey &Key)
{
    const TSortStyle style = columnCache(ACol).style;
    // An empty cell of an automatic column compares as the alphabetic style against any other
    // cell, so it orders before every text, date and time, and blank rules aside all empty
    // cells tie.
    if (style == TSortStyle::ssAutomatic)
        return (Key.flags & TSortKey::Blank) != 0;
    if (!m_source.SortCompareSettings().IgnoreBlanks())
        return false;
    if (style == TSortStyle::ssNumeric || style == TSortStyle::ssFinancial)
        return (Key.flags & TSortKey::NumberBlank) != 0;
    return (Key.flags & TSortKey::Blank) != 0;
}

TSortCompactPlan
TSortCompare::CompactPlan(int ACol, const TSortKeyTally &Tally, TSortDirection Direction)
{
    TSortCompactPlan plan;
    if (!IsKeyed(ACol))
        return plan;
    const TColumnCache &cache = columnCache(ACol);
    const TSortSettings &settings = m_source.SortCompareSettings();
    const bool ignore = settings.IgnoreBlanks();
    const uint16_t any = Tally.anyRegular;
    const uint16_t all = Tally.allRegular;
    using B = TSortCompactPlan::Blanks;
    if (Tally.blank > 0) {
        // Placed by the blank rule whatever the direction, else as the smallest values.
        plan.blanks = ignore ? (settings.BlankPos() == TSortBlankPosition::blFirst ? B::First
                                                                                  : B::Last)
                             : (Direction == TSortDirection::sdAscending ? B::First : B::Last);
    }
    auto text = [&] {
        if (!(all & TSortKey::TextView))
            return TSortKeyOrder::Mixed;
        return cache.upper ? TSortKeyOrder::ByTextNoCase : TSortKeyOrder::ByText;
    };
    // Numbers whose text is blank once prefix and suffix are gone are blanks to the number
    // compare but not to the others.
    auto number = [&] {
        return ignore && (any & TSortKey::NumberBlank) ? TSortKeyOrder::Mixed
                                                       : TSortKeyOrder::ByNumber;
    };
    constexpr uint16_t dated = TSortKey::DateStart | TSortKey::DateDigits | TSortKey::HasDateSep;
    constexpr uint16_t timed = TSortKey::TimeDigits | TSortKey::HasTimeSep;
    constexpr uint16_t notAlpha =
        TSortKey::CheckCell | TSortKey::Number | TSortKey::DateStart | TSortKey::TimeDigits;
    switch (cache.style) {
    case TSortStyle::ssNumeric:
    case TSortStyle::ssFinancial:
    case TSortStyle::ssImages:
        plan.order = TSortKeyOrder::ByNumber;
        break;
    case TSortStyle::ssDate:
    case TSortStyle::ssDateTime:
    case TSortStyle::ssShortDateEU:
    case TSortStyle::ssShortDateUS:
        plan.order = TSortKeyOrder::ByDateTime;
        break;
    case TSortStyle::ssTime:
        plan.order = TSortKeyOrder::ByTime;
        break;
    case TSortStyle::ssAlphabetic:
    case TSortStyle::ssAlphaCase:
    case TSortStyle::ssAlphaNoCase:
        plan.order = text();
        break;
    case TSortStyle::ssAlphaNumeric:
    case TSortStyle::ssAlphaNumericNoCase:
        if (Tally.regular == 0)
            plan.order = text();
        else if (all & TSortKey::Number)
            plan.order = number();
        else
            plan.order = (any & TSortKey::Number) ? TSortKeyOrder::Mixed : text();
        break;
    case TSortStyle::ssAutomatic:
        if (Tally.anyBlank & TSortKey::CheckCell)
            plan.order = TSortKeyOrder::Mixed;
        else if (Tally.regular == 0)
            plan.order = TSortKeyOrder::ByText;
        else if ((all & TSortKey::Number) && !(any & TSortKey::CheckCell))
            // A number against an empty cell compares as numbers, the other way round as
            // texts: only the blank rule orders them alike.
            plan.order = Tally.blank > 0 && !ignore ? TSortKeyOrder::Mixed : number();
        else if (!(any & (TSortKey::CheckCell | TSortKey::Number)) && (all & dated) == dated)
            plan.order = TSortKeyOrder::ByDateTime;
        else if (!(any & (TSortKey::CheckCell | TSortKey::Number | TSortKey::DateStart)) &&
                 (all & timed) == timed)
            plan.order = TSortKeyOrder::ByTime;
        else
            plan.order = (any & notAlpha) ? TSortKeyOrder::Mixed : text();
        break;
    default:
        break;
    }
    return plan;
}
