// The e-mail window with its body on the web engine.
#include "emailwindowfixture.h"
#include "messaging/linkdialog.h"
#include "messaging/webbodyeditor.h"
#include "platform/ui/fontconversion.h"
#include "support/scriptedcommondialogs.h"
#include "support/scripteddialogs.h"
#include "support/waitfor.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QHostAddress>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QToolBar>
#include <QWebEngineView>

#include <algorithm>

namespace {

class WebEngineEmailWindow : public EmailWindow {
protected:
    void SetUp() override {
        EmailWindow::SetUp();
        SetBodyEditorFactory([](QWidget* parent) { return new WebBodyEditor(parent); });
    }
    void TearDown() override {
        SetBodyEditorFactory({});
        EmailWindow::TearDown();
    }

    static WebBodyEditor* body(frmMessage* window) {
        return dynamic_cast<WebBodyEditor*>(window->Body());
    }
    // Shown, active, its body loaded and the editor's channel back to the program connected
    // (changes made before it connects are caught only by the next flush).
    static bool ready(frmMessage* window) {
        return window != nullptr && body(window) != nullptr && ShowActive(*window) &&
               WaitFor([&] { return !body(window)->IsLoading(); }) && WaitFor([&] {
                   return run(window,
                              QStringLiteral("!!(window.orlixEditor && orlixEditor.bridge)"))
                       .toBool();
               });
    }
    // What the page's own world sees, read through the editor's world.
    static QVariant run(frmMessage* window, const QString& source) {
        QVariant value;
        bool done = false;
        body(window)->RunInEditorWorld(source, [&](const QVariant& v) {
            value = v;
            done = true;
        });
        WaitFor([&] { return done; });
        return value;
    }
    // Text typed at the caret as the engine's own typing does it (an input event the document
    // reports). Synthetic key events are not used: under load the engine drops some of them.
    // Nothing waits here: what follows runs with no event-loop turn between.
    static void typeInBody(frmMessage* window, const QString& text) {
        body(window)->CaretToStart();
        QString literal = text;
        literal.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
            .replace(QLatin1Char('\''), QStringLiteral("\\'"));
        body(window)->RunInEditorWorld(
            QStringLiteral("document.execCommand('insertText', false, '%1')").arg(literal));
    }
    // The same with real key events on the engine's input widget, as a keyboard brings them,
    // once the document has the focus.
    static void typeKeysInBody(frmMessage* window, const QString& text) {
        body(window)->CaretToStart();
        QWidget* input = body(window)->View()->focusProxy();
        // A new message starts in its To box: the key must go to the body all the same.
        input->setFocus(Qt::MouseFocusReason);
        WaitFor([&] {
            return input->hasFocus() && run(window, QStringLiteral("document.hasFocus()")).toBool();
        });
        QTest::keyClicks(input, text);
    }
    static QString storedHtml(frmMessage* window) {
        return window->Message()->CDOMessage().HTMLBody();
    }
};

TEST_F(WebEngineEmailWindow, TypingWritesBothBodiesAndMarksEditedALoadNever) {
    frmMessage* window = newWindow();
    ASSERT_TRUE(ready(window));
    // The load is done and the engine has answered since: no change was reported for it.
    run(window, QStringLiteral("1"));
    EXPECT_FALSE(window->Message()->Edited());

    typeInBody(window, QStringLiteral("Hello listeners"));
    ASSERT_TRUE(WaitFor([&] { return storedHtml(window).contains("Hello listeners"); }))
        << storedHtml(window).toStdString();
    EXPECT_TRUE(window->Message()->CDOMessage().TextBody().contains("Hello listeners"));
    EXPECT_TRUE(window->Message()->Edited());
    // Edit mode never enters the markup the message keeps.
    EXPECT_FALSE(storedHtml(window).contains("contenteditable", Qt::CaseInsensitive));
    window->Message()->SetEdited(false);
}

TEST_F(WebEngineEmailWindow, AnUntouchedWindowAsksNothingAndOneTypedKeyAsks) {
    const auto draft = [] {
        auto message = std::make_shared<OrlixMessage>();
        MimeMessage mime;
        mime.SetTo(QStringLiteral("bob@example.org"));
        mime.SetSubject(QStringLiteral("Tonight"));
        mime.SetHTMLBody(QStringLiteral("<p>Play <b>this</b> next</p><div>and then</div>"));
        message->SetCDOMessage(mime);
        message->SetFolder(OrlixMessage::kNewMessagesFolder);
        bool ok = false;
        database().StoreMessage(*message, ok);
        EXPECT_TRUE(ok);
        return message;
    };
    const struct {
        const char* what;
        std::function<void(frmMessage*)> act;
        bool closes;
    } actions[] = {
        {"Esc", [](frmMessage* w) { QTest::keyClick(w, Qt::Key_Escape); }, true},
        {"logout", [](frmMessage* w) { Forms::Unload(w); }, true},
        {"print", [](frmMessage* w) { w->DoToolbarCommand(QStringLiteral("print")); }, false},
        {"copy to folder",
         [](frmMessage* w) { w->DoToolbarCommand(QStringLiteral("copymessage")); }, false},
        {"save", [](frmMessage* w) { w->DoToolbarCommand(QStringLiteral("save")); }, false},
    };
    const char* const question = "Do you want to save the changes you made to";
    for (const bool stored : {false, true}) {
        for (const auto& a : actions) {
            for (const bool typed : {false, true}) {
                const std::string label = std::string(stored ? "draft, " : "new, ") + a.what +
                                          (typed ? ", a key typed" : "");
                TestMessageBoxes().clear();
                frmMessage* window = stored ? open(draft()) : newWindow();
                ASSERT_TRUE(ready(window)) << label;
                // The engine has answered everything since the load.
                run(window, QStringLiteral("1"));
                if (typed) {
                    // One real key, as a keyboard brings it; a lost key would read as a window
                    // that asks nothing.
                    typeKeysInBody(window, QStringLiteral("x"));
                    // Here the edit itself is the point, not its race with the action.
                    const bool in = WaitFor(
                        [&] {
                            return run(window, QStringLiteral("document.body.textContent"))
                                .toString()
                                .contains(u'x');
                        },
                        10000);
                    EXPECT_TRUE(in) << label << ": the key typed never reached the body";
                }
                // A close the question would stop is answered Cancel.
                TestMessageBoxes().queue(MsgResult::Cancel);
                const QPointer<frmMessage> held(window);
                a.act(window);
                const bool asked = std::any_of(
                    TestMessageBoxes().shown().begin(), TestMessageBoxes().shown().end(),
                    [&](const auto& box) { return box.text.startsWith(question); });
                const bool closed = held.isNull() || !Forms::Contains(held.data());
                if (!typed) {
                    EXPECT_FALSE(asked) << label;
                    EXPECT_EQ(closed, a.closes) << label;
                    if (!closed) {
                        EXPECT_FALSE(window->Message()->Edited()) << label;
                        EXPECT_FALSE(window->ToolbarButton(QStringLiteral("save"))->isEnabled())
                            << label;
                        EXPECT_TRUE(
                            window->ToolbarButton(QStringLiteral("movemessage"))->isEnabled())
                            << label;
                    }
                } else if (a.closes) {
                    EXPECT_TRUE(asked) << label;
                    EXPECT_FALSE(closed) << label;
                } else if (std::string(a.what) != "save") {
                    EXPECT_TRUE(window->Message()->Edited()) << label;
                    EXPECT_TRUE(window->ToolbarButton(QStringLiteral("save"))->isEnabled())
                        << label;
                }
                if (!closed) {
                    held->Message()->SetEdited(false);
                    Forms::Unload(held);
                }
            }
        }
    }
}

TEST_F(WebEngineEmailWindow, AReplyTypedAndSentGoesOutAsTypedAboveTheQuote) {
    QFile file(QStringLiteral(ORLIX_FIXTURES "/messages/listener-request.eml"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString typed = QStringLiteral("Danke Ann, we play it next.");
    for (const bool typing : {true, false}) {
        auto message = std::make_shared<OrlixMessage>();
        message->SetCDOMessage(MimeMessage::FromBytes(bytes));
        message->SetFolder(OrlixDatabase::kInboxFolder);
        message->SetSentDate(QDateTime(QDate(2026, 12, 10), QTime(7, 15)));
        bool ok = false;
        database().StoreMessage(*message, ok);
        ASSERT_TRUE(ok);
        frmMessage* received = open(message);
        ASSERT_TRUE(ready(received));
        received->cmdReply()->click();
        ASSERT_EQ(windows().size(), 1);
        frmMessage* reply = windows().first();
        ASSERT_TRUE(ready(reply)) << typing;
        const QString quote = reply->Message()->CDOMessage().TextBody();
        ASSERT_TRUE(quote.startsWith("\n\n-----Original Message-----\n")) << quote.toStdString();
        const std::shared_ptr<OrlixMessage> sent = reply->Message();
        if (typing) {
            typeKeysInBody(reply, typed);
        }
        reply->cmdSend()->click();
        EXPECT_TRUE(TestMessageBoxes().shown().empty()) << typing;
        EXPECT_FALSE(Forms::Contains(reply)) << typing;
        const auto stored = database().GetMessage(sent->Reference());
        ASSERT_TRUE(stored) << typing;
        const MimeMessage mime = stored->CDOMessage();
        if (typing) {
            EXPECT_EQ(mime.TextBody(), typed + quote);
            const QString html = mime.HTMLBody();
            const qsizetype words = html.indexOf(typed);
            EXPECT_GE(words, 0) << html.toStdString();
            EXPECT_LT(words, html.indexOf(QStringLiteral("<div>"))) << html.toStdString();
            EXPECT_LT(words, html.indexOf(QStringLiteral("<hr>"))) << html.toStdString();
        } else {
            EXPECT_EQ(mime.TextBody(), quote);
        }
    }
}

TEST_F(WebEngineEmailWindow, ToolbarCommandsAndFontSizesWriteTheBodyAndMarkEdited) {
    const struct {
        const char* what;
        std::function<void(frmMessage*)> act;
        const char* written;
    } cases[] = {
        {"bold", [](frmMessage* w) { w->DoToolbarCommand("bold"); }, "<b>"},
        {"italic", [](frmMessage* w) { w->DoToolbarCommand("ITALIC"); }, "<i>"},
        {"bullet list", [](frmMessage* w) { w->DoToolbarCommand("bulletlist"); }, "<ul>"},
        {"Size 5", [](frmMessage* w) { w->SetBodyFontSize(5); }, "size=\"5\""},
    };
    for (const auto& c : cases) {
        frmMessage* window = newWindow();
        ASSERT_TRUE(ready(window)) << c.what;
        typeInBody(window, QStringLiteral("Tonight"));
        ASSERT_TRUE(WaitFor([&] { return storedHtml(window).contains("Tonight"); })) << c.what;
        body(window)->SelectAll();
        run(window, QStringLiteral("1"));
        window->Message()->SetEdited(false);
        c.act(window);
        EXPECT_TRUE(WaitFor([&] { return storedHtml(window).contains(c.written); }))
            << c.what << ": " << storedHtml(window).toStdString();
        EXPECT_TRUE(window->Message()->Edited()) << c.what;
        window->Message()->SetEdited(false);
        Forms::Unload(window);
    }
}

TEST_F(WebEngineEmailWindow, BoldFollowsTheSelectionPressedMixedAndUnpressed) {
    auto draft = std::make_shared<OrlixMessage>();
    MimeMessage mime;
    mime.SetHTMLBody(QStringLiteral("<p><b>loud</b> <span>quiet</span></p>"));
    draft->SetCDOMessage(mime);
    frmMessage* window = qobject_cast<frmMessage*>(NewMessage(draft, OrlixMessage::KindEmail));
    ASSERT_TRUE(ready(window));
    QAction* bold = window->EditToolbarButton(QStringLiteral("bold"));
    const auto select = [&](const char* what) {
        run(window, QStringLiteral("(function(){var r=document.createRange();%1;"
                                   "var s=getSelection();s.removeAllRanges();s.addRange(r);})()")
                        .arg(QLatin1String(what)));
    };
    const struct {
        const char* what;
        const char* range;
        bool pressed;
        bool mixed;
    } cases[] = {
        {"all of it bold", "r.selectNodeContents(document.querySelector('b'))", true, false},
        {"part of it bold", "r.selectNodeContents(document.querySelector('p'))", false, true},
        {"none of it bold", "r.selectNodeContents(document.querySelector('span'))", false, false},
    };
    QList<QImage> pictures;
    for (const auto& c : cases) {
        select(c.range);
        EXPECT_TRUE(WaitFor([&] {
            return bold->isChecked() == c.pressed &&
                   bold->property("MixedState").toBool() == c.mixed;
        })) << c.what;
        EXPECT_TRUE(window->EditToolbarButton(QStringLiteral("copy"))->isEnabled()) << c.what;
        pictures.append(window->toolBarEdit()->widgetForAction(bold)->grab().toImage());
    }
    // What the presenter sees: pressed, mixed and unpressed each look their own.
    EXPECT_NE(pictures[0], pictures[1]) << "mixed looks pressed";
    EXPECT_NE(pictures[1], pictures[2]) << "mixed looks unpressed";
    EXPECT_NE(pictures[0], pictures[2]) << "pressed looks unpressed";
    // Loading and selecting are no edits.
    EXPECT_FALSE(window->Message()->Edited());
}

TEST_F(WebEngineEmailWindow, FontSizeActsOnTheBodyOnlyWhileItHasTheFocus) {
    frmMessage* window = newWindow();
    ASSERT_TRUE(ready(window));
    typeInBody(window, QStringLiteral("Tonight"));
    ASSERT_TRUE(WaitFor([&] { return storedHtml(window).contains("Tonight"); }));
    body(window)->SelectAll();
    window->txtSubject()->setFocus();
    ASSERT_TRUE(WaitFor([&] { return window->txtSubject()->hasFocus(); }));
    window->SetBodyFontSize(5);
    window->Body()->FlushChanges();
    EXPECT_FALSE(storedHtml(window).contains("size=\"5\""));
    body(window)->setFocus();
    ASSERT_TRUE(WaitFor([&] { return window->Body()->HoldsFocus(window->focusWidget()); }));
    window->SetBodyFontSize(5);
    EXPECT_TRUE(WaitFor([&] { return storedHtml(window).contains("size=\"5\""); }))
        << storedHtml(window).toStdString();
    window->Message()->SetEdited(false);
}

TEST_F(WebEngineEmailWindow, TextTypedAndSentWithNoEventLoopTurnBetweenIsStored) {
    frmMessage* window = newWindow();
    ASSERT_TRUE(ready(window));
    window->ctlTo()->setText(QStringLiteral("bob@example.org"));
    window->txtSubject()->setText(QStringLiteral("Tonight"));
    // Real keys, and Send pressed before the engine has reported any of them.
    typeKeysInBody(window, QStringLiteral("Sent at once"));
    const std::shared_ptr<OrlixMessage> message = window->Message();
    window->cmdSend()->click();
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_FALSE(Forms::Contains(window));
    const auto stored = database().GetMessage(message->Reference());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Folder(), OrlixMessage::kOutboxFolder);
    EXPECT_TRUE(stored->CDOMessage().TextBody().contains("Sent at once"))
        << stored->CDOMessage().TextBody().toStdString();
    EXPECT_TRUE(stored->CDOMessage().HTMLBody().contains("Sent at once"));
}

TEST_F(WebEngineEmailWindow, AListenersHtmlRunsNoScriptAndFetchesNothing) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const QString html =
        QStringLiteral("<p id=\"t\">Hi <b>there</b></p><img src=\"http://127.0.0.1:%1/x.png\" "
                       "onerror=\"document.title='ran'\"><script>document.title='ran'</script>")
            .arg(server.serverPort());
    frmMessage* window = open(received(html));
    ASSERT_TRUE(ready(window));
    EXPECT_FALSE(window->Editable());
    EXPECT_NE(run(window, QStringLiteral("document.title")).toString(), "ran");
    EXPECT_EQ(run(window, QStringLiteral("document.body.textContent")).toString(), "Hi there");
    EXPECT_FALSE(server.hasPendingConnections());
    EXPECT_FALSE(window->Message()->Edited());
    // Read-only: typing changes nothing.
    typeInBody(window, QStringLiteral("x"));
    run(window, QStringLiteral("1"));
    EXPECT_EQ(run(window, QStringLiteral("document.body.textContent")).toString(), "Hi there");
    EXPECT_FALSE(window->Message()->Edited());
}

TEST_F(WebEngineEmailWindow, CutCopyAndPasteFollowTheSelectionAndStayBetweenChanges) {
    frmMessage* window = newWindow();
    ASSERT_TRUE(ready(window));
    typeInBody(window, QStringLiteral("Tonight on air"));
    ASSERT_TRUE(WaitFor([&] { return storedHtml(window).contains("Tonight on air"); }));
    QApplication::clipboard()->clear();
    QAction* cut = window->EditToolbarButton(QStringLiteral("cut"));
    QAction* copy = window->EditToolbarButton(QStringLiteral("copy"));
    QAction* paste = window->EditToolbarButton(QStringLiteral("paste"));
    const auto buttons = [&](bool cutOn, bool copyOn, bool pasteOn) {
        return WaitFor([&] {
            return cut->isEnabled() == cutOn && copy->isEnabled() == copyOn &&
                   paste->isEnabled() == pasteOn;
        });
    };
    body(window)->setFocus();
    body(window)->SelectAll();
    EXPECT_TRUE(buttons(true, true, false)) << "a selection, an empty clipboard";
    // A command that leaves the selection as it was leaves the buttons as they were.
    window->DoToolbarCommand(QStringLiteral("bold"));
    run(window, QStringLiteral("1"));
    EXPECT_TRUE(buttons(true, true, false)) << "after bold";
    window->DoToolbarCommand(QStringLiteral("copy"));
    EXPECT_TRUE(WaitFor([&] {
        return QApplication::clipboard()->text().contains(QStringLiteral("Tonight on air"));
    }));
    EXPECT_TRUE(buttons(true, true, true)) << "copied";
    body(window)->CaretToStart();
    EXPECT_TRUE(buttons(false, false, true)) << "a caret, text on the clipboard";
    run(window, QStringLiteral("1"));
    EXPECT_TRUE(buttons(false, false, true)) << "a caret, nothing changed since";
    window->Message()->SetEdited(false);
}

TEST_F(WebEngineEmailWindow, TheLinkDialogLinksWebAddressesAndRefusesScripts) {
    const struct {
        const char* what;
        const char* typed;
        bool linked;
    } cases[] = {
        {"https", "https://example.org/show", true},
        {"script", "javascript:document.title='ran'", false},
        {"script in capitals", "JAVASCRIPT:alert(1)", false},
        {"a local file", "file:///etc/passwd", false},
    };
    for (const auto& c : cases) {
        frmMessage* window = newWindow();
        ASSERT_TRUE(ready(window)) << c.what;
        typeInBody(window, QStringLiteral("Tonight"));
        ASSERT_TRUE(WaitFor([&] { return storedHtml(window).contains("Tonight"); })) << c.what;
        body(window)->setFocus();
        ASSERT_TRUE(WaitFor([&] { return window->Body()->HoldsFocus(window->focusWidget()); }));
        body(window)->SelectAll();
        run(window, QStringLiteral("1"));
        window->Message()->SetEdited(false);
        bool answered = false;
        bool okEnabled = false;
        TestDialogs().queue([&](QDialog& dialog) {
            auto& link = dynamic_cast<LinkDialog&>(dialog);
            link.AddressBox()->setText(QString::fromUtf8(c.typed));
            QPushButton* ok = link.Buttons()->button(QDialogButtonBox::Ok);
            okEnabled = ok->isEnabled();
            ok->click();
            answered = true;
        });
        window->DoToolbarCommand(QStringLiteral("hyperlink"));
        EXPECT_TRUE(window->Message()->Edited()) << c.what;
        ASSERT_TRUE(WaitFor([&] { return answered; })) << c.what;
        EXPECT_EQ(okEnabled, c.linked) << c.what;
        if (c.linked) {
            EXPECT_TRUE(WaitFor([&] {
                return storedHtml(window).contains(QStringLiteral("href=\"%1\"").arg(c.typed));
            })) << c.what
                << ": " << storedHtml(window).toStdString();
        } else {
            window->Body()->FlushChanges();
            EXPECT_FALSE(storedHtml(window).contains("href", Qt::CaseInsensitive))
                << c.what << ": " << storedHtml(window).toStdString();
        }
        EXPECT_NE(run(window, QStringLiteral("document.title")).toString(), "ran") << c.what;
        window->Message()->SetEdited(false);
        Forms::Unload(window);
    }
}

TEST_F(WebEngineEmailWindow, PastedHtmlRunsNothingAndFetchesNothing) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    frmMessage* window = newWindow();
    ASSERT_TRUE(ready(window));
    typeInBody(window, QStringLiteral("x"));
    ASSERT_TRUE(WaitFor([&] { return storedHtml(window).contains("x"); }));
    auto* data = new QMimeData;
    data->setText(QStringLiteral("Pasted here"));
    data->setHtml(QStringLiteral("<p>Pasted <b>here</b></p><img src=\"http://127.0.0.1:%1/p.png\" "
                                 "onerror=\"document.title='ran'\"><script>document.title='ran'"
                                 "</script><a href=\"javascript:document.title='ran'\">x</a>")
                      .arg(server.serverPort()));
    QApplication::clipboard()->setMimeData(data);
    body(window)->setFocus();
    ASSERT_TRUE(WaitFor([&] { return window->Body()->HoldsFocus(window->focusWidget()); }));
    body(window)->SelectAll();
    run(window, QStringLiteral("1"));
    window->DoToolbarCommand(QStringLiteral("paste"));
    ASSERT_TRUE(WaitFor([&] { return storedHtml(window).contains("Pasted"); }))
        << storedHtml(window).toStdString();
    run(window, QStringLiteral("1"));
    EXPECT_NE(run(window, QStringLiteral("document.title")).toString(), "ran");
    const QString stored = storedHtml(window);
    EXPECT_FALSE(stored.contains("<script", Qt::CaseInsensitive)) << stored.toStdString();
    EXPECT_FALSE(stored.contains("onerror", Qt::CaseInsensitive)) << stored.toStdString();
    EXPECT_FALSE(stored.contains("javascript:", Qt::CaseInsensitive)) << stored.toStdString();
    EXPECT_FALSE(server.hasPendingConnections());
    window->Message()->SetEdited(false);
}

