// The text editor over a grid cell, driven with keys on a shown grid: what each editor kind lets
// through, the length limit, pasting, closing and completion.
#include "grid/common/GridWindow.h"
#include "grid/editing/QrlInplaceEdit.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/os/Regional.h"
#include "platform/ui/Beep.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

using enum TEditorType;
using plat::TGridOption;

// A window with the grid (cursor on cell (1, 1)) and a line edit that can take the focus away.
class InplaceEdit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plat::SetBeepHook([this] { ++beeps; });
        other = new QLineEdit(shown.window());
        other->setGeometry(0, 210, 100, 20);
        grid->SetColCount(3);
        grid->SetRowCount(3);
        grid->SetWordWrap(false);
        grid->SetOptions(grid->Options() + TGridOption::goEditing);
        ASSERT_TRUE(shown.showActive({400, 200}, {420, 240}));
    }

    void TearDown() override
    {
        // Closing the window still validates; the tests' handlers are gone by then.
        grid->OnCellValidate = nullptr;
        grid->OnEditChange = nullptr;
        grid->OnClipboardBeforePasteCell = nullptr;
        grid->OnClipboardAfterPasteCell = nullptr;
        plat::SetBeepHook({});
        plat::OverrideRegionalSettings(std::nullopt);
        QApplication::clipboard()->clear();
    }

    // Opens the editor of the current cell with the kind given; the caret goes to the end.
    QWidget *open(TEditorType kind, const QString &text = QString())
    {
        grid->SetCells(grid->Col(), grid->Row(), text);
        // As the grid's key and click handling do when editing starts.
        grid->KeepOldCellValue(grid->Col(), grid->Row());
        grid->SetDefaultEditor(kind);
        grid->ShowInplaceEdit();
        TQrlInplaceEdit *ed = grid->NormalEdit();
        if (!ed || !ed->Widget()->isVisible())
            return nullptr;
        QTest::keyClick(ed->Widget(), Qt::Key_End);
        beeps = 0;
        return ed->Widget();
    }

    QString editorText() const { return grid->NormalEdit()->Text(); }

    gridtest::GridWindow<TQrlStringGrid> shown;
    TQrlStringGrid *grid = shown.open();
    QLineEdit *other = nullptr;
    int beeps = 0;
};

struct FilterCase
{
    TEditorType kind;
    QString initial;
    QString typed;
    QString expected;
    int beeps;
};

// The same table runs with "." and with "," as the decimal separator; a typed separator is
// written with 'D' (decimal) and 'T' (thousand) and replaced before the run.
TEST_F(InplaceEdit, CharacterFilterPerKindInBothSeparatorSettings)
{
    const FilterCase cases[] = {
        {edNormal, "", "a-1D T", "a-1D T", 0},
        {edNumeric, "", "-1-2a", "-12", 2},
        {edNumeric, "5", "-", "5", 1},
        {edPositiveNumeric, "", "1-D2", "12", 2},
        {edFloat, "", "-1D2D3T4", "-1D234", 0},
        {edFloat, "1", "-x", "1", 1},
        {edPositiveFloat, "", "-1D5", "1D5", 0},
        {edUpperCase, "", "abC", "ABC", 0},
        {edCapital, "", "ab", "AB", 0},
        {edLowerCase, "", "AbC", "abc", 0},
        {edMixedCase, "", "big mAC", "Big Mac", 0},
        {edValidChars, "", "abxc", "abc", 1},
        {edPassword, "", "s3cret", "s3cret", 0},
    };
    const std::pair<QChar, QChar> settings[] = {{u'.', u','}, {u',', u'.'}};
    for (const auto &[dec, thousand] : settings) {
        plat::RegionalSettings rs;
        rs.decimal = QString(dec);
        rs.thousandSeparator = thousand;
        plat::OverrideRegionalSettings(rs);
        grid->SetValidChars(QStringLiteral("abc"));
        for (const FilterCase &c : cases) {
            auto sep = [&](QString s) { return s.replace(u'D', dec).replace(u'T', thousand); };
            SCOPED_TRACE(QStringLiteral("kind %1, typed '%2', decimal '%3'")
                             .arg(int(c.kind))
                             .arg(sep(c.typed))
                             .arg(dec)
                             .toStdString());
            QWidget *w = open(c.kind, c.initial);
            ASSERT_NE(w, nullptr);
            QTest::keyClicks(w, sep(c.typed));
            EXPECT_EQ(editorText(), sep(c.expected));
            EXPECT_EQ(beeps, c.beeps);
            grid->HideInplaceEdit();
        }
    }
}

