#include "grid/model/QrlGridLists.h"
#include "grid/model/QrlGridParse.h"
#include "grid/model/QrlSortCompare.h"
#include "grid/model/QrlSortOrder.h"
#include "platform/os/Regional.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

using TCell = std::pair<int, int>; // column, row

struct TFormat
{
    TSortStyle style = TSortStyle::ssAutomatic;
    QString prefix;
    QString suffix;
};

class FakeSource : public ISortCompareSource
{
public:
    FakeSource() : settings(nullptr) {}

    // Rows of cells; every row as wide as the first.
    void setRows(const std::vector<QStringList> &r) { rows = r; }
    void setColumn(int col, const QStringList &texts)
    {
        rows.resize(static_cast<std::size_t>(texts.size()));
        for (qsizetype r = 0; r < texts.size(); ++r) {
            QStringList &row = rows[static_cast<std::size_t>(r)];
            while (row.size() <= col)
                row << QString();
            row[col] = texts[r];
        }
    }

    const TSortSettings &SortCompareSettings() const override { return settings; }
    int SortColCount() const override { return rows.empty() ? 0 : int(rows.front().size()); }
    bool SortIsIgnoredColumn(int ACol) const override { return ignored.count(ACol) > 0; }
    const TSortIndexList &SortIndexes() const override { return indexes; }
    void
    SortQueryCellFormat(int ACol, TSortStyle &AStyle, QString &aPrefix, QString &aSuffix) override
    {
        askedStyles.push_back(AStyle);
        const auto f = formats.find(ACol);
        if (f == formats.end())
            return;
        AStyle = f->second.style;
        aPrefix = f->second.prefix;
        aSuffix = f->second.suffix;
    }
    QString SortDisplayText(int ACol, int ARow) override
    {
        const auto d = display.find({ACol, ARow});
        return d != display.end() ? d->second : SortStoredText(ACol, ARow);
    }
    QString SortStoredText(int ACol, int ARow) override
    {
        return rows.at(static_cast<std::size_t>(ARow)).at(ACol);
    }
    QString SortStrippedText(int ACol, int ARow) override
    {
        static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
        return SortDisplayText(ACol, ARow).remove(tag);
    }
    bool SortTextView(int ACol, int ARow, QAnyStringView &View) override
    {
        if (!textViews)
            return false;
        if (settings.SortOnVirtualCells() && display.count({ACol, ARow}))
            return false;
        View = rows.at(static_cast<std::size_t>(ARow)).at(ACol);
        return true;
    }
    TCellType SortCellType(int ACol, int ARow) override
    {
        const auto t = types.find({ACol, ARow});
        return t != types.end() ? t->second : TCellType::ctEmpty;
    }
    bool SortCheckBoxState(int ACol, int ARow) override { return checked.count({ACol, ARow}) > 0; }
    int SortImageKey(int ACol, int ARow) override
    {
        const auto k = imageKeys.find({ACol, ARow});
        return k != imageKeys.end() ? k->second : -1;
    }
    void SortCustomCompare(const QString &str1, const QString &str2, int &Res) override
    {
        if (onCustom)
            onCustom(str1, str2, Res);
    }
    void SortRawCompare(int ACol, int Row1, int Row2, int &Res) override
    {
        if (onRaw)
            onRaw(ACol, Row1, Row2, Res);
    }
    void SortCompareCounted() override { ++compares; }

    TSortSettings settings;
    std::vector<QStringList> rows;
    std::set<int> ignored;
    TSortIndexList indexes;
    std::map<int, TFormat> formats;
    std::map<TCell, QString> display;
    std::map<TCell, TCellType> types;
    std::set<TCell> checked;
    std::map<TCell, int> imageKeys;
    std::function<void(const QString &, const QString &, int &)> onCustom;
    std::function<void(int, int, int, int &)> onRaw;
    std::vector<TSortStyle> askedStyles;
    int compares = 0;
    // Whether the stored texts can be read in place, as the grid's store gives them.
    bool textViews = false;
};

