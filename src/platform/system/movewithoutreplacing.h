#pragma once

#include <QString>

enum class MoveResult { Moved, TargetExists, Failed };

// Gives the file from the name to, unless a file already has that name: never replaces one.
// Both names are in one folder (or at least on one file system). A shared file made whole
// under a scratch name takes its place this way, so that two computers making it at once
// keep one and neither finds a part.
MoveResult MoveWithoutReplacing(const QString& from, const QString& to);
