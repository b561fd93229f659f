#include "core/dialogs/contacthistory.h"
#include "platform/ui/listview.h"

#include <gtest/gtest.h>

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
