#pragma once

#include <QHash>
#include <QString>

class MessagesStorage;

// Named values of the database (station details, the templates folder, the label sheet).
// Set needs the caller's transaction.
namespace SettingsTable {
QHash<QString, QString> ReadAll(MessagesStorage& storage, bool& ok);
bool Set(MessagesStorage& storage, const QString& name, const QString& value);
} // namespace SettingsTable
