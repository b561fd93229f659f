#include "core/parameters.h"

#include "platform/system/appservices.h"

namespace {
QString findValue(QString& source, QString& name, const QString& assign, const QString& separator) {
    if (!separator.isEmpty()) {
        if (!source.startsWith(separator, Qt::CaseInsensitive)) {
            source.prepend(separator);
        }
        if (!name.startsWith(separator, Qt::CaseInsensitive)) {
            name.prepend(separator);
        }
    }
    const qsizetype found = source.indexOf(name + assign, 0, Qt::CaseInsensitive);
    if (found < 0 || assign.isEmpty()) {
        return {};
    }
    qsizetype assignPos = 0;
    AppServices::NextToken(source, found + 1, assign, &assignPos);
    if (assignPos == 0) {
        return {};
    }
    const qsizetype valueStart = assignPos + assign.size(); // 1-based
    if (valueStart <= source.size() && source.at(valueStart - 1) == QLatin1Char('"')) {
        return AppServices::NextToken(source, valueStart + 1, QStringLiteral("\""));
    }
    return AppServices::NextToken(source, valueStart, separator);
}
} // namespace

QString GetParameter(QString source, QString name, const QString& assign, bool clean,
                     const QString& separator) {
    const QString value = findValue(source, name, assign, separator);
    return clean ? AppServices::CleanText(value) : value;
}

QString GetParameterByRef(QString& source, QString& name, const QString& assign, bool decode,
                          const QString& separator) {
    const QString value = findValue(source, name, assign, separator);
    return decode ? AppServices::DecodeText(value) : value;
}
