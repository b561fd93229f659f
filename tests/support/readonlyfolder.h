#pragma once

#include <QFile>
#include <QString>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

// Makes an existing folder one that nobody, root included, can write into, for the time of a
// scope. A user's folder loses its write permission. Root writes into any folder whatever its
// permissions, so for root the folder is mounted read-only over itself, in a mount namespace
// of the calling thread only: every write there then fails with EROFS, as on a read-only
// share, while the rest of the system sees nothing. Root needs the right to mount for that
// (CAP_SYS_ADMIN); without it Problem() says so.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder) : folder_(folder) {
        if (::geteuid() != 0) {
            if (!QFile::setPermissions(folder_, QFile::ReadOwner | QFile::ExeOwner)) {
                problem_ = QStringLiteral("the folder's permissions could not be changed");
            }
            return;
        }
        mountReadOnly();
    }
    ~ReadOnlyFolder() {
        if (::geteuid() != 0) {
            QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            return;
        }
        if (mounted_) {
            ::umount2(path().constData(), MNT_DETACH);
        }
        if (ownNamespace_ >= 0) {
            ::setns(ownNamespace_, CLONE_NEWNS);
            ::close(ownNamespace_);
        }
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    // "" when the folder cannot be written now; otherwise why it could not be made so.
    const QString& Problem() const { return problem_; }

private:
    QByteArray path() const { return QFile::encodeName(folder_); }

    void mountReadOnly() {
        ownNamespace_ = ::open("/proc/thread-self/ns/mnt", O_RDONLY | O_CLOEXEC);
        if (ownNamespace_ < 0 || ::unshare(CLONE_NEWNS) != 0) {
            fail("a mount namespace of its own");
            return;
        }
        // Nothing mounted in this namespace may reach the one the rest of the system uses.
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(path().constData(), path().constData(), nullptr, MS_BIND, nullptr) != 0) {
            fail("a bind mount of the folder");
            return;
        }
        mounted_ = true;
        if (::mount(nullptr, path().constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                    nullptr) != 0) {
            fail("a read-only remount of the folder");
        }
    }
    void fail(const char* what) {
        problem_ = QStringLiteral("running as root, and %1 could not be made (%2): this process "
                                  "may not mount, so no folder root cannot write can be made")
                       .arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
    }

    QString folder_;
    QString problem_;
    int ownNamespace_ = -1;
    bool mounted_ = false;
};
