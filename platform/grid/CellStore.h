// The texts and object slots of a grid's cells, stored by row.
//
// Rows are found through a chunked index: a chunk of row pointers exists only where a row was
// written, so one cell at row 16,000,000 costs a few kilobytes, not a pointer per row above it.
// Each row is one compact block: a sorted list of (column, end offset) entries followed by the
// texts packed back to back, Latin-1 bytes where the text allows it and UTF-16 otherwise. Only
// cells with a text or an object have an entry, so far columns cost no more than near ones.
// A row's object slots are allocated only once one of them is set.
//
// Moving a row moves one pointer; the row's texts stay where they are. Every write touches one
// row block only, never the row index as a whole.
//
// The store is independent of the grid's counts: cells beyond the shown columns and rows keep
// their values (hidden columns live there). Indices run from 0 to MaxIndex - 1; writes outside
// that range are ignored and reads there give the empty text and a null object.
#pragma once

#include <QAnyStringView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {

class TCellStore
{
public:
    static constexpr int MaxIndex = 1 << 24;

    TCellStore();
    ~TCellStore();
    TCellStore(const TCellStore &) = delete;
    TCellStore &operator=(const TCellStore &) = delete;

    // Reads outside the stored area give the empty text and a null object.
    QString Text(int col, int row) const;
    // The text without a copy, Latin-1 or UTF-16 as stored (for comparisons while sorting);
    // valid until the next write to the store.
    QAnyStringView TextView(int col, int row) const;
    void SetText(int col, int row, const QString &text);
    void *Object(int col, int row) const;
    void SetObject(int col, int row, void *object);

    // Row `from` takes position `to`; the rows between shift by one (texts and objects).
    void MoveRow(int from, int to);
    // The same for a column, in every stored row.
    void MoveCol(int from, int to);
    // Rows a and b trade texts and objects (two pointers change place).
    void SwapRows(int a, int b);
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
    // Bytes the store holds on the heap: the row index, the row blocks and the object slots
    // (allocator overhead not counted).
    size_t MemoryUsage() const;
    // Empty when the layout is consistent, otherwise what is wrong (for tests).
    std::string checkInvariants() const;

private:
    struct RowBlock;
    struct Chunk;

    static constexpr int ChunkBits = 12;
    static constexpr int ChunkSize = 1 << ChunkBits;

    RowBlock *rowAt(int row) const;
    RowBlock *&rowSlotForWrite(int row);
    void setRow(int row, RowBlock *block);
    void freeRow(RowBlock *block);
    void shiftRowsLeft(int from, int to);
    void shiftRowsRight(int to, int from);
    void trimIndex();
    // Writes text and object of one cell; removes the entry when both are empty.
    void writeCell(int col, int row, const QString *text, void *const *object);

    std::vector<std::unique_ptr<Chunk>> m_chunks;
    int m_rowCount = 0; // rows with a block
    size_t m_blockBytes = 0;
    // Room a new row starts with, learnt from the row created before it, so that filling a
    // table row by row allocates each row once and at its size.
    uint32_t m_entryHint = 4;
    uint32_t m_byteHint = 32;
    int m_lastNewRow = -1;
};

} // namespace plat
