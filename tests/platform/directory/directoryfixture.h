#pragma once

#include "platform/directory/contactstore.h"
#include "platform/directory/directorystorage.h"
#include "platform/directory/kvdirectory.h"
#include "platform/directory/systemuser.h"
#include "platform/system/platformlog.h"
#include "support/testhome.h"

#include <QSqlQuery>
#include <QStringList>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>

// A directory opened at its default place under the test's ORLIX_HOME, with the log lines
// of the platform layer collected.
class DirectoryFixture : public ::testing::Test {
protected:
    void SetUp() override {
        SetPlatformLogHandler([this](const QString& text, int) { log << text; });
        SetSystemUserNameOverride(QStringLiteral("studio-os-user"));
        directory = std::make_unique<KVDirectory>();
        bool failed = true;
        directory->OpenDefault(true, failed);
        ASSERT_FALSE(failed);
    }
    void TearDown() override {
        if (HasFailure()) {
            for (const QString& line : log) {
                std::cerr << "log: " << line.toStdString() << '\n';
            }
        }
        directory.reset();
        SetSystemUserNameOverride(QString());
        SetPlatformLogHandler(nullptr);
    }

    // A saved user with the given rights, made while an administrator is logged in.
    KVDirectory::ContactPtr addUser(const QString& login, quint32 directoryRights,
                                    quint32 userRights, const QString& password = {}) {
        ensureAdmin();
        const auto previous = directory->CurrentUser();
        const bool adminWasIn = previous && previous->Reference() == admin->Reference();
        if (!adminWasIn) {
            loginAs(admin);
        }
        auto user = directory->CreateContact();
        user->SetName(QStringLiteral("User ") + login);
        user->SetLoginName(login);
        user->SetDirectoryRights(DirectoryRights(directoryRights));
        user->SetUserRights(UserRights(userRights));
        QString refusal;
        EXPECT_TRUE(directory->SaveContact(0, *user, &refusal)) << refusal.toStdString();
        if (!password.isEmpty()) {
            EXPECT_TRUE(directory->SetPassword(user->Reference(), password, &refusal));
        }
        if (previous && !adminWasIn) {
            loginAs(previous);
        }
        return directory->GetContact(user->Reference(), true, true);
    }

    void ensureAdmin() {
        if (!admin) {
            QString refusal;
            admin = directory->CreateFirstUser(QStringLiteral("Administrator"),
                                               QStringLiteral("admin"), QString(), &refusal);
            ASSERT_TRUE(admin) << refusal.toStdString();
        }
    }

    void loginAs(const KVDirectory::ContactPtr& user) {
        bool ok = false;
        directory->LoginContact(user, 1, QStringLiteral("Kestova Orlix v1"), ok);
        ASSERT_TRUE(ok);
    }

    // Leaves the next count references unused, as removed contacts leave them: a name search's
    // ranges are cut from the span of the references, not from how many there are.
    static bool skipReferences(DirectoryStorage& storage, qint64 count) {
        QSqlQuery q = storage.Prepare(
            QStringLiteral("UPDATE sqlite_sequence SET seq = seq + ? WHERE name = 'contacts'"));
        q.addBindValue(count);
        return DirectoryStorage::Exec(q, "leaving references unused");
    }

    // count listeners, "Listener i <surname>", one in seven with a company, made in one
    // transaction on a connection of their own: saved one by one they would take longer than
    // the test.
    void addListeners(int count) {
        DirectoryStorage storage;
        ASSERT_EQ(storage.Open(KVDirectory::DefaultFilePath(), false, nullptr),
                  StorageOpenResult::Opened);
        ContactStore store(storage);
        DirectoryTransaction tx(storage);
        static const char* const surnames[] = {"Smith",  "Jones",   "Taylor", "Brown",
                                               "Wilson", "Johnson", "Davies", "Wright"};
        for (int i = 0; i < count; ++i) {
            ContactRecord r;
            r.name = QStringLiteral("Listener %1 %2").arg(i).arg(QLatin1String(surnames[i % 8]));
            r.company = i % 7 == 0 ? QStringLiteral("Company %1").arg(i) : QString();
            ASSERT_TRUE(store.Insert(r));
        }
        ASSERT_TRUE(tx.Commit());
    }

    bool logged(const QString& part) const {
        for (const QString& line : log) {
            if (line.contains(part)) {
                return true;
            }
        }
        return false;
    }

    std::unique_ptr<KVDirectory> directory;
    KVDirectory::ContactPtr admin;
    QStringList log;
};
