#include "platform/system/sqlstatementpool.h"
#include "sharedfilefixture.h"

#include <QSqlError>
#include <QTemporaryDir>
#include <QUuid>
#include <QVariant>

#include <gtest/gtest.h>

namespace {
class SqlStatementPoolTest : public SharedFileTest<SqlStatementPool> {
protected:
    static QList<int> rows(QSqlQuery& q) {
        QList<int> out;
        while (q.next()) {
            out << q.value(0).toInt();
        }
        return out;
    }
};

// A statement left half read must not keep the file's read lock, or no other studio
// computer could write until the next look-up.
TEST_F(SqlStatementPoolTest, AKeptStatementIsReusedAndReleasesTheFileAfterEachUse) {
    QSqlQuery* first = nullptr;
    {
        auto q = pool.Take(reader, select);
        ASSERT_TRUE(q.Prepared());
        ASSERT_TRUE(q->exec());
        ASSERT_TRUE(q->next());
        first = &*q;
    }
    EXPECT_TRUE(exec(writer, "INSERT INTO t VALUES (4)"));
    auto again = pool.Take(reader, select);
    EXPECT_EQ(&*again, first);
    ASSERT_TRUE(again->exec());
    EXPECT_EQ(rows(*again), (QList<int>{1, 2, 3, 4}));
}

TEST_F(SqlStatementPoolTest, TheSameSqlAskedForWhileLentGetsAStatementOfItsOwn) {
    auto outer = pool.Take(reader, select);
    ASSERT_TRUE(outer->exec());
    ASSERT_TRUE(outer->next());
    QList<int> inner;
    {
        auto nested = pool.Take(reader, select);
        EXPECT_NE(&*nested, &*outer);
        ASSERT_TRUE(nested->exec());
        inner = rows(*nested);
    }
    EXPECT_EQ(inner, (QList<int>{1, 2, 3}));
    EXPECT_EQ(outer->value(0).toInt(), 1);
    EXPECT_EQ(rows(*outer), (QList<int>{2, 3}));
}

// Another computer bringing the file to a new schema: the kept statement reads the new
// table, never the one it was prepared against.
TEST_F(SqlStatementPoolTest, AStatementKeptAcrossAnotherConnectionsSchemaChangeReadsTheNewTable) {
    {
        auto q = pool.Take(reader, select);
        ASSERT_TRUE(q->exec());
        EXPECT_EQ(rows(*q), (QList<int>{1, 2, 3}));
    }
    exec(writer, "DROP TABLE t");
    exec(writer, "CREATE TABLE t (y TEXT, x INTEGER)");
    exec(writer, "INSERT INTO t VALUES ('a', 7), ('b', 5)");
    auto q = pool.Take(reader, select);
    ASSERT_TRUE(q->exec()) << q->lastError().text().toStdString();
    EXPECT_EQ(rows(*q), (QList<int>{5, 7}));
}

TEST_F(SqlStatementPoolTest, AFailedPrepareIsNotKeptAndAClearedPoolLeavesLeasesWorking) {
    const QString sql = QStringLiteral("SELECT v FROM later");
    {
        auto q = pool.Take(reader, sql);
        EXPECT_FALSE(q.Prepared());
        EXPECT_FALSE(q->exec());
    }
    exec(writer, "CREATE TABLE later (v INTEGER)");
    exec(writer, "INSERT INTO later VALUES (9)");
    auto q = pool.Take(reader, sql);
    ASSERT_TRUE(q.Prepared());
    pool.Clear();
    ASSERT_TRUE(q->exec());
    EXPECT_EQ(rows(*q), QList<int>{9});
}
} // namespace
