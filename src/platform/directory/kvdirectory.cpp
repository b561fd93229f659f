#include "platform/directory/kvdirectory.h"

#include "platform/directory/contactlisting.h"
#include "platform/directory/contactstore.h"
#include "platform/directory/contacttext.h"
#include "platform/directory/controls/contactlistmodel.h"
#include "platform/directory/directorylogindialog.h"
#include "platform/directory/directorysettingsdialog.h"
#include "platform/directory/directorystorage.h"
#include "platform/directory/passwordhash.h"
#include "platform/directory/systemuser.h"
#include "platform/system/folders.h"
#include "platform/system/platformlog.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/messagebox.h"

#include <algorithm>

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QVariant>

namespace {
const QString kNoUsersRight = QStringLiteral(
    "You do not have the nescessary Security Permissions to save Users into the Directory");
const QString kNoPersonalRight = QStringLiteral("You do not have the nescessary Security "
                                                "Permissions to save Personal Contacts into the "
                                                "Directory");
const QString kNoContactsRight = QStringLiteral(
    "You do not have the nescessary Security Permissions to save Contacts into the Directory");

const QString kLastManager = QStringLiteral(
    "At least one user must keep the rights to change the Directory Settings and to save Users");

bool managesUsers(const ContactRecord& r) {
    const ::DirectoryRights rights(r.directoryRights);
    return !r.loginName.isEmpty() && rights.CanChangeDirectorySettings() && rights.CanSaveUsers();
}

// Why the user me, with rights, may not save record over stored ("" when they may). A user,
// a login name or rights take the right to save users; any other contact the right for its
// owner's kind (personal or shared), both before and after the change.
QString saveRightRefusal(const std::optional<ContactRecord>& stored, const ContactRecord& record,
                         const ::DirectoryRights& rights, qint32 me) {
    const bool isUser = !record.loginName.isEmpty() || (stored && !stored->loginName.isEmpty());
    const bool loginChanged =
        stored ? stored->loginName != record.loginName : !record.loginName.isEmpty();
    const bool rightsChanged = stored ? (stored->directoryRights != record.directoryRights ||
                                         stored->userRights != record.userRights)
                                      : (record.directoryRights != 0 || record.userRights != 0);
    if (isUser || loginChanged || rightsChanged) {
        return rights.CanSaveUsers() ? QString() : kNoUsersRight;
    }
    const qint32 storedOwner = stored ? stored->ownerReference : record.ownerReference;
    for (const qint32 owner : {storedOwner, record.ownerReference}) {
        const bool allowed =
            owner == me ? rights.CanSavePersonalContacts() : rights.CanSaveContacts();
        if (!allowed) {
            return owner == me ? kNoPersonalRight : kNoContactsRight;
        }
    }
    return {};
}

// Why record's login name cannot be saved ("" when it can): another user has it.
QString loginNameRefusal(ContactStore& store, const ContactRecord& record) {
    if (record.loginName.isEmpty()) {
        return {};
    }
    bool taken = false;
    if (!store.LoginNameTaken(record.loginName, record.reference, &taken)) {
        return QStringLiteral("The directory could not be read just now");
    }
    if (taken) {
        return QStringLiteral("The login name '%1' is already used by another user")
            .arg(record.loginName);
    }
    return {};
}

bool refuse(QString* refusal, const QString& why) {
    if (refusal) {
        *refusal = why;
    }
    PlatformLog(QStringLiteral("Directory: ") + why);
    return false;
}
} // namespace

KVDirectory::KVDirectory(QObject* parent)
    : QObject(parent),
      applications_([this] { return storage_; },
                    [this] {
                        return DirectoryApplications::ClientInfo{clientOptions_, clientLevel_};
                    }) {}

KVDirectory::~KVDirectory() {
    // No events from a dying object: the receivers may be gone already.
    currentUser_.reset();
    storage_.reset();
}

QString KVDirectory::DefaultFilePath() {
    return QDir::cleanPath(Folders::CommonData() +
                           QStringLiteral("/Kestova/Directory/Directory.sqlite"));
}

