#pragma once

#include <QString>

// The stores' keys of the product and of the client, and the machine store's keys for one
// client profile. Tree A holds the three shared folders, shared by the product's programs;
// tree B the client's own settings.
namespace SettingsKeys {
// The product's own key, shared by its programs.
inline QString ProductKey() {
    return QStringLiteral("SOFTWARE\\Kestova\\Orlix v1");
}
// The client's key: its profiles, and in the user store its window placement.
inline QString ClientKey() {
    return ProductKey() + QStringLiteral("\\Client");
}
inline QString ProfilesA() {
    return ProductKey() + QStringLiteral("\\Profiles");
}
inline QString ProfilesB() {
    return ClientKey() + QStringLiteral("\\Profiles");
}
inline QString TreeA(const QString& profile) {
    return ProfilesA() + QLatin1Char('\\') + profile + QStringLiteral("\\Settings");
}
inline QString TreeB(const QString& profile) {
    return ProfilesB() + QLatin1Char('\\') + profile + QStringLiteral("\\Settings");
}
inline QString Under(const QString& tree, const char* subKey) {
    return tree + QLatin1Char('\\') + QLatin1String(subKey);
}

inline constexpr const char* kDatabase = "Database";
inline constexpr const char* kTalkback = "Talkback";
inline constexpr const char* kScripts = "Scripts";
inline constexpr const char* kStartup = "Startup";
inline constexpr const char* kVorela = "Vorela";
inline constexpr const char* kGeneral = "General";
inline constexpr const char* kPrize = "Prize";
inline constexpr const char* kMessages = "Messages";

inline constexpr const char* kPath = "Path";
inline constexpr const char* kSimplePath = "SimplePath";
inline constexpr const char* kAttemptAutoLogin = "AttemptAutoLogin";
inline constexpr const char* kComputerName = "ComputerName";
inline constexpr const char* kFontSize = "Font.NormalSize";
inline constexpr const char* kFontName = "Font.NormalFont";
inline constexpr const char* kFontBold = "Font.NormalBold";
inline constexpr const char* kFontItalic = "Font.NormalItalic";
inline constexpr const char* kFontUnderLine = "Font.NormalUnderLine";
inline constexpr const char* kFontStrikeThru = "Font.NormalStrikeThru";
inline constexpr const char* kFontTextColour = "Font.NormalTextColour";
inline constexpr const char* kScrollSpeed = "ScrollSpeed";
inline constexpr const char* kEmailSendEnabled = "EmailSendEnabled";
inline constexpr const char* kEmailName = "EmailName";
inline constexpr const char* kEmailAddress = "EmailAddress";
inline constexpr const char* kEmailAllowPersonalAddresses = "EmailAllowPersonalAddresses";
inline constexpr const char* kSMSSendEnabled = "SMSSendEnabled";
} // namespace SettingsKeys
