#include "platform/ui/fontpanecontrol.h"

#include "platform/ui/fontconversion.h"

FontPaneControl::FontPaneControl(const QString& title, QWidget* parent)
    : PaneControl(title, parent) {}

FontPaneControl::~FontPaneControl() = default;

void FontPaneControl::SetFont(const std::shared_ptr<StdFont>& font) {
    font_ = font;
    applyFont();
}

void FontPaneControl::Refresh() {
    ++refreshCount_;
    applyFont();
    refreshContent();
}

void FontPaneControl::applyFont() {
    setFont(font_ ? FontConversion::ToQFont(*font_) : QFont());
}
