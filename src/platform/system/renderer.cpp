#include "platform/system/renderer.h"

Renderer::Renderer(QObject* parent) : QObject(parent), scheme_(DefaultScheme()) {}

RendererScheme Renderer::DefaultScheme() {
    // A quiet, light scheme that keeps text readable in a dim studio.
    return RendererScheme{QColor(0xEC, 0xE9, 0xE4), QColor(0xF7, 0xF6, 0xF3),
                          QColor(0xFF, 0xFF, 0xFF)};
}

void Renderer::SetScheme(const RendererScheme& scheme) {
    RendererScheme next = scheme;
    const auto keep = [](QColor& colour, const QColor& current) {
        if (!colour.isValid()) {
            colour = current;
        }
    };
    keep(next.WindowBackColour, scheme_.WindowBackColour);
    keep(next.PanelBackColour, scheme_.PanelBackColour);
    keep(next.ContentBackColour, scheme_.ContentBackColour);
    if (next == scheme_) {
        return;
    }
    scheme_ = next;
    Q_EMIT FactorsChanged();
}