namespace {
// Worded for the user, as the messages database words its own.
QString openProblemOf(StorageOpenResult result) {
    switch (result) {
    case StorageOpenResult::Missing:
        return QStringLiteral("the folder does not exist.");
    case StorageOpenResult::NotWritable:
        return QStringLiteral("the folder or its directory file cannot be written.");
    case StorageOpenResult::Locked:
        return QStringLiteral("another computer kept it locked for longer than the program "
                              "waits.");
    case StorageOpenResult::Corrupt:
        return QStringLiteral("its file is damaged or is not a directory file.");
    case StorageOpenResult::TooNew:
        return QStringLiteral("it was made by a newer version of the program.");
    default:
        return QStringLiteral("it could not be read or set up; the debug log says why.");
    }
}
} // namespace

void KVDirectory::OpenDefault(bool createMissing, bool& failed) {
    Open(DefaultFilePath(), createMissing, failed);
}

void KVDirectory::Open(const QString& filePath, bool createMissing, bool& failed) {
    bool closed = false;
    Close(closed);
    auto storage = std::make_shared<DirectoryStorage>();
    QString why;
    const StorageOpenResult result = storage->Open(filePath, createMissing, &why);
    openProblem_.clear();
    if (result != StorageOpenResult::Opened && result != StorageOpenResult::Created) {
        PlatformLog(
            QStringLiteral("The directory '%1' could not be opened: %2").arg(filePath, why));
        openProblem_ = openProblemOf(result);
        failed = true;
        return;
    }
    storage_ = std::move(storage);
    const auto announce = [this](quint32 kinds) {
        if ((kinds & DirectoryStorage::ContactsKind) != 0) {
            Q_EMIT ContactsChanged();
        }
        if ((kinds & DirectoryStorage::WebsitesKind) != 0) {
            Q_EMIT WebsitesChanged();
        }
        if ((kinds & DirectoryStorage::UserSettingsKind) != 0) {
            Q_EMIT UserSettingsChanged();
        }
    };
    connect(&storage_->Watch(), &ChangeWatch::ChangedElsewhere, this, announce);
    connect(&storage_->Watch(), &ChangeWatch::ChangedHere, this, announce);
    storage_->Watch().Start(pollMs_, minGapMs_);
    if (result == StorageOpenResult::Created) {
        PlatformLog(QStringLiteral("Created the default directory in '%1'").arg(DataFolder()));
    }
    QDir().mkpath(FilesFolder());
    failed = false;
}

void KVDirectory::SetChangeWatch(int pollMs, int minGapMs) {
    pollMs_ = pollMs;
    minGapMs_ = minGapMs;
    if (IsOpen()) {
        storage_->Watch().Start(pollMs_, minGapMs_);
    }
}

bool KVDirectory::CheckForChanges() {
    return IsOpen() && storage_->Watch().Check();
}

bool KVDirectory::IsOpen() const {
    return storage_ && storage_->IsOpen();
}

void KVDirectory::Close(bool& ok) {
    Logout();
    storage_.reset();
    ok = true;
}

QString KVDirectory::FilePath() const {
    return storage_ ? storage_->FilePath() : DefaultFilePath();
}

QString KVDirectory::DataFolder() const {
    return QFileInfo(FilePath()).absolutePath();
}

QString KVDirectory::FilesFolder() const {
    return DataFolder() + QStringLiteral("/Files");
}

QString KVDirectory::UsersFolder() const {
    return DataFolder() + QStringLiteral("/Users");
}

bool KVDirectory::SnapshotTo(const QString& targetFile, QString* error,
                             const SqliteBackupProgress& progress) {
    if (!IsOpen()) {
        return refuse(error, QStringLiteral("the directory is not open"));
    }
    QFile::remove(targetFile); // a copy is always taken whole into a new file
    SqliteBackup backup(storage_->Database(), targetFile);
    backup.SetProgress(progress);
    QString why;
    if (!backup.Run(&why)) {
        PlatformLog(QStringLiteral("Directory: the copy '%1' failed: %2").arg(targetFile, why));
        return refuse(
            error,
            QStringLiteral("the directory could not be copied to '%1': %2").arg(targetFile, why));
    }
    return true;
}

KVDirectory::ContactPtr KVDirectory::wrap(const ContactRecord& record) const {
    return std::make_shared<DirectoryContact>(record, storage_, UsersFolder());
}

KVDirectory::ContactList KVDirectory::wrapAll(QList<ContactRecord> records) const {
    // The folder is the same for every contact of the list; working its path out per contact
    // cost a tenth of a large search.
    const QString usersFolder = UsersFolder();
    ContactList list;
    list.reserve(records.size());
    for (ContactRecord& r : records) {
        list << std::make_shared<DirectoryContact>(std::move(r), storage_, usersFolder);
    }
    return list;
}

