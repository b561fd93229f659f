// Transcripts of the playout protocol on a fake socket: the test speaks as the playout system,
// and checks exactly what the client sends back and what it asks the main window to show.

#include "playoutdoubles.h"

#include "core/debuglog.h"
#include "core/generalroutines.h"
#include "core/parameters.h"
#include "platform/system/appinfo.h"
#include "platform/system/appservices.h"
#include "playout/link/playoutlink.h"
#include "playout/link/playoutprotocol.h"
#include "support/scriptedmessageboxes.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

namespace {
QString versionText() {
    return QStringLiteral("%1.%2.%3")
        .arg(AppInfo::Major())
        .arg(AppInfo::Minor())
        .arg(AppInfo::Revision());
}

QString answer() {
    return QStringLiteral("+Connected AppName=\"orlix\" Version=\"%1\"").arg(versionText());
}

QStringList requests(bool logItems) {
    QStringList lines = {answer(), "REQUEST PLAYEREVENTS START", "GET NUMBERPLAYERS",
                         "GET LOG STATUS", "GET LOG MODE"};
    if (logItems) {
        lines << "REQUEST LOGITEMS 2";
    }
    return lines;
}

class PlayoutTranscript : public ::testing::Test {
protected:
    void SetUp() override {
        auto s = std::make_unique<FakeSocketControl>();
        socket = s.get();
        link = window.MakeLink(std::move(s));
        link->SetTurnBudgetNs(RecordingPlayoutWindow::kUnsplitTurnNs);
        link->SetbLinkWanted(true);
        link->ConnectToVorela();
        socket->Accept();
        window.TakeCalls();
        socket->TakeSentLines();
    }

    void Say(const QString& line) { socket->SayLine(line); }
    QStringList Sent() { return socket->TakeSentLines(); }
    QStringList Calls() { return window.TakeCalls(); }
    // A playout system of that version is accepted; what the handshake sent is forgotten.
    void Accept(const QString& version) {
        Say(QStringLiteral("+CONNECTED AppName=VORELA3 Version=") + version);
        ASSERT_EQ(Sent(), requests(true));
        Calls();
    }
    void ExpectLinkDownAndNotWanted() {
        EXPECT_FALSE(link->bLinkWanted());
        EXPECT_EQ(socket->State(), SocketControl::StateClosed);
        EXPECT_TRUE(window.mnuConnectEnabled_);
        EXPECT_FALSE(window.mnuDisconnectEnabled_);
        EXPECT_TRUE(window.notConnectedShown_);
        EXPECT_EQ(link->State(), PlayoutLink::LinkState::Down);
    }

    RecordingPlayoutWindow window;
    FakeSocketControl* socket = nullptr;
    std::unique_ptr<PlayoutLink> link;
};
} // namespace

TEST_F(PlayoutTranscript, AnswersAnAcceptedHandshakeWithItsNameVersionAndRequestsInOrder) {
    Say("+CONNECTED AppName=VORELA3 Version=3.0.9");
    EXPECT_EQ(Sent(), requests(true));
    EXPECT_EQ(Sent(), QStringList());
    EXPECT_EQ(link->PlayoutVersion(), 0.009F);
    EXPECT_EQ(link->State(), PlayoutLink::LinkState::Up);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_TRUE(link->bLinkWanted());
}

