#pragma once

#include "platform/ui/dialogservice.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <deque>
#include <functional>
#include <utility>
#include <vector>

// The one double that answers every dialog of ours the code under test shows: the dialog is
// shown (without a modal loop) and made the active window, then an action acts on it as a
// user would, through its controls. A dialog of a kind the test answers every time goes to
// that kind's answer; any other to the next action the test queued. A dialog the action leaves
// open, or one shown with nothing to answer it, is closed with its close box. Show returns the
// dialog's result code, as the real service does.
class ScriptedDialogs : public DialogService {
public:
    using Action = std::function<void(QDialog&)>;
    struct Shown {
        QString className;
        QString objectName;
        QString title;
        bool modal = false;
        QPointer<QWidget> owner;
        int result = QDialog::Rejected;
    };

    int Show(QDialog& dialog, bool modal) override;

    // The next dialog shown that no standing answer takes.
    void queue(Action action) { actions_.push_back(std::move(action)); }
    // Every dialog of kind Form shown from now on, ahead of the queue.
    template <typename Form> void answerEvery(std::function<void(Form&)> action) {
        standing_.push_back(
            {[](QDialog& d) { return dynamic_cast<Form*>(&d) != nullptr; },
             [action = std::move(action)](QDialog& d) { action(dynamic_cast<Form&>(d)); }});
    }

    const std::vector<Shown>& shown() const { return shown_; }
    // How many dialogs of the named class were shown.
    int shownCount(const QString& className) const;

private:
    struct Standing {
        std::function<bool(QDialog&)> takes;
        Action action;
    };
    Action nextAction(QDialog& dialog);

    std::vector<Standing> standing_;
    std::deque<Action> actions_;
    std::vector<Shown> shown_;
};

// The double installed for the running test.
ScriptedDialogs& TestDialogs();

// Shows a widget and waits until it is the active window, so that focus and keys reach it.
bool ShowActive(QWidget& window);
