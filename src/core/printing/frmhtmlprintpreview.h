#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QAction;
class QPushButton;
class QToolBar;
class WebBrowser;

// The HTML print preview: shows one HTML document (a filled template in a temporary file)
// and lets the user print it, see the print preview, set up the page, save it or close the
// window. It owns the files it is given and deletes them when it goes. Closing it frees it.
class frmHTMLPrintPreview : public QWidget {
    Q_OBJECT
public:
    explicit frmHTMLPrintPreview(QWidget* parent = nullptr);
    ~frmHTMLPrintPreview() override;

    // Remembers a file to delete when the window goes; "" is ignored, duplicates are kept.
    void AddFileToDelete(const QString& sFileName);
    const QStringList& FilesToDelete() const { return colFilesToDelete; }

    // A folder whose files the document may show besides its own folder and the data
    // folder's Temp folder (the templates folder).
    void AllowFolder(const QString& folder);

    // Shows the window modeless, owned by ParentForm (in front of it), and the document;
    // returns at once. With ShowPrintPreview the print preview follows the load.
    void PrintPreviewFile(const QString& Filename, QWidget* ParentForm, bool ShowPrintPreview);

    // What a toolbar button does, by key ("pagesetup", "save", "close"; any case).
    void toolbarMessages_ButtonClick(const QString& key);

    WebBrowser* WebBrowser1 = nullptr;
    QToolBar* toolbarMessages = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdPreview = nullptr;

private:
    void cmdPrint_Click();
    void cmdPreview_Click();
    void Form_Unload();

    QStringList colFilesToDelete;
    bool unloaded_ = false;
};
