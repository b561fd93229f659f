#pragma once

#include "platform/richtext/richtextdocument.h"

class QTextDocument;

// Between our rich text and the Qt text document a text view shows.
namespace QtRichText {

// Replaces the document's content with the paragraphs and their formats.
void Fill(QTextDocument& target, const RichTextDocument& source);

// The document's paragraphs with the formats the RTF writer keeps.
RichTextDocument From(const QTextDocument& source);

} // namespace QtRichText
