// Station details, templates and the label sheet of OrlixDatabase.
#include "platform/messagesdb/orlixdatabase.h"

#include "platform/messagesdb/labelsheetsettings.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/settingstable.h"
#include "platform/system/platformlog.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

namespace {
const QString kName = QStringLiteral("StationName");
const QString kAddress = QStringLiteral("StationAddress");
const QString kPhone = QStringLiteral("StationPhoneNumber");
const QString kSmsPhone = QStringLiteral("StationSMSPhoneNumber");
const QString kCompany = QStringLiteral("StationCompanyNumber");
const QString kVat = QStringLiteral("StationVATNumber");
const QString kTemplates = QStringLiteral("TemplatesFolder");
const QString kTop = QStringLiteral("LabelTopMargin");
const QString kLeft = QStringLiteral("LabelLeftMargin");
const QString kHPitch = QStringLiteral("LabelHorizontalPitch");
const QString kVPitch = QStringLiteral("LabelVerticalPitch");
const QString kAcross = QStringLiteral("LabelsAcross");
const QString kDown = QStringLiteral("LabelsDown");

// A stored number of the wrong form keeps the default.
qint32 number(const QHash<QString, QString>& values, const QString& name, qint32 fallback) {
    bool ok = false;
    const qint32 v = values.value(name).toInt(&ok);
    return ok ? v : fallback;
}

bool bareFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && name != QLatin1String(".") &&
           name != QLatin1String("..");
}
} // namespace

bool OrlixDatabase::loadSettings() {
    bool ok = false;
    const QHash<QString, QString> values = SettingsTable::ReadAll(*storage_, ok);
    if (!ok) {
        // A passing lock must not blank the station's sender and name: what was read stays.
        PlatformLog(QStringLiteral("Messages database: the settings were not read again; the "
                                   "values read before stay"));
        return false;
    }
    templatesFolder_ = values.value(kTemplates);
    station_.Name = values.value(kName);
    station_.Address = values.value(kAddress);
    station_.PhoneNumber = values.value(kPhone);
    station_.SmsPhoneNumber = values.value(kSmsPhone);
    station_.CompanyNumber = values.value(kCompany);
    station_.VatNumber = values.value(kVat);
    ::LabelSheetSettings defaults;
    ::LabelSheetSettings& sheet = *labelSheet_;
    sheet.SetTopMargin(number(values, kTop, defaults.TopMargin()));
    sheet.SetLeftMargin(number(values, kLeft, defaults.LeftMargin()));
    sheet.SetHorizontalPitch(number(values, kHPitch, defaults.HorizontalPitch()));
    sheet.SetVerticalPitch(number(values, kVPitch, defaults.VerticalPitch()));
    sheet.SetLabelsAcross(number(values, kAcross, defaults.LabelsAcross()));
    sheet.SetLabelsDown(number(values, kDown, defaults.LabelsDown()));
    return true;
}

QString OrlixDatabase::StationName() const {
    return station_.Name;
}
QString OrlixDatabase::StationAddress() const {
    return station_.Address;
}
QString OrlixDatabase::StationAddressString(const QString& separator) const {
    QStringList lines;
    for (const QString& line : QString(station_.Address)
                                   .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                                   .split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty()) {
            lines << line.trimmed();
        }
    }
    return lines.join(separator);
}
QString OrlixDatabase::StationPhoneNumber() const {
    return station_.PhoneNumber;
}
QString OrlixDatabase::StationSMSPhoneNumber() const {
    return station_.SmsPhoneNumber;
}
QString OrlixDatabase::StationCompanyNumber() const {
    return station_.CompanyNumber;
}
QString OrlixDatabase::StationVATNumber() const {
    return station_.VatNumber;
}

void OrlixDatabase::SetStationDetails(const StationDetails& details, bool& ok) {
    ok = false;
    if (!ready("the station details were stored")) {
        return;
    }
    MessagesTransaction tx(*storage_);
    if (!tx.Active()) {
        return;
    }
    const std::pair<const QString&, const QString&> values[] = {
        {kName, details.Name},
        {kAddress, details.Address},
        {kPhone, details.PhoneNumber},
        {kSmsPhone, details.SmsPhoneNumber},
        {kCompany, details.CompanyNumber},
        {kVat, details.VatNumber},
    };
    for (const auto& [name, value] : values) {
        if (!SettingsTable::Set(*storage_, name, value.isNull() ? QStringLiteral("") : value)) {
            return;
        }
    }
    if (tx.Commit()) {
        station_ = details;
        ok = true;
    }
}

