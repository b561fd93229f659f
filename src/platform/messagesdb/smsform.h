#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The small text form in which the receiving program hands over an SMS: header lines
// ("From:", "To:", "Received:" with an ISO 8601 time), a blank line, then the text.
struct SmsForm {
    QString From;
    QString To;
    QDateTime Received; // invalid when the form gives none
    QString Text;
};

// Reads the form; false with why set (the offending line shown escaped) when it is no SMS.
bool ReadSmsForm(const QByteArray& bytes, SmsForm& form, QString& why);
