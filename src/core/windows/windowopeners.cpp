#include "core/windows/windowopeners.h"

#include "core/debuglog.h"
#include "core/orlixcommon.h"
#include "core/profile/recentlists.h"
#include "core/windows/contactopener.h"
#include "core/windows/editwindows.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/ui/forms.h"
#include "platform/ui/messagebox.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QMap>
#include <QScreen>

namespace {
constexpr int kPerKindLimit = 10;
constexpr int kLoadedFormsLimit = 40;
constexpr qint32 kFlagRead = 1;

QMap<EditWindowKind, WindowMaker>& makers() {
    static QMap<EditWindowKind, WindowMaker> m;
    return m;
}

QPointer<QWidget>& mainWindow() {
    static QPointer<QWidget> w;
    return w;
}

OrlixDatabase*& database() {
    static OrlixDatabase* db = nullptr;
    return db;
}

void showModeless(QWidget* window, bool modal) {
    if (!modal) {
        window->show();
        return;
    }
    // Modal: the window blocks the others and the opener returns once it is gone or hidden.
    QPointer<QWidget> guard(window);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    QEventLoop loop;
    while (!guard.isNull() && guard->isVisible()) {
        loop.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
}

WindowShower& shower() {
    static WindowShower s = showModeless;
    return s;
}

void showWindow(QWidget* window, bool modal) {
    shower()(window, modal);
    if (window != nullptr) {
        window->raise();
        window->activateWindow();
    }
}

template <typename Window> QList<QWidget*> windowsOfKind() {
    QList<QWidget*> out;
    for (QWidget* w : Forms::All()) {
        if (dynamic_cast<Window*>(w) != nullptr) {
            out.append(w);
        }
    }
    return out;
}

// F: counts the kind's loaded windows and brings forward one that shows the item.
template <typename Window, typename ItemOf>
QPointer<QWidget> findOpen(qint32 reference, bool modal, int& count, ItemOf itemOf) {
    for (QWidget* w : windowsOfKind<Window>()) {
        ++count;
        const auto item = itemOf(dynamic_cast<Window*>(w));
        if (item && item->Reference() == reference) {
            showWindow(w, modal);
            w->setFocus();
            return QPointer<QWidget>(w);
        }
    }
    return {};
}

template <typename Window> int countVisible() {
    int n = 0;
    for (QWidget* w : windowsOfKind<Window>()) {
        n += w->isVisible() ? 1 : 0;
    }
    return n;
}

// L: the kind's limit, then the limit on loaded windows.
bool withinLimits(int count, const char* refusal) {
    if (count >= kPerKindLimit) {
        MsgBox(QString::fromUtf8(refusal), MsgIcon::Exclamation);
        return false;
    }
    if (Forms::Count() > kLoadedFormsLimit) {
        MsgBox(QStringLiteral("You must close some windows first"), MsgIcon::Information);
        return false;
    }
    return true;
}

// P: normal state, centred on the main window.
void place(QWidget* window) {
    window->setWindowState(Qt::WindowNoState);
    QRect around;
    if (!mainWindow().isNull()) {
        around = mainWindow()->frameGeometry();
    } else if (QGuiApplication::primaryScreen() != nullptr) {
        around = QGuiApplication::primaryScreen()->availableGeometry();
    }
    const QSize size = window->frameGeometry().size();
    window->move((around.width() - size.width()) / 2 + around.left(),
                 (around.height() - size.height()) / 2 + around.top());
}

QWidget* make(EditWindowKind kind) {
    const auto maker = makers().constFind(kind);
    if (maker == makers().constEnd() || !*maker) {
        DebugLog(QStringLiteral("No window is registered for this kind of item; nothing opened"));
        return nullptr;
    }
    QWidget* window = (*maker)();
    if (window != nullptr) {
        Forms::Add(window);
    }
    return window;
}

const char* const kContactRefusal =
    "You cannot have more than 10 Contact windows open simultaneously";
const char* const kPrizeRefusal = "You cannot have more than 10 Prize windows open simultaneously";
const char* const kWinnerRefusal =
    "You cannot have more than 10 Prize Winner's details window open simultaneously";
const char* const kMessageRefusal =
    "You cannot have more than 10 Message windows open simultaneously";

// A prize or a prize winner: an open window of a stored record is brought forward; else,
// within the limits and with a directory, a new window is placed, loaded and shown.
template <typename Window, typename Record, typename ItemOf, typename Load>
QPointer<QWidget> openPrizeRecord(const std::shared_ptr<Record>& record, EditWindowKind kind,
                                  const char* refusal, ItemOf itemOf, Load load) {
    if (!record) {
        return {};
    }
    int count = 0;
    if (record->Reference() > 0) {
        if (auto w = findOpen<Window>(record->Reference(), false, count, itemOf)) {
            return w;
        }
    }
    if (!withinLimits(count, refusal) || Directory() == nullptr) {
        return {};
    }
    QWidget* window = make(kind);
    if (window == nullptr) {
        return {};
    }
    place(window);
    load(dynamic_cast<Window*>(window), record);
    showWindow(window, false);
    return QPointer<QWidget>(window);
}

// The e-mail or the SMS window; none for any other kind.
QWidget* makeMessageWindow(qint32 kind) {
    if (kind == OrlixMessage::KindEmail) {
        return make(EditWindowKind::Email);
    }
    if (kind == OrlixMessage::KindSms) {
        return make(EditWindowKind::Sms);
    }
    return nullptr;
}
} // namespace

void RegisterWindowMaker(EditWindowKind kind, WindowMaker maker) {
    makers().insert(kind, std::move(maker));
}

void SetOpenersMainWindow(QWidget* w) {
    mainWindow() = w;
}
void SetOpenersDatabase(OrlixDatabase* db) {
    database() = db;
}
void SetWindowShower(WindowShower s) {
    shower() = s ? std::move(s) : WindowShower(showModeless);
}

void InstallWindowOpeners() {
    SetOpenContactHook([](const KVDirectory::ContactPtr& contact, int modal) -> QWidget* {
        return OpenContact(contact, modal).data();
    });
}

QPointer<QWidget> NewContact(qint16 ContactListValue) {
    KVDirectory* dir = Directory();
    if (dir == nullptr) {
        return {};
    }
    if (const auto user = dir->CurrentUser(); user && !user->DirectoryRights().CanSaveContacts()) {
        MsgBox(
            QStringLiteral(
                "You have not been given the correct security permissions to create new Contacts"),
            MsgIcon::Exclamation);
        return {};
    }
    if (!withinLimits(countVisible<ContactWindow>(), kContactRefusal)) {
        return {};
    }
    std::shared_ptr<DirectoryContact> contact = dir->CreateContact();
    if (!contact) {
        return {};
    }
    if (ContactListValue > 0) {
        contact->SetContactListValue(ContactListValue);
    }
    QWidget* window = make(EditWindowKind::Contact);
    if (window == nullptr) {
        return {};
    }
    dynamic_cast<ContactWindow*>(window)->SetContact(contact);
    place(window);
    showWindow(window, false);
    return QPointer<QWidget>(window);
}

QPointer<QWidget> OpenContact(const std::shared_ptr<DirectoryContact>& contact, qint32 modal) {
    if (!contact) {
        return {};
    }
    AddContactToMRU(Directory(), contact->Reference());
    int count = 0;
    if (contact->Reference() > 0) {
        if (auto w = findOpen<ContactWindow>(contact->Reference(), modal == 1, count,
                                             [](ContactWindow* c) { return c->Contact(); })) {
            return w;
        }
    }
    if (!withinLimits(count, kContactRefusal) || Directory() == nullptr) {
        return {};
    }
    QWidget* window = make(EditWindowKind::Contact);
    if (window == nullptr) {
        return {};
    }
    QPointer<QWidget> guard(window);
    place(window);
    dynamic_cast<ContactWindow*>(window)->SetContact(contact);
    showWindow(window, modal == 1);
    return guard;
}

QPointer<QWidget> OpenPrize(const std::shared_ptr<OrlixPrize>& prize) {
    return openPrizeRecord<PrizeWindow>(
        prize, EditWindowKind::Prize, kPrizeRefusal, [](PrizeWindow* p) { return p->Prize(); },
        [](PrizeWindow* w, const std::shared_ptr<OrlixPrize>& p) { w->LoadPrize(p); });
}

QPointer<QWidget> OpenPrizeWinner(const std::shared_ptr<OrlixPrizeWinner>& winner) {
    // Only a stored winner can already be open: two new winners get two windows.
    return openPrizeRecord<PrizeWinnerWindow>(
        winner, EditWindowKind::PrizeWinner, kWinnerRefusal,
        [](PrizeWinnerWindow* p) { return p->PrizeWinner(); },
        [](PrizeWinnerWindow* w, const std::shared_ptr<OrlixPrizeWinner>& p) {
            w->LoadPrizeWinner(p);
        });
}

QPointer<QWidget> NewMessage(std::shared_ptr<OrlixMessage>& message, qint32 kind) {
    KVDirectory* dir = Directory();
    if (dir == nullptr) {
        return {};
    }
    if (const auto user = dir->CurrentUser(); user && !user->UserRights().CanSaveMessages()) {
        MsgBox(
            QStringLiteral(
                "You have not been given the correct security permissions to create new Messages"),
            MsgIcon::Exclamation);
        return {};
    }
    if (!withinLimits(countVisible<MessageWindow>(), kMessageRefusal)) {
        return {};
    }
    if (!message) {
        message = std::make_shared<OrlixMessage>();
        message->SetKind(kind);
    }
    QWidget* window = makeMessageWindow(kind);
    if (window == nullptr) {
        return {};
    }
    auto* w = dynamic_cast<MessageWindow*>(window);
    w->SetEditable(true);
    w->SetMessage(message);
    window->setWindowState(Qt::WindowNoState);
    showWindow(window, false);
    return QPointer<QWidget>(window);
}

QPointer<QWidget> OpenMessage(const std::shared_ptr<OrlixMessage>& message, qint32 modal) {
    if (!message) {
        return {};
    }
    AddMessageToMRU(Directory(), message->Reference());
    int count = 0;
    if (message->Reference() > 0) {
        if (auto w = findOpen<MessageWindow>(message->Reference(), modal == 1, count,
                                             [](MessageWindow* m) { return m->Message(); })) {
            return w;
        }
    }
    if (!message->Edited() && (message->Flags() & kFlagRead) == 0) {
        message->SetFlags(message->Flags() | kFlagRead);
        if (database() != nullptr) {
            bool ok = false;
            database()->StoreMessage(*message, ok);
        }
    }
    if (!withinLimits(count, kMessageRefusal) || Directory() == nullptr) {
        return {};
    }
    QWidget* window = makeMessageWindow(message->Kind());
    if (window == nullptr) {
        return {};
    }
    QPointer<QWidget> guard(window);
    window->setWindowState(Qt::WindowNoState);
    dynamic_cast<MessageWindow*>(window)->SetMessage(message);
    showWindow(window, modal == 1);
    return guard;
}
