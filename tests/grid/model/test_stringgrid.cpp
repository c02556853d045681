// The string grid's model: defaults, hooks, cell access, typed values, properties and the
// graphic model routines.
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlGridSettings.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlStringGrid.h"
#include "grid/model/QrlStringGridCheck.h"
#include "platform/ui/Canvas.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using plat::TGridOption;
using plat::TGridRect;

namespace {

class StringGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OverrideGridRegionalSettings(TGridRegionalSettings{u',', u'/', u':', "M/d/yyyy"});
        grid = std::make_unique<TQrlStringGrid>();
    }
    void TearDown() override
    {
        grid.reset();
        OverrideGridRegionalSettings(std::nullopt);
    }
    std::unique_ptr<TQrlStringGrid> grid;
};

TEST_F(StringGridTest, NewGridHasTheDocumentedDefaults)
{
    EXPECT_EQ(grid->RowCount(), 10);
    EXPECT_EQ(grid->ColCount(), 5);
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(grid->FixedCols(), 1);
    EXPECT_EQ(grid->DefaultRowHeight(), 22);
    EXPECT_EQ(grid->FixedRowHeight(), 22);
    EXPECT_EQ(grid->CheckTrue(), "Y");
    EXPECT_EQ(grid->CheckFalse(), "N");
    EXPECT_EQ(grid->FloatFormat(), "%.2f");
    EXPECT_EQ(grid->PasswordChar(), QChar('*'));
    EXPECT_EQ(grid->XMLEncoding(), "ISO-8859-1");
    EXPECT_EQ(grid->FilterDropDownClear(), "(All)");
    EXPECT_TRUE(grid->EnableHTML());
    EXPECT_TRUE(grid->WordWrap());
    EXPECT_TRUE(grid->ShowNullDates());
    EXPECT_TRUE(grid->SaveFixedCells());
    EXPECT_FALSE(grid->SaveHiddenCells());
    EXPECT_EQ(grid->Look(), TGridLook::glXP);
    EXPECT_EQ(grid->SelectionColor(), 0xEACAB6u);
    EXPECT_EQ(grid->ActiveCellColor(), 0x808080u);
    EXPECT_EQ(grid->URLColor(), 0xFF0000u);
    EXPECT_EQ(grid->SelectionColorMixerFactor(), 50);
    EXPECT_EQ(grid->XYOffset().X, 2);
    EXPECT_EQ(grid->GroupColumn(), -1);
    EXPECT_EQ(grid->InvalidEntryIcon(), TInvalidEntryIcon::ieWarning);
    EXPECT_EQ(grid->width(), 400);
    EXPECT_EQ(grid->height(), 250);
    EXPECT_EQ(grid->UpdateCount(), 0);
}

TEST(StringGridEnums, OrdinalsFollowTheDeclarationOrder)
{
    EXPECT_EQ(static_cast<int>(TCellType::ctNone), 2);
    EXPECT_EQ(static_cast<int>(TCellType::ctExpand), 32);
    EXPECT_EQ(static_cast<int>(TEditorType::edDataCheckBox), 10);
    EXPECT_EQ(static_cast<int>(TEditorType::edMaskEditBtn), 42);
    EXPECT_EQ(static_cast<int>(TSortStyle::ssRaw), 12);
    EXPECT_EQ(static_cast<int>(TSortStyle::ssAlphaNumericNoCase), 19);
    EXPECT_EQ(static_cast<int>(TGridLook::glCustom), 9);
    EXPECT_EQ(static_cast<int>(TQuorlStyle::tsWindowsXP), 6);
    EXPECT_EQ(static_cast<int>(TQuorlStyle::tsOffice2010Black), 15);
    EXPECT_EQ(static_cast<int>(TCellVAlign::vaFull), 5);
    EXPECT_EQ(static_cast<int>(TCellHAlign::haAfterText), 4);
}

TEST_F(StringGridTest, AfterLoadMovesAlwaysShowEditorToNavigationAndKeepsTheLook)
{
    grid->SetLoading(true);
    grid->SetOptions(grid->Options() + TGridOption::goAlwaysShowEditor);
    grid->SetLook(TGridLook::glQuorl);
    grid->AfterLoadHook();
    EXPECT_FALSE(grid->Options().Contains(TGridOption::goAlwaysShowEditor));
    EXPECT_TRUE(grid->Navigation()->AlwaysEdit());
    EXPECT_EQ(grid->Look(), TGridLook::glQuorl);
    EXPECT_TRUE(grid->Loaded());
    EXPECT_EQ(grid->MinColWidth(), 10);
    EXPECT_EQ(grid->MinRowHeight(), 22);
}

