#include "core/profile/cocsettings.h"

#include "core/profile/settingskeys.h"
#include "platform/system/configfile.h"
#include "platform/system/registrystore.h"
#include "platform/ui/fontconversion.h"
#include "support/testhome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {
constexpr auto HKLM = RegistryRoot::LocalMachine;

QString treeA(const QString& p, const char* sub) {
    return SettingsKeys::Under(SettingsKeys::TreeA(p), sub);
}
QString treeB(const QString& p, const char* sub) {
    return SettingsKeys::Under(SettingsKeys::TreeB(p), sub);
}
QString text(const QString& key, const char* name) {
    return RegistryStore::ReadString(HKLM, key, QLatin1String(name), QStringLiteral("<missing>"));
}
qint32 number(const QString& key, const char* name) {
    return RegistryStore::ReadNumber(HKLM, key, QLatin1String(name), -99);
}

TEST(cOCSettings, DefaultsAfterCreation) {
    const cOCSettings s;
    EXPECT_EQ(s.ProfileName(), QStringLiteral("Profile1"));
    EXPECT_TRUE(s.TalkbackSimplePath().isEmpty());
    EXPECT_TRUE(s.VorelaComputerName().isEmpty());
    EXPECT_TRUE(s.OrlixPath().isEmpty());
    EXPECT_TRUE(s.ScriptPath().isEmpty());
    EXPECT_EQ(s.ScriptScrollSpeed(), 6);
    EXPECT_TRUE(s.StartupAutoLogin());
    EXPECT_TRUE(s.EmailSendEnabled());
    EXPECT_EQ(s.EmailName(), QStringLiteral("Studio"));
    EXPECT_EQ(s.EmailAddress(), QStringLiteral("studio@"));
    EXPECT_FALSE(s.EmailAllowPersonalAddresses());
    EXPECT_TRUE(s.SMSSendEnabled());
    for (const auto& f : {s.GeneralFont(), s.PrizeFont()}) {
        EXPECT_EQ(f->Name, QStringLiteral("Arial"));
        EXPECT_EQ(f->Size, 10.0);
        EXPECT_TRUE(f->Bold);
        EXPECT_FALSE(f->Italic || f->Underline || f->Strikethrough);
    }
    EXPECT_EQ(s.ScriptFont()->Size, 5);
    EXPECT_EQ(s.ScriptFont()->Bold, 1);
    EXPECT_EQ(s.ScriptFont()->TextColour, 0);
    EXPECT_EQ(s.TalkbackFont()->Size, 2);
    EXPECT_EQ(s.TalkbackFont()->TextColour, 255);
}

TEST(cOCSettings, AFreshMachineLoadsDefaultsAndAnswersFalse) {
    cOCSettings s;
    QString name;
    EXPECT_FALSE(s.LoadSettings(name));
    EXPECT_EQ(name, QStringLiteral("Profile1"));
    EXPECT_EQ(s.ScriptScrollSpeed(), 6);
    EXPECT_TRUE(s.GeneralFont()->Bold);
}

