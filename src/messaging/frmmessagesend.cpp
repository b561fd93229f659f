// The e-mail window's saving, sending, answering and closing.
#include "messaging/frmmessage.h"

#include "core/profile/cocsettings.h"
#include "messaging/messagewindowcommands.h"
#include "messaging/safebodyview.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/umessageaddress.h"

#include <QCloseEvent>
#include <QLineEdit>

QStringList frmMessage::OwnAddresses() {
    // The station's address and the user's three: a reply to all never goes back to them.
    QStringList own;
    if (const cOCSettings* settings = messagewindow::StationSettings()) {
        own += settings->EmailAddress();
    }
    if (KVDirectory* dir = messagewindow::Directory()) {
        if (const auto user = dir->CurrentUser()) {
            own << user->Email1() << user->Email2() << user->Email3();
        }
    }
    own.removeAll(QString());
    return own;
}

void frmMessage::SetMessageListHooks(std::function<qint32()> currentFolder,
                                     std::function<void()> refresh) {
    messagewindow::SetMessageListHooks(std::move(currentFolder), std::move(refresh));
}

bool frmMessage::SaveDetails() {
    wbBody_->FlushChanges();
    return message_ && messagewindow::Save(*message_, this);
}

void frmMessage::Send() {
    if (!message_ || !editable_) {
        return;
    }
    // Whatever was typed last reaches the message before it is checked and stored.
    wbBody_->FlushChanges();
    const qint32 oldFolder = message_->Folder();
    const emailrules::SendCheck check =
        emailrules::CheckSend(ctlTo_->text(), txtSubject_->text(), wbBody_->PlainText());
    if (check == emailrules::SendCheck::NoRecipient) {
        MsgBox(QString::fromUtf8(emailrules::kNoRecipientText), MsgIcon::Exclamation,
               MsgButtons::OK, 0, this);
        return;
    }
    // A recipient the delivering program cannot reach would leave the Outbox as sent and
    // arrive nowhere: the presenter corrects it here.
    const QString refusal = emailrules::AddressRefusal(ctlTo_->text(), ctlCC_->text());
    if (!refusal.isEmpty()) {
        MsgBox(refusal, MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        return;
    }
    switch (check) {
    case emailrules::SendCheck::NoRecipient:
        return;
    case emailrules::SendCheck::AskEmpty:
        if (MsgBox(emailrules::EmptySendQuestion(), MsgIcon::Question, MsgButtons::YesNo, 1,
                   this) != MsgResult::Yes) {
            return;
        }
        break;
    case emailrules::SendCheck::Go:
        break;
    }
    if (!messagewindow::QueueAndStore(*message_, this)) {
        return;
    }
    messagewindow::RefreshListShowing(oldFolder, message_->Folder());
    // Sent is stored: nothing is left to ask about on the way out.
    message_->SetEdited(false);
    closeSelf();
}

void frmMessage::Answer(emailrules::Answer answer) {
    if (message_) {
        messagewindow::OpenAnswerInstead(this,
                                         emailrules::MakeAnswer(*message_, answer, OwnAddresses()));
    }
}

void frmMessage::closeSelf() {
    messagewindow::CloseSelf(this);
}

void frmMessage::closeEvent(QCloseEvent* event) {
    if (editable_) {
        wbBody_->FlushChanges(); // the question must know of the last keystrokes
    }
    event->setAccepted(
        messagewindow::MayClose(message_.get(), editable_, this, [this] { return SaveDetails(); }));
    if (event->isAccepted()) {
        activated_ = false;
        SaveWindowPosition();
    }
}
