// The column grid: items in step with the columns, headers, the hooks answered from the items,
// filters, moved and sized columns, pop-up menus, the column order store and the item stream.
#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlColumnGrid.h"
#include "grid/model/QrlGridError.h"
#include "grid/model/QrlGridOptions.h"
#include "platform/os/IniFile.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QMenu>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

// Opens the framework's protected notifications to the tests.
class TProbeGrid : public TQrlColumnGrid
{
public:
    using TQrlColumnGrid::GetEditLimit;
    using TQrlColumnGrid::GetEditMask;
};

QStringList headersOf(const TQrlColumnGrid &g)
{
    QStringList h;
    for (int i = 0; i < g.Columns()->Count(); ++i)
        h << g.Columns()->Items(i)->Header();
    return h;
}

QStringList row0Of(const TQrlColumnGrid &g)
{
    QStringList h;
    for (int c = 0; c < g.ColCount(); ++c)
        h << g.GetCellEx(c, 0);
    return h;
}

// What a stream must carry of an item, in one comparable text.
QString describe(const TGridColumnItem &it)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9|%10|%11|%12|%13|%14|%15")
        .arg(it.Header(), QString::number(static_cast<int>(it.Editor())), it.ComboItems().join(','),
             it.CheckTrue(), it.CheckFalse(), it.Filter().join(','), it.FloatFormat(), it.Name(),
             it.Font().Name())
        .arg(it.Font().Size())
        .arg(it.HeaderFont().Style().bits())
        .arg(it.Color())
        .arg(it.BorderPen().Color())
        .arg(it.ReadOnly())
        .arg(it.EditLength());
}

class ColumnGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid = std::make_unique<TProbeGrid>();
        grid->resize(600, 300);
    }
    TGridColumnItem *item(int i) { return grid->Columns()->Items(i); }

    std::unique_ptr<TProbeGrid> grid;
};

// ---- items in step with the columns ------------------------------------------------------------

TEST_F(ColumnGridTest, ColCountFreesAndAppendsVisualCopiesOfTheItemBefore)
{
    ASSERT_EQ(grid->Columns()->Count(), 5);
    TGridColumnItem *kept = item(2);
    kept->SetEditor(TEditorType::edDataCheckBox);
    kept->SetCheckTrue(QStringLiteral("J"));
    kept->SetReadOnly(true);
    kept->SetComboItems({QStringLiteral("a")});
    kept->SetHeader(QStringLiteral("Flag"));
    kept->SetDropDownCount(3);

    struct Step
    {
        int colCount;
        int items;
    };
    for (const Step &s : {Step{3, 3}, Step{6, 6}}) {
        grid->SetColCount(s.colCount);
        ASSERT_EQ(grid->Columns()->Count(), s.items) << "ColCount " << s.colCount;
    }
    EXPECT_EQ(item(2), kept);
    for (int i = 3; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(item(i)->Editor(), TEditorType::edDataCheckBox);
        EXPECT_EQ(item(i)->CheckTrue(), QStringLiteral("J"));
        EXPECT_TRUE(item(i)->ReadOnly());
        EXPECT_EQ(item(i)->Color(), grid->Color());
        EXPECT_TRUE(item(i)->ComboItems().isEmpty());
        EXPECT_TRUE(item(i)->Header().isEmpty());
        EXPECT_EQ(item(i)->DropDownCount(), 8);
    }
}

TEST_F(ColumnGridTest, InsertAndRemoveColumnsKeepTheItemsInPlace)
{
    for (int i = 0; i < 5; ++i) {
        item(i)->SetName(QStringLiteral("c%1").arg(i));
        item(i)->SetWidth(40 + i);
    }
    item(1)->SetEditor(TEditorType::edComboList);

    grid->InsertCols(2, 2);
    ASSERT_EQ(grid->Columns()->Count(), grid->ColCount());
    QStringList names;
    for (int i = 0; i < grid->Columns()->Count(); ++i)
        names << item(i)->Name();
    EXPECT_EQ(names.join(','), QStringLiteral("c0,c1,,,c2,c3,c4"));
    // Inserted items are fresh, not copies of a neighbour.
    EXPECT_EQ(item(2)->Editor(), TEditorType::edNormal);
    EXPECT_EQ(item(4)->StoredWidth(), item(4)->Width());

    grid->RemoveCols(1, 4);
    ASSERT_EQ(grid->ColCount(), 3);
    ASSERT_EQ(grid->Columns()->Count(), 3);
    EXPECT_EQ(item(1)->Name(), QStringLiteral("c3"));
    EXPECT_EQ(item(2)->Name(), QStringLiteral("c4"));
    EXPECT_EQ(item(1)->Width(), 43);
    EXPECT_EQ(item(1)->StoredWidth(), 43);
}

