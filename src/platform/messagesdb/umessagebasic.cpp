#include "platform/messagesdb/umessagebasic.h"

#include "platform/messagesdb/orlixmessage.h"
#include "platform/ui/paneframe.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
QLabel* valueLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}
} // namespace

uMessageBasic::uMessageBasic(QWidget* parent)
    : QWidget(parent), frame_(new PaneFrame(tr("Message"), this)) {
    setObjectName(QStringLiteral("uMessageBasic"));
    auto* fields = new QWidget(frame_);
    auto* form = new QFormLayout(fields);
    form->setContentsMargins(0, 0, 0, 0);
    lblSubject_ = valueLabel(fields, "lblSubject");
    lblFrom_ = valueLabel(fields, "lblFrom");
    form->addRow(tr("Subject:"), lblSubject_);
    form->addRow(tr("From:"), lblFrom_);
    frame_->AddWidget(fields);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame_);
}

uMessageBasic::~uMessageBasic() = default;

void uMessageBasic::SetMessage(const std::shared_ptr<OrlixMessage>& message) {
    message_ = message;
    lblSubject_->setText(message_ ? message_->Subject() : QString());
    lblFrom_->setText(message_ ? message_->FromText() : QString());
}

void uMessageBasic::SetBackColour(const QColor& colour) {
    backColour_ = colour;
    PaneFrame::PaintBackground(this, colour);
}
