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

namespace {
// The user's own trash, made when missing: $XDG_DATA_HOME/Trash, by default under
// ~/.local/share. Without an absolute home there is none; the trash of the file's volume may
// still take the file.
void makeUserTrash() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(data)) {
        const QString home = qEnvironmentVariable("HOME");
        if (!QDir::isAbsolutePath(home)) {
            return;
        }
        data = home + QStringLiteral("/.local/share");
    }
    const QString trash = QDir::cleanPath(data + QStringLiteral("/Trash"));
    if (QFileInfo(trash).isDir()) {
        return;
    }
    const mode_t mask = ::umask(0077);
    QDir().mkpath(trash);
    ::umask(mask);
}

// Where a trash keeps its files: <trash>/files/<name>, the trash being "Trash" in the user's
// data folder or ".Trash", ".Trash-<uid>" at the top of a volume.
bool isInTrash(const QString& pathInTrash) {
    if (!QDir::isAbsolutePath(pathInTrash)) {
        return false;
    }
    const QDir files = QFileInfo(QDir::cleanPath(pathInTrash)).dir();
    if (files.dirName() != QLatin1String("files")) {
        return false;
    }
    QDir trash = files;
    if (!trash.cdUp()) {
        return false;
    }
    const QString name = trash.dirName();
    if (name == QLatin1String("Trash") || name.startsWith(QLatin1String(".Trash"))) {
        return true;
    }
    // .Trash/<uid>/files
    return trash.cdUp() && trash.dirName() == QLatin1String(".Trash");
}
} // namespace

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
    if (allowUndo) {
        makeUserTrash();
        QString pathInTrash;
        if (QFile::moveToTrash(path, &pathInTrash)) {
            if (isInTrash(pathInTrash)) {
                return 0;
            }
            // Moved somewhere that is not a trash (a relative place, the working folder): the
            // file does not stay there.
            const QFileInfo moved(pathInTrash);
            const QString info =
                QDir::cleanPath(moved.absolutePath() + QStringLiteral("/../info/") +
                                moved.fileName() + QStringLiteral(".trashinfo"));
            QFile::remove(info);
            if (::unlink(QFile::encodeName(moved.absoluteFilePath()).constData()) != 0) {
                const int err = errno;
                if (reason != nullptr) {
                    *reason = QString::fromLocal8Bit(std::strerror(err));
                }
                return err;
            }
            return 0;
        }
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