// Regional values pinned: "," thousands, "." decimals, "/" dates in day-month-year order, ":"
// times; euro() swaps the number separators.
class SortCompareTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        pinNumbers(u',', u'.');
    }
    void TearDown() override
    {
        OverrideGridRegionalSettings(std::nullopt);
        plat::OverrideDecimalSeparator(std::nullopt);
        QLocale::setDefault(m_savedLocale);
    }
    static void pinNumbers(QChar thousand, QChar decimal)
    {
        TGridRegionalSettings s;
        s.ThousandSeparator = thousand;
        s.DateSeparator = u'/';
        s.TimeSeparator = u':';
        s.ShortDateFormat = QStringLiteral("d/M/yyyy");
        OverrideGridRegionalSettings(s);
        plat::OverrideDecimalSeparator(QString(decimal));
    }

    FakeSource src;
    TSortCompare cmp{src};

private:
    QLocale m_savedLocale;
};

// --- One cell against another, per style ----------------------------------------------------

struct CellCase
{
    const char *name;
    TSortStyle style;
    const char *text1;
    const char *text2;
    int expected;
    const char *prefix = "";
    const char *suffix = "";
    bool ignoreCase = false;
    bool euro = false;
};

using S = TSortStyle;

const CellCase kCellCases[] = {
    // Automatic: judged from the first cell's text.
    {"auto numbers by value", S::ssAutomatic, "9", "10", -1},
    {"auto 100 after 10", S::ssAutomatic, "100", "10", 1},
    {"auto negative number", S::ssAutomatic, "-5", "3", -1},
    {"auto decimal", S::ssAutomatic, "1.5", "1.25", 1},
    {"auto exponent", S::ssAutomatic, "1e3", "999", 1},
    {"auto decimal comma", S::ssAutomatic, "1,5", "1,25", 1, "", "", false, true},
    {"auto text by code unit", S::ssAutomatic, "b", "A", 1},
    {"auto capital first", S::ssAutomatic, "A", "a", -1},
    {"auto ignore case", S::ssAutomatic, "A", "a", 0, "", "", true},
    {"auto empty first cell is text", S::ssAutomatic, "", "5", -1},
    {"auto date in regional order", S::ssAutomatic, "2/1/2020", "1/3/2020", -1},
    {"auto date with time", S::ssAutomatic, "1/2/2020 10:00", "1/2/2020 9:00", 1},
    {"auto separator at 5 is text", S::ssAutomatic, "2020/10/2", "2020/9/2", -1},
    {"auto date needs separator in both", S::ssAutomatic, "1/2/2020", "abc", -1},
    {"auto time", S::ssAutomatic, "12:30", "9:05", 1},
    {"auto time separator at 4 is text", S::ssAutomatic, "123:45", "100:00", 1},
    // Texts.
    {"alphabetic", S::ssAlphabetic, "abc", "abd", -1},
    {"alphabetic case counts", S::ssAlphabetic, "B", "a", -1},
    {"alphabetic numbers as text", S::ssAlphabetic, "10", "9", -1},
    {"alphabetic prefix shorter first", S::ssAlphabetic, "ab", "abc", -1},
    {"alpha case", S::ssAlphaCase, "B", "a", -1},
    {"no case", S::ssAlphaNoCase, "B", "a", 1},
    {"no case equal", S::ssAlphaNoCase, "abc", "ABC", 0},
    {"no case folds a to z only", S::ssAlphaNoCase, "\xc3\xa9", "\xc3\x89", 1},
    {"locale no case equal", S::ssAnsiAlphaNoCase, "abc", "ABC", 0},
    {"locale no case order", S::ssAnsiAlphaNoCase, "b", "A", 1},
    {"locale order ignores code units", S::ssAnsiAlphaCase, "a", "B", -1},
    {"locale case counts", S::ssAnsiAlphaCase, "a", "A", -1},
    {"html tags stripped", S::ssHTML, "<b>z</b>", "a", 1},
    {"html equal after stripping", S::ssHTML, "<i>a</i>", "a", 0},
    // Numbers.
    {"numeric prefix", S::ssNumeric, "$10", "$9", 1, "$"},
    {"numeric suffix", S::ssNumeric, "10 kg", "9 kg", 1, "", " kg"},
    {"numeric negative", S::ssNumeric, "-1.5", "-1.25", -1},
    {"numeric exponent", S::ssNumeric, "2e2", "150", 1},
    {"numeric text counts as 0", S::ssNumeric, "n/a", "-3", 1},
    {"numeric neither converts", S::ssNumeric, "abc", "xyz", 0},
    {"numeric empty is 0", S::ssNumeric, "", "-3", 1},
    {"numeric keeps thousands", S::ssNumeric, "1,000.50", "999", -1},
    {"numeric decimal comma", S::ssNumeric, "1,5", "1,25", 1, "", "", false, true},
    {"financial thousands", S::ssFinancial, "1,000.50", "999", 1},
    {"financial negative", S::ssFinancial, "-1,000", "-999", -1},
    {"financial prefix", S::ssFinancial, "$1,000", "$999", 1, "$"},
    {"financial decimal comma", S::ssFinancial, "1.000,5", "999,9", 1, "", "", false, true},
    // Dates and times.
    {"date in regional order", S::ssDate, "2/1/2020", "1/3/2020", -1},
    {"date empty is 0", S::ssDate, "", "1/1/2000", -1},
    {"date failures equal", S::ssDate, "x", "32/1/2020", 0},
    {"date and time", S::ssDateTime, "1/2/2020 10:00", "1/2/2020 9:00", 1},
    {"time", S::ssTime, "9:05", "12:30", -1},
    {"time failure is 0", S::ssTime, "x", "0:00", 0},
    {"short date EU", S::ssShortDateEU, "2/1/21", "1/3/21", -1},
    {"short date US", S::ssShortDateUS, "2/1/21", "1/3/21", 1},
    {"short date EU with dots", S::ssShortDateEU, "31.12.21", "1.1.22", -1},
    {"short date impossible is 0", S::ssShortDateEU, "31.2.21", "x", 0},
    // Alphanumeric: numbers only when both are numbers, else plain text.
    {"alphanumeric numbers", S::ssAlphaNumeric, "2", "10", -1},
    {"alphanumeric text by code unit", S::ssAlphaNumeric, "a2", "a10", 1},
    {"alphanumeric mixed is text", S::ssAlphaNumeric, "2", "a", -1},
    {"alphanumeric case counts", S::ssAlphaNumeric, "B", "a", -1},
    {"alphanumeric no case", S::ssAlphaNumericNoCase, "B", "a", 1},
    {"alphanumeric no case numbers", S::ssAlphaNumericNoCase, "9", "10", -1},
};

