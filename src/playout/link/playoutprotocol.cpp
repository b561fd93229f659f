#include "playout/link/playoutprotocol.h"

#include "core/debuglog.h"
#include "core/generalroutines.h"
#include "core/parameters.h"
#include "platform/system/appinfo.h"
#include "platform/system/appservices.h"
#include "playout/link/playoutdisplay.h"
#include "playout/link/playoutline.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include <optional>
#include <utility>

namespace {
const QString kIncompatibleTail =
    QStringLiteral(") is not compatible with this version of Kestova Orlix (v");

// The words the parser acts on, as verbs, objects or sub-commands. Each word of a line is
// looked up once and the handlers switch on the result.
enum class Word : quint8 {
    Other,
    Connected,
    Set,
    Script,
    Website,
    NumberPlayers,
    Log,
    Player,
    InstantCart,
    Ic,
    Mode,
    Status,
    CurrentItems,
    CurrentItem,
};

struct KnownWord {
    QLatin1String text; // upper case
    Word word;
};
constexpr KnownWord kWords[] = {
    {QLatin1String("+CONNECTED"), Word::Connected},
    {QLatin1String("SET"), Word::Set},
    {QLatin1String("SCRIPT"), Word::Script},
    {QLatin1String("WEBSITE"), Word::Website},
    {QLatin1String("NUMBERPLAYERS"), Word::NumberPlayers},
    {QLatin1String("LOG"), Word::Log},
    {QLatin1String("PLAYER"), Word::Player},
    {QLatin1String("INSTANTCART"), Word::InstantCart},
    {QLatin1String("IC"), Word::Ic},
    {QLatin1String("MODE"), Word::Mode},
    {QLatin1String("STATUS"), Word::Status},
    {QLatin1String("CURRENTITEMS"), Word::CurrentItems},
    {QLatin1String("CURRENTITEM"), Word::CurrentItem},
};
// The known words, each with its ASCII letters in lower case and a mask of the bit that tells
// the cases apart, so that a character matches when it equals the word's once that bit is set
// in both. A word is found by its length and its first and last characters (their low five
// bits, the same in either case): no two known words share a slot, so a word is compared with
// one known word at most.
constexpr qsizetype kLongestWord = 13;
struct FoldedWord {
    char16_t folded[kLongestWord] = {};
    char16_t caseBit[kLongestWord] = {};
    Word word = Word::Other;
};
constexpr std::size_t kSlotsPerLength = 32;
constexpr std::size_t slotOf(qsizetype n, char16_t first, char16_t last) {
    return std::size_t(n) * kSlotsPerLength + ((first * 3U + last) & (kSlotsPerLength - 1));
}
struct WordTable {
    FoldedWord words[std::size(kWords)] = {};
    qint8 slots[(kLongestWord + 1) * kSlotsPerLength] = {};
};
constexpr WordTable kTable = [] {
    WordTable t{};
    for (qint8& slot : t.slots) {
        slot = -1;
    }
    for (std::size_t w = 0; w < std::size(kWords); ++w) {
        const QLatin1String text = kWords[w].text;
        const qsizetype n = text.size();
        FoldedWord& f = t.words[w];
        f.word = kWords[w].word;
        for (qsizetype i = 0; i < n; ++i) {
            const char c = text.data()[i];
            const bool letter = c >= 'A' && c <= 'Z';
            f.caseBit[i] = letter ? u'\x20' : u'\0';
            f.folded[i] = char16_t(c) | f.caseBit[i];
        }
        qint8& slot = t.slots[slotOf(n, char16_t(text.data()[0]), char16_t(text.data()[n - 1]))];
        if (slot != -1) {
            throw "two known words share a slot"; // not a constant: the build stops here
        }
        slot = qint8(w);
    }
    return t;
}();

// Whether the characters at s from at on, as many as Bits holds, are the known word's there
// with ASCII letters in either case.
template <typename Bits> bool sameAt(const char16_t* s, const FoldedWord& known, qsizetype at) {
    Bits text = 0;
    Bits folded = 0;
    Bits caseBit = 0;
    std::memcpy(&text, s + at, sizeof text);
    std::memcpy(&folded, known.folded + at, sizeof folded);
    std::memcpy(&caseBit, known.caseBit + at, sizeof caseBit);
    return (text | caseBit) == folded;
}

// Whether the n characters at s are the known word's with ASCII letters in either case. Four
// characters (a 64-bit word) a step, the last step overlapping the one before it rather than
// reading past the end.
bool matches(const char16_t* s, qsizetype n, const FoldedWord& known) {
    if (n < 4) {
        // Two characters (32 bits) a step, the two steps of a word of three overlapping.
        return n == 1
                   ? (s[0] | known.caseBit[0]) == known.folded[0]
                   : sameAt<std::uint32_t>(s, known, 0) && sameAt<std::uint32_t>(s, known, n - 2);
    }
    for (qsizetype at = 0;; at += 4) {
        at = std::min(at, n - 4);
        if (!sameAt<std::uint64_t>(s, known, at)) {
            return false;
        }
        if (at + 4 == n) {
            return true;
        }
    }
}

// A word with a character beyond ASCII, through Qt's case folding, under which a few other
// letters match ASCII ones. Out of line, so that the usual words' path stays short.
Q_NEVER_INLINE Word lookUpFolded(QStringView text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            for (const KnownWord& known : kWords) {
                if (text.compare(known.text, Qt::CaseInsensitive) == 0) {
                    return known.word;
                }
            }
            break;
        }
    }
    return Word::Other;
}

