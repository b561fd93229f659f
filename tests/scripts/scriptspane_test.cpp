#include "scriptspanefixture.h"

#include "platform/system/textcodec.h"
#include "platform/ui/toolbarimages.h"

#include "support/pictures.h"
#include "support/readonlyfolder.h"
#include "support/realcommondialogs.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QToolBar>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <csignal>

namespace {

using WebEngineScriptShowTest = ScriptsPaneFixture;
using WebEngineScriptEditTest = ScriptsPaneFixture;

TEST_F(WebEngineScriptShowTest, PlayoutTextsShowOnlyWhileLogScriptsIsSelected) {
    load(true);
    pane->ShowScript(QStringLiteral("Hello, world\r\nNext line"), QString(), true);
    EXPECT_EQ(plain(), QStringLiteral("Hello, world\nNext line"));
    EXPECT_FALSE(pane->ScriptEditable());
    EXPECT_FALSE(pane->chkScriptEdit->isEnabled());
    EXPECT_TRUE(enabled("print"));

    // The same text again changes nothing.
    pane->wbScripts->ClearDocument();
    pane->ShowScript(QStringLiteral("Hello, world\r\nNext line"), QString(), true);
    EXPECT_EQ(plain(), QString());

    // Clicking Log Scripts empties the view: read-only, nothing to print.
    pane->ShowScript(QStringLiteral("Third"), QString(), true);
    click(QStringLiteral("LOGSCRIPT"));
    EXPECT_EQ(plain(), QString());
    EXPECT_FALSE(enabled("print"));
    EXPECT_FALSE(pane->wbScripts->EditMode());

    // Under another node a playout line shows nothing.
    click(QStringLiteral("OTHERSCRIPTS"));
    pane->ShowScript(QStringLiteral("Not now"), QString(), true);
    EXPECT_EQ(plain(), QString());
}

TEST_F(WebEngineScriptShowTest, ScriptFontIsAppliedToHtmlButNotToTextFiles) {
    auto font = settings.ScriptFont();
    ASSERT_TRUE(font);
    *font = FontStyle{QStringLiteral("DejaVu Sans"), 5, 0x0000ff, 1, 0, 0, 0};
    write(script(QStringLiteral("a.htm")), "<html><body><p>Alpha</p></body></html>");
    write(script(QStringLiteral("b.txt")), "<p>Beta</p>");
    canCreate = true;
    load();
    click(script(QStringLiteral("a.htm")));
    ASSERT_TRUE(ScriptViewDriver::Settled(pane->wbScripts));
    const QVariantMap look = ScriptViewDriver::StyleAt(pane->wbScripts, 1);
    EXPECT_EQ(look.value(QStringLiteral("fontSize")).toInt(), 18);
    EXPECT_GE(look.value(QStringLiteral("fontWeight")).toInt(), 700);
    EXPECT_EQ(look.value(QStringLiteral("fontStyle")).toString(), QStringLiteral("normal"));
    EXPECT_EQ(look.value(QStringLiteral("color")).toString(), QStringLiteral("rgb(255, 0, 0)"));
    EXPECT_TRUE(enabled("print"));
    EXPECT_TRUE(pane->ScriptEditable());

    // A text file shows as text, with nothing to print, no font, and no right to edit.
    click(script(QStringLiteral("b.txt")));
    EXPECT_EQ(plain(), QStringLiteral("<p>Beta</p>"));
    EXPECT_FALSE(enabled("print"));
    EXPECT_FALSE(pane->ScriptEditable());

    // An empty font name applies nothing.
    font->Name.clear();
    click(script(QStringLiteral("a.htm")));
    ASSERT_TRUE(ScriptViewDriver::Settled(pane->wbScripts));
    EXPECT_LT(
        ScriptViewDriver::StyleAt(pane->wbScripts, 1).value(QStringLiteral("fontWeight")).toInt(),
        700);
}

TEST_F(WebEngineScriptShowTest, EditRightFollowsTheNodeAndTheUsersRight) {
    write(script(QStringLiteral("a.htm")), "<p>Alpha</p>");
    logIn();
    load();
    struct Case {
        const char* name;
        bool canCreate;
        QString key;
        bool editable;
    };
    const Case cases[] = {
        {"shared without right", false, script(QStringLiteral("a.htm")), false},
        {"other scripts with right", true, QStringLiteral("OTHERSCRIPTS"), true},
        {"shared with right", true, script(QStringLiteral("a.htm")), true},
        {"personal without right", false, personal + QStringLiteral("/OrlixScript.htm"), true},
        {"other scripts without right", false, QStringLiteral("OTHERSCRIPTS"), false},
    };
    tickEdit(true);
    for (const Case& c : cases) {
        canCreate = c.canCreate;
        click(c.key);
        EXPECT_EQ(pane->ScriptEditable(), c.editable) << c.name;
        EXPECT_EQ(pane->chkScriptEdit->isEnabled(), c.editable) << c.name;
        EXPECT_EQ(pane->wbScripts->EditMode(), c.editable) << c.name;
        EXPECT_EQ(enabled("bold"), c.editable) << c.name;
        EXPECT_EQ(enabled("paste"), c.editable) << c.name;
        EXPECT_FALSE(enabled("save")) << c.name;
        EXPECT_FALSE(enabled("undo")) << c.name;
        EXPECT_EQ(pane->cmdNewScript->isEnabled(),
                  c.canCreate || c.key.endsWith(QLatin1String("OrlixScript.htm")))
            << c.name;
    }
}

TEST_F(WebEngineScriptShowTest, AMissingFileIsReportedAndLeavesTheViewEmpty) {
    write(script(QStringLiteral("a.htm")), "<p>Alpha</p>");
    canCreate = true;
    load();
    ASSERT_TRUE(QFile::remove(script(QStringLiteral("a.htm"))));
    click(script(QStringLiteral("a.htm")));
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral(
                              "The script 'a' could not be found. It may have been renamed or "
                              "deleted on another computer.")});
    EXPECT_EQ(TestMessageBoxes().shown().back().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(sharedKeys().isEmpty());
    EXPECT_EQ(plain(), QString());
    EXPECT_FALSE(pane->wbScripts->EditMode());
    EXPECT_FALSE(pane->ScriptEditable());
}

