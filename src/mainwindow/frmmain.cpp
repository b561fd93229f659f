#include "mainwindow/frmmain.h"

#include "core/debuglog.h"
#include "core/dialogs/contacthistory.h"
#include "core/errorreport.h"
#include "core/generalroutines.h"
#include "core/orlixcommon.h"
#include "core/printing/templateprinting.h"
#include "core/profile/settingskeys.h"
#include "core/program.h"
#include "core/windows/windowopeners.h"
#include "mainwindow/panes/contentpanes.h"
#include "mainwindow/panes/messagespane.h"
#include "mainwindow/panes/scriptspane.h"
#include "platform/directory/controls/ucontact.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/directory/controls/uwebsiteslist.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/controls/umessageslist.h"
#include "platform/messagesdb/controls/uprizebasic.h"
#include "platform/messagesdb/controls/uprizeslist.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/system/appinfo.h"
#include "platform/system/filesystemhelper.h"
#include "platform/system/formhelper.h"
#include "platform/system/graphicsrenderer.h"
#include "platform/system/renderer.h"
#include "platform/system/renderservices.h"
#include "platform/ui/forms.h"
#include "platform/ui/upanel3.h"
#include "playout/link/playoutlink.h"
#include "playout/panel/playoutpanel.h"

#include <QCloseEvent>
#include <QPushButton>

#include <cstdio>

QString frmMain::ClientKey() {
    return SettingsKeys::ClientKey();
}

QString frmMain::UpdateInformationKey() {
    return SettingsKeys::ProductKey();
}

namespace {
// A file of the program's folder, with one separator whether or not the folder ends in one.
QString programFile(const QString& name) {
    QString folder = AppInfo::Path();
    if (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder + QLatin1Char('/') + name;
}
} // namespace

QString frmMain::HelpFilePath() {
    return programFile(HelpFileName());
}

QString frmMain::UpdateNotesPath() {
    return programFile(QStringLiteral("UPDATES.RTF"));
}

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent), clsSettingsObject(Program::Instance().SettingsSlot()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(AppInfo::ProductName());
    buildControls();
    buildMenus();
    WireContentPanes(*this);
    connectLayoutHandlers();
    messagesPane =
        new MessagesPane({this, ctlMessages, ctlMessage, toolbarMessages, comboMessageFilter,
                          ctlMessageBrowser, mnuViewMessageMiniList, lblMessageListNotice},
                         this);
    tmrAutoLogin.setInterval(1000);
    tmrAutoLogin.setSingleShot(false);
    connect(&tmrAutoLogin, &QTimer::timeout, this, [this] { tmrAutoLogin_Timer(); });
    tmrDatabaseRetry.setInterval(10000);
    connect(&tmrDatabaseRetry, &QTimer::timeout, this, [this] { tmrDatabaseRetry_Timer(); });
    makePlayoutLink();
    Forms::Add(this);
    Program::Instance().SetMainWindow(this);
}

frmMain::~frmMain() {
    if (!unloaded_) {
        // Destroyed without a close (a failed test, an exception): release in the same order.
        Form_Unload();
        unloaded_ = true;
    }
    // The settings it loaded go with it.
    clsSettingsObject.reset();
}

bool frmMain::Form_Load() {
    try {
        return runStartUp();
    } catch (const std::exception& e) {
        DebugLog(QStringLiteral("Start-up of the main window failed: ") +
                     QString::fromLocal8Bit(e.what()),
                 5);
        std::fprintf(stderr, "%s: start-up failed unexpectedly\n",
                     AppInfo::EXEName().toLocal8Bit().constData());
        UnloadSplash();
        endStartUp(1);
        return false;
    }
}

bool frmMain::runStartUp() {
    InitDebug();
    DebugLog(QStringLiteral("Started the main window"), 5, LogIndent);

    renderServices_ = std::make_unique<::RenderServices>();
    clsRenderer = renderServices_->Renderer();
    connect(clsRenderer, &Renderer::FactorsChanged, this, [this] { FactorsChanged(); });
    HandOverGraphicsRenderer(clsRenderer);

    const QString temp = Program::Instance().DataFolder() + QStringLiteral("/Temp");
    if (!FileSystemHelper::CreateFolder(temp, 0)) {
        ShowProblem(QStringLiteral("creating a temporary folder in '") + temp + QLatin1Char('\''),
                    FileSystemHelper::FolderCreationError(temp));
    }

    if (!InitialiseOrlix(ClientKey(), false)) {
        UnloadSplash();
        endStartUp(1);
        return false;
    }

    playoutPanel->AddInstantCarts();

    FormHelper::RestoreWindowPlacement(ClientKey(), this);
    playoutPanel->SetNumberPlayers(4);

    followDirectory();

    DebugLog(QStringLiteral("Loading Settings"));
    if (!LoadSettings()) {
        DebugLog(QStringLiteral("The settings of the profile could not be used: ") +
                     lastSettingsProblem_,
                 5);
        std::fprintf(stderr, "%s: the settings of the profile could not be used: %s\n",
                     AppInfo::EXEName().toLocal8Bit().constData(),
                     lastSettingsProblem_.toLocal8Bit().constData());
        UnloadSplash();
        endStartUp(1);
        return false;
    }

    AddContactHistoryTabs(ctlContact);
    SetupContactMessagesColumns(lvwContactMessages);
    SetupContactPrizesColumns(lvwContactPrizes);

    if (!logInAtStartUp()) {
        endStartUp(0);
        return false;
    }

    FactorsChanged();
    UnloadSplash();

    DebugLog(QStringLiteral("Check for help file"));
    hideHelpWithoutHelpFile();

    if (IsUpdateInformationNewer(UpdateNotesPath(), UpdateInformationKey())) {
        mnuUpdateInformation_Click();
    }

    bFormReady = true;
    DebugLog(QStringLiteral("Main window ready"), 5, LogOutdent);
    return true;
}

