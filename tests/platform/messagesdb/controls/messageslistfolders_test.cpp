#include "platform/messagesdb/messagesdbfixture.h"

#include "platform/messagesdb/controls/umessageslist.h"
#include "platform/ui/paneframe.h"
#include "support/waitfor.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <vector>

namespace {
// A short wait for something that must not happen.
constexpr int kQuietMs = 100;

class MessagesListFoldersTest : public MessagesDbTest {
protected:
    void SetUp() override {
        MessagesDbTest::SetUp();
        open();
        QObject::connect(&list_, &uMessagesList::BuildList, &list_,
                         [this](QString& filter) { builds_.push_back(filter); });
    }

    static QTreeWidgetItem* folderItem(const uMessagesList& list, qint32 folder) {
        for (QTreeWidgetItemIterator it(list.tvwFolders()); *it != nullptr; ++it) {
            if ((*it)->data(0, Qt::UserRole).toString() == QStringLiteral("m%1").arg(folder)) {
                return *it;
            }
        }
        return nullptr;
    }
    qint32 store(const QString& subject) {
        return storeReceived(subject, QDateTime::currentDateTimeUtc());
    }
    // Lets a turn pass and says whether a build came meanwhile.
    bool builtAgain(std::size_t before) {
        return WaitFor([&] { return builds_.size() > before; }, kQuietMs);
    }

    uMessagesList list_;
    std::vector<QString> builds_;
};
} // namespace

TEST_F(MessagesListFoldersTest, TheFolderTreeStartsAtTheInboxAndAPickedFolderIsListed) {
    list_.SetDatabase(db_.get());
    QTreeWidget* tree = list_.tvwFolders();
    QTreeWidgetItem* inbox = folderItem(list_, OrlixDatabase::kInboxFolder);
    QTreeWidgetItem* newMessages = folderItem(list_, OrlixMessage::kNewMessagesFolder);
    ASSERT_NE(inbox, nullptr);
    ASSERT_NE(newMessages, nullptr);
    EXPECT_EQ(folderItem(list_, 0), nullptr) << "the top level holds no messages";
    EXPECT_EQ(tree->currentItem(), inbox);
    EXPECT_TRUE(builds_.empty());

    // Set by the program: the tree follows, the host refreshes when it wants to.
    list_.SetCurrentFolder(OrlixMessage::kNewMessagesFolder);
    EXPECT_EQ(tree->currentItem(), newMessages);
    EXPECT_TRUE(builds_.empty());

    // Picked by the user: the folder is listed at once, with the list's own filter.
    tree->setCurrentItem(inbox);
    EXPECT_EQ(list_.CurrentFolder(), OrlixDatabase::kInboxFolder);
    ASSERT_EQ(builds_.size(), 1U);
    EXPECT_EQ(builds_.back(), list_.FilterText());
    EXPECT_TRUE(builds_.back().contains(QStringLiteral("[Folder]=3 ")));

    // Picking the folder shown, or none, lists nothing again.
    tree->setCurrentItem(nullptr);
    tree->setCurrentItem(inbox);
    EXPECT_EQ(builds_.size(), 1U);
    EXPECT_EQ(list_.CurrentFolder(), OrlixDatabase::kInboxFolder);

    // A folder the tree does not hold leaves nothing picked.
    list_.SetCurrentFolder(4242);
    EXPECT_EQ(tree->currentItem(), nullptr);

    list_.SetDatabase(nullptr);
    EXPECT_EQ(tree->topLevelItemCount(), 0);
}

