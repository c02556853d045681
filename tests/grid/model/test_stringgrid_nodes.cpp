// Nodes and expandable rows: the node model, contracting and expanding in place, nested nodes,
// rows inserted and removed around contracted nodes, and the grid's end with nodes contracted.
#include "GridFaults.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class NodeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid = std::make_unique<TQrlStringGrid>();
        fillWithCoordinates(*grid, 4, 10);
    }
    QStringList column(int c) const { return columnTexts(*grid, c); }
    static QStringList rows(std::initializer_list<int> rs, int c = 1)
    {
        QStringList l;
        for (int r : rs)
            l << QStringLiteral("%1:%2").arg(c).arg(r);
        return l;
    }
    std::unique_ptr<TQrlStringGrid> grid;
};

TEST_F(NodeTest, NodeModelAndParents)
{
    EXPECT_FALSE(grid->HasNodes());
    EXPECT_EQ(grid->GetParentRow(3), -1);
    grid->AddNode(1, 4);
    EXPECT_TRUE(grid->HasNodes());
    EXPECT_TRUE(grid->IsNode(1));
    EXPECT_EQ(grid->GetNodeSpan(1), 4);
    EXPECT_EQ(grid->GetNodeLevel(1), 1);
    EXPECT_EQ(grid->GetNodeLevel(2), -1); // not a node
    EXPECT_EQ(grid->GetNodeSpan(2), -1);
    EXPECT_FALSE(grid->GetNodeState(1));
    EXPECT_EQ(grid->GetNodeIndent(3), grid->CellNode()->NodeIndent());
    EXPECT_EQ(grid->GetNodeIndent(6), 0);
    const struct
    {
        int row, parent;
    } cases[] = {{1, 1}, {3, 1}, {4, 1}, {5, -1}, {6, -1}};
    for (const auto &c : cases)
        EXPECT_EQ(grid->GetParentRow(c.row), c.parent) << "row " << c.row;
    EXPECT_EQ(grid->GetNodeSpanType(1), 0);
    EXPECT_EQ(grid->GetNodeSpanType(2), 2); // a row of the same level follows
    EXPECT_EQ(grid->GetNodeSpanType(4), 1); // the branch ends
    EXPECT_EQ(grid->GetNodeSpanType(9), 1); // the last data row

    grid->RemoveNode(1);
    EXPECT_FALSE(grid->HasNodes());
    EXPECT_FALSE(grid->IsNode(1));
    EXPECT_EQ(grid->GetNodeIndent(3), 0);
}

