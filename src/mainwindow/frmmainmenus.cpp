// The menu bar's handlers: the playout link, the settings dialogs, help, the maker's pages,
// the update notes, and the message list's view and time filter.

#include "mainwindow/frmmain.h"

#include "core/debuglog.h"
#include "core/errorreport.h"
#include "core/generalroutines.h"
#include "core/printing/frmprintpreview.h"
#include "core/program.h"
#include "mainwindow/panes/messagespane.h"
#include "mainwindow/panes/scriptspane.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/controls/umessagebasic.h"
#include "platform/messagesdb/controls/umessageslist.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/system/appinfo.h"
#include "platform/system/desktopopener.h"
#include "platform/system/filesystemhelper.h"
#include "platform/ui/messagebox.h"
#include "platform/web/uwebbrowser.h"
#include "playout/link/playoutlink.h"

#include <QAction>
#include <QComboBox>
#include <QToolBar>
#include <QUrl>

namespace {
void openMakerPage(const QString& path) {
    OpenWithDesktop(QUrl(AppInfo::MakerWebsite() + path));
}

void openHelp() {
    const QString help = frmMain::HelpFilePath();
    if (!(FileSystemHelper::FileSize(help) > 0)) {
        return;
    }
    OpenWithDesktop(QUrl::fromLocalFile(help));
}
} // namespace

void frmMain::mnuConnect_Click() {
    link_->SetbLinkWanted(true);
    link_->ConnectToVorela();
}

void frmMain::mnuDisconnect_Click() {
    link_->SetbLinkWanted(false);
    link_->DisconnectFromVorela();
}

void frmMain::mnuExit_Click() {
    close();
}

void frmMain::mnuProgramSettings_Click() {
    if (!scriptsPane->QuerySaveChanges()) {
        return;
    }
    // The reload empties the scripts pane; the presenter's script comes back as it was.
    const QString shownScript = scriptsPane->ShownNodeKey();
    Program::Instance().Windows().ShowModal(WindowKind::Settings, this);
    bFormReady = false;
    if (!LoadSettings()) {
        reportSettingsProblem();
    } else {
        scriptsPane->ShowNode(shownScript);
    }
    bFormReady = true;
}

void frmMain::reportSettingsProblem() {
    MsgBox(QStringLiteral("The settings of the profile '") + Program::Instance().ProfileName() +
               QStringLiteral("' could not be used: ") + lastSettingsProblem_,
           MsgIcon::Exclamation, MsgButtons::OK, 0, this);
}

void frmMain::mnuDirectorySettings_Click() {
    if (KVDirectory* directory = clsKVDirectoryLocal) {
        directory->ShowSettings(this);
    }
}

void frmMain::mnuOrlixDBSettings_Click() {
    if (Database() == nullptr) {
        DebugLog(QStringLiteral("Orlix Database Settings: no database is open"), 5);
        return;
    }
    Database()->ShowDatabaseSettings(this);
}

void frmMain::mnuHelpContents_Click() {
    openHelp();
}

void frmMain::mnuHelpSearch_Click() {
    // The viewer's own search is offered from the document it opens.
    openHelp();
}

void frmMain::mnuCreateSupportFile_Click() {
    Program::Instance().Windows().ShowModal(WindowKind::SupportFile, this);
}

void frmMain::mnuAbout_Click() {
    Program::Instance().Windows().ShowModal(WindowKind::About, this);
}

void frmMain::mnuForum_Click() {
    openMakerPage(QStringLiteral("/forum/"));
}

void frmMain::mnuKestovaSupportWebsite_Click() {
    openMakerPage(QStringLiteral("/support/"));
}

void frmMain::mnuKestovaWebsite_Click() {
    openMakerPage(QStringLiteral("/"));
}

void frmMain::mnuUpdateInformation_Click() {
    const QString notes = UpdateNotesPath();
    if (!(FileSystemHelper::FileSize(notes) > 0)) {
        return;
    }
    frmPrintPreview::DisplayFile(notes, QStringLiteral("Orlix Update Information"), 1, false);
    StoreUpdateInformationDate(notes, UpdateInformationKey());
}

void frmMain::comboMessageFilter_Click() {
    if (comboMessageFilter->property("Tag").toString().toInt() != 0) {
        return;
    }
    // Stored only for a logged-in user: saveUserSetting looks.
    if (comboMessageFilter->currentIndex() >= 0) {
        saveUserSetting(UserSettingsKeys::MessageListFilter(),
                        comboMessageFilter->currentData().toInt(), false);
    }
    ctlMessages->Refresh();
}

void frmMain::mnuViewMessageMiniList_Click() {
    mnuViewMessageMiniList->setChecked(!mnuViewMessageMiniList->isChecked());
    saveUserSetting(UserSettingsKeys::ViewMiniMessageList(),
                    mnuViewMessageMiniList->isChecked() ? 1 : 0, true);
    ctlMessages->Refresh();
    ApplyMiniMessageListView();
}

void frmMain::ApplyMiniMessageListView() {
    const bool mini = mnuViewMessageMiniList->isChecked();
    ctlMessages->SetDisplayMessageList(mini);
    messagesPane->ShowPageView(!mini);
    toolbarMessages->setVisible(!mini);
    ctlMessage->setVisible(mini);
}
