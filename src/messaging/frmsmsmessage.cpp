#include "messaging/frmsmsmessage.h"

#include "core/dialogs/contactlookup.h"
#include "core/profile/cocsettings.h"
#include "core/profile/machinesettingskeys.h"
#include "core/program.h"
#include "messaging/emailrules.h"
#include "messaging/messagewindowcommands.h"
#include "messaging/smsrules.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/mime/addresstext.h"
#include "platform/mime/mimemessage.h"
#include "platform/system/displaytext.h"
#include "platform/system/formhelper.h"
#include "platform/ui/fontconversion.h"
#include "platform/ui/imagelist.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/multilinetextbox.h"
#include "platform/ui/toolbarcaptions.h"
#include "platform/ui/toolbarimages.h"
#include "platform/ui/twips.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolBar>
#include <QVBoxLayout>

#include <utility>

namespace {

const cOCSettings* stationSettings() {
    return messagewindow::StationSettings();
}

bool smsSendEnabled() {
    const cOCSettings* settings = stationSettings();
    return settings == nullptr || settings->SMSSendEnabled();
}

// The name of the first directory contact with the number; "" for none or a failed look-up,
// which leaves the entry as it was.
QString directoryNameFor(const QString& number) {
    KVDirectory* dir = messagewindow::Directory();
    if (dir == nullptr) {
        return {};
    }
    try {
        const KVDirectory::ContactList found = dir->FindContactsByPhoneNumber(number);
        return found.isEmpty() || !found.first() ? QString() : found.first()->Name();
    } catch (...) {
        return {};
    }
}

struct MainButton {
    const char* key;
    const char* caption;
    const char* tag;               // "edit", "notedit" or ""
    const char* toolTip = nullptr; // the caption when none
};

// In toolbar order. "send", "reply" and "forward" hold the window's own buttons.
constexpr MainButton kMainButtons[] = {
    {"sendsep", "", "edit"},
    {"send", "", "edit"},
    {"replysep", "", "notedit"},
    {"reply", "", "notedit"},
    {"forward", "", "notedit"},
    {"savesep", "", "edit"},
    {"save", "Save", "edit"},
    {"printsep", "", "notedit"},
    {"print", "Print", ""},
    {"delete", "Delete", ""},
    {"foldersep", "", ""},
    {"copymessage", "Copy To", "", "Copy to Folder"},
    {"movemessage", "Move To", "", "Move to Folder"},
    {"editsep", "", ""},
    {"historysep", "", ""},
    {"history", "History", "", "Display this users recent activity history"},
    {"helpsep", "", ""},
    {"help", "Help!", ""},
};

struct EditTool {
    const char* key;
    const char* caption;
    const char* toolTip;
};

constexpr EditTool kEditTools[] = {
    {"undo", "Undo", "Undo last edit"}, {"redo", "Redo", "Redo last edit"}, {"cut", "Cut", "Cut"},
    {"copy", "Copy", "Copy"},           {"paste", "Paste", "Paste"},
};

bool isSeparatorKey(const QString& key) {
    return key.endsWith(QStringLiteral("sep"));
}

} // namespace

frmSMSMessage::frmSMSMessage(QWidget* owner) : QWidget(owner, Qt::Window) {
    // Closed by its close box it goes as well, so no count of windows ever sees it again.
    setAttribute(Qt::WA_DeleteOnClose, true);
    setWindowTitle(QString::fromUtf8(smsrules::kCaption));
    setMinimumSize(TwipsToPixels(6000), TwipsToPixels(2500));
    setMaximumHeight(TwipsToPixels(4000));
    // Wide enough for both toolbars side by side; a stored placement replaces it.
    resize(TwipsToPixels(10500), TwipsToPixels(3600));
    buildControls();
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] { closeSelf(); });
    restorePosition();
    if (const cOCSettings* settings = stationSettings(); settings && settings->GeneralFont()) {
        txtBody_->setFont(FontConversion::ToQFont(*settings->GeneralFont()));
    }
    txtBody_->SetText(QString());
    SetEditable(true);
}

frmSMSMessage::~frmSMSMessage() = default;

