#include "core/profile/cocsettings.h"
#include "core/profile/settingskeys.h"
#include "platform/system/registrystore.h"
#include "settings/tool/settingstoolrun.h"
#include "support/testhome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {
constexpr auto HKLM = RegistryRoot::LocalMachine;

QString treeB(const QString& p, const char* sub) {
    return SettingsKeys::Under(SettingsKeys::TreeB(p), sub);
}
QString text(const QString& key, const char* name) {
    return RegistryStore::ReadString(HKLM, key, QLatin1String(name), QStringLiteral("<missing>"));
}
qint32 number(const QString& key, const char* name) {
    return RegistryStore::ReadNumber(HKLM, key, QLatin1String(name), -99);
}

TEST(SettingsTool, SeedWritesAProfileTheClientLoadsWithEveryDefault) {
    const QString p = QStringLiteral("Profile1");
    ToolRun r = tool(seedArgs(p) << QStringLiteral("--playout") << QStringLiteral("127.0.0.1"));
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.contains(RegistryStore::FilePath(HKLM))) << r.Out.toStdString();

    cOCSettings s;
    QString name = p;
    EXPECT_TRUE(s.LoadSettings(name));
    EXPECT_EQ(s.OrlixPath(), folder("Messages"));
    EXPECT_EQ(s.ScriptPath(), folder("Scripts"));
    EXPECT_EQ(s.TalkbackSimplePath(), folder("Talkback"));
    EXPECT_EQ(s.VorelaComputerName(), QStringLiteral("127.0.0.1"));
    for (const char* f : {"Messages", "Scripts", "Talkback"}) {
        EXPECT_TRUE(QFileInfo(folder(f)).isDir()) << f;
    }

    // The defaults are in the store itself, not only in what a load assumes.
    EXPECT_EQ(number(treeB(p, "Startup"), "AttemptAutoLogin"), 1);
    EXPECT_EQ(number(treeB(p, "Scripts"), "ScrollSpeed"), 6);
    EXPECT_EQ(text(treeB(p, "Scripts"), "Font.NormalSize"), QStringLiteral("5"));
    EXPECT_EQ(text(treeB(p, "General"), "Font.NormalFont"), QStringLiteral("Arial"));
    EXPECT_EQ(text(treeB(p, "Prize"), "Font.NormalBold"), QStringLiteral("True"));
    EXPECT_EQ(text(treeB(p, "Talkback"), "Font.NormalTextColour"), QStringLiteral("255"));
    EXPECT_EQ(text(treeB(p, "Messages"), "EmailName"), QStringLiteral("Studio"));
    EXPECT_EQ(number(treeB(p, "Messages"), "SMSSendEnabled"), 1);

    r = tool({QStringLiteral("profiles")});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, QStringLiteral("Profile1\n"));
}

TEST(SettingsTool, ProfilesListsEveryProfileAndNothingOnAFreshMachine) {
    ToolRun r = tool({QStringLiteral("profiles")});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, QString());
    EXPECT_FALSE(QFile::exists(RegistryStore::FilePath(HKLM))); // listing writes nothing

    const QString longest(64, QLatin1Char('x'));
    for (const QString& p : {QStringLiteral("Studio 2"), QStringLiteral("Profile1"), longest}) {
        ASSERT_EQ(tool(seedArgs(p, p)).Code, 0) << p.toStdString();
    }
    // The client's chooser answers with the same list.
    r = tool({QStringLiteral("profiles")});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, QStringLiteral("Profile1\nStudio 2\n") + longest + QLatin1Char('\n'));
}

TEST(SettingsTool, SeedSetsTheStationsEmailSender) {
    const QString p = QStringLiteral("Profile1");
    ASSERT_EQ(tool(seedArgs(p) << QStringLiteral("--email-name") << QStringLiteral("Studio")
                               << QStringLiteral("--email-address=studio@localhost"))
                  .Code,
              0);
    cOCSettings s;
    QString name = p;
    ASSERT_TRUE(s.LoadSettings(name));
    EXPECT_EQ(s.EmailName(), QStringLiteral("Studio"));
    EXPECT_EQ(s.EmailAddress(), QStringLiteral("studio@localhost"));

    // Seeding again without them keeps the sender.
    ASSERT_EQ(tool(seedArgs(p)).Code, 0);
    cOCSettings again;
    name = p;
    ASSERT_TRUE(again.LoadSettings(name));
    EXPECT_EQ(again.EmailAddress(), QStringLiteral("studio@localhost"));
}

