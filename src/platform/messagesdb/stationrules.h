#pragma once

#include <QString>

// What the station's details may hold.
namespace StationRules {
// Why the SMS phone number cannot be stored ("" when it can): digits and blanks, with one
// leading "+", once trimmed; empty is allowed.
QString SmsNumberProblem(const QString& number);
} // namespace StationRules
