#include "platform/messagesdb/orlixmessage.h"

#include "platform/messagesdb/messagetable.h"
#include "platform/messagesdb/messagetemplate.h"
#include "platform/messagesdb/orlixcategorytree.h"
#include "platform/messagesdb/storeddates.h"
#include "platform/mime/privateheaders.h"

namespace {
QDateTime localOrUnset(const QDateTime& date) {
    return date.isValid() ? date.toLocalTime() : QDateTime();
}
QDateTime utcOrUnset(const QDateTime& date) {
    if (!date.isValid()) {
        return {};
    }
    return date.timeSpec() == Qt::UTC ? date : date.toUTC();
}
} // namespace

OrlixMessage::OrlixMessage() = default;
OrlixMessage::~OrlixMessage() = default;

void OrlixMessage::SetEdited(bool edited) {
    if (edited_ == edited) {
        return;
    }
    edited_ = edited;
    Q_EMIT MessageEdited(edited_);
}

QDateTime OrlixMessage::ReceivedDate() const {
    return localOrUnset(receivedDate_);
}
void OrlixMessage::SetReceivedDate(const QDateTime& date) {
    receivedDate_ = utcOrUnset(date);
}
QDateTime OrlixMessage::SentDate() const {
    return localOrUnset(sentDate_);
}
void OrlixMessage::SetSentDate(const QDateTime& date) {
    sentDate_ = utcOrUnset(date);
}
QDateTime OrlixMessage::SendAfterDate() const {
    return localOrUnset(sendAfterDate_);
}
void OrlixMessage::SetSendAfterDate(const QDateTime& date) {
    sendAfterDate_ = utcOrUnset(date);
}
QString OrlixMessage::ReceivedDateText() const {
    return StoredDates::Text(receivedDate_);
}
QString OrlixMessage::SentDateText() const {
    return StoredDates::Text(sentDate_);
}

QByteArray OrlixMessage::MessageBytes() const {
    if (unread_) {
        bytes_ = MessageTable::StoredBytes(storage_.lock(), storedReference_);
        unread_ = false;
        storage_.reset();
    }
    if (bytesStale_) {
        bytes_ = changed_->ToBytes();
        bytesStale_ = false;
    }
    return bytes_;
}

const MessageColumns& OrlixMessage::Columns() const {
    if (columnsStale_) {
        columns_ = ReadMessageColumns(MessageBytes());
        columnsStale_ = false;
    }
    return columns_;
}

MimeMessage OrlixMessage::CDOMessage() const {
    return MimeMessage::FromBytes(MessageBytes());
}

void OrlixMessage::SetCDOMessage(const MimeMessage& message) {
    setBytes(message.ToBytes());
}

void OrlixMessage::ChangeCDOMessage(const std::function<void(MimeMessage&)>& change) {
    if (!changed_) {
        changed_ = std::make_unique<MimeMessage>(MimeMessage::FromBytes(MessageBytes()));
    }
    change(*changed_);
    bytesStale_ = true;
    columnsStale_ = true;
}

void OrlixMessage::forgetChanged() {
    changed_.reset();
    bytesStale_ = false;
    columnsStale_ = false;
}

void OrlixMessage::SetMessageBytes(const QByteArray& rfc5322) {
    setBytes(mime::WithoutPrivateHeaders(rfc5322));
}

void OrlixMessage::setBytes(const QByteArray& rfc5322) {
    forgetChanged();
    unread_ = false;
    storage_.reset();
    bytes_ = rfc5322;
    columns_ = ReadMessageColumns(rfc5322);
}

QString OrlixMessage::FolderName() const {
    if (const auto tree = tree_.lock()) {
        return tree->FolderName(folder_);
    }
    return {};
}

std::unique_ptr<OrlixMessage> OrlixMessage::Clone() const {
    auto copy = std::make_unique<OrlixMessage>();
    copy->reference_ = reference_;
    copy->folder_ = folder_;
    copy->kind_ = kind_;
    copy->flags_ = flags_;
    copy->personalOwner_ = personalOwner_;
    copy->inheritedValue_ = inheritedValue_;
    copy->edited_ = edited_;
    copy->receivedDate_ = receivedDate_;
    copy->sentDate_ = sentDate_;
    copy->sendAfterDate_ = sendAfterDate_;
    copy->bytes_ = MessageBytes();
    copy->columns_ = Columns();
    copy->tree_ = tree_;
    return copy;
}

QString OrlixMessage::ApplyTemplate(const QString& text, int options) const {
    return MessageTemplate::RenderOne(text, *this, options);
}

void OrlixMessage::setStoredState(std::weak_ptr<MessagesStorage> storage, MessageColumns columns,
                                  std::weak_ptr<const OrlixCategoryTree> tree) {
    forgetChanged();
    bytes_.clear();
    storage_ = std::move(storage);
    storedReference_ = reference_;
    unread_ = true;
    columns_ = std::move(columns);
    tree_ = std::move(tree);
}
