// Check-box and radio-button cells: adding and removing, state by real row (hidden rows too),
// toggling with events, can-edit and undo, radio buttons and radio groups.
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/ui/Bitmap.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

namespace {

class ChecksTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid = std::make_unique<TQrlStringGrid>();
        grid->SetColCount(5);
        grid->SetRowCount(10);
        grid->OnCheckBoxChange = [this](QObject *, int c, int r, bool s) {
            changes.emplace_back(c, r, s);
        };
    }
    std::unique_ptr<TQrlStringGrid> grid;
    std::vector<std::tuple<int, int, bool>> changes;
};

// ---- adding ---------------------------------------------------------------------------------

TEST_F(ChecksTest, DataCheckBoxKeepsAStateTextAndReplacesAnyOther)
{
    struct Case
    {
        const char *before;
        bool state;
        const char *after;
        bool checked;
    };
    const Case cases[] = {
        {"Y", true, "Y", true},   {"", true, "Y", true},   {"x", true, "Y", true},
        {"x", false, "N", false}, {"N", true, "N", false}, {"Y", false, "Y", true},
    };
    for (const Case &c : cases) {
        grid->SetCellEx(2, 1, QString::fromLatin1(c.before));
        grid->AddCheckBox(2, 1, c.state, true);
        bool checked = !c.checked;
        EXPECT_TRUE(grid->GetCheckBoxState(2, 1, checked)) << c.before;
        EXPECT_EQ(grid->GetCellEx(2, 1), QString::fromLatin1(c.after)) << c.before;
        EXPECT_EQ(checked, c.checked) << c.before << " " << c.state;
        EXPECT_EQ(grid->GetCellType(2, 1), TCellType::ctDataCheckBox);
    }
}

TEST_F(ChecksTest, AddedGraphicsSitBeforeTheTextAlignedWithTheGrid)
{
    const std::pair<TVAlignment, TCellVAlign> aligns[] = {
        {TVAlignment::vtaTop, TCellVAlign::vaTop},
        {TVAlignment::vtaCenter, TCellVAlign::vaCenter},
        {TVAlignment::vtaBottom, TCellVAlign::vaBottom},
    };
    for (const auto &[gridAlign, cell] : aligns) {
        grid->SetVAlignment(gridAlign);
        grid->SetCellEx(1, 2, QStringLiteral("label"));
        grid->AddCheckBox(1, 2, true, false);
        grid->AddCheckBox(2, 2, TCheckBoxState::cbGrayed);
        grid->AddRadioButton(3, 2, true);
        for (int c = 1; c <= 3; ++c) {
            const TCellGraphic *g = grid->GetCellGraphic(c, 2);
            ASSERT_NE(g, nullptr);
            EXPECT_EQ(g->CellHAlign(), TCellHAlign::haBeforeText);
            EXPECT_EQ(g->CellVAlign(), cell);
            EXPECT_TRUE(g->CellTransparent()); // flat
        }
        EXPECT_EQ(grid->GetCellEx(1, 2), "label"); // a plain check box leaves the text
        EXPECT_TRUE(grid->IsChecked(1, 2));
        EXPECT_TRUE(grid->IsRadioButtonChecked(3, 2));
        TCheckBoxState s = TCheckBoxState::cbUnchecked;
        EXPECT_TRUE(grid->GetCheckBoxState(2, 2, s));
        EXPECT_EQ(s, TCheckBoxState::cbGrayed);
    }
}

TEST_F(ChecksTest, CellsOutsideTheGridAreRefusedWithoutChange)
{
    grid->HideRows(2, 3); // hidden rows have no display cell to take a graphic
    const std::pair<int, int> cells[] = {
        {-1, 1},
        {1, -1},
        {grid->TotalColCount(), 1},
        {1, grid->RowCount()},
        {1, grid->RowCount() + 1},
    };
    for (const auto &[c, r] : cells) {
        for (int kind = 0; kind < 3; ++kind) {
            try {
                if (kind == 0)
                    grid->AddCheckBox(c, r, true, true);
                else if (kind == 1)
                    grid->AddCheckBox(c, r, TCheckBoxState::cbChecked);
                else
                    grid->AddRadioButton(c, r, true);
                ADD_FAILURE() << "no error for " << c << "," << r;
            } catch (const std::runtime_error &e) {
                EXPECT_STREQ(e.what(), "Invalid cell");
            }
        }
        EXPECT_FALSE(grid->HasCheckBox(c, r));
        EXPECT_FALSE(grid->IsChecked(c, r));
    }
    // Removing outside the grid is harmless.
    grid->RemoveCheckBox(1, grid->RowCount() + 5);
    grid->RemoveRadioButton(-1, 1);
}

