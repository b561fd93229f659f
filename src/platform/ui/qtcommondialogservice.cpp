#include "platform/ui/qtcommondialogservice.h"

#include "platform/ui/fontresolution.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPrintPreviewDialog>

#include <algorithm>

namespace {
// Leaves the strike-out and underline boxes out of a font dialog.
void hideFontEffects(QFontDialog& dialog) {
    // The effects are the one group of the dialog that holds check boxes (strike-out and
    // underline); the sample is a group too, and stays. The sample's line takes no height of
    // its own but the rows the effects fill beside it, so it is kept that tall.
    QGroupBox* effects = nullptr;
    QGroupBox* sample = nullptr;
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        if (!group->findChildren<QCheckBox*>().isEmpty()) {
            effects = group;
        } else if (!group->findChildren<QLineEdit*>().isEmpty()) {
            sample = group;
        }
    }
    if (effects == nullptr) {
        return;
    }
    if (sample != nullptr) {
        sample->setMinimumHeight(std::max(sample->minimumHeight(), effects->sizeHint().height()));
    }
    effects->hide();
}
} // namespace

int QtCommonDialogService::printerCount() {
    return static_cast<int>(QPrinterInfo::availablePrinterNames().size());
}

bool QtCommonDialogService::askPrint(QPrinter& printer, const PrintDialogRequest& request) {
    QPrintDialog dialog(&printer, request.owner);
    if (!request.title.isEmpty()) {
        dialog.setWindowTitle(request.title);
    }
    dialog.setOption(QAbstractPrintDialog::PrintSelection, request.allowSelection);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, request.allowPageNumbers);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, request.allowPrintToFile);
    dialog.setPrintRange(request.allowSelection && request.selectionPreselected
                             ? QAbstractPrintDialog::Selection
                             : QAbstractPrintDialog::AllPages);
    return dialog.exec() == QDialog::Accepted;
}

bool QtCommonDialogService::askPageSetup(QPrinter& printer, QWidget* owner) {
    QPageSetupDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

void QtCommonDialogService::showPrintPreview(QPrinter& printer, QWidget* owner,
                                             const std::function<void(QPrinter*)>& paint) {
    QPrintPreviewDialog dialog(&printer, owner);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* p) { paint(p); });
    dialog.exec();
}

QString QtCommonDialogService::askSaveFileName(const SaveDialogRequest& request) {
    return QFileDialog::getSaveFileName(request.owner, request.title, request.fileName,
                                        request.filter);
}

QString QtCommonDialogService::askOpenFileName(const SaveDialogRequest& request) {
    const QString start = request.fileName.isEmpty() ? QDir::homePath() : request.fileName;
    return QFileDialog::getOpenFileName(request.owner, request.title, start, request.filter);
}

QString QtCommonDialogService::askFolder(const QString& title, const QString& startFolder,
                                         QWidget* owner) {
    const QString start = startFolder.isEmpty() ? QDir::homePath() : startFolder;
    return QFileDialog::getExistingDirectory(owner, title, start);
}

QStringList QtCommonDialogService::askOpenFileNames(const QString& title, QWidget* owner) {
    return QFileDialog::getOpenFileNames(owner, title, QString(), QStringLiteral("All Files (*)"));
}

std::optional<FontAnswer> QtCommonDialogService::askFont(const FontDialogRequest& request) {
    // Opened on the face Qt draws: given a face this machine lacks, the dialog would fall back
    // to the application's family at normal weight and hand that back on OK.
    const QFont shown = FontResolution::AsDrawn(request.initial);
    // Qt's own dialog, whatever the desktop offers: only it can leave the effects out.
    QFontDialog dialog(shown, request.owner);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    if (!request.title.isEmpty()) {
        dialog.setWindowTitle(request.title);
    }
    if (!request.withEffects) {
        hideFontEffects(dialog);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    // An OK that changed nothing gives back the font as it was given, its stored name
    // included, so that a setting is never rewritten by looking at it.
    const QFont selected = dialog.selectedFont();
    FontAnswer answer{FontResolution::SameChoice(selected, shown) ? request.initial : selected,
                      request.colour};
    if (request.withColour) {
        const QColor chosen = QColorDialog::getColor(request.colour, request.owner, request.title);
        if (chosen.isValid()) {
            answer.colour = chosen;
        }
    }
    return answer;
}