TEST_F(InplaceEdit, KeypadPointTypesTheDecimalSeparatorWithExcelStyle)
{
    plat::RegionalSettings rs;
    rs.decimal = QStringLiteral(",");
    rs.thousandSeparator = u'.';
    plat::OverrideRegionalSettings(rs);
    for (const bool excel : {false, true}) {
        grid->SetExcelStyleDecimalSeparator(excel);
        QWidget *w = open(edFloat, "1");
        ASSERT_NE(w, nullptr);
        QTest::keyClick(w, Qt::Key_Period, Qt::KeypadModifier);
        EXPECT_EQ(editorText(), excel ? "1," : "1");
        grid->HideInplaceEdit();
    }
}

TEST_F(InplaceEdit, LengthLimitDropsCharactersButNotBackspaceOrASelection)
{
    grid->SetMaxEditLength(5);
    QWidget *w = open(edNormal);
    ASSERT_NE(w, nullptr);
    QTest::keyClicks(w, "abcdefg");
    EXPECT_EQ(editorText(), "abcde");
    QTest::keyClick(w, Qt::Key_Backspace);
    QTest::keyClicks(w, "xy");
    EXPECT_EQ(editorText(), "abcdx");
    QTest::keyClick(w, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClicks(w, "z");
    EXPECT_EQ(editorText(), "abcdz");
    EXPECT_EQ(beeps, 0);
}

struct PasteCase
{
    TEditorType kind;
    QString clip;
    QString expected;
};

TEST_F(InplaceEdit, PasteTakesWhatTheKindAccepts)
{
    plat::OverrideRegionalSettings(plat::RegionalSettings{});
    grid->SetValidChars(QStringLiteral("ab"));
    const PasteCase cases[] = {
        {edNumeric, "12\r\n", "712"},   {edNumeric, "12\n", "712"},
        {edNumeric, "1a", "7"},         {edNumeric, "1\r\n2", "7"},
        {edPositiveNumeric, "-3", "7"}, {edFloat, "x", "7"},
        {edFloat, "3.5", "73.5"},       {edPositiveFloat, "-3", "7"},
        {edUpperCase, "ab", "7AB"},     {edMixedCase, " big dog", "7 Big Dog"},
        {edValidChars, "abc", "7"},     {edNormal, "x y", "7x y"},
    };
    for (const PasteCase &c : cases) {
        SCOPED_TRACE(c.clip.toStdString());
        QWidget *w = open(c.kind, "7");
        ASSERT_NE(w, nullptr);
        QApplication::clipboard()->setText(c.clip);
        QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(editorText(), c.expected);
        grid->HideInplaceEdit();
    }
}

TEST_F(InplaceEdit, PasteEventsMayRefuseOrChangeTheText)
{
    QStringList after;
    grid->OnClipboardBeforePasteCell = [](QObject *, int, int, QString &Value, bool &Allow) {
        Allow = Value != "no";
        Value = Value.toUpper();
    };
    grid->OnClipboardAfterPasteCell = [&](QObject *, int, int, const QString &Value) {
        after << Value;
    };
    for (const QString clip : {"no", "yes"}) {
        QWidget *w = open(edNormal, "");
        ASSERT_NE(w, nullptr);
        QApplication::clipboard()->setText(clip);
        QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
        grid->HideInplaceEdit();
    }
    EXPECT_EQ(after, QStringList{"YES"});
    EXPECT_EQ(grid->Cells(1, 1), "YES");
}

TEST_F(InplaceEdit, CopyAndCutOnlyWhenAllowed)
{
    struct
    {
        Qt::Key key;
        bool allow;
        QString clip;
        QString text;
    } const cases[] = {{Qt::Key_C, true, "lo", "hello"},
                       {Qt::Key_C, false, "", "hello"},
                       {Qt::Key_X, true, "lo", "hel"},
                       {Qt::Key_X, false, "", "hello"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.key << ", allow " << c.allow);
        int asked = 0;
        const std::function<void(QObject *, bool &)> ask = [&](QObject *, bool &Allow) {
            ++asked;
            Allow = c.allow;
        };
        grid->OnClipboardCopy = c.key == Qt::Key_C ? ask : nullptr;
        grid->OnClipboardCut = c.key == Qt::Key_X ? ask : nullptr;
        QApplication::clipboard()->clear();
        QWidget *w = open(edNormal, "hello");
        ASSERT_NE(w, nullptr);
        QTest::keyClick(w, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(w, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(w, c.key, Qt::ControlModifier);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(QApplication::clipboard()->text(), c.clip);
        EXPECT_EQ(editorText(), c.text);
        grid->HideInplaceEdit();
    }
    grid->OnClipboardCopy = nullptr;
    grid->OnClipboardCut = nullptr;
}

TEST_F(InplaceEdit, EscapeRestoresTheCellTextAndCloses)
{
    QWidget *w = open(edNormal, "old");
    ASSERT_NE(w, nullptr);
    QTest::keyClicks(w, "er");
    EXPECT_EQ(grid->Cells(1, 1), "older"); // typing goes through to the cell
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_EQ(grid->Cells(1, 1), "old");
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(grid->EditMode());
}

TEST_F(InplaceEdit, CtrlEnterBreaksTheLineOnlyInMultiLineCells)
{
    struct
    {
        bool wordWrap;
        bool multiline;
        bool breaks;
    } const cases[] = {{false, false, false}, {true, false, true}, {false, true, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.wordWrap ? "word wrap" : c.multiline ? "multi-line" : "single line");
        grid->SetWordWrap(c.wordWrap);
        grid->SetMultilineCells(c.multiline);
        QWidget *w = open(edNormal, "a");
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(grid->NormalEdit()->IsMultiLine(), c.breaks);
        QTest::keyClick(w, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(w, "b");
        EXPECT_EQ(editorText(), c.breaks ? "a\r\nb" : "ab");
        EXPECT_TRUE(w->isVisible());
        grid->HideInplaceEdit();
    }
}

TEST_F(InplaceEdit, PasswordCellsEchoTheGridsPasswordCharacter)
{
    grid->SetWordWrap(true); // a password stays on one line all the same
    grid->SetPasswordChar(u'#');
    QWidget *w = open(edPassword, "pw");
    ASSERT_NE(w, nullptr);
    auto *line = qobject_cast<QLineEdit *>(w);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(line->styleSheet().contains(QString::number(u'#')));
    grid->HideInplaceEdit();
    w = open(edNormal, "x");
    EXPECT_NE(qobject_cast<QPlainTextEdit *>(w), nullptr);
}

TEST_F(InplaceEdit, RefusedEnterKeepsTheEditorOpenWithTheEventsText)
{
    int validations = 0;
    grid->OnCellValidate = [&](QObject *, int, int, QString &Value, bool &Valid) {
        ++validations;
        Value = "fixed";
        Valid = false;
    };
    QWidget *w = open(edNormal, "old");
    ASSERT_NE(w, nullptr);
    QTest::keyClicks(w, "bad");
    QTest::keyClick(w, Qt::Key_Return);
    EXPECT_EQ(validations, 1);
    ASSERT_NE(grid->NormalEdit(), nullptr);
    EXPECT_TRUE(grid->NormalEdit()->Widget()->isVisible());
    EXPECT_EQ(editorText(), "fixed");
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
}

TEST_F(InplaceEdit, TabValidatesWhenTheEditorKeepsIt)
{
    struct
    {
        bool goTabs;
        bool valid;
        bool open;
        int col;
    } const cases[] = {{true, true, false, 2}, {true, false, true, 1}, {false, false, true, 1}};
    // The Tab walk would open the next cell's editor at once.
    grid->Navigation()->SetAdvanceAutoEdit(false);
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "goTabs " << c.goTabs << ", valid " << c.valid);
        int validations = 0;
        grid->OnCellValidate = [&](QObject *, int, int, QString &, bool &Valid) {
            ++validations;
            Valid = c.valid;
        };
        grid->SetOptions(c.goTabs ? grid->Options() + TGridOption::goTabs
                                  : grid->Options() - TGridOption::goTabs);
        grid->SetCol(1);
        grid->setFocus();
        QWidget *w = open(edNormal, "a");
        ASSERT_NE(w, nullptr);
        QTest::keyClicks(w, "b");
        QTest::keyClick(w, Qt::Key_Tab);
        EXPECT_EQ(validations, 1);
        EXPECT_EQ(w->isVisible(), c.open);
        EXPECT_EQ(grid->Col(), c.col);
        EXPECT_EQ(grid->Cells(1, 1), c.valid ? "ab" : "a");
        grid->OnCellValidate = nullptr;
        grid->HideInplaceEdit();
    }
}

TEST_F(InplaceEdit, CursorWalksOutOfTheTextAtItsEnds)
{
    struct
    {
        bool walk;
        Qt::Key toEnd;
        Qt::Key key;
        int col;
    } const cases[] = {{true, Qt::Key_Home, Qt::Key_Left, 1},
                       {true, Qt::Key_End, Qt::Key_Right, 3},
                       {false, Qt::Key_Home, Qt::Key_Left, 2},
                       {true, Qt::Key_End, Qt::Key_Left, 2}};
    grid->SetColCount(4);
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "walk " << c.walk << ", key " << c.key);
        grid->Navigation()->SetCursorWalkEditor(c.walk);
        grid->SetCol(2);
        QWidget *w = open(edNormal, "ab");
        ASSERT_NE(w, nullptr);
        QTest::keyClick(w, c.toEnd);
        QTest::keyClick(w, c.key);
        EXPECT_EQ(grid->Col(), c.col);
        grid->HideInplaceEdit();
    }
}

