#include "platform/system/sqlitestatement.h"
#include "platform/system/sqltext.h"
#include "sharedfilefixture.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <QVariant>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <limits>

namespace {
class SqliteStatementTest : public SharedFileTest<SqliteStatementPool> {
protected:
    static QList<int> rows(SqliteStatement& s) {
        QList<int> out;
        while (s.Next()) {
            out << static_cast<int>(s.Int64(0));
        }
        return out;
    }
    sqlite3* handle() const { return SqliteHandle(reader); }
};

TEST_F(SqliteStatementTest, TheHandleIsTheOpenConnectionsOnly) {
    EXPECT_NE(handle(), nullptr);
    EXPECT_EQ(SqliteHandle(QSqlDatabase()), nullptr);
    SqliteStatement none(nullptr, select);
    EXPECT_FALSE(none.Prepared());
    EXPECT_FALSE(none.Next());
    EXPECT_TRUE(none.Failed());
}

// Every kind of value the filters bind: stored as the Qt driver stores it, to the type.
TEST_F(SqliteStatementTest, ValuesBindAsTheQtDriverBindsThem) {
    exec(writer, "CREATE TABLE b (v)");
    const QVariantList values = {
        QVariant(),
        QVariant(QMetaType::fromType<qint64>()),
        QVariant(QString()),
        QVariant(QStringLiteral("")),
        QVariant(QStringLiteral("%Zoë 📻 Пётр%")),
        QVariant(QByteArray("\xff\x00z", 3)),
        QVariant(QByteArray("")),
        QVariant(QByteArray()),
        QVariant(QDate()),
        QVariant(QDateTime()),
        QVariant(true),
        QVariant(-7),
        QVariant(4000000000U),
        QVariant::fromValue<qint64>(std::numeric_limits<qint64>::min()),
        QVariant::fromValue<quint64>(std::numeric_limits<quint64>::max()),
        QVariant(45678.123456789),
        QVariant(QDate(2026, 12, 10)),
        QVariant(QDateTime(QDate(2026, 12, 10), QTime(23, 59, 58, 123), Qt::UTC)),
        QVariant(QTime(7, 5, 3, 9)),
    };
    for (const QVariant& value : values) {
        SCOPED_TRACE(value.toString().toStdString());
        exec(writer, "DELETE FROM b");
        QSqlQuery viaQt(reader);
        ASSERT_TRUE(viaQt.prepare(QStringLiteral("INSERT INTO b (v) VALUES (?)")));
        viaQt.addBindValue(value);
        ASSERT_TRUE(viaQt.exec()) << viaQt.lastError().text().toStdString();
        SqliteStatement direct(handle(), QStringLiteral("INSERT INTO b (v) VALUES (?)"));
        ASSERT_TRUE(direct.Bind({value})) << direct.Error().toStdString();
        EXPECT_FALSE(direct.Next());
        EXPECT_FALSE(direct.Failed()) << direct.Error().toStdString();
        QSqlQuery both(reader);
        ASSERT_TRUE(both.exec(QStringLiteral("SELECT typeof(v), quote(v) FROM b ORDER BY rowid")));
        ASSERT_TRUE(both.next());
        const QString qtType = both.value(0).toString();
        const QString qtValue = both.value(1).toString();
        ASSERT_TRUE(both.next());
        EXPECT_EQ(both.value(0).toString(), qtType);
        EXPECT_EQ(both.value(1).toString(), qtValue);
    }
}

TEST_F(SqliteStatementTest, ACountOfValuesOtherThanTheParametersFailsAsWithTheQtDriver) {
    SqliteStatement s(handle(), QStringLiteral("SELECT x FROM t WHERE x > ? AND x < ?"));
    EXPECT_FALSE(s.Bind({1}));
    EXPECT_FALSE(s.Bind({1, 2, 3}));
    ASSERT_TRUE(s.Bind({1, 3}));
    EXPECT_EQ(rows(s), QList<int>{2});
}

// Every column type, and texts in several scripts read as their bytes: the same values as a
// Qt query reads, null where it reads null.
TEST_F(SqliteStatementTest, ValuesReadAsTheQtDriverReadsThem) {
    exec(writer, "CREATE TABLE r (n INTEGER, v)");
    exec(writer, "INSERT INTO r VALUES (1, NULL), (2, 42), (3, -9223372036854775808),"
                 " (4, 2.5), (5, ''), (6, 'Zoë 📻 Пётr ラジオ'), (7, x''), (8, x'ff00e282ac'),"
                 " (9, 1e300), (10, '12abc')");
    const QString sql = QStringLiteral("SELECT v, CAST(v AS BLOB) FROM r ORDER BY n");
    QSqlQuery viaQt(reader);
    viaQt.setForwardOnly(true);
    ASSERT_TRUE(viaQt.exec(sql));
    SqliteStatement direct(handle(), sql);
    ASSERT_TRUE(direct.Bind({}));
    int count = 0;
    while (viaQt.next()) {
        ASSERT_TRUE(direct.Next());
        SCOPED_TRACE(count);
        const QVariant want = viaQt.value(0);
        const QVariant got = direct.Value(0);
        EXPECT_EQ(got.isNull(), want.isNull());
        if (!want.isNull()) {
            EXPECT_EQ(got.typeId(), want.typeId());
            EXPECT_EQ(got, want);
        }
        EXPECT_EQ(direct.IsNull(0), want.isNull());
        EXPECT_EQ(direct.IsInteger(0), want.typeId() == QMetaType::LongLong);
        const QString text = SqlUtf8Text(viaQt.value(1));
        EXPECT_EQ(direct.Utf8Text(1), text);
        EXPECT_EQ(direct.Utf8Text(1).isNull(), text.isNull());
        if (want.isNull() || want.typeId() == QMetaType::QString) {
            // Read from SQLite's UTF-8 without a cast: NULL null, an empty text empty.
            EXPECT_EQ(direct.Text(0), want.toString());
            EXPECT_EQ(direct.Text(0).isNull(), want.isNull());
            EXPECT_EQ(direct.Utf8(0).isNull(), want.isNull());
            EXPECT_EQ(direct.Utf8(0).toByteArray(), want.toString().toUtf8());
        }
        ++count;
    }
    EXPECT_FALSE(direct.Next());
    EXPECT_FALSE(direct.Failed());
    EXPECT_EQ(count, 10);
}

// A statement left half read must not keep the file's read lock, or no other studio
// computer could write until the next list.
TEST_F(SqliteStatementTest, AKeptStatementIsReusedAndReleasesTheFileAfterEachUse) {
    SqliteStatement* first = nullptr;
    {
        auto s = pool.Take(handle(), select);
        ASSERT_TRUE(s->Prepared());
        ASSERT_TRUE(s->Bind({}));
        ASSERT_TRUE(s->Next());
        first = &*s;
    }
    EXPECT_TRUE(exec(writer, "INSERT INTO t VALUES (4)"));
    auto again = pool.Take(handle(), select);
    EXPECT_EQ(&*again, first);
    ASSERT_TRUE(again->Bind({}));
    EXPECT_EQ(rows(*again), (QList<int>{1, 2, 3, 4}));
}

TEST_F(SqliteStatementTest, TheSameSqlAskedForWhileLentGetsAStatementOfItsOwn) {
    auto outer = pool.Take(handle(), select);
    ASSERT_TRUE(outer->Next());
    QList<int> inner;
    {
        auto nested = pool.Take(handle(), select);
        EXPECT_NE(&*nested, &*outer);
        inner = rows(*nested);
    }
    EXPECT_EQ(inner, (QList<int>{1, 2, 3}));
    EXPECT_EQ(outer->Int64(0), 1);
    EXPECT_EQ(rows(*outer), (QList<int>{2, 3}));
}

// Another computer bringing the file to a new schema: the kept statement reads the new
// table, never the one it was prepared against.
TEST_F(SqliteStatementTest, AStatementKeptAcrossAnotherConnectionsSchemaChangeReadsTheNewTable) {
    {
        auto s = pool.Take(handle(), select);
        EXPECT_EQ(rows(*s), (QList<int>{1, 2, 3}));
    }
    exec(writer, "DROP TABLE t");
    exec(writer, "CREATE TABLE t (y TEXT, x INTEGER)");
    exec(writer, "INSERT INTO t VALUES ('a', 7), ('b', 5)");
    auto s = pool.Take(handle(), select);
    EXPECT_EQ(rows(*s), (QList<int>{5, 7}));
    EXPECT_FALSE(s->Failed()) << s->Error().toStdString();
}

// A statement that cannot be prepared yet (its table comes later) is not kept; clearing the
// pool finalizes even a statement still lent out, which then reads no more rows, so that the
// connection can close.
TEST_F(SqliteStatementTest, AFailedPrepareIsNotKeptAndAClearedPoolEndsEveryStatement) {
    const QString sql = QStringLiteral("SELECT v FROM later");
    {
        auto s = pool.Take(handle(), sql);
        EXPECT_FALSE(s->Prepared());
        EXPECT_TRUE(s->Error().contains(QStringLiteral("no such table")))
            << s->Error().toStdString();
        EXPECT_FALSE(s->Next());
    }
    exec(writer, "CREATE TABLE later (v INTEGER)");
    exec(writer, "INSERT INTO later VALUES (9), (10)");
    auto s = pool.Take(handle(), sql);
    ASSERT_TRUE(s->Prepared());
    ASSERT_TRUE(s->Next());
    auto nested = pool.Take(handle(), sql);
    ASSERT_TRUE(nested->Next());
    pool.Clear();
    EXPECT_FALSE(s->Next());
    EXPECT_FALSE(nested->Next());
    EXPECT_EQ(sqlite3_next_stmt(handle(), nullptr), nullptr);
}
} // namespace
