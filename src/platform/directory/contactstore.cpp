#include "platform/directory/contactstore.h"

#include "platform/directory/contacttext.h"
#include "platform/directory/directoryrights.h"
#include "platform/directory/directorystorage.h"

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

namespace {
const QString kLightColumns = QStringLiteral(
    "reference, name, company, email1, email2, email3, phone1, phone2, mobile, other,"
    " login_name, owner_reference, contact_list_value, directory_rights, user_rights,"
    " password_hash <> ''");

ContactRecord readRecord(const QSqlQuery& q, bool full) {
    ContactRecord r;
    r.reference = q.value(0).toInt();
    r.name = q.value(1).toString();
    r.company = q.value(2).toString();
    r.email1 = q.value(3).toString();
    r.email2 = q.value(4).toString();
    r.email3 = q.value(5).toString();
    r.phoneNumber1 = q.value(6).toString();
    r.phoneNumber2 = q.value(7).toString();
    r.mobileNumber = q.value(8).toString();
    r.otherNumber = q.value(9).toString();
    r.loginName = q.value(10).toString();
    r.ownerReference = q.value(11).toInt();
    r.contactListValue = q.value(12).toInt();
    r.directoryRights = q.value(13).toUInt();
    r.userRights = q.value(14).toUInt();
    r.passwordSet = q.value(15).toBool();
    r.full = full;
    r.notesRead = full;
    if (full) {
        r.address = q.value(16).toString();
        r.notes = q.value(17).toString();
    }
    return r;
}

// The light record of a list's row, in the columns of kLightColumns.
ContactRecord readListRow(const SqliteStatement& row) {
    ContactRecord r;
    r.reference = static_cast<qint32>(row.Int64(0));
    r.name = row.Text(1);
    r.company = row.Text(2);
    r.email1 = row.Text(3);
    r.email2 = row.Text(4);
    r.email3 = row.Text(5);
    r.phoneNumber1 = row.Text(6);
    r.phoneNumber2 = row.Text(7);
    r.mobileNumber = row.Text(8);
    r.otherNumber = row.Text(9);
    r.loginName = row.Text(10);
    r.ownerReference = static_cast<qint32>(row.Int64(11));
    r.contactListValue = static_cast<qint32>(row.Int64(12));
    r.directoryRights = static_cast<quint32>(row.Int64(13));
    r.userRights = static_cast<quint32>(row.Int64(14));
    r.passwordSet = row.Int64(15) != 0;
    r.full = false;
    r.notesRead = false;
    return r;
}

QString foldColumn(ContactField field) {
    switch (field) {
    case ContactField::Name:
        return QStringLiteral("name_fold");
    case ContactField::Email1:
        return QStringLiteral("email1_fold");
    case ContactField::Email2:
        return QStringLiteral("email2_fold");
    case ContactField::Email3:
        return QStringLiteral("email3_fold");
    case ContactField::PhoneNumber1:
        return QStringLiteral("phone1_fold");
    case ContactField::PhoneNumber2:
        return QStringLiteral("phone2_fold");
    case ContactField::MobileNumber:
        return QStringLiteral("mobile_fold");
    }
    return QString();
}

QString escapeLike(const QString& value) {
    QString out;
    for (const QChar c : value) {
        if (c == u'\\' || c == u'%' || c == u'_') {
            out += u'\\';
        }
        out += c;
    }
    return out;
}

QVariant nullIfEmpty(const QString& text) {
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

// The values of the columns a save writes, in the order of the statements below.
QList<QVariant> fieldValues(const ContactRecord& r) {
    using ContactText::Fold;
    using ContactText::NotNull;
    using ContactText::PhoneDigits;
    return {NotNull(r.name),
            Fold(r.name),
            NotNull(r.company),
            NotNull(r.email1),
            Fold(r.email1),
            NotNull(r.email2),
            Fold(r.email2),
            NotNull(r.email3),
            Fold(r.email3),
            NotNull(r.phoneNumber1),
            Fold(r.phoneNumber1),
            PhoneDigits(r.phoneNumber1),
            NotNull(r.phoneNumber2),
            Fold(r.phoneNumber2),
            PhoneDigits(r.phoneNumber2),
            NotNull(r.mobileNumber),
            Fold(r.mobileNumber),
            PhoneDigits(r.mobileNumber),
            NotNull(r.otherNumber),
            PhoneDigits(r.otherNumber),
            nullIfEmpty(r.loginName),
            r.ownerReference,
            r.contactListValue,
            r.directoryRights,
            r.userRights};
}

const QString kFieldColumns = QStringLiteral(
    "name, name_fold, company, email1, email1_fold, email2, email2_fold, email3, email3_fold,"
    " phone1, phone1_fold, phone1_digits, phone2, phone2_fold, phone2_digits,"
    " mobile, mobile_fold, mobile_digits, other, other_digits, login_name, owner_reference,"
    " contact_list_value, directory_rights, user_rights");
} // namespace

std::optional<ContactRecord> ContactStore::Load(qint32 reference, bool full) {
    if (reference <= 0) {
        return std::nullopt;
    }
    QSqlQuery q = s_.Prepare(QStringLiteral("SELECT ") + kLightColumns +
                             (full ? QStringLiteral(", address, notes") : QString()) +
                             QStringLiteral(" FROM contacts WHERE reference = ?"));
    q.addBindValue(reference);
    if (!DirectoryStorage::Exec(q, "reading a contact") || !q.next()) {
        return std::nullopt;
    }
    return readRecord(q, full);
}

std::optional<ContactRecord> ContactStore::LoadByLoginName(const QString& loginName) {
    if (loginName.trimmed().isEmpty()) {
        return std::nullopt;
    }
    QSqlQuery q = s_.Prepare(QStringLiteral("SELECT ") + kLightColumns +
                             QStringLiteral(", address, notes FROM contacts WHERE login_name = ?"));
    q.addBindValue(loginName.trimmed());
    if (!DirectoryStorage::Exec(q, "reading a user") || !q.next()) {
        return std::nullopt;
    }
    return readRecord(q, true);
}

bool ContactStore::Insert(ContactRecord& record) {
    QSqlQuery q = s_.Prepare(QStringLiteral("INSERT INTO contacts (") + kFieldColumns +
                             QStringLiteral(", address, notes) VALUES (") +
                             QStringLiteral("?, ").repeated(26) + QStringLiteral("?)"));
    for (const QVariant& v : fieldValues(record)) {
        q.addBindValue(v);
    }
    q.addBindValue(ContactText::NotNull(record.address));
    q.addBindValue(ContactText::NotNull(record.notes));
    if (!DirectoryStorage::Exec(q, "adding a contact")) {
        return false;
    }
    record.reference = q.lastInsertId().toInt();
    record.full = true;
    record.notesRead = true;
    return record.reference > 0;
}

bool ContactStore::Update(const ContactRecord& record) {
    QString sets = kFieldColumns;
    sets.replace(QStringLiteral(","), QStringLiteral(" = ?,"));
    sets += QStringLiteral(" = ?");
    if (record.full) {
        sets += QStringLiteral(", address = ?");
    }
    if (record.notesRead) {
        sets += QStringLiteral(", notes = ?");
    }
    QSqlQuery q = s_.Prepare(QStringLiteral("UPDATE contacts SET ") + sets +
                             QStringLiteral(" WHERE reference = ?"));
    for (const QVariant& v : fieldValues(record)) {
        q.addBindValue(v);
    }
    if (record.full) {
        q.addBindValue(ContactText::NotNull(record.address));
    }
    if (record.notesRead) {
        q.addBindValue(ContactText::NotNull(record.notes));
    }
    q.addBindValue(record.reference);
    if (!DirectoryStorage::Exec(q, "saving a contact")) {
        return false;
    }
    return q.numRowsAffected() == 1;
}

bool ContactStore::Remove(qint32 reference) {
    QSqlQuery q = s_.Prepare(QStringLiteral("DELETE FROM contacts WHERE reference = ?"));
    q.addBindValue(reference);
    if (!DirectoryStorage::Exec(q, "removing a contact")) {
        return false;
    }
    QSqlQuery settings =
        s_.Prepare(QStringLiteral("DELETE FROM user_settings WHERE user_reference = ?"));
    settings.addBindValue(reference);
    return DirectoryStorage::Exec(settings, "removing a user's settings");
}

bool ContactStore::LoginNameTaken(const QString& loginName, qint32 exceptReference, bool* taken) {
    QSqlQuery q = s_.Prepare(
        QStringLiteral("SELECT count(*) FROM contacts WHERE login_name = ? AND reference <> ?"));
    q.addBindValue(loginName.trimmed());
    q.addBindValue(exceptReference);
    if (!DirectoryStorage::Exec(q, "checking a login name") || !q.next()) {
        return false;
    }
    *taken = q.value(0).toInt() > 0;
    return true;
}

QString ContactStore::ListSql(const QString& where) {
    return QStringLiteral("SELECT ") + kLightColumns + QStringLiteral(" FROM contacts") + where +
           QStringLiteral(" ORDER BY name_fold, reference");
}

QString ContactStore::PhoneDigitsWhere() {
    return QStringLiteral(" WHERE reference IN ("
                          "SELECT reference FROM contacts WHERE phone1_digits = ?"
                          " UNION SELECT reference FROM contacts WHERE phone2_digits = ?"
                          " UNION SELECT reference FROM contacts WHERE mobile_digits = ?"
                          " UNION SELECT reference FROM contacts WHERE other_digits = ?)");
}

QList<ContactRecord> ContactStore::list(const QString& where, const QList<QVariant>& values,
                                        bool* ok) {
    QList<ContactRecord> found;
    const bool ran =
        s_.ReadRows(ListSql(where), values, "looking up contacts",
                    [&found](const SqliteStatement& row) { found << readListRow(row); });
    if (ok) {
        *ok = ran;
    }
    return found;
}

std::vector<qsizetype>
ContactStore::readInNameOrder(const QString& sql, const QList<QVariant>& values, bool* ok,
                              const std::function<void(ContactRecord&&)>& keep) {
    // SQLite sorts whole result rows: every light column of every found row is written into
    // its sorter and read back out, which on a search finding thousands of a million contacts
    // cost more than finding them. Here only an index is sorted, by the stored folded name's
    // bytes (SQLite's binary order of UTF-8, which is code-point order; comparing the UTF-16
    // texts would put some characters apart from it) and then by reference, exactly the order
    // of ListSql.
    std::string folds; // every row's folded name, one after another
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    std::vector<qint32> references;
    const bool ran =
        s_.ReadRows(sql, values, "looking up contacts", [&](const SqliteStatement& row) {
            ContactRecord record = readListRow(row);
            references.push_back(record.reference);
            const QByteArrayView fold = row.Utf8(16);
            spans.emplace_back(folds.size(), fold.size());
            folds.append(fold.data(), fold.size());
            keep(std::move(record));
        });
    if (ok) {
        *ok = ran;
    }
    std::vector<qsizetype> order(references.size());
    std::iota(order.begin(), order.end(), 0);
    const std::string_view all(folds);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int byName = all.substr(spans[a].first, spans[a].second)
                               .compare(all.substr(spans[b].first, spans[b].second));
        return byName != 0 ? byName < 0 : references[a] < references[b];
    });
    return order;
}

