#pragma once

#include <QString>

#include <functional>

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

// What the host window does when the contact control reports a tab: these keep its rules in
// one place for the main window's pane and the contact window alike.
class DirectoryContact;
class OrlixDatabase;
class QTreeWidget;
class QTreeWidgetItem;

namespace ContactHistory {
// The contact's e-mail addresses (Email1 to Email3) and its numbers (PhoneNumber1,
// PhoneNumber2, MobileNumber, OtherNumber), the non-empty ones "|"-joined in that order. No
// contact: "".
QString EmailsText(const DirectoryContact* contact);
QString NumbersText(const DirectoryContact* contact);

// A history line's key (the Qt::UserRole data of its column 0); "" for no line.
QString LineKey(const QTreeWidgetItem* line);
// The kind a key names: its first character lower-cased ("m", "p", "w"); none for "".
QChar KeyKind(const QString& key);
// The Reference a key names: the number from its second character on (0 for none).
qint32 KeyReference(const QString& key);

// Empties the list and fills it with fill, showing it is busy meanwhile: the button-face
// background and the hourglass, then the window background again.
void FillBusy(QTreeWidget* list, const std::function<void()>& fill);
// The contact's messages: filled when it has an e-mail address or a number, so a listener
// known only by a mobile number sees its SMS. No database or no contact: an empty list.
void FillMessages(QTreeWidget* list, OrlixDatabase* database, const DirectoryContact* contact);
// The prizes the contact supplied and won; no contact asks for Reference 0.
void FillPrizes(QTreeWidget* list, OrlixDatabase* database, const DirectoryContact* contact);
} // namespace ContactHistory
