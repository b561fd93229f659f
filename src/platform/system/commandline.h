#pragma once

#include <QString>
#include <QStringList>

// Rebuilds the single command-line text the option reader expects from argv (without the
// program name). The shell has already removed the quotes around an argument such as
// "/Profile=Studio 2"; they are put back so that a value with a blank stays one value.
QString BuildCommandLine(const QStringList& arguments);
