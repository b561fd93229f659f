#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

class DirectoryStorage;
class QObject;

// The running programs of the station, as the directory records them: product code, host,
// process id and the time of registration, with the two numbers the client declared.
class DirectoryApplications {
public:
    struct ClientInfo {
        qint32 options = 0;
        qint32 level = 0;
    };
    using StorageSource = std::function<std::shared_ptr<DirectoryStorage>()>;
    using ClientSource = std::function<ClientInfo()>;

    DirectoryApplications(StorageSource storage, ClientSource client)
        : storage_(std::move(storage)), client_(std::move(client)) {}

    // Both are harmless (ok False) when the directory is not open.
    void Register(qint32 productCode, QObject* application, bool& ok);
    void Unregister(qint32 productCode, QObject* application, bool& ok);
    // How many registrations of the product this directory holds (any host).
    int Count(qint32 productCode);

private:
    StorageSource storage_;
    ClientSource client_;
};
