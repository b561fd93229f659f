#include "scriptspanefixture.h"

#include "platform/system/textcodec.h"

#include "support/readonlyfolder.h"

namespace {

using WebEngineScriptTreeTest = ScriptsPaneFixture;

TEST_F(WebEngineScriptTreeTest, ANewPersonalFileHasItsTitleAndBody) {
    logIn(QStringLiteral("Ann <b>& Co"));
    load();
    const QString path = personal + QStringLiteral("/OrlixScript.htm");
    QTreeWidgetItem* node = pane->treeScripts->topLevelItem(0);
    EXPECT_EQ(node->text(0), QStringLiteral("Ann <b>& Co's script"));
    EXPECT_EQ(node->data(0, Qt::UserRole + 1).toString(), QStringLiteral("<PERSONALSCRIPT>"));
    EXPECT_FALSE(node->icon(0).isNull());
    const QString html = TextCodec::DecodeTextFileBytes(read(path));
    EXPECT_TRUE(html.contains(QStringLiteral("<title>Ann &lt;b&gt;&amp; Co&#39;s script</title>")))
        << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("Ann &lt;b&gt;&amp; Co&#39;s script:<br><br>")));

    // Shown, its text is the name and the colon; an existing file is never written again.
    write(path, "<html><body><p>Mine</p></body></html>");
    pane->LoadScripts();
    click(path);
    EXPECT_EQ(plain(), QStringLiteral("Mine"));
}

TEST_F(WebEngineScriptTreeTest, ClicksAndKeysRunTheNodeClickButSelectionsFromCodeDoNot) {
    write(script(QStringLiteral("a.htm")), "<p>Alpha</p>");
    write(script(QStringLiteral("b.htm")), "<p>Beta</p>");
    load();
    host->show();
    ScriptTree* tree = pane->treeScripts;
    tree->SelectKey(script(QStringLiteral("a.htm")));
    EXPECT_EQ(plain(), QString());

    QTreeWidgetItem* a = tree->NodeByKey(script(QStringLiteral("a.htm")));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(a).center());
    EXPECT_EQ(plain(), QStringLiteral("Alpha"));

    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(tree->SelectedKey(), script(QStringLiteral("b.htm")));
    EXPECT_EQ(plain(), QStringLiteral("Beta"));
}

} // namespace
