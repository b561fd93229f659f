#pragma once

#include "platform/net/socketcontrol.h"
#include "playout/link/lineframer.h"
#include "playout/link/playoutprotocol.h"

#include <QObject>
#include <QTimer>

#include <memory>

class PlayoutHost;

// The main window's one connection to the playout system: connecting to the configured
// computer, closing, sending one line, framing what arrives into lines for the parser, and
// coming back after the playout side drops or cannot be reached while the link is wanted.
//
// A failed attempt is tried again after a pause that starts at 1 s and doubles up to 10 s;
// a connection that opened resets it, and a close by the playout side reconnects after the
// first pause. Nothing here blocks or spins.
class PlayoutLink : public QObject, private PlayoutLinkActions {
    Q_OBJECT

public:
    enum class LinkState {
        Down,           // not connected, no attempt under way or due
        WaitingToRetry, // not connected; the next attempt is due after the pause
        Connecting,
        Handshaking, // connected; the playout system's "+CONNECTED" line is awaited
        Up,          // connected and the handshake accepted
    };
    Q_ENUM(LinkState)

    static constexpr quint16 kPlayoutPort = 6950;
    static constexpr quint16 kNetworkServerPort = 6951;
    static constexpr int kFirstRetryPauseMs = 1000;
    static constexpr int kLongestRetryPauseMs = 10000;

    // The link takes the socket; with none it makes a TCP one.
    explicit PlayoutLink(PlayoutHost& host, std::unique_ptr<SocketControl> socket = nullptr,
                         QObject* parent = nullptr);
    ~PlayoutLink() override;

    // Opens the link to the configured computer; the outcome arrives later.
    void ConnectToVorela();
    // Closes the link and shows it as down; a retry that was due is called off. Whether the
    // link is wanted stays as it was.
    void DisconnectFromVorela() override;
    // Sends one line, followed by CR LF; dropped without notice unless connected.
    void SendMessageToComputer(const QString& Message) override;
    // Handles one received line.
    void ProcessMessage(const QString& line);

    SocketControl& sckVorela() { return *socket_; }
    LinkState State() const { return state_; }
    // The pause the next failed attempt waits before the one after it.
    int RetryPauseMs() const { return retryPauseMs_; }
    // The pause of the retry that is due, -1 when none is.
    int PendingRetryMs() const { return retryTimer_.isActive() ? retryTimer_.interval() : -1; }
    // Connect attempts since the link was made (a test and diagnostics figure).
    quint64 ConnectAttempts() const { return attempts_; }

    // The two ports ("/VORELANET" chooses the second); tests point them elsewhere.
    void SetPorts(quint16 playoutPort, quint16 networkServerPort);
    // The first and the longest pause between attempts; tests shorten them.
    void SetRetryPauses(int firstMs, int longestMs);

Q_SIGNALS:
    void LinkStateChanged(PlayoutLink::LinkState state);

private:
    void HandshakeAccepted() override;
    void sckVorela_Connect();
    void sckVorela_Close();
    void sckVorela_DataArrival(qint64 bytesTotal);
    void sckVorela_Error(int Number, const QString& Description);
    void connectNow();
    void retryLater(int pauseMs);
    void onRetryDue();
    void setState(LinkState state);
    void processLine(const QByteArray& bytes);

    PlayoutHost& host_;
    std::unique_ptr<SocketControl> socket_;
    PlayoutProtocol protocol_;
    LineFramer sReceiveBuffer_;
    QTimer retryTimer_;
    LinkState state_ = LinkState::Down;
    int firstRetryPauseMs_ = kFirstRetryPauseMs;
    int longestRetryPauseMs_ = kLongestRetryPauseMs;
    int retryPauseMs_ = kFirstRetryPauseMs;
    quint64 attempts_ = 0;
    quint16 playoutPort_ = kPlayoutPort;
    quint16 networkServerPort_ = kNetworkServerPort;
};
