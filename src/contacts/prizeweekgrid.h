#pragma once

#include "contacts/prizehours.h"

#include <QTableWidget>

#include <optional>

// The week of a prize's availability: days down, hours across, each hour cell green when the
// prize may be given away in it. A press on an hour cell anchors a block, the release picks
// its far corner, and the whole block takes the anchor's switched state.
class PrizeWeekGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit PrizeWeekGrid(QWidget* parent = nullptr);

    void ShowWeek(const PrizeHours::Week& week);
    bool CellAvailable(PrizeHours::Cell cell) const;
    // The cell under a point of the viewport, kept inside the hours.
    PrizeHours::Cell CellAt(const QPoint& viewportPoint) const;

Q_SIGNALS:
    // After a release: the block's cells (already painted) and the state they took.
    void HoursSwitched(const PrizeHours::BlockSwitch& change);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void paintCell(PrizeHours::Cell cell, bool available);
    std::optional<PrizeHours::Cell> anchor_;
};
