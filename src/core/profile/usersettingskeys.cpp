#include "core/profile/usersettingskeys.h"

#include "platform/directory/kvdirectory.h"

namespace {
// Nobody logged in: settings with no store, which read defaults and store nothing.
UserSettings settingsOf(const KVDirectory* directory) {
    const KVDirectory::ContactPtr user = directory ? directory->CurrentUser() : nullptr;
    return user ? user->Settings() : UserSettings();
}

template <typename T> QVariant read(const KVDirectory* directory, const UserSettingKey<T>& key) {
    return settingsOf(directory).GetSetting(key.name, QVariant::fromValue(key.readDefault));
}

template <typename T>
bool write(const KVDirectory* directory, const UserSettingKey<T>& key, const T& value) {
    UserSettings settings = settingsOf(directory);
    return settings.SaveSetting(key.name, QVariant::fromValue(value),
                                QVariant::fromValue(key.writeDefault));
}
} // namespace

QVariant ReadUserSetting(const KVDirectory* directory, const UserTextKey& key) {
    return read(directory, key);
}

QVariant ReadUserSetting(const KVDirectory* directory, const UserNumberKey& key) {
    return read(directory, key);
}

bool WriteUserSetting(const KVDirectory* directory, const UserTextKey& key, const QString& value) {
    return write(directory, key, value);
}

bool WriteUserSetting(const KVDirectory* directory, const UserNumberKey& key, qint32 value) {
    return write(directory, key, value);
}
