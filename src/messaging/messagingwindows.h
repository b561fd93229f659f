#pragma once

class WindowRegistry;

// Registers the e-mail and SMS message windows with the program's window registry; main calls it
// once at start-up.
void InstallMessageWindows(WindowRegistry& windows);
