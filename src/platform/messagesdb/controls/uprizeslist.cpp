#include "platform/messagesdb/controls/uprizeslist.h"

#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/storeddates.h"
#include "platform/ui/eventguard.h"
#include "platform/ui/paneframe.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>

#include <algorithm>

uPrizesList::uPrizesList(QWidget* parent)
    : FontPaneControl(tr("Prizes"), parent), list_(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("uPrizesList"));
    Frame()->setObjectName(QStringLiteral("fraList"));
    list_->setObjectName(QStringLiteral("lvwPrizes"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHeaderLabels({tr("Title"), tr("Starts"), tr("Ends"), tr("Won")});
    list_->header()->setStretchLastSection(false);
    // Widths are set by fitColumns: each date and the count at its contents, the title as
    // TitleWidth says. Columns that do not fit scroll sideways.
    list_->header()->setSectionResizeMode(QHeaderView::Fixed);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->installEventFilter(this);
    list_->viewport()->installEventFilter(this);
    Frame()->AddWidget(list_, 1);
    connect(list_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { onCurrentChanged(item); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { onActivated(item); });
    showState();
}

uPrizesList::~uPrizesList() = default;

QString uPrizesList::NewPrizeText() {
    return QStringLiteral("<New Prize>");
}

int uPrizesList::TitleWidth(int visible, int widest, int others) {
    if (visible <= 0) {
        return widest;
    }
    return std::min(visible, std::max(widest, visible - others));
}

void uPrizesList::fitColumns() {
    QHeaderView* header = list_->header();
    const QAbstractItemView* view = list_;
    const auto contentWidth = [&](int column) {
        return std::max(header->sectionSizeHint(column), view->sizeHintForColumn(column));
    };
    int others = 0;
    for (int column = 1; column < header->count(); ++column) {
        const int width = contentWidth(column);
        header->resizeSection(column, width);
        others += width;
    }
    header->resizeSection(0, TitleWidth(list_->viewport()->width(), contentWidth(0), others));
}

OrlixDatabase* uPrizesList::Database() const {
    return database_.data();
}

void uPrizesList::SetDatabase(OrlixDatabase* database) {
    database_ = database;
    follow();
    showState();
    if (autoUpdate_) {
        load();
    }
}

void uPrizesList::SetAutoUpdate(bool on) {
    autoUpdate_ = on;
    follow();
}

void uPrizesList::follow() {
    disconnect(changes_);
    if (database_ != nullptr && autoUpdate_) {
        changes_ = connect(database_, &OrlixDatabase::PrizesChanged, this,
                           [this] { GuardEvent("reloading the prizes", [this] { load(); }); });
    }
}

qint32 uPrizesList::SelectedReference() const {
    const QTreeWidgetItem* item = list_->currentItem();
    return item != nullptr ? item->data(0, kReferenceRole).toInt() : 0;
}

QTreeWidgetItem* uPrizesList::ItemOf(qint32 reference) const {
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        if (reference > 0 && item->data(0, kReferenceRole).toInt() == reference) {
            return item;
        }
    }
    return nullptr;
}

QTreeWidgetItem* uPrizesList::NewPrizeItem() const {
    return list_->topLevelItemCount() > 0 &&
                   list_->topLevelItem(0)->data(0, kReferenceRole).toInt() == -1
               ? list_->topLevelItem(0)
               : nullptr;
}

void uPrizesList::refreshContent() {
    showState();
    load();
}

void uPrizesList::showState() {
    Frame()->SetText(database_.isNull() ? tr("No messages database") : QString());
}

void uPrizesList::load() {
    const qint32 selected = SelectedReference();
    const bool newSelected = list_->currentItem() != nullptr && selected == -1;
    loading_ = true;
    list_->clear();
    if (database_ != nullptr && database_->IsOpen()) {
        auto* entry = new QTreeWidgetItem(list_, QStringList{NewPrizeText()});
        entry->setData(0, kReferenceRole, -1);
        for (const PrizeListLine& line : database_->ListPrizes()) {
            auto* item = new QTreeWidgetItem(
                list_, QStringList{line.Title, StoredDates::Text(line.StartDate),
                                   StoredDates::Text(line.EndDate), PrizeWonText(line)});
            item->setData(0, kReferenceRole, line.Reference);
        }
    }
    QTreeWidgetItem* again = newSelected ? NewPrizeItem() : ItemOf(selected);
    if (again != nullptr) {
        list_->setCurrentItem(again);
    }
    loading_ = false;
    fitColumns();
    // A prize that went away is no longer selected: the host hears of it.
    if (selected > 0 && again == nullptr) {
        onCurrentChanged(nullptr);
    }
}

void uPrizesList::onCurrentChanged(QTreeWidgetItem* item) {
    if (loading_) {
        return;
    }
    GuardEvent("selecting a prize", [&] {
        const qint32 reference = item != nullptr ? item->data(0, kReferenceRole).toInt() : 0;
        std::shared_ptr<OrlixPrize> prize;
        if (reference > 0 && database_ != nullptr) {
            prize = database_->GetPrize(reference, true);
        }
        Q_EMIT PrizeSelected(prize);
    });
}

void uPrizesList::onActivated(QTreeWidgetItem* item) {
    if (item == nullptr || database_ == nullptr) {
        return;
    }
    GuardEvent("choosing a prize", [&] {
        const qint32 reference = item->data(0, kReferenceRole).toInt();
        if (reference == -1) {
            Q_EMIT AddNewPrize(database_->NewPrize());
            return;
        }
        if (auto prize = database_->GetPrize(reference, true)) {
            Q_EMIT PrizeChosen(prize);
        } else {
            // Deleted on another studio computer since the list was loaded.
            load();
        }
    });
}

bool uPrizesList::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == list_->viewport() && event->type() == QEvent::Resize) ||
        (watched == list_ && event->type() == QEvent::FontChange)) {
        fitColumns();
    }
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onActivated(list_->currentItem());
            return true;
        }
    }
    return FontPaneControl::eventFilter(watched, event);
}