// Valid-character cells are not written through while typing; a click on another cell must not
// lose what was typed.
TEST_F(InplaceEdit, ClickingAnotherCellKeepsTheTypedText)
{
    for (const TEditorType kind : {edNormal, edValidChars}) {
        SCOPED_TRACE(int(kind));
        grid->SetValidChars(QStringLiteral("abc"));
        grid->SetCol(1);
        grid->setFocus();
        QWidget *w = open(kind, "");
        ASSERT_NE(w, nullptr);
        QTest::keyClicks(w, "ab");
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->CellRect(2, 1).toQRect().center());
        EXPECT_EQ(grid->Col(), 2);
        EXPECT_EQ(grid->Cells(1, 1), "ab");
        grid->HideInplaceEdit();
    }
}

TEST_F(InplaceEdit, LookupCompletesFromTheItems)
{
    grid->SetLookup(true);
    grid->LookupItems() = QStringList{"Apple", "Banana"};
    struct
    {
        bool caseSensitive;
        QString typed;
        QString expected;
        QString selected;
    } const cases[] = {{false, "ba", "banana", "nana"},
                       {true, "ba", "ba", ""},
                       {true, "Ba", "Banana", "nana"},
                       {false, "x", "x", ""}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        grid->SetLookupCaseSensitive(c.caseSensitive);
        auto *w = qobject_cast<QLineEdit *>(open(edNormal, ""));
        ASSERT_NE(w, nullptr);
        QTest::keyClicks(w, c.typed);
        EXPECT_EQ(w->text(), c.expected);
        EXPECT_EQ(w->selectedText(), c.selected);
        grid->HideInplaceEdit();
    }
}

