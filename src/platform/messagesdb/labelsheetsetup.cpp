#include "platform/messagesdb/labelsheetsetup.h"

#include "platform/messagesdb/labelsheetsettings.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/messagebox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QPageSize>
#include <QPrinterInfo>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QString millimetres(double value) {
    return QLocale::c().toString(value, 'g', 5);
}

QString countRefusal(const char* what, int value) {
    return QStringLiteral("The number of labels %1 must be from 1 to %2, not %3.")
        .arg(QLatin1String(what))
        .arg(LabelSheetSettings::kMaxLabels)
        .arg(value);
}

// A margin and count x pitch past the paper's length that way.
QString fitRefusal(const char* way, const char* dimension, int margin, int count, int pitch,
                   double paper) {
    const int need = margin + count * pitch;
    if (need <= paper + 1e-9) {
        return QString();
    }
    return QStringLiteral("The labels do not fit %1 the paper: a margin of %2 mm and %3 labels of "
                          "%4 mm need %5 mm, and the paper is %6 mm %7.")
        .arg(QLatin1String(way))
        .arg(margin)
        .arg(count)
        .arg(pitch)
        .arg(need)
        .arg(millimetres(paper))
        .arg(QLatin1String(dimension));
}

QSpinBox* spin(int minimum, int maximum, int value, QWidget* parent) {
    auto* box = new QSpinBox(parent); // owned by the parent
    box->setRange(minimum, maximum);
    box->setValue(value);
    return box;
}

} // namespace

LabelPaper DefaultLabelPaper() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    QPageSize size;
    if (!printer.isNull()) {
        size = printer.defaultPageSize();
    }
    if (!size.isValid()) {
        size =
            QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                 : QPageSize::A4);
    }
    const QSizeF mm = size.size(QPageSize::Millimeter);
    return {size.name(), mm.width(), mm.height()};
}

QString LabelPaperText(const LabelPaper& paper) {
    return QStringLiteral("Paper: %1, %2 × %3 mm")
        .arg(paper.name, millimetres(paper.width), millimetres(paper.height));
}

QString LabelSheetRefusal(const LabelSheetValues& v, const LabelPaper& paper) {
    if (v.across < 1 || v.across > LabelSheetSettings::kMaxLabels) {
        return countRefusal("across", v.across);
    }
    if (v.down < 1 || v.down > LabelSheetSettings::kMaxLabels) {
        return countRefusal("down", v.down);
    }
    if (v.horizontalPitch < 1 || v.verticalPitch < 1) {
        return QStringLiteral("The distance between neighbouring labels must be at least 1 mm.");
    }
    if (v.topMargin < 0 || v.leftMargin < 0) {
        return QStringLiteral("A margin cannot be below 0 mm.");
    }
    const QString across =
        fitRefusal("across", "wide", v.leftMargin, v.across, v.horizontalPitch, paper.width);
    if (!across.isEmpty()) {
        return across;
    }
    return fitRefusal("down", "long", v.topMargin, v.down, v.verticalPitch, paper.height);
}

LabelSheetSetupDialog::LabelSheetSetupDialog(LabelSheetSettings& settings, const LabelPaper& paper,
                                             QWidget* owner)
    : QDialog(owner), settings_(settings), paper_(paper) {
    setWindowTitle(QStringLiteral("Label Sheet Settings"));
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    auto* form = new QFormLayout();
    across_ = spin(1, LabelSheetSettings::kMaxLabels, settings.LabelsAcross(), this);
    down_ = spin(1, LabelSheetSettings::kMaxLabels, settings.LabelsDown(), this);
    top_ = spin(0, 999, settings.TopMargin(), this);
    left_ = spin(0, 999, settings.LeftMargin(), this);
    hPitch_ = spin(1, 999, settings.HorizontalPitch(), this);
    vPitch_ = spin(1, 999, settings.VerticalPitch(), this);
    for (QSpinBox* box : {top_, left_, hPitch_, vPitch_}) {
        box->setSuffix(QStringLiteral(" mm"));
    }
    form->addRow(QStringLiteral("Labels across:"), across_);
    form->addRow(QStringLiteral("Labels down:"), down_);
    form->addRow(QStringLiteral("Top margin:"), top_);
    form->addRow(QStringLiteral("Left margin:"), left_);
    form->addRow(QStringLiteral("Horizontal pitch:"), hPitch_);
    form->addRow(QStringLiteral("Vertical pitch:"), vPitch_);
    outer->addLayout(form);
    paperLabel_ = new QLabel(LabelPaperText(paper_), this);
    paperLabel_->setTextFormat(Qt::PlainText);
    outer->addWidget(paperLabel_);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &LabelSheetSetupDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    outer->addWidget(box);
}

LabelSheetValues LabelSheetSetupDialog::Values() const {
    return {across_->value(), down_->value(),   top_->value(),
            left_->value(),   hPitch_->value(), vPitch_->value()};
}

void LabelSheetSetupDialog::accept() {
    const LabelSheetValues v = Values();
    const QString refusal = LabelSheetRefusal(v, paper_);
    if (!refusal.isEmpty()) {
        MsgBox(refusal, MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        return;
    }
    settings_.SetLabelsAcross(v.across);
    settings_.SetLabelsDown(v.down);
    settings_.SetTopMargin(v.topMargin);
    settings_.SetLeftMargin(v.leftMargin);
    settings_.SetHorizontalPitch(v.horizontalPitch);
    settings_.SetVerticalPitch(v.verticalPitch);
    QDialog::accept();
}

bool LabelSheetSettings::ShowSetupDialog(QWidget* owner) {
    DialogInstance<LabelSheetSetupDialog> dialog(*this, DefaultLabelPaper(), owner);
    return RunDialog(*dialog.get()) == QDialog::Accepted && dialog;
}
