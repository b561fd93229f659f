#pragma once

#include "platform/richtext/richtextdocument.h"

#include <QByteArray>

// Writes rich text as RTF that RtfReader (and any word processor) reads back to the same
// paragraphs and formats: Windows-1252 text, \uN for characters outside it, one group per
// run, the colours in a colour table and Arial as the one font.
class RtfWriter {
public:
    static QByteArray Write(const RichTextDocument& document);
};
