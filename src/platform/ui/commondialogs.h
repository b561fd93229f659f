#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QWidget;

struct PrintDialogRequest {
    QString title; // "" = the dialog's own title
    bool allowSelection = false;
    bool selectionPreselected = false;
    bool allowPageNumbers = true;
    bool allowPrintToFile = true;
    QWidget* owner = nullptr;
};

// What the font chooser is asked: the font it opens on, and which of its parts the caller
// uses. Effects are the strike-out and underline boxes; a caller that keeps them as they were
// has them left out, so the chooser offers nothing it would ignore.
struct FontDialogRequest {
    QString title; // "" = the dialog's own title
    QFont initial;
    bool withEffects = true;
    bool withColour = false;
    QColor colour;
    QWidget* owner = nullptr;
};

// A font chosen in the desktop's font dialog, with its colour when one was asked for.
struct FontAnswer {
    QFont font;
    QColor colour;
};

struct SaveDialogRequest {
    QString title;
    QString fileName; // proposed name, or a full path
    QString filter;   // Qt's form: "Rich Text Files (*.rtf);;All Files (*)"
    QWidget* owner = nullptr;
};

// The desktop's own dialogs (print, page set-up, print preview, save) go through this
// interface, so that tests can answer them; our own dialogs go through DialogService.
// The Qt implementation shows the real dialogs; tests install a scripted double.
class CommonDialogService {
public:
    virtual ~CommonDialogService() = default;
    // Printers installed on this machine.
    virtual int printerCount() = 0;
    // The print dialog over printer; false when cancelled. On true the printer holds the
    // chosen device, copies and range (all or the selection).
    virtual bool askPrint(QPrinter& printer, const PrintDialogRequest& request) = 0;
    // The page set-up dialog over printer; false when cancelled.
    virtual bool askPageSetup(QPrinter& printer, QWidget* owner) = 0;
    // The print preview of what paint draws on the printer it is given; the user may print
    // from it.
    virtual void showPrintPreview(QPrinter& printer, QWidget* owner,
                                  const std::function<void(QPrinter*)>& paint) = 0;
    // The chosen file's full path, "" when cancelled.
    virtual QString askSaveFileName(const SaveDialogRequest& request) = 0;
    // An existing file's full path, "" when cancelled; the request's file name is where the
    // dialog starts.
    virtual QString askOpenFileName(const SaveDialogRequest& request) = 0;
    // The chosen folder, "" when cancelled; an empty start folder starts in the home folder.
    virtual QString askFolder(const QString& title, const QString& startFolder, QWidget* owner) = 0;
    // The desktop's chooser of existing files, several at once, with "All Files (*)": their
    // full paths in the order given, none when cancelled.
    virtual QStringList askOpenFileNames(const QString& title, QWidget* owner) = 0;
    // The chosen font, nothing when cancelled. With withColour the colour is asked for after
    // the font; cancelling that keeps the colour given.
    virtual std::optional<FontAnswer> askFont(const FontDialogRequest& request) = 0;
};

// The service in use; the Qt one unless another was installed.
CommonDialogService& CommonDialogs();
// Installs a service (nullptr puts the Qt one back) and returns the one it replaces.
std::unique_ptr<CommonDialogService>
InstallCommonDialogService(std::unique_ptr<CommonDialogService> service);
