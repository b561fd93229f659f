#pragma once

#include <QString>
#include <QStringList>

// Which system-information program the about window starts: the one the station configured,
// else the first of the desktop's known ones found on the search path; "" when there is none.
namespace SystemInfoProgram {
QStringList Candidates();
QString Find(const QString& configured, const QString& searchPath);
} // namespace SystemInfoProgram
