// Line sizes against a plain model: an op stream decoded from the input (counts, default size,
// grid-line width, single sizes, moves) and after each op the offsets, totals and hit tests
// compared with sums over a vector. Public interface only.
#include "FuzzSupport.h"

#include "platform/grid/LineSizes.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

constexpr int MaxCount = 3000;

struct Model
{
    int def = 24;
    int lineWidth = 0;
    std::vector<int> sizes;

    std::vector<qint64> offsets() const
    {
        std::vector<qint64> off(sizes.size() + 1, 0);
        for (size_t i = 0; i < sizes.size(); ++i)
            off[i + 1] = off[i] + sizes[i] + lineWidth;
        return off;
    }
};

int sizeValue(fuzz::Reader &in)
{
    const uint8_t kind = in.take<uint8_t>();
    switch (kind % 4) {
    case 0:
        return kind / 4; // small
    case 1:
        return int(in.take<uint16_t>());
    case 2:
        return INT_MAX - int(kind / 4);
    default:
        return int(in.take<uint32_t>() & 0x7FFFFFFF);
    }
}

int indexIn(fuzz::Reader &in, int count)
{
    return count > 0 ? int(in.take<uint16_t>() % uint32_t(count)) : 0;
}

int expectedIndexAt(const std::vector<qint64> &off, qint64 pos)
{
    if (pos < 0 || pos >= off.back())
        return -1;
    // The line with off[i] <= pos < off[i + 1].
    const auto it = std::upper_bound(off.begin(), off.end(), pos);
    return int(it - off.begin()) - 1;
}

int expectedFirstAtOrAfter(const std::vector<qint64> &off, qint64 pos)
{
    const auto it = std::lower_bound(off.begin(), off.end(), pos);
    return it == off.end() ? int(off.size()) - 1 : int(it - off.begin());
}

void probe(const plat::TLineSizes &ls, const std::vector<qint64> &off, qint64 pos)
{
    FUZZ_CHECK(ls.IndexAt(pos) == expectedIndexAt(off, pos));
    FUZZ_CHECK(ls.FirstAtOrAfter(pos) == expectedFirstAtOrAfter(off, pos));
}

void compare(const plat::TLineSizes &ls, const Model &m, fuzz::Reader &in, bool full)
{
    const int count = int(m.sizes.size());
    FUZZ_CHECK(ls.Count() == count);
    FUZZ_CHECK(ls.DefaultSize() == m.def);
    FUZZ_CHECK(ls.LineWidth() == m.lineWidth);
    const std::vector<qint64> off = m.offsets();
    FUZZ_CHECK(ls.Total() == off.back());
    if (ls.IsUniform())
        FUZZ_CHECK(std::all_of(m.sizes.begin(), m.sizes.end(), [&](int s) { return s == m.def; }));
    const int step = full ? 1 : std::max(1, count / 16);
    for (int i = 0; i < count; i += step) {
        FUZZ_CHECK(ls.Size(i) == m.sizes[size_t(i)]);
        FUZZ_CHECK(ls.Extent(i) == qint64(m.sizes[size_t(i)]) + m.lineWidth);
        FUZZ_CHECK(ls.Offset(i) == off[size_t(i)]);
        probe(ls, off, off[size_t(i)]);
        probe(ls, off, off[size_t(i)] - 1);
        probe(ls, off, off[size_t(i)] + 1);
    }
    FUZZ_CHECK(ls.Offset(count) == off.back());
    probe(ls, off, off.back());
    probe(ls, off, off.back() - 1);
    probe(ls, off, off.back() + 1);
    probe(ls, off, -1);
    probe(ls, off, 0);
    if (off.back() > 0)
        probe(ls, off, qint64(in.take<uint64_t>() % uint64_t(off.back())));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Reader in(data, size);
    Model m;
    m.def = sizeValue(in);
    m.sizes.assign(size_t(in.take<uint16_t>() % (MaxCount + 1)), m.def);
    plat::TLineSizes ls(m.def, int(m.sizes.size()));
    compare(ls, m, in, true);

    for (int ops = 0; ops < 200 && in.left() > 0; ++ops) {
        const uint8_t op = in.take<uint8_t>();
        switch (op % 6) {
        case 0: {
            const int count = int(in.take<uint16_t>() % (MaxCount + 1));
            ls.SetCount(count);
            m.sizes.resize(size_t(count), m.def);
            break;
        }
        case 1:
            m.def = sizeValue(in);
            ls.SetDefaultSize(m.def);
            m.sizes.assign(m.sizes.size(), m.def);
            break;
        case 2:
            m.lineWidth = (op & 0x80) ? sizeValue(in) : int(op >> 3) % 4;
            ls.SetLineWidth(m.lineWidth);
            break;
        case 3:
        case 4: {
            if (m.sizes.empty())
                break;
            const int i = indexIn(in, int(m.sizes.size()));
            int s = sizeValue(in);
            if (op & 0x80)
                s = -s; // negative sizes count as 0
            ls.SetSize(i, s);
            m.sizes[size_t(i)] = std::max(0, s);
            break;
        }
        default: {
            if (m.sizes.empty())
                break;
            const int from = indexIn(in, int(m.sizes.size()));
            const int to = indexIn(in, int(m.sizes.size()));
            ls.Move(from, to);
            const int v = m.sizes[size_t(from)];
            m.sizes.erase(m.sizes.begin() + from);
            m.sizes.insert(m.sizes.begin() + to, v);
            break;
        }
        }
        compare(ls, m, in, false);
    }
    compare(ls, m, in, true);
    return 0;
}
