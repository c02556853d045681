// The combo cell editor on a shown grid: the keys it keeps and the keys that end editing, lookup
// completion, item history, the wheel, refused validation, the character stage's events and the
// list width.
#include "grid/common/GridWindow.h"
#include "grid/editing/QrlGridEditors.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

using plat::TGridOption;

void keysOf(QWidget *w, const std::vector<Qt::Key> &list)
{
    for (Qt::Key k : list)
        QTest::keyClick(w, k);
}

struct TChange
{
    int col;
    int row;
    int index;
    QString text;
    bool operator==(const TChange &) const = default;
};

std::ostream &operator<<(std::ostream &os, const TChange &c)
{
    return os << "(" << c.col << ", " << c.row << ", " << c.index << ", " << c.text.toStdString()
              << ")";
}

// A 5 x 5 grid; column 2 is edited with a drop-down list, column 3 with an editable combo.
class ComboEditor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid->SetColCount(5);
        grid->SetRowCount(5);
        grid->SetOptions(grid->Options() + TGridOption::goEditing);
        grid->OnGetEditorType = [](QObject *, int ACol, int, TEditorType &AEditor) {
            if (ACol == 2)
                AEditor = TEditorType::edComboList;
            else if (ACol == 3)
                AEditor = TEditorType::edComboEdit;
        };
        grid->OnGetEditorProp = [this](QObject *, int, int, TEditLink *) {
            grid->ClearComboString();
            for (const QString &s : items)
                grid->AddComboString(s);
        };
        grid->OnComboChange = [this](QObject *, int c, int r, int i, const QString &s) {
            changes.push_back({c, r, i, s});
        };
        for (int r = 1; r < 5; ++r) {
            grid->SetCellEx(2, r, QStringLiteral("green"));
            grid->SetCellEx(3, r, QStringLiteral("abc"));
        }
        ASSERT_TRUE(shown.showActive({460, 220}));
    }

    void TearDown() override
    {
        grid->OnComboChange = nullptr;
        grid->OnCellValidate = nullptr;
        grid->OnKeyPress = nullptr;
        grid->OnGetEditorProp = nullptr;
        shown.close();
    }

    // Opens the editor with F2, as the user does.
    TGridCombo *open(int col, int row)
    {
        grid->FocusCell(col, row);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_F2);
        QCoreApplication::processEvents();
        return grid->EditCombo();
    }

    void click(int col, int row)
    {
        const TRect r = grid->CellRect(col, row);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
        QCoreApplication::processEvents();
    }

    void keys(TGridCombo *combo, const std::vector<Qt::Key> &list)
    {
        for (Qt::Key k : list)
            QTest::keyClick(combo, k);
    }

    void wheel(TGridCombo *combo, int delta)
    {
        QWheelEvent e(QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &e);
    }

    gridtest::GridWindow<TQrlStringGrid> shown;
    TQrlStringGrid *grid = shown.open();
    QStringList items{QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue")};
    std::vector<TChange> changes;
};

struct TKeyCase
{
    const char *name;
    std::vector<Qt::Key> keys;
    bool open;
    int col;
    int row;
    QString cell;
};

TEST_F(ComboEditor, ListCellKeys)
{
    const TKeyCase cases[] = {
        {"Down changes the item", {Qt::Key_Down}, true, 2, 2, QStringLiteral("green")},
        {"Up changes the item", {Qt::Key_Up}, true, 2, 2, QStringLiteral("green")},
        {"Left ends and moves", {Qt::Key_Down, Qt::Key_Left}, false, 1, 2, QStringLiteral("blue")},
        {"Right ends and moves", {Qt::Key_Right}, false, 3, 2, QStringLiteral("green")},
        {"Enter commits", {Qt::Key_Down, Qt::Key_Return}, false, 2, 2, QStringLiteral("blue")},
        {"Escape restores", {Qt::Key_Up, Qt::Key_Escape}, false, 2, 2, QStringLiteral("green")},
    };
    for (const TKeyCase &c : cases) {
        grid->SetCellEx(2, 2, QStringLiteral("green"));
        TGridCombo *combo = open(2, 2);
        ASSERT_TRUE(combo->isVisible()) << c.name;
        keys(combo, c.keys);
        EXPECT_EQ(combo->isVisible(), c.open) << c.name;
        EXPECT_EQ(grid->EditMode(), c.open) << c.name;
        EXPECT_EQ(QPoint(grid->Col(), grid->Row()), QPoint(c.col, c.row)) << c.name;
        EXPECT_EQ(grid->GetCellEx(2, 2), c.cell) << c.name;
        if (c.open) {
            EXPECT_NE(combo->ItemIndex(), 1) << c.name;
        }
        grid->HideInplaceEdit();
    }
}

