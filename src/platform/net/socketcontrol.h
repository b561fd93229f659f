#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// The TCP client the playout link talks through. Its states and error numbers are the ones the
// link's rules are written in, whatever the transport underneath reports.
class SocketControl : public QObject {
    Q_OBJECT

public:
    enum StateValue {
        StateClosed = 0,
        StateOpen = 1,
        StateListening = 2,
        StateConnectionPending = 3,
        StateResolvingHost = 4,
        StateHostResolved = 5,
        StateConnecting = 6,
        StateConnected = 7,
        StateClosing = 8,
        StateError = 9,
    };

    explicit SocketControl(QObject* parent = nullptr) : QObject(parent) {}
    ~SocketControl() override = default;

    virtual int State() const = 0;
    // Starts an asynchronous connect; the outcome arrives as Connected or Error.
    virtual void Connect(const QString& remoteHost, quint16 remotePort) = 0;
    // Closes at once: State reads closed when this returns, and no event of the closed
    // connection follows.
    virtual void Close() = 0;
    virtual void SendData(const QByteArray& data) = 0;
    // Takes everything waiting.
    virtual QByteArray GetData() = 0;
    virtual qint64 BytesReceived() const = 0;
    // Bytes sent that the transport still holds, not yet handed to the network.
    virtual qint64 BytesToWrite() const { return 0; }

Q_SIGNALS:
    void Connected();
    // The other side closed the connection (never raised for our own Close).
    void Closed();
    void DataArrival(qint64 bytesTotal);
    void Error(int number, const QString& description);
};
