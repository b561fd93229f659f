#include "platform/web/websiteaddresspolicy.h"

#include <gtest/gtest.h>

TEST(WebsiteAddressPolicyTest, OnlyWebPagesAreShown) {
    const struct {
        const char* url;
        bool show;
        bool request;
    } cases[] = {
        {"https://example.org/", true, true},
        {"HTTP://example.org/a?b=c", true, true},
        {"http://127.0.0.1:8080/", true, true},
        {"file:///etc/passwd", false, false},
        {"javascript:alert(1)", false, false},
        {"orlix:open?message=1", false, false},
        {"ftp://example.org/", false, false},
        {"about:blank", false, false},
        {"data:text/html,<b>x</b>", false, true},
        {"blob:https://example.org/1", false, true},
        {"https://", false, false},
        {"", false, false},
    };
    for (const auto& c : cases) {
        const QUrl url(QString::fromUtf8(c.url));
        EXPECT_EQ(WebsiteAddressPolicy::MayShow(url), c.show) << c.url;
        EXPECT_EQ(WebsiteAddressPolicy::MayRequest(url), c.request) << c.url;
    }
}

TEST(WebsiteAddressPolicyTest, AFrameMayAlsoShowThePagesInlineDocuments) {
    const struct {
        const char* url;
        bool mainFrame;
        bool frame;
    } cases[] = {
        {"https://example.org/", true, true},
        {"data:text/html,<b>x</b>", false, true},
        {"blob:https://example.org/1", false, true},
        {"file:///etc/passwd", false, false},
        {"javascript:alert(1)", false, false},
        {"orlix:///openmessage%2812%29", false, false},
        {"about:blank", false, false},
    };
    for (const auto& c : cases) {
        const QUrl url(QString::fromUtf8(c.url));
        EXPECT_EQ(WebsiteAddressPolicy::MayNavigate(url, true), c.mainFrame) << c.url;
        EXPECT_EQ(WebsiteAddressPolicy::MayNavigate(url, false), c.frame) << c.url;
    }
}

TEST(WebsiteAddressPolicyTest, TypedAddressesGetHttpsWhenBare) {
    const struct {
        const char* typed;
        const char* url;
    } cases[] = {
        {"example.org", "https://example.org"},
        {"  example.org/path?q=1  ", "https://example.org/path?q=1"},
        {"http://example.org/", "http://example.org/"},
        {"https://example.org", "https://example.org"},
        {"file:///etc/passwd", ""},
        {"javascript:alert(1)", ""},
        {"orlix://open", ""},
        {"", ""},
        {"   ", ""},
    };
    for (const auto& c : cases) {
        const QUrl url = WebsiteAddressPolicy::FromTyped(QString::fromUtf8(c.typed));
        EXPECT_EQ(url.toString(), QString::fromUtf8(c.url)) << c.typed;
        EXPECT_EQ(url.isValid(), *c.url != '\0') << c.typed;
    }
}

TEST(WebsiteAddressPolicyTest, TextsAreTrimmedAndBounded) {
    EXPECT_EQ(WebsiteAddressPolicy::Bounded(QStringLiteral("  Station  ")),
              QStringLiteral("Station"));
    EXPECT_EQ(WebsiteAddressPolicy::Bounded(QString(250, QLatin1Char('x'))).size(), 200);
    EXPECT_EQ(WebsiteAddressPolicy::Bounded(QString(200, QLatin1Char('x'))).size(), 200);
    // A character outside the basic plane is never cut in half.
    const QString note = QString::fromUtf8("\xF0\x9F\x8E\xB5");
    const QString bounded = WebsiteAddressPolicy::Bounded(QString(199, QLatin1Char('x')) + note);
    EXPECT_EQ(bounded, QString(199, QLatin1Char('x')));
}
