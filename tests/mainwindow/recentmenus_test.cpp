#include "mainwindow/panes/recentmenus.h"

#include "core/profile/usersettingskeys.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/directorywebsite.h"
#include "platform/directory/kvdirectory.h"
#include "support/displaymarks.h"
#include "support/testhome.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

namespace {
TEST(RecentEntryCaptionTest, ShowsTheNameLiterallyAndShort) {
    const QString sixty(60, QLatin1Char('a'));
    const QString family = QString::fromUtf8("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9");
    const struct {
        QString name;
        QString caption; // the caption between the isolate marks
    } cases[] = {
        {QStringLiteral("Ann Smith"), QStringLiteral("Ann Smith")},
        {QStringLiteral("Tom & Jerry"), QStringLiteral("Tom && Jerry")},
        {QStringLiteral("&&"), QStringLiteral("&&&&")},
        {QStringLiteral("Line\nbreak\ttab\x7f"), QStringLiteral("Line breaktab")},
        {QStringLiteral("done\r\nnext"), QStringLiteral("done  next")},
        {QStringLiteral("a\u202Eb\u200Fc"), QStringLiteral("abc")},
        // Emoji joined by a zero-width joiner stay one picture.
        {family, family},
        {QString(), QString()},
        {sixty, sixty},
        {sixty + QLatin1Char('b'), QString(59, QLatin1Char('a')) + QChar(0x2026)},
        // The limit counts what is shown: the doubled "&" is one character.
        {QString(60, QLatin1Char('&')), QString(120, QLatin1Char('&'))},
        // A character outside the basic plane is never cut in half.
        {QString(58, QLatin1Char('a')) + QString::fromUtf8("\xF0\x9F\x8E\xB5") +
             QStringLiteral("xyz"),
         QString(58, QLatin1Char('a')) + QChar(0x2026)},
    };
    for (const auto& c : cases) {
        const QString isolated =
            c.caption.isEmpty() ? QString() : QChar(0x2068) + c.caption + QChar(0x2069);
        EXPECT_EQ(RecentEntryCaption(c.name), isolated) << c.name.toStdString();
    }
}

TEST(RecentListReferencesTest, ReadsAtMostElevenItemsAsNumbers) {
    const struct {
        const char* list;
        QList<qint32> references;
    } cases[] = {
        {"", {}},
        {"42", {42}},
        {"3|1|2", {3, 1, 2}},
        {" 7 |x|", {7, 0, 0}},
        {"1|2|3|4|5|6|7|8|9|10|11|12", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {"99999999999|5", {0, 5}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RecentListReferences(QString::fromUtf8(c.list)), c.references) << c.list;
    }
}

// A directory with a logged-in presenter, contacts and websites to name in the lists.
class RecentMenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory = std::make_unique<KVDirectory>();
        bool failed = true;
        directory->OpenDefault(true, failed);
        ASSERT_FALSE(failed);
        QString refusal;
        user = directory->CreateFirstUser(QStringLiteral("Presenter"), QStringLiteral("pres"), {},
                                          &refusal);
        ASSERT_TRUE(user);
        bool ok = false;
        directory->LoginContact(user, 1, QStringLiteral("Kestova Orlix v1"), ok);
        ASSERT_TRUE(ok);
        menus = std::make_unique<RecentMenus>(&contacts, &websites, &button, nullptr);
    }

    qint32 contact(const QString& name) {
        auto c = directory->CreateContact();
        c->SetName(name);
        QString refusal;
        EXPECT_TRUE(directory->SaveContact(0, *c, &refusal)) << refusal.toStdString();
        return c->Reference();
    }

    qint32 website(const QString& address, const QString& title) {
        auto site = std::make_shared<DirectoryWebsite>();
        site->SetAddress(address);
        site->SetTitle(title);
        bool ok = false;
        directory->AddWebsite(site, ok);
        EXPECT_TRUE(ok && site);
        return site ? site->Reference() : 0;
    }

