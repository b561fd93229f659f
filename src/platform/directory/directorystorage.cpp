#include "platform/directory/directorystorage.h"

#include "platform/directory/directoryschema.h"
#include "platform/system/movewithoutreplacing.h"
#include "platform/system/platformlog.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString nextConnectionName() {
    static QAtomicInt counter;
    return QStringLiteral("orlix-directory-%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

// SQLite's primary result codes that tell why a file could not be read.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

int primaryCode(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

StorageOpenResult classify(const QSqlError& error) {
    switch (primaryCode(error)) {
    case kSqliteBusy:
    case kSqliteLocked:
        return StorageOpenResult::Locked;
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
        return StorageOpenResult::Corrupt;
    default:
        return StorageOpenResult::Failed;
    }
}

QString describe(StorageOpenResult result) {
    switch (result) {
    case StorageOpenResult::Locked:
        return QStringLiteral("it stayed locked by another computer or program");
    case StorageOpenResult::Corrupt:
        return QStringLiteral("it is not a readable directory file (damaged?)");
    default:
        return QStringLiteral("it could not be read");
    }
}

} // namespace

DirectoryStorage::DirectoryStorage()
    : connectionName_(nextConnectionName()),
      watch_(QStringLiteral("Directory"), {QStringLiteral("contacts"), QStringLiteral("websites"),
                                           QStringLiteral("user_settings")}) {}

DirectoryStorage::~DirectoryStorage() {
    Close();
}

void DirectoryStorage::Close() {
    watch_.Detach();
    readers_.reset();
    // Every statement is finalized before the connection closes: SQLite refuses to close a
    // connection with statements left.
    statements_.Clear();
    rowStatements_.Clear();
    if (db_.isValid()) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
    }
    open_ = false;
    transactionDepth_ = 0;
}

StorageOpenResult DirectoryStorage::Open(const QString& filePath, bool create, QString* error) {
    Close();
    auto fail = [&](StorageOpenResult result, const QString& why) {
        if (error) {
            *error = why;
        }
        Close();
        return result;
    };

    const QFileInfo file(filePath);
    const QString folder = file.absolutePath();
    bool made = false;
    if (!file.exists()) {
        if (!create) {
            return fail(StorageOpenResult::Missing,
                        QStringLiteral("there is no directory file '%1'").arg(filePath));
        }
        if (!QDir().mkpath(folder)) {
            return fail(StorageOpenResult::NotWritable,
                        QStringLiteral("the folder '%1' could not be made").arg(folder));
        }
        if (!QFileInfo(folder).isWritable()) {
            return fail(StorageOpenResult::NotWritable,
                        QStringLiteral("'%1' cannot be written").arg(folder));
        }
        QString why;
        switch (makeFile(filePath, &why)) {
        case Making::Made:
            made = true;
            break;
        case Making::MadeElsewhere:
            break;
        case Making::Failed:
            return fail(StorageOpenResult::NotWritable, why);
        }
    } else if (!file.isFile()) {
        return fail(StorageOpenResult::Failed, QStringLiteral("'%1' is not a file").arg(filePath));
    }
    // The rollback journal is written beside the file, so both must be writable.
    if (!QFileInfo(folder).isWritable() || !QFileInfo(filePath).isWritable()) {
        return fail(StorageOpenResult::NotWritable,
                    QStringLiteral("'%1' cannot be written").arg(filePath));
    }

    QString why;
    if (const StorageOpenResult r = connect(filePath, &why); r != StorageOpenResult::Opened) {
        return fail(r, why);
    }
    const int version = SchemaVersion();
    if (version < 0) {
        return fail(StorageOpenResult::Corrupt,
                    QStringLiteral("its schema version could not be read"));
    }
    // Every directory file is made whole before it takes its name, so one without a schema
    // (truncated to nothing, or another program's database) is damaged, never a new one.
    if (version == 0) {
        return fail(StorageOpenResult::Corrupt, describe(StorageOpenResult::Corrupt) +
                                                    QStringLiteral(": it holds no directory"));
    }
    if (version > kCurrentSchema) {
        return fail(StorageOpenResult::TooNew,
                    QStringLiteral("its schema version %1 is newer than this program knows (%2)")
                        .arg(version)
                        .arg(kCurrentSchema));
    }
    if (version < kCurrentSchema) {
        if (!applySchema(version, &why)) {
            return fail(StorageOpenResult::Failed, why);
        }
    }
    watch_.Attach(db_, kBusyTimeoutMs);
    return made ? StorageOpenResult::Created : StorageOpenResult::Opened;
}

