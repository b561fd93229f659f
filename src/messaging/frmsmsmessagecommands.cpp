// The SMS window's saving, sending, answering, toolbar commands, closing and placement.
#include "messaging/frmsmsmessage.h"

#include "core/dialogs/frmchoosecategorytree.h"
#include "core/printing/templateprinting.h"
#include "core/profile/recentlists.h"
#include "core/program.h"
#include "core/windows/windowopeners.h"
#include "messaging/emailrules.h"
#include "messaging/smsrules.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/directory/usersettings.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/ui/forms.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/multilinetextbox.h"
#include "platform/ui/twips.h"

#include <QCloseEvent>
#include <QLineEdit>

#include <limits>

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

void refreshListShowing(qint32 oldFolder, qint32 newFolder) {
    if (listFolderHook() && listRefreshHook() &&
        emailrules::ListNeedsRefresh(listFolderHook()(), oldFolder, newFolder)) {
        listRefreshHook()();
    }
}

void exclaim(const char* text, QWidget* owner) {
    MsgBox(QString::fromUtf8(text), MsgIcon::Exclamation, MsgButtons::OK, 0, owner);
}

emailrules::TwipsRect twipsOf(const QRect& pixels) {
    return {static_cast<int>(PixelsToTwips(pixels.x())),
            static_cast<int>(PixelsToTwips(pixels.y())),
            static_cast<int>(PixelsToTwips(pixels.width())),
            static_cast<int>(PixelsToTwips(pixels.height()))};
}

} // namespace

void frmSMSMessage::SetMessageListHooks(std::function<qint32()> currentFolder,
                                        std::function<void()> refresh) {
    listFolderHook() = std::move(currentFolder);
    listRefreshHook() = std::move(refresh);
}

bool frmSMSMessage::SaveDetails() {
    if (!message_) {
        return false;
    }
    KVDirectory* dir = directory();
    const auto user = dir ? dir->CurrentUser() : nullptr;
    if (!user) {
        exclaim(emailrules::kLoginNeededText, this);
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
        exclaim(emailrules::kSaveFailedText, this);
        return false;
    }
    AddMessageToMRU(dir, message_->Reference());
    return true;
}

void frmSMSMessage::Send() {
    if (!message_ || !editable_) {
        return;
    }
    const qint32 oldFolder = message_->Folder();
    switch (smsrules::CheckSend(realText(ctlTo_), txtBody_->Text())) {
    case smsrules::SendCheck::NoRecipient:
        exclaim(emailrules::kNoRecipientText, this);
        return;
    case smsrules::SendCheck::NoText:
        exclaim(smsrules::kNoTextText, this);
        return;
    case smsrules::SendCheck::Go:
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
        // The user is told it was not sent: a later save must not queue it after all.
        emailrules::RestoreQueueState(*message_, before);
        exclaim(emailrules::kSendFailedText, this);
        return;
    }
    refreshListShowing(oldFolder, message_->Folder());
    message_->SetEdited(false);
    closeSelf();
}

