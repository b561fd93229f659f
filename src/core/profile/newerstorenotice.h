#pragma once

#include <QString>

// What the user is told when a configuration store file belongs to a newer version of the
// program: its settings are used as far as this version understands them, and nothing is
// saved to it.
QString NewerStoreMessage(const QString& path);
// What the user is told when a store file cannot be read or is damaged. The machine's store
// holds the profiles: without it the program cannot start.
QString UnreadableStoreMessage(const QString& path, const QString& reason, bool machine);
QString DamagedStoreMessage(const QString& path);

// Has the program tell the user of a newer, unreadable or damaged store file, once per file
// and run, in a message box and the debug log. Neither comes from inside the read that found
// the file: the notice waits for the event loop, or for ShowStoreNotices.
void InstallNewerStoreNotice();

// Shows at once what is waiting to be told. The start calls it before it asks anything and
// before it ends having failed, since a failed start never reaches the event loop.
void ShowStoreNotices();
// Forgets what is waiting, unshown: a second copy of the program leaves the telling to the
// first.
void DropStoreNotices();