void frmSMSMessage::buildControls() {
    auto* outer = new QVBoxLayout(this);
    auto* bars = new QHBoxLayout;
    toolbarMain_ = new QToolBar(QStringLiteral("toolbarMain"), this);
    cmdSend_ = new QPushButton(QStringLiteral("&Send"), this);
    cmdReply_ = new QPushButton(QStringLiteral("&Reply"), this);
    cmdForward_ = new QPushButton(QStringLiteral("&Forward"), this);
    cmdReply_->setToolTip(QStringLiteral("Reply"));
    cmdForward_->setToolTip(QStringLiteral("Forward"));
    ImageList pictures;
    FillToolbarImages(pictures);
    for (const auto& [key, button] : {std::pair{"send", cmdSend_}, std::pair{"reply", cmdReply_},
                                      std::pair{"forward", cmdForward_}}) {
        button->setIcon(QIcon(pictures.ListImages(QString::fromUtf8(key))));
    }
    // The main bar keeps its captions beside the pictures; the edit bar shows pictures only.
    toolbarMain_->setIconSize(QSize(16, 16));
    toolbarMain_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (const MainButton& b : kMainButtons) {
        const QString key = QString::fromUtf8(b.key);
        QAction* action = nullptr;
        if (isSeparatorKey(key)) {
            action = toolbarMain_->addSeparator();
        } else if (key == QStringLiteral("send")) {
            action = toolbarMain_->addWidget(cmdSend_);
        } else if (key == QStringLiteral("reply")) {
            action = toolbarMain_->addWidget(cmdReply_);
        } else if (key == QStringLiteral("forward")) {
            action = toolbarMain_->addWidget(cmdForward_);
        } else {
            action = toolbarMain_->addAction(QString::fromUtf8(b.caption));
            action->setToolTip(QString::fromUtf8(b.toolTip ? b.toolTip : b.caption));
            action->setIcon(QIcon(pictures.ListImages(key)));
            connect(action, &QAction::triggered, this, [this, key] { DoToolbarCommand(key); });
        }
        action->setObjectName(key);
        action->setData(QString::fromUtf8(b.tag));
    }
    // Neither has anything to do in this window.
    for (const char* key : {"historysep", "history", "helpsep", "help"}) {
        ToolbarButton(QString::fromUtf8(key))->setVisible(false);
    }
    ToolbarCaptions::FitToWidth(toolbarMain_);
    toolBarEdit_ = new QToolBar(QStringLiteral("toolBarEdit"), this);
    toolBarEdit_->setIconSize(QSize(16, 16));
    for (const EditTool& b : kEditTools) {
        const QString key = QString::fromUtf8(b.key);
        QAction* action = toolBarEdit_->addAction(QString::fromUtf8(b.caption));
        action->setObjectName(key);
        action->setToolTip(QString::fromUtf8(b.toolTip));
        action->setIcon(QIcon(pictures.ListImages(key)));
        action->setData(QStringLiteral("edit"));
        connect(action, &QAction::triggered, this, [this, key] { DoToolbarCommand(key); });
    }
    // The main bar takes the room the edit bar leaves, so the width it gets, not the width its
    // buttons now ask for, decides whether their captions fit;
    // the edit bar's few pictures always show whole.
    toolBarEdit_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    bars->addWidget(toolbarMain_, 1);
    bars->setSpacing(0); // each bar keeps its own margin and handle
    bars->addWidget(toolBarEdit_);
    outer->addLayout(bars);

    auto* grid = new QGridLayout;
    auto addressRow = [&](int row, const QString& caption, const QString& button, QLabel*& label,
                          QPushButton*& chooser, QLineEdit*& box) {
        label = new QLabel(caption, this);
        chooser = new QPushButton(button, this);
        box = new QLineEdit(this);
        auto* cell = new QHBoxLayout;
        cell->addWidget(label);
        cell->addWidget(chooser);
        grid->addLayout(cell, row, 0);
        grid->addWidget(box, row, 1);
    };
    addressRow(0, QStringLiteral("From:"), QStringLiteral("From..."), lblFromDesc_, cmdFrom_,
               ctlFrom_);
    addressRow(1, QStringLiteral("To:"), QStringLiteral("To..."), lblToDesc_, cmdTo_, ctlTo_);
    grid->addWidget(ctlTo_, 1, 1, 1, 4);
    lblDateDesc_ = new QLabel(QStringLiteral("Sent Date:"), this);
    lblDate_ = new QLabel(this);
    lblDate_->setTextFormat(Qt::PlainText);
    picPersonal_ = new QLabel(QStringLiteral("Personal"), this);
    picPersonal_->setToolTip(
        QStringLiteral("This message is \"Personal\" and cannot be seen by other users"));
    grid->addWidget(lblDateDesc_, 0, 2);
    grid->addWidget(lblDate_, 0, 3);
    grid->addWidget(picPersonal_, 0, 4);
    grid->setColumnStretch(1, 1);
    outer->addLayout(grid);
    ctlFrom_->setReadOnly(true);

    txtBody_ = new MultiLineTextBox(this);
    outer->addWidget(txtBody_, 1);

    mnuPopupFrom_ = new QMenu(this);
    mnuFromDefault_ = mnuPopupFrom_->addAction(QString());
    mnuFromPersonal_ = mnuPopupFrom_->addAction(QString());
    connect(mnuFromDefault_, &QAction::triggered, this, [this] { ChooseStationSender(); });
    connect(mnuFromPersonal_, &QAction::triggered, this, [this] { ChoosePersonalSender(); });

    connect(cmdSend_, &QPushButton::clicked, this, [this] { Send(); });
    connect(cmdReply_, &QPushButton::clicked, this, [this] { Answer(false); });
    connect(cmdForward_, &QPushButton::clicked, this, [this] { Answer(true); });
    connect(cmdFrom_, &QPushButton::clicked, this, [this] { showFromMenu(); });
    connect(cmdTo_, &QPushButton::clicked, this, [this] { AddRecipientFromDirectory(); });
    for (QLineEdit* box : {ctlFrom_, ctlTo_}) {
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this, box] { addressChanged(box); });
    }
    FormHelper::SelectAllTextOnFocus(txtBody_, [this] { return editable_; });
    connect(txtBody_, &QPlainTextEdit::textChanged, this, [this] { bodyChanged(); });
}

