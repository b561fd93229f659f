#pragma once

#include <QObject>

class Renderer;

// The main window's render services: made once for the window's life, they own the
// renderer the window holds (and hands to the program through GraphicsRenderer).
class RenderServices : public QObject {
    Q_OBJECT
public:
    explicit RenderServices(QObject* parent = nullptr);
    ~RenderServices() override;

    // The colour-scheme object; it lives as long as this object.
    ::Renderer* Renderer() const { return renderer_; }

private:
    ::Renderer* renderer_ = nullptr;
};
