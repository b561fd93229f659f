#include "messaging/smsrules.h"

#include "platform/messagesdb/orlixmessage.h"
#include "platform/mime/addresstext.h"
#include "platform/mime/mimemessage.h"
#include "platform/system/appservices.h"
#include "platform/system/displaytext.h"

namespace smsrules {

QString StationSender(const QString& stationName, const QString& smsNumber) {
    if (smsNumber.trimmed().isEmpty()) {
        return {};
    }
    return u'"' + stationName + QStringLiteral("\" <") + smsNumber + u'>';
}

QString FirstPhoneNumber(const QString& mobile, const QString& phone1, const QString& phone2) {
    for (const QString* number : {&mobile, &phone1, &phone2}) {
        if (!number->isEmpty()) {
            return *number;
        }
    }
    return {};
}

bool NameRepeatsNumber(const QString& name, const QString& number) {
    return name.isEmpty() ||
           AppServices::NormaliseForCompare(name, 1) == AppServices::NormaliseForCompare(number, 1);
}

FilledAddresses FillNames(const QString& text,
                          const std::function<QString(const QString& number)>& nameForNumber) {
    FilledAddresses filled;
    for (const QString& piece : mime::SplitAddressText(text)) {
        const emailrules::AddressEntry entry = emailrules::ParseAddressList(piece).value(0);
        const QString number = mime::AddressOfEntry(piece);
        QString found;
        if (nameForNumber && !number.isEmpty() &&
            NameRepeatsNumber(entry.DisplayName, entry.Address)) {
            found = nameForNumber(number);
        }
        if (found.isEmpty()) {
            filled.Entries += piece;
        } else {
            filled.Entries += mime::ComposeAddressEntry(found, number);
            filled.NamesFilled = true;
        }
    }
    return filled;
}

QString JoinEntries(const QStringList& entries) {
    return DisplayText::Cleaned(entries.join(QStringLiteral(", ")));
}

QString ShownEntries(const QStringList& entries, bool readOnly) {
    if (!readOnly) {
        return JoinEntries(entries);
    }
    QStringList shown;
    shown.reserve(entries.size());
    for (const QString& entry : entries) {
        shown += DisplayText::AddressEntry(entry);
    }
    return shown.join(QStringLiteral(", "));
}

QString MaskedEntry(const QString& displayName) {
    const QString mask = QString::fromUtf8(kMaskText);
    return displayName.isEmpty() ? mask : mime::ComposeAddressEntry(displayName, mask);
}

int EntryIndexAt(const QString& text, int position) {
    int start = 0;
    int index = 0;
    for (const QString& entry : mime::SplitAddressText(text)) {
        const qsizetype at = text.indexOf(entry, start);
        if (at < 0) {
            return -1;
        }
        start = static_cast<int>(at + entry.size());
        if (position <= start) {
            return index;
        }
        ++index;
    }
    return -1;
}

QString NameOfEntry(const QString& entry) {
    const qsizetype open = entry.lastIndexOf(u'<');
    if (open <= 0) {
        return {};
    }
    QString name = entry.left(open).trimmed();
    if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"')) {
        name = name.mid(1, name.size() - 2).replace(QStringLiteral("\\\""), QStringLiteral("\""));
    }
    return name;
}

SendCheck CheckSend(const QString& to, const QString& text) {
    if (to.trimmed().isEmpty()) {
        return SendCheck::NoRecipient;
    }
    if (text.trimmed().isEmpty()) {
        return SendCheck::NoText;
    }
    return SendCheck::Go;
}

std::unique_ptr<OrlixMessage> MakeAnswer(const OrlixMessage& shown, bool forward) {
    std::unique_ptr<OrlixMessage> made = emailrules::MakeAnswer(
        shown, forward ? emailrules::Answer::Forward : emailrules::Answer::Reply, {});
    MimeMessage mime = made->CDOMessage();
    QString text = forward ? shown.CDOMessage().TextBody() : QString();
    // Older imports gave the text a line break at its end that nobody typed.
    while (text.endsWith(u'\n') || text.endsWith(u'\r')) {
        text.chop(1);
    }
    mime.SetSubject(text);
    mime.SetTextBody(text);
    mime.SetHTMLBody(QString());
    made->SetCDOMessage(mime);
    return made;
}

QString PlacementText(const emailrules::TwipsRect& rect) {
    return QStringLiteral("%1,%2,%3,%4")
        .arg(rect.Left)
        .arg(rect.Top)
        .arg(rect.Width)
        .arg(rect.Height);
}

std::optional<emailrules::TwipsRect> ParsePlacementText(const QString& text) {
    const QStringList parts = text.split(u',');
    if (parts.size() != 4) {
        return std::nullopt;
    }
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    if (values[2] <= 0 || values[3] <= 0) {
        return std::nullopt;
    }
    return emailrules::TwipsRect{values[0], values[1], values[2], values[3]};
}

} // namespace smsrules
