#include "settings/settingsrules.h"

namespace SettingsRules {

QString TrimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' ')) {
        ++first;
    }
    while (last > first && text.at(last - 1) == QLatin1Char(' ')) {
        --last;
    }
    return text.mid(first, last - first);
}

int ComputerNameKey(int character) {
    return character == ' ' ? 0 : character;
}

int EmailAddressKey(int character) {
    return character == ' ' ? 0 : character;
}

int EmailNameKey(int character) {
    return character == '@' || character == '"' ? 0 : character;
}

bool IsValidSender(const QString& name, const QString& address) {
    if (TrimBlanks(name).isEmpty() || TrimBlanks(address).isEmpty()) {
        return false;
    }
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    return at >= 0 && at != address.size() - 1;
}

namespace {
Tab tabOf(Folder folder) {
    return folder == Folder::Talkback ? Tab::Talkback : Tab::General;
}

// Nothing when the folder is there (or was made); otherwise how the click ends.
std::optional<Refusal> ensure(Folder folder, const QString& path, const FolderCheck& check) {
    switch (check(folder, path)) {
    case FolderOutcome::Exists:
    case FolderOutcome::Created:
        return std::nullopt;
    case FolderOutcome::Declined:
        return Refusal{};
    case FolderOutcome::Failed:
        return Refusal{tabOf(folder), FolderNotCreatedMessage(path)};
    }
    return Refusal{};
}
} // namespace

std::optional<Refusal> Validate(const Entries& entries, const FolderCheck& ensureFolder) {
    if (entries.emailSendEnabled && !IsValidSender(entries.emailName, entries.emailAddress)) {
        return Refusal{Tab::Messaging,
                       QStringLiteral("You must enter a valid Name and E-Mail address to use")};
    }
    const QString talkback = TrimBlanks(entries.talkbackFolder);
    if (talkback.isEmpty()) {
        return Refusal{Tab::Talkback, QStringLiteral("You must enter a valid shared folder for "
                                                     "the Talkback feature")};
    }
    if (auto stop = ensure(Folder::Talkback, talkback, ensureFolder)) {
        return stop;
    }
    const QString database = TrimBlanks(entries.databaseFolder);
    if (database.isEmpty()) {
        return Refusal{Tab::General, QStringLiteral("You must enter the a valid folder to store "
                                                    "the Message Database in")};
    }
    if (TrimBlanks(entries.scriptFolder).isEmpty()) {
        return Refusal{Tab::Scripts,
                       QStringLiteral("You must enter the a valid folder to store the Scripts in")};
    }
    return ensure(Folder::Database, database, ensureFolder);
}

QString MissingFolderQuestion(Folder folder, const QString& path) {
    const QString lead = folder == Folder::Talkback
                             ? QStringLiteral("The Talkback shared folder ('")
                             : QStringLiteral("The folder to store the message database in ('");
    return lead + path +
           QStringLiteral("') does not exist.\n\nDo you want it to be created for you?");
}

QString FolderNotCreatedMessage(const QString& path) {
    return QStringLiteral("The folder '") + path + QStringLiteral("' could not be created.");
}

} // namespace SettingsRules
