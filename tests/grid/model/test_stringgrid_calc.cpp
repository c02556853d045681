// Calculations over columns and rows, automatic sizing measured against the fonts in use, and
// the floating footer with its triggers, the change notifiers and the string-grid hooks.
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlCellGraphic.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridFormat.h"
#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlGridText.h"
#include "grid/model/QrlHTMLText.h"
#include "grid/model/QrlStringGrid.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

using plat::TGridRect;

namespace {

class CalcTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OverrideGridRegionalSettings(TGridRegionalSettings{u',', u'/', u':', "M/d/yyyy"});
        grid = std::make_unique<TQrlStringGrid>();
        grid->SetColCount(5);
        grid->SetRowCount(10);
    }
    void TearDown() override
    {
        grid.reset();
        OverrideGridRegionalSettings(std::nullopt);
    }

    // Texts into column c from row 1 down; the rows below stay empty.
    void column(int c, const QStringList &texts)
    {
        if (grid->RowCount() < texts.size() + 1)
            grid->SetRowCount(static_cast<int>(texts.size()) + 1);
        for (int i = 0; i < texts.size(); ++i)
            grid->SetCellEx(c, i + 1, texts[i]);
    }
    // The range of the texts just written.
    int lastRow(const QStringList &texts) const { return static_cast<int>(texts.size()); }

    std::unique_ptr<TQrlStringGrid> grid;
};

// What GetFloats makes of a cell, with a broken number as none.
std::optional<double> floatsOf(TQrlStringGrid &g, int c, int r)
{
    try {
        return g.GetFloats(c, r);
    } catch (const EQrlGridError &) {
        return std::nullopt;
    }
}

double populationStdDev(const std::vector<double> &v)
{
    const double mean = std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
    double sq = 0;
    for (double x : v)
        sq += (x - mean) * (x - mean);
    return std::sqrt(sq / static_cast<double>(v.size()));
}

// ---- column figures ---------------------------------------------------------------------------

// The calculations read cells straight from the store while no display hook is set; whatever
// the text, a cell must count exactly what GetFloats makes of it, on both ways of reading.
TEST_F(CalcTest, ColumnSumCountsEachCellAsGetFloatsReadsIt)
{
    const QStringList texts = {
        "1.5",         "abc",          "",
        "-",           "-5",           "(5)",
        "1,234.5",     "1e3",          "1e",
        "+7",          "x-y",          "12abc",
        "abc1",        "1.2.3",        "5-",
        "--5",         "e5",           "  42",
        "<b>4</b>",    "<i>1.5e2</i>", "1e400",
        "\u0663",      "\u00bd",       "3\u00b2",
        "a<b",         "1<2",          "12345678901234567890123456789012345678901234567890",
        "\u20ac 12.5", "\u00e9 7",     "((8))",
        "0.000001e-3", "-.5",          "7.",
    };
    column(1, texts);
    for (bool hooked : {false, true}) {
        SCOPED_TRACE(hooked ? "through the display hook" : "from the store");
        if (hooked)
            grid->OnGetDisplText = [](QObject *, int, int, QString &) {};
        else
            grid->OnGetDisplText = nullptr;
        for (int r = 1; r <= lastRow(texts); ++r) {
            SCOPED_TRACE(texts[r - 1].toStdString());
            const std::optional<double> v = floatsOf(*grid, 1, r);
            EXPECT_EQ(grid->ColumnSum(1, r, r), v.value_or(0));
            if (v)
                EXPECT_EQ(grid->ColumnStdDev(1, r, r), 0);
            else
                EXPECT_THROW(grid->ColumnStdDev(1, r, r), EQrlGridError);
        }
    }
}

struct TFigureCase
{
    const char *name;
    QStringList texts;
    double (TQrlStringGrid::*figure)(int, int, int);
    double expected;
};

TEST_F(CalcTest, ColumnFiguresOnMixedText)
{
    const TFigureCase cases[] = {
        {"sum skips text and empty cells",
         {"1.5", "abc", "2", ""},
         &TQrlStringGrid::ColumnSum,
         1.5 + 2},
        {"average divides by every row",
         {"1.5", "abc", "2", ""},
         &TQrlStringGrid::ColumnAvg,
         (1.5 + 2) / 4},
        {"sum skips a broken number", {"1.2.3", "4"}, &TQrlStringGrid::ColumnSum, 4},
        {"minimum", {"5", "3", "7"}, &TQrlStringGrid::ColumnMin, 3},
        {"minimum starts from an empty first cell", {"", "5", "7"}, &TQrlStringGrid::ColumnMin, 0},
        {"maximum skips a broken number", {"5", "9.9.9", "7"}, &TQrlStringGrid::ColumnMax, 7},
        {"distinct ignores letter case", {"Abc", "ABC", "x"}, &TQrlStringGrid::ColumnDistinct, 2},
    };
    for (const TFigureCase &c : cases) {
        SCOPED_TRACE(c.name);
        grid->Clear();
        column(2, c.texts);
        EXPECT_DOUBLE_EQ((grid.get()->*c.figure)(2, 1, lastRow(c.texts)), c.expected);
    }
}

TEST_F(CalcTest, StandardDeviationIsThePopulationForm)
{
    const std::vector<double> values = {2, 4, 4, 4, 5, 5, 7, 9};
    QStringList texts;
    for (double v : values)
        texts << QString::number(v);
    column(1, texts);
    EXPECT_DOUBLE_EQ(grid->ColumnStdDev(1, 1, lastRow(texts)), populationStdDev(values));
}

