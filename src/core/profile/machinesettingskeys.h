#pragma once

#include "platform/system/registrystore.h"

#include <QString>

// Values the station's administrator sets once per machine under the maker's own key of the
// machine store, read by several of the maker's programs.
namespace MachineSettingsKeys {
inline QString MakerKey() {
    return QStringLiteral("SOFTWARE\\Kestova");
}
// Non-zero: every phone number shown in an SMS window is hidden behind a mask.
inline constexpr const char* kMaskPhoneNumbers = "MaskPhoneNumbers";

inline bool MaskPhoneNumbers() {
    return RegistryStore::ReadNumber(RegistryRoot::LocalMachine, MakerKey(),
                                     QString::fromUtf8(kMaskPhoneNumbers), 0) != 0;
}
} // namespace MachineSettingsKeys
