#include "platform/directory/contactlightrow.h"

#include "platform/system/sqlitestatement.h"

namespace ContactLightRow {

const QString kColumns = QStringLiteral(
    "reference, name, company, email1, email2, email3, phone1, phone2, mobile, other,"
    " login_name, owner_reference, contact_list_value, directory_rights, user_rights,"
    " password_hash <> ''");

void SetNumbers(ContactRecord& r, const std::array<qint64, 6>& numbers) {
    r.reference = static_cast<qint32>(numbers[0]);
    r.ownerReference = static_cast<qint32>(numbers[1]);
    r.contactListValue = static_cast<qint32>(numbers[2]);
    r.directoryRights = static_cast<quint32>(numbers[3]);
    r.userRights = static_cast<quint32>(numbers[4]);
    r.passwordSet = numbers[5] != 0;
    r.full = false;
    r.notesRead = false;
}

ContactRecord Read(const SqliteStatement& row) {
    ContactRecord r;
    for (std::size_t i = 0; i < kTexts.size(); ++i) {
        r.*kTexts[i] = row.Text(kFirstText + static_cast<int>(i));
    }
    std::array<qint64, 6> numbers{};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        numbers[i] = row.Int64(kNumberColumns[i]);
    }
    SetNumbers(r, numbers);
    return r;
}

} // namespace ContactLightRow
