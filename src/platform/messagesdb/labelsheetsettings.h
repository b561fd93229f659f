#pragma once

#include <QtGlobal>

class QWidget;

// The page and label geometry of the address-label sheet, in millimetres. Slot n prints at
// column x HorizontalPitch + LeftMargin, row x VerticalPitch + TopMargin. The database keeps
// one object, so what a dialog edits is what StoreLabelSheetSettings stores.
class LabelSheetSettings {
public:
    static constexpr qint32 kMaxLabels = 20;

    qint32 TopMargin() const { return topMargin_; }
    void SetTopMargin(qint32 v) { topMargin_ = v; }
    qint32 LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(qint32 v) { leftMargin_ = v; }
    qint32 HorizontalPitch() const { return horizontalPitch_; }
    void SetHorizontalPitch(qint32 v) { horizontalPitch_ = v; }
    qint32 VerticalPitch() const { return verticalPitch_; }
    void SetVerticalPitch(qint32 v) { verticalPitch_ = v; }
    // At least 1: a stored value below 1 reads as 1, one above the cap as the cap.
    qint32 LabelsAcross() const { return qBound(1, labelsAcross_, kMaxLabels); }
    void SetLabelsAcross(qint32 v) { labelsAcross_ = v; }
    qint32 LabelsDown() const { return qBound(1, labelsDown_, kMaxLabels); }
    void SetLabelsDown(qint32 v) { labelsDown_ = v; }

    // The modal "Label Sheet Settings" over these values; true when OK kept new ones. The
    // caller stores them (OrlixDatabase::StoreLabelSheetSettings).
    bool ShowSetupDialog(QWidget* owner = nullptr);

private:
    // A common sheet of 2 x 7 labels on A4.
    qint32 topMargin_ = 15;
    qint32 leftMargin_ = 5;
    qint32 horizontalPitch_ = 102;
    qint32 verticalPitch_ = 38;
    qint32 labelsAcross_ = 2;
    qint32 labelsDown_ = 7;
};
