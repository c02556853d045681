#include "platform/grid/CellStore.h"

#include <QLatin1String>
#include <QStringView>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

namespace plat {

namespace {

// An entry's key: the column in the low bits, then how its text is stored. Every text region has
// an even size, so UTF-16 texts stay aligned however the regions before them change; a Latin-1
// text of odd length carries one filler byte.
constexpr uint32_t ColMask = 0x00FFFFFFu;
constexpr uint32_t PadBit = 0x40000000u;
constexpr uint32_t WideBit = 0x80000000u;
static_assert(TCellStore::MaxIndex - 1 <= static_cast<int>(ColMask));

struct Entry
{
    uint32_t key;
    uint32_t end; // byte offset just past this cell's text region
};

constexpr uint32_t MaxEntryHint = 64;
constexpr uint32_t MaxByteHint = 2048;

uint32_t colOf(const Entry &e)
{
    return e.key & ColMask;
}

// How a text will be stored: the region size in bytes and the key flags.
struct Encoding
{
    size_t bytes = 0;
    uint32_t flags = 0;
};

Encoding encodingOf(QStringView text)
{
    const char16_t *src = text.utf16();
    const size_t n = static_cast<size_t>(text.size());
    // A plain loop: cell texts are short and often written just before, where wide vector
    // loads would stall on the pending stores.
    for (size_t i = 0; i < n; ++i)
        if (src[i] > 0xFF)
            return {2 * n, WideBit};
    return {n + (n & 1), (n & 1) ? PadBit : 0u};
}

void encodeInto(char *dst, QStringView text, const Encoding &enc)
{
    const char16_t *src = text.utf16();
    const size_t n = static_cast<size_t>(text.size());
    if (enc.flags & WideBit) {
        std::memcpy(dst, src, 2 * n);
        return;
    }
    for (size_t i = 0; i < n; ++i)
        dst[i] = static_cast<char>(static_cast<unsigned char>(src[i]));
    if (n & 1)
        dst[n] = 0;
}

// Copies the text as Latin-1 bytes; false when a character needs UTF-16 (dst then holds junk).
// One pass without an early exit, which the compiler can vectorise.
bool narrowInto(char *__restrict dst, const char16_t *__restrict src, size_t n)
{
    char16_t all = 0;
    for (size_t i = 0; i < n; ++i) {
        all |= src[i];
        dst[i] = static_cast<char>(static_cast<unsigned char>(src[i]));
    }
    return all <= 0xFF;
}

} // namespace

// One row: header, `entryCap` entries sorted by column, then `byteCap` bytes of texts in entry
// order. A single allocation, so a row costs one heap block however many cells it holds.
struct TCellStore::RowBlock
{
    uint32_t count;
    uint32_t entryCap;
    uint32_t used; // bytes of texts
    uint32_t byteCap;
    void **objects; // entryCap slots parallel to the entries; null until an object is set

    Entry *entries() { return reinterpret_cast<Entry *>(this + 1); }
    const Entry *entries() const { return reinterpret_cast<const Entry *>(this + 1); }
    char *data() { return reinterpret_cast<char *>(entries() + entryCap); }
    const char *data() const { return reinterpret_cast<const char *>(entries() + entryCap); }

    uint32_t start(uint32_t i) const { return i ? entries()[i - 1].end : 0; }

    static size_t blockBytes(uint32_t entryCap, uint32_t byteCap)
    {
        return sizeof(RowBlock) + size_t(entryCap) * sizeof(Entry) + byteCap;
    }

    // An empty block; freed with ::operator delete.
    static RowBlock *make(uint32_t entryCap, uint32_t byteCap)
    {
        auto *b = static_cast<RowBlock *>(::operator new(blockBytes(entryCap, byteCap)));
        b->count = 0;
        b->entryCap = entryCap;
        b->used = 0;
        b->byteCap = byteCap;
        b->objects = nullptr;
        return b;
    }

    // Index of the entry for `col`, or where it would go.
    uint32_t find(uint32_t col, bool &found) const
    {
        const Entry *e = entries();
        // Dense rows keep column c at entry c; a fill appends after the last entry.
        if (col < count && colOf(e[col]) == col) {
            found = true;
            return col;
        }
        if (count == 0 || colOf(e[count - 1]) < col) {
            found = false;
            return count;
        }
        const Entry *it = std::lower_bound(e, e + count, col,
                                           [](const Entry &x, uint32_t c) { return colOf(x) < c; });
        const uint32_t i = static_cast<uint32_t>(it - e);
        found = i < count && colOf(*it) == col;
        return i;
    }

