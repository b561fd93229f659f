#include "platform/system/filesystemhelper.h"

#include "platform/system/folders.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

QString FileSystemHelper::SpecialFolderPath(int /*folderId*/) {
    return Folders::CommonData();
}

bool FileSystemHelper::CreateFolder(const QString& path, int /*mode*/) {
    if (path.trimmed().isEmpty()) {
        return false;
    }
    QDir().mkpath(path);
    return QFileInfo(path).isDir();
}

QString FileSystemHelper::FolderCreationError(const QString& path) {
    QFileInfo info(path);
    if (info.exists() && !info.isDir()) {
        return QString::fromLocal8Bit(std::strerror(ENOTDIR));
    }
    QString missing = QDir::cleanPath(path);
    while (true) {
        const QString parent = QFileInfo(missing).path();
        if (parent == missing || QFileInfo(parent).exists()) {
            break;
        }
        missing = parent;
    }
    errno = 0;
    if (::mkdir(QFile::encodeName(missing).constData(), 0777) == 0) {
        ::rmdir(QFile::encodeName(missing).constData());
        return QStringLiteral("the folder could not be made");
    }
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool FileSystemHelper::FileExists(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

bool FileSystemHelper::FolderExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool FileSystemHelper::GetFileTimes(const QString& path, qint64& created, qint64& modified,
                                    qint64& accessed) {
    created = modified = accessed = 0;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        return false;
    }
    // Whole seconds: the stored date of a file is kept in seconds, and a file that has not
    // changed must compare equal to it.
    const QDateTime birth = info.birthTime();
    modified = info.lastModified().toSecsSinceEpoch();
    created = birth.isValid() ? birth.toSecsSinceEpoch() : modified;
    accessed = info.lastRead().toSecsSinceEpoch();
    return true;
}

double FileSystemHelper::FileSize(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || info.isDir()) {
        return -1;
    }
    return static_cast<double>(info.size());
}

QString FileSystemHelper::FileNameOfPath(const QString& path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p.mid(p.lastIndexOf(QLatin1Char('/')) + 1);
}

QString FileSystemHelper::FileExtension(const QString& path) {
    const QString name = FileNameOfPath(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString FileSystemHelper::FileTitle(const QString& path) {
    const QString name = FileNameOfPath(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString FileSystemHelper::FolderOfPath(const QString& path, int /*mode*/) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const qsizetype slash = p.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) {
        return {};
    }
    if (slash == 0) {
        return QStringLiteral("/");
    }
    return p.left(slash);
}

qint32 FileSystemHelper::DeleteFileWithProgress(const QString& path, const QString& /*caption*/,
                                                bool allowUndo, QString* reason) {
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0) {
        const int err = errno;
        if (reason != nullptr) {
            *reason = QString::fromLocal8Bit(std::strerror(err));
        }
        return err;
    }
    if (allowUndo && QFile::moveToTrash(path)) {
        return 0;
    }
    if (::unlink(native.constData()) != 0) {
        const int err = errno;
        if (reason != nullptr) {
            *reason = QString::fromLocal8Bit(std::strerror(err));
        }
        return err;
    }
    return 0;
}