TEST_F(ChecksTest, ColumnGivesNodesThreeStateBoxesAndSummariesNone)
{
    grid->CreateCellGraphic(0, 2)->SetCellType(TCellType::ctNode);
    grid->CreateCellGraphic(0, 5)->SetCellType(TCellType::ctSummary);
    grid->AddCheckBoxColumn(3, true, false);
    EXPECT_EQ(grid->GetCellType(3, 0), TCellType::ctEmpty); // fixed row
    for (int r = 1; r < grid->RowCount(); ++r) {
        const TCellType want = r == 2   ? TCellType::ctTriStateCheckBox
                               : r == 5 ? TCellType::ctEmpty
                                        : TCellType::ctCheckBox;
        EXPECT_EQ(grid->GetCellType(3, r), want) << r;
    }
    TCheckBoxState s = TCheckBoxState::cbChecked;
    EXPECT_TRUE(grid->GetCheckBoxState(3, 2, s));
    EXPECT_EQ(s, TCheckBoxState::cbUnchecked);
    EXPECT_TRUE(grid->IsChecked(3, 1));

    // With CheckAllCheck the header row takes part.
    grid->MouseActions()->SetCheckAllCheck(true);
    grid->AddTriStateCheckBoxColumn(4, TCheckBoxState::cbGrayed);
    EXPECT_EQ(grid->GetCellType(4, 0), TCellType::ctTriStateCheckBox);
    grid->RemoveCheckBoxColumn(3);
    grid->RemoveCheckBoxColumn(4);
    for (int r = 0; r < grid->RowCount(); ++r) {
        EXPECT_FALSE(grid->HasCheckBox(3, r)) << r;
        EXPECT_FALSE(grid->HasCheckBox(4, r)) << r;
    }
    EXPECT_TRUE(grid->IsNode(2));
}

TEST_F(ChecksTest, RemovingTakesOnlyItsOwnKind)
{
    grid->AddRadioButton(1, 1, true);
    grid->AddCheckBox(1, 2, true, false);
    grid->CreateCellGraphic(1, 3)->SetButton(40, 20, QStringLiteral("Go"), TCellHAlign::haLeft,
                                             TCellVAlign::vaTop);
    grid->RemoveCheckBox(1, 1);
    grid->RemoveCheckBox(1, 3);
    grid->RemoveRadioButton(1, 2);
    EXPECT_TRUE(grid->HasRadioButton(1, 1));
    EXPECT_TRUE(grid->HasCheckBox(1, 2));
    EXPECT_EQ(grid->GetCellType(1, 3), TCellType::ctButton);
    grid->RemoveCheckBox(1, 2);
    grid->RemoveRadioButton(1, 1);
    EXPECT_FALSE(grid->HasCheckBox(1, 2));
    EXPECT_FALSE(grid->HasRadioButton(1, 1));
}

TEST_F(ChecksTest, RemovingACheckBoxFreesItsOwnGlyph)
{
    // Run under the leak checker.
    grid->AddCheckBox(2, 2, false, false);
    TCellGraphic *g = grid->GetCellGraphic(2, 2);
    g->SetCellBitmap(TCellRef::Object(new TBitmap(4, 4)));
    g->SetCellAngle(1);
    grid->RemoveCheckBox(2, 2);
    EXPECT_EQ(grid->GetCellGraphic(2, 2), nullptr);
}

// ---- state by kind --------------------------------------------------------------------------