StorageOpenResult DirectoryStorage::connect(const QString& filePath, QString* error) {
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db_.setDatabaseName(filePath);
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db_.open()) {
        *error = db_.lastError().text();
        return StorageOpenResult::Failed;
    }
    filePath_ = filePath;
    if (struct stat file{}; ::stat(QFile::encodeName(filePath).constData(), &file) == 0) {
        fileDevice_ = quint64(file.st_dev);
        fileInode_ = quint64(file.st_ino);
    }
    // Reading the schema catalogue is the first real read: it tells a damaged or foreign
    // file, and one that another writer holds past the busy timeout.
    for (const QString& sql : {QStringLiteral("SELECT count(*) FROM sqlite_master"),
                               QStringLiteral("PRAGMA journal_mode=DELETE")}) {
        QSqlQuery q(db_);
        if (!q.exec(sql)) {
            const QSqlError e = q.lastError();
            const StorageOpenResult r = classify(e);
            *error = describe(r) + QStringLiteral(": ") + e.text();
            return r;
        }
    }
    open_ = true;
    return StorageOpenResult::Opened;
}

DirectoryStorage::Making DirectoryStorage::makeFile(const QString& filePath, QString* error) {
    const MakeResult made = MakeInPlace(filePath, [&](const QString& draft) {
        DirectoryStorage maker;
        return maker.connect(draft, error) == StorageOpenResult::Opened &&
               maker.applySchema(0, error);
    });
    switch (made) {
    case MakeResult::Made:
        return Making::Made;
    case MakeResult::MadeElsewhere:
        return Making::MadeElsewhere;
    case MakeResult::NotNamed:
        *error = QStringLiteral("the new directory could not be given the name '%1'").arg(filePath);
        break;
    case MakeResult::NotMade:
        *error = QStringLiteral("a new directory could not be made in '%1': %2")
                     .arg(QFileInfo(filePath).absolutePath(), *error);
        break;
    }
    return Making::Failed;
}

int DirectoryStorage::SchemaVersion() {
    if (!db_.isOpen()) {
        return -1;
    }
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        return -1;
    }
    return q.value(0).toInt();
}

bool DirectoryStorage::applySchema(int from, QString* error) {
    for (int version = from + 1; version <= kCurrentSchema; ++version) {
        DirectoryTransaction tx(*this);
        if (!tx.Active()) {
            *error = QStringLiteral("no write transaction for schema version %1").arg(version);
            return false;
        }
        // Another computer may have brought the file up to date while this one waited.
        const int now = SchemaVersion();
        if (now >= version) {
            continue;
        }
        for (const QString& sql : DirectorySchemaSteps(version)) {
            QSqlQuery q(db_);
            if (!q.exec(sql)) {
                *error =
                    QStringLiteral("schema version %1: %2").arg(version).arg(q.lastError().text());
                return false;
            }
        }
        QSqlQuery stamp(db_);
        // PRAGMA takes no bound values; the number is ours.
        if (!stamp.exec(QStringLiteral("PRAGMA user_version = %1").arg(version))) {
            *error = stamp.lastError().text();
            return false;
        }
        stamp = QSqlQuery();
        if (!tx.Commit()) {
            *error = QStringLiteral("schema version %1 could not be committed").arg(version);
            return false;
        }
    }
    return true;
}

QSqlQuery DirectoryStorage::Prepare(const QString& sql, QString* error) {
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        PlatformLog(QStringLiteral("Directory: could not prepare a statement: ") +
                    q.lastError().text());
        if (error) {
            *error = q.lastError().text();
        }
    }
    return q;
}

SqlStatementPool::Lease DirectoryStorage::Statement(const QString& sql) {
    SqlStatementPool::Lease lease = statements_.Take(db_, sql);
    if (!lease.Prepared()) {
        PlatformLog(QStringLiteral("Directory: could not prepare a statement: ") +
                    lease->lastError().text());
    }
    return lease;
}

bool DirectoryStorage::Exec(QSqlQuery& query, const char* context) {
    if (query.exec()) {
        return true;
    }
    PlatformLog(QStringLiteral("Directory: %1 failed: %2")
                    .arg(QLatin1String(context), query.lastError().text()));
    return false;
}

