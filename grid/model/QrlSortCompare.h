// The order of two cells and of two rows during a sort of the string grid: the compare of two
// cells of one column by the column's sort style, the compare of two rows by one column with the
// columns to its right as tie-breakers, and the compare by the sort-index list.
//
// The engine reads everything through ISortCompareSource, which the grid implements privately;
// the style is asked anew on every compare, so handlers may answer per column or per call.
#pragma once

#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridTypes.h"

#include <QAnyStringView>
#include <QCollator>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class TSortIndexList;

// What the compare needs of the grid. Columns are real columns (hidden ones included), rows are
// the rows the sort works on, scratch rows of a partition sort included.
class ISortCompareSource
{
public:
    virtual ~ISortCompareSource() = default;

    // Direction, AutoFormat, IgnoreCase, Full, IgnoreBlanks, BlankPos, SortOnVirtualCells.
    virtual const TSortSettings &SortCompareSettings() const = 0;
    // ColCount as it stands during the sort: raised by the hidden columns.
    virtual int SortColCount() const = 0;
    virtual bool SortIsIgnoredColumn(int ACol) const = 0;
    virtual const TSortIndexList &SortIndexes() const = 0;
    // QueryCellFormat: the column's style, prefix and suffix, starting from the values passed.
    virtual void
    SortQueryCellFormat(int ACol, TSortStyle &AStyle, QString &aPrefix, QString &aSuffix) = 0;
    // GetCellEx (display text, through the display hooks) and GetGridCell (stored text).
    virtual QString SortDisplayText(int ACol, int ARow) = 0;
    virtual QString SortStoredText(int ACol, int ARow) = 0;
    // GetStrippedCell: the display text without its mini-HTML tags.
    virtual QString SortStrippedText(int ACol, int ARow) = 0;
    // The text the compare reads (display or stored, as SortOnVirtualCells says) without a
    // copy, valid until the next write; false where only SortDisplayText can give it.
    virtual bool SortTextView(int ACol, int ARow, QAnyStringView &View)
    {
        (void)ACol;
        (void)ARow;
        (void)View;
        return false;
    }
    virtual TCellType SortCellType(int ACol, int ARow) = 0;
    // The Boolean check-box state; false for a cell that is no check cell.
    virtual bool SortCheckBoxState(int ACol, int ARow) = 0;
    // CellImageSortKey.
    virtual int SortImageKey(int ACol, int ARow) = 0;
    // Fire OnCustomCompare / OnRawCompare when assigned; Res arrives as 0.
    virtual void SortCustomCompare(const QString &str1, const QString &str2, int &Res) = 0;
    virtual void SortRawCompare(int ACol, int Row1, int Row2, int &Res) = 0;
    // Compares + 1, once per cell comparison.
    virtual void SortCompareCounted() = 0;
    // Compares + Count, for a sort that counts its comparisons itself.
    virtual void SortComparesCounted(int Count)
    {
        for (int i = 0; i < Count; ++i)
            SortCompareCounted();
    }
};

// What a cell of a session's column sorts by, worked out on its first compare: its number,
// date or time, the kinds the automatic style looks at, and for the alphabetic styles a view
// of its text (valid while the store is not written, which a sort does not do while it orders).
struct TSortKey
{
    enum : uint16_t {
        Known = 1,
        Blank = 2,        // the text is empty
        NumberBlank = 4,  // the text without prefix, suffix (and thousands) is empty
        Number = 8,       // an integer, decimal or exponent number text
        CheckCell = 16,   // a check-box cell
        Checked = 32,     // its state
        DateStart = 64,   // a date separator at the second or third character, not last
        DateDigits = 128, // ... with digits on both sides
        HasDateSep = 256,
        TimeDigits = 512, // a time separator at the second or third character between digits
        HasTimeSep = 1024,
        TextView = 2048, // text holds the cell's text
    };
    double number = 0;   // the number, or the image key for ssImages
    double dateTime = 0; // the date and time, or the short date
    double time = 0;
    QAnyStringView text;
    // The first eight code units (a to z folded where the column's compare folds them), zero
    // filled, four to a number: unequal prefixes order two texts without reading them.
    uint64_t prefix[2] = {0, 0};
    uint16_t flags = 0;
    // The text as the HTML and custom styles compare it (tags stripped for HTML), and the
    // locale's sort key for the locale-aware styles.
    QString owned;
    std::optional<QCollatorSortKey> collated;
};

// How a column's keys order every pair alike, so a sort can compare one value per row.
enum class TSortKeyOrder { Mixed, ByNumber, ByDateTime, ByTime, ByText, ByTextNoCase };

// The flags of a run of keys of one column, gathered one key at a time, the blank ones (as
// TSortCompare::IsCompactBlank tells) apart from the others.
struct TSortKeyTally
{
    uint16_t anyRegular = 0;
    uint16_t allRegular = 0xFFFF;
    uint16_t anyBlank = 0;
    size_t regular = 0;
    size_t blank = 0;
    void add(const TSortKey &Key, bool Blank)
    {
        if (Blank) {
            anyBlank |= Key.flags;
            ++blank;
        } else {
            anyRegular |= Key.flags;
            allRegular &= Key.flags;
            ++regular;
        }
    }
};

