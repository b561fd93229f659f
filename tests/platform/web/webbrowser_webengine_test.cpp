#include "platform/web/webbrowser.h"

#include "platform/system/platformlog.h"
#include "support/scriptedcommondialogs.h"
#include "support/testhome.h"
#include "support/waitfor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QStringList>
#include <QTcpServer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// The values a signal carried, in order (the first argument of each emission).
template <typename Signal> std::shared_ptr<std::vector<bool>> Record(WebBrowser* b, Signal signal) {
    auto seen = std::make_shared<std::vector<bool>>();
    QObject::connect(b, signal, b, [seen](bool ok) { seen->push_back(ok); });
    return seen;
}

class WebEngineBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = TestHome() + QStringLiteral("/docs");
        QDir().mkpath(folder_);
        SetPlatformLogHandler([this](const QString& text, int) { log_ << text; });
        browser_ = std::make_unique<WebBrowser>();
        browser_->resize(640, 480);
        browser_->show();
        browser_->AllowFolder(folder_);
    }
    void TearDown() override {
        browser_.reset();
        SetPlatformLogHandler(nullptr);
    }
    QString write(const QString& name, const QByteArray& html) {
        const QString path = folder_ + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(html);
        return path;
    }
    bool show(const QString& path) {
        auto loaded = Record(browser_.get(), &WebBrowser::LoadFinished);
        if (!browser_->Navigate(path)) {
            return false;
        }
        return WaitFor([&] { return !loaded->empty(); }) && loaded->front();
    }
    QString pageText() {
        QString text;
        bool done = false;
        browser_->View()->page()->toPlainText([&](const QString& t) {
            text = t;
            done = true;
        });
        WaitFor([&] { return done; });
        return text;
    }
    bool logged(const QString& part) const {
        for (const QString& line : log_) {
            if (line.contains(part)) {
                return true;
            }
        }
        return false;
    }

    QString folder_;
    QStringList log_;
    std::unique_ptr<WebBrowser> browser_;
};

TEST_F(WebEngineBrowserTest, ShowsALocalDocumentWithoutRunningItsScript) {
    const QString path = write(QStringLiteral("print.htm"),
                               "<html><head><title>static</title></head><body><p>Winners list</p>"
                               "<script>document.title='ran';document.body.innerHTML='x';</script>"
                               "</body></html>");
    ASSERT_TRUE(show(path));
    EXPECT_EQ(browser_->CurrentUrl(), QUrl::fromLocalFile(path));
    EXPECT_EQ(browser_->View()->page()->title(), QStringLiteral("static"));
    EXPECT_TRUE(pageText().contains(QStringLiteral("Winners list")));
}

TEST_F(WebEngineBrowserTest, RefusesAFileOutsideItsFolders) {
    const QString outside = TestHome() + QStringLiteral("/secret.htm");
    QFile f(outside);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<p>secret</p>");
    f.close();
    EXPECT_FALSE(browser_->Navigate(outside));
    EXPECT_NE(browser_->CurrentUrl(), QUrl::fromLocalFile(outside));
}

TEST_F(WebEngineBrowserTest, NeverLoadsRemoteContent) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const QByteArray base = "http://127.0.0.1:" + QByteArray::number(server.serverPort());
    const QString path = write(
        QStringLiteral("remote.htm"),
        "<html><head><link rel='stylesheet' href='" + base + "/s.css'></head><body><img src='" +
            base + "/a.png'><iframe src='" + base + "/f.htm'></iframe><p>body</p></body></html>");
    ASSERT_TRUE(show(path)); // the load has finished: every part of it was tried
    EXPECT_FALSE(server.hasPendingConnections());
    EXPECT_FALSE(server.waitForNewConnection(0));
    EXPECT_TRUE(logged(QStringLiteral("Refused a navigation to '") + QString::fromLatin1(base) +
                       QStringLiteral("/f.htm'")));
}

TEST_F(WebEngineBrowserTest, LoadsNoFileOutsideItsFolders) {
    const QString path =
        write(QStringLiteral("files.htm"), "<img src='file:///etc/passwd'><img src='../secret.png'>"
                                           "<img src='inside.png'><p>body</p>");
    ASSERT_TRUE(show(path));
    EXPECT_TRUE(WaitFor([&] { return logged(QStringLiteral("secret.png")); }));
    EXPECT_TRUE(logged(QStringLiteral("file:///etc/passwd")));
    EXPECT_FALSE(logged(QStringLiteral("inside.png")));
}

