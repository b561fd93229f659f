#include "platform/system/movewithoutreplacing.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

MoveResult MoveWithoutReplacing(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0) {
        return MoveResult::Moved;
    }
    if (errno == EEXIST) {
        return MoveResult::TargetExists;
    }
    // Some network file systems know no such rename; a hard link is as safe where it works.
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return MoveResult::Moved;
    }
    if (errno == EEXIST) {
        return MoveResult::TargetExists;
    }
    // Knowing neither: a plain rename after a look, which leaves a moment for a race.
    if (QFileInfo::exists(to)) {
        return MoveResult::TargetExists;
    }
    return ::rename(source.constData(), target.constData()) == 0 ? MoveResult::Moved
                                                                 : MoveResult::Failed;
}

namespace {
// A maker killed before it could clean up leaves its scratch file beside the shared one; the
// next maker takes away those old enough that no computer can still be making them.
constexpr qint64 kLeftoverAgeSeconds = 3600;

void removeLeftovers(const QString& file) {
    const QFileInfo shared(file);
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-kLeftoverAgeSeconds);
    const QFileInfoList entries = shared.absoluteDir().entryInfoList(
        {shared.fileName() + QStringLiteral(".new-*")},
        QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QFileInfo& entry : entries) {
        if (entry.isFile() && !entry.isSymLink() && entry.lastModified().toUTC() < before) {
            QFile::remove(entry.absoluteFilePath());
        }
    }
}
} // namespace

MakeResult MakeInPlace(const QString& file, const std::function<bool(const QString&)>& make) {
    removeLeftovers(file);
    // A name of its own beside the file, so that the move into place stays on one file system.
    const QString draft =
        file + QStringLiteral(".new-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const bool whole = make(draft);
    const MoveResult moved = whole ? MoveWithoutReplacing(draft, file) : MoveResult::Failed;
    if (moved != MoveResult::Moved) {
        QFile::remove(draft);
        QFile::remove(draft + QStringLiteral("-journal"));
    }
    switch (moved) {
    case MoveResult::Moved:
        return MakeResult::Made;
    case MoveResult::TargetExists:
        return MakeResult::MadeElsewhere;
    case MoveResult::Failed:
        break;
    }
    return whole ? MakeResult::NotNamed : MakeResult::NotMade;
}
