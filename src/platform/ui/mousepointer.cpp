#include "platform/ui/mousepointer.h"

#include <QCursor>
#include <QGuiApplication>

MousePointerGuard::MousePointerGuard(Pointer pointer) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    if (pointer == Default && QGuiApplication::overrideCursor() == nullptr) {
        return; // already the default pointer
    }
    QGuiApplication::setOverrideCursor(pointer == Hourglass ? Qt::WaitCursor : Qt::ArrowCursor);
    pushed_ = true;
}

MousePointerGuard::~MousePointerGuard() {
    if (pushed_) {
        QGuiApplication::restoreOverrideCursor();
    }
}
