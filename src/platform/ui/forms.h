#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

// The program's loaded windows in the order they were loaded, hidden ones included: what the
// window limits count and what shut-down unloads. A window joins when it is made and leaves
// when it is unloaded or destroyed.
class Forms {
public:
    static void Add(QWidget* form);
    static QList<QWidget*> All();
    static int Count();
    static bool Contains(const QWidget* form);

    // Asks the window to close; its own close handling runs (a save question may keep it).
    // True when it closed: it leaves the collection at once and is deleted.
    static bool Unload(QWidget* form);

    // Every window of class T, in load order.
    template <typename T> static QList<T*> OfKind() {
        QList<T*> out;
        for (QWidget* w : All()) {
            if (T* t = qobject_cast<T*>(w)) {
                out.append(t);
            }
        }
        return out;
    }
};
