// The e-mail window's toolbar commands and its attachments.
#include "core/dialogs/frmchoosecategorytree.h"
#include "emailwindowfixture.h"
#include "messaging/attachmentcopy.h"
#include "messaging/linkdialog.h"
#include "platform/mime/mimeattachment.h"
#include "platform/system/desktopopener.h"
#include "platform/system/folders.h"
#include "platform/ui/fontconversion.h"
#include "support/scriptedcommondialogs.h"
#include "support/scripteddialogs.h"
#include "support/waitfor.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTreeWidget>
#include <QUrl>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Answers the folder chooser with folder, or cancels it with 0.
void chooseFolder(qint32 folder) {
    TestDialogs().queue([folder](QDialog& d) {
        auto& chooser = dynamic_cast<frmChooseCategoryTree&>(d);
        if (folder == 0) {
            chooser.cmdCancel->click();
            return;
        }
        const QString key = QStringLiteral("m%1").arg(folder);
        for (QTreeWidgetItemIterator it(chooser.treeCategories); *it; ++it) {
            if ((*it)->data(0, Qt::UserRole).toString() == key) {
                chooser.treeCategories->setCurrentItem(*it);
                (*it)->setSelected(true);
            }
        }
        chooser.cmdOK->click();
    });
}

// A received message whose attachments carry the given names, as a listener's program may
// write them (RFC 2231, so that any character can be in a name).
std::shared_ptr<OrlixMessage> withAttachments(const QList<QPair<QString, QByteArray>>& files) {
    QByteArray bytes = "From: ann@example.org\r\nTo: studio@localhost\r\nSubject: Files\r\n"
                       "Date: Thu, 10 Dec 2026 07:15:00 +0000\r\nMIME-Version: 1.0\r\n"
                       "Content-Type: multipart/mixed; boundary=\"b\"\r\n\r\n--b\r\n"
                       "Content-Type: text/plain\r\n\r\nSee the files.\r\n";
    for (const auto& [name, content] : files) {
        bytes += "--b\r\nContent-Type: application/octet-stream\r\n"
                 "Content-Disposition: attachment; filename*=UTF-8''" +
                 QUrl::toPercentEncoding(name) + "\r\nContent-Transfer-Encoding: base64\r\n\r\n" +
                 content.toBase64() + "\r\n";
    }
    bytes += "--b--\r\n";
    auto message = std::make_shared<OrlixMessage>();
    message->SetKind(OrlixMessage::KindEmail);
    message->SetMessageBytes(bytes);
    message->SetFolder(OrlixDatabase::kInboxFolder);
    message->SetSentDate(QDateTime(QDate(2026, 12, 10), QTime(7, 15)));
    return message;
}

class EmailCommands : public EmailWindow {
protected:
    void SetUp() override {
        EmailWindow::SetUp();
        SetDesktopOpener([this](const QUrl& url) {
            opened.append(url.toLocalFile());
            return true;
        });
    }
    void TearDown() override {
        SetDesktopOpener(nullptr);
        EmailWindow::TearDown();
    }
    // A new message typed and stored, in its window.
    frmMessage* storedDraft() {
        frmMessage* window = newWindow();
        window->ctlTo()->setText("bob@example.org");
        window->txtSubject()->setText("Hi");
        EXPECT_TRUE(window->SaveDetails());
        return window;
    }
    QStringList opened;
    std::unique_ptr<OrlixDatabase> held_; // a database taken away while a chooser is open
};

TEST_F(EmailCommands, SaveKeepsTheWindowAndKeysAreComparedInLowerCase) {
    frmMessage* window = newWindow();
    window->txtSubject()->setText("Hi");
    window->DoToolbarCommand(QStringLiteral("SAVE"));
    EXPECT_GT(window->Message()->Reference(), 0);
    EXPECT_TRUE(Forms::Contains(window));
    EXPECT_FALSE(window->Message()->Edited());
    for (const char* nothing :
         {"resetfont", "spell", "help", "history", "internet", "", "send", "unknown"}) {
        window->DoToolbarCommand(QString::fromUtf8(nothing));
        EXPECT_TRUE(Forms::Contains(window)) << nothing;
        EXPECT_TRUE(TestMessageBoxes().shown().empty()) << nothing;
    }
}

