// The link against the playout test peer over 127.0.0.1: the real socket, the real framing,
// the real pauses. Where a test shows that no attempt follows, the link's pauses run on the
// test's own clock instead.

#include "playoutdoubles.h"
#include "support/waitfor.h"

#include "core/program.h"
#include "platform/net/tcpsocketcontrol.h"
#include "playout/link/playoutlink.h"
#include "playout/link/playoutprotocol.h"
#include "support/playoutpeerprocess.h"
#include "support/scriptedmessageboxes.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

namespace {
using playoutpeer::freePort;
using playoutpeer::Peer;

class PlayoutPeerTest : public ::testing::Test {
protected:
    void Start(const QString& greeting = "+CONNECTED AppName=VORELA3 Version=3.5.0") {
        peer = std::make_unique<Peer>(greeting);
        ASSERT_TRUE(peer->Started());
        window.Settings()->SetVorelaComputerName("127.0.0.1");
        link = window.MakeLink();
        link->SetPorts(peer->Port(), peer->Port());
    }
    // The same, with the link's pauses on the test's clock.
    void
    StartOnTheTestsClock(const QString& greeting = "+CONNECTED AppName=VORELA3 Version=3.5.0") {
        peer = std::make_unique<Peer>(greeting);
        ASSERT_TRUE(peer->Started());
        window.Settings()->SetVorelaComputerName("127.0.0.1");
        auto t = std::make_unique<ManualRetryTimer>();
        clock = t.get();
        link = window.MakeLink(nullptr, std::move(t));
        link->SetPorts(peer->Port(), peer->Port());
    }
    void ConnectAndWaitUp() {
        link->SetbLinkWanted(true);
        link->ConnectToVorela();
        ASSERT_TRUE(::WaitFor([&] { return link->State() == PlayoutLink::LinkState::Up; }));
        ASSERT_TRUE(peer->WaitFor("RECEIVED GET IC CURRENTITEM,0"));
        ASSERT_TRUE(
            ::WaitFor([&] { return window.Calls().contains("ShowInstantCartState(2,\"\")"); }));
        window.TakeCalls();
    }
    bool WindowSaw(const QString& call, int timeoutMs = 5000) {
        return ::WaitFor([&] { return window.Calls().contains(call); }, timeoutMs);
    }

    RecordingPlayoutWindow window;
    ManualRetryTimer* clock = nullptr;
    std::unique_ptr<Peer> peer;
    std::unique_ptr<PlayoutLink> link;
};
} // namespace

TEST_F(PlayoutPeerTest, ConnectsShakesHandsAsksForTheStateAndShowsTheAnswers) {
    Start();
    link->SetbLinkWanted(true);
    link->ConnectToVorela();
    ASSERT_TRUE(peer->WaitFor("RECEIVED GET IC CURRENTITEM,0"));
    EXPECT_EQ(peer->Received(),
              QStringList({PlayoutProtocol::HandshakeAnswer().toLatin1().replace("\\", "\\\\"),
                           "REQUEST PLAYEREVENTS START", "GET NUMBERPLAYERS", "GET LOG STATUS",
                           "GET LOG MODE", "REQUEST LOGITEMS 2", "GET PLAYER STATUS,0",
                           "GET IC CURRENTITEM,0"}));
    ASSERT_TRUE(WindowSaw("ShowInstantCartState(2,\"\")"));
    EXPECT_EQ(link->PlayoutVersion(), 5.0F);
    const QStringList expected = {"SetNumberPlayers(4)",
                                  "ShowLogStatus(1)",
                                  "ShowLogMode(1,1,\"Automation\")",
                                  "ShowLogCurrentItem(\"Tune-The Band\")",
                                  "ShowPlayerStatus(1,9,\"Track 1\")",
                                  "ShowPlayerStatus(2,9,\"Track 2\")",
                                  "ShowPlayerStatus(3,9,\"Track 3\")",
                                  "ShowPlayerStatus(4,9,\"Track 4\")",
                                  "ShowInstantCartState(1,\"Jingle\")",
                                  "ShowInstantCartState(2,\"\")"};
    EXPECT_EQ(window.TakeCalls(), expected);
    EXPECT_TRUE(link->bLinkWanted());
    EXPECT_FALSE(window.mnuConnectEnabled_);
    EXPECT_TRUE(window.mnuDisconnectEnabled_);
    EXPECT_FALSE(window.notConnectedShown_);
}

