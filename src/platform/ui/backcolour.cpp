#include "platform/ui/backcolour.h"

#include <QPalette>
#include <QWidget>

void PaintBackColour(QWidget* widget, const QColor& colour) {
    if (widget == nullptr) {
        return;
    }
    if (!colour.isValid()) {
        widget->setPalette(QPalette());
        widget->setAutoFillBackground(false);
        return;
    }
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}
