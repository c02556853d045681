// The cell store against a plain map over random operation sequences, texts of every kind, and
// the cost of cells at far indices.
#include "platform/grid/CellStore.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <utility>

using plat::TCellStore;

namespace {

QString repeated(const QString &unit, int times)
{
    QString s;
    s.reserve(unit.size() * times);
    for (int i = 0; i < times; ++i)
        s += unit;
    return s;
}

// Texts of every storage kind: empty, Latin-1 of odd and even length, UTF-16, embedded NULs,
// surrogate pairs and lone surrogates, and texts long enough to need more than 16-bit offsets.
const std::vector<QString> &textPool()
{
    static const std::vector<QString> pool = {
        QString(),
        QStringLiteral("a"),
        QStringLiteral("ab"),
        QStringLiteral("0500000.3"),
        QString(QChar(0xE9)) + QChar(0xFF),  // Latin-1 beyond ASCII
        QStringLiteral("x") + QChar(0x20AC), // one unit beyond Latin-1
        QString(QChar(0)) + QStringLiteral("nul") + QChar(0),
        QString::fromUtf8("\xF0\x9F\x98\x80 face"),      // surrogate pair
        QString(QChar(0xD800)) + QStringLiteral("lone"), // unpaired high surrogate
        QString(QChar(0xDC00)),                          // unpaired low surrogate
        QString(QChar(0xFFFF)),
        repeated(QStringLiteral("long text "), 9000),
        repeated(QString(QChar(0x4E2D)), 40001),
    };
    return pool;
}

using Cell = std::pair<int, int>; // row, col

struct Reference
{
    std::map<Cell, QString> texts;
    std::map<Cell, void *> objects;

    static int moved(int i, int from, int to)
    {
        if (i == from)
            return to;
        if (from < to && i > from && i <= to)
            return i - 1;
        if (from > to && i >= to && i < from)
            return i + 1;
        return i;
    }
    template <typename F, typename M> static void remap(M &m, F f)
    {
        M out;
        for (const auto &[cell, v] : m)
            out[f(cell)] = v;
        m = std::move(out);
    }
    template <typename P> void eraseIf(P pred)
    {
        std::erase_if(texts, [&](const auto &kv) { return pred(kv.first); });
        std::erase_if(objects, [&](const auto &kv) { return pred(kv.first); });
    }
    int rowsInUse() const
    {
        std::set<int> rows;
        for (const auto &kv : texts)
            rows.insert(kv.first.first);
        for (const auto &kv : objects)
            rows.insert(kv.first.first);
        return static_cast<int>(rows.size());
    }
};

// Rows near the chunk boundaries of the row index take part as well as the first rows.
int pickRow(std::mt19937 &rng)
{
    static const int far[] = {4094, 4095, 4096, 4097, 8191, 8192, 12289, 40000};
    if (rng() % 4 == 0)
        return far[rng() % std::size(far)];
    return static_cast<int>(rng() % 24);
}

int pickCol(std::mt19937 &rng)
{
    return rng() % 8 == 0 ? 1000 + static_cast<int>(rng() % 3) : static_cast<int>(rng() % 12);
}

} // namespace

