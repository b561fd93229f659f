// orlix-settings: lists the client profiles of this computer and writes one with its three
// shared folders, so that a first start finds a usable profile before the settings dialog
// exists.

#include "core/profile/cocsettings.h"
#include "core/profile/settingskeys.h"
#include "platform/system/filesystemhelper.h"
#include "platform/system/platformlog.h"
#include "platform/system/profilemanager.h"
#include "platform/system/registrystore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace {
constexpr int kUsage = 1;
constexpr int kRefused = 2;

const char* const kHelp =
    R"(Usage: orlix-settings COMMAND [ARGUMENTS]

Commands:
  profiles            List the client profiles of this computer, one a line.
  seed PROFILE --database DIR --scripts DIR --talkback DIR [--playout HOST]
       [--email-name NAME] [--email-address ADDRESS]
                      Write the profile, made when new, with its three shared folders (the
                      messages database, the presenter scripts, the talkback files), each
                      made when missing. --playout sets the playout computer; --email-name
                      and --email-address the station's e-mail sender. Every other setting
                      keeps its value, or is written with its default when new.
  playout PROFILE HOST
                      Set the playout computer of an existing profile; "" clears it.
  machine-text KEY NAME [TEXT]
                      Show the text value NAME of the machine store's KEY, or set it to
                      TEXT; "" removes it. The about window's system-information program is
                      "SOFTWARE\Kestova" SystemInformationProgram.

The settings are kept in the machine-wide store, which ORLIX_HOME relocates as it does for
the client. Exit status: 0 done, 1 usage error, 2 refused or failed.
)";

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}
QTextStream& err() {
    static QTextStream s(stderr);
    return s;
}

// Set when the machine store turns out to belong to a newer version of the client, which
// this one reads but never writes.
bool& newerStore() {
    static bool newer = false;
    return newer;
}

int usage(const QString& why) {
    err() << "orlix-settings: " << why << "\n\n" << kHelp;
    return kUsage;
}

int refuse(const QString& why) {
    err() << "orlix-settings: " << why << "\n";
    return kRefused;
}

struct SeedRequest {
    QString profile;
    QString database;
    QString scripts;
    QString talkback;
    std::optional<QString> playout;
    std::optional<QString> emailName;
    std::optional<QString> emailAddress;
};

// Fills the request from "PROFILE --name VALUE ..." (or "--name=VALUE"); "" when it is
// complete, else what is wrong with the command line.
QString parseSeed(const QStringList& args, SeedRequest& request) {
    bool haveProfile = false;
    bool haveDatabase = false;
    bool haveScripts = false;
    bool haveTalkback = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (!arg.startsWith(QStringLiteral("--"))) {
            if (haveProfile) {
                return QStringLiteral("seed takes one profile name, \"%1\" is one too many")
                    .arg(arg);
            }
            request.profile = arg;
            haveProfile = true;
            continue;
        }
        QString option = arg;
        QString value;
        const qsizetype equals = arg.indexOf(QLatin1Char('='));
        if (equals >= 0) {
            option = arg.left(equals);
            value = arg.mid(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args.at(++i);
        } else {
            return QStringLiteral("%1 needs a value").arg(arg);
        }
        bool* seen = nullptr;
        QString* target = nullptr;
        if (option == QLatin1String("--database")) {
            seen = &haveDatabase;
            target = &request.database;
        } else if (option == QLatin1String("--scripts")) {
            seen = &haveScripts;
            target = &request.scripts;
        } else if (option == QLatin1String("--talkback")) {
            seen = &haveTalkback;
            target = &request.talkback;
        } else if (option == QLatin1String("--playout")) {
            if (request.playout) {
                return QStringLiteral("--playout is given twice");
            }
            request.playout = value;
            continue;
        } else if (option == QLatin1String("--email-name") ||
                   option == QLatin1String("--email-address")) {
            std::optional<QString>& slot =
                option == QLatin1String("--email-name") ? request.emailName : request.emailAddress;
            if (slot) {
                return QStringLiteral("%1 is given twice").arg(option);
            }
            slot = value;
            continue;
        } else {
            return QStringLiteral("the option \"%1\" is unknown").arg(option);
        }
        if (*seen) {
            return QStringLiteral("%1 is given twice").arg(option);
        }
        *seen = true;
        *target = value;
    }
    if (!haveProfile) {
        return QStringLiteral("seed needs a profile name");
    }
    if (!haveDatabase || !haveScripts || !haveTalkback) {
        return QStringLiteral("seed needs --database, --scripts and --talkback");
    }
    return {};
}

