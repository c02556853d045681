// The shared row operations on a column grid ("Y"/"N" check columns) and on a string grid with
// check-box graphics, against a plain model of the rows; Enter, header double click and the
// numeric cell reading.
#include "gateway/table/UTableDialog.h"
#include "gateway/table/UTableRows.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "grid/model/QrlColumnGrid.h"
#include "platform/ui/MessageBox.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using TRows = QVector<QStringList>; // data rows 1.., real columns 1..

// A column grid of `rows` data rows and `cols` real columns (column 0 included); column 1 is a
// "Y"/"N" check column, `hidden` a real column that is hidden (0: none).
std::unique_ptr<TQrlColumnGrid> columnGrid(int rows, int cols, int hidden = 0)
{
    auto grid = std::make_unique<TQrlColumnGrid>();
    grid->SetColCount(cols);
    grid->SetRowCount(rows + 1);
    grid->Columns()->Items(1)->SetEditor(TEditorType::edDataCheckBox);
    if (hidden > 0)
        grid->HideColumn(hidden);
    return grid;
}

// A string grid whose column 1 carries a check box in every data row.
std::unique_ptr<TQrlStringGrid> checkGrid(int rows, int cols)
{
    auto grid = std::make_unique<TQrlStringGrid>();
    grid->SetColCount(cols);
    grid->SetRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r)
        grid->AddCheckBox(1, r, false, false);
    return grid;
}

int realCols(const TQrlStringGrid &g)
{
    return g.ColCount() + g.NumHiddenColumns();
}

// Column 0 gets the row number, every other cell "r<row>c<col>", column 1 "Y".
void fill(TQrlStringGrid &g)
{
    for (int r = 1; r < g.RowCount(); ++r) {
        g.SetCellEx(0, r, QString::number(r));
        for (int c = 1; c < realCols(g); ++c)
            g.SetCellEx(c, r,
                        c == 1 ? QStringLiteral("Y") : QStringLiteral("r%1c%2").arg(r).arg(c));
    }
}

// Texts of data rows; check-box graphics of a string grid read as "Y"/"N".
TRows rowsOf(TQrlStringGrid &g)
{
    const bool graphics = !qobject_cast<TQrlColumnGrid *>(&g);
    TRows rows;
    for (int r = 1; r < g.RowCount(); ++r) {
        QStringList cells;
        for (int c = 1; c < realCols(g); ++c) {
            bool state = false;
            if (graphics && g.GetCheckBoxState(c, r, state))
                cells << (state ? "Y" : "N");
            else
                cells << g.GetCellEx(c, r);
        }
        rows << cells;
    }
    return rows;
}

QStringList numbersOf(const TQrlStringGrid &g)
{
    QStringList n;
    for (int r = 1; r < g.RowCount(); ++r)
        n << g.GetCellEx(0, r);
    return n;
}

class TableRows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Load_English_Texts();
        Copy_Row_Buffer.clear();
        Copy_Row_Check_Flags.clear();
    }
    void TearDown() override
    {
        Enable_Jump_Fields = false;
        Enable_DblClick_AutoSize = false;
        Copy_Row_Buffer.clear();
        Copy_Row_Check_Flags.clear();
    }
    plat::MessageBoxRecorder boxes;
};

// ---- delete and insert ------------------------------------------------------------------------

struct TLineCase
{
    const char *name;
    int rows;
    int row;
    bool insert;
    bool flag;
};

class TableRowsLines : public TableRows, public ::testing::WithParamInterface<TLineCase>
{
};

// The model: delete moves the rows below up and empties the last; insert moves the rows from
// `row` down, losing the last, and empties `row` with "Y" in column 1 when flagged.
TRows expectedLines(TRows rows, const TLineCase &c, const QString &checkedBlank)
{
    const int width = int(rows.first().size());
    QStringList blank(width, QString());
    if (c.insert) {
        rows.removeLast();
        QStringList fresh = blank;
        fresh[0] = c.flag ? QStringLiteral("Y") : checkedBlank;
        rows.insert(c.row - 1, fresh);
    } else {
        rows.remove(c.row - 1);
        QStringList fresh = blank;
        fresh[0] = c.flag ? QStringLiteral("Y") : checkedBlank;
        rows << fresh;
    }
    return rows;
}

