#pragma once

#include "platform/system/registrystore.h"
#include "platform/system/sqlitebackup.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class KVDirectory;
class OrlixDatabase;
class QTemporaryDir;

// Who is asking for help, kept per OS user.
struct SupportDetails {
    QString Name;
    QString Organisation;
    QString EmailAddress;
    QString Telephone;
};

// A blank name or an address that is not text "@" text.
bool SupportDetailsComplete(const SupportDetails& details);

// Makes one ZIP that the support desk can work from: a summary of the problem and the
// person, the settings below the keys added, the files added and consistent copies of both
// databases. Everything is written into a scratch folder of its own, removed by Finish.
class SupportFileGenerator : public QObject {
    Q_OBJECT
public:
    enum MakeResult { Made = 0, DetailsMissing = 1, Failed = 2, Stopped = 3 };
    enum UploadResult {
        Uploaded = 0,
        NoConnection = 1,
        SendFailed = 2,
        UploadStopped = 3,
        WarningDeclined = 4,
        Accepted = 5,
        NoUploadAddress = 6,
        AddressRefused = 9,
        AddressBlocked = 13,
    };
    // Raised through Warning before a file larger than LargeFileLimit is sent.
    static constexpr long kLargeFileWarning = 0x80040001L;

    explicit SupportFileGenerator(QObject* parent = nullptr);
    ~SupportFileGenerator() override;

    void SetTitle(const QString& title) { title_ = title; }
    void SetSubject(const QString& subject) { subject_ = subject; }
    void SetReason(const QString& reason) { reason_ = reason; }
    void SetDetails(const SupportDetails& details) { details_ = details; }
    SupportDetails Details() const { return details_; }

    void AddRegistryKey(RegistryRoot root, const QString& key);
    void AddFile(const QString& path);
    // Adds the ordinary files of a folder changed in the last `days` days, in name order.
    void AddRecentFiles(const QString& folder, const QString& nameFilter, int days);
    // Copies taken while Make runs, through each component's own connection, so others may
    // keep writing; either may be null (nothing of it is added).
    void AddMessagesDatabase(OrlixDatabase* database) { messages_ = database; }
    void AddDirectory(KVDirectory* directory) { directory_ = directory; }

    // One of MakeResult. A file or copy that cannot be had is left out and named in the summary
    // (and in LeftOut); only an archive that cannot be written fails the whole.
    int Make();
    // Asks a running Make to stop at its next step. During a database copy only that copy
    // fails (it is left out, and the making goes on); after the copies the whole Make stops.
    void Cancel() { cancelled_ = true; }
    QString ArchivePath() const;
    QStringList LeftOut() const { return leftOut_; }
    QString LastError() const { return lastError_; }
    // Copies the made archive to a place the user chose, replacing it whole or not at all,
    // readable by its owner only.
    bool SaveTo(const QString& path, QString* error) const;
    // Removes the scratch folder and the archive in it.
    void Finish();

    // Sends the made archive to the support desk's address, the machine-wide text
    // "UploadAddress" under SOFTWARE\Kestova\Support\<section>, as one multipart POST with the
    // summary's fields and the file streamed from disk. Only https, or http to this computer:
    // any other address sends nothing. One of UploadResult.
    int Upload(const QString& section, const QString& productName, const QString& versionText,
               const QString& unused = QString());
    void SetLargeFileLimit(qint64 bytes) { largeFileLimit_ = bytes; }
    // With no answer and nothing sent for this long, the upload counts as no connection.
    void SetIdleTimeoutMs(int ms) { idleTimeoutMs_ = ms; }

    static QString MessagesCopyName() { return QStringLiteral("messages.sqlite"); }
    static QString DirectoryCopyName() { return QStringLiteral("Directory.sqlite"); }

    static QString MessagesCopyCaption() { return QStringLiteral("Copying Orlix Database..."); }
    static QString DirectoryCopyCaption() { return QStringLiteral("Copying Kestova Directory..."); }

Q_SIGNALS:
    // After every step of the work (a few pages of a copy, a piece of a file), so a window can
    // keep answering; the percent may repeat.
    void Progress(int percent);
    // A database copy begins, with its caption; Creating follows when the copies are over.
    void Copying(const QString& caption);
    void Creating();
    void CreateError(const QString& text);
    void Sending();
    // While the upload runs, and every tenth of a second while it waits for the answer.
    void SendProgress(int percent);
    void Sent();
    void SendError(const QString& text);
    void Warning(long code, bool* cancel);

private:
    struct Entry {
        QString name;
        QString path;
    };
    QByteArray summary(const QList<Entry>& entries, const QStringList& sizes) const;
    QByteArray settingsText() const;
    QString uniqueName(const QString& baseName, QStringList& used) const;
    bool copyDatabase(
        const QString& caption, const QString& copy, qint64 weight,
        const std::function<bool(const QString&, QString*, const SqliteBackupProgress&)>& snapshot,
        QString* why);
    void advance(qint64 bytes);

    QString title_;
    QString subject_;
    QString reason_;
    SupportDetails details_;
    QList<QPair<RegistryRoot, QString>> registryKeys_;
    QStringList files_;
    OrlixDatabase* messages_ = nullptr;
    KVDirectory* directory_ = nullptr;
    std::unique_ptr<QTemporaryDir> scratch_;
    QStringList leftOut_;
    QString lastError_;
    bool cancelled_ = false;
    // Progress: the work done and the whole of it, in bytes of database copied or file archived.
    qint64 workDone_ = 0;
    qint64 workTotal_ = 1;
    qint64 largeFileLimit_ = 20LL * 1024 * 1024;
    int idleTimeoutMs_ = 60000;
};

// Blanks every password hash and salt in a directory copy, so a support file sent outside the
// station cannot be used to guess the users' passwords. Never for the live file.
bool BlankDirectoryPasswords(const QString& copyFile, QString* error);
