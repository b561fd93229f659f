#include "settings/settingsrules.h"

#include <gtest/gtest.h>

#include <vector>

using namespace SettingsRules;

namespace {

TEST(SettingsRulesTest, KeyFiltersDropOnlyTheirCharacters) {
    struct Case {
        int (*filter)(int);
        const char* name;
        int character;
        int expected;
    };
    const Case cases[] = {
        {ComputerNameKey, "computer", ' ', 0},   {ComputerNameKey, "computer", 'a', 'a'},
        {ComputerNameKey, "computer", '@', '@'}, {ComputerNameKey, "computer", '\t', '\t'},
        {EmailAddressKey, "address", ' ', 0},    {EmailAddressKey, "address", '@', '@'},
        {EmailAddressKey, "address", '"', '"'},  {EmailNameKey, "name", '@', 0},
        {EmailNameKey, "name", '"', 0},          {EmailNameKey, "name", ' ', ' '},
        {EmailNameKey, "name", 0x00E9, 0x00E9},  {EmailNameKey, "name", '\'', '\''},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.filter(c.character), c.expected) << c.name << " " << c.character;
    }
}

TEST(SettingsRulesTest, TrimBlanksTakesSpacesOnly) {
    EXPECT_EQ(TrimBlanks(QStringLiteral("  x  ")), QStringLiteral("x"));
    EXPECT_EQ(TrimBlanks(QStringLiteral("   ")), QString());
    EXPECT_EQ(TrimBlanks(QStringLiteral("\tx ")), QStringLiteral("\tx"));
    EXPECT_EQ(TrimBlanks(QStringLiteral("a b")), QStringLiteral("a b"));
}

TEST(SettingsRulesTest, SenderRules) {
    struct Case {
        const char* name;
        const char* address;
        bool valid;
    };
    const Case cases[] = {
        {"Studio", "studio@", false}, // the "@" is the last character
        {"Studio", "a@b@", true},     // only the first "@" counts
        {"Studio", "studio@example.org", true},
        {"   ", "studio@example.org", false}, // a name of blanks
        {"Studio", "   ", false},
        {"Studio", "studio", false}, // no "@"
        {"Studio", "  s@x", true},   // leading blanks as typed
        {"Studio", "@", false},
        {"", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidSender(QString::fromUtf8(c.name), QString::fromUtf8(c.address)), c.valid)
            << c.name << " / " << c.address;
    }
}

Entries goodEntries() {
    Entries e;
    e.emailSendEnabled = true;
    e.emailName = QStringLiteral("Studio");
    e.emailAddress = QStringLiteral("studio@example.org");
    e.talkbackFolder = QStringLiteral("/t");
    e.databaseFolder = QStringLiteral("/d");
    e.scriptFolder = QStringLiteral("/s");
    return e;
}

// Answers the folder checks from a fixed outcome per folder and records what was asked.
struct FolderAnswers {
    FolderOutcome talkback = FolderOutcome::Exists;
    FolderOutcome database = FolderOutcome::Exists;
    std::vector<std::pair<Folder, QString>> asked;

    FolderCheck check() {
        return [this](Folder folder, const QString& path) {
            asked.emplace_back(folder, path);
            return folder == Folder::Talkback ? talkback : database;
        };
    }
};

