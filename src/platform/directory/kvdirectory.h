#pragma once

#include "platform/directory/contactfilter.h"
#include "platform/directory/directoryapplications.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/directorywebsite.h"
#include "platform/system/sqlitebackup.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class ContactListing;
class ContactStore;
class DirectoryStorage;
class QComboBox;
class QWidget;

// The contacts directory every studio computer of a station shares: contacts, users and
// their rights, login and logout, per-user settings and websites, in one SQLite file.
//
// Login and logout are told through ContactLogin and ContactLogout, always after CurrentUser
// has changed and inside the call that caused them. The security-key signals carry their
// last argument by pointer: a handler (connected directly) sets it False to refuse.
class KVDirectory : public QObject {
    Q_OBJECT
public:
    using ContactPtr = std::shared_ptr<DirectoryContact>;
    using ContactList = QList<ContactPtr>;
    using WebsitePtr = std::shared_ptr<DirectoryWebsite>;

    explicit KVDirectory(QObject* parent = nullptr);
    ~KVDirectory() override;

    qint32 DebugLevel() const { return debugLevel_; }
    void SetDebugLevel(qint32 level) { debugLevel_ = level; }
    const QString& ProfileName() const { return profileName_; }
    void SetProfileName(const QString& name) { profileName_ = name; }
    // Two numbers the client declares about itself before opening; the directory keeps them
    // with the program's registration and gives them no other meaning.
    qint32 ClientOptions() const { return clientOptions_; }
    void SetClientOptions(qint32 value) { clientOptions_ = value; }
    qint32 ClientLevel() const { return clientLevel_; }
    void SetClientLevel(qint32 value) { clientLevel_ = value; }

    // <common data>/Kestova/Directory/Directory.sqlite
    static QString DefaultFilePath();
    // Opens the default directory; createMissing makes it, empty, when there is none yet.
    void OpenDefault(bool createMissing, bool& failed);
    void Open(const QString& filePath, bool createMissing, bool& failed);
    bool IsOpen() const;
    // Why the last open failed, in words that follow "could not be opened: " ("" after an
    // open that worked).
    const QString& OpenProblem() const { return openProblem_; }
    // Logs the user out (raising ContactLogout) and closes the file. Harmless at any time.
    void Close(bool& ok);

    DirectoryApplications& Applications() { return applications_; }

    // Set before opening: how often other computers' changes are looked for (0: only by
    // CheckForChanges) and the least time between two of their announcements.
    void SetChangeWatch(int pollMs, int minGapMs);
    // Looks now for changes made elsewhere, as the watch does every poll; false when the file
    // could not be read.
    bool CheckForChanges();

    // Shows the login dialog, unless autoLogin finds a user named like the operating-system
    // user. cancelled is True when nobody logged in.
    void Login(qint32 productCode, const QString& productName, QWidget* owner, bool autoLogin,
               qint32 flags, bool& cancelled, const QString& loginName = QString());
    // Logs the user in without a dialog when the user has no password, or is the
    // operating-system user; otherwise ok is False and nobody is logged in.
    void LoginContact(const ContactPtr& contact, qint32 flags, const QString& productName,
                      bool& ok);
    void Logout();
    bool LoggedIn() const { return currentUser_ != nullptr; }
    bool LoggedInBySecurityKey() const { return currentUser_ && byKey_; }
    ContactPtr CurrentUser() const { return currentUser_; }

    // A new unsaved contact (Reference 0).
    ContactPtr CreateContact(qint32 kind = 0);
    // Nothing when unknown or <= 0. (False, False) gives the light record: every field but
    // the address.
    ContactPtr GetContact(qint32 reference, bool full, bool withDetails);
    // Login names compare without regard to case.
    ContactPtr GetContactByLoginName(const QString& loginName);
    // The callers' filter text (see ParseContactFilter); an unknown field or a malformed
    // text gives an empty result and a log line. Results are in name order.
    ContactList FindContacts(const QString& filter, qint32 reserved1 = 0, qint32 reserved2 = 0);
    ContactList FindContacts(const QList<ContactCriterion>& criteria);
    // Contacts one of whose four numbers has the same digits as number.
    ContactList FindContactsByPhoneNumber(const QString& number);
    // Adds one entry per contact (text Name, item data Reference): -1 all, 2 the users.
    void FillContactsCombo(QComboBox* combo, qint32 contactTypes, qint32& count);
    ContactList GetUsers();
    // The contacts of a kind, in name order (light records): 2 the users, any other kind
    // every contact.
    ContactList ListContacts(qint32 contactTypes);
    // The contacts a list shows (2 the users, any other kind every contact; those whose name
    // holds search, any case, when it is not empty), read a few rows at a time as the list asks
    // for them: see ContactListing. Nothing is read here. heldMost: see ContactListing.
    std::unique_ptr<ContactListing> Listing(qint32 contactTypes, const QString& search,
                                            qint64 heldMost = -1);

