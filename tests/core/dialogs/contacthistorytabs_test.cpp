#include "core/dialogs/contacthistory.h"
#include "platform/directory/controls/ucontact.h"
#include "support/scripteddialogs.h"

#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

TEST(AddContactHistoryTabs, AddsMessagesAndPrizesOnceHoweverOftenCalled) {
    AddContactHistoryTabs(nullptr); // no control: nothing happens
    uContact control;
    AddContactHistoryTabs(&control);
    AddContactHistoryTabs(&control);
    EXPECT_EQ(control.MaxTabs(), 6);
    EXPECT_EQ(control.CustomTabs(), 2);
    EXPECT_EQ(control.TabNumbers(), (QList<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(control.TabCaption(ContactHistory::kMessagesTab), QStringLiteral("Messages"));
    EXPECT_EQ(control.TabCaption(ContactHistory::kPrizesTab), QStringLiteral("Prizes"));
}

TEST(AddContactHistoryTabs, ChoosingAHistoryTabReportsFourOrFive) {
    uContact control;
    AddContactHistoryTabs(&control);
    ASSERT_TRUE(ShowActive(control));
    QSignalSpy changed(&control, &uContact::TabChanged);
    QTabBar* bar = control.tabContact()->tabBar();
    for (const int tab : {ContactHistory::kPrizesTab, ContactHistory::kMessagesTab}) {
        const int index = control.TabNumbers().indexOf(tab);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        ASSERT_FALSE(changed.isEmpty());
        EXPECT_EQ(changed.takeLast().at(0).toInt(), tab);
        EXPECT_EQ(control.CurrentTab(), tab);
    }
}
