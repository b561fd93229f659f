#include "core/dialogs/contactchoiceline.h"

QString ContactChoiceLine(const QString& name, const QString& company) {
    if (company.isEmpty()) {
        return name;
    }
    return name + QStringLiteral(" (") + company + QLatin1Char(')');
}
