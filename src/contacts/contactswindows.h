#pragma once

class WindowRegistry;

// Registers the contact, prize, prize-winner and address-label windows with the program's window
// registry; main calls it once at start-up.
void InstallContactsWindows(WindowRegistry& windows);
