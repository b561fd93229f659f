#include "platform/messagesdb/messagesstorage.h"

#include "platform/messagesdb/messagesschema.h"
#include "platform/system/platformlog.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
QAtomicInt connectionSerial;

// SQLite's primary result codes, as the Qt driver reports them.
bool isCode(const QSqlError& error, int code) {
    bool ok = false;
    const int native = error.nativeErrorCode().toInt(&ok);
    return ok && (native & 0xFF) == code;
}
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADb = 26;

MessagesOpenResult classify(const QSqlError& error) {
    if (isCode(error, kSqliteBusy) || isCode(error, kSqliteLocked)) {
        return MessagesOpenResult::Locked;
    }
    if (isCode(error, kSqliteCorrupt) || isCode(error, kSqliteNotADb)) {
        return MessagesOpenResult::Corrupt;
    }
    return MessagesOpenResult::Failed;
}
} // namespace

MessagesStorage::MessagesStorage()
    : watch_(QStringLiteral("Messages database"),
             {QStringLiteral("messages"), QStringLiteral("folders"), QStringLiteral("prizes"),
              QStringLiteral("station"), QStringLiteral("templates")}) {}

MessagesStorage::~MessagesStorage() {
    Close();
}

MessagesOpenResult MessagesStorage::Open(const QString& filePath, bool create, QString* error) {
    Close();
    const auto fail = [&](const Refusal& refusal) {
        if (error != nullptr) {
            *error = refusal.Why;
        }
        Close();
        return refusal.Result;
    };

    if (const auto refused = checkLocation(filePath, create)) {
        return fail(*refused);
    }
    if (const auto refused = connectTo(filePath)) {
        return fail(*refused);
    }
    int version = 0;
    if (const auto refused = readSchemaVersion(version)) {
        return fail(*refused);
    }
    if (version == 0 && !create) {
        return fail(
            {MessagesOpenResult::Corrupt, QStringLiteral("'%1' is an empty file").arg(filePath)});
    }
    bool created = false;
    if (version < kCurrentSchema) {
        PlatformLog(QStringLiteral("Messages database: bringing '%1' from schema version %2 to %3")
                        .arg(filePath)
                        .arg(version)
                        .arg(kCurrentSchema));
        if (const auto refused = applySchema(version, created)) {
            return fail(*refused);
        }
    }
    watch_.Attach(db_, busyTimeoutMs_);
    return created ? MessagesOpenResult::Created : MessagesOpenResult::Opened;
}

std::optional<MessagesStorage::Refusal> MessagesStorage::checkLocation(const QString& filePath,
                                                                       bool create) {
    const QFileInfo file(filePath);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir()) {
        return Refusal{MessagesOpenResult::Missing,
                       QStringLiteral("the folder '%1' does not exist").arg(folder.filePath())};
    }
    const bool existed = file.exists();
    if (!existed && !create) {
        return Refusal{MessagesOpenResult::Missing,
                       QStringLiteral("there is no database file '%1'").arg(filePath)};
    }
    // The journal is made beside the file, so the folder must be writable as well.
    if (!folder.isWritable() || (existed && !file.isWritable())) {
        return Refusal{
            MessagesOpenResult::NotWritable,
            QStringLiteral("'%1' cannot be written").arg(existed ? filePath : folder.filePath())};
    }
    return std::nullopt;
}

std::optional<MessagesStorage::Refusal> MessagesStorage::connectTo(const QString& filePath) {
    connectionName_ =
        QStringLiteral("orlix-messages-%1").arg(connectionSerial.fetchAndAddRelaxed(1));
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db_.setDatabaseName(filePath);
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_));
    if (!db_.open()) {
        return Refusal{
            classify(db_.lastError()),
            QStringLiteral("SQLite could not open '%1': %2").arg(filePath, db_.lastError().text())};
    }
    filePath_ = filePath;
    open_ = true;

    // Connection settings: constants only.
    QSqlQuery pragma(db_);
    if (!pragma.exec(QStringLiteral("PRAGMA foreign_keys = ON")) ||
        !pragma.exec(QStringLiteral("PRAGMA synchronous = ") +
                     (synchronous_ == QLatin1String("NORMAL") ? QStringLiteral("NORMAL")
                                                              : QStringLiteral("FULL")))) {
        return Refusal{classify(pragma.lastError()), QStringLiteral("'%1' could not be set up: %2")
                                                         .arg(filePath, pragma.lastError().text())};
    }
    return std::nullopt;
}

