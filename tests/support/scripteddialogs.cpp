#include "support/scripteddialogs.h"

#include "support/waitfor.h"

#include <QApplication>
#include <QDialog>

bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return WaitFor([&window] { return QApplication::activeWindow() == &window; });
}

void ScriptedDialogs::Show(QDialog& dialog, bool modal) {
    shown_.push_back(Shown{QString::fromLatin1(dialog.metaObject()->className()),
                           dialog.windowTitle(), modal, dialog.parentWidget()});
    QPointer<QDialog> guard(&dialog);
    dialog.setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    ShowActive(dialog);
    if (!actions_.empty()) {
        const Action action = std::move(actions_.front());
        actions_.pop_front();
        action(dialog);
    }
    if (!guard.isNull() && dialog.isVisible()) {
        dialog.close();
    }
}
