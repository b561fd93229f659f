#pragma once

#include "platform/system/changewatch.h"
#include "platform/system/sqlitebackup.h"
#include <QObject>

#include <QSqlDatabase>
#include <QString>

#include "platform/system/sqlitestatement.h"
#include "platform/system/sqlstatementpool.h"

#include <optional>

class QSqlQuery;

// Why an open failed; the log line says the rest.
enum class MessagesOpenResult {
    Opened,
    Created,
    Missing,
    NotWritable,
    Locked,
    Corrupt,
    TooNew,
    Failed
};

// The one owner of the messages database file's SQLite connection. Every change goes through
// a MessagesTransaction on it; every statement is prepared with bound values.
//
// Several studio computers and the delivering program open the same file, so it keeps a
// rollback journal (WAL needs shared memory, which network folders do not give), waits a few
// seconds for another writer and keeps its transactions short.
//
// Changes are followed by kind through its ChangeWatch: other connections' as they are
// noticed, this connection's own as they are committed. Another engine brings its own way of
// doing this behind the same signals.
class MessagesStorage : public QObject {
    Q_OBJECT
public:
    static constexpr int kCurrentSchema = 5;
    // The kinds of change the watch tells apart, as bits of its signals.
    enum Change : ChangeWatch::Kinds {
        MessagesKind = 1,
        FoldersKind = 2,
        PrizesKind = 4,  // with their winners
        StationKind = 8, // the settings table: station details, templates folder, label sheet
        TemplatesKind = 16,
    };
    static constexpr int kDefaultBusyTimeoutMs = 5000;
    static constexpr const char* kFileName = "messages.sqlite";

    MessagesStorage();
    ~MessagesStorage() override;
    MessagesStorage(const MessagesStorage&) = delete;
    MessagesStorage& operator=(const MessagesStorage&) = delete;

    // Set before Open; how long a statement waits for another computer's lock.
    void SetBusyTimeout(int ms) { busyTimeoutMs_ = ms; }
    // "FULL" (the default: a commit survives a power cut) or "NORMAL".
    void SetSynchronous(const QString& mode) { synchronous_ = mode; }

    // Opens the file, creating it at the current schema when it is missing and create is
    // set; brings an older schema up to date. error receives the reason on failure.
    MessagesOpenResult Open(const QString& filePath, bool create, QString* error);
    void Close();
    bool IsOpen() const { return open_; }
    const QString& FilePath() const { return filePath_; }

    QSqlQuery Prepare(const QString& sql);
    // A statement kept for the connection's lifetime, for the look-ups made again and again.
    SqlStatementPool::Lease Statement(const QString& sql);
    // A statement read straight through SQLite, kept as Statement keeps its own: for the
    // long lists, whose rows the Qt driver would copy into variants first.
    SqliteStatementPool::Lease Rows(const QString& sql);
    // Runs a prepared statement; on failure logs the statement's error with the context.
    static bool Exec(QSqlQuery& query, const char* context);

    // Starts noticing other connections' changes: polled every pollMs (0: only when
    // CheckForChanges is called), announced at most once every minGapMs.
    void StartWatching(int pollMs = 500, int minGapMs = 1000);
    void StopWatching();
    // Looks for other connections' changes now, as each poll of the watch does; false when
    // the file could not be read.
    bool CheckForChanges();
    ChangeWatch& Watch() { return watch_; }

    // Writes a consistent copy of the whole database to targetFile (which must not exist), a
    // few pages a step, telling progress after each; other connections go on writing.
    bool Snapshot(const QString& targetFile, QString* error,
                  const SqliteBackupProgress& progress = {});

private:
    friend class MessagesTransaction;
    // Why an open stops, and what its log line says.
    struct Refusal {
        MessagesOpenResult Result = MessagesOpenResult::Failed;
        QString Why;
    };
    static std::optional<Refusal> checkLocation(const QString& filePath, bool create);
    std::optional<Refusal> connectTo(const QString& filePath);
    // The file's schema version: 0 for a file with no tables at all.
    std::optional<Refusal> readSchemaVersion(int& version);
    // created: whether this connection made the tables, not another computer meanwhile.
    std::optional<Refusal> applySchema(int from, bool& created);
    bool begin();
    bool commit();
    void rollback();

    QSqlDatabase db_;
    SqlStatementPool statements_;
    SqliteStatementPool rows_;
    QString connectionName_;
    QString filePath_;
    QString synchronous_ = QStringLiteral("FULL");
    int busyTimeoutMs_ = kDefaultBusyTimeoutMs;
    bool open_ = false;
    bool inTransaction_ = false;
    ChangeWatch watch_;
};

// Begins a write transaction (BEGIN IMMEDIATE, so two writers never deadlock on a lock
// upgrade: the second waits for the busy timeout instead) and rolls it back on destruction
// unless Commit() succeeded.
class MessagesTransaction {
public:
    explicit MessagesTransaction(MessagesStorage& storage);
    ~MessagesTransaction();
    MessagesTransaction(const MessagesTransaction&) = delete;
    MessagesTransaction& operator=(const MessagesTransaction&) = delete;

    bool Active() const { return active_; }
    bool Commit();

private:
    MessagesStorage& storage_;
    bool active_ = false;
};
