#include "pdtextsorter.h"

#include <algorithm>
#include <vector>

namespace {

// Eight units of a text from an offset, packed so that integer order is unit order, and how many
// units the text still has from there (9 standing for "more than eight"). Units past the end
// count as 0; the count then tells "A" from "A" followed by a 0 unit.
struct Record
{
    quint64 high = 0;
    quint64 low = 0;
    int remaining = 0;
    int index = 0;
};

constexpr int ChunkUnits = 8;
// Past this many equal units a range is finished by plain comparisons, so a crowd of long equal
// texts costs a comparison sort, not one pass per eight units.
constexpr int ChunkedDepth = 64;

void load(Record& record, const QString& text, int offset)
{
    const int size = text.size();
    const ushort* units = text.utf16();
    record.high = 0;
    record.low = 0;
    for (int i = 0; i < 4; ++i)
        record.high = (record.high << 16) | (offset + i < size ? units[offset + i] : 0u);
    for (int i = 4; i < ChunkUnits; ++i)
        record.low = (record.low << 16) | (offset + i < size ? units[offset + i] : 0u);
    record.remaining = qBound(0, size - offset, ChunkUnits + 1);
}

bool tied(const Record& a, const Record& b)
{
    return a.high == b.high && a.low == b.low && a.remaining == b.remaining;
}

bool less(const Record& a, const Record& b)
{
    if (a.high != b.high)
        return a.high < b.high;
    if (a.low != b.low)
        return a.low < b.low;
    if (a.remaining != b.remaining)
        return a.remaining < b.remaining;
    return a.index < b.index;
}

} // namespace

void PdTextSorter::sort(const QVector<QString>& texts, QVector<int>& order)
{
    const int n = order.size();
    std::vector<Record> records(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        records[size_t(i)].index = order.at(i);
        load(records[size_t(i)], texts.at(order.at(i)), 0);
    }
    // Ranges whose records tie on every unit so far, with the offset of their next eight units;
    // a stack instead of recursion, since the depth follows the data.
    struct Range
    {
        int begin;
        int end;
        int offset;
    };
    std::vector<Range> pending{{0, n, 0}};
    while (!pending.empty()) {
        const Range range = pending.back();
        pending.pop_back();
        const auto first = records.begin() + range.begin;
        const auto last = records.begin() + range.end;
        if (range.offset >= ChunkedDepth) {
            std::sort(first, last, [&texts](const Record& a, const Record& b) {
                const int c = texts.at(a.index).compare(texts.at(b.index));
                return c != 0 ? c < 0 : a.index < b.index;
            });
            continue;
        }
        if (range.offset > 0) {
            for (auto it = first; it != last; ++it)
                load(*it, texts.at(it->index), range.offset);
        }
        std::sort(first, last, less);
        for (int i = range.begin; i < range.end;) {
            int j = i + 1;
            while (j < range.end && tied(records[size_t(i)], records[size_t(j)]))
                ++j;
            if (j - i > 1 && records[size_t(i)].remaining > ChunkUnits)
                pending.push_back({i, j, range.offset + ChunkUnits});
            i = j;
        }
    }
    for (int i = 0; i < n; ++i)
        order[i] = records[size_t(i)].index;
}
