#include "playout/link/playoutprotocol.h"

#include "core/debuglog.h"
#include "core/generalroutines.h"
#include "core/parameters.h"
#include "platform/system/appinfo.h"
#include "platform/system/appservices.h"
#include "platform/ui/messagebox.h"
#include "playout/link/playouthost.h"
#include "playout/link/playoutline.h"

#include <cmath>

namespace {
const QString kIncompatibleTail =
    QStringLiteral(") is not compatible with this version of Kestova Orlix (v");

bool isWord(QStringView text, QLatin1String word) {
    return text.compare(word, Qt::CaseInsensitive) == 0;
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
        return;
    }
    if (isWord(p.verb, QLatin1String("SCRIPT"))) {
        host_.ShowScript(AppServices::DecodeText(p.rest.toString()), QString(), true);
        return;
    }
    if (isWord(p.verb, QLatin1String("WEBSITE"))) {
        host_.optWebSetValue(1);
        host_.ctlWebsiteShowWebAddress(p.rest.toString());
        return;
    }
    if (!isWord(p.verb, QLatin1String("SET"))) {
        return;
    }

    const QStringView object = p.object;
    if (isWord(object, QLatin1String("NUMBERPLAYERS"))) {
        if (!p.HasField(0)) {
            return;
        }
        const auto count = ToInteger16(ValOf(p.fields.at(0)));
        if (!count) {
            DebugLog(QStringLiteral("Player count out of range - line ignored"), 5);
            return;
        }
        host_.SetNumberPlayers(*count);
        requestPlayerState();
        return;
    }
    if (isWord(object, QLatin1String("LOG"))) {
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
            host_.ShowLogMode(automatic, goAllowed, text);
        } else if (isWord(sub, QLatin1String("SCRIPT"))) {
            // Commas inside the script survive: the fields after the first, joined again.
            host_.ShowScript(AppServices::DecodeText(p.FieldsFrom(1).toString()), QString(), true);
        } else if (isWord(sub, QLatin1String("STATUS"))) {
            if (!p.HasField(1)) {
                return;
            }
            host_.ShowLogStatus(!TrimBlanks(p.fields.at(1)).isEmpty());
        } else if (isWord(sub, QLatin1String("CURRENTITEMS"))) {
            if (!p.HasField(1)) {
                return;
            }
            QString source = p.fields.at(1).toString();
            QString artistName = QStringLiteral("AName1");
            const QString artist = GetParameterByRef(source, artistName, QStringLiteral("="), true,
                                                     QStringLiteral(" "));
            source = p.fields.at(1).toString();
            QString titleName = QStringLiteral("ITitle");
            const QString title = GetParameterByRef(source, titleName, QStringLiteral("="), true,
                                                    QStringLiteral(" "));
            host_.ShowLogCurrentItem(artist.isEmpty() ? title : title + QLatin1Char('-') + artist);
        }
        return;
    }
    if (isWord(object, QLatin1String("PLAYER"))) {
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
        host_.ShowPlayerStatus(*player, *status, AppServices::DecodeText(text));
        return;
    }
    if (isWord(object, QLatin1String("INSTANTCART")) || isWord(object, QLatin1String("IC"))) {
        const QLatin1String wanted =
            host_.PlayoutVersion() >= 5 ? QLatin1String("CURRENTITEM") : QLatin1String("STATUS");
        if (!p.HasField(2) || !isWord(p.fields.at(0), wanted)) {
            return;
        }
        const auto cart = ToInteger16(ValOf(p.fields.at(1)));
        if (!cart) {
            DebugLog(QStringLiteral("Instant cart out of range - line ignored"), 5);
            return;
        }
        host_.ShowInstantCartState(*cart, p.fields.at(2).toString());
    }
}

void PlayoutProtocol::requestPlayerState() {
    link_.SendMessageToComputer(QStringLiteral("GET PLAYER STATUS,0"));
    link_.SendMessageToComputer(host_.PlayoutVersion() >= 5
                                    ? QStringLiteral("GET IC CURRENTITEM,0")
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

    host_.SetPlayoutVersion(v);
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
    host_.SetbLinkWanted(false);
    link_.DisconnectFromVorela();
    MsgBox(text + kIncompatibleTail + ProgramVersionText() + QLatin1Char(')'),
           MsgIcon::Exclamation);
}
