// The string grid's hidden rows as a plain value: one stored row (TGridItem) per hidden row,
// with the row's real index, its height, its cells and the filter level that hid it, and the
// mappings between real rows (every row, hidden or not) and display rows (the shown ones).
//
// The store keeps its items in the order the grid put them (HideRows keeps them by index, the
// filter and HideRowsEx append). The mappings are answered from sorted copies of the indexes,
// built again only after a change, so a grid with half a million hidden rows maps a row in
// logarithmic time.
//
// Shown rows are inserted, removed and moved by display index; the stored indexes follow the
// real rows they name through linesInserted / linesRemoved / linesMoved.
#pragma once

#include "grid/model/QrlGridOptions.h"
#include "grid/model/QrlGridTypes.h"

#include <QString>

#include <memory>
#include <vector>

class THiddenRows
{
public:
    int count() const { return static_cast<int>(m_items.size()); }
    bool empty() const { return m_items.empty(); }
    TGridItem *item(int i) const { return m_items[static_cast<size_t>(i)].get(); }

    // Puts the item at store position pos (0 .. count) and owns it.
    TGridItem *insert(int pos, std::unique_ptr<TGridItem> item);
    TGridItem *append(std::unique_ptr<TGridItem> item) { return insert(count(), std::move(item)); }
    std::unique_ptr<TGridItem> take(int pos);
    // Frees the items hidden at filter level level.
    void dropLevel(int level);
    // Every item in store order; the store is left empty.
    std::vector<std::unique_ptr<TGridItem>> takeAll();
    // Frees every item; what their object entries point to belongs to the caller.
    void clear();

    // The first item whose index is real, or null.
    TGridItem *find(int real) const;
    int positionOf(int real) const;
    bool isHidden(int real) const { return find(real) != nullptr; }
    // Items whose index lies below real (every item counts, repeated indexes too).
    int countBelow(int real) const;
    // Display index of real row real; for a hidden row the display index of the next shown one.
    int realToDispl(int real) const { return real - countBelow(real); }
    // Real index of display row displ: the shown row before which displ shown rows lie; -1 for a
    // negative displ.
    int displToReal(int displ) const;

    // Rows only; column operations leave the store alone.
    // The shown rows at display at .. at + count - 1 became count new rows: they go right before
    // the shown row that was at display at (past the end: after every row), hidden rows before
    // it keep their place.
    void linesInserted(TGridAxis axis, int displAt, int count);
    // The shown rows at display at .. at + count - 1 left; hidden rows among them stay.
    void linesRemoved(TGridAxis axis, int displAt, int count);
    // The shown rows from .. from + count - 1 were taken out and put back so that the first of
    // them is display row to (counted after taking them out).
    void linesMoved(TGridAxis axis, int from, int to, int count);

    // Empty when the sorted copies agree with the items; otherwise a description of the fault.
    QString checkInvariants() const;

private:
    void changed() { m_dirty = true; }
    void rebuild() const;
    // Indexes after the shown rows were taken out.
    void removeReals(const std::vector<int> &reals);
    void insertReals(int realAt, int count);

    std::vector<std::unique_ptr<TGridItem>> m_items;
    // Sorted copies: every index, and the distinct ones.
    mutable std::vector<int> m_sorted;
    mutable std::vector<int> m_unique;
    // Store position of the first item of each distinct index.
    mutable std::vector<int> m_firstPos;
    mutable bool m_dirty = false;
};
