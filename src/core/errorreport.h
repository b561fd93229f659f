#pragma once

#include <QString>

// The program's one wording for an unexpected problem: "There was a problem <context>",
// with the error's description when there is one. Shown with the exclamation icon unless
// silent, and always written to the debug log at level 5.
QString ReportError(const QString& context, int errorNumber, bool silent = false);
QString ShowProblem(const QString& context, const QString& description, bool silent = false);

// The error the current operation is handling, for numbers that have no standard message
// of their own (errors raised by a component with its own description).
void SetPendingError(int number, const QString& description);
void ClearPendingError();

// The standard message for an error number; "" when the number has none.
QString StandardErrorMessage(int errorNumber);