std::optional<MessagesStorage::Refusal> MessagesStorage::readSchemaVersion(int& version) {
    version = 0;
    // What is in the file: nothing (a new file), our tables, or something else.
    QSqlQuery tables(db_);
    if (!tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
        return Refusal{
            classify(tables.lastError()),
            QStringLiteral("'%1' could not be read: %2").arg(filePath_, tables.lastError().text())};
    }
    int tableCount = 0;
    bool ours = false;
    while (tables.next()) {
        ++tableCount;
        ours = ours || tables.value(0).toString() == QLatin1String("orlix_meta");
    }
    tables.finish();
    if (!ours) {
        if (tableCount > 0) {
            return Refusal{MessagesOpenResult::Corrupt,
                           QStringLiteral("'%1' is a database of another program").arg(filePath_)};
        }
        return std::nullopt;
    }

    QSqlQuery meta(db_);
    meta.prepare(QStringLiteral("SELECT name, value FROM orlix_meta WHERE name IN "
                                "('component', 'schema_version')"));
    if (!meta.exec()) {
        return Refusal{
            classify(meta.lastError()),
            QStringLiteral("'%1' could not be read: %2").arg(filePath_, meta.lastError().text())};
    }
    QString component;
    QString versionText;
    while (meta.next()) {
        (meta.value(0).toString() == QLatin1String("component") ? component : versionText) =
            meta.value(1).toString();
    }
    meta.finish();
    bool ok = false;
    version = versionText.toInt(&ok);
    if (component != QLatin1String("orlix-messages") || !ok || version < 1) {
        return Refusal{MessagesOpenResult::Corrupt,
                       QStringLiteral("'%1' is not a messages database or its schema version "
                                      "is damaged")
                           .arg(filePath_)};
    }
    if (version > kCurrentSchema) {
        return Refusal{MessagesOpenResult::TooNew,
                       QStringLiteral("'%1' has schema version %2; this program knows up to %3")
                           .arg(filePath_)
                           .arg(version)
                           .arg(kCurrentSchema)};
    }
    return std::nullopt;
}

std::optional<MessagesStorage::Refusal> MessagesStorage::applySchema(int from, bool& created) {
    created = false;
    const auto failed = [this](const QString& why) {
        return Refusal{MessagesOpenResult::Failed,
                       QStringLiteral("the schema of '%1' could not be brought up to date: %2")
                           .arg(filePath_, why)};
    };
    for (int v = from + 1; v <= kCurrentSchema; ++v) {
        MessagesTransaction tx(*this);
        if (!tx.Active()) {
            return failed(db_.lastError().text());
        }
        // Another computer may have made or brought up the tables while this one waited for
        // the lock: what counts is the version read under it.
        int now = 0;
        if (const auto refused = readSchemaVersion(now)) {
            return refused;
        }
        if (now >= v) {
            continue;
        }
        QSqlQuery q(db_);
        for (const QString& statement : MessagesSchemaSteps(v)) {
            if (!q.exec(statement)) {
                return failed(q.lastError().text());
            }
        }
        QSqlQuery mark(db_);
        mark.prepare(QStringLiteral("INSERT OR REPLACE INTO orlix_meta (name, value) "
                                    "VALUES ('schema_version', ?)"));
        mark.addBindValue(QString::number(v));
        if (!mark.exec()) {
            return failed(mark.lastError().text());
        }
        mark.finish();
        if (!tx.Commit()) {
            return failed(db_.lastError().text());
        }
        created = created || v == 1;
    }
    return std::nullopt;
}

