#include "mainwindow/mainwindowvisibility.h"

#include "core/profile/cocsettings.h"

SettingsVisibility VisibilityForSettings(const cOCSettings& settings) {
    SettingsVisibility out;
    out.playout = !settings.VorelaComputerName().isEmpty();
    out.sendAndReply = settings.EmailSendEnabled() || settings.SMSSendEnabled();
    out.email = settings.EmailSendEnabled();
    out.sms = settings.SMSSendEnabled();
    return out;
}

UserAccess AccessForUser(const UserRights& rights, const DirectoryRights& directoryRights,
                         bool emailSendEnabled, bool noSettingsOption) {
    UserAccess out;
    out.settingsMenu = rights.CanChangeSettings() && !noSettingsOption;
    out.directorySettingsMenu = directoryRights.CanChangeDirectorySettings();
    out.displayNewMessage = DisplaysNewMessage(rights, emailSendEnabled);
    out.createScripts = rights.CanCreateScripts();
    return out;
}

bool DisplaysNewMessage(const UserRights& rights, bool emailSendEnabled) {
    return rights.CanSaveMessages() && emailSendEnabled;
}
