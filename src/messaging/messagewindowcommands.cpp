#include "messaging/messagewindowcommands.h"

#include "core/dialogs/frmchoosecategorytree.h"
#include "core/dialogs/frmchoosecontact.h"
#include "core/errorreport.h"
#include "core/profile/cocsettings.h"
#include "core/profile/recentlists.h"
#include "core/program.h"
#include "core/windows/windowopeners.h"
#include "messaging/emailrules.h"
#include "messaging/smsrules.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/ui/forms.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/twips.h"

#include <QAction>
#include <QDateTime>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace messagewindow {
namespace {

std::function<qint32()>& listFolderHook() {
    static std::function<qint32()> hook;
    return hook;
}

std::function<void()>& listRefreshHook() {
    static std::function<void()> hook;
    return hook;
}

void exclaim(const char* text, QWidget* owner) {
    MsgBox(QString::fromUtf8(text), MsgIcon::Exclamation, MsgButtons::OK, 0, owner);
}

} // namespace

namespace {
emailrules::TwipsRect ToTwips(const QRect& r) {
    return {qRound(PixelsToTwips(r.x())), qRound(PixelsToTwips(r.y())),
            qRound(PixelsToTwips(r.width())), qRound(PixelsToTwips(r.height()))};
}
} // namespace

QRect PlaceOnScreen(const std::optional<QRect>& last, const QSize& size) {
    Program* program = Program::Current();
    QWidget* main = program ? program->MainWindow() : nullptr;
    const QScreen* screen =
        main && main->screen() ? main->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1600, 1000);
    const QRect mainFrame = main ? main->frameGeometry() : area;
    emailrules::TwipsMargins margins;
    if (main) {
        const QRect inner = main->geometry();
        margins = {qRound(PixelsToTwips(inner.left() - mainFrame.left())),
                   qRound(PixelsToTwips(inner.top() - mainFrame.top())),
                   qRound(PixelsToTwips(mainFrame.right() - inner.right())),
                   qRound(PixelsToTwips(mainFrame.bottom() - inner.bottom()))};
    }
    std::optional<emailrules::TwipsRect> lastTwips;
    if (last) {
        lastTwips = ToTwips(*last);
    }
    const emailrules::TwipsRect placed = emailrules::PlaceWindow(
        lastTwips, ToTwips(QRect(QPoint(), size)), ToTwips(mainFrame), ToTwips(area), margins);
    return QRect(TwipsToPixels(placed.Left), TwipsToPixels(placed.Top), TwipsToPixels(placed.Width),
                 TwipsToPixels(placed.Height));
}

OrlixDatabase* Database() {
    Program* program = Program::Current();
    return program ? program->Database() : nullptr;
}

KVDirectory* Directory() {
    Program* program = Program::Current();
    return program ? program->Directory() : nullptr;
}

const cOCSettings* StationSettings() {
    Program* program = Program::Current();
    return program ? program->Settings() : nullptr;
}

void SetMessageListHooks(std::function<qint32()> currentFolder, std::function<void()> refresh) {
    listFolderHook() = std::move(currentFolder);
    listRefreshHook() = std::move(refresh);
}

void RefreshListShowing(qint32 oldFolder, qint32 newFolder) {
    if (listFolderHook() && listRefreshHook() &&
        emailrules::ListNeedsRefresh(listFolderHook()(), oldFolder, newFolder)) {
        listRefreshHook()();
    }
}

bool Save(OrlixMessage& message, QWidget* owner) {
    KVDirectory* dir = Directory();
    const auto user = dir ? dir->CurrentUser() : nullptr;
    if (!user) {
        exclaim(emailrules::kLoginNeededText, owner);
        return false;
    }
    const emailrules::SaveRight right =
        emailrules::RightToSave(message.PersonalOwner(), user->Reference());
    const UserRights rights = user->UserRights();
    const bool allowed = right == emailrules::SaveRight::PersonalMessages
                             ? rights.CanSavePersonalMessages()
                             : rights.CanSaveMessages();
    if (!allowed) {
        MsgBox(emailrules::RefusalText(right), MsgIcon::Exclamation, MsgButtons::OK, 0, owner);
        return false;
    }
    OrlixDatabase* db = Database();
    bool ok = false;
    if (db != nullptr) {
        db->StoreMessage(message, ok);
    }
    if (!ok) {
        exclaim(emailrules::kSaveFailedText, owner);
        return false;
    }
    AddMessageToMRU(dir, message.Reference());
    return true;
}

bool QueueAndStore(OrlixMessage& message, QWidget* owner) {
    const emailrules::QueueState before =
        emailrules::QueueForSending(message, QDateTime::currentDateTime());
    OrlixDatabase* db = Database();
    bool ok = false;
    if (db != nullptr) {
        db->StoreMessage(message, ok);
    }
    if (!ok) {
        emailrules::RestoreQueueState(message, before);
        exclaim(emailrules::kSendFailedText, owner);
    }
    return ok;
}