QAction* frmSMSMessage::ToolbarButton(const QString& key) const {
    return toolbarMain_->findChild<QAction*>(key.toLower(), Qt::FindDirectChildrenOnly);
}

QAction* frmSMSMessage::EditButton(const QString& key) const {
    return toolBarEdit_->findChild<QAction*>(key.toLower(), Qt::FindDirectChildrenOnly);
}

void frmSMSMessage::SetEditable(bool editable) {
    editable_ = emailrules::EffectiveEditable(editable, smsSendEnabled());
    applyEditable();
}

void frmSMSMessage::applyEditable() {
    const cOCSettings* settings = stationSettings();
    const bool canSend = smsSendEnabled();
    const bool personal = settings != nullptr && settings->EmailAllowPersonalAddresses();
    const emailrules::Visibility v = emailrules::VisibilityFor(editable_, canSend, personal);
    toolBarEdit_->setVisible(v.EditToolbar);
    for (QAction* action : toolbarMain_->actions()) {
        const QString tag = action->data().toString();
        if (tag == QStringLiteral("edit")) {
            action->setVisible(editable_);
        } else if (tag == QStringLiteral("notedit")) {
            action->setVisible(!editable_);
        }
    }
    ToolbarButton(QStringLiteral("reply"))->setVisible(v.Answers);
    ToolbarButton(QStringLiteral("forward"))->setVisible(v.Answers);
    ctlFrom_->setFrame(editable_);
    QPalette face = ctlFrom_->palette();
    face.setColor(QPalette::Base, palette().color(QPalette::Button));
    ctlFrom_->setPalette(face);
    cmdFrom_->setVisible(v.FromChooser);
    lblFromDesc_->setVisible(!v.FromChooser);
    lblDate_->setVisible(v.Date);
    lblDateDesc_->setVisible(v.Date);
    // Masked numbers are never typed over: the box shows only the mask.
    const bool toWasReadOnly = ctlTo_->isReadOnly();
    ctlTo_->setReadOnly(!editable_ || masking_);
    if (toWasReadOnly != ctlTo_->isReadOnly()) {
        // The same entries, shown as a box of that kind shows them: nothing was edited.
        const QSignalBlocker quiet(ctlTo_);
        ctlTo_->setText(smsrules::ShownEntries(
            mime::SplitAddressText(DisplayText::Cleaned(ctlTo_->text())), ctlTo_->isReadOnly()));
    }
    ctlTo_->setFrame(editable_);
    QPalette colours = ctlTo_->palette();
    colours.setColor(QPalette::Base, editable_ ? palette().color(QPalette::Base)
                                               : palette().color(QPalette::Button));
    ctlTo_->setPalette(colours);
    lblToDesc_->setVisible(v.AddressCaptions);
    cmdTo_->setVisible(v.AddressChoosers);
    txtBody_->SetLocked(!editable_);
    txtBody_->SetMaxLength(editable_ ? smsrules::kMaxLength : 0);
}

frmSMSMessage::Addresses& frmSMSMessage::addressesOf(QLineEdit* box) {
    return box == ctlFrom_ ? from_ : to_;
}

