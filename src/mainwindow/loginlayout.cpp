#include "mainwindow/loginlayout.h"

#include "core/profile/usersettingskeys.h"

#include <algorithm>
#include <cmath>

namespace {
// A stored value as the number its text reads as; text that is no number reads 0.
double number(const QVariant& value) {
    return value.toString().trimmed().toDouble();
}

// The stored 1/0 and "1"/"0" values count as set when their number is not 0.
bool isSet(const QVariant& value) {
    return number(value) != 0;
}

qint32 storedPosition(const QVariant& value, double floor) {
    return static_cast<qint32>(std::lround(std::max(floor, number(value))));
}
} // namespace

MainTab StoredTab(const QString& stored) {
    const QString tab = stored.toUpper();
    const std::pair<const char*, MainTab> tabs[] = {{"CONTACTS", MainTab::Contacts},
                                                    {"PRIZES", MainTab::Prizes},
                                                    {"SCRIPTS", MainTab::Scripts},
                                                    {"MESSAGES", MainTab::Messages},
                                                    {"WEB", MainTab::Web}};
    for (const auto& [name, which] : tabs) {
        if (tab == QLatin1String(name)) {
            return which;
        }
    }
    return MainTab::None;
}

LoginLayout RestoreLoginLayout(const StoredUserSetting& stored, bool playoutComputerSet) {
    using namespace UserSettingsKeys;
    const auto read = [&stored](const auto& key) {
        return stored(key.name, QVariant(key.readDefault));
    };
    LoginLayout out;
    if (playoutComputerSet) {
        out.vorelaPanelHidden = isSet(read(VorelaPanelHidden()));
    }

    out.splitMessages = storedPosition(read(MessageSeparatorPosition()), 2600);
    out.splitScripts = storedPosition(read(ScriptSeparatorPosition()), 2600);
    out.splitWebsites = storedPosition(read(WebsiteSeparatorPosition()), 2600);
    out.splitContacts = storedPosition(read(ContactSeparatorPosition()), 2600);
    out.splitPrize = storedPosition(read(PrizeSeparatorPosition()), 60);

    out.messageFilterMinutes = static_cast<qint32>(std::lround(number(read(MessageListFilter()))));
    out.selectedTab = StoredTab(read(SelectedTab()).toString());

    // The stored tick follows the user to every computer; where there is no playout computer
    // the panel would only read "Not Connected", so it is left unticked (and the stored value
    // kept for the studios with a link).
    out.viewVorelaKeyboard = playoutComputerSet && isSet(read(ViewVorelaKeyboard()));
    out.viewLogItemsEnabled = out.viewVorelaKeyboard;
    out.viewLogGo = isSet(read(ViewVorelaLogGo()));
    out.viewLogNavigation = isSet(read(ViewVorelaLogNavigation()));
    out.viewMiniMessageList = isSet(read(ViewMiniMessageList()));
    out.talkbackVisible = isSet(read(TalkbackVisible()));
    return out;
}
