#pragma once

#include <functional>

class QDialog;

// The directory's own dialogs run through this seam: the program runs them modally, tests
// install a runner that fills in and answers each dialog without a modal loop.
using DirectoryDialogRunner = std::function<int(QDialog& dialog)>;

// Runs the dialog (exec() unless a runner is installed) and returns its result code.
int RunDirectoryDialog(QDialog& dialog);
// Installs a runner; an empty one puts exec() back.
void SetDirectoryDialogRunner(DirectoryDialogRunner runner);
