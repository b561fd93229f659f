#include "core/dialogs/contactchoiceline.h"

#include "platform/system/displaytext.h"

QString ContactChoiceLine(const QString& name, const QString& company) {
    // Name and company are two fields: a right-to-left name must not carry the company along.
    if (company.isEmpty()) {
        return DisplayText::Field(name);
    }
    return DisplayText::Field(name) + QStringLiteral(" (") + DisplayText::Field(company) +
           QLatin1Char(')');
}
