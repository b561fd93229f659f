#pragma once

#include <QtGlobal>

// Bounds on what a message from outside may make us read. Beyond them the message still opens
// with what could be read, and the platform log says what was left out.
namespace mime {

// Bytes of one message handed to the parser; the rest is not read (but kept when stored).
constexpr qsizetype kMaxMessageBytes = 64 * 1024 * 1024;
// Decoded bytes of one part: a longer body is cut, a longer attachment is not saved.
constexpr qsizetype kMaxPartBytes = 25 * 1024 * 1024;
// Levels of multiparts inside multiparts that are walked.
constexpr int kMaxNestingDepth = 32;
// Leaf parts (bodies and attachments) that are read from one message.
constexpr int kMaxParts = 500;
// Parser warnings logged for one message.
constexpr int kMaxLoggedWarnings = 10;

} // namespace mime