KVDirectory::ContactPtr KVDirectory::CreateContact(qint32 /*kind*/) {
    return wrap(ContactRecord{});
}

KVDirectory::ContactPtr KVDirectory::GetContact(qint32 reference, bool full, bool withDetails) {
    if (!IsOpen() || reference <= 0) {
        return nullptr;
    }
    const auto record = ContactStore(*storage_).Load(reference, full || withDetails);
    return record ? wrap(*record) : nullptr;
}

KVDirectory::ContactPtr KVDirectory::GetContactByLoginName(const QString& loginName) {
    if (!IsOpen()) {
        return nullptr;
    }
    const auto record = ContactStore(*storage_).LoadByLoginName(loginName);
    return record ? wrap(*record) : nullptr;
}

KVDirectory::ContactList KVDirectory::FindContacts(const QString& filter, qint32, qint32) {
    const ContactFilterParse parsed = ParseContactFilter(filter);
    if (!parsed.ok) {
        PlatformLog(QStringLiteral("Directory: the contact filter \"%1\" was refused: %2")
                        .arg(filter, parsed.error));
        return {};
    }
    return FindContacts(parsed.criteria);
}

KVDirectory::ContactList KVDirectory::FindContacts(const QList<ContactCriterion>& criteria) {
    if (!IsOpen()) {
        return {};
    }
    bool ok = false;
    // Made on a worker thread too: the storage handle and the folder are copied, never changed.
    const QString usersFolder = UsersFolder();
    const std::shared_ptr<DirectoryStorage>& storage = storage_;
    return ContactStore(*storage_).Find(criteria, &ok, [&storage, &usersFolder](ContactRecord&& r) {
        return std::make_shared<DirectoryContact>(std::move(r), storage, usersFolder);
    });
}

KVDirectory::ContactList KVDirectory::FindContactsByPhoneNumber(const QString& number) {
    if (!IsOpen()) {
        return {};
    }
    return wrapAll(ContactStore(*storage_).FindByPhoneDigits(ContactText::PhoneDigits(number)));
}

void KVDirectory::FillContactsCombo(QComboBox* combo, qint32 contactTypes, qint32& count) {
    count = 0;
    if (!combo || !IsOpen()) {
        return;
    }
    auto* shown = qobject_cast<ContactListModel*>(combo->model());
    if (shown != nullptr && combo->count() == 0 && contactTypes == 2) {
        combo->setModel(new QStandardItemModel(combo)); // the users' entries of their own
        shown = nullptr;
    }
    if (contactTypes != 2 && combo->count() == 0 && !combo->rootModelIndex().isValid() &&
        combo->modelColumn() == 0 &&
        (shown != nullptr || qobject_cast<QStandardItemModel*>(combo->model()))) {
        // Every contact: the directory itself is shown, its names read a page at a time as the
        // list is scrolled, and found through its indexes (see ContactListModel). The few users
        // are entries of their own.
        if (shown == nullptr) {
            shown = new ContactListModel(combo); // owned by the combo box
            shown->SetNamesOnly(true);
            combo->setModel(shown);
            if (auto* popup = qobject_cast<QListView*>(combo->view())) {
                popup->setUniformItemSizes(true);
            }
        }
        shown->SetListing(Listing(contactTypes, QString()), false);
        count = shown->rowCount();
        return;
    }
    const QList<ContactName> names = ContactStore(*storage_).Names(contactTypes == 2);
    count = static_cast<qint32>(names.size());
    auto* model = qobject_cast<QStandardItemModel*>(combo->model());
    if (model == nullptr || combo->rootModelIndex().isValid() || combo->modelColumn() != 0 ||
        combo->count() + names.size() > combo->maxCount()) {
        for (const ContactName& n : names) {
            combo->addItem(n.name, n.reference);
        }
        return;
    }
    // The entries addItem would make, added in one go: one insertion for the whole
    // directory, not one (with its signals and size checks) per contact.
    QList<QStandardItem*> items;
    items.reserve(names.size());
    for (const ContactName& n : names) {
        auto* item = new QStandardItem(n.name); // owned by the model once appended
        item->setData(n.reference, Qt::UserRole);
        items.append(item);
    }
    model->invisibleRootItem()->appendRows(items);
}

