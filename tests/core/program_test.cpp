#include "core/program.h"

#include "core/profile/cocsettings.h"
#include "core/startupoptions.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "support/testhome.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {
struct OptionsCase {
    const char* commandLine;
    const char* text;
    const char* profile;
    const char* user;
    std::optional<int> debugLevel;
    bool noPrevCheck;
    bool noSettings;
    bool networkServer;
};

// The switches are read once, here; the rest of the program reads the record.
TEST(StartupOptions, ReadsEachSwitchWhateverItsCase) {
    const std::vector<OptionsCase> cases = {
        {"", " ", "", "", std::nullopt, false, false, false},
        {"/NOPREVCHECK /Profile=Studio /User=admin", "/NOPREVCHECK /PROFILE=STUDIO /USER=ADMIN ",
         "Studio", "admin", std::nullopt, true, false, false},
        {"/noprevcheck /nosettings /vorelanet", "/NOPREVCHECK /NOSETTINGS /VORELANET ", "", "",
         std::nullopt, true, true, true},
        {"/VORELANETWORK", "/VORELANETWORK ", "", "", std::nullopt, false, false, true},
        {"/profile=\"Studio 2\" /debug=normal", "/PROFILE=\"STUDIO 2\" /DEBUG=NORMAL ", "Studio 2",
         "", 5, false, false, false},
        {"/DEBUG", "/DEBUG ", "", "", 10, false, false, false},
        {"/DEBUG=OFF /User=Ann", "/DEBUG=OFF /USER=ANN ", "", "Ann", 0, false, false, false},
        {"/Profile /User=", "/PROFILE /USER= ", "", "", std::nullopt, false, false, false},
    };
    for (const OptionsCase& c : cases) {
        SCOPED_TRACE(c.commandLine);
        const StartupOptions o = StartupOptions::Parse(QString::fromUtf8(c.commandLine));
        EXPECT_EQ(o.Text, QString::fromUtf8(c.text));
        EXPECT_EQ(o.Profile, QString::fromUtf8(c.profile));
        EXPECT_EQ(o.User, QString::fromUtf8(c.user));
        EXPECT_EQ(o.DebugLevel, c.debugLevel);
        EXPECT_EQ(o.NoPrevCheck, c.noPrevCheck);
        EXPECT_EQ(o.NoSettings, c.noSettings);
        EXPECT_EQ(o.PlayoutNetworkServer, c.networkServer);
    }
}

TEST(Program, ATestsOwnProgramStandsInWhileItLives) {
    Program& outer = Program::Instance();
    {
        Program own(StartupOptions::Parse(QStringLiteral("/User=ann")));
        EXPECT_EQ(&Program::Instance(), &own);
        EXPECT_EQ(Program::Current(), &own);
        EXPECT_EQ(Program::Instance().Options().User, QStringLiteral("ann"));
    }
    EXPECT_EQ(&Program::Instance(), &outer);
    EXPECT_TRUE(outer.Options().User.isEmpty());
}

TEST(Program, TellsEveryChangeOfTheDatabase) {
    Program& program = Program::Instance();
    std::vector<OrlixDatabase*> told;
    QObject::connect(&program, &Program::DatabaseChanged,
                     [&told](OrlixDatabase* db) { told.push_back(db); });
    auto db = std::make_unique<OrlixDatabase>();
    OrlixDatabase* given = db.get();
    program.SetDatabase(std::move(db));
    EXPECT_EQ(program.Database(), given);
    std::unique_ptr<OrlixDatabase> back = program.TakeDatabase();
    EXPECT_EQ(back.get(), given);
    EXPECT_EQ(program.Database(), nullptr);
    EXPECT_EQ(program.TakeDatabase(), nullptr); // nothing to hand back: nothing told
    program.SetDatabase(nullptr);
    EXPECT_EQ(told, (std::vector<OrlixDatabase*>{given, nullptr}));
}

TEST(Program, HoldsTheServicesItIsGiven) {
    Program& program = Program::Instance();
    EXPECT_EQ(program.Directory(), nullptr);
    EXPECT_EQ(program.Settings(), nullptr);
    EXPECT_EQ(program.MainWindow(), nullptr);
    EXPECT_TRUE(program.ProfileName().isEmpty());
    EXPECT_EQ(program.DataFolder(), TestHome() + QStringLiteral("/Kestova/Orlix"));

    auto directory = std::make_unique<KVDirectory>();
    KVDirectory* given = directory.get();
    program.SetDirectory(std::move(directory));
    EXPECT_EQ(program.Directory(), given);

    program.SettingsSlot() = std::make_unique<cOCSettings>();
    EXPECT_EQ(program.Settings(), program.SettingsSlot().get());

    program.SetProfile(QStringLiteral("Studio"), QStringLiteral("/profiles/Studio"));
    EXPECT_EQ(program.ProfileName(), QStringLiteral("Studio"));
    EXPECT_EQ(program.ProfileFolder(), QStringLiteral("/profiles/Studio"));

    {
        QWidget window;
        program.SetMainWindow(&window);
        EXPECT_EQ(program.MainWindow(), &window);
    }
    EXPECT_EQ(program.MainWindow(), nullptr); // the window went: the program forgets it
}
} // namespace
