// The window follows the directory's login state: the user's rights on menus and controls,
// and the user's own layout back at every login.

#include "mainwindow/frmmain.h"

#include "core/orlixcommon.h"
#include "core/profile/usersettingskeys.h"
#include "core/program.h"
#include "mainwindow/loginlayout.h"
#include "mainwindow/mainwindowvisibility.h"
#include "mainwindow/panes/recentmenus.h"
#include "mainwindow/panes/scriptspane.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/directory/controls/uwebsiteslist.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/controls/umessageslist.h"
#include "platform/system/appinfo.h"
#include "platform/system/appservices.h"
#include "platform/system/formhelper.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/upanel3.h"
#include "platform/ui/usplitpanel.h"
#include "platform/ui/utalkback.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

bool frmMain::userLoggedIn() const {
    KVDirectory* directory = clsKVDirectoryLocal;
    return directory != nullptr && directory->CurrentUser() != nullptr;
}

KVDirectory* frmMain::userDirectory() const {
    return clsKVDirectoryLocal;
}

void frmMain::clsKVDirectoryLocal_ContactLogin() {
    tmrAutoLogin.stop();
    KVDirectory* directory = clsKVDirectoryLocal;
    const KVDirectory::ContactPtr user = directory ? directory->CurrentUser() : nullptr;
    if (!user) {
        return;
    }

    setWindowTitle(AppInfo::ProductName() + QStringLiteral(" - ") + user->Name() +
                   QStringLiteral(" logged in"));
    mnuLogin->setEnabled(false);
    mnuLogin->setText(QStringLiteral("Logged in as '") + user->LoginName() + QLatin1Char('\''));
    mnuLogout->setEnabled(true);

    ctlContacts->SetDirectory(directory);
    ctlContacts->Refresh();
    ctlWebsites->SetDirectory(directory);
    ctlWebsites->Refresh();

    for (uPanel3* b : {optContacts, optScripts, optWeb, optMessages, chkTalkback, optPrize}) {
        b->setVisible(true);
    }

    applyUserAccess(*user);
    restoreUserLayout();

    AppServices::Instance().SetStatusText(QStringLiteral("Updating MRU Lists"));
    UpdateMRU(255);

    // The same words as after the settings dialog: the panes stay unbound until it is put
    // right, and the user must know why.
    if (!LoadSettings()) {
        reportSettingsProblem();
    }

    selectPersonalScript();
}

void frmMain::applyUserAccess(const DirectoryContact& user) {
    const UserAccess access =
        AccessForUser(user.UserRights(), user.DirectoryRights(),
                      clsSettingsObject && clsSettingsObject->EmailSendEnabled(),
                      Program::Instance().Options().NoSettings);
    mnuSettings->menuAction()->setEnabled(access.settingsMenu);
    mnuDirectorySettings->setEnabled(access.directorySettingsMenu);
    ctlMessages->SetDisplayNewMessage(access.displayNewMessage);
    bCanCreateScripts = access.createScripts;
}

// Applied through the same handlers a user's clicks run, so that the window follows as it
// would; while start-up runs they store nothing back but the message filter.
void frmMain::restoreUserLayout() {
    const LoginLayout layout = RestoreLoginLayout(
        [this](const QString& name, const QVariant& readDefault) {
            // Read only: the layout rules name the keys they read, with their read defaults.
            return userSetting(UserTextKey{name, readDefault.toString(), QString()});
        },
        clsSettingsObject != nullptr && !clsSettingsObject->VorelaComputerName().isEmpty());

    if (layout.vorelaPanelHidden) {
        SetVorelaPanelHidden(*layout.vorelaPanelHidden);
    } else {
        // The user's own choice stays stored.
        collapseVorelaPanel();
    }

    splitMessages->SetPosition(layout.splitMessages);
    splitScripts->SetPosition(layout.splitScripts);
    splitWebsites->SetPosition(layout.splitWebsites);
    splitContacts->SetPosition(layout.splitContacts);
    splitPrize->SetPosition(layout.splitPrize);

    const int filterIndex =
        FormHelper::ListIndexOfItemData(comboMessageFilter, layout.messageFilterMinutes);
    // A stored window the list does not offer shows the first entry, as a new user's would.
    comboMessageFilter->setCurrentIndex(filterIndex >= 0 ? filterIndex : 0);
    comboMessageFilter_Click();

    picPanes->setVisible(true);

    const std::tuple<MainTab, uPanel3*, void (frmMain::*)()> tabs[] = {
        {MainTab::Contacts, optContacts, &frmMain::optContacts_Click},
        {MainTab::Prizes, optPrize, &frmMain::optPrize_Click},
        {MainTab::Scripts, optScripts, &frmMain::optScripts_Click},
        {MainTab::Messages, optMessages, &frmMain::optMessages_Click},
        {MainTab::Web, optWeb, &frmMain::optWeb_Click}};
    for (const auto& [tab, button, click] : tabs) {
        if (tab == layout.selectedTab) {
            button->SetValue(1);
            (this->*click)();
            break;
        }
    }

    mnuViewVorelaKeyboard->setChecked(layout.viewVorelaKeyboard);
    mnuViewLogGo->setEnabled(layout.viewLogItemsEnabled);
    mnuViewLogNavigation->setEnabled(layout.viewLogItemsEnabled);
    mnuViewLogGo->setChecked(layout.viewLogGo);
    mnuViewLogNavigation->setChecked(layout.viewLogNavigation);
    mnuViewMessageMiniList->setChecked(layout.viewMiniMessageList);
    ApplyMiniMessageListView();

    chkTalkback->SetValue(layout.talkbackVisible ? 1 : 0);
    chkTalkback_Click();
    pnlVorelaKeyboard_Resize();
}

