#include "xertext.h"

#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace xer {

namespace {

// Code points of 0x80..0x9F in Windows-1252. The five bytes the code page
// leaves undefined map to the C1 control of the same value, as Windows does.
const ushort kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

bool isAscii(const char *data, int size)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    int i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (word & 0x8080808080808080ULL)
            return false;
    }
    for (; i < size; ++i) {
        if (p[i] & 0x80)
            return false;
    }
    return true;
}

bool isValidUtf8(const char *data, int size)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    int i = 0;
    while (i < size) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            for (++i; i + 8 <= size; i += 8) {
                std::uint64_t word;
                std::memcpy(&word, p + i, 8);
                if (word & 0x8080808080808080ULL)
                    break;
            }
            continue;
        }
        int length;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0; // overlong
            else if (c == 0xED)
                high = 0x9F; // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90; // overlong
            else if (c == 0xF4)
                high = 0x8F; // above U+10FFFF
        } else {
            return false;
        }
        if (size - i < length)
            return false;
        if (p[i + 1] < low || p[i + 1] > high)
            return false;
        for (int k = 2; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

QString fromWindows1252(const char *data, int size)
{
    QString text(size, Qt::Uninitialized);
    fromWindows1252(data, size, reinterpret_cast<ushort *>(text.data()));
    return text;
}

void fromWindows1252(const char *data, int size, ushort *out)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    for (int i = 0; i < size; ++i) {
        const unsigned char c = p[i];
        out[i] = (c >= 0x80 && c <= 0x9F) ? kWindows1252High[c - 0x80] : ushort(c);
    }
}

void fromLatin1(const char *data, int size, ushort *out)
{
    int i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= size; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_unpacklo_epi8(chunk, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i + 8), _mm_unpackhi_epi8(chunk, zero));
    }
#endif
    for (; i < size; ++i)
        out[i] = static_cast<unsigned char>(data[i]);
}

bool findTabs(const char *data, int size, std::vector<int> &tabs)
{
    tabs.clear();
    unsigned high = 0;
    int i = 0;
#ifdef __SSE2__
    const __m128i tab = _mm_set1_epi8('\t');
    for (; i + 16 <= size; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        high |= unsigned(_mm_movemask_epi8(chunk));
        for (unsigned hits = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, tab))); hits; hits &= hits - 1)
            tabs.push_back(i + __builtin_ctz(hits));
    }
#endif
    for (; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        high |= c & 0x80;
        if (c == '\t')
            tabs.push_back(i);
    }
    return high == 0;
}

void findTabs(const QString &text, std::vector<int> &tabs)
{
    tabs.clear();
    const ushort *data = text.utf16();
    const int size = text.size();
    int i = 0;
#ifdef __SSE2__
    const __m128i tab = _mm_set1_epi16('\t');
    for (; i + 8 <= size; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        // Two mask bits per 16-bit unit; keep the even ones.
        unsigned hits = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(chunk, tab))) & 0x5555u;
        for (; hits; hits &= hits - 1)
            tabs.push_back(i + __builtin_ctz(hits) / 2);
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == '\t')
            tabs.push_back(i);
    }
}

QString decodeLine(const char *data, int size)
{
    QString text(size, Qt::Uninitialized);
    std::vector<int> tabs;
    text.resize(decodeLine(data, size, reinterpret_cast<ushort *>(text.data()), tabs));
    return text;
}

int decodeLine(const char *data, int size, ushort *out, std::vector<int> &tabs)
{
    if (findTabs(data, size, tabs)) {
        fromLatin1(data, size, out);
        return size;
    }
    if (!isValidUtf8(data, size)) {
        fromWindows1252(data, size, out);
        return size;
    }
    // Checked already, so every sequence is whole and well formed.
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    int written = 0;
    std::size_t nextTab = 0;
    // A leading byte-order mark is dropped, as QString::fromUtf8 does.
    const int start = size >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF ? 3 : 0;
    for (int i = start; i < size;) {
#ifdef __SSE2__
        // Most of a line is ASCII even when a name in it is not.
        if (i + 16 <= size) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            if (_mm_movemask_epi8(chunk) == 0) {
                const __m128i zero = _mm_setzero_si128();
                _mm_storeu_si128(reinterpret_cast<__m128i *>(out + written), _mm_unpacklo_epi8(chunk, zero));
                _mm_storeu_si128(reinterpret_cast<__m128i *>(out + written + 8), _mm_unpackhi_epi8(chunk, zero));
                const __m128i tab = _mm_set1_epi8('\t');
                for (unsigned hits = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, tab))); hits; hits &= hits - 1)
                    tabs[nextTab++] = written + __builtin_ctz(hits);
                i += 16;
                written += 16;
                continue;
            }
        }
#endif
        const unsigned c = p[i];
        if (c < 0x80) {
            if (c == '\t')
                tabs[nextTab++] = written;
            out[written++] = ushort(c);
            i += 1;
        } else if (c < 0xE0) {
            out[written++] = ushort((c & 0x1F) << 6 | (p[i + 1] & 0x3F));
            i += 2;
        } else if (c < 0xF0) {
            out[written++] = ushort((c & 0x0F) << 12 | (p[i + 1] & 0x3F) << 6 | (p[i + 2] & 0x3F));
            i += 3;
        } else {
            const uint code = (c & 0x07) << 18 | (p[i + 1] & 0x3F) << 12 | (p[i + 2] & 0x3F) << 6 | (p[i + 3] & 0x3F);
            out[written++] = QChar::highSurrogate(code);
            out[written++] = QChar::lowSurrogate(code);
            i += 4;
        }
    }
    return written;
}

} // namespace xer