    QAnyStringView view(uint32_t i) const
    {
        const Entry &e = entries()[i];
        const uint32_t s = start(i);
        const uint32_t size = e.end - s;
        if (size == 0)
            return {};
        if (e.key & WideBit)
            return QStringView(reinterpret_cast<const char16_t *>(data() + s), size / 2);
        return QLatin1String(data() + s, (e.key & PadBit) ? size - 1 : size);
    }
};

struct TCellStore::Chunk
{
    RowBlock *rows[ChunkSize] = {};
    int count = 0; // rows with a block
};

namespace {

constexpr uint32_t MaxBytes = std::numeric_limits<uint32_t>::max() - 1;

} // namespace

TCellStore::TCellStore() = default;

TCellStore::~TCellStore()
{
    Clear();
}

inline TCellStore::RowBlock *TCellStore::rowAt(int row) const
{
    if (row < 0)
        return nullptr;
    const size_t c = static_cast<size_t>(row) >> ChunkBits;
    if (c >= m_chunks.size() || !m_chunks[c])
        return nullptr;
    return m_chunks[c]->rows[row & (ChunkSize - 1)];
}

TCellStore::RowBlock *&TCellStore::rowSlotForWrite(int row)
{
    const size_t c = static_cast<size_t>(row) >> ChunkBits;
    if (c >= m_chunks.size())
        m_chunks.resize(c + 1);
    if (!m_chunks[c])
        m_chunks[c] = std::make_unique<Chunk>();
    return m_chunks[c]->rows[row & (ChunkSize - 1)];
}

void TCellStore::freeRow(RowBlock *block)
{
    if (!block)
        return;
    m_blockBytes -= RowBlock::blockBytes(block->entryCap, block->byteCap);
    if (block->objects) {
        m_blockBytes -= size_t(block->entryCap) * sizeof(void *);
        delete[] block->objects;
    }
    ::operator delete(block);
}

// Puts `block` into the slot of `row` (null empties it) without freeing what was there.
void TCellStore::setRow(int row, RowBlock *block)
{
    const size_t c = static_cast<size_t>(row) >> ChunkBits;
    if (!block && (c >= m_chunks.size() || !m_chunks[c]))
        return;
    RowBlock *&slot = rowSlotForWrite(row);
    Chunk &chunk = *m_chunks[c];
    chunk.count += (block != nullptr) - (slot != nullptr);
    m_rowCount += (block != nullptr) - (slot != nullptr);
    slot = block;
    if (chunk.count == 0) {
        m_chunks[c].reset();
        trimIndex();
    }
}

void TCellStore::trimIndex()
{
    while (!m_chunks.empty() && !m_chunks.back())
        m_chunks.pop_back();
    if (m_chunks.empty() || m_chunks.capacity() > 2 * m_chunks.size() + 16)
        m_chunks.shrink_to_fit();
}

namespace {

uint32_t grownCap(uint32_t cap, size_t need, size_t limit)
{
    if (need <= cap)
        return cap;
    const size_t grown = std::max<size_t>(need, size_t(cap) + cap / 2);
    return static_cast<uint32_t>(std::min(grown, limit));
}

} // namespace

void TCellStore::writeCell(int col, int row, const QString *text, void *const *object)
{
    if (col < 0 || row < 0 || col >= MaxIndex || row >= MaxIndex)
        return;
    RowBlock *block = rowAt(row);
    // Filling a table row by row appends each text after the row's last cell, into room the
    // row was made with: no search, no shifting, one pass over the text.
    if (block && text && !object && !text->isEmpty()) {
        Entry *e = block->entries();
        const uint32_t count = block->count;
        const size_t n = static_cast<size_t>(text->size());
        const size_t bytes = n + (n & 1);
        if (count < block->entryCap && colOf(e[count - 1]) < static_cast<uint32_t>(col) &&
            bytes <= block->byteCap - block->used) {
            char *dst = block->data() + block->used;
            if (narrowInto(dst, QStringView(*text).utf16(), n)) {
                if (n & 1)
                    dst[n] = 0;
                block->used += static_cast<uint32_t>(bytes);
                e[count] = {static_cast<uint32_t>(col) | ((n & 1) ? PadBit : 0u), block->used};
                if (block->objects)
                    block->objects[count] = nullptr;
                block->count = count + 1;
                return;
            }
        }
    }
    const Encoding enc = text ? encodingOf(*text) : Encoding{};
    if (enc.bytes > MaxBytes)
        throw std::length_error("cell text too long");
    const bool addsText = text && !text->isEmpty();
    const bool addsObject = object && *object;

    bool found = false;
    uint32_t i = block ? block->find(static_cast<uint32_t>(col), found) : 0;
    if (!found && !addsText && !addsObject)
        return; // writing nothing where nothing is stored must not allocate

    if (found) {
        Entry *e = block->entries();
        const uint32_t s = block->start(i);
        const uint32_t oldBytes = e[i].end - s;
        const bool keepsText = text ? addsText : oldBytes != 0;
        const bool keepsObject =
            object ? addsObject : (block->objects && block->objects[i] != nullptr);
        if (!keepsText && !keepsObject) {
            // The cell becomes empty: its entry goes, and the row with its last entry.
            if (block->count == 1) {
                setRow(row, nullptr);
                freeRow(block);
                return;
            }
            char *d = block->data();
            if (e[i].end < block->used)
                std::memmove(d + s, d + e[i].end, block->used - e[i].end);
            for (uint32_t j = i + 1; j < block->count; ++j)
                e[j - 1] = {e[j].key, e[j].end - oldBytes};
            if (block->objects)
                std::memmove(block->objects + i, block->objects + i + 1,
                             (block->count - i - 1) * sizeof(void *));
            block->used -= oldBytes;
            --block->count;
            return;
        }
    }

    // Room for the new entry, the new text and the object slots.
    const size_t newBytes = text ? enc.bytes : 0;
    const size_t oldBytes = found ? block->entries()[i].end - block->start(i) : 0;
    const size_t usedAfter = (block ? block->used : 0) + (text ? newBytes : oldBytes) - oldBytes;
    if (usedAfter > MaxBytes)
        throw std::length_error("row texts too long");
    const size_t countAfter = (block ? block->count : 0) + (found ? 0 : 1);
    if (!block || countAfter > block->entryCap || usedAfter > block->byteCap) {
        if (!block) {
            // A new row most likely ends up like the row started before it.
            if (const RowBlock *last = rowAt(m_lastNewRow)) {
                m_entryHint = std::clamp(last->count, 1u, MaxEntryHint);
                m_byteHint = std::min(last->used, MaxByteHint);
            }
            m_lastNewRow = row;
        }
        const uint32_t entryCap =
            block ? grownCap(block->entryCap, countAfter, ColMask + 1u) : m_entryHint;
        uint32_t byteCap = block ? grownCap(block->byteCap, usedAfter, MaxBytes)
                                 : static_cast<uint32_t>(std::max<size_t>(m_byteHint, usedAfter));
        byteCap += byteCap & 1;
        // Both allocations before any change, so running out of memory leaves the row as it was.
        std::unique_ptr<void *[]> objects;
        if (block && block->objects)
            objects.reset(new void *[entryCap]());
        RowBlock *grown = RowBlock::make(entryCap, byteCap);
        m_blockBytes += RowBlock::blockBytes(entryCap, byteCap);
        if (block) {
            grown->count = block->count;
            grown->used = block->used;
            std::memcpy(grown->entries(), block->entries(), block->count * sizeof(Entry));
            std::memcpy(grown->data(), block->data(), block->used);
            if (objects) {
                grown->objects = objects.release();
                m_blockBytes += size_t(entryCap) * sizeof(void *);
                std::memcpy(grown->objects, block->objects, block->count * sizeof(void *));
            }
            freeRow(block);
        }
        setRow(row, grown);
        block = grown;
    }
    if (addsObject && !block->objects) {
        block->objects = new void *[block->entryCap]();
        m_blockBytes += size_t(block->entryCap) * sizeof(void *);
    }

    Entry *e = block->entries();
    char *d = block->data();
    const uint32_t s = block->start(i);
    if (!found) {
        if (i < block->count)
            std::memmove(e + i + 1, e + i, (block->count - i) * sizeof(Entry));
        if (block->objects)
            std::memmove(block->objects + i + 1, block->objects + i,
                         (block->count - i) * sizeof(void *));
        e[i] = {static_cast<uint32_t>(col), s};
        if (block->objects)
            block->objects[i] = nullptr;
        ++block->count;
    }
    if (text) {
        const uint32_t oldEnd = e[i].end;
        const uint32_t newEnd = s + static_cast<uint32_t>(newBytes);
        if (newEnd != oldEnd) {
            if (oldEnd < block->used)
                std::memmove(d + newEnd, d + oldEnd, block->used - oldEnd);
            const uint32_t shift = newEnd - oldEnd; // wraps for shrinking, as the ends do
            for (uint32_t j = i + 1; j < block->count; ++j)
                e[j].end += shift;
            block->used += shift;
            e[i].end = newEnd;
        }
        encodeInto(d + s, *text, enc);
        e[i].key = static_cast<uint32_t>(col) | enc.flags;
    }
    if (object && block->objects)
        block->objects[i] = *object;
}

QString TCellStore::Text(int col, int row) const
{
    const QAnyStringView v = TextView(col, row);
    return v.isEmpty() ? QString() : v.toString();
}

QAnyStringView TCellStore::TextView(int col, int row) const
{
    const RowBlock *block = rowAt(row);
    if (!block || col < 0)
        return {};
    bool found = false;
    const uint32_t i = block->find(static_cast<uint32_t>(col), found);
    return found ? block->view(i) : QAnyStringView();
}

void TCellStore::SetText(int col, int row, const QString &text)
{
    writeCell(col, row, &text, nullptr);
}

void *TCellStore::Object(int col, int row) const
{
    const RowBlock *block = rowAt(row);
    if (!block || !block->objects || col < 0)
        return nullptr;
    bool found = false;
    const uint32_t i = block->find(static_cast<uint32_t>(col), found);
    return found ? block->objects[i] : nullptr;
}

void TCellStore::SetObject(int col, int row, void *object)
{
    writeCell(col, row, nullptr, &object);
}

// Rows from..to (from < to) move up by one; row `from` lands at `to`. Works chunk by chunk, so
// a stretch without rows costs one step per chunk.
void TCellStore::shiftRowsLeft(int from, int to)
{
    RowBlock *carry = rowAt(from);
    int i = from;
    while (i <= to) {
        const size_t c = static_cast<size_t>(i) >> ChunkBits;
        const int e = std::min(to, static_cast<int>((c + 1) * ChunkSize) - 1);
        RowBlock *incoming = e == to ? carry : rowAt(e + 1);
        Chunk *chunk = c < m_chunks.size() ? m_chunks[c].get() : nullptr;
        if (chunk) {
            RowBlock **rows = chunk->rows;
            chunk->count -= rows[i & (ChunkSize - 1)] != nullptr;
            std::memmove(rows + (i & (ChunkSize - 1)), rows + (i & (ChunkSize - 1)) + 1,
                         size_t(e - i) * sizeof(RowBlock *));
            rows[e & (ChunkSize - 1)] = incoming;
            chunk->count += incoming != nullptr;
            if (chunk->count == 0)
                m_chunks[c].reset();
        } else if (incoming) {
            rowSlotForWrite(e) = incoming;
            m_chunks[c]->count = 1;
        }
        i = e + 1;
    }
    trimIndex();
}

// Rows to..from (to < from) move down by one; row `from` lands at `to`.
void TCellStore::shiftRowsRight(int to, int from)
{
    RowBlock *carry = rowAt(from);
    int i = from;
    while (i >= to) {
        const size_t c = static_cast<size_t>(i) >> ChunkBits;
        const int s = std::max(to, static_cast<int>(c * ChunkSize));
        RowBlock *incoming = s == to ? carry : rowAt(s - 1);
        Chunk *chunk = c < m_chunks.size() ? m_chunks[c].get() : nullptr;
        if (chunk) {
            RowBlock **rows = chunk->rows;
            chunk->count -= rows[i & (ChunkSize - 1)] != nullptr;
            std::memmove(rows + (s & (ChunkSize - 1)) + 1, rows + (s & (ChunkSize - 1)),
                         size_t(i - s) * sizeof(RowBlock *));
            rows[s & (ChunkSize - 1)] = incoming;
            chunk->count += incoming != nullptr;
            if (chunk->count == 0)
                m_chunks[c].reset();
        } else if (incoming) {
            rowSlotForWrite(s) = incoming;
            m_chunks[c]->count = 1;
        }
        i = s - 1;
    }
    trimIndex();
}

void TCellStore::MoveRow(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= MaxIndex || to >= MaxIndex)
        return;
    // Nothing stored at or beyond the lower of the two: the move changes nothing.
    const size_t lowChunk = static_cast<size_t>(std::min(from, to)) >> ChunkBits;
    if (lowChunk >= m_chunks.size())
        return;
    if (from < to)
        shiftRowsLeft(from, to);
    else
        shiftRowsRight(to, from);
}