TEST_F(EmailCommands, PrintGoesToTheMessageTemplates) {
    // With a second message template the user is asked which: print reached the template
    // printing (the question is left unanswered, so nothing is printed).
    QFile other(database().TemplatesPath() + QStringLiteral("/Other.htm"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("<p>[Subject]</p>");
    other.close();
    bool ok = false;
    database().AddTemplate(QStringLiteral("PrintMessage"), QStringLiteral("Other"),
                           QStringLiteral("Other.htm"), ok);
    ASSERT_TRUE(ok);
    frmMessage* window = open(received());
    window->DoToolbarCommand(QStringLiteral("Print"));
    ASSERT_EQ(TestDialogs().shown().size(), 1u);
    EXPECT_EQ(TestDialogs().shown()[0].title, QStringLiteral("Print Message"));
    EXPECT_TRUE(Forms::Contains(window));
}

TEST_F(EmailCommands, DeleteAsksThenRemovesTheRowAndCloses) {
    frmMessage* fresh = newWindow();
    fresh->DoToolbarCommand(QStringLiteral("delete")); // never stored: nothing asked
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_TRUE(Forms::Contains(fresh));

    frmMessage* window = storedDraft();
    const qint32 reference = window->Message()->Reference();
    window->DoToolbarCommand(QStringLiteral("delete")); // the default answer: No
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(TestMessageBoxes().shown()[0].text, "Are you sure you want to delete this message?");
    EXPECT_EQ(TestMessageBoxes().shown()[0].defaultButton, 1);
    EXPECT_TRUE(database().GetMessage(reference));

    TestMessageBoxes().clear();
    TestMessageBoxes().queue(MsgResult::Yes);
    auto held = program().TakeDatabase();
    window->DoToolbarCommand(QStringLiteral("delete"));
    program().SetDatabase(std::move(held));
    ASSERT_EQ(TestMessageBoxes().shown().size(), 2u);
    EXPECT_EQ(TestMessageBoxes().shown()[1].text,
              "Your message could not be removed from the Database");
    EXPECT_TRUE(Forms::Contains(window));

    TestMessageBoxes().clear();
    window->txtSubject()->setText("Changed"); // no save question on the way out
    TestMessageBoxes().queue(MsgResult::Yes);
    window->DoToolbarCommand(QStringLiteral("delete"));
    EXPECT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_FALSE(Forms::Contains(window));
    EXPECT_FALSE(database().GetMessage(reference));
}

TEST_F(EmailCommands, MoveRefreshesTheListShowingTheOldFolderAndAFailureKeepsTheWindow) {
    const struct {
        const char* what;
        qint32 listFolder;
        bool dbOpen;
        qint32 chosen;
        bool closes;
        int refreshes;
    } cases[] = {
        {"list shows the old folder", OrlixMessage::kNewMessagesFolder, true, 3, true, 1},
        {"list shows another folder", 3, true, 3, true, 0},
        {"chooser cancelled", OrlixMessage::kNewMessagesFolder, true, 0, false, 0},
        {"store fails", OrlixMessage::kNewMessagesFolder, false, 3, false, 0},
    };
    for (const auto& c : cases) {
        TestMessageBoxes().clear();
        int refreshes = 0;
        const qint32 listFolder = c.listFolder;
        frmMessage::SetMessageListHooks([listFolder] { return listFolder; },
                                        [&refreshes] { ++refreshes; });
        frmMessage* window = storedDraft();
        const std::shared_ptr<OrlixMessage> message = window->Message();
        const qint32 old = message->Folder();
        if (c.dbOpen) {
            chooseFolder(c.chosen);
        } else {
            // The chooser reads the tree first; the store then fails.
            TestDialogs().queue([this](QDialog& d) {
                auto& chooser = dynamic_cast<frmChooseCategoryTree&>(d);
                for (QTreeWidgetItemIterator it(chooser.treeCategories); *it; ++it) {
                    if ((*it)->data(0, Qt::UserRole).toString() == QStringLiteral("m3")) {
                        chooser.treeCategories->setCurrentItem(*it);
                        (*it)->setSelected(true);
                    }
                }
                held_ = program().TakeDatabase();
                chooser.cmdOK->click();
            });
        }
        window->DoToolbarCommand(QStringLiteral("movemessage"));
        if (held_) {
            program().SetDatabase(std::move(held_));
        }
        EXPECT_EQ(Forms::Contains(window), !c.closes) << c.what;
        EXPECT_EQ(refreshes, c.refreshes) << c.what;
        if (c.closes) {
            EXPECT_EQ(database().GetMessage(message->Reference())->Folder(), c.chosen) << c.what;
        } else {
            EXPECT_EQ(message->Folder(), old) << c.what;
            EXPECT_EQ(database().GetMessage(message->Reference())->Folder(), old) << c.what;
        }
        if (!c.dbOpen) {
            ASSERT_EQ(TestMessageBoxes().shown().size(), 1u) << c.what;
            EXPECT_EQ(TestMessageBoxes().shown()[0].text,
                      "Your message could not be moved to the chosen folder");
            EXPECT_EQ(TestMessageBoxes().shown()[0].icon, MsgIcon::Exclamation);
        }
        if (Forms::Contains(window)) {
            Forms::Unload(window);
        }
    }
}

TEST_F(EmailCommands, CopyAddsARowInTheChosenFolderAndLeavesTheWindow) {
    frmMessage* window = storedDraft();
    const qint32 before = database().GetMessages(QString())->Count();
    chooseFolder(3);
    window->DoToolbarCommand(QStringLiteral("copymessage"));
    EXPECT_TRUE(Forms::Contains(window));
    EXPECT_EQ(window->Message()->Folder(), OrlixMessage::kNewMessagesFolder);
    EXPECT_EQ(database().GetMessages(QString())->Count(), before + 1);
    EXPECT_EQ(database().GetMessages(QStringLiteral("[Folder]=3"))->Count(), 1);
    ASSERT_EQ(TestDialogs().shown().size(), 1u);

    TestDialogs().queue([this](QDialog& d) {
        auto& chooser = dynamic_cast<frmChooseCategoryTree&>(d);
        chooser.treeCategories->setCurrentItem(chooser.treeCategories->topLevelItem(0));
        chooser.treeCategories->topLevelItem(0)->setSelected(true);
        held_ = program().TakeDatabase();
        chooser.cmdOK->click();
    });
    window->DoToolbarCommand(QStringLiteral("copymessage"));
    program().SetDatabase(std::move(held_));
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(TestMessageBoxes().shown()[0].text,
              "Your message could not be copied to the chosen folder");
    EXPECT_TRUE(Forms::Contains(window));
}

TEST_F(EmailCommands, AttachFilesAddsEachChosenFileInOrder) {
    const QString a = TestHome() + QStringLiteral("/a.txt");
    const QString b = TestHome() + QStringLiteral("/b\\c.txt"); // a backslash is a name character
    const QString d = TestHome() + QStringLiteral("/d.txt");
    for (const QString& path : {a, b, d}) {
        writeFile(path, path.toUtf8());
    }
    const struct {
        const char* what;
        QStringList chosen;
        bool readOnly;
        QStringList listed;
    } cases[] = {
        {"three files", {a, b, d}, false, {"a.txt", "b_c.txt", "d.txt"}},
        {"one file", {d}, false, {"d.txt"}},
        {"cancelled", {}, false, {}},
        {"a missing file and a folder",
         {TestHome() + "/missing.txt", TestHome(), a},
         false,
         {"a.txt"}},
        {"read-only", {a}, true, {}},
    };
    for (const auto& c : cases) {
        frmMessage* window = c.readOnly ? open(received()) : newWindow();
        ASSERT_NE(window, nullptr);
        TestCommonDialogs().queueOpenFileNames(c.chosen);
        window->cmdAttachments()->click();
        QStringList listed;
        for (int i = 0; i < window->lvwAttachments()->count(); ++i) {
            listed += window->lvwAttachments()->item(i)->text();
        }
        EXPECT_EQ(listed.size(), c.listed.size()) << c.what;
        EXPECT_EQ(window->Message()->CDOMessage().Attachments().Count(), c.listed.size()) << c.what;
        EXPECT_EQ(window->lvwAttachments()->isVisibleTo(window), !c.listed.isEmpty()) << c.what;
        EXPECT_EQ(window->Message()->Edited(), !c.listed.isEmpty()) << c.what;
        window->Message()->SetEdited(false);
        Forms::Unload(window);
    }
}

TEST_F(EmailCommands, EditingCommandsActWhereTheFocusIs) {
    frmMessage* window = newWindow();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == window; }));
    window->ctlTo()->setText("bob@example.org");
    window->txtSubject()->setText("Subject");
    window->wbBody()->setPlainText("Body");
    const struct {
        const char* what;
        QWidget* focus;
        const char* command;
        const char* subject;
        const char* body;
        bool bodyBold;
    } cases[] = {
        {"copy from the subject", window->txtSubject(), "copy", "Subject", "Body", false},
        {"cut from the subject", window->txtSubject(), "cut", "", "Body", false},
        {"undo in the subject", window->txtSubject(), "undo", "Subject", "Body", false},
        {"paste into the body", window->wbBody(), "paste", "Subject", "Subject", false},
        {"bold in the body", window->wbBody(), "bold", "Subject", "Subject", true},
        {"bold from the subject does nothing", window->txtSubject(), "bold", "Subject", "Subject",
         true},
        {"cut from an address box does nothing", window->ctlTo(), "cut", "Subject", "Subject",
         true},
    };
    for (const auto& c : cases) {
        c.focus->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(c.focus)) {
            line->selectAll();
        } else {
            window->wbBody()->selectAll();
        }
        window->DoToolbarCommand(QString::fromUtf8(c.command));
        EXPECT_EQ(window->txtSubject()->text(), QString::fromUtf8(c.subject)) << c.what;
        EXPECT_EQ(window->wbBody()->toPlainText(), QString::fromUtf8(c.body)) << c.what;
        window->wbBody()->selectAll();
        EXPECT_EQ(window->wbBody()->textCursor().charFormat().fontWeight() >= QFont::Bold,
                  c.bodyBold)
            << c.what;
        EXPECT_EQ(window->ctlTo()->text(), "bob@example.org") << c.what;
    }
    // "hyperlink" counts as an edit, even with its dialog cancelled and nothing changed.
    window->Message()->SetEdited(false);
    window->wbBody()->setFocus();
    TestDialogs().queue([](QDialog& dialog) { dialog.reject(); });
    window->DoToolbarCommand(QStringLiteral("hyperlink"));
    EXPECT_EQ(TestDialogs().shownCount(QStringLiteral("LinkDialog")), 1);
    EXPECT_TRUE(window->Message()->Edited());
    EXPECT_EQ(window->wbBody()->toPlainText(), QStringLiteral("Subject"));
    // From the subject it does nothing at all.
    window->Message()->SetEdited(false);
    window->txtSubject()->setFocus();
    window->DoToolbarCommand(QStringLiteral("hyperlink"));
    EXPECT_EQ(TestDialogs().shownCount(QStringLiteral("LinkDialog")), 1);
    EXPECT_FALSE(window->Message()->Edited());
}

