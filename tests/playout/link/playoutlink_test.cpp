// The link's connection rules on a fake socket and the test's own clock: menus and cover,
// ports, sending, framing on the socket, the error and close roads and the paced retries.

#include "playoutdoubles.h"

#include "core/debuglog.h"
#include "core/program.h"
#include "platform/net/socketerrors.h"
#include "platform/system/appinfo.h"
#include "platform/system/appservices.h"
#include "playout/link/lineframer.h"
#include "playout/link/playoutlink.h"
#include "support/scriptedmessageboxes.h"
#include "support/waitfor.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <stdexcept>

#include <gtest/gtest.h>

namespace {
class PlayoutLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto s = std::make_unique<FakeSocketControl>();
        socket = s.get();
        auto t = std::make_unique<ManualRetryTimer>();
        clock = t.get();
        link = window.MakeLink(std::move(s), std::move(t));
        link->SetTurnBudgetNs(RecordingPlayoutWindow::kUnsplitTurnNs);
    }

    void ConnectWanted() {
        link->SetbLinkWanted(true);
        link->ConnectToVorela();
        window.TakeCalls();
    }
    void ExpectShownDown() {
        EXPECT_TRUE(window.mnuConnectEnabled_);
        EXPECT_FALSE(window.mnuDisconnectEnabled_);
        EXPECT_TRUE(window.notConnectedShown_);
    }
    // Wanted and waiting for its next attempt: shown as still connecting, the cover kept.
    void ExpectShownRetrying() {
        EXPECT_FALSE(window.mnuConnectEnabled_);
        EXPECT_TRUE(window.mnuDisconnectEnabled_);
        EXPECT_TRUE(window.notConnectedShown_);
    }

    RecordingPlayoutWindow window;
    FakeSocketControl* socket = nullptr;
    ManualRetryTimer* clock = nullptr;
    std::unique_ptr<PlayoutLink> link;
};
} // namespace

TEST_F(PlayoutLinkTest, DoesNothingBeforeSettingsAreLoaded) {
    window.DropSettings();
    ConnectWanted();
    EXPECT_EQ(socket->connects_, 0);
    EXPECT_EQ(link->State(), PlayoutLink::LinkState::Down);
}

TEST_F(PlayoutLinkTest, ConnectsToTheConfiguredComputerOnThePortTheCommandLineChooses) {
    struct Case {
        QString commandLine;
        quint16 port;
    };
    const QList<Case> cases = {{"", 6950},
                               {"/NOPREVCHECK ", 6950},
                               {"/PROFILE=STUDIO /VORELANET ", 6951},
                               {"/VORELANETWORK ", 6951}};
    for (const Case& c : cases) {
        Program::Instance().SetOptions(StartupOptions::Parse(c.commandLine));
        ConnectWanted();
        EXPECT_EQ(socket->host_, "studio-playout");
        EXPECT_EQ(socket->port_, c.port) << c.commandLine.toStdString();
    }
    link->SetPorts(7001, 7002);
    Program::Instance().SetOptions(StartupOptions::Parse("/VORELANET "));
    link->ConnectToVorela();
    EXPECT_EQ(socket->port_, 7002);
}

TEST_F(PlayoutLinkTest, ShowsTheLinkStateOnTheMenusAndTheCover) {
    ConnectWanted();
    EXPECT_FALSE(window.mnuConnectEnabled_);
    EXPECT_TRUE(window.mnuDisconnectEnabled_);
    EXPECT_TRUE(window.notConnectedShown_);
    EXPECT_EQ(link->State(), PlayoutLink::LinkState::Connecting);

    socket->Accept();
    EXPECT_FALSE(window.mnuConnectEnabled_);
    EXPECT_TRUE(window.mnuDisconnectEnabled_);
    EXPECT_FALSE(window.notConnectedShown_);
    EXPECT_EQ(link->State(), PlayoutLink::LinkState::Handshaking);
    EXPECT_EQ(socket->TakeSentLines(), QStringList()) << "the playout side speaks first";

    link->DisconnectFromVorela();
    EXPECT_EQ(socket->State(), SocketControl::StateClosed);
    ExpectShownDown();
    EXPECT_TRUE(link->bLinkWanted()) << "disconnecting leaves the wish alone";

    // With the keyboard panel not shown, the cover is left as it is.
    window.keyboardTicked_ = false;
    link->ConnectToVorela();
    socket->Accept();
    link->DisconnectFromVorela();
    EXPECT_FALSE(window.notConnectedShown_);

    // A disconnect shows the link as down again even when it was down already: the panel
    // ticked since, the cover comes over it.
    window.keyboardTicked_ = true;
    link->DisconnectFromVorela();
    EXPECT_TRUE(window.notConnectedShown_);
}