TEST_F(WebEngineBrowserTest, DoesNotFollowTheDocumentAway) {
    write(QStringLiteral("other.htm"), "<p>other</p>");
    const QString path = write(QStringLiteral("refresh.htm"),
                               "<html><head><meta http-equiv='refresh' content='0; url=other.htm'>"
                               "</head><body><p>stay</p></body></html>");
    ASSERT_TRUE(show(path));
    ASSERT_TRUE(WaitFor([&] { return logged(QStringLiteral("Refused a navigation")); }));
    EXPECT_EQ(browser_->CurrentUrl(), QUrl::fromLocalFile(path));
    EXPECT_TRUE(pageText().contains(QStringLiteral("stay")));
}

TEST_F(WebEngineBrowserTest, PrintsThroughThePrintDialog) {
    ASSERT_TRUE(show(write(QStringLiteral("p.htm"), "<h1>Concert tickets</h1>")));
    TestCommonDialogs().queuePrint({true, false, QString()});
    auto finished = Record(browser_.get(), &WebBrowser::PrintFinished);
    browser_->Print(nullptr);
    ASSERT_TRUE(WaitFor([&] { return !finished->empty(); }));
    EXPECT_TRUE(finished->front());
    ASSERT_EQ(TestCommonDialogs().printedFiles().size(), 1);
    QFile pdf(TestCommonDialogs().printedFiles().first());
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
}

TEST_F(WebEngineBrowserTest, CancelledPrintPrintsNothing) {
    ASSERT_TRUE(show(write(QStringLiteral("p.htm"), "<p>x</p>")));
    auto finished = Record(browser_.get(), &WebBrowser::PrintFinished);
    browser_->Print(nullptr); // the double cancels an unanswered dialog
    EXPECT_EQ(TestCommonDialogs().printRequests().size(), 1u);
    EXPECT_FALSE(browser_->IsPrinting());
    EXPECT_TRUE(TestCommonDialogs().printedFiles().isEmpty());
    EXPECT_EQ(finished->size(), 0u);
}

TEST_F(WebEngineBrowserTest, PreviewDrawsTheDocument) {
    ASSERT_TRUE(show(write(QStringLiteral("p.htm"), "<p>preview me</p>")));
    browser_->PrintPreview(nullptr);
    ASSERT_EQ(TestCommonDialogs().previewFiles().size(), 1);
    EXPECT_GT(QFileInfo(TestCommonDialogs().previewFiles().first()).size(), 0);
}

TEST_F(WebEngineBrowserTest, PageSetupAsksTheDialog) {
    browser_->PageSetup(nullptr);
    EXPECT_EQ(TestCommonDialogs().pageSetupCount(), 1);
}

TEST_F(WebEngineBrowserTest, SavesTheDocumentUnderTheChosenName) {
    ASSERT_TRUE(show(write(QStringLiteral("p.htm"), "<p>saved text</p>")));
    const QString target = TestHome() + QStringLiteral("/copy.htm");
    TestCommonDialogs().queueSaveFileName(target);
    std::vector<bool> saved;
    QObject::connect(browser_.get(), &WebBrowser::SaveFinished, browser_.get(),
                     [&saved](bool ok, const QString&, const QString&) { saved.push_back(ok); });
    browser_->SaveAs(nullptr);
    ASSERT_EQ(TestCommonDialogs().saveRequests().size(), 1u);
    EXPECT_EQ(TestCommonDialogs().saveRequests().front().fileName, QStringLiteral("p.htm"));
    ASSERT_TRUE(WaitFor([&] { return !saved.empty(); }));
    EXPECT_TRUE(saved.front());
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("saved text"));
}

TEST_F(WebEngineBrowserTest, CancelledSaveWritesNothing) {
    ASSERT_TRUE(show(write(QStringLiteral("p.htm"), "<p>x</p>")));
    std::vector<bool> saved;
    QObject::connect(browser_.get(), &WebBrowser::SaveFinished, browser_.get(),
                     [&saved](bool ok, const QString&, const QString&) { saved.push_back(ok); });
    browser_->SaveAs(nullptr);
    EXPECT_EQ(saved.size(), 0u);
}

} // namespace