TEST_F(SortCompareTest, CellPairPerStyle)
{
    for (const CellCase &c : kCellCases) {
        SCOPED_TRACE(c.name);
        pinNumbers(c.euro ? u'.' : u',', c.euro ? u',' : u'.');
        src.settings.SetIgnoreCase(c.ignoreCase);
        src.formats[0] = {c.style, QString::fromUtf8(c.prefix), QString::fromUtf8(c.suffix)};
        src.setColumn(0, {QString::fromUtf8(c.text1), QString::fromUtf8(c.text2)});
        EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, TSortDirection::sdAscending), c.expected);
        // Every case here is judged the same way both ways round.
        EXPECT_EQ(cmp.CompareCellPair(0, 1, 0, TSortDirection::sdAscending), -c.expected);
    }
}

TEST_F(SortCompareTest, AutomaticStyleIsJudgedFromTheFirstCell)
{
    // A time-like first cell makes a time compare; a text first cell a text compare.
    src.setColumn(0, {"9:05", "12:30", "x12:30"});
    EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, TSortDirection::sdAscending), -1);
    EXPECT_EQ(cmp.CompareCellPair(0, 2, 0, TSortDirection::sdAscending), 1);
    // An empty first cell compares as text, a negative number as a number: the pair is
    // ordered differently depending on which row comes first.
    src.setColumn(0, {"", "-5"});
    EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, TSortDirection::sdAscending), -1);
    EXPECT_EQ(cmp.CompareCellPair(0, 1, 0, TSortDirection::sdAscending), -1);
    // A date-like start without a date partner is text; the time test is not tried.
    src.setColumn(0, {"1/2:3", "0:00"});
    EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, TSortDirection::sdAscending), 1);
    EXPECT_EQ(cmp.CompareCellPair(0, 1, 0, TSortDirection::sdAscending), 0) << "times, both 0";
}

TEST_F(SortCompareTest, StartingStyleFollowsTheSettingsAndIsAskedEveryTime)
{
    struct Case
    {
        bool autoFormat;
        bool ignoreCase;
        TSortStyle start;
        int aVsCapitalA;
    };
    const Case cases[] = {
        {true, false, S::ssAutomatic, 1},
        {true, true, S::ssAutomatic, 0},
        {false, true, S::ssAlphaNoCase, 0},
        {false, false, S::ssAlphabetic, 1},
    };
    src.setColumn(0, {"a", "A"});
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.start));
        src.askedStyles.clear();
        src.settings.SetAutoFormat(c.autoFormat);
        src.settings.SetIgnoreCase(c.ignoreCase);
        EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, TSortDirection::sdAscending), c.aVsCapitalA);
        EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, TSortDirection::sdAscending), c.aVsCapitalA);
        EXPECT_EQ(src.askedStyles, std::vector<TSortStyle>(2, c.start));
    }
}

