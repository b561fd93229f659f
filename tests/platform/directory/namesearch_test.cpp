// Searching contacts by any part of their name: the index must find exactly what reading
// every row found, in the same order, whatever the term holds.
#include "directoryfixture.h"

#include "platform/directory/contactfilter.h"
#include "platform/directory/contactmaker.h"
#include "platform/directory/contactstore.h"
#include "platform/directory/contacttext.h"
#include "platform/directory/directoryschema.h"
#include "platform/directory/directorystorage.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

#include <algorithm>

namespace {
const QStringList kNames = {
    QStringLiteral("Ann Wright"),
    QStringLiteral("ANNE WRIGHTSON"),
    QStringLiteral("Joanna Banner"),
    QStringLiteral("Pat \"The Voice\" O'Neil"),
    QStringLiteral("100% Pure_Radio"),
    QStringLiteral("Star*Name?"),
    QStringLiteral("Zoë Ångström"),
    QStringLiteral("ZOË ÅNGSTRÖM"),
    QStringLiteral("Straße Café"),
    QStringLiteral("Radio 📻 Fan"),
    QStringLiteral("Li"),
    QStringLiteral(""),
    QStringLiteral("  spaced   out  "),
};

const QStringList kTerms = {
    // one and two characters: read from every row, as before the index
    QStringLiteral("a"),
    QStringLiteral("Z"),
    QStringLiteral("li"),
    QStringLiteral("%_"),
    QStringLiteral("📻"),
    // three and more: found through the index
    QStringLiteral("ann"),
    QStringLiteral("ANN"),
    QStringLiteral("wright"),
    QStringLiteral("n W"),
    QStringLiteral("\"The"),
    QStringLiteral("O'Neil"),
    QStringLiteral("0% P"),
    QStringLiteral("e_R"),
    QStringLiteral("r*N"),
    QStringLiteral("e?"),
    QStringLiteral("*Na"),
    QStringLiteral("ngst"),
    QStringLiteral("ÅNG"),
    QStringLiteral("zoë å"),
    QStringLiteral("ße "),
    QStringLiteral("📻 F"),
    QStringLiteral(" 📻 "),
    QStringLiteral("   "),
    QStringLiteral("Ann Wright"),
    QStringLiteral("nobody here"),
    QStringLiteral("\"\"\""),
    QStringLiteral("NEAR"),
    QStringLiteral("a OR b"),
    QStringLiteral("AND"),
};

class NameSearchTest : public DirectoryFixture {
protected:
    void SetUp() override {
        DirectoryFixture::SetUp();
        ensureAdmin();
        loginAs(admin);
    }

    qint32 save(const QString& name, qint32 reference = 0) {
        auto c =
            reference ? directory->GetContact(reference, true, false) : directory->CreateContact(0);
        c->SetName(name);
        bool ok = false;
        directory->SaveContact(reference, c, false, false, ok);
        EXPECT_TRUE(ok) << name.toStdString();
        return c->Reference();
    }

    // What reading every row finds: the folded name holds the folded term, in name order.
    QList<qint32> scanned(const QString& term) {
        // Name order as the file compares: the folded name's UTF-8 bytes.
        QList<std::pair<QByteArray, qint32>> rows;
        for (const auto& c : directory->FindContacts(
                 QList<ContactCriterion>{{ContactField::Name, ContactMatch::StartsWith, {}}})) {
            if (ContactText::Fold(c->Name()).contains(ContactText::Fold(term))) {
                rows << std::make_pair(ContactText::Fold(c->Name()).toUtf8(), c->Reference());
            }
        }
        std::sort(rows.begin(), rows.end());
        QList<qint32> out;
        for (const auto& r : rows) {
            out << r.second;
        }
        return out;
    }

    QList<qint32> searched(const QString& term) {
        QList<qint32> out;
        const auto found = directory->FindContacts(
            QStringLiteral("[Name] LIKE ") + ContactFilterValue(QStringLiteral("*") + term + "*"),
            0, 0);
        for (const auto& c : found) {
            out << c->Reference();
        }
        return out;
    }