TEST_F(NodeTest, ContractAndExpandInPlace)
{
    grid->SetRowHeights(3, 40);
    grid->SetColors(2, 3, 0x123456);
    grid->AddNode(1, 4);
    grid->ContractNode(1);
    EXPECT_TRUE(grid->GetNodeState(1));
    EXPECT_EQ(grid->NumHiddenRows(), 3);
    EXPECT_EQ(column(1), rows({0, 1, 5, 6, 7, 8, 9}));
    grid->ExpandNode(1);
    EXPECT_FALSE(grid->GetNodeState(1));
    EXPECT_EQ(grid->NumHiddenRows(), 0);
    EXPECT_EQ(column(1), rows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(grid->RowHeights(3), 40);
    EXPECT_EQ(grid->GetColors(2, 3), TColor(0x123456));
    EXPECT_EQ(grid->GetNodeIndent(3), grid->CellNode()->NodeIndent()); // levels travel too

    // The display-row setter goes the same way.
    grid->SetNodeState(1, true);
    EXPECT_EQ(grid->NumHiddenRows(), 3);
    grid->SetNodeState(1, false);
    EXPECT_EQ(grid->NumHiddenRows(), 0);
}

TEST_F(NodeTest, RowsHiddenOutsideTheSpanStayHidden)
{
    grid->HideRows(5, 6);
    grid->AddNode(1, 4);
    grid->ContractNode(1);
    grid->ExpandNode(1);
    EXPECT_EQ(column(1), rows({0, 1, 2, 3, 4, 7, 8, 9}));
    EXPECT_TRUE(grid->IsHiddenRow(5));
}

TEST_F(NodeTest, NestedContractedNodeComesBackWithItsParent)
{
    grid->AddNode(1, 6); // rows 1 .. 6
    grid->AddNode(3, 3); // rows 3 .. 5
    EXPECT_EQ(grid->GetNodeLevel(3), 2);
    EXPECT_EQ(grid->GetParentRow(4), 3);
    EXPECT_EQ(grid->GetParentRow(3), 1);
    EXPECT_EQ(grid->GetParentRow(6), 1);
    grid->ContractNode(3);
    EXPECT_EQ(column(1), rows({0, 1, 2, 3, 6, 7, 8, 9}));
    EXPECT_EQ(grid->GetParentRow(4), 1); // display row 4 is real row 6 now
    grid->ContractNode(1);
    EXPECT_EQ(column(1), rows({0, 1, 7, 8, 9}));
    grid->ExpandNode(1);
    EXPECT_EQ(column(1), rows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(grid->GetNodeState(3));

    grid->ContractAll();
    EXPECT_EQ(column(1), rows({0, 1, 7, 8, 9}));
    grid->ExpandAll();
    EXPECT_EQ(column(1), rows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(NodeTest, ExpandOneClosesTheOthersButNotTheParents)
{
    grid->CellNode()->SetExpandOne(true);
    grid->AddNode(1, 6);
    grid->AddNode(3, 2);
    grid->AddNode(7, 2);
    grid->ContractNode(3);
    grid->ExpandNode(3);
    EXPECT_FALSE(grid->GetNodeState(1)); // holds the node
    EXPECT_TRUE(grid->GetNodeState(7));
    EXPECT_EQ(grid->NumHiddenRows(), 1);
}

TEST_F(NodeTest, InsertAboveAContractedNodeKeepsItsRows)
{
    grid->AddNode(4, 3); // rows 4 .. 6
    grid->ContractNode(4);
    grid->InsertNormalRow(2);
    EXPECT_EQ(grid->GetNodeSpan(4), -1);
    EXPECT_TRUE(grid->IsNode(5));
    grid->ExpandNode(5);
    EXPECT_EQ(grid->NumHiddenRows(), 0);
    EXPECT_EQ(column(1), QStringList({"1:0", "1:1", "", "1:2", "1:3", "1:4", "1:5", "1:6", "1:7",
                                      "1:8", "1:9"}));
}

TEST_F(NodeTest, ChildRowsGrowAndShrinkEveryAncestor)
{
    grid->AddNode(1, 6);
    grid->AddNode(3, 3);
    grid->ContractNode(3);
    // Inserting into the contracted nested node opens it, and both spans grow.
    grid->InsertChildRow(3, 0);
    EXPECT_FALSE(grid->GetNodeState(3));
    EXPECT_EQ(grid->GetNodeSpan(3), 4);
    EXPECT_EQ(grid->GetNodeSpan(1), 7);
    EXPECT_EQ(grid->GetSubNodeCount(3), 1);
    EXPECT_EQ(grid->GetSubNodeCount(1), 1);
    // The node row's texts went into the new row; the node row keeps its graphic.
    EXPECT_EQ(grid->GetGridCell(1, 3), "");
    EXPECT_EQ(grid->GetGridCell(1, 4), "1:3");
    EXPECT_EQ(grid->GetParentRow(4), 3);
    EXPECT_TRUE(grid->IsNode(3));

    grid->RemoveChildRow(4);
    EXPECT_EQ(grid->GetNodeSpan(3), 3);
    EXPECT_EQ(grid->GetNodeSpan(1), 6);
    EXPECT_EQ(grid->GetSubNodeCount(3), 0);
    grid->ContractNode(1);
    EXPECT_EQ(column(2).mid(0, 3), rows({0, 1, 7}, 2));
    EXPECT_EQ(grid->NumHiddenRows(), 5);
}

TEST_F(NodeTest, RemovingANodeRowShowsItsRows)
{
    grid->AddNode(2, 3);
    grid->ContractNode(2);
    grid->RemoveNormalRow(2);
    EXPECT_FALSE(grid->HasNodes());
    EXPECT_EQ(grid->NumHiddenRows(), 0);
    EXPECT_EQ(column(1), rows({0, 1, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(NodeTest, RowHooksFollowTheNodes)
{
    grid->AddNode(2, 3);
    grid->InsertRowHook(3); // inside: a child row
    EXPECT_EQ(grid->GetNodeSpan(2), 4);
    grid->InsertRowHook(8); // outside: a normal row
    EXPECT_EQ(grid->GetNodeSpan(2), 4);
    grid->RemoveRowHook(4);
    EXPECT_EQ(grid->GetNodeSpan(2), 3);
    grid->RemoveRowHook(7);
    EXPECT_EQ(grid->GetNodeSpan(2), 3);
    EXPECT_EQ(grid->RowCount(), 10);
}

TEST(NodeLifetime, DestroyingWithContractedNodesFreesEverything)
{
    // Run under the leak checker.
    auto g = std::make_unique<TQrlStringGrid>();
    g->SetColors(1, 3, 0xFF);
    g->AddNode(1, 5);
    g->AddNode(2, 2);
    g->AddExpand(2, 8, 60);
    g->ContractNode(2);
    g->ContractNode(1);
    EXPECT_EQ(g->NumHiddenRows(), 4);
    g.reset();
}

TEST(ExpandRows, HeightsAndState)
{
    TQrlStringGrid g;
    g.SetRowHeights(2, 30);
    EXPECT_EQ(g.GetExpandHeight(1, 2, true), g.DefaultRowHeight());
    EXPECT_FALSE(g.ToggleExpand(1, 2));
    g.AddExpand(1, 2, 90);
    EXPECT_TRUE(g.HasExpand(1, 2));
    EXPECT_EQ(g.GetExpandHeight(1, 2, true), 90);
    EXPECT_EQ(g.GetExpandHeight(1, 2, false), 30);
    EXPECT_FALSE(g.GetExpandState(1, 2));
    EXPECT_TRUE(g.ToggleExpand(1, 2));
    EXPECT_TRUE(g.GetExpandState(1, 2));
    EXPECT_FALSE(g.ToggleExpand(1, 2));
    g.RemoveExpand(1, 2);
    EXPECT_FALSE(g.HasExpand(1, 2));

    // The expand click gives the row the height of its new state, after the event.
    g.SetRowHeights(3, 25);
    g.AddExpand(1, 3, 70);
    int seenHeight = -1;
    g.OnExpandClick = [&](QObject *, int, int ARow, bool) { seenHeight = g.RowHeights(ARow); };
    g.DoExpandClick(1, 3, true);
    EXPECT_EQ(seenHeight, 25);
    EXPECT_EQ(g.RowHeights(3), 70);
    g.DoExpandClick(1, 3, false);
    EXPECT_EQ(g.RowHeights(3), 25);
}

TEST(NodeClick, OnlyTheGlyphOfTheRowsLevelCountsWithPreciseClicks)
{
    TQrlStringGrid g;
    fillWithCoordinates(g, 4, 12);
    g.AddNode(1, 6);
    g.AddNode(2, 3); // level 2
    g.CellNode()->SetNodeIndent(12);
    struct Case
    {
        TNodeType type;
        int row, x;
        bool hit;
    };
    // Level L hits where c + (L - 1) * I < X < b + L * I.
    const Case cases[] = {
        {TNodeType::cnXP, 1, 4, false},   {TNodeType::cnXP, 1, 5, true},
        {TNodeType::cnXP, 1, 15, true},   {TNodeType::cnXP, 1, 16, false},
        {TNodeType::cnXP, 2, 16, false},  {TNodeType::cnXP, 2, 17, true},
        {TNodeType::cnXP, 2, 27, true},   {TNodeType::cn3D, 1, 1, true},
        {TNodeType::cn3D, 1, 18, false},  {TNodeType::cnLeaf, 1, 2, false},
        {TNodeType::cnLeaf, 1, 19, true}, {TNodeType::cnLeaf, 1, 20, false},
    };
    for (const Case &c : cases) {
        g.CellNode()->SetNodeType(c.type);
        EXPECT_EQ(g.IsNodeClick(c.row, c.x), c.hit)
            << int(c.type) << " row " << c.row << " x " << c.x;
    }
    g.MouseActions()->SetPreciseNodeClick(false);
    EXPECT_TRUE(g.IsNodeClick(1, 500));
}

} // namespace