TEST(CellStoreRandom, MatchesAMapOverRandomOperations)
{
    std::mt19937 rng(20240611);
    int tokens[6] = {};
    for (int round = 0; round < 4; ++round) {
        TCellStore store;
        Reference ref;
        std::set<int> rows;
        std::set<int> cols;
        for (int step = 0; step < 1500; ++step) {
            const int op = static_cast<int>(rng() % 100);
            const int r = pickRow(rng);
            const int c = pickCol(rng);
            rows.insert(r);
            cols.insert(c);
            std::string what;
            if (op < 45) {
                const QString &t = textPool()[rng() % textPool().size()];
                store.SetText(c, r, t);
                if (t.isEmpty())
                    ref.texts.erase({r, c});
                else
                    ref.texts[{r, c}] = t;
                what = "set text";
            } else if (op < 60) {
                void *o = rng() % 3 == 0 ? nullptr : &tokens[rng() % std::size(tokens)];
                store.SetObject(c, r, o);
                if (o)
                    ref.objects[{r, c}] = o;
                else
                    ref.objects.erase({r, c});
                what = "set object";
            } else if (op < 65) {
                const int other = pickRow(rng);
                rows.insert(other);
                store.SwapRows(r, other);
                auto f = [&](Cell x) {
                    return Cell{x.first == r ? other : (x.first == other ? r : x.first), x.second};
                };
                Reference::remap(ref.texts, f);
                Reference::remap(ref.objects, f);
                what = "swap rows " + std::to_string(r) + " and " + std::to_string(other);
            } else if (op < 72) {
                const int to = pickRow(rng);
                rows.insert(to);
                store.MoveRow(r, to);
                auto f = [&](Cell x) { return Cell{Reference::moved(x.first, r, to), x.second}; };
                Reference::remap(ref.texts, f);
                Reference::remap(ref.objects, f);
                what = "move row " + std::to_string(r) + " to " + std::to_string(to);
            } else if (op < 82) {
                const int to = pickCol(rng);
                cols.insert(to);
                store.MoveCol(c, to);
                auto f = [&](Cell x) { return Cell{x.first, Reference::moved(x.second, c, to)}; };
                Reference::remap(ref.texts, f);
                Reference::remap(ref.objects, f);
                what = "move col " + std::to_string(c) + " to " + std::to_string(to);
            } else if (op < 87) {
                store.ClearRow(r);
                ref.eraseIf([&](Cell x) { return x.first == r; });
                what = "clear row";
            } else if (op < 92) {
                store.ClearCol(c);
                ref.eraseIf([&](Cell x) { return x.second == c; });
                what = "clear col";
            } else if (op < 95) {
                store.DropRowsFrom(r);
                ref.eraseIf([&](Cell x) { return x.first >= r; });
                what = "drop rows from " + std::to_string(r);
            } else if (op < 98) {
                store.DropColsFrom(c);
                ref.eraseIf([&](Cell x) { return x.second >= c; });
                what = "drop cols from " + std::to_string(c);
            } else {
                store.Clear();
                ref = Reference();
                what = "clear";
            }
            SCOPED_TRACE("round " + std::to_string(round) + " step " + std::to_string(step) + ": " +
                         what);
            ASSERT_EQ(store.checkInvariants(), "");
            ASSERT_EQ(store.AllocatedRows(), ref.rowsInUse());
            for (int row : rows) {
                for (int col : cols) {
                    const auto t = ref.texts.find({row, col});
                    const QString want = t == ref.texts.end() ? QString() : t->second;
                    ASSERT_EQ(store.Text(col, row), want) << "cell " << col << "," << row;
                    ASSERT_TRUE(store.TextView(col, row) == want);
                    const auto o = ref.objects.find({row, col});
                    ASSERT_EQ(store.Object(col, row), o == ref.objects.end() ? nullptr : o->second)
                        << "cell " << col << "," << row;
                }
            }
        }
    }
}

// Every kind of text survives its neighbours growing, shrinking and changing kind.
TEST(CellStoreTexts, KeepsEveryTextExactWhileNeighboursChange)
{
    const auto &pool = textPool();
    const int n = static_cast<int>(pool.size());
    TCellStore store;
    for (int shift = 0; shift < n; ++shift) {
        for (int c = 0; c < n; ++c)
            store.SetText(c, 3, pool[(c + shift) % n]);
        ASSERT_EQ(store.checkInvariants(), "");
        for (int c = 0; c < n; ++c) {
            const QString &want = pool[(c + shift) % n];
            const QString got = store.Text(c, 3);
            ASSERT_EQ(got.size(), want.size()) << "col " << c << " shift " << shift;
            ASSERT_EQ(got, want) << "col " << c << " shift " << shift;
            ASSERT_TRUE(store.TextView(c, 3) == want);
        }
    }
    // An empty text is no text: the row goes once its last cell is emptied.
    for (int c = 0; c < n; ++c)
        store.SetText(c, 3, QString(""));
    EXPECT_EQ(store.AllocatedRows(), 0);
    EXPECT_EQ(store.checkInvariants(), "");
    EXPECT_TRUE(store.Text(0, 3).isEmpty());
}

TEST(CellStoreTexts, ObjectsOutliveTheirTextAndTheOtherWayRound)
{
    TCellStore store;
    int a = 0;
    store.SetObject(5, 2, &a);
    store.SetText(5, 2, QStringLiteral("t"));
    store.SetText(5, 2, QString());
    EXPECT_EQ(store.Object(5, 2), &a);
    EXPECT_EQ(store.AllocatedRows(), 1);
    store.SetText(5, 2, QStringLiteral("t"));
    store.SetObject(5, 2, nullptr);
    EXPECT_EQ(store.Text(5, 2), QStringLiteral("t"));
    store.SetText(5, 2, QString());
    EXPECT_EQ(store.AllocatedRows(), 0);
    EXPECT_EQ(store.MemoryUsage(), 0u);
}

