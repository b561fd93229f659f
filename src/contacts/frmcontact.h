#pragma once

#include "core/windows/editwindows.h"

#include <QDialog>
#include <QMap>

#include <memory>

class DirectoryContact;
class KVDirectory;
class ListView;
class QAction;
class QFrame;
class QGroupBox;
class QPushButton;
class QToolBar;
class uContact;

// One contact or user of the directory for viewing and editing. The fields belong to the
// directory's contact control; the window adds the toolbar, OK and Cancel, the save rules on
// the logged-in user's rights, the address label, the save question on closing and the
// contact's messages and prizes on two tabs of the control. Modeless (the contact chooser also
// runs it modally); Cancel, Esc and the close box take one close path with the save question,
// and a closed window is deleted.
class frmContact : public QDialog, public ContactWindow {
    Q_OBJECT
public:
    explicit frmContact(QWidget* owner = nullptr);
    ~frmContact() override;

    std::shared_ptr<DirectoryContact> Contact() const override;
    void SetContact(const std::shared_ptr<DirectoryContact>& contact) override;

    // Checks the rights and stores the shown contact; True when stored.
    bool SaveDetails();

    // The toolbar's commands by their keys ("new", "save", "printaddress", "cut", ...).
    void ToolbarCommand(const QString& key);

    // The controls tests drive.
    uContact* ContactControl() const { return ctlContact_; }
    QAction* ToolbarButton(const QString& key) const { return buttons_.value(key); }
    QPushButton* OkButton() const { return cmdOK_; }
    QPushButton* CancelButton() const { return cmdCancel_; }
    QGroupBox* MessagesFrame() const { return fraContactMessages_; }
    QGroupBox* PrizesFrame() const { return fraContactPrizes_; }
    ListView* MessagesList() const { return lvwContactMessages_; }
    ListView* PrizesList() const { return lvwContactPrizes_; }

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void layOut();
    void applyRights();
    void newContact();
    void printAddress();
    bool askToClose();
    // Stores the contact, asking what to do when another computer changed or removed it since
    // it was read; a refusal is told with the directory's reason. True when it was stored.
    bool store(KVDirectory& dir, const std::shared_ptr<DirectoryContact>& contact);
    // The history tabs (frmcontacthistory.cpp).
    void tabChanged(int tab);
    void showMessages();
    void showPrizes();
    void openMessageLine();
    void openPrizeLine();

    uContact* ctlContact_ = nullptr;
    QToolBar* toolbarMain_ = nullptr;
    QMap<QString, QAction*> buttons_;
    QFrame* lineDark_ = nullptr;
    QFrame* lineLight_ = nullptr;
    QGroupBox* fraContactMessages_ = nullptr;
    QGroupBox* fraContactPrizes_ = nullptr;
    ListView* lvwContactMessages_ = nullptr;
    ListView* lvwContactPrizes_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    bool closing_ = false;
};
