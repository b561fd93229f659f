#pragma once

#include <QString>

#include <functional>

class QSqlDatabase;

// Told after every step of a copy: pages copied so far and the source's pages. False stops it.
using SqliteBackupProgress = std::function<bool(qint64 copied, qint64 total)>;

// Copies an open SQLite database to a new file through the connection's own handle, with
// SQLite's online backup, a few pages a step. Between steps the source is not locked, so other
// computers go on writing; their commits make SQLite start the copy again, and each such start
// makes the steps larger, so that a copy that keeps being restarted still ends (at worst as one
// step, which holds their commits only for that step). Writes through the same connection are
// carried into the copy as they happen. The copy is always one committed state of the source.
// The target must not exist; on failure or stop it is removed.
class SqliteBackup {
public:
    // 256 pages of 4 KB: about a megabyte, a few milliseconds a step on a local disk.
    static constexpr int kFirstStepPages = 256;

    SqliteBackup(const QSqlDatabase& source, const QString& targetFile);

    void SetProgress(SqliteBackupProgress progress) { progress_ = std::move(progress); }
    void SetFirstStepPages(int pages) { firstStepPages_ = pages > 0 ? pages : kFirstStepPages; }
    // The longest a step waits in all for the source's locks before the copy fails.
    void SetBusyLimitMs(int ms) { busyLimitMs_ = ms; }

    bool Run(QString* error);
    bool Stopped() const { return stopped_; }
    // How often others' commits made SQLite start again during the last Run.
    int Restarts() const { return restarts_; }

private:
    const QSqlDatabase& source_;
    QString target_;
    SqliteBackupProgress progress_;
    int firstStepPages_ = kFirstStepPages;
    int busyLimitMs_ = 30000;
    bool stopped_ = false;
    int restarts_ = 0;
};
