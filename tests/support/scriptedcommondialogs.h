#pragma once

#include "platform/ui/commondialogs.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

// Answers every common dialog of the code under test. Printing and previews go to PDF files
// in the test's home, so a test can check that something was drawn. Unanswered dialogs
// are cancelled.
class ScriptedCommonDialogs : public CommonDialogService {
public:
    struct PrintAnswer {
        bool accept = true;
        bool selectionOnly = false;
        QString outputFile; // "" = a new PDF in the test's home
    };

    int printerCount() override { return printers_; }
    bool askPrint(QPrinter& printer, const PrintDialogRequest& request) override;
    bool askPageSetup(QPrinter& printer, QWidget* owner) override;
    void showPrintPreview(QPrinter& printer, QWidget* owner,
                          const std::function<void(QPrinter*)>& paint) override;
    QString askSaveFileName(const SaveDialogRequest& request) override;
    QString askOpenFileName(const SaveDialogRequest& request) override;
    QString askFolder(const QString& title, const QString& startFolder, QWidget* owner) override;
    QStringList askOpenFileNames(const QString& title, QWidget* owner) override;
    // An empty list answers as Cancel does.
    void queueOpenFileNames(const QStringList& paths) { openNamesAnswers_.push_back(paths); }
    int openFileRequests() const { return openNamesRequests_; }
    std::optional<FontAnswer> askFont(const FontDialogRequest& request) override;

    struct FolderRequest {
        QString title;
        QString startFolder;
    };
    using FontRequest = FontDialogRequest;
    // "" answers as Cancel does.
    void queueFolder(const QString& folder) { folderAnswers_.push_back(folder); }
    // Nothing answers as Cancel does.
    void queueFont(std::optional<FontAnswer> answer) {
        fontAnswers_.push_back(
            [answer = std::move(answer)](const QFont&, const QColor&) { return answer; });
    }
    // OK on what the dialog opened with, after the user's changes (none: OK alone).
    void queueFontFromStart(std::function<void(QFont&)> change = {}) {
        fontAnswers_.push_back(
            [change = std::move(change)](const QFont& initial, const QColor& colour) {
                FontAnswer answer{initial, colour};
                if (change) {
                    change(answer.font);
                }
                return std::optional<FontAnswer>(answer);
            });
    }
    const std::vector<FolderRequest>& folderRequests() const { return folderRequests_; }
    const std::vector<FontRequest>& fontRequests() const { return fontRequests_; }

    void setPrinterCount(int n) { printers_ = n; }
    void queuePrint(PrintAnswer answer) { printAnswers_.push_back(answer); }
    void queuePageSetup(bool accept) { pageSetupAnswers_.push_back(accept); }
    void queueSaveFileName(const QString& path) { saveAnswers_.push_back(path); }
    // "" answers as Cancel does.
    void queueOpenFileName(const QString& path) { openAnswers_.push_back(path); }
    const std::vector<SaveDialogRequest>& openRequests() const { return openRequests_; }

    const std::vector<PrintDialogRequest>& printRequests() const { return printRequests_; }
    const std::vector<SaveDialogRequest>& saveRequests() const { return saveRequests_; }
    int pageSetupCount() const { return pageSetups_; }
    // PDF files written by accepted prints and by previews, in order.
    const QStringList& printedFiles() const { return printed_; }
    const QStringList& previewFiles() const { return previewed_; }

private:
    QString nextPdf(const char* kind);

    int printers_ = 1;
    int pageSetups_ = 0;
    int files_ = 0;
    std::deque<PrintAnswer> printAnswers_;
    std::deque<bool> pageSetupAnswers_;
    std::deque<QString> saveAnswers_;
    std::deque<QString> openAnswers_;
    std::vector<SaveDialogRequest> openRequests_;
    std::deque<QString> folderAnswers_;
    std::deque<QStringList> openNamesAnswers_;
    int openNamesRequests_ = 0;
    std::deque<std::function<std::optional<FontAnswer>(const QFont&, const QColor&)>> fontAnswers_;
    std::vector<FolderRequest> folderRequests_;
    std::vector<FontRequest> fontRequests_;
    std::vector<PrintDialogRequest> printRequests_;
    std::vector<SaveDialogRequest> saveRequests_;
    QStringList printed_;
    QStringList previewed_;
};

// The double installed for the running test.
ScriptedCommonDialogs& TestCommonDialogs();
