#include "messaging/frmmessage.h"

#include "core/dialogs/contactlookup.h"
#include "core/profile/cocsettings.h"
#include "core/program.h"
#include "messaging/messagelayout.h"
#include "messaging/messagewindowcommands.h"
#include "messaging/safebodyview.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/mime/addresstext.h"
#include "platform/mime/mimeattachment.h"
#include "platform/mime/mimemessage.h"
#include "platform/system/formhelper.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/twips.h"
#include "platform/ui/umessageaddress.h"

#include <QAction>
#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextCursor>
#include <QToolBar>

namespace {

const cOCSettings* stationSettings() {
    return messagewindow::StationSettings();
}

bool sendEnabled() {
    const cOCSettings* settings = stationSettings();
    return settings == nullptr || settings->EmailSendEnabled();
}

} // namespace

frmMessage::frmMessage(QWidget* owner) : QWidget(owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(emailrules::WindowCaption(QString()));
    buildControls();
    // Esc closes from wherever the focus is; the close asks about unsaved changes.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] { closeSelf(); });
    placeWindow();
    wbBody_->SetBodyPlainText(QString());
    SetEditable(true);
}

void frmMessage::placeWindow() {
    // The design size of the inner area, for a window with no placement to follow.
    resize(TwipsToPixels(11010), TwipsToPixels(6810));
    Program* program = Program::Current();
    KVDirectory* directory = program ? program->Directory() : nullptr;
    const auto user = directory ? directory->CurrentUser() : nullptr;
    const QString text =
        user
            ? user->Settings().GetSetting(QString::fromUtf8(kPositionSetting), QString()).toString()
            : QString();
    std::optional<QRect> last;
    if (!text.isEmpty() && FormHelper::ApplyPlacementText(text, this)) {
        last = geometry();
    }
    // The inner area moves, as the placement text keeps it, so that it reads back the same; a
    // window with no stored position opens on the screen as well, and stores nothing yet.
    setGeometry(messagewindow::PlaceOnScreen(last, size()));
    if (last) {
        SaveWindowPosition();
    }
}

void frmMessage::SaveWindowPosition() {
    Program* program = Program::Current();
    KVDirectory* directory = program ? program->Directory() : nullptr;
    const auto user = directory ? directory->CurrentUser() : nullptr;
    if (!user) {
        return;
    }
    const QString text = FormHelper::GetPlacementText(this);
    if (!text.isEmpty()) {
        user->Settings().SaveSetting(QString::fromUtf8(kPositionSetting), text, QString());
    }
}

bool frmMessage::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::Move || event->type() == QEvent::Show) &&
        watched->objectName() == QStringLiteral("placeholder") &&
        watched->parent() == toolbarMain_) {
        Form_Resize();
    }
    if (watched == txtSubject_ && event->type() == QEvent::FocusIn) {
        subjectEntered();
    }
    if (watched == lvwAttachments_ && event->type() == QEvent::KeyPress &&
        attachmentsKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool frmMessage::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !activated_) {
        FirstActivation();
    }
    return QWidget::event(event);
}

void frmMessage::FirstActivation() {
    if (activated_) {
        return;
    }
    activated_ = true;
    if (!editable_) {
        caretToBodyStart();
    } else if (ctlTo_->Text().isEmpty()) {
        ctlTo_->setFocus(Qt::OtherFocusReason);
    } else if (!txtSubject_->text().isEmpty()) {
        caretToBodyStart();
    } else {
        txtSubject_->setFocus(Qt::OtherFocusReason);
    }
}

void frmMessage::subjectEntered() {
    // After the line edit's own focus handling, which selects or clears as the reason says:
    // while editable the whole subject is selected, to be typed over; read-only, nothing is.
    QPointer<QLineEdit> subject(txtSubject_);
    const bool select = editable_;
    QMetaObject::invokeMethod(
        this,
        [subject, select] {
            if (subject && subject->hasFocus()) {
                select ? subject->selectAll() : subject->deselect();
            }
        },
        Qt::QueuedConnection);
}

void frmMessage::caretToBodyStart() {
    wbBody_->CaretToStart();
}

frmMessage::~frmMessage() {
    // The body goes with the widgets after this object: it must not call back into it.
    wbBody_->OnChanged = nullptr;
    wbBody_->OnSelectionChanged = nullptr;
}

SafeBodyView* frmMessage::wbBody() const {
    return dynamic_cast<SafeBodyView*>(wbBody_);
}

