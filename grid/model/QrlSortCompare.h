// The order of two cells and of two rows during a sort of the string grid: the compare of two
// cells of one column by the column's sort style, the compare of two rows by one column with the
// columns to its right as tie-breakers, and the compare by the sort-index list.
//
// The engine reads everything through ISortCompareSource, which the grid implements privately;
// the style is asked anew on every compare, so handlers may answer per column or per call.
#pragma once

#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridTypes.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include <memory>

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
    // By ACol; ties go to the columns to its right (with Full), never to the left.
    int CompareRows(int ACol, int Row1, int Row2);
    // By the sort-index list from entry Index on, in the order wanted: 1 means Row1 belongs
    // after Row2. An Index past the list compares as equal.
    int CompareRowsIndexed(int Index, int Row1, int Row2);

private:
    int compareLocaleAware(const QString &a, const QString &b, bool ignoreCase);

    ISortCompareSource &m_source;
    // Built on first use and again when the default locale changes.
    QLocale m_collatorLocale;
    std::unique_ptr<QCollator> m_caseCollator;
    std::unique_ptr<QCollator> m_noCaseCollator;
};
