#include "support/scripteddialogs.h"

#include "support/waitfor.h"

#include <QApplication>

#include <algorithm>

bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return WaitFor([&window] { return QApplication::activeWindow() == &window; });
}

ScriptedDialogs::Action ScriptedDialogs::nextAction(QDialog& dialog) {
    for (const Standing& s : standing_) {
        if (s.takes(dialog)) {
            return s.action;
        }
    }
    if (actions_.empty()) {
        return {};
    }
    Action action = std::move(actions_.front());
    actions_.pop_front();
    return action;
}

int ScriptedDialogs::Show(QDialog& dialog, bool modal) {
    // By position: a dialog the action opens in turn adds its own record meanwhile.
    const size_t record = shown_.size();
    shown_.push_back(Shown{QString::fromLatin1(dialog.metaObject()->className()),
                           dialog.objectName(), dialog.windowTitle(), modal,
                           dialog.parentWidget()});
    QPointer<QDialog> guard(&dialog);
    dialog.setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    ShowActive(dialog);
    if (const Action action = nextAction(dialog)) {
        action(dialog);
    }
    if (!guard.isNull() && dialog.isVisible()) {
        dialog.close();
    }
    const int result = guard.isNull() ? int(QDialog::Rejected) : dialog.result();
    shown_[record].result = result;
    return result;
}

int ScriptedDialogs::shownCount(const QString& className) const {
    return int(std::count_if(shown_.begin(), shown_.end(),
                             [&](const Shown& s) { return s.className == className; }));
}
