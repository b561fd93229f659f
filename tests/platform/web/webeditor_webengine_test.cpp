#include "platform/web/webeditor.h"

#include "support/scripteddialogs.h"
#include "support/waitfor.h"

#include <QApplication>
#include <QClipboard>
#include <QHostAddress>
#include <QMimeData>
#include <QRect>
#include <QTcpServer>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The editor shown in an active window, with its reports counted.
class WebEngineEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor_ = std::make_unique<WebEditor>();
        editor_->resize(640, 400);
        QObject::connect(editor_.get(), &WebEditor::Edited, editor_.get(), [this] { ++edits_; });
        QObject::connect(editor_.get(), &WebEditor::StateChanged, editor_.get(),
                         [this](const WebEditorState&) { ++states_; });
        ASSERT_TRUE(ShowActive(*editor_));
    }
    void TearDown() override { editor_.reset(); }

    bool load(const QString& html) {
        bool finished = false;
        bool result = false;
        const auto c =
            QObject::connect(editor_.get(), &WebEditor::LoadFinished, editor_.get(), [&](bool ok) {
                finished = true;
                result = ok;
            });
        editor_->SetHtml(html);
        const bool done = WaitFor([&] { return finished; });
        QObject::disconnect(c);
        return done && result && !editor_->IsLoading();
    }
    QVariant run(const QString& source) {
        QVariant value;
        bool done = false;
        editor_->RunInEditorWorld(source, [&](const QVariant& v) {
            value = v;
            done = true;
        });
        WaitFor([&] { return done; });
        return value;
    }
    QString html() { return editor_->HtmlNow().value_or(QStringLiteral("<no answer>")); }
    QString text() {
        QString t = QStringLiteral("<no answer>");
        bool done = false;
        editor_->ReadPlainText(editor_.get(), [&](const QString& v) {
            t = v;
            done = true;
        });
        WaitFor([&] { return done; });
        return t;
    }
    WebEditorState state() {
        WebEditorState s;
        bool done = false;
        editor_->ReadState(editor_.get(), [&](const WebEditorState& v) {
            s = v;
            done = true;
        });
        WaitFor([&] { return done; });
        return s;
    }
    // Selects the text of the element the selector names, or a caret at its start.
    void select(const char* selector, bool caret = false) {
        ASSERT_TRUE(run(QStringLiteral("(function(){var e=document.querySelector('%1');"
                                       "if(!e)return false;var r=document.createRange();"
                                       "r.selectNodeContents(e);if(%2)r.collapse(true);"
                                       "var s=getSelection();s.removeAllRanges();s.addRange(r);"
                                       "return true;})()")
                            .arg(QLatin1String(selector))
                            .arg(caret ? QLatin1String("true") : QLatin1String("false")))
                        .toBool())
            << selector;
    }
    // The centre of an element, in the view's widget coordinates.
    QPoint centreOf(const char* selector) {
        const QVariantList r = run(QStringLiteral("(function(){var e=document.querySelector('%1');"
                                                  "var b=e.getBoundingClientRect();"
                                                  "return [b.left+b.width/2,b.top+b.height/2];})()")
                                       .arg(QLatin1String(selector)))
                                   .toList();
        return r.size() == 2 ? QPoint(qRound(r.at(0).toDouble()), qRound(r.at(1).toDouble()))
                             : QPoint(5, 5);
    }
    QWidget* input() const {
        QWidget* proxy = editor_->View()->focusProxy();
        return proxy != nullptr ? proxy : editor_->View();
    }
    void click(const char* selector) {
        const QPoint at = centreOf(selector);
        QTest::mouseClick(input(), Qt::LeftButton, Qt::NoModifier, at);
    }
    void typeAtEndOf(const char* selector, const QString& keys) {
        editor_->setFocus();
        select(selector, false);
        run(QStringLiteral("getSelection().collapseToEnd()"));
        QTest::keyClicks(input(), keys);
    }

    std::unique_ptr<WebEditor> editor_;
    int edits_ = 0;
    int states_ = 0;
};

