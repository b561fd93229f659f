#include "platform/directory/usersettings.h"

#include "platform/directory/contacttext.h"
#include "platform/directory/directorystorage.h"
#include "platform/system/platformlog.h"

#include <QSqlQuery>

QString UserSettings::StoredText(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool) {
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    }
    return value.toString();
}

QVariant UserSettings::GetSetting(const QString& name, const QVariant& defaultValue) const {
    const std::shared_ptr<DirectoryStorage> storage = storage_.lock();
    if (!storage || !storage->IsOpen() || userReference_ <= 0) {
        return defaultValue;
    }
    QSqlQuery q = storage->Prepare(
        QStringLiteral("SELECT value FROM user_settings WHERE user_reference = ? AND name = ?"));
    q.addBindValue(userReference_);
    q.addBindValue(name);
    if (!DirectoryStorage::Exec(q, "reading a user setting") || !q.next()) {
        return defaultValue;
    }
    return QVariant(q.value(0).toString());
}

bool UserSettings::SaveSetting(const QString& name, const QVariant& value,
                               const QVariant& /*defaultValue*/) {
    const std::shared_ptr<DirectoryStorage> storage = storage_.lock();
    if (!storage || !storage->IsOpen() || userReference_ <= 0 || name.isEmpty()) {
        return false;
    }
    DirectoryTransaction tx(*storage);
    if (!tx.Active()) {
        return false;
    }
    {
        QSqlQuery q = storage->Prepare(QStringLiteral(
            "INSERT INTO user_settings (user_reference, name, value) VALUES (?, ?, ?)"
            " ON CONFLICT (user_reference, name) DO UPDATE SET value = excluded.value"));
        q.addBindValue(userReference_);
        q.addBindValue(name);
        q.addBindValue(ContactText::NotNull(StoredText(value)));
        if (!DirectoryStorage::Exec(q, "storing a user setting")) {
            return false;
        }
    }
    return tx.Commit();
}
