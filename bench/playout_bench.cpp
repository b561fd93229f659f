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
#include "platform/ui/upanel3.h"
#include "playout/link/playoutlink.h"
#include "playout/panel/playoutpanel.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <QMouseEvent>
#include <QTimer>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

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
// A playout side on a thread of its own over 127.0.0.1: it greets, then writes its flood as fast
// as the client takes it, reads whatever the client sends and notes when each press arrived,
// on the steady clock this process shares.
class FloodingPeer {
public:
    explicit FloodingPeer(QByteArray flood) : flood_(std::move(flood)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 1);
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~FloodingPeer() {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }
    quint16 Port() const { return port_; }
    void StartFlood() { flooding_ = true; }
    std::vector<std::chrono::steady_clock::time_point> Presses() {
        const std::lock_guard lock(mutex_);
        return presses_;
    }

private:
    // Serves one connection after another: the window's settings loads reconnect.
    void run() {
        QByteArray block;
        while (block.size() < 65536) {
            block += flood_;
        }
        while (!stop_) {
            pollfd waiting{listener_, POLLIN, 0};
            if (::poll(&waiting, 1, 50) > 0) {
                serve(::accept(listener_, nullptr, nullptr), block);
            }
        }
    }
    void serve(int client, const QByteArray& block) {
        const QByteArray greeting = "+CONNECTED AppName=VORELA3 Version=3.5.0\r\n";
        ::send(client, greeting.constData(), size_t(greeting.size()), MSG_NOSIGNAL);
        QByteArray received;
        std::vector<char> chunk(65536);
        while (!stop_) {
            pollfd p{client, short(POLLIN | (flooding_ ? POLLOUT : 0)), 0};
            if (::poll(&p, 1, 20) <= 0) {
                continue;
            }
            if ((p.revents & POLLIN) != 0) {
                const ssize_t n = ::recv(client, chunk.data(), chunk.size(), 0);
                if (n <= 0) {
                    break;
                }
                received.append(chunk.data(), n);
                qsizetype end = 0;
                while ((end = received.indexOf('\n')) >= 0) {
                    if (received.startsWith("LOG VIEW SCROLLUP")) {
                        const std::lock_guard lock(mutex_);
                        presses_.push_back(std::chrono::steady_clock::now());
                    }
                    received.remove(0, end + 1);
                }
            }
            if ((p.revents & POLLOUT) != 0) {
                ::send(client, block.constData(), size_t(block.size()),
                       MSG_NOSIGNAL | MSG_DONTWAIT);
            }
        }
        ::close(client);
    }

    QByteArray flood_;
    int listener_ = -1;
    quint16 port_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> flooding_{false};
    std::mutex mutex_;
    std::vector<std::chrono::steady_clock::time_point> presses_;
};

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
// The window at 1280 x 800 with twelve players and every View item ticked, a peer flooding at full
// speed, and the log's Up button pressed (posted as the mouse would) every 100 ms for 10 s.
// Reported: press to peer, median and largest, and the lines handled a second meanwhile.
void BM_PressDuringFlood(benchmark::State& state, const char* flood) {
    QTemporaryDir home;
    if (!prepareStudio(home.path())) {
        state.SkipWithError("no studio");
        return;
    }
    {
        cOCSettings settings;
        QString profile = QStringLiteral("Studio");
        settings.LoadSettings(profile);
        settings.SetVorelaComputerName(QStringLiteral("127.0.0.1"));
        settings.SaveSettings(profile);
    }
    FloodingPeer peer{QByteArray(flood)};
    Program program(
        StartupOptions::Parse(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=bench")));
    {
        frmMain window;
        window.Link()->SetPorts(peer.Port(), peer.Port());
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
        PlayoutLink& link = *window.Link();
        QElapsedTimer wait;
        wait.start();
        while (link.State() != PlayoutLink::LinkState::Up && wait.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        if (link.State() != PlayoutLink::LinkState::Up) {
            state.SkipWithError(QStringLiteral("the link did not come up (state %1, %2 attempts)")
                                    .arg(int(link.State()))
                                    .arg(link.ConnectAttempts())
                                    .toStdString()
                                    .c_str());
            return;
        }
        link.ProcessMessage(QStringLiteral("SET NUMBERPLAYERS 12"));
        link.ProcessMessage(QStringLiteral("SET LOG STATUS,Today"));
        uPanel3* up = window.playoutPanel->cmdLogUp;
        std::vector<double> delays;
        double linesPerSecond = 0;
        for (auto _ : state) {
            peer.StartFlood();
            std::vector<std::chrono::steady_clock::time_point> posted;
            const quint64 linesBefore = link.LinesHandled();
            const size_t pressesBefore = peer.Presses().size();
            const auto start = std::chrono::steady_clock::now();
            QTimer presses;
            QObject::connect(&presses, &QTimer::timeout, [&] {
                const QPointF at(up->width() / 2.0, up->height() / 2.0);
                for (const QEvent::Type type :
                     {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                    QApplication::postEvent(
                        up, new QMouseEvent(type, at, up->mapToGlobal(at), Qt::LeftButton,
                                            type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                             : Qt::NoButton,
                                            Qt::NoModifier));
                }
                posted.push_back(std::chrono::steady_clock::now());
                if (posted.size() == 100) {
                    presses.stop();
                }
            });
            presses.start(100);
            while ((posted.size() < 100 || peer.Presses().size() < pressesBefore + 100) &&
                   std::chrono::steady_clock::now() - start < std::chrono::seconds(60)) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            }
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            state.SetIterationTime(seconds);
            linesPerSecond = double(link.LinesHandled() - linesBefore) / seconds;
            const auto reached = peer.Presses();
            for (size_t i = 0; i < posted.size() && pressesBefore + i < reached.size(); ++i) {
                delays.push_back(std::chrono::duration<double, std::milli>(
                                     reached[pressesBefore + i] - posted[i])
                                     .count());
            }
            if (reached.size() < pressesBefore + posted.size()) {
                state.SkipWithError("presses did not reach the peer within a minute");
                break;
            }
        }
        if (!delays.empty()) {
            std::sort(delays.begin(), delays.end());
            state.counters["press_median_ms"] = delays[delays.size() / 2];
            state.counters["press_max_ms"] = delays.back();
            state.counters["lines_per_s"] = linesPerSecond;
        }
        window.Unload();
    }
    UnloadSplash();
    TerminateOrlix();
}
BENCHMARK_CAPTURE(BM_PressDuringFlood, counts,
                  "SET NUMBERPLAYERS 1\r\nSET NUMBERPLAYERS 2\r\n"
                  "SET NUMBERPLAYERS 3\r\nSET NUMBERPLAYERS 4\r\nSET NUMBERPLAYERS 5\r\n"
                  "SET NUMBERPLAYERS 6\r\nSET NUMBERPLAYERS 7\r\nSET NUMBERPLAYERS 8\r\n"
                  "SET NUMBERPLAYERS 9\r\nSET NUMBERPLAYERS 10\r\nSET NUMBERPLAYERS 11\r\n"
                  "SET NUMBERPLAYERS 12\r\n")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_PressDuringFlood, statuses,
                  "SET PLAYER STATUS,1,5,The Band - Tune\r\nSET PLAYER STATUS,2,9,Weather Bed\r\n")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
