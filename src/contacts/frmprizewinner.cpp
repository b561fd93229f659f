#include "contacts/frmprizewinner.h"

#include "contacts/frmaddresslabels.h"
#include "core/dialogs/frmchoosecontact.h"
#include "core/dialogs/frmdatepicker.h"
#include "core/program.h"
#include "core/windows/windowopeners.h"
#include "platform/directory/contactfilter.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/messagesdb/storeddates.h"
#include "platform/system/datetimehelper.h"
#include "platform/system/graphicsrenderer.h"
#include "platform/system/renderer.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/plainlabel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

OrlixDatabase* database() {
    return Program::Instance().Database();
}
KVDirectory* directory() {
    return Program::Instance().Directory();
}

QPushButton* button(const QString& text, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(text, parent); // owned by the parent
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

QLabel* plain(QWidget* parent, const char* name) {
    return PlainLabel::Create(parent, name, Qt::NoTextInteraction);
}

// The entry of the logged-in user; -1 when nobody is logged in or the user is not listed.
int currentUserIndex(const QComboBox* combo) {
    KVDirectory* dir = directory();
    const auto user = dir != nullptr ? dir->CurrentUser() : nullptr;
    return user ? combo->findData(user->Reference()) : -1;
}

} // namespace

frmPrizeWinner::frmPrizeWinner(QWidget* owner)
    : QDialog(owner),
      closer_(
          this, QStringLiteral("This Prize has been edited. Do you want to save the changes?"),
          [this] { return winner_ && winner_->Edited(); }, [this] { return SavePrizeWinner(); }) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("Prize Winner Details"));
    QPalette back = palette();
    back.setColor(QPalette::Window, GraphicsRenderer().WindowBackColour());
    setPalette(back);
    build();
    LoadPrizeWinner(nullptr);
}

frmPrizeWinner::~frmPrizeWinner() {
    // The field's edit box loses the focus while the window's children are destroyed; this
    // window is no longer there to resolve it.
    disconnect(comboWinner_, nullptr, this, nullptr);
}

