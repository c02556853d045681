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
#include <utility>
#include <vector>

namespace plat {

class TCellStore
{
    struct RowBlock;

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
    // Rows from .. from + count - 1 move as one block so that the first lands at `to`; the rows
    // between shift by count. The same as count single moves, at the cost of one shift.
    void MoveRows(int from, int count, int to);
    // Rows a and b trade texts and objects (two pointers change place).
    void SwapRows(int a, int b);
    // Forgets a row's or a column's texts and objects (objects are not freed).
    void ClearRow(int row);
    void ClearCol(int col);
    // Forgets rows row .. row + count - 1 (objects are not freed).
    void ClearRows(int row, int count);
    // Forgets the texts and objects of columns col1 .. col2 in rows row1 .. row2 (objects are
    // not freed); a row left without cells gives its block back. Rows with nothing stored cost
    // nothing, so clearing a sparse range is cheap.
    void ClearRect(int col1, int row1, int col2, int row2);
    // Calls fn(col, object) for each cell of the row that holds an object, left to right.
    template <class Fn> void ForEachObject(int row, Fn fn) const
    {
        std::vector<std::pair<int, void *>> found;
        rowObjects(row, found);
        for (const auto &[col, object] : found)
            fn(col, object);
    }

    // A row taken out of the store with its texts and objects, owning its storage; freeing it
    // forgets the row (objects are not freed). Reads give what the row held when taken.
    class TRow
    {
    public:
        TRow() = default;
        ~TRow();
        TRow(TRow &&other) noexcept;
        TRow &operator=(TRow &&other) noexcept;
        TRow(const TRow &) = delete;
        TRow &operator=(const TRow &) = delete;

        bool IsEmpty() const { return m_block == nullptr; }
        QString Text(int col) const;
        void *Object(int col) const;
        // One past the last column with a text or an object; 0 for an empty row.
        int ColumnEnd() const;

    private:
        friend class TCellStore;
        explicit TRow(RowBlock *block) : m_block(block) {}
        RowBlock *m_block = nullptr;
    };
    // Takes the row out, leaving it empty; cheap (one slot changes).
    TRow TakeRow(int row);
    // Puts a taken row back at `row`, replacing what is stored there (objects there are not
    // freed). An empty row empties the slot.
    void PutRow(int row, TRow &&taken);
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
    struct Chunk;

    static constexpr int ChunkBits = 12;
    static constexpr int ChunkSize = 1 << ChunkBits;

    RowBlock *rowAt(int row) const;
    RowBlock *&rowSlotForWrite(int row);
    void setRow(int row, RowBlock *block);
    void freeRow(RowBlock *block);
    void shiftRowsLeft(int from, int to);
    // The row slots of [lo, hi) rotate so that slot lo + k comes first.
    void rotateRows(int lo, int k, int hi);
    void rowObjects(int row, std::vector<std::pair<int, void *>> &out) const;
    static void freeBlock(RowBlock *block);
    static size_t heapBytes(const RowBlock *block);
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
