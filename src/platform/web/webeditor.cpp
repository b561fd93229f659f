#include "platform/web/webeditor.h"

#include "platform/system/platformlog.h"
#include "platform/ui/fontresolution.h"
#include "platform/web/documentwalk.h"
#include "platform/web/scriptanswer.h"
#include "platform/web/webbrowser.h"
#include "platform/web/webeditorbridge.h"
#include "platform/web/webeditorscript.h"

#include <QClipboard>
#include <QColor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <memory>

namespace {
constexpr quint32 kWorld = QWebEngineScript::ApplicationWorld;
// A print the engine never answers must not hold the window for ever.
constexpr int kPrintDeadlineMs = 120000;
// A page that does not answer in this time prints as it is.
constexpr int kCaretDeadlineMs = 5000;

QString literalList(const QStringList& items) {
    QString list;
    for (const QString& item : items) {
        if (!list.isEmpty()) {
            list += QLatin1Char(',');
        }
        list += WebEditorScript::Literal(item);
    }
    return list;
}
} // namespace

WebEditor::WebEditor(QWidget* parent) : QWidget(parent) {
    browser_ = new WebBrowser(this);
    bridge_ = new WebEditorBridge(this);
    channel_ = new QWebChannel(this);
    channel_->registerObject(QStringLiteral("orlixEditorBridge"), bridge_);
    browser_->View()->page()->setWebChannel(channel_, kWorld);
    connect(browser_, &WebBrowser::LoadFinished, this, &WebEditor::onBlankLoaded);
    connect(bridge_, &WebEditorBridge::Edited, this, [this] {
        if (!loading_) {
            Q_EMIT Edited();
        }
    });
    connect(bridge_, &WebEditorBridge::SelectionReported, this, &WebEditor::takeReport);
    connect(browser_->View()->page(), &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                PlatformLog(QStringLiteral("An editor's web process ended (status %1, code %2)")
                                .arg(int(status))
                                .arg(exitCode));
                pending_.reset();
                pendingStyle_.clear();
                pendingSelectAll_ = false;
                ++generation_; // answers still due belong to the document that has gone
                loading_ = false;
                state_ = WebEditorState();
                Q_EMIT ProcessEnded();
            });
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        connect(clipboard, &QClipboard::dataChanged, this, [this] {
            const bool canPaste = editing_ && clipboardHasText();
            if (canPaste != state_.canPaste) {
                state_.canPaste = canPaste;
                Q_EMIT StateChanged(state_);
            }
        });
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    setFocusProxy(browser_->View());
}

WebEditor::~WebEditor() {
    // The page answers the scripts still running as it goes: those answers find no editor.
    alive_.reset();
    // A process that ends with the page is no loss to report.
    disconnect(browser_->View()->page(), nullptr, this, nullptr);
    // The page holds the channel: the page goes first.
    delete browser_;
    browser_ = nullptr;
}

QWebEngineView* WebEditor::View() const {
    return browser_->View();
}

void WebEditor::SetHtml(const QString& html) {
    pending_ = html;
    pendingStyle_.clear();
    pendingSelectAll_ = false;
    retried_ = false;
    ++generation_;
    loading_ = true;
    state_ = WebEditorState();
    if (!browser_->Navigate(QStringLiteral("about:blank"))) {
        pending_.reset();
        loading_ = false;
        Q_EMIT LoadFinished(false);
    }
}

