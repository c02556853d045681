// Hidden columns as a value: hiding and showing with widths, the display/real maps, and how
// flags and widths follow line operations, checked against a model that keeps every real
// column as an object in a list.
#include "grid/model/QrlHiddenColumns.h"
#include "grid/model/QrlHiddenRows.h"
#include "grid/model/QrlLineCompanion.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int Table = THiddenColumns::TableSize;

// The table's real columns in order, each hidden or shown with its width; line operations are
// plain list edits cut back to the table. While no column is hidden nothing is kept by column.
struct TRefColumns
{
    struct Col
    {
        bool hidden = false;
        int width = 0;
    };
    std::vector<Col> cols = std::vector<Col>(Table);

    bool anyHidden() const
    {
        for (const Col &c : cols)
            if (c.hidden)
                return true;
        return false;
    }
    void fit() { cols.resize(Table); }
    void insert(int at, int count)
    {
        if (!anyHidden() || at >= Table)
            return;
        cols.insert(cols.begin() + at, static_cast<size_t>(count), Col{});
        fit();
    }
    void remove(int at, int count)
    {
        if (!anyHidden() || at >= Table)
            return;
        cols.erase(cols.begin() + at, cols.begin() + std::min(at + count, Table));
        fit();
    }
    void move(int from, int to)
    {
        if (!anyHidden())
            return;
        const Col c = cols[static_cast<size_t>(from)];
        cols.erase(cols.begin() + from);
        cols.insert(cols.begin() + to, c);
    }
    int displOf(int real) const
    {
        if (real >= Table)
            return real;
        int d = real;
        for (int c = 0; c < real; ++c)
            d -= cols[static_cast<size_t>(c)].hidden;
        return d;
    }
};

void expectSame(const THiddenColumns &h, const TRefColumns &ref)
{
    ASSERT_EQ(h.checkInvariants(), QString());
    int hidden = 0, displ = 0;
    for (int r = 0; r < Table; ++r) {
        const TRefColumns::Col &c = ref.cols[static_cast<size_t>(r)];
        ASSERT_EQ(h.isHidden(r), c.hidden) << "real " << r;
        ASSERT_EQ(h.width(r), c.width) << "real " << r;
        ASSERT_EQ(h.realToDispl(r), ref.displOf(r)) << "real " << r;
        if (!c.hidden) {
            ASSERT_EQ(h.displToReal(displ), r) << "display " << displ;
            ++displ;
        }
        hidden += c.hidden;
    }
    ASSERT_EQ(h.count(), hidden);
    // Past the table every column is shown and maps to itself.
    for (int r : {Table, Table + 1, Table + 1000}) {
        EXPECT_FALSE(h.isHidden(r));
        EXPECT_EQ(h.realToDispl(r), r);
        EXPECT_EQ(h.displToReal(r), r);
        EXPECT_EQ(h.width(r), 0);
    }
}

TEST(HiddenColumns, LineOperationsFollowAPlainModel)
{
    std::mt19937 rng(11);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    THiddenColumns h;
    TRefColumns ref;
    for (int step = 0; step < 1200; ++step) {
        // Mostly near the front, sometimes across the table's end.
        const int span = pick(4) == 0 ? Table : 24;
        switch (pick(6)) {
        case 0: {
            const int r = pick(span), w = 1 + pick(300);
            if (h.hide(r, w))
                ref.cols[static_cast<size_t>(r)] = {true, w};
            break;
        }
        case 1: {
            const int r = pick(span);
            if (h.show(r))
                ref.cols[static_cast<size_t>(r)].hidden = false;
            break;
        }
        case 2: {
            const int at = pick(span + 4), count = 1 + pick(3);
            h.linesInserted(TGridAxis::Cols, at, count);
            ref.insert(at, count);
            break;
        }
        case 3: {
            const int at = pick(span + 4), count = 1 + pick(3);
            h.linesRemoved(TGridAxis::Cols, at, count);
            ref.remove(at, count);
            break;
        }
        case 4: {
            const int from = pick(span), to = pick(span);
            h.linesMoved(TGridAxis::Cols, from, to);
            ref.move(from, to);
            break;
        }
        default: {
            // Row operations leave the columns alone.
            const int at = pick(span), count = 1 + pick(3);
            h.linesInserted(TGridAxis::Rows, at, count);
            h.linesRemoved(TGridAxis::Rows, at, count);
            h.linesMoved(TGridAxis::Rows, at, at + count);
            break;
        }
        }
        expectSame(h, ref);
        if (HasFatalFailure())
            return;
    }
}

TEST(HiddenColumns, HideAndShowCases)
{
    struct Case
    {
        const char *what;
        int real;
        bool hides;
    };
    const Case cases[] = {
        {"first column", 0, true},
        {"last of the table", Table - 1, true},
        {"past the table", Table, false},
        {"negative", -1, false},
    };
    for (const Case &c : cases) {
        THiddenColumns h;
        EXPECT_EQ(h.hide(c.real, 77), c.hides) << c.what;
        EXPECT_EQ(h.isHidden(c.real), c.hides) << c.what;
        EXPECT_EQ(h.count(), c.hides ? 1 : 0) << c.what;
        // Hiding twice neither counts twice nor overwrites the recorded width.
        EXPECT_FALSE(h.hide(c.real, 5)) << c.what;
        EXPECT_EQ(h.width(c.real), c.hides ? 77 : 0) << c.what;
        EXPECT_EQ(h.show(c.real), c.hides) << c.what;
        EXPECT_FALSE(h.show(c.real)) << c.what;
        EXPECT_TRUE(h.empty()) << c.what;
        EXPECT_EQ(h.checkInvariants(), QString()) << c.what;
    }
}

