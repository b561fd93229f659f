#include "platform/system/sqlitestatement.h"

#include <QByteArray>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlDriver>

#include <sqlite3.h>

#include <cstring>

sqlite3* SqliteHandle(const QSqlDatabase& db) {
    if (!db.isOpen() || db.driver() == nullptr) {
        return nullptr;
    }
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || std::strcmp(v.typeName(), "sqlite3*") != 0) {
        return nullptr;
    }
    return *static_cast<sqlite3* const*>(v.constData());
}

void SqliteClose::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

namespace {
// A null text, bytes, date or time binds as NULL, as the Qt driver binds it.
bool isNullValue(const QVariant& value) {
    if (value.isNull()) {
        return true;
    }
    switch (value.typeId()) {
    case QMetaType::QString:
        return static_cast<const QString*>(value.constData())->isNull();
    case QMetaType::QByteArray:
        return static_cast<const QByteArray*>(value.constData())->isNull();
    case QMetaType::QDateTime:
        return static_cast<const QDateTime*>(value.constData())->isNull();
    case QMetaType::QDate:
        return static_cast<const QDate*>(value.constData())->isNull();
    case QMetaType::QTime:
        return static_cast<const QTime*>(value.constData())->isNull();
    default:
        return false;
    }
}
} // namespace

