#pragma once

#include "platform/messagesdb/folderdraft.h"
#include "platform/messagesdb/templatedraft.h"

#include <QDialog>

class OrlixDatabase;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTabWidget;
class QTreeWidget;

// The messages database's own settings: the station's details, the folder tree and the print
// templates with the message-list page and their pictures. Every
// change waits in the dialog; OK checks and stores them all in one transaction, Cancel and Esc
// drop them. A store that fails keeps the dialog open with its entries and says why.
class DatabaseSettingsDialog : public QDialog {
    Q_OBJECT
public:
    enum Tab { StationTab = 0, FoldersTab = 1, TemplatesTab = 2 };

    explicit DatabaseSettingsDialog(OrlixDatabase& database, QWidget* owner = nullptr);

private:
    QWidget* buildStation();
    QWidget* buildFolders();
    QWidget* buildTemplates();
    QString category() const;
    QString selectedTemplate() const;
    void fillTemplates(const QString& select);
    QString askFile(const QString& title, const QString& filter);
    void addTemplate();
    void renameTemplate();
    void removeTemplate();
    void openTemplate();
    void addGraphic();
    void removeGraphic();
    void fillFolders(qint32 select);
    qint32 selectedFolder() const;
    void tell(const QString& problem);
    void addFolder();
    void renameFolder();
    void moveFolder(int step);
    void removeFolder();
    void okClicked();

    OrlixDatabase& database_;
    FolderDraft draft_;
    TemplateDraft templates_;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* txtStationName_ = nullptr;
    QPlainTextEdit* txtStationAddress_ = nullptr;
    QLineEdit* txtStationPhone_ = nullptr;
    QLineEdit* txtStationSmsPhone_ = nullptr;
    QLineEdit* txtStationCompany_ = nullptr;
    QLineEdit* txtStationVat_ = nullptr;
    QTreeWidget* tvwFolders_ = nullptr;
    QLineEdit* txtFolderName_ = nullptr;
    QComboBox* cboCategory_ = nullptr;
    QListWidget* lstTemplates_ = nullptr;
    QLineEdit* txtTemplateName_ = nullptr;
    QListWidget* lstGraphics_ = nullptr;
};
