// The Modbus master access dialog: its two grids, the request checks and the topic index that the
// read rows keep outside the grid.
#include "gateway/USetAccess.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/button/LbButton.h"
#include "gateway/UCompile_Bin.h"
#include "grid/model/QrlColumnGrid.h"
#include "platform/ui/MessageBox.h"
#include "support/GatewayTestUtil.h"

#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <memory>

using gwtest::TTempConf;

namespace {

constexpr int Read = 0;
constexpr int Write = 1;

// Grid columns 1.. of a request each check accepts.
const QStringList Read_Row = {
    "Y", "1", "Holding Register", "0", "2", "100", "0", "0", "0", "N", "N", "", "m"};
const QStringList Write_Row = {
    "Y", "1", "Holding Register", "0", "2", "100", "N", "N", "0", "0", "0", "N", "N", "m"};

class SetAccess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Load_English_Texts();
        File_ModbusM_SetAccess = conf.File(QStringLiteral("ModbusM_SetAccess.xml"));
        dlg = std::make_unique<TFSetAccess>();
    }

    void setRow(int g, int r, const QStringList &cells)
    {
        for (int c = 0; c < cells.size(); ++c)
            dlg->Set_Cell_Text(g, c + 1, r, cells[c]);
    }

    TTempConf conf;
    std::unique_ptr<TFSetAccess> dlg;
    plat::MessageBoxRecorder boxes;
};

TEST_F(SetAccess, GridsHaveTheirColumns)
{
    dlg->FormShow();
    EXPECT_EQ(dlg->Grid(Read), dlg->ACG_Modbus_Read);
    EXPECT_EQ(dlg->Grid(Write), dlg->ACG_Modbus_Write);
    EXPECT_NE(dlg->TS_Modbus_Write, nullptr);
    EXPECT_EQ(dlg->NByte_IN, 1438);
    EXPECT_EQ(dlg->NByte_OUT, 1438);
    const std::map<int, std::vector<int>> widths = {
        {Read, {40, 50, 60, 115, 60, 64, 64, 64, 61, 64, 40, 80, 120, 120}},
        {Write, {40, 50, 60, 115, 60, 64, 64, 68, 56, 64, 64, 64, 40, 80, 113}}};
    for (const auto &[g, w] : widths) {
        TQrlColumnGrid *grid = dlg->ColumnGrid(g);
        SCOPED_TRACE(g);
        EXPECT_EQ(grid->RowCount(), 513);
        EXPECT_TRUE(grid->HoverRow());
        // Shown columns by their real index: read column 12 is hidden.
        ASSERT_EQ(grid->RealColIndex(grid->ColCount() - 1), int(w.size()) - 1);
        for (int c = 0; c < grid->ColCount(); ++c)
            EXPECT_EQ(grid->ColWidths(c), w[grid->RealColIndex(c)]) << c;
        TGridColumnItem *enable = grid->Columns()->Items(1);
        EXPECT_EQ(enable->Color(), TColor(0xB0D8FF)); // RGB #FFD8B0
        EXPECT_EQ(enable->CheckTrue(), QStringLiteral("Y"));
        EXPECT_EQ(enable->CheckFalse(), QStringLiteral("N"));
        const QStringList positions = grid->Columns()->Items(g == Read ? 8 : 10)->ComboItems();
        ASSERT_EQ(positions.size(), 1438);
        EXPECT_EQ(positions.last(), QStringLiteral("1437"));
    }
    EXPECT_TRUE(dlg->ACG_Modbus_Read->IsHiddenColumn(12));
    EXPECT_EQ(dlg->ACG_Modbus_Write->Columns()->Items(3)->ComboItems(),
              (QStringList{"Coil Status", "Holding Register"}));
    EXPECT_EQ(dlg->ACG_Modbus_Read->Columns()->Items(1)->Header(), Lang_Texts.value(1217));
}