TEST_F(WebEngineEmailWindow, TheSubjectIsSelectedOnEntryOnlyWhileEditable) {
    auto draft = std::make_shared<OrlixMessage>();
    MimeMessage mime;
    mime.SetSubject(QStringLiteral("Tonight's show"));
    draft->SetCDOMessage(mime);
    frmMessage* editable = qobject_cast<frmMessage*>(NewMessage(draft, OrlixMessage::KindEmail));
    ASSERT_TRUE(ready(editable));
    editable->txtSubject()->setText(QStringLiteral("Tonight's show"));
    body(editable)->setFocus();
    ASSERT_TRUE(WaitFor([&] { return !editable->txtSubject()->hasFocus(); }));
    editable->txtSubject()->deselect();
    editable->txtSubject()->setFocus(Qt::MouseFocusReason);
    EXPECT_TRUE(WaitFor([&] {
        return editable->txtSubject()->selectedText() == QStringLiteral("Tonight's show");
    })) << editable->txtSubject()->selectedText().toStdString();
    editable->Message()->SetEdited(false);

    frmMessage* readOnly = open(received());
    ASSERT_TRUE(ready(readOnly));
    ASSERT_FALSE(readOnly->Editable());
    body(readOnly)->setFocus();
    ASSERT_TRUE(WaitFor([&] { return !readOnly->txtSubject()->hasFocus(); }));
    // Even entered by Tab, which a line edit would select all for.
    readOnly->txtSubject()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(WaitFor([&] { return readOnly->txtSubject()->hasFocus(); }));
    run(readOnly, QStringLiteral("1"));
    EXPECT_FALSE(readOnly->txtSubject()->hasSelectedText());
}

