#pragma once

#include <QString>

// Where the program's files live on this machine. ORLIX_HOME, when set, relocates all of
// them, so a test or a second installation never touches the user's real files.
class Folders {
public:
    // The common application data folder (the machine-wide store, the data folder).
    static QString CommonData();
    // The per-user configuration folder (the per-user store).
    static QString UserConfig();
    // The per-user state folder (the default debug-log folder).
    static QString UserState();
    // A private temporary folder of this user (mode 0700), made on first use; "" when it
    // cannot be made or is not safely ours.
    static QString PrivateTemp();
};