TEST(SettingsRulesTest, ValidationStopsAtTheFirstRefusedEntry) {
    const QString senderMessage =
        QStringLiteral("You must enter a valid Name and E-Mail address to use");
    const QString talkbackMessage =
        QStringLiteral("You must enter a valid shared folder for the Talkback feature");
    const QString databaseMessage =
        QStringLiteral("You must enter the a valid folder to store the Message Database in");
    const QString scriptsMessage =
        QStringLiteral("You must enter the a valid folder to store the Scripts in");

    struct Case {
        const char* what;
        std::function<void(Entries&, FolderAnswers&)> change;
        bool passes;
        std::optional<Tab> tab;
        QString message;
    };
    const std::vector<Case> cases = {
        {"all good", [](Entries&, FolderAnswers&) {}, true, {}, {}},
        {"address ends in its only @",
         [](Entries& e, FolderAnswers&) { e.emailAddress = QStringLiteral("studio@"); }, false,
         Tab::Messaging, senderMessage},
        {"a second @ at the end",
         [](Entries& e, FolderAnswers&) { e.emailAddress = QStringLiteral("a@b@"); },
         true,
         {},
         {}},
        {"blank name", [](Entries& e, FolderAnswers&) { e.emailName = QStringLiteral("  "); },
         false, Tab::Messaging, senderMessage},
        {"sending off, empty sender",
         [](Entries& e, FolderAnswers&) {
             e.emailSendEnabled = false;
             e.emailName.clear();
             e.emailAddress.clear();
         },
         true,
         {},
         {}},
        {"blank talkback folder",
         [](Entries& e, FolderAnswers&) { e.talkbackFolder = QStringLiteral("   "); }, false,
         Tab::Talkback, talkbackMessage},
        {"database and scripts empty: only the database",
         [](Entries& e, FolderAnswers&) {
             e.databaseFolder.clear();
             e.scriptFolder.clear();
         },
         false, Tab::General, databaseMessage},
        {"scripts empty", [](Entries& e, FolderAnswers&) { e.scriptFolder = QStringLiteral(" "); },
         false, Tab::Scripts, scriptsMessage},
        {"talkback created",
         [](Entries&, FolderAnswers& a) { a.talkback = FolderOutcome::Created; },
         true,
         {},
         {}},
        {"talkback declined",
         [](Entries&, FolderAnswers& a) { a.talkback = FolderOutcome::Declined; },
         false,
         {},
         {}},
        {"talkback not made",
         [](Entries&, FolderAnswers& a) { a.talkback = FolderOutcome::Failed; }, false,
         Tab::Talkback, QStringLiteral("The folder '/t' could not be created.")},
        {"database declined",
         [](Entries&, FolderAnswers& a) { a.database = FolderOutcome::Declined; },
         false,
         {},
         {}},
        {"database not made",
         [](Entries&, FolderAnswers& a) { a.database = FolderOutcome::Failed; }, false,
         Tab::General, QStringLiteral("The folder '/d' could not be created.")},
    };
    for (const Case& c : cases) {
        Entries entries = goodEntries();
        FolderAnswers answers;
        c.change(entries, answers);
        const auto refusal = Validate(entries, answers.check());
        ASSERT_EQ(!refusal.has_value(), c.passes) << c.what;
        if (refusal) {
            EXPECT_EQ(refusal->tab, c.tab) << c.what;
            EXPECT_EQ(refusal->message, c.message) << c.what;
        }
    }
}

TEST(SettingsRulesTest, FoldersAreCheckedTrimmedInOrderAndScriptsNever) {
    Entries entries = goodEntries();
    entries.talkbackFolder = QStringLiteral(" /t  ");
    entries.databaseFolder = QStringLiteral("/d ");
    entries.scriptFolder = QStringLiteral("/missing");
    FolderAnswers answers;
    EXPECT_FALSE(Validate(entries, answers.check()).has_value());
    ASSERT_EQ(answers.asked.size(), 2U);
    EXPECT_EQ(answers.asked[0], std::make_pair(Folder::Talkback, QStringLiteral("/t")));
    EXPECT_EQ(answers.asked[1], std::make_pair(Folder::Database, QStringLiteral("/d")));

    // A refused sender asks about no folder.
    answers.asked.clear();
    entries.emailAddress = QStringLiteral("x");
    EXPECT_TRUE(Validate(entries, answers.check()).has_value());
    EXPECT_TRUE(answers.asked.empty());

    // A declined talkback folder does not go on to the database.
    answers.asked.clear();
    entries.emailAddress = QStringLiteral("x@y");
    answers.talkback = FolderOutcome::Declined;
    EXPECT_TRUE(Validate(entries, answers.check()).has_value());
    EXPECT_EQ(answers.asked.size(), 1U);
}

TEST(SettingsRulesTest, MissingFolderQuestions) {
    EXPECT_EQ(MissingFolderQuestion(Folder::Talkback, QStringLiteral("/t")),
              QStringLiteral("The Talkback shared folder ('/t') does not exist.\n\n"
                             "Do you want it to be created for you?"));
    EXPECT_EQ(MissingFolderQuestion(Folder::Database, QStringLiteral("/d")),
              QStringLiteral("The folder to store the message database in ('/d') does not "
                             "exist.\n\nDo you want it to be created for you?"));
}

} // namespace