    void storeList(const UserTextKey& key, const QList<qint32>& references) {
        QStringList texts;
        for (qint32 r : references) {
            texts << QString::number(r);
        }
        WriteUserSetting(directory.get(), key, texts.join(QLatin1Char('|')));
    }

    // The visible entries' captions and tags, the isolate of each caption written « ».
    static QStringList shown(const RecentMenus& m, bool contactsMenu) {
        QStringList out;
        const int count = contactsMenu ? m.ContactEntryCount() : m.WebsiteEntryCount();
        for (int n = 1; n <= count; ++n) {
            QAction* e = contactsMenu ? m.ContactEntry(n) : m.WebsiteEntry(n);
            if (e->isVisible()) {
                out << Unmarked(e->text()) + QLatin1Char('=') + e->data().toString();
            }
        }
        return out;
    }

    std::unique_ptr<KVDirectory> directory;
    KVDirectory::ContactPtr user;
    QMenu contacts;
    QMenu websites;
    QPushButton button;
    std::unique_ptr<RecentMenus> menus;
};

TEST_F(RecentMenusTest, StartsDisabledWithTheDesignEntries) {
    EXPECT_FALSE(contacts.isEnabled());
    EXPECT_FALSE(websites.isEnabled());
    EXPECT_FALSE(button.isEnabled());
    EXPECT_EQ(menus->ContactEntry(1)->text(), QStringLiteral("Contact 1"));
    EXPECT_EQ(menus->WebsiteEntry(1)->text(), QStringLiteral("Website 1"));
    EXPECT_EQ(menus->ContactEntry(1)->data().toString(), QStringLiteral("0"));
}

TEST_F(RecentMenusTest, RebuildsFromTheListsSkippingWhatIsGone) {
    const qint32 ann = contact(QStringLiteral("Ann"));
    const qint32 bob = contact(QStringLiteral("Bob & Co"));
    const qint32 cat = contact(QStringLiteral("Cat"));
    storeList(UserSettingsKeys::MRUContacts(), {ann, bob, cat});
    menus->UpdateMRU(4, directory.get());
    EXPECT_EQ(shown(*menus, true), (QStringList{QStringLiteral("\u00abAnn\u00bb=%1").arg(ann),
                                                QStringLiteral("\u00abBob && Co\u00bb=%1").arg(bob),
                                                QStringLiteral("\u00abCat\u00bb=%1").arg(cat)}));
    EXPECT_TRUE(contacts.isEnabled());
    EXPECT_TRUE(button.isEnabled());

    // The third is deleted: two entries, the third hidden without caption or tag.
    QString refusal;
    ASSERT_TRUE(directory->RemoveContact(cat, &refusal)) << refusal.toStdString();
    menus->UpdateMRU(255, directory.get());
    EXPECT_EQ(shown(*menus, true),
              (QStringList{QStringLiteral("\u00abAnn\u00bb=%1").arg(ann),
                           QStringLiteral("\u00abBob && Co\u00bb=%1").arg(bob)}));
    EXPECT_EQ(menus->ContactEntry(3)->text(), QString());
    EXPECT_EQ(menus->ContactEntry(3)->data().toString(), QStringLiteral("0"));

    // All failing: disabled; entry 1 is never hidden and keeps its caption.
    storeList(UserSettingsKeys::MRUContacts(), {cat, 9999});
    menus->UpdateMRU(4, directory.get());
    EXPECT_FALSE(contacts.isEnabled());
    EXPECT_FALSE(button.isEnabled());
    EXPECT_EQ(shown(*menus, true), QStringList{QStringLiteral("\u00abAnn\u00bb=%1").arg(ann)});

    // An empty list: disabled, the entries untouched.
    storeList(UserSettingsKeys::MRUContacts(), {ann});
    menus->UpdateMRU(4, directory.get());
    ASSERT_TRUE(contacts.isEnabled());
    storeList(UserSettingsKeys::MRUContacts(), {});
    menus->UpdateMRU(4, directory.get());
    EXPECT_FALSE(contacts.isEnabled());
    EXPECT_EQ(shown(*menus, true), QStringList{QStringLiteral("\u00abAnn\u00bb=%1").arg(ann)});
}

