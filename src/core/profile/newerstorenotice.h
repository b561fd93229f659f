#pragma once

#include <QString>

// What the user is told when a configuration store file belongs to a newer version of the
// program: its settings are used as far as this version understands them, and nothing is
// saved to it.
QString NewerStoreMessage(const QString& path);

// Has the program tell the user so, once per store file and run, in a message box and the
// debug log. Both come from the event loop, never from inside the read that found the file.
void InstallNewerStoreNotice();
