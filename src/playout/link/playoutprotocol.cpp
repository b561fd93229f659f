#include "playout/link/playoutprotocol.h"

#include "core/debuglog.h"
#include "core/generalroutines.h"
#include "core/parameters.h"
#include "platform/system/appinfo.h"
#include "platform/system/appservices.h"
#include "platform/ui/messagebox.h"
#include "playout/link/playoutdisplay.h"
#include "playout/link/playoutline.h"

#include <cmath>

namespace {
const QString kIncompatibleTail =
    QStringLiteral(") is not compatible with this version of Kestova Orlix (v");

bool isWord(QStringView text, QLatin1String word) {
    return text.compare(word, Qt::CaseInsensitive) == 0;
}

QString keyWord(const QString& keyWords, const QString& name) {
    QString source = keyWords;
    QString key = name;
    return GetParameterByRef(source, key, QStringLiteral("="), true, QStringLiteral(" "));
}

// The log scroller's text of a current-items line: the title, then "-" and the artist when
// there is one.
QString currentItemText(QStringView keyWords) {
    const QString source = keyWords.toString();
    const QString artist = keyWord(source, QStringLiteral("AName1"));
    const QString title = keyWord(source, QStringLiteral("ITitle"));
    return artist.isEmpty() ? title : title + QLatin1Char('-') + artist;
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

void PlayoutProtocol::ProcessMessage(const QString& line) {
    if (AppServices::Instance().DebugLevel() != 0) { // spares the copy when nothing is logged
        DebugLog(QStringLiteral("ProcessMessage ") + line, -1, 0);
    }
    const PlayoutLine p = PlayoutLine::Split(line);
    if (!p.hasBlank) {
        DebugLog(QStringLiteral("Failed - no Action Message (i.e. Play/Cue/Set/Flash etc.)"), -1,
                 0);
    }
    // Verbs, objects and sub-commands compare without regard to case.
    if (isWord(p.verb, QLatin1String("+CONNECTED"))) {
        handshake(line, p.object.toString(), p.parameterText.toString());
    } else if (isWord(p.verb, QLatin1String("SET"))) {
        set(p);
    } else if (isWord(p.verb, QLatin1String("SCRIPT"))) {
        link_.ScriptArrived(AppServices::DecodeText(p.rest.toString()));
    } else if (isWord(p.verb, QLatin1String("WEBSITE"))) {
        link_.WebsiteArrived(p.rest.toString());
    }
}

void PlayoutProtocol::set(const PlayoutLine& p) {
    const QStringView object = p.object;
    if (isWord(object, QLatin1String("NUMBERPLAYERS"))) {
        setNumberPlayers(p);
    } else if (isWord(object, QLatin1String("LOG"))) {
        setLog(p);
    } else if (isWord(object, QLatin1String("PLAYER"))) {
        setPlayer(p);
    } else if (isWord(object, QLatin1String("INSTANTCART")) ||
               isWord(object, QLatin1String("IC"))) {
        setInstantCart(p);
    }
}

void PlayoutProtocol::setNumberPlayers(const PlayoutLine& p) {
    if (!p.HasField(0)) {
        return;
    }
    const auto count = ToInteger16(ValOf(p.fields.at(0)));
    if (!count) {
        DebugLog(QStringLiteral("Player count out of range - line ignored"), 5);
        return;
    }
    display_.SetNumberPlayers(*count);
    requestPlayerState();
}

void PlayoutProtocol::setLog(const PlayoutLine& p) {
    if (!p.HasField(0)) {
        return;
    }
    const QStringView sub = p.fields.at(0);
    if (isWord(sub, QLatin1String("MODE"))) {
        if (!p.HasField(2)) {
            return;
        }
        const bool automatic = ValOf(p.fields.at(1)) != 0;
        const bool goAllowed = ValOf(p.fields.at(2)) != 0;
        std::optional<QString> text;
        if (p.HasField(3)) {
            text = AppServices::DecodeText(p.fields.at(3).toString());
        }
        display_.ShowLogMode(automatic, goAllowed, text);
    } else if (isWord(sub, QLatin1String("SCRIPT"))) {
        // Commas inside the script survive: the fields after the first, joined again.
        link_.ScriptArrived(AppServices::DecodeText(p.FieldsFrom(1).toString()));
    } else if (isWord(sub, QLatin1String("STATUS"))) {
        if (p.HasField(1)) {
            display_.ShowLogStatus(!TrimBlanks(p.fields.at(1)).isEmpty());
        }
    } else if (isWord(sub, QLatin1String("CURRENTITEMS"))) {
        if (p.HasField(1)) {
            display_.ShowLogCurrentItem(currentItemText(p.fields.at(1)));
        }
    }
}

void PlayoutProtocol::setPlayer(const PlayoutLine& p) {
    if (!p.HasField(2) || !isWord(p.fields.at(0), QLatin1String("STATUS"))) {
        return;
    }
    const auto player = ToInteger16(ValOf(p.fields.at(1)));
    const auto status = ToInteger32(ValOf(p.fields.at(2)));
    if (!player || !status) {
        DebugLog(QStringLiteral("Player status out of range - line ignored"), 5);
        return;
    }
    const QString text = p.HasField(3) ? p.fields.at(3).toString() : QString();
    display_.ShowPlayerStatus(*player, *status, AppServices::DecodeText(text));
}

void PlayoutProtocol::setInstantCart(const PlayoutLine& p) {
    // Either word with either version; the sub-command follows the version.
    const QLatin1String wanted =
        playoutVersion_ >= 5 ? QLatin1String("CURRENTITEM") : QLatin1String("STATUS");
    if (!p.HasField(2) || !isWord(p.fields.at(0), wanted)) {
        return;
    }
    const auto cart = ToInteger16(ValOf(p.fields.at(1)));
    if (!cart) {
        DebugLog(QStringLiteral("Instant cart out of range - line ignored"), 5);
        return;
    }
    display_.ShowInstantCartState(*cart, p.fields.at(2).toString());
}

void PlayoutProtocol::requestPlayerState() {
    link_.SendMessageToComputer(QStringLiteral("GET PLAYER STATUS,0"));
    link_.SendMessageToComputer(playoutVersion_ >= 5 ? QStringLiteral("GET IC CURRENTITEM,0")
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
    MsgBox(text + kIncompatibleTail + ProgramVersionText() + QLatin1Char(')'),
           MsgIcon::Exclamation);
}
