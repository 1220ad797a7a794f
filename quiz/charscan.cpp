#include "charscan.h"

#include <QtAlgorithms>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The first index at or after from of a lone line break, or, with
// AlsoChar, of c.
template<bool AlsoChar>
qsizetype findLoneBreak(QStringView text, qsizetype from, char16_t c)
{
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    auto hit = [p, n, c](qsizetype i) {
        return (AlsoChar && p[i] == c) || (p[i] == u'\r' && (i + 1 == n || p[i + 1] != u'\n')) ||
               (p[i] == u'\n' && (i == 0 || p[i - 1] != u'\r'));
    };
    qsizetype i = std::max<qsizetype>(from, 0);
    if (i == 0 && n > 0 && hit(0))
        return 0;
    i = std::max<qsizetype>(i, 1);
#if defined(__SSE2__)
    // Each block of eight is compared with its neighbours one to the left
    // (for the CR before an LF) and one to the right (for the LF after a CR).
    const __m128i cr = _mm_set1_epi16(short(u'\r'));
    const __m128i lf = _mm_set1_epi16(short(u'\n'));
    const __m128i wanted = _mm_set1_epi16(short(c));
    for (; i + 9 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i - 1));
        const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + 1));
        const __m128i loneCr = _mm_andnot_si128(_mm_cmpeq_epi16(after, lf), _mm_cmpeq_epi16(v, cr));
        const __m128i loneLf = _mm_andnot_si128(_mm_cmpeq_epi16(before, cr), _mm_cmpeq_epi16(v, lf));
        __m128i found = _mm_or_si128(loneCr, loneLf);
        if (AlsoChar)
            found = _mm_or_si128(found, _mm_cmpeq_epi16(v, wanted));
        const int mask = _mm_movemask_epi8(found);
        if (mask)
            return i + qCountTrailingZeroBits(uint(mask)) / 2;
    }
#endif
    for (; i < n; ++i)
        if (hit(i))
            return i;
    return -1;
}

} // namespace

qsizetype indexOfLoneBreak(QStringView text, qsizetype from)
{
    return findLoneBreak<false>(text, from, 0);
}

qsizetype indexOfCharOrLoneBreak(QStringView text, qsizetype from, char16_t c)
{
    return findLoneBreak<true>(text, from, c);
}

qsizetype indexOfControlNonAsciiOrBang(QByteArrayView text, qsizetype from)
{
    const auto *p = reinterpret_cast<const uchar *>(text.data());
    const qsizetype n = text.size();
    qsizetype i = std::max<qsizetype>(from, 0);
#if defined(__SSE2__)
    // Compared as signed numbers, the bytes above 0x7F are negative and so
    // below 0x20 as well. Each block is also compared with the block one to
    // the right, for the "!" after a "<".
    const __m128i space = _mm_set1_epi8(0x20);
    const __m128i lt = _mm_set1_epi8('<');
    const __m128i bang = _mm_set1_epi8('!');
    for (; i + 17 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + 1));
        const __m128i markup = _mm_and_si128(_mm_cmpeq_epi8(v, lt), _mm_cmpeq_epi8(next, bang));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmplt_epi8(v, space), markup));
        if (mask)
            return i + qCountTrailingZeroBits(uint(mask));
    }
#endif
    for (; i < n; ++i)
        if (p[i] < 0x20 || p[i] > 0x7F || (p[i] == '<' && i + 1 < n && p[i + 1] == '!'))
            return i;
    return -1;
}

qsizetype indexOfAnyOrNonLatin1(QStringView text, qsizetype from, char16_t a, char16_t b, char16_t c)
{
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = std::max<qsizetype>(from, 0);
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi16(short(a));
    const __m128i vb = _mm_set1_epi16(short(b));
    const __m128i vc = _mm_set1_epi16(short(c));
    const __m128i high = _mm_set1_epi16(short(0xFF00));
    const __m128i zero = _mm_setzero_si128();
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const __m128i latin1 = _mm_cmpeq_epi16(_mm_and_si128(v, high), zero);
        const __m128i wanted = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, va), _mm_cmpeq_epi16(v, vb)), _mm_cmpeq_epi16(v, vc));
        const int mask = _mm_movemask_epi8(_mm_or_si128(wanted, _mm_andnot_si128(latin1, _mm_set1_epi16(-1))));
        if (mask)
            return i + qCountTrailingZeroBits(uint(mask)) / 2;
    }
#endif
    for (; i < n; ++i)
        if (p[i] == a || p[i] == b || p[i] == c || p[i] > 0xFF)
            return i;
    return -1;
}
