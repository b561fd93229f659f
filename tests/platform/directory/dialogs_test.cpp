#include "directoryfixture.h"

#include "platform/directory/directorylogindialog.h"
#include "platform/directory/directorysettingsdialog.h"
#include "platform/directory/directoryuserdialog.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <functional>

namespace {
void type(QDialog& d, const char* field, const QString& text) {
    auto* edit = d.findChild<QLineEdit*>(QLatin1String(field));
    ASSERT_NE(edit, nullptr) << field;
    edit->setText(text);
}

void click(QDialog& d, const char* button) {
    auto* b = d.findChild<QPushButton*>(QLatin1String(button));
    ASSERT_NE(b, nullptr) << button;
    b->click();
}

void tick(QDialog& d, const char* box, bool on) {
    auto* c = d.findChild<QCheckBox*>(QLatin1String(box));
    ASSERT_NE(c, nullptr) << box;
    c->setChecked(on);
}

class DialogsTest : public DirectoryFixture {
protected:
    // Each dialog the directory shows goes to the next script in turn.
    static void script(std::vector<ScriptedDialogs::Action> steps) {
        for (ScriptedDialogs::Action& step : steps) {
            TestDialogs().queue(std::move(step));
        }
    }
    // The names of the dialogs shown so far.
    static QStringList shown() {
        QStringList names;
        for (const auto& s : TestDialogs().shown()) {
            names << s.objectName;
        }
        return names;
    }
    QStringList boxTexts() {
        QStringList texts;
        for (const auto& r : TestMessageBoxes().shown()) {
            texts << r.text;
        }
        return texts;
    }
};

TEST_F(DialogsTest, FirstStartCreatesTheFirstUserWhoGetsEveryRight) {
    int logins = 0;
    QObject::connect(directory.get(), &KVDirectory::ContactLogin, [&] { ++logins; });
    script({[&](QDialog& d) {
        auto& login = dynamic_cast<DirectoryLoginDialog&>(d);
        EXPECT_TRUE(login.IsFirstUser());
        EXPECT_NE(d.findChild<QObject*>(QStringLiteral("lblPasswordNote")), nullptr);
        type(d, "txtName", QStringLiteral("Station Manager"));
        type(d, "txtLoginName", QStringLiteral("boss"));
        type(d, "txtPassword", QStringLiteral("one"));
        type(d, "txtConfirm", QStringLiteral("two"));
        click(d, "cmdOK");
        EXPECT_EQ(d.result(), QDialog::Rejected); // still open
        EXPECT_EQ(directory->UserCount(), 0);
        // An empty password is allowed.
        click(d, "cmdOK");
    }});
    bool cancelled = true;
    directory->Login(32, QStringLiteral("Kestova Orlix v1"), nullptr, false, 0, cancelled);
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(logins, 1);
    ASSERT_TRUE(directory->CurrentUser());
    EXPECT_EQ(directory->CurrentUser()->LoginName(), QStringLiteral("boss"));
    EXPECT_EQ(directory->CurrentUser()->DirectoryRights().Bits(), quint32(DirectoryRights::All));
    EXPECT_FALSE(directory->CurrentUser()->HasPassword());
    EXPECT_EQ(boxTexts(),
              (QStringList{"The two passwords are not the same - please enter them again"}));
}

TEST_F(DialogsTest, LoginDialogRefusesAWrongPasswordAndStaysOpen) {
    addUser(QStringLiteral("pres"), 0, 0, QStringLiteral("right"));
    directory->Logout();
    script({[&](QDialog& d) {
        EXPECT_FALSE(dynamic_cast<DirectoryLoginDialog&>(d).IsFirstUser());
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("txtLoginName"))->text(),
                  QStringLiteral("studio-os-user"));
        type(d, "txtLoginName", QStringLiteral("pres"));
        type(d, "txtPassword", QStringLiteral("wrong"));
        click(d, "cmdOK");
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_FALSE(directory->LoggedIn());
        EXPECT_TRUE(d.findChild<QLineEdit*>(QStringLiteral("txtPassword"))->text().isEmpty());
        type(d, "txtPassword", QStringLiteral("right"));
        click(d, "cmdOK");
    }});
    bool cancelled = true;
    directory->Login(32, QStringLiteral("Kestova Orlix v1"), nullptr, false, 0, cancelled);
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(directory->CurrentUser()->LoginName(), QStringLiteral("pres"));
    EXPECT_EQ(boxTexts(), (QStringList{"The login name or the password is not correct"}));

    directory->Logout();
    script({[&](QDialog& d) { click(d, "cmdCancel"); }});
    directory->Login(32, QStringLiteral("Kestova Orlix v1"), nullptr, false, 0, cancelled);
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(directory->LoggedIn());
}

