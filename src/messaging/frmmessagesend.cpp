// The e-mail window's saving, sending, answering and closing.
#include "messaging/frmmessage.h"

#include "core/profile/cocsettings.h"
#include "core/profile/recentlists.h"
#include "core/program.h"
#include "core/windows/windowopeners.h"
#include "messaging/safebodyview.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/ui/forms.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/umessageaddress.h"

#include <QCloseEvent>
#include <QLineEdit>

namespace {

std::function<qint32()>& listFolderHook() {
    static std::function<qint32()> hook;
    return hook;
}

std::function<void()>& listRefreshHook() {
    static std::function<void()> hook;
    return hook;
}

OrlixDatabase* database() {
    Program* program = Program::Current();
    return program ? program->Database() : nullptr;
}

KVDirectory* directory() {
    Program* program = Program::Current();
    return program ? program->Directory() : nullptr;
}

// The station's address and the user's three: a reply to all never goes back to them.
QStringList ownAddresses() {
    QStringList own;
    Program* program = Program::Current();
    if (const cOCSettings* settings = program ? program->Settings() : nullptr) {
        own += settings->EmailAddress();
    }
    if (KVDirectory* dir = directory()) {
        if (const auto user = dir->CurrentUser()) {
            own << user->Email1() << user->Email2() << user->Email3();
        }
    }
    own.removeAll(QString());
    return own;
}

} // namespace

QStringList frmMessage::OwnAddresses() {
    return ownAddresses();
}

void frmMessage::SetMessageListHooks(std::function<qint32()> currentFolder,
                                     std::function<void()> refresh) {
    listFolderHook() = std::move(currentFolder);
    listRefreshHook() = std::move(refresh);
}

bool frmMessage::SaveDetails() {
    if (!message_) {
        return false;
    }
    KVDirectory* dir = directory();
    const auto user = dir ? dir->CurrentUser() : nullptr;
    if (!user) {
        MsgBox(QString::fromUtf8(emailrules::kLoginNeededText), MsgIcon::Exclamation,
               MsgButtons::OK, 0, this);
        return false;
    }
    const emailrules::SaveRight right =
        emailrules::RightToSave(message_->PersonalOwner(), user->Reference());
    const UserRights rights = user->UserRights();
    const bool allowed = right == emailrules::SaveRight::PersonalMessages
                             ? rights.CanSavePersonalMessages()
                             : rights.CanSaveMessages();
    if (!allowed) {
        MsgBox(emailrules::RefusalText(right), MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        return false;
    }
    OrlixDatabase* db = database();
    bool ok = false;
    if (db != nullptr) {
        db->StoreMessage(*message_, ok);
    }
    if (!ok) {
        MsgBox(QString::fromUtf8(emailrules::kSaveFailedText), MsgIcon::Exclamation, MsgButtons::OK,
               0, this);
        return false;
    }
    AddMessageToMRU(dir, message_->Reference());
    return true;
}

void frmMessage::Send() {
    if (!message_ || !editable_) {
        return;
    }
    const qint32 oldFolder = message_->Folder();
    switch (emailrules::CheckSend(ctlTo_->text(), txtSubject_->text(), wbBody_->toPlainText())) {
    case emailrules::SendCheck::NoRecipient:
        MsgBox(QString::fromUtf8(emailrules::kNoRecipientText), MsgIcon::Exclamation,
               MsgButtons::OK, 0, this);
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
    const emailrules::QueueState before =
        emailrules::QueueForSending(*message_, QDateTime::currentDateTime());
    OrlixDatabase* db = database();
    bool ok = false;
    if (db != nullptr) {
        db->StoreMessage(*message_, ok);
    }
    if (!ok) {
        emailrules::RestoreQueueState(*message_, before);
        MsgBox(QString::fromUtf8(emailrules::kSendFailedText), MsgIcon::Exclamation, MsgButtons::OK,
               0, this);
        return;
    }
    refreshListShowing(oldFolder);
    // Sent is stored: nothing is left to ask about on the way out.
    message_->SetEdited(false);
    closeSelf();
}

void frmMessage::refreshListShowing(qint32 oldFolder) {
    if (listFolderHook() && listRefreshHook() &&
        emailrules::ListNeedsRefresh(listFolderHook()(), oldFolder, message_->Folder())) {
        listRefreshHook()();
    }
}

void frmMessage::Answer(emailrules::Answer answer) {
    if (!message_) {
        return;
    }
    std::shared_ptr<OrlixMessage> made = emailrules::MakeAnswer(*message_, answer, ownAddresses());
    const qint32 kind = made->Kind();
    if (Forms::Contains(this)) {
        if (!Forms::Unload(this)) {
            return;
        }
    } else if (!close()) {
        return;
    }
    // This window is going: only locals from here.
    made->SetEdited(true);
    NewMessage(made, kind);
}

void frmMessage::closeSelf() {
    if (Forms::Contains(this)) {
        Forms::Unload(this);
    } else {
        close();
    }
}

void frmMessage::closeEvent(QCloseEvent* event) {
    if (!message_ || !editable_ || !message_->Edited()) {
        event->accept();
    } else {
        askBeforeClosing(event);
    }
    if (event->isAccepted()) {
        activated_ = false;
        SaveWindowPosition();
    }
}

void frmMessage::askBeforeClosing(QCloseEvent* event) {
    const MsgResult answer = MsgBox(emailrules::CloseQuestion(message_->CDOMessage().Subject()),
                                    MsgIcon::Exclamation, MsgButtons::YesNoCancel, 0, this);
    if (answer == MsgResult::Yes) {
        if (SaveDetails()) {
            event->accept();
        } else {
            event->ignore();
        }
    } else if (answer == MsgResult::No) {
        event->accept();
    } else {
        event->ignore();
    }
}