TEST_F(CalcTest, BrokenFirstValueOfMinMaxRaises)
{
    column(1, {"1.2.3", "4"});
    EXPECT_THROW(grid->ColumnMin(1, 1, 2), EQrlGridError);
    EXPECT_THROW(grid->ColumnMax(1, 1, 2), EQrlGridError);
    EXPECT_THROW(grid->RowMin(1, 1, 2), EQrlGridError);
}

TEST_F(CalcTest, MinusOneMeansTheNormalRows)
{
    grid->SetFixedFooters(1);
    column(1, {"1", "2", "3", "4", "5", "6", "7", "8", "100"}); // row 9 is the footer
    EXPECT_EQ(grid->ColumnSum(1, -1, -1), 36);
    EXPECT_EQ(grid->ColumnSum(1, 3, -1), 36);
    EXPECT_EQ(grid->ColumnMax(1, -1, 5), 8);
}

TEST_F(CalcTest, MergedAndNodeRowsAreSkipped)
{
    column(1, {"1", "10", "100", "1000"});
    grid->MergeCells(1, 1, 1, 2); // row 2 is covered by row 1
    EXPECT_EQ(grid->ColumnSum(1, 1, 4), 1101);
    EXPECT_EQ(grid->ColumnMax(1, 1, 4), 1000);

    // A node row counts while the grid is not grouped.
    grid->CreateCellGraphic(0, 4)->SetCellType(TCellType::ctNode);
    EXPECT_EQ(grid->ColumnSum(1, 1, 4), 1101);
    grid->SetGroupColumn(2);
    EXPECT_EQ(grid->ColumnSum(1, 1, 4), 101);
}

// Rows past the grid read as empty cells; a huge range must not walk them one by one.
TEST_F(CalcTest, RowsOutsideTheGridCountAsEmptyCells)
{
    const std::vector<double> values = {2, 4, 4, 4};
    column(1, {"2", "4", "4", "4"});
    grid->SetRowCount(5);
    const int to = grid->RowCount() + 3; // four rows past the grid
    std::vector<double> withEmpty = values;
    withEmpty.resize(8, 0.0);
    EXPECT_DOUBLE_EQ(grid->ColumnStdDev(1, 1, to), populationStdDev(withEmpty));
    EXPECT_EQ(grid->ColumnDistinct(1, 1, to), 3); // "2", "4" and the empty text
    EXPECT_EQ(grid->ColumnMin(1, 1, to), 0);

    EXPECT_EQ(grid->ColumnSum(1, 1, INT_MAX), 14);
    EXPECT_DOUBLE_EQ(grid->ColumnAvg(1, 1, INT_MAX), 14.0 / INT_MAX);
    EXPECT_EQ(grid->ColumnSum(1, INT_MIN, INT_MAX), 14);
    EXPECT_EQ(grid->ColumnAvg(1, 5, 2), 0);
    EXPECT_EQ(grid->ColumnStdDev(1, 5, 2), 0);
}

TEST_F(CalcTest, RowFigures)
{
    const QStringList texts = {"3", "x", "1.5", "9.9.9", "", "6"};
    grid->SetColCount(static_cast<int>(texts.size()));
    for (int c = 0; c < texts.size(); ++c)
        grid->SetCellEx(c, 2, texts[c]);
    EXPECT_DOUBLE_EQ(grid->RowSum(2, 0, 5), 3 + 1.5 + 6);
    EXPECT_DOUBLE_EQ(grid->RowAvg(2, 0, 5), (3 + 1.5 + 6) / 6);
    EXPECT_EQ(grid->RowMin(2, 0, 5), 0);
    EXPECT_EQ(grid->RowMax(2, 0, 5), 6);
    EXPECT_EQ(grid->RowMin(2, 2, 2), 1.5);
    // An empty range has no average rather than a division by zero.
    EXPECT_EQ(grid->RowAvg(2, 4, 1), 0);
    EXPECT_EQ(grid->RowSum(2, 4, 1), 0);
}

TEST_F(CalcTest, CustomCalculationsAskTheirEvents)
{
    EXPECT_EQ(grid->ColumnCustomCalc(1, -1, -1), 0);
    std::vector<int> asked;
    grid->OnColumnCalc = [&](QObject *, int c, int from, int to, double &res) {
        asked = {c, from, to};
        EXPECT_EQ(res, 0);
        res = 42;
    };
    grid->OnGroupCalc = [](QObject *, int, int, int, double &res) { res = 7; };
    EXPECT_EQ(grid->ColumnCustomCalc(3, -1, -1), 42);
    EXPECT_EQ(asked, (std::vector<int>{3, grid->FixedRows(), grid->RowCount() - 1}));
    EXPECT_EQ(grid->GroupCustomValue(3, 1, 2), 7);
}

TEST_F(CalcTest, ColumnCalculationsReportTheirRowsToTheExportHook)
{
    struct TTrackingGrid : TQrlStringGrid
    {
        void ExportNotification(TGridExportState s, int r) override { steps.push_back({s, r}); }
        std::vector<std::pair<TGridExportState, int>> steps;
    } g;
    g.MergeCells(1, 2, 1, 2); // row 3 is not taken
    g.ColumnSum(1, 1, 4);
    using S = TGridExportState;
    const std::vector<std::pair<S, int>> expected = {{S::esExportStart, 1},
                                                     {S::esExportNextRow, 1},
                                                     {S::esExportNextRow, 2},
                                                     {S::esExportNextRow, 4},
                                                     {S::esExportDone, -1}};
    EXPECT_EQ(g.steps, expected);
}

// ---- selection and numbering ------------------------------------------------------------------

