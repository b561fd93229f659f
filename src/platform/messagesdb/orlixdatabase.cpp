#include "platform/messagesdb/orlixdatabase.h"

#include "platform/messagesdb/columnsmend.h"
#include "platform/messagesdb/defaulttemplates.h"
#include "platform/messagesdb/labelsheetsettings.h"
#include "platform/messagesdb/messagefilter.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/messagetable.h"
#include "platform/messagesdb/orlixcategorytree.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/messagesdb/settingstable.h"
#include "platform/messagesdb/storeddates.h"
#include "platform/system/movewithoutreplacing.h"
#include "platform/system/platformlog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace {
const QString kTemplatesSetting = QStringLiteral("TemplatesFolder");
} // namespace

OrlixDatabase::OrlixDatabase(QObject* parent)
    : QObject(parent), labelSheet_(std::make_unique<::LabelSheetSettings>()) {}

OrlixDatabase::~OrlixDatabase() {
    bool ok = false;
    CloseDatabase(ok);
}

void OrlixDatabase::SetCurrentUserProvider(std::function<qint32()> provider) {
    currentUser_ = std::move(provider);
}

void OrlixDatabase::SetBusyTimeout(int ms) {
    busyTimeoutMs_ = ms;
}

void OrlixDatabase::SetChangeWatch(int pollMs, int minGapMs) {
    pollMs_ = pollMs;
    minGapMs_ = minGapMs;
    if (storage_ && storage_->IsOpen()) {
        storage_->StartWatching(pollMs_, minGapMs_);
    }
}

bool OrlixDatabase::CheckForChanges() {
    return storage_ && storage_->IsOpen() && storage_->CheckForChanges();
}

bool OrlixDatabase::IsOpen() const {
    return storage_ && storage_->IsOpen();
}

bool OrlixDatabase::ready(const char* what) const {
    if (IsOpen()) {
        return true;
    }
    PlatformLog(
        QStringLiteral("Messages database: %1 with no database open").arg(QLatin1String(what)));
    return false;
}