TEST_F(PlayoutLinkTest, SendsOnlyWhileConnected) {
    link->SendMessageToComputer("LOG GO");
    ConnectWanted();
    link->SendMessageToComputer("LOG GO");
    EXPECT_EQ(socket->SentBytes(), QByteArray()) << "nothing is sent while connecting";
    socket->Accept();
    link->SendMessageToComputer("PLAYER CUE 12");
    EXPECT_EQ(socket->SentBytes(), QByteArray("PLAYER CUE 12\r\n"));
}

TEST_F(PlayoutLinkTest, HandsLinesToTheParserAsTheyAreFramed) {
    ConnectWanted();
    socket->Accept();
    socket->Say("SET PLAYER STA");
    EXPECT_EQ(window.TakeCalls(), QStringList());
    socket->Say("TUS,1,5,Tune\r");
    EXPECT_EQ(window.TakeCalls(), QStringList{"ShowPlayerStatus(1,5,\"Tune\")"});
    socket->Say("\nSET LOG STATUS,x\n\rSET LOG STATUS,\r");
    EXPECT_EQ(window.TakeCalls(), QStringList({"ShowLogStatus(1)", "ShowLogStatus(0)"}));
}

TEST_F(PlayoutLinkTest, ReadsNothingUnlessConnected) {
    ConnectWanted();
    socket->Say("SET LOG STATUS,x\r\n");
    EXPECT_EQ(window.TakeCalls(), QStringList());
}

