// The window's side of the playout link: the link's menus and cover following its state, the
// keyboard panel's layout and collapsed state, the players, log and carts the parser shows,
// and the studio's commands their buttons send.

#include "mainwindow/frmmain.h"

#include "core/debuglog.h"
#include "core/generalroutines.h"
#include "core/profile/usersettingskeys.h"
#include "mainwindow/panes/scriptspane.h"
#include "platform/ui/twips.h"
#include "platform/ui/uhtmlscroller.h"
#include "platform/ui/upanel3.h"
#include "playout/link/linkstateview.h"
#include "playout/link/playoutlink.h"
#include "playout/panel/keyboardpanellayout.h"
#include "playout/panel/logdisplayview.h"
#include "playout/panel/notconnectedcover.h"
#include "playout/panel/panelimages.h"
#include "playout/panel/playerstatusview.h"

#include <QAction>
#include <QPushButton>
#include <QTreeWidget>

namespace {
constexpr qint16 kFirstCart = 1;
constexpr qint16 kLastCart = 20;
constexpr qint16 kMostPlayers = 12;

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
    if (pnlLog == nullptr || mnuViewLogGo == nullptr) {
        return; // still being built
    }
    KeyboardPanelInput in;
    in.width = twipsOf(pnlVorelaKeyboard->width());
    in.hideBarTop = twipsOf(pnlVorelaHide->y());
    in.logNavigation = mnuViewLogNavigation->isChecked();
    in.logGo = mnuViewLogGo->isChecked();
    in.navigationWidth = twipsOf(picLogNavigation->width());
    in.goWidth = twipsOf(picLogControl->width());
    const KeyboardPanelLayout l = LayoutKeyboardPanel(in);

    pnlVorelaHide->resize(TwipsToPixels(l.hideBarWidth), pnlVorelaHide->height());
    pnlNotConnected->setGeometry(l.notConnected.toPixels());
    // The show bar's place comes from the window's own resize, which knows the window's
    // height whatever changed.
    picLogNavigation->move(TwipsToPixels(l.navigationLeft), picLogNavigation->y());
    picLogNavigation->setVisible(l.navigationShown);
    picLogControl->move(TwipsToPixels(l.goLeft), picLogControl->y());
    picLogControl->setVisible(l.goShown);
    if (l.logShown) {
        pnlLog->setGeometry(TwipsToPixels(l.logLeft), pnlLog->y(), TwipsToPixels(l.logWidth),
                            pnlLog->height());
        uLogScroller->resize(TwipsToPixels(l.logScrollerWidth), uLogScroller->height());
    }
    pnlLog->setVisible(l.logShown);
    pnlPlayers->resize(TwipsToPixels(l.playersWidth), pnlPlayers->height());
    pnlInstantCarts->resize(TwipsToPixels(l.playersWidth), pnlInstantCarts->height());
    applyNotConnectedCover();
}

void frmMain::pnlInstantCarts_Resize() {
    if (cmdInstantCart.size() <= kLastCart) {
        return; // the carts are not loaded yet
    }
    const QList<TwipsRect> carts =
        LayoutInstantCarts(twipsOf(pnlInstantCarts->width()), twipsOf(cmdInstantCart[1]->height()));
    for (qint16 n = kFirstCart; n <= kLastCart; ++n) {
        cmdInstantCart[n]->setGeometry(carts[n - 1].toPixels());
    }
}

void frmMain::pnlPlayers_Resize() {
    if (pnlPlayerCaption.size() <= numberPlayers_) {
        return; // the columns are not made yet
    }
    PlayerColumnRects first;
    const auto designOf = [](const QWidget* w) {
        return TwipsRect{0, twipsOf(w->y()), 0, twipsOf(w->height())};
    };
    first.caption = designOf(pnlPlayerCaption[1]);
    first.close = designOf(cmdPlayerClose[1]);
    first.cue = designOf(cmdPlayerCue[1]);
    first.play = designOf(cmdPlayerPlay[1]);
    first.scroller = designOf(uPlayerScroller[1]);
    const QList<PlayerColumnRects> columns =
        LayoutPlayers(twipsOf(pnlPlayers->width()), numberPlayers_, first);
    for (qint16 i = 1; i <= numberPlayers_; ++i) {
        const PlayerColumnRects& c = columns[i - 1];
        pnlPlayerCaption[i]->setGeometry(c.caption.toPixels());
        cmdPlayerClose[i]->setGeometry(c.close.toPixels());
        cmdPlayerCue[i]->setGeometry(c.cue.toPixels());
        cmdPlayerPlay[i]->setGeometry(c.play.toPixels());
        uPlayerScroller[i]->setGeometry(c.scroller.toPixels());
    }
}

