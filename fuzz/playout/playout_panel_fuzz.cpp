// Feeds arbitrary bytes to the real playout link as if the playout system had sent them, with
// the studio's own panel showing what the parser finds (on Qt's offscreen platform): players,
// log, carts and cover. A script the system sends goes through the script pane's conversion,
// a website address through the rule of what the Web tab may show.

#include "playoutdoubles.h"

#include "core/profile/cocsettings.h"
#include "platform/ui/messagebox.h"
#include "platform/web/websiteaddresspolicy.h"
#include "playout/link/playoutlink.h"
#include "playout/panel/playoutpanel.h"
#include "scripts/scripttext.h"

#include <QApplication>
#include <QUrl>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {
class AnswerEveryBox : public MessageBoxService {
public:
    MsgResult show(const MessageBoxRequest& /*request*/) override { return MsgResult::OK; }
};
} // namespace

// The panel draws with the desktop's font stack, whose caches are never freed before the
// process ends: a leak report at its exit would be theirs, not the panel's.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept for the process's life: Qt's own teardown after libFuzzer's exit would run against
    // the panel's statics, already gone.
    static QApplication* const app = new QApplication(*argc, *argv);
    (void)app;
    InstallMessageBoxService(std::make_unique<AnswerEveryBox>());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    static QWidget* const client = new QWidget; // kept, as the application is
    static PlayoutPanel* const panel = new PlayoutPanel(client);
    static const std::unique_ptr<cOCSettings> settings = [] {
        auto s = std::make_unique<cOCSettings>();
        s->SetVorelaComputerName(QStringLiteral("studio-playout"));
        return s;
    }();
    auto s = std::make_unique<FakeSocketControl>();
    FakeSocketControl* socket = s.get();
    // The pauses never pass: every new connection is opened here.
    PlayoutLink link(
        *panel, [] { return settings.get(); }, std::move(s), std::make_unique<ManualRetryTimer>());
    panel->SetLink(&link);
    QObject::connect(&link, &PlayoutLink::ScriptReceived, &link,
                     [](const QString& text) { (void)ScriptText::HtmlForScriptText(text); });
    QObject::connect(&link, &PlayoutLink::WebsiteReceived, &link, [](const QString& address) {
        const QUrl url = WebsiteAddressPolicy::FromTyped(address);
        (void)WebsiteAddressPolicy::MayShow(url);
    });
    link.SetbLinkWanted(true);
    link.ConnectToVorela();
    socket->Accept();
    // The first byte chooses the chunk sizes, so that line ends fall across chunk borders.
    const std::size_t step = 1 + (data[0] % 64);
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    std::size_t left = size - 1;
    std::size_t chunk = step;
    while (left > 0) {
        if (socket->State() != SocketControl::StateConnected) {
            link.ConnectToVorela();
            socket->Accept();
        }
        const std::size_t n = chunk < left ? chunk : left;
        socket->Say(QByteArray(bytes, static_cast<qsizetype>(n)));
        bytes += n;
        left -= n;
        chunk = chunk * 3 % 97 + 1;
    }
    // What a studio sees is drawn: the players' and the log's texts go through their scrollers.
    (void)client->grab();
    panel->SetLink(nullptr);
    return 0;
}