TEST_F(ColumnGridTest, CollectionChangesReachTheColumnCount)
{
    grid->SetCells(5, 0, QStringLiteral("Extra"));
    grid->Columns()->Add();
    EXPECT_EQ(grid->ColCount(), 6);
    EXPECT_EQ(item(5)->Header(), QStringLiteral("Extra"));
    EXPECT_EQ(grid->ColumnHeaders().value(5), QStringLiteral("Extra"));

    grid->Columns()->Delete(5);
    EXPECT_EQ(grid->ColCount(), 5);
    // Down to FixedCols items or fewer, the grid keeps its columns.
    while (grid->Columns()->Count() > 1)
        grid->Columns()->Delete(grid->Columns()->Count() - 1);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_THROW(grid->Columns()->Items(1), EQrlGridError);
}

TEST_F(ColumnGridTest, LoadingHoldsTheUpdateStepUntilAfterLoad)
{
    grid->SetLoading(true);
    grid->Columns()->Add();
    grid->Columns()->Add();
    EXPECT_EQ(grid->ColCount(), 5);
    grid->MoveColumn(1, 3);
    grid->AfterLoadHook();
    ASSERT_EQ(grid->Columns()->Count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(item(i)->DefIdx(), i);
}

// ---- headers ----------------------------------------------------------------------------------

TEST_F(ColumnGridTest, HeaderWritesRowZeroOnlyWithFixedRows)
{
    struct Case
    {
        int fixedRows;
        QString row0;
    };
    for (const Case &c : {Case{1, QStringLiteral("Name")}, Case{0, QStringLiteral("data")}}) {
        SCOPED_TRACE(c.fixedRows);
        SetUp();
        grid->SetFixedRows(c.fixedRows);
        grid->SetCellEx(1, 0, QStringLiteral("data"));
        item(1)->SetHeader(QStringLiteral("Name"));
        EXPECT_EQ(item(1)->Header(), QStringLiteral("Name"));
        EXPECT_EQ(grid->GetCellEx(1, 0), c.row0);
        EXPECT_EQ(grid->ColumnHeaders(), headersOf(*grid));
    }
}

TEST_F(ColumnGridTest, ColumnHeadersListReachesEveryItemIncludingTheLast)
{
    const QStringList list{"A", "B", "C", "D", "E"};
    grid->SetColumnHeaders(list);
    EXPECT_EQ(headersOf(*grid), list);
    EXPECT_EQ(row0Of(*grid), list);
}

// ---- the hooks answered from the items ---------------------------------------------------------

TEST_F(ColumnGridTest, DataCheckBoxColumnReadsItsTextExactly)
{
    item(2)->SetEditor(TEditorType::edDataCheckBox);
    EXPECT_EQ(grid->GetCellType(2, 1), TCellType::ctDataCheckBox);
    EXPECT_EQ(grid->GetCellType(2, 0), TCellType::ctEmpty); // header row
    EXPECT_EQ(grid->GetCellType(3, 1), TCellType::ctEmpty);
    ASSERT_NE(grid->GetCellGraphic(2, 1), nullptr);
    EXPECT_EQ(grid->GetCellGraphic(2, 1)->CellType(), TCellType::ctVirtCheckBox);

    struct Case
    {
        QString text;
        bool on;
    };
    for (const Case &c : {Case{"Y", true}, Case{"y", false}, Case{"N", false}, Case{"", false}}) {
        grid->SetCellEx(2, 1, c.text);
        bool state = !c.on;
        ASSERT_TRUE(grid->GetCheckBoxState(2, 1, state)) << c.text.toStdString();
        EXPECT_EQ(state, c.on) << c.text.toStdString();
    }
    grid->SetCellEx(2, 1, QStringLiteral("N"));
    grid->ToggleCheckBox(2, 1);
    EXPECT_EQ(grid->GetCellEx(2, 1), QStringLiteral("Y"));
    // No cell got a graphic of its own.
    EXPECT_FALSE(grid->HasCellProperties(2, 1));
}

TEST_F(ColumnGridTest, ColumnCheckTextsWinOverTheGridsEvent)
{
    item(2)->SetCheckTrue(QStringLiteral("J"));
    grid->OnGetCheckTrue = [](QObject *, int, int, QString &v) { v = QStringLiteral("X"); };
    QString v;
    grid->QueryCheckTrue(2, 1, v);
    EXPECT_EQ(v, QStringLiteral("J"));
    grid->QueryCheckTrue(2, 0, v); // header row: the grid's answer
    EXPECT_EQ(v, QStringLiteral("X"));
}

TEST_F(ColumnGridTest, QueryCanEditAsksOnlyTheItemTheCellAndTheEvent)
{
    struct Case
    {
        const char *name;
        std::function<void(TProbeGrid &)> setup;
        int col, row;
        bool expected;
    };
    const std::vector<Case> cases{
        {"normal cell", [](TProbeGrid &) {}, 2, 1, true},
        {"read-only column", [](TProbeGrid &g) { g.Columns()->Items(2)->SetReadOnly(true); }, 2, 1,
         false},
        {"fixed column item", [](TProbeGrid &g) { g.Columns()->Items(2)->SetFixed(true); }, 2, 1,
         false},
        {"header row", [](TProbeGrid &) {}, 2, 0, false},
        {"fixed column", [](TProbeGrid &) {}, 0, 1, false},
        {"loading", [](TProbeGrid &g) { g.SetLoading(true); }, 2, 1, false},
        {"read-only cell", [](TProbeGrid &g) { g.SetReadOnly(2, 1, true); }, 2, 1, false},
        {"event grants",
         [](TProbeGrid &g) {
             g.Columns()->Items(2)->SetReadOnly(true);
             g.OnCanEditCell = [](QObject *, int, int, bool &can) { can = true; };
         },
         2, 1, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        c.setup(*grid);
        bool can = !c.expected;
        grid->QueryCanEdit(c.col, c.row, can);
        EXPECT_EQ(can, c.expected);
    }
}

TEST_F(ColumnGridTest, ItemAnswersLooksFormatsAndEditors)
{
    TGridColumnItem *it = item(2);
    it->SetColor(0x00FF00);
    it->SetAlignment(TAlignment::taRightJustify);
    it->SetHeaderAlignment(TAlignment::taCenter);
    it->SetSortStyle(TSortStyle::ssNumeric);
    it->SetSortPrefix(QStringLiteral("$"));
    it->SetEditor(TEditorType::edComboList);
    it->SetDropDownCount(12);
    it->SetPassword(true);

    TBrush brush;
    brush.SetColor(0x123456);
    TFont font;
    grid->QueryCellColor(2, 1, &font, &brush, {});
    EXPECT_EQ(brush.Color(), 0x00FF00u);
    brush.SetColor(0x123456);
    grid->QueryCellColor(2, 0, &font, &brush, {}); // a header keeps the caller's brush
    EXPECT_EQ(brush.Color(), 0x123456u);

    TAlignment ha = TAlignment::taLeftJustify;
    TVAlignment va = TVAlignment::vtaBottom;
    grid->QueryCellAlignment(2, 1, ha, va);
    EXPECT_EQ(ha, TAlignment::taRightJustify);
    EXPECT_EQ(va, TVAlignment::vtaBottom);
    grid->QueryCellAlignment(2, 0, ha, va);
    EXPECT_EQ(ha, TAlignment::taCenter);

    TSortStyle style = TSortStyle::ssAutomatic;
    QString prefix, suffix;
    grid->QueryCellFormat(2, style, prefix, suffix);
    EXPECT_EQ(style, TSortStyle::ssNumeric);
    EXPECT_EQ(prefix, QStringLiteral("$"));

    TEditorType editor = TEditorType::edNormal;
    grid->QueryEditorType(2, 1, editor);
    EXPECT_EQ(editor, TEditorType::edComboList);
    EXPECT_EQ(grid->ControlLook()->DropDownCount(), 12);
    EXPECT_TRUE(grid->QueryHasCombo(2, 1));
    EXPECT_FALSE(grid->QueryHasCombo(2, 0));
    EXPECT_FALSE(grid->QueryHasCombo(3, 1));
    bool password = false;
    grid->QueryPasswordCell(2, 1, password);
    EXPECT_TRUE(password);

    // A cell's properties are seeded from its column's item.
    TCellProperties *p = grid->GetCellProperties(2, 1);
    EXPECT_EQ(p->Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(p->BrushColor(), 0x00FF00u);
    EXPECT_EQ(grid->GetCellProperties(2, 0)->Alignment(), TAlignment::taCenter);
}

TEST_F(ColumnGridTest, FixedItemMakesItsDataCellsFixed)
{
    item(3)->SetFixed(true);
    EXPECT_TRUE(grid->IsFixed(3, 2));
    EXPECT_FALSE(grid->IsFixed(2, 2));
    TBrush brush;
    grid->QueryCellColor(3, 2, nullptr, &brush, {});
    EXPECT_EQ(brush.Color(), grid->FixedColor());
}

TEST_F(ColumnGridTest, FloatFormatAppliesToNumberTextsOnly)
{
    grid->SetFloatFormat(QStringLiteral("%g"));
    item(2)->SetFloatFormat(QStringLiteral("%.2f"));
    struct Case
    {
        QString text;
        QString shown;
    };
    for (const Case &c :
         {Case{"3.14159", "3.14"}, Case{"1e5", "1e5"}, Case{"42", "42.00"}, Case{"abc", "abc"}}) {
        grid->SetCellEx(2, 1, c.text);
        EXPECT_EQ(grid->GetFormattedCell(2, 1), c.shown) << c.text.toStdString();
    }
    EXPECT_EQ(grid->QueryFloatFormat(2, 1), QStringLiteral("%.2f"));
    EXPECT_EQ(grid->QueryFloatFormat(3, 1), QStringLiteral("%g"));
}

TEST_F(ColumnGridTest, SizesAreClampedToTheItemsLimits)
{
    item(1)->SetMinSize(30);
    item(1)->SetMaxSize(100);
    item(1)->SetAutoMaxSize(60);
    struct Case
    {
        bool automatic;
        int asked, got;
    };
    for (const Case &c : {Case{false, 10, 30}, Case{false, 150, 100}, Case{false, 50, 50},
                          Case{true, 10, 10}, Case{true, 150, 60}}) {
        int w = c.asked;
        c.automatic ? grid->UpdateAutoColSize(1, w) : grid->UpdateColSize(1, w);
        EXPECT_EQ(w, c.got) << c.automatic << " " << c.asked;
    }
}

TEST_F(ColumnGridTest, WidthFollowsTheGridBothWays)
{
    item(2)->SetWidth(120);
    EXPECT_EQ(grid->ColWidths(2), 120);
    grid->SetColWidths(2, 80);
    EXPECT_EQ(item(2)->Width(), 80);
    EXPECT_EQ(item(2)->StoredWidth(), 80);
}

TEST_F(ColumnGridTest, EditLimitAndMaskComeFromTheCurrentColumnsItem)
{
    item(2)->SetEditLength(15);
    item(2)->SetEditMask(QStringLiteral("999"));
    grid->SetCol(2);
    EXPECT_EQ(grid->GetEditLimit(), 15);
    grid->SetCol(3);
    EXPECT_EQ(grid->GetEditLimit(), 0);
    EXPECT_EQ(grid->GetEditMask(2, 1), QStringLiteral("999"));
    grid->OnGetEditMask = [](QObject *, int, int, QString &v) { v = QStringLiteral("AAA"); };
    EXPECT_EQ(grid->GetEditMask(2, 1), QStringLiteral("AAA"));
}

TEST_F(ColumnGridTest, ScalingScalesTheItemFonts)
{
    item(1)->Font().SetSize(8);
    item(1)->HeaderFont().SetSize(10);
    grid->ChangeScaleHook(3, 2);
    EXPECT_EQ(item(1)->Font().Size(), 12);
    EXPECT_EQ(item(1)->HeaderFont().Size(), 15);
}

TEST_F(ColumnGridTest, NamesAndVersion)
{
    item(3)->SetName(QStringLiteral("Addr"));
    EXPECT_EQ(grid->GetColumnByName(QStringLiteral("Addr")), item(3));
    EXPECT_EQ(grid->GetColumnByName(QStringLiteral("addr")), nullptr);
    EXPECT_EQ(item(3)->DisplayName(), QStringLiteral("Col 3: Addr"));
    EXPECT_EQ(item(2)->DisplayName(), QStringLiteral("Column 2"));
    EXPECT_EQ(grid->GetVersionNr(), 0x03010301);
    EXPECT_EQ(grid->GetVersionString(), QStringLiteral("3.1.3.1 Aug, 2012"));
}

// ---- filters ----------------------------------------------------------------------------------

TEST_F(ColumnGridTest, FilterEntriesShowTheirNameAndFilterWithTheirCondition)
{
    item(3)->SetFilter({QStringLiteral("Big=>100"), QStringLiteral("Small")});
    item(3)->SetFilterCaseSensitive(true);
    EXPECT_FALSE(grid->BuildFilterList(2));
    ASSERT_TRUE(grid->BuildFilterList(3));
    EXPECT_EQ(grid->FilterList(), (QStringList{"Big", "Small"}));

    struct Case
    {
        int pick;
        QString friendly, condition;
    };
    for (const Case &c : {Case{0, "Big", ">100"}, Case{1, "Small", "Small"}}) {
        SCOPED_TRACE(c.pick);
        grid->SetAutoFilterDisplay(true);
        QString seen;
        grid->OnFilterSelect = [&](QObject *, int col, int, const QString &name, QString &) {
            EXPECT_EQ(col, 3);
            seen = name;
        };
        grid->SetFilterCol(3);
        grid->ApplyFilterPick(c.pick);
        EXPECT_EQ(seen, c.friendly);
        EXPECT_EQ(grid->Filter()->GetColFilter(3)->Condition(), c.condition);
        EXPECT_TRUE(grid->Filter()->GetColFilter(3)->CaseSensitive());
        EXPECT_EQ(grid->GetCellEx(3, 0), c.friendly);
        EXPECT_EQ(grid->FilterCol(), -1);
    }
    // The event may change the condition; a pick outside the list changes nothing.
    grid->OnFilterSelect = [](QObject *, int, int, const QString &, QString &cond) {
        cond = QStringLiteral("<5");
    };
    grid->SetFilterCol(3);
    grid->ApplyFilterPick(0);
    EXPECT_EQ(grid->Filter()->GetColFilter(3)->Condition(), QStringLiteral("<5"));
    grid->SetFilterCol(3);
    grid->ApplyFilterPick(2);
    EXPECT_EQ(grid->Filter()->GetColFilter(3)->Condition(), QStringLiteral("<5"));
    EXPECT_EQ(grid->FilterCol(), -1);
}

// ---- moved columns ----------------------------------------------------------------------------

TEST_F(ColumnGridTest, MovedColumnTakesItsItemAlong)
{
    grid->SetColCount(7);
    for (int i = 0; i < 7; ++i)
        item(i)->SetHeader(QStringLiteral("H%1").arg(i));
    TGridColumnItem *it = item(2);
    it->SetEditor(TEditorType::edComboList);
    it->SetComboItems({QStringLiteral("a"), QStringLiteral("b")});
    it->SetWidth(77);
    it->SetColumnPopupType(TColumnPopupType::cpAllCellsLClick);
    int from = -1, to = -1;
    grid->OnAfterColumnMoved = [&](QObject *, int f, int t) { from = f, to = t; };

    grid->MoveColumn(2, 5);

    EXPECT_EQ(from, 2);
    EXPECT_EQ(to, 5);
    ASSERT_EQ(grid->Columns()->Count(), 7);
    TGridColumnItem *moved = item(5);
    EXPECT_EQ(moved->Header(), QStringLiteral("H2"));
    EXPECT_EQ(moved->Editor(), TEditorType::edComboList);
    EXPECT_EQ(moved->ComboItems(), (QStringList{"a", "b"}));
    EXPECT_EQ(moved->Width(), 77);
    EXPECT_EQ(moved->ColumnPopupType(), TColumnPopupType::cpFixedCellsRClick);
    EXPECT_EQ(headersOf(*grid).join(','), QStringLiteral("H0,H1,H3,H4,H5,H2,H6"));
    EXPECT_EQ(row0Of(*grid), headersOf(*grid));
    EXPECT_EQ(grid->ColumnHeaders(), headersOf(*grid));
}

// ---- pop-up menus -----------------------------------------------------------------------------

TEST_F(ColumnGridTest, ColumnPopupFiresForItsButtonAndShowsInItsRows)
{
    using T = TColumnPopupType;
    struct Case
    {
        T type;
        Qt::MouseButton button;
        int row;
        bool fires, shows;
    };
    const std::vector<Case> cases{
        {T::cpFixedCellsRClick, Qt::RightButton, 1, true, false},
        {T::cpFixedCellsRClick, Qt::RightButton, 0, true, true},
        {T::cpFixedCellsRClick, Qt::LeftButton, 0, false, false},
        {T::cpNormalCellsLClick, Qt::LeftButton, 1, true, true},
        {T::cpNormalCellsLClick, Qt::LeftButton, 0, true, false},
        {T::cpAllCellsRClick, Qt::RightButton, 2, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type) * 100 + c.row);
        SetUp();
        grid->show();
        QMenu menu;
        menu.addAction(QStringLiteral("x"));
        item(2)->SetColumnPopup(&menu);
        item(2)->SetColumnPopupType(c.type);
        int fired = 0;
        grid->OnColumnPopup = [&](QObject *, int col, int row, QMenu *m) {
            ++fired;
            EXPECT_EQ(col, 2);
            EXPECT_EQ(row, c.row);
            EXPECT_EQ(m, &menu);
        };
        const TRect r = grid->CellRect(2, c.row);
        QTest::mousePress(grid->viewport(), c.button, {},
                          QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
        EXPECT_EQ(fired, c.fires ? 1 : 0);
        EXPECT_EQ(menu.isVisible(), c.shows);
        menu.hide();
    }
}

TEST_F(ColumnGridTest, DestroyedMenuAndEditLinkReadNull)
{
    auto menu = std::make_unique<QMenu>();
    auto link = std::make_unique<QObject>();
    item(1)->SetColumnPopup(menu.get());
    item(1)->SetEditLink(link.get());
    menu.reset();
    link.reset();
    EXPECT_EQ(item(1)->ColumnPopup(), nullptr);
    EXPECT_EQ(item(1)->EditLink(), nullptr);
    // A click on the column now shows nothing and does not crash.
    const TRect r = grid->CellRect(1, 0);
    QTest::mousePress(grid->viewport(), Qt::RightButton, {}, QPoint(r.Left + 2, r.Top + 2));
}

// ---- column order store -----------------------------------------------------------------------

class ColumnOrderStoreTest : public ColumnGridTest
{
protected:
    void SetUp() override
    {
        ColumnGridTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        file = dir.filePath(QStringLiteral("layout.ini"));
        labelColumns(*grid);
    }
    static void labelColumns(TQrlColumnGrid &g)
    {
        for (int i = 0; i < g.Columns()->Count(); ++i)
            g.Columns()->Items(i)->SetHeader(QStringLiteral("H%1").arg(i));
        g.Columns()->SetOrganization();
    }
    void writeSection(const QString &text)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    }

    QTemporaryDir dir;
    QString file;
};

TEST_F(ColumnOrderStoreTest, SavedOrderLoadsIntoAFreshGrid)
{
    grid->MoveColumn(1, 3);
    const QString moved = headersOf(*grid).join(',');
    ASSERT_EQ(moved, QStringLiteral("H0,H2,H3,H1,H4"));
    grid->SaveColumnPositions(file, QStringLiteral("Grid"));

    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()),
              QStringLiteral("[Grid]\nCP0=0\nCP1=2\nCP2=3\nCP3=1\nCP4=4\n\n"));

    TQrlColumnGrid fresh;
    labelColumns(fresh);
    fresh.LoadColumnPositions(file, QStringLiteral("Grid"));
    EXPECT_EQ(headersOf(fresh).join(','), moved);
    EXPECT_EQ(row0Of(fresh).join(','), moved);
    // Each item knows its default index again: the order saves the same way.
    fresh.SaveColumnPositions(file, QStringLiteral("Again"));
    plat::TIniFile check(file);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(check.ReadInteger(QStringLiteral("Again"), QStringLiteral("CP%1").arg(i), -1),
                  check.ReadInteger(QStringLiteral("Grid"), QStringLiteral("CP%1").arg(i), -2));
}

