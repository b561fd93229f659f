#include "platform/richtext/richtextdocument.h"

QString RichTextParagraph::text() const {
    QString s;
    for (const RichTextRun& r : runs) {
        s += r.text;
    }
    return s;
}

void RichTextParagraph::append(const RichTextRun& run) {
    if (run.text.isEmpty()) {
        return;
    }
    if (!runs.isEmpty() && runs.last().sameFormat(run)) {
        runs.last().text += run.text;
        return;
    }
    runs.append(run);
}

QString RichTextDocument::plainText() const {
    QString s;
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) {
            s += QLatin1Char('\n');
        }
        s += paragraphs[i].text();
    }
    return s;
}
