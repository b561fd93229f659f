// The messages database's speed goals: the last 24 hours' messages (1,000 of 100,000 unless
// --recent=N and --messages=N say otherwise; a busy day is --recent=10000 --messages=1000000)
// beside the same statement on the sqlite3 C API (the floor), rendering them as the on-screen
// list, a contact's Messages tab, and storing messages one by one (one transaction and the
// production synchronous mode, FULL, each).
#include "benchfloor.h"
#include "benchmain.h"
#include "benchmessages.h"
#include "benchsizes.h"

#include "platform/messagesdb/columnsmend.h"

#include "platform/messagesdb/messagefilter.h"
#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/messagesschema.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/messagetable.h"
#include "platform/messagesdb/messagetemplate.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/messagesdb/storeddates.h"
#include "platform/system/localzone.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <cstdlib>
#include <memory>

namespace {
int kTotal = 100000;
int kRecent = 1000;

// One database for the query and rendering benchmarks, on the machine's disk (or kept, see
// OpenBenchCorpus).
struct Corpus {
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/messagesdb-bench-XXXXXX")};
    OrlixDatabase db;
    QDateTime now = QDateTime::currentDateTimeUtc();

    Corpus() { OpenBenchCorpus(db, dir.path(), kTotal, kRecent, now); }

    QString last24Hours() const {
        return QStringLiteral(" [Received]>") +
               QString::number(StoredDates::ToDateNumber(now.addSecs(-86400)), 'f', 10);
    }
};

Corpus& corpus() {
    static Corpus c;
    return c;
}

using Database = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;
using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

// The last 24 hours through the component, beside the one statement that gives the same list
// in its order, prepared once on the sqlite3 C API with every column of every row read (the
// floor). The component reads the same rows unordered and sorts their keys itself: SQLite's
// sort of whole rows is most of that statement's cost on a busy day.
void BM_GetMessagesLast24Hours(benchmark::State& state) {
    Corpus& c = corpus();
    const QString filter = c.last24Hours();
    const MessageFilter::Result parsed = MessageFilter::Parse(filter);
    sqlite3* raw = nullptr;
    sqlite3_open_v2(c.db.DatabaseFile().toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    Database db(raw, &sqlite3_close);
    sqlite3_stmt* rawStatement = nullptr;
    const QByteArray sql = MessageTable::QuerySql(parsed.Where).toUtf8();
    if (sqlite3_prepare_v2(db.get(), sql.constData(), -1, &rawStatement, nullptr) != SQLITE_OK) {
        state.SkipWithError("no statement");
        return;
    }
    Statement statement(rawStatement, &sqlite3_finalize);
    RunBesideFloor(
        state,
        [&] {
            auto list = c.db.GetMessages(filter);
            return list && list->Count() == kRecent;
        },
        [&] {
            sqlite3_stmt* st = statement.get();
            for (int i = 0; i < parsed.Values.size(); ++i) {
                const QVariant& v = parsed.Values.at(i);
                if (v.typeId() == QMetaType::Double) {
                    sqlite3_bind_double(st, i + 1, v.toDouble());
                } else {
                    sqlite3_bind_int64(st, i + 1, v.toLongLong());
                }
            }
            int rows = 0;
            while (sqlite3_step(st) == SQLITE_ROW) {
                for (int col = 0; col < sqlite3_column_count(st); ++col) {
                    const int type = sqlite3_column_type(st, col);
                    if (type == SQLITE_TEXT) {
                        benchmark::DoNotOptimize(sqlite3_column_text(st, col));
                        benchmark::DoNotOptimize(sqlite3_column_bytes(st, col));
                    } else if (type == SQLITE_BLOB) {
                        benchmark::DoNotOptimize(sqlite3_column_blob(st, col));
                        benchmark::DoNotOptimize(sqlite3_column_bytes(st, col));
                    } else {
                        benchmark::DoNotOptimize(sqlite3_column_int64(st, col));
                    }
                }
                ++rows;
            }
            sqlite3_reset(st);
            return rows == kRecent;
        });
}
BENCHMARK(BM_GetMessagesLast24Hours)->UseManualTime()->Unit(benchmark::kMillisecond);

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

// The upgrade's mend of rows an earlier version stored with wrong columns, over 30,000
// messages that all need it (e-mails with a blank key of addresses, every tenth an SMS to two
// listeners as it was stored): its total time, and its longest transaction, which another
// computer waits for.
void BM_UpgradeMendOfOlderRows(benchmark::State& state) {
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/messagesdb-bench-XXXXXX"));
    {
        OrlixDatabase made;
        made.SetChangeWatch(0, 0);
        if (made.OpenDatabase(dir.path(), QString()) != 0) {
            state.SkipWithError("no database");
            return;
        }
    }
    const QString file = dir.filePath(QLatin1String(MessagesStorage::kFileName));
    auto storage = std::make_shared<MessagesStorage>();
    QString why;
    if (storage->Open(file, false, &why) != MessagesOpenResult::Opened) {
        state.SkipWithError("no storage");
        return;
    }
    const QByteArray email = BuildTextMessage(
        QStringLiteral("Ann <ann@example.org>"), QStringLiteral("studio@station.example"),
        QStringLiteral("A request"), QStringLiteral("Please play my song."), QDateTime());
    const QByteArray sms("From: 81234\r\nTo: Petes Friend <07700900777>\r\n"
                         "X-Orlix-To: \"Smith, John\" <07700 900555>,Petes Friend <07700900777>\r\n"
                         "Subject: You won\r\nMIME-Version: 1.0\r\n"
                         "Content-Type: text/plain; charset=utf-8\r\n\r\nYou won\r\n");
    {
        MessagesTransaction tx(*storage);
        QSqlQuery insert = storage->Prepare(QStringLiteral(
            "INSERT INTO messages (folder, kind, received_utc, party_addresses, mime)"
            " VALUES (3, ?, ?, '', ?)"));
        for (int i = 0; i < 30000; ++i) {
            const bool isSms = i % 10 == 0;
            insert.addBindValue(isSms ? 2 : 1);
            insert.addBindValue(i);
            insert.addBindValue(isSms ? sms : email);
            MessagesStorage::Exec(insert, "filling the benchmark");
        }
        QSqlQuery mark = storage->Prepare(
            QStringLiteral("INSERT OR REPLACE INTO orlix_meta (name, value) VALUES (?, '0')"));
        mark.addBindValue(QLatin1String(kColumnsMendSetting));
        MessagesStorage::Exec(mark, "filling the benchmark");
        tx.Commit();
    }
    ColumnsMendReport report;
    for (auto _ : state) {
        MendDerivedColumns(storage, 250, 200, &report);
    }
    state.counters["rows"] = report.Mended;
    state.counters["transactions"] = report.Transactions;
    state.counters["longest_ms"] = static_cast<double>(report.LongestTransactionMs);
}
BENCHMARK(BM_UpgradeMendOfOlderRows)->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    LocalZone::Pin(); // as the client does
    kTotal = static_cast<int>(TakeBenchSize(argc, argv, "messages", kTotal));
    kRecent = static_cast<int>(TakeBenchSize(argc, argv, "recent", kRecent));
    if (kRecent > kTotal) {
        kRecent = kTotal;
    }
    QCoreApplication app(argc, argv);
    benchmark::AddCustomContext("messages", std::to_string(kTotal));
    benchmark::AddCustomContext("recent", std::to_string(kRecent));
    return RunBenchmarks(argc, argv);
}
