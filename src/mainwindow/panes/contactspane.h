#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class DirectoryContact;
class KVDirectory;
class ListView;
class OrlixDatabase;
class QGroupBox;
class QPushButton;
class RecentMenus;
class uContact;
class uContactsList;

// The main window's contacts tab: the directory's contacts list, the contact control with its
// two history tabs, and the four buttons; and what the recent contacts do when chosen. The
// controls are the window's; the pane wires them and holds no state beyond them.
class ContactsPane : public QObject {
    Q_OBJECT
public:
    struct Controls {
        uContactsList* ctlContacts = nullptr;
        uContact* ctlContact = nullptr;
        QPushButton* cmdNewContact = nullptr;
        QPushButton* cmdOpenContact = nullptr;
        QPushButton* cmdAddContactToRecent = nullptr;
        QPushButton* cmdRecentContacts = nullptr;
        QGroupBox* fraContactMessages = nullptr;
        ListView* lvwContactMessages = nullptr;
        QGroupBox* fraContactPrizes = nullptr;
        ListView* lvwContactPrizes = nullptr;
    };
    // The services are asked for at each use: the directory and the database change with
    // the settings. showTab brings the contacts tab forward.
    struct Services {
        std::function<KVDirectory*()> directory;
        std::function<OrlixDatabase*()> database;
        std::function<void()> showTab;
    };

    ContactsPane(const Controls& controls, Services services, RecentMenus* recent, QObject* parent);

    // The directory and database whose changes the pane follows (none: nothing): the list
    // and the contact shown follow the contacts, the history lists the messages and prizes.
    void Follow(KVDirectory* directory, OrlixDatabase* database);

    // Shows the contact (none allowed) with the history of the tab shown; the open and keep
    // buttons follow whether there is one.
    void DisplayContact(const std::shared_ptr<DirectoryContact>& contact);

    // The handlers, public for the window's menus and the tests.
    void cmdNewContact_Click();
    void cmdOpenContact_Click();
    void cmdAddContactToRecent_Click();
    void mnuMRUContact_Click(qint32 reference);
    void ctlContact_TabChanged(int tab);
    void lvwContactMessages_DblClick();
    void lvwContactPrizes_DblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::shared_ptr<DirectoryContact> shown() const;
    // Contacts changed here or elsewhere: the list is read again, keeping its selection and
    // search, and the contact shown is read again by its Reference.
    void contactsChanged();
    void historyChanged();

    QList<QMetaObject::Connection> changes_;
    Controls c_;
    Services services_;
    QPointer<RecentMenus> recent_;
};
