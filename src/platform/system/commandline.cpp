#include "platform/system/commandline.h"

QString BuildCommandLine(const QStringList& arguments) {
    QStringList parts;
    parts.reserve(arguments.size());
    for (const QString& argument : arguments) {
        const qsizetype eq = argument.indexOf(QLatin1Char('='));
        if (eq > 0) {
            const QString value = argument.mid(eq + 1);
            if (value.contains(QLatin1Char(' ')) && !value.startsWith(QLatin1Char('"'))) {
                parts.append(argument.left(eq + 1) + QLatin1Char('"') + value + QLatin1Char('"'));
                continue;
            }
        }
        parts.append(argument);
    }
    return parts.join(QLatin1Char(' '));
}
