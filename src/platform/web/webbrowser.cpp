#include "platform/web/webbrowser.h"

#include "platform/system/platformlog.h"
#include "platform/ui/commondialogs.h"
#include "platform/web/commandlinks.h"
#include "platform/web/documentwalk.h"
#include "platform/web/localcontentinterceptor.h"
#include "platform/web/lockeddownpage.h"
#include "platform/web/lockeddownsettings.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <QPrinter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {
// A print the engine never answers must not hold the window for ever.
constexpr int kPrintDeadlineMs = 120000;

QUrl urlOf(const QString& target) {
    if (target.compare(QLatin1String("about:blank"), Qt::CaseInsensitive) == 0) {
        return QUrl(QStringLiteral("about:blank"));
    }
    if (target.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        return QUrl(target);
    }
    return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}
} // namespace

WebBrowser::WebBrowser(QWidget* parent)
    : QWidget(parent), profile_(std::make_unique<QWebEngineProfile>()),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    interceptor_ = new LocalContentInterceptor(content_, profile_.get());
    profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile_->setSpellCheckEnabled(false);
    ApplyLockedDownSettings(profile_->settings());
    connect(profile_.get(), &QWebEngineProfile::downloadRequested, this,
            &WebBrowser::onDownloadRequested);

    page_ = std::make_unique<LockedDownPage>(profile_.get(), content_, navigation_, nullptr);
    page_->setUrlRequestInterceptor(interceptor_);
    commandScheme_ = new RefusingSchemeHandler(profile_.get());
    profile_->installUrlSchemeHandler(CommandLinks::kScheme, commandScheme_);
    profile_->installUrlSchemeHandler(CommandLinks::kWrappedScheme, commandScheme_);
    QWebEngineScript rewrite;
    rewrite.setName(QStringLiteral("orlix-command-links"));
    rewrite.setSourceCode(CommandLinks::RewriteScript());
    rewrite.setInjectionPoint(QWebEngineScript::DocumentReady);
    rewrite.setWorldId(QWebEngineScript::ApplicationWorld);
    rewrite.setRunsOnSubFrames(false);
    page_->scripts().insert(rewrite);
    page_->SetLinkFilter([this](const QUrl& url) {
        if (!commandLinks_) {
            return false;
        }
        bool cancel = false;
        const std::optional<QString> written = CommandLinks::LinkText(url);
        Q_EMIT BeforeNavigate(written ? *written : url.toString(), &cancel);
        return cancel;
    });
    ApplyLockedDownSettings(page_->settings());
    connect(page_.get(), &QWebEnginePage::loadStarted, this, [this] { loading_ = true; });
    connect(page_.get(), &QWebEnginePage::loadFinished, this, [this](bool ok) {
        loading_ = false;
        Q_EMIT LoadFinished(ok);
    });

    view_ = new QWebEngineView(this);
    view_->setPage(page_.get());
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    view_->setAcceptDrops(false);
    connect(view_, &QWebEngineView::printFinished, this, [this](bool ok) {
        if (!printing_) {
            return; // the preview's own print, answered in printAndWait
        }
        printing_ = false;
        Q_EMIT PrintFinished(ok);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
}

WebBrowser::~WebBrowser() {
    // The engine wants the view gone before its page, and the page before its profile.
    delete view_;
    view_ = nullptr;
    page_.reset();
    profile_.reset();
}

void WebBrowser::AllowFolder(const QString& folder) {
    content_.AllowFolder(folder);
}

bool WebBrowser::Navigate(const QString& target) {
    const QUrl url = urlOf(target);
    if (!content_.MayLoad(url)) {
        PlatformLog(QStringLiteral("A document view was asked to show '") + target +
                    QStringLiteral("', which lies outside its folders"));
        return false;
    }
    navigation_.Expect(url);
    page_->load(url);
    return true;
}

void WebBrowser::ReadInputs(QObject* context,
                            std::function<void(const QList<DocumentInput>&)> done) {
    DocumentWalk::ReadInputs(page_.get(), context, std::move(done));
}

void WebBrowser::SetInputsChecked(const QStringList& names, bool checked) {
    DocumentWalk::SetInputsChecked(page_.get(), names, checked);
}

void WebBrowser::UncheckInputsContaining(const QString& part) {
    DocumentWalk::UncheckInputsContaining(page_.get(), part);
}

void WebBrowser::ReadScrollPosition(QObject* context, std::function<void(QPoint)> done) {
    DocumentWalk::ReadScrollPosition(page_.get(), context, std::move(done));
}

void WebBrowser::SetScrollPosition(QPoint position) {
    DocumentWalk::SetScrollPosition(page_.get(), position);
}

QUrl WebBrowser::CurrentUrl() const {
    return page_->url();
}

void WebBrowser::Print(QWidget* owner) {
    if (printing_) {
        return;
    }
    PrintDialogRequest request;
    request.owner = owner != nullptr ? owner : window();
    if (!CommonDialogs().askPrint(*printer_, request)) {
        return;
    }
    printing_ = true;
    view_->print(printer_.get());
}

bool WebBrowser::printAndWait(QPrinter* printer) {
    if (printing_ || printer == nullptr) {
        return false;
    }
    QEventLoop loop;
    bool result = false;
    const auto done = connect(view_, &QWebEngineView::printFinished, &loop, [&](bool ok) {
        result = ok;
        loop.quit();
    });
    QTimer::singleShot(kPrintDeadlineMs, &loop, &QEventLoop::quit);
    view_->print(printer);
    loop.exec();
    disconnect(done);
    return result;
}

void WebBrowser::PrintPreview(QWidget* owner) {
    if (printing_) {
        return;
    }
    QPointer<WebBrowser> self(this);
    CommonDialogs().showPrintPreview(*printer_, owner != nullptr ? owner : window(),
                                     [self](QPrinter* p) {
                                         if (self) {
                                             self->printAndWait(p);
                                         }
                                     });
}

void WebBrowser::PageSetup(QWidget* owner) {
    CommonDialogs().askPageSetup(*printer_, owner != nullptr ? owner : window());
}

void WebBrowser::SaveAs(QWidget* owner) {
    SaveDialogRequest request;
    request.title = QStringLiteral("Save HTML Document");
    request.fileName = QFileInfo(CurrentUrl().toLocalFile()).fileName();
    request.filter = QStringLiteral("HTML Files (*.htm *.html);;Web Archive, single file (*.mht)");
    request.owner = owner != nullptr ? owner : window();
    const QString path = CommonDialogs().askSaveFileName(request);
    if (path.isEmpty()) {
        return;
    }
    const QString ext = QFileInfo(path).suffix().toLower();
    const auto format = (ext == QLatin1String("mht") || ext == QLatin1String("mhtml"))
                            ? QWebEngineDownloadRequest::MimeHtmlSaveFormat
                            : QWebEngineDownloadRequest::CompleteHtmlSaveFormat;
    pendingSave_ = path;
    page_->save(path, format);
}

void WebBrowser::onDownloadRequested(QWebEngineDownloadRequest* download) {
    if (download == nullptr) {
        return;
    }
    if (!download->isSavePageDownload() || pendingSave_.isEmpty()) {
        // Documents never start downloads of their own.
        download->cancel();
        return;
    }
    const QString path = pendingSave_;
    connect(download, &QWebEngineDownloadRequest::isFinishedChanged, this, [this, download, path] {
        if (!download->isFinished()) {
            return;
        }
        pendingSave_.clear();
        const bool ok = download->state() == QWebEngineDownloadRequest::DownloadCompleted;
        const QString error = ok ? QString() : download->interruptReasonString();
        if (!ok) {
            PlatformLog(QStringLiteral("Saving the document to '") + path +
                        QStringLiteral("' failed: ") + error);
        }
        Q_EMIT SaveFinished(ok, path, error);
    });
    download->accept();
}
