#pragma once

// SQLite's settings for the whole process. SQLite takes them only before its first use, so
// the program makes them first thing.
namespace SqliteProcess {
// SQLite keeps counts of the memory it takes, under one lock of the whole process around
// every block taken and given back: the directory's readers, searching on several threads at
// once, queued on it. Nothing here reads the counts. False when SQLite was already in use.
bool Prepare();
} // namespace SqliteProcess