void frmSMSMessage::loadAddresses(QLineEdit* box, const QString& text, bool& namesFilled) {
    Addresses& addresses = addressesOf(box);
    addresses = {};
    if (masking_) {
        // An empty box shows no mask: it would make a missing recipient look present.
        const QStringList real = mime::SplitAddressText(text);
        if (!real.isEmpty()) {
            addresses.Shown += smsrules::MaskedEntry(QString());
            addresses.Real += real;
        }
    } else {
        const smsrules::FilledAddresses filled = smsrules::FillNames(text, directoryNameFor);
        addresses.Shown = filled.Entries;
        namesFilled = namesFilled || filled.NamesFilled;
        showAddresses(box);
        if (filled.NamesFilled) {
            MimeMessage mime = message_->CDOMessage();
            if (box == ctlFrom_) {
                mime.SetFrom(DisplayText::Cleaned(box->text()));
            } else {
                mime.SetTo(DisplayText::Cleaned(box->text()));
            }
            message_->SetCDOMessage(mime);
        }
        return;
    }
    showAddresses(box);
}

void frmSMSMessage::showAddresses(QLineEdit* box) {
    const QSignalBlocker quiet(box);
    box->setText(smsrules::ShownEntries(addressesOf(box).Shown, box->isReadOnly()));
}

QString frmSMSMessage::realText(QLineEdit* box) const {
    if (!masking_) {
        // What a box shows may carry the display rule's isolates: they are never stored.
        return DisplayText::Cleaned(box->text());
    }
    QStringList all;
    for (const QStringList& group : (box == ctlFrom_ ? from_ : to_).Real) {
        all += group;
    }
    return smsrules::JoinEntries(all);
}

void frmSMSMessage::SetMessage(const std::shared_ptr<OrlixMessage>& message) {
    if (message_) {
        disconnect(message_.get(), nullptr, this, nullptr);
    }
    message_ = message;
    loading_ = true;
    SetEditable(true);

    lblDate_->clear();
    from_ = {};
    to_ = {};
    showAddresses(ctlFrom_);
    showAddresses(ctlTo_);
    for (const char* key : {"print", "delete", "save"}) {
        ToolbarButton(QString::fromUtf8(key))->setEnabled(false);
    }
    txtBody_->SetText(QString());
    picPersonal_->setVisible(false);

    if (!message_) {
        message_ = std::make_shared<OrlixMessage>();
        message_->SetKind(OrlixMessage::KindSms);
    }
    OrlixMessage& m = *message_;
    const bool wasEdited = m.Edited();
    messagewindow::TakeOutOfQueue(m, "taking the SMS out of the Outbox queue");
    OrlixDatabase* db = messagewindow::Database();
    if (m.SentDate().isValid()) {
        lblDate_->setText(m.SentDateText());
    } else if (db != nullptr && m.CDOMessage().From().isEmpty()) {
        const QString sender =
            smsrules::StationSender(db->StationName(), db->StationSMSPhoneNumber());
        if (!sender.isEmpty()) {
            MimeMessage mime = m.CDOMessage();
            mime.SetFrom(sender);
            m.SetCDOMessage(mime);
        }
    }
    bool namesFilled = false;
    masking_ = MachineSettingsKeys::MaskPhoneNumbers();
    loadAddresses(ctlFrom_, m.CDOMessage().From(), namesFilled);
    masking_ = MachineSettingsKeys::MaskPhoneNumbers();
    loadAddresses(ctlTo_, m.CDOMessage().To(), namesFilled);
    const QString text = m.CDOMessage().TextBody();
    if (!text.isEmpty()) {
        txtBody_->SetText(text);
    }
    picPersonal_->setVisible(m.PersonalOwner() != 0);
    if (!emailrules::OpensEditable(m.SentDate(), m.Folder())) {
        SetEditable(false);
    } else {
        applyEditable();
    }
    ToolbarButton(QStringLiteral("delete"))->setEnabled(m.Reference() > 0);
    ToolbarButton(QStringLiteral("print"))->setEnabled(true);
    if (m.Reference() > 0 && namesFilled && db != nullptr) {
        bool ok = false;
        db->StoreMessage(m, ok);
    }
    m.SetEdited(wasEdited);
    messageEdited(wasEdited);
    connect(&m, &OrlixMessage::MessageEdited, this, &frmSMSMessage::messageEdited);
    loading_ = false;
}

void frmSMSMessage::messageEdited(bool edited) {
    messagewindow::ShowEditedState(ToolbarButton(QStringLiteral("save")),
                                   ToolbarButton(QStringLiteral("movemessage")), edited);
}

