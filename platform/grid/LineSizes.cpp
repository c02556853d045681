#include "platform/grid/LineSizes.h"

#include <algorithm>
#include <atomic>

namespace plat {

namespace {

std::atomic<quint64> s_generations{0};

} // namespace

TLineSizes::TLineSizes(int defaultSize, int count)
    : m_count(std::max(0, count)), m_default(std::max(0, defaultSize))
{
    changed();
}

void TLineSizes::changed()
{
    m_generation = s_generations.fetch_add(1, std::memory_order_relaxed) + 1;
}

void TLineSizes::SetCount(int count)
{
    count = std::max(0, count);
    if (count == m_count)
        return;
    const int oldCount = m_count;
    m_count = count;
    changed();
    if (m_sizes.empty())
        return;
    m_sizes.resize(static_cast<size_t>(count), m_default);
    if (m_dirty)
        return;
    // Keep the tree in step rather than rebuilding it, so rows added one at a time stay cheap:
    // a shorter prefix of the tree is still valid, and each new node sums its own range.
    m_tree.resize(static_cast<size_t>(count) + 1);
    for (size_t k = static_cast<size_t>(oldCount) + 1; k <= static_cast<size_t>(count); ++k) {
        qint64 sum = static_cast<qint64>(m_sizes[k - 1]) + m_lineWidth;
        const size_t low = k - (k & (~k + 1));
        for (size_t j = k - 1; j > low; j -= j & (~j + 1))
            sum += m_tree[j];
        m_tree[k] = sum;
    }
}

void TLineSizes::SetDefaultSize(int size)
{
    m_default = std::max(0, size);
    changed();
    m_sizes.clear();
    m_tree.clear();
    m_dirty = true;
}

void TLineSizes::SetLineWidth(int width)
{
    width = std::max(0, width);
    if (width == m_lineWidth)
        return;
    m_lineWidth = width;
    changed();
    m_dirty = true;
}

void TLineSizes::makeDense()
{
    m_sizes.assign(static_cast<size_t>(m_count), m_default);
    m_dirty = true;
}

void TLineSizes::SetSize(int i, int size)
{
    size = std::max(0, size);
    if (m_sizes.empty()) {
        if (size == m_default)
            return;
        makeDense();
    }
    const int old = m_sizes[static_cast<size_t>(i)];
    if (old == size)
        return;
    m_sizes[static_cast<size_t>(i)] = size;
    changed();
    if (m_dirty)
        return;
    // Point update of the tree.
    const qint64 delta = static_cast<qint64>(size) - old;
    for (size_t k = static_cast<size_t>(i) + 1; k < m_tree.size(); k += k & (~k + 1))
        m_tree[k] += delta;
}

void TLineSizes::rebuild() const
{
    m_tree.assign(static_cast<size_t>(m_count) + 1, 0);
    for (size_t k = 1; k < m_tree.size(); ++k) {
        m_tree[k] += static_cast<qint64>(m_sizes[k - 1]) + m_lineWidth;
        const size_t parent = k + (k & (~k + 1));
        if (parent < m_tree.size())
            m_tree[parent] += m_tree[k];
    }
    m_dirty = false;
}

qint64 TLineSizes::Offset(int i) const
{
    i = std::clamp(i, 0, m_count);
    if (m_sizes.empty())
        return static_cast<qint64>(i) * (static_cast<qint64>(m_default) + m_lineWidth);
    if (m_dirty)
        rebuild();
    qint64 sum = 0;
    for (size_t k = static_cast<size_t>(i); k > 0; k -= k & (~k + 1))
        sum += m_tree[k];
    return sum;
}

int TLineSizes::searchPrefix(qint64 pos, bool strict) const
{
    // Largest idx in [0, Count] whose offset is <= pos (< pos when strict); offsets never
    // decrease, so this is a descent over the tree.
    if (m_sizes.empty()) {
        const qint64 e = static_cast<qint64>(m_default) + m_lineWidth;
        if (e == 0)
            return (strict ? pos > 0 : pos >= 0) ? m_count : -1;
        qint64 idx = strict ? (pos + e - 1) / e - 1 : pos / e;
        if (pos < 0)
            idx = -1;
        return static_cast<int>(std::min<qint64>(idx, m_count));
    }
    if (strict ? pos <= 0 : pos < 0)
        return -1;
    if (m_dirty)
        rebuild();
    size_t idx = 0;
    size_t step = 1;
    while (step * 2 <= static_cast<size_t>(m_count))
        step *= 2;
    qint64 rem = pos;
    for (; step > 0 && m_count > 0; step >>= 1) {
        const size_t next = idx + step;
        if (next <= static_cast<size_t>(m_count) &&
            (strict ? m_tree[next] < rem : m_tree[next] <= rem)) {
            idx = next;
            rem -= m_tree[next];
        }
    }
    return static_cast<int>(idx);
}

int TLineSizes::IndexAt(qint64 pos) const
{
    if (pos < 0 || pos >= Total())
        return -1;
    return searchPrefix(pos, false);
}

int TLineSizes::FirstAtOrAfter(qint64 pos) const
{
    if (pos <= 0)
        return 0;
    return std::min(searchPrefix(pos, true) + 1, m_count);
}

void TLineSizes::Move(int from, int to)
{
    if (from == to || m_sizes.empty())
        return;
    changed();
    auto first = m_sizes.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
    m_dirty = true;
}

void TLineSizes::Move(int from, int count, int to)
{
    if (from == to || count <= 0 || m_sizes.empty())
        return;
    changed();
    auto first = m_sizes.begin();
    if (from < to)
        std::rotate(first + from, first + from + count, first + to + count);
    else
        std::rotate(first + to, first + from, first + from + count);
    m_dirty = true;
}

} // namespace plat
