#pragma once

#include "core/windows/editwindows.h"

#include <QList>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class MultiLineTextBox;
class OrlixMessage;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolBar;

// The SMS message window: one OrlixMessage of the SMS kind, read-only once it carries a date
// outside the drafts (or whenever the station may not send), otherwise written here: a text
// of at most 160 units to recipients picked by phone number, saved, or sent to the Outbox.
// Every change in a control reaches the message at once. With the station's phone-number
// mask on, the address boxes show only the mask while the window keeps the real entries
// behind each shown one, so the mask is never stored and no number is shown.
// The window closes itself only through Forms::Unload and touches nothing of itself after.
class frmSMSMessage : public QWidget, public MessageWindow {
    Q_OBJECT
public:
    explicit frmSMSMessage(QWidget* owner = nullptr);
    ~frmSMSMessage() override;

    std::shared_ptr<OrlixMessage> Message() const override { return message_; }
    void SetMessage(const std::shared_ptr<OrlixMessage>& message) override;
    void SetEditable(bool editable) override;
    bool Editable() const { return editable_; }

    // True when the message was stored; refusals and a failed store show their boxes.
    bool SaveDetails();
    void Send();
    void Answer(bool forward);
    // The From menu: its two captions are set as it pops up.
    void PrepareFromMenu();
    void ChooseStationSender();
    void ChoosePersonalSender();
    // To...: a contact chosen in the directory's chooser, by its first phone number.
    void AddRecipientFromDirectory();
    // A click at a character position of an address box: the contact behind the entry there
    // opens. From answers always, To only while read-only. The opened window, or null.
    QWidget* ClickAddress(QLineEdit* box, int position);
    // The toolbars' commands by key.
    void DoToolbarCommand(const QString& key);

    // How the main window's message list is asked for its folder and told to read again; tests
    // replace them. Empty hooks: no list to refresh.
    static void SetMessageListHooks(std::function<qint32()> currentFolder,
                                    std::function<void()> refresh);

    // For tests and the layout: the named controls.
    QLineEdit* ctlFrom() const { return ctlFrom_; }
    QLineEdit* ctlTo() const { return ctlTo_; }
    MultiLineTextBox* txtBody() const { return txtBody_; }
    QLabel* lblDate() const { return lblDate_; }
    QLabel* lblDateDesc() const { return lblDateDesc_; }
    QLabel* lblFromDesc() const { return lblFromDesc_; }
    QLabel* lblToDesc() const { return lblToDesc_; }
    QLabel* picPersonal() const { return picPersonal_; }
    QPushButton* cmdSend() const { return cmdSend_; }
    QPushButton* cmdReply() const { return cmdReply_; }
    QPushButton* cmdForward() const { return cmdForward_; }
    QPushButton* cmdFrom() const { return cmdFrom_; }
    QPushButton* cmdTo() const { return cmdTo_; }
    QToolBar* toolbarMain() const { return toolbarMain_; }
    QToolBar* toolBarEdit() const { return toolBarEdit_; }
    QAction* ToolbarButton(const QString& key) const;
    QAction* EditButton(const QString& key) const;
    QMenu* mnuPopupFrom() const { return mnuPopupFrom_; }
    QAction* mnuFromDefault() const { return mnuFromDefault_; }
    QAction* mnuFromPersonal() const { return mnuFromPersonal_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One address box's entries: what it shows and, while numbers are masked, the real
    // entries behind each shown one.
    struct Addresses {
        QStringList Shown;
        QList<QStringList> Real;
    };

    void buildControls();
    void applyEditable();
    void loadAddresses(QLineEdit* box, const QString& text, bool& namesFilled);
    void showAddresses(QLineEdit* box);
    Addresses& addressesOf(QLineEdit* box);
    // The text the message keeps for a box: the real entries, never the mask.
    QString realText(QLineEdit* box) const;
    void addressChanged(QLineEdit* box);
    void bodyChanged();
    void messageEdited(bool edited);
    void showFromMenu();
    void setSender(const QString& name, const QString& address);
    void deleteMessage();
    void moveOrCopy(bool move);
    void restorePosition();
    void saveWindowPosition();
    void closeSelf();

    std::shared_ptr<OrlixMessage> message_;
    bool editable_ = true;
    bool loading_ = false;
    bool activated_ = false;
    bool masking_ = false;
    Addresses from_;
    Addresses to_;

    QToolBar* toolbarMain_ = nullptr;
    QToolBar* toolBarEdit_ = nullptr;
    QLabel* lblDateDesc_ = nullptr;
    QLabel* lblDate_ = nullptr;
    QLabel* lblFromDesc_ = nullptr;
    QLabel* lblToDesc_ = nullptr;
    QLabel* picPersonal_ = nullptr;
    QLineEdit* ctlFrom_ = nullptr;
    QLineEdit* ctlTo_ = nullptr;
    MultiLineTextBox* txtBody_ = nullptr;
    QPushButton* cmdFrom_ = nullptr;
    QPushButton* cmdTo_ = nullptr;
    QPushButton* cmdSend_ = nullptr;
    QPushButton* cmdReply_ = nullptr;
    QPushButton* cmdForward_ = nullptr;
    QMenu* mnuPopupFrom_ = nullptr;
    QAction* mnuFromDefault_ = nullptr;
    QAction* mnuFromPersonal_ = nullptr;
};
