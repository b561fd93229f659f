#include "platform/directory/controls/uwebsiteslist.h"

#include "platform/directory/directorywebsite.h"
#include "platform/ui/eventguard.h"
#include "platform/ui/paneframe.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>

uWebSitesList::uWebSitesList(QWidget* parent)
    : FontPaneControl(tr("Websites"), parent), list_(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("uWebSitesList"));
    Frame()->setObjectName(QStringLiteral("fraList"));
    list_->setObjectName(QStringLiteral("lvwWebsites"));
    list_->setRootIsDecorated(false);
    list_->setHeaderHidden(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->installEventFilter(this);
    Frame()->AddWidget(list_, 1);
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { onActivated(item); });
    showState();
}

uWebSitesList::~uWebSitesList() = default;

QString uWebSitesList::NewWebsiteText() {
    return QStringLiteral("<New Website>");
}

void uWebSitesList::SetDirectory(KVDirectory* directory) {
    disconnect(changes_);
    directory_ = directory;
    if (directory_ != nullptr) {
        changes_ = connect(directory_, &KVDirectory::WebsitesChanged, this,
                           [this] { GuardEvent("reloading the websites", [this] { load(); }); });
    }
    showState();
}

void uWebSitesList::refreshContent() {
    showState();
    load();
}

void uWebSitesList::showState() {
    Frame()->SetText(directory_.isNull() ? tr("No directory") : QString());
}

void uWebSitesList::load() {
    const qint32 selected = SelectedReference();
    list_->clear();
    if (directory_ == nullptr || !directory_->IsOpen()) {
        return;
    }
    auto* entry = new QTreeWidgetItem(list_, QStringList{NewWebsiteText()});
    entry->setData(0, kReferenceRole, -1);
    for (const KVDirectory::WebsitePtr& site : directory_->ListWebsites()) {
        auto* item = new QTreeWidgetItem(list_, QStringList{site->Caption()});
        item->setData(0, kReferenceRole, site->Reference());
        item->setToolTip(0, site->Address());
    }
    if (QTreeWidgetItem* again = ItemOf(selected)) {
        list_->setCurrentItem(again);
    }
}

QTreeWidgetItem* uWebSitesList::ItemOf(qint32 reference) const {
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        if (reference > 0 && item->data(0, kReferenceRole).toInt() == reference) {
            return item;
        }
    }
    return nullptr;
}

QTreeWidgetItem* uWebSitesList::NewWebsiteItem() const {
    return list_->topLevelItemCount() > 0 ? list_->topLevelItem(0) : nullptr;
}

bool uWebSitesList::SelectWebsite(qint32 reference) {
    QTreeWidgetItem* item = ItemOf(reference);
    if (item == nullptr) {
        load();
        item = ItemOf(reference);
    }
    if (item == nullptr) {
        return false;
    }
    list_->setCurrentItem(item);
    return true;
}

qint32 uWebSitesList::SelectedReference() const {
    const QTreeWidgetItem* item = list_->currentItem();
    return item != nullptr ? item->data(0, kReferenceRole).toInt() : 0;
}

void uWebSitesList::onActivated(QTreeWidgetItem* item) {
    if (item == nullptr || directory_ == nullptr) {
        return;
    }
    GuardEvent("choosing a website", [&] {
        const qint32 reference = item->data(0, kReferenceRole).toInt();
        if (reference == -1) {
            Q_EMIT AddNewWebsite(std::make_shared<DirectoryWebsite>());
            return;
        }
        if (auto site = directory_->GetWebsite(reference)) {
            Q_EMIT WebsiteChosen(site);
        } else {
            load();
        }
    });
}

bool uWebSitesList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onActivated(list_->currentItem());
            return true;
        }
    }
    return FontPaneControl::eventFilter(watched, event);
}
