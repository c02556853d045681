// Sorting of the string grid: by one column with tie-breaks, by an index list, inside node
// groups, and back to the order before sorting.
//
// A sort orders row numbers first, while the rows stay where they are (a stable merge sort that
// stays in bounds whatever a compare handler answers), then moves the rows into that order with
// at most n - 1 exchanges through SortSwapRows. So every cell is read where it stands, what it
// sorts by is worked out once per cell, and an exchange moves two row pointers.
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlSortCompare.h"
#include "grid/model/QrlSortOrder.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"

#include <QScopeGuard>

#include <algorithm>
#include <numeric>
#include <vector>

// What the compare reads of the grid. Columns are store columns: the shown ones, then the
// hidden ones, so hidden cells take part in tie-breaks.
class TGridSortSource final : public ISortCompareSource
{
public:
    explicit TGridSortSource(TQrlStringGrid &g) : m_g(g) {}

    const TSortSettings &SortCompareSettings() const override { return *m_g.SortSettings(); }
    int SortColCount() const override { return m_g.ColCount() + m_g.NumHiddenColumns(); }
    bool SortIsIgnoredColumn(int ACol) const override
    {
        return m_g.d->ignoreColumns.HasValue(ACol);
    }
    const TSortIndexList &SortIndexes() const override { return m_g.d->sortIndexes; }
    void
    SortQueryCellFormat(int ACol, TSortStyle &AStyle, QString &aPrefix, QString &aSuffix) override
    {
        m_g.QueryCellFormat(ACol, AStyle, aPrefix, aSuffix);
    }
    QString SortDisplayText(int ACol, int ARow) override
    {
        if (m_storedIsShown && !coveredByMerge(ACol, ARow))
            return m_g.GetGridCell(ACol, ARow);
        return m_g.GetCellEx(ACol, ARow);
    }
    QString SortStoredText(int ACol, int ARow) override { return m_g.GetGridCell(ACol, ARow); }
    QString SortStrippedText(int ACol, int ARow) override
    {
        return m_g.GetStrippedCell(ACol, ARow);
    }
    bool SortTextView(int ACol, int ARow, QAnyStringView &View) override
    {
        if (m_g.SortSettings()->SortOnVirtualCells()) {
            if (!m_storedIsShown)
                return false;
            if (coveredByMerge(ACol, ARow))
                return false;
        }
        View = m_g.Store().TextView(ACol, ARow);
        return true;
    }
    TCellType SortCellType(int ACol, int ARow) override { return m_g.GetCellType(ACol, ARow); }
    bool SortCheckBoxState(int ACol, int ARow) override
    {
        bool state = false;
        return m_g.GetCheckBoxState(ACol, ARow, state) && state;
    }
    int SortImageKey(int ACol, int ARow) override { return m_g.CellImageSortKey(ACol, ARow); }
    void SortCustomCompare(const QString &str1, const QString &str2, int &Res) override
    {
        if (m_g.OnCustomCompare)
            m_g.OnCustomCompare(&m_g, str1, str2, Res);
    }
    void SortRawCompare(int ACol, int Row1, int Row2, int &Res) override
    {
        if (m_g.OnRawCompare)
            m_g.OnRawCompare(&m_g, ACol, Row1, Row2, Res);
    }
    void SortCompareCounted() override { ++m_g.d->compares; }
    void SortComparesCounted(int Count) override { m_g.d->compares += Count; }

private:
    // A covered cell of a merged area shows its base cell's text.
    bool coveredByMerge(int ACol, int ARow) const
    {
        return m_g.HasCellProperties(ACol, ARow) && m_g.IsMergedNonBaseCell(ACol, ARow);
    }

    TQrlStringGrid &m_g;
    const bool m_storedIsShown = m_g.DisplayTextIsStored();
};

