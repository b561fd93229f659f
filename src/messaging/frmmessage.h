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
class BodyEditor;
class SafeBodyView;
class uMessageAddress;

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
    void AddRecipientFromDirectory(uMessageAddress* box);

    // A click at a character position of an address box: the entry there opens its directory
    // contact. To and Cc answer only while read-only, From always. The opened window, or null.
    QWidget* ClickAddress(uMessageAddress* box, int position);

    // How the main window's message list is asked for its folder and told to read again; tests
    // replace them. Empty hooks: no list to refresh.
    static void SetMessageListHooks(std::function<qint32()> currentFolder,
                                    std::function<void()> refresh);
    // The station's address and the logged-in user's three, which a reply to all leaves out.
    static QStringList OwnAddresses();

    // For tests and the layout: the named controls.
    uMessageAddress* ctlFrom() const { return ctlFrom_; }
    uMessageAddress* ctlTo() const { return ctlTo_; }
    uMessageAddress* ctlCC() const { return ctlCC_; }
    QLineEdit* txtSubject() const { return txtSubject_; }
    // The body editor, and the text one where the window was made with it (tests).
    BodyEditor* Body() const { return wbBody_; }
    SafeBodyView* wbBody() const;
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
    QPushButton* cmdAttachments() const { return cmdAttachments_; }
    QToolBar* toolbarMain() const { return toolbarMain_; }
    QToolBar* toolBarEdit() const { return toolBarEdit_; }
    QAction* ToolbarButton(const QString& key) const;
    QMenu* mnuPopupFrom() const { return mnuPopupFrom_; }

    // Runs the command of a toolbar button by its Key, compared in lower case; Keys without
    // a command do nothing. Editing commands act on the control holding the focus: the subject
    // or the body, never an address box; formatting acts on the body only.
    void DoToolbarCommand(const QString& key);
    QAction* EditToolbarButton(const QString& key) const;
    // The font menu's "Size 1" to "Size 7" for the body's selection, while the body has the
    // focus.
    void SetBodyFontSize(int size);

    // Attaches one file (the path goes unchanged to the message). False while read-only, for
    // anything that is not a file, and for a file the message refuses (told through a box).
    bool AddAttachment(const QString& path);
    // The desktop's file chooser; each chosen file is attached in the order given.
    void AttachFiles();
    // Attachment index (1-based) leaves the message and the list; only while editable.
    bool DeleteAttachment(int index);
    // Saves a copy of attachment index into the private temporary folder and hands it to the
    // desktop unless it is a program. The copy's path, "" when none was made.
    QString OpenAttachment(int index);

    // The edit toolbar follows the body's selection: "bold", "italic", "underline" and
    // "strikethrough" pressed when all the selected text has the style, with the button's
    // "MixedState" property set when only part of it has; "cut", "copy" and "paste" enabled as
    // the selection and the clipboard allow.
    void SelectionChanged();

    // The first activation places the focus: the To box of an editable window without a
    // recipient, else the body's start when there is a subject, else the subject; a read-only
    // window the body's start. Later activations do nothing.
    void FirstActivation();
    bool Activated() const { return activated_; }

    // The user's setting that keeps the last e-mail window's placement.
    static constexpr const char* kPositionSetting = "MessageWindow.Position";

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void buildToolbars();
    // Places every control by the layout rules for the current size and state.
    void Form_Resize();
    void deleteMessage();
    void moveOrCopy(bool move);
    void updateAttachmentsRow();
    bool attachmentsKey(class QKeyEvent* event);
    // Where a new window goes: 255 twips on from the last one placed, kept at once.
    void placeWindow();
    void SaveWindowPosition();
    void caretToBodyStart();
    void subjectEntered();
    void applyEditable();
    void addressChanged(uMessageAddress* box);
    // An entry of an address box was clicked: its directory contact opens. The window, or null.
    QWidget* addressClicked(const QString& displayName, const QString& address);
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
    bool activated_ = false;

    QToolBar* toolbarMain_ = nullptr;
    QToolBar* toolBarEdit_ = nullptr;
    QLabel* lblDateDesc_ = nullptr;
    QLabel* lblDate_ = nullptr;
    QLabel* lblFromDesc_ = nullptr;
    QLabel* lblToDesc_ = nullptr;
    QLabel* lblCCDesc_ = nullptr;
    QLabel* lblAttachmentsDesc_ = nullptr;
    QLabel* picPersonal_ = nullptr;
    QLabel* lblSubjectDesc_ = nullptr;
    class QFrame* lineRule_ = nullptr;
    QWidget* fraMessage_ = nullptr;
    QWidget* picBody_ = nullptr;
    uMessageAddress* ctlFrom_ = nullptr;
    uMessageAddress* ctlTo_ = nullptr;
    uMessageAddress* ctlCC_ = nullptr;
    QLineEdit* txtSubject_ = nullptr;
    BodyEditor* wbBody_ = nullptr;
    QListWidget* lvwAttachments_ = nullptr;
    QPushButton* cmdFrom_ = nullptr;
    QPushButton* cmdTo_ = nullptr;
    QPushButton* cmdCC_ = nullptr;
    QPushButton* cmdAttachments_ = nullptr;
    QPushButton* cmdSend_ = nullptr;
    QPushButton* cmdReply_ = nullptr;
    QPushButton* cmdReplyAll_ = nullptr;
    QPushButton* cmdForward_ = nullptr;
    QMenu* mnuPopupFrom_ = nullptr;
    QAction* mnuFromDefault_ = nullptr;
    QAction* mnuFromPersonal_ = nullptr;
};
