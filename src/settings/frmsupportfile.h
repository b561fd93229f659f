#pragma once

#include <QDialog>

#include <memory>

class KVDirectory;
class OrlixDatabase;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QWidget;
class SupportFileGenerator;

// "Create Kestova Support File": the user says what went wrong and gets one archive of the
// settings, the debug logs and copies of the databases (the directory's when ticked), saved
// where they choose. Made with the database and directory it collects, so tests hand their own.
class frmSupportFile : public QDialog {
    Q_OBJECT
public:
    frmSupportFile(OrlixDatabase* database, KVDirectory* directory, QWidget* owner = nullptr);
    ~frmSupportFile() override;

    void cmdMakeFile_Click();
    void cmdEditPerson_Click();
    void cmdStop_Click();
    bool IsBusy() const { return busy_; }
    // Above this size the user is warned before the file is sent (20 MB; tests set it lower).
    void SetLargeFileLimit(qint64 bytes) { largeFileLimit_ = bytes; }
    // How long an upload may stay without an answer before it counts as no connection.
    void SetIdleTimeoutMs(int ms) { idleTimeoutMs_ = ms; }

    void done(int result) override;

    static QString CfgFileSection() { return QStringLiteral("Orlixv1"); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool refuseWhileBusy();
    void collect(SupportFileGenerator& generator);
    void saveToFile(SupportFileGenerator& generator);
    void UploadOrSave(SupportFileGenerator& generator);
    bool askDetails(SupportFileGenerator& generator);
    void ShowProgressPanel(const QString& caption);
    void HideProgressPanel();

    OrlixDatabase* database_ = nullptr;
    KVDirectory* directory_ = nullptr;
    QPlainTextEdit* txtReason_ = nullptr;
    QLineEdit* txtSupportID_ = nullptr;
    QCheckBox* chkSendDirectory_ = nullptr;
    QPushButton* cmdMakeFile_ = nullptr;
    QPushButton* cmdEditPerson_ = nullptr;
    QWidget* pnlStatus_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    QProgressBar* prgProgress_ = nullptr;
    QPushButton* cmdStop_ = nullptr;
    bool busy_ = false;
    bool shownBefore_ = false;
    bool stopRequested_ = false;
    qint64 largeFileLimit_ = 20LL * 1024 * 1024;
    int idleTimeoutMs_ = 60000;
    int idleHeight_ = 0;
};
