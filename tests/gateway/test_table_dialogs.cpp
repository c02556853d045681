// The cases every gateway table dialog shares, run over the dialogs themselves: show, the first
// blank key ending check and save, disabled rows, header hints, row copies between pages and
// the files that were not loaded whole. A dialog joins with one entry in Dialogs below.
#include "gateway/UIEC61850_Variables.h"
#include "gateway/USetAccess.h"
#include "gateway/UTLS_Server_Known_Cert.h"
#include "gateway/table/UTableDialog.h"
#include "gateway/table/UTableRows.h"

#include "common/GatewayTestUtil.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/ui/MessageBox.h"
#include "shell/common/UComon.h"
#include "shell/common/ULanguage.h"

#include <QFileInfo>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using gwtest::TTempConf;

namespace {

struct TDialogCase
{
    const char *name;
    // Points the dialog's file into the folder and builds the dialog.
    std::function<std::unique_ptr<TTableDialog>(const QString &folder)> make;
    // Per grid: a row the check accepts, in the file's column order (Enable first).
    QVector<QStringList> goodRows;
    // Per grid: a row the check refuses; none when the dialog refuses no row.
    QVector<QStringList> badRows;
};

const QString Pem = QStringLiteral("-----BEGIN CERTIFICATE-----\nMIIBszCCAVmgAwIBAgIU\n"
                                   "-----END CERTIFICATE-----");

const TDialogCase Dialogs[] = {
    {"KnownCert",
     [](const QString &folder) -> std::unique_ptr<TTableDialog> {
         File_TLS_Known_Cert = folder + QStringLiteral("/TLS_Known_Cert.xml");
         return std::make_unique<TFTLS_Server_Known_Cert>();
     },
     {{"Y", Pem, "client A"}},
     {}},
    {"IEC61850Variables",
     [](const QString &folder) -> std::unique_ptr<TTableDialog> {
         File_IEC61850_Variables = folder + QStringLiteral("/IEC61850_Variables.xml");
         return std::make_unique<TFIEC61850_Variables>();
     },
     {{"Y", "v1", "Int", "2", "N", "10", "", "None", "None", "N", "N", "m"}},
     {{"Y", "v2", "Digital (Bit)", "1", "N", "10", "", "None", "None", "N", "N", "m"}}},
    {"ModbusAccess",
     [](const QString &folder) -> std::unique_ptr<TTableDialog> {
         File_ModbusM_SetAccess = folder + QStringLiteral("/ModbusM_SetAccess.xml");
         return std::make_unique<TFSetAccess>();
     },
     {{"Y", "1", "Holding Register", "0", "2", "100", "0", "0", "0", "N", "N", "-1", "m"},
      {"Y", "1", "Holding Register", "0", "2", "100", "N", "N", "0", "0", "0", "N", "N", "m"}},
     {{"Y", "0", "Holding Register", "0", "2", "100", "0", "0", "0", "N", "N", "-1", "m"},
      {"Y", "0", "Holding Register", "0", "2", "100", "N", "N", "0", "0", "0", "N", "N", "m"}}},
};

class TableDialogs : public ::testing::TestWithParam<TDialogCase>
{
protected:
    void SetUp() override
    {
        Load_English_Texts();
        Copy_Row_Buffer.clear();
        dlg = GetParam().make(conf.Path());
        path = dlg->Desc().FilePath();
    }
    void TearDown() override
    {
        dlg.reset();
        Copy_Row_Buffer.clear();
    }

    const TTableFileDesc &file() const { return dlg->Desc().File; }
    QStringList good(int g) const { return GetParam().goodRows.value(g); }
    bool refusesRows() const { return !GetParam().badRows.isEmpty(); }
    // A row the check refuses; a good one for a dialog that refuses none.
    QStringList bad(int g) const { return refusesRows() ? GetParam().badRows.value(g) : good(g); }
    int keyCol(int g) const
    {
        const TTableGroup &group = file().Groups[g];
        return group.Columns[group.KeyColumn].GridCol;
    }