TEST_F(ChecksTest, StateIsReadFromWhereEachKindKeepsIt)
{
    grid->AddCheckBox(1, 1, true, false);
    grid->AddCheckBox(1, 2, false, true); // "N"
    grid->SetCellEx(1, 3, QStringLiteral("Y"));
    grid->AddCheckBox(1, 3, false, true);
    grid->AddCheckBox(1, 4, TCheckBoxState::cbChecked);
    grid->AddCheckBox(1, 5, TCheckBoxState::cbGrayed);
    grid->SetCellEx(1, 6, QStringLiteral("Y")); // text only
    grid->AddRadioButton(1, 7, true);
    // A column grid lends its shared graphic to a whole data column.
    TCellGraphic *shared = grid->SharedCellGraphic();
    shared->SetCellType(TCellType::ctVirtCheckBox);
    grid->SetCellEx(2, 1, QStringLiteral("N"));
    grid->SetCellEx(2, 2, QStringLiteral("Y"));
    grid->SetGraphicObjectEx(2, 1, shared);
    grid->SetGraphicObjectEx(2, 2, shared);

    struct Case
    {
        int col, row;
        bool known;
        bool state;
        TCheckBoxState tri;
    };
    const Case cases[] = {
        {1, 1, true, true, TCheckBoxState::cbChecked},
        {1, 2, true, false, TCheckBoxState::cbUnchecked},
        {1, 3, true, true, TCheckBoxState::cbChecked},
        {1, 4, true, true, TCheckBoxState::cbChecked},
        {1, 5, true, false, TCheckBoxState::cbGrayed},
        {1, 6, false, false, TCheckBoxState::cbUnchecked},
        {1, 7, false, false, TCheckBoxState::cbUnchecked},
        {2, 1, true, false, TCheckBoxState::cbUnchecked},
        {2, 2, true, true, TCheckBoxState::cbChecked},
    };
    for (const Case &c : cases) {
        for (bool start : {false, true}) {
            bool state = start;
            EXPECT_EQ(grid->GetCheckBoxState(c.col, c.row, state), c.known) << c.col << c.row;
            EXPECT_EQ(state, c.known ? c.state : start) << c.col << "," << c.row;
        }
        TCheckBoxState tri = TCheckBoxState::cbGrayed;
        const TCheckBoxState untouched = tri;
        EXPECT_EQ(grid->GetCheckBoxState(c.col, c.row, tri), c.known);
        EXPECT_EQ(tri, c.known ? c.tri : untouched) << c.col << "," << c.row;
        EXPECT_EQ(grid->HasCheckBox(c.col, c.row), c.known);
    }
    EXPECT_TRUE(grid->HasDataCheckBox(2, 1));
    EXPECT_FALSE(grid->HasDataCheckBox(1, 1));
    EXPECT_TRUE(grid->HasDataGraphic(1, 2));
    EXPECT_TRUE(grid->HasClickableGraphic(1, 7));
    EXPECT_FALSE(grid->HasClickableGraphic(1, 6));

    // Writing a virtual box writes its text; the shared graphic is never freed with a cell.
    EXPECT_TRUE(grid->SetCheckBoxState(2, 1, true));
    EXPECT_EQ(grid->GetCellEx(2, 1), "Y");
    EXPECT_TRUE(grid->RemoveCellGraphic(2, 1));
    EXPECT_TRUE(grid->RemoveCellGraphic(2, 2));
}

TEST_F(ChecksTest, IsCheckedIsFalseWithoutCheckBoxWhateverTheRow)
{
    grid->SetCellEx(1, 1, QStringLiteral("Y"));
    for (int r : {-1, 0, 1, 9, 10, 1000000})
        EXPECT_FALSE(grid->IsChecked(1, r)) << r;
    EXPECT_FALSE(grid->IsChecked(-1, 1));
    EXPECT_FALSE(grid->IsChecked(99, 1));
}