TEST(SettingsTool, SeedingAgainKeepsTheProfilesOtherValues) {
    ASSERT_EQ(tool(seedArgs(QStringLiteral("Profile1"))).Code, 0);
    {
        cOCSettings s;
        QString name = QStringLiteral("Profile1");
        s.LoadSettings(name);
        s.SetVorelaComputerName(QStringLiteral("playout-1"));
        s.SetScriptScrollSpeed(9);
        s.SetEmailName(QStringLiteral("Breakfast Show"));
        s.GeneralFont()->Name = QStringLiteral("DejaVu Sans");
        ASSERT_TRUE(s.SaveSettings(name));
    }

    // Another spelling of the same name is the same profile.
    const ToolRun r = tool(seedArgs(QStringLiteral("profile1"), QStringLiteral("-new")));
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(tool({QStringLiteral("profiles")}).Out, QStringLiteral("Profile1\n"));

    cOCSettings s;
    QString name = QStringLiteral("Profile1");
    EXPECT_TRUE(s.LoadSettings(name));
    EXPECT_EQ(s.OrlixPath(), folder("Messages-new"));
    EXPECT_EQ(s.TalkbackSimplePath(), folder("Talkback-new"));
    EXPECT_EQ(s.VorelaComputerName(), QStringLiteral("playout-1")); // no --playout given
    EXPECT_EQ(s.ScriptScrollSpeed(), 9);
    EXPECT_EQ(s.EmailName(), QStringLiteral("Breakfast Show"));
    EXPECT_EQ(s.GeneralFont()->Name, QStringLiteral("DejaVu Sans"));
}

TEST(SettingsTool, SeedingRepairsAProfileWhoseFolderCannotBeMade) {
    // A stored folder below a file stops a load before the client's own settings are read;
    // seeding must not then save defaults over them.
    const QString blocker = TestHome() + QStringLiteral("/file");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString p = QStringLiteral("Profile1");
    RegistryStore::WriteString(HKLM,
                               SettingsKeys::Under(SettingsKeys::TreeA(p), SettingsKeys::kDatabase),
                               QStringLiteral("Path"), blocker + QStringLiteral("/db"));
    RegistryStore::WriteString(HKLM, treeB(p, "Messages"), QStringLiteral("EmailName"),
                               QStringLiteral("Drive Time"));

    const ToolRun r = tool(seedArgs(p));
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    cOCSettings s;
    QString name = p;
    EXPECT_TRUE(s.LoadSettings(name));
    EXPECT_EQ(s.OrlixPath(), folder("Messages"));
    EXPECT_EQ(s.EmailName(), QStringLiteral("Drive Time"));
}

TEST(SettingsTool, ARelativeFolderIsStoredFromWhereTheToolRan) {
    const ToolRun r =
        tool({QStringLiteral("seed"), QStringLiteral("Profile1"), QStringLiteral("--database"),
              QStringLiteral("rel/db/"), QStringLiteral("--scripts"),
              QStringLiteral("./rel/scripts"), QStringLiteral("--talkback"), folder("Talkback")},
             TestHome());
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    cOCSettings s;
    QString name;
    EXPECT_TRUE(s.LoadSettings(name));
    EXPECT_EQ(s.OrlixPath(), TestHome() + QStringLiteral("/rel/db"));
    EXPECT_EQ(s.ScriptPath(), TestHome() + QStringLiteral("/rel/scripts"));
}

struct BadSeed {
    const char* what;
    QStringList args;
    int code;
};