TEST_F(WebEngineScriptShowTest, AScriptAboveTheLimitIsReportedAndLeavesNothingToEdit) {
    write(script(QStringLiteral("small.htm")), "<p>Small</p>");
    QByteArray big = "<p>";
    big += QByteArray(5 * 1024 * 1024, 'x');
    big += "</p>";
    write(script(QStringLiteral("big.htm")), big);
    canCreate = true;
    load();
    click(script(QStringLiteral("small.htm")));
    ASSERT_TRUE(WaitFor([&] { return plain() == QStringLiteral("Small"); }));
    click(script(QStringLiteral("big.htm")));
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral(
                              "The script 'big' cannot be shown because it is larger than 4 MB.")});
    EXPECT_EQ(TestMessageBoxes().shown().back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(plain(), QString());
    EXPECT_FALSE(pane->ScriptEditable());
    EXPECT_FALSE(pane->chkScriptEdit->isEnabled());
    EXPECT_FALSE(enabled("save"));
    EXPECT_FALSE(enabled("print"));
    EXPECT_EQ(sharedKeys().size(), 2) << "the file stays in the tree";
}

TEST_F(WebEngineScriptShowTest, AViewWhoseWebProcessEndsIsClearedAndTold) {
    write(script(QStringLiteral("small.htm")), "<p>Small</p>");
    canCreate = true;
    load();
    tickEdit(true);
    click(script(QStringLiteral("small.htm")));
    ASSERT_TRUE(WaitFor([&] { return plain() == QStringLiteral("Small"); }));
    ASSERT_TRUE(pane->ScriptEditable());
    ASSERT_TRUE(enabled("print"));
    const qint64 pid = pane->wbScripts->Editor()->View()->page()->renderProcessPid();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGKILL), 0);

    ASSERT_TRUE(WaitFor([&] { return !boxTexts().isEmpty(); }, 20000));
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral("The script 'small' could not be shown.")});
    EXPECT_EQ(TestMessageBoxes().shown().back().icon, MsgIcon::Exclamation);
    EXPECT_FALSE(pane->ScriptEditable());
    EXPECT_FALSE(pane->chkScriptEdit->isEnabled());
    EXPECT_FALSE(pane->wbScripts->EditMode());
    for (const char* button : {"save", "print", "delete", "bold", "paste"}) {
        EXPECT_FALSE(enabled(button)) << button;
    }
    EXPECT_EQ(plain(), QString());

    // The view comes back with the next script, the same one too.
    click(script(QStringLiteral("small.htm")));
    EXPECT_TRUE(WaitFor([&] { return plain() == QStringLiteral("Small"); }));
    EXPECT_TRUE(pane->ScriptEditable());
    EXPECT_TRUE(enabled("print"));
}

