#include "platform/support/supportfilegenerator.h"

#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/support/supportarchive.h"
#include "platform/system/appinfo.h"
#include "platform/system/folders.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QUuid>

#include <algorithm>
#include <functional>

namespace {
const QString kArchiveName = QStringLiteral("SupportFile.zip");
const QString kLineSeparator = QStringLiteral("\r\n");

// A connection of its own to a file, removed with this object.
class ScratchConnection {
public:
    explicit ScratchConnection(const QString& file)
        : name_(QStringLiteral("support-copy-") +
                QUuid::createUuid().toString(QUuid::WithoutBraces)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READWRITE"));
        db.open();
    }
    ~ScratchConnection() {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    ScratchConnection(const ScratchConnection&) = delete;
    ScratchConnection& operator=(const ScratchConnection&) = delete;
    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

private:
    QString name_;
};
} // namespace

bool SupportDetailsComplete(const SupportDetails& details) {
    static const QRegularExpression address(QStringLiteral("^[^@\\s]+@[^@\\s]+$"));
    return !details.Name.trimmed().isEmpty() &&
           address.match(details.EmailAddress.trimmed()).hasMatch();
}

bool BlankDirectoryPasswords(const QString& copyFile, QString* error) {
    auto refuse = [error](const QString& why) {
        if (error != nullptr) {
            *error = why;
        }
        return false;
    };
    if (!QFileInfo(copyFile).isFile()) {
        return refuse(QStringLiteral("'%1' does not exist").arg(copyFile));
    }
    ScratchConnection connection(copyFile);
    QSqlDatabase db = connection.db();
    if (!db.isOpen()) {
        return refuse(db.lastError().text());
    }
    QSqlQuery q(db);
    // secure_delete overwrites the old values' bytes; the VACUUM leaves no freed page behind.
    for (const QString& sql : {QStringLiteral("PRAGMA secure_delete=ON"),
                               QStringLiteral("UPDATE contacts SET password_hash='', "
                                              "password_salt='', password_iterations=0"),
                               QStringLiteral("VACUUM")}) {
        if (!q.exec(sql)) {
            return refuse(QStringLiteral("the passwords could not be blanked in the copy: %1")
                              .arg(q.lastError().text()));
        }
    }
    return true;
}

SupportFileGenerator::SupportFileGenerator(QObject* parent) : QObject(parent) {}

SupportFileGenerator::~SupportFileGenerator() {
    Finish();
}

void SupportFileGenerator::AddRegistryKey(RegistryRoot root, const QString& key) {
    registryKeys_.append({root, key});
}

void SupportFileGenerator::AddFile(const QString& path) {
    files_ << path;
}

void SupportFileGenerator::AddRecentFiles(const QString& folder, const QString& nameFilter,
                                          int days) {
    const QDateTime since = QDateTime::currentDateTime().addDays(-days);
    QFileInfoList found = QDir(folder).entryInfoList({nameFilter}, QDir::Files | QDir::NoSymLinks,
                                                     QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& info : found) {
        if (!info.isSymLink() && info.isFile() && !info.fileName().startsWith(QLatin1Char('.')) &&
            info.lastModified() >= since) {
            files_ << info.absoluteFilePath();
        }
    }
}

QString SupportFileGenerator::ArchivePath() const {
    return scratch_ ? scratch_->filePath(kArchiveName) : QString();
}

bool SupportFileGenerator::SaveTo(const QString& path, QString* error) const {
    auto refuse = [error](const QString& why) {
        if (error != nullptr) {
            *error = why;
        }
        return false;
    };
    QFile source(ArchivePath());
    if (ArchivePath().isEmpty() || !source.open(QIODevice::ReadOnly)) {
        return refuse(QStringLiteral("no support file has been made"));
    }
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly)) {
        return refuse(target.errorString());
    }
    target.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    while (!source.atEnd()) {
        const QByteArray piece = source.read(256 * 1024);
        if (piece.isEmpty() || target.write(piece) != piece.size()) {
            target.cancelWriting();
            return refuse(target.errorString());
        }
    }
    if (!target.commit()) {
        return refuse(target.errorString());
    }
    return true;
}

void SupportFileGenerator::Finish() {
    scratch_.reset(); // removes the folder with everything in it
}

QString SupportFileGenerator::uniqueName(const QString& baseName, QStringList& used) const {
    QString name = baseName;
    const QFileInfo info(baseName);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString stem = info.suffix().isEmpty() ? baseName : baseName.chopped(suffix.size());
    for (int n = 2; used.contains(name, Qt::CaseInsensitive); ++n) {
        name = QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(suffix);
    }
    used << name;
    return name;
}

