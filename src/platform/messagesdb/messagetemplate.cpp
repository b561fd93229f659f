#include "platform/messagesdb/messagetemplate.h"

#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/storeddates.h"
#include "platform/mime/addresstext.h"
#include "platform/system/displaytext.h"
#include "platform/web/htmltext.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

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

// Appends to a page in place. A list of thousands of messages appends some fifty pieces per
// message: QString's own append checks and grows the string each time, which cost more than
// copying the text. Here each piece is a bounds check and a copy; the string is cut to what
// was written when the writer ends.
class PageWriter {
public:
    explicit PageWriter(QString& out) : out_(out), size_(out.size()) {}
    ~PageWriter() { out_.resize(size_); }
    PageWriter(const PageWriter&) = delete;
    PageWriter& operator=(const PageWriter&) = delete;

    PageWriter& operator+=(QStringView text) {
        room(text.size());
        std::copy(text.begin(), text.end(), data_ + size_);
        size_ += text.size();
        return *this;
    }
    PageWriter& operator+=(const QString& text) { return *this += QStringView(text); }
    PageWriter& operator+=(QLatin1String text) {
        room(text.size());
        for (const char c : text) {
            data_[size_++] = QLatin1Char(c);
        }
        return *this;
    }
    PageWriter& operator+=(QLatin1Char c) {
        room(1);
        data_[size_++] = c;
        return *this;
    }

private:
    void room(qsizetype more) {
        if (data_ == nullptr || size_ + more > out_.size()) {
            // Within the capacity reserved for the page this only moves the end.
            out_.resize(std::max(size_ + more, std::max(out_.capacity(), out_.size() * 3 / 2)));
            data_ = out_.data();
        }
    }

    QString& out_;
    QChar* data_ = nullptr;
    qsizetype size_ = 0;
};

// HtmlText::Escape's output kept character by character. The escaper maps each character on
// its own (a test holds it to that), so a page asks it once per character it meets, not once
// per field: escaping a listener's line a character at a time cost a fifth of the page.
class Escaped {
public:
    Escaped() {
        for (char16_t c = 0; c < kAscii; ++c) {
            asciiSame_[c] = state(c) == kSame;
        }
    }

    // Appends text as HtmlText::Escape gives it.
    void Append(PageWriter& out, QStringView text) {
        // Nearly every character of a page is ASCII that stays as it is: a table of 128 that
        // never needs to learn anything decides those.
        const char16_t* const chars = text.utf16();
        const qsizetype size = text.size();
        qsizetype clean = 0;
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t c = chars[i];
            if (c < kAscii ? asciiSame_[c] : state(c) == kSame) {
                continue;
            }
            out += text.sliced(clean, i - clean);
            out += QStringView(replacements_.value(c));
            clean = i + 1;
        }
        out += text.sliced(clean);
    }

private:
    enum : quint8 { kUnknown = 0, kSame = 1, kReplaced = 2 };
    static constexpr char16_t kAscii = 0x80;
    quint8 state(char16_t c) {
        quint8& known = states_[c];
        if (known == kUnknown) {
            const QString one(QChar{c});
            const QString escaped = HtmlText::Escape(one);
            if (escaped == one) {
                known = kSame;
            } else {
                known = kReplaced;
                replacements_.insert(c, escaped);
            }
        }
        return known;
    }

    std::vector<quint8> states_ = std::vector<quint8>(0x10000, kUnknown);
    QHash<char16_t, QString> replacements_;
    std::array<bool, kAscii> asciiSame_{};
};

// One per thread: what the escaper makes of a character never changes.
Escaped& escaped() {
    thread_local Escaped memo;
    return memo;
}

// The first 200 characters of the text on one line (as QString::simplified makes it), with
// "..." when there is more, escaped. Only as much of the text is looked at as the summary
// needs, and built in flat, which a page reuses for every message.
constexpr qsizetype kSummaryLength = 200;