TEST_F(PlayoutPeerTest, SendsACommandAndShowsWhatComesBack) {
    Start();
    ConnectAndWaitUp();
    link->SendMessageToComputer("PLAYER PLAY 2");
    ASSERT_TRUE(peer->WaitFor("RECEIVED PLAYER PLAY 2"));
    EXPECT_TRUE(WindowSaw("ShowPlayerStatus(2,5,\"Track 2\")"));
}

TEST_F(PlayoutPeerTest, FramesRawBytesWithAnyLineEndsAndSplits) {
    Start();
    ConnectAndWaitUp();
    peer->Command("send SET PLAYER STA");
    ASSERT_TRUE(peer->WaitFor("SENT"));
    peer->Command("send TUS,1,9,Caf\\xe9\\r");
    peer->Command("send \\nSET LOG STATUS,\\n\\rSET LOG MODE,0,0\\r\\n");
    ASSERT_TRUE(WindowSaw("ShowLogMode(0,0,-)"));
    EXPECT_EQ(window.TakeCalls(), QStringList({QString::fromUtf8("ShowPlayerStatus(1,9,\"Café\")"),
                                               "ShowLogStatus(0)", "ShowLogMode(0,0,-)"}));
}

TEST_F(PlayoutPeerTest, ComesBackWithinTheFirstPauseAfterThePeerCloses) {
    for (const QString how : {"close", "reset"}) {
        SCOPED_TRACE(how.toStdString());
        Start();
        ConnectAndWaitUp();
        peer->Command(how);
        ASSERT_TRUE(peer->WaitFor("DONE " + how));
        const qint64 closedAt = peer->TimeOf("DONE " + how);
        ASSERT_TRUE(peer->WaitFor("CONNECTION 2", 4000));
        const qint64 back = peer->TimeOf("CONNECTION 2") - closedAt;
        EXPECT_GE(back, 800);
        EXPECT_LE(back, 2500);
        EXPECT_TRUE(::WaitFor([&] { return link->State() == PlayoutLink::LinkState::Up; }));
        EXPECT_TRUE(TestMessageBoxes().shown().empty());
        link.reset();
        peer.reset();
    }
}

TEST_F(PlayoutPeerTest, PacesItsAttemptsWhileThePeerRefuses) {
    Start();
    ConnectAndWaitUp();
    const quint64 attemptsBefore = link->ConnectAttempts();
    // Closed, then nothing listens for 2.5 s: attempts at about 1 s (the first pause after a
    // close), 2 s (refused, 1 s) and 4 s (refused, 2 s), which the peer takes.
    peer->Command("refuse 2500");
    ASSERT_TRUE(peer->WaitFor("REFUSING"));
    const qint64 refusedAt = peer->TimeOf("REFUSING");
    ASSERT_TRUE(peer->WaitFor("CONNECTION 2", 8000));
    const qint64 back = peer->TimeOf("CONNECTION 2") - refusedAt;
    EXPECT_GE(back, 3500);
    EXPECT_LE(back, 5500);
    EXPECT_EQ(link->ConnectAttempts() - attemptsBefore, 3U);
    EXPECT_EQ(peer->Connections(), 2);
    EXPECT_TRUE(::WaitFor([&] { return link->State() == PlayoutLink::LinkState::Up; }));
    EXPECT_TRUE(TestMessageBoxes().shown().empty()) << "refusals are silent";
}

TEST_F(PlayoutPeerTest, DisconnectStopsTheRetries) {
    StartOnTheTestsClock();
    ConnectAndWaitUp();
    peer->Command("refuse 1200");
    ASSERT_TRUE(::WaitFor([&] { return link->State() == PlayoutLink::LinkState::WaitingToRetry; }));
    // The Disconnect menu.
    link->SetbLinkWanted(false);
    link->DisconnectFromVorela();
    const quint64 attempts = link->ConnectAttempts();
    ASSERT_TRUE(peer->WaitFor("ACCEPTING"));
    // Past every pause there is: an attempt would be made by now, and none is.
    clock->Elapse(PlayoutLink::kLongestRetryPauseMs);
    EXPECT_EQ(link->ConnectAttempts(), attempts);
    EXPECT_FALSE(peer->Connections() > 1);
    EXPECT_EQ(link->State(), PlayoutLink::LinkState::Down);
}

