#pragma once

// Doubles for the playout link: a socket the test speaks through as the playout system
// would, a retry timer on the test's own clock, and a main window that records what the link
// and the parser show on it.

#include "core/profile/cocsettings.h"
#include "platform/net/socketcontrol.h"
#include "playout/link/linkstateview.h"
#include "playout/link/playoutdisplay.h"
#include "playout/link/playoutlink.h"
#include "playout/link/retrytimer.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>
#include <utility>

// The socket as the link sees it; the test plays the network and the playout side.
class FakeSocketControl : public SocketControl {
public:
    int State() const override { return state_; }
    void Connect(const QString& remoteHost, quint16 remotePort) override {
        host_ = remoteHost;
        port_ = remotePort;
        ++connects_;
        inbound_.clear();
        state_ = StateConnecting;
    }
    void Close() override {
        state_ = StateClosed;
        inbound_.clear();
        ++closes_;
    }
    void SendData(const QByteArray& data) override {
        sentCount += data.size();
        if (keepSent) {
            sent_ += data;
        }
    }
    QByteArray GetData() override { return std::exchange(inbound_, QByteArray()); }
    qint64 BytesReceived() const override { return inbound_.size(); }

    // The network side.
    void Accept() {
        state_ = StateConnected;
        Q_EMIT Connected();
    }
    // One chunk arrives.
    void Say(const QByteArray& bytes) {
        inbound_ += bytes;
        Q_EMIT DataArrival(inbound_.size());
    }
    void SayLine(const QString& line) { Say(line.toLatin1() + "\r\n"); }
    void PeerCloses() {
        state_ = StateClosing;
        Q_EMIT Closed();
    }
    void Fail(int number, const QString& description = QString()) {
        state_ = StateError;
        Q_EMIT Error(number, description);
    }

    // Everything the link sent, as lines (each must end in CR LF), and forgets it.
    QStringList TakeSentLines() {
        QStringList lines;
        QByteArray all = std::exchange(sent_, QByteArray());
        while (!all.isEmpty()) {
            const qsizetype at = all.indexOf("\r\n");
            if (at < 0) {
                lines << QStringLiteral("<unended>") + QString::fromLatin1(all);
                break;
            }
            lines << QString::fromLatin1(all.left(at));
            all.remove(0, at + 2);
        }
        return lines;
    }
    const QByteArray& SentBytes() const { return sent_; }
    // Forgets what was sent, keeping the buffer (the benchmarks' way).
    void ForgetSent() { sent_.truncate(0); }

    // The benchmarks keep nothing of what was sent, only count its bytes: the socket's
    // bookkeeping is not the link's work.
    bool keepSent = true;
    qint64 sentCount = 0;
    QString host_;
    quint16 port_ = 0;
    int connects_ = 0;
    int closes_ = 0;
    int state_ = StateClosed;

private:
    QByteArray inbound_;
    QByteArray sent_;
};

// The retry timer with the test's own clock: time moves only when the test says so.
class ManualRetryTimer : public RetryTimer {
public:
    void Start(int ms) override {
        active_ = true;
        interval_ = ms;
        left_ = ms;
    }
    void Stop() override { active_ = false; }
    bool IsActive() const override { return active_; }
    int Interval() const override { return interval_; }

    // Moves the clock on by ms: a pause that ends on the way fires, and one it starts runs on
    // with the time that is left.
    void Elapse(int ms) {
        while (active_ && ms >= left_) {
            ms -= left_;
            active_ = false;
            Fire();
        }
        if (active_) {
            left_ -= ms;
        }
    }

private:
    bool active_ = false;
    int interval_ = 0;
    int left_ = 0;
};

// The main window as the link and the parser reach it: the display's calls and what the
// window does with the link's signals, each one line of a record; the menus and the cover as
// the window shows the link's state.
class RecordingPlayoutWindow : public PlayoutDisplay {
public:
    RecordingPlayoutWindow() : settings_(std::make_unique<cOCSettings>()) {
        settings_->SetVorelaComputerName(QStringLiteral("studio-playout"));
    }
    virtual ~RecordingPlayoutWindow() = default;

    const cOCSettings* clsSettings() const { return settings_.get(); }
    void DropSettings() { settings_.reset(); }
    cOCSettings* Settings() { return settings_.get(); }

    // A link on this window, followed as the main window follows its own.
    // A turn no stall of a loaded machine outlasts: a chunk's lines are all handled in the turn
    // of its arrival, as the tests that read the calls right after it expect.
    static constexpr qint64 kUnsplitTurnNs = 60'000'000'000;

