#include "platform/directory/directoryapplications.h"

#include "platform/directory/directorystorage.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlQuery>
#include <QSysInfo>
#include <QVariant>

void DirectoryApplications::Register(qint32 productCode, QObject* /*application*/, bool& ok) {
    ok = false;
    const std::shared_ptr<DirectoryStorage> s = storage_();
    if (!s || !s->IsOpen()) {
        return;
    }
    const ClientInfo client = client_();
    DirectoryTransaction tx(*s);
    if (!tx.Active()) {
        return;
    }
    {
        QSqlQuery q = s->Prepare(QStringLiteral(
            "INSERT INTO applications"
            " (product_code, host, process_id, registered_utc, client_options, client_level)"
            " VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT (product_code, host, process_id) DO UPDATE"
            " SET registered_utc = excluded.registered_utc,"
            " client_options = excluded.client_options, client_level = excluded.client_level"));
        q.addBindValue(productCode);
        q.addBindValue(QSysInfo::machineHostName());
        q.addBindValue(QCoreApplication::applicationPid());
        q.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
        q.addBindValue(client.options);
        q.addBindValue(client.level);
        if (!DirectoryStorage::Exec(q, "registering the program")) {
            return;
        }
    }
    ok = tx.Commit();
}

void DirectoryApplications::Unregister(qint32 productCode, QObject* /*application*/, bool& ok) {
    ok = false;
    const std::shared_ptr<DirectoryStorage> s = storage_();
    if (!s || !s->IsOpen()) {
        return;
    }
    DirectoryTransaction tx(*s);
    if (!tx.Active()) {
        return;
    }
    {
        QSqlQuery q = s->Prepare(QStringLiteral(
            "DELETE FROM applications WHERE product_code = ? AND host = ? AND process_id = ?"));
        q.addBindValue(productCode);
        q.addBindValue(QSysInfo::machineHostName());
        q.addBindValue(QCoreApplication::applicationPid());
        if (!DirectoryStorage::Exec(q, "unregistering the program")) {
            return;
        }
    }
    ok = tx.Commit();
}

int DirectoryApplications::Count(qint32 productCode) {
    const std::shared_ptr<DirectoryStorage> s = storage_();
    if (!s || !s->IsOpen()) {
        return 0;
    }
    QSqlQuery q =
        s->Prepare(QStringLiteral("SELECT count(*) FROM applications WHERE product_code = ?"));
    q.addBindValue(productCode);
    if (!DirectoryStorage::Exec(q, "counting registrations") || !q.next()) {
        return 0;
    }
    return q.value(0).toInt();
}