TEST_F(ChecksTest, WritingUsesTheCellsCheckTextsAndFiresNothing)
{
    grid->OnGetCheckTrue = [](QObject *, int c, int, QString &v) {
        if (c == 3)
            v = QStringLiteral("on");
    };
    grid->OnGetCheckFalse = [](QObject *, int c, int, QString &v) {
        if (c == 3)
            v = QStringLiteral("off");
    };
    grid->AddCheckBox(3, 1, false, true);
    EXPECT_EQ(grid->GetCellEx(3, 1), "off");
    EXPECT_TRUE(grid->SetCheckBoxState(3, 1, true));
    EXPECT_EQ(grid->GetCellEx(3, 1), "on");
    EXPECT_TRUE(grid->IsChecked(3, 1));

    grid->AddCheckBox(1, 1, TCheckBoxState::cbUnchecked);
    EXPECT_FALSE(grid->SetCheckBoxState(1, 1, true)); // the Boolean form leaves three states
    EXPECT_TRUE(grid->SetCheckBoxState(1, 1, TCheckBoxState::cbGrayed));
    EXPECT_FALSE(grid->SetCheckBoxState(3, 1, TCheckBoxState::cbGrayed));
    EXPECT_FALSE(grid->SetCheckBoxState(2, 1, true)); // no graphic
    EXPECT_TRUE(changes.empty());
}

// ---- hidden rows ------------------------------------------------------------------------------

TEST_F(ChecksTest, StateOfAHiddenRowStaysWithThatRow)
{
    grid->AddCheckBox(2, 3, false, true); // "N"
    grid->AddCheckBox(3, 3, false, false);
    grid->SetCellEx(2, 4, QStringLiteral("keep")); // display row 3 once row 3 is hidden
    grid->AddCheckBox(3, 4, false, false);
    grid->HideRow(3);

    bool state = true;
    EXPECT_TRUE(grid->GetCheckBoxState(2, 3, state));
    EXPECT_FALSE(state);
    EXPECT_TRUE(grid->SetCheckBoxState(2, 3, true));
    EXPECT_TRUE(grid->SetCheckBoxState(3, 3, true));
    EXPECT_EQ(grid->GetCellsEx(2, 3), "Y");
    EXPECT_TRUE(grid->IsChecked(2, 3));
    EXPECT_TRUE(grid->IsChecked(3, 3));
    EXPECT_EQ(grid->GetCellsEx(2, 4), "keep");
    EXPECT_FALSE(grid->IsChecked(3, 4));

    grid->UnHideRow(3);
    EXPECT_EQ(grid->GetCellEx(2, 3), "Y");
    EXPECT_TRUE(grid->GetCellGraphic(3, 3)->CellBoolean());
    EXPECT_EQ(grid->GetCellEx(2, 4), "keep");
    EXPECT_FALSE(grid->GetCellGraphic(3, 4)->CellBoolean());
}

TEST_F(ChecksTest, AHiddenCellWithoutCheckBoxDoesNotAnswerForAShownRow)
{
    grid->SetCellEx(2, 6, QStringLiteral("Y"));
    grid->AddCheckBox(2, 6, true, true); // display row 5 once row 5 is hidden
    grid->SetColors(3, 5, 0xFF);         // properties, but no graphic
    grid->HideRow(5);
    for (int c : {2, 3}) {
        bool state = false;
        EXPECT_FALSE(grid->GetCheckBoxState(c, 5, state)) << c;
        EXPECT_FALSE(state);
        EXPECT_FALSE(grid->IsChecked(c, 5));
        EXPECT_FALSE(grid->SetCheckBoxState(c, 5, false)) << c;
    }
    EXPECT_EQ(grid->GetCellsEx(2, 6), "Y");
    EXPECT_TRUE(grid->IsChecked(2, 6));
}

TEST_F(ChecksTest, CheckAllTakesShownRowsAndReportsOnlyChanges)
{
    grid->AddCheckBoxColumn(2, false, true);
    grid->SetCheckBoxState(2, 4, true);
    grid->HideRow(3);
    grid->CheckAll(2);
    for (int r = 1; r < grid->TotalRowCount(); ++r)
        EXPECT_EQ(grid->IsChecked(2, r), r != 3) << r;
    // Display rows 1 .. 8; real row 4 (display 3) was checked already.
    std::vector<std::tuple<int, int, bool>> want;
    for (int r = 1; r < grid->RowCount(); ++r)
        if (r != 3)
            want.emplace_back(2, r, true);
    EXPECT_EQ(changes, want);

    changes.clear();
    grid->UnCheckAll(2);
    want.clear();
    for (int r = 1; r < grid->RowCount(); ++r)
        want.emplace_back(2, r, false);
    EXPECT_EQ(changes, want);
    for (int r = 1; r < grid->TotalRowCount(); ++r)
        EXPECT_FALSE(grid->IsChecked(2, r)) << r;
    EXPECT_FALSE(grid->ChangeCheckBoxState(1, 1, true)); // no check box
}

