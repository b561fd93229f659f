// The change watches of both components on a station's files, offscreen: the CPU an idle
// stretch of both watches costs, and the time from another computer's commit until a list
// shows it, for a message, a prize, a folder, a contact and a website.
// Sizes: --messages=N and --contacts=N (100,000 each when not given); --idle=S seconds of
// idle watching (60); --changes=N changes of each kind (20), --gap=MS between them (2000).
// Each commit-to-shown benchmark reports its median and its worst as counters.
#include "benchcontacts.h"
#include "benchmain.h"
#include "benchmessages.h"
#include "benchsizes.h"

#include "platform/directory/controls/ucontactslist.h"
#include "platform/directory/controls/uwebsiteslist.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/directorywebsite.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/controls/umessageslist.h"
#include "platform/messagesdb/controls/uprizeslist.h"
#include "platform/messagesdb/orlixcategorytree.h"
#include "platform/messagesdb/orlixprize.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {
long long gMessages = 100000;
long long gContacts = 100000;
long long gIdleSeconds = 60;
long long gChanges = 20;
long long gGapMs = 2000;

// The poll and the gap between announcements the main window uses.
constexpr int kPollMs = 500;
constexpr int kGapMs = 1000;

// Lets events run until the condition holds; false after ten seconds. The loop sleeps until
// an event comes; a short tick wakes it to look again.
bool runUntil(const std::function<bool()>& condition) {
    const QDeadlineTimer deadline(10000);
    QTimer tick;
    tick.start(2);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Lets events run for a while, sleeping between them as the program's own loop does.
void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One studio computer watching both files with its lists shown, and another computer's
// objects on the same files making the changes.
class Station {
public:
    static Station& Get() {
        if (!instance) {
            instance = std::make_unique<Station>();
        }
        return *instance;
    }
    // Made on first use; let go before the application object, as its widgets must be.
    static inline std::unique_ptr<Station> instance;

    OrlixDatabase here;
    OrlixDatabase other;
    KVDirectory hereDirectory;
    KVDirectory otherDirectory;
    uMessagesList messages;
    uPrizesList prizes;
    uContactsList contacts;
    uWebSitesList websites;

    Station() {
        qputenv("ORLIX_HOME", QFile::encodeName(home_.path()));
        const QString folder = home_.path() + QStringLiteral("/Messages");
        QDir().mkpath(folder);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        FillBenchMessages(here, folder, static_cast<int>(gMessages), now,
                          [](int i) { return 86400LL + i * 60LL; });
        bool ok = false;
        here.CloseDatabase(ok);
        if (!BenchContacts::Fill(KVDirectory::DefaultFilePath(), gContacts)) {
            std::abort();
        }

        here.SetChangeWatch(kPollMs, kGapMs);
        other.SetChangeWatch(0, 0);
        if (here.OpenDatabase(folder, QString()) != 0 ||
            other.OpenDatabase(folder, QString()) != 0) {
            std::abort();
        }
        bool failed = true;
        otherDirectory.SetChangeWatch(0, 0);
        otherDirectory.OpenDefault(false, failed);
        if (failed) {
            std::abort();
        }
        QString refusal;
        if (otherDirectory.UserCount() == 0 &&
            !otherDirectory.CreateFirstUser(QStringLiteral("Admin"), QStringLiteral("admin"),
                                            QString(), &refusal)) {
            std::abort();
        }
        otherDirectory.LoginContact(otherDirectory.GetContactByLoginName(QStringLiteral("admin")),
                                    1, QString(), ok);
        if (!ok) {
            std::abort();
        }
        hereDirectory.SetChangeWatch(kPollMs, kGapMs);
        hereDirectory.OpenDefault(false, failed);
        if (failed) {
            std::abort();
        }

        // The lists as the panes show them; the contacts list is read again on a change, as
        // the contacts pane does.
        messages.SetDatabase(&here);
        messages.SetDisplayMessageList(true);
        prizes.SetDatabase(&here);
        contacts.SetDirectory(&hereDirectory);
        QObject::connect(&hereDirectory, &KVDirectory::ContactsChanged, &contacts,
                         [this] { contacts.Refresh(); });
        websites.SetDirectory(&hereDirectory);
        for (QWidget* w :
             std::initializer_list<QWidget*>{&messages, &prizes, &contacts, &websites}) {
            w->resize(500, 600);
            w->show();
        }
        runFor(kGapMs);
    }

private:
    QTemporaryDir home_;
};

// Changes of one kind made by the other computer, gGapMs apart: the time from each commit
// until the list shows it; the median and the worst reported.
void commitToShown(benchmark::State& state,
                   const std::function<std::function<bool()>(int)>& change) {
    Station::Get();
    std::vector<double> samples;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        runFor(static_cast<int>(gGapMs));
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        const std::function<bool()> shown = change(n++);
        if (!shown) {
            state.SkipWithError("the other computer's change could not be stored");
            return;
        }
        if (!runUntil(shown)) {
            state.SkipWithError("the change was not shown within ten seconds");
            return;
        }
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        samples.push_back(seconds);
        state.SetIterationTime(seconds);
    }
    std::sort(samples.begin(), samples.end());
    if (!samples.empty()) {
        state.counters["median_ms"] = samples[samples.size() / 2] * 1000;
        state.counters["worst_ms"] = samples.back() * 1000;
    }
}

