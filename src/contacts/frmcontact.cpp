#include "contacts/frmcontact.h"

#include "contacts/addresslabelprinter.h"
#include "contacts/contactsaverules.h"
#include "contacts/contactwindowlayout.h"
#include "core/debuglog.h"
#include "core/dialogs/contacthistory.h"
#include "core/profile/recentlists.h"
#include "core/program.h"
#include "core/storequestions.h"
#include "platform/directory/controls/ucontact.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/system/graphicsrenderer.h"
#include "platform/system/renderer.h"
#include "platform/ui/backcolour.h"
#include "platform/ui/listview.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QToolBar>

namespace {

KVDirectory* directory() {
    return Program::Instance().Directory();
}

struct ButtonSpec {
    const char* key;
    const char* tip; // empty for a separator
};
constexpr ButtonSpec kButtons[] = {
    {"new", "Create a new Contact"},
    {"save", "Save"},
    {"printsep", ""},
    {"print", "Print"},
    {"printaddress", "Print Address Labels"},
    {"undosep", ""},
    {"undo", "Undo last edit"},
    {"cut", "Cut"},
    {"copy", "Copy"},
    {"paste", "Paste"},
    {"delete", "Delete"},
    {"historysep", ""},
    {"history", "Display this users recent activity history"},
    {"helpsep", ""},
    {"help", "Help!"},
};

QString caption(const char* key) {
    const QString text = QString::fromLatin1(key);
    if (text == QStringLiteral("printaddress")) {
        return QStringLiteral("Labels");
    }
    return text.left(1).toUpper() + text.mid(1);
}

int otherColumnsWidth(const ListView* list, const QString& fillKey) {
    if (list->ColumnHeaderCount() == 0) {
        return -1;
    }
    int sum = 0;
    for (int i = 0; i < list->ColumnHeaderCount(); ++i) {
        if (list->ColumnKey(i) != fillKey) {
            sum += list->ColumnWidthTwips(i);
        }
    }
    return sum;
}

void place(QWidget* widget, const ContactWindowLayout::Rect& r) {
    widget->setGeometry(TwipsToPixels(r.left), TwipsToPixels(r.top), TwipsToPixels(r.width),
                        TwipsToPixels(r.height));
}

} // namespace

frmContact::frmContact(QWidget* owner) : QDialog(owner) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("Contact"));
    build();
    // Esc closes from wherever the focus is, through the close question; the key goes no
    // further.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] { close(); });
    setMinimumSize(TwipsToPixels(ContactWindowLayout::kMinWidth),
                   TwipsToPixels(ContactWindowLayout::kMinHeight));
    setMaximumSize(TwipsToPixels(ContactWindowLayout::kMaxWidth),
                   TwipsToPixels(ContactWindowLayout::kMaxHeight));
    resize(minimumSize());
    layOut();
}

frmContact::~frmContact() {
    // The lists go with the window's children, after this: no filtering while they go.
    for (ListView* list : {lvwContactMessages_, lvwContactPrizes_}) {
        list->viewport()->removeEventFilter(this);
    }
}

void frmContact::build() {
    const QColor back = GraphicsRenderer().WindowBackColour();
    PaintBackColour(this, back);

    toolbarMain_ = new QToolBar(QStringLiteral("toolbarMain"), this);
    toolbarMain_->setObjectName(QStringLiteral("toolbarMain"));
    for (const ButtonSpec& b : kButtons) {
        const QString key = QString::fromLatin1(b.key);
        QAction* action =
            *b.tip == '\0' ? toolbarMain_->addSeparator() : toolbarMain_->addAction(caption(b.key));
        action->setObjectName(key);
        action->setToolTip(QString::fromLatin1(b.tip));
        buttons_.insert(key, action);
        if (*b.tip != '\0') {
            connect(action, &QAction::triggered, this, [this, key] { ToolbarCommand(key); });
        }
    }
    // Nothing in this window prints, undoes or helps; the directory keeps no history.
    for (const char* key : {"print", "undo", "help", "history", "save"}) {
        buttons_.value(QString::fromLatin1(key))->setEnabled(false);
    }
    buttons_.value(QStringLiteral("printaddress"))->setEnabled(HasAddressLabelPrinter());

    lineDark_ = new QFrame(this);
    lineDark_->setFrameShape(QFrame::HLine);
    lineDark_->setFrameShadow(QFrame::Sunken);
    lineLight_ = new QFrame(this);
    lineLight_->setFrameShape(QFrame::HLine);
    lineLight_->setFrameShadow(QFrame::Plain);

    ctlContact_ = new uContact(this);
    ctlContact_->setObjectName(QStringLiteral("ctlContact"));
    ctlContact_->SetBackColour(back);
    ctlContact_->SetDirectory(directory());
    ctlContact_->move(TwipsToPixels(60), toolbarMain_->sizeHint().height() + TwipsToPixels(90));
    AddContactHistoryTabs(ctlContact_);

    const auto frame = [this](const QString& title, ListView*& list, const char* name) {
        auto* box = new QGroupBox(title, this);
        list = new ListView(box);
        list->setObjectName(QString::fromLatin1(name));
        list->setRootIsDecorated(false);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->viewport()->installEventFilter(this);
        box->hide();
        return box;
    };
    fraContactMessages_ =
        frame(QStringLiteral("Messages:"), lvwContactMessages_, "lvwContactMessages");
    fraContactPrizes_ = frame(QStringLiteral("Prizes:"), lvwContactPrizes_, "lvwContactPrizes");
    SetupContactMessagesColumns(lvwContactMessages_);
    SetupContactPrizesColumns(lvwContactPrizes_);

    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setDefault(true);
    cmdCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel_->setAutoDefault(false);
    connect(cmdOK_, &QPushButton::clicked, this, [this] {
        if (SaveDetails()) {
            closing_ = true;
            close();
        }
    });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { close(); });

    connect(ctlContact_, &uContact::EditStateChanged, this,
            [this](bool enabled) { buttons_.value(QStringLiteral("save"))->setEnabled(enabled); });
    connect(ctlContact_, &uContact::HistoryChanged, this, [this](const QString& text) {
        buttons_.value(QStringLiteral("history"))->setEnabled(!text.isEmpty());
    });
    connect(ctlContact_, &uContact::TabChanged, this, &frmContact::tabChanged);
    if (KVDirectory* dir = directory()) {
        connect(dir, &KVDirectory::ContactLogin, this, &frmContact::applyRights);
        connect(dir, &KVDirectory::ContactLogout, this, &frmContact::applyRights);
    }
    applyRights();
}

