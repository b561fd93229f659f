#include "platform/messagesdb/controls/uprizebasic.h"

#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/ui/eventguard.h"
#include "platform/ui/paneframe.h"
#include "platform/ui/plainlabel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTreeWidget>

uPrizeBasic::uPrizeBasic(QWidget* parent)
    : FontPaneControl(tr("Prize"), parent),
      lblPrizeTitle_(PlainLabel::Create(Frame(), "lblPrizeTitle", Qt::TextSelectableByMouse)),
      lblDates_(PlainLabel::Create(Frame(), "lblDates", Qt::TextSelectableByMouse)),
      lblSupplier_(PlainLabel::Create(Frame(), "lblSupplier", Qt::TextSelectableByMouse)),
      lblNumbers_(PlainLabel::Create(Frame(), "lblNumbers", Qt::TextSelectableByMouse)),
      winners_(new QTreeWidget(Frame())) {
    setObjectName(QStringLiteral("uPrizeBasic"));
    winners_->setObjectName(QStringLiteral("lvwWinners"));
    winners_->setRootIsDecorated(false);
    winners_->setSelectionMode(QAbstractItemView::SingleSelection);
    winners_->setHeaderLabels({tr("Winner"), tr("Won"), tr("Sent")});
    winners_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    winners_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    winners_->header()->setStretchLastSection(false);
    winners_->installEventFilter(this);
    connect(winners_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* row) { onActivated(row); });
    for (QLabel* l : {lblPrizeTitle_, lblDates_, lblSupplier_, lblNumbers_}) {
        Frame()->AddWidget(l);
    }
    Frame()->AddWidget(winners_, 1);
}

uPrizeBasic::~uPrizeBasic() = default;

QString uPrizeBasic::NewWinnerText() {
    return QStringLiteral("<New Winner>");
}

QString uPrizeBasic::NotSentText() {
    return QStringLiteral("Not sent");
}

KVDirectory* uPrizeBasic::Directory() const {
    return directory_.data();
}

void uPrizeBasic::SetDirectory(KVDirectory* directory) {
    directory_ = directory;
}

void uPrizeBasic::SetPrize(const std::shared_ptr<OrlixPrize>& prize) {
    prize_ = prize;
    showPrize();
}

void uPrizeBasic::refreshContent() {
    showPrize();
}

QString uPrizeBasic::contactName(qint32 reference) const {
    if (reference <= 0 || directory_ == nullptr) {
        return {};
    }
    const auto contact = directory_->GetContact(reference, false, false);
    return contact ? contact->Name() : QString();
}

std::shared_ptr<OrlixPrizeWinner> uPrizeBasic::WinnerOf(const QTreeWidgetItem* row) const {
    const int index =
        row != nullptr ? winners_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(row)) : -1;
    return index >= 0 && index < rowWinners_.size() ? rowWinners_.at(index) : nullptr;
}

void uPrizeBasic::showPrize() {
    winners_->clear();
    rowWinners_.clear();
    if (!prize_) {
        for (QLabel* l : {lblPrizeTitle_, lblDates_, lblSupplier_, lblNumbers_}) {
            l->setText(QString());
        }
        return;
    }
    lblPrizeTitle_->setText(prize_->Title());
    const QString start = prize_->StartDateText();
    const QString end = prize_->EndDateText();
    lblDates_->setText(start.isEmpty() && end.isEmpty()
                           ? QString()
                           : tr("From %1 to %2")
                                 .arg(start.isEmpty() ? tr("any time") : start,
                                      end.isEmpty() ? tr("no end") : end));
    const QString supplier = contactName(prize_->SupplierReference());
    lblSupplier_->setText(supplier.isEmpty() ? QString() : tr("Supplied by %1").arg(supplier));
    lblNumbers_->setText(
        tr("%1 supplied, %2 won").arg(prize_->NumberSupplied()).arg(prize_->NumberWinners()));
    if (prize_->Reference() > 0) {
        new QTreeWidgetItem(winners_, QStringList{NewWinnerText()});
        rowWinners_.append(nullptr);
    }
    for (int i = 1; i <= prize_->NumberWinners(); ++i) {
        const auto winner = prize_->Winner(i);
        if (!winner) {
            continue;
        }
        const QString sent = winner->SentDate().isValid() ? winner->SentDateText() : NotSentText();
        new QTreeWidgetItem(winners_, QStringList{contactName(winner->WinnerReference()),
                                                  winner->WonDateText(), sent});
        rowWinners_.append(winner);
    }
}

void uPrizeBasic::onActivated(QTreeWidgetItem* row) {
    const int index = row != nullptr ? winners_->indexOfTopLevelItem(row) : -1;
    if (index < 0 || index >= rowWinners_.size()) {
        return;
    }
    GuardEvent("choosing a prize winner", [&] {
        if (!rowWinners_.at(index)) {
            Q_EMIT AddNewWinner();
            return;
        }
        std::shared_ptr<OrlixPrizeWinner> winner = rowWinners_.at(index);
        Q_EMIT WinnerChosen(winner);
        // The list may have been shown again meanwhile.
        if (index < rowWinners_.size() && winner) {
            rowWinners_[index] = winner;
        }
    });
}

bool uPrizeBasic::eventFilter(QObject* watched, QEvent* event) {
    if (watched == winners_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onActivated(winners_->currentItem());
            return true;
        }
    }
    return FontPaneControl::eventFilter(watched, event);
}