TEST_F(DialogsTest, SettingsNeedTheRightToChangeThem) {
    auto clerk = addUser(QStringLiteral("clerk"), DirectoryRights::SaveUsers, 0);
    loginAs(clerk);
    script({});
    directory->ShowSettings();
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(boxTexts(), (QStringList{"You have not been given the correct security permissions "
                                       "to change the Directory Settings"}));
}

TEST_F(DialogsTest, SettingsAddEditResetAndRemoveUsers) {
    ensureAdmin();
    loginAs(admin);
    qint32 added = 0;
    script({
        [&](QDialog& d) { // the settings dialog drives the rest
            auto& settings = dynamic_cast<DirectorySettingsDialog&>(d);
            auto* list = d.findChild<QListWidget*>(QStringLiteral("lstUsers"));
            ASSERT_EQ(list->count(), 1);
            click(d, "cmdAdd");
            ASSERT_EQ(list->count(), 2);
            added = directory->GetContactByLoginName(QStringLiteral("pres"))->Reference();
            ASSERT_TRUE(settings.SelectUser(added));
            QString refusal;
            EXPECT_TRUE(
                directory->Authenticate(QStringLiteral("pres"), QStringLiteral("pw"), &refusal));
            click(d, "cmdEdit");
            const auto saved = directory->GetContact(added, true, true);
            EXPECT_EQ(saved->Name(), QStringLiteral("Presenter Two"));
            EXPECT_TRUE(saved->UserRights().CanCreateScripts());
            EXPECT_TRUE(saved->UserRights().CanSaveMessages());
            EXPECT_TRUE(saved->DirectoryRights().CanSaveContacts());
            EXPECT_FALSE(saved->DirectoryRights().CanSaveUsers());
            click(d, "cmdPassword");
            EXPECT_TRUE(
                directory->Authenticate(QStringLiteral("pres"), QStringLiteral("new"), &refusal));
            EXPECT_FALSE(
                directory->Authenticate(QStringLiteral("pres"), QStringLiteral("pw"), &refusal));
            ASSERT_TRUE(settings.SelectUser(admin->Reference()));
            click(d, "cmdRemove"); // the logged-in user cannot be removed
            ASSERT_TRUE(settings.SelectUser(added));
            TestMessageBoxes().queue(MsgResult::No);
            click(d, "cmdRemove");
            EXPECT_EQ(list->count(), 2);
            TestMessageBoxes().queue(MsgResult::Yes);
            click(d, "cmdRemove");
            EXPECT_EQ(list->count(), 1);
            click(d, "cmdClose");
        },
        [&](QDialog& d) { // add
            type(d, "txtName", QStringLiteral("Presenter"));
            type(d, "txtLoginName", QStringLiteral("pres"));
            type(d, "txtPassword", QStringLiteral("pw"));
            type(d, "txtConfirm", QStringLiteral("pw"));
            tick(d, "chkSaveContacts", true);
            tick(d, "chkSaveMessages", true);
            click(d, "cmdOK");
        },
        [&](QDialog& d) { // edit
            EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("txtPassword")), nullptr);
            EXPECT_TRUE(d.findChild<QCheckBox*>(QStringLiteral("chkSaveContacts"))->isChecked());
            type(d, "txtName", QStringLiteral("Presenter Two"));
            tick(d, "chkCreateScripts", true);
            click(d, "cmdOK");
        },
        [&](QDialog& d) { // reset password
            type(d, "txtPassword", QStringLiteral("new"));
            type(d, "txtConfirm", QStringLiteral("new"));
            click(d, "cmdOK");
        },
    });
    directory->ShowSettings();
    EXPECT_EQ(shown(), (QStringList{"frmDirectorySettings", "frmDirectoryUser", "frmDirectoryUser",
                                    "frmDirectoryUser"}));
    EXPECT_EQ(boxTexts(), (QStringList{"The password of 'Presenter Two' has been changed",
                                       "You cannot remove the user who is logged in",
                                       "Remove the user 'Presenter Two' from the directory?",
                                       "Remove the user 'Presenter Two' from the directory?"}));
    EXPECT_EQ(directory->GetContact(added, true, true), nullptr);
}

