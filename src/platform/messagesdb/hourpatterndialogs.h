#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>

class QDialogButtonBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// The modal "Save Hours" box that asks for the name an hour pattern is kept under.
class HourPatternNameDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxName = 50;

    explicit HourPatternNameDialog(QWidget* owner = nullptr);
    QLineEdit* NameBox() const { return txtName_; }
    // The name typed, trimmed; "" for none.
    QString Name() const;

private:
    QLineEdit* txtName_ = nullptr;
};

// The modal "Choose Hours": the kept names in alphabetical order; OK gives the selected one,
// "Delete" removes one after a question. Deleting goes through the function given, which
// returns whether the name was removed.
class HourPatternChooser : public QDialog {
    Q_OBJECT
public:
    HourPatternChooser(const QStringList& names, std::function<bool(const QString&)> remove,
                       QWidget* owner = nullptr);
    QListWidget* Names() const { return lstNames_; }
    QPushButton* OkButton() const { return cmdOK_; }
    QPushButton* DeleteButton() const { return cmdDelete_; }
    // The selected name; "" for none.
    QString Chosen() const;
    void DeleteSelected();

private:
    void setButtons();

    std::function<bool(const QString&)> remove_;
    QListWidget* lstNames_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdDelete_ = nullptr;
};
