// The grid's keyboard on a shown grid driven with synthesized keys: Space on check boxes and
// radio buttons, Home and End, Enter and F2, typed characters, row insert and delete, the Tab
// walk with its row append, the row append on arrow down, edge wrapping, Ctrl+A, the selection
// report, the clipboard keys' switch and a stretched column following a resize.
#include "grid/common/GridWindow.h"
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

using plat::TGridOption;

// A window holding a 5 x 5 grid (one fixed row and column, cursor on (1, 1)) with editing on.
class Keys : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid->SetColCount(5);
        grid->SetRowCount(5);
        grid->SetWordWrap(false);
        grid->SetOptions(grid->Options() + TGridOption::goEditing);
        ASSERT_TRUE(shown.showActive({460, 220}));
    }

    void TearDown() override
    {
        // Handlers capture locals of a test; an editor closing with the window must not call them.
        grid->OnKeyDown = nullptr;
        grid->OnKeyPress = nullptr;
        grid->OnCanEditCell = nullptr;
        grid->OnAutoAddRow = nullptr;
        shown.close();
    }

    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::keyClick(grid, static_cast<Qt::Key>(k), m);
    }
    void at(int c, int r) { grid->FocusCell(c, r); }
    QPoint cell() const { return {grid->Col(), grid->Row()}; }

    QLineEdit *editor() const
    {
        QWidget *fw = QApplication::focusWidget();
        return fw && fw != grid && grid->isAncestorOf(fw) ? qobject_cast<QLineEdit *>(fw) : nullptr;
    }

    // Cells of the listed display rows (or every row for -1) and columns refuse editing.
    void readOnly(int col, int row)
    {
        grid->OnCanEditCell = [col, row](QObject *, int r, int c, bool &can) {
            if ((col < 0 || c == col) && (row < 0 || r == row))
                can = false;
        };
    }

    void keyDowns()
    {
        keyDownCount = 0;
        grid->OnKeyDown = [this](QObject *, int &, plat::TShiftState) { ++keyDownCount; };
    }

    gridtest::GridWindow<TQrlStringGrid> shown;
    TQrlStringGrid *grid = shown.open();
    int keyDownCount = 0;
};

TEST_F(Keys, SpaceTogglesADataCheckBoxAndReportsTheRealColumn)
{
    // Real column 3 shows at display column 2 while column 1 is hidden.
    grid->AddCheckBoxColumn(3, false, true);
    for (int r = 1; r < 5; ++r)
        grid->SetCells(3, r, "N");
    grid->HideColumn(1);
    std::vector<std::pair<int, bool>> clicks;
    grid->OnCheckBoxClick = [&](QObject *, int c, int r, bool state) {
        EXPECT_EQ(r, 2);
        clicks.push_back({c, state});
    };
    at(2, 2);
    key(Qt::Key_Space);
    EXPECT_EQ(grid->GetCellsEx(3, 2), "Y");
    key(Qt::Key_Space);
    EXPECT_EQ(grid->GetCellsEx(3, 2), "N");
    EXPECT_EQ(clicks, (std::vector<std::pair<int, bool>>{{3, true}, {3, false}}));
    EXPECT_FALSE(editor());

    // A read-only column behaves as a plain cell.
    readOnly(3, -1);
    key(Qt::Key_Space);
    EXPECT_EQ(grid->GetCellsEx(3, 2), "N");
    EXPECT_EQ(clicks.size(), 2u);
    grid->OnCheckBoxClick = nullptr;
}

TEST_F(Keys, SpaceSelectsARadioButton)
{
    grid->AddRadioButtonColumn(2);
    grid->SetRadioButtonState(2, 1, true);
    int reported = -1;
    grid->OnRadioButtonClick = [&](QObject *, int c, int r) { reported = c * 10 + r; };
    at(2, 3);
    key(Qt::Key_Space);
    EXPECT_TRUE(grid->IsRadioButtonChecked(2, 3));
    EXPECT_FALSE(grid->IsRadioButtonChecked(2, 1));
    EXPECT_EQ(reported, 23);
    grid->OnRadioButtonClick = nullptr;
}

