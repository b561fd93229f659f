// How fast the playout link frames and parses status lines, how long one line takes from
// the socket to the display call, and how long one status line takes from the parser to the
// keyboard panel's changed controls repainted on a shown main window.
#include "benchfloor.h"
#include "benchmain.h"
#include "benchstudio.h"
#include "playoutdoubles.h"

#include "core/orlixcommon.h"
#include "core/profile/cocsettings.h"
#include "core/program.h"
#include "mainwindow/frmmain.h"
#include "platform/directory/kvdirectory.h"
#include "platform/net/tcpsocketcontrol.h"
#include "platform/system/appinfo.h"
#include "playout/link/playoutlink.h"
#include "playout/panel/playoutpanel.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

namespace {
// A busy hour as the playout system sends it: mostly player status, then carts, log lines
// and now and then a script.
QByteArray statusMix(int lines) {
    static const char* const kLines[] = {
        "SET PLAYER STATUS,1,5,Morning Show - Opening Theme",
        "SET PLAYER STATUS,2,9,Traffic and Travel Bed",
        "SET PLAYER STATUS,3,14,News Sting",
        "SET PLAYER STATUS,4,18",
        "SET PLAYER STATUS,1,5,The Band - Tune",
        "SET PLAYER STATUS,2,11,Weather Bed",
        "SET IC CURRENTITEM,7,Station Jingle 3",
        "SET IC CURRENTITEM,12, ",
        "SET LOG MODE,1,1,Automation running",
        "SET LOG CURRENTITEMS,AName1=\"The Band\" ITitle=\"A Longer Tune Title\"",
        "SET LOG STATUS,Breakfast 06-10",
        "SET NUMBERPLAYERS 4",
        "SET PLAYER STATUS,3,9,Caf\xe9 Society",
        "SET LOG SCRIPT,Good morning, it's seven o'clock, here is the news, read by the desk.",
        "SET PLAYER STATUS,4,5,Advert Break 1",
        "SET PLAYER STATUS,1,9,Back-announce Bed",
    };
    QByteArray all;
    for (int i = 0; i < lines; ++i) {
        all += kLines[i % (sizeof kLines / sizeof *kLines)];
        all += "\r\n";
    }
    return all;
}

void BM_FrameAndParseStatusLines(benchmark::State& state) {
    RecordingPlayoutWindow window;
    window.keepRecord = false;
    auto s = std::make_unique<FakeSocketControl>();
    FakeSocketControl* socket = s.get();
    socket->keepSent = false;
    const auto link = window.MakeLink(std::move(s));
    link->SetbLinkWanted(true);
    link->ConnectToVorela();
    socket->Accept();
    socket->Say("+CONNECTED AppName=VORELA3 Version=3.5.0\r\n");
    constexpr int kLines = 16000;
    const QByteArray mix = statusMix(kLines);
    // Read as the socket delivers it, in chunks that end anywhere.
    constexpr qsizetype kChunk = 4000;
    QList<QByteArray> chunks;
    for (qsizetype at = 0; at < mix.size(); at += kChunk) {
        chunks << mix.mid(at, kChunk);
    }
    const auto feed = [&] {
        for (const QByteArray& chunk : chunks) {
            socket->Say(chunk);
        }
        socket->ForgetSent();
    };
    // A first pass counts the display calls the mix makes and the bytes it answers; every timed
    // pass must make as many.
    const quint64 before = window.callCount;
    const qint64 sentBefore = socket->sentCount;
    feed();
    const quint64 callsPerPass = window.callCount - before;
    const qint64 sentPerPass = socket->sentCount - sentBefore;
    // The floor: the same chunks cut into lines with memchr, nothing parsed.
    qsizetype floorLines = 0;
    const auto split = [&] {
        floorLines = 0;
        for (const QByteArray& chunk : chunks) {
            const char* p = chunk.constData();
            const char* const end = p + chunk.size();
            while (const void* lf = std::memchr(p, '\n', end - p)) {
                p = static_cast<const char*>(lf) + 1;
                ++floorLines;
            }
        }
        benchmark::DoNotOptimize(floorLines);
        return floorLines == kLines;
    };
    RunBesideFloor(
        state,
        [&] {
            const quint64 start = window.callCount;
            const qint64 sentStart = socket->sentCount;
            feed();
            return window.callCount - start == callsPerPass &&
                   socket->sentCount - sentStart == sentPerPass;
        },
        split);
    state.SetItemsProcessed(state.iterations() * kLines);
    state.SetBytesProcessed(state.iterations() * mix.size());
    // floor_us holds the floor's whole time until the report divides it.
    const double floorMicroseconds = state.counters["floor_us"].value;
    if (floorMicroseconds > 0) {
        state.counters["floor_lines_per_s"] =
            double(kLines) * double(state.iterations()) * 1e6 / floorMicroseconds;
    }
}
BENCHMARK(BM_FrameAndParseStatusLines)->UseManualTime()->Unit(benchmark::kMillisecond);

// One line through the real socket over 127.0.0.1: from the peer's write to the display call.
void BM_OneLineSocketToDisplay(benchmark::State& state) {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    RecordingPlayoutWindow window;
    window.keepRecord = false;
    window.Settings()->SetVorelaComputerName("127.0.0.1");
    bool shown = false;
    window.onCall = [](void* flag) { *static_cast<bool*>(flag) = true; };
    window.onCallContext = &shown;
    const auto link = window.MakeLink();
    link->SetPorts(server.serverPort(), server.serverPort());
    link->SetbLinkWanted(true);
    link->ConnectToVorela();
    QTcpSocket* peer = nullptr;
    QElapsedTimer wait;
    wait.start();
    while ((peer == nullptr || link->State() != PlayoutLink::LinkState::Handshaking) &&
           wait.elapsed() < 5000) {
        QCoreApplication::processEvents();
        if (peer == nullptr && server.hasPendingConnections()) {
            peer = server.nextPendingConnection();
        }
    }
    if (peer == nullptr) {
        state.SkipWithError("no connection");
        return;
    }
    const QByteArray line = "SET PLAYER STATUS,1,5,Morning Show - Opening Theme\r\n";
    for (auto _ : state) {
        shown = false;
        const auto start = std::chrono::steady_clock::now();
        peer->write(line);
        peer->flush();
        while (!shown) {
            QCoreApplication::processEvents();
        }
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_OneLineSocketToDisplay)->UseManualTime()->Unit(benchmark::kMicrosecond);
// A studio computer in a home of its own, the program's folder in it too.
bool prepareStudio(const QString& home) {
    AppInfo::SetPath(home);
    return PrepareBenchStudio(home);
}

// One status line of each kind, two forms each so that every line changes what it shows.
void BM_StatusLineToPanelRepainted(benchmark::State& state, const char* first, const char* second) {
    QTemporaryDir home;
    if (!prepareStudio(home.path())) {
        state.SkipWithError("no studio");
        return;
    }
    Program program(
        StartupOptions::Parse(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=bench")));
    {
        frmMain window;
        if (!window.Form_Load()) {
            state.SkipWithError("the main window did not start");
            return;
        }
        for (QAction* a :
             {window.mnuViewVorelaKeyboard, window.mnuViewLogGo, window.mnuViewLogNavigation}) {
            if (!a->isChecked()) {
                a->trigger();
            }
        }
        window.SetVorelaPanelHidden(false);
        window.resize(1280, 800);
        window.show();
        window.playoutPanel->SetNumberPlayers(12);
        QCoreApplication::processEvents();
        PlayoutLink& link = *window.Link();
        const QString lines[] = {QString::fromLatin1(first), QString::fromLatin1(second)};
        int at = 0;
        for (auto _ : state) {
            const auto start = std::chrono::steady_clock::now();
            link.ProcessMessage(lines[at]);
            QCoreApplication::processEvents();
            const auto end = std::chrono::steady_clock::now();
            state.SetIterationTime(std::chrono::duration<double>(end - start).count());
            at = 1 - at;
        }
        window.Unload();
    }
    UnloadSplash();
    TerminateOrlix();
}
BENCHMARK_CAPTURE(BM_StatusLineToPanelRepainted, player, "SET PLAYER STATUS,12,5,The Band - Tune",
                  "SET PLAYER STATUS,12,9,The Band - Tune")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StatusLineToPanelRepainted, cart, "SET INSTANTCART STATUS,7,Jingle",
                  "SET INSTANTCART STATUS,7, ")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StatusLineToPanelRepainted, logmode, "SET LOG MODE,1,1,Automation",
                  "SET LOG MODE,0,1")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StatusLineToPanelRepainted, currentitem,
                  "SET LOG CURRENTITEMS,AName1=\"The Band\" ITitle=Tune",
                  "SET LOG CURRENTITEMS,AName1=\"Other Band\" ITitle=Song")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
