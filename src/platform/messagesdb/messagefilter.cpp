#include "platform/messagesdb/messagefilter.h"

#include "platform/messagesdb/storeddates.h"

#include <QVariant>

#include <cmath>

namespace {
enum class FieldType { Whole, Date, Text };

struct Field {
    const char* Name;
    const char* Column;
    FieldType Type;
};

const Field kFields[] = {
    {"reference", "reference", FieldType::Whole},
    {"folder", "folder", FieldType::Whole},
    {"kind", "kind", FieldType::Whole},
    {"flags", "flags", FieldType::Whole},
    {"owner", "personal_owner", FieldType::Whole},
    {"personalowner", "personal_owner", FieldType::Whole},
    {"inherited", "inherited_value", FieldType::Whole},
    {"received", "received_utc", FieldType::Date},
    {"sent", "sent_utc", FieldType::Date},
    {"sendafter", "send_after_utc", FieldType::Date},
    {"subject", "subject", FieldType::Text},
    {"from", "from_text", FieldType::Text},
    {"to", "to_text", FieldType::Text},
    {"cc", "cc_text", FieldType::Text},
    {"body", "body_text", FieldType::Text},
};

class Parser {
public:
    explicit Parser(const QString& text) : s_(text) {}

    MessageFilter::Result run() {
        MessageFilter::Result r;
        skipBlanks();
        if (pos_ >= s_.size()) {
            r.Ok = true;
            return r;
        }
        QString where;
        if (!expression(where, 0)) {
            r.Error = error_;
            return r;
        }
        skipBlanks();
        if (pos_ < s_.size()) {
            r.Error = QStringLiteral("unexpected text at position %1").arg(pos_ + 1);
            return r;
        }
        r.Ok = true;
        r.Where = where;
        r.Values = values_;
        return r;
    }

private:
    bool fail(const QString& why) {
        if (error_.isEmpty()) {
            error_ = why;
        }
        return false;
    }

    void skipBlanks() {
        while (pos_ < s_.size() && s_.at(pos_).isSpace()) {
            ++pos_;
        }
    }

    // A keyword (AND, OR, NOT, LIKE, HAS), matched whole and without regard to case.
    bool word(const char* keyword) {
        skipBlanks();
        const QLatin1String k(keyword);
        if (s_.size() - pos_ < k.size() ||
            QStringView(s_).mid(pos_, k.size()).compare(k, Qt::CaseInsensitive) != 0) {
            return false;
        }
        const qsizetype end = pos_ + k.size();
        if (end < s_.size() && (s_.at(end).isLetterOrNumber() || s_.at(end) == QLatin1Char('_'))) {
            return false;
        }
        pos_ = end;
        return true;
    }