TEST_F(SortCompareTest, VirtualCellsCompareTheDisplayTexts)
{
    src.setColumn(0, {"b", "a"});
    src.display[{0, 0}] = "1";
    src.display[{0, 1}] = "2";
    EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, TSortDirection::sdAscending), -1);
    src.settings.SetSortOnVirtualCells(false);
    EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, TSortDirection::sdAscending), 1);
}

TEST_F(SortCompareTest, CheckBoxCells)
{
    struct Case
    {
        bool state1;
        bool state2;
        int expected;
    };
    src.formats[0] = {S::ssCheckBox, {}, {}};
    src.setColumn(0, {"b", "a"}); // texts play no part
    for (const Case &c : {Case{false, true, -1}, Case{true, false, 1}, Case{true, true, 0},
                          Case{false, false, 0}}) {
        src.checked.clear();
        if (c.state1)
            src.checked.insert({0, 0});
        if (c.state2)
            src.checked.insert({0, 1});
        EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, TSortDirection::sdAscending), c.expected)
            << c.state1 << " vs " << c.state2;
    }

    // The automatic style takes every two-state check kind of the first cell as a check box.
    src.formats.clear();
    src.checked = {{0, 1}};
    for (TCellType t : {TCellType::ctCheckBox, TCellType::ctDataCheckBox, TCellType::ctVirtCheckBox,
                        TCellType::ctRowCheckBox}) {
        src.types[{0, 0}] = t;
        EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, TSortDirection::sdAscending), -1) << int(t);
    }
    src.types[{0, 0}] = TCellType::ctTriStateCheckBox;
    EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, TSortDirection::sdAscending), 1) << "compared as text";
}

TEST_F(SortCompareTest, ImageKeysCompareAsSignedNumbers)
{
    struct Case
    {
        int key1;
        int key2;
        int expected;
    };
    src.formats[0] = {S::ssImages, {}, {}};
    src.setColumn(0, {"", ""});
    for (const Case &c : {Case{5, -1, 1}, Case{-1, 5, -1}, Case{7, 7, 0},
                          Case{INT_MIN, INT_MAX, -1}, Case{INT_MAX, INT_MIN, 1}}) {
        src.imageKeys[{0, 0}] = c.key1;
        src.imageKeys[{0, 1}] = c.key2;
        EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, TSortDirection::sdAscending), c.expected)
            << c.key1 << " vs " << c.key2;
    }
}

TEST_F(SortCompareTest, CustomAndRawCompareEvents)
{
    src.setColumn(0, {"long text", "ab"});
    src.display[{0, 0}] = "shown";

    src.formats[0] = {S::ssCustom, {}, {}};
    EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, TSortDirection::sdAscending), 0) << "no handler";
    QStringList seen;
    int startRes = -99;
    int answer = 0;
    src.onCustom = [&](const QString &a, const QString &b, int &res) {
        seen = {a, b};
        startRes = res;
        res = answer;
    };
    // A handler answering a difference instead of -1 / 0 / 1 still orders the pair.
    for (int a : {-1, 0, 1, 42, -42}) {
        answer = a;
        EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, TSortDirection::sdAscending), (a > 0) - (a < 0))
            << a;
    }
    EXPECT_EQ(seen, QStringList({"shown", "ab"}));
    EXPECT_EQ(startRes, 0);

    src.formats[0] = {S::ssRaw, {}, {}};
    EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, TSortDirection::sdAscending), 0) << "no handler";
    std::vector<int> args;
    src.onRaw = [&](int col, int r1, int r2, int &res) {
        args = {col, r1, r2, res};
        res = -7;
    };
    EXPECT_EQ(cmp.CompareCellPair(0, 1, 0, TSortDirection::sdAscending), -1);
    EXPECT_EQ(args, std::vector<int>({0, 1, 0, 0}));
}