TEST_F(EmailCommands, TheLinkDialogTakesOnlyWebAndMailAddresses) {
    frmMessage* window = newWindow();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == window; }));
    const struct {
        const char* what;
        const char* typed;
        bool linked;
    } cases[] = {
        {"https", "https://example.org/show", true},
        {"mail", "mailto:studio@example.org", true},
        {"script", "javascript:alert(1)", false},
        {"script in capitals", " JavaScript:alert(1)", false},
        {"a local file", "file:///etc/passwd", false},
        {"data", "data:text/html,<script>alert(1)</script>", false},
        {"nothing", "", false},
    };
    for (const auto& c : cases) {
        window->wbBody()->setHtml(QStringLiteral("<p>Tonight</p>"));
        window->wbBody()->setFocus();
        window->wbBody()->selectAll();
        bool okEnabled = true;
        TestDialogs().queue([&](QDialog& dialog) {
            auto& link = dynamic_cast<LinkDialog&>(dialog);
            link.AddressBox()->setText(QString::fromUtf8(c.typed));
            QPushButton* ok = link.Buttons()->button(QDialogButtonBox::Ok);
            okEnabled = ok->isEnabled();
            ok->click();
        });
        window->DoToolbarCommand(QStringLiteral("hyperlink"));
        EXPECT_EQ(okEnabled, c.linked) << c.what;
        QTextCursor cursor = window->wbBody()->textCursor();
        cursor.setPosition(2);
        EXPECT_EQ(cursor.charFormat().anchorHref(),
                  c.linked ? QString::fromUtf8(c.typed).trimmed() : QString())
            << c.what;
        EXPECT_TRUE(window->Message()->Edited()) << c.what;
        window->Message()->SetEdited(false);
    }
    // The dialog opens filled with the link under the caret.
    window->wbBody()->setHtml(QStringLiteral("<p><a href=\"https://example.org/old\">old</a></p>"));
    QTextCursor caret = window->wbBody()->textCursor();
    caret.setPosition(2);
    window->wbBody()->setTextCursor(caret);
    QString shownAddress;
    TestDialogs().queue([&](QDialog& dialog) {
        shownAddress = dynamic_cast<LinkDialog&>(dialog).AddressBox()->text();
        dialog.reject();
    });
    window->DoToolbarCommand(QStringLiteral("hyperlink"));
    EXPECT_EQ(shownAddress, QStringLiteral("https://example.org/old"));
    window->Message()->SetEdited(false);
}

