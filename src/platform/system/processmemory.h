#pragma once

#include <QtGlobal>

// This process's memory in bytes: the resident set (what the program has in memory now) and
// its private data (what it has asked the system for). False when the figures could not be read.
bool ReadProcessMemory(qint64& workingSet, qint64& privateBytes);
