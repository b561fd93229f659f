#pragma once

#include <QString>

// Stand-ins for the system's temporary-file calls.

// The user's private temporary folder; "" and an error number in errorNumber on failure.
QString TempFolderPath(int& errorNumber);

// Creates a new, empty, uniquely named file "<first 3 prefix characters><hex>.TMP" in folder
// and returns its full path; "" on failure.
QString CreateUniqueTempFile(const QString& folder, const QString& prefix);
