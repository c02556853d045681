// The combo editor: its items, how the grid opens and commits it, and the combo events its
// user actions fire, in their order.
#include "grid/common/GridWindow.h"
#include "grid/editing/QrlGridEditors.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGrid_p.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using plat::TGridOption;

struct TComboCall
{
    int col;
    int row;
    int index;
    QString text;
    bool operator==(const TComboCall &) const = default;
};

std::ostream &operator<<(std::ostream &os, const TComboCall &c)
{
    return os << "(" << c.col << ", " << c.row << ", " << c.index << ", " << c.text.toStdString()
              << ")";
}

// Real column 2 is a drop-down list, real column 3 an editable combo; both offer the same items.
class ComboGrid : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid.SetColCount(4);
        grid.SetRowCount(4);
        grid.SetOptions(grid.Options() + TGridOption::goEditing);
        grid.OnGetEditorType = [](QObject *, int ACol, int, TEditorType &AEditor) {
            if (ACol == 2)
                AEditor = TEditorType::edComboList;
            else if (ACol == 3)
                AEditor = TEditorType::edComboEdit;
        };
        grid.OnGetEditorProp = [this](QObject *, int, int, TEditLink *) {
            grid.ClearComboString();
            grid.AddComboStringObject(QStringLiteral("red"), &objects[0]);
            grid.AddComboStringObject(QStringLiteral("green"), &objects[1]);
            grid.AddComboStringObject(QStringLiteral("blue"), &objects[2]);
        };
        grid.OnComboChange = [this](QObject *, int c, int r, int i, const QString &s) {
            changes.push_back({c, r, i, s});
        };
        grid.OnComboObjectChange = [this](QObject *, int c, int r, int i, const QString &s,
                                          QObject *o) {
            objectChanges.push_back({c, r, i, s});
            changedObjects.push_back(o);
        };
        ASSERT_TRUE(shown.showActive({400, 200}));
    }

    // Opens the editor of a cell (display column) through the grid's own road.
    TGridCombo *open(int displayCol, int row)
    {
        grid.FocusCell(displayCol, row);
        grid.ShowInplaceEdit();
        QCoreApplication::processEvents();
        return grid.EditCombo();
    }

    gridtest::GridWindow<TQrlStringGrid> shown;
    TQrlStringGrid &grid = *shown.open();
    std::array<QObject, 3> objects;
    std::vector<TComboCall> changes;
    std::vector<TComboCall> objectChanges;
    std::vector<QObject *> changedObjects;
};

TEST_F(ComboGrid, ItemOperationsReportMissingItemsAndChangeNothing)
{
    grid.AddComboString(QStringLiteral("a"));
    grid.AddComboString(QStringLiteral("b"));
    struct Case
    {
        bool remove;
        QString item;
        bool result;
        int countAfter;
    };
    const Case cases[] = {
        {true, QStringLiteral("x"), false, 2}, {false, QStringLiteral("x"), false, 2},
        {false, QStringLiteral("b"), true, 2}, {true, QStringLiteral("a"), true, 1},
        {true, QStringLiteral("a"), false, 1},
    };
    for (const Case &c : cases) {
        const bool r =
            c.remove ? grid.RemoveComboString(c.item) : grid.SetComboSelectionString(c.item);
        EXPECT_EQ(r, c.result) << c.item.toStdString();
        EXPECT_EQ(grid.GetComboCount(), c.countAfter) << c.item.toStdString();
    }
}

TEST_F(ComboGrid, SetComboIndexOutOfRangeRaisesAndWritesNothing)
{
    grid.SetCellEx(2, 1, QStringLiteral("keep"));
    for (int index : {-1, 3}) {
        EXPECT_THROW(grid.SetComboIndex(2, 1, index), EQrlGridError) << index;
        EXPECT_EQ(grid.GetCellEx(2, 1), QStringLiteral("keep")) << index;
    }
    grid.SetComboIndex(2, 1, 1);
    EXPECT_EQ(grid.GetCellEx(2, 1), QStringLiteral("green"));
    EXPECT_EQ(grid.GetComboIndex(2, 1), 1);
    grid.SetCellEx(2, 1, QStringLiteral("none"));
    EXPECT_EQ(grid.GetComboIndex(2, 1), -1);
}

TEST_F(ComboGrid, PickingAnItemFiresOneChangeWithItsObject)
{
    grid.SetCellEx(2, 1, QStringLiteral("red"));
    TGridCombo *combo = open(2, 1);
    ASSERT_TRUE(combo->isVisible());
    EXPECT_TRUE(changes.empty()) << "a cell text among the items opens without an event";

    QTest::keyClick(combo, Qt::Key_Down);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], (TComboCall{2, 1, 1, QStringLiteral("green")}));
    ASSERT_EQ(objectChanges.size(), 1u);
    EXPECT_EQ(objectChanges[0], changes[0]);
    EXPECT_EQ(changedObjects[0], &objects[1]);

    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_FALSE(combo->isVisible());
    EXPECT_EQ(grid.GetCellEx(2, 1), QStringLiteral("green"));
}

