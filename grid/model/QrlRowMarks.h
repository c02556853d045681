// The string grid's marks on lines and cells as a plain value: the row and column selection
// flags of disjunct selection with the rows in the order they were selected, the list of
// selected cells, and the per-row modified and disabled marks.
//
// A flag list behaves as a list that grows on demand with unset entries and never shrinks; its
// length is kept as a number (reading or naming a far row allocates nothing), the flags only
// as far as the last one set. Cells are kept as coordinates, not packed into one integer, so
// rows past 65535 keep their place.
//
// Every line operation of the grid reaches this class through linesInserted / linesRemoved /
// linesMoved, written once over an axis, so the marks stay on their lines.
#pragma once

#include "grid/model/QrlGridTypes.h"
#include "platform/grid/GridTypes.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

class TRowMarks
{
public:
    // ---- row selection flags and the selection order ----------------------------------------
    // Length of the flag list: rows below it have an entry (set or not).
    int rowListLength() const { return m_rowLength; }
    // The list reaches row (entries added unset).
    void extendRowList(int row);
    bool rowSelected(int row) const;
    // Sets the flag (extending the list); with listIt the row is added to the selection order
    // unless it is there. True when the flag changed.
    bool selectRow(int row, bool listIt);
    // Clears the flag and takes the row out of the selection order. True when the flag changed.
    bool unselectRow(int row);
    // Set flags among the rows 0 .. limit - 1.
    int rowSelectCount(int limit) const;
    // The rows whose flag is set, ascending.
    std::vector<int> flaggedRows() const;
    void clearRowSelect();
    // The selection order: rows in the order they were selected, without duplicates.
    int selectedRowCount() const { return m_liveRows; }
    // -1 outside the list.
    int selectedRow(int i) const;
    std::vector<int> selectedRows() const;

    // ---- column selection flags -------------------------------------------------------------
    int colListLength() const { return m_colLength; }
    void extendColList(int col);
    bool colSelected(int col) const;
    // True when the flag changed.
    bool setColSelected(int col, bool value);
    int colSelectCount() const { return m_colCount; }
    std::vector<int> flaggedCols() const;
    void clearColSelect();

    // ---- selected cells ---------------------------------------------------------------------
    int cellCount() const;
    // std::out_of_range outside 0 .. cellCount() - 1.
    plat::TGridCoord cellAt(int i) const;
    bool cellSelected(int col, int row) const;
    // Adds (at the end) or removes the cell. True when the list changed.
    bool setCellSelected(int col, int row, bool value);
    // The list becomes every cell of the rectangle, column by column and top to bottom within
    // a column. It is kept as the rectangle until something changes it, so a large selection
    // costs nothing to count.
    void setCellsFromRect(const plat::TGridRect &r);
    void clearCells();

    // ---- modified and disabled rows ---------------------------------------------------------
    bool rowModified(int row) const;
    void setRowModified(int row, bool value);
    int modifiedRowCount() const { return m_modifiedCount; }
    void clearModifiedRows();
    bool rowEnabled(int row) const;
    void setRowEnabled(int row, bool value);
    // Becomes true with the first setRowEnabled. The marks follow their rows either way.
    bool usesEnabledRows() const { return m_useEnabledRows; }
    void setUseEnabledRows(bool value) { m_useEnabledRows = value; }

    // ---- line operations --------------------------------------------------------------------
    // The parts may be kept in different line numberings (display rows for cells, real rows
    // for the row states, either for the flags), so a caller can pass each its own index.
    enum Part : unsigned {
        Flags = 1,     // row or column selection flags and the selection order
        Cells = 2,     // the selected cells
        RowStates = 4, // modified and disabled rows (rows only)
        AllParts = 7
    };
    // count lines were inserted before line `at`: marks from `at` on move by count.
    void linesInserted(TGridAxis axis, int at, int count, unsigned parts = AllParts);
    // Lines at .. at + count - 1 were removed with their marks; the marks after them move up.
    void linesRemoved(TGridAxis axis, int at, int count, unsigned parts = AllParts);
    // The count lines from `from` on were taken out and put back so that the first of them is
    // now line `to` (to is a position after the removal, 0 .. lines - count).
    void linesMoved(TGridAxis axis, int from, int to, int count = 1, unsigned parts = AllParts);

    void clear();

    // Empty when the lists agree with each other and their counts; otherwise the first fault.
    QString checkInvariants() const;

private:
    struct CellHash
    {
        size_t operator()(std::uint64_t k) const { return std::hash<std::uint64_t>()(k); }
    };
    static std::uint64_t cellKey(int col, int row)
    {
        return (std::uint64_t(std::uint32_t(col)) << 32) | std::uint32_t(row);
    }

    void compactOrder() const;
    void materializeCells();
    template <typename Map>
    void remapLines(TGridAxis axis, unsigned parts, int lo, int hi, int shift, Map &&map);

    // rows: bit Flagged set when selected, bit Listed too when in the selection order (bit Seen
    // only while the order is compacted). The marks move with their lines as bytes.
    enum : std::uint8_t { Flagged = 1, Listed = 2, Seen = 4 };
    mutable std::vector<std::uint8_t> m_rowFlags;
    int m_rowLength = 0;
    int m_rowCount = 0;
    // Selection order with lazily dropped entries: a listed row's entry is its last one; entries
    // of rows no longer listed, and -1 for removed rows, wait for the next compaction. So a line
    // operation renumbers the entries in one pass and keeps no table by row.
    mutable std::vector<int> m_order;
    int m_liveRows = 0;

    // columns
    std::vector<std::uint8_t> m_colFlags;
    int m_colLength = 0;
    int m_colCount = 0;

    // cells: either the explicit list or a rectangle standing for it
    std::vector<plat::TGridCoord> m_cells;
    std::unordered_set<std::uint64_t, CellHash> m_cellSet;
    std::optional<plat::TGridRect> m_cellRect;

    // row marks
    std::vector<std::uint8_t> m_modified;
    int m_modifiedCount = 0;
    std::vector<std::uint8_t> m_disabled;
    bool m_useEnabledRows = false;
};
