// The editing core on a shown grid driven with keys and clicks: the order of the cell and edit
// events, refused and accepted validation, the per-cell switching of goEditing, merged cells and
// the queued edit-done message.
#include "grid/common/GridWindow.h"
#include "grid/model/QrlColumnGrid.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGridCheck.h"
#include "grid/model/QrlUndo.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

// Readable failure output for texts and text lists.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

using plat::TGridOption;

// A window holding the grid (4 x 4, one fixed row and column, cursor on (1, 1)) and a line edit
// that can take the focus away.
template <class Grid> class EditFixture : public ::testing::Test
{
protected:
    void SetUp() override { build(); }

    void build()
    {
        QToolTip::hideText();
        forget();
        grid = shown.open();
        other = new QLineEdit(shown.window());
        other->setGeometry(0, 210, 100, 20);
        grid->SetColCount(4);
        grid->SetRowCount(4);
        grid->SetWordWrap(false);
        ASSERT_TRUE(shown.showActive({400, 200}, {420, 240}));
    }

    void TearDown() override
    {
        QToolTip::hideText();
        forget();
        shown.close();
    }

    // The handlers capture locals of a test: a grid closing later must not call them.
    void forget()
    {
        if (!grid)
            return;
        grid->OnCellValidate = nullptr;
        grid->OnCellsChanged = nullptr;
        grid->OnEditingDone = nullptr;
        grid->OnEditCellDone = nullptr;
        grid->OnRowChanging = nullptr;
        grid->OnColChanging = nullptr;
        grid->OnCellChanging = nullptr;
        grid->OnSelectCell = nullptr;
        grid->OnRowUpdate = nullptr;
    }

    void click(int c, int r)
    {
        const TRect rc = grid->CellRect(c, r);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          QPoint((rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2));
    }

    // Types into whatever holds the focus: the grid, then the editor the first key opened.
    void type(const QString &text)
    {
        for (const QChar ch : text)
            QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
    }

    // Puts a text into (2, 2) and moves the cursor there, as a user would arrive.
    void arrive(const QString &text)
    {
        grid->SetCells(2, 2, text);
        click(2, 2);
    }

    QWidget *editor() const
    {
        QWidget *fw = QApplication::focusWidget();
        return fw && fw != grid && fw != grid->viewport() && grid->isAncestorOf(fw) ? fw : nullptr;
    }

    // Records the cell, validation and editing events in order.
    void record()
    {
        grid->OnRowChanging = [this](QObject *, int o, int n, bool &) {
            log << QStringLiteral("row %1>%2").arg(o).arg(n);
        };
        grid->OnColChanging = [this](QObject *, int o, int n, bool &) {
            log << QStringLiteral("col %1>%2").arg(o).arg(n);
        };
        grid->OnCellChanging = [this](QObject *, int, int, int, int, bool &) { log << "cell"; };
        grid->OnSelectCell = [this](QObject *, int c, int r, bool &) {
            log << QStringLiteral("select %1,%2").arg(c).arg(r);
        };
        grid->OnRowUpdate = [this](QObject *, int o, int n) {
            log << QStringLiteral("rowupdate %1>%2").arg(o).arg(n);
        };
        grid->OnCellValidate = [this](QObject *, int c, int r, QString &v, bool &) {
            log << QStringLiteral("validate %1,%2 %3").arg(c).arg(r).arg(v);
        };
        grid->OnEditingDone = [this](QObject *) { log << "editingdone"; };
        grid->OnEditCellDone = [this](QObject *, int c, int r) {
            log << QStringLiteral("editcelldone %1,%2").arg(c).arg(r);
        };
    }

    gridtest::GridWindow<Grid> shown;
    Grid *grid = nullptr;
    QLineEdit *other = nullptr;
    QStringList log;
};

using StringGridEdit = EditFixture<TQrlStringGrid>;
using ColumnGridEdit = EditFixture<TQrlColumnGrid>;