void frmPrizeWinner::build() {
    auto* outer = new QVBoxLayout(this);

    auto* prizeTabs = new QTabWidget(this);
    auto* prizePage = new QWidget(prizeTabs);
    auto* p = new QGridLayout(prizePage);
    lblPrizeTitle_ = plain(prizePage, "lblPrizeTitle");
    cmdOpenPrize_ =
        button(QStringLiteral("Open"), QStringLiteral("Display Prize Details"), prizePage);
    lblReference_ = plain(prizePage, "lblReference");
    p->addWidget(new QLabel(QStringLiteral("Prize:"), prizePage), 0, 0);
    p->addWidget(lblPrizeTitle_, 0, 1);
    p->addWidget(cmdOpenPrize_, 0, 2);
    p->addWidget(new QLabel(QStringLiteral("Ref:"), prizePage), 0, 3);
    p->addWidget(lblReference_, 0, 4);
    p->setColumnStretch(1, 1);
    prizeTabs->addTab(prizePage, QStringLiteral("Prize"));
    outer->addWidget(prizeTabs);

    auto* winnerTabs = new QTabWidget(this);
    auto* page = new QWidget(winnerTabs);
    auto* g = new QGridLayout(page);
    // The whole name is resolved after typing stops, or when typing ends; Enter then presses
    // OK.
    comboWinner_ = new PickComboBox(page);
    comboWinner_->setMaxVisibleItems(20);
    // Sized by a name's length, not by measuring every name of the directory when shown.
    comboWinner_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    comboWinner_->setMinimumContentsLength(24);
    // The combo box has the focus and hands it on to its edit box itself.
    comboWinner_->installEventFilter(this);
    cmdChooseWinner_ = button(QStringLiteral("..."), QStringLiteral("Choose Winner"), page);
    cmdAddNewWinner_ = button(QStringLiteral("New"),
                              QStringLiteral("Add a new Winner's Details to the Directory"), page);
    cmdOpenWinner_ =
        button(QStringLiteral("Open"), QStringLiteral("Display Winner's details"), page);
    auto* winnerButtons = new QHBoxLayout();
    winnerButtons->addWidget(cmdChooseWinner_);
    winnerButtons->addWidget(cmdAddNewWinner_);
    winnerButtons->addWidget(cmdOpenWinner_);
    g->addWidget(new QLabel(QStringLiteral("Winner:"), page), 0, 0);
    g->addWidget(comboWinner_, 0, 1, 1, 3);
    g->addLayout(winnerButtons, 0, 4);
    lblWinnerDetails_ = plain(page, "lblWinnerDetails");
    lblWinnerDetails_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdPrintAddressLabel_ =
        button(QStringLiteral("Label"), QStringLiteral("Print Address Label"), page);
    g->addWidget(lblWinnerDetails_, 1, 1, 1, 3);
    g->addWidget(cmdPrintAddressLabel_, 1, 4, Qt::AlignTop);
    tmrUpdatePrizeWinner_ = new QTimer(this);
    tmrUpdatePrizeWinner_->setSingleShot(true);
    tmrUpdatePrizeWinner_->setInterval(kTypeAheadMs);

    comboAwardedBy_ = new QComboBox(page);
    lblWonDate_ = plain(page, "lblWonDate");
    auto* cmdSetWonDate =
        button(QStringLiteral("Now"), QStringLiteral("Set Won Date as 'Now'"), page);
    auto* cmdSelectWonDate = button(QStringLiteral("..."), QStringLiteral("Select Won Date"), page);
    g->addWidget(new QLabel(QStringLiteral("Awarded By:"), page), 2, 0);
    g->addWidget(comboAwardedBy_, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("Date:"), page), 2, 2);
    g->addWidget(lblWonDate_, 2, 3);
    auto* wonButtons = new QHBoxLayout();
    wonButtons->addWidget(cmdSetWonDate);
    wonButtons->addWidget(cmdSelectWonDate);
    g->addLayout(wonButtons, 2, 4);

    chkSent_ = new QCheckBox(QStringLiteral("Sent By:"), page);
    comboSentBy_ = new QComboBox(page);
    lblSentDateDesc_ = new QLabel(QStringLiteral("Date:"), page);
    lblSentDate_ = plain(page, "lblSentDate");
    // A date reads on one line.
    lblWonDate_->setWordWrap(false);
    lblSentDate_->setWordWrap(false);
    cmdSetSentDate_ = button(QStringLiteral("Now"), QStringLiteral("Set Sent Date as 'Now'"), page);
    cmdSelectSentDate_ = button(QStringLiteral("..."), QStringLiteral("Select Sent Date"), page);
    g->addWidget(chkSent_, 3, 0);
    g->addWidget(comboSentBy_, 3, 1);
    g->addWidget(lblSentDateDesc_, 3, 2);
    g->addWidget(lblSentDate_, 3, 3);
    auto* sentButtons = new QHBoxLayout();
    sentButtons->addWidget(cmdSetSentDate_);
    sentButtons->addWidget(cmdSelectSentDate_);
    g->addLayout(sentButtons, 3, 4);

    txtNotes_ = new QPlainTextEdit(page);
    txtNotesToSupplier_ = new QPlainTextEdit(page);
    txtNotes_->installEventFilter(this);
    txtNotesToSupplier_->installEventFilter(this);
    g->addWidget(new QLabel(QStringLiteral("Notes / Special Instructions:"), page), 4, 0, 1, 5);
    g->addWidget(txtNotes_, 5, 0, 1, 5);
    g->addWidget(new QLabel(QStringLiteral("Notes To Supplier:"), page), 6, 0, 1, 5);
    g->addWidget(txtNotesToSupplier_, 7, 0, 1, 5);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    winnerTabs->addTab(page, QStringLiteral("Winner"));
    outer->addWidget(winnerTabs);

    auto* buttons = new QHBoxLayout();
    cmdDelete_ =
        button(QStringLiteral("Delete"), QStringLiteral("Remove this winner from the Prize"), this);
    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setDefault(true);
    cmdApply_ = button(QStringLiteral("Apply"), QString(), this);
    cmdCancel_ = button(QStringLiteral("Cancel"), QString(), this);
    buttons->addWidget(cmdDelete_);
    buttons->addStretch();
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdApply_);
    buttons->addWidget(cmdCancel_);
    outer->addLayout(buttons);

    if (KVDirectory* dir = directory()) {
        qint32 count = 0;
        dir->FillContactsCombo(comboWinner_, -1, count);
        dir->FillContactsCombo(comboAwardedBy_, 2, count);
        dir->FillContactsCombo(comboSentBy_, 2, count);
    }
    comboWinner_->setCurrentIndex(-1);
    comboAwardedBy_->setCurrentIndex(-1);
    comboSentBy_->setCurrentIndex(-1);

    connect(comboWinner_, &QComboBox::editTextChanged, this, &frmPrizeWinner::winnerChanged);
    connect(comboWinner_, &PickComboBox::EntryPicked, this, &frmPrizeWinner::winnerChanged);
    connect(comboWinner_, &PickComboBox::TypingFinished, this, &frmPrizeWinner::ResolveTypedWinner);
    connect(tmrUpdatePrizeWinner_, &QTimer::timeout, this, &frmPrizeWinner::ResolveTypedWinner);
    connect(chkSent_, &QCheckBox::clicked, this, &frmPrizeWinner::sentClicked);
    const auto userInto = [this](QComboBox* combo, void (OrlixPrizeWinner::*set)(qint32)) {
        const auto write = [this, combo, set] {
            if (!quiet() && combo->currentIndex() >= 0) {
                (winner_.get()->*set)(combo->currentData().toInt());
            }
        };
        connect(combo, &QComboBox::activated, this, write);
        connect(combo, &QComboBox::currentIndexChanged, this, write);
    };
    userInto(comboAwardedBy_, &OrlixPrizeWinner::SetAwardedByReference);
    userInto(comboSentBy_, &OrlixPrizeWinner::SetSentByReference);
    connect(cmdSetWonDate, &QPushButton::clicked, this, [this] {
        if (!quiet()) {
            winner_->SetWonDate(QDateTime::currentDateTime());
            lblWonDate_->setText(winner_->WonDateText());
        }
    });
    connect(cmdSetSentDate_, &QPushButton::clicked, this, [this] {
        if (!quiet()) {
            winner_->SetSentDate(QDateTime::currentDateTime());
            lblSentDate_->setText(winner_->SentDateText());
        }
    });
    const auto selectDate = [this](QLabel* label, QDateTime (OrlixPrizeWinner::*get)() const,
                                   void (OrlixPrizeWinner::*set)(const QDateTime&),
                                   QString (OrlixPrizeWinner::*text)() const) {
        return [this, label, get, set, text] {
            if (!winner_) {
                return;
            }
            const auto shown = winner_;
            const DateTimeRecord chosen = frmDatePicker::SelectDate(
                DateTimeHelper::DateToTimeRecord((shown.get()->*get)()), true, false, true);
            if (chosen.Day != 0) {
                (shown.get()->*set)(DateTimeHelper::TimeRecordToDate(chosen));
                label->setText((shown.get()->*text)());
            }
        };
    };
    connect(cmdSelectWonDate, &QPushButton::clicked, this,
            selectDate(lblWonDate_, &OrlixPrizeWinner::WonDate, &OrlixPrizeWinner::SetWonDate,
                       &OrlixPrizeWinner::WonDateText));
    connect(cmdSelectSentDate_, &QPushButton::clicked, this,
            selectDate(lblSentDate_, &OrlixPrizeWinner::SentDate, &OrlixPrizeWinner::SetSentDate,
                       &OrlixPrizeWinner::SentDateText));
    const auto textInto = [this](QPlainTextEdit* box,
                                 void (OrlixPrizeWinner::*set)(const QString&)) {
        connect(box, &QPlainTextEdit::textChanged, this, [this, box, set] {
            if (!quiet()) {
                (winner_.get()->*set)(box->toPlainText().trimmed());
            }
        });
    };
    textInto(txtNotes_, &OrlixPrizeWinner::SetNotes);
    textInto(txtNotesToSupplier_, &OrlixPrizeWinner::SetNotesToSupplier);
    connect(cmdOpenPrize_, &QPushButton::clicked, this, [this] {
        OrlixDatabase* db = database();
        if (winner_ && db != nullptr) {
            if (auto prize = db->GetPrize(winner_->PrizeReference(), true)) {
                OpenPrize(prize);
            }
        }
    });
    connect(cmdOpenWinner_, &QPushButton::clicked, this, [this] {
        KVDirectory* dir = directory();
        auto contact = (dir != nullptr && winner_)
                           ? dir->GetContact(winner_->WinnerReference(), true, true)
                           : nullptr;
        if (!contact) {
            MsgBox(QStringLiteral("The selected Winner cannot be found in the Contacts Directory"),
                   MsgIcon::Exclamation, MsgButtons::OK, 0, this);
            return;
        }
        OpenContact(contact, 0);
    });
    connect(cmdPrintAddressLabel_, &QPushButton::clicked, this, &frmPrizeWinner::PrintAddressLabel);
    connect(cmdChooseWinner_, &QPushButton::clicked, this, &frmPrizeWinner::ChooseWinner);
    connect(cmdAddNewWinner_, &QPushButton::clicked, this, [this] { AddWinnerContact(QString()); });
    closer_.ConnectButtons(cmdOK_, cmdApply_, cmdCancel_);
    connect(cmdDelete_, &QPushButton::clicked, this, &frmPrizeWinner::DeleteWinner);
    setButtons(false);
}

