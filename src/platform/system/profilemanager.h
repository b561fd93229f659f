#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Chooses the profile a run works with. The profiles are the keys below the profiles key of
// the machine store. A name becomes a folder and a store key, so it is checked before use.
class ProfileManager {
public:
    ProfileManager();

    // The profile named on the command line; "" means ask.
    void SetForcedProfile(const QString& name) { forced_ = name; }
    const QString& ForcedProfile() const { return forced_; }

    // The forced profile when it is valid (made when new), else the user's choice in the
    // profile chooser (the existing profiles, and "Profile1" proposed when there are none); the
    // chosen name is also written to name. "" when none was chosen.
    QString ChooseProfile(const QString& profilesKey, QWidget* owner, QString& name);

    static QStringList Profiles(const QString& profilesKey);
    static bool CreateProfile(const QString& profilesKey, const QString& name);
    // Empty, or holding "/", "\", "..", a control character, or longer than 64 characters:
    // not a profile name. reason says which.
    static bool IsValidProfileName(const QString& name, QString* reason = nullptr);

    // The profile management dialog over the profiles under profilesKey: add and delete
    // (never the profile in use). Returns once it is closed. Made in platform/ui.
    static void ManageProfiles(const QString& profilesKey, QWidget* owner,
                               const QString& profileInUse);

private:
    QString forced_;
};
