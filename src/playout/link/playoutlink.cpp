#include "playout/link/playoutlink.h"

#include "core/debuglog.h"
#include "core/profile/cocsettings.h"
#include "core/program.h"
#include "platform/net/socketerrors.h"
#include "platform/net/tcpsocketcontrol.h"
#include "platform/net/windows1252.h"
#include "platform/ui/messagebox.h"

#include <QElapsedTimer>

#include <algorithm>
#include <exception>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// Nearly every line is plain ASCII, which the code page leaves as it is: such a line is widened
// into text here, sixteen bytes a step with SSE2 (the last step ending at the line's end,
// over bytes already widened), reusing text's buffer. False at the first byte beyond ASCII,
// text then being unfinished.
bool widenAscii(const char* data, qsizetype size, QString& text) {
    text.resize(size);
    auto* out = reinterpret_cast<char16_t*>(text.data());
    qsizetype i = 0;
#if defined(__SSE2__)
    const auto widen16 = [&](qsizetype at) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        if (_mm_movemask_epi8(bytes) != 0) {
            return false;
        }
        const __m128i zero = _mm_setzero_si128();
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at + 8), _mm_unpackhi_epi8(bytes, zero));
        return true;
    };
    for (; size - i >= 16; i += 16) {
        if (!widen16(i)) {
            return false;
        }
    }
    if (i < size && size >= 16) {
        return widen16(size - 16);
    }
#endif
    for (; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b >= 0x80) {
            return false;
        }
        out[i] = b;
    }
    return true;
}

// No exception leaves an event handler: it is logged and the event is over.
template <typename Handler> void guarded(const char* where, Handler&& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        DebugLog(QStringLiteral("%1 failed: %2")
                     .arg(QLatin1String(where), QString::fromLocal8Bit(e.what())),
                 5);
    } catch (...) {
        DebugLog(QStringLiteral("%1 failed").arg(QLatin1String(where)), 5);
    }
}
} // namespace

PlayoutLink::PlayoutLink(PlayoutDisplay& display, SettingsSource clsSettings,
                         std::unique_ptr<SocketControl> socket,
                         std::unique_ptr<RetryTimer> retryTimer, QObject* parent)
    : QObject(parent), clsSettings_(std::move(clsSettings)),
      socket_(socket ? std::move(socket) : std::make_unique<TcpSocketControl>()),
      retryTimer_(retryTimer ? std::move(retryTimer) : std::make_unique<QtRetryTimer>()),
      protocol_(display, *this) {
    retryTimer_->SetTimeout([this] { guarded("Playout link retry", [this] { onRetryDue(); }); });
    SocketControl* s = socket_.get();
    connect(s, &SocketControl::Connected, this,
            [this] { guarded("sckVorela_Connect", [this] { sckVorela_Connect(); }); });
    connect(s, &SocketControl::Closed, this,
            [this] { guarded("sckVorela_Close", [this] { sckVorela_Close(); }); });
    connect(s, &SocketControl::DataArrival, this, [this](qint64 bytesTotal) {
        guarded("sckVorela_DataArrival", [&] { sckVorela_DataArrival(bytesTotal); });
    });
    connect(s, &SocketControl::Error, this, [this](int number, const QString& description) {
        guarded("sckVorela_Error", [&] { sckVorela_Error(number, description); });
    });
}

PlayoutLink::~PlayoutLink() {
    retryTimer_->Stop();
    retryTimer_->SetTimeout(nullptr);
    socket_->disconnect(this);
    socket_->Close();
}

void PlayoutLink::SetPorts(quint16 playoutPort, quint16 networkServerPort) {
    playoutPort_ = playoutPort;
    networkServerPort_ = networkServerPort;
}

void PlayoutLink::SetRetryPauses(int firstMs, int longestMs) {
    firstRetryPauseMs_ = std::max(1, firstMs);
    longestRetryPauseMs_ = std::max(firstRetryPauseMs_, longestMs);
    retryPauseMs_ = firstRetryPauseMs_;
}