bool frmPrizeWinner::quiet() const {
    return loading_ || showing_ > 0 || !winner_;
}

bool frmPrizeWinner::LoadPrizeWinner(const std::shared_ptr<OrlixPrizeWinner>& winner) {
    loading_ = true;
    const auto done = qScopeGuard([this] { loading_ = false; });
    if (!winner) {
        comboAwardedBy_->setCurrentIndex(currentUserIndex(comboAwardedBy_));
        comboSentBy_->setCurrentIndex(comboAwardedBy_->currentIndex());
        return true;
    }
    if (winner_ && winner_ != winner) {
        disconnect(winner_.get(), nullptr, this, nullptr);
    }
    winner_ = winner;
    connect(winner_.get(), &OrlixPrizeWinner::PrizeWinnerEdited, this, &frmPrizeWinner::setButtons,
            Qt::UniqueConnection);
    lblReference_->setText(winner_->Reference() > 0 ? QString::number(winner_->Reference())
                                                    : QString());
    ShowWinnerDetails(true);
    OrlixDatabase* db = database();
    const auto prize = db != nullptr ? db->GetPrize(winner_->PrizeReference(), false) : nullptr;
    lblPrizeTitle_->setText(prize ? prize->Title() : QStringLiteral("<Missing Prize>"));
    cmdOpenPrize_->setEnabled(!lblPrizeTitle_->text().isEmpty());
    comboAwardedBy_->setCurrentIndex(
        winner_->AwardedByReference() < 1
            ? currentUserIndex(comboAwardedBy_)
            : comboAwardedBy_->findData(winner_->AwardedByReference()));
    lblWonDate_->setText(winner_->WonDateText());
    if (winner_->SentByReference() < 1) {
        comboSentBy_->setCurrentIndex(currentUserIndex(comboSentBy_));
        shownSentDate_ = QDateTime::currentDateTime();
        lblSentDate_->setText(StoredDates::Text(shownSentDate_));
        chkSent_->setChecked(false);
    } else {
        comboSentBy_->setCurrentIndex(comboSentBy_->findData(winner_->SentByReference()));
        lblSentDate_->setText(winner_->SentDateText());
        chkSent_->setChecked(true);
    }
    sentClicked();
    txtNotes_->setPlainText(winner_->Notes());
    txtNotesToSupplier_->setPlainText(winner_->NotesToSupplier());
    loading_ = false;
    winner_->SetEdited(false);
    return true;
}

