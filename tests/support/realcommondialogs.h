#pragma once

#include "platform/ui/commondialogs.h"
#include "platform/ui/qtcommondialogservice.h"

#include <QApplication>
#include <QColorDialog>
#include <QDeadlineTimer>
#include <QFontDialog>
#include <QTimer>

#include <functional>
#include <memory>

// The desktop's real dialogs in place of the scripted double, for as long as it lives: for the
// tests of what the real dialogs are given and give back.
class RealCommonDialogs {
public:
    RealCommonDialogs()
        : scripted_(InstallCommonDialogService(std::make_unique<QtCommonDialogService>())) {}
    ~RealCommonDialogs() { InstallCommonDialogService(std::move(scripted_)); }
    RealCommonDialogs(const RealCommonDialogs&) = delete;
    RealCommonDialogs& operator=(const RealCommonDialogs&) = delete;

private:
    std::unique_ptr<CommonDialogService> scripted_;
};

// Answers the next modal dialog of type D once it is up: look sees it as the user would, then
// it is accepted (OK) or rejected (Cancel). A colour dialog that follows a font dialog can be
// answered by queueing a second answer before the first opens.
template <typename D>
void AnswerNextDialog(std::function<void(D&)> look, bool accept, int timeoutMs = 10000) {
    auto* poll = new QTimer(qApp); // deletes itself once it has answered or given up
    const QDeadlineTimer deadline(timeoutMs);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, look, accept, deadline] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) {
            if (deadline.hasExpired()) {
                poll->deleteLater();
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        if (look) {
            look(*dialog);
        }
        if (accept) {
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
    poll->start(10);
}