TEST_F(WebEngineScriptEditTest, ThePersonalScriptIsEditedAndSavedInPlace) {
    logIn();
    load();
    const QString path = personal + QStringLiteral("/OrlixScript.htm");
    click(path);
    tickEdit(true);
    EXPECT_TRUE(pane->wbScripts->EditMode());
    typeAtEnd(QStringLiteral("Good morning, café"));
    EXPECT_TRUE(pane->ScriptChanged());
    EXPECT_TRUE(enabled("save"));
    EXPECT_TRUE(enabled("undo"));
    pane->toolScripts_ButtonClick(QStringLiteral("save"));
    EXPECT_EQ(TestDialogs().shown().size(), 0U) << "no name is asked";
    EXPECT_FALSE(pane->ScriptChanged());
    EXPECT_FALSE(enabled("save"));
    const QByteArray bytes = read(path);
    EXPECT_TRUE(bytes.contains("<meta charset=\"utf-8\">")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("Good morning, caf\xc3\xa9")) << bytes.constData();
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(QDir(personal).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("OrlixScript.htm")});
}

TEST_F(WebEngineScriptEditTest, ANewScriptIsNamedSavedAndSelected) {
    canCreate = true;
    load();
    pane->cmdNewScript->setEnabled(true);
    pane->cmdNewScript->click();
    EXPECT_EQ(plain(), QStringLiteral("<New Script>"));
    EXPECT_TRUE(WaitFor([&] { return pane->wbScripts->HasSelection(); }));
    tickEdit(true);
    type(QStringLiteral("Intro text"));
    EXPECT_EQ(plain(), QStringLiteral("Intro text"));

    // A refused name is asked again; then the file is made and its node selected.
    answerName(QStringLiteral("../Intro"));
    answerName(QStringLiteral("  Intro  "));
    pane->toolScripts_ButtonClick(QStringLiteral("save"));
    EXPECT_EQ(boxTexts(), QStringList{QStringLiteral(
                              "A script name cannot contain any of the characters \\ / : * ? \" < "
                              "> | and cannot begin with a full stop.")});
    const QString path = script(QStringLiteral("Intro.htm"));
    EXPECT_TRUE(read(path).contains("Intro text"));
    EXPECT_EQ(sharedKeys(), QStringList{path});
    EXPECT_EQ(pane->treeScripts->SelectedKey(), path);
    EXPECT_EQ(pane->ScriptFile(), path);
    EXPECT_TRUE(enabled("delete"));
    EXPECT_FALSE(QFile::exists(TestHome() + QStringLiteral("/Intro.htm")));
}

TEST_F(WebEngineScriptEditTest, OverwriteQuestionAndCancelledNameKeepTheEdits) {
    canCreate = true;
    write(script(QStringLiteral("Intro.htm")), "old");
    load();
    pane->cmdNewScript_Click();
    tickEdit(true);
    ASSERT_TRUE(ScriptViewDriver::Settled(pane->wbScripts));
    pane->wbScripts->SelectAll();
    ASSERT_TRUE(WaitFor([&] { return pane->wbScripts->HasSelection(); }));
    type(QStringLiteral("mine"));

    answerName(QStringLiteral("Intro"));
    TestMessageBoxes().queue(MsgResult::No);
    EXPECT_FALSE(pane->SaveScript(true));
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_EQ(
        TestMessageBoxes().shown()[0].text,
        QStringLiteral("There is already a script called 'Intro'\n\nDo you want to overwrite it?"));
    EXPECT_EQ(TestMessageBoxes().shown()[0].defaultButton, 1);
    EXPECT_EQ(read(script(QStringLiteral("Intro.htm"))), QByteArray("old"));
    EXPECT_TRUE(pane->ScriptChanged());

    answerName(QString());
    EXPECT_FALSE(pane->SaveScript(true));
    EXPECT_TRUE(pane->ScriptChanged());
    EXPECT_EQ(plain(), QStringLiteral("mine"));
}