void frmPrizeWinner::sentClicked() {
    const bool sent = chkSent_->isChecked();
    comboSentBy_->setEnabled(sent);
    for (QWidget* w : std::initializer_list<QWidget*>{lblSentDateDesc_, lblSentDate_,
                                                      cmdSetSentDate_, cmdSelectSentDate_}) {
        w->setEnabled(sent);
    }
    if (!winner_) {
        return;
    }
    if (!sent) {
        winner_->SetSentByReference(0);
        return;
    }
    // With the sender no longer listed the record keeps the one it has.
    if (comboSentBy_->currentIndex() >= 0) {
        winner_->SetSentByReference(comboSentBy_->currentData().toInt());
    }
    // Ticked by the user on a winner not sent before: the moment shown is the one kept.
    if (!loading_ && !winner_->SentDate().isValid()) {
        winner_->SetSentDate(shownSentDate_.isValid() ? shownSentDate_
                                                      : QDateTime::currentDateTime());
        lblSentDate_->setText(winner_->SentDateText());
    }
}

void frmPrizeWinner::setButtons(bool edited) {
    cmdDelete_->setEnabled(false);
    cmdOK_->setEnabled(true);
    cmdApply_->setEnabled(edited);
    if (winner_ && winner_->Reference() >= 1) {
        cmdDelete_->setEnabled(!edited);
    }
}

bool frmPrizeWinner::entrySelected() const {
    const int index = comboWinner_->currentIndex();
    return index >= 0 && comboWinner_->itemText(index) == comboWinner_->currentText();
}