TEST_F(EmailCommands, TheEditToolbarFollowsTheBodysSelection) {
    frmMessage* window = newWindow();
    SafeBodyView* body = window->wbBody();
    body->setHtml(QStringLiteral("<p><b>bold</b> plain</p>"));
    QApplication::clipboard()->clear();
    const auto select = [&](int from, int to) {
        QTextCursor cursor = body->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        body->setTextCursor(cursor);
    };
    QAction* bold = window->EditToolbarButton(QStringLiteral("bold"));
    const struct {
        const char* what;
        int from;
        int to;
        bool pressed;
        bool mixed;
        bool copy;
    } cases[] = {
        {"all bold", 0, 4, true, false, true},         {"part bold", 2, 7, false, true, true},
        {"none bold", 6, 10, false, false, true},      {"caret in bold", 2, 2, true, false, false},
        {"caret in plain", 8, 8, false, false, false},
    };
    for (const auto& c : cases) {
        select(c.from, c.to);
        EXPECT_EQ(bold->isChecked(), c.pressed) << c.what;
        EXPECT_EQ(bold->property("MixedState").toBool(), c.mixed) << c.what;
        EXPECT_EQ(window->EditToolbarButton(QStringLiteral("copy"))->isEnabled(), c.copy) << c.what;
        EXPECT_EQ(window->EditToolbarButton(QStringLiteral("cut"))->isEnabled(), c.copy) << c.what;
    }
    EXPECT_FALSE(window->EditToolbarButton(QStringLiteral("paste"))->isEnabled());
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    EXPECT_TRUE(window->EditToolbarButton(QStringLiteral("paste"))->isEnabled());

    // A read-only window never cuts or pastes, even with text on the clipboard.
    frmMessage* readOnly = open(received());
    readOnly->wbBody()->selectAll();
    EXPECT_FALSE(readOnly->EditToolbarButton(QStringLiteral("cut"))->isEnabled());
    EXPECT_FALSE(readOnly->EditToolbarButton(QStringLiteral("paste"))->isEnabled());
    window->Message()->SetEdited(false);
}

