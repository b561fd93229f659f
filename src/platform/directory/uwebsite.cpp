#include "platform/directory/uwebsite.h"

#include "platform/ui/paneframe.h"

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

uWebsite::uWebsite(QWidget* parent)
    : QWidget(parent), frame_(new PaneFrame(tr("Website"), this)),
      lblCaption_(valueLabel(frame_, "lblCaption")), lblAddress_(valueLabel(frame_, "lblAddress")) {
    setObjectName(QStringLiteral("uWebsite"));
    frame_->AddWidget(lblCaption_);
    frame_->AddWidget(lblAddress_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame_);
}

uWebsite::~uWebsite() = default;

void uWebsite::SetWebsite(const std::shared_ptr<DirectoryWebsite>& website) {
    website_ = website;
    lblCaption_->setText(website_ ? website_->Caption() : QString());
    lblAddress_->setText(website_ ? website_->Address() : QString());
}

void uWebsite::SetBackColour(const QColor& colour) {
    backColour_ = colour;
    PaneFrame::PaintBackground(this, colour);
}
