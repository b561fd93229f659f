#include "platform/system/folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {
QString env(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

QString xdg(const char* name, const QString& fallbackBelowHome) {
    QString value = env(name);
    if (value.isEmpty() || !QDir::isAbsolutePath(value)) {
        value = QDir::homePath() + QLatin1Char('/') + fallbackBelowHome;
    }
    return QDir::cleanPath(value);
}

QString orlixHome() {
    return env("ORLIX_HOME");
}

// A folder that only this user may enter: made with mode 0700, and refused when it exists
// but belongs to someone else or is open to others (a planted folder or link).
bool ensurePrivateFolder(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0) {
        if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
            return false;
        }
        if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (::lstat(native.constData(), &st) != 0) {
            return false;
        }
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
        return false;
    }
    if ((st.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0) {
        return false;
    }
    return true;
}
} // namespace

QString Folders::CommonData() {
    const QString home = orlixHome();
    if (!home.isEmpty()) {
        return QDir::cleanPath(home);
    }
    return xdg("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

QString Folders::UserConfig() {
    const QString home = orlixHome();
    if (!home.isEmpty()) {
        return QDir::cleanPath(home + QStringLiteral("/user"));
    }
    return xdg("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString Folders::UserState() {
    const QString home = orlixHome();
    if (!home.isEmpty()) {
        return QDir::cleanPath(home + QStringLiteral("/user/state"));
    }
    return xdg("XDG_STATE_HOME", QStringLiteral(".local/state"));
}

QString Folders::PrivateTemp() {
    QString path;
    const QString home = orlixHome();
    if (!home.isEmpty()) {
        path = QDir::cleanPath(home + QStringLiteral("/user/tmp"));
    } else {
        const QString runtime = env("XDG_RUNTIME_DIR");
        if (!runtime.isEmpty() && QDir(runtime).exists()) {
            path = QDir::cleanPath(runtime + QStringLiteral("/kestova-orlix"));
        } else {
            path = QDir::cleanPath(QDir::tempPath() + QStringLiteral("/kestova-orlix-") +
                                   QString::number(::geteuid()));
        }
    }
    return ensurePrivateFolder(path) ? path : QString();
}
