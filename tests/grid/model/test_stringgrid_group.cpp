// Grouping: header nodes and summary rows, group results, ungrouping back to the flat table, and
// the second level of sub-groups.
#include "GridFaults.h"
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlStringGrid.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace {

const QString kSentinel = QStringLiteral("\u00ff\u00fe");

// The data rows in one line: "H<span>:<column 1>" for a header, "h<span>:<text>" for a
// sub-header (its text in the column after its sub-grouping column), "S" for a summary row,
// otherwise the text of column `col`.
QString layout(TQrlStringGrid &g, int col = 1)
{
    QStringList out;
    for (int r = g.FixedRows(); r < g.RowCount() - g.FixedFooters(); ++r) {
        if (g.IsNode(r)) {
            const int sub = g.GetCellGraphic(0, r)->CellVar().toInt();
            out << (sub < 0
                        ? QStringLiteral("H%1:%2").arg(g.GetNodeSpan(r)).arg(g.GetGridCell(1, r))
                        : QStringLiteral("h%1:%2")
                              .arg(g.GetNodeSpan(r))
                              .arg(g.GetGridCell(sub + 1, r)));
        } else if (g.IsSummary(r)) {
            out << QStringLiteral("S");
        } else {
            out << g.GetGridCell(col, r);
        }
    }
    return out.join(QLatin1Char(' '));
}

// One column's texts over the data rows, "-" for an empty cell.
QString column(TQrlStringGrid &g, int col)
{
    QStringList out;
    for (int r = g.FixedRows(); r < g.RowCount() - g.FixedFooters(); ++r) {
        const QString t = g.GetGridCell(col, r);
        out << (t.isEmpty() ? QStringLiteral("-") : t);
    }
    return out.join(QLatin1Char(' '));
}

// Everything a round trip must give back.
struct TSnapshot
{
    int cols = 0;
    int rows = 0;
    std::vector<int> widths;
    std::vector<QStringList> texts;
    bool operator==(const TSnapshot &) const = default;
};

void PrintTo(const TSnapshot &s, std::ostream *os)
{
    *os << s.cols << "x" << s.rows << " widths";
    for (int w : s.widths)
        *os << " " << w;
    for (const QStringList &col : s.texts)
        *os << " | " << col.join(QLatin1Char(',')).toStdString();
}

TSnapshot snapshot(const TQrlStringGrid &g)
{
    TSnapshot s{g.ColCount(), g.RowCount(), {}, {}};
    for (int c = 0; c < g.ColCount(); ++c) {
        s.widths.push_back(g.ColWidths(c));
        s.texts.push_back(columnTexts(g, c));
    }
    return s;
}

class GroupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid = std::make_unique<TQrlStringGrid>();
        // Sorting is not part of these tests.
        grid->SortSettings()->SetAutoSortForGrouping(false);
        // 0 fixed, 1 name, 2 key, 3 amount, 4 sub key, 5 note
        fill({"A", "A", "B", "B", "C"});
    }
    void fill(const QStringList &keys)
    {
        const QStringList subKeys = {"p", "q", "q", "q", "q"};
        grid->SetColCount(6);
        grid->SetRowCount(static_cast<int>(keys.size()) + 1);
        const QStringList captions = {"", "Name", "Key", "Amount", "Sub", "Note"};
        for (int c = 0; c < 6; ++c) {
            grid->SetGridCell(c, 0, captions[c]);
            grid->SetColWidths(c, 40 + 5 * c);
        }
        for (int i = 0; i < keys.size(); ++i) {
            const int r = i + 1;
            grid->SetGridCell(1, r, QStringLiteral("r%1").arg(r));
            grid->SetGridCell(2, r, keys[i]);
            grid->SetGridCell(3, r, QString::number(r));
            grid->SetGridCell(4, r, subKeys[i % subKeys.size()]);
            grid->SetGridCell(5, r, QStringLiteral("n%1").arg(r));
        }
    }
    std::unique_ptr<TQrlStringGrid> grid;
};

