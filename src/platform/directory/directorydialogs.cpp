#include "platform/directory/directorydialogs.h"

#include <QDialog>

namespace {
DirectoryDialogRunner& runner() {
    static DirectoryDialogRunner r;
    return r;
}
} // namespace

int RunDirectoryDialog(QDialog& dialog) {
    if (runner()) {
        return runner()(dialog);
    }
    return dialog.exec();
}

void SetDirectoryDialogRunner(DirectoryDialogRunner r) {
    runner() = std::move(r);
}
