#pragma once

#include "core/windows/windowregistry.h"

#include <QDialog>

#include <functional>

// Stands in for a window that is not built yet: once shown it does what the test scripts,
// as its user would, and closes with OK. Registered with WindowRegistry through
// ScriptedWindowMaker, it answers the main window's dialogs in tests.
class ScriptedWindow : public QDialog {
public:
    ScriptedWindow(std::function<void()> action, QWidget* owner)
        : QDialog(owner), action_(std::move(action)) {}

protected:
    void showEvent(QShowEvent* event) override {
        QDialog::showEvent(event);
        // Queued, so that it runs within the modal run, as a user's clicks would.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (action_) {
                    action_();
                }
                accept();
            },
            Qt::QueuedConnection);
    }

private:
    std::function<void()> action_;
};

inline WindowRegistry::Maker ScriptedWindowMaker(std::function<void()> action = {}) {
    return [action](QWidget* owner) { return new ScriptedWindow(action, owner); };
}
