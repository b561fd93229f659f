// A contact's messages, and a folder's newest messages, read through indexes of their own:
// the lines stay what the scans gave after every kind of write, and no query reads a table
// whole.
#include "messagesdbfixture.h"

#include "platform/messagesdb/messagefilter.h"
#include "platform/messagesdb/messagesschema.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/messagetable.h"
#include "support/toolrun.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace {
QString dbFile(const QString& folder) {
    return folder + QStringLiteral("/") + QLatin1String(MessagesStorage::kFileName);
}

// Statements on the file through a connection of their own, as another program would run
// them; the first column of each row of the last one.
QStringList rawExec(const QString& file, const QStringList& statements,
                    const QVariantList& values = {}) {
    QStringList rows;
    {
        QSqlDatabase raw =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        raw.setDatabaseName(file);
        EXPECT_TRUE(raw.open());
        for (const QString& s : statements) {
            QSqlQuery q(raw);
            EXPECT_TRUE(q.prepare(s)) << s.toStdString() << q.lastError().text().toStdString();
            for (const QVariant& v : values) {
                q.addBindValue(v);
            }
            EXPECT_TRUE(q.exec()) << s.toStdString() << q.lastError().text().toStdString();
            while (q.next()) {
                QStringList columns;
                for (int c = 0; c < q.record().count(); ++c) {
                    columns << q.value(c).toString();
                }
                rows << columns.join(QLatin1Char(' '));
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return rows;
}

class ContactMessagesTest : public MessagesDbTest {
protected:
    static constexpr const char* kEmails = "ann@example.org|ann.work@example.org";
    static constexpr const char* kNumbers = "07700 900999|+447700900123";

    void SetUp() override {
        MessagesDbTest::SetUp();
        db_->SetCurrentUserProvider([this] { return user_; });
    }

    qint32 store(const QString& from, const QString& to, qint32 kind = OrlixMessage::KindEmail,
                 qint32 owner = 0, qint32 folder = OrlixDatabase::kInboxFolder) {
        auto m = email(QStringLiteral("s"), from, QStringLiteral("b"), to);
        m->SetKind(kind);
        m->SetPersonalOwner(owner);
        m->SetFolder(folder);
        m->SetReceivedDate(QDateTime::currentDateTimeUtc());
        bool ok = false;
        db_->StoreMessage(*m, ok);
        EXPECT_TRUE(ok) << log_.join('\n').toStdString();
        return m->Reference();
    }

    // The contact's lines, in the order shown, as their message references.
    QList<qint32> lines() {
        QList<qint32> refs;
        for (const ContactListLine& line :
             db_->ContactMessageLines(QLatin1String(kEmails), QLatin1String(kNumbers))) {
            refs << line.Key.mid(1).toInt();
        }
        return refs;
    }

    static QList<qint32> sorted(QList<qint32> refs) {
        std::sort(refs.begin(), refs.end());
        return refs;
    }

    qint32 user_ = 10;
};
} // namespace

TEST_F(ContactMessagesTest, TheContactsLinesFollowEveryWriteOfAMessage) {
    open();
    const QString ann = QStringLiteral("Ann <Ann@Example.org>");
    const QString studio = QStringLiteral("studio@station.example");
    const qint32 from = store(ann, studio);
    const qint32 to = store(studio, QStringLiteral("Ann Work <ann.work@example.org>"));
    const qint32 sms =
        store(QStringLiteral("+44 7700 900123"), QStringLiteral("81234"), OrlixMessage::KindSms);
    store(QStringLiteral("annie@example.org"), studio);                            // near, not hers
    store(QStringLiteral("ann@example.org"), studio, OrlixMessage::KindEmail, 11); // another's
    const qint32 mine = store(ann, studio, OrlixMessage::KindEmail, 10);
    EXPECT_EQ(lines(), (QList<qint32>{mine, sms, to, from})) << "newest first";

    constexpr qint32 kArchive = 5;
    bool ok = false;
    db_->CopyMessage(from, kArchive, ok);
    ASSERT_TRUE(ok);
    QList<qint32> afterCopy = sorted(lines());
    ASSERT_EQ(afterCopy.size(), 5) << "the copy is hers too";
    const qint32 copy = afterCopy.back();
    EXPECT_GT(copy, mine);

    db_->MoveMessage(to, kArchive, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(sorted(lines()), (QList<qint32>{from, to, sms, mine, copy}));

    // Her message now comes from someone else; someone else's message now from her.
    auto changed = db_->GetMessage(from);
    ASSERT_NE(changed, nullptr);
    changed->SetMessageBytes(BuildTextMessage(QStringLiteral("bob@example.org"), studio,
                                              QStringLiteral("s"), QStringLiteral("b"),
                                              QDateTime()));
    db_->StoreMessage(*changed, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(sorted(lines()), (QList<qint32>{to, sms, mine, copy}));

    db_->DeleteMessage(copy, false, ok);
    ASSERT_TRUE(ok);
    db_->DeleteMessage(sms, false, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(sorted(lines()), (QList<qint32>{to, mine}));

    // The other user sees their own personal message, not this one's.
    user_ = 11;
    EXPECT_EQ(lines().size(), 2);
    EXPECT_FALSE(lines().contains(mine));

    // What the receiving tool stores is found the same way.
    bool closed = false;
    db_->CloseDatabase(closed);
    const ToolRun r = RunTool(QStringLiteral(ORLIX_MESSAGES_TOOL),
                              {QStringLiteral("import"), folder_, QStringLiteral("--sms"),
                               QStringLiteral(ORLIX_FIXTURES "/messages/traffic-tip.sms")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    open();
    const QList<qint32> imported = sorted(lines());
    ASSERT_EQ(imported.size(), 3);
    EXPECT_GT(imported.back(), mine);
}

TEST_F(ContactMessagesTest, NeitherQueryReadsATableWhole) {
    open();
    store(QStringLiteral("ann@example.org"), QStringLiteral("studio@station.example"));
    bool ok = false;
    db_->CloseDatabase(ok);
    QVariantList contactValues;
    const QString contactWhere = MessageTable::PartiesWhere(
        {QStringLiteral("ann@example.org"), QStringLiteral("ann.work@example.org")},
        {QStringLiteral("447700900123")}, 10, contactValues);
    const MessageFilter::Result all =
        MessageFilter::Parse(QStringLiteral("([Folder]=3 AND ([Owner]=0 OR [Owner]=10))"));
    ASSERT_TRUE(all.Ok);
    const struct {
        const char* name;
        QString sql;
        QVariantList values;
    } queries[] = {
        {"a contact's messages", MessageTable::QuerySql(contactWhere), contactValues},
        {"a folder's newest", MessageTable::QuerySql(all.Where, 5000), all.Values},
    };
    for (const auto& query : queries) {
        const QStringList plan = rawExec(
            dbFile(folder_), {QStringLiteral("EXPLAIN QUERY PLAN ") + query.sql}, query.values);
        const QString text = plan.join(QLatin1Char('\n'));
        EXPECT_FALSE(text.contains(QStringLiteral("SCAN messages"))) << query.name << "\n"
                                                                     << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("SCAN message_parties"))) << query.name << "\n"
                                                                            << text.toStdString();
        if (QLatin1String(query.name) == QLatin1String("a folder's newest")) {
            EXPECT_TRUE(text.contains(QStringLiteral("messages_by_folder_order")))
                << text.toStdString();
            // The index gives the order: the newest are picked with no sort of their own, and
            // only the picked rows are put in order.
            EXPECT_EQ(text.count(QStringLiteral("USE TEMP B-TREE FOR ORDER BY")), 1)
                << text.toStdString();
        }
    }
}

TEST_F(ContactMessagesTest, AFoldersNewestComeInTheOrderOfTheirFirstDate) {
    open();
    const qint64 day = 86400000;
    // Rows as other programs may leave them: one date of the three, or none.
    const struct {
        const char* column;
        qint64 at;
    } rows[] = {
        {"received_utc", 5 * day}, {"sent_utc", 7 * day}, {"send_after_utc", 6 * day}, {nullptr, 0},
        {"received_utc", 7 * day}, // equal to the sent one
        {"sent_utc", 1 * day},
    };
    bool ok = false;
    db_->CloseDatabase(ok);
    QStringList statements;
    for (const auto& row : rows) {
        statements << (row.column == nullptr
                           ? QStringLiteral("INSERT INTO messages (folder, kind, mime)"
                                            " VALUES (3, 1, '')")
                           : QStringLiteral("INSERT INTO messages (folder, kind, %1, mime)"
                                            " VALUES (3, 1, %2, '')")
                                 .arg(QLatin1String(row.column))
                                 .arg(row.at));
    }
    statements << QStringLiteral("INSERT INTO messages (folder, kind, received_utc, mime)"
                                 " VALUES (5, 1, %1, '')")
                      .arg(9 * day);
    rawExec(dbFile(folder_), statements);
    open();
    const auto list = db_->GetMessages(QStringLiteral("[Folder]=3"), 4);
    ASSERT_NE(list, nullptr);
    QList<qint32> refs;
    for (int i = 1; i <= list->Count(); ++i) {
        refs << list->Item(i)->Reference();
    }
    // References 1 to 6 in the order inserted: 7 days (5 then 2), 6 days (3), 5 days (1).
    EXPECT_EQ(refs, (QList<qint32>{5, 2, 3, 1}));
    const auto all = db_->GetMessages(QStringLiteral("[Folder]=3"), 0);
    ASSERT_NE(all, nullptr);
    ASSERT_EQ(all->Count(), 6);
    EXPECT_EQ(all->Item(5)->Reference(), 6);
    EXPECT_EQ(all->Item(6)->Reference(), 4) << "no date at all comes last";
}

// A file of the schema before the indexes: they are made from the keys each row kept, and the
// contact's lines are what they were.
TEST_F(ContactMessagesTest, AnOlderFileGetsItsIndexesFromTheKeysItKept) {
    QStringList statements = MessagesSchemaSteps(1) + MessagesSchemaSteps(2);
    statements << QStringLiteral(
        "INSERT INTO orlix_meta (name, value) VALUES ('schema_version', '2')");
    const struct {
        int reference;
        const char* addresses;
        const char* numbers;
        int owner;
        int received;
    } rows[] = {
        {1, "|ann@example.org|studio@station.example|", "", 0, 1},
        {2, "", "|447700900123|81234|", 0, 2},
        {3, "|annie@example.org|", "", 0, 3},
        {4, "|studio@station.example|ann.work@example.org|ann@example.org|", "", 0, 4},
        {5, "|ann@example.org|", "", 11, 5},
        {6, "||", "|", 0, 6},
    };
    for (const auto& row : rows) {
        statements << QStringLiteral("INSERT INTO messages (reference, folder, kind, received_utc,"
                                     " personal_owner, party_addresses, party_numbers, mime)"
                                     " VALUES (%1, 3, 1, %2, %3, '%4', '%5', '')")
                          .arg(row.reference)
                          .arg(row.received)
                          .arg(row.owner)
                          .arg(QLatin1String(row.addresses), QLatin1String(row.numbers));
    }
    rawExec(dbFile(folder_), statements);
    open();
    EXPECT_TRUE(
        logged(QStringLiteral("from schema version 2 to %1").arg(MessagesStorage::kCurrentSchema)))
        << log_.join('\n').toStdString();
    EXPECT_EQ(lines(), (QList<qint32>{4, 2, 1}));
    bool ok = false;
    db_->CloseDatabase(ok);
    EXPECT_EQ(rawExec(dbFile(folder_), {QStringLiteral("SELECT count(*) FROM message_parties"
                                                       " WHERE message = 4")}),
              QStringList{QStringLiteral("3")})
        << "one row per key";
}

// A file of the schema before the change counters, with the rows an earlier version stored
// wrongly: a message whose key of addresses a store blanked, hundreds of them, and an SMS to
// two listeners whose columns held only the one the header could parse. The upgrade reads
// their columns again from their bytes, and every one is in its parties' histories.
TEST_F(ContactMessagesTest, AnOlderFileOpensWithTheColumnsOfEachRowsOwnBytes) {
    QStringList statements;
    for (int v = 1; v < MessagesStorage::kCurrentSchema; ++v) {
        statements << MessagesSchemaSteps(v);
    }
    statements << QStringLiteral("INSERT INTO orlix_meta (name, value) VALUES ('schema_version', "
                                 "'%1')")
                      .arg(MessagesStorage::kCurrentSchema - 1);
    rawExec(dbFile(folder_), statements);

    const QByteArray email = BuildTextMessage(
        QStringLiteral("Ann Listener <ann@example.org>"), QStringLiteral("studio@station.example"),
        QStringLiteral("Hi"), QStringLiteral("Hello"), QDateTime());
    rawExec(dbFile(folder_),
            {QStringLiteral("INSERT INTO messages (reference, folder, kind, received_utc,"
                            " from_text, to_text, party_addresses, mime)"
                            " VALUES (1, 3, 1, 1, 'Ann Listener <ann@example.org>',"
                            " 'studio@station.example', '', ?)")},
            {email});
    const QByteArray sms("From: 81234\r\n"
                         "To: Petes Friend <07700900777>\r\n"
                         "X-Orlix-To: \"Smith, John\" <07700 900555>,Petes Friend <07700900777>\r\n"
                         "Subject: You won\r\n"
                         "MIME-Version: 1.0\r\n"
                         "Content-Type: text/plain; charset=utf-8\r\n"
                         "\r\n"
                         "You won\r\n");
    rawExec(dbFile(folder_),
            {QStringLiteral("INSERT INTO messages (reference, folder, kind, received_utc,"
                            " from_text, to_text, party_numbers, mime)"
                            " VALUES (2, 4, 2, 2, '81234', 'Petes Friend <07700900777>',"
                            " '|81234|07700900777|', ?)")},
            {sms});
    rawExec(dbFile(folder_), {QStringLiteral("INSERT INTO message_parties (kind, key, message)"
                                             " VALUES (2, '81234', 2), (2, '07700900777', 2)")});
    const QByteArray bob = BuildTextMessage(
        QStringLiteral("bob@example.org"), QStringLiteral("studio@station.example"),
        QStringLiteral("Again"), QStringLiteral("Play it"), QDateTime());
    rawExec(
        dbFile(folder_),
        {QStringLiteral("WITH RECURSIVE n (i) AS (SELECT 3 UNION ALL SELECT i + 1 FROM n"
                        " WHERE i < 702) INSERT INTO messages (reference, folder, kind,"
                        " received_utc, party_addresses, mime) SELECT i, 3, 1, i, '', ? FROM n")},
        {bob});

    open();
    const auto keys = [this](const QString& emails, const QString& numbers) {
        QList<qint32> refs;
        for (const ContactListLine& line : db_->ContactMessageLines(emails, numbers)) {
            refs << line.Key.mid(1).toInt();
        }
        return sorted(refs);
    };
    EXPECT_EQ(keys(QStringLiteral("ann@example.org"), {}), QList<qint32>{1});
    EXPECT_EQ(keys({}, QStringLiteral("07700 900555")), QList<qint32>{2});
    EXPECT_EQ(keys({}, QStringLiteral("07700900777")), QList<qint32>{2});
    EXPECT_EQ(keys(QStringLiteral("bob@example.org"), {}).size(), 700);
    EXPECT_EQ(db_->GetMessage(2)->ToText(),
              QStringLiteral("\"Smith, John\" <07700 900555>,Petes Friend <07700900777>"));
    // A few hundred rows a transaction at most, fewer when they take their time.
    const QRegularExpression told(
        QStringLiteral("read the columns of 702 older rows again from their bytes, in (\\d+) "
                       "transactions"));
    const QRegularExpressionMatch match = told.match(log_.join(QLatin1Char('\n')));
    ASSERT_TRUE(match.hasMatch()) << log_.join('\n').toStdString();
    EXPECT_GE(match.captured(1).toInt(), 3);

    bool ok = false;
    db_->CloseDatabase(ok);
    EXPECT_EQ(rawExec(dbFile(folder_), {QStringLiteral("SELECT count(*) FROM orlix_meta WHERE"
                                                       " name = 'columns_mend_after'"),
                                        QStringLiteral("SELECT sum(change_count) FROM messages")}),
              (QStringList{QStringLiteral("0"), QStringLiteral("0")}))
        << "the mend is through, and every row has its counter";
}
