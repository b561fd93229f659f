#pragma once

#include "platform/directory/directoryrights.h"
#include "platform/directory/userrights.h"

class cOCSettings;

// Which menu items and toolbar buttons of the main window are there and usable, from the
// profile's settings and the logged-in user's rights: pure rules, applied by the window.

// What the profile's settings show.
struct SettingsVisibility {
    // mnuViewVorela, mnuViewVorelaSep, mnuConnectToVorelaSep, mnuConnect and mnuDisconnect;
    // with them the "Log Scripts" root and the wish for the playout link.
    bool playout = false;
    // The message toolbar's "sendsep", "replysep", "reply", "replyall" and "forward", and
    // the hover commands over the last three.
    bool sendAndReply = false;
    bool email = false; // "email"
    bool sms = false;   // "sms"

    friend bool operator==(const SettingsVisibility&, const SettingsVisibility&) = default;
};

SettingsVisibility VisibilityForSettings(const cOCSettings& settings);

// What the logged-in user may use.
struct UserAccess {
    bool settingsMenu = false;          // mnuSettings: the right, but never with /NOSETTINGS
    bool directorySettingsMenu = false; // mnuDirectorySettings
    bool displayNewMessage = false;     // the message list's new-message option
    bool createScripts = false;         // bCanCreateScripts

    friend bool operator==(const UserAccess&, const UserAccess&) = default;
};

UserAccess AccessForUser(const UserRights& rights, const DirectoryRights& directoryRights,
                         bool emailSendEnabled, bool noSettingsOption);

// The message list offers a new message only to a user who may save messages, and only
// while the profile sends e-mail.
bool DisplaysNewMessage(const UserRights& rights, bool emailSendEnabled);