// ---- toggling -------------------------------------------------------------------------------

TEST_F(ChecksTest, ToggleStepsEachKindAndReportsWhatItShows)
{
    grid->AddCheckBox(1, 1, false, false);
    grid->AddCheckBox(2, 1, false, true);
    grid->AddCheckBox(3, 1, TCheckBoxState::cbUnchecked);
    auto tri = [&] {
        TCheckBoxState s{};
        grid->GetCheckBoxState(3, 1, s);
        return s;
    };
    const std::vector<TCheckBoxState> cycle = {TCheckBoxState::cbGrayed, TCheckBoxState::cbChecked,
                                               TCheckBoxState::cbUnchecked,
                                               TCheckBoxState::cbGrayed};
    for (size_t i = 0; i < cycle.size(); ++i) {
        changes.clear();
        for (int c = 1; c <= 3; ++c)
            EXPECT_TRUE(grid->ToggleCheckBox(c, 1));
        const bool on = i % 2 == 0;
        EXPECT_EQ(grid->IsChecked(1, 1), on);
        EXPECT_EQ(grid->GetCellEx(2, 1), on ? "Y" : "N");
        EXPECT_EQ(tri(), cycle[i]);
        const std::vector<std::tuple<int, int, bool>> want = {
            {1, 1, on}, {2, 1, on}, {3, 1, cycle[i] == TCheckBoxState::cbChecked}};
        EXPECT_EQ(changes, want) << i;
    }
    changes.clear();
    grid->SetCellEx(4, 1, QStringLiteral("Y"));
    grid->AddRadioButton(4, 2, false);
    EXPECT_FALSE(grid->ToggleCheckBox(4, 1)); // text only
    EXPECT_FALSE(grid->ToggleCheckBox(4, 2)); // radio buttons are selected, not toggled
    EXPECT_FALSE(grid->ToggleCheckBox(4, 99));
    EXPECT_TRUE(changes.empty());
}

TEST_F(ChecksTest, ToggleAsksCanEditUnlessCheckBoxesAreAlwaysActive)
{
    grid->AddCheckBox(1, 1, false, false);
    bool allow = false;
    int asked = 0;
    grid->OnCanEditCell = [&](QObject *, int, int, bool &can) {
        ++asked;
        can = allow;
    };
    EXPECT_FALSE(grid->DoToggleCheckBox(1, 1, true));
    EXPECT_FALSE(grid->IsChecked(1, 1));
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(asked, 1);

    EXPECT_TRUE(grid->DoToggleCheckBox(1, 1, false)); // no question
    EXPECT_EQ(asked, 1);
    grid->ControlLook()->SetCheckAlwaysActive(true);
    EXPECT_TRUE(grid->DoToggleCheckBox(1, 1, true));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(grid->IsChecked(1, 1));
    allow = true;
    grid->ControlLook()->SetCheckAlwaysActive(false);
    EXPECT_TRUE(grid->DoToggleCheckBox(1, 1, true));
    EXPECT_TRUE(grid->IsChecked(1, 1));
}