KVDirectory::ContactList KVDirectory::ListContacts(qint32 contactTypes) {
    if (!IsOpen()) {
        return {};
    }
    ContactStore store(*storage_);
    return wrapAll(contactTypes == 2 ? store.Users() : store.All());
}

std::unique_ptr<ContactListing> KVDirectory::Listing(qint32 contactTypes, const QString& search,
                                                     qint64 heldMost) {
    if (!IsOpen()) {
        return nullptr;
    }
    return std::make_unique<ContactListing>(storage_, contactTypes == 2, search,
                                            heldMost < 0 ? ContactListing::kHeldMost : heldMost);
}

KVDirectory::ContactList KVDirectory::GetUsers() {
    if (!IsOpen()) {
        return {};
    }
    return wrapAll(ContactStore(*storage_).Users());
}

int KVDirectory::UserCount() {
    return IsOpen() ? ContactStore(*storage_).CountUsers() : -1;
}

::DirectoryRights KVDirectory::currentDirectoryRights() {
    // Read from the file, not from the login's copy: another computer may have changed them.
    if (!currentUser_ || !IsOpen()) {
        return {};
    }
    const auto me = ContactStore(*storage_).Load(currentUser_->Reference(), false);
    return me ? ::DirectoryRights(me->directoryRights) : ::DirectoryRights();
}

void KVDirectory::SaveContact(qint32 oldReference, const ContactPtr& contact, bool, bool notify,
                              bool& ok, QString* refusal) {
    if (!contact) {
        ok = refuse(refusal, QStringLiteral("There is no contact to save"));
        return;
    }
    ok = SaveContact(oldReference, *contact, refusal);
    if (ok && notify) {
        Q_EMIT ContactSaved(contact);
    }
}

KVDirectory::SaveOutcome KVDirectory::StoreContact(qint32 oldReference, const ContactPtr& contact,
                                                   QString* refusal, qint64* storedChangeCount) {
    if (!contact) {
        refuse(refusal, QStringLiteral("There is no contact to save"));
        return SaveOutcome::Refused;
    }
    const SaveOutcome outcome = storeContact(oldReference, *contact, refusal, storedChangeCount);
    if (outcome == SaveOutcome::Stored) {
        Q_EMIT ContactSaved(contact);
    }
    return outcome;
}

bool KVDirectory::SaveContact(qint32 oldReference, DirectoryContact& contact, QString* refusal) {
    return storeContact(oldReference, contact, refusal, nullptr) == SaveOutcome::Stored;
}

KVDirectory::SaveOutcome KVDirectory::storeContact(qint32 oldReference, DirectoryContact& contact,
                                                   QString* refusal, qint64* storedChangeCount) {
    const auto refused = [refusal](const QString& why) {
        refuse(refusal, why);
        return SaveOutcome::Refused;
    };
    if (!IsOpen()) {
        return refused(QStringLiteral("The directory is not open"));
    }
    if (!currentUser_) {
        return refused(QStringLiteral("Nobody is logged in to the directory"));
    }
    ContactStore store(*storage_);
    DirectoryTransaction tx(*storage_);
    if (!tx.Active()) {
        return refused(QStringLiteral("The directory could not be changed just now"));
    }
    std::optional<ContactRecord> stored;
    if (oldReference > 0) {
        stored = store.Load(oldReference, true);
        if (!stored) {
            refuse(refusal, QStringLiteral("That contact is no longer in the directory"));
            return SaveOutcome::Gone;
        }
        // Written over silently, another computer's save would be lost.
        if (stored->changeCount != contact.ChangeCount()) {
            if (storedChangeCount != nullptr) {
                *storedChangeCount = stored->changeCount;
            }
            refuse(refusal, QStringLiteral("The contact was changed on another computer since it "
                                           "was read"));
            return SaveOutcome::ChangedElsewhere;
        }
    }
    ContactRecord record = contact.Record();
    record.reference = oldReference > 0 ? oldReference : 0;
    record.loginName = record.loginName.trimmed();
    if (!stored) {
        record.full = true;
        record.notesRead = true;
    }
    if (const QString why =
            saveRightRefusal(stored, record, currentDirectoryRights(), currentUser_->Reference());
        !why.isEmpty()) {
        return refused(why);
    }
    // Nobody could ever manage the users again.
    if (stored && managesUsers(*stored) && !managesUsers(record) &&
        store.CountUserManagers(record.reference) == 0) {
        return refused(kLastManager);
    }
    if (const QString why = loginNameRefusal(store, record); !why.isEmpty()) {
        return refused(why);
    }
    const bool written = stored ? store.Update(record) : store.Insert(record);
    if (!written || !tx.Commit()) {
        return refused(QStringLiteral("The contact could not be saved in the directory"));
    }
    takeSaved(contact, record, stored, store);
    return SaveOutcome::Stored;
}

