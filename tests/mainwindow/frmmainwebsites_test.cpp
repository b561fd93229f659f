#include "mainwindowfixture.h"

#include "mainwindow/panes/recentmenus.h"
#include "mainwindow/panes/websitespane.h"
#include "platform/directory/controls/uwebsite.h"
#include "platform/directory/controls/uwebsiteslist.h"
#include "platform/directory/directorywebsite.h"
#include "platform/ui/usplitpanel.h"
#include "platform/web/websiteview.h"
#include "support/displaymarks.h"
#include "support/localhttpserver.h"
#include "support/waitfor.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {
// The web view starts the web engine: these run outside the sanitizers.
class WebEngineWebsitesPane : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        server = std::make_unique<LocalHttpServer>();
        server->Add("/", {"text/html; charset=utf-8",
                          "<html><head><title>  Studio &amp; Page  </title></head><body>"
                          "<a id='away' href='/other' target='_blank'>away</a></body></html>",
                          {}});
        server->Add("/other", {"text/html; charset=utf-8",
                               "<html><head><title>Other</title></head><body>other</body></html>",
                               {}});
        server->Add("/file.bin", {"application/octet-stream", QByteArray(4096, 'x'),
                                  "Content-Disposition: attachment; filename=\"file.bin\"\r\n"});
    }
    void TearDown() override {
        server.reset();
        MainWindowFixture::TearDown();
    }

    void startOnWebTab() {
        ASSERT_TRUE(startLoggedIn());
        window->show();
        window->optWeb_Click();
    }

    WebsiteView* view() const { return window->ctlWebsite->WebView(); }
    bool showing(const QString& url) const {
        return view() != nullptr && view()->Url() == QUrl(url);
    }

    std::unique_ptr<LocalHttpServer> server;
};

TEST_F(WebEngineWebsitesPane, APageTypedInIsAddedAndFoundInTheListAndTheRecentMenu) {
    startOnWebTab();
    frmMain& w = *window;
    Q_EMIT w.ctlWebsites->lvwWebsites()->itemDoubleClicked(w.ctlWebsites->NewWebsiteItem(), 0);
    EXPECT_EQ(w.ctlWebsite->txtAddress()->text(), QString());
    EXPECT_FALSE(w.ctlWebsite->cmdAddToWebsites()->isEnabled());

    w.ctlWebsite->txtAddress()->setText(server->Url("/"));
    QTest::keyClick(w.ctlWebsite->txtAddress(), Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return view() != nullptr && view()->Title() == "Studio & Page"; }));
    ASSERT_TRUE(WaitFor([&] { return w.ctlWebsite->cmdAddToWebsites()->isEnabled(); }));
    w.ctlWebsite->cmdAddToWebsites()->click();

    const auto sites = directory()->ListWebsites();
    ASSERT_EQ(sites.size(), 1);
    EXPECT_EQ(sites.front()->Address(), server->Url("/"));
    EXPECT_EQ(sites.front()->Title(), QStringLiteral("Studio & Page"));
    const qint32 page = sites.front()->Reference();
    EXPECT_NE(w.ctlWebsites->ItemOf(page), nullptr);
    EXPECT_EQ(userSetting(QStringLiteral("MRUWebsites")), QString::number(page));
    EXPECT_TRUE(w.mnuRecentWebsites->isEnabled());
    EXPECT_EQ(Unmarked(w.recentMenus->WebsiteEntry(1)->text()),
              QStringLiteral("\u00abStudio && Page\u00bb"));

    // Another, then the first chosen again: it moves to the front, once.
    auto other = std::make_shared<DirectoryWebsite>();
    other->SetAddress(server->Url("/other"));
    bool ok = false;
    directory()->AddWebsite(other, ok);
    ASSERT_TRUE(ok);
    for (qint32 r : {other->Reference(), page, page}) {
        Q_EMIT w.ctlWebsites->lvwWebsites()->itemDoubleClicked(w.ctlWebsites->ItemOf(r), 0);
    }
    EXPECT_EQ(userSetting(QStringLiteral("MRUWebsites")),
              QStringLiteral("%1|%2").arg(page).arg(other->Reference()));
    EXPECT_EQ(w.recentMenus->WebsiteEntry(2)->data().toString(),
              QString::number(other->Reference()));

    // From the File menu on another tab: the web tab comes forward with the website shown.
    w.optContacts_Click();
    w.recentMenus->WebsiteEntry(2)->trigger();
    EXPECT_TRUE(w.splitWebsites->isVisible());
    EXPECT_EQ(w.ctlWebsites->SelectedReference(), other->Reference());
    EXPECT_TRUE(WaitFor([&] { return showing(server->Url("/other")); }));
    // A website deleted meanwhile does nothing.
    w.websitesPane->mnuMRUWebsite_Click(9999);
    EXPECT_EQ(w.ctlWebsites->SelectedReference(), other->Reference());
}

TEST_F(WebEngineWebsitesPane, AddToWebsitesKeepsTheRecentListOnlyWhenStored) {
    startOnWebTab();
    frmMain& w = *window;
    w.websitesPane->ctlWebsite_AddToWebsites(QString(), QStringLiteral("No address"));
    EXPECT_EQ(userSetting(QStringLiteral("MRUWebsites")), QStringLiteral("<unset>"));
    EXPECT_TRUE(directory()->ListWebsites().isEmpty());
    w.websitesPane->ctlWebsite_AddToWebsites(QStringLiteral("https://example.org/"),
                                             QStringLiteral("Example"));
    const auto sites = directory()->ListWebsites();
    ASSERT_EQ(sites.size(), 1);
    EXPECT_EQ(userSetting(QStringLiteral("MRUWebsites")),
              QString::number(sites.front()->Reference()));
}

TEST_F(WebEngineWebsitesPane, TheViewRefusesOtherSchemesCancelsDownloadsAndKeepsNewWindows) {
    startOnWebTab();
    uWebsite& site = *window->ctlWebsite;
    ASSERT_TRUE(site.ShowWebAddress(server->Url("/")));
    ASSERT_TRUE(WaitFor([&] { return view()->Title() == "Studio & Page"; }));

    for (const char* address : {"file:///etc/passwd", "javascript:alert(1)", "orlix:open?m=1"}) {
        EXPECT_FALSE(site.ShowWebAddress(QString::fromUtf8(address))) << address;
    }
    // A page's own navigation elsewhere is refused as well.
    view()->View()->page()->runJavaScript(QStringLiteral("location.href='file:///etc/passwd'"));
    EXPECT_FALSE(WaitFor([&] { return view()->Url().scheme() == "file"; }, 1500));
    EXPECT_TRUE(showing(server->Url("/")));

    // A link to a new window opens in the view itself.
    view()->View()->page()->runJavaScript(QStringLiteral("window.open('/other')"));
    EXPECT_TRUE(WaitFor([&] { return showing(server->Url("/other")); }));

    ASSERT_TRUE(site.ShowWebAddress(server->Url("/file.bin")));
    EXPECT_TRUE(WaitFor([&] { return view()->DownloadsCancelled() == 1; }));
}
} // namespace
