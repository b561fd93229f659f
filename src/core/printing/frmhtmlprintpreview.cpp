#include "core/printing/frmhtmlprintpreview.h"

#include "core/debuglog.h"
#include "core/errorreport.h"
#include "platform/system/filesystemhelper.h"
#include "platform/system/folders.h"
#include "platform/ui/forms.h"
#include "platform/ui/mousepointer.h"
#include "platform/web/webbrowser.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
constexpr int px(int twips) {
    return twips / 15;
}

// The data folder's Temp folder: the graphics copies the templates point at.
QString dataTempFolder() {
    return Folders::CommonData() + QStringLiteral("/Kestova/Orlix/Temp");
}
} // namespace

frmHTMLPrintPreview::frmHTMLPrintPreview(QWidget* parent) : QWidget(parent, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Print Preview"));
    resize(800, 600);

    toolbarMessages = new QToolBar(this);
    toolbarMessages->setObjectName(QStringLiteral("toolbarMessages"));
    toolbarMessages->setMovable(false);
    toolbarMessages->setIconSize(QSize(16, 16));
    toolbarMessages->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    const auto addSeparator = [this](const QString& key) {
        toolbarMessages->addSeparator()->setObjectName(key);
    };
    const auto addButton = [this](const QString& key, const QString& text,
                                  QStyle::StandardPixmap icon) {
        QAction* action = toolbarMessages->addAction(style()->standardIcon(icon), text);
        action->setObjectName(key);
        connect(action, &QAction::triggered, this,
                [this, key] { toolbarMessages_ButtonClick(key); });
        return action;
    };

    cmdPrint = new QPushButton(QStringLiteral("&Print"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->setFixedWidth(px(855));
    connect(cmdPrint, &QPushButton::clicked, this, &frmHTMLPrintPreview::cmdPrint_Click);
    cmdPreview = new QPushButton(QStringLiteral("P&review"), this);
    cmdPreview->setObjectName(QStringLiteral("cmdPreview"));
    cmdPreview->setFixedWidth(px(1035));
    connect(cmdPreview, &QPushButton::clicked, this, &frmHTMLPrintPreview::cmdPreview_Click);

    addSeparator(QStringLiteral("printsep"));
    toolbarMessages->addWidget(cmdPrint)->setObjectName(QStringLiteral("print"));
    addSeparator(QStringLiteral("pagesetupsep"));
    addButton(QStringLiteral("pagesetup"), QString(), QStyle::SP_FileDialogDetailedView)
        ->setToolTip(QStringLiteral("Page Setup"));
    addSeparator(QStringLiteral("previewsep"));
    toolbarMessages->addWidget(cmdPreview)->setObjectName(QStringLiteral("preview"));
    addSeparator(QStringLiteral("savesep"));
    addButton(QStringLiteral("save"), QStringLiteral("Save"), QStyle::SP_DialogSaveButton)
        ->setToolTip(QStringLiteral("Save"));
    addSeparator(QStringLiteral("closesep"));
    addButton(QStringLiteral("close"), QStringLiteral("Close"), QStyle::SP_DialogCloseButton);

    WebBrowser1 = new WebBrowser(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->AllowFolder(dataTempFolder());
    connect(WebBrowser1, &WebBrowser::PrintFinished, this, [](bool ok) {
        if (!ok) {
            ReportError(QStringLiteral("while printing."), 482);
        }
    });
    connect(WebBrowser1, &WebBrowser::SaveFinished, this,
            [](bool ok, const QString& path, const QString& error) {
                if (!ok) {
                    ShowProblem(QStringLiteral("saving the document to '") + path +
                                    QLatin1Char('\''),
                                error);
                }
            });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbarMessages);
    layout->addWidget(WebBrowser1, 1);

    WebBrowser1->Navigate(QStringLiteral("about:blank"));
    // A loaded form like every window: it counts toward the window limit, and closing the
    // main window unloads it.
    Forms::Add(this);
}

frmHTMLPrintPreview::~frmHTMLPrintPreview() {
    Form_Unload();
}

void frmHTMLPrintPreview::AddFileToDelete(const QString& sFileName) {
    if (sFileName.isEmpty()) {
        return;
    }
    colFilesToDelete.append(sFileName);
}

void frmHTMLPrintPreview::AllowFolder(const QString& folder) {
    WebBrowser1->AllowFolder(folder);
}

void frmHTMLPrintPreview::PrintPreviewFile(const QString& Filename, QWidget* ParentForm,
                                           bool ShowPrintPreview) {
    if (ParentForm != nullptr && ParentForm != parentWidget()) {
        // Owned by the caller's window: it stays in front of it and goes with it.
        setParent(ParentForm, windowFlags() | Qt::Window);
    }
    show();
    WebBrowser1->AllowFolder(
        FileSystemHelper::FolderOfPath(QFileInfo(Filename).absoluteFilePath()));
    if (ShowPrintPreview) {
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = connect(WebBrowser1, &WebBrowser::LoadFinished, this, [this, once](bool) {
            disconnect(*once);
            cmdPreview_Click();
        });
    }
    if (!WebBrowser1->Navigate(Filename)) {
        DebugLog(QStringLiteral("The print preview could not show '") + Filename +
                 QLatin1Char('\''));
    }
}

void frmHTMLPrintPreview::cmdPrint_Click() {
    WebBrowser1->Print(this);
}

void frmHTMLPrintPreview::cmdPreview_Click() {
    const MousePointerGuard hourglass(MousePointerGuard::Hourglass);
    WebBrowser1->PrintPreview(this);
}

void frmHTMLPrintPreview::toolbarMessages_ButtonClick(const QString& key) {
    const QString k = key.toLower();
    if (k == QLatin1String("close")) {
        close();
    } else if (k == QLatin1String("pagesetup")) {
        WebBrowser1->PageSetup(this);
    } else if (k == QLatin1String("save")) {
        WebBrowser1->SaveAs(this);
    }
}

void frmHTMLPrintPreview::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    for (const QString& path : colFilesToDelete) {
        // A file already gone, or held by someone else, is simply left.
        if (!QFile::remove(path)) {
            DebugLog(QStringLiteral("Could not delete the print file '") + path + QLatin1Char('\''),
                     10);
        }
    }
}
