#include "mainwindow/panes/contactspane.h"

#include "core/dialogs/contacthistory.h"
#include "core/profile/recentlists.h"
#include "core/windows/windowopeners.h"
#include "mainwindow/panes/recentmenus.h"
#include "platform/directory/controls/ucontact.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/ui/eventguard.h"
#include "platform/ui/listview.h"

#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>

ContactsPane::ContactsPane(const Controls& controls, Services services, RecentMenus* recent,
                           QObject* parent)
    : QObject(parent), c_(controls), services_(std::move(services)), recent_(recent) {
    c_.fraContactMessages->setTitle(QStringLiteral("Messages:"));
    c_.fraContactPrizes->setTitle(QStringLiteral("Prizes:"));
    c_.cmdOpenContact->setEnabled(false);
    c_.cmdAddContactToRecent->setEnabled(false);

    connect(c_.ctlContacts, &uContactsList::ContactSelected, this,
            [this](const KVDirectory::ContactPtr& contact) {
                GuardEvent("showing a contact", [&] { DisplayContact(contact); });
            });
    const auto open = [this](const KVDirectory::ContactPtr& contact) {
        GuardEvent("opening a contact", [&] { OpenContact(contact, 0); });
    };
    connect(c_.ctlContacts, &uContactsList::AddNewContact, this, open);
    connect(c_.ctlContacts, &uContactsList::ContactChosen, this, open);
    connect(c_.cmdNewContact, &QPushButton::clicked, this,
            [this] { GuardEvent("making a new contact", [&] { cmdNewContact_Click(); }); });
    connect(c_.cmdOpenContact, &QPushButton::clicked, this,
            [this] { GuardEvent("opening a contact", [&] { cmdOpenContact_Click(); }); });
    connect(c_.cmdAddContactToRecent, &QPushButton::clicked, this, [this] {
        GuardEvent("keeping a recent contact", [&] { cmdAddContactToRecent_Click(); });
    });
    connect(c_.cmdRecentContacts, &QPushButton::clicked, this, [this] {
        if (recent_ != nullptr) {
            recent_->PopUpRecentContacts();
        }
    });
    if (recent_ != nullptr) {
        connect(recent_, &RecentMenus::ContactEntryChosen, this, [this](qint32 reference) {
            GuardEvent("showing a recent contact", [&] { mnuMRUContact_Click(reference); });
        });
    }
    connect(c_.ctlContact, &uContact::TabChanged, this, [this](int tab) {
        GuardEvent("showing a contact's history", [&] { ctlContact_TabChanged(tab); });
    });
    connect(c_.lvwContactMessages, &QTreeWidget::itemDoubleClicked, this,
            [this] { GuardEvent("opening a message", [&] { lvwContactMessages_DblClick(); }); });
    connect(c_.lvwContactPrizes, &QTreeWidget::itemDoubleClicked, this,
            [this] { GuardEvent("opening a prize", [&] { lvwContactPrizes_DblClick(); }); });
    for (ListView* list : {c_.lvwContactMessages, c_.lvwContactPrizes}) {
        list->viewport()->installEventFilter(this);
    }
}

void ContactsPane::Follow(KVDirectory* directory, OrlixDatabase* database) {
    for (const QMetaObject::Connection& c : std::as_const(changes_)) {
        disconnect(c);
    }
    changes_.clear();
    if (directory != nullptr) {
        changes_ << connect(directory, &KVDirectory::ContactsChanged, this, [this] {
            GuardEvent("showing the contacts again", [this] { contactsChanged(); });
        });
    }
    if (database != nullptr) {
        const auto history = [this] {
            GuardEvent("showing a contact's history again", [this] { historyChanged(); });
        };
        changes_ << connect(database, &OrlixDatabase::MessageChanged, this, history);
        changes_ << connect(database, &OrlixDatabase::MessageDeleted, this, history);
        changes_ << connect(database, &OrlixDatabase::PrizesChanged, this, history);
    }
}

void ContactsPane::contactsChanged() {
    c_.ctlContacts->Refresh();
    KVDirectory* directory = services_.directory();
    const auto contact = shown();
    if (directory == nullptr || !contact || contact->Reference() < 1) {
        return;
    }
    const auto again = directory->GetContact(contact->Reference(), true, true);
    if (again || !directory->IsOpen()) {
        DisplayContact(again);
    } else {
        DisplayContact(nullptr);
    }
}

