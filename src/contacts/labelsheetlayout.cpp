#include "contacts/labelsheetlayout.h"

#include "platform/messagesdb/labelsheetsettings.h"

#include <cmath>

namespace LabelSheetLayout {

std::vector<Slot> Layout(QSize inner, int toolbarHeight, int across, int down) {
    std::vector<Slot> slots;
    if (across < 1 || down < 1) {
        return slots;
    }
    // Whole twips, halves to the even neighbour.
    const double w = std::nearbyint(double(inner.width() - kGap) / across);
    const double h = std::nearbyint(double(inner.height() - kGap - toolbarHeight - kGap) / down);
    slots.reserve(static_cast<size_t>(across) * static_cast<size_t>(down));
    for (int r = 0; r < down; ++r) {
        for (int c = 0; c < across; ++c) {
            Slot s;
            s.label = {c * w + kGap, toolbarHeight + kGap + r * h, w - kGap, h - kGap};
            s.caption = {s.label.left + kGap, s.label.top + kGap, s.label.width - 150,
                         s.label.height - 150};
            slots.push_back(s);
        }
    }
    return slots;
}

QPointF PrintPosition(int slot, const LabelSheetSettings& settings) {
    const int across = settings.LabelsAcross();
    const int row = (slot - 1) / across;
    const int column = (slot - 1) % across;
    return {double(column * settings.HorizontalPitch() + settings.LeftMargin()),
            double(row * settings.VerticalPitch() + settings.TopMargin())};
}

QStringList PrintLines(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return lines.split(QLatin1Char('\n'));
}

} // namespace LabelSheetLayout