std::vector<qsizetype> ContactStore::Find(const QList<ContactCriterion>& criteria, bool* ok,
                                          const std::function<void(ContactRecord&&)>& keep) {
    if (criteria.isEmpty()) {
        *ok = true;
        return {};
    }
    QStringList terms;
    QList<QVariant> values;
    bool throughNameIndex = false;
    for (const ContactCriterion& c : criteria) {
        const QString column = foldColumn(c.field);
        const QString value = ContactText::Fold(c.value);
        switch (c.match) {
        case ContactMatch::Equals:
            terms << column + QStringLiteral(" = ?");
            values << value;
            break;
        case ContactMatch::Contains:
            if (c.field == ContactField::Name && value.toUcs4().size() >= 3) {
                // The index gives the candidates; instr keeps the result exactly what the
                // scan found.
                terms << QStringLiteral("(reference IN (SELECT rowid FROM contacts_name_search"
                                        " WHERE contacts_name_search MATCH ?) AND instr(") +
                             column + QStringLiteral(", ?) > 0)");
                values << QStringLiteral("name_fold : \"") +
                              QString(value).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                              QLatin1Char('"');
                values << value;
                throughNameIndex = true;
                break;
            }
            terms << QStringLiteral("instr(") + column + QStringLiteral(", ?) > 0");
            values << value;
            break;
        case ContactMatch::StartsWith:
            terms << column + QStringLiteral(" LIKE ? ESCAPE '\\'");
            values << escapeLike(value) + QLatin1Char('%');
            break;
        case ContactMatch::EndsWith:
            terms << column + QStringLiteral(" LIKE ? ESCAPE '\\'");
            values << QLatin1Char('%') + escapeLike(value);
            break;
        }
    }
    if (criteria.size() == 1 && throughNameIndex) {
        // A part of a name alone, the search typed most: the rows come straight from the
        // index's candidates, without first gathering them into a list to look up.
        return readInNameOrder(
            QStringLiteral("SELECT ") + kLightColumns +
                QStringLiteral(
                    ", c.name_fold FROM contacts_name_search"
                    " CROSS JOIN contacts AS c ON c.reference = contacts_name_search.rowid"
                    " WHERE contacts_name_search MATCH ? AND instr(c.name_fold, ?) > 0"),
            values, ok, keep);
    }
    return readInNameOrder(QStringLiteral("SELECT ") + kLightColumns +
                               QStringLiteral(", name_fold FROM contacts WHERE ") +
                               terms.join(QStringLiteral(" OR ")),
                           values, ok, keep);
}

