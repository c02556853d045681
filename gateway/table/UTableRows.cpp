#include "gateway/table/UTableRows.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "grid/model/QrlColumnGrid.h"
#include "platform/text/StrConv.h"
#include "platform/ui/MessageBox.h"

namespace {

// The last real column, hidden ones counted.
int lastCol(const TQrlStringGrid *grid)
{
    return grid->ColCount() + grid->NumHiddenColumns() - 1;
}

// Row 0 is the header; a cursor outside the data rows leaves the table alone.
bool dataRow(const TQrlStringGrid *grid, int row)
{
    return grid && row >= 1 && row < grid->RowCount();
}

bool isCheckColumn(const TQrlColumnGrid *grid, int col)
{
    const TGridColumnCollection *items = grid->Columns();
    return col < items->Count() && items->Items(col)->Editor() == TEditorType::edDataCheckBox;
}

void errorBox(int text)
{
    plat::MessageBox(Lang_Texts.value(text), plat::MsgIcon::Error, plat::MsgButtons::OK);
}

bool askOverwrite()
{
    return plat::MessageBox(Lang_Texts.value(Text_Row_Already_Used), plat::MsgIcon::Question,
                            plat::MsgButtons::YesNo) == mrYes;
}

// Steps 1 and 2 of both paste forms: is there something of this shape to paste?
bool pasteAllowed(const TQrlStringGrid *grid, bool copied)
{
    if (!copied) {
        errorBox(Text_Copy_Before_Paste);
        return false;
    }
    if (lastCol(grid) != Copy_Row_Buffer.size()) {
        errorBox(Text_Copy_Values_Error);
        return false;
    }
    return true;
}

// One cell of the check form: the check state where the source has a box, else the text.
void moveCheckCell(TQrlStringGrid *grid, int col, int from, int to)
{
    bool state = false;
    if (grid->GetCheckBoxState(col, from, state))
        grid->SetCheckBoxState(col, to, state);
    else
        grid->SetCellEx(col, to, grid->GetCellEx(col, from));
}

// A freed or inserted row of the check form.
void clearCheckRow(TQrlStringGrid *grid, int row, bool setCheck)
{
    for (int c = 1; c <= lastCol(grid); ++c) {
        if (grid->HasCheckBox(c, row))
            grid->SetCheckBoxState(c, row, c == 1 && setCheck);
        else
            grid->SetCellEx(c, row, QString());
    }
}

} // namespace

void Grid_Delete_Row(int Row, TQrlColumnGrid *Grid)
{
    if (!dataRow(Grid, Row))
        return;
    const int last = lastCol(Grid);
    for (int i = Row; i <= Grid->RowCount() - 2; ++i)
        for (int c = 1; c <= last; ++c)
            Grid->SetCellEx(c, i, Grid->GetCellEx(c, i + 1));
    for (int c = 1; c <= last; ++c)
        Grid->SetCellEx(c, Grid->RowCount() - 1, QString());
}

void Grid_Insert_Row(int Row, TQrlColumnGrid *Grid, bool SetEnable)
{
    if (!dataRow(Grid, Row))
        return;
    const int last = lastCol(Grid);
    for (int i = Grid->RowCount() - 2; i >= Row; --i)
        for (int c = 1; c <= last; ++c)
            Grid->SetCellEx(c, i + 1, Grid->GetCellEx(c, i));
    for (int c = 1; c <= last; ++c)
        Grid->SetCellEx(c, Row, c == 1 && SetEnable ? QStringLiteral("Y") : QString());
}

void Grid_Copy_Row(TQrlColumnGrid *Grid, int Row)
{
    if (!dataRow(Grid, Row))
        return;
    Copy_Row_Buffer.clear();
    for (int c = 1; c <= lastCol(Grid); ++c)
        Copy_Row_Buffer << Grid->GetCellEx(c, Row);
}

