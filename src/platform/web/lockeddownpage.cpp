#include "platform/web/lockeddownpage.h"

#include "platform/system/platformlog.h"

DocumentNavigationPolicy::Kind LockedDownPage::KindOf(NavigationType type) {
    using K = DocumentNavigationPolicy::Kind;
    switch (type) {
    case QWebEnginePage::NavigationTypeLinkClicked:
        return K::LinkClicked;
    case QWebEnginePage::NavigationTypeTyped:
        return K::Typed;
    case QWebEnginePage::NavigationTypeFormSubmitted:
        return K::FormSubmitted;
    case QWebEnginePage::NavigationTypeBackForward:
        return K::BackForward;
    case QWebEnginePage::NavigationTypeReload:
        return K::Reload;
    case QWebEnginePage::NavigationTypeRedirect:
        return K::Redirect;
    case QWebEnginePage::NavigationTypeOther:
        break;
    }
    return K::Other;
}

LockedDownPage::LockedDownPage(QWebEngineProfile* profile, const LocalContentPolicy& content,
                               const DocumentNavigationPolicy& navigation, QObject* parent)
    : QWebEnginePage(profile, parent), content_(content), navigation_(navigation) {}

bool LockedDownPage::acceptNavigationRequest(const QUrl& url, NavigationType type,
                                             bool isMainFrame) {
    using Verdict = DocumentNavigationPolicy::Verdict;
    const Verdict verdict = navigation_.Decide(url, KindOf(type), isMainFrame, this->url(),
                                               content_.MayLoad(url), linkFilter_);
    if (verdict == Verdict::Refuse) {
        PlatformLog(QStringLiteral("Refused a navigation to '") +
                        url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery) +
                        QStringLiteral("' in a document view"),
                    10);
    }
    return verdict == Verdict::Follow;
}

QWebEnginePage* LockedDownPage::createWindow(WebWindowType /*type*/) {
    return nullptr;
}

void LockedDownPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel /*level*/,
                                              const QString& /*message*/, int /*line*/,
                                              const QString& /*source*/) {}