QStringList OrlixDatabase::GetTemplateList(const QString& category) {
    QStringList names;
    if (!ready("the templates were listed")) {
        return names;
    }
    QSqlQuery q = storage_->Prepare(QStringLiteral(
        "SELECT name FROM templates WHERE category = ? ORDER BY position, reference"));
    q.addBindValue(category);
    if (MessagesStorage::Exec(q, "listing templates")) {
        while (q.next()) {
            names << q.value(0).toString();
        }
    }
    return names;
}

QString OrlixDatabase::GetTemplatePath(const QString& category, const QString& name) {
    if (!ready("a template was asked for")) {
        return {};
    }
    QSqlQuery q = storage_->Prepare(
        QStringLiteral("SELECT file_name FROM templates WHERE category = ? AND name = ?"));
    q.addBindValue(category);
    q.addBindValue(name);
    if (!MessagesStorage::Exec(q, "reading a template") || !q.next()) {
        return {};
    }
    const QString file = q.value(0).toString();
    if (!bareFileName(file)) {
        PlatformLog(QStringLiteral("Messages database: the template file name \"%1\" is refused")
                        .arg(file));
        return {};
    }
    return TemplatesPath() + QLatin1Char('/') + file;
}

void OrlixDatabase::AddTemplate(const QString& category, const QString& name,
                                const QString& fileName, bool& ok) {
    ok = false;
    if (!ready("a template was added") || category.isEmpty() || name.trimmed().isEmpty() ||
        !bareFileName(fileName)) {
        return;
    }
    MessagesTransaction tx(*storage_);
    QSqlQuery q = storage_->Prepare(QStringLiteral(
        "INSERT OR REPLACE INTO templates (category, name, file_name, position) VALUES (?, ?, ?,"
        " (SELECT COALESCE(MAX(position), -1) + 1 FROM templates WHERE category = ?))"));
    q.addBindValue(category);
    q.addBindValue(name);
    q.addBindValue(fileName);
    q.addBindValue(category);
    ok = tx.Active() && MessagesStorage::Exec(q, "adding a template") && tx.Commit();
}

void OrlixDatabase::RemoveTemplate(const QString& category, const QString& name, bool& ok) {
    ok = false;
    if (!ready("a template was removed")) {
        return;
    }
    MessagesTransaction tx(*storage_);
    QSqlQuery q =
        storage_->Prepare(QStringLiteral("DELETE FROM templates WHERE category = ? AND name = ?"));
    q.addBindValue(category);
    q.addBindValue(name);
    ok = tx.Active() && MessagesStorage::Exec(q, "removing a template") &&
         q.numRowsAffected() == 1 && tx.Commit();
}

void OrlixDatabase::SetTemplatesFolder(const QString& folder, bool& ok) {
    ok = false;
    if (!ready("the templates folder was set") || folder.trimmed().isEmpty()) {
        return;
    }
    MessagesTransaction tx(*storage_);
    ok = tx.Active() && SettingsTable::Set(*storage_, kTemplates, folder.trimmed()) && tx.Commit();
}

::LabelSheetSettings& OrlixDatabase::LabelSheetSettings() {
    return *labelSheet_;
}

void OrlixDatabase::StoreLabelSheetSettings(bool& ok) {
    ok = false;
    if (!ready("the label sheet was stored")) {
        return;
    }
    const ::LabelSheetSettings& s = *labelSheet_;
    MessagesTransaction tx(*storage_);
    ok = tx.Active() && SettingsTable::Set(*storage_, kTop, QString::number(s.TopMargin())) &&
         SettingsTable::Set(*storage_, kLeft, QString::number(s.LeftMargin())) &&
         SettingsTable::Set(*storage_, kHPitch, QString::number(s.HorizontalPitch())) &&
         SettingsTable::Set(*storage_, kVPitch, QString::number(s.VerticalPitch())) &&
         SettingsTable::Set(*storage_, kAcross, QString::number(s.LabelsAcross())) &&
         SettingsTable::Set(*storage_, kDown, QString::number(s.LabelsDown())) && tx.Commit();
}
