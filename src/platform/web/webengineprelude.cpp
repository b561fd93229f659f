#include "platform/web/webengineprelude.h"

#include <QCoreApplication>
#include <QWebEngineUrlScheme>

#include <unistd.h>

void PrepareWebEngineBeforeApplication() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    QWebEngineUrlScheme scheme("orlix");
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
    QWebEngineUrlScheme wrapped("orlixlink");
    wrapped.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    wrapped.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(wrapped);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
}
