#include "core/printing/printfile.h"

#include "core/errorreport.h"
#include "core/generalroutines.h"
#include "core/printing/frmhtmlprintpreview.h"
#include "platform/system/filesystemhelper.h"

#include <QFile>
#include <QSaveFile>

QString WritePrintFile(const QString& templatePath, const QString& text) {
    // Only the folder of a fresh temporary name is wanted: the scratch file goes at once.
    const QString scratch = GetTempFile(QString(), QStringLiteral("TMP"));
    if (scratch.isEmpty()) {
        ShowProblem(QStringLiteral("finding a folder for the print file"), QString());
        return {};
    }
    QFile::remove(scratch);
    const QString path = FileSystemHelper::FolderOfPath(scratch) + QLatin1Char('/') +
                         FileSystemHelper::FileNameOfPath(templatePath);
    const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + text.toUtf8() + '\n';
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        ShowProblem(QStringLiteral("writing the print file '") + path + QLatin1Char('\''),
                    file.errorString());
        return {};
    }
    return path;
}

frmHTMLPrintPreview* PreviewPrintFile(const QString& path, QWidget* parent,
                                      const QString& templatesFolder) {
    auto* preview = new frmHTMLPrintPreview();
    preview->AllowFolder(templatesFolder);
    preview->AddFileToDelete(path);
    preview->PrintPreviewFile(path, parent, false);
    return preview;
}