void appendSummary(PageWriter& out, const QString& text, QString& flat) {
    // Written in place: a character appended at a time cost more than the rest of the page.
    flat.resize(kSummaryLength);
    QChar* const kept = flat.data();
    qsizetype size = 0;
    bool blank = false; // a run of white space since the last character kept
    bool more = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            blank = size > 0;
            continue;
        }
        if (size + (blank ? 2 : 1) > kSummaryLength) {
            // The one-line text is longer than the summary: its first 200 characters.
            if (blank && size < kSummaryLength) {
                kept[size++] = QLatin1Char(' ');
            }
            more = true;
            break;
        }
        if (blank) {
            kept[size++] = QLatin1Char(' ');
            blank = false;
        }
        kept[size++] = c;
    }
    if (size == 0) {
        return;
    }
    out += QStringView(u"\u2068");
    escaped().Append(out, QStringView(kept, size));
    if (more) {
        escaped().Append(out, u"...");
    }
    out += QStringView(u"\u2069");
}

// On the on-screen list a subject, sender or recipient line longer than this is cut: a
// megabyte subject would otherwise make every rebuild of the page slow. Printed pages and a
// single message keep the whole text.
constexpr qsizetype kScreenFieldLimit = 500;

// The text as the list shows it: cut after kScreenFieldLimit characters on the on-screen
// list, "..." then telling it was.
QStringView screenCut(QStringView text, bool screen, bool& cut) {
    cut = screen && text.size() > kScreenFieldLimit;
    if (!cut) {
        return text;
    }
    qsizetype keep = kScreenFieldLimit;
    // Never split a surrogate pair: half a character would show as a replacement mark.
    if (text.at(keep - 1).isHighSurrogate()) {
        --keep;
    }
    return text.first(keep);
}

bool onScreen(int options) {
    return (options & MessageTemplate::PrintSelection) == 0 &&
           (options & MessageTemplate::OnScreenList) == MessageTemplate::OnScreenList;
}

// The message tags, resolved once per block: a list of ten thousand messages looks each
// tag's name up once, not once per message.
enum class Field {
    None,
    // the listener's or the user's text: escaped as it goes into the page
    Subject,
    From,
    To,
    Cc,
    ReceivedDate,
    SentDate,
    SendAfterDate,
    Date,
    Folder,
    Body,
    Summary,
    // numbers and states, as words of the program's own that need no escaping
    Reference,
    Kind,
    KindImage,
    FolderReference,
    Flags,
    Read,
    Personal,
    PersonalOwner,
    // the tick box and the command links: on the on-screen list only, "" on paper
    Select,
    OpenLink,
    PrintLink,
    DeleteLink,
    CopyLink,
    MoveLink,
};

Field fieldOf(const QString& tag) {
    static const struct {
        QStringView name;
        Field field;
    } names[] = {
        {u"SUBJECT", Field::Subject},
        {u"FROM", Field::From},
        {u"TO", Field::To},
        {u"CC", Field::Cc},
        {u"RECEIVEDDATE", Field::ReceivedDate},
        {u"SENTDATE", Field::SentDate},
        {u"SENDAFTERDATE", Field::SendAfterDate},
        {u"DATE", Field::Date},
        {u"FOLDER", Field::Folder},
        {u"BODY", Field::Body},
        {u"SUMMARY", Field::Summary},
        {u"REFERENCE", Field::Reference},
        {u"KIND", Field::Kind},
        {u"KINDIMAGE", Field::KindImage},
        {u"FOLDERREFERENCE", Field::FolderReference},
        {u"FLAGS", Field::Flags},
        {u"READ", Field::Read},
        {u"PERSONAL", Field::Personal},
        {u"PERSONALOWNER", Field::PersonalOwner},
        {u"SELECT", Field::Select},
        {u"OPENLINK", Field::OpenLink},
        {u"PRINTLINK", Field::PrintLink},
        {u"DELETELINK", Field::DeleteLink},
        {u"COPYLINK", Field::CopyLink},
        {u"MOVELINK", Field::MoveLink},
    };
    if (!tag.startsWith(QLatin1String("OCP_MESSAGE_"))) {
        return Field::None;
    }
    const QStringView name = QStringView(tag).mid(12);
    for (const auto& n : names) {
        if (name == n.name) {
            return n.field;
        }
    }
    return Field::None;
}

