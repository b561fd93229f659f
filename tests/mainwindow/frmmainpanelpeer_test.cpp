// The main window's keyboard panel driven by the playout test peer over 127.0.0.1: what the
// peer says shows on the panel, and what the presenter presses reaches the peer.

#include "mainwindowfixture.h"

#include "platform/ui/uhtmlscroller.h"
#include "platform/ui/upanel3.h"
#include "support/playoutpeerprocess.h"
#include "support/waitfor.h"

#include <QAction>
#include <QLabel>
#include <QTest>

namespace {
using playoutpeer::Peer;

class MainWindowPanelPeer : public MainWindowFixture {
protected:
    void startWith(const QString& greeting = "+CONNECTED AppName=VORELA3 Version=3.5.0",
                   int players = 4) {
        peer = std::make_unique<Peer>(greeting, players);
        ASSERT_TRUE(peer->Started());
        playoutPort = peer->Port();
        seedProfile(true);
        addUser(QStringLiteral("admin"));
        ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
        frmMain& w = *window;
        if (!w.mnuViewVorelaKeyboard->isChecked()) {
            w.mnuViewVorelaKeyboard->trigger();
        }
        w.resize(1280, 800);
        w.show();
        ASSERT_TRUE(WaitFor([&] { return w.Link()->State() == PlayoutLink::LinkState::Up; }));
        ASSERT_TRUE(WaitFor([&] { return w.playoutPanel->cmdInstantCart[1]->isEnabled(); }, 10000));
    }
    bool peerReceived(const QString& line) { return peer->WaitFor("RECEIVED " + line); }
    int countReceived(const QString& line) const {
        return static_cast<int>(peer->Received().count(line));
    }
    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

    std::unique_ptr<Peer> peer;
};

TEST_F(MainWindowPanelPeer, TheHandshakeFillsThePanelAndTheButtonsFollowTheAnswers) {
    ASSERT_NO_FATAL_FAILURE(startWith());
    frmMain& w = *window;
    ASSERT_TRUE(WaitFor(
        [&] { return w.playoutPanel->uLogScroller->Text() == QLatin1String("Tune-The Band"); }));
    EXPECT_EQ(w.playoutPanel->NumberPlayers(), 4);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_FALSE(w.playoutPanel->pnlPlayerCaption[n]->isHidden()) << n;
        EXPECT_EQ(w.playoutPanel->uPlayerScroller[n]->Text(), QStringLiteral("Track %1").arg(n));
        EXPECT_EQ(w.playoutPanel->cmdPlayerPlay[n]->PictureKey(), QStringLiteral("playwhite"));
    }
    EXPECT_TRUE(w.playoutPanel->cmdInstantCart[1]->isEnabled());
    EXPECT_FALSE(w.playoutPanel->cmdInstantCart[2]->isEnabled());
    EXPECT_TRUE(w.playoutPanel->pnlNotConnected->isHidden());

    click(w.playoutPanel->cmdPlayerPlay[2]);
    ASSERT_TRUE(peerReceived("PLAYER PLAY 2"));
    ASSERT_TRUE(
        WaitFor([&] { return w.playoutPanel->cmdPlayerPlay[2]->PictureKey() == "pausewhite"; }));
    EXPECT_EQ(w.playoutPanel->cmdPlayerPlay[2]->Tag(), QStringLiteral("1"));
    click(w.playoutPanel->cmdPlayerPlay[2]);
    ASSERT_TRUE(peerReceived("PLAYER PAUSE 2"));
    ASSERT_TRUE(
        WaitFor([&] { return w.playoutPanel->cmdPlayerPlay[2]->PictureKey() == "playwhite"; }));

    EXPECT_EQ(w.playoutPanel->cmdLogStandby->PictureKey(), QStringLiteral("powergreen"));
    click(w.playoutPanel->cmdLogStandby);
    ASSERT_TRUE(peerReceived("LOG MODE TOGGLE"));
    EXPECT_TRUE(WaitFor([&] { return w.playoutPanel->cmdLogStandby->PictureKey() == "powerred"; }));

    click(w.playoutPanel->cmdInstantCart[1]);
    EXPECT_TRUE(peerReceived("IC PLAY 1"));
}

TEST_F(MainWindowPanelPeer, AnOlderPlayoutSystemHearsTheLongCartWords) {
    ASSERT_NO_FATAL_FAILURE(startWith("+CONNECTED AppName=VORELA3 Version=3.4.9"));
    click(window->playoutPanel->cmdInstantCart[1]);
    EXPECT_TRUE(peerReceived("INSTANTCART PLAY 1"));
}

TEST_F(MainWindowPanelPeer, APlayerCountFromThePeerShowsThatManyColumns) {
    ASSERT_NO_FATAL_FAILURE(startWith("+CONNECTED AppName=VORELA3 Version=3.5.0", 12));
    frmMain& w = *window;
    EXPECT_EQ(w.playoutPanel->NumberPlayers(), 12);
    peer->Command("send SET NUMBERPLAYERS 3\\r\\n");
    ASSERT_TRUE(WaitFor([&] { return w.playoutPanel->NumberPlayers() == 3; }));
    // The columns shown follow the count in the same turn.
    EXPECT_TRUE(WaitFor([&] { return w.playoutPanel->pnlPlayerCaption[4]->isHidden(); }));
    peer->Command("send SET NUMBERPLAYERS 12\\r\\n");
    ASSERT_TRUE(WaitFor([&] { return w.playoutPanel->NumberPlayers() == 12; }));
    ASSERT_TRUE(WaitFor([&] { return !w.playoutPanel->pnlPlayerCaption[12]->isHidden(); }));
    for (int n = 1; n <= 12; ++n) {
        EXPECT_FALSE(w.playoutPanel->pnlPlayerCaption[n]->isHidden()) << n;
        EXPECT_GT(w.playoutPanel->pnlPlayerCaption[n]->width(), 0) << n;
    }
}

TEST_F(MainWindowPanelPeer, ThePeerClosingShowsTheCoverUntilTheClientIsBack) {
    ASSERT_NO_FATAL_FAILURE(startWith());
    frmMain& w = *window;
    PlayoutLink& link = *w.Link();
    link.SetRetryPauses(300, 300);
    peer->Command("refuse 1000");
    ASSERT_TRUE(WaitFor([&] { return link.State() != PlayoutLink::LinkState::Up; }));
    EXPECT_FALSE(w.playoutPanel->pnlNotConnected->isHidden());

    // Unticked and ticked again while the link is down: the cover comes back with the panel.
    w.mnuViewVorelaKeyboard->trigger();
    EXPECT_TRUE(w.playoutPanel->pnlNotConnected->isHidden());
    w.mnuViewVorelaKeyboard->trigger();
    EXPECT_FALSE(w.playoutPanel->pnlNotConnected->isHidden());

    ASSERT_TRUE(WaitFor([&] { return link.State() == PlayoutLink::LinkState::Up; }, 10000));
    EXPECT_TRUE(w.playoutPanel->pnlNotConnected->isHidden());
}
} // namespace
