#include "contacts/editwindowclose.h"

#include "platform/ui/messagebox.h"

#include <QCloseEvent>
#include <QDialog>
#include <QPushButton>

#include <utility>

EditWindowClose::EditWindowClose(QDialog* window, QString question, std::function<bool()> edited,
                                 std::function<bool()> save)
    : window_(window), question_(std::move(question)), edited_(std::move(edited)),
      save_(std::move(save)) {}

void EditWindowClose::ConnectButtons(QPushButton* ok, QPushButton* apply, QPushButton* cancel) {
    QObject::connect(ok, &QPushButton::clicked, window_, [this] {
        if (save_()) {
            CloseWithoutAsking();
        }
    });
    QObject::connect(apply, &QPushButton::clicked, window_, [this] { save_(); });
    // The window's reject() is its close(), so Cancel takes the path of Esc and the close box.
    QObject::connect(cancel, &QPushButton::clicked, window_, &QDialog::reject);
}

void EditWindowClose::CloseWithoutAsking() {
    closing_ = true;
    window_->close();
}

bool EditWindowClose::mayClose() {
    if (closing_ || !edited_()) {
        return true;
    }
    switch (MsgBox(question_, MsgIcon::Question, MsgButtons::YesNoCancel, 0, window_)) {
    case MsgResult::Yes:
        return save_();
    case MsgResult::No:
        return true;
    default:
        return false;
    }
}

bool EditWindowClose::Close(QCloseEvent* event) {
    if (!mayClose()) {
        event->ignore();
        return false;
    }
    closing_ = true;
    // Not QDialog's closeEvent: it would call reject(), which comes back here.
    event->accept();
    return true;
}
