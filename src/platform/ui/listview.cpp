#include "platform/ui/listview.h"

#include "platform/ui/twips.h"

#include <QHeaderView>

#include <algorithm>

namespace {
Qt::Alignment QtAlignmentOf(ListView::Alignment a) {
    switch (a) {
    case ListView::Alignment::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case ListView::Alignment::Center:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case ListView::Alignment::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}
} // namespace

ListView::ListView(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setColumnCount(0);
    header()->setStretchLastSection(false);
}

void ListView::ClearColumnHeaders() {
    keys_.clear();
    setColumnCount(0);
    setHeaderLabels({});
}

void ListView::AddColumnHeader(const QString& key, const QString& text,
                               std::optional<int> widthTwips, Alignment alignment) {
    const int index = static_cast<int>(keys_.size());
    keys_.append(key);
    setColumnCount(index + 1);
    QTreeWidgetItem* head = headerItem();
    head->setText(index, text);
    head->setTextAlignment(index, QtAlignmentOf(alignment));
    head->setData(index, Qt::UserRole, static_cast<int>(alignment));
    SetColumnWidthTwips(index, widthTwips.value_or(kDefaultColumnWidth));
}

QString ListView::ColumnKey(int index) const {
    return index >= 0 && index < keys_.size() ? keys_.at(index) : QString();
}

int ListView::ColumnIndexOfKey(const QString& key) const {
    return static_cast<int>(keys_.indexOf(key));
}

QString ListView::ColumnText(int index) const {
    return index >= 0 && index < keys_.size() ? headerItem()->text(index) : QString();
}

int ListView::ColumnWidthTwips(int index) const {
    return index >= 0 && index < keys_.size() ? static_cast<int>(PixelsToTwips(columnWidth(index)))
                                              : 0;
}

void ListView::SetColumnWidthTwips(int index, int widthTwips) {
    if (index >= 0 && index < keys_.size()) {
        setColumnWidth(index, TwipsToPixels(std::max(widthTwips, 0)));
    }
}

ListView::Alignment ListView::ColumnAlignment(int index) const {
    if (index < 0 || index >= keys_.size()) {
        return Alignment::Left;
    }
    return static_cast<Alignment>(headerItem()->data(index, Qt::UserRole).toInt());
}
