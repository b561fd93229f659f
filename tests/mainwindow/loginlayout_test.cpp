#include "mainwindow/loginlayout.h"

#include <QHash>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

void PrintTo(const LoginLayout& l, std::ostream* os) {
    *os << "{panelHidden " << (l.vorelaPanelHidden ? (*l.vorelaPanelHidden ? "1" : "0") : "none")
        << ", splits " << l.splitMessages << '/' << l.splitScripts << '/' << l.splitWebsites << '/'
        << l.splitContacts << '/' << l.splitPrize << ", filter " << l.messageFilterMinutes
        << ", tab " << static_cast<int>(l.selectedTab) << ", view " << l.viewVorelaKeyboard
        << l.viewLogItemsEnabled << l.viewLogGo << l.viewLogNavigation << l.viewMiniMessageList
        << ", talkback " << l.talkbackVisible << '}';
}

namespace {
using Store = QHash<QString, QVariant>;

LoginLayout restoreFrom(const Store& store, bool playout) {
    return RestoreLoginLayout(
        [&store](const QString& name, const QVariant& readDefault) {
            return store.value(name, readDefault);
        },
        playout);
}

// What a user with an empty store gets when a playout computer is configured.
LoginLayout newUser() {
    LoginLayout l;
    l.vorelaPanelHidden = false;
    l.splitMessages = l.splitScripts = l.splitWebsites = l.splitContacts = l.splitPrize = 3800;
    l.messageFilterMinutes = 240;
    l.selectedTab = MainTab::Contacts;
    l.viewVorelaKeyboard = false;
    l.viewLogItemsEnabled = false;
    l.viewLogGo = true;
    l.viewLogNavigation = false;
    l.viewMiniMessageList = false;
    l.talkbackVisible = true;
    return l;
}

TEST(RestoreLoginLayout, StoredValuesAndTheirDefaultsFloorsAndConversions) {
    struct Case {
        const char* name;
        Store store;
        bool playout;
        std::function<void(LoginLayout&)> expect; // the changes from a new user's layout
    };
    const Case cases[] = {
        {"an empty store", {}, true, [](LoginLayout&) {}},
        {"no playout computer: collapsed, and not by the user",
         {{"VorelaPanelHidden", "0"}},
         false,
         [](LoginLayout& l) { l.vorelaPanelHidden.reset(); }},
        {"no playout computer, the user had collapsed it",
         {{"VorelaPanelHidden", 1}},
         false,
         [](LoginLayout& l) { l.vorelaPanelHidden.reset(); }},
        {"the user's collapsed panel",
         {{"VorelaPanelHidden", 1}},
         true,
         [](LoginLayout& l) { l.vorelaPanelHidden = true; }},
        {"any number but 0 collapses",
         {{"VorelaPanelHidden", "-1"}},
         true,
         [](LoginLayout& l) { l.vorelaPanelHidden = true; }},
        {"separators below their floors",
         {{"MessageSeparator.Position", "1000"},
          {"ScriptSeparator.Position", "30"},
          {"WebsiteSeparator.Position", "-5"},
          {"ContactSeparator.Position", "2599"},
          {"PrizeSeparator.Position", "30"}},
         true,
         [](LoginLayout& l) {
             l.splitMessages = l.splitScripts = l.splitWebsites = l.splitContacts = 2600;
             l.splitPrize = 60;
         }},
        {"separators above their floors, rounded to whole twips",
         {{"MessageSeparator.Position", 5000},
          {"ScriptSeparator.Position", "2600.6"},
          {"WebsiteSeparator.Position", " 4000 "},
          {"ContactSeparator.Position", "2600"},
          {"PrizeSeparator.Position", "1000"}},
         true,
         [](LoginLayout& l) {
             l.splitMessages = 5000;
             l.splitScripts = 2601;
             l.splitWebsites = 4000;
             l.splitContacts = 2600;
             l.splitPrize = 1000;
         }},
        {"separators that are no number",
         {{"MessageSeparator.Position", "wide"}, {"PrizeSeparator.Position", ""}},
         true,
         [](LoginLayout& l) {
             l.splitMessages = 2600;
             l.splitPrize = 60;
         }},
        {"every message",
         {{"MessageListFilter", "-1"}},
         true,
         [](LoginLayout& l) { l.messageFilterMinutes = -1; }},
        {"a filter of a day, stored as a number",
         {{"MessageListFilter", 1440}},
         true,
         [](LoginLayout& l) { l.messageFilterMinutes = 1440; }},
        {"a filter that is no number",
         {{"MessageListFilter", "often"}},
         true,
         [](LoginLayout& l) { l.messageFilterMinutes = 0; }},
        {"the stored tab",
         {{"SelectedTab", "Messages"}},
         true,
         [](LoginLayout& l) { l.selectedTab = MainTab::Messages; }},
        {"a tab no longer there",
         {{"SelectedTab", "Elsewhere"}},
         true,
         [](LoginLayout& l) { l.selectedTab = MainTab::None; }},
        {"the keyboard panel opens the log items",
         {{"ViewVorelaKeyboard", "1"}, {"ViewVorelaLogGo", "0"}, {"ViewVorelaLogNavigation", -1}},
         true,
         [](LoginLayout& l) {
             l.viewVorelaKeyboard = l.viewLogItemsEnabled = true;
             l.viewLogGo = false;
             l.viewLogNavigation = true;
         }},
        {"the keyboard panel stored ticked, at a computer without a playout computer",
         {{"ViewVorelaKeyboard", 1}, {"ViewVorelaLogGo", 1}},
         false,
         [](LoginLayout& l) {
             l.vorelaPanelHidden.reset();
             l.viewVorelaKeyboard = l.viewLogItemsEnabled = false;
             l.viewLogGo = true;
         }},
        {"the keyboard panel stored ticked, with a playout computer",
         {{"ViewVorelaKeyboard", 1}},
         true,
         [](LoginLayout& l) { l.viewVorelaKeyboard = l.viewLogItemsEnabled = true; }},
        {"ticks stored as -1 are set",
         {{"ViewVorelaKeyboard", -1}, {"ViewMiniMessageList", -1}},
         true,
         [](LoginLayout& l) {
             l.viewVorelaKeyboard = l.viewLogItemsEnabled = true;
             l.viewMiniMessageList = true;
         }},
        {"the talkback pane put away",
         {{"Talkback.Visible", "0"}},
         true,
         [](LoginLayout& l) { l.talkbackVisible = false; }},
        {"a talkback value that is no number hides it",
         {{"Talkback.Visible", "yes"}},
         true,
         [](LoginLayout& l) { l.talkbackVisible = false; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoginLayout expected = newUser();
        c.expect(expected);
        EXPECT_EQ(restoreFrom(c.store, c.playout), expected);
    }
}

TEST(StoredTab, ComparedUpperCasedInTheTabsOrder) {
    const std::pair<const char*, MainTab> cases[] = {
        {"CONTACTS", MainTab::Contacts}, {"contacts", MainTab::Contacts},
        {"Prizes", MainTab::Prizes},     {"SCRIPTS", MainTab::Scripts},
        {"Messages", MainTab::Messages}, {"messages", MainTab::Messages},
        {"web", MainTab::Web},           {"WEBSITES", MainTab::None},
        {" WEB", MainTab::None},         {"", MainTab::None},
        {"Elsewhere", MainTab::None}};
    for (const auto& [stored, tab] : cases) {
        EXPECT_EQ(StoredTab(QString::fromUtf8(stored)), tab) << stored;
    }
}
} // namespace