void frmPrizeWinner::winnerChanged() {
    if (quiet()) {
        return;
    }
    if (!entrySelected()) {
        tmrUpdatePrizeWinner_->start();
        winner_->SetWinnerReference(0);
        lblWinnerDetails_->setText(QStringLiteral("<Waiting>"));
        return;
    }
    const qint32 picked = comboWinner_->currentData().toInt();
    if (picked != winner_->WinnerReference()) {
        winner_->SetWinnerReference(picked);
        ShowWinnerDetails(false);
    }
}

void frmPrizeWinner::ResolveTypedWinner() {
    tmrUpdatePrizeWinner_->stop();
    if (quiet() || entrySelected()) {
        return;
    }
    const QString typed = comboWinner_->currentText().trimmed();
    if (typed != comboWinner_->currentText()) {
        comboWinner_->setEditText(typed);
    }
    int match = -1;
    for (int i = 0; i < comboWinner_->count(); ++i) {
        if (comboWinner_->itemText(i).compare(typed, Qt::CaseInsensitive) == 0) {
            if (match >= 0) {
                match = -1;
                break;
            }
            match = i;
        }
    }
    if (match >= 0) {
        comboWinner_->setCurrentIndex(match);
        comboWinner_->setEditText(comboWinner_->itemText(match));
        winnerChanged();
    }
    tmrUpdatePrizeWinner_->stop();
}

void frmPrizeWinner::ShowWinnerDetails(bool select) {
    cmdOpenWinner_->setEnabled(false);
    cmdPrintAddressLabel_->setEnabled(false);
    if (!winner_) {
        return;
    }
    ++showing_;
    const auto done = qScopeGuard([this] { --showing_; });
    if (winner_->WinnerReference() > 0) {
        if (select) {
            comboWinner_->setCurrentIndex(comboWinner_->findData(winner_->WinnerReference()));
        }
        KVDirectory* dir = directory();
        const auto contact =
            dir != nullptr ? dir->GetContact(winner_->WinnerReference(), false, false) : nullptr;
        if (!contact) {
            lblWinnerDetails_->setText(QStringLiteral("<Not found>"));
        } else {
            QString text = contact->DetailsText(600, true);
            if (text.trimmed().isEmpty()) {
                text = comboWinner_->currentText();
            }
            lblWinnerDetails_->setText(text);
        }
    } else {
        if (select) {
            comboWinner_->setCurrentIndex(-1);
            comboWinner_->setEditText(QString());
        }
        lblWinnerDetails_->setText(QStringLiteral("<Not found>"));
    }
    const bool named = !comboWinner_->currentText().trimmed().isEmpty();
    cmdOpenWinner_->setEnabled(named);
    cmdPrintAddressLabel_->setEnabled(named);
}

void frmPrizeWinner::ChooseWinner() {
    if (quiet()) {
        return;
    }
    const qint32 chosen = frmChooseContact::ChooseContact(this, -1, true, QString());
    if (chosen > 0 && winner_) {
        winner_->SetWinnerReference(chosen);
        ShowWinnerDetails(true);
    }
}

void frmPrizeWinner::fillWinners() {
    ++showing_;
    const auto done = qScopeGuard([this] { --showing_; });
    comboWinner_->clear();
    if (KVDirectory* dir = directory()) {
        qint32 count = 0;
        dir->FillContactsCombo(comboWinner_, -1, count);
    }
}

void frmPrizeWinner::AddWinnerContact(const QString& name) {
    KVDirectory* dir = directory();
    if (dir == nullptr || !winner_) {
        return;
    }
    auto contact = dir->CreateContact(0);
    if (!contact) {
        return;
    }
    contact->SetName(name);
    const auto shown = winner_;
    OpenContact(contact, 1);
    if (contact->Reference() > 0 && winner_ == shown) {
        winner_->SetWinnerReference(contact->Reference());
        fillWinners();
        ShowWinnerDetails(true);
    }
}

