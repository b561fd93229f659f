#pragma once

#include "platform/messagesdb/folderdraft.h"

#include <QDialog>

class OrlixDatabase;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTreeWidget;

// The messages database's own settings: the station's details and the folder tree. Every
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
    QTabWidget* tabs_ = nullptr;
    QLineEdit* txtStationName_ = nullptr;
    QPlainTextEdit* txtStationAddress_ = nullptr;
    QLineEdit* txtStationPhone_ = nullptr;
    QLineEdit* txtStationSmsPhone_ = nullptr;
    QLineEdit* txtStationCompany_ = nullptr;
    QLineEdit* txtStationVat_ = nullptr;
    QTreeWidget* tvwFolders_ = nullptr;
    QLineEdit* txtFolderName_ = nullptr;
};