TEST_F(WebEngineScriptEditTest, ConflictsWithAnotherComputer) {
    struct Case {
        const char* name;
        bool deleted;
        MsgResult answer;
        QString question;
        bool saved;
    };
    const QString changed = QStringLiteral(
        "The script 'a' has been changed on another computer since you opened it.\n\n"
        "Do you want to replace it with your version?");
    const QString gone = QStringLiteral(
        "The script 'a' has been deleted on another computer since you opened it.\n\n"
        "Do you want to save your version?");
    const Case cases[] = {
        {"changed, No", false, MsgResult::No, changed, false},
        {"changed, Yes", false, MsgResult::Yes, changed, true},
        {"deleted, No", true, MsgResult::No, gone, false},
        {"deleted, Yes", true, MsgResult::Yes, gone, true},
    };
    canCreate = true;
    for (const Case& c : cases) {
        TestMessageBoxes().clear();
        write(script(QStringLiteral("a.htm")), "<p>Alpha</p>");
        load();
        click(script(QStringLiteral("a.htm")));
        tickEdit(true);
        typeAtEnd(QStringLiteral(" edited"));
        if (c.deleted) {
            ASSERT_TRUE(QFile::remove(script(QStringLiteral("a.htm"))));
        } else {
            write(script(QStringLiteral("a.htm")), "<p>Theirs</p>");
        }
        TestMessageBoxes().queue(c.answer);
        EXPECT_EQ(pane->SaveScript(true), c.saved) << c.name;
        EXPECT_EQ(boxTexts(), QStringList{c.question}) << c.name;
        EXPECT_EQ(TestMessageBoxes().shown()[0].icon, MsgIcon::Question) << c.name;
        EXPECT_EQ(TestMessageBoxes().shown()[0].defaultButton, 1) << c.name;
        const QByteArray bytes = read(script(QStringLiteral("a.htm")));
        if (c.saved) {
            EXPECT_TRUE(bytes.contains("Alpha edited")) << c.name;
        } else {
            EXPECT_EQ(bytes, c.deleted ? QByteArray("<missing>") : QByteArray("<p>Theirs</p>"))
                << c.name;
            EXPECT_TRUE(pane->ScriptChanged()) << c.name;
        }
        // A second save after a successful one asks nothing.
        if (c.saved) {
            TestMessageBoxes().clear();
            typeAtEnd(QStringLiteral("!"));
            EXPECT_TRUE(pane->SaveScript(true)) << c.name;
            EXPECT_TRUE(TestMessageBoxes().shown().empty()) << c.name;
        }
    }
}

// A script written elsewhere keeps what this program does not know: its style sheet, the
// word processor's own properties, its attributes and its declared character set as UTF-8.
TEST_F(WebEngineScriptEditTest, ASaveKeepsTheFilesUnknownStyles) {
    canCreate = true;
    write(script(QStringLiteral("styled.htm")),
          "<!DOCTYPE html><html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
          "charset=windows-1252\"><style>p.cue { mso-line-height-rule: exactly; -orlix-cue: 3; "
          "color: #800000; }</style></head><body lang=\"EN-GB\"><p class=\"cue\" "
          "style=\"mso-bidi-font-weight: bold\" data-take=\"2\">Caf\xe9 open</p>"
          "<p contenteditable=\"false\">Sting</p></body></html>");
    load();
    click(script(QStringLiteral("styled.htm")));
    tickEdit(true);
    ASSERT_TRUE(ScriptViewDriver::Settled(pane->wbScripts));
    focusView();
    ASSERT_TRUE(ScriptViewDriver::Select(pane->wbScripts, 9, 9));
    type(QStringLiteral("s"));
    ASSERT_TRUE(pane->ScriptChanged());
    ASSERT_TRUE(pane->SaveScript(true));
    const QByteArray bytes = read(script(QStringLiteral("styled.htm")));
    for (const char* kept :
         {"<!DOCTYPE html>", "mso-line-height-rule: exactly", "-orlix-cue: 3", "color: #800000",
          "lang=\"EN-GB\"", "style=\"mso-bidi-font-weight: bold\"", "data-take=\"2\"",
          "<p contenteditable=\"false\">Sting</p>", "Caf\xc3\xa9 opens",
          "<meta charset=\"utf-8\">"}) {
        EXPECT_TRUE(bytes.contains(kept)) << kept << "\n" << bytes.constData();
    }
    EXPECT_FALSE(bytes.contains("data-orlix")) << bytes.constData();
    EXPECT_FALSE(bytes.contains("windows-1252")) << bytes.constData();
}

TEST_F(WebEngineScriptEditTest, AFailedSaveKeepsTheOldFileAndTheEdits) {
    canCreate = true;
    write(script(QStringLiteral("a.htm")), "<p>Alpha</p>");
    load();
    click(script(QStringLiteral("a.htm")));
    tickEdit(true);
    typeAtEnd(QStringLiteral(" edited"));
    {
        ReadOnlyFolder locked(scripts);
        ASSERT_TRUE(locked.Problem().isEmpty()) << locked.Problem().toStdString();
        EXPECT_FALSE(pane->SaveScript(true));
    }
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_TRUE(TestMessageBoxes().shown()[0].text.startsWith(
        QStringLiteral("There was a problem saving the script into '") +
        script(QStringLiteral("a.htm")) + QLatin1Char('\'')))
        << TestMessageBoxes().shown()[0].text.toStdString();
    EXPECT_EQ(read(script(QStringLiteral("a.htm"))), QByteArray("<p>Alpha</p>"));
    EXPECT_TRUE(pane->ScriptChanged());
    EXPECT_TRUE(enabled("save"));
    EXPECT_EQ(QDir(scripts).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("a.htm")});
}

