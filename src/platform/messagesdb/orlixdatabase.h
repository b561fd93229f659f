#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

class MessagesStorage;
class OrlixCategoryTree;
class OrlixMessage;
class OrlixMessageList;

// The messages database: messages in a folder tree with the Outbox, prizes and their winners,
// station details, print templates and the label-sheet settings, in one SQLite file in the
// folder given to OpenDatabase. One object is open at a time; the main window owns it.
//
// Every change is one transaction. Changes made here raise MessageChanged or
// MessageDeleted (unless EventsEnabled is false); changes made by another computer or the
// delivering program are noticed within about a second and announced as
// MessageChanged(0, true), at most once every few seconds.
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
    // Set before OpenDatabase: how long to wait for another computer's lock, and how the
    // changes of other connections are watched.
    void SetBusyTimeout(int ms);
    void SetChangeWatch(int pollMs, int minGapMs);

    // Opens the database in the folder, creating a new one when the folder holds none.
    // options is unused ("").
    qint32 OpenDatabase(const QString& path, const QString& options = QString());
    void CloseDatabase(bool& ok);
    bool IsOpen() const;

    // Exactly the path given to OpenDatabase; "" when none is open.
    QString DatabasePath() const { return databasePath_; }
    // The database file itself.
    QString DatabaseFile() const;
    // A consistent copy of the whole database written to a new file.
    bool SnapshotDatabase(const QString& targetFile);
    // The folder of the templates and their graphics, without a trailing separator; "" when
    // no database is open.
    QString TemplatesPath() const;

    std::shared_ptr<const OrlixCategoryTree> CategoryTree() const { return tree_; }

    // Messages.
    std::shared_ptr<OrlixMessage> GetMessage(qint32 reference);
    // Null when the filter is malformed (with a log line) or the database cannot be read.
    std::unique_ptr<OrlixMessageList> GetMessages(const QString& filter);
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

    static constexpr qint32 kInboxFolder = 3;
    static constexpr qint32 kSentFolder = 4;
    static constexpr const char* kTemplatesFolderName = "Templates";

Q_SIGNALS:
    // reference 0: many messages changed.
    void MessageChanged(qint32 reference, bool flag);
    void MessageDeleted(qint32 reference);

private:
    bool ready(const char* what) const;
    bool loadCategoryTree();
    bool seedNewDatabase(QString* error);
    void changedElsewhere();
    void emitChanged(qint32 reference);
    void emitDeleted(qint32 reference);

    std::shared_ptr<MessagesStorage> storage_;
    std::shared_ptr<OrlixCategoryTree> tree_;
    std::function<qint32()> currentUser_;
    QString databasePath_;
    int busyTimeoutMs_ = 5000;
    int pollMs_ = 1000;
    int minGapMs_ = 3000;
    bool eventsEnabled_ = true;
    bool pendingElsewhere_ = false;
};
