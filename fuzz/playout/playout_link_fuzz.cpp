// Feeds arbitrary bytes to the playout link as if the playout system had sent them: framed,
// decoded and parsed, in chunks whose sizes the input itself chooses.

#include "playoutdoubles.h"

#include "platform/ui/messagebox.h"
#include "playout/link/playoutlink.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {
class AnswerEveryBox : public MessageBoxService {
public:
    MsgResult show(const MessageBoxRequest& /*request*/) override { return MsgResult::OK; }
};

struct Harness {
    RecordingPlayoutWindow window;
    FakeSocketControl* socket = nullptr;
    std::unique_ptr<PlayoutLink> link;

    Harness() {
        window.keepRecord = false;
        auto s = std::make_unique<FakeSocketControl>();
        socket = s.get();
        // The pauses never pass: every new connection is opened by the harness itself.
        link = window.MakeLink(std::move(s), std::make_unique<ManualRetryTimer>());
    }
};
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    InstallMessageBoxService(std::make_unique<AnswerEveryBox>());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    Harness h;
    h.link->SetbLinkWanted(true);
    h.link->ConnectToVorela();
    h.socket->Accept();
    // The first byte chooses the chunk sizes, so that line ends fall across chunk borders.
    const std::size_t step = 1 + (data[0] % 64);
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    std::size_t left = size - 1;
    std::size_t chunk = step;
    while (left > 0) {
        if (h.socket->State() != SocketControl::StateConnected) {
            // A rejected handshake closed the link: open it again and go on.
            h.link->ConnectToVorela();
            h.socket->Accept();
        }
        const std::size_t n = chunk < left ? chunk : left;
        h.socket->Say(QByteArray(bytes, static_cast<qsizetype>(n)));
        // Lines left to later turns and boxes posted for after a line run before the next
        // chunk, as the event loop would run them.
        do {
            QCoreApplication::sendPostedEvents();
        } while (h.link->LinesWaiting());
        bytes += n;
        left -= n;
        chunk = chunk * 3 % 97 + 1;
    }
    (void)h.socket->TakeSentLines();
    return 0;
}
