// The table-dialog frame over a small description, run as a one-grid column grid, a two-grid
// dialog and a one-grid string grid with a check-box graphic Enable column: show, check, save,
// hints, row buttons, and the files that were not loaded whole.
#include "gateway/table/UTableDialog.h"
#include "gateway/table/UTableRows.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/button/LbButton.h"
#include "grid/model/QrlColumnGrid.h"
#include "platform/ui/MessageBox.h"
#include "platform/xml/XmlDocument.h"
#include "support/GatewayTestUtil.h"

#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>

using gwtest::TTempConf;

namespace {

// Text numbers of the English table the test dialog borrows.
constexpr int Error_Row = 929;  // "Error row "
constexpr int Delete_Row = 931; // "Are you sure to delete the Row number "
constexpr int Length_Hint = 925;

constexpr int Capacity = 5;
constexpr int Data_Size = 8;
const QString Length_Message = QStringLiteral("!! Length must be between 1 and 4");

// Grid columns: 1 Enable, 2 Name (key), 3 Length (checked), 4 Position (combo "None", 0..7),
// 5 Extra (hidden), 6 Mnemonic (required in the file).
const QStringList Attributes = {"Enable", "Name", "Length", "Position", "Extra", "Mnemonic"};
constexpr int Position_Col = 4;
constexpr int Extra_Col = 5;
constexpr int Mnemonic_Col = 6;

struct TVariant
{
    const char *name;
    TFrameLayout layout;
    int grids;
    bool checkBoxGraphics;
};

TTableDialogDesc testDesc(const TVariant &v, const QString &path)
{
    TTableDialogDesc d;
    d.Name = QStringLiteral("FTest_Table");
    d.ClientWidth = 700;
    d.FilePath = [path] { return path; };
    d.File.FileName = QStringLiteral("Test_Table.xml");
    d.File.Root = QStringLiteral("Test_Table");
    d.File.Version = QStringLiteral("1.000");
    d.CaptionText = 900;
    d.DescText = 901;
    d.ButtonTexts = {902, 903, 904, 905, 906, 907};
    d.ButtonHints = {908, 909, 910, 911, 912, 913};
    d.ErrorRowText = Error_Row;
    d.DeleteRowText = Delete_Row;
    d.Layout = v.layout;

    for (int g = 0; g < v.grids; ++g) {
        TTableGroup group;
        group.Name = v.grids == 2 ? QStringLiteral("Group_%1").arg(QChar('A' + g)) : QString();
        group.KeyColumn = 1;
        group.Capacity = Capacity;
        group.Columns = {{"Enable", 1, "Y", false}, {"Name", 2, "", false},
                         {"Length", 3, "", false},  {"Position", 4, "None", false},
                         {"Extra", 5, "", false},   {"Mnemonic", 6, "", true}};
        d.File.Groups << group;

        TTableGridDesc grid;
        grid.Name =
            v.grids == 2 ? QString::fromLatin1(g == 0 ? "sga" : "sgb") : QStringLiteral("ACG");
        grid.TabName = QStringLiteral("TS_%1").arg(QChar('A' + g));
        grid.TabText = 1214 + g;
        grid.HeaderN = 914;
        grid.DataSize = Data_Size;
        const TEditorType enableEditor =
            v.checkBoxGraphics ? TEditorType::edNormal : TEditorType::edDataCheckBox;
        grid.Columns = {
            {915, 922, 50, enableEditor, TTableCombo::tcNone, {}, 0xB0D8FF, false},
            {916, 923, 120, TEditorType::edNormal, TTableCombo::tcNone, {}, clWindow, false},
            {918, Length_Hint, 60, TEditorType::edNormal, TTableCombo::tcNone, {}, clWindow, false},
            {920,
             927,
             60,
             TEditorType::edComboList,
             TTableCombo::tcPositionsOrNone,
             {},
             clWindow,
             false},
            {932, 935, 60, TEditorType::edNormal, TTableCombo::tcNone, {}, clWindow, true},
            {921, 928, 100, TEditorType::edNormal, TTableCombo::tcNone, {}, clWindow, false}};
        grid.Check = [](const TTableDialog &, const TQrlStringGrid &grid, int row) {
            const int32_t length = Table_Cell_Number(grid.GetCellEx(3, row));
            return length < 1 || length > 4 ? Length_Message : QString();
        };
        d.Grids << grid;
    }
    return d;
}

// <row .../> with the attributes in table order; `drop` leaves one out.
QString row(const QStringList &values, const QString &drop = QString())
{
    gwtest::TAttrs attrs;
    for (int i = 0; i < Attributes.size(); ++i)
        if (Attributes[i] != drop)
            attrs.emplace_back(Attributes[i], values.value(i));
    return gwtest::Row(attrs);
}

QStringList full(const QString &name,
                 const QString &length = QStringLiteral("2"),
                 const QString &enable = QStringLiteral("Y"))
{
    return {enable,
            name,
            length,
            QStringLiteral("3"),
            QStringLiteral("x-") + name,
            QStringLiteral(" m ") + name};
}

class TableDialog : public ::testing::TestWithParam<TVariant>
{
protected:
    void SetUp() override
    {
        Load_English_Texts();
        SW_Code = QStringLiteral("QS40300");
        Copy_Row_Buffer.clear();
        path = conf.File(QStringLiteral("Test_Table.xml"));
        dlg = std::make_unique<TTableDialog>(testDesc(GetParam(), path));
    }
    void TearDown() override
    {
        dlg.reset();
        plat::ClearModalShownActions();
        Copy_Row_Buffer.clear();
    }