TEST_F(CalcTest, SelectedTextJoinsCellsByTabAndRowsByCrLf)
{
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c)
            grid->SetCellEx(c, r, QStringLiteral("%1%2").arg(QChar(u'a' + c)).arg(r));
    grid->SetCellEx(2, 2, "two\r\nlines");
    grid->SelectCells(1, 1, 2, 2);
    EXPECT_EQ(grid->SelectedText(), "b1\tc1\r\nb2\ttwo\r\nlines");
    grid->SetExcelClipboardFormat(true);
    QString quoted = "two\r\nlines";
    CRLFToVTQuoted(quoted);
    EXPECT_EQ(grid->SelectedText(), "b1\tc1\r\nb2\t" + quoted);
    EXPECT_TRUE(grid->IsSelected(2, 2));
    EXPECT_FALSE(grid->IsSelected(3, 2));
    EXPECT_FALSE(grid->IsSelected(0, 1)); // fixed column
}

struct TNumberCase
{
    const char *name;
    TSortDirection direction;
    int start;
    int offset;
    QStringList expected; // rows 1 .. 5
};

TEST_F(CalcTest, AutoNumberCol)
{
    grid->SetRowCount(6);
    const TNumberCase cases[] = {
        {"ascending", TSortDirection::sdAscending, 0, 0, {"1", "2", "3", "4", "5"}},
        {"descending", TSortDirection::sdDescending, 0, 0, {"5", "4", "3", "2", "1"}},
        {"offset", TSortDirection::sdAscending, 0, 10, {"11", "12", "13", "14", "15"}},
        {"start skips rows", TSortDirection::sdAscending, 2, 0, {"", "", "3", "4", "5"}},
        {"start, descending", TSortDirection::sdDescending, 2, 0, {"5", "4", "3", "", ""}},
    };
    for (const TNumberCase &c : cases) {
        SCOPED_TRACE(c.name);
        grid->Clear();
        grid->SetAutoNumberDirection(c.direction);
        grid->SetAutoNumberStart(c.start);
        grid->SetAutoNumberOffset(c.offset);
        grid->AutoNumberCol(0);
        QStringList got;
        for (int r = 1; r <= 5; ++r)
            got << grid->GetCellEx(0, r);
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(grid->GetCellEx(0, 0), "");
    }
}

TEST_F(CalcTest, AutoNumberRow)
{
    grid->SetColCount(4);
    grid->AutoNumberRow(0);
    EXPECT_EQ(grid->Rows(0), (QStringList{"", "1", "2", "3"}));
    grid->SetAutoNumberDirection(TSortDirection::sdDescending);
    grid->AutoNumberRow(0);
    EXPECT_EQ(grid->Rows(0), (QStringList{"", "3", "2", "1"}));
}

// ---- automatic sizing -------------------------------------------------------------------------

class SizeTest : public CalcTest
{
protected:
    int advance(const TFont &f, const QString &t) const
    {
        return QFontMetrics(f.toQFont()).horizontalAdvance(t);
    }
    int lineHeight(const TFont &f) const { return QFontMetrics(f.toQFont()).height(); }
    // What a fitted column adds to its widest content.
    int colExtra() const { return 2 * grid->XYOffset().X + 2 * grid->GridLineWidth() + 2; }
    int rowExtra() const { return 2 * grid->XYOffset().Y + 2 * grid->GridLineWidth(); }
};

TEST_F(SizeTest, AutoSizeColTakesTheWidestTextInItsFont)
{
    const QStringList texts = {"a", "a considerably wider text", "mid size"};
    column(2, texts);
    int widest = advance(grid->FixedFont(), grid->GetCellEx(2, 0));
    for (const QString &t : texts)
        widest = std::max(widest, advance(grid->Font(), t));
    grid->AutoSizeCol(2);
    EXPECT_EQ(grid->ColWidths(2), widest + colExtra());

    // A bold cell is measured bold.
    const QString bold = texts[1];
    grid->SetFontStyles(2, 2, TFontStyle::fsBold);
    TFont boldFont = grid->Font();
    boldFont.SetStyle(TFontStyle::fsBold);
    ASSERT_GT(advance(boldFont, bold), advance(grid->Font(), bold));
    grid->AutoSizeCol(2);
    EXPECT_EQ(grid->ColWidths(2), advance(boldFont, bold) + colExtra());
}

TEST_F(SizeTest, FixedCellsAreMeasuredInTheFixedFont)
{
    grid->SetCellEx(1, 0, "Header of the column");
    grid->SetCellEx(1, 1, "x");
    grid->AutoSizeCol(1);
    ASSERT_NE(advance(grid->FixedFont(), "Header of the column"),
              advance(grid->Font(), "Header of the column"));
    EXPECT_EQ(grid->ColWidths(1), advance(grid->FixedFont(), "Header of the column") + colExtra());

    // Only the normal rows.
    grid->ColumnSize()->SetRows(TAutoSizeRows::arNormal);
    grid->AutoSizeCol(1);
    EXPECT_EQ(grid->ColWidths(1), advance(grid->Font(), "x") + colExtra());
}

