#pragma once

#include <QString>

#include <memory>

class KVDirectory;
class frmSplash;

// The client's common start and end, and the program-wide objects they make.
extern QString gProfileName;
extern QString gProfileFolder;
// The program's data folder, <common data>/Kestova/Orlix, set by the main window as it
// starts; its Temp folder holds the database's graphics and the rendered message list.
extern QString gDataFolder;

// The one directory object of the program; null before InitialiseOrlix and after
// TerminateOrlix.
KVDirectory* Directory();
// The splash window while start-up shows it; null once it is unloaded.
frmSplash* Splash();
void UnloadSplash();

// The number under which the program registers with the directory and logs users in.
constexpr qint32 kProductCode = 32;

// Debug log, start-up options, one running copy, splash, profile, directory. False ends the
// program; the debug log (and standard error) says why.
bool InitialiseOrlix(const QString& baseKey, bool serverFlag);
// Logs out, unregisters and closes the directory. Safe whether or not start-up succeeded.
void TerminateOrlix();
