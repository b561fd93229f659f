#include "platform/ui/qtmessageboxservice.h"

#include "platform/system/displaytext.h"

#include <QAbstractButton>
#include <QList>
#include <QMessageBox>

namespace {
QList<QMessageBox::StandardButton> buttonsOf(MsgButtons b) {
    using SB = QMessageBox::StandardButton;
    switch (b) {
    case MsgButtons::OK:
        return {SB::Ok};
    case MsgButtons::OKCancel:
        return {SB::Ok, SB::Cancel};
    case MsgButtons::YesNo:
        return {SB::Yes, SB::No};
    case MsgButtons::YesNoCancel:
        return {SB::Yes, SB::No, SB::Cancel};
    case MsgButtons::RetryCancel:
        return {SB::Retry, SB::Cancel};
    case MsgButtons::AbortRetryIgnore:
        return {SB::Abort, SB::Retry, SB::Ignore};
    }
    return {SB::Ok};
}

QMessageBox::Icon iconOf(MsgIcon i) {
    switch (i) {
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

MsgResult resultOf(QMessageBox::StandardButton b, MsgButtons set) {
    switch (b) {
    case QMessageBox::Ok:
        return MsgResult::OK;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Retry:
        return MsgResult::Retry;
    case QMessageBox::Abort:
        return MsgResult::Abort;
    case QMessageBox::Ignore:
        return MsgResult::Ignore;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    default:
        break;
    }
    // The close box: the answer a box with that set of buttons gives for Esc.
    return set == MsgButtons::OK ? MsgResult::OK : MsgResult::Cancel;
}
} // namespace

MsgResult QtMessageBoxService::show(const MessageBoxRequest& request) {
    QMessageBox box(request.owner);
    box.setWindowTitle(request.caption);
    // A box quotes stored and received text (a subject, a playout greeting, an error's
    // description): Qt's guess would render markup in it, so the text is always literal, and
    // a direction character in a quoted field could reverse the program's words after it.
    box.setTextFormat(Qt::PlainText);
    box.setText(DisplayText::Cleaned(request.text));
    box.setIcon(iconOf(request.icon));
    const QList<QMessageBox::StandardButton> buttons = buttonsOf(request.buttons);
    QMessageBox::StandardButtons set;
    for (auto b : buttons) {
        set |= b;
    }
    box.setStandardButtons(set);
    const int index = request.defaultButton >= 0 && request.defaultButton < buttons.size()
                          ? request.defaultButton
                          : 0;
    box.setDefaultButton(buttons.at(index));
    box.exec();
    const auto clicked = box.clickedButton() != nullptr ? box.standardButton(box.clickedButton())
                                                        : QMessageBox::NoButton;
    return resultOf(clicked, request.buttons);
}
