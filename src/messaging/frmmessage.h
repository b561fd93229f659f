#pragma once

#include "core/windows/editwindows.h"
#include "messaging/emailrules.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class OrlixMessage;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QToolBar;
class SafeBodyView;

// The e-mail message window: one OrlixMessage of the e-mail kind, read-only when it was sent
// and is not a draft, otherwise written here, saved as a draft or sent to the Outbox. Every
// change in a control reaches the message at once, so nothing typed waits for an event.
// The window closes itself only through Forms::Unload and touches nothing of itself after.
class frmMessage : public QWidget, public MessageWindow {
    Q_OBJECT
public:
    explicit frmMessage(QWidget* owner = nullptr);
    ~frmMessage() override;

    std::shared_ptr<OrlixMessage> Message() const override { return message_; }
    void SetMessage(const std::shared_ptr<OrlixMessage>& message) override;
    void SetEditable(bool editable) override;
    bool Editable() const { return editable_; }

    // True when the message was stored; refusals and a failed store show their boxes.
    bool SaveDetails();
    void Send();
    void Answer(emailrules::Answer answer);
    // The station's sender or the logged-in user's, from the From menu.
    void ChooseStationSender();
    void ChoosePersonalSender();
    // To... and Cc...: a contact chosen in the directory's chooser.
    void AddRecipientFromDirectory(QLineEdit* box);

    // A click at a character position of an address box: the entry there opens its directory
    // contact. To and Cc answer only while read-only, From always. The opened window, or null.
    QWidget* ClickAddress(QLineEdit* box, int position);

    // How the main window's message list is asked for its folder and told to read again; tests
    // replace them. Empty hooks: no list to refresh.
    static void SetMessageListHooks(std::function<qint32()> currentFolder,
                                    std::function<void()> refresh);
    // The station's address and the logged-in user's three, which a reply to all leaves out.
    static QStringList OwnAddresses();

    // For tests and the layout: the named controls.
    QLineEdit* ctlFrom() const { return ctlFrom_; }
    QLineEdit* ctlTo() const { return ctlTo_; }
    QLineEdit* ctlCC() const { return ctlCC_; }
    QLineEdit* txtSubject() const { return txtSubject_; }
    SafeBodyView* wbBody() const { return wbBody_; }
    QListWidget* lvwAttachments() const { return lvwAttachments_; }
    QLabel* lblDate() const { return lblDate_; }
    QLabel* picPersonal() const { return picPersonal_; }
    QPushButton* cmdSend() const { return cmdSend_; }
    QPushButton* cmdReply() const { return cmdReply_; }
    QPushButton* cmdReplyAll() const { return cmdReplyAll_; }
    QPushButton* cmdForward() const { return cmdForward_; }
    QPushButton* cmdFrom() const { return cmdFrom_; }
    QPushButton* cmdTo() const { return cmdTo_; }
    QPushButton* cmdCC() const { return cmdCC_; }
    QAction* ToolbarButton(const QString& key) const;
    QMenu* mnuPopupFrom() const { return mnuPopupFrom_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void applyEditable();
    void addressChanged(QLineEdit* box);
    void subjectChanged();
    void bodyChanged();
    void messageEdited(bool edited);
    void showFromMenu();
    // Writes one change into the message object and marks it edited.
    void changeMessage(const std::function<void(class MimeMessage&)>& change);
    void closeSelf();

    std::shared_ptr<OrlixMessage> message_;
    bool editable_ = true;
    bool loading_ = false;

    QToolBar* toolbarMain_ = nullptr;
    QToolBar* toolBarEdit_ = nullptr;
    QLabel* lblDateDesc_ = nullptr;
    QLabel* lblDate_ = nullptr;
    QLabel* lblFromDesc_ = nullptr;
    QLabel* lblToDesc_ = nullptr;
    QLabel* lblCCDesc_ = nullptr;
    QLabel* lblAttachmentsDesc_ = nullptr;
    QLabel* picPersonal_ = nullptr;
    QLineEdit* ctlFrom_ = nullptr;
    QLineEdit* ctlTo_ = nullptr;
    QLineEdit* ctlCC_ = nullptr;
    QLineEdit* txtSubject_ = nullptr;
    SafeBodyView* wbBody_ = nullptr;
    QListWidget* lvwAttachments_ = nullptr;
    QPushButton* cmdFrom_ = nullptr;
    QPushButton* cmdTo_ = nullptr;
    QPushButton* cmdCC_ = nullptr;
    QPushButton* cmdSend_ = nullptr;
    QPushButton* cmdReply_ = nullptr;
    QPushButton* cmdReplyAll_ = nullptr;
    QPushButton* cmdForward_ = nullptr;
    QMenu* mnuPopupFrom_ = nullptr;
    QAction* mnuFromDefault_ = nullptr;
    QAction* mnuFromPersonal_ = nullptr;
};
