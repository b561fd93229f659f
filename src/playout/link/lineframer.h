#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <vector>

// Cuts the received byte stream into lines. Each chunk is taken as it was read: inside it a
// CR LF pair and a lone LF count as CR, so CR, LF and CR LF each end a line, LF CR ends two,
// and a CR LF pair split between two chunks ends a line and then an empty one. Lines are
// framed as bytes, before any text is decoded.
//
// A chunk is scanned once, when it is appended; its lines are then handed out as views into
// the chunk itself, which the framer holds (shared, not copied) until they are all taken.
// Only a line that runs over the end of a chunk is copied, to be joined with its end.
//
// A line longer than kMaxLineBytes is dropped whole and framing goes on after its end, so
// the framer never holds more than that of an unended line.
class LineFramer {
public:
    static constexpr qsizetype kMaxLineBytes = qsizetype(1) << 20;

    void Append(const QByteArray& chunk);
    void Append(const char* data, qsizetype size) { Append(QByteArray(data, size)); }

    // Takes the oldest complete line out of the framer (before the caller handles it, so a
    // nested read never sees it again). The view stays valid until the next call of any
    // member. False when no complete line is waiting.
    bool TakeLine(QByteArrayView& line);
    // The same, copied.
    bool TakeLine(QByteArray& line);

    // A complete line is waiting.
    bool HasLine() const { return next_ < lines_.size(); }

    void Clear();
    // Bytes held, the complete lines (each with one byte for its end) and the unended one.
    qsizetype Size() const;
    qsizetype DroppedLines() const { return droppedLines_; }

private:
    void lineEnds(const QByteArray& chunk, const char* data, qsizetype size, bool& chunkHeld);
    void lineRuns(const char* data, qsizetype size);
    void drop();
    void release();

    // The buffers the waiting lines point into: whole chunks and joined lines.
    QList<QByteArray> held_;
    std::vector<QByteArrayView> lines_;
    std::size_t next_ = 0;
    // The unended line, from chunks already scanned.
    QByteArray partial_;
    // The unended line grew too long and the rest of it is being skipped.
    bool skipping_ = false;
    qsizetype droppedLines_ = 0;
};
