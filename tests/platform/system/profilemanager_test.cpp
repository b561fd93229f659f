#include "platform/system/platformlog.h"
#include "platform/system/profilemanager.h"
#include "platform/system/registrystore.h"
#include "platform/ui/profilechooserdialog.h"
#include "support/scripteddialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {
const QString kProfiles = QStringLiteral("SOFTWARE\\Kestova\\Orlix v1\\Client\\Profiles");

class ProfileManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetPlatformLogHandler([this](const QString& t, int) { log.append(t); });
        // The user reads the chooser, then types the answer and presses OK, or cancels.
        TestDialogs().answerEvery<ProfileChooserDialog>([this](ProfileChooserDialog& d) {
            ++asked;
            seenProfiles.clear();
            for (int i = 0; i < d.profileList()->count(); ++i) {
                seenProfiles << d.profileList()->item(i)->text();
            }
            seenProposed = d.newNameEdit()->text();
            if (answer.isEmpty()) {
                d.buttons()->button(QDialogButtonBox::Cancel)->click();
                return;
            }
            d.newNameEdit()->selectAll();
            d.newNameEdit()->insert(answer); // as typed: the dialog hears of the edit
            d.buttons()->button(QDialogButtonBox::Ok)->click();
        });
    }

    QString choose(const QString& forced) {
        ProfileManager pm;
        pm.SetForcedProfile(forced);
        QString name = QStringLiteral("stale");
        const QString result = pm.ChooseProfile(kProfiles, nullptr, name);
        EXPECT_EQ(result, name);
        return result;
    }

    int asked = 0;
    QStringList seenProfiles;
    QString seenProposed;
    QString answer;
    QStringList log;
};

TEST_F(ProfileManagerTest, AForcedProfileIsTakenWithoutAskingAndMadeWhenNew) {
    EXPECT_EQ(choose(QStringLiteral("Studio")), QStringLiteral("Studio"));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(ProfileManager::Profiles(kProfiles), QStringList{QStringLiteral("Studio")});
    EXPECT_EQ(choose(QStringLiteral("STUDIO")), QStringLiteral("Studio")); // the stored case
    EXPECT_EQ(ProfileManager::Profiles(kProfiles).size(), 1);
}

TEST_F(ProfileManagerTest, AForcedNameThatCannotBeAFolderIsRefusedAndTheUserAsked) {
    const QStringList refused = {QStringLiteral("../etc"),
                                 QStringLiteral("a/b"),
                                 QStringLiteral("a\\b"),
                                 QStringLiteral("x..y"),
                                 QString(QChar(7)) + QStringLiteral("bell"),
                                 QString(65, QLatin1Char('p'))};
    answer = QStringLiteral("Studio 2");
    for (const QString& name : refused) {
        log.clear();
        EXPECT_EQ(choose(name), QStringLiteral("Studio 2")) << name.toStdString();
        EXPECT_FALSE(log.isEmpty()) << name.toStdString();
    }
    EXPECT_EQ(asked, refused.size());
    EXPECT_EQ(ProfileManager::Profiles(kProfiles), QStringList{QStringLiteral("Studio 2")});
}

TEST_F(ProfileManagerTest, AFirstStartProposesProfile1AndCancelGivesNothing) {
    answer = QString();
    EXPECT_EQ(choose(QString()), QString());
    EXPECT_EQ(seenProposed, QStringLiteral("Profile1"));
    EXPECT_TRUE(seenProfiles.isEmpty());
    EXPECT_TRUE(ProfileManager::Profiles(kProfiles).isEmpty());

    answer = QStringLiteral("Profile1");
    EXPECT_EQ(choose(QString()), QStringLiteral("Profile1"));
    answer = QStringLiteral("Late Show");
    EXPECT_EQ(choose(QString()), QStringLiteral("Late Show"));
    EXPECT_EQ(seenProfiles, QStringList{QStringLiteral("Profile1")});
    EXPECT_EQ(seenProposed, QString());
}

TEST(ProfileChooserDialog, ChoosesAListedProfileOrANewValidName) {
    ProfileChooserDialog dialog({QStringLiteral("Breakfast"), QStringLiteral("Drive")}, QString(),
                                nullptr);
    dialog.open();
    QPushButton* ok = dialog.buttons()->button(QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.choice(), QStringLiteral("Breakfast"));
    EXPECT_TRUE(ok->isEnabled());
    dialog.profileList()->setCurrentRow(1);
    EXPECT_EQ(dialog.choice(), QStringLiteral("Drive"));

    QTest::keyClicks(dialog.newNameEdit(), QStringLiteral("../x"));
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_FALSE(dialog.problemLabel()->text().isEmpty());
    dialog.newNameEdit()->clear();
    QTest::keyClicks(dialog.newNameEdit(), QStringLiteral("Weekend"));
    EXPECT_TRUE(ok->isEnabled());
    ok->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.choice(), QStringLiteral("Weekend"));
}

TEST(ProfileChooserDialog, AFirstStartNeedsOneClick) {
    ProfileChooserDialog dialog({}, QStringLiteral("Profile1"), nullptr);
    dialog.open();
    EXPECT_EQ(dialog.choice(), QStringLiteral("Profile1"));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}
} // namespace
