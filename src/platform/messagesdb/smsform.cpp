#include "platform/messagesdb/smsform.h"

#include "platform/system/terminaltext.h"

bool ReadSmsForm(const QByteArray& bytes, SmsForm& form, QString& why) {
    QString& from = form.From;
    QString& to = form.To;
    QDateTime& received = form.Received;
    QString& text = form.Text;
    form = {};
    // CR LF, and a CR alone, end a line: the stored message keeps no bare CR either.
    const QString all = QString::fromUtf8(bytes)
                            .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                            .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const qsizetype blank = all.indexOf(QStringLiteral("\n\n"));
    const QString head = blank < 0 ? all : all.left(blank);
    text = blank < 0 ? QString() : all.mid(blank + 2);
    while (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    for (const QString& line : head.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0) {
            why = QStringLiteral("the line \"%1\" is no header").arg(TerminalText(line.left(60)));
            return false;
        }
        const QString name = line.left(colon).trimmed().toLower();
        const QString value = line.mid(colon + 1).trimmed();
        if (name == QLatin1String("from")) {
            from = value;
        } else if (name == QLatin1String("to")) {
            to = value;
        } else if (name == QLatin1String("received")) {
            received = QDateTime::fromString(value, Qt::ISODate);
            if (!received.isValid()) {
                why = QStringLiteral("the received time \"%1\" is not an ISO 8601 time")
                          .arg(TerminalText(value.left(60)));
                return false;
            }
            if (received.timeSpec() == Qt::LocalTime) {
                received.setTimeSpec(Qt::UTC);
            }
        } else {
            why = QStringLiteral("the header \"%1\" is unknown").arg(TerminalText(name.left(40)));
            return false;
        }
    }
    if (from.isEmpty()) {
        why = QStringLiteral("there is no From line");
        return false;
    }
    return true;
}
