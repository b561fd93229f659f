#include "platform/directory/contactstore.h"

#include "platform/directory/contactlightrow.h"
#include "platform/directory/contacttext.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/directoryrights.h"
#include "platform/directory/directorystorage.h"

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace {
ContactRecord readRecord(const QSqlQuery& q, bool full) {
    ContactRecord r;
    for (std::size_t i = 0; i < ContactLightRow::kTexts.size(); ++i) {
        r.*ContactLightRow::kTexts[i] =
            q.value(ContactLightRow::kFirstText + static_cast<int>(i)).toString();
    }
    std::array<qint64, 6> numbers{};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        numbers[i] = q.value(ContactLightRow::kNumberColumns[i]).toLongLong();
    }
    ContactLightRow::SetNumbers(r, numbers);
    r.full = full;
    r.notesRead = full;
    if (full) {
        r.address = q.value(ContactLightRow::kColumnCount).toString();
        r.notes = q.value(ContactLightRow::kColumnCount + 1).toString();
    }
    r.changeCount = q.value(ContactLightRow::kColumnCount + (full ? 2 : 0)).toLongLong();
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
    QSqlQuery q = s_.Prepare(QStringLiteral("SELECT ") + ContactLightRow::kColumns +
                             (full ? QStringLiteral(", address, notes") : QString()) +
                             QStringLiteral(", change_count FROM contacts WHERE reference = ?"));
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
    QSqlQuery q = s_.Prepare(QStringLiteral("SELECT ") + ContactLightRow::kColumns +
                             QStringLiteral(", address, notes, change_count FROM contacts"
                                            " WHERE login_name = ?"));
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
    record.changeCount = 0;
    record.full = true;
    record.notesRead = true;
    return record.reference > 0;
}

bool ContactStore::Update(ContactRecord& record) {
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
                             QStringLiteral(", change_count = change_count + 1"
                                            " WHERE reference = ? AND change_count = ?"));
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
    q.addBindValue(record.changeCount);
    if (!DirectoryStorage::Exec(q, "saving a contact") || q.numRowsAffected() != 1) {
        return false;
    }
    ++record.changeCount;
    return true;
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
    return QStringLiteral("SELECT ") + ContactLightRow::kColumns +
           QStringLiteral(" FROM contacts") + where +
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
                    [&found](const SqliteStatement& row) { found << ContactLightRow::Read(row); });
    if (ok) {
        *ok = ran;
    }
    return found;
}

void ContactStore::FoundRows::Add(const SqliteStatement& row) {
    const QByteArrayView fold = row.Utf8(ContactLightRow::kColumnCount);
    spans.emplace_back(folds.size(), fold.size());
    folds.append(fold.data(), std::size_t(fold.size()));
}

QList<std::shared_ptr<DirectoryContact>>
ContactStore::readInNameOrder(const QString& sql, const QList<QVariant>& values, bool* ok,
                              const ContactMaker::Make& make) {
    std::vector<FoundRows> found(1);
    ContactMaker maker(make);
    const bool ran =
        s_.ReadRows(sql, values, "looking up contacts", [&](const SqliteStatement& row) {
            found[0].Add(row);
            maker.Add(row);
        });
    if (ok) {
        *ok = ran;
    }
    found[0].made = maker.Finish();
    return inNameOrder(std::move(found));
}

QList<std::shared_ptr<DirectoryContact>> ContactStore::inNameOrder(std::vector<FoundRows> found) {
    // SQLite sorts whole result rows: every light column of every found row is written into
    // its sorter and read back out, which on a search finding thousands of a million contacts
    // cost more than finding them. Here only an index is sorted, by the stored folded name's
    // bytes (SQLite's binary order of UTF-8, which is code-point order; comparing the UTF-16
    // texts would put some characters apart from it) and then by reference, exactly the order
    // of ListSql.
    // Each row's folded name stays where its part keeps it.
    struct Row {
        quint64 key;
        std::string_view fold;
        std::shared_ptr<DirectoryContact>* contact;
    };
    std::size_t count = 0;
    for (const FoundRows& part : found) {
        count += part.made.size();
    }
    std::vector<Row> rows;
    rows.reserve(count);
    for (FoundRows& part : found) {
        const std::string_view folds(part.folds);
        for (std::size_t i = 0; i < part.made.size(); ++i) {
            rows.push_back(
                {0, folds.substr(part.spans[i].first, part.spans[i].second), &part.made[i]});
        }
    }

    // Most comparisons are decided by eight bytes after what every name found shares (the
    // searched part often begins them); the rest compare whole names.
    std::size_t shared = rows.empty() ? 0 : rows[0].fold.size();
    for (std::size_t i = 1; i < rows.size() && shared > 0; ++i) {
        const std::string_view a = rows[0].fold.substr(0, shared);
        const std::string_view b = rows[i].fold;
        std::size_t n = 0;
        while (n < a.size() && n < b.size() && a[n] == b[n]) {
            ++n;
        }
        shared = n;
    }
    for (Row& row : rows) {
        row.fold.remove_prefix(shared);
        quint64 key = 0;
        for (std::size_t b = 0; b < 8; ++b) {
            key = key << 8 | (b < row.fold.size() ? static_cast<unsigned char>(row.fold[b]) : 0U);
        }
        row.key = key;
    }
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        if (a.key != b.key) {
            return a.key < b.key;
        }
        const int byName = a.fold.compare(b.fold);
        return byName != 0 ? byName < 0 : (*a.contact)->Reference() < (*b.contact)->Reference();
    });

    QList<std::shared_ptr<DirectoryContact>> ordered;
    ordered.reserve(qsizetype(rows.size()));
    for (const Row& row : rows) {
        ordered << std::move(*row.contact);
    }
    return ordered;
}

