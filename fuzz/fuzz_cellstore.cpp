// Cell store against a std::map: an op stream decoded from the input (texts and objects set,
// rows and columns moved, cleared and dropped) on near cells and cells at the far end of the
// index range, compared cell by cell after each op. Public interface only.
#include "FuzzSupport.h"

#include "platform/grid/CellStore.h"

#include <map>
#include <set>
#include <utility>

using plat::TCellStore;

namespace {

struct Cell
{
    QString text;
    void *object = nullptr;
};
using Key = std::pair<int, int>; // row, col
using Model = std::map<Key, Cell>;

// Mostly near indices; some at the far end of the range and some outside it.
int index(fuzz::Reader &in, bool allowOutside)
{
    const uint8_t v = in.take<uint8_t>();
    switch (v >> 6) {
    case 0:
    case 1:
        return v & 0x3F;
    case 2:
        return TCellStore::MaxIndex - 1 - (v & 0x3F);
    default:
        if (!allowOutside)
            return (v & 0x3F) * 4099; // across index chunks
        return (v & 1) ? -1 - (v & 0x1F) : TCellStore::MaxIndex + (v & 0x1F);
    }
}

bool inRange(int i)
{
    return i >= 0 && i < TCellStore::MaxIndex;
}

QString text(fuzz::Reader &in)
{
    const uint8_t kind = in.take<uint8_t>();
    const int len = kind & 0x1F;
    QString s;
    for (int i = 0; i < len; ++i) {
        const uint8_t c = in.take<uint8_t>();
        // Latin-1 and wider texts both, to use both packings.
        s += (kind & 0x20) ? QChar(char16_t(0x3000 + c)) : QChar(char16_t(c));
    }
    if (kind & 0x40)
        s += QChar(char16_t(0xD83D)); // lone surrogate
    return s;
}

int movedIndex(int i, int from, int to)
{
    if (i == from)
        return to;
    if (from < to && i > from && i <= to)
        return i - 1;
    if (from > to && i >= to && i < from)
        return i + 1;
    return i;
}

void compare(const TCellStore &store, const Model &model, const std::set<Key> &touched)
{
    FUZZ_CHECK(store.checkInvariants().empty());
    std::set<int> rows;
    for (const auto &[key, cell] : model) {
        FUZZ_CHECK(store.Text(key.second, key.first) == cell.text);
        FUZZ_CHECK(store.TextView(key.second, key.first).toString() == cell.text);
        FUZZ_CHECK(store.Object(key.second, key.first) == cell.object);
        rows.insert(key.first);
    }
    for (const Key &key : touched) {
        if (model.count(key))
            continue;
        FUZZ_CHECK(store.Text(key.second, key.first).isEmpty());
        FUZZ_CHECK(store.Object(key.second, key.first) == nullptr);
    }
    FUZZ_CHECK(store.AllocatedRows() >= int(rows.size()));
}

template <typename Pred> void eraseIf(Model &model, Pred pred)
{
    for (auto it = model.begin(); it != model.end();)
        it = pred(it->first) ? model.erase(it) : std::next(it);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Reader in(data, size);
    TCellStore store;
    Model model;
    std::set<Key> touched;

    for (int ops = 0; ops < 300 && in.left() > 0; ++ops) {
        const uint8_t op = in.take<uint8_t>();
        switch (op % 10) {
        case 0:
        case 1:
        case 2: {
            const int col = index(in, true);
            const int row = index(in, true);
            const QString t = text(in);
            store.SetText(col, row, t);
            touched.insert({row, col});
            if (inRange(col) && inRange(row)) {
                Cell &c = model[{row, col}];
                c.text = t;
                if (c.text.isEmpty() && !c.object)
                    model.erase({row, col});
            }
            break;
        }
        case 3: {
            const int col = index(in, true);
            const int row = index(in, true);
            // Never dereferenced: the store only keeps the pointer.
            void *object =
                (op & 0x80) ? nullptr : reinterpret_cast<void *>(uintptr_t(op) * 16 + 16);
            store.SetObject(col, row, object);
            touched.insert({row, col});
            if (inRange(col) && inRange(row)) {
                Cell &c = model[{row, col}];
                c.object = object;
                if (c.text.isEmpty() && !c.object)
                    model.erase({row, col});
            }
            break;
        }
        case 4:
        case 5: {
            const bool rows = op % 10 == 4;
            const int from = index(in, false);
            const int to = index(in, false);
            if (rows)
                store.MoveRow(from, to);
            else
                store.MoveCol(from, to);
            Model moved;
            for (const auto &[key, cell] : model) {
                const Key k = rows ? Key{movedIndex(key.first, from, to), key.second}
                                   : Key{key.first, movedIndex(key.second, from, to)};
                moved[k] = cell;
            }
            model = std::move(moved);
            break;
        }
        case 6: {
            const int i = index(in, true);
            if (op & 0x80) {
                store.ClearCol(i);
                eraseIf(model, [&](const Key &k) { return k.second == i; });
            } else {
                store.ClearRow(i);
                eraseIf(model, [&](const Key &k) { return k.first == i; });
            }
            break;
        }
        case 7: {
            const int i = index(in, false);
            if (op & 0x80) {
                store.DropColsFrom(i);
                eraseIf(model, [&](const Key &k) { return k.second >= i; });
            } else {
                store.DropRowsFrom(i);
                eraseIf(model, [&](const Key &k) { return k.first >= i; });
            }
            break;
        }
        case 8:
            if ((op & 0xF0) == 0xF0) {
                store.Clear();
                model.clear();
            }
            break;
        default:
            (void)store.MemoryUsage();
            break;
        }
        compare(store, model, touched);
    }
    return 0;
}