TEST_F(SetAccess, RequestChecks)
{
    struct Case
    {
        const char *what;
        int grid;
        std::map<int, QString> cells; // grid column -> text over the good row
        int text;                     // 0: the row passes
        QString tail = {};
    };
    const Case cases[] = {
        {"read registers end on the last byte", Read, {{5, "125"}, {8, "1188"}}, 0},
        {"read registers one byte over", Read, {{5, "125"}, {8, "1189"}}, 1277},
        {"read coils end on the last byte",
         Read,
         {{3, "Coil Status"}, {5, "2000"}, {8, "1188"}, {9, "0"}},
         0},
        {"read coils from bit 7 one byte over",
         Read,
         {{3, "Coil Status"}, {5, "2000"}, {8, "1188"}, {9, "7"}},
         1277},
        {"type matched without case",
         Read,
         {{3, " coil status "}, {5, "2000"}, {8, "1188"}, {9, "0"}},
         0},
        {"read coils without a start bit", Read, {{3, "Input Status"}, {9, ""}}, 1276},
        {"read poll time 0", Read, {{6, "0"}}, 1289},
        {"read without a type", Read, {{3, " "}}, 1270},
        {"read position not a number", Read, {{8, "x"}}, 1275, "1437"},
        {"read points over the register maximum", Read, {{5, "126"}}, 1272, "125"},
        {"write poll time 0", Write, {{6, "0"}}, 0},
        {"write registers over 123", Write, {{5, "124"}}, 1282, "123"},
        {"write coils over 1968", Write, {{3, "Coil Status"}, {5, "1969"}}, 1282, "1968"},
        {"write slave 0", Write, {{2, "0"}}, 1279},
        {"disabled write slave 0", Write, {{1, "N"}, {2, "0"}}, 0},
        {"write coils without a start bit", Write, {{3, "Coil Status"}, {11, ""}}, 1286},
        {"write register past the image", Write, {{5, "1"}, {10, "1437"}}, 1287},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        dlg->FormShow();
        QStringList row = c.grid == Read ? Read_Row : Write_Row;
        for (const auto &[col, value] : c.cells)
            row[col - 1] = value;
        setRow(Read, 1, Read_Row);
        setRow(Write, 1, Write_Row);
        setRow(c.grid, 2, row);
        boxes.Clear();
        EXPECT_EQ(dlg->Controllo_dati(), c.text == 0);
        if (c.text == 0) {
            EXPECT_EQ(boxes.Count(), 0);
        } else {
            ASSERT_EQ(boxes.Count(), 1);
            EXPECT_EQ(boxes.Last().text,
                      Lang_Texts.value(1268) + "2" + Lang_Texts.value(c.text) + c.tail);
        }
    }
}

TEST_F(SetAccess, ReadGridIsCheckedBeforeTheWriteGrid)
{
    dlg->FormShow();
    setRow(Read, 1, Read_Row);
    dlg->Set_Cell_Text(Read, 7, 1, QStringLiteral("-5"));
    setRow(Write, 1, Write_Row);
    dlg->Set_Cell_Text(Write, 2, 1, QStringLiteral("300"));
    EXPECT_FALSE(dlg->Controllo_dati());
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, Lang_Texts.value(1268) + "1" + Lang_Texts.value(1274));
}

TEST_F(SetAccess, TopicIndexIsKeptOutsideTheGrid)
{
    QStringList read = Read_Row;
    read[11] = QStringLiteral("5");
    QStringList odd = Read_Row;
    odd[11] = QStringLiteral("x");
    gwtest::TAttrs a, b;
    const QVector<TTableColumn> &cols = ModbusM_SetAccess_Table().Groups[Modbus_Read_Group].Columns;
    for (int k = 0; k < cols.size(); ++k) {
        a.emplace_back(cols[k].Attribute, read[k]);
        b.emplace_back(cols[k].Attribute, odd[k]);
    }
    conf.Write(QStringLiteral("ModbusM_SetAccess.xml"),
               gwtest::ModbusXml({gwtest::Row(a), gwtest::Row(b)}, {}));
    dlg->FormShow();
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(dlg->ComboItem_Topic.size(), 512);
    EXPECT_EQ(dlg->ComboItem_Topic.mid(0, 3), (QVector<int>{5, -1, -1}));
    EXPECT_EQ(dlg->Cell_Text(Read, 12, 1), QString()); // no topic list in this gateway

    dlg->ComboChange(dlg->ACG_Modbus_Read, 12, 2, 0);
    EXPECT_EQ(dlg->ComboItem_Topic[1], 0);

    dlg->Btn_OKClick();
    ASSERT_EQ(dlg->ModalResult(), mrOk);
    const TTableLoadResult saved =
        Load_Table_File(ModbusM_SetAccess_Table(), File_ModbusM_SetAccess);
    ASSERT_EQ(saved.Rows[Modbus_Read_Group].size(), 2);
    EXPECT_EQ(saved.Rows[Modbus_Read_Group][0][11], QStringLiteral("-1"));
    EXPECT_EQ(saved.Rows[Modbus_Read_Group][1][11], QStringLiteral("-1"));
}

