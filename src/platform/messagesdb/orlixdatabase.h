#pragma once

#include "platform/messagesdb/orlixcategorytree.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include "platform/messagesdb/prizelist.h"
#include "platform/system/sqlitebackup.h"

#include <functional>
#include <memory>

class LabelSheetSettings;
class MessagesStorage;
class OrlixMessage;
class OrlixMessageList;
class OrlixPrize;
class OrlixPrizeWinner;
class QTreeWidget;
class TemplateDraft;
class QWidget;

// Why StorePrizeWinner did not store a winner.
enum class PrizeWinnerRefusal { None, FullyAllocated, PrizeMissing, Failed };

// The station's own details, shown by the template tags and used as the SMS sender.
struct StationDetails {
    QString Name;
    QString Address; // one line per address line
    QString PhoneNumber;
    QString SmsPhoneNumber;
    QString CompanyNumber;
    QString VatNumber;
};

// One line of a contact's history list: its key (a letter and a Reference) and the texts of
// its columns in order.
struct ContactListLine {
    QString Key;
    QStringList Texts;
};

// The messages database: messages in a folder tree with the Outbox, prizes and their winners,
// station details, print templates and the label-sheet settings, in one SQLite file in the
// folder given to OpenDatabase. One object is open at a time; the main window owns it.
//
// Every change is one transaction, announced by kind: messages changed here raise
// MessageChanged or MessageDeleted with their Reference (unless EventsEnabled is false);
// folders, prizes and winners, the station's settings and the templates raise their own
// signal once per commit, whatever road stored them. Changes made by another computer or the
// delivering program are noticed within the watch's poll and announced the same way, messages
// as MessageChanged(0, true), at most once every gap of the watch.
class OrlixDatabase : public QObject {
    Q_OBJECT
public:
    // The results of OpenDatabase.
    enum OpenCode {
        Opened = 0,
        FolderMissing = 1,
        FolderNotWritable = 2,
        DatabaseLocked = 3,
        DatabaseCorrupt = 4,
        DatabaseTooNew = 5,
        OpenFailed = 6,
    };

    explicit OrlixDatabase(QObject* parent = nullptr);
    ~OrlixDatabase() override;

    // The logged-in user's directory Reference (0 when nobody is logged in): the default
    // awarder of new winners, and whose personal messages contact lists show.
    void SetCurrentUserProvider(std::function<qint32()> provider);
    qint32 CurrentUserReference() const { return currentUser_ ? currentUser_() : 0; }
    // Set before OpenDatabase: how long to wait for another computer's lock, and how the
    // changes of other connections are watched (pollMs 0: only by CheckForChanges).
    void SetBusyTimeout(int ms);
    void SetChangeWatch(int pollMs, int minGapMs);
    // Looks now for changes made elsewhere, as the watch does every poll; false when the file
    // could not be read (the change is then found by a later look).
    bool CheckForChanges();
    // "FULL" (the default: every stored change survives a power cut) or "NORMAL".
    void SetSynchronous(const QString& mode) { synchronous_ = mode; }

    // Opens the database in the folder, creating a new one when the folder holds none.
    // options is unused ("").
    qint32 OpenDatabase(const QString& path, const QString& options = QString());
    // Why OpenDatabase failed, in words for the user, ending with a full stop; the log line
    // of the failure holds the details.
    static QString OpenProblem(qint32 code);
    void CloseDatabase(bool& ok);
    bool IsOpen() const;

    // Exactly the path given to OpenDatabase; "" when none is open.
    QString DatabasePath() const { return databasePath_; }
    // The database file itself.
    QString DatabaseFile() const;
    // A consistent copy of the whole database written to a new file; why not, when asked.
    // Other computers go on writing meanwhile; progress is told after every step and may stop it.
    bool SnapshotDatabase(const QString& targetFile, QString* error = nullptr,
                          const SqliteBackupProgress& progress = {});
    // The folder of the templates and their graphics, without a trailing separator; "" when
    // no database is open.
    QString TemplatesPath() const;

    std::shared_ptr<const OrlixCategoryTree> CategoryTree() const { return tree_; }