// A cell at a far row or column costs about what one cell costs, and gives it all back.
TEST(CellStoreCost, FarIndicesCostInProportionToWhatIsStored)
{
    constexpr int far = 16'000'000;
    struct Case
    {
        int col;
        int row;
    };
    const Case cases[] = {{0, far}, {far, 0}, {far, far}, {TCellStore::MaxIndex - 1, 7}};
    for (const Case &k : cases) {
        SCOPED_TRACE(std::to_string(k.col) + "," + std::to_string(k.row));
        TCellStore store;
        int obj = 0;
        store.SetText(k.col, k.row, QStringLiteral("far"));
        store.SetObject(k.col, k.row, &obj);
        // The row index holds a pointer per chunk of rows above the cell, one chunk and one
        // row block: well under 100 kB, where a pointer per row would be 128 MB.
        EXPECT_LT(store.MemoryUsage(), 100'000u);
        EXPECT_EQ(store.Text(k.col, k.row), QStringLiteral("far"));
        EXPECT_EQ(store.Object(k.col, k.row), &obj);
        EXPECT_EQ(store.Text(k.col - 1, k.row), QString());
        store.MoveRow(k.row, 1);
        store.MoveCol(k.col, 2);
        EXPECT_EQ(store.Text(2, 1), QStringLiteral("far"));
        EXPECT_EQ(store.Object(2, 1), &obj);
        EXPECT_LT(store.MemoryUsage(), 100'000u);
        EXPECT_EQ(store.checkInvariants(), "");
        store.ClearRow(1);
        EXPECT_EQ(store.MemoryUsage(), 0u);
    }
    // Out of range writes change nothing; reads there are empty.
    TCellStore store;
    store.SetText(TCellStore::MaxIndex, 0, QStringLiteral("x"));
    store.SetText(0, -1, QStringLiteral("x"));
    EXPECT_EQ(store.MemoryUsage(), 0u);
    EXPECT_EQ(store.Text(TCellStore::MaxIndex, 0), QString());
}

// A table filled row by row costs a small multiple of its text bytes, not a heap string per cell.
TEST(CellStoreCost, DenseTableIsCompact)
{
    TCellStore store;
    constexpr int rows = 20'000;
    constexpr int cols = 10;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            store.SetText(c, r,
                          QString::number(r).rightJustified(7, QLatin1Char('0')) +
                              QLatin1Char('.') + QString::number(c));
    const double perCell = double(store.MemoryUsage()) / (rows * cols);
    EXPECT_LT(perCell, 32.0) << "bytes per nine-character cell";
    EXPECT_EQ(store.Text(9, rows - 1), QStringLiteral("0019999.9"));
    store.Clear();
    EXPECT_EQ(store.MemoryUsage(), 0u);
    EXPECT_EQ(store.AllocatedRows(), 0);
}

// Filling row by row appends each text after the row's last cell; every kind of text, a row
// that already has objects and a row that outgrows the room it was made with stay exact.
TEST(CellStoreTexts, RowByRowFillKeepsEveryKindOfText)
{
    const std::vector<QString> &pool = textPool();
    int token = 0;
    TCellStore store;
    constexpr int rows = 12;
    const int cols = static_cast<int>(pool.size()) + 3;
    auto textOf = [&](int c, int r) { return pool[size_t(c + r) % pool.size()]; };
    for (int r = 0; r < rows; ++r) {
        if (r % 3 == 1)
            store.SetObject(0, r, &token);
        // Later rows are wider than the first, so they outgrow the room learnt from it.
        for (int c = 0; c < cols + r; ++c)
            store.SetText(c, r, textOf(c, r));
        ASSERT_EQ(store.checkInvariants(), "") << "row " << r;
    }
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols + r; ++c) {
            ASSERT_EQ(store.Text(c, r), textOf(c, r)) << "cell " << c << "," << r;
            ASSERT_TRUE(store.TextView(c, r) == textOf(c, r)) << "cell " << c << "," << r;
        }
        EXPECT_EQ(store.Object(0, r), r % 3 == 1 ? &token : nullptr) << "row " << r;
        for (int c = 1; c < cols + r; ++c)
            ASSERT_EQ(store.Object(c, r), nullptr) << "cell " << c << "," << r;
    }
}