void ContactsPane::historyChanged() {
    ctlContact_TabChanged(c_.ctlContact->CurrentTab());
}

std::shared_ptr<DirectoryContact> ContactsPane::shown() const {
    return c_.ctlContact->Contact();
}

void ContactsPane::DisplayContact(const std::shared_ptr<DirectoryContact>& contact) {
    c_.ctlContact->SetContact(contact);
    ctlContact_TabChanged(c_.ctlContact->CurrentTab());
    c_.cmdOpenContact->setEnabled(contact != nullptr);
    c_.cmdAddContactToRecent->setEnabled(contact != nullptr);
}

void ContactsPane::cmdNewContact_Click() {
    NewContact(static_cast<qint16>(c_.ctlContacts->ContactListValue()));
}

void ContactsPane::cmdOpenContact_Click() {
    const auto contact = shown();
    if (contact && contact->Reference() >= 1) {
        OpenContact(contact, 0);
    }
}

void ContactsPane::cmdAddContactToRecent_Click() {
    const auto contact = shown();
    if (contact && contact->Reference() >= 0) {
        AddContactToMRU(services_.directory(), contact->Reference());
    }
}

void ContactsPane::mnuMRUContact_Click(qint32 reference) {
    KVDirectory* directory = services_.directory();
    if (directory == nullptr) {
        return;
    }
    const KVDirectory::ContactPtr contact = directory->GetContact(reference, true, true);
    if (!contact) {
        return;
    }
    if (services_.showTab) {
        services_.showTab();
    }
    c_.ctlContacts->SetSelectedReference(contact->Reference());
    DisplayContact(contact);
}

void ContactsPane::ctlContact_TabChanged(int tab) {
    const auto contact = shown();
    if (tab == ContactHistory::kMessagesTab) {
        c_.fraContactPrizes->setVisible(false);
        c_.fraContactMessages->setVisible(true);
        c_.fraContactMessages->raise();
        ContactHistory::FillMessages(c_.lvwContactMessages, services_.database(), contact.get());
    } else if (tab == ContactHistory::kPrizesTab) {
        c_.fraContactMessages->setVisible(false);
        c_.fraContactPrizes->setVisible(true);
        c_.fraContactPrizes->raise();
        ContactHistory::FillPrizes(c_.lvwContactPrizes, services_.database(), contact.get());
    } else {
        c_.fraContactMessages->setVisible(false);
        c_.fraContactPrizes->setVisible(false);
    }
}

void ContactsPane::lvwContactMessages_DblClick() {
    const QList<QTreeWidgetItem*> selected = c_.lvwContactMessages->selectedItems();
    OrlixDatabase* database = services_.database();
    if (selected.isEmpty() || database == nullptr) {
        return;
    }
    const qint32 reference =
        ContactHistory::KeyReference(ContactHistory::LineKey(selected.front()));
    OpenMessage(database->GetMessage(reference), 0);
}

void ContactsPane::lvwContactPrizes_DblClick() {
    const QList<QTreeWidgetItem*> selected = c_.lvwContactPrizes->selectedItems();
    OrlixDatabase* database = services_.database();
    if (selected.isEmpty() || database == nullptr) {
        return;
    }
    const QString key = ContactHistory::LineKey(selected.front());
    const qint32 reference = ContactHistory::KeyReference(key);
    const QChar kind = ContactHistory::KeyKind(key);
    if (kind == QLatin1Char('w')) {
        OpenPrizeWinner(database->GetPrizeWinner(reference));
    } else if (kind == QLatin1Char('p')) {
        OpenPrize(database->GetPrize(reference, true));
    }
}

bool ContactsPane::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        // Found from the watched viewport, so a list already gone is never touched.
        auto* viewport = qobject_cast<QWidget*>(watched);
        auto* list =
            viewport != nullptr ? qobject_cast<ListView*>(viewport->parentWidget()) : nullptr;
        if (list != nullptr && (list == c_.lvwContactMessages || list == c_.lvwContactPrizes) &&
            watched == list->viewport()) {
            // Every button selects the line under the pointer, or none, so a right click
            // acts on what it points at.
            auto* press = static_cast<QMouseEvent*>(event);
            QTreeWidgetItem* line = list->itemAt(press->position().toPoint());
            if (line == nullptr) {
                list->clearSelection();
                list->setCurrentItem(nullptr);
            } else {
                list->setCurrentItem(line);
                line->setSelected(true);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
