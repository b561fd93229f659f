#include "platform/web/commandlinks.h"

#include <QWebEngineUrlRequestJob>

namespace CommandLinks {

QString RewriteScript() {
    return QStringLiteral("(function(){var l=document.querySelectorAll('a[href],area[href]');"
                          "var own=/^(https?|file|data|about|orlixlink)$/i;"
                          "for(var i=0;i<l.length;i++){var h=l[i].getAttribute('href');"
                          "var m=/^\\s*orlix:\\/\\//i.exec(h);"
                          "if(m){l[i].setAttribute('href','orlix:///'+"
                          "encodeURIComponent(h.substring(m[0].length)));continue;}"
                          "var s=/^\\s*([a-z][a-z0-9+.\\-]*):/i.exec(h);"
                          "if(s&&!own.test(s[1])){l[i].setAttribute('href','orlixlink:///'+"
                          "encodeURIComponent(h.trim()));}}})()");
}

std::optional<QString> LinkText(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    const bool command = scheme == QLatin1String(kScheme);
    if (!command && scheme != QLatin1String(kWrappedScheme)) {
        return std::nullopt;
    }
    QString path = url.path(QUrl::FullyDecoded);
    if (path.startsWith(QLatin1Char('/'))) {
        path.remove(0, 1);
    }
    if (url.hasQuery()) {
        path += QLatin1Char('?') + url.query(QUrl::FullyDecoded);
    }
    return command ? QStringLiteral("orlix://") + path : path;
}

} // namespace CommandLinks

void RefusingSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    if (job != nullptr) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
    }
}
