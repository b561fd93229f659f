#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>

class QWebEnginePage;

// One INPUT element of a shown document's body, as the walk reads it.
struct DocumentInput {
    QString name;
    bool checked = false;
};

// Reads and sets a shown document's INPUT elements and scroll position. Everything runs in
// the engine's application world, so it works while the page's own scripts are off and the
// page cannot see or change it. Answers come by callback once the engine has them, never
// through a nested event loop; an answer for a context that has gone is dropped.
namespace DocumentWalk {
// The body's INPUT elements in document order; none for an empty or unreadable document.
void ReadInputs(QWebEnginePage* page, QObject* context,
                std::function<void(const QList<DocumentInput>&)> done);
// Every INPUT element of the body whose name is one of names gets checked.
void SetInputsChecked(QWebEnginePage* page, const QStringList& names, bool checked);
// Every checked INPUT element of the body whose name contains part (case ignored) gets
// unchecked, in one step: a tick the user adds meanwhile is not lost to a read made before.
void UncheckInputsContaining(QWebEnginePage* page, const QString& part);
// The document's scroll position, (0, 0) when it cannot be read.
void ReadScrollPosition(QWebEnginePage* page, QObject* context, std::function<void(QPoint)> done);
void SetScrollPosition(QWebEnginePage* page, QPoint position);
} // namespace DocumentWalk