void frmMessage::buildControls() {
    // Every control is placed by Form_Resize from the pure layout rules; no Qt layout here.
    toolbarMain_ = new QToolBar(QStringLiteral("toolbarMain"), this);
    toolBarEdit_ = new QToolBar(QStringLiteral("toolBarEdit"), this);
    cmdSend_ = new QPushButton(QStringLiteral("&Send"), this);
    cmdReply_ = new QPushButton(QStringLiteral("&Reply"), this);
    cmdReplyAll_ = new QPushButton(QStringLiteral("Reply to &All"), this);
    cmdForward_ = new QPushButton(QStringLiteral("&Forward"), this);
    buildToolbars();
    lineRule_ = new QFrame(this);
    lineRule_->setFrameShape(QFrame::HLine);
    lineRule_->setFrameShadow(QFrame::Sunken);

    fraMessage_ = new QWidget(this);
    QWidget* frame = fraMessage_;
    picPersonal_ = new QLabel(frame);
    picPersonal_->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(TwipsToPixels(300)));
    picPersonal_->setToolTip(
        QStringLiteral("This message is \"Personal\" and cannot be seen by other users"));
    lblDateDesc_ = new QLabel(QStringLiteral("Sent Date:"), frame);
    lblDate_ = new QLabel(frame);
    lblDate_->setTextFormat(Qt::PlainText);

    auto addressRow = [frame](const QString& caption, const QString& button, QLabel*& label,
                              QPushButton*& chooser, uMessageAddress*& box) {
        label = new QLabel(caption, frame);
        chooser = new QPushButton(button, frame);
        box = new uMessageAddress(frame);
    };
    addressRow(QStringLiteral("From:"), QStringLiteral("From..."), lblFromDesc_, cmdFrom_,
               ctlFrom_);
    addressRow(QStringLiteral("To:"), QStringLiteral("To..."), lblToDesc_, cmdTo_, ctlTo_);
    addressRow(QStringLiteral("Cc:"), QStringLiteral("Cc..."), lblCCDesc_, cmdCC_, ctlCC_);
    ctlFrom_->setReadOnly(true);
    lblAttachmentsDesc_ = new QLabel(QStringLiteral("Attach:"), frame);
    cmdAttachments_ = new QPushButton(QStringLiteral("Attach..."), frame);
    lvwAttachments_ = new QListWidget(frame);
    lvwAttachments_->setViewMode(QListView::IconMode);
    lvwAttachments_->setFlow(QListView::LeftToRight);
    lvwAttachments_->setWrapping(true);
    lvwAttachments_->setResizeMode(QListView::Adjust);
    lvwAttachments_->installEventFilter(this);
    connect(cmdAttachments_, &QPushButton::clicked, this,
            [this] { DoToolbarCommand(QStringLiteral("addattachment")); });
    connect(lvwAttachments_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { OpenAttachment(lvwAttachments_->row(item) + 1); });
    lblSubjectDesc_ = new QLabel(QStringLiteral("Subject:"), frame);
    txtSubject_ = new QLineEdit(frame);
    txtSubject_->installEventFilter(this);
    picBody_ = new QWidget(frame);
    wbBody_ = MakeBodyEditor(picBody_);
    for (QPushButton* b : {cmdSend_, cmdReply_, cmdReplyAll_, cmdForward_}) {
        b->raise(); // over their placeholders in the toolbar
    }
    setMinimumSize(TwipsToPixels(messagelayout::kMinimumEmailWidth),
                   TwipsToPixels(messagelayout::kMinimumEmailHeight));

    mnuPopupFrom_ = new QMenu(this);
    mnuFromDefault_ = mnuPopupFrom_->addAction(QString());
    mnuFromPersonal_ = mnuPopupFrom_->addAction(QString());
    connect(mnuFromDefault_, &QAction::triggered, this, [this] { ChooseStationSender(); });
    connect(mnuFromPersonal_, &QAction::triggered, this, [this] { ChoosePersonalSender(); });

    connect(cmdSend_, &QPushButton::clicked, this, [this] { Send(); });
    connect(cmdReply_, &QPushButton::clicked, this, [this] { Answer(emailrules::Answer::Reply); });
    connect(cmdReplyAll_, &QPushButton::clicked, this,
            [this] { Answer(emailrules::Answer::ReplyAll); });
    connect(cmdForward_, &QPushButton::clicked, this,
            [this] { Answer(emailrules::Answer::Forward); });
    // The placeholders stand for the window's own buttons: triggering one is a click on it.
    const std::pair<const char*, QPushButton*> placeholders[] = {{"send", cmdSend_},
                                                                 {"reply", cmdReply_},
                                                                 {"replyall", cmdReplyAll_},
                                                                 {"forward", cmdForward_}};
    for (const auto& [key, button] : placeholders) {
        connect(ToolbarButton(QString::fromUtf8(key)), &QAction::triggered, button,
                &QPushButton::click);
    }
    connect(cmdFrom_, &QPushButton::clicked, this, [this] { showFromMenu(); });
    connect(cmdTo_, &QPushButton::clicked, this, [this] { AddRecipientFromDirectory(ctlTo_); });
    connect(cmdCC_, &QPushButton::clicked, this, [this] { AddRecipientFromDirectory(ctlCC_); });
    for (uMessageAddress* box : {ctlFrom_, ctlTo_, ctlCC_}) {
        connect(box, &uMessageAddress::AddressChanged, this, [this, box] { addressChanged(box); });
        connect(
            box, &uMessageAddress::AddressClicked, this,
            [this](const QString& name, const QString& address) { addressClicked(name, address); });
    }
    connect(txtSubject_, &QLineEdit::textChanged, this, [this] { subjectChanged(); });
    wbBody_->OnChanged = [this] { bodyChanged(); };
    wbBody_->OnSelectionChanged = [this] { SelectionChanged(); };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { SelectionChanged(); });
}