TEST_F(ChecksTest, RowCheckBoxToggleSelectsRowsAndLeavesTheText)
{
    grid->MouseActions()->SetHotmailRowSelect(true);
    grid->SetCellEx(0, 3, QStringLiteral("3"));
    EXPECT_TRUE(grid->HasDataCheckBox(0, 3));
    EXPECT_TRUE(grid->ToggleCheckBox(0, 3));
    EXPECT_TRUE(grid->GetRowSelect(3));
    EXPECT_EQ(grid->GetCellEx(0, 3), "3");
    EXPECT_TRUE(grid->IsChecked(0, 3));
    // The header box selects every row, then none.
    EXPECT_TRUE(grid->ToggleCheckBox(0, 0));
    for (int r = 1; r < grid->RowCount(); ++r)
        EXPECT_TRUE(grid->GetRowSelect(r)) << r;
    EXPECT_TRUE(grid->IsChecked(0, 0));
    EXPECT_TRUE(grid->ToggleCheckBox(0, 0));
    EXPECT_EQ(grid->RowSelectCount(), 0);
    EXPECT_TRUE(grid->SetCheckBoxState(0, 5, true));
    EXPECT_TRUE(grid->GetRowSelect(5));
    EXPECT_EQ(grid->GetCellEx(0, 0), "");
}

TEST_F(ChecksTest, UndoRestoresATextHeldStateButNeverALabel)
{
    TQrlGridUndoRedo undo;
    grid->SetUndoRedo(&undo);
    grid->AddCheckBox(2, 1, false, true);
    EXPECT_TRUE(grid->ToggleCheckBox(2, 1));
    EXPECT_TRUE(undo.CanUndo());
    undo.Undo();
    EXPECT_EQ(grid->GetCellEx(2, 1), "N");
    undo.Redo();
    EXPECT_EQ(grid->GetCellEx(2, 1), "Y");

    undo.Reset();
    grid->SetCellEx(1, 1, QStringLiteral("Enabled"));
    grid->AddCheckBox(1, 1, false, false);
    EXPECT_TRUE(grid->ToggleCheckBox(1, 1));
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_EQ(grid->GetCellEx(1, 1), "Enabled");
    grid->SetUndoRedo(nullptr);
}

// ---- radio buttons and groups -------------------------------------------------------------------

TEST_F(ChecksTest, SelectingARadioButtonSwitchesOffTheRestOfItsColumn)
{
    grid->AddRadioButton(2, 0, true); // a fixed row
    grid->AddRadioButtonColumn(2);
    grid->AddRadioButton(3, 4, true); // another column stays
    EXPECT_EQ(grid->GetRadioButtonColumnIndex(2), -1);
    grid->SetRadioButtonState(2, 6, true);
    grid->HideRow(6);

    EXPECT_TRUE(grid->DoSelectRadioButton(2, 4, false));
    EXPECT_TRUE(grid->IsRadioButtonChecked(2, 4));
    EXPECT_FALSE(grid->IsRadioButtonChecked(2, 0));
    EXPECT_TRUE(grid->IsRadioButtonChecked(3, 4));
    grid->UnHideRow(6);
    for (int r = 0; r < grid->RowCount(); ++r)
        EXPECT_EQ(grid->IsRadioButtonChecked(2, r), r == 4) << r;
    EXPECT_EQ(grid->GetRadioButtonColumnIndex(2), 4);
    EXPECT_TRUE(grid->DoSelectRadioButton(2, 4, false)); // already on
    EXPECT_FALSE(grid->DoSelectRadioButton(1, 4, false));
    EXPECT_TRUE(changes.empty());

    grid->AddRadioButton(2, 7, false);
    grid->SetReadOnly(2, 7, true);
    EXPECT_FALSE(grid->DoSelectRadioButton(2, 7, true));
    grid->ControlLook()->SetCheckAlwaysActive(true);
    EXPECT_TRUE(grid->DoSelectRadioButton(2, 7, true));
    EXPECT_EQ(grid->GetRadioButtonColumnIndex(2), 7);
}

TEST_F(ChecksTest, ColumnIndexSetsEachButtonAndStateLeavesOthers)
{
    grid->AddRadioButtonColumn(1);
    grid->SetRadioButtonColumnIndex(1, 5);
    EXPECT_EQ(grid->GetRadioButtonColumnIndex(1), 5);
    EXPECT_TRUE(grid->SetRadioButtonState(1, 2, true));
    EXPECT_TRUE(grid->IsRadioButtonChecked(1, 5)); // not switched off
    EXPECT_EQ(grid->GetRadioButtonColumnIndex(1), 2);
    EXPECT_FALSE(grid->SetRadioButtonState(2, 2, true));
    grid->RemoveRadioButtonColumn(1);
    for (int r = 0; r < grid->RowCount(); ++r)
        EXPECT_FALSE(grid->HasRadioButton(1, r)) << r;
}

