#include "core/dialogs/contacthistorylists.h"
#include "platform/directory/directorycontact.h"

#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

TEST(ContactHistoryListsTest, EmailsAndNumbersInTheirOrderWithoutGaps) {
    struct Case {
        const char* e1;
        const char* e2;
        const char* e3;
        const char* emails;
    };
    const Case emails[] = {
        {"a", "", "c", "a|c"},
        {"", "", "", ""},
        {"", "b", "", "b"},
        {"a", "b", "c", "a|b|c"},
    };
    for (const Case& c : emails) {
        DirectoryContact contact;
        contact.SetEmail1(QString::fromLatin1(c.e1));
        contact.SetEmail2(QString::fromLatin1(c.e2));
        contact.SetEmail3(QString::fromLatin1(c.e3));
        EXPECT_EQ(ContactEmailList(contact), QString::fromLatin1(c.emails));
    }
    DirectoryContact contact;
    contact.SetOtherNumber(QStringLiteral("4"));
    contact.SetMobileNumber(QStringLiteral("3"));
    contact.SetPhoneNumber2(QStringLiteral("2"));
    contact.SetPhoneNumber1(QStringLiteral("1"));
    EXPECT_EQ(ContactNumberList(contact), QStringLiteral("1|2|3|4"));
    contact.SetPhoneNumber2(QString());
    EXPECT_EQ(ContactNumberList(contact), QStringLiteral("1|3|4"));
}

TEST(ContactHistoryListsTest, MessagesAreLookedForByAnEmailOrANumber) {
    EXPECT_TRUE(HasContactMessageAddresses(QStringLiteral("a"), QString()));
    EXPECT_TRUE(HasContactMessageAddresses(QString(), QStringLiteral("07700")));
    EXPECT_FALSE(HasContactMessageAddresses(QString(), QString()));
}

TEST(ContactHistoryListsTest, ALineKeyIsALetterAndAReference) {
    struct Case {
        const char* key;
        char kind;
        qint32 reference;
    };
    const Case cases[] = {
        {"W12", 'w', 12},         {"p7", 'p', 7},   {"m5", 'm', 5},
        {"P 8", 'p', 8},          {"w", 'w', 0},    {"", '\0', 0},
        {"w2.5", 'w', 2},         {"w3.5", 'w', 4}, {"px", 'p', 0},
        {"w99999999999", 'w', 0},
    };
    for (const Case& c : cases) {
        const QString key = QString::fromLatin1(c.key);
        EXPECT_EQ(ContactHistoryKeyKind(key), QChar::fromLatin1(c.kind)) << c.key;
        EXPECT_EQ(ContactHistoryKeyReference(key), c.reference) << c.key;
    }
}

TEST(ContactHistoryListsTest, RefillingEmptiesTheListAndPutsTheColourBack) {
    QTreeWidget list;
    const QColor base = list.palette().color(QPalette::Base);
    new QTreeWidgetItem(&list, {QStringLiteral("old")});
    QColor during;
    RefillContactHistoryList(&list, [&] {
        during = list.palette().color(QPalette::Base);
        EXPECT_EQ(list.topLevelItemCount(), 0);
        auto* item = new QTreeWidgetItem(&list, {QStringLiteral("new")});
        item->setData(0, Qt::UserRole, QStringLiteral("m3"));
    });
    EXPECT_EQ(during, list.palette().color(QPalette::Button));
    EXPECT_EQ(list.palette().color(QPalette::Base), base);
    ASSERT_EQ(list.topLevelItemCount(), 1);
    EXPECT_EQ(ContactHistoryKey(list.topLevelItem(0)), QStringLiteral("m3"));
    EXPECT_EQ(ContactHistoryKey(nullptr), QString());
    RefillContactHistoryList(nullptr, [] {}); // no list: nothing
}

} // namespace
