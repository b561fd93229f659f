#pragma once

#include "platform/directory/contactrecord.h"

#include <QString>

#include <array>

class SqliteStatement;

// The columns a list reads of a contact (its light record: no address, no notes) and how
// they fill a record; every list and search reads them in this order.
namespace ContactLightRow {
extern const QString kColumns;

// Columns 1 to 10 are texts, read into these fields.
inline constexpr int kFirstText = 1;
inline constexpr std::array<QString ContactRecord::*, 10> kTexts = {
    &ContactRecord::name,         &ContactRecord::company,      &ContactRecord::email1,
    &ContactRecord::email2,       &ContactRecord::email3,       &ContactRecord::phoneNumber1,
    &ContactRecord::phoneNumber2, &ContactRecord::mobileNumber, &ContactRecord::otherNumber,
    &ContactRecord::loginName};
// The others are numbers: the reference, then the owner, the list value, the two rights and
// whether a password is set.
inline constexpr std::array<int, 6> kNumberColumns = {0, 11, 12, 13, 14, 15};
inline constexpr int kColumnCount = 16;

// Sets the numbers, given in the order of kNumberColumns, and marks the record light.
void SetNumbers(ContactRecord& record, const std::array<qint64, 6>& numbers);
// The light record of the statement's current row.
ContactRecord Read(const SqliteStatement& row);
} // namespace ContactLightRow
