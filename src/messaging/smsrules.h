#pragma once

#include "messaging/emailrules.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class OrlixMessage;

// The SMS window's decisions that need no widget: the station's SMS sender, which phone number
// of a contact is used, names filled in from the directory, the mask that hides numbers, what
// Send checks and how an SMS is answered or passed on. What the two message windows share
// (queueing, rights, the close question, the cascade) stays in emailrules.
namespace smsrules {

inline constexpr int kMaxLength = 160;
inline constexpr const char* kMaskText = "0XXX-XXXXXX";
inline constexpr const char* kCaption = "SMS Message";
inline constexpr const char* kNoTextText = "You must enter a text message to send!";
inline constexpr const char* kNoPhoneSuffix = " does not have any phone numbers!";
inline constexpr const char* kDeleteQuestion = "Are you sure you want to delete this message?";
inline constexpr const char* kDeleteFailedText =
    "Your message could not be removed from the Database";
inline constexpr const char* kMoveFailedText =
    "Your message could not be moved to the chosen folder";
inline constexpr const char* kCopyFailedText =
    "Your message could not be copied to the chosen folder";
inline constexpr const char* kPositionSetting = "SMSMessageWindow.Position";

// "Station" <number>; empty when the station has no SMS number, so that no empty sender is
// shown or stored.
QString StationSender(const QString& stationName, const QString& smsNumber);

// The number a contact is texted on: the mobile, else the first phone, else the second.
QString FirstPhoneNumber(const QString& mobile, const QString& phone1, const QString& phone2);

// An entry's name says nothing beyond its number: it is empty or only repeats the number
// (compared without blanks, quotes, brackets, dots, hyphens or case).
bool NameRepeatsNumber(const QString& name, const QString& number);

// The entries of an address text, each as written, except that an entry without a real name
// gets the name the look-up gives for its bare number (an empty answer leaves it as it was).
// Only commas outside quotes and brackets split, so a quoted "Smith, John" stays one name.
struct FilledAddresses {
    QStringList Entries;
    bool NamesFilled = false;
};
FilledAddresses FillNames(const QString& text,
                          const std::function<QString(const QString& number)>& nameForNumber);

// Entries joined as the address boxes store them, without any direction character.
QString JoinEntries(const QStringList& entries);

// Entries as an address box shows them: a box that only shows them isolates each name and
// number (the display rule); a box being edited shows them cleaned only, as they are stored.
QString ShownEntries(const QStringList& entries, bool readOnly);

// What stands for a real entry while numbers are masked: the mask, after the name if any.
QString MaskedEntry(const QString& displayName);

// The index of the entry of a box's text under a character position; -1 for none.
int EntryIndexAt(const QString& text, int position);

// The name of one entry, without its quotes; "" for a bare number.
QString NameOfEntry(const QString& entry);

enum class SendCheck { Go, NoRecipient, NoText };
// Blanks count as empty. `to` is the real recipients' text, never what a mask shows.
SendCheck CheckSend(const QString& to, const QString& text);

// Reply or Forward of an SMS: the shared answer, then a reply starts with no text at all (the
// quoted original would carry the numbers the station may mask) and a forward carries exactly
// the original text. The text is the SMS's Subject and TextBody alike.
std::unique_ptr<OrlixMessage> MakeAnswer(const OrlixMessage& shown, bool forward);

// A window's placement as the user's setting keeps it: "left,top,width,height" in twips.
QString PlacementText(const emailrules::TwipsRect& rect);
std::optional<emailrules::TwipsRect> ParsePlacementText(const QString& text);

} // namespace smsrules
