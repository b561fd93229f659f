// Look-ups over a station's whole directory, beside the same SQL prepared once (the floor).
// Sizes: --contacts=N (100,000 when not given). --keep=DIR keeps the directory file in DIR and
// reuses one of the same size made there by an earlier run (a million contacts take minutes
// to make).
#include "benchfloor.h"
#include "benchmain.h"
#include "benchsizes.h"

#include "platform/directory/contactstore.h"
#include "platform/directory/contacttext.h"
#include "platform/directory/directorystorage.h"
#include "platform/directory/kvdirectory.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {
int gContacts = 100000;
QString gKeep;

// The text of "--name=text" on the command line, taken out before the benchmark library reads
// the rest; empty when not given.
QString takeText(int& argc, char** argv, const char* name) {
    const QByteArray prefix = QByteArray("--") + name + '=';
    QString value;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]).startsWith(prefix)) {
            value = QString::fromLocal8Bit(argv[i] + prefix.size());
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return value;
}

// One directory file for every benchmark of the run, filled once in one transaction.
class Directory {
public:
    static Directory& Get() {
        static Directory d;
        return d;
    }
    KVDirectory& Client() { return *directory_; }
    DirectoryStorage& Floor() { return floor_; }

private:
    Directory() {
        const QString home =
            gKeep.isEmpty() ? home_.path() : gKeep + QStringLiteral("/%1").arg(gContacts);
        qputenv("ORLIX_HOME", QFile::encodeName(home));
        if (!gKeep.isEmpty() && QFile::exists(KVDirectory::DefaultFilePath()) && !filled()) {
            QFile::remove(KVDirectory::DefaultFilePath());
        }
        if (!QFile::exists(KVDirectory::DefaultFilePath())) {
            DirectoryStorage storage;
            storage.Open(KVDirectory::DefaultFilePath(), true, nullptr);
            ContactStore store(storage);
            DirectoryTransaction tx(storage);
            static const char* const surnames[] = {"Smith",    "Jones",  "Taylor",  "Brown",
                                                   "Williams", "Wilson", "Johnson", "Davies",
                                                   "Robinson", "Wright"};
            for (int i = 0; i < gContacts; ++i) {
                ContactRecord r;
                r.name =
                    QStringLiteral("Listener %1 %2").arg(i).arg(QLatin1String(surnames[i % 10]));
                r.company = i % 7 == 0 ? QStringLiteral("Company %1").arg(i) : QString();
                r.email1 = QStringLiteral("listener%1@example.org").arg(i);
                r.phoneNumber1 = QStringLiteral("01632 %1").arg(i, 7, 10, QLatin1Char('0'));
                r.mobileNumber = QStringLiteral("+44 7700 %1").arg(i, 7, 10, QLatin1Char('0'));
                r.address = QStringLiteral("%1 High Street\r\nTown").arg(i);
                store.Insert(r);
            }
            tx.Commit();
        }
        directory_ = std::make_unique<KVDirectory>();
        bool failed = true;
        directory_->OpenDefault(false, failed);
        if (failed || floor_.Open(KVDirectory::DefaultFilePath(), false, nullptr) !=
                          StorageOpenResult::Opened) {
            std::abort();
        }
    }

    // Whether the kept file holds the run's contacts, whole.
    static bool filled() {
        DirectoryStorage storage;
        if (storage.Open(KVDirectory::DefaultFilePath(), false, nullptr) !=
            StorageOpenResult::Opened) {
            return false;
        }
        QSqlQuery q(storage.Database());
        return q.exec(QStringLiteral("SELECT count(*) FROM contacts")) && q.next() &&
               q.value(0).toLongLong() == gContacts;
    }

    QTemporaryDir home_;
    std::unique_ptr<KVDirectory> directory_;
    DirectoryStorage floor_;
};

QString mobileOf(int i) {
    // An SMS sender as the message carries it: "<+447700 ...>".
    return QStringLiteral("<+447700%1>").arg((i * 7919) % gContacts, 7, 10, QLatin1Char('0'));
}