// What the fields of one message share while a page is filled: its reference as text, made
// once however many links name it, and the summary's buffer.
class Scratch {
public:
    const QString& Reference(const OrlixMessage& m) {
        if (of_ != &m) {
            of_ = &m;
            reference_ = QString::number(m.Reference());
        }
        return reference_;
    }
    QString& Flat() { return flat_; }
    StoredDates::PageDates& Dates() { return dates_; }

private:
    const OrlixMessage* of_ = nullptr;
    QString reference_;
    QString flat_;
    StoredDates::PageDates dates_;
};

void appendLink(PageWriter& out, bool screen, QLatin1String command, const QString& reference) {
    if (screen) {
        out += QLatin1String("orlix://");
        out += command;
        out += QLatin1Char('(');
        out += reference;
        out += QLatin1Char(')');
    }
}

bool hasLineBreak(QStringView text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\r' || u == u'\n' || u == 0x2028 || u == 0x2029) {
            return true;
        }
    }
    return false;
}

// A subject, sender or recipient line, escaped, cut on the on-screen list, and isolated: a
// right-to-left name must not carry the next field along, and nothing inside may reverse it
// (the escaper drops the direction characters).
void appendLine(PageWriter& out, const QString& text, bool screen) {
    bool cut = false;
    const QStringView shown = screenCut(text, screen, cut);
    if (shown.isEmpty()) {
        return;
    }
    out += QStringView(u"\u2068");
    if (hasLineBreak(shown)) {
        escaped().Append(out, DisplayText::OneLine(shown));
    } else {
        escaped().Append(out, shown);
    }
    if (cut) {
        escaped().Append(out, u"...");
    }
    out += QStringView(u"\u2069");
}

// A sender or recipient line: like appendLine, but each entry's name and address are two
// fields, so that a right-to-left name can neither carry the address along nor swap the groups
// of a number. A line without brackets (a bare address or number) is one field.
void appendAddresses(PageWriter& out, const QString& text, bool screen) {
    bool cut = false;
    const QStringView shown = screenCut(text, screen, cut);
    if (!shown.contains(u'<')) {
        appendLine(out, text, screen);
        return;
    }
    const auto isolated = [&out](QStringView field) {
        if (!field.isEmpty()) {
            out += QStringView(u"\u2068");
            escaped().Append(out, field);
            out += QStringView(u"\u2069");
        }
    };
    const auto appendParts = [&](const DisplayText::AddressPartViews& parts) {
        if (!parts.Bracketed) {
            isolated(parts.Address);
            return;
        }
        if (!parts.Name.isEmpty()) {
            isolated(parts.Name);
            out += QLatin1Char(' ');
        }
        out += QLatin1String("&lt;");
        isolated(parts.Address);
        out += QLatin1String("&gt;");
    };
    bool first = true;
    mime::ForEachAddressEntry(shown, [&](QStringView entry) {
        if (!first) {
            out += QLatin1String(", ");
        }
        first = false;
        // Nearly every entry has nothing to clean: its parts are views into the stored line.
        if (DisplayText::IsCleanLine(entry)) {
            appendParts(DisplayText::SplitCleanAddressEntry(entry));
            return;
        }
        const QString line = DisplayText::OneLine(entry);
        appendParts(DisplayText::SplitCleanAddressEntry(line));
    });
    if (cut) {
        escaped().Append(out, u"...");
    }
}

