#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The one place where the messages database looks inside a message's RFC 5322 bytes: the
// columns that filters, lists and templates need are read out here when a message is stored,
// so nothing else parses MIME. When the message object carries its own accessors, only this
// file changes.
struct MessageColumns {
    QString Subject;
    QString From; // as displayed: "Name <address>" or the bare address or number
    QString To;   // displayed addresses joined by ", "
    QString Cc;
    QString TextBody;      // the plain text of the message (HTML-only bodies lose their tags)
    QStringList Addresses; // every addr-spec of From, To and Cc, lower case
    // False for the columns of a stored row, which keeps its addresses only in its own key:
    // a store of such a message keeps the row's key or derives it from the bytes.
    bool AddressesKnown = true;
    QDateTime Date; // the Date header, UTC; invalid when absent
};

MessageColumns ReadMessageColumns(const QByteArray& rfc5322);

// A plain text message, UTF-8, for SMS and for imports from the small text form. date is
// written as the Date header when valid.
QByteArray BuildTextMessage(const QString& from, const QString& to, const QString& subject,
                            const QString& body, const QDateTime& date);
