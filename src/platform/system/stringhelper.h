#pragma once

#include <QString>

// Text replacement for the HTML templates and the reading of whole text files.
class StringHelper {
public:
    // Files above this size are not read as text (a template or a note is a few kilobytes;
    // anything this large is not one of ours).
    static constexpr qint64 kMaxTextFileBytes = 32 * 1024 * 1024;

    // Replaces every occurrence of tag, matched with its letter case exactly as written, by
    // the value escaped for HTML (HtmlText::Lines): & < > " ' become entities and each line
    // break (CR LF, CR or LF) becomes <br>. With keepBlanks False the value is a multi-line
    // plain-text note and its runs of blanks are kept as &nbsp; too, so its layout survives on the
    // page. An empty tag leaves the text as it is.
    static QString ReplaceText(const QString& text, const QString& tag, const QString& value,
                               bool option);

    // The whole file as text ("" when it is missing, unreadable or too large). length -1
    // reads it all; a positive length keeps at most that many characters. UTF-8 when the
    // file carries a byte-order mark or is valid UTF-8, else Windows-1252.
    static QString ReadTextFile(const QString& path, qint64 length = -1);
};
