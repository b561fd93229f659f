#include "platform/net/socketerrors.h"

SocketErrorMapping MapSocketError(QAbstractSocket::SocketError error, const QString& errorText) {
    SocketErrorMapping m;
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        m.number = SocketErrorNumber::ConnectionRefused;
        return m;
    case QAbstractSocket::RemoteHostClosedError:
        m.peerClosed = true;
        m.number = SocketErrorNumber::ConnectionReset;
        return m;
    case QAbstractSocket::HostNotFoundError:
        m.number = SocketErrorNumber::HostNotFound;
        return m;
    case QAbstractSocket::SocketTimeoutError:
        m.number = SocketErrorNumber::TimedOut;
        return m;
    case QAbstractSocket::NetworkError:
        // Qt gives ETIMEDOUT, EHOSTUNREACH and ENETUNREACH all as NetworkError; only its
        // text tells them apart. A computer switched off on the studio network is "Host
        // unreachable"; a network this computer has no route to is "Network unreachable".
        if (errorText.contains(QLatin1String("network unreachable"), Qt::CaseInsensitive)) {
            m.number = SocketErrorNumber::HostUnreachable;
        } else if (errorText.contains(QLatin1String("unreachable"), Qt::CaseInsensitive) ||
                   errorText.contains(QLatin1String("timed out"), Qt::CaseInsensitive)) {
            m.number = SocketErrorNumber::TimedOut;
        }
        return m;
    default:
        return m;
    }
}

int MapHostLookupError(QHostInfo::HostInfoError error) {
    return error == QHostInfo::HostNotFound ? SocketErrorNumber::HostNotFound
                                            : SocketErrorNumber::TryAgain;
}