QList<ContactRecord> ContactStore::FindByPhoneDigits(const QString& digits) {
    if (digits.isEmpty()) {
        return {};
    }
    return list(PhoneDigitsWhere(), {digits, digits, digits, digits}, nullptr);
}

QList<ContactRecord> ContactStore::Users() {
    return list(QStringLiteral(" WHERE login_name IS NOT NULL"), {}, nullptr);
}

QList<ContactRecord> ContactStore::All() {
    return list(QString(), {}, nullptr);
}

QList<ContactName> ContactStore::Names(bool usersOnly) {
    // The few users come through the login index and are sorted after: the planner would
    // otherwise walk the whole directory in name order to find them.
    auto q = s_.Statement(usersOnly ? QStringLiteral("SELECT reference, name FROM contacts"
                                                     " WHERE login_name IS NOT NULL"
                                                     " ORDER BY +name_fold, reference")
                                    : QStringLiteral("SELECT reference, name FROM contacts"
                                                     " ORDER BY name_fold, reference"));
    QList<ContactName> names;
    if (!DirectoryStorage::Exec(*q, "listing contacts' names")) {
        return names;
    }
    while (q->next()) {
        names.append(ContactName{q->value(0).toInt(), q->value(1).toString()});
    }
    return names;
}

int ContactStore::CountUsers() {
    QSqlQuery q =
        s_.Prepare(QStringLiteral("SELECT count(*) FROM contacts WHERE login_name IS NOT NULL"));
    if (!DirectoryStorage::Exec(q, "counting users") || !q.next()) {
        return -1;
    }
    return q.value(0).toInt();
}