namespace {

template <typename T, typename After> void stableSort(std::vector<T> &v, const After &after)
{
    StableSortBy(v, after);
}

void exchangeInto(TQrlStringGrid &g, int Left, std::vector<int> &order);

// Moves the rows into `order` (order[i] is the row that goes to Left + i) with at most n - 1
// exchanges through SortSwapRows, one cycle of the permutation after the other; order is used
// up as the record of what is done. The cross-reference takes the whole reorder at once first
// (when it covers the rows), rather than one exchange at a time.
void applyOrder(TQrlStringGrid &g, TSortPermutation &xref, int Left, std::vector<int> &order)
{
    const size_t n = order.size();
    const bool whole = n > 0 && Left >= 0 && Left + int(n) <= xref.count();
    if (whole)
        xref.applyRange(Left, order);
    xref.holdSwaps(whole);
    auto release = qScopeGuard([&] { xref.holdSwaps(false); });
    exchangeInto(g, Left, order);
}

void exchangeInto(TQrlStringGrid &g, int Left, std::vector<int> &order)
{
    const size_t n = order.size();
    for (size_t i = 0; i < n; ++i) {
        // Walking the cycle from i: place j takes the row now at k, which has not moved yet;
        // the row from i travels on until the cycle closes.
        size_t j = i;
        for (;;) {
            const size_t k = size_t(order[j] - Left);
            order[j] = Left + int(j);
            if (k == i || k == j)
                break;
            g.SortSwapRows(Left + int(j), Left + int(k));
            j = k;
        }
    }
}

// Orders the rows Left .. Right by `after` over row numbers.
template <typename After>
void sortRows(TQrlStringGrid &g, TSortPermutation &xref, int Left, int Right, const After &after)
{
    if (Right <= Left)
        return;
    std::vector<int> order(size_t(Right - Left + 1));
    std::iota(order.begin(), order.end(), Left);
    stableSort(order, after);
    applyOrder(g, xref, Left, order);
}

int sign(double a, double b)
{
    return a > b ? 1 : (a < b ? -1 : 0);
}

// The same where the first column compares by keys: each row's key is worked out once and
// travels with the row number through the merges, so a compare reads nothing else unless the
// keys tie; `tie` orders tied rows. Where every pair of keys compares the same way (all
// numbers, all plain texts, ...), only the one value that decides travels.
template <typename Tie>
void sortRowsByKey(TQrlStringGrid &g,
                   TSortPermutation &xref,
                   TSortCompare &compare,
                   int &compares,
                   int Col,
                   TSortDirection direction,
                   int Left,
                   int Right,
                   const Tie &tie)
{
    if (Right <= Left)
        return;
    struct TKeyedRow
    {
        TSortKey key;
        int row;
    };
    std::vector<TKeyedRow> rows;
    rows.reserve(size_t(Right - Left + 1));
    for (int r = Left; r <= Right; ++r)
        rows.push_back({compare.MakeKey(Col, r), r});
    std::vector<const TSortKey *> keys(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        keys[i] = &rows[i].key;
    const TSortKeyOrder uniform = compare.UniformOrder(Col, keys);
    keys = {};
    std::vector<int> order(rows.size());

    if (uniform == TSortKeyOrder::ByText || uniform == TSortKeyOrder::ByTextNoCase) {
        // The prefixes order nearly every pair; the texts are read only where they tie.
        struct TTextRow
        {
            uint64_t prefix[2];
            int row;
        };
        std::vector<TTextRow> texts(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            const TSortKey &k = rows[i].key;
            texts[i] = {{k.prefix[0], k.prefix[1]}, rows[i].row};
        }
        rows = {};
        const bool upper = uniform == TSortKeyOrder::ByTextNoCase;
        stableSort(texts, [&](const TTextRow &a, const TTextRow &b) {
            ++compares;
            int r = a.prefix[0] != b.prefix[0]   ? (a.prefix[0] < b.prefix[0] ? -1 : 1)
                    : a.prefix[1] != b.prefix[1] ? (a.prefix[1] < b.prefix[1] ? -1 : 1)
                                                 : 0;
            if (r == 0)
                r = compare.CompareCellTexts(Col, a.row, b.row, upper);
            return r != 0 ? tie.after(r) : tie(a.row, b.row);
        });
        for (size_t i = 0; i < texts.size(); ++i)
            order[i] = texts[i].row;
    } else if (uniform != TSortKeyOrder::Mixed) {
        struct TValueRow
        {
            double value;
            int row;
        };
        std::vector<TValueRow> values(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            const TSortKey &k = rows[i].key;
            values[i] = {uniform == TSortKeyOrder::ByNumber     ? k.number
                         : uniform == TSortKeyOrder::ByDateTime ? k.dateTime
                                                                : k.time,
                         rows[i].row};
        }
        rows = {};
        stableSort(values, [&](const TValueRow &a, const TValueRow &b) {
            ++compares;
            const int r = sign(a.value, b.value);
            return r != 0 ? tie.after(r) : tie(a.row, b.row);
        });
        for (size_t i = 0; i < values.size(); ++i)
            order[i] = values[i].row;
    } else {
        stableSort(rows, [&](const TKeyedRow &a, const TKeyedRow &b) {
            const int r = compare.CompareKeys(Col, a.key, a.row, b.key, b.row, direction);
            return r != 0 ? tie.after(r) : tie(a.row, b.row);
        });
        for (size_t i = 0; i < rows.size(); ++i)
            order[i] = rows[i].row;
        rows = {};
    }
    applyOrder(g, xref, Left, order);
}

// Column 0 of a grid with fixed columns stays where it is with NormalCellsOnly.
class TColumnZeroKeeper
{
public:
    explicit TColumnZeroKeeper(TQrlStringGrid &g)
        : m_g(g), m_active(g.SortSettings()->NormalCellsOnly() && g.FixedCols() > 0)
    {
        if (!m_active)
            return;
        const int rows = g.RowCount();
        m_texts.reserve(static_cast<size_t>(rows));
        m_objects.reserve(static_cast<size_t>(rows));
        for (int r = 0; r < rows; ++r) {
            m_texts.push_back(g.GetGridCell(0, r));
            m_objects.push_back(g.GetGridObject(0, r));
        }
    }
    ~TColumnZeroKeeper() { restore(); }
    TColumnZeroKeeper(const TColumnZeroKeeper &) = delete;
    TColumnZeroKeeper &operator=(const TColumnZeroKeeper &) = delete;

    void restore()
    {
        if (!m_active)
            return;
        m_active = false;
        const int rows = std::min<int>(m_g.RowCount(), static_cast<int>(m_texts.size()));
        for (int r = 0; r < rows; ++r) {
            m_g.SetGridCell(0, r, m_texts[static_cast<size_t>(r)]);
            TCellProperties *p = m_objects[static_cast<size_t>(r)];
            m_g.SetGridObject(0, r, p);
            if (p)
                p->SetOwnerRow(r);
        }
    }

private:
    TQrlStringGrid &m_g;
    bool m_active;
    std::vector<QString> m_texts;
    std::vector<TCellProperties *> m_objects;
};
} // namespace

// ---- cross-reference -------------------------------------------------------------------------

void TStringGridModelState::fitSortXRef(int rowCount)
{
    if (!sortXRef.isInitialised() || rowCount == sortXRef.count())
        return;
    if (rowCount > sortXRef.count())
        sortXRef.linesInserted(TGridAxis::Rows, sortXRef.count(), rowCount - sortXRef.count());
    else
        sortXRef.linesRemoved(TGridAxis::Rows, rowCount, sortXRef.count() - rowCount);
}

void TQrlStringGrid::InitSortXRef()
{
    d->sortXRef.init(RowCount());
}

// ---- row exchange ------------------------------------------------------------------------------

void TQrlStringGrid::SortSwapRows(int ARow1, int ARow2)
{
    ++d->swaps;
    d->sortXRef.swapRows(ARow1, ARow2);
    const TSortSettings &settings = *d->sortSettings;
    if (settings.SingleColumn()) {
        const int c = settings.Column();
        const QString text = GetCellEx(c, ARow1);
        SetCellEx(c, ARow1, GetCellEx(c, ARow2));
        SetCellEx(c, ARow2, text);
        ExchangeCellObjects(c, ARow1, ARow2);
        return;
    }
    ExchangeRowCells(ARow1, ARow2);
    const int h1 = RowHeights(ARow1);
    const int h2 = RowHeights(ARow2);
    if (h1 != h2) {
        SetRowHeights(ARow1, h2);
        SetRowHeights(ARow2, h1);
    }
    if (d->mouseActions->DisjunctRowSelect() && d->navigation->MoveRowOnSort()) {
        const bool hidden = NumHiddenRows() > 0;
        const int r1 = hidden ? RealRowIndex(ARow1) : ARow1;
        const int r2 = hidden ? RealRowIndex(ARow2) : ARow2;
        const bool s1 = GetRowSelect(r1);
        const bool s2 = GetRowSelect(r2);
        if (s1 != s2) {
            SetRowSelect(r1, s2);
            SetRowSelect(r2, s1);
        }
    }
    if (d->showModified->Enabled()) {
        const bool m1 = GetRowModified(ARow1);
        const bool m2 = GetRowModified(ARow2);
        if (m1 != m2) {
            SetRowModified(ARow1, m2);
            SetRowModified(ARow2, m1);
        }
    }
    if (d->sortRow == ARow1)
        d->sortRow = ARow2;
    else if (d->sortRow == ARow2)
        d->sortRow = ARow1;
}

// ---- sorting -----------------------------------------------------------------------------------

namespace {
// How tied keys are ordered in a sort by one column: by the columns to its right.
struct TColumnTie
{
    TSortCompare &compare;
    int col;
    int dir;
    bool full;
    int lastCol;
    bool after(int r) const { return r == dir; }
    bool operator()(int a, int b) const
    {
        return full && col < lastCol && compare.CompareRows(col + 1, a, b) == dir;
    }
};

// ... in an indexed sort: by the index entries after the first.
struct TIndexTie
{
    TSortCompare &compare;
    bool descending;
    bool full;
    bool after(int r) const { return (descending ? -r : r) == 1; }
    bool operator()(int a, int b) const { return full && compare.CompareRowsIndexed(1, a, b) == 1; }
};

constexpr uint32_t kDescendingBit = 0x80000000u;
} // namespace

void TQrlStringGrid::QuickSort(int Col, int Left, int Right)
{
    const TSortSettings &settings = *d->sortSettings;
    d->sortDir = settings.Direction() == TSortDirection::sdDescending ? -1 : 1;
    TGridSortSource source(*this);
    TSortCompare compare(source);
    compare.BeginSession(RowCount());
    const int dir = d->sortDir;
    if (!source.SortIsIgnoredColumn(Col) && compare.IsKeyed(Col)) {
        std::vector<int> order;
        if (SortOrderCompact(compare, source, {false, Col, settings.Direction(), Left, Right},
                             order)) {
            applyOrder(*this, d->sortXRef, Left, order);
            return;
        }
        const TColumnTie tie{compare, Col, dir, settings.Full(), source.SortColCount() - 1};
        sortRowsByKey(*this, d->sortXRef, compare, d->compares, Col, settings.Direction(), Left, Right, tie);
        return;
    }
    sortRows(*this, d->sortXRef, Left, Right,
             [&](int a, int b) { return compare.CompareRows(Col, a, b) == dir; });
}

void TQrlStringGrid::QuickSortIndexed(int Left, int Right)
{
    const TSortSettings &settings = *d->sortSettings;
    d->sortDir = settings.Direction() == TSortDirection::sdDescending ? -1 : 1;
    TGridSortSource source(*this);
    TSortCompare compare(source);
    compare.BeginSession(RowCount());
    if (d->sortIndexes.Count() > 0) {
        const uint32_t entry = static_cast<uint32_t>(d->sortIndexes.Items(0));
        const int col = static_cast<int>(entry & ~kDescendingBit);
        const bool descending = (entry & kDescendingBit) != 0;
        if (!source.SortIsIgnoredColumn(col) && compare.IsKeyed(col)) {
            const TSortDirection direction =
                descending ? TSortDirection::sdDescending : TSortDirection::sdAscending;
            std::vector<int> order;
            if (SortOrderCompact(compare, source, {true, col, direction, Left, Right}, order)) {
                applyOrder(*this, d->sortXRef, Left, order);
                return;
            }
            const TIndexTie tie{compare, descending, settings.Full()};
            sortRowsByKey(*this, d->sortXRef, compare, d->compares, col,
                          descending ? TSortDirection::sdDescending : TSortDirection::sdAscending,
                          Left, Right, tie);
            return;
        }
    }
    sortRows(*this, d->sortXRef, Left, Right,
             [&](int a, int b) { return compare.CompareRowsIndexed(0, a, b) == 1; });
}

namespace {
enum class TSortKind { ByColumn, Indexed };
}

static bool isNormalRow(const TQrlStringGrid &g, int r)
{
    return r >= g.FixedRows() && r < g.RowCount();
}

// After a sort: the cursor goes to its row's new place with MoveRowOnSort, else back to the
// place it had (R).
static void cursorBack(TQrlStringGrid &g, TStringGridModelState &d, int R)
{
    if (d.navigation->MoveRowOnSort()) {
        if (isNormalRow(g, d.sortRow))
            g.SetRow(d.sortRow);
        d.oldSelectedRow = -1;
    } else if (isNormalRow(g, R)) {
        g.SetRow(R);
    }
}

// The frame of QSort and QSortIndexed around the sort of the normal rows.
static void sortNormalRows(TQrlStringGrid &g, TStringGridModelState &d, TSortKind kind)
{
    const int N = g.RowCount();
    const int F = g.FixedFooters();
    TNavigation &nav = *d.navigation;
    const bool disjunct = d.mouseActions->DisjunctRowSelect();

    TColumnZeroKeeper column0(g);
    const int top = g.TopRow();
    TFloatingFooter &footer = *d.floatingFooter;
    const bool footerVisible = footer.Visible();
    g.BeginUpdate();
    footer.SetVisible(false);
    auto restore = qScopeGuard([&] {
        column0.restore();
        if (nav.KeepScrollOnSort() && top < g.RowCount())
            g.SetTopRow(top);
        footer.SetVisible(footerVisible);
        g.SetFixedFooters(F);
        g.EndUpdate();
    });

    d.sortRow = g.Row();
    const int R = g.Row();
    // The cursor is parked out of the way while the rows move.
    const int park = kind == TSortKind::ByColumn ? N - 1 : N;
    if (nav.MoveRowOnSort() && isNormalRow(g, park))
        g.SetRow(park);

    if (kind == TSortKind::ByColumn)
        g.QuickSort(d.sortSettings->Column(), g.FixedRows(), N - 1 - F);
    else
        g.QuickSortIndexed(g.FixedRows(), N - 1 - F);

    const bool entered = d.entered;
    d.entered = false;
    if (kind == TSortKind::Indexed || !disjunct)
        cursorBack(g, d, R);
    d.entered = entered;
    if (kind == TSortKind::ByColumn && g.OnRowUpdate && !nav.MoveRowOnSort())
        g.OnRowUpdate(&g, R, g.Row());
}

void TQrlStringGrid::QSort()
{
    if (d->sortSettings->Column() < 0)
        return;
    if (RowCount() != d->sortXRef.count())
        InitSortXRef();
    d->sortIndexes.Clear();
    sortNormalRows(*this, *d, TSortKind::ByColumn);
}

void TQrlStringGrid::QSortIndexed()
{
    if (RowCount() != d->sortXRef.count())
        InitSortXRef();
    if (d->sortIndexes.Count() == 0)
        throw EQrlGridError(QStringLiteral("No indexes specified for indexed sort"));
    sortNormalRows(*this, *d, TSortKind::Indexed);
}

void TQrlStringGrid::Sort(int Column, TSortDirection Direction)
{
    d->sortSettings->SetColumn(Column);
    d->sortSettings->SetDirection(Direction);
    QSort();
}

void TQrlStringGrid::SortByColumn(int Col)
{
    if (RowCount() < 2)
        return;
    d->sortSettings->SetColumn(Col);
    QSort();
}

// ---- inside groups ------------------------------------------------------------------------------

static void sortWithinGroups(TQrlStringGrid &g, TStringGridModelState &d, bool indexed)
{
    if (g.RowCount() != d.sortXRef.count())
        g.InitSortXRef();
    const int N = g.RowCount();
    TNavigation &nav = *d.navigation;
    TColumnZeroKeeper column0(g);
    const int top = g.TopRow();
    g.BeginUpdate();
    auto restore = qScopeGuard([&] {
        column0.restore();
        if (nav.KeepScrollOnSort() && top < g.RowCount())
            g.SetTopRow(top);
        g.EndUpdate();
    });

    const int F = g.FixedFooters();
    d.sortRow = g.Row();
    const int R = g.Row();
    const int last = std::min(N - F, N - 1);
    int level = 0;
    for (int r = g.FixedRows(); r <= last; ++r)
        if (g.IsNode(r))
            level = std::max(level, g.GetNodeLevel(r));
    for (int c = g.FixedRows(); c <= last; ++c) {
        if (!g.IsNode(c) || g.GetNodeState(c) || g.GetNodeLevel(c) != level)
            continue;
        const int span = g.GetNodeSpan(c);
        if (span < 3)
            continue;
        const int end = std::min(c + span - 1, N - 1);
        if (indexed)
            g.QuickSortIndexed(c + 1, end);
        else
            g.QuickSort(d.sortSettings->Column(), c + 1, end);
    }
    cursorBack(g, d, R);
}

void TQrlStringGrid::QSortGroup()
{
    // Without a sort column there is nothing to sort the groups by.
    if (d->sortSettings->Column() < 0)
        return;
    sortWithinGroups(*this, *d, false);
}

void TQrlStringGrid::QSortGroupIndexed()
{
    if (d->sortIndexes.Count() == 0)
        throw EQrlGridError(QStringLiteral("No indexes specified for indexed sort"));
    sortWithinGroups(*this, *d, true);
}

// ---- back to the order before sorting -----------------------------------------------------------

void TQrlStringGrid::QUnSort()
{
    d->fitSortXRef(RowCount());
    if (d->sortXRef.isEmpty() || d->sortXRef.isIdentity()) {
        d->sortXRef.settle();
        return;
    }
    TColumnZeroKeeper column0(*this);
    TUpdatePair update(*this);
    // At most n - 1 exchanges, one per row out of place: linear in the rows. The
    // cross-reference is back to 0, 1, ... at once and follows none of them.
    std::vector<int> order = d->sortXRef.unsort();
    d->sortXRef.holdSwaps(true);
    auto release = qScopeGuard([&] { d->sortXRef.holdSwaps(false); });
    exchangeInto(*this, 0, order);
}

// ---- one pair ---------------------------------------------------------------------------------

bool TQrlStringGrid::SortLine(int Col, int ARow1, int ARow2)
{
    TGridSortSource source(*this);
    TSortCompare compare(source);
    const int lastCol = ColCount() + NumHiddenColumns() - 1;
    for (int c = Col;; ++c) {
        const int r = compare.CompareCellPair(c, ARow1, ARow2, d->sortSettings->Direction());
        if (r == d->sortDir) {
            SortSwapRows(ARow1, ARow2);
            return true;
        }
        if (r != 0 || c >= lastCol)
            return false;
    }
}

// ---- small readers --------------------------------------------------------------------------

int TQrlStringGrid::CellImageSortKey(int ACol, int ARow)
{
    const TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return -1;
    switch (g->CellType()) {
    case TCellType::ctImageList:
        return g->CellIndex();
    case TCellType::ctBitmap:
        return static_cast<int>(reinterpret_cast<quintptr>(g->CellBitmap().Address()) >> 4);
    case TCellType::ctIcon:
        return static_cast<int>(reinterpret_cast<quintptr>(g->CellIcon().Address()) >> 4);
    default:
        return -1;
    }
}

int TQrlStringGrid::SortDir() const
{
    return d->sortDir;
}

int TQrlStringGrid::SortRow() const
{
    return d->sortRow;
}

int TQrlStringGrid::Compares() const
{
    return d->compares;
}

int TQrlStringGrid::Swaps() const
{
    return d->swaps;
}

unsigned TQrlStringGrid::SortTime() const
{
    return d->sortTime;
}

void TQrlStringGrid::SetSortTime(unsigned Value)
{
    d->sortTime = Value;
}
