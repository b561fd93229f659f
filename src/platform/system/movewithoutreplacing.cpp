#include "platform/system/movewithoutreplacing.h"

#include <QFile>
#include <QFileInfo>

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
