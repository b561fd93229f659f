#include "messagesdbfixture.h"

#include "platform/messagesdb/messagetemplate.h"
#include "platform/web/htmltext.h"

#include <QFile>
#include <QRegularExpression>

namespace {
// A listener's field as every filler puts it: between a first-strong isolate and its end.
QString Isolated(const QString& field) {
    return field.isEmpty() ? field : QChar(0x2068) + field + QChar(0x2069);
}

// The main window's reading of the tick boxes: name contains "MessageSelected", the id after
// it with ( ) [ ] < > / \ removed.
QList<qint32> tickedIds(const QString& html) {
    QList<qint32> ids;
    static const QRegularExpression input(QStringLiteral("<input[^>]*name=\"([^\"]*)\""),
                                          QRegularExpression::CaseInsensitiveOption);
    auto it = input.globalMatch(html);
    while (it.hasNext()) {
        const QString name = it.next().captured(1);
        const qsizetype at = name.indexOf(QLatin1String("MessageSelected"), 0, Qt::CaseInsensitive);
        if (at < 0) {
            continue;
        }
        QString id = name.mid(at + 15);
        id.remove(QRegularExpression(QStringLiteral("[()\\[\\]<>/\\\\]")));
        ids << id.toInt();
    }
    return ids;
}
} // namespace