bool DirectoryStorage::ReadRows(const QString& sql, const QList<QVariant>& values,
                                const char* context,
                                const std::function<void(const SqliteStatement&)>& read) {
    auto fail = [&](const QString& why) {
        PlatformLog(QStringLiteral("Directory: %1 failed: %2").arg(QLatin1String(context), why));
        return false;
    };
    sqlite3* handle = SqliteHandle(db_);
    if (handle == nullptr) {
        return fail(QStringLiteral("the directory is not open"));
    }
    // The lease resets the statement whatever way the read ends, so that the read lock goes
    // with it; a statement still being read (a caller reading one list while making another)
    // is not shared.
    auto statement = rowStatements_.Take(handle, sql);
    if (!statement->Prepared()) {
        PlatformLog(QStringLiteral("Directory: could not prepare a statement: ") +
                    statement->Reason());
        return fail(statement->Reason());
    }
    if (!statement->Bind(values)) {
        return fail(statement->Reason());
    }
    while (statement->Next()) {
        read(*statement);
    }
    return statement->Failed() ? fail(statement->Reason()) : true;
}

bool DirectoryStorage::ReadRowsInParts(const QString& sql, const std::vector<QVariantList>& parts,
                                       const char* context, const DirectoryReaders::Read& read) {
    auto here = [&](int part) {
        return ReadRows(sql, parts[std::size_t(part)], context,
                        [&](const SqliteStatement& row) { read(part, row); });
    };
    sqlite3* handle = SqliteHandle(db_);
    // A read transaction holds the shared lock the readers need this connection to hold.
    if (handle != nullptr && parts.size() > 1 && fileInode_ != 0 &&
        sqlite3_txn_state(handle, "main") == SQLITE_TXN_READ) {
        if (!readers_) {
            readers_ = std::make_unique<DirectoryReaders>(filePath_, fileDevice_, fileInode_);
        }
        QString why;
        if (readers_->ReadParts(sql, parts, read, here, &why)) {
            return true;
        }
        if (!why.isEmpty()) {
            PlatformLog(
                QStringLiteral("Directory: %1 failed: %2").arg(QLatin1String(context), why));
        }
        return false;
    }
    for (int part = 0; part < int(parts.size()); ++part) {
        if (!here(part)) {
            return false;
        }
    }
    return true;
}

bool DirectoryStorage::run(const QString& sql, QString* why) {
    sqlite3* handle = SqliteHandle(db_);
    return handle != nullptr && rowStatements_.Run(handle, sql, why);
}

DirectoryReadTransaction::DirectoryReadTransaction(DirectoryStorage& storage) : storage_(storage) {
    sqlite3* handle = SqliteHandle(storage_.db_);
    if (handle == nullptr || sqlite3_get_autocommit(handle) == 0) {
        return;
    }
    QString why;
    if (!storage_.run(QStringLiteral("BEGIN"), &why)) {
        // The reads still run, each on its own state of the file, as they would without.
        PlatformLog(QStringLiteral("Directory: could not begin a read: ") + why);
        return;
    }
    begun_ = true;
}

DirectoryReadTransaction::~DirectoryReadTransaction() {
    sqlite3* handle = SqliteHandle(storage_.db_);
    if (begun_ && handle != nullptr && sqlite3_get_autocommit(handle) == 0 &&
        !storage_.run(QStringLiteral("COMMIT"))) {
        storage_.run(QStringLiteral("ROLLBACK"));
    }
}

DirectoryTransaction::DirectoryTransaction(DirectoryStorage& storage) : storage_(storage) {
    if (!storage_.open_ || storage_.transactionDepth_ != 0) {
        // One transaction per change: a nested guard is a fault of the caller.
        if (storage_.transactionDepth_ != 0) {
            PlatformLog(QStringLiteral("Directory: a transaction was begun inside another"));
        }
        return;
    }
    QSqlQuery q(storage_.db_);
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        PlatformLog(QStringLiteral("Directory: could not begin a change: ") + q.lastError().text());
        return;
    }
    storage_.transactionDepth_ = 1;
    active_ = true;
    storage_.watch_.Began();
}

DirectoryTransaction::~DirectoryTransaction() {
    if (!active_) {
        return;
    }
    QSqlQuery q(storage_.db_);
    if (!q.exec(QStringLiteral("ROLLBACK"))) {
        PlatformLog(QStringLiteral("Directory: rollback failed: ") + q.lastError().text());
    }
    storage_.transactionDepth_ = 0;
    storage_.watch_.RolledBack();
}

bool DirectoryTransaction::Commit() {
    if (!active_) {
        return false;
    }
    storage_.watch_.Committing();
    QSqlQuery q(storage_.db_);
    if (!q.exec(QStringLiteral("COMMIT"))) {
        PlatformLog(QStringLiteral("Directory: could not commit a change: ") +
                    q.lastError().text());
        return false; // still active: the destructor rolls back
    }
    active_ = false;
    storage_.transactionDepth_ = 0;
    storage_.watch_.Committed();
    return true;
}