qint32 OrlixDatabase::OpenDatabase(const QString& path, const QString& /*options*/) {
    bool closed = false;
    CloseDatabase(closed);
    const auto fail = [&](OpenCode code, const QString& why) {
        PlatformLog(
            QStringLiteral("Could not open the messages database in '%1': %2").arg(path, why));
        storage_.reset();
        tree_.reset();
        databasePath_.clear();
        return static_cast<qint32>(code);
    };
    if (path.trimmed().isEmpty()) {
        return fail(FolderMissing, QStringLiteral("no folder is set"));
    }
    const QFileInfo folder(path);
    if (!folder.isDir()) {
        return fail(FolderMissing, QStringLiteral("the folder does not exist"));
    }

    const QString file = QDir(path).filePath(QLatin1String(MessagesStorage::kFileName));
    QString why;
    bool created = false;
    if (!QFileInfo(file).exists() && !QFileInfo(file).isSymLink()) {
        switch (makeDatabaseFile(file, &why)) {
        case Making::Made:
            created = true;
            break;
        case Making::MadeElsewhere:
            break;
        case Making::NotWritable:
            return fail(FolderNotWritable, why);
        case Making::Failed:
            return fail(OpenFailed, why);
        }
    }

    // Only a whole file ever takes the name, so the open never creates: a file without a
    // schema (emptied, or another program's) is damaged and stays as it is.
    storage_ = std::make_shared<MessagesStorage>();
    storage_->SetBusyTimeout(busyTimeoutMs_);
    storage_->SetSynchronous(synchronous_);
    const MessagesOpenResult result = storage_->Open(file, false, &why);
    switch (result) {
    case MessagesOpenResult::Opened:
    case MessagesOpenResult::Created:
        break;
    case MessagesOpenResult::Missing:
        return fail(FolderMissing, why);
    case MessagesOpenResult::NotWritable:
        return fail(FolderNotWritable, why);
    case MessagesOpenResult::Locked:
        return fail(DatabaseLocked, why);
    case MessagesOpenResult::Corrupt:
        return fail(DatabaseCorrupt, why);
    case MessagesOpenResult::TooNew:
        return fail(DatabaseTooNew, why);
    case MessagesOpenResult::Failed:
        return fail(OpenFailed, why);
    }
    databasePath_ = path;

    if (created) {
        PlatformLog(QStringLiteral("Created a new messages database in '%1'").arg(path));
    } else {
        // A file made by an earlier version could be left with its schema but not its
        // templates; it is completed once, by whichever computer opens it first.
        bool ok = false;
        if (!SettingsTable::ReadAll(*storage_, ok).contains(kTemplatesSetting) && ok) {
            bool seeded = false;
            if (!seed(*storage_, path, &seeded, &why)) {
                return fail(OpenFailed, why);
            }
            if (seeded) {
                PlatformLog(
                    QStringLiteral("Completed the messages database in '%1' with its templates")
                        .arg(path));
            }
        }
    }
    // Rows an earlier version gave wrong columns are read again, a few hundred at a time; what
    // a lock stops now is done at a later open.
    MendDerivedColumns(storage_);
    if (!loadSettings()) {
        storage_->Watch().Again(MessagesStorage::StationKind);
    }
    if (!loadCategoryTree()) {
        return fail(OpenFailed, QStringLiteral("the folder tree could not be read"));
    }
    connect(&storage_->Watch(), &ChangeWatch::ChangedElsewhere, this,
            [this](quint32 kinds) { changed(kinds, true); });
    connect(&storage_->Watch(), &ChangeWatch::ChangedHere, this,
            [this](quint32 kinds) { changed(kinds, false); });
    storage_->StartWatching(pollMs_, minGapMs_);
    return Opened;
}

QString OrlixDatabase::OpenProblem(qint32 code) {
    switch (code) {
    case FolderMissing:
        return QStringLiteral("the folder does not exist.");
    case FolderNotWritable:
        return QStringLiteral("the folder or its database file cannot be written.");
    case DatabaseLocked:
        return QStringLiteral("another computer kept it locked for longer than the program "
                              "waits.");
    case DatabaseCorrupt:
        return QStringLiteral("its file is damaged or is not a messages database.");
    case DatabaseTooNew:
        return QStringLiteral("it was made by a newer version of the program.");
    default:
        return QStringLiteral("it could not be read or set up; the debug log says why.");
    }
}

OrlixDatabase::Making OrlixDatabase::makeDatabaseFile(const QString& file, QString* error) const {
    bool notWritable = false;
    const MakeResult made = MakeInPlace(file, [&](const QString& draft) {
        MessagesStorage maker;
        maker.SetBusyTimeout(busyTimeoutMs_);
        maker.SetSynchronous(synchronous_);
        const MessagesOpenResult opened = maker.Open(draft, true, error);
        notWritable = opened == MessagesOpenResult::NotWritable;
        bool seeded = false;
        return opened == MessagesOpenResult::Created &&
               seed(maker, QFileInfo(file).absolutePath(), &seeded, error);
    });
    switch (made) {
    case MakeResult::Made:
        return Making::Made;
    case MakeResult::MadeElsewhere:
        return Making::MadeElsewhere;
    case MakeResult::NotNamed:
        *error = QStringLiteral("the new database could not be given the name '%1'").arg(file);
        break;
    case MakeResult::NotMade:
        break;
    }
    return notWritable ? Making::NotWritable : Making::Failed;
}

