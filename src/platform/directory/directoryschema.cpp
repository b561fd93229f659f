#include "platform/directory/directoryschema.h"

#include "platform/system/changewatch.h"

// Each searchable field keeps a case-folded copy beside it (`*_fold`) so that look-ups are
// case-insensitive for every script, not only ASCII, and can use an index. Phone numbers keep
// their digits only (`*_digits`) for the look-up of an SMS sender.
namespace {
// Other computers notice what changed by kind without reading the tables: a counter per kind
// kept by triggers. Users are contacts; the running programs' registrations count for
// nothing, since no list shows them.
QStringList changeCounters() {
    QStringList statements{
        QStringLiteral(
            "CREATE TABLE change_counters (name TEXT PRIMARY KEY, value INTEGER NOT NULL)"),
        QStringLiteral("INSERT INTO change_counters (name, value) VALUES"
                       " ('contacts', 0), ('websites', 0), ('user_settings', 0)")};
    statements << ChangeWatch::CountingTriggers(QStringLiteral("contacts"),
                                                QStringLiteral("contacts"))
               << ChangeWatch::CountingTriggers(QStringLiteral("websites"),
                                                QStringLiteral("websites"))
               << ChangeWatch::CountingTriggers(QStringLiteral("user_settings"),
                                                QStringLiteral("user_settings"));
    return statements;
}
} // namespace

QStringList DirectorySchemaSteps(int version) {
    switch (version) {
    case 1:
        return {
            QStringLiteral("CREATE TABLE contacts ("
                           " reference INTEGER PRIMARY KEY AUTOINCREMENT,"
                           " name TEXT NOT NULL DEFAULT '', name_fold TEXT NOT NULL DEFAULT '',"
                           " company TEXT NOT NULL DEFAULT '',"
                           " email1 TEXT NOT NULL DEFAULT '', email1_fold TEXT NOT NULL DEFAULT '',"
                           " email2 TEXT NOT NULL DEFAULT '', email2_fold TEXT NOT NULL DEFAULT '',"
                           " email3 TEXT NOT NULL DEFAULT '', email3_fold TEXT NOT NULL DEFAULT '',"
                           " phone1 TEXT NOT NULL DEFAULT '', phone1_fold TEXT NOT NULL DEFAULT '',"
                           " phone1_digits TEXT NOT NULL DEFAULT '',"
                           " phone2 TEXT NOT NULL DEFAULT '', phone2_fold TEXT NOT NULL DEFAULT '',"
                           " phone2_digits TEXT NOT NULL DEFAULT '',"
                           " mobile TEXT NOT NULL DEFAULT '', mobile_fold TEXT NOT NULL DEFAULT '',"
                           " mobile_digits TEXT NOT NULL DEFAULT '',"
                           " other TEXT NOT NULL DEFAULT '', other_digits TEXT NOT NULL DEFAULT '',"
                           " address TEXT NOT NULL DEFAULT '',"
                           " login_name TEXT COLLATE NOCASE,"
                           " password_hash TEXT NOT NULL DEFAULT '',"
                           " password_salt TEXT NOT NULL DEFAULT '',"
                           " password_iterations INTEGER NOT NULL DEFAULT 0,"
                           " owner_reference INTEGER NOT NULL DEFAULT 0,"
                           " contact_list_value INTEGER NOT NULL DEFAULT 0,"
                           " directory_rights INTEGER NOT NULL DEFAULT 0,"
                           " user_rights INTEGER NOT NULL DEFAULT 0)"),
            QStringLiteral("CREATE UNIQUE INDEX contacts_login ON contacts(login_name)"
                           " WHERE login_name IS NOT NULL"),
            QStringLiteral("CREATE INDEX contacts_name ON contacts(name_fold, reference)"),
            QStringLiteral("CREATE INDEX contacts_email1 ON contacts(email1_fold)"),
            QStringLiteral("CREATE INDEX contacts_email2 ON contacts(email2_fold)"),
            QStringLiteral("CREATE INDEX contacts_email3 ON contacts(email3_fold)"),
            QStringLiteral("CREATE INDEX contacts_phone1_digits ON contacts(phone1_digits)"),
            QStringLiteral("CREATE INDEX contacts_phone2_digits ON contacts(phone2_digits)"),
            QStringLiteral("CREATE INDEX contacts_mobile_digits ON contacts(mobile_digits)"),
            QStringLiteral("CREATE INDEX contacts_other_digits ON contacts(other_digits)"),
            QStringLiteral("CREATE TABLE user_settings ("
                           " user_reference INTEGER NOT NULL,"
                           " name TEXT NOT NULL COLLATE NOCASE,"
                           " value TEXT NOT NULL DEFAULT '',"
                           " PRIMARY KEY (user_reference, name))"),
            QStringLiteral("CREATE TABLE websites ("
                           " reference INTEGER PRIMARY KEY AUTOINCREMENT,"
                           " address TEXT NOT NULL DEFAULT '',"
                           " title TEXT NOT NULL DEFAULT '')"),
            QStringLiteral("CREATE TABLE applications ("
                           " product_code INTEGER NOT NULL,"
                           " host TEXT NOT NULL,"
                           " process_id INTEGER NOT NULL,"
                           " registered_utc TEXT NOT NULL,"
                           " client_options INTEGER NOT NULL DEFAULT 0,"
                           " client_level INTEGER NOT NULL DEFAULT 0,"
                           " PRIMARY KEY (product_code, host, process_id))"),
        };
    case 2:
        // Searching names for any part of them read every row; a trigram index finds the
        // candidates for a part of three characters or more. It indexes the folded name
        // exactly (case_sensitive: the fold already did what case rules there are), and the
        // triggers keep it in the same transaction as every change of a contact.
        return {
            QStringLiteral("CREATE VIRTUAL TABLE contacts_name_search USING fts5("
                           "name_fold, content='contacts', content_rowid='reference',"
                           " tokenize='trigram case_sensitive 1')"),
            QStringLiteral("INSERT INTO contacts_name_search(contacts_name_search) "
                           "VALUES ('rebuild')"),
            QStringLiteral("CREATE TRIGGER contacts_name_search_insert AFTER INSERT ON contacts "
                           "BEGIN INSERT INTO contacts_name_search(rowid, name_fold)"
                           " VALUES (new.reference, new.name_fold); END"),
            QStringLiteral("CREATE TRIGGER contacts_name_search_delete AFTER DELETE ON contacts "
                           "BEGIN INSERT INTO contacts_name_search(contacts_name_search, rowid,"
                           " name_fold) VALUES ('delete', old.reference, old.name_fold); END"),
            QStringLiteral("CREATE TRIGGER contacts_name_search_update AFTER UPDATE OF name_fold"
                           " ON contacts "
                           "BEGIN INSERT INTO contacts_name_search(contacts_name_search, rowid,"
                           " name_fold) VALUES ('delete', old.reference, old.name_fold);"
                           " INSERT INTO contacts_name_search(rowid, name_fold)"
                           " VALUES (new.reference, new.name_fold); END"),
        };
    case 3:
        // A free text kept with the contact; read and written with the whole record only, as
        // the address is.
        return {QStringLiteral("ALTER TABLE contacts ADD COLUMN notes TEXT NOT NULL DEFAULT ''")};
    case 4:
        return changeCounters();
    case 5:
        // Each store of a contact or user raises its counter, so that a save from a copy
        // another computer changed since is told apart from one that may be written.
        return {QStringLiteral(
            "ALTER TABLE contacts ADD COLUMN change_count INTEGER NOT NULL DEFAULT 0")};
    default:
        return {};
    }
}
