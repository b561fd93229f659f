#pragma once

#include <QString>

#include <functional>

class QWidget;

// The program settings dialog, the about window and the support-file window belong to their
// own part of the program, which registers how each is shown modally over its owner. Until
// one is registered, its menu item only writes a debug-log line; the settings load then goes
// on as if the dialog had closed without changes.
enum class MainWindowDialog { Settings, About, SupportFile };

using OwnedDialogShower = std::function<void(QWidget* owner)>;

void RegisterMainWindowDialog(MainWindowDialog which, OwnedDialogShower shower);
// Shows the dialog and returns once it has closed; false when none is registered.
bool ShowMainWindowDialog(MainWindowDialog which, QWidget* owner);
