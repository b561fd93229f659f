#include "contacts/addresslabelprinter.h"

#include "core/debuglog.h"

#include <utility>

namespace {
AddressLabelPrinter& installed() {
    static AddressLabelPrinter printer;
    return printer;
}
} // namespace

AddressLabelPrinter SetAddressLabelPrinter(AddressLabelPrinter printer) {
    return std::exchange(installed(), std::move(printer));
}

bool HasAddressLabelPrinter() {
    return static_cast<bool>(installed());
}

bool PrintAddressLabels(const QString& text, bool all, QWidget* owner) {
    if (!installed()) {
        DebugLog(QStringLiteral("Address labels: no label sheet is installed, nothing printed"));
        return false;
    }
    installed()(text, all, owner);
    return true;
}
