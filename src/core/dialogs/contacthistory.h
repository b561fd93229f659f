#pragma once

#include <QString>

class ListView;
class uContact;

// The two history tabs the program adds to the directory's contact control, and the
// columns of the lists they show. Filling the lists is the host window's, on TabChanged.
namespace ContactHistory {
constexpr int kMessagesTab = 4;
constexpr int kPrizesTab = 5;
inline QString MessagesTabCaption() {
    return QStringLiteral("Messages");
}
inline QString PrizesTabCaption() {
    return QStringLiteral("Prizes");
}
// The column whose width follows the list's width when the panes are resized.
inline QString MessagesFillColumnKey() {
    return QStringLiteral("SUBJECT");
}
inline QString PrizesFillColumnKey() {
    return QStringLiteral("TITLE");
}
} // namespace ContactHistory

// Give the contact control room for two tabs of the host and add "Messages" (4) and
// "Prizes" (5). No control: nothing. Twice: the same two tabs.
void AddContactHistoryTabs(uContact* contact);

// Clear the list's column headers and add the messages (or prizes) columns. No list: nothing.
void SetupContactMessagesColumns(ListView* list);
void SetupContactPrizesColumns(ListView* list);
