#include "platform/system/replacefile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {
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
} // namespace

bool ReplaceFileContents(const QString& path, const QByteArray& bytes, QString* error) {
    const QFileInfo target(path);
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