TEST_F(WebEngineScriptEditTest, TheSaveQuestionComesFirstAndAFailedSaveStopsTheShow) {
    canCreate = true;
    write(script(QStringLiteral("a.htm")), "<p>Alpha</p>");
    write(script(QStringLiteral("b.htm")), "<p>Beta</p>");
    load();
    click(script(QStringLiteral("a.htm")));
    tickEdit(true);
    typeAtEnd(QStringLiteral(" edited"));
    {
        ReadOnlyFolder locked(scripts);
        ASSERT_TRUE(locked.Problem().isEmpty());
        TestMessageBoxes().queue(MsgResult::Yes);
        click(script(QStringLiteral("b.htm")));
    }
    EXPECT_EQ(
        TestMessageBoxes().shown()[0].text,
        QStringLiteral("The current script has been changed - Do you want to save the changes?"));
    EXPECT_EQ(plain(), QStringLiteral("Alpha edited"));
    EXPECT_EQ(pane->treeScripts->SelectedKey(), script(QStringLiteral("a.htm")));
    EXPECT_TRUE(pane->ScriptChanged());

    // No: the edits go and the other script shows.
    TestMessageBoxes().clear();
    TestMessageBoxes().queue(MsgResult::No);
    click(script(QStringLiteral("b.htm")));
    EXPECT_EQ(plain(), QStringLiteral("Beta"));
    EXPECT_EQ(read(script(QStringLiteral("a.htm"))), QByteArray("<p>Alpha</p>"));

    // An edited new script is asked about too, once it would really be replaced.
    pane->cmdNewScript_Click();
    ASSERT_TRUE(ScriptViewDriver::Settled(pane->wbScripts));
    ASSERT_TRUE(WaitFor([&] { return pane->wbScripts->HasSelection(); }));
    type(QStringLiteral("fresh"));
    TestMessageBoxes().clear();
    TestMessageBoxes().queue(MsgResult::Yes);
    answerName(QString());
    click(script(QStringLiteral("b.htm")));
    EXPECT_EQ(plain(), QStringLiteral("fresh"));
    EXPECT_EQ(pane->treeScripts->SelectedKey(), QStringLiteral("OTHERSCRIPTS"));
}

