#pragma once

#include <QString>

#include <optional>

// The switches the program was started with, read once from its command line. Switch names
// are found without regard to case; the values of /Profile and /User keep theirs.
struct StartupOptions {
    // Reads the command line as BuildCommandLine rebuilds it from the arguments.
    static StartupOptions Parse(const QString& commandLine);

    // The command line upper-cased and followed by a blank: the form the debug log records.
    QString Text;
    // /Profile=name: the profile used without asking; "" lets the user choose.
    QString Profile;
    // /User=login: the user logged in as the main window starts.
    QString User;
    // /DEBUG[=level]: NORMAL and MEDIUM give 5, NONE and OFF 0, anything else 10. Without the
    // switch the stored debug mode decides.
    std::optional<int> DebugLevel;
    // /NOPREVCHECK: starts even when another copy runs for this user.
    bool NoPrevCheck = false;
    // /NOSETTINGS: the Settings menu stays disabled.
    bool NoSettings = false;
    // /VORELANET: the playout system is reached through its network server's port.
    bool PlayoutNetworkServer = false;
};
