// The profile's settings applied to the window, and the messages database they name.

#include "mainwindow/frmmain.h"

#include "core/debuglog.h"
#include "core/profile/newerstorenotice.h"
#include "core/program.h"
#include "mainwindow/graphicscopy.h"
#include "mainwindow/mainwindowvisibility.h"
#include "mainwindow/panes/contactspane.h"
#include "mainwindow/panes/prizespane.h"
#include "mainwindow/panes/scriptspane.h"
#include "mainwindow/scripttreeimages.h"
#include "platform/directory/controls/ucontact.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/directory/controls/uwebsiteslist.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/controls/umessagebasic.h"
#include "platform/messagesdb/controls/umessageslist.h"
#include "platform/messagesdb/controls/uprizebasic.h"
#include "platform/messagesdb/controls/uprizeslist.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/system/appservices.h"
#include "platform/ui/eventguard.h"
#include "platform/ui/fontconversion.h"
#include "platform/ui/listview.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/upanel3.h"
#include "platform/ui/utalkback.h"
#include "platform/web/uwebbrowser.h"
#include "playout/link/playoutlink.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>

namespace {
struct FilterEntry {
    const char* text;
    qint32 minutes;
};
constexpr FilterEntry kFilterEntries[] = {
    {"Last 4 Hours", 240}, {"Last 12 Hours", 720}, {"Last 24 Hours", 1440}, {"<All Messages>", -1}};

// Why a loaded profile cannot be used, in the words the user is shown.
QString settingsProblem(const cOCSettings& settings) {
    for (const QString& folder :
         {settings.OrlixPath(), settings.ScriptPath(), settings.TalkbackSimplePath()}) {
        if (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
            return QStringLiteral("the folder '") + folder +
                   QStringLiteral("' could not be created.");
        }
    }
    return QStringLiteral(
        "the Orlix Database, Scripts and Simple Talkback folders must all be set.");
}
} // namespace

bool frmMain::LoadSettings() {
    lastSettingsProblem_.clear();
    link_->SetbLinkWanted(false);
    if (link_->sckVorela().State() != 0) {
        link_->DisconnectFromVorela();
    }

    ctlTalkback->SetSimpleTalkbackPath(QString());

    ctlMessageBrowser->ClearDocument();
    ctlMessage->SetMessage(nullptr);
    ctlMessages->SetDatabase(nullptr);

    refillMessageFilter();

    treeScripts->clear();
    scriptsPane->Reset();

    if (!readProfileSettings()) {
        return false;
    }
    const cOCSettings& settings = *clsSettingsObject;
    const SettingsVisibility shown = VisibilityForSettings(settings);

    applySettingsFonts(settings);
    applyPlayoutSettings(shown.playout);

    auto* other = new QTreeWidgetItem(treeScripts, QStringList{QStringLiteral("Other Scripts")});
    other->setData(0, kNodeKeyRole, QStringLiteral("OTHERSCRIPTS"));
    other->setData(0, kNodeTagRole, QStringLiteral("<OTHERSCRIPT>"));
    other->setExpanded(true);
    SetScriptNodeImages(other, QStringLiteral("closed"), QStringLiteral("open"));
    LoadScripts();

    if (!settings.OrlixPath().isEmpty() &&
        (Database() == nullptr || Database()->DatabasePath() != settings.OrlixPath())) {
        OpenOrlixDatabase();
    }

    KVDirectory* directory = clsKVDirectoryLocal;
    const KVDirectory::ContactPtr user = directory ? directory->CurrentUser() : nullptr;
    if (user) {
        ctlMessages->SetDisplayNewMessage(
            DisplaysNewMessage(user->UserRights(), settings.EmailSendEnabled()));
    }

    showMessageButtons(shown);
    bindPanes(settings, directory, user);
    return true;
}

bool frmMain::readProfileSettings() {
    clsSettingsObject = std::make_unique<cOCSettings>();
    QString profile = Program::Instance().ProfileName();
    bool ok = clsSettingsObject->LoadSettings(profile);
    if (!ok) {
        // Why the profile's settings may be missing is told before the dialog asks for them.
        ShowStoreNotices();
        Program::Instance().Windows().ShowModal(WindowKind::Settings, this);
        ok = clsSettingsObject->LoadSettings(profile);
        if (!ok) {
            lastSettingsProblem_ = settingsProblem(*clsSettingsObject);
            return false;
        }
    }
    // A loaded profile has all three folders: the settings refuse one without.
    return true;
}

