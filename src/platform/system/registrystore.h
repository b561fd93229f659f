#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class ConfigFile;

// The two configuration stores that stand where the program once used the registry:
// the machine-wide one (all users of this computer) and the one of the current OS user.
enum class RegistryRoot { LocalMachine, CurrentUser };

class RegistryStore {
public:
    // A missing value, or one of the other type, gives the caller's default.
    static QString ReadString(RegistryRoot root, const QString& key, const QString& name,
                              const QString& defaultValue, bool* found = nullptr);
    static qint32 ReadNumber(RegistryRoot root, const QString& key, const QString& name,
                             qint32 defaultValue, bool* found = nullptr);

    // Keys are made as needed. The value is always written, also when it equals the default
    // (which only documents what a reader would assume). False when the store could not be
    // written.
    static bool WriteString(RegistryRoot root, const QString& key, const QString& name,
                            const QString& value, const QString& defaultValue = {});
    static bool WriteNumber(RegistryRoot root, const QString& key, const QString& name,
                            qint32 value, qint32 defaultValue = 0);

    static bool DeleteValue(RegistryRoot root, const QString& key, const QString& name);
    static bool DeleteKey(RegistryRoot root, const QString& key);
    static QStringList SubKeyNames(RegistryRoot root, const QString& key);
    static QStringList ValueNames(RegistryRoot root, const QString& key);
    static bool KeyExists(RegistryRoot root, const QString& key);

    // The file that holds a store (for the support file and for tests).
    static QString FilePath(RegistryRoot root);

    // Told once per store file and run when the file belongs to a newer version of the
    // program: its values are read as far as this version understands them, and nothing is
    // written to it. The program shows it to the user; without a handler only the log has it.
    using NewerVersionHandler = std::function<void(const QString& path)>;
    static void SetNewerVersionHandler(NewerVersionHandler handler);

    // Told once per store file and run when the file cannot be read (it is then used as
    // empty and never written over) or is damaged (used as empty; the next write keeps it
    // beside the new file). reason is the system's, for an unreadable file only.
    enum class Problem { Unreadable, Damaged };
    using ProblemHandler = std::function<void(RegistryRoot root, const QString& path,
                                              Problem problem, const QString& reason)>;
    static void SetProblemHandler(ProblemHandler handler);
    // True while the store's file is there but cannot be read.
    static bool IsUnreadable(RegistryRoot root);

private:
    friend class RegistryBatch;
    static ConfigFile& file(RegistryRoot root);
};
