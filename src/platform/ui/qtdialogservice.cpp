#include "platform/ui/qtdialogservice.h"

#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>

namespace {
// Ends a wait when the dialog it watches is hidden or destroyed.
class HideWatcher : public QObject {
public:
    HideWatcher(QDialog& dialog, QEventLoop& loop) : loop_(loop) {
        dialog.installEventFilter(this);
        connect(&dialog, &QObject::destroyed, &loop_, &QEventLoop::quit);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide) {
            loop_.quit();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& loop_;
};
} // namespace

int QtDialogService::Show(QDialog& dialog, bool modal) {
    QPointer<QDialog> guard(&dialog);
    if (modal) {
        dialog.setWindowModality(Qt::ApplicationModal);
        return dialog.exec();
    }
    dialog.setWindowModality(Qt::NonModal);
    QEventLoop loop;
    HideWatcher watcher(dialog, loop);
    dialog.show();
    if (!guard.isNull() && dialog.isVisible()) {
        loop.exec();
    }
    return guard.isNull() ? int(QDialog::Rejected) : dialog.result();
}
