#include "platform/grid/CellStore.h"

#include <algorithm>

namespace plat {

namespace {

template <typename T> void rotateEntry(std::vector<T> &v, int from, int to)
{
    const size_t need = static_cast<size_t>(std::max(from, to)) + 1;
    if (v.size() < need) {
        // Nothing stored at or beyond the lower of the two: the move changes nothing.
        if (v.size() <= static_cast<size_t>(std::min(from, to)))
            return;
        v.resize(need); // value-initialised: empty text, null object, no row
    }
    auto first = v.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
}

} // namespace

const TCellStore::Row *TCellStore::rowAt(int row) const
{
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return nullptr;
    return m_rows[static_cast<size_t>(row)].get();
}

TCellStore::Row &TCellStore::rowForWrite(int row)
{
    if (static_cast<size_t>(row) >= m_rows.size())
        m_rows.resize(static_cast<size_t>(row) + 1);
    auto &slot = m_rows[static_cast<size_t>(row)];
    if (!slot)
        slot = std::make_unique<Row>();
    return *slot;
}

QString TCellStore::Text(int col, int row) const
{
    const Row *r = rowAt(row);
    if (!r || col < 0 || static_cast<size_t>(col) >= r->texts.size())
        return QString();
    return r->texts[static_cast<size_t>(col)];
}

void TCellStore::SetText(int col, int row, const QString &text)
{
    if (col < 0 || row < 0)
        return;
    if (text.isEmpty()) {
        // Writing nothing where nothing is stored must not allocate.
        const Row *r = rowAt(row);
        if (!r || static_cast<size_t>(col) >= r->texts.size())
            return;
    }
    Row &r = rowForWrite(row);
    if (static_cast<size_t>(col) >= r.texts.size())
        r.texts.resize(static_cast<size_t>(col) + 1);
    r.texts[static_cast<size_t>(col)] = text;
}

void *TCellStore::Object(int col, int row) const
{
    const Row *r = rowAt(row);
    if (!r || col < 0 || static_cast<size_t>(col) >= r->objects.size())
        return nullptr;
    return r->objects[static_cast<size_t>(col)];
}

void TCellStore::SetObject(int col, int row, void *object)
{
    if (col < 0 || row < 0)
        return;
    if (!object) {
        const Row *r = rowAt(row);
        if (!r || static_cast<size_t>(col) >= r->objects.size())
            return;
    }
    Row &r = rowForWrite(row);
    if (static_cast<size_t>(col) >= r.objects.size())
        r.objects.resize(static_cast<size_t>(col) + 1, nullptr);
    r.objects[static_cast<size_t>(col)] = object;
}

void TCellStore::MoveRow(int from, int to)
{
    if (from == to || from < 0 || to < 0)
        return;
    rotateEntry(m_rows, from, to);
}

void TCellStore::MoveCol(int from, int to)
{
    if (from == to || from < 0 || to < 0)
        return;
    for (auto &r : m_rows) {
        if (!r)
            continue;
        rotateEntry(r->texts, from, to);
        rotateEntry(r->objects, from, to);
    }
}

void TCellStore::ClearRow(int row)
{
    if (row >= 0 && static_cast<size_t>(row) < m_rows.size())
        m_rows[static_cast<size_t>(row)].reset();
}

void TCellStore::ClearCol(int col)
{
    if (col < 0)
        return;
    for (auto &r : m_rows) {
        if (!r)
            continue;
        if (static_cast<size_t>(col) < r->texts.size())
            r->texts[static_cast<size_t>(col)].clear();
        if (static_cast<size_t>(col) < r->objects.size())
            r->objects[static_cast<size_t>(col)] = nullptr;
    }
}

void TCellStore::DropRowsFrom(int row)
{
    row = std::max(row, 0);
    if (static_cast<size_t>(row) < m_rows.size()) {
        m_rows.resize(static_cast<size_t>(row));
        m_rows.shrink_to_fit();
    }
}

void TCellStore::DropColsFrom(int col)
{
    const size_t keep = static_cast<size_t>(std::max(col, 0));
    for (auto &r : m_rows) {
        if (!r)
            continue;
        if (r->texts.size() > keep)
            r->texts.resize(keep);
        if (r->objects.size() > keep)
            r->objects.resize(keep);
    }
}

void TCellStore::Clear()
{
    m_rows.clear();
}

int TCellStore::AllocatedRows() const
{
    return static_cast<int>(
        std::count_if(m_rows.begin(), m_rows.end(), [](const auto &r) { return r != nullptr; }));
}

} // namespace plat
