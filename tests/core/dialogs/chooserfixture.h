#pragma once

#include "core/windows/contactopener.h"
#include "platform/directory/directoryfixture.h"

#include <vector>

// A directory with an administrator logged in, and a contact opener that records what it
// is asked to open instead of opening a window.
class ChooserFixture : public DirectoryFixture {
protected:
    struct Opened {
        qint32 reference = 0;
        QString name;
        int modal = -1;
    };

    void SetUp() override {
        DirectoryFixture::SetUp();
        ensureAdmin();
        loginAs(admin);
        SetOpenContactHook([this](const KVDirectory::ContactPtr& c, int modal) -> QWidget* {
            if (onOpen) {
                onOpen(c); // what the user does in the window, before it closes
            }
            opened.push_back({c->Reference(), c->Name(), modal});
            return &window;
        });
    }
    void TearDown() override {
        SetOpenContactHook(nullptr);
        DirectoryFixture::TearDown();
    }

    KVDirectory::ContactPtr save(const QString& name, const QString& company = {},
                                 const QString& email2 = {}, const QString& phone = {}) {
        auto c = directory->CreateContact(0);
        c->SetName(name);
        c->SetCompany(company);
        c->SetEmail2(email2);
        c->SetPhoneNumber2(phone);
        bool ok = false;
        directory->SaveContact(0, c, true, true, ok);
        EXPECT_TRUE(ok) << name.toStdString();
        return c;
    }

    std::vector<Opened> opened;
    std::function<void(const KVDirectory::ContactPtr&)> onOpen;
    QWidget window; // what the opener hands back
};