// The user's personal script, when the tree holds one, is selected and shown.
void frmMain::selectPersonalScript() {
    for (QTreeWidgetItemIterator it(treeScripts); *it != nullptr; ++it) {
        QTreeWidgetItem* node = *it;
        if (node->data(0, kNodeTagRole).toString() == QLatin1String("<PERSONALSCRIPT>")) {
            treeScripts->setCurrentItem(node);
            treeScripts_NodeClick(node);
            break;
        }
    }
}

void frmMain::clsKVDirectoryLocal_ContactLogout() {
    setWindowTitle(AppInfo::ProductName());
    ctlTalkback->StopTalkback();
    bCanCreateScripts = false;
    mnuLogin->setEnabled(true);
    mnuLogin->setText(QStringLiteral("&Login"));
    mnuLogout->setEnabled(false);
    mnuSettings->menuAction()->setEnabled(false);
    for (uPanel3* b : {optContacts, optScripts, optWeb, optMessages, optPrize, chkTalkback}) {
        b->setVisible(false);
    }
    picPanes->setVisible(false);
    for (uSplitPanel* s : splitters()) {
        s->setVisible(false);
    }
    pnlTalkback->setVisible(false);
    mnuViewVorelaKeyboard->setChecked(false);
    Form_Resize();
    tmrAutoLogin.start();
}

void frmMain::clsKVDirectoryLocal_SecurityKeyInserted(const QString& /*DriveLetter*/,
                                                      const QString& /*LoginName*/,
                                                      bool* AttemptLogin) {
    if (AttemptLogin != nullptr && *AttemptLogin && userLoggedIn()) {
        MsgBox(QStringLiteral("You cannot Login as a different user if you are already Logged "
                              "in to Orlix - you must choose Logout from the File menu first!"),
               MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        *AttemptLogin = false;
    }
}

void frmMain::clsKVDirectoryLocal_SecurityKeyRemoved(const QString& /*DriveLetter*/,
                                                     bool* AttemptLogout) {
    // The key's logout closes the other windows first, as the menu's does; a window that
    // keeps unsaved changes keeps the user logged in.
    if (AttemptLogout != nullptr && *AttemptLogout && !unloadOtherForms()) {
        *AttemptLogout = false;
    }
}

void frmMain::mnuLogin_Click() {
    tmrAutoLogin.stop();
    if (KVDirectory* directory = clsKVDirectoryLocal) {
        bool cancelled = false;
        directory->Login(kProductCode, AppInfo::ProductName(), nullptr, false, 0, cancelled);
    }
}

void frmMain::mnuLogout_Click() {
    KVDirectory* directory = clsKVDirectoryLocal;
    if (directory == nullptr) {
        return;
    }
    if (directory->LoggedInBySecurityKey()) {
        MsgBox(QStringLiteral("You must remove your Security Key to Logout"), MsgIcon::Exclamation,
               MsgButtons::OK, 0, this);
        return;
    }
    if (!scriptsPane->QuerySaveChanges()) {
        return;
    }
    if (unloadOtherForms()) {
        directory->Logout();
    }
}

void frmMain::tmrAutoLogin_Timer() {
    tmrAutoLogin.stop();
    KVDirectory* directory = clsKVDirectoryLocal;
    if (bFormReady && directory != nullptr && directory->CurrentUser() == nullptr) {
        mnuLogin_Click();
    }
}

void frmMain::UpdateMRU(int flags) {
    recentMenus->UpdateMRU(flags, userDirectory());
}