// Works stretch by stretch within chunks, so a dense range costs one memmove per chunk and a
// range without rows one step per chunk.
void TCellStore::rotateRows(int lo, int k, int hi)
{
    const int n = hi - lo;
    if (k <= 0 || k >= n)
        return;
    constexpr int Mask = ChunkSize - 1;
    auto chunkAt = [this](int row) -> Chunk * {
        const size_t c = static_cast<size_t>(row) >> ChunkBits;
        return c < m_chunks.size() ? m_chunks[c].get() : nullptr;
    };
    auto chunkForWrite = [this](int row) -> Chunk * {
        rowSlotForWrite(row);
        return m_chunks[static_cast<size_t>(row) >> ChunkBits].get();
    };
    // Copies len slots from src to dst within one chunk each (either may be missing).
    auto copySegment = [&](int dst, int src, int len) {
        Chunk *s = chunkAt(src);
        Chunk *d = chunkAt(dst);
        if (!s) {
            if (d)
                std::fill_n(d->rows + (dst & Mask), len, nullptr);
            return;
        }
        RowBlock **from = s->rows + (src & Mask);
        if (!d) {
            if (std::all_of(from, from + len, [](RowBlock *b) { return b == nullptr; }))
                return;
            d = chunkForWrite(dst);
        }
        std::memmove(d->rows + (dst & Mask), from, size_t(len) * sizeof(RowBlock *));
    };
    auto gather = [&](int first, int len) {
        std::vector<RowBlock *> out(static_cast<size_t>(len), nullptr);
        for (int i = 0; i < len;) {
            const int seg = std::min(len - i, ChunkSize - ((first + i) & Mask));
            if (Chunk *c = chunkAt(first + i))
                std::copy_n(c->rows + ((first + i) & Mask), seg, out.begin() + i);
            i += seg;
        }
        return out;
    };
    auto scatter = [&](int first, const std::vector<RowBlock *> &in) {
        const int len = static_cast<int>(in.size());
        for (int i = 0; i < len;) {
            const int seg = std::min(len - i, ChunkSize - ((first + i) & Mask));
            Chunk *c = chunkAt(first + i);
            const auto begin = in.begin() + i;
            if (!c && std::any_of(begin, begin + seg, [](RowBlock *b) { return b != nullptr; }))
                c = chunkForWrite(first + i);
            if (c)
                std::copy_n(begin, seg, c->rows + ((first + i) & Mask));
            i += seg;
        }
    };
    if (k <= n - k) {
        // The first k slots go to the end; the rest moves up by k.
        const std::vector<RowBlock *> head = gather(lo, k);
        for (int i = lo; i < hi - k;) {
            const int seg = std::min({hi - k - i, ChunkSize - (i & Mask), ChunkSize - ((i + k) & Mask)});
            copySegment(i, i + k, seg);
            i += seg;
        }
        scatter(hi - k, head);
    } else {
        // The last m slots go to the front; the rest moves down by m.
        const int m = n - k;
        const std::vector<RowBlock *> tail = gather(hi - m, m);
        for (int i = hi - 1; i >= lo + m;) {
            const int seg = std::min({i - (lo + m) + 1, (i & Mask) + 1, ((i - m) & Mask) + 1});
            copySegment(i - seg + 1, i - m - seg + 1, seg);
            i -= seg;
        }
        scatter(lo, tail);
    }
    // The blocks only changed places: count each touched chunk again.
    const size_t last = std::min(m_chunks.size(), (static_cast<size_t>(hi - 1) >> ChunkBits) + 1);
    for (size_t c = static_cast<size_t>(lo) >> ChunkBits; c < last; ++c) {
        Chunk *chunk = m_chunks[c].get();
        if (!chunk)
            continue;
        chunk->count = static_cast<int>(
            std::count_if(std::begin(chunk->rows), std::end(chunk->rows),
                          [](RowBlock *b) { return b != nullptr; }));
        if (chunk->count == 0)
            m_chunks[c].reset();
    }
    trimIndex();
}

