#pragma once

#include "core/generalroutines.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>

#include <optional>

// One received playout line cut into its parts: the verb before the first blank, the object
// between the first and the second blank, and the parameter text after the second blank cut
// at every comma into fields. There is no quoting: a comma always separates. The parts are
// views into the line, which must outlive them.
struct PlayoutLine {
    QStringView verb;
    // Everything after the first blank, unchanged.
    QStringView rest;
    QStringView object;
    // From the second blank on, without leading and trailing blanks.
    QStringView parameterText;
    QVarLengthArray<QStringView, 8> fields;
    // The line has a blank at all.
    bool hasBlank = false;

    static PlayoutLine Split(QStringView line);

    bool HasField(qsizetype n) const { return fields.size() > n; }
    // The fields from first on, joined again with their commas.
    QStringView FieldsFrom(qsizetype first) const;
};

// Blanks (only U+0020) removed from both ends.
QStringView TrimBlanks(QStringView text);
