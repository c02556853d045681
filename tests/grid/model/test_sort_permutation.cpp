#include "grid/model/QrlSortPermutation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

#define EXPECT_INVARIANTS(perm)                                                                    \
    do {                                                                                           \
        const QString fault = (perm).checkInvariants();                                            \
        EXPECT_TRUE(fault.isEmpty()) << fault.toStdString();                                       \
    } while (false)

using Ints = std::vector<int>;

Ints identity(int n)
{
    Ints v(static_cast<std::size_t>(n));
    std::iota(v.begin(), v.end(), 0);
    return v;
}

Ints reordered(const Ints &rows, const Ints &order)
{
    Ints r;
    for (int from : order)
        r.push_back(rows[static_cast<std::size_t>(from)]);
    return r;
}

// The grid's rows as labels, and the labels in the order unsort must bring back. Line
// operations edit both lists directly; sorts only move the rows.
struct RowsModel
{
    Ints rows;
    Ints original;
    int nextLabel = 0;

    void fill(int n)
    {
        rows.clear();
        for (int i = 0; i < n; ++i)
            rows.push_back(nextLabel++);
        original = rows;
    }
    void insert(int at, int n)
    {
        Ints added;
        for (int i = 0; i < n; ++i)
            added.push_back(nextLabel++);
        auto o = at == 0 ? original.begin()
                         : std::find(original.begin(), original.end(),
                                     rows[static_cast<std::size_t>(at - 1)]) +
                               1;
        original.insert(o, added.begin(), added.end());
        rows.insert(rows.begin() + at, added.begin(), added.end());
    }
    void remove(int at, int n)
    {
        for (int i = at; i < at + n; ++i)
            original.erase(
                std::find(original.begin(), original.end(), rows[static_cast<std::size_t>(i)]));
        rows.erase(rows.begin() + at, rows.begin() + at + n);
    }
    void move(int from, int to)
    {
        const int label = rows[static_cast<std::size_t>(from)];
        rows.erase(rows.begin() + from);
        rows.insert(rows.begin() + to, label);
    }
    // Where each row stood in the original order.
    Ints origins() const
    {
        Ints r;
        for (int label : rows)
            r.push_back(int(std::find(original.begin(), original.end(), label) - original.begin()));
        return r;
    }
};

void expectMatches(const TSortPermutation &perm, const RowsModel &model)
{
    EXPECT_INVARIANTS(perm);
    // Read through originAt, not origins(): writing the maps out would hide a fault of a list
    // that keeps none.
    const Ints origins = model.origins();
    ASSERT_EQ(perm.count(), int(origins.size()));
    for (int i = 0; i < perm.count(); ++i) {
        ASSERT_EQ(perm.originAt(i), origins[static_cast<std::size_t>(i)]) << "position " << i;
        EXPECT_EQ(perm.positionOf(origins[static_cast<std::size_t>(i)]), i);
    }
}