QList<std::shared_ptr<DirectoryContact>>
ContactStore::findByNamePart(const QList<QVariant>& values, bool* ok,
                             const ContactMaker::Make& make) {
    // The index's candidates in a range of references, each joined to its row. A part of a
    // name longer than three characters is a phrase of trigrams whose lists the index
    // intersects: in a large directory that costs more than reading the rows found, so the
    // references are cut into ranges that are searched at once, each range's rows and
    // contacts read and made on the thread that searches it.
    static const QString kSql =
        QStringLiteral("SELECT ") + ContactLightRow::kColumns +
        QStringLiteral(", c.name_fold FROM contacts_name_search AS candidate"
                       " CROSS JOIN contacts AS c ON c.reference = candidate.rowid"
                       " WHERE candidate.contacts_name_search MATCH ?"
                       " AND candidate.rowid BETWEEN ? AND ? AND instr(c.name_fold, ?) > 0");
    // The ranges and their rows are read in one state of the file.
    const DirectoryReadTransaction reading(s_);
    // An empty directory gives no least and greatest reference, read as 0: one empty range.
    qint64 first = 0;
    qint64 last = 0;
    if (!s_.ReadRows(QStringLiteral("SELECT (SELECT min(reference) FROM contacts),"
                                    " (SELECT max(reference) FROM contacts)"),
                     {}, "looking up contacts", [&](const SqliteStatement& row) {
                         first = row.Int64(0);
                         last = row.Int64(1);
                     })) {
        *ok = false;
        return {};
    }
    const auto range = [&](qint64 from, qint64 to) {
        return QVariantList{values.value(0), from, to, values.value(1)};
    };
    // Unsigned: references written by hand may lie further apart than a qint64 holds.
    const quint64 span = quint64(last) - quint64(first);
    if (span < kRangeReferences * 2) {
        return readInNameOrder(kSql, range(first, last), ok, make);
    }
    const quint64 count = std::min<quint64>(kMostParts, span / kRangeReferences);
    const quint64 step = span / count; // the last range takes what the division leaves
    std::vector<QVariantList> parts;
    for (quint64 i = 0; i < count; ++i) {
        const quint64 from = quint64(first) + step * i;
        parts.push_back(range(qint64(from), i + 1 == count ? last : qint64(from + step - 1)));
    }
    std::vector<FoundRows> found(count);
    *ok = s_.ReadRowsInParts(kSql, parts, "looking up contacts",
                             [&](int part, const SqliteStatement& row) {
                                 FoundRows& rows = found[std::size_t(part)];
                                 rows.Add(row);
                                 rows.made.push_back(make(ContactLightRow::Read(row)));
                             });
    return *ok ? inNameOrder(std::move(found)) : QList<std::shared_ptr<DirectoryContact>>{};
}

QList<std::shared_ptr<DirectoryContact>> ContactStore::Find(const QList<ContactCriterion>& criteria,
                                                            bool* ok,
                                                            const ContactMaker::Make& make) {
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
        // A part of a name alone, the search typed most: in a large directory it is read in
        // ranges at once.
        return findByNamePart(values, ok, make);
    }
    return readInNameOrder(QStringLiteral("SELECT ") + ContactLightRow::kColumns +
                               QStringLiteral(", name_fold FROM contacts WHERE ") +
                               terms.join(QStringLiteral(" OR ")),
                           values, ok, make);
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
