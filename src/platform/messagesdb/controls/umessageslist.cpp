#include "platform/messagesdb/controls/umessageslist.h"

#include "platform/messagesdb/orlixcategorytree.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/ui/eventguard.h"
#include "platform/ui/paneframe.h"

#include <QFont>
#include <QLocale>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <utility>

static_assert(uMessagesList::kDefaultFolder == OrlixDatabase::kInboxFolder);

namespace {
// The row's index into the messages shown; the "<New Message>" line has none.
constexpr int kIndexRole = Qt::UserRole + 1;
constexpr int kNewMessageRow = -1;

enum Column { ColumnFrom, ColumnSubject, ColumnDate, ColumnCount };

// The folder tree's keys: "m" and the folder's number.
const QString kFolderKeyPrefix = QStringLiteral("m");

qint32 folderOf(const QTreeWidgetItem* item) {
    if (item == nullptr) {
        return 0;
    }
    const QString key = item->data(0, Qt::UserRole).toString();
    return key.startsWith(kFolderKeyPrefix) ? key.mid(kFolderKeyPrefix.size()).toInt() : 0;
}

QString dateOf(const OrlixMessage& m) {
    const QString received = m.ReceivedDateText();
    return received.isEmpty() ? m.SentDateText() : received;
}
} // namespace

uMessagesList::uMessagesList(QWidget* parent) : FontPaneControl(tr("Messages"), parent) {
    setObjectName(QStringLiteral("uMessagesList"));
    Frame()->setObjectName(QStringLiteral("fraList"));
    tvwFolders_ = new QTreeWidget(Frame());
    tvwFolders_->setObjectName(QStringLiteral("tvwFolders"));
    tvwFolders_->setColumnCount(1);
    tvwFolders_->setHeaderHidden(true);
    tvwFolders_->setSelectionMode(QAbstractItemView::SingleSelection);
    Frame()->AddWidget(tvwFolders_, 1);
    connect(tvwFolders_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
                const qint32 folder = folderOf(current);
                if (folder <= 0 || folder == currentFolder_) {
                    return;
                }
                GuardEvent("showing the picked folder", [this, folder] {
                    currentFolder_ = folder;
                    showState();
                    Refresh();
                });
            });
    lstMessages_ = new QTreeWidget(Frame());
    lstMessages_->setObjectName(QStringLiteral("lstMessages"));
    lstMessages_->setColumnCount(ColumnCount);
    lstMessages_->setHeaderLabels({tr("From"), tr("Subject"), tr("Date")});
    lstMessages_->setRootIsDecorated(false);
    lstMessages_->setUniformRowHeights(true);
    lstMessages_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstMessages_->setVisible(displayMessageList_);
    Frame()->AddWidget(lstMessages_, 2);
    connect(lstMessages_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
                Q_EMIT CurrentMessageChanged(messageOf(current));
            });
    connect(lstMessages_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item, int) { itemActivated(item); });
    showState();
}

uMessagesList::~uMessagesList() = default;

OrlixDatabase* uMessagesList::Database() const {
    return database_.data();
}

void uMessagesList::SetDatabase(OrlixDatabase* database) {
    database_ = database;
    cut_ = false;
    follow();
    fillFolders();
    showState();
}

void uMessagesList::SetAutoUpdate(bool on) {
    autoUpdate_ = on;
    follow();
}

void uMessagesList::SetCurrentFolder(qint32 folder) {
    currentFolder_ = folder;
    cut_ = false;
    showFolder();
    showState();
}

