// The main window's keyboard panel driven by the playout test peer over 127.0.0.1: what the
// peer says shows on the panel, and what the presenter presses reaches the peer.

#include "mainwindowfixture.h"

#include "platform/directory/controls/uwebsite.h"
#include "platform/directory/directorywebsite.h"
#include "platform/ui/uhtmlscroller.h"
#include "platform/ui/upanel3.h"
#include "platform/ui/usplitpanel.h"
#include "platform/web/websiteview.h"
#include "playout/link/lineframer.h"
#include "support/localhttpserver.h"
#include "support/playoutpeerprocess.h"
#include "support/waitfor.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

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
// The playout system names a page: the Web pane comes forward with it, as a click on the tab
// would bring it, but the presenter's own tab stays the one stored. Only web pages load.
TEST_F(MainWindowPanelPeer, AWebsiteLineShowsItsPageOnTheWebPaneAndKeepsThePresentersTab) {
    LocalHttpServer server;
    server.Add("/x", {"text/html; charset=utf-8",
                      "<html><head><title>Sent</title></head><body>sent</body></html>",
                      {}});
    ASSERT_NO_FATAL_FAILURE(startWith());
    frmMain& w = *window;
    auto earlier = std::make_shared<DirectoryWebsite>();
    earlier->SetTitle(QStringLiteral("Earlier Site"));
    earlier->SetAddress(QStringLiteral("https://earlier.example/"));
    w.ctlWebsite->SetWebsite(earlier);
    const auto onlyTheWebPane = [&] {
        return !w.splitWebsites->isHidden() && w.splitScripts->isHidden() &&
               w.splitContacts->isHidden() && w.splitPrize->isHidden() &&
               w.splitMessages->isHidden() && w.optWeb->Value() == 1 && w.optScripts->Value() == 0;
    };

    // Refused addresses, and none: the tab comes forward, nothing is loaded or cleared.
    for (const char* line :
         {"WEBSITE file:///etc/passwd", "WEBSITE javascript:alert(1)", "WEBSITE"}) {
        SCOPED_TRACE(line);
        w.ShowTab(MainTab::Scripts);
        ASSERT_EQ(userSetting(QStringLiteral("SelectedTab")), QStringLiteral("SCRIPTS"));
        peer->Command(QStringLiteral("send %1\\r\\n").arg(QLatin1String(line)));
        EXPECT_TRUE(WaitFor(onlyTheWebPane));
        EXPECT_EQ(w.ctlWebsite->WebView(), nullptr) << "no page was made to load it";
        EXPECT_EQ(w.ctlWebsite->lblCaption()->text(), QStringLiteral("Earlier Site"));
        EXPECT_EQ(userSetting(QStringLiteral("SelectedTab")), QStringLiteral("SCRIPTS"));
    }
    EXPECT_TRUE(server.Requested().isEmpty());

    w.ShowTab(MainTab::Scripts);
    peer->Command("send WEBSITE " + server.Url("/x") + "\\r\\n");
    ASSERT_TRUE(WaitFor([&] { return server.Requested().contains("/x"); }, 15000));
    ASSERT_TRUE(WaitFor([&] {
        return w.ctlWebsite->WebView() != nullptr &&
               w.ctlWebsite->WebView()->Url() == QUrl(server.Url("/x"));
    }));
    EXPECT_TRUE(onlyTheWebPane());
    EXPECT_EQ(userSetting(QStringLiteral("SelectedTab")), QStringLiteral("SCRIPTS"));
    EXPECT_EQ(w.ctlWebsite->lblCaption()->text(), QString()) << "the earlier site's caption";
    EXPECT_EQ(w.ctlWebsite->lblAddress()->text(), QString());
    EXPECT_EQ(w.ctlWebsite->txtAddress()->text(), server.Url("/x"));
}
// The peer floods at full speed, with player counts and then with player statuses. A press,
// posted as the mouse's press and release would come, still reaches it at once: the window
// takes its input between the turns the flood is handled in.
TEST_F(MainWindowPanelPeer, PressesPostedDuringAFloodEachReachThePeerAtOnce) {
    ASSERT_NO_FATAL_FAILURE(startWith("+CONNECTED AppName=VORELA3 Version=3.5.0", 12));
    frmMain& w = *window;
    if (!w.mnuViewLogNavigation->isChecked()) {
        w.mnuViewLogNavigation->trigger();
    }
    PlayoutLink& link = *w.Link();
    uPanel3* up = w.playoutPanel->cmdLogUp;
    ASSERT_TRUE(WaitFor([&] { return up->isVisible() && up->isEnabled(); }));
    const auto post = [up](QEvent::Type type) {
        const QPointF at(up->width() / 2.0, up->height() / 2.0);
        QApplication::postEvent(
            up, new QMouseEvent(type, at, up->mapToGlobal(at), Qt::LeftButton,
                                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                Qt::NoModifier));
    };
    const struct {
        const char* name;
        const char* flood;
    } floods[] = {
        {"counts", "SET NUMBERPLAYERS 3\\r\\nSET NUMBERPLAYERS 12\\r\\n"},
        {"statuses", "SET PLAYER STATUS,1,9,Flood\\r\\nSET PLAYER STATUS,2,5,Flood\\r\\n"},
    };
    const QString report = QStringLiteral("RECEIVED LOG VIEW SCROLLUP");
    for (const auto& f : floods) {
        SCOPED_TRACE(f.name);
        const int stops = peer->Count(QStringLiteral("DONE stop"));
        const int earlier = peer->Count(report);
        peer->Command(QStringLiteral("flood ") + QLatin1String(f.flood));
        const quint64 before = link.LinesHandled();
        ASSERT_TRUE(WaitFor([&] { return link.LinesHandled() - before > 20000; }, 20000));

        QList<qint64> postedAt;
        QTimer presses;
        QObject::connect(&presses, &QTimer::timeout, [&] {
            post(QEvent::MouseButtonPress);
            post(QEvent::MouseButtonRelease);
            postedAt << Peer::Now();
            if (postedAt.size() == 10) {
                presses.stop();
            }
        });
        presses.start(100);
        ASSERT_TRUE(WaitFor([&] { return peer->Count(report) == earlier + 10; }, 30000))
            << peer->Count(report) - earlier << " of the presses reached the peer";
        EXPECT_GT(link.LinesHandled() - before, 40000U) << "the flood went on meanwhile";
        const QList<qint64> reached = peer->TimesOf(report).mid(earlier);
        for (qsizetype i = 0; i < postedAt.size(); ++i) {
            EXPECT_LT(reached.at(i) - postedAt.at(i), 300) << "press " << i + 1;
        }
        peer->Command(QStringLiteral("stop"));
        ASSERT_TRUE(WaitFor([&] { return peer->Count(QStringLiteral("DONE stop")) > stops; }));
        ASSERT_TRUE(WaitFor([&] { return !link.LinesWaiting(); }, 30000));
    }
    EXPECT_EQ(link.State(), PlayoutLink::LinkState::Up);
}
} // namespace
