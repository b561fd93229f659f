#include "playout/panel/playoutpanel.h"

#include "core/debuglog.h"
#include "core/generalroutines.h"
#include "platform/ui/twips.h"
#include "platform/ui/uhtmlscroller.h"
#include "platform/ui/upanel3.h"
#include "playout/link/playoutlink.h"
#include "playout/panel/keyboardpanellayout.h"
#include "playout/panel/logdisplayview.h"
#include "playout/panel/panelimages.h"
#include "playout/panel/playerstatusview.h"

#include <QPushButton>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

namespace {
double twipsOf(int pixels) {
    return PixelsToTwips(pixels);
}

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

uPanel3* panel(QWidget* parent, const char* name, uPanel3::PanelStyle style,
               const QString& caption = QString()) {
    auto* p = named(new uPanel3(parent, style), name);
    p->SetCaption(caption);
    return p;
}
} // namespace

PlayoutPanel::PlayoutPanel(QWidget* client) : QObject(client) {
    using namespace PanelDesign;
    FillPlayerImages(imgListPlayer);
    FillGoImages(imgList48);
    FillPowerImages(imgList32);

    pnlVorelaKeyboard = panel(client, "pnlVorelaKeyboard", uPanel3::PanelStyle::Plain);
    pnlVorelaKeyboard->resize(TwipsToPixels(12000), TwipsToPixels(kPanelHeight));
    pnlNotConnected = panel(pnlVorelaKeyboard, "pnlNotConnected", uPanel3::PanelStyle::Plain,
                            QStringLiteral("Not Connected to Vorela"));
    pnlVorelaHide = panel(pnlVorelaKeyboard, "pnlVorelaHide", uPanel3::PanelStyle::Plain,
                          QStringLiteral("Hide"));
    pnlVorelaHide->setGeometry(TwipsRect{60, kHideBarTop, 11880, kHideBarHeight}.toPixels());
    pnlInstantCarts = panel(pnlVorelaKeyboard, "pnlInstantCarts", uPanel3::PanelStyle::Plain);
    pnlInstantCarts->setGeometry(TwipsRect{60, kCartsTop, 11760, kCartsHeight}.toPixels());
    // Element 0 is the template the carts are made after; it is never shown.
    auto* cartTemplate = named(new QPushButton(pnlInstantCarts), "cmdInstantCart0");
    cartTemplate->resize(TwipsToPixels(1100), TwipsToPixels(kCartHeight));
    cartTemplate->setFocusPolicy(Qt::NoFocus);
    cartTemplate->setEnabled(false);
    cartTemplate->setVisible(false);
    cmdInstantCart.append(cartTemplate);

    buildLogPanel();

    pnlPlayers = panel(pnlVorelaKeyboard, "pnlPlayers", uPanel3::PanelStyle::Plain);
    pnlPlayers->setGeometry(TwipsRect{60, kPlayersTop, 11760, kPlayersHeight}.toPixels());
    uPlayerScroller.append(nullptr);
    cmdPlayerPlay.append(nullptr);
    pnlPlayerCaption.append(nullptr);
    cmdPlayerClose.append(nullptr);
    cmdPlayerCue.append(nullptr);
    loadPlayerColumn(1);
    connect(pnlPlayers, &uPanel3::Resized, this, [this] { pnlPlayers_Resize(); });
    connect(pnlInstantCarts, &uPanel3::Resized, this, [this] { pnlInstantCarts_Resize(); });
    // The cover lies over everything else in the panel.
    pnlNotConnected->raise();

    cmdShowVorelaKeyboard = panel(client, "cmdShowVorelaKeyboard", uPanel3::PanelStyle::Plain,
                                  QStringLiteral("Show Vorela Panel"));
    cmdShowVorelaKeyboard->resize(TwipsToPixels(12000), TwipsToPixels(315));
    cmdShowVorelaKeyboard->setVisible(false);
    // The panel shows once the layout decides it belongs; the View menu item starts unticked.
    pnlVorelaKeyboard->setVisible(false);
}

PlayoutPanel::~PlayoutPanel() = default;

void PlayoutPanel::SetLink(PlayoutLink* link) {
    link_ = link;
}

