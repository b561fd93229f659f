#include "platform/richtext/qtrichtext.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

namespace QtRichText {

void Fill(QTextDocument& target, const RichTextDocument& source) {
    target.clear();
    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    const QTextCharFormat base = cursor.charFormat();
    for (qsizetype i = 0; i < source.paragraphs.size(); ++i) {
        if (i > 0) {
            cursor.insertBlock(QTextBlockFormat(), base);
        }
        for (const RichTextRun& run : source.paragraphs[i].runs) {
            QTextCharFormat f = base;
            f.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
            f.setFontItalic(run.italic);
            f.setFontUnderline(run.underline);
            if (run.halfPoints > 0) {
                f.setFontPointSize(run.halfPoints / 2.0);
            }
            if (run.colour.isValid()) {
                f.setForeground(run.colour);
            }
            cursor.insertText(run.text, f);
        }
    }
    cursor.endEditBlock();
}

RichTextDocument From(const QTextDocument& source) {
    RichTextDocument doc;
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        RichTextParagraph paragraph;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) {
                continue;
            }
            const QTextCharFormat f = fragment.charFormat();
            RichTextRun run;
            run.text = fragment.text();
            run.bold = f.fontWeight() > QFont::Medium;
            run.italic = f.fontItalic();
            run.underline = f.fontUnderline();
            if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0) {
                run.halfPoints = static_cast<int>(std::lround(f.fontPointSize() * 2));
            }
            if (f.hasProperty(QTextFormat::ForegroundBrush)) {
                run.colour = f.foreground().color();
            }
            paragraph.append(run);
        }
        doc.paragraphs.append(paragraph);
    }
    // A view always holds one block; an empty one is no paragraph at all.
    if (doc.paragraphs.size() == 1 && doc.paragraphs.first().runs.isEmpty()) {
        doc.paragraphs.clear();
    }
    return doc;
}

} // namespace QtRichText
