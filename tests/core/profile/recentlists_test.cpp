#include "core/profile/recentlists.h"
#include "core/profile/usersettingskeys.h"
#include "platform/directory/kvdirectory.h"
#include "support/testhome.h"

#include <QVector>

#include <gtest/gtest.h>

#include <memory>

namespace {
TEST(AddToMRUListTest, PutsTheItemFirstAndKeepsTenAtMost) {
    const struct {
        const char* list;
        const char* item;
        const char* expected;
    } cases[] = {
        {"", " 42 ", "42"},
        {"42", "42", "42"},
        {"42", " 42 ", "42"},
        {"42", "7", "7|42"},
        {"1|2|3", "2", "2|1|3"},
        {"1|2|3", "3", "3|1|2"},
        {"1|2|3", "1", "1|2|3"},
        {"1|2|3|4|5|6|7|8|9|10", "11", "11|1|2|3|4|5|6|7|8|9"},
        {"1|2|3|4|5|6|7|8|9|10", "10", "10|1|2|3|4|5|6|7|8|9"},
        {"1|2|3|4|5|6|7|8|9|10", "5", "5|1|2|3|4|6|7|8|9|10"},
        {"1|2|3|4|5|6|7|8|9|10", "1", "1|2|3|4|5|6|7|8|9|10"},
        {"abc|def", "ABC", "ABC|def"},
        {"abc", "ABC", "abc"},
        {"abc|def", "DEF", "DEF|abc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AddToMRUList(QString::fromUtf8(c.item), QString::fromUtf8(c.list)),
                  QString::fromUtf8(c.expected))
            << "list '" << c.list << "', item '" << c.item << "'";
    }
}

class RecentListsTest : public ::testing::Test {
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
        QObject::connect(&MRUNotifier::Instance(), &MRUNotifier::UpdateMRU, &recorder,
                         [this](int flags) { updates << flags; });
    }

    void logIn() {
        bool ok = false;
        directory->LoginContact(user, 1, QStringLiteral("Kestova Orlix v1"), ok);
        ASSERT_TRUE(ok);
    }
    QString stored(const UserTextKey& key) {
        return ReadUserSetting(directory.get(), key).toString();
    }

    std::unique_ptr<KVDirectory> directory;
    KVDirectory::ContactPtr user;
    QObject recorder;
    QVector<int> updates;
};

TEST_F(RecentListsTest, EachListIsWrittenThenTheMenusAreAskedToRefresh) {
    logIn();
    AddContactToMRU(directory.get(), 12);
    AddContactToMRU(directory.get(), 7);
    AddContactToMRU(directory.get(), 12);
    AddWebsiteToMRU(directory.get(), 3);
    AddMessageToMRU(directory.get(), 99);
    EXPECT_EQ(stored(UserSettingsKeys::MRUContacts()), QStringLiteral("12|7"));
    EXPECT_EQ(stored(UserSettingsKeys::MRUWebsites()), QStringLiteral("3"));
    EXPECT_EQ(stored(UserSettingsKeys::MRUMessages()), QStringLiteral("99"));
    EXPECT_EQ(updates, (QVector<int>{4, 4, 4, 8, 32}));

    // The lists live only in the store: a change made elsewhere is read, not overwritten.
    user->Settings().SaveSetting(QStringLiteral("MRUContacts"), QStringLiteral("1|2|3"), QString());
    AddContactToMRU(directory.get(), 2);
    EXPECT_EQ(stored(UserSettingsKeys::MRUContacts()), QStringLiteral("2|1|3"));
}

TEST_F(RecentListsTest, NothingIsRecordedWithoutAUserOrAReference) {
    AddContactToMRU(directory.get(), 12);
    AddWebsiteToMRU(directory.get(), 3);
    AddMessageToMRU(directory.get(), 99);
    logIn();
    AddContactToMRU(directory.get(), 0);
    AddContactToMRU(nullptr, 12);
    EXPECT_TRUE(updates.isEmpty());
    for (const auto& key : {UserSettingsKeys::MRUContacts(), UserSettingsKeys::MRUWebsites(),
                            UserSettingsKeys::MRUMessages()}) {
        EXPECT_EQ(user->Settings().GetSetting(key.name, QStringLiteral("<unset>")).toString(),
                  QStringLiteral("<unset>"))
            << key.name.toStdString();
    }
}

TEST_F(RecentListsTest, ListsWorkWithNothingConnected) {
    QObject::disconnect(&MRUNotifier::Instance(), nullptr, &recorder, nullptr);
    logIn();
    AddWebsiteToMRU(directory.get(), 5);
    EXPECT_EQ(stored(UserSettingsKeys::MRUWebsites()), QStringLiteral("5"));
    EXPECT_TRUE(updates.isEmpty());
}

// Every key reads its read default while unset, and keeps a value written with its write
// default, also one equal to it.
TEST_F(RecentListsTest, EveryKeyStoresItsWriteDefaultAndReadsItsReadDefault) {
    logIn();
    UserSettingsKeys::ForEach([&](const auto& key) {
        const QVariant readDefault = QVariant::fromValue(key.readDefault);
        EXPECT_EQ(ReadUserSetting(directory.get(), key), readDefault) << key.name.toStdString();
        ASSERT_TRUE(WriteUserSetting(directory.get(), key, key.writeDefault));
        EXPECT_EQ(ReadUserSetting(directory.get(), key).toString(),
                  UserSettings::StoredText(QVariant::fromValue(key.writeDefault)))
            << key.name.toStdString();
    });
}

// While nobody is logged in a read gives the key's read default and a write stores nothing.
TEST_F(RecentListsTest, NobodyLoggedInReadsDefaultsAndWritesNothing) {
    const UserNumberKey filter = UserSettingsKeys::MessageListFilter();
    EXPECT_FALSE(WriteUserSetting(directory.get(), filter, 720));
    EXPECT_FALSE(WriteUserSetting(nullptr, filter, 720));
    EXPECT_EQ(ReadUserSetting(directory.get(), filter), QVariant(240));
    EXPECT_EQ(ReadUserSetting(nullptr, UserSettingsKeys::SelectedTab()),
              QVariant(QStringLiteral("CONTACTS")));
    logIn();
    EXPECT_EQ(ReadUserSetting(directory.get(), filter), QVariant(240));
}
} // namespace