TEST(SettingsTool, BadInputIsRefusedAndWritesNothing) {
    const QString blocker = TestHome() + QStringLiteral("/file");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString good = QStringLiteral("Profile1");
    const auto with = [&](int at, const QString& value) {
        QStringList a = seedArgs(good);
        a[at] = value;
        return a;
    };
    const QStringList playout = {QStringLiteral("--playout"), QStringLiteral("playout 1")};
    const std::vector<BadSeed> cases = {
        {"slash", with(1, QStringLiteral("a/b")), 2},
        {"backslash", with(1, QStringLiteral("a\\b")), 2},
        {"dot-dot", with(1, QStringLiteral("..")), 2},
        {"control character", with(1, QStringLiteral("Studio\t2")), 2},
        {"65 characters", with(1, QString(65, QLatin1Char('x'))), 2},
        {"blank name", with(1, QStringLiteral("   ")), 2},
        {"empty database folder", with(3, QString()), 2},
        {"blank scripts folder", with(5, QStringLiteral("  ")), 2},
        {"folder below a file", with(7, blocker + QStringLiteral("/talkback")), 2},
        {"playout with a space", seedArgs(good) + playout, 2},
        {"empty playout", seedArgs(good) << QStringLiteral("--playout="), 2},
        {"no command", {}, 1},
        {"unknown command", {QStringLiteral("frobnicate")}, 1},
        {"profiles with an argument", {QStringLiteral("profiles"), good}, 1},
        {"seed alone", {QStringLiteral("seed")}, 1},
        {"no profile", QStringList{QStringLiteral("seed")} + seedArgs(good).mid(2), 1},
        {"missing folder", seedArgs(good).mid(0, 6), 1},
        {"option without value", seedArgs(good) << QStringLiteral("--playout"), 1},
        {"unknown option", seedArgs(good) << QStringLiteral("--colour") << QStringLiteral("red"),
         1},
        {"option twice", seedArgs(good) << QStringLiteral("--scripts") << folder("Other"), 1},
        {"two profiles", seedArgs(good) << QStringLiteral("Profile2"), 1},
        {"e-mail name with a line break",
         seedArgs(good) << QStringLiteral("--email-name") << QStringLiteral("Studio\nBcc: x@y"), 2},
        {"e-mail address without @",
         seedArgs(good) << QStringLiteral("--email-address") << QStringLiteral("studio.localhost"),
         2},
        {"e-mail address with a space",
         seedArgs(good) << QStringLiteral("--email-address") << QStringLiteral("a b@localhost"), 2},
        {"e-mail name twice",
         seedArgs(good) << QStringLiteral("--email-name") << QStringLiteral("A")
                        << QStringLiteral("--email-name") << QStringLiteral("B"),
         1},
    };
    for (const BadSeed& c : cases) {
        const ToolRun r = tool(c.args);
        EXPECT_EQ(r.Code, c.code) << c.what;
        EXPECT_TRUE(r.Err.startsWith(QStringLiteral("orlix-settings: "))) << c.what;
        if (c.code == 2) {
            EXPECT_EQ(r.Err.count(QLatin1Char('\n')), 1) << c.what << ": " << r.Err.toStdString();
        } else {
            EXPECT_TRUE(r.Err.contains(QStringLiteral("Usage: orlix-settings"))) << c.what;
        }
        EXPECT_EQ(r.Out, QString()) << c.what;
        EXPECT_FALSE(QFile::exists(RegistryStore::FilePath(HKLM))) << c.what;
    }

    const ToolRun help = tool({QStringLiteral("seed"), QStringLiteral("--help")});
    EXPECT_EQ(help.Code, 0);
    EXPECT_TRUE(help.Out.startsWith(QStringLiteral("Usage: orlix-settings")));
}

TEST(SettingsTool, AStoreThatCannotBeWrittenFailsTheSeed) {
    const QString storeFolder = QFileInfo(RegistryStore::FilePath(HKLM)).absolutePath();
    QDir().mkpath(QFileInfo(storeFolder).absolutePath());
    QFile blocker(storeFolder); // a file where the store's folder belongs
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const ToolRun r = tool(seedArgs(QStringLiteral("Profile1")));
    EXPECT_EQ(r.Code, 2);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("could not be written"))) << r.Err.toStdString();
}

TEST(SettingsTool, ASeedLeavesAStoreOfANewerVersionAlone) {
    const QString path = RegistryStore::FilePath(HKLM);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray newer = R"({"format":2,"keys":{},"written-by":"a later version"})";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(newer);
    }
    const ToolRun r = tool(seedArgs(QStringLiteral("Profile1")));
    EXPECT_EQ(r.Code, 2);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("belongs to a newer version of the client; nothing "
                                              "was written")))
        << r.Err.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()), QString::fromUtf8(newer));
}

} // namespace

namespace {
TEST(SettingsTool, PlayoutSetsAndClearsAnExistingProfilesPlayoutComputer) {
    ASSERT_EQ(tool(seedArgs(QStringLiteral("Profile1"))).Code, 0);
    const auto playoutOf = [] {
        cOCSettings settings;
        QString name = QStringLiteral("Profile1");
        EXPECT_TRUE(settings.LoadSettings(name));
        return settings.VorelaComputerName();
    };
    ToolRun r =
        tool({QStringLiteral("playout"), QStringLiteral("profile1"), QStringLiteral("127.0.0.1")});
    EXPECT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out,
              QStringLiteral("The profile 'Profile1' has the playout computer '127.0.0.1'\n"));
    EXPECT_EQ(playoutOf(), QStringLiteral("127.0.0.1"));
    const QString database = folder("Messages");

    r = tool({QStringLiteral("playout"), QStringLiteral("Profile1"), QString()});
    EXPECT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(playoutOf(), QString());
    cOCSettings settings;
    QString name = QStringLiteral("Profile1");
    ASSERT_TRUE(settings.LoadSettings(name));
    EXPECT_EQ(settings.OrlixPath(), database) << "the other values stay";