int ContactStore::CountUserManagers(qint32 exceptReference) {
    const quint32 both = DirectoryRights::ChangeDirectorySettings | DirectoryRights::SaveUsers;
    QSqlQuery q =
        s_.Prepare(QStringLiteral("SELECT count(*) FROM contacts WHERE login_name IS NOT "
                                  "NULL AND (directory_rights & ?) = ? AND reference <> ?"));
    q.addBindValue(both);
    q.addBindValue(both);
    q.addBindValue(exceptReference);
    if (!DirectoryStorage::Exec(q, "counting the users' managers") || !q.next()) {
        return -1;
    }
    return q.value(0).toInt();
}

StoredPassword ContactStore::Password(qint32 reference) {
    StoredPassword p;
    QSqlQuery q =
        s_.Prepare(QStringLiteral("SELECT password_hash, password_salt, password_iterations FROM "
                                  "contacts WHERE reference = ?"));
    q.addBindValue(reference);
    if (DirectoryStorage::Exec(q, "reading a password") && q.next()) {
        p.hash = QByteArray::fromBase64(q.value(0).toString().toLatin1());
        p.salt = QByteArray::fromBase64(q.value(1).toString().toLatin1());
        p.iterations = q.value(2).toInt();
    }
    return p;
}

bool ContactStore::SetPassword(qint32 reference, const StoredPassword& password) {
    QSqlQuery q =
        s_.Prepare(QStringLiteral("UPDATE contacts SET password_hash = ?, password_salt = ?,"
                                  " password_iterations = ? WHERE reference = ?"));
    q.addBindValue(QString::fromLatin1(password.hash.toBase64()));
    q.addBindValue(QString::fromLatin1(password.salt.toBase64()));
    q.addBindValue(password.iterations);
    q.addBindValue(reference);
    return DirectoryStorage::Exec(q, "storing a password") && q.numRowsAffected() == 1;
}