TEST_F(ColumnOrderStoreTest, DamagedSectionLeavesTheOrderUnchanged)
{
    // A recorded order that a load would restore first, so an early change would show.
    grid->SetColumnOrder();
    grid->MoveColumn(1, 3);
    const QString before = headersOf(*grid).join(',');
    const std::vector<std::pair<const char *, QString>> sections{
        {"out of range", "CP0=0\nCP1=7\nCP2=2\nCP3=3\nCP4=4\n"},
        {"negative", "CP0=0\nCP1=-2\nCP2=2\nCP3=3\nCP4=4\n"},
        {"repeated", "CP0=0\nCP1=1\nCP2=1\nCP3=3\nCP4=4\n"},
        {"missing key", "CP0=0\nCP1=2\nCP2=1\nCP3=3\n"},
        {"not a number", "CP0=0\nCP1=x\nCP2=1\nCP3=3\nCP4=4\n"},
    };
    for (const auto &[name, body] : sections) {
        SCOPED_TRACE(name);
        writeSection(QStringLiteral("[Grid]\n") + body);
        grid->LoadColumnPositions(file, QStringLiteral("Grid"));
        EXPECT_EQ(headersOf(*grid).join(','), before);
    }
    grid->LoadColumnPositions(dir.filePath(QStringLiteral("missing.ini")), QStringLiteral("Grid"));
    EXPECT_EQ(headersOf(*grid).join(','), before);
}