TEST_F(WebEngineEmailWindow, TheFontDialogSetsFaceSizeAndStyles) {
    frmMessage* window = newWindow();
    ASSERT_TRUE(ready(window));
    typeInBody(window, QStringLiteral("Tonight"));
    ASSERT_TRUE(WaitFor([&] { return storedHtml(window).contains("Tonight"); }));
    body(window)->setFocus();
    ASSERT_TRUE(WaitFor([&] { return window->Body()->HoldsFocus(window->focusWidget()); }));
    body(window)->SelectAll();
    run(window, QStringLiteral("1"));
    window->Message()->SetEdited(false);
    QFont chosen(QStringLiteral("Serif Test Face"));
    chosen.setPointSizeF(FontConversion::StepPointSize(6));
    chosen.setBold(true);
    chosen.setItalic(true);
    TestCommonDialogs().queueFont(FontAnswer{chosen, QColor()});
    window->DoToolbarCommand(QStringLiteral("font"));
    EXPECT_TRUE(WaitFor([&] {
        const QString html = storedHtml(window);
        return html.contains("Serif Test Face") && html.contains("size=\"6\"") &&
               html.contains("<b>") && html.contains("<i>");
    })) << storedHtml(window).toStdString();
    EXPECT_TRUE(window->Message()->Edited());
    window->Message()->SetEdited(false);
}

