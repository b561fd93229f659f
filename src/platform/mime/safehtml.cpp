#include "platform/mime/safehtml.h"

#include "platform/web/htmltext.h"

#include <QList>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <utility>

namespace mime {

namespace {

// Elements opened deeper than this are dropped, keeping their content.
constexpr int kMaxDepth = 100;

const QSet<QString>& keptElements() {
    static const QSet<QString> names = {
        QStringLiteral("a"),        QStringLiteral("abbr"),    QStringLiteral("address"),
        QStringLiteral("b"),        QStringLiteral("big"),     QStringLiteral("blockquote"),
        QStringLiteral("br"),       QStringLiteral("caption"), QStringLiteral("center"),
        QStringLiteral("cite"),     QStringLiteral("code"),    QStringLiteral("col"),
        QStringLiteral("colgroup"), QStringLiteral("dd"),      QStringLiteral("del"),
        QStringLiteral("div"),      QStringLiteral("dl"),      QStringLiteral("dt"),
        QStringLiteral("em"),       QStringLiteral("font"),    QStringLiteral("h1"),
        QStringLiteral("h2"),       QStringLiteral("h3"),      QStringLiteral("h4"),
        QStringLiteral("h5"),       QStringLiteral("h6"),      QStringLiteral("hr"),
        QStringLiteral("i"),        QStringLiteral("img"),     QStringLiteral("ins"),
        QStringLiteral("kbd"),      QStringLiteral("li"),      QStringLiteral("mark"),
        QStringLiteral("ol"),       QStringLiteral("p"),       QStringLiteral("pre"),
        QStringLiteral("q"),        QStringLiteral("s"),       QStringLiteral("samp"),
        QStringLiteral("small"),    QStringLiteral("span"),    QStringLiteral("strike"),
        QStringLiteral("strong"),   QStringLiteral("sub"),     QStringLiteral("sup"),
        QStringLiteral("table"),    QStringLiteral("tbody"),   QStringLiteral("td"),
        QStringLiteral("tfoot"),    QStringLiteral("th"),      QStringLiteral("thead"),
        QStringLiteral("tr"),       QStringLiteral("tt"),      QStringLiteral("u"),
        QStringLiteral("ul"),       QStringLiteral("var"),     QStringLiteral("wbr")};
    return names;
}

// Kept elements that have no content and no end tag.
bool isVoid(const QString& name) {
    return name == u"br" || name == u"hr" || name == u"img" || name == u"col" || name == u"wbr";
}

// Elements whose content a browser reads as raw text up to their own end tag: dropped with it.
bool isRawText(const QString& name) {
    static const QSet<QString> names = {
        QStringLiteral("script"),   QStringLiteral("style"),    QStringLiteral("title"),
        QStringLiteral("textarea"), QStringLiteral("xmp"),      QStringLiteral("iframe"),
        QStringLiteral("noembed"),  QStringLiteral("noframes"), QStringLiteral("noscript")};
    return names.contains(name);
}

// Elements whose content is markup that is no text of the message: dropped with it.
bool isDroppedWithContent(const QString& name) {
    static const QSet<QString> names = {
        QStringLiteral("head"),   QStringLiteral("object"),   QStringLiteral("applet"),
        QStringLiteral("svg"),    QStringLiteral("math"),     QStringLiteral("template"),
        QStringLiteral("select"), QStringLiteral("frameset"), QStringLiteral("datalist")};
    return names.contains(name);
}

// Attributes that only describe how a kept element looks.
bool isPlainAttribute(const QString& name) {
    static const QSet<QString> names = {
        QStringLiteral("align"),   QStringLiteral("alt"),         QStringLiteral("bgcolor"),
        QStringLiteral("border"),  QStringLiteral("cellpadding"), QStringLiteral("cellspacing"),
        QStringLiteral("class"),   QStringLiteral("clear"),       QStringLiteral("color"),
        QStringLiteral("colspan"), QStringLiteral("compact"),     QStringLiteral("datetime"),
        QStringLiteral("dir"),     QStringLiteral("face"),        QStringLiteral("frame"),
        QStringLiteral("headers"), QStringLiteral("height"),      QStringLiteral("hspace"),
        QStringLiteral("lang"),    QStringLiteral("nowrap"),      QStringLiteral("reversed"),
        QStringLiteral("rowspan"), QStringLiteral("rules"),       QStringLiteral("scope"),
        QStringLiteral("size"),    QStringLiteral("span"),        QStringLiteral("start"),
        QStringLiteral("summary"), QStringLiteral("title"),       QStringLiteral("type"),
        QStringLiteral("valign"),  QStringLiteral("value"),       QStringLiteral("vspace"),
        QStringLiteral("width")};
    return names.contains(name);
}

// Whether the attribute of that element holds a URL, and so is kept only with a safe one.
bool isUrlAttribute(const QString& element, const QString& name) {
    if (name == u"href") {
        return element == u"a";
    }
    if (name == u"src") {
        return element == u"img";
    }
    if (name == u"background") {
        return element == u"table" || element == u"td" || element == u"th" || element == u"tr";
    }
    if (name == u"cite") {
        return element == u"blockquote" || element == u"q" || element == u"del" ||
               element == u"ins";
    }
    return false;
}

bool isAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

int digitValue(QChar c, bool hex) {
    if (c >= u'0' && c <= u'9') {
        return c.unicode() - u'0';
    }
    if (hex && c >= u'a' && c <= u'f') {
        return c.unicode() - u'a' + 10;
    }
    if (hex && c >= u'A' && c <= u'F') {
        return c.unicode() - u'A' + 10;
    }
    return -1;
}

// The blanks that separate a tag's name and attributes.
bool isTagBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

QString asciiLower(QStringView text) {
    QString out = text.toString();
    for (QChar& c : out) {
        if (c >= u'A' && c <= u'Z') {
            c = QChar(c.unicode() + (u'a' - u'A'));
        }
    }
    return out;
}

QString codePointText(uint cp) {
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = 0xFFFD;
    }
    const auto c = static_cast<char32_t>(cp);
    return QString::fromUcs4(&c, 1);
}

// The character a numeric or common named entity at `at` (an '&') stands for, and its length;
// an empty text when there is none (the '&' is then an '&').
std::pair<QString, qsizetype> entityAt(QStringView text, qsizetype at) {
    qsizetype i = at + 1;
    if (i < text.size() && text[i] == u'#') {
        ++i;
        const bool hex = i < text.size() && (text[i] == u'x' || text[i] == u'X');
        if (hex) {
            ++i;
        }
        const qsizetype digits = i;
        quint64 value = 0;
        for (int digit = 0; i < text.size() && (digit = digitValue(text[i], hex)) >= 0; ++i) {
            value = qMin<quint64>(value * (hex ? 16 : 10) + static_cast<quint64>(digit), 0x110000);
        }
        if (i == digits) {
            return {};
        }
        if (i < text.size() && text[i] == u';') {
            ++i;
        }
        return {codePointText(static_cast<uint>(value)), i - at};
    }
    static const struct {
        const char16_t* name;
        char16_t character;
    } named[] = {{u"amp", u'&'},      {u"lt", u'<'},        {u"gt", u'>'},    {u"quot", u'"'},
                 {u"apos", u'\''},    {u"nbsp", u'\u00a0'}, {u"colon", u':'}, {u"tab", u'\t'},
                 {u"newline", u'\n'}, {u"sol", u'/'},       {u"lpar", u'('},  {u"rpar", u')'}};
    for (const auto& entity : named) {
        const QStringView name(entity.name);
        if (text.mid(i).startsWith(name, Qt::CaseInsensitive)) {
            qsizetype end = i + name.size();
            if (end < text.size() && text[end] == u';') {
                ++end;
            } else if (end < text.size() && (text[end] == u'=' || text[end].isLetterOrNumber())) {
                return {}; // "?a=1&lt=2" in a URL is no entity to a browser either
            }
            return {QString(QChar(entity.character)), end - at};
        }
    }
    return {};
}

// An attribute value as the browser would read it.
QString decodeEntities(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (text[i] == u'&') {
            const auto [character, length] = entityAt(text, i);
            if (length > 0) {
                out += character;
                i += length;
                continue;
            }
        }
        out += text[i];
        ++i;
    }
    return out;
}

