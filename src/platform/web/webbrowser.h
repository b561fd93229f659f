#pragma once

#include "platform/web/documentnavigationpolicy.h"
#include "platform/web/localcontentpolicy.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class LocalContentInterceptor;
class LockedDownPage;
class QPrinter;
class QWebEngineDownloadRequest;
class QWebEngineProfile;
class QWebEngineView;
class RefusingSchemeHandler;
struct DocumentInput;

// The browser layer's document view: shows one local document with scripts, plugins and
// remote content off, loads only files of the folders it was given, follows no link away
// from the document, and offers the four commands of a print preview: print with the print
// dialog, the print preview, page set-up and save as. Every dialog goes through
// CommonDialogs(). Each view has its own off-the-record profile: nothing it shows is kept.
class WebBrowser : public QWidget {
    Q_OBJECT
public:
    explicit WebBrowser(QWidget* parent = nullptr);
    ~WebBrowser() override;

    // Files in folder and below it may load ("" is ignored).
    void AllowFolder(const QString& folder);
    const LocalContentPolicy& ContentPolicy() const { return content_; }

    // Shows "about:blank", a local path or a file URL. A target the content policy refuses
    // is not shown (a log line says so); false then.
    bool Navigate(const QString& target);
    QUrl CurrentUrl() const;
    bool IsLoading() const { return loading_; }
    bool IsPrinting() const { return printing_; }

    // The print dialog, then the document printed; returns at once, PrintFinished follows.
    // Nothing happens when the dialog is cancelled or a print is still running.
    void Print(QWidget* owner);
    // The print preview; returns when it closes.
    void PrintPreview(QWidget* owner);
    // The page set-up dialog; what it sets holds for this view's later prints.
    void PageSetup(QWidget* owner);
    // The save dialog, then the document saved; SaveFinished follows.
    void SaveAs(QWidget* owner);

    QWebEngineView* View() const { return view_; }

    // With command links on, each link the user clicks in the main frame of the document
    // this view was asked to show is offered to BeforeNavigate first, "orlix://" links as the
    // page wrote them; a handler that sets *cancel keeps the view where it is. Off (the
    // default), no link of any document reaches the program.
    void SetCommandLinks(bool on) { commandLinks_ = on; }
    bool CommandLinks() const { return commandLinks_; }

    // The document walk (see DocumentWalk): answers come by callback, dropped when context
    // has gone.
    void ReadInputs(QObject* context, std::function<void(const QList<DocumentInput>&)> done);
    void SetInputsChecked(const QStringList& names, bool checked);
    void UncheckInputsContaining(const QString& part);
    void ReadScrollPosition(QObject* context, std::function<void(QPoint)> done);
    void SetScrollPosition(QPoint position);

Q_SIGNALS:
    void BeforeNavigate(const QString& url, bool* cancel);
    void LoadFinished(bool ok);
    void PrintFinished(bool ok);
    // error: the reason a save failed, "" on success.
    void SaveFinished(bool ok, const QString& path, const QString& error);

private:
    void onDownloadRequested(QWebEngineDownloadRequest* download);
    bool printAndWait(QPrinter* printer);

    LocalContentPolicy content_;
    DocumentNavigationPolicy navigation_;
    std::unique_ptr<QWebEngineProfile> profile_;
    LocalContentInterceptor* interceptor_ = nullptr; // child of profile_
    RefusingSchemeHandler* commandScheme_ = nullptr; // child of profile_
    std::unique_ptr<LockedDownPage> page_;
    QWebEngineView* view_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    QString pendingSave_;
    bool loading_ = false;
    bool printing_ = false;
    bool commandLinks_ = false;
};
