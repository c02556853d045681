// The sizes of a grid's columns or rows: one default size, per-line overrides and the width of
// the grid line that follows each line. Offsets and hit tests stay logarithmic with a million
// lines, so painting and mouse mapping do not walk the lines.
#pragma once

#include <QtGlobal>

#include <vector>

namespace plat {

class TLineSizes
{
public:
    explicit TLineSizes(int defaultSize = 24, int count = 0);

    int Count() const { return m_count; }
    // New lines take the default size; lines past the new count are forgotten.
    void SetCount(int count);

    int DefaultSize() const { return m_default; }
    // Every line goes back to the new default.
    void SetDefaultSize(int size);

    // Pixels of grid line after every line.
    int LineWidth() const { return m_lineWidth; }
    void SetLineWidth(int width);

    // Size of line i without its grid line; 0 <= i < Count (checked by the caller).
    int Size(int i) const { return m_sizes.empty() ? m_default : m_sizes[i]; }
    // Negative sizes count as 0.
    void SetSize(int i, int size);
    // True while no line differs from the default.
    bool IsUniform() const { return m_sizes.empty(); }

    // Size plus grid line, in 64 bits: both may be as large as INT_MAX.
    qint64 Extent(int i) const { return static_cast<qint64>(Size(i)) + m_lineWidth; }
    // Start of line i (0 <= i <= Count): the extents of lines 0 .. i - 1.
    qint64 Offset(int i) const;
    qint64 Total() const { return Offset(m_count); }
    // The line whose extent holds pos (pos counted from the start of line 0); -1 when pos is
    // negative or at/after Total().
    int IndexAt(qint64 pos) const;
    // The first line starting at or after pos; Count when none.
    int FirstAtOrAfter(qint64 pos) const;

    // Line `from` takes position `to`; the lines between shift by one.
    void Move(int from, int to);
    // Lines from .. from + count - 1 move as one block so that the first lands at `to`.
    void Move(int from, int count, int to);

    // Changes with every change of count, sizes or line width, and is unique across all
    // instances, so equal values mean equal offsets (for caches of derived geometry).
    quint64 Generation() const { return m_generation; }

private:
    void changed();
    void makeDense();
    void rebuild() const;
    int searchPrefix(qint64 pos, bool strict) const;

    int m_count = 0;
    int m_default = 24;
    int m_lineWidth = 0;
    std::vector<int> m_sizes; // empty while every line has the default size
    // Fenwick tree over the extents; valid while !m_dirty.
    mutable std::vector<qint64> m_tree;
    mutable bool m_dirty = true;
    quint64 m_generation = 0;
};

} // namespace plat
