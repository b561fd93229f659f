#pragma once

#include "platform/web/documentwalk.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <optional>

// What a script the program runs in a page hands back. The script reads a document the
// program does not trust, and the engine turns whatever it returned into a QVariant, so each
// answer is taken only in the type and range the program asked for: a text is a string (not
// a number spelt out), a flag a boolean, a number a finite one inside its range. Anything
// else reads as nothing, and the caller goes on with its own default.
namespace ScriptAnswer {
// No document is laid out past the engine's layout range (2^25 CSS pixels either way), so a
// coordinate beyond it is no position at all.
inline constexpr double kMostPixels = 33554432.0;

std::optional<QString> Text(const QVariant& answer);
std::optional<bool> Flag(const QVariant& answer);
// A JavaScript number (the engine gives an integer or a double) from low to high, rounded to
// the nearest whole one; NaN and the infinities are no numbers here.
std::optional<int> Number(const QVariant& answer, int low, int high);
// An object.
std::optional<QVariantMap> Record(const QVariant& answer);
// [x, y], each a number of pixels within kMostPixels either way.
std::optional<QPoint> Position(const QVariant& answer);
// [[name, checked], ...]: a row that is not one text and one flag is left out.
QList<DocumentInput> Inputs(const QVariant& answer);
} // namespace ScriptAnswer
