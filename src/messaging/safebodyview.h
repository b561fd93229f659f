#pragma once

#include "messaging/bodyeditor.h"

#include <QTextBrowser>

// The e-mail body, shown and typed in without a web page: a listener's HTML is cleaned first
// (mime::SafeHtmlBody) and nothing it names is ever fetched, local or remote, and no link is
// followed. It has no script engine, so nothing in a body can run. Tests of the window use it
// where the web engine is not wanted.
class SafeBodyView : public QTextBrowser, public BodyEditor {
    Q_OBJECT
public:
    explicit SafeBodyView(QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    void SetBodyHtml(const QString& html) override;
    void SetBodyPlainText(const QString& text) override;
    void SetEditMode(bool editable) override;
    bool EditMode() const override { return !isReadOnly(); }
    QString Html() const override { return toHtml(); }
    QString PlainText() const override { return toPlainText(); }
    void CaretToStart() override;
    void Command(const QString& command) override;
    void SetFontSize(int size) override;
    void ChooseFont(QWidget* owner) override;
    void ChooseLink(QWidget* owner) override;
    BodyStyles Styles() const override;

    // Counts what the view was asked to fetch, for tests: it must stay empty.
    int ResourceRequests() const { return resourceRequests_; }

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    int resourceRequests_ = 0;
    bool loading_ = false;
};
