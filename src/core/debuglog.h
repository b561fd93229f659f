#pragma once

#include <QString>

// The daily debug log. Each line is written only when the run's log level allows it:
// level 0 writes nothing, 5 is normal, 10 the maximum (with memory figures), -1 every line.
// A line's own level -1 counts as 5.
enum LogDepthChange { LogKeepDepth = 0, LogIndent = 1, LogOutdent = 2, LogResetDepth = 3 };

void DebugLog(const QString& text, int level = 5, int depthChange = LogKeepDepth);

// Chooses the log level from the program's "/DEBUG" start-up option or the stored "DebugMode".
void InitDebug();

// This process's memory figures, in bytes.
void GetProcessMemory(qint64& workingSet, qint64& pageFile);

// The file today's lines go to ("" until the folder is known).
QString DebugLogFilePath();

// Back to the state of a fresh run (nesting depth, folder look-up).
void ResetDebugLogState();
int CurrentLogDepth();