TEST_F(ComboEditor, OpenListTakesArrowsAndEndsOnEnterOrEscape)
{
    const std::pair<Qt::Key, QString> cases[] = {{Qt::Key_Return, QStringLiteral("blue")},
                                                 {Qt::Key_Escape, QStringLiteral("green")}};
    for (const auto &[last, cell] : cases) {
        grid->SetCellEx(2, 2, QStringLiteral("green"));
        TGridCombo *combo = open(2, 2);
        combo->showPopup();
        ASSERT_TRUE(combo->DroppedDown());
        QTest::keyClick(combo->view(), Qt::Key_Down);
        EXPECT_TRUE(combo->isVisible());
        QTest::keyClick(combo->view(), last);
        EXPECT_FALSE(combo->DroppedDown());
        EXPECT_FALSE(combo->isVisible());
        EXPECT_FALSE(grid->EditMode());
        EXPECT_EQ(grid->GetCellEx(2, 2), cell);
        EXPECT_EQ(QPoint(grid->Col(), grid->Row()), QPoint(2, 2));
    }
}

TEST_F(ComboEditor, ListCellWithoutComboGetUpDownMovesTheCursor)
{
    grid->Navigation()->SetComboGetUpDown(false);
    TGridCombo *combo = open(2, 2);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_FALSE(combo->isVisible());
    EXPECT_EQ(QPoint(grid->Col(), grid->Row()), QPoint(2, 3));
    EXPECT_EQ(grid->GetCellEx(2, 2), QStringLiteral("green"));
}

TEST_F(ComboEditor, EditCellKeys)
{
    const TKeyCase cases[] = {
        {"Up commits and moves",
         {Qt::Key_End, Qt::Key_Q, Qt::Key_Up},
         false,
         3,
         1,
         QStringLiteral("abcq")},
        {"Down commits and moves",
         {Qt::Key_End, Qt::Key_Q, Qt::Key_Down},
         false,
         3,
         3,
         QStringLiteral("abcq")},
        {"Home and End stay", {Qt::Key_Home, Qt::Key_End}, true, 3, 2, QStringLiteral("abc")},
        {"Left and Right stay", {Qt::Key_Left, Qt::Key_Right}, true, 3, 2, QStringLiteral("abc")},
        {"Escape restores",
         {Qt::Key_End, Qt::Key_Q, Qt::Key_Escape},
         false,
         3,
         2,
         QStringLiteral("abc")},
        {"Enter commits",
         {Qt::Key_End, Qt::Key_Q, Qt::Key_Return},
         false,
         3,
         2,
         QStringLiteral("abcq")},
    };
    for (const TKeyCase &c : cases) {
        grid->SetCellEx(3, 2, QStringLiteral("abc"));
        TGridCombo *combo = open(3, 2);
        ASSERT_TRUE(combo->isVisible()) << c.name;
        keys(combo, c.keys);
        EXPECT_EQ(combo->isVisible(), c.open) << c.name;
        EXPECT_EQ(QPoint(grid->Col(), grid->Row()), QPoint(c.col, c.row)) << c.name;
        EXPECT_EQ(grid->GetCellEx(3, 2), c.cell) << c.name;
        grid->HideInplaceEdit();
    }
}