TEST_F(DialogsTest, SettingsTellTheRefusalOfAUserWithoutTheRightToSaveUsers) {
    auto manager = addUser(QStringLiteral("manager"), DirectoryRights::ChangeDirectorySettings, 0);
    loginAs(manager);
    script({
        [&](QDialog& d) { click(d, "cmdAdd"); },
        [&](QDialog& d) {
            type(d, "txtName", QStringLiteral("Someone"));
            type(d, "txtLoginName", QStringLiteral("someone"));
            click(d, "cmdOK");
        },
    });
    directory->ShowSettings();
    EXPECT_EQ(boxTexts(),
              (QStringList{"You do not have the nescessary Security Permissions to save "
                           "Users into the Directory"}));
    EXPECT_EQ(directory->GetContactByLoginName(QStringLiteral("someone")), nullptr);
}

TEST_F(DialogsTest, UserDialogChecksItsFields) {
    DirectoryUserDialog d(DirectoryUserDialog::Mode::NewUser, nullptr);
    click(d, "cmdOK");
    type(d, "txtName", QStringLiteral("A"));
    click(d, "cmdOK");
    type(d, "txtLoginName", QStringLiteral("a"));
    type(d, "txtPassword", QStringLiteral("x"));
    click(d, "cmdOK");
    EXPECT_EQ(d.result(), QDialog::Rejected);
    type(d, "txtPassword", QStringLiteral("x"));
    type(d, "txtConfirm", QStringLiteral("x"));
    click(d, "cmdOK");
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(boxTexts(),
              (QStringList{"Please enter the user's name", "Please enter a login name",
                           "The two passwords are not the same - please enter them again"}));
}
} // namespace

namespace {
// Two studio computers at their first start: the second one's dialog turns into a login.
TEST_F(DialogsTest, FirstUserMadeElsewhereMeanwhileTurnsTheDialogIntoALogin) {
    script({[&](QDialog& d) {
        ASSERT_TRUE(dynamic_cast<DirectoryLoginDialog&>(d).IsFirstUser());
        KVDirectory other;
        bool failed = true;
        other.OpenDefault(false, failed);
        QString refusal;
        ASSERT_TRUE(
            other.CreateFirstUser(QStringLiteral("Other"), QStringLiteral("other"), {}, &refusal));
        type(d, "txtName", QStringLiteral("Me"));
        type(d, "txtLoginName", QStringLiteral("me"));
        click(d, "cmdOK");
        EXPECT_FALSE(dynamic_cast<DirectoryLoginDialog&>(d).IsFirstUser());
        EXPECT_EQ(d.result(), QDialog::Rejected);
        type(d, "txtLoginName", QStringLiteral("other"));
        click(d, "cmdOK");
    }});
    bool cancelled = true;
    directory->Login(32, QStringLiteral("Kestova Orlix v1"), nullptr, false, 0, cancelled);
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(directory->CurrentUser()->LoginName(), QStringLiteral("other"));
    EXPECT_EQ(directory->UserCount(), 1);
    EXPECT_EQ(boxTexts(), (QStringList{"The directory already has users: please log in"}));
}
} // namespace
