#pragma once

#include <QString>
#include <QVariant>

#include <memory>

class DirectoryStorage;

// The name/value settings of one directory user. Names compare without regard to case.
// Values are stored as text (a Boolean as "1" or "0", a number in decimal); callers convert
// what they read. A store that is gone (directory closed) or a contact that is not saved
// reads every default and stores nothing.
class UserSettings {
public:
    UserSettings() = default;
    UserSettings(std::weak_ptr<DirectoryStorage> storage, qint32 userReference)
        : storage_(std::move(storage)), userReference_(userReference) {}

    // The stored value as text, or defaultValue (as given) when the name is unset.
    QVariant GetSetting(const QString& name, const QVariant& defaultValue) const;
    // Stores the value at once, also when it equals the write default: the read default of
    // the same name may differ. False when nothing could be stored.
    bool SaveSetting(const QString& name, const QVariant& value, const QVariant& defaultValue);

    static QString StoredText(const QVariant& value);

private:
    std::weak_ptr<DirectoryStorage> storage_;
    qint32 userReference_ = 0;
};