bool OrlixDatabase::seed(MessagesStorage& storage, const QString& folder, bool* seeded,
                         QString* error) {
    *seeded = false;
    const QString templates = QDir(folder).filePath(QLatin1String(kTemplatesFolderName));
    if (!DefaultTemplates::Write(templates, error)) {
        return false;
    }
    MessagesTransaction tx(storage);
    if (!tx.Active()) {
        *error = QStringLiteral("the new database could not be written");
        return false;
    }
    // Asked again inside the transaction: another computer may have completed it meanwhile.
    bool ok = false;
    const QHash<QString, QString> settings = SettingsTable::ReadAll(storage, ok);
    if (!ok) {
        *error = QStringLiteral("the settings could not be read");
        return false;
    }
    if (settings.contains(kTemplatesSetting)) {
        return true;
    }
    if (!SettingsTable::Set(storage, kTemplatesSetting, QLatin1String(kTemplatesFolderName))) {
        *error = QStringLiteral("the settings could not be written");
        return false;
    }
    int position = 0;
    for (const DefaultTemplates::Entry& entry : DefaultTemplates::Entries()) {
        QSqlQuery q = storage.Prepare(QStringLiteral(
            "INSERT INTO templates (category, name, file_name, position) VALUES (?, ?, ?, ?)"));
        q.addBindValue(entry.Category);
        q.addBindValue(entry.Name);
        q.addBindValue(entry.FileName);
        q.addBindValue(position++);
        if (!MessagesStorage::Exec(q, "registering a template")) {
            *error = QStringLiteral("the templates could not be registered");
            return false;
        }
    }
    if (!tx.Commit()) {
        *error = QStringLiteral("the new database could not be saved");
        return false;
    }
    *seeded = true;
    return true;
}

bool OrlixDatabase::loadCategoryTree() {
    QSqlQuery q =
        storage_->Prepare(QStringLiteral("SELECT reference, parent, name, position FROM folders"));
    if (!MessagesStorage::Exec(q, "reading the folder tree")) {
        return false;
    }
    QVector<OrlixCategoryTree::Folder> folders;
    while (q.next()) {
        folders.push_back(
            {q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString(), q.value(3).toInt()});
    }
    tree_ = std::make_shared<OrlixCategoryTree>(std::move(folders));
    return true;
}

void OrlixDatabase::CloseDatabase(bool& ok) {
    ok = true;
    if (storage_) {
        disconnect(storage_.get(), nullptr, this, nullptr);
        storage_->Close();
    }
    // Messages still held by windows find the storage gone and read nothing more.
    storage_.reset();
    tree_.reset();
    databasePath_.clear();
    pendingElsewhere_ = false;
    station_ = StationDetails();
}

QString OrlixDatabase::DatabaseFile() const {
    return IsOpen() ? storage_->FilePath() : QString();
}

bool OrlixDatabase::SnapshotDatabase(const QString& targetFile, QString* error,
                                     const SqliteBackupProgress& progress) {
    if (!ready("a snapshot was asked for")) {
        if (error != nullptr) {
            *error = QStringLiteral("no database is open");
        }
        return false;
    }
    QString why;
    if (!storage_->Snapshot(targetFile, &why, progress)) {
        PlatformLog(
            QStringLiteral("Messages database: the snapshot '%1' failed: %2").arg(targetFile, why));
        if (error != nullptr) {
            *error = why;
        }
        return false;
    }
    return true;
}

QString OrlixDatabase::TemplatesPath() const {
    if (!IsOpen()) {
        return {};
    }
    QString folder = templatesFolder_;
    if (folder.trimmed().isEmpty()) {
        folder = QLatin1String(kTemplatesFolderName);
    }
    QString path = QDir::cleanPath(QDir(databasePath_).absoluteFilePath(folder));
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) {
        path.chop(1);
    }
    return path;
}

std::shared_ptr<OrlixMessage> OrlixDatabase::GetMessage(qint32 reference) {
    if (reference <= 0 || !ready("a message was asked for")) {
        return nullptr;
    }
    return MessageTable::Load(storage_, reference, tree_);
}