TEST_F(PlayoutPeerTest, TheNetworkServerSwitchChoosesItsPortAndLeavesOutTheLogItems) {
    Start("+CONNECTED AppName=VORELANET3 Version=3.0.0");
    link->SetPorts(freePort(), peer->Port());
    Program::Instance().SetOptions(StartupOptions::Parse("/PROFILE=A /VORELANET "));
    link->SetbLinkWanted(true);
    link->ConnectToVorela();
    ASSERT_TRUE(peer->WaitFor("RECEIVED GET INSTANTCART STATUS,0"));
    EXPECT_FALSE(peer->Received().contains("REQUEST LOGITEMS 2"));
    EXPECT_TRUE(WindowSaw("ShowInstantCartState(1,\"Jingle\")"));
}

TEST_F(PlayoutPeerTest, AnIncompatibleSystemIsRejectedAndNotRetried) {
    StartOnTheTestsClock("+CONNECTED AppName=VORELA3 Version=3.0.1");
    link->SetbLinkWanted(true);
    link->ConnectToVorela();
    ASSERT_TRUE(::WaitFor([&] { return !TestMessageBoxes().shown().empty(); }));
    EXPECT_FALSE(link->bLinkWanted());
    EXPECT_EQ(link->State(), PlayoutLink::LinkState::Down);
    ASSERT_TRUE(peer->WaitFor("DISCONNECTED"));
    // Past every pause there is: an attempt would be made by now, and none is.
    clock->Elapse(PlayoutLink::kLongestRetryPauseMs);
    EXPECT_EQ(link->ConnectAttempts(), 1U);
    EXPECT_FALSE(peer->Connections() > 1);
    EXPECT_EQ(peer->Received(), QStringList());
}

TEST_F(PlayoutPeerTest, AHundredRejectedGreetingsInOneWriteShowOneBox) {
    StartOnTheTestsClock(QString());
    QString greetings;
    for (int i = 1; i <= 100; ++i) {
        greetings += QStringLiteral("+CONNECTED AppName=Bad%1\\r\\n").arg(i);
    }
    link->SetbLinkWanted(true);
    link->ConnectToVorela();
    ASSERT_TRUE(peer->WaitFor("CONNECTION 1"));
    ASSERT_TRUE(::WaitFor([&] { return link->State() == PlayoutLink::LinkState::Handshaking; }));
    peer->Command("send " + greetings);
    ASSERT_TRUE(::WaitFor([&] { return !TestMessageBoxes().shown().empty(); }));
    ASSERT_TRUE(peer->WaitFor("DISCONNECTED"));
    // Whatever of the write is still on its way has time to be handled.
    QTest::qWait(200);
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_EQ(TestMessageBoxes().shown().front().text,
              "The application running on the computer you have connected to (AppName=Bad1) is "
              "not compatible with this version of Kestova Orlix (v" +
                  PlayoutProtocol::ProgramVersionText() + ")");
    EXPECT_EQ(link->State(), PlayoutLink::LinkState::Down);
    EXPECT_FALSE(link->bLinkWanted());
    EXPECT_EQ(peer->Received(), QStringList()) << "a rejected system is answered nothing";

    // Asked for again, the next rejection is told again.
    link->SetbLinkWanted(true);
    link->ConnectToVorela();
    ASSERT_TRUE(peer->WaitFor("CONNECTION 2"));
    ASSERT_TRUE(::WaitFor([&] { return link->State() == PlayoutLink::LinkState::Handshaking; }));
    peer->Command("send +CONNECTED AppName=Bad101\\r\\n");
    ASSERT_TRUE(::WaitFor([&] { return TestMessageBoxes().shown().size() == 2U; }));
    EXPECT_TRUE(TestMessageBoxes().shown().back().text.contains("(AppName=Bad101)"));
}
