#include "platform/directory/directoryreaders.h"

#include "platform/system/sqlitestatement.h"

#include <QMutex>
#include <QSemaphore>

#include <sqlite3.h>

#include <sys/stat.h>

// The parts of one read not yet taken, and whether the read is to stop.
class DirectoryReaders::Parts {
public:
    explicit Parts(int count) : count_(count) {}

    // The next part to read; -1 when none is left or the read stops.
    int Take() {
        const QMutexLocker lock(&mutex_);
        if (stopped_) {
            return -1;
        }
        if (!givenBack_.empty()) {
            const int part = givenBack_.back();
            givenBack_.pop_back();
            return part;
        }
        return next_ < count_ ? next_++ : -1;
    }
    // A part taken but not read: none of its rows was handed on.
    void GiveBack(int part) {
        const QMutexLocker lock(&mutex_);
        givenBack_.push_back(part);
    }
    void Stop(const QString& why = {}) {
        const QMutexLocker lock(&mutex_);
        stopped_ = true;
        if (why_.isEmpty()) {
            why_ = why;
        }
    }
    bool Stopped() {
        const QMutexLocker lock(&mutex_);
        return stopped_;
    }
    QString Why() {
        const QMutexLocker lock(&mutex_);
        return why_;
    }

private:
    QMutex mutex_;
    const int count_;
    int next_ = 0;
    std::vector<int> givenBack_;
    bool stopped_ = false;
    QString why_;
};

class DirectoryReaders::Reader {
public:
    ~Reader() {
        // SQLite keeps a connection open while a statement of it is left.
        statements_.Clear();
    }

    // Reads parts until none is left, inside one read transaction.
    void ReadParts(const DirectoryReaders& owner, const QString& sql,
                   const std::vector<QVariantList>& parts, const Read& read, Parts& todo) {
        if ((!db_ && !open(owner)) || !run(QStringLiteral("BEGIN"))) {
            return;
        }
        for (int part = todo.Take(); part >= 0; part = todo.Take()) {
            auto statement = statements_.Take(db_.get(), sql);
            bool any = false;
            if (statement->Prepared() && statement->Bind(parts[std::size_t(part)])) {
                while (statement->Next()) {
                    any = true;
                    read(part, *statement);
                }
                if (!statement->Failed()) {
                    continue;
                }
            }
            // A failure before the first row (the first step takes the shared lock, which
            // another computer's waiting commit refuses) leaves the part to the others.
            if (any) {
                todo.Stop(statement->Reason());
            } else {
                todo.GiveBack(part);
            }
            break;
        }
        if (!run(QStringLiteral("COMMIT")) || sqlite3_get_autocommit(db_.get()) == 0) {
            run(QStringLiteral("ROLLBACK"));
        }
    }

private:
    bool open(const DirectoryReaders& owner) {
        // Only the file the caller has open: a file put in its place since (a copy restored
        // by hand) would give rows of another directory.
        const QByteArray path = owner.filePath_.toUtf8();
        struct stat now {};
        if (::stat(path.constData(), &now) != 0 || quint64(now.st_dev) != owner.device_ ||
            quint64(now.st_ino) != owner.inode_) {
            return false;
        }
        // Used by one thread at a time: SQLite's own locking of every call is not needed.
        sqlite3* raw = nullptr;
        const int opened = sqlite3_open_v2(path.constData(), &raw,
                                           SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
        SqliteConnection db(raw);
        if (opened != SQLITE_OK) {
            return false;
        }
        // No busy timeout: a reader that has to wait is of no use, the others read instead.
        sqlite3_busy_timeout(db.get(), 0);
        db_ = std::move(db);
        return true;
    }

    bool run(const QString& sql) { return statements_.Run(db_.get(), sql); }

    SqliteConnection db_;
    SqliteStatementPool statements_;
};

DirectoryReaders::DirectoryReaders(QString filePath, quint64 device, quint64 inode)
    : filePath_(std::move(filePath)), device_(device), inode_(inode) {
    for (int i = 0; i < kReaders; ++i) {
        readers_.push_back(std::make_unique<Reader>());
    }
    threads_.setMaxThreadCount(kReaders);
}

DirectoryReaders::~DirectoryReaders() {
    threads_.waitForDone();
}

bool DirectoryReaders::ReadParts(const QString& sql, const std::vector<QVariantList>& parts,
                                 const Read& read, const ReadHere& here, QString* why) {
    Parts todo(int(parts.size()));
    const int started = std::min(int(parts.size()) - 1, kReaders);
    QSemaphore done;
    // Everything the tasks use outlives them: this waits for every one before returning.
    for (int r = 0; r < started; ++r) {
        threads_.start([&, r] {
            readers_[std::size_t(r)]->ReadParts(*this, sql, parts, read, todo);
            done.release();
        });
    }
    bool ok = true;
    auto readHere = [&] {
        for (int part = todo.Take(); part >= 0; part = todo.Take()) {
            if (!here(part)) {
                todo.Stop();
                ok = false;
            }
        }
    };
    readHere();
    done.acquire(std::max(started, 0));
    readHere(); // the parts a reader gave back
    if (ok && todo.Stopped()) {
        *why = todo.Why();
        ok = false;
    }
    return ok;
}