void TCellStore::MoveRows(int from, int count, int to)
{
    if (count <= 0 || from == to || from < 0 || to < 0 || from > MaxIndex - count ||
        to > MaxIndex - count)
        return;
    if (count == 1) {
        MoveRow(from, to);
        return;
    }
    const int lo = std::min(from, to);
    if (static_cast<size_t>(lo) >> ChunkBits >= m_chunks.size())
        return; // nothing stored from there on
    if (from < to)
        rotateRows(from, count, to + count);
    else
        rotateRows(to, from - to, from + count);
}

void TCellStore::SwapRows(int a, int b)
{
    if (a == b || a < 0 || b < 0 || a >= MaxIndex || b >= MaxIndex)
        return;
    RowBlock *blockA = rowAt(a);
    RowBlock *blockB = rowAt(b);
    if (blockA && blockB) {
        // Slots live in the chunks, which stay put while the chunk list grows.
        std::swap(rowSlotForWrite(a), rowSlotForWrite(b));
        return;
    }
    if (!blockA && !blockB)
        return;
    // One of the two is empty: the block changes rows, and chunk counts with it.
    setRow(blockA ? a : b, nullptr);
    setRow(blockA ? b : a, blockA ? blockA : blockB);
}

void TCellStore::MoveCol(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= MaxIndex || to >= MaxIndex)
        return;
    const uint32_t lo = static_cast<uint32_t>(std::min(from, to));
    const uint32_t hi = static_cast<uint32_t>(std::max(from, to));
    const uint32_t src = static_cast<uint32_t>(from);
    std::vector<uint32_t> sizes;
    for (auto &chunk : m_chunks) {
        if (!chunk)
            continue;
        for (RowBlock *block : chunk->rows) {
            if (!block || block->count == 0 || colOf(block->entries()[block->count - 1]) < lo)
                continue;
            Entry *e = block->entries();
            bool dummy = false;
            const uint32_t a = block->find(lo, dummy);
            const uint32_t b = hi + 1 > ColMask ? block->count : block->find(hi + 1, dummy);
            if (a == b)
                continue;
            bool moving = false;
            const uint32_t p = block->find(src, moving);
            if (moving) {
                // The moved cell's entry and text change places with the ones in between.
                const uint32_t sa = block->start(a);
                const uint32_t eb = e[b - 1].end;
                sizes.resize(b - a);
                for (uint32_t j = a; j < b; ++j)
                    sizes[j - a] = e[j].end - block->start(j);
                char *d = block->data();
                const size_t movedBytes = sizes[p - a];
                if (from < to) {
                    std::rotate(d + sa, d + sa + movedBytes, d + eb);
                    std::rotate(e + a, e + a + 1, e + b);
                    std::rotate(sizes.begin(), sizes.begin() + 1, sizes.end());
                    if (block->objects)
                        std::rotate(block->objects + a, block->objects + a + 1, block->objects + b);
                } else {
                    std::rotate(d + sa, d + eb - movedBytes, d + eb);
                    std::rotate(e + a, e + b - 1, e + b);
                    std::rotate(sizes.begin(), sizes.end() - 1, sizes.end());
                    if (block->objects)
                        std::rotate(block->objects + a, block->objects + b - 1, block->objects + b);
                }
                uint32_t end = sa;
                for (uint32_t j = a; j < b; ++j) {
                    end += sizes[j - a];
                    e[j].end = end;
                }
            }
            for (uint32_t j = a; j < b; ++j) {
                const uint32_t c = colOf(e[j]);
                const uint32_t flags = e[j].key & ~ColMask;
                uint32_t nc = c;
                if (c == src)
                    nc = static_cast<uint32_t>(to);
                else
                    nc = from < to ? c - 1 : c + 1;
                e[j].key = nc | flags;
            }
        }
    }
}