    // The file as written by hand (a blank key included, which the program never writes).
    void writeRows(const std::function<QVector<QStringList>(int g)> &rows)
    {
        QString body;
        for (int g = 0; g < file().Groups.size(); ++g) {
            QStringList lines;
            for (const QStringList &values : rows(g)) {
                gwtest::TAttrs attrs;
                const QVector<TTableColumn> &cols = file().Groups[g].Columns;
                for (int k = 0; k < cols.size(); ++k)
                    attrs.emplace_back(cols[k].Attribute, values.value(k));
                lines << gwtest::Row(attrs);
            }
            body += file().Grouped() ? QStringLiteral("<%1>\n%2\n</%1>\n")
                                           .arg(file().Groups[g].Name, lines.join('\n'))
                                     : lines.join('\n') + QLatin1Char('\n');
        }
        conf.Write(QFileInfo(path).fileName(), gwtest::TableXml(file().Root, {body}));
    }
    TTableData saved() const { return Load_Table_File(file(), path).Rows; }
    QByteArray bytes() const { return gwtest::ReadFile(path); }

    TTempConf conf;
    QString path;
    std::unique_ptr<TTableDialog> dlg;
    plat::MessageBoxRecorder boxes;
};

TEST_P(TableDialogs, MissingFileShowsAnEmptyTableAndOkWritesOneWithoutRows)
{
    dlg->FormShow();
    EXPECT_EQ(boxes.Count(), 0);
    for (int g = 0; g < dlg->GridCount(); ++g)
        for (int r = 1; r < dlg->Grid(g)->RowCount(); ++r) {
            EXPECT_TRUE(dlg->Row_Ends_Table(g, r)) << "grid " << g << " row " << r;
            EXPECT_TRUE(dlg->Row_Enabled(g, r));
        }
    dlg->Btn_OKClick();
    EXPECT_EQ(dlg->ModalResult(), mrOk);
    EXPECT_EQ(saved(), Empty_Table_Data(file()));
    EXPECT_TRUE(bytes().contains("SW_VERSION = "));
}

// A row behind the first blank key still shows, but is neither checked nor saved.
TEST_P(TableDialogs, FirstBlankKeyEndsCheckAndSave)
{
    writeRows([&](int g) {
        QStringList blank = good(g);
        blank[file().Groups[g].KeyColumn] = QStringLiteral("  ");
        return QVector<QStringList>{good(g), blank, bad(g)};
    });
    dlg->FormShow();
    for (int g = 0; g < dlg->GridCount(); ++g) {
        EXPECT_FALSE(dlg->Row_Ends_Table(g, 1));
        EXPECT_TRUE(dlg->Row_Ends_Table(g, 2));
        EXPECT_FALSE(dlg->Row_Ends_Table(g, 3));
    }
    dlg->Btn_OKClick();
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(dlg->ModalResult(), mrOk);
    const TTableData rows = saved();
    for (int g = 0; g < dlg->GridCount(); ++g)
        EXPECT_EQ(rows[g], TTableRows{good(g)}) << "grid " << g;
}

TEST_P(TableDialogs, DisabledRowsAreSkippedByTheCheckButSaved)
{
    auto disabled = [&](int g) {
        QStringList row = bad(g);
        row[0] = QStringLiteral("N");
        return row;
    };
    writeRows([&](int g) { return QVector<QStringList>{good(g), disabled(g)}; });
    dlg->FormShow();
    dlg->Btn_OKClick();
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(dlg->ModalResult(), mrOk);
    const TTableData rows = saved();
    for (int g = 0; g < dlg->GridCount(); ++g)
        EXPECT_EQ(rows[g], (TTableRows{good(g), disabled(g)})) << "grid " << g;

    if (!refusesRows())
        return;
    writeRows([&](int g) { return QVector<QStringList>{good(g), bad(g)}; });
    const QByteArray before = bytes();
    dlg->SetModalResult(mrNone);
    dlg->FormShow();
    dlg->Btn_OKClick();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Error);
    EXPECT_TRUE(boxes.Last().text.contains(QStringLiteral("2"))) << boxes.Last().text.toStdString();
    EXPECT_EQ(dlg->ModalResult(), mrNone);
    EXPECT_EQ(bytes(), before);
}

