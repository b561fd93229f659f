#pragma once

#include <QString>

#include <functional>

// The platform layer reports what it had to work around (a corrupt file, a refused write)
// through this hook; the program connects it to its debug log at start-up.
using PlatformLogHandler = std::function<void(const QString& text, int level)>;

void SetPlatformLogHandler(PlatformLogHandler handler);
void PlatformLog(const QString& text, int level = 5);
