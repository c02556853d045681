// Moving the cell cursor after an edit and on typed keys: the advance over a small grid in every
// direction, with wrapping, insertion, merged and read-only cells, and the grid's key press.
#include "grid/common/GridWindow.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using plat::TGridOption;
using enum TAdvanceDirection;

// A shown 4 x 4 grid with one fixed row and column: cells (1..3, 1..3) can be navigated.
class Navigate : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid = shown.open();
        grid->SetColCount(4);
        grid->SetRowCount(4);
        grid->SetOptions(grid->Options() + TGridOption::goEditing);
        ASSERT_TRUE(shown.showActive({400, 200}));
        grid->Navigation()->SetAdvanceOnEnter(true);
    }

    gridtest::GridWindow<TQrlStringGrid> shown;
    TQrlStringGrid *grid = nullptr;
};

struct AdvanceCase
{
    const char *name;
    TAdvanceDirection dir;
    bool forward;
    bool loop;
    bool insert;
    bool canAdd;
    int startCol, startRow;
    int endCol, endRow;
    int rowCount, colCount;
    // A reported insertion (OnAutoAddRow's row or OnAutoInsertCol's column), -1 for none.
    int reported;
};

TEST_F(Navigate, AdvanceTable)
{
    const AdvanceCase cases[] = {
        {"next column", adLeftRight, true, true, false, true, 1, 1, 2, 1, 4, 4, -1},
        {"row end to next row", adLeftRight, true, true, false, true, 3, 1, 1, 2, 4, 4, -1},
        {"last cell wraps", adLeftRight, true, true, false, true, 3, 3, 1, 1, 4, 4, -1},
        {"last cell without loop stays", adLeftRight, true, false, false, true, 3, 3, 3, 3, 4, 4,
         -1},
        {"last cell adds a row", adLeftRight, true, true, true, true, 3, 3, 1, 4, 5, 4, 4},
        {"adding refused", adLeftRight, true, true, true, false, 3, 3, 1, 3, 4, 4, -1},
        {"row end in row wraps", adLeftRightInRow, true, true, false, true, 3, 2, 1, 2, 4, 4, -1},
        {"backward wraps to the last cell", adLeftRight, false, true, false, true, 1, 1, 3, 3, 4, 4,
         -1},
        {"backward column", adLeftRight, false, true, false, true, 2, 2, 1, 2, 4, 4, -1},
        {"down", adTopBottom, true, true, false, true, 2, 1, 2, 2, 4, 4, -1},
        {"column end to next column", adTopBottom, true, true, false, true, 2, 3, 3, 1, 4, 4, -1},
        {"last cell adds a column", adTopBottom, true, true, true, true, 3, 3, 4, 1, 4, 5, 4},
        {"last cell down wraps", adTopBottom, true, true, false, true, 3, 3, 1, 1, 4, 4, -1},
        {"backward up wraps", adTopBottom, false, true, false, true, 2, 1, 1, 3, 4, 4, -1},
        {"column end in column wraps", adTopBottomInCol, true, true, false, true, 2, 3, 2, 1, 4, 4,
         -1},
    };
    for (const AdvanceCase &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        TNavigation *nav = grid->Navigation();
        nav->SetAdvanceDirection(k.dir);
        nav->SetAdvanceOnEnterLoop(k.loop);
        nav->SetAdvanceInsert(k.insert);
        grid->OnCanAddRow = [&](QObject *, bool &can) { can = k.canAdd; };
        int reported = -1;
        grid->OnAutoAddRow = [&](QObject *, int r) { reported = r; };
        grid->OnAutoInsertCol = [&](QObject *, int c) { reported = c; };
        grid->GotoCell(k.startCol, k.startRow);
        grid->AdvanceAfterEdit(k.startCol, k.startRow, false, k.forward, false, false);
        EXPECT_EQ(grid->Col(), k.endCol);
        EXPECT_EQ(grid->Row(), k.endRow);
        EXPECT_EQ(grid->RowCount(), k.rowCount);
        EXPECT_EQ(grid->ColCount(), k.colCount);
        EXPECT_EQ(reported, k.reported);
        EXPECT_FALSE(grid->DisableChange());
    }
}

TEST_F(Navigate, AdvanceSkipsMergedAndReadOnlyCells)
{
    grid->MergeCells(1, 1, 2, 1);
    grid->OnCanEditCell = [](QObject *, int r, int c, bool &can) { can = !(c == 1 && r == 2); };
    grid->GotoCell(1, 1);
    grid->AdvanceAfterEdit(1, 1, false, true, false, false);
    EXPECT_EQ(grid->Col(), 3);
    grid->AdvanceAfterEdit(3, 1, false, true, false, false);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
}

// Where no editable cell can be reached the advance ends on the start cell.
TEST_F(Navigate, AdvanceOverCellsThatCannotBeEditedTerminates)
{
    struct Case
    {
        const char *name;
        bool loop;
        TAdvanceDirection dir;
        int startCol, startRow;
        bool startEditable;
    };
    const Case cases[] = {
        {"all read-only, wrapping", true, adLeftRight, 2, 2, false},
        {"all but the start read-only, wrapping", true, adLeftRight, 2, 2, true},
        {"all read-only, top to bottom", true, adTopBottom, 2, 2, false},
        {"all but the start read-only, in row", true, adLeftRightInRow, 2, 2, true},
        {"stops at the end", false, adLeftRight, 2, 3, true},
        {"stops in the row", false, adLeftRightInRow, 2, 3, true},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        SetUp();
        grid->Navigation()->SetAdvanceOnEnterLoop(k.loop);
        grid->Navigation()->SetAdvanceDirection(k.dir);
        grid->GotoCell(k.startCol, k.startRow);
        grid->OnCanEditCell = [&](QObject *, int r, int c, bool &can) {
            can = k.startEditable && c == k.startCol && r == k.startRow;
        };
        int changing = 0;
        grid->OnCellChanging = [&](QObject *, int, int, int, int, bool &) { ++changing; };
        grid->AdvanceAfterEdit(k.startCol, k.startRow, true, true, true, false);
        EXPECT_EQ(grid->Col(), k.startCol);
        EXPECT_EQ(grid->Row(), k.startRow);
        EXPECT_EQ(changing, 0);
        EXPECT_FALSE(grid->DisableChange());
    }
}