// Rows that grow or go give their old memory back, and every text, object and later move stays
// intact through that.
TEST(CellStoreCost, RewritesAndClearsGiveMemoryBack)
{
    TCellStore store;
    constexpr int rows = 20'000;
    constexpr int cols = 10;
    auto text = [](int c, int r, int round) {
        return QString::number(r) + QLatin1Char('/') + QString::number(c) +
               QString(round * 7, QLatin1Char('x'));
    };
    int marker = 0;
    for (int round = 0; round < 3; ++round) {
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                store.SetText(c, r, text(c, r, round));
        store.SetObject(3, 779, &marker);
        ASSERT_EQ(store.checkInvariants(), "");
    }
    const size_t full = store.MemoryUsage();
    // Every row grew twice: the first two rounds' room must not still be held.
    TCellStore fresh;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            fresh.SetText(c, r, text(c, r, 2));
    EXPECT_LT(full, 2 * fresh.MemoryUsage());

    for (int r = 0; r < rows; r += 4)
        for (int k = 0; k < 3; ++k)
            store.ClearRow(r + k);
    ASSERT_EQ(store.checkInvariants(), "");
    EXPECT_EQ(store.AllocatedRows(), rows / 4);
    EXPECT_LT(store.MemoryUsage(), full / 2);
    store.MoveRow(3, rows - 1);
    store.MoveCol(0, cols - 1);
    ASSERT_EQ(store.checkInvariants(), "");
    for (int r = 0; r < rows; ++r) {
        const int orig = r == rows - 1 ? 3 : (r >= 3 ? r + 1 : r);
        for (int c = 0; c < cols; ++c) {
            const int origCol = c == cols - 1 ? 0 : c + 1;
            const QString want = orig % 4 == 3 ? text(origCol, orig, 2) : QString();
            ASSERT_EQ(store.Text(c, r), want) << c << "," << r;
        }
    }
    EXPECT_EQ(store.Object(2, 778), &marker);
}

namespace {

int movedInBlock(int i, int from, int count, int to)
{
    if (i >= from && i < from + count)
        return to + (i - from);
    if (from < to && i >= from + count && i < to + count)
        return i - count;
    if (from > to && i >= to && i < from)
        return i + count;
    return i;
}

// Rows taken out of the store, with what they held then.
struct TakenRow
{
    TCellStore::TRow row;
    std::map<int, QString> texts;
    std::map<int, void *> objects;
};

} // namespace