TEST_F(EmailCommands, AFontSizeFromTheMenuReachesOnlyAFocusedBody) {
    frmMessage* window = newWindow();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == window; }));
    window->wbBody()->setPlainText("Body");
    QAction* size5 = window->EditToolbarButton(QStringLiteral("font"))
                         ->menu()
                         ->findChild<QAction*>(QStringLiteral("fontsize5"));
    ASSERT_NE(size5, nullptr);
    EXPECT_EQ(size5->text(), QStringLiteral("Size 5"));
    const double before = window->wbBody()->currentCharFormat().fontPointSize();

    window->txtSubject()->setFocus();
    window->wbBody()->selectAll();
    size5->trigger();
    EXPECT_EQ(window->wbBody()->currentCharFormat().fontPointSize(), before);

    window->wbBody()->setFocus();
    window->wbBody()->selectAll();
    size5->trigger();
    EXPECT_EQ(window->wbBody()->currentCharFormat().fontPointSize(),
              FontConversion::StepPointSize(5));
    EXPECT_TRUE(window->Message()->Edited());
    window->Message()->SetEdited(false);
}

TEST_F(EmailCommands, AHostileAttachmentNameStaysInsideThePrivateFolder) {
    const QString outside = TestHome() + QStringLiteral("/outside.txt");
    writeFile(outside, "keep");
    const QString folder = Folders::PrivateTemp();
    ASSERT_FALSE(folder.isEmpty());
    const QList<QString> names = {
        QStringLiteral("../../.config/autostart/x.desktop"),
        QStringLiteral("/etc/passwd"),
        QStringLiteral("..\\..\\boot.ini"),
        QStringLiteral("C:\\Windows\\run.exe"),
        QString(),
        QStringLiteral("."),
        QStringLiteral(".."),
        QStringLiteral("..."),
        QStringLiteral(".bashrc"),
        QStringLiteral("a/../../b"),
        QStringLiteral("report") + QChar(0x202E) + QStringLiteral("txt.exe"),
        QStringLiteral("nul") + QChar(0) + QStringLiteral("x.txt"),
        QStringLiteral("cr\r\nlf.txt"),
        QString(300, u'x') + QStringLiteral(".txt"),
    };
    QList<QPair<QString, QByteArray>> files;
    for (const QString& name : names) {
        files.append({name, QByteArray("content")});
    }
    frmMessage* window = open(withAttachments(files));
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->lvwAttachments()->count(), names.size());
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    for (int i = 1; i <= names.size(); ++i) {
        TestMessageBoxes().clear();
        const QString path = window->OpenAttachment(i);
        ASSERT_FALSE(path.isEmpty()) << i;
        const QFileInfo copy(path);
        EXPECT_EQ(QFileInfo(copy.absolutePath()).canonicalFilePath(), canonical)
            << path.toStdString();
        EXPECT_TRUE(copy.isFile()) << path.toStdString();
        EXPECT_FALSE(copy.permissions() &
                     (QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther | QFile::ReadOther))
            << path.toStdString();
        EXPECT_EQ(window->lvwAttachments()->item(i - 1)->text(), copy.fileName());
    }
    EXPECT_EQ(readFile(outside), "keep");
    EXPECT_FALSE(QFileInfo::exists(TestHome() + QStringLiteral("/b")));
}

