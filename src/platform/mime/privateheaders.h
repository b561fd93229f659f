#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The program's private headers (X-Orlix-From, X-Orlix-To, X-Orlix-Cc, and any other
// X-Orlix-...) say what the program itself wrote into a message. They are believed only in
// messages the program stored; a received message has them taken out before it is stored, so
// that a listener cannot choose the sender the station sees.
namespace mime {

// Whether a header of this name is private: "X-Orlix-" in any letter case.
bool IsPrivateHeaderName(QByteArrayView name);

// Received bytes as the program stores them: every private header of the message's own
// headers taken out, continuation lines included, and every other byte kept as it arrived.
// Bytes without a private header are given back unchanged.
QByteArray WithoutPrivateHeaders(const QByteArray& received);

} // namespace mime
