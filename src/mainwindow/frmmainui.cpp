// The window as it is designed: every control with its name, caption and design size, and
// the menu bar. Where the controls go at run time is the layout's business.

#include "mainwindow/frmmain.h"

#include "mainwindow/panes/messagespane.h"
#include "mainwindow/panes/scriptspane.h"
#include "mainwindow/scripttreeimages.h"
#include "platform/directory/controls/ucontact.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/directory/controls/uwebsite.h"
#include "platform/directory/controls/uwebsiteslist.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/controls/umessagebasic.h"
#include "platform/messagesdb/controls/umessageslist.h"
#include "platform/messagesdb/controls/uprizebasic.h"
#include "platform/messagesdb/controls/uprizeslist.h"
#include "platform/ui/listview.h"
#include "platform/ui/plainlabel.h"
#include "platform/ui/twips.h"
#include "platform/ui/uclockstrip.h"
#include "platform/ui/upanel3.h"
#include "platform/ui/usplitpanel.h"
#include "platform/ui/utalkback.h"
#include "platform/web/uwebbrowser.h"
#include "playout/panel/playoutpanel.h"
#include "scripts/scripttree.h"
#include "scripts/scriptview.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <tuple>

namespace {
template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

void designSize(QWidget* w, double widthTwips, double heightTwips) {
    w->resize(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips));
}

uPanel3* panel(QWidget* parent, const char* name, uPanel3::PanelStyle style,
               const QString& caption = QString()) {
    auto* p = named(new uPanel3(parent, style), name);
    p->SetCaption(caption);
    return p;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    double widthTwips = 795, double heightTwips = 795) {
    auto* b = named(new QPushButton(caption, parent), name);
    designSize(b, widthTwips, heightTwips);
    return b;
}

QAction* item(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    return a;
}

QAction* separator(QMenu* menu, const char* name) {
    QAction* a = menu->addSeparator();
    a->setObjectName(QLatin1String(name));
    return a;
}

QMenu* submenu(QMenu* menu, const char* name, const QString& caption) {
    QMenu* m = menu->addMenu(caption);
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name));
    return m;
}
} // namespace

void frmMain::buildControls() {
    auto* client = named(new QWidget(this), "frmMainClient");
    setCentralWidget(client);
    resize(TwipsToPixels(15360), TwipsToPixels(10800));

    pnlClock = named(new uClockStrip(client), "pnlClock");
    designSize(pnlClock, 12000, 1125);
    optContacts =
        panel(pnlClock, "optContacts", uPanel3::PanelStyle::Option, QStringLiteral("Contacts"));
    optPrize = panel(pnlClock, "optPrize", uPanel3::PanelStyle::Option, QStringLiteral("Prizes"));
    optScripts =
        panel(pnlClock, "optScripts", uPanel3::PanelStyle::Option, QStringLiteral("Scripts"));
    optWeb = panel(pnlClock, "optWeb", uPanel3::PanelStyle::Option, QStringLiteral("Web"));
    optMessages =
        panel(pnlClock, "optMessages", uPanel3::PanelStyle::Option, QStringLiteral("Email / SMS"));
    chkTalkback =
        panel(pnlClock, "chkTalkback", uPanel3::PanelStyle::Check, QStringLiteral("Talkback"));
    for (uPanel3* b : {optContacts, optPrize, optScripts, optWeb, optMessages, chkTalkback}) {
        b->setGeometry(TwipsRect{0, 795, 1200, 315}.toPixels());
        b->setAcceptDrops(b == optScripts);
        b->setVisible(false);
    }

    picPanes = named(new QWidget(client), "picPanes");
    picPanes->setVisible(false);
    splitContacts = named(new uSplitPanel(picPanes), "splitContacts");
    splitPrize = named(new uSplitPanel(picPanes), "splitPrize");
    splitScripts = named(new uSplitPanel(picPanes), "splitScripts");
    splitWebsites = named(new uSplitPanel(picPanes), "splitWebsites");
    splitMessages = named(new uSplitPanel(picPanes), "splitMessages");
    for (uSplitPanel* s : splitters()) {
        s->SetPosition(3800);
        s->setVisible(false);
    }

    buildContactsPane();
    buildPrizesPane();
    buildWebsitesPane();
    buildMessagesPane();
    buildScriptsPane();
    buildTalkbackPane();
    playoutPanel = new PlayoutPanel(client);
}

