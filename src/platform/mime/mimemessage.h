#pragma once

#include "platform/mime/mimeattachment.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

// The message object inside every stored e-mail and SMS: an RFC 5322 / MIME message with its
// addresses, subject, text and HTML bodies and attachments, and the reply, reply-to-all and
// forward a mail client makes of it.
//
// Address texts (From, To, CC) are entries joined by ","; an entry is a bare address or a
// display name followed by the address in "<>". Get returns exactly the text that was set
// (after CR and LF became blanks), also when the text is not mailbox syntax, such as the phone
// numbers of an SMS.
//
// Storage form (ToBytes, FromBytes) is documented in src/platform/mime/FORMAT.md: it is what
// the messages database keeps and what the program that delivers the Outbox reads.
class MimeMessage {
public:
    // A new, empty message: no addresses, no subject, no body, no date.
    MimeMessage();
    ~MimeMessage();
    MimeMessage(const MimeMessage& other);
    MimeMessage& operator=(const MimeMessage& other);
    // A moved-from message may only be assigned to or destroyed.
    MimeMessage(MimeMessage&& other) noexcept;
    MimeMessage& operator=(MimeMessage&& other) noexcept;

    // Reads a stored message. Never fails: what cannot be read is left out, with a line in the
    // platform log; empty or unreadable bytes give an empty message. The program's private
    // headers are believed, so received bytes are stored only without them
    // (mime::WithoutPrivateHeaders).
    static MimeMessage FromBytes(const QByteArray& bytes);
    // The message's RFC 5322 bytes. A message that was read and not changed since gives back
    // the very bytes it was read from.
    QByteArray ToBytes() const;
    // True for bytes past the size a message may have: only their first part was read, and
    // ToBytes gives the bytes as they came, whatever was changed.
    bool ReadInPart() const;

    QString From() const;
    void SetFrom(const QString& addressText);
    QString To() const;
    void SetTo(const QString& addressText);
    QString CC() const;
    void SetCC(const QString& addressText);
    // True when one entry of an address text is, to the parser these fields write their
    // headers with, exactly one mailbox whose address holds an "@": what a delivering program
    // can send to. A name alone, a group or two addresses in one entry are not.
    static bool IsMailboxEntry(const QString& entry);

    QString Subject() const;
    void SetSubject(const QString& subject);

    // The Date header, with its offset; invalid when the message has none. Sending stamps it
    // with the moment of sending; an invalid date removes the header.
    QDateTime Date() const;
    void SetDate(const QDateTime& date);

    // Decoded text, "" when the message has no such body. Line ends read back as LF.
    QString TextBody() const;
    void SetTextBody(const QString& text);
    QString HTMLBody() const;
    void SetHTMLBody(const QString& html);

    MimeAttachments& Attachments();
    const MimeAttachments& Attachments() const;
    // Adds the file at `path` (a local path, or the same after "file://") as the last
    // attachment, named after the file. False with a reason in `error` when the file cannot be
    // read or is over the size limit.
    bool AddAttachment(const QString& path, QString* error = nullptr);

    // New, independent messages as a mail client makes them, without dates and with an empty
    // From (the window fills in the station sender). Reply goes to the Reply-To, else the
    // From; ReplyAll also copies the original To and CC into CC, leaving out
    // `ownAddresses` (the station's) and whoever the reply is already addressed to. Forward
    // has no recipients and keeps the attachments. Bodies quote the original as text and HTML.
    MimeMessage Reply() const;
    MimeMessage ReplyAll(const QStringList& ownAddresses = {}) const;
    MimeMessage Forward() const;

private:
    struct Impl;
    enum class Answer { Reply, ReplyAll, Forward };
    MimeMessage Answered(Answer kind, const QStringList& ownAddresses) const;
    std::unique_ptr<Impl> d;
};
