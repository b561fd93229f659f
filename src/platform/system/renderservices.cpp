#include "platform/system/renderservices.h"

#include "platform/system/renderer.h"

RenderServices::RenderServices(QObject* parent)
    : QObject(parent), renderer_(new ::Renderer(this)) {}

RenderServices::~RenderServices() = default;
