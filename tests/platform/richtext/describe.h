#pragma once

#include "platform/richtext/richtextdocument.h"

#include <string>

// A document as one line that a table of cases can state: paragraphs joined by "|", a run
// with a format written as "[b,i,u,s24,c#ff0000]text[/]", a plain run as its text.
std::string Describe(const RichTextDocument& doc);
