#pragma once

#include "platform/directory/kvdirectory.h"

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

class ContactListModel;
class QLineEdit;
class QListView;
class QModelIndex;

// The directory's list of contacts: a search box over a list of names, with an entry for a
// new contact when DisplayNewContact is set. The list reads its contacts from the KVDirectory
// it is given, only the rows it shows (see ContactListModel); it never stores anything itself.
// A reload only marks the list out of date: it reads again when next shown or asked for its
// rows, once however many reloads came before.
//
// Events: ContactSelected when the selection moves (none for the new-contact entry or no
// selection), ContactChosen when a contact is double-clicked or Enter is pressed on it (the
// whole record), AddNewContact when the new-contact entry is (a new, unsaved contact).
class uContactsList : public QWidget {
    Q_OBJECT
public:
    using ContactPtr = KVDirectory::ContactPtr;

    explicit uContactsList(QWidget* parent = nullptr);
    ~uContactsList() override;

    // The text of the new-contact entry.
    static QString NewContactText();

    // 2 lists the users only; any other value every contact.
    qint32 ContactTypes() const { return contactTypes_; }
    void SetContactTypes(qint32 types);
    bool DisplayNewContact() const { return displayNewContact_; }
    void SetDisplayNewContact(bool on);
    // The list shows the contacts whose name holds this text (any case); "" shows them all.
    QString SearchText() const;
    void SetSearchText(const QString& text);
    // Reference of the selected contact, 0 when none (or the new-contact entry) is selected.
    // When the new-contact entry has asked for a contact and nobody selected another one
    // meanwhile, the contact selected before it is selected again.
    // Setting a contact the search hides clears the search, so that it can be shown; a
    // contact the list cannot show (unknown, or not of ContactTypes) selects nothing.
    qint32 SelectedReference() const { return selectedReference_; }
    void SetSelectedReference(qint32 reference);
    // True: each change of Directory, ContactTypes, DisplayNewContact or SearchText, and each
    // contact the directory announces as saved, reloads the list. False: the list reloads on
    // Refresh and when the user searches.
    bool AutoUpdate() const { return autoUpdate_; }
    void SetAutoUpdate(bool on);
    QColor BackColour() const { return backColour_; }
    void SetBackColour(const QColor& colour);
    KVDirectory* Directory() const { return directory_; }
    void SetDirectory(KVDirectory* directory);
    // The group a new contact made from this list is put in (0 = none).
    qint32 ContactListValue() const { return contactListValue_; }
    void SetContactListValue(qint32 value) { contactListValue_ = value; }

    // Reloads the list from the directory; the selected contact stays selected (and in view)
    // while listed.
    void Refresh();

    QLineEdit* txtSearch() const { return txtSearch_; }
    QListView* lstContacts() const { return lstContacts_; }
    ContactListModel* Model() const { return model_; }
    // The row showing a contact; invalid when it is not listed.
    QModelIndex ItemOf(qint32 reference) const;
    QModelIndex NewContactItem() const;

Q_SIGNALS:
    void ContactSelected(const KVDirectory::ContactPtr& contact);
    void ContactChosen(const KVDirectory::ContactPtr& contact);
    void AddNewContact(const KVDirectory::ContactPtr& contact);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void changed();
    // A new listing for the list's settings: nothing is read until the rows are wanted.
    void load();
    // Once the list is wanted after a reload: the selected contact selected again, and the
    // rows in view kept in view.
    void restore();
    void selectRow(qint32 reference);
    void onCurrentChanged(const QModelIndex& index);
    void onActivated(const QModelIndex& index);
    void onSearchEdited();

    QLineEdit* txtSearch_;
    QListView* lstContacts_;
    ContactListModel* model_;
    QPointer<KVDirectory> directory_;
    qint32 contactTypes_ = -1;
    bool displayNewContact_ = false;
    bool autoUpdate_ = true;
    QColor backColour_;
    qint32 selectedReference_ = 0;
    qint32 lastContactReference_ = 0; // the contact selected before the new-contact entry
    qint32 contactListValue_ = 0;
    bool loading_ = false;
    bool restorePending_ = false;
    bool restoreQueued_ = false;
    int topRow_ = -1; // the first row in view before the reload, when nothing was selected
};