TEST_F(StringGridEdit, MainRoadFiresTheCellEventsThenTheEditEventsInOrder)
{
    grid->SetOptions(grid->Options() + TGridOption::goEditing);
    record();
    click(2, 2);
    grid->SetCells(3, 3, "old");
    log.clear();
    click(3, 3);
    EXPECT_EQ(log, QStringList({"row 2>3", "col 2>3", "cell", "select 3,3", "rowupdate 2>3"}));

    log.clear();
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_TRUE(editor());
    QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
    type("new");
    other->setFocus();
    ASSERT_FALSE(log.isEmpty());
    EXPECT_EQ(log.first(), "validate 3,3 new");
    EXPECT_EQ(log.last(), "editingdone");
    EXPECT_EQ(grid->Cells(3, 3), "new");
    EXPECT_FALSE(grid->EditMode());

    // The edit-done notice is queued: it comes once the event loop runs.
    log.clear();
    QCoreApplication::processEvents();
    EXPECT_EQ(log, QStringList({"editcelldone 3,3"}));
}

TEST_F(StringGridEdit, ArrowOutOfAnEditValidatesBeforeTheCursorMoves)
{
    grid->SetOptions(grid->Options() + TGridOption::goEditing);
    arrive("");
    record();
    type("a");
    ASSERT_TRUE(editor());
    log.clear();
    QTest::keyClick(editor(), Qt::Key_Down);
    ASSERT_FALSE(log.isEmpty());
    EXPECT_EQ(log.first(), "validate 2,2 a");
    EXPECT_TRUE(log.contains("row 2>3"));
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Cells(2, 2), "a");
}

// A refused text: the cursor stays, the cell gets the old or the handler's text, the editor is
// open on it, Modified is as before and the balloon shows when it has a text.
TEST_F(StringGridEdit, RefusedValidationRestoresTheCellAndReopensTheEditor)
{
    struct Case
    {
        const char *name;
        QString handlerValue; // empty: the handler leaves the value as typed
        QString balloonText;
        QString cellAfter;
    };
    const Case cases[] = {
        {"unchanged value", {}, {}, "old"},
        {"unchanged value with balloon", {}, "Not allowed", "old"},
        {"changed value", "fixed", {}, "fixed"},
        {"changed value with balloon", "fixed", "Not allowed", "fixed"},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        build();
        grid->SetOptions(grid->Options() + TGridOption::goEditing);
        grid->SetInvalidEntryText(k.balloonText);
        arrive("old");
        int validations = 0;
        grid->OnCellValidate = [&](QObject *, int, int, QString &v, bool &valid) {
            ++validations;
            if (!k.handlerValue.isEmpty())
                v = k.handlerValue;
            valid = false;
        };
        type("new");
        ASSERT_TRUE(editor());
        QTest::keyClick(editor(), Qt::Key_Down);
        EXPECT_EQ(validations, 1);
        EXPECT_EQ(grid->Row(), 2);
        EXPECT_EQ(grid->Cells(2, 2), k.cellAfter);
        EXPECT_TRUE(grid->EditMode());
        auto *line = qobject_cast<QLineEdit *>(editor());
        ASSERT_TRUE(line);
        EXPECT_EQ(line->text(), k.cellAfter);
        EXPECT_FALSE(grid->Modified());
        EXPECT_EQ(QToolTip::isVisible(), !k.balloonText.isEmpty());
        if (!k.balloonText.isEmpty()) {
            EXPECT_TRUE(QToolTip::text().contains(k.balloonText));
        }
    }
}

TEST_F(StringGridEdit, AcceptedValueIsStoredAndReportedOnlyWhenItChanged)
{
    struct Case
    {
        const char *name;
        QString handlerValue;
        int changes;
    };
    const Case cases[] = {
        {"handler changes the value", "NEW", 1},
        {"handler puts the old value back", "old", 0},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        build();
        grid->SetOptions(grid->Options() + TGridOption::goEditing);
        arrive("old");
        grid->OnCellValidate = [&](QObject *, int, int, QString &v, bool &) { v = k.handlerValue; };
        int changes = 0;
        grid->OnCellsChanged = [&](QObject *, const plat::TGridRect &r) {
            EXPECT_EQ(r, (plat::TGridRect{2, 2, 2, 2}));
            ++changes;
        };
        type("new");
        ASSERT_TRUE(editor());
        other->setFocus();
        EXPECT_EQ(grid->Cells(2, 2), k.handlerValue);
        EXPECT_EQ(changes, k.changes);
        EXPECT_EQ(grid->Modified(), k.changes > 0);
    }
}