void frmSMSMessage::Answer(bool forward) {
    if (!message_) {
        return;
    }
    std::shared_ptr<OrlixMessage> made = smsrules::MakeAnswer(*message_, forward);
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

void frmSMSMessage::DoToolbarCommand(const QString& key) {
    const QString k = key.toLower();
    if (k == QStringLiteral("save")) {
        SaveDetails();
    } else if (k == QStringLiteral("print")) {
        if (message_) {
            PrintMessageFromTemplate(message_.get(), this);
        }
    } else if (k == QStringLiteral("delete")) {
        deleteMessage();
    } else if (k == QStringLiteral("movemessage")) {
        moveOrCopy(true);
    } else if (k == QStringLiteral("copymessage")) {
        moveOrCopy(false);
    } else if (focusWidget() != txtBody_) {
        // The editing tools act on the text box only.
    } else if (k == QStringLiteral("undo")) {
        if (txtBody_->document()->isUndoAvailable()) {
            txtBody_->undo();
        }
    } else if (k == QStringLiteral("cut")) {
        txtBody_->cut();
    } else if (k == QStringLiteral("copy")) {
        txtBody_->copy();
    } else if (k == QStringLiteral("paste")) {
        txtBody_->paste();
    }
    // "redo" and the place holders do nothing here.
}

void frmSMSMessage::deleteMessage() {
    if (!message_ || message_->Reference() == 0) {
        return;
    }
    if (MsgBox(QString::fromUtf8(smsrules::kDeleteQuestion), MsgIcon::Question, MsgButtons::YesNo,
               1, this) != MsgResult::Yes) {
        return;
    }
    OrlixDatabase* db = database();
    bool ok = false;
    if (db != nullptr) {
        db->DeleteMessage(message_->Reference(), false, ok);
    }
    if (!ok) {
        exclaim(smsrules::kDeleteFailedText, this);
        return;
    }
    message_->SetEdited(false);
    closeSelf();
}

void frmSMSMessage::moveOrCopy(bool move) {
    OrlixDatabase* db = database();
    if (!message_ || db == nullptr) {
        return;
    }
    const qint16 folder = frmChooseCategoryTree::ChooseCategory(
        db->CategoryTree().get(), false, static_cast<qint16>(message_->Folder()),
        move ? QStringLiteral("Move message to") : QStringLiteral("Copy message to"), this);
    if (folder <= 0) {
        return;
    }
    // The chooser ran events: ask again for the database it stores in.
    db = database();
    bool ok = false;
    if (move) {
        const qint32 old = message_->Folder();
        message_->SetFolder(folder);
        if (db != nullptr) {
            db->StoreMessage(*message_, ok);
        }
        if (!ok) {
            message_->SetFolder(old);
            exclaim(smsrules::kMoveFailedText, this);
            return;
        }
        refreshListShowing(old, folder);
        closeSelf();
        return;
    }
    std::unique_ptr<OrlixMessage> copy = message_->Clone();
    copy->SetReference(0);
    copy->SetFolder(folder);
    if (db != nullptr) {
        db->StoreMessage(*copy, ok);
    }
    if (!ok) {
        exclaim(smsrules::kCopyFailedText, this);
    }
}

void frmSMSMessage::closeSelf() {
    if (Forms::Contains(this)) {
        Forms::Unload(this);
    } else {
        close();
    }
}

void frmSMSMessage::closeEvent(QCloseEvent* event) {
    if (message_ && editable_ && message_->Edited()) {
        const MsgResult answer = MsgBox(emailrules::CloseQuestion(message_->CDOMessage().Subject()),
                                        MsgIcon::Exclamation, MsgButtons::YesNoCancel, 0, this);
        if (answer == MsgResult::Cancel || (answer == MsgResult::Yes && !SaveDetails())) {
            event->ignore();
            return;
        }
    }
    event->accept();
    activated_ = false;
    saveWindowPosition();
}

void frmSMSMessage::restorePosition() {
    KVDirectory* dir = directory();
    const auto user = dir ? dir->CurrentUser() : nullptr;
    if (!user) {
        return;
    }
    const QString text = user->Settings()
                             .GetSetting(QString::fromUtf8(smsrules::kPositionSetting), QString())
                             .toString();
    const std::optional<emailrules::TwipsRect> last = smsrules::ParsePlacementText(text);
    if (!last) {
        return;
    }
    Program* program = Program::Current();
    QWidget* main = program ? program->MainWindow() : nullptr;
    // Without a main window nothing limits the cascade.
    const emailrules::TwipsRect frame =
        main ? twipsOf(main->frameGeometry())
             : emailrules::TwipsRect{0, 0, std::numeric_limits<int>::max() / 2,
                                     std::numeric_limits<int>::max() / 2};
    const emailrules::TwipsRect next = emailrules::Cascade(*last, frame);
    resize(TwipsToPixels(next.Width), TwipsToPixels(next.Height));
    move(TwipsToPixels(next.Left), TwipsToPixels(next.Top));
    saveWindowPosition();
}

void frmSMSMessage::saveWindowPosition() {
    KVDirectory* dir = directory();
    const auto user = dir ? dir->CurrentUser() : nullptr;
    if (!user) {
        return;
    }
    const QRect placed(pos(), size());
    user->Settings().SaveSetting(QString::fromUtf8(smsrules::kPositionSetting),
                                 smsrules::PlacementText(twipsOf(placed)), QString());
}
