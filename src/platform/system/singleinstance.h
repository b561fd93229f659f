#pragma once

#include <QString>

#include <memory>

class QLockFile;

// One running copy per user and computer: a lock file that every copy takes at start and holds for
// its life. A copy that crashed leaves a lock whose process is gone; the next start takes it over.
class SingleInstance {
public:
    explicit SingleInstance(QString lockPath);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when another running copy holds the lock. Asked once; the answer stays.
    bool AnotherCopyRuns();

    // "orlix-<host name>.lock" in the user's state folder.
    static QString DefaultLockPath();
    static QString LockFileName(const QString& hostName);

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    bool asked_ = false;
    bool another_ = false;
};