bool holdsSpaceOrControl(const QString& text) {
    for (const QChar c : text) {
        if (c.isSpace() || c.category() == QChar::Other_Control ||
            c.category() == QChar::Other_Format) {
            return true;
        }
    }
    return false;
}

bool holdsControl(const QString& text) {
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format) {
            return true;
        }
    }
    return false;
}

int profiles() {
    for (const QString& name : ProfileManager::Profiles(SettingsKeys::ProfilesB())) {
        out() << name << "\n";
    }
    return 0;
}

int seed(const QStringList& args) {
    SeedRequest request;
    const QString wrong = parseSeed(args, request);
    if (!wrong.isEmpty()) {
        return usage(wrong);
    }

    // The client trims the name it is given before it checks it.
    QString profile = request.profile.trimmed();
    QString reason;
    if (!ProfileManager::IsValidProfileName(profile, &reason)) {
        return refuse(
            QStringLiteral("the profile name \"%1\" is refused: %2").arg(request.profile, reason));
    }
    const struct {
        const char* option;
        QString* path;
    } folders[] = {{"--database", &request.database},
                   {"--scripts", &request.scripts},
                   {"--talkback", &request.talkback}};
    for (const auto& f : folders) {
        if (f.path->trimmed().isEmpty()) {
            return refuse(QStringLiteral("the folder of %1 is empty").arg(f.option));
        }
    }
    if (request.playout && (request.playout->isEmpty() || holdsSpaceOrControl(*request.playout))) {
        return refuse(QStringLiteral("the playout computer \"%1\" is not a computer name")
                          .arg(*request.playout));
    }
    // The sender goes into a header line: no line break or control character may ride in it.
    if (request.emailName && holdsControl(*request.emailName)) {
        return refuse(QStringLiteral("the e-mail name holds a control character"));
    }
    if (request.emailAddress &&
        (request.emailAddress->isEmpty() || holdsSpaceOrControl(*request.emailAddress) ||
         !request.emailAddress->contains(QLatin1Char('@')))) {
        return refuse(QStringLiteral("the e-mail address \"%1\" is not an address")
                          .arg(*request.emailAddress));
    }
    // The client would take a relative folder from wherever it was started.
    for (const auto& f : folders) {
        *f.path = QDir::cleanPath(QFileInfo(*f.path).absoluteFilePath());
        if (!FileSystemHelper::CreateFolder(*f.path, 0)) {
            return refuse(QStringLiteral("the folder \"%1\" of %2 cannot be made")
                              .arg(*f.path, QLatin1String(f.option)));
        }
    }
    // An existing profile keeps the spelling it was made with.
    const QStringList existing = ProfileManager::Profiles(SettingsKeys::ProfilesB());
    for (const QString& p : existing) {
        if (p.compare(profile, Qt::CaseInsensitive) == 0) {
            profile = p;
        }
    }

    const QString store = RegistryStore::FilePath(RegistryRoot::LocalMachine);
    const auto failedWrite = [&]() {
        return refuse(
            newerStore()
                ? QStringLiteral("the machine store \"%1\" belongs to a newer version "
                                 "of the client; nothing was written")
                      .arg(store)
                : QStringLiteral("the machine store \"%1\" could not be written").arg(store));
    };
    if (!ProfileManager::CreateProfile(SettingsKeys::ProfilesB(), profile)) {
        return failedWrite();
    }
    cOCSettings settings;
    QString name = profile;
    if (!settings.LoadSettings(name)) {
        // A stored folder that cannot be made stops the load before the client's own
        // settings are read; saving then would replace them with defaults. The new folders
        // go in first so that the load reads everything.
        bool stopped = false;
        for (const QString& old :
             {settings.OrlixPath(), settings.ScriptPath(), settings.TalkbackSimplePath()}) {
            stopped = stopped || (!old.isEmpty() && !FileSystemHelper::FolderExists(old));
        }
        if (stopped) {
            using namespace SettingsKeys;
            const QString a = TreeA(profile);
            const auto put = [&](const char* sub, const char* value, const QString& path) {
                return RegistryStore::WriteString(RegistryRoot::LocalMachine, Under(a, sub),
                                                  QLatin1String(value), path);
            };
            if (!put(kDatabase, kPath, request.database) ||
                !put(kScripts, kPath, request.scripts) ||
                !put(kTalkback, kSimplePath, request.talkback)) {
                return failedWrite();
            }
            settings = cOCSettings();
            settings.LoadSettings(name);
        }
    }
    settings.SetOrlixPath(request.database);
    settings.SetScriptPath(request.scripts);
    settings.SetTalkbackSimplePath(request.talkback);
    if (request.playout) {
        settings.SetVorelaComputerName(*request.playout);
    }
    if (request.emailName) {
        settings.SetEmailName(*request.emailName);
    }
    if (request.emailAddress) {
        settings.SetEmailAddress(*request.emailAddress);
    }
    if (!settings.SaveSettings(name)) {
        return failedWrite();
    }
    out() << "The profile '" << profile << "' is in '" << store << "'\n";
    return 0;
}

