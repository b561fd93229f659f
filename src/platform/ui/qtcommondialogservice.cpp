#include "platform/ui/qtcommondialogservice.h"

#include <QDialog>
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPrintPreviewDialog>

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
