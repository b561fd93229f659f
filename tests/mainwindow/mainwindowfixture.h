#pragma once

#include "core/debuglog.h"
#include "core/orlixcommon.h"
#include "core/profile/cocsettings.h"
#include "core/program.h"
#include "mainwindow/frmmain.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/directorylogindialog.h"
#include "platform/directory/kvdirectory.h"
#include "platform/system/appinfo.h"
#include "platform/system/desktopopener.h"
#include "platform/ui/profilechooserdialog.h"
#include "playout/link/playoutlink.h"
#include "playout/panel/playoutpanel.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// A studio computer for the main window: a profile "Studio" with its three folders, a
// directory with users, the program's folder (help file, update notes) in the test's home,
// and the directory's login dialog answered by the test.
class MainWindowFixture : public ::testing::Test {
public:
    void SetUp() override {
        playoutPort = unusedLocalPort();
        programFolder = TestHome() + QStringLiteral("/program");
        QDir().mkpath(programFolder);
        AppInfo::SetPath(programFolder);
        TestDialogs().answerEvery<ProfileChooserDialog>([this](ProfileChooserDialog& d) {
            if (chooserShown) {
                chooserShown();
            }
            d.reject();
        });
        SetDesktopOpener([this](const QUrl& url) {
            opened << url;
            return true;
        });
        TestDialogs().answerEvery<DirectoryLoginDialog>([this](DirectoryLoginDialog& d) {
            ++loginDialogs;
            loginOffered = d.findChild<QLineEdit*>(QStringLiteral("txtLoginName"))->text();
            loginFocus = d.focusWidget() != nullptr ? d.focusWidget()->objectName() : QString();
            if (loginAnswer.isEmpty()) {
                d.reject();
                return;
            }
            d.findChild<QLineEdit*>(QStringLiteral("txtLoginName"))->setText(loginAnswer);
            d.findChild<QLineEdit*>(QStringLiteral("txtPassword"))->setText(passwordAnswer);
            d.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        });
    }

    void TearDown() override {
        window.reset();
        UnloadSplash();
        TerminateOrlix();
        SetDesktopOpener(nullptr);
    }

    // The program's directory while the window has it open.
    static KVDirectory* directory() { return Program::Instance().Directory(); }

    QString folder(const char* name) const {
        return TestHome() + QLatin1Char('/') + QLatin1String(name);
    }

    // The profile's settings as the settings dialog would write them.
    void seedProfile(bool playout = false, bool talkback = true, bool folders = true) {
        cOCSettings settings;
        QString profile = QStringLiteral("Studio");
        settings.LoadSettings(profile);
        if (folders) {
            settings.SetOrlixPath(folder("db"));
            settings.SetScriptPath(folder("scripts"));
        }
        settings.SetTalkbackSimplePath(talkback ? folder("talkback") : QString());
        settings.SetVorelaComputerName(playout ? QStringLiteral("127.0.0.1") : QString());
        ASSERT_TRUE(settings.SaveSettings(profile));
    }

    // A directory user; the first one made has every right. Made before the window starts.
    void addUser(const QString& login, quint32 directoryRights = 0xff, quint32 userRights = 0xff,
                 const QString& password = {}) {
        KVDirectory directory;
        bool failed = true;
        directory.OpenDefault(true, failed);
        ASSERT_FALSE(failed);
        QString refusal;
        if (directory.UserCount() == 0) {
            ASSERT_TRUE(directory.CreateFirstUser(QStringLiteral("Admin"), QStringLiteral("admin"),
                                                  QString(), &refusal));
        }
        auto admin = directory.GetContactByLoginName(QStringLiteral("admin"));
        bool ok = false;
        directory.LoginContact(admin, 1, QString(), ok);
        ASSERT_TRUE(ok);
        if (login != QLatin1String("admin")) {
            auto user = directory.CreateContact();
            user->SetName(QStringLiteral("User ") + login);
            user->SetLoginName(login);
            user->SetDirectoryRights(DirectoryRights(directoryRights));
            user->SetUserRights(UserRights(userRights));
            ASSERT_TRUE(directory.SaveContact(0, *user, &refusal)) << refusal.toStdString();
            if (!password.isEmpty()) {
                ASSERT_TRUE(directory.SetPassword(user->Reference(), password, &refusal));
            }
        }
        directory.Close(ok);
    }

    // A stored per-user value, written before the window starts.
    void storeUserSetting(const QString& login, const QString& name, const QVariant& value) {
        KVDirectory directory;
        bool failed = true;
        directory.OpenDefault(false, failed);
        ASSERT_FALSE(failed);
        auto user = directory.GetContactByLoginName(login);
        ASSERT_TRUE(user);
        ASSERT_TRUE(user->Settings().SaveSetting(name, value, QVariant()));
        bool ok = false;
        directory.Close(ok);
    }

    bool start(const QString& commandLine) {
        Program::Instance().SetOptions(StartupOptions::Parse(commandLine));
        window = std::make_unique<frmMain>();
        window->Link()->SetPorts(playoutPort, playoutPort);
        if (beforeLoad) {
            beforeLoad(*window);
        }
        return window->Form_Load();
    }

    // The usual start: the profile, an administrator and a login by the command line.
    bool startLoggedIn(const QString& extra = QString()) {
        seedProfile();
        addUser(QStringLiteral("admin"));
        return start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin ") + extra);
    }

    QStringList logTexts() const {
        QFile f(DebugLogFilePath());
        if (!f.open(QIODevice::ReadOnly)) {
            return {};
        }
        QStringList out;
        for (const QString& line :
             QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
            out.append(line.mid(8).trimmed());
        }
        return out;
    }

    QString userSetting(const QString& name) const {
        const auto user = directory() ? directory()->CurrentUser() : nullptr;
        return user ? user->Settings().GetSetting(name, QStringLiteral("<unset>")).toString()
                    : QStringLiteral("<nobody>");
    }

    // A port of 127.0.0.1 that nothing listens on, as a free one was when it was chosen.
    static quint16 unusedLocalPort() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }

    std::unique_ptr<frmMain> window;
    // The port the window's playout link uses, whatever the start-up options say: a profile's
    // playout computer is this computer, and the usual port is where a developer's own test
    // peer listens. Nothing listens on it unless the test does.
    quint16 playoutPort = 0;
    QString programFolder;
    QString loginAnswer;
    QString passwordAnswer;
    int loginDialogs = 0;
    // The login name the last login dialog offered, and the box it gave the focus.
    QString loginOffered;
    QString loginFocus;
    // Run on each window made, before its start-up.
    std::function<void(frmMain&)> beforeLoad;
    // Told when the profile chooser shows, which the fixture then cancels.
    std::function<void()> chooserShown;
    QList<QUrl> opened;
};
