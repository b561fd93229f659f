#pragma once

#include <QString>

#include <array>
#include <optional>
#include <vector>

// The week grid of a prize's availability, apart from the widget: rows are the days (1 Monday
// .. 7 Sunday) and columns the hours plus one (column 1 is hour 0), as the grid shows them.
namespace PrizeHours {

constexpr int kDays = 7;
constexpr int kHours = 24;
// Colour numbers of an available and an unavailable hour.
constexpr quint32 kAvailableColour = 65280;
constexpr quint32 kUnavailableColour = 255;

using Week = std::array<std::array<bool, kHours>, kDays>;
using DayTexts = std::array<QString, kDays>;

// Hour h of a day is available exactly when the capital letter chr(65 + h) is in its text.
bool HourInText(const QString& dayText, int hour);
Week WeekFromTexts(const DayTexts& days);
quint32 HourColour(bool available);

struct Cell {
    int row = 1;
    int column = 1;
    bool operator==(const Cell&) const = default;
};

// A cell moved into the hour cells (rows 1..7, columns 1..24), for a drag that left the grid.
Cell KeepInHours(Cell cell);
// True for a cell that is an hour, false for the headings and outside.
bool IsHourCell(Cell cell);

// What a click or a drag does: the anchor's colour switches (available becomes unavailable and
// back) and the whole block from the anchor to the far corner takes that new state. Cells are
// in the order they are written: rows from the anchor's towards the far one, in each row the
// columns from the anchor's towards the far one.
struct BlockSwitch {
    bool available = false;
    std::vector<Cell> cells;
};
BlockSwitch SwitchBlock(Cell anchor, Cell farCorner, bool anchorAvailable);

// The seven day texts, Monday first, joined by "."; the reverse gives nothing unless the
// pattern has exactly seven parts.
QString JoinPattern(const DayTexts& days);
std::optional<DayTexts> SplitPattern(const QString& pattern);

} // namespace PrizeHours
