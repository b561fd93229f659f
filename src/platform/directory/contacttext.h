#pragma once

#include <QString>

// Text forms the directory keeps beside a contact's fields.
namespace ContactText {
// The case-folded form every look-up compares.
QString Fold(const QString& text);
// The digits of a phone number, in ASCII; blanks, brackets, "+", "<>" and any other
// punctuation are dropped.
QString PhoneDigits(const QString& number);
// The text as a bound value: never NULL, an empty text stays an empty text.
QString NotNull(const QString& text);
} // namespace ContactText
