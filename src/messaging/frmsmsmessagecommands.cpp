// The SMS window's saving, sending, answering, toolbar commands, closing and placement.
#include "messaging/frmsmsmessage.h"

#include "core/printing/templateprinting.h"
#include "core/program.h"
#include "messaging/emailrules.h"
#include "messaging/messagewindowcommands.h"
#include "messaging/smsrules.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/directory/usersettings.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/multilinetextbox.h"
#include "platform/ui/twips.h"

#include <QCloseEvent>
#include <QLineEdit>

#include <limits>

namespace {

emailrules::TwipsRect twipsOf(const QRect& pixels) {
    return {static_cast<int>(PixelsToTwips(pixels.x())),
            static_cast<int>(PixelsToTwips(pixels.y())),
            static_cast<int>(PixelsToTwips(pixels.width())),
            static_cast<int>(PixelsToTwips(pixels.height()))};
}

} // namespace

void frmSMSMessage::SetMessageListHooks(std::function<qint32()> currentFolder,
                                        std::function<void()> refresh) {
    messagewindow::SetMessageListHooks(std::move(currentFolder), std::move(refresh));
}

bool frmSMSMessage::SaveDetails() {
    return message_ && messagewindow::Save(*message_, this);
}

void frmSMSMessage::Send() {
    if (!message_ || !editable_) {
        return;
    }
    const qint32 oldFolder = message_->Folder();
    switch (smsrules::CheckSend(realText(ctlTo_), txtBody_->Text())) {
    case smsrules::SendCheck::NoRecipient:
        MsgBox(QString::fromUtf8(emailrules::kNoRecipientText), MsgIcon::Exclamation,
               MsgButtons::OK, 0, this);
        return;
    case smsrules::SendCheck::NoText:
        MsgBox(QString::fromUtf8(smsrules::kNoTextText), MsgIcon::Exclamation, MsgButtons::OK, 0,
               this);
        return;
    case smsrules::SendCheck::Go:
        break;
    }
    if (!messagewindow::QueueAndStore(*message_, this)) {
        return;
    }
    messagewindow::RefreshListShowing(oldFolder, message_->Folder());
    message_->SetEdited(false);
    closeSelf();
}

void frmSMSMessage::Answer(bool forward) {
    if (message_) {
        messagewindow::OpenAnswerInstead(this, smsrules::MakeAnswer(*message_, forward));
    }
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
    if (message_ && messagewindow::Delete(*message_, this)) {
        closeSelf();
    }
}

void frmSMSMessage::moveOrCopy(bool move) {
    if (message_ && messagewindow::MoveOrCopy(*message_, move, this)) {
        closeSelf();
    }
}

void frmSMSMessage::closeSelf() {
    messagewindow::CloseSelf(this);
}

void frmSMSMessage::closeEvent(QCloseEvent* event) {
    if (!messagewindow::MayClose(message_.get(), editable_, this,
                                 [this] { return SaveDetails(); })) {
        event->ignore();
        return;
    }
    event->accept();
    activated_ = false;
    saveWindowPosition();
}

void frmSMSMessage::restorePosition() {
    KVDirectory* dir = messagewindow::Directory();
    const auto user = dir ? dir->CurrentUser() : nullptr;
    std::optional<emailrules::TwipsRect> last;
    if (user) {
        last = smsrules::ParsePlacementText(
            user->Settings()
                .GetSetting(QString::fromUtf8(smsrules::kPositionSetting), QString())
                .toString());
    }
    std::optional<QRect> lastInner;
    if (last) {
        lastInner = QRect(TwipsToPixels(last->Left), TwipsToPixels(last->Top),
                          TwipsToPixels(last->Width), TwipsToPixels(last->Height));
    }
    // Inner areas throughout, so that the frame is counted once; a window with no stored
    // position opens on the screen as well, and stores nothing yet.
    setGeometry(messagewindow::PlaceOnScreen(lastInner, lastInner ? lastInner->size() : size()));
    if (last) {
        saveWindowPosition();
    }
}

void frmSMSMessage::saveWindowPosition() {
    KVDirectory* dir = messagewindow::Directory();
    const auto user = dir ? dir->CurrentUser() : nullptr;
    if (!user) {
        return;
    }
    const QRect placed = geometry();
    user->Settings().SaveSetting(QString::fromUtf8(smsrules::kPositionSetting),
                                 smsrules::PlacementText(twipsOf(placed)), QString());
}