void TCellStore::ClearRow(int row)
{
    RowBlock *block = rowAt(row);
    if (!block)
        return;
    setRow(row, nullptr);
    freeRow(block);
}

void TCellStore::ClearCol(int col)
{
    if (col < 0 || col >= MaxIndex)
        return;
    const QString empty;
    void *const none = nullptr;
    for (size_t c = 0; c < m_chunks.size(); ++c) {
        if (!m_chunks[c])
            continue;
        for (int k = 0; k < ChunkSize; ++k) {
            // Clearing the chunk's last row frees the chunk.
            if (c >= m_chunks.size() || !m_chunks[c])
                break;
            if (m_chunks[c]->rows[k])
                writeCell(col, static_cast<int>(c * ChunkSize) + k, &empty, &none);
        }
    }
}

void TCellStore::ClearRows(int row, int count)
{
    if (count <= 0)
        return;
    const int end = static_cast<int>(std::min<long long>(static_cast<long long>(row) + count, MaxIndex));
    row = std::max(row, 0);
    for (int i = row; i < end;) {
        const size_t c = static_cast<size_t>(i) >> ChunkBits;
        const int seg = std::min(end - i, ChunkSize - (i & (ChunkSize - 1)));
        if (c >= m_chunks.size())
            break;
        if (Chunk *chunk = m_chunks[c].get()) {
            for (int k = i & (ChunkSize - 1); k < (i & (ChunkSize - 1)) + seg; ++k) {
                if (!chunk->rows[k])
                    continue;
                freeRow(chunk->rows[k]);
                chunk->rows[k] = nullptr;
                --chunk->count;
                --m_rowCount;
            }
            if (chunk->count == 0)
                m_chunks[c].reset();
        }
        i += seg;
    }
    trimIndex();
}

