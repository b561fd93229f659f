#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

struct archive;

// A ZIP file written entry by entry as it is made, so a large database copy is streamed from
// its file and never held whole in memory. The file is made readable by its owner only: it
// carries the station's settings and copies of its data.
class SupportArchive {
public:
    SupportArchive();
    ~SupportArchive();
    SupportArchive(const SupportArchive&) = delete;
    SupportArchive& operator=(const SupportArchive&) = delete;

    bool Open(const QString& filePath);
    bool AddBytes(const QString& entryName, const QByteArray& bytes);
    // Told the bytes of each piece written; false stops the archive (it is closed unfinished).
    using PieceWritten = std::function<bool(qint64 bytes)>;

    // Copies a file in pieces. False with the reason in Error; the archive stays open when only
    // the file could not be opened.
    bool AddFile(const QString& entryName, const QString& sourcePath,
                 const PieceWritten& written = {});
    // Writes the central directory; the archive is complete only after this.
    bool Close();
    bool IsOpen() const { return handle_ != nullptr; }
    QString Error() const { return error_; }

private:
    struct Closer {
        void operator()(archive* a) const;
    };
    bool writeHeader(const QString& entryName, qint64 size);
    bool fail(const QString& why);

    std::unique_ptr<archive, Closer> handle_;
    QString error_;
};
