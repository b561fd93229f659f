#include "platform/messagesdb/controls/umessagebasic.h"

#include "platform/messagesdb/orlixmessage.h"
#include "platform/ui/paneframe.h"
#include "platform/ui/plainlabel.h"

#include <QFormLayout>
#include <QLabel>

uMessageBasic::uMessageBasic(QWidget* parent) : PaneControl(tr("Message"), parent) {
    setObjectName(QStringLiteral("uMessageBasic"));
    auto* fields = new QWidget(Frame());
    auto* form = new QFormLayout(fields);
    form->setContentsMargins(0, 0, 0, 0);
    lblSubject_ = PlainLabel::Create(fields, "lblSubject", Qt::TextSelectableByMouse);
    lblFrom_ = PlainLabel::Create(fields, "lblFrom", Qt::TextSelectableByMouse);
    form->addRow(tr("Subject:"), lblSubject_);
    form->addRow(tr("From:"), lblFrom_);
    Frame()->AddWidget(fields);
}

uMessageBasic::~uMessageBasic() = default;

void uMessageBasic::SetMessage(const std::shared_ptr<OrlixMessage>& message) {
    message_ = message;
    lblSubject_->setText(message_ ? message_->Subject() : QString());
    lblFrom_->setText(message_ ? message_->FromText() : QString());
}