// The checker corrects before the event and marks after it; the marked text is stored and
// recorded for undo against the text before the edit.
TEST_F(StringGridEdit, CheckerAndUndoFollowTheValidation)
{
    class TChecker : public TQrlStringGridCheck
    {
    public:
        void Correct(int, int, QString &Text, const QString &) override { Text = Text.toUpper(); }
        void MarkError(int, int, QString &Text, const QString &) override { Text += u'!'; }
    } checker;
    checker.AutoCorrect = true;
    checker.AutoMarkError = true;
    TQrlGridUndoRedo undo;
    grid->SetOptions(grid->Options() + TGridOption::goEditing);
    grid->SetCellChecker(&checker);
    grid->SetUndoRedo(&undo);
    arrive("old");
    QString seen;
    grid->OnCellValidate = [&](QObject *, int, int, QString &v, bool &) { seen = v; };
    // The typed key replaces the old text, which the editor opens selected.
    type("x");
    ASSERT_TRUE(editor());
    type("y");
    other->setFocus();
    EXPECT_EQ(seen, "XY");
    EXPECT_EQ(grid->Cells(2, 2), "XY!");
    ASSERT_TRUE(undo.CanUndo());
    undo.Undo();
    EXPECT_EQ(grid->Cells(2, 2), "old");
    grid->SetUndoRedo(nullptr);
    grid->SetCellChecker(nullptr);
}

TEST_F(StringGridEdit, UnchangedTextIsValidatedOnlyWithAlwaysValidate)
{
    for (const bool always : {false, true}) {
        SCOPED_TRACE(always);
        build();
        grid->SetOptions(grid->Options() + TGridOption::goEditing);
        grid->SetAlwaysValidate(always);
        arrive("same");
        int validations = 0;
        grid->OnCellValidate = [&](QObject *, int, int, QString &, bool &) { ++validations; };
        QTest::keyClick(grid, Qt::Key_F2);
        ASSERT_TRUE(editor());
        other->setFocus();
        EXPECT_EQ(validations, always ? 1 : 0);
        EXPECT_EQ(grid->Cells(2, 2), "same");
    }
}

TEST_F(StringGridEdit, MergedCellIsSelectedAndEditedAtItsBase)
{
    grid->SetOptions(grid->Options() + TGridOption::goEditing);
    grid->MergeCells(2, 1, 2, 2);
    click(3, 2);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 1);
    type("m");
    ASSERT_TRUE(editor());
    other->setFocus();
    EXPECT_EQ(grid->GetGridCell(2, 1), "m");
    EXPECT_EQ(grid->GetGridCell(3, 2), "");
}

TEST_F(StringGridEdit, EditDoneWithDoubleClickOnlyEndsEditingWhenTheNoticeArrives)
{
    grid->SetOptions(grid->Options() + TGridOption::goEditing);
    grid->ShowInplaceEdit();
    ASSERT_TRUE(grid->EditMode());
    grid->MouseActions()->SetEditOnDblClickOnly(true);
    QStringList done;
    grid->OnEditCellDone = [&](QObject *, int c, int r) {
        done << QStringLiteral("%1,%2").arg(c).arg(r);
    };
    grid->NotifyEditingDone(3, 2);
    EXPECT_TRUE(done.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(done, QStringList({"3,2"}));
    EXPECT_FALSE(grid->EditMode());
    EXPECT_FALSE(grid->Options().Contains(TGridOption::goEditing));
}

TEST_F(StringGridEdit, EditorGetsTheTextWithoutTagsUnlessAskedFor)
{
    for (const bool withTags : {false, true}) {
        SCOPED_TRACE(withTags);
        build();
        grid->SetOptions(grid->Options() + TGridOption::goEditing);
        grid->SetEditWithTags(withTags);
        arrive("<b>bold</b>");
        grid->ShowCellEdit();
        auto *line = qobject_cast<QLineEdit *>(editor());
        ASSERT_TRUE(line);
        EXPECT_EQ(line->text(), withTags ? "<b>bold</b>" : "bold");
    }
}

TEST_F(StringGridEdit, DoneWithEnterClosesTheEditorAndAdvances)
{
    grid->SetOptions(grid->Options() + TGridOption::goEditing);
    grid->Navigation()->SetAdvanceOnEnter(true);
    arrive("");
    type("q");
    ASSERT_TRUE(grid->EditMode());
    grid->DoneInplaceEdit(Qt::Key_Return, {});
    EXPECT_FALSE(grid->EditMode());
    EXPECT_EQ(grid->Cells(2, 2), "q");
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->Row(), 2);
}

