#include "messaging/webbodyeditor.h"

#include "messaging/linkdialog.h"

#include "platform/mime/replytext.h"
#include "platform/mime/safehtml.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/fontconversion.h"
#include "platform/web/htmltext.h"
#include "platform/web/scriptanswer.h"

#include "platform/system/platformlog.h"

#include <QEventLoop>
#include <QFont>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWebEngineView>

#include <algorithm>

WebBodyEditor::WebBodyEditor(QWidget* parent) : WebEditor(parent) {
    connect(this, &WebEditor::Edited, this, [this] {
        reported_ = std::min(reported_ + 1, typed_);
        readBack();
    });
    connect(this, &WebEditor::StateChanged, this, [this] {
        if (OnSelectionChanged) {
            OnSelectionChanged();
        }
    });
    connect(this, &WebEditor::LoadFinished, this, [this](bool) {
        if (queued_) {
            const QString next = *queued_;
            queued_.reset();
            SetHtml(next);
            return;
        }
        watchKeys();
        readLoadedMarkup();
        if (View()->focusProxy() != nullptr && View()->focusProxy()->hasFocus()) {
            focusDocument(); // the new document has no focused element yet
        }
        if (caretToStart_) {
            caretToStart_ = false;
            CaretToStart();
        }
    });
}

WebBodyEditor::~WebBodyEditor() {
    // The engine's page goes in the base's destructor; nothing it reports then reaches the
    // parts of this object already gone.
    disconnect(this, nullptr, this, nullptr);
    OnChanged = nullptr;
    OnSelectionChanged = nullptr;
}

void WebBodyEditor::SetBodyHtml(const QString& html) {
    const QString clean = mime::SafeHtmlBody(html);
    load(clean, mime::HtmlToPlainText(clean));
}

void WebBodyEditor::SetBodyPlainText(const QString& text) {
    load(text.isEmpty() ? QString()
                        : QStringLiteral("<p>") + HtmlText::Lines(text) + QStringLiteral("</p>"),
         text);
}

void WebBodyEditor::load(const QString& html, const QString& text) {
    html_ = html;
    text_ = text;
    loadedHtml_ = html;
    loadedText_ = text;
    loadedMarkup_.reset();
    ++loads_;
    typed_ = 0;
    reported_ = 0;
    if (IsLoading()) {
        queued_ = html;
    } else {
        SetHtml(html);
    }
}

void WebBodyEditor::readBack() {
    ReadHtml(this, [this](const std::optional<QString>& html) {
        if (html && !IsLoading()) {
            take(*html);
        }
    });
}

void WebBodyEditor::readLoadedMarkup() {
    const quint64 load = loads_;
    ReadHtml(this, [this, load](const std::optional<QString>& html) {
        // Answered before any edit of this document: the engine answers in order.
        if (html && load == loads_ && !IsLoading()) {
            loadedMarkup_ = *html;
        }
    });
}

void WebBodyEditor::take(const QString& html) {
    if (loadedMarkup_ && html == *loadedMarkup_) {
        // The document is as loaded again (nothing done, or every edit undone).
        if (html_ == loadedHtml_) {
            return;
        }
        html_ = loadedHtml_;
        text_ = loadedText_;
    } else if (html == html_) {
        return;
    } else {
        html_ = html;
        text_ = mime::HtmlToPlainText(html);
    }
    if (OnChanged) {
        OnChanged();
    }
}

void WebBodyEditor::focusDocument() {
    RunInEditorWorld(QStringLiteral("window.orlixEditor?orlixEditor.focusBody():false"));
}

void WebBodyEditor::watchKeys() {
    // The engine's input widget comes with its first page and may be replaced later.
    if (QWidget* input = View()->focusProxy()) {
        input->installEventFilter(this);
    }
}

bool WebBodyEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && EditMode() && !IsLoading()) {
        focusDocument();
    }
    if (event->type() == QEvent::KeyPress && EditMode() && !IsLoading()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool typing =
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
            !key->text().isEmpty() && key->text().at(0).isPrint();
        if (typing) {
            ++typed_;
        }
    }
    return WebEditor::eventFilter(watched, event);
}

