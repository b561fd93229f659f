#pragma once

#include <QStringList>

// The statements that bring the messages database from schema version - 1 to version; a
// file newer than the last version known here is refused. Only constants appear in them.
QStringList MessagesSchemaSteps(int version);

// A message's place in the lists, newest first: its first date set (received, sent, to be sent
// after), then its reference. The schema's index of each folder's order is made on this very
// expression: the planner uses it only for the same text.
inline constexpr char kMessageOrderKey[] = "COALESCE(received_utc, sent_utc, send_after_utc, 0)";

// The kinds of key a message's parties are kept under: lower-case e-mail addresses, and the
// digits of SMS numbers.
enum class MessagePartyKind { Address = 1, Number = 2 };

// The orlix_meta entry of the mend of derived columns still to do: the reference after which
// rows are still to be looked at. Gone once every row was.
inline constexpr char kColumnsMendSetting[] = "columns_mend_after";
