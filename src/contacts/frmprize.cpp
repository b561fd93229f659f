#include "contacts/frmprize.h"

#include "contacts/prizeallocation.h"
#include "contacts/prizehours.h"
#include "contacts/prizeweekgrid.h"
#include "core/dialogs/frmchoosecontact.h"
#include "core/dialogs/frmdatepicker.h"
#include "core/printing/templateprinting.h"
#include "core/program.h"
#include "core/windows/windowopeners.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/system/datetimehelper.h"
#include "platform/system/formhelper.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

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

// The number a text begins with, halves to the even neighbour; 0 when there is none.
qint32 leadingNumber(const QString& text) {
    QString digits;
    for (const QChar c : text.trimmed()) {
        if (!c.isDigit() && !(c == QLatin1Char('.') && !digits.contains(QLatin1Char('.')))) {
            break;
        }
        digits += c;
    }
    bool ok = false;
    const double value = digits.toDouble(&ok);
    if (!ok || value > 2147483647.0) {
        return ok ? 2147483647 : 0;
    }
    return static_cast<qint32>(std::nearbyint(value));
}

QString contactColumn(const DirectoryContact& c) {
    for (const QString* v :
         {&c.PhoneNumber1(), &c.PhoneNumber2(), &c.Email1(), &c.Email2(), &c.Email3()}) {
        if (!v->isEmpty()) {
            return *v;
        }
    }
    return QString();
}

} // namespace

frmPrize::frmPrize(QWidget* owner)
    : QDialog(owner),
      closer_(
          this, QStringLiteral("This Prize has been edited. Do you want to save the changes?"),
          [this] { return prize_ && prize_->Edited(); }, [this] { return SavePrize(); }) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("Prize Details"));
    build();
    LoadPrize(nullptr);
}

frmPrize::~frmPrize() {
    // A box that has the focus loses it while the window is taken apart: its handlers must not
    // reach the members already gone.
    disconnect(txtNumberSupplied_, nullptr, this, nullptr);
    disconnect(txtTitle_, nullptr, this, nullptr);
}