TEST_F(MessagesDbTest, TheOnScreenListHasATickBoxAndLinksPerMessage) {
    open();
    const qint32 a =
        storeReceived(QStringLiteral("first"), QDateTime::currentDateTimeUtc().addSecs(-60));
    const qint32 b = storeReceived(QStringLiteral("second"), QDateTime::currentDateTimeUtc());
    QFile file(db_->TemplatesPath() + QStringLiteral("/Messages-List.htm"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    auto list = db_->GetMessages(QString());
    const QString html = list->ApplyTemplate(text, MessageTemplate::OnScreenList);
    EXPECT_EQ(tickedIds(html), (QList<qint32>{b, a}));
    EXPECT_TRUE(html.contains(QStringLiteral("orlix://openmessage(%1)").arg(a)));
    EXPECT_TRUE(html.contains(QStringLiteral("orlix://deletemessage(%1)").arg(b)));
    EXPECT_FALSE(html.contains(QStringLiteral("<OCP_")));
    EXPECT_FALSE(html.contains(QStringLiteral("There are no messages")));

    const QString printed = list->ApplyTemplate(text, MessageTemplate::PrintSelection);
    EXPECT_TRUE(tickedIds(printed).isEmpty()) << "a printed list has no tick boxes";
    EXPECT_FALSE(printed.contains(QStringLiteral("orlix://")));

    const QString empty = OrlixMessageList().ApplyTemplate(text, MessageTemplate::OnScreenList);
    EXPECT_TRUE(empty.contains(QStringLiteral("There are no messages")));
}

TEST(MessageTemplateTest, AListTakesAnEmptyMessageButNoMessageAtAll) {
    OrlixMessageList list;
    bool ok = false;
    list.AddMessage(std::make_shared<OrlixMessage>(), ok);
    EXPECT_TRUE(ok) << "a message with nothing in it yet is still a message";
    list.AddMessage(nullptr, ok);
    EXPECT_FALSE(ok);
    ASSERT_EQ(list.Count(), 1);
    // Its fields are empty, and no tag is left behind.
    EXPECT_EQ(list.ApplyTemplate(QStringLiteral("<OCP_MESSAGES_REPEAT>[<OCP_MESSAGE_SUBJECT>|"
                                                "<OCP_MESSAGE_FROM>]</OCP_MESSAGES_REPEAT>"),
                                 MessageTemplate::PrintSelection),
              QStringLiteral("[|]"));
}

TEST(MessageTemplateTest, HostileFieldsAreEscapedAndABodyIsItsTextOnly) {
    const QString hostile =
        QStringLiteral("\"><a href=\"orlix://deletemessages\">x</a><script>alert(1)</script>");
    OrlixMessage m;
    m.SetReference(42);
    m.SetMessageBytes(
        BuildTextMessage(QStringLiteral("Evil <evil@example.org>"), QStringLiteral("s@example.org"),
                         hostile, hostile + QStringLiteral("\n<OCP_MESSAGE_SELECT>"), QDateTime()));
    auto shared = std::shared_ptr<OrlixMessage>(m.Clone());
    OrlixMessageList one;
    bool ok = false;
    one.AddMessage(shared, ok);
    ASSERT_TRUE(ok);
    const QString text = QStringLiteral(
        "<ocp_messages_repeat><div title=\"<OCP_MESSAGE_SUBJECT>\"><OCP_MESSAGE_SELECT>"
        "<OCP_MESSAGE_SUBJECT>|<OCP_MESSAGE_BODY>|<OCP_MESSAGE_SUMMARY>|<OCP_MESSAGE_FROM></div>"
        "</OCP_Messages_Repeat>");
    const QString html = one.ApplyTemplate(text, MessageTemplate::OnScreenList);
    EXPECT_FALSE(html.contains(QStringLiteral("<script")));
    EXPECT_FALSE(html.contains(QStringLiteral("<a href")));
    EXPECT_TRUE(html.startsWith(QStringLiteral("<div title=\"\u2068&quot;&gt;&lt;a href=")));
    EXPECT_TRUE(html.contains(
        QStringLiteral("&quot;&gt;&lt;a href=&quot;orlix://deletemessages&quot;&gt;")));
    EXPECT_TRUE(
        html.contains(QStringLiteral("\u2068Evil\u2069 &lt;\u2068evil@example.org\u2069&gt;")));
    EXPECT_TRUE(html.contains(QStringLiteral("&lt;OCP_MESSAGE_SELECT&gt;")))
        << "inserted text is not a tag";
    EXPECT_EQ(tickedIds(html), (QList<qint32>{42})) << "only the template's own tick box";
    EXPECT_TRUE(html.contains(QStringLiteral("<br>")));
}

TEST(MessageTemplateTest, OneMessageFillsItsTagsAnywhereAndLeavesOthers) {
    OrlixMessage m;
    m.SetReference(7);
    m.SetKind(OrlixMessage::KindSms);
    m.SetMessageBytes(BuildTextMessage(QStringLiteral("+44 1"), QStringLiteral("81234"), QString(),
                                       QStringLiteral("R&B please"), QDateTime()));
    const QString out = m.ApplyTemplate(
        QStringLiteral(
            "<OCP_MESSAGE_REFERENCE> <ocp_message_kind> <OCP_MESSAGE_BODY> "
            "<OCP_MESSAGE_SELECT><OCP_MESSAGE_UNKNOWN> <OCP_STATION_NAME> <OCP_MESSAGE_"),
        0);
    EXPECT_EQ(out, QStringLiteral("7 SMS \u2068R&amp;B please\u2069 <OCP_MESSAGE_UNKNOWN> "
                                  "<OCP_STATION_NAME> <OCP_MESSAGE_"));
    // An unclosed repeat block and all after it stay as written.
    OrlixMessageList list;
    EXPECT_EQ(list.ApplyTemplate(QStringLiteral("a<OCP_MESSAGES_REPEAT>b"), 3),
              QStringLiteral("a<OCP_MESSAGES_REPEAT>b"));
}

namespace {
std::shared_ptr<OrlixMessage> withSubject(const QString& subject) {
    auto m = std::make_shared<OrlixMessage>();
    m->SetMessageBytes(BuildTextMessage(QStringLiteral("ann@example.org"),
                                        QStringLiteral("studio@station.example"), subject,
                                        QStringLiteral("body"), QDateTime()));
    return m;
}

QString renderSubject(const std::shared_ptr<OrlixMessage>& m, int options) {
    OrlixMessageList list;
    bool ok = false;
    list.AddMessage(m, ok);
    return list.ApplyTemplate(
        QStringLiteral("<OCP_MESSAGES_REPEAT><OCP_MESSAGE_SUBJECT></OCP_MESSAGES_REPEAT>"),
        options);
}
} // namespace

TEST(MessageTemplateTest, TheOnScreenListCutsLongSubjectsBeforeEscaping) {
    const QString a499(499, QLatin1Char('a'));
    const QString a500(500, QLatin1Char('a'));
    const QString face = QString::fromUtf8("\xF0\x9F\x98\x80"); // two UTF-16 units
    const struct {
        const char* name;
        QString subject;
        int options;
        QString expected;
    } cases[] = {
        {"exactly the limit stays whole", a500, MessageTemplate::OnScreenList, a500},
        {"one over is cut", a500 + QStringLiteral("b"), MessageTemplate::OnScreenList,
         a500 + QStringLiteral("...")},
        {"an entity at the edge stays whole", a499 + QStringLiteral("<bbb"),
         MessageTemplate::OnScreenList, a499 + QStringLiteral("&lt;...")},
        {"markup past the edge is gone, not half-escaped", a500 + QStringLiteral("<b>"),
         MessageTemplate::OnScreenList, a500 + QStringLiteral("...")},
        {"a character is not split", a499 + face + QStringLiteral("b"),
         MessageTemplate::OnScreenList, a499 + QStringLiteral("...")},
        {"paper keeps the whole subject", a500 + QStringLiteral("<b>"),
         MessageTemplate::PrintSelection, a500 + QStringLiteral("&lt;b&gt;")},
        {"printing the ticked list keeps it too", a500 + QStringLiteral("b"),
         MessageTemplate::OnScreenList | MessageTemplate::PrintSelection,
         a500 + QStringLiteral("b")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(renderSubject(withSubject(c.subject), c.options), Isolated(c.expected)) << c.name;
    }
    // One message on its own (a message window's page) keeps its whole subject.
    const QString whole = a500 + QStringLiteral("b");
    EXPECT_EQ(withSubject(whole)->ApplyTemplate(QStringLiteral("<OCP_MESSAGE_SUBJECT>"),
                                                MessageTemplate::OneMessage),
              Isolated(whole));
}

TEST(MessageTemplateTest, TheOnScreenListCutsLongSendersAndRecipients) {
    const QString longText(700, QLatin1Char('7'));
    OrlixMessage m;
    m.SetMessageBytes("From: " + longText.toLatin1() + "\r\nTo: " + longText.toLatin1() +
                      "\r\nCc: " + longText.toLatin1() +
                      "\r\nSubject: hi\r\nContent-Type: text/plain\r\n\r\n" + longText.toLatin1() +
                      "\r\n");
    auto shared = std::shared_ptr<OrlixMessage>(m.Clone());
    OrlixMessageList list;
    bool ok = false;
    list.AddMessage(shared, ok);
    ASSERT_TRUE(ok);
    const QString text =
        QStringLiteral("<OCP_MESSAGES_REPEAT><OCP_MESSAGE_FROM>|<OCP_MESSAGE_TO>|"
                       "<OCP_MESSAGE_CC>|<OCP_MESSAGE_BODY></OCP_MESSAGES_REPEAT>");
    const QStringList screen =
        list.ApplyTemplate(text, MessageTemplate::OnScreenList).split(QLatin1Char('|'));
    ASSERT_EQ(screen.size(), 4);
    const QString cut = longText.left(500) + QStringLiteral("...");
    EXPECT_EQ(screen[0], Isolated(cut)) << "From";
    EXPECT_EQ(screen[1], Isolated(cut)) << "To";
    EXPECT_EQ(screen[2], Isolated(cut)) << "Cc";
    EXPECT_EQ(screen[3], Isolated(longText)) << "the body is not one of the cut fields";
    const QString whole = Isolated(longText);
    EXPECT_EQ(list.ApplyTemplate(text, MessageTemplate::PrintSelection),
              QStringList({whole, whole, whole, whole}).join(QLatin1Char('|')));
}

// The summary is the text on one line (white space of any kind run together, none at either
// end) cut after 200 characters with "..." when there is more, then escaped: wherever the
// cut falls against a run of blanks, a character to escape or the end of the text.
TEST(MessageTemplateTest, TheSummaryIsTheTextOnOneLineCutAfterTwoHundredCharacters) {
    const QString a199(199, QLatin1Char('a'));
    const QString a200(200, QLatin1Char('a'));
    const QString bodies[] = {
        QString(),
        QStringLiteral("   \t\r\n  "),
        QStringLiteral("  Play\t\tmy \r\n song  please \n"),
        QStringLiteral("Tom & Jerry <3 \"quoted\" 'single'"),
        QString::fromUtf8("a\u00a0b\u2003c\u3000d \u200be"),
        a200,
        a200 + QStringLiteral("   "),
        a200 + QStringLiteral("b"),
        a200 + QStringLiteral("  b"),
        a199 + QStringLiteral("  b"),
        a199 + QStringLiteral("  bc"),
        a199 + QStringLiteral("&&"),
        QStringLiteral("   ") + a199 + QStringLiteral(" \n b"),
        a199 + QString::fromUtf8("\U0001F4FB tail"),
        QString(5000, QLatin1Char('x')) + QStringLiteral(" end"),
    };
    for (const QString& body : bodies) {
        auto m = std::make_shared<OrlixMessage>();
        m->SetMessageBytes(BuildTextMessage(QStringLiteral("ann@example.org"),
                                            QStringLiteral("studio@station.example"),
                                            QStringLiteral("s"), body, QDateTime()));
        QString flat = m->BodyText().simplified();
        if (flat.size() > 200) {
            flat = flat.left(200) + QStringLiteral("...");
        }
        OrlixMessageList list;
        bool ok = false;
        list.AddMessage(m, ok);
        for (const int options : {int(MessageTemplate::OnScreenList), 0}) {
            SCOPED_TRACE(body.left(40).toStdString());
            EXPECT_EQ(
                list.ApplyTemplate(QStringLiteral("<OCP_MESSAGES_REPEAT>[<OCP_MESSAGE_SUMMARY>]"
                                                  "</OCP_MESSAGES_REPEAT>"),
                                   options),
                QLatin1Char('[') + Isolated(HtmlText::Escape(flat)) + QLatin1Char(']'));
        }
    }
}

// The list escapes each character as the one escaper escapes it on its own: that holds only
// while the escaper maps every character by itself, whatever stands beside it. Every
// character, and lines of them in several scripts, with the characters it replaces among
// them and at either end, cut or not.
TEST(MessageTemplateTest, ListFieldsAreEscapedExactlyAsTheEscaperEscapesThem) {
    QString every;
    for (char32_t c = 0; c < 0x10000; ++c) {
        every += QChar(static_cast<char16_t>(c));
    }
    QString joined;
    for (const QChar c : std::as_const(every)) {
        joined += HtmlText::Escape(QString(c));
    }
    EXPECT_EQ(HtmlText::Escape(every), joined);

    const QString lines[] = {
        QStringLiteral("<b>&amp;\"'</b>"),
        QStringLiteral("&Zoë <Пётр> 📻 'ラジオ' & \"𝄞\"&"),
        QString(QChar(0)) + QStringLiteral("a\u0000b<") + QChar(0),
        QString(498, QLatin1Char('a')) + QStringLiteral("&<>"),
        QString(499, QLatin1Char('a')) + QString::fromUtf8("\U0001F4FB>"),
    };
    for (const QString& line : lines) {
        auto m = std::make_shared<OrlixMessage>();
        m->SetMessageBytes(BuildTextMessage(QStringLiteral("ann@example.org"),
                                            QStringLiteral("studio@station.example"), line,
                                            QStringLiteral("b"), QDateTime()));
        QString subject = m->Subject();
        OrlixMessageList list;
        bool ok = false;
        list.AddMessage(m, ok);
        SCOPED_TRACE(line.left(40).toStdString());
        EXPECT_EQ(list.ApplyTemplate(QStringLiteral("<OCP_MESSAGES_REPEAT><OCP_MESSAGE_SUBJECT>"
                                                    "</OCP_MESSAGES_REPEAT>"),
                                     MessageTemplate::OneMessage),
                  Isolated(HtmlText::Escape(subject)));
    }
}