TEST_F(WebEngineEditorTest, ReadsBackTheDocumentWithWhatItDoesNotKnow) {
    const QString page = QStringLiteral(
        "<!DOCTYPE html><html lang=\"x-studio\"><head><meta charset=\"utf-8\">"
        "<style>p.cue { -orlix-cue: 3; mso-line-height-rule: exactly; color: red; }</style>"
        "</head><body data-show=\"breakfast\"><p class=\"cue\" style=\"mso-bidi-font: 1\">"
        "Jingle \u00e9\u20ac</p></body></html>");
    ASSERT_TRUE(load(page));
    const QString back = html();
    EXPECT_TRUE(back.startsWith(QStringLiteral("<!DOCTYPE html><html lang=\"x-studio\">")))
        << back.toStdString();
    for (const char* kept :
         {"-orlix-cue: 3", "mso-line-height-rule: exactly", "data-show=\"breakfast\"",
          "style=\"mso-bidi-font: 1\"", "Jingle \u00e9\u20ac"}) {
        EXPECT_TRUE(back.contains(QString::fromUtf8(kept))) << kept << "\n" << back.toStdString();
    }
    EXPECT_EQ(edits_, 0) << "a load is not an edit";

    // The program's own body style is no edit either, and stays in the markup.
    editor_->SetBodyStyle({{QStringLiteral("margin"), QStringLiteral("4px")},
                           {QStringLiteral("font-family"), QStringLiteral("Arial")}});
    EXPECT_TRUE(WaitFor([&] { return html().contains(QStringLiteral("margin: 4px")); }));
    EXPECT_TRUE(html().contains(QStringLiteral("font-family: Arial")));
    EXPECT_EQ(edits_, 0);
}

TEST_F(WebEngineEditorTest, ShowsADocumentBeyondTheInlineLimit) {
    QString big = QStringLiteral("<p>start</p>");
    const QString line =
        QStringLiteral("<p>\u00e9\u00e8\u00ea\u20ac line of a very long script</p>\n");
    while (big.size() < 3 * 1024 * 1024) {
        big += line;
    }
    big += QStringLiteral("<p id=\"end\">end</p>");
    ASSERT_TRUE(load(big));
    EXPECT_TRUE(text().endsWith(QStringLiteral("end")));
    EXPECT_GT(html().size(), 3 * 1024 * 1024);
}

TEST_F(WebEngineEditorTest, NewestLoadWins) {
    editor_->SetHtml(QStringLiteral("<p>first</p>"));
    ASSERT_TRUE(load(QStringLiteral("<p>second</p>")));
    EXPECT_EQ(text(), QStringLiteral("second"));
    // One after another as the playout link sends them: the last one shows.
    for (int i = 0; i < 5; ++i) {
        editor_->SetHtml(QStringLiteral("<p>line %1</p>").arg(i));
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(load(QStringLiteral("<p>last</p>")));
    EXPECT_EQ(text(), QStringLiteral("last"));
}

// Hostile documents: nothing in them runs, fetches, moves the view or grants editing.
TEST_F(WebEngineEditorTest, HostileMarkupNeverActs) {
    QTcpServer listener;
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost, 0));
    const QString remote = QStringLiteral("http://127.0.0.1:%1/").arg(listener.serverPort());
    struct Case {
        const char* name;
        QString html;
        const char* clickOn; // an element the user clicks, or none
    };
    const Case cases[] = {
        {"script",
         QStringLiteral("<p id=t>Top</p><script>document.body.innerHTML='gone'</script>"
                        "<img src=x onerror=\"document.body.innerHTML='gone'\">"),
         nullptr},
        {"remote picture", QStringLiteral("<p id=t>Pic</p><img src=\"%1a.png\">").arg(remote),
         nullptr},
        {"remote style sheet",
         QStringLiteral("<link rel=stylesheet href=\"%1s.css\"><p id=t>Css</p>").arg(remote),
         nullptr},
        {"remote frame",
         QStringLiteral("<p id=t>Frame</p><iframe src=\"%1f\"></iframe>").arg(remote), nullptr},
        {"meta refresh",
         QStringLiteral("<meta http-equiv=refresh content=\"0; url=%1r\"><p id=t>Stay</p>")
             .arg(remote),
         nullptr},
        {"refresh of itself",
         QStringLiteral("<meta http-equiv=\"Refresh\" content=\"0\"><p id=t>Again</p>"), nullptr},
        {"link", QStringLiteral("<p id=t><a id=go href=\"%1l\">Go there now</a></p>").arg(remote),
         "#go"},
        {"command link",
         QStringLiteral("<p id=t><a id=go href=\"orlix://deletemessage(1)\">Delete it</a></p>"),
         "#go"},
        {"form",
         QStringLiteral("<p id=t>Form</p><form action=\"%1post\"><input id=go type=submit "
                        "value=\"Send it off\"></form>")
             .arg(remote),
         "#go"},
        {"local file", QStringLiteral("<p id=t>Local</p><img src=\"file:///etc/passwd\">"),
         nullptr},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(load(c.html)) << c.name;
        const QString shown = text();
        if (c.clickOn != nullptr) {
            click(c.clickOn);
        }
        // Whatever the document would do, it would have done by the time a second load ends.
        EXPECT_FALSE(WaitFor([&] { return listener.hasPendingConnections(); }, 300)) << c.name;
        EXPECT_EQ(editor_->View()->page()->url(), QUrl(QStringLiteral("about:blank"))) << c.name;
        EXPECT_EQ(text(), shown) << c.name;
        EXPECT_FALSE(shown.contains(QStringLiteral("gone"))) << c.name;
        EXPECT_EQ(run(QStringLiteral("document.querySelector('#t')!==null")).toBool(), true)
            << c.name;
    }
    EXPECT_EQ(edits_, 0);
}