void uMessagesList::follow() {
    for (const auto& connection : std::as_const(changes_)) {
        disconnect(connection);
    }
    changes_.clear();
    if (database_.isNull()) {
        return;
    }
    // The tree is how the user reaches a folder: it follows the folders whatever AutoUpdate
    // says.
    changes_ << connect(database_, &OrlixDatabase::FoldersChanged, this, [this] {
        GuardEvent("showing the folders again", [this] { foldersChanged(); });
    });
    if (!autoUpdate_) {
        return;
    }
    changes_ << connect(database_, &OrlixDatabase::MessageChanged, this,
                        [this](qint32, bool) { UpdateSoon(); });
    changes_ << connect(database_, &OrlixDatabase::MessageDeleted, this,
                        [this](qint32) { UpdateSoon(); });
    // The templates the list is rendered with may have changed with them.
    changes_ << connect(database_, &OrlixDatabase::TemplatesChanged, this,
                        [this] { UpdateSoon(); });
}

void uMessagesList::UpdateSoon() {
    if (database_.isNull() || !autoUpdate_) {
        return;
    }
    if (held_) {
        dueWhileHeld_ = true;
        return;
    }
    if (updateQueued_) {
        return;
    }
    updateQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        updateQueued_ = false;
        if (held_) {
            dueWhileHeld_ = true;
            return;
        }
        GuardEvent("updating the messages list", [this] { update(); });
    });
}

void uMessagesList::SetUpdatesHeld(bool held) {
    held_ = held;
    if (!held_ && std::exchange(dueWhileHeld_, false)) {
        UpdateSoon();
    }
}

void uMessagesList::update() {
    if (database_.isNull() || !autoUpdate_) {
        return;
    }
    bool handled = false;
    const QPointer<uMessagesList> alive(this);
    Q_EMIT UpdateDue(handled);
    if (!alive.isNull() && !handled) {
        Refresh();
    }
}

void uMessagesList::fillFolders() {
    const QSignalBlocker quiet(tvwFolders_);
    tvwFolders_->clear();
    if (!database_.isNull()) {
        if (const std::shared_ptr<const OrlixCategoryTree> tree = database_->CategoryTree()) {
            tree->FillTreeView(tvwFolders_, kFolderKeyPrefix, false);
        }
    }
    showFolder();
}

void uMessagesList::foldersChanged() {
    fillFolders();
    if (tvwFolders_->currentItem() == nullptr && currentFolder_ != kDefaultFolder) {
        // The folder listed was removed: the Inbox is listed in its place.
        currentFolder_ = kDefaultFolder;
        showFolder();
        showState();
        Refresh();
        return;
    }
    showState();
    // A folder's name may stand in the list itself.
    UpdateSoon();
}

void uMessagesList::showFolder() {
    const QSignalBlocker quiet(tvwFolders_);
    for (QTreeWidgetItemIterator it(tvwFolders_); *it != nullptr; ++it) {
        if (folderOf(*it) == currentFolder_) {
            tvwFolders_->setCurrentItem(*it);
            return;
        }
    }
    tvwFolders_->setCurrentItem(nullptr);
}

void uMessagesList::SetDisplayMessageList(bool on) {
    displayMessageList_ = on;
    lstMessages_->setVisible(on);
    if (on) {
        refreshContent();
        return;
    }
    const QSignalBlocker quiet(lstMessages_);
    lstMessages_->clear();
    shown_.clear();
}

void uMessagesList::SetListCut(bool cut) {
    cut_ = cut;
    showState();
}

void uMessagesList::refreshContent() {
    if (!database_.isNull() && tvwFolders_->topLevelItemCount() == 0) {
        fillFolders();
    }
    cut_ = false;
    showState();
    QString filter = FilterText();
    const QPointer<uMessagesList> alive(this);
    Q_EMIT BuildList(filter);
    if (alive.isNull()) {
        return;
    }
    if (displayMessageList_) {
        fillList(filter);
        showState();
    }
}

