#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

// A user's own layout of the main window, as the login restores it from the user's store:
// pure rules from stored values to what the window shows. The window reads the store and
// applies the result; nothing here touches a widget.

// The tabs of the main window, in the order a stored tab name is tested.
enum class MainTab { None, Contacts, Prizes, Scripts, Messages, Web };

// The tab a stored "SelectedTab" value names, compared upper-cased; None for any other word.
MainTab StoredTab(const QString& stored);

struct LoginLayout {
    // The playout panel collapsed, as the user left it. Empty without a playout computer:
    // the panel is then collapsed whatever the user chose, and that is not the user's choice.
    std::optional<bool> vorelaPanelHidden;
    // Splitter positions in twips: the stored value, never below the splitter's floor.
    qint32 splitMessages = 0;
    qint32 splitScripts = 0;
    qint32 splitWebsites = 0;
    qint32 splitContacts = 0;
    qint32 splitPrize = 0;
    // The message list's time filter, in minutes.
    qint32 messageFilterMinutes = 0;
    MainTab selectedTab = MainTab::None;
    // The view menu's ticks; the two log items can be used only with the keyboard panel, which
    // is never ticked without a playout computer.
    bool viewVorelaKeyboard = false;
    bool viewLogItemsEnabled = false;
    bool viewLogGo = false;
    bool viewLogNavigation = false;
    bool viewMiniMessageList = false;
    bool talkbackVisible = false;

    friend bool operator==(const LoginLayout&, const LoginLayout&) = default;
};

// A user's stored value of a key, or the read default given when the store holds none.
using StoredUserSetting = std::function<QVariant(const QString& name, const QVariant& readDefault)>;

LoginLayout RestoreLoginLayout(const StoredUserSetting& stored, bool playoutComputerSet);
