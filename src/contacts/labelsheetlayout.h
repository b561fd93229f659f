#pragma once

#include "platform/ui/twips.h"

#include <QPointF>
#include <QSize>
#include <QStringList>

#include <vector>

class LabelSheetSettings;

// Where the address-label sheet puts its labels on screen (twips of the window's inner area)
// and on paper (millimetres from the paper's corner), apart from the window.
namespace LabelSheetLayout {

constexpr int kGap = 60;

struct Slot {
    TwipsRect label;
    TwipsRect caption;
};

// The slots of a grid of across x down labels under a toolbar of that height, row by row:
// slot n (from 1) is element n - 1. Counts below 1 give no slots.
std::vector<Slot> Layout(QSize inner, int toolbarHeight, int across, int down);

// The top left corner of slot n's first line on paper.
QPointF PrintPosition(int slot, const LabelSheetSettings& settings);

// The lines a label prints: CR LF and LF both end a line, and a text ending in one ends with
// an empty line.
QStringList PrintLines(const QString& text);

} // namespace LabelSheetLayout