void frmPrize::build() {
    auto* outer = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    outer->addWidget(tabs_);

    auto* general = new QWidget(tabs_);
    auto* g = new QGridLayout(general);
    txtTitle_ = new QLineEdit(general);
    lblReference_ = new QLabel(general);
    lblReference_->setTextFormat(Qt::PlainText);
    g->addWidget(new QLabel(QStringLiteral("Prize Title:"), general), 0, 0);
    g->addWidget(txtTitle_, 0, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Ref:"), general), 0, 4);
    g->addWidget(lblReference_, 0, 5);
    lblSuppliedBy_ = new QLabel(general);
    lblSuppliedBy_->setTextFormat(Qt::PlainText);
    cmdClearSuppliedBy_ =
        button(QStringLiteral("Clear"), QStringLiteral("Remove the name of the Supplier"), general);
    cmdOpenSupplier_ =
        button(QStringLiteral("Open"), QStringLiteral("Show the Suppliers Details"), general);
    cmdChooseSuppliedBy_ =
        button(QStringLiteral("Choose"), QStringLiteral("Select the Supplier"), general);
    cmdAddNewSupplier_ =
        button(QStringLiteral("New"),
               QStringLiteral("Add a new Supplier's Details to the Directory"), general);
    auto* supplierButtons = new QHBoxLayout();
    for (QPushButton* b :
         {cmdChooseSuppliedBy_, cmdClearSuppliedBy_, cmdOpenSupplier_, cmdAddNewSupplier_}) {
        supplierButtons->addWidget(b);
    }
    g->addWidget(new QLabel(QStringLiteral("Supplied by:"), general), 1, 0);
    g->addWidget(lblSuppliedBy_, 1, 1, 1, 3);
    g->addLayout(supplierButtons, 1, 4, 1, 2);
    comboAddedBy_ = new QComboBox(general);
    lblAddedDate_ = new QLabel(general);
    auto* cmdSetAddedDate =
        button(QStringLiteral("Now"), QStringLiteral("Set 'Added Date' as 'Now'"), general);
    g->addWidget(new QLabel(QStringLiteral("Added By:"), general), 2, 0);
    g->addWidget(comboAddedBy_, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("Date:"), general), 2, 2);
    g->addWidget(lblAddedDate_, 2, 3);
    auto* cmdSelectAddedDate =
        button(QStringLiteral("..."), QStringLiteral("Select 'Added Date'"), general);
    auto* addedButtons = new QHBoxLayout();
    addedButtons->addWidget(cmdSetAddedDate);
    addedButtons->addWidget(cmdSelectAddedDate);
    g->addLayout(addedButtons, 2, 4, 1, 2);
    txtNumberSupplied_ = new QLineEdit(general);
    // Nine digits at most: a longer number would not fit the stored count.
    txtNumberSupplied_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,9}")), txtNumberSupplied_));
    lblNumberWinners_ = new QLabel(general);
    auto* cmdWinners = button(QStringLiteral("See Winners"), QString(), general);
    g->addWidget(new QLabel(QStringLiteral("Number Supplied:"), general), 3, 0);
    g->addWidget(txtNumberSupplied_, 3, 1);
    g->addWidget(new QLabel(QStringLiteral("Number Winners:"), general), 3, 2);
    g->addWidget(lblNumberWinners_, 3, 3);
    g->addWidget(cmdWinners, 3, 4);
    txtScript_ = new QPlainTextEdit(general);
    g->addWidget(new QLabel(QStringLiteral("Script:"), general), 4, 0);
    g->addWidget(txtScript_, 4, 1, 1, 5);
    tabs_->addTab(general, QStringLiteral("General"));

    auto* avail = new QWidget(tabs_);
    auto* a = new QGridLayout(avail);
    chkStart_ = new QCheckBox(avail);
    dtStart_ = new QDateEdit(avail);
    dtStart_->setCalendarPopup(true);
    chkEnd_ = new QCheckBox(avail);
    dtEnd_ = new QDateEdit(avail);
    dtEnd_->setCalendarPopup(true);
    a->addWidget(new QLabel(QStringLiteral("Available From:"), avail), 0, 0);
    a->addWidget(chkStart_, 0, 1);
    a->addWidget(dtStart_, 0, 2);
    a->addWidget(new QLabel(QStringLiteral("to:"), avail), 0, 3);
    a->addWidget(chkEnd_, 0, 4);
    a->addWidget(dtEnd_, 0, 5);
    auto* hoursLabel = new QLabel(QStringLiteral("&Available in these hours:"), avail);
    a->addWidget(hoursLabel, 1, 0, 1, 6);
    gridWeek_ = new PrizeWeekGrid(avail);
    // The label's access key takes the user to the grid (and is drawn as an underline).
    hoursLabel->setBuddy(gridWeek_);
    a->addWidget(gridWeek_, 2, 0, 1, 6);
    cmdLoadHours_ = button(QStringLiteral("Load"), QString(), avail);
    cmdSaveHours_ = button(QStringLiteral("Save"), QString(), avail);
    a->addWidget(cmdLoadHours_, 3, 4);
    a->addWidget(cmdSaveHours_, 3, 5);
    tabs_->addTab(avail, QStringLiteral("Availability"));

    auto* notes = new QWidget(tabs_);
    auto* n = new QVBoxLayout(notes);
    txtNotes_ = new QPlainTextEdit(notes);
    txtNotesToSupplier_ = new QPlainTextEdit(notes);
    n->addWidget(new QLabel(QStringLiteral("Notes:"), notes));
    n->addWidget(txtNotes_);
    n->addWidget(new QLabel(QStringLiteral("Notes to Supplier:"), notes));
    n->addWidget(txtNotesToSupplier_);
    tabs_->addTab(notes, QStringLiteral("Notes"));

    auto* winners = new QWidget(tabs_);
    auto* w = new QVBoxLayout(winners);
    lvwWinners_ = new QTreeWidget(winners);
    lvwWinners_->setRootIsDecorated(false);
    lvwWinners_->setHeaderLabels({QStringLiteral("#"), QStringLiteral("Name"),
                                  QStringLiteral("Won"), QStringLiteral("Contact"),
                                  QStringLiteral("# Wins")});
    lvwWinners_->headerItem()->setTextAlignment(4, Qt::AlignHCenter);
    lvwWinners_->setColumnWidth(0, TwipsToPixels(300));
    lvwWinners_->setColumnWidth(1, TwipsToPixels(2500));
    lvwWinners_->setColumnWidth(2, TwipsToPixels(2000));
    lvwWinners_->setColumnWidth(4, TwipsToPixels(800));
    // The contact (a telephone number or an e-mail address) takes what the others leave, at
    // any width of the window.
    lvwWinners_->header()->setStretchLastSection(false);
    lvwWinners_->header()->setSectionResizeMode(3, QHeaderView::Stretch);
    w->addWidget(lvwWinners_);
    auto* wb = new QHBoxLayout();
    cmdAddWinner_ = button(QStringLiteral("Add"), QStringLiteral("Add a winner"), winners);
    cmdShowWinner_ = button(QStringLiteral("Show"),
                            QStringLiteral("Display the details of the selected winner"), winners);
    cmdRemoveWinner_ =
        button(QStringLiteral("Remove"), QStringLiteral("Remove the selected winner"), winners);
    cmdEMailWinner_ =
        button(QStringLiteral("E-Mail"), QStringLiteral("E-Mail the selected winner"), winners);
    // Kept out of sight until a winner can be written to from here: a button that does
    // nothing would be pressed on air and trusted.
    cmdEMailWinner_->setVisible(false);
    cmdPrintWinners_ =
        button(QStringLiteral("Print"), QStringLiteral("Print list of Winners"), winners);
    for (QPushButton* b :
         {cmdAddWinner_, cmdShowWinner_, cmdRemoveWinner_, cmdEMailWinner_, cmdPrintWinners_}) {
        wb->addWidget(b);
    }
    w->addLayout(wb);
    tabs_->addTab(winners, QStringLiteral("Winners"));

    auto* buttons = new QHBoxLayout();
    cmdClear_ = button(QStringLiteral("Clear"), QStringLiteral("Clear the window"), this);
    cmdDelete_ = button(QStringLiteral("Delete"), QStringLiteral("Delete this Prize"), this);
    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setDefault(true);
    cmdCancel_ = button(QStringLiteral("Cancel"), QString(), this);
    cmdApply_ = button(QStringLiteral("Apply"), QString(), this);
    buttons->addWidget(cmdClear_);
    buttons->addWidget(cmdDelete_);
    buttons->addStretch();
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    buttons->addWidget(cmdApply_);
    outer->addLayout(buttons);

    if (KVDirectory* dir = directory()) {
        for (const auto& user : dir->GetUsers()) {
            if (user) {
                comboAddedBy_->addItem(user->Name(), user->Reference());
            }
        }
    }

    connect(txtTitle_, &QLineEdit::textChanged, this, &frmPrize::titleChanged);
    // Entering the title or the count selects it, to be typed over.
    FormHelper::SelectAllTextOnFocus(txtTitle_);
    FormHelper::SelectAllTextOnFocus(txtNumberSupplied_);
    connect(txtNumberSupplied_, &QLineEdit::textChanged, this, &frmPrize::numberSuppliedChanged);
    connect(txtNumberSupplied_, &QLineEdit::editingFinished, this, [this] {
        if (prize_) {
            txtNumberSupplied_->setText(
                QString::number(std::max(prize_->NumberSupplied(), prize_->NumberWinners())));
        }
    });
    const auto textInto = [this](QPlainTextEdit* box, void (OrlixPrize::*set)(const QString&)) {
        connect(box, &QPlainTextEdit::textChanged, this, [this, box, set] {
            if (!loading_ && prize_) {
                (prize_.get()->*set)(box->toPlainText().trimmed());
            }
        });
    };
    textInto(txtScript_, &OrlixPrize::SetScript);
    textInto(txtNotes_, &OrlixPrize::SetNotes);
    textInto(txtNotesToSupplier_, &OrlixPrize::SetNotesToSupplier);
    connect(comboAddedBy_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!loading_ && prize_ && index >= 0) {
            prize_->SetAddedByReference(comboAddedBy_->itemData(index).toInt());
        }
    });
    connect(cmdSetAddedDate, &QPushButton::clicked, this, [this] {
        if (!loading_ && prize_) {
            prize_->SetAddedDate(QDateTime::currentDateTime());
            lblAddedDate_->setText(prize_->AddedDateText());
        }
    });
    connect(cmdSelectAddedDate, &QPushButton::clicked, this, [this] {
        if (!prize_) {
            return;
        }
        ++busy_;
        const auto done = qScopeGuard([this] { --busy_; });
        const DateTimeRecord chosen = frmDatePicker::SelectDate(
            DateTimeHelper::DateToTimeRecord(prize_->AddedDate()), true, false, true);
        if (chosen.Day != 0 && prize_) {
            prize_->SetAddedDate(DateTimeHelper::TimeRecordToDate(chosen));
            lblAddedDate_->setText(prize_->AddedDateText());
        }
    });
    connect(cmdChooseSuppliedBy_, &QPushButton::clicked, this, &frmPrize::ChooseSupplier);
    connect(cmdAddNewSupplier_, &QPushButton::clicked, this, [this] { AddNewSupplier(QString()); });
    const auto dateInto = [this](QCheckBox* check, QDateEdit* date,
                                 void (OrlixPrize::*set)(const QDateTime&)) {
        const auto write = [this, check, date, set] {
            date->setEnabled(check->isChecked());
            if (!loading_ && prize_) {
                (prize_.get()->*set)(check->isChecked() ? QDateTime(date->date(), QTime(0, 0))
                                                        : QDateTime());
            }
        };
        connect(check, &QCheckBox::toggled, this, write);
        connect(date, &QDateEdit::dateChanged, this, write);
    };
    dateInto(chkStart_, dtStart_, &OrlixPrize::SetStartDate);
    dateInto(chkEnd_, dtEnd_, &OrlixPrize::SetEndDate);
    connect(cmdClearSuppliedBy_, &QPushButton::clicked, this, [this] {
        lblSuppliedBy_->clear();
        cmdClearSuppliedBy_->setEnabled(false);
        cmdOpenSupplier_->setEnabled(false);
        if (!loading_ && prize_) {
            prize_->SetSupplierReference(0);
        }
    });
    connect(cmdOpenSupplier_, &QPushButton::clicked, this, [this] {
        KVDirectory* dir = directory();
        auto contact = (dir != nullptr && prize_)
                           ? dir->GetContact(prize_->SupplierReference(), true, true)
                           : nullptr;
        if (!contact) {
            MsgBox(QStringLiteral(
                       "The Supplier for this Prize cannot be found in the Contacts Directory"),
                   MsgIcon::Exclamation, MsgButtons::OK, 0, this);
            return;
        }
        OpenContact(contact, 0);
    });
    connect(cmdWinners, &QPushButton::clicked, this,
            [this] { tabs_->setCurrentIndex(tabs_->count() - 1); });
    connect(gridWeek_, &PrizeWeekGrid::HoursSwitched, this, &frmPrize::hoursSwitched);
    connect(cmdLoadHours_, &QPushButton::clicked, this, &frmPrize::LoadHours);
    connect(cmdSaveHours_, &QPushButton::clicked, this, &frmPrize::SaveHours);
    connect(lvwWinners_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { setWinnerButtons(item); });
    connect(lvwWinners_, &QTreeWidget::itemDoubleClicked, this, &frmPrize::ShowWinner);
    connect(cmdAddWinner_, &QPushButton::clicked, this, &frmPrize::AddWinner);
    connect(cmdShowWinner_, &QPushButton::clicked, this, &frmPrize::ShowWinner);
    connect(cmdRemoveWinner_, &QPushButton::clicked, this, &frmPrize::RemoveWinner);
    connect(cmdPrintWinners_, &QPushButton::clicked, this, &frmPrize::PrintWinners);
    closer_.ConnectButtons(cmdOK_, cmdApply_, cmdCancel_);
    connect(cmdClear_, &QPushButton::clicked, this, [this] { LoadPrize(nullptr); });
    connect(cmdDelete_, &QPushButton::clicked, this, &frmPrize::DeletePrize);
}

