#pragma once

#include <QString>
#include <QStringView>

// Text put into HTML. Every field that reaches a page, a template or a quoted reply goes
// through here, so that a listener's text can never become markup.
namespace HtmlText {

// & < > " and ' as entities, so that the result is safe both as element content and inside
// an attribute value quoted either way. A NUL has no business in a page and is dropped; so are
// the characters that embed, override, isolate or mark a direction, which would reverse or run
// together the fields around them (the display rule isolates a field itself).
QString Escape(QStringView text);
// The same; text that needs no escaping comes back as it is, without a copy.
QString Escape(const QString& text);

struct LineOptions {
    // Runs of blanks, and a blank at either edge of a line, as &nbsp;: a page folds blanks
    // together and drops them at a line's edge, and a multi-line note keeps its layout.
    bool keepBlanks = false;
    // A newline after each <br>, so that the page's source keeps the text's lines.
    bool breakSource = false;
    // Each line of outside text between a first-strong isolate and its end (the display rule),
    // so that a right-to-left line cannot carry the text after it along.
    bool isolateLines = false;
};

// The text escaped, with each line break (CR LF, CR or LF) as <br>.
QString Lines(QStringView text, LineOptions options = {});

} // namespace HtmlText
