#pragma once

#include <QString>

#include <memory>

class frmSplash;

// The client's common start and end. What they make (the profile's name and folder, the
// directory) is the program's: see Program.

// The splash window while start-up shows it; null once it is unloaded.
frmSplash* Splash();
void UnloadSplash();

// The number under which the program registers with the directory and logs users in.
constexpr qint32 kProductCode = 32;

// Debug log, one running copy, splash, profile, directory, by the program's start-up
// options. False ends the program; the debug log (and standard error) says why.
bool InitialiseOrlix(const QString& baseKey, bool serverFlag);
// Logs out, unregisters and closes the directory. Safe whether or not start-up succeeded.
void TerminateOrlix();