TEST_F(ComboEditor, CursorWalkLeavesAtTheTextsEdges)
{
    grid->Navigation()->SetCursorWalkEditor(true);
    struct Case
    {
        Qt::Key caret;
        Qt::Key walk;
        int col;
    };
    const Case cases[] = {{Qt::Key_Home, Qt::Key_Left, 2}, {Qt::Key_End, Qt::Key_Right, 4}};
    for (const Case &c : cases) {
        grid->SetCellEx(3, 2, QStringLiteral("abc"));
        TGridCombo *combo = open(3, 2);
        QTest::keyClick(combo, c.caret);
        QTest::keyClicks(combo, QStringLiteral("x"));
        QTest::keyClick(combo, c.caret);
        QTest::keyClick(combo, c.walk);
        EXPECT_EQ(QPoint(grid->Col(), grid->Row()), QPoint(c.col, 2)) << c.col;
        EXPECT_NE(grid->GetCellEx(3, 2), QStringLiteral("abc")) << "the text was stored";
        EXPECT_TRUE(grid->EditMode()) << "the editor opens on the new cell";
        grid->HideInplaceEdit();
    }
}

TEST_F(ComboEditor, EndPutsTheCaretAtTheEnd)
{
    TGridCombo *combo = open(3, 2);
    QTest::keyClick(combo, Qt::Key_Home);
    ASSERT_EQ(combo->lineEdit()->cursorPosition(), 0);
    QTest::keyClick(combo, Qt::Key_End);
    EXPECT_TRUE(combo->isVisible());
    EXPECT_EQ(combo->lineEdit()->cursorPosition(), 3);
}

TEST_F(ComboEditor, LookupCompletesFromItemsThenLookupItems)
{
    items = {QStringLiteral("red"), QStringLiteral("Abcd"), QStringLiteral("blue")};
    grid->SetLookup(true);
    QStringList extra{QStringLiteral("zeta")};
    grid->SetLookupItems(&extra);
    struct Case
    {
        bool caseSensitive;
        QString typed;
        QString text;
        QString selected;
        int index;
    };
    const Case cases[] = {
        {false, QStringLiteral("ab"), QStringLiteral("abcd"), QStringLiteral("cd"), 1},
        {false, QStringLiteral("z"), QStringLiteral("zeta"), QStringLiteral("eta"), -1},
        {true, QStringLiteral("ab"), QStringLiteral("ab"), QString(), -1},
        {true, QStringLiteral("Ab"), QStringLiteral("Abcd"), QStringLiteral("cd"), 1},
    };
    for (const Case &c : cases) {
        grid->SetLookupCaseSensitive(c.caseSensitive);
        grid->SetCellEx(3, 2, QString());
        TGridCombo *combo = open(3, 2);
        QTest::keyClicks(combo, c.typed);
        EXPECT_EQ(combo->Text(), c.text) << c.typed.toStdString();
        EXPECT_EQ(combo->lineEdit()->selectedText(), c.selected) << c.typed.toStdString();
        EXPECT_EQ(combo->ItemIndex(), c.index) << c.typed.toStdString();
        grid->HideInplaceEdit();
    }
}

TEST_F(ComboEditor, BackspaceDoesNotCompleteAgain)
{
    items = {QStringLiteral("Abcd")};
    grid->SetLookup(true);
    grid->SetCellEx(3, 2, QString());
    TGridCombo *combo = open(3, 2);
    QTest::keyClicks(combo, QStringLiteral("ab"));
    ASSERT_EQ(combo->Text(), QStringLiteral("abcd"));
    QTest::keyClick(combo, Qt::Key_Backspace);
    EXPECT_EQ(combo->Text(), QStringLiteral("ab"));
    QTest::keyClick(combo, Qt::Key_Backspace);
    EXPECT_EQ(combo->Text(), QStringLiteral("a"));
    EXPECT_FALSE(combo->lineEdit()->hasSelectedText());
}

TEST_F(ComboEditor, LookupHistoryAddsOnlyNewNonEmptyText)
{
    grid->SetLookupHistory(true);
    const std::pair<QString, int> cases[] = {
        {QStringLiteral("teal"), 4}, {QStringLiteral("red"), 3}, {QString(), 3}};
    for (const auto &[typed, count] : cases) {
        grid->SetCellEx(3, 2, QString());
        TGridCombo *combo = open(3, 2);
        QTest::keyClicks(combo, typed);
        QTest::keyClick(combo, Qt::Key_Return);
        ASSERT_FALSE(combo->isVisible()) << typed.toStdString();
        EXPECT_EQ(combo->count(), count) << typed.toStdString();
        EXPECT_EQ(combo->IndexOfItem(typed) >= 0, !typed.isEmpty()) << typed.toStdString();
    }
}