TEST_F(SortCompareTest, BlanksGoFirstOrLastWhateverTheDirection)
{
    struct Case
    {
        TSortDirection dir;
        TSortBlankPosition pos;
        int blankFirstArg; // text1 empty, text2 not
    };
    const auto asc = TSortDirection::sdAscending;
    const auto desc = TSortDirection::sdDescending;
    const auto first = TSortBlankPosition::blFirst;
    const auto last = TSortBlankPosition::blLast;
    const Case cases[] = {{asc, first, -1}, {asc, last, 1}, {desc, first, 1}, {desc, last, -1}};

    // Blank as each style leaves the text: "$" loses its prefix, "<b></b>" its tags.
    struct Texts
    {
        TSortStyle style;
        const char *blank;
        const char *prefix;
    };
    const Texts texts[] = {{S::ssAlphabetic, "", ""},
                           {S::ssNumeric, "$", "$"},
                           {S::ssHTML, "<b></b>", ""},
                           {S::ssAlphaNoCase, "", ""}};
    src.settings.SetIgnoreBlanks(true);
    for (const Texts &t : texts) {
        src.formats[0] = {t.style, QString::fromUtf8(t.prefix), {}};
        src.setColumn(0, {QString::fromUtf8(t.blank), "5"});
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message()
                         << int(t.style) << " dir " << int(c.dir) << " pos " << int(c.pos));
            src.settings.SetBlankPos(c.pos);
            EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, c.dir), c.blankFirstArg);
            EXPECT_EQ(cmp.CompareCellPair(0, 1, 0, c.dir), -c.blankFirstArg);
        }
    }

    // Two blanks, or the switch off, keep the style's own answer.
    src.formats[0] = {S::ssAlphabetic, {}, {}};
    src.setColumn(0, {"", ""});
    src.settings.SetBlankPos(last);
    EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, asc), 0);
    src.setColumn(0, {"", "5"});
    src.settings.SetIgnoreBlanks(false);
    EXPECT_EQ(cmp.CompareCellPair(0, 0, 1, asc), -1);
}

// --- Rows: tie-breaks -----------------------------------------------------------------------

class RowCompareTest : public SortCompareTest
{
protected:
    void SetUp() override
    {
        SortCompareTest::SetUp();
        src.setRows({
            {"a", "2", "x", "1"},
            {"a", "1", "x", "2"},
            {"a", "2", "x", "1"},
        });
    }
};

TEST_F(RowCompareTest, TiesGoToTheColumnsOnTheRight)
{
    struct Case
    {
        const char *name;
        int col;
        bool full;
        std::set<int> ignored;
        int expected;
        int cellCompares;
    };
    const Case cases[] = {
        {"next column decides", 0, true, {}, 1, 2},
        {"without Full a tie stays", 0, false, {}, 0, 1},
        {"never a column to the left", 2, true, {}, -1, 2},
        {"last column has no tie-break", 3, true, {}, -1, 1},
        {"ignored column passes the tie on", 0, true, {1}, -1, 3},
        {"ignored sort column", 1, true, {1}, -1, 2},
        {"ignored sort column without Full", 1, false, {1}, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        src.settings.SetFull(c.full);
        src.ignored = c.ignored;
        src.compares = 0;
        EXPECT_EQ(cmp.CompareRows(c.col, 0, 1), c.expected);
        EXPECT_EQ(src.compares, c.cellCompares);
        EXPECT_EQ(cmp.CompareRows(c.col, 1, 0), -c.expected);
    }
    src.settings.SetFull(true);
    src.ignored.clear();
    EXPECT_EQ(cmp.CompareRows(0, 0, 2), 0) << "equal rows";
}

TEST_F(RowCompareTest, DirectionOnlyPlacesBlanks)
{
    src.settings.SetDirection(TSortDirection::sdDescending);
    EXPECT_EQ(cmp.CompareRows(0, 0, 1), 1);
    src.setRows({{"", "1"}, {"b", "1"}});
    src.settings.SetIgnoreBlanks(true);
    src.settings.SetBlankPos(TSortBlankPosition::blLast);
    EXPECT_EQ(cmp.CompareRows(0, 0, 1), -1) << "descending: the blank goes after in shown order";
}

TEST_F(RowCompareTest, IndexedCompare)
{
    // Column 3 ascending, then column 1 descending.
    src.setRows({
        {"", "5", "", "1"},
        {"", "7", "", "1"},
        {"", "7", "", "0"},
        {"", "5", "", "1"},
    });
    src.indexes.AddIndex(3, true);
    src.indexes.AddIndex(1, false);
    EXPECT_EQ(cmp.CompareRowsIndexed(0, 0, 1), 1) << "tie on 3, 5 after 7 descending";
    EXPECT_EQ(cmp.CompareRowsIndexed(0, 1, 0), -1);
    EXPECT_EQ(cmp.CompareRowsIndexed(0, 0, 2), 1) << "column 3 decides first";
    EXPECT_EQ(cmp.CompareRowsIndexed(0, 0, 3), 0) << "tie at the last entry";
    EXPECT_EQ(cmp.CompareRowsIndexed(1, 0, 2), 1) << "from the second entry on";
    EXPECT_EQ(cmp.CompareRowsIndexed(2, 0, 1), 0) << "past the list";

    src.ignored = {3};
    EXPECT_EQ(cmp.CompareRowsIndexed(0, 0, 2), 1) << "ignored entry passes to column 1";
    src.ignored.clear();

    src.settings.SetFull(false);
    EXPECT_EQ(cmp.CompareRowsIndexed(0, 0, 1), 0);
    src.settings.SetFull(true);

    // A blank ends up last in the shown order in a descending entry too.
    src.rows[0][1] = "";
    src.settings.SetIgnoreBlanks(true);
    src.settings.SetBlankPos(TSortBlankPosition::blLast);
    EXPECT_EQ(cmp.CompareRowsIndexed(0, 0, 1), 1);
    EXPECT_EQ(cmp.CompareRowsIndexed(0, 1, 0), -1);
}

// --- Whole columns through the row compare --------------------------------------------------

// Rows 0 .. n-1 in the order the compare gives for the settings' direction.
std::vector<int> sortedRows(TSortCompare &cmp, const FakeSource &src, int col)
{
    std::vector<int> order(src.rows.size());
    std::iota(order.begin(), order.end(), 0);
    const int dir = src.settings.Direction() == TSortDirection::sdAscending ? 1 : -1;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return cmp.CompareRows(col, a, b) == -dir; });
    return order;
}