// Words compare without regard to case: a word is compared with the known one of its slot with
// ASCII letters folded, and when that fails it may still be a known word in other letters.
Word lookUp(QStringView text) {
    const qsizetype n = text.size();
    const char16_t* const s = text.utf16();
    if (n >= 1 && n <= kLongestWord) {
        const qint8 slot = kTable.slots[slotOf(n, s[0], s[n - 1])];
        if (slot >= 0 && matches(s, n, kTable.words[slot])) {
            return kTable.words[slot].word;
        }
    }
    return lookUpFolded(text);
}

// A field's number as ValOf reads it, with plain digits (the usual form) read here. The
// helpers hand their results back in plain integers and flags, not in std::optional, which
// the compiler packs into the return register through the stack (a stall in the profiles).
constexpr qint32 kNotPlain = -1;

// The field's value when it is one to nine plain digits, else kNotPlain.
qint32 plainDigits(QStringView field) {
    if (field.isEmpty() || field.size() > 9) {
        return kNotPlain;
    }
    qint32 value = 0;
    for (const QChar c : field) {
        const char16_t u = c.unicode();
        if (u < u'0' || u > u'9') {
            return kNotPlain;
        }
        value = value * 10 + (u - u'0');
    }
    return value;
}

double numberOf(QStringView field) {
    const qint32 digits = plainDigits(field);
    return digits != kNotPlain ? double(digits) : ValOf(field);
}

// ToInteger16(ValOf(field)) and ToInteger32(ValOf(field)), without the double for digits:
// false when the number does not fit.
bool integer16Of(QStringView field, qint16& value) {
    const qint32 digits = plainDigits(field);
    if (digits != kNotPlain) {
        value = qint16(digits);
        return digits <= 32767;
    }
    const std::optional<qint16> read = ToInteger16(ValOf(field));
    value = read.value_or(0);
    return read.has_value();
}

bool integer32Of(QStringView field, qint32& value) {
    const qint32 digits = plainDigits(field);
    if (digits != kNotPlain) {
        value = digits;
        return true;
    }
    const std::optional<qint32> read = ToInteger32(ValOf(field));
    value = read.value_or(0);
    return read.has_value();
}

