#include "platform/system/sqlitebackup.h"

#include "platform/system/sqlitestatement.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>

#include <sqlite3.h>

#include <memory>

namespace {
struct RemoveUnlessKept {
    QString path;
    bool keep = false;
    ~RemoveUnlessKept() {
        if (!keep) {
            QFile::remove(path);
        }
    }
};
struct FinishBackup {
    void operator()(sqlite3_backup* b) const { sqlite3_backup_finish(b); }
};
} // namespace

SqliteBackup::SqliteBackup(const QSqlDatabase& source, const QString& targetFile)
    : source_(source), target_(targetFile) {}

bool SqliteBackup::Run(QString* error) {
    stopped_ = false;
    restarts_ = 0;
    auto refuse = [error](const QString& why) {
        if (error != nullptr) {
            *error = why;
        }
        return false;
    };
    sqlite3* source = SqliteHandle(source_);
    if (source == nullptr) {
        return refuse(QStringLiteral("the database is not open"));
    }
    if (QFileInfo::exists(target_)) {
        return refuse(QStringLiteral("'%1' exists already").arg(target_));
    }
    // Whatever ends the copy short, no half-made file stays behind; declared before the
    // target's handle, so the file is closed before it is removed.
    RemoveUnlessKept cleanup{target_};

    sqlite3* rawTarget = nullptr;
    const int opened = sqlite3_open_v2(
        QFile::encodeName(target_).constData(), &rawTarget,
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXRESCODE, nullptr);
    SqliteConnection target(rawTarget);
    if (opened != SQLITE_OK) {
        return refuse(QStringLiteral("'%1' could not be made: %2")
                          .arg(target_, QString::fromUtf8(target ? sqlite3_errmsg(target.get())
                                                                 : sqlite3_errstr(opened))));
    }
    // The backup itself replaces the target's pages; its journal only slows it.
    sqlite3_exec(target.get(), "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr);

    std::unique_ptr<sqlite3_backup, FinishBackup> backup(
        sqlite3_backup_init(target.get(), "main", source, "main"));
    if (!backup) {
        return refuse(QString::fromUtf8(sqlite3_errmsg(target.get())));
    }
    int step = firstStepPages_;
    qint64 lastCopied = 0;
    QElapsedTimer busy;
    qint64 busyMs = 0;
    for (;;) {
        const int rc = sqlite3_backup_step(backup.get(), step);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            // Another computer is committing: wait for it, within a limit.
            if (!busy.isValid()) {
                busy.start();
            }
            if (busyMs + busy.elapsed() > busyLimitMs_) {
                return refuse(QStringLiteral("the database stayed locked by another computer"));
            }
            if (progress_ && !progress_(lastCopied, sqlite3_backup_pagecount(backup.get()))) {
                stopped_ = true;
                return refuse(QStringLiteral("the copy was stopped"));
            }
            sqlite3_sleep(5);
            continue;
        }
        if (busy.isValid()) {
            busyMs += busy.elapsed();
            busy.invalidate();
        }
        if (rc != SQLITE_OK && rc != SQLITE_DONE) {
            const QString why = QString::fromUtf8(sqlite3_errstr(rc));
            return refuse(QStringLiteral("the copy failed: %1").arg(why));
        }
        const qint64 total = sqlite3_backup_pagecount(backup.get());
        const qint64 copied = total - sqlite3_backup_remaining(backup.get());
        if (rc == SQLITE_DONE) {
            if (progress_) {
                progress_(total, total);
            }
            break;
        }
        if (copied <= lastCopied) {
            // Another connection committed, and SQLite began again: larger steps from now on,
            // so that the copy overtakes their commits.
            ++restarts_;
            step = step > (1 << 20) ? -1 : step * 4;
        }
        lastCopied = copied;
        if (progress_ && !progress_(copied, total)) {
            stopped_ = true;
            return refuse(QStringLiteral("the copy was stopped"));
        }
    }
    const int finished = sqlite3_backup_finish(backup.release());
    if (finished != SQLITE_OK) {
        return refuse(QStringLiteral("the copy failed: %1")
                          .arg(QString::fromUtf8(sqlite3_errmsg(target.get()))));
    }
    if (sqlite3_close_v2(target.release()) != SQLITE_OK) {
        return refuse(QStringLiteral("'%1' could not be closed").arg(target_));
    }
    cleanup.keep = true;
    return true;
}
