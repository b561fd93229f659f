#pragma once

#include <QString>

#include <functional>

class QWidget;

// The way the contact window hands a label to the address-label sheet. The sheet installs
// its printer when it is registered; until then nothing is printed and a log line says so.
//
// text is the label, lines joined by CR LF; all fills every label of the sheet with it.
using AddressLabelPrinter = std::function<void(const QString& text, bool all, QWidget* owner)>;

// Installs the printer (an empty function removes it) and returns the one it replaces.
AddressLabelPrinter SetAddressLabelPrinter(AddressLabelPrinter printer);
bool HasAddressLabelPrinter();
// Shows the sheet through the installed printer; False, with a log line, when none is.
bool PrintAddressLabels(const QString& text, bool all, QWidget* owner);
