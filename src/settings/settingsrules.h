#pragma once

#include <QString>

#include <functional>
#include <optional>

// The rules of the program settings dialog that need no window: what its text boxes take,
// and the checks OK makes, in their order, before anything is written.
namespace SettingsRules {

// The tabs of the dialog, in their order.
enum class Tab { General = 0, VorelaFonts = 1, Scripts = 2, Messaging = 3, Talkback = 4 };

// The text without leading and trailing blanks (spaces only; other white space is kept).
QString TrimBlanks(const QString& text);

// Key filters of the text boxes: the character to use, or 0 to drop it. A computer name and
// an e-mail address hold no blank; a display name holds no "@" and no double quote, which
// would break the address text it is put in.
int ComputerNameKey(int character);
int EmailAddressKey(int character);
int EmailNameKey(int character);

// A sender the messages can go out with: a name and an address that are not blank, with an
// "@" in the address as typed whose first one is not its last character.
bool IsValidSender(const QString& name, const QString& address);

// What the user entered, as the controls hold it.
struct Entries {
    bool emailSendEnabled = false;
    QString emailName;
    QString emailAddress;
    QString talkbackFolder;
    QString databaseFolder;
    QString scriptFolder;
};

// The shared folders OK makes sure of.
enum class Folder { Talkback, Database };

// What became of a folder that had to exist.
enum class FolderOutcome { Exists, Created, Declined, Failed };

// Makes sure of the folder (trimmed, as it is stored): answers whether it is there, or asks
// the user and creates it.
using FolderCheck = std::function<FolderOutcome(Folder folder, const QString& path)>;

// The end of an OK click that stops before saving: the tab to bring to the front and the
// message to show; a user who declined to create a folder is told nothing (empty message, no
// tab change).
struct Refusal {
    std::optional<Tab> tab;
    QString message;
};

// The checks in their order; nothing when the entries may be saved. The scripts folder need
// not exist, and the sender is not checked while sending is off.
std::optional<Refusal> Validate(const Entries& entries, const FolderCheck& ensureFolder);

// The question asked before a missing folder is created.
QString MissingFolderQuestion(Folder folder, const QString& path);
// Told when a folder the user wanted could not be created.
QString FolderNotCreatedMessage(const QString& path);

} // namespace SettingsRules