void frmMain::applyNotConnectedCover() {
    if (pnlNotConnected == nullptr || mnuViewVorelaKeyboard == nullptr || !link_) {
        return;
    }
    const bool shown = NotConnectedCoverShown(mnuViewVorelaKeyboard->isChecked(), link_->State());
    pnlNotConnected->setVisible(shown);
    if (shown) {
        pnlNotConnected->raise();
    }
}

void frmMain::makePlayoutLink() {
    link_ = std::make_unique<PlayoutLink>(*this, [this] { return clsSettings(); });
    connect(link_.get(), &PlayoutLink::LinkStateChanged, this,
            [this](PlayoutLink::LinkState state) {
                const LinkStateView view = LinkStateView::Of(state);
                mnuConnect->setEnabled(view.connectEnabled);
                mnuDisconnect->setEnabled(view.disconnectEnabled);
                applyNotConnectedCover();
            });
    connect(link_.get(), &PlayoutLink::ScriptReceived, this,
            [this](const QString& ScriptText) { ShowScript(ScriptText, QString(), true); });
    connect(link_.get(), &PlayoutLink::WebsiteReceived, this, [this](const QString& /*address*/) {
        // Selected without running its click handler. The website control shows the address
        // once it can show one.
        optWeb->SetValue(1);
    });
}

void frmMain::loadPlayerColumn(qint16 n) {
    const auto make = [&](const char* name, uPanel3::PanelStyle style) {
        auto* p = new uPanel3(pnlPlayers, style);
        p->setObjectName(QLatin1String(name) + QString::number(n));
        if (n > 1) {
            p->setFont(pnlPlayerCaption[1]->font());
        }
        return p;
    };
    uPanel3* caption = make("pnlPlayerCaption", uPanel3::PanelStyle::Plain);
    caption->SetCaption(QStringLiteral("Player ") + QString::number(n));
    uPanel3* close = make("cmdPlayerClose", uPanel3::PanelStyle::Button);
    uPanel3* cue = make("cmdPlayerCue", uPanel3::PanelStyle::Button);
    uPanel3* play = make("cmdPlayerPlay", uPanel3::PanelStyle::Button);
    for (uPanel3* b : {close, cue, play}) {
        ApplyStudioButtonLook(*b);
    }
    auto* scroller = new uHTMLScroller(pnlPlayers);
    scroller->setObjectName(QStringLiteral("uPlayerScroller") + QString::number(n));
    pnlPlayerCaption.append(caption);
    cmdPlayerClose.append(close);
    cmdPlayerCue.append(cue);
    cmdPlayerPlay.append(play);
    uPlayerScroller.append(scroller);

    // The design's tops and heights; lefts and widths are the layout's.
    const PlayerColumnRects design = PlayerColumnDesign();
    caption->setGeometry(design.caption.toPixels());
    close->setGeometry(design.close.toPixels());
    cue->setGeometry(design.cue.toPixels());
    play->setGeometry(design.play.toPixels());
    scroller->setGeometry(design.scroller.toPixels());

    SetPlayerButtonState(close, QStringLiteral("eject"), false);
    SetPlayerButtonState(cue, QStringLiteral("cue"), false);
    SetPlayerButtonState(play, QStringLiteral("play"), false);
    play->SetTag(QStringLiteral("0"));
    connect(close, &uPanel3::Click, this, [this, n] { cmdPlayerClose_Click(n); });
    connect(cue, &uPanel3::Click, this, [this, n] { cmdPlayerCue_Click(n); });
    connect(play, &uPanel3::Click, this, [this, n] { cmdPlayerPlay_Click(n); });
    for (QWidget* w :
         {static_cast<QWidget*>(caption), static_cast<QWidget*>(close), static_cast<QWidget*>(cue),
          static_cast<QWidget*>(play), static_cast<QWidget*>(scroller)}) {
        w->setVisible(false);
    }
}

