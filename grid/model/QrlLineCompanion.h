// What follows the grid's lines besides the cells: every part kept by row or column (hidden
// rows and columns, row marks, the sort cross-reference, cell controls, ...) learns of each
// line insertion, removal and move through one list of companions, so the parts never drift
// apart and a new one joins with one line where the list is filled.
#pragma once

#include "grid/model/QrlGridTypes.h"

#include <memory>
#include <vector>

// count lines were inserted at, or removed from, display line at.
struct TLineChange
{
    TGridAxis axis;
    int at;
    int count;
    // Rows: the real row of `at` as it was before the change (hidden rows counted); columns: at.
    int realAt;
    // The rows only leave or enter the view (hidden or shown again): what is kept by real row
    // stays as it is.
    bool viewOnly;
};

// The count lines from `from` on were taken out and put back so that the first of them is now
// line `to`.
struct TLineMove
{
    TGridAxis axis;
    int from;
    int to;
    int count;
};

// Where line x goes in that move.
inline int movedLine(int x, int from, int to, int count)
{
    if (x >= from && x < from + count)
        return x - from + to;
    if (to > from && x >= from + count && x < to + count)
        return x - count;
    if (to < from && x >= to && x < from)
        return x + count;
    return x;
}

// The move as single-line moves (from, to), the fewer of: the block line by line, or the lines
// it passes the other way.
template <typename Step> void forEachMoveStep(const TLineMove &m, Step step)
{
    const int passed = m.to > m.from ? m.to - m.from : m.from - m.to;
    const int steps = m.count < passed ? m.count : passed;
    for (int k = 0; k < steps; ++k) {
        if (m.to > m.from)
            m.count <= passed ? step(m.from, m.to + m.count - 1)
                              : step(m.from + m.count + k, m.from + k);
        else
            m.count <= passed ? step(m.from + k, m.to + k) : step(m.to, m.from + m.count - 1);
    }
}

class ILineCompanion
{
public:
    virtual ~ILineCompanion() = default;
    // Called after the cells moved, in the order the companions were added.
    virtual void linesInserted(const TLineChange &change) = 0;
    virtual void linesRemoved(const TLineChange &change) = 0;
    virtual void linesMoved(const TLineMove &move) = 0;
};

class TLineCompanions
{
public:
    void add(std::unique_ptr<ILineCompanion> companion) { m_list.push_back(std::move(companion)); }
    void linesInserted(const TLineChange &change) const
    {
        for (const auto &c : m_list)
            c->linesInserted(change);
    }
    void linesRemoved(const TLineChange &change) const
    {
        for (const auto &c : m_list)
            c->linesRemoved(change);
    }
    void linesMoved(const TLineMove &move) const
    {
        for (const auto &c : m_list)
            c->linesMoved(move);
    }

private:
    std::vector<std::unique_ptr<ILineCompanion>> m_list;
};