struct HomeEndCase
{
    const char *name;
    THomeEndAction action;
    int key;
    Qt::KeyboardModifiers mods;
    int readOnlyCol, readOnlyRow; // -1: every one; both -2: none
    QPoint from, to;
};

TEST_F(Keys, HomeAndEndMoveByTheTable)
{
    using enum THomeEndAction;
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const HomeEndCase cases[] = {
        {"home to first column", heFirstLastColumn, Qt::Key_Home, none, -2, -2, {3, 2}, {1, 2}},
        {"home to first tab-able column",
         heFirstLastColumn,
         Qt::Key_Home,
         none,
         1,
         -1,
         {3, 2},
         {2, 2}},
        {"end to last column", heFirstLastColumn, Qt::Key_End, none, -2, -2, {2, 2}, {4, 2}},
        {"ctrl+home to first row", heFirstLastColumn, Qt::Key_Home, ctrl, -2, -2, {3, 3}, {1, 1}},
        {"ctrl+end by the framework", heFirstLastColumn, Qt::Key_End, ctrl, -2, -2, {2, 2}, {4, 4}},
        {"home in a row without tab-able cell keeps the column",
         heFirstLastColumn,
         Qt::Key_Home,
         none,
         -1,
         2,
         {3, 2},
         {3, 2}},
        {"home to first cell", heFirstLastCell, Qt::Key_Home, none, -2, -2, {3, 3}, {1, 1}},
        {"end to last cell", heFirstLastCell, Qt::Key_End, none, -2, -2, {2, 2}, {4, 4}},
        {"home to first row", heFirstLastRow, Qt::Key_Home, none, -2, -2, {3, 3}, {3, 1}},
        {"end to last row", heFirstLastRow, Qt::Key_End, none, -2, -2, {3, 2}, {3, 4}},
    };
    for (const HomeEndCase &c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetOptions(grid->Options() + TGridOption::goEditing);
        grid->OnCanEditCell = nullptr;
        if (c.readOnlyCol != -2)
            readOnly(c.readOnlyCol, c.readOnlyRow);
        grid->Navigation()->SetHomeEndKey(c.action);
        at(c.from.x(), c.from.y());
        key(c.key, c.mods);
        EXPECT_EQ(cell(), c.to);
    }
}

TEST_F(Keys, CtrlHomeIntoARowWithoutTabableCellKeepsTheColumn)
{
    // Row 1 holds only cells the hook makes fixed; the whole-row cursor may still go there.
    grid->SetOptions(grid->Options() - TGridOption::goEditing + TGridOption::goRowSelect);
    grid->OnIsFixedCell = [](QObject *, int r, int, bool &fixed) { fixed = fixed || r == 1; };
    at(3, 3);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(cell(), QPoint(3, 1));
}

struct EnterCase
{
    const char *name;
    int key;
    bool goEditing;
    bool rangeSelectAndEdit;
    bool readOnly;
    bool opens;
    int keyDowns;
};

TEST_F(Keys, EnterAndF2OpenTheEditorOfAnEditableCellOnly)
{
    const EnterCase cases[] = {
        {"enter", Qt::Key_Return, true, false, false, true, 1},
        {"f2", Qt::Key_F2, true, false, false, true, 1},
        {"enter on a read-only cell", Qt::Key_Return, true, false, true, false, 1},
        {"f2 on a read-only cell", Qt::Key_F2, true, false, true, false, 1},
        {"f2 with range-select editing", Qt::Key_F2, false, true, false, true, 1},
        {"f2 with range-select editing, read-only", Qt::Key_F2, false, true, true, false, 1},
    };
    for (const EnterCase &c : cases) {
        SCOPED_TRACE(c.name);
        grid->setFocus();
        grid->HideInplaceEdit();
        grid->SetOptions(c.goEditing ? grid->Options() + TGridOption::goEditing
                                     : grid->Options() - TGridOption::goEditing);
        grid->MouseActions()->SetRangeSelectAndEdit(c.rangeSelectAndEdit);
        grid->OnCanEditCell = nullptr;
        if (c.readOnly)
            readOnly(-1, -1);
        grid->SetCells(2, 2, "text");
        at(2, 2);
        grid->setFocus();
        keyDowns();
        key(c.key);
        EXPECT_EQ(editor() != nullptr, c.opens);
        if (c.opens) {
            EXPECT_EQ(editor()->text(), "text");
        }
        EXPECT_EQ(keyDownCount, c.keyDowns);
        EXPECT_EQ(grid->Options().Contains(TGridOption::goEditing), c.goEditing || c.opens);
    }
    grid->setFocus();
}