void frmContact::applyRights() {
    const KVDirectory* dir = directory();
    const auto user = dir != nullptr ? dir->CurrentUser() : nullptr;
    const bool canSave = user && user->DirectoryRights().CanSaveContacts();
    for (const char* key : {"new", "cut", "paste"}) {
        buttons_.value(QString::fromLatin1(key))->setEnabled(canSave);
    }
}

std::shared_ptr<DirectoryContact> frmContact::Contact() const {
    return ctlContact_->Contact();
}

void frmContact::SetContact(const std::shared_ptr<DirectoryContact>& contact) {
    ctlContact_->SetContact(contact);
    // The lists show the contact now shown, never the one before it.
    tabChanged(ctlContact_->CurrentTab());
}

bool frmContact::SaveDetails() {
    using namespace ContactSaveRules;
    if (!ctlContact_->CheckDetails(true)) {
        return false;
    }
    KVDirectory* dir = directory();
    const auto user = dir != nullptr ? dir->CurrentUser() : nullptr;
    if (!user) {
        MsgBox(NotLoggedInText(), MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        return false;
    }
    ctlContact_->StoreEdits();
    const auto contact = ctlContact_->Contact();
    if (!contact) {
        return false;
    }
    const Verdict verdict = Check(user->Reference(), user->DirectoryRights(),
                                  contact->OwnerReference(), contact->LoginName());
    if (!verdict.refusal.isEmpty()) {
        MsgBox(verdict.refusal, MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        return false;
    }
    if (verdict.warnUsers) {
        MsgBox(NoUsersRightText(), MsgIcon::Exclamation, MsgButtons::OK, 0, this);
    }
    if (!store(*dir, contact)) {
        return false;
    }
    AddContactToMRU(dir, contact->Reference());
    if (contact->Reference() == user->Reference()) {
        MsgBox(OwnRecordText(), MsgIcon::Information, MsgButtons::OK, 0, this);
    }
    return true;
}

bool frmContact::store(KVDirectory& dir, const std::shared_ptr<DirectoryContact>& contact) {
    using StoreQuestions::Named;
    const QString item =
        Named(contact->LoginName().isEmpty() ? QStringLiteral("Contact") : QStringLiteral("User"),
              contact->Name().trimmed());
    qint32 reference = contact->Reference();
    for (;;) {
        QString refusal;
        qint64 current = 0;
        switch (dir.StoreContact(reference, contact, &refusal, &current)) {
        case KVDirectory::SaveOutcome::Stored:
            return true;
        case KVDirectory::SaveOutcome::ChangedElsewhere:
            switch (MsgBox(StoreQuestions::ChangedElsewhere(item), MsgIcon::Question,
                           MsgButtons::YesNoCancel, 2, this)) {
            case MsgResult::Yes:
                // This version replaces the one read now; a change made after it asks again.
                contact->SetChangeCount(current);
                continue;
            case MsgResult::No:
                if (const auto theirs = dir.GetContact(reference, true, true)) {
                    SetContact(theirs);
                }
                return false;
            default:
                return false;
            }
        case KVDirectory::SaveOutcome::Gone:
            if (MsgBox(StoreQuestions::DeletedElsewhere(item, QStringLiteral("Contact")),
                       MsgIcon::Question, MsgButtons::YesNo, 1, this) != MsgResult::Yes) {
                return false;
            }
            reference = 0; // stored anew, under the same rights as any new contact
            continue;
        case KVDirectory::SaveOutcome::Refused:
            DebugLog(QStringLiteral("Contact window: the directory did not store '%1': %2")
                         .arg(contact->Name(), refusal));
            MsgBox(StoreQuestions::CouldNotBeSaved(
                       Named(QStringLiteral("Contact"), contact->Name().trimmed()), refusal),
                   MsgIcon::Exclamation, MsgButtons::OK, 0, this);
            return false;
        }
        return false;
    }
}

void frmContact::ToolbarCommand(const QString& key) {
    const QString k = key.toLower();
    if (k == QStringLiteral("new")) {
        newContact();
    } else if (k == QStringLiteral("save")) {
        SaveDetails();
    } else if (k == QStringLiteral("printaddress")) {
        printAddress();
    } else if (k == QStringLiteral("cut")) {
        ctlContact_->EditCut();
    } else if (k == QStringLiteral("copy")) {
        ctlContact_->EditCopy();
    } else if (k == QStringLiteral("paste")) {
        ctlContact_->EditPaste();
    } else if (k == QStringLiteral("delete")) {
        ctlContact_->EditDelete();
    }
}

void frmContact::newContact() {
    KVDirectory* dir = directory();
    if (dir == nullptr) {
        return;
    }
    // Replacing the contact silently would lose what was typed: the closing question first.
    if (!askToClose()) {
        return;
    }
    SetContact(dir->CreateContact(0));
}

void frmContact::printAddress() {
    const auto contact = ctlContact_->Contact();
    if (!contact) {
        return;
    }
    // Printing takes the typed fields but never marks the contact changed.
    const bool modified = contact->Modified();
    ctlContact_->StoreEdits();
    contact->SetModified(modified);
    const QString text = ContactSaveRules::LabelText(*contact);
    if (text.isEmpty()) {
        MsgBox(ContactSaveRules::NoAddressText(), MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        return;
    }
    PrintAddressLabels(text, true, nullptr);
}

bool frmContact::askToClose() {
    if (closing_ || !ctlContact_->ContactChanged()) {
        return true;
    }
    // The question names the contact as the user sees it, edits not yet stored included.
    switch (MsgBox(ContactSaveRules::CloseQuestion(ctlContact_->EditedName()), MsgIcon::Exclamation,
                   MsgButtons::YesNoCancel, 0, this)) {
    case MsgResult::Yes:
        return SaveDetails();
    case MsgResult::No:
        return true;
    default:
        return false;
    }
}

void frmContact::reject() {
    close();
}

void frmContact::closeEvent(QCloseEvent* event) {
    if (!askToClose()) {
        event->ignore();
        return;
    }
    closing_ = true;
    // Not QDialog's: it would call reject(), which comes back here.
    QWidget::closeEvent(event);
}

void frmContact::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layOut();
}

void frmContact::layOut() {
    if (isMinimized() || ctlContact_ == nullptr) {
        return;
    }
    const auto twips = [](int pixels) { return static_cast<qint32>(PixelsToTwips(pixels)); };
    const int toolbarHeight = toolbarMain_->sizeHint().height();
    toolbarMain_->setGeometry(0, 0, width(), toolbarHeight);
    ContactWindowLayout::Input in;
    in.width = twips(width());
    in.height = twips(height());
    in.toolbarTop = 0;
    in.toolbarHeight = twips(toolbarHeight);
    in.okWidth = 1215;
    in.okHeight = 375;
    in.cancelWidth = 1215;
    in.cancelHeight = 375;
    in.contactTop = twips(ctlContact_->y());
    in.messagesOtherColumns =
        otherColumnsWidth(lvwContactMessages_, ContactHistory::MessagesFillColumnKey());
    in.prizesOtherColumns =
        otherColumnsWidth(lvwContactPrizes_, ContactHistory::PrizesFillColumnKey());
    // The page is read from the control once it has its new size.
    const auto first = ContactWindowLayout::Compute(in);
    place(ctlContact_, first.contact);
    in.pageLeft = ctlContact_->TabAreaLeft();
    in.pageTop = ctlContact_->TabAreaTop();
    in.pageWidth = ctlContact_->TabAreaWidth();
    in.pageHeight = ctlContact_->TabAreaHeight();
    const auto out = ContactWindowLayout::Compute(in);

    lineDark_->setGeometry(0, TwipsToPixels(out.lineDarkTop), width(), 1);
    lineLight_->setGeometry(0, TwipsToPixels(out.lineLightTop), width(), 1);
    place(cmdOK_, out.ok);
    place(cmdCancel_, out.cancel);
    for (QGroupBox* frame : {fraContactMessages_, fraContactPrizes_}) {
        place(frame, out.frame);
    }
    place(lvwContactMessages_, out.list);
    place(lvwContactPrizes_, out.list);
    const auto fill = [](ListView* list, const QString& key, qint32 width) {
        const int column = list->ColumnIndexOfKey(key);
        if (width >= 0 && column >= 0) {
            list->SetColumnWidthTwips(column, width);
        }
    };
    fill(lvwContactMessages_, ContactHistory::MessagesFillColumnKey(), out.messagesFillWidth);
    fill(lvwContactPrizes_, ContactHistory::PrizesFillColumnKey(), out.prizesFillWidth);
}
