#include "platform/net/socketerrors.h"
#include "platform/net/tcpsocketcontrol.h"
#include "platform/net/windows1252.h"
#include "support/waitfor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
struct Events {
    explicit Events(TcpSocketControl& s) {
        QObject::connect(&s, &SocketControl::Connected, [this] { ++connected; });
        QObject::connect(&s, &SocketControl::Closed, [this] { ++closed; });
        QObject::connect(&s, &SocketControl::DataArrival, [this, &s](qint64) {
            ++dataArrivals;
            data += s.GetData();
        });
        QObject::connect(&s, &SocketControl::Error, [this](int number, const QString& text) {
            errors << number;
            lastText = text;
        });
    }
    int connected = 0;
    int closed = 0;
    int dataArrivals = 0;
    QByteArray data;
    QList<int> errors;
    QString lastText;
};

class TcpSocketControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&server, &QTcpServer::newConnection,
                         [this] { accepted = server.nextPendingConnection(); });
    }
    void ConnectAndAccept(const QString& host = "127.0.0.1") {
        socket.Connect(host, server.serverPort());
        ASSERT_TRUE(WaitFor([&] { return events.connected == 1 && accepted; }));
        EXPECT_EQ(socket.State(), SocketControl::StateConnected);
    }

    QTcpServer server;
    QPointer<QTcpSocket> accepted;
    TcpSocketControl socket;
    Events events{socket};
};
} // namespace

TEST_F(TcpSocketControlTest, ConnectsSendsAndReceives) {
    ConnectAndAccept();
    socket.SendData("GET NUMBERPLAYERS\r\n");
    ASSERT_TRUE(WaitFor([&] { return accepted->bytesAvailable() >= 19; }));
    EXPECT_EQ(accepted->readAll(), QByteArray("GET NUMBERPLAYERS\r\n"));
    accepted->write("SET NUMBERPLAYERS 4\r\n");
    ASSERT_TRUE(WaitFor([&] { return events.data.size() == 21; }));
    EXPECT_EQ(events.data, QByteArray("SET NUMBERPLAYERS 4\r\n"));
    EXPECT_TRUE(events.errors.isEmpty());
}

TEST_F(TcpSocketControlTest, ResolvesANameFirst) {
    socket.Connect("localhost", server.serverPort());
    EXPECT_EQ(socket.State(), SocketControl::StateResolvingHost);
    ASSERT_TRUE(WaitFor([&] { return events.connected == 1 || !events.errors.isEmpty(); }));
    EXPECT_EQ(events.connected, 1) << events.lastText.toStdString();
}

TEST_F(TcpSocketControlTest, APeerCloseIsACloseNotAnErrorAndItsLastDataArriveFirst) {
    ConnectAndAccept();
    accepted->write("LAST\r\n");
    accepted->flush();
    accepted->disconnectFromHost();
    ASSERT_TRUE(WaitFor([&] { return events.closed == 1; }));
    EXPECT_EQ(events.data, QByteArray("LAST\r\n"));
    EXPECT_EQ(socket.State(), SocketControl::StateClosing);
    EXPECT_TRUE(events.errors.isEmpty());
    socket.Close();
    EXPECT_EQ(socket.State(), SocketControl::StateClosed);
}

TEST_F(TcpSocketControlTest, OurOwnCloseIsImmediateAndRaisesNothing) {
    ConnectAndAccept();
    socket.Close();
    EXPECT_EQ(socket.State(), SocketControl::StateClosed);
    ASSERT_TRUE(
        WaitFor([&] { return !accepted || accepted->state() != QAbstractSocket::ConnectedState; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(events.closed, 0);
    EXPECT_TRUE(events.errors.isEmpty());
    socket.SendData("dropped");
}

TEST_F(TcpSocketControlTest, ARefusedConnectIs10061AndCloseClearsTheError) {
    const quint16 port = server.serverPort();
    server.close();
    socket.Connect("127.0.0.1", port);
    ASSERT_TRUE(WaitFor([&] { return !events.errors.isEmpty(); }));
    EXPECT_EQ(events.errors, QList<int>{10061});
    EXPECT_EQ(socket.State(), SocketControl::StateError);
    socket.Close();
    EXPECT_EQ(socket.State(), SocketControl::StateClosed);
    EXPECT_EQ(events.connected, 0);
}

TEST_F(TcpSocketControlTest, ANewConnectDropsTheOldOneWithoutItsEvents) {
    ConnectAndAccept();
    QPointer<QTcpSocket> first = accepted;
    socket.Connect("127.0.0.1", server.serverPort());
    ASSERT_TRUE(WaitFor([&] { return events.connected == 2; }));
    EXPECT_EQ(events.closed, 0);
    EXPECT_TRUE(events.errors.isEmpty());
}

TEST(TcpSocketControlTimeout, AConnectThatHangsEndsAs10060AfterItsOwnTimeOut) {
    // A listener that never accepts, its queue filled: the system drops further connects.
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(fd, 0), 0);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    const quint16 port = ntohs(address.sin_port);
    QList<QTcpSocket*> fillers;
    for (int i = 0; i < 3; ++i) {
        fillers << new QTcpSocket;
        fillers.back()->connectToHost(QHostAddress::LocalHost, port);
    }
    WaitFor([&] { return false; }, 200);

    TcpSocketControl socket;
    Events events(socket);
    socket.SetConnectTimeout(300);
    QElapsedTimer clock;
    clock.start();
    socket.Connect("127.0.0.1", port);
    ASSERT_TRUE(WaitFor([&] { return !events.errors.isEmpty() || events.connected > 0; }, 5000));
    EXPECT_EQ(events.errors, QList<int>{10060});
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_EQ(socket.State(), SocketControl::StateError);
    qDeleteAll(fillers);
    ::close(fd);
}

TEST(SocketErrors, MapQtErrorsToTheLinkNumbers) {
    struct Case {
        QAbstractSocket::SocketError error;
        const char* text;
        bool peerClosed;
        int number;
    };
    const Case cases[] = {
        {QAbstractSocket::ConnectionRefusedError, "Connection refused", false, 10061},
        {QAbstractSocket::RemoteHostClosedError, "The remote host closed the connection", true,
         10054},
        {QAbstractSocket::HostNotFoundError, "Host not found", false, 11001},
        {QAbstractSocket::SocketTimeoutError, "Socket operation timed out", false, 10060},
        {QAbstractSocket::NetworkError, "Connection timed out", false, 10060},
        {QAbstractSocket::NetworkError, "Host unreachable", false, 10060},
        // No route at all is told; a switched-off computer is retried silently.
        {QAbstractSocket::NetworkError, "Network unreachable", false, 10065},
        {QAbstractSocket::NetworkError, "Address in use", false, SocketErrorNumber::Other},
        {QAbstractSocket::SocketAccessError, "Permission denied", false, SocketErrorNumber::Other},
        {QAbstractSocket::UnknownSocketError, "Unknown error", false, SocketErrorNumber::Other},
    };
    for (const Case& c : cases) {
        const SocketErrorMapping m = MapSocketError(c.error, QString::fromLatin1(c.text));
        EXPECT_EQ(m.peerClosed, c.peerClosed) << c.text;
        EXPECT_EQ(m.number, c.number) << c.text;
    }
    EXPECT_EQ(MapHostLookupError(QHostInfo::HostNotFound), 11001);
    EXPECT_EQ(MapHostLookupError(QHostInfo::UnknownError), 11002);
}

TEST(Windows1252, EveryByteDecodesAndEncodesBackToItself) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    const QString text = Windows1252::Decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(Windows1252::Encode(text), all);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));
    EXPECT_EQ(text.at(0x93), QChar(0x201C));
    EXPECT_EQ(text.at(0xE9), QChar(0xE9));
    EXPECT_EQ(text.at(0x81), QChar(0x81));
}

