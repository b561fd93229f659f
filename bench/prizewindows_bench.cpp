// The prize and prize-winner windows over a station's whole directory: 100,000 contacts (or
// --contacts=N), one prize given to 1,000 of them. Loading the prize is what every activation of
// the prize window does; the winner window fills three lists when it opens and resolves a typed
// name over the whole directory.
#include "benchmain.h"
#include "benchsizes.h"

#include "contacts/frmprize.h"
#include "contacts/frmprizewinner.h"
#include "core/program.h"
#include "platform/directory/contactstore.h"
#include "platform/directory/directorystorage.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {
int kContacts = 100000; // --contacts=N
constexpr int kWinners = 1000;

// The program's directory and messages database, filled once for every benchmark of the run.
class Studio {
public:
    static Studio& Get() {
        static Studio s;
        return s;
    }
    qint32 prizeReference = 0;

private:
    Studio() {
        qputenv("ORLIX_HOME", QFile::encodeName(home_.path()));
        {
            DirectoryStorage storage;
            storage.Open(KVDirectory::DefaultFilePath(), true, nullptr);
            ContactStore store(storage);
            DirectoryTransaction tx(storage);
            for (int i = 0; i < kContacts; ++i) {
                ContactRecord r;
                r.name = QStringLiteral("Listener %1").arg(i);
                r.email1 = QStringLiteral("listener%1@example.org").arg(i);
                r.phoneNumber1 = QStringLiteral("01632 %1").arg(i, 6, 10, QLatin1Char('0'));
                r.address = QStringLiteral("%1 High Street\r\nTown").arg(i);
                store.Insert(r);
            }
            tx.Commit();
        }
        auto directory = std::make_unique<KVDirectory>();
        bool failed = true;
        directory->OpenDefault(false, failed);
        if (failed) {
            std::abort();
        }
        const QString folder = home_.path() + QStringLiteral("/db");
        QDir().mkpath(folder);
        auto db = std::make_unique<OrlixDatabase>();
        db->SetChangeWatch(0, 0);
        if (db->OpenDatabase(folder, QString()) != 0) {
            std::abort();
        }
        auto prize = db->NewPrize();
        prize->SetTitle(QStringLiteral("Concert tickets"));
        prize->SetNumberSupplied(kWinners);
        bool ok = false;
        db->StorePrize(*prize, ok);
        for (int i = 0; ok && i < kWinners; ++i) {
            auto winner = db->NewPrizeWinner(*prize);
            // Spread over the directory, every contact a first table row or a late one.
            winner->SetWinnerReference(1 + (i * 97) % kContacts);
            db->StorePrizeWinner(*winner, ok);
        }
        if (!ok) {
            std::abort();
        }
        prizeReference = prize->Reference();
        Program::Instance().SetDirectory(std::move(directory));
        Program::Instance().SetDatabase(std::move(db));
    }

    QTemporaryDir home_;
};

void BM_LoadPrize(benchmark::State& state) {
    Studio& studio = Studio::Get();
    frmPrize window;
    for (auto _ : state) {
        auto prize = Program::Instance().Database()->GetPrize(studio.prizeReference, true);
        if (!prize || !window.LoadPrize(prize) || window.Prize()->NumberWinners() != kWinners) {
            state.SkipWithError("the prize did not load");
            break;
        }
    }
}
BENCHMARK(BM_LoadPrize)->Unit(benchmark::kMillisecond);

void BM_OpenPrizeWinnerWindow(benchmark::State& state) {
    Studio& studio = Studio::Get();
    OrlixDatabase* db = Program::Instance().Database();
    auto prize = db->GetPrize(studio.prizeReference, true);
    for (auto _ : state) {
        frmPrizeWinner window;
        window.LoadPrizeWinner(prize->Winner(1));
        if (window.WinnerBox()->count() != kContacts) {
            state.SkipWithError("the winners list is not full");
            break;
        }
    }
}
BENCHMARK(BM_OpenPrizeWinnerWindow)->Unit(benchmark::kMillisecond);

// As the user opens it: filled, loaded and shown, its first layout and paint done.
void BM_ShowPrizeWinnerWindow(benchmark::State& state) {
    Studio& studio = Studio::Get();
    OrlixDatabase* db = Program::Instance().Database();
    auto prize = db->GetPrize(studio.prizeReference, true);
    for (auto _ : state) {
        frmPrizeWinner window;
        window.LoadPrizeWinner(prize->Winner(1));
        window.show();
        window.grab();
        if (window.WinnerBox()->count() != kContacts) {
            state.SkipWithError("the winners list is not full");
            break;
        }
    }
}
BENCHMARK(BM_ShowPrizeWinnerWindow)->Unit(benchmark::kMillisecond);

// A name typed in other letters, resolved against every entry (a second match would make it
// no match, so the whole list is always walked).
void BM_ResolveTypedWinner(benchmark::State& state) {
    Studio& studio = Studio::Get();
    OrlixDatabase* db = Program::Instance().Database();
    frmPrizeWinner window;
    window.LoadPrizeWinner(db->NewPrizeWinner(*db->GetPrize(studio.prizeReference, false)));
    int i = 0;
    for (auto _ : state) {
        const int n = (i++ * 7919) % kContacts;
        window.WinnerBox()->setEditText(QStringLiteral(" LISTENER %1 ").arg(n));
        window.ResolveTypedWinner();
        if (window.PrizeWinner()->WinnerReference() <= 0) {
            state.SkipWithError("the name was not resolved");
            break;
        }
    }
}
BENCHMARK(BM_ResolveTypedWinner)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    kContacts = static_cast<int>(TakeBenchSize(argc, argv, "contacts", kContacts));
    benchmark::AddCustomContext("contacts", std::to_string(kContacts));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Program program;
    return RunBenchmarks(argc, argv);
}