bool frmPrize::LoadPrize(const std::shared_ptr<OrlixPrize>& prize) {
    ++busy_;
    const auto done = qScopeGuard([this] { --busy_; });
    loading_ = true;
    if (prize_) {
        disconnect(prize_.get(), nullptr, this, nullptr);
    }
    prize_ = prize;
    if (!prize_) {
        OrlixDatabase* db = database();
        prize_ = db != nullptr ? db->NewPrize() : std::make_shared<OrlixPrize>();
        KVDirectory* dir = directory();
        const auto user = dir != nullptr ? dir->CurrentUser() : nullptr;
        prize_->SetAddedByReference(user ? user->Reference() : 0);
    }
    connect(prize_.get(), &OrlixPrize::PrizeEdited, this, &frmPrize::setButtons);
    lblReference_->setText(prize_->Reference() > 0 ? QString::number(prize_->Reference())
                                                   : QString());
    txtTitle_->setText(prize_->Title());
    showSupplier();
    const auto showDate = [](QCheckBox* check, QDateEdit* edit, const QDateTime& when) {
        check->setChecked(when.isValid());
        edit->setDate(when.isValid() ? when.date() : QDate::currentDate());
        edit->setEnabled(when.isValid());
    };
    showDate(chkStart_, dtStart_, prize_->StartDate());
    showDate(chkEnd_, dtEnd_, prize_->EndDate());
    txtNumberSupplied_->setText(QString::number(prize_->NumberSupplied()));
    comboAddedBy_->setCurrentIndex(comboAddedBy_->findData(prize_->AddedByReference()));
    lblAddedDate_->setText(prize_->AddedDateText());
    txtScript_->setPlainText(prize_->Script());
    txtNotes_->setPlainText(prize_->Notes());
    txtNotesToSupplier_->setPlainText(prize_->NotesToSupplier());
    ShowHourRestrictions();
    UpdateWinners();
    loading_ = false;
    prize_->SetEdited(false);
    return true;
}