    void expectSameAsScan() {
        for (const QString& term : kTerms) {
            EXPECT_EQ(searched(term), scanned(term)) << "term: " << term.toStdString();
        }
    }
};

TEST_F(NameSearchTest, FindsExactlyWhatAScanFindsForEveryTerm) {
    for (const QString& name : kNames) {
        save(name);
    }
    expectSameAsScan();
    // The terms do find something: the table is not comparing two empty lists.
    EXPECT_EQ(searched(QStringLiteral("ann")).size(), 3);
    EXPECT_EQ(searched(QStringLiteral("ÅNG")).size(), 2);
    EXPECT_EQ(searched(QStringLiteral("📻 F")).size(), 1);
}

// Either of two parts, both through the index, or one through it and one read from every
// row: each contact once, in name order, ties on the folded name by reference.
TEST_F(NameSearchTest, EitherOfTwoPartsFindsEachContactOnceInNameOrder) {
    for (const QString& name : kNames) {
        save(name);
    }
    const std::vector<std::pair<QString, QString>> pairs = {
        {QStringLiteral("ann"), QStringLiteral("ngst")},
        {QStringLiteral("wright"), QStringLiteral("WRIGHTSON")},
        {QStringLiteral("ÅNG"), QStringLiteral("li")},
        {QStringLiteral("📻 F"), QStringLiteral("nobody here")},
    };
    for (const auto& [a, b] : pairs) {
        QList<qint32> want = scanned(a);
        for (const qint32 r : scanned(b)) {
            if (!want.contains(r)) {
                want << r;
            }
        }
        const QList<qint32> all = scanned(QString());
        std::sort(want.begin(), want.end(),
                  [&](qint32 x, qint32 y) { return all.indexOf(x) < all.indexOf(y); });
        QList<qint32> got;
        for (const auto& c : directory->FindContacts(
                 QList<ContactCriterion>{{ContactField::Name, ContactMatch::Contains, a},
                                         {ContactField::Name, ContactMatch::Contains, b}})) {
            got << c->Reference();
        }
        EXPECT_EQ(got, want) << a.toStdString() << " or " << b.toStdString();
        EXPECT_FALSE(got.isEmpty());
    }
}

// The order of the stored folded names' bytes (code points), not of their UTF-16 texts: a
// character beyond U+FFFF comes after U+FF46, which UTF-16 would put first; equal folded names
// by reference. The same through the index, through a short part read from every row and
// through two parts at once.
TEST_F(NameSearchTest, ResultsComeInCodePointOrderWhateverWayTheyAreFound) {
    const qint32 radio = save(QStringLiteral("Fan 📻"));
    const qint32 wide = save(QStringLiteral("Fan ｆ"));
    const qint32 upper = save(QStringLiteral("FAN ｆ"));
    const qint32 plain = save(QStringLiteral("fan z"));
    const qint32 accent = save(QStringLiteral("Fan é"));
    save(QStringLiteral("Nobody"));
    const QList<qint32> inOrder = {plain, accent, wide, upper, radio};
    EXPECT_EQ(scanned(QStringLiteral("fan")), inOrder);
    for (const QString& term : {QStringLiteral("fan"), QStringLiteral("FAN "), QStringLiteral("an"),
                                QStringLiteral("f")}) {
        EXPECT_EQ(searched(term), scanned(term)) << term.toStdString();
    }
    QList<qint32> got;
    for (const auto& c : directory->FindContacts(QList<ContactCriterion>{
             {ContactField::Name, ContactMatch::Contains, QStringLiteral("n 📻")},
             {ContactField::Name, ContactMatch::StartsWith, QStringLiteral("fan")}})) {
        got << c->Reference();
    }
    EXPECT_EQ(got, inOrder);
}

TEST_F(NameSearchTest, FollowsRenamesAndRemovalsInTheSameChange) {
    const qint32 ann = save(QStringLiteral("Ann Wright"));
    const qint32 bob = save(QStringLiteral("Bob Banner"));
    save(QStringLiteral("Annabel Lee"), ann);
    EXPECT_TRUE(searched(QStringLiteral("Wright")).isEmpty());
    EXPECT_EQ(searched(QStringLiteral("abel")), QList<qint32>{ann});
    QString refusal;
    ASSERT_TRUE(directory->RemoveContact(bob, &refusal)) << refusal.toStdString();
    EXPECT_TRUE(searched(QStringLiteral("Banner")).isEmpty());
    for (const QString& name : kNames) {
        save(name);
    }
    expectSameAsScan();
}

// Every field of a record as a line, a NULL text apart from an empty one.
QString describe(const ContactRecord& r) {
    QStringList parts{QString::number(r.reference)};
    for (const QString* text :
         {&r.name, &r.company, &r.email1, &r.email2, &r.email3, &r.phoneNumber1, &r.phoneNumber2,
          &r.mobileNumber, &r.otherNumber, &r.loginName, &r.address, &r.notes}) {
        parts << (text->isNull() ? QStringLiteral("<null>") : *text);
    }
    for (const qint64 n :
         {qint64(r.ownerReference), qint64(r.contactListValue), qint64(r.directoryRights),
          qint64(r.userRights), qint64(r.passwordSet), qint64(r.full), qint64(r.notesRead)}) {
        parts << QString::number(n);
    }
    return parts.join(QLatin1Char('|'));
}

// A search in a directory of many references (read in ranges at once, each range's contacts
// made where it is read): each found contact holds exactly the light record a list reads for
// it, and they come in name order, also where names are alike far beyond the part every found
// name shares.
TEST_F(NameSearchTest, ASearchOfManyContactsHoldsEachContactsRowInNameOrder) {
    DirectoryStorage writer;
    ASSERT_EQ(writer.Open(KVDirectory::DefaultFilePath(), false, nullptr),
              StorageOpenResult::Opened);
    {
        DirectoryTransaction tx(writer);
        ContactStore store(writer);
        const int count = 3 * ContactMaker::kBatchRows + 17;
        for (int i = 0; i < count; ++i) {
            ContactRecord r;
            const int n = (i * 7919) % count;
            // Alike names: the same up to the last letter, or the same but for case.
            r.name = i % 9 == 0   ? QStringLiteral("Caller 0000 long alike name %1").arg(i % 2)
                     : i % 9 == 1 ? QStringLiteral("CALLER %1").arg(n / 3, 8, 10, QLatin1Char('0'))
                                  : QStringLiteral("caller %1").arg(n / 3, 8, 10, QLatin1Char('0'));
            r.company = i % 3 == 0 ? QStringLiteral("Company %1").arg(i) : QString();
            r.email1 = QStringLiteral("c%1@example.org").arg(i);
            r.email2 = i % 5 == 0 ? QStringLiteral("second%1@example.org").arg(i) : QString();
            r.phoneNumber1 = QStringLiteral("01632 %1").arg(i);
            r.mobileNumber = i % 2 == 0 ? QStringLiteral("+44 7700 %1").arg(i) : QString();
            r.otherNumber = i % 7 == 0 ? QStringLiteral("Zoë 📻 %1").arg(i) : QString();
            r.loginName = i % 97 == 0 ? QStringLiteral("user%1").arg(i) : QString();
            r.ownerReference = i % 11;
            r.contactListValue = i % 13;
            r.directoryRights = i % 4 == 0 ? 0xFFFFFFFFu : quint32(i % 4);
            r.userRights = quint32(i % 6);
            r.address = QStringLiteral("never in a list");
            ASSERT_TRUE(store.Insert(r));
            if (i % 200 == 0) {
                ASSERT_TRUE(store.SetPassword(r.reference, {"hash", "salt", 1}));
            }
            ASSERT_TRUE(skipReferences(writer, i * 17 % 97)); // over more than one range
        }
        ContactRecord other;
        other.name = QStringLiteral("Nobody Else");
        ASSERT_TRUE(store.Insert(other));
        tx.Commit();
    }
    // What a list reads, row by row and in the file's order, of the names holding the part.
    QStringList want;
    for (const ContactRecord& r : ContactStore(writer).All()) {
        if (ContactText::Fold(r.name).contains(QStringLiteral("all"))) {
            want << describe(r);
        }
    }
    ASSERT_GT(want.size(), 3 * ContactMaker::kBatchRows);

    for (int round = 0; round < 3; ++round) { // again, on buffers kept from the last search
        QStringList got;
        for (const auto& c :
             directory->FindContacts(QStringLiteral("[Name] LIKE \"*ALL*\""), 0, 0)) {
            got << describe(c->Record());
        }
        ASSERT_EQ(got.size(), want.size());
        for (qsizetype i = 0; i < want.size(); ++i) {
            ASSERT_EQ(got[i], want[i]) << "row " << i;
        }
    }
}

// Every reference of a search's ranges is searched, the first and the last of each range as
// much as those between, also where references below zero (a file written by hand) widen them.
TEST_F(NameSearchTest, ASearchInRangesFindsTheContactsAtEveryRangesEdges) {
    DirectoryStorage writer;
    ASSERT_EQ(writer.Open(KVDirectory::DefaultFilePath(), false, nullptr),
              StorageOpenResult::Opened);
    {
        DirectoryTransaction tx(writer);
        QSqlQuery q(writer.Database());
        // Every reference from below zero to past two ranges' worth: whatever edges the
        // ranges have, contacts lie on both sides of each.
        ASSERT_TRUE(
            q.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT -3 UNION ALL SELECT i + 1 FROM n"
                                  " WHERE i < %1) INSERT INTO contacts (reference, name, name_fold)"
                                  " SELECT i, 'Ring ' || i, 'ring ' || i FROM n"
                                  " WHERE i NOT IN (SELECT reference FROM contacts)")
                       .arg(2 * ContactStore::kRangeReferences + 5)));
        ASSERT_TRUE(tx.Commit());
    }
    const QList<qint32> found = searched(QStringLiteral("ING "));
    EXPECT_GT(found.size(), 2 * qsizetype(ContactStore::kRangeReferences));
    EXPECT_EQ(found, scanned(QStringLiteral("ING ")));
}

