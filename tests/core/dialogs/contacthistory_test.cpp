#include "core/dialogs/contacthistory.h"
#include "platform/ui/listview.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <functional>

namespace {
struct Column {
    QString key;
    QString text;
    int width;
};

std::vector<Column> ColumnsOf(const ListView& list) {
    std::vector<Column> out;
    for (int i = 0; i < list.ColumnHeaderCount(); ++i) {
        EXPECT_EQ(list.ColumnAlignment(i), ListView::Alignment::Left);
        out.push_back({list.ColumnKey(i), list.ColumnText(i), list.ColumnWidthTwips(i)});
    }
    return out;
}

void ExpectColumns(const ListView& list, const std::vector<Column>& expected) {
    const std::vector<Column> actual = ColumnsOf(list);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].key, expected[i].key) << i;
        EXPECT_EQ(actual[i].text, expected[i].text) << i;
        // Twips go through whole pixels: within one pixel of what was asked.
        EXPECT_NEAR(actual[i].width, expected[i].width, 15) << i;
    }
}
} // namespace

TEST(ContactHistoryColumns, SetUpOnceOrTwiceGiveTheSameColumns) {
    const int byDefault = ListView::kDefaultColumnWidth;
    struct Case {
        const char* name;
        std::function<void(ListView*)> setUp;
        std::vector<Column> columns;
    };
    const Case cases[] = {
        {"messages",
         SetupContactMessagesColumns,
         {{"SUBJECT", "Subject", byDefault}, {"SENT", "Sent", 2000}, {"FOLDER", "Folder", 1250}}},
        {"prizes",
         SetupContactPrizesColumns,
         {{"TITLE", "Title", byDefault}, {"FOLDER", "Details", 1500}}},
    };
    for (const Case& c : cases) {
        ListView list;
        list.AddColumnHeader(QStringLiteral("OLD"), QStringLiteral("Old"));
        c.setUp(&list);
        ExpectColumns(list, c.columns);
        c.setUp(&list);
        ExpectColumns(list, c.columns);
        EXPECT_EQ(list.columnCount(), static_cast<int>(c.columns.size())) << c.name;
    }
}

TEST(ContactHistoryColumns, TheOtherSetUpReplacesTheColumns) {
    ListView list;
    SetupContactMessagesColumns(&list);
    SetupContactPrizesColumns(&list);
    EXPECT_EQ(list.ColumnHeaderCount(), 2);
    EXPECT_EQ(list.ColumnIndexOfKey(QStringLiteral("SENT")), -1);
    EXPECT_EQ(list.ColumnIndexOfKey(ContactHistory::PrizesFillColumnKey()), 0);
}

// No list: the call returns, and no list set up before is touched.
TEST(ContactHistoryColumns, NoListDoesNothing) {
    ListView list;
    SetupContactMessagesColumns(&list);
    SetupContactMessagesColumns(nullptr);
    SetupContactPrizesColumns(nullptr);
    ExpectColumns(list, {{"SUBJECT", "Subject", ListView::kDefaultColumnWidth},
                         {"SENT", "Sent", 2000},
                         {"FOLDER", "Folder", 1250}});
}

#include "platform/directory/directorycontact.h"

#include <QTreeWidget>

TEST(ContactHistoryTexts, AddressesAndNumbersJoinTheNonEmptyOnesInOrder) {
    struct Case {
        const char* name;
        std::function<void(DirectoryContact&)> fill;
        const char* emails;
        const char* numbers;
    };
    const Case cases[] = {
        {"nothing", [](DirectoryContact&) {}, "", ""},
        {"all",
         [](DirectoryContact& c) {
             c.SetEmail1(QStringLiteral("a@x"));
             c.SetEmail2(QStringLiteral("b@x"));
             c.SetEmail3(QStringLiteral("c@x"));
             c.SetPhoneNumber1(QStringLiteral("1"));
             c.SetPhoneNumber2(QStringLiteral("2"));
             c.SetMobileNumber(QStringLiteral("3"));
             c.SetOtherNumber(QStringLiteral("4"));
         },
         "a@x|b@x|c@x", "1|2|3|4"},
        {"gaps leave no empty piece",
         [](DirectoryContact& c) {
             c.SetEmail3(QStringLiteral("c@x"));
             c.SetMobileNumber(QStringLiteral("077"));
         },
         "c@x", "077"},
    };
    for (const Case& c : cases) {
        DirectoryContact contact;
        c.fill(contact);
        EXPECT_EQ(ContactHistory::EmailsText(&contact), QString::fromUtf8(c.emails)) << c.name;
        EXPECT_EQ(ContactHistory::NumbersText(&contact), QString::fromUtf8(c.numbers)) << c.name;
    }
    EXPECT_EQ(ContactHistory::EmailsText(nullptr), QString());
    EXPECT_EQ(ContactHistory::NumbersText(nullptr), QString());
}

TEST(ContactHistoryKeys, KindAndReferenceAreReadFromTheKey) {
    struct Case {
        const char* key;
        char16_t kind;
        qint32 reference;
    };
    const Case cases[] = {
        {"m12", u'm', 12}, {"W7", u'w', 7},  {"p 3", u'p', 3},          {"p", u'p', 0},
        {"", 0, 0},        {"x9z", u'x', 9}, {"m99999999999", u'm', 0}, {"m-4", u'm', -4},
    };
    for (const Case& c : cases) {
        const QString key = QString::fromUtf8(c.key);
        EXPECT_EQ(ContactHistory::KeyKind(key), QChar(c.kind)) << c.key;
        EXPECT_EQ(ContactHistory::KeyReference(key), c.reference) << c.key;
    }
}

TEST(ContactHistoryFill, ShowsBusyWhileFillingAndTheWindowColourAfter) {
    QTreeWidget list;
    list.addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("old")}));
    QColor during;
    int itemsDuring = -1;
    ContactHistory::FillBusy(&list, [&] {
        during = list.palette().color(QPalette::Base);
        itemsDuring = list.topLevelItemCount();
    });
    EXPECT_EQ(during, list.palette().color(QPalette::Button));
    EXPECT_EQ(itemsDuring, 0);
    EXPECT_EQ(list.palette().color(QPalette::Base),
              QApplication::palette(&list).color(QPalette::Base));
    ContactHistory::FillBusy(nullptr, [] { FAIL() << "no list, no fill"; });
}

TEST(ContactHistoryFill, NoDatabaseGivesAnEmptyList) {
    QTreeWidget list;
    list.addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("old")}));
    DirectoryContact contact;
    contact.SetMobileNumber(QStringLiteral("07700900123"));
    ContactHistory::FillMessages(&list, nullptr, &contact);
    EXPECT_EQ(list.topLevelItemCount(), 0);
    list.addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("old")}));
    ContactHistory::FillPrizes(&list, nullptr, nullptr);
    EXPECT_EQ(list.topLevelItemCount(), 0);
}