// The URL when it is one a quoted message may keep, else "". The blanks and control
// characters a browser would skip are taken out first, so that "java\tscript:" cannot pass
// as something else.
QString safeUrl(const QString& value) {
    QString url;
    for (const QChar c : value) {
        if (c.unicode() > 0x20 && c.unicode() != 0x7f) {
            url += c;
        }
    }
    static const QLatin1String schemes[] = {QLatin1String("http://"), QLatin1String("https://"),
                                            QLatin1String("mailto:"), QLatin1String("cid:")};
    for (const QLatin1String& scheme : schemes) {
        if (url.startsWith(scheme, Qt::CaseInsensitive) && url.size() > scheme.size()) {
            return url;
        }
    }
    return {};
}

// A style that can load nothing, run nothing and not leave the quote's box.
bool isSafeStyle(const QString& style) {
    const QString lower = style.toLower();
    static const QLatin1String refused[] = {
        QLatin1String("url"),      QLatin1String("expression"), QLatin1String("import"),
        QLatin1String("behavior"), QLatin1String("binding"),    QLatin1String("script"),
        QLatin1String("position"), QLatin1String("\\"),         QLatin1String("/*"),
        QLatin1String("@"),        QLatin1String("<"),          QLatin1String("&")};
    for (const QLatin1String& word : refused) {
        if (lower.contains(word)) {
            return false;
        }
    }
    return true;
}

