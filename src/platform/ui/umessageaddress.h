#pragma once

#include <QLineEdit>
#include <QList>
#include <QString>

// The address box of the message windows. It holds a list of entries, each a bare address or
// a display name with its address, and composes its Text from them: the bare address, or the
// name (quoted when it holds a comma, quote, bracket or another character that would split or
// change the entry) and the address in "<>", joined by ", ". Text read back into the box gives
// the same Text. Names show as plain text: the box never interprets markup.
class uMessageAddress : public QLineEdit {
    Q_OBJECT
public:
    struct Entry {
        QString DisplayName; // unquoted
        QString Address;     // bare, without "<>"
        bool operator==(const Entry&) const = default;
    };

    explicit uMessageAddress(QWidget* parent = nullptr);

    // The entries of an address text. Only commas outside double quotes, angle brackets and
    // comments split; a name loses its quotes and escapes, an address its "<>".
    static QList<Entry> Entries(const QString& text);
    // The composed text of entries.
    static QString Compose(const QList<Entry>& entries);

    // The whole field as one composed string.
    QString Text() const;
    // Shows text composed; raises AddressChanged like typing does.
    void SetText(const QString& text);
    // Appends one entry. The name may come quoted or not, the address with or without "<>".
    void AddAddress(const QString& displayName, const QString& address);

    bool DisplayAddressLinks() const { return links_; }
    // Entries answer clicks (AddressClicked) and the pointer shows a hand over the box.
    void SetDisplayAddressLinks(bool links);

    // The entry at a character position of the shown text; false past the last one.
    bool EntryAt(int position, Entry& entry) const;

Q_SIGNALS:
    void AddressClicked(const QString& displayName, const QString& address);
    void AddressChanged();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool links_ = false;
};