TEST_F(PlayoutLinkTest, APartialLineOfADroppedConnectionDoesNotReachTheNextOne) {
    ConnectWanted();
    socket->Accept();
    socket->Say("SET LOG STAT");
    socket->PeerCloses();
    link->ConnectToVorela();
    socket->Accept();
    socket->Say("+CONNECTED AppName=VORELA3 Version=3.0.9\r\n");
    EXPECT_EQ(link->State(), PlayoutLink::LinkState::Up);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST_F(PlayoutLinkTest, DropsAnOverlongLineAndKeepsTheNextOne) {
    ConnectWanted();
    socket->Accept();
    const QByteArray big(2 * 1024 * 1024, 'S');
    for (qsizetype at = 0; at < big.size(); at += 100000) {
        socket->Say(big.mid(at, 100000));
    }
    socket->Say("\r\nSET LOG STATUS,x\r\n");
    EXPECT_EQ(window.TakeCalls(), QStringList{"ShowLogStatus(1)"});
}

TEST_F(PlayoutLinkTest, AFloodInOneChunkIsHandledInTurnsOnceEachAndInOrder) {
    link->SetTurnBudgetNs(PlayoutLink::kTurnBudgetNs);
    ConnectWanted();
    socket->Accept();
    constexpr int kLines = 200000;
    QByteArray chunk;
    for (int i = 0; i < kLines; ++i) {
        chunk += "SET PLAYER STATUS,1,9," + QByteArray::number(i) + "\r\n";
    }
    quint64 handledWhenTheTimerFired = 0;
    bool fired = false;
    // Started before the chunk: it fires at the first turn the link leaves to others.
    QTimer::singleShot(0, [&] {
        handledWhenTheTimerFired = link->LinesHandled();
        fired = true;
    });
    const quint64 before = link->LinesHandled();
    socket->Say(chunk);
    ASSERT_TRUE(WaitFor([&] { return link->LinesHandled() - before == kLines; }, 60000));
    ASSERT_TRUE(fired);
    EXPECT_LT(handledWhenTheTimerFired - before, quint64(kLines))
        << "the timer waited for the whole flood";
    EXPECT_FALSE(link->LinesWaiting());
    const QStringList calls = window.TakeCalls();
    ASSERT_EQ(calls.size(), kLines);
    for (int i = 0; i < kLines; ++i) {
        if (calls[i] != QStringLiteral("ShowPlayerStatus(1,9,\"%1\")").arg(i)) {
            ADD_FAILURE() << "line " << i << " came as " << calls[i].toStdString();
            break;
        }
    }
}

TEST_F(PlayoutLinkTest, ListedErrorsAreSilentShowTheLinkDownAndRetryAfterAPause) {
    const int listed[] = {
        SocketErrorNumber::ConnectionRefused, SocketErrorNumber::ConnectionAborted,
        SocketErrorNumber::ConnectionReset,   SocketErrorNumber::TimedOut,
        SocketErrorNumber::HostNotFound,      SocketErrorNumber::TryAgain};
    for (const int number : listed) {
        ConnectWanted();
        const int connects = socket->connects_;
        socket->Fail(number, "whatever");
        EXPECT_EQ(socket->State(), SocketControl::StateClosed) << number;
        ExpectShownRetrying();
        EXPECT_EQ(link->State(), PlayoutLink::LinkState::WaitingToRetry) << number;
        EXPECT_EQ(link->PendingRetryMs(), 1000) << number;
        EXPECT_EQ(socket->connects_, connects) << "no attempt at once";
    }
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST_F(PlayoutLinkTest, PausesDoubleUpToTheLongestAndAnOpenedConnectionResetsThem) {
    link->SetRetryPauses(10, 80);
    ConnectWanted();
    QList<int> pauses;
    for (int i = 0; i < 6; ++i) {
        const int connects = socket->connects_;
        socket->Fail(SocketErrorNumber::ConnectionRefused);
        pauses << link->PendingRetryMs();
        clock->Elapse(pauses.back() - 1);
        EXPECT_EQ(socket->connects_, connects) << "not before the pause is over";
        clock->Elapse(1);
        ASSERT_EQ(socket->connects_, connects + 1);
        EXPECT_EQ(link->State(), PlayoutLink::LinkState::Connecting);
    }
    EXPECT_EQ(pauses, QList<int>({10, 20, 40, 80, 80, 80}));

    socket->Accept();
    socket->Fail(SocketErrorNumber::ConnectionReset);
    EXPECT_EQ(link->PendingRetryMs(), 10);
}

TEST_F(PlayoutLinkTest, APeerCloseShowsTheLinkDownAndReconnectsAfterTheFirstPause) {
    link->SetRetryPauses(30, 300);
    ConnectWanted();
    socket->Fail(SocketErrorNumber::ConnectionRefused);
    clock->Elapse(30);
    ASSERT_EQ(socket->connects_, 2);
    socket->Accept();
    socket->PeerCloses();
    ExpectShownRetrying();
    EXPECT_EQ(socket->State(), SocketControl::StateClosed);
    EXPECT_EQ(link->PendingRetryMs(), 30);
    clock->Elapse(29);
    EXPECT_EQ(socket->connects_, 2) << "not before the first pause is over";
    clock->Elapse(1);
    EXPECT_EQ(socket->connects_, 3);
}

TEST_F(PlayoutLinkTest, NothingIsRetriedWhileTheLinkIsNotWanted) {
    link->SetRetryPauses(10, 10);
    link->ConnectToVorela();
    socket->Fail(SocketErrorNumber::ConnectionRefused);
    ExpectShownDown();
    EXPECT_EQ(link->State(), PlayoutLink::LinkState::Down);
    EXPECT_EQ(link->PendingRetryMs(), -1);

    link->ConnectToVorela();
    socket->Accept();
    socket->PeerCloses();
    EXPECT_EQ(link->PendingRetryMs(), -1);
    clock->Elapse(100);
    EXPECT_FALSE(socket->connects_ > 2);
}

TEST_F(PlayoutLinkTest, DisconnectCallsOffADueRetryAndOurOwnCloseNeverReconnects) {
    link->SetRetryPauses(20, 20);
    ConnectWanted();
    socket->Fail(SocketErrorNumber::ConnectionRefused);
    ASSERT_EQ(link->PendingRetryMs(), 20);
    // The Disconnect menu.
    link->SetbLinkWanted(false);
    link->DisconnectFromVorela();
    EXPECT_EQ(link->PendingRetryMs(), -1);
    ExpectShownDown();
    clock->Elapse(150);
    EXPECT_FALSE(socket->connects_ > 1);

    // Closing a live link from our side, still wanted, does not count as the peer's close.
    link->SetbLinkWanted(true);
    link->ConnectToVorela();
    socket->Accept();
    link->DisconnectFromVorela();
    EXPECT_EQ(link->PendingRetryMs(), -1);
    clock->Elapse(150);
    EXPECT_FALSE(socket->connects_ > 2);
}

TEST_F(PlayoutLinkTest, AnyOtherErrorShowsOneBoxWithItsTextShowsTheLinkDownAndDoesNotRetry) {
    ConnectWanted();
    socket->Fail(SocketErrorNumber::Other, "Permission denied");
    EXPECT_TRUE(TestMessageBoxes().shown().empty()) << "not inside the socket's event";
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    const MessageBoxRequest& box = TestMessageBoxes().shown().front();
    EXPECT_EQ(box.text,
              "There was a problem connecting to the Vorela System.\nThe error was : Permission "
              "denied\n");
    EXPECT_EQ(box.icon, MsgIcon::Information);
    EXPECT_EQ(box.caption, AppInfo::Title());
    ExpectShownDown();
    EXPECT_EQ(link->State(), PlayoutLink::LinkState::Down);
    EXPECT_EQ(link->PendingRetryMs(), -1);
    EXPECT_TRUE(link->bLinkWanted());
}

TEST_F(PlayoutLinkTest, NoRouteIsToldOnceAndRetriedUntilTheLinkHasBeenUpAgain) {
    link->SetRetryPauses(10, 40);
    ConnectWanted();
    QList<int> pauses;
    for (int i = 0; i < 4; ++i) {
        const int connects = socket->connects_;
        socket->Fail(SocketErrorNumber::HostUnreachable, "Network unreachable");
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(link->State(), PlayoutLink::LinkState::WaitingToRetry);
        ExpectShownRetrying();
        pauses << link->PendingRetryMs();
        clock->Elapse(pauses.back());
        ASSERT_EQ(socket->connects_, connects + 1) << "the attempts go on";
    }
    EXPECT_EQ(pauses, QList<int>({10, 20, 40, 40}));
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_EQ(TestMessageBoxes().shown().front().text,
              "There was a problem connecting to the Vorela System.\nThe error was : Network "
              "unreachable\n");
    EXPECT_EQ(TestMessageBoxes().shown().front().icon, MsgIcon::Information);

    // Connected but not yet accepted is not up: still no second box.
    socket->Accept();
    socket->Fail(SocketErrorNumber::HostUnreachable, "Network unreachable");
    clock->Elapse(40);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(TestMessageBoxes().shown().size(), 1U);

    // Up, then the route goes again: told again.
    socket->Accept();
    socket->SayLine("+CONNECTED AppName=VORELA3 Version=3.5.0");
    ASSERT_EQ(link->State(), PlayoutLink::LinkState::Up);
    socket->Fail(SocketErrorNumber::HostUnreachable, "Network unreachable");
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(TestMessageBoxes().shown().size(), 2U);
    EXPECT_EQ(link->State(), PlayoutLink::LinkState::WaitingToRetry);
}

TEST_F(PlayoutLinkTest, ARejectedHandshakeInsideABurstStopsTheLinkAndTheRestSendsNothing) {
    ConnectWanted();
    socket->Accept();
    socket->Say("+CONNECTED AppName=SOMETHING\r\nSET NUMBERPLAYERS 3\r\n+CONNECTED AppName=VORELA3 "
                "Version=3.0.9\r\n");
    EXPECT_EQ(socket->TakeSentLines(), QStringList());
    EXPECT_TRUE(TestMessageBoxes().shown().empty()) << "no box inside the line's handling";
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_FALSE(link->bLinkWanted());
    EXPECT_EQ(link->PendingRetryMs(), -1);
}

namespace {
// A link of window's, wanted and connected, with the calls of connecting taken.
std::unique_ptr<PlayoutLink> connectedLink(RecordingPlayoutWindow& window,
                                           FakeSocketControl*& socket) {
    auto s = std::make_unique<FakeSocketControl>();
    socket = s.get();
    auto link = window.MakeLink(std::move(s));
    link->SetTurnBudgetNs(RecordingPlayoutWindow::kUnsplitTurnNs);
    link->SetbLinkWanted(true);
    link->ConnectToVorela();
    socket->Accept();
    window.TakeCalls();
    return link;
}
} // namespace

namespace {
// A script browser that asks its save question: while the box is up, more data arrive.
class AskingWindow : public RecordingPlayoutWindow {
public:
    void ShowScript(const QString& script, const QString& file, bool fromPlayout) override {
        RecordingPlayoutWindow::ShowScript(script, file, fromPlayout);
        if (socket != nullptr && !asked) {
            asked = true;
            socket->Say("ER STATUS,2,9,U\r\nSET LOG STATUS,x\r\n");
        }
    }
    FakeSocketControl* socket = nullptr;
    bool asked = false;
};
} // namespace

TEST(PlayoutLinkNesting, ANestedReadNeverHandsALineTwiceNorOutOfOrder) {
    AskingWindow window;
    FakeSocketControl* socket = nullptr;
    const auto link = connectedLink(window, socket);
    window.socket = socket;
    socket->Say("SCRIPT a\r\nSET PLAYER STATUS,1,5,T\r\nSET PLAY");
    EXPECT_EQ(window.TakeCalls(),
              QStringList({"ShowScript(\"a\",\"\",True)", "ShowPlayerStatus(1,5,\"T\")",
                           "ShowPlayerStatus(2,9,\"U\")", "ShowLogStatus(1)"}));
}

namespace {
// A display that lets a nested read run inside its first call of each kind, as a box would,
// and records that call's text only after the nested line has been handled.
class NestingDisplayWindow : public RecordingPlayoutWindow {
public:
    void ShowPlayerStatus(qint16 player, qint32 status, QStringView text) override {
        nestOnce(nestedPlayer, "SET PLAYER STATUS,2,9,Other Title Longer\r\n");
        RecordingPlayoutWindow::ShowPlayerStatus(player, status, text);
    }
    void ShowLogCurrentItem(QStringView text) override {
        nestOnce(nestedItem, "SET LOG CURRENTITEMS,AName1=\"Other Band\" ITitle=Song\r\n");
        RecordingPlayoutWindow::ShowLogCurrentItem(text);
    }
    FakeSocketControl* socket = nullptr;

private:
    void nestOnce(bool& done, const QByteArray& line) {
        if (socket != nullptr && !done) {
            done = true;
            socket->Say(line);
        }
    }
    bool nestedPlayer = false;
    bool nestedItem = false;
};
} // namespace

TEST(PlayoutLinkNesting, ATextHandedToTheDisplayHoldsWhileANestedLineIsHandled) {
    NestingDisplayWindow window;
    FakeSocketControl* socket = nullptr;
    const auto link = connectedLink(window, socket);
    window.socket = socket;
    // The nested lines are longer than the outer ones and would overwrite them in a shared
    // buffer: the line's own and the one a title and artist are joined in.
    socket->Say("SET PLAYER STATUS,1,5,Title\r\n");
    socket->Say("SET LOG CURRENTITEMS,AName1=Band ITitle=Tune\r\n");
    // A read inside a line's handling only feeds the framer: its line comes next, in order.
    EXPECT_EQ(window.TakeCalls(), QStringList({"ShowPlayerStatus(1,5,\"Title\")",
                                               "ShowPlayerStatus(2,9,\"Other Title Longer\")",
                                               "ShowLogCurrentItem(\"Tune-Band\")",
                                               "ShowLogCurrentItem(\"Song-Other Band\")"}));
}

namespace {
class ThrowingWindow : public RecordingPlayoutWindow {
public:
    void ShowLogStatus(bool) override { throw std::runtime_error("display failed"); }
};
} // namespace

TEST(PlayoutLinkFailures, ALineThatFailsIsLoggedAndSkippedAndTheNextOneStillHandled) {
    AppServices::Instance().SetDebugLevel(5);
    ThrowingWindow window;
    FakeSocketControl* socket = nullptr;
    const auto link = connectedLink(window, socket);
    socket->Say("SET LOG STATUS,x\r\nSET PLAYER STATUS,1,5,T\r\n");
    EXPECT_EQ(window.TakeCalls(), QStringList{"ShowPlayerStatus(1,5,\"T\")"});
    QFile log(DebugLogFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("ProcessMessage failed: display failed"));
}

// A megabyte of player text reaches the player whole, and the debug log by a kilobyte or so.
TEST(PlayoutLinkFailures, ALongLineAddsAboutAKilobyteToTheDebugLog) {
    AppServices::Instance().SetDebugLevel(5);
    RecordingPlayoutWindow window;
    FakeSocketControl* socket = nullptr;
    const auto link = connectedLink(window, socket);
    const qint64 before = QFileInfo(DebugLogFilePath()).size();
    const qsizetype length = LineFramer::kMaxLineBytes - 64;
    socket->Say("SET PLAYER STATUS,1,5," + QByteArray(length, 'x') + "\a\x1b[31m\r\n");
    const QStringList calls = window.TakeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_GT(calls.front().size(), length) << "the player gets the whole text";
    const qint64 grown = QFileInfo(DebugLogFilePath()).size() - before;
    EXPECT_GT(grown, 0);
    EXPECT_LT(grown, 2048) << grown << " bytes for one line";
    QFile log(DebugLogFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_FALSE(log.readAll().contains('\a')) << "no bell reaches the log";
}
