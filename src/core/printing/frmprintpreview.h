#pragma once

#include <QDialog>
#include <QString>

class QAction;
class QPushButton;
class QTextEdit;
class QToolBar;

// The document print preview: shows a rich-text or plain-text file read-only (the update
// notes), and lets the user save it as RTF or text, load it again and print it. Its one
// entry point is DisplayFile; the controls are public for the tests, as a form's are.
class frmPrintPreview : public QDialog {
    Q_OBJECT
public:
    // Files above this size are not loaded (the box stays empty); notes are kilobytes.
    static constexpr qint64 kMaxDocumentBytes = 64 * 1024 * 1024;

    // Shows Filename with Caption ("" = "Print Preview - " & Filename), modally when Modal
    // is 1 (the form is gone when this returns) or modeless when 0, on top of every window
    // when Floating. A missing file shows nothing and says nothing.
    static void DisplayFile(const QString& Filename, const QString& Caption, int Modal,
                            const bool& Floating);

    const QString& DisplayedFile() const { return sDisplayedFile; }

    QToolBar* toolButtons = nullptr;
    QAction* btnSave = nullptr;
    QAction* btnRefresh = nullptr;
    QAction* btnPrint = nullptr;
    QPushButton* cmdOK = nullptr;
    QTextEdit* rtfFile = nullptr;

    // What the toolbar's buttons do, by key ("save", "refresh", "print"; any case).
    void toolButtons_ButtonClick(const QString& key);

protected:
    void done(int result) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    explicit frmPrintPreview(QWidget* parent = nullptr);

    void Form_Load();
    void LoadTheFile();
    void SaveTheFile();
    void PrintTheFile();

    QString sDisplayedFile;
};
