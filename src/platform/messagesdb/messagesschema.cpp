#include "platform/messagesdb/messagesschema.h"

#include "platform/system/changewatch.h"

namespace {
// Dates are whole milliseconds since 1970-01-01 UTC, NULL when unset. The mime column keeps
// the message's RFC 5322 bytes; the columns before it are read out of those bytes so that
// filters and lists never parse a message.
QStringList version1() {
    return {
        QStringLiteral("CREATE TABLE orlix_meta (name TEXT PRIMARY KEY, value TEXT NOT NULL)"),
        QStringLiteral(
            "INSERT INTO orlix_meta (name, value) VALUES ('component', 'orlix-messages')"),
        QStringLiteral(
            "CREATE TABLE folders (reference INTEGER PRIMARY KEY, parent INTEGER NOT NULL,"
            " name TEXT NOT NULL, position INTEGER NOT NULL)"),
        QStringLiteral("INSERT INTO folders (reference, parent, name, position) VALUES"
                       " (1, 0, 'Messages', 0), (3, 1, 'Inbox', 1), (6, 1, 'Drafts', 2),"
                       " (2, 1, 'Outbox', 3), (4, 1, 'Sent Items', 4), (5, 1, 'Archive', 5)"),
        QStringLiteral(
            "CREATE TABLE messages (reference INTEGER PRIMARY KEY AUTOINCREMENT,"
            " folder INTEGER NOT NULL, kind INTEGER NOT NULL, flags INTEGER NOT NULL DEFAULT 0,"
            " personal_owner INTEGER NOT NULL DEFAULT 0,"
            " inherited_value INTEGER NOT NULL DEFAULT 0,"
            " received_utc INTEGER, sent_utc INTEGER, send_after_utc INTEGER,"
            " subject TEXT NOT NULL DEFAULT '', from_text TEXT NOT NULL DEFAULT '',"
            " to_text TEXT NOT NULL DEFAULT '', cc_text TEXT NOT NULL DEFAULT '',"
            " body_text TEXT NOT NULL DEFAULT '',"
            " party_addresses TEXT NOT NULL DEFAULT '', party_numbers TEXT NOT NULL DEFAULT '',"
            " mime BLOB NOT NULL)"),
        QStringLiteral("CREATE INDEX messages_by_received ON messages (received_utc)"),
        QStringLiteral("CREATE INDEX messages_by_folder ON messages (folder, received_utc)"),
        QStringLiteral("CREATE INDEX messages_by_send_after ON messages (folder, send_after_utc)"),
        QStringLiteral(
            "CREATE TABLE change_counters (name TEXT PRIMARY KEY, value INTEGER NOT NULL)"),
        QStringLiteral("INSERT INTO change_counters (name, value) VALUES ('messages', 0)"),
        QStringLiteral(
            "CREATE TRIGGER messages_counted_insert AFTER INSERT ON messages BEGIN"
            " UPDATE change_counters SET value = value + 1 WHERE name = 'messages'; END"),
        QStringLiteral(
            "CREATE TRIGGER messages_counted_update AFTER UPDATE ON messages BEGIN"
            " UPDATE change_counters SET value = value + 1 WHERE name = 'messages'; END"),
        QStringLiteral(
            "CREATE TRIGGER messages_counted_delete AFTER DELETE ON messages BEGIN"
            " UPDATE change_counters SET value = value + 1 WHERE name = 'messages'; END"),
        QStringLiteral("CREATE TABLE settings (name TEXT PRIMARY KEY, value TEXT NOT NULL)"),
        QStringLiteral(
            "CREATE TABLE templates (reference INTEGER PRIMARY KEY, category TEXT NOT NULL,"
            " name TEXT NOT NULL, file_name TEXT NOT NULL, position INTEGER NOT NULL,"
            " UNIQUE (category, name))"),
        QStringLiteral(
            "CREATE TABLE prizes (reference INTEGER PRIMARY KEY AUTOINCREMENT,"
            " title TEXT NOT NULL DEFAULT '', notes TEXT NOT NULL DEFAULT '',"
            " notes_to_supplier TEXT NOT NULL DEFAULT '', script TEXT NOT NULL DEFAULT '',"
            " start_utc INTEGER, end_utc INTEGER, added_utc INTEGER,"
            " hours_1 TEXT NOT NULL DEFAULT '', hours_2 TEXT NOT NULL DEFAULT '',"
            " hours_3 TEXT NOT NULL DEFAULT '', hours_4 TEXT NOT NULL DEFAULT '',"
            " hours_5 TEXT NOT NULL DEFAULT '', hours_6 TEXT NOT NULL DEFAULT '',"
            " hours_7 TEXT NOT NULL DEFAULT '',"
            " number_supplied INTEGER NOT NULL DEFAULT 0,"
            " supplier_reference INTEGER NOT NULL DEFAULT 0,"
            " added_by_reference INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("CREATE INDEX prizes_by_supplier ON prizes (supplier_reference)"),
        QStringLiteral(
            "CREATE TABLE prize_winners (reference INTEGER PRIMARY KEY AUTOINCREMENT,"
            " prize INTEGER NOT NULL REFERENCES prizes (reference) ON DELETE CASCADE,"
            " winner_reference INTEGER NOT NULL DEFAULT 0,"
            " awarded_by_reference INTEGER NOT NULL DEFAULT 0,"
            " sent_by_reference INTEGER NOT NULL DEFAULT 0,"
            " notes TEXT NOT NULL DEFAULT '', notes_to_supplier TEXT NOT NULL DEFAULT '',"
            " won_utc INTEGER, sent_utc INTEGER)"),
        QStringLiteral("CREATE INDEX prize_winners_by_prize ON prize_winners (prize, reference)"),
        QStringLiteral("CREATE INDEX prize_winners_by_winner ON prize_winners (winner_reference)"),
        QStringLiteral("CREATE TABLE hour_patterns (reference INTEGER PRIMARY KEY,"
                       " pattern TEXT NOT NULL UNIQUE)"),
    };
}
// Hour patterns are kept under names the user gives; the name's case-folded form (name_key)
// keeps two names apart that differ only in case. A pattern may now be kept under two names.
// The patterns of version 1 had no names: they get "Hours 1", "Hours 2", ... by reference.
QStringList version2() {
    return {
        QStringLiteral(
            "CREATE TABLE hour_patterns_named (reference INTEGER PRIMARY KEY,"
            " name TEXT NOT NULL, name_key TEXT NOT NULL UNIQUE, pattern TEXT NOT NULL)"),
        QStringLiteral("INSERT INTO hour_patterns_named (reference, name, name_key, pattern)"
                       " SELECT reference, 'Hours ' || n, 'hours ' || n, pattern FROM"
                       " (SELECT reference, pattern, ROW_NUMBER() OVER (ORDER BY reference) AS n"
                       " FROM hour_patterns) AS numbered"),
        QStringLiteral("DROP TABLE hour_patterns"),
        QStringLiteral("ALTER TABLE hour_patterns_named RENAME TO hour_patterns"),
    };
}
// The other computers follow every kind of change, not only messages: one counter per kind
// of what the panes show. A prize's winners count under its prize.
QStringList changeCountersByKind() {
    QStringList statements{
        QStringLiteral("INSERT OR IGNORE INTO change_counters (name, value) VALUES"
                       " ('folders', 0), ('prizes', 0), ('station', 0), ('templates', 0)")};
    statements
        << ChangeWatch::CountingTriggers(QStringLiteral("folders"), QStringLiteral("folders"))
        << ChangeWatch::CountingTriggers(QStringLiteral("prizes"), QStringLiteral("prizes"))
        << ChangeWatch::CountingTriggers(QStringLiteral("prize_winners"), QStringLiteral("prizes"))
        << ChangeWatch::CountingTriggers(QStringLiteral("settings"), QStringLiteral("station"))
        << ChangeWatch::CountingTriggers(QStringLiteral("templates"), QStringLiteral("templates"));
    return statements;
}

// A contact's messages are found through an index of each message's parties, one row per
// message and key (kind 1 an address, 2 an SMS number's digits), written with every write of a
// message row; it is made here from the keys every row already keeps ("|a|b|"), which stay.
// And each folder's list, newest first, is read through an index in its own order.
QStringList partiesAndListOrder() {
    return {
        QStringLiteral("CREATE TABLE message_parties (kind INTEGER NOT NULL, key TEXT NOT NULL,"
                       " message INTEGER NOT NULL, PRIMARY KEY (kind, key, message))"
                       " WITHOUT ROWID"),
        QStringLiteral("CREATE INDEX message_parties_by_message ON message_parties (message)"),
        QStringLiteral(
            "WITH RECURSIVE split (message, kind, rest, key) AS ("
            " SELECT reference, 1, substr(party_addresses, 2), '' FROM messages"
            " WHERE party_addresses <> ''"
            " UNION ALL SELECT reference, 2, substr(party_numbers, 2), '' FROM messages"
            " WHERE party_numbers <> ''"
            " UNION ALL SELECT message, kind, substr(rest, instr(rest, '|') + 1),"
            " substr(rest, 1, instr(rest, '|') - 1) FROM split WHERE instr(rest, '|') > 0)"
            " INSERT OR IGNORE INTO message_parties (kind, key, message)"
            " SELECT kind, key, message FROM split WHERE key <> ''"),
        QStringLiteral("CREATE INDEX messages_by_folder_order ON messages (folder, ") +
            QLatin1String(kMessageOrderKey) + QStringLiteral(", reference)"),
    };
}

// Every record a window saves whole carries a counter that each store raises, so that a save
// from a copy another computer changed since is told apart. And the rows whose columns an
// earlier version read from the wrong place (a blank key of addresses, the numbers of an SMS
// to several listeners) are read again from their own bytes: a mend done in short
// transactions after the step, from the reference kept here until it is through.
QStringList changeCountsAndColumnsMend() {
    return {
        QStringLiteral("ALTER TABLE messages ADD COLUMN change_count INTEGER NOT NULL DEFAULT 0"),
        QStringLiteral("ALTER TABLE prizes ADD COLUMN change_count INTEGER NOT NULL DEFAULT 0"),
        QStringLiteral(
            "ALTER TABLE prize_winners ADD COLUMN change_count INTEGER NOT NULL DEFAULT 0"),
        // A file without messages, such as a new one, has nothing to mend.
        QStringLiteral("INSERT OR REPLACE INTO orlix_meta (name, value) SELECT '") +
            QLatin1String(kColumnsMendSetting) +
            QStringLiteral("', '0' WHERE EXISTS (SELECT 1 FROM messages)"),
    };
}
} // namespace

QStringList MessagesSchemaSteps(int version) {
    switch (version) {
    case 1:
        return version1();
    case 2:
        return version2();
    case 3:
        return changeCountersByKind();
    case 4:
        return partiesAndListOrder();
    case 5:
        return changeCountsAndColumnsMend();
    default:
        return {};
    }
}