void PlayoutPanel::buildLogPanel() {
    using namespace PanelDesign;
    pnlLog = panel(pnlVorelaKeyboard, "pnlLog", uPanel3::PanelStyle::Plain);
    pnlLog->setGeometry(TwipsRect{6700, kLogTop, 5180, kLogHeight}.toPixels());
    picLogNavigation = named(new QWidget(pnlLog), "picLogNavigation");
    picLogNavigation->setGeometry(
        TwipsRect{60, kLogGroupTop, kLogNavigationWidth, kLogGroupHeight}.toPixels());
    picLogControl = named(new QWidget(pnlLog), "picLogControl");
    picLogControl->setGeometry(
        TwipsRect{3120, kLogGroupTop, kLogGoWidth, kLogGroupHeight}.toPixels());
    uLogScroller = named(new uHTMLScroller(pnlLog), "uLogScroller");
    uLogScroller->setGeometry(TwipsRect{60, kLogScrollerTop, 5060, kLogScrollerHeight}.toPixels());

    const std::map<std::string, std::tuple<uPanel3**, const char*, void (PlayoutPanel::*)()>>
        buttons = {
            {"cmdLogStandby", {&cmdLogStandby, "", &PlayoutPanel::cmdLogStandby_Click}},
            {"cmdLogPreview", {&cmdLogPreview, "Preview", &PlayoutPanel::cmdLogPreview_Click}},
            {"cmdLogPrecue", {&cmdLogPrecue, "PreCue", &PlayoutPanel::cmdLogPrecue_Click}},
            {"cmdLogGo", {&cmdLogGo, "", &PlayoutPanel::cmdLogGo_Click}},
            {"cmdLogUp", {&cmdLogUp, "Up", &PlayoutPanel::cmdLogUp_Click}},
            {"cmdLogDown", {&cmdLogDown, "Down", &PlayoutPanel::cmdLogDown_Click}},
            {"cmdLogDelete", {&cmdLogDelete, "Del", &PlayoutPanel::cmdLogDelete_Click}},
            {"cmdLogHome", {&cmdLogHome, "Home", &PlayoutPanel::cmdLogHome_Click}},
            {"cmdLogEndType", {&cmdLogEndType, "Ending", &PlayoutPanel::cmdLogEndType_Click}},
            {"cmdLogPrevHour", {&cmdLogPrevHour, "Prev Hour", &PlayoutPanel::cmdLogPrevHour_Click}},
            {"cmdLogNextHour",
             {&cmdLogNextHour, "Next Hour", &PlayoutPanel::cmdLogNextHour_Click}}};
    const std::pair<QWidget*, QList<NamedRect>> groups[] = {
        {picLogControl, LogGoGroupDesign()}, {picLogNavigation, LogNavigationGroupDesign()}};
    for (const auto& [group, design] : groups) {
        for (const NamedRect& place : design) {
            const auto& [member, caption, handler] = buttons.at(place.name);
            uPanel3* b =
                panel(group, place.name, uPanel3::PanelStyle::Button, QLatin1String(caption));
            b->setGeometry(place.rect.toPixels());
            ApplyStudioButtonLook(*b);
            // No log until the playout system says there is one.
            b->setEnabled(false);
            connect(b, &uPanel3::Click, this, [this, h = handler] { (this->*h)(); });
            *member = b;
        }
    }
    cmdLogGo->SetPicture(imgList48.ListImages(QStringLiteral("godis")), QStringLiteral("godis"));
    cmdLogStandby->SetPicture(imgList32.ListImages(QStringLiteral("powerdis")),
                              QStringLiteral("powerdis"));
}

void PlayoutPanel::AddInstantCarts() {
    for (int i = kFirstCart; i <= kLastCart; ++i) {
        if (cmdInstantCart.size() - 1 < i) {
            auto* cart = new QPushButton(QString::number(i), pnlInstantCarts);
            cart->setObjectName(QStringLiteral("cmdInstantCart%1").arg(i));
            cart->setEnabled(false);
            cart->setVisible(true);
            wireInstantCart(cart, static_cast<qint16>(i));
            cmdInstantCart.append(cart);
        }
    }
}

void PlayoutPanel::wireInstantCart(QPushButton* cart, qint16 n) {
    // A click only: a key typed in the talkback or a list never fires a cart on air.
    cart->setFocusPolicy(Qt::NoFocus);
    connect(cart, &QPushButton::clicked, this, [this, n] { cmdInstantCart_Click(n); });
}

void PlayoutPanel::pnlInstantCarts_Resize() {
    if (cmdInstantCart.size() <= kLastCart) {
        return; // the carts are not loaded yet
    }
    const QList<TwipsRect> carts =
        LayoutInstantCarts(twipsOf(pnlInstantCarts->width()), twipsOf(cmdInstantCart[1]->height()));
    for (qint16 n = kFirstCart; n <= kLastCart; ++n) {
        cmdInstantCart[n]->setGeometry(carts[n - 1].toPixels());
    }
}

