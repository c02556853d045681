#include "gateway/UTLS_Server_Known_Cert.h"

#include "common/UComon.h"
#include "grid/model/QrlStringGrid.h"

namespace {

constexpr int Data_Row_Height = 60;
constexpr int Certificate_Col = 2;
constexpr int Header_Height = 22;

// Colours as the grid takes them (0x00BBGGRR).
constexpr TColor Enable_Color = 0xB0D8FF;      // #FFD8B0
constexpr TColor Certificate_Color = 0xFEFAE0; // #E0FAFE

TTableGridColumn Column(int header, int hint, int width, TColor color)
{
    TTableGridColumn c;
    c.Header = header;
    c.Hint = hint;
    c.Width = width;
    c.Color = color;
    return c;
}

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

    TTableGridDesc grid;
    grid.Name = QStringLiteral("QSG");
    grid.HeaderN = 814;
    grid.CheckBoxGraphics = true;
    grid.RowHeight = Data_Row_Height;
    grid.VAlignment = TVAlignment::vtaCenter;
    grid.Columns = {Column(815, 818, 50, Enable_Color), Column(816, 819, 500, Certificate_Color),
                    Column(817, 820, 160, clWhite)};
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
