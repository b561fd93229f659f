#pragma once

#include "platform/directory/kvdirectory.h"

#include <QWidget>

#include <functional>

// The way the shared dialogs open a contact in its edit window. The edit-window openers set
// it when they exist (to their OpenContact); until then nothing opens and a log line says so.
//
// modal 0 shows the window modeless and returns it at once; 1 shows it modally and returns
// once it has closed, after which the contact's Reference is above 0 when the user saved it.
// The result is the window shown, or nullptr when none was.
using OpenContactHook = std::function<QWidget*(const KVDirectory::ContactPtr& contact, int modal)>;

// Installs the opener (an empty function removes it) and returns the one it replaces.
OpenContactHook SetOpenContactHook(OpenContactHook hook);

// Opens the contact through the installed opener. No contact: nothing happens.
QWidget* OpenContactThroughHook(const KVDirectory::ContactPtr& contact, int modal);
