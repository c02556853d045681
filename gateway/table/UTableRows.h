// The row operations every table dialog shares: delete, insert, copy and paste a whole row, Enter
// moving to the next cell and a double click on a header sizing its column.
//
// The routines work on real columns 1 .. ColCount + NumHiddenColumns - 1, so hidden columns
// travel with their rows; column 0 holds the row number and is never touched. Copied rows go to
// the row clipboard Copy_Row_Buffer (common/UComon.h), shared by all dialogs.
//
// Two forms: the plain one for column grids, whose check-box columns hold "Y"/"N" texts, and the
// *_Check one for string grids whose check boxes are cell graphics.
#pragma once

#include <QChar>

class TQrlColumnGrid;
class TQrlStringGrid;

// Texts of the text table the routines show.
inline constexpr int Text_Row_Already_Used = 1100;  // question before overwriting a row
inline constexpr int Text_Copy_Values_Error = 1101; // clipboard of another column count
inline constexpr int Text_Copy_Before_Paste = 1102; // nothing copied in this dialog

// Rows Row + 1 .. RowCount - 1 move up one row; the last row is emptied (its enable cell too).
void Grid_Delete_Row(int Row, TQrlColumnGrid *Grid);
// Rows Row .. RowCount - 2 move down one row (the last row's content is lost); Row is emptied,
// with "Y" in column 1 when SetEnable is set.
void Grid_Insert_Row(int Row, TQrlColumnGrid *Grid, bool SetEnable);
// The clipboard becomes the row's texts.
void Grid_Copy_Row(TQrlColumnGrid *Grid, int Row);
// Error 1102 without Copied, error 1101 when the clipboard has another column count; a row
// holding text outside its check-box columns asks 1100 first. Only then the clipboard goes in.
void Grid_Paste_Row(TQrlColumnGrid *Grid, int Row, bool Copied);

// The same for a string grid: check states move with the rows; a freed or inserted row's boxes
// are checked in column 1 when SetCheck is set, else unchecked.
void Grid_Delete_Row_Check(int Row, TQrlStringGrid *Grid, bool SetCheck);
void Grid_Insert_Row_Check(int Row, TQrlStringGrid *Grid, bool SetCheck);
// Check-box cells are copied as "Y"/"N" and marked in Copy_Row_Check_Flags.
void Grid_Copy_Row_Check(TQrlStringGrid *Grid, int Row);
// As Grid_Paste_Row, but a row is in use when a cell without check box is not empty (blanks
// count), and marked clipboard entries set check states.
void Grid_Paste_Row_Check(TQrlStringGrid *Grid, int Row, bool Copied);

// Double click on a cell: with Enable_DblClick_AutoSize, a header cell fits its column.
void Grid_DblClick_AutoSize(TQrlStringGrid *Grid, int ARow, int ACol);
// Key press in a grid: with Enable_Jump_Fields, Enter moves to the next cell (from the last
// column to column 1 of the next row, from the last row to row 1) and is swallowed (Key := 0).
void Grid_Enter_Next_Cell(TQrlStringGrid *Grid, QChar &Key);