TEST_F(PlayoutTranscript, AcceptsOrRejectsThePlayoutSystemByNameAndVersion) {
    struct Case {
        QString line;
        bool accepted;
        float version; // when accepted
        bool logItems; // when accepted
        QString shown; // the text in brackets when rejected
    };
    const QString playoutBox =
        "The version of Vorela running on the computer you have connected to (";
    const QString networkBox =
        "The version of Vorela Network running on the computer you have connected to (";
    const QString otherBox = "The application running on the computer you have connected to (";
    const QList<Case> cases = {
        {"+CONNECTED AppName=VORELA3 Version=3.0.9", true, 0.009F, true, ""},
        {"+CONNECTED AppName=VORELA3 Version=3.0.8", false, 0, false, playoutBox + "Version=3.0.8"},
        {"+CONNECTED AppName=VORELA3 Version=3.1.0", true, 1.0F, true, ""},
        {"+CONNECTED AppName=VORELA3 Version=3.5.120", true, 5.12F, true, ""},
        {"+CONNECTED AppName=VORELA3 Version=3.0", false, 0, false, playoutBox + "Version=3.0"},
        {"+CONNECTED AppName=VORELA3 Version=2.9.999", false, 0, false,
         playoutBox + "Version=2.9.999"},
        {"+CONNECTED AppName=VORELA3 Version=4.0.0", false, 0, false, playoutBox + "Version=4.0.0"},
        {"+CONNECTED AppName=VORELA3 Version=4.0.9", true, 0.009F, true, ""},
        {"+connected appname=vorela3 version=\"3.2.1\"", true, 2.001F, true, ""},
        {"+CONNECTED Version=\"3.0.9\" AppName=\"Vorela3\"", true, 0.009F, true, ""},
        {"+CONNECTED AppName=VORELANET3 Version=3.0.0", true, 0.0F, false, ""},
        {"+CONNECTED AppName=VORELANET3 Version=3.0", false, 0, false, networkBox + "Version=3.0"},
        {"+CONNECTED AppName=VORELA3", false, 0, false, playoutBox + "<Unknown> "},
        {"+CONNECTED AppName=VORELA3 Build=7", false, 0, false, playoutBox + "<Unknown> Build=7"},
        {"+CONNECTED AppName=OTHERAPP Version=3.0.9", false, 0, false,
         otherBox + "AppName=OTHERAPP Version=3.0.9"},
        {"+CONNECTED", false, 0, false, otherBox},
        {"+CONNECTED AppName=VORELA3 Version=3.1e99.0", false, 0, false,
         playoutBox + "Version=3.1e99.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        TearDown();
        TestMessageBoxes().clear();
        SetUp();
        Say(c.line);
        // A rejection's box comes after the line's handling.
        QCoreApplication::sendPostedEvents();
        if (c.accepted) {
            EXPECT_EQ(Sent(), requests(c.logItems));
            EXPECT_EQ(link->PlayoutVersion(), c.version);
            EXPECT_TRUE(TestMessageBoxes().shown().empty());
            EXPECT_TRUE(link->bLinkWanted());
        } else {
            EXPECT_EQ(Sent(), QStringList());
            ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
            const MessageBoxRequest& box = TestMessageBoxes().shown().front();
            EXPECT_EQ(box.text, c.shown +
                                    ") is not compatible with this version of Kestova Orlix (v" +
                                    versionText() + ")");
            EXPECT_EQ(box.icon, MsgIcon::Exclamation);
            EXPECT_EQ(box.caption, AppInfo::Title());
            EXPECT_EQ(link->PlayoutVersion(), 0.0F);
            ExpectLinkDownAndNotWanted();
        }
    }
}

TEST_F(PlayoutTranscript, HandlesASecondHandshakeInFull) {
    Accept("3.5.0");
    Say("+CONNECTED AppName=VORELA3 Version=3.4.9");
    EXPECT_EQ(Sent(), requests(true));
    EXPECT_EQ(link->PlayoutVersion(), 4.009F);
}

TEST_F(PlayoutTranscript, LinesAfterARejectionAreHandledButSendNothing) {
    socket->Say("+CONNECTED AppName=VORELA3 Version=3.0.1\r\nSET NUMBERPLAYERS 6\r\n");
    EXPECT_EQ(Sent(), QStringList());
    EXPECT_EQ(Calls(), QStringList({"SetNumberPlayers(6)"}));
    ExpectLinkDownAndNotWanted();
}

TEST_F(PlayoutTranscript, AnswersThePlayerCountWithTheRequestsOfTheVersion) {
    Say("SET NUMBERPLAYERS 4");
    EXPECT_EQ(Calls(), QStringList{"SetNumberPlayers(4)"});
    EXPECT_EQ(Sent(), QStringList({"GET PLAYER STATUS,0", "GET INSTANTCART STATUS,0"}));

    Accept("3.4.9");
    Say("set numberplayers 2");
    EXPECT_EQ(Sent(), QStringList({"GET PLAYER STATUS,0", "GET INSTANTCART STATUS,0"}));

    Accept("3.5.0");
    Say("SET NUMBERPLAYERS 12,9");
    EXPECT_EQ(Calls(), QStringList{"SetNumberPlayers(12)"});
    EXPECT_EQ(Sent(), QStringList({"GET PLAYER STATUS,0", "GET IC CURRENTITEM,0"}));
}

TEST_F(PlayoutTranscript, CallsTheDisplayForEveryStatusLineThatHasTheFieldsItNeeds) {
    struct Case {
        QString line;
        QStringList calls;
    };
    const QList<Case> cases = {
        {"SET NUMBERPLAYERS 0", {"SetNumberPlayers(0)"}},
        {"SET NUMBERPLAYERS abc", {"SetNumberPlayers(0)"}},
        {"SET NUMBERPLAYERS 2.5", {"SetNumberPlayers(2)"}},
        {"SET NUMBERPLAYERS", {}},
        {"SET NUMBERPLAYERS 40000", {}},
        {"SET PLAYER STATUS,1,5,Morning, Tune", {"ShowPlayerStatus(1,5,\"Morning\")"}},
        {"set player status,2,14", {"ShowPlayerStatus(2,14,\"\")"}},
        {"SET PLAYER STATUS,x,y,z", {"ShowPlayerStatus(0,0,\"z\")"}},
        {"SET PLAYER STATUS,1", {}},
        {"SET PLAYER CUE,1,5,Tune", {}},
        {"SET PLAYER STATUS,32768,5,Tune", {}},
        {"SET PLAYER STATUS,1,2147483648,Tune", {}},
        {"SET PLAYER", {}},
        {"SET LOG MODE,1,0", {"ShowLogMode(1,0,-)"}},
        {"set log mode,1,0", {"ShowLogMode(1,0,-)"}},
        {"SET LOG MODE,0,1,Ignored,Too", {"ShowLogMode(0,1,\"Ignored\")"}},
        {"SET LOG MODE,0,0,", {"ShowLogMode(0,0,\"\")"}},
        {"SET LOG MODE,0.5,0", {"ShowLogMode(1,0,-)"}},
        {"SET LOG MODE,1", {}},
        {"SET LOG SCRIPT,Hello, listeners,, goodbye",
         {"ShowScript(\"Hello, listeners,, goodbye\",\"\",True)"}},
        {"SET LOG SCRIPT", {"ShowScript(\"\",\"\",True)"}},
        {"SET LOG STATUS,Today", {"ShowLogStatus(1)"}},
        {"SET LOG STATUS,   ", {"ShowLogStatus(0)"}},
        {"SET LOG STATUS,", {"ShowLogStatus(0)"}},
        {"SET LOG STATUS", {}},
        {"SET LOG CURRENTITEMS,AName1=Band ITitle=Tune", {"ShowLogCurrentItem(\"Tune-Band\")"}},
        {"SET LOG CURRENTITEMS,ITitle=\"A Tune\" AName1=\"The Band\"",
         {"ShowLogCurrentItem(\"A Tune-The Band\")"}},
        {"SET LOG CURRENTITEMS,ITitle=Tune", {"ShowLogCurrentItem(\"Tune\")"}},
        {"SET LOG CURRENTITEMS", {}},
        {"SET LOG OTHER,1,2", {}},
        {"SET LOG", {}},
        {"SET INSTANTCART STATUS,3,Jingle", {"ShowInstantCartState(3,\"Jingle\")"}},
        {"SET IC STATUS,4,  ,x", {"ShowInstantCartState(4,\"  \")"}},
        {"SET IC STATUS,4,  ", {"ShowInstantCartState(4,\"\")"}},
        {"SET IC CURRENTITEM,3,Jingle", {}},
        {"SET INSTANTCART STATUS,3", {}},
        {"SET INSTANTCART STATUS,99999,Jingle", {}},
        {"SET IC", {}},
        {"SET WHATEVER 1,2,3", {}},
    };
    for (const Case& c : cases) {
        Say(c.line);
        EXPECT_EQ(Calls(), c.calls) << c.line.toStdString();
        if (!c.line.contains("NUMBERPLAYERS", Qt::CaseInsensitive) || c.calls.isEmpty()) {
            EXPECT_EQ(Sent(), QStringList()) << c.line.toStdString();
        }
        Sent();
    }
}

TEST_F(PlayoutTranscript, ChoosesTheInstantCartSubCommandByVersion) {
    struct Case {
        QString version;
        QString line;
        bool shown;
    };
    const QList<Case> cases = {
        {"3.4.999", "SET INSTANTCART STATUS,1,Jingle", true},
        {"3.4.999", "SET IC STATUS,1,Jingle", true},
        {"3.4.999", "SET IC CURRENTITEM,1,Jingle", false},
        {"3.5.0", "SET IC CURRENTITEM,1,Jingle", true},
        {"3.5.0", "SET INSTANTCART currentitem,1,Jingle", true},
        {"3.5.0", "SET IC STATUS,1,Jingle", false},
    };
    for (const Case& c : cases) {
        Accept(c.version);
        Say(c.line);
        EXPECT_EQ(Calls().size(), c.shown ? 1 : 0) << (c.version + " " + c.line).toStdString();
        EXPECT_EQ(Sent(), QStringList());
    }
}

TEST_F(PlayoutTranscript, ShowsScriptsAndWebsitesWithAndWithoutText) {
    struct Case {
        QString line;
        QStringList calls;
    };
    const QList<Case> cases = {
        {"SCRIPT {\\rtf1\\ansi Hello, world}",
         {"ShowScript(\"{\\rtf1\\ansi Hello, world}\",\"\",True)"}},
        {"script  spaced ", {"ShowScript(\" spaced \",\"\",True)"}},
        {"SCRIPT", {"ShowScript(\"\",\"\",True)"}},
        {"WEBSITE http://www.example.org/a b",
         {"optWeb=1", "ShowWebAddress(\"http://www.example.org/a b\")"}},
        {"WEBSITE", {"optWeb=1", "ShowWebAddress(\"\")"}},
    };
    for (const Case& c : cases) {
        Say(c.line);
        EXPECT_EQ(Calls(), c.calls) << c.line.toStdString();
        EXPECT_EQ(Sent(), QStringList()) << c.line.toStdString();
    }
}

TEST_F(PlayoutTranscript, DecodesTheLinkTextAsTheWesternCodePage) {
    socket->Say("SET PLAYER STATUS,1,9,Caf\xe9 \x80 \x93quoted\x94\r\n");
    EXPECT_EQ(Calls(), QStringList{QString::fromUtf8("ShowPlayerStatus(1,9,\"Café € “quoted”\")")});
    link->SendMessageToComputer(QString::fromUtf8("LOG GO é€ ☃"));
    EXPECT_EQ(socket->SentBytes(), QByteArray("LOG GO \xe9\x80 ?\r\n"));
}

TEST_F(PlayoutTranscript, DecodesALineWithAByteBeyondAsciiWhereverItFalls) {
    // Titles of every length up to a few steps of the widest scan, with the byte in each place.
    for (qsizetype length = 1; length <= 40; ++length) {
        for (qsizetype at = 0; at < length; ++at) {
            QByteArray title(length, 'x');
            title[at] = '\x80';
            socket->Say("SET PLAYER STATUS,1,9," + title + "\r\n");
            QString shown(length, QLatin1Char('x'));
            shown[at] = QChar(0x20AC);
            ASSERT_EQ(Calls(), QStringList{"ShowPlayerStatus(1,9,\"" + shown + "\")"})
                << length << " " << at;
        }
    }
    // A line that is all ASCII again after one that was not.
    socket->Say("SET PLAYER STATUS,1,9,plain\r\n");
    EXPECT_EQ(Calls(), QStringList{"ShowPlayerStatus(1,9,\"plain\")"});
}

TEST_F(PlayoutTranscript, IgnoresUnknownLinesAndLinesWithoutABlankSilently) {
    for (const QString line :
         {"GARBAGE", "", "HELLO THERE", "SET", "PLAYER PLAY 1",
          "+CONNECTEDX AppName=VORELA3 Version=3.0.9", ",,,", " SET LOG STATUS,x"}) {
        Say(line);
        EXPECT_EQ(Calls(), QStringList()) << line.toStdString();
        EXPECT_EQ(Sent(), QStringList()) << line.toStdString();
    }
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_EQ(link->State(), PlayoutLink::LinkState::Handshaking);
}

TEST_F(PlayoutTranscript, LogsEveryLineAndTheLineWithoutAVerb) {
    AppServices::Instance().SetDebugLevel(5);
    Say("SET LOG STATUS,Today");
    Say("NOBLANK");
    QFile log(DebugLogFilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    EXPECT_TRUE(text.contains(" ProcessMessage SET LOG STATUS,Today")) << text.toStdString();
    EXPECT_TRUE(text.contains(" ProcessMessage NOBLANK"));
    EXPECT_TRUE(text.contains(" Failed - no Action Message (i.e. Play/Cue/Set/Flash etc.)"));
}

TEST_F(PlayoutTranscript, MatchesVerbsObjectsAndSubCommandsAsQtsCaseFoldingDoes) {
    // Every spelling is tried in every place; a line acts exactly when each of its words equals
    // the protocol's word under Qt's case-insensitive comparison.
    const QStringList spellings = {
        "SET",
        "set",
        "sEt",
        QString::fromUtf8("\u017Fet"), // a long s folds to s
        "SE",
        "SETT",
        QString::fromUtf8("\uFF33\uFF25\uFF34"),
        "NUMBERPLAYERS",
        "numberPlayers",
        "NUMBERPLAYER",
        "NUMBERPLAYERSX",
        "NUMBERPLAYERSNUMBERPLAYERS", // longer than any word
        "LOG",
        "Log",
        "STATUS",
        QString::fromUtf8("\u017Ftatus"),
        "STATU",
        "STATUSES",
        "IC",
        "ic",
        "INSTANTCART",
        "INSTANTCARTS",
        QString::fromUtf8("\u0130C"),
        "CURRENTITEM",
        // The first and last letters and the length of a known word, not the word.
        "SXT",
        "STATES",
        "cXRRENTITEM",
        "NUMBERXLAYERS",
    };
    const auto is = [](const QString& word, const char* wanted) {
        return word.compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0;
    };
    for (const QString& verb : spellings) {
        for (const QString& object : spellings) {
            SCOPED_TRACE((verb + " " + object).toStdString());
            link->ProcessMessage(verb + " " + object + " 3");
            const bool players = is(verb, "SET") && is(object, "NUMBERPLAYERS");
            EXPECT_EQ(Calls(), players ? QStringList{"SetNumberPlayers(3)"} : QStringList());
            Sent();
            link->ProcessMessage("SET " + object + " " + verb + ",1,Jingle");
            const bool cart = (is(object, "IC") || is(object, "INSTANTCART")) && is(verb, "STATUS");
            const bool log = is(object, "LOG") && is(verb, "STATUS");
            const bool count = is(object, "NUMBERPLAYERS"); // reads "STATUS,1,Jingle" as 0
            EXPECT_EQ(Calls(), cart    ? QStringList{"ShowInstantCartState(1,\"Jingle\")"}
                               : log   ? QStringList{"ShowLogStatus(1)"}
                               : count ? QStringList{"SetNumberPlayers(0)"}
                                       : QStringList());
        }
        link->ProcessMessage("SET LOG " + verb + ",x");
        EXPECT_EQ(Calls(), is(verb, "STATUS") ? QStringList{"ShowLogStatus(1)"} : QStringList())
            << verb.toStdString();
    }
    EXPECT_EQ(Sent(), QStringList());
}

TEST_F(PlayoutTranscript, ReadsPlayerAndStatusNumbersAsTheGeneralNumberRuleDoes) {
    const QStringList numbers = {
        "1",
        "007",
        " 1",
        "1 ",
        "+1",
        "-1",
        "1.5",
        "2.5",
        "1e1",
        "&H10",
        "&O17",
        "x",
        "",
        "000000012",
        "123456789",
        "1234567890",
        "32767",
        "32768",
        "-32768",
        "2147483647",
        "2147483648",
        "99999999999999999999",
        "1,5",
        QString::fromUtf8("\u0663"), // an Arabic-Indic three
    };
    for (const QString& player : numbers) {
        for (const QString& status : numbers) {
            const QString line = "SET PLAYER STATUS," + player + "," + status + ",T";
            const QStringList fields = line.mid(18).split(',');
            const auto p = ToInteger16(ValOf(fields.at(0)));
            const auto s = ToInteger32(ValOf(fields.at(1)));
            link->ProcessMessage(line);
            EXPECT_EQ(Calls(),
                      p && s ? QStringList{QStringLiteral("ShowPlayerStatus(%1,%2,\"%3\")")
                                               .arg(*p)
                                               .arg(*s)
                                               .arg(fields.size() > 2 ? fields.at(2) : QString())}
                             : QStringList())
                << line.toStdString();
        }
    }
}

TEST_F(PlayoutTranscript, ReadsTheCurrentItemsAsTheOptionReaderDoes) {
    // What the option reader makes of each text, the artist after the title.
    const auto expected = [](const QString& keyWords) {
        QString source = keyWords;
        QString artistKey = QStringLiteral("AName1");
        const QString artist =
            GetParameterByRef(source, artistKey, QStringLiteral("="), true, QStringLiteral(" "));
        source = keyWords;
        QString titleKey = QStringLiteral("ITitle");
        const QString title =
            GetParameterByRef(source, titleKey, QStringLiteral("="), true, QStringLiteral(" "));
        return artist.isEmpty() ? title : title + '-' + artist;
    };
    const QStringList texts = {
        "AName1=\"The Band\" ITitle=\"A Tune\"",
        "aname1=band ititle=tune",
        " AName1=Band  ITitle=Tune ",
        "XAName1=No ITitle=Tune AName1=Yes",
        "AName1=\"unclosed ITitle=Tune",
        "AName1=\" ITitle=\"",
        "ITitle=",
        "ITitle=\"",
        "AName1 =Band ITitle= Tune",
        "AName1==Band ITitle=\"\"Tune",
        "=AName1=Band",
        "AName1=Band",
        "",
        "ITitle",
        "ITitle=Caf\xe9 AName1=\"Na\xefve\"",
        QString::fromUtf8("ITitle=\u201CQuoted\u201D AName1=\u017Fmall"),
        QString::fromUtf8("\u0130Title=Dotted ITitle=Plain"),
        "ANAME1=Band ITITLE=Tune",
        "AName2=Band ITitle=Tune",
        "AName1=Band ITitl=Tune",
    };
    for (const QString& text : texts) {
        link->ProcessMessage("SET LOG CURRENTITEMS," + text);
        EXPECT_EQ(Calls(), QStringList{"ShowLogCurrentItem(\"" + expected(text) + "\")"})
            << text.toStdString();
    }
}
