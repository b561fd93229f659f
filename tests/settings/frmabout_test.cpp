#include "platform/system/appinfo.h"
#include "platform/system/desktopopener.h"
#include "platform/system/registrystore.h"
#include "platform/system/soundplayer.h"
#include "settings/frmabout.h"
#include "settings/systeminfoprogram.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"
#include "support/waitfor.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {
// Records what would have been played.
class RecordingSounds : public SoundPlayer {
public:
    void Play(const QString& path) override { played << path; }
    void Stop() override { ++stops; }
    QStringList played;
    int stops = 0;
};

class AboutTest : public ::testing::Test {
protected:
    void SetUp() override {
        programFolder = TestHome() + QStringLiteral("/program");
        QDir().mkpath(programFolder);
        oldPath = AppInfo::Path();
        AppInfo::SetPath(programFolder);
        auto recorder = std::make_unique<RecordingSounds>();
        sounds = recorder.get();
        previousSounds = InstallSoundPlayer(std::move(recorder));
        SetDesktopOpener([this](const QUrl& url) {
            opened << url;
            return true;
        });
    }
    void TearDown() override {
        SetDesktopOpener(nullptr);
        InstallSoundPlayer(std::move(previousSounds));
        AppInfo::SetPath(oldPath);
    }
    void writeFile(const QString& path, const QByteArray& bytes, bool executable = false) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        if (executable) {
            f.setPermissions(f.permissions() | QFile::ExeOwner);
        }
    }
    template <typename W> static W* find(QWidget& w, const char* name) {
        auto* found = w.findChild<W*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QString programFolder;
    QString oldPath;
    RecordingSounds* sounds = nullptr;
    std::unique_ptr<SoundPlayer> previousSounds;
    QList<QUrl> opened;
};