void frmMain::buildContactsPane() {
    ctlContacts = named(new uContactsList(splitContacts), "ctlContacts");
    cmdOpenContact = button(splitContacts, "cmdOpenContact", QStringLiteral("Open"));
    cmdNewContact = button(splitContacts, "cmdNewContact", QStringLiteral("New"));
    pnlContactButtonsSep = named(new QFrame(splitContacts), "pnlContactButtonsSep");
    static_cast<QFrame*>(pnlContactButtonsSep)->setFrameShape(QFrame::HLine);
    designSize(pnlContactButtonsSep, 795, 135);
    cmdRecentContacts = button(splitContacts, "cmdRecentContacts", QStringLiteral("Recent"));
    cmdAddContactToRecent = button(splitContacts, "cmdAddContactToRecent", QStringLiteral("Keep"));
    cmdOpenContact->move(0, TwipsToPixels(180));
    cmdNewContact->move(0, TwipsToPixels(1020));
    pnlContactButtonsSep->move(0, TwipsToPixels(1860));
    cmdRecentContacts->move(0, TwipsToPixels(2040));
    cmdAddContactToRecent->move(0, TwipsToPixels(2880));
    ctlContact = named(new uContact(splitContacts), "ctlContact");

    fraContactMessages = named(new QGroupBox(splitContacts), "fraContactMessages");
    lvwContactMessages = named(new ListView(fraContactMessages), "lvwContactMessages");
    fraContactPrizes = named(new QGroupBox(splitContacts), "fraContactPrizes");
    lvwContactPrizes = named(new ListView(fraContactPrizes), "lvwContactPrizes");
    // Which of the two shows is the contact control's tab change; neither before it.
    fraContactMessages->setVisible(false);
    fraContactPrizes->setVisible(false);
}

void frmMain::buildPrizesPane() {
    ctlPrizes = named(new uPrizesList(splitPrize), "ctlPrizes");
    cmdOpenPrize = button(splitPrize, "cmdOpenPrize", QStringLiteral("Open"));
    cmdOpenPrize->move(0, TwipsToPixels(180));
    ctlPrize = named(new uPrizeBasic(splitPrize), "ctlPrize");
}

void frmMain::buildWebsitesPane() {
    ctlWebsites = named(new uWebSitesList(splitWebsites), "ctlWebsites");
    ctlWebsite = named(new uWebsite(splitWebsites), "ctlWebsite");
}

void frmMain::buildMessagesPane() {
    ctlMessages = named(new uMessagesList(splitMessages), "ctlMessages");
    ctlMessage = named(new uMessageBasic(splitMessages), "ctlMessage");
    ctlMessage->setVisible(false);
    toolbarMessages = named(new QToolBar(splitMessages), "toolbarMessages");
    designSize(toolbarMessages, 6000, 330);
    toolbarMessages->setIconSize(QSize(16, 16));
    comboMessageFilter = named(new QComboBox(toolbarMessages), "comboMessageFilter");
    comboMessageFilter->setProperty("Tag", QStringLiteral("0"));
    MessagesPane::FillToolbar(toolbarMessages, comboMessageFilter);

    // The hover commands are the toolbar's own buttons: they light up under the pointer,
    // sit exactly on their toolbar places and hide with the toolbar.
    const std::tuple<QToolButton**, const char*, const char*> hover[] = {
        {&cmdMessagesOpen, "open", "cmdMessagesOpen"},
        {&cmdMessagesForward, "forward", "cmdMessagesForward"},
        {&cmdMessagesReply, "reply", "cmdMessagesReply"},
        {&cmdMessagesReplyAll, "replyall", "cmdMessagesReplyAll"}};
    for (const auto& [member, key, name] : hover) {
        *member = named(qobject_cast<QToolButton*>(toolbarMessages->widgetForAction(
                            toolbarMessagesButton(QLatin1String(key)))),
                        name);
        (*member)->setAutoRaise(true);
    }

    ctlMessageBrowser = named(new uWebBrowser(splitMessages), "ctlMessageBrowser");
    lblMessageListNotice =
        PlainLabel::Create(splitMessages, "lblMessageListNotice", Qt::TextSelectableByMouse);
    lblMessageListNotice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblMessageListNotice->setVisible(false);
}

