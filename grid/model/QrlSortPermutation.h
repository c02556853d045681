// The sort cross-reference of the string grid as a plain value: for every row position the
// position its row held when the list was last initialised ("origin"), and the inverse map, so
// that both "where did this row come from" and "where is that row now" are O(1) and unsort can
// put every row back.
//
// Empty until init(), and a list never initialised follows no line operation. Once initialised,
// every line operation of the grid reaches it through linesInserted / linesRemoved / linesMoved
// (rows only; column operations leave it alone), so the origins stay 0 .. count - 1 and unsort
// stays right after rows were added, removed or moved between sorts.
//
// An identity list (just made, or unsorted) keeps no maps, only its count: inserting and
// removing rows then costs nothing, and the maps come into being with the first reorder.
#pragma once

#include "grid/model/QrlGridTypes.h"

#include <QString>

#include <utility>
#include <vector>

class TSortPermutation
{
public:
    // 0, 1, ..., count - 1. A negative count throws std::out_of_range.
    void init(int count);
    // Back to the never-initialised state.
    void clear();

    int count() const { return m_identity ? m_identityCount : static_cast<int>(m_origin.size()); }
    bool isEmpty() const { return count() == 0; }
    bool isInitialised() const { return m_initialised; }
    bool isIdentity() const;

    // Where the row now at pos stood when the list was made; -1 outside the list.
    int originAt(int pos) const;
    // Where the row that stood at origin is now; -1 outside the list.
    int positionOf(int origin) const;
    const std::vector<int> &origins() const
    {
        materialise();
        return m_origin;
    }

    // The row exchange of a sort. Nothing happens (false) when either row lies outside the list,
    // as the scratch rows of a partition sort do.
    bool swapRows(int row1, int row2);
    // A sort as one reorder: the row now at order[i] goes to position i. order must be a
    // permutation of 0 .. count - 1, else std::invalid_argument and nothing changes.
    void apply(const std::vector<int> &order);
    // Unsort: the list becomes 0, 1, ... and the reorder that puts the rows back is returned, in
    // the form apply() takes.
    std::vector<int> unsort();
    // The same as a sequence of row exchanges (at most count - 1), each to be made through the
    // grid's row exchange, which calls swapRows: afterwards the list is 0, 1, ...
    std::vector<std::pair<int, int>> unsortSwaps() const;
    // Drops the maps of a list that is back in its original order (after unsortSwaps were
    // made), so line operations on it cost nothing until the next reorder.
    void settle();
    // The rows at left .. left + order.size() - 1 were put in a new order in one go: the row
    // now at left + i stood at order[i], which must lie in the same range (else
    // std::invalid_argument and nothing changes). Other rows keep their places.
    void applyRange(int left, const std::vector<int> &order);
    // While held, swapRows changes nothing: for a caller that moves rows through the grid's
    // row exchange but has set the list for the whole move itself (applyRange, unsort).
    void holdSwaps(bool hold) { m_swapsHeld = hold; }

    // count rows were inserted before row `at` (0 .. count()). In the original order they stand
    // right after the row now before them (first when at is 0). Out-of-range arguments throw
    // std::out_of_range.
    void linesInserted(TGridAxis axis, int at, int count);
    // Rows at .. at + count - 1 were removed; the origins of the rows left close up.
    void linesRemoved(TGridAxis axis, int at, int count);
    // Row `from` was taken out and put back so that it is now row `to`; it keeps its origin.
    void linesMoved(TGridAxis axis, int from, int to);

    // Empty when the two maps are the same size and inverse to each other; otherwise a
    // description of the first fault found.
    QString checkInvariants() const;

private:
    void reindex(int first, int last);
    // Writes out the maps of an identity list kept as a count.
    void materialise() const;

    // Both maps are empty while m_identity holds: the list is 0 .. m_identityCount - 1.
    mutable std::vector<int> m_origin;   // position -> origin
    mutable std::vector<int> m_position; // origin -> position
    mutable bool m_identity = false;
    int m_identityCount = 0;
    bool m_initialised = false;
    bool m_swapsHeld = false;
};