void TCellStore::ClearRect(int col1, int row1, int col2, int row2)
{
    col1 = std::max(col1, 0);
    row1 = std::max(row1, 0);
    col2 = std::min(col2, MaxIndex - 1);
    row2 = std::min(row2, MaxIndex - 1);
    if (col2 < col1 || row2 < row1)
        return;
    const uint32_t lo = static_cast<uint32_t>(col1);
    const uint32_t hi = static_cast<uint32_t>(col2);
    for (int i = row1; i <= row2;) {
        const size_t c = static_cast<size_t>(i) >> ChunkBits;
        const int seg = std::min(row2 - i + 1, ChunkSize - (i & (ChunkSize - 1)));
        if (c >= m_chunks.size())
            break;
        if (Chunk *chunk = m_chunks[c].get()) {
            for (int k = i & (ChunkSize - 1); k < (i & (ChunkSize - 1)) + seg; ++k) {
                RowBlock *block = chunk->rows[k];
                if (!block)
                    continue;
                bool dummy = false;
                const uint32_t a = block->find(lo, dummy);
                const uint32_t b = hi + 1 > ColMask ? block->count : block->find(hi + 1, dummy);
                if (a == b)
                    continue;
                if (a == 0 && b == block->count) {
                    freeRow(block);
                    chunk->rows[k] = nullptr;
                    --chunk->count;
                    --m_rowCount;
                    continue;
                }
                // The entries a .. b - 1 and their texts leave; the rest closes up.
                Entry *e = block->entries();
                const uint32_t s = block->start(a);
                const uint32_t gone = e[b - 1].end - s;
                char *d = block->data();
                if (e[b - 1].end < block->used)
                    std::memmove(d + s, d + e[b - 1].end, block->used - e[b - 1].end);
                for (uint32_t j = b; j < block->count; ++j)
                    e[j - (b - a)] = {e[j].key, e[j].end - gone};
                if (block->objects)
                    std::memmove(block->objects + a, block->objects + b,
                                 (block->count - b) * sizeof(void *));
                block->used -= gone;
                block->count -= b - a;
            }
            if (chunk->count == 0)
                m_chunks[c].reset();
        }
        i += seg;
    }
    trimIndex();
}