TEST_F(InplaceEdit, MaxEditLengthFiveLimitsTheEditor)
{
    grid->SetMaxEditLength(5);
    QWidget *w = open(edNormal);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(grid->NormalEdit()->LengthLimit(), 5);
    QTest::keyClicks(w, "123456789");
    grid->HideInplaceEdit();
    EXPECT_EQ(grid->Cells(1, 1), "12345");
}

TEST_F(InplaceEdit, FocusLeavingValidatesUnlessAltBackspaceIsHeld)
{
    for (const bool altBack : {false, true}) {
        SCOPED_TRACE(altBack ? "Alt+Backspace held" : "plain");
        int validations = 0;
        grid->OnCellValidate = [&](QObject *, int, int, QString &, bool &) { ++validations; };
        grid->setFocus();
        QWidget *w = open(edNormal, "a");
        ASSERT_NE(w, nullptr);
        QTest::keyClicks(w, "b");
        if (altBack)
            QTest::keyPress(w, Qt::Key_Backspace, Qt::AltModifier);
        other->setFocus();
        EXPECT_EQ(validations, altBack ? 0 : 1);
        EXPECT_EQ(w->isVisible(), altBack);
        if (altBack) {
            QTest::keyRelease(w, Qt::Key_Backspace, Qt::AltModifier);
            EXPECT_FALSE(grid->NormalEdit()->AltBack());
        }
        grid->HideInplaceEdit();
        grid->OnCellValidate = nullptr;
    }
}

