#pragma once

#include <QString>

// Reads one option out of an option string (the command line, a playout line): options are
// separated by Separator, each a name, Assign and a value; a value that begins with a double
// quote runs to the next double quote. Names are found without regard to case.
QString GetParameter(QString source, QString name, const QString& assign, bool clean,
                     const QString& separator);

// The same on the caller's own texts: Source and Name keep the separator put in front of
// them, and the value is passed through the text decoder.
QString GetParameterByRef(QString& source, QString& name, const QString& assign, bool decode,
                          const QString& separator);
