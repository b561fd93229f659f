#pragma once

#include <QTextBrowser>

// The e-mail body, shown and typed in without a web page: a listener's HTML is cleaned first
// (mime::SafeHtmlBody) and nothing it names is ever fetched, local or remote, and no link is
// followed. It has no script engine, so nothing in a body can run.
class SafeBodyView : public QTextBrowser {
    Q_OBJECT
public:
    explicit SafeBodyView(QWidget* parent = nullptr);

    void SetBodyHtml(const QString& html);
    void SetBodyPlainText(const QString& text);
    void SetEditMode(bool editable);

    // Counts what the view was asked to fetch, for tests: it must stay empty.
    int ResourceRequests() const { return resourceRequests_; }

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    int resourceRequests_ = 0;
};