// Block moves, range clears and rows taken out and put back, mixed with single writes, against
// the same map; blocks cross the chunk boundaries of the row index and reach empty chunks.
TEST(CellStoreRandom, BlockOperationsMatchTheMap)
{
    std::mt19937 rng(20261211);
    int tokens[4] = {};
    auto pickBlockRow = [&rng]() {
        static const int near[] = {0, 1, 4090, 4095, 4096, 8190, 8192, 12000, 20000};
        return rng() % 3 == 0 ? static_cast<int>(rng() % 30)
                              : near[rng() % std::size(near)] + static_cast<int>(rng() % 8);
    };
    for (int round = 0; round < 3; ++round) {
        TCellStore store;
        Reference ref;
        std::vector<TakenRow> taken;
        std::set<int> rows;
        for (int step = 0; step < 600; ++step) {
            const int op = static_cast<int>(rng() % 100);
            const int r = pickBlockRow();
            const int c = pickCol(rng);
            rows.insert(r);
            std::string what;
            if (op < 40) {
                // A few neighbouring rows at once, so blocks have something to carry.
                for (int k = 0; k < 3; ++k) {
                    const QString &t = textPool()[rng() % textPool().size()];
                    store.SetText(c, r + k, t);
                    rows.insert(r + k);
                    if (t.isEmpty())
                        ref.texts.erase({r + k, c});
                    else
                        ref.texts[{r + k, c}] = t;
                }
                if (rng() % 3 == 0) {
                    void *o = &tokens[rng() % std::size(tokens)];
                    store.SetObject(c, r, o);
                    ref.objects[{r, c}] = o;
                }
                what = "write";
            } else if (op < 65) {
                const int count = rng() % 2 ? 1 + static_cast<int>(rng() % 5)
                                            : 1 + static_cast<int>(rng() % 9000);
                const int to = pickBlockRow();
                rows.insert(to);
                rows.insert(to + count - 1);
                rows.insert(r + count - 1);
                store.MoveRows(r, count, to);
                auto f = [&](Cell x) { return Cell{movedInBlock(x.first, r, count, to), x.second}; };
                Reference::remap(ref.texts, f);
                Reference::remap(ref.objects, f);
                what = "move " + std::to_string(count) + " rows from " + std::to_string(r) +
                       " to " + std::to_string(to);
            } else if (op < 72) {
                const int count = static_cast<int>(rng() % 6000);
                store.ClearRows(r, count);
                ref.eraseIf([&](Cell x) { return x.first >= r && x.first < r + count; });
                what = "clear " + std::to_string(count) + " rows from " + std::to_string(r);
            } else if (op < 82) {
                const int r2 = r + static_cast<int>(rng() % 5000) - 100;
                const int c2 = c + static_cast<int>(rng() % 1005) - 2;
                store.ClearRect(c, r, c2, r2);
                ref.eraseIf([&](Cell x) {
                    return x.first >= r && x.first <= r2 && x.second >= c && x.second <= c2;
                });
                what = "clear rect " + std::to_string(c) + "," + std::to_string(r) + " .. " +
                       std::to_string(c2) + "," + std::to_string(r2);
            } else if (op < 91) {
                TakenRow t;
                for (const auto &[cell, v] : ref.texts)
                    if (cell.first == r)
                        t.texts[cell.second] = v;
                for (const auto &[cell, v] : ref.objects)
                    if (cell.first == r)
                        t.objects[cell.second] = v;
                t.row = store.TakeRow(r);
                ASSERT_EQ(t.row.IsEmpty(), t.texts.empty() && t.objects.empty());
                ref.eraseIf([&](Cell x) { return x.first == r; });
                taken.push_back(std::move(t));
                what = "take row " + std::to_string(r);
            } else if (!taken.empty()) {
                const size_t i = rng() % taken.size();
                TakenRow t = std::move(taken[i]);
                taken.erase(taken.begin() + static_cast<std::ptrdiff_t>(i));
                // Reads through the handle give what the row held.
                int end = 0;
                for (const auto &[col, v] : t.texts) {
                    ASSERT_EQ(t.row.Text(col), v);
                    end = std::max(end, col + 1);
                }
                for (const auto &[col, v] : t.objects) {
                    ASSERT_EQ(t.row.Object(col), v);
                    end = std::max(end, col + 1);
                }
                ASSERT_EQ(t.row.ColumnEnd(), end);
                ASSERT_EQ(t.row.Text(5000), QString());
                store.PutRow(r, std::move(t.row));
                ASSERT_TRUE(t.row.IsEmpty());
                ref.eraseIf([&](Cell x) { return x.first == r; });
                for (const auto &[col, v] : t.texts)
                    ref.texts[{r, col}] = v;
                for (const auto &[col, v] : t.objects)
                    ref.objects[{r, col}] = v;
                what = "put row back at " + std::to_string(r);
            }
            SCOPED_TRACE("round " + std::to_string(round) + " step " + std::to_string(step) + ": " +
                         what);
            ASSERT_EQ(store.checkInvariants(), "");
            ASSERT_EQ(store.AllocatedRows(), ref.rowsInUse());
            std::set<int> check = rows;
            for (const auto &kv : ref.texts)
                check.insert(kv.first.first);
            for (int row : check) {
                for (int col : {0, 1, 5, 11, 1000, 1001, 1002}) {
                    const auto t = ref.texts.find({row, col});
                    ASSERT_EQ(store.Text(col, row), t == ref.texts.end() ? QString() : t->second)
                        << "cell " << col << "," << row;
                    const auto o = ref.objects.find({row, col});
                    ASSERT_EQ(store.Object(col, row), o == ref.objects.end() ? nullptr : o->second)
                        << "cell " << col << "," << row;
                }
            }
            std::vector<std::pair<int, void *>> objects;
            store.ForEachObject(r, [&](int col, void *o) { objects.emplace_back(col, o); });
            std::vector<std::pair<int, void *>> want;
            for (const auto &[cell, v] : ref.objects)
                if (cell.first == r)
                    want.emplace_back(cell.second, v);
            ASSERT_EQ(objects, want);
        }
        // Memory goes back: what is still taken is freed by its handle, the store by Clear.
        store.Clear();
        EXPECT_EQ(store.MemoryUsage(), 0u);
    }
}
