#include "platform/messagesdb/messagetemplate.h"

#include "platform/messagesdb/orlixmessage.h"
#include "platform/web/htmltext.h"

#include <functional>

namespace {
using Lookup = std::function<bool(const QString& tag, QString& value)>;

const QLatin1String kTagStart("<OCP_MESSAGE");

// One pass over the text: each <OCP_MESSAGE...> tag the lookup knows is replaced; the
// values put in are not looked at again.
QString fillTags(const QString& text, const Lookup& lookup) {
    QString out;
    out.reserve(text.size() + text.size() / 2);
    qsizetype from = 0;
    while (true) {
        const qsizetype at = text.indexOf(kTagStart, from, Qt::CaseInsensitive);
        if (at < 0) {
            break;
        }
        const qsizetype close = text.indexOf(QLatin1Char('>'), at);
        if (close < 0) {
            break;
        }
        out += QStringView(text).mid(from, at - from);
        const QString tag = text.mid(at + 1, close - at - 1).toUpper();
        QString value;
        if (lookup(tag, value)) {
            out += value;
        } else {
            out += QStringView(text).mid(at, close - at + 1);
        }
        from = close + 1;
    }
    out += QStringView(text).mid(from);
    return out;
}

// Replaces every <open>...</close> block by what expand makes of its inside; an opening tag
// without a closing one and all after it stay as written.
QString expandBlocks(const QString& text, const QString& open, const QString& close,
                     const std::function<void(const QString& block, QString& out)>& expand,
                     qsizetype expected = 0) {
    QString out;
    out.reserve(text.size() + expected);
    qsizetype from = 0;
    while (true) {
        const qsizetype start = text.indexOf(open, from, Qt::CaseInsensitive);
        if (start < 0) {
            break;
        }
        const qsizetype end = text.indexOf(close, start + open.size(), Qt::CaseInsensitive);
        if (end < 0) {
            break;
        }
        out += QStringView(text).mid(from, start - from);
        expand(text.mid(start + open.size(), end - start - open.size()), out);
        from = end + close.size();
    }
    out += QStringView(text).mid(from);
    return out;
}

QString summary(const QString& text) {
    QString flat = text.simplified();
    if (flat.size() > 200) {
        flat = flat.left(200) + QStringLiteral("...");
    }
    return HtmlText::Escape(flat);
}

bool onScreen(int options) {
    return (options & MessageTemplate::PrintSelection) == 0 &&
           (options & MessageTemplate::OnScreenList) == MessageTemplate::OnScreenList;
}

// The fields that are the listener's or the user's text: escaped as they go into the page.
bool textField(const OrlixMessage& m, QStringView name, QString& value) {
    QString text;
    if (name == u"SUBJECT") {
        text = m.Subject();
    } else if (name == u"FROM") {
        text = m.FromText();
    } else if (name == u"TO") {
        text = m.ToText();
    } else if (name == u"CC") {
        text = m.CcText();
    } else if (name == u"RECEIVEDDATE") {
        text = m.ReceivedDateText();
    } else if (name == u"SENTDATE") {
        text = m.SentDateText();
    } else if (name == u"SENDAFTERDATE") {
        text = m.SendAfterDate().isValid()
                   ? m.SendAfterDate().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                   : QString();
    } else if (name == u"DATE") {
        text = m.ReceivedDateText();
        if (text.isEmpty()) {
            text = m.SentDateText();
        }
    } else if (name == u"FOLDER") {
        text = m.FolderName();
    } else if (name == u"BODY") {
        value = HtmlText::Lines(m.BodyText(), {.breakSource = true});
        return true;
    } else if (name == u"SUMMARY") {
        value = summary(m.BodyText());
        return true;
    } else {
        return false;
    }
    value = HtmlText::Escape(text);
    return true;
}

// The message's numbers and states, as words of the program's own that need no escaping.
bool stateField(const OrlixMessage& m, QStringView name, QString& value) {
    if (name == u"REFERENCE") {
        value = QString::number(m.Reference());
    } else if (name == u"KIND") {
        value = m.Kind() == OrlixMessage::KindSms     ? QStringLiteral("SMS")
                : m.Kind() == OrlixMessage::KindEmail ? QStringLiteral("E-mail")
                                                      : QString();
    } else if (name == u"KINDIMAGE") {
        value = m.Kind() == OrlixMessage::KindSms ? QStringLiteral("sms.svg")
                                                  : QStringLiteral("email.svg");
    } else if (name == u"FOLDERREFERENCE") {
        value = QString::number(m.Folder());
    } else if (name == u"FLAGS") {
        value = QString::number(m.Flags());
    } else if (name == u"READ") {
        value = (m.Flags() & OrlixMessage::FlagRead) != 0 ? QStringLiteral("read")
                                                          : QStringLiteral("unread");
    } else if (name == u"PERSONAL") {
        value = m.PersonalOwner() != 0 ? QStringLiteral("personal") : QString();
    } else if (name == u"PERSONALOWNER") {
        value = QString::number(m.PersonalOwner());
    } else {
        return false;
    }
    return true;
}

// The tick box and the command links: on the on-screen list only, "" on paper.
bool screenField(const OrlixMessage& m, bool screen, QStringView name, QString& value) {
    static const struct {
        QStringView tag;
        QLatin1String command;
    } links[] = {{u"OPENLINK", QLatin1String("openmessage")},
                 {u"PRINTLINK", QLatin1String("printmessage")},
                 {u"DELETELINK", QLatin1String("deletemessage")},
                 {u"COPYLINK", QLatin1String("copymessage")},
                 {u"MOVELINK", QLatin1String("movemessage")}};
    const QString ref = QString::number(m.Reference());
    if (name == u"SELECT") {
        value = screen
                    ? QStringLiteral("<input type=\"checkbox\" name=\"MessageSelected(") + ref +
                          QStringLiteral(")\" id=\"MessageSelected(") + ref + QStringLiteral(")\">")
                    : QString();
        return true;
    }
    for (const auto& link : links) {
        if (name == link.tag) {
            value = screen ? QStringLiteral("orlix://") + link.command + QLatin1Char('(') + ref +
                                 QLatin1Char(')')
                           : QString();
            return true;
        }
    }
    return false;
}

bool messageTag(const OrlixMessage& m, bool screen, const QString& tag, QString& value) {
    if (!tag.startsWith(QLatin1String("OCP_MESSAGE_"))) {
        return false;
    }
    const QStringView name = QStringView(tag).mid(12);
    return textField(m, name, value) || stateField(m, name, value) ||
           screenField(m, screen, name, value);
}

bool listTag(qsizetype count, bool screen, const QString& tag, QString& value) {
    const auto link = [&](const char* word) {
        value = screen ? QStringLiteral("orlix://") + QLatin1String(word) : QString();
        return true;
    };
    if (tag == QLatin1String("OCP_MESSAGES_COUNT")) {
        value = QString::number(count);
        return true;
    }
    if (tag == QLatin1String("OCP_MESSAGES_PRINTLINK")) {
        return link("printmessages");
    }
    if (tag == QLatin1String("OCP_MESSAGES_DELETELINK")) {
        return link("deletemessages");
    }
    if (tag == QLatin1String("OCP_MESSAGES_COPYLINK")) {
        return link("copymessages");
    }
    if (tag == QLatin1String("OCP_MESSAGES_MOVELINK")) {
        return link("movemessages");
    }
    return false;
}

const QString kRepeatOpen = QStringLiteral("<OCP_MESSAGES_REPEAT>");
const QString kRepeatClose = QStringLiteral("</OCP_MESSAGES_REPEAT>");
const QString kNoneOpen = QStringLiteral("<OCP_MESSAGES_NONE>");
const QString kNoneClose = QStringLiteral("</OCP_MESSAGES_NONE>");

// A block split once into literal text and tags, so that a list of a thousand messages does
// not scan the block a thousand times.
struct Segment {
    QString Literal;
    QString Tag; // upper case; "" for a literal
};

std::vector<Segment> split(const QString& block) {
    std::vector<Segment> segments;
    qsizetype from = 0;
    while (true) {
        const qsizetype at = block.indexOf(kTagStart, from, Qt::CaseInsensitive);
        const qsizetype close = at < 0 ? -1 : block.indexOf(QLatin1Char('>'), at);
        if (at < 0 || close < 0) {
            break;
        }
        if (at > from) {
            segments.push_back({block.mid(from, at - from), QString()});
        }
        segments.push_back(
            {block.mid(at, close - at + 1), block.mid(at + 1, close - at - 1).toUpper()});
        from = close + 1;
    }
    if (from < block.size()) {
        segments.push_back({block.mid(from), QString()});
    }
    return segments;
}

QString render(const QString& text, const std::vector<const OrlixMessage*>& messages, int options,
               bool fillOutside) {
    const bool screen = onScreen(options);
    // The list's own tags (and, for one message, its tags) first, over the template alone:
    // the expansion below is never scanned again.
    const OrlixMessage* only = fillOutside && messages.size() == 1 ? messages.front() : nullptr;
    QString out = fillTags(text, [&](const QString& tag, QString& value) {
        if (listTag(static_cast<qsizetype>(messages.size()), screen, tag, value)) {
            return true;
        }
        return only != nullptr && messageTag(*only, screen, tag, value);
    });
    out = expandBlocks(out, kNoneOpen, kNoneClose, [&](const QString& block, QString& into) {
        if (messages.empty()) {
            into += block;
        }
    });
    const auto count = static_cast<qsizetype>(messages.size());
    return expandBlocks(
        out, kRepeatOpen, kRepeatClose,
        [&](const QString& block, QString& expansion) {
            const std::vector<Segment> segments = split(block);
            QString value;
            for (const OrlixMessage* m : messages) {
                for (const Segment& s : segments) {
                    if (s.Tag.isEmpty()) {
                        expansion += s.Literal;
                    } else if (messageTag(*m, screen, s.Tag, value)) {
                        expansion += value;
                    } else {
                        expansion += s.Literal;
                    }
                }
            }
        },
        count * 1200);
}

} // namespace

QString MessageTemplate::RenderOne(const QString& text, const OrlixMessage& message, int options) {
    return render(text, {&message}, options, true);
}

QString MessageTemplate::RenderList(const QString& text,
                                    const std::vector<std::shared_ptr<OrlixMessage>>& messages,
                                    int options) {
    std::vector<const OrlixMessage*> plain;
    plain.reserve(messages.size());
    for (const auto& m : messages) {
        if (m) {
            plain.push_back(m.get());
        }
    }
    return render(text, plain, options, false);
}
