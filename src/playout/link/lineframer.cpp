#include "playout/link/lineframer.h"

#include "core/debuglog.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// The first CR or LF at or after p, or end. Sixteen bytes a step with SSE2, and eight a step in
// a word for the rest: a byte equal to the one looked for becomes zero after the XOR, and the
// lowest high bit left by the subtraction marks the first zero byte exactly (a borrow only ever
// runs upwards from it).
const char* findLineEnd(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const auto hits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf))));
        if (hits != 0) {
            return p + std::countr_zero(hits);
        }
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
        while (end - p >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, p, sizeof word);
            const std::uint64_t cr = word ^ (kOnes * '\r');
            const std::uint64_t lf = word ^ (kOnes * '\n');
            const std::uint64_t hits = (((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHighs;
            if (hits != 0) {
                return p + std::countr_zero(hits) / 8;
            }
            p += 8;
        }
    }
    while (p < end && *p != '\r' && *p != '\n') {
        ++p;
    }
    return p;
}
} // namespace

void LineFramer::Append(const QByteArray& chunk) {
    if (chunk.capacity() == 0 && !chunk.isEmpty()) {
        // Raw data the caller owns (no allocation of its own): lines must not point into it
        // after this call.
        Append(QByteArray(chunk.constData(), chunk.size()));
        return;
    }
    // Lines still waiting keep their buffers; otherwise the last chunk's can go.
    if (next_ == lines_.size()) {
        release();
    }
    const char* p = chunk.constData();
    const char* const end = p + chunk.size();
    bool chunkHeld = false;
    while (p < end) {
        const char* q = findLineEnd(p, end);
        if (q == end) {
            lineRuns(p, q - p);
            break;
        }
        lineEnds(chunk, p, q - p, chunkHeld);
        q += (*q == '\r' && q + 1 < end && q[1] == '\n') ? 2 : 1;
        p = q;
    }
}

void LineFramer::lineEnds(const QByteArray& chunk, const char* data, qsizetype size,
                          bool& chunkHeld) {
    if (skipping_) { // the end of a line already dropped
        skipping_ = false;
        return;
    }
    if (!partial_.isEmpty()) {
        if (partial_.size() + size > kMaxLineBytes) {
            drop();
            skipping_ = false;
            return;
        }
        QByteArray joined = std::exchange(partial_, QByteArray());
        joined.append(data, size);
        held_.append(std::move(joined));
        lines_.emplace_back(held_.constLast());
        return;
    }
    if (size > kMaxLineBytes) {
        drop();
        skipping_ = false;
        return;
    }
    if (!chunkHeld) {
        held_.append(chunk);
        chunkHeld = true;
    }
    lines_.emplace_back(data, size);
}

void LineFramer::lineRuns(const char* data, qsizetype size) {
    if (skipping_ || size == 0) {
        return;
    }
    if (partial_.size() + size > kMaxLineBytes) {
        drop();
        return;
    }
    partial_.append(data, size);
}

void LineFramer::drop() {
    partial_.clear();
    skipping_ = true;
    ++droppedLines_;
    DebugLog(QStringLiteral("Playout line longer than %1 bytes dropped").arg(kMaxLineBytes), 5);
}

bool LineFramer::TakeLine(QByteArrayView& line) {
    if (next_ == lines_.size()) {
        // The caller is done with the last line: its buffer can go.
        release();
        return false;
    }
    line = lines_[next_++];
    return true;
}

bool LineFramer::TakeLine(QByteArray& line) {
    QByteArrayView view;
    if (!TakeLine(view)) {
        return false;
    }
    line = view.toByteArray();
    return true;
}

void LineFramer::release() {
    held_.clear(); // keeps the list's own allocation for the next chunk
    lines_.clear();
    next_ = 0;
}

void LineFramer::Clear() {
    release();
    partial_.clear();
    skipping_ = false;
}

qsizetype LineFramer::Size() const {
    qsizetype size = partial_.size();
    for (std::size_t i = next_; i < lines_.size(); ++i) {
        size += lines_[i].size() + 1;
    }
    return size;
}