TEST_F(ColumnOrderStoreTest, ColPositionsUseTheColumnSizeStore)
{
    QStandardPaths::setTestModeEnabled(true);
    for (const TColumnSizeLocation loc :
         {TColumnSizeLocation::clIniFile, TColumnSizeLocation::clRegistry}) {
        SCOPED_TRACE(static_cast<int>(loc));
        SetUp();
        grid->ColumnSize()->SetLocation(loc);
        grid->ColumnSize()->SetKey(loc == TColumnSizeLocation::clIniFile ? file
                                                                         : QStringLiteral("Cfg"));
        grid->ColumnSize()->SetSection(QStringLiteral("Cols"));
        grid->MoveColumn(3, 1);
        const QString moved = headersOf(*grid).join(',');
        grid->SaveColPositions();

        TQrlColumnGrid fresh;
        labelColumns(fresh);
        fresh.ColumnSize()->Assign(*grid->ColumnSize());
        fresh.LoadColPositions();
        EXPECT_EQ(headersOf(fresh).join(','), moved);
    }
    QStandardPaths::setTestModeEnabled(false);
}

// ---- the collection as a stream ---------------------------------------------------------------

class ColumnStreamTest : public ColumnGridTest
{
protected:
    QByteArray saved()
    {
        TGridColumnItem *it = item(2);
        it->SetHeader(QStringLiteral("Flag"));
        it->SetEditor(TEditorType::edDataCheckBox);
        it->SetCheckTrue(QStringLiteral("1"));
        it->SetComboItems({QStringLiteral("x"), QStringLiteral("y")});
        it->SetFilter({QStringLiteral("On=1")});
        it->SetFloatFormat(QStringLiteral("%.1f"));
        it->SetName(QStringLiteral("Enable"));
        it->Font().SetSize(14);
        it->HeaderFont().SetStyle(TFontStyle::fsBold);
        it->SetColor(0x00FFEE);
        TPen pen;
        pen.SetColor(0x0000FF);
        it->SetBorderPen(pen);
        it->SetReadOnly(true);
        item(4)->SetEditLength(15);
        QBuffer buf;
        buf.open(QIODevice::WriteOnly);
        grid->SaveColumnsToStream(buf);
        return buf.data();
    }
    static QStringList descriptions(const TQrlColumnGrid &g)
    {
        QStringList d;
        for (int i = 0; i < g.Columns()->Count(); ++i)
            d << describe(*g.Columns()->Items(i));
        return d;
    }
};

