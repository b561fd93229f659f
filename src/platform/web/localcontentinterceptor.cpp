#include "platform/web/localcontentinterceptor.h"

#include "platform/system/platformlog.h"

LocalContentInterceptor::LocalContentInterceptor(const LocalContentPolicy& policy, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), policy_(policy) {}

void LocalContentInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
    const QUrl url = info.requestUrl();
    if (!policy_.MayLoad(url)) {
        info.block(true);
        PlatformLog(QStringLiteral("Blocked a load of '") +
                        url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery) +
                        QStringLiteral("' in a document view"),
                    10);
    }
}
