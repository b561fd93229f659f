#pragma once

#include <QString>

#include <memory>
#include <vector>

class OrlixMessage;

// Fills message fields into HTML templates. Tags are upper-case words in angle brackets, as
// the program's other template tags, matched without regard to case:
//
//   per message   <OCP_MESSAGE_REFERENCE> _SUBJECT _FROM _TO _CC _BODY (the text, line breaks
//                 kept) _SUMMARY (the first 200 characters of the text on one line)
//                 _RECEIVEDDATE _SENTDATE _SENDAFTERDATE _DATE (received, else sent) _KIND
//                 ("E-mail" or "SMS") _KINDIMAGE ("email.svg" or "sms.svg") _FOLDER
//                 _FOLDERREFERENCE _FLAGS _READ ("read" or "unread") _PERSONAL ("personal"
//                 or "") _PERSONALOWNER; on the on-screen list only: _SELECT (the tick box)
//                 and the command links _OPENLINK _PRINTLINK _DELETELINK _COPYLINK _MOVELINK
//   per list      <OCP_MESSAGES_REPEAT> ... </OCP_MESSAGES_REPEAT>, copied once per message;
//                 <OCP_MESSAGES_NONE> ... </OCP_MESSAGES_NONE>, kept only for an empty list;
//                 <OCP_MESSAGES_COUNT>; on the on-screen list the links acting on the ticked
//                 messages _PRINTLINK _DELETELINK _COPYLINK _MOVELINK
//
// On the on-screen list a subject, sender or recipient line over 500 characters is cut there
// with "..." added; printed pages and a single message keep the whole text.
//
// Every field is HTML-escaped as it is inserted, and a body is always its text, never its
// HTML: listener messages are untrusted. Inserted text is never scanned for tags again.
class MessageTemplate {
public:
    enum Options { OneMessage = 0, OnScreenList = 3, PrintSelection = 4096 };

    // One message (option 0): its repeat blocks once, then its tags anywhere in the text.
    static QString RenderOne(const QString& text, const OrlixMessage& message, int options);
    // A list: repeat blocks once per message in order; message tags outside a block stay.
    static QString RenderList(const QString& text,
                              const std::vector<std::shared_ptr<OrlixMessage>>& messages,
                              int options);
};