QString keyWord(const QString& keyWords, const QString& name) {
    QString source = keyWords;
    QString key = name;
    return GetParameterByRef(source, key, QStringLiteral("="), true, QStringLiteral(" "));
}

bool isAscii(QStringView text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            return false;
        }
    }
    return true;
}

// ASCII text and an ASCII name of its length the same with letters in either case, as Qt's
// case-insensitive compare has them.
bool sameAsciiWord(QStringView text, QLatin1String name) {
    const auto upper = [](char16_t c) {
        return c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (upper(text.utf16()[i]) != upper(char16_t(name.data()[i]))) {
            return false;
        }
    }
    return true;
}

// keyWord on ASCII text without copies: the value after " name=" (the text read as if it
// began with a blank), up to the next blank, or between double quotes when it starts with
// one (to the end when the closing one is missing). Empty when the name is not there.
QStringView asciiKeyWord(QStringView keyWords, QLatin1String name) {
    const qsizetype n = keyWords.size();
    const qsizetype width = name.size();
    // A name is followed by "=": only the places before one are tried, in order.
    for (qsizetype equals = keyWords.indexOf(QLatin1Char('='), width); equals >= 0;
         equals = keyWords.indexOf(QLatin1Char('='), equals + 1)) {
        const qsizetype at = equals - width;
        // A name starts the text or follows a blank.
        if (at > 0 && keyWords.at(at - 1) != QLatin1Char(' ')) {
            continue;
        }
        if (!sameAsciiWord(keyWords.sliced(at, width), name)) {
            continue;
        }
        const qsizetype value = at + width + 1;
        if (value < n && keyWords.at(value) == QLatin1Char('"')) {
            const qsizetype close = keyWords.indexOf(QLatin1Char('"'), value + 1);
            return close < 0 ? keyWords.sliced(value + 1)
                             : keyWords.sliced(value + 1, close - value - 1);
        }
        const qsizetype blank = keyWords.indexOf(QLatin1Char(' '), value);
        return blank < 0 ? keyWords.sliced(value) : keyWords.sliced(value, blank - value);
    }
    return {};
}

// The log scroller's text of a current-items line: the title, then "-" and the artist when
// there is one. A title alone is a view into the line; both are joined in joined.
QStringView currentItemText(QStringView keyWords, QString& joined) {
    if (isAscii(keyWords)) {
        // DecodeText hands a text back as it is, so the values are shown as they stand.
        const QStringView artist = asciiKeyWord(keyWords, QLatin1String("AName1"));
        const QStringView title = asciiKeyWord(keyWords, QLatin1String("ITitle"));
        if (artist.isEmpty()) {
            return title;
        }
        joined.resize(0); // keeps the buffer of the last one, where clear() would drop it
        joined.append(title).append(QLatin1Char('-')).append(artist);
        return joined;
    }
    const QString source = keyWords.toString();
    const QString artist = keyWord(source, QStringLiteral("AName1"));
    const QString title = keyWord(source, QStringLiteral("ITitle"));
    joined = artist.isEmpty() ? title : title + QLatin1Char('-') + artist;
    return joined;
}
} // namespace

QString PlayoutProtocol::ProgramVersionText() {
    return QStringLiteral("%1.%2.%3")
        .arg(AppInfo::Major())
        .arg(AppInfo::Minor())
        .arg(AppInfo::Revision());
}

QString PlayoutProtocol::HandshakeAnswer() {
    return QStringLiteral("+Connected AppName=\"%1\" Version=\"%2\"")
        .arg(AppInfo::EXEName(), ProgramVersionText());
}

bool PlayoutProtocol::ReadVersion(const QString& version, float& minorBuild) {
    const QStringList parts = version.split(QLatin1Char('.'));
    if (parts.size() < 3) {
        return false;
    }
    if (ValOf(parts.at(0)) < 3) {
        return false;
    }
    const QString number =
        parts.at(1) + QLatin1Char('.') + AppServices::PadLeft(parts.at(2), 3, QStringLiteral("0"));
    const auto v = static_cast<float>(ValOf(number));
    if (!std::isfinite(v)) {
        return false;
    }
    minorBuild = v;
    return true;
}

