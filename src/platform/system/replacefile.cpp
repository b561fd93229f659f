#include "platform/system/replacefile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr qint64 kLeftoverAgeSeconds = 3600;

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

QFileDevice::Permissions permissionsForNewFile() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const mode_t mode = 0666 & ~mask;
    QFileDevice::Permissions p;
    const std::pair<mode_t, QFileDevice::Permission> bits[] = {
        {S_IRUSR, QFileDevice::ReadOwner}, {S_IWUSR, QFileDevice::WriteOwner},
        {S_IRGRP, QFileDevice::ReadGroup}, {S_IWGRP, QFileDevice::WriteGroup},
        {S_IROTH, QFileDevice::ReadOther}, {S_IWOTH, QFileDevice::WriteOther}};
    for (const auto& [bit, permission] : bits) {
        if ((mode & bit) != 0) {
            p |= permission;
        }
    }
    return p;
}
// A save killed before its rename leaves its temporary file for good; the next save in the
// folder takes away those old enough that no save can still be writing them.
void removeLeftovers(const QString& folder) {
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-kLeftoverAgeSeconds);
    const QFileInfoList entries = QDir(folder).entryInfoList(
        {QStringLiteral(".~??????")}, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QFileInfo& entry : entries) {
        if (entry.isFile() && !entry.isSymLink() && entry.lastModified().toUTC() < before) {
            QFile::remove(entry.absoluteFilePath());
        }
    }
}
} // namespace

bool ReplaceFileContents(const QString& path, const QByteArray& bytes, QString* error) {
    const QFileInfo target(path);
    removeLeftovers(target.absolutePath());
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.~XXXXXX"));
    temp.setAutoRemove(true);
    auto fail = [&](const QString& reason) {
        if (error != nullptr) {
            *error = reason;
        }
        return false;
    };
    if (!temp.open()) {
        return fail(temp.errorString());
    }
    if (temp.write(bytes) != bytes.size() || !temp.flush()) {
        return fail(temp.errorString());
    }
    if (::fsync(temp.handle()) != 0) {
        return fail(systemReason());
    }
    const QFileDevice::Permissions permissions =
        target.exists() ? QFile::permissions(path) : permissionsForNewFile();
    if (!temp.setPermissions(permissions)) {
        return fail(temp.errorString());
    }
    temp.close();
    if (std::rename(QFile::encodeName(temp.fileName()).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        return fail(systemReason());
    }
    temp.setAutoRemove(false);
    return true;
}
