// Merged cells of the base grid as a plain value: rectangles of cells ("areas") that act as one,
// with the top-left cell as base. Areas never overlap; merging over existing areas removes them.
//
// The grid asks for the area of a cell on every cell read, so lookups go through a per-column
// index (binary search of the column, then of the base rows): the areas that cover one column
// never share a row, so the last base row at or above a cell is the only candidate. Rows are the
// long axis (up to millions), so an area costs index entries per column, never per row.
// Everything is kept in sorted vectors, so rows inserted or removed shift the areas after them
// with one loop of adds over contiguous memory.
//
// Every line operation of the grid reaches this class through linesInserted / linesRemoved /
// linesMoved, written once over an axis.
#pragma once

#include "grid/model/QrlGridTypes.h"
#include "platform/grid/GridTypes.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

// One merged area: base cell (col, row) and its size in cells (both at least 1).
struct TMergedArea
{
    int col = 0;
    int row = 0;
    int width = 1;
    int height = 1;

    int lastCol() const { return col + width - 1; }
    int lastRow() const { return row + height - 1; }
    bool contains(int c, int r) const
    {
        return c >= col && c <= lastCol() && r >= row && r <= lastRow();
    }
    friend bool operator==(const TMergedArea &, const TMergedArea &) = default;
};

class TMergedSpans
{
public:
    using TAreaList = std::vector<TMergedArea>;

    // Makes the w x h rectangle with base (c, r) one area. Areas it overlaps are removed first
    // and returned, so the caller can repaint them. A 1 x 1 area is recorded too (a base cell
    // with spans 0). w or h below 1 changes nothing. A negative base or an area reaching past
    // the largest int index throws std::out_of_range. Costs O(w log n): the grid keeps areas
    // inside its columns.
    TAreaList merge(int c, int r, int w, int h);
    // Removes the area covering the cell and returns it; none when the cell is not covered.
    std::optional<TMergedArea> split(int c, int r);
    void clear();

    int count() const { return static_cast<int>(m_areas.size()); }
    // Ordered by base row, then base column.
    TAreaList areas() const;
    // The areas covering any of the lines first .. last of the axis, in the order of areas().
    TAreaList areasOnLines(TGridAxis axis, int first, int last) const;
    std::optional<TMergedArea> areaAt(int c, int r) const;

    // The grid's merge queries; "merged" means covered by a recorded area.
    plat::TGridCoord baseCell(int c, int r) const;
    // True with the cell itself when it is not covered or is a base; otherwise false with its
    // base cell.
    bool findBaseCell(int c, int r, int &baseCol, int &baseRow) const;
    bool isBaseCell(int c, int r) const;
    // Covered by an area of more than one cell (a 1 x 1 area does not count).
    bool isMergedCell(int c, int r) const;
    bool isMergedNonBaseCell(int c, int r) const;
    bool isXMerged(int c, int r) const;
    bool isYMerged(int c, int r) const;
    // The area's extra columns and rows (width - 1, height - 1); (0, 0) when not covered.
    plat::TGridCoord cellSpan(int c, int r) const;
    // Distance from the cell to the area's last cell; (0, 0) when not covered.
    plat::TGridCoord cellExt(int c, int r) const;
    // Base cell to the area's last cell, inclusive; the cell itself when not covered.
    plat::TGridRect fullCell(int c, int r) const;

    // What a cell's CellSpanX / CellSpanY properties show: -1 when not covered, the base's
    // (width - 1, height - 1), or the offset of another cell from its base. IsBaseCell is
    // isBaseCell().
    int spansX(int c, int r) const;
    int spansY(int c, int r) const;

    // Over the columns 0 .. colCount - 1: the smallest vertical span above 0 in the row
    // (rowCount when there is none), the largest (0 when there is none).
    int minRowSpan(int row, int colCount, int rowCount) const;
    int maxRowSpan(int row, int colCount) const;
    // Every column where both rows are vertically merged has the same base row in both, and
    // there is at least one such column.
    bool rowSpanIdentical(int row1, int row2, int colCount) const;
    // For every row 0 .. rowCount - 1 the two columns are horizontally merged into the same
    // area or have equal horizontal spans, and at least one row merges both.
    bool colSpanIdentical(int col1, int col2, int rowCount) const;

    // count lines were inserted before line `at`. Areas from `at` on move by count; an area the
    // insertion cuts through (at in (first line, last line]) grows by count, since cells
    // inserted inside a merged area belong to it. Returns the areas dropped because they would
    // pass the largest int index (none in a real grid).
    TAreaList linesInserted(TGridAxis axis, int at, int count);
    // Lines at .. at + count - 1 were removed: areas wholly inside vanish and are returned
    // (in their old place), areas partly inside shrink (down to one line, still recorded),
    // areas after them move up.
    TAreaList linesRemoved(TGridAxis axis, int at, int count);
    // Line `from` was taken out and put back so that it is now line `to`. An area keeps its
    // size and follows its lines when they stay together (a one-line area moves with its line,
    // a move inside an area leaves it in place); an area the move tears apart is removed and
    // returned in its old place.
    TAreaList linesMoved(TGridAxis axis, int from, int to);

    // Rows a and b traded places (a sort's row exchange): one-row areas go with their row;
    // every area of more rows that either row belongs to is torn apart, removed and returned.
    // Costs O(c log n) for the c columns that hold areas, and moving the areas of the two rows
    // within their sorted lists.
    TAreaList rowsSwapped(int a, int b);
    // Empty when the areas are well formed, never overlap and the index matches them exactly;
    // otherwise a description of the first fault found.
    QString checkInvariants() const;

private:
    struct TColumn
    {
        int col;
        std::vector<TMergedArea> areas; // the areas covering the column, by base row
    };

    const TMergedArea *find(int c, int r) const;
    std::vector<TColumn>::iterator columnAt(int c);
    std::vector<TColumn>::const_iterator columnAt(int c) const;
    void add(const TMergedArea &area);
    void remove(const TMergedArea &area);
    template <typename Reshape> TAreaList reshapeAll(Reshape &&reshape);
    // Rows: the areas in `hit` leave, every area from base row `from` on moves by shift, and
    // each of `hit` comes back reshaped (or is dropped and returned). False when a shifted area
    // would pass the largest index; nothing has changed then.
    template <typename Reshape>
    bool
    shiftRows(int from, int shift, const TAreaList &hit, Reshape &&reshape, TAreaList &dropped);

    // every area, by base row, then base column
    std::vector<TMergedArea> m_areas;
    // by column, only columns some area covers
    std::vector<TColumn> m_columns;
};