TEST_F(Navigate, AutoAdvanceRedirectsOrRefuses)
{
    struct Case
    {
        const char *name;
        int newCol;
        bool allow;
        int endCol, endRow;
    };
    for (const Case k : {Case{"redirect", 3, true, 3, 2}, Case{"refuse", 3, false, 1, 2}}) {
        SCOPED_TRACE(k.name);
        SetUp();
        grid->GotoCell(1, 2);
        QStringList log;
        grid->OnAutoAdvance = [&](QObject *, int oldRow, int oldCol, int &newRow, int &newCol,
                                  bool &allow) {
            log << QStringLiteral("auto %1,%2>%3,%4")
                       .arg(oldCol)
                       .arg(oldRow)
                       .arg(newCol)
                       .arg(newRow);
            newCol = k.newCol;
            allow = k.allow;
        };
        grid->OnCellChanging = [&](QObject *, int, int, int, int, bool &) { log << "cell"; };
        grid->AdvanceAfterEdit(1, 2, false, true, false, false);
        EXPECT_EQ(grid->Col(), k.endCol);
        EXPECT_EQ(grid->Row(), k.endRow);
        // The cell event fires once for the advance, not again for the cursor move.
        EXPECT_EQ(log,
                  k.allow ? QStringList({"auto 1,2>2,2", "cell"}) : QStringList({"auto 1,2>2,2"}));
    }
}

TEST_F(Navigate, AdvanceNeedsAdvanceOnEnterOrForce)
{
    grid->Navigation()->SetAdvanceOnEnter(false);
    grid->GotoCell(1, 1);
    grid->AdvanceAfterEdit(1, 1, false, true, false, false);
    EXPECT_EQ(grid->Col(), 1);
    grid->AdvanceAfterEdit(1, 1, false, true, false, true);
    EXPECT_EQ(grid->Col(), 2);
}

TEST_F(Navigate, EnterInTheEditorStoresAndAdvances)
{
    grid->GotoCell(1, 1);
    QTest::keyClicks(grid, "x");
    QWidget *ed = QApplication::focusWidget();
    ASSERT_NE(ed, grid);
    QTest::keyClick(ed, Qt::Key_Return);
    EXPECT_EQ(grid->Cells(1, 1), "x");
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 1);
}

TEST_F(Navigate, EscapeRestoresTheCellAndFiresKeyPress)
{
    grid->SetCells(1, 1, "old");
    grid->GotoCell(1, 1);
    QList<int> pressed;
    grid->OnKeyPress = [&](QObject *, QChar &k) { pressed << k.unicode(); };
    QTest::keyClicks(grid, "new");
    QWidget *ed = QApplication::focusWidget();
    ASSERT_NE(ed, grid);
    pressed.clear();
    QTest::keyClick(ed, Qt::Key_Escape);
    EXPECT_EQ(grid->Cells(1, 1), "old");
    EXPECT_TRUE(pressed.contains(27));
}

TEST_F(Navigate, IncrementalSearchFollowsTheTypedText)
{
    grid->SetOptions(grid->Options() - TGridOption::goEditing);
    grid->SetRowCount(5);
    grid->Navigation()->SetAutoGotoWhenSorted(true);
    grid->Navigation()->SetAutoGotoIncremental(true);
    grid->SortSettings()->SetColumn(1);
    const QStringList names{"Anna", "Bert", "<b>bob</b>", "Carl"};
    for (int r = 0; r < names.size(); ++r)
        grid->SetCells(1, r + 1, names[r]);
    struct Step
    {
        Qt::Key key;
        int row;
        QString search;
    };
    const Step steps[] = {
        {Qt::Key_B, 2, "b"},
        {Qt::Key_O, 3, "bo"},
        {Qt::Key_Backspace, 2, "b"},
        {Qt::Key_Z, 2, ""},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.search.toStdString());
        QTest::keyClick(grid, s.key);
        EXPECT_EQ(grid->Row(), s.row);
        EXPECT_EQ(grid->SearchInc(), s.search);
    }
}

TEST_F(Navigate, AlwaysEditOpensTheEditorAfterAnArrowKeyAndClearsTheSearch)
{
    grid->Navigation()->SetAlwaysEdit(true);
    grid->SetSearchInc("ab");
    grid->GotoCell(1, 1);
    ASSERT_FALSE(grid->EditMode());
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_TRUE(grid->EditMode());
    EXPECT_NE(QApplication::focusWidget(), grid);
    EXPECT_EQ(grid->SearchInc(), "");
}

TEST_F(Navigate, FocusCellControlWithoutControlFocusesTheGrid)
{
    grid->SetCells(1, 1, "plain text");
    grid->clearFocus();
    grid->FocusCellControl(1, 1, QString());
    EXPECT_TRUE(grid->hasFocus());
}

} // namespace