void frmPrize::titleChanged(const QString& text) {
    const QString trimmed = text.trimmed();
    setWindowTitle(trimmed.isEmpty() ? QStringLiteral("Untitled Prize")
                                     : QStringLiteral("Prize - ") + text);
    if (!loading_ && prize_) {
        prize_->SetTitle(trimmed);
    }
}

void frmPrize::numberSuppliedChanged(const QString& text) {
    if (loading_ || !prize_) {
        return;
    }
    prize_->SetNumberSupplied(std::max(prize_->NumberWinners(), leadingNumber(text)));
}

qint32 frmPrize::numberInBox() const {
    return leadingNumber(txtNumberSupplied_->text());
}

void frmPrize::showSupplier() {
    if (!prize_) {
        return;
    }
    QString caption;
    if (prize_->SupplierReference() > 0) {
        KVDirectory* dir = directory();
        const auto c =
            dir != nullptr ? dir->GetContact(prize_->SupplierReference(), false, false) : nullptr;
        if (!c) {
            caption = QStringLiteral("<Missing Supplier>");
        } else {
            caption = c->Name();
            if (!c->Company().isEmpty()) {
                caption += QStringLiteral(" (") + c->Company() + QStringLiteral(")");
            }
        }
    }
    lblSuppliedBy_->setText(caption);
    cmdClearSuppliedBy_->setEnabled(!caption.isEmpty());
    cmdOpenSupplier_->setEnabled(!caption.isEmpty());
}