void uMessagesList::fillList(const QString& filter) {
    const std::shared_ptr<OrlixMessage> before = messageOf(lstMessages_->currentItem());
    const bool newLineBefore = lstMessages_->currentItem() != nullptr && before == nullptr;
    std::unique_ptr<OrlixMessageList> list;
    if (!database_.isNull()) {
        // One past the limit tells whether the folder holds more than is listed.
        list = database_->GetMessages(filter, kListLimit + 1);
    }
    QTreeWidgetItem* current = nullptr;
    {
        // One CurrentMessageChanged for the whole rebuild, raised below.
        const QSignalBlocker quiet(lstMessages_);
        lstMessages_->clear();
        shown_.clear();
        if (displayNewMessage_) {
            auto* item = new QTreeWidgetItem(lstMessages_);
            item->setText(ColumnFrom, tr("<New Message>"));
            item->setData(ColumnFrom, kIndexRole, kNewMessageRow);
            if (newLineBefore) {
                current = item;
            }
        }
        if (list) {
            shown_ = list->Messages();
            if (shown_.size() > static_cast<std::size_t>(kListLimit)) {
                shown_.resize(static_cast<std::size_t>(kListLimit));
                cut_ = true;
            }
        }
        QList<QTreeWidgetItem*> items;
        items.reserve(static_cast<qsizetype>(shown_.size()));
        for (std::size_t i = 0; i < shown_.size(); ++i) {
            const OrlixMessage& m = *shown_[i];
            auto* item = new QTreeWidgetItem;
            item->setText(ColumnFrom, m.FromText());
            item->setText(ColumnSubject, m.Subject());
            item->setText(ColumnDate, dateOf(m));
            item->setData(ColumnFrom, kIndexRole, static_cast<int>(i));
            if ((m.Flags() & OrlixMessage::FlagRead) == 0) {
                QFont bold = lstMessages_->font();
                bold.setBold(true);
                for (int c = 0; c < ColumnCount; ++c) {
                    item->setFont(c, bold);
                }
            }
            if (before && m.Reference() == before->Reference()) {
                current = item;
            }
            items << item;
        }
        lstMessages_->addTopLevelItems(items);
        if (current != nullptr) {
            lstMessages_->setCurrentItem(current);
        }
    }
    // The line picked before stays picked; its message is read afresh.
    if (current != nullptr || before) {
        Q_EMIT CurrentMessageChanged(messageOf(current));
    }
}

std::shared_ptr<OrlixMessage> uMessagesList::messageOf(const QTreeWidgetItem* item) const {
    if (item == nullptr) {
        return nullptr;
    }
    const int index = item->data(ColumnFrom, kIndexRole).toInt();
    if (index < 0 || static_cast<std::size_t>(index) >= shown_.size()) {
        return nullptr;
    }
    return shown_[static_cast<std::size_t>(index)];
}

void uMessagesList::itemActivated(QTreeWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    if (item->data(ColumnFrom, kIndexRole).toInt() == kNewMessageRow) {
        auto message = std::make_shared<OrlixMessage>();
        message->SetKind(OrlixMessage::KindEmail);
        Q_EMIT AddNewMessage(message);
        return;
    }
    if (const std::shared_ptr<OrlixMessage> message = messageOf(item)) {
        Q_EMIT MessageChosen(message);
    }
}

QString uMessagesList::FilterText() const {
    if (database_.isNull()) {
        return {};
    }
    return QStringLiteral("([Folder]=%1 AND ([Owner]=0 OR [Owner]=%2))")
        .arg(currentFolder_)
        .arg(database_->CurrentUserReference());
}

void uMessagesList::showState() {
    if (database_.isNull()) {
        Frame()->SetText(tr("No messages database"));
        return;
    }
    // The folder's own name, as the tree shows it; its number only while no tree holds it.
    QString name;
    if (const std::shared_ptr<const OrlixCategoryTree> tree = database_->CategoryTree()) {
        for (const OrlixCategoryTree::Folder& folder : tree->Folders()) {
            if (folder.Reference == currentFolder_) {
                name = folder.Name;
                break;
            }
        }
    }
    if (name.isEmpty()) {
        name = tr("Folder %1").arg(currentFolder_);
    }
    if (cut_) {
        name += tr(" - the newest %1 messages").arg(QLocale(QLocale::English).toString(kListLimit));
    }
    Frame()->SetText(name);
}