TEST(SortPermutation, RandomOperationsAgainstRowModel)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        RowsModel model;
        TSortPermutation perm;
        model.fill(pick(0, 8));
        perm.init(int(model.rows.size()));
        for (int step = 0; step < 400; ++step) {
            const int n = int(model.rows.size());
            switch (pick(0, 8)) {
            case 0: { // a sort made of row exchanges, scratch rows past the list included
                for (int k = pick(0, 6); k > 0; --k) {
                    const int a = pick(0, n + 2);
                    const int b = pick(0, n + 2);
                    const bool inside = a < n && b < n;
                    EXPECT_EQ(perm.swapRows(a, b), inside);
                    if (inside)
                        std::swap(model.rows[std::size_t(a)], model.rows[std::size_t(b)]);
                }
                perm.settle(); // keeps a list out of its original order as it is
                break;
            }
            case 1: { // a sort as one reorder, of all rows or of a range of them
                if (pick(0, 1) == 0) {
                    Ints order = identity(n);
                    std::shuffle(order.begin(), order.end(), rng);
                    perm.apply(order);
                    model.rows = reordered(model.rows, order);
                    break;
                }
                const int left = pick(0, n);
                const int len = pick(0, n - left);
                Ints order(static_cast<std::size_t>(len));
                std::iota(order.begin(), order.end(), left);
                std::shuffle(order.begin(), order.end(), rng);
                perm.applyRange(left, order);
                Ints range(model.rows.begin() + left, model.rows.begin() + left + len);
                for (int i = 0; i < len; ++i)
                    model.rows[std::size_t(left + i)] =
                        range[std::size_t(order[std::size_t(i)] - left)];
                // The rows are then moved by exchanges the list must not count twice.
                perm.holdSwaps(true);
                if (len > 1) {
                    EXPECT_FALSE(perm.swapRows(left, left + 1));
                }
                perm.holdSwaps(false);
                break;
            }
            case 2: {
                const int at = pick(0, n);
                const int count = pick(0, 3);
                perm.linesInserted(TGridAxis::Rows, at, count);
                model.insert(at, count);
                break;
            }
            case 3: {
                if (n == 0)
                    break;
                const int at = pick(0, n - 1);
                const int count = pick(0, n - at);
                perm.linesRemoved(TGridAxis::Rows, at, count);
                model.remove(at, count);
                break;
            }
            case 4: {
                if (n == 0)
                    break;
                const int from = pick(0, n - 1);
                const int to = pick(0, n - 1);
                perm.linesMoved(TGridAxis::Rows, from, to);
                model.move(from, to);
                break;
            }
            case 5: { // column operations leave the rows alone
                perm.linesInserted(TGridAxis::Cols, 0, 2);
                perm.linesRemoved(TGridAxis::Cols, 0, 1);
                perm.linesMoved(TGridAxis::Cols, 0, 5);
                break;
            }
            case 6: {
                model.rows = reordered(model.rows, perm.unsort());
                EXPECT_EQ(model.rows, model.original);
                EXPECT_TRUE(perm.isIdentity());
                break;
            }
            case 7: {
                const auto swaps = perm.unsortSwaps();
                EXPECT_LE(int(swaps.size()), std::max(0, n - 1));
                for (const auto &[a, b] : swaps) {
                    ASSERT_TRUE(perm.swapRows(a, b));
                    std::swap(model.rows[std::size_t(a)], model.rows[std::size_t(b)]);
                }
                EXPECT_EQ(model.rows, model.original);
                EXPECT_TRUE(perm.isIdentity());
                perm.settle(); // the unsort drops the maps; later operations must still follow
                break;
            }
            case 8: { // a new sort starts from the order of the moment
                perm.init(n);
                model.original = model.rows;
                break;
            }
            }
            expectMatches(perm, model);
            if (HasFailure())
                return;
        }
    }
}

TEST(SortPermutation, TwoSortsThenUnsortRestoreTheFirstOrder)
{
    TSortPermutation perm;
    perm.init(5);
    Ints rows = {10, 11, 12, 13, 14};
    const Ints before = rows;
    const Ints firstSort = {4, 2, 0, 1, 3};
    const Ints secondSort = {1, 0, 4, 3, 2};
    perm.apply(firstSort);
    rows = reordered(rows, firstSort);
    perm.apply(secondSort);
    rows = reordered(rows, secondSort);
    EXPECT_EQ(perm.originAt(0), 2) << "the row now first was third before sorting";
    EXPECT_EQ(perm.positionOf(0), 4) << "the row first before sorting is now last";

    rows = reordered(rows, perm.unsort());
    EXPECT_EQ(rows, before);
    EXPECT_EQ(perm.unsort(), identity(5)) << "a second unsort moves nothing";
    EXPECT_TRUE(perm.unsortSwaps().empty());
}

