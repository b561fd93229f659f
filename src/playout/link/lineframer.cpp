#include "playout/link/lineframer.h"

#include "core/debuglog.h"

#include <algorithm>

void LineFramer::Append(const char* data, qsizetype size) {
    const char* p = data;
    const char* const end = data + size;
    while (p < end) {
        const char* q = std::find_if(p, end, [](char c) { return c == '\r' || c == '\n'; });
        appendRun(p, q - p);
        if (q == end) {
            break;
        }
        q += (*q == '\r' && q + 1 < end && q[1] == '\n') ? 2 : 1;
        endLine();
        p = q;
    }
}

void LineFramer::appendRun(const char* data, qsizetype size) {
    if (skipping_ || size == 0) {
        return;
    }
    if (partialSize_ + size > kMaxLineBytes) {
        buffer_.truncate(buffer_.size() - partialSize_);
        partialSize_ = 0;
        skipping_ = true;
        ++droppedLines_;
        DebugLog(QStringLiteral("Playout line longer than %1 bytes dropped").arg(kMaxLineBytes), 5);
        return;
    }
    buffer_.append(data, size);
    partialSize_ += size;
}

void LineFramer::endLine() {
    if (skipping_) {
        skipping_ = false;
        return;
    }
    buffer_.append('\r');
    partialSize_ = 0;
    ++completeLines_;
}

bool LineFramer::TakeLine(QByteArray& line) {
    if (completeLines_ == 0) {
        // Keep only the unended line, so taken bytes do not pile up.
        if (head_ > 0) {
            buffer_.remove(0, head_);
            head_ = 0;
        }
        return false;
    }
    const qsizetype at = buffer_.indexOf('\r', head_);
    if (at < 0) { // cannot happen while the count is right; never read past the buffer
        completeLines_ = 0;
        return false;
    }
    line = buffer_.mid(head_, at - head_);
    head_ = at + 1;
    --completeLines_;
    if (head_ == buffer_.size()) {
        buffer_.truncate(0); // keeps the allocation for the next chunk
        head_ = 0;
    }
    return true;
}

void LineFramer::Clear() {
    buffer_.clear();
    head_ = 0;
    completeLines_ = 0;
    partialSize_ = 0;
    skipping_ = false;
}