TEST_F(WebEngineEditorTest, MarkupGrantsNoEditingWithoutEditMode) {
    ASSERT_TRUE(load(QStringLiteral("<body contenteditable=true><p id=p contenteditable "
                                    "style=\"-webkit-user-modify: read-write\">Fixed</p></body>")));
    click("#p");
    typeAtEndOf("#p", QStringLiteral("typed"));
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    editor_->Paste();
    EXPECT_FALSE(WaitFor([&] { return edits_ > 0; }, 300));
    EXPECT_EQ(text(), QStringLiteral("Fixed"));
    // The markup keeps what it said.
    EXPECT_TRUE(html().contains(QStringLiteral("<body contenteditable=\"true\">")));
    EXPECT_FALSE(html().contains(QStringLiteral("data-orlix")));

    editor_->SetEditMode(true);
    typeAtEndOf("#p", QStringLiteral("ly"));
    ASSERT_TRUE(WaitFor([&] { return text() == QStringLiteral("Fixedly"); }));
    EXPECT_GT(edits_, 0);
    EXPECT_FALSE(html().contains(QStringLiteral("designmode"), Qt::CaseInsensitive));
}

TEST_F(WebEngineEditorTest, CommandsEditTheSelectionAndMarkEdited) {
    ASSERT_TRUE(load(QStringLiteral("<p id=a>Alpha</p><p id=b>Beta</p>")));
    editor_->SetEditMode(true);
    struct Step {
        const char* name;
        std::function<void()> act;
        const char* markup;
    };
    const Step steps[] = {
        {"bold", [&] { editor_->ToggleBold(); }, "<b>Alpha</b>"},
        {"italic", [&] { editor_->ToggleItalic(); }, "<i>"},
        {"underline", [&] { editor_->ToggleUnderline(); }, "<u>"},
        {"strike-through", [&] { editor_->ToggleStrikeThrough(); }, "<strike>"},
        {"size 5", [&] { EXPECT_TRUE(editor_->SetFontSize(5)); }, "<font size=\"5\">"},
        {"bullets", [&] { editor_->InsertUnorderedList(); }, "<ul>"},
        {"link", [&] { EXPECT_TRUE(editor_->CreateLink(QStringLiteral("https://example.org/a"))); },
         "href=\"https://example.org/a\""},
    };
    for (const Step& s : steps) {
        ASSERT_TRUE(load(QStringLiteral("<p id=a>Alpha</p><p id=b>Beta</p>"))) << s.name;
        edits_ = 0;
        select("#a");
        s.act();
        EXPECT_TRUE(WaitFor([&] { return edits_ > 0; })) << s.name;
        EXPECT_TRUE(html().contains(QLatin1String(s.markup))) << s.name << "\n"
                                                              << html().toStdString();
    }
}