std::unique_ptr<OrlixMessageList> OrlixDatabase::GetMessages(const QString& filter, int limit) {
    if (!ready("messages were asked for")) {
        return nullptr;
    }
    const MessageFilter::Result parsed = MessageFilter::Parse(filter);
    if (!parsed.Ok) {
        PlatformLog(QStringLiteral("Messages database: the filter \"%1\" was refused: %2")
                        .arg(filter.left(200), parsed.Error));
        return nullptr;
    }
    std::vector<std::shared_ptr<OrlixMessage>> messages;
    if (!MessageTable::Query(storage_, parsed.Where, parsed.Values, tree_, messages, limit)) {
        return nullptr;
    }
    return std::make_unique<OrlixMessageList>(std::move(messages));
}

void OrlixDatabase::StoreMessage(OrlixMessage& message, bool& ok) {
    ok = false;
    if (!ready("a message was stored")) {
        return;
    }
    if (!tree_->Exists(message.Folder()) || message.Folder() == OrlixCategoryTree::kTopLevel) {
        PlatformLog(QStringLiteral("Messages database: message %1 was not stored: there is no "
                                   "folder %2")
                        .arg(message.Reference())
                        .arg(message.Folder()));
        return;
    }
    MessagesTransaction tx(*storage_);
    if (!tx.Active()) {
        return;
    }
    const qint32 before = message.Reference();
    if (before <= 0) {
        if (!MessageTable::Insert(storage_, message)) {
            return;
        }
    } else if (!MessageTable::Update(storage_, message)) {
        PlatformLog(
            QStringLiteral("Messages database: message %1 is no longer stored").arg(before));
        return;
    }
    if (!tx.Commit()) {
        if (before <= 0) {
            message.SetReference(0);
        }
        return;
    }
    message.setCategoryTree(tree_);
    ok = true;
    message.SetEdited(false);
    emitChanged(message.Reference());
}

void OrlixDatabase::DeleteMessage(qint32 reference, bool /*unused*/, bool& ok) {
    ok = false;
    if (reference <= 0 || !ready("a message was deleted")) {
        return;
    }
    MessagesTransaction tx(*storage_);
    bool found = false;
    if (!tx.Active() || !MessageTable::Delete(storage_, reference, found) || !found) {
        return;
    }
    if (tx.Commit()) {
        ok = true;
        emitDeleted(reference);
    }
}

bool OrlixDatabase::readyToFile(qint32 reference, qint32 folder, FilingAction action) const {
    const bool copy = action == FilingAction::Copy;
    if (reference <= 0 || !ready(copy ? "a message was copied" : "a message was moved")) {
        return false;
    }
    if (!tree_->Exists(folder) || folder == OrlixCategoryTree::kTopLevel) {
        PlatformLog(QStringLiteral("Messages database: there is no folder %1 to %2 to")
                        .arg(folder)
                        .arg(copy ? QLatin1String("copy") : QLatin1String("move")));
        return false;
    }
    return true;
}

void OrlixDatabase::MoveMessage(qint32 reference, qint32 folder, bool& ok) {
    ok = false;
    if (!readyToFile(reference, folder, FilingAction::Move)) {
        return;
    }
    MessagesTransaction tx(*storage_);
    bool found = false;
    if (!tx.Active() || !MessageTable::Move(storage_, reference, folder, found) || !found) {
        return;
    }
    if (tx.Commit()) {
        ok = true;
        emitChanged(reference);
    }
}

void OrlixDatabase::CopyMessage(qint32 reference, qint32 folder, bool& ok) {
    ok = false;
    if (!readyToFile(reference, folder, FilingAction::Copy)) {
        return;
    }
    MessagesTransaction tx(*storage_);
    if (!tx.Active()) {
        return;
    }
    const qint32 copy = MessageTable::Copy(storage_, reference, folder);
    if (copy > 0 && tx.Commit()) {
        ok = true;
        emitChanged(copy);
    }
}