void WebEditor::onBlankLoaded(bool ok) {
    if (!pending_) {
        return; // not a load of ours
    }
    if (!ok) {
        if (browser_->IsLoading()) {
            return; // superseded by the blank page of a newer SetHtml
        }
        if (!retried_) {
            // An abort whose successor has not started yet looks the same: one more try.
            retried_ = true;
            browser_->Navigate(QStringLiteral("about:blank"));
            return;
        }
        pending_.reset();
        loading_ = false;
        PlatformLog(QStringLiteral("An editor's empty page did not load"));
        Q_EMIT LoadFinished(false);
        return;
    }
    const QString source = WebEditorScript::Setup() + QStringLiteral("orlixEditor.write(") +
                           WebEditorScript::Literal(*pending_) + QLatin1Char(',') +
                           (editing_ ? QLatin1String("true") : QLatin1String("false")) +
                           QStringLiteral(")&&orlixEditor.bodyStyle([") +
                           literalList(pendingStyle_) + QStringLiteral("])");
    pending_.reset();
    pendingStyle_.clear();
    const quint64 generation = generation_;
    const std::weak_ptr<bool> alive = alive_;
    WebEditor* const self = this;
    browser_->View()->page()->runJavaScript(
        source, kWorld, [alive, self, generation](const QVariant& written) {
            if (alive.expired() || generation != self->generation_) {
                return;
            }
            // The state goes with the load's end, with a selection asked for meanwhile.
            const QString after =
                self->pendingSelectAll_
                    ? QStringLiteral("orlixEditor.selectAll();orlixEditor.state()")
                    : QStringLiteral("orlixEditor.state()");
            self->pendingSelectAll_ = false;
            self->RunInEditorWorld(
                after, [alive, self, generation,
                        ok = ScriptAnswer::Flag(written).value_or(false)](const QVariant& report) {
                    if (alive.expired() || generation != self->generation_) {
                        return;
                    }
                    self->loading_ = false;
                    self->takeReport(ScriptAnswer::Record(report).value_or(QVariantMap()));
                    Q_EMIT self->LoadFinished(ok);
                });
        });
}

void WebEditor::SetEditMode(bool on) {
    editing_ = on;
    RunInEditorWorld(QStringLiteral("window.orlixEditor?orlixEditor.setEditing(%1):false")
                         .arg(on ? QLatin1String("true") : QLatin1String("false")));
    RunInEditorWorld(QStringLiteral("window.orlixEditor?orlixEditor.restoreSelection():false"));
}

void WebEditor::SetBodyStyle(const QList<std::pair<QString, QString>>& properties) {
    QStringList flat;
    for (const auto& [name, value] : properties) {
        flat << name << value;
    }
    if (loading_) {
        pendingStyle_ << flat;
        return;
    }
    RunInEditorWorld(QStringLiteral("window.orlixEditor?orlixEditor.bodyStyle([") +
                     literalList(flat) + QStringLiteral("]):false"));
}

bool WebEditor::PrintAndWait(QPrinter* printer) {
    if (printer == nullptr) {
        return false;
    }
    if (editing_) {
        // The caret is cleared before the engine is asked to print, or it may print the one
        // it drew last.
        QEventLoop cleared;
        const QPointer<QEventLoop> waiting(&cleared);
        auto answered = std::make_shared<bool>(false);
        RunInEditorWorld(QStringLiteral("window.orlixEditor?orlixEditor.printing(true):false"),
                         [waiting, answered](const QVariant&) {
                             *answered = true;
                             if (waiting) {
                                 waiting->quit();
                             }
                         });
        QTimer::singleShot(kCaretDeadlineMs, &cleared, &QEventLoop::quit);
        if (!*answered) {
            cleared.exec();
        }
    }
    QEventLoop loop;
    bool result = false;
    const auto done = connect(View(), &QWebEngineView::printFinished, &loop, [&](bool ok) {
        result = ok;
        loop.quit();
    });
    QTimer::singleShot(kPrintDeadlineMs, &loop, &QEventLoop::quit);
    View()->print(printer);
    loop.exec();
    disconnect(done);
    RunInEditorWorld(QStringLiteral("window.orlixEditor?orlixEditor.printing(false):false"));
    return result;
}

void WebEditor::ReadHtml(QObject* context,
                         std::function<void(const std::optional<QString>&)> done) {
    if (!done) {
        return;
    }
    const QPointer<QObject> guard(context);
    RunInEditorWorld(QStringLiteral("window.orlixEditor?orlixEditor.html():null"),
                     [guard, done = std::move(done)](const QVariant& result) {
                         if (guard.isNull()) {
                             return;
                         }
                         done(ScriptAnswer::Text(result));
                     });
}

std::optional<QString> WebEditor::HtmlNow(int deadlineMs) {
    QEventLoop loop;
    auto answer = std::make_shared<std::optional<std::optional<QString>>>();
    ReadHtml(&loop, [answer, &loop](const std::optional<QString>& html) {
        *answer = html;
        loop.quit();
    });
    QTimer::singleShot(deadlineMs, &loop, &QEventLoop::quit);
    if (!answer->has_value()) {
        loop.exec();
    }
    if (!answer->has_value()) {
        PlatformLog(QStringLiteral("An editor did not give its document back in time"));
        return std::nullopt;
    }
    return **answer;
}