TEST_F(WebEngineEditorTest, RefusedArgumentsAndReadOnlyDoNothing) {
    ASSERT_TRUE(load(QStringLiteral("<p id=a>Alpha</p>")));
    const QString before = html();
    select("#a");
    editor_->ToggleBold(); // not in edit mode
    editor_->SetEditMode(true);
    select("#a");
    for (const char* address :
         {"javascript:alert(1)", " JavaScript:alert(1)", "vbscript:x", "data:text/html,x",
          "file:///etc/passwd", "orlix://x", "", "http://"}) {
        EXPECT_FALSE(editor_->CreateLink(QLatin1String(address))) << address;
    }
    EXPECT_TRUE(WebEditor::IsLinkAllowed(QStringLiteral("mailto:desk@example.org")));
    for (int size : {0, 8, -1}) {
        EXPECT_FALSE(editor_->SetFontSize(size)) << size;
    }
    EXPECT_FALSE(WaitFor([&] { return edits_ > 0; }, 300));
    EXPECT_EQ(html(), before);
}

TEST_F(WebEngineEditorTest, UndoAndRedoFollowTheEdits) {
    ASSERT_TRUE(load(QStringLiteral("<p id=a>Alpha</p>")));
    editor_->SetEditMode(true);
    EXPECT_FALSE(state().canUndo) << "a fresh document has nothing to undo";
    select("#a");
    editor_->ToggleBold();
    ASSERT_TRUE(WaitFor([&] { return html().contains(QStringLiteral("<b>")); }));
    EXPECT_TRUE(state().canUndo);
    editor_->Undo();
    ASSERT_TRUE(WaitFor([&] { return !html().contains(QStringLiteral("<b>")); }));
    EXPECT_TRUE(state().canRedo);
    editor_->Redo();
    EXPECT_TRUE(WaitFor([&] { return html().contains(QStringLiteral("<b>")); }));
    // A new document starts a new history.
    ASSERT_TRUE(load(QStringLiteral("<p id=a>Alpha</p>")));
    EXPECT_FALSE(state().canUndo);
    EXPECT_FALSE(state().canRedo);
}

TEST_F(WebEngineEditorTest, StylesReadPressedMixedOrNot) {
    ASSERT_TRUE(load(QStringLiteral("<p id=all><b>Bold</b> <span style=\"font-weight:700\">"
                                    "heavy</span></p><p id=part>Half <b>bold</b></p>"
                                    "<p id=none>Plain <i id=i>slanted</i> <u>under</u> "
                                    "<s>struck</s></p>")));
    struct Case {
        const char* selector;
        bool caret;
        int bold;
    };
    const Case cases[] = {{"#all", false, 1},
                          {"#part", false, -1},
                          {"#none", false, 0},
                          {"#all b", true, 1},
                          {"#none", true, 0}};
    for (const Case& c : cases) {
        select(c.selector, c.caret);
        EXPECT_EQ(state().bold, c.bold) << c.selector << (c.caret ? " caret" : "");
    }
    select("#none");
    const WebEditorState s = state();
    EXPECT_EQ(s.italic, -1);
    EXPECT_EQ(s.underline, -1);
    EXPECT_EQ(s.strikeThrough, -1);
    select("#i");
    EXPECT_EQ(state().italic, 1);
    // Selection changes are reported without being asked.
    states_ = 0;
    select("#all");
    EXPECT_TRUE(WaitFor([&] { return states_ > 0 && editor_->State().bold == 1; }));
}

TEST_F(WebEngineEditorTest, ClipboardCommandsFollowSelectionAndEditMode) {
    ASSERT_TRUE(load(QStringLiteral("<p id=a>Alpha</p><p id=b>Beta</p>")));
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    struct Case {
        bool editing;
        bool selection;
        bool cut, copy, paste;
    };
    const Case cases[] = {{false, false, false, false, false},
                          {false, true, false, true, false},
                          {true, false, false, false, true},
                          {true, true, true, true, true}};
    for (const Case& c : cases) {
        editor_->SetEditMode(c.editing);
        select("#a", !c.selection);
        const WebEditorState s = state();
        EXPECT_EQ(s.canCut, c.cut) << c.editing << c.selection;
        EXPECT_EQ(s.canCopy, c.copy) << c.editing << c.selection;
        EXPECT_EQ(s.canPaste, c.paste) << c.editing << c.selection;
    }
    QApplication::clipboard()->clear();
    EXPECT_TRUE(WaitFor([&] { return !editor_->State().canPaste; }));

    // Cut, then paste the text back elsewhere.
    editor_->setFocus();
    select("#a");
    editor_->Cut();
    ASSERT_TRUE(WaitFor([&] { return !text().contains(QStringLiteral("Alpha")); }));
    // The engine hands the cut text to the clipboard after the document has changed.
    EXPECT_TRUE(WaitFor([] {
        return QApplication::clipboard()->text() == QStringLiteral("Alpha");
    })) << QApplication::clipboard()->text().toStdString();
    select("#b");
    run(QStringLiteral("getSelection().collapseToEnd()"));
    editor_->Paste();
    EXPECT_TRUE(WaitFor([&] { return text().contains(QStringLiteral("BetaAlpha")); }));
}

