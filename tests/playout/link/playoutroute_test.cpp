// The link on a computer with no route to the playout computer: a thread of the test moves into
// a network namespace of its own, with only the loopback interface, and runs the link there.

#include "playoutdoubles.h"
#include "support/waitfor.h"

#include "platform/net/socketerrors.h"
#include "platform/net/tcpsocketcontrol.h"
#include "playout/link/playoutlink.h"
#include "support/scriptedmessageboxes.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QThread>

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

namespace {
constexpr const char* kUnroutedAddress = "192.0.2.1"; // a documentation network

// One ioctl on an interface through a datagram socket of this namespace.
bool interfaceCall(unsigned long request, ifreq& ifr) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::ioctl(fd, request, &ifr) == 0;
    ::close(fd);
    return ok;
}

// Moves the calling thread into a network namespace of its own with the loopback interface up.
// Empty when done, else why it could not be.
QString enterNetworkOfItsOwn() {
    if (::unshare(CLONE_NEWNET) != 0) {
        return QStringLiteral("no network namespace can be made here: ") +
               QString::fromLocal8Bit(std::strerror(errno));
    }
    ifreq ifr{};
    std::strncpy(ifr.ifr_name, "lo", IFNAMSIZ - 1);
    if (!interfaceCall(SIOCGIFFLAGS, ifr)) {
        return QStringLiteral("the namespace's loopback interface cannot be read");
    }
    ifr.ifr_flags = static_cast<short>(ifr.ifr_flags | IFF_UP);
    if (!interfaceCall(SIOCSIFFLAGS, ifr)) {
        return QStringLiteral("the namespace's loopback interface cannot be brought up");
    }
    return QString();
}

// The route comes back: the address is given to the loopback interface, as a second address.
bool routeTo(const char* address) {
    ifreq ifr{};
    std::strncpy(ifr.ifr_name, "lo:1", IFNAMSIZ - 1);
    auto* in = reinterpret_cast<sockaddr_in*>(&ifr.ifr_addr);
    in->sin_family = AF_INET;
    return ::inet_pton(AF_INET, address, &in->sin_addr) == 1 && interfaceCall(SIOCSIFADDR, ifr);
}

struct RouteRun {
    QString skipped;
    int socketError = 0;
    QString socketErrorText;
    quint64 attempts = 0;
    bool retrying = false;
    std::size_t boxes = 0;
    QString boxText;
    bool connectedLater = false;
};

// Runs on the thread in the namespace: everything it makes lives and ends there.
void runWithoutARoute(RouteRun& run) {
    run.skipped = enterNetworkOfItsOwn();
    if (!run.skipped.isEmpty()) {
        return;
    }
    quint16 port = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port = probe.serverPort();
    }

    TcpSocketControl socket;
    bool failed = false;
    QObject::connect(&socket, &SocketControl::Error, [&](int number, const QString& text) {
        run.socketError = number;
        run.socketErrorText = text;
        failed = true;
    });
    socket.Connect(QString::fromLatin1(kUnroutedAddress), port);
    WaitFor([&] { return failed; }, 5000);

    RecordingPlayoutWindow window;
    window.Settings()->SetVorelaComputerName(QString::fromLatin1(kUnroutedAddress));
    const auto link = window.MakeLink();
    link->SetPorts(port, port);
    link->SetRetryPauses(20, 40);
    link->SetbLinkWanted(true);
    link->ConnectToVorela();
    WaitFor([&] { return link->ConnectAttempts() >= 4; }, 5000);
    run.attempts = link->ConnectAttempts();
    run.retrying = link->bLinkWanted() && link->State() != PlayoutLink::LinkState::Down;
    run.boxes = TestMessageBoxes().shown().size();
    if (run.boxes > 0) {
        run.boxText = TestMessageBoxes().shown().front().text;
    }

    QTcpServer late;
    if (routeTo(kUnroutedAddress) &&
        late.listen(QHostAddress(QString::fromLatin1(kUnroutedAddress)), port)) {
        run.connectedLater = WaitFor([&] { return late.hasPendingConnections(); }, 5000);
    }
    run.boxes = TestMessageBoxes().shown().size();
}

TEST(PlayoutLinkWithoutARoute, IsToldOnceKeepsTryingAndConnectsWhenTheRouteComes) {
    RouteRun run;
    QThread* thread = QThread::create([&run] { runWithoutARoute(run); });
    thread->start();
    ASSERT_TRUE(thread->wait(30000));
    delete thread;
    if (!run.skipped.isEmpty()) {
        GTEST_SKIP() << run.skipped.toStdString();
    }
    EXPECT_EQ(run.socketError, SocketErrorNumber::HostUnreachable)
        << run.socketErrorText.toStdString();
    EXPECT_EQ(run.socketErrorText, QStringLiteral("Network unreachable"));
    EXPECT_GE(run.attempts, 4U);
    EXPECT_TRUE(run.retrying);
    EXPECT_EQ(run.boxes, 1U) << "one box over all the attempts";
    EXPECT_EQ(run.boxText, "There was a problem connecting to the Vorela System.\nThe error was : "
                           "Network unreachable\n");
    EXPECT_TRUE(run.connectedLater);
}
} // namespace