void BM_IdleWatchesCpu(benchmark::State& state) {
    Station::Get();
    for (auto _ : state) {
        const double before = cpuSeconds();
        runFor(static_cast<int>(gIdleSeconds * 1000));
        state.counters["cpu_ms"] = (cpuSeconds() - before) * 1000;
        state.counters["seconds"] = static_cast<double>(gIdleSeconds);
    }
}

void BM_CommitToShownMessage(benchmark::State& state) {
    commitToShown(state, [](int n) -> std::function<bool()> {
        Station& s = Station::Get();
        auto m = std::make_shared<OrlixMessage>();
        const QString subject = QStringLiteral("Just in %1").arg(n);
        m->SetMessageBytes(BuildTextMessage(QStringLiteral("Ann <ann@example.org>"),
                                            QStringLiteral("studio@station.example"), subject,
                                            QStringLiteral("Hello"), QDateTime()));
        m->SetKind(OrlixMessage::KindEmail);
        m->SetFolder(OrlixDatabase::kInboxFolder);
        m->SetReceivedDate(QDateTime::currentDateTimeUtc());
        bool ok = false;
        s.other.StoreMessage(*m, ok);
        if (!ok) {
            return {};
        }
        return [&s, subject] {
            const QTreeWidgetItem* top = s.messages.lstMessages()->topLevelItem(0);
            return top != nullptr && top->text(1) == subject;
        };
    });
}

void BM_CommitToShownPrize(benchmark::State& state) {
    commitToShown(state, [](int n) -> std::function<bool()> {
        Station& s = Station::Get();
        auto prize = s.other.NewPrize();
        prize->SetTitle(QStringLiteral("Tickets %1").arg(n));
        prize->SetNumberSupplied(2);
        bool ok = false;
        s.other.StorePrize(*prize, ok);
        if (!ok) {
            return {};
        }
        const qint32 reference = prize->Reference();
        return [&s, reference] { return s.prizes.ItemOf(reference) != nullptr; };
    });
}

void BM_CommitToShownFolder(benchmark::State& state) {
    commitToShown(state, [](int n) -> std::function<bool()> {
        Station& s = Station::Get();
        QVector<OrlixCategoryTree::Folder> folders = s.other.CategoryTree()->Folders();
        const QString name = QStringLiteral("Folder made %1").arg(n);
        folders.append({-1, OrlixCategoryTree::kTopLevel, name, 9});
        QString problem;
        if (!s.other.StoreDatabaseSettings({}, folders, &problem)) {
            return {};
        }
        return [&s, name] {
            for (QTreeWidgetItemIterator it(s.messages.tvwFolders()); *it != nullptr; ++it) {
                if ((*it)->text(0) == name) {
                    return true;
                }
            }
            return false;
        };
    });
}

void BM_CommitToShownContact(benchmark::State& state) {
    commitToShown(state, [](int n) -> std::function<bool()> {
        Station& s = Station::Get();
        const int before = s.contacts.lstContacts()->model()->rowCount();
        auto c = s.otherDirectory.CreateContact();
        c->SetName(QStringLiteral("Aaron Newcomer %1").arg(n));
        QString refusal;
        if (!s.otherDirectory.SaveContact(0, *c, &refusal)) {
            return {};
        }
        const qint32 reference = c->Reference();
        // Shown once the list has read its count again and holds the new row.
        return [&s, before, reference] {
            const QAbstractItemModel* model = s.contacts.lstContacts()->model();
            return model != nullptr && model->rowCount() == before + 1 &&
                   s.contacts.ItemOf(reference).isValid();
        };
    });
}

void BM_CommitToShownWebsite(benchmark::State& state) {
    commitToShown(state, [](int n) -> std::function<bool()> {
        Station& s = Station::Get();
        auto site = std::make_shared<DirectoryWebsite>();
        site->SetAddress(QStringLiteral("https://news.example/%1").arg(n));
        site->SetTitle(QStringLiteral("Station news %1").arg(n));
        bool ok = false;
        s.otherDirectory.AddWebsite(site, ok);
        if (!ok || !site) {
            return {};
        }
        const qint32 reference = site->Reference();
        return [&s, reference] { return s.websites.ItemOf(reference) != nullptr; };
    });
}

void registerAll() {
    benchmark::RegisterBenchmark("BM_IdleWatchesCpu", BM_IdleWatchesCpu)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    for (const auto& [name, fn] :
         std::initializer_list<std::pair<const char*, void (*)(benchmark::State&)>>{
             {"BM_CommitToShownMessage", BM_CommitToShownMessage},
             {"BM_CommitToShownPrize", BM_CommitToShownPrize},
             {"BM_CommitToShownFolder", BM_CommitToShownFolder},
             {"BM_CommitToShownContact", BM_CommitToShownContact},
             {"BM_CommitToShownWebsite", BM_CommitToShownWebsite}}) {
        benchmark::RegisterBenchmark(name, fn)->Iterations(gChanges)->UseManualTime()->Unit(
            benchmark::kMillisecond);
    }
}
} // namespace

int main(int argc, char** argv) {
    gMessages = TakeBenchSize(argc, argv, "messages", gMessages);
    gContacts = TakeBenchSize(argc, argv, "contacts", gContacts);
    gIdleSeconds = TakeBenchSize(argc, argv, "idle", gIdleSeconds);
    gChanges = TakeBenchSize(argc, argv, "changes", gChanges);
    gGapMs = TakeBenchSize(argc, argv, "gap", gGapMs);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerAll();
    const int status = RunBenchmarks(argc, argv);
    Station::instance.reset();
    return status;
}