void TakeOutOfQueue(OrlixMessage& message, const char* context) {
    if (!(message.Flags() & OrlixMessage::FlagToBeSent)) {
        return;
    }
    message.SetFlags(message.Flags() & ~OrlixMessage::FlagToBeSent);
    bool ok = false;
    if (OrlixDatabase* db = Database()) {
        db->StoreMessage(message, ok);
    }
    if (!ok) {
        ReportError(QString::fromUtf8(context), 0, true);
    }
}

bool Delete(OrlixMessage& message, QWidget* owner) {
    if (message.Reference() == 0) {
        return false;
    }
    if (MsgBox(QString::fromUtf8(smsrules::kDeleteQuestion), MsgIcon::Question, MsgButtons::YesNo,
               1, owner) != MsgResult::Yes) {
        return false;
    }
    OrlixDatabase* db = Database();
    bool ok = false;
    if (db != nullptr) {
        db->DeleteMessage(message.Reference(), false, ok);
    }
    if (!ok) {
        exclaim(smsrules::kDeleteFailedText, owner);
        return false;
    }
    message.SetEdited(false);
    return true;
}

bool MoveOrCopy(OrlixMessage& message, bool move, QWidget* owner) {
    OrlixDatabase* db = Database();
    if (db == nullptr) {
        return false;
    }
    const auto tree = db->CategoryTree();
    const qint16 chosen = frmChooseCategoryTree::ChooseCategory(
        tree.get(), false, static_cast<qint16>(message.Folder()),
        move ? QStringLiteral("Move message to") : QStringLiteral("Copy message to"), owner);
    if (chosen <= 0) {
        return false;
    }
    // The chooser ran events: the database may have gone or changed meanwhile.
    db = Database();
    bool ok = false;
    if (!move) {
        std::unique_ptr<OrlixMessage> copy = message.Clone();
        copy->SetReference(0);
        copy->SetFolder(chosen);
        if (db != nullptr) {
            db->StoreMessage(*copy, ok);
        }
        if (!ok) {
            exclaim(smsrules::kCopyFailedText, owner);
        }
        return false;
    }
    const qint32 old = message.Folder();
    message.SetFolder(chosen);
    if (db != nullptr) {
        db->StoreMessage(message, ok);
    }
    if (!ok) {
        message.SetFolder(old);
        exclaim(smsrules::kMoveFailedText, owner);
        return false;
    }
    RefreshListShowing(old, chosen);
    return true;
}

void ShowEditedState(QAction* save, QAction* move, bool edited) {
    save->setEnabled(edited);
    move->setEnabled(!edited);
}

void PrepareFromMenu(QAction* station, QAction* personal) {
    if (const cOCSettings* settings = StationSettings()) {
        station->setText(
            emailrules::StationSender(settings->EmailName(), settings->EmailAddress()));
    }
    personal->setVisible(false);
    KVDirectory* dir = Directory();
    if (const auto user = dir ? dir->CurrentUser() : nullptr) {
        const QString address =
            emailrules::FirstEmail(user->Email1(), user->Email2(), user->Email3());
        if (!address.isEmpty()) {
            personal->setText(emailrules::StationSender(user->Name(), address));
            personal->setVisible(true);
        }
    }
}

std::shared_ptr<DirectoryContact> ChooseContact(QWidget* owner) {
    KVDirectory* dir = Directory();
    if (dir == nullptr) {
        return nullptr;
    }
    const qint32 chosen = frmChooseContact::ChooseContact(dir, owner, -1, true, QString());
    if (chosen == 0) {
        return nullptr;
    }
    // The chooser ran events: ask again for the directory.
    dir = Directory();
    return dir ? dir->GetContact(chosen, false, false) : nullptr;
}

QWidget* Raised(QWidget* window) {
    if (window != nullptr) {
        window->raise();
        window->activateWindow();
    }
    return window;
}

bool MayClose(const OrlixMessage* message, bool editable, QWidget* owner,
              const std::function<bool()>& save) {
    if (message == nullptr || !editable || !message->Edited()) {
        return true;
    }
    const MsgResult answer = MsgBox(emailrules::CloseQuestion(message->CDOMessage().Subject()),
                                    MsgIcon::Exclamation, MsgButtons::YesNoCancel, 0, owner);
    if (answer == MsgResult::Yes) {
        return save();
    }
    return answer == MsgResult::No;
}

void CloseSelf(QWidget* window) {
    if (Forms::Contains(window)) {
        Forms::Unload(window);
    } else {
        window->close();
    }
}

void OpenAnswerInstead(QWidget* window, std::shared_ptr<OrlixMessage> answer) {
    const qint32 kind = answer->Kind();
    if (Forms::Contains(window)) {
        if (!Forms::Unload(window)) {
            return;
        }
    } else if (!window->close()) {
        return;
    }
    // The window is going: only locals from here.
    answer->SetEdited(true);
    NewMessage(answer, kind);
}

} // namespace messagewindow
