#include "platform/system/sqlstatementpool.h"

SqlStatementPool::Lease::Lease(std::shared_ptr<Entry> entry, std::unique_ptr<QSqlQuery> own,
                               bool prepared)
    : entry_(std::move(entry)), own_(std::move(own)), prepared_(prepared) {
    query_ = entry_ ? &entry_->query : own_.get();
}

SqlStatementPool::Lease::Lease(Lease&& other) noexcept
    : entry_(std::move(other.entry_)), own_(std::move(other.own_)), query_(other.query_),
      prepared_(other.prepared_) {
    other.query_ = nullptr;
}

SqlStatementPool::Lease::~Lease() {
    if (query_ == nullptr) {
        return;
    }
    // Resetting the statement ends its read at once, whether or not every row was read.
    query_->finish();
    if (entry_) {
        entry_->lent = false;
    }
}

SqlStatementPool::Lease SqlStatementPool::Take(const QSqlDatabase& db, const QString& sql) {
    const auto found = entries_.constFind(sql);
    if (found != entries_.cend() && !(*found)->lent) {
        (*found)->lent = true;
        return Lease(*found, nullptr, true);
    }
    auto query = std::make_unique<QSqlQuery>(db);
    query->setForwardOnly(true);
    const bool prepared = query->prepare(sql);
    if (!prepared || found != entries_.cend()) {
        return Lease(nullptr, std::move(query), prepared);
    }
    auto entry = std::make_shared<Entry>();
    entry->query = std::move(*query);
    entry->lent = true;
    entries_.insert(sql, entry);
    return Lease(std::move(entry), nullptr, true);
}

void SqlStatementPool::Clear() {
    // A lease still out keeps its entry alive until it ends; the pool just stops handing it out.
    entries_.clear();
}