void frmMain::applyPlayoutSettings(bool playout) {
    for (QAction* a : {mnuViewVorela->menuAction(), mnuViewVorelaSep, mnuConnectToVorelaSep,
                       mnuConnect, mnuDisconnect}) {
        a->setVisible(playout);
    }
    if (playout) {
        link_->SetbLinkWanted(true);
        auto* log = new QTreeWidgetItem(treeScripts, QStringList{QStringLiteral("Log Scripts")});
        log->setData(0, kNodeKeyRole, QStringLiteral("LOGSCRIPT"));
        log->setExpanded(true);
        SetScriptNodeImages(log, QStringLiteral("vorela"));
        treeScripts->setCurrentItem(log);
        link_->ConnectToVorela();
    } else {
        collapseVorelaPanel();
    }
}

void frmMain::collapseVorelaPanel() {
    vorelaPanelHidden_ = true;
    // Unticked as at logout, not stored: the user's tick comes back at a computer with a link.
    mnuViewVorelaKeyboard->setChecked(false);
    mnuViewLogGo->setEnabled(false);
    mnuViewLogNavigation->setEnabled(false);
    Form_Resize();
}

// While the list is rebuilt its Tag is "1", so the click handler stores and applies nothing.
// A reload keeps the user's choice; the first load selects the first entry.
void frmMain::refillMessageFilter() {
    comboMessageFilter->setProperty("Tag", QStringLiteral("1"));
    const int remembered = comboMessageFilter->currentIndex();
    comboMessageFilter->clear();
    for (const FilterEntry& e : kFilterEntries) {
        comboMessageFilter->addItem(QString::fromLatin1(e.text), e.minutes);
    }
    comboMessageFilter->setCurrentIndex(
        AppServices::Clamp(remembered, 0, comboMessageFilter->count() - 1));
    comboMessageFilter->setProperty("Tag", QStringLiteral("0"));
}

void frmMain::applySettingsFonts(const cOCSettings& settings) {
    // The program's own list controls keep the font object itself; the others take a copy.
    const QFont general = FontConversion::ToQFont(*settings.GeneralFont());
    for (QWidget* w : findChildren<QWidget*>()) {
        if (auto* list = qobject_cast<uMessagesList*>(w)) {
            list->SetFont(settings.GeneralFont());
        } else if (auto* sites = qobject_cast<uWebSitesList*>(w)) {
            sites->SetFont(settings.GeneralFont());
        } else if (auto* prizes = qobject_cast<uPrizesList*>(w)) {
            prizes->SetFont(settings.PrizeFont());
        } else if (auto* prize = qobject_cast<uPrizeBasic*>(w)) {
            prize->SetFont(settings.PrizeFont());
        } else if (qobject_cast<uPanel3*>(w) || qobject_cast<QTreeWidget*>(w) ||
                   qobject_cast<ListView*>(w) || qobject_cast<uContactsList*>(w)) {
            w->setFont(general);
        }
    }
    ctlTalkback->SetAreasFont(settings.GeneralFont());
}

// The hover commands are the toolbar's own buttons and follow them.
void frmMain::showMessageButtons(const SettingsVisibility& shown) {
    for (const char* key : {"sendsep", "replysep", "reply", "replyall", "forward"}) {
        toolbarMessagesButton(QLatin1String(key))->setVisible(shown.sendAndReply);
    }
    toolbarMessagesButton(QStringLiteral("email"))->setVisible(shown.email);
    toolbarMessagesButton(QStringLiteral("sms"))->setVisible(shown.sms);
}

// The talkback pane and the directory and database panes, bound to what the settings name.
void frmMain::bindPanes(const cOCSettings& settings, KVDirectory* directory,
                        const KVDirectory::ContactPtr& user) {
    ctlTalkback->SetSimpleTalkbackPath(settings.TalkbackSimplePath());
    ctlTalkback->SetTalkbackUser(user);
    ctlTalkback->SetTextFont(settings.TalkbackFont());
    ctlTalkback->StartTalkback();

    ctlContact->SetDirectory(directory);
    ctlContact->SetHostOption(true);
    ctlContacts->SetDirectory(directory);
    ctlContacts->SetAutoUpdate(true);
    ctlContacts->Refresh();
    ctlPrize->SetDirectory(directory);
    ctlWebsites->SetDirectory(directory);
    ctlWebsites->SetHostOption(true);
    ctlWebsites->Refresh();
    bindDatabasePanes(directory);
}

// The panes that show the messages database, bound to the one open now (or to none).
void frmMain::bindDatabasePanes(KVDirectory* directory) {
    ctlPrizes->SetDatabase(Database());
    ctlPrizes->SetAutoUpdate(true);
    ctlPrizes->Refresh();
    ctlMessages->SetDatabase(Database());
    // The page was cleared at the start of the settings load: bound again, it is built again,
    // unticked at the top, or it would stay white until the next change.
    if (Database() != nullptr) {
        ctlMessages->Refresh();
    }
    followChanges(directory);
}

