#include "platform/web/websiteaddresspolicy.h"

namespace WebsiteAddressPolicy {
bool MayShow(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

bool MayRequest(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return MayShow(url) || scheme == QLatin1String("data") || scheme == QLatin1String("blob");
}

bool MayNavigate(const QUrl& url, bool isMainFrame) {
    return isMainFrame ? MayShow(url) : MayRequest(url);
}

QUrl FromTyped(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return {};
    }
    const QUrl url(trimmed.contains(QLatin1String("://")) ? trimmed
                                                          : QStringLiteral("https://") + trimmed,
                   QUrl::StrictMode);
    return MayShow(url) ? url : QUrl();
}

QString Bounded(const QString& text) {
    QString out = text.trimmed();
    if (out.size() > kMaxText) {
        qsizetype keep = kMaxText;
        if (out.at(keep - 1).isHighSurrogate()) {
            --keep;
        }
        out.truncate(keep);
    }
    return out;
}
} // namespace WebsiteAddressPolicy