TEST_F(StringGridTest, IntegralHeightCutsToWholeRows)
{
    grid->SetIntegralHeight(true);
    grid->SetBounds(0, 0, 400, 100);
    // t = 100 - 0 - 2 = 98, less 98 mod 22 = 88; 88 + 2 * 2.
    EXPECT_EQ(grid->height(), 92);
}

TEST_F(StringGridTest, AssignTakesOnlyAnotherStringGrid)
{
    QWidget other;
    grid->SetCells(1, 1, "keep");
    grid->Assign(&other);
    grid->Assign(nullptr);
    EXPECT_EQ(grid->RowCount(), 10);
    EXPECT_EQ(grid->GetCellEx(1, 1), "keep");

    TQrlStringGrid src;
    src.SetRowCount(4);
    src.SetColCount(3);
    src.SetCellEx(2, 3, "copied");
    src.SetCheckTrue("T");
    grid->Assign(&src);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->GetCellEx(2, 3), "copied");
}

// ---- hooks ------------------------------------------------------------------------------------

TEST_F(StringGridTest, CellChangingEventsShareOneAllowFlag)
{
    grid->SetCol(1);
    grid->SetRow(1);
    QStringList calls;
    grid->OnRowChanging = [&](QObject *, int from, int to, bool &allow) {
        calls << QStringLiteral("row %1>%2").arg(from).arg(to);
        allow = false;
    };
    grid->OnColChanging = [&](QObject *, int from, int to, bool &) {
        calls << QStringLiteral("col %1>%2").arg(from).arg(to);
    };
    grid->OnCellChanging = [&](QObject *, int r0, int c0, int r1, int c1, bool &allow) {
        calls << QStringLiteral("cell %1,%2>%3,%4 %5").arg(r0).arg(c0).arg(r1).arg(c1).arg(allow);
    };
    bool allow = true;
    grid->DoCellChanging(3, 2, allow);
    EXPECT_FALSE(allow);
    EXPECT_EQ(calls, QStringList({"row 1>2", "col 1>3", "cell 1,1>2,3 0"}));

    // Same row: only the column and cell events; the grid's own moves keep the cell event quiet.
    calls.clear();
    grid->SetDisableChange(true);
    allow = true;
    grid->DoCellChanging(2, 1, allow);
    EXPECT_TRUE(allow);
    EXPECT_EQ(calls, QStringList({"col 1>2"}));
}

TEST_F(StringGridTest, WideHintWinsOverThePlainHint)
{
    grid->OnGridHint = [](QObject *, int, int, QString &h) { h = "plain"; };
    QString hint;
    grid->QueryCellHint(1, 1, hint);
    EXPECT_EQ(hint, "plain");
    grid->OnGridWideHint = [](QObject *, int, int, QString &h) { h = "wide"; };
    grid->QueryCellHint(1, 1, hint);
    EXPECT_EQ(hint, EncodeWideCellText("wide"));
}

TEST_F(StringGridTest, CellColourAppliesOnlyWithoutAGraphicOfItsOwn)
{
    grid->SetColors(1, 1, 0x0000FF);
    grid->SetColors(2, 1, 0x0000FF);
    grid->CreateCellGraphic(2, 1)->SetCheckBox(true, false, false, TCellHAlign::haLeft,
                                               TCellVAlign::vaTop);
    TBrush b1, b2;
    b1.SetColor(clWhite);
    b2.SetColor(clWhite);
    TFont f;
    grid->QueryCellColor(1, 1, &f, &b1, {});
    grid->QueryCellColor(2, 1, &f, &b2, {});
    EXPECT_EQ(b1.Color(), 0x0000FFu);
    EXPECT_EQ(b2.Color(), clWhite);
}