void frmMain::SetNumberPlayers(qint16 NumberPlayers) {
    const qint16 count = std::clamp<qint16>(NumberPlayers, 1, kMostPlayers);
    if (count != NumberPlayers) {
        DebugLog(QStringLiteral("SetNumberPlayers: %1 players shown as %2 (1 to %3)")
                     .arg(NumberPlayers)
                     .arg(count)
                     .arg(kMostPlayers),
                 5);
    }
    numberPlayers_ = count;
    for (qint16 n = 1; n <= count; ++n) {
        if (pnlPlayerCaption.size() - 1 < n) {
            loadPlayerColumn(n);
        }
        pnlPlayerCaption[n]->SetCaption(QStringLiteral("Player ") + QString::number(n));
        pnlPlayerCaption[n]->setVisible(true);
        cmdPlayerClose[n]->setVisible(true);
        cmdPlayerClose[n]->raise();
        cmdPlayerCue[n]->setVisible(true);
        cmdPlayerPlay[n]->setVisible(true);
        uPlayerScroller[n]->setVisible(true);
    }
    for (qsizetype n = count + 1; n < pnlPlayerCaption.size(); ++n) {
        pnlPlayerCaption[n]->setVisible(false);
        cmdPlayerClose[n]->setVisible(false);
        cmdPlayerCue[n]->setVisible(false);
        cmdPlayerPlay[n]->setVisible(false);
        uPlayerScroller[n]->setVisible(false);
    }
    pnlPlayers_Resize();
}

void frmMain::SetPlayerButtonState(uPanel3* button, const QString& key, bool enabled) {
    if (button == nullptr) {
        return;
    }
    button->setEnabled(enabled);
    const QString picture = PlayerPictureKey(key, enabled);
    button->SetPicture(picture.isEmpty() ? QPixmap() : imgListPlayer.ListImages(picture), picture);
}

void frmMain::ShowPlayerStatus(qint16 player, qint32 status, QStringView text) {
    if (player < 1 || player > numberPlayers_) {
        DebugLog(QStringLiteral("ShowPlayerStatus: player %1 is outside 1 to %2")
                     .arg(player)
                     .arg(numberPlayers_),
                 5);
        return;
    }
    const PlayerStatusView v = PlayerStatusViewOf(status);
    SetPlayerButtonState(cmdPlayerClose[player], v.close.pictureBase, v.close.enabled);
    SetPlayerButtonState(cmdPlayerCue[player], v.cue.pictureBase, v.cue.enabled);
    SetPlayerButtonState(cmdPlayerPlay[player], v.play.pictureBase, v.play.enabled);
    cmdPlayerPlay[player]->SetTag(v.playTag);
    showScrollerText(uPlayerScroller[player], v.showsText ? text : QStringView());
}

void frmMain::ShowInstantCartState(qint16 cart, QStringView text) {
    // Element 0 is the hidden design element: only carts 1 to 20 take a state.
    if (cart < kFirstCart || cart > kLastCart || cart >= cmdInstantCart.size()) {
        DebugLog(QStringLiteral("ShowInstantCartState: cart %1 is outside %2 to %3")
                     .arg(cart)
                     .arg(kFirstCart)
                     .arg(kLastCart),
                 5);
        return;
    }
    cmdInstantCart[cart]->setEnabled(!text.trimmed().isEmpty());
}

void frmMain::applyLogView(const LogDisplayView& view) {
    const auto apply = [](uPanel3* button, const std::optional<LogButtonView>& look,
                          const ImageList* pictures) {
        if (!look) {
            return;
        }
        button->setEnabled(look->enabled);
        if (pictures != nullptr && !look->picture.isEmpty()) {
            button->SetPicture(pictures->ListImages(look->picture), look->picture);
        }
    };
    apply(cmdLogGo, view.go, &imgList48);
    apply(cmdLogPrecue, view.precue, nullptr);
    apply(cmdLogPreview, view.preview, nullptr);
    apply(cmdLogStandby, view.standby, &imgList32);
    apply(cmdLogEndType, view.endType, nullptr);
    if (view.navigationEnabled) {
        for (uPanel3* b :
             {cmdLogUp, cmdLogDown, cmdLogDelete, cmdLogHome, cmdLogPrevHour, cmdLogNextHour}) {
            b->setEnabled(*view.navigationEnabled);
        }
    }
    if (view.scrollerText) {
        uLogScroller->SetText(*view.scrollerText);
    }
}