TEST_F(GroupTest, GroupMakesHeaderNodesAndSummaries)
{
    const struct
    {
        QStringList keys;
        int col;
        bool summary;
        QString expected;
    } cases[] = {
        {{"A", "A", "B", "B", "C"}, 2, false, "H3:A r1 r2 H3:B r3 r4 H2:C r5"},
        {{"A", "A", "B", "B", "C"}, 2, true, "H3:A r1 r2 S H3:B r3 r4 S H2:C r5 S"},
        // Without a previous value an empty first cell starts a group of its own.
        {{"", "", "B", "B", "C"}, 2, false, "H3: r1 r2 H3:B r3 r4 H2:C r5"},
        {{kSentinel, "B", "B", kSentinel, kSentinel},
         2,
         false,
         "H2:" + kSentinel + " r1 H3:B r2 r3 H3:" + kSentinel + " r4 r5"},
        // Grouping column 1: the header text moves along into column 1.
        {{"A", "A", "B", "B", "C"}, 1, false, "H2:r1 A H2:r2 A H2:r3 B H2:r4 B H2:r5 C"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        SetUp();
        fill(c.keys);
        grid->Grouping()->SetSummary(c.summary);
        grid->Group(c.col);
        EXPECT_EQ(layout(*grid), c.expected);
        EXPECT_EQ(grid->GroupColumn(), c.col);
        EXPECT_FALSE(grid->IsGrouping());
        EXPECT_EQ(grid->ColCount(), 5);
        QStringList captions = {"", "Name", "Key", "Amount", "Sub", "Note"};
        captions.removeAt(c.col);
        for (int col = 0; col < 5; ++col)
            EXPECT_EQ(grid->GetGridCell(col, 0), captions[col]);
        EXPECT_EQ(grid->GetNodeLevel(1), 1);
        EXPECT_EQ(grid->GetParentRow(2), 1);
        EXPECT_EQ(propsFault(*grid), QString());
    }
}

TEST_F(GroupTest, GroupResultsGoIntoSummaryOrHeaderRows)
{
    const struct
    {
        bool summary;
        bool contractB;
        std::function<void(TQrlStringGrid &)> calc;
        QString expected; // the amount column
    } cases[] = {
        {false, false, [](TQrlStringGrid &g) { g.GroupSum(2); }, "3.00 1 2 7.00 3 4 5.00 5"},
        {true, false, [](TQrlStringGrid &g) { g.GroupSum(2); }, "- 1 2 3.00 - 3 4 7.00 - 5 5.00"},
        // A contracted group is skipped.
        {true, true, [](TQrlStringGrid &g) { g.GroupSum(2); }, "- 1 2 3.00 - - - 5 5.00"},
        {false, false, [](TQrlStringGrid &g) { g.GroupCount(2); }, "2 1 2 2 3 4 1 5"},
        {false, false, [](TQrlStringGrid &g) { g.GroupMax(2); }, "2.00 1 2 4.00 3 4 5.00 5"},
        {false, false, [](TQrlStringGrid &g) { g.GroupDistinct(2); }, "2.00 1 2 2.00 3 4 1.00 5"},
        {false, false,
         [](TQrlStringGrid &g) {
             g.OnGroupCalc = [](QObject *, int, int from, int to, double &res) {
                 res = 10 * from + to;
             };
             g.GroupCustomCalc(2);
         },
         "23.00 1 2 56.00 3 4 88.00 5"},
        {false, false, [](TQrlStringGrid &g) { g.GroupCalc(2, 9); }, "- 1 2 - 3 4 - 5"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        SetUp();
        grid->Grouping()->SetSummary(c.summary);
        grid->Group(2);
        if (c.contractB)
            grid->ContractNode(grid->RealRowIndex(c.summary ? 5 : 4));
        c.calc(*grid);
        EXPECT_EQ(column(*grid, 2), c.expected);
    }
    // The count is an integer.
    EXPECT_NO_THROW(grid->GroupCount(2));
    EXPECT_EQ(grid->GetInts(2, 4), 2);
}

TEST_F(GroupTest, ResultsSetTheVisibleFooterCalculation)
{
    const struct
    {
        void (TQrlStringGrid::*calc)(int);
        TColumnCalcType footer;
    } cases[] = {
        {&TQrlStringGrid::GroupSum, TColumnCalcType::acSUM},
        {&TQrlStringGrid::GroupAvg, TColumnCalcType::acAVG},
        {&TQrlStringGrid::GroupMin, TColumnCalcType::acMIN},
        {&TQrlStringGrid::GroupMax, TColumnCalcType::acMAX},
        {&TQrlStringGrid::GroupCount, TColumnCalcType::acCOUNT},
        {&TQrlStringGrid::GroupStdDev, TColumnCalcType::acNONE},
    };
    grid->Group(2);
    grid->FloatingFooter()->SetVisible(true);
    for (const auto &c : cases) {
        grid->FloatingFooter()->SetColumnCalc(2, TColumnCalcType::acNONE);
        (grid.get()->*c.calc)(2);
        EXPECT_EQ(grid->FloatingFooter()->ColumnCalc(2), c.footer);
    }
}

// Random small tables grouped and ungrouped again come back cell for cell.
TEST_F(GroupTest, UnGroupRestoresTheFlatTable)
{
    QRandomGenerator rnd(7);
    const QStringList alphabet = {"", "x", "y", kSentinel};
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        grid = std::make_unique<TQrlStringGrid>();
        grid->SortSettings()->SetAutoSortForGrouping(false);
        const int cols = 3 + rnd.bounded(4);
        const int footers = rnd.bounded(2);
        fillWithCoordinates(*grid, cols, 2 + footers + rnd.bounded(8));
        grid->SetFixedFooters(footers);
        const int col = 1 + rnd.bounded(cols - 1);
        for (int r = 1; r < grid->RowCount() - footers; ++r)
            grid->SetGridCell(col, r, alphabet[rnd.bounded(alphabet.size())]);
        for (int c = 0; c < cols; ++c)
            grid->SetColWidths(c, 30 + rnd.bounded(50));
        TGrouping &g = *grid->Grouping();
        g.SetSummary(rnd.bounded(2));
        g.SetMergeHeader(rnd.bounded(2));
        g.SetMergeSummary(rnd.bounded(2));
        g.SetHeaderColor(rnd.bounded(2) ? clBtnFace : clNone);
        g.SetSummaryTextColor(rnd.bounded(2) ? 0x0000FF : clNone);
        const TSnapshot before = snapshot(*grid);

        grid->Group(col);
        ASSERT_EQ(grid->ColCount(), cols - 1);
        ASSERT_TRUE(grid->HasNodes());
        // Some groups closed: ungrouping opens them first.
        if (rnd.bounded(2))
            grid->ContractAll();
        grid->UnGroup();

        EXPECT_EQ(snapshot(*grid), before);
        EXPECT_EQ(grid->GroupColumn(), -1);
        EXPECT_FALSE(grid->HasNodes());
        EXPECT_EQ(grid->NumHiddenRows(), 0);
        EXPECT_EQ(grid->MergedSpans().count(), 0);
        EXPECT_EQ(propsFault(*grid), QString());
    }
}

TEST_F(GroupTest, HeaderAndSummaryLook)
{
    const TColor header = 0x00FF00, headerText = 0x0000FF, summary = 0xFF0000;
    for (const bool merge : {false, true}) {
        SCOPED_TRACE(merge);
        SetUp();
        TGrouping &g = *grid->Grouping();
        g.SetSummary(true);
        g.SetMergeHeader(merge);
        g.SetMergeSummary(merge);
        g.SetHeaderColor(header);
        g.SetHeaderTextColor(headerText);
        g.SetSummaryColor(summary);
        grid->Group(2);
        ASSERT_TRUE(grid->IsNode(1));
        ASSERT_TRUE(grid->IsSummary(4));
        EXPECT_EQ(grid->GetColors(1, 1), header);
        EXPECT_EQ(grid->GetFontColors(1, 1), headerText);
        EXPECT_EQ(grid->GetColors(1, 4), summary);
        EXPECT_EQ(grid->IsMergedCell(1, 1), merge);
        EXPECT_EQ(grid->IsMergedCell(1, 4), merge);
        if (merge)
            EXPECT_EQ(grid->CellSpan(1, 1).X, grid->ColCount() - 2);
        else
            EXPECT_EQ(grid->GetColors(3, 1), header); // the whole row
        EXPECT_EQ(grid->GetColors(1, 2), clNone);     // a data row
        EXPECT_EQ(propsFault(*grid), QString());
    }
}

TEST_F(GroupTest, GroupColumnSetter)
{
    const TSnapshot flat = snapshot(*grid);
    bool seenGrouping = false;
    grid->OnCellsChanged = [&](QObject *, const plat::TGridRect &) {
        seenGrouping = seenGrouping || grid->IsGrouping();
    };
    grid->SetGroupColumn(0);
    EXPECT_EQ(snapshot(*grid), flat);
    EXPECT_EQ(grid->GroupColumn(), -1);

    grid->SetGroupColumn(2);
    EXPECT_EQ(layout(*grid), "H3:A r1 r2 H3:B r3 r4 H2:C r5");
    EXPECT_TRUE(seenGrouping);
    EXPECT_FALSE(grid->IsGrouping());
    grid->SetGroupColumn(0);
    EXPECT_EQ(grid->GroupColumn(), 2);
    // Grouping again undoes the first grouping.
    grid->SetGroupColumn(3);
    EXPECT_EQ(layout(*grid), "H2:1 r1 H2:2 r2 H2:3 r3 H2:4 r4 H2:5 r5");
    EXPECT_EQ(grid->GetGridCell(2, 1), QString());
    grid->SetGroupColumn(-1);
    EXPECT_EQ(snapshot(*grid), flat);
}

TEST_F(GroupTest, NothingHappensWithoutAGroupableColumn)
{
    const struct
    {
        const char *name;
        std::function<void(TQrlStringGrid &)> setup;
        int col;
    } cases[] = {
        {"fixed column", [](TQrlStringGrid &g) { g.SetFixedCols(2); }, 1},
        // Column 0 holds the node graphics.
        {"column 0", [](TQrlStringGrid &g) { g.SetFixedCols(0); }, 0},
        {"past the columns", [](TQrlStringGrid &) {}, 6},
        {"no data rows",
         [](TQrlStringGrid &g) {
             g.SetRowCount(2);
             g.SetFixedFooters(1);
         },
         2},
        // No column left for the header text.
        {"two columns", [](TQrlStringGrid &g) { g.SetColCount(2); }, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        c.setup(*grid);
        const TSnapshot before = snapshot(*grid);
        grid->Group(c.col);
        EXPECT_EQ(snapshot(*grid), before);
        EXPECT_EQ(grid->GroupColumn(), -1);
        EXPECT_FALSE(grid->HasNodes());
    }
    grid->UnGroup(); // on an ungrouped grid
    EXPECT_EQ(grid->ColCount(), 2);
}

TEST_F(GroupTest, SubGroupAndBack)
{
    const struct
    {
        bool summary;
        bool expandOne;
        bool subUnGroupFirst;
        QString expected;
    } cases[] = {
        {false, false, false, "H5:A h2:p r1 h2:q r2 H4:B h3:q r3 r4 H3:C h2:q r5"},
        {true, false, true, "H5:A h2:p r1 h2:q r2 S H4:B h3:q r3 r4 S H3:C h2:q r5 S"},
        // Inserting the sub-headers opens their groups; no other group may close meanwhile.
        {false, true, false, "H5:A h2:p r1 h2:q r2 H4:B h3:q r3 r4 H3:C h2:q r5"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        SetUp();
        grid->Grouping()->SetSummary(c.summary);
        grid->Grouping()->SetMergeHeader(c.summary);
        grid->CellNode()->SetExpandOne(c.expandOne);
        const TSnapshot flat = snapshot(*grid);
        grid->Group(2);
        // With ExpandOne only the first group stays open.
        EXPECT_EQ(grid->NumHiddenRows(), c.expandOne ? 3 : 0);
        const TSnapshot grouped = snapshot(*grid);
        const QString groupedLayout = layout(*grid);

        grid->SubGroup(3); // the sub key, after the key column went
        EXPECT_EQ(layout(*grid), c.expected);
        EXPECT_EQ(grid->NumHiddenRows(), 0);
        EXPECT_EQ(grid->GetNodeLevel(2), 2);
        EXPECT_EQ(grid->GetParentRow(2), 1);
        EXPECT_EQ(grid->GetParentRow(3), 2);
        EXPECT_EQ(grid->GroupColumn(), 2);
        // The values live in the sub-headers only.
        EXPECT_EQ(grid->GetGridCell(3, 3), QString());
        EXPECT_EQ(propsFault(*grid), QString());

        if (c.subUnGroupFirst) {
            grid->SubUnGroup(3);
            EXPECT_EQ(layout(*grid), groupedLayout);
            EXPECT_EQ(snapshot(*grid), grouped);
        }
        // Ungrouping dissolves the sub-groups and restores the first grouping column.
        grid->UnGroup();
        EXPECT_EQ(snapshot(*grid), flat);
        EXPECT_FALSE(grid->HasNodes());
        EXPECT_EQ(propsFault(*grid), QString());
    }
}

TEST_F(GroupTest, SubGroupNeedsAGroupedGridAndAColumnAfterIt)
{
    TSnapshot before = snapshot(*grid);
    grid->SubGroup(3); // not grouped
    EXPECT_EQ(snapshot(*grid), before);
    grid->Group(2);
    before = snapshot(*grid);
    grid->SubGroup(4); // the last column: no room for the sub-header text
    EXPECT_EQ(snapshot(*grid), before);
}

// A sub-group closed inside an open group still counts, and the result lands in the group's
// own summary row.
TEST_F(GroupTest, ContractedSubGroupCountsInItsGroup)
{
    grid->Grouping()->SetSummary(true);
    grid->Group(2);
    grid->SubGroup(3);
    grid->ContractNode(grid->RealRowIndex(2)); // sub-group p of A
    grid->GroupSum(2);
    EXPECT_EQ(layout(*grid, 2), "H5:A h2:p h2:q 2 S H4:B h3:q 3 4 S H3:C h2:q 5 S");
    EXPECT_EQ(column(*grid, 2), "- - - 2 3.00 - - 3 4 7.00 - - 5 5.00");
}

// Summary switched on after grouping without summary rows: no data row or header is taken for
// one.
TEST_F(GroupTest, SummaryRowsAreOnlyThoseGroupingMade)
{
    const TSnapshot flat = snapshot(*grid);
    grid->Group(2);
    grid->Grouping()->SetSummary(true);
    const QString grouped = column(*grid, 2);
    grid->GroupSum(2);
    EXPECT_EQ(column(*grid, 2), grouped);
    grid->UnGroup();
    EXPECT_EQ(snapshot(*grid), flat);
}

// Needs sorting; enabled once QSort is built.
TEST_F(GroupTest, AutoSortGroupsTheSortedRows)
{
    fill({"B", "A", "C", "A", "B"});
    grid->SortSettings()->SetAutoSortForGrouping(true);
    grid->Group(2);
    EXPECT_EQ(grid->SortSettings()->Column(), 2);
    EXPECT_EQ(layout(*grid), "H3:A r2 r4 H3:B r1 r5 H2:C r3");
}

} // namespace
