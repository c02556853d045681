// The known-certificate dialog's own rules: its grid, multi-line certificates through the editor
// and the file, and the check-box row operations on a full or partly filled table.
#include "gateway/UTLS_Server_Known_Cert.h"
#include "gateway/table/UTableRows.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "grid/editing/QrlInplaceEdit.h"
#include "grid/model/QrlStringGrid.h"
#include "platform/ui/MessageBox.h"
#include "support/GatewayTestUtil.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using gwtest::TTempConf;

namespace {

constexpr int Rows = 10;

QString pem(const QString &body, const QString &brk = QStringLiteral("\n"))
{
    return QStringList{"-----BEGIN CERTIFICATE-----", body, "-----END CERTIFICATE-----"}.join(brk);
}

class KnownCert : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Load_English_Texts();
        Copy_Row_Buffer.clear();
        File_TLS_Known_Cert = conf.File(QStringLiteral("TLS_Known_Cert.xml"));
        dlg = std::make_unique<TFTLS_Server_Known_Cert>();
    }
    void TearDown() override
    {
        dlg.reset();
        Copy_Row_Buffer.clear();
        QApplication::clipboard()->clear();
    }

    // Rows of {Enable, Certificate, Mnemonic}.
    void writeFile(const QVector<QStringList> &rows)
    {
        QStringList lines;
        for (const QStringList &r : rows)
            lines << gwtest::Row({{"Enable", r[0]}, {"Certificate", r[1]}, {"Mnemonic", r[2]}});
        conf.Write(QStringLiteral("TLS_Known_Cert.xml"),
                   gwtest::TableXml(QStringLiteral("TLS_Server_Known_Cert"), lines));
    }
    TTableRows saved() const
    {
        return Load_Table_File(TLS_Known_Cert_Table(), File_TLS_Known_Cert).Rows.value(0);
    }
    QStringList row(int r) const
    {
        return {dlg->Cell_Text(0, 1, r), dlg->Cell_Text(0, 2, r), dlg->Cell_Text(0, 3, r)};
    }
    void select(int r) { dlg->QSG->MoveColRow(2, r, true, false); }

    TTempConf conf;
    std::unique_ptr<TFTLS_Server_Known_Cert> dlg;
    plat::MessageBoxRecorder boxes;
};

TEST_F(KnownCert, GridHasItsColumnsRowsAndLooks)
{
    TQrlStringGrid *g = dlg->QSG;
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->objectName(), "QSG");
    EXPECT_EQ(dlg->findChild<TQrlStringGrid *>(QStringLiteral("QSG")), g);
    ASSERT_EQ(g->ColCount(), 4);
    ASSERT_EQ(g->RowCount(), Rows + 1);
    EXPECT_EQ(g->RowHeights(0), 22);
    EXPECT_TRUE(g->HoverRow());
    EXPECT_TRUE(g->WordWrap());
    EXPECT_TRUE(g->MultilineCells());
    EXPECT_EQ(g->VAlignment(), TVAlignment::vtaCenter);
    EXPECT_TRUE(g->Options().Contains(plat::TGridOption::goRowSizing));
    EXPECT_TRUE(g->Options().Contains(plat::TGridOption::goEditing));

    const struct
    {
        int width;
        QString header;
        TColor color;
    } cols[] = {{40, "N", 0},
                {50, "Enable", 0xB0D8FF},
                {500, "Certificate", 0xFEFAE0},
                {160, "Mnemonic", clWhite}};
    for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(g->ColWidths(c), cols[c].width);
        EXPECT_EQ(g->GetCellEx(c, 0), cols[c].header);
        for (int r = 1; r <= Rows; ++r) {
            EXPECT_EQ(g->RowHeights(r), 60);
            if (c > 0) {
                EXPECT_EQ(g->GetColors(c, r), cols[c].color) << "row " << r;
            }
            EXPECT_EQ(g->HasCheckBox(c, r), c == 1) << "row " << r;
        }
    }
    EXPECT_EQ(g->GetAlignments(1, 1), TAlignment::taCenter);
}

// The rows of the dark pixels inside a cell (a few pixels in from its edges), relative to the
// cell's top; {-1, -1} when there are none.
std::pair<int, int> inkRows(const QImage &image, const TRect &cell)
{
    constexpr int inset = 4;
    int first = -1, last = -1;
    for (int y = cell.Top + inset; y < cell.Bottom - inset; ++y)
        for (int x = cell.Left + inset; x < cell.Right - inset; ++x)
            if (qGray(image.pixel(x, y)) < 100) {
                if (first < 0)
                    first = y - cell.Top;
                last = y - cell.Top;
                break;
            }
    return {first, last};
}

