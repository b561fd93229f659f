#include "core/profile/recentlists.h"

#include "core/profile/usersettingskeys.h"
#include "platform/directory/kvdirectory.h"

#include <QStringList>

MRUNotifier& MRUNotifier::Instance() {
    static MRUNotifier notifier;
    return notifier;
}

QString AddToMRUList(const QString& item, const QString& list) {
    const QString trimmed = item.trimmed();
    if (list.isEmpty()) {
        return trimmed;
    }
    QStringList entries = list.split(QLatin1Char('|'), Qt::KeepEmptyParts, Qt::CaseSensitive);
    const QString wanted = trimmed.toLower();
    if (entries.size() == 1) {
        return wanted != entries.front().toLower() ? trimmed + QLatin1Char('|') + list : list;
    }
    // Walk the first ten entries; from the matching one on, each takes its successor's
    // place, which closes the gap; the then doubled last entry is dropped.
    const qsizetype last = entries.size() - 1;
    bool found = false;
    for (qsizetype i = 0; i <= std::min<qsizetype>(9, last); ++i) {
        if (!found && wanted == entries.at(i).toLower()) {
            found = true;
        }
        if (found && i < last) {
            entries[i] = entries.at(i + 1);
        }
    }
    if (found) {
        entries.removeLast();
    }
    if (entries.size() > 9) {
        entries = entries.mid(0, 9);
    }
    return trimmed + QLatin1Char('|') + entries.join(QLatin1Char('|'));
}

namespace {
void addToList(KVDirectory* directory, qint32 reference, const UserTextKey& key, int flag) {
    if (!directory || reference == 0 || !directory->CurrentUser()) {
        return;
    }
    const QString list = ReadUserSetting(directory, key).toString();
    WriteUserSetting(directory, key, AddToMRUList(QString::number(reference), list));
    Q_EMIT MRUNotifier::Instance().UpdateMRU(flag);
}
} // namespace

void AddContactToMRU(KVDirectory* directory, qint32 reference) {
    addToList(directory, reference, UserSettingsKeys::MRUContacts(), MRUContactsFlag);
}

void AddWebsiteToMRU(KVDirectory* directory, qint32 reference) {
    addToList(directory, reference, UserSettingsKeys::MRUWebsites(), MRUWebsitesFlag);
}

void AddMessageToMRU(KVDirectory* directory, qint32 reference) {
    addToList(directory, reference, UserSettingsKeys::MRUMessages(), MRUMessagesFlag);
}
