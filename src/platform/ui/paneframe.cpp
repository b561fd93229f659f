#include "platform/ui/paneframe.h"

#include "platform/ui/plainlabel.h"

#include <QLabel>
#include <QVBoxLayout>

PaneFrame::PaneFrame(const QString& title, QWidget* parent)
    : QFrame(parent), lblTitle_(PlainLabel::Create(this, "lblTitle", Qt::NoTextInteraction)),
      lblText_(PlainLabel::Create(this, "lblText", Qt::NoTextInteraction)),
      layout_(new QVBoxLayout(this)) {
    setObjectName(QStringLiteral("PaneFrame"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    QFont bold = lblTitle_->font();
    bold.setBold(true);
    lblTitle_->setFont(bold);
    lblTitle_->setText(title);
    lblText_->hide();
    layout_->addWidget(lblTitle_);
    layout_->addWidget(lblText_);
    layout_->addStretch(1);
}

PaneFrame::~PaneFrame() = default;

QString PaneFrame::Title() const {
    return lblTitle_->text();
}

void PaneFrame::SetTitle(const QString& title) {
    lblTitle_->setText(title);
}

QString PaneFrame::Text() const {
    return lblText_->text();
}

void PaneFrame::SetText(const QString& text) {
    lblText_->setText(text);
    lblText_->setVisible(!text.isEmpty());
}

void PaneFrame::AddWidget(QWidget* widget, int stretch) {
    if (widget == nullptr) {
        return;
    }
    // Before the closing stretch, which gives its room up to a widget that takes it.
    const int spacer = layout_->count() - 1;
    layout_->insertWidget(spacer, widget, stretch);
    if (stretch > 0) {
        layout_->setStretch(spacer + 1, 0);
    }
}
