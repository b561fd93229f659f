#include "platform/ui/ulistsettings.h"

#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>

namespace {
constexpr int kKeyRole = Qt::UserRole + 1;
}

uListSettings::uListSettings(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(false);
}

void uListSettings::Clear() {
    clear();
    updateGeometry();
}

QTreeWidgetItem* uListSettings::AddGroup(const QString& key, const QString& caption) {
    auto* group = new QTreeWidgetItem(this, {caption});
    group->setData(0, kKeyRole, key);
    group->setFlags(Qt::ItemIsEnabled);
    QFont bold = group->font(0);
    bold.setBold(true);
    group->setFont(0, bold);
    group->setExpanded(true);
    updateGeometry();
    return group;
}

QTreeWidgetItem* uListSettings::AddItem(QTreeWidgetItem* group, const QString& key,
                                        const QString& caption, bool value) {
    if (group == nullptr) {
        return nullptr;
    }
    auto* entry = new QTreeWidgetItem(group, {caption});
    entry->setData(0, kKeyRole, key);
    entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    entry->setCheckState(0, value ? Qt::Checked : Qt::Unchecked);
    group->setExpanded(true);
    updateGeometry();
    return entry;
}

bool uListSettings::ItemValue(const QString& key) const {
    const QTreeWidgetItem* entry = findEntry(key);
    return entry != nullptr && entry->checkState(0) == Qt::Checked;
}

QTreeWidgetItem* uListSettings::findEntry(const QString& key) const {
    for (int g = 0; g < topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i) {
            if (group->child(i)->data(0, kKeyRole).toString() == key) {
                return group->child(i);
            }
        }
    }
    return nullptr;
}

QSize uListSettings::minimumSizeHint() const {
    const QSize base = QTreeWidget::minimumSizeHint();
    // The captions, indented as drawn, with the frame and room for a scroll bar once the list
    // grows longer than its window.
    const int widest = topLevelItemCount() > 0 ? sizeHintForColumn(0) : 0;
    const int wanted = widest + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    return {std::max(base.width(), wanted), base.height()};
}

QSize uListSettings::sizeHint() const {
    const QSize base = QTreeWidget::sizeHint();
    return {std::max(base.width(), minimumSizeHint().width()), base.height()};
}