// How a run of keys sorts by one value per row: the value, and where the blank keys go as one
// block (their values ordered among themselves) when they do not order among the others.
struct TSortCompactPlan
{
    enum class Blanks { Among, First, Last };
    TSortKeyOrder order = TSortKeyOrder::Mixed;
    Blanks blanks = Blanks::Among;
};

class TSortCompare
{
public:
    explicit TSortCompare(ISortCompareSource &Source);
    ~TSortCompare();
    TSortCompare(const TSortCompare &) = delete;
    TSortCompare &operator=(const TSortCompare &) = delete;

    // Ascending terms: 1 when the cell of Row1 sorts after the cell of Row2, -1 before, 0 equal.
    // Direction only places blank cells (with IgnoreBlanks).
    int CompareCellPair(int ACol, int Row1, int Row2, TSortDirection Direction);
    // A session covers one sort whose rows stay where they are until it ends (the rows are
    // ordered by number and moved afterwards). Each column's format is asked once and what a
    // cell sorts by (its number, date, kinds) is worked out once, so a compare reads no text
    // but for the alphabetic styles and allocates nothing. Rows 0 .. RowCount - 1 are covered.
    void BeginSession(int RowCount);
    void EndSession();
    bool InSession() const { return m_session; }
    // In a session: whether the column compares by keys (any column the session covers), the
    // key of one of its cells, and the compare of two of its cells from their keys, as
    // CompareCellPair answers (counted like it).
    bool IsKeyed(int ACol);
    TSortKey MakeKey(int ACol, int ARow);
    // The one way all pairs of these keys of the column compare, or Mixed.
    TSortKeyOrder UniformOrder(int ACol, const std::vector<const TSortKey *> &Keys);
    // In a session: the column's style as its format gives it.
    TSortStyle ColumnStyle(int ACol);
    // ... and whether its alphabetic compare folds a to z.
    bool ColumnFoldsCase(int ACol);
    // Whether the key stands apart from the others of its column in a compact sort: a blank
    // the blank rule places (IgnoreBlanks), or an empty cell of an automatic column.
    bool IsCompactBlank(int ACol, const TSortKey &Key);
    // How keys gathered in Tally sort by one value each, in the compare's direction: every
    // pair of them, blank or not, compares as their values (blanks apart) say, or Mixed.
    TSortCompactPlan CompactPlan(int ACol, const TSortKeyTally &Tally, TSortDirection Direction);
    // Code-unit order of two texts (a to z folded with UpperAscii): -1, 0 or 1.
    static int CompareTextViews(QAnyStringView A, QAnyStringView B, bool UpperAscii);
    // Code-unit order of the texts of two cells of the column, as the alphabetic styles
    // compare them.
    int CompareCellTexts(int ACol, int Row1, int Row2, bool UpperAscii);
    // The order of two texts by their key prefixes: -1 or 1, or 0 when the prefixes are equal
    // and only the texts can tell.
    static int ComparePrefixes(const TSortKey &A, const TSortKey &B)
    {
        if (A.prefix[0] != B.prefix[0])
            return A.prefix[0] < B.prefix[0] ? -1 : 1;
        if (A.prefix[1] != B.prefix[1])
            return A.prefix[1] < B.prefix[1] ? -1 : 1;
        return 0;
    }
    int CompareKeys(int ACol,
                    const TSortKey &Key1,
                    int Row1,
                    const TSortKey &Key2,
                    int Row2,
                    TSortDirection Direction);

    // By ACol; ties go to the columns to its right (with Full), never to the left.
    int CompareRows(int ACol, int Row1, int Row2);
    // By the sort-index list from entry Index on, in the order wanted: 1 means Row1 belongs
    // after Row2. An Index past the list compares as equal.
    int CompareRowsIndexed(int Index, int Row1, int Row2);

private:
    struct TColumnCache;

    int compareLocaleAware(const QString &a, const QString &b, bool ignoreCase);
    // Made on first use and again when the default locale changes.
    QCollator &collator(bool ignoreCase);
    // The compare of two texts by a style not yet resolved, with the column's format.
    int compareUncached(int ACol,
                        int Row1,
                        int Row2,
                        TSortDirection Direction,
                        TSortStyle style,
                        const QString &prefix,
                        const QString &suffix);
    bool cacheable(int ACol, int Row1, int Row2) const;
    TColumnCache &columnCache(int ACol);
    const TSortKey &cellKey(TColumnCache &cache, int ACol, int ARow);
    void makeKey(TColumnCache &cache, int ACol, int ARow, TSortKey &k);
    int compareKeys(TColumnCache &cache,
                    int ACol,
                    const TSortKey &k1,
                    int Row1,
                    const TSortKey &k2,
                    int Row2,
                    TSortDirection Direction);
    int compareTexts(
        int ACol, const TSortKey &k1, int Row1, const TSortKey &k2, int Row2, bool upperAscii);

    ISortCompareSource &m_source;
    // Built on first use and again when the default locale changes.
    QLocale m_collatorLocale;
    std::unique_ptr<QCollator> m_caseCollator;
    std::unique_ptr<QCollator> m_noCaseCollator;

    bool m_session = false;
    int m_sessionRows = 0;
    QChar m_dateSep, m_timeSep, m_thousandSep, m_decimalSep;
    std::vector<std::unique_ptr<TColumnCache>> m_columns;
    int m_lastColumn = -1;
    TColumnCache *m_lastCache = nullptr;
};