TEST_P(TableRowsLines, ColumnGridShiftsEveryRealColumnAndKeepsTheNumbers)
{
    const TLineCase &c = GetParam();
    auto grid = columnGrid(c.rows, 6, /*hidden*/ 4);
    fill(*grid);
    const TRows before = rowsOf(*grid);
    const QStringList numbers = numbersOf(*grid);
    if (c.insert)
        Grid_Insert_Row(c.row, grid.get(), c.flag);
    else
        Grid_Delete_Row(c.row, grid.get());
    // A deleted last row is emptied, its enable column too.
    TLineCase model = c;
    model.flag = c.insert && c.flag;
    EXPECT_EQ(rowsOf(*grid), expectedLines(before, model, QString()));
    EXPECT_EQ(numbersOf(*grid), numbers);
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_P(TableRowsLines, StringGridMovesCheckStates)
{
    const TLineCase &c = GetParam();
    auto grid = checkGrid(c.rows, 4);
    fill(*grid);
    for (int r = 1; r <= c.rows; ++r)
        grid->SetCheckBoxState(1, r, r % 2 == 0);
    const TRows before = rowsOf(*grid);
    if (c.insert)
        Grid_Insert_Row_Check(c.row, grid.get(), c.flag);
    else
        Grid_Delete_Row_Check(c.row, grid.get(), c.flag);
    EXPECT_EQ(rowsOf(*grid), expectedLines(before, c, QStringLiteral("N")));
}

INSTANTIATE_TEST_SUITE_P(Cases,
                         TableRowsLines,
                         ::testing::Values(TLineCase{"DeleteLastRowEmptiesIt", 10, 10, false, true},
                                           TLineCase{"DeleteRow1OfFull50", 50, 1, false, true},
                                           TLineCase{"DeleteMiddleUnflagged", 10, 4, false, false},
                                           TLineCase{"InsertAtRow3LosesTheLast", 10, 3, true, true},
                                           TLineCase{"InsertWithoutEnable", 10, 3, true, false},
                                           TLineCase{"InsertAtLastRow", 10, 10, true, true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(TableRows, RowsOutsideTheDataRowsAreLeftAlone)
{
    auto grid = columnGrid(3, 4);
    fill(*grid);
    const TRows before = rowsOf(*grid);
    for (int row : {0, 4, -1}) {
        Grid_Delete_Row(row, grid.get());
        Grid_Insert_Row(row, grid.get(), true);
    }
    EXPECT_EQ(rowsOf(*grid), before);
}

// ---- copy and paste ---------------------------------------------------------------------------

TEST_F(TableRows, CopyAndPasteCarryHiddenColumns)
{
    auto grid = columnGrid(5, 6, /*hidden*/ 3);
    fill(*grid);
    Grid_Copy_Row(grid.get(), 2);
    EXPECT_EQ(Copy_Row_Buffer, rowsOf(*grid)[1]);
    EXPECT_EQ(Copy_Row_Buffer.size(), 5); // real columns 1..5, the hidden one included

    for (int c = 1; c < 6; ++c)
        grid->SetCellEx(c, 4, QString());
    Grid_Paste_Row(grid.get(), 4, true);
    EXPECT_EQ(rowsOf(*grid)[3], rowsOf(*grid)[1]);
    EXPECT_EQ(grid->GetCellEx(3, 4), QStringLiteral("r2c3"));
    EXPECT_EQ(boxes.Count(), 0);
}

struct TPasteCase
{
    const char *name;
    bool checkForm;
    bool copied;
    int sourceCols;     // column count of the grid the row was copied from
    QStringList target; // row 1's cells 1..3 before pasting
    int answer;         // to the question, if one comes
    int box;            // text of the box shown, 0: none
    bool pasted;
};

class TableRowsPaste : public TableRows, public ::testing::WithParamInterface<TPasteCase>
{
};

TEST_P(TableRowsPaste, AsksOrRefusesAsTheRowAndClipboardSay)
{
    const TPasteCase &c = GetParam();
    const QStringList source = {"N", "cert", "desc"};
    std::unique_ptr<TQrlStringGrid> from;
    std::unique_ptr<TQrlStringGrid> to;
    if (c.checkForm) {
        from = checkGrid(2, c.sourceCols);
        to = checkGrid(2, 4);
    } else {
        from = columnGrid(2, c.sourceCols);
        to = columnGrid(2, 4);
    }
    for (int k = 0; k < 3; ++k) {
        auto *g = from.get();
        if (c.checkForm && k == 0)
            g->SetCheckBoxState(1, 1, false);
        else
            g->SetCellEx(k + 1, 1, source[k]);
    }
    if (c.checkForm) {
        Grid_Copy_Row_Check(from.get(), 1);
        to->SetCheckBoxState(1, 1, c.target[0] == "Y");
    } else {
        Grid_Copy_Row(static_cast<TQrlColumnGrid *>(from.get()), 1);
        to->SetCellEx(1, 1, c.target[0]);
    }
    to->SetCellEx(2, 1, c.target[1]);
    to->SetCellEx(3, 1, c.target[2]);
    const TRows before = rowsOf(*to);

    boxes.QueueAnswer(c.answer);
    if (c.checkForm)
        Grid_Paste_Row_Check(to.get(), 1, c.copied);
    else
        Grid_Paste_Row(static_cast<TQrlColumnGrid *>(to.get()), 1, c.copied);

    if (c.box == 0) {
        EXPECT_EQ(boxes.Count(), 0);
    } else {
        ASSERT_EQ(boxes.Count(), 1);
        EXPECT_EQ(boxes.Last().text, Lang_Texts.value(c.box));
        EXPECT_EQ(boxes.Last().icon,
                  c.box == Text_Row_Already_Used ? plat::MsgIcon::Question : plat::MsgIcon::Error);
    }
    EXPECT_EQ(rowsOf(*to)[0], c.pasted ? source : before[0]);
}

INSTANTIATE_TEST_SUITE_P(
    Cases,
    TableRowsPaste,
    ::testing::Values(
        TPasteCase{"NotCopied", false, false, 4, {"Y", "x", ""}, mrYes, 1102, false},
        TPasteCase{"OtherColumnCount", false, true, 5, {"Y", "", ""}, mrYes, 1101, false},
        TPasteCase{"EnableOnlyRowNoQuestion", false, true, 4, {"Y", "", ""}, mrNo, 0, true},
        TPasteCase{"BlankTextCellNoQuestion", false, true, 4, {"Y", "  ", ""}, mrNo, 0, true},
        TPasteCase{"UsedRowNo", false, true, 4, {"Y", "", "old"}, mrNo, 1100, false},
        TPasteCase{"UsedRowYes", false, true, 4, {"Y", "", "old"}, mrYes, 1100, true},
        TPasteCase{"CheckNotCopied", true, false, 4, {"Y", "", ""}, mrYes, 1102, false},
        TPasteCase{"CheckOtherColumnCount", true, true, 3, {"Y", "", ""}, mrYes, 1101, false},
        TPasteCase{"CheckEnableOnlyNoQuestion", true, true, 4, {"Y", "", ""}, mrNo, 0, true},
        TPasteCase{"CheckBlankTextCellAsks", true, true, 4, {"Y", " ", ""}, mrNo, 1100, false},
        TPasteCase{"CheckUsedRowYes", true, true, 4, {"N", "c", ""}, mrYes, 1100, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(TableRows, ThirteenColumnCopyDoesNotPasteIntoFifteenColumns)
{
    auto from = columnGrid(2, 13);
    auto to = columnGrid(2, 15);
    fill(*from);
    Grid_Copy_Row(from.get(), 1);
    const TRows before = rowsOf(*to);
    Grid_Paste_Row(to.get(), 2, true);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, Lang_Texts.value(Text_Copy_Values_Error));
    EXPECT_EQ(rowsOf(*to), before);
}

TEST_F(TableRows, CheckCopyRecordsWhichCellsHadBoxes)
{
    auto grid = checkGrid(2, 4);
    grid->SetCheckBoxState(1, 1, true);
    grid->SetCellEx(2, 1, QStringLiteral("cert"));
    Grid_Copy_Row_Check(grid.get(), 1);
    EXPECT_EQ(Copy_Row_Buffer, (QStringList{"Y", "cert", ""}));
    EXPECT_EQ(Copy_Row_Check_Flags, (QList<bool>{true, false, false}));
}

// ---- Enter and double click ---------------------------------------------------------------------

struct TEnterCase
{
    const char *name;
    bool option;
    QChar key;
    int col, row;
    int toCol, toRow;
    QChar keyAfter;
};

class TableRowsEnter : public TableRows, public ::testing::WithParamInterface<TEnterCase>
{
};

TEST_P(TableRowsEnter, MovesToTheNextCell)
{
    const TEnterCase &c = GetParam();
    auto grid = columnGrid(4, 5);
    Enable_Jump_Fields = c.option;
    grid->MoveColRow(c.col, c.row, true, false);
    QChar key = c.key;
    Grid_Enter_Next_Cell(grid.get(), key);
    EXPECT_EQ(key, c.keyAfter);
    EXPECT_EQ(grid->Col(), c.toCol);
    EXPECT_EQ(grid->Row(), c.toRow);
}

INSTANTIATE_TEST_SUITE_P(
    Cases,
    TableRowsEnter,
    ::testing::Values(TEnterCase{"OptionOff", false, QChar(13), 2, 2, 2, 2, QChar(13)},
                      TEnterCase{"NextColumn", true, QChar(13), 2, 2, 3, 2, QChar(0)},
                      TEnterCase{"LastColumnToNextRow", true, QChar(13), 4, 2, 1, 3, QChar(0)},
                      TEnterCase{"LastCellWrapsToFirst", true, QChar(13), 4, 4, 1, 1, QChar(0)},
                      TEnterCase{"OtherKey", true, QChar('a'), 2, 2, 2, 2, QChar('a')}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(TableRows, DoubleClickSizesOnlyHeaderColumnsWithTheOption)
{
    struct Case
    {
        bool option;
        int row;
        bool sized;
    };
    for (const Case c : {Case{true, 0, true}, Case{true, 1, false}, Case{false, 0, false}}) {
        SCOPED_TRACE(testing::Message() << c.option << " row " << c.row);
        auto grid = columnGrid(2, 4);
        grid->SetColWidths(2, 10);
        grid->SetCellEx(2, 1, QStringLiteral("a text far wider than ten pixels"));
        Enable_DblClick_AutoSize = c.option;
        Grid_DblClick_AutoSize(grid.get(), c.row, 2);
        EXPECT_EQ(grid->ColWidths(2) > 10, c.sized) << grid->ColWidths(2);
    }
}

// ---- numbers in cells ---------------------------------------------------------------------------

TEST(TableCellNumber, DecimalAndHexElseMinusOne)
{
    struct Case
    {
        const char *text;
        int32_t value;
    };
    const Case cases[] = {{"0", 0},
                          {"1437", 1437},
                          {"-5", -5},
                          {"+7", 7},
                          {"$1F", 31},
                          {"0x10", 16},
                          {"0X1f", 31},
                          {"2147483647", 2147483647},
                          {"-2147483648", INT32_MIN},
                          {"2147483648", -1},
                          {"", -1},
                          {" ", -1},
                          {" 5", -1},
                          {"5 ", -1},
                          {"abc", -1},
                          {"$", -1},
                          {"0x", -1},
                          {"1.5", -1},
                          {"$FFFFFFFF", -1}};
    for (const Case &c : cases)
        EXPECT_EQ(Table_Cell_Number(QString::fromLatin1(c.text)), c.value) << c.text;
}

} // namespace
