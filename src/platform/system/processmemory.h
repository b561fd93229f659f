#pragma once

#include <QtGlobal>

// This process's memory in bytes: the resident set (what the program has in memory now) and
// its private memory, resident or swapped out. False when the figures could not be read.
bool ReadProcessMemory(qint64& workingSet, qint64& privateBytes);