struct Attribute {
    QString name;
    QString value;
};

struct Tag {
    QString name;
    QList<Attribute> attributes;
};

class Sanitizer {
public:
    explicit Sanitizer(const QString& html) : in_(html) {}

    QString run() {
        while (pos_ < in_.size() && !finished_) {
            if (in_[pos_] == u'<') {
                markup();
            } else {
                const qsizetype next = in_.indexOf(u'<', pos_);
                const qsizetype end = next < 0 ? in_.size() : next;
                text(QStringView(in_).mid(pos_, end - pos_));
                pos_ = end;
            }
        }
        closeAll();
        return out_;
    }

private:
    bool skipping() const { return !skipName_.isEmpty(); }

    // The source's text is HTML already: its entities stay as written, and only a bracket
    // that opens no tag of ours becomes one, so that it cannot start markup after ours.
    void text(QStringView chunk) {
        if (skipping()) {
            return;
        }
        for (const QChar c : chunk) {
            if (c == u'<') {
                out_ += QLatin1String("&lt;");
            } else if (c == u'>') {
                out_ += QLatin1String("&gt;");
            } else if (c != QChar(0)) {
                out_ += c;
            }
        }
    }

    // pos_ is at a '<'.
    void markup() {
        const QChar next = pos_ + 1 < in_.size() ? in_[pos_ + 1] : QChar();
        if (next == u'!' && QStringView(in_).mid(pos_, 4) == u"<!--") {
            comment();
        } else if (next == u'!' || next == u'?') {
            skipPast(u'>', pos_ + 2); // a doctype or a bogus comment
        } else if (next == u'/') {
            const QChar after = pos_ + 2 < in_.size() ? in_[pos_ + 2] : QChar();
            if (isAsciiLetter(after)) {
                tag(pos_ + 2, true);
            } else if (after == u'>') {
                pos_ += 3;
            } else {
                skipPast(u'>', pos_ + 2);
            }
        } else if (isAsciiLetter(next)) {
            tag(pos_ + 1, false);
        } else {
            text(u"<");
            ++pos_;
        }
    }

    void comment() {
        // "<!-->" and "<!--->" end at once, as in a browser; so does "--!>".
        const qsizetype close = in_.indexOf(QLatin1String("-->"), pos_ + 2);
        const qsizetype bang = in_.indexOf(QLatin1String("--!>"), pos_ + 2);
        if (close < 0 && bang < 0) {
            pos_ = in_.size();
        } else if (bang < 0 || (close >= 0 && close < bang)) {
            pos_ = close + 3;
        } else {
            pos_ = bang + 4;
        }
    }

    void skipPast(QChar c, qsizetype from) {
        const qsizetype at = in_.indexOf(c, from);
        pos_ = at < 0 ? in_.size() : at + 1;
    }

