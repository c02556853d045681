// The string grid's hidden columns as a plain value: which real columns are hidden, the width
// each real column had (a hidden one gets it back when shown), and the mappings between real
// columns (every column, hidden or not) and display columns (the shown ones).
//
// Unlike a hidden row, a hidden column keeps its cells in the store under its real index, so
// only the flags and widths live here. They are kept in a fixed table of TableSize real
// columns: columns past it can never be hidden and map to themselves.
//
// The flags and widths travel with the real column they belong to through linesInserted /
// linesRemoved / linesMoved (columns only; row operations leave them alone).
#pragma once

#include "grid/model/QrlGridTypes.h"

#include <QString>

#include <array>
#include <cstdint>

class THiddenColumns
{
public:
    // Real columns 0 .. TableSize - 1 can be hidden.
    static constexpr int TableSize = 512;

    int count() const { return m_count; }
    bool empty() const { return m_count == 0; }
    bool isHidden(int real) const { return inTable(real) && !m_shown[index(real)]; }

    // Hides a shown column of the table and records width for it; false when it cannot be.
    bool hide(int real, int width);
    // Shows a hidden column again; false when it was not hidden. Its width is width(real).
    bool show(int real);

    // The width recorded for a real column; 0 outside the table. Recorded widths are 16-bit.
    int width(int real) const { return inTable(real) ? m_widths[index(real)] : 0; }
    void setWidth(int real, int width)
    {
        if (inTable(real))
            m_widths[index(real)] = static_cast<std::int16_t>(width);
    }

    // Display index of a real column: the hidden columns before it are not counted.
    int realToDispl(int real) const;
    // Real index of a display column; inside the table a display column with no shown real
    // column of the table reads 0.
    int displToReal(int displ) const;

    // count columns were inserted before real column at: the flags and widths from there on
    // move up (those pushed past the table are dropped), the new columns are shown.
    void linesInserted(TGridAxis axis, int at, int count);
    // Real columns at .. at + count - 1 were removed: the flags and widths after them close up,
    // the table's end fills with shown columns.
    void linesRemoved(TGridAxis axis, int at, int count);
    // Real column from was taken out and put back so that it is now column to.
    void linesMoved(TGridAxis axis, int from, int to);

    // Empty when the count agrees with the flags; otherwise a description of the fault.
    QString checkInvariants() const;

private:
    static bool inTable(int real) { return real >= 0 && real < TableSize; }
    static std::size_t index(int real) { return static_cast<std::size_t>(real); }
    void recount();

    std::array<bool, TableSize> m_shown = [] {
        std::array<bool, TableSize> a{};
        a.fill(true);
        return a;
    }();
    std::array<std::int16_t, TableSize> m_widths{};
    int m_count = 0;
};
