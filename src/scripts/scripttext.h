#pragma once

#include <QString>

// What a script text is and how it becomes the HTML the script view shows. A text comes from
// the playout link (RTF, plain text or HTML) or from the program itself ("<New Script>").
namespace ScriptText {

// True when the text holds the RTF signature "{\rtf1\" (case matters).
bool HoldsRtf(const QString& text);

// The RTF text's plain text, one line per paragraph; nothing when the reader refuses it.
bool RtfToPlainText(const QString& text, QString& plain);

// True when the text holds "<html>", "<font " or "<p" in any case: it is then shown as it is.
bool LooksLikeHtml(const QString& text);

// A plain text as paragraphs: escaped, each line its own paragraph, a blank line between two
// lines giving no paragraph of its own.
QString PlainTextToHtml(const QString& text);

// The HTML to show for a script text: RTF read to its plain text (a refused RTF stays as it
// is), plain text turned into paragraphs, HTML unchanged. An empty text gives "".
QString HtmlForScriptText(const QString& text);

} // namespace ScriptText
