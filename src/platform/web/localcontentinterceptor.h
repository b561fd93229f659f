#pragma once

#include "platform/web/localcontentpolicy.h"

#include <QWebEngineUrlRequestInterceptor>

// Blocks every request of a view that its content policy refuses (a remote picture, a
// style sheet from elsewhere, a file outside the allowed folders), with a log line.
class LocalContentInterceptor : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    LocalContentInterceptor(const LocalContentPolicy& policy, QObject* parent);
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    const LocalContentPolicy& policy_;
};
