#include "platform/support/supportarchive.h"

#include <QDateTime>
#include <QFile>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>

namespace {
struct EntryFree {
    void operator()(archive_entry* e) const { archive_entry_free(e); }
};
constexpr qint64 kPiece = 256 * 1024;
} // namespace

void SupportArchive::Closer::operator()(archive* a) const {
    archive_write_free(a);
}

SupportArchive::SupportArchive() = default;
SupportArchive::~SupportArchive() = default;

bool SupportArchive::fail(const QString& why) {
    error_ = why;
    if (handle_ && archive_error_string(handle_.get()) != nullptr) {
        error_ += QStringLiteral(": ") + QString::fromUtf8(archive_error_string(handle_.get()));
    }
    handle_.reset(); // a half-written entry leaves nothing worth finishing
    return false;
}

bool SupportArchive::Open(const QString& filePath) {
    error_.clear();
    handle_.reset(archive_write_new());
    if (!handle_) {
        return fail(QStringLiteral("the archive could not be started"));
    }
    if (archive_write_set_format_zip(handle_.get()) != ARCHIVE_OK ||
        archive_write_set_options(handle_.get(), "zip:compression=deflate") != ARCHIVE_OK) {
        return fail(QStringLiteral("the ZIP format could not be chosen"));
    }
    // Made empty and owner-only before libarchive opens it, so no other user can read it even
    // while it is being written.
    {
        QFile f(filePath);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            error_ = QStringLiteral("'%1' could not be written: %2").arg(filePath, f.errorString());
            handle_.reset();
            return false;
        }
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    if (archive_write_open_filename(handle_.get(), QFile::encodeName(filePath).constData()) !=
        ARCHIVE_OK) {
        return fail(QStringLiteral("'%1' could not be written").arg(filePath));
    }
    return true;
}

bool SupportArchive::writeHeader(const QString& entryName, qint64 size) {
    std::unique_ptr<archive_entry, EntryFree> entry(archive_entry_new());
    archive_entry_set_pathname_utf8(entry.get(), entryName.toUtf8().constData());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0600);
    archive_entry_set_size(entry.get(), size);
    archive_entry_set_mtime(entry.get(), QDateTime::currentSecsSinceEpoch(), 0);
    if (archive_write_header(handle_.get(), entry.get()) != ARCHIVE_OK) {
        return fail(QStringLiteral("'%1' could not be added").arg(entryName));
    }
    return true;
}

bool SupportArchive::AddBytes(const QString& entryName, const QByteArray& bytes) {
    if (!handle_) {
        return fail(QStringLiteral("the archive is not open"));
    }
    if (!writeHeader(entryName, bytes.size())) {
        return false;
    }
    if (!bytes.isEmpty() && archive_write_data(handle_.get(), bytes.constData(),
                                               static_cast<size_t>(bytes.size())) < 0) {
        return fail(QStringLiteral("'%1' could not be written").arg(entryName));
    }
    return true;
}

bool SupportArchive::AddFile(const QString& entryName, const QString& sourcePath,
                             const PieceWritten& written) {
    if (!handle_) {
        return fail(QStringLiteral("the archive is not open"));
    }
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        error_ = source.errorString();
        return false; // the archive itself is still sound
    }
    // A log still being written may grow meanwhile: the entry holds what was there at the start.
    const qint64 size = source.size();
    if (!writeHeader(entryName, size)) {
        return false;
    }
    QByteArray piece;
    for (qint64 done = 0; done < size; done += piece.size()) {
        piece = source.read(std::min(kPiece, size - done));
        if (piece.isEmpty()) {
            return fail(
                QStringLiteral("'%1' could not be read: %2").arg(sourcePath, source.errorString()));
        }
        if (archive_write_data(handle_.get(), piece.constData(),
                               static_cast<size_t>(piece.size())) < 0) {
            return fail(QStringLiteral("'%1' could not be written").arg(entryName));
        }
        if (written && !written(piece.size())) {
            error_ = QStringLiteral("stopped");
            handle_.reset();
            return false;
        }
    }
    return true;
}

bool SupportArchive::Close() {
    if (!handle_) {
        return fail(QStringLiteral("the archive is not open"));
    }
    if (archive_write_close(handle_.get()) != ARCHIVE_OK) {
        return fail(QStringLiteral("the archive could not be finished"));
    }
    handle_.reset();
    return true;
}