// In the 60-pixel rows, row numbers, check boxes and mnemonics stand in the middle; only the
// certificate, which wraps, starts at the top.
TEST_F(KnownCert, SingleLineCellsAreCentredAndWrappedCertificatesStartAtTheTop)
{
    writeFile({{"N", pem("MIIB"), "mn"}, {"Y", pem("MIIC"), "op"}});
    QImage image;
    TRect cells[4];
    plat::WhenModalShown([&](TModalForm *form) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
        // The current cell and the hovered row are drawn apart: both away from row 1.
        const TRect away = dlg->QSG->CellRect(3, 2);
        QTest::mouseClick(dlg->QSG->viewport(), Qt::LeftButton, {},
                          QPoint((away.Left + away.Right) / 2, (away.Top + away.Bottom) / 2));
        QTest::mouseMove(dlg->QSG->viewport(), QPoint(1, 1));
        for (int c = 0; c < 4; ++c)
            cells[c] = dlg->QSG->CellRect(c, 1);
        image = dlg->QSG->viewport()->grab().toImage();
        dlg->SetModalResult(mrCancel);
    });
    dlg->ShowModal();
    ASSERT_FALSE(image.isNull());
    for (int c : {0, 1, 3}) {
        SCOPED_TRACE(c);
        const auto [top, bottom] = inkRows(image, cells[c]);
        ASSERT_GE(top, 0);
        const int height = cells[c].Bottom - cells[c].Top;
        EXPECT_NEAR((top + bottom) / 2.0, height / 2.0, 3.0) << top << ".." << bottom;
    }
    const auto [top, bottom] = inkRows(image, cells[2]);
    ASSERT_GE(top, 0);
    EXPECT_LE(top, 8);
    EXPECT_GT(bottom - top, 20); // three lines
}

TEST_F(KnownCert, PastedCertificateKeepsItsLineBreaksThroughSaveAndReload)
{
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    dlg->FormShow();
    for (const QString brk : {"\n", "\r\n"}) {
        SCOPED_TRACE(brk.size());
        select(1);
        dlg->QSG->KeepOldCellValue(2, 1);
        dlg->QSG->ShowInplaceEdit();
        TQrlInplaceEdit *ed = dlg->QSG->NormalEdit();
        ASSERT_NE(ed, nullptr);
        ASSERT_TRUE(ed->IsMultiLine());
        QApplication::clipboard()->setText(pem("MIIBszCCAVmgAwIBAgIU", brk));
        ed->SetText(QString());
        ed->PasteFromClipboard();
        dlg->QSG->HideInplaceEdit();
        // Kept as pasted, line breaks and all.
        const QString cert = pem("MIIBszCCAVmgAwIBAgIU", brk);
        EXPECT_EQ(dlg->Cell_Text(0, 2, 1), cert);

        dlg->Btn_OKClick();
        EXPECT_EQ(dlg->ModalResult(), mrOk);
        EXPECT_EQ(saved().value(0).value(1), cert);
        dlg->SetModalResult(mrNone);
        dlg->FormShow();
        EXPECT_EQ(dlg->Cell_Text(0, 2, 1), cert);
    }
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(KnownCert, DeletingTheFirstRowOfAFullTableMovesTheOthersUp)
{
    QVector<QStringList> rows;
    for (int i = 1; i <= Rows; ++i)
        rows << QStringList{i % 2 ? "N" : "Y", pem(QString::number(i)),
                            QStringLiteral("m%1").arg(i)};
    writeFile(rows);
    dlg->FormShow();
    select(1);
    boxes.QueueAnswer(mrYes);
    dlg->Btn_DelRowClick();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, "Are you sure to delete the Row number 1");
    EXPECT_EQ(boxes.Last().buttons, plat::MsgButtons::YesNo);
    for (int r = 1; r < Rows; ++r)
        EXPECT_EQ(row(r), rows[r]) << "row " << r;
    EXPECT_EQ(row(Rows), (QStringList{"Y", "", ""}));
}

TEST_F(KnownCert, PasteAsksOnlyOverARowHoldingACertificate)
{
    const QStringList unchecked{"N", pem("A"), "a"};
    writeFile({unchecked, {"Y", pem("B"), "b"}});
    dlg->FormShow();
    select(1);
    dlg->Btn_CopyRowClick();

    select(3);
    dlg->Btn_PasteRowClick();
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(row(3), unchecked);

    select(2);
    boxes.QueueAnswer(mrNo);
    dlg->Btn_PasteRowClick();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().text, Lang_Texts.value(Text_Row_Already_Used));
    EXPECT_EQ(row(2), (QStringList{"Y", pem("B"), "b"}));
    boxes.QueueAnswer(mrYes);
    dlg->Btn_PasteRowClick();
    EXPECT_EQ(row(2), unchecked);
}

TEST_F(KnownCert, DisabledRowShowsAnUncheckedBoxAndIsSavedAsN)
{
    writeFile({{"N", pem("A"), "a"}, {"Y", pem("B"), "b"}});
    dlg->FormShow();
    bool state = true;
    ASSERT_TRUE(dlg->QSG->GetCheckBoxState(1, 1, state));
    EXPECT_FALSE(state);
    ASSERT_TRUE(dlg->QSG->GetCheckBoxState(1, 2, state));
    EXPECT_TRUE(state);
    dlg->Btn_OKClick();
    EXPECT_EQ(saved(), (TTableRows{{"N", pem("A"), "a"}, {"Y", pem("B"), "b"}}));
}

} // namespace
