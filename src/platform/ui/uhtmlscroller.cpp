#include "platform/ui/uhtmlscroller.h"

#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

uHTMLScroller::uHTMLScroller(QWidget* parent)
    : QWidget(parent), area_(new QScrollArea(this)), lblText_(new QLabel(this)) {
    setObjectName(QStringLiteral("uHTMLScroller"));
    lblText_->setObjectName(QStringLiteral("lblText"));
    lblText_->setTextFormat(Qt::PlainText);
    lblText_->setTextInteractionFlags(Qt::NoTextInteraction);
    lblText_->setWordWrap(true);
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