PlayoutProtocol::PlayoutProtocol(PlayoutDisplay& display, PlayoutLinkActions& link)
    : display_(display), link_(link), services_(AppServices::Instance()) {}

void PlayoutProtocol::ProcessMessage(const QString& line) {
    if (services_.DebugLevel() != 0) { // spares the copy when nothing is logged
        DebugLog(QStringLiteral("ProcessMessage ") + line, -1, 0);
    }
    const PlayoutLine p = PlayoutLine::Split(line);
    if (!p.hasBlank) {
        DebugLog(QStringLiteral("Failed - no Action Message (i.e. Play/Cue/Set/Flash etc.)"), -1,
                 0);
    }
    switch (lookUp(p.verb)) {
    case Word::Connected:
        handshake(line, p.object.toString(), p.parameterText.toString());
        return;
    case Word::Set:
        set(p);
        return;
    case Word::Script:
        link_.ScriptArrived(AppServices::DecodeText(p.rest.toString()));
        return;
    case Word::Website:
        link_.WebsiteArrived(p.rest.toString());
        return;
    default:
        return;
    }
}

void PlayoutProtocol::set(const PlayoutLine& p) {
    switch (lookUp(p.object)) {
    case Word::NumberPlayers:
        setNumberPlayers(p);
        return;
    case Word::Log:
        setLog(p);
        return;
    case Word::Player:
        setPlayer(p);
        return;
    case Word::InstantCart:
    case Word::Ic:
        setInstantCart(p);
        return;
    default:
        return;
    }
}

void PlayoutProtocol::setNumberPlayers(const PlayoutLine& p) {
    if (!p.HasField(0)) {
        return;
    }
    qint16 count = 0;
    if (!integer16Of(p.fields.at(0), count)) {
        DebugLog(QStringLiteral("Player count out of range - line ignored"), 5);
        return;
    }
    display_.SetNumberPlayers(count);
    requestPlayerState();
}

void PlayoutProtocol::setLog(const PlayoutLine& p) {
    if (!p.HasField(0)) {
        return;
    }
    switch (lookUp(p.fields.at(0))) {
    case Word::Mode: {
        if (!p.HasField(2)) {
            return;
        }
        const bool automatic = numberOf(p.fields.at(1)) != 0;
        const bool goAllowed = numberOf(p.fields.at(2)) != 0;
        // DecodeText hands a text back as it is: the field is shown as it stands.
        std::optional<QStringView> text;
        if (p.HasField(3)) {
            text = p.fields.at(3);
        }
        display_.ShowLogMode(automatic, goAllowed, text);
        return;
    }
    case Word::Script:
        // Commas inside the script survive: the fields after the first, joined again.
        link_.ScriptArrived(AppServices::DecodeText(p.FieldsFrom(1).toString()));
        return;
    case Word::Status:
        if (p.HasField(1)) {
            display_.ShowLogStatus(!TrimBlanks(p.fields.at(1)).isEmpty());
        }
        return;
    case Word::CurrentItems:
        if (p.HasField(1)) {
            // The joined text's buffer is taken for the call: a nested line joins in its own.
            QString joined = std::exchange(joinedText_, QString());
            display_.ShowLogCurrentItem(currentItemText(p.fields.at(1), joined));
            joinedText_ = std::move(joined);
        }
        return;
    default:
        return;
    }
}

