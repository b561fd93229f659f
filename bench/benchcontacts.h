#pragma once

#include "platform/directory/contactstore.h"
#include "platform/directory/directorystorage.h"

#include <QFile>
#include <QSqlQuery>
#include <QString>

// A station's directory of listeners for the benchmarks: contact i is "Listener i <surname>",
// one in seven with a company, each with an address, an e-mail and two numbers, so that the
// names sort as a real directory's do ("Listener 999999 Wright" last).
namespace BenchContacts {
inline const char* const kSurnames[] = {"Smith",  "Jones",   "Taylor", "Brown",    "Williams",
                                        "Wilson", "Johnson", "Davies", "Robinson", "Wright"};

// Whether the directory file holds exactly count contacts besides its users.
inline bool Holds(const QString& file, long long count) {
    DirectoryStorage storage;
    if (storage.Open(file, false, nullptr) != StorageOpenResult::Opened) {
        return false;
    }
    QSqlQuery q(storage.Database());
    return q.exec(QStringLiteral("SELECT count(*) FROM contacts WHERE login_name IS NULL")) &&
           q.next() && q.value(0).toLongLong() == count;
}

// Adds count listeners to the directory file (made when missing), in one transaction. A file
// that already holds them is left as it is: a million contacts take minutes to make.
inline bool Fill(const QString& file, long long count) {
    if (QFile::exists(file) && Holds(file, count)) {
        return true;
    }
    DirectoryStorage storage;
    if (storage.Open(file, true, nullptr) == StorageOpenResult::Failed || !storage.IsOpen()) {
        return false;
    }
    ContactStore store(storage);
    DirectoryTransaction tx(storage);
    {
        QSqlQuery clear(storage.Database());
        if (!clear.exec(QStringLiteral("DELETE FROM contacts WHERE login_name IS NULL"))) {
            return false;
        }
    }
    for (long long i = 0; i < count; ++i) {
        ContactRecord r;
        r.name = QStringLiteral("Listener %1 %2").arg(i).arg(QLatin1String(kSurnames[i % 10]));
        r.company = i % 7 == 0 ? QStringLiteral("Company %1").arg(i) : QString();
        r.email1 = QStringLiteral("listener%1@example.org").arg(i);
        r.phoneNumber1 = QStringLiteral("01632 %1").arg(i, 7, 10, QLatin1Char('0'));
        r.mobileNumber = QStringLiteral("+44 7700 %1").arg(i, 7, 10, QLatin1Char('0'));
        r.address = QStringLiteral("%1 High Street\r\nTown").arg(i);
        if (!store.Insert(r)) {
            return false;
        }
    }
    return tx.Commit();
}
} // namespace BenchContacts
