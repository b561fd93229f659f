// The main window's side of the playout link, against a peer the test runs on 127.0.0.1.

#include "mainwindowfixture.h"

#include "platform/ui/upanel3.h"
#include "support/waitfor.h"

#include <QAction>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {
using MainWindowPlayout = MainWindowFixture;

TEST_F(MainWindowPlayout, AProfileWithAPlayoutComputerReachesOnlyThePortTheTestGives) {
    QTcpServer peer;
    ASSERT_TRUE(peer.listen(QHostAddress::LocalHost, 0));
    playoutPort = peer.serverPort();
    seedProfile(true);
    addUser(QStringLiteral("admin"));
    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    EXPECT_TRUE(WaitFor([&] { return peer.hasPendingConnections(); }, 5000));
}

// The playout side: it takes every connection and speaks on each, since a login's settings
// load opens the link again.
class TestPeer {
public:
    TestPeer() {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (server_.hasPendingConnections()) {
                connections_ << server_.nextPendingConnection();
            }
        });
    }
    quint16 Port() const { return server_.serverPort(); }
    qsizetype Connections() const { return connections_.size(); }
    void Say(const QByteArray& bytes) {
        for (QTcpSocket* c : connections_) {
            c->write(bytes);
        }
    }
    void CloseAll() {
        for (QTcpSocket* c : connections_) {
            c->disconnectFromHost();
        }
    }

private:
    QTcpServer server_;
    QList<QTcpSocket*> connections_;
};

TEST_F(MainWindowPlayout, TheFileMenuAndTheCoverFollowTheLinkWhichComesBackAfterAClose) {
    TestPeer peer;
    playoutPort = peer.Port();
    seedProfile(true);
    addUser(QStringLiteral("admin"));
    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    frmMain& w = *window;
    PlayoutLink& link = *w.Link();
    w.mnuViewVorelaKeyboard->setChecked(true);
    w.Form_Resize();

    // The settings load wants the link and opens it.
    EXPECT_TRUE(link.bLinkWanted());
    EXPECT_FALSE(w.mnuConnect->isEnabled());
    EXPECT_TRUE(w.mnuDisconnect->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return link.State() == PlayoutLink::LinkState::Handshaking; }));
    EXPECT_TRUE(w.playoutPanel->pnlNotConnected->isHidden());

    peer.Say("+CONNECTED AppName=VORELA3 Version=3.5.0\r\nWEBSITE http://www.example.org/\r\n");
    ASSERT_TRUE(WaitFor([&] { return w.optWeb->Value() == 1; }, 5000));
    EXPECT_EQ(link.State(), PlayoutLink::LinkState::Up);
    EXPECT_EQ(link.PlayoutVersion(), 5.0F);
    EXPECT_FALSE(w.mnuConnect->isEnabled());

    // The playout side closes: the link shows down, then comes back after the pause.
    link.SetRetryPauses(500, 500);
    const qsizetype connections = peer.Connections();
    peer.CloseAll();
    ASSERT_TRUE(WaitFor([&] { return link.State() == PlayoutLink::LinkState::WaitingToRetry; }));
    EXPECT_FALSE(w.mnuConnect->isEnabled()) << "still trying: shown as connecting";
    EXPECT_TRUE(w.mnuDisconnect->isEnabled());
    EXPECT_FALSE(w.playoutPanel->pnlNotConnected->isHidden());
    ASSERT_TRUE(WaitFor([&] { return peer.Connections() > connections; }, 5000));
    ASSERT_TRUE(WaitFor([&] { return link.State() == PlayoutLink::LinkState::Handshaking; }));
    EXPECT_FALSE(w.mnuConnect->isEnabled());
    EXPECT_TRUE(w.mnuDisconnect->isEnabled());
    EXPECT_TRUE(w.playoutPanel->pnlNotConnected->isHidden());

    // The Disconnect menu: down, not wanted, the cover back over the panel.
    w.mnuDisconnect->trigger();
    EXPECT_FALSE(link.bLinkWanted());
    EXPECT_EQ(link.State(), PlayoutLink::LinkState::Down);
    EXPECT_TRUE(w.mnuConnect->isEnabled());
    EXPECT_FALSE(w.mnuDisconnect->isEnabled());
    EXPECT_FALSE(w.playoutPanel->pnlNotConnected->isHidden());

    // The Connect menu opens it again.
    w.mnuConnect->trigger();
    EXPECT_TRUE(link.bLinkWanted());
    EXPECT_FALSE(w.mnuConnect->isEnabled());
    EXPECT_TRUE(w.mnuDisconnect->isEnabled());
    EXPECT_TRUE(WaitFor([&] { return link.State() == PlayoutLink::LinkState::Handshaking; }));
}

TEST_F(MainWindowPlayout, DisconnectStopsTheRetriesOfALinkNothingAnswers) {
    // A port nobody listens on, kept free for a listener opened at the end.
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    playoutPort = port;
    seedProfile(true);
    addUser(QStringLiteral("admin"));
    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    frmMain& w = *window;
    PlayoutLink& link = *w.Link();
    w.mnuViewVorelaKeyboard->setChecked(true);
    w.Form_Resize();
    constexpr int kLongestPauseMs = 80;
    link.SetRetryPauses(20, kLongestPauseMs);

    // Refused again and again: between two attempts the link is still trying.
    ASSERT_TRUE(WaitFor([&] { return link.ConnectAttempts() >= 3; }, 5000));
    ASSERT_TRUE(WaitFor([&] { return link.State() == PlayoutLink::LinkState::WaitingToRetry; }));
    EXPECT_FALSE(w.mnuConnect->isEnabled());
    EXPECT_TRUE(w.mnuDisconnect->isEnabled());
    EXPECT_FALSE(w.playoutPanel->pnlNotConnected->isHidden());

    w.mnuDisconnect->trigger();
    EXPECT_EQ(link.PendingRetryMs(), -1);
    EXPECT_EQ(link.State(), PlayoutLink::LinkState::Down);
    EXPECT_TRUE(w.mnuConnect->isEnabled());
    EXPECT_FALSE(w.mnuDisconnect->isEnabled());
    const quint64 attempts = link.ConnectAttempts();

    QTcpServer late;
    ASSERT_TRUE(late.listen(QHostAddress::LocalHost, port));
    QTest::qWait(3 * kLongestPauseMs);
    EXPECT_EQ(link.ConnectAttempts(), attempts);
    EXPECT_FALSE(late.hasPendingConnections());
}
} // namespace
