#pragma once

#include <QTreeWidget>

// Named groups of yes/no entries, each group and entry addressed by a text key; the user
// ticks and unticks the entries.
class uListSettings : public QTreeWidget {
    Q_OBJECT
public:
    explicit uListSettings(QWidget* parent = nullptr);

    void Clear();
    // A new group row, expanded; entries are added to the row it gives.
    QTreeWidgetItem* AddGroup(const QString& key, const QString& caption);
    // A checkable entry of the group; a null group adds nothing.
    QTreeWidgetItem* AddItem(QTreeWidgetItem* group, const QString& key, const QString& caption,
                             bool value);
    // The entry's current value; False for a key no entry has.
    bool ItemValue(const QString& key) const;

    // Never narrower than the widest caption, so that no entry is cut however small the window.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

private:
    QTreeWidgetItem* findEntry(const QString& key) const;
};
