// The window's side of the playout link: the link's menus and cover following its state, and
// the keyboard panel's place, its log groups and its collapsed state. What the panel shows and
// sends is the panel's own.

#include "mainwindow/frmmain.h"

#include "core/profile/usersettingskeys.h"
#include "mainwindow/panes/scriptspane.h"
#include "platform/directory/controls/uwebsite.h"
#include "platform/ui/twips.h"
#include "platform/ui/uhtmlscroller.h"
#include "platform/ui/upanel3.h"
#include "playout/link/linkstateview.h"
#include "playout/link/playoutlink.h"
#include "playout/panel/keyboardpanellayout.h"
#include "playout/panel/notconnectedcover.h"
#include "playout/panel/playoutpanel.h"

#include <QAction>
#include <QTreeWidget>

namespace {
double twipsOf(int pixels) {
    return PixelsToTwips(pixels);
}
} // namespace

void frmMain::SetVorelaPanelHidden(bool hidden) {
    vorelaPanelHidden_ = hidden;
    saveUserSetting(UserSettingsKeys::VorelaPanelHidden(), hidden ? 1 : 0, true);
    Form_Resize();
}

void frmMain::pnlVorelaKeyboard_Resize() {
    if (playoutPanel == nullptr || mnuViewLogGo == nullptr) {
        return; // still being built
    }
    PlayoutPanel& p = *playoutPanel;
    KeyboardPanelInput in;
    in.width = twipsOf(p.pnlVorelaKeyboard->width());
    in.hideBarTop = twipsOf(p.pnlVorelaHide->y());
    in.logNavigation = mnuViewLogNavigation->isChecked();
    in.logGo = mnuViewLogGo->isChecked();
    in.navigationWidth = twipsOf(p.picLogNavigation->width());
    in.goWidth = twipsOf(p.picLogControl->width());
    const KeyboardPanelLayout l = LayoutKeyboardPanel(in);

    p.pnlVorelaHide->resize(TwipsToPixels(l.hideBarWidth), p.pnlVorelaHide->height());
    p.pnlNotConnected->setGeometry(l.notConnected.toPixels());
    // The show bar's place comes from the window's own resize, which knows the window's
    // height whatever changed.
    p.picLogNavigation->move(TwipsToPixels(l.navigationLeft), p.picLogNavigation->y());
    p.picLogNavigation->setVisible(l.navigationShown);
    p.picLogControl->move(TwipsToPixels(l.goLeft), p.picLogControl->y());
    p.picLogControl->setVisible(l.goShown);
    if (l.logShown) {
        p.pnlLog->setGeometry(TwipsToPixels(l.logLeft), p.pnlLog->y(), TwipsToPixels(l.logWidth),
                              p.pnlLog->height());
        p.uLogScroller->resize(TwipsToPixels(l.logScrollerWidth), p.uLogScroller->height());
    }
    p.pnlLog->setVisible(l.logShown);
    p.pnlPlayers->resize(TwipsToPixels(l.playersWidth), p.pnlPlayers->height());
    p.pnlInstantCarts->resize(TwipsToPixels(l.playersWidth), p.pnlInstantCarts->height());
    applyNotConnectedCover();
}

void frmMain::applyNotConnectedCover() {
    if (playoutPanel == nullptr || mnuViewVorelaKeyboard == nullptr || !link_) {
        return;
    }
    uPanel3* pnlNotConnected = playoutPanel->pnlNotConnected;
    const bool shown = NotConnectedCoverShown(mnuViewVorelaKeyboard->isChecked(), link_->State());
    pnlNotConnected->setVisible(shown);
    if (shown) {
        pnlNotConnected->raise();
    }
}

void frmMain::makePlayoutLink() {
    link_ = std::make_unique<PlayoutLink>(*playoutPanel, [this] { return clsSettings(); });
    playoutPanel->SetLink(link_.get());
    connect(link_.get(), &PlayoutLink::LinkStateChanged, this,
            [this](PlayoutLink::LinkState state) {
                const LinkStateView view = LinkStateView::Of(state);
                mnuConnect->setEnabled(view.connectEnabled);
                mnuDisconnect->setEnabled(view.disconnectEnabled);
                applyNotConnectedCover();
            });
    connect(link_.get(), &PlayoutLink::ScriptReceived, this,
            [this](const QString& ScriptText) { ShowScript(ScriptText, QString(), true); });
    connect(link_.get(), &PlayoutLink::WebsiteReceived, this, [this](const QString& address) {
        // The playout system chose the page, not the presenter: the Web pane comes forward
        // as a click on its tab would bring it, but is not kept as the presenter's tab.
        ShowTab(MainTab::Web, false);
        ctlWebsite->ShowWebAddress(address);
    });
}

void frmMain::mnuViewVorelaKeyboard_Click() {
    mnuViewVorelaKeyboard->setChecked(!mnuViewVorelaKeyboard->isChecked());
    const bool ticked = mnuViewVorelaKeyboard->isChecked();
    saveUserSetting(UserSettingsKeys::ViewVorelaKeyboard(), ticked ? 1 : 0, true);
    mnuViewLogGo->setEnabled(ticked);
    mnuViewLogNavigation->setEnabled(ticked);
    Form_Resize();
    applyNotConnectedCover();
}

void frmMain::mnuViewLogGo_Click() {
    mnuViewLogGo->setChecked(!mnuViewLogGo->isChecked());
    saveUserSetting(UserSettingsKeys::ViewVorelaLogGo(), mnuViewLogGo->isChecked() ? 1 : 0, true);
    pnlVorelaKeyboard_Resize();
}

void frmMain::mnuViewLogNavigation_Click() {
    mnuViewLogNavigation->setChecked(!mnuViewLogNavigation->isChecked());
    saveUserSetting(UserSettingsKeys::ViewVorelaLogNavigation(),
                    mnuViewLogNavigation->isChecked() ? 1 : 0, true);
    pnlVorelaKeyboard_Resize();
}

void frmMain::ShowScript(const QString& ScriptText, const QString& FileName, bool FromPlayout) {
    scriptsPane->ShowScript(ScriptText, FileName, FromPlayout);
}

void frmMain::LoadScripts() {
    scriptsPane->LoadScripts();
}

void frmMain::treeScripts_NodeClick(QTreeWidgetItem* node) {
    scriptsPane->treeScripts_NodeClick(node);
}
