#pragma once

#include "platform/net/socketcontrol.h"

#include <QAbstractSocket>
#include <QHostInfo>
#include <QTimer>

class QTcpSocket;

// The socket control on QTcpSocket. The name is looked up first by ourselves, so that a
// name that does not exist and a look-up that failed for now can be told apart, and the whole
// attempt (look-up and connect) is bounded by its own time-out.
class TcpSocketControl : public SocketControl {
    Q_OBJECT

public:
    explicit TcpSocketControl(QObject* parent = nullptr);
    ~TcpSocketControl() override;

    int State() const override { return state_; }
    void Connect(const QString& remoteHost, quint16 remotePort) override;
    void Close() override;
    void SendData(const QByteArray& data) override;
    qint64 BytesToWrite() const override;
    QByteArray GetData() override;
    qint64 BytesReceived() const override;

    // 5 s unless a caller chooses otherwise.
    void SetConnectTimeout(int milliseconds) { connectTimeoutMs_ = milliseconds; }
    static constexpr int kDefaultConnectTimeoutMs = 5000;
    static constexpr qint64 kReadBufferBytes = qint64(1) << 20;

private:
    void onLookedUp(const QHostInfo& info, quint64 attempt);
    void onConnected();
    void onReadyRead();
    void onDisconnected();
    void onSocketError(QAbstractSocket::SocketError error);
    void onConnectTimeout();
    // Drops the transport without telling anyone; leaves state_ to the caller.
    void dropTransport();
    void fail(int number, const QString& description);

    QTcpSocket* socket_ = nullptr;
    QTimer connectTimer_;
    int state_ = StateClosed;
    int connectTimeoutMs_ = kDefaultConnectTimeoutMs;
    int lookupId_ = -1;
    quint16 port_ = 0;
    // Every attempt has its own number, so that a late answer of an earlier one is ignored.
    quint64 attempt_ = 0;
    bool dropping_ = false;
};
