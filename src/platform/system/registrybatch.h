#pragma once

#include "platform/system/configfile.h"
#include "platform/system/registrystore.h"

#include <QList>
#include <QString>

// Values written together: one read and one replacement of the store's file under one lock,
// so all of them are written or none, and other programs writing at the same time wait once.
class RegistryBatch {
public:
    explicit RegistryBatch(RegistryRoot root) : root_(root) {}

    void WriteString(const QString& key, const QString& name, const QString& value);
    void WriteNumber(const QString& key, const QString& name, qint32 value);
    // False when the store could not be written; nothing of the batch is then.
    bool Commit();

private:
    RegistryRoot root_;
    QList<ConfigFile::Write> writes_;
};
