#include "core/profile/cocsettings.h"
#include "core/profile/settingskeys.h"
#include "platform/system/profilemanager.h"
#include "platform/system/registrystore.h"
#include "platform/ui/colournumber.h"
#include "platform/ui/textbox.h"
#include "platform/ui/ufontpreview.h"
#include "platform/ui/ulistsettings.h"
#include "settings/frmsettings.h"
#include "support/enterbox.h"
#include "support/pictures.h"
#include "support/readonlyfolder.h"
#include "support/realcommondialogs.h"
#include "support/scriptedcommondialogs.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"
#include "support/waitfor.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <gtest/gtest.h>

namespace {

QString home(const char* name) {
    return TestHome() + QLatin1Char('/') + QLatin1String(name);
}

class FrmSettingsTest : public ::testing::Test {
protected:
    cOCSettings settings;

    void SetUp() override {
        QDir().mkpath(home("talkback"));
        QDir().mkpath(home("db"));
        settings.SetTalkbackSimplePath(home("talkback"));
        settings.SetOrlixPath(home("db"));
        settings.SetScriptPath(home("scripts"));
        settings.SetVorelaComputerName(QStringLiteral("playout"));
        settings.SetEmailName(QStringLiteral("  Studio "));
        settings.SetEmailAddress(QStringLiteral(" studio@example.org "));
    }

