#include "messagesdbfixture.h"

#include "platform/messagesdb/orlixcategorytree.h"

#include <QTreeWidget>

TEST_F(MessagesDbTest, TheFolderTreeHasTheOutboxDraftsAndAnInbox) {
    open();
    const auto tree = db_->CategoryTree();
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->FolderName(2), QStringLiteral("Outbox"));
    EXPECT_EQ(tree->FolderName(6), QStringLiteral("Drafts"));
    EXPECT_EQ(tree->FolderName(OrlixDatabase::kInboxFolder), QStringLiteral("Inbox"));
    EXPECT_EQ(tree->FolderName(OrlixDatabase::kSentFolder), QStringLiteral("Sent Items"));
    EXPECT_FALSE(tree->Exists(99));

    QStringList keys;
    for (const auto& node : tree->Nodes(QStringLiteral("m"), false)) {
        keys << node.Key;
        EXPECT_TRUE(node.ParentKey.isEmpty()) << "the top level's children are the roots";
    }
    EXPECT_EQ(keys, (QStringList{"m3", "m6", "m2", "m4", "m5"}));

    const auto withTop = tree->Nodes(QStringLiteral("m"), true);
    ASSERT_EQ(withTop.size(), 6);
    EXPECT_EQ(withTop.front().Key, QStringLiteral("m1"));
    EXPECT_EQ(withTop.at(1).ParentKey, QStringLiteral("m1"));
}

TEST(OrlixCategoryTreeTest, FillTreeViewAddsOneKeyedItemPerFolderNested) {
    const OrlixCategoryTree tree({{1, 0, QStringLiteral("Messages"), 0},
                                  {3, 1, QStringLiteral("Inbox"), 1},
                                  {7, 3, QStringLiteral("Competitions"), 0},
                                  {2, 1, QStringLiteral("Outbox"), 2},
                                  // A damaged row pointing at itself and one out of range.
                                  {8, 8, QStringLiteral("Loop"), 0},
                                  {40000, 1, QStringLiteral("Too big"), 0}});
    QTreeWidget view;
    tree.FillTreeView(&view, QStringLiteral("m"), false);
    ASSERT_EQ(view.topLevelItemCount(), 2);
    QTreeWidgetItem* inbox = view.topLevelItem(0);
    EXPECT_EQ(inbox->text(0), QStringLiteral("Inbox"));
    EXPECT_EQ(inbox->data(0, Qt::UserRole).toString(), QStringLiteral("m3"));
    ASSERT_EQ(inbox->childCount(), 1);
    EXPECT_EQ(inbox->child(0)->data(0, Qt::UserRole).toString(), QStringLiteral("m7"));
    EXPECT_EQ(view.topLevelItem(1)->data(0, Qt::UserRole).toString(), QStringLiteral("m2"));
    tree.FillTreeView(nullptr, QStringLiteral("m"), false);
}