QByteArray SupportFileGenerator::settingsText() const {
    QStringList lines;
    std::function<void(RegistryRoot, const QString&)> walk = [&](RegistryRoot root,
                                                                 const QString& key) {
        lines << QStringLiteral("[%1\\%2]")
                     .arg(root == RegistryRoot::LocalMachine ? QStringLiteral("LocalMachine")
                                                             : QStringLiteral("CurrentUser"),
                          key);
        for (const QString& name : RegistryStore::ValueNames(root, key)) {
            bool found = false;
            const QString text = RegistryStore::ReadString(root, key, name, {}, &found);
            if (found) {
                lines << QStringLiteral("%1 (text) = %2").arg(name, text);
            } else {
                lines << QStringLiteral("%1 (number) = %2")
                             .arg(name)
                             .arg(RegistryStore::ReadNumber(root, key, name, 0));
            }
        }
        lines << QString();
        for (const QString& sub : RegistryStore::SubKeyNames(root, key)) {
            walk(root, key + QLatin1Char('\\') + sub);
        }
    };
    for (const auto& [root, key] : registryKeys_) {
        if (RegistryStore::KeyExists(root, key)) {
            walk(root, key);
        }
    }
    return lines.join(kLineSeparator).toUtf8();
}

QByteArray SupportFileGenerator::summary(const QList<Entry>& entries,
                                         const QStringList& sizes) const {
    QStringList lines{
        QStringLiteral("Title: ") + title_,
        QStringLiteral("Subject: ") + subject_,
        QStringLiteral("Reason:"),
        reason_,
        QString(),
        QStringLiteral("Name: ") + details_.Name,
        QStringLiteral("Organisation: ") + details_.Organisation,
        QStringLiteral("E-mail address: ") + details_.EmailAddress,
        QStringLiteral("Telephone: ") + details_.Telephone,
        QString(),
        QStringLiteral("Product: ") + AppInfo::ProductName(),
        QStringLiteral("Version: %1.%2.%3")
            .arg(AppInfo::Major())
            .arg(AppInfo::Minor())
            .arg(AppInfo::Revision()),
        QStringLiteral("System: %1 (%2 %3)")
            .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion()),
        QStringLiteral("Host: ") + QSysInfo::machineHostName(),
        QStringLiteral("Time (UTC): ") +
            QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
        QString(),
        QStringLiteral("Files:"),
    };
    for (qsizetype i = 0; i < entries.size(); ++i) {
        lines << QStringLiteral("%1: %2").arg(entries[i].name, sizes[i]);
    }
    for (const QString& why : leftOut_) {
        lines << QStringLiteral("Left out: ") + why;
    }
    return lines.join(kLineSeparator).toUtf8();
}

void SupportFileGenerator::advance(qint64 bytes) {
    workDone_ = std::min(workTotal_, workDone_ + bytes);
    Q_EMIT Progress(static_cast<int>(100 * workDone_ / workTotal_));
}

bool SupportFileGenerator::copyDatabase(
    const QString& caption, const QString& copy, qint64 weight,
    const std::function<bool(const QString&, QString*, const SqliteBackupProgress&)>& snapshot,
    QString* why) {
    Q_EMIT Copying(caption);
    const qint64 start = workDone_;
    const bool copied = snapshot(copy, why, [this, start, weight](qint64 pages, qint64 total) {
        workDone_ = start + (total > 0 ? weight * pages / total : weight);
        advance(0);
        return !cancelled_;
    });
    workDone_ = start + weight;
    if (cancelled_) {
        // Stop during a copy leaves only that copy out.
        cancelled_ = false;
        *why = QStringLiteral("stopped by the user");
        QFile::remove(copy);
        return false;
    }
    return copied;
}