void frmMain::followDirectory() {
    clsKVDirectoryLocal = Program::Instance().Directory();
    if (KVDirectory* directory = clsKVDirectoryLocal) {
        directoryConnections_ = {
            connect(directory, &KVDirectory::ContactLogin, this,
                    [this] { clsKVDirectoryLocal_ContactLogin(); }),
            connect(directory, &KVDirectory::ContactLogout, this,
                    [this] { clsKVDirectoryLocal_ContactLogout(); }),
            connect(directory, &KVDirectory::SecurityKeyInserted, this,
                    [this](const QString& drive, const QString& login, bool* attempt) {
                        clsKVDirectoryLocal_SecurityKeyInserted(drive, login, attempt);
                    }),
            connect(directory, &KVDirectory::SecurityKeyRemoved, this,
                    [this](const QString& drive, bool* attempt) {
                        clsKVDirectoryLocal_SecurityKeyRemoved(drive, attempt);
                    }),
        };
    }
}

// The user named on the command line, else the login dialog. False when the dialog was
// cancelled: the program then ends.
bool frmMain::logInAtStartUp() {
    KVDirectory* directory = clsKVDirectoryLocal;
    const QString login = Program::Instance().Options().User;
    // A user named on the command line who needs a password is offered in the dialog; the
    // dialog at a later login offers the computer's account again.
    QString offered;
    if (!login.isEmpty() && directory != nullptr) {
        DebugLog(QStringLiteral("Logging in '") + login +
                 QStringLiteral("' from the command line"));
        if (auto contact = directory->GetContactByLoginName(login)) {
            bool ok = false;
            directory->LoginContact(contact, 1, AppInfo::ProductName(), ok);
            if (!ok) {
                offered = contact->LoginName();
            }
        }
    }

    if (directory == nullptr || !directory->LoggedIn()) {
        bool cancelled = true;
        DebugLog(QStringLiteral("Showing the login dialog"));
        if (directory != nullptr) {
            directory->Login(kProductCode, AppInfo::ProductName(), nullptr,
                             clsSettingsObject->StartupAutoLogin(), 0, cancelled, offered);
        }
        if (cancelled) {
            DebugLog(QStringLiteral("Login cancelled: the program ends"), 5);
            return false;
        }
    }
    return true;
}

// Without a help file (or with an empty one) there is no help to offer.
void frmMain::hideHelpWithoutHelpFile() {
    if (!(FileSystemHelper::FileSize(HelpFilePath()) > 0)) {
        mnuHelpContents->setVisible(false);
        mnuHelpSearch->setVisible(false);
        mnuHelpBarSep->setVisible(false);
    }
}

void frmMain::endStartUp(int status) {
    DebugLog(QStringLiteral("Start-up ended early"), 5, LogOutdent);
    exitStatus_ = status;
    Unload();
}

bool frmMain::Unload() {
    if (unloaded_) {
        return true;
    }
    if (unloading_) {
        return false;
    }
    unloading_ = true;
    const bool goOn = Form_QueryUnload();
    if (goOn) {
        Form_Unload();
        unloaded_ = true;
        hide();
    }
    unloading_ = false;
    return goOn;
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (unloaded_ || Unload()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        Form_Activate();
    } else if (event->type() == QEvent::WindowStateChange) {
        Form_Resize();
    }
}

void frmMain::Form_Activate() {
    if (ctlPrize == nullptr || !ctlPrize->isVisible() || Database() == nullptr) {
        return;
    }
    if (std::shared_ptr<OrlixPrize> prize = ctlPrize->Prize()) {
        bool ok = false;
        Database()->ReloadPrize(*prize, ok);
        if (ok) {
            ctlPrize->Refresh();
        }
    }
}

bool frmMain::unloadOtherForms() {
    const QList<QWidget*> forms = Forms::All();
    for (qsizetype i = forms.size() - 1; i >= 0; --i) {
        if (forms[i] != this) {
            Forms::Unload(forms[i]);
        }
    }
    for (QWidget* form : Forms::All()) {
        if (form != this) {
            return false;
        }
    }
    return true;
}

bool frmMain::Form_QueryUnload() {
    tmrAutoLogin.stop();
    if (!scriptsPane->QuerySaveChanges()) {
        return false;
    }
    const bool othersClosed = unloadOtherForms();
    UnloadSplash();
    if (!othersClosed) {
        DebugLog(QStringLiteral("Close refused: another window stayed open"), 5);
    }
    return othersClosed;
}

void frmMain::Form_Unload() {
    DebugLog(QStringLiteral("Closing the main window"));
    tmrDatabaseRetry.stop();
    ctlContact->SetDirectory(nullptr);
    ctlContacts->SetDirectory(nullptr);
    ctlWebsites->SetDirectory(nullptr);
    ctlPrize->SetDirectory(nullptr);
    ctlMessages->SetDatabase(nullptr);
    ctlPrizes->SetDatabase(nullptr);

    if (link_) {
        link_->SetbLinkWanted(false);
        link_->DisconnectFromVorela();
    }

    CloseOrlixDatabase();

    // Dropped before the directory logs out, so the logout does not reach a window that is
    // going away.
    for (const QMetaObject::Connection& c : directoryConnections_) {
        disconnect(c);
    }
    directoryConnections_.clear();
    clsKVDirectoryLocal = nullptr;

    if (bFormReady) {
        FormHelper::SaveWindowPlacement(ClientKey(), this);
    }

    TerminateOrlix();

    HandOverGraphicsRenderer(nullptr);
    clsRenderer = nullptr;
    renderServices_.reset();
}
