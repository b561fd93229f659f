#pragma once

#include <QTreeWidget>

// The script tree. NodeClick comes for a mouse click on a node (the selected one too) and for
// a keyboard move to another node, never for a selection made by the program. Root nodes
// never collapse.
class ScriptTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit ScriptTree(QWidget* parent = nullptr);

    // The node with that key, or null.
    QTreeWidgetItem* NodeByKey(const QString& key) const;
    // Selects the node with that key, quietly; false when there is none.
    bool SelectKey(const QString& key);
    QString SelectedKey() const;
    QString SelectedTag() const;

Q_SIGNALS:
    void NodeClick(QTreeWidgetItem* node);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTreeWidgetItem* pressed_ = nullptr;
};
