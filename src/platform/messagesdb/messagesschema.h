#pragma once

#include <QStringList>

// The statements that bring the messages database from schema version - 1 to version; a
// file newer than the last version known here is refused. Only constants appear in them.
QStringList MessagesSchemaSteps(int version);