    std::unique_ptr<PlayoutLink> MakeLink(std::unique_ptr<SocketControl> socket = nullptr,
                                          std::unique_ptr<RetryTimer> retryTimer = nullptr) {
        auto link = std::make_unique<PlayoutLink>(
            *this, [this] { return clsSettings(); }, std::move(socket), std::move(retryTimer));
        QObject::connect(link.get(), &PlayoutLink::LinkStateChanged, &context_,
                         [this](PlayoutLink::LinkState state) { ShowLinkState(state); });
        QObject::connect(link.get(), &PlayoutLink::ScriptReceived, &context_,
                         [this](const QString& text) { ShowScript(text, QString(), true); });
        QObject::connect(link.get(), &PlayoutLink::WebsiteReceived, &context_,
                         [this](const QString& address) {
                             if (counted()) {
                                 calls_ << QStringLiteral("optWeb=1");
                             }
                             if (counted()) {
                                 calls_ << QStringLiteral("ShowWebAddress(\"%1\")").arg(address);
                             }
                         });
        return link;
    }

    void ShowLinkState(PlayoutLink::LinkState state) {
        const LinkStateView view = LinkStateView::Of(state);
        mnuConnectEnabled_ = view.connectEnabled;
        mnuDisconnectEnabled_ = view.disconnectEnabled;
        if (view.cover == LinkStateView::Cover::Hide) {
            notConnectedShown_ = false;
        } else if (view.cover == LinkStateView::Cover::ShowWhileKeyboardTicked && keyboardTicked_) {
            notConnectedShown_ = true;
        }
    }

    void SetNumberPlayers(qint16 n) override {
        numberPlayers_ = std::clamp<qint16>(n, 1, 12);
        if (counted()) {
            calls_ << QStringLiteral("SetNumberPlayers(%1)").arg(n);
        }
    }
    qint16 NumberPlayers() const override { return numberPlayers_; }
    void ShowPlayerStatus(qint16 player, qint32 status, QStringView text) override {
        if (counted()) {
            calls_ << QStringLiteral("ShowPlayerStatus(%1,%2,\"%3\")")
                          .arg(player)
                          .arg(status)
                          .arg(text);
        }
    }
    void ShowInstantCartState(qint16 cart, QStringView text) override {
        if (counted()) {
            calls_ << QStringLiteral("ShowInstantCartState(%1,\"%2\")").arg(cart).arg(text);
        }
    }
    void ShowLogMode(bool automatic, bool goAllowed, std::optional<QStringView> text) override {
        if (counted()) {
            calls_ << QStringLiteral("ShowLogMode(%1,%2,%3)")
                          .arg(automatic ? 1 : 0)
                          .arg(goAllowed ? 1 : 0)
                          .arg(text ? QStringLiteral("\"") + text->toString() + QLatin1Char('"')
                                    : QStringLiteral("-"));
        }
    }
    void ShowLogStatus(bool loaded) override {
        if (counted()) {
            calls_ << QStringLiteral("ShowLogStatus(%1)").arg(loaded ? 1 : 0);
        }
    }
    void ShowLogCurrentItem(QStringView text) override {
        if (counted()) {
            calls_ << QStringLiteral("ShowLogCurrentItem(\"%1\")").arg(text);
        }
    }
    // The script browser, as the window's ShowScript.
    virtual void ShowScript(const QString& script, const QString& file, bool fromPlayout) {
        if (counted()) {
            calls_ << QStringLiteral("ShowScript(\"%1\",\"%2\",%3)")
                          .arg(script, file,
                               fromPlayout ? QStringLiteral("True") : QStringLiteral("False"));
        }
    }

    QStringList TakeCalls() { return std::exchange(calls_, QStringList()); }
    const QStringList& Calls() const { return calls_; }
    // Called on every recorded call (the benchmarks time the display call by it).
    void (*onCall)(void*) = nullptr;
    void* onCallContext = nullptr;

    bool mnuConnectEnabled_ = true;
    bool mnuDisconnectEnabled_ = false;
    bool keyboardTicked_ = true;
    bool notConnectedShown_ = true;
    // The benchmarks keep no record, only count.
    bool keepRecord = true;
    quint64 callCount = 0;

private:
    // Counts the call and tells whether to record it (the text is built only then).
    bool counted() {
        ++callCount;
        if (onCall != nullptr) {
            onCall(onCallContext);
        }
        return keepRecord;
    }

    std::unique_ptr<cOCSettings> settings_;
    qint16 numberPlayers_ = 1;
    QStringList calls_;
    // The link's signals reach this window only while it exists.
    QObject context_;
};
