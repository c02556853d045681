#include "grid/model/QrlSortPermutation.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <string>

namespace {

std::string describe(const char *what, int a, int b)
{
    return std::string(what) + " (" + std::to_string(a) + ", " + std::to_string(b) + ")";
}

} // namespace

void TSortPermutation::init(int count)
{
    if (count < 0)
        throw std::out_of_range(describe("sort cross-reference: bad count", count, 0));
    m_origin.clear();
    m_position.clear();
    m_identity = true;
    m_identityCount = count;
    m_initialised = true;
}

void TSortPermutation::materialise() const
{
    if (!m_identity)
        return;
    m_origin.resize(static_cast<std::size_t>(m_identityCount));
    std::iota(m_origin.begin(), m_origin.end(), 0);
    m_position = m_origin;
    m_identity = false;
}

void TSortPermutation::settle()
{
    if (m_identity || !isIdentity())
        return;
    m_identityCount = count();
    m_origin = {};
    m_position = {};
    m_identity = true;
}

void TSortPermutation::clear()
{
    m_origin.clear();
    m_position.clear();
    m_identity = false;
    m_identityCount = 0;
    m_initialised = false;
}

bool TSortPermutation::isIdentity() const
{
    if (m_identity)
        return true;
    for (int i = 0; i < count(); ++i) {
        if (m_origin[static_cast<std::size_t>(i)] != i)
            return false;
    }
    return true;
}

int TSortPermutation::originAt(int pos) const
{
    if (pos < 0 || pos >= count())
        return -1;
    return m_identity ? pos : m_origin[static_cast<std::size_t>(pos)];
}

int TSortPermutation::positionOf(int origin) const
{
    if (origin < 0 || origin >= count())
        return -1;
    return m_identity ? origin : m_position[static_cast<std::size_t>(origin)];
}

bool TSortPermutation::swapRows(int row1, int row2)
{
    if (m_swapsHeld || row1 < 0 || row2 < 0 || row1 >= count() || row2 >= count())
        return false;
    materialise();
    const auto a = static_cast<std::size_t>(row1);
    const auto b = static_cast<std::size_t>(row2);
    std::swap(m_origin[a], m_origin[b]);
    m_position[static_cast<std::size_t>(m_origin[a])] = row1;
    m_position[static_cast<std::size_t>(m_origin[b])] = row2;
    return true;
}