void PlayoutLink::setState(LinkState state) {
    if (state_ == state) {
        return;
    }
    state_ = state;
    Q_EMIT LinkStateChanged(state);
}

void PlayoutLink::ConnectToVorela() {
    // Asked for by the user or the settings load: try at once, with the pauses from the start.
    retryPauseMs_ = firstRetryPauseMs_;
    connectNow();
}

void PlayoutLink::connectNow() {
    const cOCSettings* settings = clsSettings_ ? clsSettings_() : nullptr;
    if (settings == nullptr) {
        return;
    }
    DisconnectFromVorela();
    const Program* program = Program::Current();
    const bool networkServer = program != nullptr && program->Options().PlayoutNetworkServer;
    const quint16 port = networkServer ? networkServerPort_ : playoutPort_;
    // A partial line of an earlier connection must not join this one's first line.
    sReceiveBuffer_.Clear();
    ++attempts_;
    setState(LinkState::Connecting);
    socket_->Connect(settings->VorelaComputerName(), port);
}

void PlayoutLink::DisconnectFromVorela() {
    retryTimer_->Stop();
    if (socket_->State() != SocketControl::StateClosed) {
        socket_->Close();
    }
    // Every disconnect shows the link as down again, whatever it showed before.
    state_ = LinkState::Down;
    Q_EMIT LinkStateChanged(state_);
}

void PlayoutLink::SendMessageToComputer(const QString& Message) {
    if (socket_->State() != SocketControl::StateConnected) {
        return;
    }
    // Encoded straight into the line with its end, in the buffer of the last line sent. The
    // buffer is taken for the call: a socket that calls back meanwhile sends from its own.
    QByteArray line = std::exchange(sendLine_, QByteArray());
    line.resize(Message.size() + 2);
    Windows1252::EncodeInto(Message, line.data());
    line[Message.size()] = '\r';
    line[Message.size() + 1] = '\n';
    socket_->SendData(line);
    sendLine_ = std::move(line);
}

void PlayoutLink::ProcessMessage(const QString& line) {
    protocol_.ProcessMessage(line);
}

void PlayoutLink::HandshakeAccepted() {
    if (socket_->State() == SocketControl::StateConnected) {
        setState(LinkState::Up);
        // Up again: a route lost later is told again.
        unreachableTold_ = false;
    }
}

void PlayoutLink::HandshakeRejected(const QString& message) {
    // A playout side that greets wrongly line after line costs one box. The box is shown after
    // the line's handling, never inside it, so that the link reads on while it is open.
    if (rejectionBoxDue_) {
        return;
    }
    rejectionBoxDue_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, message] {
            guarded("Playout rejection box", [&] { MsgBox(message, MsgIcon::Exclamation); });
            rejectionBoxDue_ = false;
        },
        Qt::QueuedConnection);
}

void PlayoutLink::ScriptArrived(const QString& ScriptText) {
    Q_EMIT ScriptReceived(ScriptText);
}

void PlayoutLink::WebsiteArrived(const QString& address) {
    Q_EMIT WebsiteReceived(address);
}

void PlayoutLink::sckVorela_Connect() {
    retryPauseMs_ = firstRetryPauseMs_;
    setState(LinkState::Handshaking);
}

void PlayoutLink::sckVorela_Close() {
    // What the playout side sent before it closed is still handled, in the turns to come.
    while (socket_->BytesReceived() != 0) {
        sReceiveBuffer_.Append(socket_->GetData());
    }
    DisconnectFromVorela();
    if (sReceiveBuffer_.HasLine()) {
        postTurn();
    }
    if (bLinkWanted_) {
        retryLater(firstRetryPauseMs_);
    }
}

void PlayoutLink::sckVorela_DataArrival(qint64 /*bytesTotal*/) {
    if (socket_->State() != SocketControl::StateConnected) {
        return;
    }
    readSome();
    // The first lines go at once; a read while a turn is handling lines only fed the framer.
    if (!handling_) {
        handleTurn();
    }
}