// What other computers change shows here within the watches' poll: the panes and the recent
// menus read again what they show.
void frmMain::followChanges(KVDirectory* directory) {
    contactsPane->Follow(directory, Database());
    prizesPane->Follow(Database());
    for (const QMetaObject::Connection& c : std::as_const(recentChanges_)) {
        disconnect(c);
    }
    recentChanges_.clear();
    if (directory != nullptr) {
        const auto menus = [this] {
            GuardEvent("rebuilding the recent menus", [this] { UpdateMRU(255); });
        };
        recentChanges_ << connect(directory, &KVDirectory::ContactsChanged, this, menus);
        recentChanges_ << connect(directory, &KVDirectory::WebsitesChanged, this, menus);
        recentChanges_ << connect(directory, &KVDirectory::UserSettingsChanged, this, menus);
    }
}

OrlixDatabase* frmMain::Database() const {
    return Program::Instance().Database();
}

void frmMain::CloseOrlixDatabase() {
    std::unique_ptr<OrlixDatabase> database = Program::Instance().TakeDatabase();
    if (database == nullptr) {
        return;
    }
    bool ok = false;
    database->CloseDatabase(ok);
}

bool frmMain::OpenOrlixDatabase() {
    return openDatabase(OpenTelling::TellNewProblem);
}

void frmMain::SetDatabaseTiming(int busyTimeoutMs, int retryMs) {
    databaseBusyTimeoutMs_ = busyTimeoutMs;
    tmrDatabaseRetry.setInterval(retryMs);
}

namespace {
// A lock another computer holds, or a shared folder not reachable or not writable for a
// while: causes that end by themselves, so the open is tried again until it succeeds. A
// damaged or newer file stays as it is until somebody acts.
bool passes(qint32 code) {
    return code == OrlixDatabase::DatabaseLocked || code == OrlixDatabase::FolderMissing ||
           code == OrlixDatabase::FolderNotWritable;
}
} // namespace

bool frmMain::openDatabase(OpenTelling telling) {
    CloseOrlixDatabase();
    if (clsSettingsObject == nullptr) {
        return false;
    }
    auto database = std::make_unique<OrlixDatabase>();
    QPointer<KVDirectory> directory = clsKVDirectoryLocal;
    database->SetCurrentUserProvider([directory]() -> qint32 {
        if (directory == nullptr) {
            return 0;
        }
        const KVDirectory::ContactPtr user = directory->CurrentUser();
        return user ? user->Reference() : 0;
    });
    // Another computer's change shows within about a second, rebuilding at most once a second.
    database->SetChangeWatch(1000, 1000);
    if (databaseBusyTimeoutMs_ >= 0) {
        database->SetBusyTimeout(databaseBusyTimeoutMs_);
    }
    const qint32 code = database->OpenDatabase(clsSettingsObject->OrlixPath(), QString());
    if (code != 0) {
        const bool retried = passes(code);
        if (retried) {
            tmrDatabaseRetry.start();
        } else {
            tmrDatabaseRetry.stop();
        }
        if (telling == OpenTelling::Quiet && retried) {
            return false;
        }
        DebugLog(QStringLiteral("The messages database in '") + clsSettingsObject->OrlixPath() +
                     QStringLiteral("' could not be opened (code ") + QString::number(code) +
                     QLatin1Char(')'),
                 5);
        // Every settings load tries again while none is open: the same failure is told once.
        QString problem =
            QStringLiteral("The messages database in '") + clsSettingsObject->OrlixPath() +
            QStringLiteral("' could not be opened: ") + OrlixDatabase::OpenProblem(code);
        if (retried) {
            problem += QStringLiteral(" The program tries again every 10 seconds.");
        }
        if (problem != databaseProblemShown_) {
            databaseProblemShown_ = problem;
            MsgBox(problem, MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        }
        return false;
    }
    tmrDatabaseRetry.stop();
    databaseProblemShown_.clear();
    DebugLog(QStringLiteral("Opened the Orlix Database in '") + clsSettingsObject->OrlixPath() +
             QLatin1Char('\''));
    Program& program = Program::Instance();
    program.SetDatabase(std::move(database));
    CopyDatabaseGraphics(Database()->TemplatesPath(),
                         program.DataFolder() + QStringLiteral("/Temp"));
    return true;
}

void frmMain::tmrDatabaseRetry_Timer() {
    // Not in the middle of a start-up, a settings load or a shut-down: those bind the panes
    // themselves, and the next tick comes soon enough.
    if (!bFormReady || unloading_ || unloaded_) {
        return;
    }
    if (Database() != nullptr || clsSettingsObject == nullptr ||
        clsSettingsObject->OrlixPath().isEmpty()) {
        tmrDatabaseRetry.stop();
        return;
    }
    if (!openDatabase(OpenTelling::Quiet)) {
        return;
    }
    DebugLog(QStringLiteral("The messages database opened when tried again"), 5);
    bindDatabasePanes(clsKVDirectoryLocal);
}