// An SMS sender's look-up, beside the same statement prepared once (the floor).
void BM_PhoneLookUp(benchmark::State& state) {
    KVDirectory& directory = Directory::Get().Client();
    QSqlQuery q(Directory::Get().Floor().Database());
    q.setForwardOnly(true);
    if (!q.prepare(ContactStore::ListSql(ContactStore::PhoneDigitsWhere()))) {
        state.SkipWithError("no statement");
        return;
    }
    int i = 0;
    QString number;
    RunBesideFloor(
        state,
        [&] {
            number = mobileOf(i++);
            const auto found = directory.FindContactsByPhoneNumber(number);
            benchmark::DoNotOptimize(found);
            return found.size() == 1;
        },
        [&] {
            const QString digits = ContactText::PhoneDigits(number);
            for (int b = 0; b < 4; ++b) {
                q.bindValue(b, digits);
            }
            int rows = 0;
            if (q.exec()) {
                while (q.next()) {
                    for (int c = 0; c < q.record().count(); ++c) {
                        benchmark::DoNotOptimize(q.value(c));
                    }
                    ++rows;
                }
            }
            q.finish();
            return rows == 1;
        });
}
BENCHMARK(BM_PhoneLookUp)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The i-th term searched: pattern with one of spread numbers, 100 to 999 (three
// characters), or for a spread of 100 the numbers 9, 19, 29 and so on to 999.
QString searchedTerm(const QString& pattern, int spread, int i) {
    return pattern.arg(spread == 100 ? 9 + 10 * (i % 100) : 100 + (i % 900));
}

// A part of a name as a presenter types it, found through the name index; beside it the
// same search reading every row's name, as it was before the index.
void nameSearch(benchmark::State& state, const QString& pattern, int spread) {
    KVDirectory& directory = Directory::Get().Client();
    QSqlQuery q(Directory::Get().Floor().Database());
    q.setForwardOnly(true);
    if (!q.prepare(ContactStore::ListSql(QStringLiteral(" WHERE instr(name_fold, ?) > 0")))) {
        state.SkipWithError("no statement");
        return;
    }
    int i = 0;
    QString term;
    qsizetype found = 0;
    RunBesideFloor(
        state,
        [&] {
            term = searchedTerm(pattern, spread, i++);
            const auto list =
                directory.FindContacts(QStringLiteral("[Name] LIKE \"*%1*\"").arg(term), 0, 0);
            found = list.size();
            return found > 0;
        },
        [&] {
            q.bindValue(0, ContactText::Fold(term));
            qsizetype rows = 0;
            if (q.exec()) {
                while (q.next()) {
                    benchmark::DoNotOptimize(q.value(0));
                    ++rows;
                }
            }
            q.finish();
            return rows == found;
        });
}

void BM_NameSearch(benchmark::State& state) {
    nameSearch(state, QStringLiteral("%1 Wright"), 100);
}
BENCHMARK(BM_NameSearch)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_NameSearchThreeCharacters(benchmark::State& state) {
    nameSearch(state, QStringLiteral("%1"), 900);
}
BENCHMARK(BM_NameSearchThreeCharacters)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same searches one after another, as a presenter's typing makes them: without the
// floor's reading of the whole file between two searches, which leaves every cache cold.
void nameSearchInARow(benchmark::State& state, const QString& pattern, int spread) {
    KVDirectory& directory = Directory::Get().Client();
    int i = 0;
    for (auto _ : state) {
        const QString term = searchedTerm(pattern, spread, i++);
        const auto list =
            directory.FindContacts(QStringLiteral("[Name] LIKE \"*%1*\"").arg(term), 0, 0);
        if (list.isEmpty()) {
            state.SkipWithError("the program's result is wrong");
            return;
        }
    }
}

void BM_NameSearchInARow(benchmark::State& state) {
    nameSearchInARow(state, QStringLiteral("%1 Wright"), 100);
}
BENCHMARK(BM_NameSearchInARow)->Unit(benchmark::kMillisecond);

void BM_NameSearchThreeCharactersInARow(benchmark::State& state) {
    nameSearchInARow(state, QStringLiteral("%1"), 900);
}
BENCHMARK(BM_NameSearchThreeCharactersInARow)->Unit(benchmark::kMillisecond);

// The contact look-up of an e-mail window: three exact address terms.
void BM_FindContactsByEmail(benchmark::State& state) {
    KVDirectory& directory = Directory::Get().Client();
    int i = 0;
    for (auto _ : state) {
        const QString a = QStringLiteral("listener%1@example.org").arg((i++ * 7919) % gContacts);
        const auto found = directory.FindContacts(
            QStringLiteral("[Email1]=\"%1\" or [Email2]=\"%1\" or [Email3]=\"%1\"").arg(a), 0, 0);
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_FindContactsByEmail)->Unit(benchmark::kMicrosecond);

// A contact window's save: one contact's company changed and stored, one transaction each,
// the stored row's change counter compared and raised.
void BM_SaveContact(benchmark::State& state) {
    KVDirectory& directory = Directory::Get().Client();
    QString refusal;
    auto user = directory.GetContactByLoginName(QStringLiteral("bench"));
    if (!user) {
        user = directory.CreateFirstUser(QStringLiteral("Bench User"), QStringLiteral("bench"),
                                         QString(), &refusal);
    }
    bool ok = false;
    directory.LoginContact(user, 1, QStringLiteral("Orlix"), ok);
    if (!ok) {
        state.SkipWithError("no log-in");
        return;
    }
    const auto contact = directory.GetContact(gContacts / 2, true, true);
    if (!contact) {
        state.SkipWithError("no contact");
        return;
    }
    int i = 0;
    for (auto _ : state) {
        contact->SetCompany(QStringLiteral("Company %1").arg(i++));
        if (!directory.SaveContact(contact->Reference(), *contact, &refusal)) {
            state.SkipWithError("not stored");
            break;
        }
    }
}
BENCHMARK(BM_SaveContact)->Iterations(500)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    gContacts = static_cast<int>(TakeBenchSize(argc, argv, "contacts", gContacts));
    gKeep = takeText(argc, argv, "keep");
    QCoreApplication app(argc, argv);
    benchmark::AddCustomContext("contacts", std::to_string(gContacts));
    return RunBenchmarks(argc, argv);
}
