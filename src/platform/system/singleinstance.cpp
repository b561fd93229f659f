#include "platform/system/singleinstance.h"

#include "platform/system/folders.h"
#include "platform/system/platformlog.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

SingleInstance::SingleInstance(QString lockPath) : path_(std::move(lockPath)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::LockFileName(const QString& hostName) {
    // The host name goes into a file name: only characters that cannot leave the folder.
    QString safe;
    for (const QChar c : hostName) {
        if ((c.isLetterOrNumber() && c.unicode() < 128) || c == QLatin1Char('-') ||
            c == QLatin1Char('_') || c == QLatin1Char('.')) {
            safe.append(c);
        }
    }
    if (safe.isEmpty() || safe.startsWith(QLatin1Char('.'))) {
        safe.prepend(QStringLiteral("host"));
    }
    return QStringLiteral("orlix-%1.lock").arg(safe.left(64));
}

QString SingleInstance::DefaultLockPath() {
    // One lock for each computer: a user folder shared between studio computers must not
    // keep the second computer from starting.
    return Folders::UserState() + QStringLiteral("/Kestova/Orlix/") +
           LockFileName(QSysInfo::machineHostName());
}

bool SingleInstance::AnotherCopyRuns() {
    if (asked_) {
        return another_;
    }
    asked_ = true;
    QDir().mkpath(QFileInfo(path_).absolutePath());
    lock_ = std::make_unique<QLockFile>(path_);
    // Only a lock whose process is gone counts as stale, however old it is: a copy that has
    // run for days still holds it.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        another_ = false;
        return another_;
    }
    if (lock_->error() == QLockFile::LockFailedError) {
        another_ = true;
    } else {
        // The lock cannot be made at all (no folder, no rights): do not keep the studio from
        // starting because of it.
        PlatformLog(QStringLiteral("The single-instance lock '%1' could not be made.").arg(path_));
        another_ = false;
    }
    lock_.reset();
    return another_;
}
