#include "platform/system/profilemanager.h"
#include "platform/system/registrystore.h"
#include "platform/ui/fontconversion.h"
#include "platform/ui/profilemanagement.h"
#include "platform/ui/ufontpreview.h"
#include "platform/ui/ulistsettings.h"
#include "support/scriptedcommondialogs.h"
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

TEST(uFontPreviewTest, SelectionMembersActOnTheOneFormat) {
    uFontPreview preview;
    preview.SetPlainText(QStringLiteral("text"));
    EXPECT_FALSE(preview.WholeTextSelected());
    preview.SelectAll();
    EXPECT_TRUE(preview.WholeTextSelected());
    preview.SetSelFontName(QStringLiteral("Courier"));
    preview.SetSelFontSize(5);
    preview.SetSelBold(1);
    preview.SetSelItalic(-1); // as set, even the mixed value
    preview.SetSelUnderline(7);
    preview.SetSelStrikeThrough(0);
    preview.SetSelTextColour(0x80000005);
    EXPECT_EQ(preview.SelFontName(), QStringLiteral("Courier"));
    EXPECT_EQ(preview.SelFontSize(), 5);
    EXPECT_EQ(preview.SelBold(), 1);
    EXPECT_EQ(preview.SelItalic(), -1);
    EXPECT_EQ(preview.SelUnderline(), 7);
    EXPECT_EQ(preview.SelStrikeThrough(), 0);
    EXPECT_EQ(preview.SelTextColour(), static_cast<qint32>(0x80000005));
    EXPECT_EQ(preview.Style().Name, QStringLiteral("Courier"));
    preview.SetPlainText(QStringLiteral("other"));
    EXPECT_FALSE(preview.WholeTextSelected());
    EXPECT_EQ(preview.SelFontSize(), 5); // a new text keeps the format
}

TEST(uFontPreviewTest, HtmlSetBackUnchangedChangesNothing) {
    const FontStyle styles[] = {
        {QStringLiteral("Courier"), 6, 255, 1, -1, 7, 0},
        {QStringLiteral("Arial"), 3, 0, 0, 0, 0, 0},
        {QStringLiteral("Times \"New\" <Roman>"), 9, static_cast<qint32>(0x80000005), 0, 0, 0, 2},
        {QString(), 0, static_cast<qint32>(0x7F000000), 0, 0, 0, 0}, // no face, size or colour
    };
    for (const FontStyle& style : styles) {
        uFontPreview preview;
        preview.SetStyle(style);
        preview.SetPlainText(QStringLiteral("a < b & \"c\"\nnext line"));
        const QString html = preview.HTML();
        EXPECT_FALSE(html.contains(QStringLiteral("a < b"))) << html.toStdString();
        preview.SetHTML(html);
        EXPECT_EQ(preview.PlainText(), QStringLiteral("a < b & \"c\"\nnext line"));
        const FontStyle& back = preview.Style();
        EXPECT_EQ(back.Name, style.Name) << html.toStdString();
        EXPECT_EQ(back.Size, style.Size) << html.toStdString();
        EXPECT_EQ(back.TextColour, style.TextColour) << html.toStdString();
        EXPECT_EQ(back.Bold, style.Bold);
        EXPECT_EQ(back.Italic, style.Italic);
        EXPECT_EQ(back.UnderLine, style.UnderLine);
        EXPECT_EQ(back.StrikeThru, style.StrikeThru);
    }
}

TEST(uFontPreviewTest, OtherHtmlGivesItsTextAndFirstFormat) {
    uFontPreview preview;
    preview.SetStyle(FontStyle{QStringLiteral("Arial"), 3, 0, -1, 0, 0, 0});
    preview.SetHTML(QStringLiteral("<font face=\"Courier\" size=\"5\" color=\"#0000ff\"><i>x "
                                   "&amp; <b>y</b></i></font><script>z()</script>"));
    EXPECT_EQ(preview.PlainText(), QStringLiteral("x & y")); // a script is no text
    EXPECT_EQ(preview.Style().Name, QStringLiteral("Courier"));
    EXPECT_EQ(preview.Style().Size, 5);
    EXPECT_EQ(preview.Style().TextColour, 0xFF0000);
    EXPECT_EQ(preview.Style().Bold, 0); // the first character is not bold
    EXPECT_EQ(preview.Style().Italic, 1);
    preview.SetHTML(QString()); // nothing to take a format from
    EXPECT_EQ(preview.PlainText(), QString());
    EXPECT_EQ(preview.Style().Name, QStringLiteral("Courier"));
}

TEST(uFontPreviewTest, ShowFontAppliesTheChoiceAndCancelKeeps) {
    uFontPreview preview;
    const FontStyle start{QStringLiteral("Arial"), 3, 255, 0, 1, 0, 0};
    preview.SetStyle(start);
    TestCommonDialogs().queueFont(std::nullopt);
    EXPECT_FALSE(preview.ShowFont());
    EXPECT_EQ(preview.Style().Italic, 1);
    ASSERT_EQ(TestCommonDialogs().fontRequests().size(), 1U);
    EXPECT_TRUE(TestCommonDialogs().fontRequests()[0].withColour);

    QFont chosen(QStringLiteral("Courier"), 15); // between 14 and 18: the smaller step
    chosen.setUnderline(true);
    TestCommonDialogs().queueFont(FontAnswer{chosen, QColor()}); // colour cancelled
    EXPECT_TRUE(preview.ShowFont());
    EXPECT_EQ(preview.Style().Name, QStringLiteral("Courier"));
    EXPECT_EQ(preview.Style().Size, 4);
    EXPECT_EQ(preview.Style().Italic, 0);
    EXPECT_EQ(preview.Style().UnderLine, 1);
    EXPECT_EQ(preview.Style().TextColour, 255);
    TestCommonDialogs().queueFont(FontAnswer{chosen, QColor(0, 255, 0)});
    EXPECT_TRUE(preview.ShowFont());
    EXPECT_EQ(preview.Style().TextColour, 0x00FF00);
}

TEST(uFontPreviewTest, BodyMarginsStartAsAPagesAndNeverGoBelowNothing) {
    uFontPreview preview;
    EXPECT_EQ(preview.BodyMargins().top, 8);
    EXPECT_EQ(preview.BodyMargins().right, 8);
    preview.SetTopMargin(0);
    preview.SetBottomMargin(3);
    preview.SetLeftMargin(-5);
    preview.SetRightMargin(0);
    EXPECT_EQ(preview.BodyMargins().top, 0);
    EXPECT_EQ(preview.BodyMargins().bottom, 3);
    EXPECT_EQ(preview.BodyMargins().left, 0);
    EXPECT_EQ(preview.BodyMargins().right, 0);
    preview.resize(20, 10); // smaller than the margins
    preview.SetTopMargin(30);
    preview.grab();
}

TEST(uFontPreviewTest, AsksForTheHeightItsTextNeeds) {
    uFontPreview preview;
    preview.SetPlainText(QStringLiteral("Scripts will appear in this Font"));
    preview.SetStyle(FontStyle{QStringLiteral("Arial"), 1, 0, 0, 0, 0, 0});
    const int small = preview.heightForWidth(400);
    preview.SetSelFontSize(7);
    const int large = preview.heightForWidth(400);
    EXPECT_GT(large, small);
    EXPECT_GT(preview.heightForWidth(60), large) << "a narrow preview wraps its text";
    preview.SetTopMargin(0);
    preview.SetBottomMargin(0);
    EXPECT_EQ(preview.heightForWidth(400), large - 16);
    EXPECT_TRUE(preview.hasHeightForWidth());
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