TEST_F(SetAccess, TopicLookups)
{
    dlg->List_Publish_Topic = {"a", "b", "a"};
    struct
    {
        const char *topic;
        int index, found;
    } cases[] = {{"a", 2, 2}, {"a", 1, 0}, {"a", -1, 0}, {"a", 7, 0}, {"c", 0, -1}};
    for (const auto &c : cases)
        EXPECT_EQ(dlg->Get_Index_From_Topic(QString::fromLatin1(c.topic), c.index), c.found)
            << c.topic << " " << c.index;
    EXPECT_EQ(dlg->Get_Topic_From_Index(1), QStringLiteral("b"));
    EXPECT_EQ(dlg->Get_Topic_From_Index(3), QString());
    EXPECT_EQ(dlg->Get_Topic_From_Index(-1), QString());
}

// A read row without its Mnemonic stops the load: OK must not drop the rest of the file silently.
TEST_F(SetAccess, RowMissingACompulsoryValueStopsTheLoadAndOkAsks)
{
    auto row = [](const QStringList &cells, int group, const QString &drop = {}) {
        gwtest::TAttrs attrs;
        const QVector<TTableColumn> &cols = ModbusM_SetAccess_Table().Groups[group].Columns;
        for (int k = 0; k < cols.size(); ++k)
            if (cols[k].Attribute != drop)
                attrs.emplace_back(cols[k].Attribute, k == 11 && group == Read ? "-1" : cells[k]);
        return gwtest::Row(attrs);
    };
    conf.Write(QStringLiteral("ModbusM_SetAccess.xml"),
               gwtest::ModbusXml({row(Read_Row, Read), row(Read_Row, Read, "Mnemonic")},
                                 {row(Write_Row, Write)}));
    const QByteArray before = conf.Read(QStringLiteral("ModbusM_SetAccess.xml"));
    dlg->FormShow();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Error);
    EXPECT_TRUE(dlg->Row_Ends_Table(Write, 1)); // the write rows were never reached

    boxes.QueueAnswer(mrNo);
    dlg->Btn_OKClick();
    ASSERT_EQ(boxes.Count(), 2);
    EXPECT_EQ(boxes.Last().buttons, plat::MsgButtons::YesNo);
    EXPECT_EQ(dlg->ModalResult(), mrNone);
    EXPECT_EQ(conf.Read(QStringLiteral("ModbusM_SetAccess.xml")), before);
}

// The conversion attributes that only the image compiler reads stay in the file through open
// and OK, so the second image comes out the same.
TEST_F(SetAccess, OpenAndOkKeepWhatTheImageCompilerReads)
{
    const auto attrs = [](const QStringList &cells, int group) {
        gwtest::TAttrs a;
        const QVector<TTableColumn> &cols = ModbusM_SetAccess_Table().Groups[group].Columns;
        for (int k = 0; k < cols.size(); ++k)
            a.emplace_back(cols[k].Attribute, k == 11 && group == Read ? "-1" : cells[k]);
        return a;
    };
    gwtest::TAttrs read = attrs(Read_Row, Read);
    read.insert(read.begin() + 9, {{"Float_Conv", "Y"}, {"Operation", "X 10"}});
    read.insert(read.end(), {{"Endian", "LITTLE"}, {"Signed", "Y"}});
    gwtest::TAttrs write = attrs(Write_Row, Write);
    write.insert(write.begin(), {"Signed", "Y"});
    conf.Write(QStringLiteral("ModbusM_SetAccess.xml"),
               gwtest::ModbusXml({gwtest::Row(read)}, {gwtest::Row(write)}));
    const auto image2 = [&] {
        TImage_Compiler compiler;
        compiler.Compile_Bin(TCompile_Files::In_Folder(conf.Path()));
        return compiler.Image2();
    };
    const QByteArray before = image2();

    plat::WhenModalShown([&](TModalForm *form) {
        EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        QTest::mouseClick(dlg->Btn_OK, Qt::LeftButton);
        if (form->isVisible())
            form->SetModalResult(mrAbort);
    });
    ASSERT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(image2().toHex().toStdString(), before.toHex().toStdString());
    // The read request's conversion byte: float, little endian, signed.
    EXPECT_EQ(uint8_t(before.at(1024 + 28)), 0x07);
}

} // namespace