TEST_F(StringGridTest, GroupHeaderRowsReportOnlyABottomBorder)
{
    grid->Grouping()->SetHeaderUnderline(true);
    grid->CreateCellGraphic(0, 3)->SetCellType(TCellType::ctNode);
    TPen pen;
    for (int c = 0; c < grid->ColCount(); ++c) {
        TCellBorders b{TCellBorder::cbLeft, TCellBorder::cbTop};
        grid->QueryCellBorder(c, 3, &pen, b);
        if (c == 0)
            EXPECT_TRUE(b.Contains(TCellBorder::cbLeft));
        else
            EXPECT_EQ(b, TCellBorders{TCellBorder::cbBottom}) << c;
    }
}

TEST_F(StringGridTest, ReadOnlyCellsRefuseEditingUnlessTheEventAllows)
{
    grid->SetOptions(grid->Options() + TGridOption::goEditing);
    grid->SetReadOnly(2, 2, true);
    bool can = true;
    grid->QueryCanEdit(2, 2, can);
    EXPECT_FALSE(can);
    grid->OnCanEditCell = [](QObject *, int, int, bool &c) { c = true; };
    can = true;
    grid->QueryCanEdit(2, 2, can);
    EXPECT_TRUE(can);
}

TEST_F(StringGridTest, SpinButtonsNeverShowInFixedCells)
{
    int asked = 0;
    grid->OnHasSpinEdit = [&](QObject *, int, int, bool &h) {
        ++asked;
        h = true;
    };
    EXPECT_FALSE(grid->QueryHasSpin(0, 3));
    EXPECT_FALSE(grid->QueryHasSpin(2, 0));
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(grid->QueryHasSpin(2, 3));
}

TEST_F(StringGridTest, FixedRowAlwaysKeepsTheMinimumRowsFixed)
{
    bool fixed = false;
    grid->QueryFixedCell(2, 0, fixed);
    EXPECT_TRUE(fixed);
    int events = 0;
    grid->OnIsFixedCell = [&](QObject *, int, int, bool &) { ++events; };
    fixed = false;
    grid->QueryFixedCell(2, 2, fixed);
    EXPECT_FALSE(fixed);
    EXPECT_EQ(events, 1);
}

// ---- cell access ------------------------------------------------------------------------------

TEST_F(StringGridTest, CellAccessByRealRow)
{
    grid->SetCellEx(1, 1, "a");
    EXPECT_EQ(grid->GetCellsEx(-1, 0), "");
    EXPECT_EQ(grid->GetCellsEx(0, -1), "");
    EXPECT_EQ(grid->GetCellsEx(1, 1), "a");
    grid->SetCellsEx(2, 2, "b");
    EXPECT_EQ(grid->GetCellEx(2, 2), "b");
    EXPECT_EQ(grid->SortedRowIndex(3), 3);
    EXPECT_EQ(grid->UnSortedRowIndex(3), 3);
}

TEST_F(StringGridTest, AttributeReadersCreateNoProperties)
{
    EXPECT_EQ(grid->GetColors(2, 2), clNone);
    EXPECT_EQ(grid->GetFontSizes(2, 2), 0);
    EXPECT_FALSE(grid->GetReadOnly(2, 2));
    EXPECT_EQ(grid->GetAlignments(2, 2), TAlignment::taLeftJustify);
    EXPECT_FALSE(grid->HasCellProperties(2, 2));
    EXPECT_TRUE(grid->GetWordWraps(2, 2)); // seeded from the grid
    EXPECT_TRUE(grid->HasCellProperties(2, 2));
}

TEST_F(StringGridTest, RowColoursWithNoneDropProperties)
{
    for (int c = 1; c < 5; ++c) {
        grid->SetAlignments(c, 3, TAlignment::taCenter);
        grid->SetReadOnly(c, 3, true);
    }
    grid->SetRowColorTo(3, clNone);
    for (int c = 1; c < 5; ++c)
        EXPECT_FALSE(grid->HasCellProperties(c, 3)) << c;

    // Cells with a background colour keep their properties.
    grid->SetColors(1, 4, clRed);
    grid->SetFontColors(1, 4, clBlue);
    grid->SetRowFontColor(4, clNone);
    EXPECT_EQ(grid->GetColors(1, 4), clRed);
    EXPECT_EQ(grid->GetFontColors(1, 4), clBlue);

    // Without a colour, a cell holding a plain graphic loses its properties, others keep them.
    grid->CreateCellGraphic(1, 5);
    grid->SetReadOnly(2, 5, true);
    grid->SetRowColor(5, clNone);
    EXPECT_FALSE(grid->HasCellProperties(1, 5));
    EXPECT_TRUE(grid->GetReadOnly(2, 5));
    EXPECT_EQ(grid->GetColors(2, 5), clNone);
}

