#pragma once

#include "platform/net/socketcontrol.h"
#include "playout/link/lineframer.h"
#include "playout/link/playoutprotocol.h"
#include "playout/link/retrytimer.h"

#include <QObject>

#include <functional>
#include <memory>

class cOCSettings;
class PlayoutDisplay;

// The main window's one connection to the playout system: connecting to the configured
// computer, closing, sending one line, framing what arrives into lines for the parser, and
// coming back after the playout side drops or cannot be reached while the link is wanted.
//
// A failed attempt is tried again after a pause that starts at 1 s and doubles up to 10 s;
// a connection that opened resets it, and a close by the playout side reconnects after the
// first pause. Nothing here blocks or spins: received lines are handled in order, one at a
// time, for at most kTurnBudgetNs a turn of the event loop, so that a flood from the playout
// side never holds the window up.
//
// The link keeps its own state: whether it is wanted, where it stands (LinkStateChanged, which
// windows follow to show it) and the playout system's version. What the status lines show
// goes to the display; scripts and web addresses come out as signals.
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
    // How long one turn of the event loop handles received lines (at least one) before it
    // lets input, paints and writes run and goes on in the next.
    static constexpr qint64 kTurnBudgetNs = 5'000'000;
    // What the framer holds of waiting lines before the rest is left in the socket, where
    // TCP slows the playout side down.
    static constexpr qsizetype kMostWaitingBytes = qsizetype(1) << 20;

    // The loaded profile settings; nullptr before the first settings load.
    using SettingsSource = std::function<const cOCSettings*()>;

    // The link takes the socket and the retry timer; with none it makes a TCP socket and a
    // timer on the event loop.
    PlayoutLink(PlayoutDisplay& display, SettingsSource clsSettings,
                std::unique_ptr<SocketControl> socket = nullptr,
                std::unique_ptr<RetryTimer> retryTimer = nullptr, QObject* parent = nullptr);
    ~PlayoutLink() override;

    // Opens the link to the configured computer; the outcome arrives later.
    void ConnectToVorela();
    // Closes the link and shows it as down (LinkStateChanged with Down, even when it was
    // down already); a retry that was due is called off. Whether the link is wanted stays as
    // it was.
    void DisconnectFromVorela() override;
    // Sends one line, followed by CR LF; dropped without notice unless connected.
    void SendMessageToComputer(const QString& Message) override;
    // Handles one received line.
    void ProcessMessage(const QString& line);

    // The link is wanted: a dropped or failed connection is opened again. Set by the Connect
    // menu and the settings load, cleared by the Disconnect menu, the settings load and a
    // rejected playout system.
    bool bLinkWanted() const { return bLinkWanted_; }
    void SetbLinkWanted(bool wanted) override { bLinkWanted_ = wanted; }
    // The connected playout system's version as minor.build (3.5.120 gives 5.12); 0 until a
    // handshake is accepted.
    float PlayoutVersion() const { return protocol_.PlayoutVersion(); }

    SocketControl& sckVorela() { return *socket_; }
    LinkState State() const { return state_; }
    // The pause the next failed attempt waits before the one after it.
    int RetryPauseMs() const { return retryPauseMs_; }
    // The pause of the retry that is due, -1 when none is.
    int PendingRetryMs() const { return retryTimer_->IsActive() ? retryTimer_->Interval() : -1; }
    // Connect attempts since the link was made (a test and diagnostics figure).
    quint64 ConnectAttempts() const { return attempts_; }
    // Received lines handled since the link was made.
    quint64 LinesHandled() const { return linesHandled_; }
    // Received lines wait to be handled in a later turn.
    bool LinesWaiting() const;

    // The two ports ("/VORELANET" chooses the second); tests point them elsewhere.
    void SetPorts(quint16 playoutPort, quint16 networkServerPort);
    // The first and the longest pause between attempts; tests shorten them.
    void SetRetryPauses(int firstMs, int longestMs);
    // How long one turn handles lines (kTurnBudgetNs unless set). Tests of what a chunk's lines
    // do lengthen it, so that a stall of a loaded machine does not split their chunk.
    void SetTurnBudgetNs(qint64 budgetNs) { turnBudgetNs_ = budgetNs; }

Q_SIGNALS:
    void LinkStateChanged(PlayoutLink::LinkState state);
    // A script the playout system sent, decoded, for the script browser.
    void ScriptReceived(const QString& ScriptText);
    // A web address the playout system sent, unchanged, for the Web pane.
    void WebsiteReceived(const QString& address);

private:
    void HandshakeAccepted() override;
    void HandshakeRejected(const QString& message) override;
    void ScriptArrived(const QString& ScriptText) override;
    void WebsiteArrived(const QString& address) override;
    void sckVorela_Connect();
    void sckVorela_Close();
    void sckVorela_DataArrival(qint64 bytesTotal);
    void sckVorela_Error(int Number, const QString& Description);
    void connectNow();
    void retryLater(int pauseMs);
    // The next pause, doubled for the attempt after it up to the longest.
    void retryLaterPaced();
    void postErrorBox(const QString& Description);
    void onRetryDue();
    void setState(LinkState state);
    void processLine(QByteArrayView bytes);
    // Feeds the framer from the socket while it holds less than kMostWaitingBytes.
    void readSome();
    // Handles waiting lines for one turn's budget and posts the next turn when more wait.
    void handleTurn();
    void postTurn();

    SettingsSource clsSettings_;
    std::unique_ptr<SocketControl> socket_;
    std::unique_ptr<RetryTimer> retryTimer_;
    PlayoutProtocol protocol_;
    LineFramer sReceiveBuffer_;
    // Where each received line is decoded, kept for the next.
    QString lineText_;
    // Where each line sent is encoded, kept for the next.
    QByteArray sendLine_;
    LinkState state_ = LinkState::Down;
    bool bLinkWanted_ = false;
    int firstRetryPauseMs_ = kFirstRetryPauseMs;
    int longestRetryPauseMs_ = kLongestRetryPauseMs;
    int retryPauseMs_ = kFirstRetryPauseMs;
    quint64 attempts_ = 0;
    quint64 linesHandled_ = 0;
    // A turn is handling lines: a read meanwhile only feeds the framer.
    bool handling_ = false;
    qint64 turnBudgetNs_ = kTurnBudgetNs;
    bool turnPosted_ = false;
    // A rejection box is posted or open: later rejections are not told again until it closes.
    bool rejectionBoxDue_ = false;
    // "No route to host" was told and the link has not been up since.
    bool unreachableTold_ = false;
    quint16 playoutPort_ = kPlayoutPort;
    quint16 networkServerPort_ = kNetworkServerPort;
};
