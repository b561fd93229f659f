#include "platform/richtext/qtrichtext.h"
#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"

#include "describe.h"

#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

RichTextRun run(const QString& text, bool b = false, bool i = false, bool u = false, int hp = 0,
                QColor colour = QColor()) {
    RichTextRun r;
    r.text = text;
    r.bold = b;
    r.italic = i;
    r.underline = u;
    r.halfPoints = hp;
    r.colour = colour;
    return r;
}

RichTextDocument sample() {
    RichTextDocument doc;
    RichTextParagraph p1;
    p1.runs = {run(QStringLiteral("Plain {braces} \\ back ")), run(QStringLiteral("bold"), true),
               run(QStringLiteral(" it"), false, true),
               run(QStringLiteral("ul"), false, false, true)};
    RichTextParagraph p2;
    p2.runs = {run(QStringLiteral("big red"), true, false, false, 36, QColor(200, 10, 20)),
               run(QStringLiteral(" caf\u00e9 \u20ac \u4e2d \U0001F600\ttab\u2028soft"))};
    RichTextParagraph empty;
    RichTextParagraph p3;
    p3.runs = {run(QStringLiteral("blue"), false, false, false, 0, QColor(0, 0, 255))};
    doc.paragraphs = {p1, p2, empty, p3};
    return doc;
}

TEST(RtfWriter, WhatItWritesReadsBackTheSame) {
    const RichTextDocument doc = sample();
    const QByteArray rtf = RtfWriter::Write(doc);
    RichTextDocument back;
    QString error;
    ASSERT_TRUE(RtfReader::Read(rtf, back, &error)) << error.toStdString() << rtf.toStdString();
    EXPECT_EQ(Describe(back), Describe(doc));
}

TEST(RtfWriter, WritesPlainAsciiRtf) {
    const QByteArray rtf = RtfWriter::Write(sample());
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    for (const char c : rtf) {
        ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80) << "a byte outside ASCII";
    }
    EXPECT_TRUE(rtf.contains("caf\\'e9"));
    EXPECT_TRUE(rtf.contains("\\u20013?"));
}

TEST(RtfWriter, EmptyDocumentReadsBackEmpty) {
    RichTextDocument back;
    ASSERT_TRUE(RtfReader::Read(RtfWriter::Write(RichTextDocument{}), back));
    EXPECT_TRUE(back.paragraphs.isEmpty());
}

TEST(QtRichText, AQtDocumentKeepsTheFormatsThroughRtf) {
    QTextDocument view;
    QtRichText::Fill(view, sample());
    EXPECT_EQ(view.blockCount(), 4);
    const RichTextDocument fromView = QtRichText::From(view);
    EXPECT_EQ(Describe(fromView), Describe(sample()));

    RichTextDocument back;
    ASSERT_TRUE(RtfReader::Read(RtfWriter::Write(fromView), back));
    QTextDocument again;
    QtRichText::Fill(again, back);
    EXPECT_EQ(again.toPlainText(), view.toPlainText());
}

TEST(QtRichText, PlainTextViewBecomesPlainParagraphs) {
    QTextDocument view;
    view.setPlainText(QStringLiteral("line one\nline two"));
    EXPECT_EQ(Describe(QtRichText::From(view)), "line one|line two");
    QTextDocument empty;
    EXPECT_TRUE(QtRichText::From(empty).paragraphs.isEmpty());
}

} // namespace
