#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// The per-user settings of the program, kept in the directory's store of the logged-in
// user: each key's name, the default a read passes and the default a write passes (they
// differ for some keys, so a write always stores, even a value equal to its write default).
struct UserSettingKey {
    QString name;
    QVariant readDefault;
    QVariant writeDefault;
};

namespace UserSettingsKeys {
inline UserSettingKey MRUContacts() {
    return {QStringLiteral("MRUContacts"), QString(), QString()};
}
inline UserSettingKey MRUWebsites() {
    return {QStringLiteral("MRUWebsites"), QString(), QString()};
}
inline UserSettingKey MRUMessages() {
    return {QStringLiteral("MRUMessages"), QString(), QString()};
}
inline UserSettingKey MessageListFilter() {
    return {QStringLiteral("MessageListFilter"), 240, 240};
}
inline UserSettingKey SelectedTab() {
    return {QStringLiteral("SelectedTab"), QStringLiteral("CONTACTS"), QString()};
}
inline UserSettingKey VorelaPanelHidden() {
    return {QStringLiteral("VorelaPanelHidden"), 0, 0};
}
inline UserSettingKey ViewVorelaKeyboard() {
    return {QStringLiteral("ViewVorelaKeyboard"), 0, -1};
}
inline UserSettingKey ViewVorelaLogGo() {
    return {QStringLiteral("ViewVorelaLogGo"), 1, -1};
}
inline UserSettingKey ViewVorelaLogNavigation() {
    return {QStringLiteral("ViewVorelaLogNavigation"), 0, -1};
}
inline UserSettingKey ViewMiniMessageList() {
    return {QStringLiteral("ViewMiniMessageList"), 0, -1};
}
inline UserSettingKey TalkbackVisible() {
    return {QStringLiteral("Talkback.Visible"), QStringLiteral("1"), QStringLiteral("1")};
}
inline UserSettingKey MessageSeparatorPosition() {
    return {QStringLiteral("MessageSeparator.Position"), 3800, 0};
}
inline UserSettingKey ScriptSeparatorPosition() {
    return {QStringLiteral("ScriptSeparator.Position"), 3800, 0};
}
inline UserSettingKey WebsiteSeparatorPosition() {
    return {QStringLiteral("WebsiteSeparator.Position"), 3800, 0};
}
inline UserSettingKey ContactSeparatorPosition() {
    return {QStringLiteral("ContactSeparator.Position"), 3800, 0};
}
inline UserSettingKey PrizeSeparatorPosition() {
    return {QStringLiteral("PrizeSeparator.Position"), 3800, 0};
}
inline UserSettingKey MessageWindowPosition() {
    return {QStringLiteral("MessageWindow.Position"), QString(), QString()};
}
inline UserSettingKey SMSMessageWindowPosition() {
    return {QStringLiteral("SMSMessageWindow.Position"), QString(), QString()};
}

inline QList<UserSettingKey> All() {
    return {MRUContacts(),
            MRUWebsites(),
            MRUMessages(),
            MessageListFilter(),
            SelectedTab(),
            VorelaPanelHidden(),
            ViewVorelaKeyboard(),
            ViewVorelaLogGo(),
            ViewVorelaLogNavigation(),
            ViewMiniMessageList(),
            TalkbackVisible(),
            MessageSeparatorPosition(),
            ScriptSeparatorPosition(),
            WebsiteSeparatorPosition(),
            ContactSeparatorPosition(),
            PrizeSeparatorPosition(),
            MessageWindowPosition(),
            SMSMessageWindowPosition()};
}
} // namespace UserSettingsKeys
