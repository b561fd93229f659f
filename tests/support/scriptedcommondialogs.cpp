#include "support/scriptedcommondialogs.h"

#include "support/testhome.h"

#include <QPrinter>

QString ScriptedCommonDialogs::nextPdf(const char* kind) {
    return TestHome() + QLatin1Char('/') + QLatin1String(kind) + QLatin1Char('-') +
           QString::number(++files_) + QStringLiteral(".pdf");
}

bool ScriptedCommonDialogs::askPrint(QPrinter& printer, const PrintDialogRequest& request) {
    printRequests_.push_back(request);
    PrintAnswer answer{false, false, QString()};
    if (!printAnswers_.empty()) {
        answer = printAnswers_.front();
        printAnswers_.pop_front();
    }
    if (!answer.accept) {
        return false;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = answer.outputFile.isEmpty() ? nextPdf("print") : answer.outputFile;
    printer.setOutputFileName(pdf);
    printer.setPrintRange(answer.selectionOnly ? QPrinter::Selection : QPrinter::AllPages);
    printed_ << pdf;
    return true;
}

bool ScriptedCommonDialogs::askPageSetup(QPrinter& /*printer*/, QWidget* /*owner*/) {
    ++pageSetups_;
    if (pageSetupAnswers_.empty()) {
        return false;
    }
    const bool accept = pageSetupAnswers_.front();
    pageSetupAnswers_.pop_front();
    return accept;
}

void ScriptedCommonDialogs::showPrintPreview(QPrinter& printer, QWidget* /*owner*/,
                                             const std::function<void(QPrinter*)>& paint) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = nextPdf("preview");
    printer.setOutputFileName(pdf);
    previewed_ << pdf;
    paint(&printer);
}

QString ScriptedCommonDialogs::askSaveFileName(const SaveDialogRequest& request) {
    saveRequests_.push_back(request);
    if (saveAnswers_.empty()) {
        return {};
    }
    const QString path = saveAnswers_.front();
    saveAnswers_.pop_front();
    return path;
}

QString ScriptedCommonDialogs::askOpenFileName(const SaveDialogRequest& request) {
    openRequests_.push_back(request);
    if (openAnswers_.empty()) {
        return {};
    }
    const QString path = openAnswers_.front();
    openAnswers_.pop_front();
    return path;
}

QString ScriptedCommonDialogs::askFolder(const QString& title, const QString& startFolder,
                                         QWidget* /*owner*/) {
    folderRequests_.push_back({title, startFolder});
    if (folderAnswers_.empty()) {
        return {};
    }
    const QString folder = folderAnswers_.front();
    folderAnswers_.pop_front();
    return folder;
}

QStringList ScriptedCommonDialogs::askOpenFileNames(const QString& /*title*/, QWidget* /*owner*/) {
    ++openNamesRequests_;
    if (openNamesAnswers_.empty()) {
        return {};
    }
    const QStringList paths = openNamesAnswers_.front();
    openNamesAnswers_.pop_front();
    return paths;
}

std::optional<FontAnswer> ScriptedCommonDialogs::askFont(const FontDialogRequest& request) {
    fontRequests_.push_back(request);
    if (fontAnswers_.empty()) {
        return std::nullopt;
    }
    const auto answer = std::move(fontAnswers_.front());
    fontAnswers_.pop_front();
    return answer(request.initial, request.colour);
}