TEST_P(TableDialogs, OnlyHeaderCellsHaveHints)
{
    for (int g = 0; g < dlg->GridCount(); ++g) {
        QObject *grid = dlg->Grid(g);
        QString hint = QStringLiteral("stale");
        dlg->GridHint(grid, 0, 0, hint);
        EXPECT_EQ(hint, QString());
        for (int c = 1; c < dlg->Grid(g)->ColCount(); ++c) {
            dlg->GridHint(grid, 0, c, hint);
            EXPECT_EQ(hint, dlg->Hint_Lists[g].value(dlg->Grid(g)->RealColIndex(c) - 1));
            EXPECT_FALSE(hint.isEmpty()) << "grid " << g << " column " << c;
            dlg->GridHint(grid, 1, c, hint);
            EXPECT_EQ(hint, QString());
        }
    }
}

TEST_P(TableDialogs, RowCopiedOnOnePageIsNotPastedOnTheOther)
{
    if (dlg->GridCount() < 2)
        GTEST_SKIP() << "one page";
    writeRows([&](int g) { return QVector<QStringList>{good(g)}; });
    dlg->FormShow();
    dlg->Grid(0)->MoveColRow(2, 1, true, false);
    dlg->Btn_CopyRowClick();
    dlg->PageControl1->setCurrentIndex(1);
    dlg->Grid(1)->MoveColRow(2, 3, true, false);
    dlg->Btn_PasteRowClick();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, Lang_Texts.value(Text_Copy_Before_Paste));
    EXPECT_TRUE(dlg->Row_Ends_Table(1, 3));
}

TEST_P(TableDialogs, FileThatDoesNotParseIsNotReplacedWithoutAsking)
{
    conf.Write(QFileInfo(path).fileName(), QStringLiteral("<") + file().Root + "><row");
    const QByteArray before = bytes();
    dlg->FormShow();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().icon, plat::MsgIcon::Error);

    boxes.QueueAnswer(mrNo);
    dlg->Btn_OKClick();
    ASSERT_EQ(boxes.Count(), 2);
    EXPECT_EQ(boxes.Last().buttons, plat::MsgButtons::YesNo);
    EXPECT_EQ(dlg->ModalResult(), mrNone);
    EXPECT_EQ(bytes(), before);

    boxes.QueueAnswer(mrYes);
    dlg->Btn_OKClick();
    EXPECT_EQ(dlg->ModalResult(), mrOk);
    EXPECT_EQ(saved(), Empty_Table_Data(file()));
}

TEST_P(TableDialogs, SurplusRowsAreReportedAndNotDroppedWithoutAsking)
{
    writeRows([&](int g) { return QVector<QStringList>(file().Groups[g].Capacity + 1, good(g)); });
    const QByteArray before = bytes();
    dlg->FormShow();
    ASSERT_EQ(boxes.Count(), 1);
    const QString leftOut = QString::number(dlg->GridCount());
    EXPECT_TRUE(boxes.Last().text.contains(leftOut + " row")) << boxes.Last().text.toStdString();
    for (int g = 0; g < dlg->GridCount(); ++g)
        EXPECT_FALSE(dlg->Row_Ends_Table(g, file().Groups[g].Capacity));

    boxes.QueueAnswer(mrNo);
    dlg->Btn_OKClick();
    EXPECT_EQ(boxes.Count(), 2);
    EXPECT_EQ(dlg->ModalResult(), mrNone);
    EXPECT_EQ(bytes(), before);
}

INSTANTIATE_TEST_SUITE_P(Gateway, TableDialogs, ::testing::ValuesIn(Dialogs), [](const auto &info) {
    return std::string(info.param.name);
});

} // namespace
