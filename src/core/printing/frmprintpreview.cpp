#include "core/printing/frmprintpreview.h"

#include "core/debuglog.h"
#include "core/errorreport.h"
#include "platform/richtext/qtrichtext.h"
#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"
#include "platform/system/filesystemhelper.h"
#include "platform/system/textcodec.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/forms.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStyle>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolBar>

#include <memory>

namespace {
// Layout lengths are kept in twips, as the form was designed; 15 twips make a pixel.
constexpr int px(int twips) {
    return twips / 15;
}

constexpr int kFormWidth = 9315;
constexpr int kFormHeight = 5520;

bool readDocument(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    if (file.size() > frmPrintPreview::kMaxDocumentBytes) {
        DebugLog(QStringLiteral("The document '") + path +
                 QStringLiteral("' is too large to show"));
        return false;
    }
    bytes = file.read(frmPrintPreview::kMaxDocumentBytes + 1);
    return bytes.size() <= frmPrintPreview::kMaxDocumentBytes;
}
} // namespace

frmPrintPreview::frmPrintPreview(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Print Preview"));
    resize(px(kFormWidth), px(kFormHeight));

    toolButtons = new QToolBar(this);
    toolButtons->setObjectName(QStringLiteral("toolButtons"));
    toolButtons->setMovable(false);
    toolButtons->setIconSize(QSize(16, 16));
    toolButtons->setGeometry(0, 0, px(9315), px(360));
    const auto addButton = [this](const QString& key, QStyle::StandardPixmap icon,
                                  const QString& tip) {
        toolButtons->addSeparator();
        QAction* action = toolButtons->addAction(style()->standardIcon(icon), QString());
        action->setObjectName(key);
        action->setToolTip(tip);
        connect(action, &QAction::triggered, this, [this, key] { toolButtons_ButtonClick(key); });
        return action;
    };
    btnSave = addButton(QStringLiteral("save"), QStyle::SP_DialogSaveButton,
                        QStringLiteral("Save this information"));
    btnRefresh = addButton(QStringLiteral("refresh"), QStyle::SP_BrowserReload,
                           QStringLiteral("Refresh this Information"));
    btnPrint = addButton(QStringLiteral("print"), QStyle::SP_FileDialogDetailedView,
                         QStringLiteral("Print this information"));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(px(8280), px(60), px(975), px(315));
    cmdOK->setDefault(true); // Enter presses it; Esc closes the dialog the same way
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    rtfFile = new QTextEdit(this);
    rtfFile->setObjectName(QStringLiteral("rtfFile"));
    rtfFile->setReadOnly(true);
    rtfFile->setAcceptRichText(true);
    rtfFile->setFont(QFont(QStringLiteral("Arial")));
    rtfFile->document()->setDefaultFont(QFont(QStringLiteral("Arial")));
    rtfFile->setGeometry(px(60), px(420), px(9195), px(5040));

    Form_Load();
    // A loaded form like every window: it counts toward the window limit, and closing the
    // main window unloads it.
    Forms::Add(this);
}

void frmPrintPreview::Form_Load() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.left() + (s.width() - width()) / 2, s.top() + (s.height() - height()) / 3);
    }
    btnPrint->setEnabled(CommonDialogs().printerCount() > 0);
}

void frmPrintPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The box and the toolbar follow the window; OK keeps its place at the right.
    const int margin = px(60);
    toolButtons->setGeometry(0, 0, width(), px(360));
    cmdOK->move(width() - margin - cmdOK->width(), px(60));
    rtfFile->setGeometry(margin, px(420), qMax(0, width() - 2 * margin),
                         qMax(0, height() - px(420) - margin));
}

void frmPrintPreview::DisplayFile(const QString& Filename, const QString& Caption, int Modal,
                                  const bool& Floating) {
    if (FileSystemHelper::FileSize(Filename) < 0) {
        return;
    }
    auto form = std::unique_ptr<frmPrintPreview>(new frmPrintPreview());
    if (Floating) {
        form->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    form->sDisplayedFile = Filename;
    form->setWindowTitle(!Caption.isEmpty() ? Caption
                                            : QStringLiteral("Print Preview - ") + Filename);
    form->LoadTheFile();
    if (Modal == 1) {
        RunDialog(*form, true);
        return; // the form goes with the showing
    }
    form->setAttribute(Qt::WA_DeleteOnClose);
    form.release()->show();
}

void frmPrintPreview::LoadTheFile() {
    rtfFile->clear();
    if (FileSystemHelper::FileSize(sDisplayedFile) > 0) {
        QByteArray bytes;
        if (readDocument(sDisplayedFile, bytes)) {
            RichTextDocument doc;
            QString why;
            if (RtfReader::Read(bytes, doc, &why)) {
                QtRichText::Fill(*rtfFile->document(), doc);
            } else {
                if (RtfReader::LooksLikeRtf(bytes)) {
                    DebugLog(QStringLiteral("The document '") + sDisplayedFile +
                             QStringLiteral("' is shown as plain text: ") + why);
                }
                rtfFile->setPlainText(TextCodec::DecodeTextFileBytes(bytes));
            }
        }
    }
    rtfFile->moveCursor(QTextCursor::Start);
}

void frmPrintPreview::toolButtons_ButtonClick(const QString& key) {
    const QString k = key.toLower();
    if (k == QLatin1String("save")) {
        SaveTheFile();
    } else if (k == QLatin1String("refresh")) {
        LoadTheFile();
    } else if (k == QLatin1String("print")) {
        PrintTheFile();
    }
}

void frmPrintPreview::PrintTheFile() {
    QPrinter printer(QPrinter::HighResolution);
    PrintDialogRequest request;
    request.title = QStringLiteral("Print Document");
    request.allowPageNumbers = false;
    request.allowPrintToFile = false;
    request.allowSelection = true;
    request.selectionPreselected = rtfFile->textCursor().hasSelection();
    request.owner = this;
    if (!CommonDialogs().askPrint(printer, request)) {
        return;
    }
    if (printer.printRange() != QPrinter::Selection) {
        QTextCursor cursor = rtfFile->textCursor();
        cursor.setPosition(0); // clears the selection: the whole text is printed
        rtfFile->setTextCursor(cursor);
    }
    printer.setDocName(windowTitle());
    rtfFile->print(&printer);
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted) {
        ReportError(QStringLiteral("while printing."), 482);
    }
}

void frmPrintPreview::SaveTheFile() {
    SaveDialogRequest request;
    request.title = QStringLiteral("Select File to Save to");
    request.filter = QStringLiteral("Rich Text Files (*.rtf);;Text files (*.txt);;All Files (*)");
    request.fileName = FileSystemHelper::FileNameOfPath(sDisplayedFile);
    request.owner = this;
    const QString path = CommonDialogs().askSaveFileName(request);
    if (path.isEmpty()) {
        return;
    }
    const bool asRtf = FileSystemHelper::FileExtension(path).toLower() == QLatin1String("rtf");
    const QByteArray bytes = asRtf ? RtfWriter::Write(QtRichText::From(*rtfFile->document()))
                                   : rtfFile->toPlainText().toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        ShowProblem(QStringLiteral("saving the file '") + path + QLatin1Char('\''),
                    file.errorString());
    }
}

void frmPrintPreview::done(int result) {
    QDialog::done(result);
    // However it closes: no longer on top, no file, an empty box.
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        setWindowFlag(Qt::WindowStaysOnTopHint, false);
    }
    sDisplayedFile.clear();
    rtfFile->clear();
}
