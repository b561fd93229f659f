#include "platform/system/platformlog.h"
#include "platform/web/documentwalk.h"
#include "platform/web/webbrowser.h"
#include "support/testhome.h"
#include "support/waitfor.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

// Links the user clicks in a document view, and what reaches the program of them.
class WebEngineCommandLinks : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = TestHome() + QStringLiteral("/docs");
        QDir().mkpath(folder_);
        SetPlatformLogHandler([](const QString&, int) {});
        browser_ = std::make_unique<WebBrowser>();
        browser_->resize(640, 480);
        browser_->show();
        browser_->AllowFolder(folder_);
        QObject::connect(browser_.get(), &WebBrowser::BeforeNavigate,
                         [this](const QString& url, bool* cancel) {
                             offered_ << url;
                             *cancel = true;
                         });
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
    void show(const QString& path) {
        bool loaded = false;
        const auto c = QObject::connect(browser_.get(), &WebBrowser::LoadFinished,
                                        [&](bool ok) { loaded = ok; });
        ASSERT_TRUE(browser_->Navigate(path));
        ASSERT_TRUE(WaitFor([&] { return loaded; }));
        QObject::disconnect(c);
        // The rewrite runs once the document is ready; its effect is what the user clicks.
        ASSERT_TRUE(WaitFor([&] { return run("document.readyState") == "complete"; }));
    }
    QVariant run(const QString& script) {
        std::optional<QVariant> answer;
        browser_->View()->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                                [&](const QVariant& v) { answer = v; });
        EXPECT_TRUE(WaitFor([&] { return answer.has_value(); }));
        return answer.value_or(QVariant());
    }
    void click(const char* elementId, QPoint offset = {}) {
        const QVariantList at =
            run(QStringLiteral("(function(){var e=document.getElementById('%1');"
                               "var r=e.getBoundingClientRect();return[r.left+4,r.top+4];})()")
                    .arg(QLatin1String(elementId)))
                .toList();
        ASSERT_EQ(at.size(), 2);
        const QPoint point = QPoint(qRound(at[0].toDouble()), qRound(at[1].toDouble())) + offset;
        // Apart in time, as a user's clicks are: two quick ones would make a double click.
        QTest::mouseClick(browser_->View()->focusProxy(), Qt::LeftButton, {}, point, 600);
    }

    QString folder_;
    QStringList offered_;
    std::unique_ptr<WebBrowser> browser_;
};

TEST_F(WebEngineCommandLinks, AClickOffersTheLinkAsWrittenOnlyWhereCommandLinksAreOn) {
    const QString path =
        write(QStringLiteral("list.htm"), "<a id='a' href='orlix://openmessage(1234)'>open</a><br>"
                                          "<a id='b' href='ORLIX://DeleteMessages'>delete</a>");
    show(path);
    click("a");
    EXPECT_FALSE(WaitFor([&] { return !offered_.isEmpty(); }, 1500)) << "command links off";

    browser_->SetCommandLinks(true);
    click("a");
    ASSERT_TRUE(WaitFor([&] { return offered_.size() == 1; }));
    click("b");
    ASSERT_TRUE(WaitFor([&] { return offered_.size() == 2; }));
    EXPECT_EQ(offered_, (QStringList{QStringLiteral("orlix://openmessage(1234)"),
                                     QStringLiteral("orlix://DeleteMessages")}));
    EXPECT_EQ(browser_->CurrentUrl(), QUrl::fromLocalFile(path)); // the view never went blank
}

TEST_F(WebEngineCommandLinks, LinksInAFrameNeverReachTheProgram) {
    write(QStringLiteral("frame.htm"), "<a id='f' href='orlix://deletemessages'>"
                                       "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx</a>");
    const QString path = write(QStringLiteral("outer.htm"),
                               "<iframe id='frame' src='frame.htm' width='400' height='200' "
                               "style='border:0;margin:0'></iframe>");
    browser_->SetCommandLinks(true);
    show(path);
    click("frame", QPoint(8, 8));
    EXPECT_FALSE(WaitFor([&] { return !offered_.isEmpty(); }, 1500));
    EXPECT_EQ(browser_->CurrentUrl(), QUrl::fromLocalFile(path));
}

} // namespace