void frmPrize::ChooseSupplier() {
    if (loading_ || !prize_) {
        return;
    }
    ++busy_;
    const auto done = qScopeGuard([this] { --busy_; });
    const qint32 chosen = frmChooseContact::ChooseContact(this, 0, true, QString());
    if (chosen > 0 && prize_) {
        prize_->SetSupplierReference(chosen);
        showSupplier();
    }
}

void frmPrize::AddNewSupplier(const QString& name) {
    KVDirectory* dir = directory();
    if (dir == nullptr || !prize_) {
        return;
    }
    ++busy_;
    const auto done = qScopeGuard([this] { --busy_; });
    auto contact = dir->CreateContact(0);
    if (!contact) {
        return;
    }
    contact->SetName(name);
    OpenContact(contact, 1);
    if (contact->Reference() > 0 && prize_) {
        prize_->SetSupplierReference(contact->Reference());
        showSupplier();
    }
}

void frmPrize::setButtons(bool edited) {
    cmdClear_->setEnabled(true);
    cmdOK_->setEnabled(true);
    cmdApply_->setEnabled(edited);
    cmdDelete_->setEnabled(prize_ && prize_->Reference() >= 1 && !edited);
}

bool frmPrize::SavePrize() {
    if (!prize_) {
        return false;
    }
    ++busy_;
    const auto done = qScopeGuard([this] { --busy_; });
    if (txtTitle_->text().trimmed().isEmpty()) {
        MsgBox(QStringLiteral("You must enter a Title for this Prize!"), MsgIcon::Exclamation,
               MsgButtons::OK, 0, this);
        return false;
    }
    if (numberInBox() <= 0 &&
        MsgBox(QStringLiteral("Warning - you have not entered how many of this Prize have been "
                              "supplied so you will not be able to add any Prize Winners.\n\n"
                              "Do you want to save this Prize anyway?"),
               MsgIcon::Question, MsgButtons::YesNo, 1, this) != MsgResult::Yes) {
        return false;
    }
    OrlixDatabase* db = database();
    if (db == nullptr) {
        return false;
    }
    bool ok = false;
    db->StorePrize(*prize_, ok);
    if (!ok) {
        return false;
    }
    const auto same = prize_;
    LoadPrize(same);
    return true;
}