TEST(Windows1252, WritesWhatTheCodePageCannotHoldAsAQuestionMark) {
    EXPECT_EQ(Windows1252::Encode(QString::fromUtf8("Grüße ☃ €")), QByteArray("Gr\xfc\xdf"
                                                                              "e ? \x80"));
}

TEST_F(TcpSocketControlTest, TakesABurstLargerThanItsReadBufferWhole) {
    ConnectAndAccept();
    QByteArray burst(5 * TcpSocketControl::kReadBufferBytes + 17, 'x');
    accepted->write(burst);
    accepted->flush();
    ASSERT_TRUE(WaitFor([&] { return events.data.size() == burst.size(); }, 10000))
        << events.data.size();
    EXPECT_EQ(events.data, burst);
    EXPECT_GT(events.dataArrivals, 1);
}

TEST_F(TcpSocketControlTest, AClosingPeersLastBurstArrivesWholeBeforeTheClose) {
    ConnectAndAccept();
    QByteArray burst(3 * TcpSocketControl::kReadBufferBytes, 'y');
    QByteArray dataAtClose;
    QObject::connect(&socket, &SocketControl::Closed, [&] { dataAtClose = events.data; });
    accepted->write(burst);
    accepted->disconnectFromHost();
    ASSERT_TRUE(WaitFor([&] { return events.closed == 1; }, 10000));
    EXPECT_EQ(dataAtClose.size(), burst.size());
}

TEST(Windows1252, DecodesEveryByteAtEveryPlaceAndIntoABufferOfAnyState) {
    // Each byte in texts of many lengths and at every place in them, so that every step of a
    // word-wide scan meets it; the buffer is decoded into as it comes from the last text.
    const auto expected = [](unsigned char b) {
        return b >= 0x80 && b < 0xA0 ? Windows1252::Decode(QByteArray(1, char(b))).at(0) : QChar(b);
    };
    ASSERT_EQ(expected(0x80), QChar(0x20AC));
    QString reused;
    for (int length : {1, 7, 8, 9, 16, 23}) {
        for (int at = 0; at < length; ++at) {
            for (int b = 0; b < 256; ++b) {
                QByteArray bytes(length, 'a');
                bytes[at] = char(b);
                Windows1252::DecodeInto(bytes.constData(), bytes.size(), reused);
                ASSERT_EQ(reused.size(), length);
                ASSERT_EQ(reused.at(at), expected(static_cast<unsigned char>(b)))
                    << length << " " << at << " " << b;
                ASSERT_EQ(reused.count(QLatin1Char('a')), length - (b == 'a' ? 0 : 1));
            }
        }
    }
    struct Case {
        const char* name;
        QString before;
        bool shared;
    };
    const QList<Case> cases = {
        {"null", QString(), false},
        {"longer", QStringLiteral("a much longer text than the bytes"), false},
        {"shorter", QStringLiteral("ab"), false},
        {"shared with another copy", QStringLiteral("kept as it was"), true},
    };
    for (const Case& c : cases) {
        QString text = c.before;
        const QString other = text; // shares the buffer
        if (!c.shared) {
            text.detach();
        }
        Windows1252::DecodeInto("Caf\xe9 \x80", 6, text);
        EXPECT_EQ(text, QString::fromUtf8("Café €")) << c.name;
        EXPECT_EQ(other, c.before) << c.name;
    }
}
