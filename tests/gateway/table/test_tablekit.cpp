// The kit the table dialogs are made of: column rows checked against the file they edit, the one
// reading of a row's cells the checks share, and the layout chosen once per dialog.
#include "gateway/table/UTableColumns.h"
#include "gateway/table/UTableDialog.h"
#include "gateway/table/UTableText.h"

#include "common/ULanguage.h"
#include "grid/model/QrlStringGrid.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TTableGroup group()
{
    TTableGroup g;
    g.KeyColumn = 1;
    g.Capacity = 3;
    g.Columns = {{"Enable", 1, "Y", false}, {"Name", 2, "", false}, {"Swap", 3, "N", false}};
    return g;
}

QVector<TColumnSpec> specs()
{
    namespace P = TablePalette;
    return {{.Attribute = "Enable",
             .Header = 915,
             .Hint = 922,
             .Width = 50,
             .Editor = TEditorType::edDataCheckBox,
             .Default = "Y",
             .Color = P::Enable},
            {.Attribute = "Name",
             .Header = 916,
             .Hint = 923,
             .Width = 120,
             .Editor = TEditorType::edComboList,
             .Combo = TTableCombo::tcItems,
             .Items = {"a", "b"},
             .Color = P::Subject},
            {.Attribute = "Swap",
             .Header = 942,
             .Hint = 944,
             .Width = 45,
             .Editor = TEditorType::edDataCheckBox,
             .Default = "N",
             .Color = P::Flag,
             .Hidden = true}};
}

TEST(TableColumns, RowsBecomeTheGridColumnsInOrder)
{
    const QVector<TTableGridColumn> cols = Table_Grid_Columns(group(), specs());
    ASSERT_EQ(cols.size(), 3);
    EXPECT_EQ(cols[0].Header, 915);
    EXPECT_EQ(cols[0].Hint, 922);
    EXPECT_EQ(cols[0].Width, 50);
    EXPECT_EQ(cols[0].Editor, TEditorType::edDataCheckBox);
    EXPECT_EQ(cols[0].Color, TablePalette::Enable);
    EXPECT_EQ(cols[1].Combo, TTableCombo::tcItems);
    EXPECT_EQ(cols[1].Items, (QStringList{"a", "b"}));
    EXPECT_EQ(cols[1].Color, TablePalette::Subject);
    EXPECT_FALSE(cols[1].Hidden);
    EXPECT_TRUE(cols[2].Hidden);
    EXPECT_EQ(cols[2].Color, TablePalette::Flag);
}

// A dialog whose rows disagree with its file would show one attribute under another's header or
// load a missing attribute differently from the compiler.
TEST(TableColumns, RowsThatDisagreeWithTheFileAreRefused)
{
    struct TCase
    {
        const char *what;
        std::function<void(QVector<TColumnSpec> &)> change;
    };
    const TCase cases[] = {
        {"attributes swapped",
         [](QVector<TColumnSpec> &s) { std::swap(s[1].Attribute, s[2].Attribute); }},
        {"other default", [](QVector<TColumnSpec> &s) { s[2].Default = "Y"; }},
        {"a file column without row", [](QVector<TColumnSpec> &s) { s.removeLast(); }},
        {"a row the file lacks",
         [](QVector<TColumnSpec> &s) { s << TColumnSpec{.Attribute = "Extra"}; }},
    };
    for (const TCase &c : cases) {
        QVector<TColumnSpec> s = specs();
        c.change(s);
        EXPECT_THROW(Table_Grid_Columns(group(), s), std::invalid_argument) << c.what;
    }
}

TEST(TableText, NumberZeroIsNoTextOtherNumbersTheLoadedLanguage)
{
    Load_English_Texts();
    EXPECT_EQ(Table_Text(0), QString());
    EXPECT_EQ(Table_Text(929), Lang_Texts.value(929));
    EXPECT_FALSE(Table_Text(929).isEmpty());
}

TEST(TableText, RowCellsAsTheChecksReadThem)
{
    TQrlStringGrid grid;
    grid.SetColCount(6);
    grid.SetRowCount(2);
    const QString cells[] = {"", " \t ", " Coil Status ", "coil status", "0x1F", " 12"};
    for (int c = 0; c < 6; ++c)
        grid.SetCellEx(c, 1, cells[c]);
    grid.HideColumn(5);
    const TTableRowCells row(grid, 1);

    struct TCase
    {
        int col;
        bool blank;
        bool coil;
        int32_t number;
    };
    // A blank is no number; leading blanks are not read past.
    const TCase cases[] = {{0, true, false, -1},
                           {1, true, false, -1},
                           {2, false, true, -1},
                           {3, false, true, -1},
                           {4, false, false, 31}};
    for (const TCase &c : cases) {
        EXPECT_EQ(row.Blank(c.col), c.blank) << c.col;
        EXPECT_EQ(row.Is(c.col, u"Coil Status"), c.coil) << c.col;
        EXPECT_EQ(row.Number(c.col), c.number) << c.col;
        EXPECT_EQ(row.Text(c.col), cells[c.col]) << c.col;
    }
    EXPECT_EQ(row.Trimmed(2), QStringLiteral("Coil Status"));
    EXPECT_TRUE(row.Hidden(5));
    EXPECT_FALSE(row.Hidden(4));
}

// The layout fixes how many grids the dialog has; a description that says otherwise is refused
// before any grid is built.
TEST(TableFrameLayout, GridCountMustMatchTheLayout)
{
    const auto desc = [](TFrameLayout layout, int grids) {
        TTableDialogDesc d;
        d.Layout = layout;
        for (int g = 0; g < grids; ++g) {
            TTableGroup group;
            group.Name = grids > 1 ? QStringLiteral("G%1").arg(g) : QString();
            group.Capacity = 2;
            group.Columns = {{"Enable", 1, "Y", false}, {"Name", 2, "", false}};
            d.File.Groups << group;
            TTableGridDesc grid;
            grid.Columns = {TTableGridColumn{}, TTableGridColumn{}};
            d.Grids << grid;
        }
        return d;
    };
    struct TCase
    {
        TFrameLayout layout;
        int grids;
        bool ok;
    };
    const TCase cases[] = {
        {TFrameLayout::flOneGrid, 1, true},          {TFrameLayout::flOneGrid, 2, false},
        {TFrameLayout::flTwoPages, 2, true},         {TFrameLayout::flTwoPages, 1, false},
        {TFrameLayout::flCheckBoxGraphics, 1, true}, {TFrameLayout::flCheckBoxGraphics, 2, false},
    };
    for (const TCase &c : cases) {
        if (c.ok) {
            TTableDialog dlg(desc(c.layout, c.grids));
            EXPECT_EQ(dlg.GridCount(), c.grids);
            EXPECT_EQ(dlg.PageControl1 != nullptr, c.layout == TFrameLayout::flTwoPages);
            EXPECT_EQ(dlg.ColumnGrid(0) != nullptr, c.layout != TFrameLayout::flCheckBoxGraphics);
        } else {
            EXPECT_THROW(TTableDialog(desc(c.layout, c.grids)), std::invalid_argument)
                << int(c.layout) << " with " << c.grids;
        }
    }
}

} // namespace
