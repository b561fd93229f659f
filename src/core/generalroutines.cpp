#include "core/generalroutines.h"

#include "core/debuglog.h"
#include "platform/system/appinfo.h"
#include "platform/system/datetimehelper.h"
#include "platform/system/filesystemhelper.h"
#include "platform/system/registrystore.h"
#include "platform/system/tempfiles.h"
#include "platform/ui/messagebox.h"

#include <QFile>

namespace {
const QString kUpdateValue = QStringLiteral("UpdateInformationFileDateUTC");

bool fileDateUtc(const QString& path, QDateTime& date) {
    qint64 created = 0;
    qint64 modified = 0;
    qint64 accessed = 0;
    if (!FileSystemHelper::GetFileTimes(path, created, modified, accessed)) {
        return false;
    }
    date = DateTimeHelper::FileTimeToDate(modified);
    return true;
}
} // namespace

bool LongToBoolean(qint32 value) {
    return value == -1;
}

QString GetTempFile(const QString& folderIn, const QString& extension) {
    DebugLog(QStringLiteral("Start GetTempFile"), 5, LogIndent);
    QString folder = folderIn;
    for (;;) {
        DebugLog(QStringLiteral("Assign a string"), -1);
        if (folder.isEmpty()) {
            DebugLog(QStringLiteral("Get the user's temp path"), -1);
            int errorNumber = 0;
            const QString temp = TempFolderPath(errorNumber);
            if (temp.isEmpty()) {
                MsgBox(QStringLiteral("Error getting a temporary file name :") +
                           QString::number(errorNumber),
                       MsgIcon::Critical);
                DebugLog(QStringLiteral("End GetTempFile"), 5, LogOutdent);
                return {};
            }
            folder = temp.trimmed();
        }
        DebugLog(QStringLiteral("AlphaNum the app.title"), -1);
        const QString prefix = AppInfo::Title().toUpper().remove(QLatin1Char(' '));
        DebugLog(QStringLiteral("Call GetTempFilename"), -1);
        const QString made = CreateUniqueTempFile(folder, prefix);
        if (made.isEmpty()) {
            DebugLog(QStringLiteral("End GetTempFile"), 5, LogOutdent);
            return {};
        }
        DebugLog(QStringLiteral("Process the return"), -1);
        QString name = made.trimmed();
        if (!extension.isEmpty() &&
            extension.compare(QLatin1String("TMP"), Qt::CaseInsensitive) != 0) {
            QFile::remove(made);
            name = name.left(name.size() - 3) + extension;
            if (FileSystemHelper::FileSize(name) > 0) {
                continue; // taken by a file with content: another name
            }
        }
        DebugLog(QStringLiteral("End GetTempFile"), 5, LogOutdent);
        return name;
    }
}

QString IsoDateTimeText(const DateTimeRecord& record) {
    return DateTimeHelper::DateOfSerial(record.Day).toString(QStringLiteral("yyyy-MM-dd")) +
           QLatin1Char('T') +
           DateTimeHelper::TimeOfDayText(record.Seconds, DateTimeHelper::LongTime);
}

bool IsUpdateInformationNewer(const QString& path, const QString& key) {
    if (!FileSystemHelper::FileExists(path)) {
        return false;
    }
    QDateTime fileDate;
    if (!fileDateUtc(path, fileDate)) {
        return false;
    }
    const QString stored =
        RegistryStore::ReadString(RegistryRoot::CurrentUser, key, kUpdateValue, QString());
    if (stored.isEmpty()) {
        return true;
    }
    DateTimeRecord record;
    if (!DateTimeHelper::ParseDateText(stored, record)) {
        // Unreadable: show the notes again rather than never.
        return true;
    }
    const QDateTime storedDate = DateTimeHelper::TimeRecordToDate(record, Qt::UTC);
    return fileDate.toSecsSinceEpoch() > storedDate.toSecsSinceEpoch();
}

void StoreUpdateInformationDate(const QString& path, const QString& key) {
    QDateTime fileDate;
    if (!FileSystemHelper::FileExists(path) || !fileDateUtc(path, fileDate)) {
        return;
    }
    const DateTimeRecord record = DateTimeHelper::DateToTimeRecord(fileDate);
    RegistryStore::WriteString(RegistryRoot::CurrentUser, key, kUpdateValue,
                               IsoDateTimeText(record), QString());
}
