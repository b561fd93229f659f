#pragma once

#include "platform/ui/dialogservice.h"

#include <QPointer>
#include <QString>

#include <deque>
#include <functional>
#include <vector>

class QDialog;

// Answers every dialog the code under test shows: the dialog is shown (without a modal
// loop) and made the active window, then the next action the test queued acts on it as a
// user would, through its controls. A dialog the action leaves open, or one shown with no
// action queued, is closed with its close box.
class ScriptedDialogs : public DialogService {
public:
    using Action = std::function<void(QDialog&)>;
    struct Shown {
        QString className;
        QString title;
        bool modal = false;
        QPointer<QWidget> owner;
    };

    void Show(QDialog& dialog, bool modal) override;

    void queue(Action action) { actions_.push_back(std::move(action)); }
    const std::vector<Shown>& shown() const { return shown_; }

private:
    std::deque<Action> actions_;
    std::vector<Shown> shown_;
};

// The double installed for the running test.
ScriptedDialogs& TestDialogs();

// Shows a widget and waits until it is the active window, so that focus and keys reach it.
bool ShowActive(QWidget& window);
