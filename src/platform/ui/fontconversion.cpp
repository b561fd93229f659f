#include "platform/ui/fontconversion.h"

#include "platform/ui/colournumber.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
// Beyond this a size is a corrupt setting, not a font anybody asked for.
constexpr double kLargestPointSize = 1000.0;

void setName(QFont& font, const QString& name) {
    const QString trimmed = name.trimmed();
    if (!trimmed.isEmpty()) {
        font.setFamily(trimmed);
    }
}
} // namespace

namespace FontConversion {

double StepPointSize(qint32 step) {
    static constexpr std::array<double, 7> kPoints = {8, 10, 12, 14, 18, 24, 36};
    if (step <= 0) {
        return 0;
    }
    return kPoints[static_cast<size_t>(std::min<qint32>(step, 7) - 1)];
}

qint32 PointSizeStep(double points) {
    qint32 best = 1;
    for (qint32 step = 2; step <= 7; ++step) {
        if (std::abs(StepPointSize(step) - points) < std::abs(StepPointSize(best) - points)) {
            best = step;
        }
    }
    return best;
}

QFont ToQFont(const StdFont& font) {
    QFont out;
    setName(out, font.Name);
    if (std::isfinite(font.Size) && font.Size > 0) {
        out.setPointSizeF(std::min(font.Size, kLargestPointSize));
    }
    out.setBold(font.Bold);
    out.setItalic(font.Italic);
    out.setUnderline(font.Underline);
    out.setStrikeOut(font.Strikethrough);
    return out;
}

QFont ToQFont(const FontStyle& font) {
    QFont out;
    setName(out, font.Name);
    if (const double points = StepPointSize(font.Size); points > 0) {
        out.setPointSizeF(points);
    }
    // The stored flags are numbers and, as every stored flag of the program, any number but 0
    // is on: -1 is as much on as 1.
    out.setBold(font.Bold != 0);
    out.setItalic(font.Italic != 0);
    out.setUnderline(font.UnderLine != 0);
    out.setStrikeOut(font.StrikeThru != 0);
    return out;
}

QColor TextColour(const FontStyle& font) {
    return ColourNumber::ToColour(static_cast<quint32>(font.TextColour));
}

} // namespace FontConversion
