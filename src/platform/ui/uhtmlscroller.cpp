#include "platform/ui/uhtmlscroller.h"

#include "platform/ui/plainlabel.h"

#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

uHTMLScroller::uHTMLScroller(QWidget* parent)
    : QWidget(parent), area_(new QScrollArea(this)),
      lblText_(PlainLabel::Create(this, "lblText", Qt::NoTextInteraction)) {
    setObjectName(QStringLiteral("uHTMLScroller"));
    lblText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblText_->setMargin(4);
    area_->setObjectName(QStringLiteral("areaText"));
    area_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    area_->setWidgetResizable(true);
    area_->setWidget(lblText_); // the area owns the label from here on
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area_);
}

uHTMLScroller::~uHTMLScroller() = default;

void uHTMLScroller::SetText(const QString& text) {
    text_ = text;
    lblText_->setText(text);
}
