#pragma once

#include <QColor>
#include <QList>
#include <QString>

// The rich text the document preview shows and saves: paragraphs of runs, each run one
// stretch of text in one character format. It is what the RTF reader produces and what the
// RTF writer writes, so a document read and saved again keeps its formatting.
struct RichTextRun {
    QString text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 0; // font size in half points; 0 = the view's own size
    QColor colour;      // invalid = the view's own colour

    bool sameFormat(const RichTextRun& o) const {
        return bold == o.bold && italic == o.italic && underline == o.underline &&
               halfPoints == o.halfPoints && colour == o.colour;
    }
    bool operator==(const RichTextRun& o) const { return text == o.text && sameFormat(o); }
};

struct RichTextParagraph {
    QList<RichTextRun> runs;

    QString text() const;
    // Appends text in a format, joining it to the last run when the format is the same.
    void append(const RichTextRun& run);
    bool operator==(const RichTextParagraph& o) const { return runs == o.runs; }
};

struct RichTextDocument {
    QList<RichTextParagraph> paragraphs;

    // The paragraphs' text joined by line feeds.
    QString plainText() const;
    bool operator==(const RichTextDocument& o) const { return paragraphs == o.paragraphs; }
};