void frmPrize::ShowHourRestrictions() {
    PrizeHours::DayTexts days;
    for (int d = 0; d < PrizeHours::kDays; ++d) {
        days[d] = prize_ ? prize_->HourRestrictions(d + 1) : QString(24, QLatin1Char(' '));
    }
    gridWeek_->ShowWeek(PrizeHours::WeekFromTexts(days));
}

void frmPrize::hoursSwitched(const PrizeHours::BlockSwitch& change) {
    if (!prize_) {
        return;
    }
    for (const PrizeHours::Cell& cell : change.cells) {
        prize_->SetHour(cell.row, cell.column - 1, change.available);
    }
}

void frmPrize::LoadHours() {
    OrlixDatabase* db = database();
    if (db == nullptr || !prize_) {
        return;
    }
    ++busy_;
    const auto done = qScopeGuard([this] { --busy_; });
    const auto days = PrizeHours::SplitPattern(db->ChooseHourRestrictions(this));
    if (!days) {
        return;
    }
    for (int d = 0; d < PrizeHours::kDays; ++d) {
        prize_->SetHourRestrictions(d + 1, (*days)[d]);
    }
    ShowHourRestrictions();
}

void frmPrize::SaveHours() {
    OrlixDatabase* db = database();
    if (db == nullptr || !prize_) {
        return;
    }
    ++busy_;
    const auto done = qScopeGuard([this] { --busy_; });
    PrizeHours::DayTexts days;
    for (int d = 0; d < PrizeHours::kDays; ++d) {
        days[d] = prize_->HourRestrictions(d + 1);
    }
    bool ok = false;
    db->StoreHourRestrictions(PrizeHours::JoinPattern(days), this, ok);
}

void frmPrize::UpdateWinners() {
    lvwWinners_->clear();
    setWinnerButtons(nullptr);
    if (!prize_ || !prize_->LoadWinners()) {
        return;
    }
    lblNumberWinners_->setText(QString::number(prize_->NumberWinners()));
    OrlixDatabase* db = database();
    KVDirectory* dir = directory();
    for (int i = 1; i <= prize_->NumberWinners(); ++i) {
        const auto winner = prize_->Winner(i);
        if (!winner) {
            continue;
        }
        auto* item = new QTreeWidgetItem(lvwWinners_); // owned by the list
        item->setText(0, QString::number(i));
        item->setData(0, Qt::UserRole, QStringLiteral("w") + QString::number(winner->Reference()));
        item->setTextAlignment(4, Qt::AlignHCenter);
        std::shared_ptr<DirectoryContact> contact;
        if (winner->WinnerReference() > 0) {
            if (dir != nullptr) {
                contact = dir->GetContact(winner->WinnerReference(), false, false);
            }
            if (db != nullptr) {
                item->setText(
                    4, QStringLiteral("(%1)").arg(db->CountPrizesWon(winner->WinnerReference())));
            }
        }
        if (!contact) {
            item->setText(1, QStringLiteral("<Missing Contact>"));
        } else {
            item->setText(1, contact->Name());
            item->setText(3, contactColumn(*contact));
        }
        item->setText(2, winner->WonDateText());
    }
    // Print follows the filled list, the others the selection.
    setWinnerButtons(lvwWinners_->currentItem());
}

void frmPrize::setWinnerButtons(QTreeWidgetItem* item) {
    const bool stored = prize_ && prize_->Reference() >= 1;
    cmdAddWinner_->setEnabled(stored);
    for (QPushButton* b : {cmdShowWinner_, cmdRemoveWinner_, cmdEMailWinner_}) {
        b->setEnabled(stored && item != nullptr);
    }
    cmdPrintWinners_->setEnabled(stored && lvwWinners_->topLevelItemCount() > 0);
}

