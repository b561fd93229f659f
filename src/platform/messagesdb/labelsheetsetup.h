#pragma once

#include <QDialog>
#include <QString>

class LabelSheetSettings;
class QSpinBox;
class QLabel;

// The paper a sheet of labels is checked against, in millimetres.
struct LabelPaper {
    QString name;
    double width = 210;
    double height = 297;
};

// The paper of the default printer; without one A4, or Letter where the locale measures in
// US units.
LabelPaper DefaultLabelPaper();
// "Paper: A4, 210 × 297 mm".
QString LabelPaperText(const LabelPaper& paper);

// The values the set-up dialog edits.
struct LabelSheetValues {
    int across = 1;
    int down = 1;
    int topMargin = 0;
    int leftMargin = 0;
    int horizontalPitch = 1;
    int verticalPitch = 1;
};

// Why the values cannot be kept for that paper; "" when they fit. Counts must lie in 1 to
// LabelSheetSettings::kMaxLabels, pitches be at least 1, margins not negative, and the margin
// and the labels together not run past the paper's edge.
QString LabelSheetRefusal(const LabelSheetValues& values, const LabelPaper& paper);

// "Label Sheet Settings": OK writes the values into the settings given (once they fit the
// paper), Cancel changes nothing. LabelSheetSettings::ShowSetupDialog shows it.
class LabelSheetSetupDialog : public QDialog {
    Q_OBJECT
public:
    LabelSheetSetupDialog(LabelSheetSettings& settings, const LabelPaper& paper,
                          QWidget* owner = nullptr);

    QSpinBox* AcrossBox() const { return across_; }
    QSpinBox* DownBox() const { return down_; }
    QSpinBox* TopMarginBox() const { return top_; }
    QSpinBox* LeftMarginBox() const { return left_; }
    QSpinBox* HorizontalPitchBox() const { return hPitch_; }
    QSpinBox* VerticalPitchBox() const { return vPitch_; }
    QLabel* PaperLabel() const { return paperLabel_; }
    LabelSheetValues Values() const;

    void accept() override;

private:
    LabelSheetSettings& settings_;
    LabelPaper paper_;
    QSpinBox* across_ = nullptr;
    QSpinBox* down_ = nullptr;
    QSpinBox* top_ = nullptr;
    QSpinBox* left_ = nullptr;
    QSpinBox* hPitch_ = nullptr;
    QSpinBox* vPitch_ = nullptr;
    QLabel* paperLabel_ = nullptr;
};