TEST_F(WebEngineScriptEditTest, DeleteAsksFirstAndRemovesTheNode) {
    canCreate = true;
    write(script(QStringLiteral("a.htm")), "<p>Alpha</p>");
    write(script(QStringLiteral("b.htm")), "<p>Beta</p>");
    load();
    click(script(QStringLiteral("a.htm")));
    tickEdit(true);
    typeAtEnd(QStringLiteral(" edited"));
    TestMessageBoxes().queue(MsgResult::Yes); // delete
    TestMessageBoxes().queue(MsgResult::Yes); // save first
    pane->toolScripts_ButtonClick(QStringLiteral("delete"));
    EXPECT_EQ(boxTexts(),
              (QStringList{QStringLiteral("Are you sure you want to delete this script?"),
                           QStringLiteral("The current script has been changed - Do you want to "
                                          "save the changes?")}));
    EXPECT_EQ(TestMessageBoxes().shown()[0].defaultButton, 1);
    EXPECT_FALSE(QFile::exists(script(QStringLiteral("a.htm"))));
    EXPECT_EQ(sharedKeys(), QStringList{script(QStringLiteral("b.htm"))});
    EXPECT_EQ(plain(), QString());
    EXPECT_EQ(pane->treeScripts->SelectedKey(), QStringLiteral("OTHERSCRIPTS"));

    // A delete the folder refuses is reported and keeps the node.
    click(script(QStringLiteral("b.htm")));
    TestMessageBoxes().clear();
    TestMessageBoxes().queue(MsgResult::Yes);
    {
        ReadOnlyFolder locked(scripts);
        ASSERT_TRUE(locked.Problem().isEmpty());
        pane->toolScripts_ButtonClick(QStringLiteral("delete"));
    }
    ASSERT_EQ(TestMessageBoxes().shown().size(), 2U);
    EXPECT_TRUE(TestMessageBoxes().shown()[1].text.startsWith(
        QStringLiteral("The script 'b' could not be deleted.\n\n")));
    EXPECT_EQ(TestMessageBoxes().shown()[1].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(QFile::exists(script(QStringLiteral("b.htm"))));
    EXPECT_EQ(sharedKeys(), QStringList{script(QStringLiteral("b.htm"))});

    // A script from the playout link has no file: nothing to delete, nothing asked.
    TestMessageBoxes().clear();
    pane->ShowScript(QStringLiteral("From the log"), QString(), false);
    pane->toolScripts_ButtonClick(QStringLiteral("delete"));
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST_F(WebEngineScriptEditTest, ToolbarFollowsTheSelection) {
    settings.ScriptFont()->Bold = 0;
    logIn();
    load();
    click(personal + QStringLiteral("/OrlixScript.htm"));
    tickEdit(true);
    ASSERT_TRUE(ScriptViewDriver::Settled(pane->wbScripts));
    pane->wbScripts->SelectAll();
    ASSERT_TRUE(WaitFor([&] { return pane->wbScripts->HasSelection(); }));
    type(QStringLiteral("plain bold"));
    ASSERT_TRUE(ScriptViewDriver::Select(pane->wbScripts, 6, 10));
    pane->toolScripts_ButtonClick(QStringLiteral("bold"));
    EXPECT_TRUE(WaitFor([&] { return pane->ToolButton(QStringLiteral("bold"))->isChecked(); }));
    ASSERT_TRUE(ScriptViewDriver::Select(pane->wbScripts, 0, 10));
    EXPECT_EQ(pane->wbScripts->SelBold(), -1);
    EXPECT_FALSE(pane->ToolButton(QStringLiteral("bold"))->isChecked());
    EXPECT_TRUE(pane->ToolButton(QStringLiteral("bold"))->property("MixedState").toBool());

    // The font dialog sets the selected text's font and colour.
    ASSERT_TRUE(ScriptViewDriver::Select(pane->wbScripts, 0, 5));
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPointSize(18);
    TestCommonDialogs().queueFont(FontAnswer{chosen, QColor(Qt::blue)});
    pane->toolScripts_ButtonClick(QStringLiteral("font"));
    ASSERT_EQ(TestCommonDialogs().fontRequests().size(), 1U);
    EXPECT_TRUE(TestCommonDialogs().fontRequests()[0].withColour);
    EXPECT_TRUE(WaitFor([&] {
        return ScriptViewDriver::StyleAt(pane->wbScripts, 2).value(QStringLiteral("color")) ==
               QStringLiteral("rgb(0, 0, 255)");
    }));
    // 18 points is the size step 5, which the engine shows as 24 pixels.
    EXPECT_EQ(
        ScriptViewDriver::StyleAt(pane->wbScripts, 2).value(QStringLiteral("fontSize")).toInt(),
        24);
    EXPECT_TRUE(ScriptViewDriver::StyleAt(pane->wbScripts, 2)
                    .value(QStringLiteral("fontFamily"))
                    .toString()
                    .contains(QStringLiteral("DejaVu Serif")));

    // Undo takes the font back, then the bold.
    const auto markup = [&] {
        return ScriptViewDriver::Run(pane->wbScripts, QStringLiteral("document.body.innerHTML"))
            .toString();
    };
    for (int i = 0; i < 20 && ScriptViewDriver::Run(pane->wbScripts,
                                                    QStringLiteral("!!document.querySelector("
                                                                   "'b,font,strong,span[style]')"))
                                  .toBool();
         ++i) {
        ASSERT_TRUE(WaitFor([&] { return enabled("undo"); }));
        const QString before = markup();
        pane->toolScripts_ButtonClick(QStringLiteral("undo"));
        ASSERT_TRUE(WaitFor([&] { return markup() != before; }));
    }
    ASSERT_TRUE(ScriptViewDriver::Select(pane->wbScripts, 0, 10));
    EXPECT_EQ(pane->wbScripts->SelBold(), 0);
    EXPECT_TRUE(WaitFor([&] { return enabled("redo"); }));
    EXPECT_TRUE(pane->ScriptChanged());
}

TEST_F(WebEngineScriptEditTest, PrintGoesThroughThePrintDialog) {
    write(script(QStringLiteral("a.htm")), "<p>Printable</p>");
    load();
    click(script(QStringLiteral("a.htm")));
    ASSERT_TRUE(enabled("print"));
    TestCommonDialogs().queuePrint({});
    pane->toolScripts_ButtonClick(QStringLiteral("print"));
    ASSERT_EQ(TestCommonDialogs().printedFiles().size(), 1);
    const QByteArray pdf = read(TestCommonDialogs().printedFiles()[0]);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
}

// The ink of a printed script's first page, rendered as a reader sees it; empty when nothing
// was printed or the page could not be rendered.
QRect printedInk(const QString& pdf) {
    const QString prefix = pdf + QStringLiteral(".page");
    if (QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-gray"),
                           QStringLiteral("-singlefile"), pdf, prefix}) != 0) {
        return {};
    }
    const QImage page(prefix + QStringLiteral(".pgm"));
    return Pictures::InkBounds(page, page.rect(), Qt::white);
}

