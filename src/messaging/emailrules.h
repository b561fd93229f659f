#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class OrlixMessage;

// The e-mail window's decisions that need no widget: what Send checks, what queueing a
// message changes (and how a failed store puts it back), when a message opens read-only,
// which save right applies, the texts of the window's questions and the cascade of new
// windows. The window only asks here and shows the answer.
namespace emailrules {

// One entry of an address box: the name as it was written (quotes kept) and the address with
// its angle brackets when it had a name.
struct AddressEntry {
    QString DisplayName;
    QString Address;
    bool operator==(const AddressEntry&) const = default;
};

// The entries of an address text. Only commas outside double quotes and angle brackets split,
// so "Smith, Ann" <ann@example.org> stays one entry. An entry with text before its "<" gets
// that text, trimmed, as its name; any other entry is all address.
QList<AddressEntry> ParseAddressList(const QString& text);

// The station's own sender: "Name" <address>.
QString StationSender(const QString& emailName, const QString& emailAddress);

// A contact's address for the message windows: the first non-empty of its three.
QString FirstEmail(const QString& email1, const QString& email2, const QString& email3);

enum class SendCheck { Go, NoRecipient, AskEmpty };
// Blanks and lone commas count as empty: To must hold someone; an empty subject with an empty body
// asks first.
SendCheck CheckSend(const QString& to, const QString& subject, const QString& bodyText);
// The refusal for the first entry of To, then of Cc, that names no one a message can be
// delivered to; empty when every entry is a mailbox.
QString AddressRefusal(const QString& to, const QString& cc);

inline constexpr int kSendDelaySeconds = 30;

// What queueing changes, kept so that a failed store can put it all back: the user was told
// the message was not sent, so a later save must not queue it.
struct QueueState {
    qint32 Folder = 0;
    qint32 Flags = 0;
    QDateTime SendAfterDate;
    QDateTime Date; // the message's own Date header; invalid when it had none
};
QueueState CurrentQueueState(const OrlixMessage& message);
// Files the message in the Outbox to be sent 30 seconds after `now`, stamping its Date header
// with `now`; returns what it was before.
QueueState QueueForSending(OrlixMessage& message, const QDateTime& now);
void RestoreQueueState(OrlixMessage& message, const QueueState& state);

// The main list shows the folder the message left: it must be read again.
bool ListNeedsRefresh(qint32 listFolder, qint32 oldFolder, qint32 newFolder);

// A message opens read-only when it carries a date and is not a draft, and every message
// does when the station may not send.
bool OpensEditable(const QDateTime& sentDate, qint32 folder);
bool EffectiveEditable(bool asked, bool emailSendEnabled);

// Which controls show in each state.
struct Visibility {
    bool EditToolbar = false;
    bool Send = false;
    bool Answers = false; // Reply, Reply To All, Forward
    bool FromChooser = false;
    bool AddressChoosers = false; // To..., Cc...
    bool AddressCaptions = false; // "To:", "Cc:"
    bool Date = false;
    bool AddressLinks = false; // To and Cc answer clicks
    bool operator==(const Visibility&) const = default;
};
Visibility VisibilityFor(bool editable, bool emailSendEnabled, bool allowPersonalAddresses);

// Right needed to store a message, by whose it is.
enum class SaveRight { Messages, PersonalMessages };
SaveRight RightToSave(qint32 personalOwner, qint32 userReference);
QString RefusalText(SaveRight right);
inline constexpr const char* kLoginNeededText =
    "You must be logged in to the Kestova Directory before you can save any Messages";
inline constexpr const char* kNoRecipientText = "There must be at least 1 person in the To box!";
inline constexpr const char* kSendFailedText =
    "You're message could not be moved to Outbox to be sent!";
inline constexpr const char* kSaveFailedText = "Your message could not be saved to the Database";
inline constexpr const char* kNoEmailSuffix = " does not have an Email Address!";
QString EmptySendQuestion();
QString CloseQuestion(const QString& subject);
// The window's caption: the subject, as outside text in a one-line place, then " - Message";
// "Untitled - Message" while the subject is blank.
QString WindowCaption(const QString& subject);

// Reply, Reply To All and Forward: a new, unstored, undated draft around the message object's
// answer, taking over the kind and the inherited value, marked edited. Reply To All leaves
// out `ownAddresses` (the station's and the user's).
enum class Answer { Reply, ReplyAll, Forward };
std::unique_ptr<OrlixMessage> MakeAnswer(const OrlixMessage& shown, Answer answer,
                                         const QStringList& ownAddresses);

// The placement of a new window, in twips, from the last window's placement and the main
// window's frame: 255 further right and down, starting again 500 inside the main window's
// top or left once the last one reached within 500 of its bottom or right edge.
struct TwipsRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TwipsRect&) const = default;
};
TwipsRect Cascade(const TwipsRect& last, const TwipsRect& mainWindow);

// The window frame's widths around its inner area.
struct TwipsMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};
// Where a message window's inner area goes: cascaded from the last window's (with none, its
// frame at the main window's top left + 500, at `size`'s width and height), then kept whole,
// frame included, on `screen` (the available area of the main window's screen): an axis
// whose frame would pass the screen's edge starts again at the main window's top or left +
// 500, and a window larger than the screen keeps its frame's top left on it.
TwipsRect PlaceWindow(const std::optional<TwipsRect>& last, const TwipsRect& size,
                      const TwipsRect& mainWindow, const TwipsRect& screen,
                      const TwipsMargins& margins);

} // namespace emailrules
