// The window's side of the playout link: the link's menus and cover following its state, the
// playout panel's collapsed state, and the display members the link calls. The players, log
// and carts show nothing yet; they keep the values they are given.

#include "mainwindow/frmmain.h"

#include "core/profile/usersettingskeys.h"
#include "platform/ui/twips.h"
#include "platform/ui/upanel3.h"
#include "playout/link/linkstateview.h"
#include "playout/link/playoutlink.h"

#include <QAction>
#include <QPushButton>
#include <QTreeWidget>

void frmMain::SetVorelaPanelHidden(bool hidden) {
    vorelaPanelHidden_ = hidden;
    saveUserSetting(UserSettingsKeys::VorelaPanelHidden(), hidden ? 1 : 0, true);
    Form_Resize();
}

void frmMain::pnlVorelaKeyboard_Resize() {
    const double w = PixelsToTwips(pnlVorelaKeyboard->width());
    pnlVorelaHide->resize(TwipsToPixels(std::max(0.0, w - 120)), pnlVorelaHide->height());
    const double hideTop = PixelsToTwips(pnlVorelaHide->y());
    pnlNotConnected->setGeometry(
        TwipsRect{60, 60, std::max(0.0, w - 120), std::max(0.0, hideTop - 90)}.toPixels());
    // The show bar's place comes from the window's own resize, which knows the window's
    // height whatever changed.
}

namespace {
void showLinkState(frmMain& w, PlayoutLink::LinkState state) {
    const LinkStateView view = LinkStateView::Of(state);
    w.mnuConnect->setEnabled(view.connectEnabled);
    w.mnuDisconnect->setEnabled(view.disconnectEnabled);
    switch (view.cover) {
    case LinkStateView::Cover::Keep:
        break;
    case LinkStateView::Cover::Hide:
        w.pnlNotConnected->setVisible(false);
        break;
    case LinkStateView::Cover::ShowWhileKeyboardTicked:
        if (w.mnuViewVorelaKeyboard->isChecked()) {
            w.pnlNotConnected->setVisible(true);
            w.pnlNotConnected->raise();
        }
        break;
    }
}
} // namespace

void frmMain::makePlayoutLink() {
    link_ = std::make_unique<PlayoutLink>(*this, [this] { return clsSettings(); });
    connect(link_.get(), &PlayoutLink::LinkStateChanged, this,
            [this](PlayoutLink::LinkState state) { showLinkState(*this, state); });
    connect(link_.get(), &PlayoutLink::ScriptReceived, this,
            [this](const QString& ScriptText) { ShowScript(ScriptText, QString(), true); });
    connect(link_.get(), &PlayoutLink::WebsiteReceived, this, [this](const QString& /*address*/) {
        // Selected without running its click handler. The website control shows the address
        // once it can show one.
        optWeb->SetValue(1);
    });
}

void frmMain::SetNumberPlayers(qint16 NumberPlayers) {
    numberPlayers_ = std::clamp<qint16>(NumberPlayers, 1, 12);
}

void frmMain::ShowPlayerStatus(qint16 /*player*/, qint32 /*status*/, const QString& /*text*/) {}

void frmMain::ShowInstantCartState(qint16 /*cart*/, const QString& /*text*/) {}

void frmMain::ShowLogMode(bool /*automatic*/, bool /*goAllowed*/,
                          const std::optional<QString>& /*text*/) {}

void frmMain::ShowLogStatus(bool /*logLoaded*/) {}

void frmMain::ShowLogCurrentItem(const QString& /*text*/) {}

void frmMain::ShowScript(const QString& /*ScriptText*/, const QString& /*FileName*/,
                         bool /*FromPlayout*/) {}

void frmMain::LoadScripts() {
    // The script files below "Other Scripts" and the personal script come with the script
    // tree's own code.
}

void frmMain::treeScripts_NodeClick(QTreeWidgetItem* node) {
    if (node == nullptr) {
        return;
    }
    cmdNewScript->setEnabled(node->data(0, kNodeTagRole).toString() ==
                                 QLatin1String("<PERSONALSCRIPT>") ||
                             bCanCreateScripts);
}
