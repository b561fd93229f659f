#pragma once

#include <QByteArray>
#include <QString>

// Header text as this layer writes it: one line, and encoded so that reading it back gives
// exactly the text that was set.
namespace mime {

// CR and LF never reach a header: each line break (CR LF, CR or LF) becomes one blank; NUL
// characters are dropped.
QString OneLineText(const QString& text);

// True when the text can stand in a header as it is: printable ASCII words separated by
// single blanks, no leading or trailing blank and nothing a reader would take for an encoded
// word.
bool IsPlainHeaderText(const QString& text);

// The text as RFC 2047 "Q" encoded words in UTF-8, folded, in GMime's raw header form: a
// leading blank, words separated by a line break and a blank, a final line break. Readers join
// adjacent encoded words without the blanks between them, so every character comes back.
QByteArray EncodeHeaderWords(const QString& text);

// Rewrites every "B" encoded word of a raw header value as the "Q" encoded word of the same
// bytes. GMime joins adjacent encoded words of one charset before decoding them, which loses
// the text after a padded "B" word ("=?UTF-8?B?SGk=?= =?UTF-8?B?dGhlcmU=?=" reads "Hi");
// joined "Q" words decode whole.
QByteArray RepairEncodedWords(const QByteArray& raw);

} // namespace mime
