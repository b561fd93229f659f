#include "platform/richtext/rtfreader.h"

#include "platform/system/textcodec.h"

#include <QHash>
#include <QList>

#include <optional>

namespace {

enum class Dest { Text, Skip, ColourTable };

struct GroupState {
    RichTextRun format; // text empty: only the character format
    Dest dest = Dest::Text;
    int uc = 1; // characters that stand in for each \uN
};

// Destinations whose content is never text of the document.
bool isSkippedDestination(const QByteArray& word) {
    static const QList<QByteArray> words = {"fonttbl",
                                            "stylesheet",
                                            "info",
                                            "pict",
                                            "object",
                                            "objdata",
                                            "header",
                                            "headerl",
                                            "headerr",
                                            "headerf",
                                            "footer",
                                            "footerl",
                                            "footerr",
                                            "footerf",
                                            "footnote",
                                            "fldinst",
                                            "xe",
                                            "tc",
                                            "txe",
                                            "rxe",
                                            "listtable",
                                            "listoverridetable",
                                            "revtbl",
                                            "rsidtbl",
                                            "generator",
                                            "themedata",
                                            "colorschememapping",
                                            "datastore",
                                            "latentstyles",
                                            "pgdsctbl",
                                            "filetbl",
                                            "xmlnstbl",
                                            "mmathPr",
                                            "nonshppict",
                                            "shpinst",
                                            "shppict",
                                            "bkmkstart",
                                            "bkmkend",
                                            "annotation",
                                            "atnid",
                                            "atnauthor",
                                            "atrfstart",
                                            "atrfend",
                                            "private",
                                            "template",
                                            "buptim",
                                            "comment",
                                            "creatim",
                                            "doccomm",
                                            "operator",
                                            "printim",
                                            "revtim",
                                            "subject",
                                            "title",
                                            "author",
                                            "keywords",
                                            "company",
                                            "userprops",
                                            "docvar",
                                            "ftnsep",
                                            "ftnsepc",
                                            "ftncn",
                                            "aftnsep",
                                            "aftnsepc",
                                            "aftncn",
                                            "background",
                                            "blipuid",
                                            "wgrffmtfilter",
                                            "passwordhash",
                                            "mhtmltag",
                                            "htmltag",
                                            "fchars",
                                            "lchars",
                                            "pn",
                                            "pntext",
                                            "pntxta",
                                            "pntxtb",
                                            "listtext",
                                            "falt",
                                            "panose",
                                            "fname"};
    return words.contains(word);
}

QChar namedCharacter(const QByteArray& word) {
    static const QHash<QByteArray, char16_t> names = {
        {"emdash", 0x2014},    {"endash", 0x2013},    {"lquote", 0x2018}, {"rquote", 0x2019},
        {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"bullet", 0x2022}, {"emspace", 0x2003},
        {"enspace", 0x2002},   {"qmspace", 0x2005},   {"tab", u'\t'},     {"line", 0x2028},
        {"cell", u'\t'},       {"zwj", 0x200D},       {"zwnj", 0x200C},   {"ltrmark", 0x200E},
        {"rtlmark", 0x200F}};
    const auto it = names.constFind(word);
    return it == names.constEnd() ? QChar() : QChar(it.value());
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

class Parser {
public:
    explicit Parser(const QByteArray& data) : data_(data) {}

    bool run(RichTextDocument& out, QString& error);

private:
    bool fail(const QString& why) {
        error_ = why + QStringLiteral(" at byte ") + QString::number(pos_);
        return false;
    }
    GroupState& state() { return stack_.last(); }
    bool atEnd() const { return pos_ >= data_.size(); }
    char peek() const { return data_[pos_]; }

    bool controlWord();
    bool controlSymbol(char c);
    bool symbolChar(QChar c);
    bool openGroup();
    bool closeGroup();
    void plainByte(char c);
    bool applyWord(const QByteArray& word, std::optional<int> param);
    bool skipBinary(qint64 n);
    void startColourTable();
    void colourComponent(const QByteArray& word, int value);
    void unicodeCharacter(int value);
    bool codePageWord(const QByteArray& word, std::optional<int> param);
    void characterFormat(const QByteArray& word, std::optional<int> param);
    void textByte(char b);
    void textChar(QChar c);
    void flushBytes();
    void endParagraph();
    void colourEntryEnd(bool atClose = false);

    const QByteArray& data_;
    qsizetype pos_ = 0;
    QList<GroupState> stack_;
    QString error_;
    int codePage_ = 1252;
    QByteArray pendingBytes_;
    int skipChars_ = 0; // stand-in characters still to skip after a \uN
    bool expectDestination_ = false;
    bool starredGroup_ = false;
    RichTextDocument doc_;
    RichTextParagraph paragraph_;
    QList<QColor> colours_;
    int red_ = -1;
    int green_ = -1;
    int blue_ = -1;
    bool finished_ = false;
};

bool Parser::run(RichTextDocument& out, QString& error) {
    if (!RtfReader::LooksLikeRtf(data_)) {
        error = QStringLiteral("not an RTF document");
        return false;
    }
    bool ok = true;
    while (ok && !finished_ && !atEnd()) {
        const char c = data_[pos_];
        if (c == '{') {
            ok = openGroup();
        } else if (c == '}') {
            ok = closeGroup();
        } else if (stack_.isEmpty()) {
            ok = fail(QStringLiteral("text outside the document's group"));
        } else if (c == '\\') {
            ++pos_;
            if (atEnd()) {
                ok = fail(QStringLiteral("a backslash at the end of the data"));
                break;
            }
            const char n = peek();
            const bool letter = (n >= 'a' && n <= 'z') || (n >= 'A' && n <= 'Z');
            ok = letter ? controlWord() : controlSymbol(n);
        } else {
            ++pos_;
            plainByte(c);
        }
    }
    if (ok && !finished_) {
        ok = fail(QStringLiteral("the data ends inside ") + QString::number(stack_.size()) +
                  QStringLiteral(" open group(s)"));
    }
    if (!ok) {
        error = error_;
        return false;
    }
    if (!paragraph_.runs.isEmpty()) {
        doc_.paragraphs.append(paragraph_);
    }
    out = doc_;
    return true;
}

bool Parser::openGroup() {
    flushBytes();
    if (stack_.size() >= RtfReader::kMaxGroupDepth) {
        return fail(QStringLiteral("groups nested deeper than ") +
                    QString::number(RtfReader::kMaxGroupDepth));
    }
    stack_.append(stack_.isEmpty() ? GroupState{} : stack_.last());
    skipChars_ = 0;
    ++pos_;
    expectDestination_ = true;
    starredGroup_ = false;
    return true;
}

bool Parser::closeGroup() {
    flushBytes();
    if (stack_.isEmpty()) {
        return fail(QStringLiteral("a group closed that was never opened"));
    }
    if (stack_.last().dest == Dest::ColourTable) {
        colourEntryEnd(true); // a last entry without its ';'
    }
    stack_.removeLast();
    skipChars_ = 0;
    expectDestination_ = false;
    ++pos_;
    if (stack_.isEmpty()) {
        finished_ = true; // what follows the document's last brace is not read
    }
    return true;
}

// A byte of the data that is no control word, symbol or brace.
void Parser::plainByte(char c) {
    if (c == '\r' || c == '\n') {
        return;
    }
    expectDestination_ = false;
    if (skipChars_ > 0) {
        --skipChars_;
        return;
    }
    if (state().dest == Dest::ColourTable) {
        if (c == ';') {
            colourEntryEnd();
        }
        return;
    }
    if (state().dest == Dest::Text) {
        textByte(c);
    }
}

bool Parser::controlWord() {
    const qsizetype start = pos_;
    while (!atEnd() && ((peek() >= 'a' && peek() <= 'z') || (peek() >= 'A' && peek() <= 'Z'))) {
        ++pos_;
        if (pos_ - start > 32) {
            return fail(QStringLiteral("a control word longer than 32 letters"));
        }
    }
    const QByteArray word = data_.mid(start, pos_ - start);
    std::optional<int> param;
    if (!atEnd() && (peek() == '-' || (peek() >= '0' && peek() <= '9'))) {
        const bool negative = peek() == '-';
        if (negative) {
            ++pos_;
        }
        qint64 value = 0;
        int digits = 0;
        while (!atEnd() && peek() >= '0' && peek() <= '9') {
            if (++digits > 10) {
                return fail(QStringLiteral("a control word's number has too many digits"));
            }
            value = value * 10 + (peek() - '0');
            ++pos_;
        }
        if (digits == 0) {
            return fail(QStringLiteral("a '-' without digits after \\") +
                        QString::fromLatin1(word));
        }
        value = negative ? -value : value;
        if (value < INT32_MIN || value > INT32_MAX) {
            return fail(QStringLiteral("a control word's number out of range"));
        }
        param = static_cast<int>(value);
    }
    if (!atEnd() && peek() == ' ') {
        ++pos_; // the delimiting blank belongs to the control word
    }
    return applyWord(word, param);
}

bool Parser::controlSymbol(char c) {
    ++pos_;
    switch (c) {
    case '\'': {
        if (data_.size() - pos_ < 2) {
            return fail(QStringLiteral("\\' without two hex digits"));
        }
        const int high = hexValue(data_[pos_]);
        const int low = hexValue(data_[pos_ + 1]);
        if (high < 0 || low < 0) {
            return fail(QStringLiteral("\\' without two hex digits"));
        }
        const int value = high * 16 + low;
        pos_ += 2;
        expectDestination_ = false;
        if (skipChars_ > 0) {
            --skipChars_;
            return true;
        }
        if (state().dest == Dest::Text) {
            textByte(static_cast<char>(value));
        }
        return true;
    }
    case '*':
        starredGroup_ = true;
        return true;
    case '\\':
    case '{':
    case '}':
        return symbolChar(QLatin1Char(c));
    case '~':
        return symbolChar(QChar(0x00A0));
    case '_':
        return symbolChar(QChar(0x2011));
    case '-':
        return true; // an optional hyphen: not shown
    case '\r':
    case '\n':
        return applyWord("par", std::nullopt);
    default:
        expectDestination_ = false;
        return true; // \| \: and symbols this view has no use for
    }
}

bool Parser::symbolChar(QChar c) {
    expectDestination_ = false;
    if (skipChars_ > 0) {
        --skipChars_;
        return true;
    }
    if (state().dest == Dest::Text) {
        textChar(c);
    }
    return true;
}

bool Parser::applyWord(const QByteArray& word, std::optional<int> param) {
    GroupState& s = state();
    const bool firstInGroup = expectDestination_;
    expectDestination_ = false;
    if (word == "bin") {
        return skipBinary(param.value_or(0));
    }
    if (skipChars_ > 0 && !word.isEmpty()) {
        --skipChars_; // a control word standing in for a \uN's character
        return true;
    }
    if (s.dest == Dest::Skip) {
        return true;
    }
    if (firstInGroup && (starredGroup_ || isSkippedDestination(word))) {
        flushBytes();
        s.dest = Dest::Skip;
        return true;
    }
    if (word == "colortbl") {
        startColourTable();
    } else if (s.dest == Dest::ColourTable) {
        colourComponent(word, qBound(0, param.value_or(0), 255));
    } else if (word.isEmpty()) {
        flushBytes();
    } else if (word == "u") {
        unicodeCharacter(param.value_or(0));
    } else if (word == "uc") {
        s.uc = qBound(0, param.value_or(1), 16);
    } else if (codePageWord(word, param)) {
        return true;
    } else if (const QChar named = namedCharacter(word); !named.isNull()) {
        textChar(named);
    } else if (word == "par" || word == "row" || word == "sect" || word == "page") {
        endParagraph();
    } else {
        characterFormat(word, param);
    }
    return true;
}

// Binary data: its length is checked against what is left before anything moves.
bool Parser::skipBinary(qint64 n) {
    const qint64 left = data_.size() - pos_;
    if (n < 0 || n > left) {
        return fail(QStringLiteral("\\bin claims ") + QString::number(n) +
                    QStringLiteral(" bytes but only ") + QString::number(left) +
                    QStringLiteral(" remain"));
    }
    if (n > RtfReader::kMaxBinBytes) {
        return fail(QStringLiteral("\\bin of ") + QString::number(n) +
                    QStringLiteral(" bytes is larger than allowed"));
    }
    pos_ += n;
    return true;
}

void Parser::startColourTable() {
    flushBytes();
    state().dest = Dest::ColourTable;
    colours_.clear();
    red_ = green_ = blue_ = -1;
}

void Parser::colourComponent(const QByteArray& word, int value) {
    if (word == "red") {
        red_ = value;
    } else if (word == "green") {
        green_ = value;
    } else if (word == "blue") {
        blue_ = value;
    }
}

// \uN: a UTF-16 unit, negative for those above 32767; the next uc characters stand in for it.
void Parser::unicodeCharacter(int value) {
    flushBytes();
    if (value < 0) {
        value += 65536;
    }
    if (value >= 0 && value <= 0xFFFF) {
        textChar(QChar(static_cast<char16_t>(value)));
    }
    skipChars_ = state().uc;
}

// The words that say which code page the \'xx bytes that follow are in.
bool Parser::codePageWord(const QByteArray& word, std::optional<int> param) {
    if (word == "ansicpg") {
        flushBytes();
        codePage_ = param.value_or(1252);
    } else if (word == "ansi") {
        codePage_ = 1252;
    } else if (word == "mac") {
        codePage_ = 10000;
    } else if (word == "pc") {
        codePage_ = 437;
    } else if (word == "pca") {
        codePage_ = 850;
    } else {
        return false;
    }
    return true;
}

// Bold, italic, underline, size and colour of the text that follows in this group.
void Parser::characterFormat(const QByteArray& word, std::optional<int> param) {
    const bool on = param.value_or(1) != 0;
    RichTextRun& f = state().format;
    if (word == "b" || word == "i" || word == "ul" || word == "ulnone" || word == "plain" ||
        word == "fs" || word == "cf" || word.startsWith("ul")) {
        flushBytes();
    }
    if (word == "b") {
        f.bold = on;
    } else if (word == "i") {
        f.italic = on;
    } else if (word == "ul") {
        f.underline = on;
    } else if (word == "ulnone") {
        f.underline = false;
    } else if (word.startsWith("ul") && word != "ulc") {
        f.underline = on; // dotted, double, word ... underlines all show as one
    } else if (word == "plain") {
        f = RichTextRun{};
    } else if (word == "fs") {
        const int hp = param.value_or(24);
        f.halfPoints = (hp >= 2 && hp <= 3276) ? hp : 0;
    } else if (word == "cf") {
        const int index = param.value_or(0);
        f.colour = (index >= 0 && index < colours_.size()) ? colours_[index] : QColor();
    }
}

void Parser::textByte(char b) {
    if (static_cast<unsigned char>(b) < 0x20 && b != '\t') {
        return;
    }
    pendingBytes_.append(b);
}

// A control character other than a tab or a line end (\u0, \'07, ...) is no text: the writer
// leaves it out, and a NUL would end a C string there.
bool isDroppedControl(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r';
}

// A CR or LF given as text (\'0a, \u13) breaks the line as \line does.
QChar asLineBreak(QChar c) {
    return c == u'\r' || c == u'\n' ? QChar(0x2028) : c;
}

void Parser::textChar(QChar c) {
    flushBytes();
    if (isDroppedControl(c) || stack_.isEmpty() || state().dest != Dest::Text) {
        return;
    }
    RichTextRun run = state().format;
    run.text = QString(asLineBreak(c));
    paragraph_.append(run);
}

void Parser::flushBytes() {
    if (pendingBytes_.isEmpty()) {
        return;
    }
    RichTextRun run = state().format;
    run.text = TextCodec::DecodeCodePage(pendingBytes_, codePage_);
    run.text.removeIf(isDroppedControl);
    for (QChar& c : run.text) {
        c = asLineBreak(c);
    }
    pendingBytes_.clear();
    if (!run.text.isEmpty()) {
        paragraph_.append(run);
    }
}

void Parser::endParagraph() {
    flushBytes();
    doc_.paragraphs.append(paragraph_);
    paragraph_ = RichTextParagraph{};
}

void Parser::colourEntryEnd(bool atClose) {
    if (red_ < 0 && green_ < 0 && blue_ < 0) {
        if (!atClose && colours_.size() < RtfReader::kMaxColours) {
            colours_.append(QColor()); // "auto": the view's own colour
        }
        return;
    }
    if (colours_.size() < RtfReader::kMaxColours) {
        colours_.append(QColor(qMax(red_, 0), qMax(green_, 0), qMax(blue_, 0)));
    }
    red_ = green_ = blue_ = -1;
}

} // namespace

bool RtfReader::LooksLikeRtf(const QByteArray& data) {
    return data.startsWith("{\\rtf");
}

bool RtfReader::Read(const QByteArray& data, RichTextDocument& out, QString* error) {
    out = RichTextDocument{};
    Parser parser(data);
    QString why;
    if (!parser.run(out, why)) {
        out = RichTextDocument{};
        if (error != nullptr) {
            *error = why;
        }
        return false;
    }
    return true;
}
