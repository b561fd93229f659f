#include "platform/directory/contactlisting.h"

#include "platform/directory/contacttext.h"
#include "platform/directory/directorystorage.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>
#include <utility>

namespace {
constexpr const char* kContext = "listing contacts";
// A page of held references is read in one statement of this many references, the unused ones
// bound as 0 (no contact's), so that one prepared statement serves every page.
constexpr int kReferencesAtOnce = 256;

const QString kRowColumns = QStringLiteral("reference, name, company, name_fold");
const QString kOrder = QStringLiteral(" ORDER BY name_fold, reference");
// The held results are sorted once they are found: through the name index in order, the
// planner would walk the whole directory for them.
const QString kHeldOrder = QStringLiteral(" ORDER BY +name_fold, reference");

ContactListRow readRow(const SqliteStatement& row) {
    return ContactListRow{static_cast<qint32>(row.Int64(0)), row.Text(1), row.Text(2), row.Text(3)};
}

QString whereOf(const QString& condition) {
    return condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition;
}
} // namespace

ContactListing::ContactListing(std::shared_ptr<DirectoryStorage> storage, bool usersOnly,
                               QString search, qint64 heldMost)
    : storage_(std::move(storage)), usersOnly_(usersOnly), search_(std::move(search)),
      heldMost_(heldMost), fold_(ContactText::Fold(search_)) {}

ContactListing::~ContactListing() = default;

QString ContactListing::where() const {
    QStringList terms;
    if (usersOnly_) {
        terms << QStringLiteral("login_name IS NOT NULL");
    }
    if (!fold_.isEmpty()) {
        // As FindContacts: the trigram index gives the candidates of a part of three characters
        // or more, instr keeps exactly what a scan finds.
        if (!usersOnly_ && fold_.toUcs4().size() >= 3) {
            terms << QStringLiteral("reference IN (SELECT rowid FROM contacts_name_search"
                                    " WHERE contacts_name_search MATCH ?)");
        }
        terms << QStringLiteral("instr(name_fold, ?) > 0");
    }
    return terms.join(QStringLiteral(" AND "));
}

QVariantList ContactListing::whereValues() const {
    QVariantList values;
    if (!fold_.isEmpty()) {
        if (!usersOnly_ && fold_.toUcs4().size() >= 3) {
            values << QStringLiteral("name_fold : \"") +
                          QString(fold_).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                          QLatin1Char('"');
        }
        values << fold_;
    }
    return values;
}

// The walked rows' own condition joined to more: the name index read in order, each row's
// folded name tested, so that a page costs the rows walked to fill it.
QString ContactListing::conjoined(const QString& more) const {
    QStringList terms;
    if (!fold_.isEmpty()) {
        terms << QStringLiteral("instr(name_fold, ?) > 0");
    }
    if (!more.isEmpty()) {
        terms << more;
    }
    return whereOf(terms.join(QStringLiteral(" AND ")));
}

qint64 ContactListing::Count() {
    counted_ = false;
    held_ = false;
    references_.clear();
    if (!storage_ || !storage_->IsOpen()) {
        return -1;
    }
    qint64 count = -1;
    if (!usersOnly_) {
        if (!storage_->ReadRows(QStringLiteral("SELECT count(*) FROM contacts") + whereOf(where()),
                                whereValues(), kContext,
                                [&count](const SqliteStatement& row) { count = row.Int64(0); })) {
            return -1;
        }
        if (fold_.isEmpty() || count > heldMost_) {
            counted_ = true;
            return count;
        }
    }
    // The users (a few), or a search's few rows: their references in order, once.
    std::vector<qint32> references;
    if (!storage_->ReadRows(QStringLiteral("SELECT reference FROM contacts") + whereOf(where()) +
                                kHeldOrder,
                            whereValues(), kContext, [&references](const SqliteStatement& row) {
                                references.push_back(static_cast<qint32>(row.Int64(0)));
                            })) {
        return -1;
    }
    references_ = std::move(references);
    held_ = true;
    counted_ = true;
    return qint64(references_.size());
}

QList<ContactListRow> ContactListing::rowsOf(const std::vector<qint32>& references) {
    static const QString kSql = QStringLiteral("SELECT ") + kRowColumns +
                                QStringLiteral(" FROM contacts WHERE reference IN (") +
                                QStringLiteral("?, ").repeated(kReferencesAtOnce - 1) +
                                QStringLiteral("?)");
    QHash<qint32, ContactListRow> found;
    for (std::size_t at = 0; at < references.size(); at += kReferencesAtOnce) {
        QVariantList values;
        for (int i = 0; i < kReferencesAtOnce; ++i) {
            values << (at + std::size_t(i) < references.size() ? references[at + std::size_t(i)]
                                                               : 0);
        }
        storage_->ReadRows(kSql, values, kContext, [&found](const SqliteStatement& row) {
            ContactListRow r = readRow(row);
            found.insert(r.reference, std::move(r));
        });
    }
    QList<ContactListRow> rows;
    rows.reserve(qsizetype(references.size()));
    for (const qint32 reference : references) {
        // Removed since the count: an empty row that selects nothing.
        rows << found.value(reference);
    }
    return rows;
}