    const std::pair<QStringList, int> bad[] = {
        {{QStringLiteral("playout"), QStringLiteral("Nobody"), QStringLiteral("host")}, 2},
        {{QStringLiteral("playout"), QStringLiteral("Profile1"), QStringLiteral("a host")}, 2},
        {{QStringLiteral("playout"), QStringLiteral("Profile1")}, 1},
    };
    for (const auto& [args, code] : bad) {
        const ToolRun refused = tool(args);
        EXPECT_EQ(refused.Code, code) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(refused.Out, QString());
    }
    EXPECT_EQ(playoutOf(), QString());
}
} // namespace

TEST(SettingsTool, MachineTextShowsSetsAndRemovesOneText) {
    const QString key = QStringLiteral("SOFTWARE\\Kestova");
    const QString name = QStringLiteral("SystemInformationProgram");
    ToolRun r = tool({QStringLiteral("machine-text"), key, name});
    EXPECT_EQ(r.Code, 2) << "nothing stored yet";
    ASSERT_EQ(
        tool({QStringLiteral("machine-text"), key, name, QStringLiteral("/usr/bin/x y")}).Code, 0);
    r = tool({QStringLiteral("machine-text"), key, name.toLower()});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, QStringLiteral("/usr/bin/x y\n"));
    ASSERT_EQ(tool({QStringLiteral("machine-text"), key, name, QString()}).Code, 0);
    EXPECT_EQ(tool({QStringLiteral("machine-text"), key, name}).Code, 2);
    EXPECT_EQ(tool({QStringLiteral("machine-text"), key}).Code, 1);
    EXPECT_EQ(tool({QStringLiteral("machine-text"), QString(), name}).Code, 1);
}

namespace {
// Numbers that are neither text nor a whole 64-bit number, as another program may write them:
// each keeps its exact text through the tool's rewrite of the file and reads as missing.
TEST(SettingsTool, NumbersThisVersionDoesNotReadKeepTheirExactTextThroughARewrite) {
    ASSERT_EQ(tool(seedArgs(QStringLiteral("Profile1"))).Code, 0);
    const QString path = RegistryStore::FilePath(HKLM);
    const struct {
        const char* name;
        const char* json; // as written in the file
        const char* kept; // the text that must stay
    } cases[] = {
        {"Big", "12345678901234567890", "12345678901234567890"},
        {"Tenth", "0.1000000000000000055511151231257827", "0.1000000000000000055511151231257827"},
        {"Huge", "1e400", "1e400"},
        {"Tiny", "-2.5E-400", "-2.5E-400"},
        {"Fraction", "2.50", "2.50"},
        {"Nested", R"({"list": [1E+999, 0.30000000000000004441, {"deep": 18446744073709551616}]})",
         "18446744073709551616"},
        {"NestedToo", R"([-1e400])", "-1e400"},
    };
    QByteArray odd = R"("Software\\Odd": {)";
    for (const auto& c : cases) {
        odd += '"' + QByteArray(c.name) + R"(": )" + c.json + ',';
    }
    odd += R"("Plain": 7}, "Deep\\Key": {"Nested": [1e-999]},)";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
        f.close();
        const qsizetype keys = bytes.indexOf(R"("keys": {)");
        ASSERT_GE(keys, 0) << bytes.constData();
        bytes.insert(keys + 9, odd);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    const ToolRun r =
        tool({QStringLiteral("playout"), QStringLiteral("Profile1"), QStringLiteral("127.0.0.1")});
    EXPECT_EQ(r.Code, 0) << r.Err.toStdString();
    cOCSettings settings;
    QString name = QStringLiteral("Profile1");
    ASSERT_TRUE(settings.LoadSettings(name));
    EXPECT_EQ(settings.VorelaComputerName(), QStringLiteral("127.0.0.1"));

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray after = f.readAll();
    for (const auto& c : cases) {
        EXPECT_TRUE(after.contains(c.kept)) << c.name << "\n" << after.constData();
        const QString key = QStringLiteral("Software\\Odd");
        EXPECT_EQ(RegistryStore::ReadNumber(HKLM, key, QLatin1String(c.name), -99), -99) << c.name;
        EXPECT_EQ(RegistryStore::ReadString(HKLM, key, QLatin1String(c.name), QStringLiteral("-")),
                  QStringLiteral("-"))
            << c.name;
    }
    for (const char* nested : {"1E+999", "0.30000000000000004441", "1e-999"}) {
        EXPECT_TRUE(after.contains(nested)) << nested;
    }
    EXPECT_EQ(RegistryStore::ReadNumber(HKLM, QStringLiteral("Software\\Odd"),
                                        QStringLiteral("Plain"), -99),
              7);
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath())
                  .entryList({QFileInfo(path).fileName() + QStringLiteral(".damaged*")})
                  .size(),
              0);
}
} // namespace
