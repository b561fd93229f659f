#include "platform/system/configfilelock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>
#include <utility>

namespace {
// One open descriptor, closed (and so unlocked) when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    void reset() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

private:
    int fd_;
};

enum class Taken { Yes, TimedOut, Failed };

// Tries again at short intervals (8 ms at the most): a long back-off would let a busy writer
// take the lock back over and over while this one sleeps.
Taken takeLock(int fd, const QDeadlineTimer& deadline) {
    std::chrono::milliseconds pause(1);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return Taken::Yes;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            return Taken::Failed;
        }
        const auto left = std::chrono::milliseconds(deadline.remainingTime());
        if (deadline.hasExpired() || left.count() <= 0) {
            return Taken::TimedOut;
        }
        std::this_thread::sleep_for(std::min(pause, left));
        pause = std::min(pause * 2, std::chrono::milliseconds(8));
    }
}

Descriptor openForLock(const QByteArray& path) {
    // Locks over a network file system need a descriptor open for writing; a file the
    // program may replace but not write to is still locked through a reading one.
    Descriptor fd(::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (!fd.valid() && (errno == EACCES || errno == EROFS || errno == EISDIR)) {
        fd = Descriptor(::open(path.constData(), O_RDONLY | O_CLOEXEC));
    }
    return fd;
}

bool stillInPlace(int fd, const QByteArray& path) {
    struct stat held {};
    struct stat now {};
    return ::fstat(fd, &held) == 0 && ::stat(path.constData(), &now) == 0 &&
           held.st_dev == now.st_dev && held.st_ino == now.st_ino;
}
} // namespace

ConfigFileLock::ConfigFileLock(const QString& path, std::chrono::milliseconds wait) {
    const QDeadlineTimer deadline(wait);
    const QByteArray file = QFile::encodeName(path);

    // Takes the lock of fd, or notes why not.
    const auto take = [&](int fd) {
        const Taken taken = takeLock(fd, deadline);
        if (taken == Taken::TimedOut) {
            timedOut_ = true;
            error_ = QStringLiteral("another program kept it locked");
        } else if (taken == Taken::Failed) {
            error_ = QString::fromLocal8Bit(std::strerror(errno));
        }
        return taken;
    };

    // The queue. Without it (a folder that cannot be locked) the file's lock still holds,
    // only the order of waiters is left to chance.
    Descriptor queue(::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                            O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (queue.valid()) {
        const Taken inLine = take(queue.get());
        if (inLine == Taken::TimedOut) {
            return;
        }
        if (inLine == Taken::Failed) {
            error_.clear();
            queue.reset();
        }
    }

    for (;;) {
        Descriptor fd = openForLock(file);
        if (!fd.valid()) {
            error_ = QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        if (take(fd.get()) != Taken::Yes) {
            return;
        }
        if (stillInPlace(fd.get(), file)) {
            fd_ = fd.release();
            return;
        }
        // The holder before us replaced the file: what we hold is the old one.
    }
}

ConfigFileLock::~ConfigFileLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}