TEST_F(ComboEditor, WheelStepsAndStopsAtTheEnds)
{
    struct Case
    {
        QString cell;
        int delta;
        int index;
    };
    const Case cases[] = {
        {QStringLiteral("red"), -120, 1},
        {QStringLiteral("blue"), -120, 2},
        {QStringLiteral("green"), 120, 0},
        {QStringLiteral("red"), 120, 0},
    };
    grid->HideColumn(1); // real column 2 shows at display column 1
    std::vector<TChange> edits;
    grid->OnEditChange = [&](QObject *, int c, int r, const QString &v) {
        edits.push_back({c, r, -1, v});
    };
    for (const Case &c : cases) {
        changes.clear();
        edits.clear();
        grid->SetCellEx(2, 2, c.cell);
        TGridCombo *combo = open(1, 2);
        wheel(combo, c.delta);
        EXPECT_EQ(combo->ItemIndex(), c.index) << c.cell.toStdString() << c.delta;
        const QString s = items[c.index];
        EXPECT_EQ(changes, std::vector<TChange>{(TChange{2, 2, c.index, s})});
        EXPECT_EQ(edits, std::vector<TChange>{(TChange{2, 2, -1, s})});
        grid->HideInplaceEdit();
    }
    grid->OnEditChange = nullptr;
}

TEST_F(ComboEditor, RefusedValidationKeepsTheComboOpenOnTheValidatedText)
{
    struct Case
    {
        QString corrected;
        QString shown;
    };
    // Left unchanged, the validation hands back the old text; corrected, its correction.
    const Case cases[] = {{QString(), QStringLiteral("abc")},
                          {QStringLiteral("fixed"), QStringLiteral("fixed")}};
    for (const Case &c : cases) {
        grid->OnCellValidate = [&](QObject *, int, int, QString &Value, bool &Valid) {
            if (!c.corrected.isEmpty())
                Value = c.corrected;
            Valid = false;
        };
        grid->SetCellEx(3, 2, QStringLiteral("abc"));
        TGridCombo *combo = open(3, 2);
        QTest::keyClick(combo, Qt::Key_End);
        QTest::keyClicks(combo, QStringLiteral("x"));
        QTest::keyClick(combo, Qt::Key_Down);
        EXPECT_TRUE(combo->isVisible()) << c.shown.toStdString();
        EXPECT_TRUE(grid->EditMode()) << c.shown.toStdString();
        EXPECT_EQ(combo->Text(), c.shown);
        EXPECT_EQ(combo->Text(), grid->NewCellText());
        EXPECT_EQ(combo->lineEdit()->selectedText(), c.shown) << "the whole text is selected";
        EXPECT_EQ(QPoint(grid->Col(), grid->Row()), QPoint(3, 2));
        grid->OnCellValidate = nullptr;
        grid->HideInplaceEdit();
    }
}

TEST_F(ComboEditor, TabIsTheControlsOnlyWhenTheGridTakesIt)
{
    TGridCombo *combo = open(3, 2);
    EXPECT_TRUE(combo->WantsSpecialKey(Qt::Key_Return));
    EXPECT_TRUE(combo->WantsSpecialKey(Qt::Key_Escape));
    EXPECT_FALSE(combo->WantsSpecialKey(Qt::Key_Tab));
    grid->SetOptions(grid->Options() + TGridOption::goTabs);
    EXPECT_TRUE(combo->WantsSpecialKey(Qt::Key_Tab));

    QTest::keyClick(combo, Qt::Key_End);
    QTest::keyClicks(combo, QStringLiteral("t"));
    QTest::keyClick(combo, Qt::Key_Tab);
    EXPECT_EQ(grid->GetCellEx(3, 2), QStringLiteral("abct"));
    EXPECT_EQ(QPoint(grid->Col(), grid->Row()), QPoint(4, 2));
}

