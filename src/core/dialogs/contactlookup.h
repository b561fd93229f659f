#pragma once

#include <QString>

class KVDirectory;
class QWidget;

// Finds the contacts a message window's address belongs to and opens one: the contacts with
// this address first, else those whose name holds the display name. Several: the user picks
// one. None: the user is told. The chosen contact opens modeless through the contact opener
// (core/contactopener.h). Returns the window shown, or nullptr.
//
// Each search runs only on a value that is not blank; values are compared literally, so
// quotes and wildcard characters in them are only themselves. E-mail addresses must equal
// one of a contact's three addresses (any case); a phone number may be any part of a
// contact's two phone numbers or mobile number.
QWidget* FindContactByEmail(const QString& name, const QString& address, QWidget* owner);
QWidget* FindContactByPhone(const QString& name, const QString& address, QWidget* owner);

// The same over a given directory (the two above use the program's).
QWidget* FindContactByEmail(KVDirectory* directory, const QString& name, const QString& address,
                            QWidget* owner);
QWidget* FindContactByPhone(KVDirectory* directory, const QString& name, const QString& address,
                            QWidget* owner);
