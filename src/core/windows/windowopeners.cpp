#include "core/windows/windowopeners.h"

#include "core/debuglog.h"
#include "core/profile/recentlists.h"
#include "core/program.h"
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

#include <QGuiApplication>
#include <QScreen>

#include <functional>
#include <optional>

namespace {
constexpr int kPerKindLimit = 10;
constexpr int kLoadedFormsLimit = 40;
constexpr qint32 kFlagRead = 1;

const char* const kContactRefusal =
    "You cannot have more than 10 Contact windows open simultaneously";
const char* const kPrizeRefusal = "You cannot have more than 10 Prize windows open simultaneously";
const char* const kWinnerRefusal =
    "You cannot have more than 10 Prize Winner's details window open simultaneously";
const char* const kMessageRefusal =
    "You cannot have more than 10 Message windows open simultaneously";

Program& program() {
    return Program::Instance();
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
    if (QWidget* main = program().MainWindow()) {
        around = main->frameGeometry();
    } else if (QGuiApplication::primaryScreen() != nullptr) {
        around = QGuiApplication::primaryScreen()->availableGeometry();
    }
    const QSize size = window->frameGeometry().size();
    window->move((around.width() - size.width()) / 2 + around.left(),
                 (around.height() - size.height()) / 2 + around.top());
}

// A new window of the kind that is also a Window; null (and nothing left behind) otherwise.
template <typename Window> Window* make(WindowKind kind) {
    QWidget* window = program().Windows().Make(kind);
    if (window == nullptr) {
        return nullptr;
    }
    auto* typed = dynamic_cast<Window*>(window);
    if (typed == nullptr) {
        DebugLog(QStringLiteral("The window registered for this kind of item cannot show it; "
                                "nothing opened"));
        delete window;
    }
    return typed;
}

// Shown, in front; the pointer is taken before a modal showing, after which the window may be
// gone.
QPointer<QWidget> show(QWidget* window, bool modal) {
    QPointer<QWidget> guard(window);
    program().Windows().Show(window, modal);
    return guard;
}

// How one kind of stored item opens in its window.
template <typename Window, typename Item> struct ItemRoad {
    const char* refusal = nullptr;
    bool modal = false;
    // Centred on the main window; otherwise only put back to its normal state.
    bool centre = true;
    std::function<Window*()> make;
    std::function<std::shared_ptr<Item>(const Window*)> itemOf;
    std::function<void(Window*, const std::shared_ptr<Item>&)> fill;
    // Runs when no open window shows the item, before the limits are checked.
    std::function<void()> notOpen;
};

// F: counts the kind's loaded windows and brings forward one that shows the item. Empty when
// none does; otherwise what the showing left of that window.
template <typename Window, typename Item>
std::optional<QPointer<QWidget>> findOpen(qint32 reference, const ItemRoad<Window, Item>& road,
                                          int& count) {
    for (QWidget* w : windowsOfKind<Window>()) {
        ++count;
        const auto item = road.itemOf(dynamic_cast<const Window*>(w));
        if (item && item->Reference() == reference) {
            w->setFocus(); // given as the window is activated
            return show(w, road.modal);
        }
    }
    return std::nullopt;
}

// An open window of a stored item is brought forward; else, within the limits and with a
// directory, a new window is made, placed, filled and shown.
template <typename Window, typename Item>
QPointer<QWidget> openItem(const std::shared_ptr<Item>& item, const ItemRoad<Window, Item>& road) {
    int count = 0;
    if (item->Reference() > 0) {
        if (auto shown = findOpen(item->Reference(), road, count)) {
            return *shown;
        }
    }
    if (road.notOpen) {
        road.notOpen();
    }
    if (!withinLimits(count, road.refusal) || program().Directory() == nullptr) {
        return {};
    }
    Window* window = road.make();
    if (window == nullptr) {
        return {};
    }
    auto* widget = dynamic_cast<QWidget*>(window);
    if (road.centre) {
        place(widget);
    } else {
        widget->setWindowState(Qt::WindowNoState);
    }
    road.fill(window, item);
    return show(widget, road.modal);
}

// The e-mail or the SMS window; none for any other kind.
MessageWindow* makeMessageWindow(qint32 kind) {
    if (kind == OrlixMessage::KindEmail) {
        return make<MessageWindow>(WindowKind::Email);
    }
    if (kind == OrlixMessage::KindSms) {
        return make<MessageWindow>(WindowKind::Sms);
    }
    return nullptr;
}
} // namespace