void KVDirectory::takeSaved(DirectoryContact& contact, ContactRecord record,
                            const std::optional<ContactRecord>& stored, ContactStore& store) {
    if (stored && !record.full) {
        record.address = stored->address; // kept in the file, so the object is whole now
        record.full = true;
    }
    if (stored && !record.notesRead) {
        record.notes = stored->notes;
        record.notesRead = true;
    }
    record.passwordSet = stored ? stored->passwordSet : false;
    contact.SetRecord(record);
    contact.SetModified(false);
    if (currentUser_ && currentUser_->Reference() == record.reference &&
        currentUser_.get() != &contact) {
        if (const auto fresh = store.Load(record.reference, true)) {
            currentUser_->SetRecord(*fresh);
        }
    }
}

bool KVDirectory::RemoveContact(qint32 reference, QString* refusal) {
    if (!IsOpen() || !currentUser_) {
        return refuse(refusal, QStringLiteral("Nobody is logged in to the directory"));
    }
    if (reference == currentUser_->Reference()) {
        return refuse(refusal, QStringLiteral("You cannot remove the user who is logged in"));
    }
    ContactStore store(*storage_);
    DirectoryTransaction tx(*storage_);
    if (!tx.Active()) {
        return refuse(refusal, QStringLiteral("The directory could not be changed just now"));
    }
    const auto stored = store.Load(reference, false);
    if (!stored) {
        return refuse(refusal, QStringLiteral("That contact is no longer in the directory"));
    }
    const ::DirectoryRights rights = currentDirectoryRights();
    if (!stored->loginName.isEmpty() && !rights.CanSaveUsers()) {
        return refuse(refusal, kNoUsersRight);
    }
    if (stored->loginName.isEmpty() &&
        !(stored->ownerReference == currentUser_->Reference() ? rights.CanSavePersonalContacts()
                                                              : rights.CanSaveContacts())) {
        return refuse(refusal, kNoContactsRight);
    }
    if (managesUsers(*stored) && store.CountUserManagers(reference) == 0) {
        return refuse(refusal, kLastManager);
    }
    if (!store.Remove(reference) || !tx.Commit()) {
        return refuse(refusal,
                      QStringLiteral("The contact could not be removed from the directory"));
    }
    return true;
}

KVDirectory::ContactPtr KVDirectory::CreateFirstUser(const QString& name, const QString& loginName,
                                                     const QString& password, QString* refusal) {
    if (!IsOpen()) {
        refuse(refusal, QStringLiteral("The directory is not open"));
        return nullptr;
    }
    if (name.trimmed().isEmpty() || loginName.trimmed().isEmpty()) {
        refuse(refusal, QStringLiteral("Please enter a name and a login name for the first user"));
        return nullptr;
    }
    ContactStore store(*storage_);
    DirectoryTransaction tx(*storage_);
    if (!tx.Active()) {
        refuse(refusal, QStringLiteral("The directory could not be changed just now"));
        return nullptr;
    }
    // Counted inside the transaction: two computers starting at once make one first user.
    if (store.CountUsers() != 0) {
        refuse(refusal, QStringLiteral("The directory already has users: please log in"));
        return nullptr;
    }
    ContactRecord record;
    record.name = name.trimmed();
    record.loginName = loginName.trimmed();
    record.directoryRights = ::DirectoryRights::All;
    record.userRights = ::UserRights::All;
    const StoredPassword hashed = PasswordHash::Make(password);
    if (!store.Insert(record) || (hashed.IsSet() && !store.SetPassword(record.reference, hashed)) ||
        !tx.Commit()) {
        refuse(refusal, QStringLiteral("The first user could not be saved in the directory"));
        return nullptr;
    }
    record.passwordSet = hashed.IsSet();
    PlatformLog(QStringLiteral("Directory: created the first user '%1'").arg(record.loginName));
    return wrap(record);
}

