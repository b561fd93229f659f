#include "contacts/prizeweekgrid.h"

#include "platform/ui/colournumber.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTableWidgetItem>

PrizeWeekGrid::PrizeWeekGrid(QWidget* parent)
    : QTableWidget(PrizeHours::kDays, PrizeHours::kHours, parent) {
    setVerticalHeaderLabels({QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"),
                             QStringLiteral("Thu"), QStringLiteral("Fri"), QStringLiteral("Sat"),
                             QStringLiteral("Sun")});
    QStringList hours;
    for (int h = 0; h < PrizeHours::kHours; ++h) {
        hours << QString::number(h);
    }
    setHorizontalHeaderLabels(hours);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    // The whole day in view at once: the 24 hours share the width, so 22 and 23 are never
    // scrolled out of sight.
    horizontalHeader()->setMinimumSectionSize(12);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setSectionsClickable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int r = 1; r <= PrizeHours::kDays; ++r) {
        for (int c = 1; c <= PrizeHours::kHours; ++c) {
            auto* item = new QTableWidgetItem(); // owned by the table
            setItem(r - 1, c - 1, item);
            paintCell({r, c}, true);
        }
    }
}

void PrizeWeekGrid::paintCell(PrizeHours::Cell cell, bool available) {
    QTableWidgetItem* it = item(cell.row - 1, cell.column - 1);
    if (it == nullptr) {
        return;
    }
    it->setBackground(ColourNumber::ToColour(PrizeHours::HourColour(available)));
    it->setData(Qt::UserRole, available);
}

void PrizeWeekGrid::ShowWeek(const PrizeHours::Week& week) {
    for (int d = 0; d < PrizeHours::kDays; ++d) {
        for (int h = 0; h < PrizeHours::kHours; ++h) {
            paintCell({d + 1, h + 1}, week[d][h]);
        }
    }
}

bool PrizeWeekGrid::CellAvailable(PrizeHours::Cell cell) const {
    const QTableWidgetItem* it = item(cell.row - 1, cell.column - 1);
    return it != nullptr && it->data(Qt::UserRole).toBool();
}

PrizeHours::Cell PrizeWeekGrid::CellAt(const QPoint& p) const {
    int row = rowAt(p.y());
    int column = columnAt(p.x());
    if (row < 0) {
        row = p.y() < 0 ? 0 : PrizeHours::kDays - 1;
    }
    if (column < 0) {
        column = p.x() < 0 ? 0 : PrizeHours::kHours - 1;
    }
    return PrizeHours::KeepInHours({row + 1, column + 1});
}

void PrizeWeekGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (rowAt(p.y()) >= 0 && columnAt(p.x()) >= 0) {
        anchor_ = CellAt(p);
    }
    event->accept();
}

void PrizeWeekGrid::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void PrizeWeekGrid::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!anchor_) {
        return;
    }
    const PrizeHours::Cell anchor = *anchor_;
    anchor_.reset();
    const PrizeHours::BlockSwitch change =
        PrizeHours::SwitchBlock(anchor, CellAt(event->position().toPoint()), CellAvailable(anchor));
    for (const PrizeHours::Cell& cell : change.cells) {
        paintCell(cell, change.available);
    }
    Q_EMIT HoursSwitched(change);
}