    // oldReference 0 adds the contact, which then has its Reference; otherwise updates it.
    // The logged-in user's rights decide: users, login names and rights need CanSaveUsers;
    // a personal contact (judged by its stored owner) CanSavePersonalContacts, any other
    // CanSaveContacts. A refused save changes nothing.
    // notify announces the stored contact through ContactSaved; refusal says why it was not.
    void SaveContact(qint32 oldReference, const ContactPtr& contact, bool validate, bool notify,
                     bool& ok, QString* refusal = nullptr);
    bool SaveContact(qint32 oldReference, DirectoryContact& contact, QString* refusal);
    // The same save, telling a stored contact changed on another computer since the copy was
    // read (its counter differs: storedChangeCount receives the row's, which a save meant to
    // replace that version then carries) and one removed meanwhile from every other refusal.
    // A stored contact is announced through ContactSaved.
    enum class SaveOutcome { Stored, ChangedElsewhere, Gone, Refused };
    SaveOutcome StoreContact(qint32 oldReference, const ContactPtr& contact, QString* refusal,
                             qint64* storedChangeCount = nullptr);
    bool RemoveContact(qint32 reference, QString* refusal);

    // Users and their passwords.
    int UserCount();
    // Only while the directory has no users at all: the user gets every right.
    ContactPtr CreateFirstUser(const QString& name, const QString& loginName,
                               const QString& password, QString* refusal);
    // The user whose login name and password these are; refusal says why not.
    ContactPtr Authenticate(const QString& loginName, const QString& password, QString* refusal);
    // Needs CanSaveUsers; an empty password removes it.
    bool SetPassword(qint32 userReference, const QString& password, QString* refusal);

    WebsitePtr GetWebsite(qint32 reference);
    // Every website, by caption (without regard to letter case); empty when not open.
    QList<WebsitePtr> ListWebsites();
    // Stores a new website, or hands back the stored one with the same address.
    void AddWebsite(WebsitePtr& website, bool& ok);

    // The directory's settings dialog: users and their rights.
    void ShowSettings(QWidget* owner = nullptr);

    // The folder of the directory file, its files folder and the users' personal folders.
    QString DataFolder() const;
    QString FilesFolder() const;
    QString UsersFolder() const;
    QString FilePath() const;
    // A consistent copy of the directory file, for the support file, taken a few pages a step
    // while others go on writing; progress is told after every step and may stop it.
    bool SnapshotTo(const QString& targetFile, QString* error,
                    const SqliteBackupProgress& progress = {});

    // No security-key hardware exists here; these raise the key events as a key would.
    void RaiseSecurityKeyInserted(const QString& driveLetter, const QString& loginName);
    void RaiseSecurityKeyRemoved(const QString& driveLetter);

Q_SIGNALS:
    void ContactLogin();
    // Contacts or users were added, changed or removed, here or on another computer; once per
    // commit, whatever road stored them.
    void ContactsChanged();
    // A website was added, changed or removed, here or elsewhere.
    void WebsitesChanged();
    // A user's settings (recent lists, layout) were stored, here or elsewhere.
    void UserSettingsChanged();
    void ContactLogout();
    // A contact stored with notify: the object that was stored, holding the saved values.
    void ContactSaved(const KVDirectory::ContactPtr& contact);
    void SecurityKeyInserted(const QString& driveLetter, const QString& loginName,
                             bool* attemptLogin);
    void SecurityKeyRemoved(const QString& driveLetter, bool* attemptLogout);

private:
    ContactPtr wrap(const ContactRecord& record) const;
    ContactList wrapAll(QList<ContactRecord> records) const;
    void logIn(const ContactPtr& user, bool bySecurityKey);
    ::DirectoryRights currentDirectoryRights();
    // After a save: the saved record into contact, and into the logged-in user's own copy when
    // contact is another object of that user.
    SaveOutcome storeContact(qint32 oldReference, DirectoryContact& contact, QString* refusal,
                             qint64* storedChangeCount);
    void takeSaved(DirectoryContact& contact, ContactRecord record,
                   const std::optional<ContactRecord>& stored, ContactStore& store);

    std::shared_ptr<DirectoryStorage> storage_;
    QString openProblem_;
    DirectoryApplications applications_;
    ContactPtr currentUser_;
    bool byKey_ = false;
    qint32 debugLevel_ = 0;
    QString profileName_;
    qint32 clientOptions_ = 0;
    qint32 clientLevel_ = 0;
    int pollMs_ = 500;
    int minGapMs_ = 1000;
};