void frmMain::buildScriptsPane() {
    ScriptsPane::Services services;
    services.settings = [this] { return clsSettings(); };
    services.currentUser = [this] {
        const auto user = clsKVDirectoryLocal ? clsKVDirectoryLocal->CurrentUser() : nullptr;
        return user ? ScriptsPane::User{user->Name(), user->PersonalFolder()} : ScriptsPane::User();
    };
    services.canCreateScripts = [this] { return bCanCreateScripts; };
    scriptsPane = new ScriptsPane(splitScripts, std::move(services));
    treeScripts = scriptsPane->treeScripts;
    cmdNewScript = scriptsPane->cmdNewScript;
    toolScripts = scriptsPane->toolScripts;
    wbScripts = scriptsPane->wbScripts;
    cmdScriptUp = scriptsPane->cmdScriptUp;
    cmdScriptDown = scriptsPane->cmdScriptDown;
    chkScriptAutoScroll = scriptsPane->chkScriptAutoScroll;
    chkScriptEdit = scriptsPane->chkScriptEdit;
}

void frmMain::buildTalkbackPane() {
    QWidget* client = centralWidget();
    pnlTalkback = panel(client, "pnlTalkback", uPanel3::PanelStyle::Plain);
    designSize(pnlTalkback, 3495, 4000);
    pnlTalkbackInner = panel(pnlTalkback, "pnlTalkbackInner", uPanel3::PanelStyle::Plain);
    pnlTalkbackInner->setGeometry(TwipsRect{120, 120, 3255, 3760}.toPixels());
    ctlTalkback = named(new uTalkback(pnlTalkbackInner), "ctlTalkback");
    pnlTalkback->setVisible(false);
}