TEST_F(EmailCommands, OpeningReplacesAnOlderCopyOrALinkAndRefusesPrograms) {
    const QString outside = TestHome() + QStringLiteral("/outside.txt");
    writeFile(outside, "keep");
    const QString folder = Folders::PrivateTemp();
    QFile::remove(folder + QStringLiteral("/song.txt"));
    ASSERT_TRUE(QFile::link(outside, folder + QStringLiteral("/song.txt")));
    frmMessage* window = open(withAttachments({{QStringLiteral("song.txt"), "first"},
                                               {QStringLiteral("song.txt"), "second"},
                                               {QStringLiteral("run.sh"), "echo hi"},
                                               {QStringLiteral("notes.txt"), "#!/bin/sh\nrm -rf ~"},
                                               {QStringLiteral("launch.desktop"), "x"}}));
    ASSERT_NE(window, nullptr);
    const QString first = window->OpenAttachment(1);
    EXPECT_EQ(readFile(outside), "keep"); // the link was replaced, not followed
    EXPECT_FALSE(QFileInfo(first).isSymLink());
    EXPECT_EQ(readFile(first), "first");
    EXPECT_EQ(window->OpenAttachment(2), first);
    EXPECT_EQ(readFile(first), "second");
    EXPECT_EQ(opened, QStringList({first, first}));
    EXPECT_TRUE(TestMessageBoxes().shown().empty());

    for (int program = 3; program <= 5; ++program) {
        TestMessageBoxes().clear();
        const QString path = window->OpenAttachment(program);
        EXPECT_TRUE(QFileInfo(path).isFile()) << program;
        ASSERT_EQ(TestMessageBoxes().shown().size(), 1u) << program;
        EXPECT_EQ(TestMessageBoxes().shown()[0].text,
                  QStringLiteral("There was a problem displaying the attachment '") + path +
                      QStringLiteral("' and the error's description was reported as : \n\n\"") +
                      QString::fromUtf8(attachmentcopy::kProgramRefusal) + u'"');
    }
    EXPECT_EQ(opened.size(), 2);
}