TEST_F(RecentMenusTest, FlagsChooseTheMenus) {
    const qint32 ann = contact(QStringLiteral("Ann"));
    const qint32 site = website(QStringLiteral("https://example.org/"), QStringLiteral("Example"));
    storeList(UserSettingsKeys::MRUContacts(), {ann});
    storeList(UserSettingsKeys::MRUWebsites(), {site});

    const struct {
        int flags;
        bool contactsBuilt;
        bool websitesBuilt;
    } cases[] = {{32, false, false}, {4, true, false}, {8, false, true}, {255, true, true}};
    for (const auto& c : cases) {
        RecentMenus m(&contacts, &websites, &button, nullptr);
        m.UpdateMRU(c.flags, directory.get());
        EXPECT_EQ(Unmarked(m.ContactEntry(1)->text()) == QStringLiteral("\u00abAnn\u00bb"),
                  c.contactsBuilt)
            << c.flags;
        EXPECT_EQ(contacts.isEnabled(), c.contactsBuilt) << c.flags;
        EXPECT_EQ(Unmarked(m.WebsiteEntry(1)->text()) == QStringLiteral("\u00abExample\u00bb"),
                  c.websitesBuilt)
            << c.flags;
        EXPECT_EQ(websites.isEnabled(), c.websitesBuilt) << c.flags;
    }
}

TEST_F(RecentMenusTest, ElevenOfTwelveAreShownAndEntriesAreAddedAsNeeded) {
    QList<qint32> twelve;
    for (int i = 0; i < 12; ++i) {
        twelve << contact(QStringLiteral("Contact %1").arg(i));
    }
    storeList(UserSettingsKeys::MRUContacts(), twelve);
    menus->UpdateMRU(4, directory.get());
    EXPECT_EQ(menus->ContactEntryCount(), 11);
    EXPECT_EQ(shown(*menus, true).size(), 11);
    EXPECT_EQ(Unmarked(menus->ContactEntry(11)->text()), QStringLiteral("\u00abContact 10\u00bb"));
    EXPECT_EQ(RecentMenus::EntryReference(menus->ContactEntry(11)), twelve.at(10));
}

TEST_F(RecentMenusTest, NobodyLoggedInChangesNothing) {
    const qint32 ann = contact(QStringLiteral("Ann"));
    storeList(UserSettingsKeys::MRUContacts(), {ann});
    directory->Logout();
    menus->UpdateMRU(255, directory.get());
    EXPECT_EQ(menus->ContactEntry(1)->text(), QStringLiteral("Contact 1"));
    EXPECT_FALSE(contacts.isEnabled());
    menus->UpdateMRU(255, nullptr);
    EXPECT_EQ(menus->ContactEntry(1)->text(), QStringLiteral("Contact 1"));
}

TEST_F(RecentMenusTest, ChoosingAnEntryTellsItsReference) {
    const qint32 site = website(QStringLiteral("https://example.org/"), QString());
    storeList(UserSettingsKeys::MRUWebsites(), {site});
    menus->UpdateMRU(8, directory.get());
    EXPECT_EQ(Unmarked(menus->WebsiteEntry(1)->text()),
              QStringLiteral("\u00abhttps://example.org/\u00bb"));
    QList<qint32> chosen;
    QObject::connect(menus.get(), &RecentMenus::WebsiteEntryChosen, [&](qint32 r) { chosen << r; });
    menus->WebsiteEntry(1)->trigger();
    EXPECT_EQ(chosen, QList<qint32>{site});
}
} // namespace
