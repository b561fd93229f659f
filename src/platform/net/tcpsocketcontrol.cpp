#include "platform/net/tcpsocketcontrol.h"

#include "platform/net/socketerrors.h"

#include <QHostAddress>
#include <QTcpSocket>

TcpSocketControl::TcpSocketControl(QObject* parent) : SocketControl(parent) {
    socket_ = new QTcpSocket(this);
    // What waits unread stays bounded: past this Qt leaves the rest with the system until it
    // has been taken.
    socket_->setReadBufferSize(kReadBufferBytes);
    connectTimer_.setSingleShot(true);
    connect(&connectTimer_, &QTimer::timeout, this, &TcpSocketControl::onConnectTimeout);
    connect(socket_, &QTcpSocket::connected, this, &TcpSocketControl::onConnected);
    connect(socket_, &QTcpSocket::readyRead, this, &TcpSocketControl::onReadyRead);
    connect(socket_, &QTcpSocket::disconnected, this, &TcpSocketControl::onDisconnected);
    connect(socket_, &QTcpSocket::errorOccurred, this, &TcpSocketControl::onSocketError);
}

TcpSocketControl::~TcpSocketControl() {
    dropping_ = true;
    dropTransport();
}

void TcpSocketControl::Connect(const QString& remoteHost, quint16 remotePort) {
    Close();
    const quint64 attempt = ++attempt_;
    port_ = remotePort;
    connectTimer_.start(connectTimeoutMs_);
    QHostAddress literal;
    if (literal.setAddress(remoteHost)) {
        state_ = StateConnecting;
        socket_->connectToHost(literal, remotePort);
        return;
    }
    state_ = StateResolvingHost;
    lookupId_ = QHostInfo::lookupHost(
        remoteHost, this, [this, attempt](const QHostInfo& info) { onLookedUp(info, attempt); });
}

void TcpSocketControl::onLookedUp(const QHostInfo& info, quint64 attempt) {
    if (attempt != attempt_ || state_ != StateResolvingHost) {
        return;
    }
    lookupId_ = -1;
    if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
        const int number = info.error() == QHostInfo::NoError ? SocketErrorNumber::HostNotFound
                                                              : MapHostLookupError(info.error());
        fail(number, info.errorString());
        return;
    }
    state_ = StateHostResolved;
    // The first IPv4 address where there is one: studio networks are IPv4, and a name that
    // also has an IPv6 address must not depend on IPv6 being routed.
    QHostAddress address = info.addresses().constFirst();
    for (const QHostAddress& a : info.addresses()) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol) {
            address = a;
            break;
        }
    }
    state_ = StateConnecting;
    socket_->connectToHost(address, port_);
}

void TcpSocketControl::Close() {
    connectTimer_.stop();
    ++attempt_;
    dropping_ = true;
    dropTransport();
    dropping_ = false;
    state_ = StateClosed;
}

void TcpSocketControl::dropTransport() {
    if (lookupId_ != -1) {
        QHostInfo::abortHostLookup(lookupId_);
        lookupId_ = -1;
    }
    if (socket_ != nullptr && socket_->state() != QAbstractSocket::UnconnectedState) {
        socket_->abort();
    }
}

void TcpSocketControl::SendData(const QByteArray& data) {
    if (state_ != StateConnected) {
        return;
    }
    socket_->write(data);
}

qint64 TcpSocketControl::BytesToWrite() const {
    return socket_ != nullptr ? socket_->bytesToWrite() : 0;
}

QByteArray TcpSocketControl::GetData() {
    return socket_->readAll();
}

qint64 TcpSocketControl::BytesReceived() const {
    return socket_->bytesAvailable();
}

void TcpSocketControl::onConnected() {
    if (dropping_ || state_ != StateConnecting) {
        return;
    }
    connectTimer_.stop();
    state_ = StateConnected;
    Q_EMIT Connected();
}

void TcpSocketControl::onReadyRead() {
    if (dropping_ || state_ != StateConnected) {
        return;
    }
    Q_EMIT DataArrival(socket_->bytesAvailable());
}

void TcpSocketControl::onDisconnected() {
    if (dropping_ || state_ != StateConnected) {
        return;
    }
    // Whatever arrived just before the close is still read first.
    if (socket_->bytesAvailable() > 0) {
        Q_EMIT DataArrival(socket_->bytesAvailable());
        if (state_ != StateConnected) {
            return;
        }
    }
    state_ = StateClosing;
    Q_EMIT Closed();
}

void TcpSocketControl::onSocketError(QAbstractSocket::SocketError error) {
    if (dropping_) {
        return;
    }
    const SocketErrorMapping m = MapSocketError(error, socket_->errorString());
    if (m.peerClosed) {
        if (state_ == StateConnected) {
            // disconnected() follows and takes the close road.
            return;
        }
        // Closed before the connect completed: to the caller that is a refusal.
        fail(SocketErrorNumber::ConnectionRefused, socket_->errorString());
        return;
    }
    if (state_ == StateClosed || state_ == StateError) {
        return;
    }
    fail(m.number, socket_->errorString());
}

void TcpSocketControl::onConnectTimeout() {
    if (state_ == StateConnected || state_ == StateClosed || state_ == StateError) {
        return;
    }
    fail(SocketErrorNumber::TimedOut, tr("Connection timed out"));
}

void TcpSocketControl::fail(int number, const QString& description) {
    connectTimer_.stop();
    ++attempt_;
    dropping_ = true;
    dropTransport();
    dropping_ = false;
    state_ = StateError;
    Q_EMIT Error(number, description);
}