TEST_F(SizeTest, ColumnLimitsGrowOnlyAndPadding)
{
    column(1, {"some text of medium length"});
    const int fit = advance(grid->Font(), "some text of medium length") + colExtra();
    const int wide = fit + 40;
    ASSERT_GT(fit, 60);
    struct
    {
        const char *name;
        bool growOnly;
        int start, min, max, padding;
        int expected;
    } cases[] = {
        {"fits", false, 200, 0, 0, 0, fit},
        {"grow only keeps a wider column", true, wide, 0, 0, 0, wide},
        {"grow only widens a narrower one", true, 20, 0, 0, 0, fit},
        {"maximum cuts", false, 200, 0, 60, 0, 60},
        {"equal limits leave the size", false, 200, 60, 60, 0, fit},
        {"minimum raises", false, 20, fit + 5, 0, 0, fit + 5},
        {"padding", false, 20, 0, 0, 7, fit + 7},
        {"padding within the maximum", false, 20, 0, fit + 3, 7, fit + 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetColWidths(1, c.start);
        grid->SetSizeGrowOnly(c.growOnly);
        grid->SetMinColWidth(c.min);
        grid->SetMaxColWidth(c.max);
        grid->AutoSizeCol(1, c.padding);
        EXPECT_EQ(grid->ColWidths(1), c.expected);
    }
}

TEST_F(SizeTest, MarginsZoomHtmlLinesAndGraphics)
{
    const TFont f = grid->Font();
    const QString text = "Measured text";
    struct
    {
        const char *name;
        std::function<void()> setUp;
        std::function<int()> expected;
    } cases[] = {
        {"top-left margin only", [&] { grid->SetXYOffsetTopLeftOnly(true); },
         [&] { return advance(f, text) + grid->XYOffset().X + 2 * grid->GridLineWidth() + 2; }},
        {"wider margin", [&] { grid->UpdateXYOffset(6, 2); },
         [&] { return advance(f, text) + colExtra(); }},
        {"mini-HTML is laid out word by word in its own font",
         [&] { grid->SetCellEx(1, 1, "<b>" + text + "</b>"); },
         [&] {
             TFont b = f;
             b.SetStyle(TFontStyle::fsBold);
             return advance(b, "Measured ") + advance(b, "text") + 2 + colExtra();
         }},
        {"without multi-line cells the first line", [&] { grid->SetCellEx(1, 1, "ab\r\n" + text); },
         [&] { return advance(f, "ab") + colExtra(); }},
        {"multi-line cells: the widest line",
         [&] {
             grid->SetMultilineCells(true);
             grid->SetCellEx(1, 1, "ab\r\n" + text);
         },
         [&] { return advance(f, text) + colExtra(); }},
        {"a check box adds its size",
         [&] {
             grid->CreateCellGraphic(1, 1)->SetCheckBox(true, false, false, TCellHAlign::haLeft,
                                                        TCellVAlign::vaTop);
         },
         [&] { return grid->ControlLook()->CheckSize() + advance(f, text) + colExtra(); }},
        {"zoom enlarges the font", [&] { grid->Zoom(3); },
         [&] {
             TFont z = f;
             z.SetSize(z.Size() + 3);
             return advance(z, text) + colExtra();
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        grid = std::make_unique<TQrlStringGrid>();
        grid->SetCellEx(1, 1, text);
        grid->ColumnSize()->SetRows(TAutoSizeRows::arNormal);
        c.setUp();
        grid->AutoSizeCol(1);
        EXPECT_EQ(grid->ColWidths(1), c.expected());
    }
}

TEST_F(SizeTest, EmptyColumnFitsToLinesAndMargin)
{
    grid->ColumnSize()->SetRows(TAutoSizeRows::arNormal);
    grid->AutoSizeCol(3);
    EXPECT_EQ(grid->ColWidths(3), colExtra());
}

TEST_F(SizeTest, OnUpdateColumnSizeMayChangeTheFittedWidth)
{
    column(1, {"text"});
    grid->OnUpdateColumnSize = [](QObject *, int, int &w) { w += 11; };
    grid->ColumnSize()->SetRows(TAutoSizeRows::arNormal);
    grid->AutoSizeCol(1);
    EXPECT_EQ(grid->ColWidths(1), advance(grid->Font(), "text") + colExtra() + 11);
}

TEST_F(SizeTest, AutoSizeRowTakesTheHighestCell)
{
    const int lh = lineHeight(grid->Font());
    grid->SetColWidths(1, 300);
    grid->SetCellEx(1, 2, "one line");
    grid->AutoSizeRow(2);
    EXPECT_EQ(grid->RowHeights(2), lh + rowExtra());

    // A check box row is exactly the default height.
    grid->CreateCellGraphic(3, 2)->SetCheckBox(false, false, false, TCellHAlign::haLeft,
                                               TCellVAlign::vaTop);
    grid->AutoSizeRow(2, 0);
    EXPECT_EQ(grid->RowHeights(2), grid->DefaultRowHeight() + rowExtra());

    // Word-wrapped text within a narrow column takes several whole lines.
    grid->RemoveCellGraphic(3, 2);
    grid->SetColWidths(1, 60);
    grid->SetCellEx(1, 2, "several words that cannot fit into one narrow line");
    grid->AutoSizeRow(2, 5);
    const int textHeight = grid->RowHeights(2) - rowExtra() - 5;
    EXPECT_GT(textHeight, lh);
    EXPECT_EQ(textHeight % lh, 0);

    // A bigger font in one cell makes the row higher.
    grid->SetCellEx(1, 2, "x");
    grid->SetFontSizes(2, 2, 20);
    TFont big = grid->Font();
    big.SetSize(20);
    grid->AutoSizeRow(2);
    EXPECT_EQ(grid->RowHeights(2), lineHeight(big) + rowExtra());
}

TEST_F(SizeTest, AutoSizeRowsWithoutWordWrapCountsLines)
{
    grid->SetWordWrap(false);
    grid->SetMultilineCells(true);
    grid->SetCellEx(2, 3, "a\r\nb\r\nc");
    grid->AutoSizeRows(false, 4);
    const int h = lineHeight(grid->Font());
    EXPECT_EQ(grid->RowHeights(3), 4 + 3 * (h + h / 8));
    EXPECT_EQ(grid->RowHeights(4), 4 + (h + h / 8));
    EXPECT_EQ(grid->RowHeights(0), grid->FixedRowHeight()); // fixed rows left alone
}

TEST_F(SizeTest, AutoSizeCellsGrowsRowsAndFitsColumns)
{
    grid->SetCellEx(1, 1, "short");
    grid->SetCellEx(1, 2, "a rather longer text");
    grid->SetColWidths(1, 500);
    grid->SetRowHeights(1, 5);
    grid->AutoSizeCells(false, 3, 1);
    const TPoint off = grid->XYOffset();
    EXPECT_EQ(grid->ColWidths(1), advance(grid->Font(), "a rather longer text") + 3 + off.X);
    EXPECT_EQ(grid->RowHeights(1), lineHeight(grid->Font()) + 1 + off.Y);
    EXPECT_EQ(grid->RowHeights(3), grid->DefaultRowHeight()); // rows only grow
}

TEST_F(SizeTest, AutoFitColumnsFillsTheRoomOnce)
{
    grid->resize(400, 250);
    grid->SetScrollBars(plat::TScrollStyle::ssNone);
    grid->AutoFitColumns(false);
    const int b = 2 * grid->frameWidth();
    int sum = 0;
    for (int c = 1; c < grid->ColCount(); ++c)
        sum += grid->ColWidths(c);
    EXPECT_EQ(sum, grid->width() - grid->ColWidths(0) - b);

    // Columns that fill the room already are left exactly as they are.
    std::vector<int> before;
    for (int c = 0; c < grid->ColCount(); ++c)
        before.push_back(grid->ColWidths(c));
    grid->AutoFitColumns(false);
    for (int c = 0; c < grid->ColCount(); ++c)
        EXPECT_EQ(grid->ColWidths(c), before[static_cast<size_t>(c)]);
}

TEST_F(SizeTest, SizeToCellsFitsTheControlToItsLines)
{
    grid->SetColCount(3);
    grid->SetRowCount(4);
    grid->SizeToCells();
    int w = 0, h = 0;
    for (int c = 0; c < 3; ++c)
        w += grid->ColWidths(c);
    for (int r = 0; r < 4; ++r)
        h += grid->RowHeights(r);
    EXPECT_EQ(grid->width(), w + 2 * grid->frameWidth());
    EXPECT_EQ(grid->height(), h + 2 * grid->frameWidth());
    EXPECT_EQ(grid->ScrollBars(), plat::TScrollStyle::ssBoth);
}

TEST_F(SizeTest, ChangeScaleHookScalesTheFixedFonts)
{
    const int fixedSize = grid->FixedFont().Size();
    const int activeSize = grid->ActiveCellFont().Size();
    grid->ChangeScaleHook(3, 2);
    EXPECT_EQ(grid->FixedFont().Size(), static_cast<int>(std::lround(fixedSize * 1.5)));
    EXPECT_EQ(grid->ActiveCellFont().Size(), static_cast<int>(std::lround(activeSize * 1.5)));
    grid->ChangeScaleHook(1, 0); // nothing to scale by
    EXPECT_EQ(grid->FixedFont().Size(), static_cast<int>(std::lround(fixedSize * 1.5)));
}

// ---- swapping ---------------------------------------------------------------------------------

TEST_F(CalcTest, SwapColumnsTakesCellsPropertiesWidthAndSortColumn)
{
    grid->SetCellEx(1, 2, "one");
    grid->SetCellEx(3, 2, "three");
    grid->SetColors(1, 2, clRed);
    grid->SetColWidths(1, 40);
    grid->SetColWidths(3, 90);
    grid->SortSettings()->SetColumn(1);
    grid->SwapColumns(1, 3);
    EXPECT_EQ(grid->GetCellEx(1, 2), "three");
    EXPECT_EQ(grid->GetCellEx(3, 2), "one");
    EXPECT_EQ(grid->GetColors(3, 2), clRed);
    EXPECT_FALSE(grid->HasCellProperties(1, 2));
    EXPECT_EQ(grid->GetGridObject(3, 2)->OwnerCol(), 3);
    EXPECT_EQ(grid->ColWidths(1), 90);
    EXPECT_EQ(grid->ColWidths(3), 40);
    EXPECT_EQ(grid->SortSettings()->Column(), 3);
    EXPECT_THROW(grid->SwapColumns(1, 99), EQrlGridError);
}

TEST_F(CalcTest, SwapRowsTakesCellsPropertiesAndHeights)
{
    grid->SetCellEx(2, 1, "first");
    grid->SetCellEx(2, 4, "fourth");
    grid->SetColors(2, 4, clBlue);
    grid->SetRowHeights(4, 50);
    grid->SortSettings()->SetColumn(2);
    grid->SwapRows(1, 4);
    EXPECT_EQ(grid->GetCellEx(2, 1), "fourth");
    EXPECT_EQ(grid->GetCellEx(2, 4), "first");
    EXPECT_EQ(grid->GetColors(2, 1), clBlue);
    EXPECT_EQ(grid->GetGridObject(2, 1)->OwnerRow(), 1);
    EXPECT_EQ(grid->RowHeights(1), 50);
    EXPECT_EQ(grid->SortSettings()->Column(), 2);
}

// ---- floating footer --------------------------------------------------------------------------

class FooterTest : public CalcTest
{
protected:
    void SetUp() override
    {
        CalcTest::SetUp();
        grid->SetColCount(4);
        // Rows 1 .. 8 hold data, row 9 is the footer.
        for (int r = 1; r <= 8; ++r) {
            grid->SetCellEx(1, r, QString::number(r));
            grid->SetCellEx(2, r, QString::number(r * 1.25));
        }
        footer()->SetVisible(true);
    }
    TFloatingFooter *footer() { return grid->FloatingFooter(); }
    int footerRow() const { return grid->RowCount() - 1; }
    QString footerText(int c) const { return grid->GetCellEx(c, footerRow()); }
    QString formatted(double v) const
    {
        QString out;
        GridFormat(grid->FloatFormat(), {v}, out);
        return out;
    }
};

TEST_F(FooterTest, VisibleFooterTakesTheLastRow)
{
    EXPECT_EQ(grid->FixedFooters(), 1);
    EXPECT_EQ(footer()->PanelHeight(), footer()->Height() - 1);
    footer()->SetFooterStyle(TFooterStyle::fsColumnPreview);
    EXPECT_EQ(grid->FixedFooters(), 0);
    footer()->SetFooterStyle(TFooterStyle::fsFixedLastRow);
    footer()->SetVisible(false);
    EXPECT_EQ(grid->FixedFooters(), 0);
    EXPECT_EQ(footer()->PanelHeight(), 0);
}

TEST_F(FooterTest, SumIsWrittenInTheFloatFormat)
{
    footer()->SetColumnCalc(2, TColumnCalcType::acSUM);
    EXPECT_EQ(footerText(2), formatted(grid->ColumnSum(2, 1, 8)));
    EXPECT_EQ(footerText(1), ""); // no calculation asked there

    // Changed cells recalculate through the cells-changed notification.
    grid->ClearRows(8, 1);
    EXPECT_EQ(footerText(2), formatted(grid->ColumnSum(2, 1, 7)));
}

TEST_F(FooterTest, EveryCalculationTypeOverTheDataRows)
{
    struct
    {
        TColumnCalcType type;
        std::function<QString()> expected;
    } cases[] = {
        {TColumnCalcType::acSUM, [&] { return formatted(grid->ColumnSum(1, 1, 8)); }},
        {TColumnCalcType::acAVG, [&] { return formatted(grid->ColumnAvg(1, 1, 8)); }},
        {TColumnCalcType::acMIN, [&] { return formatted(grid->ColumnMin(1, 1, 8)); }},
        {TColumnCalcType::acMAX, [&] { return formatted(grid->ColumnMax(1, 1, 8)); }},
        {TColumnCalcType::acDISTINCT, [&] { return formatted(grid->ColumnDistinct(1, 1, 8)); }},
        {TColumnCalcType::acSTDDEV, [&] { return formatted(grid->ColumnStdDev(1, 1, 8)); }},
        {TColumnCalcType::acCOUNT,
         [&] { return QString::number(grid->RowCount() - grid->FixedRows() - 1); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        grid->SetCellEx(1, footerRow(), "stale");
        footer()->SetColumnCalc(1, c.type);
        EXPECT_EQ(footerText(1), c.expected());
        EXPECT_EQ(footer()->ColumnCalc(1), c.type);
    }
}

TEST_F(FooterTest, NothingIsCalculatedUnlessTheFooterCalculates)
{
    struct
    {
        const char *name;
        std::function<void()> setUp;
    } cases[] = {
        {"calculation off", [&] { footer()->SetEnableCalculation(false); }},
        {"column preview", [&] { footer()->SetFooterStyle(TFooterStyle::fsColumnPreview); }},
        {"hidden footer", [&] { footer()->SetVisible(false); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        grid->GetCellProperties(2, footerRow())->SetCalcType(TColumnCalcType::acSUM);
        grid->SetCellEx(2, footerRow(), "untouched");
        c.setUp();
        grid->CalcFooter(-1);
        EXPECT_EQ(footerText(2), "untouched");
    }
}

TEST_F(FooterTest, CustomFooterAsksTheGridsEventFirst)
{
    int footerAsked = 0;
    std::vector<int> gridAsked;
    footer()->OnCalcFooter = [&](QObject *, int, int, QString &v) {
        ++footerAsked;
        v = "from the footer";
    };
    grid->OnFooterCalc = [&](QObject *, int c, int r, QString &v) {
        gridAsked = {c, r};
        v = "from the grid";
    };
    footer()->SetColumnCalc(3, TColumnCalcType::acCUSTOM);
    EXPECT_EQ(footerText(3), "from the grid");
    EXPECT_EQ(gridAsked, (std::vector<int>{3, grid->RowCount() - 1}));
    EXPECT_EQ(footerAsked, 0);

    grid->OnFooterCalc = nullptr;
    grid->CalcFooter(3);
    EXPECT_EQ(footerText(3), "from the footer");

    footer()->OnCalcFooter = nullptr;
    grid->CalcFooter(3);
    EXPECT_EQ(footerText(3), "");
}

TEST_F(FooterTest, RowCountChangesKeepTheFooterRowLast)
{
    footer()->SetColumnCalc(1, TColumnCalcType::acSUM);
    grid->SetCellEx(3, footerRow(), "footer note");
    grid->SetRowCount(12);
    EXPECT_EQ(grid->GetCellEx(3, 11), "footer note");
    EXPECT_EQ(grid->GetCellEx(3, 9), "");
    EXPECT_EQ(grid->GetCellEx(1, 9), "");
    EXPECT_EQ(grid->GetGridObject(1, 11)->CalcType(), TColumnCalcType::acSUM);
    EXPECT_EQ(grid->GetGridObject(1, 11)->OwnerRow(), 11);
    EXPECT_EQ(footerText(1), formatted(grid->ColumnSum(1, 1, 10)));

    grid->SetRowCount(6);
    EXPECT_EQ(grid->GetCellEx(3, 5), "footer note");
    EXPECT_EQ(footerText(1), formatted(grid->ColumnSum(1, 1, 4)));

    // Added rows go in above the footer.
    grid->AddRow();
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(grid->GetCellEx(3, 6), "footer note");
    EXPECT_EQ(grid->GetCellEx(1, 5), "");
}

TEST_F(FooterTest, HiddenRowsCountWhileTheFooterCalculatesThem)
{
    // 1 fixed row, 11 data rows and the footer; three data rows hidden leave 10 rows shown.
    grid->SetRowCount(13);
    double all = 0;
    for (int r = 1; r <= 11; ++r) {
        grid->SetCellEx(1, r, QString::number(r));
        all += r;
    }
    footer()->SetColumnCalc(1, TColumnCalcType::acSUM);
    footer()->SetColumnCalc(2, TColumnCalcType::acCOUNT);
    grid->HideRows(2, 4);
    ASSERT_EQ(grid->RowCount(), 10);
    grid->CalcFooter(-1);
    EXPECT_EQ(footerText(2), "11");
    EXPECT_EQ(footerText(1), formatted(all));

    footer()->SetCalculateHiddenRows(false);
    grid->CalcFooter(-1);
    EXPECT_EQ(footerText(2), "8");
    EXPECT_EQ(footerText(1), formatted(all - 2 - 3 - 4));
}

// With one hidden row the data rows reach the footer's display row; the hidden row counts,
// the footer's own value does not.
TEST_F(FooterTest, OneHiddenRowCountsInsteadOfTheFooterRow)
{
    double all = 0;
    for (int r = 1; r <= 8; ++r)
        all += grid->GetFloats(1, r);
    footer()->SetColumnCalc(1, TColumnCalcType::acSUM);
    footer()->SetColumnCalc(2, TColumnCalcType::acMAX);
    grid->HideRow(8);
    grid->CalcFooter(-1);
    EXPECT_EQ(footerText(1), formatted(all));
    EXPECT_EQ(footerText(2), formatted(8 * 1.25));
}

TEST_F(FooterTest, WritingTheLastRowRepaintsTheFooterPanel)
{
    int repaints = 0;
    footer()->OnInvalidate = [&] { ++repaints; };
    grid->SetCellEx(1, 3, "5");
    const int before = repaints;
    grid->SetCellEx(3, footerRow(), "x");
    EXPECT_GT(repaints, before);
    footer()->OnInvalidate = nullptr; // the counter goes out of scope before the grid
}

// ---- notifiers and listener -------------------------------------------------------------------

TEST_F(CalcTest, CellsChangedReachesTheEventFirstThenEachNotifierOnce)
{
    std::vector<QString> order;
    struct TNamed : TGridChangeNotifier
    {
        TNamed(QString n, std::vector<QString> &o) : name(std::move(n)), log(o) {}
        void CellsChanged(const TGridRect &R) override
        {
            log.push_back(name + QStringLiteral(" %1").arg(R.Top));
        }
        QString name;
        std::vector<QString> &log;
    };
    TNamed a("a", order), b("b", order);
    auto c = std::make_unique<TNamed>("c", order);
    grid->OnCellsChanged = [&](QObject *, const TGridRect &R) {
        order.push_back(QStringLiteral("event %1").arg(R.Top));
    };
    grid->RegisterNotifier(&a);
    grid->RegisterNotifier(&b);
    grid->RegisterNotifier(&a);
    grid->RegisterNotifier(c.get());
    grid->NotifyCellsChanged({0, 4, 2, 4});
    EXPECT_EQ(order, (std::vector<QString>{"event 4", "a 4", "b 4", "c 4"}));

    order.clear();
    grid->UnRegisterNotifier(&a);
    c.reset(); // destroyed while registered
    grid->UnRegisterNotifier(&a);
    grid->NotifyCellsChanged({0, 7, 2, 7});
    EXPECT_EQ(order, (std::vector<QString>{"event 7", "b 7"}));
    grid->UnRegisterNotifier(&b);
}

TEST_F(CalcTest, NotifierBaseFiresItsEvent)
{
    TGridChangeNotifier n;
    TGridRect got{};
    n.OnCellsChanged = [&](QObject *, const TGridRect &R) { got = R; };
    grid->RegisterNotifier(&n);
    grid->NotifyCellsChanged({1, 2, 3, 4});
    EXPECT_EQ(got, (TGridRect{1, 2, 3, 4}));
    grid->UnRegisterNotifier(&n);
}

TEST_F(CalcTest, OneSelectionListenerAtATime)
{
    auto first = std::make_shared<ITQrlStringGridSelect>();
    auto second = std::make_shared<ITQrlStringGridSelect>();
    grid->RegisterSelListener(first);
    EXPECT_EQ(first.use_count(), 2);
    grid->RegisterSelListener(second);
    EXPECT_EQ(first.use_count(), 1);
    EXPECT_EQ(grid->SelListener(), second.get());
    grid->UnRegisterSelListener(first); // clears whatever is passed
    EXPECT_EQ(grid->SelListener(), nullptr);
    EXPECT_EQ(second.use_count(), 1);
}

// ---- row hooks --------------------------------------------------------------------------------

TEST_F(CalcTest, RemoveRowHookEmptiesTheOnlyDataRow)
{
    struct
    {
        const char *name;
        bool fixedRowAlways;
        int rowsAfter;
    } cases[] = {{"emptied", false, 2}, {"removed with FixedRowAlways", true, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        grid = std::make_unique<TQrlStringGrid>();
        grid->SetRowCount(2);
        grid->SetFixedRowAlways(c.fixedRowAlways);
        grid->SetCellEx(1, 1, "data");
        grid->SetColors(1, 1, clRed);
        std::vector<int> deleted;
        grid->OnAutoDeleteRow = [&](QObject *, int r) { deleted.push_back(r); };
        grid->RemoveRowHook(1);
        EXPECT_EQ(grid->RowCount(), c.rowsAfter);
        EXPECT_EQ(grid->GetCellEx(1, 1), "");
        EXPECT_FALSE(grid->HasCellProperties(1, 1));
        EXPECT_EQ(deleted, std::vector<int>{1});
    }
    // With more data rows the row goes.
    grid = std::make_unique<TQrlStringGrid>();
    grid->SetCellEx(1, 3, "third");
    grid->SetCellEx(1, 4, "fourth");
    grid->RemoveRowHook(3);
    EXPECT_EQ(grid->RowCount(), 9);
    EXPECT_EQ(grid->GetCellEx(1, 3), "fourth");
}

TEST_F(CalcTest, InsertRowHookInsertsOneRow)
{
    grid->SetCellEx(1, 3, "third");
    grid->InsertRowHook(3);
    EXPECT_EQ(grid->RowCount(), 11);
    EXPECT_EQ(grid->GetCellEx(1, 3), "");
    EXPECT_EQ(grid->GetCellEx(1, 4), "third");
}

// The names the key code uses reach the hooks, so a descendant's override applies to them too.
TEST_F(CalcTest, RowOperationNamesOfTheKeyCodeReachTheOverriddenHooks)
{
    class HookGrid : public TQrlStringGrid
    {
    public:
        void InsertRowHook(int ARow) override
        {
            calls.push_back("insert " + std::to_string(ARow));
            TQrlStringGrid::InsertRowHook(ARow);
        }
        void RemoveRowHook(int ARow) override
        {
            calls.push_back("remove " + std::to_string(ARow));
            TQrlStringGrid::RemoveRowHook(ARow);
        }
        void AddRowHook() override
        {
            calls.push_back("append");
            TQrlStringGrid::AddRowHook();
        }
        void GotoFirstRow() override
        {
            calls.push_back("first");
            TQrlStringGrid::GotoFirstRow();
        }
        std::vector<std::string> calls;
    } g;
    g.SetCellEx(1, 3, "third");
    g.InsertRowAt(3);
    EXPECT_EQ(g.GetCellEx(1, 4), "third");
    g.RemoveRowAt(2);
    EXPECT_EQ(g.GetCellEx(1, 3), "third");
    g.AppendEmptyRow();
    EXPECT_EQ(g.RowCount(), 11);
    g.SetRow(7);
    g.GotoFirstScrollRow();
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.calls, (std::vector<std::string>{"insert 3", "remove 2", "append", "first"}));
}

// ---- file texts -------------------------------------------------------------------------------

TEST_F(CalcTest, SaveCellTextOfCheckBoxesAndTaggedText)
{
    auto saved = [&](int c, int r) {
        QString v;
        grid->SaveCellText(c, r, v);
        return v;
    };
    grid->CreateCellGraphic(1, 1)->SetCheckBox(true, false, false, TCellHAlign::haLeft,
                                               TCellVAlign::vaTop);
    grid->CreateCellGraphic(1, 2)->SetCheckBox(false, false, false, TCellHAlign::haLeft,
                                               TCellVAlign::vaTop);
    grid->CreateCellGraphic(1, 3)->SetCheckBox(TCheckBoxState::cbChecked, false,
                                               TCellHAlign::haLeft, TCellVAlign::vaTop);
    grid->CreateCellGraphic(1, 4)->SetCheckBox(TCheckBoxState::cbGrayed, false, TCellHAlign::haLeft,
                                               TCellVAlign::vaTop);
    EXPECT_EQ(saved(1, 1), grid->CheckTrue());
    EXPECT_EQ(saved(1, 2), grid->CheckFalse());
    EXPECT_EQ(saved(1, 3), grid->CheckTrue());
    EXPECT_EQ(saved(1, 4), grid->CheckFalse());
    grid->OnGetCheckTrue = [](QObject *, int, int, QString &v) { v = "yes"; };
    EXPECT_EQ(saved(1, 1), "yes");

    grid->SetCellEx(2, 1, "<b>bold</b> text");
    EXPECT_EQ(saved(2, 1), "<b>bold</b> text");
    grid->SetSaveWithHTML(false);
    EXPECT_EQ(saved(2, 1), "bold text");

    grid->OnSaveCell = [](QObject *, int c, int r, QString &v) {
        v = QStringLiteral("%1,%2:%3").arg(c).arg(r).arg(v);
    };
    EXPECT_EQ(saved(2, 1), "2,1:bold text");
}

TEST_F(CalcTest, SaveCellTextTakesTheFormattedOrTheStoredText)
{
    grid->SetCellEx(1, 1, "3.14159");
    grid->OnGetFloatFormat = [](QObject *, int, int, bool &isFloat, QString &fmt) {
        isFloat = true;
        fmt = "%.1f";
    };
    QString v;
    grid->SaveCellText(1, 1, v);
    EXPECT_EQ(v, grid->GetFormattedCell(1, 1));
    EXPECT_NE(v, "3.14159");
    grid->SetSaveVirtCells(false);
    grid->SaveCellText(1, 1, v);
    EXPECT_EQ(v, "3.14159");
}

TEST_F(CalcTest, LoadCellTextStoresWhatOnLoadCellMakesOfIt)
{
    grid->LoadCellText(1, 1, "plain");
    EXPECT_EQ(grid->GetGridCell(1, 1), "plain");
    grid->OnLoadCell = [](QObject *, int, int, QString &v) { v = v.toUpper(); };
    grid->LoadCellText(1, 2, "loud");
    EXPECT_EQ(grid->GetGridCell(1, 2), "LOUD");
    EXPECT_EQ(grid->ExportCellText(1, 2), "LOUD");
}

} // namespace
