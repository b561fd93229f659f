#include "messaging/safebodyview.h"

#include "platform/mime/safehtml.h"

SafeBodyView::SafeBodyView(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(true);
}

void SafeBodyView::SetBodyHtml(const QString& html) {
    setHtml(mime::SafeHtmlBody(html));
}

void SafeBodyView::SetBodyPlainText(const QString& text) {
    setPlainText(text);
}

void SafeBodyView::SetEditMode(bool editable) {
    setReadOnly(!editable);
    setTextInteractionFlags(editable ? Qt::TextEditorInteraction : Qt::TextBrowserInteraction);
}

QVariant SafeBodyView::loadResource(int type, const QUrl& name) {
    Q_UNUSED(type);
    Q_UNUSED(name);
    ++resourceRequests_;
    return {};
}
