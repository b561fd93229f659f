#pragma once

#include "platform/system/datetimerecord.h"

#include <QDialog>

class QCalendarWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class TextBox;

// The dialog through which the user picks a day and, on request, a time of day or a whole
// hour. SelectDate makes one, shows it and reads it; {0, 0} stands for a cancel.
class frmDatePicker : public QDialog {
    Q_OBJECT
public:
    explicit frmDatePicker(QWidget* parent = nullptr);
    ~frmDatePicker() override;

    // StartDate: the moment shown first (Day below 1: now). bTime: ask for a time as well;
    // bOnlyAllowHours: a whole hour instead of a full time of day. ShowModal: modal, or
    // modeless with the call waiting until the dialog is hidden.
    static DateTimeRecord SelectDate(const DateTimeRecord& StartDate, bool bTime,
                                     bool bOnlyAllowHours, bool ShowModal);

    // Sets the controls up for a mode and a first moment, as SelectDate does.
    void Prepare(const DateTimeRecord& StartDate, bool bTime, bool bOnlyAllowHours);
    // The moment the controls show, in the mode Prepare set; {0, 0} when cancelled.
    DateTimeRecord Result() const;

    bool bCancelled = false;

    QCalendarWidget* MonthView1() const { return monthView1_; }
    QLabel* lblTimeDesc() const { return lblTimeDesc_; }
    QTimeEdit* dtTime() const { return dtTime_; }
    TextBox* txtHours() const { return txtHours_; }
    QLineEdit* txtHoursMins() const { return txtHoursMins_; }
    QPushButton* cmdOK() const { return cmdOK_; }

public:
    // Esc: the user cancels.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Confirm();
    void Cancel();
    void txtHours_LostFocus();
    void LayOut();

    QCalendarWidget* monthView1_;
    QLabel* lblTimeDesc_;
    QTimeEdit* dtTime_;
    TextBox* txtHours_;
    QLineEdit* txtHoursMins_;
    QPushButton* cmdOK_;
    bool bTime_ = false;
    bool bOnlyAllowHours_ = false;
};
