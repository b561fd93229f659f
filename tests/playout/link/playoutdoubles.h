#pragma once

// Doubles for the playout link: a socket the test speaks through as the playout system
// would, and a main window that records every call the link and the parser make on it.

#include "core/profile/cocsettings.h"
#include "platform/net/socketcontrol.h"
#include "playout/link/playouthost.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

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
    void SendData(const QByteArray& data) override { sent_ += data; }
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

    QString host_;
    quint16 port_ = 0;
    int connects_ = 0;
    int closes_ = 0;
    int state_ = StateClosed;

private:
    QByteArray inbound_;
    QByteArray sent_;
};

// The main window as the link and the parser call it: every call is one line of a record.
class RecordingPlayoutHost : public PlayoutHost {
public:
    RecordingPlayoutHost() : settings_(std::make_unique<cOCSettings>()) {
        settings_->SetVorelaComputerName(QStringLiteral("studio-playout"));
    }

    const cOCSettings* clsSettings() const override { return settings_.get(); }
    void DropSettings() { settings_.reset(); }
    cOCSettings* Settings() { return settings_.get(); }

    bool bLinkWanted() const override { return linkWanted_; }
    void SetbLinkWanted(bool wanted) override {
        linkWanted_ = wanted;
        if (counted()) {
            calls_ << QStringLiteral("bLinkWanted=%1").arg(wanted ? 1 : 0);
        }
    }
    float PlayoutVersion() const override { return playoutVersion_; }
    void SetPlayoutVersion(float version) override {
        playoutVersion_ = version;
        if (counted()) {
            calls_ << QStringLiteral("PlayoutVersion=%1").arg(double(version));
        }
    }

    void mnuConnectSetEnabled(bool enabled) override { mnuConnectEnabled_ = enabled; }
    void mnuDisconnectSetEnabled(bool enabled) override { mnuDisconnectEnabled_ = enabled; }
    bool mnuViewVorelaKeyboardChecked() const override { return keyboardTicked_; }
    void pnlNotConnectedShow() override { notConnectedShown_ = true; }
    void pnlNotConnectedHide() override { notConnectedShown_ = false; }

    void SetNumberPlayers(qint16 n) override {
        if (counted()) {
            calls_ << QStringLiteral("SetNumberPlayers(%1)").arg(n);
        }
    }
    void ShowPlayerStatus(qint16 player, qint32 status, const QString& text) override {
        if (counted()) {
            calls_ << QStringLiteral("ShowPlayerStatus(%1,%2,\"%3\")")
                          .arg(player)
                          .arg(status)
                          .arg(text);
        }
    }
    void ShowInstantCartState(qint16 cart, const QString& text) override {
        if (counted()) {
            calls_ << QStringLiteral("ShowInstantCartState(%1,\"%2\")").arg(cart).arg(text);
        }
    }
    void ShowLogMode(bool automatic, bool goAllowed, const std::optional<QString>& text) override {
        if (counted()) {
            calls_ << QStringLiteral("ShowLogMode(%1,%2,%3)")
                          .arg(automatic ? 1 : 0)
                          .arg(goAllowed ? 1 : 0)
                          .arg(text ? QStringLiteral("\"") + *text + QLatin1Char('"')
                                    : QStringLiteral("-"));
        }
    }
    void ShowLogStatus(bool loaded) override {
        if (counted()) {
            calls_ << QStringLiteral("ShowLogStatus(%1)").arg(loaded ? 1 : 0);
        }
    }
    void ShowLogCurrentItem(const QString& text) override {
        if (counted()) {
            calls_ << QStringLiteral("ShowLogCurrentItem(\"%1\")").arg(text);
        }
    }
    void ShowScript(const QString& script, const QString& file, bool fromPlayout) override {
        if (counted()) {
            calls_ << QStringLiteral("ShowScript(\"%1\",\"%2\",%3)")
                          .arg(script, file,
                               fromPlayout ? QStringLiteral("True") : QStringLiteral("False"));
        }
    }
    void optWebSetValue(int value) override {
        if (counted()) {
            calls_ << QStringLiteral("optWeb=%1").arg(value);
        }
    }
    void ctlWebsiteShowWebAddress(const QString& address) override {
        if (counted()) {
            calls_ << QStringLiteral("ShowWebAddress(\"%1\")").arg(address);
        }
    }

    QStringList TakeCalls() { return std::exchange(calls_, QStringList()); }
    const QStringList& Calls() const { return calls_; }
    // Called on every recorded call (the benchmarks time the display call by it).
    void (*onCall)(void*) = nullptr;
    void* onCallContext = nullptr;

    bool linkWanted_ = false;
    float playoutVersion_ = 0;
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
    QStringList calls_;
};