void frmMain::ShowLogMode(bool automatic, bool goAllowed, std::optional<QStringView> text) {
    applyLogView(
        LogModeView(automatic, goAllowed,
                    text ? std::optional<QString>(text->toString()) : std::optional<QString>()));
}

void frmMain::ShowLogStatus(bool logLoaded) {
    applyLogView(LogStatusView(logLoaded));
}

void frmMain::ShowLogCurrentItem(QStringView text) {
    showScrollerText(uLogScroller, text);
}

void frmMain::showScrollerText(uHTMLScroller* scroller, QStringView text) {
    // The text is a view into the received line: a copy is made only when it changes what
    // the scroller shows, most lines repeating the last.
    if (QStringView(scroller->Text()) != text) {
        scroller->SetText(text.toString());
    }
}

// The link drops the line unless it is connected.
void frmMain::sendStudioCommand(const QString& line) {
    link_->SendMessageToComputer(line);
}

void frmMain::cmdLogGo_Click() {
    sendStudioCommand(QStringLiteral("LOG GO"));
}
void frmMain::cmdLogPrecue_Click() {
    sendStudioCommand(QStringLiteral("LOG PRECUE"));
}
void frmMain::cmdLogStandby_Click() {
    sendStudioCommand(QStringLiteral("LOG MODE TOGGLE"));
}
void frmMain::cmdLogPreview_Click() {
    sendStudioCommand(QStringLiteral("LOG ITEM PREVIEW"));
}
void frmMain::cmdLogEndType_Click() {
    sendStudioCommand(QStringLiteral("LOG TOGGLEENDING"));
}
void frmMain::cmdLogDelete_Click() {
    sendStudioCommand(QStringLiteral("LOG ITEM TOGGLEDELETE"));
}
void frmMain::cmdLogHome_Click() {
    sendStudioCommand(QStringLiteral("LOG VIEW HOME"));
}
void frmMain::cmdLogPrevHour_Click() {
    sendStudioCommand(QStringLiteral("LOG VIEW PREVHOUR"));
}
void frmMain::cmdLogNextHour_Click() {
    sendStudioCommand(QStringLiteral("LOG VIEW NEXTHOUR"));
}
void frmMain::cmdLogUp_Click() {
    sendStudioCommand(QStringLiteral("LOG VIEW SCROLLUP"));
}
void frmMain::cmdLogDown_Click() {
    sendStudioCommand(QStringLiteral("LOG VIEW SCROLLDOWN"));
}

void frmMain::cmdPlayerPlay_Click(qint16 n) {
    if (n < 1 || n >= cmdPlayerPlay.size()) {
        return;
    }
    const bool playing = ValOf(cmdPlayerPlay[n]->Tag()) != 0;
    sendStudioCommand((playing ? QStringLiteral("PLAYER PAUSE ") : QStringLiteral("PLAYER PLAY ")) +
                      QString::number(n));
}

void frmMain::cmdPlayerCue_Click(qint16 n) {
    sendStudioCommand(QStringLiteral("PLAYER CUE ") + QString::number(n));
}

void frmMain::cmdPlayerClose_Click(qint16 n) {
    sendStudioCommand(QStringLiteral("PLAYER CLOSE ") + QString::number(n));
}

void frmMain::cmdInstantCart_Click(qint16 n) {
    sendStudioCommand((link_->PlayoutVersion() >= 5 ? QStringLiteral("IC PLAY ")
                                                    : QStringLiteral("INSTANTCART PLAY ")) +
                      QString::number(n));
}

void frmMain::wireInstantCart(QPushButton* cart, qint16 n) {
    // A click only: a key typed in the talkback or a list never fires a cart on air.
    cart->setFocusPolicy(Qt::NoFocus);
    connect(cart, &QPushButton::clicked, this, [this, n] { cmdInstantCart_Click(n); });
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
