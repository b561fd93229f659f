#pragma once

#include <QSqlDatabase>

#include "platform/directory/directoryreaders.h"
#include "platform/system/changewatch.h"
#include "platform/system/sqlitestatement.h"
#include "platform/system/sqlstatementpool.h"
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class QSqlQuery;

// Why an open failed; the text of the log line says the rest.
enum class StorageOpenResult {
    Opened,
    Created,
    Missing,
    Locked,
    Corrupt,
    TooNew,
    NotWritable,
    Failed
};

// The one owner of the directory file's SQLite connection. Every change goes through a
// DirectoryTransaction on it; every statement is prepared with bound values.
//
// Several studio computers open the same file, so the file keeps a rollback journal (WAL
// needs shared memory, which network folders do not give), waits a few seconds for another
// writer and keeps its transactions short. Its ChangeWatch follows the changes by kind: other
// connections' as they are noticed, this connection's own as they are committed.
class DirectoryStorage {
public:
    static constexpr int kCurrentSchema = 5;
    static constexpr int kBusyTimeoutMs = 5000;
    // The kinds of change the watch tells apart, as bits of its signals.
    enum Change : ChangeWatch::Kinds {
        ContactsKind = 1, // users too
        WebsitesKind = 2,
        UserSettingsKind = 4,
    };

    DirectoryStorage();
    ~DirectoryStorage();
    DirectoryStorage(const DirectoryStorage&) = delete;
    DirectoryStorage& operator=(const DirectoryStorage&) = delete;

    // Opens the file, making it at the current schema when it is missing and create is set;
    // brings an older schema up to date. A file that exists but holds no directory (empty,
    // damaged, another program's) fails as Corrupt: only a missing file is made. error
    // receives the reason on failure.
    StorageOpenResult Open(const QString& filePath, bool create, QString* error);
    void Close();
    bool IsOpen() const { return open_; }

    const QString& FilePath() const { return filePath_; }
    int SchemaVersion();

    // A prepared statement on this connection (never executed here).
    QSqlQuery Prepare(const QString& sql, QString* error = nullptr);
    // A statement kept for the connection's lifetime, for the look-ups made again and again.
    SqlStatementPool::Lease Statement(const QString& sql);
    // Runs a prepared statement; on failure logs the statement's error with context.
    static bool Exec(QSqlQuery& query, const char* context);
    // Runs sql with values bound (a null text binds NULL, as through the Qt driver) and hands
    // read each row (SqliteStatement's Text reads a NULL as a null text and an empty value as
    // an empty one); on failure logs the error with context and returns false. For the lists
    // of many rows: read through the Qt driver, every text was translated to UTF-16 by SQLite
    // and wrapped in a variant, which cost more than finding the rows. The statement is kept
    // for the connection's lifetime and reset once the rows are read, so it never holds the
    // file's read lock past the call.
    bool ReadRows(const QString& sql, const QList<QVariant>& values, const char* context,
                  const std::function<void(const SqliteStatement&)>& read);

    // Runs sql once per part, with that part's values bound, handing each row to read with
    // its part's number; the parts are read at once, on threads and connections of their own
    // besides this one (see DirectoryReaders), so read must keep each part's rows apart. Only
    // inside a DirectoryReadTransaction whose first read has been made: there every part sees
    // the file as this connection does. Inside a change (whose rows only this connection sees)
    // the parts are read here, one after another.
    bool ReadRowsInParts(const QString& sql, const std::vector<QVariantList>& parts,
                         const char* context, const DirectoryReaders::Read& read);

    QSqlDatabase& Database() { return db_; }
    ChangeWatch& Watch() { return watch_; }

private:
    friend class DirectoryTransaction;
    friend class DirectoryReadTransaction;
    enum class Making { Made, MadeElsewhere, Failed };

    // The connection to filePath, read once to tell a damaged, foreign or locked file.
    StorageOpenResult connect(const QString& filePath, QString* error);
    // Makes a whole directory under a name of its own beside filePath and then gives it that
    // name, unless another computer made the file meanwhile; so a directory file is never seen
    // half made.
    static Making makeFile(const QString& filePath, QString* error);
    bool applySchema(int from, QString* error);
    // Runs a statement of no rows (BEGIN, COMMIT), kept prepared.
    bool run(const QString& sql, QString* why = nullptr);

    QSqlDatabase db_;
    SqlStatementPool statements_;
    SqliteStatementPool rowStatements_;
    QString connectionName_;
    QString filePath_;
    // The file the connection has open, for the readers to open no other; made at the first
    // read in parts.
    quint64 fileDevice_ = 0;
    quint64 fileInode_ = 0;
    std::unique_ptr<DirectoryReaders> readers_;
    bool open_ = false;
    int transactionDepth_ = 0;
    ChangeWatch watch_;
};

// Begins a write transaction (BEGIN IMMEDIATE, so two writers never deadlock on a lock
// upgrade: the second waits for the busy timeout instead) and rolls it back on destruction
// unless Commit() succeeded.
class DirectoryTransaction {
public:
    explicit DirectoryTransaction(DirectoryStorage& storage);
    ~DirectoryTransaction();
    DirectoryTransaction(const DirectoryTransaction&) = delete;
    DirectoryTransaction& operator=(const DirectoryTransaction&) = delete;

    bool Active() const { return active_; }
    bool Commit();

private:
    DirectoryStorage& storage_;
    bool active_ = false;
};

// Several reads that must see one state of the file: begins a read transaction when the
// connection is in none (its shared lock is taken by the first read and kept to the end, so
// no one commits meanwhile) and ends it on destruction. Inside a change it does nothing: the
// change keeps its own state.
class DirectoryReadTransaction {
public:
    explicit DirectoryReadTransaction(DirectoryStorage& storage);
    ~DirectoryReadTransaction();
    DirectoryReadTransaction(const DirectoryReadTransaction&) = delete;
    DirectoryReadTransaction& operator=(const DirectoryReadTransaction&) = delete;

private:
    DirectoryStorage& storage_;
    bool begun_ = false;
};