KVDirectory::ContactPtr KVDirectory::Authenticate(const QString& loginName, const QString& password,
                                                  QString* refusal) {
    const QString wrong = QStringLiteral("The login name or the password is not correct");
    if (!IsOpen()) {
        refuse(refusal, QStringLiteral("The directory is not open"));
        return nullptr;
    }
    ContactStore store(*storage_);
    const auto record = store.LoadByLoginName(loginName);
    bool accepted = false;
    if (record) {
        accepted = PasswordHash::Verify(password, store.Password(record->reference));
    } else {
        // The same work as for a known name, so the time taken does not tell which names exist.
        static const StoredPassword decoy = PasswordHash::Make(QStringLiteral("decoy"));
        PasswordHash::Verify(password, decoy);
    }
    if (!accepted) {
        if (refusal) {
            *refusal = wrong;
        }
        PlatformLog(
            QStringLiteral("Directory: a login as '%1' was refused").arg(loginName.trimmed()));
        return nullptr;
    }
    return wrap(*record);
}

bool KVDirectory::SetPassword(qint32 userReference, const QString& password, QString* refusal) {
    if (!IsOpen() || !currentUser_) {
        return refuse(refusal, QStringLiteral("Nobody is logged in to the directory"));
    }
    if (!currentDirectoryRights().CanSaveUsers()) {
        return refuse(refusal, kNoUsersRight);
    }
    ContactStore store(*storage_);
    const StoredPassword hashed = PasswordHash::Make(password); // before the lock: it is slow
    DirectoryTransaction tx(*storage_);
    const auto stored = tx.Active() ? store.Load(userReference, false) : std::nullopt;
    if (!stored || stored->loginName.isEmpty()) {
        return refuse(refusal, QStringLiteral("That user is no longer in the directory"));
    }
    if (!store.SetPassword(userReference, hashed) || !tx.Commit()) {
        return refuse(refusal, QStringLiteral("The password could not be saved in the directory"));
    }
    return true;
}

void KVDirectory::logIn(const ContactPtr& user, bool bySecurityKey) {
    if (currentUser_) {
        Logout();
    }
    currentUser_ = user;
    byKey_ = bySecurityKey;
    PlatformLog(QStringLiteral("Directory: '%1' logged in").arg(user->LoginName()), 10);
    Q_EMIT ContactLogin();
}

void KVDirectory::Login(qint32 /*productCode*/, const QString& productName, QWidget* owner,
                        bool autoLogin, qint32 /*flags*/, bool& cancelled,
                        const QString& loginName) {
    cancelled = true;
    if (!IsOpen()) {
        PlatformLog(QStringLiteral("Directory: nobody can log in, the directory is not open"));
        return;
    }
    if (autoLogin) {
        const QString system = SystemUserName();
        if (ContactPtr user = GetContactByLoginName(system); user && !system.isEmpty()) {
            cancelled = false;
            logIn(user, false);
            return;
        }
    }
    DialogInstance<DirectoryLoginDialog> dialog(*this, productName, owner, loginName);
    if (RunDialog(*dialog.get()) != QDialog::Accepted || !dialog || !dialog->User()) {
        return;
    }
    cancelled = false;
    logIn(dialog->User(), false);
}

void KVDirectory::LoginContact(const ContactPtr& contact, qint32 /*flags*/,
                               const QString& /*productName*/, bool& ok) {
    ok = false;
    if (!IsOpen() || !contact || contact->Reference() <= 0) {
        return;
    }
    ContactStore store(*storage_);
    const auto record = store.Load(contact->Reference(), true);
    if (!record || record->loginName.isEmpty()) {
        PlatformLog(
            QStringLiteral("Directory: contact %1 is not a user").arg(contact->Reference()));
        return;
    }
    const bool systemUser = record->loginName.compare(SystemUserName(), Qt::CaseInsensitive) == 0;
    if (store.Password(record->reference).IsSet() && !systemUser) {
        PlatformLog(QStringLiteral("Directory: '%1' has a password, so the login dialog is needed")
                        .arg(record->loginName));
        return;
    }
    ok = true;
    logIn(wrap(*record), false);
}

void KVDirectory::Logout() {
    if (!currentUser_) {
        return;
    }
    PlatformLog(QStringLiteral("Directory: '%1' logged out").arg(currentUser_->LoginName()), 10);
    currentUser_.reset();
    byKey_ = false;
    Q_EMIT ContactLogout();
}

