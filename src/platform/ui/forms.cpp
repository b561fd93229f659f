#include "platform/ui/forms.h"

namespace {
QList<QPointer<QWidget>>& loaded() {
    static QList<QPointer<QWidget>> list;
    return list;
}

void prune() {
    loaded().removeIf([](const QPointer<QWidget>& p) { return p.isNull(); });
}
} // namespace

void Forms::Add(QWidget* form) {
    if (form != nullptr && !Contains(form)) {
        loaded().append(QPointer<QWidget>(form));
    }
}

QList<QWidget*> Forms::All() {
    prune();
    QList<QWidget*> out;
    out.reserve(loaded().size());
    for (const QPointer<QWidget>& p : loaded()) {
        out.append(p.data());
    }
    return out;
}

int Forms::Count() {
    prune();
    return static_cast<int>(loaded().size());
}

bool Forms::Contains(const QWidget* form) {
    prune();
    for (const QPointer<QWidget>& p : loaded()) {
        if (p.data() == form) {
            return true;
        }
    }
    return false;
}

bool Forms::Unload(QWidget* form) {
    if (form == nullptr || !Contains(form)) {
        return true;
    }
    if (!form->close()) {
        return false;
    }
    loaded().removeIf([form](const QPointer<QWidget>& p) { return p.data() == form; });
    form->deleteLater();
    return true;
}