TEST_F(MessagesListFoldersTest, ChangesOfOneTurnMakeOneUpdate) {
    list_.SetDatabase(db_.get());
    const qint32 first = store(QStringLiteral("one"));
    store(QStringLiteral("two"));
    bool ok = false;
    db_->DeleteMessage(first, false, ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(builds_.empty()) << "nothing rebuilt within the turn of the changes";
    ASSERT_TRUE(WaitFor([&] { return builds_.size() == 1U; }));
    EXPECT_FALSE(builtAgain(1));

    // Each later change brings its own update.
    store(QStringLiteral("three"));
    EXPECT_TRUE(WaitFor([&] { return builds_.size() == 2U; }));
    EXPECT_FALSE(builtAgain(2));
}

TEST_F(MessagesListFoldersTest, ChangesWhileHeldMakeOneUpdateOnceLetGo) {
    list_.SetDatabase(db_.get());
    list_.SetUpdatesHeld(true);
    store(QStringLiteral("one"));
    EXPECT_FALSE(builtAgain(0));
    store(QStringLiteral("two"));
    EXPECT_FALSE(builtAgain(0));
    list_.SetUpdatesHeld(false);
    ASSERT_TRUE(WaitFor([&] { return builds_.size() == 1U; }));
    EXPECT_FALSE(builtAgain(1));

    // Held after the change but before its turn: it waits as well.
    store(QStringLiteral("three"));
    list_.SetUpdatesHeld(true);
    EXPECT_FALSE(builtAgain(1));
    list_.SetUpdatesHeld(false);
    EXPECT_TRUE(WaitFor([&] { return builds_.size() == 2U; }));

    // Let go with nothing due: no update.
    list_.SetUpdatesHeld(true);
    list_.SetUpdatesHeld(false);
    EXPECT_FALSE(builtAgain(2));
}

TEST_F(MessagesListFoldersTest, AHostTakingTheUpdateOverGetsItInsteadOfARefresh) {
    list_.SetDatabase(db_.get());
    int due = 0;
    bool take = true;
    QObject::connect(&list_, &uMessagesList::UpdateDue, &list_, [&](bool& handled) {
        ++due;
        handled = take;
    });
    store(QStringLiteral("one"));
    ASSERT_TRUE(WaitFor([&] { return due == 1; }));
    EXPECT_FALSE(builtAgain(0));

    take = false;
    store(QStringLiteral("two"));
    ASSERT_TRUE(WaitFor([&] { return due == 2; }));
    EXPECT_TRUE(WaitFor([&] { return builds_.size() == 1U; }));
}

TEST_F(MessagesListFoldersTest, WithoutAutoUpdateOrADatabaseNothingIsUpdated) {
    list_.SetDatabase(db_.get());
    list_.SetAutoUpdate(false);
    store(QStringLiteral("one"));
    list_.UpdateSoon();
    EXPECT_FALSE(builtAgain(0));

    list_.SetAutoUpdate(true);
    store(QStringLiteral("two"));
    ASSERT_TRUE(WaitFor([&] { return builds_.size() == 1U; }));

    // A change queued just before the database goes is dropped with it.
    store(QStringLiteral("three"));
    db_.reset();
    EXPECT_FALSE(builtAgain(1));
}

// Two computers on one file: this list follows its own folder store and the other's.
TEST_F(MessagesListFoldersTest, TheTreeFollowsTheFoldersStoredHereAndOnAnotherComputer) {
    OrlixDatabase other;
    other.SetChangeWatch(0, 0);
    ASSERT_EQ(other.OpenDatabase(folder_, QString()), 0);
    list_.SetDatabase(db_.get());
    const auto names = [this] {
        QStringList shown;
        for (QTreeWidgetItemIterator it(list_.tvwFolders()); *it != nullptr; ++it) {
            shown << (*it)->text(0);
        }
        return shown;
    };
    const auto store = [](OrlixDatabase& db, QVector<OrlixCategoryTree::Folder> folders) {
        QString problem;
        EXPECT_TRUE(db.StoreDatabaseSettings({}, folders, &problem)) << problem.toStdString();
    };
    const auto withNew = [](OrlixDatabase& db, const QString& name) {
        QVector<OrlixCategoryTree::Folder> folders = db.CategoryTree()->Folders();
        folders.append({-1, OrlixCategoryTree::kTopLevel, name, 9});
        return folders;
    };

    // Stored here, as the database's own settings dialog does; the frame names it as it is.
    store(*db_, withNew(*db_, QStringLiteral("Competitions")));
    ASSERT_TRUE(names().contains(QStringLiteral("Competitions")));
    qint32 competitions = 0;
    for (const auto& f : db_->CategoryTree()->Folders()) {
        if (f.Name == QStringLiteral("Competitions")) {
            competitions = f.Reference;
        }
    }
    list_.tvwFolders()->setCurrentItem(folderItem(list_, competitions));
    ASSERT_EQ(list_.CurrentFolder(), competitions);
    EXPECT_EQ(list_.fraList()->Text(), QStringLiteral("Competitions"));
    QVector<OrlixCategoryTree::Folder> renamed = db_->CategoryTree()->Folders();
    for (auto& f : renamed) {
        if (f.Reference == competitions) {
            f.Name = QStringLiteral("Q&A");
        }
    }
    store(*db_, renamed);
    EXPECT_EQ(list_.fraList()->Text(), QStringLiteral("Q&A"));
    const std::size_t before = builds_.size();

    // The other computer adds a folder and removes the one listed here.
    ASSERT_TRUE(other.CheckForChanges());
    store(other, withNew(other, QStringLiteral("Birthdays")));
    QVector<OrlixCategoryTree::Folder> folders = other.CategoryTree()->Folders();
    folders.erase(std::remove_if(folders.begin(), folders.end(),
                                 [&](const auto& f) { return f.Reference == competitions; }),
                  folders.end());
    store(other, folders);
    ASSERT_TRUE(db_->CheckForChanges());
    EXPECT_TRUE(names().contains(QStringLiteral("Birthdays")));
    EXPECT_FALSE(names().contains(QStringLiteral("Competitions")));
    EXPECT_EQ(list_.CurrentFolder(), OrlixDatabase::kInboxFolder);
    EXPECT_EQ(list_.tvwFolders()->currentItem(), folderItem(list_, OrlixDatabase::kInboxFolder));
    EXPECT_EQ(list_.fraList()->Text(), QStringLiteral("Inbox"));
    ASSERT_GT(builds_.size(), before);
    EXPECT_TRUE(builds_.back().contains(QStringLiteral("[Folder]=3 "))) << "the Inbox is listed";
}

// A folder holding more than the list shows lists its newest, and the frame says so.
TEST_F(MessagesListFoldersTest, AFolderOfMoreThanTheListHoldsIsCaptionedWithTheNewestShown) {
    const qint32 first = store(QStringLiteral("The newest"));
    list_.SetDatabase(db_.get());
    list_.SetDisplayMessageList(true);
    struct Case {
        int held;
        QString caption;
    };
    int stored = 1;
    for (const Case& c : {Case{uMessagesList::kListLimit, QStringLiteral("Inbox")},
                          Case{uMessagesList::kListLimit + 1,
                               QStringLiteral("Inbox - the newest 5,000 messages")}}) {
        SCOPED_TRACE(c.held);
        storeCopies(first, c.held - stored);
        stored = c.held;
        list_.Refresh();
        EXPECT_EQ(list_.fraList()->Text(), c.caption);
        EXPECT_EQ(list_.lstMessages()->topLevelItemCount(), uMessagesList::kListLimit);
    }
    // A host listing the messages its own way tells the list; the next refresh starts anew.
    list_.SetDisplayMessageList(false);
    list_.Refresh();
    EXPECT_EQ(list_.fraList()->Text(), QStringLiteral("Inbox"));
    list_.SetListCut(true);
    EXPECT_EQ(list_.fraList()->Text(), QStringLiteral("Inbox - the newest 5,000 messages"));
    list_.Refresh();
    EXPECT_EQ(list_.fraList()->Text(), QStringLiteral("Inbox"));
}
