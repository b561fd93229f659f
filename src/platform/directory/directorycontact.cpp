#include "platform/directory/directorycontact.h"

#include "platform/system/displaytext.h"
#include "platform/system/platformlog.h"
#include "platform/web/htmltext.h"

#include <QDir>
#include <QRegularExpression>

DirectoryContact::DirectoryContact(ContactRecord record, std::weak_ptr<DirectoryStorage> storage,
                                   QString usersFolder)
    : r_(std::move(record)), storage_(std::move(storage)), usersFolder_(std::move(usersFolder)) {}

void DirectoryContact::SetOwnerReference(qint32 v) {
    if (r_.ownerReference != v) {
        r_.ownerReference = v;
        modified_ = true;
    }
}

void DirectoryContact::SetContactListValue(qint32 v) {
    if (r_.contactListValue != v) {
        r_.contactListValue = v;
        modified_ = true;
    }
}

void DirectoryContact::SetDirectoryRights(const ::DirectoryRights& rights) {
    if (r_.directoryRights != rights.Bits()) {
        r_.directoryRights = rights.Bits();
        modified_ = true;
    }
}

void DirectoryContact::SetUserRights(const ::UserRights& rights) {
    if (r_.userRights != rights.Bits()) {
        r_.userRights = rights.Bits();
        modified_ = true;
    }
}

QString DirectoryContact::PersonalFolder() const {
    if (r_.reference <= 0 || !IsUser() || usersFolder_.isEmpty()) {
        return QString();
    }
    // Named by reference, not by login name: a login name may change or hold characters a
    // file name cannot.
    const QString folder =
        QDir::cleanPath(usersFolder_ + QLatin1Char('/') + QString::number(r_.reference));
    if (!QDir().mkpath(folder)) {
        PlatformLog(
            QStringLiteral("Directory: the personal folder '%1' could not be made").arg(folder));
        return QString();
    }
    return folder;
}

QString DirectoryContact::PrimaryEmail() const {
    for (const QString* e : {&r_.email1, &r_.email2, &r_.email3}) {
        if (!e->trimmed().isEmpty()) {
            return *e;
        }
    }
    return QString();
}

QStringList DirectoryContact::AddressLines(const QString& address) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines;
    for (const QString& line : address.split(lineBreak)) {
        if (!line.trimmed().isEmpty()) {
            lines << line.trimmed();
        }
    }
    return lines;
}

QString DirectoryContact::DetailsText(int maxLength, bool multiLine) const {
    QStringList parts;
    auto add = [&parts](const QString& text) {
        if (!text.trimmed().isEmpty()) {
            parts << text.trimmed();
        }
    };
    add(r_.name);
    add(r_.company);
    for (const QString& line : AddressLines(r_.address)) {
        add(line);
    }
    add(r_.phoneNumber1);
    add(r_.phoneNumber2);
    add(r_.mobileNumber);
    add(r_.otherNumber);
    add(r_.email1);
    add(r_.email2);
    add(r_.email3);
    QString text = parts.join(multiLine ? QStringLiteral("\r\n") : QStringLiteral(", "));
    if (maxLength >= 0 && text.size() > maxLength) {
        text.truncate(maxLength);
    }
    return text;
}

QString DirectoryContact::ReplaceTags(const QString& text, const QString& prefix) const {
    const QStringList lines = AddressLines(r_.address);
    auto first = [](std::initializer_list<const QString*> fields) {
        for (const QString* f : fields) {
            if (!f->trimmed().isEmpty()) {
                return *f;
            }
        }
        return QString();
    };
    const struct {
        const char* suffix;
        QString value;
        bool escaped;
    } tags[] = {
        {"REFERENCE", r_.reference > 0 ? QString::number(r_.reference) : QString(), true},
        {"NAME", r_.name, false},
        {"COMPANY", r_.company, false},
        {"LOGINNAME", r_.loginName, false},
        {"ADDRESSSTRING", lines.join(QStringLiteral(", ")), false},
        {"ADDRESS", HtmlText::Lines(lines.join(u'\n'), {.isolateLines = true}), true},
        {"EMAIL", first({&r_.email1, &r_.email2, &r_.email3}), false},
        {"PHONE", first({&r_.phoneNumber1, &r_.phoneNumber2}), false},
        {"MOBILE", r_.mobileNumber, false},
        {"OTHERNUMBER", r_.otherNumber, false},
    };
    QString out = text;
    for (const auto& tag : tags) {
        const QString name = QStringLiteral("<OCP_") + prefix + QLatin1Char('_') +
                             QLatin1String(tag.suffix) + QLatin1Char('>');
        // Each one-line field isolated, so that a right-to-left name cannot run into the
        // template's text beside it.
        const QString value =
            tag.escaped ? tag.value : DisplayText::Field(HtmlText::Escape(tag.value));
        out.replace(name, value, Qt::CaseSensitive);
    }
    return out;
}
