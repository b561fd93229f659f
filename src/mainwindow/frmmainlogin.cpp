// The window follows the directory's login state: the user's rights on menus and controls,
// and the user's own layout back at every login.

#include "mainwindow/frmmain.h"

#include "core/orlixcommon.h"
#include "core/profile/usersettingskeys.h"
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

#include <cmath>

namespace {
// The stored 1/0 and "1"/"0" values count as set when their number is not 0.
bool isSet(const QVariant& value) {
    return value.toString().trimmed().toDouble() != 0;
}

qint32 storedPosition(const QVariant& value, double floor) {
    const double stored = value.toString().trimmed().toDouble();
    return static_cast<qint32>(std::lround(std::max(floor, stored)));
}
} // namespace

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

    const UserRights rights = user->UserRights();
    mnuSettings->menuAction()->setEnabled(rights.CanChangeSettings());
    mnuDirectorySettings->setEnabled(user->DirectoryRights().CanChangeDirectorySettings());
    ctlMessages->SetDisplayNewMessage(rights.CanSaveMessages() && clsSettingsObject &&
                                      clsSettingsObject->EmailSendEnabled());
    bCanCreateScripts = rights.CanCreateScripts();

    using namespace UserSettingsKeys;
    if (clsSettingsObject == nullptr || clsSettingsObject->VorelaComputerName().isEmpty()) {
        // Collapsed because there is nothing to show: the user's own choice stays stored.
        vorelaPanelHidden_ = true;
        Form_Resize();
    } else {
        SetVorelaPanelHidden(isSet(userSetting(UserSettingsKeys::VorelaPanelHidden())));
    }

    const std::pair<uSplitPanel*, UserNumberKey> wide[] = {
        {splitMessages, MessageSeparatorPosition()},
        {splitScripts, ScriptSeparatorPosition()},
        {splitWebsites, WebsiteSeparatorPosition()},
        {splitContacts, ContactSeparatorPosition()}};
    for (const auto& [splitter, key] : wide) {
        splitter->SetPosition(storedPosition(userSetting(key), 2600));
    }
    splitPrize->SetPosition(storedPosition(userSetting(PrizeSeparatorPosition()), 60));

    const qint32 minutes = static_cast<qint32>(
        std::lround(userSetting(MessageListFilter()).toString().trimmed().toDouble()));
    const int filterIndex = FormHelper::ListIndexOfItemData(comboMessageFilter, minutes);
    // A stored window the list does not offer shows the first entry, as a new user's would.
    comboMessageFilter->setCurrentIndex(filterIndex >= 0 ? filterIndex : 0);
    comboMessageFilter_Click();

    picPanes->setVisible(true);

    const QString tab = userSetting(SelectedTab()).toString().toUpper();
    const std::tuple<const char*, uPanel3*, void (frmMain::*)()> tabs[] = {
        {"CONTACTS", optContacts, &frmMain::optContacts_Click},
        {"PRIZES", optPrize, &frmMain::optPrize_Click},
        {"SCRIPTS", optScripts, &frmMain::optScripts_Click},
        {"MESSAGES", optMessages, &frmMain::optMessages_Click},
        {"WEB", optWeb, &frmMain::optWeb_Click}};
    for (const auto& [name, button, click] : tabs) {
        if (tab == QLatin1String(name)) {
            button->SetValue(1);
            (this->*click)();
            break;
        }
    }

    mnuViewVorelaKeyboard->setChecked(isSet(userSetting(ViewVorelaKeyboard())));
    mnuViewLogGo->setEnabled(mnuViewVorelaKeyboard->isChecked());
    mnuViewLogNavigation->setEnabled(mnuViewVorelaKeyboard->isChecked());
    mnuViewLogGo->setChecked(isSet(userSetting(ViewVorelaLogGo())));
    mnuViewLogNavigation->setChecked(isSet(userSetting(ViewVorelaLogNavigation())));
    mnuViewMessageMiniList->setChecked(isSet(userSetting(ViewMiniMessageList())));
    ApplyMiniMessageListView();

    chkTalkback->SetValue(isSet(userSetting(TalkbackVisible())) ? 1 : 0);
    chkTalkback_Click();
    pnlVorelaKeyboard_Resize();

    if (AppServices::Instance().CommandLine().contains(QLatin1String("/NOSETTINGS"))) {
        mnuSettings->menuAction()->setEnabled(false);
    }

    AppServices::Instance().SetStatusText(QStringLiteral("Updating MRU Lists"));
    UpdateMRU(255);

    LoadSettings();

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

void frmMain::UpdateMRU(int /*flags*/) {
    // The recent menus are rebuilt by the contacts pane's own code.
}
