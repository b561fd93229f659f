#include "core/errorreport.h"

#include "core/debuglog.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/mousepointer.h"

#include <QHash>

namespace {
struct PendingError {
    int number = 0;
    QString description;
};

PendingError& pending() {
    static PendingError p;
    return p;
}
} // namespace

void SetPendingError(int number, const QString& description) {
    pending() = PendingError{number, description};
}

void ClearPendingError() {
    pending() = PendingError{};
}

QString StandardErrorMessage(int errorNumber) {
    static const QHash<int, QString> messages = {
        {3, QStringLiteral("Return without GoSub")},
        {5, QStringLiteral("Invalid procedure call or argument")},
        {6, QStringLiteral("Overflow")},
        {7, QStringLiteral("Out of memory")},
        {9, QStringLiteral("Subscript out of range")},
        {10, QStringLiteral("This array is fixed or temporarily locked")},
        {11, QStringLiteral("Division by zero")},
        {13, QStringLiteral("Type mismatch")},
        {14, QStringLiteral("Out of string space")},
        {28, QStringLiteral("Out of stack space")},
        {35, QStringLiteral("Sub or Function not defined")},
        {48, QStringLiteral("Error in loading DLL")},
        {51, QStringLiteral("Internal error")},
        {52, QStringLiteral("Bad file name or number")},
        {53, QStringLiteral("File not found")},
        {54, QStringLiteral("Bad file mode")},
        {55, QStringLiteral("File already open")},
        {57, QStringLiteral("Device I/O error")},
        {58, QStringLiteral("File already exists")},
        {61, QStringLiteral("Disk full")},
        {62, QStringLiteral("Input past end of file")},
        {67, QStringLiteral("Too many files")},
        {68, QStringLiteral("Device unavailable")},
        {70, QStringLiteral("Permission denied")},
        {71, QStringLiteral("Disk not ready")},
        {74, QStringLiteral("Can't rename with different drive")},
        {75, QStringLiteral("Path/File access error")},
        {76, QStringLiteral("Path not found")},
        {91, QStringLiteral("Object variable or With block variable not set")},
        {92, QStringLiteral("For loop not initialized")},
        {94, QStringLiteral("Invalid use of Null")},
        {380, QStringLiteral("Invalid property value")},
        {424, QStringLiteral("Object required")},
        {429, QStringLiteral("ActiveX component can't create object")},
        {438, QStringLiteral("Object doesn't support this property or method")},
        {440, QStringLiteral("Automation error")},
        {482, QStringLiteral("Printer error")},
        {32755, QStringLiteral("Cancel was selected.")},
    };
    return messages.value(errorNumber);
}

QString ReportError(const QString& context, int errorNumber, bool silent) {
    QString description;
    if (errorNumber != 0) {
        description = StandardErrorMessage(errorNumber).trimmed();
        if (description.isEmpty()) {
            if (pending().number == errorNumber && !pending().description.isEmpty()) {
                description = pending().description + QStringLiteral(" (") +
                              QString::number(errorNumber) + QLatin1Char(')');
            } else {
                // Never a report that hides which error it was.
                description = QStringLiteral("Error ") + QString::number(errorNumber);
            }
        }
    }
    return ShowProblem(context, description, silent);
}

QString ShowProblem(const QString& context, const QString& description, bool silent) {
    const MousePointerGuard pointer(MousePointerGuard::Default);
    const QString ctx = context.trimmed();
    const QString desc = description.trimmed();
    QString text = QStringLiteral("There was a problem ") + ctx;
    if (!desc.isEmpty()) {
        text += QStringLiteral(" and the error's description was reported as : ") +
                QStringLiteral("\n\n\"") + desc + QLatin1Char('"');
    }
    if (!silent) {
        MsgBox(text, MsgIcon::Exclamation, MsgButtons::OK);
    }
    DebugLog(text, 5, LogKeepDepth);
    return text;
}