TEST_F(ChecksTest, RadioGroupStepsAndWraps)
{
    struct Case
    {
        int index;
        const char *text;
        int nextIndex; // CellIndex afterwards
        int var;
        const char *nextText;
    };
    const Case cases[] = {
        {2, "c", 0, 0, "a"},   // past the last item
        {0, "a", 1, 1, "b"},   //
        {-1, "b", 2, 2, "c"},  // the text gives the position
        {-1, "zz", 0, 0, "a"}, // an unknown text starts over
        {-2, "a", -2, 1, "b"}, // the index stays out of CellIndex
    };
    for (const Case &c : cases) {
        TCellGraphic *g = grid->CreateCellGraphic(2, 2);
        g->SetCellType(TCellType::ctRadio);
        g->SetCellBitmap(TCellRef::Object(
            new QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
        g->SetCellCreated(true);
        g->SetCellIndex(c.index);
        grid->SetCellEx(2, 2, QString::fromLatin1(c.text));
        ASSERT_TRUE(grid->AdvanceRadio(2, 2, false)) << c.index;
        EXPECT_EQ(g->CellIndex(), c.nextIndex) << c.index << c.text;
        EXPECT_EQ(g->CellVar().toInt(), c.var) << c.index << c.text;
        EXPECT_EQ(grid->GetCellEx(2, 2), QString::fromLatin1(c.nextText));
    }
    // A group without items does not step.
    TCellGraphic *g = grid->CreateCellGraphic(3, 2);
    g->SetCellType(TCellType::ctRadio);
    grid->SetCellEx(3, 2, QStringLiteral("x"));
    EXPECT_FALSE(grid->AdvanceRadio(3, 2, false));
    EXPECT_EQ(grid->GetCellEx(3, 2), "x");
    grid->AddCheckBox(1, 2, false, false);
    EXPECT_FALSE(grid->AdvanceRadio(1, 2, false));
}

TEST_F(ChecksTest, PreciseHitTestKeepsToTheGlyph)
{
    grid->resize(400, 300);
    grid->AddCheckBox(1, 1, false, false);
    const TRect r = grid->CellRect(1, 1);
    ASSERT_GT(r.Width(), 20);
    EXPECT_TRUE(grid->IsInCheckBox(1, 1, r.Right - 1, r.Bottom - 1));
    EXPECT_FALSE(grid->IsInCheckBox(2, 1, r.Left + 3, r.Top + 3));

    grid->MouseActions()->SetPreciseCheckBoxCheck(true);
    const int size = grid->ControlLook()->CheckSize();
    EXPECT_TRUE(grid->IsInCheckBox(1, 1, r.Left + 3, r.Top + 3));
    EXPECT_TRUE(grid->IsInCheckBox(1, 1, r.Left + 2 + size - 1, r.Top + 2 + size - 1));
    EXPECT_FALSE(grid->IsInCheckBox(1, 1, r.Left + 2 + size + 1, r.Top + 3));
    EXPECT_FALSE(grid->IsInCheckBox(1, 1, r.Left + 3, r.Top + 2 + size + 1));
}

TEST(ChecksLifetime, DestroyingFreesCheckCellsInShownAndHiddenRows)
{
    // Run under the leak checker.
    auto g = std::make_unique<TQrlStringGrid>();
    g->AddCheckBoxColumn(1, true, true);
    g->AddTriStateCheckBoxColumn(2, TCheckBoxState::cbGrayed);
    g->AddRadioButtonColumn(3);
    TCellGraphic *radio = g->CreateCellGraphic(4, 4);
    radio->SetCellType(TCellType::ctRadio);
    radio->SetCellBitmap(TCellRef::Object(new QStringList{QStringLiteral("a")}));
    radio->SetCellCreated(true);
    g->HideRows(3, 5);
    EXPECT_TRUE(g->SetCheckBoxState(1, 4, false));
    g.reset();
}

} // namespace