void frmMain::buildMenus() {
    QMenuBar* bar = menuBar();

    mnuFile = named(bar->addMenu(QStringLiteral("&File")), "mnuFile");
    mnuLogin = item(mnuFile, "mnuLogin", QStringLiteral("&Login"));
    mnuLogout = item(mnuFile, "mnuLogout", QStringLiteral("&Logout"));
    mnuLogout->setEnabled(false);
    mnuConnectToVorelaSep = separator(mnuFile, "mnuConnectToVorelaSep");
    mnuConnect = item(mnuFile, "mnuConnect", QStringLiteral("&Connect To Vorela"));
    mnuDisconnect = item(mnuFile, "mnuDisconnect", QStringLiteral("&Disconnect from Vorela"));
    mnuMRUSep = separator(mnuFile, "mnuMRUSep");
    mnuRecentContacts = submenu(mnuFile, "mnuRecentContacts", QStringLiteral("Recent &Contacts"));
    mnuRecentWebsites = submenu(mnuFile, "mnuRecentWebsites", QStringLiteral("Recent &Websites"));
    mnuExitSep = separator(mnuFile, "mnuExitSep");
    mnuExit = item(mnuFile, "mnuExit", QStringLiteral("E&xit"));

    mnuView = named(bar->addMenu(QStringLiteral("&View")), "mnuView");
    mnuViewVorela = submenu(mnuView, "mnuViewVorela", QStringLiteral("&Vorela"));
    mnuViewVorelaKeyboard =
        item(mnuViewVorela, "mnuViewVorelaKeyboard", QStringLiteral("&Vorela Keyboard Panel"));
    mnuViewLogGo = item(mnuViewVorela, "mnuViewLogGo", QStringLiteral("Log '&Go' Panel"));
    mnuViewLogNavigation =
        item(mnuViewVorela, "mnuViewLogNavigation", QStringLiteral("Log &Navigation Panel"));
    for (QAction* a : {mnuViewVorelaKeyboard, mnuViewLogGo, mnuViewLogNavigation}) {
        a->setCheckable(true);
    }
    mnuViewVorelaSep = separator(mnuView, "mnuViewVorelaSep");
    mnuViewMessaging = submenu(mnuView, "mnuViewMessaging", QStringLiteral("M&essaging"));
    mnuViewMessageMiniList = item(mnuViewMessaging, "mnuViewMessageMiniList",
                                  QStringLiteral("Display mini-message list"));
    mnuViewMessageMiniList->setCheckable(true);

    mnuSettings = named(bar->addMenu(QStringLiteral("&Settings")), "mnuSettings");
    mnuProgramSettings =
        item(mnuSettings, "mnuProgramSettings", QStringLiteral("Program &Settings"));
    mnuKVDirectorySettingsSep = separator(mnuSettings, "mnuKVDirectorySettingsSep");
    mnuDirectorySettings =
        item(mnuSettings, "mnuDirectorySettings", QStringLiteral("Kestova D&irectory Settings"));
    mnuDatabaseSettingsSep = separator(mnuSettings, "mnuDatabaseSettingsSep");
    mnuOrlixDBSettings =
        item(mnuSettings, "mnuOrlixDBSettings", QStringLiteral("Orlix &Database Settings"));
    // Nobody is logged in yet: the login gives the right.
    mnuSettings->menuAction()->setEnabled(false);

    mnuHelp = named(bar->addMenu(QStringLiteral("&Help")), "mnuHelp");
    mnuHelpContents = item(mnuHelp, "mnuHelpContents", QStringLiteral("&Contents"));
    mnuHelpSearch = item(mnuHelp, "mnuHelpSearch", QStringLiteral("&Search For Help On..."));
    mnuHelpBarSep = separator(mnuHelp, "mnuHelpBarSep");
    mnuCreateSupportFile =
        item(mnuHelp, "mnuCreateSupportFile", QStringLiteral("Create &Kestova Support File"));
    mnuUpdateInfoSep = separator(mnuHelp, "mnuUpdateInfoSep");
    mnuUpdateInformation =
        item(mnuHelp, "mnuUpdateInformation", QStringLiteral("&Update Information"));
    mnuKestovaSep = separator(mnuHelp, "mnuKestovaSep");
    mnuKestova = submenu(mnuHelp, "mnuKestova", QStringLiteral("Kestova On the Web"));
    mnuForum = item(mnuKestova, "mnuForum", QStringLiteral("Kestova &Forum"));
    mnuKestovaSupportWebsite =
        item(mnuKestova, "mnuKestovaSupportWebsite", QStringLiteral("Online Technical &Support "));
    mnuKestovaWebsiteSep = separator(mnuKestova, "mnuKestovaWebsiteSep");
    mnuKestovaWebsite = item(mnuKestova, "mnuKestovaWebsite", QStringLiteral("Kestova &Home Page"));
    mnuAboutSep = separator(mnuHelp, "mnuAboutSep");
    mnuAbout = item(mnuHelp, "mnuAbout", QStringLiteral("&About"));

    const std::pair<QAction*, void (frmMain::*)()> handlers[] = {
        {mnuLogin, &frmMain::mnuLogin_Click},
        {mnuLogout, &frmMain::mnuLogout_Click},
        {mnuConnect, &frmMain::mnuConnect_Click},
        {mnuDisconnect, &frmMain::mnuDisconnect_Click},
        {mnuExit, &frmMain::mnuExit_Click},
        {mnuProgramSettings, &frmMain::mnuProgramSettings_Click},
        {mnuDirectorySettings, &frmMain::mnuDirectorySettings_Click},
        {mnuOrlixDBSettings, &frmMain::mnuOrlixDBSettings_Click},
        {mnuHelpContents, &frmMain::mnuHelpContents_Click},
        {mnuHelpSearch, &frmMain::mnuHelpSearch_Click},
        {mnuCreateSupportFile, &frmMain::mnuCreateSupportFile_Click},
        {mnuUpdateInformation, &frmMain::mnuUpdateInformation_Click},
        {mnuForum, &frmMain::mnuForum_Click},
        {mnuKestovaSupportWebsite, &frmMain::mnuKestovaSupportWebsite_Click},
        {mnuKestovaWebsite, &frmMain::mnuKestovaWebsite_Click},
        {mnuAbout, &frmMain::mnuAbout_Click},
        {mnuViewMessageMiniList, &frmMain::mnuViewMessageMiniList_Click},
        {mnuViewVorelaKeyboard, &frmMain::mnuViewVorelaKeyboard_Click},
        {mnuViewLogGo, &frmMain::mnuViewLogGo_Click},
        {mnuViewLogNavigation, &frmMain::mnuViewLogNavigation_Click},
    };
    for (const auto& [action, handler] : handlers) {
        // A ticked item's handler inverts the tick itself (code calls it too), so the tick
        // Qt has already turned is put back first.
        connect(action, &QAction::triggered, this, [this, action = action, h = handler] {
            if (action->isCheckable()) {
                action->setChecked(!action->isChecked());
            }
            (this->*h)();
        });
    }
}

QAction* frmMain::toolbarMessagesButton(const QString& key) const {
    for (QAction* a : toolbarMessages->actions()) {
        if (a->objectName() == key) {
            return a;
        }
    }
    return nullptr;
}