    int grids() const { return GetParam().grids; }

    // The same rows in every group of the file.
    void writeFile(const QStringList &rows)
    {
        QString body;
        if (grids() == 1) {
            body = rows.join('\n');
        } else {
            for (const char *g : {"Group_A", "Group_B"})
                body += QStringLiteral("<%1>\n%2\n</%1>\n").arg(QLatin1String(g), rows.join('\n'));
        }
        conf.Write(QStringLiteral("Test_Table.xml"), gwtest::TableXml("Test_Table", {body}));
    }

    // Per group the rows of the file, each its attribute values in file order.
    QVector<QVector<QStringList>> saved() const
    {
        plat::XmlDocument doc;
        doc.LoadFile(path);
        QVector<QVector<QStringList>> groups;
        for (int g = 0; g < grids(); ++g) {
            QVector<QStringList> rows;
            for (const plat::XmlNode &node : Table_Group_Rows(doc, dlg->Desc().File, g, path)) {
                QStringList values;
                for (const plat::XmlAttribute &a : node.Attributes())
                    values << a.value;
                rows << values;
            }
            groups << rows;
        }
        return groups;
    }

    // A data row of grid g as the file would store it.
    QStringList gridRow(int g, int r) const
    {
        QStringList cells;
        for (int c = 1; c <= Mnemonic_Col; ++c)
            cells << dlg->Cell_Text(g, c, r);
        return cells;
    }

