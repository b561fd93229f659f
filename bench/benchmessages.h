#pragma once

#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/messagetable.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdlib>
#include <functional>
#include <memory>

// The listeners' requests the benchmarks measure on: `total` messages in the Inbox, every
// third an SMS, message i received `secondsAgo(i)` before `now`. Filled in one transaction
// through the component's own statements, then `db` opened on `folder`. A fill that fails
// ends the run: a benchmark on a half-made corpus would measure nothing.
inline void FillBenchMessages(OrlixDatabase& db, const QString& folder, int total,
                              const QDateTime& now, const std::function<qint64(int)>& secondsAgo) {
    db.SetChangeWatch(0, 0);
    if (db.OpenDatabase(folder, QString()) != 0) {
        std::abort();
    }
    const QString file = db.DatabaseFile();
    bool ok = false;
    db.CloseDatabase(ok);
    auto storage = std::make_shared<MessagesStorage>();
    if (storage->Open(file, false, nullptr) != MessagesOpenResult::Opened) {
        std::abort();
    }
    OrlixMessage m;
    m.SetFolder(OrlixDatabase::kInboxFolder);
    {
        MessagesTransaction tx(*storage);
        for (int i = 0; i < total; ++i) {
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
            m.SetReceivedDate(now.addSecs(-secondsAgo(i)));
            if (!MessageTable::Insert(storage, m)) {
                std::abort();
            }
        }
        if (!tx.Commit()) {
            std::abort();
        }
    }
    storage->Close();
    if (db.OpenDatabase(folder, QString()) != 0) {
        std::abort();
    }
}

// The messages benchmarks' corpus in db: `total` messages, the newest `recent` of them spread
// over the last 22 hours and the rest over the time before. A folder named by
// ORLIX_BENCH_CORPUS is kept between runs: filled on the first, opened again after (a million
// messages take minutes to fill); its recent messages stay in the last 24 hours for two hours,
// and the sizes given must be those it was filled with. Otherwise it is filled in `scratch`.
inline void OpenBenchCorpus(OrlixDatabase& db, const QString& scratch, int total, int recent,
                            const QDateTime& now) {
    const QString kept = qEnvironmentVariable("ORLIX_BENCH_CORPUS");
    if (!kept.isEmpty() && QFile::exists(kept + QStringLiteral("/messages.sqlite"))) {
        db.SetChangeWatch(0, 0);
        if (db.OpenDatabase(kept, QString()) != 0) {
            std::abort();
        }
        return;
    }
    const QString folder = kept.isEmpty() ? scratch : kept;
    QDir().mkpath(folder);
    FillBenchMessages(db, folder, total, now, [total, recent](int i) {
        return i >= total - recent ? (total - i) * (79200LL / recent)
                                   : 86400LL + (total - i) * 300LL;
    });
}
