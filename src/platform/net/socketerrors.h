#pragma once

#include <QAbstractSocket>
#include <QHostInfo>
#include <QString>

// The error numbers the link's rules are written in (the classic socket numbers).
namespace SocketErrorNumber {
constexpr int ConnectionAborted = 10053;
constexpr int ConnectionReset = 10054;
constexpr int TimedOut = 10060;
constexpr int ConnectionRefused = 10061;
// No route to the host: this computer has no route to the playout computer's network.
constexpr int HostUnreachable = 10065;
constexpr int HostNotFound = 11001;
constexpr int TryAgain = 11002;
// Anything the table below does not name; the description carries the detail.
constexpr int Other = 10000;
} // namespace SocketErrorNumber

// What the link is told about a transport error.
struct SocketErrorMapping {
    // The other side closed or reset the connection: this goes the close road, not the
    // error road.
    bool peerClosed = false;
    int number = SocketErrorNumber::Other;
};

// The one table from Qt's socket errors to our numbers. Qt reports refused, unreachable and
// timed-out connects under broad codes, so its error text is consulted where the code alone
// does not tell them apart. A switched-off computer on the studio network reports "Host
// unreachable" on Linux; it counts as a time-out so that the link keeps trying. "Network
// unreachable" (no route at all) is 10065, which the user is told of.
SocketErrorMapping MapSocketError(QAbstractSocket::SocketError error, const QString& errorText);

// A failed name look-up: 11001 when the name is known not to exist, 11002 when the look-up
// could not be made for now.
int MapHostLookupError(QHostInfo::HostInfoError error);
