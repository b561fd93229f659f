#pragma once

#include <QString>
#include <QVariant>

class KVDirectory;

// One per-user setting of the program, kept in the directory's store of the logged-in user:
// its name, the value a read gives while it is unset and the default a write passes along.
// The two defaults differ for some keys, so a write always stores, even a value equal to its
// write default. T is the type of the value written: text or a whole number.
template <typename T> struct UserSettingKey {
    QString name;
    T readDefault;
    T writeDefault;
};
using UserTextKey = UserSettingKey<QString>;
using UserNumberKey = UserSettingKey<qint32>;

namespace UserSettingsKeys {
inline UserTextKey MRUContacts() {
    return {QStringLiteral("MRUContacts"), QString(), QString()};
}
inline UserTextKey MRUWebsites() {
    return {QStringLiteral("MRUWebsites"), QString(), QString()};
}
inline UserTextKey MRUMessages() {
    return {QStringLiteral("MRUMessages"), QString(), QString()};
}
inline UserNumberKey MessageListFilter() {
    return {QStringLiteral("MessageListFilter"), 240, 240};
}
inline UserTextKey SelectedTab() {
    return {QStringLiteral("SelectedTab"), QStringLiteral("CONTACTS"), QString()};
}
inline UserNumberKey VorelaPanelHidden() {
    return {QStringLiteral("VorelaPanelHidden"), 0, 0};
}
inline UserNumberKey ViewVorelaKeyboard() {
    return {QStringLiteral("ViewVorelaKeyboard"), 0, -1};
}
inline UserNumberKey ViewVorelaLogGo() {
    return {QStringLiteral("ViewVorelaLogGo"), 1, -1};
}
inline UserNumberKey ViewVorelaLogNavigation() {
    return {QStringLiteral("ViewVorelaLogNavigation"), 0, -1};
}
inline UserNumberKey ViewMiniMessageList() {
    return {QStringLiteral("ViewMiniMessageList"), 0, -1};
}
inline UserTextKey TalkbackVisible() {
    return {QStringLiteral("Talkback.Visible"), QStringLiteral("1"), QStringLiteral("1")};
}
inline UserNumberKey MessageSeparatorPosition() {
    return {QStringLiteral("MessageSeparator.Position"), 3800, 0};
}
inline UserNumberKey ScriptSeparatorPosition() {
    return {QStringLiteral("ScriptSeparator.Position"), 3800, 0};
}
inline UserNumberKey WebsiteSeparatorPosition() {
    return {QStringLiteral("WebsiteSeparator.Position"), 3800, 0};
}
inline UserNumberKey ContactSeparatorPosition() {
    return {QStringLiteral("ContactSeparator.Position"), 3800, 0};
}
inline UserNumberKey PrizeSeparatorPosition() {
    return {QStringLiteral("PrizeSeparator.Position"), 3800, 0};
}
inline UserTextKey MessageWindowPosition() {
    return {QStringLiteral("MessageWindow.Position"), QString(), QString()};
}
inline UserTextKey SMSMessageWindowPosition() {
    return {QStringLiteral("SMSMessageWindow.Position"), QString(), QString()};
}

// Calls visit with every key of the program, whichever its type.
template <typename Visit> void ForEach(Visit&& visit) {
    visit(MRUContacts());
    visit(MRUWebsites());
    visit(MRUMessages());
    visit(MessageListFilter());
    visit(SelectedTab());
    visit(VorelaPanelHidden());
    visit(ViewVorelaKeyboard());
    visit(ViewVorelaLogGo());
    visit(ViewVorelaLogNavigation());
    visit(ViewMiniMessageList());
    visit(TalkbackVisible());
    visit(MessageSeparatorPosition());
    visit(ScriptSeparatorPosition());
    visit(WebsiteSeparatorPosition());
    visit(ContactSeparatorPosition());
    visit(PrizeSeparatorPosition());
    visit(MessageWindowPosition());
    visit(SMSMessageWindowPosition());
}
} // namespace UserSettingsKeys

// The one way to a per-user setting of whoever is logged in to directory. A read gives the
// stored text, or the key's read default while it is unset or nobody is logged in; a write
// passes the key's write default along, and stores nothing while nobody is logged in (false).
QVariant ReadUserSetting(const KVDirectory* directory, const UserTextKey& key);
QVariant ReadUserSetting(const KVDirectory* directory, const UserNumberKey& key);
bool WriteUserSetting(const KVDirectory* directory, const UserTextKey& key, const QString& value);
bool WriteUserSetting(const KVDirectory* directory, const UserNumberKey& key, qint32 value);