void PlayoutLink::readSome() {
    while (sReceiveBuffer_.Size() < kMostWaitingBytes &&
           socket_->State() == SocketControl::StateConnected && socket_->BytesReceived() != 0) {
        sReceiveBuffer_.Append(socket_->GetData());
    }
}

bool PlayoutLink::LinesWaiting() const {
    return sReceiveBuffer_.HasLine() ||
           (socket_->State() == SocketControl::StateConnected && socket_->BytesReceived() != 0);
}

void PlayoutLink::handleTurn() {
    if (handling_) {
        return;
    }
    handling_ = true;
    QElapsedTimer turn;
    turn.start();
    QByteArrayView line;
    // Each line leaves the framer before it is handled, so that whatever runs meanwhile never
    // sees it again.
    do {
        if (!sReceiveBuffer_.TakeLine(line)) {
            readSome();
            if (!sReceiveBuffer_.TakeLine(line)) {
                break;
            }
        }
        processLine(line);
        ++linesHandled_;
    } while (turn.nsecsElapsed() < turnBudgetNs_);
    handling_ = false;
    if (LinesWaiting()) {
        postTurn();
    }
}

void PlayoutLink::postTurn() {
    if (turnPosted_) {
        return;
    }
    turnPosted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            turnPosted_ = false;
            guarded("sckVorela_DataArrival", [this] { handleTurn(); });
        },
        Qt::QueuedConnection);
}

void PlayoutLink::processLine(QByteArrayView bytes) {
    // The line is decoded into the text buffer of the last one, so that no line allocates.
    // The buffer is taken for the time the line is handled: a nested read meanwhile decodes
    // into one of its own.
    QString text = std::exchange(lineText_, QString());
    if (!widenAscii(bytes.data(), bytes.size(), text)) {
        Windows1252::DecodeInto(bytes.data(), bytes.size(), text);
    }
    // A line that cannot be handled is skipped; the lines after it still are.
    guarded("ProcessMessage", [&] { protocol_.ProcessMessage(text); });
    lineText_ = std::move(text);
}

void PlayoutLink::sckVorela_Error(int Number, const QString& Description) {
    switch (Number) {
    case SocketErrorNumber::ConnectionRefused:
    case SocketErrorNumber::ConnectionAborted:
    case SocketErrorNumber::ConnectionReset:
    case SocketErrorNumber::TimedOut:
    case SocketErrorNumber::HostNotFound:
    case SocketErrorNumber::TryAgain: {
        DisconnectFromVorela();
        if (bLinkWanted_) {
            retryLaterPaced();
        }
        return;
    }
    case SocketErrorNumber::HostUnreachable:
        // No route to the playout computer: the presenter is told once why the panel stays
        // down, and the link keeps trying so that it comes back by itself with the route.
        DisconnectFromVorela();
        if (!unreachableTold_) {
            unreachableTold_ = true;
            postErrorBox(Description);
        }
        if (bLinkWanted_) {
            retryLaterPaced();
        }
        return;
    default:
        DisconnectFromVorela();
        postErrorBox(Description);
        return;
    }
}

void PlayoutLink::postErrorBox(const QString& Description) {
    // Shown after the socket's event, never inside it.
    QMetaObject::invokeMethod(
        this,
        [Description] {
            guarded("Playout error box", [&] {
                MsgBox(QStringLiteral("There was a problem connecting to the Vorela System.\nThe "
                                      "error was : ") +
                           Description + QLatin1Char('\n'),
                       MsgIcon::Information);
            });
        },
        Qt::QueuedConnection);
}

void PlayoutLink::retryLaterPaced() {
    const int pause = retryPauseMs_;
    retryPauseMs_ = std::min(retryPauseMs_ * 2, longestRetryPauseMs_);
    retryLater(pause);
}

void PlayoutLink::retryLater(int pauseMs) {
    retryTimer_->Start(pauseMs);
    setState(LinkState::WaitingToRetry);
}

void PlayoutLink::onRetryDue() {
    if (bLinkWanted_) {
        connectNow();
    }
}
