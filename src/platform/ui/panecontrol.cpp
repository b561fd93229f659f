#include "platform/ui/panecontrol.h"

#include "platform/ui/backcolour.h"
#include "platform/ui/paneframe.h"

#include <QVBoxLayout>

PaneControl::PaneControl(const QString& title, QWidget* parent)
    : QWidget(parent), frame_(new PaneFrame(title, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame_);
}

PaneControl::~PaneControl() = default;

void PaneControl::SetBackColour(const QColor& colour) {
    backColour_ = colour;
    PaintBackColour(this, colour);
}