    TTempConf conf;
    QString path;
    std::unique_ptr<TTableDialog> dlg;
    plat::MessageBoxRecorder boxes;
};

TEST_P(TableDialog, ComponentsCarryTheirNames)
{
    for (const char *name :
         {"P_Title", "L_SW_Code", "L_SW_Desc", "P_Button", "Btn_OK", "Btn_Cancel", "Btn_DelRow",
          "Btn_InsRow", "Btn_CopyRow", "Btn_PasteRow"})
        EXPECT_NE(dlg->findChild<QWidget *>(QString::fromLatin1(name)), nullptr) << name;
    const QStringList gridNames = grids() == 1 ? QStringList{"ACG"} : QStringList{"sga", "sgb"};
    for (int g = 0; g < grids(); ++g) {
        EXPECT_EQ(dlg->findChild<TQrlStringGrid *>(gridNames[g]), dlg->Grid(g));
        EXPECT_EQ(dlg->Grid(g)->RowCount(), Capacity + 1);
        EXPECT_TRUE(dlg->Grid(g)->IsHiddenColumn(Extra_Col));
    }
    EXPECT_EQ(dlg->PageControl1 != nullptr, grids() == 2);
    if (grids() == 2) {
        EXPECT_NE(dlg->findChild<QWidget *>("TS_B"), nullptr);
        EXPECT_EQ(dlg->PageControl1->tabText(1), Lang_Texts.value(1215));
    }
    EXPECT_EQ(dlg->Btn_PasteRow->Caption(), Lang_Texts.value(907));
}

TEST_P(TableDialog, MissingFileShowsAnEmptyTableAndOkWritesOnlyRootAndComment)
{
    dlg->FormShow();
    for (int g = 0; g < grids(); ++g)
        for (int r = 1; r <= Capacity; ++r) {
            EXPECT_EQ(dlg->Grid(g)->GetCellEx(0, r), QString::number(r));
            EXPECT_EQ(gridRow(g, r), (QStringList{"Y", "", "", "", "", ""})) << r;
        }
    dlg->Btn_OKClick();
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(dlg->ModalResult(), mrOk);

    plat::XmlDocument doc;
    doc.LoadFile(path);
    const std::vector<plat::XmlNode> top = doc.Children();
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].Name(), QStringLiteral("Test_Table"));
    EXPECT_EQ(top[1].Text(), QStringLiteral("SW_VERSION = 1.000"));
    const std::vector<plat::XmlNode> children = top[0].ChildElements();
    ASSERT_EQ(int(children.size()), grids() == 2 ? 2 : 0);
    for (const plat::XmlNode &group : children)
        EXPECT_TRUE(group.ChildElements().empty()) << group.Name().toStdString();
}

TEST_P(TableDialog, FirstBlankKeyEndsCheckAndSave)
{
    // Row 3's key is blanks only; row 4 would fail the check.
    writeFile({row(full("a")), row(full("b", "$4")), row(full("   ")), row(full("d", "9"))});
    const QByteArray before = conf.Read("Test_Table.xml");
    dlg->FormShow();
    EXPECT_EQ(boxes.Count(), 0);
    for (int g = 0; g < grids(); ++g)
        EXPECT_EQ(gridRow(g, 4), full("d", "9")); // loading takes every row

    // Rows 3 and 4 hold data that the file would lose: asked, per grid.
    boxes.QueueAnswer(mrNo);
    dlg->Btn_OKClick();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Question);
    EXPECT_EQ(boxes.Last().text.count(
                  Table_Message(Text_Rows_After_Blank_Key, {"3", Lang_Texts.value(916), "2"})),
              grids())
        << boxes.Last().text.toStdString();
    EXPECT_EQ(dlg->ModalResult(), mrNone);
    EXPECT_EQ(conf.Read("Test_Table.xml"), before);

    boxes.QueueAnswer(mrYes);
    dlg->Btn_OKClick();
    EXPECT_EQ(boxes.Count(), 2);
    EXPECT_EQ(dlg->ModalResult(), mrOk);
    for (const QVector<QStringList> &group : saved())
        EXPECT_EQ(group, (QVector<QStringList>{full("a"), full("b", "$4")}));
}

// What an empty row holds (the Enable column, unchecked boxes) is no data: OK drops it without
// a question.
TEST_P(TableDialog, RowsAfterABlankKeyThatHoldNothingGoWithoutAQuestion)
{
    writeFile({row(full("a")), row({"N", "", "", "", "", ""})});
    dlg->FormShow();
    for (int g = 0; g < grids(); ++g)
        EXPECT_FALSE(dlg->Row_Holds_Data(g, 2));
    dlg->Btn_OKClick();
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(dlg->ModalResult(), mrOk);
}

