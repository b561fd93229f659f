#include "core/printing/frmprintpreview.h"

#include "support/scriptedcommondialogs.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextFragment>

#include <gtest/gtest.h>

namespace {

const QByteArray kNotes = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}"
                          "{\\b Orlix update information}\\par Caf\\'e9 \\u8364? for all.\\par}";

class PrintPreviewTest : public ::testing::Test {
protected:
    void TearDown() override {
        QList<QPointer<frmPrintPreview>> left;
        for (frmPrintPreview* f : open()) {
            left << f;
        }
        for (const QPointer<frmPrintPreview>& f : left) {
            delete f.data();
        }
    }
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = TestHome() + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    static QList<frmPrintPreview*> open() {
        QList<frmPrintPreview*> forms;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* f = qobject_cast<frmPrintPreview*>(w)) {
                forms << f;
            }
        }
        return forms;
    }
    // Shows the file modeless and returns the one form that shows it.
    frmPrintPreview* showModeless(const QString& path, const QString& caption = QString(),
                                  bool floating = false) {
        frmPrintPreview::DisplayFile(path, caption, 0, floating);
        const auto forms = open();
        return forms.size() == 1 ? forms.first() : nullptr;
    }
    static bool firstCharacterBold(const QTextEdit* box) {
        const QTextBlock block = box->document()->begin();
        return block.begin().fragment().charFormat().fontWeight() > QFont::Normal;
    }
};

TEST_F(PrintPreviewTest, MissingFileShowsNothingAndSaysNothing) {
    frmPrintPreview::DisplayFile(TestHome() + QStringLiteral("/UPDATES.RTF"),
                                 QStringLiteral("Orlix Update Information"), 1, false);
    EXPECT_EQ(TestDialogs().shownCount(QStringLiteral("frmPrintPreview")), 0);
    EXPECT_TRUE(open().isEmpty());
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST_F(PrintPreviewTest, ShowsRtfWithItsFormattingModally) {
    const QString path = write(QStringLiteral("UPDATES.RTF"), kNotes);
    bool checked = false;
    TestDialogs().queue([&](QDialog& dialog) {
        auto& form = dynamic_cast<frmPrintPreview&>(dialog);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Orlix Update Information"));
        EXPECT_EQ(form.rtfFile->toPlainText(),
                  QStringLiteral("Orlix update information\nCaf\u00e9 \u20ac for all."));
        EXPECT_TRUE(firstCharacterBold(form.rtfFile));
        EXPECT_TRUE(form.rtfFile->isReadOnly());
        EXPECT_EQ(form.rtfFile->textCursor().position(), 0);
        EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        checked = true;
        form.cmdOK->click();
    });
    frmPrintPreview::DisplayFile(path, QStringLiteral("Orlix Update Information"), 1, false);
    EXPECT_TRUE(checked);
    EXPECT_EQ(TestDialogs().shownCount(QStringLiteral("frmPrintPreview")), 1);
    EXPECT_TRUE(open().isEmpty()) << "the modal form is gone when DisplayFile returns";
}

TEST_F(PrintPreviewTest, WhatIsNotRtfIsShownAsPlainText) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QString shown;
    };
    const Case cases[] = {
        {"unbalanced RTF", "{\\rtf1 {\\b unbalanced", QStringLiteral("{\\rtf1 {\\b unbalanced")},
        {"plain Windows text", "Caf\xE9 notes\r\nline 2",
         QStringLiteral("Caf\u00e9 notes\nline 2")},
        {"plain UTF-8 text", "\xEF\xBB\xBFOn air \xE2\x82\xAC", QStringLiteral("On air \u20ac")},
        {"a 50 MB binary claim", "{\\rtf1 x\\bin52428800 y}",
         QStringLiteral("{\\rtf1 x\\bin52428800 y}")},
        {"an empty file", "", QString()},
    };
    for (const Case& c : cases) {
        frmPrintPreview* form = showModeless(write(QStringLiteral("notes.txt"), c.bytes));
        ASSERT_NE(form, nullptr) << c.name;
        EXPECT_EQ(form->rtfFile->toPlainText(), c.shown) << c.name;
        delete form;
    }
}

TEST_F(PrintPreviewTest, EmptyCaptionNamesTheFile) {
    const QString path = write(QStringLiteral("a.rtf"), kNotes);
    frmPrintPreview* form = showModeless(path);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Print Preview - ") + path);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
}

TEST_F(PrintPreviewTest, FloatingStaysOnTopUntilItCloses) {
    frmPrintPreview* form = showModeless(write(QStringLiteral("a.rtf"), kNotes), QString(), true);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    form->reject();
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form->DisplayedFile().isEmpty());
    EXPECT_TRUE(form->rtfFile->toPlainText().isEmpty());
}

TEST_F(PrintPreviewTest, EnterAndEscClose) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        frmPrintPreview* form = showModeless(write(QStringLiteral("a.rtf"), kNotes));
        ASSERT_NE(form, nullptr);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(form, &press);
        EXPECT_FALSE(form->isVisible()) << key;
        delete form;
    }
}

TEST_F(PrintPreviewTest, RefreshLoadsTheFileAgain) {
    const QString path = write(QStringLiteral("a.txt"), "first");
    frmPrintPreview* form = showModeless(path);
    ASSERT_NE(form, nullptr);
    write(QStringLiteral("a.txt"), "second");
    form->btnRefresh->trigger();
    EXPECT_EQ(form->rtfFile->toPlainText(), QStringLiteral("second"));
}