TEST_F(ColumnStreamTest, LoadGivesEqualItems)
{
    const QByteArray bytes = saved();
    TQrlColumnGrid other;
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    other.LoadColumnsFromStream(buf);
    EXPECT_EQ(descriptions(other), descriptions(*grid));
    EXPECT_EQ(other.GetCellEx(2, 0), QStringLiteral("Flag"));
    EXPECT_EQ(other.ColCount(), 5);
}

TEST_F(ColumnStreamTest, DamagedStreamIsRejectedWithoutChange)
{
    const QByteArray good = saved();
    auto craft = [](auto &&write) {
        QByteArray b;
        QDataStream out(&b, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        write(out);
        return b;
    };
    const std::vector<std::pair<const char *, QByteArray>> streams{
        {"empty", QByteArray()},
        {"garbage", QByteArray("not a column stream at all")},
        {"truncated", good.left(good.size() / 2)},
        {"cut in the header", good.left(5)},
        {"unknown version",
         craft([](QDataStream &o) { o << quint32(0x51434753) << quint16(9) << qint32(0); })},
        {"negative count",
         craft([](QDataStream &o) { o << quint32(0x51434753) << quint16(1) << qint32(-1); })},
        {"mistyped value", craft([](QDataStream &o) {
             o << quint32(0x51434753) << quint16(1) << qint32(1)
               << QVariantMap{{QStringLiteral("Editor"), QStringLiteral("combo")}};
         })},
    };
    TQrlColumnGrid other;
    other.Columns()->Items(1)->SetHeader(QStringLiteral("Keep"));
    const QStringList before = descriptions(other);
    for (const auto &[name, bytes] : streams) {
        SCOPED_TRACE(name);
        QBuffer buf;
        buf.setData(bytes);
        buf.open(QIODevice::ReadOnly);
        EXPECT_THROW(other.LoadColumnsFromStream(buf), EQrlGridError);
        EXPECT_EQ(descriptions(other), before);
        EXPECT_EQ(other.ColCount(), 5);
        EXPECT_EQ(other.GetCellEx(1, 0), QStringLiteral("Keep"));
    }
}

// ---- grouping ---------------------------------------------------------------------------------

// Grouping removes the grouping column and brings it back; its item's settings come back with
// it.
TEST_F(ColumnGridTest, UngroupGivesTheGroupingColumnItsSettingsBack)
{
    grid->SetRowCount(5);
    for (int r = 1; r < 5; ++r)
        grid->SetCellEx(2, r, r < 3 ? QStringLiteral("a") : QStringLiteral("b"));
    item(2)->SetEditor(TEditorType::edComboList);
    item(2)->SetComboItems({QStringLiteral("a"), QStringLiteral("b")});
    item(2)->SetHeader(QStringLiteral("Kind"));
    grid->Group(2);
    grid->UnGroup();
    EXPECT_EQ(item(2)->Editor(), TEditorType::edComboList);
    EXPECT_EQ(item(2)->ComboItems(), (QStringList{"a", "b"}));
    EXPECT_EQ(item(2)->Header(), QStringLiteral("Kind"));
    EXPECT_EQ(grid->Columns()->Count(), grid->ColCount() + grid->NumHiddenColumns());
}

} // namespace