TEST_F(Keys, ATypedCharacterOpensTheEditorWithIt)
{
    QString seen;
    grid->OnKeyPress = [&](QObject *, QChar &ch) {
        seen += ch;
        if (ch == u'x')
            ch = u'y';
    };
    at(2, 2);
    key(Qt::Key_X);
    ASSERT_TRUE(editor());
    EXPECT_EQ(editor()->text(), "y");
    EXPECT_EQ(seen, "x");

    // Without goEditing the character only reaches OnKeyPress.
    grid->setFocus();
    grid->HideInplaceEdit();
    grid->SetOptions(grid->Options() - TGridOption::goEditing);
    seen.clear();
    key(Qt::Key_B);
    EXPECT_FALSE(editor());
    EXPECT_EQ(seen, "b");
}

TEST_F(Keys, InsertUnderAFilterPutsTheRowAtTheRealPositionAndKeepsTheFilter)
{
    for (int r = 1; r < 5; ++r)
        grid->SetCells(1, r, QString::number(r));
    // Real row 2 is filtered away: display row 2 is real row 3.
    grid->HideRow(2);
    grid->Navigation()->SetAllowInsertRow(true);
    bool allow = false;
    std::vector<int> asked, inserted;
    grid->OnCanInsertRow = [&](QObject *, int r, bool &can) {
        asked.push_back(r);
        can = allow;
    };
    grid->OnAutoInsertRow = [&](QObject *, int r) { inserted.push_back(r); };
    at(1, 2);
    key(Qt::Key_Insert);
    EXPECT_EQ(grid->TotalRowCount(), 5);

    allow = true;
    key(Qt::Key_Insert);
    EXPECT_EQ(asked, (std::vector<int>{2, 2}));
    EXPECT_EQ(inserted, std::vector<int>{2});
    EXPECT_EQ(grid->TotalRowCount(), 6);
    EXPECT_EQ(grid->NumHiddenRows(), 1);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Cells(1, 2), "");
    EXPECT_EQ(grid->Cells(1, 3), "3");
    grid->UnHideRowsAll();
    EXPECT_EQ(grid->Cells(1, 2), "2");
    EXPECT_EQ(grid->Cells(1, 3), "");
    EXPECT_EQ(grid->Cells(1, 4), "3");
    grid->OnCanInsertRow = nullptr;
    grid->OnAutoInsertRow = nullptr;
}

TEST_F(Keys, DeleteAsksWithTheRealRowAndRemovesOnlyWhenAllowed)
{
    for (int r = 1; r < 5; ++r)
        grid->SetCells(1, r, QString::number(r));
    grid->HideRow(2);
    grid->Navigation()->SetAllowDeleteRow(true);
    bool allow = false;
    std::vector<int> asked;
    grid->OnCanDeleteRow = [&](QObject *, int r, bool &can) {
        asked.push_back(r);
        can = allow;
    };
    at(1, 2);
    key(Qt::Key_Delete);
    EXPECT_EQ(grid->TotalRowCount(), 5);
    EXPECT_FALSE(grid->GridModified());

    allow = true;
    key(Qt::Key_Delete);
    EXPECT_EQ(asked, (std::vector<int>{3, 3}));
    EXPECT_EQ(grid->TotalRowCount(), 4);
    EXPECT_TRUE(grid->GridModified());
    EXPECT_EQ(grid->NumHiddenRows(), 1);
    EXPECT_EQ(grid->Cells(1, 2), "4");
    grid->OnCanDeleteRow = nullptr;
}