// Printed while the caret stands after the word, the script shows the same ink as printed
// outside edit mode: no caret. The caret and the document are as they were after the print.
TEST_F(WebEngineScriptEditTest, AScriptPrintedWhileEditingCarriesNoCaret) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) {
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    }
    canCreate = true;
    write(script(QStringLiteral("a.htm")), "<p>Caret</p>");
    load();
    click(script(QStringLiteral("a.htm")));
    ASSERT_TRUE(ScriptViewDriver::Settled(pane->wbScripts));
    const auto print = [&](const char* name) {
        const QString pdf = TestHome() + QLatin1Char('/') + QLatin1String(name);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        EXPECT_TRUE(pane->wbScripts->Print(&printer)) << name;
        return printedInk(pdf);
    };
    const QRect reading = print("reading.pdf");
    ASSERT_FALSE(reading.isEmpty());

    tickEdit(true);
    focusView();
    ASSERT_TRUE(ScriptViewDriver::Select(pane->wbScripts, 5, 5));
    const QString before =
        ScriptViewDriver::Run(pane->wbScripts, QStringLiteral("document.documentElement.outerHTML"))
            .toString();
    const QRect editing = print("editing.pdf");
    const auto text = [](const QRect& r) {
        return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    EXPECT_EQ(text(editing), text(reading));
    // The caret is where it was, and the document as it was.
    EXPECT_EQ(ScriptViewDriver::Run(pane->wbScripts, QStringLiteral("getSelection().isCollapsed && "
                                                                    "getSelection().focusOffset"))
                  .toInt(),
              5);
    EXPECT_EQ(
        ScriptViewDriver::Run(pane->wbScripts, QStringLiteral("document.documentElement.outerHTML"))
            .toString(),
        before);
    EXPECT_FALSE(pane->ScriptChanged());
}

// A script font named as the profile stores it draws in the page as the program draws it here:
// a line is as wide as in the face Qt draws for the name, whether the name is an alias the
// engine does not know, a face this machine lacks, or an installed face.
TEST_F(WebEngineScriptShowTest, AScriptFontDrawsInThePageAsTheProgramDrawsIt) {
    canCreate = true;
    write(script(QStringLiteral("a.htm")), "<p>Script</p>");
    load();
    for (const char* name : {"Sans Serif", "Nowhere Grotesk", "Liberation Serif"}) {
        settings.ScriptFont()->Name = QString::fromUtf8(name);
        settings.ScriptFont()->Size = 3;
        click(script(QStringLiteral("a.htm")));
        ASSERT_TRUE(ScriptViewDriver::Settled(pane->wbScripts));
        const QString drawn = QFontInfo(QFont(QString::fromUtf8(name))).family();
        // The same line in the body's font and in the drawn face, side by side.
        const QString widths =
            ScriptViewDriver::Run(
                pane->wbScripts,
                QStringLiteral(
                    "(function(face){var t='The quick brown fox jumps over the lazy dog';"
                    "var a=document.createElement('span'),b=document.createElement('span');"
                    "a.textContent=t;b.textContent=t;b.style.fontFamily=face;"
                    "a.style.display=b.style.display='inline-block';"
                    "a.style.whiteSpace=b.style.whiteSpace='nowrap';"
                    "document.body.appendChild(a);document.body.appendChild(b);"
                    "var r=a.getBoundingClientRect().width+' '+b.getBoundingClientRect().width;"
                    "a.remove();b.remove();return r;})(%1)")
                    .arg(QStringLiteral("'\"%1\"'").arg(drawn)))
                .toString();
        const QStringList both = widths.split(QLatin1Char(' '));
        ASSERT_EQ(both.size(), 2) << name;
        EXPECT_GT(both[0].toDouble(), 100) << name;
        EXPECT_NEAR(both[0].toDouble(), both[1].toDouble(), 0.5)
            << name << " drawn as " << drawn.toStdString();
    }
}