void KVDirectory::RaiseSecurityKeyInserted(const QString& driveLetter, const QString& loginName) {
    bool attempt = true;
    Q_EMIT SecurityKeyInserted(driveLetter, loginName, &attempt);
    if (!attempt) {
        return;
    }
    ContactPtr user = GetContactByLoginName(loginName);
    if (!user) {
        PlatformLog(
            QStringLiteral("Directory: the security key's user '%1' is unknown").arg(loginName));
        return;
    }
    logIn(user, true);
}

void KVDirectory::RaiseSecurityKeyRemoved(const QString& driveLetter) {
    if (!LoggedInBySecurityKey()) {
        return;
    }
    bool attempt = true;
    Q_EMIT SecurityKeyRemoved(driveLetter, &attempt);
    if (attempt) {
        Logout();
    } else {
        // The user stays, but the key is gone: from now on the user logs out as one who
        // logged in with a password would.
        byKey_ = false;
    }
}

KVDirectory::WebsitePtr KVDirectory::GetWebsite(qint32 reference) {
    if (!IsOpen() || reference <= 0) {
        return nullptr;
    }
    QSqlQuery q = storage_->Prepare(
        QStringLiteral("SELECT reference, address, title FROM websites WHERE reference = ?"));
    q.addBindValue(reference);
    if (!DirectoryStorage::Exec(q, "reading a website") || !q.next()) {
        return nullptr;
    }
    auto site = std::make_shared<DirectoryWebsite>();
    site->SetReference(q.value(0).toInt());
    site->SetAddress(q.value(1).toString());
    site->SetTitle(q.value(2).toString());
    return site;
}

void KVDirectory::AddWebsite(WebsitePtr& website, bool& ok) {
    ok = false;
    if (!IsOpen() || !website || website->Address().trimmed().isEmpty()) {
        return;
    }
    DirectoryTransaction tx(*storage_);
    if (!tx.Active()) {
        return;
    }
    qint32 reference = 0;
    {
        QSqlQuery find = storage_->Prepare(QStringLiteral(
            "SELECT reference FROM websites WHERE address = ? ORDER BY reference LIMIT 1"));
        find.addBindValue(website->Address().trimmed());
        if (!DirectoryStorage::Exec(find, "looking up a website")) {
            return;
        }
        if (find.next()) {
            reference = find.value(0).toInt();
        }
    }
    if (reference == 0) {
        QSqlQuery add = storage_->Prepare(
            QStringLiteral("INSERT INTO websites (address, title) VALUES (?, ?)"));
        add.addBindValue(website->Address().trimmed());
        add.addBindValue(ContactText::NotNull(website->Title()));
        if (!DirectoryStorage::Exec(add, "adding a website")) {
            return;
        }
        reference = add.lastInsertId().toInt();
    }
    if (reference <= 0 || !tx.Commit()) {
        return;
    }
    website = GetWebsite(reference);
    ok = website != nullptr;
}

QList<KVDirectory::WebsitePtr> KVDirectory::ListWebsites() {
    QList<WebsitePtr> sites;
    if (!IsOpen()) {
        return sites;
    }
    QSqlQuery q =
        storage_->Prepare(QStringLiteral("SELECT reference, address, title FROM websites"));
    if (!DirectoryStorage::Exec(q, "listing the websites")) {
        return sites;
    }
    while (q.next()) {
        auto site = std::make_shared<DirectoryWebsite>();
        site->SetReference(q.value(0).toInt());
        site->SetAddress(q.value(1).toString());
        site->SetTitle(q.value(2).toString());
        sites.append(site);
    }
    std::stable_sort(sites.begin(), sites.end(), [](const WebsitePtr& a, const WebsitePtr& b) {
        const int byCaption = a->Caption().compare(b->Caption(), Qt::CaseInsensitive);
        return byCaption != 0 ? byCaption < 0 : a->Reference() < b->Reference();
    });
    return sites;
}

void KVDirectory::ShowSettings(QWidget* owner) {
    if (!IsOpen()) {
        MsgBox(QStringLiteral("The directory is not open, so its settings cannot be changed"),
               MsgIcon::Exclamation, MsgButtons::OK, 0, owner);
        return;
    }
    if (!currentUser_ || !currentDirectoryRights().CanChangeDirectorySettings()) {
        MsgBox(QStringLiteral("You have not been given the correct security permissions to change "
                              "the Directory Settings"),
               MsgIcon::Exclamation, MsgButtons::OK, 0, owner);
        return;
    }
    DialogInstance<DirectorySettingsDialog> dialog(*this, owner);
    RunDialog(*dialog.get());
}