SqliteStatement::SqliteStatement(sqlite3* db, const QString& sql, bool kept) : db_(db) {
    if (db_ == nullptr) {
        error_ = QStringLiteral("the connection is not open");
        reason_ = error_;
        return;
    }
    const QByteArray text = sql.toUtf8();
    const int code = sqlite3_prepare_v3(db_, text.constData(), static_cast<int>(text.size()),
                                        kept ? SQLITE_PREPARE_PERSISTENT : 0, &statement_, nullptr);
    if (code != SQLITE_OK) {
        fail(code);
        sqlite3_finalize(statement_);
        statement_ = nullptr;
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : db_(other.db_), statement_(other.statement_), error_(std::move(other.error_)),
      reason_(std::move(other.reason_)), failed_(other.failed_) {
    other.statement_ = nullptr;
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        db_ = other.db_;
        statement_ = other.statement_;
        error_ = std::move(other.error_);
        reason_ = std::move(other.reason_);
        failed_ = other.failed_;
        other.statement_ = nullptr;
    }
    return *this;
}

bool SqliteStatement::fail(int code) {
    failed_ = true;
    const char* message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
    reason_ = QString::fromUtf8(message);
    error_ = QStringLiteral("%1 (%2)").arg(reason_).arg(code);
    return false;
}

bool SqliteStatement::Bind(const QVariantList& values) {
    if (statement_ == nullptr) {
        failed_ = true;
        return false;
    }
    failed_ = false;
    if (values.size() != sqlite3_bind_parameter_count(statement_)) {
        failed_ = true;
        error_ = QStringLiteral("parameter count mismatch");
        reason_ = error_;
        return false;
    }
    int index = 0;
    for (const QVariant& value : values) {
        ++index;
        int code = SQLITE_OK;
        if (isNullValue(value)) {
            code = sqlite3_bind_null(statement_, index);
        } else {
            switch (value.typeId()) {
            case QMetaType::QByteArray: {
                const QByteArray bytes = value.toByteArray();
                code = sqlite3_bind_blob64(statement_, index, bytes.constData(),
                                           static_cast<sqlite3_uint64>(bytes.size()),
                                           SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::Bool:
            case QMetaType::Int:
                code = sqlite3_bind_int(statement_, index, value.toInt());
                break;
            case QMetaType::Double:
                code = sqlite3_bind_double(statement_, index, value.toDouble());
                break;
            case QMetaType::UInt:
            case QMetaType::LongLong:
                code = sqlite3_bind_int64(statement_, index, value.toLongLong());
                break;
            default: {
                const QString text = value.typeId() == QMetaType::QDateTime
                                         ? value.toDateTime().toString(Qt::ISODateWithMs)
                                     : value.typeId() == QMetaType::QTime
                                         ? value.toTime().toString(QStringLiteral("hh:mm:ss.zzz"))
                                         : value.toString();
                code = sqlite3_bind_text16(statement_, index, text.utf16(),
                                           static_cast<int>(text.size() * 2), SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (code != SQLITE_OK) {
            return fail(code);
        }
    }
    return true;
}

bool SqliteStatement::Next() {
    if (statement_ == nullptr) {
        failed_ = true;
        return false;
    }
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code != SQLITE_DONE) {
        fail(code);
    }
    return false;
}

void SqliteStatement::Reset() {
    if (statement_ != nullptr) {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    failed_ = false;
}

bool SqliteStatement::IsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

bool SqliteStatement::IsInteger(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_INTEGER;
}

qint64 SqliteStatement::Int64(int column) const {
    return sqlite3_column_int64(statement_, column);
}

QVariant SqliteStatement::Value(int column) const {
    switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_INTEGER:
        return QVariant::fromValue<qint64>(sqlite3_column_int64(statement_, column));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement_, column));
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(statement_, column);
        const int size = sqlite3_column_bytes(statement_, column);
        return QVariant(QByteArray(static_cast<const char*>(data), size));
    }
    case SQLITE_NULL:
        return {};
    default: {
        const void* data = sqlite3_column_text16(statement_, column);
        const int size = sqlite3_column_bytes16(statement_, column);
        return QVariant(QString(static_cast<const QChar*>(data), static_cast<qsizetype>(size) / 2));
    }
    }
}

QString SqliteStatement::Utf8Text(int column) const {
    const int type = sqlite3_column_type(statement_, column);
    if (type == SQLITE_NULL) {
        return {};
    }
    if (type != SQLITE_BLOB && type != SQLITE_TEXT) {
        // A number in a text column reads as its text, as a cast of it to bytes does.
        const auto* text = sqlite3_column_text(statement_, column);
        const int size = sqlite3_column_bytes(statement_, column);
        return size == 0 ? QStringLiteral("")
                         : QString::fromUtf8(reinterpret_cast<const char*>(text), size);
    }
    const void* data = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    if (size == 0) {
        return QStringLiteral("");
    }
    return QString::fromUtf8(static_cast<const char*>(data), size);
}

QString SqliteStatement::Text(int column) const {
    // Null only for NULL (and when SQLite ran out of memory, which reads as NULL too).
    return TextOf(Utf8(column));
}

QString SqliteStatement::TextOf(QByteArrayView utf8) {
    if (utf8.isNull()) {
        return QString();
    }
    static const QString empty = QLatin1String("");
    return utf8.isEmpty() ? empty : QString::fromUtf8(utf8);
}

QByteArrayView SqliteStatement::Utf8(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return text == nullptr ? QByteArrayView()
                           : QByteArrayView(text, sqlite3_column_bytes(statement_, column));
}

bool SqliteStatementPool::Run(sqlite3* db, const QString& sql, QString* why) {
    auto statement = Take(db, sql);
    const bool ran = statement->Prepared() && !statement->Next() && !statement->Failed();
    if (!ran && why) {
        *why = statement->Reason();
    }
    return ran;
}

SqliteStatementPool::Lease SqliteStatementPool::Take(sqlite3* db, const QString& sql) {
    const auto found = entries_.constFind(sql);
    if (found != entries_.cend() && !(*found)->lent) {
        (*found)->lent = true;
        return Lease(*found);
    }
    auto entry = std::make_shared<Entry>();
    entry->statement = SqliteStatement(db, sql, found == entries_.cend());
    entry->lent = true;
    if (!entry->statement.Prepared()) {
        return Lease(std::move(entry));
    }
    if (found != entries_.cend()) {
        std::erase_if(loose_, [](const std::weak_ptr<Entry>& e) { return e.expired(); });
        loose_.push_back(entry);
    } else {
        entries_.insert(sql, entry);
    }
    return Lease(std::move(entry));
}

void SqliteStatementPool::Clear() {
    for (const auto& entry : std::as_const(entries_)) {
        entry->statement = SqliteStatement();
    }
    for (const auto& weak : loose_) {
        if (const auto entry = weak.lock()) {
            entry->statement = SqliteStatement();
        }
    }
    entries_.clear();
    loose_.clear();
}

SqliteStatementPool::Lease::Lease(Lease&& other) noexcept : entry_(std::move(other.entry_)) {}

SqliteStatementPool::Lease::~Lease() {
    if (!entry_) {
        return;
    }
    // Resetting the statement ends its read at once, whether or not every row was read.
    entry_->statement.Reset();
    entry_->lent = false;
}