TEST_F(ComboEditor, KeyPressReportsTheComboAndReturnKey)
{
    TGridCombo *combo = open(3, 2);
    std::vector<std::pair<QObject *, QChar>> presses;
    grid->OnKeyPress = [&](QObject *sender, QChar &Key) { presses.push_back({sender, Key}); };
    int returns = 0;
    combo->OnReturnKey = [&](QObject *sender) {
        EXPECT_EQ(sender, combo);
        ++returns;
    };
    QTest::keyClick(combo, Qt::Key_K);
    QTest::keyClick(combo, Qt::Key_Return);
    const std::vector<std::pair<QObject *, QChar>> expected = {{combo, QChar(u'k')},
                                                               {combo, QChar(13)}};
    EXPECT_EQ(presses, expected);
    EXPECT_EQ(returns, 1);
    combo->OnReturnKey = nullptr;
}

TEST_F(ComboEditor, DropDownWidthFitsTheWidestItem)
{
    TGridCombo *combo = open(3, 2);
    TCanvas measure;
    measure.SetFont(grid->Font());
    const QString wide(60, QChar(u'W'));
    const int tw = measure.TextWidth(wide);
    ASSERT_GT(tw, combo->width());
    combo->AddItem(wide, nullptr);
    combo->SizeDropDownWidth();
    EXPECT_EQ(combo->DroppedWidth(), tw + 8);
    combo->setMaxVisibleItems(2);
    combo->SizeDropDownWidth();
    EXPECT_EQ(combo->DroppedWidth(), tw + 25) << "a list that scrolls leaves room for its bar";
}

// After an editable combo was edited, the shared combo turns into a drop-down list for the next
// list cell: that editor stays open, keeps the focus and leaves a text that is none of its items
// as it is, whether F2 or a second click opened it.
TEST_F(ComboEditor, ListAfterAnEditedEditableComboStaysOpen)
{
    // The same letter both times: each list starts its letter search afresh.
    for (const bool byClick : {false, true}) {
        SCOPED_TRACE(byClick ? "second click" : "F2");
        grid->SetCellEx(2, 3, QStringLiteral("violet"));
        TGridCombo *combo = open(3, 2);
        ASSERT_TRUE(combo->isEditable());
        QTest::keyClicks(combo, QStringLiteral("x"));
        QTest::keyClick(combo, Qt::Key_Return);
        ASSERT_FALSE(combo->isVisible());
        ASSERT_EQ(grid->GetCellEx(3, 2), QStringLiteral("x"));
        changes.clear();

        if (byClick) {
            click(2, 3);
            click(2, 3);
        } else {
            grid->FocusCell(2, 3);
            QTest::keyClick(grid, Qt::Key_F2);
        }
        // The platform's deferred deletions run in the event loop.
        QTest::qWait(50);
        EXPECT_TRUE(combo->isVisible());
        EXPECT_FALSE(combo->isEditable());
        EXPECT_TRUE(grid->EditMode());
        EXPECT_TRUE(combo->hasFocus());
        EXPECT_EQ(grid->GetCellEx(2, 3), QStringLiteral("violet"));
        EXPECT_TRUE(changes.empty());

        // The list is working: a typed letter picks its item, reported once.
        QTest::keyClick(combo, Qt::Key_B);
        QTest::keyClick(combo, Qt::Key_Return);
        EXPECT_EQ(grid->GetCellEx(2, 3), QStringLiteral("blue"));
        EXPECT_EQ(changes, (std::vector<TChange>{{2, 3, 2, QStringLiteral("blue")}}));
    }
}

