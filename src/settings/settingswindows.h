#pragma once

class WindowRegistry;

// Registers the program settings dialog, the support-file window and the about window with the
// program's window registry; main calls it once at start-up.
void InstallSettingsWindows(WindowRegistry& windows);
