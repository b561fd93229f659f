#include "platform/system/sqliteprocess.h"

#include <sqlite3.h>

bool SqliteProcess::Prepare() {
    return sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
}