TEST(SortPermutation, InsertedRowsKeepTheirPlaceInTheOriginalOrder)
{
    struct Case
    {
        const char *name;
        Ints sorted; // origins before the insert
        int at;
        int count;
        Ints expected;
    };
    const Case cases[] = {
        {"unsorted stays unsorted", {0, 1, 2}, 1, 2, {0, 1, 2, 3, 4}},
        {"after the row before it", {2, 0, 1}, 1, 1, {2, 3, 0, 1}},
        {"at the start goes first", {2, 0, 1}, 0, 1, {0, 3, 1, 2}},
        {"at the end", {2, 0, 1}, 3, 2, {4, 0, 1, 2, 3}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TSortPermutation perm;
        perm.init(int(c.sorted.size()));
        perm.apply(c.sorted);
        perm.linesInserted(TGridAxis::Rows, c.at, c.count);
        EXPECT_INVARIANTS(perm);
        EXPECT_EQ(perm.origins(), c.expected);
    }
}

TEST(SortPermutation, EmptyListFollowsNothing)
{
    TSortPermutation perm;
    perm.linesInserted(TGridAxis::Rows, 5, 3);
    perm.linesRemoved(TGridAxis::Rows, 2, 1);
    perm.linesMoved(TGridAxis::Rows, 0, 4);
    EXPECT_TRUE(perm.isEmpty());
    EXPECT_FALSE(perm.swapRows(0, 1));
    EXPECT_EQ(perm.originAt(0), -1);
    EXPECT_EQ(perm.positionOf(0), -1);
    EXPECT_TRUE(perm.unsort().empty());
    EXPECT_INVARIANTS(perm);

    // An initialised list with no rows follows them once they come.
    perm.init(0);
    perm.linesInserted(TGridAxis::Rows, 0, 2);
    EXPECT_EQ(perm.origins(), identity(2));
    perm.clear();
    EXPECT_FALSE(perm.isInitialised());
    perm.linesInserted(TGridAxis::Rows, 0, 2);
    EXPECT_TRUE(perm.isEmpty());
    EXPECT_INVARIANTS(perm);
}

TEST(SortPermutation, BadArgumentsChangeNothing)
{
    TSortPermutation perm;
    perm.init(4);
    perm.apply({3, 1, 0, 2});
    const Ints before = perm.origins();

    EXPECT_THROW(perm.init(-1), std::out_of_range);
    EXPECT_THROW(perm.apply({0, 1, 2}), std::invalid_argument);
    EXPECT_THROW(perm.apply({0, 1, 1, 2}), std::invalid_argument);
    EXPECT_THROW(perm.apply({0, 1, 2, 4}), std::invalid_argument);
    EXPECT_THROW(perm.apply({0, 1, 2, -1}), std::invalid_argument);
    EXPECT_THROW(perm.applyRange(1, {1, 1, 2}), std::invalid_argument);
    EXPECT_THROW(perm.applyRange(1, {1, 4, 2}), std::invalid_argument);
    EXPECT_THROW(perm.applyRange(2, {2, 3, 4}), std::invalid_argument);
    EXPECT_THROW(perm.linesInserted(TGridAxis::Rows, 5, 1), std::out_of_range);
    EXPECT_THROW(perm.linesInserted(TGridAxis::Rows, -1, 1), std::out_of_range);
    EXPECT_THROW(perm.linesInserted(TGridAxis::Rows, 0, -1), std::out_of_range);
    EXPECT_THROW(perm.linesRemoved(TGridAxis::Rows, 3, 2), std::out_of_range);
    EXPECT_THROW(perm.linesRemoved(TGridAxis::Rows, -1, 1), std::out_of_range);
    EXPECT_THROW(perm.linesMoved(TGridAxis::Rows, 0, 4), std::out_of_range);
    EXPECT_THROW(perm.linesMoved(TGridAxis::Rows, -1, 0), std::out_of_range);
    EXPECT_FALSE(perm.swapRows(0, -1));
    EXPECT_FALSE(perm.swapRows(4, 0));

    EXPECT_EQ(perm.origins(), before);
    EXPECT_INVARIANTS(perm);
}

} // namespace
