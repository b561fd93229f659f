#pragma once

#include <QString>

#include <functional>

enum class MoveResult { Moved, TargetExists, Failed };

// Gives the file from the name to, unless a file already has that name: never replaces one.
// Both names are in one folder (or at least on one file system). A shared file made whole
// under a scratch name takes its place this way, so that two computers making it at once
// keep one and neither finds a part.
MoveResult MoveWithoutReplacing(const QString& from, const QString& to);

enum class MakeResult { Made, MadeElsewhere, NotMade, NotNamed };

// Makes a shared file whole under a scratch name beside it (make is given that name and says
// whether it made it), then gives it the file's name without replacing one. The scratch file
// and its journal are removed unless they took the name, so a maker killed part way or beaten
// by another computer leaves nothing under the file's name; scratch files of makers killed
// more than an hour before are taken away first.
MakeResult MakeInPlace(const QString& file, const std::function<bool(const QString&)>& make);