QStringList column(const FakeSource &src, const std::vector<int> &order, int col)
{
    QStringList r;
    for (int row : order)
        r << src.rows[static_cast<std::size_t>(row)][col];
    return r;
}

TEST_F(SortCompareTest, ColumnsSortAsUsersExpect)
{
    src.setColumn(0, {"10", "9", "100"});
    EXPECT_EQ(column(src, sortedRows(cmp, src, 0), 0), QStringList({"9", "10", "100"}));

    src.setColumn(0, {"b", "A", "a"});
    EXPECT_EQ(column(src, sortedRows(cmp, src, 0), 0), QStringList({"A", "a", "b"}));

    src.settings.SetIgnoreBlanks(true);
    src.formats[0] = {S::ssAlphabetic, {}, {}};
    src.setColumn(0, {"b", "", "c", "", "a"});
    struct Case
    {
        TSortDirection dir;
        TSortBlankPosition pos;
        QStringList expected;
    };
    const Case cases[] = {
        {TSortDirection::sdAscending, TSortBlankPosition::blLast, {"a", "b", "c", "", ""}},
        {TSortDirection::sdDescending, TSortBlankPosition::blLast, {"c", "b", "a", "", ""}},
        {TSortDirection::sdAscending, TSortBlankPosition::blFirst, {"", "", "a", "b", "c"}},
        {TSortDirection::sdDescending, TSortBlankPosition::blFirst, {"", "", "c", "b", "a"}},
    };
    for (const Case &c : cases) {
        src.settings.SetDirection(c.dir);
        src.settings.SetBlankPos(c.pos);
        EXPECT_EQ(column(src, sortedRows(cmp, src, 0), 0), c.expected)
            << int(c.dir) << " " << int(c.pos);
    }
}

