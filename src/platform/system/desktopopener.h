#pragma once

#include <QUrl>

#include <functional>

// Documents (the help file) and web pages open in the user's own programs: the desktop's
// viewer for the file's type, the default browser for an address. Tests replace the opener.
using DesktopOpenerFunction = std::function<bool(const QUrl& url)>;

// False when the desktop has nothing to open it with.
bool OpenWithDesktop(const QUrl& url);
// An empty function puts the desktop's own back.
void SetDesktopOpener(DesktopOpenerFunction opener);
