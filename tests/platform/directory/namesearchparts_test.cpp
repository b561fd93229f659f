// A search of thousands of contacts reads its rows in parts at once, on connections of its
// own beside the caller's: every part must see the file exactly as the caller's connection
// does, whatever other computers are doing to it.
#include "directoryfixture.h"

#include "platform/directory/contactstore.h"
#include "platform/directory/contacttext.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/directorystorage.h"
#include "platform/system/sqlitestatement.h"

#include <QFile>
#include <QSqlQuery>

#include <sqlite3.h>

#include <cstdio>
#include <memory>

namespace {
// Another computer's connection: it waits for no lock.
using Connection = SqliteConnection;

Connection connect(const QString& path) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    return Connection(raw);
}

int exec(const Connection& db, const char* sql) {
    return sqlite3_exec(db.get(), sql, nullptr, nullptr, nullptr);
}

constexpr int kCallers = 3000;
// The references spread over a dozen of the ranges a search reads at once, some for every
// reader and the caller.
constexpr qint64 kGap = qint64(12 * ContactStore::kRangeReferences / kCallers + 1);

class NameSearchPartsTest : public DirectoryFixture {
protected:
    void SetUp() override {
        DirectoryFixture::SetUp();
        path = KVDirectory::DefaultFilePath();
        ASSERT_EQ(search.Open(path, false, nullptr), StorageOpenResult::Opened);
        DirectoryTransaction tx(search);
        ContactStore store(search);
        for (int i = 0; i < kCallers; ++i) {
            ContactRecord r;
            r.name =
                QStringLiteral("Caller %1").arg((i * 7919) % kCallers, 4, 10, QLatin1Char('0'));
            r.company = QStringLiteral("Company %1").arg(i);
            ASSERT_TRUE(store.Insert(r));
            ASSERT_TRUE(skipReferences(search, kGap - 1));
        }
        ASSERT_TRUE(tx.Commit());
        // The readers are opened by the first search: from the next on, they take their
        // parts as soon as the caller does.
        bool ok = false;
        ASSERT_EQ(found(search, &ok).size(), kCallers);
    }

    // What the search finds, reference, name and company, in its order.
    QStringList found(DirectoryStorage& storage, bool* ok) {
        const auto made = ContactStore(storage).Find(
            {{ContactField::Name, ContactMatch::Contains, QStringLiteral("ALLER")}}, ok,
            [](ContactRecord&& r) {
                return std::make_shared<DirectoryContact>(
                    std::move(r), std::weak_ptr<DirectoryStorage>(), QString());
            });
        QStringList out;
        for (const auto& c : made) {
            out << describe(c->Reference(), c->Name(), c->Company());
        }
        return out;
    }

    // What a list of every contact reads, in name order, of the names holding the part.
    QStringList listed(DirectoryStorage& storage) {
        QStringList out;
        for (const ContactRecord& r : ContactStore(storage).All()) {
            if (ContactText::Fold(r.name).contains(QStringLiteral("aller"))) {
                out << describe(r.reference, r.name, r.company);
            }
        }
        return out;
    }

    static QString describe(qint32 reference, const QString& name, const QString& company) {
        return QStringLiteral("%1|%2|%3").arg(reference).arg(name, company);
    }

    QString path;
    DirectoryStorage search;
};

// Another computer has changed the file and waits for this one's read to end before it
// commits: the readers are refused their lock, and the caller reads every part itself, the
// file as it was.
TEST_F(NameSearchPartsTest, AWriterWaitingToCommitLeavesEveryPartToTheCaller) {
    const QStringList before = listed(search);
    ASSERT_EQ(before.size(), kCallers);
    Connection writer = connect(path);
    {
        DirectoryReadTransaction reading(search);
        ASSERT_EQ(ContactStore(search).CountUsers(), 0); // the shared lock, kept to the end
        ASSERT_EQ(exec(writer, "BEGIN IMMEDIATE"), SQLITE_OK);
        ASSERT_EQ(exec(writer, "UPDATE contacts SET company = 'Changed' WHERE company LIKE '%7'"),
                  SQLITE_OK);
        ASSERT_EQ(exec(writer, "COMMIT"), SQLITE_BUSY);
        // The writer now holds the lock that refuses every new reader.
        EXPECT_EQ(exec(connect(path), "SELECT count(*) FROM contacts"), SQLITE_BUSY);

        bool ok = false;
        EXPECT_EQ(found(search, &ok), before);
        EXPECT_TRUE(ok);
        EXPECT_FALSE(logged(QStringLiteral("failed")));
    }
    ASSERT_EQ(exec(writer, "COMMIT"), SQLITE_OK);
    bool ok = false;
    const QStringList after = found(search, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(after, listed(search));
    EXPECT_EQ(after.filter(QStringLiteral("|Changed")).size(), kCallers / 10);
}

// Inside a change only the caller's connection sees the change's rows: every part is read
// there.
TEST_F(NameSearchPartsTest, InsideAChangeTheSearchFindsTheChangesOwnRows) {
    DirectoryTransaction tx(search);
    QSqlQuery everyone = search.Prepare(QStringLiteral("UPDATE contacts SET company = 'Inside'"));
    ASSERT_TRUE(DirectoryStorage::Exec(everyone, "test"));
    ContactRecord added;
    added.name = QStringLiteral("Caller 0000 added");
    ASSERT_TRUE(ContactStore(search).Insert(added));
    ContactRecord renamed = *ContactStore(search).Load(1, true);
    renamed.name = QStringLiteral("Nobody now");
    ASSERT_TRUE(ContactStore(search).Update(renamed));

    bool ok = false;
    const QStringList inside = found(search, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(inside, listed(search));
    EXPECT_EQ(inside.size(), kCallers); // one more, one fewer
    EXPECT_TRUE(inside.contains(describe(added.reference, added.name, QString())));
    EXPECT_EQ(inside.filter(QStringLiteral("|Inside")).size(), kCallers - 1);
}

// A copy put in place of the file while this computer has it open (restored by hand): the
// search reads the file its connection has open, never a part of the copy.
TEST_F(NameSearchPartsTest, AFilePutInPlaceOfTheOpenOneIsNotRead) {
    const QStringList before = listed(search);
    const QString copy = path + QStringLiteral(".copy");
    ASSERT_TRUE(QFile::copy(path, copy));
    {
        Connection other = connect(copy);
        ASSERT_EQ(exec(other, "UPDATE contacts SET company = 'In the copy'"), SQLITE_OK);
    }
    ASSERT_EQ(std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(path).constData()),
              0);

    bool ok = false;
    EXPECT_EQ(found(search, &ok), before);
    EXPECT_TRUE(ok);
}
} // namespace