TEST_F(AboutTest, ShowsTheVersionAndOpensTheSupportLinks) {
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Orlix v1"));
    EXPECT_EQ(find<QLabel>(about, "lblVersion")->text(), QStringLiteral("Version 1.0.11"));
    EXPECT_EQ(find<QLabel>(about, "lblCopyright")->text(), AppInfo::LegalCopyright());
    EXPECT_EQ(find<QLabel>(about, "lblSupportWeb")->text(),
              QStringLiteral("www.kestova.example/support/"));
    QTest::mouseClick(find<QLabel>(about, "lblSupportEmail"), Qt::LeftButton);
    QTest::mouseClick(find<QLabel>(about, "lblSupportWeb"), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(opened[0].path(), QStringLiteral("support@kestova.example"));
    EXPECT_EQ(QUrlQuery(opened[0]).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
              QStringLiteral("Kestova Orlix v1 Version 1.0.11"));
    EXPECT_EQ(opened[1], QUrl(QStringLiteral("https://www.kestova.example/support/")));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(AboutTest, TheLogoPlaysOnlyAnAboutSoundThatHoldsSomething) {
    struct Case {
        const char* what;
        std::optional<QByteArray> sound;
        bool plays;
    };
    const Case cases[] = {{"none", std::nullopt, false},
                          {"empty", QByteArray(), false},
                          {"a sound", QByteArray("RIFF....WAVE"), true}};
    for (const Case& c : cases) {
        QFile::remove(frmAbout::SoundFile());
        if (c.sound) {
            writeFile(frmAbout::SoundFile(), *c.sound);
        }
        sounds->played.clear();
        frmAbout about;
        auto* logo = find<QLabel>(about, "picLogo");
        EXPECT_EQ(logo->cursor().shape(), c.plays ? Qt::PointingHandCursor : Qt::ArrowCursor)
            << c.what;
        QTest::mouseClick(logo, Qt::LeftButton);
        EXPECT_EQ(sounds->played, c.plays
                                      ? QStringList{programFolder + QStringLiteral("/orlix.abt")}
                                      : QStringList{})
            << c.what;
    }
}

TEST_F(AboutTest, EveryWayOfClosingStopsTheSound) {
    const std::pair<const char*, std::function<void(frmAbout&)>> ways[] = {
        {"OK", [](frmAbout& a) { a.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click(); }},
        {"Esc", [](frmAbout& a) { QTest::keyClick(&a, Qt::Key_Escape); }},
        {"close box", [](frmAbout& a) { a.close(); }},
    };
    for (const auto& [what, close] : ways) {
        frmAbout about;
        ASSERT_TRUE(ShowActive(about));
        const int before = sounds->stops;
        close(about);
        EXPECT_FALSE(about.isVisible()) << what;
        EXPECT_EQ(sounds->stops, before + 1) << what;
    }
}

TEST_F(AboutTest, SystemInfoStartsTheConfiguredOrAKnownProgramElseSaysSo) {
    const QString marker = TestHome() + QStringLiteral("/started");
    const QString script = TestHome() + QStringLiteral("/sysinfo.sh");
    writeFile(script, "#!/bin/sh\n: > '" + marker.toUtf8() + "'\n", true);
    const QString bin = TestHome() + QStringLiteral("/bin");
    QDir().mkpath(bin);
    writeFile(bin + QStringLiteral("/hardinfo"), "#!/bin/sh\n: > '" + marker.toUtf8() + "'\n",
              true);
    const QByteArray oldPath = qgetenv("PATH");
    struct Case {
        const char* what;
        QString configured; // "" = no value
        QByteArray path;
        bool starts;
    };
    const Case cases[] = {
        {"configured", script, "", true},
        {"configured but missing", TestHome() + QStringLiteral("/nothing"), bin.toUtf8(), false},
        {"none, empty PATH", QString(), "", false},
        {"a known one on PATH", QString(), "/nonexistent:" + bin.toUtf8(), true},
    };
    for (const Case& c : cases) {
        QFile::remove(marker);
        const size_t shownBefore = TestMessageBoxes().shown().size();
        if (c.configured.isEmpty()) {
            RegistryStore::DeleteValue(RegistryRoot::LocalMachine,
                                       QStringLiteral("SOFTWARE\\Kestova"),
                                       QStringLiteral("SystemInformationProgram"));
        } else {
            ASSERT_TRUE(RegistryStore::WriteString(
                RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE\\Kestova"),
                QStringLiteral("SystemInformationProgram"), c.configured));
        }
        qputenv("PATH", c.path);
        if (!c.starts) {
            TestMessageBoxes().queue(MsgResult::OK);
        }
        frmAbout about;
        find<QPushButton>(about, "cmdSysInfo")->click();
        qputenv("PATH", oldPath);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << c.what;
        if (c.starts) {
            EXPECT_TRUE(WaitFor([&] { return QFile::exists(marker); })) << c.what;
            EXPECT_EQ(TestMessageBoxes().shown().size(), shownBefore) << c.what;
        } else {
            ASSERT_EQ(TestMessageBoxes().shown().size(), shownBefore + 1) << c.what;
            const auto& box = TestMessageBoxes().shown().back();
            EXPECT_EQ(box.text, QStringLiteral("System Information Is Unavailable At This Time"));
            EXPECT_EQ(box.icon, MsgIcon::None);
            EXPECT_EQ(box.buttons, MsgButtons::OK);
        }
    }
}

TEST(GetKeyValueTest, ReadsOnlyAStoredText) {
    const QString key = QStringLiteral("SOFTWARE\\Kestova\\Test");
    ASSERT_TRUE(RegistryStore::WriteString(RegistryRoot::LocalMachine, key, QStringLiteral("T"),
                                           QStringLiteral("text")));
    ASSERT_TRUE(
        RegistryStore::WriteNumber(RegistryRoot::LocalMachine, key, QStringLiteral("N"), 5));
    QString value = QStringLiteral("old");
    EXPECT_TRUE(frmAbout::GetKeyValue(RegistryRoot::LocalMachine, key, QStringLiteral("t"), value));
    EXPECT_EQ(value, QStringLiteral("text"));
    EXPECT_FALSE(
        frmAbout::GetKeyValue(RegistryRoot::LocalMachine, key, QStringLiteral("N"), value));
    EXPECT_EQ(value, QString());
    EXPECT_FALSE(
        frmAbout::GetKeyValue(RegistryRoot::LocalMachine, key, QStringLiteral("missing"), value));
    EXPECT_FALSE(frmAbout::GetKeyValue(RegistryRoot::CurrentUser, key, QStringLiteral("T"), value));
}
} // namespace

namespace {
// With ORLIX_SCREENSHOTS set, the window is also saved as a picture in that folder.
TEST_F(AboutTest, TheWindowDraws) {
    frmAbout about;
    ASSERT_TRUE(ShowActive(about));
    const QImage image = about.grab().toImage();
    EXPECT_FALSE(image.isNull());
    const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
    if (!shots.isEmpty()) {
        EXPECT_TRUE(image.save(shots + QStringLiteral("/about.png")));
    }
}
} // namespace
