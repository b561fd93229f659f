#pragma once

#include <QByteArray>

// Cuts the received byte stream into lines. Each chunk is taken as it was read: inside it a
// CR LF pair and a lone LF count as CR, so CR, LF and CR LF each end a line, LF CR ends two,
// and a CR LF pair split between two chunks ends a line and then an empty one. Lines are
// framed as bytes, before any text is decoded.
//
// A line longer than kMaxLineBytes is dropped whole and framing goes on after its end, so
// the buffer never holds more than that of an unended line.
class LineFramer {
public:
    static constexpr qsizetype kMaxLineBytes = qsizetype(1) << 20;

    void Append(const char* data, qsizetype size);
    void Append(const QByteArray& chunk) { Append(chunk.constData(), chunk.size()); }

    // Takes the oldest complete line out of the buffer (before the caller handles it, so a
    // nested read never sees it again). False when no complete line is waiting.
    bool TakeLine(QByteArray& line);

    void Clear();
    // Bytes held, complete lines and the unended one together.
    qsizetype Size() const { return buffer_.size() - head_; }
    qsizetype DroppedLines() const { return droppedLines_; }

private:
    void appendRun(const char* data, qsizetype size);
    void endLine();

    // Complete lines, each ended by CR, then the unended line. Bytes before head_ are taken.
    QByteArray buffer_;
    qsizetype head_ = 0;
    qsizetype completeLines_ = 0;
    qsizetype partialSize_ = 0;
    // The unended line grew too long and the rest of it is being skipped.
    bool skipping_ = false;
    qsizetype droppedLines_ = 0;
};
