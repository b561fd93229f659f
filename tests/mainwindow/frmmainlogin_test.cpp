#include "mainwindowfixture.h"
#include "support/scriptedwindow.h"

#include "platform/directory/directoryrights.h"
#include "platform/directory/userrights.h"
#include "platform/messagesdb/controls/umessagebasic.h"
#include "platform/messagesdb/controls/umessageslist.h"
#include "platform/ui/forms.h"
#include "platform/ui/upanel3.h"
#include "platform/ui/usplitpanel.h"
#include "platform/ui/utalkback.h"
#include "platform/web/uwebbrowser.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QMenu>

namespace {
// An edit window whose save question the user cancels.
class CancelledSaveWindow : public QWidget {
protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

using MainWindowLogin = MainWindowFixture;

QList<uPanel3*> tabButtons(const frmMain& w) {
    return {w.optContacts, w.optPrize, w.optScripts, w.optWeb, w.optMessages, w.chkTalkback};
}

TEST_F(MainWindowLogin, AUserWithAnEmptyStoreGetsTheDefaults) {
    seedProfile(true);
    addUser(QStringLiteral("admin"));
    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    frmMain& w = *window;
    EXPECT_EQ(w.optContacts->Value(), 1);
    EXPECT_FALSE(w.splitContacts->isHidden());
    for (uSplitPanel* s : {w.splitPrize, w.splitScripts, w.splitWebsites, w.splitMessages}) {
        EXPECT_TRUE(s->isHidden());
    }
    for (uSplitPanel* s :
         {w.splitContacts, w.splitPrize, w.splitScripts, w.splitWebsites, w.splitMessages}) {
        EXPECT_EQ(s->Position(), 3800);
    }
    EXPECT_EQ(w.comboMessageFilter->currentText(), QStringLiteral("Last 4 Hours"));
    EXPECT_EQ(w.chkTalkback->Value(), 1);
    EXPECT_FALSE(w.pnlTalkback->isHidden());
    EXPECT_FALSE(w.mnuViewVorelaKeyboard->isChecked());
    EXPECT_FALSE(w.mnuViewLogGo->isEnabled());
    EXPECT_FALSE(w.mnuViewLogNavigation->isEnabled());
    EXPECT_TRUE(w.mnuViewLogGo->isChecked());
    EXPECT_FALSE(w.mnuViewLogNavigation->isChecked());
    EXPECT_FALSE(w.mnuViewMessageMiniList->isChecked());
    EXPECT_FALSE(w.VorelaPanelHidden());
    EXPECT_TRUE(w.ctlTalkback->Running());
    for (uPanel3* b : tabButtons(w)) {
        EXPECT_FALSE(b->isHidden()) << b->objectName().toStdString();
    }
    // The start-up's own restore wrote back only the filter.
    EXPECT_EQ(userSetting(QStringLiteral("MessageListFilter")), QStringLiteral("240"));
    for (const char* key : {"SelectedTab", "Talkback.Visible", "ContactSeparator.Position",
                            "VorelaPanelHidden", "ViewMiniMessageList"}) {
        EXPECT_EQ(userSetting(QLatin1String(key)), QStringLiteral("<unset>")) << key;
    }
}

TEST_F(MainWindowLogin, StoredSeparatorPositionsKeepTheirFloors) {
    struct Case {
        const char* stored;
        qint32 wide;  // the four splitters whose floor is 2600
        qint32 prize; // the prizes splitter, floor 60
    };
    const Case cases[] = {{"1000", 2600, 1000},
                          {"5000", 5000, 5000},
                          {"30", 2600, 60},
                          {"2600.6", 2601, 2601},
                          {"rubbish", 2600, 60}};
    seedProfile();
    addUser(QStringLiteral("admin"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        for (const char* key :
             {"MessageSeparator.Position", "ScriptSeparator.Position", "WebsiteSeparator.Position",
              "ContactSeparator.Position", "PrizeSeparator.Position"}) {
            storeUserSetting(QStringLiteral("admin"), QLatin1String(key), QLatin1String(c.stored));
        }
        ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
        for (uSplitPanel* s : {window->splitMessages, window->splitScripts, window->splitWebsites,
                               window->splitContacts}) {
            EXPECT_EQ(s->Position(), c.wide) << s->objectName().toStdString();
        }
        EXPECT_EQ(window->splitPrize->Position(), c.prize);
        window.reset();
    }
}

TEST_F(MainWindowLogin, TheStoredTabIsComparedUpperCased) {
    struct Case {
        const char* stored;
        const char* selected; // "" = none
    };
    const Case cases[] = {{"Messages", "splitMessages"}, {"messages", "splitMessages"},
                          {"PRIZES", "splitPrize"},      {"web", "splitWebsites"},
                          {"Scripts", "splitScripts"},   {"Elsewhere", ""}};
    seedProfile();
    addUser(QStringLiteral("admin"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        storeUserSetting(QStringLiteral("admin"), QStringLiteral("SelectedTab"),
                         QLatin1String(c.stored));
        ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
        QStringList shown;
        for (uSplitPanel* s : {window->splitContacts, window->splitPrize, window->splitScripts,
                               window->splitWebsites, window->splitMessages}) {
            if (!s->isHidden()) {
                shown << s->objectName();
            }
        }
        EXPECT_EQ(shown.join(QLatin1Char(',')), QLatin1String(c.selected));
        window.reset();
    }
}

TEST_F(MainWindowLogin, RightsSwitchTheMenusAndNoSettingsOverridesThem) {
    seedProfile();
    addUser(QStringLiteral("admin"));
    addUser(QStringLiteral("pres"), 0, UserRights::SaveMessages);
    struct Case {
        const char* login;
        const char* extra;
        bool settings;
        bool directorySettings;
        bool newMessages;
    };
    const Case cases[] = {{"admin", "", true, true, true},
                          {"pres", "", false, false, true},
                          {"admin", "/nosettings", false, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.login) + " " + c.extra);
        ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=") +
                          QLatin1String(c.login) + QLatin1Char(' ') + QLatin1String(c.extra)));
        EXPECT_EQ(window->mnuSettings->menuAction()->isEnabled(), c.settings);
        EXPECT_EQ(window->mnuDirectorySettings->isEnabled(), c.directorySettings);
        EXPECT_EQ(window->ctlMessages->DisplayNewMessage(), c.newMessages);
        EXPECT_EQ(window->bCanCreateScripts, std::string(c.login) == "admin");
        window.reset();
    }
}

TEST_F(MainWindowLogin, NoSettingsStaysForEveryLaterLogin) {
    seedProfile();
    addUser(QStringLiteral("admin"));
    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin /NOSETTINGS")));
    window->mnuLogout->trigger();
    bool ok = false;
    directory()->LoginContact(directory()->GetContactByLoginName(QStringLiteral("admin")), 1,
                              QString(), ok);
    ASSERT_TRUE(ok);
    EXPECT_FALSE(window->mnuSettings->menuAction()->isEnabled());
}

TEST_F(MainWindowLogin, TheLogoutHidesThePanesAndArmsTheLoginTimer) {
    ASSERT_TRUE(startLoggedIn());
    window->mnuViewVorelaKeyboard->setChecked(true);
    window->mnuLogout->trigger();
    frmMain& w = *window;
    EXPECT_FALSE(directory()->LoggedIn());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Kestova Orlix v1"));
    EXPECT_EQ(w.mnuLogin->text(), QStringLiteral("&Login"));
    EXPECT_TRUE(w.mnuLogin->isEnabled());
    EXPECT_FALSE(w.mnuLogout->isEnabled());
    EXPECT_FALSE(w.mnuSettings->menuAction()->isEnabled());
    EXPECT_FALSE(w.bCanCreateScripts);
    EXPECT_FALSE(w.ctlTalkback->Running());
    EXPECT_FALSE(w.mnuViewVorelaKeyboard->isChecked());
    for (uPanel3* b : tabButtons(w)) {
        EXPECT_TRUE(b->isHidden()) << b->objectName().toStdString();
    }
    EXPECT_TRUE(w.picPanes->isHidden());
    EXPECT_TRUE(w.pnlTalkback->isHidden());
    for (uSplitPanel* s :
         {w.splitContacts, w.splitPrize, w.splitScripts, w.splitWebsites, w.splitMessages}) {
        EXPECT_TRUE(s->isHidden());
    }
    EXPECT_TRUE(w.tmrAutoLogin.isActive());
    EXPECT_EQ(w.tmrAutoLogin.interval(), 1000);

    // One second later the login dialog opens again; a cancel leaves the window logged out.
    w.tmrAutoLogin_Timer();
    EXPECT_EQ(loginDialogs, 1);
    EXPECT_FALSE(w.tmrAutoLogin.isActive());
    EXPECT_FALSE(directory()->LoggedIn());
}

TEST_F(MainWindowLogin, ALogoutRefusedByAWindowKeepsTheUser) {
    ASSERT_TRUE(startLoggedIn());
    auto* edit = new CancelledSaveWindow;
    Forms::Add(edit);
    window->mnuLogout->trigger();
    EXPECT_TRUE(directory()->LoggedIn());
    EXPECT_FALSE(window->picPanes->isHidden());
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    delete edit;
}

TEST_F(MainWindowLogin, ASecurityKeyWhileLoggedInIsRefusedWithAWarning) {
    ASSERT_TRUE(startLoggedIn());
    addUser(QStringLiteral("keyuser"), 0, 0);
    directory()->RaiseSecurityKeyInserted(QStringLiteral("E"), QStringLiteral("keyuser"));
    EXPECT_EQ(directory()->CurrentUser()->LoginName(), QStringLiteral("admin"));
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(TestMessageBoxes().shown().front().text,
              QStringLiteral("You cannot Login as a different user if you are already Logged in "
                             "to Orlix - you must choose Logout from the File menu first!"));
    EXPECT_EQ(TestMessageBoxes().shown().front().icon, MsgIcon::Exclamation);
}

TEST_F(MainWindowLogin, ASecurityKeyLoginLogsOutOnlyWithTheKey) {
    ASSERT_TRUE(startLoggedIn());
    window->mnuLogout->trigger();
    directory()->RaiseSecurityKeyInserted(QStringLiteral("E"), QStringLiteral("admin"));
    ASSERT_TRUE(directory()->LoggedInBySecurityKey());
    EXPECT_FALSE(window->picPanes->isHidden());

    window->mnuLogout->trigger();
    EXPECT_TRUE(directory()->LoggedIn());
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(TestMessageBoxes().shown().front().text,
              QStringLiteral("You must remove your Security Key to Logout"));

    // Removing the key while a window keeps unsaved changes keeps the user, who then logs
    // out through the menu once the window is closed.
    auto* edit = new CancelledSaveWindow;
    Forms::Add(edit);
    directory()->RaiseSecurityKeyRemoved(QStringLiteral("E"));
    EXPECT_TRUE(directory()->LoggedIn());
    EXPECT_FALSE(directory()->LoggedInBySecurityKey());
    delete edit;
    window->mnuLogout->trigger();
    EXPECT_FALSE(directory()->LoggedIn());

    directory()->RaiseSecurityKeyInserted(QStringLiteral("E"), QStringLiteral("admin"));
    directory()->RaiseSecurityKeyRemoved(QStringLiteral("E"));
    EXPECT_FALSE(directory()->LoggedIn());
    EXPECT_TRUE(window->picPanes->isHidden());
}

TEST_F(MainWindowLogin, LayoutChoicesAreStoredOnlyOnceTheWindowIsReady) {
    seedProfile(true);
    addUser(QStringLiteral("admin"));
    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    frmMain& w = *window;
    w.optMessages->SetValue(1);
    w.optMessages_Click();
    EXPECT_EQ(userSetting(QStringLiteral("SelectedTab")), QStringLiteral("Messages"));
    w.chkTalkback->SetValue(0);
    w.chkTalkback_Click();
    EXPECT_EQ(userSetting(QStringLiteral("Talkback.Visible")), QStringLiteral("0"));
    w.splitContacts->SetPosition(4321);
    EXPECT_EQ(userSetting(QStringLiteral("ContactSeparator.Position")), QStringLiteral("4321"));
    w.SetVorelaPanelHidden(true);
    EXPECT_EQ(userSetting(QStringLiteral("VorelaPanelHidden")), QStringLiteral("1"));
    w.mnuViewMessageMiniList->trigger();
    EXPECT_TRUE(w.mnuViewMessageMiniList->isChecked());
    EXPECT_EQ(userSetting(QStringLiteral("ViewMiniMessageList")), QStringLiteral("1"));
    EXPECT_TRUE(w.ctlMessageBrowser->isHidden());
    EXPECT_FALSE(w.ctlMessage->isHidden());

    // The next login restores them.
    window.reset();
    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    EXPECT_FALSE(window->splitMessages->isHidden());
    EXPECT_EQ(window->chkTalkback->Value(), 0);
    EXPECT_TRUE(window->pnlTalkback->isHidden());
    EXPECT_EQ(window->splitContacts->Position(), 4321);
    EXPECT_TRUE(window->VorelaPanelHidden());
    EXPECT_TRUE(window->mnuViewMessageMiniList->isChecked());

    // Logged out, a tab click switches the pane and stores nothing.
    window->mnuLogout->trigger();
    window->optPrize_Click();
    EXPECT_FALSE(window->splitPrize->isHidden());
}

TEST_F(MainWindowLogin, WithoutAPlayoutComputerThePanelCollapsesButTheChoiceStays) {
    seedProfile(false);
    addUser(QStringLiteral("admin"));
    storeUserSetting(QStringLiteral("admin"), QStringLiteral("VorelaPanelHidden"),
                     QStringLiteral("0"));
    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    EXPECT_TRUE(window->VorelaPanelHidden());
    EXPECT_FALSE(window->mnuConnect->isVisible());
    EXPECT_FALSE(window->mnuDisconnect->isVisible());
    EXPECT_FALSE(window->mnuViewVorela->menuAction()->isVisible());
    // A later login, after start-up, does not overwrite the user's own choice.
    window->mnuLogout->trigger();
    bool ok = false;
    directory()->LoginContact(directory()->GetContactByLoginName(QStringLiteral("admin")), 1,
                              QString(), ok);
    EXPECT_TRUE(window->VorelaPanelHidden());
    EXPECT_EQ(userSetting(QStringLiteral("VorelaPanelHidden")), QStringLiteral("0"));
}

TEST_F(MainWindowLogin, ASettingsReloadThatFailsAtALaterLoginSaysWhy) {
    ASSERT_TRUE(startLoggedIn());
    window->mnuLogout->trigger();
    ASSERT_FALSE(directory()->LoggedIn());
    // The talkback folder has become a plain file: the profile can no longer be used.
    const QString talkback = folder("talkback");
    ASSERT_TRUE(QDir(talkback).removeRecursively());
    QFile plain(talkback);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    int dialogs = 0;
    Program::Instance().Windows().Register(WindowKind::Settings,
                                           ScriptedWindowMaker([&] { ++dialogs; }));

    bool ok = false;
    directory()->LoginContact(directory()->GetContactByLoginName(QStringLiteral("admin")), 1,
                              QString(), ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(dialogs, 1);
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(
        TestMessageBoxes().shown().front().text,
        QStringLiteral("The settings of the profile 'Studio' could not be used: the folder '") +
            talkback + QStringLiteral("' could not be created."));
    EXPECT_EQ(TestMessageBoxes().shown().front().icon, MsgIcon::Exclamation);
    EXPECT_FALSE(window->ctlTalkback->Running());
}

TEST_F(MainWindowLogin, TheFilterClickIsIgnoredWhileTheListIsRefilled) {
    ASSERT_TRUE(startLoggedIn());
    const int before = window->ctlMessages->RefreshCount();
    window->comboMessageFilter->setProperty("Tag", QStringLiteral("1"));
    window->comboMessageFilter->setCurrentIndex(3);
    window->comboMessageFilter_Click();
    EXPECT_EQ(window->ctlMessages->RefreshCount(), before);
    EXPECT_EQ(userSetting(QStringLiteral("MessageListFilter")), QStringLiteral("240"));
    window->comboMessageFilter->setProperty("Tag", QStringLiteral("0"));
    window->comboMessageFilter_Click();
    EXPECT_EQ(window->ctlMessages->RefreshCount(), before + 1);
    EXPECT_EQ(userSetting(QStringLiteral("MessageListFilter")), QStringLiteral("-1"));
}
} // namespace