// A directory made before the index existed gets it when it is opened, with every contact
// already in it.
TEST_F(NameSearchTest, AnOlderDirectoryIsIndexedWhenOpened) {
    const QString path =
        QDir(qEnvironmentVariable("ORLIX_HOME")).filePath(QStringLiteral("older.sqlite"));
    {
        const QString connection = QUuid::createUuid().toString();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            db.setDatabaseName(path);
            ASSERT_TRUE(db.open());
            QSqlQuery q(db);
            for (const QString& sql : DirectorySchemaSteps(1)) {
                ASSERT_TRUE(q.exec(sql)) << sql.toStdString();
            }
            for (const QString& name : {QStringLiteral("Ann Wright"), QStringLiteral("Bob")}) {
                q.prepare(QStringLiteral("INSERT INTO contacts (name, name_fold) VALUES (?, ?)"));
                q.addBindValue(name);
                q.addBindValue(ContactText::Fold(name));
                ASSERT_TRUE(q.exec());
            }
            ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA user_version = 1")));
        }
        QSqlDatabase::removeDatabase(connection);
    }
    DirectoryStorage storage;
    ASSERT_EQ(storage.Open(path, false, nullptr), StorageOpenResult::Opened);
    EXPECT_EQ(storage.SchemaVersion(), DirectoryStorage::kCurrentSchema);
    auto q = storage.Statement(QStringLiteral(
        "SELECT name FROM contacts WHERE reference IN (SELECT rowid FROM contacts_name_search"
        " WHERE contacts_name_search MATCH ?)"));
    q->addBindValue(QStringLiteral("name_fold : \"wrig\""));
    ASSERT_TRUE(DirectoryStorage::Exec(*q, "test"));
    ASSERT_TRUE(q->next());
    EXPECT_EQ(q->value(0).toString(), QStringLiteral("Ann Wright"));
    EXPECT_FALSE(q->next());
}
} // namespace
