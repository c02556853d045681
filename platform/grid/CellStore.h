// The texts and object slots of a grid's cells, stored by row. A row that was never written
// costs one null pointer, and a row's object slots exist only once one of them was set, so a
// million mostly empty rows stay cheap. The store is independent of the grid's counts: cells
// beyond the shown columns and rows keep their values (hidden columns live there).
#pragma once

#include <QString>

#include <memory>
#include <vector>

namespace plat {

class TCellStore
{
public:
    // Reads outside the stored area give the empty text and a null object.
    QString Text(int col, int row) const;
    void SetText(int col, int row, const QString &text);
    void *Object(int col, int row) const;
    void SetObject(int col, int row, void *object);

    // Row `from` takes position `to`; the rows between shift by one (texts and objects).
    void MoveRow(int from, int to);
    // The same for a column, in every stored row.
    void MoveCol(int from, int to);
    // Forgets a row's or a column's texts and objects (objects are not freed).
    void ClearRow(int row);
    void ClearCol(int col);
    // Forgets and frees every row from `row` on / every column from `col` on (objects are not
    // freed), so a later growth shows empty cells there.
    void DropRowsFrom(int row);
    void DropColsFrom(int col);
    void Clear();

    // Rows that have storage behind them (for tests and diagnostics).
    int AllocatedRows() const;

private:
    struct Row
    {
        std::vector<QString> texts;
        std::vector<void *> objects; // empty until an object is set in the row
    };
    const Row *rowAt(int row) const;
    Row &rowForWrite(int row);

    std::vector<std::unique_ptr<Row>> m_rows;
};

} // namespace plat