struct TabCase
{
    const char *name;
    bool backward;
    bool advanceInsert;
    int readOnlyCol; // -1: none
    QPoint from, to;
    int rowCount;
    int addedRow; // OnAutoAddRow's row, -1 for none
};

TEST_F(Keys, TabWalksWrapsAndAppends)
{
    const TabCase cases[] = {
        {"next cell", false, false, -1, {1, 1}, {2, 1}, 5, -1},
        {"over a read-only column", false, false, 2, {1, 1}, {3, 1}, 5, -1},
        {"row end to next row", false, false, -1, {4, 1}, {1, 2}, 5, -1},
        {"last cell wraps to the first", false, false, -1, {4, 4}, {1, 1}, 5, -1},
        {"last cell appends a row", false, true, -1, {4, 4}, {1, 5}, 6, 5},
        {"backward", true, false, -1, {3, 2}, {2, 2}, 5, -1},
        {"backward to the previous row", true, false, -1, {1, 2}, {4, 1}, 5, -1},
        {"backward from the first cell to the last", true, false, -1, {1, 1}, {4, 4}, 5, -1},
    };
    grid->SetOptions(grid->Options() + TGridOption::goTabs);
    // The walk opens no editor, so every Tab reaches the grid.
    grid->Navigation()->SetAdvanceAutoEdit(false);
    for (const TabCase &c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetRowCount(5);
        grid->Navigation()->SetAdvanceInsert(c.advanceInsert);
        grid->OnCanEditCell = nullptr;
        if (c.readOnlyCol >= 0)
            readOnly(c.readOnlyCol, -1);
        int added = -1;
        grid->OnAutoAddRow = [&](QObject *, int r) { added = r; };
        at(c.from.x(), c.from.y());
        if (c.backward)
            key(Qt::Key_Backtab, Qt::ShiftModifier);
        else
            key(Qt::Key_Tab);
        EXPECT_EQ(cell(), c.to);
        EXPECT_EQ(grid->RowCount(), c.rowCount);
        EXPECT_EQ(added, c.addedRow);
    }
}

TEST_F(Keys, TabOpensTheEditorOfTheCellItReachesAndGoesOnFromIt)
{
    grid->SetOptions(grid->Options() + TGridOption::goTabs);
    grid->SetCells(2, 1, "two");
    grid->SetCells(3, 1, "three");
    at(1, 1);
    key(Qt::Key_Tab);
    ASSERT_TRUE(editor());
    EXPECT_EQ(editor()->text(), "two");
    QTest::keyClick(editor(), Qt::Key_Tab);
    EXPECT_EQ(cell(), QPoint(3, 1));
    ASSERT_TRUE(editor());
    EXPECT_EQ(editor()->text(), "three");
}

TEST_F(Keys, TabPastTheEndHandsTheKeyOnOrStaysWhenOnKeyDownTakesIt)
{
    grid->Navigation()->SetTabToNextAtEnd(true);
    grid->Navigation()->SetAdvanceAutoEdit(false);
    at(4, 4);
    EXPECT_FALSE(grid->TabToNextCell(false));
    EXPECT_EQ(cell(), QPoint(1, 1));

    grid->OnKeyDown = [](QObject *, int &k, plat::TShiftState) { k = 0; };
    EXPECT_TRUE(grid->TabToNextCell(false));
    EXPECT_EQ(cell(), QPoint(1, 1));
}