void TCellStore::rowObjects(int row, std::vector<std::pair<int, void *>> &out) const
{
    const RowBlock *block = rowAt(row);
    if (!block || !block->objects)
        return;
    for (uint32_t i = 0; i < block->count; ++i)
        if (block->objects[i])
            out.emplace_back(static_cast<int>(colOf(block->entries()[i])), block->objects[i]);
}

size_t TCellStore::heapBytes(const RowBlock *block)
{
    return RowBlock::blockBytes(block->entryCap, block->byteCap) +
           (block->objects ? size_t(block->entryCap) * sizeof(void *) : 0);
}

void TCellStore::freeBlock(RowBlock *block)
{
    if (!block)
        return;
    delete[] block->objects;
    ::operator delete(block);
}

TCellStore::TRow::~TRow()
{
    freeBlock(m_block);
}

TCellStore::TRow::TRow(TRow &&other) noexcept : m_block(std::exchange(other.m_block, nullptr)) {}

TCellStore::TRow &TCellStore::TRow::operator=(TRow &&other) noexcept
{
    if (this != &other) {
        freeBlock(m_block);
        m_block = std::exchange(other.m_block, nullptr);
    }
    return *this;
}

QString TCellStore::TRow::Text(int col) const
{
    if (!m_block || col < 0)
        return {};
    bool found = false;
    const uint32_t i = m_block->find(static_cast<uint32_t>(col), found);
    if (!found)
        return {};
    const QAnyStringView v = m_block->view(i);
    return v.isEmpty() ? QString() : v.toString();
}

void *TCellStore::TRow::Object(int col) const
{
    if (!m_block || !m_block->objects || col < 0)
        return nullptr;
    bool found = false;
    const uint32_t i = m_block->find(static_cast<uint32_t>(col), found);
    return found ? m_block->objects[i] : nullptr;
}

int TCellStore::TRow::ColumnEnd() const
{
    if (!m_block || m_block->count == 0)
        return 0;
    return static_cast<int>(colOf(m_block->entries()[m_block->count - 1])) + 1;
}

TCellStore::TRow TCellStore::TakeRow(int row)
{
    RowBlock *block = rowAt(row);
    if (!block)
        return {};
    setRow(row, nullptr);
    m_blockBytes -= heapBytes(block);
    return TRow(block);
}

