#include "platform/directory/controls/uwebsite.h"

#include "platform/ui/paneframe.h"
#include "platform/ui/plainlabel.h"

#include <QLabel>

uWebsite::uWebsite(QWidget* parent)
    : PaneControl(tr("Website"), parent),
      lblCaption_(PlainLabel::Create(Frame(), "lblCaption", Qt::TextSelectableByMouse)),
      lblAddress_(PlainLabel::Create(Frame(), "lblAddress", Qt::TextSelectableByMouse)) {
    setObjectName(QStringLiteral("uWebsite"));
    Frame()->AddWidget(lblCaption_);
    Frame()->AddWidget(lblAddress_);
}

uWebsite::~uWebsite() = default;

void uWebsite::SetWebsite(const std::shared_ptr<DirectoryWebsite>& website) {
    website_ = website;
    lblCaption_->setText(website_ ? website_->Caption() : QString());
    lblAddress_->setText(website_ ? website_->Address() : QString());
}
