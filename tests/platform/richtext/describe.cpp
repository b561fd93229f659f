#include "describe.h"

#include <QStringList>

std::string Describe(const RichTextDocument& doc) {
    QStringList paragraphs;
    for (const RichTextParagraph& p : doc.paragraphs) {
        QString s;
        for (const RichTextRun& r : p.runs) {
            QStringList flags;
            if (r.bold) {
                flags << QStringLiteral("b");
            }
            if (r.italic) {
                flags << QStringLiteral("i");
            }
            if (r.underline) {
                flags << QStringLiteral("u");
            }
            if (r.halfPoints > 0) {
                flags << QStringLiteral("s%1").arg(r.halfPoints);
            }
            if (r.colour.isValid()) {
                flags << QStringLiteral("c") + r.colour.name();
            }
            s += flags.isEmpty() ? r.text
                                 : QLatin1Char('[') + flags.join(QLatin1Char(',')) +
                                       QLatin1Char(']') + r.text + QStringLiteral("[/]");
        }
        paragraphs << s;
    }
    return paragraphs.join(QLatin1Char('|')).toStdString();
}
