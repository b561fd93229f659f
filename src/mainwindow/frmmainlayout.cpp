// The window's regions, tabs, talkback pane, splitter contents and colours. The arithmetic
// is in mainwindowlayout; here it is read from and applied to the controls.

#include "mainwindow/frmmain.h"

#include "core/dialogs/contacthistory.h"
#include "core/profile/usersettingskeys.h"
#include "mainwindow/mainwindowlayout.h"
#include "platform/directory/controls/ucontact.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/directory/controls/uwebsite.h"
#include "platform/directory/controls/uwebsiteslist.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/controls/umessagebasic.h"
#include "platform/messagesdb/controls/umessageslist.h"
#include "platform/messagesdb/controls/uprizebasic.h"
#include "platform/messagesdb/controls/uprizeslist.h"
#include "platform/system/renderer.h"
#include "platform/ui/backcolour.h"
#include "platform/ui/listview.h"
#include "platform/ui/twips.h"
#include "platform/ui/uclockstrip.h"
#include "platform/ui/upanel3.h"
#include "platform/ui/usplitpanel.h"
#include "platform/ui/utalkback.h"
#include "platform/web/uwebbrowser.h"
#include "playout/panel/playoutpanel.h"
#include "scripts/scriptview.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QToolBar>
#include <QToolButton>

#include <QTreeWidget>
#include <tuple>

#include <vector>

namespace {
void place(QWidget* w, const TwipsRect& r) {
    w->setGeometry(r.toPixels());
}

double twipsWidth(const QWidget* w) {
    return PixelsToTwips(w->width());
}

double twipsHeight(const QWidget* w) {
    return PixelsToTwips(w->height());
}

// The list's fill column takes what the other columns leave.
void fillColumn(ListView* list, const QString& fillKey) {
    if (list->ColumnHeaderCount() == 0) {
        return;
    }
    std::vector<double> others;
    int fill = -1;
    for (int i = 0; i < list->ColumnHeaderCount(); ++i) {
        if (list->ColumnKey(i) == fillKey) {
            fill = i;
        } else {
            others.push_back(list->ColumnWidthTwips(i));
        }
    }
    if (fill >= 0) {
        list->SetColumnWidthTwips(fill,
                                  static_cast<int>(FillColumnWidth(twipsWidth(list), others)));
    }
}
} // namespace

QList<uSplitPanel*> frmMain::splitters() const {
    return {splitContacts, splitPrize, splitWebsites, splitScripts, splitMessages};
}