// The editor's Font, accepted as it opened in the real chooser and its colour step, leaves the
// script's HTML as it was; the chooser opened on the face drawn, bold, at 18 pixels in whole
// points.
TEST_F(WebEngineScriptEditTest, TheFontChooserAcceptedUnchangedLeavesTheScriptAsItWas) {
    settings.ScriptFont()->Name = QStringLiteral("Sans Serif");
    settings.ScriptFont()->Size = 5; // 18 pixels
    settings.ScriptFont()->Bold = 1;
    canCreate = true;
    write(script(QStringLiteral("a.htm")), "<p>Bold words here</p>");
    load();
    click(script(QStringLiteral("a.htm")));
    tickEdit(true);
    focusView();
    ASSERT_TRUE(ScriptViewDriver::Select(pane->wbScripts, 0, 4));
    const auto html = [&] {
        return ScriptViewDriver::Run(pane->wbScripts,
                                     QStringLiteral("document.documentElement.outerHTML"))
            .toString();
    };
    const QString before = html();
    const RealCommonDialogs real;
    QFont opened;
    AnswerNextDialog<QFontDialog>([&](QFontDialog& chooser) { opened = chooser.currentFont(); },
                                  true);
    AnswerNextDialog<QColorDialog>({}, true);
    pane->toolScripts_ButtonClick(QStringLiteral("font"));
    EXPECT_EQ(opened.family(), QFontInfo(QFont(QStringLiteral("Sans Serif"))).family());
    EXPECT_TRUE(opened.bold());
    EXPECT_DOUBLE_EQ(opened.pointSizeF(), 14);
    EXPECT_EQ(html(), before);
    EXPECT_FALSE(pane->ScriptChanged());
}

TEST_F(WebEngineScriptShowTest, TheToolbarHoldsItsButtonsByKeyWithTagsTipsAndPictures) {
    load();
    struct Tool {
        const char* key;
        const char* tip;
        bool edit;
        bool picture;
    };
    const Tool tools[] = {
        {"savesep", "", true, false},
        {"save", "Save Script", true, true},
        {"delete", "Delete Script", true, true},
        {"printsep", "", false, false},
        {"print", "Print", false, true},
        {"editsep", "", false, false},
        {"undo", "Undo", true, true},
        {"redo", "Redo", true, true},
        {"", "", false, false},
        {"cut", "Cut", true, true},
        {"copy", "Copy", false, true},
        {"paste", "Paste", true, true},
        {"fontsep", "", true, false},
        {"font", "Font", true, true},
        {"bold", "Bold", true, true},
        {"italic", "Italic", true, true},
        {"underline", "Underline", true, true},
        {"strikethrough", "Strikethrough", true, true},
        {"helpsep", "", false, false},
        {"help", "Help!", false, true},
    };
    const QList<QAction*> actions = pane->toolScripts->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(tools)));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const Tool& t = tools[i];
        QAction* a = actions[i];
        EXPECT_EQ(a->objectName(), QLatin1String(t.key)) << i;
        EXPECT_EQ(a->isSeparator(), *t.tip == '\0') << t.key;
        EXPECT_EQ(a->property("Tag").toString(), t.edit ? QStringLiteral("edit") : QString())
            << t.key;
        if (!a->isSeparator()) {
            EXPECT_EQ(a->toolTip(), QLatin1String(t.tip)) << t.key;
        }
        EXPECT_EQ(!a->icon().isNull(), t.picture) << t.key;
    }
    EXPECT_EQ(pane->imgListSmall.Count(), ToolbarImageKeys().size());
    EXPECT_EQ(pane->chkScriptAutoScroll->toolTip(),
              QStringLiteral("Auto-Scroll the Script display"));
    EXPECT_EQ(pane->cmdScriptUp->toolTip(), QStringLiteral("Scroll up the script display"));
    EXPECT_EQ(pane->cmdScriptDown->toolTip(), QStringLiteral("Scroll down the Script display"));
}

TEST_F(WebEngineScriptEditTest, ASettingsReloadStartsThePaneAgain) {
    logIn();
    load();
    click(personal + QStringLiteral("/OrlixScript.htm"));
    tickEdit(true);
    typeAtEnd(QStringLiteral("x"));
    ASSERT_TRUE(pane->ScriptChanged());
    pane->Reset();
    EXPECT_FALSE(pane->ScriptChanged());
    EXPECT_FALSE(pane->ScriptEditable());
    EXPECT_EQ(pane->ScriptFile(), QString());
    EXPECT_EQ(plain(), QString());
    EXPECT_FALSE(pane->wbScripts->EditMode());
    for (const char* key : {"save", "delete", "print", "undo", "redo", "bold"}) {
        EXPECT_FALSE(enabled(key)) << key;
    }
    // Nothing is left to ask about.
    EXPECT_TRUE(pane->QuerySaveChanges());
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

} // namespace