TEST(cOCSettings, SaveAndLoadRoundTrip) {
    const QString home = TestHome();
    cOCSettings out;
    QString name = QStringLiteral("Studio 2");
    out.LoadSettings(name);
    out.SetOrlixPath(home + QStringLiteral("/shared/db"));
    out.SetScriptPath(home + QStringLiteral("/shared/scripts"));
    out.SetTalkbackSimplePath(home + QStringLiteral("/shared/talkback"));
    out.SetVorelaComputerName(QStringLiteral("playout-1"));
    out.SetScriptScrollSpeed(9);
    out.SetStartupAutoLogin(false);
    out.SetEmailSendEnabled(false);
    out.SetEmailName(QStringLiteral("Breakfast Show"));
    out.SetEmailAddress(QStringLiteral("breakfast@radio.example"));
    out.SetEmailAllowPersonalAddresses(true);
    out.SetSMSSendEnabled(false);
    *out.GeneralFont() = StdFont{QStringLiteral("DejaVu Sans"), 10.5, false, true, true, true};
    *out.PrizeFont() = StdFont{QStringLiteral("Liberation Serif"), 12, true, false, false, false};
    *out.ScriptFont() = FontStyle{QStringLiteral("Courier"), 7, 0x00FF8040, 0, 1, 1, 1};
    *out.TalkbackFont() = FontStyle{QStringLiteral("Verdana"), 3, 0x0000FF00, 1, 0, 0, 0};
    QString ignored = QStringLiteral("Other");
    ASSERT_TRUE(out.SaveSettings(ignored));

    cOCSettings in;
    QString again = QStringLiteral("Studio 2");
    EXPECT_TRUE(in.LoadSettings(again));
    EXPECT_EQ(in.OrlixPath(), out.OrlixPath());
    EXPECT_EQ(in.ScriptPath(), out.ScriptPath());
    EXPECT_EQ(in.TalkbackSimplePath(), out.TalkbackSimplePath());
    EXPECT_TRUE(QFileInfo(out.TalkbackSimplePath()).isDir());
    EXPECT_EQ(in.VorelaComputerName(), QStringLiteral("playout-1"));
    EXPECT_EQ(in.ScriptScrollSpeed(), 9);
    EXPECT_FALSE(in.StartupAutoLogin());
    EXPECT_FALSE(in.EmailSendEnabled());
    EXPECT_EQ(in.EmailName(), QStringLiteral("Breakfast Show"));
    EXPECT_EQ(in.EmailAddress(), QStringLiteral("breakfast@radio.example"));
    EXPECT_TRUE(in.EmailAllowPersonalAddresses());
    EXPECT_FALSE(in.SMSSendEnabled());
    const StdFont& g = *in.GeneralFont();
    EXPECT_EQ(g.Name, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(g.Size, 10.5);
    EXPECT_FALSE(g.Bold);
    EXPECT_TRUE(g.Italic && g.Underline && g.Strikethrough);
    EXPECT_EQ(in.PrizeFont()->Name, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(in.PrizeFont()->Size, 12.0);
    const FontStyle& sf = *in.ScriptFont();
    EXPECT_EQ(sf.Name, QStringLiteral("Courier"));
    EXPECT_EQ(sf.Size, 7);
    EXPECT_EQ(sf.TextColour, 0x00FF8040);
    EXPECT_EQ(sf.Bold, 0);
    EXPECT_EQ(sf.Italic + sf.UnderLine + sf.StrikeThru, 3);
    EXPECT_EQ(in.TalkbackFont()->Name, QStringLiteral("Verdana"));
    EXPECT_EQ(in.TalkbackFont()->TextColour, 0x0000FF00);

    // The stored forms: sizes as the shortest decimal, styles as "True"/"False".
    const QString p = QStringLiteral("Studio 2");
    EXPECT_EQ(text(treeB(p, "General"), "Font.NormalSize"), QStringLiteral("10.5"));
    EXPECT_EQ(text(treeB(p, "Prize"), "Font.NormalSize"), QStringLiteral("12"));
    EXPECT_EQ(text(treeB(p, "General"), "Font.NormalBold"), QStringLiteral("False"));
    EXPECT_EQ(text(treeB(p, "Scripts"), "Font.NormalItalic"), QStringLiteral("1"));
    EXPECT_EQ(number(treeB(p, "Startup"), "AttemptAutoLogin"), 0);
    EXPECT_EQ(text(treeA(p, "Database"), "Path"), out.OrlixPath());
    EXPECT_EQ(text(SettingsKeys::TreeB(QStringLiteral("Other")), "x"), QStringLiteral("<missing>"));
}

TEST(cOCSettings, SavesUnderTheProfileOfTheLastLoad) {
    cOCSettings never;
    QString empty;
    ASSERT_TRUE(never.SaveSettings(empty));
    EXPECT_EQ(number(treeB(QStringLiteral("Profile1"), "Scripts"), "ScrollSpeed"), 6);

    cOCSettings s;
    QString name = QStringLiteral("Studio 2");
    s.LoadSettings(name);
    s.SetVorelaComputerName(QStringLiteral("p2"));
    ASSERT_TRUE(s.SaveSettings(empty));
    EXPECT_EQ(text(treeB(QStringLiteral("studio 2"), "Vorela"), "ComputerName"),
              QStringLiteral("p2"));
}

struct StoredCase {
    const char* sub;
    const char* value;
    const char* stored;
};

TEST(cOCSettings, ReadsStoredValuesTolerantly) {
    const QString p = QStringLiteral("Profile1");
    const auto put = [&](const char* sub, const char* name, const char* v) {
        RegistryStore::WriteString(HKLM, treeB(p, sub), QLatin1String(name), QLatin1String(v));
    };
    put("General", "Font.NormalBold", "false");
    put("General", "Font.NormalItalic", "TRUE");
    put("General", "Font.NormalUnderLine", "-1");
    put("General", "Font.NormalSize", "11,5");
    put("Prize", "Font.NormalSize", "large");
    put("Prize", "Font.NormalBold", "maybe");
    put("Scripts", "Font.NormalSize", "6.0");
    put("Scripts", "Font.NormalTextColour", "blue");
    put("Scripts", "Font.NormalBold", "False");
    RegistryStore::WriteNumber(HKLM, treeB(p, "Startup"), QStringLiteral("AttemptAutoLogin"), 5);
    RegistryStore::WriteString(HKLM, treeB(p, "Messages"), QStringLiteral("SMSSendEnabled"),
                               QStringLiteral("wrong type"));
    RegistryStore::WriteNumber(HKLM, treeB(p, "Talkback"), QStringLiteral("Font.NormalSize"), 4);

    cOCSettings s;
    QString name;
    s.LoadSettings(name);
    EXPECT_FALSE(s.GeneralFont()->Bold);
    EXPECT_TRUE(s.GeneralFont()->Italic);
    EXPECT_TRUE(s.GeneralFont()->Underline);
    EXPECT_EQ(s.GeneralFont()->Size, 11.5);
    EXPECT_EQ(s.PrizeFont()->Size, 10.0);
    EXPECT_TRUE(s.PrizeFont()->Bold);
    EXPECT_EQ(s.ScriptFont()->Size, 6);
    EXPECT_EQ(s.ScriptFont()->TextColour, 0);
    EXPECT_EQ(s.ScriptFont()->Bold, 0);
    EXPECT_TRUE(s.StartupAutoLogin());
    EXPECT_TRUE(s.SMSSendEnabled());
    EXPECT_EQ(s.TalkbackFont()->Size, 2); // a number where text belongs: the default

    ASSERT_TRUE(s.SaveSettings(name));
    EXPECT_EQ(number(treeB(p, "Startup"), "AttemptAutoLogin"), 1);
    EXPECT_EQ(text(treeB(p, "General"), "Font.NormalBold"), QStringLiteral("False"));
    EXPECT_EQ(text(treeB(p, "General"), "Font.NormalSize"), QStringLiteral("11.5"));
}

TEST(cOCSettings, ScrollSpeedIsKeptWithinOneToTen) {
    const std::vector<std::pair<qint32, qint16>> cases = {{11, 10}, {0, 1},   {-5, 1},
                                                          {1, 1},   {10, 10}, {7, 7}};
    for (const auto& [stored, loaded] : cases) {
        RegistryStore::WriteNumber(HKLM, treeB(QStringLiteral("Profile1"), "Scripts"),
                                   QStringLiteral("ScrollSpeed"), stored);
        cOCSettings s;
        QString name;
        s.LoadSettings(name);
        EXPECT_EQ(s.ScriptScrollSpeed(), loaded) << stored;
    }
    RegistryStore::WriteString(HKLM, treeB(QStringLiteral("Profile1"), "Scripts"),
                               QStringLiteral("ScrollSpeed"), QStringLiteral("fast"));
    cOCSettings s;
    QString name;
    s.LoadSettings(name);
    EXPECT_EQ(s.ScriptScrollSpeed(), 6);
}

TEST(cOCSettings, FoldersAreMadeAndAllThreeAreNeeded) {
    const QString p = QStringLiteral("Profile1");
    const QString db = TestHome() + QStringLiteral("/new/db");
    const QString scripts = TestHome() + QStringLiteral("/new/scripts");
    RegistryStore::WriteString(HKLM, treeA(p, "Database"), QStringLiteral("Path"), db);
    RegistryStore::WriteString(HKLM, treeA(p, "Scripts"), QStringLiteral("Path"), scripts);
    RegistryStore::WriteString(HKLM, treeB(p, "Vorela"), QStringLiteral("ComputerName"),
                               QStringLiteral("playout"));
    cOCSettings s;
    QString name;
    EXPECT_FALSE(s.LoadSettings(name));
    EXPECT_TRUE(QFileInfo(db).isDir());
    EXPECT_TRUE(QFileInfo(scripts).isDir());
    EXPECT_EQ(s.VorelaComputerName(), QStringLiteral("playout")); // tree B was still read
}

// The settings dialog then shown must hold the stored values, or its OK would write the
// defaults over them.
TEST(cOCSettings, AFolderThatCannotBeMadeFailsTheLoadButTheRestIsRead) {
    const QString p = QStringLiteral("Profile1");
    const QString blocker = TestHome() + QStringLiteral("/file");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    RegistryStore::WriteString(HKLM, treeA(p, "Database"), QStringLiteral("Path"),
                               blocker + QStringLiteral("/db"));
    RegistryStore::WriteString(HKLM, treeB(p, "Vorela"), QStringLiteral("ComputerName"),
                               QStringLiteral("playout"));
    cOCSettings s;
    QString name;
    EXPECT_FALSE(s.LoadSettings(name));
    EXPECT_EQ(s.VorelaComputerName(), QStringLiteral("playout"));
}

TEST(cOCSettings, EveryLoadMakesNewFontObjects) {
    cOCSettings s;
    QString name;
    s.LoadSettings(name);
    const auto general = s.GeneralFont();
    const auto script = s.ScriptFont();
    general->Size = 30;
    s.LoadSettings(name);
    EXPECT_NE(s.GeneralFont(), general);
    EXPECT_NE(s.ScriptFont(), script);
    EXPECT_EQ(general->Size, 30.0); // the earlier object keeps its values
    EXPECT_EQ(s.GeneralFont()->Size, 10.0);
}

TEST(cOCSettings, AFailedWriteIsReportedAsAFailedSave) {
    const QString folder = QFileInfo(RegistryStore::FilePath(HKLM)).absolutePath();
    QDir().mkpath(QFileInfo(folder).absolutePath());
    QFile blocker(folder); // a file where the store's folder belongs
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    cOCSettings s;
    QString name;
    EXPECT_FALSE(s.SaveSettings(name));
}

TEST(cOCSettings, ASaveRewritesTheStoreOnceWithEveryValue) {
    int replacements = 0;
    ConfigFile::SetBeforeReplaceHook([&] { ++replacements; });
    cOCSettings s;
    QString name;
    s.SetVorelaComputerName(QStringLiteral("playout-1"));
    s.SetSMSSendEnabled(false);
    const bool saved = s.SaveSettings(name);
    ConfigFile::SetBeforeReplaceHook(nullptr);
    ASSERT_TRUE(saved);
    EXPECT_EQ(replacements, 1);
    const QString p = QStringLiteral("Profile1");
    EXPECT_EQ(text(treeB(p, "Vorela"), "ComputerName"), QStringLiteral("playout-1"));
    EXPECT_EQ(number(treeB(p, "Messages"), "SMSSendEnabled"), 0);
    EXPECT_EQ(text(treeB(p, "Talkback"), "Font.NormalFont"), QStringLiteral("Arial"));
    EXPECT_EQ(text(treeA(p, "Talkback"), "SimplePath"), QString());
}

TEST(cOCSettings, ASaveToAStoreOfANewerVersionFailsAndChangesNothing) {
    const QString path = RegistryStore::FilePath(HKLM);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray newer =
        R"({"format":2,"keys":{"SOFTWARE\\Kestova\\Orlix v1\\Client\\Profiles\\Profile1\\Settings\\Vorela":{"ComputerName":"playout-2"}}})";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(newer);
    }
    cOCSettings s;
    QString name;
    s.LoadSettings(name);
    EXPECT_EQ(s.VorelaComputerName(), QStringLiteral("playout-2")); // read as far as understood
    s.SetVorelaComputerName(QStringLiteral("playout-3"));
    EXPECT_FALSE(s.SaveSettings(name));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()), QString::fromUtf8(newer));
}

TEST(cOCSettings, ScriptAndTalkbackStyleFlagsStoredAsMinusOneAreOn) {
    const QString p = QStringLiteral("Profile1");
    for (const char* sub : {"Scripts", "Talkback"}) {
        for (const char* flag : {"Font.NormalBold", "Font.NormalItalic", "Font.NormalUnderLine",
                                 "Font.NormalStrikeThru"}) {
            ASSERT_TRUE(RegistryStore::WriteString(HKLM, treeB(p, sub), QLatin1String(flag),
                                                   QStringLiteral("-1")));
        }
    }
    cOCSettings s;
    QString name;
    s.LoadSettings(name);
    for (const auto& font : {s.ScriptFont(), s.TalkbackFont()}) {
        const QFont q = FontConversion::ToQFont(*font);
        EXPECT_TRUE(q.bold());
        EXPECT_TRUE(q.italic());
        EXPECT_TRUE(q.underline());
        EXPECT_TRUE(q.strikeOut());
    }
}
} // namespace
