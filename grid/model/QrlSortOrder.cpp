#include "grid/model/QrlSortOrder.h"

#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlSortCompare.h"

#include <QAnyStringView>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <type_traits>

namespace {

constexpr uint32_t kDescendingBit = 0x80000000u;

// What decides after the sort column: for each level the column and the direction its blank
// rule reads; `ref` is where the row compare takes over (a column, or an index-list entry).
struct TTieLevel
{
    int col;
    TSortDirection direction;
    int ref;
};

std::vector<TTieLevel> tieLevels(ISortCompareSource &source, const TSortRequest &req)
{
    const TSortSettings &settings = source.SortCompareSettings();
    std::vector<TTieLevel> levels;
    if (!req.indexed) {
        levels.push_back({req.col, req.direction, req.col});
        if (settings.Full())
            for (int c = req.col + 1; c < source.SortColCount(); ++c)
                levels.push_back({c, req.direction, c});
        return levels;
    }
    const TSortIndexList &indexes = source.SortIndexes();
    for (int i = 0; i < indexes.Count(); ++i) {
        if (i > 0 && !settings.Full())
            break;
        const uint32_t entry = static_cast<uint32_t>(indexes.Items(i));
        levels.push_back({static_cast<int>(entry & ~kDescendingBit),
                          (entry & kDescendingBit) ? TSortDirection::sdDescending
                                                   : TSortDirection::sdAscending,
                          i});
    }
    return levels;
}

// One row of a compact sort: the value it sorts by at the level being ordered, mapped so that
// unsigned order is the wanted order, and its row number. Packed to 12 bytes.
#pragma pack(push, 4)
struct TCompactRow
{
    uint64_t key;
    uint32_t row;
};
#pragma pack(pop)
static_assert(sizeof(TCompactRow) == 12);

constexpr uint32_t kBlankBit = 0x80000000u;
constexpr uint32_t kRowMask = ~kBlankBit;

// Doubles to unsigned keys of the same order; -0 and 0 tie as the compare has them.
uint64_t orderedBits(double v)
{
    if (v == 0)
        v = 0;
    const uint64_t b = std::bit_cast<uint64_t>(v);
    return (b & (uint64_t(1) << 63)) ? ~b : b | (uint64_t(1) << 63);
}

char16_t unitOf(QLatin1Char c)
{
    return c.unicode();
}

char16_t unitOf(QChar c)
{
    return c.unicode();
}

// The first four code units (a to z folded with upper), zero filled.
uint64_t textPrefix(QAnyStringView view, bool upper)
{
    auto fold = [upper](char16_t u) {
        return upper && u >= u'a' && u <= u'z' ? char16_t(u - (u'a' - u'A')) : u;
    };
    auto take = [&](auto s) {
        uint64_t p = 0;
        for (qsizetype i = 0; i < 4; ++i)
            p = (p << 16) | (i < s.size() ? fold(unitOf(s[i])) : char16_t(0));
        return p;
    };
    return view.visit([&](auto s) -> uint64_t {
        if constexpr (std::is_same_v<decltype(s), QUtf8StringView>) {
            const QString t = s.toString();
            return take(QStringView(t));
        } else {
            return take(s);
        }
    });
}

class TCompactSorter
{
public:
    TCompactSorter(TSortCompare &compare, ISortCompareSource &source, const TSortRequest &req)
        : m_compare(compare), m_source(source), m_req(req), m_levels(tieLevels(source, req))
    {
    }

