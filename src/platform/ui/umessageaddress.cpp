#include "platform/ui/umessageaddress.h"

#include "platform/mime/addresstext.h"
#include "platform/system/displaytext.h"

#include <QEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

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

uMessageAddress::Entry entryOf(const QString& written) {
    // What the box showed may carry the display rule's isolates.
    const QString piece = DisplayText::Cleaned(written);
    // The "<" that opens the address is the last one: a quoted name may hold another.
    const qsizetype open = piece.lastIndexOf(u'<');
    return {open > 0 ? unquotedName(piece.left(open)) : QString(), mime::AddressOfEntry(piece)};
}

// A box being edited shows the entries cleaned only (the caret would step over marks); a box
// that only shows them isolates each name and address, so that a listener's name can neither
// reverse the address nor run into the next entry.
QString shownText(const QList<uMessageAddress::Entry>& entries, bool readOnly) {
    const QString composed = uMessageAddress::Compose(entries);
    if (!readOnly) {
        return composed;
    }
    QStringList parts;
    for (const uMessageAddress::Entry& entry : entries) {
        parts += DisplayText::AddressEntry(mime::ComposeAddressEntry(
            DisplayText::Cleaned(entry.DisplayName), DisplayText::Cleaned(entry.Address)));
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

uMessageAddress::uMessageAddress(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, &uMessageAddress::AddressChanged);
}

QList<uMessageAddress::Entry> uMessageAddress::Entries(const QString& text) {
    QList<Entry> entries;
    for (const QString& piece : mime::SplitAddressText(DisplayText::Cleaned(text))) {
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
        parts += mime::ComposeAddressEntry(DisplayText::Cleaned(entry.DisplayName),
                                           DisplayText::Cleaned(entry.Address));
    }
    return parts.join(QStringLiteral(", "));
}

QString uMessageAddress::Text() const {
    return Compose(Entries(text()));
}

void uMessageAddress::SetText(const QString& text) {
    setText(shownText(Entries(text), isReadOnly()));
}

void uMessageAddress::AddAddress(const QString& displayName, const QString& address) {
    Entry added{unquotedName(displayName), mime::AddressOfEntry(address)};
    if (added.Address.isEmpty()) {
        return;
    }
    QList<Entry> entries = Entries(text());
    entries.append(added);
    setText(shownText(entries, isReadOnly()));
}

void uMessageAddress::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::ReadOnlyChange) {
        // The same entries, shown as a box of that kind shows them: nothing was edited.
        const QSignalBlocker quiet(this);
        setText(shownText(Entries(text()), isReadOnly()));
    }
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