void MessagesStorage::Close() {
    watch_.Detach();
    statements_.Clear();
    rows_.Clear();
    if (db_.isValid()) {
        db_.close();
    }
    db_ = QSqlDatabase();
    if (!connectionName_.isEmpty()) {
        QSqlDatabase::removeDatabase(connectionName_);
        connectionName_.clear();
    }
    open_ = false;
    inTransaction_ = false;
    filePath_.clear();
}

QSqlQuery MessagesStorage::Prepare(const QString& sql) {
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        PlatformLog(QStringLiteral("Messages database: could not prepare a statement: %1")
                        .arg(query.lastError().text()));
    }
    return query;
}

SqlStatementPool::Lease MessagesStorage::Statement(const QString& sql) {
    SqlStatementPool::Lease lease = statements_.Take(db_, sql);
    if (!lease.Prepared()) {
        PlatformLog(QStringLiteral("Messages database: could not prepare a statement: %1")
                        .arg(lease->lastError().text()));
    }
    return lease;
}

SqliteStatementPool::Lease MessagesStorage::Rows(const QString& sql) {
    SqliteStatementPool::Lease lease = rows_.Take(SqliteHandle(db_), sql);
    if (!lease->Prepared()) {
        PlatformLog(QStringLiteral("Messages database: could not prepare a statement: %1")
                        .arg(lease->Error()));
    }
    return lease;
}

bool MessagesStorage::Exec(QSqlQuery& query, const char* context) {
    if (query.exec()) {
        return true;
    }
    PlatformLog(QStringLiteral("Messages database: %1 failed: %2")
                    .arg(QLatin1String(context), query.lastError().text()));
    return false;
}

bool MessagesStorage::begin() {
    if (!open_ || inTransaction_) {
        return false;
    }
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        PlatformLog(QStringLiteral("Messages database: a change could not start: %1")
                        .arg(q.lastError().text()));
        return false;
    }
    inTransaction_ = true;
    watch_.Began();
    return true;
}

bool MessagesStorage::commit() {
    if (!inTransaction_) {
        return false;
    }
    watch_.Committing();
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("COMMIT"))) {
        PlatformLog(QStringLiteral("Messages database: a change could not be saved: %1")
                        .arg(q.lastError().text()));
        return false;
    }
    inTransaction_ = false;
    watch_.Committed();
    return true;
}

void MessagesStorage::rollback() {
    if (!inTransaction_) {
        return;
    }
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("ROLLBACK"))) {
        PlatformLog(QStringLiteral("Messages database: a change could not be undone: %1")
                        .arg(q.lastError().text()));
    }
    inTransaction_ = false;
    watch_.RolledBack();
}

void MessagesStorage::StartWatching(int pollMs, int minGapMs) {
    if (open_) {
        watch_.Start(pollMs, minGapMs);
    }
}

bool MessagesStorage::CheckForChanges() {
    return open_ && watch_.Check();
}

void MessagesStorage::StopWatching() {
    watch_.Stop();
}

bool MessagesStorage::Snapshot(const QString& targetFile, QString* error,
                               const SqliteBackupProgress& progress) {
    if (!open_) {
        if (error != nullptr) {
            *error = QStringLiteral("no database is open");
        }
        return false;
    }
    if (QFileInfo::exists(targetFile)) {
        if (error != nullptr) {
            *error = QStringLiteral("'%1' exists already").arg(targetFile);
        }
        return false;
    }
    SqliteBackup backup(db_, targetFile);
    backup.SetProgress(progress);
    return backup.Run(error);
}

MessagesTransaction::MessagesTransaction(MessagesStorage& storage) : storage_(storage) {
    active_ = storage_.begin();
}

MessagesTransaction::~MessagesTransaction() {
    if (active_) {
        storage_.rollback();
    }
}

bool MessagesTransaction::Commit() {
    if (!active_) {
        return false;
    }
    if (!storage_.commit()) {
        return false; // the destructor rolls back
    }
    active_ = false;
    return true;
}