TEST_F(StringGridTest, CellControlsAreCounted)
{
    grid->SetCellControls(1, 1, nullptr);
    EXPECT_TRUE(grid->HasCellProperties(1, 1));
    EXPECT_EQ(grid->NumCellControls(), 0);
    auto *w = new QWidget;
    grid->SetCellControls(1, 1, w);
    EXPECT_EQ(grid->NumCellControls(), 1);
    EXPECT_EQ(grid->GetCellControls(1, 1), w);
    grid->SetCellControls(1, 1, w); // replacing keeps one
    EXPECT_EQ(grid->NumCellControls(), 1);
    grid->SetCellControls(1, 1, nullptr);
    EXPECT_EQ(grid->NumCellControls(), 0);
    delete w;
}

TEST_F(StringGridTest, ZoomStopsAtTen)
{
    const int w0 = grid->ColWidths(1);
    const int h0 = grid->RowHeights(1);
    for (int k = 0; k < 4; ++k)
        grid->Zoom(3);
    EXPECT_EQ(grid->ZoomFactor(), 9);
    EXPECT_EQ(grid->ColWidths(1), w0 + 9);
    EXPECT_EQ(grid->RowHeights(1), h0 + 9);
}

// ---- typed values -----------------------------------------------------------------------------

TEST_F(StringGridTest, IntegerCells)
{
    struct Case
    {
        const char *text;
        int value;
        bool raises;
    } cases[] = {
        {" 42 ", 42, false},
        {"-", 0, false},
        {"", 0, false},
        {"$1F", 31, false},
        {"0x10", 16, false},
        {"-7", -7, false},
        {"<b>7</b>", 7, false},
        {"4.5", 0, true},
        {"12 kg", 0, true},
        {"2147483648", 0, true},
        {"-2147483648", -2147483647 - 1, false},
        {"$", 0, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        grid->SetCellEx(1, 1, c.text);
        if (c.raises)
            EXPECT_THROW(grid->GetInts(1, 1), EQrlGridError);
        else {
            int v = 0;
            EXPECT_NO_THROW(v = grid->GetInts(1, 1));
            EXPECT_EQ(v, c.value);
        }
    }
    grid->SetCellEx(1, 1, "<b>7</b>");
    EXPECT_THROW(grid->GetAllInts(1, 1), EQrlGridError); // tags are not stripped there
    try {
        grid->SetCellEx(1, 1, "x1y");
        grid->GetInts(1, 1);
        FAIL();
    } catch (const EQrlGridError &e) {
        EXPECT_STREQ(e.what(), "Cell does not contain integer value");
    }
}

TEST_F(StringGridTest, FloatCells)
{
    struct Case
    {
        const char *text;
        double value;
        bool raises;
    } cases[] = {
        {"1,234.50", 1234.5, false}, {"(12.5)", -12.5, false}, {"12.5 kg", 12.5, false},
        {"abc", 0, false},           {"test", 0, true},        {"", 0, false},
    };
    for (const Case &c : cases) {
        grid->SetCellEx(1, 1, c.text);
        if (c.raises)
            EXPECT_THROW(grid->GetFloats(1, 1), EQrlGridError) << c.text;
        else
            EXPECT_DOUBLE_EQ(grid->GetFloats(1, 1), c.value) << c.text;
    }
    grid->SetFloats(2, 2, 3.14159);
    EXPECT_EQ(grid->GetCellEx(2, 2), "3.14");
    grid->SetFloatFormat("%s %s"); // a format that does not fit the value is refused
    EXPECT_THROW(grid->SetFloats(2, 2, 1.0), EQrlGridError);
    EXPECT_EQ(grid->GetCellEx(2, 2), "3.14");
}

TEST_F(StringGridTest, DatesAndTimes)
{
    grid->SetDates(1, 1, 0);
    EXPECT_EQ(grid->GetCellEx(1, 1), "12/30/1899");
    grid->SetShowNullDates(false);
    grid->SetDates(1, 1, 0);
    EXPECT_EQ(grid->GetCellEx(1, 1), "");
    grid->SetDates(1, 1, qrlEncodeDate(2026, 12, 10));
    EXPECT_EQ(grid->GetCellEx(1, 1), "12/10/2026");
    EXPECT_DOUBLE_EQ(grid->GetDates(1, 1), qrlEncodeDate(2026, 12, 10));
    grid->SetTimes(2, 1, 0.75);
    EXPECT_EQ(grid->GetCellEx(2, 1), "18:00:00");
    EXPECT_DOUBLE_EQ(grid->GetTimes(2, 1), 0.75);
    grid->SetCellEx(2, 1, "noon");
    EXPECT_THROW(grid->GetTimes(2, 1), EQrlConvertError);

    // A day-first user gets day-first dates.
    OverrideGridRegionalSettings(TGridRegionalSettings{u'.', u'.', u':', "dd.MM.yyyy"});
    grid->SetDates(1, 1, qrlEncodeDate(2026, 3, 4));
    EXPECT_EQ(grid->GetCellEx(1, 1), "04.03.2026");
}

TEST_F(StringGridTest, HighlightingInAColumnFollowsLetterCase)
{
    grid->SetCellEx(2, 1, "Abc");
    grid->SetCellEx(2, 2, "cab");
    grid->HilightInCol(false, true, 2, "ab");
    EXPECT_EQ(grid->GetCellEx(2, 1), "Abc");
    EXPECT_EQ(grid->GetCellEx(2, 2), "c<hi>ab</hi>");
    grid->UnHilightInCol(false, 2);
    grid->HilightInCol(false, false, 2, "ab");
    EXPECT_EQ(grid->GetCellEx(2, 1), "<hi>Ab</hi>c");
    grid->UnHilightInCol(false, 2);
    EXPECT_EQ(grid->GetCellEx(2, 1), "Abc");
    EXPECT_EQ(grid->GetCellEx(2, 2), "cab");
}

TEST_F(StringGridTest, FillsAndHeaders)
{
    grid->LinearFill(false);
    EXPECT_EQ(grid->GetCellEx(1, 1), "1:1");
    EXPECT_EQ(grid->GetCellEx(3, 2), "3:2");
    EXPECT_EQ(grid->GetCellEx(0, 0), "");
    grid->FormatFill(false, "r%1:d c%0:d");
    EXPECT_EQ(grid->GetCellEx(3, 2), "r2 c3");
    EXPECT_THROW(grid->FormatFill(false, "%s%s%s"), EQrlGridError);

    grid->SetColumnHeaders({"Line\\nTwo", "B"});
    EXPECT_EQ(grid->GetLinesInCell(0, 0), 2);
    EXPECT_EQ(grid->GetCellEx(1, 0), "B");
    TQrlStringGrid noFixed;
    noFixed.SetFixedRows(0);
    noFixed.SetColumnHeaders({"A"});
    EXPECT_EQ(noFixed.GetCellEx(0, 0), "");
}

TEST_F(StringGridTest, CheckingWithoutACheckerChangesNothing)
{
    grid->SetCellEx(1, 1, "text");
    EXPECT_TRUE(grid->CheckGrid(false));
    EXPECT_EQ(grid->GetCellEx(1, 1), "text");

    struct Upper : TQrlStringGridCheck
    {
        void Correct(int, int, QString &Text, const QString &) override { Text = Text.toUpper(); }
    } checker;
    grid->SetCellChecker(&checker);
    grid->SetCellEx(2, 2, "OK");
    EXPECT_FALSE(grid->CheckGrid(false)); // "text" was corrected
    EXPECT_EQ(grid->GetCellEx(1, 1), "TEXT");
    EXPECT_TRUE(grid->CheckGrid(false));
}

// ---- grid properties --------------------------------------------------------------------------

TEST_F(StringGridTest, RowCountAndFixedRowRules)
{
    grid->SetRowCount(0);
    EXPECT_EQ(grid->RowCount(), 1);
    EXPECT_EQ(grid->FixedRows(), 0);

    TQrlStringGrid g;
    g.SetFixedRowAlways(true);
    g.SetRowCount(3);
    g.SetFixedRows(5); // too many: lowered, the request remembered
    EXPECT_EQ(g.FixedRows(), 2);
    g.SetFixedRows(1);
    g.SetRowCount(1);
    EXPECT_EQ(g.FixedRows(), 1); // the header row stays the header
    g.SetRowCount(5);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.MaxRowCount(), 10);

    TQrlStringGrid h;
    h.SetRowCount(3);
    EXPECT_THROW(h.SetFixedRows(5), std::exception);
    h.SetFixedRows(1);
    h.SetRowCount(1);
    EXPECT_EQ(h.FixedRows(), 0); // without FixedRowAlways the last row is a data row
}

