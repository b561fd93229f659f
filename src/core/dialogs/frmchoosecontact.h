#pragma once

#include "platform/directory/kvdirectory.h"

#include <QDialog>

class QPushButton;
class uContactsList;

// The modal dialog in which the user picks one contact of the directory, or adds a new one
// first. ChooseContact makes one, shows it, reads it and unloads it again.
class frmChooseContact : public QDialog {
    Q_OBJECT
public:
    explicit frmChooseContact(QWidget* parent = nullptr);
    ~frmChooseContact() override;

    // The chosen contact's Reference, 0 when the user cancelled. ShowContactTypes goes to the
    // list as its ContactTypes, AllowAddNew as DisplayNewContact; SearchString, trimmed,
    // becomes the list's search text when it is not blank. The program's directory is used.
    static qint32 ChooseContact(QWidget* ParentForm, qint32 ShowContactTypes, bool AllowAddNew,
                                const QString& SearchString);
    // The same over a given directory.
    static qint32 ChooseContact(KVDirectory* directory, QWidget* ParentForm,
                                qint32 ShowContactTypes, bool AllowAddNew,
                                const QString& SearchString);

    uContactsList* ctlContacts() const { return ctlContacts_; }
    QPushButton* cmdOK() const { return cmdOK_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }
    bool Cancelled() const { return cancelled_; }

    // Esc: Cancel.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void cmdOK_Click();
    void cmdCancel_Click();
    void ctlContacts_AddNewContact(const KVDirectory::ContactPtr& contact);

    uContactsList* ctlContacts_;
    QPushButton* cmdOK_;
    QPushButton* cmdCancel_;
    bool cancelled_ = false;
    bool justShown_ = false; // loaded on show: the activation that follows need not reload
};
