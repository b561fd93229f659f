#include "platform/system/graphicsrenderer.h"

#include "platform/system/renderer.h"

#include <QPointer>

#include <memory>

namespace {
Renderer& defaultRenderer() {
    static const std::unique_ptr<Renderer> renderer = std::make_unique<Renderer>();
    return *renderer;
}

QPointer<Renderer>& handedOver() {
    static QPointer<Renderer> renderer;
    return renderer;
}
} // namespace

Renderer& GraphicsRenderer() {
    if (!handedOver().isNull()) {
        return *handedOver();
    }
    return defaultRenderer();
}

void HandOverGraphicsRenderer(Renderer* renderer) {
    handedOver() = renderer;
}
