#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

// Two connections on one file with a rollback journal, as the studio computers share it, and
// a statement pool of the reader's: a table t of the rows 1, 2 and 3.
template <class Pool> class SharedFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        reader = open();
        writer = open();
        exec(writer, "CREATE TABLE t (x INTEGER)");
        exec(writer, "INSERT INTO t VALUES (1), (2), (3)");
    }
    void TearDown() override {
        pool.Clear();
        for (const QString& name : {reader.connectionName(), writer.connectionName()}) {
            reader = writer = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
        }
    }

    QSqlDatabase open() {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QUuid::createUuid().toString());
        db.setDatabaseName(dir.filePath(QStringLiteral("shared.sqlite")));
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        EXPECT_TRUE(db.open());
        exec(db, "PRAGMA journal_mode=DELETE");
        return db;
    }
    static bool exec(QSqlDatabase& db, const char* sql) {
        QSqlQuery q(db);
        const bool ran = q.exec(QString::fromUtf8(sql));
        EXPECT_TRUE(ran) << sql << ": " << q.lastError().text().toStdString();
        return ran;
    }

    QTemporaryDir dir;
    QSqlDatabase reader;
    QSqlDatabase writer;
    Pool pool;
    const QString select = QStringLiteral("SELECT x FROM t ORDER BY x");
};