void frmMain::connectLayoutHandlers() {
    connect(pnlClock, &uClockStrip::Resized, this, [this] { pnlClock_Resize(); });
    picPanes->installEventFilter(this);
    connect(pnlTalkback, &uPanel3::Resized, this, [this] { pnlTalkback_Resize(); });
    connect(pnlTalkbackInner, &uPanel3::Resized, this, [this] { pnlTalkbackInner_Resize(); });
    connect(playoutPanel->pnlVorelaKeyboard, &uPanel3::Resized, this,
            [this] { pnlVorelaKeyboard_Resize(); });
    connect(playoutPanel->pnlVorelaHide, &uPanel3::Click, this, [this] { pnlVorelaHide_Click(); });
    connect(playoutPanel->cmdShowVorelaKeyboard, &uPanel3::Click, this,
            [this] { cmdShowVorelaKeyboard_Click(); });

    connect(optContacts, &uPanel3::Click, this, [this] { optContacts_Click(); });
    connect(optPrize, &uPanel3::Click, this, [this] { optPrize_Click(); });
    connect(optScripts, &uPanel3::Click, this, [this] { optScripts_Click(); });
    connect(optWeb, &uPanel3::Click, this, [this] { optWeb_Click(); });
    connect(optMessages, &uPanel3::Click, this, [this] { optMessages_Click(); });
    connect(optScripts, &uPanel3::DragOver, this,
            [this](int buttonState) { optScripts_DragOver(buttonState); });
    connect(chkTalkback, &uPanel3::Click, this, [this] { chkTalkback_Click(); });
    connect(comboMessageFilter, &QComboBox::activated, this,
            [this] { comboMessageFilter_Click(); });

    connect(splitContacts, &uSplitPanel::Layout, this, [this] { splitContacts_Layout(); });
    connect(splitPrize, &uSplitPanel::Layout, this, [this] { splitPrize_Layout(); });
    connect(splitScripts, &uSplitPanel::Layout, this, [this] { splitScripts_Layout(); });
    connect(splitWebsites, &uSplitPanel::Layout, this, [this] { splitWebsites_Layout(); });
    connect(splitMessages, &uSplitPanel::Layout, this, [this] { splitMessages_Layout(); });
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picPanes && event->type() == QEvent::Resize) {
        picPanes_Resize();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::Form_Resize() {
    // Nothing is laid out while minimised, nor before the window's controls exist.
    if (isMinimized() || centralWidget() == nullptr || mnuViewVorelaKeyboard == nullptr) {
        return;
    }
    MainLayoutInput in;
    in.clientWidth = twipsWidth(centralWidget());
    in.clientHeight = twipsHeight(centralWidget());
    in.keyboardMenuChecked = mnuViewVorelaKeyboard->isChecked();
    in.vorelaPanelHidden = vorelaPanelHidden_;
    in.talkbackOn = chkTalkback->Value() == 1;
    const MainLayout layout = LayoutMainWindow(in);
    if (!layout.laidOut) {
        return;
    }

    place(pnlClock, layout.pnlClock);
    uPanel3* pnlVorelaKeyboard = playoutPanel->pnlVorelaKeyboard;
    uPanel3* cmdShowVorelaKeyboard = playoutPanel->cmdShowVorelaKeyboard;
    if (in.keyboardMenuChecked) {
        place(pnlVorelaKeyboard, layout.pnlVorelaKeyboard);
        place(cmdShowVorelaKeyboard, layout.cmdShowVorelaKeyboard);
        pnlVorelaKeyboard->setVisible(layout.keyboardVisible);
        cmdShowVorelaKeyboard->setVisible(layout.showBarVisible);
        (layout.showBarVisible ? static_cast<QWidget*>(cmdShowVorelaKeyboard)
                               : static_cast<QWidget*>(pnlVorelaKeyboard))
            ->raise();
    } else {
        pnlVorelaKeyboard->setVisible(false);
        cmdShowVorelaKeyboard->setVisible(false);
    }
    place(pnlTalkback, layout.pnlTalkback);
    place(picPanes, layout.picPanes);
    applyNotConnectedCover();
}

void frmMain::pnlClock_Resize() {
    const auto buttons = LayoutTabStrip(twipsWidth(pnlClock), pnlClock->ClockWidth());
    const std::array<uPanel3*, 6> order = {optContacts, optPrize,    optScripts,
                                           optWeb,      optMessages, chkTalkback};
    for (size_t i = 0; i < order.size(); ++i) {
        place(order[i], buttons[i]);
    }
}

void frmMain::picPanes_Resize() {
    for (uSplitPanel* s : splitters()) {
        s->setGeometry(0, 0, picPanes->width(), picPanes->height());
    }
}

void frmMain::pnlTalkback_Resize() {
    const TalkbackLayout layout = LayoutTalkbackPane(
        twipsWidth(pnlTalkback), twipsHeight(pnlTalkback), PixelsToTwips(pnlTalkbackInner->x()),
        PixelsToTwips(pnlTalkbackInner->y()));
    place(pnlTalkbackInner, layout.pnlTalkbackInner);
}

void frmMain::pnlTalkbackInner_Resize() {
    place(ctlTalkback, TwipsRect{60, 60, std::max(0.0, twipsWidth(pnlTalkbackInner) - 120),
                                 std::max(0.0, twipsHeight(pnlTalkbackInner) - 120)});
}

void frmMain::FactorsChanged() {
    if (clsRenderer == nullptr) {
        return;
    }
    PaintBackColour(this, clsRenderer->WindowBackColour());
    const QColor panel = clsRenderer->PanelBackColour();
    ctlContacts->SetBackColour(panel);
    ctlContact->SetBackColour(panel);
    ctlWebsites->SetBackColour(panel);
    ctlPrize->SetBackColour(panel);
    ctlPrizes->SetBackColor(panel);
    ctlMessage->SetBackColour(clsRenderer->ContentBackColour());
    ctlMessages->SetBackColour(panel);
}

void frmMain::selectTab(MainTab tab, bool store, bool pressButton) {
    // Each tab's button, pane and the value stored for it as the user's choice.
    const std::tuple<MainTab, uPanel3*, uSplitPanel*, const char*> tabs[] = {
        {MainTab::Contacts, optContacts, splitContacts, "CONTACTS"},
        {MainTab::Prizes, optPrize, splitPrize, "PRIZES"},
        {MainTab::Scripts, optScripts, splitScripts, "SCRIPTS"},
        {MainTab::Messages, optMessages, splitMessages, "Messages"},
        {MainTab::Web, optWeb, splitWebsites, "WEB"}};
    for (const auto& [which, button, shown, stored] : tabs) {
        if (which != tab) {
            continue;
        }
        if (pressButton) {
            button->SetValue(1);
        }
        if (store && userLoggedIn()) {
            saveUserSetting(UserSettingsKeys::SelectedTab(), QLatin1String(stored), true);
        }
        shown->setVisible(true);
        shown->raise();
        for (uSplitPanel* s : splitters()) {
            if (s != shown) {
                s->setVisible(false);
            }
        }
        return;
    }
}

void frmMain::ShowTab(MainTab tab, bool storeAsSelected) {
    selectTab(tab, storeAsSelected, true);
}

void frmMain::optContacts_Click() {
    selectTab(MainTab::Contacts, true, false);
}

void frmMain::optPrize_Click() {
    selectTab(MainTab::Prizes, true, false);
}

void frmMain::optScripts_Click() {
    selectTab(MainTab::Scripts, true, false);
}

void frmMain::optWeb_Click() {
    selectTab(MainTab::Web, true, false);
}

void frmMain::optMessages_Click() {
    selectTab(MainTab::Messages, true, false);
}

void frmMain::optScripts_DragOver(int buttonState) {
    if (buttonState == 1 && optScripts->Value() != 1) {
        // Our panels raise no Click for a Value set from code; the pane must follow the
        // button all the same, or the user would drag onto a pane that is not shown.
        ShowTab(MainTab::Scripts);
    }
}

void frmMain::chkTalkback_Click() {
    saveUserSetting(UserSettingsKeys::TalkbackVisible(),
                    chkTalkback->Value() != 0 ? QStringLiteral("1") : QStringLiteral("0"), true);
    if (chkTalkback->Value() == 1) {
        pnlTalkback->setVisible(true);
        pnlTalkback->raise();
    } else {
        pnlTalkback->setVisible(false);
    }
    Form_Resize();
}

void frmMain::splitContacts_Layout() {
    saveUserSetting(UserSettingsKeys::ContactSeparatorPosition(), splitContacts->Position(), true);
    ContactsPaneInput in;
    in.first = splitContacts->FirstPaneRect();
    in.second = splitContacts->SecondPaneRect();
    in.buttonWidth = twipsWidth(cmdAddContactToRecent);
    ContactsPaneLayout layout = LayoutContactsPane(in);
    place(ctlContacts, layout.ctlContacts);
    const int column = TwipsToPixels(layout.buttonColumnLeft);
    for (QWidget* b : {static_cast<QWidget*>(cmdNewContact), static_cast<QWidget*>(cmdOpenContact),
                       pnlContactButtonsSep, static_cast<QWidget*>(cmdRecentContacts),
                       static_cast<QWidget*>(cmdAddContactToRecent)}) {
        b->move(column, b->y());
    }
    place(ctlContact, layout.ctlContact);
    // The history frames lie on the control's tab page, measured at the control's new size.
    in.tabAreaLeft = ctlContact->TabAreaLeft();
    in.tabAreaTop = ctlContact->TabAreaTop();
    in.tabAreaWidth = ctlContact->TabAreaWidth();
    in.tabAreaHeight = ctlContact->TabAreaHeight();
    layout = LayoutContactsPane(in);
    place(fraContactMessages, layout.historyFrame);
    place(fraContactPrizes, layout.historyFrame);
    place(lvwContactMessages, layout.historyList);
    fillColumn(lvwContactMessages, ContactHistory::MessagesFillColumnKey());
    place(lvwContactPrizes, layout.historyList);
    fillColumn(lvwContactPrizes, ContactHistory::PrizesFillColumnKey());
}

void frmMain::splitPrize_Layout() {
    saveUserSetting(UserSettingsKeys::PrizeSeparatorPosition(), splitPrize->Position(), true);
    const PrizesPaneLayout layout = LayoutPrizesPane(
        splitPrize->FirstPaneRect(), splitPrize->SecondPaneRect(), twipsWidth(cmdOpenPrize));
    place(ctlPrizes, layout.ctlPrizes);
    cmdOpenPrize->move(TwipsToPixels(layout.cmdOpenPrizeLeft), cmdOpenPrize->y());
    place(ctlPrize, layout.ctlPrize);
}

void frmMain::splitWebsites_Layout() {
    saveUserSetting(UserSettingsKeys::WebsiteSeparatorPosition(), splitWebsites->Position(), true);
    const WebsitesPaneLayout layout =
        LayoutWebsitesPane(splitWebsites->FirstPaneRect(), splitWebsites->SecondPaneRect());
    place(ctlWebsites, layout.ctlWebsites);
    place(ctlWebsite, layout.ctlWebsite);
}

void frmMain::splitMessages_Layout() {
    saveUserSetting(UserSettingsKeys::MessageSeparatorPosition(), splitMessages->Position(), true);
    const MessagesPaneLayout layout =
        LayoutMessagesPane(splitMessages->FirstPaneRect(), splitMessages->SecondPaneRect(),
                           twipsHeight(toolbarMessages));
    place(ctlMessages, layout.ctlMessages);
    place(ctlMessage, layout.ctlMessage);
    place(toolbarMessages, layout.toolbarMessages);
    place(ctlMessageBrowser, layout.ctlMessageBrowser);
    place(lblMessageListNotice, layout.ctlMessageBrowser);
}

void frmMain::splitScripts_Layout() {
    saveUserSetting(UserSettingsKeys::ScriptSeparatorPosition(), splitScripts->Position(), true);
    ScriptsPaneInput in;
    in.first = splitScripts->FirstPaneRect();
    in.second = splitScripts->SecondPaneRect();
    in.newScriptHeight = twipsHeight(cmdNewScript);
    in.buttonWidth = twipsWidth(cmdScriptUp);
    in.buttonHeight = twipsHeight(cmdScriptUp);
    in.toolbarHeight = twipsHeight(toolScripts);
    const ScriptsPaneLayout layout = LayoutScriptsPane(in);
    place(cmdNewScript, layout.cmdNewScript);
    place(treeScripts, layout.treeScripts);
    place(cmdScriptUp, layout.cmdScriptUp);
    place(cmdScriptDown, layout.cmdScriptDown);
    place(chkScriptAutoScroll, layout.chkScriptAutoScroll);
    place(chkScriptEdit, layout.chkScriptEdit);
    place(toolScripts, layout.toolScripts);
    place(wbScripts, layout.wbScripts);
}
