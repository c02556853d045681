#include "grid/model/QrlUndo.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// A grid of texts that logs every write, cursor move and repaint.
class FakeUndoGrid : public IGridUndoTarget
{
public:
    QString UndoGetCell(int ACol, int ARow) const override
    {
        auto it = cells.find({ACol, ARow});
        return it == cells.end() ? QString() : it->second;
    }
    void UndoSetCell(int ACol, int ARow, const QString &Value) override
    {
        EXPECT_GE(ACol, 0);
        EXPECT_GE(ARow, 0);
        cells[{ACol, ARow}] = Value;
        writes.push_back(Value.toStdString());
    }
    // Column 0 is hidden: real column c shows at c - 1.
    int UndoDisplColIndex(int ACol) const override { return ACol - 1; }
    int UndoCurrentCol() const override { return col; }
    void UndoFocusCell(int ACol, int ARow) override
    {
        col = ACol;
        row = ARow;
    }
    void UndoRepaintCell(int ACol, int ARow) override { repaints.push_back({ACol, ARow}); }
    void UndoInvalidate() override { ++invalidates; }

    // Makes a change and registers it, as the grid's editing does.
    void edit(TQrlGridUndoRedo &u, int c, int r, const QString &text)
    {
        u.RegisterChange(c, r, UndoGetCell(c, r), text);
        cells[{c, r}] = text;
    }

    std::map<std::pair<int, int>, QString> cells;
    std::vector<std::string> writes;
    std::vector<std::pair<int, int>> repaints;
    int col = 0, row = 0, invalidates = 0;
};

class UndoRedo : public ::testing::Test
{
protected:
    void SetUp() override { u.SetGrid(&grid); }
    FakeUndoGrid grid;
    TQrlGridUndoRedo u;
};

TEST_F(UndoRedo, SingleChangesBackAndForth)
{
    EXPECT_FALSE(u.CanUndo());
    EXPECT_FALSE(u.CanRedo());
    grid.edit(u, 2, 1, "t1");
    grid.edit(u, 2, 1, "t2");
    u.Undo();
    EXPECT_EQ(grid.UndoGetCell(2, 1), "t1");
    EXPECT_EQ(grid.col, 1) << "current cell at the display column";
    EXPECT_EQ(grid.row, 1);
    EXPECT_EQ(grid.repaints, (std::vector<std::pair<int, int>>{{1, 1}}));
    u.Undo();
    EXPECT_EQ(grid.UndoGetCell(2, 1), "");
    EXPECT_FALSE(u.CanUndo());
    u.Undo();
    EXPECT_EQ(grid.writes.size(), 2u) << "nothing left to undo";
    u.Redo();
    u.Redo();
    EXPECT_EQ(grid.writes, (std::vector<std::string>{"t1", "", "t1", "t2"}));
    EXPECT_FALSE(u.CanRedo());
    u.Redo();
    EXPECT_EQ(grid.writes.size(), 4u);
    EXPECT_EQ(grid.invalidates, 0);
}

TEST_F(UndoRedo, SequenceIsOneStep)
{
    grid.edit(u, 1, 1, "before");
    u.StartSequence();
    grid.edit(u, 1, 1, "a");
    grid.edit(u, 2, 1, "b");
    grid.edit(u, 3, 1, "c");
    u.StopSequence();
    EXPECT_EQ(u.Items().Count(), 6);
    EXPECT_EQ(u.Items().Items(1).Col, -1);
    EXPECT_EQ(u.Items().Items(5).Row, -1);

    u.Undo();
    EXPECT_EQ(grid.writes, (std::vector<std::string>{"", "", "before"})) << "newest first";
    EXPECT_EQ(grid.invalidates, 1);
    EXPECT_EQ(u.Level(), 1);
    EXPECT_TRUE(grid.repaints.empty());

    grid.writes.clear();
    u.Redo();
    EXPECT_EQ(grid.writes, (std::vector<std::string>{"a", "b", "c"})) << "oldest first";
    EXPECT_EQ(u.Level(), u.Items().Count());
    EXPECT_EQ(grid.invalidates, 2);

    // A sequence followed by more changes ends just past its stop marker.
    grid.edit(u, 4, 1, "d");
    u.Undo();
    u.Undo();
    EXPECT_EQ(u.Level(), 1);
    u.Redo();
    EXPECT_EQ(u.Level(), 6) << "just past the stop marker";
    EXPECT_EQ(grid.UndoGetCell(4, 1), "");
    u.Redo();
    EXPECT_EQ(grid.UndoGetCell(4, 1), "d");
}

