// Look-ups over a station's whole directory: 100,000 contacts.
#include "platform/directory/contactstore.h"
#include "platform/directory/directorystorage.h"
#include "platform/directory/kvdirectory.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {
constexpr int kContacts = 100000;

// One directory file for every benchmark of the run, filled once in one transaction.
class Directory {
public:
    static KVDirectory& Get() {
        static Directory d;
        return *d.directory_;
    }

private:
    Directory() {
        qputenv("ORLIX_HOME", QFile::encodeName(home_.path()));
        {
            DirectoryStorage storage;
            storage.Open(KVDirectory::DefaultFilePath(), true, nullptr);
            ContactStore store(storage);
            DirectoryTransaction tx(storage);
            static const char* const surnames[] = {"Smith",    "Jones",  "Taylor",  "Brown",
                                                   "Williams", "Wilson", "Johnson", "Davies",
                                                   "Robinson", "Wright"};
            for (int i = 0; i < kContacts; ++i) {
                ContactRecord r;
                r.name =
                    QStringLiteral("Listener %1 %2").arg(i).arg(QLatin1String(surnames[i % 10]));
                r.company = i % 7 == 0 ? QStringLiteral("Company %1").arg(i) : QString();
                r.email1 = QStringLiteral("listener%1@example.org").arg(i);
                r.phoneNumber1 = QStringLiteral("01632 %1").arg(i, 6, 10, QLatin1Char('0'));
                r.mobileNumber = QStringLiteral("+44 7700 %1").arg(i, 6, 10, QLatin1Char('0'));
                r.address = QStringLiteral("%1 High Street\r\nTown").arg(i);
                store.Insert(r);
            }
            tx.Commit();
        }
        directory_ = std::make_unique<KVDirectory>();
        bool failed = true;
        directory_->OpenDefault(false, failed);
        if (failed) {
            std::abort();
        }
    }

    QTemporaryDir home_;
    std::unique_ptr<KVDirectory> directory_;
};

void BM_FindContactsByPhoneNumber(benchmark::State& state) {
    KVDirectory& directory = Directory::Get();
    int i = 0;
    for (auto _ : state) {
        // An SMS sender as the message carries it: "<+447700 ...>".
        const QString number =
            QStringLiteral("<+447700%1>").arg((i++ * 7919) % kContacts, 6, 10, QLatin1Char('0'));
        const auto found = directory.FindContactsByPhoneNumber(number);
        if (found.size() != 1) {
            state.SkipWithError("the number was not found");
            break;
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_FindContactsByPhoneNumber)->Unit(benchmark::kMicrosecond);

void BM_FindContactsNameLike(benchmark::State& state) {
    KVDirectory& directory = Directory::Get();
    int i = 0;
    for (auto _ : state) {
        const QString filter =
            QStringLiteral("[Name] LIKE \"*%1 Wright*\"").arg(9 + 10 * (i++ % 100));
        const auto found = directory.FindContacts(filter, 0, 0);
        if (found.isEmpty()) {
            state.SkipWithError("the name was not found");
            break;
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_FindContactsNameLike)->Unit(benchmark::kMillisecond);

// The contact look-up of an e-mail window: three exact address terms.
void BM_FindContactsByEmail(benchmark::State& state) {
    KVDirectory& directory = Directory::Get();
    int i = 0;
    for (auto _ : state) {
        const QString a = QStringLiteral("listener%1@example.org").arg((i++ * 7919) % kContacts);
        const auto found = directory.FindContacts(
            QStringLiteral("[Email1]=\"%1\" or [Email2]=\"%1\" or [Email3]=\"%1\"").arg(a), 0, 0);
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_FindContactsByEmail)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
