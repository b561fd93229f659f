#include "core/dialogs/contacthistorylists.h"

#include "core/generalroutines.h"
#include "platform/directory/directorycontact.h"
#include "platform/ui/mousepointer.h"

#include <QPalette>
#include <QScopeGuard>
#include <QStringList>
#include <QTreeWidget>

#include <cmath>

namespace {
QString joined(std::initializer_list<const QString*> values) {
    QStringList parts;
    for (const QString* v : values) {
        if (!v->isEmpty()) {
            parts << *v;
        }
    }
    return parts.join(QLatin1Char('|'));
}
} // namespace

QString ContactEmailList(const DirectoryContact& c) {
    return joined({&c.Email1(), &c.Email2(), &c.Email3()});
}

QString ContactNumberList(const DirectoryContact& c) {
    return joined({&c.PhoneNumber1(), &c.PhoneNumber2(), &c.MobileNumber(), &c.OtherNumber()});
}

bool HasContactMessageAddresses(const QString& emails, const QString& numbers) {
    // A listener known only by a mobile number still has the texts it sent.
    return !emails.isEmpty() || !numbers.isEmpty();
}

QChar ContactHistoryKeyKind(const QString& key) {
    return key.isEmpty() ? QChar() : key.at(0).toLower();
}

qint32 ContactHistoryKeyReference(const QString& key) {
    if (key.size() < 2) {
        return 0;
    }
    const double value = ValOf(QStringView(key).mid(1));
    if (!std::isfinite(value)) {
        return 0;
    }
    return ToInteger32(value).value_or(0);
}

QString ContactHistoryKey(const QTreeWidgetItem* item) {
    return item != nullptr ? item->data(0, Qt::UserRole).toString() : QString();
}

void RefillContactHistoryList(QTreeWidget* list, const std::function<void()>& fill) {
    if (list == nullptr) {
        return;
    }
    QPalette palette = list->palette();
    const QColor window = palette.color(QPalette::Base);
    palette.setColor(QPalette::Base, list->palette().color(QPalette::Button));
    list->setPalette(palette);
    const auto restore = qScopeGuard([list, window] {
        QPalette back = list->palette();
        back.setColor(QPalette::Base, window);
        list->setPalette(back);
    });
    const MousePointerGuard busy(MousePointerGuard::Hourglass);
    list->clear();
    if (fill) {
        fill();
    }
}

void SelectContactHistoryLineAt(QTreeWidget* list, const QPoint& viewportPoint) {
    if (list == nullptr) {
        return;
    }
    QTreeWidgetItem* item = list->itemAt(viewportPoint);
    list->setCurrentItem(item);
    if (item == nullptr) {
        list->clearSelection();
        list->setCurrentItem(nullptr);
    }
}