TEST(HiddenColumns, FlagsPushedPastTheTableAreDropped)
{
    THiddenColumns h;
    h.hide(Table - 2, 40);
    h.hide(3, 30);
    h.linesInserted(TGridAxis::Cols, 0, 5);
    EXPECT_TRUE(h.isHidden(8));
    EXPECT_EQ(h.width(8), 30);
    EXPECT_EQ(h.count(), 1);
    EXPECT_EQ(h.checkInvariants(), QString());
    // Removing brings shown columns in at the table's end.
    h.linesRemoved(TGridAxis::Cols, 0, 8);
    EXPECT_TRUE(h.isHidden(0));
    EXPECT_FALSE(h.isHidden(Table - 1));
    EXPECT_EQ(h.width(Table - 1), 0);
    // A removal that takes the only hidden column leaves none.
    h.linesRemoved(TGridAxis::Cols, 0, 1);
    EXPECT_TRUE(h.empty());
    EXPECT_EQ(h.checkInvariants(), QString());
}

TEST(HiddenRowStore, ColumnOperationsLeaveItAlone)
{
    THiddenRows store;
    for (int r : {2, 5}) {
        auto item = std::make_unique<TGridItem>();
        item->SetIdx(r);
        store.append(std::move(item));
    }
    store.linesInserted(TGridAxis::Cols, 0, 3);
    store.linesRemoved(TGridAxis::Cols, 0, 3);
    store.linesMoved(TGridAxis::Cols, 0, 4, 1);
    EXPECT_TRUE(store.isHidden(2));
    EXPECT_TRUE(store.isHidden(5));
    EXPECT_EQ(store.checkInvariants(), QString());
    // The same on rows does move them.
    store.linesInserted(TGridAxis::Rows, 0, 3);
    EXPECT_TRUE(store.isHidden(5));
    EXPECT_TRUE(store.isHidden(8));
    EXPECT_EQ(store.checkInvariants(), QString());
}

// The single steps a block move is made of put every line where movedLine says, and a list of
// companions hears every change in the order they joined.
TEST(LineCompanions, MoveStepsMatchTheBlockMoveAndTheListKeepsItsOrder)
{
    for (int n : {1, 2, 5, 9}) {
        for (int count = 1; count <= n; ++count) {
            for (int from = 0; from + count <= n; ++from) {
                for (int to = 0; to + count <= n; ++to) {
                    std::vector<int> lines(static_cast<size_t>(n));
                    for (int i = 0; i < n; ++i)
                        lines[static_cast<size_t>(i)] = i;
                    forEachMoveStep(TLineMove{TGridAxis::Rows, from, to, count}, [&](int f, int t) {
                        const int v = lines[static_cast<size_t>(f)];
                        lines.erase(lines.begin() + f);
                        lines.insert(lines.begin() + t, v);
                    });
                    for (int x = 0; x < n; ++x)
                        ASSERT_EQ(lines[static_cast<size_t>(movedLine(x, from, to, count))], x)
                            << "n " << n << " from " << from << " to " << to << " count " << count;
                }
            }
        }
    }

    struct TLog final : ILineCompanion
    {
        TLog(std::vector<QString> &log, QString name) : m_log(log), m_name(std::move(name)) {}
        void linesInserted(const TLineChange &c) override
        {
            m_log.push_back(QStringLiteral("%1 +%2@%3/%4%5")
                                .arg(m_name)
                                .arg(c.count)
                                .arg(c.at)
                                .arg(c.realAt)
                                .arg(c.viewOnly ? QStringLiteral(" view") : QString()));
        }
        void linesRemoved(const TLineChange &c) override
        {
            m_log.push_back(QStringLiteral("%1 -%2@%3").arg(m_name).arg(c.count).arg(c.at));
        }
        void linesMoved(const TLineMove &m) override
        {
            m_log.push_back(
                QStringLiteral("%1 %2>%3x%4").arg(m_name).arg(m.from).arg(m.to).arg(m.count));
        }
        std::vector<QString> &m_log;
        QString m_name;
    };
    std::vector<QString> log;
    TLineCompanions list;
    list.add(std::make_unique<TLog>(log, QStringLiteral("a")));
    list.add(std::make_unique<TLog>(log, QStringLiteral("b")));
    list.linesInserted({TGridAxis::Rows, 2, 3, 4, true});
    list.linesRemoved({TGridAxis::Cols, 1, 2, 1, false});
    list.linesMoved({TGridAxis::Rows, 5, 1, 2});
    const std::vector<QString> expected{"a +3@2/4 view", "b +3@2/4 view", "a -2@1",
                                        "b -2@1",        "a 5>1x2",       "b 5>1x2"};
    EXPECT_EQ(log, expected);
}

} // namespace