void PlayoutPanel::pnlPlayers_Resize() {
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
void PlayoutPanel::loadPlayerColumn(qint16 n) {
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

void PlayoutPanel::SetNumberPlayers(qint16 NumberPlayers) {
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

void PlayoutPanel::SetPlayerButtonState(uPanel3* button, const QString& key, bool enabled) {
    if (button == nullptr) {
        return;
    }
    button->setEnabled(enabled);
    const QString picture = PlayerPictureKey(key, enabled);
    button->SetPicture(picture.isEmpty() ? QPixmap() : imgListPlayer.ListImages(picture), picture);
}

void PlayoutPanel::ShowPlayerStatus(qint16 player, qint32 status, QStringView text) {
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

void PlayoutPanel::ShowInstantCartState(qint16 cart, QStringView text) {
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

void PlayoutPanel::applyLogView(const LogDisplayView& view) {
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

void PlayoutPanel::ShowLogMode(bool automatic, bool goAllowed, std::optional<QStringView> text) {
    applyLogView(
        LogModeView(automatic, goAllowed,
                    text ? std::optional<QString>(text->toString()) : std::optional<QString>()));
}

void PlayoutPanel::ShowLogStatus(bool logLoaded) {
    applyLogView(LogStatusView(logLoaded));
}

void PlayoutPanel::ShowLogCurrentItem(QStringView text) {
    showScrollerText(uLogScroller, text);
}

void PlayoutPanel::showScrollerText(uHTMLScroller* scroller, QStringView text) {
    // The text is a view into the received line: a copy is made only when it changes what
    // the scroller shows, most lines repeating the last.
    if (QStringView(scroller->Text()) != text) {
        scroller->SetText(text.toString());
    }
}

// The link drops the line unless it is connected.
// Without a link, or unless the link is connected, the line is dropped.
void PlayoutPanel::sendStudioCommand(const QString& line) {
    if (link_) {
        link_->SendMessageToComputer(line);
    }
}
void PlayoutPanel::cmdLogGo_Click() {
    sendStudioCommand(QStringLiteral("LOG GO"));
}
void PlayoutPanel::cmdLogPrecue_Click() {
    sendStudioCommand(QStringLiteral("LOG PRECUE"));
}
void PlayoutPanel::cmdLogStandby_Click() {
    sendStudioCommand(QStringLiteral("LOG MODE TOGGLE"));
}
void PlayoutPanel::cmdLogPreview_Click() {
    sendStudioCommand(QStringLiteral("LOG ITEM PREVIEW"));
}
void PlayoutPanel::cmdLogEndType_Click() {
    sendStudioCommand(QStringLiteral("LOG TOGGLEENDING"));
}
void PlayoutPanel::cmdLogDelete_Click() {
    sendStudioCommand(QStringLiteral("LOG ITEM TOGGLEDELETE"));
}
void PlayoutPanel::cmdLogHome_Click() {
    sendStudioCommand(QStringLiteral("LOG VIEW HOME"));
}
void PlayoutPanel::cmdLogPrevHour_Click() {
    sendStudioCommand(QStringLiteral("LOG VIEW PREVHOUR"));
}
void PlayoutPanel::cmdLogNextHour_Click() {
    sendStudioCommand(QStringLiteral("LOG VIEW NEXTHOUR"));
}
void PlayoutPanel::cmdLogUp_Click() {
    sendStudioCommand(QStringLiteral("LOG VIEW SCROLLUP"));
}
void PlayoutPanel::cmdLogDown_Click() {
    sendStudioCommand(QStringLiteral("LOG VIEW SCROLLDOWN"));
}

void PlayoutPanel::cmdPlayerPlay_Click(qint16 n) {
    if (n < 1 || n >= cmdPlayerPlay.size()) {
        return;
    }
    const bool playing = ValOf(cmdPlayerPlay[n]->Tag()) != 0;
    sendStudioCommand((playing ? QStringLiteral("PLAYER PAUSE ") : QStringLiteral("PLAYER PLAY ")) +
                      QString::number(n));
}

void PlayoutPanel::cmdPlayerCue_Click(qint16 n) {
    sendStudioCommand(QStringLiteral("PLAYER CUE ") + QString::number(n));
}

void PlayoutPanel::cmdPlayerClose_Click(qint16 n) {
    sendStudioCommand(QStringLiteral("PLAYER CLOSE ") + QString::number(n));
}

void PlayoutPanel::cmdInstantCart_Click(qint16 n) {
    const bool newWords = link_ && link_->PlayoutVersion() >= 5;
    sendStudioCommand(
        (newWords ? QStringLiteral("IC PLAY ") : QStringLiteral("INSTANTCART PLAY ")) +
        QString::number(n));
}