int SupportFileGenerator::Make() {
    cancelled_ = false;
    leftOut_.clear();
    lastError_.clear();
    if (!SupportDetailsComplete(details_)) {
        return DetailsMissing;
    }
    Finish();
    QDir().mkpath(Folders::PrivateTemp());
    scratch_ =
        std::make_unique<QTemporaryDir>(Folders::PrivateTemp() + QStringLiteral("/support-XXXXXX"));
    auto failed = [this](const QString& why) {
        lastError_ = why;
        Finish();
        Q_EMIT CreateError(why);
        return Failed;
    };
    if (!scratch_->isValid()) {
        return failed(QStringLiteral("the scratch folder could not be made: %1")
                          .arg(scratch_->errorString()));
    }

    // The work in bytes: each database is read once to copy it and once more to archive it.
    const bool withMessages = messages_ != nullptr && messages_->IsOpen();
    const bool withDirectory = directory_ != nullptr && directory_->IsOpen();
    const qint64 messagesSize = withMessages ? QFileInfo(messages_->DatabaseFile()).size() : 0;
    const qint64 directorySize = withDirectory ? QFileInfo(directory_->FilePath()).size() : 0;
    workDone_ = 0;
    workTotal_ = 2 * (messagesSize + directorySize) + 1;
    for (const QString& path : files_) {
        workTotal_ += std::max<qint64>(0, QFileInfo(path).size());
    }
    Q_EMIT Progress(0);

    // The copies first: they are what takes the time, and what can fail on its own.
    QList<Entry> entries;
    if (withMessages) {
        const QString copy = scratch_->filePath(MessagesCopyName());
        QString why;
        if (copyDatabase(
                MessagesCopyCaption(), copy, messagesSize,
                [this](const QString& target, QString* error,
                       const SqliteBackupProgress& progress) {
                    return messages_->SnapshotDatabase(target, error, progress);
                },
                &why)) {
            entries << Entry{MessagesCopyName(), copy};
        } else {
            leftOut_ << QStringLiteral("%1 (the messages database could not be copied: %2)")
                            .arg(MessagesCopyName(), why);
        }
    }
    if (withDirectory) {
        const QString copy = scratch_->filePath(DirectoryCopyName());
        QString why;
        if (copyDatabase(
                DirectoryCopyCaption(), copy, directorySize,
                [this](const QString& target, QString* error,
                       const SqliteBackupProgress& progress) {
                    return directory_->SnapshotTo(target, error, progress);
                },
                &why) &&
            BlankDirectoryPasswords(copy, &why)) {
            entries << Entry{DirectoryCopyName(), copy};
        } else {
            QFile::remove(copy); // never a copy that still holds the hashes
            leftOut_ << QStringLiteral("%1 (the directory could not be copied: %2)")
                            .arg(DirectoryCopyName(), why);
        }
    }
    Q_EMIT Creating();

    QStringList used{QStringLiteral("SupportFile.txt"), QStringLiteral("Settings.txt"),
                     MessagesCopyName(), DirectoryCopyName()};
    for (const QString& path : files_) {
        const QFileInfo info(path);
        if (!info.isFile()) {
            leftOut_ << QStringLiteral("%1 (%2)").arg(
                path, info.exists() ? QStringLiteral("not an ordinary file")
                                    : QStringLiteral("does not exist"));
            continue;
        }
        if (!info.isReadable()) {
            leftOut_ << QStringLiteral("%1 (cannot be read)").arg(path);
            continue;
        }
        entries << Entry{uniqueName(info.fileName(), used), path};
    }

    SupportArchive archive;
    if (!archive.Open(ArchivePath())) {
        return failed(archive.Error());
    }
    QStringList sizes;
    QList<Entry> written;
    QByteArray settings = settingsText();
    auto pieceWritten = [this](qint64 bytes) {
        advance(bytes);
        return !cancelled_;
    };
    // The summary names what is in the archive, so the entries are written first and the
    // summary last; readers find it by name.
    for (const Entry& e : entries) {
        if (cancelled_) {
            archive.Close();
            Finish();
            return Stopped;
        }
        if (archive.AddFile(e.name, e.path, pieceWritten)) {
            written << e;
            sizes << QStringLiteral("%1 bytes").arg(QFileInfo(e.path).size());
        } else if (cancelled_) {
            Finish();
            return Stopped;
        } else if (archive.IsOpen()) {
            leftOut_ << QStringLiteral("%1 (%2)").arg(e.path, archive.Error());
        } else {
            return failed(archive.Error());
        }
    }
    if (!archive.AddBytes(QStringLiteral("Settings.txt"), settings) ||
        !archive.AddBytes(QStringLiteral("SupportFile.txt"), summary(written, sizes)) ||
        !archive.Close()) {
        return failed(archive.Error());
    }
    // The copies are in the archive now; only the archive stays in the scratch folder.
    QFile::remove(scratch_->filePath(MessagesCopyName()));
    QFile::remove(scratch_->filePath(DirectoryCopyName()));
    workDone_ = workTotal_;
    Q_EMIT Progress(100);
    return Made;
}
