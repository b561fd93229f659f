#include "platform/web/websiteview.h"

#include "platform/system/platformlog.h"
#include "platform/web/websiteaddresspolicy.h"

#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace {
QString shown(const QUrl& url) {
    return url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery);
}

// What a page fetches for itself: nothing of this computer or of the program.
class WebsiteRequests : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (!WebsiteAddressPolicy::MayRequest(info.requestUrl())) {
            info.block(true);
        }
    }
};

class WebsitePage : public QWebEnginePage {
public:
    WebsitePage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {
        connect(this, &QWebEnginePage::featurePermissionRequested, this,
                [this](const QUrl& origin, Feature feature) {
                    setFeaturePermission(origin, feature, PermissionDeniedByUser);
                });
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        if (WebsiteAddressPolicy::MayNavigate(url, isMainFrame)) {
            return true;
        }
        PlatformLog(QStringLiteral("Refused to show '") + shown(url) +
                        QStringLiteral("' in the website view"),
                    10);
        return false;
    }
    // A link or script that asks for a new window gets this page.
    QWebEnginePage* createWindow(WebWindowType) override { return this; }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}
};
} // namespace

WebsiteView::WebsiteView(QWidget* parent)
    : QWidget(parent), profile_(new QWebEngineProfile(this)), view_(new QWebEngineView(this)) {
    setObjectName(QStringLiteral("WebsiteView"));
    view_->setObjectName(QStringLiteral("webView"));
    profile_->setUrlRequestInterceptor(new WebsiteRequests(profile_));
    profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    connect(profile_, &QWebEngineProfile::downloadRequested, this,
            [this](QWebEngineDownloadRequest* download) {
                PlatformLog(QStringLiteral("Cancelled a download of '") + shown(download->url()) +
                                QStringLiteral("' in the website view"),
                            10);
                download->cancel();
                ++downloadsCancelled_;
            });
    auto* page = new WebsitePage(profile_, view_);
    QWebEngineSettings* settings = page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    view_->setPage(page);
    connect(page, &QWebEnginePage::urlChanged, this, [this] { Q_EMIT PageChanged(); });
    connect(page, &QWebEnginePage::titleChanged, this, [this] { Q_EMIT PageChanged(); });
    connect(page, &QWebEnginePage::loadFinished, this,
            [this](bool ok) { Q_EMIT LoadFinished(ok); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
}

WebsiteView::~WebsiteView() {
    // The page goes before its profile.
    delete view_;
}

bool WebsiteView::Load(const QUrl& url) {
    if (!WebsiteAddressPolicy::MayShow(url)) {
        PlatformLog(QStringLiteral("Refused to show '") + shown(url) +
                        QStringLiteral("' in the website view"),
                    10);
        return false;
    }
    view_->load(url);
    return true;
}

QUrl WebsiteView::Url() const {
    return view_->page()->url();
}

QString WebsiteView::Title() const {
    return view_->page()->title();
}