void PlayoutProtocol::setPlayer(const PlayoutLine& p) {
    if (!p.HasField(2) || lookUp(p.fields.at(0)) != Word::Status) {
        return;
    }
    qint16 player = 0;
    qint32 status = 0;
    const bool playerRead = integer16Of(p.fields.at(1), player);
    const bool statusRead = integer32Of(p.fields.at(2), status);
    if (!playerRead || !statusRead) {
        DebugLog(QStringLiteral("Player status out of range - line ignored"), 5);
        return;
    }
    // DecodeText hands a text back as it is: the field is shown as it stands.
    display_.ShowPlayerStatus(player, status, p.HasField(3) ? p.fields.at(3) : QStringView());
}

void PlayoutProtocol::setInstantCart(const PlayoutLine& p) {
    // Either word with either version; the sub-command follows the version.
    const Word wanted = playoutVersion_ >= 5 ? Word::CurrentItem : Word::Status;
    if (!p.HasField(2) || lookUp(p.fields.at(0)) != wanted) {
        return;
    }
    qint16 cart = 0;
    if (!integer16Of(p.fields.at(1), cart)) {
        DebugLog(QStringLiteral("Instant cart out of range - line ignored"), 5);
        return;
    }
    display_.ShowInstantCartState(cart, p.fields.at(2));
}

void PlayoutProtocol::requestPlayerState() {
    // A playout system sending counts faster than it reads would otherwise have the presses
    // queue behind megabytes of the same two requests.
    link_.SendStateRequest(QStringLiteral("GET PLAYER STATUS,0"));
    link_.SendStateRequest(playoutVersion_ >= 5 ? QStringLiteral("GET IC CURRENTITEM,0")
                                                : QStringLiteral("GET INSTANTCART STATUS,0"));
}

void PlayoutProtocol::handshake(const QString& line, const QString& object,
                                const QString& parameterText) {
    QString source = line;
    QString appNameKey = QStringLiteral("AppName");
    const QString appName =
        GetParameterByRef(source, appNameKey, QStringLiteral("="), true, QStringLiteral(" "))
            .toUpper();
    const bool playout = appName == QLatin1String("VORELA3");
    const bool network = appName == QLatin1String("VORELANET3");
    if (!playout && !network) {
        rejectHandshake(QStringLiteral("The application running on the computer you have "
                                       "connected to (") +
                        TrimBlanks(QString(object + QLatin1Char(' ') + parameterText)).toString());
        return;
    }

    QString versionKey = QStringLiteral("Version");
    const QString version =
        GetParameterByRef(source, versionKey, QStringLiteral("="), true, QStringLiteral(" "));
    const QString opening = playout ? QStringLiteral("The version of Vorela running on the "
                                                     "computer you have connected to (")
                                    : QStringLiteral("The version of Vorela Network running on "
                                                     "the computer you have connected to (");
    if (TrimBlanks(version).isEmpty()) {
        rejectHandshake(opening + QStringLiteral("<Unknown> ") + parameterText);
        return;
    }
    float v = 0;
    const bool readable = ReadVersion(version, v);
    if (!readable || (playout && v < 0.009F) || (network && v < 0.0F)) {
        rejectHandshake(opening + parameterText);
        return;
    }

    playoutVersion_ = v;
    link_.HandshakeAccepted();
    link_.SendMessageToComputer(HandshakeAnswer());
    link_.SendMessageToComputer(QStringLiteral("REQUEST PLAYEREVENTS START"));
    link_.SendMessageToComputer(QStringLiteral("GET NUMBERPLAYERS"));
    link_.SendMessageToComputer(QStringLiteral("GET LOG STATUS"));
    link_.SendMessageToComputer(QStringLiteral("GET LOG MODE"));
    if (playout) {
        link_.SendMessageToComputer(QStringLiteral("REQUEST LOGITEMS 2"));
    }
}

void PlayoutProtocol::rejectHandshake(const QString& text) {
    link_.SetbLinkWanted(false);
    link_.DisconnectFromVorela();
    link_.HandshakeRejected(text + kIncompatibleTail + ProgramVersionText() + QLatin1Char(')'));
}
