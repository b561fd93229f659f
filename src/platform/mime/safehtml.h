#pragma once

#include <QString>

namespace mime {

// The body of a listener's HTML message, made safe to quote inside a page of ours: read by a
// tokenizer as a browser reads it, then written again from what was read, so that nothing
// the source hides in broken markup comes through.
//
// Kept: a list of harmless elements (text formatting, paragraphs, lists, tables, links and
// images) with a list of harmless attributes; a URL only when it is http, https, mailto or
// cid; a style only when it can load nothing and cannot leave its box. Dropped with their
// content: scripts, styles, the head, frames, objects, text areas, lists to choose from, SVG
// and MathML. Dropped, keeping their content: every other element. Every on... attribute
// goes, and so does everything before <body> and after </body> when the source has them. The
// result closes every element it opens, and never closes one it did not open.
QString SafeHtmlBody(const QString& html);

// The plain text a reader sees in an HTML body, read through SafeHtmlBody: "div", "li", "tr"
// and "br" end a line; paragraphs, headings, lists, quotes, "pre" and rules stand apart by
// one blank line; a list item starts with "* " (two blanks more for each list it lies in);
// each line of a quote starts with "> " ("> > " nested, a blank quoted line is ">");
// entities are decoded; outside "pre" each run of blanks is one blank and blanks at a line's
// ends go. Nothing is added after the last text but the line ends its own "br" gave.
QString PlainTextOfHtml(const QString& html);

} // namespace mime