    template <typename W> static W* find(QWidget& dialog, const char* name) {
        auto* w = dialog.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void click(QWidget& dialog, const char* name) {
        find<QPushButton>(dialog, name)->click();
    }
    static QString label(QWidget& dialog, const char* name) {
        return find<QLabel>(dialog, name)->text();
    }
    static int tab(QWidget& dialog) {
        return find<QTabWidget>(dialog, "tbsOptions")->currentIndex();
    }
    QString storeText() const {
        QFile f(RegistryStore::FilePath(RegistryRoot::LocalMachine));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

TEST_F(FrmSettingsTest, LoadingShowsTheSettings) {
    settings.SetEmailSendEnabled(false);
    settings.SetSMSSendEnabled(false);
    settings.SetStartupAutoLogin(false);
    settings.SetTalkbackSimplePath(QStringLiteral("/shared/talk  "));
    settings.GeneralFont()->Name.clear();
    frmSettings dialog(settings);

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Settings"));
    auto* tabs = find<QTabWidget>(dialog, "tbsOptions");
    ASSERT_EQ(tabs->count(), 5);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("General"));
    EXPECT_EQ(tabs->tabText(4), QStringLiteral("Talkback"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(find<TextBox>(dialog, "txtComputer")->text(), QStringLiteral("playout"));
    EXPECT_EQ(find<TextBox>(dialog, "txtEmailName")->text(), QStringLiteral("Studio"));
    EXPECT_EQ(find<TextBox>(dialog, "txtEmailAddress")->text(),
              QStringLiteral("studio@example.org"));
    EXPECT_EQ(label(dialog, "lblTalkbackSimplePath"), QStringLiteral("/shared/talk  "));
    EXPECT_EQ(find<QLabel>(dialog, "lblTalkbackSimplePath")->toolTip(),
              QStringLiteral("/shared/talk  "));

    auto* options = find<uListSettings>(dialog, "ctlOptions");
    ASSERT_EQ(options->topLevelItemCount(), 1);
    EXPECT_EQ(options->topLevelItem(0)->text(0), QStringLiteral("Orlix startup options:"));
    EXPECT_EQ(options->topLevelItem(0)->childCount(), 1);
    EXPECT_FALSE(options->ItemValue(QStringLiteral("Startup.AttemptAutoLogin")));

    const QFont general = find<QLabel>(dialog, "lblGeneralFont")->font();
    EXPECT_EQ(general.family(), QStringLiteral("Arial"));
    EXPECT_EQ(general.pointSizeF(), 10);
    EXPECT_TRUE(general.bold());
    EXPECT_TRUE(find<QRadioButton>(dialog, "optTalkbackSimple")->isChecked());
    EXPECT_TRUE(find<QPushButton>(dialog, "cmdOK")->isEnabled());
}

TEST_F(FrmSettingsTest, PreviewsShowTheirFontsWithoutMargins) {
    settings.ScriptFont()->Name.clear();
    *settings.TalkbackFont() = FontStyle{QStringLiteral("Courier"), 5, 255, 1, 0, -1, 0};
    frmSettings dialog(settings);
    auto* script = find<uFontPreview>(dialog, "ctlScriptFont");
    auto* talkback = find<uFontPreview>(dialog, "ctlTalkbackFont");
    EXPECT_EQ(script->PlainText(), QStringLiteral("Scripts will appear in this Font"));
    EXPECT_EQ(script->Style().Name, QStringLiteral("Arial")); // the design font
    EXPECT_EQ(script->Style().Size, 3);
    EXPECT_EQ(script->Style().Bold, 0);
    EXPECT_EQ(talkback->PlainText(),
              QStringLiteral("Talkback conversations will appear in this Font"));
    EXPECT_EQ(talkback->SelFontName(), QStringLiteral("Courier"));
    EXPECT_EQ(talkback->SelFontSize(), 5);
    EXPECT_EQ(talkback->SelUnderline(), -1);
    EXPECT_EQ(talkback->SelTextColour(), 255);
    for (uFontPreview* preview : {script, talkback}) {
        const auto& m = preview->BodyMargins();
        EXPECT_EQ(m.top + m.bottom + m.left + m.right, 0);
    }

    // The chooser leaves the text without margins and OK stores what the preview shows.
    script->SetTopMargin(8);
    TestCommonDialogs().queueFont(FontAnswer{QFont(QStringLiteral("Times"), 24), QColor()});
    click(dialog, "cmdScriptFont");
    EXPECT_EQ(script->BodyMargins().top, 0);
    EXPECT_EQ(script->PlainText(), QStringLiteral("Scripts will appear in this Font"));
    click(dialog, "cmdOK");
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.ScriptFont()->Name, QStringLiteral("Times"));
    EXPECT_EQ(settings.ScriptFont()->Size, 6);
    EXPECT_EQ(settings.ScriptFont()->TextColour, 0);
    EXPECT_EQ(settings.TalkbackFont()->UnderLine, -1); // as the preview gives it
    EXPECT_EQ(settings.TalkbackFont()->TextColour, 255);
}

TEST_F(FrmSettingsTest, ScrollSpeedIsKeptWithinTheSlider) {
    for (const auto& [stored, shown] : {std::pair{0, 1}, {6, 6}, {15, 10}, {-3, 1}}) {
        settings.SetScriptScrollSpeed(static_cast<qint16>(stored));
        frmSettings dialog(settings);
        EXPECT_EQ(find<QSlider>(dialog, "sldScriptAutoScrollSpeed")->value(), shown) << stored;
    }
}

TEST_F(FrmSettingsTest, SendingBoxesEnableTheirOptions) {
    settings.SetEmailSendEnabled(false);
    settings.SetSMSSendEnabled(false);
    frmSettings dialog(settings);
    auto* name = find<TextBox>(dialog, "txtEmailName");
    auto* address = find<TextBox>(dialog, "txtEmailAddress");
    const QColor face = ColourNumber::ToColour(ColourNumber::kSystemButtonFace);
    const QColor window = ColourNumber::ToColour(ColourNumber::kSystemWindow);
    const QList<QWidget*> emailControls{
        static_cast<QWidget*>(name), static_cast<QWidget*>(address),
        static_cast<QWidget*>(find<QCheckBox>(dialog, "chkEmailAllowPersonalAddresses")),
        static_cast<QWidget*>(find<QLabel>(dialog, "lblEmailNameDesc")),
        static_cast<QWidget*>(find<QGroupBox>(dialog, "fraEmailSendOptions"))};
    for (QWidget* w : emailControls) {
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    }
    EXPECT_EQ(name->palette().color(QPalette::Base), face);
    EXPECT_EQ(address->palette().color(QPalette::Base), face);
    EXPECT_FALSE(find<QGroupBox>(dialog, "fraSMSSendOptions")->isEnabled());
    EXPECT_FALSE(find<QLabel>(dialog, "lblSMSSendOptionsDesc")->isEnabled());

    find<QCheckBox>(dialog, "chkEmailSendEnabled")->click();
    for (QWidget* w : emailControls) {
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    }
    EXPECT_EQ(name->palette().color(QPalette::Base), window);
    EXPECT_EQ(address->palette().color(QPalette::Base), window);
    find<QCheckBox>(dialog, "chkSMSSendEnabled")->click();
    EXPECT_TRUE(find<QGroupBox>(dialog, "fraSMSSendOptions")->isEnabled());
    EXPECT_TRUE(find<QLabel>(dialog, "lblSMSSendOptionsDesc")->isEnabled());
}

TEST_F(FrmSettingsTest, TextBoxesDropTheirRefusedCharactersTypedOrPasted) {
    frmSettings dialog(settings);
    ASSERT_TRUE(ShowActive(dialog));
    struct Case {
        const char* box;
        QString typed;
        QString kept;
    };
    const Case cases[] = {
        {"txtComputer", QStringLiteral("my pc"), QStringLiteral("mypc")},
        {"txtEmailAddress", QStringLiteral("a b@c"), QStringLiteral("ab@c")},
        {"txtEmailName", QStringLiteral("A \"B\"@x"), QStringLiteral("A Bx")},
    };
    for (const Case& c : cases) {
        auto* box = find<TextBox>(dialog, c.box);
        box->setFocus();
        box->clear();
        QTest::keyClicks(box, c.typed);
        EXPECT_EQ(box->text(), c.kept) << c.box;
        box->clear();
        QApplication::clipboard()->setText(c.typed);
        box->paste();
        EXPECT_EQ(box->text(), c.kept) << c.box << " pasted";
    }
}

TEST_F(FrmSettingsTest, FocusSelectsTheWholeText) {
    frmSettings dialog(settings);
    ASSERT_TRUE(ShowActive(dialog));
    for (const char* name : {"txtComputer", "txtEmailName", "txtEmailAddress"}) {
        auto* box = find<TextBox>(dialog, name);
        find<QPushButton>(dialog, "cmdCancel")->setFocus();
        box->deselect();
        box->setFocus(Qt::MouseFocusReason); // a line edit selects by itself only on Tab
        EXPECT_TRUE(WaitFor([box] { return box->selectedText() == box->text(); })) << name;
    }
}

// A click or Tab into a box selects its text: typing replaces it.
TEST_F(FrmSettingsTest, EnteringABoxSelectsItsTextToBeTypedOver) {
    frmSettings dialog(settings);
    ASSERT_TRUE(ShowActive(dialog));
    auto* tabs = dialog.findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    for (const char* name : {"txtComputer", "txtEmailName", "txtEmailAddress"}) {
        auto* box = find<TextBox>(dialog, name);
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->isAncestorOf(box)) {
                tabs->setCurrentIndex(i);
            }
        }
        ASSERT_TRUE(box->isVisible()) << name;
        for (const Entry how : {Entry::Click, Entry::Tab}) {
            SCOPED_TRACE(std::string(name) + ", " + NameOf(how));
            box->setText(QStringLiteral("5"));
            find<QPushButton>(dialog, "cmdCancel")->setFocus();
            ASSERT_TRUE(EnterBox(box, how));
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("10"));
            EXPECT_EQ(box->text(), QStringLiteral("10"));
        }
    }
}

// OK with the entries changed as each case says: the message, the tab, and nothing written.
TEST_F(FrmSettingsTest, RefusedEntriesWriteNothing) {
    struct Case {
        const char* what;
        std::function<void(cOCSettings&)> change;
        QString message;
        int tab;
    };
    const std::vector<Case> cases = {
        {"address ends in @", [](cOCSettings& s) { s.SetEmailAddress(QStringLiteral("studio@")); },
         QStringLiteral("You must enter a valid Name and E-Mail address to use"), 3},
        {"blank name", [](cOCSettings& s) { s.SetEmailName(QStringLiteral("   ")); },
         QStringLiteral("You must enter a valid Name and E-Mail address to use"), 3},
        {"no talkback folder", [](cOCSettings& s) { s.SetTalkbackSimplePath(QString()); },
         QStringLiteral("You must enter a valid shared folder for the Talkback feature"), 4},
        {"database and scripts empty",
         [](cOCSettings& s) {
             s.SetOrlixPath(QStringLiteral("  "));
             s.SetScriptPath(QString());
         },
         QStringLiteral("You must enter the a valid folder to store the Message Database in"), 0},
        {"scripts empty", [](cOCSettings& s) { s.SetScriptPath(QString()); },
         QStringLiteral("You must enter the a valid folder to store the Scripts in"), 2},
    };
    for (const Case& c : cases) {
        cOCSettings s;
        s.SetTalkbackSimplePath(settings.TalkbackSimplePath());
        s.SetOrlixPath(settings.OrlixPath());
        s.SetScriptPath(settings.ScriptPath());
        s.SetEmailName(QStringLiteral("Studio"));
        s.SetEmailAddress(QStringLiteral("s@x"));
        c.change(s);
        const QString before = storeText();
        frmSettings dialog(s);
        find<QTabWidget>(dialog, "tbsOptions")->setCurrentIndex(1);
        find<TextBox>(dialog, "txtComputer")->setText(QStringLiteral("changed"));
        TestMessageBoxes().clear();
        click(dialog, "cmdOK");
        ASSERT_EQ(TestMessageBoxes().shown().size(), 1U) << c.what;
        EXPECT_EQ(TestMessageBoxes().shown()[0].text, c.message) << c.what;
        EXPECT_EQ(TestMessageBoxes().shown()[0].icon, MsgIcon::Exclamation) << c.what;
        EXPECT_EQ(tab(dialog), c.tab) << c.what;
        EXPECT_NE(dialog.result(), QDialog::Accepted) << c.what;
        EXPECT_TRUE(s.VorelaComputerName().isEmpty()) << c.what;
        EXPECT_EQ(storeText(), before) << c.what;
    }
}

TEST_F(FrmSettingsTest, SendingOffAcceptsAndStoresAnEmptySender) {
    settings.SetEmailSendEnabled(false);
    settings.SetEmailName(QString());
    settings.SetEmailAddress(QString());
    frmSettings dialog(settings);
    click(dialog, "cmdOK");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_TRUE(settings.EmailName().isEmpty());
    EXPECT_FALSE(settings.EmailSendEnabled());
}

TEST_F(FrmSettingsTest, MissingTalkbackFolderCreatedOnYes) {
    settings.SetTalkbackSimplePath(home("new/talkback") + QStringLiteral(" "));
    settings.SetScriptPath(home("missing-scripts"));
    TestMessageBoxes().queue(MsgResult::Yes);
    frmSettings dialog(settings);
    click(dialog, "cmdOK");
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    const auto& question = TestMessageBoxes().shown()[0];
    EXPECT_EQ(question.text, QStringLiteral("The Talkback shared folder ('") +
                                 home("new/talkback") +
                                 QStringLiteral("') does not exist.\n\nDo you want it to be "
                                                "created for you?"));
    EXPECT_EQ(question.icon, MsgIcon::Question);
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.defaultButton, 1);
    EXPECT_TRUE(QFileInfo(home("new/talkback")).isDir());
    EXPECT_FALSE(QFileInfo::exists(home("new/talkback") + QStringLiteral(" ")));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.TalkbackSimplePath(), home("new/talkback"));
    // The scripts folder need not exist.
    EXPECT_EQ(settings.ScriptPath(), home("missing-scripts"));
}