TEST_F(WebEngineEditorTest, PastedMarkupKeepsItsLookButNothingThatActs) {
    ASSERT_TRUE(load(QStringLiteral("<p id=a>Alpha</p>")));
    editor_->SetEditMode(true);
    editor_->setFocus();
    auto* data = new QMimeData; // the clipboard takes it
    data->setHtml(QStringLiteral(
        "<b>Loud</b><script>document.title='ran'</script><img src=x onerror=\"alert(1)\">"
        "<a href=\"javascript:alert(2)\">trap</a><a href=\"https://example.org/\">site</a>"
        "<iframe src=\"https://example.org/\"></iframe><p onclick=\"x()\">para</p>"));
    data->setText(QStringLiteral("Loud trap site para"));
    QApplication::clipboard()->setMimeData(data);
    select("#a");
    run(QStringLiteral("getSelection().collapseToEnd()"));
    editor_->Paste();
    ASSERT_TRUE(WaitFor([&] { return html().contains(QStringLiteral("Loud")); }));
    const QString back = html();
    EXPECT_TRUE(back.contains(QStringLiteral("<b>Loud</b>"))) << back.toStdString();
    EXPECT_TRUE(back.contains(QStringLiteral("href=\"https://example.org/\"")));
    for (const char* gone : {"<script", "onerror", "onclick", "javascript:", "<iframe"}) {
        EXPECT_FALSE(back.contains(QLatin1String(gone), Qt::CaseInsensitive)) << gone << "\n"
                                                                              << back.toStdString();
    }
    EXPECT_GT(edits_, 0);
}

TEST_F(WebEngineEditorTest, ScrollsTheRealPosition) {
    QString page;
    for (int i = 0; i < 300; ++i) {
        page += QStringLiteral("<p>Line %1</p>").arg(i);
    }
    ASSERT_TRUE(load(page));
    auto position = [&] {
        QPoint p(-1, -1);
        bool done = false;
        editor_->ReadScrollPosition(editor_.get(), [&](QPoint v) {
            p = v;
            done = true;
        });
        WaitFor([&] { return done; });
        return p;
    };
    EXPECT_EQ(position(), QPoint(0, 0));
    editor_->ScrollBy(0, 3);
    editor_->ScrollBy(0, 3);
    EXPECT_TRUE(WaitFor([&] { return position().y() == 6; }));
    editor_->SetScrollPosition(QPoint(0, 200));
    EXPECT_TRUE(WaitFor([&] { return position().y() == 200; }));
    editor_->ScrollBy(0, -1);
    EXPECT_TRUE(WaitFor([&] { return position().y() == 199; }));
}

} // namespace

