#pragma once

#include <QStringList>

// The statements that bring the directory file from schema version - 1 to version; a file
// newer than the last version known here is refused.
QStringList DirectorySchemaSteps(int version);
