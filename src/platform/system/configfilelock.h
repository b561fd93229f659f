#pragma once

#include <QString>

#include <chrono>

// Lets one process at a time rewrite a configuration file. The lock is an advisory lock on
// the file itself, which the system lets go when its holder ends, also by a crash, so nothing
// stale is ever left to wait for. The file is made (empty) when missing; a file replaced or
// removed while the lock was awaited is locked again in its new form.
//
// Waiting is fair: a waiter first takes a lock on the file's folder and keeps it until it
// holds the file's own, so a program that has just written and writes again at once queues
// behind the one that was already waiting instead of taking the lock back before it.
class ConfigFileLock {
public:
    ConfigFileLock(const QString& path, std::chrono::milliseconds wait);
    ~ConfigFileLock();
    ConfigFileLock(const ConfigFileLock&) = delete;
    ConfigFileLock& operator=(const ConfigFileLock&) = delete;

    bool locked() const { return fd_ >= 0; }
    // Whether the wait ran out (another program kept the lock); otherwise the file could not
    // be opened or locked at all.
    bool timedOut() const { return timedOut_; }
    // Why the lock was not taken, for the log.
    const QString& error() const { return error_; }

private:
    int fd_ = -1;
    bool timedOut_ = false;
    QString error_;
};