    bool run(std::vector<int> &order)
    {
        const TSortSettings &settings = m_source.SortCompareSettings();
        // A compare handler in a tie column sees the pairs of the reference sort only there.
        for (const TTieLevel &level : m_levels) {
            if (m_source.SortIsIgnoredColumn(level.col))
                continue;
            if (!m_compare.IsKeyed(level.col))
                return false;
            const TSortStyle style = m_compare.ColumnStyle(level.col);
            if (style == TSortStyle::ssCustom || style == TSortStyle::ssRaw)
                return false;
        }
        if (m_levels.empty() || m_source.SortIsIgnoredColumn(m_levels.front().col))
            return false;
        (void)settings;
        const size_t n = size_t(m_req.right - m_req.left + 1);
        m_rows.resize(n);
        for (size_t i = 0; i < n; ++i)
            m_rows[i] = {0, uint32_t(m_req.left) + uint32_t(i)};
        const bool done = orderLevel(0, 0, n) && !m_abandoned;
        m_source.SortComparesCounted(m_compares);
        if (!done) {
            m_rows = {};
            return false;
        }
        order.resize(n);
        for (size_t i = 0; i < n; ++i)
            order[i] = int(m_rows[i].row);
        m_rows = {};
        return true;
    }

private:
    // Rows [lo, hi) tie on every level before `level` and stand in row order: order them by
    // the levels from `level` on.
    void breakTies(size_t level, size_t lo, size_t hi)
    {
        for (; level < m_levels.size(); ++level) {
            if (!m_source.SortIsIgnoredColumn(m_levels[level].col))
                break;
        }
        if (level >= m_levels.size() || m_abandoned)
            return;
        if (orderLevel(level, lo, hi))
            return;
        // The automatic and alpha-numeric styles compare some mixes of kinds differently by
        // the order of the pair (a number before an empty cell, yet the empty cell before the
        // number): the order of such rows is the one the reference sort of all rows happens to
        // make, so the whole sort goes that way. Other styles order any mix alike both ways.
        const TSortStyle style = m_compare.ColumnStyle(m_levels[level].col);
        if (m_nonFinite || style == TSortStyle::ssAutomatic ||
            style == TSortStyle::ssAlphaNumeric || style == TSortStyle::ssAlphaNumericNoCase) {
            m_abandoned = true;
            return;
        }
        referenceOrder(level, lo, hi);
    }

    // The reference sort of a few tied rows whose keys have no compact order.
    void referenceOrder(size_t level, size_t lo, size_t hi)
    {
        std::vector<int> rows(hi - lo);
        for (size_t i = lo; i < hi; ++i)
            rows[i - lo] = int(m_rows[i].row);
        const TTieLevel &t = m_levels[level];
        const int dir = m_req.direction == TSortDirection::sdDescending ? -1 : 1;
        if (m_req.indexed)
            StableSortBy(rows, [&](int a, int b) {
                return m_compare.CompareRowsIndexed(t.ref, a, b) == 1;
            });
        else
            StableSortBy(rows,
                         [&](int a, int b) { return m_compare.CompareRows(t.ref, a, b) == dir; });
        for (size_t i = lo; i < hi; ++i)
            m_rows[i].row = uint32_t(rows[i - lo]);
    }

    uint64_t valueKey(TSortKeyOrder order, const TSortKey &k, bool &finite) const
    {
        const double v = order == TSortKeyOrder::ByNumber     ? k.number
                         : order == TSortKeyOrder::ByDateTime ? k.dateTime
                                                              : k.time;
        if (!std::isfinite(v))
            finite = false;
        return orderedBits(v);
    }

    // Fills the keys of rows [lo, hi) at the column for `order`; false where a value has no
    // place in the order (not finite).
    bool fillKeys(int col, TSortKeyOrder order, size_t lo, size_t hi)
    {
        bool finite = true;
        const bool text = order == TSortKeyOrder::ByText || order == TSortKeyOrder::ByTextNoCase;
        const bool upper = order == TSortKeyOrder::ByTextNoCase;
        for (size_t i = lo; i < hi; ++i) {
            const int row = int(m_rows[i].row & kRowMask);
            if (text) {
                QAnyStringView view;
                m_rows[i].key = m_source.SortTextView(col, row, view) ? textPrefix(view, upper) : 0;
            } else {
                m_rows[i].key = valueKey(order, m_compare.MakeKey(col, row), finite);
            }
        }
        return finite;
    }