void TSortPermutation::apply(const std::vector<int> &order)
{
    materialise();
    if (order.size() != m_origin.size())
        throw std::invalid_argument(
            describe("sort cross-reference: order of wrong size", int(order.size()), count()));
    std::vector<bool> seen(order.size(), false);
    for (int from : order) {
        if (from < 0 || from >= count() || seen[static_cast<std::size_t>(from)])
            throw std::invalid_argument(
                describe("sort cross-reference: order is no permutation", from, count()));
        seen[static_cast<std::size_t>(from)] = true;
    }
    std::vector<int> origin(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        origin[i] = m_origin[static_cast<std::size_t>(order[i])];
    m_origin = std::move(origin);
    reindex(0, count() - 1);
}

void TSortPermutation::applyRange(int left, const std::vector<int> &order)
{
    const int n = static_cast<int>(order.size());
    if (n == 0)
        return;
    if (left < 0 || left + n > count())
        throw std::invalid_argument(
            describe("sort cross-reference: range outside the list", left, n));
    std::vector<bool> seen(order.size(), false);
    for (const int from : order) {
        if (from < left || from >= left + n || seen[static_cast<std::size_t>(from - left)])
            throw std::invalid_argument(
                describe("sort cross-reference: order is no permutation of its range", from,
                         left));
        seen[static_cast<std::size_t>(from - left)] = true;
    }
    materialise();
    const auto first = m_origin.begin() + left;
    const std::vector<int> before(first, first + n);
    for (int i = 0; i < n; ++i)
        m_origin[static_cast<std::size_t>(left + i)] =
            before[static_cast<std::size_t>(order[static_cast<std::size_t>(i)] - left)];
    reindex(left, left + n - 1);
}

std::vector<int> TSortPermutation::unsort()
{
    // Position i must receive the row whose origin is i.
    materialise();
    std::vector<int> order = std::move(m_position);
    m_identityCount = count();
    m_origin = {};
    m_position = {};
    m_identity = true;
    return order;
}

std::vector<std::pair<int, int>> TSortPermutation::unsortSwaps() const
{
    // Each exchange puts one row home for good: walk every cycle of the permutation.
    std::vector<std::pair<int, int>> swaps;
    if (m_identity)
        return swaps;
    std::vector<int> origin = m_origin;
    for (int i = 0; i < count(); ++i) {
        while (origin[static_cast<std::size_t>(i)] != i) {
            const int home = origin[static_cast<std::size_t>(i)];
            swaps.emplace_back(i, home);
            std::swap(origin[static_cast<std::size_t>(i)], origin[static_cast<std::size_t>(home)]);
        }
    }
    return swaps;
}

void TSortPermutation::linesInserted(TGridAxis axis, int at, int count)
{
    if (axis != TGridAxis::Rows || !m_initialised)
        return;
    if (at < 0 || at > this->count() || count < 0 ||
        count > std::numeric_limits<int>::max() - this->count())
        throw std::out_of_range(describe("sort cross-reference: bad insert", at, count));
    if (count == 0)
        return;
    // Rows added to the original order right after the row before them: still the identity.
    if (m_identity) {
        m_identityCount += count;
        return;
    }
    const int base = at > 0 ? m_origin[static_cast<std::size_t>(at - 1)] + 1 : 0;
    for (int &o : m_origin) {
        if (o >= base)
            o += count;
    }
    std::vector<int> added(static_cast<std::size_t>(count));
    std::iota(added.begin(), added.end(), base);
    m_origin.insert(m_origin.begin() + at, added.begin(), added.end());
    m_position.resize(m_origin.size());
    reindex(0, this->count() - 1);
}

void TSortPermutation::linesRemoved(TGridAxis axis, int at, int count)
{
    if (axis != TGridAxis::Rows || !m_initialised)
        return;
    if (at < 0 || count < 0 || at > this->count() || count > this->count() - at)
        throw std::out_of_range(describe("sort cross-reference: bad remove", at, count));
    if (count == 0)
        return;
    if (m_identity) {
        m_identityCount -= count;
        return;
    }
    // shift[o] = how many removed origins lie below o.
    std::vector<int> shift(m_origin.size() + 1, 0);
    for (int i = at; i < at + count; ++i)
        shift[static_cast<std::size_t>(m_origin[static_cast<std::size_t>(i)]) + 1] = 1;
    std::partial_sum(shift.begin(), shift.end(), shift.begin());
    m_origin.erase(m_origin.begin() + at, m_origin.begin() + at + count);
    for (int &o : m_origin)
        o -= shift[static_cast<std::size_t>(o)];
    m_position.resize(m_origin.size());
    reindex(0, this->count() - 1);
}

void TSortPermutation::linesMoved(TGridAxis axis, int from, int to)
{
    if (axis != TGridAxis::Rows || !m_initialised)
        return;
    if (from < 0 || to < 0 || from >= count() || to >= count())
        throw std::out_of_range(describe("sort cross-reference: bad move", from, to));
    if (from == to)
        return;
    materialise();
    const auto f = m_origin.begin() + from;
    const auto t = m_origin.begin() + to;
    if (from < to)
        std::rotate(f, f + 1, t + 1);
    else
        std::rotate(t, f, f + 1);
    reindex(std::min(from, to), std::max(from, to));
}

void TSortPermutation::reindex(int first, int last)
{
    for (int i = first; i <= last; ++i)
        m_position[static_cast<std::size_t>(m_origin[static_cast<std::size_t>(i)])] = i;
}

QString TSortPermutation::checkInvariants() const
{
    if (m_identity)
        return m_identityCount >= 0 && m_origin.empty() && m_position.empty()
                   ? QString()
                   : QStringLiteral("an identity list of %1 rows keeps maps").arg(m_identityCount);
    if (m_origin.size() != m_position.size())
        return QStringLiteral("sizes differ: %1 origins, %2 positions")
            .arg(m_origin.size())
            .arg(m_position.size());
    for (int i = 0; i < count(); ++i) {
        const int o = m_origin[static_cast<std::size_t>(i)];
        if (o < 0 || o >= count())
            return QStringLiteral("origin %1 at position %2 is outside the list").arg(o).arg(i);
        if (m_position[static_cast<std::size_t>(o)] != i)
            return QStringLiteral("origin %1 at position %2 maps back to %3")
                .arg(o)
                .arg(i)
                .arg(m_position[static_cast<std::size_t>(o)]);
    }
    return QString();
}