TEST_P(TableDialog, CheckSkipsDisabledRowsAndStopsAtTheFirstFault)
{
    struct Case
    {
        const char *enable;
        const char *length;
        bool passes;
    };
    for (const Case c : {Case{"N", "9", true}, Case{" y ", "9", false}, Case{"Y", "0x3", true},
                         Case{"Y", "", false}, Case{"Y", "abc", false}}) {
        SCOPED_TRACE(testing::Message() << c.enable << "/" << c.length);
        const QStringList bad = full("b", c.length, c.enable);
        writeFile({row(full("a")), row(bad)});
        const QByteArray before = conf.Read("Test_Table.xml");
        boxes.Clear();
        dlg->SetModalResult(mrNone);
        dlg->FormShow();
        dlg->Btn_OKClick();
        if (c.passes) {
            EXPECT_EQ(boxes.Count(), 0);
            EXPECT_EQ(dlg->ModalResult(), mrOk);
            // A check-box graphic stores only "Y" or "N".
            QStringList expected = bad;
            if (GetParam().checkBoxGraphics)
                expected[0] = QString::fromLatin1(c.enable) == "N" ? "N" : "Y";
            EXPECT_EQ(saved().last().last(), expected);
        } else {
            ASSERT_EQ(boxes.Count(), 1);
            EXPECT_EQ(boxes.Last().text, Lang_Texts.value(Error_Row) + "2" + Length_Message);
            EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Error);
            EXPECT_EQ(dlg->ModalResult(), mrNone);
            EXPECT_EQ(conf.Read("Test_Table.xml"), before);
        }
    }
}

TEST_P(TableDialog, OnlyHeaderCellsHaveHints)
{
    dlg->FormShow();
    for (int g = 0; g < grids(); ++g) {
        TQrlStringGrid *grid = dlg->Grid(g);
        // Display column 5 is real column 6: the hidden column counts.
        const struct
        {
            int row, col;
            QString hint;
        } cases[] = {{0, 3, Lang_Texts.value(Length_Hint)},
                     {0, 5, Lang_Texts.value(928)},
                     {0, 0, QString()},
                     {1, 3, QString()}};
        for (const auto &c : cases) {
            QString hint = QStringLiteral("stale");
            dlg->GridHint(grid, c.row, c.col, hint);
            EXPECT_EQ(hint, c.hint) << g << ":" << c.row << "," << c.col;
        }
    }
}

TEST_P(TableDialog, RowButtonsWorkOnTheCurrentRowOfTheActivePage)
{
    writeFile({row(full("a")), row(full("b")), row(full("c"))});
    dlg->FormShow();
    const int g = grids() - 1;
    if (dlg->PageControl1)
        dlg->PageControl1->setCurrentIndex(g);
    TQrlStringGrid *grid = dlg->Grid(g);
    grid->MoveColRow(2, 2, true, false);

    boxes.QueueAnswer(mrNo);
    dlg->Btn_DelRowClick();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, Lang_Texts.value(Delete_Row) + "2");
    EXPECT_EQ(gridRow(g, 2), full("b"));

    boxes.QueueAnswer(mrYes);
    dlg->Btn_DelRowClick();
    EXPECT_EQ(gridRow(g, 2), full("c"));
    EXPECT_EQ(gridRow(g, Capacity).mid(1), QStringList(5, QString()));

    dlg->Btn_InsRowClick();
    EXPECT_EQ(gridRow(g, 2), (QStringList{"Y", "", "", "", "", ""}));
    EXPECT_EQ(gridRow(g, 3), full("c"));

    grid->MoveColRow(2, 1, true, false);
    dlg->Btn_CopyRowClick();
    grid->MoveColRow(2, 2, true, false);
    dlg->Btn_PasteRowClick();
    EXPECT_EQ(boxes.Count(), 2); // the empty row took the paste without a question
    EXPECT_EQ(gridRow(g, 2), full("a"));
    if (grids() == 2) {
        EXPECT_EQ(gridRow(0, 2), full("b")); // the other page is untouched
    }
}

