#include "gateway/UTLS_Server_Known_Cert.h"

#include "common/UComon.h"
#include "gateway/table/UTableColumns.h"
#include "grid/model/QrlStringGrid.h"

namespace {

constexpr int Data_Row_Height = 60;
constexpr int Certificate_Col = 2;
constexpr int Header_Height = 22;

} // namespace

TTableDialogDesc TLS_Known_Cert_Dialog_Desc()
{
    TTableDialogDesc d;
    d.Name = QStringLiteral("FTLS_Server_Known_Cert");
    d.ClientWidth = 800;
    d.ClientHeight = 337;
    d.FilePath = [] { return File_TLS_Known_Cert; };
    d.File = TLS_Known_Cert_Table();
    d.CaptionText = 800;
    d.DescText = 801;
    d.ButtonTexts = {802, 803, 804, 805, 806, 807};
    d.ButtonHints = {808, 809, 810, 811, 812, 813};
    d.DeleteRowText = 821;
    d.Layout = TFrameLayout::flCheckBoxGraphics;

    TTableGridDesc grid;
    grid.Name = QStringLiteral("QSG");
    grid.HeaderN = 814;
    grid.RowHeight = Data_Row_Height;
    grid.VAlignment = TVAlignment::vtaCenter;
    namespace P = TablePalette;
    // The Enable column is a check-box graphic by the layout, whatever its editor.
    grid.Columns = Table_Grid_Columns(
        d.File.Groups[0],
        {{.Attribute = "Enable",
          .Header = 815,
          .Hint = 818,
          .Width = 50,
          .Default = "Y",
          .Color = P::Enable},
         {.Attribute = "Certificate",
          .Header = 816,
          .Hint = 819,
          .Width = 500,
          .Color = P::Subject},
         {.Attribute = "Mnemonic", .Header = 817, .Hint = 820, .Width = 160, .Color = P::Comment}});
    // Every table is accepted: no row check.
    d.Grids << grid;
    return d;
}

TFTLS_Server_Known_Cert::TFTLS_Server_Known_Cert(QWidget *parent)
    : TTableDialog(TLS_Known_Cert_Dialog_Desc(), parent)
{
    QSG = Grid(0);
    Init_Table();
}

void TFTLS_Server_Known_Cert::Init_Table()
{
    QSG->SetFixedRowHeight(Header_Height);
    // A pasted PEM certificate keeps its line breaks in the cell and in its editor.
    QSG->SetWordWrap(true);
    QSG->SetMultilineCells(true);
    // Word-wrapped text is laid out from the top of its cell: only the certificates wrap, so
    // the row numbers and the mnemonics stand in the middle of the tall rows like the boxes.
    QSG->OnGetWordWrap = [](QObject *, int ACol, int ARow, bool &WordWrap) {
        WordWrap = ACol == Certificate_Col && ARow >= 1;
    };
    QSG->SetHoverRow(true);
    QSG->SetOptions(QSG->Options() + plat::TGridOption::goRowSizing);
}