TEST_F(PrintPreviewTest, SavesAsRtfOnlyForAnRtfExtension) {
    struct Case {
        const char* target;
        bool rtf;
    };
    const Case cases[] = {{"out.rtf", true},
                          {"OUT2.RTF", true},
                          {"out.txt", false},
                          {"noextension", false},
                          {"out.rtf.bak", false}};
    const QString source = write(QStringLiteral("notes.rtf"), kNotes);
    frmPrintPreview* form = showModeless(source);
    ASSERT_NE(form, nullptr);
    for (const Case& c : cases) {
        const QString target = TestHome() + QLatin1Char('/') + QLatin1String(c.target);
        TestCommonDialogs().queueSaveFileName(target);
        form->btnSave->trigger();
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.target;
        const QByteArray saved = f.readAll();
        EXPECT_EQ(saved.startsWith("{\\rtf1"), c.rtf) << c.target;
        if (!c.rtf) {
            EXPECT_EQ(QString::fromUtf8(saved), form->rtfFile->toPlainText()) << c.target;
        }
    }
    const SaveDialogRequest& asked = TestCommonDialogs().saveRequests().front();
    EXPECT_EQ(asked.title, QStringLiteral("Select File to Save to"));
    EXPECT_EQ(asked.fileName, QStringLiteral("notes.rtf"));
    EXPECT_TRUE(asked.filter.startsWith(QStringLiteral("Rich Text Files (*.rtf)")));
}

TEST_F(PrintPreviewTest, SavedRtfKeepsTheFormatting) {
    frmPrintPreview* form = showModeless(write(QStringLiteral("notes.rtf"), kNotes));
    ASSERT_NE(form, nullptr);
    const QString target = TestHome() + QStringLiteral("/copy.rtf");
    TestCommonDialogs().queueSaveFileName(target);
    form->btnSave->trigger();
    delete form;
    form = showModeless(target);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->rtfFile->toPlainText(),
              QStringLiteral("Orlix update information\nCaf\u00e9 \u20ac for all."));
    EXPECT_TRUE(firstCharacterBold(form->rtfFile));
}

TEST_F(PrintPreviewTest, CancelledSaveWritesNothing) {
    frmPrintPreview* form = showModeless(write(QStringLiteral("notes.rtf"), kNotes));
    ASSERT_NE(form, nullptr);
    form->btnSave->trigger();
    EXPECT_EQ(TestCommonDialogs().saveRequests().size(), 1u);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST_F(PrintPreviewTest, FailedSaveIsReported) {
    frmPrintPreview* form = showModeless(write(QStringLiteral("notes.rtf"), kNotes));
    ASSERT_NE(form, nullptr);
    TestCommonDialogs().queueSaveFileName(TestHome() + QStringLiteral("/no/such/folder/x.rtf"));
    form->btnSave->trigger();
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_TRUE(TestMessageBoxes().shown().front().text.startsWith(
        QStringLiteral("There was a problem saving the file '")));
}

TEST_F(PrintPreviewTest, PrintIsOfferedOnlyWithAPrinter) {
    const QString path = write(QStringLiteral("notes.rtf"), kNotes);
    TestCommonDialogs().setPrinterCount(0);
    frmPrintPreview* form = showModeless(path);
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->btnPrint->isEnabled());
    delete form;
    TestCommonDialogs().setPrinterCount(2);
    form = showModeless(path);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->btnPrint->isEnabled());
}

TEST_F(PrintPreviewTest, CancelledPrintPrintsNothingAndSaysNothing) {
    frmPrintPreview* form = showModeless(write(QStringLiteral("notes.rtf"), kNotes));
    ASSERT_NE(form, nullptr);
    form->btnPrint->trigger();
    ASSERT_EQ(TestCommonDialogs().printRequests().size(), 1u);
    const PrintDialogRequest& asked = TestCommonDialogs().printRequests().front();
    EXPECT_EQ(asked.title, QStringLiteral("Print Document"));
    EXPECT_FALSE(asked.allowPageNumbers);
    EXPECT_FALSE(asked.allowPrintToFile);
    EXPECT_FALSE(asked.selectionPreselected);
    EXPECT_TRUE(TestCommonDialogs().printedFiles().isEmpty());
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST_F(PrintPreviewTest, PrintsTheSelectionOrTheWholeText) {
    struct Case {
        bool selectionOnly;
        bool selectionKept;
    };
    for (const Case c : {Case{true, true}, Case{false, false}}) {
        frmPrintPreview* form = showModeless(write(QStringLiteral("notes.rtf"), kNotes));
        ASSERT_NE(form, nullptr);
        QTextCursor cursor = form->rtfFile->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(5, QTextCursor::KeepAnchor);
        form->rtfFile->setTextCursor(cursor);
        TestCommonDialogs().queuePrint({true, c.selectionOnly, QString()});
        form->btnPrint->trigger();
        EXPECT_TRUE(TestCommonDialogs().printRequests().back().selectionPreselected);
        EXPECT_EQ(form->rtfFile->textCursor().hasSelection(), c.selectionKept);
        const QString pdf = TestCommonDialogs().printedFiles().back();
        EXPECT_GT(QFileInfo(pdf).size(), 0) << pdf.toStdString();
        EXPECT_TRUE(TestMessageBoxes().shown().empty());
        delete form;
    }
}

TEST_F(PrintPreviewTest, FailedPrintShowsTheProblemReport) {
    frmPrintPreview* form = showModeless(write(QStringLiteral("notes.rtf"), kNotes));
    ASSERT_NE(form, nullptr);
    TestCommonDialogs().queuePrint({true, false, TestHome() + QStringLiteral("/none/x.pdf")});
    form->btnPrint->trigger();
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(TestMessageBoxes().shown().front().text,
              QStringLiteral("There was a problem while printing. and the error's description was "
                             "reported as : \n\n\"Printer error\""));
}

} // namespace