    // Messages.
    std::shared_ptr<OrlixMessage> GetMessage(qint32 reference);
    // Null when the filter is malformed (with a log line) or the database cannot be read.
    // limit > 0: only the newest limit messages of the filter.
    std::unique_ptr<OrlixMessageList> GetMessages(const QString& filter, int limit = 0);
    void StoreMessage(OrlixMessage& message, bool& ok);
    void DeleteMessage(qint32 reference, bool unused, bool& ok);
    void MoveMessage(qint32 reference, qint32 folder, bool& ok);
    void CopyMessage(qint32 reference, qint32 folder, bool& ok);
    // The Outbox messages that are due: to be sent, and their send-after time passed.
    std::unique_ptr<OrlixMessageList> GetDueMessages(const QDateTime& now);
    // What the delivering program does once a message went out: the sent date is set, the
    // to-be-sent bit cleared and the message filed in Sent Items.
    bool MarkMessageSent(qint32 reference, const QDateTime& sentAt);

    bool EventsEnabled() const { return eventsEnabled_; }
    void SetEventsEnabled(bool enabled);
    void AnnounceMessageChanged(const OrlixMessage* message, bool flag = true);
    void AnnounceMessageDeleted(const OrlixMessage* message);

    // Contact history: the messages from or to any of the addresses or numbers ("|"-joined),
    // keys "m" & Reference, texts subject, date, folder; other users' personal messages are
    // left out. The prizes the contact supplied ("p" & prize) and won ("w" & winner), texts
    // title and details.
    QVector<ContactListLine> ContactMessageLines(const QString& emails, const QString& numbers);
    QVector<ContactListLine> ContactPrizeLines(qint32 contact);
    // The same lines added to a list with those columns; the key is the item's Qt::UserRole
    // data of column 0.
    void FillContactMessages(QTreeWidget* list, const QString& emails, const QString& numbers);
    void FillContactPrizes(QTreeWidget* list, qint32 contact);

    // Prizes and winners. withWinners loads the winners as well.
    std::shared_ptr<OrlixPrize> GetPrize(qint32 reference, bool withWinners = true);
    std::shared_ptr<OrlixPrizeWinner> GetPrizeWinner(qint32 reference);
    void ReloadPrize(OrlixPrize& prize, bool& ok);
    // A new unsaved winner of the prize, awarded by the current user now.
    std::shared_ptr<OrlixPrizeWinner> NewPrizeWinner(const OrlixPrize& prize);
    std::shared_ptr<OrlixPrize> NewPrize();
    // Every prize with its count of winners, in the prize list's order; empty when the
    // database cannot be read.
    QVector<PrizeListLine> ListPrizes();
    // The number supplied is never stored below the winners already stored: it is raised to
    // their count, and the object takes the stored number.
    void StorePrize(OrlixPrize& prize, bool& ok);
    // Removes the prize and who it is allocated to.
    void DeletePrize(qint32 reference, bool& ok);
    // A new winner beyond the stored number supplied is refused inside the storing
    // transaction, so two studios allocating the last one at once cannot both have it.
    void StorePrizeWinner(OrlixPrizeWinner& winner, bool& ok, PrizeWinnerRefusal* why = nullptr);
    void DeletePrizeWinner(qint32 reference, bool& ok);
    qint32 CountPrizesWon(qint32 contact);
    // Hour patterns kept for re-use under a name: the seven day texts, Monday first, joined by
    // ".". StoreHourRestrictions asks for the name ("Save Hours"); Cancel or a blank name keeps
    // nothing, a name already kept (case ignored) is replaced only when the user says so.
    void StoreHourRestrictions(const QString& pattern, QWidget* owner, bool& ok);
    // The modal "Choose Hours": the pattern of the name chosen, "" when none was.
    QString ChooseHourRestrictions(QWidget* owner);
    // The patterns by the order they were first kept.
    QStringList HourPatterns();
    // The kept names, by the order they were first kept.
    QStringList HourPatternNames();
    // "" when no pattern is kept under the name (case ignored).
    QString HourPattern(const QString& name);
    // Keeps the pattern under the name, replacing what a name equal but for case holds.
    bool KeepHourPattern(const QString& name, const QString& pattern);
    bool DeleteHourPattern(const QString& name);

