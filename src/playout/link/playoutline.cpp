#include "playout/link/playoutline.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// The first c at or after from, or to. Eight characters a step with SSE2, and four a step in
// a word for the rest: one equal to c becomes zero after the XOR, and the lowest high bit the
// subtraction leaves marks the first zero exactly (a borrow only ever runs upwards from it).
qsizetype find(const char16_t* s, qsizetype from, qsizetype to, char16_t c) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi16(static_cast<short>(c));
    for (; to - from >= 8; from += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + from));
        const auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(chunk, wanted)));
        if (hits != 0) {
            return from + std::countr_zero(hits) / 2;
        }
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0001000100010001ULL;
        constexpr std::uint64_t kHighs = 0x8000800080008000ULL;
        const std::uint64_t pattern = kOnes * c;
        for (; to - from >= 4; from += 4) {
            std::uint64_t word = 0;
            std::memcpy(&word, s + from, sizeof word);
            const std::uint64_t x = word ^ pattern;
            const std::uint64_t hits = (x - kOnes) & ~x & kHighs;
            if (hits != 0) {
                return from + std::countr_zero(hits) / 16;
            }
        }
    }
    while (from < to && s[from] != c) {
        ++from;
    }
    return from;
}
} // namespace

PlayoutLine PlayoutLine::Split(QStringView line) {
    // One pass over the line: the two blanks, then the commas between the trimmed ends.
    PlayoutLine p;
    const char16_t* const s = line.utf16();
    const qsizetype n = line.size();
    const qsizetype q = find(s, 0, n, u' ');
    if (q == n) {
        p.verb = line;
        return p;
    }
    p.hasBlank = true;
    p.verb = line.first(q);
    p.rest = line.sliced(q + 1);
    const qsizetype u = find(s, q + 1, n, u' ');
    p.object = line.sliced(q + 1, u - q - 1);
    if (u == n) {
        return p;
    }
    qsizetype from = u;
    qsizetype to = n;
    while (from < to && s[from] == u' ') {
        ++from;
    }
    while (to > from && s[to - 1] == u' ') {
        --to;
    }
    p.parameterText = line.sliced(from, to - from);
    if (from == to) {
        return p;
    }
    // The commas eight characters a step where SSE2 is there, the last step ending at to and
    // leaving out the places already looked at; one by one in a line too short for a step.
    qsizetype field = from;
    qsizetype at = from;
#if defined(__SSE2__)
    const __m128i comma = _mm_set1_epi16(static_cast<short>(u','));
    // Two bits for each comma.
    const auto commas = [&](qsizetype base, unsigned hits) {
        while (hits != 0) {
            const qsizetype found = base + std::countr_zero(hits) / 2;
            p.fields.append(line.sliced(field, found - field));
            field = found + 1;
            hits &= hits - 1;
            hits &= hits - 1;
        }
    };
    const auto hitsAt = [&](qsizetype base) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + base));
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(chunk, comma)));
    };
    for (; to - at >= 8; at += 8) {
        commas(at, hitsAt(at));
    }
    if (at < to && to >= 8) {
        const qsizetype base = to - 8;
        commas(base, hitsAt(base) & (~0U << (2 * (at - base))));
        at = to;
    }
#endif
    for (; at < to; ++at) {
        if (s[at] == u',') {
            p.fields.append(line.sliced(field, at - field));
            field = at + 1;
        }
    }
    p.fields.append(line.sliced(field, to - field));
    return p;
}

QStringView PlayoutLine::FieldsFrom(qsizetype first) const {
    if (first >= fields.size()) {
        return {};
    }
    const qsizetype start = fields.at(first).data() - parameterText.data();
    return parameterText.mid(start);
}

QStringView TrimBlanks(QStringView text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == QLatin1Char(' ')) {
        ++from;
    }
    while (to > from && text.at(to - 1) == QLatin1Char(' ')) {
        --to;
    }
    return text.mid(from, to - from);
}
