#include "settings/frmsupportfile.h"

#include "core/debuglog.h"
#include "core/errorreport.h"
#include "mainwindow/frmmain.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/support/supportdetailsdialog.h"
#include "platform/support/supportfilegenerator.h"
#include "platform/system/appinfo.h"
#include "platform/system/desktopopener.h"
#include "platform/system/filesystemhelper.h"
#include "platform/system/formhelper.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/mousepointer.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QStandardPaths>
#include <QSysInfo>
#include <QVBoxLayout>

namespace {
// Every ordinary file of a folder: regular, not a link, not hidden; in name order, any case.
void addFolderFiles(SupportFileGenerator& generator, const QString& folder) {
    if (folder.isEmpty()) {
        return;
    }
    const QFileInfoList files =
        QDir(folder).entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& info : files) {
        if (!info.fileName().startsWith(QLatin1Char('.'))) {
            generator.AddFile(info.absoluteFilePath());
        }
    }
}
} // namespace

frmSupportFile::frmSupportFile(OrlixDatabase* database, KVDirectory* directory, QWidget* owner)
    : QDialog(owner), database_(database), directory_(directory) {
    setObjectName(QStringLiteral("frmSupportFile"));
    setWindowTitle(QStringLiteral("Create Kestova Support File"));

    auto* fraReason = new QGroupBox(QStringLiteral("&Reason for sending Support File:"), this);
    txtReason_ = new QPlainTextEdit(fraReason);
    txtReason_->setObjectName(QStringLiteral("txtReason"));
    txtReason_->setTabChangesFocus(true);
    (new QVBoxLayout(fraReason))->addWidget(txtReason_);

    auto* idRow = new QHBoxLayout;
    auto* lblId = new QLabel(QStringLiteral("Kestova Support &ID:"), this);
    txtSupportID_ = new QLineEdit(this);
    txtSupportID_->setObjectName(QStringLiteral("txtSupportID"));
    txtSupportID_->setFont(QFont(QStringLiteral("Courier New")));
    // Only digits, typed or pasted: the id reads as one tag with the labels either side.
    txtSupportID_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]*")), txtSupportID_));
    lblId->setBuddy(txtSupportID_);
    FormHelper::SelectAllTextOnFocus(txtSupportID_);
    idRow->addWidget(lblId);
    idRow->addWidget(new QLabel(QStringLiteral("[KVX"), this));
    idRow->addWidget(txtSupportID_);
    idRow->addWidget(new QLabel(QStringLiteral("]"), this));
    idRow->addStretch();

    auto* fraInfo = new QGroupBox(QStringLiteral("Information to Send:"), this);
    chkSendDirectory_ = new QCheckBox(QStringLiteral("Send Kestova &Directory"), fraInfo);
    chkSendDirectory_->setObjectName(QStringLiteral("chkSendDirectory"));
    chkSendDirectory_->setChecked(true);
    (new QVBoxLayout(fraInfo))->addWidget(chkSendDirectory_);

    auto* buttons = new QHBoxLayout;
    cmdMakeFile_ = new QPushButton(QStringLiteral("Make File"), this);
    cmdMakeFile_->setObjectName(QStringLiteral("cmdMakeFile"));
    cmdMakeFile_->setDefault(true);
    cmdEditPerson_ = new QPushButton(QStringLiteral("Edit Personal Details"), this);
    cmdEditPerson_->setObjectName(QStringLiteral("cmdEditPerson"));
    // The help file as Help, Contents opens it; no button without one.
    auto* cmdHelp = new QPushButton(QStringLiteral("Help"), this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    cmdHelp->setAutoDefault(false);
    cmdHelp->setVisible(FileSystemHelper::FileSize(frmMain::HelpFilePath()) > 0);
    buttons->addWidget(cmdMakeFile_);
    buttons->addWidget(cmdEditPerson_);
    buttons->addStretch();
    buttons->addWidget(cmdHelp);

    pnlStatus_ = new QWidget(this);
    pnlStatus_->setObjectName(QStringLiteral("pnlStatus"));
    auto* status = new QHBoxLayout(pnlStatus_);
    lblStatus_ = new QLabel(pnlStatus_);
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    prgProgress_ = new QProgressBar(pnlStatus_);
    prgProgress_->setObjectName(QStringLiteral("prgProgress"));
    prgProgress_->setRange(0, 100);
    cmdStop_ = new QPushButton(QStringLiteral("Stop"), pnlStatus_);
    cmdStop_->setObjectName(QStringLiteral("cmdStop"));
    status->addWidget(lblStatus_);
    status->addWidget(prgProgress_, 1);
    status->addWidget(cmdStop_);
    pnlStatus_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraReason, 1);
    layout->addLayout(idRow);
    layout->addWidget(fraInfo);
    layout->addLayout(buttons);
    layout->addWidget(pnlStatus_);
    resize(460, 360);

    connect(cmdMakeFile_, &QPushButton::clicked, this, [this] { cmdMakeFile_Click(); });
    connect(cmdEditPerson_, &QPushButton::clicked, this, [this] { cmdEditPerson_Click(); });
    connect(cmdStop_, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
    connect(cmdHelp, &QPushButton::clicked, this, [] {
        const QString help = frmMain::HelpFilePath();
        if (FileSystemHelper::FileSize(help) > 0) {
            OpenWithDesktop(QUrl::fromLocalFile(help));
        }
    });
}