QAction* frmMessage::ToolbarButton(const QString& key) const {
    return toolbarMain_->findChild<QAction*>(key.toLower(), Qt::FindDirectChildrenOnly);
}

void frmMessage::SetEditable(bool editable) {
    editable_ = emailrules::EffectiveEditable(editable, sendEnabled());
    applyEditable();
}

void frmMessage::applyEditable() {
    const cOCSettings* settings = stationSettings();
    const bool canSend = sendEnabled();
    const bool personal = settings != nullptr && settings->EmailAllowPersonalAddresses();
    const emailrules::Visibility v = emailrules::VisibilityFor(editable_, canSend, personal);
    toolBarEdit_->setVisible(v.EditToolbar);
    for (QAction* action : toolbarMain_->actions() + toolBarEdit_->actions()) {
        const QString tag = action->data().toString();
        if (tag == QStringLiteral("edit")) {
            action->setVisible(editable_);
        } else if (tag == QStringLiteral("notedit")) {
            action->setVisible(!editable_ && canSend);
        }
    }
    cmdSend_->setVisible(v.Send);
    cmdReply_->setVisible(v.Answers);
    cmdReplyAll_->setVisible(v.Answers);
    cmdForward_->setVisible(v.Answers);
    cmdFrom_->setVisible(v.FromChooser);
    lblFromDesc_->setVisible(!v.FromChooser);
    lblDate_->setVisible(v.Date);
    lblDateDesc_->setVisible(v.Date);
    for (uMessageAddress* box : {ctlTo_, ctlCC_}) {
        box->setReadOnly(!editable_);
        box->setFrame(editable_);
        box->SetDisplayAddressLinks(v.AddressLinks);
    }
    ctlFrom_->SetDisplayAddressLinks(true);
    lblToDesc_->setVisible(v.AddressCaptions);
    lblCCDesc_->setVisible(v.AddressCaptions);
    cmdTo_->setVisible(v.AddressChoosers);
    cmdCC_->setVisible(v.AddressChoosers);
    updateAttachmentsRow();
    txtSubject_->setReadOnly(!editable_);
    txtSubject_->setFrame(editable_);
    wbBody_->SetEditMode(editable_);
    SelectionChanged();
}

void frmMessage::SetMessage(const std::shared_ptr<OrlixMessage>& message) {
    if (message_) {
        disconnect(message_.get(), nullptr, this, nullptr);
    }
    message_ = message;
    loading_ = true;
    SetEditable(true);

    lblDate_->clear();
    ctlFrom_->clear();
    ctlTo_->clear();
    ctlCC_->clear();
    txtSubject_->clear();
    lvwAttachments_->clear();
    for (const char* key : {"print", "delete", "save"}) {
        ToolbarButton(QString::fromUtf8(key))->setEnabled(false);
    }
    wbBody_->SetBodyPlainText(QString());
    picPersonal_->setVisible(false);

    if (!message_) {
        message_ = std::make_shared<OrlixMessage>();
    }
    OrlixMessage& m = *message_;
    messagewindow::TakeOutOfQueue(m, "taking the message out of the Outbox queue");
    MimeMessage mime = m.CDOMessage();
    if (m.SentDate().isValid()) {
        lblDate_->setText(m.SentDateText());
    } else if (mime.From().isEmpty()) {
        if (const cOCSettings* settings = stationSettings()) {
            mime.SetFrom(
                emailrules::StationSender(settings->EmailName(), settings->EmailAddress()));
            m.SetCDOMessage(mime);
        }
    }
    ctlFrom_->SetText(mime.From());
    ctlTo_->SetText(mime.To());
    ctlCC_->SetText(mime.CC());
    const MimeAttachments& attachments = mime.Attachments();
    for (int i = 1; i <= attachments.Count(); ++i) {
        lvwAttachments_->addItem(attachments.Item(i).SafeFileName());
    }
    txtSubject_->setText(mime.Subject());
    if (!mime.HTMLBody().isEmpty()) {
        wbBody_->SetBodyHtml(mime.HTMLBody());
    } else if (!mime.TextBody().isEmpty()) {
        wbBody_->SetBodyPlainText(mime.TextBody());
    } else {
        wbBody_->SetBodyHtml(QStringLiteral("<p></p>"));
    }
    picPersonal_->setVisible(m.PersonalOwner() != 0);
    if (!emailrules::OpensEditable(m.SentDate(), m.Folder())) {
        SetEditable(false);
    } else {
        applyEditable();
    }
    ToolbarButton(QStringLiteral("delete"))->setEnabled(m.Reference() > 0);
    ToolbarButton(QStringLiteral("print"))->setEnabled(true);
    messageEdited(m.Edited());
    connect(&m, &OrlixMessage::MessageEdited, this, &frmMessage::messageEdited);
    setWindowTitle(emailrules::WindowCaption(txtSubject_->text()));
    loading_ = false;
}