    // Reads a tag whose name starts at `from`; a tag the data ends inside is dropped.
    void tag(qsizetype from, bool end) {
        Tag t;
        qsizetype i = from;
        while (i < in_.size() && !isTagBlank(in_[i]) && in_[i] != u'/' && in_[i] != u'>') {
            ++i;
        }
        t.name = asciiLower(QStringView(in_).mid(from, i - from));
        if (!readAttributes(i, t.attributes)) {
            pos_ = in_.size();
            return;
        }
        pos_ = i;
        if (end) {
            endTag(t.name);
        } else {
            startTag(t);
        }
    }

    // Reads the attributes up to and past the tag's '>'; false when the data ends first.
    bool readAttributes(qsizetype& i, QList<Attribute>& attributes) const {
        const qsizetype n = in_.size();
        while (true) {
            while (i < n && (isTagBlank(in_[i]) || in_[i] == u'/')) {
                ++i;
            }
            if (i >= n) {
                return false;
            }
            if (in_[i] == u'>') {
                ++i;
                return true;
            }
            const qsizetype nameStart = i;
            ++i; // the first character may be '='
            while (i < n && !isTagBlank(in_[i]) && in_[i] != u'/' && in_[i] != u'>' &&
                   in_[i] != u'=') {
                ++i;
            }
            Attribute attribute{asciiLower(QStringView(in_).mid(nameStart, i - nameStart)), {}};
            while (i < n && isTagBlank(in_[i])) {
                ++i;
            }
            if (i < n && in_[i] == u'=') {
                ++i;
                while (i < n && isTagBlank(in_[i])) {
                    ++i;
                }
                if (i < n && (in_[i] == u'"' || in_[i] == u'\'')) {
                    const qsizetype close = in_.indexOf(in_[i], i + 1);
                    if (close < 0) {
                        return false;
                    }
                    attribute.value = in_.mid(i + 1, close - i - 1);
                    i = close + 1;
                } else {
                    const qsizetype start = i;
                    while (i < n && !isTagBlank(in_[i]) && in_[i] != u'>') {
                        ++i;
                    }
                    attribute.value = in_.mid(start, i - start);
                }
            }
            const bool seen =
                std::any_of(attributes.cbegin(), attributes.cend(),
                            [&](const Attribute& a) { return a.name == attribute.name; });
            if (!seen) { // as in a browser, the first of a name counts
                attributes.append(std::move(attribute));
            }
        }
    }

    void startTag(const Tag& t) {
        if (t.name == u"body") {
            // What came before the body is the head's, whatever the source left open; a
            // second body tag is nothing, as in a browser.
            if (!bodySeen_) {
                bodySeen_ = true;
                out_.clear();
                open_.clear();
                skipName_.clear();
            }
            return;
        }
        if (isRawText(t.name)) {
            skipRawText(t.name);
            return;
        }
        if (t.name == u"plaintext") {
            finished_ = true; // all that follows is its text
            return;
        }
        if (skipping()) {
            if (t.name == skipName_) {
                ++skipDepth_;
            }
            return;
        }
        if (isDroppedWithContent(t.name)) {
            skipName_ = t.name;
            skipDepth_ = 1;
            return;
        }
        if (!keptElements().contains(t.name)) {
            return;
        }
        closeImplied(t.name);
        if (!isVoid(t.name)) {
            if (open_.size() >= kMaxDepth) {
                return;
            }
            open_.append(t.name);
        }
        out_ += u'<' + t.name + safeAttributes(t) + u'>';
    }

    void endTag(const QString& name) {
        if (name == u"body" || name == u"html") {
            finished_ = true;
            return;
        }
        if (skipping()) {
            if (name == skipName_ && --skipDepth_ == 0) {
                skipName_.clear();
            }
            return;
        }
        const qsizetype at = open_.lastIndexOf(name);
        if (at < 0) {
            return; // never close what this body did not open
        }
        while (open_.size() > at) {
            out_ += QStringLiteral("</") + open_.takeLast() + u'>';
        }
    }

