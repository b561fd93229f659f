#pragma once

#include <QDialog>

class KVDirectory;
class QListWidget;

// The directory's settings: its users (add, edit, remove, reset a password) and their two
// sets of rights. Every change is saved at once through the directory, which judges the
// logged-in user's rights; a refusal is told in a message box.
class DirectorySettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit DirectorySettingsDialog(KVDirectory& directory, QWidget* owner = nullptr);

    // Selects the user with this reference; false when the list does not hold it.
    bool SelectUser(qint32 reference);
    void Refresh();

private Q_SLOTS:
    void onAdd();
    void onEdit();
    void onRemove();
    void onPassword();

private:
    qint32 selectedReference() const;

    KVDirectory& directory_;
    QListWidget* lstUsers_ = nullptr;
};