int playout(const QStringList& args) {
    if (args.size() != 2) {
        return usage(QStringLiteral("playout takes a profile name and a computer name"));
    }
    const QString& host = args.at(1);
    if (!host.isEmpty() && holdsSpaceOrControl(host)) {
        return refuse(
            QStringLiteral("the playout computer \"%1\" is not a computer name").arg(host));
    }
    QString profile;
    for (const QString& p : ProfileManager::Profiles(SettingsKeys::ProfilesB())) {
        if (p.compare(args.at(0).trimmed(), Qt::CaseInsensitive) == 0) {
            profile = p;
        }
    }
    if (profile.isEmpty()) {
        return refuse(QStringLiteral("there is no profile \"%1\"").arg(args.at(0)));
    }
    cOCSettings settings;
    QString name = profile;
    if (!settings.LoadSettings(name)) {
        // Saving what could not be read whole would replace the profile's values.
        return refuse(
            QStringLiteral("the profile \"%1\" cannot be loaded; seed it first").arg(profile));
    }
    settings.SetVorelaComputerName(host);
    if (!settings.SaveSettings(name)) {
        return refuse(QStringLiteral("the machine store \"%1\" could not be written")
                          .arg(RegistryStore::FilePath(RegistryRoot::LocalMachine)));
    }
    out() << "The profile '" << profile << "' has the playout computer '" << host << "'\n";
    return 0;
}

int machineText(const QStringList& args) {
    if (args.size() != 2 && args.size() != 3) {
        return usage(QStringLiteral("machine-text takes a key, a value name and maybe a text"));
    }
    const QString& key = args.at(0);
    const QString& name = args.at(1);
    if (key.trimmed().isEmpty() || name.trimmed().isEmpty()) {
        return usage(QStringLiteral("machine-text needs a key and a value name"));
    }
    if (args.size() == 2) {
        bool found = false;
        const QString value =
            RegistryStore::ReadString(RegistryRoot::LocalMachine, key, name, QString(), &found);
        if (!found) {
            return refuse(QStringLiteral("there is no text value \"%1\" in \"%2\"").arg(name, key));
        }
        out() << value << "\n";
        return 0;
    }
    const QString& text = args.at(2);
    const bool ok = text.isEmpty()
                        ? RegistryStore::DeleteValue(RegistryRoot::LocalMachine, key, name)
                        : RegistryStore::WriteString(RegistryRoot::LocalMachine, key, name, text);
    if (!ok && !text.isEmpty()) {
        return refuse(QStringLiteral("the machine store \"%1\" could not be written")
                          .arg(RegistryStore::FilePath(RegistryRoot::LocalMachine)));
    }
    return 0;
}

int run(const QStringList& args) {
    if (args.isEmpty()) {
        return usage(QStringLiteral("a command is needed"));
    }
    const QString& command = args.at(0);
    if (command == QLatin1String("help") || args.contains(QStringLiteral("--help"))) {
        out() << kHelp;
        return 0;
    }
    if (command == QLatin1String("profiles")) {
        return args.size() == 1 ? profiles() : usage(QStringLiteral("profiles takes no arguments"));
    }
    if (command == QLatin1String("seed")) {
        return seed(args.mid(1));
    }
    if (command == QLatin1String("playout")) {
        return playout(args.mid(1));
    }
    if (command == QLatin1String("machine-text")) {
        return machineText(args.mid(1));
    }
    return usage(QStringLiteral("the command \"%1\" is unknown").arg(command));
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    SetPlatformLogHandler([](const QString& text, int) { err() << text << "\n"; });
    RegistryStore::SetNewerVersionHandler([](const QString&) { newerStore() = true; });
    const int code = run(QCoreApplication::arguments().mid(1));
    out().flush();
    err().flush();
    return code;
}