TEST_F(FrmSettingsTest, DatabaseFolderDeclinedWritesNothingButTheTalkbackFolderStays) {
    settings.SetTalkbackSimplePath(home("t2"));
    settings.SetOrlixPath(home("d2"));
    TestMessageBoxes().queue(MsgResult::Yes);
    TestMessageBoxes().queue(MsgResult::No);
    const QString before = storeText();
    frmSettings dialog(settings);
    find<TextBox>(dialog, "txtComputer")->setText(QStringLiteral("changed"));
    click(dialog, "cmdOK");
    EXPECT_EQ(TestMessageBoxes().shown().size(), 2U);
    EXPECT_TRUE(QFileInfo(home("t2")).isDir());
    EXPECT_FALSE(QFileInfo::exists(home("d2")));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.VorelaComputerName(), QStringLiteral("playout"));
    EXPECT_EQ(storeText(), before);
}

TEST_F(FrmSettingsTest, AFolderThatCannotBeCreatedIsTold) {
    QFile blocker(home("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    settings.SetOrlixPath(home("file/db"));
    TestMessageBoxes().queue(MsgResult::Yes);
    frmSettings dialog(settings);
    find<QTabWidget>(dialog, "tbsOptions")->setCurrentIndex(3);
    click(dialog, "cmdOK");
    ASSERT_EQ(TestMessageBoxes().shown().size(), 2U);
    EXPECT_EQ(TestMessageBoxes().shown()[1].text, QStringLiteral("The folder '") + home("file/db") +
                                                      QStringLiteral("' could not be created."));
    EXPECT_EQ(TestMessageBoxes().shown()[1].icon, MsgIcon::Exclamation);
    EXPECT_EQ(tab(dialog), 0);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST_F(FrmSettingsTest, OkStoresEveryValueForTheLoadedProfile) {
    QString profile = QStringLiteral("Studio 2");
    cOCSettings loaded;
    EXPECT_FALSE(loaded.LoadSettings(profile)); // no folders yet
    TestCommonDialogs().queueFolder(home("talkback"));
    TestCommonDialogs().queueFolder(home("db"));
    TestCommonDialogs().queueFolder(home("scripts"));
    TestCommonDialogs().queueFont(FontAnswer{QFont(QStringLiteral("Courier"), 14), QColor()});
    TestCommonDialogs().queueFont(FontAnswer{QFont(QStringLiteral("Times"), 12), QColor()});
    {
        QFont script(QStringLiteral("Courier"), 18);
        script.setItalic(true);
        TestCommonDialogs().queueFont(FontAnswer{script, QColor(0, 0, 255)});
    }
    TestCommonDialogs().queueFont(std::nullopt); // talkback colour kept
    frmSettings dialog(loaded);
    click(dialog, "cmdTalkbackPathBrowse");
    click(dialog, "cmdOrlixDBBrowse");
    click(dialog, "cmdScriptPathBrowse");
    click(dialog, "cmdGeneralFont");
    click(dialog, "cmdPrizeFont");
    click(dialog, "cmdScriptFont");
    click(dialog, "cmdTalkbackFont");
    find<TextBox>(dialog, "txtComputer")->setText(QStringLiteral("playout2"));
    find<QSlider>(dialog, "sldScriptAutoScrollSpeed")->setValue(10);
    find<TextBox>(dialog, "txtEmailAddress")->setText(QStringLiteral("  news@example.org"));
    find<QCheckBox>(dialog, "chkEmailAllowPersonalAddresses")->setChecked(true);
    find<QCheckBox>(dialog, "chkSMSSendEnabled")->setChecked(false);
    find<uListSettings>(dialog, "ctlOptions")
        ->topLevelItem(0)
        ->child(0)
        ->setCheckState(0, Qt::Unchecked);
    click(dialog, "cmdOK");
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());

    cOCSettings fresh;
    ASSERT_TRUE(fresh.LoadSettings(profile));
    EXPECT_EQ(fresh.TalkbackSimplePath(), home("talkback"));
    EXPECT_EQ(fresh.OrlixPath(), home("db"));
    EXPECT_EQ(fresh.ScriptPath(), home("scripts"));
    EXPECT_EQ(fresh.VorelaComputerName(), QStringLiteral("playout2"));
    EXPECT_EQ(fresh.ScriptScrollSpeed(), 10);
    EXPECT_FALSE(fresh.StartupAutoLogin());
    EXPECT_TRUE(fresh.EmailSendEnabled());
    EXPECT_EQ(fresh.EmailName(), QStringLiteral("Studio"));
    EXPECT_EQ(fresh.EmailAddress(), QStringLiteral("news@example.org"));
    EXPECT_TRUE(fresh.EmailAllowPersonalAddresses());
    EXPECT_FALSE(fresh.SMSSendEnabled());
    EXPECT_EQ(fresh.GeneralFont()->Name, QStringLiteral("Courier"));
    EXPECT_EQ(fresh.GeneralFont()->Size, 14);
    EXPECT_FALSE(fresh.GeneralFont()->Bold);
    EXPECT_EQ(fresh.PrizeFont()->Name, QStringLiteral("Times"));
    EXPECT_EQ(fresh.ScriptFont()->Name, QStringLiteral("Courier"));
    EXPECT_EQ(fresh.ScriptFont()->Size, 5); // 18 points
    EXPECT_EQ(fresh.ScriptFont()->Italic, 1);
    EXPECT_EQ(fresh.ScriptFont()->TextColour, 0xFF0000);
    EXPECT_EQ(fresh.TalkbackFont()->TextColour, 255);
    EXPECT_EQ(fresh.TalkbackFont()->Size, 2);

    const auto& folders = TestCommonDialogs().folderRequests();
    ASSERT_EQ(folders.size(), 3U);
    EXPECT_EQ(folders[0].title, QStringLiteral("Browse for Simple Talkback Shared Folder"));
    EXPECT_EQ(folders[0].startFolder, QString());
    EXPECT_EQ(folders[1].title, QStringLiteral("Browse for Orlix Database Location"));
    EXPECT_EQ(folders[2].title, QStringLiteral("Browse for Scripts Folder"));
}

TEST_F(FrmSettingsTest, EmptyGeneralFontNameStoresTheDesignFont) {
    settings.GeneralFont()->Name.clear();
    frmSettings dialog(settings);
    click(dialog, "cmdOK");
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings.GeneralFont()->Name, QStringLiteral("Arial"));
    EXPECT_EQ(settings.GeneralFont()->Size, 10);
    EXPECT_TRUE(settings.GeneralFont()->Bold);
}

TEST_F(FrmSettingsTest, BrowseCancelKeepsTheFolderAndTheSameFolderReplacesIt) {
    frmSettings dialog(settings);
    TestCommonDialogs().queueFolder(QString());
    click(dialog, "cmdOrlixDBBrowse");
    EXPECT_EQ(label(dialog, "lblOrlixDatabasePath"), home("db"));
    EXPECT_EQ(TestCommonDialogs().folderRequests().back().startFolder, home("db"));
    TestCommonDialogs().queueFolder(home("db"));
    click(dialog, "cmdOrlixDBBrowse");
    EXPECT_EQ(label(dialog, "lblOrlixDatabasePath"), home("db"));
}

TEST_F(FrmSettingsTest, SampleFontsKeepUnderlineAndStrikeAndCancelChangesNothing) {
    settings.GeneralFont()->Underline = true;
    settings.PrizeFont()->Strikethrough = true;
    frmSettings dialog(settings);
    const QFont before = find<QLabel>(dialog, "lblPrizeFont")->font();
    TestCommonDialogs().queueFont(std::nullopt);
    click(dialog, "cmdPrizeFont");
    EXPECT_EQ(find<QLabel>(dialog, "lblPrizeFont")->font(), before);
    QFont chosen(QStringLiteral("Courier"), 12);
    chosen.setItalic(true);
    TestCommonDialogs().queueFont(FontAnswer{chosen, QColor()});
    click(dialog, "cmdGeneralFont");
    EXPECT_FALSE(TestCommonDialogs().fontRequests().back().withColour);
    const QFont general = find<QLabel>(dialog, "lblGeneralFont")->font();
    EXPECT_EQ(general.family(), QStringLiteral("Courier"));
    EXPECT_TRUE(general.italic());
    EXPECT_TRUE(general.underline());
    EXPECT_FALSE(general.strikeOut());
}

// The real chooser offers strike-out and underline only where the choice is applied: the
// script and talkback previews take them, the general and prize samples keep their own.
TEST_F(FrmSettingsTest, TheRealChooserOffersEffectsOnlyWhereTheyAreApplied) {
    const RealCommonDialogs real;
    frmSettings dialog(settings);
    ASSERT_TRUE(ShowActive(dialog));
    const std::pair<const char*, bool> buttons[] = {{"cmdGeneralFont", false},
                                                    {"cmdPrizeFont", false},
                                                    {"cmdScriptFont", true},
                                                    {"cmdTalkbackFont", true}};
    for (const auto& [button, effects] : buttons) {
        bool seen = false;
        QStringList shown;
        // The sample line is the one text box of a group with no check box in it.
        QString sampleText;
        int sampleHeight = 0;
        int textHeight = 0;
        AnswerNextDialog<QFontDialog>(
            [&](QFontDialog& chooser) {
                seen = true;
                for (auto* box : chooser.findChildren<QCheckBox*>()) {
                    if (box->isVisibleTo(&chooser)) {
                        shown << box->text().remove(QLatin1Char('&'));
                    }
                }
                for (auto* group : chooser.findChildren<QGroupBox*>()) {
                    const auto edits = group->findChildren<QLineEdit*>();
                    if (group->findChildren<QCheckBox*>().isEmpty() && edits.size() == 1 &&
                        edits.front()->isVisibleTo(&chooser)) {
                        sampleText = edits.front()->text();
                        sampleHeight = edits.front()->height();
                        textHeight = edits.front()->fontMetrics().height();
                    }
                }
            },
            false);
        click(dialog, button);
        ASSERT_TRUE(seen) << button;
        EXPECT_EQ(shown.isEmpty(), !effects) << button << " " << shown.join(u',').toStdString();
        EXPECT_FALSE(sampleText.trimmed().isEmpty()) << button;
        EXPECT_GE(sampleHeight, textHeight) << button;
    }
}

// A stored face this machine lacks, looked at through each real chooser and kept with OK, then
// OK: every font stays as it was stored, its name included.
TEST_F(FrmSettingsTest, AFaceThisMachineLacksIsKeptThroughTheRealChoosersAndOk) {
    const QString missing = QStringLiteral("Nowhere Grotesk");
    for (const auto& font : {settings.GeneralFont(), settings.PrizeFont()}) {
        font->Name = missing;
        font->Size = 10;
        font->Bold = true;
        font->Italic = false;
    }
    for (const auto& font : {settings.ScriptFont(), settings.TalkbackFont()}) {
        font->Name = missing;
        font->Size = 2; // 10 points
        font->Bold = 1;
        font->TextColour = 0x00336699;
    }
    const RealCommonDialogs real;
    frmSettings dialog(settings);
    ASSERT_TRUE(ShowActive(dialog));
    for (const auto& [button, colour] :
         {std::pair{"cmdGeneralFont", false}, std::pair{"cmdPrizeFont", false},
          std::pair{"cmdScriptFont", true}, std::pair{"cmdTalkbackFont", true}}) {
        bool asked = false;
        AnswerNextDialog<QFontDialog>([&](QFontDialog&) { asked = true; }, true);
        if (colour) {
            AnswerNextDialog<QColorDialog>({}, true);
        }
        click(dialog, button);
        EXPECT_TRUE(asked) << button;
    }
    click(dialog, "cmdOK");
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    for (const auto& font : {settings.GeneralFont(), settings.PrizeFont()}) {
        EXPECT_EQ(font->Name, missing);
        EXPECT_EQ(font->Size, 10);
        EXPECT_TRUE(font->Bold);
        EXPECT_FALSE(font->Italic);
    }
    for (const auto& font : {settings.ScriptFont(), settings.TalkbackFont()}) {
        EXPECT_EQ(font->Name, missing);
        EXPECT_EQ(font->Size, 2);
        EXPECT_EQ(font->Bold, 1);
        EXPECT_EQ(font->Italic, 0);
        EXPECT_EQ(font->TextColour, 0x00336699);
    }
}

TEST_F(FrmSettingsTest, ProfileManagementWorksOnTheProductsProfilesAndEnablesOk) {
    ASSERT_TRUE(ProfileManager::CreateProfile(SettingsKeys::ProfilesA(), QStringLiteral("Main")));
    frmSettings dialog(settings);
    auto* ok = find<QPushButton>(dialog, "cmdOK");
    ok->setEnabled(false);
    QStringList listed;
    TestDialogs().queue([&listed](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Profile Management"));
        auto* list = d.findChild<QListWidget*>(QStringLiteral("lstProfiles"));
        for (int i = 0; i < list->count(); ++i) {
            listed << list->item(i)->text();
        }
        d.reject();
    });
    click(dialog, "cmdProfileManagement");
    EXPECT_EQ(listed, QStringList{QStringLiteral("Main")});
    EXPECT_TRUE(ok->isEnabled());
}

TEST_F(FrmSettingsTest, CancelAndTheCloseBoxChangeNothing) {
    for (bool closeBox : {false, true}) {
        const QString before = storeText();
        frmSettings dialog(settings);
        ASSERT_TRUE(ShowActive(dialog));
        find<TextBox>(dialog, "txtComputer")->setText(QStringLiteral("other"));
        find<QCheckBox>(dialog, "chkEmailSendEnabled")->setChecked(false);
        if (closeBox) {
            dialog.close();
        } else {
            click(dialog, "cmdCancel");
        }
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(settings.VorelaComputerName(), QStringLiteral("playout"));
        EXPECT_TRUE(settings.EmailSendEnabled());
        EXPECT_EQ(storeText(), before);
    }
}

TEST_F(FrmSettingsTest, AFailedSaveIsToldAndTheDialogStays) {
    // The store file exists before it is made unwritable.
    RegistryStore::WriteString(RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE\\x"),
                               QStringLiteral("y"), QStringLiteral("z"));
    const QString store = RegistryStore::FilePath(RegistryRoot::LocalMachine);
    QString profile = QStringLiteral("Studio");
    settings.LoadSettings(profile);
    settings.SetEmailAddress(QStringLiteral("studio@example.org"));
    settings.SetTalkbackSimplePath(home("talkback"));
    settings.SetOrlixPath(home("db"));
    settings.SetScriptPath(home("scripts"));
    frmSettings dialog(settings);
    {
        QFile::setPermissions(store, QFile::ReadOwner);
        const ReadOnlyFolder readOnly(QFileInfo(store).absolutePath());
        if (!readOnly.Problem().isEmpty()) {
            GTEST_SKIP() << readOnly.Problem().toStdString();
        }
        click(dialog, "cmdOK");
    }
    QFile::setPermissions(store, QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    const QString told = TestMessageBoxes().shown()[0].text;
    EXPECT_TRUE(told.startsWith(
        QStringLiteral("There was a problem saving the settings of the profile 'Studio'")))
        << told.toStdString();
    EXPECT_TRUE(told.contains(QStringLiteral("the settings store '") + store +
                              QStringLiteral("' could not be written")))
        << told.toStdString();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

} // namespace

namespace {
// At the size the dialog opens with, every control of every tab is in sight and has the room
// its text asks for; the option list shows its longest caption whole. With ORLIX_SCREENSHOTS
// set, each tab is also saved as a picture in that folder.
TEST_F(FrmSettingsTest, EachTabShowsEveryControlWhole) {
    frmSettings dialog(settings);
    ASSERT_TRUE(ShowActive(dialog));
    const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
    auto* tabs = find<QTabWidget>(dialog, "tbsOptions");
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        QWidget* page = tabs->widget(i);
        const QString tab = tabs->tabText(i);
        ASSERT_TRUE(Pictures::LiesWhole(&dialog, page)) << tab.toStdString();
        const QList<QWidget*> controls = Pictures::VisibleControls(page);
        EXPECT_FALSE(controls.isEmpty()) << tab.toStdString();
        for (QWidget* control : controls) {
            const std::string name = tab.toStdString() + " " + control->metaObject()->className() +
                                     " " + control->objectName().toStdString();
            EXPECT_TRUE(control->isVisible()) << name;
            EXPECT_TRUE(Pictures::LiesWhole(&dialog, control)) << name;
            EXPECT_TRUE(Pictures::HasItsRoom(control))
                << name << " " << control->width() << "x" << control->height() << " for "
                << control->minimumSizeHint().width() << "x" << control->minimumSizeHint().height();
            if (auto* list = qobject_cast<QTreeWidget*>(control)) {
                EXPECT_LE(static_cast<QAbstractItemView*>(list)->sizeHintForColumn(0),
                          list->viewport()->width())
                    << name;
                for (QTreeWidgetItemIterator it(list); *it != nullptr; ++it) {
                    EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(*it)))
                        << name << " " << (*it)->text(0).toStdString();
                }
            }
        }
        const QImage image = dialog.grab().toImage();
        ASSERT_FALSE(image.isNull());
        if (!shots.isEmpty()) {
            EXPECT_TRUE(image.save(shots + QStringLiteral("/settings-") +
                                   tab.toLower().replace(QLatin1Char('/'), QLatin1Char('-')) +
                                   QStringLiteral(".png")));
        }
    }
}
} // namespace
