// The messages database's speed goals: the last 24 hours' 1,000 messages out of 100,000,
// rendering them as the on-screen list, a contact's Messages tab, and storing messages one by one
// (one transaction and the production synchronous mode, FULL, each).
#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/messagetable.h"
#include "platform/messagesdb/messagetemplate.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/messagesdb/storeddates.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {
constexpr int kTotal = 100000;
constexpr int kRecent = 1000;

// One database for the query and rendering benchmarks, on the machine's disk.
struct Corpus {
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/messagesdb-bench-XXXXXX")};
    OrlixDatabase db;
    QDateTime now = QDateTime::currentDateTimeUtc();

    Corpus() {
        db.SetChangeWatch(0, 0);
        if (db.OpenDatabase(dir.path(), QString()) != 0) {
            std::abort();
        }
        const QString file = db.DatabaseFile();
        bool ok = false;
        db.CloseDatabase(ok);

        // Filled in one transaction through the component's own statements.
        auto storage = std::make_shared<MessagesStorage>();
        if (storage->Open(file, false, nullptr) != MessagesOpenResult::Opened) {
            std::abort();
        }
        OrlixMessage m;
        m.SetFolder(OrlixDatabase::kInboxFolder);
        {
            MessagesTransaction tx(*storage);
            for (int i = 0; i < kTotal; ++i) {
                // The newest kRecent arrived in the last 24 hours, the rest over the year before.
                const bool recent = i >= kTotal - kRecent;
                const qint64 ago = recent ? (kTotal - i) * 80LL : 86400LL + (kTotal - i) * 300LL;
                m.SetReference(0);
                m.SetKind(i % 3 == 0 ? OrlixMessage::KindSms : OrlixMessage::KindEmail);
                m.SetMessageBytes(BuildTextMessage(
                    QStringLiteral("Listener %1 <listener%1@example.org>").arg(i % 5000),
                    QStringLiteral("studio@station.example"),
                    QStringLiteral("Request number %1 for the afternoon show").arg(i),
                    QStringLiteral("Hello, could you please play a song for my family? We "
                                   "listen every day <3 & love the show. Message %1")
                        .arg(i),
                    QDateTime()));
                m.SetReceivedDate(now.addSecs(-ago));
                if (!MessageTable::Insert(storage, m)) {
                    std::abort();
                }
            }
            if (!tx.Commit()) {
                std::abort();
            }
        }
        storage->Close();
        if (db.OpenDatabase(dir.path(), QString()) != 0) {
            std::abort();
        }
    }

    QString last24Hours() const {
        return QStringLiteral(" [Received]>") +
               QString::number(StoredDates::ToDateNumber(now.addSecs(-86400)), 'f', 10);
    }
};

Corpus& corpus() {
    static Corpus c;
    return c;
}

void BM_GetMessagesLast24Hours(benchmark::State& state) {
    Corpus& c = corpus();
    const QString filter = c.last24Hours();
    for (auto _ : state) {
        auto list = c.db.GetMessages(filter);
        if (!list || list->Count() != kRecent) {
            state.SkipWithError("wrong count");
            break;
        }
        benchmark::DoNotOptimize(list);
    }
}
BENCHMARK(BM_GetMessagesLast24Hours)->Unit(benchmark::kMillisecond);

void BM_ApplyTemplateOnScreenList(benchmark::State& state) {
    Corpus& c = corpus();
    auto list = c.db.GetMessages(c.last24Hours());
    QFile file(c.db.TemplatesPath() + QStringLiteral("/Messages-List.htm"));
    if (!list || !file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("no list or template");
        return;
    }
    const QString text = QString::fromUtf8(file.readAll());
    for (auto _ : state) {
        QString html = list->ApplyTemplate(text, MessageTemplate::OnScreenList);
        benchmark::DoNotOptimize(html);
    }
}
BENCHMARK(BM_ApplyTemplateOnScreenList)->Unit(benchmark::kMillisecond);

// A contact window's Messages tab: a contact with two e-mail addresses and two numbers, its
// messages looked for among all 100,000 (what the tab asks of the database each time it is
// chosen). Listener 42 wrote 20 of them from each address; the SMS carry the digits 4242.
void BM_ContactMessagesTab(benchmark::State& state) {
    Corpus& c = corpus();
    const QString emails = QStringLiteral("listener42@example.org|listener4042@example.org");
    const QString numbers = QStringLiteral("4242|+44 7700 900123");
    for (auto _ : state) {
        auto lines = c.db.ContactMessageLines(emails, numbers);
        if (lines.isEmpty()) {
            state.SkipWithError("no lines");
            break;
        }
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK(BM_ContactMessagesTab)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// One message per iteration, each its own transaction; argument 0 is the production
// synchronous mode (FULL), 1 is NORMAL, for comparison.
void BM_StoreMessageOneByOne(benchmark::State& state) {
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/messagesdb-bench-XXXXXX"));
    OrlixDatabase db;
    db.SetChangeWatch(0, 0);
    db.SetSynchronous(state.range(0) == 0 ? QStringLiteral("FULL") : QStringLiteral("NORMAL"));
    if (db.OpenDatabase(dir.path(), QString()) != 0) {
        state.SkipWithError("no database");
        return;
    }
    const QByteArray bytes = BuildTextMessage(
        QStringLiteral("Ann <ann@example.org>"), QStringLiteral("studio@station.example"),
        QStringLiteral("A request"), QStringLiteral("Please play my song."), QDateTime());
    OrlixMessage m;
    m.SetFolder(OrlixDatabase::kInboxFolder);
    m.SetMessageBytes(bytes);
    for (auto _ : state) {
        m.SetReference(0);
        m.SetReceivedDate(QDateTime::currentDateTimeUtc());
        bool ok = false;
        db.StoreMessage(m, ok);
        if (!ok) {
            state.SkipWithError("store failed");
            break;
        }
    }
}
BENCHMARK(BM_StoreMessageOneByOne)->Arg(0)->Arg(1)->Iterations(1000)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
