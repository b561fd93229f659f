#include "scripts/scripttree.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidgetItemIterator>

namespace {
// The roles the main window keeps a node's key and tag in.
constexpr int kKeyRole = Qt::UserRole;
constexpr int kTagRole = Qt::UserRole + 1;
} // namespace

ScriptTree::ScriptTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* node) {
        if (node->parent() == nullptr) {
            expandItem(node);
        }
    });
}

QTreeWidgetItem* ScriptTree::NodeByKey(const QString& key) const {
    for (QTreeWidgetItemIterator it(const_cast<ScriptTree*>(this)); *it != nullptr; ++it) {
        if ((*it)->data(0, kKeyRole).toString() == key) {
            return *it;
        }
    }
    return nullptr;
}

bool ScriptTree::SelectKey(const QString& key) {
    QTreeWidgetItem* node = NodeByKey(key);
    if (node == nullptr) {
        return false;
    }
    setCurrentItem(node);
    return true;
}

QString ScriptTree::SelectedKey() const {
    QTreeWidgetItem* node = currentItem();
    return node != nullptr && node->isSelected() ? node->data(0, kKeyRole).toString() : QString();
}

QString ScriptTree::SelectedTag() const {
    QTreeWidgetItem* node = currentItem();
    return node != nullptr && node->isSelected() ? node->data(0, kTagRole).toString() : QString();
}

void ScriptTree::mousePressEvent(QMouseEvent* event) {
    pressed_ = itemAt(event->position().toPoint());
    QTreeWidget::mousePressEvent(event);
}

void ScriptTree::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    QTreeWidgetItem* node = itemAt(event->position().toPoint());
    const bool click = node != nullptr && node == pressed_ && event->button() == Qt::LeftButton;
    pressed_ = nullptr;
    if (click) {
        Q_EMIT NodeClick(node);
    }
}

void ScriptTree::keyPressEvent(QKeyEvent* event) {
    QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    QTreeWidgetItem* after = currentItem();
    if (after != nullptr && after != before) {
        Q_EMIT NodeClick(after);
    }
}
