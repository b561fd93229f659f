#include "core/dialogs/frmdatepicker.h"

#include "platform/system/appservices.h"
#include "platform/system/datetimehelper.h"
#include "platform/system/formhelper.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/textbox.h"
#include "platform/ui/twips.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kFormHeight = 3555;    // the window, frame included
constexpr int kFrameAllowance = 420; // title bar and borders of the design
constexpr int kSecondsPerDay = 86400;

void Place(QWidget* w, int left, int top, int width, int height, int dx = 0, int dy = 0) {
    w->setGeometry(TwipsToPixels(left) + dx, TwipsToPixels(top) + dy, TwipsToPixels(width),
                   TwipsToPixels(height));
}

// Seconds since midnight as a record may hold them; anything else (a stored value of the
// wrong kind) reads as midnight or the last second of the day.
double SafeSeconds(float seconds) {
    if (!std::isfinite(seconds) || seconds < 0.0F) {
        return 0.0;
    }
    return std::min(static_cast<double>(seconds), static_cast<double>(kSecondsPerDay - 1));
}

// The numeric value of the hours box: its leading digits, 0 when there are none.
int HoursValue(const QString& text) {
    int value = 0;
    for (const QChar c : text.trimmed()) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9') || value > 100000) {
            break;
        }
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

int ClampedHours(const QString& text) {
    return AppServices::Clamp(HoursValue(text), 0, 23);
}
} // namespace