void TCellStore::PutRow(int row, TRow &&taken)
{
    TRow row_(std::move(taken));
    if (row < 0 || row >= MaxIndex)
        return;
    if (RowBlock *old = rowAt(row)) {
        setRow(row, nullptr);
        freeRow(old);
    }
    if (row_.m_block) {
        m_blockBytes += heapBytes(row_.m_block);
        setRow(row, std::exchange(row_.m_block, nullptr));
    }
}

void TCellStore::DropRowsFrom(int row)
{
    row = std::max(row, 0);
    ClearRows(row, MaxIndex - row);
}

void TCellStore::DropColsFrom(int col)
{
    const uint32_t keep = static_cast<uint32_t>(std::clamp(col, 0, MaxIndex));
    for (size_t c = 0; c < m_chunks.size(); ++c) {
        for (int k = 0; k < ChunkSize; ++k) {
            if (c >= m_chunks.size() || !m_chunks[c])
                break;
            RowBlock *block = m_chunks[c]->rows[k];
            if (!block)
                continue;
            bool dummy = false;
            const uint32_t a = block->find(keep, dummy);
            if (a == 0) {
                setRow(static_cast<int>(c * ChunkSize) + k, nullptr);
                freeRow(block);
            } else if (a < block->count) {
                block->used = block->entries()[a - 1].end;
                block->count = a;
            }
        }
    }
}

void TCellStore::Clear()
{
    for (auto &chunk : m_chunks) {
        if (!chunk)
            continue;
        for (RowBlock *block : chunk->rows)
            freeRow(block);
    }
    m_chunks.clear();
    m_chunks.shrink_to_fit();
    m_rowCount = 0;
    m_entryHint = 4;
    m_byteHint = 32;
    m_lastNewRow = -1;
}

int TCellStore::AllocatedRows() const
{
    return m_rowCount;
}

size_t TCellStore::MemoryUsage() const
{
    size_t chunks = 0;
    for (const auto &chunk : m_chunks)
        chunks += chunk != nullptr;
    return m_chunks.capacity() * sizeof(m_chunks[0]) + chunks * sizeof(Chunk) + m_blockBytes;
}

std::string TCellStore::checkInvariants() const
{
    auto where = [](size_t c, int k) {
        return " (row " + std::to_string(c * ChunkSize + static_cast<size_t>(k)) + ")";
    };
    if (!m_chunks.empty() && !m_chunks.back())
        return "index ends with an empty chunk";
    int rows = 0;
    size_t bytes = 0;
    for (size_t c = 0; c < m_chunks.size(); ++c) {
        const Chunk *chunk = m_chunks[c].get();
        if (!chunk)
            continue;
        int inChunk = 0;
        for (int k = 0; k < ChunkSize; ++k) {
            const RowBlock *b = chunk->rows[k];
            if (!b)
                continue;
            ++inChunk;
            bytes += RowBlock::blockBytes(b->entryCap, b->byteCap);
            if (b->objects)
                bytes += size_t(b->entryCap) * sizeof(void *);
            if (b->count == 0)
                return "empty row block" + where(c, k);
            if (b->count > b->entryCap || b->used > b->byteCap || (b->byteCap & 1))
                return "row block over its capacity" + where(c, k);
            const Entry *e = b->entries();
            uint32_t prevEnd = 0;
            for (uint32_t j = 0; j < b->count; ++j) {
                if (j && colOf(e[j]) <= colOf(e[j - 1]))
                    return "columns out of order" + where(c, k);
                if (colOf(e[j]) >= static_cast<uint32_t>(MaxIndex))
                    return "column out of range" + where(c, k);
                if (e[j].end < prevEnd || ((e[j].end - prevEnd) & 1))
                    return "bad text region" + where(c, k);
                const uint32_t size = e[j].end - prevEnd;
                if ((e[j].key & WideBit) && (e[j].key & PadBit))
                    return "UTF-16 text with a filler byte" + where(c, k);
                if ((e[j].key & PadBit) && size == 0)
                    return "filler byte without text" + where(c, k);
                if (size == 0 && !(b->objects && b->objects[j]))
                    return "entry without text or object" + where(c, k);
                prevEnd = e[j].end;
            }
            if (prevEnd != b->used)
                return "texts do not end at the used size" + where(c, k);
        }
        if (inChunk == 0)
            return "empty chunk " + std::to_string(c);
        if (inChunk != chunk->count)
            return "chunk count off in chunk " + std::to_string(c);
        rows += inChunk;
    }
    if (rows != m_rowCount)
        return "row count off";
    if (bytes != m_blockBytes)
        return "byte tally off";
    return {};
}

} // namespace plat
