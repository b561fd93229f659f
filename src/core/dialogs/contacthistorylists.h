#pragma once

#include <QString>

#include <functional>

class DirectoryContact;
class QPoint;
class QTreeWidget;
class QTreeWidgetItem;

// What the contact windows and the contacts pane hand the messages database for a contact's
// history lists, and how a line of those lists is read back.

// Email1, Email2, Email3 in that order, empty ones left out, joined by "|" (no "|" at the ends).
QString ContactEmailList(const DirectoryContact& contact);
// PhoneNumber1, PhoneNumber2, MobileNumber, OtherNumber, joined the same way.
QString ContactNumberList(const DirectoryContact& contact);
// Whether the messages list is filled at all: an e-mail address or a number to look for.
bool HasContactMessageAddresses(const QString& emails, const QString& numbers);

// A history line's key is one letter and a record's Reference: the letter in lower case
// ('\0' for an empty key) and the number from the second character on, read as a number and
// rounded to a whole one (0 when there is none or it does not fit).
QChar ContactHistoryKeyKind(const QString& key);
qint32 ContactHistoryKeyReference(const QString& key);
// The key a line of the database's lists carries.
QString ContactHistoryKey(const QTreeWidgetItem* item);

// Empties the list and fills it through fill, with the button-face background and the busy
// pointer while it runs; the window background and the pointer come back afterwards, also
// when fill throws. No list: nothing.
void RefillContactHistoryList(QTreeWidget* list, const std::function<void()>& fill);

// A mouse press on the list makes the line under the point the selected one, or leaves none
// on empty space, whatever the button.
void SelectContactHistoryLineAt(QTreeWidget* list, const QPoint& viewportPoint);