frmDatePicker::frmDatePicker(QWidget* parent)
    : QDialog(parent), monthView1_(new QCalendarWidget(this)), lblTimeDesc_(new QLabel(this)),
      dtTime_(new QTimeEdit(this)), txtHours_(new TextBox(this)),
      txtHoursMins_(new QLineEdit(this)), cmdOK_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmDatePicker"));
    setWindowTitle(tr("Select Date"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    monthView1_->setObjectName(QStringLiteral("MonthView1"));
    lblTimeDesc_->setObjectName(QStringLiteral("lblTimeDesc"));
    lblTimeDesc_->setText(tr("Time:"));
    dtTime_->setObjectName(QStringLiteral("dtTime"));
    dtTime_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    txtHours_->setObjectName(QStringLiteral("txtHours"));
    txtHours_->setText(QStringLiteral("00"));
    txtHours_->SetMaxLength(2);
    txtHours_->SetKeyFilter([](int key) { return AppServices::FilterNumericKey(key, 1); });
    txtHoursMins_->setObjectName(QStringLiteral("txtHoursMins"));
    txtHoursMins_->setText(QStringLiteral(":00"));
    txtHoursMins_->setReadOnly(true);
    txtHoursMins_->setFocusPolicy(Qt::NoFocus); // it only shows that minutes are always 0
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setText(tr("OK"));
    cmdOK_->setDefault(true);
    lblTimeDesc_->setBuddy(txtHours_);

    setTabOrder(monthView1_, dtTime_);
    setTabOrder(dtTime_, txtHours_);
    setTabOrder(txtHours_, cmdOK_);

    connect(cmdOK_, &QPushButton::clicked, this, &frmDatePicker::Confirm);
    // A double-click on a day (and Enter on the calendar) confirms.
    connect(monthView1_, &QCalendarWidget::activated, this, &frmDatePicker::Confirm);

    // The form sees key presses before its controls: Esc cancels wherever the focus is.
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
    FormHelper::SelectAllTextOnFocus(txtHours_);
    LayOut();
}

frmDatePicker::~frmDatePicker() = default;

void frmDatePicker::LayOut() {
    // The calendar takes at least the room its month needs; the row under it moves along.
    const QSize design(TwipsToPixels(2640), TwipsToPixels(2310));
    const QSize needed = monthView1_->minimumSizeHint().expandedTo(design);
    const int dx = needed.width() - design.width();
    const int dy = needed.height() - design.height();
    monthView1_->setGeometry(TwipsToPixels(120), TwipsToPixels(120), needed.width(),
                             needed.height());
    Place(lblTimeDesc_, 180, 2700, 540, 255, 0, dy);
    Place(dtTime_, 720, 2640, 1035, 315, 0, dy);
    Place(txtHours_, 720, 2640, 285, 315, 0, dy);
    Place(txtHoursMins_, 1020, 2640, 315, 315, 0, dy);
    Place(cmdOK_, 1800, 2640, 975, 375, dx, dy);
    setFixedSize(TwipsToPixels(120 + 2640 + 120) + dx,
                 TwipsToPixels(kFormHeight - kFrameAllowance) + dy);
}

void frmDatePicker::Prepare(const DateTimeRecord& StartDate, bool bTime, bool bOnlyAllowHours) {
    bCancelled = false;
    bTime_ = bTime;
    bOnlyAllowHours_ = bTime && bOnlyAllowHours;
    dtTime_->setVisible(bTime_ && !bOnlyAllowHours_);
    txtHours_->setVisible(bOnlyAllowHours_);
    txtHoursMins_->setVisible(bOnlyAllowHours_);
    lblTimeDesc_->setVisible(bTime_);
    lblTimeDesc_->setBuddy(bOnlyAllowHours_ ? static_cast<QWidget*>(txtHours_) : dtTime_);

    if (StartDate.Day < 1) {
        const QDateTime now = QDateTime::currentDateTime();
        monthView1_->setSelectedDate(now.date());
        dtTime_->setTime(now.time());
        txtHours_->setText(
            DateTimeHelper::TimeOfDayText(now.time().msecsSinceStartOfDay() / 1000, 4).left(2));
    } else {
        const double seconds = SafeSeconds(StartDate.Seconds);
        monthView1_->setSelectedDate(DateTimeHelper::DateOfSerial(StartDate.Day));
        dtTime_->setTime(QTime::fromMSecsSinceStartOfDay(static_cast<int>(seconds * 1000.0)));
        txtHours_->setText(AppServices::PadText(DateTimeHelper::TimeOfDayText(seconds, 4).left(2),
                                                2, QStringLiteral("0")));
    }
}

DateTimeRecord frmDatePicker::Result() const {
    if (bCancelled) {
        return {};
    }
    // Built from the shown day and time directly: the record carries no time zone, so a
    // local time that a clock change skips is still the time the user picked.
    DateTimeRecord record;
    record.Day = DateTimeHelper::DaySerial(monthView1_->selectedDate());
    if (!bTime_) {
        record.Seconds = 0.0F;
    } else if (bOnlyAllowHours_) {
        // Clamped again here: an hour typed and confirmed without leaving the box has not
        // been through the box's own check.
        record.Seconds = static_cast<float>(ClampedHours(txtHours_->text()) * 3600);
    } else {
        record.Seconds = static_cast<float>(dtTime_->time().msecsSinceStartOfDay()) / 1000.0F;
    }
    return record;
}

DateTimeRecord frmDatePicker::SelectDate(const DateTimeRecord& StartDate, bool bTime,
                                         bool bOnlyAllowHours, bool ShowModal) {
    DialogInstance<frmDatePicker> form(nullptr);
    form->Prepare(StartDate, bTime, bOnlyAllowHours);
    RunDialog(*form.get(), ShowModal);
    if (!form) {
        return {};
    }
    const DateTimeRecord result = form->Result();
    form->hide();
    return result;
}

void frmDatePicker::Confirm() {
    hide();
}

void frmDatePicker::Cancel() {
    bCancelled = true;
    hide();
}

void frmDatePicker::reject() {
    Cancel();
}

void frmDatePicker::closeEvent(QCloseEvent* event) {
    event->ignore();
    Cancel();
}

void frmDatePicker::txtHours_LostFocus() {
    txtHours_->setText(
        QStringLiteral("%1").arg(ClampedHours(txtHours_->text()), 2, 10, QLatin1Char('0')));
}

bool frmDatePicker::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            if (event->type() == QEvent::ShortcutOverride) {
                event->accept(); // delivered as a key press, which cancels below
                return true;
            }
            Cancel();
            return true;
        }
        break;
    }
    case QEvent::FocusOut:
        if (watched == txtHours_) {
            txtHours_LostFocus();
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
