#include "platform/web/localcontentpolicy.h"

#include "support/testhome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

class LocalContentPolicyTest : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = TestHome();
        QDir().mkpath(home_ + QStringLiteral("/allowed/sub"));
        QDir().mkpath(home_ + QStringLiteral("/other"));
        QDir().mkpath(home_ + QStringLiteral("/allowed-twin"));
        touch(QStringLiteral("/allowed/doc.htm"));
        touch(QStringLiteral("/allowed/sub/pic.png"));
        touch(QStringLiteral("/other/secret.txt"));
        touch(QStringLiteral("/allowed-twin/x.htm"));
        ASSERT_EQ(
            ::symlink(QFile::encodeName(home_ + QStringLiteral("/other/secret.txt")).constData(),
                      QFile::encodeName(home_ + QStringLiteral("/allowed/link.txt")).constData()),
            0);
        policy_.AllowFolder(home_ + QStringLiteral("/allowed"));
    }
    void touch(const QString& rel) {
        QFile f(home_ + rel);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    QUrl file(const QString& rel) const { return QUrl::fromLocalFile(home_ + rel); }

    QString home_;
    LocalContentPolicy policy_;
};

TEST_F(LocalContentPolicyTest, LoadsOnlyLocalContentOfItsFolders) {
    struct Case {
        const char* what;
        QUrl url;
        bool mayLoad;
    };
    const Case cases[] = {
        {"the document", file(QStringLiteral("/allowed/doc.htm")), true},
        {"a picture below it", file(QStringLiteral("/allowed/sub/pic.png")), true},
        {"a file not made yet", file(QStringLiteral("/allowed/new.htm")), true},
        {"the empty page", QUrl(QStringLiteral("about:blank")), true},
        {"inline data", QUrl(QStringLiteral("data:image/png;base64,iVBORw0KGgo=")), true},
        {"another folder", file(QStringLiteral("/other/secret.txt")), false},
        {"a folder that merely starts alike", file(QStringLiteral("/allowed-twin/x.htm")), false},
        {"dot-dot out of the folder",
         QUrl(QStringLiteral("file://") + home_ + QStringLiteral("/allowed/../other/secret.txt")),
         false},
        {"a link that leads out", file(QStringLiteral("/allowed/link.txt")), false},
        {"the system's files", QUrl(QStringLiteral("file:///etc/passwd")), false},
        {"a file on another host", QUrl(QStringLiteral("file://server/share/doc.htm")), false},
        {"a web address", QUrl(QStringLiteral("http://127.0.0.1:8080/a.png")), false},
        {"a secure web address", QUrl(QStringLiteral("https://example.invalid/")), false},
        {"another about page", QUrl(QStringLiteral("about:config")), false},
        {"our own scheme", QUrl(QStringLiteral("orlix://open/1")), false},
        {"a script address", QUrl(QStringLiteral("javascript:alert(1)")), false},
        {"nothing", QUrl(), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(policy_.MayLoad(c.url), c.mayLoad)
            << c.what << ": " << c.url.toString().toStdString();
    }
}

TEST_F(LocalContentPolicyTest, LoadsNothingLocalWithoutFolders) {
    LocalContentPolicy empty;
    EXPECT_FALSE(empty.MayLoad(file(QStringLiteral("/allowed/doc.htm"))));
    EXPECT_TRUE(empty.MayLoad(QUrl(QStringLiteral("about:blank"))));
    empty.AllowFolder(QString());
    empty.AllowFolder(QStringLiteral("   "));
    EXPECT_TRUE(empty.AllowedFolders().isEmpty());
}

TEST_F(LocalContentPolicyTest, TheRootIsNeverAnAllowedFolder) {
    LocalContentPolicy p;
    p.AllowFolder(QStringLiteral("/"));
    EXPECT_FALSE(p.MayLoad(QUrl(QStringLiteral("file:///etc/passwd"))));
}

} // namespace