void frmMessage::messageEdited(bool edited) {
    messagewindow::ShowEditedState(ToolbarButton(QStringLiteral("save")),
                                   ToolbarButton(QStringLiteral("movemessage")), edited);
}

void frmMessage::changeMessage(const std::function<void(MimeMessage&)>& change) {
    if (loading_ || !message_) {
        return;
    }
    message_->ChangeCDOMessage(change);
    message_->SetEdited(true);
}

void frmMessage::addressChanged(uMessageAddress* box) {
    const QString text = box->Text();
    changeMessage([&](MimeMessage& mime) {
        if (box == ctlFrom_) {
            mime.SetFrom(text);
        } else if (box == ctlTo_) {
            mime.SetTo(text);
        } else {
            mime.SetCC(text);
        }
    });
}

void frmMessage::subjectChanged() {
    const QString text = txtSubject_->text();
    // Loading too: a loaded message gives the window its caption.
    setWindowTitle(emailrules::WindowCaption(text));
    changeMessage([&](MimeMessage& mime) { mime.SetSubject(text); });
}

void frmMessage::bodyChanged() {
    if (!editable_) {
        return;
    }
    const QString html = wbBody_->Html();
    const QString text = wbBody_->PlainText();
    changeMessage([&](MimeMessage& mime) {
        mime.SetHTMLBody(html);
        mime.SetTextBody(text);
    });
}

QWidget* frmMessage::ClickAddress(uMessageAddress* box, int position) {
    if (box != ctlFrom_ && (editable_ || (box != ctlTo_ && box != ctlCC_))) {
        return nullptr;
    }
    uMessageAddress::Entry entry;
    if (!box->EntryAt(position, entry)) {
        return nullptr;
    }
    return addressClicked(entry.DisplayName, entry.Address);
}

QWidget* frmMessage::addressClicked(const QString& displayName, const QString& address) {
    return messagewindow::Raised(FindContactByEmail(displayName, address, nullptr));
}

void frmMessage::showFromMenu() {
    if (stationSettings() == nullptr) {
        return;
    }
    messagewindow::PrepareFromMenu(mnuFromDefault_, mnuFromPersonal_);
    mnuPopupFrom_->popup(cmdFrom_->mapToGlobal(QPoint(cmdFrom_->width(), 0)));
}

void frmMessage::ChooseStationSender() {
    const cOCSettings* settings = stationSettings();
    if (settings == nullptr) {
        return;
    }
    ctlFrom_->SetText(mime::ComposeAddressEntry(settings->EmailName(), settings->EmailAddress()));
    if (message_) {
        message_->SetPersonalOwner(0);
    }
}

void frmMessage::ChoosePersonalSender() {
    Program* program = Program::Current();
    KVDirectory* directory = program ? program->Directory() : nullptr;
    const auto user = directory ? directory->CurrentUser() : nullptr;
    if (!user) {
        return;
    }
    const QString address = emailrules::FirstEmail(user->Email1(), user->Email2(), user->Email3());
    ctlFrom_->clear();
    if (address.isEmpty()) {
        return;
    }
    ctlFrom_->SetText(mime::ComposeAddressEntry(user->Name(), address));
    if (message_) {
        message_->SetPersonalOwner(user->Reference());
    }
}

void frmMessage::AddRecipientFromDirectory(uMessageAddress* box) {
    const auto contact = messagewindow::ChooseContact(this);
    if (!contact) {
        return;
    }
    const QString address =
        emailrules::FirstEmail(contact->Email1(), contact->Email2(), contact->Email3());
    if (address.isEmpty()) {
        MsgBox(contact->Name() + QString::fromUtf8(emailrules::kNoEmailSuffix),
               MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        return;
    }
    box->AddAddress(contact->Name(), address);
}
