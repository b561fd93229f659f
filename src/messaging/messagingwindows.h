#pragma once

class WindowRegistry;

// Registers the e-mail and SMS message windows with the program's window registry, the e-mail
// body on the web engine; main calls it once at start-up.
void InstallMessageWindows(WindowRegistry& windows);