void Grid_Paste_Row(TQrlColumnGrid *Grid, int Row, bool Copied)
{
    if (!dataRow(Grid, Row) || !pasteAllowed(Grid, Copied))
        return;
    const int last = lastCol(Grid);
    bool inUse = false;
    for (int c = 1; c <= last && !inUse; ++c)
        inUse = !isCheckColumn(Grid, c) && !plat::Trim(Grid->GetCellEx(c, Row)).isEmpty();
    if (inUse && !askOverwrite())
        return;
    for (int c = 1; c <= last; ++c)
        Grid->SetCellEx(c, Row, Copy_Row_Buffer.at(c - 1));
}

void Grid_Delete_Row_Check(int Row, TQrlStringGrid *Grid, bool SetCheck)
{
    if (!dataRow(Grid, Row))
        return;
    const int last = lastCol(Grid);
    for (int i = Row; i <= Grid->RowCount() - 2; ++i)
        for (int c = 1; c <= last; ++c)
            moveCheckCell(Grid, c, i + 1, i);
    clearCheckRow(Grid, Grid->RowCount() - 1, SetCheck);
}

void Grid_Insert_Row_Check(int Row, TQrlStringGrid *Grid, bool SetCheck)
{
    if (!dataRow(Grid, Row))
        return;
    const int last = lastCol(Grid);
    for (int i = Grid->RowCount() - 2; i >= Row; --i)
        for (int c = 1; c <= last; ++c)
            moveCheckCell(Grid, c, i, i + 1);
    clearCheckRow(Grid, Row, SetCheck);
}

void Grid_Copy_Row_Check(TQrlStringGrid *Grid, int Row)
{
    if (!dataRow(Grid, Row))
        return;
    const int last = lastCol(Grid);
    Copy_Row_Buffer.clear();
    Copy_Row_Check_Flags = QList<bool>(last, false);
    for (int c = 1; c <= last; ++c) {
        bool state = false;
        if (Grid->GetCheckBoxState(c, Row, state)) {
            Copy_Row_Check_Flags[c - 1] = true;
            Copy_Row_Buffer << (state ? QStringLiteral("Y") : QStringLiteral("N"));
        } else {
            Copy_Row_Buffer << Grid->GetCellEx(c, Row);
        }
    }
}

void Grid_Paste_Row_Check(TQrlStringGrid *Grid, int Row, bool Copied)
{
    if (!dataRow(Grid, Row) || !pasteAllowed(Grid, Copied))
        return;
    const int last = lastCol(Grid);
    bool inUse = false;
    for (int c = 1; c <= last && !inUse; ++c)
        inUse = !Grid->HasCheckBox(c, Row) && !Grid->GetCellEx(c, Row).isEmpty();
    if (inUse && !askOverwrite())
        return;
    for (int c = 1; c <= last; ++c) {
        // Flags left by a copy of another shape count as no check box.
        if (Copy_Row_Check_Flags.value(c - 1, false))
            Grid->SetCheckBoxState(c, Row, Copy_Row_Buffer.at(c - 1) == QLatin1String("Y"));
        else
            Grid->SetCellEx(c, Row, Copy_Row_Buffer.at(c - 1));
    }
}

void Grid_DblClick_AutoSize(TQrlStringGrid *Grid, int ARow, int ACol)
{
    if (Enable_DblClick_AutoSize && ARow == 0 && Grid)
        Grid->AutoSizeCol(ACol, 0);
}

void Grid_Enter_Next_Cell(TQrlStringGrid *Grid, QChar &Key)
{
    if (!Enable_Jump_Fields || Key != QChar(13) || !Grid)
        return;
    const int col = Grid->Col();
    const int row = Grid->Row();
    if (col > 0 && row > 0) {
        if (col < Grid->ColCount() - 1)
            Grid->MoveColRow(col + 1, row, true, true);
        else
            Grid->MoveColRow(1, row < Grid->RowCount() - 1 ? row + 1 : 1, true, true);
    }
    Key = QChar(0);
}
