#pragma once

#include "core/profile/cocsettings.h"
#include "core/profile/usersettingskeys.h"
#include "mainwindow/loginlayout.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>
#include <type_traits>

class DirectoryContact;
class KVDirectory;
class ContactsPane;
class ListView;
class PrizesPane;
class MessagesPane;
class OrlixDatabase;
class PlayoutLink;
class PlayoutPanel;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class RecentMenus;
class RenderServices;
class ScriptView;
class ScriptsPane;
class Renderer;
struct SettingsVisibility;
class uClockStrip;
class uContact;
class uContactsList;
class uMessageBasic;
class uMessagesList;
class uPanel3;
class uPrizeBasic;
class uPrizesList;
class uSplitPanel;
class uTalkback;
class uWebBrowser;
class uWebSitesList;
class uWebsite;
class WebsitesPane;

// The one window that stays open while the program runs. Loading it runs the client's whole
// start-up; closing it runs the orderly shut-down. Its controls are public, as a form's are,
// so that the program's other windows and the tests reach them by name.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // The registry key of the window placement and of the client's profiles.
    static QString ClientKey();
    // The key the update-notes date is recorded under.
    static QString UpdateInformationKey();
    // The help file and the update notes, in the program's folder.
    static QString HelpFileName() { return QStringLiteral("Orlix1.chm"); }
    static QString HelpFilePath();
    static QString UpdateNotesPath();
    // Where a script-tree node keeps its key and its tag.
    static constexpr int kNodeKeyRole = Qt::UserRole;
    static constexpr int kNodeTagRole = Qt::UserRole + 1;

    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The start-up sequence. Returns false when start-up ended early; the window is then
    // unloaded (its shut-down has run) and must not be shown.
    bool Form_Load();
    bool IsUnloaded() const { return unloaded_; }
    bool FormReady() const { return bFormReady; }
    // What start-up ended on, for the program's exit status: 0 a complete start or a
    // cancelled login, 1 a start that could not go on.
    int ExitStatus() const { return exitStatus_; }

    // Asks every other window to close, then shuts down; false when a window stayed open.
    bool Unload();

    // The profile's settings, held by the program; replaced by every settings load.
    std::unique_ptr<cOCSettings>& clsSettingsObject;
    const cOCSettings* clsSettings() const { return clsSettingsObject.get(); }

    // Re-reads the profile's settings and rebinds everything that depends on them. False
    // when they cannot be used; LastSettingsProblem() then says why.
    bool LoadSettings();
    const QString& LastSettingsProblem() const { return lastSettingsProblem_; }

    // The program's one messages database: made, opened and closed here, and held by the
    // program while it is open.
    bool OpenOrlixDatabase();
    void CloseOrlixDatabase();
    OrlixDatabase* Database() const;
    // How long an open waits for another computer's lock, and how often a database that
    // could not be opened for a passing cause is tried again; tests make both short.
    void SetDatabaseTiming(int busyTimeoutMs, int retryMs);
    // Tries again, silently, to open the database a passing cause kept closed; runs on
    // tmrDatabaseRetry while one is due.
    void tmrDatabaseRetry_Timer();
    QTimer tmrDatabaseRetry;

    ::Renderer* GraphicsRenderer() const { return clsRenderer; }
    ::RenderServices* GraphicsRenderServices() const { return renderServices_.get(); }

    // The playout panel collapsed to its show bar.
    bool VorelaPanelHidden() const { return vorelaPanelHidden_; }
    void SetVorelaPanelHidden(bool hidden);
    // The hide bar of the panel and the show bar that stands in for it.
    void pnlVorelaHide_Click() { SetVorelaPanelHidden(true); }
    void cmdShowVorelaKeyboard_Click() { SetVorelaPanelHidden(false); }

    bool bCanCreateScripts = false;
    PlayoutLink* Link() const { return link_.get(); }

    // Window layout and the handlers the layout runs through.
    void Form_Resize();
    void pnlClock_Resize();
    void picPanes_Resize();
    void pnlTalkback_Resize();
    void pnlTalkbackInner_Resize();
    void pnlVorelaKeyboard_Resize();
    void FactorsChanged();
    // Brings a tab forward as the user's click on its button would: the button's Value is
    // set to 1 (the others' to 0), then its click handler runs. Every road that selects a tab
    // from code goes through here, so the buttons never disagree with the pane shown. A tab
    // the user did not choose (the playout system showing a page) is not stored as theirs.
    void ShowTab(MainTab tab, bool storeAsSelected = true);
    void optContacts_Click();
    void optPrize_Click();
    void optScripts_Click();
    void optWeb_Click();
    void optMessages_Click();
    void optScripts_DragOver(int buttonState);
    void chkTalkback_Click();
    void splitContacts_Layout();
    void splitPrize_Layout();
    void splitScripts_Layout();
    void splitWebsites_Layout();
    void splitMessages_Layout();

    // Login and logout.
    void clsKVDirectoryLocal_ContactLogin();
    void clsKVDirectoryLocal_ContactLogout();
    void clsKVDirectoryLocal_SecurityKeyInserted(const QString& DriveLetter,
                                                 const QString& LoginName, bool* AttemptLogin);
    void clsKVDirectoryLocal_SecurityKeyRemoved(const QString& DriveLetter, bool* AttemptLogout);
    void tmrAutoLogin_Timer();

    // Menu handlers.
    void mnuLogin_Click();
    void mnuLogout_Click();
    void mnuConnect_Click();
    void mnuDisconnect_Click();
    void mnuExit_Click();
    void mnuProgramSettings_Click();
    void mnuDirectorySettings_Click();
    void mnuOrlixDBSettings_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearch_Click();
    void mnuCreateSupportFile_Click();
    void mnuUpdateInformation_Click();
    void mnuForum_Click();
    void mnuKestovaSupportWebsite_Click();
    void mnuKestovaWebsite_Click();
    void mnuAbout_Click();
    void mnuViewMessageMiniList_Click();
    void comboMessageFilter_Click();
    void ApplyMiniMessageListView();

    // Rebuilds the recent menus the flags name (4 contacts, 8 websites).
    void UpdateMRU(int flags);
    // Members other parts of the program fill in later; they do nothing yet.
    void LoadScripts();
    void treeScripts_NodeClick(QTreeWidgetItem* node);

    void mnuViewVorelaKeyboard_Click();
    void mnuViewLogGo_Click();
    void mnuViewLogNavigation_Click();
    // Shows a script in the script browser.
    void ShowScript(const QString& ScriptText, const QString& FileName, bool FromPlayout);

    // Controls.
    uClockStrip* pnlClock = nullptr;
    uPanel3* optContacts = nullptr;
    uPanel3* optPrize = nullptr;
    uPanel3* optScripts = nullptr;
    uPanel3* optWeb = nullptr;
    uPanel3* optMessages = nullptr;
    uPanel3* chkTalkback = nullptr;
    QWidget* picPanes = nullptr;
    uSplitPanel* splitContacts = nullptr;
    uSplitPanel* splitPrize = nullptr;
    uSplitPanel* splitScripts = nullptr;
    uSplitPanel* splitWebsites = nullptr;
    uSplitPanel* splitMessages = nullptr;

    uContactsList* ctlContacts = nullptr;
    uContact* ctlContact = nullptr;
    QPushButton* cmdOpenContact = nullptr;
    QPushButton* cmdNewContact = nullptr;
    QWidget* pnlContactButtonsSep = nullptr;
    QPushButton* cmdRecentContacts = nullptr;
    QPushButton* cmdAddContactToRecent = nullptr;
    QGroupBox* fraContactMessages = nullptr;
    ListView* lvwContactMessages = nullptr;
    QGroupBox* fraContactPrizes = nullptr;
    ListView* lvwContactPrizes = nullptr;

    uPrizesList* ctlPrizes = nullptr;
    QPushButton* cmdOpenPrize = nullptr;
    uPrizeBasic* ctlPrize = nullptr;

    uWebSitesList* ctlWebsites = nullptr;
    uWebsite* ctlWebsite = nullptr;

    // The panes over those controls, and the File menu's recent entries.
    RecentMenus* recentMenus = nullptr;
    ContactsPane* contactsPane = nullptr;
    PrizesPane* prizesPane = nullptr;
    WebsitesPane* websitesPane = nullptr;

    uMessagesList* ctlMessages = nullptr;
    uMessageBasic* ctlMessage = nullptr;
    QToolBar* toolbarMessages = nullptr;
    QComboBox* comboMessageFilter = nullptr;
    // The hover commands over the toolbar's "open", "forward", "reply" and "replyall".
    QToolButton* cmdMessagesOpen = nullptr;
    QToolButton* cmdMessagesForward = nullptr;
    QToolButton* cmdMessagesReply = nullptr;
    QToolButton* cmdMessagesReplyAll = nullptr;
    uWebBrowser* ctlMessageBrowser = nullptr;
    // In the browser's place while the list page cannot be made, saying why.
    QLabel* lblMessageListNotice = nullptr;
    // What the messages pane does: its list page, ticks, actions and live refresh.
    MessagesPane* messagesPane = nullptr;

    QTreeWidget* treeScripts = nullptr;
    QPushButton* cmdNewScript = nullptr;
    QToolBar* toolScripts = nullptr;
    ScriptView* wbScripts = nullptr;
    // The Scripts tab's logic; it made the script controls above.
    ScriptsPane* scriptsPane = nullptr;
    QPushButton* cmdScriptUp = nullptr;
    QPushButton* cmdScriptDown = nullptr;
    QToolButton* chkScriptAutoScroll = nullptr;
    QToolButton* chkScriptEdit = nullptr;

    uPanel3* pnlTalkback = nullptr;
    uPanel3* pnlTalkbackInner = nullptr;
    uTalkback* ctlTalkback = nullptr;

    // The playout keyboard panel: players, log, carts, its cover and its hide and show bars.
    PlayoutPanel* playoutPanel = nullptr;

    QTimer tmrAutoLogin;

    // Menus.
    QMenu* mnuFile = nullptr;
    QAction* mnuLogin = nullptr;
    QAction* mnuLogout = nullptr;
    QAction* mnuConnectToVorelaSep = nullptr;
    QAction* mnuConnect = nullptr;
    QAction* mnuDisconnect = nullptr;
    QAction* mnuMRUSep = nullptr;
    QMenu* mnuRecentContacts = nullptr;
    QMenu* mnuRecentWebsites = nullptr;
    QAction* mnuExitSep = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuView = nullptr;
    QMenu* mnuViewVorela = nullptr;
    QAction* mnuViewVorelaKeyboard = nullptr;
    QAction* mnuViewLogGo = nullptr;
    QAction* mnuViewLogNavigation = nullptr;
    QAction* mnuViewVorelaSep = nullptr;
    QMenu* mnuViewMessaging = nullptr;
    QAction* mnuViewMessageMiniList = nullptr;
    QMenu* mnuSettings = nullptr;
    QAction* mnuProgramSettings = nullptr;
    QAction* mnuKVDirectorySettingsSep = nullptr;
    QAction* mnuDirectorySettings = nullptr;
    QAction* mnuDatabaseSettingsSep = nullptr;
    QAction* mnuOrlixDBSettings = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpSearch = nullptr;
    QAction* mnuHelpBarSep = nullptr;
    QAction* mnuCreateSupportFile = nullptr;
    QAction* mnuUpdateInfoSep = nullptr;
    QAction* mnuUpdateInformation = nullptr;
    QAction* mnuKestovaSep = nullptr;
    QMenu* mnuKestova = nullptr;
    QAction* mnuForum = nullptr;
    QAction* mnuKestovaSupportWebsite = nullptr;
    QAction* mnuKestovaWebsiteSep = nullptr;
    QAction* mnuKestovaWebsite = nullptr;
    QAction* mnuAboutSep = nullptr;
    QAction* mnuAbout = nullptr;

    // The toolbar button of a key ("open", "email", "sms", "reply", ...); null when unknown.
    QAction* toolbarMessagesButton(const QString& key) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void buildContactsPane();
    void buildPrizesPane();
    void buildWebsitesPane();
    void buildMessagesPane();
    void buildScriptsPane();
    void buildTalkbackPane();
    // The cover over the keyboard panel: shown, in front, exactly while the keyboard item is
    // ticked and the link is not connected.
    void applyNotConnectedCover();
    // Makes the playout link and follows its state, scripts and web addresses.
    void makePlayoutLink();
    void connectLayoutHandlers();

    bool runStartUp();
    void Form_Activate();
    // Returns true when the close may go on.
    bool Form_QueryUnload();
    void Form_Unload();
    bool unloadOtherForms();
    void endStartUp(int status);
    void reportSettingsProblem();

    // The named steps of start-up, of the settings load and of the login.
    void followDirectory();
    bool logInAtStartUp();
    void hideHelpWithoutHelpFile();
    void refillMessageFilter();
    bool readProfileSettings();
    void applySettingsFonts(const cOCSettings& settings);
    void applyPlayoutSettings(bool playout);
    // Collapsed and the keyboard item unticked because there is nothing to show: never stored
    // as the user's choice.
    void collapseVorelaPanel();
    void showMessageButtons(const SettingsVisibility& shown);
    void bindPanes(const cOCSettings& settings, KVDirectory* directory,
                   const std::shared_ptr<DirectoryContact>& user);
    void bindDatabasePanes(KVDirectory* directory);
    enum class OpenTelling { TellNewProblem, Quiet };
    bool openDatabase(OpenTelling telling);
    void followChanges(KVDirectory* directory);
    QList<QMetaObject::Connection> recentChanges_;
    void applyUserAccess(const DirectoryContact& user);
    void restoreUserLayout();
    void selectPersonalScript();

    // The logged-in user's per-user store; null when nobody is logged in.
    bool userLoggedIn() const;
    KVDirectory* userDirectory() const;
    template <typename T> QVariant userSetting(const UserSettingKey<T>& key) const {
        return ReadUserSetting(userDirectory(), key);
    }
    // Writes only while a user is logged in (and, for layout values, the window is ready).
    template <typename T>
    void saveUserSetting(const UserSettingKey<T>& key, const std::type_identity_t<T>& value,
                         bool needsFormReady) {
        if (!needsFormReady || bFormReady) {
            WriteUserSetting(userDirectory(), key, value);
        }
    }
    // Shows a tab's pane and hides the others; store keeps it as the user's choice, and
    // pressButton sets its button's Value (a click has set it already).
    void selectTab(MainTab tab, bool store, bool pressButton);
    QList<uSplitPanel*> splitters() const;

    bool bFormReady = false;
    bool unloaded_ = false;
    bool unloading_ = false;
    int exitStatus_ = 0;
    bool vorelaPanelHidden_ = false;
    QString lastSettingsProblem_;
    // The last failed database open the user was told of; cleared by an open that succeeds.
    QString databaseProblemShown_;
    // Below 0: the database's own wait.
    int databaseBusyTimeoutMs_ = -1;
    QPointer<KVDirectory> clsKVDirectoryLocal;
    std::unique_ptr<::RenderServices> renderServices_;
    ::Renderer* clsRenderer = nullptr;
    std::unique_ptr<PlayoutLink> link_;
    QList<QMetaObject::Connection> directoryConnections_;
};