    bool symbol(QChar c) {
        skipBlanks();
        if (pos_ < s_.size() && s_.at(pos_) == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    bool expression(QString& out, int depth) {
        if (depth > MessageFilter::kMaxDepth) {
            return fail(QStringLiteral("the filter is nested too deeply"));
        }
        QString left;
        if (!term(left, depth)) {
            return false;
        }
        while (word("OR")) {
            QString right;
            if (!term(right, depth)) {
                return false;
            }
            left = QStringLiteral("(") + left + QStringLiteral(" OR ") + right + QLatin1Char(')');
        }
        out = left;
        return true;
    }

    bool term(QString& out, int depth) {
        QString left;
        if (!factor(left, depth)) {
            return false;
        }
        while (word("AND")) {
            QString right;
            if (!factor(right, depth)) {
                return false;
            }
            left = QStringLiteral("(") + left + QStringLiteral(" AND ") + right + QLatin1Char(')');
        }
        out = left;
        return true;
    }

    bool factor(QString& out, int depth) {
        if (depth > MessageFilter::kMaxDepth) {
            return fail(QStringLiteral("the filter is nested too deeply"));
        }
        if (word("NOT")) {
            QString inner;
            if (!factor(inner, depth + 1)) {
                return false;
            }
            out = QStringLiteral("(NOT ") + inner + QLatin1Char(')');
            return true;
        }
        if (symbol(QLatin1Char('('))) {
            QString inner;
            if (!expression(inner, depth + 1)) {
                return false;
            }
            if (!symbol(QLatin1Char(')'))) {
                return fail(QStringLiteral("a \")\" is missing at position %1").arg(pos_ + 1));
            }
            out = inner;
            return true;
        }
        return comparison(out);
    }

    bool comparison(QString& out) {
        if (!symbol(QLatin1Char('['))) {
            return fail(QStringLiteral("a [field] was expected at position %1").arg(pos_ + 1));
        }
        const qsizetype close = s_.indexOf(QLatin1Char(']'), pos_);
        if (close < 0) {
            return fail(QStringLiteral("a \"]\" is missing"));
        }
        const QString name = s_.mid(pos_, close - pos_).trimmed().toLower();
        pos_ = close + 1;
        const Field* field = nullptr;
        for (const Field& f : kFields) {
            if (name == QLatin1String(f.Name)) {
                field = &f;
                break;
            }
        }
        if (field == nullptr) {
            return fail(QStringLiteral("the field [%1] is unknown").arg(name.left(40)));
        }

        QString op;
        skipBlanks();
        if (word("LIKE")) {
            op = QStringLiteral("LIKE");
        } else if (word("HAS")) {
            op = QStringLiteral("HAS");
        } else {
            static const char* const kOperators[] = {"<>", "!=", "<=", ">=", "=", "<", ">"};
            for (const char* candidate : kOperators) {
                const QLatin1String c(candidate);
                if (QStringView(s_).mid(pos_, c.size()) == c) {
                    op = c == QLatin1String("!=") ? QStringLiteral("<>") : QString(c);
                    pos_ += c.size();
                    break;
                }
            }
        }
        if (op.isEmpty()) {
            return fail(QStringLiteral("an operator was expected after [%1]").arg(name));
        }

        QVariant value;
        bool isText = false;
        if (!readValue(value, isText)) {
            return false;
        }
        const QString column = QLatin1String(field->Column);
        switch (field->Type) {
        case FieldType::Text:
            if (!isText) {
                return fail(QStringLiteral("[%1] takes a quoted text").arg(name));
            }
            if (op == QLatin1String("HAS")) {
                return fail(QStringLiteral("HAS is for whole numbers"));
            }
            if (op == QLatin1String("LIKE")) {
                out = column + QStringLiteral(" LIKE ? ESCAPE '\\'");
                values_ << likePattern(value.toString());
            } else {
                out = column + QLatin1Char(' ') + op + QStringLiteral(" ? COLLATE NOCASE");
                values_ << value;
            }
            return true;
        case FieldType::Whole: {
            if (isText) {
                return fail(QStringLiteral("[%1] takes a number").arg(name));
            }
            const double d = value.toDouble();
            if (op == QLatin1String("LIKE")) {
                return fail(QStringLiteral("LIKE is for texts"));
            }
            if (op == QLatin1String("HAS")) {
                if (d != std::floor(d) || d < 0 || d > 2147483647.0) {
                    return fail(QStringLiteral("HAS takes a whole number"));
                }
                out = QStringLiteral("(") + column + QStringLiteral(" & ?) = ?");
                values_ << QVariant::fromValue<qint64>(static_cast<qint64>(d))
                        << QVariant::fromValue<qint64>(static_cast<qint64>(d));
                return true;
            }
            out = column + QLatin1Char(' ') + op + QStringLiteral(" ?");
            values_ << (d == std::floor(d) && std::fabs(d) < 9.0e15
                            ? QVariant::fromValue<qint64>(static_cast<qint64>(d))
                            : QVariant(d));
            return true;
        }
        case FieldType::Date: {
            if (isText) {
                return fail(QStringLiteral("[%1] takes a date number").arg(name));
            }
            if (op == QLatin1String("LIKE") || op == QLatin1String("HAS")) {
                return fail(QStringLiteral("%1 is not for dates").arg(op));
            }
            qint64 stored = 0;
            if (!StoredDates::DateNumberToStored(value.toDouble(), stored)) {
                return fail(QStringLiteral("the date number for [%1] is out of range").arg(name));
            }
            // An unset date matches no comparison.
            out = QStringLiteral("(") + column + QStringLiteral(" IS NOT NULL AND ") + column +
                  QLatin1Char(' ') + op + QStringLiteral(" ?)");
            values_ << QVariant::fromValue<qint64>(stored);
            return true;
        }
        }
        return false;
    }

    bool readValue(QVariant& value, bool& isText) {
        skipBlanks();
        if (pos_ >= s_.size()) {
            return fail(QStringLiteral("a value is missing at the end"));
        }
        const QChar first = s_.at(pos_);
        if (first == QLatin1Char('\'') || first == QLatin1Char('"')) {
            QString text;
            ++pos_;
            while (true) {
                if (pos_ >= s_.size()) {
                    return fail(QStringLiteral("a quoted text is not closed"));
                }
                const QChar c = s_.at(pos_++);
                if (c == first) {
                    if (pos_ < s_.size() && s_.at(pos_) == first) {
                        text += c;
                        ++pos_;
                        continue;
                    }
                    break;
                }
                text += c;
            }
            value = text;
            isText = true;
            return true;
        }
        // A number: digits with an optional "." fraction and exponent, and nothing else.
        const qsizetype start = pos_;
        qsizetype p = pos_;
        if (p < s_.size() && (s_.at(p) == QLatin1Char('-') || s_.at(p) == QLatin1Char('+'))) {
            ++p;
        }
        const auto digits = [&] {
            const qsizetype from = p;
            while (p < s_.size() && s_.at(p) >= QLatin1Char('0') && s_.at(p) <= QLatin1Char('9')) {
                ++p;
            }
            return p - from;
        };
        qsizetype count = digits();
        if (p < s_.size() && s_.at(p) == QLatin1Char('.')) {
            ++p;
            count += digits();
        }
        if (count == 0) {
            return fail(QStringLiteral("a number or a quoted text was expected at position %1")
                            .arg(start + 1));
        }
        if (p < s_.size() && (s_.at(p) == QLatin1Char('e') || s_.at(p) == QLatin1Char('E'))) {
            qsizetype e = p + 1;
            if (e < s_.size() && (s_.at(e) == QLatin1Char('-') || s_.at(e) == QLatin1Char('+'))) {
                ++e;
            }
            const qsizetype before = e;
            while (e < s_.size() && s_.at(e).isDigit()) {
                ++e;
            }
            if (e > before) {
                p = e;
            }
        }
        // "46000,5" is a decimal comma, not "46000" followed by something.
        if (p < s_.size() && (s_.at(p).isLetterOrNumber() || s_.at(p) == QLatin1Char(',') ||
                              s_.at(p) == QLatin1Char('.'))) {
            return fail(QStringLiteral("the number at position %1 is malformed").arg(start + 1));
        }
        bool ok = false;
        const double d = s_.mid(start, p - start).toDouble(&ok); // C locale, always "."
        if (!ok || !std::isfinite(d)) {
            return fail(QStringLiteral("the number at position %1 is malformed").arg(start + 1));
        }
        pos_ = p;
        value = d;
        isText = false;
        return true;
    }

    static QString likePattern(const QString& text) {
        QString pattern;
        for (const QChar c : text) {
            if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\')) {
                pattern += QLatin1Char('\\');
                pattern += c;
            } else if (c == QLatin1Char('*')) {
                pattern += QLatin1Char('%');
            } else if (c == QLatin1Char('?')) {
                pattern += QLatin1Char('_');
            } else {
                pattern += c;
            }
        }
        return pattern;
    }

    const QString& s_;
    qsizetype pos_ = 0;
    QVariantList values_;
    QString error_;
};
} // namespace

MessageFilter::Result MessageFilter::Parse(const QString& filter) {
    if (filter.size() > kMaxLength) {
        Result r;
        r.Error = QStringLiteral("the filter is longer than %1 characters").arg(kMaxLength);
        return r;
    }
    return Parser(filter).run();
}
