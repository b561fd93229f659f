#include "directoryfixture.h"

#include <QObject>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <functional>
#include <vector>

namespace {
// Another studio computer on the same directory file, logged in as the administrator; this
// one's own object watches by hand (CheckForChanges) so that what is not announced is known.
class DirectoryChangesTest : public DirectoryFixture {
protected:
    void SetUp() override {
        DirectoryFixture::SetUp();
        directory->SetChangeWatch(0, 0);
        ensureAdmin();
        loginAs(admin);
        other.SetChangeWatch(0, 0);
        bool failed = true;
        other.Open(directory->FilePath(), false, failed);
        ASSERT_FALSE(failed);
        bool ok = false;
        other.LoginContact(other.GetContactByLoginName(QStringLiteral("admin")), 1,
                           QStringLiteral("Kestova Orlix v1"), ok);
        ASSERT_TRUE(ok);
        directory->CheckForChanges();
    }
    void TearDown() override {
        bool ok = false;
        other.Close(ok);
        DirectoryFixture::TearDown();
    }
    KVDirectory other;
};

struct Spies {
    explicit Spies(KVDirectory& d)
        : contacts(&d, &KVDirectory::ContactsChanged), websites(&d, &KVDirectory::WebsitesChanged),
          settings(&d, &KVDirectory::UserSettingsChanged) {}
    std::vector<qsizetype> Counts() const {
        return {contacts.count(), websites.count(), settings.count()};
    }
    QSignalSpy contacts;
    QSignalSpy websites;
    QSignalSpy settings;
};

struct KindCase {
    const char* name;
    std::vector<qsizetype> raised; // contacts, websites, user settings
    std::function<void(KVDirectory&)> change;
};

std::vector<KindCase> kindCases() {
    return {
        {"a contact saved",
         {1, 0, 0},
         [](KVDirectory& d) {
             auto c = d.CreateContact();
             c->SetName(QStringLiteral("Acme One"));
             QString refusal;
             ASSERT_TRUE(d.SaveContact(0, *c, &refusal)) << refusal.toStdString();
         }},
        {"a user added",
         {1, 0, 0},
         [](KVDirectory& d) {
             auto u = d.CreateContact();
             u->SetName(QStringLiteral("Bea Presenter"));
             u->SetLoginName(QStringLiteral("bea"));
             QString refusal;
             ASSERT_TRUE(d.SaveContact(0, *u, &refusal)) << refusal.toStdString();
         }},
        {"a website added",
         {0, 1, 0},
         [](KVDirectory& d) {
             auto site = std::make_shared<DirectoryWebsite>();
             site->SetAddress(QStringLiteral("https://news.example.org/"));
             site->SetTitle(QStringLiteral("News"));
             bool ok = false;
             d.AddWebsite(site, ok);
             ASSERT_TRUE(ok);
         }},
        {"a user's setting stored",
         {0, 0, 1},
         [](KVDirectory& d) {
             ASSERT_TRUE(d.CurrentUser()->Settings().SaveSetting(QStringLiteral("MRUContacts"),
                                                                 QStringLiteral("7|3"), QString()));
         }},
        {"the program registered",
         {0, 0, 0},
         [](KVDirectory& d) {
             QObject application;
             bool ok = false;
             d.Applications().Register(32, &application, ok);
             ASSERT_TRUE(ok);
         }},
    };
}
} // namespace

TEST_F(DirectoryChangesTest, EachKindChangedElsewhereRaisesItsOwnSignalOnce) {
    for (const KindCase& c : kindCases()) {
        SCOPED_TRACE(c.name);
        Spies spies(*directory);
        c.change(other);
        ASSERT_TRUE(directory->CheckForChanges());
        EXPECT_EQ(spies.Counts(), c.raised);
        ASSERT_TRUE(directory->CheckForChanges());
        EXPECT_EQ(spies.Counts(), c.raised) << "announced once";
    }
}

TEST_F(DirectoryChangesTest, EachKindChangedHereRaisesItsOwnSignalOnceAtItsCommit) {
    for (const KindCase& c : kindCases()) {
        SCOPED_TRACE(c.name);
        Spies spies(*directory);
        Spies others(other);
        c.change(*directory);
        EXPECT_EQ(spies.Counts(), c.raised);
        ASSERT_TRUE(directory->CheckForChanges());
        EXPECT_EQ(spies.Counts(), c.raised) << "never again by the watch";
        ASSERT_TRUE(other.CheckForChanges());
        EXPECT_EQ(others.Counts(), c.raised) << "the other computer hears of it";
    }
}

TEST_F(DirectoryChangesTest, AContactRemovedElsewhereIsAnnounced) {
    auto c = other.CreateContact();
    c->SetName(QStringLiteral("Gone Soon"));
    QString refusal;
    ASSERT_TRUE(other.SaveContact(0, *c, &refusal));
    ASSERT_TRUE(directory->CheckForChanges());
    Spies spies(*directory);
    ASSERT_TRUE(other.RemoveContact(c->Reference(), &refusal)) << refusal.toStdString();
    ASSERT_TRUE(directory->CheckForChanges());
    EXPECT_EQ(spies.Counts(), (std::vector<qsizetype>{1, 0, 0}));
}

TEST_F(DirectoryChangesTest, ALookWhileTheFileIsHeldLosesNoChange) {
    Spies spies(*directory);
    kindCases()[2].change(other);
    {
        QSqlDatabase holder =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        holder.setDatabaseName(directory->FilePath());
        ASSERT_TRUE(holder.open());
        QSqlQuery hold(holder);
        ASSERT_TRUE(hold.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        EXPECT_FALSE(directory->CheckForChanges());
        EXPECT_EQ(spies.Counts(), (std::vector<qsizetype>{0, 0, 0}));
        ASSERT_TRUE(hold.exec(QStringLiteral("ROLLBACK")));
        hold = QSqlQuery();
        holder.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    ASSERT_TRUE(directory->CheckForChanges());
    EXPECT_EQ(spies.Counts(), (std::vector<qsizetype>{0, 1, 0}));
}
