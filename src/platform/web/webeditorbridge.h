#pragma once

#include <QObject>
#include <QVariantMap>

// The object the editor script calls over the web channel, in the application world only:
// the page's own world has no channel, so a document can report nothing by itself.
class WebEditorBridge : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

public Q_SLOTS:
    void edited() { Q_EMIT Edited(); }
    void selectionChanged(const QVariantMap& state) { Q_EMIT SelectionReported(state); }

Q_SIGNALS:
    void Edited();
    void SelectionReported(const QVariantMap& state);
};