TEST_F(StringGridEdit, SimulatedClickMovesWithoutTheMouseEvents)
{
    int mouseEvents = 0;
    grid->OnMouseDown = [&](QObject *, plat::TMouseButton, plat::TShiftState, int, int) {
        ++mouseEvents;
    };
    grid->OnMouseUp = [&](QObject *, plat::TMouseButton, plat::TShiftState, int, int) {
        ++mouseEvents;
    };
    bool asked = false;
    grid->OnSelectCell = [&](QObject *, int, int, bool &) { asked = true; };
    grid->SimulateCellClick(3, 2);
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(mouseEvents, 0);
    // The programmatic move is taken without the select-cell checks.
    EXPECT_FALSE(asked);
    click(2, 2);
    EXPECT_EQ(mouseEvents, 2);
    grid->OnMouseDown = nullptr;
    grid->OnMouseUp = nullptr;
}

TEST_F(StringGridEdit, ScrollingClosesASpecialEditorButNotTheTextEditor)
{
    for (const TEditorType kind : {TEditorType::edNormal, TEditorType::edComboEdit}) {
        SCOPED_TRACE(static_cast<int>(kind));
        build();
        grid->SetOptions(grid->Options() + TGridOption::goEditing);
        grid->SetRowCount(40);
        grid->SetDefaultEditor(kind);
        arrive("kept");
        grid->ShowInplaceEdit();
        ASSERT_TRUE(grid->EditMode());
        grid->SetTopRow(10);
        EXPECT_EQ(grid->EditMode(), kind == TEditorType::edNormal);
        EXPECT_EQ(grid->Cells(2, 2), "kept");
    }
}

// Footer rows and the fixed columns at the right are fixed whatever the hook says, and a merged
// cell is fixed as its base is.
TEST_F(StringGridEdit, FixedCellsIncludeFootersRightColumnsAndMergedAreas)
{
    grid->SetOptions(grid->Options() + TGridOption::goEditing);
    grid->SetColCount(5);
    grid->SetRowCount(5);
    grid->SetFixedFooters(1);
    grid->SetFixedRightCols(1);
    grid->OnIsFixedCell = [](QObject *, int r, int c, bool &fixed) { fixed = c == 2 && r == 2; };
    grid->MergeCells(2, 2, 2, 1);
    struct Case
    {
        int col, row;
        bool fixed;
    };
    for (const Case k : {Case{1, 1, false}, Case{1, 4, true}, Case{4, 1, true}, Case{2, 2, true},
                         Case{3, 2, true}, Case{3, 3, false}, Case{0, 1, true}}) {
        SCOPED_TRACE(QStringLiteral("%1,%2").arg(k.col).arg(k.row).toStdString());
        EXPECT_EQ(grid->IsFixed(k.col, k.row), k.fixed);
    }
    // Editability asks the fixed-cell hook.
    EXPECT_TRUE(grid->IsEditable(1, 1));
    EXPECT_FALSE(grid->IsEditable(2, 2));
    EXPECT_FALSE(grid->IsEditable(3, 2));
    grid->OnIsFixedCell = nullptr;
}

