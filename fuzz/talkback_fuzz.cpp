// A talkback file of another studio computer, as arbitrary bytes: read through Start and Look
// (the whole file, then the same bytes appended again) and shown through uTalkback::LineText.
// Oracle: every line decoded encodes to a line that decodes to itself.

#include "platform/system/platformlog.h"
#include "platform/ui/talkbackexchange.h"
#include "platform/ui/utalkback.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {
bool same(const TalkbackLine& a, const TalkbackLine& b) {
    return a.TimeMs == b.TimeMs && a.Writer == b.Writer && a.Sequence == b.Sequence &&
           a.Name == b.Name && a.Login == b.Login && a.Text == b.Text;
}

void check(const QList<TalkbackLine>& lines) {
    const QDate today(2026, 12, 11);
    for (const TalkbackLine& line : lines) {
        const auto back = TalkbackExchange::Decode(TalkbackExchange::Encode(line).trimmed());
        if (!back || !same(*back, line)) {
            __builtin_trap(); // a decoded line must re-encode to itself
        }
        (void)uTalkback::LineText(line, today);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "talkback_fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = [] {
        SetPlatformLogHandler([](const QString&, int) {});
        return new QCoreApplication(argc, argv);
    }();
    (void)app;
    static QTemporaryDir folder;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // Each line on its own, as the reader takes them.
    for (const QByteArray& line : bytes.split('\n')) {
        if (const auto decoded = TalkbackExchange::Decode(line)) {
            check({*decoded});
        }
    }

    const QString other = folder.path() + QStringLiteral("/studio-b-bob.talkback");
    {
        QFile f(other);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        f.write(bytes);
    }
    TalkbackExchange exchange(folder.path(), QStringLiteral("studio-a"), QStringLiteral("ann"));
    check(exchange.Start());
    {
        QFile f(other);
        if (f.open(QIODevice::Append)) {
            f.write(bytes);
        }
    }
    check(exchange.Look());
    QFile::remove(other);
    return 0;
}
