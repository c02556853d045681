#include "grid/model/QrlHiddenRows.h"

#include <algorithm>
#include <climits>

TGridItem *THiddenRows::insert(int pos, std::unique_ptr<TGridItem> item)
{
    pos = std::clamp(pos, 0, count());
    TGridItem *p = item.get();
    m_items.insert(m_items.begin() + pos, std::move(item));
    changed();
    return p;
}

std::unique_ptr<TGridItem> THiddenRows::take(int pos)
{
    std::unique_ptr<TGridItem> item = std::move(m_items[static_cast<size_t>(pos)]);
    m_items.erase(m_items.begin() + pos);
    changed();
    return item;
}

std::vector<std::unique_ptr<TGridItem>> THiddenRows::takeAll()
{
    std::vector<std::unique_ptr<TGridItem>> all = std::move(m_items);
    m_items.clear();
    changed();
    return all;
}

void THiddenRows::dropLevel(int level)
{
    std::erase_if(m_items, [level](const auto &it) { return it->Level() == level; });
    changed();
}

void THiddenRows::clear()
{
    m_items.clear();
    changed();
}

void THiddenRows::rebuild() const
{
    if (!m_dirty)
        return;
    // Pairs (index, position), so that the first item of an index is found with its position.
    std::vector<std::pair<int, int>> pairs;
    pairs.reserve(m_items.size());
    for (size_t i = 0; i < m_items.size(); ++i)
        pairs.emplace_back(m_items[i]->Idx(), static_cast<int>(i));
    std::sort(pairs.begin(), pairs.end());
    m_sorted.resize(pairs.size());
    m_firstPos.clear();
    m_unique.clear();
    for (size_t i = 0; i < pairs.size(); ++i) {
        m_sorted[i] = pairs[i].first;
        if (m_unique.empty() || m_unique.back() != pairs[i].first) {
            m_unique.push_back(pairs[i].first);
            m_firstPos.push_back(pairs[i].second);
        }
    }
    m_dirty = false;
}

int THiddenRows::positionOf(int real) const
{
    rebuild();
    const auto it = std::lower_bound(m_unique.begin(), m_unique.end(), real);
    if (it == m_unique.end() || *it != real)
        return -1;
    return m_firstPos[static_cast<size_t>(it - m_unique.begin())];
}

TGridItem *THiddenRows::find(int real) const
{
    const int pos = positionOf(real);
    return pos < 0 ? nullptr : item(pos);
}

int THiddenRows::countBelow(int real) const
{
    rebuild();
    return static_cast<int>(std::lower_bound(m_sorted.begin(), m_sorted.end(), real) -
                            m_sorted.begin());
}

int THiddenRows::displToReal(int displ) const
{
    if (displ < 0)
        return -1;
    rebuild();
    if (m_unique.empty())
        return displ;
    // shown(r): shown rows among 0 .. r; it grows by one at every shown row, so the smallest r
    // with shown(r) > displ is the shown row wanted.
    auto shown = [this](long long r) {
        const long long hidden =
            std::upper_bound(m_unique.begin(), m_unique.end(), r) - m_unique.begin();
        return r + 1 - hidden;
    };
    long long lo = displ;
    long long hi = static_cast<long long>(displ) + static_cast<long long>(m_unique.size());
    while (lo < hi) {
        const long long mid = lo + (hi - lo) / 2;
        if (shown(mid) > displ)
            hi = mid;
        else
            lo = mid + 1;
    }
    return static_cast<int>(std::min<long long>(lo, INT_MAX));
}

void THiddenRows::removeReals(const std::vector<int> &reals)
{
    // reals ascending: an index loses one for every removed row below it.
    for (auto &it : m_items) {
        const int below = static_cast<int>(std::lower_bound(reals.begin(), reals.end(), it->Idx()) -
                                           reals.begin());
        it->SetIdx(it->Idx() - below);
    }
    changed();
}

void THiddenRows::insertReals(int realAt, int count)
{
    for (auto &it : m_items)
        if (it->Idx() >= realAt)
            it->SetIdx(it->Idx() + count);
    changed();
}

void THiddenRows::linesInserted(TGridAxis axis, int displAt, int count)
{
    if (axis != TGridAxis::Rows || m_items.empty() || count <= 0)
        return;
    insertReals(displToReal(displAt), count);
}

void THiddenRows::linesRemoved(TGridAxis axis, int displAt, int count)
{
    if (axis != TGridAxis::Rows || m_items.empty() || count <= 0)
        return;
    std::vector<int> reals;
    reals.reserve(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k)
        reals.push_back(displToReal(displAt + k));
    removeReals(reals);
}

void THiddenRows::linesMoved(TGridAxis axis, int from, int to, int count)
{
    if (axis != TGridAxis::Rows || m_items.empty() || count <= 0 || from == to)
        return;
    linesRemoved(axis, from, count);
    linesInserted(axis, to, count);
}

QString THiddenRows::checkInvariants() const
{
    rebuild();
    if (m_sorted.size() != m_items.size())
        return QStringLiteral("sorted copy has the wrong size");
    std::vector<int> idx;
    for (const auto &it : m_items) {
        if (!it)
            return QStringLiteral("empty item");
        idx.push_back(it->Idx());
    }
    std::sort(idx.begin(), idx.end());
    if (idx != m_sorted)
        return QStringLiteral("sorted copy is stale");
    for (size_t i = 0; i < m_unique.size(); ++i) {
        const TGridItem *first = item(m_firstPos[i]);
        if (first->Idx() != m_unique[i])
            return QStringLiteral("position map is stale");
        for (int p = 0; p < m_firstPos[i]; ++p)
            if (item(p)->Idx() == m_unique[i])
                return QStringLiteral("position map misses the first item");
    }
    return QString();
}
