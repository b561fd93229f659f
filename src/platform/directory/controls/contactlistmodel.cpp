#include "platform/directory/controls/contactlistmodel.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>

namespace {
QString lineOf(const ContactListRow& r) {
    if (r.company.isEmpty()) {
        return r.name;
    }
    return r.name + QStringLiteral(" (") + r.company + QLatin1Char(')');
}
} // namespace

ContactListModel::ContactListModel(QObject* parent) : QAbstractListModel(parent) {}

ContactListModel::~ContactListModel() = default;

void ContactListModel::SetListing(std::unique_ptr<ContactListing> listing, bool newContactRow) {
    beginResetModel();
    listing_ = std::move(listing);
    newContactRow_ = newContactRow;
    counted_ = false;
    count_ = 0;
    pages_.clear();
    endResetModel();
}

void ContactListModel::count() const {
    if (counted_) {
        return;
    }
    // Counted once per listing, when first asked: a view is told of the rows by the reset, and
    // asks again only after the next one.
    counted_ = true;
    count_ = 0;
    if (listing_) {
        ++countReads_;
        // A view holds its rows in an int.
        count_ =
            std::clamp<qint64>(listing_->Count(), 0, std::numeric_limits<int>::max() - kPageRows);
    }
}

int ContactListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    count();
    return int(count_) + leading();
}

const ContactListModel::Page& ContactListModel::page(qint64 number) const {
    auto it = pages_.find(number);
    if (it != pages_.end()) {
        it->second.used = ++uses_;
        return it->second;
    }
    // A neighbour's key finds the page through the name index at once; without one the rows
    // are counted off from the top.
    const ContactListRow* previous = nullptr;
    const ContactListRow* next = nullptr;
    if (const auto before = pages_.find(number - 1);
        before != pages_.end() && before->second.rows.size() == kPageRows) {
        previous = &before->second.rows.back();
    } else if (const auto after = pages_.find(number + 1);
               after != pages_.end() && !after->second.rows.isEmpty() &&
               after->second.rows.front().reference > 0) {
        next = &after->second.rows.front();
    }
    const qint64 first = number * kPageRows;
    const int rows = int(std::min<qint64>(kPageRows, count_ - first));
    Page fresh;
    ++pageReads_;
    fresh.rows = listing_->Rows(first, rows, previous, next);
    fresh.used = ++uses_;
    if (pages_.size() >= std::size_t(kPagesKept)) {
        const auto oldest =
            std::min_element(pages_.begin(), pages_.end(), [](const auto& a, const auto& b) {
                return a.second.used < b.second.used;
            });
        pages_.erase(oldest);
    }
    return pages_.emplace(number, std::move(fresh)).first->second;
}

const ContactListRow* ContactListModel::row(qint64 listed) const {
    count();
    if (!listing_ || listed < 0 || listed >= count_) {
        return nullptr;
    }
    const Page& p = page(listed / kPageRows);
    const qint64 at = listed % kPageRows;
    return at < p.rows.size() ? &p.rows[qsizetype(at)] : nullptr;
}

QVariant ContactListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const bool isNewEntry = newContactRow_ && index.row() == 0;
    switch (role) {
    case Qt::DisplayRole:
        if (isNewEntry) {
            return QCoreApplication::translate("uContactsList", "<New Contact>");
        }
        if (const ContactListRow* r = row(index.row() - leading())) {
            return lineOf(*r);
        }
        return QString();
    case ReferenceRole:
        return ReferenceAt(index.row());
    case NewEntryRole:
        return isNewEntry;
    default:
        return {};
    }
}

Qt::ItemFlags ContactListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

qint32 ContactListModel::ReferenceAt(int row) const {
    if (newContactRow_ && row == 0) {
        return 0;
    }
    const ContactListRow* r = this->row(row - leading());
    return r != nullptr ? r->reference : 0;
}

int ContactListModel::RowOf(qint32 reference) const {
    count();
    if (!listing_ || reference <= 0) {
        return -1;
    }
    const qint64 listed = listing_->RowOf(reference);
    // Added since the count: not among the rows the view knows.
    if (listed < 0 || listed >= count_) {
        return -1;
    }
    return int(listed) + leading();
}

int ContactListModel::FirstBeginningWith(const QString& text, int from) const {
    count();
    if (!listing_ || count_ == 0) {
        return -1;
    }
    const qint64 start = std::clamp<qint64>(from - leading(), 0, count_ - 1);
    const qint64 found = listing_->FirstBeginningWith(text, start, row(start));
    if (found < 0 || found >= count_) {
        return -1;
    }
    return int(found) + leading();
}
