#pragma once

#include "platform/mime/mimemessage.h"

#include "platform/messagesdb/messagemime.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class MessagesStorage;
class OrlixCategoryTree;

// One stored message: its place (folder), kind, status bits, owner and dates, around the
// message itself, kept as RFC 5322 bytes. The columns read out of those bytes (subject,
// addresses, text) come with it, so a list never parses a message.
//
// Setters leave Edited alone: the windows decide when a message counts as edited.
class OrlixMessage : public QObject {
    Q_OBJECT
public:
    enum Kinds { KindEmail = 1, KindSms = 2 };
    enum FlagBits { FlagRead = 1, FlagToBeSent = 2 };
    static constexpr qint32 kOutboxFolder = 2;
    static constexpr qint32 kNewMessagesFolder = 6;

    OrlixMessage();
    ~OrlixMessage() override;

    qint32 Reference() const { return reference_; }
    void SetReference(qint32 reference) { reference_ = reference; }
    qint32 Folder() const { return folder_; }
    void SetFolder(qint32 folder) { folder_ = folder; }
    qint32 Kind() const { return kind_; }
    void SetKind(qint32 kind) { kind_ = kind; }
    qint32 Flags() const { return flags_; }
    void SetFlags(qint32 flags) { flags_ = flags; }
    qint32 PersonalOwner() const { return personalOwner_; }
    void SetPersonalOwner(qint32 owner) { personalOwner_ = owner; }
    // Copied unchanged into replies and forwards.
    qint32 InheritedValue() const { return inheritedValue_; }
    void SetInheritedValue(qint32 value) { inheritedValue_ = value; }

    bool Edited() const { return edited_; }
    // Raises MessageEdited when the state changes.
    void SetEdited(bool edited);

    // Local time; an invalid date is "unset" (0).
    QDateTime ReceivedDate() const;
    void SetReceivedDate(const QDateTime& date);
    QDateTime SentDate() const;
    void SetSentDate(const QDateTime& date);
    QDateTime SendAfterDate() const;
    void SetSendAfterDate(const QDateTime& date);
    QString ReceivedDateText() const;
    QString SentDateText() const;
    // The dates in UTC as kept, for a page that formats many (StoredDates::PageDates).
    const QDateTime& ReceivedDateUtc() const { return receivedDate_; }
    const QDateTime& SentDateUtc() const { return sentDate_; }

    // The whole message. Setting it replaces the message and reads its columns again.
    // The message inside, as the message object: read from the stored bytes. A change reaches
    // the store through SetCDOMessage (which also renews the indexed columns).
    MimeMessage CDOMessage() const;
    void SetCDOMessage(const MimeMessage& message);
    // Changes the message object where it is kept, for the windows' edits: a keystroke in a
    // message with a large attachment must not read and write the whole message again. The
    // bytes and columns are made from it again when next asked for (on store, in a list).
    void ChangeCDOMessage(const std::function<void(MimeMessage&)>& change);

    QByteArray MessageBytes() const;
    // Bytes that come from outside (a received e-mail, an imported file): the program's
    // private headers are taken out of them, so that only the program's own messages carry
    // any (src/platform/mime/FORMAT.md). A message made here is set through SetCDOMessage.
    void SetMessageBytes(const QByteArray& rfc5322);
    const MessageColumns& Columns() const;
    QString Subject() const { return Columns().Subject; }
    QString FromText() const { return Columns().From; }
    QString ToText() const { return Columns().To; }
    QString CcText() const { return Columns().Cc; }
    QString BodyText() const { return Columns().TextBody; }

    // Asks the processor for the columns' texts ahead of their use, for a page of many
    // messages; nothing is read or made.
    void PrefetchColumns() const {
        if (!columnsStale_) {
            __builtin_prefetch(columns_.Subject.constData());
            __builtin_prefetch(columns_.From.constData());
            __builtin_prefetch(columns_.TextBody.constData());
        }
    }

    // The name of the message's folder in the database it came from; "" when unknown.
    QString FolderName() const;

    // A distinct copy of the fields and of the message bytes; the original is unchanged.
    std::unique_ptr<OrlixMessage> Clone() const;

    // Fills this message's tags into a print template (option 0), after the common tags.
    QString ApplyTemplate(const QString& text, int options) const;

Q_SIGNALS:
    void MessageEdited(bool edited);

private:
    friend class MessageTable;
    friend class OrlixDatabase;
    // Stored messages read their bytes only when someone asks for them, from the row of
    // storedReference in storage (the row's reference as it was read).
    void setStoredState(std::weak_ptr<MessagesStorage> storage, MessageColumns columns,
                        std::weak_ptr<const OrlixCategoryTree> tree);
    bool bytesUnread() const { return unread_; }
    void setCategoryTree(std::weak_ptr<const OrlixCategoryTree> tree) { tree_ = std::move(tree); }
    void setBytes(const QByteArray& rfc5322);
    void forgetChanged();

    qint32 reference_ = 0;
    qint32 folder_ = kNewMessagesFolder;
    qint32 kind_ = KindEmail;
    qint32 flags_ = 0;
    qint32 personalOwner_ = 0;
    qint32 inheritedValue_ = 0;
    bool edited_ = false;
    // Kept in UTC, as stored: a list of a thousand messages converts only the dates it shows.
    QDateTime receivedDate_;
    QDateTime sentDate_;
    QDateTime sendAfterDate_;
    mutable QByteArray bytes_;
    // Where unread bytes come from: a handle and a number, not a function object, since a
    // busy day's list makes ten thousand of them and reads the bytes of next to none.
    mutable std::weak_ptr<MessagesStorage> storage_;
    qint32 storedReference_ = 0;
    mutable bool unread_ = false;
    mutable MessageColumns columns_;
    // The message object changed in place since bytes_ and columns_ were made, when it was.
    std::unique_ptr<MimeMessage> changed_;
    mutable bool bytesStale_ = false;
    mutable bool columnsStale_ = false;
    std::weak_ptr<const OrlixCategoryTree> tree_;
};