TEST_F(InplaceEdit, EditChangeReportsTypingButNotLoading)
{
    QStringList changes;
    grid->OnEditChange = [&](QObject *, int, int, const QString &Value) { changes << Value; };
    QWidget *w = open(edNormal, "<b>x</b>");
    ASSERT_NE(w, nullptr);
    // The editor shows the text without its tags; loading it writes nothing back.
    EXPECT_EQ(editorText(), "x");
    EXPECT_EQ(grid->Cells(1, 1), "<b>x</b>");
    QTest::keyClicks(w, "yz");
    EXPECT_EQ(changes, (QStringList{"xy", "xyz"}));
    EXPECT_EQ(grid->Cells(1, 1), "xyz");
}

TEST_F(InplaceEdit, DoubleClickReportsTheCellInBothEditorKinds)
{
    for (const bool wordWrap : {false, true}) {
        SCOPED_TRACE(wordWrap ? "multi-line" : "single line");
        std::vector<std::pair<int, int>> clicks;
        grid->OnDblClickCell = [&](QObject *, int ARow, int ACol) {
            clicks.emplace_back(ARow, ACol);
        };
        grid->SetWordWrap(wordWrap);
        grid->SetRowCount(4);
        grid->FocusCell(2, 3);
        QWidget *w = open(edNormal, "x");
        ASSERT_NE(w, nullptr);
        auto *memo = qobject_cast<QPlainTextEdit *>(w);
        QTest::mouseDClick(memo ? memo->viewport() : w, Qt::LeftButton);
        EXPECT_EQ(clicks, (std::vector<std::pair<int, int>>{{3, 2}}));
        grid->HideInplaceEdit();
        grid->OnDblClickCell = nullptr;
    }
}

// Without goTabs and a validate event the Tab key is the window's: it ends the edit with the typed
// text and the focus goes on to the window's next control, in both editor kinds, so the next key
// does not reach the cell.
TEST_F(InplaceEdit, TabTheGridDoesNotTakeEndsTheEditAndMovesTheFocusOn)
{
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_Tab, Qt::NoModifier},
                                                              {Qt::Key_Backtab, Qt::ShiftModifier}};
    for (const bool wordWrap : {false, true}) {
        for (const auto &[key, mods] : keys) {
            SCOPED_TRACE(testing::Message() << (wordWrap ? "multi-line " : "single line ")
                                            << (key == Qt::Key_Tab ? "Tab" : "Shift+Tab"));
            grid->SetWordWrap(wordWrap);
            grid->SetCol(1);
            grid->setFocus();
            QWidget *w = open(edNormal, "a");
            ASSERT_NE(w, nullptr);
            QTest::keyClicks(w, "b");
            QTest::keyClick(w, key, mods);
            EXPECT_EQ(QApplication::focusWidget(), other);
            EXPECT_FALSE(w->isVisible());
            EXPECT_FALSE(grid->EditMode());
            EXPECT_EQ(grid->Cells(1, 1), "ab");
            QTest::keyClicks(other, "Z");
            EXPECT_EQ(grid->Cells(1, 1), "ab");
            EXPECT_EQ(QPoint(grid->Col(), grid->Row()), QPoint(1, 1));
            other->clear();
        }
    }
}

} // namespace
