#include "mainwindow/mainwindowfixture.h"

#include "platform/messagesdb/orlixdatabase.h"
#include "platform/system/registrystore.h"
#include "platform/ui/textbox.h"
#include "settings/frmsettings.h"
#include "settings/settingswindows.h"
#include "support/scriptedcommondialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>

namespace {

// The main window with the real settings dialog, answered by the test as its user would.
class SettingsThroughTheMainWindow : public MainWindowFixture {
public:
    void SetUp() override {
        MainWindowFixture::SetUp();
        InstallSettingsWindows(Program::Instance().Windows());
        Program::Instance().Windows().SetShower([](QWidget* window, bool modal) {
            if (auto* dialog = qobject_cast<QDialog*>(window)) {
                RunDialog(*dialog, modal);
            }
        });
    }
    void TearDown() override {
        Program::Instance().Windows().SetShower({});
        MainWindowFixture::TearDown();
    }

    // Answers the next settings dialog.
    void answerSettings(std::function<void(frmSettings&)> action) {
        TestDialogs().queue([this, action = std::move(action)](QDialog& d) {
            auto* settings = dynamic_cast<frmSettings*>(&d);
            ASSERT_NE(settings, nullptr) << d.metaObject()->className();
            ++settingsShown;
            action(*settings);
        });
    }
    static void click(QWidget& d, const char* name) {
        d.findChild<QPushButton*>(QLatin1String(name))->click();
    }
    template <typename W> static W* child(QWidget& d, const char* name) {
        return d.findChild<W*>(QLatin1String(name));
    }

    int settingsShown = 0;
};

TEST_F(SettingsThroughTheMainWindow, AProfileWithoutFoldersIsSetUpAtStartUp) {
    seedProfile(false, false, false);
    addUser(QStringLiteral("admin"));
    answerSettings([this](frmSettings& d) {
        TestCommonDialogs().queueFolder(folder("new/db"));
        TestCommonDialogs().queueFolder(folder("new/scripts"));
        TestCommonDialogs().queueFolder(folder("new/talkback"));
        click(d, "cmdOrlixDBBrowse");
        click(d, "cmdScriptPathBrowse");
        click(d, "cmdTalkbackPathBrowse");
        child<TextBox>(d, "txtEmailAddress")->setText(QStringLiteral("studio@example.org"));
        TestMessageBoxes().queue(MsgResult::Yes);
        TestMessageBoxes().queue(MsgResult::Yes);
        click(d, "cmdOK");
    });
    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    EXPECT_EQ(settingsShown, 1);
    ASSERT_NE(window->Database(), nullptr);
    EXPECT_EQ(window->Database()->DatabasePath(), folder("new/db"));
    EXPECT_TRUE(QFileInfo(folder("new/talkback")).isDir());
    EXPECT_EQ(window->clsSettings()->EmailAddress(), QStringLiteral("studio@example.org"));
}

TEST_F(SettingsThroughTheMainWindow, CancelAtStartUpEndsTheStart) {
    seedProfile(false, false, false);
    addUser(QStringLiteral("admin"));
    answerSettings([](frmSettings& d) { click(d, "cmdCancel"); });
    EXPECT_FALSE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    EXPECT_EQ(settingsShown, 1);
    EXPECT_EQ(window->ExitStatus(), 1);
}

TEST_F(SettingsThroughTheMainWindow, AFolderThatCannotBeMadeShowsTheStoredValues) {
    seedProfile(true);
    addUser(QStringLiteral("admin"));
    QFile blocker(folder("plainfile"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    RegistryStore::WriteString(RegistryRoot::LocalMachine,
                               QStringLiteral("SOFTWARE\\Kestova\\Orlix v1\\Profiles\\Studio\\"
                                              "Settings\\Talkback"),
                               QStringLiteral("SimplePath"), folder("plainfile/talkback"));
    RegistryStore::WriteString(RegistryRoot::LocalMachine,
                               QStringLiteral("SOFTWARE\\Kestova\\Orlix v1\\Client\\Profiles\\"
                                              "Studio\\Settings\\Messages"),
                               QStringLiteral("EmailName"), QStringLiteral("Night Desk"));
    QString computer;
    QString sender;
    answerSettings([&](frmSettings& d) {
        computer = child<TextBox>(d, "txtComputer")->text();
        sender = child<TextBox>(d, "txtEmailName")->text();
        click(d, "cmdCancel");
    });
    EXPECT_FALSE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    EXPECT_EQ(computer, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(sender, QStringLiteral("Night Desk"));
}

TEST_F(SettingsThroughTheMainWindow, ProgramSettingsReloadsAfterOkAndCancel) {
    ASSERT_TRUE(startLoggedIn());
    EXPECT_FALSE(window->mnuConnect->isVisible());
    answerSettings([](frmSettings& d) {
        child<TextBox>(d, "txtComputer")->setText(QStringLiteral("127.0.0.1"));
        child<QCheckBox>(d, "chkEmailSendEnabled")->setChecked(false);
        click(d, "cmdOK");
    });
    window->mnuProgramSettings->trigger();
    EXPECT_EQ(settingsShown, 1);
    EXPECT_TRUE(window->mnuConnect->isVisible());
    EXPECT_EQ(window->clsSettings()->VorelaComputerName(), QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(window->FormReady());

    // Cancel: the object the dialog was shown over was changed by nothing, and is reloaded.
    const cOCSettings* before = window->clsSettings();
    answerSettings([](frmSettings& d) {
        child<TextBox>(d, "txtComputer")->setText(QString());
        click(d, "cmdCancel");
    });
    window->mnuProgramSettings->trigger();
    EXPECT_EQ(settingsShown, 2);
    EXPECT_NE(window->clsSettings(), before);
    EXPECT_EQ(window->clsSettings()->VorelaComputerName(), QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(window->mnuConnect->isVisible());
}

TEST_F(SettingsThroughTheMainWindow, HelpAboutShowsTheAboutWindowModally) {
    ASSERT_TRUE(startLoggedIn());
    QString title;
    TestDialogs().queue([&title](QDialog& d) {
        title = d.windowTitle();
        click(d, "cmdOK");
    });
    window->mnuAbout->trigger();
    EXPECT_EQ(title, QStringLiteral("About Orlix v1"));
    ASSERT_FALSE(TestDialogs().shown().empty());
    EXPECT_EQ(TestDialogs().shown().back().className, QStringLiteral("frmAbout"));
    EXPECT_TRUE(TestDialogs().shown().back().modal);
}

} // namespace
