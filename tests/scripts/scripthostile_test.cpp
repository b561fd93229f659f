#include "scriptspanefixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHostAddress>
#include <QTcpServer>

namespace {

// Hostile scripts, from the playout link and from the shared folder: nothing runs, nothing
// remote is fetched, no link takes the view elsewhere, markup grants no editing.
class WebEngineScriptHostileTest : public ScriptsPaneFixture {
public:
    void SetUp() override {
        ScriptsPaneFixture::SetUp();
        ASSERT_TRUE(listener.listen(QHostAddress::LocalHost, 0));
        outside = TestHome() + QStringLiteral("/outside");
        QDir().mkpath(outside);
        write(outside + QStringLiteral("/secret.htm"), "<p>Secret</p>");
        write(outside + QStringLiteral("/pic.png"), "not a picture");
    }
    QString remote(const char* path) const {
        return QStringLiteral("http://127.0.0.1:%1/%2")
            .arg(listener.serverPort())
            .arg(QLatin1String(path));
    }
    // Lets the view lay the document out (which fetches what it may) and paint it.
    void settle() {
        host->show();
        ASSERT_TRUE(ScriptViewDriver::Settled(pane->wbScripts));
        // Whatever the document would fetch, it asks for by the time a short wait has passed.
        WaitFor([&] { return listener.hasPendingConnections(); }, 300);
    }
    QTcpServer listener;
    QString outside;
};

TEST_F(WebEngineScriptHostileTest, HostileMarkupNeverActs) {
    struct Case {
        const char* name;
        QString html;
        QString visible; // text that must show
    };
    const Case cases[] = {
        {"script",
         QStringLiteral("<html><body><p>Top</p><script>document.title='run';"
                        "document.body.innerHTML='gone'</script></body></html>"),
         QStringLiteral("Top")},
        {"remote picture", QStringLiteral("<p>Pic<img src=\"%1\"></p>").arg(remote("a.png")),
         QStringLiteral("Pic")},
        {"remote style sheet",
         QStringLiteral("<html><head><link rel=stylesheet href=\"%1\"></head><body><p>Css</p>"
                        "</body></html>")
             .arg(remote("s.css")),
         QStringLiteral("Css")},
        {"remote frame",
         QStringLiteral("<p>Frame<iframe src=\"%1\"></iframe></p>").arg(remote("f")),
         QStringLiteral("Frame")},
        {"meta refresh",
         QStringLiteral("<html><head><meta http-equiv=refresh content=\"0; url=%1\"></head>"
                        "<body><p>Stay</p></body></html>")
             .arg(remote("r")),
         QStringLiteral("Stay")},
        {"refresh of itself",
         QStringLiteral("<html><head><meta http-equiv=\"Refresh\" content=\"0\"></head>"
                        "<body><p>Again</p></body></html>"),
         QStringLiteral("Again")},
        {"form",
         QStringLiteral("<p>Form</p><form action=\"%1\"><input type=submit></form>")
             .arg(remote("post")),
         QStringLiteral("Form")},
        {"picture outside the folders",
         QStringLiteral("<p>Local<img src=\"file://%1/pic.png\"></p>")
             .arg(TestHome() + QStringLiteral("/outside")),
         QStringLiteral("Local")},
    };
    for (bool fromFile : {false, true}) {
        for (const Case& c : cases) {
            load(true);
            if (fromFile) {
                write(script(QStringLiteral("h.htm")), c.html.toUtf8());
                pane->LoadScripts();
                click(script(QStringLiteral("h.htm")));
            } else {
                pane->ShowScript(c.html, QString(), true);
            }
            settle();
            const std::string name = std::string(c.name) + (fromFile ? " (file)" : " (playout)");
            EXPECT_TRUE(plain().contains(c.visible)) << name << ": " << plain().toStdString();
            EXPECT_FALSE(plain().contains(QStringLiteral("gone"))) << name;
            EXPECT_FALSE(listener.hasPendingConnections()) << name;
            if (c.html.contains(QLatin1String("<img"))) {
                EXPECT_EQ(ScriptViewDriver::Run(pane->wbScripts,
                                                QStringLiteral("document.images[0].naturalWidth"))
                              .toInt(),
                          0)
                    << name;
            }
            EXPECT_EQ(pane->wbScripts->Editor()->View()->url(), QUrl(QStringLiteral("about:blank")))
                << name;
            EXPECT_FALSE(pane->wbScripts->EditMode()) << name;
        }
    }
}

TEST_F(WebEngineScriptHostileTest, LinksAreNotFollowed) {
    for (const char* href : {"orlix:DELETEALL", "http://127.0.0.1:9/x", "file:///etc/passwd"}) {
        load(true);
        pane->ShowScript(
            QStringLiteral("<p><a id=go href=\"%1\">Go</a></p>").arg(QLatin1String(href)),
            QString(), true);
        ASSERT_TRUE(ShowActive(*host));
        ASSERT_TRUE(ScriptViewDriver::Settled(pane->wbScripts));
        pane->wbScripts->setFocus();
        const QVariantList at =
            ScriptViewDriver::Run(pane->wbScripts,
                                  QStringLiteral("(function(){var b=document.getElementById('go')"
                                                 ".getBoundingClientRect();return [b.left+3,"
                                                 "b.top+b.height/2];})()"))
                .toList();
        ASSERT_EQ(at.size(), 2);
        QTest::mouseClick(ScriptViewDriver::Input(pane->wbScripts), Qt::LeftButton, Qt::NoModifier,
                          QPoint(at[0].toInt(), at[1].toInt()));
        QTest::keyClick(ScriptViewDriver::Input(pane->wbScripts), Qt::Key_Tab);
        QTest::keyClick(ScriptViewDriver::Input(pane->wbScripts), Qt::Key_Return);
        EXPECT_FALSE(WaitFor([&] { return pane->wbScripts->IsLoading(); }, 300)) << href;
        EXPECT_EQ(plain(), QStringLiteral("Go")) << href;
        EXPECT_EQ(pane->wbScripts->Editor()->View()->url(), QUrl(QStringLiteral("about:blank")))
            << href;
    }
}

TEST_F(WebEngineScriptHostileTest, FilesOutsideTheFoldersDoNotLoad) {
    canCreate = true;
    load();
    pane->ShowScript(QString(), outside + QStringLiteral("/secret.htm"), false);
    EXPECT_FALSE(plain().contains(QStringLiteral("Secret")));
    EXPECT_FALSE(pane->ScriptEditable());

    // A link in the folder that leads out of it does not load either.
    ASSERT_TRUE(
        QFile::link(outside + QStringLiteral("/secret.htm"), script(QStringLiteral("l.htm"))));
    pane->ShowScript(QString(), script(QStringLiteral("l.htm")), false);
    EXPECT_FALSE(plain().contains(QStringLiteral("Secret")));
}

TEST_F(WebEngineScriptHostileTest, ContentEditableStaysReadOnlyWithoutTheRight) {
    write(script(QStringLiteral("e.htm")),
          "<html><body contenteditable=true><p contenteditable>Fixed</p></body></html>");
    load();
    host->show();
    click(script(QStringLiteral("e.htm")));
    tickEdit(true);
    ASSERT_FALSE(pane->ScriptEditable());
    ASSERT_TRUE(ScriptViewDriver::Settled(pane->wbScripts));
    ASSERT_TRUE(ScriptViewDriver::CaretAtEnd(pane->wbScripts));
    type(QStringLiteral("typed"));
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    pane->wbScripts->Paste();
    EXPECT_FALSE(WaitFor([&] { return pane->ScriptChanged(); }, 300));
    EXPECT_EQ(plain(), QStringLiteral("Fixed"));
    EXPECT_FALSE(pane->ScriptChanged());
    EXPECT_FALSE(pane->wbScripts->EditMode());
}

TEST_F(WebEngineScriptHostileTest, AOneMebibyteScriptShows) {
    load(true);
    const QString line =
        QStringLiteral("0123456789abcdef0123456789abcdef0123456789abcdef012345678\r\n");
    QString text;
    while (text.size() < 1024 * 1024) {
        text += line;
    }
    pane->ShowScript(text, QString(), true);
    const QString shown = plain();
    EXPECT_GE(shown.size(), 1000000);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("0123456789abcdef")));
}

} // namespace
