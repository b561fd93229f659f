#include "platform/system/registrybatch.h"

void RegistryBatch::WriteString(const QString& key, const QString& name, const QString& value) {
    writes_.append(ConfigFile::Write{key, name, value});
}

void RegistryBatch::WriteNumber(const QString& key, const QString& name, qint32 value) {
    writes_.append(ConfigFile::Write{key, name, qint64{value}});
}

bool RegistryBatch::Commit() {
    return RegistryStore::file(root_).write(writes_);
}
