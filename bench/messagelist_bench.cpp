// The messages pane's speed goals over 100,000 messages, about 1,000 of them in the last 24
// hours (--messages=N and --recent=N set other sizes; a busy day is --messages=1000000
// --recent=10000): the filter and its query (and the newest 5,000 of all); the tags, the
// template and the page written; the page shown (Navigate to LoadFinished) with the engine
// started, and the first, cold, one; and "<All Messages>" (the newest 5,000) from query to page
// shown.
#include "benchmain.h"
#include "benchmessages.h"
#include "benchsizes.h"

#include "core/program.h"
#include "mainwindow/messagelistfilter.h"
#include "mainwindow/panes/messagelistpage.h"
#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/messagetable.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/web/uwebbrowser.h"
#include "platform/web/webengineprelude.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

namespace {
int kTotal = 100000;
int kRecent = 1000;
constexpr int kDay = 1440;

// The same corpus as the messages database's benchmark (OpenBenchCorpus).
struct Corpus {
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/messagelist-bench-XXXXXX")};
    OrlixDatabase db;
    QDateTime now = QDateTime::currentDateTimeUtc();
    QString page = dir.path() + QStringLiteral("/Data/Temp/Messages-List.htm");

    Corpus() { OpenBenchCorpus(db, dir.path(), kTotal, kRecent, now); }
    // The list's own filter for the Inbox, as the pane hands it on.
    static QString ownFilter() {
        return QStringLiteral("([Folder]=%1 AND ([Owner]=0 OR [Owner]=0))")
            .arg(OrlixDatabase::kInboxFolder);
    }
    QString filter(int minutes) const {
        return MessageListFilterText(ownFilter(), minutes, QDateTime::currentDateTimeUtc());
    }
};

Corpus& corpus() {
    static Corpus c;
    return c;
}

// The pane's browser, made once: the first Navigate starts the engine.
std::unique_ptr<uWebBrowser>& viewSlot() {
    static std::unique_ptr<uWebBrowser> v;
    return v;
}
uWebBrowser& view() {
    std::unique_ptr<uWebBrowser>& v = viewSlot();
    if (!v) {
        v = std::make_unique<uWebBrowser>();
        v->resize(1000, 700);
        v->show();
        v->AllowFolder(QFileInfo(corpus().page).absolutePath());
    }
    return *v;
}

bool showPage(const QString& path) {
    uWebBrowser& v = view();
    QEventLoop loop;
    bool ok = false;
    const auto done = QObject::connect(&v, &uWebBrowser::LoadFinished, &loop, [&](bool result) {
        ok = result;
        loop.quit();
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    if (!v.Navigate(path)) {
        return false;
    }
    loop.exec();
    QObject::disconnect(done);
    return ok;
}

void BM_FilterAndQueryLast24Hours(benchmark::State& state) {
    Corpus& c = corpus();
    for (auto _ : state) {
        auto list = c.db.GetMessages(c.filter(kDay), MessageListPage::kMaxListed);
        // The list stops at its limit on a busy day.
        const int expected = std::min(kRecent, MessageListPage::kMaxListed);
        if (!list || list->Count() < expected - 5 || list->Count() > expected + 5) {
            state.SkipWithError("wrong count");
            break;
        }
        benchmark::DoNotOptimize(list);
    }
}
BENCHMARK(BM_FilterAndQueryLast24Hours)->Unit(benchmark::kMillisecond);

void BM_FilterAndQueryAll(benchmark::State& state) {
    Corpus& c = corpus();
    for (auto _ : state) {
        auto list = c.db.GetMessages(c.filter(-1), MessageListPage::kMaxListed);
        if (!list || list->Count() != MessageListPage::kMaxListed) {
            state.SkipWithError("wrong count");
            break;
        }
        benchmark::DoNotOptimize(list);
    }
}
BENCHMARK(BM_FilterAndQueryAll)->Unit(benchmark::kMillisecond);

// Render is the query, the tags and the template; then the page is written whole.
void BM_RenderAndWriteLast24Hours(benchmark::State& state) {
    Corpus& c = corpus();
    for (auto _ : state) {
        const std::optional<QString> html = MessageListPage::Render(c.db, c.filter(kDay));
        if (!html || !MessageListPage::Write(c.page, *html)) {
            state.SkipWithError("no page");
            break;
        }
    }
}
BENCHMARK(BM_RenderAndWriteLast24Hours)->Unit(benchmark::kMillisecond);

// The first page of the process: the engine starts within it.
void BM_NavigateToLoadFinishedCold(benchmark::State& state) {
    Corpus& c = corpus();
    const std::optional<QString> html = MessageListPage::Render(c.db, c.filter(kDay));
    if (!html || !MessageListPage::Write(c.page, *html)) {
        state.SkipWithError("no page");
        return;
    }
    for (auto _ : state) {
        if (!showPage(c.page)) {
            state.SkipWithError("not shown");
            break;
        }
    }
}
BENCHMARK(BM_NavigateToLoadFinishedCold)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_NavigateToLoadFinished(benchmark::State& state) {
    Corpus& c = corpus();
    const std::optional<QString> html = MessageListPage::Render(c.db, c.filter(kDay));
    if (!html || !MessageListPage::Write(c.page, *html) || !showPage(c.page)) {
        state.SkipWithError("no page");
        return;
    }
    for (auto _ : state) {
        if (!showPage(c.page)) {
            state.SkipWithError("not shown");
            break;
        }
    }
}
BENCHMARK(BM_NavigateToLoadFinished)->Iterations(20)->Unit(benchmark::kMillisecond);

// "<All Messages>": the newest 5,000, from the query to the page shown.
void BM_AllMessagesShown(benchmark::State& state) {
    Corpus& c = corpus();
    for (auto _ : state) {
        const std::optional<QString> html = MessageListPage::Render(c.db, c.filter(-1));
        if (!html || !MessageListPage::Write(c.page, *html) || !showPage(c.page)) {
            state.SkipWithError("not shown");
            break;
        }
    }
}
BENCHMARK(BM_AllMessagesShown)->Iterations(5)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    kTotal = static_cast<int>(TakeBenchSize(argc, argv, "messages", kTotal));
    kRecent = static_cast<int>(std::min<long long>(TakeBenchSize(argc, argv, "recent", kRecent),
                                                   static_cast<long long>(kTotal)));
    benchmark::AddCustomContext("messages", std::to_string(kTotal));
    benchmark::AddCustomContext("recent", std::to_string(kRecent));
    PrepareWebEngineBeforeApplication();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    Program program;
    const int result = RunBenchmarks(argc, argv);
    viewSlot().reset();
    return result;
}