// However the cursor got to a cell, the edit typed there is validated and stored there: code that
// moves the cursor without a click or key (FocusCell, MoveColRow, a right click with its own
// handler), also while the editor is open, does not send the value to another cell.
TEST_F(StringGridEdit, EditIsValidatedAndStoredAtTheCellItWasTypedIn)
{
    struct Case
    {
        const char *name;
        std::function<void(TQrlStringGrid *)> move; // from (1, 1) to (2, 2)
        bool typeFirst;                             // the editor is open on (2, 2) meanwhile
    };
    const Case cases[] = {
        {"FocusCell", [](TQrlStringGrid *g) { g->FocusCell(2, 2); }, false},
        {"MoveColRow", [](TQrlStringGrid *g) { g->MoveColRow(2, 2, true, true); }, false},
        {"right click",
         [](TQrlStringGrid *g) {
             g->MouseActions()->SetSelectOnRightClick(true);
             g->OnRightClickCell = [](QObject *, int, int) {};
             const TRect rc = g->CellRect(2, 2);
             QTest::mouseClick(g->viewport(), Qt::RightButton, {}, QPoint(rc.Left + 5, rc.Top + 5));
         },
         false},
        {"FocusCell while editing", [](TQrlStringGrid *g) { g->FocusCell(3, 3); }, true},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        build();
        grid->SetOptions(grid->Options() + TGridOption::goEditing);
        grid->SetCells(1, 1, "one");
        grid->SetCells(2, 2, "two");
        grid->SetCells(3, 3, "three");
        // A click on the current cell would open its editor: arrive from another cell.
        click(1, 2);
        click(1, 1);
        QStringList validated;
        grid->OnCellValidate = [&](QObject *, int c, int r, QString &v, bool &) {
            validated << QStringLiteral("%1,%2 %3").arg(c).arg(r).arg(v);
        };
        if (k.typeFirst) {
            click(2, 2);
            type("x");
            k.move(grid);
        } else {
            k.move(grid);
            ASSERT_EQ(QPoint(grid->Col(), grid->Row()), QPoint(2, 2));
            type("x");
        }
        ASSERT_TRUE(editor());
        type("y");
        QTest::keyClick(editor(), Qt::Key_Return);
        EXPECT_EQ(validated, QStringList{"2,2 xy"});
        EXPECT_EQ(grid->Cells(2, 2), "xy");
        EXPECT_EQ(grid->Cells(1, 1), "one");
        EXPECT_EQ(grid->Cells(3, 3), "three");
        grid->OnRightClickCell = nullptr;
    }
}

// With EditSelectAll (the default) every way of opening the editor selects the whole text, so
// typing replaces it; without it the caret stands at the end and typing appends.
TEST_F(StringGridEdit, TypingOverAFilledCellReplacesItsTextWithEditSelectAll)
{
    enum class Open { F2, Enter, SecondClick, TypedKey };
    const std::pair<Open, const char *> openers[] = {{Open::F2, "F2"},
                                                     {Open::Enter, "Enter"},
                                                     {Open::SecondClick, "second click"},
                                                     {Open::TypedKey, "typed key"}};
    for (const bool selectAll : {true, false}) {
        for (const auto &[how, name] : openers) {
            SCOPED_TRACE(testing::Message() << name << (selectAll ? "" : ", no EditSelectAll"));
            build();
            grid->SetOptions(grid->Options() + TGridOption::goEditing);
            grid->Navigation()->SetEditSelectAll(selectAll);
            arrive("old");
            switch (how) {
            case Open::F2:
                QTest::keyClick(grid, Qt::Key_F2);
                break;
            case Open::Enter:
                QTest::keyClick(grid, Qt::Key_Return);
                break;
            case Open::SecondClick:
                click(2, 2);
                break;
            case Open::TypedKey:
                break;
            }
            type("k");
            ASSERT_TRUE(editor());
            QTest::keyClick(editor(), Qt::Key_Return);
            EXPECT_EQ(grid->Cells(2, 2), selectAll ? "k" : "oldk");
        }
    }
}

// A column grid without goEditing edits its editable columns: the option follows the cursor.
TEST_F(ColumnGridEdit, GoEditingFollowsTheReadOnlyColumns)
{
    grid->SetOptions(grid->Options() - TGridOption::goEditing);
    grid->Columns()->Items(2)->SetReadOnly(true);
    struct Step
    {
        int col;
        bool editable;
    };
    for (const Step s : {Step{2, false}, Step{3, true}, Step{2, false}, Step{1, true}}) {
        SCOPED_TRACE(s.col);
        click(s.col, 1);
        ASSERT_EQ(grid->Col(), s.col);
        EXPECT_EQ(grid->Options().Contains(TGridOption::goEditing), s.editable);
        type("z");
        EXPECT_EQ(editor() != nullptr, s.editable);
        grid->setFocus();
    }
    EXPECT_EQ(grid->Cells(2, 1), "");
    EXPECT_EQ(grid->Cells(3, 1), "z");
}

} // namespace