    // Station details, read when the database opens and again when they change; a read that
    // fails keeps what was read before.
    QString StationName() const;
    QString StationAddress() const;
    QString StationAddressString(const QString& separator) const;
    QString StationPhoneNumber() const;
    QString StationSMSPhoneNumber() const;
    QString StationCompanyNumber() const;
    QString StationVATNumber() const;
    void SetStationDetails(const StationDetails& details, bool& ok);

    // The database's settings dialog (station, folders, templates), modal over owner; nothing
    // while no database is open.
    void ShowDatabaseSettings(QWidget* owner);
    // How many messages the folders hold together; -1 when they cannot be counted.
    qint64 CountFolderMessages(const QVector<qint32>& folders);
    // The station details (trimmed) and the whole folder tree in one transaction, announced
    // as MessageChanged(0) here and to other connections. Folders with a negative reference
    // are new; stored folders left out are removed, unless they hold messages by now. With
    // templates, the templates of its categories become its list. False with the reason for
    // the user when nothing was stored.
    bool StoreDatabaseSettings(const StationDetails& station,
                               const QVector<OrlixCategoryTree::Folder>& folders, QString* problem,
                               const TemplateDraft* templates = nullptr);

    // Templates by category ("PrintMessage", "PrintPrizeWinners"), in the chooser's order.
    QStringList GetTemplateList(const QString& category);
    // "" when there is no such template.
    QString GetTemplatePath(const QString& category, const QString& name);
    // Registers a file of the templates folder (a bare file name) under a category.
    void AddTemplate(const QString& category, const QString& name, const QString& fileName,
                     bool& ok);
    void RemoveTemplate(const QString& category, const QString& name, bool& ok);
    // A folder relative to the database folder, or absolute.
    void SetTemplatesFolder(const QString& folder, bool& ok);

    ::LabelSheetSettings& LabelSheetSettings();
    void StoreLabelSheetSettings(bool& ok);

    static constexpr qint32 kInboxFolder = 3;
    static constexpr qint32 kSentFolder = 4;
    static constexpr const char* kTemplatesFolderName = "Templates";

Q_SIGNALS:
    // reference 0: many messages changed.
    void MessageChanged(qint32 reference, bool flag);
    void MessageDeleted(qint32 reference);
    // Folders added, renamed, moved or removed.
    void FoldersChanged();
    // A prize or a winner was stored or deleted.
    void PrizesChanged();
    // The station's details, the templates folder or the label sheet; read again already.
    void StationChanged();
    void TemplatesChanged();

private:
    bool ready(const char* what) const;
    enum class FilingAction { Move, Copy };
    // What a move and a copy check first: a stored message, an open database and a folder a
    // message can be filed in (with a log line when not).
    bool readyToFile(qint32 reference, qint32 folder, FilingAction action) const;
    // False when the settings could not be read: every value stays as it was.
    bool loadSettings();
    std::shared_ptr<OrlixPrize> makePrize();
    bool loadCategoryTree();
    bool seedNewDatabase(QString* error);
    // The kinds of a commit, here or elsewhere: what this object keeps of them is read again
    // before the kinds are announced; what cannot be read now is tried again at the next poll.
    void changed(quint32 kinds, bool elsewhere);
    void emitChanged(qint32 reference);
    void emitDeleted(qint32 reference);

    std::shared_ptr<MessagesStorage> storage_;
    std::shared_ptr<OrlixCategoryTree> tree_;
    std::function<qint32()> currentUser_;
    StationDetails station_;
    // The templates folder setting as last read ("" for the default).
    QString templatesFolder_;
    std::unique_ptr<::LabelSheetSettings> labelSheet_;
    QString databasePath_;
    QString synchronous_ = QStringLiteral("FULL");
    int busyTimeoutMs_ = 5000;
    int pollMs_ = 500;
    int minGapMs_ = 1000;
    bool eventsEnabled_ = true;
    bool pendingElsewhere_ = false;
};
