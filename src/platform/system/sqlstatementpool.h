#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <memory>

// The prepared statements of one connection, kept for its lifetime: preparing the same SQL
// again on every call cost more than running it on the hot look-ups.
//
// A statement is lent out for one use and reset when the lease ends, so it never holds the
// file's read lock past its caller (with a rollback journal a forgotten open read would keep
// every other studio computer from writing). A statement still lent out when the same SQL is
// asked for again (a caller reading one list while loading a row of another) is not shared:
// the second caller gets a statement of its own. SQLite re-prepares a kept statement by itself
// when another connection changes the schema.
class SqlStatementPool {
public:
    class Lease;

    SqlStatementPool() = default;
    SqlStatementPool(const SqlStatementPool&) = delete;
    SqlStatementPool& operator=(const SqlStatementPool&) = delete;

    // The statement for sql on db, prepared; a failed prepare is returned as it stands (its
    // exec fails with the error) and is not kept.
    Lease Take(const QSqlDatabase& db, const QString& sql);
    // Forgets every kept statement; called before the connection closes.
    void Clear();

private:
    struct Entry {
        QSqlQuery query;
        bool lent = false;
    };
    QHash<QString, std::shared_ptr<Entry>> entries_;
};

class SqlStatementPool::Lease {
public:
    Lease(Lease&& other) noexcept;
    Lease& operator=(Lease&&) = delete;
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    ~Lease();

    QSqlQuery& operator*() { return *query_; }
    QSqlQuery* operator->() { return query_; }
    // Whether the statement was prepared; a failed one is not kept.
    bool Prepared() const { return prepared_; }

private:
    friend class SqlStatementPool;
    Lease(std::shared_ptr<Entry> entry, std::unique_ptr<QSqlQuery> own, bool prepared);

    std::shared_ptr<Entry> entry_;   // a kept statement, or
    std::unique_ptr<QSqlQuery> own_; // one of this lease's own
    QSqlQuery* query_ = nullptr;
    bool prepared_ = false;
};