void WebBodyEditor::waitForTypedKeys() {
    if (reported_ < typed_) {
        QEventLoop loop;
        const auto caughtUp = connect(this, &WebEditor::Edited, &loop, [this, &loop] {
            if (reported_ >= typed_) {
                loop.quit();
            }
        });
        QTimer::singleShot(kFlushDeadlineMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        disconnect(caughtUp);
        if (reported_ < typed_) {
            PlatformLog(QStringLiteral("The e-mail body did not report every key typed in time"));
        }
    }
    typed_ = 0;
    reported_ = 0;
}

void WebBodyEditor::FlushChanges() {
    if (!EditMode() || IsLoading()) {
        return; // nothing typed can be waiting
    }
    waitForTypedKeys();
    if (const std::optional<QString> html = HtmlNow(kFlushDeadlineMs)) {
        take(*html);
    }
}

void WebBodyEditor::CaretToStart() {
    setFocus(Qt::OtherFocusReason);
    if (IsLoading()) {
        caretToStart_ = true; // the document being loaded gets it
        return;
    }
    RunInEditorWorld(QStringLiteral(
        "(function(){var b=document.body;if(!b)return false;var s=window.getSelection();"
        "s.collapse(b,0);window.scrollTo(0,0);return true;})()"));
}

void WebBodyEditor::Command(const QString& command) {
    if (command == QStringLiteral("bold")) {
        ToggleBold();
    } else if (command == QStringLiteral("italic")) {
        ToggleItalic();
    } else if (command == QStringLiteral("underline")) {
        ToggleUnderline();
    } else if (command == QStringLiteral("strikethrough")) {
        ToggleStrikeThrough();
    } else if (command == QStringLiteral("bulletlist")) {
        InsertUnorderedList();
    } else if (command == QStringLiteral("undo")) {
        Undo();
    } else if (command == QStringLiteral("redo")) {
        Redo();
    } else if (command == QStringLiteral("cut")) {
        Cut();
    } else if (command == QStringLiteral("copy")) {
        Copy();
    } else if (command == QStringLiteral("paste")) {
        Paste();
    }
}

void WebBodyEditor::ChooseFont(QWidget* owner) {
    const WebEditorState& now = State();
    // The dialog opens on what the selection's start shows; whatever the document could not
    // tell is left at the dialog's own.
    QFont initial;
    if (!now.fontFace.isEmpty()) {
        initial.setFamily(now.fontFace);
    }
    if (now.fontSize >= 1) {
        initial.setPointSizeF(FontConversion::StepPointSize(now.fontSize));
    }
    initial.setBold(now.bold == 1);
    initial.setItalic(now.italic == 1);
    initial.setUnderline(now.underline == 1);
    initial.setStrikeOut(now.strikeThrough == 1);
    FontDialogRequest request;
    request.title = QStringLiteral("Font");
    request.initial = initial;
    request.owner = owner;
    const std::optional<FontAnswer> chosen = CommonDialogs().askFont(request);
    if (!chosen) {
        return;
    }
    // Only what the user changed in the dialog is applied: OK alone leaves a selection of
    // several faces or sizes as it was.
    const QFont& font = chosen->font;
    if (font.pointSizeF() != initial.pointSizeF()) {
        WebEditor::SetFontSize(FontConversion::PointSizeStep(font.pointSizeF()));
    }
    if (font.family() != initial.family()) {
        SetFontName(font.family());
    }
    if (font.bold() != initial.bold()) {
        ToggleBold();
    }
    if (font.italic() != initial.italic()) {
        ToggleItalic();
    }
    if (font.underline() != initial.underline()) {
        ToggleUnderline();
    }
    if (font.strikeOut() != initial.strikeOut()) {
        ToggleStrikeThrough();
    }
}

void WebBodyEditor::ChooseLink(QWidget* owner) {
    if (!EditMode() || IsLoading()) {
        return;
    }
    // The link under the caret fills the dialog; the engine answers by callback, so the
    // dialog opens from there, over the selection the page still holds.
    QPointer<WebBodyEditor> self(this);
    QPointer<QWidget> over(owner);
    RunInEditorWorld(
        QStringLiteral("(function(){var s=window.getSelection();if(!s||!s.rangeCount)return '';"
                       "for(var n=s.anchorNode;n&&n!==document.body;n=n.parentNode){"
                       "if(n.nodeType===1&&n.tagName==='A'&&n.hasAttribute('href'))"
                       "return n.getAttribute('href');}return '';})()"),
        [self, over](const QVariant& current) {
            if (!self) {
                return;
            }
            const std::optional<QString> address = AskLinkAddress(
                ScriptAnswer::Text(current).value_or(QString()), over ? over.data() : self.data());
            if (address && self) {
                self->CreateLink(*address);
            }
        });
}

BodyStyles WebBodyEditor::Styles() const {
    const WebEditorState& now = State();
    BodyStyles styles;
    styles.Bold = now.bold;
    styles.Italic = now.italic;
    styles.Underline = now.underline;
    styles.StrikeThrough = now.strikeThrough;
    styles.HasSelection = now.hasSelection;
    styles.CanPaste = now.canPaste;
    return styles;
}