    // The guess at a column's order from its first key that is no blank, so that most columns
    // take their keys in one pass.
    static TSortKeyOrder guess(TSortStyle style, const TSortKey &k, bool upper)
    {
        switch (style) {
        case TSortStyle::ssNumeric:
        case TSortStyle::ssFinancial:
        case TSortStyle::ssImages:
            return TSortKeyOrder::ByNumber;
        case TSortStyle::ssDate:
        case TSortStyle::ssDateTime:
        case TSortStyle::ssShortDateEU:
        case TSortStyle::ssShortDateUS:
            return TSortKeyOrder::ByDateTime;
        case TSortStyle::ssTime:
            return TSortKeyOrder::ByTime;
        default:
            break;
        }
        if (k.flags & TSortKey::Number)
            return TSortKeyOrder::ByNumber;
        if (style == TSortStyle::ssAutomatic && (k.flags & TSortKey::DateStart))
            return TSortKeyOrder::ByDateTime;
        if (style == TSortStyle::ssAutomatic && (k.flags & TSortKey::TimeDigits))
            return TSortKeyOrder::ByTime;
        return upper ? TSortKeyOrder::ByTextNoCase : TSortKeyOrder::ByText;
    }

    // Orders rows [lo, hi) by the level's column and ties by the levels after it; false (rows
    // untouched) where the column's keys of these rows have no compact order.
    bool orderLevel(size_t level, size_t lo, size_t hi)
    {
        const TTieLevel &t = m_levels[level];
        const int col = t.col;
        const TSortStyle style = m_compare.ColumnStyle(col);
        const bool upper = m_compare.ColumnFoldsCase(col);
        TSortKeyTally tally;
        // The values are taken in the same pass as the kinds, by a guess from the first key
        // that is no blank; blanks before it, and all keys where the guess was wrong, are
        // taken again afterwards.
        TSortKeyOrder guessed = TSortKeyOrder::Mixed;
        size_t guessedFrom = hi;
        bool finite = true;
        for (size_t i = lo; i < hi; ++i) {
            const int row = int(m_rows[i].row & kRowMask);
            const TSortKey k = m_compare.MakeKey(col, row);
            const bool blank = m_compare.IsCompactBlank(col, k);
            tally.add(k, blank);
            m_rows[i].row = uint32_t(row) | (blank ? kBlankBit : 0);
            if (guessed == TSortKeyOrder::Mixed) {
                if (blank)
                    continue;
                guessed = guess(style, k, upper);
                guessedFrom = i;
            }
            if (guessed == TSortKeyOrder::ByText || guessed == TSortKeyOrder::ByTextNoCase) {
                // The key's prefix folds as the column does, which is what the plan follows.
                m_rows[i].key = k.prefix[0];
            } else {
                m_rows[i].key = valueKey(guessed, k, finite);
            }
        }
        const TSortCompactPlan plan = m_compare.CompactPlan(col, tally, t.direction);
        if (plan.order != TSortKeyOrder::Mixed) {
            if (plan.order != guessed)
                finite = fillKeys(col, plan.order, lo, hi);
            else if (guessedFrom > lo)
                finite = fillKeys(col, plan.order, lo, guessedFrom) && finite;
        }
        if (plan.order == TSortKeyOrder::Mixed || !finite) {
            m_nonFinite = !finite;
            for (size_t i = lo; i < hi; ++i)
                m_rows[i].row &= kRowMask;
            return false;
        }

        // The blanks as one block first or last.
        size_t blankLo = hi, blankHi = hi;
        const auto first = m_rows.begin() + std::ptrdiff_t(lo);
        const auto last = m_rows.begin() + std::ptrdiff_t(hi);
        if (plan.blanks == TSortCompactPlan::Blanks::First) {
            const auto mid = std::partition(
                first, last, [](const TCompactRow &r) { return (r.row & kBlankBit) != 0; });
            blankLo = lo;
            blankHi = size_t(mid - m_rows.begin());
        } else if (plan.blanks == TSortCompactPlan::Blanks::Last) {
            const auto mid = std::partition(
                first, last, [](const TCompactRow &r) { return (r.row & kBlankBit) == 0; });
            blankLo = size_t(mid - m_rows.begin());
            blankHi = hi;
        }
        for (size_t i = lo; i < hi; ++i)
            m_rows[i].row &= kRowMask;
        const bool descending = t.direction == TSortDirection::sdDescending;
        if (descending)
            for (size_t i = lo; i < hi; ++i)
                m_rows[i].key = ~m_rows[i].key;

        const bool text =
            plan.order == TSortKeyOrder::ByText || plan.order == TSortKeyOrder::ByTextNoCase;
        if (text)
            orderBlock(level, lo, blankLo, TextOrder{*this, col, descending,
                                                      plan.order == TSortKeyOrder::ByTextNoCase});
        else
            orderBlock(level, lo, blankLo, ValueOrder{});
        if (blankLo < blankHi) {
            if (text)
                orderBlock(level, blankLo, blankHi,
                           TextOrder{*this, col, descending,
                                     plan.order == TSortKeyOrder::ByTextNoCase});
            else
                orderBlock(level, blankLo, blankHi, ValueOrder{});
        }
        if (blankHi < hi) {
            if (text)
                orderBlock(level, blankHi, hi,
                           TextOrder{*this, col, descending,
                                     plan.order == TSortKeyOrder::ByTextNoCase});
            else
                orderBlock(level, blankHi, hi, ValueOrder{});
        }
        return true;
    }