frmSupportFile::~frmSupportFile() = default;

void frmSupportFile::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The id is what support asks for first; coming back to the window later keeps the
    // user's place.
    if (!event->spontaneous() && !shownBefore_) {
        shownBefore_ = true;
        if (txtSupportID_->isEnabled()) {
            txtSupportID_->setFocus(Qt::OtherFocusReason);
        }
    }
}

void frmSupportFile::ShowProgressPanel(const QString& caption) {
    lblStatus_->setText(caption);
    lblStatus_->show();
    prgProgress_->setValue(0);
    prgProgress_->show();
    cmdStop_->setEnabled(true);
    cmdStop_->show();
    if (pnlStatus_->isHidden()) {
        // The window grows by the panel below everything else, and shrinks back without it.
        idleHeight_ = height();
        pnlStatus_->show();
        resize(width(), idleHeight_ + layout()->spacing() + pnlStatus_->sizeHint().height());
    }
}

void frmSupportFile::HideProgressPanel() {
    if (!pnlStatus_->isHidden()) {
        pnlStatus_->hide();
        resize(width(), idleHeight_);
    }
    lblStatus_->clear();
    prgProgress_->setValue(0);
    cmdStop_->setEnabled(true);
}

void frmSupportFile::cmdStop_Click() {
    cmdStop_->setEnabled(false);
    stopRequested_ = true;
    lblStatus_->setText(QStringLiteral("Stopping..."));
}

void frmSupportFile::cmdEditPerson_Click() {
    SupportDetailsDialog dialog(SupportDetailsDialog::Load(CfgFileSection()), this);
    if (RunDialog(dialog, true) == QDialog::Accepted) {
        SupportDetailsDialog::Save(CfgFileSection(), dialog.Details());
    }
}