// The field's value for the message, appended to out.
void appendField(PageWriter& out, const OrlixMessage& m, bool screen, Field field,
                 Scratch& scratch) {
    switch (field) {
    case Field::None:
        return;
    case Field::Subject:
        appendLine(out, m.Columns().Subject, screen);
        return;
    case Field::From:
        appendAddresses(out, m.Columns().From, screen);
        return;
    case Field::To:
        appendAddresses(out, m.Columns().To, screen);
        return;
    case Field::Cc:
        appendAddresses(out, m.Columns().Cc, screen);
        return;
    case Field::ReceivedDate:
        escaped().Append(out, scratch.Dates().Text(m.ReceivedDateUtc()));
        return;
    case Field::SentDate:
        escaped().Append(out, scratch.Dates().Text(m.SentDateUtc()));
        return;
    case Field::SendAfterDate: {
        const QDateTime after = m.SendAfterDate();
        if (after.isValid()) {
            escaped().Append(out, after.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        }
        return;
    }
    case Field::Date: {
        // A set date's text is never empty.
        const QString& received = scratch.Dates().Text(m.ReceivedDateUtc());
        escaped().Append(out,
                         received.isEmpty() ? scratch.Dates().Text(m.SentDateUtc()) : received);
        return;
    }
    case Field::Folder:
        escaped().Append(out, m.FolderName());
        return;
    case Field::Body:
        out += HtmlText::Lines(m.BodyText(), {.breakSource = true, .isolateLines = true});
        return;
    case Field::Summary:
        appendSummary(out, m.Columns().TextBody, scratch.Flat());
        return;
    case Field::Reference:
        out += scratch.Reference(m);
        return;
    case Field::Kind:
        if (m.Kind() == OrlixMessage::KindSms) {
            out += QLatin1String("SMS");
        } else if (m.Kind() == OrlixMessage::KindEmail) {
            out += QLatin1String("E-mail");
        }
        return;
    case Field::KindImage:
        out += m.Kind() == OrlixMessage::KindSms ? QLatin1String("sms.svg")
                                                 : QLatin1String("email.svg");
        return;
    case Field::FolderReference:
        out += QString::number(m.Folder());
        return;
    case Field::Flags:
        out += QString::number(m.Flags());
        return;
    case Field::Read:
        out += (m.Flags() & OrlixMessage::FlagRead) != 0 ? QLatin1String("read")
                                                         : QLatin1String("unread");
        return;
    case Field::Personal:
        if (m.PersonalOwner() != 0) {
            out += QLatin1String("personal");
        }
        return;
    case Field::PersonalOwner:
        out += QString::number(m.PersonalOwner());
        return;
    case Field::Select:
        if (screen) {
            const QString& ref = scratch.Reference(m);
            out += QLatin1String("<input type=\"checkbox\" name=\"MessageSelected(");
            out += ref;
            out += QLatin1String(")\" id=\"MessageSelected(");
            out += ref;
            out += QLatin1String(")\">");
        }
        return;
    case Field::OpenLink:
        appendLink(out, screen, QLatin1String("openmessage"), scratch.Reference(m));
        return;
    case Field::PrintLink:
        appendLink(out, screen, QLatin1String("printmessage"), scratch.Reference(m));
        return;
    case Field::DeleteLink:
        appendLink(out, screen, QLatin1String("deletemessage"), scratch.Reference(m));
        return;
    case Field::CopyLink:
        appendLink(out, screen, QLatin1String("copymessage"), scratch.Reference(m));
        return;
    case Field::MoveLink:
        appendLink(out, screen, QLatin1String("movemessage"), scratch.Reference(m));
        return;
    }
}

bool messageTag(const OrlixMessage& m, bool screen, const QString& tag, QString& value) {
    const Field field = fieldOf(tag);
    if (field == Field::None) {
        return false;
    }
    value.clear();
    Scratch scratch;
    PageWriter writer(value);
    appendField(writer, m, screen, field, scratch);
    return true;
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
    Field Tag = Field::None; // None: the literal stays as written
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
            segments.push_back({block.mid(from, at - from), Field::None});
        }
        segments.push_back(
            {block.mid(at, close - at + 1), fieldOf(block.mid(at + 1, close - at - 1).toUpper())});
        from = close + 1;
    }
    if (from < block.size()) {
        segments.push_back({block.mid(from), Field::None});
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
            Scratch scratch;
            PageWriter writer(expansion);
            const std::size_t count = messages.size();
            for (std::size_t i = 0; i < count; ++i) {
                // The messages and their texts lie apart in memory: a list of ten thousand
                // waited on each of them in turn. The next ones are asked for while this one
                // is written.
                if (i + 2 < count) {
                    __builtin_prefetch(messages[i + 2]);
                }
                if (i + 1 < count) {
                    messages[i + 1]->PrefetchColumns();
                }
                const OrlixMessage* m = messages[i];
                for (const Segment& s : segments) {
                    if (s.Tag == Field::None) {
                        writer += s.Literal;
                    } else {
                        appendField(writer, *m, screen, s.Tag, scratch);
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