// Opening a list on a text that is none of its items (or on an empty cell) and leaving it
// changes nothing and reports nothing, however it is left; only a pick or a typed item does.
TEST_F(ComboEditor, OpeningAListChangesNothingUntilAnItemIsPicked)
{
    auto *next = new QLineEdit(shown.window());
    next->setGeometry(0, 225, 100, 14);
    next->show();
    struct Case
    {
        const char *name;
        std::function<void(TGridCombo *)> leave;
        QString cell; // empty: the cell keeps its text
    };
    const Case cases[] = {
        {"Escape", [](TGridCombo *c) { QTest::keyClick(c, Qt::Key_Escape); }, {}},
        {"Enter", [](TGridCombo *c) { QTest::keyClick(c, Qt::Key_Return); }, {}},
        {"Tab", [](TGridCombo *c) { QTest::keyClick(c, Qt::Key_Tab); }, {}},
        {"Right", [](TGridCombo *c) { QTest::keyClick(c, Qt::Key_Right); }, {}},
        {"click elsewhere", [this](TGridCombo *) { click(1, 1); }, {}},
        {"list opened and closed with Enter",
         [](TGridCombo *c) {
             c->showPopup();
             QTest::keyClick(c->view(), Qt::Key_Return);
         },
         {}},
        {"list opened and closed with Escape",
         [](TGridCombo *c) {
             c->showPopup();
             QTest::keyClick(c->view(), Qt::Key_Escape);
         },
         {}},
        {"picked with Down",
         [](TGridCombo *c) {
             keysOf(c, {Qt::Key_Down, Qt::Key_Return});
         },
         QStringLiteral("red")},
        {"picked in the list",
         [](TGridCombo *c) {
             c->showPopup();
             QTest::keyClick(c->view(), Qt::Key_Up);
             QTest::keyClick(c->view(), Qt::Key_Return);
         },
         QStringLiteral("blue")},
        {"typed",
         [](TGridCombo *c) {
             keysOf(c, {Qt::Key_G, Qt::Key_Return});
         },
         QStringLiteral("green")},
    };
    for (const QString &text : {QStringLiteral("violet"), QString()}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << " on \"" << text.toStdString() << "\"");
            grid->SetCellEx(2, 2, text);
            changes.clear();
            TGridCombo *combo = open(2, 2);
            ASSERT_TRUE(combo->isVisible());
            EXPECT_EQ(combo->ItemIndex(), -1);
            c.leave(combo);
            QCoreApplication::processEvents();
            if (combo->isVisible())
                grid->HideInplaceEdit();
            EXPECT_EQ(grid->GetCellEx(2, 2), c.cell.isEmpty() ? text : c.cell);
            if (c.cell.isEmpty()) {
                EXPECT_TRUE(changes.empty()) << changes.size();
            } else {
                EXPECT_EQ(changes,
                          (std::vector<TChange>{{2, 2, int(items.indexOf(c.cell)), c.cell}}));
            }
        }
    }
}

// The list shows the grid's drop-down count of items and scrolls the rest.
TEST_F(ComboEditor, DropDownListShowsDropDownCountItems)
{
    items.clear();
    for (int i = 0; i < 300; ++i)
        items << QString::number(i);
    grid->SetCellEx(2, 2, QStringLiteral("150"));
    for (const int count : {8, 3}) {
        SCOPED_TRACE(count);
        grid->ControlLook()->SetDropDownCount(count);
        TGridCombo *combo = open(2, 2);
        combo->showPopup();
        ASSERT_TRUE(combo->view()->isVisible());
        const int rowHeight = combo->view()->sizeHintForRow(0);
        ASSERT_GT(rowHeight, 0);
        const int shown = combo->view()->viewport()->height() / rowHeight;
        EXPECT_GE(shown, count);
        EXPECT_LE(shown, count + 1);
        EXPECT_LE(combo->view()->window()->height(), rowHeight * (count + 1) + 12);
        combo->hidePopup();
        grid->HideInplaceEdit();
    }
}

// Tab where the grid does not take it: the combo's value goes into the cell and the focus goes
// on to the window's next control.
TEST_F(ComboEditor, TabLeavesTheGridForTheNextControl)
{
    auto *next = new QLineEdit(shown.window());
    next->setGeometry(0, 225, 100, 14);
    next->show();
    for (const int col : {2, 3}) {
        SCOPED_TRACE(col);
        TGridCombo *combo = open(col, 2);
        QTest::keyClick(combo, Qt::Key_End);
        QTest::keyClicks(combo, col == 2 ? QStringLiteral("r") : QStringLiteral("t"));
        QTest::keyClick(combo, Qt::Key_Tab);
        EXPECT_FALSE(combo->isVisible());
        EXPECT_FALSE(grid->EditMode());
        EXPECT_EQ(QApplication::focusWidget(), next);
        EXPECT_EQ(grid->GetCellEx(col, 2),
                  col == 2 ? QStringLiteral("red") : QStringLiteral("abct"));
        EXPECT_EQ(QPoint(grid->Col(), grid->Row()), QPoint(col, 2));
        grid->setFocus();
    }
}

} // namespace