// A session works out what each cell sorts by once; every answer must be the one the compare
// gives without it, for every style, blank rule and mix of texts.
TEST_F(SortCompareTest, SessionAnswersAsTheCompareWithoutIt)
{
    using S = TSortStyle;
    const QStringList pool = {"",        "0",          "7",
                              "-3",      "12.5",       "1,234.5",
                              "1e3",     "$45",        "45 kg",
                              "abc",     "ABC",        "Zeta",
                              "zeta",    "10/03/2020", "1/3/2020 10:15",
                              "3/12/19", "10:15",      "9:05:30",
                              "12:3x",   "a/b",        "x:y",
                              "Ü",       "é",          QString(QChar(0x20AC)) + "5",
                              "  ",      "<b>x</b>",   "1.",
                              "."};
    std::mt19937 rng(7);
    const int rows = 60;
    QStringList texts;
    for (int r = 0; r < rows; ++r)
        texts << pool[rng() % pool.size()];
    src.setColumn(0, texts);
    for (int r = 0; r < rows; r += 7) {
        src.types[{0, r}] = TCellType::ctCheckBox;
        if (r % 2)
            src.checked.insert({0, r});
        src.imageKeys[{0, r}] = int(rng() % 5) - 2;
    }
    const S styles[] = {S::ssAutomatic,
                        S::ssAlphabetic,
                        S::ssNumeric,
                        S::ssDate,
                        S::ssAlphaNoCase,
                        S::ssAlphaCase,
                        S::ssShortDateEU,
                        S::ssShortDateUS,
                        S::ssFinancial,
                        S::ssImages,
                        S::ssCheckBox,
                        S::ssDateTime,
                        S::ssTime,
                        S::ssAlphaNumeric,
                        S::ssAlphaNumericNoCase,
                        S::ssHTML,
                        S::ssAnsiAlphaCase,
                        S::ssAnsiAlphaNoCase,
                        S::ssCustom,
                        S::ssRaw};
    src.onCustom = [](const QString &a, const QString &b, int &res) {
        res = a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
    };
    src.onRaw = [](int, int r1, int r2, int &res) { res = (r1 % 3) - (r2 % 3); };
    for (const S style : styles) {
        for (const bool ignoreBlanks : {false, true}) {
            for (const bool ignoreCase : {false, true}) {
                src.formats[0] = {style, QStringLiteral("$"), QStringLiteral(" kg")};
                src.settings.SetIgnoreBlanks(ignoreBlanks);
                src.settings.SetIgnoreCase(ignoreCase);
                TSortCompare plain(src);
                TSortCompare session(src);
                session.BeginSession(rows);
                for (int a = 0; a < rows; ++a)
                    for (int b = 0; b < rows; ++b)
                        ASSERT_EQ(session.CompareCellPair(0, a, b, TSortDirection::sdDescending),
                                  plain.CompareCellPair(0, a, b, TSortDirection::sdDescending))
                            << "style " << int(style) << " blanks " << ignoreBlanks << " case "
                            << ignoreCase << ": " << texts[a].toStdString() << " / "
                            << texts[b].toStdString();
            }
        }
    }
}

