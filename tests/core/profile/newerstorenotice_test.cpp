#include "core/profile/newerstorenotice.h"

#include "core/debuglog.h"
#include "platform/system/appservices.h"
#include "platform/system/registrystore.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {
int debugLogLines(const QString& part) {
    QFile f(DebugLogFilePath());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).count(part) : 0;
}

class NewerStoreNoticeTest : public ::testing::Test {
protected:
    void SetUp() override { InstallNewerStoreNotice(); }
    void TearDown() override {
        RegistryStore::SetNewerVersionHandler(nullptr);
        RegistryStore::SetProblemHandler(nullptr);
        DropStoreNotices();
    }

    static void putStore(RegistryRoot root, const QByteArray& bytes) {
        const QString path = RegistryStore::FilePath(root);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(NewerStoreNoticeTest, TheUserIsToldOncePerStoreFileThatChangesAreNotSaved) {
    putStore(RegistryRoot::LocalMachine, R"({"format":2,"keys":{}})");
    putStore(RegistryRoot::CurrentUser, R"({"format":2,"keys":{}})");
    const QString key = QStringLiteral("Software\\Test");

    // As at start-up: the store is read before the debug log has its level.
    AppServices::Instance().SetDebugLevel(0);
    RegistryStore::ReadString(RegistryRoot::LocalMachine, key, QStringLiteral("V"), {});
    // Not from inside the read: the box waits for the event loop.
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    AppServices::Instance().SetDebugLevel(5);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(debugLogLines(QStringLiteral("belongs to a newer version")), 1);
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    const MessageBoxRequest& box = TestMessageBoxes().shown().front();
    EXPECT_EQ(box.text, NewerStoreMessage(RegistryStore::FilePath(RegistryRoot::LocalMachine)));
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    EXPECT_EQ(box.buttons, MsgButtons::OK);
    EXPECT_TRUE(box.text.contains(QStringLiteral("newer version")));
    EXPECT_TRUE(box.text.contains(QStringLiteral("not saved")));

    EXPECT_FALSE(RegistryStore::WriteString(RegistryRoot::LocalMachine, key, QStringLiteral("V"),
                                            QStringLiteral("x")));
    RegistryStore::ReadString(RegistryRoot::LocalMachine, key, QStringLiteral("V"), {});
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(TestMessageBoxes().shown().size(), 1U);

    RegistryStore::ReadString(RegistryRoot::CurrentUser, key, QStringLiteral("V"), {});
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(TestMessageBoxes().shown().size(), 2U);
    EXPECT_EQ(debugLogLines(QStringLiteral("belongs to a newer version")), 2);
    EXPECT_EQ(TestMessageBoxes().shown().back().text,
              NewerStoreMessage(RegistryStore::FilePath(RegistryRoot::CurrentUser)));
}

// A damaged store is told, once: what it held is gone from this run, and the user should know
// why before settings seem to be missing.
TEST_F(NewerStoreNoticeTest, AStoreOfThisVersionTellsNothingAndADamagedOneIsTold) {
    putStore(RegistryRoot::LocalMachine, R"({"format":1,"keys":{"K":{"V":true}}})");
    putStore(RegistryRoot::CurrentUser, "not json");
    for (const RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
        RegistryStore::ReadString(root, QStringLiteral("K"), QStringLiteral("V"), {});
        EXPECT_TRUE(RegistryStore::WriteString(root, QStringLiteral("K"), QStringLiteral("W"),
                                               QStringLiteral("x")));
    }
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_EQ(TestMessageBoxes().shown().front().text,
              DamagedStoreMessage(RegistryStore::FilePath(RegistryRoot::CurrentUser)));
}
} // namespace