namespace {

TEST_F(WebEngineEditorTest, EditModeKeepsTheSelectionForTyping) {
    ASSERT_TRUE(load(QStringLiteral("<p id=a>Alpha</p>")));
    editor_->SetEditMode(false);
    editor_->setFocus();
    select("#a");
    editor_->SetEditMode(true);
    run(QStringLiteral("true")); // the engine has taken the mode in
    QTest::keyClicks(input(), QStringLiteral("Zed"));
    EXPECT_TRUE(WaitFor([&] { return text() == QStringLiteral("Zed"); }, 5000))
        << text().toStdString();
}

// Bullets pressed at the end of a line keep the caret there: the engine's own list command
// moves it to the start of the new item.
TEST_F(WebEngineEditorTest, ListsKeepTheCaretAndSelection) {
    struct Case {
        const char* body;
        const char* place;    // script placing the selection
        const char* expected; // the text around the typed X
    };
    const Case cases[] = {
        {"Hello <b>bold</b>",
         "var t=document.querySelector('b').firstChild;getSelection().collapse(t,t.length)",
         "Hello boldX"},
        {"Hello <b>bold</b>", "getSelection().collapse(document.body,2)", "Hello boldX"},
        {"<p>One</p><p>Two</p>",
         "var t=document.querySelector('p').firstChild;getSelection().collapse(t,1)", "OXne"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(
            load(QStringLiteral("<html><body>%1</body></html>").arg(QLatin1String(c.body))));
        editor_->SetEditMode(true);
        run(QStringLiteral("true"));
        editor_->setFocus();
        run(QStringLiteral("(function(){%1;return true;})()").arg(QLatin1String(c.place)));
        editor_->InsertUnorderedList();
        run(QStringLiteral("document.execCommand('insertText',false,'X')"));
        const QString h = html();
        EXPECT_TRUE(h.contains(QStringLiteral("<li>"))) << h.toStdString();
        EXPECT_TRUE(text().contains(QLatin1String(c.expected))) << c.body << "\n"
                                                                << h.toStdString();
    }
}
// Bullets act on the line the caret or the selection is on, and typing goes on where it was,
// with the keys a keyboard sends. An empty line made by Enter sits at the same text offset as
// the end of the line above it.
TEST_F(WebEngineEditorTest, BulletsKeepTheCaretOnItsOwnLine) {
    struct Case {
        const char* name;
        const char* body;
        const char* place;  // script placing the selection, or none
        const char* before; // keys typed before Bullets ("\r" is Enter)
        const char* after;  // keys typed after it
        const char* items;  // the list items' texts, "|" between
        const char* lines;  // the body's lines, "|" between
    };
    const Case cases[] = {
        {"Enter then Bullets", "", nullptr, "abc\r", "xyz", "xyz", "abc|xyz"},
        {"Enter then Bullets in a paragraph", "<p id=a>abc</p>",
         "var t=document.querySelector('#a').firstChild;getSelection().collapse(t,t.length)", "\r",
         "xyz", "xyz", "abc|xyz"},
        {"at a line's end", "<p>One</p><p>Two</p>",
         "var t=document.querySelector('p').firstChild;getSelection().collapse(t,t.length)", "",
         "X", "OneX", "OneX|Two"},
        {"mid-line", "<p>One</p><p>Two</p>",
         "var t=document.querySelector('p').firstChild;getSelection().collapse(t,1)", "", "X",
         "OXne", "OXne|Two"},
        {"a selection over two lines", "<p>One</p><p>Two</p><p>End</p>",
         "var p=document.querySelectorAll('p');var r=document.createRange();"
         "r.setStart(p[0].firstChild,1);r.setEnd(p[1].firstChild,2);"
         "getSelection().removeAllRanges();getSelection().addRange(r)",
         "", "X", "OXo", "OXo|End"},
    };
    const auto typeKeys = [this](const char* keys) {
        for (const char* k = keys; *k != '\0'; ++k) {
            if (*k == '\r') {
                QTest::keyClick(input(), Qt::Key_Return);
            } else {
                QTest::keyClick(input(), *k);
            }
        }
    };
    const auto lines = [this] {
        return run(QStringLiteral("document.body.innerText.split('\\n')"
                                  ".filter(function(l){return l.length>0;}).join('|')"))
            .toString();
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(
            load(QStringLiteral("<html><body>%1</body></html>").arg(QLatin1String(c.body))));
        editor_->SetEditMode(true);
        run(QStringLiteral("true"));
        editor_->setFocus();
        if (c.place != nullptr) {
            run(QStringLiteral("(function(){%1;return true;})()").arg(QLatin1String(c.place)));
        } else {
            run(QStringLiteral("getSelection().collapse(document.body,0)"));
        }
        const int edited = edits_;
        typeKeys(c.before);
        if (*c.before != '\0') {
            // Each key is one edit; Bullets follows what was typed, as a user's click does.
            ASSERT_TRUE(WaitFor([&] { return edits_ >= edited + int(qstrlen(c.before)); }, 10000));
        }
        editor_->InsertUnorderedList();
        run(QStringLiteral("true"));
        typeKeys(c.after);
        const QString items = QString::fromLatin1(c.items);
        EXPECT_TRUE(WaitFor(
            [&] {
                return run(QStringLiteral(
                               "Array.prototype.map.call(document.querySelectorAll('li'),"
                               "function(l){return l.textContent;}).join('|')"))
                           .toString() == items;
            },
            10000))
            << html().toStdString();
        EXPECT_EQ(lines(), QString::fromLatin1(c.lines)) << html().toStdString();
    }
}

} // namespace