TEST_F(UndoRedo, MaxLevelDropsTheOldest)
{
    u.SetMaxLevel(2);
    grid.edit(u, 1, 1, "x");
    grid.edit(u, 1, 2, "y");
    grid.edit(u, 1, 3, "z");
    EXPECT_EQ(u.Items().Count(), 2);
    u.Undo();
    u.Undo();
    u.Undo();
    EXPECT_EQ(grid.writes.size(), 2u);
    EXPECT_EQ(grid.UndoGetCell(1, 1), "x") << "the first change is gone";
    EXPECT_EQ(grid.UndoGetCell(1, 2), "");
    EXPECT_EQ(grid.UndoGetCell(1, 3), "");
}

TEST_F(UndoRedo, NewChangeAfterUndoKeepsTheUndoneItem)
{
    grid.edit(u, 1, 1, "first");
    grid.edit(u, 1, 2, "second");
    u.Undo();
    grid.edit(u, 1, 3, "third");
    EXPECT_EQ(u.Items().Count(), 3);
    EXPECT_EQ(u.Level(), 3);
    EXPECT_FALSE(u.CanRedo());
    grid.writes.clear();
    u.Undo();
    u.Undo();
    u.Undo();
    // The new change, the already undone one (its old text again) and the first change.
    EXPECT_EQ(grid.writes, (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(grid.UndoGetCell(1, 1), "");
    EXPECT_FALSE(u.CanUndo());
}

TEST_F(UndoRedo, ResetAndNoGrid)
{
    grid.edit(u, 1, 1, "x");
    u.Undo();
    u.Reset();
    EXPECT_FALSE(u.CanUndo());
    EXPECT_FALSE(u.CanRedo());
    EXPECT_EQ(u.Items().Count(), 0);

    grid.edit(u, 1, 1, "y");
    u.Notification(&grid);
    EXPECT_EQ(u.Grid(), nullptr);
    u.Undo();
    EXPECT_EQ(u.Level(), 1) << "without a grid nothing happens";
    EXPECT_EQ(grid.writes.size(), 1u);
}

TEST_F(UndoRedo, EventsSeeTheCurrentAndTheNewText)
{
    std::vector<std::string> seen;
    u.OnUndo = [&](TQrlGridUndoRedo *sender, IGridUndoTarget *g, int c, int r, const QString &orig,
                   const QString &now) {
        EXPECT_EQ(sender, &u);
        EXPECT_EQ(g, &grid);
        seen.push_back("undo " + std::to_string(c) + "," + std::to_string(r) + " " +
                       orig.toStdString() + "->" + now.toStdString());
    };
    u.OnRedo = [&](TQrlGridUndoRedo *, IGridUndoTarget *, int, int, const QString &orig,
                   const QString &now) {
        seen.push_back("redo " + orig.toStdString() + "->" + now.toStdString());
    };
    grid.edit(u, 2, 3, "old");
    grid.edit(u, 2, 3, "new");
    u.Undo();
    u.Redo();
    EXPECT_EQ(seen, (std::vector<std::string>{"undo 2,3 new->old", "redo old->new"}));
}

TEST_F(UndoRedo, UnpairedMarkersNameNoCell)
{
    // A lone start marker: undo steps over it without writing cell (-1, -1).
    u.StartSequence();
    grid.edit(u, 1, 1, "a");
    grid.edit(u, 1, 2, "b");
    u.Undo();
    u.Undo();
    u.Undo();
    EXPECT_EQ(u.Level(), 0);
    EXPECT_EQ(grid.writes.size(), 2u);
    // Its redo reapplies the whole open sequence and stays within the items.
    grid.writes.clear();
    u.Redo();
    EXPECT_EQ(grid.writes, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(u.Level(), 3);

    // A lone stop marker: undo stops at the first item and Level never goes negative.
    u.Reset();
    grid.edit(u, 1, 1, "c");
    u.StopSequence();
    u.Undo();
    EXPECT_EQ(u.Level(), 0);
    EXPECT_FALSE(u.CanUndo());
    u.Redo();
    EXPECT_EQ(u.Level(), 1);
}

TEST_F(UndoRedo, HandlerMayRegisterWhileUndoing)
{
    grid.edit(u, 1, 1, "x");
    u.OnUndo = [&](TQrlGridUndoRedo *, IGridUndoTarget *, int, int, const QString &,
                   const QString &) {
        for (int i = 0; i < 64; ++i)
            u.RegisterChange(5, 5, "p", "q");
    };
    u.Undo();
    EXPECT_EQ(grid.UndoGetCell(1, 1), "");
}

} // namespace
