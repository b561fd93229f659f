#pragma once

#include "platform/richtext/richtextdocument.h"

#include <QByteArray>
#include <QString>

// Reads RTF into rich text: the code page (\ansicpg), \'xx and \uN characters, paragraphs,
// line breaks and tabs, bold, italic, underline, font size and the colour table. Fonts,
// style sheets, pictures, objects, fields' instructions and every other destination are
// skipped. The input is never trusted: group depth is bounded, \bin lengths are checked
// against the data left before anything is skipped, and anything that cannot be read makes
// Read fail so the caller can show the file as plain text instead.
class RtfReader {
public:
    static constexpr int kMaxGroupDepth = 256;
    static constexpr qint64 kMaxBinBytes = 16 * 1024 * 1024;
    static constexpr int kMaxColours = 1024;

    // True when the data begins like an RTF document ("{\rtf").
    static bool LooksLikeRtf(const QByteArray& data);

    // False (with the reason in error) when the data is not RTF this reader can read whole;
    // out is then empty.
    static bool Read(const QByteArray& data, RichTextDocument& out, QString* error = nullptr);
};
