#include "core/windows/windowregistry.h"

#include "core/debuglog.h"
#include "platform/ui/forms.h"

#include <QEventLoop>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {
QString dialogName(WindowKind kind) {
    switch (kind) {
    case WindowKind::Settings:
        return QStringLiteral("program settings dialog");
    case WindowKind::About:
        return QStringLiteral("about window");
    case WindowKind::SupportFile:
        return QStringLiteral("support-file window");
    default:
        return QStringLiteral("window");
    }
}

void runModal(QWidget* window) {
    QPointer<QWidget> guard(window);
    if (window->isVisible() && window->windowModality() != Qt::ApplicationModal) {
        // The modality of a shown window only takes effect when it is shown again.
        window->hide();
    }
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->raise();
    window->activateWindow();
    // A window that closed (or went) as it was shown has nothing to wait for.
    if (guard.isNull() || !window->isVisible() || window->windowHandle() == nullptr) {
        return;
    }
    // The run ends as the window is hidden (closed) or deleted.
    QEventLoop loop;
    QObject::connect(window->windowHandle(), &QWindow::visibleChanged, &loop,
                     [&loop](bool visible) {
                         if (!visible) {
                             loop.quit();
                         }
                     });
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::DialogExec);
}

// In front of the others and, when modal, blocking them until it is closed, hidden or
// deleted. Nothing touches the window once its modal run has ended.
void showInFront(QWidget* window, bool modal) {
    if (window == nullptr) {
        return;
    }
    if (modal) {
        runModal(window);
        return;
    }
    if (!window->isVisible()) {
        // A window once run modally and kept hidden is modeless when shown again.
        window->setWindowModality(Qt::NonModal);
    }
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

void WindowRegistry::Register(WindowKind kind, Maker maker) {
    if (maker) {
        makers_.insert(kind, std::move(maker));
    } else {
        makers_.remove(kind);
    }
}

bool WindowRegistry::Has(WindowKind kind) const {
    return makers_.contains(kind);
}

QWidget* WindowRegistry::Make(WindowKind kind, QWidget* owner) {
    const auto maker = makers_.constFind(kind);
    if (maker == makers_.constEnd()) {
        DebugLog(QStringLiteral("No window is registered for this kind of item; nothing opened"));
        return nullptr;
    }
    QWidget* window = (*maker)(owner);
    Forms::Add(window);
    return window;
}

void WindowRegistry::Show(QWidget* window, bool modal) {
    if (window == nullptr) {
        return;
    }
    if (shower_) {
        shower_(window, modal);
    } else {
        showInFront(window, modal);
    }
}

void WindowRegistry::SetShower(Shower shower) {
    shower_ = std::move(shower);
}

bool WindowRegistry::ShowModal(WindowKind kind, QWidget* owner) {
    if (!Has(kind)) {
        DebugLog(QStringLiteral("The ") + dialogName(kind) + QStringLiteral(" is not available"),
                 5);
        return false;
    }
    QPointer<QWidget> window = Make(kind, owner);
    if (window.isNull()) {
        return false;
    }
    Show(window, true);
    // Made for this one showing: freed unless it freed itself.
    delete window.data();
    return true;
}