    struct ValueOrder
    {
        int operator()(const TCompactRow &a, const TCompactRow &b) const
        {
            return a.key != b.key ? (a.key < b.key ? -1 : 1) : 0;
        }
    };

    // Equal prefixes go to the texts themselves, read where they are stored.
    struct TextOrder
    {
        TCompactSorter &sorter;
        int col;
        bool descending;
        bool upper;
        int operator()(const TCompactRow &a, const TCompactRow &b) const
        {
            if (a.key != b.key)
                return a.key < b.key ? -1 : 1;
            QAnyStringView x;
            QAnyStringView y;
            sorter.m_source.SortTextView(col, int(a.row), x);
            sorter.m_source.SortTextView(col, int(b.row), y);
            const int r = TSortCompare::CompareTextViews(x, y, upper);
            return descending ? -r : r;
        }
    };

    // Sorts rows [lo, hi) by Order and then row number, and breaks the ties that are left.
    template <typename Order> void orderBlock(size_t level, size_t lo, size_t hi, Order order)
    {
        if (hi - lo < 2)
            return;
        const auto first = m_rows.begin() + std::ptrdiff_t(lo);
        const auto last = m_rows.begin() + std::ptrdiff_t(hi);
        std::sort(first, last, [&](const TCompactRow &a, const TCompactRow &b) {
            ++m_compares;
            const int r = order(a, b);
            return r != 0 ? r < 0 : a.row < b.row;
        });
        if (level + 1 >= m_levels.size())
            return;
        for (size_t i = lo; i < hi;) {
            size_t j = i + 1;
            while (j < hi && order(m_rows[i], m_rows[j]) == 0)
                ++j;
            if (j - i > 1)
                breakTies(level + 1, i, j);
            i = j;
        }
    }

    TSortCompare &m_compare;
    ISortCompareSource &m_source;
    const TSortRequest &m_req;
    std::vector<TTieLevel> m_levels;
    std::vector<TCompactRow> m_rows;
    bool m_abandoned = false;
    int m_compares = 0;
    bool m_nonFinite = false;
};

} // namespace

std::vector<int>
SortOrderReference(TSortCompare &Compare, ISortCompareSource &Source, const TSortRequest &Req)
{
    std::vector<int> order;
    if (Req.right < Req.left)
        return order;
    order.resize(size_t(Req.right - Req.left + 1));
    std::iota(order.begin(), order.end(), Req.left);
    if (Req.indexed) {
        StableSortBy(order, [&](int a, int b) { return Compare.CompareRowsIndexed(0, a, b) == 1; });
    } else {
        const int dir = Source.SortCompareSettings().Direction() == TSortDirection::sdDescending
                            ? -1
                            : 1;
        StableSortBy(order, [&](int a, int b) { return Compare.CompareRows(Req.col, a, b) == dir; });
    }
    return order;
}

bool SortOrderCompact(TSortCompare &Compare,
                      ISortCompareSource &Source,
                      const TSortRequest &Req,
                      std::vector<int> &Order)
{
    if (Req.right < Req.left || !Compare.InSession())
        return false;
    TCompactSorter sorter(Compare, Source, Req);
    return sorter.run(Order);
}
