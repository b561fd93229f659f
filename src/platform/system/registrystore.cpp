#include "platform/system/registrystore.h"

#include "platform/system/configfile.h"
#include "platform/system/folders.h"

#include <limits>
#include <map>
#include <memory>

namespace {
RegistryStore::NewerVersionHandler& newerVersionHandler() {
    static RegistryStore::NewerVersionHandler handler;
    return handler;
}

RegistryStore::ProblemHandler& problemHandler() {
    static RegistryStore::ProblemHandler handler;
    return handler;
}

bool writeOne(ConfigFile& file, const QString& key, const QString& name, ConfigFile::Value value) {
    return file.write({ConfigFile::Write{key, name, std::move(value)}});
}
} // namespace

QString RegistryStore::FilePath(RegistryRoot root) {
    if (root == RegistryRoot::LocalMachine) {
        return Folders::CommonData() + QStringLiteral("/Kestova/machine-settings.json");
    }
    return Folders::UserConfig() + QStringLiteral("/Kestova/user-settings.json");
}

void RegistryStore::SetNewerVersionHandler(NewerVersionHandler handler) {
    newerVersionHandler() = std::move(handler);
}

void RegistryStore::SetProblemHandler(ProblemHandler handler) {
    problemHandler() = std::move(handler);
}

bool RegistryStore::IsUnreadable(RegistryRoot root) {
    return file(root).state() == ConfigFile::State::Unreadable;
}

ConfigFile& RegistryStore::file(RegistryRoot root) {
    // One object per file path, so that ORLIX_HOME may change between tests.
    static std::map<QString, std::unique_ptr<ConfigFile>> files;
    const QString path = FilePath(root);
    auto it = files.find(path);
    if (it == files.end()) {
        it = files.emplace(path, std::make_unique<ConfigFile>(path)).first;
        it->second->setNewerFormatHandler([](const QString& newer) {
            if (newerVersionHandler()) {
                newerVersionHandler()(newer);
            }
        });
        it->second->setProblemHandler(
            [root](const QString& at, ConfigFile::State state, const QString& reason) {
                if (problemHandler()) {
                    problemHandler()(root, at,
                                     state == ConfigFile::State::Damaged ? Problem::Damaged
                                                                         : Problem::Unreadable,
                                     reason);
                }
            });
    }
    return *it->second;
}

QString RegistryStore::ReadString(RegistryRoot root, const QString& key, const QString& name,
                                  const QString& defaultValue, bool* found) {
    const std::optional<QString> v = file(root).readString(key, name);
    if (found != nullptr) {
        *found = v.has_value();
    }
    return v.value_or(defaultValue);
}

qint32 RegistryStore::ReadNumber(RegistryRoot root, const QString& key, const QString& name,
                                 qint32 defaultValue, bool* found) {
    const std::optional<qint64> v = file(root).readNumber(key, name);
    const bool ok =
        v && *v >= std::numeric_limits<qint32>::min() && *v <= std::numeric_limits<qint32>::max();
    if (found != nullptr) {
        *found = ok;
    }
    return ok ? static_cast<qint32>(*v) : defaultValue;
}

bool RegistryStore::WriteString(RegistryRoot root, const QString& key, const QString& name,
                                const QString& value, const QString& /*defaultValue*/) {
    return writeOne(file(root), key, name, value);
}

bool RegistryStore::WriteNumber(RegistryRoot root, const QString& key, const QString& name,
                                qint32 value, qint32 /*defaultValue*/) {
    return writeOne(file(root), key, name, qint64{value});
}

bool RegistryStore::DeleteValue(RegistryRoot root, const QString& key, const QString& name) {
    return file(root).deleteValue(key, name);
}

bool RegistryStore::DeleteKey(RegistryRoot root, const QString& key) {
    return file(root).deleteKey(key);
}

QStringList RegistryStore::SubKeyNames(RegistryRoot root, const QString& key) {
    return file(root).subKeyNames(key);
}

QStringList RegistryStore::ValueNames(RegistryRoot root, const QString& key) {
    return file(root).valueNames(key);
}

bool RegistryStore::KeyExists(RegistryRoot root, const QString& key) {
    return file(root).keyExists(key);
}
