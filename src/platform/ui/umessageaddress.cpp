#include "platform/ui/umessageaddress.h"

#include "platform/mime/addresstext.h"

#include <QMouseEvent>

namespace {

// A name as written in an entry, its surrounding quotes and escapes taken off.
QString unquotedName(const QString& written) {
    QString name = written.trimmed();
    if (name.size() < 2 || !name.startsWith(u'"') || !name.endsWith(u'"')) {
        return name;
    }
    QString plain;
    for (qsizetype i = 1; i + 1 < name.size(); ++i) {
        if (name.at(i) == u'\\' && i + 2 < name.size()) {
            ++i;
        }
        plain += name.at(i);
    }
    return plain;
}

uMessageAddress::Entry entryOf(const QString& piece) {
    // The "<" that opens the address is the last one: a quoted name may hold another.
    const qsizetype open = piece.lastIndexOf(u'<');
    return {open > 0 ? unquotedName(piece.left(open)) : QString(), mime::AddressOfEntry(piece)};
}

} // namespace

uMessageAddress::uMessageAddress(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, &uMessageAddress::AddressChanged);
}

QList<uMessageAddress::Entry> uMessageAddress::Entries(const QString& text) {
    QList<Entry> entries;
    for (const QString& piece : mime::SplitAddressText(text)) {
        Entry entry = entryOf(piece);
        if (!entry.Address.isEmpty() || !entry.DisplayName.isEmpty()) {
            entries.append(entry);
        }
    }
    return entries;
}

QString uMessageAddress::Compose(const QList<Entry>& entries) {
    QStringList parts;
    for (const Entry& entry : entries) {
        parts += mime::ComposeAddressEntry(entry.DisplayName, entry.Address);
    }
    return parts.join(QStringLiteral(", "));
}

QString uMessageAddress::Text() const {
    return Compose(Entries(text()));
}

void uMessageAddress::SetText(const QString& text) {
    setText(Compose(Entries(text)));
}

void uMessageAddress::AddAddress(const QString& displayName, const QString& address) {
    Entry added{unquotedName(displayName), mime::AddressOfEntry(address)};
    if (added.Address.isEmpty()) {
        return;
    }
    QList<Entry> entries = Entries(text());
    entries.append(added);
    setText(Compose(entries));
}

void uMessageAddress::SetDisplayAddressLinks(bool links) {
    links_ = links;
    setCursor(links ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

bool uMessageAddress::EntryAt(int position, Entry& entry) const {
    // The shown text is split the same way the entries were made.
    const QString shown = text();
    qsizetype start = 0;
    for (const QString& piece : mime::SplitAddressText(shown)) {
        const qsizetype at = shown.indexOf(piece, start);
        if (at < 0) {
            return false;
        }
        start = at + piece.size();
        if (position <= start) {
            entry = entryOf(piece);
            return true;
        }
    }
    return false;
}

void uMessageAddress::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (!links_ || event->button() != Qt::LeftButton || hasSelectedText()) {
        return;
    }
    Entry entry;
    if (EntryAt(cursorPositionAt(event->position().toPoint()), entry)) {
        Q_EMIT AddressClicked(entry.DisplayName, entry.Address);
    }
}