TEST_F(EmailCommands, AnAttachmentTheDesktopCannotOpenOrOfAnotherKindIsTold) {
    frmMessage* window = open(withAttachments(
        {{QStringLiteral("notes.txt"), "Hello"}, {QStringLiteral("page.html"), "<p>x</p>"}}));
    ASSERT_NE(window, nullptr);
    const auto problem = [](const QString& path, const char* description) {
        return QStringLiteral("There was a problem displaying the attachment '") + path +
               QStringLiteral("' and the error's description was reported as : \n\n\"") +
               QString::fromUtf8(description) + u'"';
    };
    SetDesktopOpener([this](const QUrl& url) {
        opened.append(url.toLocalFile());
        return false;
    });
    const QString notes = window->OpenAttachment(1);
    EXPECT_EQ(opened, QStringList{notes});
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(TestMessageBoxes().shown()[0].text, problem(notes, attachmentcopy::kNoOpenerText));
    EXPECT_EQ(TestMessageBoxes().shown()[0].icon, MsgIcon::Exclamation);

    TestMessageBoxes().clear();
    opened.clear();
    const QString page = window->OpenAttachment(2);
    EXPECT_TRUE(QFileInfo(page).isFile());
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(TestMessageBoxes().shown()[0].text, problem(page, attachmentcopy::kKindRefusal));
}

TEST_F(EmailCommands, DeleteKeyRemovesOnlyWhileEditableAndDoubleClickOpensInBoth) {
    for (const bool editable : {false, true}) {
        auto message =
            withAttachments({{QStringLiteral("a.txt"), "a"}, {QStringLiteral("b.txt"), "b"}});
        if (editable) {
            message->SetFolder(OrlixMessage::kNewMessagesFolder);
        }
        frmMessage* window = open(message);
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(window->Editable(), editable);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        QListWidget* list = window->lvwAttachments();
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Delete);
        EXPECT_EQ(list->count(), editable ? 1 : 2);
        EXPECT_EQ(window->Message()->CDOMessage().Attachments().Count(), editable ? 1 : 2);
        EXPECT_EQ(window->Message()->Edited(), editable);
        opened.clear();
        ASSERT_TRUE(WaitFor([&] { return list->visualItemRect(list->item(0)).isValid(); }));
        const QRect item = list->visualItemRect(list->item(0));
        // A double click, as the platform delivers it: a click, then the second press.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
        ASSERT_EQ(opened.size(), 1) << editable;
        EXPECT_EQ(QFileInfo(opened[0]).fileName(), editable ? "b.txt" : "a.txt");
        window->Message()->SetEdited(false);
        Forms::Unload(window);
    }
}

} // namespace