    // A new paragraph, list item or table cell ends the one still open before it.
    void closeImplied(const QString& name) {
        while (!open_.isEmpty() && impliesEnd(open_.last(), name)) {
            out_ += QStringLiteral("</") + open_.takeLast() + u'>';
        }
    }

    static bool impliesEnd(const QString& top, const QString& name) {
        const auto among = [](const QString& a, std::initializer_list<const char16_t*> names) {
            return std::any_of(names.begin(), names.end(),
                               [&](const char16_t* n) { return a == QStringView(n); });
        };
        const bool same = top == name && among(name, {u"p", u"li", u"tr", u"option"});
        const bool definition = among(top, {u"dt", u"dd"}) && among(name, {u"dt", u"dd"});
        const bool cell = among(top, {u"td", u"th"}) && among(name, {u"td", u"th", u"tr"});
        return same || definition || cell;
    }

    // Drops a raw-text element's content up to its end tag, which is read as a tag next.
    void skipRawText(const QString& name) {
        const QString close = QStringLiteral("</") + name;
        qsizetype from = pos_;
        while (true) {
            const qsizetype at = in_.indexOf(close, from, Qt::CaseInsensitive);
            if (at < 0) {
                pos_ = in_.size();
                return;
            }
            const qsizetype after = at + close.size();
            if (after >= in_.size() || isTagBlank(in_[after]) || in_[after] == u'/' ||
                in_[after] == u'>') {
                pos_ = at;
                return;
            }
            from = after;
        }
    }

    static QString safeAttributes(const Tag& t) {
        QString out;
        for (const Attribute& a : t.attributes) {
            const QString value = decodeEntities(a.value);
            QString kept;
            if (a.name.startsWith(QLatin1String("on"))) {
                continue;
            }
            if (isUrlAttribute(t.name, a.name)) {
                kept = safeUrl(value);
                if (kept.isEmpty()) {
                    continue;
                }
            } else if (a.name == u"style") {
                if (!isSafeStyle(value)) {
                    continue;
                }
                kept = value;
            } else if (isPlainAttribute(a.name)) {
                kept = value;
            } else {
                continue;
            }
            out += u' ' + a.name + QStringLiteral("=\"") + HtmlText::Escape(kept) + u'"';
        }
        return out;
    }

    void closeAll() {
        while (!open_.isEmpty()) {
            out_ += QStringLiteral("</") + open_.takeLast() + u'>';
        }
    }

    const QString& in_;
    qsizetype pos_ = 0;
    QString out_;
    QStringList open_;
    QString skipName_;
    int skipDepth_ = 0;
    bool bodySeen_ = false;
    bool finished_ = false;
};

// Reads the sanitizer's own output, whose tags are all of one well-formed shape and whose
// text holds no bare bracket.
class PlainReader {
public:
    QString run(const QString& clean) {
        qsizetype i = 0;
        while (i < clean.size()) {
            if (clean[i] == u'<') {
                const qsizetype close = clean.indexOf(u'>', i);
                if (close < 0) {
                    break;
                }
                QStringView tag = QStringView(clean).mid(i + 1, close - i - 1);
                const bool end = tag.startsWith(u'/');
                if (end) {
                    tag = tag.mid(1);
                }
                const qsizetype blank = tag.indexOf(u' ');
                const QString name = (blank < 0 ? tag : tag.left(blank)).toString();
                end ? endTag(name) : startTag(name);
                i = close + 1;
            } else {
                const qsizetype next = clean.indexOf(u'<', i);
                const qsizetype stop = next < 0 ? clean.size() : next;
                text(decodeEntities(QStringView(clean).mid(i, stop - i)));
                i = stop;
            }
        }
        trimLineEnd();
        return out_;
    }

private:
    static bool among(const QString& name, std::initializer_list<const char16_t*> names) {
        return std::any_of(names.begin(), names.end(),
                           [&](const char16_t* n) { return name == QStringView(n); });
    }
    static bool isApart(const QString& name) {
        return among(name, {u"p", u"h1", u"h2", u"h3", u"h4", u"h5", u"h6", u"ul", u"ol", u"dl",
                            u"blockquote", u"pre", u"hr"});
    }
    static bool isLine(const QString& name) {
        return among(name, {u"div", u"li", u"tr", u"table", u"dt", u"dd", u"address", u"center",
                            u"caption"});
    }
    static bool isList(const QString& name) { return among(name, {u"ul", u"ol", u"dl"}); }