void frmPrize::AddWinner() {
    if (!prize_) {
        return;
    }
    ++busy_;
    const auto done = qScopeGuard([this] { --busy_; });
    // Another studio may have allocated since the list was filled.
    UpdateWinners();
    using namespace PrizeAllocation;
    const AddOutcome outcome = PrizeAllocation::AddWinner(
        {prize_->NumberSupplied(), prize_->NumberWinners(), prize_->Edited()},
        [this] {
            return MsgBox(QString::fromUtf8(kSaveBeforeAdding), MsgIcon::Question,
                          MsgButtons::YesNo, 0, this) == MsgResult::Yes;
        },
        [this] { return SavePrize(); });
    const QString refusal = AddRefusalText(outcome);
    if (!refusal.isEmpty()) {
        MsgBox(refusal, MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        return;
    }
    OrlixDatabase* db = database();
    if (outcome != AddOutcome::OpenWinner || db == nullptr) {
        return;
    }
    OpenPrizeWinner(db->NewPrizeWinner(*prize_));
}

void frmPrize::RemoveWinner() {
    if (!prize_) {
        return;
    }
    ++busy_;
    const auto done = qScopeGuard([this] { --busy_; });
    using namespace PrizeAllocation;
    std::shared_ptr<OrlixPrizeWinner> winner;
    const RemoveOutcome outcome = PrizeAllocation::RemoveWinner(
        prize_->Edited(),
        [this] {
            return MsgBox(QString::fromUtf8(kSaveBeforeRemoving), MsgIcon::Question,
                          MsgButtons::YesNo, 0, this) == MsgResult::Yes;
        },
        [this] { return SavePrize(); },
        [this, &winner] {
            QTreeWidgetItem* item = lvwWinners_->currentItem();
            if (item != nullptr) {
                winner = prize_->Winner(item->text(0).toInt());
            }
            return RemoveTarget{prize_->Reference(), item != nullptr,
                                winner ? winner->Reference() : 0};
        },
        [this] {
            return MsgBox(QString::fromUtf8(kConfirmRemoval), MsgIcon::Question, MsgButtons::YesNo,
                          1, this) == MsgResult::Yes;
        });
    OrlixDatabase* db = database();
    if (outcome != RemoveOutcome::Remove || db == nullptr) {
        return;
    }
    bool ok = false;
    db->DeletePrizeWinner(winner->Reference(), ok);
    if (!ok) {
        return;
    }
    db->ReloadPrize(*prize_, ok);
    UpdateWinners();
}

void frmPrize::ShowWinner() {
    QTreeWidgetItem* item = lvwWinners_->currentItem();
    if (item == nullptr || !prize_) {
        return;
    }
    OpenPrizeWinner(prize_->Winner(item->text(0).toInt()));
}

void frmPrize::PrintWinners() {
    if (!prize_) {
        return;
    }
    ++busy_;
    const auto done = qScopeGuard([this] { --busy_; });
    PrintPrizeWinnersFromTemplate(prize_.get(), this);
}

void frmPrize::DeletePrize() {
    if (!prize_ || prize_->Reference() < 1) {
        return;
    }
    ++busy_;
    const auto done = qScopeGuard([this] { --busy_; });
    if (MsgBox(QStringLiteral("Are you sure you want to delete this Prize?"), MsgIcon::Question,
               MsgButtons::YesNo, 1, this) != MsgResult::Yes) {
        return;
    }
    const qint32 n = prize_->NumberWinners();
    if (n > 0 &&
        MsgBox(QStringLiteral("This Prize has already been allocated to %1 winner%2\n\n"
                              "Are you ABSOLUTELY sure you want to delete this Prize and who it is "
                              "allocated to?")
                   .arg(n)
                   .arg(n > 1 ? QStringLiteral("s!") : QStringLiteral("!")),
               MsgIcon::Question, MsgButtons::YesNo, 1, this) != MsgResult::Yes) {
        return;
    }
    OrlixDatabase* db = database();
    if (db == nullptr) {
        return;
    }
    bool ok = false;
    db->DeletePrize(prize_->Reference(), ok);
    if (ok) {
        disconnect(prize_.get(), nullptr, this, nullptr);
        prize_.reset();
        closer_.CloseWithoutAsking();
    }
}

void frmPrize::reject() {
    close();
}

void frmPrize::closeEvent(QCloseEvent* event) {
    // The question and the save are the window's own handlers: no reload on activation.
    ++busy_;
    const auto done = qScopeGuard([this] { --busy_; });
    closer_.Close(event);
}

bool frmPrize::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && busy_ == 0 && prize_ && !prize_->Edited() &&
        prize_->Reference() > 0) {
        if (OrlixDatabase* db = database()) {
            if (auto fresh = db->GetPrize(prize_->Reference(), true)) {
                LoadPrize(fresh);
            }
        }
    }
    return QDialog::event(e);
}