TEST_P(TableDialog, ClickOnTheNumberColumnSelectsTheRow)
{
    dlg->FormShow();
    TQrlStringGrid *grid = dlg->Grid(0);
    dlg->ClickCell(grid, 3, 2);
    EXPECT_EQ(grid->Selection().Top, 1);
    dlg->ClickCell(grid, 3, 0);
    const plat::TGridRect sel = grid->Selection();
    EXPECT_EQ(sel.Top, 3);
    EXPECT_EQ(sel.Bottom, 3);
    EXPECT_EQ(sel.Left, 1);
    EXPECT_EQ(sel.Right, grid->ColCount() - 1);
}

TEST_P(TableDialog, CancelThenReopenShowsTheFileAgain)
{
    writeFile({row(full("a"))});
    const QByteArray before = conf.Read("Test_Table.xml");
    plat::WhenModalShown([&](TModalForm *) {
        dlg->Set_Cell_Text(0, 2, 1, QStringLiteral("edited"));
        dlg->Set_Cell_Text(0, 2, 2, QStringLiteral("added"));
        dlg->Btn_Cancel->Click();
    });
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    EXPECT_EQ(conf.Read("Test_Table.xml"), before);

    QStringList first, second;
    plat::WhenModalShown([&](TModalForm *) {
        first = gridRow(0, 1);
        second = gridRow(0, 2);
        dlg->Btn_Cancel->Click();
    });
    dlg->ShowModal();
    EXPECT_EQ(first, full("a"));
    EXPECT_EQ(second, (QStringList{"Y", "", "", "", "", ""}));
}

// A row without the required Mnemonic stops the load: the grids hold only what came before it,
// so OK asks before it replaces the file, and No keeps the file and the dialog.
TEST_P(TableDialog, FailedLoadAsksBeforeOkReplacesTheFile)
{
    writeFile({row(full("a")), row(full("b"), "Mnemonic"), row(full("c"))});
    const QByteArray before = conf.Read("Test_Table.xml");
    dlg->FormShow();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Error);
    EXPECT_TRUE(boxes.Last().text.contains("Mnemonic")) << boxes.Last().text.toStdString();
    EXPECT_EQ(gridRow(0, 1), full("a"));
    EXPECT_FALSE(dlg->Load_Problem().isEmpty());

    boxes.QueueAnswer(mrNo);
    dlg->Btn_OKClick();
    ASSERT_EQ(boxes.Count(), 2);
    EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Question);
    EXPECT_EQ(boxes.Last().buttons, plat::MsgButtons::YesNo);
    EXPECT_EQ(dlg->ModalResult(), mrNone);
    EXPECT_EQ(conf.Read("Test_Table.xml"), before);

    boxes.QueueAnswer(mrYes);
    dlg->Btn_OKClick();
    EXPECT_EQ(dlg->ModalResult(), mrOk);
    EXPECT_EQ(saved().first().first(), full("a"));
    EXPECT_TRUE(dlg->Load_Problem().isEmpty());
}

// A file with more rows than the grid: the first rows load, the user is told how many were
// left out, and OK asks before the file loses them.
TEST_P(TableDialog, SurplusRowsAreReportedAndOkAsksBeforeDroppingThem)
{
    QStringList rows;
    for (int i = 1; i <= Capacity + 2; ++i)
        rows << row(full(QStringLiteral("k%1").arg(i)));
    writeFile(rows);
    const QByteArray before = conf.Read("Test_Table.xml");
    dlg->FormShow();
    ASSERT_EQ(boxes.Count(), 1);
    const QString leftOut = QString::number(2 * grids());
    EXPECT_TRUE(boxes.Last().text.contains(Table_Message(Text_Rows_Left_Out, {leftOut})))
        << boxes.Last().text.toStdString();
    for (int g = 0; g < grids(); ++g)
        EXPECT_EQ(gridRow(g, Capacity), full(QStringLiteral("k%1").arg(Capacity)));

    boxes.QueueAnswer(mrNo);
    dlg->Btn_OKClick();
    EXPECT_EQ(boxes.Count(), 2);
    EXPECT_EQ(conf.Read("Test_Table.xml"), before);
    EXPECT_EQ(dlg->ModalResult(), mrNone);
}