TEST_F(ComboGrid, ListCellOpensOnItsItemOrNoneOrTheComboIdx)
{
    struct Case
    {
        QString text;
        int comboIdx;
        int openIndex;
    };
    const Case cases[] = {
        {QStringLiteral("blue"), -1, 2},
        // Outside the items: nothing selected and nothing reported; the cell keeps its text.
        {QStringLiteral("violet"), -1, -1},
        {QStringLiteral("violet"), 1, 1},
    };
    for (const Case &c : cases) {
        changes.clear();
        changedObjects.clear();
        grid.SetCellEx(2, 1, c.text);
        grid.SetComboSelection(c.comboIdx);
        TGridCombo *combo = open(2, 1);
        EXPECT_EQ(combo->ItemIndex(), c.openIndex) << c.text.toStdString() << c.comboIdx;
        EXPECT_TRUE(changes.empty()) << c.text.toStdString() << c.comboIdx;
        EXPECT_TRUE(changedObjects.empty()) << c.text.toStdString() << c.comboIdx;
        QTest::keyClick(combo, Qt::Key_Escape);
        EXPECT_FALSE(combo->isVisible());
        EXPECT_EQ(grid.GetCellEx(2, 1), c.text) << "Escape leaves the cell as it was";
    }
}

TEST_F(ComboGrid, TypingFiresTwiceWithRealThenDisplayColumn)
{
    grid.HideColumn(1); // real column 3 now shows at display column 2
    grid.SetCellEx(3, 1, QString());
    TGridCombo *combo = open(2, 1);
    ASSERT_TRUE(combo->isVisible());
    ASSERT_EQ(combo->Style(), TComboStyle::csDropDown);

    QTest::keyClick(combo, Qt::Key_X);
    const std::vector<TComboCall> expected = {{3, 1, -1, QStringLiteral("x")},
                                              {2, 1, -1, QStringLiteral("x")}};
    EXPECT_EQ(changes, expected);
    EXPECT_EQ(objectChanges, std::vector<TComboCall>{expected[0]});
    EXPECT_EQ(changedObjects, std::vector<QObject *>{nullptr});
}

TEST_F(ComboGrid, DirectComboCloseWithNoItemSelectedCommitsTheText)
{
    grid.MouseActions()->SetDirectComboClose(true);
    std::vector<std::pair<int, int>> closeUps;
    grid.OnComboCloseUp = [&](QObject *, int ARow, int ACol) { closeUps.push_back({ARow, ACol}); };
    TGridCombo *combo = open(3, 2);
    QTest::keyClicks(combo, QStringLiteral("teal"));
    changes.clear();
    objectChanges.clear();
    changedObjects.clear();

    combo->showPopup();
    combo->hidePopup();
    QCoreApplication::processEvents();

    EXPECT_EQ(changes, std::vector<TComboCall>{(TComboCall{3, 2, -1, QStringLiteral("teal")})});
    EXPECT_EQ(changedObjects, std::vector<QObject *>{nullptr});
    EXPECT_EQ(closeUps, (std::vector<std::pair<int, int>>{{2, 3}}));
    EXPECT_FALSE(combo->isVisible());
    EXPECT_EQ(grid.GetCellEx(3, 2), QStringLiteral("teal"));
}

TEST_F(ComboGrid, CommittingStoresOnceAndEndsTheEdit)
{
    int done = 0;
    grid.OnEditingDone = [&](QObject *) { ++done; };
    TGridCombo *combo = open(3, 1);
    QTest::keyClicks(combo, QStringLiteral("ab"));
    grid.HideInplaceEdit();
    EXPECT_EQ(grid.GetCellEx(3, 1), QStringLiteral("ab"));
    EXPECT_FALSE(grid.EditMode());
    EXPECT_EQ(done, 1);

    grid.SetCellEx(3, 1, QStringLiteral("later"));
    grid.ApplyEditorValue(3, 1);
    EXPECT_EQ(grid.GetCellEx(3, 1), QStringLiteral("later")) << "a second commit stores nothing";
    EXPECT_EQ(done, 1);
}

TEST_F(ComboGrid, TheCharacterThatOpensTheEditorArrivesInIt)
{
    grid.SetStartEditChar(u'q');
    TGridCombo *combo = open(3, 1);
    ASSERT_TRUE(combo->isVisible());
    EXPECT_EQ(combo->Text(), QStringLiteral("q"));
}

TEST_F(ComboGrid, DropDownButtonsReportTheCurrentCell)
{
    grid.FocusCell(2, 3);
    std::vector<TComboCall> clicks;
    grid.OnDropDownHeaderButtonClick = [&](QObject *, int c, int r, int b) {
        clicks.push_back({c, r, b, QStringLiteral("header")});
    };
    grid.OnDropDownFooterButtonClick = [&](QObject *, int c, int r, int b) {
        clicks.push_back({c, r, b, QStringLiteral("footer")});
    };
    grid.DropDownHeaderButtonClick(1);
    grid.DropDownFooterButtonClick(0);
    const std::vector<TComboCall> expected = {{2, 3, 1, QStringLiteral("header")},
                                              {2, 3, 0, QStringLiteral("footer")}};
    EXPECT_EQ(clicks, expected);
}

TEST_F(ComboGrid, LeavingForAnotherControlCommits)
{
    auto *other = new QLineEdit(&grid);
    other->show();
    TGridCombo *combo = open(3, 1);
    QTest::keyClicks(combo, QStringLiteral("cyan"));
    other->setFocus();
    QCoreApplication::processEvents();
    EXPECT_FALSE(combo->isVisible());
    EXPECT_FALSE(grid.EditMode());
    EXPECT_EQ(grid.GetCellEx(3, 1), QStringLiteral("cyan"));
}

} // namespace
