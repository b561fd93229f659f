#include "platform/richtext/rtfwriter.h"

#include "platform/system/textcodec.h"

#include <QList>

namespace {
void appendText(QByteArray& out, const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u == 0x2028 || u == '\n' || u == '\r') {
            out += "\\line ";
        } else if (u >= 0x20 && u < 0x7F) {
            out += static_cast<char>(u);
        } else if (u < 0x20) {
            continue; // control characters have no place in the text
        } else {
            const int b = TextCodec::Windows1252ByteOf(c);
            if (b >= 0x80) {
                out += "\\'";
                out += QByteArray::number(b, 16).rightJustified(2, '0');
            } else {
                // \uN takes a signed 16-bit number; '?' stands in for readers without it.
                out += "\\u";
                out += QByteArray::number(static_cast<qint16>(u));
                out += '?';
            }
        }
    }
}
} // namespace

QByteArray RtfWriter::Write(const RichTextDocument& document) {
    QList<QColor> colours;
    for (const RichTextParagraph& p : document.paragraphs) {
        for (const RichTextRun& r : p.runs) {
            if (r.colour.isValid() && !colours.contains(r.colour)) {
                colours.append(r.colour);
            }
        }
    }
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss Arial;}}";
    if (!colours.isEmpty()) {
        out += "{\\colortbl ;"; // entry 0: the reader's own colour
        for (const QColor& c : colours) {
            out += "\\red" + QByteArray::number(c.red()) + "\\green" +
                   QByteArray::number(c.green()) + "\\blue" + QByteArray::number(c.blue()) + ';';
        }
        out += '}';
    }
    out += '\n';
    for (const RichTextParagraph& p : document.paragraphs) {
        out += "\\pard\\plain ";
        for (const RichTextRun& r : p.runs) {
            if (r.text.isEmpty()) {
                continue;
            }
            out += '{';
            const qsizetype groupStart = out.size();
            if (r.bold) {
                out += "\\b";
            }
            if (r.italic) {
                out += "\\i";
            }
            if (r.underline) {
                out += "\\ul";
            }
            if (r.halfPoints > 0) {
                out += "\\fs" + QByteArray::number(r.halfPoints);
            }
            if (r.colour.isValid()) {
                out += "\\cf" + QByteArray::number(colours.indexOf(r.colour) + 1);
            }
            if (out.size() > groupStart) {
                out += ' '; // ends the last control word
            }
            appendText(out, r.text);
            out += '}';
        }
        out += "\\par\n";
    }
    out += "}\n";
    return out;
}