void InstallWindowOpeners() {
    SetOpenContactHook([](const KVDirectory::ContactPtr& contact, int modal) -> QWidget* {
        return OpenContact(contact, modal).data();
    });
}

QPointer<QWidget> NewContact(qint16 ContactListValue) {
    KVDirectory* dir = program().Directory();
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
    ContactWindow* window = make<ContactWindow>(WindowKind::Contact);
    if (window == nullptr) {
        return {};
    }
    window->SetContact(contact);
    auto* widget = dynamic_cast<QWidget*>(window);
    place(widget);
    return show(widget, false);
}

QPointer<QWidget> OpenContact(const std::shared_ptr<DirectoryContact>& contact, qint32 modal) {
    if (!contact) {
        return {};
    }
    AddContactToMRU(program().Directory(), contact->Reference());
    ItemRoad<ContactWindow, DirectoryContact> road;
    road.refusal = kContactRefusal;
    road.modal = modal == 1;
    road.make = [] { return make<ContactWindow>(WindowKind::Contact); };
    road.itemOf = [](const ContactWindow* w) { return w->Contact(); };
    road.fill = [](ContactWindow* w, const std::shared_ptr<DirectoryContact>& c) {
        w->SetContact(c);
    };
    return openItem(contact, road);
}

QPointer<QWidget> OpenPrize(const std::shared_ptr<OrlixPrize>& prize) {
    if (!prize) {
        return {};
    }
    ItemRoad<PrizeWindow, OrlixPrize> road;
    road.refusal = kPrizeRefusal;
    road.make = [] { return make<PrizeWindow>(WindowKind::Prize); };
    road.itemOf = [](const PrizeWindow* w) { return w->Prize(); };
    road.fill = [](PrizeWindow* w, const std::shared_ptr<OrlixPrize>& p) { w->LoadPrize(p); };
    return openItem(prize, road);
}

QPointer<QWidget> OpenPrizeWinner(const std::shared_ptr<OrlixPrizeWinner>& winner) {
    if (!winner) {
        return {};
    }
    // Only a stored winner can already be open: two new winners get two windows.
    ItemRoad<PrizeWinnerWindow, OrlixPrizeWinner> road;
    road.refusal = kWinnerRefusal;
    road.make = [] { return make<PrizeWinnerWindow>(WindowKind::PrizeWinner); };
    road.itemOf = [](const PrizeWinnerWindow* w) { return w->PrizeWinner(); };
    road.fill = [](PrizeWinnerWindow* w, const std::shared_ptr<OrlixPrizeWinner>& p) {
        w->LoadPrizeWinner(p);
    };
    return openItem(winner, road);
}

QPointer<QWidget> NewMessage(std::shared_ptr<OrlixMessage>& message, qint32 kind) {
    KVDirectory* dir = program().Directory();
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
    MessageWindow* window = makeMessageWindow(kind);
    if (window == nullptr) {
        return {};
    }
    window->SetEditable(true);
    window->SetMessage(message);
    auto* widget = dynamic_cast<QWidget*>(window);
    widget->setWindowState(Qt::WindowNoState);
    return show(widget, false);
}

QPointer<QWidget> OpenMessage(const std::shared_ptr<OrlixMessage>& message, qint32 modal) {
    if (!message) {
        return {};
    }
    AddMessageToMRU(program().Directory(), message->Reference());
    ItemRoad<MessageWindow, OrlixMessage> road;
    road.refusal = kMessageRefusal;
    road.modal = modal == 1;
    road.centre = false;
    road.make = [kind = message->Kind()] { return makeMessageWindow(kind); };
    road.itemOf = [](const MessageWindow* w) { return w->Message(); };
    road.fill = [](MessageWindow* w, const std::shared_ptr<OrlixMessage>& m) { w->SetMessage(m); };
    road.notOpen = [&message] {
        if (message->Edited() || (message->Flags() & kFlagRead) != 0) {
            return;
        }
        message->SetFlags(message->Flags() | kFlagRead);
        if (OrlixDatabase* db = program().Database()) {
            bool ok = false;
            db->StoreMessage(*message, ok);
        }
    };
    return openItem(message, road);
}