void frmSMSMessage::addressChanged(QLineEdit* box) {
    if (loading_ || !message_) {
        return;
    }
    const QString text = realText(box);
    const bool from = box == ctlFrom_;
    message_->ChangeCDOMessage([&](MimeMessage& mime) {
        if (from) {
            mime.SetFrom(text);
        } else {
            mime.SetTo(text);
        }
    });
    message_->SetEdited(true);
}

void frmSMSMessage::bodyChanged() {
    if (loading_ || !message_) {
        return;
    }
    const QString text = txtBody_->Text();
    message_->ChangeCDOMessage([&](MimeMessage& mime) {
        mime.SetSubject(text);
        mime.SetTextBody(text);
    });
    message_->SetEdited(true);
}

bool frmSMSMessage::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        if (editable_) {
            if (ctlTo_->text().isEmpty()) {
                ctlTo_->setFocus();
            } else {
                txtBody_->setFocus();
            }
        } else if (txtBody_->isEnabled()) {
            txtBody_->setFocus();
        }
    }
    return QWidget::event(event);
}

bool frmSMSMessage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        for (QLineEdit* box : {ctlFrom_, ctlTo_}) {
            if (watched == box && box->isReadOnly()) {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                ClickAddress(box, box->cursorPositionAt(mouse->position().toPoint()));
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

QWidget* frmSMSMessage::ClickAddress(QLineEdit* box, int position) {
    if (box != ctlFrom_ && (box != ctlTo_ || editable_)) {
        return nullptr;
    }
    const int index = smsrules::EntryIndexAt(box->text(), position);
    if (index < 0) {
        return nullptr;
    }
    QString entry;
    if (masking_) {
        // The real entry behind the mask; the first of several loaded ones.
        entry = addressesOf(box).Real.value(index).value(0);
    } else {
        entry = mime::SplitAddressText(DisplayText::Cleaned(box->text())).value(index);
    }
    if (entry.isEmpty()) {
        return nullptr;
    }
    return messagewindow::Raised(
        FindContactByPhone(smsrules::NameOfEntry(entry), mime::AddressOfEntry(entry), nullptr));
}

void frmSMSMessage::PrepareFromMenu() {
    messagewindow::PrepareFromMenu(mnuFromDefault_, mnuFromPersonal_);
}

void frmSMSMessage::showFromMenu() {
    PrepareFromMenu();
    mnuPopupFrom_->popup(cmdFrom_->mapToGlobal(QPoint(cmdFrom_->width(), 0)));
}

void frmSMSMessage::setSender(const QString& name, const QString& address) {
    Addresses& sender = from_;
    sender = {};
    if (!address.isEmpty()) {
        const QString entry = mime::ComposeAddressEntry(name, address);
        if (masking_) {
            sender.Shown += smsrules::MaskedEntry(name);
            sender.Real += QStringList{entry};
        } else {
            sender.Shown += entry;
        }
    }
    showAddresses(ctlFrom_);
    addressChanged(ctlFrom_);
}

void frmSMSMessage::ChooseStationSender() {
    const cOCSettings* settings = stationSettings();
    if (settings == nullptr) {
        return;
    }
    setSender(settings->EmailName(), settings->EmailAddress());
    if (message_) {
        message_->SetPersonalOwner(0);
    }
}

void frmSMSMessage::ChoosePersonalSender() {
    KVDirectory* dir = messagewindow::Directory();
    const auto user = dir ? dir->CurrentUser() : nullptr;
    if (!user) {
        return;
    }
    const QString address = emailrules::FirstEmail(user->Email1(), user->Email2(), user->Email3());
    setSender(user->Name(), address);
    if (!address.isEmpty() && message_) {
        message_->SetPersonalOwner(user->Reference());
    }
}

void frmSMSMessage::AddRecipientFromDirectory() {
    const auto contact = messagewindow::ChooseContact(this);
    if (!contact) {
        return;
    }
    const QString number = smsrules::FirstPhoneNumber(
        contact->MobileNumber(), contact->PhoneNumber1(), contact->PhoneNumber2());
    if (number.isEmpty()) {
        MsgBox(contact->Name() + QString::fromUtf8(smsrules::kNoPhoneSuffix), MsgIcon::Exclamation,
               MsgButtons::OK, 0, this);
        return;
    }
    const QString entry = mime::ComposeAddressEntry(contact->Name(), number);
    if (masking_) {
        to_.Shown += smsrules::MaskedEntry(contact->Name());
        to_.Real += QStringList{entry};
    } else {
        // What was typed stays; the chosen contact follows it.
        to_.Shown = mime::SplitAddressText(DisplayText::Cleaned(ctlTo_->text()));
        to_.Shown += entry;
    }
    showAddresses(ctlTo_);
    addressChanged(ctlTo_);
}
