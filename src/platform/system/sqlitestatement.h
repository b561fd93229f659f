#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <vector>

class QSqlDatabase;
struct sqlite3;
struct sqlite3_stmt;

// The handle of a Qt SQLite connection; null for any other driver or a closed connection.
sqlite3* SqliteHandle(const QSqlDatabase& db);

// A connection of our own on the sqlite3 API, closed when it ends (once its last statement is
// finalized).
struct SqliteClose {
    void operator()(sqlite3* db) const;
};
using SqliteConnection = std::unique_ptr<sqlite3, SqliteClose>;

// One statement prepared on a connection's own sqlite3 handle, finalized when it ends. Long
// lists read their rows through it: the Qt driver copies every value of every row into a
// variant before the caller sees it, which on a list of thousands of messages cost as much as
// the query itself. Values bind and read back as the Qt driver binds and reads them.
class SqliteStatement {
public:
    SqliteStatement() = default;
    // Prepares sql on db; Prepared() tells whether it worked, Error() why not. A statement kept
    // for the connection's lifetime is prepared as such, so SQLite does not take its memory
    // from the connection's small shared store.
    SqliteStatement(sqlite3* db, const QString& sql, bool kept = false);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool Prepared() const { return statement_ != nullptr; }
    // The last failure's text, SQLite's own message with its result code.
    const QString& Error() const { return error_; }
    // The last failure's text without the code, as SQLite words it.
    const QString& Reason() const { return reason_; }

    // Binds the values to the statement's parameters in order: NULL for a null value, a blob
    // for bytes, a whole number for integers and truth values, a real for a double, text for
    // anything else. Fails, as the Qt driver does, unless there is one value per parameter.
    bool Bind(const QVariantList& values);
    // Steps to the next row: false at the end, and on a failure (then Failed() is set).
    bool Next();
    bool Failed() const { return failed_; }
    // Ends the read at once (releasing the file's read lock) and clears the bound values.
    void Reset();

    // The current row's values. Value reads any column as the Qt driver does (a whole number
    // as qint64, a real as double, text as text, a blob as bytes, NULL as a null variant);
    // the others are quicker paths for the column types the caller expects.
    bool IsNull(int column) const;
    bool IsInteger(int column) const;
    qint64 Int64(int column) const;
    QVariant Value(int column) const;
    // A text column selected as its stored UTF-8 bytes (`CAST(column AS BLOB)`), read as
    // SqlUtf8Text reads it: NULL a null text, empty an empty one.
    QString Utf8Text(int column) const;
    // Any column read as text from SQLite's UTF-8: NULL a null text, empty an empty one, a
    // number its text.
    QString Text(int column) const;
    // The text of UTF-8 bytes as Text reads a column's: a null view a null text, an empty one
    // an empty text.
    static QString TextOf(QByteArrayView utf8);
    // The stored UTF-8 bytes of a text column, valid until the next row; null for NULL.
    QByteArrayView Utf8(int column) const;

private:
    bool fail(int code);

    sqlite3* db_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
    QString error_;
    QString reason_;
    bool failed_ = false;
};

// The row statements of one connection, kept for its lifetime and lent out one use at a
// time, as SqlStatementPool keeps the Qt driver's: the lease resets its statement when it
// ends, so no statement holds the file's read lock past its caller, and a statement still
// lent out is never shared (the second caller gets one of its own). SQLite re-prepares a kept
// statement by itself when another connection changes the schema.
class SqliteStatementPool {
public:
    class Lease;

    SqliteStatementPool() = default;
    SqliteStatementPool(const SqliteStatementPool&) = delete;
    SqliteStatementPool& operator=(const SqliteStatementPool&) = delete;

    // The statement for sql on db, prepared; a failed prepare is returned (with its error)
    // and not kept.
    Lease Take(sqlite3* db, const QString& sql);
    // Runs a statement of no rows (BEGIN, COMMIT) kept like the others: each parse took a
    // block of memory large enough to make the allocator gather every small block freed since.
    // why receives SQLite's reason on failure.
    bool Run(sqlite3* db, const QString& sql, QString* why = nullptr);
    // Finalizes every statement of the pool, lent out or not (a lease then reads no more
    // rows); called before the connection closes, which SQLite refuses while a statement of it
    // is left.
    void Clear();

private:
    struct Entry {
        SqliteStatement statement;
        bool lent = false;
    };
    QHash<QString, std::shared_ptr<Entry>> entries_;
    // The statements lent out beside a kept one of the same text, while their leases last.
    std::vector<std::weak_ptr<Entry>> loose_;
};

class SqliteStatementPool::Lease {
public:
    Lease(Lease&& other) noexcept;
    Lease& operator=(Lease&&) = delete;
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    ~Lease();

    SqliteStatement& operator*() { return entry_->statement; }
    SqliteStatement* operator->() { return &entry_->statement; }

private:
    friend class SqliteStatementPool;
    explicit Lease(std::shared_ptr<Entry> entry) : entry_(std::move(entry)) {}

    std::shared_ptr<Entry> entry_;
};