void WebEditor::ReadPlainText(QObject* context, std::function<void(const QString&)> done) {
    if (!done) {
        return;
    }
    const QPointer<QObject> guard(context);
    RunInEditorWorld(QStringLiteral("window.orlixEditor?orlixEditor.text():''"),
                     [guard, done = std::move(done)](const QVariant& result) {
                         if (!guard.isNull()) {
                             done(ScriptAnswer::Text(result).value_or(QString()));
                         }
                     });
}

bool WebEditor::SetFontSize(int size) {
    if (size < 1 || size > 7) {
        return false;
    }
    exec(QStringLiteral("fontSize"), QString::number(size));
    return true;
}

void WebEditor::SetFontName(const QString& family) {
    // The face as named, then the face the program draws for it here, as the engine ignores a
    // name it has no face for.
    const QString families = FontResolution::CssFamilies(family);
    if (!families.isEmpty()) {
        exec(QStringLiteral("fontName"), families);
    }
}

void WebEditor::SetForeColour(const QColor& colour) {
    if (colour.isValid()) {
        exec(QStringLiteral("foreColor"), colour.name(QColor::HexRgb));
    }
}

bool WebEditor::IsLinkAllowed(const QString& address) {
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid()) {
        return false;
    }
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("mailto")) {
        return !url.path().isEmpty();
    }
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

bool WebEditor::CreateLink(const QString& address) {
    if (!IsLinkAllowed(address)) {
        return false;
    }
    exec(QStringLiteral("createLink"), address.trimmed());
    return true;
}

void WebEditor::exec(const QString& command, const QString& value) {
    if (!editing_ || loading_) {
        return;
    }
    RunInEditorWorld(
        QStringLiteral("window.orlixEditor?orlixEditor.exec(") + WebEditorScript::Literal(command) +
        (value.isNull() ? QString() : QLatin1Char(',') + WebEditorScript::Literal(value)) +
        QStringLiteral("):false"));
}

void WebEditor::Cut() {
    if (editing_ && !loading_) {
        browser_->View()->page()->triggerAction(QWebEnginePage::Cut);
    }
}

void WebEditor::Copy() {
    if (!loading_) {
        browser_->View()->page()->triggerAction(QWebEnginePage::Copy);
    }
}

void WebEditor::Paste() {
    if (editing_ && !loading_) {
        browser_->View()->page()->triggerAction(QWebEnginePage::Paste);
    }
}

void WebEditor::SelectAll() {
    if (loading_) {
        pendingSelectAll_ = true;
        return;
    }
    RunInEditorWorld(QStringLiteral("window.orlixEditor?orlixEditor.selectAll():false"));
}

void WebEditor::ReadState(QObject* context, std::function<void(const WebEditorState&)> done) {
    const QPointer<QObject> guard(context);
    const std::weak_ptr<bool> alive = alive_;
    WebEditor* const self = this;
    RunInEditorWorld(QStringLiteral("window.orlixEditor?orlixEditor.state():null"),
                     [alive, self, guard, done = std::move(done)](const QVariant& result) {
                         if (alive.expired()) {
                             return;
                         }
                         if (const auto report = ScriptAnswer::Record(result)) {
                             self->takeReport(*report);
                         }
                         if (done && !guard.isNull()) {
                             done(self->state_);
                         }
                     });
}

void WebEditor::takeReport(const QVariantMap& report) {
    if (loading_) {
        return;
    }
    state_ = WebEditorState::FromReport(report, editing_, clipboardHasText());
    Q_EMIT StateChanged(state_);
}

bool WebEditor::clipboardHasText() const {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
    return data != nullptr && (data->hasText() || data->hasHtml());
}

void WebEditor::ReadScrollPosition(QObject* context, std::function<void(QPoint)> done) {
    browser_->ReadScrollPosition(context, std::move(done));
}

void WebEditor::SetScrollPosition(QPoint position) {
    browser_->SetScrollPosition(position);
}

void WebEditor::ScrollBy(int dx, int dy) {
    RunInEditorWorld(QStringLiteral("window.scrollBy(%1,%2)").arg(dx).arg(dy));
}

void WebEditor::RunInEditorWorld(const QString& source, std::function<void(const QVariant&)> done) {
    QWebEnginePage* page = browser_->View()->page();
    if (done) {
        page->runJavaScript(source, kWorld, std::move(done));
    } else {
        page->runJavaScript(source, kWorld);
    }
}
