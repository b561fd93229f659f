#include "platform/ui/ufontpreview.h"

#include "platform/ui/fontconversion.h"

#include <QPainter>

uFontPreview::uFontPreview(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setMinimumHeight(48);
}

void uFontPreview::SetPlainText(const QString& text) {
    text_ = text;
    update();
}

void uFontPreview::SetStyle(const FontStyle& style) {
    style_ = style;
    update();
}

void uFontPreview::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QFont font = FontConversion::ToQFont(style_);
    painter.setFont(font);
    const QColor colour = FontConversion::TextColour(style_);
    painter.setPen(colour.isValid() ? colour : palette().color(QPalette::Text));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text_);
}
