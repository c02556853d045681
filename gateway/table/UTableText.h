// The texts the table dialogs read: their UI texts by number and the cells of the row a check
// looks at. Every dialog and the frame read them through here, so blanks and names are judged
// the same way everywhere.
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

class TQrlStringGrid;

// UI text number of the loaded language; empty for 0 (a column without header or hint).
QString Table_Text(int number);

// A cell read as a whole number for the checks: decimal, or hexadecimal after "$" or "0x", as a
// 32-bit signed integer; anything else (blanks and the empty text included) is -1.
int32_t Table_Cell_Number(const QString &text);

// One row of a grid as a row check reads it.
class TTableRowCells
{
public:
    TTableRowCells(const TQrlStringGrid &grid, int row) : m_grid(grid), m_row(row) {}

    // The cell as it stands.
    QString Text(int col) const;
    // Without leading and trailing blanks and control characters.
    QString Trimmed(int col) const;
    bool Blank(int col) const { return Trimmed(col).isEmpty(); }
    // Table_Cell_Number of the cell.
    int32_t Number(int col) const { return Table_Cell_Number(Text(col)); }
    // The trimmed cell names value, in any letter case.
    bool Is(int col, QStringView value) const;
    bool Hidden(int col) const;

private:
    const TQrlStringGrid &m_grid;
    int m_row;
};
