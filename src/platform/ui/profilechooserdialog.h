#pragma once

#include <QDialog>
#include <QStringList>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;

// Asks which profile this run works with: one of the existing profiles, or a new name.
class ProfileChooserDialog : public QDialog {
    Q_OBJECT
public:
    ProfileChooserDialog(const QStringList& profiles, const QString& proposed, QWidget* owner);

    // The chosen or typed name; "" when nothing valid is chosen.
    QString choice() const;

    QListWidget* profileList() const { return list_; }
    QLineEdit* newNameEdit() const { return newName_; }
    QDialogButtonBox* buttons() const { return buttons_; }
    QLabel* problemLabel() const { return problem_; }

    // Shown modally through the dialog seam: "" on Cancel or the close box.
    static QString Ask(const QStringList& profiles, const QString& proposed, QWidget* owner);

private:
    void updateState();

    QListWidget* list_ = nullptr;
    QLineEdit* newName_ = nullptr;
    QLabel* problem_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};