// The dialog opens on the font of the selection's start, and OK applies only what the user
// changed in it: OK alone leaves the body as it was.
TEST_F(WebEngineEmailWindow, TheFontDialogOpensOnTheSelectionsFontAndAppliesOnlyWhatChanged) {
    const struct {
        const char* what;
        std::function<void(QFont&)> change;
        bool edited;
        std::vector<const char*> written; // each in the stored body after OK
        std::vector<const char*> notWritten;
    } cases[] = {
        {"OK alone", {}, false, {"<font size=\"5\" face=\"serif\">Tonight</font>"}, {}},
        {"a new size",
         [](QFont& f) { f.setPointSizeF(FontConversion::StepPointSize(2)); },
         true,
         {"size=\"2\"", "face=\"serif\""},
         {"size=\"5\"", "Sans"}},
        {"bold",
         [](QFont& f) { f.setBold(true); },
         true,
         {"<b>", "size=\"5\"", "face=\"serif\""},
         {"Sans"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto draft = std::make_shared<OrlixMessage>();
        MimeMessage mime;
        mime.SetHTMLBody(
            QStringLiteral("<p><font size=\"5\" face=\"serif\">Tonight</font> at nine</p>"));
        draft->SetCDOMessage(mime);
        frmMessage* window = qobject_cast<frmMessage*>(NewMessage(draft, OrlixMessage::KindEmail));
        ASSERT_TRUE(ready(window));
        body(window)->setFocus();
        ASSERT_TRUE(WaitFor([&] { return window->Body()->HoldsFocus(window->focusWidget()); }));
        run(window, QStringLiteral("(function(){var r=document.createRange();"
                                   "r.selectNodeContents(document.querySelector('font'));"
                                   "var s=getSelection();s.removeAllRanges();s.addRange(r);})()"));
        ASSERT_TRUE(WaitFor([&] { return body(window)->State().hasSelection; }));
        const QString before = body(window)->HtmlNow().value_or(QString());
        const size_t asked = TestCommonDialogs().fontRequests().size();
        TestCommonDialogs().queueFontFromStart(c.change);
        window->DoToolbarCommand(QStringLiteral("font"));
        ASSERT_EQ(TestCommonDialogs().fontRequests().size(), asked + 1);
        const QFont start = TestCommonDialogs().fontRequests().back().initial;
        EXPECT_EQ(start.family(), QStringLiteral("serif"));
        EXPECT_EQ(start.pointSizeF(), FontConversion::StepPointSize(5));
        EXPECT_FALSE(start.bold());
        if (c.edited) {
            EXPECT_TRUE(WaitFor([&] { return window->Message()->Edited(); }));
        } else {
            window->Body()->FlushChanges();
            EXPECT_EQ(body(window)->HtmlNow().value_or(QString()), before);
            EXPECT_FALSE(window->Message()->Edited());
        }
        window->Body()->FlushChanges();
        const QString stored = storedHtml(window);
        for (const char* w : c.written) {
            EXPECT_TRUE(stored.contains(QLatin1String(w))) << w << "\n" << stored.toStdString();
        }
        for (const char* w : c.notWritten) {
            EXPECT_FALSE(stored.contains(QLatin1String(w))) << w << "\n" << stored.toStdString();
        }
        window->Message()->SetEdited(false);
        Forms::Unload(window);
    }
}

} // namespace
