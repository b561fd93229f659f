#include "platform/messagesdb/settingstable.h"

#include "platform/messagesdb/messagesstorage.h"

#include <QSqlQuery>
#include <QVariant>

QHash<QString, QString> SettingsTable::ReadAll(MessagesStorage& storage, bool& ok) {
    QHash<QString, QString> values;
    QSqlQuery q = storage.Prepare(QStringLiteral("SELECT name, value FROM settings"));
    ok = MessagesStorage::Exec(q, "reading the settings");
    while (ok && q.next()) {
        values.insert(q.value(0).toString(), q.value(1).toString());
    }
    return values;
}

bool SettingsTable::Set(MessagesStorage& storage, const QString& name, const QString& value) {
    QSqlQuery q = storage.Prepare(
        QStringLiteral("INSERT OR REPLACE INTO settings (name, value) VALUES (?, ?)"));
    q.addBindValue(name);
    q.addBindValue(value);
    return MessagesStorage::Exec(q, "storing a setting");
}
