#include "platform/directory/contactfilter.h"

namespace {
class Reader {
public:
    explicit Reader(const QString& text) : t_(text) {}

    void skipBlanks() {
        while (pos_ < t_.size() && t_.at(pos_).isSpace()) {
            ++pos_;
        }
    }
    bool atEnd() const { return pos_ >= t_.size(); }
    QChar peek() const { return atEnd() ? QChar() : t_.at(pos_); }
    qsizetype pos() const { return pos_; }

    bool take(QChar c) {
        if (peek() == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    // A keyword in any case, standing alone (followed by a blank, a quote or the end).
    bool takeKeyword(QLatin1StringView word) {
        if (t_.size() - pos_ < word.size() ||
            QStringView(t_).mid(pos_, word.size()).compare(word, Qt::CaseInsensitive) != 0) {
            return false;
        }
        const qsizetype after = pos_ + word.size();
        if (after < t_.size()) {
            const QChar next = t_.at(after);
            if (!next.isSpace() && next != u'"' && next != u'\'' && next != u'[') {
                return false;
            }
        }
        pos_ = after;
        return true;
    }

    bool takeUntil(QChar end, QString* out) {
        const qsizetype close = t_.indexOf(end, pos_);
        if (close < 0) {
            return false;
        }
        *out = t_.mid(pos_, close - pos_);
        pos_ = close + 1;
        return true;
    }

    // A value in double or single quotes; a doubled quote inside it is one quote.
    bool takeQuoted(QString* out) {
        const QChar quote = peek();
        if (quote != u'"' && quote != u'\'') {
            return false;
        }
        ++pos_;
        out->clear();
        while (pos_ < t_.size()) {
            const QChar c = t_.at(pos_++);
            if (c == quote) {
                if (peek() == quote) {
                    out->append(quote);
                    ++pos_;
                    continue;
                }
                return true;
            }
            out->append(c);
        }
        return false;
    }

private:
    const QString& t_;
    qsizetype pos_ = 0;
};

ContactFilterParse refuse(const QString& why, qsizetype at) {
    ContactFilterParse r;
    r.error = QStringLiteral("%1 at character %2").arg(why).arg(at + 1);
    return r;
}
} // namespace

QString ContactFilterValue(const QString& value) {
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool ContactFieldFromName(const QString& name, ContactField* field) {
    static const struct {
        const char* name;
        ContactField field;
    } fields[] = {
        {"Name", ContactField::Name},
        {"Email1", ContactField::Email1},
        {"Email2", ContactField::Email2},
        {"Email3", ContactField::Email3},
        {"PhoneNumber1", ContactField::PhoneNumber1},
        {"PhoneNumber2", ContactField::PhoneNumber2},
        {"MobileNumber", ContactField::MobileNumber},
    };
    for (const auto& f : fields) {
        if (name.trimmed().compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0) {
            *field = f.field;
            return true;
        }
    }
    return false;
}

ContactFilterParse ParseContactFilter(const QString& filter) {
    Reader in(filter);
    ContactFilterParse result;
    in.skipBlanks();
    if (in.atEnd()) {
        return refuse(QStringLiteral("empty filter"), 0);
    }
    for (;;) {
        in.skipBlanks();
        if (!in.take(u'[')) {
            return refuse(QStringLiteral("expected '['"), in.pos());
        }
        QString fieldName;
        if (!in.takeUntil(u']', &fieldName)) {
            return refuse(QStringLiteral("missing ']'"), in.pos());
        }
        ContactCriterion c;
        if (!ContactFieldFromName(fieldName, &c.field)) {
            return refuse(QStringLiteral("unknown field '%1'").arg(fieldName), in.pos());
        }
        in.skipBlanks();
        bool like = false;
        if (in.take(u'=')) {
            like = false;
        } else if (in.takeKeyword(QLatin1StringView("LIKE"))) {
            like = true;
        } else {
            return refuse(QStringLiteral("expected '=' or LIKE"), in.pos());
        }
        in.skipBlanks();
        if (!in.takeQuoted(&c.value)) {
            return refuse(QStringLiteral("expected a quoted value"), in.pos());
        }
        c.match = ContactMatch::Equals;
        if (like) {
            const bool anyBefore = c.value.startsWith(u'*');
            if (anyBefore) {
                c.value.remove(0, 1);
            }
            const bool anyAfter = c.value.endsWith(u'*');
            if (anyAfter) {
                c.value.chop(1);
            }
            if (anyBefore && anyAfter) {
                c.match = ContactMatch::Contains;
            } else if (anyBefore) {
                c.match = ContactMatch::EndsWith;
            } else if (anyAfter) {
                c.match = ContactMatch::StartsWith;
            }
        }
        result.criteria << c;
        in.skipBlanks();
        if (in.atEnd()) {
            break;
        }
        if (!in.takeKeyword(QLatin1StringView("OR"))) {
            return refuse(QStringLiteral("expected OR"), in.pos());
        }
    }
    result.ok = true;
    return result;
}
