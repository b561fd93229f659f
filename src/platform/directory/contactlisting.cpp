#include "platform/directory/contactlisting.h"

#include "platform/directory/contacttext.h"
#include "platform/directory/directorystorage.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <functional>
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
    known_.clear();
    count_ = 0;
    if (!storage_ || !storage_->IsOpen()) {
        return -1;
    }
    qint64 count = -1;
    if (!usersOnly_) {
        // A part of three characters or more is counted in the trigram index alone: its
        // phrase of the part's trigrams matches exactly the names holding the part, so the
        // rows themselves (scattered over the whole file) need not be read to count them.
        const bool trigrams = fold_.toUcs4().size() >= 3;
        const QString sql =
            trigrams ? QStringLiteral("SELECT count(*) FROM contacts_name_search"
                                      " WHERE contacts_name_search MATCH ?")
                     : QStringLiteral("SELECT count(*) FROM contacts") + whereOf(where());
        const QVariantList values = trigrams ? QVariantList{whereValues().front()} : whereValues();
        if (!storage_->ReadRows(sql, values, kContext,
                                [&count](const SqliteStatement& row) { count = row.Int64(0); })) {
            return -1;
        }
        if (fold_.isEmpty() || count > heldMost_) {
            counted_ = true;
            count_ = count;
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

QList<ContactListRow> ContactListing::walk(const ContactListRow* key, bool after, qint64 skip,
                                           int count, bool inclusive) {
    QList<ContactListRow> rows;
    if (count <= 0) {
        return rows;
    }
    const auto add = [&rows](const SqliteStatement& row) { rows << readRow(row); };
    QVariantList values;
    if (!fold_.isEmpty()) {
        values << fold_;
    }
    QString from;
    if (key != nullptr) {
        from = after ? (inclusive ? QStringLiteral("(name_fold, reference) >= (?, ?)")
                                  : QStringLiteral("(name_fold, reference) > (?, ?)"))
                     : QStringLiteral("(name_fold, reference) < (?, ?)");
        values << key->fold << key->reference;
    }
    values << count << std::max<qint64>(skip, 0);
    storage_->ReadRows(
        QStringLiteral("SELECT ") + kRowColumns + QStringLiteral(" FROM contacts") +
            conjoined(from) +
            (after ? kOrder : QStringLiteral(" ORDER BY name_fold DESC, reference DESC")) +
            QStringLiteral(" LIMIT ? OFFSET ?"),
        values, kContext, add);
    if (!after) {
        std::reverse(rows.begin(), rows.end());
    }
    return rows;
}

void ContactListing::learn(qint64 row, const ContactListRow& at) {
    if (at.reference <= 0 || row < 0) {
        return;
    }
    // A few hundred keys are plenty to start near any row a view reaches.
    constexpr std::size_t kKnownMost = 512;
    if (known_.size() >= kKnownMost) {
        known_.clear();
    }
    known_[row] = Known{at.fold, at.fold.toUtf8(), at.reference};
}

std::optional<std::pair<qint64, const ContactListing::Known*>>
ContactListing::knownBelow(const QString& fold, qint32 reference) const {
    const QByteArray order = fold.toUtf8();
    std::optional<std::pair<qint64, const Known*>> best;
    for (const auto& [row, key] : known_) {
        const int c = key.order.compare(order);
        if (c < 0 || (c == 0 && key.reference < reference)) {
            if (!best || row > best->first) {
                best.emplace(row, &key);
            }
        }
    }
    return best;
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
    if (previous != nullptr) {
        rows = walk(previous, true, 0, count);
    } else if (next != nullptr) {
        rows = walk(next, false, 0, count);
    } else {
        // The road that counts off the fewest rows: from the top, from the end, or from a
        // row whose key is known.
        const qint64 last = first + count; // one past
        qint64 cost = first;
        std::function<QList<ContactListRow>()> road = [&] {
            return walk(nullptr, true, first, count);
        };
        if (const qint64 fromEnd = std::max<qint64>(0, count_ - last); fromEnd < cost) {
            cost = fromEnd;
            road = [&, fromEnd] { return walk(nullptr, false, fromEnd, count); };
        }
        for (const auto& [row, key] : known_) {
            const qint64 between = row < first ? first - row - 1 : row >= last ? row - last : 0;
            if (between < cost) {
                cost = between;
                const ContactListRow at{key.reference, QString(), QString(), key.fold};
                const qint64 known = row;
                road = [&, at, known, between] {
                    if (known < first) {
                        return walk(&at, true, between, count);
                    }
                    if (known >= last) {
                        return walk(&at, false, between, count);
                    }
                    return walk(&at, false, 0, int(known - first)) +
                           walk(&at, true, 0, int(last - known), true);
                };
            }
        }
        rows = road();
    }
    if (!rows.isEmpty()) {
        learn(first, rows.front());
        learn(first + rows.size() - 1, rows.back());
    }
    return rows;
}

qint64 ContactListing::rowOfKey(const QString& fold, qint32 reference) {
    QVariantList values;
    if (!fold_.isEmpty()) {
        values << fold_;
    }
    // Counted from the nearest row below whose key is known, else from the top.
    const auto below = knownBelow(fold, reference);
    QString range = QStringLiteral("(name_fold, reference) < (?, ?)");
    if (below) {
        range += QStringLiteral(" AND (name_fold, reference) >= (?, ?)");
    }
    values << fold << reference;
    if (below) {
        values << below->second->fold << below->second->reference;
    }
    qint64 before = -1;
    storage_->ReadRows(QStringLiteral("SELECT count(*) FROM contacts") + conjoined(range), values,
                       kContext, [&before](const SqliteStatement& row) { before = row.Int64(0); });
    if (before < 0) {
        return -1;
    }
    const qint64 row = below ? below->first + before : before;
    learn(row, ContactListRow{reference, QString(), QString(), fold});
    return row;
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

QList<std::pair<qint64, QString>> ContactListing::RowsNamed(const QString& text, int most) {
    const QString named = ContactText::Fold(text);
    QList<std::pair<qint64, QString>> rows;
    if (!counted_ || most <= 0 || !storage_ || !storage_->IsOpen()) {
        return rows;
    }
    if (held_) {
        QHash<qint32, QString> names;
        const QString condition = where();
        storage_->ReadRows(
            QStringLiteral("SELECT reference, name FROM contacts WHERE name_fold = ?") +
                (condition.isEmpty() ? QString() : QStringLiteral(" AND ")) + condition,
            QVariantList{named} + whereValues(), kContext, [&names](const SqliteStatement& row) {
                names.insert(static_cast<qint32>(row.Int64(0)), row.Text(1));
            });
        for (std::size_t i = 0; i < references_.size() && rows.size() < most; ++i) {
            if (const auto it = names.constFind(references_[i]); it != names.constEnd()) {
                rows.append({qint64(i), *it});
            }
        }
        return rows;
    }
    QVariantList values;
    if (!fold_.isEmpty()) {
        values << fold_;
    }
    values << named << most;
    QList<std::pair<qint32, QString>> found;
    storage_->ReadRows(QStringLiteral("SELECT reference, name FROM contacts") +
                           conjoined(QStringLiteral("name_fold = ?")) + kOrder +
                           QStringLiteral(" LIMIT ?"),
                       values, kContext, [&found](const SqliteStatement& row) {
                           found.append({static_cast<qint32>(row.Int64(0)), row.Text(1)});
                       });
    for (const auto& [reference, name] : found) {
        rows.append({rowOfKey(named, reference), name});
    }
    return rows;
}
