#include "core/debuglog.h"

#include "core/program.h"
#include "platform/system/appinfo.h"
#include "platform/system/appservices.h"
#include "platform/system/folders.h"
#include "platform/system/osversioninfo.h"
#include "platform/system/platformlog.h"
#include "platform/system/processmemory.h"
#include "platform/system/registrystore.h"
#include "platform/system/terminaltext.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTime>

namespace {
struct LogState {
    int depth = 0;
    bool registryRead = false;
};

LogState& state() {
    static LogState s;
    return s;
}

const QString kKestovaKey = QStringLiteral("SOFTWARE\\Kestova");

// Entries quote what the playout system, listeners and files sent: a megabyte line must not
// grow the log by a megabyte, and nothing in it may ring, colour, reorder or break the line
// of whoever reads the log on a terminal.
constexpr qsizetype kMaxLoggedCharacters = 1000;

QString loggedText(const QString& text) {
    if (text.size() <= kMaxLoggedCharacters) {
        return TerminalText(text);
    }
    qsizetype keep = kMaxLoggedCharacters;
    if (text.at(keep - 1).isHighSurrogate()) {
        --keep; // never half of a character outside the basic plane
    }
    return TerminalText(text.left(keep)) + QStringLiteral(" ... (%1 characters)").arg(text.size());
}

QString defaultFolder() {
    return Folders::UserState() + QStringLiteral("/Kestova/Orlix/log/");
}

QString logFolder() {
    AppServices& app = AppServices::Instance();
    if (app.DebugFolder().isEmpty() && !state().registryRead) {
        state().registryRead = true;
        QString path = RegistryStore::ReadString(RegistryRoot::LocalMachine, kKestovaKey,
                                                 QStringLiteral("DebugPath"), QString());
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!path.isEmpty()) {
            if (!path.endsWith(QLatin1Char('/'))) {
                path += QLatin1Char('/');
            }
            app.SetDebugFolder(path);
        }
    }
    if (!app.DebugFolder().isEmpty()) {
        return app.DebugFolder();
    }
    const QString folder = defaultFolder();
    QDir().mkpath(folder);
    return folder;
}
} // namespace

QString DebugLogFilePath() {
    return logFolder() + AppInfo::EXEName() + QLatin1Char('.') +
           QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".log");
}

void DebugLog(const QString& text, int level, int depthChange) {
    const int logLevel = AppServices::Instance().DebugLevel();
    if (logLevel == 0) {
        return;
    }
    if (logLevel != -1) {
        const int lineLevel = level == -1 ? 5 : level;
        if (lineLevel > logLevel) {
            return;
        }
    }
    LogState& s = state();
    if (depthChange == LogOutdent) {
        s.depth = s.depth > 0 ? s.depth - 1 : 0;
    } else if (depthChange == LogResetDepth) {
        s.depth = 0;
    }

    QString line = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    OsVersionRecord os;
    OsVersionInfo::GetVersionInfo(os);
    if (os.PlatformId == OsVersionInfo::kPlatformWithMemoryFigures && logLevel >= 10) {
        qint64 workingSet = 0;
        qint64 pageFile = 0;
        GetProcessMemory(workingSet, pageFile);
        line += QLatin1Char(' ') +
                AppServices::PadLeft(QString::number(workingSet), 10, QStringLiteral(" "));
        line += QLatin1Char(' ') +
                AppServices::PadLeft(QString::number(pageFile), 10, QStringLiteral(" "));
    }
    line += QString(4 * s.depth, QLatin1Char(' ')) + QLatin1Char(' ') + loggedText(text);

    QFile file(DebugLogFilePath());
    if (file.open(QIODevice::Append | QIODevice::WriteOnly)) {
        file.write((line + QStringLiteral("\r\n")).toUtf8());
    }

    if (depthChange == LogIndent) {
        ++s.depth;
    }
}

void GetProcessMemory(qint64& workingSet, qint64& pageFile) {
    ReadProcessMemory(workingSet, pageFile);
}

void InitDebug() {
    AppServices& app = AppServices::Instance();
    app.SetAppObject(QCoreApplication::instance());
    SetPlatformLogHandler([](const QString& text, int level) { DebugLog(text, level); });
    if (app.DebugLevel() != 0) {
        return;
    }
    const Program* program = Program::Current();
    const std::optional<int> chosen = program ? program->Options().DebugLevel : std::nullopt;
    const int level = chosen ? *chosen
                             : RegistryStore::ReadNumber(RegistryRoot::LocalMachine, kKestovaKey,
                                                         QStringLiteral("DebugMode"), 0);
    app.SetDebugLevel(level);
}

void ResetDebugLogState() {
    state() = LogState{};
}
int CurrentLogDepth() {
    return state().depth;
}
