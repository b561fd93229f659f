#include "platform/system/profilemanager.h"
#include "platform/system/registrystore.h"
#include "platform/ui/fontconversion.h"
#include "platform/ui/profilemanagement.h"
#include "platform/ui/ufontpreview.h"
#include "platform/ui/ulistsettings.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

TEST(uListSettingsTest, EntriesAreFoundByKeyAndUnknownKeysAreFalse) {
    uListSettings list;
    QTreeWidgetItem* group = list.AddGroup(QStringLiteral("G"), QStringLiteral("Group:"));
    list.AddItem(group, QStringLiteral("G.On"), QStringLiteral("on"), true);
    list.AddItem(group, QStringLiteral("G.Off"), QStringLiteral("off"), false);
    EXPECT_EQ(list.AddItem(nullptr, QStringLiteral("X"), QStringLiteral("x"), true), nullptr);
    EXPECT_TRUE(list.ItemValue(QStringLiteral("G.On")));
    EXPECT_FALSE(list.ItemValue(QStringLiteral("G.Off")));
    EXPECT_FALSE(list.ItemValue(QStringLiteral("G"))); // a group is no entry
    EXPECT_FALSE(list.ItemValue(QStringLiteral("nope")));

    // The user's tick is what counts.
    group->child(1)->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(list.ItemValue(QStringLiteral("G.Off")));

    list.Clear();
    EXPECT_EQ(list.topLevelItemCount(), 0);
    EXPECT_FALSE(list.ItemValue(QStringLiteral("G.On")));
}

TEST(uFontPreviewTest, GivesBackExactlyWhatWasSet) {
    uFontPreview preview;
    FontStyle style{QStringLiteral("Courier"), 6, 255, 1, -1, 7, 0};
    preview.SetStyle(style);
    preview.SetPlainText(QStringLiteral("text"));
    EXPECT_EQ(preview.Style().Name, style.Name);
    EXPECT_EQ(preview.Style().Size, 6);
    EXPECT_EQ(preview.Style().TextColour, 255);
    EXPECT_EQ(preview.Style().Italic, -1);
    EXPECT_EQ(preview.Style().UnderLine, 7);
    EXPECT_EQ(preview.PlainText(), QStringLiteral("text"));
    preview.resize(200, 60);
    preview.grab(); // draws without trouble
}

TEST(FontConversionTest, PointSizeStepIsTheNearestStepTiesTakingTheSmaller) {
    struct Case {
        double points;
        qint32 step;
    };
    const Case cases[] = {{0, 1},  {8, 1},  {9, 1},  {10, 2}, {11, 2}, {12, 3}, {13, 3},
                          {16, 4}, {17, 5}, {21, 5}, {22, 6}, {30, 6}, {31, 7}, {200, 7}};
    for (const Case& c : cases) {
        EXPECT_EQ(FontConversion::PointSizeStep(c.points), c.step) << c.points;
    }
    for (qint32 step = 1; step <= 7; ++step) {
        EXPECT_EQ(FontConversion::PointSizeStep(FontConversion::StepPointSize(step)), step);
    }
}

class ProfileManagementTest : public ::testing::Test {
protected:
    const QString key = QStringLiteral("SOFTWARE\\Test\\Profiles");
    void SetUp() override {
        ASSERT_TRUE(ProfileManager::CreateProfile(key, QStringLiteral("Studio")));
        ASSERT_TRUE(ProfileManager::CreateProfile(key, QStringLiteral("Other")));
    }
    // Runs the dialog with the action as the user's part.
    void manage(std::function<void(QDialog&)> action) {
        TestDialogs().queue(std::move(action));
        ProfileManager::ManageProfiles(key, nullptr, QStringLiteral("Studio"));
    }
    static void add(QDialog& d, const QString& name) {
        d.findChild<QLineEdit*>(QStringLiteral("txtName"))->setText(name);
        d.findChild<QPushButton*>(QStringLiteral("cmdAdd"))->click();
    }
    static void select(QDialog& d, const QString& name) {
        auto* list = d.findChild<QListWidget*>(QStringLiteral("lstProfiles"));
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        list->setCurrentItem(found.first());
    }
};

TEST_F(ProfileManagementTest, AddsValidNewNamesOnly) {
    QStringList problems;
    manage([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Profile Management"));
        auto* problem = d.findChild<QLabel*>(QStringLiteral("lblProblem"));
        for (const QString& refused : {QStringLiteral(""), QStringLiteral("a/b"),
                                       QStringLiteral(".."), QStringLiteral("STUDIO")}) {
            add(d, refused);
            problems << problem->text();
        }
        add(d, QStringLiteral("Studio 2"));
        EXPECT_TRUE(problem->text().isEmpty());
        EXPECT_EQ(d.findChild<QListWidget*>(QStringLiteral("lstProfiles"))->count(), 3);
    });
    for (const QString& p : problems) {
        EXPECT_TRUE(p.startsWith(QStringLiteral("This name cannot be used: "))) << p.toStdString();
    }
    EXPECT_TRUE(ProfileManager::Profiles(key).contains(QStringLiteral("Studio 2")));
    EXPECT_EQ(ProfileManager::Profiles(key).size(), 3);
}

TEST_F(ProfileManagementTest, DeletesAfterYesButNeverTheProfileInUse) {
    TestMessageBoxes().queue(MsgResult::OK);
    TestMessageBoxes().queue(MsgResult::No);
    TestMessageBoxes().queue(MsgResult::Yes);
    manage([&](QDialog& d) {
        select(d, QStringLiteral("Studio"));
        d.findChild<QPushButton*>(QStringLiteral("cmdDelete"))->click();
        select(d, QStringLiteral("Other"));
        d.findChild<QPushButton*>(QStringLiteral("cmdDelete"))->click(); // No
        d.findChild<QPushButton*>(QStringLiteral("cmdDelete"))->click(); // Yes
    });
    const auto& shown = TestMessageBoxes().shown();
    ASSERT_EQ(shown.size(), 3U);
    EXPECT_EQ(shown[0].text,
              QStringLiteral("The profile 'Studio' is in use and cannot be deleted."));
    EXPECT_EQ(shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(shown[1].text, QStringLiteral("Do you want to delete the profile 'Other'?"));
    EXPECT_EQ(shown[1].buttons, MsgButtons::YesNo);
    EXPECT_EQ(shown[1].defaultButton, 1);
    EXPECT_EQ(ProfileManager::Profiles(key), QStringList{QStringLiteral("Studio")});
}

} // namespace