std::unique_ptr<OrlixMessageList> OrlixDatabase::GetDueMessages(const QDateTime& now) {
    if (!ready("due messages were asked for")) {
        return nullptr;
    }
    std::vector<std::shared_ptr<OrlixMessage>> rows;
    const QVariantList values{
        OrlixMessage::kOutboxFolder, static_cast<int>(OrlixMessage::FlagToBeSent),
        static_cast<int>(OrlixMessage::FlagToBeSent), StoredDates::ToStored(now)};
    if (!MessageTable::Query(storage_,
                             QStringLiteral("folder = ? AND (flags & ?) = ? AND (send_after_utc "
                                            "IS NULL OR send_after_utc <= ?)"),
                             values, tree_, rows)) {
        return nullptr;
    }
    std::vector<std::shared_ptr<OrlixMessage>> messages;
    // Oldest first: the order they should go out in.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        messages.push_back(std::move(*it));
    }
    return std::make_unique<OrlixMessageList>(std::move(messages));
}

bool OrlixDatabase::MarkMessageSent(qint32 reference, const QDateTime& sentAt) {
    auto message = GetMessage(reference);
    if (!message) {
        return false;
    }
    message->SetSentDate(sentAt);
    message->SetFlags(message->Flags() & ~static_cast<qint32>(OrlixMessage::FlagToBeSent));
    message->SetFolder(kSentFolder);
    bool ok = false;
    StoreMessage(*message, ok);
    return ok;
}

void OrlixDatabase::SetEventsEnabled(bool enabled) {
    eventsEnabled_ = enabled;
    if (enabled && pendingElsewhere_) {
        pendingElsewhere_ = false;
        Q_EMIT MessageChanged(0, true);
    }
}

void OrlixDatabase::AnnounceMessageChanged(const OrlixMessage* message, bool flag) {
    Q_EMIT MessageChanged(message != nullptr ? message->Reference() : 0, flag);
}

void OrlixDatabase::AnnounceMessageDeleted(const OrlixMessage* message) {
    Q_EMIT MessageDeleted(message != nullptr ? message->Reference() : 0);
}

void OrlixDatabase::changed(quint32 kinds, bool elsewhere) {
    ChangeWatch& watch = storage_->Watch();
    if ((kinds & MessagesStorage::StationKind) != 0 && !loadSettings()) {
        watch.Again(MessagesStorage::StationKind);
        kinds &= ~quint32(MessagesStorage::StationKind);
    }
    if ((kinds & MessagesStorage::FoldersKind) != 0 && !loadCategoryTree()) {
        PlatformLog(QStringLiteral("Messages database: the folder tree could not be read again"));
        watch.Again(MessagesStorage::FoldersKind);
        kinds &= ~quint32(MessagesStorage::FoldersKind);
    }
    // Own messages are announced with their Reference by the call that stored them.
    if ((kinds & MessagesStorage::MessagesKind) != 0 && elsewhere) {
        if (eventsEnabled_) {
            Q_EMIT MessageChanged(0, true);
        } else {
            pendingElsewhere_ = true;
        }
    }
    if ((kinds & MessagesStorage::FoldersKind) != 0) {
        Q_EMIT FoldersChanged();
    }
    if ((kinds & MessagesStorage::PrizesKind) != 0) {
        Q_EMIT PrizesChanged();
    }
    if ((kinds & MessagesStorage::StationKind) != 0) {
        Q_EMIT StationChanged();
    }
    if ((kinds & MessagesStorage::TemplatesKind) != 0) {
        Q_EMIT TemplatesChanged();
    }
}

void OrlixDatabase::emitChanged(qint32 reference) {
    if (eventsEnabled_) {
        Q_EMIT MessageChanged(reference, true);
    }
}

void OrlixDatabase::emitDeleted(qint32 reference) {
    if (eventsEnabled_) {
        Q_EMIT MessageDeleted(reference);
    }
}