void frmSupportFile::collect(SupportFileGenerator& generator) {
    generator.AddRegistryKey(RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE\\Kestova"));
    generator.AddRegistryKey(RegistryRoot::CurrentUser, QStringLiteral("SOFTWARE\\Kestova"));
    if (database_ != nullptr && database_->IsOpen()) {
        generator.AddMessagesDatabase(database_);
        addFolderFiles(generator, database_->TemplatesPath());
    }
    if (chkSendDirectory_->isChecked() && directory_ != nullptr && directory_->IsOpen()) {
        generator.AddDirectory(directory_);
        addFolderFiles(generator, directory_->FilesFolder());
    }
    const QString log = DebugLogFilePath();
    if (!log.isEmpty()) {
        generator.AddRecentFiles(QFileInfo(log).absolutePath(),
                                 AppInfo::EXEName() + QStringLiteral(".*.log"), 14);
    }
}

void frmSupportFile::cmdMakeFile_Click() {
    if (!cmdMakeFile_->isEnabled() || busy_) {
        return;
    }
    if (txtReason_->toPlainText().trimmed().isEmpty()) {
        MsgBox(QStringLiteral("You must give a reason for this sending this Support File"),
               MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        return;
    }
    const QString id = txtSupportID_->text().trimmed();
    if (id.isEmpty() &&
        MsgBox(QStringLiteral("You should enter a Support ID from Kestova Technical Support "
                              "before you create this Support File.\nIf you do not have one, "
                              "you should email ") +
                   AppInfo::SupportEmail() +
                   QStringLiteral(" and you will recieve a code by automated reply.\n\n"
                                  "Do you want to continue?"),
               MsgIcon::Question, MsgButtons::YesNo, 1, this) != MsgResult::Yes) {
        return;
    }
    busy_ = true;
    stopRequested_ = false;
    cmdMakeFile_->setEnabled(false);
    cmdEditPerson_->setEnabled(false);

    SupportFileGenerator generator;
    generator.SetSubject(id.isEmpty() ? QString() : QStringLiteral("[KVX") + id + QLatin1Char(']'));
    QString station =
        database_ != nullptr && database_->IsOpen() ? database_->StationName() : QString();
    if (station.trimmed().isEmpty()) {
        station = QSysInfo::machineHostName();
    }
    generator.SetTitle(QStringLiteral("%1 v%2.%3.%4 Support File for %5")
                           .arg(AppInfo::ProductName())
                           .arg(AppInfo::Major())
                           .arg(AppInfo::Minor())
                           .arg(AppInfo::Revision())
                           .arg(station));
    generator.SetReason(txtReason_->toPlainText());
    generator.SetLargeFileLimit(largeFileLimit_);
    generator.SetIdleTimeoutMs(idleTimeoutMs_);
    generator.SetDetails(SupportDetailsDialog::Load(CfgFileSection()));
    connect(&generator, &SupportFileGenerator::Progress, this, [this, &generator](int percent) {
        prgProgress_->setValue(percent);
        // Lets Stop be pressed while the archive is made.
        QCoreApplication::processEvents();
        if (stopRequested_) {
            generator.Cancel();
        }
    });
    // Stop during a copy fails only that copy, as the copy's own Cancel would.
    connect(&generator, &SupportFileGenerator::Copying, this, [this](const QString& caption) {
        stopRequested_ = false;
        cmdStop_->setEnabled(true);
        lblStatus_->setText(caption);
    });
    connect(&generator, &SupportFileGenerator::Creating, this, [this] {
        // A Stop during a copy has failed only that copy; the making goes on.
        stopRequested_ = false;
        cmdStop_->setEnabled(true);
        lblStatus_->setText(QStringLiteral("Creating..."));
    });
    connect(&generator, &SupportFileGenerator::CreateError, this, [this](const QString& why) {
        ReportError(QStringLiteral("creating the Support File - ") + why, 0, false);
        HideProgressPanel();
    });
    connect(&generator, &SupportFileGenerator::Sending, this,
            [this] { ShowProgressPanel(QStringLiteral("Sending...")); });
    connect(&generator, &SupportFileGenerator::SendProgress, this, [this, &generator](int percent) {
        prgProgress_->setValue(percent);
        if (stopRequested_) {
            generator.Cancel();
        }
    });
    connect(&generator, &SupportFileGenerator::Sent, this, [this] {
        HideProgressPanel();
        MsgBox(QStringLiteral("Your Support File has been successfully sent to Kestova"),
               MsgIcon::Information, MsgButtons::OK, 0, this);
    });
    connect(&generator, &SupportFileGenerator::SendError, this, [this](const QString& why) {
        ReportError(QStringLiteral("uploading the Support File - ") + why, 0, false);
        HideProgressPanel();
    });
    connect(&generator, &SupportFileGenerator::Warning, this, [this](long code, bool* cancel) {
        if (code == SupportFileGenerator::kLargeFileWarning &&
            MsgBox(QStringLiteral("Caution - this Support File is quite large and may take some "
                                  "time to send.\n\nAre you sure you want to continue?"),
                   MsgIcon::Question, MsgButtons::YesNo, 0, this) != MsgResult::Yes) {
            *cancel = true;
        }
    });

    int result = SupportFileGenerator::DetailsMissing;
    {
        MousePointerGuard hourglass(MousePointerGuard::Hourglass);
        collect(generator);
        ShowProgressPanel(QStringLiteral("Creating..."));
        result = generator.Make();
        while (result == SupportFileGenerator::DetailsMissing) {
            SupportDetailsDialog dialog(generator.Details(), this);
            MousePointerGuard normal(MousePointerGuard::Default);
            if (RunDialog(dialog, true) != QDialog::Accepted) {
                break;
            }
            SupportDetailsDialog::Save(CfgFileSection(), dialog.Details());
            generator.SetDetails(dialog.Details());
            result = generator.Make();
        }
    }
    HideProgressPanel();
    if (result == SupportFileGenerator::Made) {
        for (const QString& left : generator.LeftOut()) {
            if (left.startsWith(SupportFileGenerator::MessagesCopyName())) {
                MsgBox(QStringLiteral("The Orlix Database could not be copied to include in "
                                      "this support file so it will not be sent"),
                       MsgIcon::Exclamation, MsgButtons::OK, 0, this);
            } else if (left.startsWith(SupportFileGenerator::DirectoryCopyName())) {
                MsgBox(QStringLiteral("The Kestova Directory could not be copied to include in "
                                      "this support file so it will not be sent"),
                       MsgIcon::Exclamation, MsgButtons::OK, 0, this);
            }
        }
        UploadOrSave(generator);
    }
    generator.Finish();
    busy_ = false;
    cmdMakeFile_->setEnabled(true);
    cmdEditPerson_->setEnabled(true);
}

bool frmSupportFile::askDetails(SupportFileGenerator& generator) {
    SupportDetailsDialog dialog(generator.Details(), this);
    if (RunDialog(dialog, true) != QDialog::Accepted) {
        return false;
    }
    SupportDetailsDialog::Save(CfgFileSection(), dialog.Details());
    generator.SetDetails(dialog.Details());
    return true;
}

void frmSupportFile::UploadOrSave(SupportFileGenerator& generator) {
    if (MsgBox(QStringLiteral("Do you want to automatically upload this Support File to "
                              "Kestova?\n\nNote that you must be connected to the internet "
                              "before clicking OK"),
               MsgIcon::Question, MsgButtons::YesNo, 0, this) != MsgResult::Yes) {
        saveToFile(generator);
        return;
    }
    const QString closing = QStringLiteral("\n\nFor more information, please contact Kestova "
                                           "Technical Support\n\nYou will now be able to save "
                                           "the file to your local system");
    const QString version = QStringLiteral("%1.%2.%3")
                                .arg(AppInfo::Major())
                                .arg(AppInfo::Minor())
                                .arg(AppInfo::Revision());
    int r = SupportFileGenerator::SendFailed;
    for (;;) {
        stopRequested_ = false;
        r = generator.Upload(CfgFileSection(), AppInfo::ProductName(), version, QString());
        HideProgressPanel();
        if (r == SupportFileGenerator::NoConnection) {
            MsgBox(QStringLiteral("You can not upload a support file because a connection to the "
                                  "Internet could not be found.") +
                       closing,
                   MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        } else if (r == SupportFileGenerator::NoUploadAddress) {
            MsgBox(QStringLiteral("You can not upload a support file because the information "
                                  "could not be read to determine where to upload the Support "
                                  "File to.") +
                       closing,
                   MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        } else if (r == SupportFileGenerator::AddressRefused) {
            MsgBox(QStringLiteral("You must enter a valid email address to send the support file "
                                  "to Kestova"),
                   MsgIcon::Exclamation, MsgButtons::OK, 0, this);
            if (askDetails(generator)) {
                continue;
            }
        } else if (r == SupportFileGenerator::AddressBlocked) {
            MsgBox(QStringLiteral("You can not upload a support file because your email address "
                                  "has been blocked.") +
                       closing,
                   MsgIcon::Exclamation, MsgButtons::OK, 0, this);
            if (askDetails(generator)) {
                continue;
            }
        }
        break;
    }
    if (r != SupportFileGenerator::Uploaded && r != SupportFileGenerator::Accepted) {
        saveToFile(generator);
    }
}

void frmSupportFile::saveToFile(SupportFileGenerator& generator) {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) {
        documents = QDir::homePath();
    }
    const QString proposed =
        documents + QStringLiteral("/Orlix Support File ") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh-mm")) +
        QStringLiteral(".zip");
    const QString path =
        CommonDialogs().askSaveFileName({QStringLiteral("Save Support File"), proposed,
                                         QStringLiteral("Support Files (*.zip)"), this});
    if (path.isEmpty()) {
        return;
    }
    QString why;
    if (generator.SaveTo(path, &why)) {
        MsgBox(QStringLiteral("Your Support File has been successfully saved to ") + path,
               MsgIcon::Information, MsgButtons::OK, 0, this);
    } else {
        MsgBox(QStringLiteral("There was a problem saving the Support File to ") + path +
                   QStringLiteral(" and the Description of the error was:\n\n") + why,
               MsgIcon::Information, MsgButtons::OK, 0, this);
    }
}

bool frmSupportFile::refuseWhileBusy() {
    if (!busy_) {
        return false;
    }
    MsgBox(QStringLiteral("You cannot close this window while a support file is being "
                          "generated/uploaded"),
           MsgIcon::Exclamation, MsgButtons::OK, 0, this);
    return true;
}

void frmSupportFile::done(int result) {
    if (refuseWhileBusy()) {
        return;
    }
    QDialog::done(result);
}

void frmSupportFile::closeEvent(QCloseEvent* event) {
    if (refuseWhileBusy()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