bool frmPrizeWinner::SavePrizeWinner() {
    if (!winner_) {
        return false;
    }
    const auto shown = winner_;
    if (winner_->WinnerReference() < 1) {
        tmrUpdatePrizeWinner_->stop();
        // Blanks alone name nobody.
        const QString name = comboWinner_->currentText().trimmed();
        if (name.isEmpty()) {
            MsgBox(QStringLiteral("You must enter the name of the person that has won this Prize!"),
                   MsgIcon::Exclamation, MsgButtons::OK, 0, this);
            return false;
        }
        KVDirectory* dir = directory();
        const auto found = dir != nullptr ? dir->FindContacts(QList<ContactCriterion>{
                                                {ContactField::Name, ContactMatch::Equals, name}})
                                          : KVDirectory::ContactList{};
        if (found.size() == 1 && found.front()) {
            winner_->SetWinnerReference(found.front()->Reference());
        } else if (found.size() > 1) {
            const qint32 chosen = frmChooseContact::ChooseContact(this, -1, false, name);
            if (chosen < 1 || winner_ != shown) {
                return false;
            }
            winner_->SetWinnerReference(chosen);
        }
        if (winner_->WinnerReference() < 1) {
            if (MsgBox(QStringLiteral("There is no-one listed in the Contacts Directory with the "
                                      "name '") +
                           name +
                           QStringLiteral("' - Do you want to add them now?\n\nNote: You will not "
                                          "be able to save them as a Prize Winner until they are "
                                          "in the Contacts Directory."),
                       MsgIcon::Question, MsgButtons::YesNo, 0, this) != MsgResult::Yes) {
                return false;
            }
            AddWinnerContact(name);
            if (winner_ != shown || winner_->WinnerReference() < 1) {
                return false;
            }
        }
    }
    OrlixDatabase* db = database();
    if (db == nullptr) {
        return false;
    }
    bool ok = false;
    PrizeWinnerRefusal why = PrizeWinnerRefusal::None;
    db->StorePrizeWinner(*winner_, ok, &why);
    if (!ok) {
        if (why == PrizeWinnerRefusal::FullyAllocated) {
            MsgBox(QStringLiteral("You cannot add any more Winners to this Prize because it has "
                                  "been fully allocated!"),
                   MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        }
        return false;
    }
    LoadPrizeWinner(shown);
    return true;
}

QString frmPrizeWinner::AddressLabelText(const DirectoryContact& contact) {
    QString text = contact.Name();
    if (!contact.Company().isEmpty()) {
        text += QStringLiteral("\r\n") + contact.Company();
    }
    return text + QStringLiteral("\r\n") + contact.Address();
}

void frmPrizeWinner::PrintAddressLabel() {
    KVDirectory* dir = directory();
    const auto contact = (dir != nullptr && winner_)
                             ? dir->GetContact(winner_->WinnerReference(), true, true)
                             : nullptr;
    if (!contact) {
        MsgBox(QStringLiteral("The selected Winner cannot be found in the Contacts Directory"),
               MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        return;
    }
    if (contact->Address().trimmed().isEmpty()) {
        MsgBox(
            QStringLiteral("The selected Winner does not have any address details in the Contacts "
                           "Directory!"),
            MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        return;
    }
    frmAddressLabels::PrintAddresses(AddressLabelText(*contact), true, nullptr);
}

void frmPrizeWinner::DeleteWinner() {
    if (!winner_ || winner_->Reference() <= 0) {
        return;
    }
    if (MsgBox(QStringLiteral("Are you sure you want to remove this Winner from this Prize?"),
               MsgIcon::Question, MsgButtons::YesNo, 1, this) != MsgResult::Yes) {
        return;
    }
    OrlixDatabase* db = database();
    if (db == nullptr) {
        return;
    }
    bool ok = false;
    db->DeletePrizeWinner(winner_->Reference(), ok);
    if (ok) {
        disconnect(winner_.get(), nullptr, this, nullptr);
        winner_.reset();
        closer_.CloseWithoutAsking();
    }
}

void frmPrizeWinner::reject() {
    close();
}

void frmPrizeWinner::closeEvent(QCloseEvent* event) {
    if (closer_.Close(event)) {
        tmrUpdatePrizeWinner_->stop();
    }
}

bool frmPrizeWinner::eventFilter(QObject* watched, QEvent* event) {
    if (watched == comboWinner_) {
        if (event->type() == QEvent::FocusIn) {
            QTimer::singleShot(0, comboWinner_->lineEdit(), &QLineEdit::selectAll);
        }
    } else if (watched == txtNotes_ || watched == txtNotesToSupplier_) {
        // Enter makes a new line in the notes instead of pressing OK.
        if (event->type() == QEvent::FocusIn) {
            cmdOK_->setDefault(false);
        } else if (event->type() == QEvent::FocusOut) {
            cmdOK_->setDefault(true);
        }
    }
    return QDialog::eventFilter(watched, event);
}