QList<ContactListRow> ContactListing::Rows(qint64 first, int count, const ContactListRow* previous,
                                           const ContactListRow* next) {
    if (!counted_ || first < 0 || count <= 0 || !storage_ || !storage_->IsOpen()) {
        return {};
    }
    if (held_) {
        const auto from = std::size_t(std::min<qint64>(first, qint64(references_.size())));
        const auto to = std::min(references_.size(), from + std::size_t(count));
        return rowsOf(std::vector<qint32>(references_.begin() + qsizetype(from),
                                          references_.begin() + qsizetype(to)));
    }
    QList<ContactListRow> rows;
    const auto add = [&rows](const SqliteStatement& row) { rows << readRow(row); };
    QVariantList values;
    if (!fold_.isEmpty()) {
        values << fold_;
    }
    if (previous != nullptr) {
        values << previous->fold << previous->reference << count;
        storage_->ReadRows(QStringLiteral("SELECT ") + kRowColumns +
                               QStringLiteral(" FROM contacts") +
                               conjoined(QStringLiteral("(name_fold, reference) > (?, ?)")) +
                               kOrder + QStringLiteral(" LIMIT ?"),
                           values, kContext, add);
    } else if (next != nullptr) {
        values << next->fold << next->reference << count;
        storage_->ReadRows(QStringLiteral("SELECT ") + kRowColumns +
                               QStringLiteral(" FROM contacts") +
                               conjoined(QStringLiteral("(name_fold, reference) < (?, ?)")) +
                               QStringLiteral(" ORDER BY name_fold DESC, reference DESC LIMIT ?"),
                           values, kContext, add);
        std::reverse(rows.begin(), rows.end());
    } else {
        values << count << first;
        storage_->ReadRows(QStringLiteral("SELECT ") + kRowColumns +
                               QStringLiteral(" FROM contacts") + conjoined(QString()) + kOrder +
                               QStringLiteral(" LIMIT ? OFFSET ?"),
                           values, kContext, add);
    }
    return rows;
}

qint64 ContactListing::rowOfKey(const QString& fold, qint32 reference) {
    QVariantList values;
    if (!fold_.isEmpty()) {
        values << fold_;
    }
    values << fold << reference;
    qint64 before = -1;
    storage_->ReadRows(QStringLiteral("SELECT count(*) FROM contacts") +
                           conjoined(QStringLiteral("(name_fold, reference) < (?, ?)")),
                       values, kContext,
                       [&before](const SqliteStatement& row) { before = row.Int64(0); });
    return before;
}

qint64 ContactListing::RowOf(qint32 reference) {
    if (!counted_ || reference <= 0 || !storage_ || !storage_->IsOpen()) {
        return -1;
    }
    if (held_) {
        const auto it = std::find(references_.begin(), references_.end(), reference);
        return it == references_.end() ? -1 : qint64(it - references_.begin());
    }
    QVariantList values;
    if (!fold_.isEmpty()) {
        values << fold_;
    }
    values << reference;
    QString fold;
    bool found = false;
    storage_->ReadRows(QStringLiteral("SELECT name_fold FROM contacts") +
                           conjoined(QStringLiteral("reference = ?")),
                       values, kContext, [&](const SqliteStatement& row) {
                           fold = row.Text(0);
                           found = true;
                       });
    return found ? rowOfKey(fold, reference) : -1;
}

qint64 ContactListing::FirstBeginningWith(const QString& prefix, qint64 from,
                                          const ContactListRow* at) {
    const QString begins = ContactText::Fold(prefix);
    if (!counted_ || begins.isEmpty() || !storage_ || !storage_->IsOpen()) {
        return -1;
    }
    // Every folded name that begins with the prefix sorts from the prefix itself to the prefix
    // followed by the last character there is.
    const QString range = QStringLiteral("name_fold >= ? AND name_fold < ?");
    const QString beyond = begins + QString::fromUcs4(U"\U0010FFFF");
    if (held_) {
        QSet<qint32> beginning;
        const QString condition = where();
        storage_->ReadRows(QStringLiteral("SELECT reference FROM contacts WHERE ") + range +
                               (condition.isEmpty() ? QString() : QStringLiteral(" AND ")) +
                               condition,
                           QVariantList{begins, beyond} + whereValues(), kContext,
                           [&beginning](const SqliteStatement& row) {
                               beginning.insert(static_cast<qint32>(row.Int64(0)));
                           });
        const auto size = qint64(references_.size());
        for (qint64 i = 0; i < size; ++i) {
            const qint64 row = (std::clamp<qint64>(from, 0, size) + i) % size;
            if (beginning.contains(references_[std::size_t(row)])) {
                return row;
            }
        }
        return -1;
    }
    ContactListRow here;
    if (at == nullptr && from > 0) {
        const QList<ContactListRow> rows = Rows(from, 1, nullptr, nullptr);
        if (!rows.isEmpty()) {
            here = rows.front();
            at = &here;
        }
    }
    const auto first = [&](const ContactListRow* after) {
        QVariantList values;
        if (!fold_.isEmpty()) {
            values << fold_;
        }
        values << begins << beyond;
        QString condition = range;
        if (after != nullptr) {
            condition += QStringLiteral(" AND (name_fold, reference) >= (?, ?)");
            values << after->fold << after->reference;
        }
        std::optional<std::pair<QString, qint32>> key;
        storage_->ReadRows(QStringLiteral("SELECT name_fold, reference FROM contacts") +
                               conjoined(condition) + kOrder + QStringLiteral(" LIMIT 1"),
                           values, kContext, [&key](const SqliteStatement& row) {
                               key.emplace(row.Text(0), static_cast<qint32>(row.Int64(1)));
                           });
        return key;
    };
    auto key = at != nullptr && from > 0 ? first(at) : std::nullopt;
    if (!key) {
        key = first(nullptr);
    }
    return key ? rowOfKey(key->first, key->second) : -1;
}
