#include "platform/web/uwebbrowser.h"

#include "platform/web/webbrowser.h"
#include "support/testhome.h"
#include "support/waitfor.h"

#include <QDir>
#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>

namespace {
QString WriteDocument(const QString& folder, const QByteArray& html) {
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/page.htm");
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(html);
    return path;
}
} // namespace

TEST(WebEngineDocumentView, TheFirstNavigateMakesTheBrowserWithTheFoldersGivenBefore) {
    const QString first = TestHome() + QStringLiteral("/print");
    const QString second = TestHome() + QStringLiteral("/scripts");
    const QString page = WriteDocument(first, "<p>Winners</p>");
    const QString later = WriteDocument(second, "<p>Script</p>");

    uWebBrowser view;
    view.resize(640, 480);
    view.show();
    view.AllowFolder(first);
    ASSERT_TRUE(view.Navigate(page));
    ASSERT_TRUE(view.HasBrowser());
    WebBrowser* browser = view.Browser();
    EXPECT_EQ(view.CurrentPath(), page);
    // The load goes on after Navigate returns: its end is still to come.
    std::optional<bool> loaded;
    QObject::connect(browser, &WebBrowser::LoadFinished, browser, [&](bool ok) { loaded = ok; });
    ASSERT_TRUE(WaitFor([&] { return loaded.has_value(); }));
    EXPECT_TRUE(*loaded);
    EXPECT_EQ(browser->CurrentUrl(), QUrl::fromLocalFile(page));

    // A folder allowed afterwards goes straight to the same browser.
    EXPECT_FALSE(view.Navigate(later));
    view.AllowFolder(second);
    EXPECT_TRUE(view.Navigate(later));
    EXPECT_EQ(view.Browser(), browser);
    EXPECT_TRUE(WaitFor([&] { return browser->CurrentUrl() == QUrl::fromLocalFile(later); }));

    view.ClearDocument();
    EXPECT_EQ(view.CurrentPath(), QString());
    EXPECT_TRUE(
        WaitFor([&] { return browser->CurrentUrl() == QUrl(QStringLiteral("about:blank")); }));
    EXPECT_EQ(view.Browser(), browser);
}