// A grid with FixedRowAlways whose rows fell to its header row alone: the platform keeps no
// fixed row then, but the header must not become data for the grid's own operations.
TEST_F(StringGridTest, AHeaderRowLeftAloneStaysOutOfTheData)
{
    struct Case
    {
        const char *name;
        std::function<void(TQrlStringGrid &)> act;
        std::function<bool(TQrlStringGrid &)> headerUntouched;
    };
    const Case cases[] = {
        {"check box column", [](TQrlStringGrid &g) { g.AddCheckBoxColumn(1); },
         [](TQrlStringGrid &g) { return !g.HasCheckBox(1, 0); }},
        {"radio button column", [](TQrlStringGrid &g) { g.AddRadioButtonColumn(1); },
         [](TQrlStringGrid &g) { return !g.HasRadioButton(1, 0); }},
        {"clearing the normal cells", [](TQrlStringGrid &g) { g.ClearNormalCells(); },
         [](TQrlStringGrid &g) { return g.GetCellEx(1, 0) == "Name"; }},
        {"clearing normal columns", [](TQrlStringGrid &g) { g.ClearNormalCols(0, 3); },
         [](TQrlStringGrid &g) { return g.GetCellEx(1, 0) == "Name"; }},
        {"highlighting in a column",
         [](TQrlStringGrid &g) { g.HilightInCol(false, false, 1, "Na"); },
         [](TQrlStringGrid &g) { return g.GetCellEx(1, 0) == "Name"; }},
        {"column headers",
         [](TQrlStringGrid &g) {
             g.SetColumnHeaders({"#", "Title", "Type"});
         },
         [](TQrlStringGrid &g) { return g.GetCellEx(1, 0) == "Title"; }},
        {"rows a file writer saves", [](TQrlStringGrid &g) { g.SetSaveFixedCells(false); },
         [](TQrlStringGrid &g) { return g.SaveStartRow() == 1 && g.SaveRowCount() == 0; }},
        {"spin editor query",
         [](TQrlStringGrid &g) {
             g.OnHasSpinEdit = [](QObject *, int, int, bool &has) { has = true; };
         },
         [](TQrlStringGrid &g) { return !g.QueryHasSpin(1, 0); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TQrlStringGrid g;
        g.SetColCount(3);
        g.SetFixedRowAlways(true);
        g.SetFixedRows(1);
        g.SetRowCount(1);
        g.SetCellEx(1, 0, "Name");
        ASSERT_EQ(g.FixedRows(), 1);
        c.act(g);
        EXPECT_TRUE(c.headerUntouched(g));
    }
}

TEST_F(StringGridTest, RowFlagsOfAGridOfItsHeaderRowOnlyAreTakenWithoutAnError)
{
    TQrlStringGrid g;
    g.SetFixedRowAlways(true);
    g.SetRowCount(1);
    g.MouseActions()->SetDisjunctRowSelect(true);
    EXPECT_NO_THROW(g.SetRowSelect(1, true));
    EXPECT_NO_THROW(g.SetRowSelect(4, true));
    EXPECT_TRUE(g.GetRowSelect(0) == false);
    // The rows come back: the flags are kept, the header again fixed.
    g.SetRowCount(6);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_TRUE(g.GetRowSelect(4));
    EXPECT_THROW(g.SetRowSelect(6, true), EQrlGridError);
}

TEST_F(StringGridTest, ColChangesOnlyWhenDifferent)
{
    int clicks = 0;
    grid->OnClick = [&](QObject *) { ++clicks; };
    grid->SetCol(grid->Col());
    EXPECT_EQ(clicks, 0);
    EXPECT_THROW(grid->SetCol(grid->ColCount()), std::exception);
}

TEST_F(StringGridTest, UpdateLockingCountsOnlyOnAVisibleGrid)
{
    grid->BeginUpdate();
    grid->EndUpdate();
    EXPECT_EQ(grid->UpdateCount(), 0);
    grid->show();
    grid->BeginUpdate();
    grid->BeginUpdate();
    grid->EndUpdate();
    EXPECT_TRUE(grid->LockUpdate());
    grid->EndUpdate();
    EXPECT_FALSE(grid->LockUpdate());
    grid->EndUpdate(); // never below zero
    EXPECT_EQ(grid->UpdateCount(), 0);
    grid->StartUpdate();
    grid->StartUpdate();
    grid->ResetUpdate();
    EXPECT_EQ(grid->UpdateCount(), 0);
}

TEST_F(StringGridTest, IncrementalSearchTextExpiresOnTheFourthTick)
{
    grid->Navigation()->SetAutoGotoIncremental(true);
    grid->SetSearchInc("ab");
    grid->SetSearchTics(0);
    for (int k = 0; k < 3; ++k)
        grid->GridTimerTick();
    EXPECT_EQ(grid->SearchInc(), "ab");
    grid->GridTimerTick();
    EXPECT_EQ(grid->SearchInc(), "");
}

TEST_F(StringGridTest, PlainSetterRules)
{
    grid->SetSelectionColorMixerFactor(150);
    EXPECT_EQ(grid->SelectionColorMixerFactor(), 100);
    grid->SetSelectionColorMixerFactor(-5);
    EXPECT_EQ(grid->SelectionColorMixerFactor(), 0);
    grid->SetVAlignment(TVAlignment::vtaCenter);
    EXPECT_EQ(grid->VAlignmentFlag(), 4u);
    grid->SetVAlignment(TVAlignment::vtaBottom);
    EXPECT_EQ(grid->VAlignmentFlag(), 8u);
    EXPECT_THROW(grid->GetPrintColWidth(512), EQrlGridError);
    EXPECT_THROW(grid->GetPrintColOffset(-1), EQrlGridError);
    EXPECT_EQ(grid->GetPrintColWidth(511), 0);
    grid->SetSpreadSheet(true);
    EXPECT_TRUE(grid->Options().Contains(TGridOption::goEditing));
    EXPECT_TRUE(grid->MouseActions()->RangeSelectAndEdit());
}

TEST(StringGridVersion, DottedFromTheMostSignificantByte)
{
    TQrlStringGrid plain;
    EXPECT_EQ(plain.GetVersionNr(), 100794627);
    EXPECT_EQ(plain.GetVersionString(), "6.2.1.3 Sep, 2012");
    struct Versioned : TQrlStringGrid
    {
        int GetVersionNr() const override { return 0x0A0B0C0D; }
    } g;
    EXPECT_EQ(g.Version(), "10.11.12.13");
}

// ---- graphic model ----------------------------------------------------------------------------

TEST_F(StringGridTest, CreatingAGraphicKeepsAnEmptyCellEmpty)
{
    TCellGraphic *g = grid->CreateCellGraphic(2, 2);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(grid->GetCellEx(2, 2), "");
    EXPECT_EQ(grid->GetCellType(2, 2), TCellType::ctNone);
    EXPECT_EQ(grid->GetCellGraphic(2, 2), g);
    TCellGraphic *g2 = grid->CreateCellGraphic(2, 2); // the old one is freed
    EXPECT_EQ(grid->GetCellGraphic(2, 2), g2);
    EXPECT_FALSE(grid->RemoveCellGraphicOfType(2, 2, TCellType::ctCheckBox));
    EXPECT_TRUE(grid->RemoveCellGraphicOfType(2, 2, TCellType::ctNone));
    EXPECT_FALSE(grid->RemoveCellGraphic(2, 2));
    EXPECT_EQ(grid->GetCellType(2, 2), TCellType::ctEmpty);
    EXPECT_EQ(grid->GetCellType(-1, 2), TCellType::ctEmpty);
}

TEST_F(StringGridTest, GraphicOfAMergedAreaIsItsBaseCells)
{
    grid->CreateCellGraphic(1, 1)->SetCellType(TCellType::ctCheckBox);
    grid->MergeCells(1, 1, 2, 2);
    EXPECT_TRUE(grid->HasGraphicOfType(2, 2, TCellTypes{TCellType::ctCheckBox}));
    EXPECT_FALSE(grid->HasGraphicOfType(2, 2, TCellTypes{TCellType::ctRadio}));
    EXPECT_FALSE(grid->HasGraphicOfType(-1, 2, TCellTypes{TCellType::ctCheckBox}));
}

TEST_F(StringGridTest, HotmailRowCheckBoxReflectsTheRowSelection)
{
    grid->MouseActions()->SetHotmailRowSelect(true);
    EXPECT_EQ(grid->GetCellType(0, 3), TCellType::ctRowCheckBox);
    grid->SetRowSelect(3, true);
    EXPECT_TRUE(grid->GetCellGraphic(0, 3)->CellBoolean());
    TCellGraphic *header = grid->GetCellGraphic(0, 0);
    EXPECT_EQ(header->CellAngle(), 1); // some rows selected
    EXPECT_FALSE(header->CellBoolean());
    for (int r = 1; r < grid->RowCount(); ++r)
        grid->SetRowSelect(r, true);
    header = grid->GetCellGraphic(0, 0);
    EXPECT_EQ(header->CellAngle(), 0);
    EXPECT_TRUE(header->CellBoolean());
    // The shared graphic is never freed with a cell.
    EXPECT_FALSE(grid->RemoveCellGraphic(0, 3));
}

TEST(StringGridLifetime, DestroyingFreesPropertiesMergesAndGraphics)
{
    // Run under the leak checker: everything below must be freed with the grid.
    auto g = std::make_unique<TQrlStringGrid>();
    g->SetRowCount(20);
    g->MergeCells(1, 1, 3, 2);
    g->SetColors(2, 5, clRed);
    g->CreateCellGraphic(3, 6)->SetCheckBox(true, false, false, TCellHAlign::haLeft,
                                            TCellVAlign::vaTop);
    g->SetCellEx(4, 19, "last");
    g->SetRowCount(10); // rows beyond are dropped with their properties
    g.reset();
    SUCCEED();
}

// A 5 x 5 grid with a merged 3 x 2 area, texts, colours and a check box, painted offscreen.
TEST(StringGridDemo, MergedAreaIsPaintedOnceWithItsBaseText)
{
    TQrlStringGrid g;
    g.SetRowCount(5);
    g.SetColCount(5);
    g.SetDefaultColWidth(60);
    g.SetDefaultRowHeight(24);
    g.resize(340, 160);
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c)
            g.SetCellEx(c, r, QStringLiteral("c%1r%2").arg(c).arg(r));
    g.SetColors(1, 1, 0x00FF00); // base cell: green
    g.SetColors(2, 2, 0x0000FF); // a covered cell: red, never shown
    g.MergeCells(1, 1, 3, 2);
    g.SetColors(4, 4, 0xFF0000);
    g.CreateCellGraphic(4, 3)->SetCheckBox(true, false, false, TCellHAlign::haLeft,
                                           TCellVAlign::vaTop);
    // The current cell shows the selection colour: keep it off the probed cells.
    g.SetCol(4);
    g.SetRow(3);
    g.show();

    QImage img(g.viewport()->size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    TCanvas cv(&img);
    cv.SetRecording(true);
    g.PaintTo(cv);
    cv.Flush();

    int baseTexts = 0, coveredTexts = 0;
    for (const auto &op : cv.Ops()) {
        if (op.kind != TCanvasOp::Kind::DrawText)
            continue;
        if (op.text == "c1r1")
            ++baseTexts;
        if (op.text == "c2r1" || op.text == "c2r2" || op.text == "c3r2" || op.text == "c1r2")
            ++coveredTexts;
    }
    EXPECT_EQ(baseTexts, 1);
    EXPECT_EQ(coveredTexts, 0);

    // The whole area shows the base cell's colour, the covered cell's own colour nowhere.
    const TRect area = g.CellRect(1, 1);
    EXPECT_EQ(area.Right - area.Left, 3 * 60);
    const QColor green(0, 255, 0);
    EXPECT_EQ(img.pixelColor(area.Right - 3, area.Bottom - 3), green);
    const TRect covered = g.CellRect(2, 2);
    EXPECT_EQ(img.pixelColor(covered.Left + 30, covered.Top + 20), green);
    const TRect blue = g.CellRect(4, 4);
    EXPECT_EQ(img.pixelColor(blue.Left + 40, blue.Top + 12), QColor(0, 0, 255));
}

} // namespace
