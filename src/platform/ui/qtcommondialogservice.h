#pragma once

#include "platform/ui/commondialogs.h"

class QtCommonDialogService : public CommonDialogService {
public:
    int printerCount() override;
    bool askPrint(QPrinter& printer, const PrintDialogRequest& request) override;
    bool askPageSetup(QPrinter& printer, QWidget* owner) override;
    void showPrintPreview(QPrinter& printer, QWidget* owner,
                          const std::function<void(QPrinter*)>& paint) override;
    QString askSaveFileName(const SaveDialogRequest& request) override;
    QString askOpenFileName(const SaveDialogRequest& request) override;
    QString askFolder(const QString& title, const QString& startFolder, QWidget* owner) override;
    QStringList askOpenFileNames(const QString& title, QWidget* owner) override;
    std::optional<FontAnswer> askFont(const FontDialogRequest& request) override;
};