TEST_P(TableDialog, UnchangedTableSavesTheSameRows)
{
    const QStringList rows = {row(full("a", "1", "N")), row(full(" b ", "4"))};
    writeFile(rows);
    dlg->FormShow();
    dlg->Btn_OKClick();
    ASSERT_EQ(dlg->ModalResult(), mrOk);
    for (const QVector<QStringList> &group : saved())
        EXPECT_EQ(group, (QVector<QStringList>{full("a", "1", "N"), full(" b ", "4")}));
}

// A file that cannot be written is reported; the dialog stays open with the rows.
TEST_P(TableDialog, FailedSaveKeepsTheDialogOpen)
{
    path = conf.File(QStringLiteral("gone/Test_Table.xml"));
    dlg = std::make_unique<TTableDialog>(testDesc(GetParam(), path));
    dlg->FormShow();
    dlg->Set_Cell_Text(0, 2, 1, QStringLiteral("kept"));
    dlg->Btn_OKClick();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Error);
    EXPECT_EQ(dlg->ModalResult(), mrNone);
    EXPECT_EQ(dlg->Cell_Text(0, 2, 1), QStringLiteral("kept"));
}

INSTANTIATE_TEST_SUITE_P(
    Frames,
    TableDialog,
    ::testing::Values(TVariant{"OneColumnGrid", TFrameLayout::flOneGrid, 1, false},
                      TVariant{"TwoPages", TFrameLayout::flTwoPages, 2, false},
                      TVariant{"CheckBoxGraphics", TFrameLayout::flCheckBoxGraphics, 1, true}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- column grids ----------------------------------------------------------------------------

class TableDialogColumns : public TableDialog
{
};

TEST_P(TableDialogColumns, PositionCombosListNoneAndTheDataImage)
{
    dlg->FormShow();
    for (int g = 0; g < grids(); ++g) {
        TQrlColumnGrid *grid = dlg->ColumnGrid(g);
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->Columns()->Items(Position_Col)->ComboItems(),
                  (QStringList{"None", "0", "1", "2", "3", "4", "5", "6", "7"}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Frames,
    TableDialogColumns,
    ::testing::Values(TVariant{"OneColumnGrid", TFrameLayout::flOneGrid, 1, false},
                      TVariant{"TwoPages", TFrameLayout::flTwoPages, 2, false}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- two pages --------------------------------------------------------------------------------

class TableDialogPages : public TableDialog
{
};

TEST_P(TableDialogPages, RowCopiedOnOnePageDoesNotPasteOnTheOther)
{
    writeFile({row(full("a"))});
    dlg->FormShow();
    dlg->Grid(0)->MoveColRow(2, 1, true, false);
    dlg->Btn_CopyRowClick();
    dlg->PageControl1->setCurrentIndex(1);
    dlg->Grid(1)->MoveColRow(2, 3, true, false);
    dlg->Btn_PasteRowClick();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, Lang_Texts.value(Text_Copy_Before_Paste));
    EXPECT_EQ(gridRow(1, 3), (QStringList{"Y", "", "", "", "", ""}));

    // Showing again clears the copy flags.
    dlg->PageControl1->setCurrentIndex(0);
    dlg->Btn_CopyRowClick();
    dlg->FormShow();
    EXPECT_EQ(dlg->PageControl1->currentIndex(), 0);
    dlg->Grid(0)->MoveColRow(2, 3, true, false);
    dlg->Btn_PasteRowClick();
    EXPECT_EQ(boxes.Last().text, Lang_Texts.value(Text_Copy_Before_Paste));
}

INSTANTIATE_TEST_SUITE_P(Frames,
                         TableDialogPages,
                         ::testing::Values(TVariant{"TwoPages", TFrameLayout::flTwoPages, 2,
                                                    false}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
