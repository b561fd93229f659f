#include "platform/messagesdb/controls/umessagebasic.h"

#include "platform/messagesdb/orlixmessage.h"
#include "platform/mime/addresstext.h"
#include "platform/system/displaytext.h"
#include "platform/ui/paneframe.h"
#include "platform/ui/plainlabel.h"

#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>

uMessageBasic::uMessageBasic(QWidget* parent) : PaneControl(tr("Message"), parent) {
    setObjectName(QStringLiteral("uMessageBasic"));
    auto* fields = new QWidget(Frame());
    auto* form = new QFormLayout(fields);
    form->setContentsMargins(0, 0, 0, 0);
    lblSubject_ = PlainLabel::Create(fields, "lblSubject", Qt::TextSelectableByMouse);
    lblFrom_ = PlainLabel::Create(fields, "lblFrom", Qt::TextSelectableByMouse);
    form->addRow(tr("Subject:"), lblSubject_);
    lblDate_ = PlainLabel::Create(fields, "lblDate", Qt::TextSelectableByMouse);
    form->addRow(tr("From:"), lblFrom_);
    form->addRow(tr("Date:"), lblDate_);
    Frame()->AddWidget(fields);
    // A plain text view: whatever a listener wrote is shown as characters, never as markup.
    txtBody_ = new QPlainTextEdit(Frame());
    txtBody_->setObjectName(QStringLiteral("txtBody"));
    txtBody_->setReadOnly(true);
    txtBody_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Frame()->AddWidget(txtBody_, 1);
}

uMessageBasic::~uMessageBasic() = default;

void uMessageBasic::SetMessage(const std::shared_ptr<OrlixMessage>& message) {
    message_ = message;
    // The listener's fields, each isolated (the display rule): the sender's name and address
    // apart, the body line by line.
    lblSubject_->setText(message_ ? DisplayText::Field(message_->Subject()) : QString());
    QStringList from;
    if (message_) {
        for (const QString& entry : mime::SplitAddressText(message_->FromText())) {
            from += DisplayText::AddressEntry(entry);
        }
    }
    lblFrom_->setText(from.join(QStringLiteral(", ")));
    QString date;
    if (message_) {
        // A received message shows when it came in; one of ours when it went out.
        date = message_->ReceivedDateText();
        if (date.isEmpty()) {
            date = message_->SentDateText();
        }
    }
    lblDate_->setText(date);
    txtBody_->setPlainText(message_ ? DisplayText::Lines(message_->BodyText()) : QString());
}
