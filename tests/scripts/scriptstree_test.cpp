#include "scriptspanefixture.h"

#include "platform/system/textcodec.h"

#include "support/readonlyfolder.h"

namespace {

using ScriptTreeTest = ScriptsPaneFixture;

TEST_F(ScriptTreeTest, RootsInOrderWithAndWithoutPlayout) {
    struct Case {
        const char* name;
        bool playout;
        bool loggedIn;
        QStringList roots;
        QString selected;
    };
    const Case cases[] = {
        {"playout, logged in",
         true,
         true,
         {QStringLiteral("Ann's script"), QStringLiteral("Log Scripts"),
          QStringLiteral("Other Scripts")},
         QStringLiteral("LOGSCRIPT")},
        {"no playout, logged in",
         false,
         true,
         {QStringLiteral("Ann's script"), QStringLiteral("Other Scripts")},
         personal + QStringLiteral("/OrlixScript.htm")},
        {"playout, nobody",
         true,
         false,
         {QStringLiteral("Log Scripts"), QStringLiteral("Other Scripts")},
         QStringLiteral("LOGSCRIPT")},
        {"no playout, nobody", false, false, {QStringLiteral("Other Scripts")}, QString()},
    };
    for (const Case& c : cases) {
        user =
            c.loggedIn ? ScriptsPane::User{QStringLiteral("Ann"), personal} : ScriptsPane::User();
        load(c.playout);
        EXPECT_EQ(topTexts(), c.roots) << c.name;
        EXPECT_EQ(pane->treeScripts->SelectedKey(), c.selected) << c.name;
    }
}

TEST_F(ScriptTreeTest, AnEarlierUsersNodeGoesAtLogout) {
    logIn();
    load(true);
    ASSERT_EQ(topTexts().size(), 3);
    user = {};
    pane->LoadScripts();
    EXPECT_EQ(topTexts(),
              (QStringList{QStringLiteral("Log Scripts"), QStringLiteral("Other Scripts")}));
}

TEST_F(ScriptTreeTest, NoPersonalNodeWithoutAFolderOrWithoutScriptsFolder) {
    user = {QStringLiteral("Ann"), QString()};
    load();
    EXPECT_EQ(topTexts(), QStringList{QStringLiteral("Other Scripts")});

    // A missing scripts folder leaves the tree as it was.
    logIn();
    settings.SetScriptPath(TestHome() + QStringLiteral("/missing"));
    pane->LoadScripts();
    EXPECT_EQ(topTexts(), QStringList{QStringLiteral("Other Scripts")});
    EXPECT_FALSE(QFile::exists(personal + QStringLiteral("/OrlixScript.htm")));
}

TEST_F(ScriptTreeTest, SharedScriptsSortedWithoutHiddenFoldersOrLinks) {
    write(script(QStringLiteral("b.htm")), "b");
    write(script(QStringLiteral("a.txt")), "a");
    write(script(QStringLiteral("a.htm")), "a");
    write(script(QStringLiteral(".hidden.htm")), "h");
    ASSERT_TRUE(QDir().mkpath(script(QStringLiteral("folder.htm"))));
    ASSERT_TRUE(QFile::link(script(QStringLiteral("b.htm")), script(QStringLiteral("link.htm"))));
    load();
    EXPECT_EQ(sharedKeys(),
              (QStringList{script(QStringLiteral("a.htm")), script(QStringLiteral("a.txt")),
                           script(QStringLiteral("b.htm"))}));
    QTreeWidgetItem* other = pane->treeScripts->NodeByKey(QStringLiteral("OTHERSCRIPTS"));
    EXPECT_EQ(other->child(0)->text(0), QStringLiteral("a"));
    EXPECT_EQ(other->child(1)->text(0), QStringLiteral("a"));
}

TEST_F(ScriptTreeTest, PersonalFolderThatIsTheScriptsFolderShowsItsFileOnce) {
    user = {QStringLiteral("Ann"), scripts};
    write(script(QStringLiteral("x.htm")), "x");
    load();
    EXPECT_EQ(sharedKeys(), QStringList{script(QStringLiteral("x.htm"))});
    EXPECT_EQ(topTexts().first(), QStringLiteral("Ann's script"));
    EXPECT_TRUE(QFile::exists(script(QStringLiteral("OrlixScript.htm"))));
}

TEST_F(ScriptTreeTest, ADeletedScriptsNodeGoesAndIsNotReselected) {
    write(script(QStringLiteral("a.htm")), "a");
    write(script(QStringLiteral("b.htm")), "b");
    load();
    pane->treeScripts->SelectKey(script(QStringLiteral("a.htm")));
    ASSERT_TRUE(QFile::remove(script(QStringLiteral("a.htm"))));
    pane->LoadScripts();
    EXPECT_EQ(sharedKeys(), QStringList{script(QStringLiteral("b.htm"))});
    EXPECT_EQ(pane->treeScripts->SelectedKey(), QString());

    // A selection that still exists is kept by key.
    pane->treeScripts->SelectKey(script(QStringLiteral("b.htm")));
    pane->LoadScripts();
    EXPECT_EQ(pane->treeScripts->SelectedKey(), script(QStringLiteral("b.htm")));
}

TEST_F(ScriptTreeTest, RootsNeverCollapse) {
    logIn();
    write(script(QStringLiteral("a.htm")), "a");
    load(true);
    for (const QString& key : {QStringLiteral("LOGSCRIPT"), QStringLiteral("OTHERSCRIPTS")}) {
        QTreeWidgetItem* root = pane->treeScripts->NodeByKey(key);
        root->setExpanded(true);
        pane->treeScripts->collapseItem(root);
        EXPECT_TRUE(root->isExpanded()) << key.toStdString();
    }
    const auto picture = [](const QIcon& icon) { return icon.pixmap(16).toImage(); };
    EXPECT_EQ(picture(pane->treeScripts->NodeByKey(QStringLiteral("OTHERSCRIPTS"))->icon(0)),
              picture(ScriptTreeImage(QStringLiteral("open"))));
}

TEST_F(ScriptTreeTest, AnUnwritablePersonalFolderLeavesTheListingGoingOn) {
    write(script(QStringLiteral("a.htm")), "a");
    ASSERT_TRUE(QDir().mkpath(personal));
    logIn();
    {
        ReadOnlyFolder locked(personal);
        ASSERT_TRUE(locked.Problem().isEmpty()) << locked.Problem().toStdString();
        load();
    }
    EXPECT_EQ(topTexts(),
              (QStringList{QStringLiteral("Ann's script"), QStringLiteral("Other Scripts")}));
    EXPECT_EQ(sharedKeys(), QStringList{script(QStringLiteral("a.htm"))});
    EXPECT_FALSE(QFile::exists(personal + QStringLiteral("/OrlixScript.htm")));
}

} // namespace