    void startTag(const QString& name) {
        if (name == u"br") {
            lineBreak();
        } else if (isList(name) && lists_ > 0) {
            block(1); // a list inside a list item goes on the next line
            ++lists_;
        } else if (isApart(name)) {
            block(2);
            if (name == u"blockquote") {
                ++quotes_;
            } else if (name == u"pre") {
                ++pre_;
            } else if (isList(name)) {
                ++lists_;
            }
        } else if (name == u"li") {
            block(1);
            item_ = true;
        } else if (isLine(name)) {
            block(1);
        } else if (name == u"td" || name == u"th") {
            space_ = !lineStart_;
        }
    }

    void endTag(const QString& name) {
        if (isList(name) && lists_ > 1) {
            --lists_;
            block(1);
        } else if (isApart(name)) {
            if (name == u"blockquote") {
                quotes_ = std::max(0, quotes_ - 1);
            } else if (name == u"pre") {
                pre_ = std::max(0, pre_ - 1);
            } else if (isList(name)) {
                lists_ = std::max(0, lists_ - 1);
            }
            block(2);
        } else if (name == u"li" || isLine(name)) {
            block(1);
        }
    }

    void text(const QString& chunk) {
        for (const QChar c : chunk) {
            if (pre_ > 0) {
                if (c == u'\n') {
                    lineBreak();
                } else if (c != u'\r') {
                    put(c);
                }
            } else if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f') {
                space_ = true;
            } else {
                put(c == QChar(0xa0) ? QChar(u' ') : c);
            }
        }
    }

    // The blank lines a block wants before what follows it; none before the first text.
    void block(int lines) {
        wanted_ = std::max(wanted_, lines);
        breakQuotes_ = std::min(breakQuotes_, quotes_);
    }

    void flushBlock() {
        if (wanted_ > 0 && !out_.isEmpty()) {
            if (!lineStart_) {
                endLine();
            }
            while (newlines_ < wanted_) {
                out_ += emptyLine(breakQuotes_) + u'\n';
                ++newlines_;
            }
        }
        wanted_ = 0;
        breakQuotes_ = std::numeric_limits<int>::max();
    }

    void lineBreak() {
        flushBlock();
        if (lineStart_) {
            out_ += emptyLine(quotes_) + u'\n';
            ++newlines_;
        } else {
            endLine();
        }
        space_ = false;
    }

    void endLine() {
        trimLineEnd();
        out_ += u'\n';
        newlines_ = 1;
        lineStart_ = true;
    }

    void trimLineEnd() {
        while (out_.size() > contentStart_ && out_.endsWith(u' ')) {
            out_.chop(1);
        }
    }

    static QString emptyLine(int quotes) {
        QString line = QStringLiteral("> ").repeated(quotes);
        line.chop(line.isEmpty() ? 0 : 1);
        return line;
    }

    void put(QChar c) {
        flushBlock();
        if (lineStart_) {
            out_ += QStringLiteral("> ").repeated(quotes_);
            if (item_) {
                out_ +=
                    QStringLiteral("  ").repeated(std::max(0, lists_ - 1)) + QStringLiteral("* ");
                item_ = false;
            }
            contentStart_ = out_.size();
            lineStart_ = false;
            newlines_ = 0;
        } else if (space_) {
            out_ += u' ';
        }
        space_ = false;
        out_ += c;
    }

    QString out_;
    bool lineStart_ = true;
    bool space_ = false;
    bool item_ = false;
    int newlines_ = 0;
    int wanted_ = 0;
    int breakQuotes_ = std::numeric_limits<int>::max();
    int quotes_ = 0;
    int lists_ = 0;
    int pre_ = 0;
    qsizetype contentStart_ = 0;
};

} // namespace

QString SafeHtmlBody(const QString& html) {
    return Sanitizer(html).run();
}

QString PlainTextOfHtml(const QString& html) {
    return PlainReader().run(SafeHtmlBody(html));
}

} // namespace mime
