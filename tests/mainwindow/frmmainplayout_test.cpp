// The main window's side of the playout link, against a peer the test runs on 127.0.0.1.

#include "mainwindowfixture.h"

#include "support/waitfor.h"

#include <QHostAddress>
#include <QTcpServer>

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
} // namespace