TEST_F(Keys, DownOnTheLastRowAppendsOneRowWhenAllowed)
{
    grid->Navigation()->SetAppendOnArrowDown(true);
    bool allow = false;
    std::vector<int> added;
    grid->OnCanAddRow = [&](QObject *, bool &can) { can = allow; };
    grid->OnAutoAddRow = [&](QObject *, int r) { added.push_back(r); };
    at(2, 4);
    key(Qt::Key_Down);
    EXPECT_EQ(grid->RowCount(), 5);
    EXPECT_EQ(cell(), QPoint(2, 4));

    allow = true;
    grid->SetCells(2, 5, "stale");
    key(Qt::Key_Down);
    EXPECT_EQ(grid->RowCount(), 6);
    EXPECT_EQ(cell(), QPoint(2, 5));
    EXPECT_EQ(grid->Cells(2, 5), "");
    EXPECT_EQ(added, std::vector<int>{5});
    grid->OnCanAddRow = nullptr;
}

struct WrapCase
{
    const char *name;
    TCursorAdvance advance;
    int key;
    QPoint from, to;
};

TEST_F(Keys, ArrowsWrapAtTheEdgesBySnakeOrLoop)
{
    using enum TCursorAdvance;
    const WrapCase cases[] = {
        {"default stops", caDefault, Qt::Key_Right, {4, 2}, {4, 2}},
        {"snake right to the next row", caSnake, Qt::Key_Right, {4, 2}, {1, 3}},
        {"loop right stays in the row", caLoop, Qt::Key_Right, {4, 2}, {1, 2}},
        {"snake left to the previous row", caSnake, Qt::Key_Left, {1, 2}, {4, 1}},
        {"loop down to the first row", caLoop, Qt::Key_Down, {2, 4}, {2, 1}},
        {"snake up to the previous column", caSnake, Qt::Key_Up, {2, 1}, {1, 4}},
    };
    grid->SetOptions(grid->Options() - TGridOption::goEditing);
    for (const WrapCase &c : cases) {
        SCOPED_TRACE(c.name);
        grid->Navigation()->SetCursorAdvance(c.advance);
        at(c.from.x(), c.from.y());
        key(c.key);
        EXPECT_EQ(cell(), c.to);
    }
}

TEST_F(Keys, AStretchedColumnFollowsTheGridsWidth)
{
    grid->ColumnSize()->SetStretch(true);
    const int before = grid->ColWidths(4);
    grid->resize(grid->width() + 100, grid->height());
    QApplication::processEvents();
    EXPECT_EQ(grid->ColWidths(4), before + 100);
}

TEST_F(Keys, AnArrowKeyReportsTheNewSelectionOnce)
{
    std::vector<QRect> reported;
    grid->OnSelectionChanged = [&](QObject *, int l, int t, int r, int b) {
        reported.push_back(QRect(QPoint(l, t), QPoint(r, b)));
    };
    at(3, 2);
    key(Qt::Key_Right);
    // At the last column nothing moves, so nothing is reported.
    key(Qt::Key_Right);
    EXPECT_EQ(reported, std::vector<QRect>{QRect(QPoint(4, 2), QPoint(4, 2))});
    grid->OnSelectionChanged = nullptr;
}

TEST_F(Keys, CtrlASelectsEveryNormalCell)
{
    grid->SetOptions(grid->Options() - TGridOption::goEditing + TGridOption::goRangeSelect);
    at(2, 2);
    key(Qt::Key_A, Qt::ControlModifier);
    const plat::TGridRect s = grid->Selection();
    EXPECT_EQ(QRect(QPoint(s.Left, s.Top), QPoint(s.Right, s.Bottom)),
              QRect(QPoint(1, 1), QPoint(4, 4)));
}

TEST_F(Keys, ClipboardKeysActOnlyWhenAllowed)
{
    int copies = 0;
    grid->OnClipboardCopy = [&](QObject *, bool &) { ++copies; };
    at(2, 2);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copies, 0);

    grid->Navigation()->SetAllowClipboardShortCuts(true);
    key(Qt::Key_C, Qt::ControlModifier);
    key(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(copies, 2);
    EXPECT_FALSE(editor());
    grid->OnClipboardCopy = nullptr;
}

} // namespace