// A sort by one value per row must give the order of the row compares: numbers, dates, times
// and words, each column with ties and blanks, in both directions, under every blank rule, by
// one column or by an index list, with ignored columns among the tie-breakers.
TEST_F(SortCompareTest, CompactOrderIsTheReferenceOrder)
{
    using S = TSortStyle;
    enum Kind { Number, Date, Time, Word, Count };
    std::mt19937 rng(29);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const QStringList words = {"ab",       "Ab",       "abc",  "abd",  "ABd",  "zeta", "Zeta",
                               "abcdefgh", "abcdefgi", QString(QChar(0xE9)), "abcd", "abcD",
                               "a",        "abcdef",   "ab c", "b"};
    auto text = [&](Kind kind) -> QString {
        switch (kind) {
        case Number:
            return QString::number(pick(7) - 3) + (pick(3) == 0 ? QStringLiteral(".5") : QString());
        case Date:
            return QStringLiteral("%1/%2/20%3").arg(1 + pick(3)).arg(1 + pick(2)).arg(10 + pick(2));
        case Time:
            return QStringLiteral("%1:%2").arg(pick(3)).arg(10 + pick(3));
        default:
            return words[pick(int(words.size()))];
        }
    };
    const S explicitStyle[] = {S::ssNumeric, S::ssDate, S::ssTime, S::ssAlphabetic};
    src.textViews = true;
    int compact = 0;
    for (int round = 0; round < 400; ++round) {
        const int rows = 2 + pick(round < 300 ? 40 : 300);
        const int cols = 4;
        std::vector<Kind> kinds;
        std::vector<int> blanks;
        for (int c = 0; c < cols; ++c) {
            kinds.push_back(Kind(pick(Count)));
            blanks.push_back(pick(3) == 0 ? 0 : 4 + pick(5)); // one in blanks[c] cells
        }
        std::vector<QStringList> cells(static_cast<size_t>(rows));
        for (auto &row : cells)
            for (int c = 0; c < cols; ++c)
                row << (blanks[size_t(c)] && pick(blanks[size_t(c)]) == 0 ? QString()
                                                                         : text(kinds[size_t(c)]));
        src.setRows(cells);
        src.formats.clear();
        for (int c = 0; c < cols; ++c) {
            if (pick(3) == 0)
                src.formats[c] = {kinds[size_t(c)] == Word && pick(2)
                                      ? S::ssAlphaNoCase
                                      : explicitStyle[kinds[size_t(c)]],
                                  QString(), QString()};
        }
        src.ignored.clear();
        if (pick(4) == 0)
            src.ignored.insert(1 + pick(cols - 1));
        const bool descending = pick(2);
        src.settings.SetDirection(descending ? TSortDirection::sdDescending
                                             : TSortDirection::sdAscending);
        src.settings.SetIgnoreBlanks(pick(2));
        src.settings.SetBlankPos(pick(2) ? TSortBlankPosition::blFirst
                                         : TSortBlankPosition::blLast);
        src.settings.SetIgnoreCase(pick(2));
        src.settings.SetFull(pick(4) != 0);
        TSortRequest req;
        req.indexed = pick(4) == 0;
        req.col = pick(cols - 1);
        req.direction = src.settings.Direction();
        src.indexes.Clear();
        if (req.indexed) {
            for (int i = 0; i < 3; ++i) {
                const int col = i == 0 ? req.col : pick(cols);
                const bool ascending = pick(2);
                src.indexes.AddIndex(col, ascending);
                if (i == 0)
                    req.direction =
                        ascending ? TSortDirection::sdAscending : TSortDirection::sdDescending;
            }
        }
        req.left = pick(2);
        req.right = rows - 1 - pick(2);
        if (req.right < req.left)
            continue;

        TSortCompare reference(src);
        reference.BeginSession(rows);
        const std::vector<int> expected = SortOrderReference(reference, src, req);
        TSortCompare fast(src);
        fast.BeginSession(rows);
        std::vector<int> got;
        const bool taken = SortOrderCompact(fast, src, req, got);
        const Kind kind = kinds[size_t(req.col)];
        const bool automatic = !src.formats.count(req.col);
        // An automatic number column with empty cells orders them by no single value.
        const bool expectCompact =
            !(automatic && kind == Number && blanks[size_t(req.col)] &&
              !src.settings.IgnoreBlanks()) &&
            !src.ignored.count(req.col);
        QString described =
            QStringLiteral("round %1 kind %2 col %3 indexed %4 descending %5 ignore blanks %6 "
                           "blanks first %7 full %8 formats")
                .arg(round)
                .arg(int(kind))
                .arg(req.col)
                .arg(int(req.indexed))
                .arg(int(descending))
                .arg(int(src.settings.IgnoreBlanks()))
                .arg(int(src.settings.BlankPos() == TSortBlankPosition::blFirst))
                .arg(int(src.settings.Full()));
        for (const auto &[c, f] : src.formats)
            described += QStringLiteral(" %1:%2").arg(c).arg(int(f.style));
        for (const int c : src.ignored)
            described += QStringLiteral(" ignored %1").arg(c);
        described += u'\n';
        for (int r = 0; r < rows; ++r)
            described += QStringLiteral("  ") + cells[size_t(r)].join(QStringLiteral(" | ")) + u'\n';
        const std::string what = described.toStdString();
        // ... and a tie column like it hands the whole sort to the reference.
        bool mixedTies = false;
        for (int c = 0; c < cols; ++c)
            mixedTies = mixedTies || (c != req.col && !src.formats.count(c) &&
                                      kinds[size_t(c)] == Number && blanks[size_t(c)] &&
                                      !src.settings.IgnoreBlanks());
        if (!mixedTies) {
            ASSERT_EQ(taken, expectCompact) << what;
        }
        if (!taken)
            continue;
        ++compact;
        const auto diff = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
        ASSERT_TRUE(diff.first == got.end())
            << what << "first difference at " << (diff.first - got.begin()) << ": row "
            << *diff.first << " (" << cells[size_t(*diff.first)].join(" | ").toStdString()
            << ") where the reference has row " << *diff.second << " ("
            << cells[size_t(*diff.second)].join(" | ").toStdString() << ")";
    }
    EXPECT_GT(compact, 250);
}

} // namespace
