// The order a sort puts a range of rows in, worked out while the rows stay where they are.
//
// SortOrderReference is the plain stable merge sort over row compares: it holds for every
// style and compare handler. SortOrderCompact gives the same order with one compact value per
// row (a number, a date, a time or a text's first code units beside the row number, 12 bytes)
// where every pair of the column's cells compares the same way; rows that tie are ordered by
// the next column the same way, only those rows and only when they tie, so no key is built for
// the rows of a tie column that never tie.
#pragma once

#include "grid/model/QrlGridOptions.h"

#include <cstddef>
#include <utility>
#include <vector>

class ISortCompareSource;
class TSortCompare;

// One sort: by column Col (ties to the columns on its right with Full) or by the sort-index
// list (ties to the entries after the first with Full), over rows Left .. Right.
struct TSortRequest
{
    bool indexed = false;
    int col = 0; // the sort column; the column of the first entry of an indexed sort
    TSortDirection direction = TSortDirection::sdAscending;
    int left = 0;
    int right = -1;
};

// order[i] is the row that belongs at Left + i.
std::vector<int>
SortOrderReference(TSortCompare &Compare, ISortCompareSource &Source, const TSortRequest &Req);
// False (and Order untouched) where the sort column's cells have no compact order or a column
// that could break ties fires a compare handler; the caller takes another path then.
bool SortOrderCompact(TSortCompare &Compare,
                      ISortCompareSource &Source,
                      const TSortRequest &Req,
                      std::vector<int> &Order);

// Stable: an element is taken from the right run only when the left one belongs after it.
// Every index stays in its run whatever `after` answers, so an inconsistent compare handler
// cannot make it read out of bounds. The buffer holds half the elements.
namespace sortorder_detail {
template <typename T, typename After>
void insertionSort(std::vector<T> &v, size_t lo, size_t hi, const After &after)
{
    for (size_t i = lo + 1; i < hi; ++i) {
        T x = std::move(v[i]);
        size_t j = i;
        while (j > lo && after(v[j - 1], x)) {
            v[j] = std::move(v[j - 1]);
            --j;
        }
        v[j] = std::move(x);
    }
}

template <typename T, typename After>
void mergeSort(std::vector<T> &v, std::vector<T> &buf, size_t lo, size_t hi, const After &after)
{
    if (hi - lo <= 12) {
        insertionSort(v, lo, hi, after);
        return;
    }
    const size_t mid = lo + (hi - lo) / 2;
    mergeSort(v, buf, lo, mid, after);
    mergeSort(v, buf, mid, hi, after);
    if (!after(v[mid - 1], v[mid]))
        return; // already in order
    std::move(v.begin() + std::ptrdiff_t(lo), v.begin() + std::ptrdiff_t(mid), buf.begin());
    size_t i = 0, j = mid, k = lo;
    const size_t left = mid - lo;
    while (i < left && j < hi)
        v[k++] = after(buf[i], v[j]) ? std::move(v[j++]) : std::move(buf[i++]);
    while (i < left)
        v[k++] = std::move(buf[i++]);
}
} // namespace sortorder_detail

template <typename T, typename After> void StableSortBy(std::vector<T> &v, const After &after)
{
    std::vector<T> buf((v.size() + 1) / 2);
    sortorder_detail::mergeSort(v, buf, 0, v.size(), after);
}
