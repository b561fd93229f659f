#pragma once

#include "platform/web/documentnavigationpolicy.h"
#include "platform/web/localcontentpolicy.h"

#include <QWebEnginePage>

// A page that obeys its navigation policy, opens no windows and keeps the script console
// quiet (scripts are off; a message there would come from the engine's own pages).
class LockedDownPage : public QWebEnginePage {
    Q_OBJECT
public:
    LockedDownPage(QWebEngineProfile* profile, const LocalContentPolicy& content,
                   const DocumentNavigationPolicy& navigation, QObject* parent);

    // Offered first every link the user clicks in the main frame of the document the program
    // asked for; true cancels the navigation (the filter has dealt with it). Links in any
    // other document, in frames, redirects and forms never reach it.
    using LinkFilter = DocumentNavigationPolicy::LinkFilter;
    void SetLinkFilter(LinkFilter filter) { linkFilter_ = std::move(filter); }

    // The engine's kind of navigation in the policy's terms.
    static DocumentNavigationPolicy::Kind KindOf(NavigationType type);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override;

private:
    const LocalContentPolicy& content_;
    const DocumentNavigationPolicy& navigation_;
    LinkFilter linkFilter_;
};
